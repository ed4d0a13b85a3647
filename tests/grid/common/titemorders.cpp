#include "grid/common/titemorders.h"

#include "platform/sqlite/tsqlitedatabase.h"

namespace orvo::test {

TItemOrders::TItemOrders(TSQLiteDatabase& db)
{
    db.ExecSQL(QStringLiteral("CREATE TABLE orders (id INTEGER PRIMARY KEY, item INTEGER, item_name TEXT)"));
    db.ExecSQL(QStringLiteral("INSERT INTO orders (id, item, item_name) VALUES (1, 2, 'Item 2')"));
    Table.SetDatabase(&db);
    Table.SetTableName(QStringLiteral("orders"));
    Source.SetDataSet(&Table);
}

} // namespace orvo::test
