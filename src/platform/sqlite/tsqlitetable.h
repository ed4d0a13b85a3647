#pragma once

#include "platform/data/tdatasource.h"
#include "platform/sqlite/tsqlitedataset.h"
#include "platform/sqlite/tsqlitekeyorder.h"
#include "platform/sqlite/tsqlitesortedrowids.h"
#include "platform/sqlite/tsqlitetableinfo.h"

#include <deque>
#include <memory>
#include <optional>

namespace orvo {

/// A dataset over one SQLite table, browsed by keyset paging: it keeps a
/// window of a few pages of rows around the cursor and fetches the page
/// after (or before) the window's edge with "WHERE <key> > <edge key>
/// ORDER BY <key> LIMIT n", so that opening, First, Last, Locate and moving
/// through any part of a large table cost one indexed step each. No row
/// is skipped with OFFSET while navigating.
///
/// IndexFieldNames orders the rows: a ";"-list of field names, each
/// optionally followed by " DESC" (or " ASC"), e.g. "Country;Sales DESC";
/// the rowid breaks ties, running the way the last field runs (so that one
/// index serves the whole order). An empty text orders by rowid. When no index
/// serves the order, SQLite sorts the rowids once (cancellable through the
/// database's progress hook) and the table pages through that array by position;
/// the first jump or record number far from the window does the same along an index.
///
/// Master/detail follows the classic rule: MasterFields is a ";"-list of
/// fields of MasterSource's dataset, matched in order to the leading fields
/// of IndexFieldNames; the table shows the rows whose detail fields equal
/// the master's current values and follows the master as it moves.
///
/// Editing writes at once: INSERT, UPDATE and DELETE keyed by rowid with
/// every value bound. Bookmarks carry the rowid and the row's order key, so
/// CompareBookmarks orders them without a query.
class TSQLiteTable : public TSQLiteDataSet
{
    Q_OBJECT
    Q_PROPERTY(QString TableName READ TableName WRITE SetTableName)
    Q_PROPERTY(QString IndexFieldNames READ IndexFieldNames WRITE SetIndexFieldNames)
    Q_PROPERTY(QString MasterFields READ MasterFields WRITE SetMasterFields)
    Q_PROPERTY(orvo::TDataSource* MasterSource READ MasterSource WRITE SetMasterSource)
    Q_PROPERTY(int PageSize READ PageSize WRITE SetPageSize)

public:
    explicit TSQLiteTable(QObject* owner = nullptr);
    ~TSQLiteTable() override;

    QString TableName() const { return FTableName; }
    /// Only while inactive; an unknown table raises "Table 'X' not found" at Open.
    void SetTableName(const QString& name);
    QString IndexFieldNames() const { return FIndexFieldNames; }
    /// On an open table, reorders keeping the current record on its row of the links' window;
    /// an unknown field or a cancelled sort raises and the old order stays.
    void SetIndexFieldNames(const QString& names);
    QString MasterFields() const { return FMasterFields; }
    void SetMasterFields(const QString& names);
    TDataSource* MasterSource() const;
    void SetMasterSource(TDataSource* source);
    TDataSource* DataSource() const override { return MasterSource(); }
    /// Rows fetched per page (the window keeps four pages); small values suit tests.
    int PageSize() const { return FPageSize; }
    void SetPageSize(int rows);

    bool IsSequenced() const override;
    void SetRecNo(int recNo) override;
    bool Locate(const QString& keyFields, const TVariant& keyValues, TLocateOptions options) override;
    TVariant Lookup(const QString& keyFields, const TVariant& keyValues,
                    const QString& resultFields) override;
    using TDataSet::BookmarkValid;
    using TDataSet::CompareBookmarks;
    QString RowSourceSql() const override;
    void BindRowSource(TSQLiteStatement& statement) const override;
    /// A view's columns hold what they select, whatever type they declare.
    bool RowSourceColumnHasAffinity(int column) const override;
    /// The rowid of the row that `bookmark`, a bookmark of this table, names; none for a
    /// string of another form.
    std::optional<qint64> BookmarkRowid(const QString& bookmark) const;
    /// RowSourceSql() narrowed to the rows whose rowids a JSON array lists; empty when
    /// RowSourceSql() is.
    QString RowSourceSqlOfRowids() const;
    /// Binds the parameters of RowSourceSqlOfRowids() in `statement`, which holds it and no
    /// others: the row source's, then `rowids` (the JSON array).
    void BindRowSourceOfRowids(TSQLiteStatement& statement, const QString& rowids) const;
    bool BookmarkValid(const QByteArray& bookmark) const override;
    int CompareBookmarks(const QByteArray& first, const QByteArray& second) const override;

protected:
    void InternalOpen() override;
    void InternalClose() override;
    bool IsCursorOpen() const override { return FCursorOpen; }
    TGetResult GetRecord(TRecordBuffer& buffer, TGetMode mode, bool doCheck) override;
    void InternalFirst() override;
    void InternalLast() override;
    void InternalGotoBookmark(const QByteArray& bookmark) override;
    void InternalPost() override;
    void InternalDelete() override;
    void InternalRefresh() override;
    void DoOnNewRecord() override;
    bool GetCanModify() const override;
    QByteArray RecordIdentity(const TRecordBuffer& buffer) const override;
    int GetRecordCount() const override;
    int GetRecNo() const override;
    bool FilterHandledBySource() const override;
    /// The table itself, unless it is a view.
    QString IndexedTableSql() const override { return FInfo.IsView() ? QString() : FTableSql; }

private:
    class TMasterLink;
    friend class TMasterLink;
    using TRow = std::vector<TVariant>;

    // Source: columns, order, and the WHERE that master and filter impose.
    void ReadSchema();
    TSQLiteKeyOrder BuildOrder(const QString& indexFieldNames, std::vector<int>& orderColumns) const;
    void RebuildSource();
    void SyncSource();
    bool IsLinked() const;
    bool OrderNeedsSort(const TSQLiteKeyOrder& order) const;
    bool OrderComparable() const;
    TSQLiteSortedRowids SortRowids(const TSQLiteKeyOrder& order) const;
    void EnsureSorted() const;
    void UsePositions() const;
    bool Positioned() const { return FPositional && FFirstRecNo > 0; }
    QStringList DetailFieldNames() const;
    std::vector<TVariant> MasterValues() const;
    void MasterChanged();

    // Fetching.
    std::vector<TRow> Select(const QString& condition, const std::vector<TVariant>& params, bool reversed,
                             int limit, bool ordered = true) const;
    std::vector<TRow> FetchBeyond(const TRow& edge, bool after, int limit) const;
    void StepOntoSuccessor(const TRow& deleted);
    std::optional<TRow> FetchRow(qint64 rowid, bool inSource) const;
    TRow KeyOf(const TRow& row) const;
    qint64 RowidOf(const TRow& row) const { return row.back().AsInt64(); }
    QByteArray BookmarkOf(const TRow& row) const;
    bool DecodeBookmark(const QByteArray& bookmark, TRow& key) const;
    std::optional<qint64> DenseRowidAt(int recNo) const;
    int CountWhere(const QString& condition, const std::vector<TVariant>& params) const;

    // The window.
    void ResetWindow();
    void LoadFirstPage();
    void LoadLastPage();
    /// Makes the window the one row `rowid` (raises "Record not found" when gone).
    void LoadAround(qint64 rowid, bool inSource);
    bool FetchForward();
    bool FetchBackward();
    void TrimWindow(bool keepEnd);
    int WindowIndexOf(qint64 rowid) const;
    /// Repositions on `rowid` the way a move by the application does (scroll events, links).
    void MoveToRow(qint64 rowid);

    // Paging through the sorted rowids.
    std::vector<TRow> RowsAt(int from, int count) const;
    void LoadAt(int position);
    void LoadSortedFirstPage();
    void LoadSortedLastPage();
    /// The last page of the sorted rows, the cursor past its end.
    void ShowLastSortedPage();
    bool FetchSortedForward();
    bool FetchSortedBackward();
    void StepOntoSortedSuccessor();
    void UpdateEdges();
    void PlaceInSorted(qint64 rowid);

    // Locating and editing.
    QString KeyCondition(const QStringList& fields, const TVariant& values, TLocateOptions options,
                         std::vector<TVariant>& params) const;
    std::optional<TRow> FindFirst(const QString& keyFields, const TVariant& keyValues,
                                  TLocateOptions options) const;
    bool CanLocateInSql(const QString& fields) const;
    void PostInsert(const TRecordBuffer& buffer);
    void PostUpdate(const TRecordBuffer& buffer);
    void DataChanged();

    QString FTableName;
    QString FIndexFieldNames;
    QString FMasterFields;
    std::unique_ptr<TMasterLink> FMasterLink;
    int FPageSize = 100;

    TSQLiteTableInfo FInfo;
    TSQLiteKeyOrder FOrder;
    std::vector<int> FOrderColumns;
    QString FSelectList;
    QString FTableSql;
    bool FCursorOpen = false;

    // Mutable because counts, positions and the filter are brought up to date lazily from const reads.
    mutable QString FWhere;
    mutable std::vector<TVariant> FWhereParams;
    mutable QString FSourceSignature;
    mutable std::vector<TVariant> FMasterValues;
    mutable int FCount = -1;
    mutable int FFirstRecNo = -1;
    /// Paged by position through FSorted: the order needs a sort, or a far position was asked for.
    mutable bool FPositional = false;
    mutable TSQLiteSortedRowids FSorted;

    std::deque<TRow> FRows;
    int FCursor = -1;
    bool FAtStart = false;
    bool FAtEnd = false;
};

} // namespace orvo
