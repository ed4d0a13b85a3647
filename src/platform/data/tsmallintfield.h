#pragma once

#include "platform/data/tintegerfield.h"

namespace orvo {

/// A 16-bit signed integer field (-32768 .. 32767).
class TSmallintField : public TIntegerField
{
    Q_OBJECT

public:
    explicit TSmallintField(QObject* owner = nullptr);

protected:
    int DefaultWidth() const override { return 6; }
};

} // namespace orvo
