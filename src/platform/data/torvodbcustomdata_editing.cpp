// Editing through the descendant's hooks: edit, insert, post and delete.
#include "platform/data/torvodbcustomdata.h"

#include "platform/core/tscopecleanup.h"
#include "platform/data/tfield.h"

namespace orvo {

void TOrvoDBCustomData::InternalEdit()
{
    FModifiedFields.clear();
}

void TOrvoDBCustomData::DoOnNewRecord()
{
    FModifiedFields.clear();
    TDataSet::DoOnNewRecord();
}

void TOrvoDBCustomData::InternalPost()
{
    PostBuffer(ActiveBuffer(), State() == dsInsert);
}

void TOrvoDBCustomData::InternalAddRecord(TRecordBuffer& buffer, bool append)
{
    if (append)
        buffer.BookmarkFlag = bfEOF;
    PostBuffer(buffer, true);
}

void TOrvoDBCustomData::PostBuffer(const TRecordBuffer& buffer, bool inserting)
{
    const auto moved = OnUnwind([this] { CursorPosChanged(); });
    CheckSourceCount();
    // Inserted with Insert: the index of the record it goes before; appended: the count;
    // in an empty dataset: 0.
    const qint64 index = GetBufferRecIndex(buffer);
    if (inserting) {
        InternalInsertRecord(index);
        // A source that took no record must not have values written past its end, nor a
        // record of its own deleted in the name of rolling back.
        if (SourceCount() != FRecordCount + 1)
            throw EDatabaseError(
                QStringLiteral("The source of dataset '%1' took no new record").arg(objectName()));
        const auto rollback = OnUnwind([this, index] { InternalDeleteRecord(index); });
        StoreModifiedFields(buffer, index);
        ++FRecordCount;
    } else {
        StoreModifiedFields(buffer, index);
    }
    // The cursor stands on the posted record, where the window is fetched again.
    FCurrentIndex = index;
}

void TOrvoDBCustomData::StoreModifiedFields(const TRecordBuffer& buffer, qint64 index)
{
    // Fields never written are not stored; a field set to Null is stored as Null.
    for (const QPointer<TField>& field : std::vector<QPointer<TField>>(FModifiedFields)) {
        if (!field || field->FieldKind() != fkData)
            continue;
        const auto slot = std::size_t(field->FieldNo() - 1);
        if (slot >= buffer.Values.size() || buffer.Values[slot].IsEmpty())
            continue;
        InternalSetFieldValue(index, field, buffer.Values[slot]);
    }
}

void TOrvoDBCustomData::InternalDelete()
{
    CheckSourceCount();
    const qint64 index = GetActiveRecIndex();
    InternalDeleteRecord(index);
    if (SourceCount() != FRecordCount - 1) {
        CursorPosChanged();
        throw EDatabaseError(
            QStringLiteral("The source of dataset '%1' kept the record it was to delete").arg(objectName()));
    }
    --FRecordCount;
    // The record after the deleted one now has its index; the window is fetched from there.
    FCurrentIndex = index;
}

} // namespace orvo
