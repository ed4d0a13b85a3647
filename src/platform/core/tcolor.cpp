#include "platform/core/tcolor.h"

#include "platform/core/exceptions.h"
#include "platform/core/strconvert.h"

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

namespace orvo {

namespace {

struct TColorName
{
    TColor Color;
    const char* Name;
};

// Names in the order the platform lists them; for a value with two names (clSilver
// and clLtGray) the first is the one written.
constexpr TColorName kColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clLtGray, "clLtGray"},
    {clDkGray, "clDkGray"},
    {clActiveBorder, "clActiveBorder"},
    {clActiveCaption, "clActiveCaption"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clBackground, "clBackground"},
    {clBtnFace, "clBtnFace"},
    {clBtnHighlight, "clBtnHighlight"},
    {clBtnShadow, "clBtnShadow"},
    {clBtnText, "clBtnText"},
    {clCaptionText, "clCaptionText"},
    {clDefault, "clDefault"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clGrayText, "clGrayText"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clHotLight, "clHotLight"},
    {clInactiveBorder, "clInactiveBorder"},
    {clInactiveCaption, "clInactiveCaption"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clInfoBk, "clInfoBk"},
    {clInfoText, "clInfoText"},
    {clMenu, "clMenu"},
    {clMenuBar, "clMenuBar"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuText, "clMenuText"},
    {clNone, "clNone"},
    {clScrollBar, "clScrollBar"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clWindowText, "clWindowText"},
};

struct TSystemRole
{
    QPalette::ColorGroup Group;
    QPalette::ColorRole Role;
};

constexpr QPalette::ColorGroup kCurrent = QPalette::Current;

// The palette role that plays the part of each system colour, by index.
TSystemRole systemRole(int index)
{
    switch (index) {
    case 0:  // scroll bar trough
    case 22: // 3D light
    case 28: // gradient of an inactive caption
        return {kCurrent, QPalette::Midlight};
    case 1:  // desktop
    case 12: // application work space
        return {kCurrent, QPalette::Mid};
    case 2:  // active caption
    case 13: // highlight
    case 27: // gradient of an active caption
    case 29: // menu highlight
        return {kCurrent, QPalette::Highlight};
    case 3: // inactive caption
        return {QPalette::Inactive, QPalette::Mid};
    case 4:  // menu
    case 30: // menu bar
        return {kCurrent, QPalette::Window};
    case 5: // window
        return {kCurrent, QPalette::Base};
    case 6:  // window frame
    case 21: // 3D dark shadow
        return {kCurrent, QPalette::Shadow};
    case 7: // menu text
        return {kCurrent, QPalette::WindowText};
    case 8: // window text
        return {kCurrent, QPalette::Text};
    case 9:  // caption text
    case 14: // highlighted text
        return {kCurrent, QPalette::HighlightedText};
    case 10: // active border
    case 11: // inactive border
    case 15: // button face
        return {kCurrent, QPalette::Button};
    case 16: // button shadow
        return {kCurrent, QPalette::Dark};
    case 17: // grey text
        return {QPalette::Disabled, QPalette::Text};
    case 18: // button text
        return {kCurrent, QPalette::ButtonText};
    case 19: // inactive caption text
        return {QPalette::Disabled, QPalette::WindowText};
    case 20: // button highlight
        return {kCurrent, QPalette::Light};
    case 23: // tooltip text
        return {kCurrent, QPalette::ToolTipText};
    case 24: // tooltip background
        return {kCurrent, QPalette::ToolTipBase};
    case 26: // hot-tracked item
        return {kCurrent, QPalette::Link};
    default:
        return {kCurrent, QPalette::NoRole};
    }
}

QPalette applicationPalette()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return QGuiApplication::palette();
    return QPalette();
}

QColor sentinelQColor(TColor color)
{
    return color == clNone ? QColor(Qt::transparent) : QColor();
}

QColor rgbQColor(TColor rgb)
{
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

} // namespace

bool IsSystemColor(TColor color)
{
    return (quint32(color) & 0xFF000000u) == 0xFF000000u;
}

TColor ColorToRGB(TColor color, const QPalette& palette)
{
    if (color == clNone || color == clDefault)
        return color;
    if (!IsSystemColor(color))
        return color & 0x00FFFFFF;
    const TSystemRole r = systemRole(color & 0xFF);
    if (r.Role == QPalette::NoRole)
        return clBlack; // no such system colour: what the platform answers too
    const QPalette::ColorGroup group = r.Group == kCurrent ? palette.currentColorGroup() : r.Group;
    return FromQColor(palette.color(group, r.Role));
}

TColor ColorToRGB(TColor color)
{
    if (!IsSystemColor(color))
        return color == clNone || color == clDefault ? color : color & 0x00FFFFFF;
    return ColorToRGB(color, applicationPalette());
}

QColor ToQColor(TColor color, const QPalette& palette)
{
    if (color == clNone || color == clDefault)
        return sentinelQColor(color);
    return rgbQColor(ColorToRGB(color, palette));
}

QColor ToQColor(TColor color)
{
    if (color == clNone || color == clDefault)
        return sentinelQColor(color);
    return rgbQColor(ColorToRGB(color));
}

TColor FromQColor(const QColor& color)
{
    if (!color.isValid())
        return clNone;
    return RGB(color.red(), color.green(), color.blue());
}

QString ColorToString(TColor color)
{
    for (const TColorName& entry : kColorNames)
        if (entry.Color == color)
            return QString::fromLatin1(entry.Name);
    return QStringLiteral("$%1").arg(quint32(color), 8, 16, QChar(u'0')).toUpper();
}

TColor StringToColor(const QString& text)
{
    for (const TColorName& entry : kColorNames)
        if (text.compare(QLatin1String(entry.Name), Qt::CaseInsensitive) == 0)
            return entry.Color;
    return StrToInt(text);
}

} // namespace orvo
