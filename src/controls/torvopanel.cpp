#include "controls/torvopanel.h"

#include "controls/controlpainting.h"
#include "controls/torvogradientbackground.h"
#include "platform/core/texceptionhandler.h"
#include "platform/graphics/drawtext.h"
#include "platform/graphics/graphicsenums.h"
#include "platform/graphics/tcanvas.h"

#include <QLayout>
#include <QPainter>
#include <QResizeEvent>

namespace orvo {

namespace {

// A 3-D frame `width` pixels wide inside `rect`, which shrinks by it.
void frame3D(TCanvas& canvas, QRect& rect, TColor topLeft, TColor bottomRight, int width)
{
    QPainter* painter = canvas.Handle();
    const QColor light = canvas.ToQColor(topLeft);
    const QColor dark = canvas.ToQColor(bottomRight);
    for (int i = 0; i < width && rect.width() > 0 && rect.height() > 0; ++i) {
        painter->fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), light);
        painter->fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), light);
        painter->fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), dark);
        painter->fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), dark);
        rect.adjust(1, 1, -1, -1);
    }
}

void paintBevel(TCanvas& canvas, QRect& rect, TBevelCut bevel, int width)
{
    if (bevel == bvNone)
        return;
    const bool lowered = bevel == bvLowered;
    frame3D(canvas, rect, lowered ? clBtnShadow : clBtnHighlight, lowered ? clBtnHighlight : clBtnShadow,
            width);
}

bool layoutManages(const QLayout* layout, const QWidget* child)
{
    if (!layout)
        return false;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == child || layoutManages(item->layout(), child))
            return true;
    }
    return false;
}

unsigned alignmentFlags(TAlignment alignment)
{
    switch (alignment) {
    case taLeftJustify:
        return DT_LEFT;
    case taRightJustify:
        return DT_RIGHT;
    case taCenter:
        break;
    }
    return DT_CENTER;
}

} // namespace

TOrvoPanel::TOrvoPanel(QWidget* parent) : QWidget(parent)
{
    FGradient = CreateGradient();
    FGradient->OnChange = [this](TOrvoGradient*) { Invalidate(); };
    setAutoFillBackground(false);
    UpdateMargins();
}

TOrvoPanel::~TOrvoPanel()
{
    delete FGradient;
}

TOrvoGradientBackground* TOrvoPanel::CreateGradient()
{
    return new TOrvoGradientBackground(this);
}

void TOrvoPanel::SetAlignment(TAlignment value)
{
    if (FAlignment == value)
        return;
    FAlignment = value;
    Invalidate();
}

void TOrvoPanel::SetBevelInner(TBevelCut value)
{
    if (FBevelInner == value)
        return;
    FBevelInner = value;
    UpdateMargins();
    Invalidate();
}

void TOrvoPanel::SetBevelOuter(TBevelCut value)
{
    if (FBevelOuter == value)
        return;
    FBevelOuter = value;
    UpdateMargins();
    Invalidate();
}

void TOrvoPanel::SetBevelWidth(int value)
{
    value = std::max(1, value);
    if (FBevelWidth == value)
        return;
    FBevelWidth = value;
    UpdateMargins();
    Invalidate();
}

void TOrvoPanel::SetBorderWidth(int value)
{
    value = std::max(0, value);
    if (FBorderWidth == value)
        return;
    FBorderWidth = value;
    UpdateMargins();
    Invalidate();
}

void TOrvoPanel::SetCaption(const QString& value)
{
    if (FCaption == value)
        return;
    FCaption = value;
    Invalidate();
}

void TOrvoPanel::SetGradient(const TOrvoGradientBackground* value)
{
    FGradient->Assign(value);
    Invalidate();
}

void TOrvoPanel::SetParentBackground(bool value)
{
    if (FParentBackground == value)
        return;
    FParentBackground = value;
    Invalidate();
}

void TOrvoPanel::SetShowCaption(bool value)
{
    if (FShowCaption == value)
        return;
    FShowCaption = value;
    Invalidate();
}

int TOrvoPanel::FrameWidth() const
{
    const int outer = FBevelOuter == bvNone ? 0 : FBevelWidth;
    const int inner = FBevelInner == bvNone ? 0 : FBevelWidth;
    return outer + FBorderWidth + inner;
}

void TOrvoPanel::UpdateMargins()
{
    const int frame = FrameWidth();
    setContentsMargins(frame, frame, frame, frame);
}

bool TOrvoPanel::KeepsPlace(const QWidget* child) const
{
    return !layoutManages(layout(), child);
}

void TOrvoPanel::Invalidate()
{
    update();
    for (QWidget* child : ChildrenRepaintingWithParent(this)) {
        if (FResizeFlags == 0 || KeepsPlace(child))
            InvalidateChild(child);
    }
}

void TOrvoPanel::InvalidateChild(QWidget* child)
{
    child->update();
}

void TOrvoPanel::resizeEvent(QResizeEvent* event)
{
    TExceptionHandler::Guard([this, event] {
        QWidget::resizeEvent(event);
        if (event->oldSize().width() != event->size().width())
            FResizeFlags |= rfWidth;
        if (event->oldSize().height() != event->size().height())
            FResizeFlags |= rfHeight;
        // Cleared on every way out, so that a later repaint reaches every child.
        struct TFlagsReset
        {
            int& Flags;
            ~TFlagsReset() { Flags = 0; }
        } reset{FResizeFlags};
        Invalidate();
    });
}

void TOrvoPanel::paintEvent(QPaintEvent*)
{
    TExceptionHandler::Guard([this] {
        QPainter painter(this);
        TCanvas canvas(&painter, palette());
        canvas.SetRightToLeft(layoutDirection() == Qt::RightToLeft);
        PaintBackground(canvas);
        QRect area = rect();
        paintBevel(canvas, area, FBevelOuter, FBevelWidth);
        if (FParentBackground) {
            area.adjust(FBorderWidth, FBorderWidth, -FBorderWidth, -FBorderWidth);
        } else {
            const TColor color = FromQColor(palette().color(backgroundRole()));
            frame3D(canvas, area, color, color, FBorderWidth);
        }
        paintBevel(canvas, area, FBevelInner, FBevelWidth);
        PaintCaption(canvas, area);
    });
}

void TOrvoPanel::PaintBackground(TCanvas& canvas)
{
    if (FParentBackground)
        return;
    if (FGradient->IsActive(true))
        FGradient->PaintRect(canvas, rect(), FromQColor(palette().color(backgroundRole())), false, false);
    else
        canvas.Handle()->fillRect(rect(), palette().brush(backgroundRole()));
}

void TOrvoPanel::PaintCaption(TCanvas& canvas, const QRect& rect)
{
    if (!FShowCaption || FCaption.isEmpty())
        return;
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().SetQFont(font());
    canvas.Font().SetColor(isEnabled() ? clBtnText : clGrayText);
    const int height = canvas.TextHeight(QStringLiteral("W"));
    QRect band(rect.left(), rect.top() + (rect.height() - height) / 2, rect.width(), height);
    unsigned flags = DT_SINGLELINE | DT_VCENTER | alignmentFlags(FAlignment);
    if (canvas.RightToLeft())
        flags |= DT_RTLREADING;
    DrawText(canvas, FCaption, band, flags);
}

} // namespace orvo
