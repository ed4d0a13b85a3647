// The published properties of the data grid: each setter compares, stores and then
// asks for the narrowest refresh that shows the change.

#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvocustomdbgrid_p.h"

#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/fieldlists.h"
#include "grid/dbgrid/torvodbgridgradient.h"
#include "grid/painting/torvogridstyle.h"
#include "grid/scrolling/torvoscrollprop.h"
#include "grid/totals/torvodbgridtotals.h"
#include "platform/core/tsystemprofile.h"
#include "platform/data/tdataset.h"
#include "platform/data/tfield.h"
#include "platform/graphics/tcustomimagelist.h"
#include "platform/gridbase/tinplaceedit.h"

#include <QFontMetrics>
#include <QMenu>

#include <algorithm>

namespace orvo {

namespace {

constexpr int MinIndicatorWidth = 11;
constexpr int NoLimit = -1;

/// An upper limit that follows `lower` only while both are real limits: -1 means
/// "none", and a clamp meant for a real limit must not turn it into one.
void ClampUpperLimit(int& value, int lower)
{
    if (value != NoLimit && lower != NoLimit && value < lower)
        value = lower;
}

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
    ColorPropertyChanged(d->FDataColLineColor, value, gdoDataColLines);
}

void TOrvoCustomDBGrid::SetDataRowLineColor(TColor value)
{
    ColorPropertyChanged(d->FDataRowLineColor, value, gdoDataRowLines);
}

void TOrvoCustomDBGrid::SetEditorColor(TColor value)
{
    ColorPropertyChanged(d->FEditorColor, value, gdoEditorColor);
}

void TOrvoCustomDBGrid::SetHighlightText(TColor value)
{
    ColorPropertyChanged(d->FHighlightText, value, gdoHighlightText);
}

void TOrvoCustomDBGrid::SetSelectCellColor(TColor value)
{
    ColorPropertyChanged(d->FSelectCellColor, value, gdoSelectedCell);
}

void TOrvoCustomDBGrid::SetSelectionColor(TColor value)
{
    ColorPropertyChanged(d->FSelectionColor, value, gdoMultiSelected);
}

void TOrvoCustomDBGrid::SetSelectRowColor(TColor value)
{
    ColorPropertyChanged(d->FSelectRowColor, value, gdoSelectedRow);
}

void TOrvoCustomDBGrid::SetStripeColor(TColor value)
{
    ColorPropertyChanged(d->FStripeColor, value, gdoStripedRows);
}

void TOrvoCustomDBGrid::UpdateDrawingOption(TGridDrawingOption option, bool on)
{
    if (on)
        d->FDrawingOptions.Include(option);
    else
        d->FDrawingOptions.Exclude(option);
}

void TOrvoCustomDBGrid::SetDrawingOptions(TGridDrawingOptions value)
{
    const TGridDrawingOptions changed = (value - d->FDrawingOptions) + (d->FDrawingOptions - value);
    const auto follow = [&](TGridDrawingOption option, TColor& colour) {
        if (changed.Contains(option))
            colour = value.Contains(option) ? clDefault : clNone;
    };
    follow(gdoHighlightText, d->FHighlightText);
    follow(gdoDataColLines, d->FDataColLineColor);
    follow(gdoDataRowLines, d->FDataRowLineColor);
    follow(gdoSelectedCell, d->FSelectCellColor);
    follow(gdoSelectedRow, d->FSelectRowColor);
    follow(gdoMultiSelected, d->FSelectionColor);
    follow(gdoStripedRows, d->FStripeColor);
    follow(gdoEditorColor, d->FEditorColor);
    if (changed.Contains(gdoTotalSelected))
        d->FTotals->SetSelectedColor(value.Contains(gdoTotalSelected) ? clDefault : clNone);
    d->FDrawingOptions = value;
    if (!changed.IsEmpty())
        LayoutChanged();
}

TGridDrawingStyle TOrvoCustomDBGrid::DrawingStyle() const
{
    if (d->FFixedTheme != ftNone)
        return gdsThemed;
    return d->FGradient->Active() ? gdsGradient : gdsClassic;
}

void TOrvoCustomDBGrid::SetDrawingStyle(TGridDrawingStyle value)
{
    if (value == DrawingStyle())
        return;
    SetFixedTheme(value == gdsThemed ? ftDefault : ftNone);
    d->FGradient->SetActive(value != gdsClassic);
}

void TOrvoCustomDBGrid::SetFixedColor(TColor value)
{
    const TColor old = FixedColor();
    if (value == old)
        return;
    TCustomGrid::SetFixedColor(value);
    if (!d->FFillerColorApart)
        d->FFillerColor = value;
    if (!d->FHeaderColorApart)
        d->FHeaderColor = value;
    if (d->FTotals->Color() == old)
        d->FTotals->SetColor(value);
    InvalidateGrid();
}

void TOrvoCustomDBGrid::SetFillerColor(TColor value)
{
    d->FFillerColorApart = value != FixedColor();
    if (value == d->FFillerColor)
        return;
    d->FFillerColor = value;
    RepaintFillerCell();
}

void TOrvoCustomDBGrid::SetHeaderColor(TColor value)
{
    d->FHeaderColorApart = value != FixedColor();
    if (value == d->FHeaderColor)
        return;
    d->FHeaderColor = value;
    if (d->FOptions.Contains(dgTitles) && d->FOptions.Contains(dgTitleHeaders))
        LayoutChanged();
}

void TOrvoCustomDBGrid::SetFillerIndex(int value)
{
    if (value == d->FFillerIndex)
        return;
    d->FFillerIndex = value;
    RepaintFillerCell();
}

void TOrvoCustomDBGrid::RepaintFillerCell()
{
    if (d->FOptions.Contains(dgTitles) && d->FOptions.Contains(dgIndicator))
        InvalidateCell(0, 0);
}

// --- Look ---------------------------------------------------------------------------------------

bool TOrvoCustomDBGrid::ThemedFixedCells() const
{
    return d->FFixedTheme != ftNone && TSystemProfile::Current().ThemesEnabled();
}

bool TOrvoCustomDBGrid::FixedCellsRefreshFrame() const
{
    static constexpr TFixedStyle framed[] = {fsSoft, fsGreat, fsGray, fsFine, fsMild};
    return ThemedFixedCells() ||
           std::find(std::begin(framed), std::end(framed), d->FFixedStyle) != std::end(framed);
}

void TOrvoCustomDBGrid::ApplyCtl3DRule(bool refreshFrame)
{
    if (d->FCtl3DAuto) {
        const bool want = ThemedFixedCells() || (!TSystemProfile::Current().ThemesEnabled() &&
                                                 (d->FFixedStyle == fsDefault || d->FFixedStyle == fsSoft));
        if (want != d->FCtl3D) {
            d->FCtl3D = want;
            AdjustCtl3D();
        }
    }
    if (refreshFrame && BorderStyle() == bsSingle && !d->FCtl3D) {
        AdjustCtl3D();
        d->FScrollProp->ApplyScrollProps();
    }
}

void TOrvoCustomDBGrid::AdjustCtl3D()
{
    if (BorderStyle() == bsNone) {
        setFrameStyle(QFrame::NoFrame);
        return;
    }
    // A flat single border is a plain one-pixel box; the 3-D one the style's sunken panel.
    setFrameStyle(d->FCtl3D ? (QFrame::StyledPanel | QFrame::Sunken) : (QFrame::Box | QFrame::Plain));
    setLineWidth(1);
    RepaintFrame();
}

void TOrvoCustomDBGrid::SetCtl3D(bool value)
{
    d->FCtl3DAuto = false;
    if (value == d->FCtl3D)
        return;
    d->FCtl3D = value;
    d->FParentCtl3D = false;
    AdjustCtl3D();
}

void TOrvoCustomDBGrid::SetCtl3DAuto(bool value)
{
    if (value == d->FCtl3DAuto)
        return;
    d->FCtl3DAuto = value;
    if (!value)
        return;
    d->FParentCtl3D = false;
    ApplyCtl3DRule(false);
    if (!d->FLoading)
        AdjustCtl3D();
}

void TOrvoCustomDBGrid::SetParentCtl3D(bool value)
{
    if (value)
        d->FCtl3DAuto = false;
    d->FParentCtl3D = value;
}

void TOrvoCustomDBGrid::SetBorderStyle(TBorderStyle value)
{
    if (value == BorderStyle())
        return;
    TCustomGrid::SetBorderStyle(value);
    d->FScrollProp->ApplyScrollProps();
    PositionSearchPanel();
    if (!d->FLoading)
        AdjustCtl3D();
}

void TOrvoCustomDBGrid::SetFixedStyle(TFixedStyle value)
{
    if (value == d->FFixedStyle)
        return;
    d->FFixedStyle = value;
    if (d->FScrollProp->ParentStyle())
        d->FScrollProp->ApplyScrollProps();
    LayoutChanged();
    ApplyCtl3DRule(!d->FLoading);
}

void TOrvoCustomDBGrid::SetFixedTheme(TFixedTheme value)
{
    if (value == d->FFixedTheme)
        return;
    const bool noneSwitched = (value == ftNone) != (d->FFixedTheme == ftNone);
    d->FFixedTheme = value;
    if (noneSwitched && d->FGridStyle->VisualStyle() == vsDefault)
        d->FGridStyle->SetVisualStyle(vsDefault, true);
    LayoutChanged();
    ApplyCtl3DRule(!d->FLoading);
    PositionSearchPanel();
}

void TOrvoCustomDBGrid::SetFocusRect(TFocusRect value)
{
    if (value == d->FFocusRect)
        return;
    d->FFocusRect = value;
    LayoutChanged();
}

void TOrvoCustomDBGrid::SetHotButtons(THotButtons value)
{
    if (value == d->FHotButtons)
        return;
    d->FHotButtons = value;
    LayoutChanged();
}

void TOrvoCustomDBGrid::SetListBorder(TListBorder value)
{
    if (value == d->FListBorder)
        return;
    d->FListBorder = value;
    LayoutChanged();
}

void TOrvoCustomDBGrid::SetMarkerStyle(TMarkerStyle value)
{
    if (value == d->FMarkerStyle)
        return;
    d->FMarkerStyle = value;
    LayoutChanged();
}

void TOrvoCustomDBGrid::SetMarkerTransparent(TMarkerTransparent value)
{
    if (value == d->FMarkerTransparent)
        return;
    d->FMarkerTransparent = value;
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
    if (value == d->FScrollBarsAsked)
        return;
    d->FScrollBarsAsked = value;
    // The vertical bar is the grid's own: it follows records, not rows.
    TCustomGrid::SetScrollBars(value == ssHorizontal || value == ssBoth ? ssHorizontal : ssNone);
    d->FScrollProp->ApplyScrollProps();
    UpdateScrollBar();
    LayoutChanged();
}

void TOrvoCustomDBGrid::SetBiDiMode(Qt::LayoutDirection value)
{
    if (value == layoutDirection())
        return;
    setLayoutDirection(value);
    // Flat bars are only used left to right.
    d->FScrollProp->UseFlatScrollBars();
    d->FScrollProp->ApplyScrollProps();
    RefreshEditor();
    InvalidateGrid();
    SynchronizeNextGrids();
}

void TOrvoCustomDBGrid::SetHint(const QString& value)
{
    d->FHint = value;
    setToolTip(value);
}

// --- Fonts -----------------------------------------------------------------------------------------

TFont TOrvoCustomDBGrid::Font() const
{
    return TFont(font(), d->FFontColor);
}

void TOrvoCustomDBGrid::SetFont(const TFont& value)
{
    d->FFontColor = value.Color();
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
    d->FCopyingParentFont = true;
    const TFont current = Font();
    d->FTitleFont = current;
    d->FHeaderFont = current;
    d->FTotals->SetFont(current);
    d->FCopyingParentFont = false;
    const int height = QFontMetrics(font()).height();
    if (d->FOptionsExt.Contains(dgScaleByParentFont) && d->FParentFontHeight > 0 &&
        height != d->FParentFontHeight && !d->FLoading)
        ScaleColumnWidths(height, d->FParentFontHeight);
    d->FParentFontHeight = height;
    LayoutChanged();
    RefreshEditor();
}

void TOrvoCustomDBGrid::SetTitleFont(const TFont& value)
{
    if (value == d->FTitleFont)
        return;
    d->FTitleFont = value;
    AfterFixedFontChange(true);
}

void TOrvoCustomDBGrid::SetHeaderFont(const TFont& value)
{
    if (value == d->FHeaderFont)
        return;
    d->FHeaderFont = value;
    AfterFixedFontChange(false);
}

void TOrvoCustomDBGrid::AfterFixedFontChange(bool titles)
{
    if (!d->FCopyingParentFont && !d->FLoading && ParentFont())
        setFont(font()); // a font of its own: the parent's next change no longer reaches the titles
    const bool shown = d->FOptions.Contains(dgTitles) && (titles || d->FOptions.Contains(dgTitleHeaders));
    if (shown) {
        LayoutChanged();
        RefreshEditor();
    }
}

// --- Sizes and counts ------------------------------------------------------------------------------

void TOrvoCustomDBGrid::SetFixedCols(int value)
{
    value = std::max(0, value);
    if (value == d->FFixedColsProperty)
        return;
    d->FFixedColsProperty = value;
    d->FSelection->OptionsChanged();
    LayoutChanged();
    RefreshEditor();
    if (LeftCol() < TCustomGrid::FixedCols())
        SetLeftCol(TCustomGrid::FixedCols());
}

void TOrvoCustomDBGrid::SetIndicatorWidth(int value)
{
    value = std::max(MinIndicatorWidth, value);
    if (value == d->FIndicatorWidth)
        return;
    d->FIndicatorWidth = value;
    if (d->FOptions.Contains(dgIndicator)) {
        LayoutChanged();
        RefreshEditor();
    }
}

void TOrvoCustomDBGrid::SetDefaultWidthMax(int value)
{
    if (value < NoLimit)
        return;
    ClampUpperLimit(value, d->FDefaultWidthMin);
    if (value == d->FDefaultWidthMax)
        return;
    d->FDefaultWidthMax = value;
    if (d->FColumns->State() == csDefault)
        LayoutChanged();
}

void TOrvoCustomDBGrid::SetDefaultWidthMin(int value)
{
    if (value < NoLimit)
        return;
    if (value != NoLimit && d->FDefaultWidthMax != NoLimit && value > d->FDefaultWidthMax)
        value = d->FDefaultWidthMax;
    if (value == d->FDefaultWidthMin)
        return;
    d->FDefaultWidthMin = value;
    if (d->FColumns->State() == csDefault)
        LayoutChanged();
}

void TOrvoCustomDBGrid::SetStretchWidthMax(int value)
{
    if (value < NoLimit)
        return;
    ClampUpperLimit(value, d->FStretchWidthMin);
    if (value == d->FStretchWidthMax)
        return;
    d->FStretchWidthMax = value;
    if (d->FStretchMode)
        LayoutChanged();
}

void TOrvoCustomDBGrid::SetStretchWidthMin(int value)
{
    if (value < NoLimit)
        return;
    if (value != NoLimit && d->FStretchWidthMax != NoLimit && value > d->FStretchWidthMax)
        value = d->FStretchWidthMax;
    if (value == d->FStretchWidthMin)
        return;
    d->FStretchWidthMin = value;
    if (d->FStretchMode)
        LayoutChanged();
}

void TOrvoCustomDBGrid::SetStretchMode(bool value)
{
    // Grids chained to a master take their widths from it.
    if (d->FChain->Master())
        value = false;
    if (value == d->FStretchMode)
        return;
    d->FStretchMode = value;
    LayoutChanged();
    // The stretched columns start at the first scrollable one.
    if (value && d->FScrollProp->AutoStretch() && LeftCol() > TCustomGrid::FixedCols())
        SetLeftCol(TCustomGrid::FixedCols());
}

void TOrvoCustomDBGrid::SetHeaderLinesCount(int value)
{
    value = std::clamp(value, 1, MaxLinesCount);
    if (value == d->FHeaderLinesCount)
        return;
    d->FHeaderLinesCount = value;
    if (d->FOptions.Contains(dgTitles) && d->FOptions.Contains(dgTitleHeaders)) {
        LayoutChanged();
        RefreshEditor();
    }
}

void TOrvoCustomDBGrid::SetTitleLinesCount(int value)
{
    value = std::clamp(value, 1, MaxLinesCount);
    if (value == d->FTitleLinesCount)
        return;
    d->FTitleLinesCount = value;
    if (d->FOptions.Contains(dgTitles)) {
        LayoutChanged();
        RefreshEditor();
    }
}

void TOrvoCustomDBGrid::SetLinesCount(int value)
{
    if (value < 0)
        return;
    value = std::min(std::max({1, value, d->FLinesCountMin}), MaxLinesCount);
    if (d->FLinesCountMax != NoLimit)
        value = std::min(value, d->FLinesCountMax);
    if (value == d->FLinesCount)
        return;
    d->FLinesCount = value;
    LayoutChanged();
    RefreshEditor();
}

void TOrvoCustomDBGrid::SetLinesCountMax(int value)
{
    if (value < NoLimit)
        return;
    ClampUpperLimit(value, d->FLinesCountMin);
    d->FLinesCountMax = value;
    if (value != NoLimit && d->FLinesCount > value)
        SetLinesCount(value);
}

void TOrvoCustomDBGrid::SetLinesCountMin(int value)
{
    if (value < 0)
        return;
    value = std::clamp(value, 1, MaxLinesCount);
    if (d->FLinesCountMax != NoLimit && value > d->FLinesCountMax)
        value = d->FLinesCountMax;
    d->FLinesCountMin = value;
    if (d->FLinesCount < value)
        SetLinesCount(value);
}

void TOrvoCustomDBGrid::SetWheelScrollRows(int value)
{
    d->FWheelScrollRows = std::max(NoLimit, value);
}

// --- References ---------------------------------------------------------------------------------------

void TOrvoCustomDBGrid::SetFillerPopupMenu(QMenu* value)
{
    d->FFillerPopupMenu = value;
}

void TOrvoCustomDBGrid::SetIndicatorPopupMenu(QMenu* value)
{
    d->FIndicatorPopupMenu = value;
}

void TOrvoCustomDBGrid::SetPopupMenu(QMenu* value)
{
    d->FPopupMenu = value;
}

void TOrvoCustomDBGrid::SetIndicatorImages(TCustomImageList* value)
{
    if (value == d->FIndicatorImages)
        return;
    d->FIndicatorImages = value;
    if (d->FOptions.Contains(dgIndicator))
        LayoutChanged();
}

void TOrvoCustomDBGrid::SetTitleImages(TCustomImageList* value)
{
    if (value == d->FTitleImages)
        return;
    d->FTitleImages = value;
    if (d->FOptions.Contains(dgTitles))
        LayoutChanged();
}

void TOrvoCustomDBGrid::SetTitleMarkers(TCustomImageList* value)
{
    if (value == d->FTitleMarkers)
        return;
    d->FTitleMarkers = value;
    if (d->FOptions.Contains(dgTitles))
        LayoutChanged();
}

// --- Field lists ----------------------------------------------------------------------------------------

void TOrvoCustomDBGrid::SetKeyFields(const QString& value)
{
    const QString normalized = NormalizedFieldList(value, DataSet());
    if (normalized == d->FKeyFields)
        return;
    d->FKeyFields = normalized;
    InvalidateGrid();
}

void TOrvoCustomDBGrid::SetDetailFields(const QString& value)
{
    const QString normalized = NormalizedFieldList(value, DataSet());
    if (normalized == d->FDetailFields)
        return;
    d->FDetailFields = normalized;
    UpdateOrder(true);
}

void TOrvoCustomDBGrid::RefreshEditor()
{
    if (EditorMode())
        InvalidateEditor();
}

bool TOrvoCustomDBGrid::IsLoading() const
{
    return d->FLoading;
}

bool TOrvoCustomDBGrid::IsDestroying() const
{
    return d->FDestroying;
}

bool TOrvoCustomDBGrid::IsBusy() const
{
    return d->FBusyCount > 0;
}

qint64 TOrvoCustomDBGrid::UpdateLock() const
{
    return d->FUpdateLock;
}

qint64 TOrvoCustomDBGrid::LayoutLock() const
{
    return d->FLayoutLock;
}

TOrvoDBGridColumns* TOrvoCustomDBGrid::Columns() const
{
    return d->FColumns;
}

TOrvoDBGridFilter* TOrvoCustomDBGrid::FilterGrid() const
{
    return d->FFilterGrid;
}

TOrvoDBGridSearch* TOrvoCustomDBGrid::Search() const
{
    return d->FSearch;
}

TOrvoDBGridTreeView* TOrvoCustomDBGrid::TreeView() const
{
    return d->FTreeView;
}

TOrvoGridDataLink* TOrvoCustomDBGrid::DataLink() const
{
    return d->FDataLink.get();
}

TOrvoGridStyle* TOrvoCustomDBGrid::GridStyle() const
{
    return d->FGridStyle;
}

TOrvoScrollProp* TOrvoCustomDBGrid::ScrollProp() const
{
    return d->FScrollProp;
}

TOrvoDBGridSettings* TOrvoCustomDBGrid::Settings() const
{
    return d->FSettings;
}

TOrvoDBGridGradient* TOrvoCustomDBGrid::Gradient() const
{
    return d->FGradient;
}

TOrvoDBGridTotals* TOrvoCustomDBGrid::Totals() const
{
    return d->FTotals;
}

TOrvoBookmarkList* TOrvoCustomDBGrid::SelectedRows() const
{
    return d->FSelectedRows.get();
}

TOrvoColumnList* TOrvoCustomDBGrid::SelectedCols() const
{
    return d->FSelectedCols.get();
}

TCustomImageList* TOrvoCustomDBGrid::IndicatorList() const
{
    return d->FIndicatorList.get();
}

TCustomImageList* TOrvoCustomDBGrid::CheckBoxList() const
{
    return d->FCheckBoxList.get();
}

TCustomImageList* TOrvoCustomDBGrid::ExpandBoxList() const
{
    return d->FExpandBoxList.get();
}

QString TOrvoCustomDBGrid::KeyFields() const
{
    return d->FKeyFields;
}

QString TOrvoCustomDBGrid::DetailFields() const
{
    return d->FDetailFields;
}

bool TOrvoCustomDBGrid::ReadOnly() const
{
    return d->FReadOnly;
}

void TOrvoCustomDBGrid::SetReadOnly(bool value)
{
    d->FReadOnly = value;
}

TOrvoDBGridOptions TOrvoCustomDBGrid::Options() const
{
    return d->FOptions;
}

TOrvoDBGridOptionsEx TOrvoCustomDBGrid::OptionsEx() const
{
    return d->FOptionsEx;
}

TOrvoDBGridOptionsExt TOrvoCustomDBGrid::OptionsExt() const
{
    return d->FOptionsExt;
}

TOrvoResizeOptions TOrvoCustomDBGrid::ResizeOptions() const
{
    return d->FResizeOptions;
}

TOrvoHintOptions TOrvoCustomDBGrid::HintOptions() const
{
    return d->FHintOptions;
}

void TOrvoCustomDBGrid::SetHintOptions(TOrvoHintOptions value)
{
    d->FHintOptions = value;
}

TMultiSelectOptions TOrvoCustomDBGrid::MultiSelectOptions() const
{
    return d->FMultiSelectOptions;
}

TOrvoDBGridToolMenuItems TOrvoCustomDBGrid::ToolMenuItems() const
{
    return d->FToolMenuItems;
}

void TOrvoCustomDBGrid::SetToolMenuItems(TOrvoDBGridToolMenuItems value)
{
    d->FToolMenuItems = value;
}

TOrvoDBGridToolMenuSubItems TOrvoCustomDBGrid::ToolMenuSubItems() const
{
    return d->FToolMenuSubItems;
}

void TOrvoCustomDBGrid::SetToolMenuSubItems(TOrvoDBGridToolMenuSubItems value)
{
    d->FToolMenuSubItems = value;
}

TOrvoDBGridToolMenuSubItemsEx TOrvoCustomDBGrid::ToolMenuSubItemsEx() const
{
    return d->FToolMenuSubItemsEx;
}

void TOrvoCustomDBGrid::SetToolMenuSubItemsEx(TOrvoDBGridToolMenuSubItemsEx value)
{
    d->FToolMenuSubItemsEx = value;
}

TColor TOrvoCustomDBGrid::DataColLineColor() const
{
    return d->FDataColLineColor;
}

TColor TOrvoCustomDBGrid::DataRowLineColor() const
{
    return d->FDataRowLineColor;
}

TColor TOrvoCustomDBGrid::EditorColor() const
{
    return d->FEditorColor;
}

TColor TOrvoCustomDBGrid::HighlightText() const
{
    return d->FHighlightText;
}

TColor TOrvoCustomDBGrid::SelectCellColor() const
{
    return d->FSelectCellColor;
}

TColor TOrvoCustomDBGrid::SelectionColor() const
{
    return d->FSelectionColor;
}

TColor TOrvoCustomDBGrid::SelectRowColor() const
{
    return d->FSelectRowColor;
}

TColor TOrvoCustomDBGrid::StripeColor() const
{
    return d->FStripeColor;
}

TColor TOrvoCustomDBGrid::FillerColor() const
{
    return d->FFillerColor;
}

TColor TOrvoCustomDBGrid::HeaderColor() const
{
    return d->FHeaderColor;
}

TGridDrawingOptions TOrvoCustomDBGrid::DrawingOptions() const
{
    return d->FDrawingOptions;
}

bool TOrvoCustomDBGrid::DefaultDrawing() const
{
    return d->FDefaultDrawing;
}

void TOrvoCustomDBGrid::SetDefaultDrawing(bool value)
{
    d->FDefaultDrawing = value;
}

TFixedStyle TOrvoCustomDBGrid::FixedStyle() const
{
    return d->FFixedStyle;
}

TFixedTheme TOrvoCustomDBGrid::FixedTheme() const
{
    return d->FFixedTheme;
}

TFocusRect TOrvoCustomDBGrid::FocusRect() const
{
    return d->FFocusRect;
}

THotButtons TOrvoCustomDBGrid::HotButtons() const
{
    return d->FHotButtons;
}

TListBorder TOrvoCustomDBGrid::ListBorder() const
{
    return d->FListBorder;
}

TMarkerStyle TOrvoCustomDBGrid::MarkerStyle() const
{
    return d->FMarkerStyle;
}

TMarkerTransparent TOrvoCustomDBGrid::MarkerTransparent() const
{
    return d->FMarkerTransparent;
}

bool TOrvoCustomDBGrid::Ctl3D() const
{
    return d->FCtl3D;
}

bool TOrvoCustomDBGrid::Ctl3DAuto() const
{
    return d->FCtl3DAuto;
}

bool TOrvoCustomDBGrid::ParentCtl3D() const
{
    return d->FParentCtl3D;
}

TScrollStyle TOrvoCustomDBGrid::ScrollBars() const
{
    return d->FScrollBarsAsked;
}

bool TOrvoCustomDBGrid::DoubleBuffered() const
{
    return d->FDoubleBuffered;
}

void TOrvoCustomDBGrid::SetDoubleBuffered(bool value)
{
    d->FDoubleBuffered = value;
}

TFont TOrvoCustomDBGrid::TitleFont() const
{
    return d->FTitleFont;
}

TFont TOrvoCustomDBGrid::HeaderFont() const
{
    return d->FHeaderFont;
}

int TOrvoCustomDBGrid::FixedColsProperty() const
{
    return d->FFixedColsProperty;
}

int TOrvoCustomDBGrid::IndicatorWidth() const
{
    return d->FIndicatorWidth;
}

int TOrvoCustomDBGrid::DefaultWidthMax() const
{
    return d->FDefaultWidthMax;
}

int TOrvoCustomDBGrid::DefaultWidthMin() const
{
    return d->FDefaultWidthMin;
}

int TOrvoCustomDBGrid::StretchWidthMax() const
{
    return d->FStretchWidthMax;
}

int TOrvoCustomDBGrid::StretchWidthMin() const
{
    return d->FStretchWidthMin;
}

bool TOrvoCustomDBGrid::StretchMode() const
{
    return d->FStretchMode;
}

bool TOrvoCustomDBGrid::DistributingWidths() const
{
    return d->FStretching->Distributing();
}

int TOrvoCustomDBGrid::HeaderLinesCount() const
{
    return d->FHeaderLinesCount;
}

int TOrvoCustomDBGrid::TitleLinesCount() const
{
    return d->FTitleLinesCount;
}

int TOrvoCustomDBGrid::LinesCount() const
{
    return d->FLinesCount;
}

int TOrvoCustomDBGrid::LinesCountMax() const
{
    return d->FLinesCountMax;
}

int TOrvoCustomDBGrid::LinesCountMin() const
{
    return d->FLinesCountMin;
}

int TOrvoCustomDBGrid::WheelScrollRows() const
{
    return d->FWheelScrollRows;
}

bool TOrvoCustomDBGrid::FillerButton() const
{
    return d->FFillerButton;
}

void TOrvoCustomDBGrid::SetFillerButton(bool value)
{
    d->FFillerButton = value;
}

QString TOrvoCustomDBGrid::FillerHint() const
{
    return d->FFillerHint;
}

void TOrvoCustomDBGrid::SetFillerHint(const QString& value)
{
    d->FFillerHint = value;
}

int TOrvoCustomDBGrid::FillerIndex() const
{
    return d->FFillerIndex;
}

QMenu* TOrvoCustomDBGrid::FillerPopupMenu() const
{
    return d->FFillerPopupMenu;
}

bool TOrvoCustomDBGrid::FillerToolMenu() const
{
    return d->FFillerToolMenu;
}

void TOrvoCustomDBGrid::SetFillerToolMenu(bool value)
{
    d->FFillerToolMenu = value;
}

QString TOrvoCustomDBGrid::IndicatorHint() const
{
    return d->FIndicatorHint;
}

void TOrvoCustomDBGrid::SetIndicatorHint(const QString& value)
{
    d->FIndicatorHint = value;
}

TCustomImageList* TOrvoCustomDBGrid::IndicatorImages() const
{
    return d->FIndicatorImages;
}

QMenu* TOrvoCustomDBGrid::IndicatorPopupMenu() const
{
    return d->FIndicatorPopupMenu;
}

TCustomImageList* TOrvoCustomDBGrid::TitleImages() const
{
    return d->FTitleImages;
}

TCustomImageList* TOrvoCustomDBGrid::TitleMarkers() const
{
    return d->FTitleMarkers;
}

QMenu* TOrvoCustomDBGrid::PopupMenu() const
{
    return d->FPopupMenu;
}

bool TOrvoCustomDBGrid::PopupToolMenu() const
{
    return d->FPopupToolMenu;
}

void TOrvoCustomDBGrid::SetPopupToolMenu(bool value)
{
    d->FPopupToolMenu = value;
}

bool TOrvoCustomDBGrid::DragRows() const
{
    return d->FDragRows;
}

void TOrvoCustomDBGrid::SetDragRows(bool value)
{
    d->FDragRows = value;
}

QString TOrvoCustomDBGrid::Hint() const
{
    return d->FHint;
}

TOrvoCustomDBGrid* TOrvoCustomDBGrid::MasterGrid() const
{
    return d->FChain->Master();
}

TOrvoCustomDBGrid* TOrvoCustomDBGrid::NextGrid() const
{
    return d->FChain->Next();
}

int TOrvoCustomDBGrid::IndicatorOffset() const
{
    return d->FIndicatorOffset;
}

int TOrvoCustomDBGrid::TitleOffset() const
{
    return d->FTitleOffset;
}

int TOrvoCustomDBGrid::BottomRowCount() const
{
    return d->FBottom.Count();
}

int TOrvoCustomDBGrid::DataRowCount() const
{
    return RowCount() - d->FTitleOffset - BottomRowCount();
}

int TOrvoCustomDBGrid::HeaderBandHeight() const
{
    return d->FHeaderBandHeight;
}

int TOrvoCustomDBGrid::TextLineHeight() const
{
    return d->FTextLineHeight;
}

const std::vector<TOrvoColumn*>& TOrvoCustomDBGrid::ShownColumns() const
{
    return d->FShownColumns;
}

qint64 TOrvoCustomDBGrid::SequenceRecordCount() const
{
    return d->FSequenceRecordCount;
}

qint64 TOrvoCustomDBGrid::SequenceRecNo() const
{
    return d->FSequenceRecNo;
}

int TOrvoCustomDBGrid::RawToDataColumn(int gridCol) const
{
    return gridCol - d->FIndicatorOffset;
}

int TOrvoCustomDBGrid::DataToRawColumn(int dataCol) const
{
    return dataCol + d->FIndicatorOffset;
}

void TOrvoCustomDBGrid::BeginBusy()
{
    ++d->FBusyCount;
}

void TOrvoCustomDBGrid::EndBusy()
{
    --d->FBusyCount;
}

} // namespace orvo
