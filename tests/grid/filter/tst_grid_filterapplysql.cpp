#include "common/sqlitebind.h"
#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/common/gridtestwidgets.h"
#include "grid/common/tsampletable.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "grid/filter/torvodbgridfilter.h"
#include "grid/search/torvodbgridsearch.h"
#include "grid/totals/torvocolumntotalfooter.h"
#include "grid/totals/torvocolumntotalvalues.h"
#include "platform/data/tfield.h"

#include <QTest>

using namespace orvo;

namespace {

/// A grid that counts the records its record test is asked about; `describes` says
/// whether that test is only the checked values.
class TCountingGrid : public TOrvoDBGrid
{
public:
    explicit TCountingGrid(bool describes = true) : FDescribes(describes) {}

    int Tested = 0;
    /// Records this id or above are refused beyond the checked values, when set.
    qint64 RefuseFrom = 0;

protected:
    void FilterRecord(TDataSet* dataSet, bool& accept) override
    {
        ++Tested;
        TOrvoDBGrid::FilterRecord(dataSet, accept);
        if (RefuseFrom > 0 && dataSet->FieldByName(QStringLiteral("id"))->AsLargeInt() >= RefuseFrom)
            accept = false;
    }
    bool FilterRecordIsCheckedValues() const override { return FDescribes; }

private:
    bool FDescribes;
};

/// The sample's 25 customers (cities by id: 1 Berlin, 2 Paris, 3 none, 4 Oslo, 5 paris,
/// and again) shown in a grid with the columns id, name and city.
struct TShownCustomers
{
    explicit TShownCustomers(bool describes = true) : Grid(describes)
    {
        test::AddColumns(Grid, {"id", "name", "city"});
        Grid.SetKeyFields(QStringLiteral("id"));
        Grid.SetDataSource(&Customers.Source);
        Customers.Table.Open();
    }

    TOrvoColumn* City() { return Grid.Columns()->Items(2); }
    qint64 CurrentId() { return Customers.Table.FieldByName(QStringLiteral("id"))->AsLargeInt(); }
    int Count() { return Customers.Table.RecordCount(); }

    test::TSampleTable Customers;
    TCountingGrid Grid;
};

} // namespace

class TestGridFilterApplySql : public QObject
{
    Q_OBJECT

private slots:
    void aShownGridOverSQLiteFiltersItsCheckedListInSql()
    {
        TShownCustomers shown;
        QVERIFY(test::ShowExposed(shown.Grid, 500, 300));
        QVERIFY(shown.Customers.Table.Locate(QStringLiteral("id"), TVariant(qint64(7)), {}));
        shown.City()->SetFilterList({QStringLiteral("PARIS")});
        QCOMPARE(shown.Count(), 10);
        QCOMPARE(shown.CurrentId(), qint64(7));
        QCOMPARE(shown.Grid.Tested, 0);
        // The totals read the same rows from SQL.
        QVERIFY(!shown.Customers.Table.RowSourceSql().isEmpty());

        // Null reads as the empty text, which can be checked.
        shown.City()->SetFilterList({QString(), QStringLiteral("oslo")});
        QCOMPARE(shown.Count(), 10);
        QCOMPARE(shown.CurrentId(), qint64(3));
        shown.Grid.FilterGrid()->ClearFilters(TOrvoDBGridFilter::cfFilterLists);
        QCOMPARE(shown.Count(), 25);
        QCOMPARE(shown.Grid.Tested, 0);
    }

    void totalsAddUpTheCheckedRowsInSql()
    {
        TShownCustomers shown;
        shown.Grid.SetOptionsEx(shown.Grid.OptionsEx() - TOrvoDBGridOptionsEx{dgDelayUpdateTotals} +
                                dgTotalFooter);
        TOrvoColumnTotalValue* sum = shown.Grid.ColumnByFieldName(QStringLiteral("id"))->TotalFooter();
        sum->SetTotalResult(trCalcValue);
        shown.City()->SetFilterList({QStringLiteral("PARIS"), QString()});
        int scrolls = 0;
        shown.Customers.Table.AfterScroll = [&scrolls](TDataSet*) { ++scrolls; };
        shown.Grid.CalcTotals(false);
        const qint64 stored =
            test::StoredCount(shown.Customers.Sample.Path(),
                              "SELECT sum(id) FROM customers WHERE lower(city) = 'paris' OR city IS NULL");
        QCOMPARE(sum->Value(), TVariant(stored));
        QVERIFY2(scrolls < 3, qPrintable(QString::number(scrolls)));
        QCOMPARE(shown.Grid.Tested, 0);
    }

    void whatTheRecordTestChecksBeyondTheValuesKeepsItPerRecord_data()
    {
        QTest::addColumn<bool>("programHandler");
        QTest::addColumn<bool>("descendantRefuses");
        QTest::addColumn<bool>("searchFilters");
        QTest::addColumn<int>("count");
        QTest::newRow("the program's record handler") << true << false << false << 5;
        QTest::newRow("a descendant's record test") << false << true << false << 5;
        // The search text filters in the record test (every record matches it here).
        QTest::newRow("the search filter") << false << false << true << 10;
    }

    void whatTheRecordTestChecksBeyondTheValuesKeepsItPerRecord()
    {
        QFETCH(bool, programHandler);
        QFETCH(bool, descendantRefuses);
        QFETCH(bool, searchFilters);
        QFETCH(int, count);
        TShownCustomers shown(!descendantRefuses);
        if (searchFilters) {
            shown.Grid.Search()->SetOptions({soFilterRows});
            shown.Grid.Search()->SetText(QStringLiteral("a"));
        }
        if (descendantRefuses)
            shown.Grid.RefuseFrom = 13;
        if (programHandler) {
            shown.Grid.SetOnFilterRecord([](TDataSet* dataSet, bool& accept) {
                accept = dataSet->FieldByName(QStringLiteral("id"))->AsLargeInt() < 13;
            });
            shown.Grid.SetFiltered(true);
        }
        // Paris and paris: ids 2, 5, 7, 10 and 12 below 13, and 15, 17, 20, 22 and 25.
        shown.City()->SetFilterList({QStringLiteral("paris")});
        QCOMPARE(shown.Count(), count);
        QVERIFY(shown.Grid.Tested > 0);
        QVERIFY(shown.Customers.Table.RowSourceSql().isEmpty());
    }
};

QTEST_MAIN(TestGridFilterApplySql)
#include "tst_grid_filterapplysql.moc"
