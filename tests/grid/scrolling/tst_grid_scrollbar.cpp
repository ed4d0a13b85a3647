#include "common/tsystemprofilescope.h"
#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/common/gridtestwidgets.h"
#include "grid/common/titemstable.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "grid/scrolling/torvoscrollprop.h"
#include "platform/core/tsystemprofile.h"
#include "platform/data/tdatasource.h"
#include "platform/data/tfield.h"
#include "platform/sqlite/tsqlitedatabase.h"
#include "platform/sqlite/tsqlitetable.h"
#include "tverticalbar.h"

#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include <optional>

using namespace orvo;

using orvo::test::BarOf;
using orvo::test::TBar;

namespace {

/// The grid uses flat bars when the system's themes are off.
const TSystemProfile FlatBarsProfile = test::TSystemProfileScope::WithThemes(false);

/// Opens `items` in `grid`; with `sequence` the grid counts the records itself.
void Open(TOrvoDBGrid& grid, test::TItemsTable& items, bool sequence)
{
    if (sequence)
        grid.SetOptions(grid.Options() + TOrvoDBGridOptions{dgForceSequence});
    grid.SetDataSource(&items.Source);
    items.Table.Open();
    if (sequence)
        grid.RecountSequence();
}

enum TBarMode
{
    bmSequence,
    bmSequenceGrid,
    bmSequencePage,
    bmSequenced,
    bmThreePositions
};

bool Proportional(TScrollStyle thumbBar)
{
    return thumbBar == ssVertical || thumbBar == ssBoth;
}

} // namespace

Q_DECLARE_METATYPE(TBarMode)
Q_DECLARE_METATYPE(TBar)

class TestGridScrollBar : public QObject
{
    Q_OBJECT

private slots:
    void verticalBarInEveryMode_data();
    void verticalBarInEveryMode();
    void barThatCannotHideKeepsARange_data();
    void barThatCannotHideKeepsARange();
    void inactiveLinkGivesAnInertBar_data();
    void inactiveLinkGivesAnInertBar();
    void plainScrollActions_data();
    void plainScrollActions();
    void sequenceThumbUsesTheSequenceCount();
    void gridModeKeepsTheCurrentRowOnScreen_data();
    void gridModeKeepsTheCurrentRowOnScreen();
    void draggingWithoutTrackingLeavesTheDataSet();
    void sequenceNumberFollowsEveryMove();
    void scrolledPixelsMatchAFullRepaint_data();
    void scrolledPixelsMatchAFullRepaint();
    void horizontalBarFollowsAutoHidden_data();
    void horizontalBarFollowsAutoHidden();
    void flatFrame_data();
    void flatFrame();
};

void TestGridScrollBar::verticalBarInEveryMode_data()
{
    QTest::addColumn<TBarMode>("mode");
    QTest::addColumn<TScrollStyle>("thumbBar");
    for (TScrollStyle thumb : {ssBoth, ssNone}) {
        const char* suffix = Proportional(thumb) ? ", proportional" : ", fixed thumb";
        QTest::addRow("sequence%s", suffix) << bmSequence << thumb;
        QTest::addRow("sequence grid mode%s", suffix) << bmSequenceGrid << thumb;
        QTest::addRow("sequence page mode%s", suffix) << bmSequencePage << thumb;
        QTest::addRow("sequenced dataset%s", suffix) << bmSequenced << thumb;
        QTest::addRow("three positions%s", suffix) << bmThreePositions << thumb;
    }
}

void TestGridScrollBar::verticalBarInEveryMode()
{
    QFETCH(TBarMode, mode);
    QFETCH(TScrollStyle, thumbBar);
    test::TItemsTable items;
    if (mode == bmSequence || mode == bmThreePositions)
        items.DropRecordNumbers();
    TOrvoDBGrid grid;
    grid.ScrollProp()->SetThumbBar(thumbBar);
    if (mode == bmSequenceGrid || mode == bmSequencePage) {
        TOrvoDBGridOptionsExt ext = grid.OptionsExt() + TOrvoDBGridOptionsExt{dgScrollGridMode};
        if (mode == bmSequencePage)
            ext.Include(dgScrollPageMode);
        grid.SetOptionsExt(ext);
    }
    QVERIFY(test::ShowExposed(grid, 400, 300));
    Open(grid, items, mode <= bmSequencePage);
    const int v = grid.DataLink()->BufferCount();
    QVERIFY(v > 3 && v < 30);
    const bool prop = Proportional(thumbBar);
    const int page = prop ? v : 0;
    const int pages = (100 + v - 1) / v;

    // At the start, then with record 42 on the fourth row, then at the end.
    items.Table.MoveBy(3);
    const int active = grid.DataLink()->ActiveRecord();
    QCOMPARE(active, 3);
    items.Table.MoveBy(38);
    QCOMPARE(items.CurrentId(), 42);
    const int middleActive = grid.DataLink()->ActiveRecord();
    TBar middle = BarOf(grid);
    items.Table.Last();
    TBar last = BarOf(grid);
    items.Table.First();
    TBar first = BarOf(grid);

    switch (mode) {
    case bmSequence:
    case bmSequenced:
        QCOMPARE(first, (TBar{1, 100, page, 1}));
        QCOMPARE(middle.Value, 42);
        QCOMPARE(last.Value, 100);
        break;
    case bmSequenceGrid:
        // The bar shows the top row's record.
        QCOMPARE(first, (TBar{1, 100 - v + 1, page, 1}));
        QCOMPARE(middle.Value, 42 - middleActive);
        QCOMPARE(last.Value, 100 - v + 1);
        break;
    case bmSequencePage:
        QCOMPARE(first, (TBar{1, pages, page, 1}));
        QCOMPARE(middle.Value, (42 - middleActive - 1 + v - 1) / v + 1);
        QCOMPARE(last.Value, (100 - v + v - 1) / v + 1);
        break;
    case bmThreePositions:
        QCOMPARE(first, (TBar{0, 4, prop ? 2 : 0, 0}));
        QCOMPARE(middle.Value, 2);
        QCOMPARE(last.Value, 4);
        break;
    }
    QVERIFY(grid.verticalScrollBar()->isVisible());
}

void TestGridScrollBar::barThatCannotHideKeepsARange_data()
{
    QTest::addColumn<bool>("flat");
    QTest::addColumn<TBarMode>("mode");
    QTest::addColumn<TScrollStyle>("autoHidden");
    QTest::addColumn<TScrollStyle>("thumbBar");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<TBar>("bar");
    // Five records in a grid made for more.
    QTest::newRow("auto-hidden sequenced") << true << bmSequenced << ssVertical << ssBoth << false << TBar{};
    QTest::newRow("auto-hidden sequence") << true << bmSequence << ssBoth << ssNone << false << TBar{};
    QTest::newRow("auto-hidden three positions")
        << true << bmThreePositions << ssBoth << ssBoth << false << TBar{};
    QTest::newRow("not auto-hidden sequenced")
        << true << bmSequenced << ssHorizontal << ssNone << true << TBar{1, 5, 0, 1};
    QTest::newRow("grid mode gets one more than its minimum")
        << true << bmSequenceGrid << ssNone << ssNone << true << TBar{1, 2, 0, 1};
    QTest::newRow("three positions stay")
        << true << bmThreePositions << ssHorizontal << ssNone << true << TBar{0, 4, 0, 0};
    // Only flat bars hide: regular ones stay as the system draws them.
    QTest::newRow("regular bars ignore auto-hiding")
        << false << bmSequenced << ssBoth << ssNone << true << TBar{1, 5, 0, 1};
}

void TestGridScrollBar::barThatCannotHideKeepsARange()
{
    QFETCH(bool, flat);
    QFETCH(TBarMode, mode);
    QFETCH(TScrollStyle, autoHidden);
    QFETCH(TScrollStyle, thumbBar);
    QFETCH(bool, shown);
    QFETCH(TBar, bar);
    std::optional<test::TSystemProfileScope> flatBars;
    if (flat)
        flatBars.emplace(FlatBarsProfile);
    test::TItemsTable items(5);
    if (mode == bmSequence || mode == bmThreePositions)
        items.DropRecordNumbers();
    TOrvoDBGrid grid;
    grid.ScrollProp()->SetAutoHidden(autoHidden);
    grid.ScrollProp()->SetThumbBar(thumbBar);
    if (mode == bmSequenceGrid)
        grid.SetOptionsExt(grid.OptionsExt() + TOrvoDBGridOptionsExt{dgScrollGridMode});
    QVERIFY(test::ShowExposed(grid, 400, 300));
    QCOMPARE(grid.ScrollProp()->FlatScrollBarsInUse(), flat);
    Open(grid, items, mode <= bmSequencePage);
    QVERIFY(grid.DataLink()->BufferCount() > 5);
    QCOMPARE(grid.verticalScrollBar()->isVisible(), shown);
    if (shown)
        QCOMPARE(BarOf(grid), bar);
}

void TestGridScrollBar::inactiveLinkGivesAnInertBar_data()
{
    QTest::addColumn<bool>("flat");
    QTest::addColumn<TScrollStyle>("autoHidden");
    QTest::addColumn<TScrollStyle>("thumbBar");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<int>("page");
    QTest::newRow("flat, fixed thumb") << true << ssHorizontal << ssNone << true << 0;
    QTest::newRow("flat, proportional") << true << ssNone << ssBoth << true << 2;
    QTest::newRow("flat, auto-hidden") << true << ssBoth << ssBoth << false << 0;
    QTest::newRow("regular bars") << false << ssNone << ssBoth << false << 0;
}

void TestGridScrollBar::inactiveLinkGivesAnInertBar()
{
    QFETCH(bool, flat);
    QFETCH(TScrollStyle, autoHidden);
    QFETCH(TScrollStyle, thumbBar);
    QFETCH(bool, shown);
    QFETCH(int, page);
    std::optional<test::TSystemProfileScope> flatBars;
    if (flat)
        flatBars.emplace(FlatBarsProfile);
    test::TItemsTable items;
    TOrvoDBGrid grid;
    grid.ScrollProp()->SetAutoHidden(autoHidden);
    grid.ScrollProp()->SetThumbBar(thumbBar);
    QVERIFY(test::ShowExposed(grid, 400, 300));
    grid.SetDataSource(&items.Source);
    QCOMPARE(grid.verticalScrollBar()->isVisible(), shown);
    if (shown)
        QCOMPARE(BarOf(grid), (TBar{0, 4, page, 0}));

    // A bar that showed records goes back to the inert one when the data goes.
    items.Table.Open();
    items.Table.MoveBy(50);
    items.Table.Close();
    QCOMPARE(grid.verticalScrollBar()->isVisible(), shown);
    if (shown)
        QCOMPARE(BarOf(grid), (TBar{0, 4, page, 0}));
}

void TestGridScrollBar::plainScrollActions_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("thumb");
    QTest::addColumn<QString>("expected");
    // Expected ids: "v" stands for the visible data rows, counted from the start.
    QTest::newRow("line down") << int(QAbstractSlider::SliderSingleStepAdd) << 0 << "v+1";
    QTest::newRow("page down") << int(QAbstractSlider::SliderPageStepAdd) << 0 << "v+4";
    QTest::newRow("bottom") << int(QAbstractSlider::SliderToMaximum) << 0 << "100";
    QTest::newRow("top") << int(QAbstractSlider::SliderToMinimum) << 0 << "1";
    QTest::newRow("thumb in the middle") << int(QAbstractSlider::SliderMove) << 60 << "60";
    QTest::newRow("thumb at the start") << int(QAbstractSlider::SliderMove) << 1 << "1";
    QTest::newRow("thumb at the end") << int(QAbstractSlider::SliderMove) << 100 << "100";
}

void TestGridScrollBar::plainScrollActions()
{
    QFETCH(int, action);
    QFETCH(int, thumb);
    QFETCH(QString, expected);
    test::TItemsTable items;
    TOrvoDBGrid grid;
    QVERIFY(test::ShowExposed(grid, 400, 300));
    Open(grid, items, false);
    const int v = grid.DataLink()->BufferCount();
    items.Table.MoveBy(3);
    QScrollBar* bar = grid.verticalScrollBar();
    if (action == QAbstractSlider::SliderMove)
        bar->setSliderPosition(thumb);
    bar->triggerAction(QAbstractSlider::SliderAction(action));
    const int want = expected.startsWith('v') ? v + expected.mid(2).toInt() : expected.toInt();
    QCOMPARE(items.CurrentId(), want);
    QCOMPARE(bar->value(), items.Table.RecNo());

    // Line up goes to the record above the top row, which then shows it.
    const int top = items.CurrentId() - grid.DataLink()->ActiveRecord();
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(items.CurrentId(), std::max(1, top - 1));
    QCOMPARE(grid.DataLink()->ActiveRecord(), 0);
}

void TestGridScrollBar::sequenceThumbUsesTheSequenceCount()
{
    test::TItemsTable items;
    items.DropRecordNumbers();
    TOrvoDBGrid grid;
    QVERIFY(test::ShowExposed(grid, 400, 300));
    Open(grid, items, true);
    QCOMPARE(grid.SequenceRecordCount(), 100);
    QScrollBar* bar = grid.verticalScrollBar();
    for (int position : {60, 99, 2, 100, 37}) {
        bar->setSliderPosition(position);
        bar->triggerAction(QAbstractSlider::SliderMove);
        QCOMPARE(items.CurrentId(), position);
        QCOMPARE(grid.SequenceRecNo(), position);
        QCOMPARE(bar->value(), position);
    }
}

void TestGridScrollBar::gridModeKeepsTheCurrentRowOnScreen_data()
{
    QTest::addColumn<bool>("pages");
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("thumb");
    QTest::addColumn<QString>("top");
    // Expected top rows: "v" stands for the visible data rows.
    QTest::newRow("line down") << false << int(QAbstractSlider::SliderSingleStepAdd) << 0 << "12";
    QTest::newRow("line up") << false << int(QAbstractSlider::SliderSingleStepSub) << 0 << "10";
    QTest::newRow("page down") << false << int(QAbstractSlider::SliderPageStepAdd) << 0 << "11+v";
    QTest::newRow("page up") << false << int(QAbstractSlider::SliderPageStepSub) << 0 << "11-v";
    QTest::newRow("top") << false << int(QAbstractSlider::SliderToMinimum) << 0 << "1";
    QTest::newRow("bottom") << false << int(QAbstractSlider::SliderToMaximum) << 0 << "101-v";
    QTest::newRow("thumb") << false << int(QAbstractSlider::SliderMove) << 40 << "40";
    QTest::newRow("thumb at the start") << false << int(QAbstractSlider::SliderMove) << 1 << "1";
    QTest::newRow("page mode thumb") << true << int(QAbstractSlider::SliderMove) << 3 << "1+2v";
    QTest::newRow("page mode line down") << true << int(QAbstractSlider::SliderSingleStepAdd) << 0 << "12";
}

void TestGridScrollBar::gridModeKeepsTheCurrentRowOnScreen()
{
    QFETCH(bool, pages);
    QFETCH(int, action);
    QFETCH(int, thumb);
    QFETCH(QString, top);
    test::TItemsTable items;
    items.DropRecordNumbers();
    TOrvoDBGrid grid;
    TOrvoDBGridOptionsExt ext = grid.OptionsExt() + TOrvoDBGridOptionsExt{dgScrollGridMode};
    if (pages)
        ext.Include(dgScrollPageMode);
    grid.SetOptionsExt(ext);
    QVERIFY(test::ShowExposed(grid, 400, 300));
    Open(grid, items, true);
    const int v = grid.DataLink()->BufferCount();
    // Record 14 on the fourth row: the view shows 11 onwards.
    items.Table.MoveBy(10 + v - 1);
    items.Table.MoveBy(4 - v);
    QCOMPARE(items.CurrentId(), 14);
    QCOMPARE(grid.DataLink()->ActiveRecord(), 3);

    QScrollBar* bar = grid.verticalScrollBar();
    if (action == QAbstractSlider::SliderMove)
        bar->setSliderPosition(thumb);
    bar->triggerAction(QAbstractSlider::SliderAction(action));
    int want = 0;
    if (top.endsWith(QLatin1String("2v")))
        want = top.section('+', 0, 0).toInt() + 2 * v;
    else if (top.endsWith(QLatin1String("+v")))
        want = top.section('+', 0, 0).toInt() + v;
    else if (top.endsWith(QLatin1String("-v")))
        want = top.section('-', 0, 0).toInt() - v;
    else
        want = top.toInt();
    want = std::max(1, want);
    QCOMPARE(grid.DataLink()->ActiveRecord(), 3);
    QCOMPARE(items.CurrentId(), want + 3);
    QCOMPARE(grid.SequenceRecNo(), want + 3);
    QCOMPARE(bar->value(), pages ? (want - 1 + v - 1) / v + 1 : want);
}

void TestGridScrollBar::draggingWithoutTrackingLeavesTheDataSet()
{
    test::TItemsTable items;
    TOrvoDBGrid grid;
    QVERIFY(test::ShowExposed(grid, 400, 300));
    Open(grid, items, false);
    QScrollBar* bar = grid.verticalScrollBar();
    bar->setSliderDown(true);
    bar->setSliderPosition(70);
    QCOMPARE(items.CurrentId(), 1);
    QCOMPARE(bar->sliderPosition(), 70);
    // The release moves to where the thumb was let go.
    bar->setSliderDown(false);
    QCOMPARE(items.CurrentId(), 70);
    QCOMPARE(bar->value(), 70);
}

void TestGridScrollBar::sequenceNumberFollowsEveryMove()
{
    test::TItemsTable items;
    items.DropRecordNumbers();
    TOrvoDBGrid grid;
    QVERIFY(test::ShowExposed(grid, 400, 300));
    Open(grid, items, true);
    const int v = grid.DataLink()->BufferCount();
    const auto check = [&] {
        QCOMPARE(grid.SequenceRecNo(), items.CurrentId());
        QCOMPARE(grid.Row(), grid.TitleOffset() + grid.DataLink()->ActiveRecord());
    };
    for (int step : {1, v, 2 * v + 3, -1, -v, -(v + 5), 40, 0, -200, 200, -3}) {
        items.Table.MoveBy(step);
        check();
    }
    // Jumps are changes rather than scrolls: the grid recounts after its update delay.
    const auto jumped = [&] {
        QTRY_COMPARE(grid.SequenceRecNo(), items.CurrentId());
        check();
    };
    items.Table.Locate(QStringLiteral("id"), TVariant(qint64(57)), {});
    jumped();
    items.Table.First();
    jumped();
    items.Table.Last();
    jumped();
}

void TestGridScrollBar::scrolledPixelsMatchAFullRepaint_data()
{
    QTest::addColumn<int>("distance");
    QTest::addColumn<bool>("stripes");
    QTest::addColumn<bool>("footer");
    QTest::newRow("one row") << 1 << false << false;
    QTest::newRow("three rows back") << -3 << false << false;
    QTest::newRow("one row above totals") << 1 << false << true;
    QTest::newRow("stripes") << 2 << true << false;
    QTest::newRow("more than a screen") << 40 << false << false;
}

void TestGridScrollBar::scrolledPixelsMatchAFullRepaint()
{
    QFETCH(int, distance);
    QFETCH(bool, stripes);
    QFETCH(bool, footer);
    test::TItemsTable items;
    TOrvoDBGrid grid;
    if (stripes)
        grid.SetStripeColor(clAqua);
    if (footer)
        grid.SetOptionsEx(grid.OptionsEx() + TOrvoDBGridOptionsEx{dgTotalFooter});
    QVERIFY(test::ShowExposed(grid, 400, 300));
    Open(grid, items, false);
    // The window scrolls by `distance` from the middle of the dataset, with the current
    // record on an edge row so that the buffer must move.
    items.Table.MoveBy(50);
    if (distance > 0)
        items.Table.MoveBy(grid.DataLink()->BufferCount() - 1 - grid.DataLink()->ActiveRecord());
    else
        items.Table.MoveBy(-grid.DataLink()->ActiveRecord());
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QCoreApplication::processEvents();
    QScreen* screen = grid.screen();
    const QImage before = screen->grabWindow(grid.winId()).toImage();
    if (before.isNull())
        QSKIP("The platform cannot read back the window");
    items.Table.MoveBy(distance);
    QCoreApplication::processEvents();
    const QImage onScreen = screen->grabWindow(grid.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage repainted = grid.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(onScreen.size(), repainted.size());
    QVERIFY(onScreen == repainted);
}

void TestGridScrollBar::horizontalBarFollowsAutoHidden_data()
{
    QTest::addColumn<TScrollStyle>("autoHidden");
    QTest::addColumn<TScrollStyle>("thumbBar");
    QTest::addColumn<int>("columnWidth");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<bool>("fixedThumb");
    QTest::newRow("columns fit, auto-hidden") << ssHorizontal << ssBoth << 60 << false << false;
    QTest::newRow("columns fit, kept on") << ssNone << ssBoth << 60 << true << false;
    QTest::newRow("wide columns, auto-hidden") << ssBoth << ssBoth << 300 << true << false;
    QTest::newRow("wide columns, fixed thumb") << ssHorizontal << ssNone << 300 << true << true;
}

void TestGridScrollBar::horizontalBarFollowsAutoHidden()
{
    QFETCH(TScrollStyle, autoHidden);
    QFETCH(TScrollStyle, thumbBar);
    QFETCH(int, columnWidth);
    QFETCH(bool, shown);
    QFETCH(bool, fixedThumb);
    const test::TSystemProfileScope flatBars(FlatBarsProfile);
    test::TItemsTable items;
    TOrvoDBGrid grid;
    grid.ScrollProp()->SetAutoHidden(autoHidden);
    grid.ScrollProp()->SetThumbBar(thumbBar);
    QVERIFY(test::ShowExposed(grid, 400, 300));
    Open(grid, items, false);
    for (int i = 0; i < grid.Columns()->Count(); ++i)
        grid.Columns()->Items(i)->SetWidth(columnWidth);
    QCoreApplication::processEvents();
    QScrollBar* bar = grid.horizontalScrollBar();
    QCOMPARE(bar->isVisible(), shown);
    if (fixedThumb)
        QCOMPARE(bar->pageStep(), 1);
    else if (shown && bar->maximum() > bar->minimum())
        QVERIFY(bar->pageStep() >= 1);

    // Four columns of 150 show two whole ones: a proportional thumb covers two, also after
    // the fixed thumb was on.
    grid.Columns()->SetState(csCustomized);
    for (const char* name : {"id", "name"})
        grid.Columns()->Add()->SetFieldName(QString::fromLatin1(name));
    for (int i = 0; i < grid.Columns()->Count(); ++i)
        grid.Columns()->Items(i)->SetWidth(150);
    grid.ScrollProp()->SetAutoHidden(ssNone);
    grid.ScrollProp()->SetThumbBar(ssBoth);
    QCOMPARE(bar->pageStep(), 2);

    // Without flat bars the bar is the base grid's again: shown only when needed.
    grid.ScrollProp()->SetWinXPMode(true);
    QVERIFY(!grid.ScrollProp()->FlatScrollBarsInUse());
    QCOMPARE(grid.horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
}

void TestGridScrollBar::flatFrame_data()
{
    QTest::addColumn<TFixedStyle>("fixedStyle");
    QTest::addColumn<bool>("lines");
    QTest::addColumn<TColor>("edge");
    QTest::newRow("fine") << fsFine << true << clBtnShadow;
    QTest::newRow("mild") << fsMild << true << clBtnShadow;
    QTest::newRow("soft") << fsSoft << true << cl3DDkShadow;
    QTest::newRow("great") << fsGreat << true << cl3DDkShadow;
    QTest::newRow("gray") << fsGray << true << cl3DDkShadow;
    QTest::newRow("flat draws no frame") << fsFlat << true << clNone;
    QTest::newRow("not without lines") << fsFine << false << clNone;
}

void TestGridScrollBar::flatFrame()
{
    QFETCH(TFixedStyle, fixedStyle);
    QFETCH(bool, lines);
    QFETCH(TColor, edge);
    TOrvoDBGrid grid;
    QPalette palette = grid.palette();
    palette.setColor(QPalette::Dark, QColor(10, 200, 10));
    palette.setColor(QPalette::Shadow, QColor(10, 10, 200));
    palette.setColor(QPalette::WindowText, QColor(200, 10, 10));
    palette.setColor(QPalette::Base, QColor(250, 250, 250));
    palette.setColor(QPalette::Window, QColor(250, 250, 250));
    grid.setPalette(palette);
    grid.SetFixedTheme(ftNone);
    grid.SetFixedStyle(fixedStyle);
    grid.SetCtl3D(false);
    if (!lines)
        grid.SetOptions(grid.Options() - TOrvoDBGridOptions{dgRowLines});
    QVERIFY(test::ShowExposed(grid, 200, 150));
    const QImage image = grid.grab().toImage();
    const QColor framed = edge == clNone ? QColor() : ToQColor(edge, grid.palette());
    const QList<QPoint> edges{{0, 75}, {100, 0}, {199, 75}, {100, 149}};
    for (const QPoint& point : edges) {
        const QColor pixel = image.pixelColor(point);
        // Without the flat frame the plain one-pixel box shows.
        QCOMPARE(pixel.name(), edge == clNone ? palette.color(QPalette::WindowText).name() : framed.name());
    }
}

QTEST_MAIN(TestGridScrollBar)
#include "tst_grid_scrollbar.moc"
