#include "platform/gridbase/tcustomgrid.h"

#include "platform/core/texceptionhandler.h"
#include "platform/gridbase/shiftstate.h"
#include "platform/gridbase/tinplaceedit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QTimer>
#include <QToolTip>

#include <algorithm>

namespace orvo {

namespace {
// How far from a column or row border a press still grabs it.
constexpr int SizingTolerance = 3;
constexpr int WheelNotch = 120;

TMouseButton ButtonOf(Qt::MouseButton button)
{
    switch (button) {
    case Qt::RightButton:
        return mbRight;
    case Qt::MiddleButton:
        return mbMiddle;
    default:
        return mbLeft;
    }
}
} // namespace

TShiftState TCustomGrid::ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    return orvo::ShiftStateOf(modifiers, buttons);
}

// ---- keyboard -------------------------------------------------------------

void TCustomGrid::keyPressEvent(QKeyEvent* event)
{
    TExceptionHandler::Guard([this, event] {
        int key = event->key();
        KeyDown(key, ShiftStateOf(event->modifiers()));
        if (key != 0 && !event->text().isEmpty())
            CharInput(event->text());
    });
}

void TCustomGrid::keyReleaseEvent(QKeyEvent* event)
{
    TExceptionHandler::Guard([this, event] {
        int key = event->key();
        KeyUp(key, ShiftStateOf(event->modifiers()));
    });
}

void TCustomGrid::KeyDown(int& key, TShiftState shift)
{
    if (key == Qt::Key_F2 && FOptions.Contains(goEditing)) {
        SetEditorMode(true);
        key = 0;
        return;
    }
    if (NavigateByKey(key, shift))
        key = 0;
}

void TCustomGrid::KeyUp(int&, TShiftState) {}

void TCustomGrid::KeyPress(QChar& key)
{
    if (key == QChar('\r') && FOptions.Contains(goEditing)) {
        SetEditorMode(!FEditorMode);
        key = QChar();
    } else if (key == QChar(0x1b) && FEditorMode) {
        // Escape drops what was typed since the editor opened.
        FInplaceEdit->UpdateContents();
        if (FOptions.Contains(goAlwaysShowEditor))
            FInplaceEdit->selectAll();
        else
            HideEditor();
        key = QChar();
    }
}

void TCustomGrid::CharInput(const QString& text)
{
    for (QChar ch : text) {
        KeyPress(ch);
        if (ch.isNull() || !ch.isPrint() || !FOptions.Contains(goEditing) || !CanEditAcceptKey(ch))
            continue;
        ShowEditor();
        if (!FEditorMode || !FInplaceEdit)
            continue;
        // The character that opened the editor is its first input.
        FInplaceEdit->setFocus();
        QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(FInplaceEdit, &typed);
    }
}

bool TCustomGrid::NavigateByKey(int key, TShiftState shift)
{
    const bool ctrl = shift.Contains(ssCtrl);
    const bool moveAnchor = !(shift.Contains(ssShift) && FOptions.Contains(goRangeSelect));
    const auto visibleCol = [this](int from, int step) {
        for (int col = from; col >= FFixedCols && col < ColCount(); col += step)
            if (FCols.Size(col) >= 0)
                return col;
        return -1;
    };
    const int page = std::max(1, VisibleRowCount());
    int col = FCurrent.X;
    int row = FCurrent.Y;
    switch (key) {
    case Qt::Key_Up:
        row = ctrl ? TopRow() : row - 1;
        break;
    case Qt::Key_Down:
        row = ctrl ? TopRow() + std::max(0, VisibleRowCount() - 1) : row + 1;
        break;
    case Qt::Key_PageUp:
        row -= page;
        break;
    case Qt::Key_PageDown:
        row += page;
        break;
    case Qt::Key_Left:
        if (FOptions.Contains(goRowSelect)) {
            SetLeftCol(LeftCol() - 1);
            return true;
        }
        col = visibleCol(col - 1, -1);
        break;
    case Qt::Key_Right:
        if (FOptions.Contains(goRowSelect)) {
            SetLeftCol(LeftCol() + 1);
            return true;
        }
        col = visibleCol(col + 1, 1);
        break;
    case Qt::Key_Home:
        if (ctrl)
            row = FFixedRows;
        col = visibleCol(FFixedCols, 1);
        break;
    case Qt::Key_End:
        if (ctrl)
            row = RowCount() - 1;
        col = visibleCol(ColCount() - 1, -1);
        break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (!FOptions.Contains(goTabs) || ctrl)
            return false;
        TabTo(key == Qt::Key_Backtab || shift.Contains(ssShift));
        return true;
    default:
        return false;
    }
    if (col < 0)
        col = FCurrent.X;
    row = std::clamp(row, FFixedRows, RowCount() - 1);
    if (col != FCurrent.X || row != FCurrent.Y || !moveAnchor)
        MoveColRow(col, row, moveAnchor, true);
    return true;
}

void TCustomGrid::TabTo(bool backward)
{
    const int step = backward ? -1 : 1;
    const int width = ColCount() - FFixedCols;
    int col = FCurrent.X;
    int row = FCurrent.Y;
    // One lap over the columns is enough to find a stop or learn there is none.
    for (int i = 0; i < width; ++i) {
        col += step;
        if (col >= ColCount() || col < FFixedCols) {
            const int nextRow = row + step;
            if (nextRow < FFixedRows || nextRow >= RowCount())
                return;
            row = nextRow;
            col = backward ? ColCount() - 1 : FFixedCols;
        }
        if (FTabStops[size_t(col)] && FCols.Size(col) >= 0) {
            MoveColRow(col, row, true, true);
            return;
        }
    }
}

bool TCustomGrid::focusNextPrevChild(bool next)
{
    // With goTabs the Tab key moves between cells instead of leaving the grid.
    if (FOptions.Contains(goTabs))
        return false;
    return QAbstractScrollArea::focusNextPrevChild(next);
}

// ---- mouse -------------------------------------------------------------

void TCustomGrid::mousePressEvent(QMouseEvent* event)
{
    TExceptionHandler::Guard([this, event] {
        const QPoint pos = event->position().toPoint();
        FLastMouse = pos;
        MouseDown(ButtonOf(event->button()), ShiftStateOf(event->modifiers(), event->buttons()), pos.x(),
                  pos.y(), false);
    });
}

void TCustomGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    TExceptionHandler::Guard([this, event] {
        const QPoint pos = event->position().toPoint();
        FLastMouse = pos;
        MouseDown(ButtonOf(event->button()), ShiftStateOf(event->modifiers(), event->buttons()) + ssDouble,
                  pos.x(), pos.y(), true);
    });
}

void TCustomGrid::mouseMoveEvent(QMouseEvent* event)
{
    TExceptionHandler::Guard([this, event] {
        const QPoint pos = event->position().toPoint();
        FLastMouse = pos;
        MouseMove(ShiftStateOf(event->modifiers(), event->buttons()), pos.x(), pos.y());
    });
}

void TCustomGrid::mouseReleaseEvent(QMouseEvent* event)
{
    TExceptionHandler::Guard([this, event] {
        const QPoint pos = event->position().toPoint();
        FLastMouse = pos;
        MouseUp(ButtonOf(event->button()), ShiftStateOf(event->modifiers(), event->buttons()), pos.x(),
                pos.y());
    });
}

void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y, bool doubleClick)
{
    if (!hasFocus() && !IsOwnEditor(QApplication::focusWidget()))
        setFocus(Qt::MouseFocusReason);
    if (button != mbLeft)
        return;
    const TGridDrawInfo info = CalcDrawInfo();
    TGridState sizing = gsNormal;
    int index = -1;
    int pos = 0;
    int ofs = 0;
    CalcSizingState(x, y, sizing, index, pos, ofs, info);
    if (sizing != gsNormal) {
        StartSizing(sizing, index, pos, ofs);
        return;
    }
    const TGridCoord cell = MouseCoord(x, y);
    if (cell.X < 0)
        return;
    if (FOptions.Contains(goColMoving) && cell.Y < FFixedRows && cell.X >= FFixedCols) {
        int origin = cell.X;
        if (CheckColumnDrag(origin, x, y))
            StartMoving(gsColMoving, origin, x, y);
        return;
    }
    if (FOptions.Contains(goRowMoving) && cell.X < FFixedCols && cell.Y >= FFixedRows) {
        StartMoving(gsRowMoving, cell.Y, x, y);
        return;
    }
    if (cell.X < FFixedCols || cell.Y < FFixedRows)
        return;
    if (doubleClick && FOptions.Contains(goEditing)) {
        SetEditorMode(true);
        return;
    }
    const bool extend = shift.Contains(ssShift) && FOptions.Contains(goRangeSelect);
    MoveColRow(cell.X, cell.Y, !extend, true);
    if (FOptions.Contains(goRangeSelect))
        FGridState = gsSelecting;
}

void TCustomGrid::MouseMove(TShiftState, int x, int y)
{
    switch (FGridState) {
    case gsSelecting: {
        const TGridCoord cell = MouseCoord(x, y);
        if (cell.X >= FFixedCols && cell.Y >= FFixedRows && !(cell == FCurrent) && SelectCell(cell.X, cell.Y))
            MoveCurrent(cell.X, cell.Y, false, false);
        UpdateDragScroll(x, y);
        break;
    }
    case gsColSizing:
    case gsRowSizing: {
        const bool cols = FGridState == gsColSizing;
        const int start = cols ? AxisStart(FCols, FFixedCols, FTopLeft.X, FSizingIndex)
                               : AxisStart(FRows, FFixedRows, FTopLeft.Y, FSizingIndex);
        FSizingPos = std::max(start, (cols ? x : y) + FSizingOfs);
        viewport()->update();
        break;
    }
    case gsColMoving:
    case gsRowMoving:
        UpdateMoving(x, y);
        break;
    case gsNormal: {
        TGridState state = gsNormal;
        int index = -1;
        int pos = 0;
        int ofs = 0;
        CalcSizingState(x, y, state, index, pos, ofs, CalcDrawInfo());
        const Qt::CursorShape shape = state == gsColSizing   ? Qt::SplitHCursor
                                      : state == gsRowSizing ? Qt::SplitVCursor
                                                             : Qt::ArrowCursor;
        viewport()->setCursor(shape);
        break;
    }
    }
}

void TCustomGrid::MouseUp(TMouseButton, TShiftState, int x, int y)
{
    FScrollTimer->stop();
    // The drag ends even when finishing it fails.
    const auto endDrag = qScopeGuard([this] {
        FGridState = gsNormal;
        viewport()->unsetCursor();
        viewport()->update();
    });
    switch (FGridState) {
    case gsColSizing:
    case gsRowSizing:
        MouseMove(TShiftState(), x, y);
        FinishSizing();
        break;
    case gsColMoving:
    case gsRowMoving:
        FinishMoving(x, y);
        break;
    default:
        break;
    }
}

void TCustomGrid::CalcSizingState(int x, int y, TGridState& state, int& index, int& sizingPos, int& sizingOfs,
                                  const TGridDrawInfo& info)
{
    state = gsNormal;
    index = -1;
    // The border grabbed is that of the cell under the point or of the nearest one before
    // it that takes room; zero-width cells keep their border, so they stay sizable.
    const auto findBorder = [&](const TGridAxis& axis, int fixedCount, int first, int boundary, int at) {
        const auto grabs = [&](int cell) {
            const int border = AxisStart(axis, fixedCount, first, cell) + axis.Size(cell);
            if (at < border - SizingTolerance || at >= border + axis.LineWidth() + SizingTolerance)
                return false;
            index = cell;
            sizingPos = border;
            sizingOfs = border - at;
            return true;
        };
        const auto previous = [&](int cell) {
            return cell == first && cell >= fixedCount ? fixedCount - 1 : cell - 1;
        };
        const int cell = AxisCoord(axis, fixedCount, first, boundary, std::min(at, boundary - 1));
        if (cell < 0 || grabs(cell))
            return cell >= 0;
        int before = previous(cell);
        while (before >= 0 && axis.Size(before) < 0)
            before = previous(before);
        return before >= 0 && grabs(before);
    };
    if (FOptions.Contains(goColSizing) && y >= 0 && y < info.Vert.FixedBoundary &&
        findBorder(FCols, FFixedCols, FTopLeft.X, info.Horz.GridBoundary, x))
        state = gsColSizing;
    else if (FOptions.Contains(goRowSizing) && x >= 0 && x < info.Horz.FixedBoundary &&
             findBorder(FRows, FFixedRows, FTopLeft.Y, info.Vert.GridBoundary, y))
        state = gsRowSizing;
}

void TCustomGrid::StartSizing(TGridState state, int index, int pos, int ofs)
{
    FGridState = state;
    FSizingIndex = index;
    FSizingPos = pos;
    FSizingOfs = ofs;
    viewport()->update();
}

void TCustomGrid::FinishSizing()
{
    if (FGridState == gsColSizing) {
        const int start = AxisStart(FCols, FFixedCols, FTopLeft.X, FSizingIndex);
        SetColWidths(FSizingIndex, std::max(0, FSizingPos - start));
    } else {
        const int start = AxisStart(FRows, FFixedRows, FTopLeft.Y, FSizingIndex);
        SetRowHeights(FSizingIndex, std::max(0, FSizingPos - start));
    }
}

bool TCustomGrid::CheckColumnDrag(int&, int, int)
{
    return true;
}

bool TCustomGrid::BeginColumnDrag(int&, int&, const QPoint&)
{
    return true;
}

bool TCustomGrid::EndColumnDrag(int&, int&, const QPoint&)
{
    return true;
}

void TCustomGrid::StartMoving(TGridState state, int index, int x, int y)
{
    FMoveIndex = index;
    FMovePos = index;
    if (state == gsColMoving) {
        int destination = index;
        if (!BeginColumnDrag(FMoveIndex, destination, QPoint(x, y)))
            return;
        FMovePos = destination;
    }
    FGridState = state;
    viewport()->setCursor(Qt::DragMoveCursor);
    viewport()->update();
}

int TCustomGrid::MoveTargetAt(int x, int y) const
{
    const TGridDrawInfo info = CalcDrawInfo();
    const bool cols = FGridState == gsColMoving;
    const TGridAxisDrawInfo& axisInfo = cols ? info.Horz : info.Vert;
    const int at = cols ? x : y;
    if (at < axisInfo.FixedBoundary)
        return axisInfo.FirstGridCell;
    if (at >= axisInfo.GridBoundary) {
        const int lastShown =
            cols ? MouseCoord(axisInfo.GridBoundary - 1, 0).X : MouseCoord(0, axisInfo.GridBoundary - 1).Y;
        return lastShown >= 0 ? lastShown : axisInfo.GridCellCount - 1;
    }
    return cols ? AxisCoord(FCols, FFixedCols, FTopLeft.X, viewport()->width(), at)
                : AxisCoord(FRows, FFixedRows, FTopLeft.Y, viewport()->height(), at);
}

void TCustomGrid::UpdateMoving(int x, int y)
{
    const int target = MoveTargetAt(x, y);
    if (target >= 0 && target != FMovePos) {
        FMovePos = target;
        viewport()->update();
    }
    UpdateDragScroll(x, y);
}

void TCustomGrid::FinishMoving(int x, int y)
{
    int origin = FMoveIndex;
    int destination = FMovePos;
    if (FGridState == gsColMoving) {
        if (EndColumnDrag(origin, destination, QPoint(x, y)) && origin != destination)
            MoveColumn(origin, destination);
    } else if (origin != destination) {
        MoveRow(origin, destination);
    }
}

void TCustomGrid::UpdateDragScroll(int x, int y)
{
    const TGridDrawInfo info = CalcDrawInfo();
    TGridScrollDirections directions;
    const bool horizontal = FGridState != gsRowMoving;
    const bool vertical = FGridState != gsColMoving;
    if (horizontal && x < info.Horz.FixedBoundary && FTopLeft.X > FFixedCols)
        directions.Include(sdLeft);
    if (horizontal && x >= viewport()->width())
        directions.Include(sdRight);
    if (vertical && y < info.Vert.FixedBoundary && FTopLeft.Y > FFixedRows)
        directions.Include(sdUp);
    if (vertical && y >= viewport()->height())
        directions.Include(sdDown);
    FScrollDirections = directions;
    if (directions.IsEmpty())
        FScrollTimer->stop();
    else if (!FScrollTimer->isActive())
        FScrollTimer->start();
}

void TCustomGrid::OnScrollTimer()
{
    if (FGridState == gsNormal || FScrollDirections.IsEmpty()) {
        FScrollTimer->stop();
        return;
    }
    TimedScroll(FScrollDirections);
    if (FGridState == gsColMoving || FGridState == gsRowMoving)
        UpdateMoving(FLastMouse.x(), FLastMouse.y());
}

void TCustomGrid::wheelEvent(QWheelEvent* event)
{
    TExceptionHandler::Guard([this, event] {
        const TShiftState shift = ShiftStateOf(event->modifiers(), event->buttons());
        if (DoMouseWheel(shift, event->angleDelta().y(), event->position().toPoint()))
            event->accept();
        else
            event->ignore();
    });
}

bool TCustomGrid::DoMouseWheel(TShiftState, int delta, const QPoint&)
{
    // Fine-grained wheels report fractions of a notch; they add up to whole rows.
    FWheelAccumulator += delta;
    const int notches = FWheelAccumulator / WheelNotch;
    FWheelAccumulator -= notches * WheelNotch;
    if (notches != 0)
        SetTopRow(TopRow() - notches * QApplication::wheelScrollLines());
    return true;
}

// ---- editor -------------------------------------------------------------

bool TCustomGrid::CanEditShow()
{
    return FOptions.Contains(goEditing) && !FOptions.Contains(goRowSelect) && FCurrent.X >= FFixedCols &&
           FCurrent.Y >= FFixedRows;
}

bool TCustomGrid::CanEditModify()
{
    return true;
}

bool TCustomGrid::CanEditAcceptKey(QChar)
{
    return true;
}

TInplaceEdit* TCustomGrid::CreateEditor()
{
    return new TInplaceEdit(this);
}

QString TCustomGrid::GetEditText(int, int)
{
    return {};
}

void TCustomGrid::SetEditText(int, int, const QString&) {}

QString TCustomGrid::GetEditMask(int, int)
{
    return {};
}

int TCustomGrid::GetEditLimit()
{
    return 0;
}

void TCustomGrid::ShowEditor()
{
    if (!CanEditShow())
        return;
    if (!FInplaceEdit) {
        FInplaceEdit = CreateEditor();
        connect(FInplaceEdit, &QLineEdit::textEdited, this, &TCustomGrid::EditorTextEdited);
    }
    const bool hadFocus = hasFocus();
    FEditorMode = true;
    FInplaceEdit->UpdateContents();
    UpdateEditorGeometry();
    if (hadFocus && FInplaceEdit->isVisible())
        FInplaceEdit->setFocus(Qt::OtherFocusReason);
    InvalidateCell(FCurrent.X, FCurrent.Y);
}

void TCustomGrid::HideEditor()
{
    if (!FEditorMode)
        return;
    FEditorMode = false;
    if (FInplaceEdit) {
        const bool hadFocus = FInplaceEdit->hasFocus();
        FInplaceEdit->hide();
        if (hadFocus)
            setFocus(Qt::OtherFocusReason);
    }
    InvalidateCell(FCurrent.X, FCurrent.Y);
}

void TCustomGrid::UpdateEditorGeometry()
{
    if (!FInplaceEdit || !FEditorMode)
        return;
    const QRect rect = CellRect(FCurrent.X, FCurrent.Y);
    if (rect.isEmpty()) {
        FInplaceEdit->hide();
        return;
    }
    FInplaceEdit->setGeometry(rect);
    FInplaceEdit->show();
}

void TCustomGrid::EditorTextEdited(const QString& text)
{
    TExceptionHandler::Guard([this, &text] { SetEditText(FCurrent.X, FCurrent.Y, text); });
}

bool TCustomGrid::IsWindowFocusChange(Qt::FocusReason reason)
{
    // Switching windows or opening a menu leaves the focus where it was within the form.
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

bool TCustomGrid::IsOwnEditor(const QWidget* widget) const
{
    return widget && widget == FInplaceEdit;
}

// ---- window events -------------------------------------------------------------

bool TCustomGrid::event(QEvent* event)
{
    bool handled = false;
    TExceptionHandler::Guard([this, event, &handled] {
        if (event->type() == QEvent::WindowDeactivate)
            CancelMode();
        handled = QAbstractScrollArea::event(event);
        if (event->type() == QEvent::Paint)
            FramePainted();
    });
    return handled;
}

bool TCustomGrid::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Leave)
        TExceptionHandler::Guard([this] { MouseLeave(); });
    if (event->type() != QEvent::ToolTip)
        return QAbstractScrollArea::viewportEvent(event);
    TExceptionHandler::Guard([this, event] {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString text = HintText(help->pos());
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, viewport());
    });
    return true;
}

void TCustomGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    TExceptionHandler::Guard([this] {
        const TGridCoord oldTopLeft = FTopLeft;
        ClampTopLeft();
        UpdateScrollRange();
        // A descendant may re-lay rows and columns on a resize; the editor follows them.
        Resized();
        UpdateEditorGeometry();
        ReportTopLeftMove(oldTopLeft);
    });
}

void TCustomGrid::moveEvent(QMoveEvent* event)
{
    QAbstractScrollArea::moveEvent(event);
    TExceptionHandler::Guard([this] { Moved(); });
}

void TCustomGrid::showEvent(QShowEvent* event)
{
    QAbstractScrollArea::showEvent(event);
    if (FWindowCreated)
        return;
    FWindowCreated = true;
    TExceptionHandler::Guard([this] {
        WindowCreated();
        if (FOptions.Contains(goAlwaysShowEditor))
            ShowEditor();
    });
}

void TCustomGrid::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    TExceptionHandler::Guard([this] {
        InvalidateCell(FCurrent.X, FCurrent.Y);
        if (FEditorMode && FInplaceEdit && FInplaceEdit->isVisible())
            FInplaceEdit->setFocus(Qt::OtherFocusReason);
        else if (FOptions.Contains(goAlwaysShowEditor))
            ShowEditor();
    });
}

void TCustomGrid::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    TExceptionHandler::Guard([this, event] {
        InvalidateRect(Selection());
        if (IsOwnEditor(QApplication::focusWidget()))
            return;
        CancelMode();
        if (!IsWindowFocusChange(event->reason()))
            DoExit();
    });
}

void TCustomGrid::inputMethodEvent(QInputMethodEvent* event)
{
    TExceptionHandler::Guard([this, event] { InputMethod(event); });
}

void TCustomGrid::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    TExceptionHandler::Guard([this, event] {
        if (event->type() == QEvent::ActivationChange && !isActiveWindow())
            CancelMode();
        else if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange)
            InvalidateGrid();
    });
}

void TCustomGrid::InputMethod(QInputMethodEvent* event)
{
    if (!event->commitString().isEmpty())
        CharInput(event->commitString());
    event->accept();
}

void TCustomGrid::WindowCreated() {}

void TCustomGrid::Resized() {}

void TCustomGrid::Moved() {}

void TCustomGrid::DoExit() {}

QString TCustomGrid::HintText(const QPoint&)
{
    return {};
}

void TCustomGrid::MouseLeave() {}

void TCustomGrid::CancelMode()
{
    FScrollTimer->stop();
    if (FGridState == gsNormal)
        return;
    FGridState = gsNormal;
    viewport()->unsetCursor();
    viewport()->update();
}

} // namespace orvo
