#pragma once

#include "grid/dbgrid/dbgridenums.h"

namespace orvo {

/// The values a new grid starts with for its option sets, and what a stored form
/// leaves out because it equals them. The grid inherits them, so they read as
/// TOrvoCustomDBGrid::DefaultOptions and the like.
struct TOrvoDBGridDefaults
{
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
