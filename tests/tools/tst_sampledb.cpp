#include "sampledb/tsampledatabase.h"

#include "platform/core/exceptions.h"
#include "platform/sqlite/tsqlitedatabase.h"
#include "platform/sqlite/tsqlitestatement.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

#include <memory>

using namespace orvo;

namespace {

std::unique_ptr<TSQLiteDatabase> OpenDatabase(const QString& path)
{
    auto db = std::make_unique<TSQLiteDatabase>();
    db->SetDatabaseName(path);
    db->Open();
    return db;
}

qint64 Scalar(TSQLiteDatabase& db, const QString& sql)
{
    return db.ExecScalar(sql).AsInt64();
}

/// Every row of a table as text, type-tagged, so that 1221 and '1221' differ.
QString Dump(TSQLiteDatabase& db, const QString& table)
{
    TSQLiteStatement select(db.CheckedHandle(), QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(table));
    QString text;
    while (select.Step()) {
        for (int c = 0; c < select.ColumnCount(); ++c) {
            const TVariant value = select.Column(c);
            text += QString::number(int(value.VarType())) + QLatin1Char(':') + value.AsString() +
                    QLatin1Char('|');
        }
        text += QLatin1Char('\n');
    }
    return text;
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

/// Runs SQL straight through SQLite, outside the dataset layer, as a person's own tool would.
void ExecRaw(const QString& path, const QString& sql)
{
    sqlite3* handle = nullptr;
    QCOMPARE(sqlite3_open_v2(QFile::encodeName(path).constData(), &handle, SQLITE_OPEN_READWRITE, nullptr),
             SQLITE_OK);
    const int rc = sqlite3_exec(handle, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    const QString message = QString::fromUtf8(sqlite3_errmsg(handle));
    sqlite3_close(handle);
    QVERIFY2(rc == SQLITE_OK, qPrintable(message));
}

/// Every row of the sample tables, read through SQLite's own API.
QString RawDump(const QString& path)
{
    sqlite3* handle = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &handle, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(handle);
        return {};
    }
    QString text;
    sqlite3_stmt* tables = nullptr;
    sqlite3_prepare_v2(handle, "SELECT name FROM sqlite_master ORDER BY name", -1, &tables, nullptr);
    while (sqlite3_step(tables) == SQLITE_ROW) {
        const QByteArray name(reinterpret_cast<const char*>(sqlite3_column_text(tables, 0)));
        text += QString::fromUtf8(name) + QLatin1Char('\n');
        sqlite3_stmt* rows = nullptr;
        if (sqlite3_prepare_v2(handle, "SELECT * FROM \"" + name + "\" ORDER BY rowid", -1, &rows, nullptr) !=
            SQLITE_OK)
            continue; // an index
        while (sqlite3_step(rows) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(rows); ++c)
                text += QString::number(sqlite3_column_type(rows, c)) + QLatin1Char(':') +
                        QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(rows, c))) +
                        QLatin1Char('|');
            text += QLatin1Char('\n');
        }
        sqlite3_finalize(rows);
    }
    sqlite3_finalize(tables);
    sqlite3_close(handle);
    return text;
}

struct ToolRun
{
    int ExitCode = -1;
    QString Out;
    QString Err;
};

ToolRun RunTool(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(ORVO_SAMPLEDB_TOOL), arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

/// The demo database and the big orders generator.
class TestSampleDb : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void createsBothTablesWithPlausibleCounts();
    void customersHaveCountriesStatesAndMissingCities();
    void ordersReferToCustomersAndKeepDatesInOrder();
    void textFitsItsDeclaredSize_data();
    void textFitsItsDeclaredSize();
    void twoCreationsWriteTheSameData();
    void dataStaysTheSameFromBuildToBuild();
    void existingFileIsLeftAlone_data();
    void existingFileIsLeftAlone();
    void unusablePathRaisesAndLeavesNothing_data();
    void unusablePathRaisesAndLeavesNothing();
    void failedRunLeavesNoDatabase();
    void resetGivesBackTheFirstContent_data();
    void resetGivesBackTheFirstContent();
    void resetRefusesWhatIsNotASampleDatabase_data();
    void resetRefusesWhatIsNotASampleDatabase();

    void bigOrdersHasTheRowsAndColumnsAskedFor();
    void bigOrdersReplacesAndRejectsBadArguments();

    void toolPrintsTablesFieldsAndCounts();
    void toolFailsClearlyOnBadInput_data();
    void toolFailsClearlyOnBadInput();
    void toolResetsAnEditedDatabase();

private:
    std::unique_ptr<QTemporaryDir> FDir;
    QString SamplePath() const { return FDir->filePath(QStringLiteral("samples.db")); }
};

void TestSampleDb::init()
{
    FDir = std::make_unique<QTemporaryDir>();
    QVERIFY(FDir->isValid());
}

void TestSampleDb::createsBothTablesWithPlausibleCounts()
{
    QVERIFY(TSampleDatabase::EnsureSampleDatabase(SamplePath()));
    // Nothing but the finished file is left in the folder: no partial file, no journal.
    QCOMPARE(QDir(FDir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("samples.db")});

    auto db = OpenDatabase(SamplePath());
    QCOMPARE(db->TableNames(), (QStringList{QStringLiteral("Customer"), QStringLiteral("Orders")}));
    QCOMPARE(Scalar(*db, QStringLiteral("SELECT count(*) FROM Customer")),
             qint64(TSampleDatabase::CustomerCount));
    QCOMPARE(Scalar(*db, QStringLiteral("SELECT count(*) FROM Orders")), qint64(TSampleDatabase::OrderCount));
    QVERIFY(TSampleDatabase::CustomerCount >= 50 && TSampleDatabase::OrderCount >= 200);
}

void TestSampleDb::customersHaveCountriesStatesAndMissingCities()
{
    TSampleDatabase::EnsureSampleDatabase(SamplePath());
    auto db = OpenDatabase(SamplePath());
    QVERIFY(Scalar(*db, QStringLiteral("SELECT count(*) FROM Customer WHERE City IS NULL")) > 0);
    QVERIFY(Scalar(*db, QStringLiteral("SELECT count(DISTINCT Country) FROM Customer")) >= 4);
    QVERIFY(Scalar(*db, QStringLiteral("SELECT count(*) FROM Customer WHERE Country = 'US'")) > 10);
    QCOMPARE(Scalar(*db, QStringLiteral("SELECT count(*) FROM Customer WHERE Country = 'US' AND "
                                        "NOT (State GLOB '[A-Z][A-Z]')")),
             qint64(0));
    QCOMPARE(Scalar(*db, QStringLiteral("SELECT count(*) FROM Customer WHERE Country <> 'US' AND "
                                        "(State IS NULL OR State <> '')")),
             qint64(0));
    QCOMPARE(Scalar(*db, QStringLiteral("SELECT count(DISTINCT Company) FROM Customer")),
             qint64(TSampleDatabase::CustomerCount));

    // CustNo is a float column whose values rise from 1221, 1231.
    QCOMPARE(Scalar(*db, QStringLiteral("SELECT count(*) FROM Customer WHERE typeof(CustNo) <> 'real'")),
             qint64(0));
    TSQLiteStatement numbers(db->CheckedHandle(),
                             QStringLiteral("SELECT CustNo FROM Customer ORDER BY rowid"));
    QList<double> custNos;
    while (numbers.Step())
        custNos << numbers.Column(0).AsFloat();
    QCOMPARE(custNos.mid(0, 2), (QList<double>{1221, 1231}));
    QVERIFY(std::is_sorted(custNos.begin(), custNos.end(), std::less_equal<double>()));
}

void TestSampleDb::ordersReferToCustomersAndKeepDatesInOrder()
{
    TSampleDatabase::EnsureSampleDatabase(SamplePath());
    auto db = OpenDatabase(SamplePath());
    QCOMPARE(Scalar(*db, QStringLiteral(
                             "SELECT count(*) FROM Orders o LEFT JOIN Customer c ON c.CustNo = o.CustNo "
                             "WHERE c.CustNo IS NULL")),
             qint64(0));
    QCOMPARE(Scalar(*db, QStringLiteral("SELECT min(OrderNo) FROM Orders")),
             qint64(TSampleDatabase::FirstOrderNo));
    QCOMPARE(Scalar(*db, QStringLiteral("SELECT max(OrderNo) - min(OrderNo) + 1 FROM Orders")),
             qint64(TSampleDatabase::OrderCount));
    // Dates are ISO text that SQLite's own date functions read; nothing ships before it is sold.
    QCOMPARE(Scalar(*db, QStringLiteral("SELECT count(*) FROM Orders WHERE julianday(SaleDate) IS NULL")),
             qint64(0));
    QCOMPARE(Scalar(*db, QStringLiteral("SELECT count(*) FROM Orders WHERE julianday(ShipDate) < "
                                        "julianday(date(SaleDate))")),
             qint64(0));
    QVERIFY(Scalar(*db, QStringLiteral("SELECT count(*) FROM Orders WHERE ShipDate IS NULL")) > 0);
    // A customer's last invoice is the latest of its orders.
    QCOMPARE(Scalar(*db, QStringLiteral(
                             "SELECT count(*) FROM Customer c WHERE EXISTS (SELECT 1 FROM Orders o "
                             "WHERE o.CustNo = c.CustNo) AND c.LastInvoiceDate <> (SELECT max(SaleDate) "
                             "FROM Orders o WHERE o.CustNo = c.CustNo)")),
             qint64(0));
    QCOMPARE(Scalar(*db, QStringLiteral("SELECT count(*) FROM Orders WHERE ShipVIA NOT IN "
                                        "('UPS','DHL','FedEx','Emery','US Mail') OR Terms NOT IN "
                                        "('Net 30','FOB','COD','Net 60') OR PaymentMethod NOT IN "
                                        "('Cash','Credit','Check','AmEx','Visa','COD')")),
             qint64(0));
    // Freight is 200 or 0 often, other amounts too.
    const qint64 usual = Scalar(*db, QStringLiteral("SELECT count(*) FROM Orders WHERE Freight IN (0, 200)"));
    QVERIFY(usual > TSampleDatabase::OrderCount / 3 && usual < TSampleDatabase::OrderCount);
    // Paid amounts never exceed what was due.
    QCOMPARE(Scalar(*db, QStringLiteral("SELECT count(*) FROM Orders WHERE AmountPaid > "
                                        "round(ItemsTotal * (1 + TaxRate / 100) + Freight, 2) + 0.001")),
             qint64(0));
}

void TestSampleDb::textFitsItsDeclaredSize_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("size");
    const QList<std::pair<const char*, int>> customer = {
        {"Company", 30}, {"Addr1", 30},   {"Addr2", 30}, {"City", 15}, {"State", 20},
        {"Zip", 10},     {"Country", 20}, {"Phone", 15}, {"FAX", 15},  {"Contact", 20}};
    for (const auto& [column, size] : customer)
        QTest::addRow("Customer.%s", column)
            << QStringLiteral("Customer") << QString::fromUtf8(column) << size;
    const QList<std::pair<const char*, int>> orders = {
        {"ShipVIA", 7}, {"Terms", 6}, {"PaymentMethod", 7}, {"ShipToContact", 20}, {"ShipToPhone", 15}};
    for (const auto& [column, size] : orders)
        QTest::addRow("Orders.%s", column) << QStringLiteral("Orders") << QString::fromUtf8(column) << size;
}

void TestSampleDb::textFitsItsDeclaredSize()
{
    QFETCH(QString, table);
    QFETCH(QString, column);
    QFETCH(int, size);
    TSampleDatabase::EnsureSampleDatabase(SamplePath());
    auto db = OpenDatabase(SamplePath());
    const qint64 longest = Scalar(*db, QStringLiteral("SELECT max(length(%1)) FROM %2").arg(column, table));
    QVERIFY2(longest > 0 && longest <= size, qPrintable(QString::number(longest)));
}

void TestSampleDb::twoCreationsWriteTheSameData()
{
    const QString other = FDir->filePath(QStringLiteral("again.db"));
    QVERIFY(TSampleDatabase::EnsureSampleDatabase(SamplePath()));
    QVERIFY(TSampleDatabase::EnsureSampleDatabase(other));
    auto first = OpenDatabase(SamplePath());
    auto second = OpenDatabase(other);
    for (const QString& table : {QStringLiteral("Customer"), QStringLiteral("Orders")}) {
        const QString dump = Dump(*first, table);
        QVERIFY(!dump.isEmpty());
        QCOMPARE(Dump(*second, table), dump);
    }
}

void TestSampleDb::dataStaysTheSameFromBuildToBuild()
{
    // Demos and other tests read these rows; a generator change (or a compiler that draws
    // the random words in another order) must show up here, not as a puzzling grid.
    TSampleDatabase::EnsureSampleDatabase(SamplePath());
    auto db = OpenDatabase(SamplePath());
    QCOMPARE(db->ExecScalar(QStringLiteral("SELECT Company FROM Customer WHERE CustNo = 1221")).AsString(),
             QStringLiteral("Beacon Surf Outfitters"));
    QCOMPARE(Scalar(*db, QStringLiteral("SELECT count(*) FROM Customer WHERE Country = 'US'")), qint64(32));
    QCOMPARE(db->ExecScalar(QStringLiteral("SELECT printf('%.2f', sum(ItemsTotal)) FROM Orders")).AsString(),
             QStringLiteral("3750463.72"));
}

void TestSampleDb::existingFileIsLeftAlone_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("not a database") << QByteArray("keep me, I am not a database");
    QTest::newRow("empty file") << QByteArray();
}

void TestSampleDb::existingFileIsLeftAlone()
{
    QFETCH(QByteArray, content);
    WriteFile(SamplePath(), content);
    QVERIFY(!TSampleDatabase::EnsureSampleDatabase(SamplePath()));
    QCOMPARE(ReadFile(SamplePath()), content);
    QCOMPARE(QDir(FDir->path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

void TestSampleDb::unusablePathRaisesAndLeavesNothing_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::newRow("parent is a file") << QStringLiteral("plain.txt/samples.db");
    QTest::newRow("path is a folder") << QStringLiteral("folder");
    QTest::newRow("empty path") << QString();
}

void TestSampleDb::unusablePathRaisesAndLeavesNothing()
{
    QFETCH(QString, relativePath);
    WriteFile(FDir->filePath(QStringLiteral("plain.txt")), "text");
    QVERIFY(QDir(FDir->path()).mkdir(QStringLiteral("folder")));
    const QString path = relativePath.isEmpty() ? QString() : FDir->filePath(relativePath);
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, TSampleDatabase::EnsureSampleDatabase(path));
    QCOMPARE(QDir(FDir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 2);
}

void TestSampleDb::failedRunLeavesNoDatabase()
{
    // A folder where this process would write its partial file makes the run fail half-way.
    const QString partial = QStringLiteral(".samples.db.%1.part").arg(QCoreApplication::applicationPid());
    QVERIFY(QDir(FDir->path()).mkdir(partial));
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, TSampleDatabase::EnsureSampleDatabase(SamplePath()));
    QVERIFY(!QFileInfo::exists(SamplePath()));
}

void TestSampleDb::resetGivesBackTheFirstContent_data()
{
    QTest::addColumn<QString>("edit");
    QTest::newRow("missing file") << QString();
    QTest::newRow("untouched") << QStringLiteral("SELECT 1");
    QTest::newRow("edited rows") << QStringLiteral(
        "UPDATE Customer SET Company = 'Mine' WHERE CustNo = 1221; DELETE FROM Orders WHERE OrderNo > 1100;"
        "INSERT INTO Customer (CustNo, Company) VALUES (9999, 'New')");
    QTest::newRow("added tables and views")
        << QStringLiteral("CREATE TABLE Notes (t TEXT); INSERT INTO Notes VALUES ('x');"
                          "CREATE VIEW Big AS SELECT * FROM Orders WHERE ItemsTotal > 1000;"
                          "CREATE INDEX OrdersByDate ON Orders (SaleDate)");
    QTest::newRow("changed schema") << QStringLiteral("ALTER TABLE Customer ADD COLUMN Rating INTEGER");
}

void TestSampleDb::resetGivesBackTheFirstContent()
{
    QFETCH(QString, edit);
    const QString fresh = FDir->filePath(QStringLiteral("fresh.db"));
    QVERIFY(TSampleDatabase::EnsureSampleDatabase(fresh));
    if (!edit.isNull()) {
        QVERIFY(TSampleDatabase::EnsureSampleDatabase(SamplePath()));
        TSampleDatabase::CreateBigOrders(*OpenDatabase(SamplePath()), QStringLiteral("BigOrders"), 50);
        ExecRaw(SamplePath(), edit);
    }

    TSampleDatabase::ResetSampleDatabase(SamplePath());
    QCOMPARE(RawDump(SamplePath()), RawDump(fresh));
    QVERIFY(RawDump(fresh).contains(QStringLiteral("Beacon Surf Outfitters")));
    // No scratch file is left behind; a write-ahead log and its index belong to their database.
    QStringList files = QDir(FDir->path()).entryList(QDir::Files | QDir::Hidden);
    files.removeIf([](const QString& name) { return name.endsWith(u"-wal") || name.endsWith(u"-shm"); });
    QCOMPARE(files, (QStringList{QStringLiteral("fresh.db"), QStringLiteral("samples.db")}));
}

void TestSampleDb::resetRefusesWhatIsNotASampleDatabase_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("schema");
    QTest::addColumn<QString>("message");
    QTest::newRow("plain text") << QByteArray("my own notes, not a database") << QString()
                                << QStringLiteral("not a database");
    QTest::newRow("empty database") << QByteArray() << QStringLiteral("SELECT 1")
                                    << QStringLiteral("not a sample database");
    QTest::newRow("someone's own tables")
        << QByteArray()
        << QStringLiteral("CREATE TABLE Invoices (n INTEGER); INSERT INTO Invoices VALUES (7)")
        << QStringLiteral("not a sample database");
    QTest::newRow("customers without orders")
        << QByteArray() << QStringLiteral("CREATE TABLE Customer (CustNo REAL)")
        << QStringLiteral("not a sample database");
}

void TestSampleDb::resetRefusesWhatIsNotASampleDatabase()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, schema);
    QFETCH(QString, message);
    WriteFile(SamplePath(), content);
    if (!schema.isNull())
        ExecRaw(SamplePath(), schema);
    const QByteArray before = ReadFile(SamplePath());
    try {
        TSampleDatabase::ResetSampleDatabase(SamplePath());
        QFAIL("the reset went ahead");
    } catch (const EDatabaseError& e) {
        QVERIFY2(e.Message().contains(message), qPrintable(e.Message()));
    }
    QCOMPARE(ReadFile(SamplePath()), before);
}

void TestSampleDb::bigOrdersHasTheRowsAndColumnsAskedFor()
{
    TSQLiteDatabase db;
    db.SetDatabaseName(QStringLiteral(":memory:"));
    db.Open();
    TSampleDatabase::CreateBigOrders(db, QStringLiteral("BigOrders"), 1000);
    QCOMPARE(Scalar(db, QStringLiteral("SELECT count(*) FROM BigOrders")), qint64(1000));
    QCOMPARE(Scalar(db, QStringLiteral("SELECT min(OrderNo) FROM BigOrders")), qint64(1));
    QCOMPARE(Scalar(db, QStringLiteral("SELECT max(OrderNo) FROM BigOrders")), qint64(1000));
    QCOMPARE(Scalar(db, QStringLiteral("SELECT count(*) FROM pragma_table_info('BigOrders')")), qint64(10));
    QCOMPARE(Scalar(db, QStringLiteral("SELECT count(*) FROM pragma_index_list('BigOrders')")), qint64(1));
    // The benchmark's filter must select some rows, but far from all.
    const qint64 matching = Scalar(
        db, QStringLiteral("SELECT count(*) FROM BigOrders WHERE ItemsTotal > 500 AND City LIKE 'B%'"));
    QVERIFY2(matching > 20 && matching < 500, qPrintable(QString::number(matching)));
    QCOMPARE(Scalar(db, QStringLiteral("SELECT count(*) FROM BigOrders WHERE julianday(SaleDate) IS NULL "
                                       "OR City IS NULL OR ShipVIA IS NULL OR Qty IS NULL")),
             qint64(0));

    TSQLiteDatabase again;
    again.SetDatabaseName(QStringLiteral(":memory:"));
    again.Open();
    TSampleDatabase::CreateBigOrders(again, QStringLiteral("BigOrders"), 1000);
    QCOMPARE(Dump(again, QStringLiteral("BigOrders")), Dump(db, QStringLiteral("BigOrders")));
}

void TestSampleDb::bigOrdersReplacesAndRejectsBadArguments()
{
    TSQLiteDatabase db;
    db.SetDatabaseName(QStringLiteral(":memory:"));
    db.Open();
    const QString oddName = QStringLiteral("Big \"Orders\"; DROP");
    TSampleDatabase::CreateBigOrders(db, oddName, 300);
    TSampleDatabase::CreateBigOrders(db, oddName, 120);
    const QString table = TSQLiteDatabase::QuoteIdentifier(oddName);
    QCOMPARE(Scalar(db, QStringLiteral("SELECT count(*) FROM %1").arg(table)), qint64(120));
    TSampleDatabase::CreateBigOrders(db, oddName, 0);
    QCOMPARE(Scalar(db, QStringLiteral("SELECT count(*) FROM %1").arg(table)), qint64(0));

    QVERIFY_THROWS_EXCEPTION(EDatabaseError, TSampleDatabase::CreateBigOrders(db, QStringLiteral("Neg"), -1));
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, TSampleDatabase::CreateBigOrders(db, QStringLiteral(" "), 10));
    QVERIFY(!db.TableExists(QStringLiteral("Neg")));
    QVERIFY(!db.InTransaction());
}

void TestSampleDb::toolPrintsTablesFieldsAndCounts()
{
    const ToolRun run = RunTool(
        {QStringLiteral("--path"), SamplePath(), QStringLiteral("--big-orders"), QStringLiteral("250")});
    QVERIFY2(run.ExitCode == 0, qPrintable(run.Err));
    // Each table with its record count, then its fields with the dataset layer's type names.
    QVERIFY2(run.Out.contains(QRegularExpression(QStringLiteral("^BigOrders\\b.*\\b250 records"),
                                                 QRegularExpression::MultilineOption)),
             qPrintable(run.Out));
    QVERIFY(run.Out.contains(QRegularExpression(QStringLiteral("^Customer\\b.*\\b60 records"),
                                                QRegularExpression::MultilineOption)));
    QVERIFY(run.Out.contains(QRegularExpression(QStringLiteral("^Orders\\b.*\\b420 records"),
                                                QRegularExpression::MultilineOption)));
    QVERIFY(run.Out.contains(
        QRegularExpression(QStringLiteral("^\\s+CustNo\\s+Float\\b"), QRegularExpression::MultilineOption)));
    QVERIFY(run.Out.contains(QRegularExpression(QStringLiteral("^\\s+Company\\s+String\\(30\\)"),
                                                QRegularExpression::MultilineOption)));

    // A second run finds the file and leaves it as it was.
    const QByteArray before = ReadFile(SamplePath());
    const ToolRun again = RunTool({QStringLiteral("--path"), SamplePath()});
    QCOMPARE(again.ExitCode, 0);
    QCOMPARE(ReadFile(SamplePath()), before);
}

void TestSampleDb::toolFailsClearlyOnBadInput_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("parent is a file")
        << QStringList{QStringLiteral("--path"), QStringLiteral("@/plain.txt/x.db")}
        << QStringLiteral("Cannot create the folder");
    QTest::newRow("not a database") << QStringList{QStringLiteral("--path"), QStringLiteral("@/plain.txt")}
                                    << QStringLiteral("not a database");
    QTest::newRow("bad row count") << QStringList{QStringLiteral("--path"), QStringLiteral("@/x.db"),
                                                  QStringLiteral("--big-orders"), QStringLiteral("many")}
                                   << QStringLiteral("--big-orders");
}

void TestSampleDb::toolFailsClearlyOnBadInput()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    WriteFile(FDir->filePath(QStringLiteral("plain.txt")), "plain text, not a database at all");
    arguments.replaceInStrings(QStringLiteral("@"), FDir->path());
    const ToolRun run = RunTool(arguments);
    QVERIFY(run.ExitCode > 0);
    QVERIFY2(run.Err.contains(message), qPrintable(run.Err));
    QVERIFY(!QFileInfo::exists(FDir->filePath(QStringLiteral("x.db"))));
}

void TestSampleDb::toolResetsAnEditedDatabase()
{
    QCOMPARE(RunTool({QStringLiteral("--path"), SamplePath()}).ExitCode, 0);
    const QString firstContent = RawDump(SamplePath());
    ExecRaw(SamplePath(), QStringLiteral("UPDATE Customer SET Company = 'Edited'; CREATE TABLE Mine (x)"));
    QVERIFY(RawDump(SamplePath()) != firstContent);

    const ToolRun run = RunTool({QStringLiteral("--path"), SamplePath(), QStringLiteral("--reset")});
    QVERIFY2(run.ExitCode == 0, qPrintable(run.Err));
    QVERIFY2(run.Out.contains(QStringLiteral("(made anew)")), qPrintable(run.Out));
    QCOMPARE(RawDump(SamplePath()), firstContent);

    // Resetting and adding the big orders in one run.
    const ToolRun both = RunTool({QStringLiteral("--path"), SamplePath(), QStringLiteral("--reset"),
                                  QStringLiteral("--big-orders"), QStringLiteral("30")});
    QVERIFY2(both.ExitCode == 0, qPrintable(both.Err));
    QVERIFY(both.Out.contains(QRegularExpression(QStringLiteral("^BigOrders\\b.*\\b30 records"),
                                                 QRegularExpression::MultilineOption)));

    // A file that is not a sample database is refused and kept.
    const QString own = FDir->filePath(QStringLiteral("own.db"));
    WriteFile(own, QByteArray());
    ExecRaw(own, QStringLiteral("CREATE TABLE Invoices (n); INSERT INTO Invoices VALUES (1)"));
    const QByteArray ownBytes = ReadFile(own);
    const ToolRun refused = RunTool({QStringLiteral("--path"), own, QStringLiteral("--reset")});
    QVERIFY(refused.ExitCode > 0);
    QVERIFY2(refused.Err.contains(QStringLiteral("not a sample database")), qPrintable(refused.Err));
    QCOMPARE(ReadFile(own), ownBytes);
}

QTEST_GUILESS_MAIN(TestSampleDb)
#include "tst_sampledb.moc"
