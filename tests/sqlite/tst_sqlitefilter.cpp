#include "platform/data/tfield.h"
#include "platform/data/tfilterexpression.h"
#include "platform/sqlite/tsqlitedatabase.h"
#include "platform/sqlite/tsqlitefunctions.h"
#include "platform/sqlite/tsqlitequery.h"
#include "platform/sqlite/tsqlitestatement.h"
#include "platform/sqlite/tsqlitetable.h"
#include "platform/sqlite/tsqlitetableinfo.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

#include <memory>

using namespace orvo;

namespace {

constexpr int kRows = 400;

// Declared types that give every kind of field and affinity, a collation the
// dataset does not share, and "STRING", whose affinity is numeric.
constexpr const char* kCreate =
    "CREATE TABLE t (id INTEGER PRIMARY KEY, i INTEGER, s SMALLINT, r REAL, m MONEY, txt TEXT, "
    "vc VARCHAR(20), nc TEXT COLLATE NOCASE, st STRING, bare, b BOOLEAN, d DATE);"
    "CREATE INDEX t_txt ON t (txt);"
    "CREATE TABLE ts (id INTEGER PRIMARY KEY, i INTEGER, r REAL, txt TEXT, nc TEXT COLLATE NOCASE, a ANY) "
    "STRICT;"
    "CREATE INDEX ts_i ON ts (i)";
constexpr int kValueColumns = 11;

// What a person may store in any column of a dynamically typed database.
void BindRandom(sqlite3_stmt* statement, int parameter, QRandomGenerator& random)
{
    static const qint64 integers[] = {0, 7,   -3,   100000, 9007199254740993LL,   -9007199254740993LL,
                                      1, 500, -500, 42,     9223372036854775807LL};
    static const double reals[] = {2.5, -0.5, 2.6, 7.0, 1e300, -1e300, 9007199254740992.0, 500.25, 0.1};
    static const char* const texts[] = {"007",
                                        "7",
                                        "abc",
                                        "O'Brien",
                                        "%",
                                        "_x",
                                        "a%b",
                                        "",
                                        " 7 ",
                                        "B",
                                        "b",
                                        "inf",
                                        "Bob_%",
                                        "2024-03-01",
                                        "1e3",
                                        "true",
                                        "ZÜRICH",
                                        "zürich",
                                        "\xF0\x9F\x98\x80"};
    switch (random.bounded(6)) {
    case 0:
        sqlite3_bind_null(statement, parameter);
        break;
    case 1:
        sqlite3_bind_int64(statement, parameter, integers[random.bounded(int(std::size(integers)))]);
        break;
    case 2:
        sqlite3_bind_int64(statement, parameter, qint64(random.bounded(2001)) - 1000);
        break;
    case 3:
        sqlite3_bind_double(statement, parameter, reals[random.bounded(int(std::size(reals)))]);
        break;
    case 4:
        sqlite3_bind_text(statement, parameter, texts[random.bounded(int(std::size(texts)))], -1,
                          SQLITE_STATIC);
        break;
    default:
        if (random.bounded(4) == 0)
            sqlite3_bind_blob(statement, parameter, "B", 1, SQLITE_STATIC);
        else
            sqlite3_bind_text(statement, parameter, texts[random.bounded(int(std::size(texts)))], -1,
                              SQLITE_STATIC);
    }
}

// A STRICT table takes only values of each column's type; ANY takes all.
void FillStrict(sqlite3* db, QRandomGenerator& random)
{
    sqlite3_stmt* insert = nullptr;
    QCOMPARE(sqlite3_prepare_v2(db, "INSERT INTO ts VALUES (NULL, ?, ?, ?, ?, ?)", -1, &insert, nullptr),
             SQLITE_OK);
    static const qint64 integers[] = {
        0, 7, -3, 500, 9007199254740993LL, -9007199254740993LL, 9223372036854775807LL};
    static const double reals[] = {2.5, -0.5, 7.0, 1e300, 9007199254740992.0, 500.25};
    static const char* const texts[] = {"007", "7", "O'Brien", "%", "_x", "", "B", "b", "zürich", "ZÜRICH"};
    for (int row = 0; row < kRows; ++row) {
        const bool null = random.bounded(5) == 0;
        if (null)
            sqlite3_bind_null(insert, 1);
        else if (random.bounded(2) == 0)
            sqlite3_bind_int64(insert, 1, integers[random.bounded(int(std::size(integers)))]);
        else
            sqlite3_bind_int64(insert, 1, qint64(random.bounded(2001)) - 1000);
        if (random.bounded(5) == 0)
            sqlite3_bind_null(insert, 2);
        else if (random.bounded(2) == 0)
            sqlite3_bind_double(insert, 2, reals[random.bounded(int(std::size(reals)))]);
        else
            sqlite3_bind_int64(insert, 2, integers[random.bounded(int(std::size(integers)))]);
        for (int p = 3; p <= 4; ++p) {
            if (random.bounded(5) == 0)
                sqlite3_bind_null(insert, p);
            else
                sqlite3_bind_text(insert, p, texts[random.bounded(int(std::size(texts)))], -1, SQLITE_STATIC);
        }
        BindRandom(insert, 5, random);
        QCOMPARE(sqlite3_step(insert), SQLITE_DONE);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
}

// Written through SQLite's own API, so that every value keeps the storage class
// SQLite's affinity gives it and none passes through our conversions.
void FillRandomly(const QString& path, quint32 seed)
{
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    QCOMPARE(sqlite3_exec(db, kCreate, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    QCOMPARE(sqlite3_prepare_v2(db, "INSERT INTO t VALUES (NULL, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)", -1,
                                &insert, nullptr),
             SQLITE_OK);
    QRandomGenerator random(seed);
    for (int row = 0; row < kRows; ++row) {
        for (int p = 1; p <= kValueColumns; ++p)
            BindRandom(insert, p, random);
        QCOMPARE(sqlite3_step(insert), SQLITE_DONE);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    FillStrict(db, random);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

QList<qint64> Ids(TDataSet& dataSet)
{
    QList<qint64> ids;
    for (dataSet.First(); !dataSet.Eof(); dataSet.Next())
        ids << dataSet.FieldByName(QStringLiteral("id"))->AsVariant().AsInt64();
    return ids;
}

} // namespace

class TestSQLiteFilter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sqlSelectsWhatTheEngineAccepts_data();
    void sqlSelectsWhatTheEngineAccepts();
    void strictTableSelectsWhatTheEngineAccepts_data();
    void strictTableSelectsWhatTheEngineAccepts();
    void strictColumnsUseTheIndex();
    void textFieldIsNullUsesTheIndex();
    void columnsCompareBareOnlyWhereSQLiteAgrees_data();
    void columnsCompareBareOnlyWhereSQLiteAgrees();
    void longValueListsFallBackToTheConversion();

private:
    void CompareWithEngine(const QString& tableName, const QString& filter);

    QTemporaryDir FDir;
    std::unique_ptr<TSQLiteDatabase> FDb;
};

void TestSQLiteFilter::initTestCase()
{
    const QString path = FDir.filePath(QStringLiteral("filter.db"));
    FillRandomly(path, 20261210);
    FDb = std::make_unique<TSQLiteDatabase>();
    FDb->SetDatabaseName(path);
    FDb->Open();
}

void TestSQLiteFilter::sqlSelectsWhatTheEngineAccepts_data()
{
    QTest::addColumn<QString>("filter");
    QStringList filters;
    const QStringList numbers = {"i", "s", "r", "m"};
    const QStringList constants = {"7", "-3", "2.5", "0", "9007199254740993", "-9007199254740992", "500"};
    const QStringList ops = {"=", "<>", "<", ">", "<=", ">="};
    for (const QString& column : numbers) {
        for (const QString& op : ops)
            for (const QString& constant : constants)
                filters << QStringLiteral("%1 %2 %3").arg(column, op, constant);
        filters << column + " IS NULL"
                << "NOT (" + column + " IS NULL)" << column + " IN (7, -3, 500)" << column + " IN (7, NULL)"
                << "NOT (" + column + " IN (7, 0, NULL))"
                << "NOT (" + column + " IN (7, 0))"
                << "NOT (" + column + " > 0)"
                << "NOT (NOT (" + column + " <= 7) OR " + column + " IS NULL)";
    }
    const QStringList texts = {"txt", "vc", "nc", "st", "bare"};
    const QStringList textConstants = {"'007'", "'7'", "'b'", "'B'", "'O''Brien'", "''", "'%'", "'zürich'"};
    for (const QString& column : texts) {
        for (const QString& op : ops)
            for (const QString& constant : textConstants)
                filters << QStringLiteral("%1 %2 %3").arg(column, op, constant);
        filters << column + " IS NULL"
                << "NOT (" + column + " IS NULL)" << column + " LIKE 'b%'" << column + " LIKE '%\\_%'"
                << column + " LIKE '%_%'" << column + " LIKE '%''%'"
                << "NOT (" + column + " LIKE 'Z%')" << column + " IN ('7', 'abc', NULL)"
                << "NOT (" + column + " IN ('7', 'abc'))";
    }
    filters << "i < r"
            << "i = s"
            << "NOT (m >= r)"
            << "txt = vc"
            << "txt < nc"
            << "NOT (vc <> st)"
            << "b = True"
            << "NOT (b = False)"
            << "d > '2024-01-01'"
            << "d IS NULL"
            << "i > 0 AND txt LIKE 'b%'"
            << "NOT (r < 1 OR vc IS NULL)"
            << "NOT (i IN (7, NULL) AND txt = '007')"
            << "(i > 500 OR s < 0) AND NOT (m IS NULL)";
    for (const QString& filter : filters)
        QTest::newRow(qPrintable(filter)) << filter;
}

// The same filter through SQL (the table, and the query while it may translate)
// and record by record (the query with cached updates keeps its filter out of SQL).
void TestSQLiteFilter::sqlSelectsWhatTheEngineAccepts()
{
    QFETCH(QString, filter);
    CompareWithEngine(QStringLiteral("t"), filter);
}

void TestSQLiteFilter::strictTableSelectsWhatTheEngineAccepts_data()
{
    QTest::addColumn<QString>("filter");
    QStringList filters;
    for (const QString& op : QStringList{"=", "<>", "<", ">", "<=", ">="}) {
        for (const QString& constant : QStringList{"7", "-3", "2.5", "9007199254740993", "-9007199254740992"})
            filters << "i " + op + " " + constant << "r " + op + " " + constant;
        for (const QString& constant : QStringList{"'007'", "'b'", "'B'", "'O''Brien'", "''", "'zürich'"})
            filters << "txt " + op + " " + constant << "nc " + op + " " + constant
                    << "a " + op + " " + constant;
        filters << "i " + op + " r"
                << "txt " + op + " nc";
    }
    for (const QString& column : QStringList{"i", "r", "txt", "nc", "a"})
        filters << QString(column) + " IS NULL"
                << "NOT (" + QString(column) + " IS NULL)";
    filters << "i IN (7, -3, NULL)"
            << "NOT (i IN (7, -3, NULL))"
            << "NOT (r IN (2.5, 7))"
            << "txt IN ('7', 'b')"
            << "NOT (nc IN ('b', NULL))"
            << "txt LIKE 'b%'"
            << "NOT (nc LIKE '%_%') OR i > 0";
    for (const QString& filter : filters)
        QTest::newRow(qPrintable(filter)) << filter;
}

void TestSQLiteFilter::strictTableSelectsWhatTheEngineAccepts()
{
    QFETCH(QString, filter);
    CompareWithEngine(QStringLiteral("ts"), filter);
}

// What a STRICT table's integer column holds SQLite compares as the dataset does:
// the filter is the bare column, which the index answers.
void TestSQLiteFilter::strictColumnsUseTheIndex()
{
    QVERIFY(TSQLiteTableInfo::Read(FDb->Handle(), QStringLiteral("ts")).IsStrict());
    QVERIFY(!TSQLiteTableInfo::Read(FDb->Handle(), QStringLiteral("t")).IsStrict());
    TSQLiteTable table;
    table.SetDatabase(FDb.get());
    table.SetTableName(QStringLiteral("ts"));
    table.SetFilter(QStringLiteral("i > 990"));
    table.SetFiltered(true);
    table.Open();
    QString plan;
    sqlite3_trace_v2(
        FDb->Handle(), SQLITE_TRACE_STMT,
        [](unsigned, void* context, void* statement, void*) {
            const char* sql = sqlite3_sql(static_cast<sqlite3_stmt*>(statement));
            if (sql && QByteArray(sql).contains("i\" > ?"))
                *static_cast<QString*>(context) = QString::fromUtf8(sql);
            return 0;
        },
        &plan);
    const int count = table.RecordCount();
    sqlite3_trace_v2(FDb->Handle(), 0, nullptr, nullptr);
    QVERIFY2(!plan.isEmpty() && !plan.contains(QLatin1String("orvo_field")), qPrintable(plan));
    QCOMPARE(count, int(FDb->ExecScalar(QStringLiteral("SELECT count(*) FROM ts WHERE i > 990")).AsInt64()));
    const auto expression = TFilterExpression::Parse(QStringLiteral("i > 990"), [](const QString&) {
        return std::optional<TFilterExpression::TFieldRef>(TFilterExpression::TFieldRef{0, ftInteger, "i"});
    });
    QString where;
    std::vector<TVariant> params;
    QVERIFY(expression->ToSql(
        [](int) { return TSQLiteFunctions::FilterFieldSql(QStringLiteral("i"), ftInteger, false, true); },
        where, params));
    TSQLiteStatement explain(FDb->Handle(),
                             QStringLiteral("EXPLAIN QUERY PLAN SELECT id FROM ts WHERE ") + where);
    QString details;
    while (explain.Step())
        details += explain.Column(3).AsString();
    QVERIFY2(details.contains(QLatin1String("INDEX ts_i")), qPrintable(details));
}

void TestSQLiteFilter::CompareWithEngine(const QString& tableName, const QString& filter)
{
    TSQLiteQuery engine;
    engine.SetDatabase(FDb.get());
    engine.SetSQL({QStringLiteral("SELECT * FROM ") + tableName});
    engine.SetCachedUpdates(true);
    engine.SetFilter(filter);
    engine.SetFiltered(true);
    engine.Open();
    const QList<qint64> expected = Ids(engine);

    TSQLiteTable table;
    table.SetDatabase(FDb.get());
    table.SetTableName(tableName);
    table.SetFilter(filter);
    table.SetFiltered(true);
    table.Open();
    QCOMPARE(table.RecordCount(), int(expected.size()));
    QCOMPARE(Ids(table), expected);

    TSQLiteQuery query;
    query.SetDatabase(FDb.get());
    query.SetSQL({QStringLiteral("SELECT * FROM ") + tableName});
    query.SetFilter(filter);
    query.SetFiltered(true);
    query.Open();
    QCOMPARE(query.RecordCount(), int(expected.size()));
    QCOMPARE(Ids(query), expected);
}

void TestSQLiteFilter::textFieldIsNullUsesTheIndex()
{
    const auto expression = TFilterExpression::Parse(QStringLiteral("txt IS NULL"), [](const QString&) {
        return std::optional<TFilterExpression::TFieldRef>(TFilterExpression::TFieldRef{0, ftString, "txt"});
    });
    QString where;
    std::vector<TVariant> params;
    QVERIFY(expression->ToSql(
        [](int) { return TSQLiteFunctions::FilterFieldSql(QStringLiteral("txt"), ftString, true); }, where,
        params));
    TSQLiteStatement plan(FDb->Handle(),
                          QStringLiteral("EXPLAIN QUERY PLAN SELECT id FROM t WHERE ") + where);
    QString details;
    while (plan.Step())
        details += plan.Column(3).AsString();
    QVERIFY2(details.contains(QLatin1String("USING COVERING INDEX t_txt")), qPrintable(details));
}

void TestSQLiteFilter::columnsCompareBareOnlyWhereSQLiteAgrees_data()
{
    QTest::addColumn<QString>("declaredType");
    QTest::addColumn<QString>("collation");
    QTest::addColumn<bool>("bare");
    QTest::newRow("text") << "TEXT"
                          << "BINARY" << true;
    QTest::newRow("varchar") << "VARCHAR(20)"
                             << "BINARY" << true;
    QTest::newRow("clob") << "CLOB"
                          << "BINARY" << true;
    QTest::newRow("no type") << ""
                             << "BINARY" << true;
    QTest::newRow("blob") << "BLOB"
                          << "BINARY" << true;
    QTest::newRow("nocase") << "TEXT"
                            << "NOCASE" << false;
    QTest::newRow("rtrim") << "TEXT"
                           << "RTRIM" << false;
    QTest::newRow("string is numeric") << "STRING"
                                       << "BINARY" << false;
    QTest::newRow("int wins over char") << "CHARINT"
                                        << "BINARY" << false;
    QTest::newRow("numeric") << "NUMERIC"
                             << "BINARY" << false;
    QTest::newRow("real") << "REAL"
                          << "BINARY" << false;
}

void TestSQLiteFilter::columnsCompareBareOnlyWhereSQLiteAgrees()
{
    QFETCH(QString, declaredType);
    QFETCH(QString, collation);
    QFETCH(bool, bare);
    QCOMPARE(TSQLiteFunctions::TextComparesBare(declaredType, collation), bare);
}

// Each condition on a bare column comes twice; a list that then passes SQLite's
// parameter limit is still translated, with the conversion alone.
void TestSQLiteFilter::longValueListsFallBackToTheConversion()
{
    QStringList values;
    for (int v = 0; v < 700; ++v)
        values << QString::number(v);
    const QString filter = QStringLiteral("i IN (%1)").arg(values.join(QStringLiteral(", ")));
    const auto expression = TFilterExpression::Parse(filter, [](const QString&) {
        return std::optional<TFilterExpression::TFieldRef>(TFilterExpression::TFieldRef{0, ftInteger, "i"});
    });
    QString where;
    std::vector<TVariant> params;
    QVERIFY(expression->ToSql(
        [](int) { return TSQLiteFunctions::FilterFieldSql(QStringLiteral("i"), ftInteger, true); }, where,
        params));
    QCOMPARE(params.size(), size_t(700));
    QVERIFY(where.startsWith(QLatin1String("orvo_field(i, ")));
}

QTEST_GUILESS_MAIN(TestSQLiteFilter)
#include "tst_sqlitefilter.moc"
