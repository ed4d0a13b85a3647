#pragma once

#include "platform/data/tdataset.h"
#include "platform/data/tfieldtype.h"

#include <QHash>

#include <vector>

namespace orvo {

class TDataSource;

/// A small dataset over rows kept in memory, for exercising TDataSet: each row
/// has a stable id (its bookmark), values are fetched lazily, and the counters
/// show how often the base class asked for records and values.
class TMemoryTestDataSet : public TDataSet
{
    Q_OBJECT

public:
    using TRow = std::vector<TVariant>;

    explicit TMemoryTestDataSet(QObject* owner = nullptr);
    ~TMemoryTestDataSet() override;

    void AddColumn(const QString& name, TFieldType type, int size = 0, bool required = false);
    void AddRow(TRow values);
    const std::vector<TRow>& Rows() const { return FRows; }
    /// Changes a stored value behind the dataset's back, as another user would.
    void SetValue(int row, int column, const TVariant& value)
    {
        FRows[std::size_t(row)][std::size_t(column)] = value;
    }
    int IndexOfBookmark(const QByteArray& bookmark) const;

    void SetReadOnly(bool readOnly) { FReadOnly = readOnly; }
    /// The next InternalPost raises this many times.
    int FailPosts = 0;
    int RecordFetches = 0;
    int ValueFetches = 0;

    void SetMasterSource(TDataSource* source) { FMaster = source; }
    TDataSource* DataSource() const override { return FMaster; }

    bool IsCursorOpen() const override { return FOpen; }
    bool IsSequenced() const override;
    void SetRecNo(int recNo) override;
    bool BookmarkValid(const QByteArray& bookmark) const override;
    int CompareBookmarks(const QByteArray& first, const QByteArray& second) const override;
    using TDataSet::BookmarkValid;
    using TDataSet::CompareBookmarks;

protected:
    void InternalOpen() override;
    void InternalClose() override;
    void InternalInitFieldDefs() override;
    TGetResult GetRecord(TRecordBuffer& buffer, TGetMode mode, bool doCheck) override;
    void InternalFirst() override { FCursor = -1; }
    void InternalLast() override { FCursor = int(FRows.size()); }
    void InternalGotoBookmark(const QByteArray& bookmark) override;
    TVariant FetchFieldValue(const TRecordBuffer& buffer, const TField* field) override;
    void InternalPost() override;
    void InternalDelete() override;
    bool GetCanModify() const override { return !FReadOnly; }
    int GetRecordCount() const override;
    int GetRecNo() const override;

private:
    struct TColumn
    {
        QString Name;
        TFieldType Type;
        int Size;
        bool Required;
    };

    static QByteArray BookmarkOf(qint64 id);
    int IndexOfId(qint64 id) const;
    void Reindex();

    std::vector<TColumn> FColumns;
    std::vector<TRow> FRows;
    std::vector<qint64> FIds;
    QHash<qint64, int> FIndexOfId;
    TDataSource* FMaster = nullptr;
    qint64 FNextId = 1;
    int FCursor = -1;
    bool FOpen = false;
    bool FReadOnly = false;
};

} // namespace orvo
