#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "grid/settings/torvodbgridsettings.h"
#include "platform/core/exceptions.h"
#include "platform/data/tdatasource.h"
#include "platform/sqlite/tsqlitedatabase.h"
#include "platform/sqlite/tsqlitetable.h"

#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

using namespace orvo;

namespace {

/// A shown grid over customers whose Country column looks its name up in a second
/// table of the same database; every piece lives on the heap, so that a test can
/// delete them in the order it likes.
struct TShownGrid
{
    QTemporaryDir Dir;
    QPointer<TSQLiteDatabase> Db = new TSQLiteDatabase;
    QPointer<TSQLiteTable> Customers = new TSQLiteTable;
    QPointer<TSQLiteTable> Countries = new TSQLiteTable;
    QPointer<TDataSource> Source = new TDataSource;
    QPointer<TOrvoDBGrid> Grid = new TOrvoDBGrid;

    TShownGrid(bool customizedColumns, bool storedLayout)
    {
        Db->SetDatabaseName(Dir.filePath(QStringLiteral("shop.db")));
        Db->SetCreateIfMissing(true);
        Db->Open();
        Db->ExecSQL(
            QStringLiteral("CREATE TABLE countries (code TEXT PRIMARY KEY, name TEXT);"
                           "INSERT INTO countries VALUES ('PT', 'Portugal'), ('SE', 'Sweden');"
                           "CREATE TABLE customers (id INTEGER PRIMARY KEY, company TEXT, country TEXT)"));
        for (int i = 1; i <= 40; ++i)
            Db->ExecSQL(QStringLiteral("INSERT INTO customers VALUES (?, ?, ?)"),
                        {qint64(i), QStringLiteral("Company %1").arg(i),
                         i % 2 ? QStringLiteral("PT") : QStringLiteral("SE")});
        Customers->SetDatabase(Db);
        Customers->SetTableName(QStringLiteral("customers"));
        Countries->SetDatabase(Db);
        Countries->SetTableName(QStringLiteral("countries"));
        Source->SetDataSet(Customers);
        Grid->SetDataSource(Source);
        if (customizedColumns)
            AddColumns();
        if (storedLayout) {
            Grid->Settings()->SetIniFile(true);
            Grid->Settings()->SetFileName(Dir.filePath(QStringLiteral("layout.ini")));
            Grid->Settings()->SetActive(true);
        }
        Customers->Open();
        Customers->MoveBy(5);
        Grid->resize(500, 300);
        Grid->show();
    }

    ~TShownGrid()
    {
        delete Grid;
        delete Source;
        delete Customers;
        delete Countries;
        delete Db;
    }

    void AddColumns()
    {
        Grid->Columns()->Add()->SetFieldName(QStringLiteral("company"));
        TOrvoColumn* country = Grid->Columns()->Add();
        country->SetFieldName(QStringLiteral("country"));
        country->SetLookupDataSet(Countries);
        country->SetLookupKeyField(QStringLiteral("code"));
        country->SetLookupResultField(QStringLiteral("name"));
    }

    /// Paints the whole grid and lets its delayed updates run.
    void ShowAWhile() const
    {
        QVERIFY(!Grid->grab().isNull());
        QTest::qWait(250);
    }

    void Delete(QChar piece)
    {
        switch (piece.toLatin1()) {
        case 'd':
            delete Db;
            break;
        case 't':
            delete Customers;
            delete Countries;
            break;
        case 's':
            delete Source;
            break;
        case 'g':
            delete Grid;
            break;
        }
    }
};

} // namespace

/// The grid, its datasets and their database may go in any order.
class TestGridLifetime : public QObject
{
    Q_OBJECT

private slots:
    void anyOrderOfDeletionIsSafe_data();
    void anyOrderOfDeletionIsSafe();
    void deletedDatabaseClosesItsDataSetsAndTheGridShowsNoData_data();
    void deletedDatabaseClosesItsDataSetsAndTheGridShowsNoData();
    void aDataSetCannotReopenWhileItsDatabaseCloses();
};

void TestGridLifetime::anyOrderOfDeletionIsSafe_data()
{
    // d = database, t = tables, s = data source, g = grid
    QTest::addColumn<QString>("order");
    QTest::addColumn<bool>("customizedColumns");
    QTest::addColumn<bool>("storedLayout");
    for (const char* order : {"dgts", "gdts", "dtsg", "tdsg", "sdgt", "tsdg"})
        for (const bool customized : {false, true})
            for (const bool stored : {false, true})
                QTest::addRow("%s%s%s", order, customized ? " columns" : "", stored ? " layout" : "")
                    << QString::fromLatin1(order) << customized << stored;
}

void TestGridLifetime::anyOrderOfDeletionIsSafe()
{
    QFETCH(QString, order);
    QFETCH(bool, customizedColumns);
    QFETCH(bool, storedLayout);
    TShownGrid shown(customizedColumns, storedLayout);
    QVERIFY(QTest::qWaitForWindowExposed(shown.Grid));
    shown.ShowAWhile();
    for (const QChar piece : order) {
        shown.Delete(piece);
        if (shown.Grid)
            shown.ShowAWhile();
    }
    QVERIFY(!shown.Db && !shown.Customers && !shown.Source && !shown.Grid);
}

void TestGridLifetime::deletedDatabaseClosesItsDataSetsAndTheGridShowsNoData_data()
{
    QTest::addColumn<bool>("customizedColumns");
    QTest::addColumn<bool>("lookupOpen");
    QTest::newRow("default columns") << false << false;
    QTest::newRow("own columns with a lookup") << true << false;
    QTest::newRow("while the lookup table is open") << true << true;
}

void TestGridLifetime::deletedDatabaseClosesItsDataSetsAndTheGridShowsNoData()
{
    QFETCH(bool, customizedColumns);
    QFETCH(bool, lookupOpen);
    TShownGrid shown(customizedColumns, false);
    QVERIFY(QTest::qWaitForWindowExposed(shown.Grid));
    if (lookupOpen)
        shown.Countries->Open();
    shown.ShowAWhile();
    QVERIFY(shown.Grid->DataLink()->Active());

    delete shown.Db;
    QVERIFY(!shown.Customers->Active());
    QVERIFY(!shown.Countries->Active());
    QCOMPARE(shown.Customers->Database(), nullptr);
    QVERIFY(!shown.Grid->DataLink()->Active());
    shown.ShowAWhile();
    QVERIFY(!shown.Customers->Active());
    QVERIFY(!shown.Countries->Active());
    QCOMPARE(shown.Grid->Columns()->Count(), customizedColumns ? 2 : 1);
    for (int i = 0; i < shown.Grid->Columns()->Count(); ++i)
        QCOMPARE(shown.Grid->Columns()->Items(i)->Field(), nullptr);

    // The orphaned dataset says why it cannot open, and the grid stays empty.
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, shown.Customers->Open());
    QVERIFY(!shown.Grid->DataLink()->Active());
    shown.ShowAWhile();
}

void TestGridLifetime::aDataSetCannotReopenWhileItsDatabaseCloses()
{
    // A client that reacts to its closing by reading again (as a grid drawing a lookup
    // does) must not leave a dataset open on the connection that is going away.
    TShownGrid shown(true, false);
    QVERIFY(QTest::qWaitForWindowExposed(shown.Grid));
    shown.Countries->Open();
    QString refusal;
    shown.Countries->AfterClose = [&](TDataSet*) {
        try {
            shown.Customers->Open();
        } catch (const EDatabaseError& e) {
            refusal = e.Message();
        }
    };
    shown.Db->Close();
    QVERIFY(!shown.Db->Connected());
    QVERIFY(!shown.Customers->Active());
    QVERIFY(!shown.Grid->DataLink()->Active());
    QVERIFY2(refusal.contains(QStringLiteral("is closing")), qPrintable(refusal));
    shown.ShowAWhile();

    // Once closed, the database opens again on demand as before.
    shown.Countries->AfterClose = nullptr;
    shown.Customers->Open();
    QVERIFY(shown.Db->Connected());
    QVERIFY(shown.Grid->DataLink()->Active());
    shown.ShowAWhile();
}

QTEST_MAIN(TestGridLifetime)
#include "tst_grid_lifetime.moc"
