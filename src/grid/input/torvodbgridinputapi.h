#pragma once

#include "platform/gridbase/gridenums.h"

namespace orvo {

class TOrvoGridKeyboard;

/// The moves a data grid's keys make, offered to programs and to the mouse handling as
/// the grid's own (`grid->NextRow(...)`); each hands its work to the grid's keyboard
/// part, which the grid supplies through KeyboardPart.
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

protected:
    TOrvoDBGridInputApi() = default;
    virtual ~TOrvoDBGridInputApi() = default;
    TOrvoDBGridInputApi(const TOrvoDBGridInputApi&) = delete;
    TOrvoDBGridInputApi& operator=(const TOrvoDBGridInputApi&) = delete;

    /// The part that handles the keys.
    virtual TOrvoGridKeyboard& KeyboardPart() const = 0;
};

} // namespace orvo
