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

QString TOrvoCustomDBGrid::Filter() const
{
    if (d->FAutoFilterApplied || d->FLoading || !DataSet())
        return d->FSavedFilter;
    return DataSet()->Filter();
}

bool TOrvoCustomDBGrid::Filtered() const
{
    if (d->FAutoFilterApplied || d->FLoading || !DataSet())
        return d->FSavedFiltered;
    return DataSet()->Filtered();
}

TOrvoCustomDBGrid::TFilterRecordEvent TOrvoCustomDBGrid::OnFilterRecord() const
{
    if (d->FAutoFilterApplied || d->FLoading || !DataSet())
        return d->FSavedOnFilterRecord;
    return DataSet()->OnFilterRecord();
}

void TOrvoCustomDBGrid::SetFilter(const QString& value)
{
    d->FSavedFilter = value;
    if (!d->FLoading && DataSet())
        ApplyFilter(Filtered(), value, QString(), OnFilterRecord());
}

void TOrvoCustomDBGrid::SetFiltered(bool value)
{
    d->FSavedFiltered = value;
    if (!d->FLoading && DataSet())
        ApplyFilter(value, Filter(), QString(), OnFilterRecord());
}

void TOrvoCustomDBGrid::SetOnFilterRecord(TFilterRecordEvent value)
{
    d->FSavedOnFilterRecord = value;
    if (!d->FLoading && DataSet())
        ApplyFilter(Filtered(), Filter(), QString(), std::move(value));
}

void TOrvoCustomDBGrid::ApplyFilter(bool filtered, const QString& filter, const QString& autoFilter,
                                    TFilterRecordEvent onFilterRecord)
{
    TDataSet* dataSet = DataSet();
    if (!dataSet)
        return;
    // The auto-filter joins the host's own filter; both must hold for a record to show.
    QString combined = filter;
    if (!autoFilter.isEmpty())
        combined = filter.trimmed().isEmpty() || !filtered
                       ? autoFilter
                       : QStringLiteral("(%1) AND (%2)").arg(filter, autoFilter);
    d->FAutoFilterApplied = !autoFilter.isEmpty();
    if (d->FAutoFilterApplied) {
        d->FSavedFilter = filter;
        d->FSavedFiltered = filtered;
        d->FSavedOnFilterRecord = onFilterRecord;
    }
    // With dgAutoKeepSelection the same records, found again by their keys, stay selected.
    const bool keepSelection = dataSet->Active() && d->FDataLink->Active() && !d->FKeyFields.isEmpty() &&
                               d->FOptionsEx.Contains(dgAutoKeepSelection);
    if (keepSelection)
        SaveSelection(d->FKeyFields);
    {
        BeginBusy();
        const auto endBusy = Finally([this] { EndBusy(); });
        dataSet->SetFilter(combined);
        dataSet->SetOnFilterRecord(std::move(onFilterRecord));
        dataSet->SetFiltered(filtered || d->FAutoFilterApplied);
    }
    if (keepSelection)
        RestoreSelection(d->FKeyFields);
}

void TOrvoCustomDBGrid::RestoreDataSetFilter()
{
    if (d->FAutoFilterApplied && DataSet())
        ApplyFilter(d->FSavedFiltered, d->FSavedFilter, QString(), d->FSavedOnFilterRecord);
    d->FAutoFilterApplied = false;
}

} // namespace orvo
