#include "platform/sqlite/tsqlitetableinfo.h"

#include "platform/core/exceptions.h"
#include "platform/sqlite/tsqlitedatabase.h"
#include "platform/sqlite/tsqlitestatement.h"

#include <QRegularExpression>

#include <sqlite3.h>

#include <algorithm>

namespace orvo {

namespace {

bool SameFieldSet(QStringList a, QStringList b)
{
    if (a.size() != b.size())
        return false;
    for (QString& s : a)
        s = s.toLower();
    for (QString& s : b)
        s = s.toLower();
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return a == b;
}

} // namespace

TSQLiteTableInfo TSQLiteTableInfo::Read(sqlite3* db, const QString& table)
{
    TSQLiteStatement find(db, QStringLiteral("SELECT name, type, sql FROM sqlite_master "
                                             "WHERE type IN ('table', 'view') AND name = ?1 COLLATE NOCASE"));
    find.Bind(1, table);
    if (table.trimmed().isEmpty() || !find.Step())
        throw EDatabaseError(QStringLiteral("Table '%1' not found").arg(table));
    TSQLiteTableInfo info;
    info.FName = find.Column(0).AsString();
    info.FIsView = find.Column(1).AsString() == QLatin1String("view");
    const QString createSql = find.Column(2).AsString();
    info.ReadColumns(db);
    info.ReadUniqueIndexes(db);
    if (!info.FIsView) {
        info.ChooseRowidName(createSql);
        info.ReadStrictness(db);
    }
    return info;
}

// SQLite before 3.37 has neither STRICT tables nor this pragma: preparing it fails there.
void TSQLiteTableInfo::ReadStrictness(sqlite3* db)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT strict FROM pragma_table_list(?1) WHERE schema = 'main'", -1,
                           &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        return;
    }
    const QByteArray name = FName.toUtf8();
    sqlite3_bind_text(statement, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    FIsStrict = sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_int(statement, 0) != 0;
    sqlite3_finalize(statement);
}

void TSQLiteTableInfo::ReadColumns(sqlite3* db)
{
    TSQLiteStatement pragma(db, QStringLiteral("SELECT name, type, \"notnull\", dflt_value, pk "
                                               "FROM pragma_table_info(?1)"));
    pragma.Bind(1, FName);
    const QByteArray table = FName.toUtf8();
    while (pragma.Step()) {
        Column c;
        c.Name = pragma.Column(0).AsString();
        c.DeclaredType = pragma.Column(1).AsString();
        c.NotNull = pragma.ColumnInt64(2) != 0;
        c.HasDefault = !pragma.ColumnIsNull(3);
        c.PrimaryKeyPosition = int(pragma.ColumnInt64(4));
        const char* collation = nullptr;
        int autoInc = 0;
        if (!FIsView &&
            sqlite3_table_column_metadata(db, nullptr, table.constData(), c.Name.toUtf8().constData(),
                                          nullptr, &collation, nullptr, nullptr, &autoInc) == SQLITE_OK) {
            c.Collation = QString::fromUtf8(collation).toUpper();
            c.AutoIncrement = autoInc != 0;
        } else
            c.Collation = QStringLiteral("BINARY");
        FColumns.push_back(c);
    }
}

void TSQLiteTableInfo::ReadUniqueIndexes(sqlite3* db)
{
    const QStringList pk = PrimaryKey();
    if (!pk.isEmpty())
        FUniqueKeys.push_back(pk);
    TSQLiteStatement indexes(db, QStringLiteral("SELECT name FROM pragma_index_list(?1) "
                                                "WHERE \"unique\" AND partial = 0"));
    indexes.Bind(1, FName);
    while (indexes.Step()) {
        TSQLiteStatement columns(db, QStringLiteral("SELECT name FROM pragma_index_info(?1) ORDER BY seqno"));
        columns.Bind(1, indexes.Column(0));
        QStringList key;
        while (columns.Step())
            key << columns.Column(0).AsString();
        // An index on an expression has a column without a name: it cannot serve as a field key.
        if (!key.isEmpty() && !key.contains(QString()))
            FUniqueKeys.push_back(key);
    }
}

void TSQLiteTableInfo::ChooseRowidName(const QString& createSql)
{
    static const QRegularExpression withoutRowid(QStringLiteral("\\)\\s*WITHOUT\\s+ROWID"),
                                                 QRegularExpression::CaseInsensitiveOption);
    if (withoutRowid.match(createSql).hasMatch())
        return;
    for (const char* candidate : {"rowid", "_rowid_", "oid"}) {
        if (FindColumn(QLatin1String(candidate)) < 0) {
            FRowidName = QLatin1String(candidate);
            return;
        }
    }
}

int TSQLiteTableInfo::FindColumn(const QString& name) const
{
    for (size_t i = 0; i < FColumns.size(); ++i)
        if (FColumns[i].Name.compare(name.trimmed(), Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

int TSQLiteTableInfo::ColumnIndex(const QString& name) const
{
    const int index = FindColumn(name);
    if (index < 0)
        throw EDatabaseError(QStringLiteral("Field '%1' not found in table '%2'").arg(name.trimmed(), FName));
    return index;
}

QStringList TSQLiteTableInfo::PrimaryKey() const
{
    std::vector<const Column*> key;
    for (const Column& c : FColumns)
        if (c.PrimaryKeyPosition > 0)
            key.push_back(&c);
    std::sort(key.begin(), key.end(),
              [](const Column* a, const Column* b) { return a->PrimaryKeyPosition < b->PrimaryKeyPosition; });
    QStringList names;
    for (const Column* c : key)
        names << c->Name;
    return names;
}

bool TSQLiteTableInfo::IsUniqueKey(const QStringList& fields) const
{
    return std::any_of(FUniqueKeys.begin(), FUniqueKeys.end(),
                       [&](const QStringList& key) { return SameFieldSet(key, fields); });
}

} // namespace orvo
