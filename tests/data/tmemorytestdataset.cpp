#include "tmemorytestdataset.h"

#include "platform/core/texceptionhandler.h"
#include "platform/data/tfield.h"
#include "platform/data/tfielddefs.h"

#include <QtEndian>

namespace orvo {

TMemoryTestDataSet::TMemoryTestDataSet(QObject* owner) : TDataSet(owner) {}

TMemoryTestDataSet::~TMemoryTestDataSet()
{
    TExceptionHandler::Guard([this] { Close(); });
}

void TMemoryTestDataSet::AddColumn(const QString& name, TFieldType type, int size, bool required)
{
    FColumns.push_back({name, type, size, required});
}

void TMemoryTestDataSet::AddRow(TRow values)
{
    values.resize(FColumns.size(), TVariant::Null());
    FRows.push_back(std::move(values));
    FIds.push_back(FNextId++);
    Reindex();
}

QByteArray TMemoryTestDataSet::BookmarkOf(qint64 id)
{
    QByteArray bytes(8, Qt::Uninitialized);
    qToBigEndian(id, bytes.data());
    return bytes;
}

int TMemoryTestDataSet::IndexOfId(qint64 id) const
{
    return FIndexOfId.value(id, -1);
}

int TMemoryTestDataSet::IndexOfBookmark(const QByteArray& bookmark) const
{
    if (bookmark.size() != 8)
        return -1;
    return IndexOfId(qFromBigEndian<qint64>(bookmark.constData()));
}

void TMemoryTestDataSet::Reindex()
{
    FIndexOfId.clear();
    for (std::size_t i = 0; i < FIds.size(); ++i)
        FIndexOfId.insert(FIds[i], int(i));
}

void TMemoryTestDataSet::InternalOpen()
{
    FOpen = true;
    FCursor = -1;
}

void TMemoryTestDataSet::InternalClose()
{
    FOpen = false;
}

void TMemoryTestDataSet::InternalInitFieldDefs()
{
    FieldDefs()->Clear();
    for (const TColumn& column : FColumns)
        FieldDefs()->Add(column.Name, column.Type, column.Size, column.Required);
}

TGetResult TMemoryTestDataSet::GetRecord(TRecordBuffer& buffer, TGetMode mode, bool)
{
    ++RecordFetches;
    const int candidate = mode == gmNext ? FCursor + 1 : (mode == gmPrior ? FCursor - 1 : FCursor);
    if (candidate < 0) {
        FCursor = -1;
        return grBOF;
    }
    if (candidate >= int(FRows.size())) {
        FCursor = int(FRows.size());
        return grEOF;
    }
    FCursor = candidate;
    const qint64 id = FIds[std::size_t(candidate)];
    buffer.Bookmark = BookmarkOf(id);
    buffer.BookmarkFlag = bfCurrent;
    buffer.RecordId = id;
    buffer.ClearValues();
    return grOK;
}

void TMemoryTestDataSet::InternalGotoBookmark(const QByteArray& bookmark)
{
    const int index = IndexOfBookmark(bookmark);
    if (index < 0)
        throw EDatabaseError(QStringLiteral("Record not found"));
    FCursor = index;
}

TVariant TMemoryTestDataSet::FetchFieldValue(const TRecordBuffer& buffer, const TField* field)
{
    ++ValueFetches;
    const int row = IndexOfId(buffer.RecordId);
    const int column = field->FieldNo() - 1;
    if (row < 0 || column < 0 || column >= int(FColumns.size()))
        return TVariant::Null();
    return FRows[std::size_t(row)][std::size_t(column)];
}

void TMemoryTestDataSet::InternalPost()
{
    if (FailPosts > 0) {
        --FailPosts;
        throw EDatabaseError(QStringLiteral("Disk full"));
    }
    const TRecordBuffer& buffer = ActiveBuffer();
    if (State() == dsInsert) {
        int index = int(FRows.size());
        if (buffer.BookmarkFlag == bfBOF)
            index = 0;
        else if (buffer.BookmarkFlag != bfEOF && IndexOfBookmark(buffer.Bookmark) >= 0)
            index = IndexOfBookmark(buffer.Bookmark);
        TRow row(FColumns.size(), TVariant::Null());
        FRows.insert(FRows.begin() + index, row);
        FIds.insert(FIds.begin() + index, FNextId++);
        Reindex();
        FCursor = index;
    } else {
        FCursor = IndexOfId(buffer.RecordId);
        if (FCursor < 0)
            throw EDatabaseError(QStringLiteral("Record not found"));
    }
    TRow& row = FRows[std::size_t(FCursor)];
    for (std::size_t i = 0; i < row.size() && i < buffer.Values.size(); ++i)
        if (!buffer.Values[i].IsEmpty())
            row[i] = buffer.Values[i];
}

void TMemoryTestDataSet::InternalDelete()
{
    const int index = IndexOfId(ActiveBuffer().RecordId);
    if (index < 0)
        throw EDatabaseError(QStringLiteral("Record not found"));
    FRows.erase(FRows.begin() + index);
    FIds.erase(FIds.begin() + index);
    Reindex();
    FCursor = index;
}

int TMemoryTestDataSet::GetRecordCount() const
{
    return IsFiltering() ? TDataSet::GetRecordCount() : int(FRows.size());
}

bool TMemoryTestDataSet::IsSequenced() const
{
    return !IsFiltering();
}

int TMemoryTestDataSet::GetRecNo() const
{
    if (!Active() || IsEmpty() || ActiveBuffer().BookmarkFlag != bfCurrent)
        return -1;
    return IndexOfId(ActiveBuffer().RecordId) + 1;
}

void TMemoryTestDataSet::SetRecNo(int recNo)
{
    CheckBrowseMode();
    if (recNo < 1 || recNo > int(FRows.size()) || recNo == RecNo())
        return;
    DoBeforeScroll();
    FCursor = recNo - 1;
    Resync({rmCenter});
    DoAfterScroll();
}

bool TMemoryTestDataSet::BookmarkValid(const QByteArray& bookmark) const
{
    return IndexOfBookmark(bookmark) >= 0;
}

int TMemoryTestDataSet::CompareBookmarks(const QByteArray& first, const QByteArray& second) const
{
    const int a = IndexOfBookmark(first);
    const int b = IndexOfBookmark(second);
    if (a < 0 || b < 0)
        return a < 0 && b < 0 ? 0 : (a < 0 ? 1 : -1);
    return a < b ? -1 : (a > b ? 1 : 0);
}

} // namespace orvo
