#include "sqlitetestdb.h"

#include "platform/data/tdatasource.h"
#include "platform/data/tfield.h"
#include "platform/data/tfields.h"
#include "platform/sqlite/tsqlitequery.h"
#include "platform/sqlite/tsqlitetable.h"

#include <sqlite3.h>

using namespace orvo;
using namespace orvo::test;

namespace {

/// The first column of the first row as SQLite itself returns it (bypassing the datasets).
TVariant Stored(sqlite3* db, const QString& sql)
{
    sqlite3_stmt* stmt = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db, utf8.constData(), -1, &stmt, nullptr) != SQLITE_OK)
        throw EDatabaseError(QString::fromUtf8(sqlite3_errmsg(db)));
    TVariant value = TVariant::Null();
    if (sqlite3_step(stmt) == SQLITE_ROW) {
        switch (sqlite3_column_type(stmt, 0)) {
        case SQLITE_INTEGER:
            value = TVariant(qint64(sqlite3_column_int64(stmt, 0)));
            break;
        case SQLITE_FLOAT:
            value = TVariant(sqlite3_column_double(stmt, 0));
            break;
        case SQLITE_TEXT:
            value = TVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)),
                                               sqlite3_column_bytes(stmt, 0)));
            break;
        default:
            break;
        }
    }
    sqlite3_finalize(stmt);
    return value;
}

/// Writes through a raw statement, as another program would.
int WriteRaw(sqlite3* db, const QString& sql, const QString& text = QString())
{
    sqlite3_stmt* stmt = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    int rc = sqlite3_prepare_v2(db, utf8.constData(), -1, &stmt, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    const QByteArray value = text.toUtf8();
    if (sqlite3_bind_parameter_count(stmt) > 0)
        sqlite3_bind_text(stmt, 1, value.constData(), int(value.size()), SQLITE_TRANSIENT);
    rc = sqlite3_step(stmt);
    sqlite3_finalize(stmt);
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

QString LongText(int length)
{
    QString text;
    for (int i = 0; text.size() < length; ++i)
        text += QStringLiteral("word%1 ").arg(i);
    return text.left(length);
}

} // namespace

class TestSQLiteReading : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void opensAResultWithoutRows_data();
    void opensAResultWithoutRows();
    void readsStoredTextWhole_data();
    void readsStoredTextWhole();
    void typesComputedColumnsBeyondTheirFirstRow_data();
    void typesComputedColumnsBeyondTheirFirstRow();
    void queryEndingInSemicolonCountsAndFilters_data();
    void queryEndingInSemicolonCountsAndFilters();
    void execSqlRunsEveryStatementInOrder();
    void insertWritesAnExplicitNull_data();
    void insertWritesAnExplicitNull();
    void unfinishedQueryLetsOtherConnectionsWrite();
    void journalModeFollowsTheConnection();
    void textFieldsGetAWorkableDisplayWidth();
    void errorsOfUnnamedDatasetsHaveNoPrefix_data();
    void errorsOfUnnamedDatasetsHaveNoPrefix();

private:
    std::unique_ptr<SampleDatabase> FSample;

    sqlite3* Handle() const { return FSample->Db->Handle(); }
};

void TestSQLiteReading::init()
{
    FSample = std::make_unique<SampleDatabase>();
}

void TestSQLiteReading::cleanup()
{
    FSample.reset();
}

void TestSQLiteReading::opensAResultWithoutRows_data()
{
    QTest::addColumn<QString>("sql");
    QTest::newRow("plain where") << "SELECT * FROM customers WHERE id < 0";
    QTest::newRow("parameter") << "SELECT id, name FROM customers WHERE city = :city";
    QTest::newRow("expressions") << "SELECT city, count(*) AS n, sum(score) AS s FROM customers "
                                    "WHERE id < 0 GROUP BY city";
    QTest::newRow("join") << "SELECT c.id, o.amount FROM customers c JOIN orders o ON o.cust_id = c.id "
                             "WHERE o.amount < 0";
}

void TestSQLiteReading::opensAResultWithoutRows()
{
    QFETCH(QString, sql);
    TSQLiteQuery query;
    query.SetDatabase(FSample->Db.get());
    query.SetSQL({sql});
    if (sql.contains(QLatin1String(":city")))
        query.ParamByName(QStringLiteral("city"))->SetAsString(QStringLiteral("Nowhere"));
    query.Open();
    QVERIFY(query.IsEmpty());
    QVERIFY(query.Eof());
    QCOMPARE(query.RecordCount(), 0);
    QVERIFY(query.Fields()->Count() >= 2);
    query.Last();
    query.First();
    QVERIFY(query.Eof());
    query.Close();
    query.Open();
    QVERIFY(query.IsEmpty());
}

void TestSQLiteReading::readsStoredTextWhole_data()
{
    QTest::addColumn<bool>("useTable");
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("size");
    // city is TEXT (any length); name is VARCHAR(40), which SQLite does not enforce.
    QTest::newRow("table, undeclared length, 256") << true << "city" << 256 << 0;
    QTest::newRow("table, undeclared length, 5000") << true << "city" << 5000 << 0;
    QTest::newRow("table, beyond declared size") << true << "name" << 70 << 40;
    QTest::newRow("table, one beyond declared size") << true << "name" << 41 << 40;
    QTest::newRow("query, undeclared length, 256") << false << "city" << 256 << 0;
    QTest::newRow("query, undeclared length, 5000") << false << "city" << 5000 << 0;
    QTest::newRow("query, beyond declared size") << false << "name" << 70 << 40;
    QTest::newRow("query, one beyond declared size") << false << "name" << 41 << 40;
}

void TestSQLiteReading::readsStoredTextWhole()
{
    QFETCH(bool, useTable);
    QFETCH(QString, column);
    QFETCH(int, length);
    QFETCH(int, size);
    const QString text = LongText(length);
    QCOMPARE(WriteRaw(Handle(), QStringLiteral("UPDATE customers SET %1 = ? WHERE id = 3").arg(column), text),
             SQLITE_OK);
    TSQLiteTable table;
    TSQLiteQuery query;
    TSQLiteDataSet* dataSet = &table;
    if (useTable) {
        table.SetTableName(QStringLiteral("customers"));
    } else {
        query.SetSQL({QStringLiteral("SELECT * FROM customers ORDER BY id")});
        dataSet = &query;
    }
    dataSet->SetDatabase(FSample->Db.get());
    dataSet->Open();
    QVERIFY(dataSet->Locate(QStringLiteral("id"), TVariant(qint64(3)), {}));
    TField* field = dataSet->FieldByName(column);
    QCOMPARE(field->Size(), size);
    QCOMPARE(field->AsString(), text);
    QCOMPARE(field->DisplayText(), text);

    // Posting another field of the record writes the long value back whole, or not at all.
    dataSet->Edit();
    dataSet->FieldByName(QStringLiteral("score"))->SetAsInteger(77);
    dataSet->Post();
    QCOMPARE(Stored(Handle(), QStringLiteral("SELECT score FROM customers WHERE id = 3")).AsInt64(), 77);
    QCOMPARE(Stored(Handle(), QStringLiteral("SELECT %1 FROM customers WHERE id = 3").arg(column)).AsString(),
             text);
    QCOMPARE(dataSet->FieldByName(column)->AsString(), text);
}

void TestSQLiteReading::typesComputedColumnsBeyondTheirFirstRow_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("oracle");
    QTest::newRow("sum, first row null") << "SELECT id, CASE WHEN id > 1 THEN score * 1000 END AS TotalMs "
                                            "FROM customers ORDER BY id"
                                         << int(ftLargeint) << 2
                                         << "SELECT score * 1000 FROM customers "
                                            "WHERE id = 2";
    QTest::newRow("floats after a null") << "SELECT id, CASE WHEN id > 1 THEN id * 0.5 END AS half "
                                            "FROM customers ORDER BY id"
                                         << int(ftFloat) << 3 << "SELECT 1.5";
    QTest::newRow("floats after many nulls")
        << "SELECT id, CASE WHEN id > 20 THEN id * 0.25 END AS part FROM customers ORDER BY id"
        << int(ftFloat) << 22 << "SELECT 5.5";
    QTest::newRow("aggregate over groups")
        << "SELECT cust_id AS id, sum(amount) AS total FROM orders "
           "GROUP BY cust_id ORDER BY cust_id"
        << int(ftFloat) << 2 << "SELECT sum(amount) FROM orders WHERE cust_id = 2";
    QTest::newRow("long group_concat") << "SELECT 1 AS id, group_concat(name || ' of the customers table', "
                                          "', ') AS names FROM customers"
                                       << int(ftString) << 1
                                       << "SELECT group_concat(name || ' of the customers table', ', ') "
                                          "FROM customers";
    QTest::newRow("all null") << "SELECT id, NULL AS empty FROM customers ORDER BY id" << int(ftString) << 1
                              << "SELECT NULL";
}

void TestSQLiteReading::typesComputedColumnsBeyondTheirFirstRow()
{
    QFETCH(QString, sql);
    QFETCH(int, type);
    QFETCH(int, id);
    QFETCH(QString, oracle);
    TSQLiteQuery query;
    query.SetDatabase(FSample->Db.get());
    query.SetSQL({sql});
    query.Open();
    TField* field = query.Fields()->Field(1);
    QCOMPARE(int(field->DataType()), type);
    QVERIFY(query.Locate(QStringLiteral("id"), TVariant(qint64(id)), {}));
    const TVariant expected = Stored(Handle(), oracle);
    QVERIFY2(TVariant::SameValue(field->AsVariant(), expected) ||
                 (expected.VarType() == varDouble && field->AsFloat() == expected.AsFloat()),
             qPrintable(field->AsString() + QLatin1String(" / ") + expected.AsString()));
    if (type == ftString && !expected.IsNull())
        QVERIFY(field->AsString().size() > 255);
}

void TestSQLiteReading::queryEndingInSemicolonCountsAndFilters_data()
{
    QTest::addColumn<QString>("sql");
    QTest::newRow("semicolon") << "SELECT * FROM customers;";
    QTest::newRow("semicolon and space") << "SELECT * FROM customers ;  \n";
    QTest::newRow("two semicolons") << "SELECT * FROM customers;;";
    QTest::newRow("comment after") << "SELECT * FROM customers; -- all of them";
    QTest::newRow("comment before semicolon") << "SELECT * FROM customers -- all of them\n;";
}

void TestSQLiteReading::queryEndingInSemicolonCountsAndFilters()
{
    QFETCH(QString, sql);
    TSQLiteQuery query;
    query.SetDatabase(FSample->Db.get());
    query.SetSQL(sql.split(QLatin1Char('\n')));
    query.Open();
    QCOMPARE(query.RecordCount(), 25);
    query.SetFilter(QStringLiteral("score = 3"));
    query.SetFiltered(true);
    QCOMPARE(
        query.RecordCount(),
        int(Stored(Handle(), QStringLiteral("SELECT count(*) FROM customers WHERE score = 3")).AsInt64()));

    query.Close();
    query.SetSQL({QStringLiteral("SELECT * FROM customers; SELECT * FROM orders")});
    ORVO_EXPECT_DB_ERROR(query.Open(), "one statement");
}

void TestSQLiteReading::execSqlRunsEveryStatementInOrder()
{
    TSQLiteQuery query;
    query.SetDatabase(FSample->Db.get());
    query.SetSQL({QStringLiteral("UPDATE customers SET score = :s WHERE id = 1;"),
                  QStringLiteral("CREATE TABLE log (what TEXT);"),
                  QStringLiteral("INSERT INTO log VALUES ('one'), ('two'); UPDATE customers SET score = :s "
                                 "WHERE id IN (2, 3);")});
    query.ParamByName(QStringLiteral("s"))->SetAsInteger(42);
    query.ExecSQL();
    QCOMPARE(Stored(Handle(), QStringLiteral("SELECT count(*) FROM customers WHERE score = 42")).AsInt64(),
             3);
    QCOMPARE(Stored(Handle(), QStringLiteral("SELECT count(*) FROM log")).AsInt64(), 2);
    QCOMPARE(query.RowsAffected(), 5);

    // The run stops at the failing statement, which the message names; what ran before stays.
    query.SetSQL({QStringLiteral("UPDATE customers SET score = 8 WHERE id = 4;"),
                  QStringLiteral("INSERT INTO customers (name) VALUES ('Name01');"),
                  QStringLiteral("UPDATE customers SET score = 8 WHERE id = 5;")});
    ORVO_EXPECT_DB_ERROR(query.ExecSQL(), "SQL: INSERT INTO customers (name) VALUES ('Name01')");
    QCOMPARE(Stored(Handle(), QStringLiteral("SELECT score FROM customers WHERE id = 4")).AsInt64(), 8);
    QVERIFY(Stored(Handle(), QStringLiteral("SELECT score FROM customers WHERE id = 5")).AsInt64() != 8);

    // The connection refuses parameters for a script before running any of it.
    const qint64 before =
        Stored(Handle(), QStringLiteral("SELECT score FROM customers WHERE id = 6")).AsInt64();
    ORVO_EXPECT_DB_ERROR(FSample->Db->ExecSQL(QStringLiteral("UPDATE customers SET score = ? WHERE id = 6; "
                                                             "UPDATE customers SET score = 0 WHERE id = 7"),
                                              {TVariant(qint64(99))}),
                         "single statement");
    QCOMPARE(Stored(Handle(), QStringLiteral("SELECT score FROM customers WHERE id = 6")).AsInt64(), before);
}

void TestSQLiteReading::insertWritesAnExplicitNull_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("table") << "table";
    QTest::newRow("query") << "query";
    QTest::newRow("cached query") << "cached";
}

void TestSQLiteReading::insertWritesAnExplicitNull()
{
    QFETCH(QString, kind);
    FSample->Db->ExecSQL(QStringLiteral(
        "CREATE TABLE items (id INTEGER PRIMARY KEY, label TEXT DEFAULT 'none',"
        " qty INTEGER DEFAULT 5, note TEXT DEFAULT 'n', tag TEXT DEFAULT 't', later TEXT DEFAULT 'l')"));
    TSQLiteTable table;
    TSQLiteQuery query;
    TSQLiteDataSet* dataSet = &table;
    if (kind == QLatin1String("table")) {
        table.SetTableName(QStringLiteral("items"));
    } else {
        query.SetSQL({QStringLiteral("SELECT * FROM items")});
        query.SetCachedUpdates(kind == QLatin1String("cached"));
        dataSet = &query;
    }
    dataSet->SetDatabase(FSample->Db.get());
    dataSet->Open();
    dataSet->Append();
    dataSet->FieldByName(QStringLiteral("qty"))->Clear();
    dataSet->FieldByName(QStringLiteral("note"))->SetAsVariant(TVariant::Null());
    dataSet->FieldByName(QStringLiteral("tag"))->SetAsString(QStringLiteral("typed"));
    dataSet->FieldByName(QStringLiteral("tag"))->Clear();
    dataSet->Post();
    // A field first set in a later edit of the record (still pending when cached) is written too.
    dataSet->Edit();
    dataSet->FieldByName(QStringLiteral("later"))->SetAsString(QStringLiteral("set later"));
    dataSet->Post();
    if (kind == QLatin1String("cached"))
        query.ApplyUpdates();
    QCOMPARE(Stored(Handle(), QStringLiteral("SELECT later FROM items")).AsString(),
             QStringLiteral("set later"));
    QCOMPARE(Stored(Handle(), QStringLiteral("SELECT label FROM items")).AsString(), QStringLiteral("none"));
    QCOMPARE(Stored(Handle(), QStringLiteral("SELECT count(*) FROM items WHERE qty IS NULL AND note IS NULL "
                                             "AND tag IS NULL"))
                 .AsInt64(),
             1);
    QVERIFY(dataSet->FieldByName(QStringLiteral("qty"))->IsNull());
}

void TestSQLiteReading::unfinishedQueryLetsOtherConnectionsWrite()
{
    FSample->Db->StartTransaction();
    for (int i = 0; i < 600; ++i)
        FSample->Db->ExecSQL(QStringLiteral("INSERT INTO orders (cust_id, amount) VALUES (?, ?)"),
                             {TVariant(qint64(i % 25 + 1)), TVariant(double(i))});
    FSample->Db->Commit();
    TSQLiteQuery query;
    query.SetDatabase(FSample->Db.get());
    query.SetSQL({QStringLiteral("SELECT * FROM orders ORDER BY id")});
    query.Open();
    query.Next();
    QVERIFY(!query.Eof());

    // A program of its own, without any wait for locks.
    sqlite3* other = nullptr;
    QCOMPARE(sqlite3_open(FSample->Path().toUtf8().constData(), &other), SQLITE_OK);
    QCOMPARE(WriteRaw(other, QStringLiteral("INSERT INTO orders (cust_id, amount) VALUES (1, 1)")),
             SQLITE_OK);
    sqlite3_close(other);

    // A second connection of ours.
    TSQLiteDatabase second;
    second.SetDatabaseName(FSample->Path());
    second.SetBusyTimeout(0);
    second.Open();
    QCOMPARE(second.ExecSQL(QStringLiteral("UPDATE customers SET score = 1 WHERE id = 1")), 1);
    query.Next();
    QVERIFY(!query.Eof());
}

void TestSQLiteReading::journalModeFollowsTheConnection()
{
    QCOMPARE(FSample->Db->ExecScalar(QStringLiteral("PRAGMA journal_mode")).AsString(),
             QStringLiteral("wal"));
    QVERIFY(FSample->Db->WalMode());
    QVERIFY(FSample->Db->BusyTimeout() > 0);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plain.db"));
    {
        TSQLiteDatabase plain;
        plain.SetWalMode(false);
        plain.SetDatabaseName(path);
        plain.SetCreateIfMissing(true);
        plain.Open();
        plain.ExecSQL(QStringLiteral("CREATE TABLE t (x)"));
        QCOMPARE(plain.ExecScalar(QStringLiteral("PRAGMA journal_mode")).AsString(),
                 QStringLiteral("delete"));
    }
    {
        // Reading leaves the file as it is.
        TSQLiteDatabase reader;
        reader.SetDatabaseName(path);
        reader.SetReadOnly(true);
        reader.Open();
        QCOMPARE(reader.ExecScalar(QStringLiteral("PRAGMA journal_mode")).AsString(),
                 QStringLiteral("delete"));
    }
    TSQLiteDatabase memory;
    memory.SetDatabaseName(QStringLiteral(":memory:"));
    memory.Open();
    QCOMPARE(memory.ExecScalar(QStringLiteral("PRAGMA journal_mode")).AsString(), QStringLiteral("memory"));
}

void TestSQLiteReading::textFieldsGetAWorkableDisplayWidth()
{
    FSample->Db->ExecSQL(QStringLiteral("CREATE TABLE tracks (id INTEGER PRIMARY KEY, title NVARCHAR(200), "
                                        "composer NVARCHAR(220), code VARCHAR(6), notes TEXT)"));
    TSQLiteTable table;
    table.SetDatabase(FSample->Db.get());
    table.SetTableName(QStringLiteral("tracks"));
    table.Open();
    TField* title = table.FieldByName(QStringLiteral("title"));
    const int workable = title->DisplayWidth();
    QCOMPARE(title->Size(), 200);
    QVERIFY2(workable >= 20 && workable <= 40, qPrintable(QString::number(workable)));
    QCOMPARE(table.FieldByName(QStringLiteral("composer"))->DisplayWidth(), workable);
    QCOMPARE(table.FieldByName(QStringLiteral("code"))->DisplayWidth(), 6);
    QCOMPARE(table.FieldByName(QStringLiteral("notes"))->DisplayWidth(), workable);
    title->SetDisplayWidth(150);
    QCOMPARE(title->DisplayWidth(), 150);

    TSQLiteQuery query;
    query.SetDatabase(FSample->Db.get());
    query.SetSQL({QStringLiteral("SELECT title, 'x' || title AS longer FROM tracks")});
    query.Open();
    QCOMPARE(query.FieldByName(QStringLiteral("title"))->DisplayWidth(), workable);
    QCOMPARE(query.FieldByName(QStringLiteral("longer"))->DisplayWidth(), workable);
}

void TestSQLiteReading::errorsOfUnnamedDatasetsHaveNoPrefix_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("name");
    QTest::newRow("unnamed query") << "query"
                                   << "";
    QTest::newRow("named query") << "query"
                                 << "Orders";
    QTest::newRow("unnamed table") << "table"
                                   << "";
    QTest::newRow("named table") << "table"
                                 << "Orders";
}

void TestSQLiteReading::errorsOfUnnamedDatasetsHaveNoPrefix()
{
    QFETCH(QString, kind);
    QFETCH(QString, name);
    TSQLiteTable table;
    TSQLiteQuery query;
    TSQLiteDataSet* dataSet = &table;
    table.SetTableName(QStringLiteral("orders"));
    query.SetSQL({QStringLiteral("SELECT * FROM orders")});
    if (kind == QLatin1String("query"))
        dataSet = &query;
    dataSet->setObjectName(name);
    QStringList messages;
    try {
        dataSet->Open();
    } catch (const EDatabaseError& e) {
        messages << e.Message();
    }
    dataSet->SetDatabase(FSample->Db.get());
    TSQLiteQuery master;
    master.SetDatabase(FSample->Db.get());
    master.SetSQL({QStringLiteral("SELECT * FROM customers")});
    master.Open();
    TDataSource source;
    source.SetDataSet(&master);
    table.SetMasterSource(&source);
    table.SetMasterFields(QStringLiteral("id"));
    query.SetSQL({QStringLiteral("  ")});
    try {
        dataSet->Open();
    } catch (const EDatabaseError& e) {
        messages << e.Message();
    }
    QCOMPARE(messages.size(), 2);
    const QString expectedStart = name.isEmpty() ? QString() : name + QLatin1String(": ");
    for (const QString& message : messages) {
        QVERIFY2(!message.startsWith(QLatin1Char(':')), qPrintable(message));
        QVERIFY2(message.startsWith(expectedStart), qPrintable(message));
    }
}

QTEST_GUILESS_MAIN(TestSQLiteReading)
#include "tst_sqlitereading.moc"
