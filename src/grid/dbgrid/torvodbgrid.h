#pragma once

#include "grid/dbgrid/torvocustomdbgrid.h"

Q_MOC_INCLUDE("grid/columns/torvodbgridcolumns.h")
Q_MOC_INCLUDE("grid/filter/torvodbgridfilter.h")
Q_MOC_INCLUDE("grid/search/torvodbgridsearch.h")
Q_MOC_INCLUDE("grid/treeview/torvodbgridtreeview.h")
Q_MOC_INCLUDE("grid/painting/torvogridstyle.h")
Q_MOC_INCLUDE("grid/scrolling/torvoscrollprop.h")
Q_MOC_INCLUDE("grid/settings/torvodbgridsettings.h")
Q_MOC_INCLUDE("grid/dbgrid/torvodbgridgradient.h")
Q_MOC_INCLUDE("grid/totals/torvodbgridtotals.h")
Q_MOC_INCLUDE("platform/data/tdatasource.h")
Q_MOC_INCLUDE("platform/graphics/tcustomimagelist.h")
Q_MOC_INCLUDE(<QMenu>)

namespace orvo {

/// The data grid forms place: every property of the grid is published here, so that
/// reading and writing it by name and streaming a form reach it.
class TOrvoDBGrid : public TOrvoCustomDBGrid
{
    Q_OBJECT
    Q_PROPERTY(orvo::TOrvoDBGridColumns* Columns READ Columns WRITE SetColumns STORED false)
    Q_PROPERTY(bool Ctl3DAuto READ Ctl3DAuto WRITE SetCtl3DAuto)
    Q_PROPERTY(bool Ctl3D READ Ctl3D WRITE SetCtl3D)
    Q_PROPERTY(bool ParentCtl3D READ ParentCtl3D WRITE SetParentCtl3D)
    Q_PROPERTY(orvo::TColor DataColLineColor READ DataColLineColor WRITE SetDataColLineColor)
    Q_PROPERTY(orvo::TColor DataRowLineColor READ DataRowLineColor WRITE SetDataRowLineColor)
    Q_PROPERTY(orvo::TDataSource* DataSource READ DataSource WRITE SetDataSource)
    Q_PROPERTY(bool DefaultDrawing READ DefaultDrawing WRITE SetDefaultDrawing)
    Q_PROPERTY(int DefaultWidthMax READ DefaultWidthMax WRITE SetDefaultWidthMax)
    Q_PROPERTY(int DefaultWidthMin READ DefaultWidthMin WRITE SetDefaultWidthMin)
    Q_PROPERTY(QString DetailFields READ DetailFields WRITE SetDetailFields)
    Q_PROPERTY(bool DoubleBuffered READ DoubleBuffered WRITE SetDoubleBuffered)
    Q_PROPERTY(bool DragRows READ DragRows WRITE SetDragRows)
    Q_PROPERTY(
        orvo::TGridDrawingOptions DrawingOptions READ DrawingOptions WRITE SetDrawingOptions STORED false)
    Q_PROPERTY(orvo::DBGridEnums::TGridDrawingStyle DrawingStyle READ DrawingStyle WRITE SetDrawingStyle
                   STORED false)
    Q_PROPERTY(orvo::TColor EditorColor READ EditorColor WRITE SetEditorColor)
    Q_PROPERTY(bool FillerButton READ FillerButton WRITE SetFillerButton)
    Q_PROPERTY(orvo::TColor FillerColor READ FillerColor WRITE SetFillerColor)
    Q_PROPERTY(QString FillerHint READ FillerHint WRITE SetFillerHint)
    Q_PROPERTY(int FillerIndex READ FillerIndex WRITE SetFillerIndex)
    Q_PROPERTY(QMenu* FillerPopupMenu READ FillerPopupMenu WRITE SetFillerPopupMenu)
    Q_PROPERTY(bool FillerToolMenu READ FillerToolMenu WRITE SetFillerToolMenu)
    Q_PROPERTY(QString Filter READ Filter WRITE SetFilter)
    Q_PROPERTY(bool Filtered READ Filtered WRITE SetFiltered)
    Q_PROPERTY(orvo::TOrvoDBGridFilter* FilterGrid READ FilterGrid WRITE SetFilterGrid)
    Q_PROPERTY(orvo::TColor FixedColor READ FixedColor WRITE SetFixedColor)
    Q_PROPERTY(int FixedCols READ FixedColsProperty WRITE SetFixedCols)
    Q_PROPERTY(orvo::DBGridEnums::TFixedStyle FixedStyle READ FixedStyle WRITE SetFixedStyle)
    Q_PROPERTY(orvo::DBGridEnums::TFixedTheme FixedTheme READ FixedTheme WRITE SetFixedTheme)
    Q_PROPERTY(orvo::DBGridEnums::TFocusRect FocusRect READ FocusRect WRITE SetFocusRect)
    Q_PROPERTY(orvo::TOrvoDBGridGradient* Gradient READ Gradient WRITE SetGradient)
    Q_PROPERTY(int GridLineWidth READ GridLineWidth WRITE SetGridLineWidth)
    Q_PROPERTY(orvo::TOrvoGridStyle* GridStyle READ GridStyle WRITE SetGridStyle)
    Q_PROPERTY(orvo::TColor HeaderColor READ HeaderColor WRITE SetHeaderColor)
    Q_PROPERTY(orvo::TFont HeaderFont READ HeaderFont WRITE SetHeaderFont)
    Q_PROPERTY(int HeaderLinesCount READ HeaderLinesCount WRITE SetHeaderLinesCount)
    Q_PROPERTY(orvo::TColor HighlightText READ HighlightText WRITE SetHighlightText)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(orvo::TOrvoHintOptions HintOptions READ HintOptions WRITE SetHintOptions)
    Q_PROPERTY(orvo::DBGridEnums::THotButtons HotButtons READ HotButtons WRITE SetHotButtons)
    Q_PROPERTY(QString IndicatorHint READ IndicatorHint WRITE SetIndicatorHint)
    Q_PROPERTY(orvo::TCustomImageList* IndicatorImages READ IndicatorImages WRITE SetIndicatorImages)
    Q_PROPERTY(QMenu* IndicatorPopupMenu READ IndicatorPopupMenu WRITE SetIndicatorPopupMenu)
    Q_PROPERTY(int IndicatorWidth READ IndicatorWidth WRITE SetIndicatorWidth)
    Q_PROPERTY(QString KeyFields READ KeyFields WRITE SetKeyFields)
    Q_PROPERTY(int LinesCount READ LinesCount WRITE SetLinesCount)
    Q_PROPERTY(int LinesCountMax READ LinesCountMax WRITE SetLinesCountMax)
    Q_PROPERTY(int LinesCountMin READ LinesCountMin WRITE SetLinesCountMin)
    Q_PROPERTY(orvo::DBGridEnums::TListBorder ListBorder READ ListBorder WRITE SetListBorder)
    Q_PROPERTY(orvo::DBGridEnums::TMarkerStyle MarkerStyle READ MarkerStyle WRITE SetMarkerStyle)
    Q_PROPERTY(orvo::DBGridEnums::TMarkerTransparent MarkerTransparent READ MarkerTransparent WRITE
                   SetMarkerTransparent)
    Q_PROPERTY(orvo::TOrvoCustomDBGrid* MasterGrid READ MasterGrid WRITE SetMasterGrid)
    Q_PROPERTY(
        orvo::TMultiSelectOptions MultiSelectOptions READ MultiSelectOptions WRITE SetMultiSelectOptions)
    Q_PROPERTY(orvo::TOrvoDBGridOptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(orvo::TOrvoDBGridOptionsEx OptionsEx READ OptionsEx WRITE SetOptionsEx)
    Q_PROPERTY(orvo::TOrvoDBGridOptionsExt OptionsExt READ OptionsExt WRITE SetOptionsExt)
    Q_PROPERTY(QString OrderFields READ OrderFields WRITE SetOrderFields STORED false)
    Q_PROPERTY(QMenu* PopupMenu READ PopupMenu WRITE SetPopupMenu)
    Q_PROPERTY(bool PopupToolMenu READ PopupToolMenu WRITE SetPopupToolMenu)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(orvo::TOrvoResizeOptions ResizeOptions READ ResizeOptions WRITE SetResizeOptions)
    Q_PROPERTY(orvo::GridEnums::TScrollStyle ScrollBars READ ScrollBars WRITE SetScrollBars)
    Q_PROPERTY(orvo::TOrvoScrollProp* ScrollProp READ ScrollProp WRITE SetScrollProp)
    Q_PROPERTY(orvo::TOrvoDBGridSearch* Search READ Search WRITE SetSearch)
    Q_PROPERTY(orvo::TColor SelectCellColor READ SelectCellColor WRITE SetSelectCellColor)
    Q_PROPERTY(orvo::TColor SelectionColor READ SelectionColor WRITE SetSelectionColor)
    Q_PROPERTY(orvo::TColor SelectRowColor READ SelectRowColor WRITE SetSelectRowColor)
    Q_PROPERTY(orvo::TOrvoDBGridSettings* Settings READ Settings WRITE SetSettings)
    Q_PROPERTY(bool StretchMode READ StretchMode WRITE SetStretchMode)
    Q_PROPERTY(int StretchWidthMax READ StretchWidthMax WRITE SetStretchWidthMax)
    Q_PROPERTY(int StretchWidthMin READ StretchWidthMin WRITE SetStretchWidthMin)
    Q_PROPERTY(orvo::TColor StripeColor READ StripeColor WRITE SetStripeColor)
    Q_PROPERTY(orvo::TFont TitleFont READ TitleFont WRITE SetTitleFont)
    Q_PROPERTY(orvo::TCustomImageList* TitleImages READ TitleImages WRITE SetTitleImages)
    Q_PROPERTY(int TitleLinesCount READ TitleLinesCount WRITE SetTitleLinesCount)
    Q_PROPERTY(orvo::TCustomImageList* TitleMarkers READ TitleMarkers WRITE SetTitleMarkers)
    Q_PROPERTY(orvo::TOrvoDBGridToolMenuItems ToolMenuItems READ ToolMenuItems WRITE SetToolMenuItems)
    Q_PROPERTY(
        orvo::TOrvoDBGridToolMenuSubItems ToolMenuSubItems READ ToolMenuSubItems WRITE SetToolMenuSubItems)
    Q_PROPERTY(orvo::TOrvoDBGridToolMenuSubItemsEx ToolMenuSubItemsEx READ ToolMenuSubItemsEx WRITE
                   SetToolMenuSubItemsEx)
    Q_PROPERTY(orvo::TOrvoDBGridTotals* Totals READ Totals WRITE SetTotals)
    Q_PROPERTY(orvo::TOrvoDBGridTreeView* TreeView READ TreeView WRITE SetTreeView)
    Q_PROPERTY(int WheelScrollRows READ WheelScrollRows WRITE SetWheelScrollRows)
    Q_PROPERTY(orvo::TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(orvo::TFont Font READ Font WRITE SetFont)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_PROPERTY(Qt::LayoutDirection BiDiMode READ BiDiMode WRITE SetBiDiMode)
    Q_PROPERTY(orvo::GridEnums::TBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)

public:
    explicit TOrvoDBGrid(QWidget* parent = nullptr);

protected:
    /// For a descendant with factories of its own: it calls CreateParts when constructed.
    TOrvoDBGrid(QWidget* parent, TDeferredParts deferred);
};

} // namespace orvo
