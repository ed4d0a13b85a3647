#pragma once

#include "platform/sqlite/tparams.h"
#include "platform/sqlite/tsqlitedataset.h"
#include "platform/sqlite/tsqliteresultkeyset.h"
#include "platform/sqlite/tsqliterowstore.h"

#include <QSet>
#include <QStringList>

#include <memory>
#include <unordered_map>

namespace orvo {

class TSQLiteStatement;

/// A dataset over any SELECT. The statement is stepped lazily: opening
/// reads only what the first screen asks for, rows read are kept packed in a
/// TSQLiteRowStore, Last steps to the end, RecordCount asks SQLite for
/// "count(*)" once.
///
/// A result whose every column comes from one table, with that table's rowid
/// (or its INTEGER PRIMARY KEY) among them, is read by key once random access
/// is asked for (Last, a far RecNo, Locate): one run of the statement keeps
/// only the rowids, in the result's order, and a row is read by its rowid when
/// it is shown. Other results are stepped into the store.
///
/// A query that reads one table can be edited: INSERT, UPDATE and DELETE are
/// generated from the fields (ModifySQL, InsertSQL, DeleteSQL, each
/// replaceable) and keyed by UpdateWhere, e.g. "CustNo = :OLD_CustNo"
/// (":OLD_x" binds the record's old value of field x, ":NEW_x" and ":x" the
/// new one). Without UpdateWhere the table's primary key, or the rowid when
/// the query selects it, is the key; a query with no usable key is read-only.
/// With CachedUpdates, posts and deletes are kept in a change log (visible at
/// once) until ApplyUpdates writes them in one transaction.
class TSQLiteQuery : public TSQLiteDataSet
{
    Q_OBJECT
    Q_PROPERTY(QStringList SQL READ SQL WRITE SetSQL)
    Q_PROPERTY(QString UpdateWhere READ UpdateWhere WRITE SetUpdateWhere)
    Q_PROPERTY(QString ModifySQL READ ModifySQL WRITE SetModifySQL)
    Q_PROPERTY(QString InsertSQL READ InsertSQL WRITE SetInsertSQL)
    Q_PROPERTY(QString DeleteSQL READ DeleteSQL WRITE SetDeleteSQL)
    Q_PROPERTY(bool CachedUpdates READ CachedUpdates WRITE SetCachedUpdates)
    Q_PROPERTY(int RowsAffected READ RowsAffected STORED false)
    Q_PROPERTY(bool UpdatesPending READ UpdatesPending STORED false)

public:
    explicit TSQLiteQuery(QObject* owner = nullptr);
    ~TSQLiteQuery() override;

    QStringList SQL() const { return FSQL; }
    /// Closes the query and rebuilds Params (keeping the values of parameters that stay).
    void SetSQL(const QStringList& sql);
    TParams* Params() { return &FParams; }
    TParam* ParamByName(const QString& name) const { return FParams.ParamByName(name); }
    /// Runs a statement that returns no rows; RowsAffected tells how many it changed.
    void ExecSQL();
    int RowsAffected() const { return FRowsAffected; }

    QString UpdateWhere() const { return FUpdateWhere; }
    void SetUpdateWhere(const QString& where);
    /// The statements used to write a record: the ones set, else generated (empty while
    /// the query is closed or cannot be modified).
    QString ModifySQL() const;
    void SetModifySQL(const QString& sql) { FModifySQL = sql; }
    QString InsertSQL() const;
    void SetInsertSQL(const QString& sql) { FInsertSQL = sql; }
    QString DeleteSQL() const;
    void SetDeleteSQL(const QString& sql) { FDeleteSQL = sql; }
    /// The table edits are written to ("" when the query cannot be modified).
    QString UpdateTableName() const { return FUpdateTable; }

    bool CachedUpdates() const { return FCachedUpdates; }
    /// Switching off with pending updates raises; apply or cancel them first.
    void SetCachedUpdates(bool cached);
    /// Writes the change log in one transaction; on error nothing is written, the log
    /// stays and the error is raised.
    void ApplyUpdates();
    /// Drops the change log and restores the records as they were read.
    void CancelUpdates();
    bool UpdatesPending() const { return !FChanges.empty(); }
    TUpdateStatus UpdateStatus() const;

    bool IsSequenced() const override;
    void SetRecNo(int recNo) override;
    /// One field without options is looked for in the stored values or the statement's own rows
    /// (by rowid when the result has its keyset); anything else record by record.
    bool Locate(const QString& keyFields, const TVariant& keyValues, TLocateOptions options) override;
    using TDataSet::BookmarkValid;
    using TDataSet::CompareBookmarks;
    QString RowSourceSql() const override;
    void BindRowSource(TSQLiteStatement& statement) const override { BindSource(statement); }
    bool BookmarkValid(const QByteArray& bookmark) const override;
    int CompareBookmarks(const QByteArray& first, const QByteArray& second) const override;

protected:
    void InternalOpen() override;
    void InternalClose() override;
    bool IsCursorOpen() const override { return FCursorOpen; }
    TGetResult GetRecord(TRecordBuffer& buffer, TGetMode mode, bool doCheck) override;
    void InternalFirst() override { FCursor = -1; }
    void InternalLast() override;
    void InternalGotoBookmark(const QByteArray& bookmark) override;
    void InternalPost() override;
    void InternalDelete() override;
    void InternalRefresh() override;
    bool GetCanModify() const override;
    int GetRecordCount() const override;
    int GetRecNo() const override;
    bool FilterHandledBySource() const override;

private:
    using TRow = std::vector<TVariant>;
    struct TChange
    {
        TUpdateStatus Status = usUnmodified;
        quint64 Sequence = 0;
        TRow Original;              ///< stored values as read (modified and deleted rows)
        qint64 Successor = -1;      ///< deleted rows: the row that followed, to restore the place
        std::vector<bool> Assigned; ///< inserted rows: the columns the record had assigned
    };
    /// Where a result column comes from, for writing it back.
    struct TOrigin
    {
        QString Table;
        QString Column; ///< "" for an expression
    };

    QString SqlText() const { return FSQL.join(QLatin1Char('\n')); }
    QString SourceSql() const;
    QString SelectStatement() const;
    void BindSource(TSQLiteStatement& statement) const;
    void DescribeColumns(TSQLiteStatement& statement);
    void TypeFromValues(std::vector<TColumn>& columns, const std::vector<int>& undeclared);
    void FindUpdateTarget();
    void StartFetching();
    void SyncSource();

    // Fetching into the store.
    bool FetchRow();
    void FetchAll();
    bool EnsureRow(int position);
    QByteArray KeyOfRow(const TRow& stored) const;
    QByteArray KeyOfStatement() const;

    // Random access by the result's rowids.
    int FindRowidColumn(const class TSQLiteTableInfo& info) const;
    bool EnsureKeyset();
    bool KeysetMatchesFetchedRows() const;
    quint32 IdAt(int position);
    TRow ReadKeysetRow(qint64 rowid);
    int FindInStore(int column, const TVariant& value);
    int FindInStatement(int column, const TVariant& value) const;
    void MoveToPosition(int position);

    // Positions.
    int PositionOf(quint32 id) const;
    void OrderChanged() { FPositionsValid = false; }
    static QByteArray BookmarkOf(quint32 id);
    static bool DecodeBookmark(const QByteArray& bookmark, quint32& id);

    // Writing.
    QString ParamName(int column) const;
    int ColumnOfParam(const QString& name) const;
    TRow StoredValues(const TRecordBuffer& buffer) const;
    int ExecWrite(const QString& sql, const TRow& oldValues, const TRow& newValues);
    void WriteInsert(quint32 id, const std::vector<bool>& assigned);
    void WriteUpdate(const TRow& oldValues, const TRow& newValues);
    void WriteDelete(const TRow& oldValues);
    std::optional<TRow> ReadBack(qint64 rowid, const TRow& current) const;
    void InsertIntoOrder(quint32 id, const TRecordBuffer& buffer);
    void LogChange(quint32 id, TUpdateStatus status, const TRow& original);
    void LogEdit(quint32 id, const TRow& original);
    void ForgetInserted(quint32 id);
    void RememberWritten(const TRow& stored);

    QStringList FSQL;
    TParams FParams;
    int FRowsAffected = 0;
    QString FUpdateWhere;
    QString FModifySQL, FInsertSQL, FDeleteSQL;
    bool FCachedUpdates = false;

    bool FCursorOpen = false;
    std::unique_ptr<TSQLiteStatement> FStatement;
    QString FSelectSql;
    QString FFilterWhere;
    std::vector<TVariant> FFilterParams;
    QString FSourceSignature;
    /// The result columns' SQL names are unique, so that a wrapping statement can name them.
    bool FNamesUnique = true;
    bool FAllFetched = false;
    TSQLiteRowStore FStore;
    std::vector<quint32> FOrder; ///< store rows in dataset order (deleted ones left out)
    int FCursor = -1;
    std::vector<TOrigin> FOrigins;
    QString FUpdateTable;
    QString FRowidName;
    std::vector<int> FKeyColumns;
    QSet<QByteArray> FWrittenKeys;
    std::unordered_map<quint32, TChange> FChanges;
    quint64 FChangeSequence = 0;

    int FRowidColumn = -1; ///< the column holding the table's rowid, when every column is the table's
    TSQLiteResultKeyset FKeyset;
    bool FKeysetTried = false;
    bool FKeysetAligned = false; ///< positions are still the keyset's: nothing inserted or deleted
    std::unique_ptr<TSQLiteStatement> FRowReader;

    mutable std::vector<qint32> FPositionOf;
    mutable bool FPositionsValid = false;
    mutable int FSqlCount = -1;
    mutable int FCountDelta = 0;
};

} // namespace orvo
