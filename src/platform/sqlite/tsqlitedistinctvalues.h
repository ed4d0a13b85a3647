#pragma once

#include "platform/core/tvariant.h"

#include <functional>
#include <optional>
#include <vector>

namespace orvo {

class TField;
class TSQLiteDataSet;

/// The distinct values of one stored field over the rows a SQLite dataset shows, answered
/// by the database in one statement instead of a walk through the records.
class TSQLiteDistinctValues
{
public:
    /// Each stored value of `field` once, as SQLite holds it (Null included), in no
    /// particular order. Values are told apart as stored: case and kind count (the integer 2,
    /// the real 2.0 and the text '2' are three values), whatever collation the column
    /// declares, so that none of the values a walk would read is merged into another. None
    /// when the dataset's rows are not what the database holds (a record filter, changes
    /// not yet applied) or `field` is no stored field of it. `progress`, when given, is
    /// called now and then while the statement runs.
    static std::optional<std::vector<TVariant>> Of(const TSQLiteDataSet& dataSet, const TField* field,
                                                   const std::function<void()>& progress = {});
};

} // namespace orvo
