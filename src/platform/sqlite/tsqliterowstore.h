#pragma once

#include "platform/core/tvariant.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

struct sqlite3_stmt;

namespace orvo {

/// Rows kept packed: each row's stored values are encoded one after another
/// (a tag byte, then a varint or the raw bytes), rows sit in pages of a few
/// hundred that share one byte buffer. A million rows of ten columns cost
/// little more than their data, against several hundred bytes each for a
/// row of variant objects. Rows are numbered in the order they were added;
/// the number never changes, so it can serve as a bookmark.
class TSQLiteRowStore
{
public:
    /// Appends the current row of a stepped statement (columns 0..columnCount-1); returns its number.
    quint32 AppendFromStatement(sqlite3_stmt* stmt, int columnCount);
    quint32 Append(const std::vector<TVariant>& values);
    /// Replaces a row's values (the old bytes stay in the page until Clear).
    void Replace(quint32 row, const std::vector<TVariant>& values);

    /// The stored value (Null, Int64, Double, String or Bytes) of one column.
    TVariant Value(quint32 row, int column) const;
    std::vector<TVariant> Values(quint32 row) const;

    quint32 Count() const { return FCount; }
    void Clear();
    /// Bytes held, for tests that guard the per-row cost.
    size_t MemoryUsed() const;

    /// The encoding, shared with bookmarks.
    static void EncodeValue(std::vector<char>& out, const TVariant& value);
    static void EncodeValue(QByteArray& out, const TVariant& value);
    /// Decodes the value at `pos` and advances it; Null when the data ends.
    static TVariant DecodeValue(const char* data, size_t size, size_t& pos);
    /// Strict decoding of bytes that may not come from EncodeValue (a bookmark from elsewhere):
    /// false, rather than reading past the end, for anything malformed.
    static bool TryDecodeAll(const QByteArray& encoded, std::vector<TVariant>& values);

private:
    static constexpr quint32 PageRows = 512;
    struct Page
    {
        std::vector<char> Data;
        std::vector<quint32> Offsets; ///< start of each row in Data
        std::vector<quint32> Ends;    ///< end of each row (rows may be replaced out of order)
    };

    Page& PageForAppend();
    const char* RowData(quint32 row, size_t& size) const;
    static void SkipValue(const char* data, size_t& pos);

    std::vector<Page> FPages;
    quint32 FCount = 0;
};

} // namespace orvo
