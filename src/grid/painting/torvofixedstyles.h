#pragma once

#include "grid/dbgrid/dbgridenums.h"
#include "platform/core/tcolor.h"

#include <array>

namespace orvo {

/// How the fixed styles of the grid resolve their automatic members: the line
/// colour of fixed cells, the hot look of title buttons, the sort markers' style and
/// transparency, and the frames of check boxes and total boxes. The grid, its popup
/// lists and the painter all ask here, so one table serves every one of them.
class TOrvoFixedStyles
{
public:
    /// Which automatic rule a box style follows where cbAuto is given.
    enum TBoxAuto
    {
        baAuto,
        baAutoGray,
        baAutoLowered
    };

    /// The palette slots markers are recoloured with; mpBackground stands for the
    /// strip's background.
    enum TMarkerPaletteSlot
    {
        mpWhite,
        mpLight,
        mpShadow,
        mpDarkShadow,
        mpBlack,
        mpBackground
    };

    /// The colour of fixed-cell lines drawn without a theme.
    static TColor ClassicFixedLineColor(TFixedStyle style);
    /// The fixed line colour with the theme in mind: the button face when the default
    /// theme draws header items (`headerItems`), grey or silver under the other themes.
    static TColor FixedLineColor(TFixedStyle style, bool themed, bool headerItems, TColor resolvedGridColor);
    static THotButtons ResolveHotButtons(THotButtons value, TFixedStyle style);
    static TMarkerStyle ResolveMarkerStyle(TMarkerStyle value, TFixedStyle style, bool themed);
    static bool MarkerIsTransparent(TMarkerTransparent value, TMarkerStyle resolvedStyle);
    static TCheckBoxStyle ResolveBoxStyle(TCheckBoxStyle value, TFixedStyle style, TBoxAuto rule = baAuto);
    /// The palette slots that replace aqua, teal, blue and navy in the marker strip.
    static std::array<TMarkerPaletteSlot, 4> MarkerKeySlots(TMarkerStyle resolvedStyle);
    /// The styles framed with a raised outer edge.
    static bool IsRaisedStyle(TFixedStyle style);
    /// fsFlat, fsGray and fsMild draw soft edges.
    static bool IsSoftStyle(TFixedStyle style);
    /// From fsNice on, edges are flat.
    static bool IsFlatStyle(TFixedStyle style) { return style >= fsNice; }
    static bool IsLoweredBox(TCheckBoxStyle resolved);
};

} // namespace orvo
