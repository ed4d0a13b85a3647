#pragma once

#include <QStringList>

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
};

/// Collects a column's distinct values by walking the records of its grid's dataset.
class TOrvoFilterValues
{
public:
    /// The item shown for an empty display text.
    static QString EmptyItem() { return QStringLiteral("(Empty)"); }

    /// The rows for `column`: nothing when it has no field, its field cannot be
    /// filtered, or its grid's dataset is missing or closed. With `loadAllItems` the
    /// grid's column filters are off during the walk (and put back), so that the list
    /// shows the values of every record; with `checkedFirst` the values in the
    /// column's FilterList come first.
    static TOrvoFilterValueRows Load(TOrvoColumn& column, bool loadAllItems, bool checkedFirst);
};

} // namespace orvo
