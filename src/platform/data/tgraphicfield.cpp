#include "platform/data/tgraphicfield.h"

namespace orvo {

TGraphicField::TGraphicField(QObject* owner) : TBlobField(ftGraphic, owner) {}

} // namespace orvo
