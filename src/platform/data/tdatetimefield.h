#pragma once

#include "platform/data/tfield.h"

namespace orvo {

/// A date-and-time field. The display text uses DisplayFormat (FormatDateTime
/// syntax) when set, else the short date and long time, leaving out a
/// midnight time; the edit text always uses the default format so that it
/// parses back.
class TDateTimeField : public TField
{
    Q_OBJECT
    Q_PROPERTY(QString DisplayFormat READ DisplayFormat WRITE SetDisplayFormat)

public:
    explicit TDateTimeField(QObject* owner = nullptr);

    QString DisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(const QString& format);

    TVariant CanonicalValue(const TVariant& value) const override;
    QString AsString() const override;
    bool IsValidChar(QChar ch) const override;

protected:
    TDateTimeField(TFieldType dataType, QObject* owner);

    QString GetText(bool displayText) const override;
    int DefaultWidth() const override { return 18; }
    /// The format of an edit text (and of a display text without DisplayFormat).
    virtual QString DefaultFormat() const;
    /// Parses text; raises EConvertError in the class's own words.
    virtual TDateTime ParseText(const QString& text) const;
    /// Keeps the part of a date-time this class stores.
    virtual TDateTime Normalized(TDateTime value) const { return value; }

private:
    QString FDisplayFormat;
};

} // namespace orvo
