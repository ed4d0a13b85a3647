#pragma once

#include "platform/core/tset.h"

#include <QObject>

namespace orvo {

/// The enumerations of the grid's filter and search settings, in a namespace of
/// their own because Qt allows one meta-object per namespace. Members keep their
/// declaration order: stored forms write sets as bit numbers, and the filter
/// form's clause lists carry a clause's ordinal as its key.
namespace FilterEnums {
Q_NAMESPACE

/// A condition of the filter form; the ordinal indexes ClauseCaptions and ExpressionTemplates.
enum TOrvoDBGridFilterClause
{
    fcNoFilter,
    fcContains,
    fcDoesNotContain,
    fcStartsFrom,
    fcDoesNotStartFrom,
    fcEndsWith,
    fcDoesNotEndWith,
    fcIsEqual,
    fcIsNotEqual,
    fcIsGreaterThen,
    fcIsGreaterThenOrEqual,
    fcIsLessThen,
    fcIsLessThenOrEqual,
    fcIsOnTheList,
    fcIsNotOnTheList,
    fcIsEmpty,
    fcIsNotEmpty
};
Q_ENUM_NS(TOrvoDBGridFilterClause)

/// Behaviour of the auto-filter list.
enum TOrvoDBGridFilterOption
{
    foAutoApplyList,
    foListAnimation,
    foListAlignment,
    foOverlayedList,
    foLoadAllItems,
    foCheckedFirst,
    foAddSelected,
    foIncrementalList
};
Q_ENUM_NS(TOrvoDBGridFilterOption)

/// The filter tools a title offers: the value list, the filter form.
enum TFilterStyle
{
    fsFilterList,
    fsFilterForm
};
Q_ENUM_NS(TFilterStyle)

/// The date periods the filter form offers; fpOthers switches the relative rows on.
enum TOrvoDBGridFilterPeriod
{
    fpNoPeriod,
    fpMinute,
    fpHour,
    fpDay,
    fpWeek,
    fpMonth,
    fpQuarter,
    fpSemester,
    fpYear,
    fpDecade,
    fpOther,
    fp10Mins,
    fp15Mins,
    fp20Mins,
    fp30Mins,
    fpHours,
    fpDays,
    fpWeeks,
    fpMonths,
    fpQuarters,
    fpSemesters,
    fpYears,
    fpDecades,
    fpOthers
};
Q_ENUM_NS(TOrvoDBGridFilterPeriod)

/// How the grid's text search matches and what it does with a match.
enum TOrvoSearchOption
{
    soCaseSensitive,
    soWholeWords,
    soWrapAround,
    soSkipMessage,
    soCurrentCol,
    soFilterRows
};
Q_ENUM_NS(TOrvoSearchOption)

} // namespace FilterEnums

#define ORVO_USE_ENUM(Name)                                                                                  \
    using FilterEnums::Name;                                                                                 \
    using enum FilterEnums::Name;
ORVO_USE_ENUM(TOrvoDBGridFilterClause)
ORVO_USE_ENUM(TOrvoDBGridFilterOption)
ORVO_USE_ENUM(TFilterStyle)
ORVO_USE_ENUM(TOrvoDBGridFilterPeriod)
ORVO_USE_ENUM(TOrvoSearchOption)
#undef ORVO_USE_ENUM

using TOrvoDBGridFilterClauses = TSet<TOrvoDBGridFilterClause>;
using TOrvoDBGridFilterOptions = TSet<TOrvoDBGridFilterOption>;
using TFilterStyles = TSet<TFilterStyle>;
using TOrvoDBGridFilterPeriods = TSet<TOrvoDBGridFilterPeriod>;
using TOrvoSearchOptions = TSet<TOrvoSearchOption>;

} // namespace orvo
