#pragma once

#include "grid/dbgrid/torvodbgrid.h"
#include "platform/data/tdatasource.h"
#include "platform/sqlite/tsqlitedatabase.h"
#include "platform/sqlite/tsqlitetable.h"

#include <QApplication>

/// A shown grid of 1000 x 700 pixels over the BigOrders table of `fileName`, opened and
/// painted once, which the grid benchmarks measure from.
struct TBenchGridOverTable
{
    explicit TBenchGridOverTable(const QString& fileName)
    {
        Db.SetDatabaseName(fileName);
        Db.Open();
        Table.SetDatabase(&Db);
        Table.SetTableName(QStringLiteral("BigOrders"));
        Source.SetDataSet(&Table);
        Grid.SetDataSource(&Source);
        Grid.resize(1000, 700);
        Grid.show();
        Table.Open();
        QApplication::processEvents();
    }

    orvo::TSQLiteDatabase Db;
    orvo::TSQLiteTable Table;
    orvo::TDataSource Source;
    orvo::TOrvoDBGrid Grid;
};
