#pragma once

#include <QtGlobal>

#include <vector>

namespace orvo {

class TSQLiteStatement;

/// A table's rows in an order that no index serves, sorted by SQLite once and
/// kept as their rowids (8 bytes a row), so that paging, jumps and positions
/// through that order cost an array access instead of another sort.
class TSQLiteSortedRowids
{
public:
    bool Built() const { return FBuilt; }
    void Clear();
    /// Steps `statement` to its end, keeping the rowid in its first column of every row.
    void Read(TSQLiteStatement& statement);

    int Count() const { return int(FRowids.size()); }
    qint64 At(int position) const { return FRowids[size_t(position)]; }
    /// The position of `rowid`, -1 when it is not among the rows.
    int IndexOf(qint64 rowid) const;
    void Erase(int position);
    void Insert(int position, qint64 rowid);

private:
    std::vector<qint64> FRowids;
    bool FBuilt = false;
};

} // namespace orvo
