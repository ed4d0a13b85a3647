#include "platform/data/tmemofield.h"

namespace orvo {

TMemoField::TMemoField(QObject* owner) : TBlobField(ftMemo, owner) {}

TVariant TMemoField::CanonicalValue(const TVariant& value) const
{
    if (value.IsClear())
        return TVariant::Null();
    return TVariant(value.AsString());
}

} // namespace orvo
