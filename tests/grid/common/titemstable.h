#pragma once

#include "platform/data/tdatasource.h"
#include "platform/sqlite/tsqlitedatabase.h"
#include "platform/sqlite/tsqlitetable.h"

#include <QTemporaryDir>

namespace orvo::test {

/// A database file in a folder of its own with `count` items numbered from 1 (id, name
/// "Item <n>", price n * 1.25), so that an item's id is its record number; a closed table
/// over it and a data source for the table.
class TItemsTable
{
public:
    explicit TItemsTable(int count = 100);

    QTemporaryDir Dir;
    TSQLiteDatabase Db;
    TSQLiteTable Table;
    TDataSource Source;

    /// A record filter the database cannot evaluate leaves record numbers unknown.
    void DropRecordNumbers();
    int CurrentId() const;
};

} // namespace orvo::test
