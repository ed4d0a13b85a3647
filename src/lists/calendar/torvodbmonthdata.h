#pragma once

#include "grid/columns/columnenums.h"
#include "platform/core/tdatetime.h"
#include "platform/data/torvodbcustomdata.h"

#include <memory>

namespace orvo {

class TCalendarPage;

/// The read-only dataset behind the drop-down calendar: one page of a month, a year, a
/// decade or a century, whose records are the page's rows.
///
/// Fields, in order: Day0..Day6 (day of month, Monday to Sunday) and Week (ISO week
/// number) for the month page, Month0..Month3 (short month names of the locale),
/// Year0..Year3 and Century0..Century3 (first and last year of a decade, on two lines);
/// the fields of the other views are Null. The month page has 6 records, the others 3,
/// so the depth can change only while the dataset is closed; SetDate changes the page
/// in place and refreshes.
class TOrvoDBMonthData : public TOrvoDBCustomData
{
    Q_OBJECT

public:
    explicit TOrvoDBMonthData(QObject* owner = nullptr);
    ~TOrvoDBMonthData() override;

    TCalendarDepth Depth() const;
    /// Raises when the dataset is open: the record count depends on the depth.
    void SetDepth(TCalendarDepth depth);
    /// Shows the page that holds `date` at the current depth.
    void SetDate(TDateTime date);
    const TCalendarPage& Page() const { return *FPage; }
    /// The first day of the page's period.
    TDateTime StartDate() const;
    /// The date the first cell stands for.
    TDateTime FirstCellDate() const;

protected:
    void DoGetRecordCount(qint64& count) override;
    void InternalGetFieldValue(qint64 index, const TField* field, TVariant& value) override;

private:
    std::unique_ptr<TCalendarPage> FPage;
};

} // namespace orvo
