#pragma once

#include "platform/data/tnumericfield.h"

namespace orvo {

/// A double-precision number field. With Currency set it shows money
/// (currency format for display, fixed decimals for editing) where no format
/// is given. MinValue and MaxValue narrow the range when either is non-zero.
class TFloatField : public TNumericField
{
    Q_OBJECT
    Q_PROPERTY(bool Currency READ Currency WRITE SetCurrency)
    Q_PROPERTY(int Precision READ Precision WRITE SetPrecision)
    Q_PROPERTY(double MinValue READ MinValue WRITE SetMinValue)
    Q_PROPERTY(double MaxValue READ MaxValue WRITE SetMaxValue)

public:
    explicit TFloatField(QObject* owner = nullptr);

    bool Currency() const { return FCurrency; }
    void SetCurrency(bool currency);
    /// Significant digits of the general format (2 .. 15).
    int Precision() const { return FPrecision; }
    void SetPrecision(int precision);
    double MinValue() const { return FMinValue; }
    void SetMinValue(double value) { FMinValue = value; }
    double MaxValue() const { return FMaxValue; }
    void SetMaxValue(double value) { FMaxValue = value; }

    TVariant CanonicalValue(const TVariant& value) const override;
    bool IsValidChar(QChar ch) const override;
    QString AsString() const override;

protected:
    TFloatField(TFieldType dataType, QObject* owner);

    QString GetText(bool displayText) const override;

private:
    bool FCurrency = false;
    int FPrecision = 15;
    double FMinValue = 0;
    double FMaxValue = 0;
};

} // namespace orvo
