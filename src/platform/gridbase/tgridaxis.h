#pragma once

#include <QtGlobal>

#include <vector>

namespace orvo {

/// The sizes of the columns (or rows) of a grid and their cumulative positions.
///
/// Each cell occupies its size plus one grid line; a negative size means the cell
/// takes no room at all, not even for its line, which is how hidden columns vanish.
/// The positions are prefix sums rebuilt lazily after a change, so finding the cell
/// at an offset costs a binary search however many cells there are.
class TGridAxis
{
public:
    /// The largest size and line width kept; larger ones are cut to it, so that a cell's
    /// extent and the positions the grid draws at stay within int arithmetic.
    static constexpr int MaxSize = 1 << 20;

    int Count() const { return int(FSizes.size()); }
    /// Grows with cells of the default size or shrinks from the end.
    void SetCount(int count);

    int DefaultSize() const { return FDefaultSize; }
    /// Also resets every cell to the new default, as the classic grid does.
    void SetDefaultSize(int size);

    int Size(int index) const { return FSizes[size_t(index)]; }
    void SetSize(int index, int size);

    int LineWidth() const { return FLineWidth; }
    void SetLineWidth(int width);

    /// The room a cell occupies including its line.
    int Extent(int index) const;
    /// Where cell `index` begins, counted from cell 0; Position(Count()) is the total.
    /// The total itself may exceed int for many large cells.
    qint64 Position(int index) const;
    /// The cell whose room holds `offset`, or -1 beyond the last cell or below 0.
    int IndexAt(qint64 offset) const;
    /// The first cell that begins at or after `offset` (Count() when none does).
    int FirstIndexFrom(qint64 offset) const;

    /// Moves a cell's size from `from` to `to`, shifting the ones between.
    void Move(int from, int to);
    /// Multiplies every size and the default by m / d.
    void Scale(int m, int d);

private:
    void Invalidate() { FDirty = true; }
    void Rebuild() const;

    std::vector<int> FSizes;
    int FDefaultSize = 0;
    int FLineWidth = 0;
    mutable std::vector<qint64> FPositions{0};
    mutable bool FDirty = false;
};

} // namespace orvo
