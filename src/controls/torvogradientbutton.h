#pragma once

#include "controls/torvogradientbackground.h"

namespace orvo {

/// The gradient of buttons and up-down arrows: adds the hot colour and the options,
/// and starts with a gradient that reverses while the mouse is over the control.
class TOrvoGradientButton : public TOrvoGradientBackground
{
    Q_OBJECT
    Q_PROPERTY(orvo::TColor HotColor READ HotColor WRITE SetHotColor)
    Q_PROPERTY(orvo::TOrvoGradientOptions Options READ Options WRITE SetOptions)

public:
    explicit TOrvoGradientButton(QWidget* control = nullptr);
};

} // namespace orvo
