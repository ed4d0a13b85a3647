#include "grid/input/torvogridmouse.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvocolumntitle.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvocustomdbgrid_p.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "grid/filter/torvodbgridfilter.h"
#include "grid/input/torvogridkeyboard.h"
#include "grid/painting/torvodbgridpainter.h"
#include "grid/painting/torvogridstyle.h"
#include "grid/selection/torvobookmarklist.h"
#include "grid/selection/torvocolumnlist.h"
#include "grid/treeview/torvodbgridtreeview.h"
#include "platform/core/texceptionhandler.h"
#include "platform/core/tscopecleanup.h"
#include "platform/data/tdataset.h"
#include "platform/graphics/tcustomimagelist.h"
#include "platform/gridbase/tinplaceedit.h"

#include <QApplication>
#include <QDrag>
#include <QFontMetrics>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <cstdlib>

namespace orvo {

namespace {

bool Descends(const TOrvoColumn* column, const TOrvoColumn* ancestor)
{
    for (; column; column = column->ParentColumn())
        if (column == ancestor)
            return true;
    return false;
}

int WidestLine(const QFontMetrics& metrics, const QString& text)
{
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

bool IsSizing(TGridState state)
{
    return state == gsColSizing || state == gsRowSizing;
}

} // namespace

TOrvoGridMouse::TOrvoGridMouse(TOrvoCustomDBGrid& grid)
    : FGrid(grid), FColumnDrag(grid, *this), FHot(grid, *this), FSelection(grid)
{}

TOrvoGridMouse::~TOrvoGridMouse() = default;

// --- Presses -------------------------------------------------------------------------------------

void TOrvoGridMouse::MouseDown(TMouseButton button, TShiftState shift, int x, int y, bool doubleClick)
{
    FGrid.d->FKeyboard->SetLastShift(shift);
    EndPress();
    FHot.Clear();
    FEntryMark = TEntryMark::Pressed;
    const TGridCoord cell = FGrid.MouseCoord(x, y);
    FPressCol = cell.X;
    FPressColumn = FGrid.ColumnOfGridCol(cell.X);
    const bool sizingEdge = OnSizingEdge(x, y);
    if (sizingEdge && (button == mbMiddle || (button == mbLeft && doubleClick)) &&
        FitColumnWidth(button, x, y)) {
        if (FGrid.OnMouseDown)
            FGrid.OnMouseDown(&FGrid, button, shift, x, y);
        return;
    }
    if (!sizingEdge && InTitleRows(cell) && cell.X >= 0)
        PressInTitles(button, shift, cell, x, y, doubleClick);
    else if (!sizingEdge && InDataRows(cell))
        PressDataCell(button, shift, cell, x, y, doubleClick);
    else
        FGrid.TCustomGrid::MouseDown(button, shift, x, y, doubleClick);
    if (FGrid.OnMouseDown)
        FGrid.OnMouseDown(&FGrid, button, shift, x, y);
    if (doubleClick && button == mbLeft && !sizingEdge) {
        TOrvoColumn* column = InDataRows(cell) ? FGrid.ColumnOfGridCol(cell.X) : nullptr;
        if (column && FGrid.OnCellDblClick)
            FGrid.OnCellDblClick(column);
        else if (FGrid.OnDblClick)
            FGrid.OnDblClick(&FGrid);
    }
}

void TOrvoGridMouse::PressInTitles(TMouseButton button, TShiftState shift, TGridCoord cell, int x, int y,
                                   bool doubleClick)
{
    const TOrvoDBGridOptions options = FGrid.d->FOptions;
    const bool multiSelectShift = button == mbLeft && shift.Contains(ssShift) &&
                                  options.Contains(dgMultiSelect) && FGrid.d->FDataLink->Active();
    if (button == mbLeft && options.Contains(dgTitleButtons) && !multiSelectShift) {
        if (PressTitle(cell, x, y) || options.Contains(dgRightMoving))
            return;
    }
    if (multiSelectShift || !options.Contains(dgColumnResize)) {
        PressTitleCell(button, shift, cell, x, y);
        return;
    }
    // With dgRightMoving the right button moves columns and the left one leaves them be.
    if (options.Contains(dgRightMoving)) {
        if (button == mbRight)
            FGrid.TCustomGrid::MouseDown(mbLeft, shift, x, y, false);
        return;
    }
    FGrid.TCustomGrid::MouseDown(button, shift, x, y, doubleClick);
}

bool TOrvoGridMouse::PressTitle(TGridCoord cell, int x, int y)
{
    const TTitleHit hit = TitleHitAt(cell, x, y);
    FPressedTitle = hit.Column;
    FPressedTitleCol = cell.X;
    const bool filler = IsFiller(cell);
    // A title captures the press only where it acts as a button; its header bands and a
    // title that is no button are left to the column moving and the release.
    const bool captures =
        filler ? FGrid.d->FFillerButton
               : hit.Column && !hit.OnHeader && (hit.Column->Title()->Button() || hit.OnButton);
    if (!captures)
        return false;
    if (!FGrid.hasFocus() && !FGrid.isAncestorOf(QApplication::focusWidget()))
        FGrid.setFocus(Qt::MouseFocusReason);
    FTitleHeld = true;
    FFillerHeld = filler;
    FPressedTitleButton = hit.OnButton;
    FPressPoint = QPoint(x, y);
    FGrid.d->FDataLink->UpdateRecord();
    if (filler)
        FGrid.Painter()->SetFillerPressed(true);
    else
        FGrid.Painter()->SetPressedTitle(hit.Column, hit.OnButton);
    FGrid.viewport()->update();
    return true;
}

void TOrvoGridMouse::PressTitleCell(TMouseButton button, TShiftState shift, TGridCoord cell, int x, int y)
{
    FEntryMark = TEntryMark::Entered;
    if (!FGrid.d->FDataLink->Active())
        return;
    const QString before = FGrid.DataSet()->Bookmark();
    const TOrvoDBGridOptions options = FGrid.d->FOptions;
    if (!options.Contains(dgRowScroll) && cell.X >= FGrid.FixedCols())
        FGrid.MoveCol(cell.X, 0);
    if (button != mbLeft || !options.Contains(dgMultiSelect))
        return;
    FSelection.Press(shift, FGrid.RawToDataColumn(cell.X), true, before);
    if (FGrid.d->FOptionsExt.Contains(dgMouseScrolling) && FSelection.ColumnsBeingSelected())
        StartMouseScroll(x, y);
}

void TOrvoGridMouse::PressDataCell(TMouseButton button, TShiftState shift, TGridCoord cell, int x, int y,
                                   bool doubleClick)
{
    const bool wasCurrent = cell.X == FGrid.Col() && cell.Y == FGrid.Row();
    FEntryMark = TEntryMark::Entered;
    const bool active = FGrid.d->FDataLink->Active();
    const QString before = active ? FGrid.DataSet()->Bookmark() : QString();
    const TOrvoColumn* column = FGrid.ColumnOfGridCol(cell.X);
    if (button == mbLeft && column && column->CheckBox()) {
        FPressedCell = cell;
        FCellHeld = true;
        FHot.TrackPressedCell(cell, x, y);
    }
    if (cell.X >= FGrid.FixedCols()) {
        // The base moves the cell, and the grid's cell selection moves the record with it.
        FGrid.TCustomGrid::MouseDown(button, shift, x, y, doubleClick);
    } else {
        // The indicator and the frozen columns never become current: only the record moves.
        FGrid.TCustomGrid::MouseDown(button, shift, x, y, doubleClick);
        if (active && cell.Y != FGrid.Row())
            MoveToRow(cell.Y);
    }
    if (active && button == mbLeft && FGrid.d->FOptions.Contains(dgMultiSelect))
        FSelection.Press(shift, FGrid.RawToDataColumn(cell.X), false, before);
    FClickOnCurrentCell = button == mbLeft && wasCurrent;
    if (!active || button != mbLeft)
        return;
    const TOrvoDBGridOptions options = FGrid.d->FOptions;
    const bool columnsCtrl = shift.Contains(ssCtrl) && FGrid.HasSelectedCols();
    const bool extendedAlt =
        shift.Contains(ssAlt) && options.Contains(dgMultiSelect) && options.Contains(dgExtendedSelect);
    if (wasCurrent && !doubleClick && column && !column->CheckBox() && !InExpandBox(cell, x) &&
        column->ShowEdit() && !SelectionGesture(shift) && OpenEditorUnder(x, y))
        return;
    if (FGrid.d->FDragRows && !FCellHeld && cell.X >= FGrid.FixedCols()) {
        FRowDragPending = true;
        FPressPoint = QPoint(x, y);
    } else if (!FCellHeld && FGrid.d->FOptionsExt.Contains(dgMouseScrolling) && !columnsCtrl &&
               !extendedAlt) {
        StartMouseScroll(x, y);
    }
}

bool TOrvoGridMouse::SelectionGesture(TShiftState shift) const
{
    const TOrvoDBGridOptions options = FGrid.d->FOptions;
    const bool modifiers = shift.Contains(ssShift) || shift.Contains(ssCtrl) || shift.Contains(ssAlt);
    return modifiers && (options.Contains(dgExtendedSelect) || options.Contains(dgAutoUnselectOff));
}

bool TOrvoGridMouse::OpenEditorUnder(int x, int y)
{
    if (!FGrid.d->FOptions.Contains(dgEditing))
        return false;
    FGrid.ShowEditor();
    QWidget* editor = FGrid.InplaceEditor();
    if (!FGrid.EditorMode() || !editor || !editor->isVisible())
        return false;
    // The press that opened the editor puts its caret where the mouse went down.
    const QPoint at = editor->mapFrom(FGrid.viewport(), QPoint(x, y));
    const QPoint global = FGrid.viewport()->mapToGlobal(QPoint(x, y));
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(editor, &release);
    return true;
}

void TOrvoGridMouse::StartRowDrag()
{
    FRowDragPending = false;
    QStringList bookmarks;
    const TOrvoBookmarkList* selected = FGrid.SelectedRows();
    for (int i = 0; i < selected->Count(); ++i)
        bookmarks << selected->Items(i);
    if (bookmarks.isEmpty())
        bookmarks << FGrid.DataSet()->Bookmark();
    auto* data = new QMimeData;
    data->setData(QStringLiteral("application/x-orvo-bookmarks"), bookmarks.join(QLatin1Char('\n')).toUtf8());
    auto* drag = new QDrag(FGrid.viewport());
    drag->setMimeData(data);
    drag->setPixmap(RowDragPixmap(bookmarks.size()));
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
}

QPixmap TOrvoGridMouse::RowDragPixmap(int rows) const
{
    // One record drags as one sheet, several as a small stack, as the drag cursors do.
    const int sheets = rows > 1 ? 3 : 1;
    const int size = FGrid.fontMetrics().height();
    QPixmap pixmap(size + 2 * (sheets - 1) + 1, size + 2 * (sheets - 1) + 1);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const QPalette palette = FGrid.palette();
    for (int sheet = sheets - 1; sheet >= 0; --sheet) {
        const QRect rect(2 * sheet, 2 * sheet, size * 3 / 4, size);
        painter.fillRect(rect, palette.base());
        painter.setPen(palette.text().color());
        painter.drawRect(rect);
    }
    return pixmap;
}

void TOrvoGridMouse::MoveToRow(int row)
{
    // Selecting another row of the current column moves the dataset to that row's record
    // (a second time when a post on the way rebuilt the rows) and leaves the column alone.
    FGrid.SelectCell(FGrid.Col(), row);
}

bool TOrvoGridMouse::FitColumnWidth(TMouseButton button, int x, int y)
{
    const TOrvoResizeOptions options = FGrid.ResizeOptions();
    if (!options.Contains(button == mbMiddle ? roDefaultWidth : roOptimalWidth))
        return false;
    TOrvoColumn* column = FGrid.ColumnOfGridCol(SizedColumnAt(x, y));
    if (!column)
        return false;
    column->SetWidthBase(button == mbMiddle ? column->DefaultWidth() : OptimalWidth(column));
    return true;
}

int TOrvoGridMouse::CellWidth(const TOrvoColumn* column, const QFontMetrics& metrics) const
{
    const QString text = column->DisplayText();
    const int textWidth = WidestLine(metrics, text);
    // Images stand before the text: the margin once per tree level, or a lone glyph.
    if (column->ImageMargin() > 0)
        return textWidth + (TreeDepth(column) + 1) * column->ImageMargin() + 5;
    const bool glyph = text.isEmpty() && (column->CheckBox() || column->ExpandBox());
    return textWidth + 4 + (glyph ? FGrid.CheckBoxList()->Width() : 0);
}

int TOrvoGridMouse::TreeDepth(const TOrvoColumn* column) const
{
    const TOrvoDBGridTreeView* tree = FGrid.TreeView();
    if (!column->ExpandBox() || !column->ExpandBoxTree() || !tree || !tree->RowLevelField())
        return 0;
    return std::max(0, tree->RowLevel());
}

int TOrvoGridMouse::OptimalWidth(TOrvoColumn* column) const
{
    TOrvoGridDataLink* link = FGrid.d->FDataLink.get();
    if (!link->Active())
        return column->WidthBase();
    const QFontMetrics metrics(column->Font().ToQFont());
    int width = 0;
    {
        const int current = link->ActiveRecord();
        const auto restore = Finally([link, current] { link->SetActiveRecord(current); });
        for (int record = 0; record < link->RecordCount(); ++record) {
            link->SetActiveRecord(record);
            width = std::max(width, CellWidth(column, metrics));
        }
    }
    const TOrvoDBGridOptions options = FGrid.d->FOptions;
    if (width > 4 && options.Contains(dgTitles) && !options.Contains(dgTitleWidthOff)) {
        const QFontMetrics titleMetrics(column->Title()->Font().ToQFont());
        const int caption = WidestLine(titleMetrics, column->Title()->Caption());
        width = std::max(width, caption + 2 * FGrid.GridStyle()->TitleColMargin() + 4);
    }
    return width;
}

// --- Mouse scrolling -----------------------------------------------------------------------------

void TOrvoGridMouse::StartMouseScroll(int x, int y)
{
    const TGridDrawInfo info = FGrid.CalcDrawInfo();
    // A limit stays 0 while the press lies over the frozen columns or the titles, and
    // takes the boundary once the pointer has passed it.
    FScrollLimit = QPoint(MirroredX(x) < info.Horz.FixedBoundary ? 0 : info.Horz.FixedBoundary,
                          y < info.Vert.FixedBoundary ? 0 : info.Vert.FixedBoundary);
    FScrollPoint = QPoint(x, y);
    FMouseScrolling = true;
}

void TOrvoGridMouse::StopMouseScroll()
{
    FMouseScrolling = false;
    if (FScrollTimer)
        FScrollTimer->stop();
}

void TOrvoGridMouse::TrackMouseScroll(int x, int y)
{
    const TGridDrawInfo info = FGrid.CalcDrawInfo();
    if (FScrollLimit.x() == 0 && MirroredX(x) >= info.Horz.FixedBoundary)
        FScrollLimit.setX(info.Horz.FixedBoundary);
    if (FScrollLimit.y() == 0 && y >= info.Vert.FixedBoundary)
        FScrollLimit.setY(info.Vert.FixedBoundary);
    FollowPointer(x, y);
    if (QPoint(x, y) == FScrollPoint)
        return;
    FScrollPoint = QPoint(x, y);
    ScrollStep();
}

void TOrvoGridMouse::FollowPointer(int x, int y)
{
    const TGridCoord cell = FGrid.MouseCoord(x, y);
    const bool columns = FSelection.ColumnsBeingSelected();
    if (!InDataRows(cell) && !(columns && InTitleRows(cell) && cell.X >= 0))
        return;
    if (InDataRows(cell) && cell.Y != FGrid.Row()) {
        if (FMouseScrolling && FSelection.RowsBeingSelected())
            MoveRecords(cell.Y - FGrid.Row());
        else
            MoveToRow(cell.Y);
    }
    if (cell.X >= FGrid.FixedCols() && cell.X != FGrid.Col())
        FGrid.MoveCol(cell.X, 0);
    if (columns)
        FSelection.ExtendColumnsToCurrent();
}

void TOrvoGridMouse::ScrollStep()
{
    const int x = MirroredX(FScrollPoint.x());
    const int y = FScrollPoint.y();
    const int width = FGrid.viewport()->width();
    const bool rowSelect = FGrid.d->FOptions.Contains(dgRowSelect);
    int distance = 0;
    if (x < FScrollLimit.x()) {
        distance = FScrollLimit.x() - x;
        ScrollColumns(rowSelect, -1);
    } else if (x >= width) {
        distance = x - width + 1;
        ScrollColumns(rowSelect, 1);
    }
    const int dataBottom = FGrid.viewport()->height() - TotalRowsHeight();
    if (y < FScrollLimit.y()) {
        distance = FScrollLimit.y() - y;
        MoveRecords(-(distance / 5 + 1));
    } else if (y >= dataBottom) {
        distance = y - dataBottom + 1;
        MoveRecords(distance / 5 + 1);
    }
    if (distance == 0) {
        if (FScrollTimer)
            FScrollTimer->stop();
        return;
    }
    if (!FScrollTimer) {
        FScrollTimer = std::make_unique<QTimer>();
        QObject::connect(FScrollTimer.get(), &QTimer::timeout,
                         [this] { TExceptionHandler::Guard([this] { ScrollStep(); }); });
    }
    FScrollTimer->setInterval(ScrollInterval(distance));
    if (!FScrollTimer->isActive())
        FScrollTimer->start();
}

int TOrvoGridMouse::ScrollInterval(int distance)
{
    return std::max(200 - 15 * distance, 5);
}

void TOrvoGridMouse::ScrollColumns(bool rowSelect, int direction)
{
    if (rowSelect) {
        QScrollBar* bar = FGrid.horizontalScrollBar();
        bar->triggerAction(direction < 0 ? QAbstractSlider::SliderSingleStepSub
                                         : QAbstractSlider::SliderSingleStepAdd);
        return;
    }
    FGrid.MoveCol(FGrid.Col() + direction, direction);
    if (FSelection.ColumnsBeingSelected())
        FSelection.ExtendColumnsToCurrent();
}

void TOrvoGridMouse::MoveRecords(int count)
{
    FGrid.d->FDataLink->UpdateRecord();
    // A range of records being dragged out takes each record passed, not only the last.
    if (FMouseScrolling && FSelection.RowsBeingSelected())
        FSelection.MoveSelecting(count);
    else
        FGrid.DataSet()->MoveBy(count);
}

int TOrvoGridMouse::TotalRowsHeight() const
{
    const int first = FGrid.FirstBottomRow();
    int height = 0;
    for (int row = first; row < FGrid.RowCount(); ++row)
        if (FGrid.BottomRowKind(row - first) != brBlank)
            height += FGrid.RowHeights(row) + FGrid.HorzLineWidth();
    return height;
}

int TOrvoGridMouse::MirroredX(int x) const
{
    return FGrid.layoutDirection() == Qt::RightToLeft ? FGrid.viewport()->width() - x : x;
}

// --- Moves ---------------------------------------------------------------------------------------

void TOrvoGridMouse::MouseMove(TShiftState shift, int x, int y)
{
    FGrid.d->FKeyboard->SetLastShift(shift);
    if (FTitleHeld && shift.Contains(ssLeft))
        TrackTitle(shift, x, y);
    if (FCellHeld)
        FHot.TrackPressedCell(FPressedCell, x, y);
    else if (!FTitleHeld && !shift.Contains(ssLeft))
        FHot.Track(x, y);
    if (FMouseScrolling) {
        if (shift.Contains(ssLeft))
            TrackMouseScroll(x, y);
        else
            StopMouseScroll();
    } else if (FRowDragPending) {
        FRowDragPending = shift.Contains(ssLeft);
        if (FRowDragPending &&
            (QPoint(x, y) - FPressPoint).manhattanLength() >= QApplication::startDragDistance())
            StartRowDrag();
    } else if (TracksMouse(shift)) {
        // The cell under the mouse becomes current, as a drag would make it.
        FollowPointer(x, y);
        FGrid.SetAnchorBookmark(QString());
    }
    FGrid.TCustomGrid::MouseMove(shift, x, y);
    if (FGrid.OnMouseMove)
        FGrid.OnMouseMove(&FGrid, shift, x, y);
}

bool TOrvoGridMouse::TracksMouse(TShiftState shift) const
{
    const QWidget* editor = FGrid.InplaceEditor();
    const bool editorFocused = FGrid.EditorMode() && editor && editor->hasFocus();
    return FGrid.d->FOptionsExt.Contains(dgMouseTracking) && !shift.Contains(ssLeft) && !FTitleHeld &&
           !FCellHeld && FGrid.GridState() == gsNormal && !editorFocused && FGrid.d->FDataLink->Active();
}

void TOrvoGridMouse::TrackTitle(TShiftState shift, int x, int y)
{
    if (StartsColumnDrag(x)) {
        // Past the drag threshold the press becomes a column move from where it began.
        const QPoint from = FPressPoint;
        EndPress();
        FGrid.TCustomGrid::MouseDown(mbLeft, shift, from.x(), from.y(), false);
        return;
    }
    const TGridCoord cell = FGrid.MouseCoord(x, y);
    if (StartsColumnSelection(x, cell)) {
        // Dragged off a title, the press becomes a Shift press there: a range of columns.
        const QPoint from = FPressPoint;
        EndPress();
        FGrid.ClearSelection();
        PressInTitles(mbLeft, shift + ssShift, FGrid.MouseCoord(from.x(), from.y()), from.x(), from.y(),
                      false);
        if (FMouseScrolling)
            TrackMouseScroll(x, y);
        return;
    }
    if (FFillerHeld) {
        const bool over = IsFiller(cell);
        if (FGrid.Painter()->FillerPressed() != over) {
            FGrid.Painter()->SetFillerPressed(over);
            FGrid.viewport()->update();
        }
        return;
    }
    const TTitleHit hit = InTitleRows(cell) ? TitleHitAt(cell, x, y) : TTitleHit();
    const bool over = hit.Column == FPressedTitle && !hit.OnHeader && (!FPressedTitleButton || hit.OnButton);
    TOrvoDBGridPainter* painter = FGrid.Painter();
    if ((painter->PressedTitle() != nullptr) != over) {
        painter->SetPressedTitle(over ? FPressedTitle : nullptr, FPressedTitleButton);
        FGrid.viewport()->update();
    }
}

bool TOrvoGridMouse::StartsColumnSelection(int x, TGridCoord cell) const
{
    const TOrvoDBGridOptions options = FGrid.d->FOptions;
    const bool moved = std::abs(x - FPressPoint.x()) > QApplication::startDragDistance() || InDataRows(cell);
    return FPressedTitle && !FPressedTitleButton && options.Contains(dgMultiSelect) &&
           !options.Contains(dgRowSelect) && FGrid.MultiSelectOptions().Contains(msCols) &&
           FGrid.d->FDataLink->Active() && moved;
}

bool TOrvoGridMouse::StartsColumnDrag(int x) const
{
    const TOrvoDBGridOptions options = FGrid.d->FOptions;
    return FPressedTitle && !FPressedTitleButton && options.Contains(dgColumnResize) &&
           !options.Contains(dgRightMoving) && FGrid.ResizeOptions().Contains(roColumnMoving) &&
           FPressedTitleCol >= FGrid.FixedCols() &&
           std::abs(x - FPressPoint.x()) > QApplication::startDragDistance();
}

// --- Releases ------------------------------------------------------------------------------------

void TOrvoGridMouse::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    FGrid.d->FKeyboard->SetLastShift(shift);
    const bool wasScrolling = FMouseScrolling;
    StopMouseScroll();
    FHot.Clear();
    if (FEntryMark == TEntryMark::Pressed) {
        FEnteredCell = CurrentCell();
        FEntryMark = TEntryMark::Remembered;
    }
    const TGridState state = FGrid.GridState();
    FGrid.TCustomGrid::MouseUp(button, shift, x, y);
    const TGridCoord cell = FGrid.MouseCoord(x, y);
    FReleasedInBox = InExpandBox(cell, x);
    // The base moves a column from the first press on its title; a release that finds the
    // pressed column where it was moved nothing and is a click.
    const bool columnMoved = state == gsColMoving && FGrid.ColumnOfGridCol(FPressCol) != FPressColumn;
    // A drag that ends over the titles or the totals selected on the way; it clicks nothing.
    const bool scrolledOff = wasScrolling && !InDataRows(cell);
    if (button == mbLeft && !IsSizing(state) && !columnMoved && !scrolledOff) {
        if (InTitleRows(cell))
            ReleaseTitle(shift, cell, x, y);
        else if (InDataRows(cell))
            ReleaseDataCell(cell);
        else if (cell.X >= 0 && cell.Y >= FGrid.FirstBottomRow() &&
                 FGrid.BottomRowKind(cell.Y - FGrid.FirstBottomRow()) != brBlank)
            ReleaseBottomCell(cell);
    }
    EndPress();
    if (FGrid.OnMouseUp)
        FGrid.OnMouseUp(&FGrid, button, shift, x, y);
}

void TOrvoGridMouse::ReleaseTitle(TShiftState shift, TGridCoord cell, int x, int y)
{
    const TTitleHit hit = TitleHitAt(cell, x, y);
    const bool filler = IsFiller(cell);
    if (!FGrid.d->FOptions.Contains(dgTitleButtons)) {
        ReleasePlainTitle(shift, hit, filler, cell, y);
        return;
    }
    // With title buttons a click counts only where the button went down: a press dragged
    // off to another title is taken back.
    if (hit.Column != FPressedTitle || filler != FFillerHeld)
        return;
    if (filler) {
        FGrid.FillerClick();
        return;
    }
    if (hit.OnHeader) {
        if (FGrid.OnHeaderClick)
            FGrid.OnHeaderClick(hit.Column, HeaderLevelAt(hit.Column, cell, y));
        return;
    }
    if (!FTitleHeld || !hit.Column)
        return;
    if (FPressedTitleButton) {
        if (hit.OnButton)
            FGrid.TitleButtonClick(hit.Column);
        return;
    }
    ToggleMarker(hit.Column, shift);
    FGrid.TitleClick(hit.Column);
}

void TOrvoGridMouse::ReleasePlainTitle(TShiftState shift, const TTitleHit& hit, bool filler, TGridCoord cell,
                                       int y)
{
    if (filler) {
        FGrid.FillerClick();
    } else if (!hit.Column) {
        return;
    } else if (hit.OnHeader) {
        if (FGrid.OnHeaderClick)
            FGrid.OnHeaderClick(hit.Column, HeaderLevelAt(hit.Column, cell, y));
    } else if (hit.OnButton) {
        FGrid.TitleButtonClick(hit.Column);
    } else {
        if (!(FGrid.d->FOptions.Contains(dgMultiSelect) && shift.Contains(ssShift)))
            ToggleMarker(hit.Column, shift);
        FGrid.TitleClick(hit.Column);
    }
}

void TOrvoGridMouse::ToggleMarker(TOrvoColumn* column, TShiftState shift)
{
    TOrvoColumnTitle* title = column->Title();
    if (FGrid.d->FOptions.Contains(dgMarkerAutoToggle) && title->AutoToggle())
        title->ToggleMarker(!shift.Contains(ssCtrl));
}

void TOrvoGridMouse::ReleaseDataCell(TGridCoord cell)
{
    TOrvoColumn* column = FGrid.ColumnOfGridCol(cell.X);
    if (FCellHeld && cell == FPressedCell) {
        FGrid.CellClick(column);
    } else if (!column) {
        if (FGrid.OnIndicatorClick)
            FGrid.OnIndicatorClick(&FGrid);
    } else if (!column->CheckBox()) {
        const bool clickedColumn = FGrid.d->FOptions.Contains(dgRowScroll) || cell.X < FGrid.FixedCols();
        FGrid.CellClick(clickedColumn ? column : FGrid.SelectedColumn());
    }
}

void TOrvoGridMouse::ReleaseBottomCell(TGridCoord cell)
{
    TOrvoColumn* column = FGrid.ColumnOfGridCol(cell.X);
    if (!column) {
        if (FGrid.OnIndicatorClick)
            FGrid.OnIndicatorClick(&FGrid);
    } else if (FGrid.OnTotalClick) {
        FGrid.OnTotalClick(column, cell.Y - FGrid.FirstBottomRow() - 1);
    }
}

void TOrvoGridMouse::EndPress()
{
    if (FTitleHeld && FGrid.d->FPainter) {
        FGrid.Painter()->SetPressedTitle(nullptr, false);
        FGrid.Painter()->SetFillerPressed(false);
        FGrid.viewport()->update();
    }
    FFillerHeld = false;
    FRowDragPending = false;
    FTitleHeld = false;
    FPressedTitle = nullptr;
    FPressedTitleCol = -1;
    FPressedTitleButton = false;
    FCellHeld = false;
    FPressedCell = TGridCoord();
}

void TOrvoGridMouse::MouseLeave()
{
    FHot.Clear();
}

void TOrvoGridMouse::CancelMode()
{
    StopMouseScroll();
    EndPress();
    FHot.Clear();
}

// --- Click operations ----------------------------------------------------------------------------

void TOrvoGridMouse::CellClick(TOrvoColumn* column)
{
    if (column && column->CheckBox() && (!column->Field() || FGrid.d->FOptions.Contains(dgEditing)) &&
        column->ShowEdit()) {
        const TCheckBoxToggle toggle = column->CheckBoxToggle();
        if (toggle == ctOnCellClick || (toggle == ctSelectClick && FClickOnCurrentCell))
            column->ToggleCheckBox();
    }
    if (column && column->ExpandBox() && (FReleasedInBox || column->ImageMargin() == 0)) {
        const TExpandBoxToggle toggle = column->ExpandBoxToggle();
        if (toggle == etOnCellClick || (toggle == etSelectClick && FClickOnCurrentCell)) {
            FGrid.TreeView()->ExpandBoxClick(FGrid.d->FKeyboard->LastShift());
            return;
        }
    }
    if (FGrid.OnCellClick)
        FGrid.OnCellClick(column);
}

bool TOrvoGridMouse::InExpandBox(TGridCoord cell, int x) const
{
    const TOrvoColumn* column = FGrid.ColumnOfGridCol(cell.X);
    if (!column || !column->ExpandBox() || !InDataRows(cell))
        return false;
    const TOrvoDBGridTreeView* tree = FGrid.TreeView();
    if (column->ExpandBoxTree() && tree && tree->CellExpand())
        return true;
    // The box stands one margin per tree level in from the cell's leading edge.
    const int margin = column->ImageMargin();
    const QRect rect = FGrid.CellRect(cell.X, cell.Y);
    const int indent = TreeDepthOfRow(column, cell.Y) * margin;
    const int from = FGrid.layoutDirection() == Qt::RightToLeft ? rect.right() - indent - margin + 1
                                                                : rect.left() + indent;
    return margin > 0 && x >= from && x < from + margin;
}

int TOrvoGridMouse::TreeDepthOfRow(const TOrvoColumn* column, int row) const
{
    TOrvoGridDataLink* link = FGrid.d->FDataLink.get();
    const int record = row - FGrid.TitleOffset();
    if (!link->Active() || record < 0 || record >= link->RecordCount())
        return 0;
    const int current = link->ActiveRecord();
    const auto restore = Finally([link, current] { link->SetActiveRecord(current); });
    link->SetActiveRecord(record);
    return TreeDepth(column);
}

void TOrvoGridMouse::FillerClick()
{
    const int index = FGrid.d->FFillerIndex;
    if (index == FillerAutoFilterIndex && !FGrid.OnFillerClick) {
        TOrvoDBGridFilter* filter = FGrid.FilterGrid();
        filter->SetAutoFilter(!filter->AutoFilter());
        return;
    }
    if (index == FillerMenuIndex) {
        const QRect filler = FGrid.CellRect(0, 0);
        const QPoint below = FGrid.viewport()->mapToGlobal(filler.bottomLeft());
        if (QMenu* menu = FGrid.d->FFillerPopupMenu) {
            menu->popup(below);
            return;
        }
        if (FGrid.d->FFillerToolMenu) {
            FGrid.ShowPopupMenu(nullptr, hcFiller, below);
            return;
        }
    }
    if (FGrid.OnFillerClick)
        FGrid.OnFillerClick(&FGrid);
}

void TOrvoGridMouse::TitleClick(TOrvoColumn* column)
{
    if (FGrid.OnTitleClick)
        FGrid.OnTitleClick(column);
}

void TOrvoGridMouse::TitleButtonClick(TOrvoColumn* column)
{
    const TOrvoColumnExpandStyle style = column->ExpandStyle();
    // The button does what its glyph shows: a parent's arrow and a drop-down come before
    // the filter button, which shows only while the column filters take part.
    const bool arrow =
        (style == cesAuto && column->HasSubColumns()) || style == cesDropDown || style == cesDropDownMenu;
    if (!arrow && FGrid.FilterGrid()->Filtered() && FGrid.Painter()->AutoFilterApplies(column)) {
        const TFilterStyles offered = column->Title()->AutoFilters() * FGrid.FilterGrid()->AutoFilters();
        ShowFilterTool(column, offered.Contains(fsFilterList));
        return;
    }
    switch (style) {
    case cesNone:
        return;
    case cesAuto:
        if (column->HasSubColumns()) {
            column->SetExpanded(!column->Expanded());
            return;
        }
        break;
    case cesFilterList:
    case cesFilterForm:
        ShowFilterTool(column, style == cesFilterList);
        return;
    default:
        break;
    }
    // The drop-down styles are not offered here: the host hears of the click.
    FireExpandClick(column);
}

void TOrvoGridMouse::ShowFilterTool(TOrvoColumn* column, bool list)
{
    // The editor would keep the keys and the focus the list needs.
    const bool editing = FGrid.EditorMode();
    FGrid.HideEditor();
    if (list)
        FGrid.ShowAutoFilterList(column);
    else
        FGrid.ShowFilterForm();
    if (editing && FGrid.d->FOptions.Contains(dgAlwaysShowEditor) && !FGrid.EditorMode())
        FGrid.ShowEditor();
}

void TOrvoGridMouse::FireExpandClick(TOrvoColumn* column)
{
    const bool editing = FGrid.EditorMode();
    FGrid.HideEditor();
    if (FGrid.OnExpandClick)
        FGrid.OnExpandClick(column);
    if (editing && FGrid.d->FOptions.Contains(dgAlwaysShowEditor))
        FGrid.ShowEditor();
}

void TOrvoGridMouse::ColumnMoving(int fromIndex, int toIndex, bool& accept)
{
    if (!FGrid.OnColumnMoving)
        return;
    // A handler that fails refuses the move; the failure goes no further than that.
    try {
        FGrid.OnColumnMoving(&FGrid, fromIndex, toIndex, accept);
    } catch (...) {
        accept = false;
    }
}

bool TOrvoGridMouse::AcceptColumnMove(int fromIndex, int toIndex)
{
    if (FUndoingMove)
        return false;
    bool accept = true;
    FGrid.ColumnMoving(FGrid.RawToDataColumn(fromIndex), FGrid.RawToDataColumn(toIndex), accept);
    if (!accept) {
        const QScopedValueRollback undoing(FUndoingMove, true);
        FGrid.TCustomGrid::MoveColumn(toIndex, fromIndex);
    }
    return accept;
}

// --- Cell entry ----------------------------------------------------------------------------------

bool TOrvoGridMouse::CellEntered()
{
    const QPair<int, QString> current = CurrentCell();
    if (FEntryMark == TEntryMark::Pressed || FGrid.d->FUpdateLock > 1 ||
        (FEntryMark == TEntryMark::Remembered && current == FEnteredCell))
        return false;
    FEnteredCell = current;
    FEntryMark = TEntryMark::Remembered;
    return true;
}

QPair<int, QString> TOrvoGridMouse::CurrentCell() const
{
    const bool active = FGrid.d->FDataLink->Active();
    return {FGrid.Col(), active ? FGrid.DataSet()->Bookmark() : QString()};
}

// --- Where the mouse is --------------------------------------------------------------------------

bool TOrvoGridMouse::IsFiller(TGridCoord cell) const
{
    return cell.X >= 0 && cell.X < FGrid.IndicatorOffset() && InTitleRows(cell);
}

bool TOrvoGridMouse::InTitleRows(TGridCoord cell) const
{
    return cell.Y >= 0 && cell.Y < FGrid.TitleOffset();
}

bool TOrvoGridMouse::InDataRows(TGridCoord cell) const
{
    return cell.X >= 0 && cell.Y >= FGrid.TitleOffset() && cell.Y < FGrid.FirstBottomRow();
}

bool TOrvoGridMouse::OnSizingEdge(int x, int y) const
{
    TGridState state = gsNormal;
    int index = -1;
    int position = 0;
    int offset = 0;
    FGrid.CalcSizingState(x, y, state, index, position, offset, FGrid.CalcDrawInfo());
    return state != gsNormal;
}

int TOrvoGridMouse::SizedColumnAt(int x, int y) const
{
    TGridState state = gsNormal;
    int index = -1;
    int position = 0;
    int offset = 0;
    FGrid.CalcSizingState(x, y, state, index, position, offset, FGrid.CalcDrawInfo());
    return state == gsColSizing ? index : -1;
}

TOrvoColumn* TOrvoGridMouse::TitleColumnAt(int col, int row) const
{
    TOrvoColumn* column = FGrid.ColumnOfGridCol(col);
    while (column && column->ColumnDepth() > row)
        column = column->ParentColumn();
    return column;
}

QRect TOrvoGridMouse::TitleRect(TOrvoColumn* column, int col, int row) const
{
    const QRect own = FGrid.CellRect(col, row);
    const int line = FGrid.VertLineWidth();
    int left = own.left();
    for (int c = col - 1; c >= FGrid.IndicatorOffset() && Descends(FGrid.ColumnOfGridCol(c), column); --c)
        left -= FGrid.ColWidths(c) > 0 ? FGrid.ColWidths(c) + line : 0;
    int right = own.right();
    for (int c = col + 1; c < FGrid.ColCount() && Descends(FGrid.ColumnOfGridCol(c), column); ++c)
        right += FGrid.ColWidths(c) > 0 ? FGrid.ColWidths(c) + line : 0;
    int top = own.top();
    int bottom = own.bottom();
    if (column == FGrid.ColumnOfGridCol(col)) {
        for (int r = row - 1; r >= column->ColumnDepth(); --r)
            top -= FGrid.RowHeights(r) + FGrid.HorzLineWidth();
        for (int r = row + 1; r < FGrid.TitleOffset(); ++r)
            bottom += FGrid.RowHeights(r) + FGrid.HorzLineWidth();
    }
    QRect title(QPoint(left, top), QPoint(right, bottom));
    if (FGrid.d->FOptions.Contains(dgTitleHeaders))
        title.setTop(top + column->Title()->HeaderLevels() * FGrid.HeaderBandHeight());
    return title;
}

QRect TOrvoGridMouse::TitleButtonRect(TOrvoColumn* column, const QRect& title) const
{
    const TOrvoColumnExpandStyle style = column->ExpandStyle();
    const bool filtering =
        style == cesFilterList || style == cesFilterForm || FGrid.Painter()->AutoFilterApplies(column);
    const bool shown = (style == cesAuto && column->HasSubColumns()) || style == cesDropDown ||
                       style == cesDropDownMenu || (filtering && FGrid.FilterGrid()->Filtered());
    const int width = FGrid.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &FGrid);
    if (!shown || title.width() < width)
        return QRect();
    QRect button = title;
    if (FGrid.layoutDirection() == Qt::RightToLeft)
        button.setWidth(width);
    else
        button.setLeft(title.right() - width + 1);
    return button;
}

TOrvoGridMouse::TTitleHit TOrvoGridMouse::TitleHitAt(TGridCoord cell, int x, int y) const
{
    TTitleHit hit;
    hit.Column = cell.X >= 0 ? TitleColumnAt(cell.X, cell.Y) : nullptr;
    if (!hit.Column)
        return hit;
    const QRect title = TitleRect(hit.Column, cell.X, cell.Y);
    hit.OnHeader = y < title.top();
    hit.OnButton = !hit.OnHeader && TitleButtonRect(hit.Column, title).contains(x, y);
    return hit;
}

int TOrvoGridMouse::HeaderLevelAt(TOrvoColumn* column, TGridCoord cell, int y) const
{
    const int headersTop =
        TitleRect(column, cell.X, cell.Y).top() - column->Title()->HeaderLevels() * FGrid.HeaderBandHeight();
    return (y - headersTop) / std::max(1, FGrid.HeaderBandHeight());
}

} // namespace orvo
