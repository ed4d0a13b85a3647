#include "platform/sqlite/tsqlitedistinctvalues.h"

#include "platform/core/exceptions.h"
#include "platform/data/tfield.h"
#include "platform/sqlite/tsqlitedatabase.h"
#include "platform/sqlite/tsqlitedataset.h"
#include "platform/sqlite/tsqliteprogressreport.h"
#include "platform/sqlite/tsqlitestatement.h"

#include <QStringList>

namespace orvo {

namespace {

// The row source's columns are renamed by position, so that the field's column is named
// exactly even where the source repeats a name or reads an expression. SQLite takes the integer
// 2 and the real 2.0 as equal: their kind keeps them apart where a column can hold both.
QString DistinctSql(const QString& source, int columnCount, int column, bool mixesKinds)
{
    QStringList names;
    for (int i = 0; i < columnCount; ++i)
        names << QStringLiteral("c%1").arg(i);
    const QString value = names.at(column);
    return QStringLiteral("WITH source(%1) AS (\n%2\n)\nSELECT DISTINCT %3 COLLATE BINARY%4 FROM source")
        .arg(names.join(QLatin1Char(',')), source, value,
             mixesKinds ? QStringLiteral(", typeof(%1)").arg(value) : QString());
}

} // namespace

std::optional<std::vector<TVariant>> TSQLiteDistinctValues::Of(const TSQLiteDataSet& dataSet,
                                                               const TField* field,
                                                               const std::function<void()>& progress)
{
    const int column = TSQLiteDataSet::RowSourceColumn(field);
    if (column < 0 || column >= dataSet.RowSourceColumnCount() || field->DataSet() != &dataSet ||
        !dataSet.Database())
        return std::nullopt;
    const QString source = dataSet.RowSourceSql();
    if (source.isEmpty())
        return std::nullopt;
    std::vector<TVariant> values;
    try {
        TSQLiteStatement statement(dataSet.Database()->Handle(),
                                   DistinctSql(source, dataSet.RowSourceColumnCount(), column,
                                               !dataSet.RowSourceColumnHasAffinity(column)));
        dataSet.BindRowSource(statement);
        TSQLiteProgressReport::Run(dataSet.Database()->Handle(), progress, [&] {
            while (statement.Step())
                values.push_back(statement.Column(0));
        });
    } catch (const EDatabaseError&) {
        // A source whose columns are not the dataset's: the walk answers.
        return std::nullopt;
    }
    return values;
}

} // namespace orvo
