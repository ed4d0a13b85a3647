#pragma once

#include "platform/core/tvariant.h"
#include "platform/data/tfieldtype.h"
#include "platform/data/tfilternode.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace orvo {

/// A dataset's `Filter` text, parsed once and then evaluated per record.
///
/// Language:
/// - Field names are plain (a letter or "_", then letters, digits, "_") or
///   bracketed, `[Unit Price]`, where `]]` stands for `]`; a bracketed name is
///   never a keyword. Names and keywords are case-insensitive.
/// - Literals: `'text'` with `''` for a quote; numbers with "." and an optional
///   exponent, with unary minus; `True`, `False`, `NULL`.
/// - `a = b`, `<>`, `<`, `>`, `<=`, `>=` between a field and a literal (either
///   side) or two fields of the same kind; `f [NOT] LIKE 'pattern'` on text
///   fields; `f [NOT] IN (v1, v2, ...)`; `f IS [NOT] NULL`, and `f = NULL` /
///   `f <> NULL` meaning the same; `NOT`, `AND`, `OR` (in that order of
///   precedence, comparisons binding tighter) and parentheses, nested at most
///   256 deep. A blank text accepts every record.
///
/// Literals are converted to the type of the field they meet when the text is
/// parsed: numbers for numeric fields (a quoted number too), text for text
/// fields (a number keeps the digits as written), `True`/`False`/`1`/`0` for
/// Booleans, and for date-time fields the forms `yyyy-mm-dd`, `dd.mm.yyyy` and
/// `mm/dd/yyyy`, each optionally followed by ` hh:mm` or ` hh:mm:ss` (ISO also
/// with "T"); time fields take `hh:mm[:ss]`. DateTimeLiteral writes the ISO form.
///
/// Semantics:
/// - SQL's three-valued logic: a comparison, LIKE or IN with a NULL field is
///   unknown, NOT unknown is unknown, and only a true result accepts a record.
///   So `NOT (City = 'X')` rejects records whose City is NULL, and `IN` with a
///   NULL in its list is never false, only true or unknown.
/// - Text compares exactly and case-sensitively, in code-point order (the order
///   of SQLite's binary collation on UTF-8; it differs from UTF-16 code-unit
///   order only between U+E000..U+FFFF and characters beyond U+FFFF).
/// - LIKE folds case by Unicode (simple case folding, on both sides): `%`
///   matches any run of characters, `_` exactly one; there is no escape character.
/// - Numbers compare by their exact values across integer and float (currency
///   as the float it is stored as); Booleans as False < True; dates and times by
///   their point in time to the millisecond. A date-time outside the calendar
///   (years 1 to 9999) is no date and a NaN no number: both read as Null.
/// - A value of a kind the field should not hold is no match; Matches never throws.
class TFilterExpression
{
public:
    struct TFieldRef
    {
        int Index;
        TFieldType DataType;
        QString FieldName;
    };
    /// Resolves a name to a field (case-insensitively); std::nullopt when unknown.
    using TFieldResolver = std::function<std::optional<TFieldRef>(const QString& name)>;
    /// Reads the value of field Index of the record under test.
    using TValueReader = std::function<TVariant(int index)>;

    ~TFilterExpression();

    /// Parses; raises EDatabaseError naming the 1-based character position of a
    /// syntax error, an unknown field or a literal that does not convert to the
    /// type of the field it meets.
    static std::unique_ptr<TFilterExpression> Parse(const QString& text, const TFieldResolver& resolver);

    /// True when the record passes.
    bool Matches(const TValueReader& read) const;
    const QString& Text() const;
    /// The fields the expression reads, by their exact names, each once.
    QStringList FieldNames() const;

    /// Translates to an SQLite WHERE condition whose values are all bound
    /// parameters (`?` in `where`, in order in `params`). columnSql(index) gives
    /// an SQL expression for the field's value exactly as the dataset reads it:
    /// text as text, numbers as integers or reals, Booleans as 0/1, date-times as
    /// their TFilterNode::TimeKey, NULL for Null; the connection provides
    /// TFilterNode::LikeSqlFunction. Returns false, leaving both untouched, when
    /// the translation would not select exactly what Matches accepts (fields of
    /// no comparable kind, more than 999 parameters, SQLite's limit on expression
    /// depth); the dataset then filters per record.
    bool ToSql(const std::function<QString(int index)>& columnSql, QString& where,
               std::vector<TVariant>& params) const;
    /// The same, where fieldSql(index) may also offer the bare column and when it
    /// compares alike (see TFilterNode::TFieldSql). When that form exceeds the limits,
    /// the translation falls back to the converted values alone.
    bool ToSql(const TFilterNode::TFieldSqlOf& fieldSql, QString& where, std::vector<TVariant>& params) const;

    /// Writes values as literals this engine reads back unchanged, for code
    /// that builds filter texts: a quoted string with its quotes doubled, a
    /// bracketed name, and a date (whole days as "yyyy-mm-dd", otherwise with
    /// " hh:mm:ss"; time fields as "hh:mm:ss").
    static QString QuotedString(const QString& value);
    static QString QuotedName(const QString& name);
    static QString DateTimeLiteral(TDateTime value, TFieldType type);

private:
    TFilterExpression(const QString& text, std::unique_ptr<TFilterNode> root, QStringList fieldNames);
    bool Translate(const TFilterNode::TFieldSqlOf& fieldSql, QString& where,
                   std::vector<TVariant>& params) const;

    QString FText;
    std::unique_ptr<TFilterNode> FRoot;
    QStringList FFieldNames;
};

} // namespace orvo
