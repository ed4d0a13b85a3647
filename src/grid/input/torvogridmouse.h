#pragma once

#include "grid/input/torvogridcolumndrag.h"
#include "grid/input/torvogridhottracking.h"
#include "platform/gridbase/gridenums.h"
#include "platform/gridbase/gridtypes.h"

#include <QPair>
#include <QPoint>
#include <QRect>
#include <QString>

#include <memory>

class QTimer;

namespace orvo {

class TOrvoColumn;
class TOrvoCustomDBGrid;

/// What the mouse does in a data grid. A press on a data cell moves the dataset to the
/// cell's record before anything else, so that the current cell and the record never
/// part; a press on a frozen column moves only the record. A click on a title counts only
/// when the button goes up over the title it went down on: it advances the sort marker
/// and fires OnTitleClick, and a click on a parent column's arrow folds or unfolds it.
/// A click on a check-box cell toggles it as the column's CheckBoxToggle asks.
class TOrvoGridMouse
{
public:
    explicit TOrvoGridMouse(TOrvoCustomDBGrid& grid);
    ~TOrvoGridMouse();
    TOrvoGridMouse(const TOrvoGridMouse&) = delete;
    TOrvoGridMouse& operator=(const TOrvoGridMouse&) = delete;

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y, bool doubleClick);
    void MouseMove(TShiftState shift, int x, int y);
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y);

    /// A click on a data cell of `column`: a check box toggles, else OnCellClick fires.
    void CellClick(TOrvoColumn* column);
    /// A click on the title of `column`: OnTitleClick.
    void TitleClick(TOrvoColumn* column);
    /// A click on the drop-down part of a title: a parent column folds or unfolds, other
    /// columns report it through OnExpandClick.
    void TitleButtonClick(TOrvoColumn* column);
    void ColumnMoving(int fromIndex, int toIndex, bool& accept);
    bool CellEntered();
    /// Asks ColumnMoving about a move the base grid just made (grid column indices) and
    /// moves the column back when it is refused; false then.
    bool AcceptColumnMove(int fromIndex, int toIndex);

    /// The column whose title occupies title row `row` above grid column `col`: the leaf
    /// column itself, or the parent whose merged title spans that row. Null for none.
    TOrvoColumn* TitleColumnAt(int col, int row) const;
    /// The whole title of `column` as drawn at title row `row` above grid column `col`,
    /// over every shown sub-column and without its header bands.
    QRect TitleRect(TOrvoColumn* column, int col, int row) const;
    /// The widest text of the column's buffered records + 4, at least the caption's width
    /// with its margins where titles count (dgTitles without dgTitleWidthOff).
    int OptimalWidth(TOrvoColumn* column) const;
    /// The drop-down part at the title's trailing edge, empty when the title shows none.
    QRect TitleButtonRect(TOrvoColumn* column, const QRect& title) const;
    /// The rules the base grid's edge sizing and title dragging follow.
    const TOrvoGridColumnDrag& ColumnDrag() const { return FColumnDrag; }
    /// What lies under the mouse in the title rows.
    struct TTitleHit
    {
        TOrvoColumn* Column = nullptr;
        bool OnHeader = false;
        bool OnButton = false;
    };
    TTitleHit TitleHitAt(TGridCoord cell, int x, int y) const;
    /// The point lies on an edge the base grid sizes.
    bool OnSizingEdge(int x, int y) const;
    /// The mouse left the cells, or the window lost the mouse: hot and pressed looks end,
    /// and so do a press in progress and mouse scrolling.
    void MouseLeave();
    void CancelMode();

private:
    bool InTitleRows(TGridCoord cell) const;
    bool InDataRows(TGridCoord cell) const;
    /// The grid column whose sizing edge lies under the point, -1 for none.
    int SizedColumnAt(int x, int y) const;
    /// A double click on a sizing edge fits the column to its buffered texts
    /// (roOptimalWidth), the middle button gives it its default width (roDefaultWidth);
    /// false when the option is off.
    bool FitColumnWidth(TMouseButton button, int x, int y);
    void PressTitle(TGridCoord cell, int x, int y);
    void PressDataCell(TMouseButton button, TShiftState shift, TGridCoord cell, int x, int y,
                       bool doubleClick);
    /// The multi-selection a left press on a data cell makes (`before`: the record that
    /// was current before the press moved it): Alt gestures act on everything, Shift
    /// extends from the anchor, Ctrl toggles, a plain click starts anew.
    void ApplyClickSelection(TShiftState shift, TGridCoord cell, const QString& before);
    void ExtendSelection(int column, const QString& before);
    void ToggleSelection(int column);
    void StartSelectionAt(int column, bool selectRecord);
    /// Dragging from a data cell: the current cell follows the pointer, and past an edge the
    /// grid scrolls that way, repeated by a timer that runs faster the further out the
    /// pointer is (max(200 - 15 * distance, 5) ms); vertically a distance of d pixels moves
    /// d / 5 + 1 records.
    void StartMouseScroll(int x, int y);
    void StopMouseScroll();
    void TrackMouseScroll(int x, int y);
    void FollowPointer(int x, int y);
    void ScrollStep();
    static int ScrollInterval(int distance);
    void MoveRecords(int count);
    /// The height of the total rows below the data (the blank row not counted).
    int TotalRowsHeight() const;
    /// Horizontal positions count from the leading edge in right-to-left layouts.
    int MirroredX(int x) const;
    /// Moves the dataset to the record shown in data row `row`.
    void MoveToRow(int row);
    /// The pressed look follows the mouse on and off the pressed title, until a drag
    /// past the threshold turns the press into a column move.
    void TrackTitle(TShiftState shift, int x, int y);
    bool StartsColumnDrag(int x) const;
    void ReleaseTitle(TShiftState shift, TGridCoord cell, int x, int y);
    /// Ctrl keeps the other columns' markers, so that several columns order the data.
    void ToggleMarker(TOrvoColumn* column, TShiftState shift);
    void ReleaseDataCell(TGridCoord cell);
    void ReleaseBottomCell(TGridCoord cell);
    int HeaderLevelAt(TOrvoColumn* column, TGridCoord cell, int y) const;
    void EndPress();

    TOrvoCustomDBGrid& FGrid;
    TOrvoGridColumnDrag FColumnDrag;
    TOrvoGridHotTracking FHot;
    /// The grid column of the last press and the column it showed then.
    int FPressCol = -1;
    TOrvoColumn* FPressColumn = nullptr;
    /// The title the left button went down on; null when none is pressed.
    TOrvoColumn* FPressedTitle = nullptr;
    int FPressedTitleCol = -1;
    QPoint FPressPoint;
    bool FPressedTitleButton = false;
    /// A title press is in progress (also on the filler, where no column is pressed).
    bool FTitleHeld = false;
    /// The check-box cell the left button went down on.
    TGridCoord FPressedCell;
    bool FCellHeld = false;
    /// The last left press hit the cell that was current already.
    bool FClickOnCurrentCell = false;
    bool FMouseScrolling = false;
    /// The left and top limits past which the pointer scrolls, and its last point.
    QPoint FScrollLimit;
    QPoint FScrollPoint;
    std::unique_ptr<QTimer> FScrollTimer;
    /// The cell the editor last counted as entered (column and record), or a mark: a press
    /// is under way, or a press reached a data cell.
    enum class TEntryMark
    {
        Remembered,
        Pressed,
        Entered
    };
    TEntryMark FEntryMark = TEntryMark::Remembered;
    QPair<int, QString> FEnteredCell;
    QPair<int, QString> CurrentCell() const;
    /// A refused column move is being taken back.
    bool FUndoingMove = false;
};

} // namespace orvo
