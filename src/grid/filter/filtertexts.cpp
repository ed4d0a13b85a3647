#include "grid/filter/filtertexts.h"

#include "platform/core/datetimeformat.h"
#include "platform/core/exceptions.h"
#include "platform/core/tvariant.h"
#include "platform/data/tfilterlexer.h"

#include <algorithm>
#include <cmath>

namespace orvo {

namespace {

constexpr QChar SettingsDelimiter = u',';
constexpr QChar SettingsQuote = u'"';

QString HexKey(quint64 value, int digits)
{
    return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

bool IsUnbiasedIntegerType(TFieldType type)
{
    return type == ftWord;
}

QString IntegerKey(qint64 value, TFieldType type)
{
    if (type == ftLargeint || value < INT32_MIN || value > INT32_MAX)
        // Flipping the sign bit keeps negative 64-bit values ahead of the positive ones.
        return HexKey(quint64(value) ^ (quint64(1) << 63), 16);
    if (IsUnbiasedIntegerType(type))
        return HexKey(quint32(value), 8);
    return HexKey(quint32(qint32(value)) + 0x80000000u, 8);
}

QString FloatKey(double value)
{
    // Negatives take a sign mark that sorts before "+" and complemented digits, so
    // that the more negative value sorts first.
    const QString digits = QString::asprintf("%031.15f", std::fabs(value));
    if (value >= 0)
        return QLatin1Char('+') + QString::asprintf("%31.15f", value);
    QString complemented = digits;
    for (QChar& c : complemented) {
        if (c.isDigit())
            c = QChar(u'9' - (c.unicode() - u'0'));
    }
    return QLatin1Char('*') + complemented;
}

QString KeyOf(const TVariant& value, TFieldType type)
{
    switch (value.VarType()) {
    case varInt64:
        return IntegerKey(value.AsInt64(), type);
    case varDouble:
    case varCurrency:
        return FloatKey(value.AsFloat());
    case varDate:
        return FormatDateTime(QStringLiteral("yyyymmddhhnnsszzz"), value.AsDateTime());
    case varBoolean:
        return value.AsBoolean() ? QStringLiteral("1") : QStringLiteral("0");
    default:
        return {};
    }
}

bool NeedsQuotes(const QString& part, bool quoteValues)
{
    if (part.contains(SettingsDelimiter) || part.startsWith(SettingsQuote))
        return true;
    // Values are quoted as the platform's delimited lists quote them, blanks included,
    // so that lists written elsewhere and here read alike.
    return quoteValues && (part.isEmpty() || part.contains(SettingsQuote) ||
                           std::any_of(part.begin(), part.end(), [](QChar c) { return c.isSpace(); }));
}

QString Quoted(const QString& part)
{
    QString doubled = part;
    doubled.replace(SettingsQuote, QStringLiteral("\"\""));
    return SettingsQuote + doubled + SettingsQuote;
}

QString SettingsPart(const QString& part, bool quoteValues)
{
    return NeedsQuotes(part, quoteValues) ? Quoted(part) : part;
}

QString DelimitedText(const QStringList& values)
{
    QStringList parts;
    parts.reserve(values.size());
    for (const QString& value : values)
        parts << SettingsPart(value, true);
    return parts.join(SettingsDelimiter);
}

/// Reads one part from `pos`, leaving `pos` after the delimiter that ends it (or at
/// the end). A quoted part runs to its closing quote, doubled quotes standing for one.
QString NextPart(const QString& text, qsizetype& pos)
{
    QString part;
    if (pos < text.size() && text.at(pos) == SettingsQuote) {
        ++pos;
        while (pos < text.size()) {
            const QChar c = text.at(pos++);
            if (c != SettingsQuote) {
                part += c;
            } else if (pos < text.size() && text.at(pos) == SettingsQuote) {
                part += c;
                ++pos;
            } else {
                break;
            }
        }
        while (pos < text.size() && text.at(pos) != SettingsDelimiter)
            part += text.at(pos++);
    } else {
        while (pos < text.size() && text.at(pos) != SettingsDelimiter)
            part += text.at(pos++);
    }
    if (pos < text.size())
        ++pos;
    return part;
}

QStringList ParseDelimited(const QString& text)
{
    QStringList values;
    qsizetype pos = 0;
    while (pos < text.size())
        values << NextPart(text, pos);
    if (text.endsWith(SettingsDelimiter))
        values << QString();
    return values;
}

QString ValueOf(const QStringList& lines, const QString& name)
{
    const QString prefix = name + QLatin1Char('=');
    for (const QString& line : lines) {
        if (line.startsWith(prefix, Qt::CaseInsensitive))
            return line.mid(prefix.size());
    }
    return {};
}

} // namespace

QString ValueSortKey(const TVariant& value, TFieldType dataType)
{
    try {
        return KeyOf(value, dataType);
    } catch (const Exception&) {
        return {};
    }
}

bool StandsAlone(const QString& expression)
{
    std::vector<TFilterLexer::TToken> tokens;
    try {
        tokens = TFilterLexer::Tokenize(expression);
    } catch (const EDatabaseError&) {
        return false;
    }
    int depth = 0;
    for (const TFilterLexer::TToken& token : tokens) {
        if (token.Kind == TFilterLexer::ttLeftParen)
            ++depth;
        else if (token.Kind == TFilterLexer::ttRightParen && --depth < 0)
            return false;
    }
    return depth == 0;
}

QString CombinedFilterText(const QStringList& columnExpressions)
{
    QString text;
    for (const QString& expression : columnExpressions) {
        if (expression.isEmpty())
            continue;
        text = text.isEmpty() ? QStringLiteral("(%1)").arg(expression)
                              : QStringLiteral("%1 AND (%2)").arg(text, expression);
    }
    return text;
}

QString DataSetFilterText(bool programFiltered, const QString& programText, const QString& columnText)
{
    if (!programFiltered || programText.isEmpty())
        return columnText;
    if (columnText.isEmpty() || !StandsAlone(programText))
        return programText;
    return QStringLiteral("(%1) AND %2").arg(programText, columnText);
}

QStringList FilterSettingsLines(const QList<TColumnFilterLine>& filters)
{
    QStringList lines{QStringLiteral("Filters=%1").arg(filters.size())};
    for (int i = 0; i < filters.size(); ++i) {
        const TColumnFilterLine& filter = filters.at(i);
        lines << QStringLiteral("Filter%1=%2,%3,%4")
                     .arg(i + 1)
                     .arg(SettingsPart(filter.FieldName, false), SettingsPart(filter.FilterText, false),
                          DelimitedText(filter.FilterList));
    }
    return lines;
}

QList<TColumnFilterLine> ParseFilterSettingsLines(const QStringList& lines)
{
    bool ok = false;
    // Each filter has a line of its own, so a stored count beyond the lines present is
    // damaged: reading only as many keeps such a count from making the loop run long.
    const qsizetype count =
        std::min<qsizetype>(ValueOf(lines, QStringLiteral("Filters")).trimmed().toInt(&ok), lines.size());
    QList<TColumnFilterLine> filters;
    for (qsizetype i = 1; ok && i <= count; ++i) {
        const QString line = ValueOf(lines, QStringLiteral("Filter%1").arg(i));
        if (line.isEmpty())
            continue;
        qsizetype pos = 0;
        TColumnFilterLine filter;
        filter.FieldName = NextPart(line, pos);
        filter.FilterText = NextPart(line, pos);
        filter.FilterList = ParseDelimited(line.mid(pos));
        filters << filter;
    }
    return filters;
}

} // namespace orvo
