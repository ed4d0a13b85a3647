#include "controls/torvogradientbutton.h"

namespace orvo {

TOrvoGradientButton::TOrvoGradientButton(QWidget* control) : TOrvoGradientBackground(control)
{
    // Set before anyone can have installed OnChange, so nobody is told.
    SetOptions({goGradient, goHotButton});
}

} // namespace orvo
