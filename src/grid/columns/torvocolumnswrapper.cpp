#include "grid/columns/torvocolumnswrapper.h"

namespace orvo {

TOrvoColumnsWrapper::TOrvoColumnsWrapper(TOrvoDBGridColumns* columns, QObject* parent)
    : QObject(parent), FColumns(columns)
{}

} // namespace orvo
