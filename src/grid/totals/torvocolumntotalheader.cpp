#include "grid/totals/torvocolumntotalheader.h"

namespace orvo {

TOrvoColumnTotalHeader::TOrvoColumnTotalHeader(TOrvoColumn* column) : TOrvoColumnTotalValue(column) {}

} // namespace orvo
