// Applying an order text to the dataset through its registered strategy, and reading the
// dataset's order back. A change of order keeps the current record (by KeyFields) and,
// with dgAutoKeepSelection, the selection; a dataset that refuses the order gets its old
// one back and the markers show that.

#include "grid/order/torvogridorder.h"

#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvocustomdbgrid_p.h"
#include "grid/order/ordertext.h"
#include "grid/order/propertypath.h"
#include "grid/order/torvochangeorderlist.h"
#include "platform/core/exceptions.h"
#include "platform/core/texceptionhandler.h"
#include "platform/core/tscopecleanup.h"
#include "platform/data/tdataset.h"
#include "platform/data/tfield.h"
#include "platform/data/tfielddefs.h"
#include "platform/data/tfields.h"

#include <QApplication>
#include <QRegularExpression>

namespace orvo {

namespace {

QString ErrorText(const std::exception& error)
{
    if (const auto* own = dynamic_cast<const Exception*>(&error))
        return own->Message();
    return QString::fromUtf8(error.what());
}

/// The names of the dataset's data fields; its field definitions while it has no fields.
QStringList DataFieldNames(const TDataSet* dataSet)
{
    QStringList names;
    const TFields* fields = dataSet->Fields();
    for (int i = 0; i < fields->Count(); ++i)
        if (fields->Field(i)->FieldKind() == fkData)
            names << fields->Field(i)->FieldName();
    if (names.isEmpty())
        for (int i = 0; i < dataSet->FieldDefs()->Count(); ++i)
            names << dataSet->FieldDefs()->Items(i)->Name();
    return names;
}

QStringList LinesOf(const QVariant& value)
{
    if (value.metaType().id() == QMetaType::QStringList)
        return value.toStringList();
    return value.toString().split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
}

} // namespace

TDataSet* TOrvoGridOrder::LinkedDataSet() const
{
    return FGrid.DataSource() ? FGrid.DataSet() : nullptr;
}

// --- Detail fields -------------------------------------------------------------------------------

bool TOrvoGridOrder::DetailFieldsApply(const TDataSet* dataSet) const
{
    if (FGrid.DetailFields().isEmpty() || !HasPublishedProperty(dataSet, QStringLiteral("MasterFields")) ||
        ReadPublishedProperty(dataSet, QStringLiteral("MasterFields")).toString().isEmpty())
        return false;
    return PublishedObject(dataSet, QStringLiteral("MasterSource")) ||
           PublishedObject(dataSet, QStringLiteral("DataSource"));
}

QString TOrvoGridOrder::DetailFieldsOrder() const
{
    QString detail = FGrid.DetailFields();
    return detail.replace(QLatin1Char(';'), QLatin1Char(','));
}

// --- Reading the dataset's order -----------------------------------------------------------------

QString TOrvoGridOrder::GetDataSetOrder() const
{
    const TDataSet* dataSet = LinkedDataSet();
    const TChangeOrderItem* item = TChangeOrderList::Instance().FindStrategy(dataSet);
    return item ? DataSetOrder(dataSet, *item) : QString();
}

QString TOrvoGridOrder::DataSetOrder(const TDataSet* dataSet, const TChangeOrderItem& item) const
{
    const QVariant value = ReadPublishedProperty(dataSet, item.PropertyName());
    if (item.Kind != okIndexFieldNames)
        return OrderTextOfSql(GetOrderByClause(LinesOf(value)));
    QString order = IndexFieldsToOrder(value.toString(), item.IndexFormat);
    const QString detail = DetailFieldsOrder();
    // Only whole leading items are the detail fields: "CustNo" does not lead "CustNoOld".
    const bool led = order.startsWith(detail, Qt::CaseInsensitive) &&
                     (order.size() == detail.size() || order.at(detail.size()) == QLatin1Char(','));
    if (DetailFieldsApply(dataSet) && led)
        order = order.mid(detail.size() + 1);
    return order;
}

// --- Applying an order ---------------------------------------------------------------------------

bool TOrvoGridOrder::ApplyOrder(const QString& order)
{
    TDataSet* dataSet = LinkedDataSet();
    const TChangeOrderItem* found = TChangeOrderList::Instance().FindStrategy(dataSet);
    if (!found)
        return false;
    const TChangeOrderItem item = *found;
    if (FGrid.OptionsEx().Contains(dgAutoAscendOrder) &&
        FGrid.Options().Contains(dgMarkerAscendOnly) != item.AscendOnly)
        FGrid.SetOptions(item.AscendOnly ? FGrid.Options() + dgMarkerAscendOnly
                                         : FGrid.Options() - dgMarkerAscendOnly);
    if (item.Kind == okIndexFieldNames)
        ApplyIndexOrder(dataSet, item, order);
    else
        ApplyStatementOrder(dataSet, item, order);
    return true;
}

bool TOrvoGridOrder::FieldsUnknownYet(const TDataSet* dataSet, const QString& order)
{
    return !order.trimmed().isEmpty() && !dataSet->Active() && DataFieldNames(dataSet).isEmpty();
}

QString TOrvoGridOrder::OrderRefusal(const TDataSet* dataSet, const QString& order) const
{
    if (order.trimmed().isEmpty())
        return QString();
    const QStringList fields = DataFieldNames(dataSet);
    for (const QString& item : order.split(QLatin1Char(','))) {
        const QString name = TOrderTextItem::Parse(item).Name;
        if (!fields.contains(name, Qt::CaseInsensitive))
            return QStringLiteral("Cannot sort by '%1': the dataset has no data field of that name")
                .arg(item.trimmed());
    }
    return QString();
}

void TOrvoGridOrder::ApplyIndexOrder(TDataSet* dataSet, const TChangeOrderItem& item, const QString& order)
{
    QString wanted = order.isEmpty() ? FGrid.OrderFields() : order;
    if (DetailFieldsApply(dataSet))
        wanted = wanted.trimmed().isEmpty() ? DetailFieldsOrder()
                                            : DetailFieldsOrder() + QLatin1Char(',') + wanted;
    const QString property = item.PropertyName();
    const QString old = ReadPublishedProperty(dataSet, property).toString();
    if (!ShouldReorder(dataSet, item, SameOrderFields(IndexFieldsToOrder(old, item.IndexFormat), wanted),
                       wanted))
        return;
    const bool wasActive = dataSet->Active();
    Reorder(
        dataSet, false,
        [&] { WritePublishedProperty(dataSet, property, OrderToIndexFields(wanted, item.IndexFormat)); },
        [&] {
            WritePublishedProperty(dataSet, property, old);
            if (wasActive && !dataSet->Active())
                dataSet->Open();
        });
}

bool TOrvoGridOrder::ShouldReorder(TDataSet* dataSet, const TChangeOrderItem& item, bool alreadyOrdered,
                                   const QString& wanted)
{
    if (alreadyOrdered) {
        FError.clear();
        return false;
    }
    // A closed dataset that has not told its fields yet gets its order when the link opens it.
    if (FieldsUnknownYet(dataSet, wanted))
        return false;
    if (const QString refusal = OrderRefusal(dataSet, wanted); !refusal.isEmpty()) {
        Refuse(dataSet, item, refusal);
        return false;
    }
    return true;
}

void TOrvoGridOrder::ApplyStatementOrder(TDataSet* dataSet, const TChangeOrderItem& item,
                                         const QString& order)
{
    const QString property = item.PropertyName();
    const QVariant value = ReadPublishedProperty(dataSet, property);
    // A statement kept in a string list is written back as one; a command text as text.
    const bool stringList = value.metaType().id() == QMetaType::QStringList;
    if (!value.isValid() || (item.Kind == okSQL && !stringList))
        return;
    const QStringList old = LinesOf(value);
    const QString wanted = order.isEmpty() ? FGrid.OrderFields() : order;
    if (!ShouldReorder(dataSet, item, SameOrderFields(OrderTextOfSql(GetOrderByClause(old)), wanted), wanted))
        return;
    // Reopening drops what a dataset with cached updates has not written yet.
    if (dataSet->Active() && ReadPublishedProperty(dataSet, QStringLiteral("UpdatesPending")).toBool()) {
        Refuse(dataSet, item, QStringLiteral("Apply or cancel the pending updates before sorting"));
        return;
    }
    QStringList lines = old;
    SetOrderByClause(lines, SqlOrderText(wanted));
    const auto write = [&](const QStringList& text) {
        WritePublishedProperty(dataSet, property,
                               stringList ? QVariant(text) : QVariant(text.join(QLatin1Char('\n'))));
    };
    const bool wasActive = dataSet->Active();
    Reorder(
        dataSet, true, [&] { write(lines); },
        [&] {
            dataSet->Close();
            write(old);
            if (wasActive)
                dataSet->Open();
        });
}

void TOrvoGridOrder::Reorder(TDataSet* dataSet, bool reopens, const std::function<void()>& write,
                             const std::function<void()>& restore)
{
    KeepPlaceWhile(dataSet, reopens, write, restore);
    FGrid.OrderUpdated();
}

void TOrvoGridOrder::KeepPlaceWhile(TDataSet* dataSet, bool reopens, const std::function<void()>& write,
                                    const std::function<void()>& restore)
{
    // Closing or reindexing must not drop what the user typed into the current record.
    if (dataSet->Active())
        dataSet->CheckBrowseMode();
    FGrid.BeginDataUpdate();
    const auto endDataUpdate = Finally([this] { FGrid.EndDataUpdate(true); });
    const bool active = dataSet->Active();
    const QString keyFields = FGrid.KeyFields();
    const bool keyed = active && !keyFields.isEmpty();
    const TVariant keys = keyed ? dataSet->FieldValues(keyFields) : TVariant();
    const bool keepSelection = keyed && FGrid.OptionsEx().Contains(dgAutoKeepSelection);
    if (keepSelection)
        FGrid.SaveSelection(keyFields);
    if (active || !reopens)
        FGrid.ClearSelection();
    FGrid.BeginUpdate();
    {
        const auto endUpdate = Finally([this] { FGrid.EndUpdate(); });
        try {
            if (reopens && active)
                dataSet->Close();
            write();
            if (reopens && active)
                dataSet->Open();
            FError.clear();
        } catch (const std::exception& error) {
            FError = ErrorText(error);
            // Putting the old order back may fail as well (the database went away): the
            // first error is the one to tell, and nothing leaves the grid.
            TExceptionHandler::Guard([&restore] { restore(); });
            const TChangeOrderItem* item = TChangeOrderList::Instance().FindStrategy(dataSet);
            if (item)
                FGrid.AssignOrderFields(DataSetOrder(dataSet, *item));
            QApplication::beep();
        }
    }
    if (keepSelection && dataSet->Active())
        FGrid.RestoreSelection(keyFields);
    if (keyed && dataSet->Active())
        dataSet->Locate(keyFields, keys, {});
}

void TOrvoGridOrder::Refuse(const TDataSet* dataSet, const TChangeOrderItem& item, const QString& reason)
{
    FError = reason;
    FGrid.AssignOrderFields(DataSetOrder(dataSet, item));
    QApplication::beep();
}

} // namespace orvo
