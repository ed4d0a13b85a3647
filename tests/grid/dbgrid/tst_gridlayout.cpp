#include "common/texceptionhandlerscope.h"
#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvocolumntitle.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/common/gridtestwidgets.h"
#include "grid/common/titemorders.h"
#include "grid/common/titemstable.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "grid/painting/torvogridstyle.h"
#include "grid/totals/torvocolumntotal.h"
#include "grid/totals/torvocolumntotalfooter.h"
#include "grid/totals/torvocolumntotalvalues.h"
#include "platform/data/tdatasource.h"
#include "platform/data/tfield.h"
#include "platform/data/tfields.h"
#include "platform/gridbase/tinplaceedit.h"
#include "platform/sqlite/tsqlitedatabase.h"
#include "platform/sqlite/tsqlitetable.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QScrollBar>
#include <QTest>

using namespace orvo;

namespace {

/// A grid that counts its layout passes.
class TCountingGrid : public TOrvoDBGrid
{
public:
    int Passes = 0;
    using TOrvoDBGrid::ChangeScale;

protected:
    void InternalLayout() override
    {
        ++Passes;
        TOrvoDBGrid::InternalLayout();
    }
};

/// Columns of 100 pixels in a grid with nothing else that takes room: no frame, bars,
/// theme, indicator or column lines, so that stretched widths are exact.
void AddPlainColumns(TOrvoDBGrid& grid, std::initializer_list<const char*> names)
{
    grid.SetBorderStyle(bsNone);
    grid.SetScrollBars(ssNone);
    grid.SetFixedTheme(ftNone);
    grid.SetOptions(grid.Options() - TOrvoDBGridOptions{dgIndicator, dgColLines});
    test::AddColumns(grid, names);
    for (int i = 0; i < grid.Columns()->Count(); ++i)
        grid.Columns()->Items(i)->SetWidth(100);
}

int LineHeight(const QFont& font)
{
    return QFontMetrics(font).height();
}

} // namespace

class TestGridLayout : public QObject
{
    Q_OBJECT

private slots:
    void rowCountsOfAnInactiveGrid_data();
    void rowCountsOfAnInactiveGrid();
    void totalValueRowsFollowTheLongestColumn();
    void footerStaysAtTheBottomEdge();
    void rowsFollowTheHorizontalBar_data();
    void rowsFollowTheHorizontalBar();
    void dataRowHeightFromFontLinesAndSpacing();
    void oneDataRowPerBufferedRecord();
    void bracketsRunOneLayoutPass();
    void closingAndReopeningTheDataSet();
    void customizedColumnWithAMissingFieldKeepsItsPlace();
    void frozenColumnsAreClamped();
    void stretchDistribution();
    void stretchKeepsAPinnedMinimum();
    void stretchReleasesMinimumsWhenEveryColumnIsPinned();
    void widthWritesWhileStretching_data();
    void widthWritesWhileStretching();
    void sequencedScrollBarShowsRecordNumbers();
    void threePositionScrollBar();
    void scrollBarActionsMoveTheDataSet();
    void gridFollowsTheDataSetAsItScrolls();
    void lookupResultColumnsFollowTheirKey();
    void scalingScalesEachColumnOnce();
    void totalRowsFitTheirTallestFont();
    void deferredLayoutWaitsForTheLock();
    void deletedColumnLeavesTheShownList();
    void stretchingShowsTheColumnsFromTheFirst();
    void sequenceRecountKeepsTheView();
    void fieldFocusOpensItsColumnsEditor();
    void parentFontScalesTheColumns_data();
    void parentFontScalesTheColumns();
    void clampedViewReportsItsColumnScroll();
    void rowDragSnapsToWholeLinesInOnePass();
    void chainedGridsFollowFrozenAndShownColumns();
    void longOperationKeepsTheCurrentRecordsRow();
    void scrollingWithTotalsRunsNoLayoutPass();
    void headersNeverSpanTheFrozenBoundary();
    void titleRowsFitEveryTitle();
    void defaultColumnsFollowAReorder_data();
    void defaultColumnsFollowAReorder();
    void autoColumnsAmongDefaultColumnsStayDefault();
    void pendingEditStaysWithItsColumn_data();
    void pendingEditStaysWithItsColumn();
    void refusedTextIsReportedNotMoved();
};

void TestGridLayout::rowCountsOfAnInactiveGrid_data()
{
    QTest::addColumn<bool>("titles");
    QTest::addColumn<TOrvoDBGridOptionsEx>("optionsEx");
    QTest::addColumn<int>("titleRows");
    QTest::addColumn<int>("bottomRows");
    QTest::newRow("titles") << true << TOrvoDBGridOptionsEx{} << 1 << 0;
    QTest::newRow("no titles") << false << TOrvoDBGridOptionsEx{} << 0 << 0;
    QTest::newRow("footer") << true << TOrvoDBGridOptionsEx{dgTotalFooter} << 1 << 2;
    QTest::newRow("header and footer")
        << false << TOrvoDBGridOptionsEx{dgTotalHeader, dgTotalFooter} << 0 << 3;
    QTest::newRow("blank row alone") << true << TOrvoDBGridOptionsEx{dgBlankRow} << 1 << 1;
}

void TestGridLayout::rowCountsOfAnInactiveGrid()
{
    QFETCH(bool, titles);
    QFETCH(TOrvoDBGridOptionsEx, optionsEx);
    QFETCH(int, titleRows);
    QFETCH(int, bottomRows);
    TOrvoDBGrid grid;
    QVERIFY(test::ShowExposed(grid, 300, 200));
    TOrvoDBGridOptions options = grid.Options();
    if (!titles)
        options.Exclude(dgTitles);
    grid.SetOptions(options);
    grid.SetOptionsEx(grid.OptionsEx() + optionsEx);
    QCOMPARE(grid.TitleOffset(), titleRows);
    QCOMPARE(grid.FixedRows(), titleRows);
    QCOMPARE(grid.BottomRowCount(), bottomRows);
    QCOMPARE(grid.RowCount(), titleRows + bottomRows + 1);
    QCOMPARE(grid.DataRowCount(), 1);
    if (bottomRows > 0)
        QCOMPARE(grid.BottomRowKind(bottomRows - 1),
                 optionsEx.Contains(dgTotalFooter) ? brTotalFooter : brBlank);
}

void TestGridLayout::totalValueRowsFollowTheLongestColumn()
{
    TOrvoDBGrid grid;
    TOrvoColumn* first = grid.Columns()->Add();
    TOrvoColumn* second = grid.Columns()->Add();
    first->TotalValues()->Add();
    second->TotalValues()->Add();
    second->TotalValues()->Add();
    grid.SetOptionsEx(grid.OptionsEx() + TOrvoDBGridOptionsEx{dgTotalValues});
    QCOMPARE(grid.BottomRowCount(), 3); // blank row and two value rows
    QCOMPARE(grid.BottomRowKind(2), brTotalValues);
    QCOMPARE(grid.BottomRowNumber(2), 1);
}

void TestGridLayout::footerStaysAtTheBottomEdge()
{
    test::TItemsTable items;
    items.Table.Open();
    items.Table.SetFilter(QStringLiteral("id <= 2"));
    items.Table.SetFiltered(true);
    TOrvoDBGrid grid;
    QVERIFY(test::ShowExposed(grid, 400, 300));
    grid.SetDataSource(&items.Source);
    grid.SetOptionsEx(grid.OptionsEx() + TOrvoDBGridOptionsEx{dgTotalFooter});
    QCOMPARE(grid.DataRowCount(), 2);
    const int last = grid.RowCount() - 1;
    const QRect footer = grid.CellRect(1, last);
    QVERIFY(!footer.isEmpty());
    // The blank row takes up what the two records leave, so the footer ends at the bottom.
    QVERIFY2(qAbs(footer.bottom() + 1 + grid.GridLineWidth() - grid.viewport()->height()) <= 2,
             qPrintable(QStringLiteral("%1 vs %2").arg(footer.bottom()).arg(grid.viewport()->height())));
}

void TestGridLayout::rowsFollowTheHorizontalBar_data()
{
    QTest::addColumn<bool>("footer");
    QTest::newRow("plain") << false;
    QTest::newRow("with a footer") << true;
}

void TestGridLayout::rowsFollowTheHorizontalBar()
{
    // The bar comes and goes with the columns' widths, not with a resize: the rows must
    // follow it all the same, as they follow a resize.
    QFETCH(bool, footer);
    test::TItemsTable items;
    TOrvoDBGrid grid;
    if (footer)
        grid.SetOptionsEx(grid.OptionsEx() + TOrvoDBGridOptionsEx{dgTotalFooter});
    QVERIFY(test::ShowExposed(grid, 400, 300));
    grid.SetDataSource(&items.Source);
    items.Table.Open();
    for (int i = 0; i < grid.Columns()->Count(); ++i)
        grid.Columns()->Items(i)->SetWidth(50);
    QVERIFY(!grid.horizontalScrollBar()->isVisible());
    // No room to spare below the rows: a bar that comes up takes a record's row away.
    const int line = grid.GridLineWidth();
    int used = grid.DataLink()->BufferCount() * (grid.DefaultRowHeight() + line);
    for (int row = 0; row < grid.FixedRows(); ++row)
        used += grid.RowHeights(row) + line;
    if (footer)
        used += grid.RowHeights(grid.RowCount() - 1) + line;
    grid.resize(grid.width(), grid.height() - (grid.viewport()->height() - used));
    const auto resized = [&grid] {
        grid.resize(grid.width(), grid.height() + 1);
        grid.resize(grid.width(), grid.height() - 1);
        return grid.DataLink()->BufferCount();
    };
    const auto rowsFit = [&grid] {
        const int last = grid.RowCount() - 1;
        const QRect cell = grid.CellRect(grid.FixedCols(), last);
        return !cell.isEmpty() && cell.height() == grid.RowHeights(last) &&
               cell.bottom() < grid.viewport()->height();
    };
    const int withoutBar = grid.DataLink()->BufferCount();

    grid.Columns()->Items(1)->SetWidth(1000);
    QVERIFY(grid.horizontalScrollBar()->isVisible());
    const int withBar = grid.DataLink()->BufferCount();
    QVERIFY(rowsFit());
    QCOMPARE(resized(), withBar);
    QVERIFY(withBar < withoutBar);

    grid.Columns()->Items(1)->SetWidth(50);
    QVERIFY(!grid.horizontalScrollBar()->isVisible());
    QCOMPARE(grid.DataLink()->BufferCount(), withoutBar);
    QVERIFY(rowsFit());
    QCOMPARE(resized(), withoutBar);
}

void TestGridLayout::dataRowHeightFromFontLinesAndSpacing()
{
    TOrvoDBGrid grid;
    grid.SetLinesCount(2);
    const int expected =
        grid.GridLineWidth() + 2 * LineHeight(grid.font()) + grid.GridStyle()->DataRowSpace();
    QCOMPARE(grid.DefaultRowHeight(), expected);
    grid.SetOptions(grid.Options() - TOrvoDBGridOptions{dgRowLines});
    QCOMPARE(grid.DefaultRowHeight(), expected - grid.GridLineWidth());
}

void TestGridLayout::oneDataRowPerBufferedRecord()
{
    test::TItemsTable items;
    TOrvoDBGrid grid;
    QVERIFY(test::ShowExposed(grid, 400, 300));
    grid.SetDataSource(&items.Source);
    items.Table.Open();
    const int buffered = grid.DataLink()->RecordCount();
    QVERIFY(buffered > 3);
    QCOMPARE(grid.DataRowCount(), buffered);
    QCOMPARE(grid.RowCount(), grid.TitleOffset() + buffered);
    // The rows that fit, no more: one more would cross the bottom edge.
    const QRect lastRow = grid.CellRect(1, grid.RowCount() - 1);
    QVERIFY(lastRow.bottom() < grid.viewport()->height());
    QVERIFY(grid.viewport()->height() - lastRow.bottom() <=
            grid.DefaultRowHeight() + 2 * grid.GridLineWidth());

    grid.resize(400, 600);
    QTRY_VERIFY(grid.DataLink()->RecordCount() > buffered);
}

void TestGridLayout::bracketsRunOneLayoutPass()
{
    TCountingGrid grid;
    grid.Passes = 0;
    grid.BeginLayout();
    grid.LayoutChanged();
    grid.SetIndicatorWidth(40);
    grid.BeginLayout();
    grid.SetFixedColor(clTeal);
    grid.LayoutChanged();
    grid.EndLayout();
    QCOMPARE(grid.Passes, 0);
    grid.EndLayout();
    QCOMPARE(grid.Passes, 1);
    QCOMPARE(grid.LayoutLock(), 0);
    QCOMPARE(grid.UpdateLock(), 0);

    grid.BeginUpdate();
    grid.LayoutChanged();
    grid.EndUpdate();
    QCOMPARE(grid.Passes, 1); // held back by the update lock, not queued
    grid.EndUpdate();         // never below zero
    QCOMPARE(grid.UpdateLock(), 0);

    grid.BeginLayout();
    grid.CancelLayout();
    QCOMPARE(grid.Passes, 1);
    grid.DeferLayout();
    grid.DeferLayout();
    QCOMPARE(grid.Passes, 1);
    QTRY_COMPARE(grid.Passes, 2);
    QTest::qWait(20);
    QCOMPARE(grid.Passes, 2);
}

void TestGridLayout::closingAndReopeningTheDataSet()
{
    test::TItemsTable items;
    TOrvoDBGrid grid;
    QVERIFY(test::ShowExposed(grid, 400, 300));
    grid.SetDataSource(&items.Source);
    items.Table.Open();
    QCOMPARE(grid.Columns()->Count(), 3);
    items.Table.MoveBy(4);
    QVERIFY(grid.Row() > grid.TitleOffset());

    items.Table.Close();
    QCOMPARE(grid.Row(), grid.TitleOffset());
    QCOMPARE(grid.RowCount(), grid.TitleOffset() + 1);
    QVERIFY(!grid.EditorMode());

    items.Table.Open();
    QCOMPARE(grid.Columns()->Count(), 3);
    QCOMPARE(grid.Columns()->Items(1)->Field(), items.Table.FieldByName(QStringLiteral("name")));
    QCOMPARE(grid.Row(), grid.TitleOffset());
}

void TestGridLayout::customizedColumnWithAMissingFieldKeepsItsPlace()
{
    test::TItemsTable items;
    TOrvoDBGrid grid;
    QVERIFY(test::ShowExposed(grid, 400, 300));
    const QStringList names{QStringLiteral("name"), QStringLiteral("nosuch"), QStringLiteral("id")};
    for (const QString& name : names)
        grid.Columns()->Add()->SetFieldName(name);
    grid.SetDataSource(&items.Source);
    items.Table.Open();
    QCOMPARE(grid.Columns()->State(), csCustomized);
    QCOMPARE(grid.Columns()->Count(), 3);
    QCOMPARE(grid.Columns()->Items(1)->FieldName(), QStringLiteral("nosuch"));
    QVERIFY(grid.Columns()->Items(1)->Field() == nullptr);
    QVERIFY(grid.DataLink()->SparseMap());
    QCOMPARE(grid.DataLink()->FieldMap(), (std::vector<int>{1, -1, 0}));
    QVERIFY(!grid.grab().isNull());
}

void TestGridLayout::frozenColumnsAreClamped()
{
    test::TItemsTable items;
    TOrvoDBGrid grid;
    grid.SetDataSource(&items.Source);
    items.Table.Open();
    grid.SetFixedCols(10);
    QCOMPARE(grid.FixedColsProperty(), 2); // at least one column scrolls
    QCOMPARE(grid.TCustomGrid::FixedCols(), 3);
    grid.SetFixedCols(1);
    QCOMPARE(grid.TCustomGrid::FixedCols(), 2);
    QVERIFY(grid.LeftCol() >= 2);

    TOrvoDBGrid empty;
    empty.SetFixedCols(3);
    QCOMPARE(empty.TCustomGrid::FixedCols(), 1); // only the indicator: the columns are default
}

void TestGridLayout::stretchDistribution()
{
    test::TItemsTable items;
    TOrvoDBGrid grid;
    AddPlainColumns(grid, {"id", "name", "price"});
    QVERIFY(test::ShowExposed(grid, 300 + 2 * grid.frameWidth(), 200));
    grid.SetDataSource(&items.Source);
    items.Table.Open();
    grid.SetStretchMode(true);
    QCOMPARE(grid.viewport()->width(), 300);
    // 300 pixels and the one of the missing frame edge: the remainder goes to the last.
    QCOMPARE(grid.ColWidths(0), 100);
    QCOMPARE(grid.ColWidths(1), 100);
    QCOMPARE(grid.ColWidths(2), 101);
    // Width reads the width on screen; the own width stays the base of the shares, and
    // that is what a saved form keeps.
    QCOMPARE(grid.Columns()->Items(2)->Width(), 101);
    QCOMPARE(grid.Columns()->Items(2)->WidthBase(), 100);
    QBuffer saved;
    saved.open(QIODevice::WriteOnly);
    grid.Columns()->SaveToStream(saved);
    QVERIFY2(saved.data().count("Width = 100\n") == 3, saved.data().constData());

    grid.resize(600 + 2 * grid.frameWidth(), 200);
    QTRY_COMPARE(grid.viewport()->width(), 600);
    QCOMPARE(grid.ColWidths(0) + grid.ColWidths(1) + grid.ColWidths(2), 601);
    grid.SetStretchMode(false);
    QCOMPARE(grid.ColWidths(2), 100);
}

void TestGridLayout::stretchKeepsAPinnedMinimum()
{
    test::TItemsTable items;
    TOrvoDBGrid grid;
    AddPlainColumns(grid, {"id", "name", "price"});
    grid.Columns()->Items(0)->SetWidthMin(80);
    QVERIFY(test::ShowExposed(grid, 150 + 2 * grid.frameWidth(), 200));
    grid.SetDataSource(&items.Source);
    items.Table.Open();
    grid.SetStretchMode(true);
    // A third of 151 pixels is below the minimum: the column keeps 80 and the
    // others share the rest in proportion to their base widths.
    QCOMPARE(grid.ColWidths(0), 80);
    QCOMPARE(grid.ColWidths(1), 35);
    QCOMPARE(grid.ColWidths(2), 36);
}

void TestGridLayout::stretchReleasesMinimumsWhenEveryColumnIsPinned()
{
    test::TItemsTable items;
    TOrvoDBGrid grid;
    AddPlainColumns(grid, {"id", "name"});
    grid.Columns()->Items(0)->SetWidthMin(100);
    grid.Columns()->Items(1)->SetWidthMax(30);
    QVERIFY(test::ShowExposed(grid, 150 + 2 * grid.frameWidth(), 200));
    grid.SetDataSource(&items.Source);
    items.Table.Open();
    grid.SetStretchMode(true);
    // Half of 151 pins both columns, yet 21 pixels would stay empty: the column held at its
    // minimum is let go and takes all that the capped one leaves.
    QCOMPARE(grid.ColWidths(1), 30);
    QCOMPARE(grid.ColWidths(0), 121);
}

void TestGridLayout::widthWritesWhileStretching_data()
{
    QTest::addColumn<QString>("write");
    QTest::addColumn<QList<int>>("bases");
    QTest::addColumn<QList<int>>("shown");
    // Three bases of 100 share 301 pixels: a shown pixel stands for 300/301 of a base one.
    QTest::newRow("Width is scaled back to a base")
        << "Width" << QList<int>{199, 100, 100} << QList<int>{150, 75, 76};
    QTest::newRow("WidthBase sets the share itself")
        << "WidthBase" << QList<int>{200, 100, 100} << QList<int>{150, 75, 76};
    QTest::newRow("a drag is scaled back once")
        << "drag" << QList<int>{199, 100, 100} << QList<int>{150, 75, 76};
    QTest::newRow("a new minimum pins the shown width")
        << "WidthMin" << QList<int>{100, 250, 100} << QList<int>{25, 250, 26};
    QTest::newRow("a new maximum pins the shown width")
        << "WidthMax" << QList<int>{100, 60, 100} << QList<int>{120, 60, 121};
}

void TestGridLayout::widthWritesWhileStretching()
{
    QFETCH(QString, write);
    QFETCH(QList<int>, bases);
    QFETCH(QList<int>, shown);
    test::TItemsTable items;
    TOrvoDBGrid grid;
    AddPlainColumns(grid, {"id", "name", "price"});
    QVERIFY(test::ShowExposed(grid, 300 + 2 * grid.frameWidth(), 200));
    grid.SetDataSource(&items.Source);
    items.Table.Open();
    grid.SetStretchMode(true);

    if (write == QLatin1String("Width"))
        grid.Columns()->Items(0)->SetWidth(200);
    else if (write == QLatin1String("WidthBase"))
        grid.Columns()->Items(0)->SetWidthBase(200);
    else if (write == QLatin1String("drag"))
        grid.SetColWidths(0, 200);
    else if (write == QLatin1String("WidthMin"))
        grid.Columns()->Items(1)->SetWidthMin(250);
    else
        grid.Columns()->Items(1)->SetWidthMax(60);
    for (int i = 0; i < 3; ++i) {
        const TOrvoColumn* column = grid.Columns()->Items(i);
        QCOMPARE(column->WidthBase(), bases.at(i));
        QCOMPARE(column->Width(), shown.at(i));
        QCOMPARE(grid.ColWidths(i), shown.at(i));
    }
    // Without stretching the base widths come back as they are.
    grid.SetStretchMode(false);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(grid.Columns()->Items(i)->Width(), bases.at(i));
}

void TestGridLayout::sequencedScrollBarShowsRecordNumbers()
{
    test::TItemsTable items;
    TOrvoDBGrid grid;
    QVERIFY(test::ShowExposed(grid, 400, 300));
    grid.SetDataSource(&items.Source);
    items.Table.Open();
    QVERIFY(items.Table.IsSequenced());
    QScrollBar* bar = grid.verticalScrollBar();
    QCOMPARE(bar->minimum(), 1);
    QCOMPARE(bar->maximum(), 100);
    QCOMPARE(bar->value(), 1);
    items.Table.MoveBy(41);
    QCOMPARE(bar->value(), 42);
    items.Table.Last();
    QCOMPARE(bar->value(), 100);

    grid.SetScrollBars(ssHorizontal);
    QCOMPARE(bar->maximum(), 0);
    QCOMPARE(grid.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

void TestGridLayout::threePositionScrollBar()
{
    test::TItemsTable items;
    // A record filter the database cannot evaluate leaves record numbers unknown.
    items.Table.SetOnFilterRecord([](TDataSet*, bool& accept) { accept = true; });
    items.Table.SetFiltered(true);
    TOrvoDBGrid grid;
    QVERIFY(test::ShowExposed(grid, 400, 300));
    grid.SetDataSource(&items.Source);
    items.Table.Open();
    QVERIFY(!items.Table.IsSequenced());
    QScrollBar* bar = grid.verticalScrollBar();
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 4);
    QCOMPARE(bar->value(), 0);
    items.Table.MoveBy(30);
    QCOMPARE(bar->value(), 2);
    items.Table.Last();
    QCOMPARE(bar->value(), 4);
}

void TestGridLayout::scrollBarActionsMoveTheDataSet()
{
    test::TItemsTable items;
    TOrvoDBGrid grid;
    QVERIFY(test::ShowExposed(grid, 400, 300));
    grid.SetDataSource(&items.Source);
    items.Table.Open();
    const int visible = grid.DataRowCount();
    QScrollBar* bar = grid.verticalScrollBar();
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(items.Table.RecNo(), 1 + visible);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    QVERIFY(items.Table.Eof() || items.Table.RecNo() == 100);
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    QCOMPARE(items.Table.RecNo(), 1);
    bar->setSliderPosition(60);
    bar->triggerAction(QAbstractSlider::SliderMove);
    QCOMPARE(items.Table.RecNo(), 60);
    QCOMPARE(bar->value(), 60);
}

void TestGridLayout::gridFollowsTheDataSetAsItScrolls()
{
    test::TItemsTable items;
    TOrvoDBGrid grid;
    QVERIFY(test::ShowExposed(grid, 400, 300));
    grid.SetDataSource(&items.Source);
    items.Table.Open();
    const int recNoBefore = items.Table.RecNo();
    for (int step : {3, 20, -7, 50}) {
        items.Table.MoveBy(step);
        QCOMPARE(grid.Row(), grid.TitleOffset() + grid.DataLink()->ActiveRecord());
        QCOMPARE(grid.RecordOfRow(grid.Row()), grid.DataLink()->ActiveRecord());
    }
    // A full paint reads buffered rows without moving the dataset.
    const int recNo = items.Table.RecNo();
    const int active = grid.DataLink()->ActiveRecord();
    QVERIFY(!grid.grab().isNull());
    QCOMPARE(items.Table.RecNo(), recNo);
    QCOMPARE(grid.DataLink()->ActiveRecord(), active);
    QVERIFY(recNo != recNoBefore);
}

void TestGridLayout::lookupResultColumnsFollowTheirKey()
{
    test::TItemsTable items;
    test::TItemOrders itemOrders(items.Db);
    TSQLiteTable& orders = itemOrders.Table;
    TOrvoDBGrid grid;
    TOrvoColumn* result = grid.Columns()->Add();
    result->SetFieldName(QStringLiteral("item_name"));
    result->SetKeyField(QStringLiteral("item"));
    result->SetLookupDataSet(&items.Table);
    result->SetLookupKeyField(QStringLiteral("id"));
    result->SetLookupResultField(QStringLiteral("name"));
    grid.Columns()->Add()->SetFieldName(QStringLiteral("item"));
    grid.SetDataSource(&itemOrders.Source);
    orders.Open();
    QCOMPARE(result->LookupColumn(), lcLookupResultField);

    TField* item = orders.FieldByName(QStringLiteral("item"));
    TField* name = orders.FieldByName(QStringLiteral("item_name"));
    orders.Edit();
    item->SetAsVariant(qint64(7));
    QCOMPARE(name->AsString(), QStringLiteral("Item 7"));
    QVERIFY(!items.Table.Active()); // opened for the search only
    item->SetAsVariant(qint64(999));
    QVERIFY(name->IsNull());
    item->SetAsVariant(qint64(3));
    item->Clear();
    QVERIFY(name->IsNull());
    orders.Cancel();

    // A read-only result field is left alone.
    name->SetReadOnly(true);
    orders.Edit();
    item->SetAsVariant(qint64(5));
    QCOMPARE(name->AsString(), QStringLiteral("Item 2"));
    orders.Cancel();
    name->SetReadOnly(false);

    // Two results keyed on each other: following them stops where it began.
    TOrvoColumn* back = grid.Columns()->Items(1);
    back->SetKeyField(QStringLiteral("item_name"));
    back->SetLookupDataSet(&items.Table);
    back->SetLookupKeyField(QStringLiteral("name"));
    back->SetLookupResultField(QStringLiteral("id"));
    QCOMPARE(back->LookupColumn(), lcLookupResultField);
    orders.Edit();
    item->SetAsVariant(qint64(8));
    QCOMPARE(name->AsString(), QStringLiteral("Item 8"));
    QCOMPARE(item->AsVariant().AsInteger(), 8);
    orders.Cancel();
}

void TestGridLayout::scalingScalesEachColumnOnce()
{
    test::TItemsTable items;
    TCountingGrid grid;
    int resizes = 0;
    grid.OnColumnResize = [&resizes](QObject*) { ++resizes; };
    grid.SetDataSource(&items.Source);
    items.Table.Open();
    grid.Columns()->SetState(csCustomized);
    grid.Columns()->Items(1)->SetWidth(100);
    grid.ChangeScale(3, 2);
    QCOMPARE(grid.Columns()->Items(1)->Width(), 150);
    QCOMPARE(resizes, 0); // no user resized anything
}

void TestGridLayout::totalRowsFitTheirTallestFont()
{
    test::TItemsTable items;
    TOrvoDBGrid grid;
    QVERIFY(test::ShowExposed(grid, 400, 300));
    grid.SetDataSource(&items.Source);
    items.Table.Open();
    grid.SetOptionsEx(grid.OptionsEx() + dgTotalFooter);
    const int footerRow = grid.RowCount() - 1;
    const int plain = grid.RowHeights(footerRow);
    TOrvoColumnTotal* footer = grid.Columns()->Items(1)->TotalFooter();
    TFont big = footer->Font();
    big.SetSize(big.Size() * 3);
    footer->SetFont(big);
    QVERIFY2(grid.RowHeights(grid.RowCount() - 1) > plain + LineHeight(QFont()),
             qPrintable(QString::number(grid.RowHeights(grid.RowCount() - 1))));
}

void TestGridLayout::deferredLayoutWaitsForTheLock()
{
    test::TItemsTable items;
    TCountingGrid grid;
    grid.SetDataSource(&items.Source);
    items.Table.Open();
    grid.BeginUpdate();
    grid.DeferLayout();
    const int before = grid.Passes;
    QTest::qWait(50);
    QCOMPARE(grid.Passes, before); // held off by the lock, not run
    grid.EndUpdate();
    QTRY_COMPARE(grid.Passes, before + 1); // and not lost either
}

void TestGridLayout::deletedColumnLeavesTheShownList()
{
    test::TItemsTable items;
    TOrvoDBGrid grid;
    grid.SetDataSource(&items.Source);
    items.Table.Open();
    grid.Columns()->SetState(csCustomized);
    TOrvoColumn* doomed = grid.Columns()->Items(1);
    QVERIFY(std::count(grid.ShownColumns().begin(), grid.ShownColumns().end(), doomed) == 1);
    grid.BeginUpdate();
    delete doomed;
    QVERIFY(std::count(grid.ShownColumns().begin(), grid.ShownColumns().end(), doomed) == 0);
    grid.EndUpdate();
}

void TestGridLayout::stretchingShowsTheColumnsFromTheFirst()
{
    test::TItemsTable items;
    TOrvoDBGrid grid;
    test::AddColumns(grid, {"id", "name", "price"});
    for (int i = 0; i < 3; ++i)
        grid.Columns()->Items(i)->SetWidth(250);
    QVERIFY(test::ShowExposed(grid, 300, 200));
    grid.SetDataSource(&items.Source);
    items.Table.Open();
    const int first = grid.IndicatorOffset();
    grid.SetLeftCol(first + 2);
    QCOMPARE(grid.LeftCol(), first + 2);
    grid.SetStretchMode(true);
    QCOMPARE(grid.LeftCol(), first);
}

void TestGridLayout::sequenceRecountKeepsTheView()
{
    test::TItemsTable items;
    // Without record numbers the grid counts by walking the dataset.
    items.Table.SetOnFilterRecord([](TDataSet*, bool& accept) { accept = true; });
    items.Table.SetFiltered(true);
    TOrvoDBGrid grid;
    QVERIFY(test::ShowExposed(grid, 400, 300));
    grid.SetOptions(grid.Options() + dgForceSequence);
    grid.SetDataSource(&items.Source);
    items.Table.Open();
    QVERIFY(!items.Table.IsSequenced());
    items.Table.MoveBy(40);
    items.Table.MoveBy(-3); // the current record now stands a few rows down the window
    const int row = grid.DataLink()->ActiveRecord();
    QVERIFY(row > 0);
    grid.RecountSequence();
    QCOMPARE(grid.SequenceRecordCount(), qint64(100));
    QCOMPARE(grid.SequenceRecNo(), qint64(41 - 3));
    QCOMPARE(grid.DataLink()->ActiveRecord(), row);
}

void TestGridLayout::fieldFocusOpensItsColumnsEditor()
{
    test::TItemsTable items;
    TOrvoDBGrid grid;
    QVERIFY(test::ShowExposed(grid, 400, 300));
    grid.SetDataSource(&items.Source);
    items.Table.Open();
    TField* price = items.Table.FieldByName(QStringLiteral("price"));
    QVERIFY(grid.SelectedField() != price);
    price->FocusControl();
    QCOMPARE(grid.SelectedField(), price);
    QVERIFY(grid.EditorMode());
}

void TestGridLayout::parentFontScalesTheColumns_data()
{
    QTest::addColumn<bool>("scaleByParentFont");
    QTest::newRow("scaling") << true;
    QTest::newRow("not scaling") << false;
}

void TestGridLayout::parentFontScalesTheColumns()
{
    QFETCH(bool, scaleByParentFont);
    test::TItemsTable items;
    QWidget form;
    QFont small = form.font();
    small.setPixelSize(12);
    form.setFont(small);
    auto* grid = new TOrvoDBGrid(&form);
    if (scaleByParentFont)
        grid->SetOptionsExt(grid->OptionsExt() + dgScaleByParentFont);
    grid->SetDataSource(&items.Source);
    items.Table.Open();
    grid->Columns()->SetState(csCustomized);
    grid->Columns()->Items(1)->SetWidth(100);

    QFont large = small;
    large.setPixelSize(24);
    form.setFont(large);
    QVERIFY(grid->ParentFont());
    const int expected = scaleByParentFont ? 100 * LineHeight(large) / LineHeight(small) : 100;
    QCOMPARE(grid->Columns()->Items(1)->Width(), expected);
    // The same font again is no change of height.
    form.setFont(small);
    form.setFont(large);
    QCOMPARE(grid->Columns()->Items(1)->Width(), expected);
}

void TestGridLayout::clampedViewReportsItsColumnScroll()
{
    test::TItemsTable items;
    TOrvoDBGrid grid;
    QVERIFY(test::ShowExposed(grid, 200, 200));
    grid.SetDataSource(&items.Source);
    items.Table.Open();
    grid.Columns()->SetState(csCustomized);
    for (int i = 0; i < grid.Columns()->Count(); ++i)
        grid.Columns()->Items(i)->SetWidth(150);
    int reported = -1;
    grid.OnColumnScroll = [&reported](QObject*, int leftIndex) { reported = leftIndex; };
    grid.SetLeftCol(grid.ColCount() - 1);
    QCOMPARE(reported, grid.Columns()->Count() - 1);

    // Narrower columns all fit: the view clamps back, and that is a scroll like any other.
    for (int i = 0; i < grid.Columns()->Count(); ++i)
        grid.Columns()->Items(i)->SetWidth(40);
    QCOMPARE(grid.LeftCol(), grid.TCustomGrid::FixedCols());
    QCOMPARE(reported, 0);
}

void TestGridLayout::rowDragSnapsToWholeLinesInOnePass()
{
    test::TItemsTable items;
    TCountingGrid grid;
    grid.SetOptions(grid.Options() + dgRowResize);
    QVERIFY(test::ShowExposed(grid, 400, 300));
    grid.SetDataSource(&items.Source);
    items.Table.Open();
    int resizes = 0;
    grid.OnRowResize = [&resizes](QObject*) { ++resizes; };
    const int line = LineHeight(grid.font());
    const int dataRow = grid.TCustomGrid::FixedRows();
    const int oneLine = grid.DefaultRowHeight();
    const int passes = grid.Passes;

    grid.SetRowHeights(dataRow, oneLine + line);
    QCOMPARE(grid.LinesCount(), 2);
    QCOMPARE(grid.Passes, passes + 1);
    QCOMPARE(grid.DefaultRowHeight(), oneLine + line);
    for (int row = dataRow; row < grid.RowCount(); ++row)
        QCOMPARE(grid.RowHeights(row), oneLine + line);
    QCOMPARE(resizes, 1);

    // A drag that stays within the same number of lines snaps back and is no resize.
    grid.SetRowHeights(dataRow, oneLine + line + 2);
    QCOMPARE(grid.LinesCount(), 2);
    QCOMPARE(grid.RowHeights(dataRow), oneLine + line);
    QCOMPARE(resizes, 1);
}

void TestGridLayout::chainedGridsFollowFrozenAndShownColumns()
{
    test::TItemsTable items;
    TOrvoDBGrid master;
    TOrvoDBGrid chained;
    for (TOrvoDBGrid* grid : {&master, &chained}) {
        grid->SetDataSource(&items.Source);
        grid->Columns()->SetState(csCustomized);
    }
    items.Table.Open();
    master.Columns()->SetState(csCustomized);
    chained.Columns()->SetState(csCustomized);
    chained.SetMasterGrid(&master);

    master.SetFixedCols(1);
    QCOMPARE(chained.FixedColsProperty(), 1);
    master.SetIndicatorWidth(30);
    QCOMPARE(chained.IndicatorWidth(), 30);
    master.Columns()->Items(2)->SetVisible(false);
    QVERIFY(!chained.Columns()->Items(2)->Visible());
    master.Columns()->Items(1)->SetWidth(150);
    QCOMPARE(chained.Columns()->Items(1)->Width(), 150);
    master.SetBiDiMode(Qt::RightToLeft);
    QCOMPARE(chained.BiDiMode(), Qt::RightToLeft);
    // The chain is a ring: the other grid's changes come back.
    chained.SetFixedCols(0);
    QCOMPARE(master.FixedColsProperty(), 0);
    chained.Columns()->Items(2)->SetVisible(true);
    QVERIFY(master.Columns()->Items(2)->Visible());
}

void TestGridLayout::longOperationKeepsTheCurrentRecordsRow()
{
    test::TItemsTable items;
    TOrvoDBGrid grid;
    QVERIFY(test::ShowExposed(grid, 400, 300));
    grid.SetDataSource(&items.Source);
    items.Table.Open();
    items.Table.MoveBy(40);
    items.Table.MoveBy(-5);
    const int recNo = items.Table.RecNo();
    const int row = grid.Row();

    grid.BeginLongOperation();
    QVERIFY(!grid.isEnabled());
    for (items.Table.First(); !items.Table.Eof(); items.Table.Next()) {
    }
    grid.EndLongOperation();
    QVERIFY(grid.isEnabled());
    QCOMPARE(items.Table.RecNo(), recNo);
    QCOMPARE(grid.Row(), row);
}

void TestGridLayout::scrollingWithTotalsRunsNoLayoutPass()
{
    test::TItemsTable items;
    TCountingGrid grid;
    grid.SetOptionsEx(grid.OptionsEx() + dgTotalFooter);
    QVERIFY(test::ShowExposed(grid, 400, 300));
    grid.SetDataSource(&items.Source);
    items.Table.Open();
    const int passes = grid.Passes;
    items.Table.Next();
    items.Table.MoveBy(40);
    items.Table.Prior();
    QCOMPARE(grid.Passes, passes);
}

void TestGridLayout::headersNeverSpanTheFrozenBoundary()
{
    TOrvoDBGrid grid;
    TOrvoDBGridColumns& columns = *grid.Columns();
    test::AddColumns(grid, {"name", "id", "price"});
    columns.Items(0)->SetVisible(false);
    columns.Items(1)->Title()->SetHeader(QStringLiteral("G"));
    columns.Items(2)->Title()->SetHeader(QStringLiteral("G"));
    QCOMPARE(columns.Items(1)->Title()->NextHeaderColumn(0), columns.Items(2));
    // The hidden column counts: the frozen block is name and id, and price scrolls.
    grid.SetFixedCols(2);
    QCOMPARE(grid.FixedColsProperty(), 2);
    QVERIFY(columns.Items(1)->Title()->NextHeaderColumn(0) == nullptr);
    QVERIFY(columns.Items(2)->Title()->PriorHeaderColumn(0) == nullptr);
}

namespace {

/// The field names of the columns, auto columns by their caption.
QStringList ColumnNames(const TOrvoDBGrid& grid)
{
    QStringList names;
    for (int i = 0; i < grid.Columns()->Count(); ++i) {
        const TOrvoColumn* column = grid.Columns()->Items(i);
        names << (column->FieldName().isEmpty() ? column->Title()->Caption() : column->FieldName());
    }
    return names;
}

enum TReorder
{
    roTitleDrag,
    roFieldIndex,
    roColumnIndex,
    roDragOntoAutoColumn
};

} // namespace

void TestGridLayout::defaultColumnsFollowAReorder_data()
{
    QTest::addColumn<int>("reorder");
    QTest::addColumn<bool>("numbered");
    QTest::addColumn<QStringList>("expected");
    const QStringList moved{"price", "id", "name"};
    QTest::newRow("title drag") << int(roTitleDrag) << false << moved;
    QTest::newRow("field index") << int(roFieldIndex) << false << moved;
    QTest::newRow("column index") << int(roColumnIndex) << false << moved;
    QTest::newRow("title drag, numbered") << int(roTitleDrag) << true << (QStringList{"No."} + moved);
    QTest::newRow("column index, numbered") << int(roColumnIndex) << true << (QStringList{"No."} + moved);
    QTest::newRow("drag onto the number column")
        << int(roDragOntoAutoColumn) << true << QStringList{"No.", "id", "name", "price"};
}

void TestGridLayout::defaultColumnsFollowAReorder()
{
    QFETCH(int, reorder);
    QFETCH(bool, numbered);
    QFETCH(QStringList, expected);
    test::TItemsTable items;
    TOrvoDBGrid grid;
    if (numbered)
        grid.SetOptionsExt(grid.OptionsExt() + dgAutoNumberColumn);
    QVERIFY(test::ShowExposed(grid, 500, 200));
    grid.SetDataSource(&items.Source);
    items.Table.Open();
    const int first = numbered ? 1 : 0; // the first data column
    TOrvoDBGridColumns* columns = grid.Columns();
    const int priceWidth = columns->Items(first + 2)->Width();
    TField* price = items.Table.FieldByName(QStringLiteral("price"));
    grid.SetCol(grid.DataToRawColumn(first + 2));
    QCOMPARE(grid.SelectedField(), price);

    switch (TReorder(reorder)) {
    case roTitleDrag:
        grid.MoveColumn(grid.DataToRawColumn(first + 2), grid.DataToRawColumn(first));
        break;
    case roFieldIndex:
        items.Table.FieldByName(QStringLiteral("price"))->SetIndex(0);
        break;
    case roColumnIndex:
        columns->Items(first + 2)->SetIndex(first);
        break;
    case roDragOntoAutoColumn:
        grid.MoveColumn(grid.DataToRawColumn(first + 2), grid.DataToRawColumn(0));
        break;
    }

    QCOMPARE(ColumnNames(grid), expected);
    QCOMPARE(grid.ColCount(), expected.size() + 1);
    for (int i = first; i < columns->Count(); ++i)
        QCOMPARE(columns->Items(i)->Field(), items.Table.Fields()->List().at(i - first));
    // What the grid shows matches the columns: no width left behind by the drag.
    for (int i = 0; i < columns->Count(); ++i)
        QCOMPARE(grid.ColWidths(grid.DataToRawColumn(i)), columns->Items(i)->Width());
    QCOMPARE(grid.ColumnByFieldName(QStringLiteral("price"))->Width(), priceWidth);
    // A dragged current cell stays with its column, also when the move was refused.
    if (reorder == roTitleDrag || reorder == roDragOntoAutoColumn)
        QCOMPARE(grid.SelectedField(), price);
}

void TestGridLayout::autoColumnsAmongDefaultColumnsStayDefault()
{
    test::TItemsTable items;
    TOrvoDBGrid grid;
    grid.SetOptionsExt(grid.OptionsExt() + dgAutoNumberColumn + dgAutoSelectColumn);
    grid.SetDataSource(&items.Source);
    items.Table.Open();
    TOrvoDBGridColumns* columns = grid.Columns();
    QVERIFY(!columns->Items(0)->Stored() && !columns->Items(1)->Stored());

    // Moved behind the data columns, a stored number column would make the columns read
    // customized and cost every default column.
    columns->Items(0)->SetIndex(columns->Count() - 1);
    grid.LayoutChanged();
    QCOMPARE(columns->State(), csDefault);
    QCOMPARE(ColumnNames(grid), (QStringList{"No.", "Select", "id", "name", "price"}));

    columns->RebuildColumns();
    QCOMPARE(columns->State(), csCustomized);
    QCOMPARE(ColumnNames(grid), (QStringList{"No.", "Select", "id", "name", "price"}));
    QVERIFY(columns->Items(0)->Stored() && columns->Items(1)->Stored());
}

void TestGridLayout::pendingEditStaysWithItsColumn_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<int>("parent"); // the column that collapses over the edited one; -1: it is hidden
    QTest::addColumn<QString>("edited");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expectedCurrent");
    QTest::newRow("hidden, a column to its right") << QStringList{"name", "price"} << -1 << "name"
                                                   << "q"
                                                   << "price";
    QTest::newRow("hidden, the last column") << QStringList{"price", "name"} << -1 << "name"
                                             << "q"
                                             << "price";
    QTest::newRow("parent collapsed") << QStringList{"name", "price", "id"} << 0 << "price"
                                      << "7"
                                      << "name";
}

void TestGridLayout::pendingEditStaysWithItsColumn()
{
    QFETCH(QStringList, fields);
    QFETCH(int, parent);
    QFETCH(QString, edited);
    QFETCH(QString, typed);
    QFETCH(QString, expectedCurrent);
    test::TItemsTable items;
    TOrvoDBGrid grid;
    for (const QString& name : fields)
        grid.Columns()->Add()->SetFieldName(name);
    if (parent >= 0)
        grid.Columns()->Items(parent)->SetExpandCols(1);
    QVERIFY(test::ShowExposed(grid, 500, 200));
    grid.SetDataSource(&items.Source);
    items.Table.Open();
    QStringList before;
    for (const QString& name : fields)
        before << items.Table.FieldByName(name)->AsString();
    int exits = 0;
    int enters = 0;
    grid.OnColExit = [&exits](QObject*) { ++exits; };
    grid.OnColEnter = [&enters](QObject*) { ++enters; };

    TOrvoColumn* column = grid.ColumnByFieldName(edited);
    grid.SetCol(grid.DataToRawColumn(column->Index()));
    grid.setFocus();
    QTest::keyClicks(&grid, typed);
    QVERIFY(grid.EditorMode());
    exits = enters = 0;
    if (parent >= 0)
        grid.Columns()->Items(parent)->SetExpanded(false);
    else
        column->SetVisible(false);

    QCOMPARE(grid.SelectedColumn()->FieldName(), expectedCurrent);
    QVERIFY(grid.SelectedColumn()->IsShown());
    items.Table.Post();
    for (int i = 0; i < fields.size(); ++i)
        QCOMPARE(items.Table.FieldByName(fields[i])->AsString(), fields[i] == edited ? typed : before[i]);
    QCOMPARE(exits, 1);
    QCOMPARE(enters, 1);
}

void TestGridLayout::refusedTextIsReportedNotMoved()
{
    test::TItemsTable items;
    TOrvoDBGrid grid;
    test::AddColumns(grid, {"price", "name"});
    QVERIFY(test::ShowExposed(grid, 500, 200));
    grid.SetDataSource(&items.Source);
    items.Table.Open();
    int reported = 0;
    const test::TExceptionHandlerScope handler([&reported](std::exception_ptr) { ++reported; });

    grid.SetCol(grid.DataToRawColumn(0));
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_1); // opens the editor, which takes the rest
    QTest::keyClicks(grid.InplaceEditor(), QStringLiteral(".2.3"));
    grid.Columns()->Items(0)->SetVisible(false);
    QCOMPARE(reported, 1);
    QCOMPARE(grid.SelectedColumn()->FieldName(), QStringLiteral("name"));
    if (items.Table.State() != dsBrowse)
        items.Table.Post();
    QCOMPARE(items.Table.FieldByName(QStringLiteral("name"))->AsString(), QStringLiteral("Item 1"));
    QCOMPARE(items.Table.FieldByName(QStringLiteral("price"))->AsString(), QStringLiteral("1.25"));
}

void TestGridLayout::titleRowsFitEveryTitle()
{
    TOrvoDBGrid grid;
    TOrvoDBGridColumns& columns = *grid.Columns();
    test::AddColumns(grid, {"parent", "child", "tall"});
    TOrvoColumn* parent = columns.Items(0);
    parent->SetExpandCols(1);
    parent->SetExpanded(true);
    TOrvoColumn* tall = columns.Items(2);
    TFont big = grid.TitleFont();
    big.SetSize(big.Size() * 3);
    tall->Title()->SetFont(big);
    QCOMPARE(grid.TitleOffset(), 2);

    const int space = grid.GridStyle()->TitleRowSpace();
    const int plain = LineHeight(grid.TitleFont().ToQFont()) * grid.TitleLinesCount() + space;
    const int high = LineHeight(big.ToQFont()) * grid.TitleLinesCount() + space;
    // The expanded parent sets its own row; the tall title, spanning both rows, takes the rest
    // from the last one, and the child still fits there.
    QCOMPARE(grid.RowHeights(0), plain);
    QCOMPARE(grid.RowHeights(1), std::max(plain, high - plain));
    QVERIFY(grid.RowHeights(0) + grid.RowHeights(1) >= high);

    // Collapsed, the parent spans both rows like the tall title; row 0 falls back to the
    // title font.
    parent->SetExpanded(false);
    QCOMPARE(grid.TitleOffset(), 1);
    QCOMPARE(grid.RowHeights(0), high);
}

QTEST_MAIN(TestGridLayout)
#include "tst_gridlayout.moc"
