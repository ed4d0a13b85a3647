#pragma once

#include <QStringList>

#include <optional>

namespace orvo {

class TOrvoColumn;

/// The distinct values of a grid column, as rows of a value list (the strings
/// TOrvoDBFilterData reads): each row once, in the order of its sort key and then of
/// its display text without regard to case, with the field sizes the longest item and
/// key need.
struct TOrvoFilterValueRows
{
    QStringList Rows;
    int ItemSize = 20;
    int KeySize = 20;

    bool operator==(const TOrvoFilterValueRows&) const = default;
};

/// Collects a column's distinct values: from the database when it can tell them exactly,
/// else by walking the records of its grid's dataset.
class TOrvoFilterValues
{
public:
    /// The item shown for an empty display text.
    static QString EmptyItem() { return QStringLiteral("(Empty)"); }

    /// The rows for `column`: nothing when it has no field, its field cannot be
    /// filtered, or its grid's dataset is missing or closed. With `loadAllItems` the
    /// grid's column filters are off meanwhile (and put back), so that the list
    /// shows the values of every record; with `checkedFirst` the values in the
    /// column's FilterList come first. The rows are those of Query when it answers,
    /// else those of Walk.
    static TOrvoFilterValueRows Load(TOrvoColumn& column, bool loadAllItems, bool checkedFirst);
    /// The rows a SQLite dataset's distinct values give, each read as a record holding it
    /// would show it, without moving the dataset: the same rows as Walk. None where they
    /// could differ: a field that is not stored (calculated, looked up), texts that depend
    /// on more than the value (the field's or the grid's text handler, a lookup or numbered
    /// column), rows that are not what the database holds (a record filter, unwritten
    /// changes, a record being edited), or values whose texts differ only in case (the walk keeps the first
    /// it meets). While the statement runs a shown grid keeps painting, with a wait cursor.
    static std::optional<TOrvoFilterValueRows> Query(TOrvoColumn& column, bool loadAllItems,
                                                     bool checkedFirst);
    /// The rows a walk through every record of the grid's dataset gives.
    static TOrvoFilterValueRows Walk(TOrvoColumn& column, bool loadAllItems, bool checkedFirst);

private:
    enum TWay
    {
        wQuery,
        wWalk,
        wQueryOrWalk
    };
    static std::optional<TOrvoFilterValueRows> Collect(TOrvoColumn& column, bool loadAllItems,
                                                       bool checkedFirst, TWay way);
};

} // namespace orvo
