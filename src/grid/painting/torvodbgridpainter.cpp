// The cell pipeline: per-cell state, dispatch by cell kind, the indicator column,
// the data lines and the focus frame. Data cells are in _data.cpp, titles, totals
// and the fixed frame in _fixed.cpp.

#include "grid/painting/torvodbgridpainter.h"

#include "grid/columns/torvocolumn.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvodbgridgradient.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "grid/painting/torvofixedstyles.h"
#include "grid/search/torvodbgridsearch.h"
#include "grid/selection/torvobookmarklist.h"
#include "platform/core/texceptionhandler.h"
#include "platform/core/tsystemprofile.h"
#include "platform/data/tdataset.h"
#include "platform/graphics/drawedge.h"
#include "platform/graphics/tcanvas.h"
#include "platform/graphics/tcustomimagelist.h"
#include "platform/graphics/tthemeservices.h"
#include "platform/gridbase/tfocusedlook.h"
#include "platform/gridbase/tinplaceedit.h"

#include <QApplication>
#include <QPainter>

namespace orvo {

TOrvoDBGridPainter::TOrvoDBGridPainter(TOrvoCustomDBGrid& grid) : FGrid(grid) {}

TOrvoDBGridPainter::~TOrvoDBGridPainter() = default;

void TOrvoDBGridPainter::BeginPaint(TCanvas& canvas)
{
    canvas.SetRightToLeft(FGrid.layoutDirection() == Qt::RightToLeft);
    FSavedActiveRecord = FGrid.DataLink()->Active() ? FGrid.DataLink()->ActiveRecord() : -1;
    FDeferred.clear();
    FDrawnBands.clear();
    FPainting = true;
}

void TOrvoDBGridPainter::EndPaint(TCanvas& canvas)
{
    FPainting = false;
    // Painting switched the buffer the fields read; the current record reads its own again.
    if (FSavedActiveRecord >= 0 && FGrid.DataLink()->Active())
        FGrid.DataLink()->SetActiveRecord(FSavedActiveRecord);
    FSavedActiveRecord = -1;
    std::vector<std::function<void(TCanvas&)>> deferred;
    deferred.swap(FDeferred);
    for (const auto& draw : deferred)
        TExceptionHandler::Guard([&] { draw(canvas); });
}

void TOrvoDBGridPainter::Defer(TCanvas& canvas, std::function<void(TCanvas&)> draw)
{
    if (FPainting)
        FDeferred.push_back(std::move(draw));
    else
        draw(canvas);
}

// --- Title state ---------------------------------------------------------------------------------

void TOrvoDBGridPainter::SetHotTitle(TOrvoColumn* column, bool dropDownPart)
{
    FHotTitle = column;
    FHotDropDown = dropDownPart;
}

void TOrvoDBGridPainter::SetPressedTitle(TOrvoColumn* column, bool dropDownPart)
{
    FPressedTitle = column;
    FPressedDropDown = dropDownPart;
}

void TOrvoDBGridPainter::SetFillerPressed(bool value)
{
    FFillerPressed = value;
}

void TOrvoDBGridPainter::SetMouseCell(const QPoint& cell, bool pressed)
{
    FMouseCell = cell;
    FMousePressed = pressed;
}

void TOrvoDBGridPainter::SetExtendingRange(bool value)
{
    FExtendingRange = value;
}

// --- Shared helpers ------------------------------------------------------------------------------

TCustomImageList* TOrvoDBGridPainter::IndicatorGlyphs() const
{
    return FGrid.IndicatorImages() ? FGrid.IndicatorImages() : FGrid.IndicatorList();
}

TColor TOrvoDBGridPainter::FixedLineColor() const
{
    return TOrvoFixedStyles::FixedLineColor(FGrid.FixedStyle(), FGrid.ThemedFixedCells(), HeaderItemTheme(),
                                            ResolvedColor(FGrid.Color()));
}

bool TOrvoDBGridPainter::ClassicThemeForced() const
{
    return FGrid.FixedTheme() == ftDefault && FGrid.OptionsExt().Contains(dgForceSystemTheme);
}

bool TOrvoDBGridPainter::HeaderItemTheme() const
{
    if (!FGrid.ThemedFixedCells() || FGrid.FixedTheme() != ftDefault)
        return false;
    const TSystemProfile& system = TSystemProfile::Current();
    return system.CheckVersion(6, 2) ||
           (FGrid.OptionsExt().Contains(dgForceSystemTheme) && system.CheckVersion(6, 0));
}

TColor TOrvoDBGridPainter::ResolvedColor(TColor color) const
{
    return ColorToRGB(color, FGrid.palette());
}

bool TOrvoDBGridPainter::ShowsSelection() const
{
    const bool focused = TFocusedLook::ShowsFocus(&FGrid, FGrid.InplaceEditor());
    return focused || FGrid.Options().Contains(dgAlwaysShowSelection) || FGrid.Search()->IsHighlighting();
}

void TOrvoDBGridPainter::DrawCentered(TCanvas& canvas, const TCustomImageList* list, int index,
                                      const QRect& rect) const
{
    if (!list || index < 0 || index >= list->Count())
        return;
    list->Draw(canvas, rect.left() + (rect.width() - list->Width()) / 2,
               rect.top() + (rect.height() - list->Height()) / 2, index, FGrid.isEnabled());
}

int TOrvoDBGridPainter::FirstShownScrollableCol() const
{
    for (int col = FGrid.LeftCol(); col < FGrid.ColCount(); ++col)
        if (const TOrvoColumn* column = FGrid.ColumnOfGridCol(col); column && column->IsShown())
            return col;
    return -1;
}

int TOrvoDBGridPainter::LastShownCol() const
{
    for (int col = FGrid.ColCount() - 1; col >= FGrid.IndicatorOffset(); --col)
        if (const TOrvoColumn* column = FGrid.ColumnOfGridCol(col); column && column->IsShown())
            return col;
    return -1;
}

// --- The pipeline --------------------------------------------------------------------------------

TOrvoDBGridPainter::TCellInfo TOrvoDBGridPainter::MakeCellInfo(int col, int row, const QRect& rect,
                                                               TGridDrawState state) const
{
    TCellInfo cell;
    cell.Col = col;
    cell.Row = row;
    cell.DataCol = col - FGrid.IndicatorOffset();
    cell.DataRow = row - FGrid.TitleOffset();
    cell.Rect = rect;
    cell.State = state;
    cell.Column = FGrid.ColumnOfGridCol(col);
    if (row >= FGrid.FirstBottomRow()) {
        cell.BottomIndex = row - FGrid.FirstBottomRow();
        if (FGrid.BottomRowKind(cell.BottomIndex) != brBlank)
            cell.State.Include(gdFixed);
    }
    cell.Fixed = cell.State.Contains(gdFixed);
    const TOrvoDBGridOptions options = FGrid.Options();
    cell.BothLines = options.Contains(dgColLines) && options.Contains(dgRowLines);
    cell.Margin = cell.Fixed && cell.BothLines ? 1 : 2;
    if (cell.Fixed && cell.BothLines) {
        cell.Themed = FGrid.ThemedFixedCells();
        cell.Gradient = !cell.Themed && FGrid.Gradient()->IsActive(false);
        cell.GradientSoft = cell.Gradient && TOrvoFixedStyles::IsSoftStyle(FGrid.FixedStyle());
    }
    const bool totalRow = cell.IsBottomRow() && cell.Fixed;
    cell.TotalBand = totalRow && cell.DataCol >= 0 && !FGrid.OptionsEx().Contains(dgTotalColLines) &&
                     options.Contains(dgColLines);
    return cell;
}

void TOrvoDBGridPainter::DrawCell(TCanvas& canvas, int col, int row, const QRect& rect, TGridDrawState state)
{
    if (rect.isEmpty())
        return;
    if (FGrid.IsLoading()) {
        canvas.Brush().SetColor(FGrid.Color());
        canvas.Brush().SetStyle(bsSolid);
        canvas.FillRect(rect);
        return;
    }
    TCellInfo cell = MakeCellInfo(col, row, rect, state);
    if (cell.Fixed && cell.BothLines)
        cell.Rect.adjust(1, 1, -1, -1);
    if (cell.IsTitleRow() && cell.DataCol < 0 && FGrid.TitleOffset() >= 2) {
        // One filler for all title rows: its picture would otherwise repeat in each.
        const QRect lastTitle = FGrid.CellRect(col, FGrid.TitleOffset() - 1);
        cell.Rect.setTop(cell.BothLines ? 1 : 0);
        cell.Rect.setBottom(lastTitle.bottom() - (cell.BothLines ? 1 : 0));
    }
    const bool plainBorder = FGrid.Ctl3D() || FGrid.BorderStyle() == bsNone;
    if (canvas.RightToLeft() && cell.Fixed && cell.DataCol < 0 && plainBorder &&
        FGrid.Options().Contains(dgColLines) && !cell.Themed)
        cell.Rect.setLeft(cell.Rect.left() + 1);
    if (cell.TotalBand) {
        if (col != FirstShownScrollableCol())
            cell.Rect.setLeft(cell.Rect.left() - FGrid.GridLineWidth());
        if (col != LastShownCol())
            cell.Rect.setRight(cell.Rect.right() + 1);
    }
    if (cell.DataCol < 0)
        DrawIndicatorCell(canvas, cell);
    else
        DrawColumnCell(canvas, cell);
}

// --- Indicator column ----------------------------------------------------------------------------

int TOrvoDBGridPainter::IndicatorGlyph(bool current, TDataSetState state, bool selected, bool extending)
{
    int glyph = -1;
    if (current) {
        if (state == dsEdit)
            glyph = 1;
        else if (state == dsInsert)
            glyph = 2;
        else
            glyph = selected ? 4 : 0;
    } else {
        glyph = selected ? 3 : -1;
    }
    if (extending) {
        if (glyph == -1)
            glyph = 6;
        else if (glyph == 3)
            glyph = 7;
    }
    return glyph;
}

int TOrvoDBGridPainter::ChooseIndicatorGlyph(int record)
{
    TOrvoGridDataLink* link = FGrid.DataLink();
    TDataSet* dataSet = link->DataSet();
    const int saved = link->ActiveRecord();
    link->SetActiveRecord(record);
    bool selected = false;
    try {
        int index = 0;
        selected = FGrid.Options().Contains(dgMultiSelect) && FGrid.SelectedRows()->Count() > 0 &&
                   FGrid.SelectedRows()->Find(dataSet->Bookmark(), index);
    } catch (...) {
        // A record without a bookmark (being inserted) is simply not selected.
    }
    link->SetActiveRecord(saved);
    const bool current = record == saved;
    const TOrvoDBGridOptions options = FGrid.Options();
    const bool extending = FExtendingRange && options.Contains(dgMultiSelect) &&
                           options.Contains(dgExtendedSelect) && link->Active();
    int glyph = IndicatorGlyph(current, dataSet->State(), selected, extending);
    if (FGrid.OnCalcImageIndex) {
        try {
            FGrid.OnCalcImageIndex(&FGrid, nullptr, glyph);
        } catch (...) {
            glyph = -1;
        }
    }
    return glyph;
}

void TOrvoDBGridPainter::DrawIndicatorCell(TCanvas& canvas, TCellInfo& cell)
{
    canvas.Brush().SetColor(cell.IsTitleRow() ? FGrid.FillerColor() : FGrid.FixedColor());
    canvas.Brush().SetStyle(bsSolid);
    FillFixed(canvas, cell, cell.Rect);
    if (cell.IsTitleRow()) {
        QRect rect = cell.Rect;
        const bool offset = FFillerPressed && !FPressedTitle && !cell.Themed &&
                            !(cell.Gradient && FGrid.Gradient()->IsHotActive(false));
        if (offset)
            rect.translate(1, 1);
        DrawFillerImage(canvas, rect);
    } else if (const int record = FGrid.RecordOfRow(cell.Row); record >= 0) {
        const int glyph = ChooseIndicatorGlyph(record);
        if (!FGrid.Options().Contains(dgIndicatorMarkOff))
            DrawIndicatorGlyph(canvas, glyph, cell.Rect);
    }
    DrawFixedLines(canvas, cell, cell.Rect, false, false);
}

void TOrvoDBGridPainter::DrawIndicatorGlyph(TCanvas& canvas, int glyph, const QRect& rect)
{
    const TCustomImageList* list = IndicatorGlyphs();
    QPainter* painter = canvas.Handle();
    if (!canvas.RightToLeft() || !painter || glyph < 0 || glyph >= list->Count()) {
        DrawCentered(canvas, list, glyph, rect);
        return;
    }
    // In a right-to-left grid the record glyphs keep their look, one pixel over; the
    // range glyphs point the other way.
    const QPoint topLeft(rect.left() + (rect.width() - list->Width()) / 2,
                         rect.top() + (rect.height() - list->Height()) / 2);
    if (glyph < 6) {
        list->Draw(canvas, topLeft.x() + 1, topLeft.y(), glyph, FGrid.isEnabled());
        return;
    }
    const QImage image = list->Image(glyph);
    painter->drawImage(topLeft, (FGrid.isEnabled() ? image : DisabledImage(image)).mirrored(true, false));
}

void TOrvoDBGridPainter::DrawFillerImage(TCanvas& canvas, const QRect& rect)
{
    const int index = FGrid.FillerIndex();
    if (index >= 0 && FGrid.TitleImages() && index < FGrid.TitleImages()->Count())
        DrawCentered(canvas, FGrid.TitleImages(), index, rect);
    else if (index < -1)
        DrawCentered(canvas, IndicatorGlyphs(), -index - 2, rect);
}

// --- Data lines and the focus frame --------------------------------------------------------------

void TOrvoDBGridPainter::DrawDataRowLine(TCanvas& canvas, TCellInfo& cell)
{
    if (cell.Fixed || !FGrid.Options().Contains(dgRowLines))
        return;
    TColor color = FGrid.DataRowLineColor();
    const int lineWidth = FGrid.GridLineWidth();
    const bool lastDataRow = cell.Row == FGrid.FirstBottomRow() - 1;
    if ((color == clNone || (color == clDefault && !FGrid.OptionsEx().Contains(dgBlankRow))) && lastDataRow) {
        const QRect bottomRect = FGrid.CellRect(cell.Col, cell.Row);
        const int spaceLeft = FGrid.viewport()->height() - bottomRect.bottom() - 1 - lineWidth;
        if (spaceLeft > FGrid.DefaultRowHeight() + lineWidth)
            color = FixedLineColor();
    }
    if (color == clDefault)
        return;
    if (color == clNone) {
        if (cell.GradientCell) {
            cell.PendingRowLine = true;
            return;
        }
        color = canvas.Brush().Color();
    }
    QRect line(cell.Rect.left(), cell.Rect.bottom() + 1, cell.Rect.width(), lineWidth);
    if (FGrid.DataColLineColor() == clNone && color != clNone)
        line.setWidth(line.width() + lineWidth);
    if (FGrid.layoutDirection() == Qt::RightToLeft && FGrid.DataColLineColor() == clNone)
        line.moveLeft(line.left() - lineWidth);
    FillLine(canvas, line, color);
}

void TOrvoDBGridPainter::DrawDataColLine(TCanvas& canvas, TCellInfo& cell)
{
    if (cell.Fixed || !FGrid.Options().Contains(dgColLines))
        return;
    const TColor asked = FGrid.DataColLineColor();
    TColor color = asked;
    if ((asked == clNone || asked == clDefault) && cell.Col == LastShownCol())
        color = FixedLineColor();
    if (color == clDefault)
        return;
    if (color == clNone) {
        if (cell.GradientCell) {
            cell.PendingColLine = true;
            return;
        }
        color = canvas.Brush().Color();
    }
    const int lineWidth = FGrid.GridLineWidth();
    int bottom = cell.Rect.bottom() + lineWidth;
    const TColor rowColor = FGrid.DataRowLineColor();
    if (asked == clNone && rowColor != clNone)
        bottom -= lineWidth;
    else if (asked == clNone && rowColor == clNone && cell.Row >= FGrid.FirstBottomRow() - 1)
        bottom -= lineWidth;
    const int x =
        FGrid.layoutDirection() == Qt::RightToLeft ? cell.Rect.left() - lineWidth : cell.Rect.right() + 1;
    FillLine(canvas, QRect(x, cell.Rect.top(), lineWidth, bottom - cell.Rect.top() + 1), color);
}

void TOrvoDBGridPainter::FillLine(TCanvas& canvas, const QRect& line, TColor color)
{
    // The brush is the cell's: the text and image steps that follow still paint with it.
    const TColor brush = canvas.Brush().Color();
    const TBrushStyle style = canvas.Brush().Style();
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(color);
    canvas.FillRect(line);
    canvas.Brush().SetColor(brush);
    canvas.Brush().SetStyle(style);
}

void TOrvoDBGridPainter::DrawFocusFrame(TCanvas& canvas, const TCellInfo& cell)
{
    QRect rect = cell.Rect;
    if (cell.PendingColLine)
        rect.setRight(rect.right() + FGrid.GridLineWidth());
    switch (FGrid.FocusRect() == frAuto ? frDefault : FGrid.FocusRect()) {
    case frDefault:
        canvas.DrawFocusRect(rect);
        break;
    case frGray:
        DrawEdge(canvas, rect, BDR_SUNKENINNER, BF_TOPLEFT);
        DrawEdge(canvas, rect, BDR_RAISEDOUTER, BF_BOTTOMRIGHT);
        break;
    case frMild:
        DrawEdge(canvas, rect, BDR_SUNKENOUTER, BF_TOPLEFT);
        DrawEdge(canvas, rect, BDR_RAISEDINNER, BF_BOTTOMRIGHT);
        break;
    default:
        break;
    }
}

} // namespace orvo
