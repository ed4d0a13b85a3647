#pragma once

#include "platform/gridbase/gridenums.h"

#include <Qt>

namespace orvo {

/// The shift state of a key event's modifiers, as the lists' short cuts test it.
inline TShiftState ListShiftState(Qt::KeyboardModifiers modifiers)
{
    TShiftState shift;
    if (modifiers & Qt::ShiftModifier)
        shift.Include(ssShift);
    if (modifiers & Qt::AltModifier)
        shift.Include(ssAlt);
    if (modifiers & Qt::ControlModifier)
        shift.Include(ssCtrl);
    return shift;
}

} // namespace orvo
