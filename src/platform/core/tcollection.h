#pragma once

#include "platform/core/tpersistent.h"

#include <QList>
#include <QString>

namespace orvo {

class TCollection;

/// One item of a TCollection: it knows its collection and its position there, and
/// carries a number (ID) that stays the same while items are added, moved or removed,
/// so that references survive reordering. Destroying an item takes it out of its
/// collection.
class TCollectionItem : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(int Index READ Index WRITE SetIndex STORED false)

public:
    /// Creates the item and, with a collection given, appends it there.
    explicit TCollectionItem(TCollection* collection = nullptr);
    ~TCollectionItem() override;

    TCollection* Collection() const { return FCollection; }
    /// Moves the item to another collection (nullptr takes it out of its own).
    void SetCollection(TCollection* collection);
    /// Position in the collection; -1 without one.
    int Index() const;
    /// Moves the item to `value`, clamped to the collection's range.
    virtual void SetIndex(int value);
    int ID() const { return FID; }
    /// The text collection editors list the item by; the class name unless overridden.
    virtual QString DisplayName() const;

protected:
    /// Reports a change to the collection: only this item's look, or (allItems) something
    /// every item depends on. Nothing happens inside the collection's update bracket.
    void Changed(bool allItems);

private:
    friend class TCollection;

    TCollection* FCollection = nullptr;
    int FID = 0;
};

/// An owned, ordered list of items of one class, as the grid's columns and the
/// total rows are kept: items are made by CreateItem so that a descendant decides
/// their class, changes are reported through Update (bundled by BeginUpdate and
/// EndUpdate), and Notify lets a descendant follow additions and removals.
class TCollection : public TPersistent
{
    Q_OBJECT

public:
    enum TCollectionNotification
    {
        cnAdded,
        cnExtracting,
        cnDeleting
    };
    Q_ENUM(TCollectionNotification)

    explicit TCollection(QObject* owner = nullptr);
    ~TCollection() override;

    int Count() const { return int(FItems.size()); }
    /// The item at `index`; raises EListError outside [0, Count).
    TCollectionItem* Items(int index) const;
    TCollectionItem* Add();
    /// Creates an item at `index` (clamped to [0, Count]).
    TCollectionItem* Insert(int index);
    /// Destroys the item at `index`; raises EListError outside [0, Count).
    void Delete(int index);
    void Clear();
    /// The item with this ID, or nullptr.
    TCollectionItem* FindItemID(int id) const;

    /// Bundles changes: Update runs once, for the whole collection, at the outermost
    /// EndUpdate.
    virtual void BeginUpdate();
    virtual void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    /// Clears this collection and copies the items of another collection one by one;
    /// raises EConvertError for a source that is not a collection.
    void Assign(const TPersistent* source) override;

protected:
    /// Makes one item of the class this collection holds, not yet added.
    virtual TCollectionItem* CreateItem();
    /// Called when `item` changed (nullptr: the whole collection), outside updates.
    virtual void Update(TCollectionItem* item);
    /// Called after an item was added, and before one is taken out or destroyed.
    virtual void Notify(TCollectionItem* item, TCollectionNotification action);
    /// Reports a change of the whole collection unless inside an update bracket.
    void Changed();

private:
    friend class TCollectionItem;

    void InsertItem(TCollectionItem* item, int index);
    void RemoveItem(TCollectionItem* item, TCollectionNotification action);
    void MoveItem(TCollectionItem* item, int index);
    void CheckIndex(int index) const;

    QList<TCollectionItem*> FItems;
    int FUpdateCount = 0;
    int FNextID = 0;
    bool FDestroying = false;
};

} // namespace orvo
