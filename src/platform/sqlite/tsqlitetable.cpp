#include "platform/sqlite/tsqlitetable.h"

#include "platform/core/texceptionhandler.h"
#include "platform/core/tscopecleanup.h"
#include "platform/data/tdatalink.h"
#include "platform/data/tdatasource.h"
#include "platform/data/tfield.h"
#include "platform/data/tfields.h"
#include "platform/data/tfilternode.h"
#include "platform/sqlite/tsqlitefunctions.h"
#include "platform/sqlite/tsqliterowstore.h"
#include "platform/sqlite/tsqlitestatement.h"
#include "platform/sqlite/tsqlitetypes.h"

#include <sqlite3.h>

#include <algorithm>

namespace orvo {

namespace {

constexpr int WindowPages = 4;

QStringList SplitNames(const QString& names)
{
    QStringList list;
    for (const QString& n : names.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (!n.trimmed().isEmpty())
            list << n.trimmed();
    return list;
}

QString JoinConditions(const QString& a, const QString& b)
{
    if (a.isEmpty())
        return b;
    if (b.isEmpty())
        return a;
    return QLatin1Char('(') + a + QLatin1String(") AND (") + b + QLatin1Char(')');
}

TVariant ValueAt(const TVariant& values, int index, int count)
{
    if (count == 1 && !values.IsArray())
        return values;
    if (!values.IsArray() || index > values.ArrayHighBound())
        throw EDatabaseError(QStringLiteral("%1 key value(s) expected").arg(count));
    return values[index];
}

} // namespace

/// Follows the master dataset: any move or change there may select other detail rows.
class TSQLiteTable::TMasterLink : public TDataLink
{
public:
    explicit TMasterLink(TSQLiteTable* table) : FTable(table) {}

protected:
    void ActiveChanged() override { Follow(); }
    void DataSetChanged() override { Follow(); }
    void DataSetScrolled(int) override { Follow(); }
    void RecordChanged(TField*) override { Follow(); }

private:
    // The master's operation must not fail because a detail could not follow.
    void Follow()
    {
        TExceptionHandler::Guard([this] { FTable->MasterChanged(); });
    }

    TSQLiteTable* FTable;
};

TSQLiteTable::TSQLiteTable(QObject* owner)
    : TSQLiteDataSet(owner), FMasterLink(std::make_unique<TMasterLink>(this))
{}

TSQLiteTable::~TSQLiteTable()
{
    try {
        Close();
    } catch (...) {
        // Closing only releases memory here; nothing can be reported from a destructor.
    }
    FMasterLink.reset();
}

// --- Properties ---------------------------------------------------------------------------

void TSQLiteTable::SetTableName(const QString& name)
{
    if (name == FTableName)
        return;
    CheckInactive();
    FTableName = name;
}

void TSQLiteTable::SetIndexFieldNames(const QString& names)
{
    if (names == FIndexFieldNames)
        return;
    if (!Active()) {
        FIndexFieldNames = names;
        return;
    }
    std::vector<int> columns;
    const TSQLiteKeyOrder order = BuildOrder(names, columns);
    CheckBrowseMode();
    SyncSource();
    // Sorting comes before anything changes, so that a cancelled or failed sort leaves the
    // old order and the current record in place. A detail's rows depend on the new order's
    // leading fields, so it sorts after the rebuild (its rows are few).
    const bool sortNow = !IsLinked() && OrderNeedsSort(order);
    TSQLiteSortedRowids sorted = sortNow ? SortRowids(order) : TSQLiteSortedRowids();
    const bool hadRecord = !IsEmpty();
    const qint64 rowid = hadRecord ? ActiveBuffer().RecordId : -1;
    FIndexFieldNames = names;
    FOrder = order;
    FOrderColumns = std::move(columns);
    RebuildSource();
    if (sortNow)
        FSorted = std::move(sorted);
    if (hadRecord) {
        LoadAround(rowid, false);
        // Without rmCenter the record keeps its row on the screen, as far as the rows before allow.
        Resync({rmExact});
    } else
        First();
}

void TSQLiteTable::SetMasterFields(const QString& names)
{
    if (names == FMasterFields)
        return;
    FMasterFields = names;
    if (Active()) {
        RebuildSource();
        First();
    }
}

TDataSource* TSQLiteTable::MasterSource() const
{
    return FMasterLink->DataSource();
}

void TSQLiteTable::SetMasterSource(TDataSource* source)
{
    if (source == MasterSource())
        return;
    if (source && source->DataSet() == this)
        throw EDatabaseError(QStringLiteral("Circular datalinks are not allowed"));
    FMasterLink->SetDataSource(source);
    if (Active()) {
        RebuildSource();
        First();
    }
}

void TSQLiteTable::SetPageSize(int rows)
{
    FPageSize = std::max(2, rows);
}

// --- Source ---------------------------------------------------------------------------------

void TSQLiteTable::InternalOpen()
{
    ReadSchema();
    FOrder = BuildOrder(FIndexFieldNames, FOrderColumns);
    RebuildSource();
    FCursorOpen = true;
}

void TSQLiteTable::ReadSchema()
{
    FInfo = TSQLiteTableInfo::Read(Db(), FTableName);
    if (!FInfo.HasRowid())
        throw EDatabaseError(
            QStringLiteral("Table '%1' has no rowid and cannot be browsed").arg(FInfo.Name()));
    const QStringList pk = FInfo.PrimaryKey();
    std::vector<TColumn> columns;
    QStringList select;
    for (const TSQLiteTableInfo::Column& c : FInfo.Columns()) {
        const bool rowidAlias = pk.size() == 1 && pk.front() == c.Name &&
                                c.DeclaredType.compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0;
        TSQLiteTypes::TypeInfo type = TSQLiteTypes::FromDeclaredType(c.DeclaredType, c.AutoIncrement);
        if (type.DataType == ftUnknown)
            type = {ftString, 0, 0};
        TColumn column;
        column.Name = c.Name;
        column.DataType = type.DataType;
        column.Size = type.Size;
        column.Precision = type.Precision;
        column.Required = c.NotNull && !c.HasDefault && !rowidAlias;
        columns.push_back(column);
        select << TSQLiteDatabase::QuoteIdentifier(c.Name);
    }
    select << FInfo.RowidName();
    SetColumns(std::move(columns));
    FTableSql = TSQLiteDatabase::QuoteIdentifier(FInfo.Name());
    FSelectList = select.join(QLatin1String(", "));
}

TSQLiteKeyOrder TSQLiteTable::BuildOrder(const QString& indexFieldNames, std::vector<int>& orderColumns) const
{
    std::vector<TSQLiteKeyOrder::Part> parts;
    std::vector<int> columns;
    for (const QString& entry : SplitNames(indexFieldNames)) {
        QString name = entry;
        bool descending = false;
        const qsizetype space = entry.lastIndexOf(QLatin1Char(' '));
        if (FInfo.FindColumn(entry) < 0 && space > 0) {
            const QString direction = entry.mid(space + 1).toUpper();
            if (direction == QLatin1String("DESC") || direction == QLatin1String("ASC")) {
                descending = direction == QLatin1String("DESC");
                name = entry.left(space).trimmed();
            }
        }
        const int column = FInfo.ColumnIndex(name);
        const TSQLiteTableInfo::Column& c = FInfo.Columns()[size_t(column)];
        parts.push_back(
            {TSQLiteDatabase::QuoteIdentifier(c.Name), descending, c.Collation == QLatin1String("NOCASE")});
        columns.push_back(column);
    }
    orderColumns = std::move(columns);
    return TSQLiteKeyOrder(std::move(parts), FInfo.RowidName());
}

// The classic rule: the leading fields of the index order are the detail fields.
QStringList TSQLiteTable::DetailFieldNames() const
{
    const qsizetype count = SplitNames(FMasterFields).size();
    if (qsizetype(FOrderColumns.size()) < count)
        DatabaseError(
            QStringLiteral("IndexFieldNames must begin with a field for each of the MasterFields '%1'")
                .arg(FMasterFields));
    QStringList details;
    for (qsizetype i = 0; i < count; ++i)
        details << FInfo.Columns()[size_t(FOrderColumns[size_t(i)])].Name;
    return details;
}

std::vector<TVariant> TSQLiteTable::MasterValues() const
{
    TDataSet* master = FMasterLink->DataSet();
    const QStringList masters = SplitNames(FMasterFields);
    std::vector<TVariant> values;
    if (!master || !master->Active() || master->IsEmpty() || masters.isEmpty())
        return values;
    for (const QString& name : masters)
        values.push_back(master->FieldByName(name)->AsVariant());
    return values;
}

bool TSQLiteTable::FilterHandledBySource() const
{
    // The base asks before it filters; the SQL must already reflect the current filter.
    const_cast<TSQLiteTable*>(this)->SyncSource();
    return TSQLiteDataSet::FilterHandledBySource();
}

void TSQLiteTable::RebuildSource()
{
    QString where;
    std::vector<TVariant> params;
    if (IsLinked()) {
        const QStringList details = DetailFieldNames();
        FMasterValues = MasterValues();
        if (FMasterValues.empty() || std::any_of(FMasterValues.begin(), FMasterValues.end(),
                                                 [](const TVariant& v) { return v.IsClear(); }))
            where = QStringLiteral("0");
        else {
            QStringList terms;
            for (qsizetype i = 0; i < details.size(); ++i) {
                const int column = FInfo.ColumnIndex(details[i]);
                terms << TSQLiteDatabase::QuoteIdentifier(FInfo.Columns()[size_t(column)].Name) +
                             QLatin1String(" = ?");
                params.push_back(StorageValue(column, FMasterValues[size_t(i)]));
            }
            where = terms.join(QLatin1String(" AND "));
        }
    }
    const auto columnSql = [this](int column) {
        return TSQLiteDatabase::QuoteIdentifier(FInfo.Columns().at(size_t(column)).Name);
    };
    // A view's columns carry the collation of what they select, which the schema does not tell.
    const auto schema = [this](int column) {
        const TSQLiteTableInfo::Column& info = FInfo.Columns().at(size_t(column));
        TColumnSchema known;
        known.TextComparesBare = TSQLiteFunctions::TextComparesBare(info.DeclaredType, info.Collation);
        known.Strict = FInfo.IsStrict();
        return known;
    };
    const TFilterSql filter =
        TranslateFilter(columnSql, FInfo.IsView() ? nullptr : std::function<TColumnSchema(int)>(schema));
    SetFilterInSql(filter);
    where = JoinConditions(where, filter.Where);
    params.insert(params.end(), filter.Params.begin(), filter.Params.end());
    FWhere = where;
    FWhereParams = std::move(params);
    FSourceSignature = FilterSignature();
    ResetWindow();
    FPositional = OrderNeedsSort(FOrder);
}

bool TSQLiteTable::IsLinked() const
{
    return MasterSource() && !SplitNames(FMasterFields).isEmpty();
}

// SQLite says in its plan whether an index delivers the order or it must sort the rows.
bool TSQLiteTable::OrderNeedsSort(const TSQLiteKeyOrder& order) const
{
    QString sql = QStringLiteral("EXPLAIN QUERY PLAN SELECT %1 FROM %2").arg(FInfo.RowidName(), FTableSql);
    if (!FWhere.isEmpty())
        sql += QLatin1String(" WHERE ") + FWhere;
    sql += QLatin1String(" ORDER BY ") + order.OrderBy(false);
    TSQLiteStatement statement(Db(), sql);
    statement.BindAll(FWhereParams);
    while (statement.Step()) {
        const QString detail = statement.Column(3).AsString();
        if (detail.contains(QLatin1String("TEMP B-TREE")) && detail.contains(QLatin1String("ORDER BY")))
            return true;
    }
    return false;
}

TSQLiteSortedRowids TSQLiteTable::SortRowids(const TSQLiteKeyOrder& order) const
{
    TSQLiteSortedRowids sorted;
    QString sql = QStringLiteral("SELECT %1 FROM %2").arg(FInfo.RowidName(), FTableSql);
    if (!FWhere.isEmpty())
        sql += QLatin1String(" WHERE ") + FWhere;
    sql += QLatin1String(" ORDER BY ") + order.OrderBy(false);
    Database()->RunCancellable(
        [&] {
            TSQLiteStatement statement(Db(), sql);
            statement.BindAll(FWhereParams);
            sorted.Read(statement);
        },
        QStringLiteral("Sorting '%1' was cancelled").arg(FInfo.Name()));
    return sorted;
}

void TSQLiteTable::EnsureSorted() const
{
    if (FPositional && !FSorted.Built())
        FSorted = SortRowids(FOrder);
}

// A jump far from the window would cost an OFFSET walk over every row before it; the first one
// reads the order's rowids instead (one walk of its index), and the rest are lookups.
void TSQLiteTable::UsePositions() const
{
    if (!FPositional) {
        FPositional = true;
        EnsureSorted();
        const int front = FRows.empty() ? -1 : FSorted.IndexOf(RowidOf(FRows.front()));
        FFirstRecNo = front >= 0 ? front + 1 : -1;
    }
    EnsureSorted();
}

// Whether FOrder.Compare orders keys exactly as SQLite does, so that an edited row can be
// placed in the sorted rowids by comparing keys; other collations sort the rows again.
bool TSQLiteTable::OrderComparable() const
{
    return std::all_of(FOrderColumns.begin(), FOrderColumns.end(), [this](int column) {
        const QString collation = FInfo.Columns()[size_t(column)].Collation.toUpper();
        return collation.isEmpty() || collation == QLatin1String("BINARY") ||
               collation == QLatin1String("NOCASE");
    });
}

void TSQLiteTable::SyncSource()
{
    if (FCursorOpen && FilterSignature() != FSourceSignature)
        RebuildSource();
}

void TSQLiteTable::MasterChanged()
{
    if (!Active() || SplitNames(FMasterFields).isEmpty())
        return;
    const std::vector<TVariant> values = MasterValues();
    const bool same =
        values.size() == FMasterValues.size() &&
        std::equal(values.begin(), values.end(), FMasterValues.begin(),
                   [](const TVariant& a, const TVariant& b) { return TVariant::SameValue(a, b); });
    if (same)
        return;
    CheckBrowseMode();
    RebuildSource();
    First();
}

void TSQLiteTable::DoOnNewRecord()
{
    const std::vector<TVariant> values = MasterValues();
    if (!values.empty()) {
        const QStringList details = DetailFieldNames();
        for (qsizetype i = 0; i < details.size(); ++i)
            FieldByName(details[i])->SetAsVariant(values[size_t(i)]);
    }
    TSQLiteDataSet::DoOnNewRecord();
}

void TSQLiteTable::InternalClose()
{
    FCursorOpen = false;
    ResetWindow();
    SetColumns({});
    FWhereParams.clear();
    FMasterValues.clear();
}

// --- Fetching -------------------------------------------------------------------------------

std::vector<TSQLiteTable::TRow> TSQLiteTable::Select(const QString& condition,
                                                     const std::vector<TVariant>& params, bool reversed,
                                                     int limit, bool ordered) const
{
    const QString where = JoinConditions(FWhere, condition);
    QString sql = QStringLiteral("SELECT %1 FROM %2").arg(FSelectList, FTableSql);
    if (!where.isEmpty())
        sql += QLatin1String(" WHERE ") + where;
    if (ordered)
        sql += QLatin1String(" ORDER BY ") + FOrder.OrderBy(reversed);
    sql += QLatin1String(" LIMIT ?");
    TSQLiteStatement statement(Db(), sql);
    int index = 1;
    for (const TVariant& v : FWhereParams)
        statement.Bind(index++, v);
    for (const TVariant& v : params)
        statement.Bind(index++, v);
    statement.Bind(index, qint64(limit));
    std::vector<TRow> rows;
    const int columns = statement.ColumnCount();
    while (statement.Step()) {
        TRow row;
        row.reserve(size_t(columns));
        for (int c = 0; c < columns; ++c)
            row.push_back(statement.Column(c));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<TSQLiteTable::TRow> TSQLiteTable::FetchBeyond(const TRow& edge, bool after, int limit) const
{
    std::vector<TRow> rows;
    for (const TSQLiteKeyOrder::Segment& segment : FOrder.Beyond(KeyOf(edge), after)) {
        std::vector<TRow> more = Select(segment.Where, segment.Params, !after, limit - int(rows.size()));
        std::move(more.begin(), more.end(), std::back_inserter(rows));
        if (int(rows.size()) >= limit)
            break;
    }
    return rows;
}

std::optional<TSQLiteTable::TRow> TSQLiteTable::FetchRow(qint64 rowid, bool inSource) const
{
    const QString saved = FWhere;
    const std::vector<TVariant> savedParams = FWhereParams;
    if (!inSource) {
        FWhere.clear();
        FWhereParams.clear();
    }
    const auto restoreWhere = Finally([&] {
        FWhere = saved;
        FWhereParams = savedParams;
    });
    const std::vector<TRow> rows =
        Select(FInfo.RowidName() + QLatin1String(" = ?"), {TVariant(rowid)}, false, 1, false);
    if (rows.empty())
        return std::nullopt;
    return rows.front();
}

TSQLiteTable::TRow TSQLiteTable::KeyOf(const TRow& row) const
{
    TRow key;
    key.reserve(FOrderColumns.size() + 1);
    for (int column : FOrderColumns)
        key.push_back(row[size_t(column)]);
    key.push_back(row.back());
    return key;
}

// A bookmark: the rowid, then the order key values (the rowid again last).
QByteArray TSQLiteTable::BookmarkOf(const TRow& row) const
{
    QByteArray bytes;
    TSQLiteRowStore::EncodeValue(bytes, row.back());
    for (const TVariant& v : KeyOf(row))
        TSQLiteRowStore::EncodeValue(bytes, v);
    return bytes;
}

bool TSQLiteTable::DecodeBookmark(const QByteArray& bookmark, TRow& key) const
{
    TRow values;
    if (!TSQLiteRowStore::TryDecodeAll(bookmark, values) || int(values.size()) != FOrder.KeySize() + 1 ||
        values.front().VarType() != varInt64)
        return false;
    key.assign(values.begin() + 1, values.end());
    return true;
}

QString TSQLiteTable::RowSourceSql() const
{
    if (!Active())
        return {};
    FilterHandledBySource(); // brings the WHERE clause up to the current filter
    if (!SourceIsExact())
        return {};
    return QStringLiteral("SELECT * FROM ") + FTableSql +
           (FWhere.isEmpty() ? QString() : QLatin1String(" WHERE ") + FWhere);
}

void TSQLiteTable::BindRowSource(TSQLiteStatement& statement) const
{
    statement.BindAll(FWhereParams);
}

bool TSQLiteTable::RowSourceColumnHasAffinity(int column) const
{
    if (FInfo.IsView() || column < 0 || size_t(column) >= FInfo.Columns().size())
        return false;
    // SQLite's affinity rules: a type naming INT, CHAR, CLOB or TEXT has one before BLOB counts;
    // BLOB or no type has none; any other has REAL or NUMERIC affinity.
    const QString type = FInfo.Columns().at(size_t(column)).DeclaredType.toUpper();
    for (const char* word : {"INT", "CHAR", "CLOB", "TEXT"})
        if (type.contains(QLatin1String(word)))
            return true;
    return !type.contains(QLatin1String("BLOB")) && !type.trimmed().isEmpty();
}

std::optional<qint64> TSQLiteTable::BookmarkRowid(const QString& bookmark) const
{
    // A bookmark string is the dataset's eight-digit tag, then the bytes one per character.
    constexpr int TagLength = 8;
    const QStringView bytes = QStringView(bookmark).mid(TagLength);
    TRow key;
    if (bookmark.size() <= TagLength ||
        std::any_of(bytes.begin(), bytes.end(), [](QChar c) { return c.unicode() > 0xff; }) ||
        !DecodeBookmark(bytes.toLatin1(), key))
        return std::nullopt;
    return key.back().AsInt64();
}

QString TSQLiteTable::RowSourceSqlOfRowids() const
{
    const QString source = RowSourceSql();
    if (source.isEmpty())
        return {};
    const QString among = QStringLiteral("%1 IN (SELECT value FROM json_each(?))").arg(FInfo.RowidName());
    return QStringLiteral("SELECT * FROM ") + FTableSql + QLatin1String(" WHERE ") +
           JoinConditions(FWhere, among);
}

void TSQLiteTable::BindRowSourceOfRowids(TSQLiteStatement& statement, const QString& rowids) const
{
    std::vector<TVariant> params = FWhereParams;
    params.emplace_back(rowids);
    statement.BindAll(params);
}

int TSQLiteTable::CountWhere(const QString& condition, const std::vector<TVariant>& params) const
{
    const QString where = JoinConditions(FWhere, condition);
    QString sql = QStringLiteral("SELECT count(*) FROM ") + FTableSql;
    if (!where.isEmpty())
        sql += QLatin1String(" WHERE ") + where;
    TSQLiteStatement statement(Db(), sql);
    int index = 1;
    for (const TVariant& v : FWhereParams)
        statement.Bind(index++, v);
    for (const TVariant& v : params)
        statement.Bind(index++, v);
    statement.Step();
    return int(statement.ColumnInt64(0));
}

// --- The window -----------------------------------------------------------------------------

void TSQLiteTable::ResetWindow()
{
    FRows.clear();
    FCursor = -1;
    FAtStart = false;
    FAtEnd = false;
    FFirstRecNo = -1;
    FCount = -1;
    FSorted.Clear();
}

void TSQLiteTable::LoadFirstPage()
{
    if (FPositional) {
        LoadSortedFirstPage();
        return;
    }
    std::vector<TRow> rows = Select(QString(), {}, false, FPageSize);
    FRows.assign(std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    FAtStart = true;
    FAtEnd = int(FRows.size()) < FPageSize;
    FFirstRecNo = 1;
    FCursor = -1;
}

void TSQLiteTable::LoadLastPage()
{
    if (FPositional) {
        LoadSortedLastPage();
        return;
    }
    std::vector<TRow> rows = Select(QString(), {}, true, FPageSize);
    FRows.assign(std::make_move_iterator(rows.rbegin()), std::make_move_iterator(rows.rend()));
    FAtEnd = true;
    FAtStart = int(FRows.size()) < FPageSize;
    FFirstRecNo = FAtStart ? 1 : (FCount >= 0 ? FCount - int(FRows.size()) + 1 : -1);
    FCursor = int(FRows.size());
}

void TSQLiteTable::LoadAround(qint64 rowid, bool inSource)
{
    const std::optional<TRow> row = FetchRow(rowid, inSource);
    if (!row)
        throw EDatabaseError(QStringLiteral("Record not found"));
    FRows.assign(1, *row);
    FCursor = 0;
    FAtStart = false;
    FAtEnd = false;
    FFirstRecNo = -1;
    if (!FPositional)
        return;
    EnsureSorted();
    // A row outside the sorted ones (an edit took it out of the filter) is paged from by its key.
    const int position = FSorted.IndexOf(rowid);
    if (position >= 0) {
        FFirstRecNo = position + 1;
        UpdateEdges();
    }
}

bool TSQLiteTable::FetchForward()
{
    if (FAtEnd)
        return false;
    if (FRows.empty()) {
        LoadFirstPage();
        return !FRows.empty();
    }
    if (Positioned())
        return FetchSortedForward();
    std::vector<TRow> rows = FetchBeyond(FRows.back(), true, FPageSize);
    FAtEnd = int(rows.size()) < FPageSize;
    std::move(rows.begin(), rows.end(), std::back_inserter(FRows));
    TrimWindow(true);
    return !rows.empty();
}

bool TSQLiteTable::FetchBackward()
{
    if (FAtStart)
        return false;
    if (FRows.empty()) {
        LoadLastPage();
        return !FRows.empty();
    }
    if (Positioned())
        return FetchSortedBackward();
    std::vector<TRow> rows = FetchBeyond(FRows.front(), false, FPageSize);
    FAtStart = int(rows.size()) < FPageSize;
    for (TRow& row : rows)
        FRows.push_front(std::move(row));
    FCursor += int(rows.size());
    if (FFirstRecNo > 0)
        FFirstRecNo -= int(rows.size());
    if (FAtStart)
        FFirstRecNo = 1;
    TrimWindow(false);
    return !rows.empty();
}

// Drops rows from the end away from the cursor, never the cursor's own row.
void TSQLiteTable::TrimWindow(bool keepEnd)
{
    const int excess = int(FRows.size()) - FPageSize * WindowPages;
    if (excess <= 0)
        return;
    if (keepEnd) {
        const int drop = std::min(excess, std::max(0, FCursor));
        FRows.erase(FRows.begin(), FRows.begin() + drop);
        FCursor -= drop;
        if (FFirstRecNo > 0)
            FFirstRecNo += drop;
        FAtStart = FAtStart && drop == 0;
    } else {
        const int drop = std::min(excess, int(FRows.size()) - 1 - std::max(0, FCursor));
        if (drop <= 0)
            return;
        FRows.erase(FRows.end() - drop, FRows.end());
        FAtEnd = false;
    }
}

// --- Paging through the sorted rowids -------------------------------------------------------
// The window's first row stands at position FFirstRecNo - 1 of FSorted.

std::vector<TSQLiteTable::TRow> TSQLiteTable::RowsAt(int from, int count) const
{
    EnsureSorted();
    std::vector<TRow> rows;
    std::vector<int> gone;
    const int end = std::min(from + count, FSorted.Count());
    TSQLiteStatement statement(
        Db(),
        QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?").arg(FSelectList, FTableSql, FInfo.RowidName()));
    const int columns = statement.ColumnCount();
    for (int position = std::max(0, from); position < end; ++position) {
        statement.Reset();
        statement.Bind(1, TVariant(FSorted.At(position)));
        if (!statement.Step()) {
            gone.push_back(position);
            continue;
        }
        TRow row;
        row.reserve(size_t(columns));
        for (int c = 0; c < columns; ++c)
            row.push_back(statement.Column(c));
        rows.push_back(std::move(row));
    }
    // Rows deleted by another connection leave the order, so that positions stay those of the rows.
    for (auto position = gone.rbegin(); position != gone.rend(); ++position)
        FSorted.Erase(*position);
    if (!gone.empty())
        FCount = -1;
    return rows;
}

void TSQLiteTable::UpdateEdges()
{
    FAtStart = FFirstRecNo <= 1;
    FAtEnd = FFirstRecNo - 1 + int(FRows.size()) >= FSorted.Count();
}

void TSQLiteTable::LoadAt(int position)
{
    std::vector<TRow> rows = RowsAt(position, 1);
    FRows.assign(std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    FCursor = 0;
    FFirstRecNo = position + 1;
    UpdateEdges();
}

void TSQLiteTable::LoadSortedFirstPage()
{
    std::vector<TRow> rows = RowsAt(0, FPageSize);
    FRows.assign(std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    FFirstRecNo = 1;
    FCursor = -1;
    UpdateEdges();
}

void TSQLiteTable::LoadSortedLastPage()
{
    EnsureSorted();
    ShowLastSortedPage();
    UpdateEdges();
}

void TSQLiteTable::ShowLastSortedPage()
{
    const int from = std::max(0, FSorted.Count() - FPageSize);
    std::vector<TRow> rows = RowsAt(from, FPageSize);
    FRows.assign(std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    FFirstRecNo = from + 1;
    FCursor = int(FRows.size());
}

bool TSQLiteTable::FetchSortedForward()
{
    std::vector<TRow> rows = RowsAt(FFirstRecNo - 1 + int(FRows.size()), FPageSize);
    const bool fetched = !rows.empty();
    std::move(rows.begin(), rows.end(), std::back_inserter(FRows));
    TrimWindow(true);
    UpdateEdges();
    return fetched;
}

bool TSQLiteTable::FetchSortedBackward()
{
    const int to = FFirstRecNo - 1;
    const int from = std::max(0, to - FPageSize);
    std::vector<TRow> rows = RowsAt(from, to - from);
    const bool fetched = !rows.empty();
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        FRows.push_front(std::move(*row));
    FCursor += int(rows.size());
    FFirstRecNo = from + 1;
    TrimWindow(false);
    UpdateEdges();
    return fetched;
}

// The deleted row's position now holds its successor.
void TSQLiteTable::StepOntoSortedSuccessor()
{
    const int successor = FFirstRecNo - 1 + int(FRows.size());
    if (FCursor < int(FRows.size()) || successor < FSorted.Count()) {
        if (FCursor >= int(FRows.size())) {
            std::vector<TRow> rows = RowsAt(successor, FPageSize);
            std::move(rows.begin(), rows.end(), std::back_inserter(FRows));
        }
        UpdateEdges();
        return;
    }
    // Nothing follows: the cursor stays past the rows before, and the dataset steps back.
    if (FRows.empty())
        ShowLastSortedPage();
    UpdateEdges();
}

// After an insert or an update, the row takes its place by key among the sorted rowids (20-odd
// probes for a million rows), or leaves them when it no longer belongs to the source.
void TSQLiteTable::PlaceInSorted(qint64 rowid)
{
    if (!FPositional || !FSorted.Built())
        return;
    if (!OrderComparable()) {
        FSorted.Clear();
        return;
    }
    const int old = FSorted.IndexOf(rowid);
    if (old >= 0)
        FSorted.Erase(old);
    const std::optional<TRow> row = FetchRow(rowid, true);
    if (!row)
        return;
    const TRow key = KeyOf(*row);
    int low = 0, high = FSorted.Count();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        const std::optional<TRow> probe = FetchRow(FSorted.At(middle), false);
        if (probe && FOrder.Compare(KeyOf(*probe), key) < 0)
            low = middle + 1;
        else
            high = middle;
    }
    FSorted.Insert(low, rowid);
}

int TSQLiteTable::WindowIndexOf(qint64 rowid) const
{
    for (size_t i = 0; i < FRows.size(); ++i)
        if (RowidOf(FRows[i]) == rowid)
            return int(i);
    return -1;
}

TGetResult TSQLiteTable::GetRecord(TRecordBuffer& buffer, TGetMode mode, bool doCheck)
{
    try {
        SyncSource();
        switch (mode) {
        case gmNext:
            if (FCursor + 1 >= int(FRows.size()))
                FetchForward();
            if (FCursor + 1 >= int(FRows.size())) {
                FCursor = int(FRows.size());
                return grEOF;
            }
            ++FCursor;
            break;
        case gmPrior:
            if (FCursor <= 0)
                FetchBackward();
            if (FCursor <= 0) {
                FCursor = -1;
                return grBOF;
            }
            --FCursor;
            break;
        case gmCurrent:
            if (FCursor < 0 || FCursor >= int(FRows.size()))
                return grError;
            break;
        }
        const TRow& row = FRows[size_t(FCursor)];
        buffer.Bookmark = BookmarkOf(row);
        buffer.BookmarkFlag = bfCurrent;
        buffer.RecordId = RowidOf(row);
        FillValues(buffer, row);
        return grOK;
    } catch (const Exception&) {
        if (doCheck)
            throw;
        return grError;
    }
}

void TSQLiteTable::InternalFirst()
{
    SyncSource();
    LoadFirstPage();
}

void TSQLiteTable::InternalLast()
{
    SyncSource();
    LoadLastPage();
}

void TSQLiteTable::InternalGotoBookmark(const QByteArray& bookmark)
{
    SyncSource();
    TRow key;
    if (!DecodeBookmark(bookmark, key))
        throw EDatabaseError(QStringLiteral("Invalid bookmark"));
    const qint64 rowid = key.back().AsInt64();
    const int index = WindowIndexOf(rowid);
    if (index >= 0)
        FCursor = index;
    else
        LoadAround(rowid, true);
}

void TSQLiteTable::InternalRefresh()
{
    ResetWindow();
}

void TSQLiteTable::MoveToRow(qint64 rowid)
{
    DoBeforeScroll();
    const int index = WindowIndexOf(rowid);
    if (index >= 0)
        FCursor = index;
    else
        LoadAround(rowid, true);
    Resync({rmExact, rmCenter});
    DoAfterScroll();
}

// --- Counting and positions ------------------------------------------------------------------

bool TSQLiteTable::IsSequenced() const
{
    return Active() && SourceIsExact();
}

int TSQLiteTable::GetRecordCount() const
{
    const_cast<TSQLiteTable*>(this)->SyncSource();
    if (!SourceIsExact())
        return TSQLiteDataSet::GetRecordCount();
    if (FPositional) {
        EnsureSorted();
        return FSorted.Count();
    }
    if (FCount < 0)
        FCount = CountWhere(QString(), {});
    return FCount;
}

int TSQLiteTable::GetRecNo() const
{
    if (!Active() || IsEmpty() || State() == dsInsert)
        return -1;
    const_cast<TSQLiteTable*>(this)->SyncSource();
    if (!SourceIsExact())
        return TSQLiteDataSet::GetRecNo();
    const TRecordBuffer& active = ActiveBuffer();
    const int index = WindowIndexOf(active.RecordId);
    if (index >= 0 && FFirstRecNo > 0)
        return FFirstRecNo + index;
    if (FPositional) {
        EnsureSorted();
        if (const int position = FSorted.IndexOf(active.RecordId); position >= 0)
            return position + 1;
    }
    // Otherwise one count of the rows before is cheaper than reading the order for a single number.
    if (const std::optional<qint64> first = DenseRowidAt(1))
        return int(active.RecordId - *first) + 1;
    TRow key;
    if (!DecodeBookmark(active.Bookmark, key))
        return -1;
    int before = 0;
    for (const TSQLiteKeyOrder::Segment& segment : FOrder.Beyond(key, false))
        before += CountWhere(segment.Where, segment.Params);
    if (index >= 0)
        FFirstRecNo = before + 1 - index;
    return before + 1;
}

// Within the window the position is known; elsewhere the rowids without gaps, or the order's
// rowids read once, give the row.
void TSQLiteTable::SetRecNo(int recNo)
{
    CheckActive();
    SyncSource();
    if (!SourceIsExact()) {
        TSQLiteDataSet::SetRecNo(recNo);
        return;
    }
    if (recNo < 1 || recNo > GetRecordCount() || recNo == GetRecNo())
        return;
    CheckBrowseMode();
    const int index = FFirstRecNo > 0 ? recNo - FFirstRecNo : -1;
    if (index >= 0 && index < int(FRows.size())) {
        MoveToRow(RowidOf(FRows[size_t(index)]));
        return;
    }
    if (const std::optional<qint64> rowid = DenseRowidAt(recNo)) {
        DoBeforeScroll();
        LoadAround(*rowid, true);
        FFirstRecNo = recNo;
        FAtStart = recNo == 1;
        Resync({rmExact, rmCenter});
        DoAfterScroll();
        return;
    }
    UsePositions();
    DoBeforeScroll();
    LoadAt(recNo - 1);
    Resync({rmExact, rmCenter});
    DoAfterScroll();
}

// In rowid order over the whole table, rowids without gaps are positions: the record at `recNo` is
// found (and numbered) by one lookup instead of a walk over the rows before it. min and max each
// in a query of their own: only alone does SQLite read them from the ends of the table.
std::optional<qint64> TSQLiteTable::DenseRowidAt(int recNo) const
{
    if (FOrder.KeySize() != 1 || !FWhere.isEmpty())
        return std::nullopt;
    TSQLiteStatement range(Db(), QStringLiteral("SELECT (SELECT min(%1) FROM %2), (SELECT max(%1) FROM %2)")
                                     .arg(FInfo.RowidName(), FTableSql));
    if (!range.Step() || range.ColumnIsNull(0))
        return std::nullopt;
    const qint64 first = range.ColumnInt64(0);
    const qint64 last = range.ColumnInt64(1);
    if (last - first + 1 != qint64(GetRecordCount()))
        return std::nullopt;
    return first + recNo - 1;
}

// --- Bookmarks -------------------------------------------------------------------------------

bool TSQLiteTable::BookmarkValid(const QByteArray& bookmark) const
{
    TRow key;
    if (!Active() || !DecodeBookmark(bookmark, key))
        return false;
    return FetchRow(key.back().AsInt64(), true).has_value();
}

int TSQLiteTable::CompareBookmarks(const QByteArray& first, const QByteArray& second) const
{
    TRow a, b;
    const bool validA = DecodeBookmark(first, a);
    const bool validB = DecodeBookmark(second, b);
    if (!validA || !validB)
        return int(validA) - int(validB);
    return FOrder.Compare(a, b);
}

// --- Locate and Lookup -----------------------------------------------------------------------

bool TSQLiteTable::CanLocateInSql(const QString& fields) const
{
    const_cast<TSQLiteTable*>(this)->SyncSource();
    if (!SourceIsExact())
        return false;
    const QStringList names = SplitNames(fields);
    return !names.isEmpty() && std::all_of(names.begin(), names.end(), [this](const QString& name) {
        return FieldColumn(FindField(name)) >= 0;
    });
}

QString TSQLiteTable::KeyCondition(const QStringList& fields, const TVariant& values, TLocateOptions options,
                                   std::vector<TVariant>& params) const
{
    QStringList terms;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const TField* field = FieldByName(fields[i]);
        const int column = FieldColumn(field);
        const QString name = TSQLiteDatabase::QuoteIdentifier(FInfo.Columns()[size_t(column)].Name);
        const TVariant value =
            StorageValue(column, field->CanonicalValue(ValueAt(values, int(i), int(fields.size()))));
        if (value.IsClear()) {
            terms << name + QLatin1String(" IS NULL");
            continue;
        }
        if (!IsStringFieldType(field->DataType()) || !value.IsString()) {
            terms << name + QLatin1String(" = ?");
            params.push_back(value);
            continue;
        }
        // As the record-by-record search: SQLite's NOCASE folds only A-Z, and only the last
        // key field may be a prefix.
        const bool caseInsensitive = options.Contains(loCaseInsensitive);
        const QString key = caseInsensitive ? TFilterNode::FoldCase(value.AsString()) : value.AsString();
        const QString text = caseInsensitive ? TSQLiteFunctions::CaseFoldedSql(name) : name;
        if (options.Contains(loPartialKey) && i == fields.size() - 1)
            terms << TSQLiteFunctions::StartsWithSql(text);
        else
            terms << text + QLatin1String(" = ? COLLATE BINARY");
        params.push_back(key);
    }
    return terms.join(QLatin1String(" AND "));
}

std::optional<TSQLiteTable::TRow> TSQLiteTable::FindFirst(const QString& keyFields, const TVariant& keyValues,
                                                          TLocateOptions options) const
{
    std::vector<TVariant> params;
    const QStringList fields = SplitNames(keyFields);
    const QString condition = KeyCondition(fields, keyValues, options, params);
    // On a unique key at most one row matches: no order to honour, and none to mislead the planner
    // into walking the order's index instead of seeking the key's.
    QStringList columns;
    for (const QString& f : fields)
        columns << FInfo.Columns()[size_t(FieldColumn(FieldByName(f)))].Name;
    const bool unique = options.IsEmpty() && FInfo.IsUniqueKey(columns);
    const std::vector<TRow> rows = Select(condition, params, false, 1, !unique);
    if (rows.empty())
        return std::nullopt;
    return rows.front();
}

bool TSQLiteTable::Locate(const QString& keyFields, const TVariant& keyValues, TLocateOptions options)
{
    CheckActive();
    if (!CanLocateInSql(keyFields))
        return TSQLiteDataSet::Locate(keyFields, keyValues, options);
    CheckBrowseMode();
    const std::optional<TRow> row = FindFirst(keyFields, keyValues, options);
    if (!row)
        return false;
    MoveToRow(RowidOf(*row));
    return true;
}

TVariant TSQLiteTable::Lookup(const QString& keyFields, const TVariant& keyValues,
                              const QString& resultFields)
{
    CheckActive();
    const QStringList results = SplitNames(resultFields);
    const bool resultsInSql = std::all_of(results.begin(), results.end(), [this](const QString& name) {
        return FieldColumn(FieldByName(name)) >= 0;
    });
    if (!CanLocateInSql(keyFields) || !resultsInSql || results.isEmpty())
        return TSQLiteDataSet::Lookup(keyFields, keyValues, resultFields);
    const std::optional<TRow> row = FindFirst(keyFields, keyValues, {});
    if (!row)
        return TVariant::Null();
    TVariantArray values;
    for (const QString& name : results) {
        const TField* field = FieldByName(name);
        const int column = FieldColumn(field);
        values.push_back(
            TSQLiteTypes::FromStorage(Columns()[size_t(column)].DataType, (*row)[size_t(column)]));
    }
    return values.size() == 1 ? values.front() : VarArrayOf(values);
}

// --- Editing ---------------------------------------------------------------------------------

bool TSQLiteTable::GetCanModify() const
{
    return Database() && !Database()->ReadOnly() && !FInfo.IsView() && FInfo.HasRowid();
}

// The bookmark carries the order's key, which a post or a new IndexFieldNames changes; the rowid stays.
QByteArray TSQLiteTable::RecordIdentity(const TRecordBuffer& buffer) const
{
    if (buffer.RecordId < 0)
        return QByteArray();
    return QByteArray::number(buffer.RecordId);
}

void TSQLiteTable::InternalPost()
{
    if (State() == dsEdit)
        PostUpdate(ActiveBuffer());
    else
        PostInsert(ActiveBuffer());
}

void TSQLiteTable::PostInsert(const TRecordBuffer& buffer)
{
    QStringList names, markers;
    std::vector<TVariant> params;
    for (size_t c = 0; c < Columns().size(); ++c) {
        // Leaving out a column never assigned lets its DEFAULT (or the rowid) apply; one set to
        // Null is written as NULL.
        if (!ColumnField(int(c)) || !ColumnAssigned(c) || c >= buffer.Values.size())
            continue;
        const TVariant& value = buffer.Values[c];
        names << TSQLiteDatabase::QuoteIdentifier(FInfo.Columns()[c].Name);
        markers << QStringLiteral("?");
        params.push_back(StorageValue(int(c), value));
    }
    const QString sql = names.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(FTableSql)
                                        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                              .arg(FTableSql, names.join(QLatin1String(", ")),
                                                   markers.join(QLatin1String(", ")));
    Database()->ExecSQL(sql, params);
    const qint64 rowid = sqlite3_last_insert_rowid(Db());
    DataChanged();
    PlaceInSorted(rowid);
    LoadAround(rowid, false);
}

void TSQLiteTable::PostUpdate(const TRecordBuffer& buffer)
{
    QStringList assignments;
    std::vector<TVariant> params;
    for (size_t c = 0; c < Columns().size() && c < buffer.Values.size(); ++c) {
        TField* field = ColumnField(int(c));
        if (!field || buffer.Values[c].IsEmpty() ||
            TVariant::SameValue(buffer.Values[c], OldFieldValue(field)))
            continue;
        assignments << TSQLiteDatabase::QuoteIdentifier(FInfo.Columns()[c].Name) + QLatin1String(" = ?");
        params.push_back(StorageValue(int(c), buffer.Values[c]));
    }
    if (!assignments.isEmpty()) {
        params.push_back(TVariant(buffer.RecordId));
        Database()->ExecSQL(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                                .arg(FTableSql, assignments.join(QLatin1String(", ")), FInfo.RowidName()),
                            params);
        DataChanged();
        PlaceInSorted(buffer.RecordId);
    }
    LoadAround(buffer.RecordId, false);
}

void TSQLiteTable::InternalDelete()
{
    const qint64 rowid = ActiveBuffer().RecordId;
    Database()->ExecSQL(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(FTableSql, FInfo.RowidName()),
                        {TVariant(rowid)});
    const int index = WindowIndexOf(rowid);
    const int firstRecNo = FFirstRecNo;
    const bool positioned = Positioned();
    DataChanged();
    if (FSorted.Built()) {
        const int position = positioned && index >= 0 ? firstRecNo - 1 + index : FSorted.IndexOf(rowid);
        if (position >= 0)
            FSorted.Erase(position);
    }
    if (index < 0)
        return;
    const TRow deleted = FRows[size_t(index)];
    FRows.erase(FRows.begin() + index);
    FCursor = index;
    if (positioned) {
        // The row that followed the deleted one takes its position.
        FFirstRecNo = firstRecNo;
        StepOntoSortedSuccessor();
        return;
    }
    // Rows before the deleted one keep their numbers.
    FFirstRecNo = index > 0 ? firstRecNo : -1;
    StepOntoSuccessor(deleted);
}

// The window may end at the deleted row (after a Locate it holds that row alone). Its key still
// marks the place: what follows it comes under the cursor, or, when nothing does, the cursor
// stays past the rows before it, so that the dataset steps back onto the new last record.
void TSQLiteTable::StepOntoSuccessor(const TRow& deleted)
{
    if (FCursor < int(FRows.size()))
        return;
    if (!FAtEnd) {
        std::vector<TRow> rows = FetchBeyond(deleted, true, FPageSize);
        FAtEnd = int(rows.size()) < FPageSize;
        std::move(rows.begin(), rows.end(), std::back_inserter(FRows));
    }
    if (!FRows.empty() || FAtStart)
        return;
    std::vector<TRow> rows = FetchBeyond(deleted, false, FPageSize);
    FAtStart = int(rows.size()) < FPageSize;
    for (TRow& row : rows)
        FRows.push_front(std::move(row));
    FCursor = int(FRows.size());
    FFirstRecNo = -1;
}

void TSQLiteTable::DataChanged()
{
    FCount = -1;
    FFirstRecNo = -1;
}

} // namespace orvo
