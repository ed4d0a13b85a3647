#pragma once

#include "platform/core/tset.h"

#include <QObject>

namespace orvo {

/// The enumerations of the grid's columns, titles, reports and totals, in a namespace
/// of their own (one meta-object per namespace); the using-declarations below make them
/// reachable as `orvo::TOrvoColumnButtonStyle` and `orvo::cbsAuto`. Members keep their
/// declaration order: forms and stored layouts write them by name or bit number.
namespace ColumnEnums {
Q_NAMESPACE

/// The button the cell editor shows.
enum TOrvoColumnButtonStyle
{
    cbsAuto,
    cbsEllipsis,
    cbsNone,
    cbsDropDown,
    cbsDropDownMenu,
    cbsCalendar,
    cbsCalculator
};
Q_ENUM_NS(TOrvoColumnButtonStyle)

/// What the title's drop-down button opens.
enum TOrvoColumnExpandStyle
{
    cesAuto,
    cesNone,
    cesDropDown,
    cesDropDownMenu,
    cesFilterList,
    cesFilterForm
};
Q_ENUM_NS(TOrvoColumnExpandStyle)

/// The deepest view the calendar drop-down may go to.
enum TCalendarDepth
{
    cdMonth,
    cdYear,
    cdDecade,
    cdCentury
};
Q_ENUM_NS(TCalendarDepth)

/// The editor's character case.
enum TEditCharCase
{
    ecNormal,
    ecUpperCase,
    ecLowerCase
};
Q_ENUM_NS(TEditCharCase)

/// The glyph row of a check box; the third member's prefix differs from its siblings'
/// because stored forms spell it that way.
enum TCheckBoxKind
{
    ckCheck,
    ckCross,
    cbBox
};
Q_ENUM_NS(TCheckBoxKind)

/// The state a check box shows; the glyph column of its strip.
enum TCheckBoxState
{
    cbUnchecked,
    cbChecked,
    cbGrayed
};
Q_ENUM_NS(TCheckBoxState)

enum TCheckBoxToggle
{
    ctCustomToggle,
    ctKeyPressOnly,
    ctOnCellClick,
    ctSelectClick
};
Q_ENUM_NS(TCheckBoxToggle)

enum TExpandBoxSize
{
    ebSmall,
    ebMedium,
    ebLarge
};
Q_ENUM_NS(TExpandBoxSize)

enum TExpandBoxToggle
{
    etCustomToggle,
    etKeyPressOnly,
    etOnCellClick,
    etSelectClick
};
Q_ENUM_NS(TExpandBoxToggle)

/// How a column is listed by the columns dialog (and, for reports, offered there).
enum TDialogOption
{
    doShowColumn,
    doItemEnabled
};
Q_ENUM_NS(TDialogOption)

/// Image placement in a data cell; check-box and expand-box columns allow only the
/// members up to idCenter.
enum TImageDraw
{
    idAlignment,
    idOpposite,
    idCenter,
    idStretch,
    idScaled,
    idTileCell,
    idTileGrid,
    idTileCol,
    idTileRow
};
Q_ENUM_NS(TImageDraw)

/// The editor's input-method mode.
enum TImeMode
{
    imDisable,
    imClose,
    imOpen,
    imDontCare,
    imSAlpha,
    imAlpha,
    imHira,
    imSKata,
    imKata,
    imChinese,
    imSHanguel,
    imHanguel
};
Q_ENUM_NS(TImeMode)

/// What the drop-down lists of a column do.
enum TOrvoListOption
{
    loAutoComplete,
    loAutoDropDown,
    loAutoCloseEditor,
    loSelectNextValue,
    loAllowClearValue,
    loShowToday,
    loShowTodayCircle,
    loShowWeekNumbers,
    loAutoTodayClose,
    loBoldSundays,
    loShowImages,
    loShowLookupListTitles,
    loAllowAdjustOrder,
    loAllowChangeOrder,
    loAllowColumnResize,
    loAllowColumnMoving,
    loExpandFirstColumn,
    loFirstColumnExpanded,
    loMultiSelectList,
    loAutoApplyList,
    loTreeViewCellExpand,
    loIncrementalList
};
Q_ENUM_NS(TOrvoListOption)

/// How pick-list values and their texts are shown and accepted.
enum TOrvoPickOption
{
    poDropDownList,
    poListItemsOnly,
    poSelectPickText,
    poStoreItemIndex,
    poAcceptPickList,
    poAcceptItemIndex,
    poAutoLoadList,
    poAppendToList,
    poSortedByText,
    poFormatPickText,
    poFormatListOnly
};
Q_ENUM_NS(TOrvoPickOption)

/// A column's part in a lookup.
enum TOrvoLookupColumn
{
    lcNotDefined,
    lcLookupField,
    lcLookupKeyField,
    lcLookupValueField,
    lcLookupResultField
};
Q_ENUM_NS(TOrvoLookupColumn)

/// How a multi-select list column shows several values in its cell.
enum TMultiSelectText
{
    mstDefault,
    mstEllipsis
};
Q_ENUM_NS(TMultiSelectText)

enum TToolTipsWidth
{
    ttAutoWidth,
    ttFixedWidth
};
Q_ENUM_NS(TToolTipsWidth)

enum TVAlignment
{
    tvTopJustify,
    tvBottomJustify,
    tvCenter
};
Q_ENUM_NS(TVAlignment)

/// The sort marker of a title.
enum TMarker
{
    tmNone,
    tmAscend,
    tmDescend
};
Q_ENUM_NS(TMarker)

/// The total a report prints under a column.
enum TTotalType
{
    ttNone,
    ttSum,
    ttCount,
    ttMax,
    ttMin,
    ttAverage,
    ttText,
    ttExpression,
    ttGrowExpression
};
Q_ENUM_NS(TTotalType)

/// Whether a box is drawn around a total cell; tbAuto follows the row's box option.
enum TTotalBox
{
    tbFalse,
    tbTrue,
    tbAuto
};
Q_ENUM_NS(TTotalBox)

/// Which records a calculated total takes.
enum TCalcApply
{
    caWholeDataSet,
    caSelectedRows,
    caBoth
};
Q_ENUM_NS(TCalcApply)

enum TCalcValue
{
    cvSum,
    cvAvg,
    cvCount,
    cvMax,
    cvMin,
    cvFirst,
    cvLast,
    cvUnique,
    cvCustom
};
Q_ENUM_NS(TCalcValue)

/// How Null field values enter an aggregate.
enum TNullValue
{
    nvExclude,
    nvInclude,
    nvAsZero
};
Q_ENUM_NS(TNullValue)

/// What a total cell shows; trDataField and trTotalField keep the ordinals 2 and 3
/// that the grid's repaint notices pass as their kind.
enum TTotalResult
{
    trNone,
    trCaption,
    trDataField,
    trTotalField,
    trCalcValue
};
Q_ENUM_NS(TTotalResult)

} // namespace ColumnEnums

#define ORVO_USE_ENUM(Name)                                                                                  \
    using ColumnEnums::Name;                                                                                 \
    using enum ColumnEnums::Name;
ORVO_USE_ENUM(TOrvoColumnButtonStyle)
ORVO_USE_ENUM(TOrvoColumnExpandStyle)
ORVO_USE_ENUM(TCalendarDepth)
ORVO_USE_ENUM(TEditCharCase)
ORVO_USE_ENUM(TCheckBoxKind)
ORVO_USE_ENUM(TCheckBoxState)
ORVO_USE_ENUM(TCheckBoxToggle)
ORVO_USE_ENUM(TExpandBoxSize)
ORVO_USE_ENUM(TExpandBoxToggle)
ORVO_USE_ENUM(TDialogOption)
ORVO_USE_ENUM(TImageDraw)
ORVO_USE_ENUM(TImeMode)
ORVO_USE_ENUM(TOrvoListOption)
ORVO_USE_ENUM(TOrvoPickOption)
ORVO_USE_ENUM(TOrvoLookupColumn)
ORVO_USE_ENUM(TMultiSelectText)
ORVO_USE_ENUM(TToolTipsWidth)
ORVO_USE_ENUM(TVAlignment)
ORVO_USE_ENUM(TMarker)
ORVO_USE_ENUM(TTotalType)
ORVO_USE_ENUM(TTotalBox)
ORVO_USE_ENUM(TCalcApply)
ORVO_USE_ENUM(TCalcValue)
ORVO_USE_ENUM(TNullValue)
ORVO_USE_ENUM(TTotalResult)
#undef ORVO_USE_ENUM

using TDialogOptions = TSet<TDialogOption>;
using TOrvoListOptions = TSet<TOrvoListOption>;
using TOrvoPickOptions = TSet<TOrvoPickOption>;
/// The editor's input-method name; empty means the system's default.
using TImeName = QString;

} // namespace orvo
