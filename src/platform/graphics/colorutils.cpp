#include "platform/graphics/colorutils.h"

#include <algorithm>

namespace orvo {

namespace {

constexpr int kHlsMax = 240;
constexpr int kRgbMax = 255;
constexpr int kUndefinedHue = kHlsMax * 2 / 3;

int hueToRgb(int n1, int n2, int hue)
{
    if (hue < 0)
        hue += kHlsMax;
    if (hue > kHlsMax)
        hue -= kHlsMax;
    if (hue < kHlsMax / 6)
        return n1 + ((n2 - n1) * hue + kHlsMax / 12) / (kHlsMax / 6);
    if (hue < kHlsMax / 2)
        return n2;
    if (hue < kHlsMax * 2 / 3)
        return n1 + ((n2 - n1) * (kHlsMax * 2 / 3 - hue) + kHlsMax / 12) / (kHlsMax / 6);
    return n1;
}

int toChannel(int value)
{
    return std::clamp((value * kRgbMax + kHlsMax / 2) / kHlsMax, 0, kRgbMax);
}

struct TShiftMemo
{
    TColor Color = clNone;
    int Factor = 0;
    TColor Result = clNone;
};

} // namespace

THLS ColorRGBToHLS(TColor rgb)
{
    const int r = GetRValue(rgb), g = GetGValue(rgb), b = GetBValue(rgb);
    const int cMax = std::max({r, g, b});
    const int cMin = std::min({r, g, b});
    THLS hls;
    hls.Luminance = ((cMax + cMin) * kHlsMax + kRgbMax) / (2 * kRgbMax);
    if (cMax == cMin) {
        hls.Hue = kUndefinedHue;
        return hls;
    }
    const int sum = cMax + cMin;
    const int delta = cMax - cMin;
    if (hls.Luminance <= kHlsMax / 2)
        hls.Saturation = (delta * kHlsMax + sum / 2) / sum;
    else
        hls.Saturation = (delta * kHlsMax + (2 * kRgbMax - sum) / 2) / (2 * kRgbMax - sum);
    const int rDelta = ((cMax - r) * (kHlsMax / 6) + delta / 2) / delta;
    const int gDelta = ((cMax - g) * (kHlsMax / 6) + delta / 2) / delta;
    const int bDelta = ((cMax - b) * (kHlsMax / 6) + delta / 2) / delta;
    if (r == cMax)
        hls.Hue = bDelta - gDelta;
    else if (g == cMax)
        hls.Hue = kHlsMax / 3 + rDelta - bDelta;
    else
        hls.Hue = 2 * kHlsMax / 3 + gDelta - rDelta;
    if (hls.Hue < 0)
        hls.Hue += kHlsMax;
    if (hls.Hue > kHlsMax)
        hls.Hue -= kHlsMax;
    return hls;
}

TColor ColorHLSToRGB(const THLS& hls)
{
    const int l = std::clamp(hls.Luminance, 0, kHlsMax);
    const int s = std::clamp(hls.Saturation, 0, kHlsMax);
    if (s == 0) {
        const int grey = toChannel(l);
        return RGB(grey, grey, grey);
    }
    const int magic2 = l <= kHlsMax / 2 ? (l * (kHlsMax + s) + kHlsMax / 2) / kHlsMax
                                        : l + s - (l * s + kHlsMax / 2) / kHlsMax;
    const int magic1 = 2 * l - magic2;
    return RGB(toChannel(hueToRgb(magic1, magic2, hls.Hue + kHlsMax / 3)),
               toChannel(hueToRgb(magic1, magic2, hls.Hue)),
               toChannel(hueToRgb(magic1, magic2, hls.Hue - kHlsMax / 3)));
}

TColor ShiftLuminance(TColor color, int factor)
{
    if (color == clBtnFace && factor == -50)
        return clBtnShadow;
    // Painting asks for the same few shades again and again. System colours are not
    // kept: the palette behind them may change between two calls.
    thread_local TShiftMemo memo;
    const bool memoisable = !IsSystemColor(color);
    if (memoisable && memo.Color == color && memo.Factor == factor)
        return memo.Result;
    THLS hls = ColorRGBToHLS(ColorToRGB(color));
    hls.Luminance = std::clamp(hls.Luminance + factor, 0, kHlsMax);
    const TColor result = ColorHLSToRGB(hls);
    if (memoisable)
        memo = {color, factor, result};
    return result;
}

} // namespace orvo
