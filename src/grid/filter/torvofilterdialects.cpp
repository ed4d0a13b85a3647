#include "grid/filter/torvofilterdialects.h"

#include <QList>
#include <QMetaObject>

namespace orvo {

namespace {

TOrvoFilterDialectRules EngineRules(const QString& name, const QStringList& classNames)
{
    TOrvoFilterDialectRules rules;
    rules.Name = name;
    rules.ClassNames = classNames;
    return rules;
}

QList<TOrvoFilterDialectRules>& Registry()
{
    static QList<TOrvoFilterDialectRules> entries{
        EngineRules(QStringLiteral("SQLite"),
                    {QStringLiteral("TSQLiteTable"), QStringLiteral("TSQLiteQuery")}),
        EngineRules(QStringLiteral("In-memory"), {QStringLiteral("TOrvoDBCustomData")})};
    return entries;
}

QString WithoutNamespace(const char* className)
{
    const QString name = QString::fromLatin1(className);
    return name.section(QStringLiteral("::"), -1);
}

} // namespace

void TOrvoFilterDialects::Register(const TOrvoFilterDialectRules& rules)
{
    Unregister(rules.Name);
    Registry().append(rules);
}

bool TOrvoFilterDialects::Unregister(const QString& name)
{
    return Registry().removeIf([&name](const TOrvoFilterDialectRules& rules) { return rules.Name == name; }) >
           0;
}

TOrvoFilterDialectRules TOrvoFilterDialects::Find(const QMetaObject* dataSetClass)
{
    QStringList classNames;
    for (const QMetaObject* meta = dataSetClass; meta; meta = meta->superClass())
        classNames << WithoutNamespace(meta->className());
    return FindByClassNames(classNames);
}

TOrvoFilterDialectRules TOrvoFilterDialects::FindByClassNames(const QStringList& classNames)
{
    const QList<TOrvoFilterDialectRules>& entries = Registry();
    for (const QString& className : classNames) {
        for (auto entry = entries.crbegin(); entry != entries.crend(); ++entry) {
            if (entry->ClassNames.contains(className))
                return *entry;
        }
    }
    return Other();
}

TOrvoFilterDialectRules TOrvoFilterDialects::Other()
{
    TOrvoFilterDialectRules rules;
    rules.NumberSeparator = TOrvoFilterDialectRules::nsFilterProperty;
    return rules;
}

} // namespace orvo
