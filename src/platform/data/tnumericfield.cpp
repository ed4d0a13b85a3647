#include "platform/data/tnumericfield.h"

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

} // namespace orvo
