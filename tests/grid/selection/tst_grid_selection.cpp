#include "common/texceptionhandlerscope.h"
#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvocolumntitle.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/common/gridtestwidgets.h"
#include "grid/common/titemstable.h"
#include "grid/common/tsampletable.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "grid/selection/torvobookmarklist.h"
#include "grid/selection/torvocolumnlist.h"
#include "grid/selection/torvoselectioncopy.h"
#include "grid/totals/torvodbgridtotals.h"
#include "platform/data/tdatasource.h"
#include "platform/data/tfield.h"
#include "platform/graphics/tcustomimagelist.h"
#include "platform/sqlite/tsqlitetable.h"
#include "sqlite/sqlitetestdb.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QProgressDialog>
#include <QTest>
#include <QThread>

#include <sqlite3.h>

using namespace orvo;

class TestGridSelection : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void modeFollowsRangeAndOptions_data();
    void modeFollowsRangeAndOptions();
    void rangeEndsAreClamped();
    void columnMembershipFromRangeOrList();
    void rowsKeptInDataSetOrder();
    void extendSelectionReachesAnchor_data();
    void extendSelectionReachesAnchor();
    void invertToAnchorFlipsBothEnds_data();
    void invertToAnchorFlipsBothEnds();
    void invertSelectionByKind();
    void selectAllRowsAndColumns();
    void paintedSelectionFollowsKind();
    void eventsOncePerBatch();
    void delayedEventFiresOnceAfterLastChange();
    void totalsLearnWhatIsSelected();
    void optionChangesClearSelection();
    void selectionKeptByKeys();
    void selectionSurvivesReorderAndRefilter();
    void refreshDataKeepsRecordAndSelection();
    void forEachCellFlags();
    void copyRowsText_data();
    void copyRowsText();
    void copyColumnsAndCells();
    void copySeparatorsInsideCells();
    void copyHtmlTable();
    void copyWithoutSelectionLeavesClipboard();
    void cancelledCopyLeavesClipboard();
    void failingDeleteKeepsRecordAndSelection();

private:
    void Open();
    void GoTo(qint64 id);
    void Select(std::initializer_list<qint64> ids);
    QList<qint64> SelectedIds();
    void UseColumns(std::initializer_list<const char*> fields);
    static QString ClipboardText() { return QGuiApplication::clipboard()->text(); }

    std::unique_ptr<test::TSampleTable> FCustomers;
    std::unique_ptr<TOrvoDBGrid> FGrid;
    QList<TSelectAction> FActions;
    int FRowsEvents = 0;
    int FColsEvents = 0;
    int FSelectionEvents = 0;
};

void TestGridSelection::init()
{
    FCustomers = std::make_unique<test::TSampleTable>();
    FGrid = std::make_unique<TOrvoDBGrid>();
    FGrid->SetDataSource(&FCustomers->Source);
    FActions.clear();
    FRowsEvents = FColsEvents = FSelectionEvents = 0;
    FGrid->OnRowSelect = [this](QObject*, TSelectAction action) { FActions << action; };
    FGrid->OnSelectedRowsChanged = [this](QObject*) { ++FRowsEvents; };
    FGrid->OnSelectedColsChanged = [this](QObject*) { ++FColsEvents; };
    FGrid->OnSelectionChanged = [this](QObject*) { ++FSelectionEvents; };
}

void TestGridSelection::cleanup()
{
    FGrid.reset();
    FCustomers.reset();
    TCopyProgress::RoundHook() = {};
}

void TestGridSelection::Open()
{
    FCustomers->Table.Open();
    FActions.clear();
    FRowsEvents = FColsEvents = FSelectionEvents = 0;
}

void TestGridSelection::GoTo(qint64 id)
{
    QVERIFY(FCustomers->Table.Locate(QStringLiteral("id"), TVariant(id), {}));
}

void TestGridSelection::Select(std::initializer_list<qint64> ids)
{
    for (qint64 id : ids) {
        GoTo(id);
        FGrid->SelectCurrentRow();
    }
}

QList<qint64> TestGridSelection::SelectedIds()
{
    QList<qint64> ids;
    TSQLiteTable& table = FCustomers->Table;
    const QString current = table.Bookmark();
    for (int i = 0; i < FGrid->SelectedRows()->Count(); ++i) {
        table.GotoBookmark(FGrid->SelectedRows()->Items(i));
        ids << test::CurrentId(table);
    }
    table.GotoBookmark(current);
    return ids;
}

void TestGridSelection::UseColumns(std::initializer_list<const char*> fields)
{
    test::AddColumns(*FGrid, fields);
}

// --- Kind and range ------------------------------------------------------------------------------

void TestGridSelection::modeFollowsRangeAndOptions_data()
{
    QTest::addColumn<QList<int>>("permitted");
    QTest::addColumn<bool>("rowSelect");
    QTest::addColumn<bool>("whole");
    QTest::addColumn<int>("anchor");
    QTest::addColumn<TMultiSelection>("mode");
    const QList<int> all{msRows, msCols, msCells};
    QTest::newRow("default: rows") << QList<int>{msRows} << false << false << -1 << msRows;
    QTest::newRow("columns only, no anchor") << QList<int>{msCols} << false << false << -1 << msNone;
    QTest::newRow("columns only, anchor") << QList<int>{msCols} << false << false << 1 << msCols;
    QTest::newRow("anchor makes cells") << all << false << false << 1 << msCells;
    QTest::newRow("whole columns") << all << false << true << 1 << msCols;
    QTest::newRow("row select wins") << all << true << true << 1 << msRows;
    QTest::newRow("cells not permitted") << QList<int>{msRows, msCols} << false << false << 1 << msRows;
    QTest::newRow("whole columns not permitted") << QList<int>{msRows} << false << true << 1 << msNone;
}

void TestGridSelection::modeFollowsRangeAndOptions()
{
    QFETCH(QList<int>, permitted);
    QFETCH(bool, rowSelect);
    QFETCH(bool, whole);
    QFETCH(int, anchor);
    QFETCH(TMultiSelection, mode);
    UseColumns({"id", "name", "city"});
    Open();
    TMultiSelectOptions options;
    for (int kind : permitted)
        options.Include(TMultiSelection(kind));
    FGrid->SetMultiSelectOptions(options);
    FGrid->SetAnchorCol(anchor);
    FGrid->SetWholeColumns(whole);
    if (rowSelect)
        FGrid->SetOptions(FGrid->Options() + TOrvoDBGridOptions{dgRowSelect});
    QCOMPARE(FGrid->SelectionMode(), mode);
}

void TestGridSelection::rangeEndsAreClamped()
{
    UseColumns({"id", "name", "city", "score"});
    Open();
    FGrid->SetMultiSelectOptions({msRows, msCols, msCells});
    FGrid->SetFixedCols(2);
    QCOMPARE(FGrid->FirstSelectableCol(), 2);
    // The current end follows the anchor: without one there is no range.
    FGrid->SetCurrentCol(3);
    QCOMPARE(FGrid->CurrentCol(), -1);
    FGrid->SetAnchorCol(1);
    QCOMPARE(FGrid->AnchorCol(), -1);
    FGrid->SetAnchorCol(3);
    FGrid->SetCurrentCol(0);
    QCOMPARE(FGrid->CurrentCol(), 2);
    QCOMPARE(FGrid->SelectionMode(), msCells);
    QVERIFY(FGrid->HasSelectedCols());
    QCOMPARE(FColsEvents, 1);
    // The fixed columns become selectable with msFixed.
    FGrid->SetMultiSelectOptions({msRows, msCols, msCells, msFixed});
    QCOMPARE(FGrid->FirstSelectableCol(), 0);
    QCOMPARE(FGrid->AnchorCol(), -1);
    FGrid->SetAnchorCol(0);
    QCOMPARE(FGrid->AnchorCol(), 0);
    // Clearing the anchor ends whole columns.
    FGrid->SetWholeColumns(true);
    QCOMPARE(FGrid->SelectionMode(), msCols);
    FGrid->SetAnchorCol(-1);
    QVERIFY(!FGrid->WholeColumns());
    QCOMPARE(FGrid->SelectionMode(), msRows);
}

void TestGridSelection::columnMembershipFromRangeOrList()
{
    UseColumns({"id", "name", "city", "score", "balance"});
    Open();
    FGrid->SetMultiSelectOptions({msRows, msCols, msCells});
    // No column kind: every column takes part (the totals of selected rows use them all).
    QVERIFY(FGrid->ColumnInSelection(4));
    QVERIFY(!FGrid->HasSelectedCols());

    FGrid->StartSelection(msCols);
    QCOMPARE(FGrid->SelectionMode(), msCols);
    FGrid->SetAnchorCol(3);
    QVERIFY2(!FGrid->HasSelectedCols(), "an anchor alone is no range");
    FGrid->SetCurrentCol(1);
    QVERIFY(FGrid->HasSelectedCols());
    const QList<bool> inRange{false, true, true, true, false};
    for (int i = 0; i < 5; ++i)
        QCOMPARE(FGrid->ColumnInSelection(i), inRange[i]);
    TOrvoColumnList* columns = FGrid->SelectedCols();
    QVERIFY(columns->RangeBacked());
    QCOMPARE(columns->Count(), 3);
    QCOMPARE(columns->Items(0), FGrid->Columns()->Items(1));

    // Toggling one column makes the list the selection.
    columns->SetSelected(2, false);
    QVERIFY(!columns->RangeBacked());
    QVERIFY(!FGrid->ColumnInSelection(2));
    QVERIFY(FGrid->ColumnInSelection(3));
    columns->SetSelected(4, true);
    QVERIFY(FGrid->ColumnInSelection(4));
    // A new range replaces the list.
    FGrid->SetCurrentCol(0);
    QVERIFY(columns->RangeBacked());
    QVERIFY(FGrid->ColumnInSelection(2));
    QVERIFY(!FGrid->ColumnInSelection(4));
    QVERIFY(FColsEvents >= 3);
}

// --- Rows ------------------------------------------------------------------------------------------

void TestGridSelection::rowsKeptInDataSetOrder()
{
    Open();
    Select({5, 2, 9});
    QCOMPARE(SelectedIds(), QList<qint64>({2, 5, 9}));
    QVERIFY(FGrid->HasSelectedRows());
    GoTo(5);
    FGrid->UnselectCurrentRow();
    FGrid->InvertCurrentRow();
    FGrid->InvertCurrentRow();
    QCOMPARE(SelectedIds(), QList<qint64>({2, 9}));
    QCOMPARE(FActions,
             QList<TSelectAction>({saSelect, saSelect, saSelect, saUnselect, saSelect, saUnselect}));
    FGrid->UnselectAll();
    QVERIFY(!FGrid->HasSelectedRows());
    QCOMPARE(FActions.last(), saClear);
}

void TestGridSelection::extendSelectionReachesAnchor_data()
{
    QTest::addColumn<QList<qint64>>("before");
    QTest::addColumn<qint64>("anchor");
    QTest::addColumn<qint64>("current");
    QTest::addColumn<QList<qint64>>("selected");
    QTest::newRow("back to the anchor")
        << QList<qint64>{} << qint64(10) << qint64(7) << QList<qint64>{7, 8, 9, 10};
    QTest::newRow("forward to the anchor")
        << QList<qint64>{} << qint64(7) << qint64(10) << QList<qint64>{7, 8, 9, 10};
    QTest::newRow("on the anchor") << QList<qint64>{} << qint64(4) << qint64(4) << QList<qint64>{4};
    QTest::newRow("to the first record")
        << QList<qint64>{} << qint64(1) << qint64(3) << QList<qint64>{1, 2, 3};
    QTest::newRow("to the last record")
        << QList<qint64>{} << qint64(25) << qint64(23) << QList<qint64>{23, 24, 25};
    QList<qint64> longRange;
    for (qint64 id = 2; id <= 22; ++id)
        longRange << id;
    // Long ranges merge with what is selected already, inside and outside them.
    QTest::newRow("long range back over a selection") << QList<qint64>{1, 10, 24} << qint64(2) << qint64(22)
                                                      << (QList<qint64>{1} + longRange + QList<qint64>{24});
    QTest::newRow("long range forward over a selection")
        << QList<qint64>{1, 10, 24} << qint64(22) << qint64(2)
        << (QList<qint64>{1} + longRange + QList<qint64>{24});
}

void TestGridSelection::extendSelectionReachesAnchor()
{
    QFETCH(QList<qint64>, before);
    QFETCH(qint64, anchor);
    QFETCH(qint64, current);
    QFETCH(QList<qint64>, selected);
    Open();
    for (qint64 id : before)
        Select({id});
    GoTo(anchor);
    FGrid->SetAnchorBookmark(FCustomers->Table.Bookmark());
    GoTo(current);
    FRowsEvents = 0;
    FActions.clear();
    FGrid->ExtendSelectionToAnchor();
    QCOMPARE(SelectedIds(), selected);
    QCOMPARE(test::CurrentId(FCustomers->Table), current);
    QCOMPARE(FRowsEvents, 1);
    QCOMPARE(FActions.size(), selected.size() - before.size());
}

void TestGridSelection::invertToAnchorFlipsBothEnds_data()
{
    QTest::addColumn<qint64>("anchor");
    QTest::addColumn<qint64>("current");
    QTest::addColumn<QList<qint64>>("selected");
    // 5 starts selected: every record from the current one to the anchor changes.
    QTest::newRow("current after the anchor") << qint64(5) << qint64(8) << QList<qint64>{6, 7, 8};
    QTest::newRow("current before the anchor") << qint64(8) << qint64(5) << QList<qint64>{6, 7, 8};
    QTest::newRow("current on the anchor") << qint64(5) << qint64(5) << QList<qint64>{};
    QTest::newRow("anchor on the first record") << qint64(1) << qint64(2) << QList<qint64>{1, 2, 5};
    QList<qint64> longRange;
    for (qint64 id = 1; id <= 20; ++id)
        if (id != 5)
            longRange << id;
    QTest::newRow("long range back") << qint64(1) << qint64(20) << longRange;
    QTest::newRow("long range forward") << qint64(20) << qint64(1) << longRange;
}

void TestGridSelection::invertToAnchorFlipsBothEnds()
{
    QFETCH(qint64, anchor);
    QFETCH(qint64, current);
    QFETCH(QList<qint64>, selected);
    Open();
    Select({5});
    GoTo(anchor);
    FGrid->SetAnchorBookmark(FCustomers->Table.Bookmark());
    GoTo(current);
    FGrid->InvertSelectionToAnchor();
    QCOMPARE(SelectedIds(), selected);
    QCOMPARE(test::CurrentId(FCustomers->Table), current);
}

void TestGridSelection::invertSelectionByKind()
{
    UseColumns({"id", "name", "city"});
    Open();
    FGrid->SetMultiSelectOptions({msRows, msCols, msCells});
    Select({1, 3});
    GoTo(2);
    FGrid->InvertSelection();
    QCOMPARE(SelectedIds().size(), 23);
    QVERIFY(!SelectedIds().contains(1));
    QVERIFY(!SelectedIds().contains(3));
    QCOMPARE(test::CurrentId(FCustomers->Table), 2);

    // Cells: both kinds at once, which inverting leaves alone.
    FGrid->SetAnchorCol(1);
    FGrid->SetCurrentCol(1);
    QCOMPARE(FGrid->SelectionMode(), msCells);
    Select({4});
    const QList<qint64> before = SelectedIds();
    FGrid->InvertSelection();
    QCOMPARE(SelectedIds(), before);

    FGrid->StartSelection(msCols);
    FGrid->SetAnchorCol(0);
    FGrid->SetCurrentCol(0);
    FGrid->InvertSelection();
    QVERIFY(FGrid->ColumnInSelection(1));
    QVERIFY(FGrid->ColumnInSelection(2));
    QVERIFY(!FGrid->ColumnInSelection(0));
}

void TestGridSelection::selectAllRowsAndColumns()
{
    UseColumns({"id", "name", "city"});
    Open();
    GoTo(12);
    FGrid->SelectAll();
    QCOMPARE(FGrid->SelectedRows()->Count(), 25);
    QCOMPARE(SelectedIds(), FCustomers->Sample.Ids(QStringLiteral("SELECT id FROM customers ORDER BY id")));
    QCOMPARE(test::CurrentId(FCustomers->Table), 12);
    QCOMPARE(FGrid->AnchorBookmark(), FCustomers->Table.Bookmark());
    QCOMPARE(FRowsEvents, 1);
    QCOMPARE(FActions.count(saSelect), 25);

    FGrid->SetMultiSelectOptions({msRows, msCols});
    FGrid->SetFixedCols(1);
    FGrid->SetAnchorCol(1);
    FGrid->SetWholeColumns(true);
    QCOMPARE(FGrid->SelectionMode(), msCols);
    FGrid->SelectAll();
    QVERIFY(!FGrid->ColumnInSelection(0));
    QVERIFY(FGrid->ColumnInSelection(1));
    QVERIFY(FGrid->ColumnInSelection(2));
    QVERIFY(!FGrid->HasSelectedRows());
}

void TestGridSelection::paintedSelectionFollowsKind()
{
    UseColumns({"id", "name", "city"});
    FGrid->SetOptions(FGrid->Options() + TOrvoDBGridOptions{dgMultiSelect});
    FGrid->SetMultiSelectOptions({msRows, msCols, msCells});
    Open();
    QSet<QString> painted;
    FGrid->OnPaintColumnCell = [&](QObject*, const QRect&, int, TOrvoColumn* column, bool highlight,
                                   TSelections selections, TColor&, TFont&, QObject*&) {
        // A multi-selected cell is painted highlighted, in the selection colour.
        if (selections.Contains(slMultiSelected) && highlight)
            painted << QStringLiteral("%1:%2").arg(test::CurrentId(FCustomers->Table)).arg(column->Index());
        else if (selections.Contains(slMultiSelected))
            painted << QStringLiteral("not highlighted");
    };
    QVERIFY(test::ShowExposed(*FGrid, 500, 400));
    const auto paintedCells = [&] {
        painted.clear();
        FGrid->grab();
        return painted;
    };
    Select({2, 4});
    GoTo(1);
    QCOMPARE(paintedCells(), QSet<QString>({"2:0", "2:1", "2:2", "4:0", "4:1", "4:2"}));

    // Cells: only where a selected record meets a selected column.
    FGrid->SetAnchorCol(1);
    FGrid->SetCurrentCol(2);
    QCOMPARE(FGrid->SelectionMode(), msCells);
    Select({2, 4});
    GoTo(1);
    QCOMPARE(paintedCells(), QSet<QString>({"2:1", "2:2", "4:1", "4:2"}));

    // Whole columns: every record shown.
    FGrid->SetWholeColumns(true);
    QCOMPARE(FGrid->SelectionMode(), msCols);
    const QSet<QString> columns = paintedCells();
    QVERIFY(columns.contains(QStringLiteral("1:1")));
    QVERIFY(columns.contains(QStringLiteral("3:2")));
    QVERIFY(!columns.contains(QStringLiteral("2:0")));
}

// --- Events ----------------------------------------------------------------------------------------

void TestGridSelection::eventsOncePerBatch()
{
    Open();
    FGrid->BeginSelectionUpdate();
    FGrid->BeginSelectionUpdate();
    Select({3, 4, 5});
    FGrid->EndSelectionUpdate();
    QCOMPARE(FRowsEvents, 0);
    FGrid->EndSelectionUpdate();
    QCOMPARE(FActions.size(), 3);
    QCOMPARE(FRowsEvents, 1);
    QCOMPARE(FSelectionEvents, 1);
    QCOMPARE(FColsEvents, 0);
    QCOMPARE(FGrid->UpdateLock(), 0);

    // Each call outside a batch is a batch of its own; one that changes nothing reports nothing.
    Select({6});
    FGrid->SelectCurrentRow();
    QCOMPARE(FRowsEvents, 2);
    FGrid->BeginSelectionUpdate();
    FGrid->EndSelectionUpdate();
    QCOMPARE(FSelectionEvents, 2);
}

void TestGridSelection::delayedEventFiresOnceAfterLastChange()
{
    Open();
    QVERIFY(FGrid->OptionsEx().Contains(dgDelaySelectedRows));
    QVERIFY(test::ShowExposed(*FGrid, 400, 300));
    QElapsedTimer clock;
    qint64 lastChange = 0;
    qint64 firedAt = -1;
    FGrid->OnSelectedRowsChanged = [&](QObject*) {
        ++FRowsEvents;
        firedAt = clock.elapsed();
    };
    clock.start();
    // A drag over the rows: one change after another, each its own batch.
    for (qint64 id = 1; id <= 25; ++id) {
        Select({id});
        QTest::qWait(5);
        lastChange = clock.elapsed();
    }
    QCOMPARE(FRowsEvents, 0);
    QTRY_COMPARE_WITH_TIMEOUT(FRowsEvents, 1, 2000);
    QVERIFY2(firedAt - lastChange >= TOrvoCustomDBGrid::UpdateDelay() - 20,
             qPrintable(QStringLiteral("fired %1 ms after the last change").arg(firedAt - lastChange)));
    QTest::qWait(TOrvoCustomDBGrid::UpdateDelay() + 100);
    QCOMPARE(FRowsEvents, 1);
    QCOMPARE(FSelectionEvents, 1);

    // Flushing fires what the delay holds back, at once.
    FGrid->UnselectAll();
    QCOMPARE(FRowsEvents, 1);
    FGrid->FlushPendingUpdates();
    QCOMPARE(FRowsEvents, 2);
    QTest::qWait(TOrvoCustomDBGrid::UpdateDelay() + 100);
    QCOMPARE(FRowsEvents, 2);
}

void TestGridSelection::totalsLearnWhatIsSelected()
{
    UseColumns({"id", "name"});
    Open();
    FGrid->SetMultiSelectOptions({msRows, msCols});
    TOrvoDBGridTotals* totals = FGrid->Totals();
    bool presentInEvent = false;
    FGrid->OnSelectedRowsChanged = [&](QObject*) { presentInEvent = totals->SelectedRowsPresent(); };
    Select({2});
    QVERIFY(presentInEvent);
    QVERIFY(totals->SelectedRowsPresent());
    FGrid->ClearSelection();
    QVERIFY(!totals->SelectedRowsPresent());
    FGrid->StartSelection(msCols);
    FGrid->SetCurrentCol(1);
    QVERIFY(totals->SelectedColsPresent());
    FGrid->ClearSelection();
    QVERIFY(!totals->SelectedColsPresent());
}

void TestGridSelection::optionChangesClearSelection()
{
    UseColumns({"id", "name"});
    Open();
    Select({1, 2});
    FGrid->SetMultiSelectOptions({msRows, msCols});
    QCOMPARE(FGrid->SelectedRows()->Count(), 0);

    FGrid->SetOptions(FGrid->Options() + TOrvoDBGridOptions{dgMultiSelect});
    Select({1, 2});
    FGrid->SetOptions(FGrid->Options() - TOrvoDBGridOptions{dgMultiSelect});
    QCOMPARE(FGrid->SelectedRows()->Count(), 0);

    FGrid->StartSelection(msCols);
    FGrid->SetCurrentCol(1);
    FGrid->SetOptions(FGrid->Options() + TOrvoDBGridOptions{dgRowSelect});
    QVERIFY(!FGrid->HasSelectedCols());
    QCOMPARE(FGrid->SelectionMode(), msRows);

    Select({3});
    FGrid->SetAnchorBookmark(FCustomers->Table.Bookmark());
    FCustomers->Table.Close();
    QCOMPARE(FGrid->SelectedRows()->Count(), 0);
    QVERIFY(FGrid->AnchorBookmark().isEmpty());
}

// --- Keeping the selection by keys ------------------------------------------------------------------

void TestGridSelection::selectionKeptByKeys()
{
    UseColumns({"id", "name", "city"});
    Open();
    Select({12, 5, 19});
    GoTo(7);
    ORVO_EXPECT_DB_ERROR(FGrid->SaveSelection(QString()), "KeyFields property cannot be blank");
    FGrid->SaveSelection(QStringLiteral("id"));
    FGrid->ClearSelection();
    FGrid->RestoreSelection(QStringLiteral("id"));
    QCOMPARE(SelectedIds(), QList<qint64>({5, 12, 19}));
    QCOMPARE(test::CurrentId(FCustomers->Table), 7);

    // Columns come back by their IDs, wherever they moved.
    FGrid->SetMultiSelectOptions({msRows, msCols});
    FGrid->StartSelection(msCols);
    FGrid->SelectedCols()->SetSelected(2, true);
    FGrid->SelectedCols()->SetSelected(0, true);
    FGrid->SaveSelection(QStringLiteral("id"));
    FGrid->ClearSelection();
    FGrid->Columns()->Items(2)->SetIndex(1);
    FGrid->RestoreSelection(QStringLiteral("id"));
    QCOMPARE(FGrid->SelectionMode(), msCols);
    QVERIFY(FGrid->ColumnInSelection(0));
    QVERIFY(FGrid->ColumnInSelection(1));
    QVERIFY(!FGrid->ColumnInSelection(2));
}

void TestGridSelection::selectionSurvivesReorderAndRefilter()
{
    Open();
    FGrid->SetKeyFields(QStringLiteral("id"));
    FGrid->SetOptionsEx(FGrid->OptionsEx() + TOrvoDBGridOptionsEx{dgAutoKeepSelection});
    Select({12, 5, 19, 3});

    // The reorder code saves and restores around the new order; new bookmarks, same records.
    FGrid->SaveSelection(QString());
    FCustomers->Table.SetIndexFieldNames(QStringLiteral("name DESC"));
    FGrid->RestoreSelection(QString());
    QCOMPARE(SelectedIds(), QList<qint64>({19, 12, 5, 3}));

    // A re-filter keeps the records that still show.
    FGrid->SetFilter(QStringLiteral("id > 4"));
    FGrid->SetFiltered(true);
    QCOMPARE(SelectedIds(), QList<qint64>({19, 12, 5}));

    // Without the option, the bookmarks of the filtered records are all that is left.
    FGrid->SetOptionsEx(FGrid->OptionsEx() - TOrvoDBGridOptionsEx{dgAutoKeepSelection});
    FGrid->SetFilter(QStringLiteral("id > 10"));
    QVERIFY(FGrid->SelectedRows()->RefreshRows());
    QCOMPARE(SelectedIds(), QList<qint64>({19, 12}));
}

void TestGridSelection::refreshDataKeepsRecordAndSelection()
{
    Open();
    FGrid->SetKeyFields(QStringLiteral("id"));
    FGrid->SetOptionsEx(FGrid->OptionsEx() + TOrvoDBGridOptionsEx{dgAutoKeepSelection});
    Select({4, 8});
    GoTo(6);
    FCustomers->Sample.Db->ExecSQL(QStringLiteral("DELETE FROM customers WHERE id = 8"));
    FGrid->RefreshData(QString());
    QCOMPARE(FCustomers->Table.RecordCount(), 24);
    QCOMPARE(SelectedIds(), QList<qint64>({4}));
    QCOMPARE(test::CurrentId(FCustomers->Table), 6);
}

// --- Walking and copying ------------------------------------------------------------------------------

void TestGridSelection::forEachCellFlags()
{
    UseColumns({"id", "name", "city"});
    Open();
    QStringList visits;
    const auto record = [&](TOrvoColumn* column, int flags) {
        visits << QStringLiteral("%1:%2:%3")
                      .arg(test::CurrentId(FCustomers->Table))
                      .arg(column->FieldName())
                      .arg(flags);
    };
    FGrid->ForEachCell(2, record);
    QVERIFY2(visits.isEmpty(), "nothing selected, nothing to walk");
    Select({9, 2});
    GoTo(11);
    FGrid->ForEachCell(0, record);
    QCOMPARE(visits, QStringList({"2:id:5", "2:name:4", "2:city:6", "9:id:9", "9:name:8", "9:city:10"}));
    QCOMPARE(test::CurrentId(FCustomers->Table), 11);

    visits.clear();
    FGrid->ForEachCell(1, record);
    QCOMPARE(visits.size(), 25 * 3);
    QCOMPARE(visits.first(), QStringLiteral("1:id:5"));
    QCOMPARE(visits.last(), QStringLiteral("25:city:10"));
}

void TestGridSelection::copyRowsText_data()
{
    QTest::addColumn<bool>("withTitles");
    QTest::addColumn<QString>("expected");
    QTest::newRow("data only") << false << QStringLiteral("Name02\tParis\nName05\tparis\nName09\tOslo\n");
    QTest::newRow("with titles") << true
                                 << QStringLiteral(
                                        "Name\tCity\nName02\tParis\nName05\tparis\nName09\tOslo\n");
}

void TestGridSelection::copyRowsText()
{
    QFETCH(bool, withTitles);
    QFETCH(QString, expected);
    UseColumns({"name", "city", "score"});
    FGrid->Columns()->Items(0)->Title()->SetCaption(QStringLiteral("Name"));
    FGrid->Columns()->Items(1)->Title()->SetCaption(QStringLiteral("City"));
    // A hidden column adds no cell, not even an empty one.
    FGrid->Columns()->Items(2)->SetVisible(false);
    Open();
    Select({5, 2, 9});
    QVERIFY(FGrid->CopyToClipboard(withTitles));
    QCOMPARE(ClipboardText(), expected);
}

void TestGridSelection::copyColumnsAndCells()
{
    UseColumns({"id", "name", "city"});
    FGrid->Columns()->Items(0)->SetAutoNumber(true);
    Open();
    FGrid->SetMultiSelectOptions({msRows, msCols, msCells});

    // Whole columns: every record.
    FGrid->StartSelection(msCols);
    FGrid->SetAnchorCol(0);
    FGrid->SetCurrentCol(1);
    QVERIFY(FGrid->CopyToClipboard(false));
    QStringList lines = ClipboardText().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 26);
    QCOMPARE(lines.first(), QStringLiteral("1.\tName01"));
    QCOMPARE(lines.at(24), QStringLiteral("25.\tName25"));
    QCOMPARE(lines.last(), QString());

    // Cells: the selected records times the selected columns, numbered from 1.
    FGrid->ClearSelection();
    FGrid->SetAnchorCol(0);
    FGrid->SetCurrentCol(0);
    FGrid->SelectedCols()->SetSelected(2, true);
    QCOMPARE(FGrid->SelectionMode(), msCells);
    Select({7, 3});
    QVERIFY(FGrid->CopyToClipboard(true));
    QCOMPARE(ClipboardText(), QStringLiteral("id\tcity\n1.\t\n2.\tParis\n"));
}

void TestGridSelection::copySeparatorsInsideCells()
{
    FCustomers->Sample.Db->ExecSQL(QStringLiteral("UPDATE customers SET city = ? WHERE id = ?"),
                                   {QStringLiteral("Tab\there"), qint64(2)});
    FCustomers->Sample.Db->ExecSQL(QStringLiteral("UPDATE customers SET city = ? WHERE id = ?"),
                                   {QStringLiteral("Line1\r\nLine2\nLine3\rEnd"), qint64(5)});
    UseColumns({"name", "city"});
    FGrid->Columns()->Items(1)->Title()->SetCaption(QStringLiteral("Ci\tty\n2"));
    Open();
    Select({2, 5});
    QVERIFY(FGrid->CopyToClipboard(true));
    // Every record stays on one line and keeps its column count when pasted.
    QCOMPARE(ClipboardText(),
             QStringLiteral("name\tCi ty 2\nName02\tTab here\nName05\tLine1 Line2 Line3 End\n"));
}

void TestGridSelection::copyHtmlTable()
{
    FCustomers->Sample.Db->ExecSQL(QStringLiteral("UPDATE customers SET city = ? WHERE id = ?"),
                                   {QStringLiteral("<b>&\"x\"</b>"), qint64(2)});
    FCustomers->Sample.Db->ExecSQL(QStringLiteral("UPDATE customers SET city = ? WHERE id = ?"),
                                   {QStringLiteral("Line1\r\nLine2"), qint64(5)});
    UseColumns({"name", "city"});
    FGrid->Columns()->Items(0)->Title()->SetCaption(QStringLiteral("A & B"));
    Open();
    Select({2, 5});
    QVERIFY(FGrid->CopyToClipboard(true));
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data->hasHtml());
    const QString html = data->html();
    QVERIFY(html.contains(QStringLiteral("<tr><th>A &amp; B</th><th>city</th></tr>")));
    QVERIFY(html.contains(
        QStringLiteral("<tr><td>Name02</td><td>&lt;b&gt;&amp;&quot;x&quot;&lt;/b&gt;</td></tr>")));
    QVERIFY(html.contains(QStringLiteral("<tr><td>Name05</td><td>Line1<br>Line2</td></tr>")));
    QCOMPARE(html.count(QStringLiteral("<tr>")), 3);
}

void TestGridSelection::copyWithoutSelectionLeavesClipboard()
{
    UseColumns({"name"});
    Open();
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    QVERIFY(!FGrid->CopyToClipboard(false));
    QCOMPARE(ClipboardText(), QStringLiteral("kept"));
}

void TestGridSelection::cancelledCopyLeavesClipboard()
{
    test::TItemsTable items(3 * int(TCopyProgress::RecordsPerRound) + 5);
    FGrid->SetDataSource(&items.Source);
    UseColumns({"id", "name"});
    items.Table.Open();
    QVERIFY(test::ShowExposed(*FGrid, 400, 300));
    FGrid->SelectAll();
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));

    // The first round finds the copy young; a slow round later it shows its progress.
    QList<bool> dialogShown;
    TCopyProgress::RoundHook() = [&](QProgressDialog* dialog) {
        dialogShown << (dialog && dialog->isVisible());
        if (!dialog)
            QThread::msleep(TCopyProgress::ShowAfterMilliseconds + 50);
        else
            QTest::keyClick(dialog, Qt::Key_Escape);
    };
    items.Table.Locate(QStringLiteral("id"), TVariant(qint64(40)), {});
    QVERIFY(!FGrid->CopyToClipboard(false));
    QCOMPARE(dialogShown, QList<bool>({false, true}));
    QCOMPARE(ClipboardText(), QStringLiteral("kept"));
    QCOMPARE(items.CurrentId(), 40);

    // Left alone, the same copy completes.
    TCopyProgress::RoundHook() = {};
    QVERIFY(FGrid->CopyToClipboard(false));
    const QStringList lines = ClipboardText().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), items.Table.RecordCount() + 1);
    QCOMPARE(lines.at(1), QStringLiteral("2\tItem 2"));
    FGrid->SetDataSource(nullptr);
}

// --- Deleting ---------------------------------------------------------------------------------------------

void TestGridSelection::failingDeleteKeepsRecordAndSelection()
{
    Open();
    TSQLiteTable& table = FCustomers->Table;
    table.BeforeDelete = [](TDataSet* dataSet) {
        if (dataSet->FieldByName(QStringLiteral("id"))->AsLargeInt() == 5)
            throw EDatabaseError(QStringLiteral("Customer 5 has open orders"));
    };
    Select({2, 5, 9});
    ORVO_EXPECT_DB_ERROR(FGrid->DeleteSelectedRows(), "Customer 5 has open orders");
    QVERIFY(!table.ControlsDisabled());
    QCOMPARE(test::CurrentId(table), 5);
    QCOMPARE(SelectedIds(), QList<qint64>({2, 5}));
    QCOMPARE(FActions.last(), saDelete);
    QCOMPARE(FGrid->UpdateLock(), 0);

    // What is stored, read by SQLite itself: only 9 went.
    sqlite3* db = nullptr;
    QCOMPARE(
        sqlite3_open_v2(FCustomers->Sample.Path().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr),
        SQLITE_OK);
    sqlite3_stmt* statement = nullptr;
    QCOMPARE(sqlite3_prepare_v2(db, "SELECT group_concat(id) FROM customers WHERE id IN (2, 5, 9)", -1,
                                &statement, nullptr),
             SQLITE_OK);
    QCOMPARE(sqlite3_step(statement), SQLITE_ROW);
    const QString stored =
        QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    QCOMPARE(stored, QStringLiteral("2,5"));

    // The dataset's error reaches the application's handler when the key command runs it.
    QStringList messages;
    test::TExceptionHandlerScope scope(test::TExceptionHandlerScope::Recording(messages));
    TExceptionHandler::Guard([this] { FGrid->DeleteSelectedRows(); });
    QCOMPARE(messages, QStringList({QStringLiteral("Customer 5 has open orders")}));
}

QTEST_MAIN(TestGridSelection)
#include "tst_grid_selection.moc"
