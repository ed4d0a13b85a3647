#pragma once

#include "platform/data/tdatalink.h"

namespace orvo {

class TOrvoCustomDBGrid;
class TOrvoDBGridTotals;

/// The link from the grid's totals to the totals dataset: it buffers as many of
/// that dataset's records as the totals show (DataMaxRow, or all of them) and tells
/// the grid when the total rows must be laid out or repainted again.
class TOrvoTotalDataLink : public TDataLink
{
public:
    explicit TOrvoTotalDataLink(TOrvoDBGridTotals* totals);

    TOrvoDBGridTotals* Totals() const { return FTotals; }
    /// min(DataMaxRow, record count) when DataMaxRow > 0, else the record count.
    int WantedBufferCount() const;
    /// Brings the buffer count in line with DataMaxRow and the dataset; true when it changed.
    bool UpdateBufferCount();

protected:
    void ActiveChanged() override;
    void DataSetChanged() override;
    void DataSetScrolled(int distance) override;
    void RecordChanged(TField* field) override;
    /// A field of the totals dataset is going: the grid's totals let go of it.
    void FieldRemoving(TField* field) override;

private:
    TOrvoCustomDBGrid* ReportingGrid() const;

    TOrvoDBGridTotals* FTotals;
};

} // namespace orvo
