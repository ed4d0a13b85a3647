#pragma once

#include "platform/data/tblobfield.h"

namespace orvo {

/// A blob field holding a picture; its display text is "(GRAPHIC)", or "(graphic)" when empty.
class TGraphicField : public TBlobField
{
    Q_OBJECT

public:
    explicit TGraphicField(QObject* owner = nullptr);
};

} // namespace orvo
