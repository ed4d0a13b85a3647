#pragma once

#include "grid/columns/columnenums.h"
#include "platform/core/tvariant.h"

#include <QDate>
#include <QString>

#include <functional>

namespace orvo {

/// One page of the drop-down calendar: the period a view shows and the dates of its cells.
///
/// The cells are addressed by row (from 0) and by the field index of the month data:
/// Day0..Day6 are 0..6, Week 7, Month0..Month3 8..11, Year0..Year3 12..15 and
/// Century0..Century3 16..19. A month page has six rows of Monday-to-Sunday weeks and
/// starts on the Monday before the first day, a whole week before when the month starts
/// on a Monday, so that every month shows some days of the month before it; the other
/// views have three rows of four cells, and the decade and century pages show one
/// period more at each end (2019 ... 2030 for the decade of 2024).
class TCalendarPage
{
public:
    static constexpr int kDayField = 0;
    static constexpr int kWeekField = 7;
    static constexpr int kMonthField = 8;
    static constexpr int kYearField = 12;
    static constexpr int kCenturyField = 16;
    static constexpr int kFieldCount = 20;
    static constexpr int kMonthCells = 42;

    /// Asked for each day of a month page whether it is bold; `bold` arrives with the
    /// Sunday rule's answer.
    using TBoldDayQuery = std::function<void(QDate day, bool& bold)>;

    /// The page of `depth` that holds `date`.
    TCalendarPage(TCalendarDepth depth, QDate date);

    TCalendarDepth Depth() const { return FDepth; }
    /// The first day of the period: of the month, of the year, of the decade or of the century.
    QDate StartDate() const { return FStartDate; }
    /// The date the first cell stands for.
    QDate FirstCellDate() const { return FFirstCellDate; }
    int RecordCount() const { return FDepth == cdMonth ? 6 : 3; }
    /// The index of the view's first data field (Day0, Month0, Year0 or Century0).
    static int FirstDataField(TCalendarDepth depth);
    /// How many data cells a row of the view has (7 or 4).
    static int RowCells(TCalendarDepth depth) { return depth == cdMonth ? 7 : 4; }
    bool IsDataField(int field) const;

    /// The date cell (row, field) stands for: the day, the first day of the month, or
    /// 1 January of the year or of the decade's first year.
    QDate CellDate(int row, int field) const;
    /// The cell of a date inside the page's period.
    void CellOf(QDate date, int& row, int& field) const;
    /// What the month data shows in a cell; Null for the fields of another view.
    TVariant CellValue(int row, int field) const;

    /// "MMMM yyyy" of the month, "yyyy" of the year, "2020-2029" of the decade or century.
    QString Caption() const;
    /// Days of another month, and the years or decades before and after the period.
    bool IsOutsidePeriod(int row, int field) const;
    /// Whether the cell stands for today: the day, today's month, year or decade.
    bool HoldsDay(int row, int field, QDate day) const;
    /// Bit i set when cell i (0..41) of a month page is bold; 0 on the other pages.
    quint64 BoldDays(bool boldSundays, const TBoldDayQuery& query) const;

    bool operator==(const TCalendarPage&) const = default;

private:
    TCalendarDepth FDepth;
    QDate FStartDate;
    QDate FFirstCellDate;
};

} // namespace orvo
