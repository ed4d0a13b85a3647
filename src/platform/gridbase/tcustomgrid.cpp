#include "platform/gridbase/tcustomgrid.h"

#include "platform/core/exceptions.h"
#include "platform/core/texceptionhandler.h"
#include "platform/gridbase/movedindex.h"
#include "platform/gridbase/tinplaceedit.h"

#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <limits>

namespace orvo {

namespace {

void checkIndex(int index, int count)
{
    if (index < 0 || index >= count)
        throw EInvalidGridOperation(QStringLiteral("Grid index out of range"));
}
constexpr int DefaultCount = 5;
constexpr int ClassicColWidth = 64;
constexpr int ClassicRowHeight = 24;
constexpr int ScrollTimerInterval = 60;
} // namespace

TCustomGrid::TCustomGrid(QWidget* parent) : QAbstractScrollArea(parent)
{
    FCols.SetDefaultSize(ClassicColWidth);
    FRows.SetDefaultSize(ClassicRowHeight);
    FCols.SetCount(DefaultCount);
    FRows.SetCount(DefaultCount);
    FTabStops.assign(DefaultCount, true);
    UpdateLineWidths();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    FScrollTimer = new QTimer(this);
    FScrollTimer->setInterval(ScrollTimerInterval);
    horizontalScrollBar()->setTracking(FOptions.Contains(goThumbTracking));
    verticalScrollBar()->setTracking(FOptions.Contains(goThumbTracking));
    connect(FScrollTimer, &QTimer::timeout, this,
            [this] { TExceptionHandler::Guard([this] { OnScrollTimer(); }); });
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this, [this](int action) {
        if (FOwnsVerticalScrollBar)
            TExceptionHandler::Guard([this, action] { VerticalScrollAction(action); });
    });
    UpdateScrollRange();
}

TCustomGrid::~TCustomGrid()
{
    // The editor goes first: as a child destroyed later it would report losing focus
    // to a grid that no longer exists.
    delete FInplaceEdit;
}

void TCustomGrid::SetColCount(int value)
{
    value = std::max(value, 1);
    if (value == ColCount())
        return;
    if (FFixedCols >= value)
        SetFixedCols(value - 1);
    const int oldCols = ColCount();
    FCols.SetCount(value);
    FTabStops.resize(size_t(value), true);
    AdjustToSize();
    SizeChanged(oldCols, RowCount());
}

void TCustomGrid::SetRowCount(int value)
{
    value = std::max(value, 1);
    if (value == RowCount())
        return;
    if (FFixedRows >= value)
        SetFixedRows(value - 1);
    const int oldRows = RowCount();
    FRows.SetCount(value);
    AdjustToSize();
    SizeChanged(ColCount(), oldRows);
}

void TCustomGrid::SetFixedCols(int value)
{
    if (value < 0 || value >= ColCount())
        throw EInvalidGridOperation(QStringLiteral("Fixed column count must be less than column count"));
    if (value == FFixedCols)
        return;
    const TGridCoord oldTopLeft = FTopLeft;
    FFixedCols = value;
    FTopLeft.X = std::max(FTopLeft.X, value);
    ClampCurrent();
    ClampTopLeft();
    UpdateScrollRange();
    InvalidateGrid();
    ReportTopLeftMove(oldTopLeft);
}

void TCustomGrid::SetFixedRows(int value)
{
    if (value < 0 || value >= RowCount())
        throw EInvalidGridOperation(QStringLiteral("Fixed row count must be less than row count"));
    if (value == FFixedRows)
        return;
    const TGridCoord oldTopLeft = FTopLeft;
    FFixedRows = value;
    FTopLeft.Y = std::max(FTopLeft.Y, value);
    ClampCurrent();
    ClampTopLeft();
    UpdateScrollRange();
    InvalidateGrid();
    ReportTopLeftMove(oldTopLeft);
}

int TCustomGrid::ColWidths(int index) const
{
    checkIndex(index, ColCount());
    return FCols.Size(index);
}

void TCustomGrid::SetColWidths(int index, int value)
{
    checkIndex(index, ColCount());
    if (FCols.Size(index) == value)
        return;
    FCols.SetSize(index, value);
    ColWidthsChanged();
}

int TCustomGrid::RowHeights(int index) const
{
    checkIndex(index, RowCount());
    return FRows.Size(index);
}

void TCustomGrid::SetRowHeights(int index, int value)
{
    checkIndex(index, RowCount());
    if (FRows.Size(index) == value)
        return;
    FRows.SetSize(index, value);
    RowHeightsChanged();
}

void TCustomGrid::SetDefaultColWidth(int value)
{
    if (value == DefaultColWidth())
        return;
    FCols.SetDefaultSize(value);
    ColWidthsChanged();
}

void TCustomGrid::SetDefaultRowHeight(int value)
{
    if (value == DefaultRowHeight())
        return;
    FRows.SetDefaultSize(value);
    RowHeightsChanged();
}

bool TCustomGrid::TabStops(int index) const
{
    checkIndex(index, ColCount());
    return FTabStops[size_t(index)];
}

void TCustomGrid::SetTabStops(int index, bool value)
{
    checkIndex(index, ColCount());
    FTabStops[size_t(index)] = value;
}

void TCustomGrid::SetTopRow(int value)
{
    MoveTopLeft(FTopLeft.X, value);
}

void TCustomGrid::SetLeftCol(int value)
{
    MoveTopLeft(value, FTopLeft.Y);
}

void TCustomGrid::SetCol(int value)
{
    MoveColRow(value, FCurrent.Y, true, true);
}

void TCustomGrid::SetRow(int value)
{
    MoveColRow(FCurrent.X, value, true, true);
}

int TCustomGrid::VisibleRowCount() const
{
    const TGridDrawInfo info = CalcDrawInfo();
    return std::max(0, info.Vert.LastFullVisibleCell - TopRow() + 1);
}

int TCustomGrid::VisibleColCount() const
{
    const TGridDrawInfo info = CalcDrawInfo();
    return std::max(0, info.Horz.LastFullVisibleCell - LeftCol() + 1);
}

void TCustomGrid::SetGridLineWidth(int value)
{
    value = std::clamp(value, 0, TGridAxis::MaxSize);
    if (value == FGridLineWidth)
        return;
    const TGridCoord oldTopLeft = FTopLeft;
    FGridLineWidth = value;
    UpdateLineWidths();
    ClampTopLeft();
    UpdateScrollRange();
    InvalidateGrid();
    UpdateEditorGeometry();
    ReportTopLeftMove(oldTopLeft);
}

void TCustomGrid::SetFixedColor(TColor value)
{
    if (value == FFixedColor)
        return;
    FFixedColor = value;
    InvalidateGrid();
}

void TCustomGrid::SetColor(TColor value)
{
    if (value == FColor)
        return;
    FColor = value;
    InvalidateGrid();
}

void TCustomGrid::SetScrollBars(TScrollStyle value)
{
    if (value == FScrollBars)
        return;
    FScrollBars = value;
    const bool horizontal = value == ssHorizontal || value == ssBoth;
    const bool vertical = value == ssVertical || value == ssBoth;
    setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    if (!FOwnsVerticalScrollBar)
        setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    UpdateScrollRange();
}

void TCustomGrid::SetOptions(TGridOptions value)
{
    if (value == FOptions)
        return;
    const TGridOptions old = FOptions;
    const TGridCoord oldTopLeft = FTopLeft;
    FOptions = value;
    if (!FOptions.Contains(goEditing))
        HideEditor();
    else if (FOptions.Contains(goAlwaysShowEditor) && !old.Contains(goAlwaysShowEditor))
        ShowEditor();
    if (FOptions.Contains(goRowSelect))
        FAnchor = FCurrent;
    UpdateLineWidths();
    horizontalScrollBar()->setTracking(FOptions.Contains(goThumbTracking));
    verticalScrollBar()->setTracking(FOptions.Contains(goThumbTracking));
    ClampTopLeft();
    UpdateScrollRange();
    InvalidateGrid();
    UpdateEditorGeometry();
    ReportTopLeftMove(oldTopLeft);
}

void TCustomGrid::SetBorderStyle(TBorderStyle value)
{
    if (value == FBorderStyle)
        return;
    FBorderStyle = value;
    setFrameShape(value == bsNone ? QFrame::NoFrame : QFrame::StyledPanel);
}

void TCustomGrid::SetEditorMode(bool value)
{
    if (value)
        ShowEditor();
    else if (!FOptions.Contains(goAlwaysShowEditor))
        HideEditor();
}

TGridRect TCustomGrid::Selection() const
{
    return SelectionOf(FAnchor, FCurrent);
}

void TCustomGrid::SetSelection(const TGridRect& value)
{
    const TGridRect before = Selection();
    FAnchor = {std::clamp(value.Left, FFixedCols, ColCount() - 1),
               std::clamp(value.Top, FFixedRows, RowCount() - 1)};
    FCurrent = {std::clamp(value.Right, FFixedCols, ColCount() - 1),
                std::clamp(value.Bottom, FFixedRows, RowCount() - 1)};
    InvalidateSelectionChange(before);
    UpdateEditorGeometry();
}

TGridRect TCustomGrid::SelectionOf(TGridCoord anchor, TGridCoord current) const
{
    if (FOptions.Contains(goRowSelect))
        return {FFixedCols, std::min(anchor.Y, current.Y), ColCount() - 1, std::max(anchor.Y, current.Y)};
    return {std::min(anchor.X, current.X), std::min(anchor.Y, current.Y), std::max(anchor.X, current.X),
            std::max(anchor.Y, current.Y)};
}

// ---- geometry -------------------------------------------------------------

void TCustomGrid::UpdateLineWidths()
{
    const bool vertLines = FOptions.Contains(goVertLine) || FOptions.Contains(goFixedVertLine);
    const bool horzLines = FOptions.Contains(goHorzLine) || FOptions.Contains(goFixedHorzLine);
    FCols.SetLineWidth(vertLines ? FGridLineWidth : 0);
    FRows.SetLineWidth(horzLines ? FGridLineWidth : 0);
}

int TCustomGrid::AxisStart(const TGridAxis& axis, int fixedCount, int first, int index) const
{
    if (index < fixedCount)
        return int(axis.Position(index));
    return int(axis.Position(fixedCount) + axis.Position(index) - axis.Position(first));
}

int TCustomGrid::AxisCoord(const TGridAxis& axis, int fixedCount, int first, int clientExtent,
                           int offset) const
{
    const qint64 fixedBoundary = axis.Position(fixedCount);
    const qint64 gridEnd = fixedBoundary + axis.Position(axis.Count()) - axis.Position(first);
    if (offset < 0 || offset >= std::min<qint64>(clientExtent, gridEnd))
        return -1;
    if (offset < fixedBoundary)
        return axis.IndexAt(offset);
    return axis.IndexAt(offset - fixedBoundary + axis.Position(first));
}

void TCustomGrid::CalcAxis(TGridAxisDrawInfo& info, const TGridAxis& axis, int fixedCount, int first,
                           int clientExtent) const
{
    const qint64 fixedBoundary = axis.Position(fixedCount);
    const qint64 scrolledEnd = axis.Position(axis.Count()) - axis.Position(first);
    info.EffectiveLineWidth = axis.LineWidth();
    info.FixedBoundary = int(fixedBoundary);
    info.GridExtent = int(std::min<qint64>(fixedBoundary + scrolledEnd, std::numeric_limits<int>::max()));
    info.GridBoundary = std::min(clientExtent, info.GridExtent);
    info.FixedCellCount = fixedCount;
    info.FirstGridCell = first;
    info.GridCellCount = axis.Count();
    // A scrolled cell is shown whole when it ends within the room after the fixed cells:
    // the last such one precedes the first cell that begins past that room.
    const qint64 limit = axis.Position(first) + std::max<qint64>(0, clientExtent - fixedBoundary);
    int firstPast = axis.FirstIndexFrom(limit + 1);
    if (firstPast == axis.Count() && axis.Position(axis.Count()) <= limit)
        firstPast = axis.Count() + 1;
    info.LastFullVisibleCell = std::max(first - 1, firstPast - 2);
    info.FullVisBoundary = AxisStart(axis, fixedCount, first, info.LastFullVisibleCell + 1);
}

TGridDrawInfo TCustomGrid::CalcDrawInfo() const
{
    TGridDrawInfo info;
    const QSize client = viewport()->size();
    CalcAxis(info.Horz, FCols, FFixedCols, FTopLeft.X, client.width());
    CalcAxis(info.Vert, FRows, FFixedRows, FTopLeft.Y, client.height());
    return info;
}

QRect TCustomGrid::BoxRect(int left, int top, int right, int bottom) const
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, ColCount() - 1);
    bottom = std::min(bottom, RowCount() - 1);
    // Cells scrolled out of view between the fixed part and the first shown one are skipped.
    if (left >= FFixedCols && left < FTopLeft.X)
        left = FTopLeft.X;
    if (top >= FFixedRows && top < FTopLeft.Y)
        top = FTopLeft.Y;
    if (left > right || top > bottom || (right >= FFixedCols && right < FTopLeft.X) ||
        (bottom >= FFixedRows && bottom < FTopLeft.Y))
        return {};
    const TGridDrawInfo info = CalcDrawInfo();
    const int x0 = AxisStart(FCols, FFixedCols, FTopLeft.X, left);
    const int y0 = AxisStart(FRows, FFixedRows, FTopLeft.Y, top);
    const int x1 = std::min(AxisStart(FCols, FFixedCols, FTopLeft.X, right) + std::max(FCols.Size(right), 0),
                            info.Horz.GridBoundary);
    const int y1 =
        std::min(AxisStart(FRows, FFixedRows, FTopLeft.Y, bottom) + std::max(FRows.Size(bottom), 0),
                 info.Vert.GridBoundary);
    if (x0 >= info.Horz.GridBoundary || y0 >= info.Vert.GridBoundary || x1 <= x0 || y1 <= y0)
        return {};
    return QRect(QPoint(x0, y0), QPoint(x1 - 1, y1 - 1));
}

QRect TCustomGrid::CellRect(int col, int row) const
{
    return BoxRect(col, row, col, row);
}

TGridCoord TCustomGrid::MouseCoord(int x, int y) const
{
    const QSize client = viewport()->size();
    const int col = AxisCoord(FCols, FFixedCols, FTopLeft.X, client.width(), x);
    const int row = AxisCoord(FRows, FFixedRows, FTopLeft.Y, client.height(), y);
    if (col < 0 || row < 0)
        return {};
    return {col, row};
}

// ---- invalidation -------------------------------------------------------------

void TCustomGrid::InvalidateRect(const TGridRect& rect)
{
    const QRect box = BoxRect(rect.Left, rect.Top, rect.Right, rect.Bottom);
    if (box.isEmpty())
        return;
    // The grid lines to the right and below belong to the cells too.
    viewport()->update(box.adjusted(0, 0, FGridLineWidth, FGridLineWidth));
}

void TCustomGrid::InvalidateCell(int col, int row)
{
    InvalidateRect({col, row, col, row});
}

void TCustomGrid::InvalidateRow(int row)
{
    InvalidateRect({0, row, ColCount() - 1, row});
}

void TCustomGrid::InvalidateCol(int col)
{
    InvalidateRect({col, 0, col, RowCount() - 1});
}

void TCustomGrid::InvalidateGrid()
{
    viewport()->update();
}

void TCustomGrid::InvalidateEditor()
{
    if (FInplaceEdit && FEditorMode)
        FInplaceEdit->UpdateContents();
    UpdateEditorGeometry();
}

void TCustomGrid::InvalidateSelectionChange(const TGridRect& before)
{
    InvalidateRect(before);
    InvalidateRect(Selection());
}

void TCustomGrid::RepaintFrame()
{
    update();
}

void TCustomGrid::SetViewportMargins(int left, int top, int right, int bottom)
{
    setViewportMargins(left, top, right, bottom);
    UpdateScrollRange();
}

// ---- scrolling and current cell -------------------------------------------------------------

int TCustomGrid::MaxFirst(const TGridAxis& axis, int fixedCount, int clientExtent) const
{
    const qint64 room = clientExtent - axis.Position(fixedCount);
    const qint64 total = axis.Position(axis.Count());
    const int first = room <= 0 ? axis.Count() - 1 : axis.FirstIndexFrom(total - room);
    return std::clamp(first, fixedCount, std::max(fixedCount, axis.Count() - 1));
}

void TCustomGrid::ClampTopLeft()
{
    const QSize client = viewport()->size();
    FTopLeft.X = std::clamp(FTopLeft.X, FFixedCols, MaxFirst(FCols, FFixedCols, client.width()));
    FTopLeft.Y = std::clamp(FTopLeft.Y, FFixedRows, MaxFirst(FRows, FFixedRows, client.height()));
}

void TCustomGrid::ReportTopLeftMove(TGridCoord oldTopLeft)
{
    // Clamping after a change of sizes or counts scrolls the view just as a user's scroll does;
    // descendants that follow the view (chained grids, scroll events) must hear of it.
    if (FTopLeft != oldTopLeft)
        TopLeftChanged();
}

void TCustomGrid::MoveTopLeft(int left, int top)
{
    const TGridCoord old = FTopLeft;
    FTopLeft = {left, top};
    ClampTopLeft();
    if (FTopLeft == old)
        return;
    UpdateScrollRange();
    InvalidateGrid();
    UpdateEditorGeometry();
    TopLeftChanged();
}

void TCustomGrid::ClampInView(TGridCoord coord)
{
    const TGridDrawInfo info = CalcDrawInfo();
    TGridCoord topLeft = FTopLeft;
    const auto clampAxis = [](int index, int fixedCount, int first, int lastFull, const TGridAxis& axis,
                              int boundary, int fixedBoundary) {
        if (index < fixedCount)
            return first;
        if (index < first)
            return index;
        if (index <= lastFull)
            return first;
        // The smallest first cell that brings `index` fully into view.
        const qint64 endOfIndex = axis.Position(index + 1);
        const qint64 room = std::max(0, boundary - fixedBoundary);
        return std::min(index, axis.FirstIndexFrom(endOfIndex - room));
    };
    const QSize client = viewport()->size();
    topLeft.X = clampAxis(coord.X, FFixedCols, FTopLeft.X, info.Horz.LastFullVisibleCell, FCols,
                          client.width(), info.Horz.FixedBoundary);
    topLeft.Y = clampAxis(coord.Y, FFixedRows, FTopLeft.Y, info.Vert.LastFullVisibleCell, FRows,
                          client.height(), info.Vert.FixedBoundary);
    MoveTopLeft(topLeft.X, topLeft.Y);
}

void TCustomGrid::UpdateScrollRange()
{
    if (FUpdatingScrollBars)
        return;
    FUpdatingScrollBars = true;
    const QSize client = viewport()->size();
    QScrollBar* horizontal = horizontalScrollBar();
    QScrollBar* vertical = verticalScrollBar();
    horizontal->setRange(FFixedCols, MaxFirst(FCols, FFixedCols, client.width()));
    if (!FOwnsVerticalScrollBar)
        vertical->setRange(FFixedRows, MaxFirst(FRows, FFixedRows, client.height()));
    horizontal->setValue(FTopLeft.X);
    if (!FOwnsVerticalScrollBar)
        vertical->setValue(FTopLeft.Y);
    FUpdatingScrollBars = false;
    const TGridDrawInfo info = CalcDrawInfo();
    horizontal->setPageStep(std::max(1, info.Horz.LastFullVisibleCell - FTopLeft.X + 1));
    if (!FOwnsVerticalScrollBar)
        vertical->setPageStep(std::max(1, info.Vert.LastFullVisibleCell - FTopLeft.Y + 1));
    ScrollRangeUpdated();
}

void TCustomGrid::SetOwnsVerticalScrollBar(bool value)
{
    FOwnsVerticalScrollBar = value;
    UpdateScrollRange();
}

void TCustomGrid::VerticalScrollAction(int) {}

void TCustomGrid::ScrollRangeUpdated() {}

void TCustomGrid::FramePainted() {}

void TCustomGrid::scrollContentsBy(int, int)
{
    if (FUpdatingScrollBars)
        return;
    TExceptionHandler::Guard([this] {
        MoveTopLeft(horizontalScrollBar()->value(),
                    FOwnsVerticalScrollBar ? FTopLeft.Y : verticalScrollBar()->value());
    });
}

void TCustomGrid::ClampCurrent()
{
    FCurrent.X = std::clamp(FCurrent.X, FFixedCols, ColCount() - 1);
    FCurrent.Y = std::clamp(FCurrent.Y, FFixedRows, RowCount() - 1);
    FAnchor.X = std::clamp(FAnchor.X, FFixedCols, ColCount() - 1);
    FAnchor.Y = std::clamp(FAnchor.Y, FFixedRows, RowCount() - 1);
}

void TCustomGrid::MoveColRow(int col, int row, bool moveAnchor, bool show)
{
    if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount())
        throw EInvalidGridOperation(QStringLiteral("Grid index out of range"));
    col = std::max(col, FFixedCols);
    row = std::max(row, FFixedRows);
    if (!SelectCell(col, row))
        return;
    MoveCurrent(col, row, moveAnchor, show);
}

void TCustomGrid::FocusCell(int col, int row, bool moveAnchor)
{
    MoveColRow(col, row, moveAnchor, true);
    InvalidateEditor();
}

void TCustomGrid::MoveCurrent(int col, int row, bool moveAnchor, bool show)
{
    const TGridRect before = Selection();
    const TGridCoord old = FCurrent;
    FCurrent = {col, row};
    if (moveAnchor || !FOptions.Contains(goRangeSelect))
        FAnchor = FCurrent;
    if (FOptions.Contains(goRowSelect))
        FAnchor.X = FCurrent.X;
    if (show)
        ClampInView(FCurrent);
    InvalidateSelectionChange(before);
    if (old == FCurrent || !FEditorMode)
        return;
    // The editor stays only where it is always shown; elsewhere leaving a cell closes it.
    if (FOptions.Contains(goAlwaysShowEditor) && CanEditShow()) {
        FInplaceEdit->UpdateContents();
        UpdateEditorGeometry();
    } else {
        HideEditor();
    }
}

void TCustomGrid::TimedScroll(TGridScrollDirections directions)
{
    int left = FTopLeft.X;
    int top = FTopLeft.Y;
    if (directions.Contains(sdLeft))
        --left;
    if (directions.Contains(sdRight))
        ++left;
    if (directions.Contains(sdUp))
        --top;
    if (directions.Contains(sdDown))
        ++top;
    MoveTopLeft(std::max(left, FFixedCols), std::max(top, FFixedRows));
    if (FGridState == gsSelecting) {
        const TGridDrawInfo info = CalcDrawInfo();
        TGridCoord target = FCurrent;
        if (directions.Contains(sdLeft))
            target.X = FTopLeft.X;
        if (directions.Contains(sdRight))
            target.X = std::max(FTopLeft.X, info.Horz.LastFullVisibleCell);
        if (directions.Contains(sdUp))
            target.Y = FTopLeft.Y;
        if (directions.Contains(sdDown))
            target.Y = std::max(FTopLeft.Y, info.Vert.LastFullVisibleCell);
        if (SelectCell(target.X, target.Y))
            MoveCurrent(target.X, target.Y, false, false);
    }
}

// ---- structure changes -------------------------------------------------------------

void TCustomGrid::MoveColumn(int fromIndex, int toIndex)
{
    if (fromIndex < 0 || fromIndex >= ColCount() || toIndex < 0 || toIndex >= ColCount())
        throw EInvalidGridOperation(QStringLiteral("Grid index out of range"));
    if (fromIndex == toIndex)
        return;
    FCols.Move(fromIndex, toIndex);
    const bool stop = FTabStops[size_t(fromIndex)];
    FTabStops.erase(FTabStops.begin() + fromIndex);
    FTabStops.insert(FTabStops.begin() + toIndex, stop);
    // The current column follows its contents.
    FCurrent.X = MovedIndex(FCurrent.X, fromIndex, toIndex);
    FAnchor.X = MovedIndex(FAnchor.X, fromIndex, toIndex);
    ClampCurrent();
    ColumnMoved(fromIndex, toIndex);
    InvalidateGrid();
    UpdateEditorGeometry();
}

void TCustomGrid::MoveRow(int fromIndex, int toIndex)
{
    if (fromIndex < 0 || fromIndex >= RowCount() || toIndex < 0 || toIndex >= RowCount())
        throw EInvalidGridOperation(QStringLiteral("Grid index out of range"));
    if (fromIndex == toIndex)
        return;
    FRows.Move(fromIndex, toIndex);
    FCurrent.Y = MovedIndex(FCurrent.Y, fromIndex, toIndex);
    FAnchor.Y = MovedIndex(FAnchor.Y, fromIndex, toIndex);
    ClampCurrent();
    RowMoved(fromIndex, toIndex);
    InvalidateGrid();
    UpdateEditorGeometry();
}

// ---- overridable defaults -------------------------------------------------------------

bool TCustomGrid::SelectCell(int, int)
{
    return true;
}

void TCustomGrid::TopLeftChanged() {}

void TCustomGrid::ColWidthsChanged()
{
    const TGridCoord oldTopLeft = FTopLeft;
    ClampTopLeft();
    UpdateScrollRange();
    InvalidateGrid();
    UpdateEditorGeometry();
    ReportTopLeftMove(oldTopLeft);
}

void TCustomGrid::RowHeightsChanged()
{
    const TGridCoord oldTopLeft = FTopLeft;
    ClampTopLeft();
    UpdateScrollRange();
    InvalidateGrid();
    UpdateEditorGeometry();
    ReportTopLeftMove(oldTopLeft);
}

void TCustomGrid::ColumnMoved(int, int) {}

void TCustomGrid::RowMoved(int, int) {}

void TCustomGrid::SizeChanged(int, int) {}

void TCustomGrid::AdjustToSize()
{
    const TGridCoord oldTopLeft = FTopLeft;
    ClampCurrent();
    ClampTopLeft();
    UpdateScrollRange();
    InvalidateGrid();
    UpdateEditorGeometry();
    ReportTopLeftMove(oldTopLeft);
}

void TCustomGrid::ChangeScale(int m, int d)
{
    if (d == 0 || m == d)
        return;
    FCols.Scale(m, d);
    FRows.Scale(m, d);
    ColWidthsChanged();
    RowHeightsChanged();
}

} // namespace orvo
