#pragma once

#include "platform/gridbase/gridenums.h"

namespace orvo {

class TOrvoColumn;
class TOrvoGridKeyboard;
class TOrvoGridMouse;

/// The moves a data grid's keys make and the clicks of its mouse, offered to programs and
/// to the mouse handling as the grid's own (`grid->NextRow(...)`); each hands its work to
/// the grid's keyboard or mouse part, which the grid supplies through KeyboardPart and
/// MousePart. A grid class may override the clicks to do something else with them.
class TOrvoDBGridInputApi
{
public:
    /// Makes grid column `col` current, clamped to the scrollable columns; a `direction`
    /// of 1 or -1 steps over hidden columns that way. The editor's text goes to its own
    /// field first, and OnColExit and OnColEnter fire around the move.
    void MoveCol(int col, int direction);
    /// One record on; `select` lets Shift extend a multi-selection (a plain step clears
    /// it), `append` adds a record past the last one where the grid may insert. An empty
    /// record appended or inserted before is taken back instead of moving past it.
    void NextRow(bool select, bool append);
    void PriorRow(bool select);
    /// The modifiers of the last key or mouse event the grid saw.
    TShiftState LastShiftState() const;

    /// A click on a data cell of `column`: a check box toggles as its CheckBoxToggle asks,
    /// and OnCellClick fires.
    virtual void CellClick(TOrvoColumn* column);
    /// A click on the title of `column`, after its sort marker advanced: OnTitleClick.
    virtual void TitleClick(TOrvoColumn* column);
    /// A click on the filler above the indicator: FillerIndex -22 switches the auto-filter,
    /// -7 pops up FillerPopupMenu (or the tool menu with FillerToolMenu); else OnFillerClick.
    virtual void FillerClick();
    /// A click on a title's drop-down part: a parent column folds or unfolds; otherwise,
    /// unless its ExpandStyle is cesNone, OnExpandClick fires.
    virtual void TitleButtonClick(TOrvoColumn* column);
    /// Asked by the cell editor whenever it loads a cell: true when the current cell is
    /// one the user entered since the last answer, so that a drop-down may open by itself.
    /// A press that made a data cell current counts as entering it even when it was current
    /// already; presses anywhere else never count.
    bool CellEntered();
    /// Asked before a column move the user or a program makes takes effect (data column
    /// indices): OnColumnMoving may clear `accept`, and a handler that raises refuses.
    virtual void ColumnMoving(int fromIndex, int toIndex, bool& accept);

protected:
    TOrvoDBGridInputApi() = default;
    virtual ~TOrvoDBGridInputApi() = default;
    TOrvoDBGridInputApi(const TOrvoDBGridInputApi&) = delete;
    TOrvoDBGridInputApi& operator=(const TOrvoDBGridInputApi&) = delete;

    /// The part that handles the keys.
    virtual TOrvoGridKeyboard& KeyboardPart() const = 0;
    /// The part that handles the mouse buttons.
    virtual TOrvoGridMouse& MousePart() const = 0;
};

} // namespace orvo
