// The text operations of dataset orders. They work on the texts as the user or the
// dataset wrote them, so every search ignores case without upper-casing the text (an
// upper-cased copy need not keep the positions of the original).

#include "grid/order/ordertext.h"

#include <QRegularExpression>

namespace orvo {

namespace {

const QString OrderBy = QStringLiteral("ORDER BY ");

bool IsIdentifierChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

/// The closing character of a quoted name or string opened by `c`, or a null char.
QChar ClosingQuote(QChar c)
{
    switch (c.unicode()) {
    case '"':
    case '\'':
    case '`':
        return c;
    case '[':
        return QLatin1Char(']');
    default:
        return QChar();
    }
}

/// Where the first LIMIT or OFFSET keyword stands in `text` outside quotes and brackets,
/// -1 when none does: a subquery's own LIMIT is not the statement's.
qsizetype TopLevelLimitAt(const QString& text)
{
    int depth = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (const QChar close = ClosingQuote(c); !close.isNull()) {
            const qsizetype end = text.indexOf(close, i + 1);
            if (end < 0)
                return -1;
            i = end;
        } else if (c == QLatin1Char('(')) {
            ++depth;
        } else if (c == QLatin1Char(')')) {
            --depth;
        } else if (depth == 0 && (i == 0 || !IsIdentifierChar(text.at(i - 1)))) {
            for (const QLatin1String word : {QLatin1String("LIMIT"), QLatin1String("OFFSET")}) {
                const qsizetype after = i + word.size();
                if (QStringView(text).mid(i, word.size()).compare(word, Qt::CaseInsensitive) == 0 &&
                    (after == text.size() || !IsIdentifierChar(text.at(after))))
                    return i;
            }
        }
    }
    return -1;
}

/// The items of an SQL order text, split at the commas outside quotes and brackets.
QStringList SplitSqlItems(const QString& text)
{
    QStringList items;
    int depth = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (const QChar close = ClosingQuote(c); !close.isNull()) {
            const qsizetype end = text.indexOf(close, i + 1);
            i = end < 0 ? text.size() - 1 : end;
        } else if (c == QLatin1Char('(')) {
            ++depth;
        } else if (c == QLatin1Char(')')) {
            --depth;
        } else if (c == QLatin1Char(',') && depth == 0) {
            items << text.mid(start, i - start);
            start = i + 1;
        }
    }
    items << text.mid(start);
    return items;
}

/// The last line that has "ORDER BY ", and where in it; -1 when none has.
qsizetype LastOrderByLine(const QStringList& lines, qsizetype& at)
{
    for (qsizetype line = lines.size() - 1; line >= 0; --line) {
        at = lines.at(line).indexOf(OrderBy, 0, Qt::CaseInsensitive);
        if (at >= 0)
            return line;
    }
    return -1;
}

bool EndsWithTerminator(const QString& line)
{
    const QString trimmed = line.trimmed();
    return trimmed.endsWith(QLatin1Char(';'));
}

QString WithoutTerminator(const QString& text)
{
    QString trimmed = text.trimmed();
    if (trimmed.endsWith(QLatin1Char(';')))
        trimmed.chop(1);
    return trimmed.trimmed();
}

/// A clause's order and the LIMIT or OFFSET tail after it (both trimmed, no terminator).
void SplitTail(const QString& rest, QString& order, QString& tail)
{
    const QString clause = WithoutTerminator(rest);
    const qsizetype at = TopLevelLimitAt(clause);
    order = (at < 0 ? clause : clause.left(at)).trimmed();
    tail = at < 0 ? QString() : clause.mid(at).trimmed();
}

/// Puts the line "ORDER BY <order>" before the statement's LIMIT or OFFSET clause; false
/// when the statement has none.
bool InsertBeforeLimit(QStringList& lines, const QString& order)
{
    const QString text = lines.join(QLatin1Char('\n'));
    qsizetype at = TopLevelLimitAt(text);
    if (at < 0)
        return false;
    qsizetype line = 0;
    while (at > lines.at(line).size()) {
        at -= lines.at(line).size() + 1;
        ++line;
    }
    const QString before = lines.at(line).left(at);
    const QString clause = OrderBy + order;
    if (before.trimmed().isEmpty()) {
        lines.insert(line, clause);
        return true;
    }
    const QString limit = lines.at(line).mid(at);
    lines[line] = before;
    while (lines[line].endsWith(QLatin1Char(' ')) || lines[line].endsWith(QLatin1Char('\t')))
        lines[line].chop(1);
    lines.insert(line + 1, clause);
    lines.insert(line + 2, limit);
    return true;
}

bool IsPlainIdentifier(const QString& name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return plain.match(name).hasMatch();
}

QString Unquoted(const QString& name)
{
    if (name.size() >= 2 && name.front() == QLatin1Char('"') && name.back() == QLatin1Char('"'))
        return name.mid(1, name.size() - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
    return name;
}

} // namespace

TOrderTextItem TOrderTextItem::Parse(const QString& item)
{
    TOrderTextItem parsed;
    const QString trimmed = item.trimmed();
    const qsizetype space = trimmed.lastIndexOf(QRegularExpression(QStringLiteral("\\s")));
    const QString lastWord = space < 0 ? QString() : trimmed.mid(space + 1);
    parsed.Descending = lastWord.compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0;
    const bool ascending = lastWord.compare(QLatin1String("ASC"), Qt::CaseInsensitive) == 0;
    parsed.Name = parsed.Descending || ascending ? trimmed.left(space).trimmed() : trimmed;
    return parsed;
}

bool SameOrderFields(const QString& first, const QString& second)
{
    QString a = first.trimmed().toUpper();
    QString b = second.trimmed().toUpper();
    while (a != b) {
        const qsizetype commaA = a.indexOf(QLatin1Char(','));
        const qsizetype commaB = b.indexOf(QLatin1Char(','));
        if ((commaA < 0 ? a : a.left(commaA)).trimmed() != (commaB < 0 ? b : b.left(commaB)).trimmed())
            return false;
        a = commaA < 0 ? QString() : a.mid(commaA + 1).trimmed();
        b = commaB < 0 ? QString() : b.mid(commaB + 1).trimmed();
    }
    return true;
}

QString OrderToIndexFields(const QString& order, const QString& format)
{
    QString index = order;
    index.replace(QLatin1Char(','), QLatin1Char(';'));
    if (format.isEmpty())
        return index;
    const QString descending = format.section(QLatin1Char(';'), 1, 1);
    QStringList items;
    for (const QString& item : index.split(QLatin1Char(';'))) {
        const TOrderTextItem parsed = TOrderTextItem::Parse(item);
        items << (parsed.Descending ? parsed.Name + descending : item.trimmed());
    }
    return items.join(QLatin1Char(';'));
}

QString IndexFieldsToOrder(const QString& index, const QString& format)
{
    if (format.isEmpty()) {
        QString order = index;
        return order.replace(QLatin1Char(';'), QLatin1Char(','));
    }
    const QStringList suffixes = format.split(QLatin1Char(';'));
    const auto suffix = [&suffixes](int i) { return i < suffixes.size() ? suffixes.at(i) : QString(); };
    QStringList items;
    for (const QString& item : index.split(QLatin1Char(';'))) {
        const QString trimmed = item.trimmed();
        const auto endsWith = [&trimmed](const QString& s) {
            return !s.isEmpty() && trimmed.endsWith(s, Qt::CaseInsensitive);
        };
        const auto name = [&trimmed](const QString& s) { return trimmed.chopped(s.size()).trimmed(); };
        if (endsWith(suffix(1)))
            items << name(suffix(1)) + QStringLiteral(" DESC");
        else if (endsWith(suffix(0)))
            items << name(suffix(0));
        else if (endsWith(suffix(2)))
            items << name(suffix(2));
        else
            items << item;
    }
    return items.join(QLatin1Char(','));
}

QString GetOrderByClause(const QStringList& lines)
{
    qsizetype at = -1;
    const qsizetype line = LastOrderByLine(lines, at);
    if (line < 0)
        return QString();
    QString order;
    QString tail;
    SplitTail(lines.at(line).mid(at + OrderBy.size()), order, tail);
    return order;
}

void SetOrderByClause(QStringList& lines, const QString& order)
{
    QString newOrder = order.trimmed();
    if (newOrder.compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0)
        newOrder.clear();
    qsizetype at = -1;
    if (const qsizetype line = LastOrderByLine(lines, at); line >= 0) {
        const QString old = lines.at(line);
        QString oldOrder;
        QString tail;
        SplitTail(old.mid(at + OrderBy.size()), oldOrder, tail);
        QString rewritten = newOrder.isEmpty() ? old.left(at) : old.left(at + OrderBy.size()) + newOrder;
        if (!tail.isEmpty()) {
            if (!rewritten.isEmpty() && !rewritten.back().isSpace())
                rewritten += QLatin1Char(' ');
            rewritten += tail;
        }
        if (EndsWithTerminator(old))
            rewritten += QLatin1Char(';');
        lines[line] = rewritten;
        return;
    }
    if (newOrder.isEmpty())
        return;
    while (!lines.isEmpty() && lines.constLast().trimmed().isEmpty())
        lines.removeLast();
    if (lines.isEmpty() || InsertBeforeLimit(lines, newOrder))
        return;
    QString& last = lines.last();
    if (EndsWithTerminator(last)) {
        last = WithoutTerminator(last);
        lines << OrderBy + newOrder + QLatin1Char(';');
    } else {
        lines << OrderBy + newOrder;
    }
}

QString SqlOrderText(const QString& order)
{
    if (order.trimmed().isEmpty())
        return QString();
    QStringList items;
    for (const QString& item : order.split(QLatin1Char(','))) {
        const TOrderTextItem parsed = TOrderTextItem::Parse(item);
        QString name = parsed.Name;
        if (!IsPlainIdentifier(name))
            name =
                QLatin1Char('"') + name.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
        items << name + (parsed.Descending ? QStringLiteral(" DESC") : QString());
    }
    return items.join(QLatin1Char(','));
}

QString OrderTextOfSql(const QString& clause)
{
    if (clause.trimmed().isEmpty())
        return QString();
    QStringList items;
    for (const QString& item : SplitSqlItems(clause)) {
        const TOrderTextItem parsed = TOrderTextItem::Parse(item);
        items << Unquoted(parsed.Name) + (parsed.Descending ? QStringLiteral(" DESC") : QString());
    }
    return items.join(QLatin1Char(','));
}

} // namespace orvo
