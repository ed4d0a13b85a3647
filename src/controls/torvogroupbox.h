#pragma once

#include "controls/torvogradientbackground.h"
#include "controls/torvogroupcheckbox.h"

#include <QGroupBox>

#include <functional>

namespace orvo {

class TCanvas;

/// A group box with a gradient background and an optional check box in its caption
/// (CheckBox) that can enable or disable the controls inside. With
/// PartialBackground only the area below the caption's middle is painted, so the
/// parent shows around the caption as it does around a plain group box.
class TOrvoGroupBox : public QGroupBox
{
    Q_OBJECT
    Q_PROPERTY(orvo::TOrvoGroupCheckBox* CheckBox READ CheckBox WRITE SetCheckBox)
    Q_PROPERTY(orvo::TOrvoGradientBackground* Gradient READ Gradient WRITE SetGradient)
    Q_PROPERTY(bool ParentBackground READ ParentBackground WRITE SetParentBackground)
    Q_PROPERTY(bool PartialBackground READ PartialBackground WRITE SetPartialBackground)

public:
    using TNotifyEvent = std::function<void(TOrvoGroupBox* sender)>;

    /// How far the caption (and the check box that may replace it) stands in from the frame's edge.
    static constexpr int CaptionIndent = 8;

    explicit TOrvoGroupBox(QWidget* parent = nullptr);
    TOrvoGroupBox(const QString& title, QWidget* parent = nullptr);
    ~TOrvoGroupBox() override;

    TOrvoGroupCheckBox* CheckBox() const { return FCheckBox; }
    void SetCheckBox(const TOrvoGroupCheckBox* value);
    TOrvoGradientBackground* Gradient() const { return FGradient; }
    void SetGradient(const TOrvoGradientBackground* value);
    /// Leave the whole background to the parent.
    bool ParentBackground() const { return FParentBackground; }
    void SetParentBackground(bool value);
    bool PartialBackground() const { return FPartialBackground; }
    void SetPartialBackground(bool value);

    /// Repaints the group box and the children that show its background.
    void Invalidate();
    /// The group box and its children are complete: the check box brings the children
    /// into line with its state. Runs once; showing the group box runs it too.
    void Loaded();
    /// Fires OnCheckBoxChanged; the check box calls it after applying its action.
    void CheckBoxChanged();

    TNotifyEvent OnCheckBoxChanged;

protected:
    virtual TOrvoGradientBackground* CreateGradient();
    virtual TOrvoGroupCheckBox* CreateCheckBox();

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void PaintBackground(TCanvas& canvas);
    void PaintFrameAndCaption(TCanvas& canvas);
    QRect CaptionBlock(TCanvas& canvas) const;
    int CheckBoxWidth() const;

    TOrvoGradientBackground* FGradient = nullptr;
    TOrvoGroupCheckBox* FCheckBox = nullptr;
    bool FPartialBackground = true;
    bool FParentBackground = false;
    bool FLoaded = false;
};

} // namespace orvo
