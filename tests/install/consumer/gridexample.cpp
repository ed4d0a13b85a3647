#include <orvo.h>

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    orvo::TSQLiteDatabase database;
    database.SetDatabaseName(QStringLiteral("shop.db"));
    orvo::TSQLiteTable table;
    table.SetDatabase(&database);
    table.SetTableName(QStringLiteral("customers"));
    orvo::TDataSource source;
    source.SetDataSet(&table);
    orvo::TOrvoDBGrid grid;
    grid.SetDataSource(&source);
    table.Open();
    grid.show();
    return app.exec();
}
