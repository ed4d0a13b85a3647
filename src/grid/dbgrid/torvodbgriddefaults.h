#pragma once

#include "grid/dbgrid/dbgridenums.h"
#include "platform/core/tcolor.h"

namespace orvo {

/// The values a new grid starts with for its option sets, and what a stored form
/// leaves out because it equals them; its limits, and what its colour properties stand
/// for while they are clDefault. The grid inherits them, so they read as
/// TOrvoCustomDBGrid::DefaultOptions and the like.
struct TOrvoDBGridDefaults
{
    /// The most text lines a row, title or header holds: a stored layout or form with a
    /// larger count would take row heights beyond what pixel arithmetic can hold.
    static constexpr int MaxLinesCount = 1000;
    /// The largest number of columns a sort order numbers.
    static constexpr int MaxOrderCount = 9;

    /// The colour to paint with for a colour property: `computedDefault` for clDefault,
    /// the property itself unless it is clNone, else the colour already in use.
    static TColor ResolveColor(TColor property, TColor computedDefault, TColor inUse);
    /// The computed defaults of the selection colours for the running system.
    static TColor DefaultSelectCellColor(bool gradientActive);
    static TColor DefaultSelectionColor(bool gradientActive);
    static TColor DefaultSelectRowColor(bool gradientActive);

    static constexpr TOrvoDBGridOptions DefaultOptions{
        dgEditing,        dgTitles,        dgIndicator,       dgColumnResize,    dgColLines,
        dgRowLines,       dgTabs,          dgConfirmDelete,   dgCancelOnExit,    dgExtendedSelect,
        dgInternalSelect, dgRowResize,     dgRowScroll,       dgHotButtons,      dgTitleButtons,
        dgTitleHeaders,   dgTitleWidthOff, dgMarkerAutoAlign, dgMarkerAutoToggle};
    static constexpr TOrvoDBGridOptionsEx DefaultOptionsEx{
        dgTotalHeaderBox,    dgTotalValuesBox,     dgTotalFieldsBox,      dgTotalFooterBox,
        dgAutoAscendOrder,   dgAutoUpdateSequence, dgDelayUpdateSequence, dgAutoUpdateTotals,
        dgDelayUpdateTotals, dgCalcWholeDataSet,   dgCalcSelectedRows,    dgDelaySelectedRows,
        dgSelectedAutoHidden};
    static constexpr TOrvoDBGridOptionsExt DefaultOptionsExt{dgAutoUpdateListItems, dgDelayUpdateListItems,
                                                             dgGridStyleLists,      dgMouseScrolling,
                                                             dgForceSystemButton,   dgForceSystemMarker};
    static constexpr TGridDrawingOptions DefaultDrawingOptions{
        gdoHighlightText, gdoDataColLines,  gdoDataRowLines, gdoSelectedCell,
        gdoSelectedRow,   gdoMultiSelected, gdoTotalSelected};
    static constexpr TOrvoHintOptions DefaultHintOptions{hoTitleHints, hoShowTitleHints, hoEditorHints,
                                                         hoShowToolTips, hoShowTotalToolTips};
    static constexpr TOrvoResizeOptions DefaultResizeOptions{roColumnResize, roColumnMoving, roOptimalWidth,
                                                             roDefaultWidth};
    /// Every entry but the three "Show" entries.
    static constexpr TOrvoDBGridToolMenuItems DefaultToolMenuItems =
        TOrvoDBGridToolMenuItems{tmOpen,        tmRefresh,     tmColumns,  tmAutoFilter, tmMultiSelect,
                                 tmSelectedRow, tmStripedRows, tmTreeView, tmSettings,   tmClose};
    /// Every sub-item of every menu entry.
    static constexpr TOrvoDBGridToolMenuSubItems DefaultToolMenuSubItems{
        tmColumnsShow,          tmColumnsStretch,        tmColumnsDefaultWidth, tmColumnsOptimalWidth,
        tmColumnsIncludeTitles, tmColumnsIncludeButtons, tmColumnsLoad,         tmColumnsSave,
        tmColumnsLoadFromFile,  tmColumnsSaveToFile,     tmAutoFilterActive,    tmAutoFilterFiltered,
        tmAutoFilterClear,      tmAutoFilterLoad,        tmAutoFilterSave,      tmAutoFilterLoadFromFile,
        tmAutoFilterSaveToFile, tmMultiSelectActive,     tmMultiSelectRows,     tmMultiSelectCols,
        tmMultiSelectCells,     tmMultiSelectFixed};
    static constexpr TOrvoDBGridToolMenuSubItemsEx DefaultToolMenuSubItemsEx{
        tmSettingsLoadLayout,    tmSettingsSaveLayout,        tmSettingsLoad,
        tmSettingsSave,          tmSettingsEraseFromFile,     tmSettingsLoadFromFile,
        tmSettingsSaveToFile,    tmSettingsEraseFromRegistry, tmSettingsLoadFromRegistry,
        tmSettingsSaveToRegistry};
};

} // namespace orvo
