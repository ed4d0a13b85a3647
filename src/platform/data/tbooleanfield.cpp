#include "platform/data/tbooleanfield.h"

#include "platform/core/exceptions.h"

namespace orvo {

namespace {

const QString DefaultTrueText = QStringLiteral("True");
const QString DefaultFalseText = QStringLiteral("False");

/// True when `text` is `value` or a leading part of it, ignoring case.
bool IsAbbreviationOf(const QString& text, const QString& value)
{
    return !value.isEmpty() && value.startsWith(text, Qt::CaseInsensitive);
}

} // namespace

TBooleanField::TBooleanField(QObject* owner)
    : TField(ftBoolean, owner), FTrueText(DefaultTrueText), FFalseText(DefaultFalseText)
{}

void TBooleanField::SetDisplayValues(const QString& values)
{
    if (values == FDisplayValues)
        return;
    FDisplayValues = values;
    if (values.isEmpty()) {
        FTrueText = DefaultTrueText;
        FFalseText = DefaultFalseText;
    } else {
        const qsizetype separator = values.indexOf(u';');
        FTrueText = separator < 0 ? values : values.left(separator);
        FFalseText = separator < 0 ? QString() : values.mid(separator + 1);
    }
    PropertyChanged(false);
}

bool TBooleanField::ParseText(const QString& text) const
{
    if (IsAbbreviationOf(text, FFalseText))
        return false;
    if (IsAbbreviationOf(text, FTrueText))
        return true;
    // The plain words still work under other display values, so that text copied between fields parses.
    if (text.compare(DefaultFalseText, Qt::CaseInsensitive) == 0)
        return false;
    if (text.compare(DefaultTrueText, Qt::CaseInsensitive) == 0)
        return true;
    throw EConvertError(
        QStringLiteral("'%1' is not a valid boolean value for field '%2'").arg(text, DisplayName()));
}

TVariant TBooleanField::CanonicalValue(const TVariant& value) const
{
    if (value.IsClear())
        return TVariant::Null();
    if (value.IsString()) {
        const QString text = value.AsString().trimmed();
        if (text.isEmpty())
            return TVariant::Null();
        return TVariant(ParseText(text));
    }
    try {
        return TVariant(value.AsBoolean());
    } catch (const EVariantError&) {
        RaiseAccessError(QStringLiteral("Boolean"));
    }
}

QString TBooleanField::AsString() const
{
    return GetText(false);
}

QString TBooleanField::GetText(bool) const
{
    const TVariant value = AsVariant();
    if (value.IsClear())
        return QString();
    return value.AsBoolean() ? FTrueText : FFalseText;
}

int TBooleanField::DefaultWidth() const
{
    return int(qMax(FTrueText.size(), FFalseText.size()));
}

} // namespace orvo
