#pragma once

#include "grid/dbgrid/dbgridenums.h"
#include "platform/core/tvariant.h"

#include <QStringList>

namespace orvo {

class TDataSet;
class TOrvoCustomDBGrid;

/// The grid's selected records: dataset bookmarks kept in the dataset's own order,
/// so that a membership test is a binary search with the dataset's bookmark
/// comparison, and the last answer is cached for the rows painted next to each
/// other. It also keeps the key values of the selected records while a reorder or
/// re-filter makes the bookmarks worthless.
class TOrvoBookmarkList
{
public:
    explicit TOrvoBookmarkList(TOrvoCustomDBGrid* grid);

    TOrvoCustomDBGrid* Grid() const { return FGrid; }
    int Count() const { return int(FBookmarks.size()); }
    /// The bookmark at `index`; raises EListError outside [0, Count).
    QString Items(int index) const;
    const QStringList& Bookmarks() const { return FBookmarks; }

    /// True when `bookmark` is listed; `index` is its place, or where it would go.
    bool Find(const QString& bookmark, int& index) const;
    /// Lists `bookmark` at its place; false when it was listed already.
    bool Insert(const QString& bookmark);
    /// Removes `bookmark`; false when it was not listed.
    bool Remove(const QString& bookmark);

    /// Whether the dataset's current record is selected; raises while the grid's
    /// dataset is closed.
    bool CurrentRowSelected() const;
    void SetCurrentRowSelected(bool value);
    void Clear();
    /// Deletes the selected records from the dataset, last first.
    void DeleteRows();
    /// Drops the bookmarks of records that are gone; true when any was dropped.
    bool RefreshRows();
    /// Remembers the key values of the selected records (empty: the grid's KeyFields).
    void SaveKeys(const QString& keyFields);
    /// Selects the records with the remembered key values again.
    void RestoreKeys(const QString& keyFields);
    int SavedKeyCount() const { return int(FSavedKeys.size()); }

private:
    TDataSet* ActiveDataSet() const;
    QString CheckedKeyFields(const QString& keyFields) const;
    void Changed();
    void Notify(TSelectAction action);

    struct TSearchCache
    {
        QString Bookmark;
        int Index = -1;
        bool Found = false;
        bool Valid = false;
    };

    TOrvoCustomDBGrid* FGrid;
    QStringList FBookmarks;
    mutable TSearchCache FCache;
    TVariantArray FSavedKeys;
};

} // namespace orvo
