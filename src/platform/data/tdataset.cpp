#include "platform/data/tdataset.h"

#include "platform/core/texceptionhandler.h"
#include "platform/core/tscopecleanup.h"
#include "platform/data/tblobfield.h"
#include "platform/data/tblobstream.h"
#include "platform/data/tdatalink.h"
#include "platform/data/tdatasource.h"
#include "platform/data/tfield.h"
#include "platform/data/tfielddefs.h"
#include "platform/data/tfields.h"
#include "platform/data/tfilterexpression.h"

#include <atomic>

namespace orvo {

namespace {

// Every dataset stamps its bookmark strings with its own tag, so that a
// bookmark handed to the wrong dataset is recognised instead of being misread.
std::atomic<quint32> NextBookmarkTag{1};

bool IsDataOrInternalCalc(const TField* field)
{
    return field->FieldKind() == fkData || field->FieldKind() == fkInternalCalc;
}

} // namespace

TDataSet::TDataSet(QObject* owner)
    : QObject(owner), FFields(std::make_unique<TFields>(this)),
      FFieldDefs(std::make_unique<TFieldDefs>(this)), FBookmarkTag(NextBookmarkTag++)
{
    // One buffer always exists so that ActiveBuffer() is valid even while inactive.
    FBuffers.push_back(std::make_unique<TRecordBuffer>());
}

TDataSet::~TDataSet()
{
    // A descendant closes its cursor in its own destructor (the pure virtuals are gone by now);
    // what is left is to let the links go and to free the fields this dataset made.
    FState = dsInactive;
    for (TDataSource* source : QList<TDataSource*>(FDataSources))
        source->DataSetDestroyed();
    FDataSources.clear();
    TExceptionHandler::Guard([this] { DestroyDefaultFields(); });
    for (TField* field : QList<TField*>(FFields->List()))
        TExceptionHandler::Guard([field] { field->SetDataSet(nullptr); });
}

// --- Opening and state --------------------------------------------------------------------------

bool TDataSet::Active() const
{
    return FState != dsInactive && FState != dsOpening;
}

void TDataSet::SetActive(bool active)
{
    if (active)
        Open();
    else
        Close();
}

void TDataSet::Open()
{
    if (Active())
        return;
    DoEvent(BeforeOpen);
    OpenCursor();
    SetState(dsBrowse);
    DoEvent(AfterOpen);
}

void TDataSet::Close()
{
    if (!Active())
        return;
    DoEvent(BeforeClose);
    SetState(dsInactive);
    CloseCursor();
    DoEvent(AfterClose);
}

void TDataSet::OpenCursor()
{
    // Default fields are made when no persistent data field exists; persistent calculated,
    // lookup and internal-calc fields stay and are joined by the default data fields.
    FDefaultFields = std::none_of(FFields->List().begin(), FFields->List().end(),
                                  [](const TField* f) { return f->FieldKind() == fkData; });
    FOpening = true;
    const auto close = OnUnwind([this] {
        FOpening = false;
        CloseCursor();
    });
    InternalOpen();
    InitFieldDefs();
    if (FDefaultFields)
        CreateFields();
    BindFields(true);
    FFilterExpression = ParseFilter(FFilterText, FFilterFields);
    AllocateBuffers();
    InternalFirst();
    UpdateBufferCount();
    FBOF = true;
    FOpening = false;
}

void TDataSet::CloseCursor()
{
    FBufferCount = 0;
    ClearBuffers();
    FOldValid = false;
    FCalcBuffer = nullptr;
    FFilterBuffer = nullptr;
    FFilterExpression.reset();
    FFilterFields.clear();
    FInternalCalcStore.clear();
    FLookupCaches.clear();
    const bool wasOpen = IsCursorOpen();
    {
        const auto unbind = Finally([this] {
            BindFields(false);
            DestroyDefaultFields();
        });
        if (wasOpen)
            InternalClose();
    }
    FBuffers.resize(1);
    *FBuffers[0] = TRecordBuffer();
}

void TDataSet::InitFieldDefs()
{
    FFieldDefs->SetUpdated(false);
    FFieldDefs->Update();
}

void TDataSet::CreateFields()
{
    int position = 0;
    for (int i = 0; i < FFieldDefs->Count(); ++i) {
        const TFieldDef* def = FFieldDefs->Items(i);
        if (FFields->FindField(def->Name()))
            continue;
        TField* field = def->CreateField(this);
        FFields->SetFieldIndex(field, position++);
    }
}

void TDataSet::DestroyDefaultFields()
{
    if (!FDefaultFields)
        return;
    FDefaultFields = false;
    for (TField* field : QList<TField*>(FFields->List()))
        if (field->FieldKind() == fkData && field->parent() == this)
            delete field;
}

void TDataSet::BindFields(bool binding)
{
    FCalcSlots.clear();
    FInternalCalcSlots.clear();
    FCalcSlotCount = 0;
    FHasCalcFields = false;
    for (TField* field : FFields->List()) {
        if (binding) {
            if (field->FieldKind() == fkData) {
                const TFieldDef* def = FFieldDefs->Find(field->FieldName());
                if (!def)
                    throw EDatabaseError(QStringLiteral("Field '%1' not found").arg(field->DisplayName()));
                field->SetFieldNo(def->FieldNo());
            } else {
                AssignCalcSlot(field);
            }
        }
        field->Bind(binding);
    }
}

void TDataSet::AssignCalcSlot(TField* field)
{
    const int slot = FCalcSlotCount++;
    FCalcSlots.insert(field, slot);
    field->SetFieldNo(-(slot + 1));
    if (field->FieldKind() == fkInternalCalc)
        FInternalCalcSlots.push_back(slot);
    else
        FHasCalcFields = true;
}

TRecordBuffer TDataSet::NewBuffer() const
{
    TRecordBuffer buffer;
    buffer.Reset(std::size_t(FFieldDefs->Count()), std::size_t(FCalcSlotCount));
    return buffer;
}

void TDataSet::AllocateBuffers()
{
    FBuffers.clear();
    FBuffers.push_back(std::make_unique<TRecordBuffer>(NewBuffer()));
    FTempBuffer = NewBuffer();
    FOldBuffer = NewBuffer();
    FBufferCount = 0;
    ClearBuffers();
}

void TDataSet::SetState(TDataSetState state)
{
    if (FState == state)
        return;
    FState = state;
    FModified = false;
    if (state == dsBrowse || state == dsInactive)
        FOldValid = false;
    DataEvent(deUpdateState);
}

TDataSetState TDataSet::SetTempState(TDataSetState state)
{
    const TDataSetState previous = FState;
    FState = state;
    ++FDisableCount;
    return previous;
}

void TDataSet::RestoreState(TDataSetState state)
{
    FState = state;
    --FDisableCount;
}

bool TDataSet::IsEmpty() const
{
    return FActiveRecord >= FRecordCount;
}

bool TDataSet::CanModify() const
{
    return GetCanModify();
}

bool TDataSet::IsSequenced() const
{
    return false;
}

bool TDataSet::IsUniDirectional() const
{
    return false;
}

TDataSource* TDataSet::DataSource() const
{
    return nullptr;
}

bool TDataSet::IsLinkedTo(const TDataSource* source) const
{
    // Walk up the chain of masters; the depth bound guards against a chain that
    // was made circular behind our back.
    const TDataSet* dataSet = this;
    for (int depth = 0; dataSet && depth < 1000; ++depth) {
        const TDataSource* master = dataSet->DataSource();
        if (!master)
            return false;
        if (master == source)
            return true;
        dataSet = master->DataSet();
    }
    return dataSet != nullptr;
}

void TDataSet::CheckActive() const
{
    if (!Active())
        throw EDatabaseError(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

void TDataSet::CheckInactive() const
{
    if (Active())
        throw EDatabaseError(QStringLiteral("Cannot perform this operation on an open dataset"));
}

void TDataSet::CheckCanModify() const
{
    if (!CanModify())
        throw EDatabaseError(QStringLiteral("Cannot modify a read-only dataset"));
}

void TDataSet::DoEvent(const TDataSetNotifyEvent& event)
{
    if (event)
        event(this);
}

void TDataSet::DoBeforeScroll()
{
    DoEvent(BeforeScroll);
}

void TDataSet::DoAfterScroll()
{
    DoEvent(AfterScroll);
}

// --- Notifications ------------------------------------------------------------------------------

void TDataSet::DataEvent(TDataEvent event, TField* field, int info)
{
    bool notify = !ControlsDisabled() && FState != dsBlockRead;
    switch (event) {
    case deFieldChange:
        if (field && IsDataOrInternalCalc(field))
            FModified = true;
        if (FState != dsSetKey && FAutoCalcFields && FHasCalcFields)
            GetCalcFields(ActiveBuffer());
        break;
    case deFieldListChange:
        // Links must drop a field that is going away even while controls are disabled.
        notify = field != nullptr || notify;
        break;
    case deLayoutChange:
        if (ControlsDisabled())
            FEnableEvent = deLayoutChange;
        break;
    case deFocusControl:
        if (notify)
            NotifyFocusControl(field);
        return;
    default:
        break;
    }
    if (notify)
        for (TDataSource* source : QList<TDataSource*>(FDataSources))
            if (FDataSources.contains(source))
                source->DataEvent(event, field, info);
    if (event == deFieldChange && field)
        field->Change();
}

void TDataSet::NotifyFocusControl(TField* field)
{
    // The first control that takes the focus clears `target`, which ends the round.
    TField* target = field;
    for (TDataSource* source : QList<TDataSource*>(FDataSources)) {
        if (source->State() == dsInactive)
            continue;
        for (TDataLink* link : QList<TDataLink*>(source->DataLinks())) {
            if (!target)
                return;
            if (link->Active())
                link->FocusControl(&target);
        }
    }
}

void TDataSet::DisableControls()
{
    if (FDisableCount == 0) {
        FDisableState = FState;
        FEnableEvent = deDataSetChange;
    }
    ++FDisableCount;
}

void TDataSet::EnableControls()
{
    if (FDisableCount == 0)
        return;
    if (--FDisableCount != 0)
        return;
    if (FDisableState != FState)
        DataEvent(deUpdateState);
    if (FDisableState != dsInactive && FState != dsInactive)
        DataEvent(FEnableEvent);
}

void TDataSet::AddDataSource(TDataSource* source)
{
    if (!FDataSources.contains(source))
        FDataSources.append(source);
    UpdateBufferCount();
}

void TDataSet::RemoveDataSource(TDataSource* source)
{
    FDataSources.removeOne(source);
    UpdateBufferCount();
}

// --- Fields -------------------------------------------------------------------------------------

TField* TDataSet::FieldByName(const QString& name) const
{
    return FFields->FieldByName(name);
}

TField* TDataSet::FindField(const QString& name) const
{
    return FFields->FindField(name);
}

QStringList TDataSet::FieldNameList(const QString& names) const
{
    QStringList result;
    for (const QString& part : names.split(QLatin1Char(';'))) {
        const QString name = part.trimmed();
        if (!name.isEmpty())
            result.append(name);
    }
    return result;
}

TVariant TDataSet::FieldValues(const QString& fieldNames) const
{
    const QStringList names = FieldNameList(fieldNames);
    if (names.size() == 1)
        return FieldByName(names.first())->AsVariant();
    TVariantArray values;
    values.reserve(std::size_t(names.size()));
    for (const QString& name : names)
        values.push_back(FieldByName(name)->AsVariant());
    return VarArrayOf(std::move(values));
}

void TDataSet::SetFieldValues(const QString& fieldNames, const TVariant& values)
{
    const QStringList names = FieldNameList(fieldNames);
    if (names.size() == 1 && !values.IsArray()) {
        FieldByName(names.first())->SetAsVariant(values);
        return;
    }
    if (!values.IsArray() || values.ArrayHighBound() + 1 != names.size())
        throw EDatabaseError(
            QStringLiteral("%1 values are needed for the fields '%2'").arg(names.size()).arg(fieldNames));
    for (int i = 0; i < names.size(); ++i)
        FieldByName(names[i])->SetAsVariant(values[i]);
}

void TDataSet::AddField(TField* field)
{
    if (!field || FFields->IndexOf(field) >= 0)
        return;
    if (!field->FieldName().isEmpty() && FFields->FindField(field->FieldName()))
        throw EDatabaseError(QStringLiteral("Duplicate field name '%1'").arg(field->FieldName()));
    if (!Active() && !FOpening) {
        FFields->Add(field);
        return;
    }
    if (FOpening) {
        // Default fields join while the cursor opens; BindFields numbers them.
        FFields->Add(field);
        return;
    }
    if (field->FieldKind() != fkInternalCalc)
        throw EDatabaseError(QStringLiteral("Cannot perform this operation on an open dataset"));
    FFields->Add(field);
    AssignCalcSlot(field);
    const auto grow = [](TRecordBuffer& buffer) { buffer.CalcValues.push_back(TVariant::Null()); };
    for (auto& buffer : FBuffers)
        grow(*buffer);
    grow(FTempBuffer);
    grow(FOldBuffer);
    field->Bind(true);
    DataEvent(deLayoutChange);
}

void TDataSet::RemoveField(TField* field)
{
    if (FFields->IndexOf(field) < 0)
        return;
    DataEvent(deFieldListChange, field);
    FFields->Remove(field);
    FCalcSlots.remove(field);
    FLookupCaches.remove(field);
    if (Active())
        DataEvent(deLayoutChange);
}

TRecordBuffer* TDataSet::BufferForState()
{
    switch (FState) {
    case dsBrowse:
    case dsBlockRead:
        return IsEmpty() ? nullptr : &ActiveBuffer();
    case dsEdit:
    case dsInsert:
    case dsNewValue:
    case dsCurValue:
        return &ActiveBuffer();
    case dsOldValue:
        if (FOldValid)
            return &FOldBuffer;
        return IsEmpty() ? nullptr : &ActiveBuffer();
    case dsCalcFields:
    case dsInternalCalc:
        return FCalcBuffer;
    case dsFilter:
        return FFilterBuffer;
    default:
        return nullptr;
    }
}

bool TDataSet::GetFieldData(const TField* field, TVariant& value)
{
    value = TVariant::Null();
    TRecordBuffer* buffer = field ? BufferForState() : nullptr;
    if (!buffer)
        return false;
    if (field->FieldKind() == fkData) {
        const int slot = field->FieldNo() - 1;
        if (slot < 0 || std::size_t(slot) >= buffer->Values.size())
            return false;
        TVariant& stored = buffer->Values[std::size_t(slot)];
        if (stored.IsEmpty()) {
            // Fetched once per buffer fill; a descendant may leave slots empty in GetRecord.
            stored = FetchFieldValue(*buffer, field);
            if (stored.IsEmpty())
                stored = TVariant::Null();
        }
        value = stored;
    } else {
        const auto it = FCalcSlots.constFind(field);
        if (it == FCalcSlots.constEnd() || std::size_t(*it) >= buffer->CalcValues.size())
            return false;
        value = buffer->CalcValues[std::size_t(*it)];
        if (value.IsEmpty())
            value = TVariant::Null();
    }
    return !value.IsNull();
}

void TDataSet::SetFieldData(TField* field, const TVariant& value)
{
    static constexpr TSet<TDataSetState> writable{dsEdit,   dsInsert,   dsSetKey,      dsCalcFields,
                                                  dsFilter, dsNewValue, dsInternalCalc};
    if (!writable.Contains(FState))
        throw EDatabaseError(QStringLiteral("Dataset not in edit or insert mode"));
    TRecordBuffer* buffer = BufferForState();
    if (!buffer)
        throw EDatabaseError(QStringLiteral("Dataset not in edit or insert mode"));
    const TVariant stored = value.IsEmpty() ? TVariant::Null() : value;
    if (field->FieldKind() == fkData) {
        const int slot = field->FieldNo() - 1;
        if (slot < 0 || std::size_t(slot) >= buffer->Values.size())
            throw EDatabaseError(QStringLiteral("Field '%1' not found").arg(field->DisplayName()));
        buffer->Values[std::size_t(slot)] = stored;
    } else {
        const auto it = FCalcSlots.constFind(field);
        if (it == FCalcSlots.constEnd() || std::size_t(*it) >= buffer->CalcValues.size())
            throw EDatabaseError(QStringLiteral("Field '%1' not found").arg(field->DisplayName()));
        buffer->CalcValues[std::size_t(*it)] = stored;
    }
    static constexpr TSet<TDataSetState> silent{dsCalcFields, dsFilter, dsNewValue, dsInternalCalc};
    if (!silent.Contains(FState))
        DataEvent(deFieldChange, field);
}

TVariant TDataSet::OldFieldValue(const TField* field)
{
    const TDataSetState saved = SetTempState(dsOldValue);
    const auto restore = Finally([this, saved] { RestoreState(saved); });
    TVariant value;
    GetFieldData(field, value);
    return value;
}

QIODevice* TDataSet::CreateBlobStream(TField* field, TBlobStreamMode mode)
{
    auto* blob = qobject_cast<TBlobField*>(field);
    if (!blob)
        throw EDatabaseError(
            QStringLiteral("Field '%1' is not a blob field").arg(field ? field->DisplayName() : QString()));
    static constexpr QIODevice::OpenModeFlag modes[] = {QIODevice::ReadOnly, QIODevice::WriteOnly,
                                                        QIODevice::ReadWrite};
    return new TBlobStream(blob, modes[mode]);
}

// --- Calculated fields --------------------------------------------------------------------------

void TDataSet::GetCalcFields(TRecordBuffer& buffer)
{
    if (!FHasCalcFields)
        return;
    TRecordBuffer* savedBuffer = FCalcBuffer;
    FCalcBuffer = &buffer;
    const TDataSetState saved = SetTempState(dsCalcFields);
    const auto restore = Finally([this, saved, savedBuffer] {
        RestoreState(saved);
        FCalcBuffer = savedBuffer;
    });
    ClearCalcFields(buffer);
    CalculateLookups(buffer);
    DoEvent(OnCalcFields);
}

void TDataSet::ClearCalcFields(TRecordBuffer& buffer)
{
    for (auto it = FCalcSlots.constBegin(); it != FCalcSlots.constEnd(); ++it)
        if (it.key()->FieldKind() != fkInternalCalc && std::size_t(*it) < buffer.CalcValues.size())
            buffer.CalcValues[std::size_t(*it)] = TVariant::Null();
}

namespace {

// A text key for the lookup cache that keeps kinds apart ("1" the text is not 1 the number).
QString LookupCacheKey(const TVariant& keys)
{
    const auto append = [](QString& key, const TVariant& v) {
        key += QString::number(int(v.VarType()));
        key += QLatin1Char(':');
        if (v.VarType() == varDouble || v.VarType() == varDate)
            key += QString::number(v.AsFloat(), 'g', 17);
        else if (v.VarType() == varBytes)
            key += QString::fromLatin1(v.AsBytes().toHex());
        else
            key += v.AsString();
        key += QChar(0x1f);
    };
    QString key;
    if (keys.IsArray())
        for (const TVariant& v : keys.Elements())
            append(key, v);
    else
        append(key, keys);
    return key;
}

bool HasNullKey(const TVariant& keys)
{
    if (!keys.IsArray())
        return keys.IsClear();
    return std::any_of(keys.Elements().begin(), keys.Elements().end(),
                       [](const TVariant& v) { return v.IsClear(); });
}

} // namespace

void TDataSet::CalculateLookups(TRecordBuffer& buffer)
{
    for (TField* field : FFields->List()) {
        if (field->FieldKind() != fkLookup)
            continue;
        const auto slot = FCalcSlots.constFind(field);
        TDataSet* source = field->LookupDataSet();
        if (slot == FCalcSlots.constEnd() || !source || !source->Active() || field->KeyFields().isEmpty())
            continue;
        const TVariant keys = FieldValues(field->KeyFields());
        if (HasNullKey(keys))
            continue;
        TVariant value = LookupValue(field, keys);
        try {
            value = field->CanonicalValue(value);
        } catch (const EConvertError&) {
            // Keep the looked-up value as it came rather than fail the whole record.
        }
        buffer.CalcValues[std::size_t(*slot)] = value;
    }
}

TVariant TDataSet::LookupValue(const TField* field, const TVariant& keyValues)
{
    TDataSet* source = field->LookupDataSet();
    if (!field->LookupCache())
        return source->Lookup(field->LookupKeyFields(), keyValues, field->LookupResultField());
    QHash<QString, TVariant>& cache = FLookupCaches[field];
    const QString key = LookupCacheKey(keyValues);
    const auto hit = cache.constFind(key);
    if (hit != cache.constEnd())
        return *hit;
    const TVariant value = source->Lookup(field->LookupKeyFields(), keyValues, field->LookupResultField());
    cache.insert(key, value);
    return value;
}

// --- Internal-calc values kept per record -----------------------------------------------------

std::vector<TVariant> TDataSet::InternalCalcValues(const TRecordBuffer& buffer) const
{
    std::vector<TVariant> values(static_cast<std::size_t>(FCalcSlotCount));
    for (int slot : FInternalCalcSlots)
        if (std::size_t(slot) < buffer.CalcValues.size())
            values[std::size_t(slot)] = buffer.CalcValues[std::size_t(slot)];
    return values;
}

void TDataSet::StoreInternalCalcValues(const QByteArray& identity, const TRecordBuffer& buffer)
{
    if (FInternalCalcSlots.empty() || identity.isEmpty())
        return;
    FInternalCalcStore.insert(identity, InternalCalcValues(buffer));
}

void TDataSet::LoadInternalCalcValues(TRecordBuffer& buffer) const
{
    if (FInternalCalcSlots.empty())
        return;
    const auto it = FInternalCalcStore.constFind(RecordIdentity(buffer));
    for (int slot : FInternalCalcSlots) {
        const auto index = std::size_t(slot);
        if (index >= buffer.CalcValues.size())
            continue;
        const bool stored = it != FInternalCalcStore.constEnd() && index < it->size();
        buffer.CalcValues[index] = stored ? (*it)[index] : TVariant::Null();
    }
}

// --- Default implementations of the descendant API ---------------------------------------------

void TDataSet::InternalSetToRecord(const TRecordBuffer& buffer)
{
    InternalGotoBookmark(buffer.Bookmark);
}

TVariant TDataSet::FetchFieldValue(const TRecordBuffer&, const TField*)
{
    return TVariant::Null();
}

void TDataSet::InternalInitRecord(TRecordBuffer& buffer)
{
    for (TVariant& value : buffer.Values)
        value = TVariant::Null();
}

QByteArray TDataSet::RecordIdentity(const TRecordBuffer& buffer) const
{
    return buffer.Bookmark;
}

void TDataSet::InternalEdit() {}
void TDataSet::InternalInsert() {}
void TDataSet::InternalPost() {}
void TDataSet::InternalCancel() {}
void TDataSet::InternalDelete() {}
void TDataSet::InternalAddRecord(TRecordBuffer&, bool) {}
void TDataSet::InternalRefresh() {}

void TDataSet::InternalHandleException()
{
    TExceptionHandler::HandleCurrent();
}

bool TDataSet::GetCanModify() const
{
    // A descendant that stores records says so; the base cannot store anything.
    return false;
}

void TDataSet::DoOnNewRecord()
{
    DoEvent(OnNewRecord);
}

} // namespace orvo
