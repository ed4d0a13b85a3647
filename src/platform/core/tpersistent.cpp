#include "platform/core/tpersistent.h"

#include "platform/core/exceptions.h"

namespace orvo {

void TPersistent::Assign(const TPersistent* source)
{
    AssignError(source);
}

void TPersistent::AssignError(const QObject* source) const
{
    const QString sourceName =
        source ? QString::fromLatin1(source->metaObject()->className()) : QStringLiteral("nil");
    throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2")
                            .arg(sourceName, QString::fromLatin1(metaObject()->className())));
}

} // namespace orvo
