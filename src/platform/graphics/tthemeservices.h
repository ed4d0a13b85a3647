#pragma once

#include <QObject>
#include <QRect>
#include <QString>

class QPainter;
class QWidget;

namespace orvo {

class TCanvas;

/// The themed elements the suite draws, each in its states (normal, hot, pressed,
/// disabled, in that order wherever all four exist). A namespace of their own for
/// Qt's meta-object; reachable as `orvo::thHeaderItemNormal` and so on.
namespace ThemeEnums {
Q_NAMESPACE

enum TThemedButton
{
    tbPushButtonNormal,
    tbPushButtonHot,
    tbPushButtonPressed,
    tbPushButtonDisabled,
    tbPushButtonDefaulted,
    tbRadioButtonUncheckedNormal,
    tbRadioButtonUncheckedHot,
    tbRadioButtonUncheckedPressed,
    tbRadioButtonUncheckedDisabled,
    tbRadioButtonCheckedNormal,
    tbRadioButtonCheckedHot,
    tbRadioButtonCheckedPressed,
    tbRadioButtonCheckedDisabled,
    tbCheckBoxUncheckedNormal,
    tbCheckBoxUncheckedHot,
    tbCheckBoxUncheckedPressed,
    tbCheckBoxUncheckedDisabled,
    tbCheckBoxCheckedNormal,
    tbCheckBoxCheckedHot,
    tbCheckBoxCheckedPressed,
    tbCheckBoxCheckedDisabled,
    tbCheckBoxMixedNormal,
    tbCheckBoxMixedHot,
    tbCheckBoxMixedPressed,
    tbCheckBoxMixedDisabled,
    tbGroupBoxNormal,
    tbGroupBoxDisabled
};
Q_ENUM_NS(TThemedButton)

enum TThemedHeader
{
    thHeaderItemNormal,
    thHeaderItemHot,
    thHeaderItemPressed
};
Q_ENUM_NS(TThemedHeader)

enum TThemedScrollBar
{
    tsArrowBtnUpNormal,
    tsArrowBtnUpHot,
    tsArrowBtnUpPressed,
    tsArrowBtnUpDisabled,
    tsArrowBtnDownNormal,
    tsArrowBtnDownHot,
    tsArrowBtnDownPressed,
    tsArrowBtnDownDisabled,
    tsArrowBtnLeftNormal,
    tsArrowBtnLeftHot,
    tsArrowBtnLeftPressed,
    tsArrowBtnLeftDisabled,
    tsArrowBtnRightNormal,
    tsArrowBtnRightHot,
    tsArrowBtnRightPressed,
    tsArrowBtnRightDisabled
};
Q_ENUM_NS(TThemedScrollBar)

/// Up-down buttons; the horizontal pair points right ("up") and left ("down").
enum TThemedSpin
{
    tsUpNormal,
    tsUpHot,
    tsUpPressed,
    tsUpDisabled,
    tsDownNormal,
    tsDownHot,
    tsDownPressed,
    tsDownDisabled,
    tsUpHorzNormal,
    tsUpHorzHot,
    tsUpHorzPressed,
    tsUpHorzDisabled,
    tsDownHorzNormal,
    tsDownHorzHot,
    tsDownHorzPressed,
    tsDownHorzDisabled
};
Q_ENUM_NS(TThemedSpin)

enum TThemedTab
{
    ttTabItemNormal,
    ttTabItemHot,
    ttTabItemSelected,
    ttTabItemDisabled
};
Q_ENUM_NS(TThemedTab)

enum TThemedToolBar
{
    ttbButtonNormal,
    ttbButtonHot,
    ttbButtonPressed,
    ttbButtonDisabled,
    ttbSplitButtonNormal,
    ttbSplitButtonHot,
    ttbSplitButtonPressed,
    ttbSplitButtonDisabled
};
Q_ENUM_NS(TThemedToolBar)

enum TThemedTreeview
{
    ttGlyphClosed,
    ttGlyphOpened
};
Q_ENUM_NS(TThemedTreeview)

enum TThemedElement
{
    teButton,
    teHeader,
    teScrollBar,
    teSpin,
    teTab,
    teToolBar,
    teTreeview
};
Q_ENUM_NS(TThemedElement)

} // namespace ThemeEnums

using ThemeEnums::TThemedButton;
using enum ThemeEnums::TThemedButton;
using ThemeEnums::TThemedHeader;
using enum ThemeEnums::TThemedHeader;
using ThemeEnums::TThemedScrollBar;
using enum ThemeEnums::TThemedScrollBar;
using ThemeEnums::TThemedSpin;
using enum ThemeEnums::TThemedSpin;
using ThemeEnums::TThemedTab;
using enum ThemeEnums::TThemedTab;
using ThemeEnums::TThemedToolBar;
using enum ThemeEnums::TThemedToolBar;
using ThemeEnums::TThemedTreeview;
using enum ThemeEnums::TThemedTreeview;
using ThemeEnums::TThemedElement;
using enum ThemeEnums::TThemedElement;

/// One element in one state, as GetElementDetails returns it.
struct TThemedElementDetails
{
    TThemedElement Element = teButton;
    int Part = 0; ///< the member of the element's enumeration
    bool operator==(const TThemedElementDetails&) const = default;
};

/// The visual-theme service: whether themes are in force (from the system profile)
/// and the drawing of themed elements, which here is whatever the application's
/// QStyle draws for the matching Qt element.
class TThemeServices
{
public:
    bool ThemesEnabled() const;

    static TThemedElementDetails GetElementDetails(TThemedButton detail) { return {teButton, detail}; }
    static TThemedElementDetails GetElementDetails(TThemedHeader detail) { return {teHeader, detail}; }
    static TThemedElementDetails GetElementDetails(TThemedScrollBar detail) { return {teScrollBar, detail}; }
    static TThemedElementDetails GetElementDetails(TThemedSpin detail) { return {teSpin, detail}; }
    static TThemedElementDetails GetElementDetails(TThemedTab detail) { return {teTab, detail}; }
    static TThemedElementDetails GetElementDetails(TThemedToolBar detail) { return {teToolBar, detail}; }
    static TThemedElementDetails GetElementDetails(TThemedTreeview detail) { return {teTreeview, detail}; }

    /// Draws the element into `rect`, clipped to `clipRect` when that is not null.
    /// `widget`, when given, lends its style and palette. False without a style.
    bool DrawElement(TCanvas& canvas, const TThemedElementDetails& details, const QRect& rect,
                     const QRect& clipRect = QRect(), const QWidget* widget = nullptr) const;
    /// Draws text (DT_* flags) in the element's text colour for its state.
    void DrawText(TCanvas& canvas, const TThemedElementDetails& details, const QString& text,
                  const QRect& rect, unsigned flags) const;
    /// Paints what the parent of `control` shows behind `rect` (control coordinates;
    /// the whole control when null), so that the control looks see-through.
    bool DrawParentBackground(const QWidget* control, TCanvas& canvas, const QRect& rect = QRect()) const;
};

/// The one theme service of the process.
TThemeServices& ThemeServices();

} // namespace orvo
