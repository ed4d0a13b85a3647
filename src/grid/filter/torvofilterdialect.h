#pragma once

#include "grid/filter/filterenums.h"
#include "grid/filter/torvofilterdialects.h"
#include "platform/core/tformatsettings.h"
#include "platform/data/tfieldtype.h"

#include <QStringList>

namespace orvo {

/// How filter expressions are written for one dataset: which clauses its kind of
/// dataset understands (its rules, TOrvoFilterDialects), how it writes "is empty" and
/// decimal numbers, and how a typed value becomes a literal. Values never reach an
/// expression as typed text: texts and dates become quoted literals, and a number or
/// Boolean stays bare only when it is a plain literal, written so that the evaluator
/// reads the number that was typed; so no value can change the expression around it.
class TOrvoFilterDialect
{
public:
    /// `decimalSeparator` is the grid filter's DecimalSeparator property, which decides
    /// for datasets whose rules leave the separator to it.
    explicit TOrvoFilterDialect(const TOrvoFilterDialectRules& rules = TOrvoFilterDialects::Other(),
                                bool decimalSeparator = false,
                                const TFormatSettings& settings = TFormatSettings::Default());

    const TOrvoFilterDialectRules& Rules() const { return FRules; }
    bool OffersNot() const { return FRules.OffersNot; }

    /// `clauses` without what this family cannot evaluate.
    TOrvoDBGridFilterClauses AllowedClauses(TOrvoDBGridFilterClauses clauses) const;
    /// Whether a filter can show and compare values of `type` (binary, object and
    /// nested-dataset fields cannot).
    static bool Filterable(TFieldType type);
    /// The clauses that make sense for a field of `type`.
    static TOrvoDBGridFilterClauses FieldClauses(TFieldType type);

    QChar ExpressionDecimalSeparator() const;
    /// The separator between the values of a list clause for a field of `type`;
    /// `delimiterChar` is the column's own delimiter for text fields.
    QString ListSeparator(TFieldType type, QChar delimiterChar) const;
    /// A field name as expressions read it: bracketed unless it is a plain name.
    static QString ExpressionFieldName(const QString& fieldName);

    /// The value of `clause` for a field of `type` as the clause's template takes it.
    QString PrepareFilterValue(TOrvoDBGridFilterClause clause, TFieldType type, const QString& listSeparator,
                               const QString& text) const;
    /// One clause as an expression; empty for fcNoFilter and for a blank value of a
    /// clause that needs one.
    QString ClauseExpression(TOrvoDBGridFilterClause clause, const QString& fieldName, TFieldType type,
                             const QString& listSeparator, const QString& value) const;
    /// Two clause expressions joined by AND or OR (either may be empty), optionally negated.
    static QString JoinClauses(const QString& first, const QString& second, bool orJoin, bool negate);

    /// The program-wide captions and expression templates, indexed by clause; a
    /// program may translate or change them before use. In a template %0:s is the
    /// field, %1:s the value and %2:s the any-text wildcard.
    static QStringList& ClauseCaptions();
    static QStringList& ExpressionTemplates();
    /// The "is empty" and "is not empty" templates of the ADO family.
    static QStringList& NullTemplates();

private:
    QString ValueLiteral(TFieldType type, const QString& text) const;
    QString BareOrQuoted(const QString& text) const;
    QString NumberText(const QString& text) const;
    static QStringList ListItems(const QString& listSeparator, const QString& text);
    QString JoinedNumbers(const QStringList& items) const;
    QString ListLiterals(TFieldType type, const QString& listSeparator, const QString& text) const;

    TOrvoFilterDialectRules FRules;
    bool FDecimalSeparator = false;
    TFormatSettings FSettings;
};

} // namespace orvo
