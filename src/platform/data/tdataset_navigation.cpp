// The record window and moving through it.
#include "platform/data/tdataset.h"

#include "platform/core/tscopecleanup.h"
#include "platform/data/tdatalink.h"
#include "platform/data/tdatasource.h"

#include <algorithm>

namespace orvo {

// --- The record window --------------------------------------------------------------------------

void TDataSet::UpdateBufferCount()
{
    if ((!Active() && !FOpening) || !IsCursorOpen())
        return;
    int wanted = 1;
    for (const TDataSource* source : FDataSources)
        for (const TDataLink* link : source->DataLinks())
            wanted = std::max(wanted, link->BufferCount());
    SetBufferCount(wanted);
}

void TDataSet::SetBufferCount(int count)
{
    if (count == FBufferCount)
        return;
    int shift = 0;
    if (count < FBufferCount && FRecordCount > count) {
        // Keep the active record inside the smaller window by dropping records before it.
        const int drop = std::max(0, FActiveRecord - count + 1);
        if (drop > 0) {
            std::rotate(FBuffers.begin(), FBuffers.begin() + drop, FBuffers.begin() + FRecordCount);
            FActiveRecord -= drop;
            shift = -drop;
        }
        FRecordCount = std::min(FRecordCount, count);
        CursorPosChanged();
    }
    const bool growing = count > FBufferCount;
    while (int(FBuffers.size()) < count + 1)
        FBuffers.push_back(std::make_unique<TRecordBuffer>(NewBuffer()));
    FBuffers.resize(std::size_t(count + 1));
    FBufferCount = count;
    if (growing) {
        GetNextRecords();
        if (FRecordCount > 0 && FRecordCount < FBufferCount)
            shift += GetPriorRecords();
    }
    AdjustLinksFirstRecord(shift);
}

void TDataSet::AdjustLinksFirstRecord(int delta)
{
    if (delta == 0)
        return;
    for (const TDataSource* source : FDataSources)
        for (TDataLink* link : source->DataLinks())
            if (link->Active())
                link->FFirstRecord = std::max(0, link->FFirstRecord + delta);
}

void TDataSet::SetCurrentRecord(int index)
{
    if (FCurrentRecord == index)
        return;
    if (!IsUniDirectional()) {
        const TRecordBuffer& buffer = *FBuffers[std::size_t(index)];
        switch (buffer.BookmarkFlag) {
        case bfCurrent:
        case bfInserted:
            InternalSetToRecord(buffer);
            break;
        case bfBOF:
            InternalFirst();
            break;
        case bfEOF:
            InternalLast();
            break;
        }
    }
    FCurrentRecord = index;
}

void TDataSet::UpdateCursorPos()
{
    if (FRecordCount > 0)
        SetCurrentRecord(FActiveRecord);
}

void TDataSet::MoveBuffer(int from, int to)
{
    if (from == to)
        return;
    const auto base = FBuffers.begin();
    if (from < to)
        std::rotate(base + from, base + from + 1, base + to + 1);
    else
        std::rotate(base + to, base + from, base + from + 1);
}

void TDataSet::ActivateBuffers()
{
    FRecordCount = 1;
    FActiveRecord = 0;
    FCurrentRecord = 0;
    FBOF = false;
    FEOF = false;
}

void TDataSet::ClearBuffers()
{
    FRecordCount = 0;
    FActiveRecord = 0;
    FCurrentRecord = -1;
    FBOF = true;
    FEOF = true;
}

bool TDataSet::GetNextRecord()
{
    TGetMode mode = gmNext;
    if (FRecordCount > 0) {
        SetCurrentRecord(FRecordCount - 1);
        if (FState == dsInsert && FCurrentRecord == FActiveRecord && ActiveBuffer().BookmarkFlag == bfCurrent)
            mode = gmCurrent;
    }
    const bool found = FetchRecord(*FBuffers[std::size_t(FRecordCount)], mode, true) == grOK;
    if (!found) {
        CursorPosChanged();
        return false;
    }
    if (FRecordCount == 0)
        ActivateBuffers();
    else if (FRecordCount < FBufferCount)
        ++FRecordCount;
    else
        MoveBuffer(0, FRecordCount);
    FCurrentRecord = FRecordCount - 1;
    return true;
}

bool TDataSet::GetPriorRecord()
{
    if (FRecordCount > 0)
        SetCurrentRecord(0);
    const bool found = FetchRecord(*FBuffers[std::size_t(FRecordCount)], gmPrior, true) == grOK;
    if (!found) {
        CursorPosChanged();
        return false;
    }
    if (FRecordCount == 0) {
        ActivateBuffers();
    } else {
        MoveBuffer(FRecordCount, 0);
        if (FRecordCount < FBufferCount) {
            ++FRecordCount;
            ++FActiveRecord;
        }
    }
    FCurrentRecord = 0;
    return true;
}

int TDataSet::GetNextRecords()
{
    int count = 0;
    while (FRecordCount < FBufferCount && GetNextRecord())
        ++count;
    return count;
}

int TDataSet::GetPriorRecords()
{
    int count = 0;
    while (FRecordCount < FBufferCount && GetPriorRecord())
        ++count;
    return count;
}

TGetResult TDataSet::FetchRecord(TRecordBuffer& buffer, TGetMode mode, bool doCheck)
{
    const bool filtering = FilteringInDataSet();
    for (;;) {
        const TGetResult result = GetRecord(buffer, mode, doCheck);
        if (result != grOK)
            return result;
        try {
            LoadInternalCalcValues(buffer);
            GetCalcFields(buffer);
        } catch (...) {
            if (doCheck)
                throw;
            return grError;
        }
        if (!filtering || RecordAccepted(buffer))
            return grOK;
        if (mode == gmCurrent)
            return grError;
    }
}

void TDataSet::Resync(TResyncModes mode)
{
    if (IsUniDirectional())
        return;
    TRecordBuffer& spare = *FBuffers[std::size_t(FRecordCount)];
    if (mode.Contains(rmExact)) {
        CursorPosChanged();
        if (FetchRecord(spare, gmCurrent, true) != grOK)
            throw EDatabaseError(QStringLiteral("Record not found"));
    } else if (FetchRecord(spare, gmCurrent, false) != grOK && FetchRecord(spare, gmNext, false) != grOK &&
               FetchRecord(spare, gmPrior, false) != grOK) {
        ClearBuffers();
        DataEvent(deDataSetChange);
        return;
    }
    int before = mode.Contains(rmCenter) ? (FBufferCount - 1) / 2 : FActiveRecord;
    MoveBuffer(FRecordCount, 0);
    ActivateBuffers();
    const auto changed = Finally([this] { DataEvent(deDataSetChange); });
    while (before > 0 && GetPriorRecord())
        --before;
    GetNextRecords();
    GetPriorRecords();
}

void TDataSet::Refresh()
{
    CheckBrowseMode();
    DoEvent(BeforeRefresh);
    UpdateCursorPos();
    InternalRefresh();
    FLookupCaches.clear();
    Resync({});
    DoEvent(AfterRefresh);
}

void TDataSet::CheckBrowseMode()
{
    CheckActive();
    DataEvent(deCheckBrowseMode);
    if (FState == dsEdit || FState == dsInsert) {
        UpdateRecord();
        if (FModified)
            Post();
        else
            Cancel();
    }
}

// --- Moving -------------------------------------------------------------------------------------

void TDataSet::First()
{
    CheckBrowseMode();
    DoBeforeScroll();
    ClearBuffers();
    {
        const auto changed = Finally([this] {
            FBOF = true;
            DataEvent(deDataSetChange);
        });
        InternalFirst();
        GetNextRecord();
        GetNextRecords();
    }
    DoAfterScroll();
}

void TDataSet::Last()
{
    CheckBrowseMode();
    if (IsUniDirectional())
        throw EDatabaseError(QStringLiteral("Operation not allowed on a unidirectional dataset"));
    DoBeforeScroll();
    ClearBuffers();
    {
        const auto changed = Finally([this] {
            FEOF = true;
            DataEvent(deDataSetChange);
        });
        InternalLast();
        GetPriorRecord();
        GetPriorRecords();
    }
    DoAfterScroll();
}

void TDataSet::Next()
{
    MoveBy(1);
}

void TDataSet::Prior()
{
    MoveBy(-1);
}

int TDataSet::MoveBy(int distance)
{
    CheckBrowseMode();
    DoBeforeScroll();
    if (!((distance > 0 && !FEOF) || (distance < 0 && !FBOF)))
        return 0;
    int moved = 0;
    // How far the window's first buffer moved; links turn it into their own distance.
    int scroll = 0;
    FBOF = false;
    FEOF = false;
    {
        const auto scrolled = Finally([this, &scroll] { DataEvent(deDataSetScroll, nullptr, scroll); });
        for (; distance > 0; --distance, ++moved) {
            if (FActiveRecord < FRecordCount - 1) {
                ++FActiveRecord;
                continue;
            }
            const int full = FRecordCount < FBufferCount ? 0 : 1;
            if (!GetNextRecord()) {
                FEOF = true;
                break;
            }
            scroll -= full;
            FActiveRecord = FRecordCount - 1;
        }
        for (; distance < 0; ++distance, --moved) {
            if (FActiveRecord > 0) {
                --FActiveRecord;
                continue;
            }
            const int full = FRecordCount < FBufferCount ? 0 : 1;
            if (!GetPriorRecord()) {
                FBOF = true;
                break;
            }
            scroll += full;
            FActiveRecord = 0;
        }
    }
    DoAfterScroll();
    return moved;
}

bool TDataSet::FindRecord(bool restart, bool goForward)
{
    CheckBrowseMode();
    UpdateCursorPos();
    CursorPosChanged();
    if (restart) {
        if (goForward)
            First();
        else
            Last();
        return !IsEmpty();
    }
    return MoveBy(goForward ? 1 : -1) != 0;
}

bool TDataSet::FindFirst()
{
    return FindRecord(true, true);
}

bool TDataSet::FindLast()
{
    return FindRecord(true, false);
}

bool TDataSet::FindNext()
{
    return FindRecord(false, true);
}

bool TDataSet::FindPrior()
{
    return FindRecord(false, false);
}

int TDataSet::GetRecordCount() const
{
    // Counting by scanning: the cursor moves, so it is marked as moved afterwards.
    auto* self = const_cast<TDataSet*>(this);
    if (!Active())
        return 0;
    self->UpdateCursorPos();
    self->CursorPosChanged();
    self->InternalFirst();
    int count = 0;
    while (self->FetchRecord(self->FTempBuffer, gmNext, false) == grOK)
        ++count;
    return count;
}

int TDataSet::GetRecNo() const
{
    return -1;
}

void TDataSet::SetRecNo(int recNo)
{
    CheckBrowseMode();
    if (recNo < 1 || recNo > RecordCount() || recNo == RecNo())
        return;
    const int current = RecNo();
    if (current > 0) {
        MoveBy(recNo - current);
        return;
    }
    First();
    MoveBy(recNo - 1);
}

// --- Bookmarks ----------------------------------------------------------------------------------

QString TDataSet::EncodeBookmark(const QByteArray& bytes) const
{
    // Eight hex digits of the dataset's tag, then the descendant's bytes one per character:
    // short, cheap to take apart, and recognisably foreign in another dataset.
    return QStringLiteral("%1").arg(FBookmarkTag, 8, 16, QLatin1Char('0')) + QString::fromLatin1(bytes);
}

bool TDataSet::DecodeBookmark(const QString& bookmark, QByteArray& bytes) const
{
    if (bookmark.size() < 8)
        return false;
    bool ok = false;
    const quint32 tag = QStringView(bookmark).left(8).toUInt(&ok, 16);
    if (!ok || tag != FBookmarkTag)
        return false;
    const QStringView data = QStringView(bookmark).mid(8);
    if (std::any_of(data.begin(), data.end(), [](QChar c) { return c.unicode() > 0xff; }))
        return false;
    bytes = data.toLatin1();
    return true;
}

QString TDataSet::Bookmark() const
{
    if (!Active() || IsEmpty())
        return QString();
    const TRecordBuffer& buffer = ActiveBuffer();
    if (buffer.BookmarkFlag != bfCurrent || buffer.Bookmark.isEmpty())
        return QString();
    return EncodeBookmark(buffer.Bookmark);
}

void TDataSet::SetBookmark(const QString& bookmark)
{
    if (bookmark.isEmpty())
        return;
    CheckActive();
    QByteArray bytes;
    if (!DecodeBookmark(bookmark, bytes))
        throw EDatabaseError(QStringLiteral("Invalid bookmark"));
    CheckBrowseMode();
    if (!std::as_const(*this).BookmarkValid(bytes))
        throw EDatabaseError(QStringLiteral("Record not found"));
    DoBeforeScroll();
    {
        const auto lost = OnUnwind([this] { CursorPosChanged(); });
        InternalGotoBookmark(bytes);
        Resync({rmExact, rmCenter});
    }
    DoAfterScroll();
}

bool TDataSet::BookmarkValid(const QString& bookmark) const
{
    QByteArray bytes;
    if (!Active() || !DecodeBookmark(bookmark, bytes) || !BookmarkValid(bytes))
        return false;
    if (!FilteringInDataSet())
        return true;
    // The record exists; whether it passes the filter needs a look at it. The cursor is only
    // marked as moved, the window stays as it is.
    auto* self = const_cast<TDataSet*>(this);
    self->UpdateCursorPos();
    self->CursorPosChanged();
    self->InternalGotoBookmark(bytes);
    return self->FetchRecord(self->FTempBuffer, gmCurrent, false) == grOK;
}

int TDataSet::CompareBookmarks(const QString& first, const QString& second) const
{
    QByteArray a;
    QByteArray b;
    const bool hasFirst = DecodeBookmark(first, a);
    const bool hasSecond = DecodeBookmark(second, b);
    if (!hasFirst || !hasSecond)
        return hasFirst == hasSecond ? 0 : (hasFirst ? -1 : 1);
    return CompareBookmarks(a, b);
}

bool TDataSet::BookmarkValid(const QByteArray& bookmark) const
{
    return !bookmark.isEmpty();
}

int TDataSet::CompareBookmarks(const QByteArray& first, const QByteArray& second) const
{
    if (first.isEmpty() || second.isEmpty())
        return first.isEmpty() == second.isEmpty() ? 0 : (first.isEmpty() ? 1 : -1);
    const int order = first.compare(second);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

} // namespace orvo
