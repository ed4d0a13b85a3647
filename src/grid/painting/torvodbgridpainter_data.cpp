// Data columns: the brush of data and blank rows (stripes, selections), the data
// cell with its image, text, search highlight and owner-draw events.

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvodbgridgradient.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "grid/painting/timagesbitmap.h"
#include "grid/painting/torvodbgridpainter.h"
#include "grid/painting/torvofixedstyles.h"
#include "grid/painting/torvogridstyle.h"
#include "grid/painting/torvotextlayout.h"
#include "grid/painting/tthemedbitmap.h"
#include "grid/search/torvodbgridsearch.h"
#include "grid/selection/torvobookmarklist.h"
#include "grid/selection/torvocolumnlist.h"
#include "grid/treeview/torvodbgridtreeview.h"
#include "platform/core/texceptionhandler.h"
#include "platform/data/tdataset.h"
#include "platform/graphics/tcanvas.h"
#include "platform/graphics/tcustomimagelist.h"
#include "platform/graphics/tglyphstrips.h"
#include "platform/graphics/tthemeservices.h"

#include <QBuffer>
#include <QImageReader>
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
        if (HeaderItemTheme())
            DrawHeaderItemGaps(canvas, cell);
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

int TOrvoDBGridPainter::CalcImageIndex(TOrvoColumn* column, int index) const
{
    if (!FGrid.OnCalcImageIndex)
        return index;
    try {
        FGrid.OnCalcImageIndex(&FGrid, column, index);
    } catch (...) {
        // A failing handler shows no image rather than stopping the paint.
        return -1;
    }
    return index;
}

int TOrvoDBGridPainter::TreeDepth(const TOrvoColumn* column) const
{
    const TOrvoDBGridTreeView* tree = FGrid.TreeView();
    if (!column->ExpandBox() || !column->ExpandBoxTree() || !tree || !tree->RowLevelField())
        return 0;
    return std::max(0, tree->RowLevel());
}

int TOrvoDBGridPainter::ButtonStateOf(const TCellInfo& cell, bool toggles, bool togglesOnSelect) const
{
    if (!FGrid.isEnabled())
        return 3;
    const bool underMouse = FMouseCell == QPoint(cell.Col, cell.Row);
    const bool focused = cell.Col == FGrid.Col() && cell.Row == FGrid.Row();
    if (!underMouse || !(toggles || (togglesOnSelect && focused)))
        return 0;
    return FMousePressed ? 1 : 2;
}

QObject* TOrvoDBGridPainter::CheckBoxPicture(const TCellInfo& cell)
{
    TOrvoColumn* column = cell.Column;
    const bool enabled = FGrid.isEnabled();
    const TCheckBoxState state = column->CheckBoxState();
    TCustomImageList* list = FGrid.CheckBoxList();
    const bool themed =
        ThemeServices().ThemesEnabled() && (FGrid.FixedTheme() != ftNone || column->CheckBoxThemed());
    if (themed) {
        // Rows of parts in the element enumeration: unchecked, checked, mixed; each
        // normal, hot, pressed, disabled.
        static constexpr int stateOffsets[] = {0, 2, 1, 3};
        const int buttonState = ButtonStateOf(cell, column->CheckBoxToggle() == ctOnCellClick,
                                              column->CheckBoxToggle() == ctSelectClick);
        const auto part =
            TThemedButton(tbCheckBoxUncheckedNormal + 4 * int(state) + stateOffsets[buttonState]);
        return new TThemedBitmap(TThemeServices::GetElementDetails(part),
                                 QSize(list->Width(), list->Height()));
    }
    const int index = column->CheckBoxImageIndex(state, list->Count());
    if (index < 0 || index >= list->Count())
        return nullptr;
    auto* picture = new TImagesBitmap(list, index, enabled, TGlyphStrips::MaskColor);
    picture->Bitmap().SetTransparentColor(TGlyphStrips::MaskColor);
    picture->Bitmap().SetTransparent(true);
    return picture;
}

QObject* TOrvoDBGridPainter::ExpandBoxPicture(const TCellInfo& cell)
{
    TOrvoColumn* column = cell.Column;
    int state = column->ExpandBoxState();
    if (const int asked = CalcImageIndex(column, state); asked < 3)
        state = asked;
    TCustomImageList* list = FGrid.ExpandBoxList();
    if (state < 0 || list->Count() == 0)
        return nullptr;
    const bool themed = ThemeServices().ThemesEnabled() &&
                        (FGrid.FixedTheme() != ftNone || column->ExpandBoxThemed()) && state != 2;
    if (themed)
        return new TThemedBitmap(
            TThemeServices::GetElementDetails(state == 1 ? ttGlyphOpened : ttGlyphClosed),
            QSize(list->Width(), list->Height()));
    int index = state + 3 * int(column->ExpandBoxSize());
    if (index >= list->Count())
        index %= 3;
    auto* picture = new TImagesBitmap(list, index, FGrid.isEnabled(), TGlyphStrips::MaskColor);
    picture->Bitmap().SetTransparentColor(TGlyphStrips::MaskColor);
    picture->Bitmap().SetTransparent(true);
    return picture;
}

QObject* TOrvoDBGridPainter::BlobPicture(const TOrvoColumn* column)
{
    const TField* field = column->Field();
    if (!field || field->DataType() != ftGraphic || field->IsNull())
        return nullptr;
    QByteArray bytes = field->AsBytes();
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    const QImage image = reader.read();
    // Damaged or unknown data leaves the cell with its background and text.
    return image.isNull() ? nullptr : new TCellPicture(image);
}

void TOrvoDBGridPainter::DrawHeaderItemGaps(TCanvas& canvas, const TCellInfo& cell)
{
    // Next to header items the lines of the data take the same light face, unless a
    // line colour of their own is set.
    const int width = FGrid.GridLineWidth();
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect(QRect(cell.Rect.right() + 1, cell.Rect.top(), width, cell.Rect.height() + width));
    canvas.FillRect(QRect(cell.Rect.left(), cell.Rect.bottom() + 1, cell.Rect.width(), width));
}

QObject* TOrvoDBGridPainter::CellImage(const TCellInfo& cell)
{
    TOrvoColumn* column = cell.Column;
    if (TCustomImageList* images = column->Images()) {
        const int index = CalcImageIndex(column, column->ImageIndex());
        if (index < 0 || index >= images->Count())
            return nullptr;
        return new TImagesBitmap(images, index, FGrid.isEnabled(), clWindow);
    }
    if (column->CheckBox())
        return FGrid.DataSet() && !FGrid.DataSet()->IsEmpty() ? CheckBoxPicture(cell) : nullptr;
    if (column->ExpandBox())
        return ExpandBoxPicture(cell);
    if (column->ShowBlob())
        return BlobPicture(column);
    return nullptr;
}

QRect TOrvoDBGridPainter::AlignedImageRect(const TCellInfo& cell, const QRect& area, const QSize& size,
                                           bool rightToLeft) const
{
    const TOrvoColumn* column = cell.Column;
    TAlignment alignment = column->Alignment();
    TVAlignment vAlignment = column->VAlignment();
    if (column->ImageDraw() == idOpposite) {
        alignment = alignment == taRightJustify ? taLeftJustify : taRightJustify;
    } else if (column->ImageDraw() == idCenter) {
        alignment = taCenter;
        vAlignment = tvCenter;
    }
    if (rightToLeft && alignment != taCenter)
        alignment = alignment == taLeftJustify ? taRightJustify : taLeftJustify;
    const int dx = column->ImageOffsetX();
    const int dy = column->ImageOffsetY();
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
    return QRect(QPoint(x, y), size);
}

void TOrvoDBGridPainter::DrawCellImage(TCanvas& canvas, const TCellInfo& cell, const TCellPicture& picture,
                                       const QRect& area, bool rightToLeft)
{
    QPainter* painter = canvas.Handle();
    const QSize size = picture.Size();
    if (!painter || size.isEmpty())
        return;
    const TOrvoColumn* column = cell.Column;
    const TImageDraw mode = column->ImageDraw();
    const int dx = column->ImageOffsetX();
    const int dy = column->ImageOffsetY();
    painter->save();
    const auto restore = qScopeGuard([painter] { painter->restore(); });
    painter->setClipRect(area, Qt::IntersectClip);
    const QRect inner = area.adjusted(dx, dy, -dx, -dy);
    switch (mode) {
    case idStretch:
        painter->drawImage(inner, picture.DrawableImage());
        break;
    case idScaled: {
        const QSize scaled = size.scaled(inner.size(), Qt::KeepAspectRatio);
        painter->drawImage(QRect(inner.left() + (inner.width() - scaled.width()) / 2,
                                 inner.top() + (inner.height() - scaled.height()) / 2, scaled.width(),
                                 scaled.height()),
                           picture.DrawableImage());
        break;
    }
    case idTileCell:
    case idTileGrid:
    case idTileCol:
    case idTileRow:
        DrawTiles(painter, cell, picture.DrawableImage(), area, rightToLeft);
        break;
    default: {
        const QRect placed = AlignedImageRect(cell, area, size, rightToLeft);
        picture.Draw(canvas, placed.topLeft(), &FGrid);
        const bool listGlyph = qobject_cast<const TImagesBitmap*>(&picture) != nullptr;
        if (column->CheckBox() && !column->Images() && listGlyph) {
            const TCheckBoxStyle style =
                FGrid.isEnabled()
                    ? TOrvoFixedStyles::ResolveBoxStyle(column->CheckBoxStyle(), FGrid.FixedStyle())
                    : cbMild;
            DrawBox(canvas, placed, style);
        }
        break;
    }
    }
}

void TOrvoDBGridPainter::DrawTiles(QPainter* painter, const TCellInfo& cell, const QImage& tile,
                                   const QRect& area, bool rightToLeft) const
{
    const QSize size = tile.deviceIndependentSize().toSize();
    if (size.isEmpty())
        return;
    // Tiles start where the mode says so that neighbouring cells line up; in a
    // right-to-left grid the horizontal phase runs from the right.
    const TImageDraw mode = cell.Column->ImageDraw();
    const QRect colRect = FGrid.CellRect(cell.Col, cell.Row);
    const bool fromClient = mode == idTileGrid || mode == idTileRow;
    int phaseX = 0;
    if (rightToLeft) {
        const int originRight = fromClient ? FGrid.viewport()->width() - 1 : colRect.right();
        phaseX = (size.width() - (originRight - area.right()) % size.width()) % size.width();
    } else {
        phaseX = (area.left() - (fromClient ? 0 : colRect.left())) % size.width();
    }
    const int originY = mode == idTileGrid ? 0 : area.top();
    painter->drawTiledPixmap(area, QPixmap::fromImage(tile),
                             QPoint(phaseX, (area.top() - originY) % size.height()));
}

void TOrvoDBGridPainter::DrawDataCell(TCanvas& canvas, TCellInfo& cell)
{
    TOrvoGridDataLink* link = FGrid.DataLink();
    const int current = link->ActiveRecord();
    const int record = FGrid.RecordOfRow(cell.Row);
    link->SetActiveRecord(record);
    const auto restore = qScopeGuard([link, current] { link->SetActiveRecord(current); });
    TOrvoColumn* column = cell.Column;
    // A column that keeps its left-to-right look places text and pictures as in a
    // left-to-right grid.
    const bool canvasRightToLeft = canvas.RightToLeft();
    if (column->SuppressRTL())
        canvas.SetRightToLeft(false);
    const auto orientation =
        qScopeGuard([&canvas, canvasRightToLeft] { canvas.SetRightToLeft(canvasRightToLeft); });

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
    const bool multi = FGrid.CellInSelection(column->Index());
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
    if (cell.Fixed && multi && FGrid.MultiSelectOptions().Contains(msFixed)) {
        if (cell.Themed && !ClassicThemeForced() && FGrid.isEnabled() && FGrid.SelectionColor() != clNone)
            canvas.Font().SetColor(canvas.Brush().Color());
        else if (cell.Themed || cell.Gradient)
            FillFixed(canvas, cell, cell.Rect);
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
    QObject* image = CellImage(cell);
    QObject* const made = image;
    const auto freeImage = qScopeGuard([made] { delete made; });
    TColor color = canvas.Brush().Color();
    TFont font = canvas.Font();
    FGrid.PaintColumnCell(cell.Rect, cell.DataCol, column, highlight, selections, color, font, image);
    canvas.Brush().SetColor(color);
    canvas.Font() = font;
    // A picture of a kind the cell cannot draw is left out; the text still shows.
    const auto* picture = qobject_cast<const TCellPicture*>(image);

    const int margin = column->ImageMargin();
    if (cell.GradientCell)
        FGrid.Gradient()->PaintRect(canvas, cell.Rect, color, false, false);
    else if (margin > 0 && !(cell.Fixed && cell.Gradient))
        canvas.FillRect(cell.Rect);
    const bool rightToLeft = canvas.RightToLeft();
    const int depth = TreeDepth(column);
    QRect textRect = cell.Rect;
    if (picture || margin > 0) {
        // A tree column indents its box by one margin per level.
        const int indent = depth * margin;
        QRect imageRect = cell.Rect;
        if (margin > 0) {
            if (rightToLeft)
                imageRect = QRect(cell.Rect.right() - indent - margin + 1, cell.Rect.top(), margin,
                                  cell.Rect.height());
            else
                imageRect = QRect(cell.Rect.left() + indent, cell.Rect.top(), margin, cell.Rect.height());
            imageRect = imageRect.intersected(cell.Rect);
        }
        // An image alone in the cell is composed over the brush.
        if (picture && margin == 0 && !column->Wallpaper() && !cell.Themed && !cell.Gradient &&
            !cell.GradientCell)
            canvas.FillRect(cell.Rect);
        if (picture && !imageRect.isEmpty())
            DrawCellImage(canvas, cell, *picture, imageRect, rightToLeft);
        if (margin > 0) {
            const int used = (depth + 1) * margin + 1;
            if (rightToLeft)
                textRect.setRight(textRect.right() - used);
            else
                textRect.setLeft(textRect.left() + used);
        }
    }
    const bool clearBrush =
        (picture && column->Wallpaper() && margin == 0) || cell.Themed || cell.Gradient || cell.GradientCell;
    if (clearBrush)
        canvas.Brush().SetStyle(bsClear);
    if ((!picture || column->Wallpaper() || margin > 0) && textRect.width() > 0)
        DrawDataText(canvas, cell, textRect, text);
    canvas.Brush().SetStyle(bsSolid);
}

void TOrvoDBGridPainter::DrawDataText(TCanvas& canvas, const TCellInfo& cell, const QRect& rect,
                                      const QString& text)
{
    const TOrvoColumn* column = cell.Column;
    TOrvoTextLayout::TParams params;
    params.Margin = cell.Margin;
    params.Alignment = column->Alignment();
    params.VAlignment = column->VAlignment();
    params.WordWrap = column->WordWrap();
    params.Ellipsis = column->Ellipsis();
    const TOrvoDBGridSearch* search = FGrid.Search();
    const bool searchHere =
        search->IsHighlighting() && (!search->Options().Contains(soCurrentCol) || cell.Col == FGrid.Col());
    if (searchHere) {
        params.SearchText = search->Text();
        params.CaseSensitive = search->Options().Contains(soCaseSensitive);
        params.WholeWords = search->Options().Contains(soWholeWords);
    }
    const TOrvoTextLayout::TResult laid = TOrvoTextLayout::Draw(canvas, rect, text, params);
    if (searchHere && laid.HasMatch() && search->Color() != clNone)
        DrawSearchMatch(canvas, laid, search->MatchColor());
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
