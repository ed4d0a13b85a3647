#include "platform/data/tbcdfield.h"

#include "platform/core/exceptions.h"
#include "platform/core/floatformat.h"
#include "platform/core/strconvert.h"
#include "platform/core/tformatsettings.h"

namespace orvo {

TBCDField::TBCDField(QObject* owner) : TNumericField(ftBCD, owner)
{
    SetSize(4);
}

void TBCDField::SetCurrency(bool currency)
{
    if (currency == FCurrency)
        return;
    FCurrency = currency;
    PropertyChanged(false);
}

TCurrency TBCDField::RoundToScale(TCurrency value) const
{
    // The value type keeps four decimals; a column with fewer must not hold digits it would drop.
    const int decimals = qBound(0, Size(), 4);
    qint64 step = 1;
    for (int i = decimals; i < 4; ++i)
        step *= 10;
    if (step == 1)
        return value;
    const qint64 raw = value.Raw();
    const qint64 half = step / 2;
    const qint64 rounded = raw >= 0 ? (raw + half) / step * step : -((-raw + half) / step * step);
    return TCurrency::FromRaw(rounded);
}

TVariant TBCDField::CanonicalValue(const TVariant& value) const
{
    if (value.IsClear())
        return TVariant::Null();
    TCurrency number;
    if (value.IsString()) {
        const QString text = value.AsString().trimmed();
        if (text.isEmpty())
            return TVariant::Null();
        number = TCurrency::FromDouble(StrToFloat(text));
    } else {
        try {
            number = value.AsCurrency();
        } catch (const EVariantError&) {
            RaiseAccessError(QStringLiteral("BCD"));
        }
    }
    number = RoundToScale(number);
    if ((FMinValue.Raw() != 0 || FMaxValue.Raw() != 0) && (number < FMinValue || number > FMaxValue))
        RaiseRangeError(number.ToDouble(), FMinValue.ToDouble(), FMaxValue.ToDouble());
    return TVariant(number);
}

bool TBCDField::IsValidChar(QChar ch) const
{
    return TNumericField::IsValidChar(ch) || ch == TFormatSettings::Default().DecimalSeparator;
}

QString TBCDField::AsString() const
{
    const TVariant value = AsVariant();
    return value.IsClear() ? QString() : CurrToStr(value.AsCurrency());
}

QString TBCDField::GetText(bool displayText) const
{
    const TVariant value = AsVariant();
    if (value.IsClear())
        return QString();
    const TCurrency number = value.AsCurrency();
    const QString format = FormatFor(displayText);
    if (!format.isEmpty())
        return FormatCurr(format, number);
    if (!FCurrency)
        return CurrToStr(number);
    const int decimals = TFormatSettings::Default().CurrencyDecimals;
    return CurrToStrF(number, displayText ? ffCurrency : ffFixed, decimals);
}

int TBCDField::DefaultWidth() const
{
    return FPrecision > 0 ? FPrecision + 2 : 10;
}

} // namespace orvo
