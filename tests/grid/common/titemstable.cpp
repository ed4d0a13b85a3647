#include "grid/common/titemstable.h"

#include "platform/data/tfield.h"

namespace orvo::test {

TItemsTable::TItemsTable(int count)
{
    Db.SetDatabaseName(Dir.filePath(QStringLiteral("items.db")));
    Db.SetCreateIfMissing(true);
    Db.Open();
    Db.ExecSQL(QStringLiteral("CREATE TABLE items (id INTEGER PRIMARY KEY, name TEXT, price REAL)"));
    Db.StartTransaction();
    for (int i = 1; i <= count; ++i)
        Db.ExecSQL(QStringLiteral("INSERT INTO items (id, name, price) VALUES (?, ?, ?)"),
                   {qint64(i), QStringLiteral("Item %1").arg(i), i * 1.25});
    Db.Commit();
    Table.SetDatabase(&Db);
    Table.SetTableName(QStringLiteral("items"));
    Source.SetDataSet(&Table);
}

void TItemsTable::DropRecordNumbers()
{
    Table.SetOnFilterRecord([](TDataSet*, bool& accept) { accept = true; });
    Table.SetFiltered(true);
}

int TItemsTable::CurrentId() const
{
    return Table.FieldByName(QStringLiteral("id"))->AsInteger();
}

} // namespace orvo::test
