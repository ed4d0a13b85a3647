#include "platform/sqlite/tsqliteaggregates.h"

#include "platform/core/exceptions.h"
#include "platform/data/tfield.h"
#include "platform/data/tfloatfield.h"
#include "platform/sqlite/tsqlitedatabase.h"
#include "platform/sqlite/tsqlitedataset.h"
#include "platform/sqlite/tsqliteprogressreport.h"
#include "platform/sqlite/tsqlitestatement.h"
#include "platform/sqlite/tsqlitetable.h"

namespace orvo {

namespace {

bool IsIntegerType(TFieldType type)
{
    return type == ftSmallint || type == ftInteger || type == ftWord || type == ftAutoInc ||
           type == ftLargeint;
}

} // namespace

bool TSQLiteAggregates::Supports(const TField* field)
{
    if (!field || field->FieldKind() != fkData)
        return false;
    const TFieldType type = field->DataType();
    return IsIntegerType(type) || type == ftFloat || type == ftCurrency || type == ftBCD;
}

bool TSQLiteAggregates::IsCurrency(const TField* field)
{
    const auto* floatField = qobject_cast<const TFloatField*>(field);
    return field->DataType() == ftBCD || (floatField && floatField->Currency());
}

TVariant TSQLiteAggregates::AsRead(const TField* field, const TVariant& stored)
{
    if (stored.IsClear())
        return TVariant::Null();
    if (IsIntegerType(field->DataType()))
        return stored;
    return IsCurrency(field) ? TVariant(TCurrency::FromDouble(stored.AsFloat())) : TVariant(stored.AsFloat());
}

std::optional<TSQLiteAggregates::TAnswer> TSQLiteAggregates::Compute(const TSQLiteDataSet& dataSet,
                                                                     const std::vector<TRequest>& requests,
                                                                     const std::function<void()>& progress)
{
    return Run(
        dataSet, dataSet.RowSourceSql(),
        [&dataSet](TSQLiteStatement& statement) { dataSet.BindRowSource(statement); }, requests, progress);
}

std::optional<TSQLiteAggregates::TAnswer>
TSQLiteAggregates::ComputeOver(const TSQLiteTable& table, const std::vector<qint64>& rowids,
                               const std::vector<TRequest>& requests, const std::function<void()>& progress)
{
    QStringList numbers;
    numbers.reserve(qsizetype(rowids.size()));
    for (qint64 rowid : rowids)
        numbers << QString::number(rowid);
    const QString list = QLatin1Char('[') + numbers.join(QLatin1Char(',')) + QLatin1Char(']');
    const auto bind = [&table, &list](TSQLiteStatement& statement) {
        table.BindRowSourceOfRowids(statement, list);
    };
    std::optional<TAnswer> answer = Run(table, table.RowSourceSqlOfRowids(), bind, requests, progress);
    // A rowid the table's rows do not hold, or one listed twice (IN takes it once), leaves the
    // answer short of the rows asked for.
    if (answer && answer->Rows != qint64(rowids.size()))
        return std::nullopt;
    return answer;
}

std::optional<TSQLiteAggregates::TAnswer>
TSQLiteAggregates::Run(const TSQLiteDataSet& dataSet, const QString& source,
                       const std::function<void(TSQLiteStatement&)>& bind,
                       const std::vector<TRequest>& requests, const std::function<void()>& progress)
{
    if (source.isEmpty() || !dataSet.Database())
        return std::nullopt;
    QStringList columns{QStringLiteral("count(*)")};
    for (const TRequest& request : requests) {
        if (!Supports(request.Field) || request.Field->DataSet() != &dataSet)
            return std::nullopt;
        const QString c = TSQLiteDatabase::QuoteIdentifier(request.Field->FieldName());
        const bool integer = IsIntegerType(request.Field->DataType());
        // Currency adds up exactly in ten-thousandths, as the records' values do.
        const QString sum = !integer && !request.Sum ? QStringLiteral("NULL")
                            : IsCurrency(request.Field)
                                ? QStringLiteral("sum(CAST(round(%1 * 10000) AS INTEGER))").arg(c)
                                : QStringLiteral("sum(%1)").arg(c);
        // The maximum tells whether text hides in the column (text sorts after numbers); the
        // sum's kind whether an integer column holds fractions: the dataset reads both
        // differently from SQLite, so such a column is left to the walk.
        columns << QStringLiteral("count(%1)").arg(c) << sum
                << (request.Extremes ? QStringLiteral("min(%1)").arg(c) : QStringLiteral("NULL"))
                << QStringLiteral("max(%1)").arg(c) << QStringLiteral("typeof(%1)").arg(sum)
                << QStringLiteral("typeof(max(%1))").arg(c)
                << (request.Distinct ? QStringLiteral("count(DISTINCT %1)").arg(c) : QStringLiteral("0"));
    }
    std::optional<TSQLiteStatement> statement;
    try {
        statement.emplace(
            dataSet.Database()->Handle(),
            QStringLiteral("SELECT %1 FROM (\n%2\n)").arg(columns.join(QLatin1String(", ")), source));
        bind(*statement);
        TSQLiteProgressReport::Run(dataSet.Database()->Handle(), progress,
                                   [&statement] { statement->Step(); });
    } catch (const EDatabaseError&) {
        // An integer sum past 64 bits, which SQLite refuses while the walk goes on in
        // floating point, or a field the source names otherwise: the walk answers.
        return std::nullopt;
    }
    TAnswer answer;
    answer.Rows = statement->ColumnInt64(0);
    int column = 1;
    for (const TRequest& request : requests) {
        const QString sumType = statement->Column(column + 4).AsString();
        const QString maxType = statement->Column(column + 5).AsString();
        const bool integer = IsIntegerType(request.Field->DataType());
        if (maxType == QLatin1String("text") || maxType == QLatin1String("blob") ||
            (integer && sumType == QLatin1String("real")))
            return std::nullopt;
        TResult result;
        result.Values = statement->ColumnInt64(column);
        const TVariant sum = statement->Column(column + 1);
        result.Sum = sum.IsClear()               ? TVariant::Null()
                     : IsCurrency(request.Field) ? TVariant(TCurrency::FromRaw(sum.AsInt64()))
                     : integer                   ? sum
                                                 : TVariant(sum.AsFloat());
        result.Min = AsRead(request.Field, statement->Column(column + 2));
        result.Max = AsRead(request.Field, statement->Column(column + 3));
        result.Distinct = statement->ColumnInt64(column + 6);
        answer.Results.push_back(result);
        column += 7;
    }
    return answer;
}

} // namespace orvo
