#pragma once

#include "platform/gridbase/gridenums.h"

#include <Qt>

namespace orvo {

/// The shift state of an input event: its keyboard modifiers and the mouse buttons held.
inline TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = Qt::NoButton)
{
    TShiftState shift;
    if (modifiers & Qt::ShiftModifier)
        shift.Include(ssShift);
    if (modifiers & Qt::AltModifier)
        shift.Include(ssAlt);
    if (modifiers & Qt::ControlModifier)
        shift.Include(ssCtrl);
    if (buttons & Qt::LeftButton)
        shift.Include(ssLeft);
    if (buttons & Qt::RightButton)
        shift.Include(ssRight);
    if (buttons & Qt::MiddleButton)
        shift.Include(ssMiddle);
    return shift;
}

/// Ctrl held without Shift or Alt: the state of the Ctrl+letter shortcuts.
inline bool ExactlyCtrl(TShiftState shift)
{
    return shift * TShiftState{ssShift, ssAlt, ssCtrl} == TShiftState{ssCtrl};
}

} // namespace orvo
