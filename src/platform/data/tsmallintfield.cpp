#include "platform/data/tsmallintfield.h"

namespace orvo {

TSmallintField::TSmallintField(QObject* owner) : TIntegerField(ftSmallint, owner, -32768, 32767) {}

} // namespace orvo
