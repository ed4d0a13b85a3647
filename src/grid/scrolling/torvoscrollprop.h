#pragma once

#include "grid/dbgrid/dbgridenums.h"
#include "grid/painting/gridstyleenums.h"
#include "platform/core/tcolor.h"
#include "platform/core/tpersistent.h"
#include "platform/graphics/tscrollbarstyler.h"
#include "platform/gridbase/gridenums.h"

#include <QPointer>

namespace orvo {

class TOrvoCustomDBGrid;

/// How the grid's scroll bars look and behave when they are drawn flat: their colour,
/// a flat or hot-tracking look (following the grid's FixedStyle unless set apart),
/// which bars hide when everything fits, which get a proportional thumb, and whether
/// stretching keeps the horizontal bar away. The grid decides once per window whether
/// flat bars are in use at all (UseFlatScrollBars); where they are not, the settings
/// are kept but have no visible effect.
class TOrvoScrollProp : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(orvo::GridEnums::TScrollStyle AutoHidden READ AutoHidden WRITE SetAutoHidden)
    Q_PROPERTY(bool AutoStretch READ AutoStretch WRITE SetAutoStretch)
    Q_PROPERTY(orvo::TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor)
    Q_PROPERTY(bool ParentStyle READ ParentStyle WRITE SetParentStyle)
    Q_PROPERTY(orvo::GridStyleEnums::TScrollBarStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(orvo::GridEnums::TScrollStyle ThumbBar READ ThumbBar WRITE SetThumbBar)
    Q_PROPERTY(bool WinXPMode READ WinXPMode WRITE SetWinXPMode)

public:
    static constexpr TColor DefaultColor = clBtnHighlight;

    /// `grid` owns the settings and has its bars restyled; it may be null for
    /// free-standing settings.
    explicit TOrvoScrollProp(TOrvoCustomDBGrid* grid);

    TOrvoCustomDBGrid* Grid() const;

    TScrollStyle AutoHidden() const { return FAutoHidden; }
    void SetAutoHidden(TScrollStyle value);
    bool AutoStretch() const { return FAutoStretch; }
    /// While the grid stretches its columns with a horizontal bar, stretching is
    /// switched off and on again so that the new rule takes effect.
    void SetAutoStretch(bool value);
    TColor Color() const { return FColor; }
    /// Sets the colour apart from the default: clears ParentColor.
    void SetColor(TColor value);
    bool ParentColor() const { return FParentColor; }
    /// Setting it true returns Color to DefaultColor.
    void SetParentColor(bool value);
    bool ParentStyle() const { return FParentStyle; }
    /// Setting it true derives Style from the grid's FixedStyle again.
    void SetParentStyle(bool value);
    /// While ParentStyle is on, the look that follows the grid's FixedStyle.
    TScrollBarStyle Style() const;
    /// Sets the look apart from the grid's FixedStyle: clears ParentStyle.
    void SetStyle(TScrollBarStyle value);
    TScrollStyle ThumbBar() const { return FThumbBar; }
    void SetThumbBar(TScrollStyle value);
    bool WinXPMode() const { return FWinXPMode; }
    /// Asks for the system's regular bars on systems that have them; the flat-bar
    /// decision is taken again at once.
    void SetWinXPMode(bool value);

    /// Color and Style are stored with the form only while set apart from the grid.
    Q_INVOKABLE bool IsColorStored() const { return !FParentColor; }
    Q_INVOKABLE bool IsStyleStored() const { return !FParentStyle; }

    /// The look that follows from a fixed style: the soft styles keep regular bars,
    /// the nice ones flat bars and the flat ones hot-tracking bars.
    static TScrollBarStyle StyleOfFixedStyle(TFixedStyle fixedStyle);
    /// The flat-bar mode a look is drawn in.
    static TScrollBarStyler::TScrollBarLook LookOfStyle(TScrollBarStyle style);
    /// Whether `bars` (as AutoHidden or ThumbBar hold them) covers the horizontal or the
    /// vertical bar.
    static bool CoversHorizontal(TScrollStyle bars) { return bars == ssHorizontal || bars == ssBoth; }
    static bool CoversVertical(TScrollStyle bars) { return bars == ssVertical || bars == ssBoth; }

    /// Decides, as the grid's window comes into being, whether flat bars are used, and
    /// applies the settings to the grid's bars.
    void UseFlatScrollBars();
    /// Whether the last UseFlatScrollBars chose flat bars.
    bool FlatScrollBarsInUse() const { return FFlatInUse; }
    /// Gives the grid's bars the colour and look of these settings while flat bars are
    /// in use, and the normal look otherwise; the grid calls it after a change of its
    /// FixedStyle, which Style follows.
    virtual void ApplyScrollProps();

    /// Copies every published value, then applies them.
    void Assign(const TPersistent* source) override;

private:
    /// Whether the rules for flat bars allow them on this grid and system.
    bool FlatScrollBarsAllowed() const;
    bool RightToLeftScrollBars() const;
    /// The scroll-bar rules changed: the grid recomputes both bars.
    void ScrollBarsChanged();

    QPointer<TOrvoCustomDBGrid> FGrid;
    TScrollStyle FAutoHidden = ssHorizontal;
    bool FAutoStretch = true;
    TColor FColor = DefaultColor;
    bool FParentColor = true;
    bool FParentStyle = true;
    TScrollBarStyle FStyle = ssRegular; // the look set apart, used without ParentStyle
    TScrollStyle FThumbBar = ssBoth;
    bool FWinXPMode = false;
    bool FWindowCreated = false;
    bool FFlatInUse = false;
};

} // namespace orvo
