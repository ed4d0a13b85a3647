#pragma once

#include "platform/core/tvariant.h"
#include "platform/sqlite/tsqliteaggregates.h"

#include <functional>
#include <vector>

namespace orvo {

class TDataSet;
class TOrvoBookmarkList;
class TOrvoColumnTotalValue;

/// Whole-dataset totals that a SQLite dataset answers with one aggregate statement instead
/// of a walk through every record: the sums, averages, counts, extremes and unique values
/// of stored numeric fields, with the results the walk gives. First and last values are
/// read at the ends of the walk, in its order.
class TOrvoGridTotalsAggregates
{
public:
    /// Fills the working values of `totals` as a walk over every record of `dataSet` would;
    /// false, with nothing changed, when a total or the dataset needs the walk.
    /// `progress` is called now and then while the database works.
    static bool Answer(TDataSet* dataSet, const std::vector<TOrvoColumnTotalValue*>& totals,
                       const std::function<void()>& progress = {});

    /// The same for a walk over the selected records `rows` of a SQLite table, in the list's
    /// order: one statement over their rowids.
    static bool AnswerSelected(TDataSet* dataSet, const TOrvoBookmarkList& rows,
                               const std::vector<TOrvoColumnTotalValue*>& totals,
                               const std::function<void()>& progress = {});

private:
    /// Moves to the `index`th record of a walk from its start (or end); false past it.
    using TStep = std::function<bool(int index, bool last)>;

    static bool Answerable(const std::vector<TOrvoColumnTotalValue*>& totals);
    static std::vector<TSQLiteAggregates::TRequest>
    Requests(const std::vector<TOrvoColumnTotalValue*>& totals);
    static void Fill(const std::vector<TOrvoColumnTotalValue*>& totals,
                     const TSQLiteAggregates::TAnswer& answer, const TStep& step);
    /// The first (or last) value of the walk that the total counts.
    static TVariant EdgeValue(const TOrvoColumnTotalValue* total, bool last, const TStep& step);
};

} // namespace orvo
