// The order bracket around marker changes, the order options' hooks, the steps of a
// link that opens, and the data-update bracket that keeps the current record on its row
// while the dataset moves.

#include "grid/order/torvogridorder.h"

#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvocustomdbgrid_p.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "platform/data/tdataset.h"

#include <QScopeGuard>

namespace orvo {

TOrvoGridOrder::TOrvoGridOrder(TOrvoCustomDBGrid& grid) : FGrid(grid) {}

// --- The order bracket ------------------------------------------------------------------------------

void TOrvoGridOrder::BeginOrderUpdate()
{
    auto& d = *FGrid.d;
    if (++d.FOrderUpdateCount != 1)
        return;
    FGrid.BeginUpdate();
    d.FOrderSnapshot = FGrid.OrderFields();
}

void TOrvoGridOrder::EndOrderUpdate()
{
    auto& d = *FGrid.d;
    if (d.FOrderUpdateCount == 0 || --d.FOrderUpdateCount > 0)
        return;
    FGrid.EndUpdate();
    const QString order = FGrid.OrderFields();
    if (order == d.FOrderSnapshot)
        return;
    d.FOrderFields = order;
    if (d.FLoading)
        return;
    if (d.FDataLink->Active())
        FGrid.DataSet()->CheckBrowseMode();
    for (int row = 0; row < d.FTitleOffset; ++row)
        FGrid.InvalidateRow(row);
    FGrid.OrderChanged();
}

void TOrvoGridOrder::OrderChanged()
{
    if (FGrid.d->FOptionsEx.Contains(dgAutoUpdateOrder) && FGrid.ApplyOrder(QString()))
        return;
    if (FGrid.OnOrderChanged)
        FGrid.OnOrderChanged(&FGrid);
}

void TOrvoGridOrder::AssignOrderFields(const QString& value)
{
    // Counted without the bracket's work, so that the change fires nothing.
    auto& d = *FGrid.d;
    ++d.FOrderUpdateCount;
    const auto done = qScopeGuard([&d] { --d.FOrderUpdateCount; });
    FGrid.SetOrderFields(value);
}

QString TOrvoGridOrder::StoredOrderText() const
{
    return FGrid.d->FOrderFields;
}

// --- Reading and applying the dataset's order ----------------------------------------------------------

void TOrvoGridOrder::LoadCurrentOrder()
{
    AssignOrderFields(FGrid.GetDataSetOrder());
}

void TOrvoGridOrder::UpdateOrder(bool autoUpdate)
{
    const auto& d = *FGrid.d;
    if (d.FLoading)
        return;
    if (!autoUpdate)
        FGrid.ApplyOrder(QString());
    else if (d.FOptionsEx.Contains(dgLoadCurrentOrder))
        LoadCurrentOrder();
    else if (d.FOptionsEx.Contains(dgAutoUpdateOrder))
        FGrid.ApplyOrder(QString());
}

void TOrvoGridOrder::ActivateOrder()
{
    const auto& d = *FGrid.d;
    if (d.FOptionsEx.Contains(dgLoadCurrentOrder)) {
        LoadCurrentOrder();
        return;
    }
    // Default columns were just made from the fields: the stored text becomes their markers,
    // before a query reopened for the order takes those fields away from them for a while.
    const QString stored = d.FOrderFields;
    if (d.FColumns->State() == csDefault)
        AssignOrderFields(stored);
    if (d.FOptionsEx.Contains(dgAutoUpdateOrder))
        FGrid.ApplyOrder(stored);
}

// --- The data-update bracket -------------------------------------------------------------------------------

void TOrvoGridOrder::BeginDataUpdate()
{
    auto& d = *FGrid.d;
    if (d.FDataUpdateCount++ > 0)
        return;
    TDataSet* dataSet = FGrid.DataSet();
    if (!d.FDataLink->Active() || !dataSet)
        return;
    d.FDataUpdateBookmark = dataSet->Bookmark();
    d.FDataUpdateRow = d.FDataLink->ActiveRecord();
    dataSet->DisableControls();
    d.FDataUpdateDataSet = dataSet;
}

void TOrvoGridOrder::EndDataUpdate(bool takeNewPosition)
{
    auto& d = *FGrid.d;
    if (d.FDataUpdateCount == 0 || --d.FDataUpdateCount > 0)
        return;
    // The controls go back on for the dataset that had them switched off, even when the
    // link has left it in between.
    auto* disabled = qobject_cast<TDataSet*>(d.FDataUpdateDataSet.data());
    d.FDataUpdateDataSet.clear();
    if (!disabled)
        return;
    const bool following = d.FDataLink->Active() && disabled == FGrid.DataSet();
    {
        const auto enable = qScopeGuard([disabled] { disabled->EnableControls(); });
        if (following && !takeNewPosition && disabled->BookmarkValid(d.FDataUpdateBookmark))
            disabled->GotoBookmark(d.FDataUpdateBookmark);
    }
    // The window follows the dataset again only with its controls on.
    if (following)
        FGrid.ShowCurrentRecordAtRow(d.FDataUpdateRow);
    if (d.FOrderFields != FGrid.OrderFields())
        AssignOrderFields(d.FOrderFields);
}

} // namespace orvo
