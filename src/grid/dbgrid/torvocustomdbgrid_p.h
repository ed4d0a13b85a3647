#pragma once

// The state of a data grid, apart from its published API. Only the grid's own
// sources and the parts it owns include this header; it is not installed.

#include "grid/columns/torvogridstretching.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvogriddelayedupdates.h"
#include "grid/dbgrid/torvogridrowlayout.h"
#include "grid/dbgrid/torvomastergridchain.h"
#include "grid/filter/torvogridfilterapply.h"
#include "grid/input/torvogridinputmethod.h"
#include "grid/input/torvogridkeyboard.h"
#include "grid/input/torvogridmouse.h"
#include "grid/input/torvogridwheel.h"
#include "grid/order/torvogridorder.h"
#include "grid/scrolling/torvogridscrollbars.h"
#include "grid/selection/torvogridselection.h"
#include "grid/totals/torvogridtotalscalc.h"

#include <QMetaObject>
#include <QPointer>

#include <optional>
#include <vector>

class QTimer;

namespace orvo {

class TBitmap;

struct TOrvoCustomDBGridPrivate
{
    using TFilterRecordEvent = TOrvoCustomDBGrid::TFilterRecordEvent;
    static constexpr TOrvoResizeOptions DefaultResizeOptions = TOrvoCustomDBGrid::DefaultResizeOptions;
    static constexpr TOrvoHintOptions DefaultHintOptions = TOrvoCustomDBGrid::DefaultHintOptions;
    static constexpr TOrvoDBGridToolMenuItems DefaultToolMenuItems = TOrvoCustomDBGrid::DefaultToolMenuItems;
    static constexpr TOrvoDBGridToolMenuSubItems DefaultToolMenuSubItems =
        TOrvoCustomDBGrid::DefaultToolMenuSubItems;
    static constexpr TOrvoDBGridToolMenuSubItemsEx DefaultToolMenuSubItemsEx =
        TOrvoCustomDBGrid::DefaultToolMenuSubItemsEx;
    static constexpr TGridDrawingOptions DefaultDrawingOptions = TOrvoCustomDBGrid::DefaultDrawingOptions;

    // Owned parts.
    TOrvoDBGridColumns* FColumns = nullptr;
    TOrvoDBGridFilter* FFilterGrid = nullptr;
    TOrvoDBGridSearch* FSearch = nullptr;
    TOrvoDBGridTreeView* FTreeView = nullptr;
    std::unique_ptr<TOrvoGridDataLink> FDataLink;
    std::unique_ptr<TOrvoBookmarkList> FSelectedRows;
    TOrvoGridStyle* FGridStyle = nullptr;
    TOrvoScrollProp* FScrollProp = nullptr;
    TOrvoDBGridSettings* FSettings = nullptr;
    TOrvoDBGridGradient* FGradient = nullptr;
    TOrvoDBGridTotals* FTotals = nullptr;
    std::unique_ptr<TOrvoColumnList> FSelectedCols;
    std::unique_ptr<TCustomImageList> FIndicatorList;
    std::unique_ptr<TCustomImageList> FCheckBoxList;
    std::unique_ptr<TCustomImageList> FExpandBoxList;
    std::vector<TOrvoColumn*> FShownColumns;
    std::unique_ptr<TOrvoDBGridPainter> FPainter;
    std::unique_ptr<TOrvoGridScrollBars> FScrollBars;
    std::unique_ptr<TOrvoGridStretching> FStretching;
    std::unique_ptr<TOrvoGridKeyboard> FKeyboard;
    std::unique_ptr<TOrvoGridWheel> FWheel;
    std::unique_ptr<TOrvoGridMouse> FMouse;
    std::unique_ptr<TOrvoGridInputMethod> FInputMethod;
    std::unique_ptr<TOrvoGridSelection> FSelection; // the selection's state, batch and operations
    std::unique_ptr<TOrvoGridOrder> FOrder;         // the order brackets and the dataset's order
    std::unique_ptr<TOrvoGridTotalsCalc> FTotalsCalc;

    // Locks and counters: 64-bit, so that no amount of nesting wraps them.
    qint64 FUpdateLock = 0;
    qint64 FLayoutLock = 0;
    qint64 FBusyCount = 0;
    bool FLoading = false;
    bool FDestroying = false;
    bool FDeferredLayoutPosted = false;
    int FHiddenColumnStep = 1; // where a hidden current cell looks first: collapsing looks left
    bool FCopyingParentFont = false;
    int FParentFontHeight = 0; // the font height the column widths were last scaled for
    int FIndicatorOffset = 1;
    int FTitleOffset = 1;
    TOrvoGridBottomRegion FBottom;
    int FHeaderBandHeight = 0;
    int FTextLineHeight = 0;
    int FTotalRowHeight = 0;
    bool FUpdatingRowCount = false;
    bool FFollowingDataSet = false;         // the current row follows the dataset, not the reverse
    bool FClientChangedWhileLocked = false; // the client area changed under a lock
    bool FSettingColumnAttributes = false;
    int FLastLeftCol = -1;
    int FLongOperation = 0;
    bool FLongOperationEnabled = true;
    QString FLongOperationBookmark;
    int FLongOperationRow = 0;
    std::vector<TField*> FLookupKeysFollowed;
    int FLastRowHeight = 0;
    bool FRowHeightsComputedSinceReport = false;
    QString FEditText;
    std::unique_ptr<TOrvoGridDelayedUpdates> FDelayed;
    std::unique_ptr<TOrvoMasterGridChain> FChain;
    bool FPassWidthsToFields = true;
    bool FClickTakesFocus = true;
    qint64 FSequenceRecordCount = 0;
    qint64 FSequenceRecNo = 0;

    std::unique_ptr<TOrvoGridFilterApply> FFilterApply;

    // Published values.
    TOrvoDBGridOptions FOptions;
    TOrvoDBGridOptionsEx FOptionsEx;
    TOrvoDBGridOptionsExt FOptionsExt;
    TOrvoResizeOptions FResizeOptions = DefaultResizeOptions;
    TOrvoHintOptions FHintOptions = DefaultHintOptions;
    TMultiSelectOptions FMultiSelectOptions{msRows};
    TOrvoDBGridToolMenuItems FToolMenuItems = DefaultToolMenuItems;
    TOrvoDBGridToolMenuSubItems FToolMenuSubItems = DefaultToolMenuSubItems;
    TOrvoDBGridToolMenuSubItemsEx FToolMenuSubItemsEx = DefaultToolMenuSubItemsEx;
    TGridDrawingOptions FDrawingOptions = DefaultDrawingOptions;
    TColor FDataColLineColor = clDefault;
    TColor FDataRowLineColor = clDefault;
    TColor FEditorColor = clNone;
    TColor FHighlightText = clDefault;
    TColor FSelectCellColor = clDefault;
    TColor FSelectionColor = clDefault;
    TColor FSelectRowColor = clDefault;
    TColor FStripeColor = clNone;
    TColor FFillerColor = clBtnFace;
    bool FFillerColorApart = false;
    TColor FHeaderColor = clBtnFace;
    bool FHeaderColorApart = false;
    TFixedStyle FFixedStyle = fsDefault;
    TFixedTheme FFixedTheme = ftDefault;
    TFocusRect FFocusRect = frAuto;
    THotButtons FHotButtons = hbAuto;
    TListBorder FListBorder = lbAuto;
    TMarkerStyle FMarkerStyle = msAuto;
    TMarkerTransparent FMarkerTransparent = mtAuto;
    bool FCtl3D = true;
    bool FCtl3DAuto = true;
    bool FParentCtl3D = true;
    TScrollStyle FScrollBarsAsked = ssBoth;
    bool FDoubleBuffered = true;
    bool FDefaultDrawing = true;
    TColor FFontColor = clWindowText;
    TFont FTitleFont;
    TFont FHeaderFont;
    int FFixedColsProperty = 0;
    int FIndicatorWidth = 20;
    int FDefaultWidthMax = -1;
    int FDefaultWidthMin = -1;
    int FStretchWidthMax = -1;
    int FStretchWidthMin = -1;
    bool FStretchMode = false;
    int FHeaderLinesCount = 1;
    int FTitleLinesCount = 1;
    int FLinesCount = 1;
    int FLinesCountMax = -1;
    int FLinesCountMin = 1;
    int FWheelScrollRows = 0;
    bool FFillerButton = true;
    QString FFillerHint;
    int FFillerIndex = -7;
    QPointer<QMenu> FFillerPopupMenu;
    bool FFillerToolMenu = false;
    QString FIndicatorHint;
    QPointer<TCustomImageList> FIndicatorImages;
    QPointer<QMenu> FIndicatorPopupMenu;
    QPointer<TCustomImageList> FTitleImages;
    QPointer<TCustomImageList> FTitleMarkers;
    QPointer<QMenu> FPopupMenu;
    bool FPopupToolMenu = false;
    bool FDragRows = false;
    bool FReadOnly = false;
    QString FHint;
    QString FKeyFields;
    QString FDetailFields;
    QString FOrderFields; // the stored order text
    qint64 FOrderUpdateCount = 0;
    QString FOrderSnapshot;
    qint64 FDataUpdateCount = 0;
    QPointer<QObject> FDataUpdateDataSet; // the dataset whose controls the bracket disabled
    QString FDataUpdateBookmark;
    int FDataUpdateRow = 0;
    QMetaObject::Connection FDataSourceWatch;
};

} // namespace orvo
