#pragma once

#include "platform/core/tset.h"

#include <QObject>

namespace orvo {

/// The data grid's enumerations, in a namespace of their own because Qt allows one
/// meta-object per namespace; the using-declarations below make every type and member
/// reachable as `orvo::TOrvoDBGridOption` and `orvo::dgEditing`. Members keep their
/// declaration order: stored layouts and forms write sets as bit numbers.
namespace DBGridEnums {
Q_NAMESPACE

enum TOrvoDBGridOption
{
    dgEditing,
    dgAlwaysShowEditor,
    dgTitles,
    dgIndicator,
    dgColumnResize,
    dgColLines,
    dgRowLines,
    dgTabs,
    dgRowSelect,
    dgAlwaysShowSelection,
    dgConfirmDelete,
    dgCancelOnExit,
    dgMultiSelect,
    dgExtendedSelect,
    dgInternalSelect,
    dgRowResize,
    dgRowScroll,
    dgHotButtons,
    dgTitleButtons,
    dgTitleHeaders,
    dgTitleWidthOff,
    dgAllowDeleteOff,
    dgAllowInsertOff,
    dgAutoUnselectOff,
    dgIndicatorMarkOff,
    dgMarkerAutoAlign,
    dgMarkerAutoSwitch,
    dgMarkerAutoToggle,
    dgMarkerAscendOnly,
    dgForceSequence,
    dgThumbTracking,
    dgRightMoving
};
Q_ENUM_NS(TOrvoDBGridOption)

enum TOrvoDBGridOptionEx
{
    dgBlankRow,
    dgTotalHeader,
    dgTotalValues,
    dgTotalFields,
    dgTotalFooter,
    dgTotalColLines,
    dgTotalHeaderBox,
    dgTotalValuesBox,
    dgTotalFieldsBox,
    dgTotalFooterBox,
    dgTotalDataBoxOnly,
    dgLoadCurrentOrder,
    dgAutoUpdateOrder,
    dgAutoAscendOrder,
    dgAutoKeepSelection,
    dgAutoUpdateSequence,
    dgDelayUpdateSequence,
    dgAutoUpdateTotals,
    dgDelayUpdateTotals,
    dgCalcInvisibleRows,
    dgCalcWholeDataSet,
    dgCalcSelectedRows,
    dgDelaySelectedRows,
    dgTotalHeaderSelected,
    dgTotalValuesSelected,
    dgTotalFooterSelected,
    dgSelectedAutoHidden,
    dgClickSelectOff,
    dgShowEditorByCharOff
};
Q_ENUM_NS(TOrvoDBGridOptionEx)

enum TOrvoDBGridOptionExt
{
    dgAutoNumberColumn,
    dgAutoSelectColumn,
    dgAutoExpandColumn,
    dgAutoUpdateListItems,
    dgDelayUpdateListItems,
    dgGridStyleLists,
    dgMouseScrolling,
    dgMouseTracking,
    dgMarkerClearAllowed,
    dgScrollGridMode,
    dgScrollPageMode,
    dgScrollRowsMode,
    dgForceSystemTheme,
    dgForceSystemButton,
    dgForceSystemMarker,
    dgForceCustomized,
    dgScaleByParentFont,
    dgIncrementalList
};
Q_ENUM_NS(TOrvoDBGridOptionExt)

/// Which kind of cell a hint or tooltip is asked for.
enum THintCell
{
    hcTitle,
    hcHeader,
    hcFiller,
    hcEditor,
    hcData,
    hcIndicator,
    hcTotal
};
Q_ENUM_NS(THintCell)

/// What a cell's text is for: the editor, the screen or a report.
enum TTextKind
{
    tkEdit,
    tkDisplay,
    tkReport
};
Q_ENUM_NS(TTextKind)

/// The selection states a painted cell can be in.
enum TSelection
{
    slCellSelected,
    slRowSelected,
    slMultiSelected,
    slCellFixed,
    slRowStriped
};
Q_ENUM_NS(TSelection)

/// What happened to the multi-selection when OnRowSelect fires.
enum TSelectAction
{
    saUnselect,
    saSelect,
    saClear,
    saDelete,
    saRefresh
};
Q_ENUM_NS(TSelectAction)

/// The passes of a totals calculation.
enum TCalcPass
{
    cpReset,
    cpCalcRec,
    cpFinal
};
Q_ENUM_NS(TCalcPass)

/// What changed for the total rows: the totals dataset opened, closed or changed (the
/// layout follows), a record of the grid's dataset, or a record of the totals dataset.
enum TTotalsChange
{
    tcTotalsLayout,
    tcDataRecord,
    tcTotalsRecord
};
Q_ENUM_NS(TTotalsChange)

/// What the multi-selection holds; msRows..msFixed also name what it may hold.
enum TMultiSelection
{
    msNone,
    msRows,
    msCols,
    msCells,
    msFixed
};
Q_ENUM_NS(TMultiSelection)

/// The look of fixed cells, lines and boxes.
enum TFixedStyle
{
    fsDefault,
    fsSoft,
    fsNice,
    fsFlat,
    fsGreat,
    fsGray,
    fsFine,
    fsMild
};
Q_ENUM_NS(TFixedStyle)

/// Which theme element fixed cells are drawn with; ftNone draws them classically.
enum TFixedTheme
{
    ftDefault,
    ftButtons,
    ftTabs,
    ftNone
};
Q_ENUM_NS(TFixedTheme)

/// How the current cell is framed.
enum TFocusRect
{
    frAuto,
    frDefault,
    frGray,
    frMild,
    frNone
};
Q_ENUM_NS(TFocusRect)

/// How a title button looks under the mouse.
enum THotButtons
{
    hbAuto,
    hbNone,
    hbBump,
    hbRaised,
    hbLowered,
    hbTile
};
Q_ENUM_NS(THotButtons)

/// The border of the grid's drop-down lists.
enum TListBorder
{
    lbAuto,
    lbDefault,
    lbGray,
    lbMild
};
Q_ENUM_NS(TListBorder)

/// The look of the sort markers in titles; the two auto members follow FixedStyle.
enum TMarkerStyle
{
    msAuto,
    msAutoGray,
    msDefault,
    msSoft,
    msRaisedDark,
    msRaisedGray,
    msRaisedMild,
    msLoweredDark,
    msLoweredGray,
    msLoweredMild,
    msFlat,
    msGray,
    msMild
};
Q_ENUM_NS(TMarkerStyle)

enum TMarkerTransparent
{
    mtAuto,
    mtTrue,
    mtFalse
};
Q_ENUM_NS(TMarkerTransparent)

/// The frame style of check boxes and total boxes; cbAuto follows FixedStyle.
enum TCheckBoxStyle
{
    cbAuto,
    cbDefault,
    cbSoft,
    cbLoweredDark,
    cbFlat,
    cbLoweredGray,
    cbGray,
    cbLoweredMild,
    cbMild
};
Q_ENUM_NS(TCheckBoxStyle)

/// Which colour properties are in force (their colour is not clNone).
enum TGridDrawingOption
{
    gdoHighlightText,
    gdoDataColLines,
    gdoDataRowLines,
    gdoSelectedCell,
    gdoSelectedRow,
    gdoMultiSelected,
    gdoTotalSelected,
    gdoStripedRows,
    gdoEditorColor
};
Q_ENUM_NS(TGridDrawingOption)

enum TGridDrawingStyle
{
    gdsClassic,
    gdsThemed,
    gdsGradient
};
Q_ENUM_NS(TGridDrawingStyle)

/// What the user may do to column sizes and places with the mouse.
enum TOrvoResizeOption
{
    roColumnResize,
    roColumnMoving,
    roOptimalWidth,
    roDefaultWidth
};
Q_ENUM_NS(TOrvoResizeOption)

enum TOrvoHintOption
{
    hoTitleHints,
    hoShowTitleHints,
    hoEditorHints,
    hoShowEditorHints,
    hoShowToolTips,
    hoKeepShowToolTips,
    hoAlwaysShowToolTips,
    hoDataHints,
    hoShowDataHints,
    hoAllowForGraphics,
    hoTotalHints,
    hoShowTotalHints,
    hoShowTotalToolTips
};
Q_ENUM_NS(TOrvoHintOption)

/// Whether the columns follow the dataset's fields or were defined by the user.
enum TOrvoColumnsState
{
    csDefault,
    csCustomized
};
Q_ENUM_NS(TOrvoColumnsState)

enum TOrvoDBGridToolMenuItem
{
    tmOpen,
    tmRefresh,
    tmShowColumns,
    tmColumns,
    tmShowAutoFilter,
    tmAutoFilter,
    tmShowMultiSelect,
    tmMultiSelect,
    tmSelectedRow,
    tmStripedRows,
    tmTreeView,
    tmSettings,
    tmClose
};
Q_ENUM_NS(TOrvoDBGridToolMenuItem)

enum TOrvoDBGridToolMenuSubItem
{
    tmColumnsShow,
    tmColumnsStretch,
    tmColumnsDefaultWidth,
    tmColumnsOptimalWidth,
    tmColumnsIncludeTitles,
    tmColumnsIncludeButtons,
    tmColumnsLoad,
    tmColumnsSave,
    tmColumnsLoadFromFile,
    tmColumnsSaveToFile,
    tmAutoFilterActive,
    tmAutoFilterFiltered,
    tmAutoFilterClear,
    tmAutoFilterLoad,
    tmAutoFilterSave,
    tmAutoFilterLoadFromFile,
    tmAutoFilterSaveToFile,
    tmMultiSelectActive,
    tmMultiSelectRows,
    tmMultiSelectCols,
    tmMultiSelectCells,
    tmMultiSelectFixed
};
Q_ENUM_NS(TOrvoDBGridToolMenuSubItem)

enum TOrvoDBGridToolMenuSubItemEx
{
    tmSettingsLoadLayout,
    tmSettingsSaveLayout,
    tmSettingsLoad,
    tmSettingsSave,
    tmSettingsEraseFromFile,
    tmSettingsLoadFromFile,
    tmSettingsSaveToFile,
    tmSettingsEraseFromRegistry,
    tmSettingsLoadFromRegistry,
    tmSettingsSaveToRegistry
};
Q_ENUM_NS(TOrvoDBGridToolMenuSubItemEx)

} // namespace DBGridEnums

#define ORVO_USE_ENUM(Name)                                                                                  \
    using DBGridEnums::Name;                                                                                 \
    using enum DBGridEnums::Name;
ORVO_USE_ENUM(TOrvoDBGridOption)
ORVO_USE_ENUM(TOrvoDBGridOptionEx)
ORVO_USE_ENUM(TOrvoDBGridOptionExt)
ORVO_USE_ENUM(THintCell)
ORVO_USE_ENUM(TTextKind)
ORVO_USE_ENUM(TSelection)
ORVO_USE_ENUM(TSelectAction)
ORVO_USE_ENUM(TCalcPass)
ORVO_USE_ENUM(TTotalsChange)
ORVO_USE_ENUM(TMultiSelection)
ORVO_USE_ENUM(TFixedStyle)
ORVO_USE_ENUM(TFixedTheme)
ORVO_USE_ENUM(TFocusRect)
ORVO_USE_ENUM(THotButtons)
ORVO_USE_ENUM(TListBorder)
ORVO_USE_ENUM(TMarkerStyle)
ORVO_USE_ENUM(TMarkerTransparent)
ORVO_USE_ENUM(TCheckBoxStyle)
ORVO_USE_ENUM(TGridDrawingOption)
ORVO_USE_ENUM(TGridDrawingStyle)
ORVO_USE_ENUM(TOrvoResizeOption)
ORVO_USE_ENUM(TOrvoHintOption)
ORVO_USE_ENUM(TOrvoColumnsState)
ORVO_USE_ENUM(TOrvoDBGridToolMenuItem)
ORVO_USE_ENUM(TOrvoDBGridToolMenuSubItem)
ORVO_USE_ENUM(TOrvoDBGridToolMenuSubItemEx)
#undef ORVO_USE_ENUM

using TOrvoDBGridOptions = TSet<TOrvoDBGridOption>;
using TOrvoDBGridOptionsEx = TSet<TOrvoDBGridOptionEx>;
using TOrvoDBGridOptionsExt = TSet<TOrvoDBGridOptionExt>;
using TSelections = TSet<TSelection>;
/// msRows..msFixed of TMultiSelection: what the multi-selection may hold.
using TMultiSelectOption = TMultiSelection;
using TMultiSelectOptions = TSet<TMultiSelection>;
using TGridDrawingOptions = TSet<TGridDrawingOption>;
using TOrvoResizeOptions = TSet<TOrvoResizeOption>;
using TOrvoHintOptions = TSet<TOrvoHintOption>;
using TOrvoDBGridToolMenuItems = TSet<TOrvoDBGridToolMenuItem>;
using TOrvoDBGridToolMenuSubItems = TSet<TOrvoDBGridToolMenuSubItem>;
using TOrvoDBGridToolMenuSubItemsEx = TSet<TOrvoDBGridToolMenuSubItemEx>;

/// The kinds of rows of a grid's bottom region, top to bottom (computed, never stored).
enum TBottomRowKind
{
    brBlank,
    brTotalHeader,
    brTotalValues,
    brTotalFields,
    brTotalFooter
};

} // namespace orvo
