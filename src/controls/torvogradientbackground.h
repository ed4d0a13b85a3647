#pragma once

#include "controls/torvogradient.h"

namespace orvo {

/// The gradient of panels and group boxes: publishes the direction, the two colours,
/// the shadow factor and the swap, but no hot behaviour.
class TOrvoGradientBackground : public TOrvoGradient
{
    Q_OBJECT
    Q_PROPERTY(orvo::TOrvoGradientDirection Direction READ Direction WRITE SetDirection)
    Q_PROPERTY(orvo::TColor EndColor READ EndColor WRITE SetEndColor)
    Q_PROPERTY(int ShadowFactor READ ShadowFactor WRITE SetShadowFactor)
    Q_PROPERTY(orvo::TColor StartColor READ StartColor WRITE SetStartColor)
    Q_PROPERTY(bool SwapColors READ SwapColors WRITE SetSwapColors)

public:
    explicit TOrvoGradientBackground(QWidget* control = nullptr);
};

} // namespace orvo
