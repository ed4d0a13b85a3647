#pragma once

#include "grid/input/torvogridcolumndrag.h"
#include "grid/input/torvogridhottracking.h"
#include "grid/input/torvogridmouseselection.h"
#include "platform/gridbase/gridenums.h"
#include "platform/gridbase/gridtypes.h"

#include <QPair>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QString>

#include <memory>

class QFontMetrics;
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
    /// A click on the filler above the indicator: FillerIndex -22 switches the auto-filter
    /// (unless OnFillerClick is assigned), -7 pops up FillerPopupMenu or the tool menu;
    /// otherwise OnFillerClick fires.
    void FillerClick();
    static constexpr int FillerAutoFilterIndex = -22;
    static constexpr int FillerMenuIndex = -7;
    /// A click on the title of `column`: OnTitleClick.
    void TitleClick(TOrvoColumn* column);
    /// A click on the drop-down part of a title: the auto-filter list or the filter form
    /// opens where the column offers it, a parent column folds or unfolds, other columns
    /// report it through OnExpandClick.
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
    /// Opens the auto-filter list (`list`) or the filter form of `column`.
    void ShowFilterTool(TOrvoColumn* column, bool list);
    /// Tells the host of a title button click nothing else took.
    void FireExpandClick(TOrvoColumn* column);
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
    /// The title cell above the indicator.
    bool IsFiller(TGridCoord cell) const;
    bool InDataRows(TGridCoord cell) const;
    /// The grid column whose sizing edge lies under the point, -1 for none.
    int SizedColumnAt(int x, int y) const;
    /// A double click on a sizing edge fits the column to its buffered texts
    /// (roOptimalWidth), the middle button gives it its default width (roDefaultWidth);
    /// false when the option is off.
    bool FitColumnWidth(TMouseButton button, int x, int y);
    /// The room one buffered cell of `column` needs: its widest text line and its images.
    int CellWidth(const TOrvoColumn* column, const QFontMetrics& metrics) const;
    int TreeDepth(const TOrvoColumn* column) const;
    /// The point lies on the expand box of a data cell (or anywhere in a tree cell with
    /// CellExpand).
    bool InExpandBox(TGridCoord cell, int x) const;
    int TreeDepthOfRow(const TOrvoColumn* column, int row) const;
    /// A press in the title rows: a title acting as a button is captured for a click, a
    /// Shift press of multi-selection (or any press without dgColumnResize) selects columns,
    /// anything else goes to the base grid's column moving.
    void PressInTitles(TMouseButton button, TShiftState shift, TGridCoord cell, int x, int y,
                       bool doubleClick);
    /// Captures the press on a title that acts as a button (or the filler with
    /// FillerButton); false when the title takes no press.
    bool PressTitle(TGridCoord cell, int x, int y);
    void PressTitleCell(TMouseButton button, TShiftState shift, TGridCoord cell, int x, int y);
    void PressDataCell(TMouseButton button, TShiftState shift, TGridCoord cell, int x, int y,
                       bool doubleClick);
    /// Shift, Ctrl or Alt select under dgExtendedSelect or dgAutoUnselectOff: no editor then.
    bool SelectionGesture(TShiftState shift) const;
    /// A click on the current cell opens its editor, the caret where the mouse went down.
    /// False when the editor did not open.
    bool OpenEditorUnder(int x, int y);
    /// DragRows: the selected records (or the current one) leave as a drag of bookmarks.
    void StartRowDrag();
    QPixmap RowDragPixmap(int rows) const;
    /// dgMouseTracking: the cell under the mouse follows it while no button is held.
    bool TracksMouse(TShiftState shift) const;
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
    /// One column that way: scrolled with dgRowSelect, else the current column moves.
    void ScrollColumns(bool rowSelect, int direction);
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
    /// With msCols a title dragged sideways or into the data starts a range of columns.
    bool StartsColumnSelection(int x, TGridCoord cell) const;
    void ReleaseTitle(TShiftState shift, TGridCoord cell, int x, int y);
    /// Without title buttons a release clicks whatever it lands on.
    void ReleasePlainTitle(TShiftState shift, const TTitleHit& hit, bool filler, TGridCoord cell, int y);
    /// Ctrl keeps the other columns' markers, so that several columns order the data.
    void ToggleMarker(TOrvoColumn* column, TShiftState shift);
    void ReleaseDataCell(TGridCoord cell);
    void ReleaseBottomCell(TGridCoord cell);
    int HeaderLevelAt(TOrvoColumn* column, TGridCoord cell, int y) const;
    void EndPress();

    TOrvoCustomDBGrid& FGrid;
    TOrvoGridColumnDrag FColumnDrag;
    TOrvoGridHotTracking FHot;
    TOrvoGridMouseSelection FSelection;
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
    bool FFillerHeld = false;
    /// A left press with DragRows waits for the drag threshold.
    bool FRowDragPending = false;
    /// The check-box cell the left button went down on.
    TGridCoord FPressedCell;
    bool FCellHeld = false;
    /// The last left press hit the cell that was current already.
    bool FClickOnCurrentCell = false;
    /// The last release lay inside an expand box.
    bool FReleasedInBox = false;
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
