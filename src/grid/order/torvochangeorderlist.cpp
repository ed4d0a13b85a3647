// The registry of ordering strategies: which dataset classes are reordered how.

#include "grid/order/torvochangeorderlist.h"

#include "grid/order/propertypath.h"
#include "platform/data/tdataset.h"

#include <QMetaObject>

namespace orvo {

namespace {

/// A class name as the registry writes it: without its namespace.
QString BareClassName(const QMetaObject* meta)
{
    const QString name = QString::fromLatin1(meta->className());
    return name.mid(name.lastIndexOf(QLatin1Char(':')) + 1);
}

bool DescendsFrom(const TDataSet* dataSet, const QString& className)
{
    for (const QMetaObject* meta = dataSet->metaObject(); meta; meta = meta->superClass())
        if (BareClassName(meta) == className)
            return true;
    return false;
}

} // namespace

QString TChangeOrderItem::PropertyName() const
{
    if (!PropName.isEmpty())
        return PropName;
    switch (Kind) {
    case okIndexFieldNames:
        return QStringLiteral("IndexFieldNames");
    case okCommandText:
        return QStringLiteral("CommandText");
    case okSQL:
        return QStringLiteral("SQL");
    }
    return QString();
}

bool TChangeOrderItem::Matches(const TDataSet* dataSet) const
{
    if (ClassPattern.startsWith(QLatin1Char('*')))
        return DescendsFrom(dataSet, ClassPattern.mid(1)) && HasPublishedProperty(dataSet, PropertyName());
    return ClassPattern == BareClassName(dataSet->metaObject());
}

TChangeOrderList::TChangeOrderList()
{
    // The in-memory dataset publishes no IndexFieldNames itself: only its descendants that
    // can reorder their source do, and only they match.
    FItems.push_back({QStringLiteral("*TOrvoDBCustomData"), okIndexFieldNames, false, {}, {}, {}});
    FItems.push_back({QStringLiteral("TSQLiteTable"), okIndexFieldNames, false, {}, {}, {}});
    FItems.push_back({QStringLiteral("TSQLiteQuery"), okSQL, false, {}, {}, {}});
    FBuiltInCount = int(FItems.size());
}

TChangeOrderList& TChangeOrderList::Instance()
{
    static TChangeOrderList list;
    return list;
}

void TChangeOrderList::Register(const TChangeOrderItem& item)
{
    FItems.push_back(item);
    FLastFound = -1;
}

const TChangeOrderItem* TChangeOrderList::FindStrategy(const TDataSet* dataSet)
{
    if (!dataSet)
        return nullptr;
    // A program's entry found last must not shadow a built-in one for another dataset.
    if (FLastFound >= 0 && FLastFound < FBuiltInCount)
        if (const TChangeOrderItem* item = Take(FLastFound, dataSet))
            return item;
    for (int index = FBuiltInCount - 1; index >= 0; --index)
        if (const TChangeOrderItem* item = Take(index, dataSet))
            return item;
    for (int index = Count() - 1; index >= FBuiltInCount; --index)
        if (const TChangeOrderItem* item = Take(index, dataSet))
            return item;
    return nullptr;
}

const TChangeOrderItem* TChangeOrderList::Take(int index, const TDataSet* dataSet)
{
    const TChangeOrderItem& item = Item(index);
    if (!item.Matches(dataSet) || (item.CanChange && !item.CanChange(dataSet, item.Kind)))
        return nullptr;
    FLastFound = index;
    return &item;
}

} // namespace orvo
