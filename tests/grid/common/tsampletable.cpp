#include "grid/common/tsampletable.h"

namespace orvo::test {

TSampleTable::TSampleTable(const QString& tableName)
{
    Table.SetDatabase(Sample.Db.get());
    Table.SetTableName(tableName);
    Source.SetDataSet(&Table);
}

} // namespace orvo::test
