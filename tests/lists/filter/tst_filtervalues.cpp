#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/common/gridtestwidgets.h"
#include "grid/common/titemstable.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "grid/filter/torvodbgridfilter.h"
#include "lists/filter/torvodbfilterdata.h"
#include "lists/filter/torvofiltervalues.h"

#include <QTest>

using namespace orvo;

namespace {

/// A grid with the columns id, name and price over the items table, whose names and
/// prices the test sets, opened.
struct TValuesFixture
{
    explicit TValuesFixture(const QList<TVariant>& names, const QList<TVariant>& prices = {})
        : Items(names.size())
    {
        for (int i = 0; i < names.size(); ++i)
            Items.Db.ExecSQL(QStringLiteral("UPDATE items SET name = ?, price = ? WHERE id = ?"),
                             {names.at(i), prices.value(i, TVariant(1.0)), TVariant(qint64(i + 1))});
        test::AddColumns(Grid, {"id", "name", "price"});
        Grid.SetDataSource(&Items.Source);
        Items.Table.Open();
    }

    /// The item texts of the rows, in order.
    QStringList Shown(int columnIndex, bool loadAll = false, bool checkedFirst = false)
    {
        QStringList items;
        for (const QString& row :
             TOrvoFilterValues::Load(*Grid.Columns()->Items(columnIndex), loadAll, checkedFirst).Rows)
            items << TOrvoDBFilterData::ItemOf(row);
        return items;
    }

    test::TItemsTable Items;
    TOrvoDBGrid Grid;
};

QString Text(const char* text)
{
    return QString::fromUtf8(text);
}

} // namespace

class TestFilterValues : public QObject
{
    Q_OBJECT

private slots:
    void textsComeOnceInCaseInsensitiveOrderWithTheEmptyOnesNamed()
    {
        TValuesFixture f({TVariant(Text("A")), TVariant(Text("b")), TVariant(Text("B")), TVariant(Text("a")),
                          TVariant(Text("")), TVariant::Null()});
        QCOMPARE(f.Shown(1), QStringList({TOrvoFilterValues::EmptyItem(), Text("A"), Text("b")}));
        // The empty value's key is the empty text, which is what the record test compares.
        const TOrvoFilterValueRows rows = TOrvoFilterValues::Load(*f.Grid.Columns()->Items(1), false, false);
        QCOMPARE(TOrvoDBFilterData::KeyOf(rows.Rows.first()), QString());
    }

    void numbersSortByValue()
    {
        TValuesFixture f({TVariant(Text("x")), TVariant(Text("y")), TVariant(Text("z")), TVariant(Text("w"))},
                         {TVariant(10.0), TVariant(-10.0), TVariant(2.0), TVariant(2.5)});
        QCOMPARE(f.Shown(2), QStringList({Text("-10"), Text("2"), Text("2.5"), Text("10")}));
    }

    void checkedValuesComeFirstEachGroupInOrder()
    {
        TValuesFixture f(
            {TVariant(Text("d")), TVariant(Text("c")), TVariant(Text("b")), TVariant(Text("a"))});
        f.Grid.FilterGrid()->SetAutoUpdate(false); // checking must not hide the other rows
        f.Grid.Columns()->Items(1)->SetFilterList({Text("D"), Text("b")});
        QCOMPARE(f.Shown(1, false, true), QStringList({Text("b"), Text("d"), Text("a"), Text("c")}));
    }

    void loadingAllItemsSeesPastTheColumnFiltersAndPutsThemBack()
    {
        TValuesFixture f({TVariant(Text("a")), TVariant(Text("b")), TVariant(Text("c"))});
        f.Grid.Columns()->Items(0)->SetFilterText(QStringLiteral("id = 2"));
        QCOMPARE(f.Items.Table.RecordCount(), 1);
        QCOMPARE(f.Shown(1), QStringList{Text("b")});
        QCOMPARE(f.Shown(1, true), QStringList({Text("a"), Text("b"), Text("c")}));
        QVERIFY(f.Grid.FilterGrid()->Filtered());
        QCOMPARE(f.Items.Table.RecordCount(), 1);
    }

    void sizesGrowToTheLongestItemAndKey()
    {
        const QString longName(45, u'n');
        TValuesFixture f({TVariant(longName), TVariant(Text("short"))});
        const TOrvoFilterValueRows rows = TOrvoFilterValues::Load(*f.Grid.Columns()->Items(1), false, false);
        QCOMPARE(rows.ItemSize, 45);
        QCOMPARE(rows.KeySize, 45);
        TValuesFixture small({TVariant(Text("s"))});
        QCOMPARE(TOrvoFilterValues::Load(*small.Grid.Columns()->Items(1), false, false).ItemSize, 20);
    }

    void aClosedDataSetGivesNoRowsAndTheCurrentRecordStays()
    {
        TValuesFixture f({TVariant(Text("a")), TVariant(Text("b")), TVariant(Text("c"))});
        QVERIFY(f.Items.Table.Locate(QStringLiteral("id"), TVariant(qint64(2)), {}));
        QCOMPARE(f.Shown(1).size(), 3);
        QCOMPARE(f.Items.CurrentId(), 2);
        f.Items.Table.Close();
        QVERIFY(f.Shown(1).isEmpty());
    }
};

QTEST_MAIN(TestFilterValues)
#include "tst_filtervalues.moc"
