#include "platform/data/ttimefield.h"

#include "platform/core/datetimeparse.h"

namespace orvo {

TTimeField::TTimeField(QObject* owner) : TDateTimeField(ftTime, owner) {}

QString TTimeField::DefaultFormat() const
{
    return QStringLiteral("tt");
}

TDateTime TTimeField::ParseText(const QString& text) const
{
    return StrToTime(text);
}

} // namespace orvo
