#include "platform/data/twordfield.h"

namespace orvo {

TWordField::TWordField(QObject* owner) : TIntegerField(ftWord, owner, 0, 65535) {}

} // namespace orvo
