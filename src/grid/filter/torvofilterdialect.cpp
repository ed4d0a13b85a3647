#include "grid/filter/torvofilterdialect.h"

#include "platform/core/datetimeparse.h"
#include "platform/data/tfilterexpression.h"

#include <QRegularExpression>

namespace orvo {

namespace {

constexpr TOrvoDBGridFilterClauses ListClauses{fcIsOnTheList, fcIsNotOnTheList};
constexpr TOrvoDBGridFilterClauses NullClauses{fcIsEmpty, fcIsNotEmpty};

// Memo fields hold text too; writing their values bare would let the value become
// part of the expression.
bool IsQuotedType(TFieldType type)
{
    return IsStringFieldType(type) || IsDateTimeFieldType(type) || IsMemoFieldType(type);
}

bool IsPlainName(const QString& name)
{
    static const QRegularExpression plain(
        QRegularExpression::anchoredPattern(QStringLiteral("[A-Za-z_][A-Za-z0-9_]*")));
    static const QStringList keywords{
        QStringLiteral("AND"),  QStringLiteral("OR"),   QStringLiteral("NOT"),
        QStringLiteral("LIKE"), QStringLiteral("IN"),   QStringLiteral("IS"),
        QStringLiteral("NULL"), QStringLiteral("TRUE"), QStringLiteral("FALSE")};
    return plain.match(name).hasMatch() && !keywords.contains(name, Qt::CaseInsensitive);
}

/// Substitutes %0:s, %1:s and %2:s in one pass, so that text put in for one
/// placeholder is never read as another.
QString FormatTemplate(const QString& pattern, const QStringList& args)
{
    QString text;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == u'%' && i + 3 < pattern.size() && pattern.at(i + 1).isDigit() && pattern.at(i + 2) == u':' &&
            pattern.at(i + 3) == u's') {
            text += args.value(pattern.at(i + 1).digitValue());
            i += 3;
        } else if (c == u'%' && i + 1 < pattern.size() && pattern.at(i + 1) == u'%') {
            text += c;
            ++i;
        } else {
            text += c;
        }
    }
    return text;
}

bool IsSingleQuotedLiteral(const QString& text)
{
    return text.size() >= 2 && text.startsWith(u'\'') && text.endsWith(u'\'');
}

QStringList SplitTrimmingAtSeparators(const QString& text, const QString& separator)
{
    QStringList items = text.split(separator);
    for (qsizetype i = 0; i < items.size(); ++i) {
        QString& item = items[i];
        if (i > 0)
            while (item.startsWith(u' '))
                item.remove(0, 1);
        if (i + 1 < items.size())
            while (item.endsWith(u' '))
                item.chop(1);
    }
    return items;
}

} // namespace

TOrvoFilterDialect::TOrvoFilterDialect(const TOrvoFilterDialectRules& rules, bool decimalSeparator,
                                       const TFormatSettings& settings)
    : FRules(rules), FDecimalSeparator(decimalSeparator), FSettings(settings)
{}

TOrvoDBGridFilterClauses TOrvoFilterDialect::AllowedClauses(TOrvoDBGridFilterClauses clauses) const
{
    // "No filter" is always offered: it is how a user takes a clause away.
    return clauses - (FRules.UnavailableClauses - fcNoFilter);
}

bool TOrvoFilterDialect::Filterable(TFieldType type)
{
    return !(type == ftBytes || type == ftVarBytes || (type >= ftBlob && type <= ftCursor) || type == ftADT ||
             type == ftArray || type == ftReference || type == ftDataSet);
}

TOrvoDBGridFilterClauses TOrvoFilterDialect::FieldClauses(TFieldType type)
{
    if (IsStringFieldType(type))
        return TOrvoDBGridFilterClauses::Range(fcNoFilter, fcIsNotEmpty);
    if (IsNumericFieldType(type) || IsDateTimeFieldType(type))
        return TOrvoDBGridFilterClauses::Range(fcIsEqual, fcIsNotEmpty) + fcNoFilter;
    if (type == ftBoolean)
        return {fcNoFilter, fcIsEqual, fcIsNotEqual, fcIsEmpty, fcIsNotEmpty};
    if (IsMemoFieldType(type))
        return TOrvoDBGridFilterClauses::Range(fcNoFilter, fcIsLessThenOrEqual) + NullClauses;
    return TOrvoDBGridFilterClauses{fcNoFilter} + NullClauses;
}

QChar TOrvoFilterDialect::ExpressionDecimalSeparator() const
{
    switch (FRules.NumberSeparator) {
    case TOrvoFilterDialectRules::nsLocale:
        return FSettings.DecimalSeparator;
    case TOrvoFilterDialectRules::nsFilterProperty:
        return FDecimalSeparator ? FSettings.DecimalSeparator : u'.';
    case TOrvoFilterDialectRules::nsPoint:
        break;
    }
    return u'.';
}

QString TOrvoFilterDialect::ListSeparator(TFieldType type, QChar delimiterChar) const
{
    if (IsStringFieldType(type))
        return QString(delimiterChar);
    if (IsDecimalFieldType(type) && FSettings.DecimalSeparator == u',')
        return QStringLiteral(" ");
    return QStringLiteral(",");
}

QString TOrvoFilterDialect::ExpressionFieldName(const QString& fieldName)
{
    return IsPlainName(fieldName) ? fieldName : TFilterExpression::QuotedName(fieldName);
}

QString TOrvoFilterDialect::PrepareFilterValue(TOrvoDBGridFilterClause clause, TFieldType type,
                                               const QString& listSeparator, const QString& text) const
{
    if (NullClauses.Contains(clause))
        return {};
    if (clause < fcIsEqual)
        return TFilterExpression::QuotedString(text);
    if (!ListClauses.Contains(clause))
        return ValueLiteral(type, text);
    return ListLiterals(type, listSeparator, text);
}

QString TOrvoFilterDialect::ClauseExpression(TOrvoDBGridFilterClause clause, const QString& fieldName,
                                             TFieldType type, const QString& listSeparator,
                                             const QString& value) const
{
    const bool nullClause = NullClauses.Contains(clause);
    if (clause == fcNoFilter || (!nullClause && value.trimmed().isEmpty()))
        return {};
    const QString pattern = FRules.NullByEquality && nullClause ? NullTemplates().value(clause - fcIsEmpty)
                                                                : ExpressionTemplates().value(clause);
    QString prepared = PrepareFilterValue(clause, type, listSeparator, value);
    // A list of nothing but separators has no value to test: no filter, rather than
    // an "IN ()" that no evaluator reads.
    if (ListClauses.Contains(clause) && prepared.isEmpty())
        return {};
    // Templates that quote the value themselves (the LIKE clauses) take the inside
    // of the literal, its quotes still doubled.
    if (pattern.contains(u'\'') && IsSingleQuotedLiteral(prepared))
        prepared = prepared.mid(1, prepared.size() - 2);
    return FormatTemplate(pattern, {ExpressionFieldName(fieldName), prepared, QStringLiteral("%")});
}

QString TOrvoFilterDialect::JoinClauses(const QString& first, const QString& second, bool orJoin, bool negate)
{
    QString text = first;
    if (!second.isEmpty())
        text = text.isEmpty() ? second
                              : text + (orJoin ? QStringLiteral(" OR ") : QStringLiteral(" AND ")) + second;
    if (negate && !text.isEmpty())
        text = QStringLiteral("NOT (%1)").arg(text);
    return text;
}

QStringList& TOrvoFilterDialect::ClauseCaptions()
{
    static QStringList captions{QString(),
                                QStringLiteral("contains"),
                                QStringLiteral("does not contain"),
                                QStringLiteral("starts from"),
                                QStringLiteral("does not start from"),
                                QStringLiteral("ends with"),
                                QStringLiteral("does not end with"),
                                QStringLiteral("is equal"),
                                QStringLiteral("is not equal"),
                                QStringLiteral("is greater then"),
                                QStringLiteral("is greater then or equal"),
                                QStringLiteral("is less then"),
                                QStringLiteral("is less then or equal"),
                                QStringLiteral("is on the list"),
                                QStringLiteral("is not on the list"),
                                QStringLiteral("is empty"),
                                QStringLiteral("is not empty")};
    return captions;
}

QStringList& TOrvoFilterDialect::ExpressionTemplates()
{
    static QStringList templates{QString(),
                                 QStringLiteral("%0:s LIKE '%2:s%1:s%2:s'"),
                                 QStringLiteral("NOT %0:s LIKE '%2:s%1:s%2:s'"),
                                 QStringLiteral("%0:s LIKE '%1:s%2:s'"),
                                 QStringLiteral("NOT %0:s LIKE '%1:s%2:s'"),
                                 QStringLiteral("%0:s LIKE '%2:s%1:s'"),
                                 QStringLiteral("NOT %0:s LIKE '%2:s%1:s'"),
                                 QStringLiteral("%0:s = %1:s"),
                                 QStringLiteral("%0:s <> %1:s"),
                                 QStringLiteral("%0:s > %1:s"),
                                 QStringLiteral("%0:s >= %1:s"),
                                 QStringLiteral("%0:s < %1:s"),
                                 QStringLiteral("%0:s <= %1:s"),
                                 QStringLiteral("%0:s IN (%1:s)"),
                                 QStringLiteral("NOT %0:s IN (%1:s)"),
                                 QStringLiteral("%0:s IS NULL"),
                                 QStringLiteral("%0:s IS NOT NULL")};
    return templates;
}

QStringList& TOrvoFilterDialect::NullTemplates()
{
    static QStringList templates{QStringLiteral("%0:s = NULL"), QStringLiteral("%0:s <> NULL")};
    return templates;
}

QString TOrvoFilterDialect::ValueLiteral(TFieldType type, const QString& text) const
{
    if (IsDateTimeFieldType(type)) {
        TDateTime value;
        const bool read = type == ftDate   ? TryStrToDate(text.trimmed(), value, FSettings)
                          : type == ftTime ? TryStrToTime(text.trimmed(), value, FSettings)
                                           : TryStrToDateTime(text.trimmed(), value, FSettings);
        // A date the locale cannot read stays a quoted text, which the dataset
        // then rejects as an invalid filter rather than reading it another way.
        return read ? TFilterExpression::DateTimeLiteral(value, type) : TFilterExpression::QuotedString(text);
    }
    if (IsQuotedType(type))
        return TFilterExpression::QuotedString(text);
    return BareOrQuoted(NumberText(text.trimmed()));
}

QString TOrvoFilterDialect::BareOrQuoted(const QString& text) const
{
    const QString point = QRegularExpression::escape(QString(ExpressionDecimalSeparator()));
    // Anchored as a whole: "$" would also accept a line break after the literal.
    const QRegularExpression literal(QRegularExpression::anchoredPattern(
        QStringLiteral("-?(\\d+(%1\\d*)?|%1\\d+)([eE][+-]?\\d+)?|[Tt][Rr][Uu][Ee]|[Ff][Aa][Ll][Ss][Ee]")
            .arg(point)));
    return literal.match(text).hasMatch() ? text : TFilterExpression::QuotedString(text);
}

QString TOrvoFilterDialect::NumberText(const QString& text) const
{
    QString number = text;
    const QChar point = ExpressionDecimalSeparator();
    if (FSettings.DecimalSeparator != point)
        number.replace(FSettings.DecimalSeparator, point);
    // "6." is the number six as typed, but no evaluator reads a point without digits
    // after it: the point goes, the value stays.
    static const QRegularExpression danglingPoint(QStringLiteral("(\\d)\\.(?!\\d)"));
    if (point == u'.')
        number.replace(danglingPoint, QStringLiteral("\\1"));
    return number;
}

QStringList TOrvoFilterDialect::ListItems(const QString& listSeparator, const QString& text)
{
    if (listSeparator != QStringLiteral(" "))
        return SplitTrimmingAtSeparators(text, listSeparator);
    // Numbers with a decimal comma are listed with blanks between them; stray commas
    // next to the blanks are taken as more blanks.
    QString blanks = text;
    blanks.replace(QStringLiteral(" ,"), QStringLiteral(" "))
        .replace(QStringLiteral(", "), QStringLiteral(" "));
    return blanks.split(u' ', Qt::SkipEmptyParts);
}

QString TOrvoFilterDialect::ListLiterals(TFieldType type, const QString& listSeparator,
                                         const QString& text) const
{
    QStringList literals;
    for (const QString& item : ListItems(listSeparator, text)) {
        // An empty text is a value a text can have; an empty number is a stray separator.
        if (!IsQuotedType(type) && item.trimmed().isEmpty())
            continue;
        literals << ValueLiteral(type, item);
    }
    return IsDecimalFieldType(type) ? JoinedNumbers(literals) : literals.join(u',');
}

QString TOrvoFilterDialect::JoinedNumbers(const QStringList& items) const
{
    if (ExpressionDecimalSeparator() != u',')
        return items.join(u',');
    // With a decimal comma, "1,5, 2,5" reads as four numbers to any evaluator:
    // each number is quoted, so that only the separators between them are commas.
    QStringList quoted;
    for (const QString& item : items)
        quoted << (item.startsWith(u'\'') ? item : TFilterExpression::QuotedString(item));
    return quoted.join(u',');
}

} // namespace orvo
