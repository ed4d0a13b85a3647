#include "sqlitetestdb.h"

#include "platform/sqlite/tparams.h"
#include "platform/sqlite/tsqliterowstore.h"
#include "platform/sqlite/tsqlitetypes.h"

#include <QFile>

using namespace orvo;

class TestSQLiteDatabase : public QObject
{
    Q_OBJECT

private slots:
    void openFailuresAreReportedClearly();
    void lockedDatabaseTimesOut();
    void statementsReportSqlErrorsAndBindValues();
    void schemaQueriesAndQuotedIdentifiers();
    void transactions();
    void declaredTypesMapToFieldTypes_data();
    void declaredTypesMapToFieldTypes();
    void expressionTypesKeepEveryValue_data();
    void expressionTypesKeepEveryValue();
    void storedValuesReadBackCanonically_data();
    void storedValuesReadBackCanonically();
    void parameterNamesSkipQuotesAndComments();
    void rowStoreRoundTripsAndStaysCompact();
    void malformedBookmarkBytesAreRejected();
};

void TestSQLiteDatabase::openFailuresAreReportedClearly()
{
    QTemporaryDir dir;
    TSQLiteDatabase db;
    db.SetDatabaseName(dir.filePath(QStringLiteral("missing.db")));
    ORVO_EXPECT_DB_ERROR(db.Open(), "does not exist");
    QVERIFY(!db.Connected());
    QVERIFY(!QFile::exists(db.DatabaseName()));

    QFile junk(dir.filePath(QStringLiteral("junk.db")));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'j'));
    junk.close();
    db.SetDatabaseName(junk.fileName());
    ORVO_EXPECT_DB_ERROR(db.Open(), "file is not a database");
    QVERIFY(!db.Connected());

    db.SetDatabaseName(dir.filePath(QStringLiteral("new.db")));
    db.SetCreateIfMissing(true);
    db.Open();
    QVERIFY(db.Connected());
    QCOMPARE(db.ExecSQL(QStringLiteral("CREATE TABLE t (a)")), 0);

    TSQLiteDatabase readOnly;
    readOnly.SetDatabaseName(db.DatabaseName());
    readOnly.SetReadOnly(true);
    readOnly.Open();
    ORVO_EXPECT_DB_ERROR(readOnly.ExecSQL(QStringLiteral("INSERT INTO t VALUES (1)")), "readonly");
}

void TestSQLiteDatabase::lockedDatabaseTimesOut()
{
    test::SampleDatabase sample;
    TSQLiteDatabase other;
    other.SetDatabaseName(sample.Path());
    other.SetBusyTimeout(50);
    other.Open();
    sample.Db->ExecSQL(QStringLiteral("BEGIN EXCLUSIVE"));
    ORVO_EXPECT_DB_ERROR(other.ExecSQL(QStringLiteral("UPDATE customers SET score = 0")),
                         "database is locked");
    sample.Db->Rollback();
    QCOMPARE(other.ExecSQL(QStringLiteral("UPDATE customers SET score = 0 WHERE id = 1")), 1);
}

void TestSQLiteDatabase::statementsReportSqlErrorsAndBindValues()
{
    test::SampleDatabase sample;
    TSQLiteDatabase& db = *sample.Db;
    ORVO_EXPECT_DB_ERROR(db.ExecSQL(QStringLiteral("SELEC * FROM customers\nWHERE 1")),
                         "SELEC * FROM customers");
    ORVO_EXPECT_DB_ERROR(db.ExecScalar(QStringLiteral("SELECT nope FROM customers")), "no such column");
    ORVO_EXPECT_DB_ERROR(db.ExecSQL(QStringLiteral("SELECT ?"), {}), "parameter");
    // A value with SQL in it stays a value.
    const QString hostile = QStringLiteral("x'); DROP TABLE customers; --");
    QCOMPARE(db.ExecSQL(QStringLiteral("UPDATE customers SET city = ? WHERE id = ?"), {hostile, 3}), 1);
    QCOMPARE(db.ExecScalar(QStringLiteral("SELECT city FROM customers WHERE id = 3")).AsString(), hostile);
    QCOMPARE(db.ExecScalar(QStringLiteral("SELECT count(*) FROM customers")).AsInt64(), qint64(25));
    QVERIFY(db.ExecScalar(QStringLiteral("SELECT city FROM customers WHERE id = 999")).IsNull());
    QCOMPARE(
        db.ExecScalar(QStringLiteral("SELECT ?"), {TVariant(TDateTime::EncodeDate(2021, 3, 4))}).AsString(),
        QStringLiteral("2021-03-04"));
}

void TestSQLiteDatabase::schemaQueriesAndQuotedIdentifiers()
{
    test::SampleDatabase sample;
    TSQLiteDatabase& db = *sample.Db;
    QCOMPARE(TSQLiteDatabase::QuoteIdentifier(QStringLiteral("we\"ird")), QStringLiteral("\"we\"\"ird\""));
    db.ExecSQL(QStringLiteral("CREATE TABLE %1 (a)")
                   .arg(TSQLiteDatabase::QuoteIdentifier(QStringLiteral("we\"ird"))));
    QCOMPARE(db.TableNames(),
             (QStringList{QStringLiteral("customers"), QStringLiteral("orders"), QStringLiteral("we\"ird")}));
    QVERIFY(db.TableExists(QStringLiteral("CUSTOMERS")));
    QVERIFY(!db.TableExists(QStringLiteral("sqlite_sequence")));
    QVERIFY(!db.TableExists(QStringLiteral("x' OR '1'='1")));
}

void TestSQLiteDatabase::transactions()
{
    test::SampleDatabase sample;
    TSQLiteDatabase& db = *sample.Db;
    db.StartTransaction();
    QVERIFY(db.InTransaction());
    ORVO_EXPECT_DB_ERROR(db.StartTransaction(), "already");
    db.ExecSQL(QStringLiteral("DELETE FROM customers"));
    db.Rollback();
    QVERIFY(!db.InTransaction());
    QCOMPARE(db.ExecScalar(QStringLiteral("SELECT count(*) FROM customers")).AsInt64(), qint64(25));
    ORVO_EXPECT_DB_ERROR(db.Commit(), "No transaction");
}

void TestSQLiteDatabase::declaredTypesMapToFieldTypes_data()
{
    QTest::addColumn<QString>("declared");
    QTest::addColumn<bool>("autoInc");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("size");
    QTest::newRow("integer") << "INTEGER" << false << int(ftInteger) << 0;
    QTest::newRow("autoinc") << "INTEGER" << true << int(ftAutoInc) << 0;
    QTest::newRow("bigint") << "BIGINT" << false << int(ftLargeint) << 0;
    QTest::newRow("varchar") << "varchar(30)" << false << int(ftString) << 30;
    QTest::newRow("text") << "TEXT" << false << int(ftString) << 0;
    QTest::newRow("nvarchar") << "NVARCHAR(200)" << false << int(ftString) << 200;
    QTest::newRow("unknown kind") << "JSON" << false << int(ftString) << 0;
    QTest::newRow("clob") << "CLOB" << false << int(ftMemo) << 0;
    QTest::newRow("real") << "DOUBLE PRECISION" << false << int(ftFloat) << 0;
    QTest::newRow("money") << "MONEY" << false << int(ftCurrency) << 0;
    QTest::newRow("decimal") << "DECIMAL(10,2)" << false << int(ftBCD) << 2;
    QTest::newRow("decimal wide scale") << "NUMERIC(12,6)" << false << int(ftFloat) << 0;
    QTest::newRow("boolean") << "BOOLEAN" << false << int(ftBoolean) << 0;
    QTest::newRow("date") << "DATE" << false << int(ftDate) << 0;
    QTest::newRow("time") << "TIME" << false << int(ftTime) << 0;
    QTest::newRow("timestamp") << "TIMESTAMP" << false << int(ftDateTime) << 0;
    QTest::newRow("blob") << "BLOB" << false << int(ftBlob) << 0;
    QTest::newRow("image") << "IMAGE" << false << int(ftGraphic) << 0;
    QTest::newRow("none") << "" << false << int(ftUnknown) << 0;
}

void TestSQLiteDatabase::declaredTypesMapToFieldTypes()
{
    QFETCH(QString, declared);
    QFETCH(bool, autoInc);
    QFETCH(int, type);
    QFETCH(int, size);
    const TSQLiteTypes::TypeInfo info = TSQLiteTypes::FromDeclaredType(declared, autoInc);
    QCOMPARE(int(info.DataType), type);
    QCOMPARE(info.Size, size);
}

void TestSQLiteDatabase::expressionTypesKeepEveryValue_data()
{
    QTest::addColumn<QList<TVariant>>("values");
    QTest::addColumn<int>("type");
    const TVariant null = TVariant::Null();
    const TVariant one(qint64(1));
    const TVariant half(0.5);
    const TVariant text(QStringLiteral("x"));
    const TVariant bytes(QByteArray("\x01", 1));
    QTest::newRow("nothing") << QList<TVariant>{} << int(ftString);
    QTest::newRow("only nulls") << QList<TVariant>{null, null} << int(ftString);
    QTest::newRow("integers after a null") << QList<TVariant>{null, one, one} << int(ftLargeint);
    QTest::newRow("a fraction after integers") << QList<TVariant>{one, one, half} << int(ftFloat);
    QTest::newRow("a fraction first") << QList<TVariant>{half, one} << int(ftFloat);
    QTest::newRow("text among numbers") << QList<TVariant>{one, text, half} << int(ftString);
    QTest::newRow("blobs") << QList<TVariant>{null, bytes} << int(ftBlob);
    QTest::newRow("blob and number") << QList<TVariant>{bytes, one} << int(ftString);
}

void TestSQLiteDatabase::expressionTypesKeepEveryValue()
{
    QFETCH(QList<TVariant>, values);
    QFETCH(int, type);
    const TSQLiteTypes::TypeInfo info =
        TSQLiteTypes::FromStoredValues(std::vector<TVariant>(values.begin(), values.end()));
    QCOMPARE(int(info.DataType), type);
    QCOMPARE(info.Size, 0);
}

void TestSQLiteDatabase::storedValuesReadBackCanonically_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<TVariant>("stored");
    QTest::addColumn<TVariant>("expected");
    const TDateTime day = TDateTime::EncodeDate(2020, 2, 29);
    const TDateTime moment(day.Value() + TDateTime::EncodeTime(13, 5, 7, 250).Value());
    QTest::newRow("date") << int(ftDate) << TVariant("2020-02-29") << TVariant(day);
    QTest::newRow("datetime with ms")
        << int(ftDateTime) << TVariant("2020-02-29 13:05:07.250") << TVariant(moment);
    QTest::newRow("datetime with T") << int(ftDateTime) << TVariant("2020-02-29T13:05:07.250")
                                     << TVariant(moment);
    QTest::newRow("bad date") << int(ftDate) << TVariant("soon") << TVariant::Null();
    QTest::newRow("bool text") << int(ftBoolean) << TVariant("true") << TVariant(true);
    QTest::newRow("bool int") << int(ftBoolean) << TVariant(qint64(0)) << TVariant(false);
    QTest::newRow("int from text") << int(ftInteger) << TVariant(" 42 ") << TVariant(qint64(42));
    QTest::newRow("int from junk") << int(ftInteger) << TVariant("4x") << TVariant::Null();
    QTest::newRow("bcd") << int(ftBCD) << TVariant(12.345) << TVariant(TCurrency::FromRaw(123450));
    QTest::newRow("string from number") << int(ftString) << TVariant(qint64(7)) << TVariant("7");
    QTest::newRow("null") << int(ftString) << TVariant::Null() << TVariant::Null();
}

void TestSQLiteDatabase::storedValuesReadBackCanonically()
{
    QFETCH(int, type);
    QFETCH(TVariant, stored);
    QFETCH(TVariant, expected);
    const TVariant value = TSQLiteTypes::FromStorage(TFieldType(type), stored);
    QVERIFY2(value.VarType() == expected.VarType() && TVariant::SameValue(value, expected),
             qPrintable(value.AsString()));
    // Whatever reads back writes back to a form that reads back the same.
    if (!value.IsNull()) {
        const TVariant again =
            TSQLiteTypes::FromStorage(TFieldType(type), TSQLiteTypes::ToStorage(TFieldType(type), value));
        QVERIFY(TVariant::SameValue(again, value));
    }
}

void TestSQLiteDatabase::parameterNamesSkipQuotesAndComments()
{
    const QString sql =
        QStringLiteral("SELECT ':no', \"a:no\", [b:no] FROM t -- :no\n"
                       "WHERE x = :First /* :no */ AND y = :second_2 OR z = :FIRST AND t = '12:30'");
    QCOMPARE(TParams::ParamNames(sql), (QStringList{QStringLiteral("First"), QStringLiteral("second_2")}));
    TParams params;
    params.ParseSQL(sql);
    params.ParamByName(QStringLiteral("first"))->SetAsInteger(5);
    params.ParseSQL(QStringLiteral("SELECT :first, :third"));
    QCOMPARE(params.Count(), 2);
    QCOMPARE(params.ParamByName(QStringLiteral("FIRST"))->AsInteger(), 5);
    QVERIFY(params.ParamByName(QStringLiteral("third"))->IsNull());
    ORVO_EXPECT_DB_ERROR(params.ParamByName(QStringLiteral("second_2")), "Parameter 'second_2' not found");
}

void TestSQLiteDatabase::rowStoreRoundTripsAndStaysCompact()
{
    TSQLiteRowStore store;
    const std::vector<TVariant> row{
        TVariant::Null(), TVariant(qint64(-5)),          TVariant(qint64(1) << 40),
        TVariant(2.5),    TVariant(QStringLiteral("é")), TVariant(QByteArray("\0b", 2))};
    store.Append(row);
    QCOMPARE(store.Values(0), row);
    store.Replace(0, {TVariant(qint64(1))});
    QCOMPARE(store.Value(0, 0), TVariant(qint64(1)));

    // Ten columns of a typical row: ids, short texts, a date, numbers.
    TSQLiteDatabase db;
    db.SetDatabaseName(QStringLiteral(":memory:"));
    db.Open();
    TSQLiteStatement select(
        db.Handle(),
        QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000) "
            "SELECT i, 'Customer ' || i, 'City' || (i % 50), i * 3, i * 1.25, '2020-01-01', i % 2, "
            "'Street ' || i, 'x', NULL FROM n"));
    TSQLiteRowStore big;
    while (select.Step())
        big.AppendFromStatement(select.Handle(), select.ColumnCount());
    QCOMPARE(big.Count(), quint32(20000));
    QCOMPARE(big.Value(19999, 1).AsString(), QStringLiteral("Customer 20000"));
    QVERIFY2(big.MemoryUsed() / big.Count() < 120,
             qPrintable(QString::number(big.MemoryUsed() / big.Count())));
}

void TestSQLiteDatabase::malformedBookmarkBytesAreRejected()
{
    QByteArray good;
    TSQLiteRowStore::EncodeValue(good, TVariant(QStringLiteral("abc")));
    std::vector<TVariant> values;
    QVERIFY(TSQLiteRowStore::TryDecodeAll(good, values));
    QCOMPARE(values.size(), size_t(1));
    QVERIFY(!TSQLiteRowStore::TryDecodeAll(good.left(good.size() - 1), values));
    QVERIFY(
        !TSQLiteRowStore::TryDecodeAll(QByteArray("\x03\xff\xff\xff\xff\xff\xff\xff\xff\xff\x7f"), values));
    QVERIFY(!TSQLiteRowStore::TryDecodeAll(QByteArray("\x09"), values));
}

QTEST_GUILESS_MAIN(TestSQLiteDatabase)
#include "tst_sqlitedatabase.moc"
