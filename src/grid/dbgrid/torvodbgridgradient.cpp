#include "grid/dbgrid/torvodbgridgradient.h"

namespace orvo {

TOrvoDBGridGradient::TOrvoDBGridGradient(QWidget* grid) : TOrvoGradientButton(grid) {}

} // namespace orvo
