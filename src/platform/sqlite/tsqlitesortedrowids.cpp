#include "platform/sqlite/tsqlitesortedrowids.h"

#include "platform/sqlite/tsqlitestatement.h"

#include <algorithm>

namespace orvo {

void TSQLiteSortedRowids::Clear()
{
    // Swapping releases the memory; clear() would keep the capacity of a million rows.
    std::vector<qint64>().swap(FRowids);
    FBuilt = false;
}

void TSQLiteSortedRowids::Read(TSQLiteStatement& statement)
{
    std::vector<qint64> rowids;
    while (statement.Step())
        rowids.push_back(statement.ColumnInt64(0));
    rowids.shrink_to_fit();
    FRowids = std::move(rowids);
    FBuilt = true;
}

int TSQLiteSortedRowids::IndexOf(qint64 rowid) const
{
    const auto found = std::find(FRowids.begin(), FRowids.end(), rowid);
    return found == FRowids.end() ? -1 : int(found - FRowids.begin());
}

void TSQLiteSortedRowids::Erase(int position)
{
    FRowids.erase(FRowids.begin() + position);
}

void TSQLiteSortedRowids::Insert(int position, qint64 rowid)
{
    FRowids.insert(FRowids.begin() + position, rowid);
}

} // namespace orvo
