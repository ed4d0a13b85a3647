#pragma once

#include "grid/columns/columnenums.h"

#include <QString>

namespace orvo {

class TOrvoColumn;
class TOrvoDBGridColumns;

/// The 32 columns of the drop-down calendar, in four groups of which only the one of the
/// current view is visible.
///
/// Each group is `previous button | data | caption | data... | next button | data`: the
/// button and caption columns have the data columns after them as sub-columns, so their
/// titles stand over the data columns' titles in the first title row. The month group
/// (columns 0-10) holds Week (or Day0 without week numbers), Day0...Day5 under the
/// caption (Day0 hidden without week numbers) and Day6; the other groups (11-17, 18-24,
/// 25-31) hold their four fields as 1 | 2 | 1.
class TCalendarColumns
{
public:
    static constexpr int kColumnCount = 32;
    static constexpr int kMonthBaseWidth = 22;
    static constexpr int kOtherBaseWidth = 39;
    static constexpr int kPreviousImage = 10;
    static constexpr int kNextImage = 11;

    enum TTitlePart
    {
        tpNone,
        tpPrevious,
        tpCaption,
        tpNext
    };

    /// Replaces the collection's columns with the calendar's.
    static void Build(TOrvoDBGridColumns* columns);
    /// Shows the group of `depth`; the month group shows its Week column only with week numbers.
    static void ShowDepth(TOrvoDBGridColumns* columns, TCalendarDepth depth, bool weekNumbers);
    /// Binds the month group's first data column to Week or Day0.
    static void ShowWeekNumbers(TOrvoDBGridColumns* columns, bool weekNumbers);
    static void SetCaption(TOrvoDBGridColumns* columns, TCalendarDepth depth, const QString& caption);
    /// The short day names of the locale over the day columns, Monday first.
    static void SetDayTitles(TOrvoDBGridColumns* columns);

    /// The first column of a view's group.
    static int GroupStart(TCalendarDepth depth);
    /// What a title column of a group is; tpNone for a data column.
    static TTitlePart TitlePart(int columnIndex);
    /// The view a column belongs to.
    static TCalendarDepth DepthOfColumn(int columnIndex);
    /// The column that shows a data field of the month data in the current layout.
    static TOrvoColumn* ColumnOfField(TOrvoDBGridColumns* columns, int field, bool weekNumbers);
    /// The month data's field index of a data column; -1 for a title column.
    static int FieldOfColumn(const TOrvoColumn* column);

    /// The month columns' widths after their titles (week column included when shown),
    /// and the other views' four columns sharing the month view's total width.
    static void ShareWidths(TOrvoDBGridColumns* columns, bool weekNumbers, int gridLineWidth);
};

} // namespace orvo
