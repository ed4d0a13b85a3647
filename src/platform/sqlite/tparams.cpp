#include "platform/sqlite/tparams.h"

#include "platform/core/exceptions.h"
#include "platform/sqlite/tsqlitestatement.h"

#include <sqlite3.h>

namespace orvo {

namespace {

bool IsNameStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

bool IsNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// The index just past a quoted run that starts at `i` and ends with `close`
// (a doubled closing character stays inside).
qsizetype SkipQuoted(const QString& sql, qsizetype i, QChar close)
{
    for (++i; i < sql.size(); ++i) {
        if (sql.at(i) != close)
            continue;
        if (i + 1 < sql.size() && sql.at(i + 1) == close && close != QLatin1Char(']')) {
            ++i;
            continue;
        }
        return i + 1;
    }
    return i;
}

qsizetype SkipComment(const QString& sql, qsizetype i)
{
    if (sql.at(i + 1) == QLatin1Char('-')) {
        const qsizetype end = sql.indexOf(QLatin1Char('\n'), i);
        return end < 0 ? sql.size() : end + 1;
    }
    const qsizetype end = sql.indexOf(QLatin1String("*/"), i + 2);
    return end < 0 ? sql.size() : end + 2;
}

} // namespace

TParam* TParams::FindParam(const QString& name) const
{
    for (const auto& p : FItems)
        if (p->Name().compare(name, Qt::CaseInsensitive) == 0)
            return p.get();
    return nullptr;
}

TParam* TParams::ParamByName(const QString& name) const
{
    if (TParam* p = FindParam(name))
        return p;
    throw EDatabaseError(QStringLiteral("Parameter '%1' not found").arg(name));
}

QStringList TParams::ParamNames(const QString& sql)
{
    QStringList names;
    qsizetype i = 0;
    while (i < sql.size()) {
        const QChar c = sql.at(i);
        const QChar next = i + 1 < sql.size() ? sql.at(i + 1) : QChar();
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`'))
            i = SkipQuoted(sql, i, c);
        else if (c == QLatin1Char('['))
            i = SkipQuoted(sql, i, QLatin1Char(']'));
        else if ((c == QLatin1Char('-') && next == QLatin1Char('-')) ||
                 (c == QLatin1Char('/') && next == QLatin1Char('*')))
            i = SkipComment(sql, i);
        else if (c == QLatin1Char(':') && IsNameStart(next)) {
            qsizetype end = i + 1;
            while (end < sql.size() && IsNameChar(sql.at(end)))
                ++end;
            const QString name = sql.mid(i + 1, end - i - 1);
            if (!names.contains(name, Qt::CaseInsensitive))
                names << name;
            i = end;
        } else
            ++i;
    }
    return names;
}

void TParams::ParseSQL(const QString& sql)
{
    std::vector<std::unique_ptr<TParam>> items;
    for (const QString& name : ParamNames(sql)) {
        auto param = std::make_unique<TParam>(name);
        if (const TParam* old = FindParam(name))
            param->SetValue(old->Value());
        items.push_back(std::move(param));
    }
    FItems = std::move(items);
}

std::vector<TVariant> TParams::ValuesFor(const TSQLiteStatement& statement) const
{
    std::vector<TVariant> values;
    for (int i = 1; i <= statement.ParameterCount(); ++i) {
        const char* raw = sqlite3_bind_parameter_name(statement.Handle(), i);
        const QString name = raw ? QString::fromUtf8(raw).mid(1) : QString();
        if (name.isEmpty())
            throw EDatabaseError(QStringLiteral("Unnamed parameter %1 has no value").arg(i));
        values.push_back(ParamByName(name)->Value());
    }
    return values;
}

void TParams::BindTo(TSQLiteStatement& statement) const
{
    const std::vector<TVariant> values = ValuesFor(statement);
    for (size_t i = 0; i < values.size(); ++i)
        statement.Bind(int(i + 1), values[i]);
}

} // namespace orvo
