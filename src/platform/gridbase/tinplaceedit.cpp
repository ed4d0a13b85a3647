#include "platform/gridbase/tinplaceedit.h"

#include "platform/core/texceptionhandler.h"
#include "platform/gridbase/tcustomgrid.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>

namespace orvo {

namespace {
// QLineEdit's own ceiling, which stands for "no limit".
constexpr int UnlimitedLength = 32767;
} // namespace

TInplaceEdit::TInplaceEdit(TCustomGrid* grid) : QLineEdit(grid->viewport()), FGrid(grid)
{
    setFrame(false);
    hide();
}

void TInplaceEdit::UpdateContents()
{
    const int col = FGrid->Col();
    const int row = FGrid->Row();
    const int limit = FGrid->GetEditLimit();
    setMaxLength(limit > 0 ? limit : UnlimitedLength);
    setInputMask(FGrid->GetEditMask(col, row));
    setText(FGrid->GetEditText(col, row));
    selectAll();
}

void TInplaceEdit::Deselect()
{
    deselect();
    end(false);
}

void TInplaceEdit::SetTextMargins(int left, int right)
{
    setTextMargins(left, 0, right, 0);
}

bool TInplaceEdit::KeyBelongsToGrid(int key, TShiftState shift) const
{
    const bool ctrl = shift.Contains(ssCtrl);
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Escape:
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return FGrid->Options().Contains(goTabs);
    case Qt::Key_Home:
    case Qt::Key_End:
        return ctrl;
    // Ctrl+Delete deletes the record, not the word before the caret.
    case Qt::Key_Delete:
        return ctrl;
    // Left and right leave the cell only from the ends of the text.
    case Qt::Key_Left:
        return !hasSelectedText() && cursorPosition() == 0;
    case Qt::Key_Right:
        return !hasSelectedText() && cursorPosition() == text().length();
    default:
        return false;
    }
}

void TInplaceEdit::KeyDown(int& key, TShiftState shift)
{
    if (KeyBelongsToGrid(key, shift))
        FGrid->KeyDown(key, shift);
}

void TInplaceEdit::KeyPress(QChar& key)
{
    FGrid->KeyPress(key);
    // Asked after the grid's handlers, which may have changed the character.
    if (!key.isNull() && key.isPrint() && !FGrid->CanEditAcceptKey(key))
        key = QChar();
}

void TInplaceEdit::KeyUp(int& key, TShiftState shift)
{
    FGrid->KeyUp(key, shift);
}

void TInplaceEdit::DblClick() {}

bool TInplaceEdit::DoMouseWheel(TShiftState shift, int delta, const QPoint& pos)
{
    return FGrid->DoMouseWheel(shift, delta, mapTo(FGrid->viewport(), pos));
}

bool TInplaceEdit::EditCanModify()
{
    return FGrid->CanEditModify();
}

bool TInplaceEdit::ModifiesText(const QKeyEvent* event) const
{
    if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete)
        return true;
    if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut) ||
        event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo))
        return true;
    const QString typed = event->text();
    return !typed.isEmpty() && typed.at(0).isPrint() && !(event->modifiers() & Qt::ControlModifier);
}

void TInplaceEdit::keyPressEvent(QKeyEvent* event)
{
    TExceptionHandler::Guard([this, event] {
        int key = event->key();
        const TShiftState shift = TCustomGrid::ShiftStateOf(event->modifiers());
        KeyDown(key, shift);
        if (key == 0)
            return;
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
            QChar ch = key == Qt::Key_Escape ? QChar(0x1b) : QChar('\r');
            KeyPress(ch);
            if (ch.isNull())
                return;
        }
        if (ModifiesText(event)) {
            if (!EditCanModify())
                return;
            const QString typed = event->text();
            if (!typed.isEmpty() && typed.at(0).isPrint()) {
                QChar ch = typed.at(0);
                KeyPress(ch);
                if (ch.isNull())
                    return;
                if (ch != typed.at(0)) {
                    insert(QString(ch));
                    emit textEdited(text());
                    return;
                }
            }
        }
        QLineEdit::keyPressEvent(event);
    });
}

void TInplaceEdit::keyReleaseEvent(QKeyEvent* event)
{
    TExceptionHandler::Guard([this, event] {
        int key = event->key();
        KeyUp(key, TCustomGrid::ShiftStateOf(event->modifiers()));
        if (key != 0)
            QLineEdit::keyReleaseEvent(event);
    });
}

void TInplaceEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    QLineEdit::mouseDoubleClickEvent(event);
    TExceptionHandler::Guard([this] { DblClick(); });
}

void TInplaceEdit::wheelEvent(QWheelEvent* event)
{
    TExceptionHandler::Guard([this, event] {
        const TShiftState shift = TCustomGrid::ShiftStateOf(event->modifiers(), event->buttons());
        if (DoMouseWheel(shift, event->angleDelta().y(), event->position().toPoint()))
            event->accept();
        else
            event->ignore();
    });
}

void TInplaceEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    TExceptionHandler::Guard([this, event] {
        FGrid->InvalidateCell(FGrid->Col(), FGrid->Row());
        if (QApplication::focusWidget() != FGrid && !TCustomGrid::IsWindowFocusChange(event->reason()))
            FGrid->DoExit();
    });
}

void TInplaceEdit::inputMethodEvent(QInputMethodEvent* event)
{
    TExceptionHandler::Guard([this, event] {
        if (!event->commitString().isEmpty() && !EditCanModify()) {
            event->ignore();
            return;
        }
        QLineEdit::inputMethodEvent(event);
    });
}

} // namespace orvo
