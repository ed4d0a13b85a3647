#include "platform/data/twidestringfield.h"

namespace orvo {

TWideStringField::TWideStringField(QObject* owner) : TStringField(ftWideString, owner) {}

} // namespace orvo
