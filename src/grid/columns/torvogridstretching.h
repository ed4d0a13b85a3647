#pragma once

#include <vector>

namespace orvo {

class TOrvoCustomDBGrid;

/// The stretched widths of a data grid's columns. While the grid stretches, the client
/// width is shared among the shown columns in proportion to their base widths; a column
/// whose share falls outside its own width limits, or the grid's stretch limits when it
/// has none, is pinned at the limit and the rest is shared again among the others.
class TOrvoGridStretching
{
public:
    explicit TOrvoGridStretching(TOrvoCustomDBGrid& grid);
    TOrvoGridStretching(const TOrvoGridStretching&) = delete;
    TOrvoGridStretching& operator=(const TOrvoGridStretching&) = delete;

    /// Shares the client width out again; nothing while the grid does not stretch or a
    /// distribution is already running.
    void Distribute();
    /// True while Distribute hands out the widths.
    bool Distributing() const { return FDistributing; }
    /// The width column `index` is shown with: its stretched width while stretching,
    /// else its base width (a hidden column: its Width).
    int ShownWidth(int index) const;
    /// The base width a shown width stands for under the last distribution; the width
    /// itself when nothing was shared.
    int BaseWidth(int shownWidth) const;
    /// The base width a user's drag of a column edge to `width` sets: scaled back from
    /// the space the unpinned columns share, kept as dragged when none was left.
    int DraggedBaseWidth(int width) const;

private:
    /// The width the columns share: the viewport without the indicator column.
    int ClientWidth() const;

    TOrvoCustomDBGrid& FGrid;
    std::vector<int> FWidths;
    int FUnpinnedSpace = 0;      // the pixels left to share after pinning
    int FUnpinnedBaseWidths = 0; // the base widths of the columns that share them
    bool FDistributing = false;
};

} // namespace orvo
