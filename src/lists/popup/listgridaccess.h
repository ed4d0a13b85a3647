#pragma once

#include "grid/dbgrid/torvocustomdbgrid.h"

namespace orvo {

/// Reaches the grid's cell-modification check, which the grid keeps protected for its
/// editor. A list writes a chosen value back as the editor writes typed text, so it must
/// pass the same check (which also puts the dataset into edit mode) and no other.
class TListGridAccess : public TOrvoCustomDBGrid
{
public:
    static bool CanEditModify(TOrvoCustomDBGrid& grid)
    {
        // A pointer to the member, taken here where it is accessible, and called on the
        // real grid: the virtual call reaches the grid's own override.
        bool (TOrvoCustomDBGrid::*check)() = &TListGridAccess::CanEditModify;
        return (grid.*check)();
    }

private:
    using TOrvoCustomDBGrid::CanEditModify;
};

} // namespace orvo
