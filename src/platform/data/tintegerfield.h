#pragma once

#include "platform/data/tnumericfield.h"

namespace orvo {

/// A 32-bit integer field. MinValue and MaxValue narrow the accepted range
/// when either is non-zero; otherwise the type's own range applies.
class TIntegerField : public TNumericField
{
    Q_OBJECT
    Q_PROPERTY(int MinValue READ MinValue WRITE SetMinValue)
    Q_PROPERTY(int MaxValue READ MaxValue WRITE SetMaxValue)

public:
    explicit TIntegerField(QObject* owner = nullptr);

    int MinValue() const { return FMinValue; }
    void SetMinValue(int value) { FMinValue = value; }
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int value) { FMaxValue = value; }

    TVariant CanonicalValue(const TVariant& value) const override;

protected:
    TIntegerField(TFieldType dataType, QObject* owner, qint64 minRange, qint64 maxRange);

    QString GetText(bool displayText) const override;
    int DefaultWidth() const override;

private:
    qint64 FMinRange;
    qint64 FMaxRange;
    int FMinValue = 0;
    int FMaxValue = 0;
};

} // namespace orvo
