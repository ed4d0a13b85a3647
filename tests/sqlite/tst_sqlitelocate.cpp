// Deleting, internal-calculated values, Locate and filters on SQLite datasets, where the
// same question is answered either in SQL or record by record: both must answer alike.
#include "sqlitetestdb.h"

#include "common/sqlitebind.h"

#include "platform/data/tdatalink.h"
#include "platform/data/tdatasource.h"
#include "platform/data/tfielddatalink.h"
#include "platform/data/tfields.h"
#include "platform/data/tfilterexpression.h"
#include "platform/data/tfloatfield.h"
#include "platform/sqlite/tsqlitequery.h"
#include "platform/sqlite/tsqlitetable.h"

#include <sqlite3.h>

using namespace orvo;
using namespace orvo::test;

using orvo::test::StoredCount;

namespace {

// The rows where the two ways of answering used to part: letters beyond ASCII, a NUL inside a
// text, milliseconds, integers beyond 2^53, numbers in a column whose affinity is numeric,
// date-times far outside the calendar, and a text that reads as a NaN.
constexpr const char* kEdgeSchema =
    "CREATE TABLE edge (id INTEGER PRIMARY KEY, name TEXT, note MEMO, big BIGINT, ratio REAL,"
    " stamp DATETIME, flag BOOLEAN)";

struct TEdgeRow
{
    qint64 Id;
    TVariant Name, Note, Big, Ratio, Stamp, Flag;
};

std::vector<TEdgeRow> EdgeRows()
{
    const TVariant null = TVariant::Null();
    return {
        {1, "Ölbaum", "10", qint64(9007199254740993), 1.5, "2024-05-01 12:00:00.250", qint64(1)},
        {2, "ölbaum", "9", qint64(9007199254740992), 2.5, "2024-05-01 12:00:00", qint64(0)},
        {3, "Åre", "abc", qint64(-5), null, "2024-05-01 12:00:00.999", qint64(2)},
        {4, QString(QStringLiteral("a") + QChar(0) + QStringLiteral("b")), "100", null, 0.0, "2024-05-02",
         null},
        {5, "KELVIN \u212A", null, qint64(7), -1.0, 1e300, qint64(1)},
        {6, null, "09", qint64(0), 3.0, -1e18, qint64(0)},
        {7, "straße", "ß", qint64(9223372036854775807), 1e300, "2024-05-01 12:00:00.001", null},
        {8, null, null, null, "nan", null, null},
    };
}

// Writes through SQLite's own API, so that what is stored is exactly what the row says.
void CreateEdgeTable(const QString& path)
{
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    QCOMPARE(sqlite3_exec(db, kEdgeSchema, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_stmt* insert = nullptr;
    QCOMPARE(sqlite3_prepare_v2(db, "INSERT INTO edge VALUES (?, ?, ?, ?, ?, ?, ?)", -1, &insert, nullptr),
             SQLITE_OK);
    for (const TEdgeRow& row : EdgeRows()) {
        sqlite3_bind_int64(insert, 1, row.Id);
        const TVariant* values[] = {&row.Name, &row.Note, &row.Big, &row.Ratio, &row.Stamp, &row.Flag};
        for (int i = 0; i < 6; ++i) {
            const TVariant& v = *values[i];
            if (v.IsClear())
                sqlite3_bind_null(insert, i + 2);
            else if (v.VarType() == varInt64)
                sqlite3_bind_int64(insert, i + 2, v.AsInt64());
            else if (v.VarType() == varDouble)
                sqlite3_bind_double(insert, i + 2, v.AsFloat());
            else {
                const QByteArray utf8 = v.AsString().toUtf8();
                sqlite3_bind_text(insert, i + 2, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
            }
        }
        QCOMPARE(sqlite3_step(insert), SQLITE_DONE);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_close(db);
}

QList<qint64> SortedIds(TDataSet& ds)
{
    QList<qint64> ids = WalkForward(ds);
    std::sort(ids.begin(), ids.end());
    return ids;
}

// What the filter engine accepts record by record, reading the fields as the dataset shows them:
// the record path, whatever the dataset does with the filter.
QList<qint64> AcceptedRecordByRecord(TDataSet& ds, const QString& filter)
{
    const auto resolve = [&ds](const QString& name) -> std::optional<TFilterExpression::TFieldRef> {
        const TField* field = ds.FindField(name);
        if (!field)
            return std::nullopt;
        return TFilterExpression::TFieldRef{field->Index(), field->DataType(), field->FieldName()};
    };
    const std::unique_ptr<TFilterExpression> expression = TFilterExpression::Parse(filter, resolve);
    QList<qint64> ids;
    for (ds.First(); !ds.Eof(); ds.Next())
        if (expression->Matches([&ds](int index) { return ds.Fields()->Field(index)->AsVariant(); }))
            ids << CurrentId(ds);
    std::sort(ids.begin(), ids.end());
    return ids;
}

void FilterPerRecord(TDataSet& ds)
{
    ds.SetOnFilterRecord([](TDataSet*, bool& accept) { accept = true; });
}

} // namespace

class TestSQLiteLocate : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void deleteMakesTheNextRecordCurrent_data();
    void deleteMakesTheNextRecordCurrent();
    void internalCalcValuesFollowTheRecord();
    void partialKeyAppliesToTheLastFieldOnly_data();
    void partialKeyAppliesToTheLastFieldOnly();
    void caseInsensitiveSearchesFoldUnicode_data();
    void caseInsensitiveSearchesFoldUnicode();
    void filterPathsSelectTheSameRows_data();
    void filterPathsSelectTheSameRows();
    void dateTimesBefore1899ReadAsStored();

private:
    std::unique_ptr<TDataSet> OpenDataSet(bool query, const QString& table, const QString& order);

    std::unique_ptr<test::SampleDatabase> FSample;
};

void TestSQLiteLocate::init()
{
    FSample = std::make_unique<test::SampleDatabase>();
}

void TestSQLiteLocate::cleanup()
{
    FSample.reset();
}

std::unique_ptr<TDataSet> TestSQLiteLocate::OpenDataSet(bool query, const QString& table,
                                                        const QString& order)
{
    if (query) {
        auto q = std::make_unique<TSQLiteQuery>();
        q->SetDatabase(FSample->Db.get());
        q->SetSQL(
            {QStringLiteral("SELECT * FROM %1 ORDER BY %2").arg(table, QString(order).replace(';', ','))});
        q->Open();
        return q;
    }
    auto t = std::make_unique<TSQLiteTable>();
    t->SetDatabase(FSample->Db.get());
    t->SetTableName(table);
    t->SetIndexFieldNames(order);
    t->SetPageSize(3);
    t->Open();
    return t;
}

void TestSQLiteLocate::deleteMakesTheNextRecordCurrent_data()
{
    QTest::addColumn<bool>("query");
    QTest::addColumn<int>("window");
    QTest::addColumn<int>("recNo");
    for (const bool query : {false, true})
        for (const int window : {0, 1, 7})
            for (const int recNo : {1, 2, 3, 4, 13, 24, 25}) {
                const char* kind = query ? "query" : "table";
                const QString name =
                    QStringLiteral("%1, window %2, record %3").arg(kind).arg(window).arg(recNo);
                QTest::newRow(qPrintable(name)) << query << window << recNo;
            }
}

void TestSQLiteLocate::deleteMakesTheNextRecordCurrent()
{
    QFETCH(bool, query);
    QFETCH(int, window);
    QFETCH(int, recNo);
    const QList<qint64> order = FSample->Ids(QStringLiteral("SELECT id FROM customers ORDER BY score, id"));
    const std::unique_ptr<TDataSet> ds =
        OpenDataSet(query, QStringLiteral("customers"), QStringLiteral("score;id"));
    TDataSource source;
    source.SetDataSet(ds.get());
    // No link at all, a single field's link, or a grid's window of several records.
    TDataLink gridLink;
    TFieldDataLink fieldLink;
    if (window == 1) {
        fieldLink.SetFieldName(QStringLiteral("name"));
        fieldLink.SetDataSource(&source);
    } else if (window > 1) {
        gridLink.SetDataSource(&source);
        gridLink.SetBufferCount(window);
    }
    ds->SetRecNo(recNo);
    const qint64 deleted = CurrentId(*ds);
    QCOMPARE(deleted, order[recNo - 1]);
    ds->Delete();
    QCOMPARE(StoredCount(FSample->Path(), "SELECT count(*) FROM customers"), qint64(24));
    const int expectedIndex = recNo < order.size() ? recNo : recNo - 2;
    QCOMPARE(CurrentId(*ds), order[expectedIndex]);
    QCOMPARE(ds->RecNo(), std::min(recNo, int(order.size()) - 1));
    // The neighbours are still there and in order.
    QList<qint64> rest = order;
    rest.removeAt(recNo - 1);
    QCOMPARE(WalkForward(*ds), rest);
}

void TestSQLiteLocate::internalCalcValuesFollowTheRecord()
{
    TSQLiteTable table;
    table.SetDatabase(FSample->Db.get());
    table.SetTableName(QStringLiteral("customers"));
    table.SetIndexFieldNames(QStringLiteral("name"));
    table.SetPageSize(3);
    table.Open();
    auto* mark = new TFloatField(&table);
    mark->SetFieldName(QStringLiteral("Mark"));
    mark->SetFieldKind(fkInternalCalc);
    mark->SetDataSet(&table);
    const auto markOf = [&](qint64 id) {
        if (!table.Locate(QStringLiteral("id"), id, {}))
            return -1.0;
        return mark->IsNull() ? 0.0 : mark->AsFloat();
    };
    for (const qint64 id : {4, 5, 17}) {
        QVERIFY(table.Locate(QStringLiteral("id"), id, {}));
        table.Edit();
        mark->SetAsFloat(double(id) + 0.5);
        table.Post();
    }
    // A post that moves the record in the order keeps its value with it.
    QVERIFY(table.Locate(QStringLiteral("id"), 5, {}));
    table.Edit();
    table.FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("Zz moved"));
    table.Post();
    QCOMPARE(CurrentId(table), qint64(5));
    QCOMPARE(mark->AsFloat(), 5.5);
    QCOMPARE(markOf(4), 4.5);
    QCOMPARE(markOf(5), 5.5);
    QCOMPARE(markOf(6), 0.0);
    // So does another order.
    table.SetIndexFieldNames(QStringLiteral("score;city"));
    QCOMPARE(markOf(4), 4.5);
    QCOMPARE(markOf(5), 5.5);
    QCOMPARE(markOf(17), 17.5);
    table.SetIndexFieldNames(QString());
    QCOMPARE(markOf(17), 17.5);
    // A deleted record takes its value along; nothing else does.
    QVERIFY(table.Locate(QStringLiteral("id"), 17, {}));
    table.Delete();
    QCOMPARE(markOf(4), 4.5);
    QCOMPARE(markOf(17), -1.0);
}

void TestSQLiteLocate::partialKeyAppliesToTheLastFieldOnly_data()
{
    QTest::addColumn<QString>("fields");
    QTest::addColumn<TVariant>("values");
    QTest::addColumn<bool>("caseInsensitive");
    QTest::addColumn<qint64>("expected");
    // customers: name NameNN, city Berlin/Paris/NULL/Oslo/paris by (id - 1) % 5.
    QTest::newRow("first field whole, last a prefix")
        << "city;name" << VarArrayOf({TVariant("Oslo"), TVariant("Name1")}) << false << qint64(14);
    QTest::newRow("first field is no prefix")
        << "city;name" << VarArrayOf({TVariant("Osl"), TVariant("Name1")}) << false << qint64(-1);
    QTest::newRow("no case, first field is no prefix")
        << "city;name" << VarArrayOf({TVariant("PAR"), TVariant("name")}) << true << qint64(-1);
    QTest::newRow("no case, last a prefix")
        << "city;name" << VarArrayOf({TVariant("PARIS"), TVariant("name1")}) << true << qint64(10);
    QTest::newRow("single field prefix") << "name" << TVariant("Name2") << false << qint64(20);
    QTest::newRow("text key of a number field is whole")
        << "name;score" << VarArrayOf({TVariant("Name07"), TVariant(9)}) << false << qint64(7);
}

void TestSQLiteLocate::partialKeyAppliesToTheLastFieldOnly()
{
    QFETCH(QString, fields);
    QFETCH(TVariant, values);
    QFETCH(bool, caseInsensitive);
    QFETCH(qint64, expected);
    TLocateOptions options{loPartialKey};
    if (caseInsensitive)
        options = options + loCaseInsensitive;
    // The table in SQL, the table record by record, and the query.
    for (int path = 0; path < 3; ++path) {
        const std::unique_ptr<TDataSet> ds =
            OpenDataSet(path == 2, QStringLiteral("customers"), QStringLiteral("id"));
        if (path == 1)
            FilterPerRecord(*ds);
        ds->SetRecNo(22);
        QVERIFY2(ds->Locate(fields, values, options) == (expected > 0), qPrintable(QString::number(path)));
        QCOMPARE(CurrentId(*ds), expected > 0 ? expected : qint64(22));
    }
}

void TestSQLiteLocate::caseInsensitiveSearchesFoldUnicode_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("partial");
    QTest::addColumn<QList<qint64>>("expected");
    QTest::newRow("umlaut") << "öLBAUM" << false << QList<qint64>{1, 2};
    QTest::newRow("ring") << "åR" << true << QList<qint64>{3};
    QTest::newRow("whole word is no prefix") << "åR" << false << QList<qint64>{};
    QTest::newRow("kelvin sign folds to k") << "kelvin k" << false << QList<qint64>{5};
    QTest::newRow("text after a NUL counts")
        << QString(QStringLiteral("A") + QChar(0) + QStringLiteral("B")) << false << QList<qint64>{4};
    QTest::newRow("prefix up to a NUL")
        << QString(QStringLiteral("A") + QChar(0)) << true << QList<qint64>{4};
}

void TestSQLiteLocate::caseInsensitiveSearchesFoldUnicode()
{
    QFETCH(QString, key);
    QFETCH(bool, partial);
    QFETCH(QList<qint64>, expected);
    CreateEdgeTable(FSample->Path());
    TLocateOptions options{loCaseInsensitive};
    if (partial)
        options = options + loPartialKey;
    for (int path = 0; path < 3; ++path) {
        const std::unique_ptr<TDataSet> ds =
            OpenDataSet(path == 2, QStringLiteral("edge"), QStringLiteral("id"));
        if (path == 1)
            FilterPerRecord(*ds);
        ds->Last();
        const bool found = ds->Locate(QStringLiteral("name"), key, options);
        QVERIFY2(found == !expected.isEmpty(), qPrintable(QString::number(path)));
        if (found)
            QCOMPARE(CurrentId(*ds), expected.front());
        // LIKE folds the same way.
        const QString like =
            QStringLiteral("name like %1").arg(TFilterExpression::QuotedString(key + (partial ? "%" : "")));
        QCOMPARE(AcceptedRecordByRecord(*ds, like), expected);
        ds->SetFilter(like);
        ds->SetFiltered(true);
        QCOMPARE(SortedIds(*ds), expected);
    }
}

void TestSQLiteLocate::filterPathsSelectTheSameRows_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QList<qint64>>("expected");
    // A NUL inside a LIKE pattern: SQLite's LIKE stops at it.
    QTest::newRow("like with NUL") << QString(QStringLiteral("name like 'a") + QChar(0) +
                                              QStringLiteral("c'"))
                                   << QList<qint64>{};
    QTest::newRow("like up to NUL") << QString(QStringLiteral("name like 'a") + QChar(0) +
                                               QStringLiteral("%'"))
                                    << QList<qint64>{4};
    QTest::newRow("like folds beyond ASCII") << "name like 'ÖL%'" << QList<qint64>{1, 2};
    QTest::newRow("like sharp s stays") << "name like 'STRASSE'" << QList<qint64>{};
    QTest::newRow("not like keeps Null unknown") << "not (name like '%a%')" << QList<qint64>{3, 5};
    // Milliseconds count.
    QTest::newRow("milliseconds equal") << "stamp = '2024-05-01 12:00:00'" << QList<qint64>{2};
    QTest::newRow("milliseconds after") << "stamp > '2024-05-01 12:00:00'" << QList<qint64>{1, 3, 4, 7};
    QTest::newRow("date-times outside the calendar are Null") << "stamp is null" << QList<qint64>{5, 6, 8};
    QTest::newRow("a text that reads as NaN is Null") << "ratio is null" << QList<qint64>{3, 8};
    QTest::newRow("outside the calendar in NOT IN")
        << "not (stamp in ('2024-05-02', NULL))" << QList<qint64>{};
    QTest::newRow("outside the calendar compared") << "stamp < '2024-05-02'" << QList<qint64>{1, 2, 3, 7};
    // Exact integers.
    QTest::newRow("2^53 + 1 is not 2^53") << "big = 9007199254740992.0" << QList<qint64>{2};
    QTest::newRow("2^53 + 1 is above 2^53") << "big > 9007199254740992.0" << QList<qint64>{1, 7};
    QTest::newRow("IN finds the exact one") << "big in (9007199254740992.0, 7, 1e30)" << QList<qint64>{2, 5};
    QTest::newRow("max int64 against 2^63")
        << "big < 9223372036854775808.0" << QList<qint64>{1, 2, 3, 5, 6, 7};
    QTest::newRow("floats") << "ratio >= 1.5" << QList<qint64>{1, 2, 6, 7};
    // Text in a column of numeric affinity compares as text.
    QTest::newRow("memo compares as text") << "note < '9'" << QList<qint64>{1, 4};
    QTest::newRow("memo equals text") << "note = '09'" << QList<qint64>{};
    QTest::newRow("memo in list") << "note in ('10', '100', 'ß')" << QList<qint64>{1, 4, 7};
    // Null inside nested NOT and IN.
    QTest::newRow("not in with Null") << "not (big in (7, NULL))" << QList<qint64>{};
    QTest::newRow("not not in") << "not (not (flag in (1)))" << QList<qint64>{1, 3, 5};
    QTest::newRow("or rescues unknown") << "(note in ('9', NULL)) or (flag = False)" << QList<qint64>{2, 6};
    QTest::newRow("not of or with unknown")
        << "not ((name is null) or (note > 'a'))" << QList<qint64>{1, 2, 4};
}

void TestSQLiteLocate::filterPathsSelectTheSameRows()
{
    QFETCH(QString, filter);
    QFETCH(QList<qint64>, expected);
    CreateEdgeTable(FSample->Path());
    for (const bool query : {false, true}) {
        const std::unique_ptr<TDataSet> ds = OpenDataSet(query, QStringLiteral("edge"), QStringLiteral("id"));
        QCOMPARE(AcceptedRecordByRecord(*ds, filter), expected);
        ds->SetFilter(filter);
        ds->SetFiltered(true);
        QCOMPARE(SortedIds(*ds), expected);
        QCOMPARE(ds->RecordCount(), int(expected.size()));
    }
}

// Before 30 December 1899 the time fraction counts away from zero: 06:00 on a day before the
// epoch must not read as 18:00 on the next day, in the dataset or in a filter.
void TestSQLiteLocate::dateTimesBefore1899ReadAsStored()
{
    FSample->Db->ExecSQL(
        QStringLiteral("CREATE TABLE old (id INTEGER PRIMARY KEY, stamp DATETIME);"
                       "INSERT INTO old VALUES (1, '1850-06-15 06:00:00'), (2, '1899-12-29 18:30:00')"));
    for (const bool query : {false, true}) {
        const std::unique_ptr<TDataSet> ds = OpenDataSet(query, QStringLiteral("old"), QStringLiteral("id"));
        QCOMPARE(ds->FieldByName(QStringLiteral("stamp"))->AsDateTime().ToQDateTime(),
                 QDateTime(QDate(1850, 6, 15), QTime(6, 0)));
        ds->Next();
        QCOMPARE(ds->FieldByName(QStringLiteral("stamp"))->AsDateTime().ToQDateTime(),
                 QDateTime(QDate(1899, 12, 29), QTime(18, 30)));
        const QString filter = QStringLiteral("stamp < '1850-06-15 12:00'");
        QCOMPARE(AcceptedRecordByRecord(*ds, filter), QList<qint64>{1});
        ds->SetFilter(filter);
        ds->SetFiltered(true);
        QCOMPARE(SortedIds(*ds), QList<qint64>{1});
    }
}

QTEST_GUILESS_MAIN(TestSQLiteLocate)
#include "tst_sqlitelocate.moc"
