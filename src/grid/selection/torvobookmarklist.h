#pragma once

#include "grid/dbgrid/dbgridenums.h"
#include "platform/core/tvariant.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace orvo {

class TCompactBookmarks;
class TDataSet;
class TOrvoCustomDBGrid;

/// The grid's selected records: dataset bookmarks kept in the dataset's own order,
/// so that a membership test is a binary search with the dataset's bookmark
/// comparison, and the last answer is cached for the rows painted next to each
/// other. The bookmarks are packed side by side, so that selecting every record of
/// a large table costs a few bytes a record. It also keeps the key values of the
/// selected records while a reorder or re-filter makes the bookmarks worthless.
class TOrvoBookmarkList
{
public:
    explicit TOrvoBookmarkList(TOrvoCustomDBGrid* grid);
    ~TOrvoBookmarkList();
    TOrvoBookmarkList(const TOrvoBookmarkList&) = delete;
    TOrvoBookmarkList& operator=(const TOrvoBookmarkList&) = delete;

    TOrvoCustomDBGrid* Grid() const { return FGrid; }
    int Count() const;
    /// The bookmark at `index`; raises EListError outside [0, Count).
    QString Items(int index) const;

    /// True when `bookmark` is listed; `index` is its place, or where it would go.
    bool Find(const QString& bookmark, int& index) const;
    /// Lists `bookmark` at its place; false when it was listed already or is no bookmark
    /// the list can keep (empty, or not Latin-1 as the dataset's bookmarks are).
    bool Insert(const QString& bookmark);
    /// Removes `bookmark`; false when it was not listed.
    bool Remove(const QString& bookmark);

    /// Whether the dataset's current record is selected; raises while the grid's
    /// dataset is closed.
    bool CurrentRowSelected() const;
    void SetCurrentRowSelected(bool value);
    /// Lists or unlists the current record without repainting it, for walks that
    /// repaint once at their end; the row hook reports the change.
    void InvertCurrentRow();
    void Clear();
    /// Deletes the selected records from the dataset, last first. A record whose
    /// deletion fails stays listed and current, with the ones not yet deleted.
    void DeleteRows();
    /// Drops the bookmarks of records that are gone; true when any was dropped.
    bool RefreshRows();
    /// Remembers the key values of the selected records (empty: the grid's KeyFields).
    void SaveKeys(const QString& keyFields);
    /// Selects the records with the remembered key values again.
    void RestoreKeys(const QString& keyFields);
    int SavedKeyCount() const { return int(FSavedKeys.size()); }

    /// Selects every record from the dataset's current one to its end, which must all
    /// come after the listed ones: a walk in dataset order appends without searching.
    /// Returns the bookmark of the last record selected.
    QString SelectToEnd();
    /// Selects (or, with `invert`, flips) the records of `bookmarks`, which are in dataset
    /// order, in one merge with the list: a walk over thousands of records must not insert
    /// them one by one. The row hook reports each record that changes.
    void Merge(const QStringList& bookmarks, bool invert);
    /// The same for bookmarks a walk hands out one at a time (none: the walk ended).
    void MergeFrom(const std::function<std::optional<QString>()>& next, bool invert);
    /// Bytes the list holds for its bookmarks.
    size_t MemoryUsed() const;

private:
    TDataSet* ActiveDataSet() const;
    QString CheckedKeyFields(const QString& keyFields) const;
    void Changed();
    void RepaintCurrentRow();

    struct TSearchCache
    {
        QString Bookmark;
        int Index = -1;
        bool Found = false;
        bool Valid = false;
    };

    TOrvoCustomDBGrid* FGrid;
    std::unique_ptr<TCompactBookmarks> FBookmarks;
    mutable TSearchCache FCache;
    TVariantArray FSavedKeys;
};

} // namespace orvo
