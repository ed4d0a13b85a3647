#include "trawsqlitevariant.h"

#include "platform/core/exceptions.h"

#include <sqlite3.h>

namespace orvo {

namespace {

/// Reads a column the way a dataset must: by its stored type.
qint64 TouchColumn(sqlite3_stmt* stmt, int column)
{
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER:
        return sqlite3_column_int64(stmt, column);
    case SQLITE_FLOAT:
        return qint64(sqlite3_column_double(stmt, column));
    case SQLITE_TEXT:
    case SQLITE_BLOB:
        return sqlite3_column_bytes(stmt, column) + (sqlite3_column_text(stmt, column) ? 1 : 0);
    default:
        return 0;
    }
}

qint64 TouchRow(sqlite3_stmt* stmt)
{
    qint64 sum = 0;
    for (int c = 0, n = sqlite3_column_count(stmt); c < n; ++c)
        sum += TouchColumn(stmt, c);
    return sum;
}

// Keeps the compiler from dropping reads whose results are otherwise unused.
volatile qint64 Sink = 0;

} // namespace

TRawSQLiteVariant::TRawSQLiteVariant(const QString& fileName) : FFileName(fileName) {}

TRawSQLiteVariant::~TRawSQLiteVariant()
{
    sqlite3_finalize(FScan);
    sqlite3_close(FDb);
}

sqlite3_stmt* TRawSQLiteVariant::Prepare(const QString& sql) const
{
    sqlite3_stmt* stmt = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(FDb, utf8.constData(), int(utf8.size()), &stmt, nullptr) != SQLITE_OK)
        throw EDatabaseError(QString::fromUtf8(sqlite3_errmsg(FDb)));
    return stmt;
}

void TRawSQLiteVariant::OpenAndReadFirst(int count)
{
    if (sqlite3_open_v2(FFileName.toUtf8().constData(), &FDb, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        throw EDatabaseError(QStringLiteral("Cannot open %1").arg(FFileName));
    FScan = Prepare(QStringLiteral("SELECT * FROM %1").arg(TableName()));
    for (int i = 0; i < count && sqlite3_step(FScan) == SQLITE_ROW; ++i)
        Sink = Sink + TouchRow(FScan);
}

void TRawSQLiteVariant::GoToLast()
{
    sqlite3_reset(FScan);
    while (sqlite3_step(FScan) == SQLITE_ROW)
        Sink = Sink + TouchRow(FScan);
}

bool TRawSQLiteVariant::LocateKey(qint64 orderNo)
{
    sqlite3_stmt* stmt = Prepare(QStringLiteral("SELECT * FROM %1 WHERE OrderNo = ?").arg(TableName()));
    sqlite3_bind_int64(stmt, 1, orderNo);
    const bool found = sqlite3_step(stmt) == SQLITE_ROW;
    if (found)
        Sink = Sink + TouchRow(stmt);
    sqlite3_finalize(stmt);
    return found;
}

qint64 TRawSQLiteVariant::FilteredCount()
{
    sqlite3_stmt* stmt =
        Prepare(QStringLiteral("SELECT count(*) FROM %1 WHERE %2").arg(TableName(), FilterText()));
    const qint64 count = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : -1;
    sqlite3_finalize(stmt);
    return count;
}

} // namespace orvo
