#include "platform/data/tstringfield.h"

namespace orvo {

TStringField::TStringField(QObject* owner) : TStringField(ftString, owner) {}

TStringField::TStringField(TFieldType dataType, QObject* owner) : TField(dataType, owner)
{
    SetSize(20);
}

TVariant TStringField::CanonicalValue(const TVariant& value) const
{
    if (value.IsClear())
        return TVariant::Null();
    return TVariant(value.AsString());
}

int TStringField::DefaultWidth() const
{
    return Size() > 0 ? Size() : TField::DefaultWidth();
}

TVariant TStringField::ValueAsRead(const TVariant& stored) const
{
    // Size 0 means the column declared no length: nothing to cut then.
    if (Size() <= 0 || !stored.IsString())
        return stored;
    const QString text = stored.AsString();
    return text.size() > Size() ? TVariant(text.left(Size())) : stored;
}

} // namespace orvo
