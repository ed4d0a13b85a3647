#include "grid/totals/torvogridtotalsaggregates.h"

#include "grid/selection/torvobookmarklist.h"
#include "grid/totals/torvocolumntotalvalue.h"
#include "platform/data/tdataset.h"
#include "platform/data/tfield.h"
#include "platform/sqlite/tsqliteaggregates.h"
#include "platform/sqlite/tsqlitetable.h"

#include <algorithm>

namespace orvo {

namespace {

using TResult = TSQLiteAggregates::TResult;

const TVariant Zero{qint64(0)};

// With nvAsZero, Null values enter as 0 beside the others.
TVariant WithZero(const TVariant& extreme, bool zeroSeen, int sign)
{
    if (!zeroSeen || extreme.IsClear())
        return zeroSeen ? Zero : extreme;
    return TVariant::Compare(Zero, extreme) * sign > 0 ? Zero : extreme;
}

// The accumulator a walk leaves, from what the database counted. Null sorts first, as in
// the walk: with nvInclude it is the minimum whenever one was seen.
TVariant Accumulated(const TOrvoColumnTotalValue* total, const TResult& result, qint64 rows)
{
    const qint64 nulls = rows - result.Values;
    const TNullValue nullValue = total->NullValue();
    const bool nullSeen = nullValue == nvInclude && nulls > 0;
    const bool zeroSeen = nullValue == nvAsZero && nulls > 0;
    switch (total->CalcValue()) {
    case cvSum:
    case cvAvg:
        if (result.Values == 0)
            return zeroSeen ? Zero : TVariant();
        return result.Sum;
    case cvMax:
        if (result.Values == 0 && nullSeen)
            return TVariant::Null();
        return WithZero(result.Max, zeroSeen, 1);
    case cvMin:
        return nullSeen ? TVariant::Null() : WithZero(result.Min, zeroSeen, -1);
    case cvUnique: {
        if (nullSeen)
            return TVariant::Null();
        // Nulls taken as 0 add a value of their own, unless 0 is the one stored value.
        const bool zeroApart = zeroSeen && !(result.Distinct == 1 && TVariant::SameValue(result.Min, Zero));
        if (result.Distinct + (zeroApart ? 1 : 0) != 1)
            return TVariant::Null();
        return result.Values == 0 ? Zero : result.Min;
    }
    default:
        return TVariant();
    }
}

} // namespace

bool TOrvoGridTotalsAggregates::Answerable(const std::vector<TOrvoColumnTotalValue*>& totals)
{
    return !totals.empty() &&
           std::all_of(totals.begin(), totals.end(), [](const TOrvoColumnTotalValue* total) {
               return total->CalcValue() != cvCustom && TSQLiteAggregates::Supports(total->Field());
           });
}

std::vector<TSQLiteAggregates::TRequest>
TOrvoGridTotalsAggregates::Requests(const std::vector<TOrvoColumnTotalValue*>& totals)
{
    std::vector<TSQLiteAggregates::TRequest> requests;
    for (const TOrvoColumnTotalValue* total : totals) {
        const TCalcValue calcValue = total->CalcValue();
        requests.push_back({total->Field(), calcValue == cvSum || calcValue == cvAvg,
                            calcValue == cvMax || calcValue == cvMin || calcValue == cvUnique,
                            calcValue == cvUnique});
    }
    return requests;
}

bool TOrvoGridTotalsAggregates::Answer(TDataSet* dataSet, const std::vector<TOrvoColumnTotalValue*>& totals,
                                       const std::function<void()>& progress)
{
    const auto* sqlDataSet = qobject_cast<const TSQLiteDataSet*>(dataSet);
    if (!sqlDataSet || !Answerable(totals))
        return false;
    const std::optional<TSQLiteAggregates::TAnswer> answer =
        TSQLiteAggregates::Compute(*sqlDataSet, Requests(totals), progress);
    if (!answer)
        return false;
    Fill(totals, *answer, [dataSet](int index, bool last) {
        if (index == 0)
            last ? dataSet->Last() : dataSet->First();
        else
            last ? dataSet->Prior() : dataSet->Next();
        return !(last ? dataSet->Bof() : dataSet->Eof());
    });
    return true;
}

bool TOrvoGridTotalsAggregates::AnswerSelected(TDataSet* dataSet, const TOrvoBookmarkList& rows,
                                               const std::vector<TOrvoColumnTotalValue*>& totals,
                                               const std::function<void()>& progress)
{
    // A query's bookmarks name rows of its result, not of a table: only a table's are rowids.
    const auto* table = qobject_cast<const TSQLiteTable*>(dataSet);
    if (!table || !Answerable(totals))
        return false;
    std::vector<qint64> rowids;
    rowids.reserve(size_t(rows.Count()));
    for (int i = 0; i < rows.Count(); ++i) {
        const std::optional<qint64> rowid = table->BookmarkRowid(rows.Items(i));
        if (!rowid)
            return false;
        rowids.push_back(*rowid);
    }
    const std::optional<TSQLiteAggregates::TAnswer> answer =
        TSQLiteAggregates::ComputeOver(*table, rowids, Requests(totals), progress);
    if (!answer)
        return false;
    Fill(totals, *answer, [dataSet, &rows](int index, bool last) {
        if (index >= rows.Count())
            return false;
        dataSet->GotoBookmark(rows.Items(last ? rows.Count() - 1 - index : index));
        return true;
    });
    return true;
}

void TOrvoGridTotalsAggregates::Fill(const std::vector<TOrvoColumnTotalValue*>& totals,
                                     const TSQLiteAggregates::TAnswer& answer, const TStep& step)
{
    for (size_t i = 0; i < totals.size(); ++i) {
        TOrvoColumnTotalValue* total = totals[i];
        const TResult& result = answer.Results[i];
        const qint64 counted = total->NullValue() == nvExclude ? result.Values : answer.Rows;
        total->CalcCount = counted;
        if (counted == 0)
            continue;
        switch (total->CalcValue()) {
        case cvCount:
            total->CalcAccumulator = TVariant(counted);
            break;
        case cvFirst:
        case cvLast:
            total->CalcAccumulator = EdgeValue(total, total->CalcValue() == cvLast, step);
            break;
        default:
            total->CalcAccumulator = Accumulated(total, result, answer.Rows);
            break;
        }
    }
}

TVariant TOrvoGridTotalsAggregates::EdgeValue(const TOrvoColumnTotalValue* total, bool last,
                                              const TStep& step)
{
    for (int index = 0; step(index, last); ++index) {
        const TVariant value = total->RecordValue();
        if (!value.IsNull() || total->NullValue() == nvInclude)
            return value;
        if (total->NullValue() == nvAsZero)
            return Zero;
    }
    return TVariant();
}

} // namespace orvo
