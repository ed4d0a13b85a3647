#include "grid/totals/torvocolumntotalfooter.h"

namespace orvo {

TOrvoColumnTotalFooter::TOrvoColumnTotalFooter(TOrvoColumn* column) : TOrvoColumnTotalValue(column) {}

} // namespace orvo
