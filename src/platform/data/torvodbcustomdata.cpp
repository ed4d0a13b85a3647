// Opening, the cursor, reading values, bookmarks and record numbers.
#include "platform/data/torvodbcustomdata.h"

#include "platform/core/texceptionhandler.h"
#include "platform/data/tfield.h"
#include "platform/data/tfielddefs.h"
#include "platform/data/tfields.h"
#include "platform/data/tfieldtype.h"

#include <QtEndian>

#include <algorithm>
#include <limits>

namespace orvo {

namespace {

constexpr int BookmarkBytes = int(sizeof(qint64));

int ClampToInt(qint64 value)
{
    return int(std::min<qint64>(value, std::numeric_limits<int>::max()));
}

bool IsInt32Type(TFieldType type)
{
    return type == ftInteger || type == ftAutoInc;
}

} // namespace

TOrvoDBCustomData::TOrvoDBCustomData(QObject* owner) : TDataSet(owner) {}

TOrvoDBCustomData::~TOrvoDBCustomData()
{
    // Closing asks the descendant nothing, so it may run here, after the descendant is gone.
    TExceptionHandler::Guard([this] { Close(); });
}

// --- Opening ------------------------------------------------------------------------------------

void TOrvoDBCustomData::InternalOpen()
{
    FCursorOpen = true;
    FCurrentIndex = -1;
    FScanStart = -1;
    SetRecordCount(InternalGetRecordCount());
}

void TOrvoDBCustomData::InternalClose()
{
    SetRecordCount(0);
    FModifiedFields.clear();
    FStateBuffer = nullptr;
    FSignatureTaken = false;
    FCursorOpen = false;
}

void TOrvoDBCustomData::InternalInitFieldDefs()
{
    if (FieldDefs()->Count() == 0)
        CreateFieldDefs();
}

void TOrvoDBCustomData::CreateFieldDefs()
{
    for (const TField* field : Fields()->List()) {
        if (field->FieldKind() != fkData)
            continue;
        TFieldDef* def =
            FieldDefs()->Add(field->FieldName(), field->DataType(), field->Size(), field->Required());
        if (field->ReadOnly())
            def->SetAttributes(def->Attributes() + TFieldAttributes{faReadonly});
    }
}

qint64 TOrvoDBCustomData::InternalGetRecordCount()
{
    qint64 count = 0;
    DoGetRecordCount(count);
    return count;
}

void TOrvoDBCustomData::DoGetRecordCount(qint64&) {}
void TOrvoDBCustomData::InternalDeleteRecord(qint64) {}
void TOrvoDBCustomData::InternalGetFieldValue(qint64, const TField*, TVariant&) {}
void TOrvoDBCustomData::InternalInsertRecord(qint64) {}
void TOrvoDBCustomData::InternalSetFieldValue(qint64, const TField*, const TVariant&) {}

void TOrvoDBCustomData::SetRecordCount(qint64 count)
{
    CheckInactive();
    FRecordCount = std::max<qint64>(count, 0);
}

qint64 TOrvoDBCustomData::SourceCount()
{
    return std::max<qint64>(InternalGetRecordCount(), 0);
}

void TOrvoDBCustomData::CheckSourceCount()
{
    const qint64 count = SourceCount();
    if (count != FRecordCount)
        throw EDatabaseError(
            QStringLiteral(
                "The source of dataset '%1' now holds %2 records where it held %3: reopen the dataset")
                .arg(objectName())
                .arg(count)
                .arg(FRecordCount));
}

// A value already in its field's form is passed on as it is: Locate reads every record this way.
TVariant TOrvoDBCustomData::SlotValue(const TField* field, TVariant&& value)
{
    if (value.IsClear())
        return TVariant::Null();
    if (!IsInt32Type(field->DataType()))
        return value.IsString() ? std::move(value) : TVariant(value.AsString());
    const qint64 number = value.AsInt64();
    if (!FitsInteger(number))
        throw EDatabaseError(QStringLiteral("Value %1 of field '%2' is not a 32-bit integer")
                                 .arg(number)
                                 .arg(field->DisplayName()));
    return value.VarType() == varInt64 ? std::move(value) : TVariant(number);
}

void TOrvoDBCustomData::CheckSourceType(const TField* field)
{
    switch (field->DataType()) {
    case ftString:
    case ftFixedChar:
    case ftGuid:
    case ftWideString:
    case ftInteger:
    case ftAutoInc:
        return;
    case ftUnknown:
        throw EDatabaseError(QStringLiteral("Field '%1' is of an unknown type").arg(field->DisplayName()));
    default:
        throw EDatabaseError(QStringLiteral("Unsupported field type (%1) in field %2")
                                 .arg(FieldTypeName(field->DataType()), field->DisplayName()));
    }
}

int TOrvoDBCustomData::SourceFieldIndex(const TField* field, int sourceFieldCount) const
{
    const int index = field->FieldNo() - 1;
    if (index < 0 || index >= sourceFieldCount)
        throw EDatabaseError(QStringLiteral("Field '%1' (number %2) is past the %3 fields of the source")
                                 .arg(field->DisplayName())
                                 .arg(field->FieldNo())
                                 .arg(sourceFieldCount));
    return index;
}

// --- The cursor ---------------------------------------------------------------------------------

void TOrvoDBCustomData::InternalFirst()
{
    FCurrentIndex = FScanStart;
    FScanStart = -1;
}

TGetResult TOrvoDBCustomData::GetRecord(TRecordBuffer& buffer, TGetMode mode, bool doCheck)
{
    try {
        CheckSourceCount();
        const qint64 candidate = FCurrentIndex + (mode == gmNext ? 1 : (mode == gmPrior ? -1 : 0));
        if (candidate < 0)
            return grBOF;
        if (candidate >= FRecordCount)
            return grEOF;
        FCurrentIndex = candidate;
        buffer.RecordId = candidate;
        buffer.Bookmark = BookmarkOfIndex(candidate);
        buffer.BookmarkFlag = bfCurrent;
        buffer.ClearValues();
        FStateBuffer = &buffer;
        return grOK;
    } catch (...) {
        if (doCheck)
            throw;
        return grError;
    }
}

void TOrvoDBCustomData::InternalGotoBookmark(const QByteArray& bookmark)
{
    const qint64 index = IndexOfBookmark(bookmark);
    if (index < 0 || index >= FRecordCount)
        throw EDatabaseError(QStringLiteral("Invalid bookmark"));
    FCurrentIndex = index;
}

void TOrvoDBCustomData::InternalSetToRecord(const TRecordBuffer& buffer)
{
    FCurrentIndex = GetBufferRecIndex(buffer);
}

qint64 TOrvoDBCustomData::GetBufferRecIndex(const TRecordBuffer& buffer) const
{
    switch (buffer.BookmarkFlag) {
    case bfBOF:
        return 0;
    case bfEOF:
        return FRecordCount;
    case bfInserted:
        // A new record carries the bookmark of the record it goes before.
        return std::max<qint64>(IndexOfBookmark(buffer.Bookmark), 0);
    case bfCurrent:
        break;
    }
    return buffer.RecordId;
}

const TRecordBuffer* TOrvoDBCustomData::StateBuffer() const
{
    if (State() == dsCalcFields || State() == dsFilter)
        return FStateBuffer;
    return IsEmpty() && State() == dsBrowse ? nullptr : &ActiveBuffer();
}

qint64 TOrvoDBCustomData::GetActiveRecIndex() const
{
    const TRecordBuffer* buffer = StateBuffer();
    return GetBufferRecIndex(buffer ? *buffer : ActiveBuffer());
}

void TOrvoDBCustomData::ClearCalcFields(TRecordBuffer& buffer)
{
    FStateBuffer = &buffer;
    TDataSet::ClearCalcFields(buffer);
}

void TOrvoDBCustomData::InternalRefresh()
{
    // A refresh rereads values, not the count: a source of another size must be reopened.
    CheckSourceCount();
}

// --- Values -------------------------------------------------------------------------------------

bool TOrvoDBCustomData::GetFieldData(const TField* field, TVariant& value)
{
    if (field && field->FieldKind() == fkData)
        CheckSourceType(field);
    return TDataSet::GetFieldData(field, value);
}

TVariant TOrvoDBCustomData::FetchFieldValue(const TRecordBuffer& buffer, const TField* field)
{
    const qint64 index = GetBufferRecIndex(buffer);
    if (buffer.BookmarkFlag != bfCurrent || index < 0 || index >= FRecordCount)
        return TVariant::Null();
    // The source may have shrunk since the record was fetched: never ask it past its end.
    CheckSourceCount();
    return SourceValue(index, field);
}

TVariant TOrvoDBCustomData::SourceValue(qint64 index, const TField* field)
{
    TVariant value = TVariant::Null();
    InternalGetFieldValue(index, field, value);
    return SlotValue(field, std::move(value));
}

void TOrvoDBCustomData::SetFieldData(TField* field, const TVariant& value)
{
    static constexpr TSet<TDataSetState> writable{dsEdit,   dsInsert,   dsSetKey,      dsCalcFields,
                                                  dsFilter, dsNewValue, dsInternalCalc};
    if (!writable.Contains(State()))
        throw EDatabaseError(QStringLiteral("Dataset not in edit or insert mode"));
    if (!field || field->FieldKind() != fkData) {
        TDataSet::SetFieldData(field, value);
        return;
    }
    CheckSourceType(field);
    if (field->ReadOnly() && State() != dsSetKey && State() != dsFilter)
        throw EDatabaseError(QStringLiteral("Field '%1' cannot be modified").arg(field->DisplayName()));
    const TVariant stored = SlotValue(field, TVariant(value));
    NoteModified(field);
    TDataSet::SetFieldData(field, stored);
}

void TOrvoDBCustomData::NoteModified(TField* field)
{
    const auto known = std::find(FModifiedFields.begin(), FModifiedFields.end(), field);
    if (known == FModifiedFields.end())
        FModifiedFields.emplace_back(field);
}

std::vector<TField*> TOrvoDBCustomData::ModifiedFields() const
{
    std::vector<TField*> fields;
    for (const QPointer<TField>& field : FModifiedFields)
        if (field)
            fields.push_back(field.data());
    return fields;
}

// --- Counting and numbering ---------------------------------------------------------------------

int TOrvoDBCustomData::GetRecordCount() const
{
    return Active() ? ClampToInt(FRecordCount) : 0;
}

int TOrvoDBCustomData::GetRecNo() const
{
    if (!Active() || FRecordCount == 0)
        return -1;
    const TRecordBuffer* buffer = StateBuffer();
    if (!buffer || buffer->BookmarkFlag != bfCurrent)
        return -1;
    return ClampToInt(buffer->RecordId + 1);
}

void TOrvoDBCustomData::SetRecNo(int recNo)
{
    CheckBrowseMode();
    // The window is refetched forgivingly, which would show a changed source as empty.
    CheckSourceCount();
    if (recNo < 1 || recNo > FRecordCount || recNo == RecNo())
        return;
    DoBeforeScroll();
    SetCurrentIndex(recNo - 1);
    Resync({rmCenter});
    DoAfterScroll();
}

// --- Bookmarks ----------------------------------------------------------------------------------

QByteArray TOrvoDBCustomData::BookmarkOfIndex(qint64 index)
{
    // Big-endian, so that comparing the bytes of two bookmarks orders them as their records.
    QByteArray bytes(BookmarkBytes, Qt::Uninitialized);
    qToBigEndian<qint64>(index, bytes.data());
    return bytes;
}

qint64 TOrvoDBCustomData::IndexOfBookmark(const QByteArray& bookmark)
{
    if (bookmark.size() != BookmarkBytes)
        return -1;
    const qint64 index = qFromBigEndian<qint64>(bookmark.constData());
    return index < 0 ? -1 : index;
}

bool TOrvoDBCustomData::BookmarkValid(const QByteArray& bookmark) const
{
    const qint64 index = IndexOfBookmark(bookmark);
    return index >= 0 && index < FRecordCount;
}

int TOrvoDBCustomData::CompareBookmarks(const QByteArray& first, const QByteArray& second) const
{
    const qint64 a = IndexOfBookmark(first);
    const qint64 b = IndexOfBookmark(second);
    if (a < 0 || b < 0)
        return (a < 0) == (b < 0) ? 0 : (a < 0 ? 1 : -1);
    return a < b ? -1 : (a > b ? 1 : 0);
}

// --- The field list -----------------------------------------------------------------------------

quint64 TOrvoDBCustomData::FieldsSignature() const
{
    quint64 signature = 0;
    const QList<TField*>& fields = Fields()->List();
    for (int position = 0; position < fields.size(); ++position)
        signature += quint64(quintptr(fields[position])) >> (position % 16);
    return signature;
}

void TOrvoDBCustomData::DataEvent(TDataEvent event, TField* field, int info)
{
    // The signature is first taken when the open dataset announces its state.
    if (!FSignatureTaken && Active()) {
        FFieldsSignature = FieldsSignature();
        FSignatureTaken = true;
    }
    if (event == deLayoutChange && Active() && FSignatureTaken && !ControlsDisabled()) {
        const quint64 signature = FieldsSignature();
        if (signature != FFieldsSignature) {
            // Other fields: the window's buffers are refilled, so nothing read through the
            // old list stays on screen.
            FFieldsSignature = signature;
            CheckBrowseMode();
            UpdateCursorPos();
            Resync({});
        }
    }
    TDataSet::DataEvent(event, field, info);
}

} // namespace orvo
