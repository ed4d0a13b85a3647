#include "grid/common/tsampletable.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "grid/treeview/torvodbgridtreeview.h"
#include "platform/core/exceptions.h"
#include "platform/data/tfield.h"
#include "platform/data/tfields.h"
#include "platform/sqlite/tsqlitetable.h"

#include <QTest>

using namespace orvo;

/// The tree view's settings: defaults, the limits values are brought into, which
/// values are stored with a form, and the shape of a row's path.
class TestGridTreeView : public QObject
{
    Q_OBJECT

private slots:
    void defaults();
    void openToLevelNotBelowMinusOne_data();
    void openToLevelNotBelowMinusOne();
    void rowOrderFieldSize_data();
    void rowOrderFieldSize();
    void fieldNamesStoreOnlyWhatDiffersFromTheDefault_data();
    void fieldNamesStoreOnlyWhatDiffersFromTheDefault();
    void keyFieldsAreTheGrids();
    void namesTakeTheSpellingOfTheDataSetsFields();
    void treeFieldsAreHiddenWritableAndNeverStored();
    void pathsAreRightAlignedRecordNumbers_data();
    void pathsAreRightAlignedRecordNumbers();
    void assignCopiesEverySettingButKeyFields();
};

void TestGridTreeView::defaults()
{
    TOrvoDBGrid grid;
    const TOrvoDBGridTreeView* tree = grid.TreeView();
    QCOMPARE(tree->Grid(), &grid);
    QVERIFY(tree->AutoActive());
    QVERIFY(tree->AutoUpdate());
    QVERIFY(!tree->CellExpand());
    QCOMPARE(tree->OpenToLevel(), -1);
    QVERIFY(tree->ColumnNames().isEmpty());
    QVERIFY(tree->ParentFields().isEmpty());
    QCOMPARE(tree->RowLevelFieldName(), QString("RowLevel"));
    QCOMPARE(tree->RowOrderFieldName(), QString("RowOrder"));
    QCOMPARE(tree->RowOrderFieldSize(), 80);
    QCOMPARE(tree->RowStateFieldName(), QString("RowState"));
    QVERIFY(!tree->IsRowLevelFieldNameStored());
    QVERIFY(!tree->IsRowOrderFieldSizeStored());
}

void TestGridTreeView::openToLevelNotBelowMinusOne_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("far below") << -5 << -1;
    QTest::newRow("no limit") << -1 << -1;
    QTest::newRow("roots") << 0 << 0;
    QTest::newRow("deep") << 7 << 7;
}

void TestGridTreeView::openToLevelNotBelowMinusOne()
{
    QFETCH(int, value);
    QFETCH(int, expected);
    TOrvoDBGrid grid;
    grid.TreeView()->SetOpenToLevel(value);
    QCOMPARE(grid.TreeView()->OpenToLevel(), expected);
}

void TestGridTreeView::rowOrderFieldSize_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("expected");
    QTest::addColumn<bool>("stored");
    QTest::newRow("negative") << -3 << 80 << false;
    QTest::newRow("zero") << 0 << 80 << false;
    QTest::newRow("one") << 1 << 20 << true;
    QTest::newRow("nineteen") << 19 << 20 << true;
    QTest::newRow("twenty") << 20 << 20 << true;
    QTest::newRow("default") << 80 << 80 << false;
    QTest::newRow("large") << 250 << 250 << true;
}

void TestGridTreeView::rowOrderFieldSize()
{
    QFETCH(int, value);
    QFETCH(int, expected);
    QFETCH(bool, stored);
    TOrvoDBGrid grid;
    grid.TreeView()->SetRowOrderFieldSize(value);
    QCOMPARE(grid.TreeView()->RowOrderFieldSize(), expected);
    QCOMPARE(grid.TreeView()->IsRowOrderFieldSizeStored(), stored);
}

void TestGridTreeView::fieldNamesStoreOnlyWhatDiffersFromTheDefault_data()
{
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QString>("defaultName");
    QTest::newRow("level") << QByteArray("RowLevelFieldName") << "RowLevel";
    QTest::newRow("order") << QByteArray("RowOrderFieldName") << "RowOrder";
    QTest::newRow("state") << QByteArray("RowStateFieldName") << "RowState";
}

void TestGridTreeView::fieldNamesStoreOnlyWhatDiffersFromTheDefault()
{
    QFETCH(QByteArray, property);
    QFETCH(QString, defaultName);
    TOrvoDBGrid grid;
    TOrvoDBGridTreeView* tree = grid.TreeView();
    const auto stored = [&] {
        bool result = false;
        QMetaObject::invokeMethod(tree, "Is" + property + "Stored", Q_RETURN_ARG(bool, result));
        return result;
    };
    tree->setProperty(property, "TreeField");
    QCOMPARE(tree->property(property).toString(), QString("TreeField"));
    QVERIFY(stored());
    tree->setProperty(property, defaultName.toUpper());
    QCOMPARE(tree->property(property).toString(), defaultName);
    QVERIFY(!stored());
    tree->setProperty(property, QString());
    QCOMPARE(tree->property(property).toString(), defaultName);
}

void TestGridTreeView::keyFieldsAreTheGrids()
{
    TOrvoDBGrid grid;
    grid.TreeView()->SetKeyFields("ID");
    QCOMPARE(grid.KeyFields(), QString("ID"));
    grid.SetKeyFields("Code");
    QCOMPARE(grid.TreeView()->KeyFields(), QString("Code"));
}

void TestGridTreeView::namesTakeTheSpellingOfTheDataSetsFields()
{
    test::TSampleTable customers;
    TSQLiteTable& table = customers.Table;
    table.Open();
    TOrvoDBGrid grid;
    grid.SetDataSource(&customers.Source);
    TOrvoDBGridTreeView* tree = grid.TreeView();

    tree->SetParentFields("SCORE, Missing");
    QCOMPARE(tree->ParentFields(), QString("score;Missing"));
    tree->SetColumnNames("NAME;City");
    QCOMPARE(tree->ColumnNames(), QString("name;city"));

    // The tree's fields are found by name in any case and read for the current record.
    tree->SetRowLevelFieldName("SCORE");
    tree->SetRowOrderFieldName("Name");
    tree->SetRowStateFieldName("ID");
    QVERIFY(tree->FindTreeFields(&table));
    table.First();
    QCOMPARE(tree->RowLevel(), table.FieldByName("score")->AsInteger());
    QCOMPARE(tree->RowOrder(), QString("Name01"));
    QCOMPARE(tree->RowState(), 1);
    QVERIFY(tree->RowVisible());
    tree->SetRowStateFieldName("NoSuchField");
    QVERIFY(!tree->FindTreeFields(&table));
    QVERIFY(!tree->RowStateField());
    QCOMPARE(tree->RowState(), 0);
    tree->ForgetTreeFields();
    QVERIFY(!tree->RowLevelField());
    QCOMPARE(tree->RowState(), 0);
    // A state word of 0 belongs to a row no build has seen: it shows.
    QVERIFY(tree->RowVisible());
    QVERIFY(!TOrvoDBGridTreeView::IsVisibleState(TOrvoDBGridTreeView::StateExpanded));
}

void TestGridTreeView::treeFieldsAreHiddenWritableAndNeverStored()
{
    test::TSampleTable customers;
    TSQLiteTable& table = customers.Table;
    // Opened once, so that the table knows its field definitions when it is closed.
    table.Open();
    table.Close();
    TOrvoDBGrid grid;
    TOrvoDBGridTreeView* tree = grid.TreeView();
    tree->SetRowOrderFieldSize(30);
    tree->CreateTreeFields(&table);
    tree->CreateTreeFields(&table); // the fields there are kept, none is doubled
    QCOMPARE(table.Fields()->Count(), 8 + 3);
    table.Open();
    QVERIFY(tree->FindTreeFields(&table));
    QVERIFY(!tree->RowOrderField()->Visible());
    QCOMPARE(tree->RowOrderField()->Size(), 30);
    QCOMPARE(tree->RowLevelField()->FieldKind(), fkInternalCalc);
    QVERIFY(table.FieldByName("city")->Visible()); // the table's own fields stay as they were

    table.SetRecNo(2);
    table.Edit();
    tree->RowOrderField()->SetAsString("   1   2");
    tree->RowLevelField()->SetAsInteger(1);
    tree->RowStateField()->SetAsInteger(TOrvoDBGridTreeView::StateVisible);
    table.Post();
    table.First();
    QVERIFY(tree->RowOrder().isEmpty());
    table.SetRecNo(2);
    QCOMPARE(tree->RowOrder(), QString("   1   2"));
    QCOMPARE(tree->RowLevel(), 1);
    QCOMPARE(customers.Sample.Ids("SELECT count(*) FROM customers"), QList<qint64>({25})); // no row was added
    QVERIFY_THROWS_EXCEPTION(Exception, customers.Sample.Ids("SELECT RowOrder FROM customers"));

    // An open dataset is left alone.
    tree->SetRowStateFieldName("Flags");
    tree->CreateTreeFields(&table);
    QVERIFY(!table.FindField("Flags"));
}

void TestGridTreeView::pathsAreRightAlignedRecordNumbers_data()
{
    QTest::addColumn<int>("recordCount");
    QTest::addColumn<int>("recNo");
    QTest::addColumn<QString>("formatted");
    QTest::newRow("150 records") << 150 << 7 << "   7";
    QTest::newRow("150 records, child") << 150 << 12 << "  12";
    QTest::newRow("9 records") << 9 << 9 << " 9";
    QTest::newRow("10 records") << 10 << 10 << " 10";
    QTest::newRow("empty") << 0 << 1 << " 1";
}

void TestGridTreeView::pathsAreRightAlignedRecordNumbers()
{
    QFETCH(int, recordCount);
    QFETCH(int, recNo);
    QFETCH(QString, formatted);
    const int width = TOrvoDBGridTreeView::PathWidth(recordCount);
    QCOMPARE(TOrvoDBGridTreeView::FormatRowNumber(recNo, width), formatted);
    // A child's path is its parent's path followed by its own number, so that sorting
    // by path puts every child right after its parent.
    const QString child = formatted + TOrvoDBGridTreeView::FormatRowNumber(1, width);
    const QString nextRoot = TOrvoDBGridTreeView::FormatRowNumber(recNo + 1, width);
    QVERIFY(child < nextRoot);
}

void TestGridTreeView::assignCopiesEverySettingButKeyFields()
{
    TOrvoDBGrid source;
    source.SetKeyFields("ID");
    TOrvoDBGridTreeView* from = source.TreeView();
    from->SetAutoActive(false);
    from->SetAutoUpdate(false);
    from->SetCellExpand(true);
    from->SetOpenToLevel(1);
    from->SetColumnNames("Name");
    from->SetParentFields("ParentID");
    from->SetRowLevelFieldName("Lvl");
    from->SetRowOrderFieldName("Path");
    from->SetRowOrderFieldSize(40);
    from->SetRowStateFieldName("Flags");
    TOrvoDBGrid target;
    target.SetTreeView(from);
    const TOrvoDBGridTreeView* to = target.TreeView();
    QVERIFY(!to->AutoActive());
    QVERIFY(!to->AutoUpdate());
    QVERIFY(to->CellExpand());
    QCOMPARE(to->OpenToLevel(), 1);
    QCOMPARE(to->ColumnNames(), QString("Name"));
    QCOMPARE(to->ParentFields(), QString("ParentID"));
    QCOMPARE(to->RowLevelFieldName(), QString("Lvl"));
    QCOMPARE(to->RowOrderFieldName(), QString("Path"));
    QCOMPARE(to->RowOrderFieldSize(), 40);
    QCOMPARE(to->RowStateFieldName(), QString("Flags"));
    QVERIFY(to->KeyFields().isEmpty());
    QCOMPARE(to->Grid(), &target);
}

QTEST_MAIN(TestGridTreeView)
#include "tst_grid_treeview.moc"
