#pragma once

#include "platform/data/tdataset.h"
#include "platform/data/trecordtexttest.h"

#include <QString>

#include <memory>

namespace orvo {

class TOrvoCustomDBGrid;

/// The grid's part that puts its column filters on the dataset. While the filter is
/// engaged the dataset carries the grid's combined expression and the grid's record
/// test, and the program's own filter, flag and record handler are kept aside (the
/// grid's Filter, Filtered and OnFilterRecord read and write that copy); disengaging
/// gives them back to the dataset. The checked values of the columns are never written
/// into the expression: the record test checks them, and it goes to the dataset described
/// (TRecordTextTest), so that a source which can select the same records itself does so
/// instead of testing each one. It goes undescribed whenever the grid's record test checks
/// more than the values: the program's own record handler, the search filter, or a
/// descendant whose FilterRecordIsCheckedValues() answers false.
class TOrvoGridFilterApply
{
public:
    explicit TOrvoGridFilterApply(TOrvoCustomDBGrid& grid);

    bool Engaged() const;
    /// Engages, re-engages or disengages the filter as the grid's state asks.
    void ApplyFilter();
    /// Gives the dataset its own filter back, if the grid's is on it.
    void Disengage();
    /// The record test installed on the dataset.
    void FilterRecord(TDataSet* dataSet, bool& accept);
    /// Installs a filter, keeping the current record (by `keyFields`, else the grid's
    /// KeyFields) and, with dgAutoKeepSelection, the selection.
    void SetDataSetFilter(bool filtered, const QString& filter, const QString& keyFields,
                          TFilterRecordEvent handler, std::shared_ptr<const TRecordTextTest> described = {});

    /// The program's own filter, flag and handler while the grid's filter is on the
    /// dataset (or while there is no dataset to hold them).
    QString SavedFilter;
    bool SavedFiltered = false;
    TFilterRecordEvent SavedOnFilterRecord;

private:
    bool ShouldEngage() const;
    void SaveProgramFilter(const TDataSet& dataSet);
    void CollectCheckedValues();
    /// The checked values when they are all the record test checks; nullptr otherwise.
    std::shared_ptr<const TRecordTextTest> DescribedTest() const;
    void InstallOnClosed(TDataSet& dataSet, bool filtered, const QString& filter, TFilterRecordEvent handler,
                         std::shared_ptr<const TRecordTextTest> described);
    void GoToKey(TDataSet& dataSet, const QString& keyFields, const TVariant& keyValues);

    TOrvoCustomDBGrid& FGrid;
    // Its fields are found once per install, not once per record tested.
    std::shared_ptr<TRecordTextTest> FChecked;
};

} // namespace orvo
