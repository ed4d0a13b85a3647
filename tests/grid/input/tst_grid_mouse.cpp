// The mouse buttons on a shown grid: presses move the record with the cell, title clicks
// need press and release on the same title and advance the sort markers, check boxes
// toggle as their column asks, parent columns fold from their title's arrow, and a title
// dragged past the threshold moves its column instead of clicking.

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvocolumntitle.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/filter/torvodbgridfilter.h"
#include "grid/input/tkeygrid.h"
#include "grid/painting/torvogridstyle.h"
#include "grid/selection/torvobookmarklist.h"
#include "platform/data/tdataset.h"
#include "platform/gridbase/tinplaceedit.h"

#include <QDrag>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QMenu>
#include <QMimeData>
#include <QTimer>

#include <stdexcept>

using namespace orvo;
using namespace orvo::test;

namespace {

constexpr int IdCol = 1; // grid columns: the indicator, then id, name, price
constexpr int NameCol = 2;
constexpr int PriceCol = 3;

/// The grid row that shows record `id` while the first records are in view.
int RowOfId(const TKeyGrid& f, int id)
{
    return f.Grid.FixedRows() + id - 1;
}

QPoint CellCenter(const TKeyGrid& f, int col, int row)
{
    return f.Grid.CellRect(col, row).center();
}

/// A point on the title of grid column `col`, clear of its edges and of any drop-down part.
QPoint TitlePoint(const TKeyGrid& f, int col)
{
    const QRect rect = f.Grid.CellRect(col, 0);
    return QPoint(rect.left() + 8, rect.center().y());
}

void Click(TKeyGrid& f, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::mouseClick(f.Grid.viewport(), Qt::LeftButton, modifiers, at);
}

/// Press at `from`, move and release at `to`.
void Drag(TKeyGrid& f, QPoint from, QPoint to)
{
    QWidget* viewport = f.Grid.viewport();
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, from);
    QMouseEvent move(QEvent::MouseMove, to, viewport->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, to);
}

TOrvoColumnTitle* TitleOf(const TKeyGrid& f, int dataCol)
{
    return f.Grid.Columns()->Items(dataCol)->Title();
}

} // namespace

class TestGridMouse : public QObject
{
    Q_OBJECT

private slots:
    void aPressMovesTheRecordWithTheCell_data();
    void aPressMovesTheRecordWithTheCell();
    void clicksOnDataRowsReportTheirColumn();
    void aTitleClickNeedsPressAndReleaseOnOneTitle_data();
    void aTitleClickNeedsPressAndReleaseOnOneTitle();
    void titleClicksAdvanceTheMarkers_data();
    void titleClicksAdvanceTheMarkers();
    void checkBoxesToggleAsTheirColumnAsks_data();
    void checkBoxesToggleAsTheirColumnAsks();
    void aParentColumnFoldsFromItsTitleArrow();
    void aTitleDraggedPastTheThresholdMovesItsColumn();
    void clicksSelectRecords_data();
    void clicksSelectRecords();
    void draggingPastTheBottomScrollsByTheTimerLaw_data();
    void draggingPastTheBottomScrollsByTheTimerLaw();
    void theEditorHearsWhichCellsWereEntered();
    void aSizingEdgeFitsTheColumn_data();
    void aSizingEdgeFitsTheColumn();
    void aRefusedColumnMoveSnapsBack_data();
    void aRefusedColumnMoveSnapsBack();
    void onlyAColumnsOwnTitleSizesIt();
    void aDraggedColumnStaysAmongItsSiblings_data();
    void aDraggedColumnStaysAmongItsSiblings();
    void aTitleUnderTheMouseIsDrawnHot();
    void aClickOnTheCurrentCellOpensItsEditor_data();
    void aClickOnTheCurrentCellOpensItsEditor();
    void titlesSelectRangesOfColumns();
    void draggingOverRecordsSelectsThosePassed();
    void fillerClicksFollowTheFillerIndex();
    void aTitleThatIsNoButtonTakesNoClick();
    void theRightButtonMovesColumnsWithRightMoving();
    void mouseTrackingMakesTheCellUnderTheMouseCurrent();
    void draggingRowsCarriesTheSelectedBookmarks();
    void expandBoxesTakeTheClicksTheirColumnAsks_data();
    void expandBoxesTakeTheClicksTheirColumnAsks();
    void selectedColumnsFollowAMove();
};

void TestGridMouse::aPressMovesTheRecordWithTheCell_data()
{
    QTest::addColumn<int>("frozen");
    QTest::addColumn<int>("pressedCol");
    QTest::addColumn<int>("expectedCol");
    QTest::newRow("scrollable column") << 0 << PriceCol << PriceCol;
    QTest::newRow("indicator: record only") << 0 << 0 << NameCol;
    QTest::newRow("frozen column: record only") << 1 << IdCol << NameCol;
    QTest::newRow("right of a frozen column") << 1 << PriceCol << PriceCol;
}

void TestGridMouse::aPressMovesTheRecordWithTheCell()
{
    QFETCH(int, frozen);
    QFETCH(int, pressedCol);
    QFETCH(int, expectedCol);
    TKeyGrid f;
    f.Grid.SetFixedCols(frozen);
    QVERIFY(f.Show());
    f.Grid.SetCol(NameCol);
    QCOMPARE(f.Grid.Col(), NameCol);
    QTest::mousePress(f.Grid.viewport(), Qt::LeftButton, Qt::NoModifier,
                      CellCenter(f, pressedCol, RowOfId(f, 4)));
    QCOMPARE(f.CurrentId(), 4);
    QCOMPARE(f.Grid.Col(), expectedCol);
    QVERIFY(f.InStep());
    QTest::mouseRelease(f.Grid.viewport(), Qt::LeftButton, Qt::NoModifier,
                        CellCenter(f, pressedCol, RowOfId(f, 4)));
    QCOMPARE(f.CurrentId(), 4);
}

void TestGridMouse::clicksOnDataRowsReportTheirColumn()
{
    TKeyGrid f;
    QList<TOrvoColumn*> cells;
    int indicatorClicks = 0;
    f.Grid.OnCellClick = [&](TOrvoColumn* column) { cells << column; };
    f.Grid.OnIndicatorClick = [&](QObject*) { ++indicatorClicks; };
    QVERIFY(f.Show());
    Click(f, CellCenter(f, 0, RowOfId(f, 5)));
    QCOMPARE(indicatorClicks, 1);
    QVERIFY(cells.isEmpty());
    QCOMPARE(f.CurrentId(), 5);
    Click(f, CellCenter(f, NameCol, RowOfId(f, 2)));
    QCOMPARE(cells, QList<TOrvoColumn*>{f.Grid.Columns()->Items(1)});
    QCOMPARE(indicatorClicks, 1);
    QCOMPARE(f.CurrentId(), 2);
}

void TestGridMouse::aTitleClickNeedsPressAndReleaseOnOneTitle_data()
{
    QTest::addColumn<bool>("columnMoving");
    QTest::addColumn<bool>("titleButtons");
    QTest::newRow("defaults: the drag moves the column") << true << true;
    QTest::newRow("columns stay in place") << false << true;
    QTest::newRow("without title buttons") << true << false;
}

void TestGridMouse::aTitleClickNeedsPressAndReleaseOnOneTitle()
{
    QFETCH(bool, columnMoving);
    QFETCH(bool, titleButtons);
    TKeyGrid f({}, titleButtons ? TOrvoDBGridOptions{} : TOrvoDBGridOptions{dgTitleButtons});
    if (!columnMoving)
        f.Grid.SetResizeOptions(f.Grid.ResizeOptions() - roColumnMoving);
    QList<TOrvoColumn*> clicked;
    int orderChanges = 0;
    f.Grid.OnTitleClick = [&](TOrvoColumn* column) { clicked << column; };
    f.Grid.OnOrderChanged = [&](QObject*) { ++orderChanges; };
    QVERIFY(f.Show());

    TOrvoColumn* id = f.Grid.Columns()->Items(0);
    Drag(f, TitlePoint(f, IdCol), TitlePoint(f, NameCol) + QPoint(10, 0));
    QVERIFY(clicked.isEmpty());
    QCOMPARE(id->Title()->Marker(), tmNone);
    QCOMPARE(orderChanges, 0);
    QCOMPARE(id->Index(), columnMoving ? 1 : 0);

    Click(f, TitlePoint(f, PriceCol));
    TOrvoColumn* price = f.Grid.Columns()->Items(2);
    QCOMPARE(clicked, QList<TOrvoColumn*>{price});
    QCOMPARE(price->Title()->Marker(), tmAscend);
    // The grid does not reorder the dataset itself here: the host hears of the new order.
    QCOMPARE(orderChanges, 1);
    QCOMPARE(f.CurrentId(), 1);
}

void TestGridMouse::titleClicksAdvanceTheMarkers_data()
{
    QTest::addColumn<bool>("ascendOnly");
    QTest::addColumn<QList<int>>("clicks");  // grid columns; negative: with Ctrl held
    QTest::addColumn<QList<int>>("markers"); // TMarker of id, name, price
    const int a = tmAscend;
    const int d = tmDescend;
    const int n = tmNone;
    QTest::newRow("one click ascends") << false << QList<int>{IdCol} << QList<int>{a, n, n};
    QTest::newRow("a second click descends") << false << QList<int>{IdCol, IdCol} << QList<int>{d, n, n};
    QTest::newRow("a third click ascends again")
        << false << QList<int>{IdCol, IdCol, IdCol} << QList<int>{a, n, n};
    QTest::newRow("ascend only stays ascending") << true << QList<int>{IdCol, IdCol} << QList<int>{a, n, n};
    QTest::newRow("another title takes the marker")
        << false << QList<int>{IdCol, NameCol} << QList<int>{n, a, n};
    QTest::newRow("ctrl adds a second marker") << false << QList<int>{IdCol, -NameCol} << QList<int>{a, a, n};
    QTest::newRow("ctrl on a marked title descends it")
        << false << QList<int>{IdCol, -NameCol, -NameCol} << QList<int>{a, d, n};
}

void TestGridMouse::titleClicksAdvanceTheMarkers()
{
    QFETCH(bool, ascendOnly);
    QFETCH(QList<int>, clicks);
    QFETCH(QList<int>, markers);
    TKeyGrid f(ascendOnly ? TOrvoDBGridOptions{dgMarkerAscendOnly} : TOrvoDBGridOptions{});
    QVERIFY(f.Show());
    for (const int col : clicks)
        Click(f, TitlePoint(f, std::abs(col)), col < 0 ? Qt::ControlModifier : Qt::NoModifier);
    for (int i = 0; i < markers.size(); ++i)
        QCOMPARE(int(TitleOf(f, i)->Marker()), markers.at(i));
    QList<int> numbers;
    for (int i = 0; i < markers.size(); ++i)
        numbers << TitleOf(f, i)->OrderIndex();
    // Numbered markers follow the order of the clicks.
    if (clicks.size() > 1 && clicks.at(1) < 0)
        QCOMPARE(numbers, (QList<int>{1, 2, -1}));
}

void TestGridMouse::checkBoxesToggleAsTheirColumnAsks_data()
{
    QTest::addColumn<int>("toggle");
    QTest::addColumn<bool>("startOnCell"); // the cell is current before the click
    QTest::addColumn<bool>("releaseElsewhere");
    QTest::addColumn<bool>("toggled");
    QTest::newRow("on cell click") << int(ctOnCellClick) << false << false << true;
    QTest::newRow("select click, cell not current") << int(ctSelectClick) << false << false << false;
    QTest::newRow("select click, cell current") << int(ctSelectClick) << true << false << true;
    QTest::newRow("released on another cell") << int(ctOnCellClick) << true << true << false;
    QTest::newRow("key press only") << int(ctKeyPressOnly) << true << false << false;
}

void TestGridMouse::checkBoxesToggleAsTheirColumnAsks()
{
    QFETCH(int, toggle);
    QFETCH(bool, startOnCell);
    QFETCH(bool, releaseElsewhere);
    QFETCH(bool, toggled);
    TKeyGrid f;
    QVERIFY(f.Show());
    f.Grid.Columns()->SetState(csCustomized);
    TOrvoColumn* name = f.Grid.Columns()->Items(1);
    name->SetCheckBox(true);
    name->SetCheckBoxValues(QStringLiteral("Yes;No"));
    name->SetCheckBoxToggle(TCheckBoxToggle(toggle));
    int cellClicks = 0;
    f.Grid.OnCellClick = [&](TOrvoColumn*) { ++cellClicks; };
    if (startOnCell) {
        f.Items.Table.MoveBy(2);
        f.Grid.SetCol(NameCol);
    }
    const QPoint cell = CellCenter(f, NameCol, RowOfId(f, 3));
    if (releaseElsewhere)
        Drag(f, cell, CellCenter(f, NameCol, RowOfId(f, 4)));
    else
        Click(f, cell);
    if (f.Items.Table.State() != dsBrowse)
        f.Items.Table.Post();
    QCOMPARE(f.ChangedRows(), toggled ? QStringList{QStringLiteral("3:Yes")} : QStringList());
    QCOMPARE(cellClicks, releaseElsewhere ? 0 : 1);
}

void TestGridMouse::aParentColumnFoldsFromItsTitleArrow()
{
    TKeyGrid f;
    f.Grid.Columns()->SetState(csCustomized);
    TOrvoColumn* group = f.Grid.Columns()->Items(0);
    group->SetExpandCols(1);
    group->SetExpanded(true);
    int expandClicks = 0;
    f.Grid.OnExpandClick = [&](TOrvoColumn*) { ++expandClicks; };
    QVERIFY(f.Show());
    // The unfolded parent keeps an empty grid column of its own; its title stands above
    // its sub-column, the arrow at the trailing edge, where the sub-column's sizing edge
    // does not reach up into the parent's title.
    const QRect over = f.Grid.CellRect(NameCol, 0);
    const QPoint arrow(over.right() - 2, over.center().y());
    QList<TOrvoColumn*> clicked;
    f.Grid.OnTitleClick = [&](TOrvoColumn* column) { clicked << column; };
    Click(f, arrow);
    QVERIFY(!group->Expanded());
    QVERIFY(clicked.isEmpty());
    QCOMPARE(expandClicks, 0);
    const QRect folded = f.Grid.CellRect(IdCol, 0);
    Click(f, QPoint(folded.right() - 6, folded.center().y()));
    QVERIFY(group->Expanded());
}

void TestGridMouse::aTitleDraggedPastTheThresholdMovesItsColumn()
{
    TKeyGrid f;
    f.Grid.Columns()->SetState(csCustomized);
    QList<TOrvoColumn*> clicked;
    f.Grid.OnTitleClick = [&](TOrvoColumn* column) { clicked << column; };
    QVERIFY(f.Show());
    TOrvoColumn* id = f.Grid.Columns()->Items(0);
    const QPoint from = TitlePoint(f, IdCol);
    const int within = QApplication::startDragDistance();
    Drag(f, from, from + QPoint(within, 0));
    QCOMPARE(clicked, QList<TOrvoColumn*>{id});
    QCOMPARE(id->Index(), 0);

    clicked.clear();
    Drag(f, from, TitlePoint(f, PriceCol) + QPoint(10, 0));
    QVERIFY(clicked.isEmpty());
    QCOMPARE(id->Index(), 2);
}

void TestGridMouse::clicksSelectRecords_data()
{
    QTest::addColumn<bool>("extended");
    QTest::addColumn<bool>("clickSelectOff");
    QTest::addColumn<QStringList>("clicks"); // modifiers ("s", "c", "a", "sa", "ca" or "-") and an id
    QTest::addColumn<QList<int>>("selected");
    const auto clicks = [](const char* text) { return QString::fromLatin1(text).split(QLatin1Char(' ')); };
    QTest::newRow("a plain click selects its record") << false << false << clicks("-3") << QList<int>{3};
    QTest::newRow("another plain click starts anew") << false << false << clicks("-3 -5") << QList<int>{5};
    QTest::newRow("shift extends from the record before")
        << false << false << clicks("-3 s6") << QList<int>{3, 4, 5, 6};
    QTest::newRow("shift first: the range starts at the current record")
        << false << false << clicks("s4") << QList<int>{1, 2, 3, 4};
    QTest::newRow("shift upwards") << false << false << clicks("-6 s4") << QList<int>{4, 5, 6};
    QTest::newRow("shift again moves the range's end")
        << false << false << clicks("-3 s6 s4") << QList<int>{3, 4};
    QTest::newRow("ctrl adds and takes away") << false << false << clicks("-3 c5 c7 c3") << QList<int>{5, 7};
    QTest::newRow("click select off: a click only anchors") << false << true << clicks("-3") << QList<int>{};
    QTest::newRow("click select off: shift selects the range")
        << false << true << clicks("-3 s5") << QList<int>{3, 4, 5};
    QTest::newRow("extended: alt unselects all") << true << false << clicks("-3 s5 a8") << QList<int>{};
    QTest::newRow("extended: ctrl alt inverts") << true << false << clicks("-2 ca9") << QList<int>([] {
        QList<int> all;
        for (int id = 1; id <= TKeyGrid::ItemCount; ++id)
            if (id != 2)
                all << id;
        return all;
    }());
    QTest::newRow("without extended alt is a plain click")
        << false << false << clicks("-3 a8") << QList<int>{8};
}

void TestGridMouse::clicksSelectRecords()
{
    QFETCH(bool, extended);
    QFETCH(bool, clickSelectOff);
    QFETCH(QStringList, clicks);
    QFETCH(QList<int>, selected);
    // Extended selection is on by default.
    TKeyGrid f({dgMultiSelect}, extended ? TOrvoDBGridOptions{} : TOrvoDBGridOptions{dgExtendedSelect});
    if (clickSelectOff)
        f.Grid.SetOptionsEx(f.Grid.OptionsEx() + dgClickSelectOff);
    QVERIFY(f.Show());
    for (const QString& click : clicks) {
        Qt::KeyboardModifiers modifiers;
        int at = 0;
        for (; at < click.size() && !click.at(at).isDigit(); ++at) {
            if (click.at(at) == QLatin1Char('s'))
                modifiers |= Qt::ShiftModifier;
            else if (click.at(at) == QLatin1Char('c'))
                modifiers |= Qt::ControlModifier;
            else if (click.at(at) == QLatin1Char('a'))
                modifiers |= Qt::AltModifier;
        }
        Click(f, CellCenter(f, NameCol, RowOfId(f, click.mid(at).toInt())), modifiers);
    }
    QList<int> ids;
    f.Items.Table.First();
    for (int id = 1; id <= TKeyGrid::ItemCount; ++id, f.Items.Table.MoveBy(1))
        if (f.Grid.SelectedRows()->CurrentRowSelected())
            ids << id;
    QCOMPARE(ids, selected);
}

void TestGridMouse::draggingPastTheBottomScrollsByTheTimerLaw_data()
{
    QTest::addColumn<int>("distance"); // pixels below the data rows
    QTest::addColumn<int>("records");  // moved by each step
    QTest::addColumn<bool>("slow");    // steps 185 ms apart rather than 20 or 5
    QTest::newRow("one pixel out") << 1 << 1 << true;
    QTest::newRow("twelve pixels out") << 12 << 3 << false;
    QTest::newRow("far out") << 30 << 7 << false;
}

void TestGridMouse::draggingPastTheBottomScrollsByTheTimerLaw()
{
    QFETCH(int, distance);
    QFETCH(int, records);
    QFETCH(bool, slow);
    TKeyGrid f;
    QVERIFY(f.Show());
    QWidget* viewport = f.Grid.viewport();
    const QPoint press = CellCenter(f, NameCol, RowOfId(f, 2));
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, press);
    QCOMPARE(f.CurrentId(), 2);
    const QPoint out(press.x(), viewport->height() + distance - 1);
    QMouseEvent move(QEvent::MouseMove, out, viewport->mapToGlobal(out), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QCOMPARE(f.CurrentId(), 2 + records);
    QElapsedTimer clock;
    clock.start();
    QTRY_VERIFY_WITH_TIMEOUT(f.CurrentId() >= 2 + 2 * records, 2000);
    QCOMPARE(clock.elapsed() >= 150, slow);
    if (slow)
        QCOMPARE(f.CurrentId(), 2 + 2 * records);
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, out);
    const int released = f.CurrentId();
    QTest::qWait(400);
    QCOMPARE(f.CurrentId(), released);
    QVERIFY(f.InStep());
}

void TestGridMouse::theEditorHearsWhichCellsWereEntered()
{
    TKeyGrid f;
    f.Grid.SetResizeOptions(f.Grid.ResizeOptions() - roColumnMoving);
    QVERIFY(f.Show());
    QVERIFY(f.Grid.CellEntered());
    QVERIFY(!f.Grid.CellEntered()); // asked again for the same cell

    // A click on the cell that is current already enters it anew.
    Click(f, CellCenter(f, f.Grid.Col(), f.Grid.Row()));
    QVERIFY(f.Grid.CellEntered());
    QVERIFY(!f.Grid.CellEntered());

    // A key that moves the cell enters the new one.
    TKeyGrid::Key(Qt::Key_Down);
    QCOMPARE(f.CurrentId(), 2);
    QVERIFY(f.Grid.CellEntered());

    // A click elsewhere takes the cell the keys reached as known, and enters nothing.
    TKeyGrid::Key(Qt::Key_Down);
    Click(f, TitlePoint(f, PriceCol));
    QVERIFY(!f.Grid.CellEntered());

    // While a press is held, the editor's question waits for its release.
    QTest::mousePress(f.Grid.viewport(), Qt::LeftButton, Qt::NoModifier, TitlePoint(f, PriceCol));
    TKeyGrid::Key(Qt::Key_Down);
    QVERIFY(!f.Grid.CellEntered());
    QTest::mouseRelease(f.Grid.viewport(), Qt::LeftButton, Qt::NoModifier, TitlePoint(f, PriceCol));
    QVERIFY(!f.Grid.CellEntered());
}

void TestGridMouse::aSizingEdgeFitsTheColumn_data()
{
    QTest::addColumn<bool>("middleButton");
    QTest::addColumn<bool>("optionOn");
    QTest::addColumn<bool>("titlesCount");
    QTest::addColumn<QString>("expected"); // "texts", "caption", "default", "margin" or "unchanged"
    QTest::newRow("double click: widest text") << false << true << false << QStringLiteral("texts");
    QTest::newRow("double click: the image margin counts")
        << false << true << false << QStringLiteral("margin");
    QTest::newRow("double click: the caption counts") << false << true << true << QStringLiteral("caption");
    QTest::newRow("double click, option off") << false << false << false << QStringLiteral("unchanged");
    QTest::newRow("middle button: default width") << true << true << false << QStringLiteral("default");
    QTest::newRow("middle button, option off") << true << false << false << QStringLiteral("unchanged");
}

void TestGridMouse::aSizingEdgeFitsTheColumn()
{
    QFETCH(bool, middleButton);
    QFETCH(bool, optionOn);
    QFETCH(bool, titlesCount);
    QFETCH(QString, expected);
    TKeyGrid f({}, titlesCount ? TOrvoDBGridOptions{dgTitleWidthOff} : TOrvoDBGridOptions{});
    const TOrvoResizeOption option = middleButton ? roDefaultWidth : roOptimalWidth;
    f.Grid.SetResizeOptions(optionOn ? f.Grid.ResizeOptions() + option : f.Grid.ResizeOptions() - option);
    f.Grid.Columns()->SetState(csCustomized);
    TOrvoColumn* name = f.Grid.Columns()->Items(1);
    name->Title()->SetCaption(QStringLiteral("A caption wider than any of the names"));
    name->SetWidthBase(150);
    constexpr int margin = 12;
    if (expected == QLatin1String("margin"))
        name->SetImageMargin(margin);
    QVERIFY(f.Show());
    const QFontMetrics texts(name->Font().ToQFont());
    int widest = 0;
    for (int id = 1; id <= f.Visible(); ++id)
        widest = std::max(widest, texts.horizontalAdvance(QStringLiteral("Item %1").arg(id)) + 4);
    const int caption =
        QFontMetrics(name->Title()->Font().ToQFont()).horizontalAdvance(name->Title()->Caption()) +
        2 * f.Grid.GridStyle()->TitleColMargin() + 4;
    const QRect title = f.Grid.CellRect(NameCol, 0);
    const QPoint edge(title.right() + 1, title.center().y());
    if (middleButton)
        QTest::mouseClick(f.Grid.viewport(), Qt::MiddleButton, Qt::NoModifier, edge);
    else
        QTest::mouseDClick(f.Grid.viewport(), Qt::LeftButton, Qt::NoModifier, edge);
    const QMap<QString, int> widths{{QStringLiteral("texts"), widest},
                                    {QStringLiteral("caption"), caption},
                                    {QStringLiteral("default"), name->DefaultWidth()},
                                    {QStringLiteral("margin"), widest - 4 + margin + 5},
                                    {QStringLiteral("unchanged"), 150}};
    QVERIFY(caption > widest && name->DefaultWidth() != 150 && widest != 150);
    QCOMPARE(name->WidthBase(), widths.value(expected));
}

void TestGridMouse::aRefusedColumnMoveSnapsBack_data()
{
    QTest::addColumn<QString>("answer");
    QTest::newRow("accepted") << QStringLiteral("accept");
    QTest::newRow("refused") << QStringLiteral("refuse");
    QTest::newRow("handler raises") << QStringLiteral("raise");
}

void TestGridMouse::aRefusedColumnMoveSnapsBack()
{
    QFETCH(QString, answer);
    TKeyGrid f;
    f.Grid.Columns()->SetState(csCustomized);
    QList<QPoint> asked;
    QList<QPoint> moved;
    f.Grid.OnColumnMoving = [&](QObject*, int from, int to, bool& accept) {
        asked << QPoint(from, to);
        if (answer == QLatin1String("raise"))
            throw std::runtime_error("no moving today");
        accept = answer == QLatin1String("accept");
    };
    f.Grid.OnColumnMoved = [&](QObject*, int from, int to) { moved << QPoint(from, to); };
    QVERIFY(f.Show());
    TOrvoColumn* id = f.Grid.Columns()->Items(0);
    const auto widths = [&f] {
        return QList<int>{f.Grid.ColWidths(IdCol), f.Grid.ColWidths(NameCol), f.Grid.ColWidths(PriceCol)};
    };
    const QList<int> before = widths();
    Drag(f, TitlePoint(f, IdCol), TitlePoint(f, PriceCol) + QPoint(10, 0));
    QCOMPARE(asked, QList<QPoint>{QPoint(0, 2)});
    const bool accepted = answer == QLatin1String("accept");
    QCOMPARE(moved, accepted ? QList<QPoint>{QPoint(0, 2)} : QList<QPoint>());
    QCOMPARE(id->Index(), accepted ? 2 : 0);
    // The grid's cells went back with the column: each keeps the width of its column.
    if (!accepted)
        QCOMPARE(widths(), before);
}

namespace {

/// Gives `name` the price as its only sub-column: grid columns id, name (the group's own,
/// empty while unfolded) and price, under two title rows.
TOrvoColumn* GroupNameOverPrice(TKeyGrid& f)
{
    f.Grid.Columns()->SetState(csCustomized);
    TOrvoColumn* group = f.Grid.Columns()->Items(1);
    group->SetExpandCols(1);
    group->SetExpanded(true);
    return group;
}

/// The point on the right edge of grid column `col` in grid row `row`.
QPoint RightEdge(const TKeyGrid& f, int col, int row)
{
    const QRect rect = f.Grid.CellRect(col, row);
    return QPoint(rect.right() + 1, rect.center().y());
}

bool SizingCursorAt(TKeyGrid& f, QPoint at)
{
    QTest::mouseMove(f.Grid.viewport(), at - QPoint(10, 0));
    QTest::mouseMove(f.Grid.viewport(), at);
    return f.Grid.viewport()->cursor().shape() == Qt::SplitHCursor;
}

} // namespace

void TestGridMouse::onlyAColumnsOwnTitleSizesIt()
{
    TKeyGrid f;
    GroupNameOverPrice(f);
    QVERIFY(f.Show());
    QCOMPARE(f.Grid.TitleOffset(), 2);
    // Over the group's merged title the edge is the group's, which does not size.
    QVERIFY(!SizingCursorAt(f, RightEdge(f, PriceCol, 0)));
    QVERIFY(SizingCursorAt(f, RightEdge(f, PriceCol, 1)));
    QVERIFY(SizingCursorAt(f, RightEdge(f, IdCol, 0)));
    f.Grid.SetResizeOptions(f.Grid.ResizeOptions() - roColumnResize);
    QVERIFY(!SizingCursorAt(f, RightEdge(f, IdCol, 0)));
}

void TestGridMouse::aDraggedColumnStaysAmongItsSiblings_data()
{
    QTest::addColumn<int>("fromCol");
    QTest::addColumn<int>("fromRow");
    QTest::addColumn<int>("toCol");
    QTest::addColumn<int>("toRow");
    QTest::addColumn<QStringList>("order");
    const QStringList unchanged{"id", "name", "price"};
    QTest::newRow("past a group: after its whole sub-tree")
        << IdCol << 0 << PriceCol << 1 << QStringList{"name", "price", "id"};
    QTest::newRow("a group's merged title moves the group")
        << PriceCol << 0 << IdCol << 0 << QStringList{"name", "price", "id"};
    QTest::newRow("a sub-column stays in its group") << PriceCol << 1 << IdCol << 0 << unchanged;
}

void TestGridMouse::aDraggedColumnStaysAmongItsSiblings()
{
    QFETCH(int, fromCol);
    QFETCH(int, fromRow);
    QFETCH(int, toCol);
    QFETCH(int, toRow);
    QFETCH(QStringList, order);
    TKeyGrid f;
    GroupNameOverPrice(f);
    QVERIFY(f.Show());
    const auto pointIn = [&f](int col, int row) {
        const QRect rect = f.Grid.CellRect(col, row);
        return QPoint(rect.left() + 8, rect.center().y());
    };
    Drag(f, pointIn(fromCol, fromRow), pointIn(toCol, toRow));
    QStringList names;
    for (int i = 0; i < f.Grid.Columns()->Count(); ++i)
        names << f.Grid.Columns()->Items(i)->FieldName();
    QCOMPARE(names, order);
}

void TestGridMouse::aTitleUnderTheMouseIsDrawnHot()
{
    TKeyGrid f;
    QVERIFY(f.Show());
    QWidget* viewport = f.Grid.viewport();
    const QRect title = f.Grid.CellRect(NameCol, 0);
    const auto looks = [&] {
        QApplication::processEvents();
        return viewport->grab(title).toImage();
    };
    const QPoint away = CellCenter(f, PriceCol, RowOfId(f, 3));
    QTest::mouseMove(viewport, away);
    const QImage normal = looks();
    QTest::mouseMove(viewport, TitlePoint(f, NameCol));
    QVERIFY(looks() != normal);
    // The sizing edge of a title is never hot.
    QTest::mouseMove(viewport, QPoint(title.right() + 1, title.center().y()));
    QCOMPARE(looks(), normal);
    QTest::mouseMove(viewport, away);
    QCOMPARE(looks(), normal);
    // A title that does not act as a button stays as it is.
    TitleOf(f, 1)->SetButton(false);
    QTest::mouseMove(viewport, TitlePoint(f, NameCol));
    QCOMPARE(looks(), normal);
}

void TestGridMouse::aClickOnTheCurrentCellOpensItsEditor_data()
{
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("onCurrent");
    QTest::addColumn<bool>("opens");
    QTest::newRow("a click on the current cell") << int(Qt::NoModifier) << true << true;
    QTest::newRow("a click that moves the cell") << int(Qt::NoModifier) << false << false;
    QTest::newRow("shift selects instead") << int(Qt::ShiftModifier) << true << false;
    QTest::newRow("ctrl selects instead") << int(Qt::ControlModifier) << true << false;
}

void TestGridMouse::aClickOnTheCurrentCellOpensItsEditor()
{
    QFETCH(int, modifiers);
    QFETCH(bool, onCurrent);
    QFETCH(bool, opens);
    TKeyGrid f;
    QVERIFY(f.Show());
    f.Grid.SetCol(NameCol);
    const int id = onCurrent ? f.CurrentId() : f.CurrentId() + 2;
    Click(f, CellCenter(f, NameCol, RowOfId(f, id)), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(f.CurrentId(), id);
    QCOMPARE(f.Grid.EditorMode(), opens);
    if (opens)
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f.Grid.InplaceEditor()));
}

namespace {

QList<int> SelectedColumns(const TKeyGrid& f)
{
    QList<int> columns;
    for (int i = 0; i < f.Grid.Columns()->Count(); ++i)
        if (f.Grid.HasSelectedCols() && f.Grid.ColumnInSelection(i))
            columns << i;
    return columns;
}

QList<int> SelectedIds(TKeyGrid& f)
{
    QList<int> ids;
    const QString current = f.Items.Table.Bookmark();
    f.Items.Table.First();
    for (int id = 1; id <= TKeyGrid::ItemCount; ++id, f.Items.Table.MoveBy(1))
        if (f.Grid.SelectedRows()->CurrentRowSelected())
            ids << id;
    f.Items.Table.SetBookmark(current);
    return ids;
}

/// Moves the mouse with `buttons` held through each of `points`.
void MoveThrough(QWidget* viewport, const QList<QPoint>& points, Qt::MouseButtons buttons = Qt::LeftButton)
{
    for (const QPoint& to : points) {
        QMouseEvent move(QEvent::MouseMove, to, viewport->mapToGlobal(to), Qt::NoButton, buttons,
                         Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
    }
}

} // namespace

void TestGridMouse::titlesSelectRangesOfColumns()
{
    TKeyGrid f({dgMultiSelect});
    f.Grid.SetMultiSelectOptions({msRows, msCols});
    QList<TOrvoColumn*> clicked;
    f.Grid.OnTitleClick = [&](TOrvoColumn* column) { clicked << column; };
    QVERIFY(f.Show());
    Click(f, TitlePoint(f, NameCol), Qt::ShiftModifier);
    QCOMPARE(SelectedColumns(f), QList<int>{1});
    Click(f, TitlePoint(f, PriceCol), Qt::ShiftModifier);
    QCOMPARE(SelectedColumns(f), (QList<int>{1, 2}));
    Click(f, TitlePoint(f, IdCol), Qt::ShiftModifier);
    QCOMPARE(SelectedColumns(f), (QList<int>{0, 1}));
    QVERIFY(clicked.isEmpty());

    // Where titles do not move columns, a title dragged sideways selects those passed.
    f.Grid.SetResizeOptions(f.Grid.ResizeOptions() - roColumnMoving);
    f.Grid.ClearSelection();
    QWidget* viewport = f.Grid.viewport();
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, TitlePoint(f, NameCol));
    MoveThrough(viewport, {TitlePoint(f, NameCol) + QPoint(QApplication::startDragDistance() + 2, 0),
                           TitlePoint(f, PriceCol)});
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, TitlePoint(f, PriceCol));
    QCOMPARE(SelectedColumns(f), (QList<int>{1, 2}));
    QVERIFY(clicked.isEmpty());
    QCOMPARE(f.Grid.Columns()->Items(1)->FieldName(), QStringLiteral("name"));
}

void TestGridMouse::draggingOverRecordsSelectsThosePassed()
{
    TKeyGrid f({dgMultiSelect});
    QVERIFY(f.Show());
    QWidget* viewport = f.Grid.viewport();
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, CellCenter(f, NameCol, RowOfId(f, 2)));
    MoveThrough(viewport, {CellCenter(f, NameCol, RowOfId(f, 3)), CellCenter(f, NameCol, RowOfId(f, 6))});
    QCOMPARE(SelectedIds(f), (QList<int>{2, 3, 4, 5, 6}));
    // Back towards where the drag began, the records left behind leave the range.
    MoveThrough(viewport, {CellCenter(f, NameCol, RowOfId(f, 4))});
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, CellCenter(f, NameCol, RowOfId(f, 4)));
    QCOMPARE(SelectedIds(f), (QList<int>{2, 3, 4}));
    QCOMPARE(f.CurrentId(), 4);
}

void TestGridMouse::fillerClicksFollowTheFillerIndex()
{
    TKeyGrid f;
    int fillerClicks = 0;
    QVERIFY(f.Show());
    const QPoint filler = f.Grid.CellRect(0, 0).center();
    QCOMPARE(f.Grid.FillerIndex(), -7);
    f.Grid.OnFillerClick = [&](QObject*) { ++fillerClicks; };
    Click(f, filler);
    QCOMPARE(fillerClicks, 1);

    QMenu menu;
    menu.addAction(QStringLiteral("Columns..."));
    f.Grid.SetFillerPopupMenu(&menu);
    Click(f, filler);
    QCOMPARE(fillerClicks, 1);
    QTRY_VERIFY(menu.isVisible());
    menu.close();
    f.Grid.SetFillerPopupMenu(nullptr);

    // -22 switches the auto-filter, unless the program handles the click itself.
    f.Grid.SetFillerIndex(-22);
    const bool autoFilter = f.Grid.FilterGrid()->AutoFilter();
    Click(f, filler);
    QCOMPARE(fillerClicks, 2);
    QCOMPARE(f.Grid.FilterGrid()->AutoFilter(), autoFilter);
    f.Grid.OnFillerClick = nullptr;
    Click(f, filler);
    QCOMPARE(f.Grid.FilterGrid()->AutoFilter(), !autoFilter);

    // Without FillerButton the filler is no button under dgTitleButtons.
    f.Grid.SetFillerIndex(-7);
    f.Grid.OnFillerClick = [&](QObject*) { ++fillerClicks; };
    f.Grid.SetFillerButton(false);
    Click(f, filler);
    QCOMPARE(fillerClicks, 2);
}

void TestGridMouse::aTitleThatIsNoButtonTakesNoClick()
{
    TKeyGrid f;
    QList<TOrvoColumn*> clicked;
    f.Grid.OnTitleClick = [&](TOrvoColumn* column) { clicked << column; };
    QVERIFY(f.Show());
    TitleOf(f, 1)->SetButton(false);
    Click(f, TitlePoint(f, NameCol));
    QVERIFY(clicked.isEmpty());
    Click(f, TitlePoint(f, PriceCol));
    QCOMPARE(clicked, QList<TOrvoColumn*>{f.Grid.Columns()->Items(2)});
}

void TestGridMouse::theRightButtonMovesColumnsWithRightMoving()
{
    TKeyGrid f({dgRightMoving});
    f.Grid.Columns()->SetState(csCustomized);
    QVERIFY(f.Show());
    TOrvoColumn* id = f.Grid.Columns()->Items(0);
    Drag(f, TitlePoint(f, IdCol), TitlePoint(f, PriceCol) + QPoint(10, 0));
    QCOMPARE(id->Index(), 0);
    QWidget* viewport = f.Grid.viewport();
    const QPoint to = TitlePoint(f, PriceCol) + QPoint(10, 0);
    QTest::mousePress(viewport, Qt::RightButton, Qt::NoModifier, TitlePoint(f, IdCol));
    MoveThrough(viewport, {to}, Qt::RightButton);
    QTest::mouseRelease(viewport, Qt::RightButton, Qt::NoModifier, to);
    QCOMPARE(id->Index(), 2);
}

void TestGridMouse::mouseTrackingMakesTheCellUnderTheMouseCurrent()
{
    TKeyGrid f;
    QVERIFY(f.Show());
    QTest::mouseMove(f.Grid.viewport(), CellCenter(f, PriceCol, RowOfId(f, 4)));
    QCOMPARE(f.CurrentId(), 1);
    f.Grid.SetOptionsExt(f.Grid.OptionsExt() + dgMouseTracking);
    QTest::mouseMove(f.Grid.viewport(), CellCenter(f, PriceCol, RowOfId(f, 5)));
    QCOMPARE(f.CurrentId(), 5);
    QCOMPARE(f.Grid.Col(), PriceCol);
    QVERIFY(f.InStep());
}

void TestGridMouse::draggingRowsCarriesTheSelectedBookmarks()
{
    TKeyGrid f({dgMultiSelect});
    f.Grid.SetDragRows(true);
    QVERIFY(f.Show());
    Click(f, CellCenter(f, NameCol, RowOfId(f, 2)));
    Click(f, CellCenter(f, NameCol, RowOfId(f, 4)), Qt::ControlModifier);
    QStringList dragged;
    QWidget* viewport = f.Grid.viewport();
    QTest::mousePress(viewport, Qt::LeftButton, Qt::ControlModifier, CellCenter(f, NameCol, RowOfId(f, 6)));
    MoveThrough(viewport, {CellCenter(f, NameCol, RowOfId(f, 9))});
    // The drag is over at once without a real button held; what it carried is still there.
    if (const QDrag* drag = viewport->findChild<QDrag*>())
        dragged = QString::fromUtf8(drag->mimeData()->data(QStringLiteral("application/x-orvo-bookmarks")))
                      .split(QLatin1Char('\n'));
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, CellCenter(f, NameCol, RowOfId(f, 9)));
    QCOMPARE(dragged.size(), 3);
    // The drag moved no record and selected nothing on its way.
    QCOMPARE(f.CurrentId(), 6);
    QCOMPARE(SelectedIds(f), (QList<int>{2, 4, 6}));
}

void TestGridMouse::expandBoxesTakeTheClicksTheirColumnAsks_data()
{
    QTest::addColumn<int>("margin");
    QTest::addColumn<int>("toggle");
    QTest::addColumn<bool>("inBox");
    QTest::addColumn<bool>("onCurrent");
    QTest::addColumn<bool>("takenByTheBox");
    QTest::newRow("no margin: the whole cell") << 0 << int(etOnCellClick) << false << false << true;
    QTest::newRow("margin: on the box") << 12 << int(etOnCellClick) << true << false << true;
    QTest::newRow("margin: beside the box") << 12 << int(etOnCellClick) << false << false << false;
    QTest::newRow("select click: a new cell") << 0 << int(etSelectClick) << false << false << false;
    QTest::newRow("select click: the current cell") << 0 << int(etSelectClick) << false << true << true;
}

void TestGridMouse::expandBoxesTakeTheClicksTheirColumnAsks()
{
    QFETCH(int, margin);
    QFETCH(int, toggle);
    QFETCH(bool, inBox);
    QFETCH(bool, onCurrent);
    QFETCH(bool, takenByTheBox);
    TKeyGrid f;
    f.Grid.Columns()->SetState(csCustomized);
    TOrvoColumn* name = f.Grid.Columns()->Items(1);
    name->SetExpandBox(true);
    name->SetImageMargin(margin);
    name->SetExpandBoxToggle(TExpandBoxToggle(toggle));
    QList<TOrvoColumn*> clicks;
    f.Grid.OnCellClick = [&](TOrvoColumn* column) { clicks << column; };
    QVERIFY(f.Show());
    f.Grid.SetCol(NameCol);
    const QRect cell = f.Grid.CellRect(NameCol, RowOfId(f, onCurrent ? 1 : 3));
    const QPoint at(inBox ? cell.left() + margin / 2 : cell.right() - 4, cell.center().y());
    Click(f, at);
    QCOMPARE(clicks.isEmpty(), takenByTheBox);
    // The box is no place to open the editor.
    QVERIFY(!(inBox && f.Grid.EditorMode()));
}

void TestGridMouse::selectedColumnsFollowAMove()
{
    TKeyGrid f({dgMultiSelect});
    f.Grid.SetMultiSelectOptions({msRows, msCols});
    f.Grid.Columns()->SetState(csCustomized);
    QVERIFY(f.Show());
    // Wide enough that no click scrolls a column out of view.
    f.Grid.resize(900, 260);
    QApplication::processEvents();
    Click(f, TitlePoint(f, IdCol), Qt::ShiftModifier);
    Click(f, CellCenter(f, PriceCol, RowOfId(f, 2)), Qt::ControlModifier);
    QCOMPARE(SelectedColumns(f), (QList<int>{0, 2}));
    Drag(f, TitlePoint(f, IdCol), TitlePoint(f, PriceCol) + QPoint(10, 0));
    QCOMPARE(f.Grid.Columns()->Items(2)->FieldName(), QStringLiteral("id"));
    QCOMPARE(SelectedColumns(f), (QList<int>{1, 2}));
}

QTEST_MAIN(TestGridMouse)
#include "tst_grid_mouse.moc"
