#pragma once

#include <QtGlobal>

#include <vector>

namespace orvo {

class TSQLiteStatement;

/// The rows of a query's result that are rows of one table, kept as that table's rowids in the
/// result's order (8 bytes a row): any position is then one lookup by rowid away, and a rowid's
/// position one search.
class TSQLiteResultKeyset
{
public:
    /// Steps `statement` to its end, reading each row's rowid from `rowidColumn`. False, and
    /// nothing kept, when a row has no rowid there (an outer join's missing side).
    bool Read(TSQLiteStatement& statement, int rowidColumn);
    bool Built() const { return FBuilt; }
    void Clear();

    int Count() const { return int(FRowids.size()); }
    qint64 At(int position) const { return FRowids[size_t(position)]; }
    /// The position of the first row with `rowid`, -1 when none has it.
    int IndexOf(qint64 rowid) const;

private:
    std::vector<qint64> FRowids;
    bool FAscending = false;
    bool FBuilt = false;
};

} // namespace orvo
