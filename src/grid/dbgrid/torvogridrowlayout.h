#pragma once

#include <vector>

namespace orvo {

class TFont;
class TOrvoColumn;
class TOrvoCustomDBGrid;

/// How many rows of each kind the bottom region of a grid holds, top to bottom.
struct TOrvoGridBottomRegion
{
    int Blank = 0;
    int Header = 0;
    int Values = 0;
    int Fields = 0;
    int Footer = 0;
    int Count() const { return Blank + Header + Values + Fields + Footer; }
};

/// The vertical geometry of a grid: how many title and bottom rows it has, how high
/// each row is, and how many records fit between them. It keeps no state of its own;
/// the grid makes one whenever its rows must follow a change.
class TOrvoGridRowLayout
{
public:
    explicit TOrvoGridRowLayout(TOrvoCustomDBGrid& grid);

    /// The height of one text line in `font`.
    static int LineHeightOf(const TFont& font);

    int TitleRowCount() const;
    TOrvoGridBottomRegion BottomRegion() const;
    /// The records that fit between the titles and the total rows (at least one).
    int DataAreaRowCapacity() const;
    /// Rebuilds the row count, the title and bottom rows, their heights and the link's
    /// buffer size from the client height.
    void UpdateRowCount();

private:
    int TitleHeightOf(const TOrvoColumn* column) const;
    std::vector<int> TitleHeights() const;
    int TallestTotalLine() const;
    int TotalRowHeight() const;
    void ApplyRowHeights(int bufferedRecords);

    TOrvoCustomDBGrid& FGrid;
};

} // namespace orvo
