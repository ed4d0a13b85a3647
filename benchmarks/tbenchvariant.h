#pragma once

#include <QString>
#include <QtGlobal>

namespace orvo {

/// One way of reading the benchmark's orders table (one of our datasets, Qt's
/// model, or bare SQLite calls). Each step does the whole job a grid would need
/// done, so the times compare like with like.
class TBenchVariant
{
public:
    virtual ~TBenchVariant() = default;

    /// Opens the table and reads every column of its first `count` records.
    virtual void OpenAndReadFirst(int count) = 0;
    /// Moves to the last record and reads every column of it.
    virtual void GoToLast() = 0;
    /// Makes the record with this OrderNo current (or reads it); false when not found.
    virtual bool LocateKey(qint64 orderNo) = 0;
    /// The number of records matching FilterText once the filter is applied.
    virtual qint64 FilteredCount() = 0;

    static QString FilterText() { return QStringLiteral("ItemsTotal > 500 AND City LIKE 'B%'"); }
    static QString TableName() { return QStringLiteral("BigOrders"); }
};

} // namespace orvo
