#pragma once

#include "grid/totals/torvocolumntotalvalue.h"

namespace orvo {

/// The total a column shows in the grid's total header row.
class TOrvoColumnTotalHeader : public TOrvoColumnTotalValue
{
    Q_OBJECT

public:
    explicit TOrvoColumnTotalHeader(TOrvoColumn* column);
};

} // namespace orvo
