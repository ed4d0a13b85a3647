#include "grid/input/torvogridinputmethod.h"

#include "grid/columns/torvocolumn.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "platform/gridbase/tinplaceedit.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>

namespace orvo {

TOrvoGridInputMethod::TOrvoGridInputMethod(TOrvoCustomDBGrid& grid)
    : FGrid(grid), FDefaultHints(grid.inputMethodHints())
{
    FGrid.setAttribute(Qt::WA_InputMethodEnabled, true);
}

Qt::InputMethodHints TOrvoGridInputMethod::HintsOf(TImeMode mode, Qt::InputMethodHints defaults)
{
    switch (mode) {
    case imDontCare:
        return defaults;
    case imDisable:
    case imClose:
        // Direct input: what the keys say, no composing.
        return Qt::ImhLatinOnly | Qt::ImhPreferLatin;
    case imSAlpha:
    case imAlpha:
        return Qt::ImhPreferLatin;
    default:
        // Composition is wanted: the method may use its native mode.
        return Qt::ImhNone;
    }
}

TImeMode TOrvoGridInputMethod::ColumnMode() const
{
    const TOrvoColumn* column = FGrid.SelectedColumn();
    return column ? column->ImeMode() : imDontCare;
}

QVariant TOrvoGridInputMethod::Query(Qt::InputMethodQuery query) const
{
    switch (query) {
    case Qt::ImEnabled:
        return ColumnMode() != imDisable;
    case Qt::ImHints:
        return int(HintsOf(ColumnMode(), FDefaultHints));
    case Qt::ImCursorRectangle: {
        // The candidate window opens at the current cell, where the text will appear.
        const QRect cell = FGrid.CellRect(FGrid.Col(), FGrid.Row());
        return QRect(FGrid.viewport()->mapTo(&FGrid, cell.topLeft()), cell.size());
    }
    default:
        return QVariant();
    }
}

void TOrvoGridInputMethod::ApplyTo(TInplaceEdit* editor) const
{
    const TImeMode mode = ColumnMode();
    editor->setInputMethodHints(HintsOf(mode, FDefaultHints));
    editor->setAttribute(Qt::WA_InputMethodEnabled, mode != imDisable);
}

void TOrvoGridInputMethod::ApplyColumn()
{
    FGrid.setInputMethodHints(HintsOf(ColumnMode(), FDefaultHints));
    if (TInplaceEdit* editor = FGrid.InplaceEditor())
        ApplyTo(editor);
    if (FGrid.hasFocus() || (FGrid.InplaceEditor() && FGrid.InplaceEditor()->hasFocus()))
        QGuiApplication::inputMethod()->update(Qt::ImEnabled | Qt::ImHints);
}

bool TOrvoGridInputMethod::InputMethod(QInputMethodEvent* event)
{
    if (event->preeditString().isEmpty() || FGrid.EditorMode())
        return false;
    FGrid.ShowEditor();
    TInplaceEdit* editor = FGrid.InplaceEditor();
    if (!FGrid.EditorMode() || !editor) {
        // A cell that cannot be edited takes no composition.
        event->ignore();
        return true;
    }
    ApplyColumn();
    editor->setFocus(Qt::OtherFocusReason);
    QCoreApplication::sendEvent(editor, event);
    return true;
}

} // namespace orvo
