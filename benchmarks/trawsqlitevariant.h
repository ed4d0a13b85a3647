#pragma once

#include "tbenchvariant.h"

struct sqlite3;
struct sqlite3_stmt;

namespace orvo {

/// The floor: bare sqlite3_step loops with no caching and no dataset around them.
class TRawSQLiteVariant : public TBenchVariant
{
public:
    explicit TRawSQLiteVariant(const QString& fileName);
    ~TRawSQLiteVariant() override;

    void OpenAndReadFirst(int count) override;
    /// A full scan reading every column: what any cursor that cannot seek pays.
    void GoToLast() override;
    bool LocateKey(qint64 orderNo) override;
    /// SELECT count(*) ... WHERE: the least work that answers the question.
    qint64 FilteredCount() override;

private:
    sqlite3_stmt* Prepare(const QString& sql) const;

    QString FFileName;
    sqlite3* FDb = nullptr;
    sqlite3_stmt* FScan = nullptr;
};

} // namespace orvo
