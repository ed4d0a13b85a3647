#include "grid/totals/torvototaldatalink.h"

#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/totals/torvodbgridtotals.h"
#include "platform/data/tdataset.h"
#include "platform/graphics/tcustomimagelist.h"

#include <QMenu>

namespace orvo {

TOrvoTotalDataLink::TOrvoTotalDataLink(TOrvoDBGridTotals* totals) : FTotals(totals) {}

int TOrvoTotalDataLink::WantedBufferCount() const
{
    const TDataSet* dataSet = Active() ? DataSet() : nullptr;
    const int records = dataSet ? dataSet->RecordCount() : 0;
    const int maxRow = FTotals->DataMaxRow();
    return maxRow > 0 ? qMin(maxRow, records) : records;
}

bool TOrvoTotalDataLink::UpdateBufferCount()
{
    const int before = BufferCount();
    SetBufferCount(WantedBufferCount());
    return BufferCount() != before;
}

void TOrvoTotalDataLink::ActiveChanged()
{
    if (Active())
        TOrvoDBGridTotals::CheckBidirectional(DataSet());
    UpdateBufferCount();
    if (TOrvoCustomDBGrid* grid = ReportingGrid())
        grid->TotalsChanged(tcTotalsLayout);
}

void TOrvoTotalDataLink::DataSetChanged()
{
    TOrvoCustomDBGrid* grid = ReportingGrid();
    // The grid's own sequence recounts, list rebuilds and totals walks move
    // datasets; they refresh what they show when they end.
    if (grid && grid->IsBusy())
        return;
    UpdateBufferCount();
    if (grid)
        grid->TotalsChanged(tcTotalsLayout);
}

void TOrvoTotalDataLink::DataSetScrolled(int) {}

void TOrvoTotalDataLink::RecordChanged(TField* field)
{
    UpdateBufferCount();
    if (TOrvoCustomDBGrid* grid = ReportingGrid())
        grid->TotalsChanged(tcTotalsRecord, field);
}

void TOrvoTotalDataLink::FieldRemoving(TField* field)
{
    TDataLink::FieldRemoving(field);
    if (TOrvoCustomDBGrid* grid = ReportingGrid())
        grid->FieldRemoving(field);
}

TOrvoCustomDBGrid* TOrvoTotalDataLink::ReportingGrid() const
{
    // A grid on its way out frees its totals, which closes this link: nothing to show then.
    TOrvoCustomDBGrid* grid = FTotals->Grid();
    return grid && !grid->IsDestroying() ? grid : nullptr;
}

} // namespace orvo
