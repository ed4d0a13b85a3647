#pragma once

#include "platform/core/exceptions.h"
#include "platform/core/tvariant.h"
#include "platform/data/tdatasetenums.h"
#include "platform/data/trecordbuffer.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QIODevice;

namespace orvo {

class TDataLink;
class TDataSet;
class TDataSource;
class TField;
class TFieldDefs;
class TFields;
class TFilterExpression;
class TRecordTextTest;

using TDataSetNotifyEvent = std::function<void(TDataSet* dataSet)>;
using TDataSetErrorEvent =
    std::function<void(TDataSet* dataSet, const EDatabaseError& error, TDataAction& action)>;
using TFilterRecordEvent = std::function<void(TDataSet* dataSet, bool& accept)>;

/// A buffered cursor over records: the base of every dataset.
///
/// The dataset keeps a window of record buffers (as many as the largest
/// BufferCount any of its links asks for) around the current record, moves
/// through its records by asking the descendant for the next, prior or current
/// record, and tells its data sources and links about every change. Fields read
/// and write values through GetFieldData/SetFieldData in the buffer the State
/// selects. Calculated, lookup and internal-calc values live in the dataset's
/// own slots of each buffer; internal-calc values are also kept per record (by
/// bookmark) so that they can be edited through Edit/Post without ever reaching
/// the descendant.
///
/// A descendant supplies the cursor (InternalOpen ... GetRecord ...), the field
/// definitions (InternalInitFieldDefs, which fills FieldDefs()), the values of
/// data fields (in GetRecord or lazily through FetchFieldValue) and, when it can
/// be modified, InternalPost/InternalDelete. Fields are created and bound by
/// this class after InternalOpen returns. After InternalPost the descendant's
/// cursor must stand on the posted record. A descendant that overrides one of
/// the QByteArray bookmark operations should add `using TDataSet::BookmarkValid;`
/// (and CompareBookmarks) so that the public string forms stay visible. GetRecord
/// need not filter: the dataset applies Filter and OnFilterRecord to what it
/// returns unless FilterHandledBySource() says the source did. A descendant's
/// destructor calls Close(), since the base destructor can no longer reach the
/// descendant's InternalClose.
class TDataSet : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Name READ objectName WRITE setObjectName)
    Q_PROPERTY(bool Active READ Active WRITE SetActive)
    Q_PROPERTY(QString Filter READ Filter WRITE SetFilter)
    Q_PROPERTY(bool Filtered READ Filtered WRITE SetFiltered)
    Q_PROPERTY(bool AutoCalcFields READ AutoCalcFields WRITE SetAutoCalcFields)
    Q_PROPERTY(TDataSetState State READ State STORED false)

public:
    explicit TDataSet(QObject* owner = nullptr);
    ~TDataSet() override;

    // --- Opening and state --------------------------------------------------------------
    bool Active() const;
    void SetActive(bool active);
    void Open();
    void Close();
    TDataSetState State() const { return FState; }
    /// True when a field of the record being edited was written since Edit/Insert.
    bool Modified() const { return FModified; }
    bool Bof() const { return FBOF; }
    bool Eof() const { return FEOF; }
    bool IsEmpty() const;
    virtual bool CanModify() const;
    virtual bool IsCursorOpen() const = 0;
    virtual bool IsSequenced() const;
    virtual bool IsUniDirectional() const;
    /// True when text longer than its field's Size is read whole, the Size then limiting only
    /// what a person types: for stores whose declared lengths do not bound what they hold.
    virtual bool ReadsTextWhole() const { return false; }
    /// The most characters a text field shows by default (no DisplayWidth set); 0 for its Size.
    virtual int TextWidthLimit() const { return 0; }
    bool AutoCalcFields() const { return FAutoCalcFields; }
    void SetAutoCalcFields(bool autoCalc) { FAutoCalcFields = autoCalc; }
    /// The master data source of a detail dataset; nullptr for the others.
    virtual TDataSource* DataSource() const;
    /// True when `source` is this dataset's master source or one of its masters' sources.
    bool IsLinkedTo(const TDataSource* source) const;

    // --- Moving -------------------------------------------------------------------------
    void First();
    void Last();
    void Next();
    void Prior();
    /// Moves by `distance` records; returns the distance actually moved.
    int MoveBy(int distance);
    /// 1-based number of the current record, -1 when unknown (descendant's answer).
    int RecNo() const { return GetRecNo(); }
    /// Number of records (accepted ones, when filtering in the dataset).
    int RecordCount() const { return GetRecordCount(); }
    bool FindFirst();
    bool FindLast();
    bool FindNext();
    bool FindPrior();
    /// Finds the first record whose `keyFields` (";"-list) equal `keyValues` (an array for
    /// several fields) and makes it current; false (nothing moved) when there is none.
    virtual bool Locate(const QString& keyFields, const TVariant& keyValues, TLocateOptions options);
    /// The `resultFields` values of the first record matching; Null when there is none.
    /// Neither the current record nor the State changes.
    virtual TVariant Lookup(const QString& keyFields, const TVariant& keyValues, const QString& resultFields);

    // --- Bookmarks ----------------------------------------------------------------------
    /// A string that, written back through SetBookmark, makes this record current again;
    /// "" when there is no current record.
    QString Bookmark() const;
    /// Goes to a bookmarked record: EDatabaseError "Invalid bookmark" for a string that
    /// is not a bookmark of this dataset, "Record not found" for a record that is gone
    /// (or filtered out); the dataset stays where it was. "" does nothing.
    void SetBookmark(const QString& bookmark);
    void GotoBookmark(const QString& bookmark) { SetBookmark(bookmark); }
    bool BookmarkValid(const QString& bookmark) const;
    /// Orders two bookmarks of this dataset (-1, 0, 1); an empty or foreign one comes last.
    int CompareBookmarks(const QString& first, const QString& second) const;

    // --- Links and the record window ------------------------------------------------------
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return FDisableCount != 0; }
    /// The buffer of the current record (the one a link's ActiveRecord selects).
    TRecordBuffer& ActiveBuffer() const { return *FBuffers[FActiveRecord]; }
    /// Brings the descendant's cursor to the active record.
    void UpdateCursorPos();
    /// Forgets where the descendant's cursor is (after an operation moved it).
    void CursorPosChanged() { FCurrentRecord = -1; }
    /// Refetches the window around the current record.
    void Resync(TResyncModes mode);
    /// Rereads every record of the window from the descendant.
    void Refresh();
    /// Posts or cancels a pending edit before the cursor moves.
    void CheckBrowseMode();
    void CheckActive() const;
    void CheckInactive() const;
    /// The window's size (what the links asked for, at least 1).
    int BufferCount() const { return FBufferCount; }

    // --- Editing ------------------------------------------------------------------------
    void Edit();
    void Insert();
    void Append();
    void Post();
    void Cancel();
    void Delete();
    /// Asks the links to write pending edits into the fields.
    void UpdateRecord();
    /// Sets every field of the record being edited to Null.
    void ClearFields();
    void CheckCanModify() const;

    // --- Fields -------------------------------------------------------------------------
    TFields* Fields() const { return FFields.get(); }
    TFieldDefs* FieldDefs() const { return FFieldDefs.get(); }
    /// True when the fields were made from the field definitions at open.
    bool DefaultFields() const { return FDefaultFields; }
    /// Raises EDatabaseError "Field 'X' not found" for a missing name.
    TField* FieldByName(const QString& name) const;
    TField* FindField(const QString& name) const;
    /// The value of one field, or an array of values for a ";"-list of names.
    TVariant FieldValues(const QString& fieldNames) const;
    void SetFieldValues(const QString& fieldNames, const TVariant& values);
    /// Registration, called by TField::SetDataSet.
    void AddField(TField* field);
    void RemoveField(TField* field);
    /// Reads the value of `field` in the buffer the State selects; false (and `value` Null)
    /// when there is no record or the value is null.
    virtual bool GetFieldData(const TField* field, TVariant& value);
    /// Stores an already validated canonical value into the buffer the State selects.
    virtual void SetFieldData(TField* field, const TVariant& value);
    /// The value of `field` before the current edit began.
    TVariant OldFieldValue(const TField* field);
    /// A device over a blob field's value (read, write or both); the caller owns it.
    QIODevice* CreateBlobStream(TField* field, TBlobStreamMode mode);

    // --- Filtering ----------------------------------------------------------------------
    QString Filter() const { return FFilterText; }
    /// Parses the expression at once (when active) and refilters; a bad one raises and the
    /// old filter stays.
    void SetFilter(const QString& filter) { SetFilterText(filter); }
    bool Filtered() const { return FFiltered; }
    virtual void SetFiltered(bool filtered);
    const TFilterRecordEvent& OnFilterRecord() const { return FOnFilterRecord; }
    /// Replacing the handler refilters at once, which is why it is no plain member.
    /// `described`, when given, says exactly which records the handler accepts, so that a
    /// source able to select those itself does so and never calls the handler.
    void SetOnFilterRecord(TFilterRecordEvent handler, std::shared_ptr<const TRecordTextTest> described = {});
    /// What the record handler accepts, when it came described; nullptr otherwise.
    const TRecordTextTest* FilterRecordTest() const { return FFilterRecordTest.get(); }
    /// The parsed Filter (nullptr when there is none or the dataset is inactive).
    const TFilterExpression* FilterExpression() const { return FFilterExpression.get(); }
    /// True while records are being filtered in the dataset or its source.
    bool IsFiltering() const;
    /// The field that FilterExpression() numbers `index` (what ToSql's column callback receives).
    TField* FilterField(int index) const;

    // --- States and events --------------------------------------------------------------
    /// Enters a temporary state (calc-fields, filter, old/new value...); returns the old one.
    TDataSetState SetTempState(TDataSetState state);
    void RestoreState(TDataSetState state);
    /// Sends a notification to the data sources and links (`info`: the scroll distance).
    virtual void DataEvent(TDataEvent event, TField* field = nullptr, int info = 0);

    TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
    TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
    TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
    TDataSetNotifyEvent BeforeRefresh, AfterRefresh;
    TDataSetNotifyEvent OnNewRecord, OnCalcFields;
    TDataSetErrorEvent OnPostError, OnDeleteError, OnEditError;

protected:
    // --- The descendant's cursor --------------------------------------------------------
    virtual void InternalOpen() = 0;
    virtual void InternalClose() = 0;
    /// Fills FieldDefs() with the source's columns; called at every open, after InternalOpen
    /// (clear the definitions first when rebuilding them).
    virtual void InternalInitFieldDefs() = 0;
    /// Fetches the next, prior or current record into `buffer`: its Bookmark, BookmarkFlag
    /// (bfCurrent) and, now or later through FetchFieldValue, its Values. With `doCheck`
    /// errors raise, else they answer grError.
    virtual TGetResult GetRecord(TRecordBuffer& buffer, TGetMode mode, bool doCheck) = 0;
    /// Places the cursor before the first / after the last record.
    virtual void InternalFirst() = 0;
    virtual void InternalLast() = 0;
    virtual void InternalGotoBookmark(const QByteArray& bookmark) = 0;
    /// Places the cursor on the buffer's record (default: its bookmark).
    virtual void InternalSetToRecord(const TRecordBuffer& buffer);
    /// The value of a data field not yet in the buffer (default Null).
    virtual TVariant FetchFieldValue(const TRecordBuffer& buffer, const TField* field);
    /// Prepares a new record: every data slot Null.
    virtual void InternalInitRecord(TRecordBuffer& buffer);
    virtual void InternalEdit();
    virtual void InternalInsert();
    /// Stores the active buffer (State tells an edit from an insert; an insert goes before
    /// the record whose bookmark the buffer carries, or at the end when it is bfEOF).
    virtual void InternalPost();
    virtual void InternalCancel();
    virtual void InternalDelete();
    virtual void InternalAddRecord(TRecordBuffer& buffer, bool append);
    /// Lets the source reread its data before the window is refetched.
    virtual void InternalRefresh();
    virtual void InternalHandleException();
    virtual bool GetCanModify() const;
    /// What internal-calculated values are kept under: bytes that name the record for as long
    /// as it lives, whatever the order. Default: the bookmark, for sources whose bookmarks
    /// never change with the order.
    virtual QByteArray RecordIdentity(const TRecordBuffer& buffer) const;
    /// Default: counts accepted records by scanning.
    virtual int GetRecordCount() const;
    virtual int GetRecNo() const;

public:
    /// Makes record `recNo` (1-based) current; values out of range are ignored.
    virtual void SetRecNo(int recNo);
    virtual bool BookmarkValid(const QByteArray& bookmark) const;
    /// Default: byte order of the bookmarks (an empty one last).
    virtual int CompareBookmarks(const QByteArray& first, const QByteArray& second) const;

protected:
    virtual void SetFilterText(const QString& filter);
    virtual bool FindRecord(bool restart, bool goForward);
    /// Sets the calculated and lookup slots of `buffer` to Null before a calculation.
    virtual void ClearCalcFields(TRecordBuffer& buffer);
    virtual void DoOnNewRecord();
    /// True when the descendant applies FilterExpression() in its source itself; the
    /// dataset then only runs OnFilterRecord.
    virtual bool FilterHandledBySource() const;
    /// True when the descendant selects in its source the records FilterRecordTest()
    /// describes; the dataset then does not call OnFilterRecord.
    virtual bool FilterRecordHandledBySource() const;
    /// Grows with every change of the record handler, so that a descendant can tell that
    /// what it put into its source is stale.
    quint64 FilterRecordSerial() const { return FFilterRecordSerial; }
    /// Filter, Filtered or OnFilterRecord changed on an open dataset; the default goes to
    /// the first accepted record. A descendant that filters in its source requeries first.
    virtual void FilterChanged();

    // --- Helpers for descendants --------------------------------------------------------
    /// Whether a fetched record passes Filter and OnFilterRecord (evaluated in dsFilter).
    bool RecordAccepted(TRecordBuffer& buffer);
    /// Computes the calculated and lookup values of `buffer` (lookups, then OnCalcFields) in
    /// dsCalcFields.
    void GetCalcFields(TRecordBuffer& buffer);
    void SetState(TDataSetState state);
    void SetModified(bool modified) { FModified = modified; }
    /// Marks the field definitions stale and rebuilds them now.
    void InitFieldDefs();
    int ActiveRecord() const { return FActiveRecord; }
    /// Number of filled buffers in the window.
    int WindowRecordCount() const { return FRecordCount; }
    void DoBeforeScroll();
    void DoAfterScroll();

private:
    friend class TDataLink;
    friend class TDataSource;
    friend class TFieldDefs;

    struct TLocateRequest
    {
        std::vector<TField*> Fields; // resolved once, not per record
        TVariant Values;
        TLocateOptions Options;
    };

    // Opening and closing.
    void OpenCursor();
    void CloseCursor();
    void CreateFields();
    void BindFields(bool binding);
    void DestroyDefaultFields();
    void AllocateBuffers();
    void ResizeBuffers(int count);
    std::unique_ptr<TFilterExpression> ParseFilter(const QString& text,
                                                   std::vector<QPointer<TField>>& fields) const;
    void AssignCalcSlot(TField* field);
    bool FilteringInDataSet() const;

    // The record window.
    void SetBufferCount(int count);
    void UpdateBufferCount();
    void AdjustLinksFirstRecord(int delta);
    void SetCurrentRecord(int index);
    bool GetNextRecord();
    bool GetPriorRecord();
    int GetNextRecords();
    int GetPriorRecords();
    void MoveBuffer(int from, int to);
    void ActivateBuffers();
    void ClearBuffers();
    /// GetRecord plus the dataset's own work: internal-calc values, calculated fields, filter.
    TGetResult FetchRecord(TRecordBuffer& buffer, TGetMode mode, bool doCheck);
    TRecordBuffer* BufferForState();
    TRecordBuffer NewBuffer() const;

    // Editing.
    void BeginInsertAppend();
    void EndInsertAppend();
    void InitRecord(TRecordBuffer& buffer);
    void CheckRequiredFields();
    void CheckOperation(const std::function<void()>& operation, const TDataSetErrorEvent& errorEvent);
    void StoreInternalCalcValues(const QByteArray& identity, const TRecordBuffer& buffer);
    void LoadInternalCalcValues(TRecordBuffer& buffer) const;
    QByteArray PostedRecordIdentity();
    std::vector<TVariant> InternalCalcValues(const TRecordBuffer& buffer) const;

    // Calculated and lookup fields.
    void CalculateLookups(TRecordBuffer& buffer);
    TVariant LookupValue(const TField* field, const TVariant& keyValues);

    // Locating.
    TLocateRequest MakeLocateRequest(const QString& keyFields, const TVariant& keyValues,
                                     TLocateOptions options) const;
    bool LocateRecord(const TLocateRequest& request, bool checkBrowseMode);
    bool LocateMatches(const TLocateRequest& request);
    QStringList FieldNameList(const QString& names) const;

    // Bookmark strings.
    QString EncodeBookmark(const QByteArray& bytes) const;
    bool DecodeBookmark(const QString& bookmark, QByteArray& bytes) const;

    // Notifications.
    void NotifyFocusControl(TField* field);
    void DoEvent(const TDataSetNotifyEvent& event);
    void AddDataSource(TDataSource* source);
    void RemoveDataSource(TDataSource* source);

    std::unique_ptr<TFields> FFields;
    std::unique_ptr<TFieldDefs> FFieldDefs;
    QList<TDataSource*> FDataSources;

    // The record window: FBufferCount buffers plus one spare for the record being fetched.
    std::vector<std::unique_ptr<TRecordBuffer>> FBuffers;
    int FBufferCount = 0;
    int FRecordCount = 0;
    int FActiveRecord = 0;
    int FCurrentRecord = -1;
    TRecordBuffer FTempBuffer; // scans (locate, lookup, counting, bookmark checks)
    TRecordBuffer FOldBuffer;  // the record as it was when the edit began
    TRecordBuffer* FCalcBuffer = nullptr;
    TRecordBuffer* FFilterBuffer = nullptr;

    // Calculated-field slots, and internal-calc values kept per record by bookmark.
    QHash<const TField*, int> FCalcSlots;
    QHash<QByteArray, std::vector<TVariant>> FInternalCalcStore;
    QHash<const TField*, QHash<QString, TVariant>> FLookupCaches;

    // Filtering.
    QString FFilterText;
    std::unique_ptr<TFilterExpression> FFilterExpression;
    TFilterRecordEvent FOnFilterRecord;
    std::shared_ptr<const TRecordTextTest> FFilterRecordTest;
    quint64 FFilterRecordSerial = 0;
    bool FFiltered = false;

    TDataSetState FState = dsInactive;
    TDataSetState FDisableState = dsInactive;
    TDataEvent FEnableEvent = deDataSetChange;
    qint64 FDisableCount = 0;
    quint32 FBookmarkTag = 0;
    bool FBOF = true;
    bool FEOF = true;
    bool FModified = false;
    bool FDefaultFields = false;
    bool FAutoCalcFields = true;
    bool FOpening = false;
    bool FOldValid = false;
    bool FHasCalcFields = false;
    int FCalcSlotCount = 0;
    std::vector<int> FInternalCalcSlots;
    std::vector<QPointer<TField>> FFilterFields;
};

} // namespace orvo
