#pragma once

#include "platform/core/tcolor.h"

namespace orvo {

/// Hue, luminance and saturation on the classic scale of 0..240 each.
struct THLS
{
    int Hue = 0;
    int Luminance = 0;
    int Saturation = 0;
};

/// The classic HLS conversion with a scale of 240 (255 for RGB); greys get hue 160.
THLS ColorRGBToHLS(TColor rgb);
TColor ColorHLSToRGB(const THLS& hls);

/// Moves the luminance of `color` by `factor` on the 240 scale, keeping it inside
/// 0..240: a dark colour darkened further stays black and a light one lightened
/// stays white, never wrapping round to the other end. System colours resolve
/// through the application palette, except that the button face darkened by 50 is
/// the button shadow colour itself.
TColor ShiftLuminance(TColor color, int factor);

} // namespace orvo
