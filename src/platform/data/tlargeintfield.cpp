#include "platform/data/tlargeintfield.h"

#include "platform/core/exceptions.h"
#include "platform/core/floatformat.h"

namespace orvo {

TLargeintField::TLargeintField(QObject* owner) : TNumericField(ftLargeint, owner) {}

TVariant TLargeintField::CanonicalValue(const TVariant& value) const
{
    const std::optional<qint64> whole = WholeNumberOf(value, QStringLiteral("LargeInt"));
    if (!whole)
        return TVariant::Null();
    const qint64 number = *whole;
    if ((FMinValue != 0 || FMaxValue != 0) && (number < FMinValue || number > FMaxValue))
        RaiseRangeError(double(number), double(FMinValue), double(FMaxValue));
    return TVariant(number);
}

QString TLargeintField::GetText(bool displayText) const
{
    const TVariant value = AsVariant();
    if (value.IsClear())
        return QString();
    const QString format = FormatFor(displayText);
    return format.isEmpty() ? QString::number(value.AsInt64()) : FormatFloat(format, value.AsFloat());
}

} // namespace orvo
