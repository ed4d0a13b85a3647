#include "lists/calculator/torvodbdisplaydata.h"

#include "platform/data/tfielddefs.h"

namespace orvo {

TOrvoDBDisplayData::TOrvoDBDisplayData(QObject* owner) : TOrvoDBCustomData(owner)
{
    SetReadOnly(true);
    TFieldDef* def = FieldDefs()->Add(QStringLiteral("DisplayText"), ftWideString, DisplayTextSize);
    def->SetAttributes(def->Attributes() + TFieldAttributes{faReadonly});
}

void TOrvoDBDisplayData::SetDisplayText(const QString& text)
{
    if (text == FDisplayText)
        return;
    FDisplayText = text;
    if (Active())
        Refresh();
}

void TOrvoDBDisplayData::InternalGetFieldValue(qint64, const TField*, TVariant& value)
{
    value = FDisplayText;
}

} // namespace orvo
