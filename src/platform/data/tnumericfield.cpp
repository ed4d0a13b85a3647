#include "platform/data/tnumericfield.h"

#include "platform/core/exceptions.h"
#include "platform/core/strconvert.h"

namespace orvo {

TNumericField::TNumericField(TFieldType dataType, QObject* owner) : TField(dataType, owner)
{
    SetAlignment(taRightJustify);
}

void TNumericField::SetDisplayFormat(const QString& format)
{
    if (format == FDisplayFormat)
        return;
    FDisplayFormat = format;
    PropertyChanged(false);
}

void TNumericField::SetEditFormat(const QString& format)
{
    if (format == FEditFormat)
        return;
    FEditFormat = format;
    PropertyChanged(false);
}

bool TNumericField::IsValidChar(QChar ch) const
{
    return (ch >= u'0' && ch <= u'9') || ch == u'+' || ch == u'-';
}

QString TNumericField::FormatFor(bool displayText) const
{
    return displayText || FEditFormat.isEmpty() ? FDisplayFormat : FEditFormat;
}

std::optional<qint64> TNumericField::WholeNumberOf(const TVariant& value, const QString& typeName) const
{
    if (value.IsClear())
        return std::nullopt;
    if (value.IsString()) {
        const QString text = value.AsString().trimmed();
        if (text.isEmpty())
            return std::nullopt;
        return StrToInt64(text);
    }
    try {
        return value.AsInt64();
    } catch (const EVariantError&) {
        RaiseAccessError(typeName);
    }
}

} // namespace orvo
