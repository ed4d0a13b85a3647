#include "platform/data/tdatetimefield.h"

#include "platform/core/datetimeformat.h"
#include "platform/core/datetimeparse.h"
#include "platform/core/exceptions.h"
#include "platform/core/tformatsettings.h"

namespace orvo {

TDateTimeField::TDateTimeField(QObject* owner) : TDateTimeField(ftDateTime, owner) {}

TDateTimeField::TDateTimeField(TFieldType dataType, QObject* owner) : TField(dataType, owner) {}

void TDateTimeField::SetDisplayFormat(const QString& format)
{
    if (format == FDisplayFormat)
        return;
    FDisplayFormat = format;
    PropertyChanged(false);
}

TVariant TDateTimeField::CanonicalValue(const TVariant& value) const
{
    if (value.IsClear())
        return TVariant::Null();
    if (value.IsString()) {
        const QString text = value.AsString().trimmed();
        if (text.isEmpty())
            return TVariant::Null();
        return TVariant(Normalized(ParseText(text)));
    }
    try {
        return TVariant(Normalized(value.AsDateTime()));
    } catch (const EVariantError&) {
        RaiseAccessError(QStringLiteral("DateTime"));
    }
}

bool TDateTimeField::IsValidChar(QChar ch) const
{
    if (ch.isDigit() || ch.isSpace())
        return true;
    const TFormatSettings& settings = TFormatSettings::Default();
    if (ch == settings.DateSeparator || ch == settings.TimeSeparator || ch == settings.DecimalSeparator)
        return true;
    // ISO dates and the usual separators, and the letters of the AM/PM markers.
    if (ch == u'-' || ch == u'/' || ch == u'.' || ch == u':')
        return true;
    return ch.isLetter() && (settings.TimeAMString.contains(ch, Qt::CaseInsensitive) ||
                             settings.TimePMString.contains(ch, Qt::CaseInsensitive));
}

QString TDateTimeField::AsString() const
{
    return GetText(false);
}

QString TDateTimeField::GetText(bool displayText) const
{
    const TVariant value = AsVariant();
    if (value.IsClear())
        return QString();
    const QString format = displayText && !FDisplayFormat.isEmpty() ? FDisplayFormat : DefaultFormat();
    return FormatDateTime(format, value.AsDateTime());
}

QString TDateTimeField::DefaultFormat() const
{
    // Short date and long time, the time left out at midnight.
    return QStringLiteral("c");
}

TDateTime TDateTimeField::ParseText(const QString& text) const
{
    return StrToDateTime(text);
}

} // namespace orvo
