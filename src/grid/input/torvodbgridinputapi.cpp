// The grid's key moves: each hands its work to the grid's keyboard part.

#include "grid/input/torvodbgridinputapi.h"

#include "grid/input/torvogridkeyboard.h"

namespace orvo {

void TOrvoDBGridInputApi::MoveCol(int col, int direction)
{
    KeyboardPart().MoveCol(col, direction);
}

void TOrvoDBGridInputApi::NextRow(bool select, bool append)
{
    KeyboardPart().NextRow(select, append);
}

void TOrvoDBGridInputApi::PriorRow(bool select)
{
    KeyboardPart().PriorRow(select);
}

TShiftState TOrvoDBGridInputApi::LastShiftState() const
{
    return KeyboardPart().LastShift();
}

} // namespace orvo
