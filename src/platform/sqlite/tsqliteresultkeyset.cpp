#include "platform/sqlite/tsqliteresultkeyset.h"

#include "platform/sqlite/tsqlitestatement.h"

#include <algorithm>

namespace orvo {

bool TSQLiteResultKeyset::Read(TSQLiteStatement& statement, int rowidColumn)
{
    Clear();
    std::vector<qint64> rowids;
    while (statement.Step()) {
        if (statement.ColumnIsNull(rowidColumn))
            return false;
        rowids.push_back(statement.ColumnInt64(rowidColumn));
    }
    rowids.shrink_to_fit();
    // A result in rowid order (no ORDER BY over a table) is searched by halves.
    FAscending = std::is_sorted(rowids.begin(), rowids.end());
    FRowids = std::move(rowids);
    FBuilt = true;
    return true;
}

void TSQLiteResultKeyset::Clear()
{
    std::vector<qint64>().swap(FRowids);
    FAscending = false;
    FBuilt = false;
}

int TSQLiteResultKeyset::IndexOf(qint64 rowid) const
{
    if (FAscending) {
        const auto found = std::lower_bound(FRowids.begin(), FRowids.end(), rowid);
        return found != FRowids.end() && *found == rowid ? int(found - FRowids.begin()) : -1;
    }
    const auto found = std::find(FRowids.begin(), FRowids.end(), rowid);
    return found == FRowids.end() ? -1 : int(found - FRowids.begin());
}

} // namespace orvo
