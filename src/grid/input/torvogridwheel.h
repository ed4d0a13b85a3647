#pragma once

#include "platform/gridbase/gridenums.h"

class QPoint;

namespace orvo {

class TOrvoCustomDBGrid;

/// The mouse wheel over a data grid. A notch moves the current record rather than the
/// view, by as many records as WheelScrollRows asks (0: the system's wheel lines, -1: one
/// screen), one with Ctrl and a screen with Shift. With dgScrollRowsMode the record keeps
/// its row on the screen and the view scrolls under it.
class TOrvoGridWheel
{
public:
    explicit TOrvoGridWheel(TOrvoCustomDBGrid& grid);
    TOrvoGridWheel(const TOrvoGridWheel&) = delete;
    TOrvoGridWheel& operator=(const TOrvoGridWheel&) = delete;

    /// Always true: the grid takes every turn of the wheel over it.
    bool DoMouseWheel(TShiftState shift, int delta, const QPoint& pos);
    /// The records one notch moves with `shift` held.
    int RecordsPerNotch(TShiftState shift) const;

private:
    void Notch(bool down, TShiftState shift);
    void ScrollUnderRecord(int distance);

    TOrvoCustomDBGrid& FGrid;
    int FAccumulated = 0;
};

} // namespace orvo
