#pragma once

namespace orvo {

class TOrvoCustomDBGrid;

/// The scroll bars of a data grid. The vertical bar follows records rather than rows:
/// the data rows only ever show the link's buffer, so the bar shows record numbers (or,
/// without them, top, middle and bottom) and every action on it moves the dataset. The
/// horizontal bar is the base grid's, hidden or kept on as the flat-bar settings ask.
class TOrvoGridScrollBars
{
public:
    explicit TOrvoGridScrollBars(TOrvoCustomDBGrid& grid);
    TOrvoGridScrollBars(const TOrvoGridScrollBars&) = delete;
    TOrvoGridScrollBars& operator=(const TOrvoGridScrollBars&) = delete;

    /// The vertical bar as the grid computes it: the maximum counts the page in, so
    /// the thumb's last position is Max - Page + 1.
    struct TScrollInfo
    {
        int Min = 0;
        int Max = 0;
        int Page = 0;
        int Pos = 0;
    };

    /// Brings the vertical bar's range, thumb and visibility up to date. Until the grid
    /// has painted once, a dataset that numbers its records is not asked for its count
    /// (a full scan on a large table) while the buffer is full: the bar shows the
    /// buffered records and one page more, and takes its real range in the event-loop
    /// turn after the first paint.
    void UpdateVerticalBar();
    /// Told by the grid after it painted its cells.
    void CellsPainted();
    /// Moves the dataset as a user's `action` on the vertical bar asks.
    void VerticalScrollAction(int action);
    /// Makes the dataset's first or last record current.
    void MoveToEnd(bool last);
    /// Hides the flat horizontal bar when the columns fit (AutoHidden), keeps it shown
    /// and inert otherwise, and sizes its thumb (ThumbBar).
    void UpdateHorzBar();
    /// The width of every shown column with its line.
    int TotalColumnsWidth() const;

private:
    bool GridScrollMode() const;
    bool VerticalBarFits(int visible) const;
    TScrollInfo CalcVerticalBar(int visible) const;
    bool CountWaitsForFirstPaint(int visible) const;
    TScrollInfo CalcProvisionalBar(int visible) const;
    void ResetVerticalBarWithoutData();
    void WriteVerticalBar(const TScrollInfo& info, bool shown);
    void PlainScrollAction(int action, int position, int visible);
    void GridScrollAction(int action, int position, int visible);
    void ScrollView(int rows);
    void ApplyHorzScrollBar();

    TOrvoCustomDBGrid& FGrid;
    bool FUpdatingHorzBar = false;
    bool FHorzBarAgain = false;
    bool FPaintedOnce = false;
    bool FCountPending = false;
};

} // namespace orvo
