#pragma once

#include "platform/data/tfloatfield.h"

namespace orvo {

/// A float field that holds money: Currency is on from the start.
class TCurrencyField : public TFloatField
{
    Q_OBJECT

public:
    explicit TCurrencyField(QObject* owner = nullptr);
};

} // namespace orvo
