#pragma once

#include "platform/core/tvariant.h"
#include "platform/data/tdatasetenums.h"

#include <QByteArray>
#include <QtGlobal>

#include <memory>
#include <vector>

namespace orvo {

/// One record as the dataset's record window holds it.
///
/// - `Bookmark`: the descendant's bytes that identify the record (what
///   InternalGotoBookmark receives back); empty for a record not yet posted.
/// - `BookmarkFlag`: bfCurrent for a fetched record, bfInserted for a new one,
///   bfBOF/bfEOF for the placeholders of an empty or appended window.
/// - `Values`: one slot per field definition, indexed by `FieldNo - 1`. A slot
///   left unassigned (varEmpty) has not been fetched yet; the dataset then asks
///   the descendant's FetchFieldValue once and keeps the answer, so a
///   descendant may fill the slots in GetRecord or lazily. Null is varNull.
/// - `CalcValues`: one slot per calculated, lookup and internal-calc field,
///   numbered by the dataset (descendants never touch them).
/// - `RecordId` and `Extra`: the descendant's own payload (a row id, a record
///   index, any shared state); the dataset copies them with the buffer and
///   otherwise leaves them alone.
///
/// Buffers are plain values: copying one copies its slots, whose strings and
/// byte arrays are shared implicitly, so a copy costs no deep allocation.
struct TRecordBuffer
{
    QByteArray Bookmark;
    TBookmarkFlag BookmarkFlag = bfCurrent;
    std::vector<TVariant> Values;
    std::vector<TVariant> CalcValues;
    qint64 RecordId = -1;
    std::shared_ptr<void> Extra;

    /// Sizes the slot areas, leaving every slot unassigned.
    void Reset(std::size_t valueCount, std::size_t calcCount)
    {
        Values.assign(valueCount, TVariant());
        CalcValues.assign(calcCount, TVariant());
    }
    /// Forgets the fetched values so that each is fetched again on first read.
    void ClearValues()
    {
        for (TVariant& v : Values)
            v = TVariant();
    }
};

} // namespace orvo
