#pragma once

#include "platform/data/tnumericfield.h"

namespace orvo {

/// A 64-bit integer field. MinValue and MaxValue narrow the accepted range
/// when either is non-zero.
class TLargeintField : public TNumericField
{
    Q_OBJECT
    Q_PROPERTY(qint64 MinValue READ MinValue WRITE SetMinValue)
    Q_PROPERTY(qint64 MaxValue READ MaxValue WRITE SetMaxValue)

public:
    explicit TLargeintField(QObject* owner = nullptr);

    qint64 MinValue() const { return FMinValue; }
    void SetMinValue(qint64 value) { FMinValue = value; }
    qint64 MaxValue() const { return FMaxValue; }
    void SetMaxValue(qint64 value) { FMaxValue = value; }

    TVariant CanonicalValue(const TVariant& value) const override;

protected:
    QString GetText(bool displayText) const override;
    int DefaultWidth() const override { return 15; }

private:
    qint64 FMinValue = 0;
    qint64 FMaxValue = 0;
};

} // namespace orvo
