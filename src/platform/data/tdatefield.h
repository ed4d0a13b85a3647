#pragma once

#include "platform/data/tdatetimefield.h"

namespace orvo {

/// A date field: its values keep only the whole day, shown in the short date format.
class TDateField : public TDateTimeField
{
    Q_OBJECT

public:
    explicit TDateField(QObject* owner = nullptr);

protected:
    int DefaultWidth() const override { return 10; }
    QString DefaultFormat() const override;
    TDateTime ParseText(const QString& text) const override;
    TDateTime Normalized(TDateTime value) const override { return value.DatePart(); }
};

} // namespace orvo
