#include "controls/torvogradientbackground.h"

namespace orvo {

TOrvoGradientBackground::TOrvoGradientBackground(QWidget* control) : TOrvoGradient(control) {}

} // namespace orvo
