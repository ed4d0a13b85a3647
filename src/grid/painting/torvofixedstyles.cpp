#include "grid/painting/torvofixedstyles.h"

namespace orvo {

namespace {

template <typename T> T Pick(TFixedStyle style, const std::array<T, 8>& table)
{
    return table[size_t(style)];
}

} // namespace

TColor TOrvoFixedStyles::ClassicFixedLineColor(TFixedStyle style)
{
    return Pick<TColor>(style, {clBlack, cl3DDkShadow, clBlack, clBlack, cl3DDkShadow, cl3DDkShadow,
                                clBtnShadow, clBtnShadow});
}

TColor TOrvoFixedStyles::FixedLineColor(TFixedStyle style, bool themed, bool headerItems,
                                        TColor resolvedGridColor)
{
    if (!themed)
        return ClassicFixedLineColor(style);
    if (headerItems)
        return clBtnFace;
    return resolvedGridColor == clSilver ? clGray : clSilver;
}

THotButtons TOrvoFixedStyles::ResolveHotButtons(THotButtons value, TFixedStyle style)
{
    if (value != hbAuto)
        return value;
    return Pick<THotButtons>(style,
                             {hbBump, hbBump, hbRaised, hbRaised, hbLowered, hbLowered, hbTile, hbTile});
}

TMarkerStyle TOrvoFixedStyles::ResolveMarkerStyle(TMarkerStyle value, TFixedStyle style, bool themed)
{
    if (value == msAuto)
        return themed ? msRaisedMild
                      : Pick<TMarkerStyle>(style, {msDefault, msSoft, msRaisedDark, msFlat, msRaisedGray,
                                                   msGray, msRaisedMild, msMild});
    if (value == msAutoGray)
        return themed ? msRaisedGray
                      : Pick<TMarkerStyle>(style, {msSoft, msSoft, msRaisedGray, msGray, msRaisedGray, msGray,
                                                   msRaisedGray, msGray});
    return value;
}

bool TOrvoFixedStyles::MarkerIsTransparent(TMarkerTransparent value, TMarkerStyle resolvedStyle)
{
    if (value == mtAuto)
        return resolvedStyle <= msRaisedMild;
    return value == mtTrue;
}

TCheckBoxStyle TOrvoFixedStyles::ResolveBoxStyle(TCheckBoxStyle value, TFixedStyle style, TBoxAuto rule)
{
    if (value != cbAuto)
        return value;
    switch (rule) {
    case baAutoGray:
        return Pick<TCheckBoxStyle>(
            style, {cbSoft, cbSoft, cbLoweredGray, cbGray, cbLoweredGray, cbGray, cbLoweredGray, cbGray});
    case baAutoLowered:
        return Pick<TCheckBoxStyle>(style, {cbDefault, cbSoft, cbLoweredDark, cbLoweredDark, cbLoweredGray,
                                            cbLoweredGray, cbLoweredMild, cbLoweredMild});
    case baAuto:
        break;
    }
    return Pick<TCheckBoxStyle>(
        style, {cbDefault, cbSoft, cbLoweredDark, cbFlat, cbLoweredGray, cbGray, cbLoweredMild, cbMild});
}

std::array<TOrvoFixedStyles::TMarkerPaletteSlot, 4>
TOrvoFixedStyles::MarkerKeySlots(TMarkerStyle resolvedStyle)
{
    constexpr auto bg = mpBackground;
    switch (resolvedStyle) {
    case msDefault:
        return {mpWhite, mpLight, mpShadow, mpBlack};
    case msSoft:
        return {mpWhite, mpLight, mpShadow, mpDarkShadow};
    case msRaisedDark:
        return {mpLight, bg, bg, mpBlack};
    case msRaisedGray:
        return {mpLight, bg, bg, mpDarkShadow};
    case msRaisedMild:
        return {mpLight, bg, bg, mpShadow};
    case msLoweredDark:
        return {mpBlack, bg, bg, mpLight};
    case msLoweredGray:
        return {mpDarkShadow, bg, bg, mpLight};
    case msLoweredMild:
        return {mpShadow, bg, bg, mpLight};
    case msFlat:
        return {mpBlack, bg, bg, mpBlack};
    case msGray:
        return {mpDarkShadow, bg, bg, mpDarkShadow};
    default:
        return {mpShadow, bg, bg, mpShadow};
    }
}

bool TOrvoFixedStyles::IsRaisedStyle(TFixedStyle style)
{
    return style == fsSoft || style == fsGreat || style == fsGray || style == fsFine || style == fsMild;
}

bool TOrvoFixedStyles::IsSoftStyle(TFixedStyle style)
{
    return style == fsFlat || style == fsGray || style == fsMild;
}

bool TOrvoFixedStyles::IsLoweredBox(TCheckBoxStyle resolved)
{
    return resolved == cbLoweredDark || resolved == cbLoweredGray || resolved == cbLoweredMild;
}

} // namespace orvo
