#pragma once

#include "platform/data/tdataset.h"
#include "platform/data/trecordbuffer.h"

#include <QPointer>

#include <limits>

#include <vector>

namespace orvo {

/// A dataset over any indexed source (a string list, a list of objects, a computed
/// page) that holds no table of its own.
///
/// A descendant says how many records its source has and how to fetch one field value
/// of one record by index (and, when it allows editing, how to store one, insert an
/// empty record and delete one); this class does the rest: the record window, moving,
/// bookmarks, calculated and lookup fields, filtering through OnFilterRecord, Locate,
/// Lookup and posting.
///
/// - A record's bookmark is its index in the source, so bookmarks order as records do
///   and compare without touching the source. Indexes and counts are 64-bit inside;
///   RecordCount and RecNo, whose interface is `int`, stop at INT_MAX.
/// - The dataset keeps no state per record: buffers exist only for the records in the
///   window, and each value is fetched once per buffer fill, on first read.
/// - The record count is taken once, at open; it then changes only through the
///   dataset's own insert and delete. A source whose size changes must be reopened:
///   every fetch compares the source's count with the dataset's and raises
///   EDatabaseError when they differ, before any value is read at an index that may
///   no longer exist.
/// - RecordCount is the source's count, not reduced by filtering, and only
///   OnFilterRecord filters: the Filter text is not evaluated here.
/// - Text is read whole, whatever the field's Size: a descendant's source is not bound
///   by declared lengths, and cutting a value on read would write it back cut.
/// - Data fields may be text (ftString, ftFixedChar, ftGuid, ftWideString) or 32-bit
///   integers (ftInteger, ftAutoInc); reading or writing another type raises.
///   Calculated and lookup fields may be of any type.
/// - A descendant that keeps its source ordered by some fields says so through
///   SortedKeyFields(); Locate and Lookup on those fields then search by halves instead
///   of scanning. A descendant that can reorder its source publishes a Q_PROPERTY
///   `IndexFieldNames`; this class publishes none, so that only such descendants are
///   offered to the grid's sort orders.
/// - Closing asks the descendant nothing, so this class closes the dataset in its own
///   destructor and a descendant need not.
class TOrvoDBCustomData : public TDataSet
{
    Q_OBJECT
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)

public:
    explicit TOrvoDBCustomData(QObject* owner = nullptr);
    ~TOrvoDBCustomData() override;

    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool readOnly) { FReadOnly = readOnly; }

    bool IsCursorOpen() const override { return FCursorOpen; }
    bool ReadsTextWhole() const override { return true; }
    /// The number of records in the source (while open), without the `int` limit of RecordCount.
    qint64 SourceRecordCount() const { return FRecordCount; }
    /// The data fields written since the current Edit or new record began, each once,
    /// in the order they were first written.
    std::vector<TField*> ModifiedFields() const;
    /// A checksum of which field objects the dataset has, in their order.
    quint64 FieldsSignature() const;

    bool GetFieldData(const TField* field, TVariant& value) override;
    void SetFieldData(TField* field, const TVariant& value) override;
    /// Moves to record `recNo` (1-based); out-of-range numbers and the current one do nothing.
    void SetRecNo(int recNo) override;
    using TDataSet::BookmarkValid;
    using TDataSet::CompareBookmarks;
    bool BookmarkValid(const QByteArray& bookmark) const override;
    /// An absent (or malformed) bookmark orders after a present one.
    int CompareBookmarks(const QByteArray& first, const QByteArray& second) const override;
    bool Locate(const QString& keyFields, const TVariant& keyValues, TLocateOptions options) override;
    TVariant Lookup(const QString& keyFields, const TVariant& keyValues,
                    const QString& resultFields) override;
    void DataEvent(TDataEvent event, TField* field = nullptr, int info = 0) override;

    /// The bookmark bytes of the record at `index`.
    static QByteArray BookmarkOfIndex(qint64 index);
    /// The index a bookmark names; -1 for bytes that are no bookmark of this class.
    static qint64 IndexOfBookmark(const QByteArray& bookmark);

protected:
    // --- What a descendant supplies --------------------------------------------------------
    /// The source's count: 0 passed through DoGetRecordCount.
    virtual qint64 InternalGetRecordCount();
    /// Sets `count` to the number of records of the source; the base leaves it unchanged.
    virtual void DoGetRecordCount(qint64& count);
    /// Removes the record at `index` from the source; the base does nothing.
    virtual void InternalDeleteRecord(qint64 index);
    /// Sets `value` (Null on entry) to the value of data field `field` in record `index`.
    virtual void InternalGetFieldValue(qint64 index, const TField* field, TVariant& value);
    /// Inserts an empty record before `index` (at the end when `index` is the count).
    virtual void InternalInsertRecord(qint64 index);
    /// Stores `value` into data field `field` of record `index`; the base does nothing.
    virtual void InternalSetFieldValue(qint64 index, const TField* field, const TVariant& value);
    /// Fills FieldDefs() when InternalInitFieldDefs finds none; the base describes the
    /// persistent data fields.
    virtual void CreateFieldDefs();
    /// The ";"-list of data fields by which the source ascends (TVariant::Compare order,
    /// Null first, text in code-unit order); "" (the default) for an unordered source.
    virtual QString SortedKeyFields() const { return QString(); }

    // --- Helpers for descendants -----------------------------------------------------------
    /// The record a buffer stands for: 0 before the first, the count after the last.
    virtual qint64 GetBufferRecIndex(const TRecordBuffer& buffer) const;
    /// The record of the buffer being calculated or filtered in those states, else of the
    /// active buffer.
    qint64 GetActiveRecIndex() const;
    qint64 GetCurrentIndex() const { return FCurrentIndex; }
    /// Stores the record count (negative as 0); only while the dataset is inactive.
    void SetRecordCount(qint64 count);
    /// Moves the cursor without a range check: -1 is before the first record.
    void SetCurrentIndex(qint64 index) { FCurrentIndex = index; }
    /// The 0-based column of `field` in a source of `sourceFieldCount` columns, taken
    /// from its FieldNo; raises EDatabaseError for a field past them.
    int SourceFieldIndex(const TField* field, int sourceFieldCount) const;

    // --- The dataset contract ------------------------------------------------------------
    void InternalOpen() override;
    void InternalClose() override;
    void InternalInitFieldDefs() override;
    TGetResult GetRecord(TRecordBuffer& buffer, TGetMode mode, bool doCheck) override;
    void InternalFirst() override;
    void InternalLast() override { FCurrentIndex = FRecordCount; }
    void InternalGotoBookmark(const QByteArray& bookmark) override;
    void InternalSetToRecord(const TRecordBuffer& buffer) override;
    TVariant FetchFieldValue(const TRecordBuffer& buffer, const TField* field) override;
    void InternalRefresh() override;
    void InternalEdit() override;
    void InternalPost() override;
    void InternalDelete() override;
    void InternalAddRecord(TRecordBuffer& buffer, bool append) override;
    bool GetCanModify() const override { return !FReadOnly; }
    int GetRecordCount() const override;
    int GetRecNo() const override;
    void DoOnNewRecord() override;
    void ClearCalcFields(TRecordBuffer& buffer) override;
    /// The Filter text is left alone: only OnFilterRecord filters here.
    bool FilterHandledBySource() const override { return true; }

private:
    /// Whether a number fits the 32-bit integer fields this dataset holds.
    static bool FitsInteger(qint64 number)
    {
        return number >= std::numeric_limits<qint32>::min() && number <= std::numeric_limits<qint32>::max();
    }
    /// A value as a data field of this dataset holds it: text or a 32-bit integer. A number
    /// that does not fit is refused rather than wrapped into another number.
    static TVariant SlotValue(const TField* field, TVariant&& value);
    /// Raises for a data field whose type cannot travel between the source and the dataset.
    static void CheckSourceType(const TField* field);
    /// The source's count as it is now (a negative one as 0).
    qint64 SourceCount();
    /// Raises when the source no longer holds the records the dataset counted.
    void CheckSourceCount();
    /// Stores the modified fields of `buffer`, inserting a record first when asked.
    void PostBuffer(const TRecordBuffer& buffer, bool inserting);
    void StoreModifiedFields(const TRecordBuffer& buffer, qint64 index);
    void NoteModified(TField* field);
    /// A locate's keys as the source is searched for them.
    struct TKeySearch
    {
        std::vector<const TField*> Fields;
        TVariant Keys;
        TLocateOptions Options;
        bool Direct = false; // the source may be searched without fetching records
        bool Sorted = false; // ... and by halves, as it ascends by the key fields
    };
    TKeySearch MakeKeySearch(const QString& keyFields, const TVariant& keyValues,
                             TLocateOptions options) const;
    static bool SortableKeys(const TKeySearch& search);
    /// Finds the first record matching straight in the source; false when the dataset's
    /// own scan must look (a filter handler or a calculated key), else `index` is the
    /// record found or -1 when none matches.
    bool FindKeyRecord(const QString& keyFields, const TVariant& keyValues, TLocateOptions options,
                       qint64& index);
    qint64 SearchByHalves(const TKeySearch& search);
    qint64 SearchInOrder(const TKeySearch& search);
    TVariant SourceKeyValues(const TKeySearch& search, qint64 index);
    /// The value of a data field of record `index`, read from the source as a slot holds it
    /// (the caller has checked that the source still holds the records counted).
    TVariant SourceValue(qint64 index, const TField* field);

    /// The buffer that calculated fields and a filter handler read in dsCalcFields and
    /// dsFilter: the dataset calculates a buffer just after clearing its calculated slots,
    /// and filters one just after fetching it.
    const TRecordBuffer* StateBuffer() const;

    std::vector<QPointer<TField>> FModifiedFields;
    const TRecordBuffer* FStateBuffer = nullptr;
    qint64 FRecordCount = 0;
    qint64 FCurrentIndex = -1;
    /// Where the next InternalFirst places the cursor: -1, but just before the record a
    /// locate found in the source, so that the dataset's own scan starts there.
    qint64 FScanStart = -1;
    quint64 FFieldsSignature = 0;
    bool FSignatureTaken = false;
    bool FCursorOpen = false;
    bool FReadOnly = false;
};

} // namespace orvo
