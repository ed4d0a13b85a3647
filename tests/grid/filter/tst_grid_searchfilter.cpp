#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/common/gridtestwidgets.h"
#include "grid/common/titemstable.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "grid/filter/torvodbgridfilter.h"
#include "grid/search/torvodbgridsearch.h"
#include "grid/search/tsearchmatcher.h"
#include "platform/data/tfield.h"

#include <QTest>

using namespace orvo;

Q_DECLARE_METATYPE(orvo::TOrvoSearchOptions)

namespace {

/// A grid with the columns id and name over a table of 30 items (name "Item n"), opened.
struct TSearchedItems
{
    TSearchedItems()
    {
        test::AddColumns(Grid, {"id", "name"});
        Grid.SetDataSource(&Items.Source);
        Items.Table.Open();
    }

    int Count() { return Items.Table.RecordCount(); }
    void SelectColumn(int index)
    {
        TOrvoColumn* column = Grid.Columns()->Items(index);
        for (int col = 0; col < Grid.ColCount() && Grid.SelectedColumn() != column; ++col)
            Grid.SetCol(col);
        QCOMPARE(Grid.SelectedColumn(), column);
    }

    test::TItemsTable Items{30};
    TOrvoDBGrid Grid;
};

} // namespace

class TestGridSearchFilter : public QObject
{
    Q_OBJECT

private slots:
    void textMatches_data()
    {
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<TOrvoSearchOptions>("options");
        QTest::addColumn<bool>("matches");
        const TOrvoSearchOptions none;
        const TOrvoSearchOptions whole{soWholeWords};
        QTest::newRow("any case") << "item"
                                  << "The ITEM 3" << none << true;
        QTest::newRow("case sensitive") << "item"
                                        << "The ITEM 3" << TOrvoSearchOptions{soCaseSensitive} << false;
        QTest::newRow("accented capitals") << "é"
                                           << "CAFÉ" << none << true;
        QTest::newRow("inside a word") << "tem"
                                       << "Item" << none << true;
        QTest::newRow("whole: inside a word") << "tem"
                                              << "Item" << whole << false;
        QTest::newRow("whole: at both ends") << "item"
                                             << "item" << whole << true;
        QTest::newRow("whole: digits are no letters") << "item"
                                                      << "3item4" << whole << true;
        QTest::newRow("whole: accented letters are no letters") << "caf"
                                                                << "cafés" << whole << true;
        QTest::newRow("whole: a later occurrence") << "ab"
                                                   << "abc ab" << whole << true;
        QTest::newRow("whole: letter after") << "ab"
                                             << "abc" << whole << false;
        QTest::newRow("whole: letter before") << "ab"
                                              << "cab" << whole << false;
        QTest::newRow("empty search") << ""
                                      << "anything" << none << false;
        QTest::newRow("longer than the cell") << "items"
                                              << "item" << none << false;
    }

    void textMatches()
    {
        QFETCH(QString, search);
        QFETCH(QString, cell);
        QFETCH(TOrvoSearchOptions, options);
        QFETCH(bool, matches);
        QCOMPARE(TSearchMatcher(search, options).TextMatches(cell), matches);
    }

    void searchFilterHidesRecordsWithoutAMatch()
    {
        TSearchedItems items;
        TOrvoDBGridSearch* search = items.Grid.Search();
        search->SetOptions({soFilterRows});
        search->SetText(QStringLiteral("item 2"));
        // "Item 2" and "Item 20" to "Item 29"; the id column never matches that text.
        QCOMPARE(items.Count(), 11);
        QVERIFY(items.Grid.FilterGrid()->Engaged());

        search->SetText(QStringLiteral("tem 2"));
        QCOMPARE(items.Count(), 11);
        search->SetOptions({soFilterRows, soWholeWords}); // "I" goes on the word
        QCOMPARE(items.Count(), 0);

        // The search filter off: every record is back, though the column filters wait for an apply.
        items.Grid.FilterGrid()->SetAutoUpdate(false);
        search->SetText(QString());
        QCOMPARE(items.Count(), 30);
        QVERIFY(!items.Grid.FilterGrid()->Engaged());
    }

    void currentColumnOnlySearchesTheSelectedColumn()
    {
        TSearchedItems items;
        TOrvoDBGridSearch* search = items.Grid.Search();
        search->SetText(QStringLiteral("1"));
        search->SetOptions({soFilterRows});
        QCOMPARE(items.Count(), 12); // ids 1, 10-19, 21 and names with a 1 are the same records

        items.SelectColumn(1);
        search->SetText(QStringLiteral("item 1"));
        search->SetOptions({soFilterRows, soCurrentCol});
        QCOMPARE(items.Count(), 11);
        items.SelectColumn(0);
        search->SetText(QStringLiteral("item"));
        QCOMPARE(items.Count(), 0); // the id column holds no "item"
    }

    void searchFilterAndCheckedValuesBothApply()
    {
        TSearchedItems items;
        items.Grid.Columns()->Items(1)->SetFilterList({QStringLiteral("item 21"), QStringLiteral("item 5")});
        QCOMPARE(items.Count(), 2);
        items.Grid.Search()->SetOptions({soFilterRows});
        items.Grid.Search()->SetText(QStringLiteral("2"));
        QCOMPARE(items.Count(), 1);
        QCOMPARE(items.Items.Table.FieldByName(QStringLiteral("name"))->AsString(),
                 QStringLiteral("Item 21"));
    }
};

QTEST_MAIN(TestGridSearchFilter)
#include "tst_grid_searchfilter.moc"
