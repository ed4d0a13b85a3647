#pragma once

#include "grid/columns/columnenums.h"

#include <QVariant>

class QInputMethodEvent;

namespace orvo {

class TInplaceEdit;
class TOrvoCustomDBGrid;

/// Input methods over a data grid, for the languages typed by composing characters. The
/// grid takes input-method events itself, so that a composition started on a cell opens
/// the cell editor and goes on there; the current column's ImeMode chooses the hints the
/// input method is given (or turns it off), for the grid and its editor alike.
class TOrvoGridInputMethod
{
public:
    explicit TOrvoGridInputMethod(TOrvoCustomDBGrid& grid);
    TOrvoGridInputMethod(const TOrvoGridInputMethod&) = delete;
    TOrvoGridInputMethod& operator=(const TOrvoGridInputMethod&) = delete;

    /// The hints a column with `mode` asks for; imDontCare keeps `defaults`.
    static Qt::InputMethodHints HintsOf(TImeMode mode, Qt::InputMethodHints defaults);

    /// The grid's answer to the input method's questions; an invalid value leaves the
    /// question to the widget.
    QVariant Query(Qt::InputMethodQuery query) const;
    /// Hands the current column's settings to the grid and its editor.
    void ApplyColumn();
    /// Hands them to an editor that is being made.
    void ApplyTo(TInplaceEdit* editor) const;
    /// A composition that starts while the editor is closed opens it and continues there.
    /// False when the event is left to the grid base.
    bool InputMethod(QInputMethodEvent* event);

private:
    TImeMode ColumnMode() const;

    TOrvoCustomDBGrid& FGrid;
    Qt::InputMethodHints FDefaultHints;
};

} // namespace orvo
