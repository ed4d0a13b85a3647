#pragma once

#include <QString>

class QAbstractScrollArea;

namespace orvo {

/// One grid over the benchmark's orders table, as the user sees it: a top-level
/// scroll area showing the table's rows, which can be moved to a record and
/// repainted. Each step leaves the view on the record it asked for, so that the
/// paint that follows draws what the user would see there.
class TGridBenchView
{
public:
    virtual ~TGridBenchView() = default;

    /// Opens the table and builds the view (not yet shown).
    virtual void Open() = 0;
    /// The widget whose viewport paints the rows.
    virtual QAbstractScrollArea* View() const = 0;
    /// Makes record `recNo` (1-based) current and visible.
    virtual void JumpTo(int recNo) = 0;
    /// Ctrl+End: to the last record of the table.
    virtual void GoToLast() = 0;
    /// The current record's number (1-based), to check that a step arrived.
    virtual int CurrentRecNo() const = 0;

    static QString TableName() { return QStringLiteral("BigOrders"); }
};

} // namespace orvo
