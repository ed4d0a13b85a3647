#pragma once

#include "platform/core/tvariant.h"

#include <QString>

#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace orvo {

/// One prepared SQLite statement, finalized when it goes out of scope.
/// Values are only ever bound, never spliced into the text; errors become
/// EDatabaseError with SQLite's message and the statement's first line.
class TSQLiteStatement
{
public:
    /// Prepares the first statement of `sql`; `tail` (optional) receives the unparsed rest.
    TSQLiteStatement(sqlite3* db, const QString& sql, QString* tail = nullptr);
    ~TSQLiteStatement();
    TSQLiteStatement(const TSQLiteStatement&) = delete;
    TSQLiteStatement& operator=(const TSQLiteStatement&) = delete;

    /// False for an empty text (only whitespace or comments).
    bool IsValid() const { return FStmt != nullptr; }
    sqlite3_stmt* Handle() const { return FStmt; }
    /// The text of this statement (with its terminator, without the statements after it).
    const QString& SQL() const { return FSQL; }

    int ParameterCount() const;
    /// 1-based index of a ":name" parameter, 0 when the statement has none by that name.
    int ParameterIndex(const QString& name) const;
    /// Binds a value in its natural storage: integers, REAL for double and currency,
    /// ISO text for date-times, BLOB for bytes, NULL for unassigned and Null.
    void Bind(int index, const TVariant& value);
    void BindAll(const std::vector<TVariant>& values);
    /// Binds raw storage values without date or currency conversion.
    void BindText(int index, const QString& text);

    /// Advances: true when a row is ready, false at the end.
    bool Step();
    void Reset();

    int ColumnCount() const;
    QString ColumnName(int column) const;
    /// The column's raw stored value: Null, Int64, Double, String or Bytes.
    TVariant Column(int column) const;
    bool ColumnIsNull(int column) const;
    qint64 ColumnInt64(int column) const;

    /// Raises EDatabaseError for the connection's last error, quoting `sql`'s first line.
    [[noreturn]] static void RaiseError(sqlite3* db, const QString& sql);
    /// ISO text for a date-time: "yyyy-mm-dd" for whole days, else with the time.
    static QString DateTimeText(const TVariant& value);

private:
    sqlite3* FDb;
    sqlite3_stmt* FStmt = nullptr;
    QString FSQL;
};

} // namespace orvo
