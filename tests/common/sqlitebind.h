#pragma once

// Binding values to a statement through SQLite's own C API, the way checks read stored
// data behind the datasets' back.

#include "platform/core/tvariant.h"

#include <QByteArray>
#include <QString>

#include <sqlite3.h>

#include <vector>

namespace orvo::test {

/// Binds `value` as parameter `index` (from 1). Only the kinds the SQLite layer stores are
/// bound: a date, Boolean or currency must come converted, so any other kind is refused.
inline bool BindStoredValue(sqlite3_stmt* statement, int index, const TVariant& value)
{
    switch (value.VarType()) {
    case varNull:
        return sqlite3_bind_null(statement, index) == SQLITE_OK;
    case varInt64:
        return sqlite3_bind_int64(statement, index, value.AsInt64()) == SQLITE_OK;
    case varDouble:
        return sqlite3_bind_double(statement, index, value.AsFloat()) == SQLITE_OK;
    case varString: {
        const QByteArray utf8 = value.AsString().toUtf8();
        return sqlite3_bind_text(statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT) ==
               SQLITE_OK;
    }
    default:
        return false;
    }
}

/// Binds `values` as the parameters 1, 2, ...; false at the first one refused.
inline bool BindStoredValues(sqlite3_stmt* statement, const std::vector<TVariant>& values)
{
    for (int i = 0; i < int(values.size()); ++i) {
        if (!BindStoredValue(statement, i + 1, values[size_t(i)]))
            return false;
    }
    return true;
}

/// The first column of the first row `sql` gives over the database file at `path`, read
/// past the datasets; -1 when the statement yields no row.
inline qint64 StoredCount(const QString& path, const char* sql)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    const qint64 count = sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : -1;
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return count;
}

/// The first column of the first row `sql` (with `values` bound) gives over the database
/// file at `path` as text, read past the datasets; "<no row>" when there is none.
inline QString StoredText(const QString& path, const char* sql, const std::vector<TVariant>& values = {})
{
    QString text = QStringLiteral("<no row>");
    sqlite3* db = nullptr;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK &&
        BindStoredValues(statement, values) && sqlite3_step(statement) == SQLITE_ROW)
        text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return text;
}

} // namespace orvo::test
