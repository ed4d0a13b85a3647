#include "platform/core/tcollection.h"

#include "platform/core/exceptions.h"
#include "platform/core/tscopecleanup.h"

#include <algorithm>
#include <utility>

namespace orvo {

// --- TCollectionItem --------------------------------------------------------------------------

TCollectionItem::TCollectionItem(TCollection* collection)
{
    SetCollection(collection);
}

TCollectionItem::~TCollectionItem()
{
    if (FCollection)
        FCollection->RemoveItem(this, TCollection::cnDeleting);
}

void TCollectionItem::SetCollection(TCollection* collection)
{
    if (collection == FCollection)
        return;
    if (FCollection)
        FCollection->RemoveItem(this, TCollection::cnExtracting);
    if (collection)
        collection->InsertItem(this, collection->Count());
}

int TCollectionItem::Index() const
{
    return FCollection ? int(FCollection->FItems.indexOf(this)) : -1;
}

void TCollectionItem::SetIndex(int value)
{
    if (FCollection)
        FCollection->MoveItem(this, value);
}

QString TCollectionItem::DisplayName() const
{
    const QString className = QString::fromLatin1(metaObject()->className());
    return className.mid(className.lastIndexOf(QLatin1Char(':')) + 1);
}

void TCollectionItem::Changed(bool allItems)
{
    if (FCollection && FCollection->UpdateCount() == 0)
        FCollection->Update(allItems ? nullptr : this);
}

// --- TCollection ------------------------------------------------------------------------------

TCollection::TCollection(QObject* owner) : TPersistent(owner) {}

TCollection::~TCollection()
{
    // Items are destroyed quietly: a descendant's Notify and Update are gone by now.
    FDestroying = true;
    const QList<TCollectionItem*> items = std::exchange(FItems, {});
    for (TCollectionItem* item : items) {
        item->FCollection = nullptr;
        delete item;
    }
}

TCollectionItem* TCollection::Items(int index) const
{
    CheckIndex(index);
    return FItems[index];
}

TCollectionItem* TCollection::Add()
{
    return Insert(Count());
}

TCollectionItem* TCollection::Insert(int index)
{
    TCollectionItem* item = CreateItem();
    InsertItem(item, std::clamp(index, 0, Count()));
    return item;
}

void TCollection::Delete(int index)
{
    CheckIndex(index);
    // Notified while the item is still whole, so that Notify may read it.
    TCollectionItem* item = FItems[index];
    RemoveItem(item, cnDeleting);
    delete item;
}

void TCollection::Clear()
{
    if (FItems.isEmpty())
        return;
    BeginUpdate();
    const auto endUpdate = Finally([this] { EndUpdate(); });
    while (!FItems.isEmpty())
        Delete(Count() - 1);
}

TCollectionItem* TCollection::FindItemID(int id) const
{
    const auto found =
        std::find_if(FItems.begin(), FItems.end(), [id](auto* item) { return item->FID == id; });
    return found == FItems.end() ? nullptr : *found;
}

void TCollection::BeginUpdate()
{
    ++FUpdateCount;
}

void TCollection::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        Changed();
}

void TCollection::Assign(const TPersistent* source)
{
    const auto* other = qobject_cast<const TCollection*>(source);
    if (!other)
        AssignError(source);
    if (other == this)
        return;
    BeginUpdate();
    const auto endUpdate = Finally([this] { EndUpdate(); });
    Clear();
    for (const TCollectionItem* item : other->FItems)
        Add()->Assign(item);
}

TCollectionItem* TCollection::CreateItem()
{
    return new TCollectionItem();
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}

void TCollection::Changed()
{
    if (FUpdateCount == 0)
        Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* item, int index)
{
    FItems.insert(index, item);
    item->FCollection = this;
    item->FID = FNextID++;
    Notify(item, cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* item, TCollectionNotification action)
{
    if (FDestroying)
        return;
    Notify(item, action);
    FItems.removeOne(item);
    item->FCollection = nullptr;
    Changed();
}

void TCollection::MoveItem(TCollectionItem* item, int index)
{
    const int from = int(FItems.indexOf(item));
    const int to = std::clamp(index, 0, Count() - 1);
    if (from < 0 || from == to)
        return;
    FItems.move(from, to);
    item->Changed(true);
}

void TCollection::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
}

} // namespace orvo
