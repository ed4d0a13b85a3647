// Data columns: the brush of data and blank rows (stripes, selections), the data
// cell with its image, text, search highlight and owner-draw events.

#include "grid/timagesbitmap.h"
#include "grid/torvobookmarklist.h"
#include "grid/torvocolumn.h"
#include "grid/torvocolumnlist.h"
#include "grid/torvocustomdbgrid.h"
#include "grid/torvodbgridcolumns.h"
#include "grid/torvodbgridgradient.h"
#include "grid/torvodbgridpainter.h"
#include "grid/torvodbgridsearch.h"
#include "grid/torvofixedstyles.h"
#include "grid/torvogriddatalink.h"
#include "grid/torvogridstyle.h"
#include "grid/torvotextlayout.h"
#include "platform/core/texceptionhandler.h"
#include "platform/data/tdataset.h"
#include "platform/graphics/tcanvas.h"
#include "platform/graphics/tcustomimagelist.h"

#include <QPainter>
#include <QScopeGuard>

#include <memory>

namespace orvo {

namespace {

constexpr TColor LightGrey = 0xE8E8E8;

bool GradientPaints(const TOrvoDBGridGradient* gradient, TOrvoGradientCell kind)
{
    return gradient->IsActive(false) && gradient->Cells().Contains(kind);
}

} // namespace

void TOrvoDBGridPainter::DrawColumnCell(TCanvas& canvas, TCellInfo& cell)
{
    if (!cell.Column || !cell.Column->IsShown())
        return;
    if (cell.IsTitleRow()) {
        DrawTitleCell(canvas, cell);
        return;
    }
    if (cell.IsBottomRow() && cell.Fixed) {
        DrawTotalCell(canvas, cell);
        return;
    }
    const bool blankRow = cell.IsBottomRow();
    canvas.Font() = cell.Column->Font();
    canvas.Brush().SetStyle(bsSolid);
    const bool columnSelected =
        blankRow && FGrid.SelectedCols()->Selected(cell.Column->Index()) && FGrid.SelectionColor() != clNone;
    const TColor selection = TOrvoCustomDBGrid::ResolveColor(
        FGrid.SelectionColor(), TOrvoCustomDBGrid::DefaultSelectionColor(FGrid.Gradient()->IsActive(false)),
        canvas.Brush().Color());
    if (cell.Fixed) {
        canvas.Brush().SetColor(FGrid.FixedColor());
        if (FGrid.MultiSelectOptions().Contains(msFixed) && columnSelected)
            canvas.Brush().SetColor(selection);
    } else {
        canvas.Brush().SetColor(cell.Column->Color());
        if (columnSelected) {
            canvas.Brush().SetColor(selection);
            cell.GradientCell = GradientPaints(FGrid.Gradient(), gcMultiSelected);
        } else if (FGrid.StripeColor() != clNone) {
            const bool tallBlank = blankRow && FGrid.RowHeights(cell.Row) > FGrid.DefaultRowHeight();
            if (cell.DataRow % 2 == 1 && !tallBlank) {
                canvas.Brush().SetColor(FGrid.StripeColor());
                cell.GradientCell = blankRow && GradientPaints(FGrid.Gradient(), gcStripedRows);
            } else {
                canvas.Brush().SetColor(FGrid.Color());
            }
            if (ResolvedColor(canvas.Brush().Color()) == clSilver)
                canvas.Brush().SetColor(LightGrey);
        }
        if (cell.GradientCell) {
            DrawDataColLine(canvas, cell);
            FGrid.Gradient()->PaintRect(canvas, cell.Rect, canvas.Brush().Color(), false, false);
        }
    }
    if (cell.Fixed && (cell.Themed || cell.Gradient))
        FillFixed(canvas, cell, cell.Rect);
    if (!blankRow && FGrid.RecordOfRow(cell.Row) >= 0) {
        DrawDataCell(canvas, cell);
    } else {
        if (!cell.Themed && !cell.Gradient && !cell.GradientCell)
            canvas.FillRect(cell.Rect);
        if (!cell.GradientCell)
            DrawDataColLine(canvas, cell);
    }
    DrawFixedLines(canvas, cell, cell.Rect, false, false);
}

QObject* TOrvoDBGridPainter::CellImage(TOrvoColumn* column)
{
    const bool enabled = FGrid.isEnabled();
    if (TCustomImageList* images = column->Images()) {
        int index = -1;
        if (column->CheckBox()) {
            index = column->CheckBoxImageIndex(column->CheckBoxState(), images->Count());
        } else {
            const QString text = column->Field() ? column->Field()->AsString() : column->DisplayText();
            bool ok = false;
            index = text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0  ? 0
                    : text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 ? 1
                                                                                    : text.toInt(&ok);
            if (!ok && index != 0 && index != 1)
                index = -1;
        }
        if (FGrid.OnCalcImageIndex) {
            try {
                FGrid.OnCalcImageIndex(&FGrid, column, index);
            } catch (...) {
                index = -1;
            }
        }
        if (index < 0 || index >= images->Count())
            return nullptr;
        return new TImagesBitmap(images, index, enabled, clWindow);
    }
    if (column->CheckBox() && FGrid.DataSet() && !FGrid.DataSet()->IsEmpty()) {
        TCustomImageList* list = FGrid.CheckBoxList();
        const int index = column->CheckBoxImageIndex(column->CheckBoxState(), list->Count());
        if (index >= 0 && index < list->Count())
            return new TImagesBitmap(list, index, enabled, clWindow);
    }
    return nullptr;
}

void TOrvoDBGridPainter::DrawCellImage(TCanvas& canvas, const TCellInfo& cell, QObject* image,
                                       const QRect& area)
{
    QImage picture;
    if (const auto* listImage = qobject_cast<TImagesBitmap*>(image))
        picture = listImage->DrawableImage();
    if (picture.isNull())
        return;
    const TOrvoColumn* column = cell.Column;
    const QSize size = picture.deviceIndependentSize().toSize();
    TImageDraw mode = column->ImageDraw();
    TAlignment alignment = column->Alignment();
    TVAlignment vAlignment = column->VAlignment();
    if (mode == idOpposite) {
        alignment = alignment == taRightJustify ? taLeftJustify : taRightJustify;
        mode = idAlignment;
    } else if (mode == idCenter) {
        alignment = taCenter;
        vAlignment = tvCenter;
        mode = idAlignment;
    }
    const int dx = column->ImageOffsetX();
    const int dy = column->ImageOffsetY();
    QPainter* painter = canvas.Handle();
    if (!painter)
        return;
    painter->save();
    painter->setClipRect(area, Qt::IntersectClip);
    const QRect inner = area.adjusted(dx, dy, -dx, -dy);
    switch (mode) {
    case idStretch:
        painter->drawImage(inner, picture);
        break;
    case idScaled: {
        const QSize scaled = size.scaled(inner.size(), Qt::KeepAspectRatio);
        painter->drawImage(QRect(inner.left() + (inner.width() - scaled.width()) / 2,
                                 inner.top() + (inner.height() - scaled.height()) / 2, scaled.width(),
                                 scaled.height()),
                           picture);
        break;
    }
    case idTileCell:
    case idTileGrid:
    case idTileCol:
    case idTileRow: {
        // Tiles start where the mode says so that neighbouring cells line up.
        const QRect colRect = FGrid.CellRect(cell.Col, cell.Row);
        int originX = mode == idTileGrid || mode == idTileRow ? 0 : colRect.left();
        int originY = mode == idTileGrid ? 0 : area.top();
        painter->drawTiledPixmap(area, QPixmap::fromImage(picture),
                                 QPoint((area.left() - originX) % std::max(1, size.width()),
                                        (area.top() - originY) % std::max(1, size.height())));
        break;
    }
    default: {
        int x = area.left() + dx;
        if (alignment == taRightJustify)
            x = area.left() + area.width() - size.width() - dx;
        else if (alignment == taCenter)
            x = area.left() + (area.width() - size.width()) / 2 + dx;
        int y = area.top() + dy;
        if (vAlignment == tvBottomJustify)
            y = area.top() + area.height() - size.height() - dy;
        else if (vAlignment == tvCenter)
            y = area.top() + (area.height() - size.height()) / 2 + dy;
        painter->drawImage(QPoint(x, y), picture);
        if (column->CheckBox() && !column->Images()) {
            const TCheckBoxStyle style =
                FGrid.isEnabled()
                    ? TOrvoFixedStyles::ResolveBoxStyle(column->CheckBoxStyle(), FGrid.FixedStyle())
                    : cbMild;
            DrawBox(canvas, QRect(x, y, size.width(), size.height()), style);
        }
        break;
    }
    }
    painter->restore();
}

void TOrvoDBGridPainter::DrawDataCell(TCanvas& canvas, TCellInfo& cell)
{
    TOrvoGridDataLink* link = FGrid.DataLink();
    const int current = link->ActiveRecord();
    const int record = FGrid.RecordOfRow(cell.Row);
    link->SetActiveRecord(record);
    const auto restore = qScopeGuard([link, current] { link->SetActiveRecord(current); });
    TOrvoColumn* column = cell.Column;

    const QString text = column->DisplayText();
    const bool focusedCell = cell.Col == FGrid.Col() && cell.Row == FGrid.Row();
    const bool highlight = FGrid.HighlightCell(cell.DataCol, cell.DataRow, cell.State) ||
                           (focusedCell && ShowsSelection() && !FGrid.Options().Contains(dgRowSelect));
    if (highlight)
        canvas.Font().SetColor(
            TOrvoCustomDBGrid::ResolveColor(FGrid.HighlightText(), clHighlightText, canvas.Font().Color()));
    if (!FGrid.isEnabled())
        canvas.Font().SetColor(clGrayText);

    TSelections selections;
    if (focusedCell && ShowsSelection() &&
        (FGrid.UpdateLock() == 0 || FGrid.Options().Contains(dgAlwaysShowSelection)))
        selections.Include(slCellSelected);
    if (record == current)
        selections.Include(slRowSelected);
    bool multi = FGrid.SelectedCols()->Selected(column->Index());
    if (!multi && FGrid.Options().Contains(dgMultiSelect) && FGrid.SelectedRows()->Count() > 0) {
        int index = 0;
        multi = FGrid.SelectedRows()->Find(FGrid.DataSet()->Bookmark(), index);
    }
    if (multi)
        selections.Include(slMultiSelected);
    if (cell.Fixed)
        selections.Include(slCellFixed);
    if (FGrid.StripeColor() != clNone && cell.DataRow % 2 == 1)
        selections.Include(slRowStriped);

    const bool gradientActive = FGrid.Gradient()->IsActive(false);
    const TColor brush = canvas.Brush().Color();
    if (highlight && multi && FGrid.SelectionColor() != clNone)
        canvas.Brush().SetColor(TOrvoCustomDBGrid::ResolveColor(
            FGrid.SelectionColor(), TOrvoCustomDBGrid::DefaultSelectionColor(gradientActive), brush));
    if (!cell.Fixed && selections.Contains(slRowSelected) && FGrid.SelectRowColor() != clNone)
        canvas.Brush().SetColor(TOrvoCustomDBGrid::ResolveColor(
            FGrid.SelectRowColor(), TOrvoCustomDBGrid::DefaultSelectRowColor(gradientActive), brush));
    if (highlight && selections.Contains(slCellSelected)) {
        if (FGrid.SelectCellColor() != clNone)
            canvas.Brush().SetColor(TOrvoCustomDBGrid::ResolveColor(
                FGrid.SelectCellColor(), TOrvoCustomDBGrid::DefaultSelectCellColor(gradientActive), brush));
        else if (!multi)
            canvas.Font().SetColor(column->Font().Color());
    }
    if (!cell.Fixed && gradientActive) {
        const TOrvoGradientCells kinds = FGrid.Gradient()->Cells();
        cell.GradientCell = (selections.Contains(slCellSelected) && highlight &&
                             kinds.Contains(gcSelectedCell) && FGrid.SelectCellColor() != clNone) ||
                            (selections.Contains(slRowSelected) && kinds.Contains(gcSelectedRow) &&
                             FGrid.SelectRowColor() != clNone) ||
                            (multi && kinds.Contains(gcMultiSelected) && FGrid.SelectionColor() != clNone) ||
                            (selections.Contains(slRowStriped) && kinds.Contains(gcStripedRows));
    }
    DrawDataRowLine(canvas, cell);
    DrawDataColLine(canvas, cell);

    if (FGrid.DefaultDrawing())
        DrawDataContent(canvas, cell, text, highlight, selections);
    DrawOwnerCell(canvas, cell);
    if (FGrid.DefaultDrawing() && focusedCell && ShowsSelection() && !FGrid.Options().Contains(dgRowSelect) &&
        FGrid.UpdateLock() == 0 && FGrid.window()->focusWidget() == &FGrid)
        DrawFocusFrame(canvas, cell);
}

void TOrvoDBGridPainter::DrawDataContent(TCanvas& canvas, TCellInfo& cell, const QString& text,
                                         bool highlight, TSelections selections)
{
    TOrvoColumn* column = cell.Column;
    QObject* image = CellImage(column);
    QObject* const made = image;
    const auto freeImage = qScopeGuard([made] { delete made; });
    TColor color = canvas.Brush().Color();
    TFont font = canvas.Font();
    FGrid.PaintColumnCell(cell.Rect, cell.DataCol, column, highlight, selections, color, font, image);
    canvas.Brush().SetColor(color);
    canvas.Font() = font;

    const int margin = column->ImageMargin();
    if (cell.GradientCell)
        FGrid.Gradient()->PaintRect(canvas, cell.Rect, color, false, false);
    else if (margin > 0 && !(cell.Fixed && cell.Gradient))
        canvas.FillRect(cell.Rect);
    const bool rightToLeft = canvas.RightToLeft() && !column->SuppressRTL();
    QRect textRect = cell.Rect;
    if (image || margin > 0) {
        QRect imageRect = cell.Rect;
        if (margin > 0) {
            if (rightToLeft)
                imageRect.setLeft(imageRect.right() - margin + 1);
            else
                imageRect.setWidth(margin);
        }
        // An image alone in the cell is composed over the brush.
        if (image && margin == 0 && !column->Wallpaper() && !cell.Themed && !cell.Gradient &&
            !cell.GradientCell)
            canvas.FillRect(cell.Rect);
        if (image)
            DrawCellImage(canvas, cell, image, imageRect);
        if (margin > 0) {
            if (rightToLeft)
                textRect.setRight(textRect.right() - margin - 1);
            else
                textRect.setLeft(textRect.left() + margin + 1);
        }
    }
    const bool clearBrush =
        (image && column->Wallpaper() && margin == 0) || cell.Themed || cell.Gradient || cell.GradientCell;
    if (clearBrush)
        canvas.Brush().SetStyle(bsClear);
    if (!image || column->Wallpaper() || margin > 0) {
        TOrvoTextLayout::TParams params;
        params.Margin = cell.Margin;
        params.Alignment = column->Alignment();
        params.VAlignment = column->VAlignment();
        params.WordWrap = column->WordWrap();
        params.Ellipsis = column->Ellipsis();
        params.RightToLeft = rightToLeft;
        const TOrvoDBGridSearch* search = FGrid.Search();
        const bool searchHere = search->IsHighlighting() &&
                                (!search->Options().Contains(soCurrentCol) || cell.Col == FGrid.Col());
        if (searchHere) {
            params.SearchText = search->Text();
            params.CaseSensitive = search->Options().Contains(soCaseSensitive);
            params.WholeWords = search->Options().Contains(soWholeWords);
        }
        const TOrvoTextLayout::TResult laid = TOrvoTextLayout::Draw(canvas, textRect, text, params);
        if (searchHere && laid.HasMatch() && search->Color() != clNone)
            DrawSearchMatch(canvas, laid, search->MatchColor());
    }
    canvas.Brush().SetStyle(bsSolid);
}

void TOrvoDBGridPainter::DrawSearchMatch(TCanvas& canvas, const TOrvoTextLayout::TResult& laid, TColor color)
{
    QRect match = laid.MatchRect.adjusted(-1, -1, 1, 1);
    if (FGrid.GridStyle()->DataRowSpace() % 2 == 0)
        match.setTop(match.top() + 1);
    FGrid.Gradient()->PaintSelection(canvas, match, color, false);
    const TBrushStyle style = canvas.Brush().Style();
    canvas.Brush().SetStyle(bsClear);
    canvas.TextOut(laid.MatchRect.left(), laid.MatchRect.top(), laid.MatchText);
    canvas.Brush().SetStyle(style);
}

void TOrvoDBGridPainter::DrawOwnerCell(TCanvas&, const TCellInfo& cell)
{
    // A failing handler is reported, but the other cells still paint.
    if (FGrid.OnDrawDataCell && FGrid.Columns()->State() == csDefault)
        TExceptionHandler::Guard(
            [&] { FGrid.OnDrawDataCell(&FGrid, cell.Rect, cell.Column->Field(), cell.State); });
    if (FGrid.OnDrawColumnCell)
        TExceptionHandler::Guard(
            [&] { FGrid.OnDrawColumnCell(&FGrid, cell.Rect, cell.DataCol, cell.Column, cell.State); });
}

} // namespace orvo
