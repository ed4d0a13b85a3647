#pragma once

#include "controls/torvocontrolenums.h"
#include "controls/torvogradientbutton.h"

#include <QWidget>

#include <functional>

class QTimer;

namespace orvo {

class TCanvas;

/// A pair of arrow buttons that step Position between Min and Max, repeating while an
/// arrow is held. Each arrow tracks the mouse: hot while the mouse is over it,
/// pressed while it is held and the mouse stays on it (a margin of 2 pixels allowed);
/// dragged off, it shows released and stops repeating until the mouse comes back.
/// Without themes the arrows can get gradient faces from Gradient.
class TOrvoUpDown : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool Fine READ Fine WRITE SetFine)
    Q_PROPERTY(bool Flat READ Flat WRITE SetFlat)
    Q_PROPERTY(orvo::TOrvoGradientButton* Gradient READ Gradient WRITE SetGradient)
    Q_PROPERTY(int Increment READ Increment WRITE SetIncrement)
    Q_PROPERTY(int Max READ Max WRITE SetMax)
    Q_PROPERTY(int Min READ Min WRITE SetMin)
    Q_PROPERTY(orvo::TUDOrientation Orientation READ Orientation WRITE SetOrientation)
    Q_PROPERTY(int Position READ Position WRITE SetPosition)
    Q_PROPERTY(bool Wrap READ Wrap WRITE SetWrap)

public:
    using TNotifyEvent = std::function<void(TOrvoUpDown* sender)>;
    using TUDClickEvent = std::function<void(TOrvoUpDown* sender, TUDBtnType button)>;

    /// How long an arrow is held before it starts repeating, and the repeat interval.
    static constexpr int RepeatDelay = 400;
    static constexpr int RepeatInterval = 100;

    explicit TOrvoUpDown(QWidget* parent = nullptr);
    ~TOrvoUpDown() override;

    bool Fine() const { return FFine; }
    void SetFine(bool value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    TOrvoGradientButton* Gradient() const { return FGradient; }
    void SetGradient(const TOrvoGradientButton* value);
    int Increment() const { return FIncrement; }
    void SetIncrement(int value) { FIncrement = value; }
    int Max() const { return FMax; }
    void SetMax(int value);
    int Min() const { return FMin; }
    void SetMin(int value);
    TUDOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TUDOrientation value);
    /// Kept between Min and Max.
    int Position() const { return FPosition; }
    void SetPosition(int value);
    /// Stepping past one end goes on from the other.
    bool Wrap() const { return FWrap; }
    void SetWrap(bool value) { FWrap = value; }

    /// The top (vertical) or left (horizontal) arrow, half the size rounded down.
    QRect FirstHalf() const;
    QRect SecondHalf() const;
    bool MouseIn() const { return FMouseIn; }
    bool HotFirst() const { return FHotFirst; }
    bool HotSecond() const { return FHotSecond; }
    bool DownFirst() const { return FDownFirst; }
    bool DownSecond() const { return FDownSecond; }
    /// The held arrow is under the mouse.
    bool PressedInside() const { return FPressedInside; }

    QSize sizeHint() const override;

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    /// Fired for every step, repeats included.
    TUDClickEvent OnClick;

protected:
    virtual TOrvoGradientButton* CreateGradient();
    /// Steps Position for `button` and fires OnClick.
    virtual void Click(TUDBtnType button);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    TUDBtnType ButtonOf(bool first) const;
    void PaintHalf(TCanvas& canvas, const QRect& half, bool first);
    void PaintArrow(TCanvas& canvas, const QRect& half, bool first, bool down);
    void PaintGradientHalf(TCanvas& canvas, const QRect& half, bool hot, bool down);
    void UpdateHot(const QPoint& pos);
    void UpdatePressedInside(const QPoint& pos);
    void Repeat();
    void Release();

    TOrvoGradientButton* FGradient = nullptr;
    QTimer* FRepeatTimer = nullptr;
    bool FMouseIn = false;
    bool FHotSecond = false;
    bool FHotFirst = false;
    bool FPressedInside = false;
    bool FDownSecond = false;
    bool FDownFirst = false;
    bool FFine = false;
    bool FFlat = false;
    int FIncrement = 1;
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    TUDOrientation FOrientation = udVertical;
    bool FWrap = false;
};

} // namespace orvo
