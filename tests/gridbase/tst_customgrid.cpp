#include "common/texceptionhandlerscope.h"
#include "platform/core/exceptions.h"
#include "platform/core/texceptionhandler.h"
#include "platform/gridbase/movedindex.h"
#include "platform/gridbase/tcustomgrid.h"
#include "platform/gridbase/tgridaxis.h"
#include "platform/gridbase/tinplaceedit.h"

#include <QScrollBar>
#include <QtTest>

using namespace orvo;

Q_DECLARE_METATYPE(orvo::TGridCoord)

namespace {

/// A grid that records what the base calls on it.
class TTestGrid : public TCustomGrid
{
public:
    TTestGrid()
    {
        SetBorderStyle(bsNone);
        SetScrollBars(ssNone);
        SetDefaultColWidth(50);
        SetDefaultRowHeight(20);
        SetColCount(6);
        SetRowCount(10);
    }

    QList<TGridCoord> Drawn;
    QList<QPair<int, int>> Moved;
    int WidthChanges = 0;
    int HeightChanges = 0;
    bool ThrowInDraw = false;
    bool ThrowInKeyDown = false;
    int Exits = 0;
    QList<QPoint> HintPoints;
    QList<QPair<int, int>> RowsMoved;

    using TCustomGrid::ChangeScale;
    bool ReadOnly = false;
    QString LastEdit;

protected:
    void DrawCell(int col, int row, const QRect&, TGridDrawState) override
    {
        Drawn.append({col, row});
        if (ThrowInDraw)
            throw EInvalidGridOperation(QStringLiteral("cannot draw"));
    }
    void ColumnMoved(int from, int to) override { Moved.append({from, to}); }
    void RowMoved(int from, int to) override { RowsMoved.append({from, to}); }
    void DoExit() override { ++Exits; }
    QString HintText(const QPoint& pos) override
    {
        HintPoints.append(pos);
        return QStringLiteral("hint");
    }
    void KeyDown(int& key, TShiftState shift) override
    {
        if (ThrowInKeyDown)
            throw EInvalidGridOperation(QStringLiteral("no keys"));
        TCustomGrid::KeyDown(key, shift);
    }
    void ColWidthsChanged() override
    {
        ++WidthChanges;
        TCustomGrid::ColWidthsChanged();
    }
    void RowHeightsChanged() override
    {
        ++HeightChanges;
        TCustomGrid::RowHeightsChanged();
    }
    QString GetEditText(int col, int row) override { return QStringLiteral("%1,%2").arg(col).arg(row); }
    void SetEditText(int, int, const QString& value) override { LastEdit = value; }
    bool CanEditModify() override { return !ReadOnly; }
};

void ShowGrid(TTestGrid& grid, int width, int height)
{
    grid.resize(width, height);
    grid.show();
    QApplication::setActiveWindow(&grid);
    grid.setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&grid));
}

// Fixed column 0 of 30, a zero-width column 1, a column 2 that takes no room, then
// columns of 40, 50 and 50: with one-pixel lines they begin at 0, 31, -, 32, 73, 124.
void UseMixedColumns(TTestGrid& grid)
{
    grid.SetColWidths(0, 30);
    grid.SetColWidths(1, 0);
    grid.SetColWidths(2, -1);
    grid.SetColWidths(3, 40);
}

} // namespace

class TestCustomGrid : public QObject
{
    Q_OBJECT

private slots:
    void cellRectAcrossOddColumns_data();
    void cellRectAcrossOddColumns();
    void mouseCoordAcrossOddColumns_data();
    void mouseCoordAcrossOddColumns();
    void topLeftIsClamped();
    void calcDrawInfo();
    void paintDrawsOnlyExposedCells();
    void keyboardNavigation_data();
    void keyboardNavigation();
    void mouseSizing_data();
    void mouseSizing();
    void columnMovingByDraggingTitle();
    void editorShowsAndHides();
    void editorObeysCanEditModify();
    void exceptionInDrawCellReachesHandler();
    void manyRowsStayNavigable();
    void axisPositions_data();
    void axisPositions();
    void axisBoundsHugeSizes();
    void scrollBarsWheelAndTimedScroll();
    void rangeAndRowSelection();
    void movedIndex_data();
    void movedIndex();
    void moveColumnAndRowKeepCurrentCell();
    void focusExitIgnoresOwnEditor();
    void hintAndHandlerExceptions();
    void changeScale();
    void propertiesByName();
    void rowMovingAndDragAutoScroll();
};

void TestCustomGrid::movedIndex_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("expected");
    QTest::newRow("right: the moved item") << 2 << 2 << 5 << 5;
    QTest::newRow("right: first passed") << 3 << 2 << 5 << 2;
    QTest::newRow("right: last passed") << 5 << 2 << 5 << 4;
    QTest::newRow("right: before the range") << 1 << 2 << 5 << 1;
    QTest::newRow("right: after the range") << 6 << 2 << 5 << 6;
    QTest::newRow("left: the moved item") << 5 << 5 << 2 << 2;
    QTest::newRow("left: first passed") << 2 << 5 << 2 << 3;
    QTest::newRow("left: last passed") << 4 << 5 << 2 << 5;
    QTest::newRow("left: before the range") << 1 << 5 << 2 << 1;
    QTest::newRow("left: after the range") << 6 << 5 << 2 << 6;
    QTest::newRow("neighbours swap") << 3 << 3 << 4 << 4;
    QTest::newRow("neighbour swapped") << 4 << 3 << 4 << 3;
    QTest::newRow("from == to") << 3 << 3 << 3 << 3;
    QTest::newRow("from == to, other") << 4 << 3 << 3 << 4;
}

void TestCustomGrid::movedIndex()
{
    QFETCH(int, index);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, expected);
    QCOMPARE(MovedIndex(index, from, to), expected);
    // Moving back undoes the move, which is how a refused column move restores the current column.
    QCOMPARE(MovedIndex(expected, to, from), index);
}

void TestCustomGrid::cellRectAcrossOddColumns_data()
{
    QTest::addColumn<int>("leftCol");
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("row");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("fixed") << 1 << 0 << 0 << QRect(0, 0, 30, 20);
    QTest::newRow("zero width is empty") << 1 << 1 << 1 << QRect();
    QTest::newRow("no room is empty") << 1 << 2 << 1 << QRect();
    QTest::newRow("after zero and no-room") << 1 << 3 << 1 << QRect(32, 21, 40, 20);
    QTest::newRow("scrolled first") << 4 << 4 << 1 << QRect(31, 21, 50, 20);
    QTest::newRow("scrolled cut at the edge") << 4 << 5 << 2 << QRect(82, 42, 38, 20);
    QTest::newRow("scrolled away") << 4 << 3 << 1 << QRect();
    QTest::newRow("fixed stays when scrolled") << 4 << 0 << 2 << QRect(0, 42, 30, 20);
}

void TestCustomGrid::cellRectAcrossOddColumns()
{
    QFETCH(int, leftCol);
    QFETCH(int, col);
    QFETCH(int, row);
    QFETCH(QRect, expected);
    TTestGrid grid;
    UseMixedColumns(grid);
    ShowGrid(grid, 120, 150);
    grid.SetLeftCol(leftCol);
    QCOMPARE(grid.LeftCol(), leftCol);
    QCOMPARE(grid.CellRect(col, row), expected);
}

void TestCustomGrid::mouseCoordAcrossOddColumns_data()
{
    QTest::addColumn<int>("leftCol");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<TGridCoord>("expected");
    QTest::newRow("fixed cell") << 1 << QPoint(29, 5) << TGridCoord{0, 0};
    QTest::newRow("fixed line") << 1 << QPoint(30, 5) << TGridCoord{0, 0};
    QTest::newRow("zero width owns its line") << 1 << QPoint(31, 25) << TGridCoord{1, 1};
    QTest::newRow("no room is skipped") << 1 << QPoint(32, 25) << TGridCoord{3, 1};
    QTest::newRow("line belongs to left cell") << 1 << QPoint(72, 25) << TGridCoord{3, 1};
    QTest::newRow("left of grid") << 1 << QPoint(-1, 5) << TGridCoord{};
    QTest::newRow("last shown row") << 1 << QPoint(10, 149) << TGridCoord{0, 7};
    QTest::newRow("scrolled") << 4 << QPoint(31, 25) << TGridCoord{4, 1};
    QTest::newRow("scrolled last") << 4 << QPoint(119, 25) << TGridCoord{5, 1};
    QTest::newRow("beyond client") << 4 << QPoint(120, 25) << TGridCoord{};
}

void TestCustomGrid::mouseCoordAcrossOddColumns()
{
    QFETCH(int, leftCol);
    QFETCH(QPoint, point);
    QFETCH(TGridCoord, expected);
    TTestGrid grid;
    UseMixedColumns(grid);
    ShowGrid(grid, 120, 150);
    grid.SetLeftCol(leftCol);
    const TGridCoord coord = grid.MouseCoord(point.x(), point.y());
    QCOMPARE(coord.X, expected.X);
    QCOMPARE(coord.Y, expected.Y);
}

void TestCustomGrid::topLeftIsClamped()
{
    TTestGrid grid;
    ShowGrid(grid, 300, 200);
    grid.SetLeftCol(0);
    grid.SetTopRow(-5);
    QCOMPARE(grid.LeftCol(), 1);
    QCOMPARE(grid.TopRow(), 1);
    // Ten rows of 21 pixels in 200: scrolling stops once the last row is in view.
    grid.SetTopRow(1000);
    QCOMPARE(grid.TopRow(), 2);
    grid.SetFixedRows(3);
    QCOMPARE(grid.TopRow(), 3);
    QCOMPARE(grid.Row(), 3);
    grid.SetFixedRows(0);
    grid.SetTopRow(0);
    QCOMPARE(grid.TopRow(), 0);
    QVERIFY_THROWS_EXCEPTION(EInvalidGridOperation, grid.SetFixedCols(6));

    // Shrinking the grid pulls the current cell and the scroll position back inside.
    grid.SetFixedRows(1);
    grid.MoveColRow(4, 9, true, true);
    QCOMPARE(grid.TopRow(), 2);
    grid.SetRowCount(4);
    grid.SetColCount(3);
    QCOMPARE(QPoint(grid.Col(), grid.Row()), QPoint(2, 3));
    QCOMPARE(grid.TopRow(), 1);
    QCOMPARE(grid.Selection(), (TGridRect{2, 3, 2, 3}));
}

void TestCustomGrid::calcDrawInfo()
{
    TTestGrid grid;
    ShowGrid(grid, 300, 200);
    TGridDrawInfo info = grid.CalcDrawInfo();
    QCOMPARE(info.Vert.EffectiveLineWidth, 1);
    QCOMPARE(info.Vert.FixedBoundary, 21);
    QCOMPARE(info.Vert.GridExtent, 210);
    QCOMPARE(info.Vert.GridBoundary, 200);
    QCOMPARE(info.Vert.LastFullVisibleCell, 8);
    QCOMPARE(info.Vert.FullVisBoundary, 189);
    QCOMPARE(info.Vert.FixedCellCount, 1);
    QCOMPARE(info.Vert.FirstGridCell, 1);
    QCOMPARE(info.Vert.GridCellCount, 10);
    QCOMPARE(info.Horz.FixedBoundary, 51);
    QCOMPARE(info.Horz.GridBoundary, 300);
    QCOMPARE(info.Horz.LastFullVisibleCell, 4);
    QCOMPARE(info.Horz.FullVisBoundary, 255);
    QCOMPARE(grid.VisibleRowCount(), 8);
    QCOMPARE(grid.VisibleColCount(), 4);

    grid.SetTopRow(2);
    info = grid.CalcDrawInfo();
    QCOMPARE(info.Vert.GridExtent, 189);
    QCOMPARE(info.Vert.GridBoundary, 189);
    QCOMPARE(info.Vert.LastFullVisibleCell, 9);

    // Without vertical lines the columns lose their line width.
    grid.SetOptions(grid.Options() - goVertLine - goFixedVertLine);
    info = grid.CalcDrawInfo();
    QCOMPARE(info.Horz.EffectiveLineWidth, 0);
    QCOMPARE(info.Horz.FixedBoundary, 50);
    QCOMPARE(grid.CellRect(2, 2), QRect(100, 21, 50, 20));
}

void TestCustomGrid::paintDrawsOnlyExposedCells()
{
    TTestGrid grid;
    grid.SetRowCount(1000);
    grid.SetColCount(40);
    ShowGrid(grid, 300, 200);
    grid.SetTopRow(500);
    QCoreApplication::processEvents();

    grid.Drawn.clear();
    grid.viewport()->repaint(grid.CellRect(3, 502));
    QCOMPARE(grid.Drawn.size(), 1);
    QCOMPARE(grid.Drawn.first(), (TGridCoord{3, 502}));

    grid.Drawn.clear();
    grid.viewport()->repaint(grid.BoxRect(2, 501, 3, 502));
    QCOMPARE(grid.Drawn.size(), 4);

    // A whole repaint visits the frozen cells and the shown ones, nothing scrolled away.
    grid.Drawn.clear();
    grid.viewport()->repaint();
    QCOMPARE(grid.Drawn.size(), 6 * 10);
    for (const TGridCoord& cell : std::as_const(grid.Drawn)) {
        QVERIFY(cell.X == 0 || (cell.X >= 1 && cell.X <= 5));
        QVERIFY(cell.Y == 0 || (cell.Y >= 500 && cell.Y <= 508));
    }
}

void TestCustomGrid::keyboardNavigation_data()
{
    QTest::addColumn<bool>("tabs");
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QPoint>("expected");
    const int none = Qt::NoModifier;
    QTest::newRow("down") << false << QPoint(1, 1) << int(Qt::Key_Down) << none << QPoint(1, 2);
    QTest::newRow("up stops at fixed") << false << QPoint(1, 1) << int(Qt::Key_Up) << none << QPoint(1, 1);
    QTest::newRow("right skips no-room column")
        << false << QPoint(1, 1) << int(Qt::Key_Right) << none << QPoint(3, 1);
    QTest::newRow("left skips no-room column")
        << false << QPoint(3, 1) << int(Qt::Key_Left) << none << QPoint(1, 1);
    QTest::newRow("end") << false << QPoint(1, 4) << int(Qt::Key_End) << none << QPoint(5, 4);
    QTest::newRow("home") << false << QPoint(5, 4) << int(Qt::Key_Home) << none << QPoint(1, 4);
    QTest::newRow("ctrl end") << false << QPoint(1, 1) << int(Qt::Key_End) << int(Qt::ControlModifier)
                              << QPoint(5, 9);
    QTest::newRow("ctrl home") << false << QPoint(4, 7) << int(Qt::Key_Home) << int(Qt::ControlModifier)
                               << QPoint(1, 1);
    QTest::newRow("page down") << false << QPoint(1, 1) << int(Qt::Key_PageDown) << none << QPoint(1, 9);
    QTest::newRow("page up clamps") << false << QPoint(1, 3) << int(Qt::Key_PageUp) << none << QPoint(1, 1);
    QTest::newRow("tab") << true << QPoint(1, 1) << int(Qt::Key_Tab) << none << QPoint(3, 1);
    QTest::newRow("tab skips column without stop")
        << true << QPoint(3, 1) << int(Qt::Key_Tab) << none << QPoint(5, 1);
    QTest::newRow("tab wraps to next row")
        << true << QPoint(5, 1) << int(Qt::Key_Tab) << none << QPoint(1, 2);
    QTest::newRow("shift tab wraps back")
        << true << QPoint(1, 2) << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << QPoint(5, 1);
    QTest::newRow("tab without goTabs") << false << QPoint(1, 1) << int(Qt::Key_Tab) << none << QPoint(1, 1);
}

void TestCustomGrid::keyboardNavigation()
{
    QFETCH(bool, tabs);
    QFETCH(QPoint, start);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QPoint, expected);
    QWidget window;
    auto* grid = new TTestGrid;
    grid->setParent(&window);
    grid->setGeometry(0, 0, 300, 200);
    auto* other = new QLineEdit(&window);
    other->setGeometry(0, 210, 100, 20);
    grid->SetColWidths(2, -1);
    grid->SetTabStops(4, false);
    if (tabs)
        grid->SetOptions(grid->Options() + goTabs);
    window.resize(300, 240);
    window.show();
    QApplication::setActiveWindow(&window);
    grid->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(grid->VisibleRowCount(), 8);
    grid->MoveColRow(start.x(), start.y(), true, true);
    QTest::keyClick(grid, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(QPoint(grid->Col(), grid->Row()), expected);
    if (key == Qt::Key_Tab)
        QCOMPARE(QApplication::focusWidget() == grid, tabs);
    // The current cell is always in view.
    QVERIFY(!grid->CellRect(grid->Col(), grid->Row()).isEmpty());
}

void TestCustomGrid::mouseSizing_data()
{
    QTest::addColumn<bool>("columns");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("release");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("expected");
    // Column 1 begins at 51 and its border at 101; row 1 begins at 21, its border at 41.
    QTest::newRow("widen column") << true << QPoint(101, 10) << QPoint(131, 10) << 1 << 80;
    QTest::newRow("grab just left of border") << true << QPoint(99, 10) << QPoint(79, 10) << 1 << 30;
    QTest::newRow("narrow to zero") << true << QPoint(102, 10) << QPoint(20, 10) << 1 << 0;
    QTest::newRow("fixed column") << true << QPoint(50, 5) << QPoint(60, 5) << 0 << 60;
    QTest::newRow("taller row") << false << QPoint(10, 41) << QPoint(10, 61) << 1 << 40;
}

void TestCustomGrid::mouseSizing()
{
    QFETCH(bool, columns);
    QFETCH(QPoint, press);
    QFETCH(QPoint, release);
    QFETCH(int, index);
    QFETCH(int, expected);
    TTestGrid grid;
    grid.SetOptions(grid.Options() + goColSizing + goRowSizing);
    ShowGrid(grid, 300, 200);
    grid.WidthChanges = 0;
    grid.HeightChanges = 0;
    QWidget* viewport = grid.viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, press);
    QCOMPARE(grid.GridState(), columns ? gsColSizing : gsRowSizing);
    QTest::mouseMove(viewport, (press + release) / 2);
    QTest::mouseMove(viewport, release);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, release);
    QCOMPARE(grid.GridState(), gsNormal);
    if (columns) {
        QCOMPARE(grid.ColWidths(index), expected);
        QCOMPARE(grid.WidthChanges, 1);
    } else {
        QCOMPARE(grid.RowHeights(index), expected);
        QCOMPARE(grid.HeightChanges, 1);
    }
}

void TestCustomGrid::columnMovingByDraggingTitle()
{
    TTestGrid grid;
    grid.SetOptions(grid.Options() + goColMoving);
    grid.SetColWidths(1, 60);
    ShowGrid(grid, 400, 200);
    grid.MoveColRow(1, 2, true, true);
    QWidget* viewport = grid.viewport();
    // Column 1 spans 51..110; column 3 begins at 51 + 61 + 51 = 163.
    QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(70, 10));
    QCOMPARE(grid.GridState(), gsColMoving);
    QTest::mouseMove(viewport, QPoint(120, 10));
    QTest::mouseMove(viewport, QPoint(170, 10));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(170, 10));
    QCOMPARE(grid.Moved, (QList<QPair<int, int>>{{1, 3}}));
    QCOMPARE(grid.ColWidths(3), 60);
    QCOMPARE(grid.ColWidths(1), 50);
    QCOMPARE(grid.Col(), 3);

    // A click on a title without moving moves nothing.
    grid.Moved.clear();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(70, 10));
    QVERIFY(grid.Moved.isEmpty());
}

void TestCustomGrid::editorShowsAndHides()
{
    TTestGrid grid;
    grid.SetOptions(grid.Options() + goEditing);
    ShowGrid(grid, 300, 200);
    grid.MoveColRow(2, 3, true, true);

    QTest::keyClick(&grid, Qt::Key_F2);
    QVERIFY(grid.EditorMode());
    TInplaceEdit* editor = grid.InplaceEditor();
    QVERIFY(editor);
    QVERIFY(editor->Visible());
    QCOMPARE(editor->text(), QStringLiteral("2,3"));
    QCOMPARE(editor->geometry(), grid.CellRect(2, 3));
    QTRY_VERIFY(editor->hasFocus());

    QTest::keyClicks(editor, QStringLiteral("xy"));
    QCOMPARE(grid.LastEdit, QStringLiteral("xy"));

    QTest::keyClick(editor, Qt::Key_Escape);
    QVERIFY(!grid.EditorMode());
    QVERIFY(!editor->Visible());
    QCOMPARE(QApplication::focusWidget(), &grid);

    // Typing on the grid opens the editor with that character.
    QTest::keyClick(&grid, Qt::Key_Q);
    QVERIFY(grid.EditorMode());
    QCOMPARE(editor->text(), QStringLiteral("q"));
    QCOMPARE(grid.LastEdit, QStringLiteral("q"));

    // Moving to another cell closes it; Enter opens it again.
    QTest::keyClick(editor, Qt::Key_Down);
    QCOMPARE(grid.Row(), 4);
    QVERIFY(!grid.EditorMode());
    QTest::keyClick(&grid, Qt::Key_Return);
    QVERIFY(grid.EditorMode());
    QCOMPARE(editor->text(), QStringLiteral("2,4"));

    // Tab leaves the editor for the next cell; an editor always shown follows it there.
    grid.SetOptions(grid.Options() + goTabs);
    QTRY_VERIFY(editor->hasFocus());
    QTest::keyClick(editor, Qt::Key_Tab);
    QCOMPARE(grid.Col(), 3);
    QVERIFY(!grid.EditorMode());
    grid.SetOptions(grid.Options() + goAlwaysShowEditor);
    QVERIFY(grid.EditorMode());
    QTRY_VERIFY(editor->hasFocus());
    QTest::keyClick(editor, Qt::Key_Tab);
    QCOMPARE(grid.Col(), 4);
    QVERIFY(grid.EditorMode());
    QCOMPARE(editor->text(), QStringLiteral("4,4"));
    QCOMPARE(editor->geometry(), grid.CellRect(4, 4));
    grid.SetEditorMode(false);
    QVERIFY(grid.EditorMode());
}

void TestCustomGrid::editorObeysCanEditModify()
{
    TTestGrid grid;
    grid.SetOptions(grid.Options() + goEditing);
    grid.ReadOnly = true;
    ShowGrid(grid, 300, 200);
    grid.ShowEditor();
    QVERIFY(grid.EditorMode());
    TInplaceEdit* editor = grid.InplaceEditor();
    QTest::keyClicks(editor, QStringLiteral("zz"));
    QTest::keyClick(editor, Qt::Key_Backspace);
    QCOMPARE(editor->text(), QStringLiteral("1,1"));
    QVERIFY(grid.LastEdit.isEmpty());

    // Row selection leaves no cell to edit.
    grid.HideEditor();
    grid.SetOptions(grid.Options() + goRowSelect);
    grid.ShowEditor();
    QVERIFY(!grid.EditorMode());
}

void TestCustomGrid::exceptionInDrawCellReachesHandler()
{
    QStringList caught;
    TTestGrid grid;
    {
        const test::TExceptionHandlerScope handler(test::TExceptionHandlerScope::Recording(caught));
        ShowGrid(grid, 300, 200);
        grid.ThrowInDraw = true;
        grid.viewport()->repaint();
    }
    QCOMPARE(caught, QStringList{QStringLiteral("cannot draw")});
}

void TestCustomGrid::manyRowsStayNavigable()
{
    TTestGrid grid;
    grid.SetRowCount(100000);
    ShowGrid(grid, 300, 200);
    grid.SetRowHeights(10, -1);
    grid.SetRowHeights(11, 0);

    grid.SetTopRow(50000);
    QCOMPARE(grid.TopRow(), 50000);
    QCOMPARE(grid.MouseCoord(60, 25).Y, 50000);
    QCOMPARE(grid.CellRect(1, 50001).top(), 42);

    // Row 10 takes no room and row 11 only its line.
    grid.SetTopRow(9);
    QCOMPARE(grid.MouseCoord(60, 42).Y, 11);
    QCOMPARE(grid.MouseCoord(60, 43).Y, 12);

    QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(grid.Row(), 99999);
    QCOMPARE(grid.TopRow(), 99999 - grid.VisibleRowCount() + 1);
    grid.Drawn.clear();
    grid.viewport()->repaint();
    QVERIFY(grid.Drawn.size() < 100);
    QVERIFY(grid.Drawn.contains(TGridCoord{5, 99999}));
}

void TestCustomGrid::axisPositions_data()
{
    QTest::addColumn<QList<int>>("sizes");
    QTest::addColumn<qint64>("offset");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("firstFrom");
    // With a line of 1: [10][0][-][5] begin at 0, 11, 12, 12 and end at 18.
    const QList<int> sizes{10, 0, -1, 5};
    QTest::newRow("start") << sizes << qint64(0) << 0 << 0;
    QTest::newRow("line of first") << sizes << qint64(10) << 0 << 1;
    QTest::newRow("zero width") << sizes << qint64(11) << 1 << 1;
    QTest::newRow("after no room") << sizes << qint64(12) << 3 << 2;
    QTest::newRow("last pixel") << sizes << qint64(17) << 3 << 4;
    QTest::newRow("past the end") << sizes << qint64(18) << -1 << 4;
    QTest::newRow("negative") << sizes << qint64(-1) << -1 << 0;
    QTest::newRow("all hidden") << QList<int>{-1, -1} << qint64(0) << -1 << 0;
}

void TestCustomGrid::axisPositions()
{
    QFETCH(QList<int>, sizes);
    QFETCH(qint64, offset);
    QFETCH(int, index);
    QFETCH(int, firstFrom);
    TGridAxis axis;
    axis.SetLineWidth(1);
    axis.SetCount(int(sizes.size()));
    for (int i = 0; i < sizes.size(); ++i)
        axis.SetSize(i, sizes[i]);
    QCOMPARE(axis.IndexAt(offset), index);
    QCOMPARE(axis.FirstIndexFrom(offset), firstFrom);
    // Sizes changed after a lookup rebuild the positions.
    axis.SetSize(0, 20);
    QCOMPARE(axis.Position(1), 21);
}

// Sizes read from stored layouts may be anything: a cell's extent must stay an int.
void TestCustomGrid::axisBoundsHugeSizes()
{
    TGridAxis axis;
    axis.SetLineWidth(INT_MAX);
    QCOMPARE(axis.LineWidth(), TGridAxis::MaxSize);
    axis.SetLineWidth(1);
    axis.SetDefaultSize(INT_MAX);
    axis.SetCount(3000);
    QCOMPARE(axis.DefaultSize(), TGridAxis::MaxSize);
    axis.SetSize(1, INT_MAX);
    QCOMPARE(axis.Size(1), TGridAxis::MaxSize);
    QCOMPARE(axis.Extent(1), TGridAxis::MaxSize + 1);
    QCOMPARE(axis.Position(3000), qint64(3000) * (TGridAxis::MaxSize + 1));
    QCOMPARE(axis.IndexAt(qint64(2999) * (TGridAxis::MaxSize + 1)), 2999);
    axis.Scale(INT_MAX, 1);
    QCOMPARE(axis.Size(2), TGridAxis::MaxSize);
    axis.SetSize(0, INT_MIN);
    QCOMPARE(axis.Extent(0), 0);
}

void TestCustomGrid::scrollBarsWheelAndTimedScroll()
{
    TTestGrid grid;
    grid.SetScrollBars(ssBoth);
    grid.SetRowCount(100);
    grid.SetColCount(30);
    grid.SetOptions(grid.Options() + goThumbTracking);
    ShowGrid(grid, 300, 200);
    QScrollBar* vertical = grid.verticalScrollBar();
    QScrollBar* horizontal = grid.horizontalScrollBar();
    QCOMPARE(vertical->minimum(), 1);
    QCOMPARE(horizontal->minimum(), 1);
    QVERIFY(vertical->maximum() > 90 && vertical->maximum() < 100);

    vertical->setValue(40);
    QCOMPARE(grid.TopRow(), 40);
    horizontal->setValue(7);
    QCOMPARE(grid.LeftCol(), 7);
    grid.SetTopRow(12);
    QCOMPARE(vertical->value(), 12);

    QWheelEvent down(QPointF(60, 60), grid.viewport()->mapToGlobal(QPointF(60, 60)), {}, QPoint(0, -120),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(grid.viewport(), &down);
    QCOMPARE(grid.TopRow(), 12 + QApplication::wheelScrollLines());
    // Half notches add up.
    grid.SetTopRow(12);
    QWheelEvent half(QPointF(60, 60), grid.viewport()->mapToGlobal(QPointF(60, 60)), {}, QPoint(0, 60),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(grid.viewport(), &half);
    QCOMPARE(grid.TopRow(), 12);
    QCoreApplication::sendEvent(grid.viewport(), &half);
    QCOMPARE(grid.TopRow(), 12 - QApplication::wheelScrollLines());

    grid.SetTopRow(20);
    grid.SetLeftCol(3);
    grid.TimedScroll({sdDown, sdLeft});
    QCOMPARE(grid.TopRow(), 21);
    QCOMPARE(grid.LeftCol(), 2);
    grid.SetLeftCol(1);
    grid.TimedScroll({sdLeft, sdUp});
    QCOMPARE(grid.LeftCol(), 1);
    QCOMPARE(grid.TopRow(), 20);
}

void TestCustomGrid::rangeAndRowSelection()
{
    TTestGrid grid;
    ShowGrid(grid, 300, 200);
    grid.MoveColRow(2, 2, true, true);
    QTest::keyClick(&grid, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&grid, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(grid.Selection(), (TGridRect{2, 2, 3, 3}));

    // Dragging from one cell to another selects the block between them.
    QWidget* viewport = grid.viewport();
    const QPoint from = grid.CellRect(1, 1).center();
    const QPoint to = grid.CellRect(3, 4).center();
    QTest::mousePress(viewport, Qt::LeftButton, {}, from);
    QCOMPARE(grid.GridState(), gsSelecting);
    QTest::mouseMove(viewport, to);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
    QCOMPARE(grid.Selection(), (TGridRect{1, 1, 3, 4}));
    QCOMPARE(QPoint(grid.Col(), grid.Row()), QPoint(3, 4));

    // A click on a fixed cell changes nothing.
    QTest::mouseClick(viewport, Qt::LeftButton, {}, grid.CellRect(0, 0).center());
    QCOMPARE(QPoint(grid.Col(), grid.Row()), QPoint(3, 4));

    grid.SetOptions(grid.Options() + goRowSelect);
    QCOMPARE(grid.Selection(), (TGridRect{1, 4, 5, 4}));
    QTest::keyClick(&grid, Qt::Key_Right);
    QCOMPARE(grid.Col(), 3);
}

void TestCustomGrid::moveColumnAndRowKeepCurrentCell()
{
    TTestGrid grid;
    ShowGrid(grid, 300, 200);
    grid.SetColWidths(4, 70);
    grid.SetTabStops(4, false);
    grid.MoveColRow(3, 5, true, true);
    grid.MoveColumn(4, 1);
    QCOMPARE(grid.ColWidths(1), 70);
    QVERIFY(!grid.TabStops(1));
    QVERIFY(grid.TabStops(4));
    QCOMPARE(grid.Col(), 4);
    QCOMPARE(grid.Moved, (QList<QPair<int, int>>{{4, 1}}));

    grid.SetRowHeights(2, 33);
    grid.MoveRow(2, 6);
    QCOMPARE(grid.RowHeights(6), 33);
    QCOMPARE(grid.Row(), 4);
    QCOMPARE(grid.RowsMoved, (QList<QPair<int, int>>{{2, 6}}));

    QVERIFY_THROWS_EXCEPTION(EInvalidGridOperation, grid.MoveColumn(0, 6));
    QVERIFY_THROWS_EXCEPTION(EInvalidGridOperation, grid.ColWidths(-1));
    QVERIFY_THROWS_EXCEPTION(EInvalidGridOperation, grid.MoveColRow(1, 10, true, true));
}

void TestCustomGrid::focusExitIgnoresOwnEditor()
{
    QWidget window;
    auto* grid = new TTestGrid;
    grid->setParent(&window);
    grid->setGeometry(0, 0, 300, 200);
    grid->SetOptions(grid->Options() + goEditing);
    auto* other = new QLineEdit(&window);
    other->setGeometry(0, 210, 100, 20);
    window.resize(300, 240);
    window.show();
    QApplication::setActiveWindow(&window);
    grid->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    grid->ShowEditor();
    QTRY_VERIFY(grid->InplaceEditor()->hasFocus());
    QCOMPARE(grid->Exits, 0);
    other->setFocus();
    QCOMPARE(grid->Exits, 1);
    grid->setFocus();
    // The grid hands focus on to its open editor.
    QTRY_VERIFY(grid->InplaceEditor()->hasFocus());
    grid->HideEditor();
    QCOMPARE(QApplication::focusWidget(), grid);
    QCOMPARE(grid->Exits, 1);
    other->setFocus();
    QCOMPARE(grid->Exits, 2);
}

void TestCustomGrid::hintAndHandlerExceptions()
{
    TTestGrid grid;
    ShowGrid(grid, 300, 200);
    QHelpEvent help(QEvent::ToolTip, QPoint(70, 30), grid.viewport()->mapToGlobal(QPoint(70, 30)));
    QCoreApplication::sendEvent(grid.viewport(), &help);
    QCOMPARE(grid.HintPoints, QList<QPoint>{QPoint(70, 30)});

    int handled = 0;
    {
        const test::TExceptionHandlerScope handler([&handled](std::exception_ptr) { ++handled; });
        grid.ThrowInKeyDown = true;
        QTest::keyClick(&grid, Qt::Key_Down);
    }
    QCOMPARE(handled, 1);
    QCOMPARE(grid.Row(), 1);
}

void TestCustomGrid::changeScale()
{
    TTestGrid grid;
    grid.SetColWidths(2, -1);
    grid.SetColWidths(3, 30);
    grid.ChangeScale(3, 2);
    QCOMPARE(grid.DefaultColWidth(), 75);
    QCOMPARE(grid.ColWidths(1), 75);
    QCOMPARE(grid.ColWidths(2), -1);
    QCOMPARE(grid.ColWidths(3), 45);
    QCOMPARE(grid.RowHeights(0), 30);
}

void TestCustomGrid::propertiesByName()
{
    TTestGrid grid;
    QVERIFY(grid.setProperty("ColCount", 8));
    QCOMPARE(grid.ColCount(), 8);
    QVERIFY(grid.setProperty("FixedColor", QVariant::fromValue<TColor>(clRed)));
    QCOMPARE(grid.FixedColor(), clRed);
    QVERIFY(grid.setProperty("ScrollBars", QVariant::fromValue(ssVertical)));
    QCOMPARE(grid.ScrollBars(), ssVertical);
    QCOMPARE(grid.property("Options").value<TGridOptions>(), grid.Options());
    QCOMPARE(QMetaEnum::fromType<TGridOption>().valueToKey(goThumbTracking), "goThumbTracking");
    QCOMPARE(QMetaEnum::fromType<TGridState>().keyCount(), 6);
}

void TestCustomGrid::rowMovingAndDragAutoScroll()
{
    TTestGrid grid;
    grid.SetRowCount(60);
    grid.SetOptions(grid.Options() + goRowMoving);
    ShowGrid(grid, 300, 200);
    QWidget* viewport = grid.viewport();
    // Row 1 spans 21..40, row 3 begins at 63.
    QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(10, 30));
    QCOMPARE(grid.GridState(), gsRowMoving);
    QTest::mouseMove(viewport, QPoint(10, 70));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(10, 70));
    QCOMPARE(grid.RowsMoved, (QList<QPair<int, int>>{{1, 3}}));

    // Selecting with the mouse held below the grid keeps scrolling and extends the selection.
    QTest::mousePress(viewport, Qt::LeftButton, {}, grid.CellRect(2, 2).center());
    QTest::mouseMove(viewport, QPoint(120, 230));
    QTRY_VERIFY(grid.TopRow() >= 4);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(120, 230));
    const int top = grid.TopRow();
    QCOMPARE(grid.Selection().Top, 2);
    QVERIFY(grid.Row() > 8);
    QTest::qWait(150);
    QCOMPARE(grid.TopRow(), top);
}

QTEST_MAIN(TestCustomGrid)
#include "tst_customgrid.moc"
