#pragma once

#include "platform/data/tstringfield.h"

namespace orvo {

/// A text field declared as wide text; it behaves as a string field (all
/// text is Unicode here) but keeps its own data type for field definitions.
class TWideStringField : public TStringField
{
    Q_OBJECT

public:
    explicit TWideStringField(QObject* owner = nullptr);
};

} // namespace orvo
