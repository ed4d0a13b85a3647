#include "platform/data/tfloatfield.h"

#include "platform/core/exceptions.h"
#include "platform/core/floatformat.h"
#include "platform/core/strconvert.h"
#include "platform/core/tformatsettings.h"

#include <cmath>

namespace orvo {

TFloatField::TFloatField(QObject* owner) : TFloatField(ftFloat, owner) {}

TFloatField::TFloatField(TFieldType dataType, QObject* owner) : TNumericField(dataType, owner) {}

void TFloatField::SetCurrency(bool currency)
{
    if (currency == FCurrency)
        return;
    FCurrency = currency;
    PropertyChanged(false);
}

void TFloatField::SetPrecision(int precision)
{
    const int bounded = qBound(2, precision, 15);
    if (bounded == FPrecision)
        return;
    FPrecision = bounded;
    PropertyChanged(false);
}

TVariant TFloatField::CanonicalValue(const TVariant& value) const
{
    if (value.IsClear())
        return TVariant::Null();
    double number = 0;
    if (value.IsString()) {
        const QString text = value.AsString().trimmed();
        if (text.isEmpty())
            return TVariant::Null();
        number = StrToFloat(text);
    } else {
        try {
            number = value.AsFloat();
        } catch (const EVariantError&) {
            RaiseAccessError(QStringLiteral("Float"));
        }
    }
    // A database keeps no infinities or NaNs; storing one would come back as something else.
    if (!std::isfinite(number))
        throw EConvertError(QStringLiteral("%1 is not a valid value for field '%2'")
                                .arg(QString::number(number), DisplayName()));
    if ((FMinValue != 0 || FMaxValue != 0) && (number < FMinValue || number > FMaxValue))
        RaiseRangeError(number, FMinValue, FMaxValue);
    return TVariant(number);
}

bool TFloatField::IsValidChar(QChar ch) const
{
    return TNumericField::IsValidChar(ch) || ch == TFormatSettings::Default().DecimalSeparator ||
           ch == u'E' || ch == u'e';
}

QString TFloatField::AsString() const
{
    const TVariant value = AsVariant();
    return value.IsClear() ? QString() : FloatToStr(value.AsFloat());
}

QString TFloatField::GetText(bool displayText) const
{
    const TVariant value = AsVariant();
    if (value.IsClear())
        return QString();
    const double number = value.AsFloat();
    const QString format = FormatFor(displayText);
    if (!format.isEmpty())
        return FormatFloat(format, number);
    if (!FCurrency)
        return FloatToStrF(number, ffGeneral, FPrecision, 0);
    // Money shows with its currency string, but is edited as a plain fixed-point number.
    const int decimals = TFormatSettings::Default().CurrencyDecimals;
    return FloatToStrF(number, displayText ? ffCurrency : ffFixed, FPrecision, decimals);
}

} // namespace orvo
