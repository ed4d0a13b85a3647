#include "grid/torvodbgrid.h"

namespace orvo {

TOrvoDBGrid::TOrvoDBGrid(QWidget* parent) : TOrvoCustomDBGrid(parent) {}

} // namespace orvo
