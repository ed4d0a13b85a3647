// The layout pass: the locks that fold requests into one pass, the field map that
// ties columns to fields, and the geometry of rows and columns — title rows, one data
// row per buffered record, the bottom region of blank and total rows.

#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvocustomdbgrid_p.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvocolumntitle.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "grid/dbgrid/torvogridrowlayout.h"
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
#include "platform/core/tscopecleanup.h"
#include "platform/data/tdataset.h"
#include "platform/data/tfield.h"
#include "platform/data/tfields.h"

#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

namespace orvo {

namespace {

/// Milliseconds between looks at a lock that holds a deferred layout pass off.
constexpr int DeferredLayoutRetryDelay = 20;

} // namespace

// --- Locks ------------------------------------------------------------------------------------

void TOrvoCustomDBGrid::BeginUpdate()
{
    ++d->FUpdateLock;
}

void TOrvoCustomDBGrid::EndUpdate()
{
    if (d->FUpdateLock > 0)
        --d->FUpdateLock;
    // A scroll bar that came or went under the lock changed the room for rows.
    if (d->FUpdateLock == 0 && d->FLayoutLock == 0 && d->FClientChangedWhileLocked) {
        d->FClientChangedWhileLocked = false;
        FollowClientArea();
    }
}

void TOrvoCustomDBGrid::BeginLayout()
{
    BeginUpdate();
    if (d->FLayoutLock == 0)
        d->FColumns->BeginUpdate();
    ++d->FLayoutLock;
}

void TOrvoCustomDBGrid::EndLayout()
{
    // Whatever the pass raises, the locks and the collection's update end with it.
    const auto close = Finally([this] {
        if (d->FLayoutLock == 1)
            d->FColumns->EndUpdate();
        if (d->FLayoutLock > 0)
            --d->FLayoutLock;
        EndUpdate();
    });
    if (d->FLayoutLock == 1)
        InternalLayout();
}

void TOrvoCustomDBGrid::CancelLayout()
{
    if (d->FLayoutLock == 0)
        return;
    if (--d->FLayoutLock == 0)
        d->FColumns->EndUpdate();
    EndUpdate();
}

void TOrvoCustomDBGrid::DeferLayout()
{
    PostDeferredLayout(0);
}

void TOrvoCustomDBGrid::PostDeferredLayout(int delay)
{
    if (d->FDeferredLayoutPosted)
        return;
    d->FDeferredLayoutPosted = true;
    QTimer::singleShot(delay, this, [this] {
        // A pass that ran meanwhile took the request along.
        if (!d->FDeferredLayoutPosted)
            return;
        d->FDeferredLayoutPosted = false;
        // Still locked: the request waits for the lock's end rather than being lost; a
        // short pause keeps a lock held across a nested event loop from spinning.
        if (d->FUpdateLock != 0 || d->FLayoutLock != 0) {
            PostDeferredLayout(DeferredLayoutRetryDelay);
            return;
        }
        TExceptionHandler::Guard([this] { LayoutChanged(); });
    });
}

void TOrvoCustomDBGrid::LayoutChanged()
{
    if (d->FUpdateLock == 0 && d->FLayoutLock == 0) {
        BeginLayout();
        EndLayout();
    }
}

// --- The layout pass ----------------------------------------------------------------------------

void TOrvoCustomDBGrid::InternalLayout()
{
    if (d->FLoading || d->FDestroying)
        return;
    d->FDeferredLayoutPosted = false;
    RemoveMixedColumns();
    d->FIndicatorOffset = d->FOptions.Contains(dgIndicator) ? 1 : 0;
    d->FDataLink->ClearMapping();
    if (d->FDataLink->Active())
        DefineFieldMap();
    SynchronizeColumnsWithFieldMap();

    d->FShownColumns.clear();
    d->FColumns->UpdateParentColumns();
    for (int i = 0; i < d->FColumns->Count(); ++i)
        if (d->FColumns->Items(i)->IsShown())
            d->FShownColumns.push_back(d->FColumns->Items(i));

    SetColCount(std::max(1, d->FColumns->Count()) + d->FIndicatorOffset);
    if (d->FDataLink->Active() || d->FColumns->State() == csCustomized) {
        SettleFrozenColumns();
        TCustomGrid::SetFixedCols(d->FIndicatorOffset + d->FFixedColsProperty);
    } else {
        TCustomGrid::SetFixedCols(d->FIndicatorOffset);
    }
    const TOrvoGridRowLayout rows(*this);
    d->FTitleOffset = rows.TitleRowCount();
    d->FBottom = rows.BottomRegion();
    UpdateRowCount();
    MoveOffHiddenColumn();
    UpdateScrollBar();
    d->FScrollProp->ApplyScrollProps();
    d->FStretching->Distribute();
    SetColumnAttributes();
    MoveToActiveRecord();
    InvalidateGrid();
    d->FChain->SynchronizeIfChanged();
}

void TOrvoCustomDBGrid::RemoveMixedColumns()
{
    // A stored column behind default ones means the user started defining columns:
    // the default ones have no place among them.
    bool defaultSeen = false;
    bool mixed = false;
    for (int i = 0; i < d->FColumns->Count() && !mixed; ++i) {
        if (!d->FColumns->Items(i)->Stored())
            defaultSeen = true;
        else if (defaultSeen)
            mixed = true;
    }
    if (!mixed)
        return;
    for (int i = d->FColumns->Count() - 1; i >= 0; --i)
        if (!d->FColumns->Items(i)->Stored())
            d->FColumns->Delete(i);
}

void TOrvoCustomDBGrid::DefineFieldMap()
{
    TDataSet* dataSet = DataSet();
    const QList<TField*>& fields = dataSet->Fields()->List();
    if (d->FColumns->State() == csCustomized) {
        d->FDataLink->SetSparseMap(true);
        for (int i = 0; i < d->FColumns->Count(); ++i) {
            const TField* field = dataSet->FindField(d->FColumns->Items(i)->FieldName());
            d->FDataLink->AddMapping(field ? int(fields.indexOf(const_cast<TField*>(field))) : -1);
        }
        return;
    }
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i]->Visible())
            d->FDataLink->AddMapping(i);
}

void TOrvoCustomDBGrid::SynchronizeColumnsWithFieldMap()
{
    if (d->FColumns->State() == csCustomized) {
        for (int i = 0; i < d->FColumns->Count(); ++i) {
            TOrvoColumn* column = d->FColumns->Items(i);
            column->SetField(DataSet() ? DataSet()->FindField(column->FieldName()) : nullptr);
        }
        return;
    }
    std::vector<TField*> mapped;
    for (int i = 0; i < d->FDataLink->MappingCount(); ++i)
        if (TField* field = d->FDataLink->MappedField(i))
            mapped.push_back(field);
    const bool keepMatching = d->FDataLink->Active() || !d->FDataLink->DefaultFieldsTest();
    for (int i = d->FColumns->Count() - 1; i >= 0; --i) {
        TField* field = d->FColumns->Items(i)->Field();
        if (!keepMatching || !field || std::find(mapped.begin(), mapped.end(), field) == mapped.end())
            d->FColumns->Delete(i);
    }
    for (int i = 0; i < int(mapped.size()); ++i) {
        TOrvoColumn* column = nullptr;
        for (int j = i; j < d->FColumns->Count() && !column; ++j)
            if (d->FColumns->Items(j)->Field() == mapped[size_t(i)])
                column = d->FColumns->Items(j);
        if (!column) {
            column = d->FColumns->AddDefaultColumn();
            column->SetField(mapped[size_t(i)]);
        }
        // The item itself moves: a default column's own SetIndex would move its field,
        // reordering the very map this pass walks.
        if (column->Index() != i)
            column->TCollectionItem::SetIndex(i);
    }
    if (d->FColumns->Count() == 0)
        d->FColumns->AddDefaultColumn();
    d->FColumns->AddAutoColumns(false);
}

void TOrvoCustomDBGrid::SettleFrozenColumns()
{
    const int count = d->FColumns->Count();
    // A grid without columns freezes none (never a negative count).
    int frozen = std::clamp(d->FFixedColsProperty, 0, std::max(0, count - 1));
    if (frozen > 0) {
        const TOrvoColumn* top = d->FColumns->Items(frozen - 1);
        while (top->ParentColumn())
            top = top->ParentColumn();
        const int blockEnd = std::max(top->LastSubColumnIndex(), frozen - 1) + 1;
        frozen = blockEnd >= count ? top->Index() : blockEnd;
    }
    d->FFixedColsProperty = frozen;
}

TBottomRowKind TOrvoCustomDBGrid::BottomRowKind(int index) const
{
    if (index < d->FBottom.Blank)
        return brBlank;
    index -= d->FBottom.Blank;
    if (index < d->FBottom.Header)
        return brTotalHeader;
    index -= d->FBottom.Header;
    if (index < d->FBottom.Values)
        return brTotalValues;
    index -= d->FBottom.Values;
    return index < d->FBottom.Fields ? brTotalFields : brTotalFooter;
}

int TOrvoCustomDBGrid::BottomRowNumber(int index) const
{
    switch (BottomRowKind(index)) {
    case brTotalValues:
        return index - d->FBottom.Blank - d->FBottom.Header;
    case brTotalFields:
        return index - d->FBottom.Blank - d->FBottom.Header - d->FBottom.Values;
    default:
        return 0;
    }
}

int TOrvoCustomDBGrid::RecordOfRow(int row) const
{
    const int record = row - d->FTitleOffset;
    if (record < 0 || row >= FirstBottomRow() || !d->FDataLink->Active() ||
        record >= d->FDataLink->RecordCount())
        return -1;
    return record;
}

TOrvoColumn* TOrvoCustomDBGrid::ColumnOfGridCol(int col) const
{
    const int dataCol = RawToDataColumn(col);
    return dataCol >= 0 && dataCol < d->FColumns->Count() ? d->FColumns->Items(dataCol) : nullptr;
}

int TOrvoCustomDBGrid::VertLineWidth() const
{
    return d->FOptions.Contains(dgColLines) ? GridLineWidth() : 0;
}

int TOrvoCustomDBGrid::HorzLineWidth() const
{
    return d->FOptions.Contains(dgRowLines) ? GridLineWidth() : 0;
}

void TOrvoCustomDBGrid::UpdateRowCount()
{
    TOrvoGridRowLayout(*this).UpdateRowCount();
}

void TOrvoCustomDBGrid::MoveToActiveRecord()
{
    if (!d->FDataLink->Active() || RowCount() <= d->FTitleOffset)
        return;
    const int row = std::clamp(d->FTitleOffset + d->FDataLink->ActiveRecord(), d->FTitleOffset,
                               std::max(d->FTitleOffset, FirstBottomRow() - 1));
    if (TopRow() != d->FTitleOffset && d->FTitleOffset < RowCount())
        SetTopRow(d->FTitleOffset);
    if (row != Row()) {
        const QScopedValueRollback following(d->FFollowingDataSet, true);
        MoveColRow(Col(), row, true, false);
    }
}

void TOrvoCustomDBGrid::MoveOffHiddenColumn()
{
    const TOrvoColumn* current = SelectedColumn();
    if (!current || current->IsShown())
        return;
    // With nothing shown at all the cell stays, and the typed text with its own column.
    if (const int col = NearestShownGridCol(Col(), d->FHiddenColumnStep); col >= 0)
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
    if (!TExceptionHandler::Guard([this] { d->FDataLink->UpdateRecord(); })) {
        d->FDataLink->SetModified(false);
        HideEditor();
    }
    const int before = Col();
    ColExit();
    // A handler that moved to a shown column has made the choice itself.
    if (Col() != before && ColumnOfGridCol(Col()) && ColumnOfGridCol(Col())->IsShown())
        return;
    if (!d->FOptions.Contains(dgAlwaysShowEditor))
        HideEditor();
    SetCol(col);
    ColEnter();
}

void TOrvoCustomDBGrid::SetColumnAttributes()
{
    d->FSettingColumnAttributes = true;
    const auto done = qScopeGuard([this] { d->FSettingColumnAttributes = false; });
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
    for (int i = 0; i < d->FColumns->Count(); ++i) {
        const int gridCol = DataToRawColumn(i);
        if (gridCol >= ColCount())
            break;
        TOrvoColumn* column = d->FColumns->Items(i);
        SetColWidths(gridCol, column->IsShown() ? ShownColumnWidth(i) : std::min(hiddenWidth, -1));
        const TField* field = column->Field();
        SetTabStops(gridCol, column->IsShown() && !column->ReadOnly() && d->FDataLink->Active() && field &&
                                 !field->Calculated() && !field->ReadOnly() && lookupKeysWritable(column));
    }
    if (d->FOptions.Contains(dgIndicator))
        SetColWidths(0, d->FIndicatorWidth);
    if (Stretching())
        ScrollBackWhenAllFit();
}

void TOrvoCustomDBGrid::ScrollBackWhenAllFit()
{
    // Stretched columns that all fit leave nothing to scroll to: the view shows them from
    // the first scrollable one, never starting inside the frozen block.
    const int first = TCustomGrid::FixedCols();
    if (LeftCol() > first && d->FScrollBars->TotalColumnsWidth() <= viewport()->width())
        SetLeftCol(first);
}

// --- Reacting to the base grid ------------------------------------------------------------------

void TOrvoCustomDBGrid::RowHeightsChanged()
{
    TCustomGrid::RowHeightsChanged();
    if (d->FUpdatingRowCount || d->FTextLineHeight == 0)
        return;
    if (d->FUpdateLock == 0 && d->FLayoutLock == 0)
        SnapRowsToWholeLines();
    ReportRowResize();
}

void TOrvoCustomDBGrid::SnapRowsToWholeLines()
{
    // A user's drag of a row edge snaps every data row to whole lines of text, in one layout pass.
    const int line = HorzLineWidth();
    for (int row = d->FTitleOffset; row < FirstBottomRow(); ++row) {
        const int height = RowHeights(row);
        if (height == DefaultRowHeight())
            continue;
        BeginLayout();
        const auto done = qScopeGuard([this] { EndLayout(); });
        // The pass at the end also snaps the rows back when the number of lines stays.
        SetLinesCount(std::max(0, height - line - d->FTextLineHeight / 2 - 3) / d->FTextLineHeight + 1);
        return;
    }
}

void TOrvoCustomDBGrid::ReportRowResize()
{
    // Only a real change of the row height is news: a drag that snaps back to the same number
    // of lines, or a repeated report of the same heights, is not.
    if (!d->FRowHeightsComputedSinceReport ||
        std::abs(DefaultRowHeight() - d->FLastRowHeight) <= GridLineWidth())
        return;
    d->FLastRowHeight = DefaultRowHeight();
    d->FRowHeightsComputedSinceReport = false;
    if (OnRowResize)
        OnRowResize(this);
}

void TOrvoCustomDBGrid::Resized()
{
    TCustomGrid::Resized();
    if (d->FLoading)
        return;
    if (Stretching()) {
        d->FStretching->Distribute();
        SetColumnAttributes();
        d->FChain->SynchronizeIfChanged();
    }
    // Under a lock the pass that holds it may still change the bars: the row count follows
    // the client area once the lock ends.
    if (d->FUpdateLock != 0 || d->FLayoutLock != 0) {
        d->FClientChangedWhileLocked = true;
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
    return d->FStretchMode && d->FDataLink && d->FDataLink->Active();
}

int TOrvoCustomDBGrid::ShownColumnWidth(int index) const
{
    return d->FStretching->ShownWidth(index);
}

int TOrvoCustomDBGrid::StretchBaseWidth(int shownWidth) const
{
    return d->FStretching->BaseWidth(shownWidth);
}

} // namespace orvo
