#include "platform/data/tdatefield.h"

#include "platform/core/datetimeparse.h"

namespace orvo {

TDateField::TDateField(QObject* owner) : TDateTimeField(ftDate, owner) {}

QString TDateField::DefaultFormat() const
{
    return QStringLiteral("ddddd");
}

TDateTime TDateField::ParseText(const QString& text) const
{
    return StrToDate(text);
}

} // namespace orvo
