#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace orvo {

/// Bookmark strings kept side by side in one byte buffer, for selections of millions of
/// records: a QString per record would cost several times the bookmark itself. The
/// characters every stored bookmark shares at its start (a dataset's bookmarks begin
/// with the same tag) are kept once; the rest of each is kept as Latin-1 bytes, which
/// is what a dataset's bookmark holds after its tag. Entries keep the order they are
/// put in; ordering them is the owner's business.
///
/// Invariant: FEnds is ascending, FEnds.back() == FBytes.size(), and every entry i is
/// FPrefix followed by FBytes[start(i), FEnds[i]) read as Latin-1.
class TCompactBookmarks
{
public:
    int Count() const { return int(FEnds.size()); }
    bool IsEmpty() const { return FEnds.empty(); }
    /// The whole bookmark string of entry `index` (0 <= index < Count).
    QString At(int index) const;
    /// Whether `bookmark` at entry `index` equals the stored one, without building it.
    bool Equals(int index, const QString& bookmark) const;
    /// Only Latin-1 text can be kept; an empty string is no bookmark either.
    static bool Storable(const QString& bookmark);
    /// Puts a storable `bookmark` at `index` (0 <= index <= Count).
    void Insert(int index, const QString& bookmark);
    void Append(const QString& bookmark) { Insert(Count(), bookmark); }
    void RemoveAt(int index);
    void Clear();
    /// Drops the entries for which `drop(bookmark)` is true; returns how many went.
    template <typename F> int RemoveIf(F&& drop)
    {
        TCompactBookmarks kept;
        for (int i = 0; i < Count(); ++i) {
            QString bookmark = At(i);
            if (!drop(bookmark))
                kept.Append(bookmark);
        }
        const int removed = Count() - kept.Count();
        if (removed > 0)
            *this = std::move(kept);
        return removed;
    }
    /// Bytes held, buffers' spare room included.
    size_t MemoryUsed() const;

private:
    uint32_t StartOf(int index) const { return index == 0 ? 0 : FEnds[size_t(index) - 1]; }
    /// Shortens the shared prefix to what `bookmark` has in common with it, moving the
    /// characters dropped from the prefix into every entry.
    void FitPrefix(const QString& bookmark);

    QString FPrefix;
    std::vector<char> FBytes;
    std::vector<uint32_t> FEnds;
};

} // namespace orvo
