#pragma once

namespace orvo {

/// A cell address; -1 in either part means "no cell" (outside the grid).
struct TGridCoord
{
    int X = -1;
    int Y = -1;

    bool operator==(const TGridCoord&) const = default;
};

/// A block of cells from (Left, Top) to (Right, Bottom), both corners included.
struct TGridRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    bool Contains(int col, int row) const
    {
        return col >= Left && col <= Right && row >= Top && row <= Bottom;
    }
    bool operator==(const TGridRect&) const = default;
};

/// The layout of one axis of a grid on screen, as CalcDrawInfo works it out.
struct TGridAxisDrawInfo
{
    /// Width of the grid lines along this axis (0 when the lines are off).
    int EffectiveLineWidth = 0;
    /// Where the frozen cells end and the scrolled ones begin.
    int FixedBoundary = 0;
    /// Where the drawn cells end: the client extent or the grid's end, whichever comes first.
    int GridBoundary = 0;
    /// The extent of the frozen cells plus the scrolled cells from the first shown to the last.
    int GridExtent = 0;
    /// The last scrolled cell that is shown whole (FirstGridCell - 1 when none is).
    int LastFullVisibleCell = 0;
    /// Where the last wholly shown cell ends.
    int FullVisBoundary = 0;
    int FixedCellCount = 0;
    int FirstGridCell = 0;
    int GridCellCount = 0;
};

/// Both axes' layout: Horz for the columns, Vert for the rows.
struct TGridDrawInfo
{
    TGridAxisDrawInfo Horz;
    TGridAxisDrawInfo Vert;
};

} // namespace orvo
