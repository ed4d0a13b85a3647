#pragma once

#include "platform/core/tcolor.h"
#include "platform/gridbase/gridenums.h"
#include "platform/gridbase/gridtypes.h"
#include "platform/gridbase/tgridaxis.h"

#include <QAbstractScrollArea>
#include <QMargins>

#include <vector>

class QTimer;

namespace orvo {

class TCanvas;
class TInplaceEdit;

/// The string-less grid base: a scrolled table of cells with frozen rows and columns
/// at the top and left, a current cell and a selection, an in-place editor, and the
/// mouse work of sizing and moving rows and columns. It keeps no cell contents;
/// descendants draw each cell in DrawCell and supply the editor's text.
///
/// The scrolled part moves in whole cells: the vertical scroll bar counts rows from
/// FixedRows, the horizontal one columns from FixedCols. Painting and hit-testing
/// cost in proportion to what is on screen, not to the number of rows.
class TCustomGrid : public QAbstractScrollArea
{
    Q_OBJECT
    Q_PROPERTY(int ColCount READ ColCount WRITE SetColCount)
    Q_PROPERTY(int RowCount READ RowCount WRITE SetRowCount)
    Q_PROPERTY(int FixedCols READ FixedCols WRITE SetFixedCols)
    Q_PROPERTY(int FixedRows READ FixedRows WRITE SetFixedRows)
    Q_PROPERTY(int DefaultColWidth READ DefaultColWidth WRITE SetDefaultColWidth)
    Q_PROPERTY(int DefaultRowHeight READ DefaultRowHeight WRITE SetDefaultRowHeight)
    Q_PROPERTY(int GridLineWidth READ GridLineWidth WRITE SetGridLineWidth)
    Q_PROPERTY(orvo::TColor FixedColor READ FixedColor WRITE SetFixedColor)
    Q_PROPERTY(orvo::TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(orvo::GridEnums::TScrollStyle ScrollBars READ ScrollBars WRITE SetScrollBars)
    Q_PROPERTY(orvo::TGridOptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(orvo::GridEnums::TBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)

    friend class TInplaceEdit;

public:
    explicit TCustomGrid(QWidget* parent = nullptr);
    ~TCustomGrid() override;

    int ColCount() const { return FCols.Count(); }
    void SetColCount(int value);
    int RowCount() const { return FRows.Count(); }
    void SetRowCount(int value);
    int FixedCols() const { return FFixedCols; }
    /// Raises EInvalidGridOperation unless fewer than ColCount.
    void SetFixedCols(int value);
    int FixedRows() const { return FFixedRows; }
    /// Raises EInvalidGridOperation unless fewer than RowCount.
    void SetFixedRows(int value);

    /// A width or height below zero means the column or row takes no room.
    int ColWidths(int index) const;
    void SetColWidths(int index, int value);
    int RowHeights(int index) const;
    void SetRowHeights(int index, int value);
    int DefaultColWidth() const { return FCols.DefaultSize(); }
    /// Resets every column to the new width.
    void SetDefaultColWidth(int value);
    int DefaultRowHeight() const { return FRows.DefaultSize(); }
    /// Resets every row to the new height.
    void SetDefaultRowHeight(int value);
    bool TabStops(int index) const;
    void SetTabStops(int index, bool value);

    /// The first scrolled row and column shown; kept between the fixed cells and the
    /// last position at which the grid's end still fills the window.
    int TopRow() const { return FTopLeft.Y; }
    void SetTopRow(int value);
    int LeftCol() const { return FTopLeft.X; }
    void SetLeftCol(int value);
    int Col() const { return FCurrent.X; }
    void SetCol(int value);
    int Row() const { return FCurrent.Y; }
    void SetRow(int value);
    /// The number of scrolled rows (columns) shown whole.
    int VisibleRowCount() const;
    int VisibleColCount() const;

    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int value);
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value);
    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);

    bool EditorMode() const { return FEditorMode; }
    void SetEditorMode(bool value);
    TInplaceEdit* InplaceEditor() const { return FInplaceEdit; }
    TGridRect Selection() const;
    void SetSelection(const TGridRect& value);
    TGridState GridState() const { return FGridState; }

    /// The rectangle of a cell in viewport coordinates, cut at the grid's visible end;
    /// empty when the cell is scrolled out of view or takes no room.
    QRect CellRect(int col, int row) const;
    QRect BoxRect(int left, int top, int right, int bottom) const;
    /// The cell at a viewport point; (-1, -1) outside the cells.
    TGridCoord MouseCoord(int x, int y) const;
    TGridDrawInfo CalcDrawInfo() const;

    void InvalidateCell(int col, int row);
    void InvalidateRow(int row);
    void InvalidateCol(int col);
    void InvalidateRect(const TGridRect& rect);
    void InvalidateGrid();
    void InvalidateEditor();

    void ShowEditor();
    void HideEditor();
    /// Selects a cell and, with `show`, scrolls it into view.
    void MoveColRow(int col, int row, bool moveAnchor, bool show);
    void FocusCell(int col, int row, bool moveAnchor);
    void MoveColumn(int fromIndex, int toIndex);
    void MoveRow(int fromIndex, int toIndex);
    /// Scrolls one cell in each direction given, as a drag outside the grid does.
    void TimedScroll(TGridScrollDirections directions);

    /// Keeps a band free around the cells (e.g. a search panel above them).
    void SetViewportMargins(int left, int top, int right, int bottom);
    QMargins ViewportMargins() const { return viewportMargins(); }
    /// Repaints the border drawn around the cells.
    void RepaintFrame();
    /// True when a descendant drives the vertical scroll bar itself (a data grid
    /// scrolls through records, not through its rows).
    bool OwnsVerticalScrollBar() const { return FOwnsVerticalScrollBar; }

protected:
    /// Draws the cells the clip rectangle of `canvas` exposes, the grid lines and the rest.
    virtual void Paint(TCanvas& canvas);
    /// Draws one cell on Canvas(); the canvas brush already holds its background colour.
    virtual void DrawCell(int col, int row, const QRect& rect, TGridDrawState state);
    /// True when DrawCell draws lines and the focus frame of its own over the cells. The
    /// grid lines are then laid down before the cells, as the ground those lines cover
    /// or leave showing, and the base draws no focus rectangle.
    virtual bool DrawsOwnLines() const { return false; }
    /// The canvas of the paint in progress; only valid while painting.
    TCanvas& Canvas() const { return *FPaintCanvas; }
    bool Painting() const { return FPaintCanvas != nullptr; }
    virtual bool SelectCell(int col, int row);
    virtual bool CanEditShow();
    virtual bool CanEditModify();
    /// Whether the editor takes the typed character `key`; a refused one is neither
    /// inserted nor opens the editor.
    virtual bool CanEditAcceptKey(QChar key);
    virtual TInplaceEdit* CreateEditor();
    virtual QString GetEditText(int col, int row);
    virtual void SetEditText(int col, int row, const QString& value);
    /// An input mask in QLineEdit's syntax; empty for none.
    virtual QString GetEditMask(int col, int row);
    /// The longest text the editor takes; 0 for no limit.
    virtual int GetEditLimit();
    /// Keys the grid handles set `key` to 0.
    virtual void KeyDown(int& key, TShiftState shift);
    virtual void KeyPress(QChar& key);
    virtual void KeyUp(int& key, TShiftState shift);
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y, bool doubleClick);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    /// Returns true when the wheel was taken.
    virtual bool DoMouseWheel(TShiftState shift, int delta, const QPoint& pos);
    virtual void TopLeftChanged();
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    virtual void ColumnMoved(int fromIndex, int toIndex);
    virtual void RowMoved(int fromIndex, int toIndex);
    virtual void SizeChanged(int oldColCount, int oldRowCount);
    /// Works out which sizing or moving a press at (x, y) would start.
    virtual void CalcSizingState(int x, int y, TGridState& state, int& index, int& sizingPos, int& sizingOfs,
                                 const TGridDrawInfo& info);
    /// Whether a press on the title of column `origin` may start dragging it.
    virtual bool CheckColumnDrag(int& origin, int x, int y);
    virtual bool BeginColumnDrag(int& origin, int& destination, const QPoint& mousePt);
    virtual bool EndColumnDrag(int& origin, int& destination, const QPoint& mousePt);
    virtual void ChangeScale(int m, int d);

    /// Called once, when the grid is first shown.
    virtual void WindowCreated();
    virtual void Resized();
    virtual void Moved();
    /// Focus left the grid and its editor both.
    virtual void DoExit();
    /// Typed text that reached the grid rather than its editor.
    virtual void CharInput(const QString& text);
    virtual void InputMethod(QInputMethodEvent* event);
    /// The tooltip for a viewport point; empty for none.
    virtual QString HintText(const QPoint& pos);
    /// Ends any drag in progress: focus went away, the window was deactivated or the mouse lost.
    virtual void CancelMode();
    /// The mouse left the cells' area: anything drawn hot under it goes back to normal.
    virtual void MouseLeave();
    /// Hands the vertical scroll bar to the descendant: the grid no longer sets its
    /// range or follows it, and every user action on it reaches VerticalScrollAction.
    void SetOwnsVerticalScrollBar(bool value);
    /// A user action on an owned vertical bar (a QAbstractSlider::SliderAction); the
    /// slider already shows where the action would go.
    virtual void VerticalScrollAction(int action);
    /// The scroll bars' ranges and page steps were just recomputed; a descendant may
    /// restyle or hide them.
    virtual void ScrollRangeUpdated();
    /// The border around the viewport was just painted (the widget is still inside its
    /// paint event); a descendant may draw over it.
    virtual void FramePainted();

    bool focusNextPrevChild(bool next) override;
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

    static TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = Qt::NoButton);

private:
    // Geometry helpers (one axis at a time).
    int AxisStart(const TGridAxis& axis, int fixedCount, int first, int index) const;
    int AxisCoord(const TGridAxis& axis, int fixedCount, int first, int clientExtent, int offset) const;
    void CalcAxis(TGridAxisDrawInfo& info, const TGridAxis& axis, int fixedCount, int first,
                  int clientExtent) const;
    int MaxFirst(const TGridAxis& axis, int fixedCount, int clientExtent) const;
    void UpdateLineWidths();

    // Scrolling and selection.
    void MoveTopLeft(int left, int top);
    void ClampTopLeft();
    void ReportTopLeftMove(TGridCoord oldTopLeft);
    void ClampInView(TGridCoord coord);
    void UpdateScrollRange();
    void MoveCurrent(int col, int row, bool moveAnchor, bool show);
    void MoveAnchor(TGridCoord coord);
    void ClampCurrent();
    /// Keeps the current cell, the scroll position and the editor within a changed grid.
    void AdjustToSize();
    TGridRect SelectionOf(TGridCoord anchor, TGridCoord current) const;
    void InvalidateSelectionChange(const TGridRect& before);

    // Painting.
    void PaintCells(TCanvas& canvas, const TGridDrawInfo& info, const QRect& clip);
    void PaintBlock(TCanvas& canvas, int col0, int col1, int row0, int row1, const QRect& clip);
    void PaintLines(TCanvas& canvas, int col0, int col1, int row0, int row1, const TGridDrawInfo& info);
    void PaintDragFeedback(TCanvas& canvas, const TGridDrawInfo& info);
    TGridDrawState DrawStateOf(int col, int row) const;
    TColor CellColor(TGridDrawState state) const;

    // Keyboard.
    bool NavigateByKey(int key, TShiftState shift);
    void TabTo(bool backward);

    // Mouse drags.
    void StartSizing(TGridState state, int index, int pos, int ofs);
    void FinishSizing();
    void StartMoving(TGridState state, int index, int x, int y);
    void UpdateMoving(int x, int y);
    void FinishMoving(int x, int y);
    void UpdateDragScroll(int x, int y);
    void OnScrollTimer();
    int MoveTargetAt(int x, int y) const;

    // Editor.
    void UpdateEditorGeometry();
    void EditorTextEdited(const QString& text);
    bool IsOwnEditor(const QWidget* widget) const;
    static bool IsWindowFocusChange(Qt::FocusReason reason);

    TGridAxis FCols;
    TGridAxis FRows;
    std::vector<bool> FTabStops;
    int FFixedCols = 1;
    int FFixedRows = 1;
    int FGridLineWidth = 1;
    TColor FFixedColor = clBtnFace;
    TColor FColor = clWindow;
    TScrollStyle FScrollBars = ssBoth;
    TGridOptions FOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    TBorderStyle FBorderStyle = bsSingle;
    TGridCoord FTopLeft{1, 1};
    TGridCoord FCurrent{1, 1};
    TGridCoord FAnchor{1, 1};
    bool FEditorMode = false;
    TInplaceEdit* FInplaceEdit = nullptr;
    bool FWindowCreated = false;
    bool FUpdatingScrollBars = false;
    bool FOwnsVerticalScrollBar = false;
    TCanvas* FPaintCanvas = nullptr;
    int FWheelAccumulator = 0;

    TGridState FGridState = gsNormal;
    int FSizingIndex = -1;
    int FSizingPos = 0;
    int FSizingOfs = 0;
    int FMoveIndex = -1;
    int FMovePos = -1;
    QPoint FLastMouse;
    QTimer* FScrollTimer = nullptr;
    TGridScrollDirections FScrollDirections;
};

} // namespace orvo
