#include "grid/scrolling/torvoscrollprop.h"

#include "grid/dbgrid/torvocustomdbgrid.h"
#include "platform/core/tsystemprofile.h"
#include "platform/graphics/tthemeservices.h"

#include <QScrollBar>

namespace orvo {

TOrvoScrollProp::TOrvoScrollProp(TOrvoCustomDBGrid* grid) : TPersistent(grid), FGrid(grid) {}

TOrvoCustomDBGrid* TOrvoScrollProp::Grid() const
{
    return FGrid;
}

TScrollBarStyle TOrvoScrollProp::StyleOfFixedStyle(TFixedStyle fixedStyle)
{
    switch (fixedStyle) {
    case fsDefault:
    case fsSoft:
        return ssRegular;
    case fsNice:
    case fsGreat:
    case fsFine:
        return ssFlat;
    case fsFlat:
    case fsGray:
    case fsMild:
        return ssHotTrack;
    }
    return ssRegular;
}

TScrollBarStyler::TScrollBarLook TOrvoScrollProp::LookOfStyle(TScrollBarStyle style)
{
    switch (style) {
    case ssRegular:
        return TScrollBarStyler::sblRegular;
    case ssFlat:
        return TScrollBarStyler::sblFlat;
    case ssHotTrack:
        return TScrollBarStyler::sblHotTrack;
    }
    return TScrollBarStyler::sblRegular;
}

void TOrvoScrollProp::SetAutoHidden(TScrollStyle value)
{
    if (FAutoHidden == value)
        return;
    FAutoHidden = value;
    ScrollBarsChanged();
}

void TOrvoScrollProp::SetAutoStretch(bool value)
{
    if (FAutoStretch == value)
        return;
    FAutoStretch = value;
    if (FGrid && FGrid->StretchMode() && CoversHorizontal(FGrid->ScrollBars())) {
        FGrid->SetStretchMode(false);
        FGrid->SetStretchMode(true);
    }
}

void TOrvoScrollProp::SetColor(TColor value)
{
    FParentColor = false;
    if (FColor == value)
        return;
    FColor = value;
    ApplyScrollProps();
}

void TOrvoScrollProp::SetParentColor(bool value)
{
    FParentColor = value;
    if (!value || FColor == DefaultColor)
        return;
    FColor = DefaultColor;
    ApplyScrollProps();
}

TScrollBarStyle TOrvoScrollProp::Style() const
{
    if (!FParentStyle)
        return FStyle;
    return StyleOfFixedStyle(FGrid ? FGrid->FixedStyle() : fsDefault);
}

void TOrvoScrollProp::SetParentStyle(bool value)
{
    const TScrollBarStyle old = Style();
    // Switched off, the look stays what it was until it is set apart.
    FStyle = old;
    FParentStyle = value;
    if (Style() != old)
        ApplyScrollProps();
}

void TOrvoScrollProp::SetStyle(TScrollBarStyle value)
{
    const TScrollBarStyle old = Style();
    FParentStyle = false;
    FStyle = value;
    if (value != old)
        ApplyScrollProps();
}

void TOrvoScrollProp::SetThumbBar(TScrollStyle value)
{
    if (FThumbBar == value)
        return;
    FThumbBar = value;
    ScrollBarsChanged();
}

void TOrvoScrollProp::SetWinXPMode(bool value)
{
    if (FWinXPMode == value)
        return;
    FWinXPMode = value;
    if (RightToLeftScrollBars() || (FGrid && FGrid->IsLoading()))
        return;
    if (FWindowCreated)
        UseFlatScrollBars();
    ScrollBarsChanged();
    // Regular bars and flat ones leave the data rows different room.
    if (FGrid)
        FGrid->LayoutChanged();
}

bool TOrvoScrollProp::RightToLeftScrollBars() const
{
    return FGrid && FGrid->layoutDirection() == Qt::RightToLeft;
}

bool TOrvoScrollProp::FlatScrollBarsAllowed() const
{
    const bool themes = ThemeServices().ThemesEnabled();
    const bool themedFixedCells = themes && FGrid && FGrid->FixedTheme() != ftNone;
    // The newer common controls come only with themes, which rule flat bars out
    // already; without them only WinXPMode asks for the regular bars of 5.1 and later.
    const bool regularBarsPreferred = FWinXPMode && TSystemProfile::Current().CheckVersion(5, 1);
    return !RightToLeftScrollBars() && !themedFixedCells && !themes && !regularBarsPreferred;
}

void TOrvoScrollProp::UseFlatScrollBars()
{
    FWindowCreated = true;
    FFlatInUse = FlatScrollBarsAllowed();
    ApplyScrollProps();
    ScrollBarsChanged();
}

void TOrvoScrollProp::ApplyScrollProps()
{
    if (!FGrid || !FWindowCreated)
        return;
    const auto look = FFlatInUse ? LookOfStyle(Style()) : TScrollBarStyler::sblRegular;
    const TColor color = FFlatInUse ? ColorToRGB(FColor, FGrid->palette()) : clDefault;
    TScrollBarStyler::Apply(FGrid->horizontalScrollBar(), look, color);
    TScrollBarStyler::Apply(FGrid->verticalScrollBar(), look, color);
}

void TOrvoScrollProp::ScrollBarsChanged()
{
    if (!FGrid || FGrid->IsLoading())
        return;
    FGrid->UpdateScrollBar();
    FGrid->UpdateHorzScrollBar();
}

void TOrvoScrollProp::Assign(const TPersistent* source)
{
    const auto* props = qobject_cast<const TOrvoScrollProp*>(source);
    if (!props) {
        TPersistent::Assign(source);
        return;
    }
    const bool flatModeChanged = FWinXPMode != props->FWinXPMode;
    FAutoHidden = props->FAutoHidden;
    FAutoStretch = props->FAutoStretch;
    FColor = props->FColor;
    FParentColor = props->FParentColor;
    FParentStyle = props->FParentStyle;
    FStyle = props->FStyle;
    FThumbBar = props->FThumbBar;
    FWinXPMode = props->FWinXPMode;
    if (flatModeChanged && FWindowCreated && !RightToLeftScrollBars())
        UseFlatScrollBars();
    else
        ApplyScrollProps();
    ScrollBarsChanged();
}

} // namespace orvo
