#pragma once

#include "platform/data/tdatetimefield.h"

namespace orvo {

/// A time-of-day field: its values keep only the fraction of the day, shown in the long time format.
class TTimeField : public TDateTimeField
{
    Q_OBJECT

public:
    explicit TTimeField(QObject* owner = nullptr);

protected:
    int DefaultWidth() const override { return 10; }
    QString DefaultFormat() const override;
    TDateTime ParseText(const QString& text) const override;
    TDateTime Normalized(TDateTime value) const override { return value.TimePart(); }
};

} // namespace orvo
