#include "platform/data/tstringfield.h"

#include "platform/data/tdataset.h"

#include <algorithm>

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
    const int limit = DataSet() ? DataSet()->TextWidthLimit() : 0;
    if (limit <= 0)
        return Size() > 0 ? Size() : TField::DefaultWidth();
    return Size() > 0 ? std::min(Size(), limit) : limit;
}

TVariant TStringField::ValueAsRead(const TVariant& stored) const
{
    // Size 0 means the column declared no length: nothing to cut then.
    if (Size() <= 0 || !stored.IsString() || (DataSet() && DataSet()->ReadsTextWhole()))
        return stored;
    const QString text = stored.AsString();
    return text.size() > Size() ? TVariant(text.left(Size())) : stored;
}

} // namespace orvo
