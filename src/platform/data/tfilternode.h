#pragma once

#include "platform/core/tvariant.h"
#include "platform/data/tfieldtype.h"

#include <QStringView>
#include <functional>

#include <memory>
#include <optional>
#include <vector>

namespace orvo {

/// A field as a filter node sees it: where to read it and what it holds.
struct TFilterField
{
    int Index = -1;
    TFieldType DataType = ftUnknown;
};

/// One node of a parsed filter expression. Nodes evaluate a record in SQL's
/// three-valued logic and translate themselves to SQL with bound parameters;
/// the concrete kinds live in the source file and are made by the factories.
class TFilterNode
{
public:
    using TValueReader = std::function<TVariant(int index)>;
    /// How SQL reads one field. `Value` is always right: the field's value in the form
    /// the comparisons use (see TFilterExpression::ToSql). `Column` is the bare column,
    /// which SQLite reads at its own speed and can look up in an index; it compares as
    /// `Value` does on the rows where `ColumnWhen` holds (an SQL condition that is never
    /// NULL), or on every row when `ColumnAlways`; on none when both are unset.
    struct TFieldSql
    {
        QString Value;
        QString Column;
        QString ColumnWhen;
        bool ColumnAlways = false;
        /// `Value` is NULL exactly where `Column` is, so IS NULL may ask the bare column.
        bool NullAsColumn = false;

        /// A field SQL reads only through its converted value.
        static TFieldSql ValueOnly(const QString& value)
        {
            TFieldSql sql;
            sql.Value = value;
            return sql;
        }
    };
    using TFieldSqlOf = std::function<TFieldSql(int index)>;

    /// SQL's truth values: a comparison with NULL is unknown, and so is NOT unknown.
    enum TTruth
    {
        trFalse,
        trTrue,
        trUnknown
    };
    enum TCompareOp
    {
        opEqual,
        opNotEqual,
        opLess,
        opGreater,
        opLessEqual,
        opGreaterEqual
    };
    /// How values of a field compare; fields of different kinds do not compare.
    enum TValueKind
    {
        vkUnsupported,
        vkText,
        vkNumber,
        vkBoolean,
        vkDateTime
    };

    virtual ~TFilterNode() = default;

    virtual TTruth Evaluate(const TValueReader& read) const = 0;
    /// Appends the node's SQL and its parameters; returns the height of the SQL
    /// expression tree it adds, or -1 when the node has no exactly equal SQL.
    virtual int AppendSql(const TFieldSqlOf& field, QString& sql, std::vector<TVariant>& params) const = 0;

    static TValueKind ValueKind(TFieldType type);
    /// A date-time as milliseconds in time order; none outside the calendar
    /// (years 1 to 9999), where a date-time is no date.
    static std::optional<qint64> TimeKey(TDateTime value);
    /// Unicode case folding, which LIKE and case-insensitive searches apply to both sides.
    static QString FoldCase(const QString& text);
    /// LIKE on texts already folded: `%` any run of characters, `_` exactly one.
    static bool LikeMatches(QStringView text, QStringView pattern);
    /// The SQL function, provided by the connection, that SQL translations call
    /// as name(value, foldedPattern) to answer LikeMatches(FoldCase(value), foldedPattern).
    static constexpr const char* LikeSqlFunction = "orvo_like";
    /// The operator that gives the same result with its operands swapped (< becomes >).
    static TCompareOp Mirrored(TCompareOp op);

    static std::unique_ptr<TFilterNode> MakeAnd(std::vector<std::unique_ptr<TFilterNode>> operands);
    static std::unique_ptr<TFilterNode> MakeOr(std::vector<std::unique_ptr<TFilterNode>> operands);
    static std::unique_ptr<TFilterNode> MakeNot(std::unique_ptr<TFilterNode> operand);
    /// `constant` is already converted to the field's kind (see the parser).
    static std::unique_ptr<TFilterNode> MakeCompare(TFilterField field, TCompareOp op, TVariant constant);
    static std::unique_ptr<TFilterNode> MakeCompareFields(TFilterField left, TCompareOp op,
                                                          TFilterField right);
    static std::unique_ptr<TFilterNode> MakeIsNull(TFilterField field);
    static std::unique_ptr<TFilterNode> MakeLike(TFilterField field, const QString& pattern);
    /// Null constants are kept: they make a missing match unknown, as in SQL.
    static std::unique_ptr<TFilterNode> MakeIn(TFilterField field, std::vector<TVariant> constants);
};

} // namespace orvo
