#pragma once

#include "controls/torvogradientenums.h"
#include "platform/core/tcolor.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <functional>

namespace orvo {

class TCanvas;

/// The gradient settings a control of the suite owns, and the painting that turns
/// them into pixels: a linear fill from StartColor to a shaded end colour, optionally
/// reversed, recoloured or framed while the mouse is over the control. The owning
/// control installs OnChange to repaint and calls one of the paint operations from
/// its own painting; it never paints a gradient itself.
class TOrvoGradient : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool Active READ Active WRITE SetActive)

public:
    using TNotifyEvent = std::function<void(TOrvoGradient* sender)>;

    static constexpr int DefaultShadowFactor = -25;

    explicit TOrvoGradient(QWidget* control = nullptr);

    /// The owning control; only consulted for the theme rule of IsActive.
    QWidget* Control() const { return FControl; }

    bool Active() const { return FActive; }
    void SetActive(bool value);
    TOrvoGradientDirection Direction() const { return FDirection; }
    void SetDirection(TOrvoGradientDirection value);
    TOrvoGradientOptions Options() const { return FOptions; }
    void SetOptions(TOrvoGradientOptions value);
    bool SwapColors() const { return FSwapColors; }
    void SetSwapColors(bool value);
    TColor StartColor() const { return FStartColor; }
    void SetStartColor(TColor value);
    /// clDefault: the colour the painting caller passes.
    TColor EndColor() const { return FEndColor; }
    void SetEndColor(TColor value);
    /// clDefault: GetDefaultHotColor().
    TColor HotColor() const { return FHotColor; }
    void SetHotColor(TColor value);
    /// Takes EndColor's place while PaintButtonAlternate runs; not a published setting,
    /// so changing it notifies nobody.
    TColor AlternateEndColor() const { return FAlternateEndColor; }
    void SetAlternateEndColor(TColor value) { FAlternateEndColor = value; }
    TOrvoGradientCells Cells() const { return FCells; }
    void SetCells(TOrvoGradientCells value);
    /// The luminance shift of the trailing end: negative darkens, positive lightens.
    int ShadowFactor() const { return FShadowFactor; }
    void SetShadowFactor(int value);

    TNotifyEvent OnChange;

    /// Copies every setting but Control and OnChange from another gradient of the
    /// family, without notifying; raises EConvertError for anything else.
    void Assign(const QObject* source);

    /// Fires OnChange.
    virtual void Changed();
    /// Takes the settings of `other` when any differs and then notifies once; true
    /// when something changed, false for a null or equal `other`.
    virtual bool UpdateFrom(const TOrvoGradient* other);
    virtual TColor GetDefaultHotColor() const;
    /// Paints a gradient under a button face already drawn on `canvas`: the area inside
    /// `outerInset` gets PaintRect, and every pixel inside `innerInset` that is not
    /// `transparentColor` (the face colour) is put back on top, so text, focus marks
    /// and glyphs stay. The canvas must be readable (image-backed): controls compose
    /// their face in an image. Returns false, painting nothing, when the insets leave
    /// no area or the canvas cannot be read.
    virtual bool PaintButton(TCanvas& canvas, const QRect& rect, TColor transparentColor, int outerInset,
                             int innerInset, bool hot, bool down, bool extend);
    /// A light highlight derived from `color`: a tint, or a gradient of two tints.
    virtual void PaintSelection(TCanvas& canvas, const QRect& rect, TColor color, bool solid);
    /// The core of every gradient: fills `rect` as the settings and the hot and down
    /// states say, `defaultColor` standing in for EndColor when that is clDefault.
    virtual void PaintRect(TCanvas& canvas, const QRect& rect, TColor defaultColor, bool hot, bool down);
    /// PaintButton with AlternateEndColor in EndColor's place.
    virtual bool PaintButtonAlternate(TCanvas& canvas, const QRect& rect, TColor transparentColor,
                                      int outerInset, int innerInset, bool hot, bool down, bool extend);

    /// Gradients can always be drawn here (Qt's linear gradients).
    static bool IsAvailable() { return true; }
    /// Gradients enabled, Active, and (ignoreTheme or themes not in force).
    bool IsActive(bool ignoreTheme) const;
    /// IsActive and at least one hot option, so that hovering needs a repaint.
    bool IsHotActive(bool ignoreTheme) const;

    /// `color` with its luminance shifted by `factor` on the 240 scale; 0 returns
    /// `color` itself, a darkening that gives white gives black, and a lightening
    /// that gives black gives white.
    static TColor Shade(TColor color, int factor);

protected:
    bool HasHotOption() const;
    template <typename T> void Store(T& field, T value)
    {
        if (field == value)
            return;
        field = value;
        Changed();
    }

private:
    void CopyFrom(const TOrvoGradient& source);
    bool SameSettings(const TOrvoGradient& other) const;

    QPointer<QWidget> FControl;
    bool FActive = true;
    TOrvoGradientDirection FDirection = gdVertical;
    TOrvoGradientOptions FOptions{goGradient};
    bool FSwapColors = false;
    TColor FStartColor = clWindow;
    TColor FEndColor = clDefault;
    TColor FHotColor = clDefault;
    TColor FAlternateEndColor = clDefault;
    TOrvoGradientCells FCells{gcSelectedCell, gcSelectedRow, gcMultiSelected, gcStripedRows};
    int FShadowFactor = DefaultShadowFactor;
};

} // namespace orvo
