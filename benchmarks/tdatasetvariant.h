#pragma once

#include "tbenchvariant.h"

#include <memory>

namespace orvo {

class TDataSet;
class TSQLiteDatabase;

/// Our own datasets over the orders table: TSQLiteTable in its natural order or
/// in an indexed order, and TSQLiteQuery over "SELECT * FROM BigOrders".
class TDataSetVariant : public TBenchVariant
{
public:
    enum TSource
    {
        dsTableNatural,
        dsTableIndexed,
        dsQuery
    };

    TDataSetVariant(const QString& fileName, TSource source);
    ~TDataSetVariant() override;

    void OpenAndReadFirst(int count) override;
    void GoToLast() override;
    bool LocateKey(qint64 orderNo) override;
    /// Filter and Filtered on the open dataset, then RecordCount.
    qint64 FilteredCount() override;

private:
    std::unique_ptr<TDataSet> CreateDataSet() const;
    void ReadRecord() const;

    QString FFileName;
    TSource FSource;
    std::unique_ptr<TSQLiteDatabase> FDb;
    std::unique_ptr<TDataSet> FDataSet;
};

} // namespace orvo
