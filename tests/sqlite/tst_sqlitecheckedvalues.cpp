#include "platform/data/tfield.h"
#include "platform/data/tnumericfield.h"
#include "platform/data/trecordtexttest.h"
#include "platform/sqlite/tsqlitedatabase.h"
#include "platform/sqlite/tsqlitefunctions.h"
#include "platform/sqlite/tsqlitequery.h"
#include "platform/sqlite/tsqlitestatement.h"
#include "platform/sqlite/tsqlitetable.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

#include <memory>

using namespace orvo;

namespace {

constexpr int kRows = 300;

// Text, integer and numeric affinities, a collation the dataset does not share, no
// declared type, and a REAL column whose text the SQL does not reproduce; an index, which
// the integer column's condition uses.
constexpr const char* kCreate =
    "CREATE TABLE v (id INTEGER PRIMARY KEY, txt TEXT, vc VARCHAR(30), n INTEGER, st STRING, bare, "
    "nc TEXT COLLATE NOCASE, r REAL);"
    "CREATE INDEX v_n ON v (n)";
constexpr int kValueColumns = 7;

// Texts that fold alike, or nearly: Unicode's folding, not SQLite's ASCII one.
const char* const kTexts[] = {"ß",
                              "ẞ",
                              "SS",
                              "ss",
                              "İ",
                              "i̇",
                              "I",
                              "ı",
                              "i",
                              "Straße",
                              "STRASSE",
                              "007",
                              "7",
                              " 7",
                              "7 ",
                              "-3",
                              "",
                              "O'Brien",
                              "o'brien",
                              "%",
                              "_",
                              "a%b",
                              "[x]",
                              "line\nbreak",
                              "LINE\nBREAK",
                              "tail ",
                              "Tail",
                              "ǅ",
                              "Ǆ",
                              "ǆ",
                              "K",
                              "k",
                              "\xE2\x84\xAA",
                              "Zürich",
                              "ZÜRICH",
                              "1e3",
                              "7.0",
                              "abc",
                              "ABC",
                              "3",
                              "0",
                              "1000",
                              "9223372036854775807",
                              "-0",
                              "+7"};

// What a person may store in any column of a dynamically typed database.
void BindRandom(sqlite3_stmt* statement, int parameter, QRandomGenerator& random)
{
    static const qint64 integers[] = {7, -3, 0, 1000, 3, 9223372036854775807LL, -9223372036854775807LL - 1};
    static const double reals[] = {7.0, 2.5, -2.5, 3.4999, -3.0, 1e20, 9.21e18};
    switch (random.bounded(7)) {
    case 0:
        sqlite3_bind_null(statement, parameter);
        break;
    case 1:
        sqlite3_bind_int64(statement, parameter, integers[random.bounded(int(std::size(integers)))]);
        break;
    case 2:
        sqlite3_bind_double(statement, parameter, reals[random.bounded(int(std::size(reals)))]);
        break;
    case 3:
        // A NUL inside a text is part of it.
        sqlite3_bind_text(statement, parameter, "a\0b", 3, SQLITE_STATIC);
        break;
    case 4:
        sqlite3_bind_blob(statement, parameter, "ABC", 3, SQLITE_STATIC);
        break;
    default:
        sqlite3_bind_text(statement, parameter, kTexts[random.bounded(int(std::size(kTexts)))], -1,
                          SQLITE_STATIC);
    }
}

// Written through SQLite's own API, so that every value keeps the storage class SQLite's
// affinity gives it ('007' becomes 7 in the INTEGER column, stays text in TEXT).
void FillRandomly(const QString& path, quint32 seed)
{
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    QCOMPARE(sqlite3_exec(db, kCreate, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    QCOMPARE(sqlite3_prepare_v2(db, "INSERT INTO v VALUES (NULL, ?, ?, ?, ?, ?, ?, ?)", -1, &insert, nullptr),
             SQLITE_OK);
    QRandomGenerator random(seed);
    for (int row = 0; row < kRows; ++row) {
        for (int p = 1; p <= kValueColumns; ++p)
            BindRandom(insert, p, random);
        QCOMPARE(sqlite3_step(insert), SQLITE_DONE);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// A checked list as a person picks it: texts in any case, the empty text, numbers.
QStringList RandomList(QRandomGenerator& random)
{
    QStringList values;
    const int count = 1 + random.bounded(6);
    for (int i = 0; i < count; ++i) {
        const QString text = QString::fromUtf8(kTexts[random.bounded(int(std::size(kTexts)))]);
        values << (random.bounded(3) == 0 ? text.toUpper() : text);
    }
    if (random.bounded(4) == 0)
        values << QString();
    return values;
}

QList<qint64> Ids(TDataSet& dataSet)
{
    QList<qint64> ids;
    for (dataSet.First(); !dataSet.Eof(); dataSet.Next())
        ids << dataSet.FieldByName(QStringLiteral("id"))->AsVariant().AsInt64();
    return ids;
}

// The records the test accepts among those the dataset's Filter lets through, judged
// one by one as the record handler judges them.
QList<qint64> Verdicts(TDataSet& dataSet, const TRecordTextTest& test)
{
    QList<qint64> ids;
    for (dataSet.First(); !dataSet.Eof(); dataSet.Next())
        if (test.Matches())
            ids << dataSet.FieldByName(QStringLiteral("id"))->AsVariant().AsInt64();
    return ids;
}

/// A record handler that runs `test` and counts its calls, so that a check can tell
/// whether SQL answered instead.
struct TCountingHandler
{
    std::shared_ptr<TRecordTextTest> Test = std::make_shared<TRecordTextTest>();
    int Calls = 0;

    TFilterRecordEvent Handler()
    {
        return [this](TDataSet*, bool& accept) {
            ++Calls;
            accept = Test->Matches();
        };
    }
};

} // namespace

class TestSQLiteCheckedValues : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sqlSelectsWhatTheRecordTestAccepts_data();
    void sqlSelectsWhatTheRecordTestAccepts();
    void textsSqlCannotReproduceStayWithTheRecordTest_data();
    void textsSqlCannotReproduceStayWithTheRecordTest();
    void integerListsFindTheirRowsThroughTheIndex_data();
    void integerListsFindTheirRowsThroughTheIndex();
    void columnNamesWithPlaceholdersStayWhole();
    void aListOfFortyThousandValues();
    void anUndescribedHandlerIsCalledPerRecord();

private:
    /// The rows RowSourceSql() selects, counted on a connection of SQLite's own.
    qint64 RowSourceCount(const TSQLiteDataSet& dataSet) const;
    /// SQLite's plan for counting the rows RowSourceSql() selects.
    QString RowSourcePlan(const TSQLiteDataSet& dataSet) const;
    void CompareBothPaths(TSQLiteDataSet& dataSet, quint32 seed, const QString& filter);

    QTemporaryDir FDir;
    std::unique_ptr<TSQLiteDatabase> FDb;
};

void TestSQLiteCheckedValues::initTestCase()
{
    const QString path = FDir.filePath(QStringLiteral("checked.db"));
    FillRandomly(path, 20261210);
    FDb = std::make_unique<TSQLiteDatabase>();
    FDb->SetDatabaseName(path);
    FDb->Open();
}

qint64 TestSQLiteCheckedValues::RowSourceCount(const TSQLiteDataSet& dataSet) const
{
    const QString source = dataSet.RowSourceSql();
    if (source.isEmpty())
        return -1;
    sqlite3* db = nullptr;
    sqlite3_open_v2(FDb->DatabaseName().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    TSQLiteFunctions::Register(db);
    qint64 count = -1;
    {
        TSQLiteStatement statement(db, QStringLiteral("SELECT count(*) FROM (%1)").arg(source));
        dataSet.BindRowSource(statement);
        if (statement.Step())
            count = statement.ColumnInt64(0);
    }
    sqlite3_close(db);
    return count;
}

void TestSQLiteCheckedValues::sqlSelectsWhatTheRecordTestAccepts_data()
{
    QTest::addColumn<bool>("query");
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<QString>("filter");
    const QStringList filters = {QString(), QStringLiteral("n IN (7, NULL)"),
                                 QStringLiteral("NOT (txt IN ('ss', NULL)) OR n IS NULL"),
                                 QStringLiteral("NOT (NOT (vc IS NULL) AND st IN ('7', 'abc'))")};
    for (quint32 seed = 1; seed <= 24; ++seed) {
        const QString filter = filters[int(seed % 4)];
        QTest::addRow("table %u", seed) << false << seed << filter;
        QTest::addRow("query %u", seed) << true << seed << filter;
    }
}

void TestSQLiteCheckedValues::CompareBothPaths(TSQLiteDataSet& dataSet, quint32 seed, const QString& filter)
{
    // A query reads the column of no declared type as binary, whose text SQL does not give.
    static const char* const columns[] = {"txt", "vc", "n", "st", "nc", "bare"};
    const int choices = int(std::size(columns)) - (qobject_cast<TSQLiteQuery*>(&dataSet) ? 1 : 0);
    QRandomGenerator random(seed);
    TCountingHandler counting;
    // One or two checked columns at once.
    const int conditions = 1 + random.bounded(2);
    for (int i = 0; i < conditions; ++i) {
        const QString column = QString::fromLatin1(columns[random.bounded(choices)]);
        counting.Test->Add(dataSet.FieldByName(column), RandomList(random));
    }
    dataSet.SetFilter(filter);
    dataSet.SetFiltered(true);
    const QList<qint64> verdicts = Verdicts(dataSet, *counting.Test);

    dataSet.SetOnFilterRecord(counting.Handler(), counting.Test);
    QCOMPARE(Ids(dataSet), verdicts);
    QCOMPARE(dataSet.RecordCount(), int(verdicts.size()));
    QCOMPARE(RowSourceCount(dataSet), qint64(verdicts.size()));
    QCOMPARE(counting.Calls, 0);

    dataSet.SetOnFilterRecord(counting.Handler());
    QCOMPARE(Ids(dataSet), verdicts);
    QVERIFY(counting.Calls > 0);
}

void TestSQLiteCheckedValues::sqlSelectsWhatTheRecordTestAccepts()
{
    QFETCH(bool, query);
    QFETCH(quint32, seed);
    QFETCH(QString, filter);
    std::unique_ptr<TSQLiteDataSet> dataSet;
    if (query) {
        auto sql = std::make_unique<TSQLiteQuery>();
        sql->SetSQL({QStringLiteral("SELECT * FROM v")});
        dataSet = std::move(sql);
    } else {
        auto table = std::make_unique<TSQLiteTable>();
        table->SetTableName(QStringLiteral("v"));
        dataSet = std::move(table);
    }
    dataSet->SetDatabase(FDb.get());
    dataSet->Open();
    CompareBothPaths(*dataSet, seed, filter);
}

void TestSQLiteCheckedValues::textsSqlCannotReproduceStayWithTheRecordTest_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QStringList>("values");
    const QStringList values = {QStringLiteral("7"), QStringLiteral("7.0"), QStringLiteral("2.5"), QString()};
    QTest::newRow("a real's text") << "r" << QString() << values;
    QTest::newRow("text shown by a handler") << "txt"
                                             << "OnGetText" << values;
    QTest::newRow("a number's edit format") << "n"
                                            << "EditFormat" << values;
    QTest::newRow("a number's display format") << "n"
                                               << "DisplayFormat" << values;
    QTest::newRow("a NUL in a checked value")
        << "txt" << QString() << QStringList{QString::fromUtf8("a\0b", 3)};
}

void TestSQLiteCheckedValues::textsSqlCannotReproduceStayWithTheRecordTest()
{
    QFETCH(QString, column);
    QFETCH(QString, setting);
    QFETCH(QStringList, values);
    TSQLiteTable table;
    table.SetDatabase(FDb.get());
    table.SetTableName(QStringLiteral("v"));
    table.Open();
    TField* field = table.FieldByName(column);
    if (setting == QLatin1String("OnGetText"))
        field->OnGetText = [](TField* sender, QString& text, bool) { text = sender->AsString().left(1); };
    else if (setting == QLatin1String("EditFormat"))
        qobject_cast<TNumericField*>(field)->SetEditFormat(QStringLiteral("0.0"));
    else if (setting == QLatin1String("DisplayFormat"))
        qobject_cast<TNumericField*>(field)->SetDisplayFormat(QStringLiteral("0.0"));
    TCountingHandler counting;
    counting.Test->Add(field, values);
    table.SetFiltered(true);
    const QList<qint64> verdicts = Verdicts(table, *counting.Test);
    QVERIFY(!verdicts.isEmpty());

    table.SetOnFilterRecord(counting.Handler(), counting.Test);
    QCOMPARE(Ids(table), verdicts);
    QVERIFY(counting.Calls > 0);
    // The totals cannot take the rows from SQL then.
    QVERIFY(table.RowSourceSql().isEmpty());
}

QString TestSQLiteCheckedValues::RowSourcePlan(const TSQLiteDataSet& dataSet) const
{
    TSQLiteStatement statement(
        FDb->Handle(),
        QStringLiteral("EXPLAIN QUERY PLAN SELECT count(*) FROM (%1)").arg(dataSet.RowSourceSql()));
    dataSet.BindRowSource(statement);
    QStringList plan;
    while (statement.Step())
        plan << statement.Column(3).AsString();
    return plan.join(QLatin1Char('\n'));
}

void TestSQLiteCheckedValues::integerListsFindTheirRowsThroughTheIndex_data()
{
    QTest::addColumn<QStringList>("values");
    // Integers, reals that round to them, texts that parse to them, and what reads as Null.
    QTest::newRow("3") << QStringList{QStringLiteral("3")};
    QTest::newRow("7") << QStringList{QStringLiteral("7")};
    QTest::newRow("-3") << QStringList{QStringLiteral("-3")};
    QTest::newRow("the empty text") << QStringList{QString()};
    QTest::newRow("the largest") << QStringList{QStringLiteral("9223372036854775807")};
    QTest::newRow("the smallest") << QStringList{QStringLiteral("-9223372036854775808")};
    QTest::newRow("texts no number shows") << QStringList{QStringLiteral("007"), QStringLiteral("+7"),
                                                          QStringLiteral("-0"), QStringLiteral(" 7")};
    QTest::newRow("several") << QStringList{QStringLiteral("0"), QStringLiteral("1000"), QString(),
                                            QStringLiteral("abc")};
}

void TestSQLiteCheckedValues::integerListsFindTheirRowsThroughTheIndex()
{
    QFETCH(QStringList, values);
    TSQLiteTable table;
    table.SetDatabase(FDb.get());
    table.SetTableName(QStringLiteral("v"));
    table.Open();
    TCountingHandler counting;
    counting.Test->Add(table.FieldByName(QStringLiteral("n")), values);
    table.SetFiltered(true);
    const QList<qint64> verdicts = Verdicts(table, *counting.Test);

    table.SetOnFilterRecord(counting.Handler(), counting.Test);
    QCOMPARE(Ids(table), verdicts);
    QCOMPARE(RowSourceCount(table), qint64(verdicts.size()));
    QCOMPARE(counting.Calls, 0);
    const QString plan = RowSourcePlan(table);
    QVERIFY2(plan.contains(QLatin1String("INDEX v_n")), qPrintable(plan));
    QVERIFY2(!plan.contains(QLatin1String("SCAN v")), qPrintable(plan));
}

void TestSQLiteCheckedValues::columnNamesWithPlaceholdersStayWhole()
{
    FDb->ExecSQL(
        QStringLiteral("CREATE TABLE \"w%1\" (id INTEGER PRIMARY KEY, \"t%2\" TEXT, \"n%1\" INTEGER);"
                       "CREATE INDEX w_n ON \"w%1\" (\"n%1\");"
                       "INSERT INTO \"w%1\" VALUES (1, 'strasse', 7), (2, 'STRASSE', 8), (3, NULL, 7), "
                       "(4, 'Straße', 7)"));
    TSQLiteTable table;
    table.SetDatabase(FDb.get());
    table.SetTableName(QStringLiteral("w%1"));
    table.Open();
    TCountingHandler counting;
    counting.Test->Add(table.FieldByName(QStringLiteral("t%2")), {QStringLiteral("Strasse")});
    counting.Test->Add(table.FieldByName(QStringLiteral("n%1")), {QStringLiteral("7")});
    table.SetFiltered(true);
    table.SetOnFilterRecord(counting.Handler(), counting.Test);
    QCOMPARE(Ids(table), QList<qint64>{1});
    QCOMPARE(counting.Calls, 0);

    // So does a filter expression on them.
    table.SetOnFilterRecord(nullptr);
    table.SetFilter(QStringLiteral("[n%1] = 7 AND [t%2] = 'Straße'"));
    QCOMPARE(Ids(table), QList<qint64>{4});
    QVERIFY(!table.RowSourceSql().isEmpty());
}

void TestSQLiteCheckedValues::aListOfFortyThousandValues()
{
    TSQLiteTable table;
    table.SetDatabase(FDb.get());
    table.SetTableName(QStringLiteral("v"));
    table.Open();
    QStringList values;
    for (int i = 0; i < 40000; ++i)
        values << QStringLiteral("value %1").arg(i);
    values << QStringLiteral("ABC") << QStringLiteral("o'BRIEN");
    TCountingHandler counting;
    counting.Test->Add(table.FieldByName(QStringLiteral("vc")), values);
    table.SetFiltered(true);
    const QList<qint64> verdicts = Verdicts(table, *counting.Test);
    QVERIFY(!verdicts.isEmpty());

    table.SetOnFilterRecord(counting.Handler(), counting.Test);
    QCOMPARE(Ids(table), verdicts);
    QCOMPARE(RowSourceCount(table), qint64(verdicts.size()));
    QCOMPARE(counting.Calls, 0);
}

void TestSQLiteCheckedValues::anUndescribedHandlerIsCalledPerRecord()
{
    TSQLiteTable table;
    table.SetDatabase(FDb.get());
    table.SetTableName(QStringLiteral("v"));
    table.Open();
    TCountingHandler counting;
    counting.Test->Add(table.FieldByName(QStringLiteral("txt")), {QStringLiteral("abc")});
    table.SetFiltered(true);
    table.SetOnFilterRecord(counting.Handler(), counting.Test);
    const QList<qint64> described = Ids(table);
    QCOMPARE(counting.Calls, 0);

    // A plain handler replaces the description with it: nothing may skip it then.
    int calls = 0;
    table.SetOnFilterRecord([&calls](TDataSet*, bool& accept) {
        ++calls;
        accept = false;
    });
    QVERIFY(Ids(table).isEmpty());
    QVERIFY(calls > 0);
    QVERIFY(table.RowSourceSql().isEmpty());

    // Described again, and then no longer filtered: every record, no call.
    table.SetOnFilterRecord(counting.Handler(), counting.Test);
    QCOMPARE(Ids(table), described);
    table.SetFiltered(false);
    QCOMPARE(table.RecordCount(), kRows);
    QCOMPARE(counting.Calls, 0);
}

QTEST_GUILESS_MAIN(TestSQLiteCheckedValues)
#include "tst_sqlitecheckedvalues.moc"
