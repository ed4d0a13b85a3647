#include "controls/torvoupdown.h"

#include "controls/controlpainting.h"
#include "controls/systemprobes.h"
#include "controls/torvogradientbutton.h"
#include "platform/core/texceptionhandler.h"
#include "platform/graphics/drawedge.h"
#include "platform/graphics/graphicsenums.h"
#include "platform/graphics/tcanvas.h"
#include "platform/graphics/tthemeservices.h"

#include <QEnterEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>

namespace orvo {

namespace {

// How far the mouse may stray from a held arrow before it shows released.
constexpr int kPressMargin = 2;

// The themed element of one arrow: up/down when vertical, right/left when horizontal.
TThemedSpin spinPart(bool vertical, bool first, bool enabled, bool hot, bool down)
{
    int part = vertical ? (first ? tsUpNormal : tsDownNormal) : (first ? tsDownHorzNormal : tsUpHorzNormal);
    if (!enabled)
        part += 3;
    else if (down)
        part += 2;
    else if (hot)
        part += 1;
    return TThemedSpin(part);
}

} // namespace

TOrvoUpDown::TOrvoUpDown(QWidget* parent) : QWidget(parent)
{
    FGradient = CreateGradient();
    FGradient->OnChange = [this](TOrvoGradient*) { update(); };
    FRepeatTimer = new QTimer(this);
    FRepeatTimer->setSingleShot(false);
    connect(FRepeatTimer, &QTimer::timeout, this, [this] { TExceptionHandler::Guard([this] { Repeat(); }); });
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

TOrvoUpDown::~TOrvoUpDown()
{
    delete FGradient;
}

TOrvoGradientButton* TOrvoUpDown::CreateGradient()
{
    return new TOrvoGradientButton(this);
}

void TOrvoUpDown::SetFine(bool value)
{
    if (FFine == value)
        return;
    FFine = value;
    update();
}

void TOrvoUpDown::SetFlat(bool value)
{
    if (FFlat == value)
        return;
    FFlat = value;
    update();
}

void TOrvoUpDown::SetGradient(const TOrvoGradientButton* value)
{
    FGradient->Assign(value);
    update();
}

void TOrvoUpDown::SetMax(int value)
{
    FMax = value;
    FMin = std::min(FMin, FMax);
    SetPosition(FPosition);
}

void TOrvoUpDown::SetMin(int value)
{
    FMin = value;
    FMax = std::max(FMin, FMax);
    SetPosition(FPosition);
}

void TOrvoUpDown::SetOrientation(TUDOrientation value)
{
    if (FOrientation == value)
        return;
    FOrientation = value;
    updateGeometry();
    update();
}

void TOrvoUpDown::SetPosition(int value)
{
    FPosition = std::clamp(value, FMin, FMax);
}

QRect TOrvoUpDown::FirstHalf() const
{
    if (FOrientation == udVertical)
        return QRect(0, 0, width(), height() / 2);
    return QRect(0, 0, width() / 2, height());
}

QRect TOrvoUpDown::SecondHalf() const
{
    if (FOrientation == udVertical)
        return QRect(0, height() / 2, width(), height() - height() / 2);
    return QRect(width() / 2, 0, width() - width() / 2, height());
}

QSize TOrvoUpDown::sizeHint() const
{
    return FOrientation == udVertical ? QSize(17, 24) : QSize(24, 17);
}

TUDBtnType TOrvoUpDown::ButtonOf(bool first) const
{
    // Up is on top; side by side, the right arrow counts up.
    if (FOrientation == udVertical)
        return first ? btNext : btPrev;
    return first ? btPrev : btNext;
}

void TOrvoUpDown::Click(TUDBtnType button)
{
    const int step = button == btNext ? FIncrement : -FIncrement;
    int next = FPosition + step;
    if (next > FMax)
        next = FWrap ? FMin : FMax;
    else if (next < FMin)
        next = FWrap ? FMax : FMin;
    FPosition = next;
    if (OnClick)
        OnClick(this, button);
}

void TOrvoUpDown::Repeat()
{
    if (!FDownFirst && !FDownSecond) {
        FRepeatTimer->stop();
        return;
    }
    FRepeatTimer->setInterval(RepeatInterval);
    if (FPressedInside)
        Click(ButtonOf(FDownFirst));
}

void TOrvoUpDown::mousePressEvent(QMouseEvent* event)
{
    TExceptionHandler::Guard([this, event] {
        if (event->button() != Qt::LeftButton || !isEnabled())
            return;
        const QPoint pos = event->position().toPoint();
        FDownFirst = FirstHalf().contains(pos);
        FDownSecond = !FDownFirst && SecondHalf().contains(pos);
        if (!FDownFirst && !FDownSecond)
            return;
        FPressedInside = true;
        update();
        FRepeatTimer->start(RepeatDelay);
        Click(ButtonOf(FDownFirst));
    });
}

void TOrvoUpDown::UpdateHot(const QPoint& pos)
{
    const bool first = FirstHalf().contains(pos);
    const bool second = SecondHalf().contains(pos);
    if (first == FHotFirst && second == FHotSecond)
        return;
    FHotFirst = first;
    FHotSecond = second;
    update();
}

void TOrvoUpDown::UpdatePressedInside(const QPoint& pos)
{
    if (!FDownFirst && !FDownSecond)
        return;
    const QRect held = FDownFirst ? FirstHalf() : SecondHalf();
    const bool inside = held.adjusted(-kPressMargin, -kPressMargin, kPressMargin, kPressMargin).contains(pos);
    if (inside == FPressedInside)
        return;
    FPressedInside = inside;
    update();
}

void TOrvoUpDown::mouseMoveEvent(QMouseEvent* event)
{
    TExceptionHandler::Guard([this, event] {
        const QPoint pos = event->position().toPoint();
        if (FMouseIn)
            UpdateHot(pos);
        UpdatePressedInside(pos);
    });
}

void TOrvoUpDown::Release()
{
    FRepeatTimer->stop();
    if (!FDownFirst && !FDownSecond && !FPressedInside)
        return;
    FDownFirst = false;
    FDownSecond = false;
    FPressedInside = false;
    update();
}

void TOrvoUpDown::mouseReleaseEvent(QMouseEvent* event)
{
    TExceptionHandler::Guard([this, event] {
        if (event->button() == Qt::LeftButton)
            Release();
    });
}

void TOrvoUpDown::enterEvent(QEnterEvent* event)
{
    TExceptionHandler::Guard([this, event] {
        QWidget::enterEvent(event);
        if (OnMouseEnter)
            OnMouseEnter(this);
        FMouseIn = true;
        UpdateHot(event->position().toPoint());
    });
}

void TOrvoUpDown::leaveEvent(QEvent* event)
{
    TExceptionHandler::Guard([this, event] {
        QWidget::leaveEvent(event);
        if (OnMouseLeave)
            OnMouseLeave(this);
        FMouseIn = false;
        if (FHotFirst || FHotSecond) {
            FHotFirst = false;
            FHotSecond = false;
            update();
        }
    });
}

void TOrvoUpDown::changeEvent(QEvent* event)
{
    TExceptionHandler::Guard([this, event] {
        QWidget::changeEvent(event);
        // A disabled up-down must not go on repeating a press it no longer sees released.
        if (event->type() == QEvent::EnabledChange && !isEnabled())
            Release();
    });
}

void TOrvoUpDown::paintEvent(QPaintEvent*)
{
    TExceptionHandler::Guard([this] {
        // Composed in an image because gradient faces are laid under arrows that have
        // to be read back.
        const qreal ratio = devicePixelRatioF();
        QImage image(size() * ratio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        {
            TCanvas canvas(&image, palette());
            PaintHalf(canvas, FirstHalf(), true);
            PaintHalf(canvas, SecondHalf(), false);
        }
        QPainter painter(this);
        painter.drawImage(0, 0, image);
    });
}

void TOrvoUpDown::PaintHalf(TCanvas& canvas, const QRect& half, bool first)
{
    const bool held = first ? FDownFirst : FDownSecond;
    const bool hot = (first ? FHotFirst : FHotSecond) || held;
    const bool down = held && FPressedInside;
    if (ThemesEnabled(this)) {
        ThemeServices().DrawElement(canvas,
                                    TThemeServices::GetElementDetails(
                                        spinPart(FOrientation == udVertical, first, isEnabled(), hot, down)),
                                    half, QRect(), this);
    } else {
        DrawClassicButtonFace(canvas, half, down);
        PaintArrow(canvas, half, first, down);
    }
    if (FGradient->IsActive(false))
        PaintGradientHalf(canvas, half, hot, down);
}

void TOrvoUpDown::PaintArrow(TCanvas& canvas, const QRect& half, bool first, bool down)
{
    const int size = std::max(2, std::min(half.width(), half.height()) / 4);
    QPoint centre = half.center() + (down ? QPoint(1, 1) : QPoint());
    QList<QPoint> points;
    if (FOrientation == udVertical) {
        const int dir = first ? -1 : 1;
        points = {centre + QPoint(-size, -dir * size / 2), centre + QPoint(size, -dir * size / 2),
                  centre + QPoint(0, dir * (size - size / 2))};
    } else {
        const int dir = first ? -1 : 1;
        points = {centre + QPoint(-dir * size / 2, -size), centre + QPoint(-dir * size / 2, size),
                  centre + QPoint(dir * (size - size / 2), 0)};
    }
    const TColor color = isEnabled() ? clBtnText : clGrayText;
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(color);
    canvas.Pen().SetColor(color);
    canvas.Polygon(points);
}

void TOrvoUpDown::PaintGradientHalf(TCanvas& canvas, const QRect& half, bool hot, bool down)
{
    if ((FFine && FFlat) || (down && FFlat)) {
        QRect edge = half;
        DrawEdge(canvas, edge, down ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
    if (FFine || (FFlat && down))
        FGradient->PaintButton(canvas, half, clBtnFace, 1, 1, hot, down, false);
    else if (FFlat)
        FGradient->PaintButton(canvas, half, clBtnFace, 0, 2, hot, down, false);
    else
        FGradient->PaintButton(canvas, half, clBtnFace, 2, 0, hot, down, !down);
}

} // namespace orvo
