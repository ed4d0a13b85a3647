#include "sqlitetestdb.h"

#include "common/sqlitebind.h"

#include "platform/data/tdatalink.h"
#include "platform/data/tdatasource.h"
#include "platform/sqlite/tsqlitetable.h"

#include <sqlite3.h>

#include <functional>

using namespace orvo;
using namespace orvo::test;

using orvo::test::StoredCount;

namespace {

/// A table of `rows` items whose "grp", "name" and "amount" have no index (with duplicates,
/// NULLs and mixed case), and an index on "code".
struct ItemsDatabase
{
    QTemporaryDir Dir;
    std::unique_ptr<TSQLiteDatabase> Db = std::make_unique<TSQLiteDatabase>();

    QString Path() const { return Dir.filePath(QStringLiteral("items.db")); }

    explicit ItemsDatabase(int rows)
    {
        Db->SetDatabaseName(Path());
        Db->SetCreateIfMissing(true);
        Db->Open();
        Db->ExecSQL(QStringLiteral("CREATE TABLE items (id INTEGER PRIMARY KEY, grp INTEGER,"
                                   " name TEXT COLLATE NOCASE, amount REAL, code INTEGER);"
                                   "CREATE INDEX items_code ON items (code);"));
        const char* names[] = {"alpha", "Beta", "beta", nullptr, "Gamma", "ALPHA", "delta"};
        Db->StartTransaction();
        for (int i = 1; i <= rows; ++i) {
            const qint64 scrambled = (qint64(i) * 7919) % 1009;
            const char* name = names[scrambled % 7];
            Db->ExecSQL(QStringLiteral("INSERT INTO items (grp, name, amount, code) VALUES (?, ?, ?, ?)"),
                        {scrambled % 11 == 0 ? TVariant::Null() : TVariant(scrambled % 13),
                         name ? TVariant(name) : TVariant::Null(), double(scrambled % 97) / 4.0,
                         TVariant(scrambled)});
        }
        Db->Commit();
    }

    /// What SQLite's own ORDER BY gives, through its C API.
    QList<qint64> Ids(const QString& orderBy, const QString& where = QString()) const
    {
        sqlite3* db = nullptr;
        sqlite3_open_v2(Path().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* statement = nullptr;
        const QByteArray sql =
            QStringLiteral("SELECT id FROM items %1 ORDER BY %2").arg(where, orderBy).toUtf8();
        sqlite3_prepare_v2(db, sql.constData(), -1, &statement, nullptr);
        QList<qint64> ids;
        while (sqlite3_step(statement) == SQLITE_ROW)
            ids << sqlite3_column_int64(statement, 0);
        sqlite3_finalize(statement);
        sqlite3_close(db);
        return ids;
    }
};

/// Writes down every statement the connection starts that contains `word` (ORDER BY: a sort), and
/// adds up the steps its statements take through whole-table scans.
class SortCounter
{
public:
    explicit SortCounter(sqlite3* db, const char* word = "ORDER BY") : FDb(db), FWord(word)
    {
        sqlite3_trace_v2(db, SQLITE_TRACE_STMT | SQLITE_TRACE_PROFILE, &SortCounter::Trace, this);
    }
    ~SortCounter() { sqlite3_trace_v2(FDb, 0, nullptr, nullptr); }
    int Count() const { return FSorts; }
    int FullScanSteps() const { return FScanSteps; }

private:
    static int Trace(unsigned event, void* self, void* statement, void* text)
    {
        auto* counter = static_cast<SortCounter*>(self);
        if (event == SQLITE_TRACE_PROFILE)
            counter->FScanSteps += sqlite3_stmt_status(static_cast<sqlite3_stmt*>(statement),
                                                       SQLITE_STMTSTATUS_FULLSCAN_STEP, 0);
        else if (QByteArray(static_cast<const char*>(text)).contains(counter->FWord))
            ++counter->FSorts;
        return 0;
    }

    sqlite3* FDb;
    const char* FWord;
    int FSorts = 0;
    int FScanSteps = 0;
};

} // namespace

class TestSQLiteSortedOrder : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void pagesInSQLiteOrder_data();
    void pagesInSQLiteOrder();
    void sortsOnceForEveryMove();
    void positionsAndJumps_data();
    void positionsAndJumps();
    void pagingGoesOnFromAPositionFoundLate();
    void editsTakeTheirPlaceInTheOrder();
    void deletingKeepsTheSuccessorCurrent_data();
    void deletingKeepsTheSuccessorCurrent();
    void reorderingKeepsTheRecordOnItsScreenRow();
    void followsTheFilter();
    void jumpsInRowidOrder_data();
    void jumpsInRowidOrder();
    void progressHookSeesLongSortsOnly_data();
    void progressHookSeesLongSortsOnly();
    void cancelledSortKeepsOrderAndRecord_data();
    void cancelledSortKeepsOrderAndRecord();
    void connectionIsOffLimitsInsideTheHook();

private:
    std::unique_ptr<TSQLiteTable> OpenTable(const QString& index, int pageSize = 7);

    std::unique_ptr<ItemsDatabase> FItems;
};

void TestSQLiteSortedOrder::init()
{
    FItems = std::make_unique<ItemsDatabase>(300);
}

void TestSQLiteSortedOrder::cleanup()
{
    FItems.reset();
}

std::unique_ptr<TSQLiteTable> TestSQLiteSortedOrder::OpenTable(const QString& index, int pageSize)
{
    auto table = std::make_unique<TSQLiteTable>();
    table->SetDatabase(FItems->Db.get());
    table->SetTableName(QStringLiteral("items"));
    table->SetPageSize(pageSize);
    table->SetIndexFieldNames(index);
    table->Open();
    return table;
}

void TestSQLiteSortedOrder::pagesInSQLiteOrder_data()
{
    QTest::addColumn<QString>("index");
    QTest::addColumn<QString>("orderBy");
    QTest::newRow("duplicates") << "grp"
                                << "grp, rowid";
    QTest::newRow("descending, nulls last") << "grp DESC"
                                            << "grp DESC, rowid DESC";
    QTest::newRow("nocase text, nulls first") << "name"
                                              << "name, rowid";
    QTest::newRow("mixed directions") << "name DESC;amount"
                                      << "name DESC, amount, rowid";
    QTest::newRow("indexed then unindexed") << "code;grp DESC"
                                            << "code, grp DESC, rowid DESC";
    QTest::newRow("indexed") << "code"
                             << "code, rowid";
}

// Walking both ways through pages of 7 meets the rows exactly as SQLite's ORDER BY orders them.
void TestSQLiteSortedOrder::pagesInSQLiteOrder()
{
    QFETCH(QString, index);
    QFETCH(QString, orderBy);
    const QList<qint64> expected = FItems->Ids(orderBy);
    const auto table = OpenTable(index);
    QCOMPARE(WalkForward(*table), expected);
    QCOMPARE(WalkBackward(*table), expected);
    QCOMPARE(table->RecordCount(), 300);
}

// Paging, Last, jumps and Locate in an unindexed order must not sort the table again.
void TestSQLiteSortedOrder::sortsOnceForEveryMove()
{
    const auto table = OpenTable(QStringLiteral("amount DESC"), 5);
    const QList<qint64> expected = FItems->Ids(QStringLiteral("amount DESC, rowid DESC"));
    SortCounter sorts(FItems->Db->Handle());
    QCOMPARE(WalkForward(*table), expected);
    table->Last();
    table->SetRecNo(150);
    QCOMPARE(CurrentId(*table), expected[149]);
    QVERIFY(table->Locate(QStringLiteral("id"), TVariant(qint64(77)), {}));
    QCOMPARE(table->RecNo(), int(expected.indexOf(CurrentId(*table))) + 1);
    QCOMPARE(WalkBackward(*table), expected);
    QCOMPARE(sorts.Count(), 0);
    table->Refresh();
    QCOMPARE(WalkForward(*table), expected);
    QCOMPARE(sorts.Count(), 1);
}

void TestSQLiteSortedOrder::positionsAndJumps_data()
{
    QTest::addColumn<int>("recNo");
    QTest::addColumn<QString>("index");
    QTest::addColumn<QString>("orderBy");
    for (const auto& [index, orderBy] :
         {std::pair{"grp DESC", "grp DESC, rowid DESC"}, std::pair{"code DESC", "code DESC, rowid DESC"}}) {
        QTest::addRow("%s, first", index) << 1 << index << orderBy;
        QTest::addRow("%s, second", index) << 2 << index << orderBy;
        QTest::addRow("%s, middle", index) << 151 << index << orderBy;
        QTest::addRow("%s, one before last", index) << 299 << index << orderBy;
        QTest::addRow("%s, last", index) << 300 << index << orderBy;
    }
}

void TestSQLiteSortedOrder::positionsAndJumps()
{
    QFETCH(int, recNo);
    QFETCH(QString, index);
    QFETCH(QString, orderBy);
    const QList<qint64> expected = FItems->Ids(orderBy);
    const auto table = OpenTable(index, 4);
    TDataSource source;
    source.SetDataSet(table.get());
    TDataLink grid;
    grid.SetDataSource(&source);
    grid.SetBufferCount(9);
    table->SetRecNo(recNo);
    QCOMPARE(CurrentId(*table), expected[recNo - 1]);
    QCOMPARE(table->RecNo(), recNo);
    // Neighbours come from positions next to the jump, both ways.
    if (recNo < 300) {
        table->Next();
        QCOMPARE(CurrentId(*table), expected[recNo]);
        table->Prior();
    }
    if (recNo > 1) {
        table->Prior();
        QCOMPARE(CurrentId(*table), expected[recNo - 2]);
        QCOMPARE(table->RecNo(), recNo - 1);
    }
    // Locate and a bookmark land on the record's own position.
    QVERIFY(table->Locate(QStringLiteral("id"), TVariant(expected[recNo - 1]), {}));
    QCOMPARE(table->RecNo(), recNo);
    const QString mark = table->Bookmark();
    table->First();
    table->SetBookmark(mark);
    QCOMPARE(table->RecNo(), recNo);
    table->Last();
    QCOMPARE(CurrentId(*table), expected.last());
    QCOMPARE(table->RecNo(), 300);
}

// Over an index the window pages by key until a record number is asked for; from then on it pages
// by position, starting from where the key left it.
void TestSQLiteSortedOrder::pagingGoesOnFromAPositionFoundLate()
{
    const QList<qint64> expected = FItems->Ids(QStringLiteral("code, rowid"));
    const auto table = OpenTable(QStringLiteral("code"), 4);
    QVERIFY(table->Locate(QStringLiteral("id"), TVariant(expected[150]), {}));
    table->Next();
    QCOMPARE(table->RecNo(), 152);
    for (int i = 152; i < 170; ++i) {
        table->Next();
        QCOMPARE(CurrentId(*table), expected[i]);
    }
    for (int i = 168; i > 140; --i) {
        table->Prior();
        QCOMPARE(CurrentId(*table), expected[i]);
        QCOMPARE(table->RecNo(), i + 1);
    }
}

void TestSQLiteSortedOrder::editsTakeTheirPlaceInTheOrder()
{
    const auto table = OpenTable(QStringLiteral("name;amount DESC"), 5);
    table->SetRecNo(40);
    const qint64 moved = CurrentId(*table);
    table->Edit();
    table->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("BETA"));
    table->FieldByName(QStringLiteral("amount"))->SetAsFloat(3.25);
    table->Post();
    QCOMPARE(CurrentId(*table), moved);
    QList<qint64> expected = FItems->Ids(QStringLiteral("name, amount DESC, rowid DESC"));
    QCOMPARE(table->RecNo(), int(expected.indexOf(moved)) + 1);
    table->Append();
    table->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("alpha"));
    table->FieldByName(QStringLiteral("amount"))->SetAsFloat(3.25);
    table->Post();
    const qint64 added = CurrentId(*table);
    expected = FItems->Ids(QStringLiteral("name, amount DESC, rowid DESC"));
    QCOMPARE(table->RecNo(), int(expected.indexOf(added)) + 1);
    QCOMPARE(table->RecordCount(), 301);
    QCOMPARE(WalkForward(*table), expected);
    QCOMPARE(WalkBackward(*table), expected);
}

void TestSQLiteSortedOrder::deletingKeepsTheSuccessorCurrent_data()
{
    QTest::addColumn<int>("recNo");
    QTest::addColumn<int>("window");
    QTest::newRow("first, alone") << 1 << 1;
    QTest::newRow("middle, alone") << 120 << 1;
    QTest::newRow("last, alone") << 300 << 1;
    QTest::newRow("middle, grid") << 120 << 11;
    QTest::newRow("last, grid") << 300 << 11;
}

void TestSQLiteSortedOrder::deletingKeepsTheSuccessorCurrent()
{
    QFETCH(int, recNo);
    QFETCH(int, window);
    QList<qint64> expected = FItems->Ids(QStringLiteral("grp, rowid"));
    const auto table = OpenTable(QStringLiteral("grp"), 4);
    TDataSource source;
    source.SetDataSet(table.get());
    TDataLink grid;
    grid.SetDataSource(&source);
    grid.SetBufferCount(window);
    table->SetRecNo(recNo);
    table->Delete();
    QCOMPARE(StoredCount(FItems->Path(), "SELECT count(*) FROM items"), qint64(299));
    expected.removeAt(recNo - 1);
    const int successor = std::min(recNo, 299);
    QCOMPARE(CurrentId(*table), expected[successor - 1]);
    QCOMPARE(table->RecNo(), successor);
    QCOMPARE(table->RecordCount(), 299);
    QCOMPARE(WalkForward(*table), expected);
}

// The grid's current row stays where it was on the screen when the rows around it change order.
void TestSQLiteSortedOrder::reorderingKeepsTheRecordOnItsScreenRow()
{
    const auto table = OpenTable(QString(), 6);
    TDataSource source;
    source.SetDataSet(table.get());
    TDataLink grid;
    grid.SetDataSource(&source);
    grid.SetBufferCount(10);
    table->SetRecNo(120);
    table->MoveBy(-2);
    const int screenRow = grid.ActiveRecord();
    QVERIFY(screenRow != (10 - 1) / 2);
    const qint64 current = CurrentId(*table);
    table->SetIndexFieldNames(QStringLiteral("amount DESC"));
    QCOMPARE(CurrentId(*table), current);
    QCOMPARE(grid.ActiveRecord(), screenRow);
    const QList<qint64> expected = FItems->Ids(QStringLiteral("amount DESC, rowid DESC"));
    QCOMPARE(table->RecNo(), int(expected.indexOf(current)) + 1);
}

void TestSQLiteSortedOrder::followsTheFilter()
{
    const auto table = OpenTable(QStringLiteral("amount"), 4);
    table->SetFilter(QStringLiteral("grp > 6"));
    table->SetFiltered(true);
    const QList<qint64> filtered =
        FItems->Ids(QStringLiteral("amount, rowid"), QStringLiteral("WHERE grp > 6"));
    QVERIFY(filtered.size() > 50 && filtered.size() < 200);
    QCOMPARE(WalkForward(*table), filtered);
    QCOMPARE(WalkBackward(*table), filtered);
    QCOMPARE(table->RecordCount(), int(filtered.size()));
    table->SetRecNo(10);
    QCOMPARE(CurrentId(*table), filtered[9]);
}

void TestSQLiteSortedOrder::jumpsInRowidOrder_data()
{
    QTest::addColumn<QString>("gaps");
    QTest::addColumn<int>("orderReads");
    QTest::newRow("no gaps") << "" << 0;
    QTest::newRow("a row deleted") << "DELETE FROM items WHERE id = 57" << 1;
    QTest::newRow("first rows deleted") << "DELETE FROM items WHERE id < 3" << 0;
    QTest::newRow("a row added far on") << "INSERT INTO items (id, grp) VALUES (5000, 1)" << 1;
}

// Rowids without gaps number the rows: a jump is one lookup; with gaps the first far jump reads
// the rowids in order once, and every later one looks its row up there.
void TestSQLiteSortedOrder::jumpsInRowidOrder()
{
    QFETCH(QString, gaps);
    QFETCH(int, orderReads);
    if (!gaps.isEmpty())
        FItems->Db->ExecSQL(gaps);
    const QList<qint64> expected = FItems->Ids(QStringLiteral("rowid"));
    const auto table = OpenTable(QString(), 4);
    QCOMPARE(table->RecordCount(), int(expected.size()));
    table->SetRecNo(2);
    SortCounter readsOfTheOrder(FItems->Db->Handle(), "SELECT rowid FROM");
    for (int recNo : {200, 2, 111, int(expected.size()), 60}) {
        table->SetRecNo(recNo);
        QCOMPARE(CurrentId(*table), expected[recNo - 1]);
        QCOMPARE(table->RecNo(), recNo);
        table->Next();
        QCOMPARE(table->RecNo(), std::min(recNo + 1, int(expected.size())));
    }
    QCOMPARE(readsOfTheOrder.Count(), orderReads);
    // Without gaps no jump scans the table; with them only the one read of the order does.
    QVERIFY2(readsOfTheOrder.FullScanSteps() <= orderReads * int(expected.size()),
             qPrintable(QString::number(readsOfTheOrder.FullScanSteps())));
    table->Last();
    QVERIFY(table->Locate(QStringLiteral("id"), TVariant(expected[149]), {}));
    QCOMPARE(table->RecNo(), 150);
}

void TestSQLiteSortedOrder::progressHookSeesLongSortsOnly_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("delay");
    QTest::addColumn<bool>("called");
    QTest::newRow("short sort, default delay") << 300 << -1 << false;
    QTest::newRow("long sort, no delay") << 40000 << 0 << true;
    QTest::newRow("long sort, long delay") << 40000 << 60000 << false;
}

void TestSQLiteSortedOrder::progressHookSeesLongSortsOnly()
{
    QFETCH(int, rows);
    QFETCH(int, delay);
    QFETCH(bool, called);
    FItems = std::make_unique<ItemsDatabase>(rows);
    TSQLiteDatabase& db = *FItems->Db;
    QCOMPARE(db.ProgressDelay(), 300);
    if (delay >= 0)
        db.SetProgressDelay(delay);
    int calls = 0;
    db.SetProgressHook([&calls] {
        ++calls;
        return true;
    });
    const auto table = OpenTable(QStringLiteral("code"));
    table->SetIndexFieldNames(QStringLiteral("amount DESC;name"));
    QCOMPARE(calls > 0, called);
    const QList<qint64> expected = FItems->Ids(QStringLiteral("amount DESC, name, rowid"));
    table->SetRecNo(rows / 2);
    QCOMPARE(CurrentId(*table), expected[rows / 2 - 1]);
    // The hook is no longer watching once the sort is over.
    const int callsAfterSort = calls;
    FItems->Ids(QStringLiteral("amount, name"));
    db.ExecScalar(QStringLiteral("SELECT count(*) FROM items a, items b WHERE a.id < 300 AND b.id < 300"));
    QCOMPARE(calls, callsAfterSort);
}

void TestSQLiteSortedOrder::cancelledSortKeepsOrderAndRecord_data()
{
    QTest::addColumn<bool>("byInterrupt");
    QTest::newRow("the hook answers false") << false;
    QTest::newRow("the hook calls Interrupt") << true;
}

void TestSQLiteSortedOrder::cancelledSortKeepsOrderAndRecord()
{
    QFETCH(bool, byInterrupt);
    FItems = std::make_unique<ItemsDatabase>(40000);
    TSQLiteDatabase& db = *FItems->Db;
    db.SetProgressDelay(0);
    const auto table = OpenTable(QStringLiteral("grp DESC"));
    const QList<qint64> expected = FItems->Ids(QStringLiteral("grp DESC, rowid DESC"));
    table->SetRecNo(1234);
    const qint64 current = CurrentId(*table);
    int calls = 0;
    db.SetProgressHook([&] {
        ++calls;
        if (byInterrupt)
            db.Interrupt();
        return byInterrupt;
    });
    ORVO_EXPECT_DB_ERROR(table->SetIndexFieldNames(QStringLiteral("amount;name DESC")),
                         "Sorting 'items' was cancelled");
    QVERIFY(calls > 0);
    QCOMPARE(table->IndexFieldNames(), QStringLiteral("grp DESC"));
    QCOMPARE(CurrentId(*table), current);
    QCOMPARE(table->RecNo(), 1234);
    table->Next();
    QCOMPARE(CurrentId(*table), expected[1234]);
    // Nothing of the cancel lingers: the next sort runs to its end.
    db.SetProgressHook({});
    table->SetIndexFieldNames(QStringLiteral("amount;name DESC"));
    QCOMPARE(CurrentId(*table), expected[1234]);
    const QList<qint64> sorted = FItems->Ids(QStringLiteral("amount, name DESC, rowid DESC"));
    QCOMPARE(table->RecNo(), int(sorted.indexOf(expected[1234])) + 1);
}

// SQLite forbids using a connection from inside its progress callback: datasets refuse to
// read, and the database refuses to close, until the statement is over.
void TestSQLiteSortedOrder::connectionIsOffLimitsInsideTheHook()
{
    FItems = std::make_unique<ItemsDatabase>(40000);
    TSQLiteDatabase& db = *FItems->Db;
    db.SetProgressDelay(0);
    const auto table = OpenTable(QStringLiteral("code"));
    TSQLiteTable other;
    other.SetDatabase(&db);
    other.SetTableName(QStringLiteral("items"));
    QStringList refusals;
    db.SetProgressHook([&] {
        if (!refusals.isEmpty())
            return true;
        const auto refused = [&](const std::function<void()>& action) {
            try {
                action();
            } catch (const EDatabaseError& e) {
                refusals << e.Message();
            }
        };
        refused([&] { other.Open(); });
        refused([&] { db.ExecScalar(QStringLiteral("SELECT 1")); });
        refused([&] { db.Close(); });
        return true;
    });
    table->SetIndexFieldNames(QStringLiteral("name"));
    QCOMPARE(refusals.size(), 3);
    for (const QString& message : refusals)
        QVERIFY2(message.contains(QLatin1String("busy with a long operation")), qPrintable(message));
    QVERIFY(db.Connected());
    QVERIFY(!other.Active());
    QCOMPARE(WalkForward(*table).mid(0, 50), FItems->Ids(QStringLiteral("name, rowid")).mid(0, 50));
}

QTEST_GUILESS_MAIN(TestSQLiteSortedOrder)
#include "tst_sqlitesortedorder.moc"
