#pragma once

#include "platform/data/tintegerfield.h"

namespace orvo {

/// A 16-bit unsigned integer field (0 .. 65535).
class TWordField : public TIntegerField
{
    Q_OBJECT

public:
    explicit TWordField(QObject* owner = nullptr);

protected:
    int DefaultWidth() const override { return 5; }
};

} // namespace orvo
