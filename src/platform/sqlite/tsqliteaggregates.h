#pragma once

#include "platform/core/tvariant.h"

#include <functional>
#include <optional>
#include <vector>

namespace orvo {

class TField;
class TSQLiteDataSet;
class TSQLiteStatement;
class TSQLiteTable;

/// Aggregates of numeric fields that the database computes in one statement over the rows
/// a SQLite dataset shows, for totals that would otherwise read every record. The results
/// are those a walk through the records gives: values in the kind the dataset reads them
/// (integers exact, float, currency exact in ten-thousandths); a column holding anything
/// the dataset would read differently from SQLite (text in a number column, a fraction in
/// an integer one) or an integer sum past 64 bits gives no result, and the caller walks.
class TSQLiteAggregates
{
public:
    /// What one field's aggregates need besides its count. SQLite computes an aggregate that
    /// several requests share once.
    struct TRequest
    {
        const TField* Field = nullptr;
        bool Sum = false;      ///< the sum (an integer field's is always taken)
        bool Extremes = false; ///< minimum and maximum
        bool Distinct = false; ///< the number of distinct values
    };
    /// Over the non-Null values of one field.
    struct TResult
    {
        qint64 Values = 0; ///< records whose value is not Null
        TVariant Sum;      ///< Null without values or when not asked for
        TVariant Min;
        TVariant Max;
        qint64 Distinct = 0;
    };
    struct TAnswer
    {
        qint64 Rows = 0;
        std::vector<TResult> Results; ///< one per request, in order
    };

    /// True for the field types whose aggregates the database can compute as read.
    static bool Supports(const TField* field);
    /// The aggregates of `requests` over the dataset's rows; none when the dataset's rows
    /// are not what the database holds (a record filter, changes not yet applied), a field
    /// is no stored numeric field of it, or the stored values would not read as they are.
    /// `progress`, when given, is called now and then while the statement runs (SQLite's
    /// progress handler), so that a program without threads can keep its window alive.
    static std::optional<TAnswer> Compute(const TSQLiteDataSet& dataSet,
                                          const std::vector<TRequest>& requests,
                                          const std::function<void()>& progress = {});
    /// The same over the rows of `table` whose rowids `rowids` lists; none also when a rowid
    /// is listed twice or names no row the table shows.
    static std::optional<TAnswer> ComputeOver(const TSQLiteTable& table, const std::vector<qint64>& rowids,
                                              const std::vector<TRequest>& requests,
                                              const std::function<void()>& progress = {});

private:
    /// The aggregates of `requests` over the rows `source` yields; `bind` binds its parameters.
    static std::optional<TAnswer> Run(const TSQLiteDataSet& dataSet, const QString& source,
                                      const std::function<void(TSQLiteStatement&)>& bind,
                                      const std::vector<TRequest>& requests,
                                      const std::function<void()>& progress);
    static bool IsCurrency(const TField* field);
    static TVariant AsRead(const TField* field, const TVariant& stored);
};

} // namespace orvo
