#pragma once

#include "platform/data/tdatasource.h"
#include "platform/sqlite/tsqlitetable.h"
#include "sqlite/sqlitetestdb.h"

namespace orvo::test {

/// One table of the sample database (by default its 25 customers), closed, with a data
/// source for it.
class TSampleTable
{
public:
    explicit TSampleTable(const QString& tableName = QStringLiteral("customers"));

    SampleDatabase Sample;
    TSQLiteTable Table;
    TDataSource Source;
};

} // namespace orvo::test
