#pragma once

#include "platform/data/tnumericfield.h"

namespace orvo {

/// An exact decimal field holding TCurrency values. Size is the number of
/// decimals (4 unless set; values are rounded to it, as the column keeps no
/// more), Precision the total number of digits as the column declares it.
class TBCDField : public TNumericField
{
    Q_OBJECT
    Q_PROPERTY(bool Currency READ Currency WRITE SetCurrency)
    Q_PROPERTY(int Precision READ Precision WRITE SetPrecision)
    Q_PROPERTY(double MinValue READ MinValueAsFloat WRITE SetMinValueAsFloat)
    Q_PROPERTY(double MaxValue READ MaxValueAsFloat WRITE SetMaxValueAsFloat)

public:
    explicit TBCDField(QObject* owner = nullptr);

    bool Currency() const { return FCurrency; }
    void SetCurrency(bool currency);
    int Precision() const { return FPrecision; }
    void SetPrecision(int precision) { FPrecision = precision; }
    TCurrency MinValue() const { return FMinValue; }
    void SetMinValue(TCurrency value) { FMinValue = value; }
    TCurrency MaxValue() const { return FMaxValue; }
    void SetMaxValue(TCurrency value) { FMaxValue = value; }

    TVariant CanonicalValue(const TVariant& value) const override;
    bool IsValidChar(QChar ch) const override;
    QString AsString() const override;

protected:
    QString GetText(bool displayText) const override;
    int DefaultWidth() const override;

private:
    double MinValueAsFloat() const { return FMinValue.ToDouble(); }
    void SetMinValueAsFloat(double value) { FMinValue = TCurrency::FromDouble(value); }
    double MaxValueAsFloat() const { return FMaxValue.ToDouble(); }
    void SetMaxValueAsFloat(double value) { FMaxValue = TCurrency::FromDouble(value); }
    TCurrency RoundToScale(TCurrency value) const;

    bool FCurrency = false;
    int FPrecision = 0;
    TCurrency FMinValue;
    TCurrency FMaxValue;
};

} // namespace orvo
