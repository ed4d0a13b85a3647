#pragma once

#include <QString>
#include <QtGlobal>

class QColor;
class QPalette;

namespace orvo {

/// A colour as the classic platform stores it: $00BBGGRR for a plain colour,
/// $FF0000nn for system colour number nn (resolved through a palette when
/// painting), and the sentinels clNone (keep the colour in use) and clDefault
/// (the computed default). Form files and stored layouts keep these values.
using TColor = qint32;

namespace colorsdetail {
constexpr TColor systemColor(int index)
{
    return TColor(quint32(0xFF000000u) | quint32(index));
}
} // namespace colorsdetail

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;
constexpr TColor clLtGray = clSilver;
constexpr TColor clDkGray = clGray;

constexpr TColor clScrollBar = colorsdetail::systemColor(0);
constexpr TColor clBackground = colorsdetail::systemColor(1);
constexpr TColor clActiveCaption = colorsdetail::systemColor(2);
constexpr TColor clInactiveCaption = colorsdetail::systemColor(3);
constexpr TColor clMenu = colorsdetail::systemColor(4);
constexpr TColor clWindow = colorsdetail::systemColor(5);
constexpr TColor clWindowFrame = colorsdetail::systemColor(6);
constexpr TColor clMenuText = colorsdetail::systemColor(7);
constexpr TColor clWindowText = colorsdetail::systemColor(8);
constexpr TColor clCaptionText = colorsdetail::systemColor(9);
constexpr TColor clActiveBorder = colorsdetail::systemColor(10);
constexpr TColor clInactiveBorder = colorsdetail::systemColor(11);
constexpr TColor clAppWorkSpace = colorsdetail::systemColor(12);
constexpr TColor clHighlight = colorsdetail::systemColor(13);
constexpr TColor clHighlightText = colorsdetail::systemColor(14);
constexpr TColor clBtnFace = colorsdetail::systemColor(15);
constexpr TColor clBtnShadow = colorsdetail::systemColor(16);
constexpr TColor clGrayText = colorsdetail::systemColor(17);
constexpr TColor clBtnText = colorsdetail::systemColor(18);
constexpr TColor clInactiveCaptionText = colorsdetail::systemColor(19);
constexpr TColor clBtnHighlight = colorsdetail::systemColor(20);
constexpr TColor cl3DDkShadow = colorsdetail::systemColor(21);
constexpr TColor cl3DLight = colorsdetail::systemColor(22);
constexpr TColor clInfoText = colorsdetail::systemColor(23);
constexpr TColor clInfoBk = colorsdetail::systemColor(24);
constexpr TColor clHotLight = colorsdetail::systemColor(26);
constexpr TColor clGradientActiveCaption = colorsdetail::systemColor(27);
constexpr TColor clGradientInactiveCaption = colorsdetail::systemColor(28);
constexpr TColor clMenuHighlight = colorsdetail::systemColor(29);
constexpr TColor clMenuBar = colorsdetail::systemColor(30);

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor RGB(int r, int g, int b)
{
    return TColor((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(TColor color)
{
    return color & 0xFF;
}
constexpr int GetGValue(TColor color)
{
    return (color >> 8) & 0xFF;
}
constexpr int GetBValue(TColor color)
{
    return (color >> 16) & 0xFF;
}

bool IsSystemColor(TColor color);
/// The plain $00BBGGRR value: system colours through `palette` (its current colour
/// group; grey text from the disabled group), plain colours as they are. clNone and
/// clDefault are returned unchanged, as they name no colour to resolve.
TColor ColorToRGB(TColor color, const QPalette& palette);
/// ColorToRGB through the application palette (Qt's default palette without a GUI application).
TColor ColorToRGB(TColor color);
/// The colour to paint with; clNone is transparent and clDefault the invalid QColor.
QColor ToQColor(TColor color, const QPalette& palette);
QColor ToQColor(TColor color);
/// An invalid QColor becomes clNone; alpha is dropped.
TColor FromQColor(const QColor& color);

/// "clRed" for a named colour, "$00C08040" otherwise, as form files store colours.
QString ColorToString(TColor color);
/// Reads a colour name (any case) or a number ("$00FF0000", "16711680", "-16777201");
/// raises EConvertError for anything else.
TColor StringToColor(const QString& text);

} // namespace orvo
