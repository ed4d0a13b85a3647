#pragma once

#include "controls/torvogradientenums.h"
#include "platform/core/tcolor.h"

class QRect;

namespace orvo {

class TCanvas;

/// Whether gradients are painted at all in this process (initially true); while
/// false every gradient object reports itself inactive.
bool GradientsEnabled();
void SetGradientsEnabled(bool value);

/// A linear two-colour fill of `rect`: `color1` on the first pixel row (or column),
/// `color2` on the last, each channel interpolated in between. System colours resolve
/// through the canvas palette.
void GradientFillRect(TCanvas& canvas, TColor color1, TColor color2, TOrvoGradientDirection direction,
                      const QRect& rect);

} // namespace orvo
