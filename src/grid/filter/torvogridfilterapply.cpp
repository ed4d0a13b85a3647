#include "grid/filter/torvogridfilterapply.h"

#include "grid/columns/torvocolumn.h"
#include "grid/dbgrid/torvocustomdbgrid_p.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "grid/filter/torvodbgridfilter.h"
#include "grid/search/torvodbgridsearch.h"
#include "platform/core/exceptions.h"
#include "platform/core/tscopecleanup.h"
#include "platform/data/tfield.h"

namespace orvo {

TOrvoGridFilterApply::TOrvoGridFilterApply(TOrvoCustomDBGrid& grid) : FGrid(grid) {}

bool TOrvoGridFilterApply::Engaged() const
{
    return FGrid.FilterGrid()->Engaged();
}

bool TOrvoGridFilterApply::ShouldEngage() const
{
    const TOrvoDBGridFilter* filter = FGrid.FilterGrid();
    return FGrid.Search()->IsFiltering() ||
           (filter->AutoUpdate() && FGrid.DataLink()->Active() && !filter->FilteredColumns().isEmpty());
}

void TOrvoGridFilterApply::ApplyFilter()
{
    if (FGrid.IsLoading() || !FGrid.DataSet())
        return;
    if (!ShouldEngage()) {
        Disengage();
        return;
    }
    TOrvoDBGridFilter* filter = FGrid.FilterGrid();
    if (!filter->Engaged()) {
        filter->SetEngaged(true);
        SaveProgramFilter(*FGrid.DataSet());
    }
    CollectCheckedValues();
    SetDataSetFilter(
        true, filter->GetDataSetFilter(), QString(),
        [this](TDataSet* dataSet, bool& accept) { FGrid.FilterRecord(dataSet, accept); }, DescribedTest());
}

void TOrvoGridFilterApply::Disengage()
{
    TOrvoDBGridFilter* filter = FGrid.FilterGrid();
    if (!filter->Engaged())
        return;
    filter->SetEngaged(false);
    FChecked.reset();
    SetDataSetFilter(SavedFiltered, SavedFilter, QString(), SavedOnFilterRecord);
}

void TOrvoGridFilterApply::SaveProgramFilter(const TDataSet& dataSet)
{
    SavedFilter = dataSet.Filter();
    SavedOnFilterRecord = dataSet.OnFilterRecord();
    SavedFiltered = dataSet.Filtered() && (!SavedFilter.isEmpty() || SavedOnFilterRecord);
}

void TOrvoGridFilterApply::CollectCheckedValues()
{
    FChecked = std::make_shared<TRecordTextTest>();
    const TDataSet* dataSet = FGrid.DataSet();
    for (const TOrvoColumn* column : FGrid.FilterGrid()->FilteredColumns()) {
        if (column->FilterList().isEmpty() || !column->Field())
            continue;
        // A lookup column's values are the keys it stores, not the texts it shows.
        const TOrvoLookupColumn lookup = column->LookupColumn();
        const bool byKey =
            lookup == lcLookupField || lookup == lcLookupResultField || lookup == lcLookupValueField;
        const TField* field = byKey ? dataSet->FindField(column->KeyField()) : column->Field();
        if (field)
            FChecked->Add(field, column->FilterList());
    }
}

std::shared_ptr<const TRecordTextTest> TOrvoGridFilterApply::DescribedTest() const
{
    if (FGrid.Search()->IsFiltering() || (SavedFiltered && SavedOnFilterRecord) ||
        !FGrid.FilterRecordIsCheckedValues())
        return nullptr;
    return FChecked;
}

void TOrvoGridFilterApply::FilterRecord(TDataSet* dataSet, bool& accept)
{
    accept = (!FChecked || FChecked->Matches()) &&
             (!FGrid.Search()->IsFiltering() || FGrid.Search()->RecordMatches());
    if (accept && Engaged() && SavedFiltered && SavedOnFilterRecord)
        SavedOnFilterRecord(dataSet, accept);
}

void TOrvoGridFilterApply::SetDataSetFilter(bool filtered, const QString& filter, const QString& keyFields,
                                            TFilterRecordEvent handler,
                                            std::shared_ptr<const TRecordTextTest> described)
{
    TDataSet* dataSet = FGrid.DataSet();
    if (!dataSet)
        return;
    if (!dataSet->Active() || FGrid.d->FDestroying) {
        InstallOnClosed(*dataSet, filtered, filter, std::move(handler), std::move(described));
        return;
    }
    const QString keys = keyFields.isEmpty() ? FGrid.KeyFields() : keyFields;
    const bool keepSelection =
        FGrid.DataLink()->Active() && !keys.isEmpty() && FGrid.OptionsEx().Contains(dgAutoKeepSelection);
    {
        FGrid.BeginBusy();
        const auto endBusy = Finally([this] { FGrid.EndBusy(); });
        const TVariant keyValues =
            keys.isEmpty() || dataSet->IsEmpty() ? TVariant() : dataSet->FieldValues(keys);
        if (keepSelection)
            FGrid.SaveSelection(keys);
        // Off first, so that the new filter is evaluated once, afresh, when it goes on.
        if (dataSet->Filtered() && filtered)
            dataSet->SetFiltered(false);
        dataSet->SetOnFilterRecord(std::move(handler), std::move(described));
        dataSet->SetFilter(filter);
        dataSet->SetFiltered(filtered);
        if (keepSelection)
            FGrid.RestoreSelection(keys);
        if (!keyValues.IsEmpty())
            GoToKey(*dataSet, keys, keyValues);
    }
    // While busy the grid let the record set change without rebuilding its totals, sequence
    // and list items; the filter left a different set of records, so they are rebuilt now.
    FGrid.DataChanged();
    if (FGrid.OnFilterUpdated)
        FGrid.OnFilterUpdated(&FGrid);
}

void TOrvoGridFilterApply::InstallOnClosed(TDataSet& dataSet, bool filtered, const QString& filter,
                                           TFilterRecordEvent handler,
                                           std::shared_ptr<const TRecordTextTest> described)
{
    const QString bookmark = dataSet.Active() ? dataSet.Bookmark() : QString();
    dataSet.SetOnFilterRecord(std::move(handler), std::move(described));
    dataSet.SetFilter(filter);
    dataSet.SetFiltered(filtered);
    if (!bookmark.isEmpty() && dataSet.BookmarkValid(bookmark))
        dataSet.GotoBookmark(bookmark);
}

void TOrvoGridFilterApply::GoToKey(TDataSet& dataSet, const QString& keyFields, const TVariant& keyValues)
{
    if (dataSet.IsEmpty())
        return;
    try {
        dataSet.Locate(keyFields, keyValues, {});
    } catch (const EDatabaseError&) {
        dataSet.First();
    }
}

} // namespace orvo
