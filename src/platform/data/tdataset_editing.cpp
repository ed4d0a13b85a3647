// Editing: edit, insert, append, post, cancel, delete.
#include "platform/data/tdataset.h"

#include "platform/core/texceptionhandler.h"

#include "platform/core/tscopecleanup.h"
#include "platform/data/tfield.h"
#include "platform/data/tfields.h"

namespace orvo {

void TDataSet::Edit()
{
    if (FState == dsEdit || FState == dsInsert)
        return;
    if (FRecordCount == 0) {
        Insert();
        return;
    }
    CheckBrowseMode();
    CheckCanModify();
    DoEvent(BeforeEdit);
    CheckOperation([this] { InternalEdit(); }, OnEditError);
    FOldBuffer = ActiveBuffer();
    GetCalcFields(ActiveBuffer());
    SetState(dsEdit);
    FOldValid = true;
    DataEvent(deRecordChange);
    DoEvent(AfterEdit);
}

void TDataSet::BeginInsertAppend()
{
    CheckBrowseMode();
    CheckCanModify();
    DoEvent(BeforeInsert);
}

void TDataSet::InitRecord(TRecordBuffer& buffer)
{
    buffer.Bookmark.clear();
    buffer.RecordId = -1;
    buffer.Extra.reset();
    for (TVariant& value : buffer.CalcValues)
        value = TVariant::Null();
    InternalInitRecord(buffer);
    ClearCalcFields(buffer);
    buffer.BookmarkFlag = bfInserted;
}

void TDataSet::Insert()
{
    BeginInsertAppend();
    // The new record goes before the current one: it carries the current record's bookmark.
    const QByteArray current = FRecordCount > 0 ? ActiveBuffer().Bookmark : QByteArray();
    MoveBuffer(FRecordCount, FActiveRecord);
    CursorPosChanged();
    TRecordBuffer& buffer = ActiveBuffer();
    InitRecord(buffer);
    if (FRecordCount == 0)
        buffer.BookmarkFlag = bfBOF;
    else
        buffer.Bookmark = current;
    if (FRecordCount < FBufferCount)
        ++FRecordCount;
    InternalInsert();
    EndInsertAppend();
}

void TDataSet::Append()
{
    BeginInsertAppend();
    ClearBuffers();
    TRecordBuffer& buffer = *FBuffers[0];
    InitRecord(buffer);
    buffer.BookmarkFlag = bfEOF;
    FRecordCount = 1;
    FBOF = false;
    GetPriorRecords();
    InternalInsert();
    EndInsertAppend();
}

void TDataSet::EndInsertAppend()
{
    FOldBuffer = ActiveBuffer();
    SetState(dsInsert);
    FOldValid = true;
    {
        // Staying in insert state over a buffer that Resync refilled would later post a
        // copy of an existing record; the failed insert is abandoned instead.
        const auto abandon = OnUnwind([this] {
            TExceptionHandler::Guard([this] {
                UpdateCursorPos();
                InternalCancel();
            });
            SetState(dsBrowse);
            Resync({});
        });
        DoOnNewRecord();
    }
    FModified = false;
    DataEvent(deDataSetChange);
    DoEvent(AfterInsert);
}

void TDataSet::CheckRequiredFields()
{
    for (TField* field : FFields->List()) {
        if (field->FieldKind() != fkData || !field->Required() || field->ReadOnly() || !field->IsNull())
            continue;
        TExceptionHandler::Guard([field] { field->FocusControl(); });
        throw EDatabaseError(QStringLiteral("Field '%1' must have a value").arg(field->DisplayName()));
    }
}

void TDataSet::CheckOperation(const std::function<void()>& operation, const TDataSetErrorEvent& errorEvent)
{
    for (;;) {
        try {
            UpdateCursorPos();
            operation();
            return;
        } catch (const EDatabaseError& error) {
            TDataAction action = daFail;
            if (errorEvent)
                errorEvent(this, error, action);
            if (action == daFail)
                throw;
            if (action == daAbort)
                throw EAbort();
        }
    }
}

QByteArray TDataSet::PostedRecordIdentity()
{
    // After InternalPost the descendant's cursor stands on the posted record.
    TRecordBuffer probe = NewBuffer();
    CursorPosChanged();
    if (GetRecord(probe, gmCurrent, false) != grOK)
        return QByteArray();
    return RecordIdentity(probe);
}

void TDataSet::Post()
{
    UpdateRecord();
    if (FState != dsEdit && FState != dsInsert)
        return;
    DataEvent(deCheckBrowseMode);
    DoEvent(BeforePost);
    CheckRequiredFields();
    const bool inserting = FState == dsInsert;
    CheckOperation([this] { InternalPost(); }, OnPostError);
    if (!FInternalCalcSlots.empty()) {
        const QByteArray identity = inserting ? PostedRecordIdentity() : RecordIdentity(ActiveBuffer());
        StoreInternalCalcValues(identity, ActiveBuffer());
    }
    SetState(dsBrowse);
    Resync({});
    DoEvent(AfterPost);
}

void TDataSet::Cancel()
{
    if (FState != dsEdit && FState != dsInsert)
        return;
    DataEvent(deCheckBrowseMode);
    DoEvent(BeforeCancel);
    const bool scrolls = FState == dsInsert;
    if (scrolls)
        DoBeforeScroll();
    UpdateCursorPos();
    InternalCancel();
    SetState(dsBrowse);
    Resync({});
    DoEvent(AfterCancel);
    if (scrolls)
        DoAfterScroll();
}

void TDataSet::Delete()
{
    CheckActive();
    if (FState == dsInsert || FState == dsSetKey) {
        Cancel();
        return;
    }
    if (FRecordCount == 0)
        throw EDatabaseError(QStringLiteral("Cannot perform this operation on an empty dataset"));
    CheckCanModify();
    DataEvent(deCheckBrowseMode);
    DoEvent(BeforeDelete);
    DoBeforeScroll();
    const QByteArray identity = RecordIdentity(ActiveBuffer());
    CheckOperation([this] { InternalDelete(); }, OnDeleteError);
    FInternalCalcStore.remove(identity);
    SetState(dsBrowse);
    Resync({});
    DoEvent(AfterDelete);
    DoAfterScroll();
}

void TDataSet::UpdateRecord()
{
    if (!dsEditModes.Contains(FState))
        throw EDatabaseError(QStringLiteral("Dataset not in edit or insert mode"));
    DataEvent(deUpdateRecord);
}

void TDataSet::ClearFields()
{
    if (!dsEditModes.Contains(FState))
        throw EDatabaseError(QStringLiteral("Dataset not in edit or insert mode"));
    DataEvent(deCheckBrowseMode);
    TRecordBuffer& buffer = ActiveBuffer();
    InternalInitRecord(buffer);
    for (int slot : FInternalCalcSlots)
        buffer.CalcValues[std::size_t(slot)] = TVariant::Null();
    if (FState != dsSetKey)
        GetCalcFields(buffer);
    DataEvent(deRecordChange);
}

} // namespace orvo
