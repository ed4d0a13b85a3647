#include "grid/totals/torvogridtotalscalc.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvocustomdbgrid_p.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "grid/selection/torvobookmarklist.h"
#include "grid/totals/torvocolumntotalfields.h"
#include "grid/totals/torvocolumntotalfooter.h"
#include "grid/totals/torvocolumntotalheader.h"
#include "grid/totals/torvocolumntotalvalue.h"
#include "grid/totals/torvocolumntotalvalues.h"
#include "grid/totals/torvodbgridtotals.h"
#include "grid/totals/torvogridtotalsaggregates.h"
#include "grid/totals/torvototaldatalink.h"
#include "platform/core/texceptionhandler.h"
#include "platform/core/tscopecleanup.h"
#include "platform/data/tdataset.h"
#include "platform/data/tfield.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <memory>

namespace orvo {

TOrvoGridTotalsCalc::TOrvoGridTotalsCalc(TOrvoCustomDBGrid& grid) : FGrid(grid) {}

// --- When ------------------------------------------------------------------------------------

bool TOrvoGridTotalsCalc::AnyTotalRow() const
{
    const TOrvoDBGridOptionsEx options = FGrid.OptionsEx();
    return !(options * TOrvoDBGridOptionsEx{dgTotalHeader, dgTotalValues, dgTotalFooter, dgCalcInvisibleRows})
                .IsEmpty();
}

void TOrvoGridTotalsCalc::UpdateTotals(bool autoUpdate)
{
    if (FGrid.IsLoading() || FGrid.IsBusy() || FRunning || FGrid.d->FDelayed->InsideRebuild())
        return;
    if (autoUpdate && !FGrid.OptionsEx().Contains(dgAutoUpdateTotals))
        return;
    if (!FGrid.Totals()->CalcValues() || !AnyTotalRow())
        return;
    FGrid.d->FDelayed->Schedule(TOrvoGridDelayedUpdates::TUpdate::Totals,
                                FGrid.DelayApplies(dgDelayUpdateTotals));
}

// --- The calculation -------------------------------------------------------------------------

void TOrvoGridTotalsCalc::CalcTotals(bool selected)
{
    if (FRunning)
        return;
    const TDataSet* dataSet = FGrid.DataSet();
    if (FGrid.DataLink()->Active() && dataSet && dataSet->State() != dsBrowse)
        return;
    {
        FRunning = true;
        const auto done = Finally([this] { FRunning = false; });
        if (FGrid.Totals()->CalcValues()) {
            Calculate(selected);
            // The rows that show selected-row results follow the selection, also when the
            // data changed under it.
            if (!selected && SelectionPresent() && AnySelectionRow())
                Calculate(true);
        }
    }
    // Rows shown only while something is selected appear or go with the selection.
    if (selected)
        FGrid.SetOptionsEx(FGrid.OptionsEx());
    if (FGrid.Totals()->CalcValues())
        FGrid.TotalsUpdated();
}

void TOrvoGridTotalsCalc::Calculate(bool selected)
{
    // The walk moves the dataset: while it runs, its changes are not the user's.
    FGrid.BeginBusy();
    const auto endBusy = Finally([this] { FGrid.EndBusy(); });
    try {
        TDataSet* dataSet = FGrid.DataSet();
        if (FGrid.CalcTotalsPass(cpReset, selected) && FGrid.DataLink()->Active() && !dataSet->IsEmpty()) {
            dataSet->CheckBrowseMode();
            FGrid.SelectedRows()->RefreshRows();
            VisitRecords(ChooseRecords(selected), selected);
        }
    } catch (...) {
        // A dataset that fails part way leaves every total incomplete: none may show
        // a part as if it were the whole.
        ForEachTotalRow([](TOrvoColumnTotalValue* total, TOrvoDBGridOptionEx, TOrvoDBGridOptionEx) {
            total->FailCalculation();
        });
        TExceptionHandler::HandleCurrent();
    }
    TExceptionHandler::Guard([this, selected] { FGrid.CalcTotalsPass(cpFinal, selected); });
}

TOrvoGridTotalsCalc::TRecords TOrvoGridTotalsCalc::ChooseRecords(bool selected) const
{
    const TOrvoDBGridOptionsEx options = FGrid.OptionsEx();
    const bool rowsSelected = FGrid.SelectedRows()->Count() > 0;
    const bool colsSelected = FGrid.Totals()->SelectedColsPresent();
    if (selected && colsSelected && !rowsSelected)
        return TRecords::WholeDataSet;
    if (selected ||
        (options.Contains(dgCalcSelectedRows) && (!options.Contains(dgCalcWholeDataSet) || rowsSelected)))
        return TRecords::SelectedRows;
    if (options.Contains(dgCalcWholeDataSet))
        return TRecords::WholeDataSet;
    return TRecords::None;
}

void TOrvoGridTotalsCalc::VisitRecords(TRecords records, bool selected)
{
    if (records == TRecords::None)
        return;
    TDataSet* dataSet = FGrid.DataSet();
    const QString bookmark = dataSet->Bookmark();
    const int bufferRow = FGrid.DataLink()->ActiveRecord();
    // A calculation the delayed updates run gets no change notice from the dataset (the grid
    // ignores those while an update runs), so the grid follows the record itself before the
    // window goes back to the row it showed: otherwise the rows would count from a stale row.
    const auto showAgain = Finally([this, bufferRow] {
        FGrid.MoveToActiveRecord();
        FGrid.ShowCurrentRecordAtRow(bufferRow);
    });
    dataSet->DisableControls();
    const auto enable = Finally([dataSet] { dataSet->EnableControls(); });
    const auto back = Finally([dataSet, &bookmark] {
        if (dataSet->BookmarkValid(bookmark))
            dataSet->GotoBookmark(bookmark);
    });
    VisitWith(records, selected);
}

void TOrvoGridTotalsCalc::VisitWith(TRecords records, bool selected)
{
    TDataSet* dataSet = FGrid.DataSet();
    if (records == TRecords::SelectedRows) {
        // Going to a bookmark fills the link's buffers around the record; the walk reads only
        // the record itself, so for its time the link buffers one.
        TOrvoGridDataLink* link = FGrid.DataLink();
        const int buffers = link->BufferCount();
        link->SetBufferCount(1);
        const auto restoreBuffers = Finally([link, buffers] { link->SetBufferCount(buffers); });
        const TOrvoBookmarkList* rows = FGrid.SelectedRows();
        if (AnsweredByDataSet(selected, rows))
            return;
        for (int i = 0; i < rows->Count(); ++i) {
            dataSet->GotoBookmark(rows->Items(i));
            FGrid.CalcTotalsPass(cpCalcRec, selected);
        }
        return;
    }
    if (AnsweredByDataSet(selected, nullptr))
        return;
    for (dataSet->First(); !dataSet->Eof(); dataSet->Next())
        FGrid.CalcTotalsPass(cpCalcRec, selected);
}

bool TOrvoGridTotalsCalc::AnsweredByDataSet(bool selected, const TOrvoBookmarkList* rows) const
{
    // A handler sees every record; with one assigned the records must be walked.
    if (FGrid.OnTotalCalcQuery || FGrid.OnTotalCalcValue)
        return false;
    std::vector<TOrvoColumnTotalValue*> totals;
    ForEachTotalRow([&](TOrvoColumnTotalValue* total, TOrvoDBGridOptionEx rowOption,
                        TOrvoDBGridOptionEx selectionOption) {
        if (RowTakesPart(rowOption, selectionOption, cpCalcRec, selected) && total->TakesPart(cpCalcRec))
            totals.push_back(total);
    });
    if (rows)
        return TOrvoGridTotalsAggregates::AnswerSelected(FGrid.DataSet(), *rows, totals, KeepWindowAlive());
    return TOrvoGridTotalsAggregates::Answer(FGrid.DataSet(), totals, KeepWindowAlive());
}

std::function<void()> TOrvoGridTotalsCalc::KeepWindowAlive() const
{
    if (!FGrid.isVisible())
        return {};
    // The suite starts no threads: while the database adds up a large table, the window
    // repaints and its timers run, and the user's input waits in the queue until the
    // totals are done (it could edit the records being added up).
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    return [clock] {
        if (clock->elapsed() < KeepAliveInterval)
            return;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        clock->restart();
    };
}

// --- One pass --------------------------------------------------------------------------------

bool TOrvoGridTotalsCalc::CalcTotalsPass(TCalcPass pass, bool selected)
{
    if (pass == cpCalcRec && !FGrid.TotalCalcQuery(FGrid.DataSet()))
        return false;
    bool any = false;
    ForEachTotalRow([&](TOrvoColumnTotalValue* total, TOrvoDBGridOptionEx rowOption,
                        TOrvoDBGridOptionEx selectionOption) {
        if (RowTakesPart(rowOption, selectionOption, pass, selected))
            any |= total->Calculate(pass);
    });
    return any;
}

bool TOrvoGridTotalsCalc::RowTakesPart(TOrvoDBGridOptionEx rowOption, TOrvoDBGridOptionEx selectionOption,
                                       TCalcPass pass, bool selected) const
{
    const TOrvoDBGridOptionsEx options = FGrid.OptionsEx();
    if (!options.Contains(rowOption) && !options.Contains(dgCalcInvisibleRows))
        return false;
    const bool selectionRow = options.Contains(selectionOption);
    if (selected || !selectionRow)
        return selectionRow || !selected;
    // A row that shows selected-row results is left to the selection's own pass while
    // something is selected, and takes no records while nothing is.
    return !SelectionPresent() && pass != cpCalcRec;
}

bool TOrvoGridTotalsCalc::SelectionPresent() const
{
    const TOrvoDBGridTotals* totals = FGrid.Totals();
    return totals->SelectedRowsPresent() || totals->SelectedColsPresent();
}

bool TOrvoGridTotalsCalc::AnySelectionRow() const
{
    return !(FGrid.OptionsEx() *
             TOrvoDBGridOptionsEx{dgTotalHeaderSelected, dgTotalValuesSelected, dgTotalFooterSelected})
                .IsEmpty();
}

void TOrvoGridTotalsCalc::ForEachTotalRow(const TTotalRowAction& action) const
{
    const TOrvoDBGridColumns* columns = FGrid.Columns();
    for (int i = 0; i < columns->Count(); ++i) {
        TOrvoColumn* column = columns->Items(i);
        action(column->TotalHeader(), dgTotalHeader, dgTotalHeaderSelected);
        const TOrvoColumnTotalValues* values = column->TotalValues();
        for (int v = 0; v < values->Count(); ++v)
            action(values->Items(v), dgTotalValues, dgTotalValuesSelected);
        action(column->TotalFooter(), dgTotalFooter, dgTotalFooterSelected);
    }
}

// --- Text ------------------------------------------------------------------------------------

QString TOrvoGridTotalsCalc::GetTotalText(TOrvoColumn* column, int index, TTextKind textKind)
{
    const TOrvoColumnTotal* total = FGrid.TotalAtBottomRow(column, index + FGrid.d->FBottom.Blank);
    if (!total || !total->Visible())
        return {};
    QString text;
    if (total->TotalResult() == trTotalField) {
        // Without the totals dataset open there is no record to read, and nothing to tell.
        if (!FGrid.Totals()->DataLink()->Active())
            return {};
        text = TotalFieldText(total, index);
    } else {
        text = total->GetText();
    }
    FGrid.TotalGetText(column, index, text, textKind);
    return text;
}

QString TOrvoGridTotalsCalc::TotalFieldText(const TOrvoColumnTotal* total, int index) const
{
    TOrvoTotalDataLink* link = FGrid.Totals()->DataLink();
    const int bottomIndex = index + FGrid.d->FBottom.Blank;
    int record = 0;
    if (FGrid.BottomRowKind(bottomIndex) == brTotalFields)
        record = FGrid.BottomRowNumber(bottomIndex);
    else if (const auto* value = qobject_cast<const TOrvoColumnTotalValue*>(total))
        record = value->TotalRecNo() - 1;
    const TField* field = total->Field();
    if (!field || record < 0 || record >= link->RecordCount())
        return {};
    const int previous = link->ActiveRecord();
    link->SetActiveRecord(record);
    const auto restore = Finally([link, previous] { link->SetActiveRecord(previous); });
    return field->DisplayText();
}

} // namespace orvo
