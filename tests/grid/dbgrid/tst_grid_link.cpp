#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/common/gridtestwidgets.h"
#include "grid/common/titemorders.h"
#include "grid/common/titemstable.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "grid/totals/torvocolumntotalfields.h"
#include "grid/totals/torvocolumntotalfooter.h"
#include "grid/totals/torvocolumntotalheader.h"
#include "grid/totals/torvocolumntotalvalue.h"
#include "grid/totals/torvocolumntotalvalues.h"
#include "grid/totals/torvodbgridtotals.h"
#include "platform/core/exceptions.h"
#include "platform/data/tdatasource.h"
#include "platform/data/tfield.h"
#include "platform/gridbase/tinplaceedit.h"
#include "platform/sqlite/tsqlitedatabase.h"
#include "platform/sqlite/tsqlitetable.h"

#include <QTest>

using namespace orvo;

namespace {

/// A grid that counts its layout passes and can be told to fail in one.
class TLinkGrid : public TOrvoDBGrid
{
public:
    int Passes = 0;
    bool FailFieldMap = false;
    using TOrvoDBGrid::CanEditAcceptKey;

    void DefineFieldMap() override
    {
        if (FailFieldMap)
            throw EInvalidGridOperation(QStringLiteral("field map refused"));
        TOrvoDBGrid::DefineFieldMap();
    }

protected:
    void InternalLayout() override
    {
        ++Passes;
        TOrvoDBGrid::InternalLayout();
    }
};

/// Twenty items and one order naming item 2, in one database.
struct TShop
{
    test::TItemsTable Items{20};
    test::TItemOrders Orders{Items.Db};
};

} // namespace

class TestGridLink : public QObject
{
    Q_OBJECT

private slots:
    void typedKeysMustSuitTheField_data();
    void typedKeysMustSuitTheField();
    void refusedKeyNeitherOpensNorChangesTheEditor();
    void activationClosingSteps();
    void closingStepsRunWhenActivationFails();
    void autoFilterLeavesTheDataSetItWasOn();
    void removedFieldLeavesTheTotals_data();
    void removedFieldLeavesTheTotals();
    void removedTotalsFieldLeavesTheTotalFields();
    void lookupColumnsTabOnlyToWritableKeys_data();
    void lookupColumnsTabOnlyToWritableKeys();
};

void TestGridLink::typedKeysMustSuitTheField_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QChar>("key");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("digit in integer") << "id" << QChar('7') << true;
    QTest::newRow("sign in integer") << "id" << QChar('-') << true;
    QTest::newRow("letter in integer") << "id" << QChar('x') << false;
    QTest::newRow("space in integer") << "id" << QChar(' ') << false;
    QTest::newRow("exponent in float") << "price" << QChar('e') << true;
    QTest::newRow("letter in float") << "price" << QChar('q') << false;
    QTest::newRow("letter in text") << "name" << QChar('q') << true;
    QTest::newRow("symbol in text") << "name" << QChar('%') << true;
}

void TestGridLink::typedKeysMustSuitTheField()
{
    QFETCH(QString, field);
    QFETCH(QChar, key);
    QFETCH(bool, accepted);
    TShop shop;
    TLinkGrid grid;
    test::AddColumns(grid, {field});
    grid.SetDataSource(&shop.Items.Source);
    QVERIFY(!grid.CanEditAcceptKey(key)); // nothing to type into while closed
    shop.Items.Table.Open();
    QCOMPARE(grid.CanEditAcceptKey(key), accepted);
    grid.Columns()->Add(); // a column without a field takes nothing
    grid.SetCol(grid.DataToRawColumn(1));
    QVERIFY(!grid.CanEditAcceptKey(key));
}

void TestGridLink::refusedKeyNeitherOpensNorChangesTheEditor()
{
    TShop shop;
    TLinkGrid grid;
    test::AddColumns(grid, {QStringLiteral("id")});
    QVERIFY(test::ShowExposed(grid, 300, 200));
    grid.SetDataSource(&shop.Items.Source);
    shop.Items.Table.Open();
    grid.setFocus();

    QTest::keyClick(&grid, Qt::Key_X);
    QVERIFY(!grid.EditorMode());
    QCOMPARE(shop.Items.Table.State(), dsBrowse);

    QTest::keyClick(&grid, Qt::Key_4);
    QVERIFY(grid.EditorMode());
    TInplaceEdit* editor = grid.InplaceEditor();
    QCOMPARE(editor->text(), QStringLiteral("4"));
    QTest::keyClick(editor, Qt::Key_Z);
    QTest::keyClick(editor, Qt::Key_2);
    QCOMPARE(editor->text(), QStringLiteral("42"));
}

void TestGridLink::activationClosingSteps()
{
    TShop shop;
    TLinkGrid grid;
    QVERIFY(test::ShowExposed(grid, 300, 200));
    grid.SetOptions(grid.Options() + TOrvoDBGridOptions{dgAlwaysShowEditor});
    // Totals are calculated only for a total row.
    grid.SetOptionsEx(grid.OptionsEx() - TOrvoDBGridOptionsEx{dgDelayUpdateTotals} + dgTotalFooter);
    int totalsUpdated = 0;
    grid.OnTotalsUpdated = [&totalsUpdated](QObject*) { ++totalsUpdated; };
    grid.SetDataSource(&shop.Items.Source);
    shop.Items.Table.Open();
    QVERIFY(grid.EditorMode());
    QCOMPARE(totalsUpdated, 1);
}

void TestGridLink::closingStepsRunWhenActivationFails()
{
    TShop shop;
    TLinkGrid grid;
    // Totals are calculated only for a total row.
    grid.SetOptionsEx(grid.OptionsEx() - TOrvoDBGridOptionsEx{dgDelayUpdateTotals} + dgTotalFooter);
    int totalsUpdated = 0;
    grid.OnTotalsUpdated = [&totalsUpdated](QObject*) { ++totalsUpdated; };
    grid.SetDataSource(&shop.Items.Source);
    grid.FailFieldMap = true;
    bool raised = false;
    try {
        shop.Items.Table.Open();
    } catch (const EInvalidGridOperation& error) {
        raised = error.Message() == QStringLiteral("field map refused");
    }
    QVERIFY(raised);
    QCOMPARE(totalsUpdated, 1);
    QCOMPARE(grid.LayoutLock(), 0);
    QCOMPARE(grid.UpdateLock(), 0);
    grid.FailFieldMap = false;
}

void TestGridLink::autoFilterLeavesTheDataSetItWasOn()
{
    TShop shop;
    TLinkGrid grid;
    test::AddColumns(grid, {QStringLiteral("id"), QStringLiteral("name")});
    shop.Items.Table.SetFilter(QStringLiteral("id > 2"));
    shop.Items.Table.SetFiltered(true);
    grid.SetDataSource(&shop.Items.Source);
    shop.Items.Table.Open();
    grid.Columns()->Items(0)->SetFilterText(QStringLiteral("id < 5"));
    QCOMPARE(shop.Items.Table.Filter(), QStringLiteral("(id > 2) AND (id < 5)"));
    QCOMPARE(shop.Items.Table.RecordCount(), 2);
    QCOMPARE(grid.Filter(), QStringLiteral("id > 2")); // the program reads its own

    // Closing gives the dataset its own filter back; opening engages the grid's again.
    shop.Items.Table.Close();
    QCOMPARE(shop.Items.Table.Filter(), QStringLiteral("id > 2"));
    QVERIFY(shop.Items.Table.Filtered());
    shop.Items.Table.Open();
    QCOMPARE(shop.Items.Table.RecordCount(), 2);

    // So does moving the grid to another source while the auto-filter is on.
    grid.SetDataSource(&shop.Orders.Source);
    QCOMPARE(shop.Items.Table.Filter(), QStringLiteral("id > 2"));
    QCOMPARE(shop.Items.Table.RecordCount(), 18);
}

void TestGridLink::removedFieldLeavesTheTotals_data()
{
    QTest::addColumn<int>("row"); // 0 header, 1 value, 2 footer, -1 no total refers to it
    QTest::addColumn<bool>("controlsDisabled");
    QTest::newRow("header") << 0 << false;
    QTest::newRow("value") << 1 << false;
    QTest::newRow("footer") << 2 << false;
    QTest::newRow("unreferenced") << -1 << false;
    QTest::newRow("footer, controls disabled") << 2 << true;
    QTest::newRow("unreferenced, controls disabled") << -1 << true;
}

void TestGridLink::removedFieldLeavesTheTotals()
{
    QFETCH(int, row);
    QFETCH(bool, controlsDisabled);
    TShop shop;
    TLinkGrid grid;
    test::AddColumns(grid, {QStringLiteral("id"), QStringLiteral("name")});
    TOrvoColumn* column = grid.Columns()->Items(1);
    TOrvoColumnTotalValue* totals[] = {column->TotalHeader(), column->TotalValues()->Add(),
                                       column->TotalFooter()};
    TOrvoColumnTotalValue* total = row >= 0 ? totals[row] : nullptr;
    if (total) {
        total->SetTotalResult(trDataField);
        total->SetFieldName(QStringLiteral("price"));
    }
    grid.SetDataSource(&shop.Items.Source);
    shop.Items.Table.Open();
    TField* price = shop.Items.Table.FieldByName(QStringLiteral("price"));
    if (total)
        QCOMPARE(total->Field(), price);

    if (controlsDisabled)
        shop.Items.Table.DisableControls();
    const int before = grid.Passes;
    delete price;
    if (total) {
        QVERIFY(total->Field() == nullptr);
        QCOMPARE(total->GetText(), QString());
        QVERIFY(!total->DisplayName().isEmpty());
    }
    if (controlsDisabled) {
        // The dataset reports nothing now: the pass comes later, even with nothing bound.
        QCOMPARE(grid.Passes, before);
        QTRY_VERIFY(grid.Passes > before);
        shop.Items.Table.EnableControls();
    }
    QVERIFY(grid.Passes > before);
    QCOMPARE(column->Field(), shop.Items.Table.FieldByName(QStringLiteral("name")));
    QVERIFY(!grid.grab().isNull());
}

void TestGridLink::removedTotalsFieldLeavesTheTotalFields()
{
    TShop shop;
    TLinkGrid grid;
    grid.SetOptionsEx(grid.OptionsEx() + TOrvoDBGridOptionsEx{dgTotalFields});
    test::AddColumns(grid, {QStringLiteral("id")});
    TOrvoColumnTotalFields* fields = grid.Columns()->Items(0)->TotalFields();
    fields->SetFieldName(QStringLiteral("item_name"));
    grid.SetDataSource(&shop.Items.Source);
    grid.Totals()->SetDataSource(&shop.Orders.Source);
    shop.Items.Table.Open();
    shop.Orders.Table.Open();
    QCOMPARE(fields->GetText(), QStringLiteral("Item 2"));

    delete shop.Orders.Table.FieldByName(QStringLiteral("item_name"));
    QVERIFY(fields->Field() == nullptr);
    QCOMPARE(fields->GetText(), QString());
    QVERIFY(!grid.grab().isNull());
}

void TestGridLink::lookupColumnsTabOnlyToWritableKeys_data()
{
    QTest::addColumn<QString>("keyField");
    QTest::addColumn<bool>("keyReadOnly");
    QTest::addColumn<bool>("tabStop");
    QTest::newRow("writable key") << "item" << false << true;
    QTest::newRow("read-only key") << "item" << true << false;
    QTest::newRow("missing key") << "nosuch" << false << false;
}

void TestGridLink::lookupColumnsTabOnlyToWritableKeys()
{
    QFETCH(QString, keyField);
    QFETCH(bool, keyReadOnly);
    QFETCH(bool, tabStop);
    TShop shop;
    TLinkGrid grid;
    test::AddColumns(grid, {QStringLiteral("id"), QStringLiteral("item_name")});
    TOrvoColumn* result = grid.Columns()->Items(1);
    result->SetKeyField(keyField);
    result->SetLookupDataSet(&shop.Items.Table);
    result->SetLookupKeyField(QStringLiteral("id"));
    result->SetLookupResultField(QStringLiteral("name"));
    grid.SetDataSource(&shop.Orders.Source);
    shop.Orders.Table.Open();
    shop.Orders.Table.FieldByName(QStringLiteral("item"))->SetReadOnly(keyReadOnly);
    grid.LayoutChanged();
    QCOMPARE(result->LookupColumn(), lcLookupResultField);
    QCOMPARE(grid.TabStops(grid.DataToRawColumn(1)), tabStop);
}

QTEST_MAIN(TestGridLink)
#include "tst_grid_link.moc"
