#pragma once

// Binding values to a statement through SQLite's own C API, the way checks read stored
// data behind the datasets' back.

#include "platform/core/tvariant.h"

#include <QByteArray>

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

} // namespace orvo::test
