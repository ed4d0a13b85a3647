// The three option sets and the properties that follow them, the master-grid chain
// and the pass-through of the dataset's own filter.

#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvocustomdbgrid_p.h"
#include "platform/core/tscopecleanup.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "grid/selection/torvobookmarklist.h"
#include "grid/selection/torvocolumnlist.h"
#include "grid/totals/torvodbgridtotals.h"
#include "platform/core/exceptions.h"
#include "platform/data/tdataset.h"

#include <QScrollBar>

#include <algorithm>
#include <functional>

namespace orvo {

namespace {

template <typename S> S Changed(S a, S b)
{
    return (a - b) + (b - a);
}

template <typename S> bool AnyOf(S set, S members)
{
    return !(set * members).IsEmpty();
}

} // namespace

// --- Options ------------------------------------------------------------------------------------

void TOrvoCustomDBGrid::ApplyBaseOptions(TOrvoDBGridOptions value)
{
    TGridOptions base;
    const auto follow = [&](TOrvoDBGridOption option, std::initializer_list<TGridOption> members) {
        if (value.Contains(option))
            for (TGridOption member : members)
                base.Include(member);
    };
    follow(dgColLines, {goVertLine});
    follow(dgRowLines, {goHorzLine});
    follow(dgColumnResize, {goColSizing, goColMoving});
    follow(dgRowResize, {goRowSizing});
    follow(dgTabs, {goTabs});
    follow(dgRowSelect, {goRowSelect});
    follow(dgEditing, {goEditing});
    follow(dgAlwaysShowEditor, {goAlwaysShowEditor});
    follow(dgThumbTracking, {goThumbTracking});
    TCustomGrid::SetOptions(base);
}

void TOrvoCustomDBGrid::SetOptions(TOrvoDBGridOptions value)
{
    if (value.Contains(dgRowSelect))
        value = value - TOrvoDBGridOptions{dgEditing, dgAlwaysShowEditor};
    if (value == d->FOptions)
        return;
    ApplyBaseOptions(value);
    const bool multiSelectOff = d->FOptions.Contains(dgMultiSelect) && !value.Contains(dgMultiSelect);
    const bool rowSelectOn = !d->FOptions.Contains(dgRowSelect) && value.Contains(dgRowSelect);
    if (multiSelectOff || (rowSelectOn && d->FSelection->ColumnKindCurrent()))
        ClearSelection();
    const TOrvoDBGridOptions changed = Changed(value, d->FOptions);
    d->FOptions = value;
    if (changed.Contains(dgRowSelect))
        d->FSelection->OptionsChanged();

    if (changed.Contains(dgForceSequence))
        UpdateSequence(false);
    if (AnyOf(changed, {dgMarkerAutoSwitch, dgMarkerAutoToggle, dgMarkerAscendOnly}))
        d->FColumns->RefreshMarkers();
    if (AnyOf(changed, {dgEditing, dgAlwaysShowEditor, dgTitles, dgIndicator, dgColLines, dgRowLines,
                        dgRowSelect, dgAlwaysShowSelection, dgMultiSelect, dgInternalSelect, dgTitleHeaders,
                        dgTitleWidthOff, dgIndicatorMarkOff, dgMarkerAutoAlign, dgForceSequence}))
        LayoutChanged();
    if (AnyOf(changed, {dgTitles, dgIndicator, dgColLines, dgRowLines, dgTitleHeaders, dgTitleWidthOff}))
        RefreshEditor();
    if (changed.Contains(dgColLines) || changed.Contains(dgRowLines))
        ApplyCtl3DRule(FixedCellsRefreshFrame());
}

void TOrvoCustomDBGrid::SetOptionsEx(TOrvoDBGridOptionsEx value)
{
    if (value.Contains(dgSelectedAutoHidden)) {
        const bool selectedShown = d->FTotals->SelectedRowsPresent() || d->FTotals->SelectedColsPresent();
        const std::pair<TOrvoDBGridOptionEx, TOrvoDBGridOptionEx> pairs[] = {
            {dgTotalHeaderSelected, dgTotalHeader},
            {dgTotalValuesSelected, dgTotalValues},
            {dgTotalFooterSelected, dgTotalFooter}};
        for (const auto& [selected, row] : pairs) {
            if (!value.Contains(selected))
                continue;
            if (selectedShown)
                value.Include(row);
            else
                value.Exclude(row);
        }
    }
    if (value == d->FOptionsEx)
        return;
    if (AnyOf(value, {dgTotalHeader, dgTotalValues, dgTotalFields, dgTotalFooter}))
        value.Include(dgBlankRow);
    if (AnyOf(value, {dgTotalHeaderSelected, dgTotalValuesSelected, dgTotalFooterSelected}))
        value.Exclude(dgCalcSelectedRows);
    const TOrvoDBGridOptionsEx changed = Changed(value, d->FOptionsEx);
    const TOrvoDBGridOptionsEx added = value - d->FOptionsEx;
    d->FOptionsEx = value;

    if (AnyOf(changed, {dgLoadCurrentOrder, dgAutoUpdateOrder, dgAutoAscendOrder}))
        UpdateOrder(true);
    if (changed.Contains(dgAutoUpdateSequence))
        UpdateSequence(true);
    if (AnyOf(added, {dgTotalHeader, dgTotalValues, dgTotalFooter, dgCalcInvisibleRows}) ||
        AnyOf(changed, {dgAutoUpdateTotals, dgCalcWholeDataSet, dgCalcSelectedRows, dgTotalHeaderSelected,
                        dgTotalValuesSelected, dgTotalFooterSelected}))
        UpdateTotals(true);
    const TOrvoDBGridOptionsEx layoutMembers{dgBlankRow,       dgTotalHeader,     dgTotalValues,
                                             dgTotalFields,    dgTotalFooter,     dgTotalColLines,
                                             dgTotalHeaderBox, dgTotalValuesBox,  dgTotalFieldsBox,
                                             dgTotalFooterBox, dgTotalDataBoxOnly};
    if (AnyOf(changed, layoutMembers))
        LayoutChanged();
    if (AnyOf(changed, {dgBlankRow, dgTotalHeader, dgTotalValues, dgTotalFields, dgTotalFooter}))
        RefreshEditor();
}

void TOrvoCustomDBGrid::SetOptionsExt(TOrvoDBGridOptionsExt value)
{
    if (value == d->FOptionsExt)
        return;
    const TOrvoDBGridOptionsExt changed = Changed(value, d->FOptionsExt);
    d->FOptionsExt = value;
    if (changed.Contains(dgAutoUpdateListItems))
        UpdateListItems();
    if (AnyOf(changed, {dgAutoNumberColumn, dgAutoSelectColumn, dgAutoExpandColumn, dgForceSystemTheme,
                        dgForceSystemButton, dgForceSystemMarker}))
        LayoutChanged();
    if (AnyOf(changed, {dgScrollGridMode, dgScrollPageMode}))
        UpdateScrollBar();
}

void TOrvoCustomDBGrid::SetResizeOptions(TOrvoResizeOptions value)
{
    if (!value.Contains(roColumnResize))
        value = value - TOrvoResizeOptions{roOptimalWidth, roDefaultWidth};
    d->FResizeOptions = value;
}

void TOrvoCustomDBGrid::SetMultiSelectOptions(TMultiSelectOptions value)
{
    if (value == d->FMultiSelectOptions)
        return;
    ClearSelection();
    FlushUpdates();
    d->FMultiSelectOptions = value;
    d->FSelection->OptionsChanged();
    InvalidateGrid();
}

// --- Master grids -----------------------------------------------------------------------------

void TOrvoCustomDBGrid::SetMasterGrid(TOrvoCustomDBGrid* value)
{
    if (value == d->FChain->Master())
        return;
    // While loading, the rest of the chain may not be read yet: Loaded checks it.
    d->FChain->SetMaster(value, !d->FLoading);
    if (!value)
        return;
    SetStretchMode(false);
    if (d->FColumns->State() == csDefault && d->FColumns->Count() > 0)
        d->FColumns->SetState(csCustomized);
    if (!d->FLoading)
        value->SynchronizeNextGrids();
}

void TOrvoCustomDBGrid::SynchronizeNextGrids()
{
    d->FChain->SynchronizeNext();
}

void TOrvoCustomDBGrid::SynchronizeFrom(const TOrvoCustomDBGrid& source)
{
    {
        BeginLayout();
        const auto endLayout = Finally([this] { EndLayout(); });
        const int count = std::min(d->FColumns->Count(), source.d->FColumns->Count());
        for (int i = 0; i < count; ++i) {
            TOrvoColumn* target = d->FColumns->Items(i);
            const TOrvoColumn* from = source.d->FColumns->Items(i);
            if (target->HasSubColumns() && from->HasSubColumns())
                target->SetExpanded(from->Expanded());
            target->SetVisible(from->Visible());
            // The width on screen (stretched or not); a hidden column has none to copy.
            if (from->IsShown())
                target->SetWidth(source.ShownColumnWidth(i));
        }
        SetIndicatorWidth(source.d->FIndicatorWidth);
        SetFixedCols(source.d->FFixedColsProperty);
        SetBiDiMode(source.BiDiMode());
    }
    SetLeftCol(std::max(TCustomGrid::FixedCols(), std::min(source.LeftCol(), ColCount() - 1)));
}

// --- Filter pass-through --------------------------------------------------------------------------

// While the grid's filter is on the dataset (and while there is no dataset to hold
// them), the program's own filter, flag and handler live in the filter part.
bool TOrvoCustomDBGrid::ProgramFilterIsSaved() const
{
    return d->FFilterApply->Engaged() || d->FLoading || !DataSet();
}

QString TOrvoCustomDBGrid::Filter() const
{
    return ProgramFilterIsSaved() ? d->FFilterApply->SavedFilter : DataSet()->Filter();
}

bool TOrvoCustomDBGrid::Filtered() const
{
    return ProgramFilterIsSaved() ? d->FFilterApply->SavedFiltered : DataSet()->Filtered();
}

TOrvoCustomDBGrid::TFilterRecordEvent TOrvoCustomDBGrid::OnFilterRecord() const
{
    return ProgramFilterIsSaved() ? d->FFilterApply->SavedOnFilterRecord : DataSet()->OnFilterRecord();
}

void TOrvoCustomDBGrid::SetFilter(const QString& value)
{
    SetProgramFilter(Filtered(), value, OnFilterRecord());
}

void TOrvoCustomDBGrid::SetFiltered(bool value)
{
    SetProgramFilter(value, Filter(), OnFilterRecord());
}

void TOrvoCustomDBGrid::SetOnFilterRecord(TFilterRecordEvent value)
{
    SetProgramFilter(Filtered(), Filter(), std::move(value));
}

void TOrvoCustomDBGrid::SetProgramFilter(bool filtered, const QString& filter, TFilterRecordEvent handler)
{
    TOrvoGridFilterApply& apply = *d->FFilterApply;
    apply.SavedFilter = filter;
    apply.SavedFiltered = filtered;
    apply.SavedOnFilterRecord = std::move(handler);
    if (d->FLoading || !DataSet())
        return;
    // Engaged, the combination is installed again with the program's new part.
    if (apply.Engaged())
        ApplyFilter();
    else
        SetDataSetFilter(filtered, filter, QString(), apply.SavedOnFilterRecord);
}

void TOrvoCustomDBGrid::ApplyFilter()
{
    if (!d->FLoading)
        d->FFilterApply->ApplyFilter();
}

void TOrvoCustomDBGrid::FilterRecord(TDataSet* dataSet, bool& accept)
{
    d->FFilterApply->FilterRecord(dataSet, accept);
}

bool TOrvoCustomDBGrid::FilterRecordIsCheckedValues() const
{
    return true;
}

void TOrvoCustomDBGrid::SetDataSetFilter(bool filtered, const QString& filter, const QString& keyFields,
                                         TFilterRecordEvent handler)
{
    d->FFilterApply->SetDataSetFilter(filtered, filter, keyFields, std::move(handler));
}

void TOrvoCustomDBGrid::RestoreDataSetFilter()
{
    d->FFilterApply->Disengage();
}

} // namespace orvo
