#include "controls/torvogradient.h"

#include "controls/gradientfill.h"
#include "controls/systemprobes.h"
#include "platform/core/exceptions.h"
#include "platform/graphics/colorutils.h"
#include "platform/graphics/tbitmap.h"
#include "platform/graphics/tcanvas.h"

#include <QPainter>

namespace orvo {

namespace {

constexpr TColor kDefaultHotColor = 0x00EFD3C6;
constexpr int kHotTrackFrameShade = -50;
constexpr int kPressedShade = -25;

void fillSolid(TCanvas& canvas, const QRect& rect, TColor color)
{
    if (canvas.Handle() && !rect.isEmpty())
        canvas.Handle()->fillRect(rect, canvas.ToQColor(color));
}

// The last results of PaintSelection, one slot per kind, keyed by the input colour:
// the grid asks for the same colour for every highlighted cell.
struct TSelectionMemo
{
    TColor Key = clNone;
    TColor First = clNone;
    TColor Second = clNone;
};

TSelectionMemo& solidMemo()
{
    static TSelectionMemo memo;
    return memo;
}

TSelectionMemo& gradientMemo()
{
    static TSelectionMemo memo;
    return memo;
}

bool isWhite(TColor color)
{
    return color == clWhite;
}

TColor solidTint(TColor color)
{
    TColor tint = ShiftLuminance(color, 20);
    if (isWhite(ShiftLuminance(tint, 10)))
        tint = ShiftLuminance(color, 10);
    if (isWhite(ShiftLuminance(tint, 10)))
        tint = color;
    return tint;
}

} // namespace

TOrvoGradient::TOrvoGradient(QWidget* control) : QObject(nullptr), FControl(control) {}

void TOrvoGradient::SetActive(bool value)
{
    Store(FActive, value);
}

void TOrvoGradient::SetDirection(TOrvoGradientDirection value)
{
    Store(FDirection, value);
}

void TOrvoGradient::SetOptions(TOrvoGradientOptions value)
{
    Store(FOptions, value);
}

void TOrvoGradient::SetSwapColors(bool value)
{
    Store(FSwapColors, value);
}

void TOrvoGradient::SetStartColor(TColor value)
{
    Store(FStartColor, value);
}

void TOrvoGradient::SetEndColor(TColor value)
{
    Store(FEndColor, value);
}

void TOrvoGradient::SetHotColor(TColor value)
{
    Store(FHotColor, value);
}

void TOrvoGradient::SetCells(TOrvoGradientCells value)
{
    Store(FCells, value);
}

void TOrvoGradient::SetShadowFactor(int value)
{
    Store(FShadowFactor, value);
}

void TOrvoGradient::CopyFrom(const TOrvoGradient& source)
{
    FActive = source.FActive;
    FOptions = source.FOptions;
    FDirection = source.FDirection;
    FSwapColors = source.FSwapColors;
    FStartColor = source.FStartColor;
    FAlternateEndColor = source.FAlternateEndColor;
    FEndColor = source.FEndColor;
    FHotColor = source.FHotColor;
    FCells = source.FCells;
    FShadowFactor = source.FShadowFactor;
}

bool TOrvoGradient::SameSettings(const TOrvoGradient& other) const
{
    return FActive == other.FActive && FOptions == other.FOptions && FDirection == other.FDirection &&
           FSwapColors == other.FSwapColors && FStartColor == other.FStartColor &&
           FAlternateEndColor == other.FAlternateEndColor && FEndColor == other.FEndColor &&
           FHotColor == other.FHotColor && FCells == other.FCells && FShadowFactor == other.FShadowFactor;
}

void TOrvoGradient::Assign(const QObject* source)
{
    const auto* gradient = qobject_cast<const TOrvoGradient*>(source);
    if (!gradient) {
        const QString sourceName =
            source ? QString::fromLatin1(source->metaObject()->className()) : QStringLiteral("nil");
        throw EConvertError(
            QStringLiteral("Cannot assign a %1 to a %2")
                .arg(sourceName.section(QLatin1String("::"), -1),
                     QString::fromLatin1(metaObject()->className()).section(QLatin1String("::"), -1)));
    }
    if (gradient != this)
        CopyFrom(*gradient);
}

void TOrvoGradient::Changed()
{
    if (OnChange)
        OnChange(this);
}

bool TOrvoGradient::UpdateFrom(const TOrvoGradient* other)
{
    if (!other || SameSettings(*other))
        return false;
    CopyFrom(*other);
    Changed();
    return true;
}

TColor TOrvoGradient::GetDefaultHotColor() const
{
    return kDefaultHotColor;
}

bool TOrvoGradient::HasHotOption() const
{
    return FOptions.Contains(goHotButton) || FOptions.Contains(goHotTrack) || FOptions.Contains(goHotColor);
}

bool TOrvoGradient::IsActive(bool ignoreTheme) const
{
    return GradientsEnabled() && IsAvailable() && FActive && (ignoreTheme || !ThemesEnabled(FControl));
}

bool TOrvoGradient::IsHotActive(bool ignoreTheme) const
{
    return IsActive(ignoreTheme) && HasHotOption();
}

TColor TOrvoGradient::Shade(TColor color, int factor)
{
    if (factor == 0)
        return color;
    const TColor result = ShiftLuminance(color, factor);
    if (factor < 0 && result == clWhite)
        return clBlack;
    if (factor > 0 && result == clBlack)
        return clWhite;
    return result;
}

void TOrvoGradient::PaintRect(TCanvas& canvas, const QRect& rect, TColor defaultColor, bool hot, bool down)
{
    const bool hotOn = hot && HasHotOption();
    const bool hotButton = hotOn && FOptions.Contains(goHotButton);
    const bool hotTrack = hotOn && FOptions.Contains(goHotTrack);
    TColor base = FEndColor == clDefault ? defaultColor : FEndColor;
    if (hotOn && FOptions.Contains(goHotColor))
        base = FHotColor == clDefault ? GetDefaultHotColor() : FHotColor;
    QRect area = rect;
    if (hotTrack) {
        fillSolid(canvas, area, Shade(base, kHotTrackFrameShade));
        if (down)
            base = Shade(base, kPressedShade);
        area.adjust(1, 1, -1, -1);
        if (!FOptions.Contains(goHotButton)) {
            fillSolid(canvas, area, base);
            return;
        }
    }
    if (!FOptions.Contains(goGradient) && !hotButton) {
        fillSolid(canvas, area, base);
        return;
    }
    const TColor trail = Shade(base, FShadowFactor);
    const bool mirror = canvas.RightToLeft() && FDirection == gdHorizontal;
    const bool reverse = hotButton ^ FSwapColors ^ (!FOptions.Contains(goGradient) || hotTrack);
    if (reverse != mirror)
        GradientFillRect(canvas, trail, FStartColor, FDirection, area);
    else
        GradientFillRect(canvas, FStartColor, trail, FDirection, area);
}

bool TOrvoGradient::PaintButton(TCanvas& canvas, const QRect& rect, TColor transparentColor, int outerInset,
                                int innerInset, bool hot, bool down, bool extend)
{
    QRect fill = rect.adjusted(outerInset, outerInset, -outerInset, -outerInset);
    QRect keep = fill.adjusted(innerInset, innerInset, -innerInset, -innerInset);
    if (extend) {
        const bool hotTrack = hot && FOptions.Contains(goHotTrack);
        if (down || hotTrack)
            fill.adjust(0, 0, 1, 1);
        if (!down || hotTrack)
            fill.adjust(-1, -1, 0, 0);
    }
    if (keep.width() <= 0 || keep.height() <= 0)
        return false;
    const QImage face = canvas.CopyToImage(keep);
    if (face.isNull())
        return false;
    PaintRect(canvas, fill, transparentColor, hot, down);
    canvas.Handle()->drawImage(keep.topLeft(), MaskOutColor(face, canvas.ColorToRGB(transparentColor)));
    return true;
}

bool TOrvoGradient::PaintButtonAlternate(TCanvas& canvas, const QRect& rect, TColor transparentColor,
                                         int outerInset, int innerInset, bool hot, bool down, bool extend)
{
    // Swapped in and out without notifying: for the owner nothing has changed.
    struct TEndColorSwap
    {
        TColor& End;
        TColor Saved;
        ~TEndColorSwap() { End = Saved; }
    } swap{FEndColor, FEndColor};
    FEndColor = FAlternateEndColor;
    return PaintButton(canvas, rect, transparentColor, outerInset, innerInset, hot, down, extend);
}

void TOrvoGradient::PaintSelection(TCanvas& canvas, const QRect& rect, TColor color, bool solid)
{
    if (solid) {
        TSelectionMemo& memo = solidMemo();
        if (memo.Key != color)
            memo = {color, solidTint(color), clNone};
        canvas.Brush().SetColor(memo.First);
        canvas.Brush().SetStyle(bsSolid);
        canvas.FillRect(rect);
        return;
    }
    TSelectionMemo& memo = gradientMemo();
    if (memo.Key != color) {
        TColor bottom = ShiftLuminance(color, 10);
        if (isWhite(ShiftLuminance(bottom, 10)))
            bottom = color;
        memo = {color, ShiftLuminance(color, 35), bottom};
    }
    GradientFillRect(canvas, memo.First, memo.Second, gdVertical, rect);
}

} // namespace orvo
