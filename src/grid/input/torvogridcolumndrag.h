#pragma once

#include "platform/gridbase/gridenums.h"

namespace orvo {

class TOrvoColumn;
class TOrvoCustomDBGrid;
class TOrvoGridMouse;

/// The base grid's edge sizing and title dragging, held to the data grid's rules. A column
/// edge sizes only with roColumnResize, at or below the column's own title level (the edge
/// inside a parent's merged title belongs to the parent's title) and off its header bands;
/// a row edge only while the record is not being edited and above the bottom region. A
/// title drags its column (a parent's merged title the parent with its sub-columns) only
/// with roColumnMoving, and the column lands only among its own siblings.
class TOrvoGridColumnDrag
{
public:
    TOrvoGridColumnDrag(TOrvoCustomDBGrid& grid, const TOrvoGridMouse& mouse);

    /// Refuses the sizing state the base grid found at (x, y) where the rules forbid it.
    void RefineSizingState(int x, int y, TGridState& state, int index) const;
    /// The grid column a drag from the title under (x, y) moves; false when none may move.
    bool DragOrigin(int& origin, int x, int y) const;
    /// Moves `destination` so that the column dragged from `origin` stays among its
    /// siblings, after the whole sub-tree of a sibling it passes to the right; false when
    /// the target takes no columns.
    bool CorrectDestination(int origin, int& destination) const;

private:
    bool SizesFromOwnTitle(int x, int y, int index) const;
    bool TakesColumns(const TOrvoColumn* column) const;

    TOrvoCustomDBGrid& FGrid;
    const TOrvoGridMouse& FMouse;
};

} // namespace orvo
