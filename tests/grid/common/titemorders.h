#pragma once

#include "platform/data/tdatasource.h"
#include "platform/sqlite/tsqlitetable.h"

namespace orvo::test {

/// An orders table beside the items of a TItemsTable's database: one order (id 1) names
/// item 2 by key and keeps its name, "Item 2", as lookup columns show it. A closed table
/// over it and a data source for the table.
class TItemOrders
{
public:
    explicit TItemOrders(TSQLiteDatabase& db);

    TSQLiteTable Table;
    TDataSource Source;
};

} // namespace orvo::test
