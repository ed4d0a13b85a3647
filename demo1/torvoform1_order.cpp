// Sorting the customers: the grid's markers name calculated and lookup columns, which the
// query cannot sort by, so the form turns them into the stored fields they show before
// handing the order to the grid's ApplyOrder.

#include "torvoform1.h"

#include "controls/torvopanel.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "grid/order/ordertext.h"

namespace orvo {

QString TOrvoForm1::DataSetOrderFor(const QString& gridOrder)
{
    QStringList items;
    for (const QString& item : gridOrder.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const TOrderTextItem parsed = TOrderTextItem::Parse(item);
        const QString direction = parsed.Descending ? QStringLiteral(" DESC") : QString();
        const QString& name = parsed.Name;
        if (name.compare(QLatin1String("CompanyLookup"), Qt::CaseInsensitive) == 0)
            items << QStringLiteral("Company") + direction;
        else if (name.compare(QLatin1String("CompanyLocation"), Qt::CaseInsensitive) == 0)
            items << QStringLiteral("Country") + direction << QStringLiteral("State") + direction;
        else if (name.compare(QLatin1String("PostalAddress"), Qt::CaseInsensitive) == 0)
            items << QStringLiteral("City") + direction;
        else if (name.compare(QLatin1String("ContactPerson"), Qt::CaseInsensitive) == 0)
            items << QStringLiteral("Phone") + direction;
        else
            items << item.trimmed();
    }
    return items.join(QLatin1Char(','));
}

void TOrvoForm1::ConnectOrderEvents()
{
    FGrid->OnOrderChanged = [this](QObject*) { FGrid->ApplyOrder(DataSetOrderFor(FGrid->OrderFields())); };
    FGrid->OnOrderUpdated = [this](QObject*) {
        FActionInfoPanel->SetCaption(QStringLiteral("OrderUpdated: %1").arg(FGrid->OrderFields()));
    };
}

} // namespace orvo
