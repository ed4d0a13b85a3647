#include "platform/data/tlargeintfield.h"

#include "platform/core/exceptions.h"
#include "platform/core/floatformat.h"
#include "platform/core/strconvert.h"

namespace orvo {

TLargeintField::TLargeintField(QObject* owner) : TNumericField(ftLargeint, owner) {}

TVariant TLargeintField::CanonicalValue(const TVariant& value) const
{
    if (value.IsClear())
        return TVariant::Null();
    qint64 number = 0;
    if (value.IsString()) {
        const QString text = value.AsString().trimmed();
        if (text.isEmpty())
            return TVariant::Null();
        number = StrToInt64(text);
    } else {
        try {
            number = value.AsInt64();
        } catch (const EVariantError&) {
            RaiseAccessError(QStringLiteral("LargeInt"));
        }
    }
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
