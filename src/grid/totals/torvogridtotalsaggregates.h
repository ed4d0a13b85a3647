#pragma once

#include "platform/core/tvariant.h"

#include <functional>
#include <vector>

namespace orvo {

class TDataSet;
class TOrvoColumnTotalValue;
class TSQLiteDataSet;

/// Whole-dataset totals that a SQLite dataset answers with one aggregate statement instead
/// of a walk through every record: the sums, averages, counts, extremes and unique values
/// of stored numeric fields, with the results the walk gives. First and last values are
/// read at the dataset's ends, in its current order.
class TOrvoGridTotalsAggregates
{
public:
    /// Fills the working values of `totals` as a walk over every record of `dataSet` would;
    /// false, with nothing changed, when a total or the dataset needs the walk.
    /// `progress` is called now and then while the database works.
    static bool Answer(TDataSet* dataSet, const std::vector<TOrvoColumnTotalValue*>& totals,
                       const std::function<void()>& progress = {});

private:
    static bool Answerable(const TOrvoColumnTotalValue* total);
    /// The first (or last) value in the dataset's order that the total counts.
    static TVariant EdgeValue(TDataSet* dataSet, const TOrvoColumnTotalValue* total, bool last);
};

} // namespace orvo
