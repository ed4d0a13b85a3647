#include "grid/selection/torvogridselection.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvocustomdbgrid_p.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "grid/selection/torvobookmarklist.h"
#include "grid/selection/torvocolumnlist.h"
#include "grid/selection/torvoselectioncopy.h"
#include "grid/totals/torvodbgridtotals.h"
#include "platform/core/texceptionhandler.h"
#include "platform/core/tscopecleanup.h"
#include "platform/data/tdataset.h"

#include <QTimer>

#include <algorithm>

namespace orvo {

namespace {

/// How many records a walk to the next selected one steps through before it jumps
/// there by bookmark: stepping is cheap for a run of selected records, a jump costs
/// a refetch of the dataset's window.
constexpr int MaxStepsToNextSelected = 8;

} // namespace

TOrvoGridSelection::TOrvoGridSelection(TOrvoCustomDBGrid& grid) : FGrid(grid)
{
    OptionsChanged();
}

TOrvoGridSelection::~TOrvoGridSelection()
{
    delete FTimer;
}

// --- Kind and column range ---------------------------------------------------------------------

bool TOrvoGridSelection::Permitted(TMultiSelection kind) const
{
    return FGrid.MultiSelectOptions().Contains(kind);
}

TMultiSelection TOrvoGridSelection::CandidateMode() const
{
    if (FGrid.Options().Contains(dgRowSelect))
        return msRows;
    if (FWholeColumns)
        return msCols;
    if (FAnchorCol < 0)
        return msRows;
    if (Permitted(msCells))
        return msCells;
    if (Permitted(msRows))
        return msRows;
    return msCols;
}

void TOrvoGridSelection::RecomputeMode()
{
    const TMultiSelection candidate = CandidateMode();
    FMode = Permitted(candidate) ? candidate : msNone;
}

void TOrvoGridSelection::OptionsChanged()
{
    FFirstSelectableCol = Permitted(msFixed) ? 0 : FGrid.FixedColsProperty();
    RecomputeMode();
}

void TOrvoGridSelection::SetAnchorCol(int value)
{
    if (value < FFirstSelectableCol)
        value = -1;
    if (value == FAnchorCol)
        return;
    BeginUpdate();
    const auto end = Finally([this] { EndUpdate(); });
    const bool columnKindBefore = ColumnKindCurrent();
    FAnchorCol = value;
    if (value == -1)
        FWholeColumns = false;
    RecomputeMode();
    FGrid.SelectedCols()->DiscardList();
    if ((ColumnKindCurrent() && FAnchorCol >= 0 && FCurrentCol >= 0) ||
        (columnKindBefore && !ColumnKindCurrent() && FCurrentCol >= 0))
        ColumnsChanged();
}

void TOrvoGridSelection::SetWholeColumns(bool value)
{
    if (value == FWholeColumns)
        return;
    BeginUpdate();
    const auto end = Finally([this] { EndUpdate(); });
    FWholeColumns = value;
    if (value && FAnchorCol == -1) {
        const int current = CurrentDataColumn();
        FAnchorCol = current < FFirstSelectableCol ? -1 : current;
        // A column that cannot be selected leaves nothing for whole columns to span.
        FWholeColumns = FAnchorCol >= 0;
    }
    RecomputeMode();
    FGrid.SelectedCols()->DiscardList();
    if (!ColumnKindCurrent() && FCurrentCol >= 0)
        ColumnsChanged();
}

void TOrvoGridSelection::SetCurrentCol(int value)
{
    if (FAnchorCol == -1 || value < -1)
        value = -1;
    else if (value >= 0 && value < FFirstSelectableCol)
        value = FGrid.FixedColsProperty();
    if (value == FCurrentCol)
        return;
    BeginUpdate();
    const auto end = Finally([this] { EndUpdate(); });
    FCurrentCol = value;
    RecomputeMode();
    FGrid.SelectedCols()->DiscardList();
    if (ColumnKindCurrent())
        ColumnsChanged();
}

int TOrvoGridSelection::CurrentDataColumn() const
{
    const TOrvoColumn* column = FGrid.SelectedColumn();
    return column ? column->Index() : -1;
}

// --- What is selected ----------------------------------------------------------------------------

bool TOrvoGridSelection::HasSelectedRows() const
{
    return RowKindCurrent() && FGrid.SelectedRows()->Count() > 0;
}

bool TOrvoGridSelection::HasSelectedCols() const
{
    if (!ColumnKindCurrent())
        return false;
    const TOrvoColumnList* columns = FGrid.SelectedCols();
    if (columns->RangeBacked())
        return FAnchorCol >= 0 && FCurrentCol >= 0;
    return columns->Count() > 0;
}

bool TOrvoGridSelection::ColumnInSelection(int dataColumnIndex) const
{
    if (!ColumnKindCurrent())
        return true;
    return FGrid.SelectedCols()->Selected(dataColumnIndex);
}

bool TOrvoGridSelection::CellInSelection(int dataColumnIndex) const
{
    const bool columnSelected = FGrid.SelectedCols()->Selected(dataColumnIndex);
    const TOrvoBookmarkList* rows = FGrid.SelectedRows();
    const TDataSet* dataSet = FGrid.DataSet();
    bool rowSelected = false;
    if ((FMode == msRows || (FMode == msCells && columnSelected)) &&
        FGrid.Options().Contains(dgMultiSelect) && rows->Count() > 0 && dataSet) {
        int index = 0;
        rowSelected = rows->Find(dataSet->Bookmark(), index);
    }
    // A block of cells is its selected records times its selected columns.
    return FMode == msCells ? rowSelected : columnSelected || rowSelected;
}

// --- The batch -------------------------------------------------------------------------------------

void TOrvoGridSelection::BeginUpdate()
{
    ++FBatchCount;
    FGrid.BeginUpdate();
}

void TOrvoGridSelection::EndUpdate()
{
    FGrid.EndUpdate();
    if (FBatchCount > 0)
        --FBatchCount;
    if (FBatchCount > 0 || !(FRowsChanged || FColsChanged) || FGrid.IsDestroying())
        return;
    if (FColsChanged)
        FGrid.InvalidateGrid();
    if (FGrid.DelayApplies(dgDelaySelectedRows))
        StartTimer();
    else
        FireEvents();
}

void TOrvoGridSelection::ColumnsChanged()
{
    FColsChanged = true;
}

void TOrvoGridSelection::StartTimer()
{
    if (!FTimer) {
        FTimer = new QTimer(&FGrid);
        FTimer->setSingleShot(true);
        QObject::connect(FTimer, &QTimer::timeout, &FGrid,
                         [this] { TExceptionHandler::Guard([this] { FireEvents(); }); });
    }
    FTimer->start(TOrvoCustomDBGrid::UpdateDelay());
}

void TOrvoGridSelection::FlushEvents()
{
    if (FTimer && FTimer->isActive())
        FireEvents();
}

void TOrvoGridSelection::FireEvents()
{
    if (FTimer) {
        FTimer->stop();
        FTimer->deleteLater();
        FTimer = nullptr;
    }
    // Taken before the handlers run, so that a change they make is reported in turn.
    const bool rows = FRowsChanged;
    const bool cols = FColsChanged;
    FRowsChanged = false;
    FColsChanged = false;
    TOrvoDBGridTotals* totals = FGrid.Totals();
    if (rows)
        totals->SetSelectedRowsPresent(HasSelectedRows());
    if (cols)
        totals->SetSelectedColsPresent(HasSelectedCols());
    if (rows)
        RowsChangedHandling();
    if (cols)
        ColsChangedHandling();
    if ((rows || cols) && FGrid.OnSelectionChanged)
        FGrid.OnSelectionChanged(&FGrid);
}

namespace {

bool TotalsFollowSelection(const TOrvoCustomDBGrid& grid)
{
    const TOrvoDBGridOptionsEx options = grid.OptionsEx();
    const TOrvoDBGridOptionsEx rows{dgTotalHeader, dgTotalValues, dgTotalFooter, dgCalcInvisibleRows,
                                    dgSelectedAutoHidden};
    return options.Contains(dgAutoUpdateTotals) && grid.Totals()->CalcValues() && !(options * rows).IsEmpty();
}

bool SelectedTotalRows(const TOrvoCustomDBGrid& grid)
{
    return !(grid.OptionsEx() *
             TOrvoDBGridOptionsEx{dgTotalHeaderSelected, dgTotalValuesSelected, dgTotalFooterSelected})
                .IsEmpty();
}

} // namespace

void TOrvoGridSelection::RowsChangedHandling()
{
    if (TotalsFollowSelection(FGrid)) {
        if (FGrid.OptionsEx().Contains(dgCalcSelectedRows))
            FGrid.CalcTotals(false);
        else if (SelectedTotalRows(FGrid))
            FGrid.CalcTotals(true);
    }
    if (FGrid.OnSelectedRowsChanged)
        FGrid.OnSelectedRowsChanged(&FGrid);
}

void TOrvoGridSelection::ColsChangedHandling()
{
    if (TotalsFollowSelection(FGrid)) {
        if (FGrid.OptionsEx().Contains(dgCalcSelectedRows))
            FGrid.InvalidateGrid();
        else if (SelectedTotalRows(FGrid) && FGrid.OptionsEx().Contains(dgSelectedAutoHidden))
            FGrid.CalcTotals(true);
        else if (SelectedTotalRows(FGrid))
            FGrid.InvalidateGrid();
    }
    if (FGrid.OnSelectedColsChanged)
        FGrid.OnSelectedColsChanged(&FGrid);
}

// --- Operations ------------------------------------------------------------------------------------

TDataSet* TOrvoGridSelection::LinkedDataSet() const
{
    TDataSet* dataSet = FGrid.DataSet();
    return dataSet && FGrid.DataLink()->Active() ? dataSet : nullptr;
}

void TOrvoGridSelection::StartSelection(TMultiSelection kind)
{
    if (kind == FMode)
        return;
    const bool columnKind = kind == msCols || kind == msCells;
    if (kind == msRows ? !Permitted(msRows)
                       : !columnKind || !Permitted(kind) || FGrid.Options().Contains(dgRowSelect))
        return;
    BeginUpdate();
    const auto end = Finally([this] { EndUpdate(); });
    ClearSelection();
    if (columnKind) {
        SetWholeColumns(kind == msCols);
        SetAnchorCol(CurrentDataColumn());
    }
}

void TOrvoGridSelection::ClearSelection()
{
    BeginUpdate();
    const auto end = Finally([this] { EndUpdate(); });
    if (HasSelectedCols())
        ColumnsChanged();
    FGrid.SelectedRows()->Clear();
    FAnchorBookmark.clear();
    FGrid.SelectedCols()->Clear();
    SetWholeColumns(false);
    SetAnchorCol(-1);
    SetCurrentCol(-1);
}

void TOrvoGridSelection::SelectAll()
{
    TDataSet* dataSet = LinkedDataSet();
    if (!dataSet || !(RowKindCurrent() || ColumnKindCurrent()))
        return;
    dataSet->CheckBrowseMode();
    BeginUpdate();
    const auto end = Finally([this] { EndUpdate(); });
    if (RowKindCurrent()) {
        {
            FGrid.BeginDataUpdate();
            const auto endDataUpdate = Finally([this] { FGrid.EndDataUpdate(false); });
            TOrvoBookmarkList* rows = FGrid.SelectedRows();
            rows->Clear();
            dataSet->First();
            rows->SelectToEnd();
        }
        FAnchorBookmark = dataSet->Bookmark();
    }
    if (ColumnKindCurrent()) {
        TOrvoColumnList* columns = FGrid.SelectedCols();
        for (int i = FFirstSelectableCol; i < FGrid.Columns()->Count(); ++i)
            columns->SetSelected(i, true);
    }
}

void TOrvoGridSelection::InvertSelection()
{
    if (FMode != msRows && FMode != msCols)
        return;
    TDataSet* dataSet = LinkedDataSet();
    if (dataSet)
        dataSet->CheckBrowseMode();
    BeginUpdate();
    const auto end = Finally([this] { EndUpdate(); });
    if (FMode == msCols) {
        TOrvoColumnList* columns = FGrid.SelectedCols();
        for (int i = FFirstSelectableCol; i < FGrid.Columns()->Count(); ++i)
            columns->SetSelected(i, !columns->Selected(i));
        return;
    }
    if (!dataSet)
        return;
    FGrid.BeginDataUpdate();
    const auto endDataUpdate = Finally([this] { FGrid.EndDataUpdate(false); });
    dataSet->First();
    FGrid.SelectedRows()->MergeFrom(
        [dataSet]() -> std::optional<QString> {
            if (dataSet->Eof())
                return std::nullopt;
            QString bookmark = dataSet->Bookmark();
            dataSet->Next();
            return bookmark;
        },
        true);
}

void TOrvoGridSelection::SelectCurrentRow(bool value)
{
    FGrid.SelectedRows()->SetCurrentRowSelected(value);
}

void TOrvoGridSelection::InvertCurrentRow()
{
    FGrid.SelectedRows()->InvertCurrentRow();
}

void TOrvoGridSelection::WalkToAnchor(const std::function<void(TDataSet* dataSet)>& walk)
{
    TDataSet* dataSet = LinkedDataSet();
    if (!dataSet || !RowKindCurrent())
        return;
    dataSet->CheckBrowseMode();
    BeginUpdate();
    const auto end = Finally([this] { EndUpdate(); });
    FGrid.BeginDataUpdate();
    const auto endDataUpdate = Finally([this] { FGrid.EndDataUpdate(false); });
    if (FAnchorBookmark.isEmpty())
        FAnchorBookmark = dataSet->Bookmark();
    walk(dataSet);
}

void TOrvoGridSelection::ExtendSelectionToAnchor()
{
    WalkToAnchor([this](TDataSet* dataSet) { ExtendToAnchorFrom(dataSet); });
}

void TOrvoGridSelection::ExtendToAnchorFrom(TDataSet* dataSet)
{
    QStringList walked{dataSet->Bookmark()};
    const int side = dataSet->CompareBookmarks(walked.first(), FAnchorBookmark);
    // Towards the anchor, taking each record up to it; a record past it (the anchor is
    // gone) ends the walk untaken.
    while (side != 0) {
        if (side > 0)
            dataSet->Prior();
        else
            dataSet->Next();
        if (side > 0 ? dataSet->Bof() : dataSet->Eof())
            break;
        const QString bookmark = dataSet->Bookmark();
        const int order = dataSet->CompareBookmarks(bookmark, FAnchorBookmark);
        if (order * side < 0)
            break;
        walked << bookmark;
        if (order == 0)
            break;
    }
    if (side > 0)
        std::reverse(walked.begin(), walked.end());
    FGrid.SelectedRows()->Merge(walked, false);
}

void TOrvoGridSelection::InvertSelectionToAnchor()
{
    WalkToAnchor([this](TDataSet* dataSet) { InvertToAnchorFrom(dataSet); });
}

void TOrvoGridSelection::InvertToAnchorFrom(TDataSet* dataSet)
{
    const auto sideOfAnchor = [&] { return dataSet->CompareBookmarks(dataSet->Bookmark(), FAnchorBookmark); };
    QStringList walked;
    const int side = sideOfAnchor();
    if (side > 0) {
        do {
            walked << dataSet->Bookmark();
            dataSet->Prior();
        } while (!dataSet->Bof() && sideOfAnchor() > 0);
    } else if (side < 0) {
        do {
            walked << dataSet->Bookmark();
            dataSet->Next();
        } while (!dataSet->Eof() && sideOfAnchor() < 0);
    }
    if (sideOfAnchor() == 0)
        walked << dataSet->Bookmark();
    if (side > 0)
        std::reverse(walked.begin(), walked.end());
    // Every record from the current one to the anchor, both included, changes its state.
    FGrid.SelectedRows()->Merge(walked, true);
}

void TOrvoGridSelection::SaveSelection(const QString& keyFields)
{
    FSavedMode = FMode;
    FGrid.SelectedRows()->SaveKeys(keyFields);
    FGrid.SelectedCols()->SaveIDs();
}

void TOrvoGridSelection::RestoreSelection(const QString& keyFields)
{
    if (FSavedMode == msNone)
        return;
    BeginUpdate();
    const auto end = Finally([this] { EndUpdate(); });
    StartSelection(FSavedMode);
    FGrid.SelectedRows()->RestoreKeys(keyFields);
    FGrid.SelectedCols()->RestoreIDs();
}

void TOrvoGridSelection::RefreshData(const QString& keyFields)
{
    TDataSet* dataSet = LinkedDataSet();
    if (!dataSet)
        return;
    const QString fields = keyFields.isEmpty() ? FGrid.KeyFields() : keyFields;
    const bool persistent = FGrid.Columns()->State() == csCustomized;
    if (persistent)
        FGrid.BeginDataUpdate();
    const auto endDataUpdate = Finally([this, persistent] {
        if (persistent)
            FGrid.EndDataUpdate(false);
    });
    const TVariant keys = fields.isEmpty() ? TVariant() : dataSet->FieldValues(fields);
    const bool keep = !fields.isEmpty() && FGrid.OptionsEx().Contains(dgAutoKeepSelection);
    if (keep)
        SaveSelection(fields);
    ClearSelection();
    dataSet->Close();
    dataSet->Open();
    if (keep)
        RestoreSelection(fields);
    if (!fields.isEmpty())
        dataSet->Locate(fields, keys, {});
}

// --- The cell walk ----------------------------------------------------------------------------------

std::vector<TOrvoColumn*> TOrvoGridSelection::WalkColumns(int mode) const
{
    std::vector<TOrvoColumn*> columns;
    const TOrvoDBGridColumns* all = FGrid.Columns();
    if (mode == 1 || FMode == msRows) {
        for (int i = mode == 1 ? 0 : FFirstSelectableCol; i < all->Count(); ++i)
            columns.push_back(all->Items(i));
        return columns;
    }
    const TOrvoColumnList* selected = FGrid.SelectedCols();
    for (int i = 0; i < selected->Count(); ++i)
        columns.push_back(selected->Items(i));
    return columns;
}

bool TOrvoGridSelection::GoToSelectedRecord(TDataSet* dataSet, int index)
{
    const QString target = FGrid.SelectedRows()->Items(index);
    if (index > 0) {
        for (int step = 0; step < MaxStepsToNextSelected; ++step) {
            dataSet->Next();
            if (dataSet->Eof())
                break;
            if (dataSet->Bookmark() == target)
                return true;
        }
    }
    if (!dataSet->BookmarkValid(target))
        return false;
    dataSet->GotoBookmark(target);
    return true;
}

bool TOrvoGridSelection::ForEachCell(int mode, const TCellCallback& callback,
                                     const std::function<bool(qint64, qint64)>& onRecord)
{
    const bool anything = HasSelectedRows() || HasSelectedCols();
    if (mode == 0)
        mode = anything ? 2 : 1;
    TDataSet* dataSet = LinkedDataSet();
    if ((mode == 2 && !anything) || !dataSet)
        return true;
    const std::vector<TOrvoColumn*> columns = WalkColumns(mode);
    if (columns.empty())
        return true;
    const auto visitRecord = [&](bool firstRecord, bool lastRecord) {
        const int recordFlags = (firstRecord ? cfFirstRecord : 0) | (lastRecord ? cfLastRecord : 0);
        for (size_t i = 0; i < columns.size(); ++i) {
            const int flags =
                recordFlags | (i == 0 ? cfFirstColumn : 0) | (i + 1 == columns.size() ? cfLastColumn : 0);
            callback(columns[i], flags);
        }
    };
    FGrid.BeginDataUpdate();
    const auto endDataUpdate = Finally([this] { FGrid.EndDataUpdate(false); });
    if (mode == 1 || FMode == msCols) {
        const qint64 total = dataSet->RecordCount();
        qint64 record = 0;
        for (dataSet->First(); !dataSet->Eof(); ++record) {
            if (onRecord && !onRecord(record, total))
                return false;
            // A look ahead tells the last record: the walk must know it before its cells.
            dataSet->Next();
            const bool last = dataSet->Eof();
            if (!last)
                dataSet->Prior();
            visitRecord(record == 0, last);
            if (last)
                break;
            dataSet->Next();
        }
        return true;
    }
    const TOrvoBookmarkList* rows = FGrid.SelectedRows();
    bool first = true;
    // The count is read afresh: a handler run while events are processed may change the list.
    for (int index = 0; index < rows->Count(); ++index) {
        if (onRecord && !onRecord(index, rows->Count()))
            return false;
        if (index >= rows->Count() || !GoToSelectedRecord(dataSet, index))
            continue;
        visitRecord(first, index + 1 == rows->Count());
        first = false;
    }
    return true;
}

// --- Copying --------------------------------------------------------------------------------------

bool TOrvoGridSelection::CopyToClipboard(bool withTitles)
{
    TDataSet* dataSet = LinkedDataSet();
    if (!dataSet || !(HasSelectedRows() || HasSelectedCols()))
        return false;
    const qint64 total = FMode == msCols ? dataSet->RecordCount() : FGrid.SelectedRows()->Count();
    TOrvoSelectionCopy copy(withTitles, total);
    FCopy = &copy;
    const auto done = Finally([this] { FCopy = nullptr; });
    TCopyProgress progress(FGrid, total);
    const bool completed = ForEachCell(
        2, [this](TOrvoColumn* column, int flags) { FGrid.CopyCellText(column, flags); },
        [&progress](qint64 record, qint64 count) { return progress.Step(record, count); });
    if (!completed || copy.IsEmpty())
        return false;
    copy.PutOnClipboard();
    return true;
}

void TOrvoGridSelection::DeleteSelectedRows()
{
    BeginUpdate();
    const auto end = Finally([this] { EndUpdate(); });
    FGrid.SelectedRows()->DeleteRows();
}

void TOrvoGridSelection::CopyCellText(TOrvoColumn* column, int flags)
{
    if (FCopy)
        FCopy->AddCell(column, flags);
}

// --- What the grid hands to the part ------------------------------------------------------------

TOrvoGridSelection& TOrvoCustomDBGrid::SelectionPart() const
{
    return *d->FSelection;
}

void TOrvoCustomDBGrid::FlushPendingUpdates()
{
    FlushUpdates();
}

} // namespace orvo
