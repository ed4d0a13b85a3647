#include "platform/sqlite/tsqlitequery.h"

#include "platform/core/tscopecleanup.h"
#include "platform/data/tfield.h"
#include "platform/data/tfields.h"
#include "platform/sqlite/tsqlitekeyorder.h"
#include "platform/sqlite/tsqlitestatement.h"
#include "platform/sqlite/tsqlitetableinfo.h"
#include "platform/sqlite/tsqlitetypes.h"

#include <QRegularExpression>

#include <sqlite3.h>

#include <algorithm>

namespace orvo {

namespace {

QString Utf8(const char* text)
{
    return text ? QString::fromUtf8(text) : QString();
}

// Field names become parameter names: anything but letters, digits and "_" turns into "_".
QString ParamSafe(const QString& name)
{
    QString safe = name;
    for (QChar& c : safe)
        if (!c.isLetterOrNumber() && c != QLatin1Char('_'))
            c = QLatin1Char('_');
    return safe;
}

const QString OldPrefix = QStringLiteral("OLD_");
const QString NewPrefix = QStringLiteral("NEW_");
/// The most rows read at open to type the columns that declare no type.
constexpr int TypeLookAheadRows = 100;
/// Marks a position of the keyset whose row is not read yet; the rest of the entry is its
/// index in the keyset.
constexpr quint32 NotLoaded = 0x80000000u;

} // namespace

TSQLiteQuery::TSQLiteQuery(QObject* owner) : TSQLiteDataSet(owner) {}

TSQLiteQuery::~TSQLiteQuery()
{
    try {
        Close();
    } catch (...) {
        // Closing only finalizes the statement here; nothing can be reported from a destructor.
    }
}

// --- Properties ---------------------------------------------------------------------------

void TSQLiteQuery::SetSQL(const QStringList& sql)
{
    if (sql == FSQL)
        return;
    Close();
    FSQL = sql;
    FParams.ParseSQL(SqlText());
}

void TSQLiteQuery::SetUpdateWhere(const QString& where)
{
    if (where == FUpdateWhere)
        return;
    CheckInactive();
    FUpdateWhere = where;
}

void TSQLiteQuery::SetCachedUpdates(bool cached)
{
    if (cached == FCachedUpdates)
        return;
    if (!cached && UpdatesPending())
        throw EDatabaseError(QStringLiteral("Apply or cancel the pending updates first"));
    if (Active())
        CheckBrowseMode();
    FCachedUpdates = cached;
}

// Every statement of the text runs, in order; the first that fails stops the run and its
// error names it. What ran before stays done, as it would typed into any SQLite shell.
void TSQLiteQuery::ExecSQL()
{
    CheckInactive();
    sqlite3* db = Db();
    QString rest = SqlText();
    int affected = 0;
    bool ranAny = false;
    while (!rest.trimmed().isEmpty()) {
        QString tail;
        TSQLiteStatement statement(db, rest, &tail);
        if (statement.IsValid()) {
            FParams.BindTo(statement);
            const sqlite3_int64 before = sqlite3_total_changes64(db);
            while (statement.Step()) {
            }
            // sqlite3_changes keeps the last write's count across statements that write nothing.
            if (sqlite3_total_changes64(db) != before)
                affected += sqlite3_changes(db);
            ranAny = true;
        }
        rest = tail;
    }
    if (!ranAny)
        DatabaseError(QStringLiteral("no SQL statement"));
    FRowsAffected = affected;
}

// --- Opening ------------------------------------------------------------------------------

QString TSQLiteQuery::SourceSql() const
{
    if (FFilterWhere.isEmpty())
        return FSelectSql;
    return QStringLiteral("SELECT * FROM (\n%1\n) WHERE %2").arg(FSelectSql, FFilterWhere);
}

// The query's one statement without its terminator, so that it can stand as a subquery for
// counting and filtering. A text of several statements is refused rather than partly read.
QString TSQLiteQuery::SelectStatement() const
{
    QString tail;
    const TSQLiteStatement first(Db(), SqlText(), &tail);
    if (!first.IsValid())
        DatabaseError(QStringLiteral("no SQL statement"));
    while (!tail.trimmed().isEmpty()) {
        QString after;
        if (TSQLiteStatement(Db(), tail, &after).IsValid())
            DatabaseError(
                QStringLiteral("the SQL of a query must be one statement; run scripts with ExecSQL"));
        if (after.size() >= tail.size())
            break;
        tail = after;
    }
    // The statement's text ends at its terminator, if it has one.
    QString text = first.SQL();
    if (text.endsWith(QLatin1Char(';')))
        text.chop(1);
    return text;
}

// Named parameters come from Params; the anonymous ones are the filter's, in order.
void TSQLiteQuery::BindSource(TSQLiteStatement& statement) const
{
    size_t filterIndex = 0;
    for (int i = 1; i <= statement.ParameterCount(); ++i) {
        const char* name = sqlite3_bind_parameter_name(statement.Handle(), i);
        if (name)
            statement.Bind(i, FParams.ParamByName(QString::fromUtf8(name).mid(1))->Value());
        else if (filterIndex < FFilterParams.size())
            statement.Bind(i, FFilterParams[filterIndex++]);
        else
            throw EDatabaseError(QStringLiteral("Parameter %1 has no name and no value").arg(i));
    }
}

QString TSQLiteQuery::RowSourceSql() const
{
    // Changes kept for a later ApplyUpdates are not in the database yet.
    if (!Active() || UpdatesPending())
        return {};
    FilterHandledBySource(); // brings the filter's WHERE clause up to date
    if (!SourceIsExact())
        return {};
    return SourceSql();
}

void TSQLiteQuery::InternalOpen()
{
    CheckDatabase();
    FFilterWhere.clear();
    FFilterParams.clear();
    SetFilterInSql({});
    FSourceSignature.clear();
    FSelectSql = SelectStatement();
    StartFetching();
    if (FStatement->ColumnCount() == 0) {
        FStatement.reset();
        DatabaseError(QStringLiteral("the SQL returns no rows; use ExecSQL"));
    }
    DescribeColumns(*FStatement);
    FCursorOpen = true;
}

void TSQLiteQuery::StartFetching()
{
    FStatement.reset();
    FStore.Clear();
    FOrder.clear();
    FWrittenKeys.clear();
    FChanges.clear();
    FAllFetched = false;
    FCursor = -1;
    FSqlCount = -1;
    FCountDelta = 0;
    FKeyset.Clear();
    FKeysetTried = false;
    FKeysetAligned = false;
    FRowReader.reset();
    OrderChanged();
    auto statement = std::make_unique<TSQLiteStatement>(Db(), SourceSql());
    if (!statement->IsValid())
        DatabaseError(QStringLiteral("no SQL statement"));
    BindSource(*statement);
    FStatement = std::move(statement);
}

void TSQLiteQuery::DescribeColumns(TSQLiteStatement& statement)
{
    sqlite3_stmt* stmt = statement.Handle();
    FOrigins.clear();
    for (int c = 0; c < statement.ColumnCount(); ++c)
        FOrigins.push_back(
            {Utf8(sqlite3_column_table_name(stmt, c)), Utf8(sqlite3_column_origin_name(stmt, c))});
    FindUpdateTarget();
    FNamesUnique = true;
    const TSQLiteTableInfo info =
        FUpdateTable.isEmpty() ? TSQLiteTableInfo() : TSQLiteTableInfo::Read(Db(), FUpdateTable);
    FRowidColumn = FindRowidColumn(info);
    std::vector<TColumn> columns;
    std::vector<int> undeclared;
    QStringList names;
    // Everything is asked of the statement before a row is read: reading past the last row
    // finishes (and frees) the statement.
    for (int c = 0; c < statement.ColumnCount(); ++c) {
        const TOrigin& origin = FOrigins[size_t(c)];
        int notNull = 0, primaryKey = 0, autoInc = 0;
        if (!origin.Column.isEmpty())
            sqlite3_table_column_metadata(
                Db(), sqlite3_column_database_name(stmt, c), origin.Table.toUtf8().constData(),
                origin.Column.toUtf8().constData(), nullptr, nullptr, &notNull, &primaryKey, &autoInc);
        TSQLiteTypes::TypeInfo type =
            TSQLiteTypes::FromDeclaredType(Utf8(sqlite3_column_decltype(stmt, c)), autoInc);
        if (type.DataType == ftUnknown)
            undeclared.push_back(c);
        TColumn column;
        column.Name = statement.ColumnName(c);
        for (int n = 1; names.contains(column.Name, Qt::CaseInsensitive); ++n)
            column.Name = statement.ColumnName(c) + QLatin1Char('_') + QString::number(n);
        FNamesUnique = FNamesUnique && column.Name == statement.ColumnName(c);
        names << column.Name;
        column.DataType = type.DataType;
        column.Size = type.Size;
        column.Precision = type.Precision;
        const bool writable =
            !FUpdateTable.isEmpty() && origin.Table == FUpdateTable && !origin.Column.isEmpty();
        const int infoColumn = writable ? info.FindColumn(origin.Column) : -1;
        const bool hasDefault = infoColumn >= 0 && info.Columns()[size_t(infoColumn)].HasDefault;
        column.Required = writable && notNull && !hasDefault && !(primaryKey && type.DataType != ftString);
        column.ReadOnly = !writable;
        columns.push_back(column);
    }
    TypeFromValues(columns, undeclared);
    SetColumns(std::move(columns));
}

// An expression has no declared type, and a Null tells nothing of it: rows are read ahead (they
// stay fetched) until every such column has shown a value, and every value read counts.
void TSQLiteQuery::TypeFromValues(std::vector<TColumn>& columns, const std::vector<int>& undeclared)
{
    std::vector<std::vector<TVariant>> values(undeclared.size());
    std::vector<bool> shown(undeclared.size(), false);
    size_t waiting = undeclared.size();
    for (int position = 0; position < TypeLookAheadRows && waiting > 0 && EnsureRow(position); ++position)
        for (size_t i = 0; i < undeclared.size(); ++i) {
            const TVariant value = FStore.Value(IdAt(position), undeclared[i]);
            if (!value.IsClear() && !shown[i]) {
                shown[i] = true;
                --waiting;
            }
            values[i].push_back(value);
        }
    for (size_t i = 0; i < undeclared.size(); ++i) {
        const TSQLiteTypes::TypeInfo type = TSQLiteTypes::FromStoredValues(values[i]);
        TColumn& column = columns[size_t(undeclared[i])];
        column.DataType = type.DataType;
        column.Size = type.Size;
        column.Precision = type.Precision;
    }
}

// The key identifies a row for UPDATE and DELETE: the fields UpdateWhere reads as ":OLD_x",
// else the table's primary key when selected whole, else a selected rowid.
void TSQLiteQuery::FindUpdateTarget()
{
    FUpdateTable.clear();
    FRowidName.clear();
    FKeyColumns.clear();
    QStringList tables;
    for (const TOrigin& o : FOrigins)
        if (!o.Table.isEmpty() && !tables.contains(o.Table))
            tables << o.Table;
    if (tables.size() != 1)
        return;
    FUpdateTable = tables.front();
    const TSQLiteTableInfo info = TSQLiteTableInfo::Read(Db(), FUpdateTable);
    FRowidName = info.RowidName();
    if (!FUpdateWhere.isEmpty()) {
        for (const QString& p : TParams::ParamNames(FUpdateWhere))
            if (p.startsWith(OldPrefix, Qt::CaseInsensitive))
                for (int c = 0; c < FStatement->ColumnCount(); ++c)
                    if (ParamSafe(FStatement->ColumnName(c))
                            .compare(p.mid(OldPrefix.size()), Qt::CaseInsensitive) == 0)
                        FKeyColumns.push_back(c);
        return;
    }
    const auto columnOf = [this](const QString& origin) {
        for (size_t c = 0; c < FOrigins.size(); ++c)
            if (FOrigins[c].Table == FUpdateTable &&
                FOrigins[c].Column.compare(origin, Qt::CaseInsensitive) == 0)
                return int(c);
        return -1;
    };
    for (const QString& name : info.PrimaryKey())
        FKeyColumns.push_back(columnOf(name));
    if (!FKeyColumns.empty() &&
        std::none_of(FKeyColumns.begin(), FKeyColumns.end(), [](int c) { return c < 0; }))
        return;
    FKeyColumns.clear();
    if (const int c = columnOf(FRowidName); c >= 0 && !FRowidName.isEmpty())
        FKeyColumns.push_back(c);
}

void TSQLiteQuery::InternalClose()
{
    FCursorOpen = false;
    FStatement.reset();
    FStore.Clear();
    FOrder.clear();
    FChanges.clear();
    FWrittenKeys.clear();
    FOrigins.clear();
    FKeyset.Clear();
    FRowReader.reset();
    FPositionOf.clear();
    SetColumns({});
}

void TSQLiteQuery::InternalRefresh()
{
    if (UpdatesPending())
        throw EDatabaseError(QStringLiteral("Apply or cancel the pending updates before refreshing"));
    StartFetching();
}

bool TSQLiteQuery::FilterHandledBySource() const
{
    const_cast<TSQLiteQuery*>(this)->SyncSource();
    return TSQLiteDataSet::FilterHandledBySource();
}

// A filter goes into SQL only without cached updates: running the query again would lose the log.
void TSQLiteQuery::SyncSource()
{
    if (!FCursorOpen || FilterSignature() == FSourceSignature)
        return;
    FSourceSignature = FilterSignature();
    QStringList names;
    for (const TColumn& c : Columns())
        names << c.Name;
    // The wrapped query exposes the columns by their SQL names, which must be unique. They are
    // known from the open: the statement is gone once the last row was read.
    // A result column's collation and affinity are not known here: text keeps its conversion.
    const TFilterSql filter =
        FCachedUpdates || !FNamesUnique
            ? TFilterSql()
            : TranslateFilter([&](int column) { return TSQLiteDatabase::QuoteIdentifier(names.at(column)); },
                              nullptr);
    SetFilterInSql(filter);
    if (filter.Where.isEmpty() && FFilterWhere.isEmpty())
        return;
    FFilterWhere = filter.Where;
    FFilterParams = filter.Params;
    StartFetching();
}

// --- Fetching -------------------------------------------------------------------------------

bool TSQLiteQuery::FetchRow()
{
    while (!FAllFetched && FStatement) {
        if (!FStatement->Step()) {
            FAllFetched = true;
            // Finishing the statement ends its read transaction, so that writers are not blocked.
            FStatement.reset();
            return false;
        }
        // A row this query wrote while it was still reading may be met again: it is already here.
        if (!FWrittenKeys.isEmpty() && FWrittenKeys.contains(KeyOfStatement()))
            continue;
        const quint32 id = FStore.AppendFromStatement(FStatement->Handle(), FStatement->ColumnCount());
        FOrder.push_back(id);
        if (FPositionsValid && !FPositionOf.empty()) {
            FPositionOf.resize(FStore.Count(), -1);
            FPositionOf[id] = qint32(FOrder.size() - 1);
        }
        return true;
    }
    return false;
}

void TSQLiteQuery::FetchAll()
{
    while (FetchRow()) {
    }
}

bool TSQLiteQuery::EnsureRow(int position)
{
    while (position >= int(FOrder.size()) && FetchRow()) {
    }
    return position < int(FOrder.size());
}

QByteArray TSQLiteQuery::KeyOfRow(const TRow& stored) const
{
    QByteArray key;
    for (int c : FKeyColumns)
        TSQLiteRowStore::EncodeValue(key, stored.at(size_t(c)));
    return key;
}

QByteArray TSQLiteQuery::KeyOfStatement() const
{
    QByteArray key;
    for (int c : FKeyColumns)
        TSQLiteRowStore::EncodeValue(key, FStatement->Column(c));
    return key;
}

TGetResult TSQLiteQuery::GetRecord(TRecordBuffer& buffer, TGetMode mode, bool doCheck)
{
    try {
        SyncSource();
        switch (mode) {
        case gmNext:
            if (!EnsureRow(FCursor + 1)) {
                FCursor = int(FOrder.size());
                return grEOF;
            }
            ++FCursor;
            break;
        case gmPrior:
            if (FCursor <= 0) {
                FCursor = -1;
                return grBOF;
            }
            FCursor = std::min(FCursor, int(FOrder.size())) - 1;
            break;
        case gmCurrent:
            if (FCursor < 0 || FCursor >= int(FOrder.size()))
                return grError;
            break;
        }
        const quint32 id = IdAt(FCursor);
        buffer.Bookmark = BookmarkOf(id);
        buffer.BookmarkFlag = bfCurrent;
        buffer.RecordId = id;
        FillValues(buffer, FStore.Values(id));
        return grOK;
    } catch (const Exception&) {
        if (doCheck)
            throw;
        return grError;
    }
}

void TSQLiteQuery::InternalLast()
{
    SyncSource();
    EnsureKeyset();
    FetchAll();
    FCursor = int(FOrder.size());
}

void TSQLiteQuery::InternalGotoBookmark(const QByteArray& bookmark)
{
    quint32 id = 0;
    const int position = DecodeBookmark(bookmark, id) ? PositionOf(id) : -1;
    if (position < 0)
        throw EDatabaseError(QStringLiteral("Record not found"));
    FCursor = position;
}

// --- Random access by rowid ------------------------------------------------------------------

// The keyset serves a result whose columns are all one table's own (no expression), with the
// table's rowid among them: each row of the result is then that table's row with that rowid.
int TSQLiteQuery::FindRowidColumn(const TSQLiteTableInfo& info) const
{
    if (FUpdateTable.isEmpty() || info.IsView() || FRowidName.isEmpty())
        return -1;
    const bool allOwn = std::all_of(FOrigins.begin(), FOrigins.end(), [this](const TOrigin& o) {
        return o.Table == FUpdateTable && !o.Column.isEmpty();
    });
    if (!allOwn)
        return -1;
    QString alias;
    const QStringList primaryKey = info.PrimaryKey();
    if (primaryKey.size() == 1) {
        const int column = info.FindColumn(primaryKey.front());
        if (column >= 0 && info.Columns()[size_t(column)].DeclaredType.compare(QLatin1String("INTEGER"),
                                                                               Qt::CaseInsensitive) == 0)
            alias = primaryKey.front();
    }
    for (size_t c = 0; c < FOrigins.size(); ++c)
        if (FOrigins[c].Column.compare(FRowidName, Qt::CaseInsensitive) == 0 ||
            (!alias.isEmpty() && FOrigins[c].Column.compare(alias, Qt::CaseInsensitive) == 0))
            return int(c);
    return -1;
}

// One run of the statement keeps the rowids of the whole result. The rows read so far stay (the
// grid holds their bookmarks); the rest are read by rowid when shown. Not while changes are
// logged or rows written by this query may show up again: the store then differs from the table.
bool TSQLiteQuery::EnsureKeyset()
{
    if (FKeyset.Built())
        return true;
    if (FKeysetTried || FRowidColumn < 0 || FAllFetched || !FChanges.empty() || !FWrittenKeys.isEmpty())
        return false;
    TSQLiteResultKeyset keyset;
    bool read = false;
    Database()->RunCancellable(
        [&] {
            TSQLiteStatement statement(Db(), SourceSql());
            BindSource(statement);
            read = keyset.Read(statement, FRowidColumn);
        },
        QStringLiteral("Reading the rows of '%1' was cancelled").arg(objectName()));
    FKeysetTried = true;
    if (!read)
        return false;
    std::swap(FKeyset, keyset);
    if (!KeysetMatchesFetchedRows()) {
        FKeyset.Clear();
        return false;
    }
    const size_t fetched = FOrder.size();
    FOrder.resize(size_t(FKeyset.Count()));
    for (size_t p = fetched; p < FOrder.size(); ++p)
        FOrder[p] = NotLoaded | quint32(p);
    FAllFetched = true;
    FStatement.reset();
    FKeysetAligned = true;
    OrderChanged();
    return true;
}

// A second run may order rows that tie differently; positions are only the keyset's when the
// rows already read come first in it, in the same order.
bool TSQLiteQuery::KeysetMatchesFetchedRows() const
{
    if (FKeyset.Count() < int(FOrder.size()))
        return false;
    for (size_t p = 0; p < FOrder.size(); ++p)
        if (FStore.Value(FOrder[p], FRowidColumn).AsInt64() != FKeyset.At(int(p)))
            return false;
    return true;
}

quint32 TSQLiteQuery::IdAt(int position)
{
    quint32& entry = FOrder[size_t(position)];
    if (!(entry & NotLoaded))
        return entry;
    const quint32 id = FStore.Append(ReadKeysetRow(FKeyset.At(int(entry & ~NotLoaded))));
    entry = id;
    if (FPositionsValid) {
        FPositionOf.resize(FStore.Count(), -1);
        FPositionOf[id] = qint32(position);
    }
    return id;
}

TSQLiteQuery::TRow TSQLiteQuery::ReadKeysetRow(qint64 rowid)
{
    if (!FRowReader) {
        QStringList columns;
        for (const TOrigin& o : FOrigins)
            columns << TSQLiteDatabase::QuoteIdentifier(o.Column);
        FRowReader = std::make_unique<TSQLiteStatement>(
            Db(), QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                      .arg(columns.join(QLatin1String(", ")), TSQLiteDatabase::QuoteIdentifier(FUpdateTable),
                           FRowidName));
    }
    FRowReader->Reset();
    FRowReader->Bind(1, TVariant(rowid));
    if (!FRowReader->Step())
        throw EDatabaseError(QStringLiteral("Record not found"));
    TRow row;
    row.reserve(FOrigins.size());
    for (int c = 0; c < int(FOrigins.size()); ++c)
        row.push_back(FRowReader->Column(c));
    FRowReader->Reset();
    return row;
}

// Compares stored values as SQLite's "=" does for them (numbers by value, text and blobs by bytes).
int TSQLiteQuery::FindInStore(int column, const TVariant& value)
{
    for (int position = 0; EnsureRow(position); ++position) {
        const TVariant stored = FStore.Value(IdAt(position), column);
        if (TSQLiteKeyOrder::CompareStored(stored, value, false) == 0)
            return position;
    }
    return -1;
}

// A run of the statement, reading the one column: the position of the first match is its row
// number, unless an edit has moved rows since the keyset was read (then -2).
int TSQLiteQuery::FindInStatement(int column, const TVariant& value) const
{
    TSQLiteStatement statement(Db(), SourceSql());
    BindSource(statement);
    for (int position = 0; statement.Step(); ++position) {
        if (position >= FKeyset.Count() || statement.ColumnInt64(FRowidColumn) != FKeyset.At(position))
            return -2;
        if (TSQLiteKeyOrder::CompareStored(statement.Column(column), value, false) == 0)
            return position;
    }
    return -1;
}

bool TSQLiteQuery::Locate(const QString& keyFields, const TVariant& keyValues, TLocateOptions options)
{
    CheckActive();
    SyncSource();
    TField* field = FindField(keyFields.trimmed());
    const int column = FieldColumn(field);
    if (!SourceIsExact() || !options.IsEmpty() || column < 0 || keyValues.IsArray())
        return TSQLiteDataSet::Locate(keyFields, keyValues, options);
    CheckBrowseMode();
    const TVariant value = StorageValue(column, field->CanonicalValue(keyValues));
    int position = -2;
    // The database answers for the rows as they are stored; a change log it has not seen, or an
    // edit of the key itself, leaves the answer to the rows in memory.
    if (EnsureKeyset() && FKeysetAligned && FChanges.empty()) {
        if (column == FRowidColumn && value.VarType() == varInt64) {
            position = FKeyset.IndexOf(value.AsInt64());
            if (position >= 0 &&
                TSQLiteKeyOrder::CompareStored(FStore.Value(IdAt(position), column), value, false) != 0)
                position = -2;
        } else
            position = FindInStatement(column, value);
    }
    if (position == -2)
        position = FindInStore(column, value);
    if (position < 0)
        return false;
    MoveToPosition(position);
    return true;
}

void TSQLiteQuery::MoveToPosition(int position)
{
    DoBeforeScroll();
    FCursor = position;
    Resync({rmExact, rmCenter});
    DoAfterScroll();
}

// --- Positions and bookmarks ---------------------------------------------------------------

QByteArray TSQLiteQuery::BookmarkOf(quint32 id)
{
    QByteArray bytes(5, 'Q');
    for (int i = 0; i < 4; ++i)
        bytes[i + 1] = char((id >> (8 * i)) & 0xff);
    return bytes;
}

bool TSQLiteQuery::DecodeBookmark(const QByteArray& bookmark, quint32& id)
{
    if (bookmark.size() != 5 || bookmark[0] != 'Q')
        return false;
    id = 0;
    for (int i = 0; i < 4; ++i)
        id |= quint32(quint8(bookmark[i + 1])) << (8 * i);
    return true;
}

// Rows keep their store numbers for life, so positions come from one index rebuilt after edits.
int TSQLiteQuery::PositionOf(quint32 id) const
{
    if (id >= FStore.Count())
        return -1;
    if (!FPositionsValid) {
        FPositionOf.assign(FStore.Count(), -1);
        for (size_t p = 0; p < FOrder.size(); ++p)
            if (!(FOrder[p] & NotLoaded))
                FPositionOf[FOrder[p]] = qint32(p);
        FPositionsValid = true;
    }
    return id < FPositionOf.size() ? FPositionOf[id] : -1;
}

bool TSQLiteQuery::BookmarkValid(const QByteArray& bookmark) const
{
    quint32 id = 0;
    return Active() && DecodeBookmark(bookmark, id) && PositionOf(id) >= 0;
}

int TSQLiteQuery::CompareBookmarks(const QByteArray& first, const QByteArray& second) const
{
    quint32 a = 0, b = 0;
    const int pa = DecodeBookmark(first, a) ? PositionOf(a) : -1;
    const int pb = DecodeBookmark(second, b) ? PositionOf(b) : -1;
    return (pa > pb) - (pa < pb);
}

bool TSQLiteQuery::IsSequenced() const
{
    return Active() && SourceIsExact() && (FAllFetched || FSqlCount >= 0);
}

int TSQLiteQuery::GetRecordCount() const
{
    const_cast<TSQLiteQuery*>(this)->SyncSource();
    if (!SourceIsExact())
        return TSQLiteDataSet::GetRecordCount();
    if (FAllFetched)
        return int(FOrder.size());
    if (FSqlCount < 0) {
        TSQLiteStatement count(Db(), QStringLiteral("SELECT count(*) FROM (\n%1\n)").arg(SourceSql()));
        BindSource(count);
        count.Step();
        FSqlCount = int(count.ColumnInt64(0));
        // The log's rows are not in the database yet (or still are, when deleted).
        FCountDelta = 0;
        for (const auto& [id, change] : FChanges)
            FCountDelta += change.Status == usInserted ? 1 : change.Status == usDeleted ? -1 : 0;
    }
    return FSqlCount + FCountDelta;
}

int TSQLiteQuery::GetRecNo() const
{
    if (!Active() || IsEmpty() || State() == dsInsert)
        return -1;
    if (!SourceIsExact())
        return TSQLiteDataSet::GetRecNo();
    const int position = PositionOf(quint32(ActiveBuffer().RecordId));
    return position < 0 ? -1 : position + 1;
}

void TSQLiteQuery::SetRecNo(int recNo)
{
    CheckActive();
    SyncSource();
    if (!SourceIsExact()) {
        TSQLiteDataSet::SetRecNo(recNo);
        return;
    }
    if (recNo < 1 || recNo == GetRecNo())
        return;
    CheckBrowseMode();
    if (recNo > int(FOrder.size()))
        EnsureKeyset();
    if (!EnsureRow(recNo - 1))
        return;
    DoBeforeScroll();
    FCursor = recNo - 1;
    Resync({rmExact, rmCenter});
    DoAfterScroll();
}

// --- Generated statements -----------------------------------------------------------------

QString TSQLiteQuery::ParamName(int column) const
{
    return ParamSafe(Columns()[size_t(column)].Name);
}

int TSQLiteQuery::ColumnOfParam(const QString& name) const
{
    for (int c = 0; c < int(Columns().size()); ++c)
        if (ParamName(c).compare(name, Qt::CaseInsensitive) == 0)
            return c;
    throw EDatabaseError(QStringLiteral("Parameter '%1' names no field of the query").arg(name));
}

QString TSQLiteQuery::ModifySQL() const
{
    if (!FModifySQL.isEmpty() || FUpdateTable.isEmpty())
        return FModifySQL;
    QStringList sets;
    for (int c = 0; c < int(FOrigins.size()); ++c)
        if (!Columns()[size_t(c)].ReadOnly &&
            FOrigins[size_t(c)].Column.compare(FRowidName, Qt::CaseInsensitive) != 0)
            sets << TSQLiteDatabase::QuoteIdentifier(FOrigins[size_t(c)].Column) + QLatin1String(" = :") +
                        ParamName(c);
    const QString where = DeleteSQL().section(QLatin1String(" WHERE "), 1);
    if (sets.isEmpty() || where.isEmpty())
        return QString();
    return QStringLiteral("UPDATE %1 SET %2 WHERE %3")
        .arg(TSQLiteDatabase::QuoteIdentifier(FUpdateTable), sets.join(QLatin1String(", ")), where);
}

QString TSQLiteQuery::InsertSQL() const
{
    if (!FInsertSQL.isEmpty() || FUpdateTable.isEmpty())
        return FInsertSQL;
    QStringList names, markers;
    for (int c = 0; c < int(FOrigins.size()); ++c)
        if (!Columns()[size_t(c)].ReadOnly &&
            FOrigins[size_t(c)].Column.compare(FRowidName, Qt::CaseInsensitive) != 0) {
            names << TSQLiteDatabase::QuoteIdentifier(FOrigins[size_t(c)].Column);
            markers << QLatin1Char(':') + ParamName(c);
        }
    if (names.isEmpty())
        return QStringLiteral("INSERT INTO %1 DEFAULT VALUES")
            .arg(TSQLiteDatabase::QuoteIdentifier(FUpdateTable));
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(TSQLiteDatabase::QuoteIdentifier(FUpdateTable), names.join(QLatin1String(", ")),
             markers.join(QLatin1String(", ")));
}

QString TSQLiteQuery::DeleteSQL() const
{
    if (!FDeleteSQL.isEmpty() || FUpdateTable.isEmpty())
        return FDeleteSQL;
    QString where = FUpdateWhere;
    if (where.isEmpty()) {
        QStringList terms;
        for (int c : FKeyColumns)
            terms << TSQLiteDatabase::QuoteIdentifier(FOrigins[size_t(c)].Column) + QLatin1String(" = :") +
                         OldPrefix + ParamName(c);
        where = terms.join(QLatin1String(" AND "));
    }
    if (where.isEmpty())
        return QString();
    return QStringLiteral("DELETE FROM %1 WHERE %2")
        .arg(TSQLiteDatabase::QuoteIdentifier(FUpdateTable), where);
}

bool TSQLiteQuery::GetCanModify() const
{
    if (!Database() || Database()->ReadOnly() || !FCursorOpen)
        return false;
    if (FCachedUpdates || FUpdateTable.isEmpty())
        return !ModifySQL().isEmpty() && !DeleteSQL().isEmpty() && !InsertSQL().isEmpty();
    return !ModifySQL().isEmpty() && !DeleteSQL().isEmpty();
}

// --- Writing --------------------------------------------------------------------------------

TSQLiteQuery::TRow TSQLiteQuery::StoredValues(const TRecordBuffer& buffer) const
{
    TRow values;
    for (size_t c = 0; c < Columns().size(); ++c)
        values.push_back(c < buffer.Values.size() ? StorageValue(int(c), buffer.Values[c])
                                                  : TVariant::Null());
    return values;
}

int TSQLiteQuery::ExecWrite(const QString& sql, const TRow& oldValues, const TRow& newValues)
{
    TSQLiteStatement statement(Db(), sql);
    for (int i = 1; i <= statement.ParameterCount(); ++i) {
        QString name = Utf8(sqlite3_bind_parameter_name(statement.Handle(), i)).mid(1);
        const TRow* source = &newValues;
        if (name.startsWith(OldPrefix, Qt::CaseInsensitive)) {
            source = &oldValues;
            name = name.mid(OldPrefix.size());
        } else if (name.startsWith(NewPrefix, Qt::CaseInsensitive))
            name = name.mid(NewPrefix.size());
        statement.Bind(i, source->at(size_t(ColumnOfParam(name))));
    }
    while (statement.Step()) {
    }
    return sqlite3_changes(Db());
}

void TSQLiteQuery::WriteUpdate(const TRow& oldValues, const TRow& newValues)
{
    if (ExecWrite(ModifySQL(), oldValues, newValues) == 0)
        throw EDatabaseError(QStringLiteral("Record not found or changed by another user"));
}

void TSQLiteQuery::WriteDelete(const TRow& oldValues)
{
    if (ExecWrite(DeleteSQL(), oldValues, oldValues) == 0)
        throw EDatabaseError(QStringLiteral("Record not found or changed by another user"));
}

// The generated insert leaves out the columns never assigned so that their defaults apply; a
// column set to Null is written as NULL.
void TSQLiteQuery::WriteInsert(quint32 id, const std::vector<bool>& assigned)
{
    const TRow values = FStore.Values(id);
    if (!FInsertSQL.isEmpty()) {
        ExecWrite(FInsertSQL, values, values);
        return;
    }
    QStringList names, markers;
    std::vector<TVariant> params;
    for (size_t c = 0; c < FOrigins.size(); ++c) {
        if (Columns()[c].ReadOnly || c >= assigned.size() || !assigned[c])
            continue;
        names << TSQLiteDatabase::QuoteIdentifier(FOrigins[c].Column);
        markers << QStringLiteral("?");
        params.push_back(values[c]);
    }
    const QString table = TSQLiteDatabase::QuoteIdentifier(FUpdateTable);
    Database()->ExecSQL(
        names.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)
                        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                              .arg(table, names.join(QLatin1String(", ")), markers.join(QLatin1String(", "))),
        params);
}

// Defaults, triggers and the new rowid are only known to the database: read the row back.
std::optional<TSQLiteQuery::TRow> TSQLiteQuery::ReadBack(qint64 rowid, const TRow& current) const
{
    if (FRowidName.isEmpty() || FUpdateTable.isEmpty())
        return std::nullopt;
    QStringList columns;
    std::vector<size_t> targets;
    for (size_t c = 0; c < FOrigins.size(); ++c)
        if (FOrigins[c].Table == FUpdateTable && !FOrigins[c].Column.isEmpty()) {
            columns << TSQLiteDatabase::QuoteIdentifier(FOrigins[c].Column);
            targets.push_back(c);
        }
    if (columns.isEmpty())
        return std::nullopt;
    TSQLiteStatement statement(Db(), QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                                         .arg(columns.join(QLatin1String(", ")),
                                              TSQLiteDatabase::QuoteIdentifier(FUpdateTable), FRowidName));
    statement.Bind(1, TVariant(rowid));
    if (!statement.Step())
        return std::nullopt;
    TRow row = current;
    for (size_t i = 0; i < targets.size(); ++i)
        row[targets[i]] = statement.Column(int(i));
    return row;
}

void TSQLiteQuery::RememberWritten(const TRow& stored)
{
    if (!FAllFetched && !FKeyColumns.empty())
        FWrittenKeys.insert(KeyOfRow(stored));
}

void TSQLiteQuery::InsertIntoOrder(quint32 id, const TRecordBuffer& buffer)
{
    quint32 before = 0;
    int position = int(FOrder.size());
    if (buffer.BookmarkFlag != bfEOF && DecodeBookmark(buffer.Bookmark, before) && PositionOf(before) >= 0)
        position = PositionOf(before);
    FOrder.insert(FOrder.begin() + position, id);
    OrderChanged();
    FKeysetAligned = false;
    FCursor = position;
    ++FCountDelta;
}

void TSQLiteQuery::LogChange(quint32 id, TUpdateStatus status, const TRow& original)
{
    auto it = FChanges.find(id);
    if (it == FChanges.end()) {
        FChanges[id] = TChange{status, ++FChangeSequence, original, -1, {}};
        return;
    }
    // An inserted row stays an insert; a modified one keeps the values it was read with.
    if (status == usDeleted)
        it->second.Status = usDeleted;
}

void TSQLiteQuery::InternalPost()
{
    TRecordBuffer& buffer = ActiveBuffer();
    TRow values = StoredValues(buffer);
    if (State() == dsEdit) {
        const quint32 id = quint32(buffer.RecordId);
        const TRow original = FStore.Values(id);
        if (!FCachedUpdates) {
            WriteUpdate(original, values);
            RememberWritten(original);
            RememberWritten(values);
        } else
            LogEdit(id, original);
        FStore.Replace(id, values);
        FCursor = PositionOf(id);
        return;
    }
    // An appended record goes after every row of the result, so read them all first.
    if (buffer.BookmarkFlag == bfEOF)
        FetchAll();
    if (!FCachedUpdates) {
        Database()->ExecSQL(QStringLiteral("SAVEPOINT orvo_post"));
        const auto rollBack = OnUnwind(
            [this] { Database()->ExecSQL(QStringLiteral("ROLLBACK TO orvo_post; RELEASE orvo_post")); });
        const quint32 scratch = FStore.Append(values);
        WriteInsert(scratch, AssignedColumns());
        if (const std::optional<TRow> row = ReadBack(sqlite3_last_insert_rowid(Db()), values))
            values = *row;
        Database()->ExecSQL(QStringLiteral("RELEASE orvo_post"));
    }
    const quint32 id = FStore.Count() - (FCachedUpdates ? 0 : 1);
    if (FCachedUpdates)
        FStore.Append(values);
    else
        FStore.Replace(id, values);
    if (FCachedUpdates) {
        LogChange(id, usInserted, {});
        FChanges[id].Assigned = AssignedColumns();
    } else
        RememberWritten(values);
    InsertIntoOrder(id, buffer);
}

void TSQLiteQuery::InternalDelete()
{
    const quint32 id = quint32(ActiveBuffer().RecordId);
    const int position = PositionOf(id);
    if (position < 0)
        throw EDatabaseError(QStringLiteral("Record not found"));
    // The successor may not be read yet (only a grid reads ahead): read it now, so that it is the
    // row that takes the deleted one's place, and CancelUpdates can put the row back before it.
    EnsureRow(position + 1);
    if (!FCachedUpdates)
        WriteDelete(FStore.Values(id));
    else if (auto it = FChanges.find(id); it != FChanges.end() && it->second.Status == usInserted)
        ForgetInserted(id);
    else {
        LogChange(id, usDeleted, FStore.Values(id));
        auto& change = FChanges[id];
        if (change.Original.empty())
            change.Original = FStore.Values(id);
        change.Successor = position + 1 < int(FOrder.size()) ? qint64(IdAt(position + 1)) : -1;
    }
    FOrder.erase(FOrder.begin() + position);
    OrderChanged();
    FKeysetAligned = false;
    --FCountDelta;
    FCursor = position;
}

// An edit of a row inserted within the log adds the fields it assigned to those the insert writes.
void TSQLiteQuery::LogEdit(quint32 id, const TRow& original)
{
    LogChange(id, usModified, original);
    TChange& change = FChanges[id];
    if (change.Status != usInserted)
        return;
    const std::vector<bool>& edited = AssignedColumns();
    change.Assigned.resize(std::max(change.Assigned.size(), edited.size()), false);
    for (size_t c = 0; c < edited.size(); ++c)
        change.Assigned[c] = change.Assigned[c] || edited[c];
}

// A row inserted and deleted within the log never reaches the database.
void TSQLiteQuery::ForgetInserted(quint32 id)
{
    const int position = PositionOf(id);
    const qint64 successor =
        position >= 0 && position + 1 < int(FOrder.size()) ? qint64(IdAt(position + 1)) : -1;
    for (auto& [other, change] : FChanges)
        if (change.Successor == qint64(id))
            change.Successor = successor;
    FChanges.erase(id);
}

TUpdateStatus TSQLiteQuery::UpdateStatus() const
{
    if (State() == dsInsert)
        return usInserted;
    if (!Active() || IsEmpty())
        return usUnmodified;
    const auto it = FChanges.find(quint32(ActiveBuffer().RecordId));
    return it == FChanges.end() ? usUnmodified : it->second.Status;
}

void TSQLiteQuery::ApplyUpdates()
{
    CheckActive();
    CheckBrowseMode();
    if (FChanges.empty())
        return;
    std::vector<std::pair<quint32, const TChange*>> ordered;
    for (const auto& [id, change] : FChanges)
        ordered.emplace_back(id, &change);
    std::sort(ordered.begin(), ordered.end(),
              [](const auto& a, const auto& b) { return a.second->Sequence < b.second->Sequence; });
    std::vector<std::pair<quint32, TRow>> readBacks;
    Database()->ExecSQL(QStringLiteral("SAVEPOINT orvo_apply"));
    {
        const auto rollBack = OnUnwind(
            [this] { Database()->ExecSQL(QStringLiteral("ROLLBACK TO orvo_apply; RELEASE orvo_apply")); });
        for (const auto& [id, change] : ordered) {
            if (change->Status == usInserted) {
                WriteInsert(id, change->Assigned);
                if (std::optional<TRow> row = ReadBack(sqlite3_last_insert_rowid(Db()), FStore.Values(id)))
                    readBacks.emplace_back(id, std::move(*row));
            } else if (change->Status == usModified)
                WriteUpdate(change->Original, FStore.Values(id));
            else
                WriteDelete(change->Original);
        }
        Database()->ExecSQL(QStringLiteral("RELEASE orvo_apply"));
    }
    for (const auto& [id, row] : readBacks)
        FStore.Replace(id, row);
    for (const auto& [id, change] : FChanges)
        if (change.Status != usDeleted) {
            RememberWritten(FStore.Values(id));
            if (!change.Original.empty())
                RememberWritten(change.Original);
        }
    FChanges.clear();
    // A window of several records leaves the cursor on the last record it read; the resync
    // starts from the cursor, so it goes back to the current record first.
    UpdateCursorPos();
    Resync({});
}

void TSQLiteQuery::CancelUpdates()
{
    CheckActive();
    Cancel();
    if (FChanges.empty())
        return;
    std::vector<std::pair<quint32, TChange>> ordered(FChanges.begin(), FChanges.end());
    std::sort(ordered.begin(), ordered.end(),
              [](const auto& a, const auto& b) { return a.second.Sequence > b.second.Sequence; });
    for (const auto& [id, change] : ordered) {
        if (change.Status == usInserted) {
            std::erase(FOrder, id);
            --FCountDelta;
            continue;
        }
        FStore.Replace(id, change.Original);
        if (change.Status == usDeleted) {
            auto at = std::find(FOrder.begin(), FOrder.end(), quint32(change.Successor));
            FOrder.insert(change.Successor < 0 ? FOrder.end() : at, id);
            ++FCountDelta;
        }
    }
    OrderChanged();
    FKeysetAligned = false;
    FChanges.clear();
    FCursor = std::clamp(FCursor, -1, int(FOrder.size()));
    First();
}

} // namespace orvo
