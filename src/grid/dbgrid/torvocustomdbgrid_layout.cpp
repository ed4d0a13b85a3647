// The layout pass: the locks that fold requests into one pass, the field map that
// ties columns to fields, and the geometry of rows and columns — title rows, one data
// row per buffered record, the bottom region of blank and total rows.

#include "grid/dbgrid/torvocustomdbgrid.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvocolumntitle.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "grid/painting/torvogridstyle.h"
#include "grid/scrolling/torvoscrollprop.h"
#include "grid/totals/torvocolumntotalfields.h"
#include "grid/totals/torvocolumntotalfooter.h"
#include "grid/totals/torvocolumntotalheader.h"
#include "grid/totals/torvocolumntotalvalue.h"
#include "grid/totals/torvocolumntotalvalues.h"
#include "grid/totals/torvodbgridtotals.h"
#include "grid/totals/torvototaldatalink.h"
#include "platform/core/texceptionhandler.h"
#include "platform/data/tdataset.h"
#include "platform/data/tfield.h"
#include "platform/data/tfields.h"

#include <QFontMetrics>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

namespace orvo {

namespace {

/// Milliseconds between looks at a lock that holds a deferred layout pass off.
constexpr int DeferredLayoutRetryDelay = 20;

int LineHeightOf(const TFont& font)
{
    return QFontMetrics(font.ToQFont()).height();
}

} // namespace

// --- Locks ------------------------------------------------------------------------------------

void TOrvoCustomDBGrid::BeginUpdate()
{
    ++FUpdateLock;
}

void TOrvoCustomDBGrid::EndUpdate()
{
    if (FUpdateLock > 0)
        --FUpdateLock;
    // A scroll bar that came or went under the lock changed the room for rows.
    if (FUpdateLock == 0 && FLayoutLock == 0 && FClientChangedWhileLocked) {
        FClientChangedWhileLocked = false;
        FollowClientArea();
    }
}

void TOrvoCustomDBGrid::BeginLayout()
{
    BeginUpdate();
    if (FLayoutLock == 0)
        FColumns->BeginUpdate();
    ++FLayoutLock;
}

void TOrvoCustomDBGrid::EndLayout()
{
    // Whatever the pass raises, the locks and the collection's update end with it.
    const auto close = [this] {
        if (FLayoutLock == 1)
            FColumns->EndUpdate();
        if (FLayoutLock > 0)
            --FLayoutLock;
        EndUpdate();
    };
    try {
        if (FLayoutLock == 1)
            InternalLayout();
    } catch (...) {
        close();
        throw;
    }
    close();
}

void TOrvoCustomDBGrid::CancelLayout()
{
    if (FLayoutLock == 0)
        return;
    if (--FLayoutLock == 0)
        FColumns->EndUpdate();
    EndUpdate();
}

void TOrvoCustomDBGrid::DeferLayout()
{
    PostDeferredLayout(0);
}

void TOrvoCustomDBGrid::PostDeferredLayout(int delay)
{
    if (FDeferredLayoutPosted)
        return;
    FDeferredLayoutPosted = true;
    QTimer::singleShot(delay, this, [this] {
        // A pass that ran meanwhile took the request along.
        if (!FDeferredLayoutPosted)
            return;
        FDeferredLayoutPosted = false;
        // Still locked: the request waits for the lock's end rather than being lost; a
        // short pause keeps a lock held across a nested event loop from spinning.
        if (FUpdateLock != 0 || FLayoutLock != 0) {
            PostDeferredLayout(DeferredLayoutRetryDelay);
            return;
        }
        TExceptionHandler::Guard([this] { LayoutChanged(); });
    });
}

void TOrvoCustomDBGrid::LayoutChanged()
{
    if (FUpdateLock == 0 && FLayoutLock == 0) {
        BeginLayout();
        EndLayout();
    }
}

// --- The layout pass ----------------------------------------------------------------------------

void TOrvoCustomDBGrid::InternalLayout()
{
    if (FLoading || FDestroying)
        return;
    FDeferredLayoutPosted = false;
    RemoveMixedColumns();
    FIndicatorOffset = FOptions.Contains(dgIndicator) ? 1 : 0;
    FDataLink->ClearMapping();
    if (FDataLink->Active())
        DefineFieldMap();
    SynchronizeColumnsWithFieldMap();

    FShownColumns.clear();
    FColumns->UpdateParentColumns();
    for (int i = 0; i < FColumns->Count(); ++i)
        if (FColumns->Items(i)->IsShown())
            FShownColumns.push_back(FColumns->Items(i));

    SetColCount(std::max(1, FColumns->Count()) + FIndicatorOffset);
    if (FDataLink->Active() || FColumns->State() == csCustomized) {
        SettleFrozenColumns();
        TCustomGrid::SetFixedCols(FIndicatorOffset + FFixedColsProperty);
    } else {
        TCustomGrid::SetFixedCols(FIndicatorOffset);
    }
    FTitleOffset = CalcTitleRowCount();
    FBottom = CalcBottomRegion();
    UpdateRowCount();
    MoveOffHiddenColumn();
    UpdateScrollBar();
    FScrollProp->ApplyScrollProps();
    DistributeStretchWidths();
    SetColumnAttributes();
    MoveToActiveRecord();
    InvalidateGrid();
    SynchronizeChainIfChanged();
}

void TOrvoCustomDBGrid::RemoveMixedColumns()
{
    // A stored column behind default ones means the user started defining columns:
    // the default ones have no place among them.
    bool defaultSeen = false;
    bool mixed = false;
    for (int i = 0; i < FColumns->Count() && !mixed; ++i) {
        if (!FColumns->Items(i)->Stored())
            defaultSeen = true;
        else if (defaultSeen)
            mixed = true;
    }
    if (!mixed)
        return;
    for (int i = FColumns->Count() - 1; i >= 0; --i)
        if (!FColumns->Items(i)->Stored())
            FColumns->Delete(i);
}

void TOrvoCustomDBGrid::DefineFieldMap()
{
    TDataSet* dataSet = DataSet();
    const QList<TField*>& fields = dataSet->Fields()->List();
    if (FColumns->State() == csCustomized) {
        FDataLink->SetSparseMap(true);
        for (int i = 0; i < FColumns->Count(); ++i) {
            const TField* field = dataSet->FindField(FColumns->Items(i)->FieldName());
            FDataLink->AddMapping(field ? int(fields.indexOf(const_cast<TField*>(field))) : -1);
        }
        return;
    }
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i]->Visible())
            FDataLink->AddMapping(i);
}

void TOrvoCustomDBGrid::SynchronizeColumnsWithFieldMap()
{
    if (FColumns->State() == csCustomized) {
        for (int i = 0; i < FColumns->Count(); ++i) {
            TOrvoColumn* column = FColumns->Items(i);
            column->SetField(DataSet() ? DataSet()->FindField(column->FieldName()) : nullptr);
        }
        return;
    }
    std::vector<TField*> mapped;
    for (int i = 0; i < FDataLink->MappingCount(); ++i)
        if (TField* field = FDataLink->MappedField(i))
            mapped.push_back(field);
    const bool keepMatching = FDataLink->Active() || !FDataLink->DefaultFieldsTest();
    for (int i = FColumns->Count() - 1; i >= 0; --i) {
        TField* field = FColumns->Items(i)->Field();
        if (!keepMatching || !field || std::find(mapped.begin(), mapped.end(), field) == mapped.end())
            FColumns->Delete(i);
    }
    for (int i = 0; i < int(mapped.size()); ++i) {
        TOrvoColumn* column = nullptr;
        for (int j = i; j < FColumns->Count() && !column; ++j)
            if (FColumns->Items(j)->Field() == mapped[size_t(i)])
                column = FColumns->Items(j);
        if (!column) {
            column = FColumns->AddDefaultColumn();
            column->SetField(mapped[size_t(i)]);
        }
        // The item itself moves: a default column's own SetIndex would move its field,
        // reordering the very map this pass walks.
        if (column->Index() != i)
            column->TCollectionItem::SetIndex(i);
    }
    if (FColumns->Count() == 0)
        FColumns->AddDefaultColumn();
    FColumns->AddAutoColumns(false);
}

void TOrvoCustomDBGrid::SettleFrozenColumns()
{
    const int count = FColumns->Count();
    // A grid without columns freezes none (never a negative count).
    int frozen = std::clamp(FFixedColsProperty, 0, std::max(0, count - 1));
    if (frozen > 0) {
        const TOrvoColumn* top = FColumns->Items(frozen - 1);
        while (top->ParentColumn())
            top = top->ParentColumn();
        const int blockEnd = std::max(top->LastSubColumnIndex(), frozen - 1) + 1;
        frozen = blockEnd >= count ? top->Index() : blockEnd;
    }
    FFixedColsProperty = frozen;
}

int TOrvoCustomDBGrid::CalcTitleRowCount() const
{
    if (!FOptions.Contains(dgTitles))
        return 0;
    int depth = 0;
    for (const TOrvoColumn* column : FShownColumns)
        depth = std::max(depth, column->ColumnDepth());
    return 1 + depth;
}

TOrvoCustomDBGrid::TBottomRegion TOrvoCustomDBGrid::CalcBottomRegion() const
{
    TBottomRegion region;
    if (FOptionsEx.Contains(dgTotalValues)) {
        for (int i = 0; i < FColumns->Count(); ++i)
            region.Values = std::max(region.Values, FColumns->Items(i)->TotalValues()->Count());
    }
    region.Header = FOptionsEx.Contains(dgTotalHeader) ? 1 : 0;
    const TOrvoTotalDataLink* totalsLink = FTotals->DataLink();
    if (FOptionsEx.Contains(dgTotalFields) && totalsLink->Active())
        region.Fields = totalsLink->RecordCount();
    region.Footer = FOptionsEx.Contains(dgTotalFooter) ? 1 : 0;
    region.Blank = FOptionsEx.Contains(dgBlankRow) ? 1 : 0;
    return region;
}

TOrvoCustomDBGrid::TBottomRowKind TOrvoCustomDBGrid::BottomRowKind(int index) const
{
    if (index < FBottom.Blank)
        return brBlank;
    index -= FBottom.Blank;
    if (index < FBottom.Header)
        return brTotalHeader;
    index -= FBottom.Header;
    if (index < FBottom.Values)
        return brTotalValues;
    index -= FBottom.Values;
    return index < FBottom.Fields ? brTotalFields : brTotalFooter;
}

int TOrvoCustomDBGrid::BottomRowNumber(int index) const
{
    switch (BottomRowKind(index)) {
    case brTotalValues:
        return index - FBottom.Blank - FBottom.Header;
    case brTotalFields:
        return index - FBottom.Blank - FBottom.Header - FBottom.Values;
    default:
        return 0;
    }
}

int TOrvoCustomDBGrid::RecordOfRow(int row) const
{
    const int record = row - FTitleOffset;
    if (record < 0 || row >= FirstBottomRow() || !FDataLink->Active() || record >= FDataLink->RecordCount())
        return -1;
    return record;
}

TOrvoColumn* TOrvoCustomDBGrid::ColumnOfGridCol(int col) const
{
    const int dataCol = RawToDataColumn(col);
    return dataCol >= 0 && dataCol < FColumns->Count() ? FColumns->Items(dataCol) : nullptr;
}

int TOrvoCustomDBGrid::VertLineWidth() const
{
    return FOptions.Contains(dgColLines) ? GridLineWidth() : 0;
}

int TOrvoCustomDBGrid::HorzLineWidth() const
{
    return FOptions.Contains(dgRowLines) ? GridLineWidth() : 0;
}

// --- Row heights ---------------------------------------------------------------------------------

int TOrvoCustomDBGrid::TitleHeightOf(const TOrvoColumn* column) const
{
    return LineHeightOf(column->Title()->Font()) * FTitleLinesCount + FGridStyle->TitleRowSpace() +
           column->Title()->HeaderLevels() * FHeaderBandHeight;
}

std::vector<int> TOrvoCustomDBGrid::CalcTitleHeights() const
{
    const int rows = FTitleOffset;
    std::vector<int> heights(size_t(rows), 0);
    const auto allAncestorsExpanded = [](const TOrvoColumn* column) {
        for (const TOrvoColumn* parent = column->ParentColumn(); parent; parent = parent->ParentColumn())
            if (!parent->Expanded())
                return false;
        return true;
    };
    // Expanded parents set the heights of their own rows first...
    for (int i = 0; i < FColumns->Count(); ++i) {
        const TOrvoColumn* column = FColumns->Items(i);
        const int depth = column->ColumnDepth();
        if (depth < rows && column->HasSubColumns() && column->Expanded() && allAncestorsExpanded(column))
            heights[size_t(depth)] = std::max(heights[size_t(depth)], TitleHeightOf(column));
    }
    // ...then a title spanning down to the last row takes what it still needs there.
    for (int i = 0; i < FColumns->Count(); ++i) {
        const TOrvoColumn* column = FColumns->Items(i);
        const int depth = column->ColumnDepth();
        if (depth >= rows || (column->HasSubColumns() && column->Expanded()) || !allAncestorsExpanded(column))
            continue;
        int above = 0;
        for (int d = depth; d < rows - 1; ++d)
            above += heights[size_t(d)];
        heights[size_t(rows - 1)] = std::max(heights[size_t(rows - 1)], TitleHeightOf(column) - above);
    }
    if (rows > 0 && heights[0] == 0)
        heights[0] = LineHeightOf(FTitleFont) * FTitleLinesCount + FGridStyle->TitleRowSpace();
    return heights;
}

int TOrvoCustomDBGrid::TallestTotalLine() const
{
    int tallest = 0;
    const auto measure = [&tallest](const TOrvoColumnTotal* total) {
        tallest = std::max(tallest, LineHeightOf(total->Font()));
    };
    for (int i = 0; i < FColumns->Count(); ++i) {
        const TOrvoColumn* column = FColumns->Items(i);
        if (FOptionsEx.Contains(dgTotalHeader))
            measure(column->TotalHeader());
        if (FOptionsEx.Contains(dgTotalValues))
            for (int k = 0; k < column->TotalValues()->Count(); ++k)
                measure(column->TotalValues()->Items(k));
        if (FOptionsEx.Contains(dgTotalFields))
            measure(column->TotalFields());
        if (FOptionsEx.Contains(dgTotalFooter))
            measure(column->TotalFooter());
    }
    return tallest;
}

int TOrvoCustomDBGrid::CalcTotalRowHeight() const
{
    // Every total row is as high as the tallest font among the totals shown.
    const int tallest = TallestTotalLine();
    const int line = tallest > 0 ? tallest : LineHeightOf(FTotals->Font());
    return line * FTotals->LinesCount() + FGridStyle->TotalRowSpace();
}

int TOrvoCustomDBGrid::DataAreaRowCapacity() const
{
    const int line = HorzLineWidth();
    int used = 0;
    for (int row = 0; row < FTitleOffset && row < RowCount(); ++row)
        used += std::max(0, RowHeights(row)) + line;
    used += (FBottom.Count() - FBottom.Blank) * (FTotalRowHeight + line);
    return std::max(1, (viewport()->height() - used) / std::max(1, DefaultRowHeight() + line));
}

void TOrvoCustomDBGrid::UpdateRowCount()
{
    if (FUpdatingRowCount)
        return;
    FUpdatingRowCount = true;
    const auto done = qScopeGuard([this] { FUpdatingRowCount = false; });
    const int oldRowCount = RowCount();
    const int line = HorzLineWidth();
    FTextLineHeight = LineHeightOf(Font());
    FHeaderBandHeight =
        FOptions.Contains(dgTitles) && FOptions.Contains(dgTitleHeaders)
            ? LineHeightOf(FHeaderFont) * FHeaderLinesCount + FGridStyle->HeaderRowSpace() + line
            : 0;
    FTotalRowHeight = FBottom.Count() > FBottom.Blank ? CalcTotalRowHeight() : 0;
    SetDefaultRowHeight(line + FTextLineHeight * FLinesCount + FGridStyle->DataRowSpace());
    FRowHeightsComputedSinceReport = true;

    const int fixedRows = FTitleOffset + FBottom.Count() + 1;
    if (RowCount() < fixedRows)
        SetRowCount(fixedRows);
    TCustomGrid::SetFixedRows(FTitleOffset);
    const std::vector<int> titleHeights = CalcTitleHeights();
    for (int row = 0; row < FTitleOffset; ++row)
        SetRowHeights(row, titleHeights[size_t(row)]);

    int records = 0;
    if (FDataLink->Active()) {
        FDataLink->SetBufferCount(DataAreaRowCapacity());
        records = FDataLink->RecordCount();
    }
    SetRowCount(std::max(1, records) + FTitleOffset + FBottom.Count());
    ApplyRowHeights(records);
    if (RowCount() != oldRowCount)
        InvalidateGrid();
}

void TOrvoCustomDBGrid::ApplyRowHeights(int bufferedRecords)
{
    const int line = HorzLineWidth();
    const std::vector<int> titleHeights = CalcTitleHeights();
    for (int row = 0; row < FTitleOffset; ++row)
        SetRowHeights(row, titleHeights[size_t(row)]);
    const int firstBottom = FirstBottomRow();
    for (int row = FTitleOffset; row < firstBottom; ++row)
        SetRowHeights(row, DefaultRowHeight());
    if (FBottom.Count() == 0)
        return;
    int left = viewport()->height();
    for (int row = 0; row < FTitleOffset; ++row)
        left -= titleHeights[size_t(row)] + line;
    left -= (FBottom.Count() - FBottom.Blank) * (FTotalRowHeight + line);
    left -= std::max(1, bufferedRecords) * (DefaultRowHeight() + line);
    // Where no scroll bar or 3-D border closes the bottom, the last total row's line
    // would double the frame's: it is pushed just out of sight.
    const bool bottomEdge =
        !horizontalScrollBar()->isVisible() && !ThemedFixedCells() && !(BorderStyle() == bsSingle && FCtl3D);
    if (bottomEdge)
        ++left;
    for (int index = 0; index < FBottom.Count(); ++index) {
        const bool blank = BottomRowKind(index) == brBlank;
        SetRowHeights(firstBottom + index, blank ? std::max(0, left) - line : FTotalRowHeight);
    }
}

void TOrvoCustomDBGrid::MoveToActiveRecord()
{
    if (!FDataLink->Active() || RowCount() <= FTitleOffset)
        return;
    const int row = std::clamp(FTitleOffset + FDataLink->ActiveRecord(), FTitleOffset,
                               std::max(FTitleOffset, FirstBottomRow() - 1));
    if (TopRow() != FTitleOffset && FTitleOffset < RowCount())
        SetTopRow(FTitleOffset);
    if (row != Row()) {
        const QScopedValueRollback following(FFollowingDataSet, true);
        MoveColRow(Col(), row, true, false);
    }
}

void TOrvoCustomDBGrid::MoveOffHiddenColumn()
{
    const TOrvoColumn* current = SelectedColumn();
    if (!current || current->IsShown())
        return;
    // With nothing shown at all the cell stays, and the typed text with its own column.
    if (const int col = NearestShownGridCol(Col(), FHiddenColumnStep); col >= 0)
        LeaveColumnFor(col);
    else
        HideEditor();
}

int TOrvoCustomDBGrid::NearestShownGridCol(int col, int firstStep) const
{
    // One way first, then the other: the last column still finds one to its left.
    for (const int step : {firstStep, -firstStep})
        for (int c = col + step; c >= TCustomGrid::FixedCols() && c < ColCount(); c += step)
            if (const TOrvoColumn* column = ColumnOfGridCol(c); column && column->IsShown())
                return c;
    return -1;
}

void TOrvoCustomDBGrid::LeaveColumnFor(int col)
{
    // The typed text belongs to the column being left: once the cell moves, the link would
    // write it into the new column's field. Text the field refuses is reported and dropped,
    // since the pass must not stop halfway with the cell on a hidden column.
    if (!TExceptionHandler::Guard([this] { FDataLink->UpdateRecord(); })) {
        FDataLink->SetModified(false);
        HideEditor();
    }
    const int before = Col();
    if (OnColExit)
        OnColExit(this);
    // A handler that moved to a shown column has made the choice itself.
    if (Col() != before && ColumnOfGridCol(Col()) && ColumnOfGridCol(Col())->IsShown())
        return;
    if (!FOptions.Contains(dgAlwaysShowEditor))
        HideEditor();
    SetCol(col);
    if (OnColEnter)
        OnColEnter(this);
}

void TOrvoCustomDBGrid::SetColumnAttributes()
{
    FSettingColumnAttributes = true;
    const auto done = qScopeGuard([this] { FSettingColumnAttributes = false; });
    const int hiddenWidth = -VertLineWidth();
    // Tabbing into a looked-up value is pointless when the key it writes cannot change.
    const TDataSet* dataSet = DataSet();
    const auto lookupKeysWritable = [dataSet](const TOrvoColumn* column) {
        const TOrvoLookupColumn role = column->LookupColumn();
        if (role != lcLookupField && role != lcLookupResultField)
            return true;
        const QStringList keys = column->KeyField().split(QLatin1Char(';'), Qt::SkipEmptyParts);
        return dataSet && !keys.isEmpty() &&
               std::all_of(keys.begin(), keys.end(), [dataSet](const QString& key) {
                   const TField* keyField = dataSet->FindField(key.trimmed());
                   return keyField && !keyField->ReadOnly();
               });
    };
    for (int i = 0; i < FColumns->Count(); ++i) {
        const int gridCol = DataToRawColumn(i);
        if (gridCol >= ColCount())
            break;
        TOrvoColumn* column = FColumns->Items(i);
        SetColWidths(gridCol, column->IsShown() ? ShownColumnWidth(i) : std::min(hiddenWidth, -1));
        const TField* field = column->Field();
        SetTabStops(gridCol, column->IsShown() && !column->ReadOnly() && FDataLink->Active() && field &&
                                 !field->Calculated() && !field->ReadOnly() && lookupKeysWritable(column));
    }
    if (FOptions.Contains(dgIndicator))
        SetColWidths(0, FIndicatorWidth);
    if (Stretching())
        ScrollBackWhenAllFit();
}

void TOrvoCustomDBGrid::ScrollBackWhenAllFit()
{
    // Stretched columns that all fit leave nothing to scroll to: the view shows them from
    // the first scrollable one, never starting inside the frozen block.
    const int first = TCustomGrid::FixedCols();
    if (LeftCol() > first && TotalColumnsWidth() <= viewport()->width())
        SetLeftCol(first);
}

// --- Reacting to the base grid ------------------------------------------------------------------

void TOrvoCustomDBGrid::RowHeightsChanged()
{
    TCustomGrid::RowHeightsChanged();
    if (FUpdatingRowCount || FTextLineHeight == 0)
        return;
    if (FUpdateLock == 0 && FLayoutLock == 0)
        SnapRowsToWholeLines();
    ReportRowResize();
}

void TOrvoCustomDBGrid::SnapRowsToWholeLines()
{
    // A user's drag of a row edge snaps every data row to whole lines of text, in one layout pass.
    const int line = HorzLineWidth();
    for (int row = FTitleOffset; row < FirstBottomRow(); ++row) {
        const int height = RowHeights(row);
        if (height == DefaultRowHeight())
            continue;
        BeginLayout();
        const auto done = qScopeGuard([this] { EndLayout(); });
        // The pass at the end also snaps the rows back when the number of lines stays.
        SetLinesCount(std::max(0, height - line - FTextLineHeight / 2 - 3) / FTextLineHeight + 1);
        return;
    }
}

void TOrvoCustomDBGrid::ReportRowResize()
{
    // Only a real change of the row height is news: a drag that snaps back to the same number
    // of lines, or a repeated report of the same heights, is not.
    if (!FRowHeightsComputedSinceReport || std::abs(DefaultRowHeight() - FLastRowHeight) <= GridLineWidth())
        return;
    FLastRowHeight = DefaultRowHeight();
    FRowHeightsComputedSinceReport = false;
    if (OnRowResize)
        OnRowResize(this);
}

void TOrvoCustomDBGrid::Resized()
{
    TCustomGrid::Resized();
    if (FLoading)
        return;
    if (Stretching()) {
        DistributeStretchWidths();
        SetColumnAttributes();
        SynchronizeChainIfChanged();
    }
    // Under a lock the pass that holds it may still change the bars: the row count follows
    // the client area once the lock ends.
    if (FUpdateLock != 0 || FLayoutLock != 0) {
        FClientChangedWhileLocked = true;
        return;
    }
    FollowClientArea();
}

void TOrvoCustomDBGrid::FollowClientArea()
{
    UpdateRowCount();
    MoveToActiveRecord();
    UpdateScrollBar();
    UpdateHorzScrollBar();
    PositionSearchPanel();
}

// --- Stretching ------------------------------------------------------------------------------------

bool TOrvoCustomDBGrid::Stretching() const
{
    return FStretchMode && FDataLink && FDataLink->Active();
}

int TOrvoCustomDBGrid::ShownColumnWidth(int index) const
{
    if (Stretching() && index >= 0 && index < int(FStretchWidths.size()))
        return FStretchWidths[size_t(index)];
    // A column's Width asks here while stretching: answer without asking it back.
    const TOrvoColumn* column = FColumns->Items(index);
    return column->IsShown() ? column->WidthBase() : column->Width();
}

int TOrvoCustomDBGrid::StretchBaseWidth(int shownWidth) const
{
    if (FStretchSpace <= 0 || FStretchBase <= 0)
        return shownWidth;
    return int(qint64(shownWidth) * FStretchBase / FStretchSpace);
}

int TOrvoCustomDBGrid::StretchClientWidth() const
{
    const bool verticalShown = verticalScrollBar()->isVisible();
    const bool flatEdge = !verticalShown && !ThemedFixedCells() && !(BorderStyle() == bsSingle && FCtl3D);
    return viewport()->width() + (flatEdge ? 1 : 0) - FIndicatorOffset * (VertLineWidth() + FIndicatorWidth);
}

void TOrvoCustomDBGrid::DistributeStretchWidths()
{
    if (FDistributing || !Stretching())
        return;
    FDistributing = true;
    const auto done = qScopeGuard([this] { FDistributing = false; });
    const int count = FColumns->Count();
    const int lineWidth = VertLineWidth();
    struct TShare
    {
        int Index;
        int Base;
        int Pin = -1;
        bool PinnedAtMinimum = false;
    };
    std::vector<TShare> shares;
    qint64 space = StretchClientWidth();
    qint64 bases = 0;
    for (int i = 0; i < count; ++i) {
        const TOrvoColumn* column = FColumns->Items(i);
        if (!column->IsShown())
            continue;
        shares.push_back({i, std::max(0, column->WidthBase())});
        bases += shares.back().Base;
        space -= lineWidth;
    }
    // Emptied first, so that ShownColumnWidth answers with the unstretched widths.
    FStretchWidths.clear();
    for (int i = 0; i < count; ++i)
        FStretchWidths.push_back(ShownColumnWidth(i));
    if (bases < 1)
        return;

    qint64 e = space;
    qint64 f = bases;
    for (bool firstPass = true;; firstPass = false) {
        f = bases;
        e = space;
        bool pinned = false;
        for (TShare& share : shares) {
            if (share.Pin >= 0)
                continue;
            const TOrvoColumn* column = FColumns->Items(share.Index);
            const qint64 h = space * share.Base / bases;
            int pin = -1;
            bool atMinimum = false;
            if (column->WidthMin() >= 0 && h < column->WidthMin()) {
                pin = column->WidthMin();
                atMinimum = true;
            } else if (column->WidthMax() >= 0 && h > column->WidthMax()) {
                pin = column->WidthMax();
            } else if (column->WidthMin() < 0 && FStretchWidthMin >= 0 && h < FStretchWidthMin) {
                pin = FStretchWidthMin;
                atMinimum = true;
            } else if (column->WidthMax() < 0 && FStretchWidthMax >= 0 && h > FStretchWidthMax) {
                pin = FStretchWidthMax;
            }
            if (pin < 0)
                continue;
            share.Pin = pin;
            share.PinnedAtMinimum = atMinimum;
            f -= share.Base;
            e -= pin;
            pinned = true;
        }
        // Every column pinned with room to spare: the minimums give way so the room is used.
        if (firstPass && f < 1 && e > 0) {
            for (TShare& share : shares) {
                if (share.Pin >= 0 && share.PinnedAtMinimum) {
                    f += share.Base;
                    e += share.Pin;
                    share.Pin = -1;
                }
            }
        }
        if (!pinned || e < 1 || f < 1)
            break;
        bases = f;
        space = e;
    }
    FStretchSpace = int(std::max<qint64>(0, e));
    FStretchBase = int(std::max<qint64>(0, f));
    for (const TShare& share : shares) {
        int width = 0;
        if (share.Pin >= 0) {
            width = share.Pin;
        } else if (e > 0) {
            width = f > 0 ? int(e * share.Base / f) : 0;
            f -= share.Base;
            e -= width;
        } else {
            width = std::max(0, FStretchWidthMin);
        }
        FStretchWidths[size_t(share.Index)] = width;
    }
}

} // namespace orvo
