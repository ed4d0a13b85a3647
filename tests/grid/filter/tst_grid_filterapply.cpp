#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/common/gridtestwidgets.h"
#include "grid/common/titemstable.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "grid/filter/torvodbgridfilter.h"
#include "grid/totals/torvocolumntotalfooter.h"
#include "platform/data/tfield.h"

#include <QTest>

using namespace orvo;

namespace {

/// A grid with the columns id, name and price over a table of 100 items (id n, name
/// "Item n", price n * 1.25), opened.
struct TFilteredItems
{
    TFilteredItems()
    {
        test::AddColumns(Grid, {"id", "name", "price"});
        Grid.SetDataSource(&Items.Source);
        Items.Table.Open();
    }

    TOrvoColumn* Column(int index) { return Grid.Columns()->Items(index); }
    int Count() { return Items.Table.RecordCount(); }

    test::TItemsTable Items{100};
    TOrvoDBGrid Grid;
};

} // namespace

class TestGridFilterApply : public QObject
{
    Q_OBJECT

private slots:
    void columnExpressionsJoinTheProgramFilter()
    {
        TFilteredItems items;
        items.Items.Table.SetFilter(QStringLiteral("id > 10"));
        items.Items.Table.SetFiltered(true);
        items.Column(0)->SetFilterText(QStringLiteral("id <= 20"));
        items.Column(2)->SetFilterText(QStringLiteral("price > 15"));
        QCOMPARE(items.Items.Table.Filter(), QStringLiteral("(id > 10) AND (id <= 20) AND (price > 15)"));
        QCOMPARE(items.Count(), 8); // ids 13 to 20
        QVERIFY(items.Grid.FilterGrid()->Engaged());
        QCOMPARE(items.Grid.Filter(), QStringLiteral("id > 10"));

        // The program changes its own filter: the columns' part stays on.
        items.Grid.SetFilter(QStringLiteral("id > 18"));
        QCOMPARE(items.Items.Table.Filter(), QStringLiteral("(id > 18) AND (id <= 20) AND (price > 15)"));
        QCOMPARE(items.Count(), 2);

        // Turning the column filters off gives the dataset the program's filter alone.
        items.Grid.FilterGrid()->SetFiltered(false);
        QVERIFY(!items.Grid.FilterGrid()->Engaged());
        QCOMPARE(items.Items.Table.Filter(), QStringLiteral("id > 18"));
        QCOMPARE(items.Count(), 82);
        QCOMPARE(items.Column(0)->FilterText(), QStringLiteral("id <= 20"));
        items.Grid.FilterGrid()->SetFiltered(true);
        QCOMPARE(items.Count(), 2);
    }

    void checkedValuesFilterRecordByRecordWithoutRegardToCase()
    {
        TFilteredItems items;
        items.Column(1)->SetFilterList({QStringLiteral("ITEM 3"), QStringLiteral("item 7"),
                                        QStringLiteral("Item 9') OR (1 = 1"), QStringLiteral("absent")});
        QVERIFY(items.Grid.FilterGrid()->FilterText().isEmpty());
        QVERIFY(items.Items.Table.Filter().isEmpty()); // values never enter an expression
        QVERIFY(items.Grid.FilterGrid()->Engaged());
        QCOMPARE(items.Count(), 2);
        QStringList names;
        for (items.Items.Table.First(); !items.Items.Table.Eof(); items.Items.Table.Next())
            names << items.Items.Table.FieldByName(QStringLiteral("name"))->AsString();
        QCOMPARE(names, QStringList({QStringLiteral("Item 3"), QStringLiteral("Item 7")}));

        // Checked values and an expression on another column both hold.
        items.Column(0)->SetFilterText(QStringLiteral("id > 5"));
        QCOMPARE(items.Count(), 1);
        items.Grid.FilterGrid()->ClearFilters(TOrvoDBGridFilter::cfFilterLists |
                                              TOrvoDBGridFilter::cfFilterTexts);
        QVERIFY(!items.Grid.FilterGrid()->Engaged());
        QCOMPARE(items.Count(), 100);
    }

    void theProgramsRecordHandlerStillRejectsWhileEngaged()
    {
        TFilteredItems items;
        items.Grid.SetOnFilterRecord([](TDataSet* dataSet, bool& accept) {
            accept = dataSet->FieldByName(QStringLiteral("id"))->AsInteger() % 2 == 0;
        });
        items.Grid.SetFiltered(true);
        QCOMPARE(items.Count(), 50);
        items.Column(0)->SetFilterText(QStringLiteral("id <= 10"));
        QCOMPARE(items.Count(), 5);
        // Its flag off, the program's handler takes no part.
        items.Grid.SetFiltered(false);
        QCOMPARE(items.Count(), 10);
        items.Column(0)->SetFilterText(QString());
        QVERIFY(!items.Items.Table.Filtered());
        QCOMPARE(items.Count(), 100);
    }

    void withoutAutoUpdateOnlyTheHostIsTold()
    {
        TFilteredItems items;
        int changes = 0;
        items.Grid.OnFilterChanged = [&changes](QObject*) { ++changes; };
        items.Grid.FilterGrid()->SetAutoUpdate(false);
        items.Column(0)->SetFilterText(QStringLiteral("id < 3"));
        items.Column(1)->SetFilterList({QStringLiteral("Item 1")});
        QCOMPARE(changes, 2);
        QVERIFY(!items.Items.Table.Filtered());
        QCOMPARE(items.Count(), 100);
        QCOMPARE(items.Grid.FilterGrid()->FilterText(), QStringLiteral("(id < 3)"));
        // Switched back on, the filters apply at once.
        items.Grid.FilterGrid()->SetAutoUpdate(true);
        QCOMPARE(items.Count(), 1);
    }

    void theCurrentRecordStaysWhenItPassesElseTheFirstIsCurrent()
    {
        TFilteredItems items;
        items.Grid.SetKeyFields(QStringLiteral("id"));
        int updates = 0;
        items.Grid.OnFilterUpdated = [&updates](QObject*) { ++updates; };
        QVERIFY(items.Items.Table.Locate(QStringLiteral("id"), TVariant(qint64(40)), {}));
        items.Column(0)->SetFilterText(QStringLiteral("id >= 30"));
        QCOMPARE(items.Items.CurrentId(), 40);
        items.Column(0)->SetFilterText(QStringLiteral("id >= 50"));
        QCOMPARE(items.Items.CurrentId(), 50);
        QCOMPARE(updates, 2);
    }

    void aStoredFilterThatDoesNotStandAloneLeavesEveryRecordShown()
    {
        TFilteredItems items;
        const QString stored = QStringLiteral("name = 'x') OR (name IS NOT NULL");
        items.Grid.FilterGrid()->SetSettings(
            {QStringLiteral("Filters=1"), QStringLiteral("Filter1=name,\"%1\",").arg(stored)});
        QCOMPARE(items.Column(1)->FilterText(), stored);
        QCOMPARE(items.Grid.FilterGrid()->RejectedColumns(), QList<TOrvoColumn*>{items.Column(1)});
        QCOMPARE(items.Count(), 100);
        // With a program filter the stored text cannot widen it either.
        items.Grid.SetFilter(QStringLiteral("id <= 3"));
        items.Grid.SetFiltered(true);
        QCOMPARE(items.Count(), 3);
    }

    void aValueTheFieldCannotHoldIsLeftOutAndTheOthersStillFilter()
    {
        TFilteredItems items;
        items.Column(0)->SetFilterText(QStringLiteral("id = 'abc'"));
        QCOMPARE(items.Grid.FilterGrid()->RejectedColumns(), QList<TOrvoColumn*>{items.Column(0)});
        QCOMPARE(items.Count(), 100);
        items.Column(2)->SetFilterText(QStringLiteral("price < 5"));
        QCOMPARE(items.Count(), 3);
        QCOMPARE(items.Column(0)->FilterText(), QStringLiteral("id = 'abc'"));
    }

    void footerTotalsFollowTheFilter()
    {
        TFilteredItems items;
        items.Grid.SetOptionsEx(items.Grid.OptionsEx() - TOrvoDBGridOptionsEx{dgDelayUpdateTotals} +
                                TOrvoDBGridOptionsEx{dgTotalFooter});
        TOrvoColumnTotalValue* count = items.Column(0)->TotalFooter();
        count->SetCalcValue(cvCount);
        count->SetTotalResult(trCalcValue);
        QCOMPARE(count->Value(), TVariant(qint64(100)));
        items.Column(1)->SetFilterList({QStringLiteral("item 3"), QStringLiteral("item 7")});
        QCOMPARE(count->Value(), TVariant(qint64(2)));
        items.Column(0)->SetFilterText(QStringLiteral("id > 5"));
        QCOMPARE(count->Value(), TVariant(qint64(1)));
        items.Grid.FilterGrid()->SetFiltered(false);
        QCOMPARE(count->Value(), TVariant(qint64(100)));
    }

    void closingAndReopeningKeepsTheProgramsFilterApart()
    {
        TFilteredItems items;
        items.Grid.SetFilter(QStringLiteral("id > 90"));
        items.Grid.SetFiltered(true);
        items.Column(0)->SetFilterText(QStringLiteral("id < 95"));
        QCOMPARE(items.Count(), 4);
        items.Items.Table.Close();
        QCOMPARE(items.Items.Table.Filter(), QStringLiteral("id > 90"));
        items.Items.Table.Open();
        QCOMPARE(items.Count(), 4);
        QCOMPARE(items.Grid.Filter(), QStringLiteral("id > 90"));
    }
};

QTEST_MAIN(TestGridFilterApply)
#include "tst_grid_filterapply.moc"
