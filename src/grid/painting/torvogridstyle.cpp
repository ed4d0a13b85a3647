#include "grid/painting/torvogridstyle.h"

#include "grid/dbgrid/torvocustomdbgrid.h"
#include "platform/graphics/tthemeservices.h"

namespace orvo {

TOrvoGridStyle::TOrvoGridStyle(TOrvoCustomDBGrid* grid) : TPersistent(grid), FGrid(grid) {}

TOrvoCustomDBGrid* TOrvoGridStyle::Grid() const
{
    return FGrid;
}

TOrvoGridStyle::TSpacings TOrvoGridStyle::PresetSpacings(TVisualStyle style)
{
    if (style == vsStandard)
        return {3, 4, 0, 4, 0, 4};
    return {4, 8, 1, 8, 0, 8};
}

TVisualStyle TOrvoGridStyle::ResolvedVisualStyle() const
{
    const bool themedFixedCells =
        ThemeServices().ThemesEnabled() && (!FGrid || FGrid->FixedTheme() != ftNone);
    return themedFixedCells ? vsXPStyle : vsStandard;
}

void TOrvoGridStyle::SetSpacing(int TSpacings::*member, int value)
{
    if (FSpacings.*member == value)
        return;
    FSpacings.*member = value;
    StyleChanged(true);
}

void TOrvoGridStyle::SetDataRowSpace(int value)
{
    SetSpacing(&TSpacings::DataRowSpace, value);
}

void TOrvoGridStyle::SetHeaderRowSpace(int value)
{
    SetSpacing(&TSpacings::HeaderRowSpace, value);
}

void TOrvoGridStyle::SetTitleColMargin(int value)
{
    SetSpacing(&TSpacings::TitleColMargin, value);
}

void TOrvoGridStyle::SetTitleRowSpace(int value)
{
    SetSpacing(&TSpacings::TitleRowSpace, value);
}

void TOrvoGridStyle::SetTotalColMargin(int value)
{
    SetSpacing(&TSpacings::TotalColMargin, value);
}

void TOrvoGridStyle::SetTotalRowSpace(int value)
{
    SetSpacing(&TSpacings::TotalRowSpace, value);
}

void TOrvoGridStyle::SetVisualStyle(TVisualStyle value, bool force)
{
    if (value == FVisualStyle && value != vsDefault && !force)
        return;
    FVisualStyle = value;
    const TVisualStyle preset = value == vsDefault ? ResolvedVisualStyle() : value;
    if (preset == vsCustom)
        return;
    FSpacings = PresetSpacings(preset);
    StyleChanged(false);
}

void TOrvoGridStyle::Assign(const TPersistent* source)
{
    const auto* style = qobject_cast<const TOrvoGridStyle*>(source);
    if (!style) {
        TPersistent::Assign(source);
        return;
    }
    FSpacings = style->FSpacings;
    // The copied values are what holds until the source's preset replaces them, so
    // the style counts as custom for the moment; a custom source still needs the
    // relayout that SetVisualStyle skips for an unchanged value.
    FVisualStyle = vsCustom;
    SetVisualStyle(style->FVisualStyle);
    if (FVisualStyle == vsCustom)
        StyleChanged(false);
}

void TOrvoGridStyle::StyleChanged(bool setCustom)
{
    if (setCustom)
        FVisualStyle = vsCustom;
    if (!FGrid)
        return;
    FGrid->LayoutChanged();
    FGrid->InvalidateEditor();
}

} // namespace orvo
