#include "platform/data/tautoincfield.h"

#include <limits>

namespace orvo {

TAutoIncField::TAutoIncField(QObject* owner)
    : TIntegerField(ftAutoInc, owner, std::numeric_limits<int>::min(), std::numeric_limits<int>::max())
{}

} // namespace orvo
