// Fixed cells: themed and gradient backgrounds, titles with header bands, title
// buttons and sort markers, total cells, and the fixed frame every fixed cell ends
// with.

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvocolumntitle.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvodbgridgradient.h"
#include "grid/filter/torvodbgridfilter.h"
#include "grid/painting/torvodbgridpainter.h"
#include "grid/painting/torvofixedstyles.h"
#include "grid/painting/torvogridstyle.h"
#include "grid/painting/torvotextlayout.h"
#include "grid/selection/torvocolumnlist.h"
#include "grid/totals/torvocolumntotalfields.h"
#include "grid/totals/torvocolumntotalfooter.h"
#include "grid/totals/torvocolumntotalheader.h"
#include "grid/totals/torvocolumntotalvalue.h"
#include "grid/totals/torvocolumntotalvalues.h"
#include "grid/totals/torvodbgridtotals.h"
#include "platform/core/tsystemprofile.h"
#include "platform/data/tfield.h"
#include "platform/graphics/drawedge.h"
#include "platform/graphics/tbitmap.h"
#include "platform/graphics/tcanvas.h"
#include "platform/graphics/tcustomimagelist.h"
#include "platform/graphics/tglyphstrips.h"
#include "platform/graphics/tthemeservices.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

#include <algorithm>

namespace orvo {

namespace {

QRgb RgbOf(TColor color, const QPalette& palette)
{
    return ToQColor(color, palette).rgb();
}

/// The state a themed element is drawn in: 0 normal, 1 pressed, 2 hot, 3 disabled.
int ButtonState(bool enabled, bool pressed, bool hot)
{
    if (!enabled)
        return 3;
    return pressed ? 1 : hot ? 2 : 0;
}

TThemedElementDetails FixedElement(TFixedTheme theme, int state)
{
    switch (theme) {
    case ftButtons: {
        static constexpr TThemedButton parts[] = {tbPushButtonNormal, tbPushButtonPressed, tbPushButtonHot,
                                                  tbPushButtonDisabled};
        return TThemeServices::GetElementDetails(parts[state]);
    }
    case ftTabs: {
        static constexpr TThemedTab parts[] = {ttTabItemNormal, ttTabItemSelected, ttTabItemHot,
                                               ttTabItemDisabled};
        return TThemeServices::GetElementDetails(parts[state]);
    }
    default: {
        static constexpr TThemedHeader parts[] = {thHeaderItemNormal, thHeaderItemPressed, thHeaderItemHot,
                                                  thHeaderItemNormal};
        return TThemeServices::GetElementDetails(parts[state]);
    }
    }
}

/// The grid columns a title spans: the neighbours whose column is `owner` or lies below it.
bool Descends(const TOrvoColumn* column, const TOrvoColumn* owner)
{
    for (; column; column = column->ParentColumn())
        if (column == owner)
            return true;
    return false;
}

} // namespace

// --- Backgrounds ---------------------------------------------------------------------------------

void TOrvoDBGridPainter::FillFixed(TCanvas& canvas, const TCellInfo& cell, const QRect& rect, bool hot,
                                   bool down)
{
    if (cell.Themed) {
        FillThemed(canvas, cell, rect, ButtonState(FGrid.isEnabled(), down, hot));
        if (cell.Boxed) {
            QRect box = rect.adjusted(2, 2, -2, -2);
            DrawEdge(canvas, box, BDR_SUNKENOUTER, BF_RECT);
        }
        canvas.Brush().SetStyle(bsClear);
    } else if (cell.Gradient) {
        const QRect area = cell.GradientSoft ? rect.adjusted(-1, -1, 1, 1) : rect;
        FGrid.Gradient()->PaintRect(canvas, area, canvas.Brush().Color(), hot, down);
        canvas.Brush().SetStyle(bsClear);
    } else {
        canvas.Brush().SetStyle(bsSolid);
        canvas.FillRect(rect);
    }
}

void TOrvoDBGridPainter::DrawThemed(TCanvas& canvas, const TCellInfo& cell,
                                    const TThemedElementDetails& details, const QRect& element,
                                    const QRect& clip)
{
    // Inside the total band the element runs on under its neighbours, so that no
    // rounded ends show between the cells.
    QRect joined = element;
    if (cell.TotalBand) {
        if (cell.Col != FirstShownScrollableCol())
            joined.setLeft(joined.left() - 4);
        if (cell.Col != LastShownCol())
            joined.setRight(joined.right() + 4);
    }
    ThemeServices().DrawElement(canvas, details, joined, clip, &FGrid);
}

void TOrvoDBGridPainter::FillThemed(TCanvas& canvas, const TCellInfo& cell, const QRect& rect, int state)
{
    const TSystemProfile& system = TSystemProfile::Current();
    const bool vista = system.CheckVersion(6, 0);
    const QRect element = rect.adjusted(-1, -1, 1, 1);
    const auto toolBar = [](TThemedToolBar part) { return TThemeServices::GetElementDetails(part); };
    const auto header = [](TThemedHeader part) { return TThemeServices::GetElementDetails(part); };
    switch (FGrid.FixedTheme()) {
    case ftButtons: {
        // Buttons overlap their neighbours; those at the grid's edge have none to overlap.
        const QRect button = element.adjusted(cell.Col == 0 ? -1 : -2, cell.Row == 0 ? -1 : -2, 2, 2);
        if (vista || state == 0)
            DrawThemed(canvas, cell, FixedElement(ftButtons, 0), button, rect);
        if (state != 0)
            ThemeServices().DrawElement(canvas, FixedElement(ftButtons, state), button, rect, &FGrid);
        break;
    }
    case ftTabs: {
        QRect tab = element.adjusted(0, 0, 1, 1);
        if (cell.IsTitleRow() && cell.Row > 0)
            tab.setTop(tab.top() - 1);
        if (vista && (state == 1 || state == 2))
            ThemeServices().DrawElement(canvas, FixedElement(ftTabs, 0), tab, rect, &FGrid);
        ThemeServices().DrawElement(canvas, FixedElement(ftTabs, state), tab, rect, &FGrid);
        DrawTabBaseLine(canvas, cell, rect);
        break;
    }
    default:
        if (HeaderItemTheme()) {
            DrawThemed(canvas, cell, FixedElement(ftDefault, 0), element.adjusted(0, 0, 1, 1), rect);
            if (state != 0)
                ThemeServices().DrawElement(canvas, FixedElement(ftDefault, state), element, rect, &FGrid);
        } else if (vista) {
            const QRect clip = rect.adjusted(0, 1, 0, -1);
            canvas.Brush().SetStyle(bsSolid);
            canvas.FillRect(rect);
            DrawThemed(canvas, cell, toolBar(ttbSplitButtonHot), element.adjusted(-1, -1, 1, 1), clip);
            if (state == 1 || state == 2)
                ThemeServices().DrawElement(canvas,
                                            header(state == 1 ? thHeaderItemPressed : thHeaderItemHot),
                                            element, clip, &FGrid);
        } else {
            DrawThemed(canvas, cell, toolBar(ttbSplitButtonHot), element.adjusted(-1, -1, 1, 1), rect);
            if (state == 1)
                ThemeServices().DrawElement(canvas, toolBar(ttbButtonPressed), element, rect, &FGrid);
            else if (state == 2)
                ThemeServices().DrawElement(canvas, header(thHeaderItemHot), element, rect, &FGrid);
            else if (state == 3)
                ThemeServices().DrawElement(canvas, toolBar(ttbButtonDisabled), element, rect, &FGrid);
        }
        break;
    }
}

void TOrvoDBGridPainter::DrawTabBaseLine(TCanvas& canvas, const TCellInfo& cell, const QRect& rect)
{
    const bool frozenTitle =
        cell.IsTitleRow() && cell.Fixed && cell.DataCol >= 0 && cell.Col < FGrid.FixedCols();
    const bool lastTitleRow = cell.Row == FGrid.TitleOffset() - 1;
    const bool lastRow = cell.Row == FGrid.RowCount() - 1;
    if (!frozenTitle && !lastTitleRow && !lastRow)
        return;
    const TSystemProfile& system = TSystemProfile::Current();
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(system.CheckVersion(6, 0) && !system.CheckVersion(6, 2) ? TColor(0x808080)
                                                                                    : FixedLineColor());
    canvas.FillRect(QRect(rect.left() - 1, rect.bottom() + 1, rect.width() + 2, 1));
}

// --- Titles --------------------------------------------------------------------------------------

void TOrvoDBGridPainter::DrawTitleCell(TCanvas& canvas, TCellInfo& cell)
{
    const int level = cell.Row;
    TOrvoColumn* leaf = cell.Column;
    TOrvoColumn* owner = leaf;
    while (owner && owner->ColumnDepth() > level)
        owner = owner->ParentColumn();
    canvas.Brush().SetStyle(bsSolid);
    if (!owner) {
        canvas.Brush().SetColor(FGrid.FixedColor());
        canvas.FillRect(cell.Rect);
        return;
    }
    // The title's full extent: over every shown sub-column, and down to the last title
    // row for a column that has nothing below it.
    const QRect own = FGrid.CellRect(cell.Col, cell.Row);
    const int line = FGrid.VertLineWidth();
    int left = own.left();
    for (int col = cell.Col - 1;
         col >= FGrid.IndicatorOffset() && Descends(FGrid.ColumnOfGridCol(col), owner); --col)
        left -= FGrid.ColWidths(col) > 0 ? FGrid.ColWidths(col) + line : 0;
    int right = own.right();
    for (int col = cell.Col + 1; col < FGrid.ColCount() && Descends(FGrid.ColumnOfGridCol(col), owner); ++col)
        right += FGrid.ColWidths(col) > 0 ? FGrid.ColWidths(col) + line : 0;
    int top = own.top();
    int bottom = own.bottom();
    if (owner == leaf) {
        for (int row = cell.Row - 1; row >= leaf->ColumnDepth(); --row)
            top -= FGrid.RowHeights(row) + FGrid.HorzLineWidth();
        for (int row = cell.Row + 1; row < FGrid.TitleOffset(); ++row)
            bottom += FGrid.RowHeights(row) + FGrid.HorzLineWidth();
    }
    QRect title(QPoint(left, top), QPoint(right, bottom));
    // Inside a title that spans several cells the grid lines between them are the
    // title's ground: each cell covers the line after it, so no line crosses the caption.
    QRect clip = cell.Rect.adjusted(cell.BothLines ? -1 : 0, cell.BothLines ? -1 : 0, 0, 0);
    if (own.right() < right)
        clip.setRight(own.right() + line);
    if (own.bottom() < bottom)
        clip.setBottom(own.bottom() + FGrid.HorzLineWidth());
    if (cell.BothLines)
        title.adjust(1, 1, -1, -1);

    QPainter* painter = canvas.Handle();
    if (painter) {
        painter->save();
        painter->setClipRect(clip, Qt::IntersectClip);
    }
    const QRect area = DrawTitleContent(canvas, cell, owner, title);
    if (painter)
        painter->restore();
    // The frame reaches into the gaps around the title, outside the clip of its content.
    DrawFixedLines(canvas, cell, area, FPressedTitle == owner && !FPressedDropDown,
                   FHotTitle == owner && !FHotDropDown);
    DrawDropDownState(canvas, cell, owner, area);
}

void TOrvoDBGridPainter::DrawDropDownState(TCanvas& canvas, const TCellInfo& cell, const TOrvoColumn* column,
                                           const QRect& area)
{
    const bool pressed = FPressedTitle == column && FPressedDropDown;
    const bool hot = FHotTitle == column && FHotDropDown;
    if (!(pressed || hot) || cell.Themed || (cell.Gradient && FGrid.Gradient()->IsHotActive(false)))
        return;
    QRect frame = cell.BothLines ? area.adjusted(-1, -1, 1, 1) : area;
    const int width = FGrid.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &FGrid) + 2;
    if (FGrid.layoutDirection() == Qt::RightToLeft)
        frame.setWidth(std::min(width, frame.width()));
    else
        frame.setLeft(std::max(frame.left(), frame.right() - width + 1));
    const TFixedStyle style = FGrid.FixedStyle();
    canvas.Brush().SetStyle(bsSolid);
    DrawTitleButtonState(canvas, frame, pressed,
                         TOrvoFixedStyles::ResolveHotButtons(FGrid.HotButtons(), style), style,
                         TOrvoFixedStyles::IsRaisedStyle(style), cell.BothLines);
}

QRect TOrvoDBGridPainter::DrawTitleContent(TCanvas& canvas, TCellInfo& cell, TOrvoColumn* column, QRect title)
{
    TOrvoColumnTitle* caption = column->Title();
    const bool headers = FGrid.Options().Contains(dgTitleHeaders) && caption->HeaderLevels() > 0;
    QRect area = title;
    if (headers) {
        DrawHeaderBands(canvas, cell, column, title);
        area.setTop(title.top() + caption->HeaderLevels() * FGrid.HeaderBandHeight());
    }
    const bool pressed = FPressedTitle == column && !FPressedDropDown;
    const bool hot = FHotTitle == column && !FHotDropDown;
    canvas.Font() = caption->Font();
    canvas.Brush().SetColor(caption->Color());
    canvas.Brush().SetStyle(bsSolid);
    FillFixed(canvas, cell, area, hot, pressed);
    const bool offset = pressed && !cell.Themed && !(cell.Gradient && FGrid.Gradient()->IsHotActive(false));
    if (offset)
        area.translate(1, 1);

    QRect captionRect = DrawTitleButton(canvas, cell, column, area);
    const int margin = FGrid.GridStyle()->TitleColMargin();
    captionRect.adjust(margin, 0, -margin, 0);
    const QString text = caption->Caption();
    const int m = cell.Margin;
    TCustomImageList* images = FGrid.TitleImages();
    const bool hasImage = images && caption->ImageIndex() >= 0 && caption->ImageIndex() < images->Count();
    TCustomImageList* markers = MarkerList();
    const bool hasMarker =
        markers && caption->MarkerIndex() >= 0 && caption->MarkerIndex() < markers->Count();
    if (hasImage) {
        const int y = captionRect.top() + (captionRect.height() - images->Height()) / 2;
        if (text.isEmpty() && !hasMarker) {
            DrawCentered(canvas, images, caption->ImageIndex(), captionRect);
        } else {
            images->Draw(canvas, captionRect.left() + m, y, caption->ImageIndex(), FGrid.isEnabled());
            captionRect.setLeft(captionRect.left() + images->Width() + 2);
        }
    }
    if (hasMarker)
        captionRect = DrawMarker(canvas, cell, column, captionRect);
    if (captionRect.width() > 0 && !text.isEmpty()) {
        TOrvoTextLayout::TParams params;
        params.Margin = m;
        params.Alignment = caption->Alignment();
        params.VAlignment = caption->VAlignment();
        params.WordWrap = caption->WordWrap();
        params.Ellipsis = caption->Ellipsis();
        canvas.Brush().SetStyle(bsClear);
        TOrvoTextLayout::Draw(canvas, captionRect, text, params);
    }
    if (offset)
        area.translate(-1, -1);
    return area;
}

void TOrvoDBGridPainter::DrawHeaderBands(TCanvas& canvas, TCellInfo& cell, TOrvoColumn* column,
                                         const QRect& titleRect)
{
    const int height = FGrid.HeaderBandHeight();
    const int line = FGrid.VertLineWidth();
    TOrvoColumnTitle* title = column->Title();
    for (int level = 0; level < title->HeaderLevels(); ++level) {
        // Neighbours sharing this header level widen the band over their columns.
        int left = titleRect.left();
        for (int col = cell.Col - 1; col >= FGrid.IndicatorOffset(); --col) {
            const TOrvoColumn* other = FGrid.ColumnOfGridCol(col);
            if (!other || !title->SharesHeaderWith(other, level))
                break;
            left -= FGrid.ColWidths(col) > 0 ? FGrid.ColWidths(col) + line : 0;
        }
        int right = titleRect.right();
        for (int col = cell.Col + 1; col < FGrid.ColCount(); ++col) {
            const TOrvoColumn* other = FGrid.ColumnOfGridCol(col);
            if (!other || !title->SharesHeaderWith(other, level))
                break;
            right += FGrid.ColWidths(col) > 0 ? FGrid.ColWidths(col) + line : 0;
        }
        QRect band(left, titleRect.top() + level * height, right - left + 1, height);
        if (FGrid.Options().Contains(dgRowLines))
            band.setBottom(band.bottom() - FGrid.GridLineWidth());
        if (cell.BothLines)
            band.setBottom(band.bottom() - 1);
        // A band over several columns would be covered by the cells painted after the
        // first of them: it is drawn once, after all of them.
        if (FPainting && std::find(FDrawnBands.begin(), FDrawnBands.end(), band) != FDrawnBands.end())
            continue;
        if (FPainting)
            FDrawnBands.push_back(band);
        const QString text = title->HeaderPart(level);
        Defer(canvas,
              [this, cell, band, text](TCanvas& target) { DrawHeaderBand(target, cell, band, text); });
    }
}

void TOrvoDBGridPainter::DrawHeaderBand(TCanvas& canvas, const TCellInfo& cell, const QRect& band,
                                        const QString& text)
{
    canvas.Font() = FGrid.HeaderFont();
    canvas.Brush().SetColor(FGrid.HeaderColor());
    canvas.Brush().SetStyle(bsSolid);
    FillFixed(canvas, cell, band);
    TOrvoTextLayout::TParams params;
    params.Margin = cell.Margin;
    params.Alignment = taCenter;
    params.VAlignment = tvCenter;
    params.WordWrap = true;
    params.Ellipsis = true;
    canvas.Brush().SetStyle(bsClear);
    TOrvoTextLayout::Draw(canvas, band, text, params);
    DrawFixedLines(canvas, cell, band, false, false);
    if (FGrid.Options().Contains(dgRowLines))
        DrawHeaderBandLines(canvas, cell, band);
}

void TOrvoDBGridPainter::DrawHeaderBandLines(TCanvas& canvas, const TCellInfo& cell, const QRect& band)
{
    const bool raised = TOrvoFixedStyles::IsRaisedStyle(FGrid.FixedStyle());
    const TColor first = cell.Themed ? FixedLineColor() : clBlack;
    const int lines = FGrid.GridLineWidth();
    const int y = band.bottom() + 1 + (cell.BothLines ? 1 : 0);
    const QRect span(band.left() - (cell.BothLines ? 1 : 0), y, band.width() + (cell.BothLines ? 2 : 0), 1);
    const bool themed = cell.Themed;
    canvas.Brush().SetStyle(bsSolid);
    for (int k = 0; k < lines; ++k) {
        if (k == 0 && (themed || raised))
            continue;
        canvas.Brush().SetColor(k == 0 ? first : TColor(0xDCDCDC));
        canvas.FillRect(span.translated(0, k));
    }
}

bool TOrvoDBGridPainter::AutoFilterApplies(const TOrvoColumn* column) const
{
    const TOrvoDBGridFilter* filter = FGrid.FilterGrid();
    const TOrvoColumnTitle* title = column->Title();
    if (!filter->AutoFilter() || !title->AutoFilter() ||
        (filter->AutoFilters() * title->AutoFilters()).IsEmpty())
        return false;
    // Pictures, raw bytes and nested records have no values a filter list could offer.
    const TField* field = column->Field();
    if (!field || field->IsBlob())
        return false;
    switch (field->DataType()) {
    case ftBytes:
    case ftVarBytes:
    case ftADT:
    case ftArray:
    case ftReference:
    case ftDataSet:
        return false;
    default:
        return true;
    }
}

QRect TOrvoDBGridPainter::DrawTitleButton(TCanvas& canvas, const TCellInfo& cell, TOrvoColumn* column,
                                          const QRect& area)
{
    const int width = FGrid.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &FGrid);
    const TOrvoColumnExpandStyle style = column->ExpandStyle();
    int glyph = -1;
    if (column->HasSubColumns() && style == cesAuto)
        glyph = 11 - int((FGrid.layoutDirection() == Qt::RightToLeft) != column->Expanded());
    else if (style == cesDropDown || style == cesDropDownMenu)
        glyph = 9;
    else if ((style == cesFilterList || style == cesFilterForm || AutoFilterApplies(column)) &&
             FGrid.FilterGrid()->Filtered())
        glyph = column->FilterText().isEmpty() && column->FilterList().isEmpty() ? 20 : 21;
    TCustomImageList* glyphs = IndicatorGlyphs();
    if (glyph < 0 || area.width() < width || glyphs->Count() <= 11)
        return area;
    const bool rightToLeft = FGrid.layoutDirection() == Qt::RightToLeft;
    QRect button = area;
    if (rightToLeft)
        button.setWidth(width);
    else
        button.setLeft(area.right() - width + 1);
    const bool pressed = FPressedTitle == column && FPressedDropDown;
    const bool hot = FHotTitle == column && FHotDropDown;
    const int state = ButtonState(FGrid.isEnabled(), pressed, hot);
    const bool headerStyle = FGrid.OptionsExt().Contains(dgForceSystemButton) || glyph >= 20;
    if (cell.Themed && !headerStyle) {
        DrawArrowButton(canvas, button, glyph, state);
    } else {
        if (cell.Themed)
            DrawHeaderStyleButton(canvas, button, state);
        else if (FGrid.Gradient()->IsActive(false) && (pressed || hot))
            FGrid.Gradient()->PaintRect(canvas, GradientButtonRect(cell, button), canvas.Brush().Color(), hot,
                                        pressed);
        DrawCentered(canvas, glyphs, glyph, button);
    }
    QRect rest = area;
    if (rightToLeft)
        rest.setLeft(button.right() + 1);
    else
        rest.setRight(button.left() - 1);
    return rest;
}

void TOrvoDBGridPainter::DrawHeaderStyleButton(TCanvas& canvas, const QRect& button, int state)
{
    if (state == 0)
        return;
    const TSystemProfile& system = TSystemProfile::Current();
    const bool vista = system.CheckVersion(6, 0);
    const bool seven = system.CheckVersion(6, 2);
    const TFixedTheme theme = FGrid.FixedTheme();
    // The element is fitted to the look of the header around it on each system.
    QRect rect = button.adjusted(0, -1, 0, seven ? 1 : 2);
    if (theme == ftButtons || theme == ftTabs) {
        if (seven)
            rect.setTop(rect.top() + 1);
        else if (vista)
            rect.translate(0, 1);
        else
            rect.setBottom(rect.bottom() - 1);
    } else if (!vista) {
        rect.adjust(0, 1, 0, -2);
    }
    if (FGrid.layoutDirection() == Qt::RightToLeft)
        rect.setLeft(rect.left() - 1);
    else
        rect.setRight(rect.right() + 1);
    TThemedElementDetails details = FixedElement(ftDefault, state == 3 ? 0 : state);
    if (!vista && state == 1)
        details = theme == ftTabs ? TThemeServices::GetElementDetails(ttTabItemSelected)
                                  : TThemeServices::GetElementDetails(ttbButtonPressed);
    else if (!vista && state == 2)
        details = theme == ftTabs      ? TThemeServices::GetElementDetails(ttTabItemHot)
                  : theme == ftButtons ? TThemeServices::GetElementDetails(tbPushButtonHot)
                                       : TThemeServices::GetElementDetails(ttbButtonHot);
    ThemeServices().DrawElement(canvas, details, rect, QRect(), &FGrid);
}

void TOrvoDBGridPainter::DrawArrowButton(TCanvas& canvas, const QRect& button, int glyph, int state)
{
    // Element parts run normal, hot, pressed, disabled for each direction.
    static constexpr int stateOffsets[] = {0, 2, 1, 3};
    const int offset = stateOffsets[state];
    const bool vista = TSystemProfile::Current().CheckVersion(6, 0);
    const QRect inner = button.adjusted(1, 1, -1, -1);
    TThemedElementDetails details;
    if (vista) {
        const TThemedSpin first = glyph == 9 ? tsDownNormal : glyph == 11 ? tsUpHorzNormal : tsDownHorzNormal;
        details = TThemeServices::GetElementDetails(TThemedSpin(first + offset));
    } else {
        const TThemedScrollBar first = glyph == 9    ? tsArrowBtnDownNormal
                                       : glyph == 11 ? tsArrowBtnRightNormal
                                                     : tsArrowBtnLeftNormal;
        details = TThemeServices::GetElementDetails(TThemedScrollBar(first + offset));
    }
    ThemeServices().DrawElement(canvas, details, inner, inner, &FGrid);
}

QRect TOrvoDBGridPainter::GradientButtonRect(const TCellInfo& cell, const QRect& button) const
{
    const bool enlarge =
        cell.GradientSoft &&
        TOrvoFixedStyles::ResolveHotButtons(FGrid.HotButtons(), FGrid.FixedStyle()) == hbNone &&
        !FGrid.Gradient()->IsHotActive(false);
    return enlarge ? button.adjusted(-1, -1, 1, 1) : button;
}

QRect TOrvoDBGridPainter::DrawMarker(TCanvas& canvas, const TCellInfo& cell, TOrvoColumn* column,
                                     QRect caption)
{
    TOrvoColumnTitle* title = column->Title();
    TCustomImageList* markers = MarkerList();
    const int m = cell.Margin;
    const int markerWidth = markers->Width() + 2;
    int x = caption.right() + 1 - markerWidth;
    if (FGrid.Options().Contains(dgMarkerAutoAlign) && title->Alignment() != taRightJustify) {
        const QFontMetrics metrics(canvas.Font().ToQFont());
        int textWidth = 0;
        for (const QString& part : title->Caption().split(QLatin1Char('\n')))
            textWidth = std::max(textWidth, metrics.horizontalAdvance(part));
        const int follow = title->Alignment() == taLeftJustify
                               ? caption.left() + textWidth + m + m + 1
                               : caption.left() + caption.width() / 2 + textWidth / 2 + m + 1;
        if (follow < x) {
            if (title->Alignment() == taCenter)
                caption.setLeft(caption.left() + (x - follow));
            x = follow;
        }
    }
    caption.setRight(x - 1);
    const int y = caption.top() + (caption.height() - markers->Height()) / 2;
    const int drawX = x - m + 2;
    markers->Draw(canvas, drawX, y, title->MarkerIndex(), FGrid.isEnabled());
    if (FGrid.OptionsExt().Contains(dgForceSystemMarker) && !FGrid.TitleMarkers())
        DrawSystemArrow(canvas, title->MarkerIndex(),
                        QRect(drawX, y, markers->Width() + 1, markers->Height() + 1));
    return caption;
}

void TOrvoDBGridPainter::DrawSystemArrow(TCanvas& canvas, int markerIndex, const QRect& box)
{
    const bool descending = markerIndex % 2 == 1;
    QRect band;
    if (markerIndex > 1)
        band = descending ? QRect(box.left(), box.bottom() - 5 + 1, box.width(), 6)
                          : QRect(box.left(), box.top() - 1, box.width(), 6);
    else
        band = QRect(box.left(), box.center().y() - 2, box.width(), 7);
    if (descending)
        band.translate(0, -1);
    DrawCentered(canvas, IndicatorGlyphs(), descending ? 9 : 8, band);
}

// --- Markers -------------------------------------------------------------------------------------

QImage TOrvoDBGridPainter::RecolorMarkers(const QImage& strip, TMarkerStyle style, bool transparent,
                                          bool forceSystem, const QPalette& palette)
{
    const bool lightIsMask = style == msDefault || style == msSoft;
    const TColor slotColors[] = {clWhite, lightIsMask ? TGlyphStrips::MaskColor : cl3DLight, clBtnShadow,
                                 cl3DDkShadow, clBlack};
    const TColor background = transparent ? TGlyphStrips::MaskColor : clWhite;
    const auto keys = TOrvoFixedStyles::MarkerKeySlots(style);
    const auto target = [&](TOrvoFixedStyles::TMarkerPaletteSlot slot) {
        if (forceSystem)
            return TGlyphStrips::MaskColor;
        return slot == TOrvoFixedStyles::mpBackground ? background : slotColors[slot];
    };
    const std::pair<QRgb, TColor> replacements[] = {
        {qRgb(0, 255, 255), target(keys[0])},
        {qRgb(0, 128, 128), target(keys[1])},
        {qRgb(0, 0, 255), target(keys[2])},
        {qRgb(0, 0, 128), target(keys[3])},
        {qRgb(0, 255, 0), forceSystem ? TGlyphStrips::MaskColor : background},
    };
    QImage result = strip.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            const QRgb pixel = line[x] | 0xFF000000u;
            for (const auto& [key, color] : replacements)
                if (pixel == key) {
                    line[x] = RgbOf(color, palette);
                    break;
                }
        }
    }
    return result;
}

TCustomImageList* TOrvoDBGridPainter::MarkerList()
{
    if (FGrid.TitleMarkers())
        return FGrid.TitleMarkers();
    const TMarkerStyle style = TOrvoFixedStyles::ResolveMarkerStyle(FGrid.MarkerStyle(), FGrid.FixedStyle(),
                                                                    FGrid.ThemedFixedCells());
    const bool transparent = TOrvoFixedStyles::MarkerIsTransparent(FGrid.MarkerTransparent(), style);
    const bool forceSystem = FGrid.OptionsExt().Contains(dgForceSystemMarker);
    const int key = int(style) + 12 * int(transparent) + 24 * int(forceSystem);
    if (FMarkers && key == FMarkerKey)
        return FMarkers.get();
    const QString name = QStringLiteral("ORVODBMARKERS");
    const QSize size = TGlyphStrips::GlyphSize(name);
    TBitmap bitmap;
    bitmap.SetImage(
        RecolorMarkers(TGlyphStrips::Strip(name), style, transparent, forceSystem, FGrid.palette()));
    FMarkers = std::make_unique<TCustomImageList>(size.width(), size.height());
    FMarkers->AddMasked(bitmap, TGlyphStrips::MaskColor);
    FMarkerKey = key;
    return FMarkers.get();
}

// --- Totals --------------------------------------------------------------------------------------

TOrvoColumnTotal* TOrvoDBGridPainter::TotalOf(const TCellInfo& cell) const
{
    return FGrid.TotalAtBottomRow(cell.Column, cell.BottomIndex);
}

bool TOrvoDBGridPainter::TotalIsBoxed(const TCellInfo& cell, const TOrvoColumnTotal* total,
                                      const QString& text) const
{
    if (!total)
        return false;
    static constexpr TOrvoDBGridOptionEx boxOptions[] = {dgTotalHeaderBox, dgTotalHeaderBox, dgTotalValuesBox,
                                                         dgTotalFieldsBox, dgTotalFooterBox};
    const auto kind = FGrid.BottomRowKind(cell.BottomIndex);
    const bool boxed = total->TotalBox() == tbTrue ||
                       (FGrid.OptionsEx().Contains(boxOptions[kind]) && total->TotalBox() != tbFalse);
    return boxed && (!text.isEmpty() || !FGrid.OptionsEx().Contains(dgTotalDataBoxOnly));
}

bool TOrvoDBGridPainter::ShowsSelectedTotal(const TCellInfo& cell, const TOrvoColumnTotal* total) const
{
    const TOrvoDBGridTotals* totals = FGrid.Totals();
    if (!total || totals->SelectedColor() == clNone ||
        !(totals->SelectedRowsPresent() || totals->SelectedColsPresent()))
        return false;
    if (total->TotalResult() != trCaption && total->TotalResult() != trCalcValue)
        return false;
    const TOrvoDBGridOptionsEx options = FGrid.OptionsEx();
    if (options.Contains(dgCalcSelectedRows))
        return true;
    switch (FGrid.BottomRowKind(cell.BottomIndex)) {
    case brTotalHeader:
        return options.Contains(dgTotalHeaderSelected);
    case brTotalValues:
        return options.Contains(dgTotalValuesSelected);
    case brTotalFooter:
        return options.Contains(dgTotalFooterSelected);
    default:
        return false;
    }
}

bool TOrvoDBGridPainter::ColumnInSelection(const TOrvoColumn* column) const
{
    // Selected rows take in every column; selected columns or cells only their own.
    const TOrvoColumnList* columns = FGrid.SelectedCols();
    return columns->Count() == 0 || columns->Selected(column->Index());
}

void TOrvoDBGridPainter::DrawTotalCell(TCanvas& canvas, TCellInfo& cell)
{
    TOrvoColumnTotal* total = TotalOf(cell);
    const TOrvoDBGridTotals* totals = FGrid.Totals();
    canvas.Font() = total ? total->Font() : totals->Font();
    canvas.Brush().SetColor(total ? total->Color() : totals->Color());
    canvas.Brush().SetStyle(bsSolid);
    // Total rows count from the first row after the blank one.
    const int totalRow = cell.BottomIndex - (FGrid.BottomRowKind(0) == brBlank ? 1 : 0);
    QString text = FGrid.GetTotalText(cell.Column, totalRow, tkDisplay);
    if (ShowsSelectedTotal(cell, total)) {
        if (ColumnInSelection(cell.Column)) {
            const TColor selected = TOrvoCustomDBGrid::ResolveColor(
                totals->SelectedColor(),
                TOrvoCustomDBGrid::DefaultSelectionColor(FGrid.Gradient()->IsActive(false)),
                canvas.Brush().Color());
            canvas.Brush().SetColor(selected);
            // A themed element covers the brush: the text carries the colour instead.
            if (cell.Themed && !ClassicThemeForced())
                canvas.Font().SetColor(selected);
        } else {
            text.clear();
        }
    }
    cell.Boxed = TotalIsBoxed(cell, total, text);
    FillFixed(canvas, cell, cell.Rect);

    QRect textRect = cell.Rect;
    const int margin = FGrid.GridStyle()->TotalColMargin();
    textRect.adjust(margin, 0, -margin, 0);
    if (cell.TotalBand) {
        if (cell.Col != FirstShownScrollableCol())
            textRect.setLeft(textRect.left() + 1);
        if (cell.Col != LastShownCol())
            textRect.setRight(textRect.right() - 1);
    }
    if (cell.Boxed)
        textRect.adjust(1, 0, -1, 0);
    TCustomImageList* images = totals->Images();
    if (total && images && total->ImageIndex() >= 0 && total->ImageIndex() < images->Count()) {
        images->Draw(canvas, textRect.left() + cell.Margin,
                     textRect.top() + (textRect.height() - images->Height()) / 2, total->ImageIndex(),
                     FGrid.isEnabled());
        textRect.setLeft(textRect.left() + images->Width() + 2);
    }
    if (!text.isEmpty()) {
        TOrvoTextLayout::TParams params;
        params.Margin = cell.Margin;
        params.Alignment = total ? total->Alignment() : taLeftJustify;
        params.VAlignment = total ? total->VAlignment() : tvCenter;
        params.WordWrap = total && total->WordWrap();
        params.Ellipsis = total && total->Ellipsis();
        canvas.Brush().SetStyle(bsClear);
        TOrvoTextLayout::Draw(canvas, textRect, text, params);
    }
    DrawFixedLines(canvas, cell, cell.Rect, false, false);
}

// --- The fixed frame -----------------------------------------------------------------------------

void TOrvoDBGridPainter::DrawBox(TCanvas& canvas, const QRect& rect, TCheckBoxStyle resolvedStyle)
{
    QRect box = rect;
    QRect inner = rect.adjusted(1, 1, -1, -1);
    switch (resolvedStyle) {
    case cbSoft:
        DrawEdge(canvas, box, BDR_SUNKENOUTER, BF_RECT);
        DrawEdge(canvas, inner, BDR_SUNKENINNER, BF_RECT);
        break;
    case cbLoweredDark:
        DrawEdge(canvas, box, BDR_SUNKENOUTER, BF_TOPLEFT | BF_MONO);
        DrawEdge(canvas, box, BDR_SUNKENINNER, BF_BOTTOMRIGHT);
        break;
    case cbLoweredGray:
        DrawEdge(canvas, box, BDR_SUNKENINNER, BF_TOPLEFT);
        DrawEdge(canvas, box, BDR_SUNKENINNER, BF_BOTTOMRIGHT);
        break;
    case cbLoweredMild:
        DrawEdge(canvas, box, BDR_SUNKENOUTER, BF_TOPLEFT);
        DrawEdge(canvas, box, BDR_SUNKENINNER, BF_BOTTOMRIGHT);
        break;
    case cbFlat:
        DrawEdge(canvas, box, BDR_SUNKENOUTER, BF_TOPLEFT | BF_MONO);
        DrawEdge(canvas, box, BDR_RAISEDOUTER, BF_BOTTOMRIGHT | BF_MONO);
        break;
    case cbGray:
        DrawEdge(canvas, box, BDR_SUNKENINNER, BF_TOPLEFT);
        DrawEdge(canvas, box, BDR_RAISEDOUTER, BF_BOTTOMRIGHT);
        break;
    case cbMild:
        DrawEdge(canvas, box, BDR_SUNKENOUTER, BF_TOPLEFT);
        DrawEdge(canvas, box, BDR_RAISEDINNER, BF_BOTTOMRIGHT);
        break;
    default:
        DrawEdge(canvas, box, BDR_SUNKENOUTER, BF_RECT);
        DrawEdge(canvas, inner, BDR_SUNKENOUTER, BF_TOPLEFT | BF_MONO);
        DrawEdge(canvas, inner, BDR_SUNKENINNER, BF_BOTTOMRIGHT);
        break;
    }
}

void TOrvoDBGridPainter::DrawFixedLines(TCanvas& canvas, const TCellInfo& cell, const QRect& rect,
                                        bool pressed, bool hot)
{
    if (!cell.Fixed || cell.Themed)
        return;
    const TColor brush = canvas.Brush().Color();
    canvas.Brush().SetStyle(bsSolid);
    DrawFixedCellLines(canvas, cell, rect);
    QRect frame = rect;
    const TFixedStyle style = FGrid.FixedStyle();
    const bool raised = TOrvoFixedStyles::IsRaisedStyle(style);
    if (cell.BothLines) {
        frame.adjust(-1, -1, 1, 1);
        DrawFixedEdges(canvas, cell, frame, brush);
    }
    if (cell.Boxed)
        DrawTotalBox(canvas, cell, rect);
    const bool trackedByGradient = cell.Gradient && FGrid.Gradient()->IsHotActive(false);
    if ((pressed || hot) && !trackedByGradient)
        DrawTitleButtonState(canvas, frame, pressed,
                             TOrvoFixedStyles::ResolveHotButtons(FGrid.HotButtons(), style), style, raised,
                             cell.BothLines);
    canvas.Brush().SetColor(brush);
}

void TOrvoDBGridPainter::DrawFixedCellLines(TCanvas& canvas, const TCellInfo& cell, const QRect& rect)
{
    const TOrvoDBGridOptions options = FGrid.Options();
    const bool colLines = options.Contains(dgColLines);
    const bool rowLines = options.Contains(dgRowLines);
    const TFixedStyle style = FGrid.FixedStyle();
    const bool rightToLeft = FGrid.layoutDirection() == Qt::RightToLeft;
    if (!cell.BothLines || style == fsDefault || style == fsNice || style == fsFlat) {
        canvas.Brush().SetColor(clBlack);
        const int c = colLines ? 1 : 0;
        const int r = rowLines ? 1 : 0;
        if (rowLines)
            canvas.FillRect(QRect(rect.left() - c, rect.bottom() + 1 + c, rect.width() + 2 * c, 1));
        if (colLines && !(cell.TotalBand && rightToLeft))
            canvas.FillRect(QRect(rect.right() + 1 + r, rect.top() - r, 1, rect.height() + 3 * r));
    }
    const bool firstTotalRow = cell.IsBottomRow() && cell.BottomIndex == 1 &&
                               FGrid.BottomRowKind(0) == brBlank &&
                               FGrid.RowHeights(FGrid.FirstBottomRow()) > 0;
    if (firstTotalRow && rowLines) {
        const int outside = cell.BothLines ? 1 : 0;
        canvas.Brush().SetColor(cell.BothLines ? FixedLineColor() : clBlack);
        canvas.FillRect(QRect(rect.left() - 1, rect.top() - 1 - outside, rect.width() + 2, 1));
        if (rightToLeft && colLines)
            canvas.FillRect(
                QRect(rect.left() - 1 - outside, rect.top() - outside, 1, rect.height() + 2 * outside));
    }
}

void TOrvoDBGridPainter::DrawFixedEdges(TCanvas& canvas, const TCellInfo& cell, const QRect& frame,
                                        TColor brush)
{
    const TFixedStyle style = FGrid.FixedStyle();
    if (TOrvoFixedStyles::IsRaisedStyle(style)) {
        QRect outer = frame.adjusted(0, 0, 1, 1);
        const unsigned edge =
            style == fsSoft || style == fsGreat || style == fsGray ? BDR_RAISEDOUTER : BDR_RAISEDINNER;
        const bool mirrored = cell.TotalBand && FGrid.layoutDirection() == Qt::RightToLeft;
        if (mirrored)
            outer.adjust(-1, 0, -1, 0);
        DrawEdge(canvas, outer, edge, (mirrored ? BF_LEFT : BF_RIGHT) | BF_BOTTOM);
    }
    if (cell.GradientSoft)
        return;
    const unsigned flat = TOrvoFixedStyles::IsFlatStyle(style) ? BF_FLAT : 0;
    const bool soft = TOrvoFixedStyles::IsSoftStyle(style);
    const unsigned softFlag = soft ? BF_SOFT : 0;
    QRect edges = frame;
    if (cell.TotalBand) {
        const bool bandStart = cell.Col == FirstShownScrollableCol();
        const bool bandEnd = cell.Col == LastShownCol();
        DrawEdge(canvas, edges, BDR_RAISEDINNER, (bandEnd ? BF_RIGHT : 0) | BF_BOTTOM | flat);
        DrawEdge(canvas, edges, BDR_RAISEDINNER, (bandStart ? BF_LEFT : 0) | BF_TOP | softFlag);
    } else if (FGrid.FixedColor() != clBtnFace && soft) {
        canvas.Brush().SetColor(brush);
        canvas.FrameRect(frame);
    } else {
        DrawEdge(canvas, edges, BDR_RAISEDINNER, BF_BOTTOMRIGHT | flat);
        DrawEdge(canvas, edges, BDR_RAISEDINNER, BF_TOPLEFT | softFlag);
    }
}

void TOrvoDBGridPainter::DrawTotalBox(TCanvas& canvas, const TCellInfo& cell, const QRect& rect)
{
    const TCheckBoxStyle box =
        TOrvoFixedStyles::ResolveBoxStyle(FGrid.Totals()->BoxStyle(), FGrid.FixedStyle());
    const int totalRowSpace = FGrid.GridStyle()->TotalRowSpace();
    const bool lowered = TOrvoFixedStyles::IsLoweredBox(box);
    const int inset = totalRowSpace >= 6 && lowered ? 2 : 1;
    QRect boxRect = rect.adjusted(inset, inset, -inset, -inset);
    if (totalRowSpace > 5 && cell.TotalBand && cell.Col != FirstShownScrollableCol() && lowered)
        boxRect.setLeft(boxRect.left() - 1);
    DrawBox(canvas, boxRect, box);
}

void TOrvoDBGridPainter::DrawTitleButtonState(TCanvas& canvas, const QRect& frame, bool pressed,
                                              THotButtons hotButtons, TFixedStyle style, bool raised,
                                              bool both)
{
    QRect rect = frame;
    if (pressed) {
        if (both && !raised) {
            QRect outside = rect.adjusted(0, 0, 1, 1);
            DrawEdge(canvas, outside, BDR_RAISEDOUTER, BF_BOTTOMRIGHT);
        }
        DrawEdge(canvas, rect, BDR_SUNKENINNER, BF_RECT);
        return;
    }
    switch (hotButtons) {
    case hbBump:
        DrawEdge(canvas, rect, EDGE_BUMP, BF_RECT);
        break;
    case hbTile: {
        QRect shifted = rect.translated(1, 1);
        DrawEdge(canvas, shifted, EDGE_ETCHED, BF_RECT);
        break;
    }
    case hbLowered:
        DrawEdge(canvas, rect, BDR_SUNKENOUTER, BF_RECT);
        break;
    case hbRaised:
        if (style == fsFine) {
            DrawEdge(canvas, rect, EDGE_RAISED, BF_TOPLEFT);
            QRect shifted = rect.translated(1, 1);
            DrawEdge(canvas, shifted, BDR_RAISEDOUTER, BF_BOTTOMRIGHT);
        } else if (style == fsMild) {
            QRect larger = rect.adjusted(0, 0, 1, 1);
            DrawEdge(canvas, larger, BDR_RAISEDINNER, BF_RECT);
        } else if (style > fsSoft) {
            DrawEdge(canvas, rect, BDR_RAISEDINNER, BF_RECT);
        } else {
            DrawEdge(canvas, rect, EDGE_RAISED, BF_RECT);
        }
        break;
    default:
        break;
    }
}

} // namespace orvo
