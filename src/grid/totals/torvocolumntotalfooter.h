#pragma once

#include "grid/totals/torvocolumntotalvalue.h"

namespace orvo {

/// The total a column shows in the grid's total footer row.
class TOrvoColumnTotalFooter : public TOrvoColumnTotalValue
{
    Q_OBJECT

public:
    explicit TOrvoColumnTotalFooter(TOrvoColumn* column);
};

} // namespace orvo
