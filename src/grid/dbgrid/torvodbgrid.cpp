#include "grid/dbgrid/torvodbgrid.h"

namespace orvo {

TOrvoDBGrid::TOrvoDBGrid(QWidget* parent) : TOrvoCustomDBGrid(parent) {}

TOrvoDBGrid::TOrvoDBGrid(QWidget* parent, TDeferredParts deferred) : TOrvoCustomDBGrid(parent, deferred) {}

} // namespace orvo
