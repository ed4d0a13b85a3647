#pragma once

#include <QList>
#include <QPointer>

#include <vector>

namespace orvo {

class TOrvoColumn;
class TOrvoCustomDBGrid;

/// The grid's selected columns. While the selection is the grid's column range
/// (AnchorCol to CurrentCol) the list is range-backed: it holds no columns of its
/// own and answers from the range, and reading its entries builds them from the
/// range. Toggling a single column makes the list explicit: from then on its
/// entries, kept in collection order, are the selection, until the range changes.
/// Membership is a binary search by column index with the last answer cached.
/// Column IDs survive a rebuild of the columns, so the selection is saved by them.
class TOrvoColumnList
{
public:
    explicit TOrvoColumnList(TOrvoCustomDBGrid* grid);

    TOrvoCustomDBGrid* Grid() const { return FGrid; }
    int Count() const;
    /// The column at `index` of the list; raises EListError outside [0, Count).
    TOrvoColumn* Items(int index) const;

    /// True when `column` is listed; `index` is its place, or where it would go.
    bool Find(const TOrvoColumn* column, int& index) const;
    /// Whether the grid's column at collection index `columnIndex` is listed.
    bool Selected(int columnIndex) const;
    /// Lists or unlists that column; nothing for an index without a column.
    void SetSelected(int columnIndex, bool value);
    void Clear();
    /// Puts the entries back in collection order after columns moved: the same columns
    /// stay selected wherever they went.
    void Renumber();
    /// True while the grid's column range is the selection.
    bool RangeBacked() const { return !FHasList || FRangeBacked; }
    /// The range changed: entries built from the old one are no longer the selection.
    void DiscardList();

    /// Remembers the IDs of the listed columns.
    void SaveIDs();
    /// Lists again every column whose saved ID still exists.
    void RestoreIDs();
    const std::vector<int>& SavedIDs() const { return FSavedIDs; }

private:
    TOrvoColumn* ColumnAt(int columnIndex) const;
    void DropDestroyed() const;
    /// Builds the entries from the range when the list has none yet.
    void Materialize() const;
    bool InRange(int columnIndex) const;

    struct TSearchCache
    {
        const TOrvoColumn* Column = nullptr;
        int Index = -1;
        bool Found = false;
    };

    TOrvoCustomDBGrid* FGrid;
    mutable QList<QPointer<TOrvoColumn>> FColumns;
    mutable bool FHasList = false;
    mutable bool FRangeBacked = true;
    mutable TSearchCache FCache;
    std::vector<int> FSavedIDs;
};

} // namespace orvo
