#pragma once

#include "platform/gridbase/gridtypes.h"

namespace orvo {

class TOrvoColumn;
class TOrvoCustomDBGrid;
class TOrvoGridMouse;

/// The looks that follow the mouse. Without a button held, a title that acts as a button
/// (or the drop-down part under the mouse) is hot, repainted when dgHotButtons asks for it,
/// and so is the check box of a data cell, repainted where the theme gives it a hot look.
/// While the button is down on a check box, the box looks pressed as long as the mouse
/// stays on its cell.
class TOrvoGridHotTracking
{
public:
    TOrvoGridHotTracking(TOrvoCustomDBGrid& grid, const TOrvoGridMouse& mouse);

    /// The mouse moved to (x, y) with no button held and nothing pressed.
    void Track(int x, int y);
    /// The mouse moved to (x, y) while the button is down on the check box of `pressed`.
    void TrackPressedCell(TGridCoord pressed, int x, int y);
    /// Nothing is hot or pressed any more: the mouse left, a button went up or down.
    void Clear();

    TOrvoColumn* HotTitle() const { return FHotTitle; }
    bool HotOnButton() const { return FHotOnButton; }
    TGridCoord HotCell() const { return FMouseCell; }

private:
    void TrackTitle(int x, int y);
    void TrackCell(int x, int y);
    void SetHotTitle(TOrvoColumn* column, bool onButton);
    void SetMouseCell(TGridCoord cell, bool pressed);
    /// A check box of `column` is drawn with a hot look: themed fixed cells or a themed box.
    bool HasHotLook(const TOrvoColumn* column) const;
    TGridCoord CheckBoxCellAt(int x, int y) const;
    void RepaintTitles();

    TOrvoCustomDBGrid& FGrid;
    const TOrvoGridMouse& FMouse;
    TOrvoColumn* FHotTitle = nullptr;
    bool FHotOnButton = false;
    TGridCoord FMouseCell;
    bool FCellPressed = false;
};

} // namespace orvo
