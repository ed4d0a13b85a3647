// The grid's key moves and clicks: each hands its work to the grid's keyboard or mouse part.

#include "grid/input/torvodbgridinputapi.h"

#include "grid/input/torvogridkeyboard.h"
#include "grid/input/torvogridmouse.h"

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

void TOrvoDBGridInputApi::CellClick(TOrvoColumn* column)
{
    MousePart().CellClick(column);
}

void TOrvoDBGridInputApi::TitleClick(TOrvoColumn* column)
{
    MousePart().TitleClick(column);
}

void TOrvoDBGridInputApi::FillerClick()
{
    MousePart().FillerClick();
}

void TOrvoDBGridInputApi::TitleButtonClick(TOrvoColumn* column)
{
    MousePart().TitleButtonClick(column);
}

bool TOrvoDBGridInputApi::CellEntered()
{
    return MousePart().CellEntered();
}

void TOrvoDBGridInputApi::ColumnMoving(int fromIndex, int toIndex, bool& accept)
{
    MousePart().ColumnMoving(fromIndex, toIndex, accept);
}

} // namespace orvo
