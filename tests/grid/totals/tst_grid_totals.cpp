#include "grid/common/tsampletable.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "grid/totals/torvodbgridtotals.h"
#include "grid/totals/torvototaldatalink.h"
#include "platform/data/tdatasource.h"
#include "platform/graphics/tcustomimagelist.h"
#include "platform/sqlite/tsqlitequery.h"
#include "platform/sqlite/tsqlitetable.h"
#include "sqlite/sqlitetestdb.h"

#include <QMenu>
#include <QTest>

using namespace orvo;

Q_DECLARE_METATYPE(orvo::TOrvoDBGridOptionsEx)

namespace {

/// A query that can only be read forward, as some server cursors are.
class TForwardOnlyQuery : public TSQLiteQuery
{
public:
    bool IsUniDirectional() const override { return true; }
};

} // namespace

class TestTotals : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void activeRule_data();
    void activeRule();
    void defaultsClampsAndAssign();
    void linkBuffersDataMaxRowRecords_data();
    void linkBuffersDataMaxRowRecords();
    void linkFollowsRecordCount();
    void unidirectionalDataSetsRefused();
    void gridFollowsTotals();

private:
    std::unique_ptr<test::TSampleTable> FCustomers;
};

void TestTotals::init()
{
    FCustomers = std::make_unique<test::TSampleTable>();
}

void TestTotals::cleanup()
{
    FCustomers.reset();
}

void TestTotals::activeRule_data()
{
    QTest::addColumn<TOrvoDBGridOptionsEx>("options");
    QTest::addColumn<bool>("active");
    QTest::newRow("none") << TOrvoDBGridOptionsEx() << false;
    QTest::newRow("boxes only") << TOrvoDBGridOptionsEx{dgTotalHeaderBox, dgTotalValuesBox} << false;
    QTest::newRow("header") << TOrvoDBGridOptionsEx{dgTotalHeader} << true;
    QTest::newRow("fields") << TOrvoDBGridOptionsEx{dgTotalFields} << true;
    QTest::newRow("footer") << TOrvoDBGridOptionsEx{dgTotalFooter} << true;
    QTest::newRow("selected without auto-hide") << TOrvoDBGridOptionsEx{dgTotalValuesSelected} << false;
    QTest::newRow("auto-hide alone") << TOrvoDBGridOptionsEx{dgSelectedAutoHidden} << false;
    QTest::newRow("auto-hidden selected")
        << TOrvoDBGridOptionsEx{dgSelectedAutoHidden, dgTotalFooterSelected} << true;
}

void TestTotals::activeRule()
{
    QFETCH(TOrvoDBGridOptionsEx, options);
    QFETCH(bool, active);
    QCOMPARE(TOrvoDBGridTotals::ActiveFor(options), active);
}

void TestTotals::defaultsClampsAndAssign()
{
    TOrvoDBGridTotals totals(nullptr);
    QVERIFY(!totals.Active());
    QCOMPARE(totals.BoxStyle(), cbAuto);
    QVERIFY(totals.CalcValues());
    QCOMPARE(totals.Color(), clBtnFace);
    QCOMPARE(totals.DataMaxRow(), 5);
    QCOMPARE(totals.LinesCount(), 1);
    QCOMPARE(totals.SelectedColor(), clDefault);
    QCOMPARE(totals.DataSource(), nullptr);

    totals.SetDataMaxRow(-4);
    QCOMPARE(totals.DataMaxRow(), 0);
    totals.SetLinesCount(0);
    QCOMPARE(totals.LinesCount(), 1);

    totals.SetBoxStyle(cbFlat);
    totals.SetCalcValues(false);
    totals.SetColor(clBlack);
    totals.SetLinesCount(3);
    totals.SetSelectedColor(clNone);
    TFont font;
    font.SetSize(15);
    totals.SetFont(font);
    totals.SetDataSource(&FCustomers->Source);
    TOrvoDBGridTotals copy(nullptr);
    copy.Assign(&totals);
    for (const char* name : {"BoxStyle", "CalcValues", "Color", "DataMaxRow", "LinesCount", "SelectedColor"})
        QCOMPARE(copy.property(name), totals.property(name));
    QCOMPARE(copy.Font(), font);
    QCOMPARE(copy.DataSource(), &FCustomers->Source);
}

void TestTotals::linkBuffersDataMaxRowRecords_data()
{
    QTest::addColumn<int>("dataMaxRow");
    QTest::addColumn<int>("rows");
    QTest::newRow("five of 25") << 5 << 5;
    QTest::newRow("all") << 0 << 25;
    QTest::newRow("more than there are") << 40 << 25;
}

void TestTotals::linkBuffersDataMaxRowRecords()
{
    QFETCH(int, dataMaxRow);
    QFETCH(int, rows);
    TOrvoDBGridTotals totals(nullptr);
    totals.SetDataSource(&FCustomers->Source);
    totals.SetDataMaxRow(dataMaxRow);
    FCustomers->Table.Open();
    QVERIFY(totals.DataLink()->Active());
    QCOMPARE(totals.DataLink()->BufferCount(), rows);
    QCOMPARE(totals.DataLink()->RecordCount(), rows);
}

void TestTotals::linkFollowsRecordCount()
{
    FCustomers->Table.Open();
    TOrvoDBGridTotals totals(nullptr);
    totals.SetDataMaxRow(0);
    totals.SetDataSource(&FCustomers->Source);
    QCOMPARE(totals.DataLink()->RecordCount(), 25);

    FCustomers->Table.SetFilter(QStringLiteral("city = 'Oslo'"));
    FCustomers->Table.SetFiltered(true);
    QCOMPARE(totals.DataLink()->RecordCount(), 5);
    totals.SetDataMaxRow(2);
    QCOMPARE(totals.DataLink()->RecordCount(), 2);
    FCustomers->Table.SetFiltered(false);
    QCOMPARE(totals.DataLink()->RecordCount(), 2);
    totals.SetDataMaxRow(0);
    QCOMPARE(totals.DataLink()->RecordCount(), 25);
}

void TestTotals::unidirectionalDataSetsRefused()
{
    TForwardOnlyQuery query;
    query.SetDatabase(FCustomers->Sample.Db.get());
    query.SetSQL({QStringLiteral("SELECT id FROM customers")});
    TDataSource source;
    source.SetDataSet(&query);
    TOrvoDBGridTotals totals(nullptr);
    ORVO_EXPECT_DB_ERROR(totals.SetDataSource(&source), "unidirectional");
    QCOMPARE(totals.DataSource(), nullptr);

    // A source that gets such a dataset later is refused when the link activates.
    TDataSource later;
    totals.SetDataSource(&later);
    later.SetDataSet(&query);
    ORVO_EXPECT_DB_ERROR(query.Open(), "unidirectional");
}

void TestTotals::gridFollowsTotals()
{
    TOrvoDBGrid grid;
    TOrvoDBGridTotals* totals = grid.Totals();
    QCOMPARE(totals->Grid(), &grid);
    QVERIFY(!totals->Active());
    grid.SetOptionsEx(grid.OptionsEx() + dgTotalFooter);
    QVERIFY(totals->Active());

    totals->SetSelectedColor(clNone);
    QVERIFY(!grid.DrawingOptions().Contains(gdoTotalSelected));
    totals->SetSelectedColor(clRed);
    QVERIFY(grid.DrawingOptions().Contains(gdoTotalSelected));

    QVERIFY(!totals->IsColorStored());
    totals->SetColor(clYellow);
    QVERIFY(totals->IsColorStored());
    grid.SetFixedColor(clYellow);
    QVERIFY(!totals->IsColorStored());

    grid.SetDataSource(&FCustomers->Source);
    ORVO_EXPECT_DB_ERROR(totals->SetDataSource(&FCustomers->Source), "Circular datalinks");
    QCOMPARE(totals->DataSource(), nullptr);
}

QTEST_MAIN(TestTotals)
#include "tst_grid_totals.moc"
