#pragma once

#include "platform/core/tvariant.h"

#include <QString>

#include <vector>

namespace orvo {

/// A total order over a table's rows, as ORDER BY columns with a final rowid
/// tiebreak (running the way the last column runs, so that one index walked
/// either way serves the whole order), and the keyset conditions that page through it: the rows after
/// or before a given key, expressed so that SQLite can walk an index from the
/// key rather than count rows from the start.
///
/// NULLs come first in an ascending column and last in a descending one, as
/// SQLite sorts them. Row-value comparisons cannot express that (nor mixed
/// directions), so the condition is split into segments: the rows after the
/// key within its own null-class of the leading column (an index range), then
/// the whole following null-class, if any.
class TSQLiteKeyOrder
{
public:
    struct Part
    {
        QString Sql; ///< quoted column
        bool Descending = false;
        bool NoCase = false; ///< NOCASE collation: A-Z folded when comparing keys
    };
    /// One piece of a keyset condition: SQL with "?" markers and their values in order.
    struct Segment
    {
        QString Where;
        std::vector<TVariant> Params;
    };

    TSQLiteKeyOrder() = default;
    TSQLiteKeyOrder(std::vector<Part> parts, const QString& rowidSql);

    /// Number of key values: one per part plus the rowid.
    int KeySize() const { return int(FParts.size()) + 1; }
    QString OrderBy(bool reversed) const;

    /// Conditions for the rows strictly after (or before) `key`, in the order
    /// the segments are to be read; their union is exactly the rows wanted.
    std::vector<Segment> Beyond(const std::vector<TVariant>& key, bool after) const;

    /// Orders two keys as the ORDER BY does: -1, 0 or 1.
    int Compare(const std::vector<TVariant>& a, const std::vector<TVariant>& b) const;
    /// SQLite's ordering of stored values: NULL, numbers, text, blobs.
    static int CompareStored(const TVariant& a, const TVariant& b, bool noCase);

private:
    QString Tail(const std::vector<TVariant>& key, size_t from, bool after,
                 std::vector<TVariant>& params) const;
    QString RowidBeyond(bool after) const;
    QString Greater(size_t index, const TVariant& value, bool after, std::vector<TVariant>& params) const;

    std::vector<Part> FParts;
    QString FRowid;
    bool FRowidDescending = false;
};

} // namespace orvo
