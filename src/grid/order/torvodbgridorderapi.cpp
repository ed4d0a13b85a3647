// The grid's sort-order operations: each hands its work to the part that keeps the order.

#include "grid/order/torvodbgridorderapi.h"

#include "grid/order/torvogridorder.h"

namespace orvo {

void TOrvoDBGridOrderApi::BeginOrderUpdate()
{
    OrderPart().BeginOrderUpdate();
}

void TOrvoDBGridOrderApi::EndOrderUpdate()
{
    OrderPart().EndOrderUpdate();
}

void TOrvoDBGridOrderApi::AssignOrderFields(const QString& value)
{
    OrderPart().AssignOrderFields(value);
}

void TOrvoDBGridOrderApi::LoadCurrentOrder()
{
    OrderPart().LoadCurrentOrder();
}

void TOrvoDBGridOrderApi::UpdateOrder(bool autoUpdate)
{
    OrderPart().UpdateOrder(autoUpdate);
}

void TOrvoDBGridOrderApi::ActivateOrder()
{
    OrderPart().ActivateOrder();
}

void TOrvoDBGridOrderApi::BeginDataUpdate()
{
    OrderPart().BeginDataUpdate();
}

void TOrvoDBGridOrderApi::EndDataUpdate(bool takeNewPosition)
{
    OrderPart().EndDataUpdate(takeNewPosition);
}

void TOrvoDBGridOrderApi::OrderChanged()
{
    OrderPart().OrderChanged();
}

bool TOrvoDBGridOrderApi::ApplyOrder(const QString& orderFields)
{
    return OrderPart().ApplyOrder(orderFields);
}

QString TOrvoDBGridOrderApi::GetDataSetOrder()
{
    return OrderPart().GetDataSetOrder();
}

QString TOrvoDBGridOrderApi::StoredOrderText() const
{
    return OrderPart().StoredOrderText();
}

QString TOrvoDBGridOrderApi::OrderError() const
{
    return OrderPart().OrderError();
}

} // namespace orvo
