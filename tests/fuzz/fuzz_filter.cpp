// The filter engine two ways: a filter text is parsed, evaluated record by record,
// and translated to SQL for SQLite. Whatever the text, parsing gives an expression or
// an Exception, and when both paths run they accept the same records.
#include "fuzzinput.h"

#include "common/sqlitebind.h"

#include "platform/core/exceptions.h"
#include "platform/data/tfilterexpression.h"
#include "platform/sqlite/tsqlitefunctions.h"

#include <QDateTime>

#include <sqlite3.h>

using namespace orvo;

namespace {

struct TFuzzField
{
    QString Name;
    TFieldType Type;
    const char* Declared;
};

const std::vector<TFuzzField>& Fields()
{
    static const std::vector<TFuzzField> fields{
        {QStringLiteral("Name"), ftString, "TEXT"},
        {QStringLiteral("City"), ftString, "TEXT COLLATE NOCASE"},
        {QStringLiteral("Qty"), ftInteger, "INTEGER"},
        {QStringLiteral("Price"), ftCurrency, "REAL"},
        {QStringLiteral("Weight"), ftFloat, "REAL"},
        {QStringLiteral("Active"), ftBoolean, "INTEGER"},
        {QStringLiteral("Born"), ftDate, "TEXT"},
        {QStringLiteral("Stamp"), ftDateTime, "TEXT"},
        {QStringLiteral("Big"), ftLargeint, "INTEGER"},
    };
    return fields;
}

std::optional<TFilterExpression::TFieldRef> Resolve(const QString& name)
{
    const auto& fields = Fields();
    for (int i = 0; i < int(fields.size()); ++i) {
        if (fields[size_t(i)].Name.compare(name, Qt::CaseInsensitive) == 0)
            return TFilterExpression::TFieldRef{i, fields[size_t(i)].Type, fields[size_t(i)].Name};
    }
    return std::nullopt;
}

TVariant Stamp(int y, int m, int d, int h, int n, int s)
{
    return TDateTime::FromQDateTime(QDateTime(QDate(y, m, d), QTime(h, n, s)));
}

/// The records as the dataset hands them to the filter: NULLs, large integers, floats,
/// dates on both sides of 1899, and text beyond ASCII.
const std::vector<std::vector<TVariant>>& Records()
{
    const TVariant N = TVariant::Null();
    static const std::vector<std::vector<TVariant>> records{
        {"O'Brien", "Paris", qint64(5), TCurrency::FromDouble(1.23), 2.5, true,
         TDateTime::EncodeDate(2024, 3, 1), Stamp(2024, 3, 1, 13, 45, 10), qint64(5)},
        {"alice", N, qint64(-10), TCurrency::FromDouble(0.5), N, false, TDateTime::EncodeDate(1999, 12, 31),
         Stamp(1999, 12, 31, 0, 0, 0), qint64(9007199254740993)},
        {"Alice", "paris", N, N, -1000.0, N, N, N, N},
        {"Bob_%", "London", qint64(0), TCurrency::FromDouble(100), 0.0, true,
         TDateTime::EncodeDate(1850, 6, 15), Stamp(1850, 6, 15, 6, 0, 0), qint64(-9223372036854775807LL - 1)},
        {QString::fromUtf8("\xC3\xA9mile"), QString::fromUtf8("Z\xC3\xBCrich"), qint64(7),
         TCurrency::FromDouble(7.0001), 7.5, false, TDateTime::EncodeDate(2024, 2, 29),
         Stamp(2024, 2, 29, 12, 0, 0), qint64(9223372036854775807LL)},
        {QString::fromUtf8("\xF0\x9F\x98\x80"), QString(QChar(0xFF01)), qint64(2147483647),
         TCurrency::FromDouble(0), N, false, TDateTime::EncodeDate(2024, 3, 2), Stamp(1850, 6, 15, 12, 0, 0),
         N},
    };
    return records;
}

// How the SQLite layer stores a value of each type.
TVariant StoredForm(const TVariant& value, TFieldType type)
{
    if (value.IsNull())
        return value;
    switch (type) {
    case ftCurrency:
        return value.AsFloat();
    case ftBoolean:
        return qint64(value.AsBoolean() ? 1 : 0);
    case ftDate:
        return value.AsDateTime().ToQDate().toString(QStringLiteral("yyyy-MM-dd"));
    case ftDateTime:
        return value.AsDateTime().ToQDate().toString(QStringLiteral("yyyy-MM-dd")) +
               value.AsDateTime().ToQTime().toString(QStringLiteral(" hh:mm:ss"));
    default:
        return value;
    }
}

QString ColumnSql(int index)
{
    return QLatin1Char('"') + Fields()[size_t(index)].Name + QLatin1Char('"');
}

// The column as the SQLite datasets hand it to the filter's SQL: read as the field reads it.
QString FieldSql(int index)
{
    return TSQLiteFunctions::FieldValueSql(ColumnSql(index), Fields()[size_t(index)].Type);
}

/// Runs `sql` with `params` bound; the ids of the rows it gives, or nothing when
/// SQLite refuses the statement.
std::optional<QList<qint64>> Select(sqlite3* db, const QString& sql, const std::vector<TVariant>& params)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK)
        return std::nullopt;
    if (!test::BindStoredValues(statement, params))
        fuzz::Broken("the SQL translation binds only stored kinds", sql);
    QList<qint64> ids;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW)
        ids << sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    if (step != SQLITE_DONE)
        return std::nullopt;
    return ids;
}

sqlite3* Database()
{
    static sqlite3* db = [] {
        sqlite3* opened = nullptr;
        if (sqlite3_open(":memory:", &opened) != SQLITE_OK)
            fuzz::Broken("an in-memory database opens");
        TSQLiteFunctions::Register(opened);
        QStringList columns{QStringLiteral("id INTEGER PRIMARY KEY")};
        for (const TFuzzField& field : Fields())
            columns << ColumnSql(int(&field - Fields().data())) + QLatin1Char(' ') +
                           QLatin1String(field.Declared);
        if (!Select(opened, QStringLiteral("CREATE TABLE t (%1)").arg(columns.join(QStringLiteral(", "))),
                    {}))
            fuzz::Broken("the table is made");
        for (int r = 0; r < int(Records().size()); ++r) {
            std::vector<TVariant> values{qint64(r)};
            for (int f = 0; f < int(Fields().size()); ++f)
                values.push_back(StoredForm(Records()[size_t(r)][size_t(f)], Fields()[size_t(f)].Type));
            const QStringList marks(qsizetype(values.size()), QStringLiteral("?"));
            if (!Select(opened, QStringLiteral("INSERT INTO t VALUES (%1)").arg(marks.join(u',')), values))
                fuzz::Broken("a record is stored");
        }
        return opened;
    }();
    return db;
}

QList<qint64> AcceptedByMatches(const TFilterExpression& expression)
{
    QList<qint64> ids;
    for (int r = 0; r < int(Records().size()); ++r) {
        if (expression.Matches([r](int index) { return Records()[size_t(r)][size_t(index)]; }))
            ids << r;
    }
    return ids;
}

QString IdsText(const QList<qint64>& ids)
{
    QStringList texts;
    for (qint64 id : ids)
        texts << QString::number(id);
    return texts.join(u',');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = fuzz::Utf8Text(data, size);
    std::unique_ptr<TFilterExpression> expression;
    try {
        expression = TFilterExpression::Parse(text, Resolve);
    } catch (const Exception&) {
        return 0; // refused with a message: that is allowed
    }
    const QList<qint64> matched = AcceptedByMatches(*expression);
    QString where;
    std::vector<TVariant> params;
    if (!expression->ToSql(FieldSql, where, params))
        return 0;
    const auto selected =
        Select(Database(), QStringLiteral("SELECT id FROM t WHERE %1 ORDER BY id").arg(where), params);
    fuzz::Require(selected.has_value(), "the SQL translation runs", text + QLatin1String("\n") + where);
    fuzz::Require(*selected == matched, "both paths accept the same records",
                  QStringLiteral("%1\nWHERE %2\nrecord by record: %3\nSQL: %4")
                      .arg(text, where, IdsText(matched), IdsText(*selected)));
    return 0;
}
