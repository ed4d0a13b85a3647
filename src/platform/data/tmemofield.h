#pragma once

#include "platform/data/tblobfield.h"

namespace orvo {

/// A long text field: its value is text (bytes read and written through it
/// are UTF-8); its display text is "(MEMO)", or "(memo)" when empty.
class TMemoField : public TBlobField
{
    Q_OBJECT

public:
    explicit TMemoField(QObject* owner = nullptr);

    TVariant CanonicalValue(const TVariant& value) const override;
};

} // namespace orvo
