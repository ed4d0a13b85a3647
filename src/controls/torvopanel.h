#pragma once

#include "controls/torvocontrolenums.h"
#include "controls/torvogradientbackground.h"
#include "platform/core/coreenums.h"

#include <QWidget>

namespace orvo {

class TCanvas;

/// A panel with a gradient background, an outer and an inner bevel with a border
/// between them, and an optional caption. Layouts placed in it keep inside the
/// bevels. When the panel repaints, the children that show its background repaint
/// too; while it is being resized only those that keep their place, because the
/// others are moved or resized and repaint on their own.
class TOrvoPanel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(orvo::CoreEnums::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(orvo::TBevelCut BevelInner READ BevelInner WRITE SetBevelInner)
    Q_PROPERTY(orvo::TBevelCut BevelOuter READ BevelOuter WRITE SetBevelOuter)
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE SetBevelWidth)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(orvo::TOrvoGradientBackground* Gradient READ Gradient WRITE SetGradient)
    Q_PROPERTY(bool ParentBackground READ ParentBackground WRITE SetParentBackground)
    Q_PROPERTY(bool ShowCaption READ ShowCaption WRITE SetShowCaption)

public:
    /// Bit set in ResizeFlags while the width changes.
    static constexpr int rfWidth = 1;
    /// Bit set in ResizeFlags while the height changes.
    static constexpr int rfHeight = 2;

    explicit TOrvoPanel(QWidget* parent = nullptr);
    ~TOrvoPanel() override;

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut value);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int value);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int value);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& value);
    TOrvoGradientBackground* Gradient() const { return FGradient; }
    void SetGradient(const TOrvoGradientBackground* value);
    /// Leave the whole background to the parent.
    bool ParentBackground() const { return FParentBackground; }
    void SetParentBackground(bool value);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool value);

    /// rfWidth and rfHeight while a resize is being handled, 0 otherwise.
    int ResizeFlags() const { return FResizeFlags; }
    /// Repaints the panel and the children that show its background.
    void Invalidate();
    /// Whether `child` stays where it is when the panel is resized: a child the
    /// panel's layout does not manage is never moved or resized by the panel.
    bool KeepsPlace(const QWidget* child) const;

protected:
    virtual TOrvoGradientBackground* CreateGradient();
    /// Repaints one child that shows the panel's background.
    virtual void InvalidateChild(QWidget* child);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PaintBackground(TCanvas& canvas);
    void PaintCaption(TCanvas& canvas, const QRect& rect);
    void UpdateMargins();
    int FrameWidth() const;

    TOrvoGradientBackground* FGradient = nullptr;
    int FResizeFlags = 0;
    TAlignment FAlignment = taCenter;
    TBevelCut FBevelInner = bvNone;
    TBevelCut FBevelOuter = bvRaised;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    QString FCaption;
    bool FParentBackground = false;
    bool FShowCaption = true;
};

} // namespace orvo
