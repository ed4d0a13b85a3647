#pragma once

#include "controls/torvogradientbutton.h"
#include "controls/torvogradientenums.h"

#include <QPushButton>

#include <functional>

namespace orvo {

class TCanvas;

/// A push button that can paint a gradient face and react to the mouse passing over
/// it. With ApplyTheme and themes in force it is the style's own button; otherwise it
/// draws itself: a classic face, the gradient of Gradient laid under it (reversed or
/// framed while hot), a frame when it is the default or focused button, and the
/// caption centred on top, embossed when disabled.
class TOrvoButton : public QPushButton
{
    Q_OBJECT
    Q_PROPERTY(bool ApplyTheme READ ApplyTheme WRITE SetApplyTheme)
    Q_PROPERTY(orvo::TButtonDrawingStyle DrawingStyle READ DrawingStyle WRITE SetDrawingStyle STORED false)
    Q_PROPERTY(bool Fine READ Fine WRITE SetFine)
    Q_PROPERTY(bool Flat READ Flat WRITE SetFlat)
    Q_PROPERTY(orvo::TOrvoGradientButton* Gradient READ Gradient WRITE SetGradient)

public:
    using TNotifyEvent = std::function<void(TOrvoButton* sender)>;

    explicit TOrvoButton(QWidget* parent = nullptr);
    ~TOrvoButton() override;

    /// Leave the look to the style while themes are in force.
    bool ApplyTheme() const { return FApplyTheme; }
    void SetApplyTheme(bool value);
    /// bdsThemed while ApplyTheme, else bdsGradient while the gradient is active, else
    /// bdsClassic; writing sets both.
    TButtonDrawingStyle DrawingStyle() const;
    void SetDrawingStyle(TButtonDrawingStyle value);
    /// A thin one-pixel face border around the gradient.
    bool Fine() const { return FFine; }
    void SetFine(bool value);
    /// A flat face with the gradient inset inside it.
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    TOrvoGradientButton* Gradient() const { return FGradient; }
    /// Copies the settings; the owned object stays.
    void SetGradient(const TOrvoGradientButton* value);

    /// Whether the button draws itself rather than leaving it to the style.
    bool OwnerDrawn() const { return FOwnerDrawn; }
    /// Whether the mouse is over the button.
    bool MouseIn() const { return FMouseIn; }

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    virtual TOrvoGradientButton* CreateGradient();
    /// Paints the owner-drawn look on `canvas`, which covers the whole button.
    virtual void DrawButton(TCanvas& canvas);
    void DrawCaption(TCanvas& canvas, const QRect& rect);
    /// The gradient's OnChange: repaint, or switch between owner-drawn and styled.
    void GradientChanged();

    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool NeedsOwnerDraw() const;
    void RecreateLook();
    void PaintGradientFace(TCanvas& canvas, bool framed, bool hot, bool down);
    void SetMouseIn(bool value);

    TOrvoGradientButton* FGradient = nullptr;
    bool FMouseIn = false;
    bool FOwnerDrawn = false;
    bool FFine = false;
    bool FFlat = false;
    bool FApplyTheme = true;
};

} // namespace orvo
