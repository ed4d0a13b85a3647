#pragma once

#include <QString>
#include <QStringList>

#include <vector>

struct sqlite3;

namespace orvo {

/// What the schema says about one table: its columns, key and unique
/// indexes. Every identifier a dataset splices into SQL is checked against
/// this and quoted.
class TSQLiteTableInfo
{
public:
    struct Column
    {
        QString Name;
        QString DeclaredType;
        QString Collation; ///< "BINARY", "NOCASE", "RTRIM" or a custom one
        bool NotNull = false;
        bool HasDefault = false;
        int PrimaryKeyPosition = 0; ///< 1-based position in the primary key, 0 when not part of it
        bool AutoIncrement = false;
    };

    /// Reads the table; raises EDatabaseError "Table 'X' not found" when there is none.
    static TSQLiteTableInfo Read(sqlite3* db, const QString& table);

    QString Name() const { return FName; }
    const std::vector<Column>& Columns() const { return FColumns; }
    /// Index of the column (case-insensitive), -1 when there is none.
    int FindColumn(const QString& name) const;
    /// Like FindColumn, but raises EDatabaseError "Field 'X' not found in table 'T'".
    int ColumnIndex(const QString& name) const;

    /// An expression for the rowid that no column shadows; empty for a table without rowid.
    QString RowidName() const { return FRowidName; }
    bool HasRowid() const { return !FRowidName.isEmpty(); }
    /// The primary key's columns in key order (empty when the table has none declared).
    QStringList PrimaryKey() const;
    /// Whether `fields` (any order, case-insensitive) are exactly the primary key or a unique index.
    bool IsUniqueKey(const QStringList& fields) const;
    bool IsView() const { return FIsView; }
    /// A STRICT table: each column of a declared type other than ANY holds only values of that type or NULL.
    bool IsStrict() const { return FIsStrict; }

private:
    void ReadColumns(sqlite3* db);
    void ReadUniqueIndexes(sqlite3* db);
    void ChooseRowidName(const QString& createSql);
    void ReadStrictness(sqlite3* db);

    QString FName;
    bool FIsView = false;
    bool FIsStrict = false;
    std::vector<Column> FColumns;
    std::vector<QStringList> FUniqueKeys;
    QString FRowidName;
};

} // namespace orvo
