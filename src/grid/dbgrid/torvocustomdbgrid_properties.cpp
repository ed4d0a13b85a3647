// The published properties of the data grid: each setter compares, stores and then
// asks for the narrowest refresh that shows the change.

#include "grid/dbgrid/torvocustomdbgrid.h"

#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/fieldlists.h"
#include "grid/dbgrid/torvodbgridgradient.h"
#include "grid/painting/torvogridstyle.h"
#include "grid/scrolling/torvoscrollprop.h"
#include "grid/totals/torvodbgridtotals.h"
#include "platform/core/tsystemprofile.h"
#include "platform/data/tdataset.h"
#include "platform/data/tfield.h"
#include "platform/graphics/colorutils.h"
#include "platform/graphics/tcustomimagelist.h"
#include "platform/gridbase/tinplaceedit.h"

#include <QFontMetrics>
#include <QMenu>

#include <algorithm>

namespace orvo {

namespace {

constexpr int MinIndicatorWidth = 11;
constexpr int NoLimit = -1;

} // namespace

// --- Colours --------------------------------------------------------------------------------

void TOrvoCustomDBGrid::ColorPropertyChanged(TColor& property, TColor value, TGridDrawingOption option)
{
    if (value == property)
        return;
    property = value;
    UpdateDrawingOption(option, value != clNone);
    if (option != gdoEditorColor)
        LayoutChanged();
}

void TOrvoCustomDBGrid::SetDataColLineColor(TColor value)
{
    ColorPropertyChanged(FDataColLineColor, value, gdoDataColLines);
}

void TOrvoCustomDBGrid::SetDataRowLineColor(TColor value)
{
    ColorPropertyChanged(FDataRowLineColor, value, gdoDataRowLines);
}

void TOrvoCustomDBGrid::SetEditorColor(TColor value)
{
    ColorPropertyChanged(FEditorColor, value, gdoEditorColor);
}

void TOrvoCustomDBGrid::SetHighlightText(TColor value)
{
    ColorPropertyChanged(FHighlightText, value, gdoHighlightText);
}

void TOrvoCustomDBGrid::SetSelectCellColor(TColor value)
{
    ColorPropertyChanged(FSelectCellColor, value, gdoSelectedCell);
}

void TOrvoCustomDBGrid::SetSelectionColor(TColor value)
{
    ColorPropertyChanged(FSelectionColor, value, gdoMultiSelected);
}

void TOrvoCustomDBGrid::SetSelectRowColor(TColor value)
{
    ColorPropertyChanged(FSelectRowColor, value, gdoSelectedRow);
}

void TOrvoCustomDBGrid::SetStripeColor(TColor value)
{
    ColorPropertyChanged(FStripeColor, value, gdoStripedRows);
}

void TOrvoCustomDBGrid::UpdateDrawingOption(TGridDrawingOption option, bool on)
{
    if (on)
        FDrawingOptions.Include(option);
    else
        FDrawingOptions.Exclude(option);
}

void TOrvoCustomDBGrid::SetDrawingOptions(TGridDrawingOptions value)
{
    const TGridDrawingOptions changed = (value - FDrawingOptions) + (FDrawingOptions - value);
    const auto follow = [&](TGridDrawingOption option, TColor& colour) {
        if (changed.Contains(option))
            colour = value.Contains(option) ? clDefault : clNone;
    };
    follow(gdoHighlightText, FHighlightText);
    follow(gdoDataColLines, FDataColLineColor);
    follow(gdoDataRowLines, FDataRowLineColor);
    follow(gdoSelectedCell, FSelectCellColor);
    follow(gdoSelectedRow, FSelectRowColor);
    follow(gdoMultiSelected, FSelectionColor);
    follow(gdoStripedRows, FStripeColor);
    follow(gdoEditorColor, FEditorColor);
    if (changed.Contains(gdoTotalSelected))
        FTotals->SetSelectedColor(value.Contains(gdoTotalSelected) ? clDefault : clNone);
    FDrawingOptions = value;
    if (!changed.IsEmpty())
        LayoutChanged();
}

TGridDrawingStyle TOrvoCustomDBGrid::DrawingStyle() const
{
    if (FFixedTheme != ftNone)
        return gdsThemed;
    return FGradient->Active() ? gdsGradient : gdsClassic;
}

void TOrvoCustomDBGrid::SetDrawingStyle(TGridDrawingStyle value)
{
    if (value == DrawingStyle())
        return;
    SetFixedTheme(value == gdsThemed ? ftDefault : ftNone);
    FGradient->SetActive(value != gdsClassic);
}

TColor TOrvoCustomDBGrid::ResolveColor(TColor property, TColor computedDefault, TColor inUse)
{
    if (property == clDefault)
        return computedDefault;
    if (property != clNone)
        return property;
    return inUse == clDefault ? computedDefault : inUse;
}

namespace {

enum class TSystemGeneration
{
    Newest,
    VistaGradient,
    Vista,
    Older
};

TSystemGeneration SelectionGeneration(bool gradientActive)
{
    const TSystemProfile& system = TSystemProfile::Current();
    if (system.CheckVersion(6, 2) && system.IsNewestSystemBuild())
        return TSystemGeneration::Newest;
    if (system.CheckVersion(6, 0))
        return gradientActive ? TSystemGeneration::VistaGradient : TSystemGeneration::Vista;
    return TSystemGeneration::Older;
}

} // namespace

TColor TOrvoCustomDBGrid::DefaultSelectCellColor(bool gradientActive)
{
    switch (SelectionGeneration(gradientActive)) {
    case TSystemGeneration::Newest:
        return ShiftLuminance(clHighlight, -10);
    case TSystemGeneration::VistaGradient:
        return 0xE86800;
    case TSystemGeneration::Vista:
        return 0xFF7D13;
    case TSystemGeneration::Older:
        break;
    }
    return clHighlight;
}

TColor TOrvoCustomDBGrid::DefaultSelectionColor(bool gradientActive)
{
    switch (SelectionGeneration(gradientActive)) {
    case TSystemGeneration::Newest:
        return clHighlight;
    case TSystemGeneration::VistaGradient:
        return 0xFF7D13;
    case TSystemGeneration::Vista:
        return 0xFF953D;
    case TSystemGeneration::Older:
        break;
    }
    return clGradientActiveCaption;
}

TColor TOrvoCustomDBGrid::DefaultSelectRowColor(bool gradientActive)
{
    switch (SelectionGeneration(gradientActive)) {
    case TSystemGeneration::Newest:
        return ShiftLuminance(clHighlight, 20);
    case TSystemGeneration::VistaGradient:
        return 0xE49E78;
    case TSystemGeneration::Vista:
        return 0xEBB99D;
    case TSystemGeneration::Older:
        break;
    }
    return clGradientInactiveCaption;
}

void TOrvoCustomDBGrid::SetFixedColor(TColor value)
{
    const TColor old = FixedColor();
    if (value == old)
        return;
    TCustomGrid::SetFixedColor(value);
    if (!FFillerColorApart)
        FFillerColor = value;
    if (!FHeaderColorApart)
        FHeaderColor = value;
    if (FTotals->Color() == old)
        FTotals->SetColor(value);
    InvalidateGrid();
}

void TOrvoCustomDBGrid::SetFillerColor(TColor value)
{
    FFillerColorApart = value != FixedColor();
    if (value == FFillerColor)
        return;
    FFillerColor = value;
    RepaintFillerCell();
}

void TOrvoCustomDBGrid::SetHeaderColor(TColor value)
{
    FHeaderColorApart = value != FixedColor();
    if (value == FHeaderColor)
        return;
    FHeaderColor = value;
    if (FOptions.Contains(dgTitles) && FOptions.Contains(dgTitleHeaders))
        LayoutChanged();
}

void TOrvoCustomDBGrid::SetFillerIndex(int value)
{
    if (value == FFillerIndex)
        return;
    FFillerIndex = value;
    RepaintFillerCell();
}

void TOrvoCustomDBGrid::RepaintFillerCell()
{
    if (FOptions.Contains(dgTitles) && FOptions.Contains(dgIndicator))
        InvalidateCell(0, 0);
}

// --- Look ---------------------------------------------------------------------------------------

bool TOrvoCustomDBGrid::ThemedFixedCells() const
{
    return FFixedTheme != ftNone && TSystemProfile::Current().ThemesEnabled();
}

bool TOrvoCustomDBGrid::FixedCellsRefreshFrame() const
{
    static constexpr TFixedStyle framed[] = {fsSoft, fsGreat, fsGray, fsFine, fsMild};
    return ThemedFixedCells() ||
           std::find(std::begin(framed), std::end(framed), FFixedStyle) != std::end(framed);
}

void TOrvoCustomDBGrid::ApplyCtl3DRule(bool refreshFrame)
{
    if (FCtl3DAuto) {
        const bool want = ThemedFixedCells() || (!TSystemProfile::Current().ThemesEnabled() &&
                                                 (FFixedStyle == fsDefault || FFixedStyle == fsSoft));
        if (want != FCtl3D) {
            FCtl3D = want;
            AdjustCtl3D();
        }
    }
    if (refreshFrame && BorderStyle() == bsSingle && !FCtl3D) {
        AdjustCtl3D();
        FScrollProp->ApplyScrollProps();
    }
}

void TOrvoCustomDBGrid::AdjustCtl3D()
{
    if (BorderStyle() == bsNone) {
        setFrameStyle(QFrame::NoFrame);
        return;
    }
    // A flat single border is a plain one-pixel box; the 3-D one the style's sunken panel.
    setFrameStyle(FCtl3D ? (QFrame::StyledPanel | QFrame::Sunken) : (QFrame::Box | QFrame::Plain));
    setLineWidth(1);
    RepaintFrame();
}

void TOrvoCustomDBGrid::SetCtl3D(bool value)
{
    FCtl3DAuto = false;
    if (value == FCtl3D)
        return;
    FCtl3D = value;
    FParentCtl3D = false;
    AdjustCtl3D();
}

void TOrvoCustomDBGrid::SetCtl3DAuto(bool value)
{
    if (value == FCtl3DAuto)
        return;
    FCtl3DAuto = value;
    if (!value)
        return;
    FParentCtl3D = false;
    ApplyCtl3DRule(false);
    if (!FLoading)
        AdjustCtl3D();
}

void TOrvoCustomDBGrid::SetParentCtl3D(bool value)
{
    if (value)
        FCtl3DAuto = false;
    FParentCtl3D = value;
}

void TOrvoCustomDBGrid::SetBorderStyle(TBorderStyle value)
{
    if (value == BorderStyle())
        return;
    TCustomGrid::SetBorderStyle(value);
    FScrollProp->ApplyScrollProps();
    PositionSearchPanel();
    if (!FLoading)
        AdjustCtl3D();
}

void TOrvoCustomDBGrid::SetFixedStyle(TFixedStyle value)
{
    if (value == FFixedStyle)
        return;
    FFixedStyle = value;
    if (FScrollProp->ParentStyle())
        FScrollProp->ApplyScrollProps();
    LayoutChanged();
    ApplyCtl3DRule(!FLoading);
}

void TOrvoCustomDBGrid::SetFixedTheme(TFixedTheme value)
{
    if (value == FFixedTheme)
        return;
    const bool noneSwitched = (value == ftNone) != (FFixedTheme == ftNone);
    FFixedTheme = value;
    if (noneSwitched && FGridStyle->VisualStyle() == vsDefault)
        FGridStyle->SetVisualStyle(vsDefault, true);
    LayoutChanged();
    ApplyCtl3DRule(!FLoading);
    PositionSearchPanel();
}

void TOrvoCustomDBGrid::SetFocusRect(TFocusRect value)
{
    if (value == FFocusRect)
        return;
    FFocusRect = value;
    LayoutChanged();
}

void TOrvoCustomDBGrid::SetHotButtons(THotButtons value)
{
    if (value == FHotButtons)
        return;
    FHotButtons = value;
    LayoutChanged();
}

void TOrvoCustomDBGrid::SetListBorder(TListBorder value)
{
    if (value == FListBorder)
        return;
    FListBorder = value;
    LayoutChanged();
}

void TOrvoCustomDBGrid::SetMarkerStyle(TMarkerStyle value)
{
    if (value == FMarkerStyle)
        return;
    FMarkerStyle = value;
    LayoutChanged();
}

void TOrvoCustomDBGrid::SetMarkerTransparent(TMarkerTransparent value)
{
    if (value == FMarkerTransparent)
        return;
    FMarkerTransparent = value;
    LayoutChanged();
}

void TOrvoCustomDBGrid::SetGridLineWidth(int value)
{
    value = std::max(1, value);
    if (value == GridLineWidth())
        return;
    TCustomGrid::SetGridLineWidth(value);
    LayoutChanged();
}

void TOrvoCustomDBGrid::SetScrollBars(TScrollStyle value)
{
    if (value == FScrollBarsAsked)
        return;
    FScrollBarsAsked = value;
    // The vertical bar is the grid's own: it follows records, not rows.
    TCustomGrid::SetScrollBars(value == ssHorizontal || value == ssBoth ? ssHorizontal : ssNone);
    FScrollProp->ApplyScrollProps();
    UpdateScrollBar();
    LayoutChanged();
}

void TOrvoCustomDBGrid::SetBiDiMode(Qt::LayoutDirection value)
{
    if (value == layoutDirection())
        return;
    setLayoutDirection(value);
    // Flat bars are only used left to right.
    FScrollProp->UseFlatScrollBars();
    FScrollProp->ApplyScrollProps();
    RefreshEditor();
    InvalidateGrid();
    SynchronizeNextGrids();
}

void TOrvoCustomDBGrid::SetHint(const QString& value)
{
    FHint = value;
    setToolTip(value);
}

// --- Fonts -----------------------------------------------------------------------------------------

TFont TOrvoCustomDBGrid::Font() const
{
    return TFont(font(), FFontColor);
}

void TOrvoCustomDBGrid::SetFont(const TFont& value)
{
    FFontColor = value.Color();
    setFont(value.ToQFont());
}

bool TOrvoCustomDBGrid::ParentFont() const
{
    return !testAttribute(Qt::WA_SetFont);
}

void TOrvoCustomDBGrid::SetParentFont(bool value)
{
    if (value == ParentFont())
        return;
    if (value) {
        setFont(QFont());
        setAttribute(Qt::WA_SetFont, false);
        CopyParentFont();
    } else {
        setFont(font());
    }
}

void TOrvoCustomDBGrid::CopyParentFont()
{
    FCopyingParentFont = true;
    const TFont current = Font();
    FTitleFont = current;
    FHeaderFont = current;
    FTotals->SetFont(current);
    FCopyingParentFont = false;
    const int height = QFontMetrics(font()).height();
    if (FOptionsExt.Contains(dgScaleByParentFont) && FParentFontHeight > 0 && height != FParentFontHeight &&
        !FLoading)
        ScaleColumnWidths(height, FParentFontHeight);
    FParentFontHeight = height;
    LayoutChanged();
    RefreshEditor();
}

void TOrvoCustomDBGrid::SetTitleFont(const TFont& value)
{
    if (value == FTitleFont)
        return;
    FTitleFont = value;
    AfterFixedFontChange(true);
}

void TOrvoCustomDBGrid::SetHeaderFont(const TFont& value)
{
    if (value == FHeaderFont)
        return;
    FHeaderFont = value;
    AfterFixedFontChange(false);
}

void TOrvoCustomDBGrid::AfterFixedFontChange(bool titles)
{
    if (!FCopyingParentFont && !FLoading && ParentFont())
        setFont(font()); // a font of its own: the parent's next change no longer reaches the titles
    const bool shown = FOptions.Contains(dgTitles) && (titles || FOptions.Contains(dgTitleHeaders));
    if (shown) {
        LayoutChanged();
        RefreshEditor();
    }
}

// --- Sizes and counts ------------------------------------------------------------------------------

void TOrvoCustomDBGrid::SetFixedCols(int value)
{
    value = std::max(0, value);
    if (value == FFixedColsProperty)
        return;
    FFixedColsProperty = value;
    LayoutChanged();
    RefreshEditor();
    if (LeftCol() < TCustomGrid::FixedCols())
        SetLeftCol(TCustomGrid::FixedCols());
}

void TOrvoCustomDBGrid::SetIndicatorWidth(int value)
{
    value = std::max(MinIndicatorWidth, value);
    if (value == FIndicatorWidth)
        return;
    FIndicatorWidth = value;
    if (FOptions.Contains(dgIndicator)) {
        LayoutChanged();
        RefreshEditor();
    }
}

/// A lower limit that follows `upper` only while both are real limits: -1 means
/// "none", and a clamp meant for a real limit must not turn it into one.
void TOrvoCustomDBGrid::ClampUpperLimit(int& value, int lower)
{
    if (value != NoLimit && lower != NoLimit && value < lower)
        value = lower;
}

void TOrvoCustomDBGrid::SetDefaultWidthMax(int value)
{
    if (value < NoLimit)
        return;
    ClampUpperLimit(value, FDefaultWidthMin);
    if (value == FDefaultWidthMax)
        return;
    FDefaultWidthMax = value;
    if (FColumns->State() == csDefault)
        LayoutChanged();
}

void TOrvoCustomDBGrid::SetDefaultWidthMin(int value)
{
    if (value < NoLimit)
        return;
    if (value != NoLimit && FDefaultWidthMax != NoLimit && value > FDefaultWidthMax)
        value = FDefaultWidthMax;
    if (value == FDefaultWidthMin)
        return;
    FDefaultWidthMin = value;
    if (FColumns->State() == csDefault)
        LayoutChanged();
}

void TOrvoCustomDBGrid::SetStretchWidthMax(int value)
{
    if (value < NoLimit)
        return;
    ClampUpperLimit(value, FStretchWidthMin);
    if (value == FStretchWidthMax)
        return;
    FStretchWidthMax = value;
    if (FStretchMode)
        LayoutChanged();
}

void TOrvoCustomDBGrid::SetStretchWidthMin(int value)
{
    if (value < NoLimit)
        return;
    if (value != NoLimit && FStretchWidthMax != NoLimit && value > FStretchWidthMax)
        value = FStretchWidthMax;
    if (value == FStretchWidthMin)
        return;
    FStretchWidthMin = value;
    if (FStretchMode)
        LayoutChanged();
}

void TOrvoCustomDBGrid::SetStretchMode(bool value)
{
    // Grids chained to a master take their widths from it.
    if (FMasterGrid)
        value = false;
    if (value == FStretchMode)
        return;
    FStretchMode = value;
    LayoutChanged();
    // The stretched columns start at the first scrollable one.
    if (value && FScrollProp->AutoStretch() && LeftCol() > TCustomGrid::FixedCols())
        SetLeftCol(TCustomGrid::FixedCols());
}

void TOrvoCustomDBGrid::SetHeaderLinesCount(int value)
{
    value = std::clamp(value, 1, MaxLinesCount);
    if (value == FHeaderLinesCount)
        return;
    FHeaderLinesCount = value;
    if (FOptions.Contains(dgTitles) && FOptions.Contains(dgTitleHeaders)) {
        LayoutChanged();
        RefreshEditor();
    }
}

void TOrvoCustomDBGrid::SetTitleLinesCount(int value)
{
    value = std::clamp(value, 1, MaxLinesCount);
    if (value == FTitleLinesCount)
        return;
    FTitleLinesCount = value;
    if (FOptions.Contains(dgTitles)) {
        LayoutChanged();
        RefreshEditor();
    }
}

void TOrvoCustomDBGrid::SetLinesCount(int value)
{
    if (value < 0)
        return;
    value = std::min(std::max({1, value, FLinesCountMin}), MaxLinesCount);
    if (FLinesCountMax != NoLimit)
        value = std::min(value, FLinesCountMax);
    if (value == FLinesCount)
        return;
    FLinesCount = value;
    LayoutChanged();
    RefreshEditor();
}

void TOrvoCustomDBGrid::SetLinesCountMax(int value)
{
    if (value < NoLimit)
        return;
    ClampUpperLimit(value, FLinesCountMin);
    FLinesCountMax = value;
    if (value != NoLimit && FLinesCount > value)
        SetLinesCount(value);
}

void TOrvoCustomDBGrid::SetLinesCountMin(int value)
{
    if (value < 0)
        return;
    value = std::clamp(value, 1, MaxLinesCount);
    if (FLinesCountMax != NoLimit && value > FLinesCountMax)
        value = FLinesCountMax;
    FLinesCountMin = value;
    if (FLinesCount < value)
        SetLinesCount(value);
}

void TOrvoCustomDBGrid::SetWheelScrollRows(int value)
{
    FWheelScrollRows = std::max(NoLimit, value);
}

// --- References ---------------------------------------------------------------------------------------

void TOrvoCustomDBGrid::SetFillerPopupMenu(QMenu* value)
{
    FFillerPopupMenu = value;
}

void TOrvoCustomDBGrid::SetIndicatorPopupMenu(QMenu* value)
{
    FIndicatorPopupMenu = value;
}

void TOrvoCustomDBGrid::SetPopupMenu(QMenu* value)
{
    FPopupMenu = value;
}

void TOrvoCustomDBGrid::SetIndicatorImages(TCustomImageList* value)
{
    if (value == FIndicatorImages)
        return;
    FIndicatorImages = value;
    if (FOptions.Contains(dgIndicator))
        LayoutChanged();
}

void TOrvoCustomDBGrid::SetTitleImages(TCustomImageList* value)
{
    if (value == FTitleImages)
        return;
    FTitleImages = value;
    if (FOptions.Contains(dgTitles))
        LayoutChanged();
}

void TOrvoCustomDBGrid::SetTitleMarkers(TCustomImageList* value)
{
    if (value == FTitleMarkers)
        return;
    FTitleMarkers = value;
    if (FOptions.Contains(dgTitles))
        LayoutChanged();
}

// --- Field lists ----------------------------------------------------------------------------------------

void TOrvoCustomDBGrid::SetKeyFields(const QString& value)
{
    const QString normalized = NormalizedFieldList(value, DataSet());
    if (normalized == FKeyFields)
        return;
    FKeyFields = normalized;
    InvalidateGrid();
}

void TOrvoCustomDBGrid::SetDetailFields(const QString& value)
{
    const QString normalized = NormalizedFieldList(value, DataSet());
    if (normalized == FDetailFields)
        return;
    FDetailFields = normalized;
    UpdateOrder(true);
}

void TOrvoCustomDBGrid::RefreshEditor()
{
    if (EditorMode())
        InvalidateEditor();
}

} // namespace orvo
