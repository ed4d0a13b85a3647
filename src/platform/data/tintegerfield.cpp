#include "platform/data/tintegerfield.h"

#include "platform/core/exceptions.h"
#include "platform/core/floatformat.h"

#include <limits>

namespace orvo {

TIntegerField::TIntegerField(QObject* owner)
    : TIntegerField(ftInteger, owner, std::numeric_limits<int>::min(), std::numeric_limits<int>::max())
{}

TIntegerField::TIntegerField(TFieldType dataType, QObject* owner, qint64 minRange, qint64 maxRange)
    : TNumericField(dataType, owner), FMinRange(minRange), FMaxRange(maxRange)
{}

TVariant TIntegerField::CanonicalValue(const TVariant& value) const
{
    const std::optional<qint64> whole = WholeNumberOf(value, QStringLiteral("Integer"));
    if (!whole)
        return TVariant::Null();
    const qint64 number = *whole;
    // MinValue/MaxValue narrow the range only when one of them was set.
    const bool narrowed = FMinValue != 0 || FMaxValue != 0;
    const qint64 min = narrowed ? FMinValue : FMinRange;
    const qint64 max = narrowed ? FMaxValue : FMaxRange;
    if (number < min || number > max)
        RaiseRangeError(double(number), double(min), double(max));
    return TVariant(number);
}

QString TIntegerField::GetText(bool displayText) const
{
    const TVariant value = AsVariant();
    if (value.IsClear())
        return QString();
    const QString format = FormatFor(displayText);
    return format.isEmpty() ? QString::number(value.AsInt64()) : FormatFloat(format, value.AsFloat());
}

int TIntegerField::DefaultWidth() const
{
    return 11;
}

} // namespace orvo
