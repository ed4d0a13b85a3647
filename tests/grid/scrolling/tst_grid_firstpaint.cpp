#include "grid/common/gridtestwidgets.h"
#include "grid/common/titemstable.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "platform/data/tdatasource.h"
#include "platform/sqlite/tsqlitetable.h"
#include "tverticalbar.h"

#include <QScrollBar>
#include <QTest>

using namespace orvo;

using orvo::test::BarOf;
using orvo::test::TBar;

namespace {

/// A table that counts how often it is asked for its record count, which SQLite
/// answers by reading the whole table.
class TCountingTable : public TSQLiteTable
{
public:
    mutable int CountsAsked = 0;

protected:
    int GetRecordCount() const override
    {
        ++CountsAsked;
        return TSQLiteTable::GetRecordCount();
    }
};

/// A grid that notes how often the table was asked for its count when its first
/// paint was done.
class TPaintWatchingGrid : public TOrvoDBGrid
{
public:
    explicit TPaintWatchingGrid(const TCountingTable& table) : FTable(table) {}

    int Paints = 0;
    int CountsAskedByFirstPaint = -1;
    int BarValueAtFirstPaint = -1;

protected:
    void Paint(TCanvas& canvas) override
    {
        TOrvoDBGrid::Paint(canvas);
        if (++Paints == 1) {
            CountsAskedByFirstPaint = FTable.CountsAsked;
            BarValueAtFirstPaint = verticalScrollBar()->value();
        }
    }

private:
    const TCountingTable& FTable;
};

/// The table over the items of `items`, with a data source of its own.
struct TCountedItems
{
    explicit TCountedItems(test::TItemsTable& items)
    {
        Table.SetDatabase(&items.Db);
        Table.SetTableName(QStringLiteral("items"));
        Source.SetDataSet(&Table);
    }

    TCountingTable Table;
    TDataSource Source;
};

} // namespace

class TestGridFirstPaint : public QObject
{
    Q_OBJECT

private slots:
    void firstPaintAsksNoCount_data();
    void firstPaintAsksNoCount();
    void recordsThatFitAreCountedAtOnce();
    void gridPaintedBeforeOpeningCountsAtOnce();
};

void TestGridFirstPaint::firstPaintAsksNoCount_data()
{
    QTest::addColumn<bool>("openBeforeShowing");
    QTest::addColumn<int>("moveBy");
    QTest::addRow("opened hidden, first record") << true << 0;
    QTest::addRow("opened hidden, record 31") << true << 30;
    QTest::addRow("opened while showing") << false << 0;
}

void TestGridFirstPaint::firstPaintAsksNoCount()
{
    QFETCH(bool, openBeforeShowing);
    QFETCH(int, moveBy);
    test::TItemsTable items(1000);
    TCountedItems counted(items);
    TPaintWatchingGrid grid(counted.Table);
    grid.SetDataSource(&counted.Source);
    grid.resize(400, 300);
    if (openBeforeShowing) {
        counted.Table.Open();
        counted.Table.MoveBy(moveBy);
    }
    grid.show();
    if (!openBeforeShowing)
        counted.Table.Open();
    QTRY_VERIFY(grid.Paints > 0);
    QCOMPARE(grid.CountsAskedByFirstPaint, 0);
    // Before the count the thumb already stands on the current record.
    QCOMPARE(grid.BarValueAtFirstPaint, 1 + moveBy);

    // Once the event loop turned, the bar shows what a count gives.
    QTRY_VERIFY(counted.Table.CountsAsked > 0);
    const TBar settled = BarOf(grid);
    QCOMPARE(settled.Min, 1);
    QCOMPARE(settled.Max, 1000);
    QCOMPARE(settled.Value, 1 + moveBy);
    grid.UpdateScrollBar();
    QCOMPARE(BarOf(grid), settled);
    QVERIFY(grid.verticalScrollBar()->isVisible());
}

void TestGridFirstPaint::recordsThatFitAreCountedAtOnce()
{
    // Every record is in the buffer: the bar is final before the first paint.
    test::TItemsTable items(3);
    TCountedItems counted(items);
    TPaintWatchingGrid grid(counted.Table);
    grid.SetDataSource(&counted.Source);
    counted.Table.Open();
    QVERIFY(test::ShowExposed(grid, 400, 300));
    QTRY_VERIFY(grid.Paints > 0);
    QVERIFY(grid.DataLink()->BufferCount() > 3);
    const TBar first = BarOf(grid);
    QCOMPARE(first.Max, 3);
    QTest::qWait(20);
    QCOMPARE(BarOf(grid), first);
}

void TestGridFirstPaint::gridPaintedBeforeOpeningCountsAtOnce()
{
    // A grid already on screen has had its first paint: a dataset opened in it later
    // gives its bar the real range before the event loop turns.
    test::TItemsTable items(1000);
    TCountedItems counted(items);
    TPaintWatchingGrid grid(counted.Table);
    grid.SetDataSource(&counted.Source);
    QVERIFY(test::ShowExposed(grid, 400, 300));
    QTRY_VERIFY(grid.Paints > 0);
    counted.Table.Open();
    QCOMPARE(grid.verticalScrollBar()->maximum(), 1000);
    counted.Table.MoveBy(500);
    QCOMPARE(grid.verticalScrollBar()->value(), 501);
}

QTEST_MAIN(TestGridFirstPaint)
#include "tst_grid_firstpaint.moc"
