#include "grid/selection/tcompactbookmarks.h"

#include "platform/core/exceptions.h"

#include <algorithm>
#include <limits>

namespace orvo {

QString TCompactBookmarks::At(int index) const
{
    const uint32_t start = StartOf(index);
    return FPrefix + QLatin1StringView(FBytes.data() + start, qsizetype(FEnds[size_t(index)] - start));
}

bool TCompactBookmarks::Equals(int index, const QString& bookmark) const
{
    const uint32_t start = StartOf(index);
    const qsizetype length = qsizetype(FEnds[size_t(index)] - start);
    if (bookmark.size() != FPrefix.size() + length || !bookmark.startsWith(FPrefix))
        return false;
    return QStringView(bookmark).mid(FPrefix.size()) == QLatin1StringView(FBytes.data() + start, length);
}

bool TCompactBookmarks::Storable(const QString& bookmark)
{
    return !bookmark.isEmpty() &&
           std::all_of(bookmark.cbegin(), bookmark.cend(), [](QChar c) { return c.unicode() <= 0xff; });
}

void TCompactBookmarks::Insert(int index, const QString& bookmark)
{
    if (IsEmpty())
        FPrefix = bookmark;
    else
        FitPrefix(bookmark);
    const QByteArray rest = QStringView(bookmark).mid(FPrefix.size()).toLatin1();
    const uint32_t start = StartOf(index);
    const size_t length = size_t(rest.size());
    if (FBytes.size() + length > std::numeric_limits<uint32_t>::max())
        throw EListError(QStringLiteral("Too many records selected"));
    FBytes.insert(FBytes.begin() + start, rest.cbegin(), rest.cend());
    const auto at = FEnds.insert(FEnds.begin() + index, start + uint32_t(length));
    for (auto after = at + 1; after != FEnds.end(); ++after)
        *after += uint32_t(length);
}

void TCompactBookmarks::RemoveAt(int index)
{
    const uint32_t start = StartOf(index);
    const uint32_t length = FEnds[size_t(index)] - start;
    FBytes.erase(FBytes.begin() + start, FBytes.begin() + start + length);
    const auto at = FEnds.erase(FEnds.begin() + index);
    for (auto after = at; after != FEnds.end(); ++after)
        *after -= length;
    if (IsEmpty())
        Clear();
}

void TCompactBookmarks::Clear()
{
    FPrefix.clear();
    std::vector<char>().swap(FBytes);
    std::vector<uint32_t>().swap(FEnds);
}

size_t TCompactBookmarks::MemoryUsed() const
{
    return FBytes.capacity() + FEnds.capacity() * sizeof(uint32_t) + size_t(FPrefix.capacity()) * 2;
}

void TCompactBookmarks::FitPrefix(const QString& bookmark)
{
    const auto mismatch = std::mismatch(FPrefix.cbegin(), FPrefix.cend(), bookmark.cbegin(), bookmark.cend());
    const qsizetype shared = mismatch.first - FPrefix.cbegin();
    if (shared == FPrefix.size())
        return;
    // Rare: the prefix shrinks once per character it loses, so a long selection pays for
    // it a handful of times, mostly while it is still short.
    const QByteArray dropped = QStringView(FPrefix).mid(shared).toLatin1();
    std::vector<char> bytes;
    bytes.reserve(FBytes.size() + FEnds.size() * size_t(dropped.size()));
    std::vector<uint32_t> ends;
    ends.reserve(FEnds.size());
    uint32_t start = 0;
    for (uint32_t end : FEnds) {
        bytes.insert(bytes.end(), dropped.cbegin(), dropped.cend());
        bytes.insert(bytes.end(), FBytes.begin() + start, FBytes.begin() + end);
        if (bytes.size() > std::numeric_limits<uint32_t>::max())
            throw EListError(QStringLiteral("Too many records selected"));
        ends.push_back(uint32_t(bytes.size()));
        start = end;
    }
    FBytes = std::move(bytes);
    FEnds = std::move(ends);
    FPrefix.truncate(shared);
}

} // namespace orvo
