#include "controls/torvobutton.h"

#include "controls/controlpainting.h"
#include "controls/systemprobes.h"
#include "controls/torvogradientbutton.h"
#include "platform/core/texceptionhandler.h"
#include "platform/graphics/drawedge.h"
#include "platform/graphics/drawtext.h"
#include "platform/graphics/graphicsenums.h"
#include "platform/graphics/tcanvas.h"

#include <QEnterEvent>
#include <QImage>
#include <QPainter>

namespace orvo {

namespace {

QImage faceImage(const QWidget* widget)
{
    const qreal ratio = widget->devicePixelRatioF();
    QImage image(widget->size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

TOrvoButton::TOrvoButton(QWidget* parent) : QPushButton(parent)
{
    FGradient = CreateGradient();
    FGradient->OnChange = [this](TOrvoGradient*) { GradientChanged(); };
    SetParentBackgroundStyle(this, true);
    FOwnerDrawn = NeedsOwnerDraw();
}

TOrvoButton::~TOrvoButton()
{
    delete FGradient;
}

TOrvoGradientButton* TOrvoButton::CreateGradient()
{
    return new TOrvoGradientButton(this);
}

void TOrvoButton::SetApplyTheme(bool value)
{
    if (FApplyTheme == value)
        return;
    FApplyTheme = value;
    if (ThemesEnabled(this))
        RecreateLook();
}

TButtonDrawingStyle TOrvoButton::DrawingStyle() const
{
    if (FApplyTheme)
        return bdsThemed;
    return FGradient->Active() ? bdsGradient : bdsClassic;
}

void TOrvoButton::SetDrawingStyle(TButtonDrawingStyle value)
{
    if (value == DrawingStyle())
        return;
    SetApplyTheme(value == bdsThemed);
    FGradient->SetActive(value != bdsClassic);
}

void TOrvoButton::SetFine(bool value)
{
    if (FFine == value)
        return;
    FFine = value;
    update();
}

void TOrvoButton::SetFlat(bool value)
{
    if (FFlat == value)
        return;
    FFlat = value;
    update();
}

void TOrvoButton::SetGradient(const TOrvoGradientButton* value)
{
    FGradient->Assign(value);
    update();
}

bool TOrvoButton::NeedsOwnerDraw() const
{
    return !(FApplyTheme && ThemesEnabled(this));
}

void TOrvoButton::RecreateLook()
{
    FOwnerDrawn = NeedsOwnerDraw();
    update();
}

void TOrvoButton::GradientChanged()
{
    if (NeedsOwnerDraw() == FOwnerDrawn)
        update();
    else
        RecreateLook();
}

void TOrvoButton::SetMouseIn(bool value)
{
    if (FMouseIn == value)
        return;
    FMouseIn = value;
    if (FGradient->IsHotActive(!FApplyTheme))
        update();
}

void TOrvoButton::enterEvent(QEnterEvent* event)
{
    TExceptionHandler::Guard([this, event] {
        QPushButton::enterEvent(event);
        if (OnMouseEnter)
            OnMouseEnter(this);
        SetMouseIn(true);
    });
}

void TOrvoButton::leaveEvent(QEvent* event)
{
    TExceptionHandler::Guard([this, event] {
        QPushButton::leaveEvent(event);
        if (OnMouseLeave)
            OnMouseLeave(this);
        SetMouseIn(false);
    });
}

void TOrvoButton::changeEvent(QEvent* event)
{
    TExceptionHandler::Guard([this, event] {
        QPushButton::changeEvent(event);
        // The style may have changed the look, and themes may have been switched.
        if (event->type() == QEvent::StyleChange || event->type() == QEvent::PaletteChange)
            FOwnerDrawn = NeedsOwnerDraw();
        if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange)
            update();
    });
}

void TOrvoButton::paintEvent(QPaintEvent* event)
{
    TExceptionHandler::Guard([this, event] {
        if (!FOwnerDrawn) {
            QPushButton::paintEvent(event);
            return;
        }
        // Composed in an image because the gradient is laid under a face that has to
        // be read back.
        QImage face = faceImage(this);
        {
            TCanvas canvas(&face, palette());
            canvas.Font().SetQFont(font());
            canvas.Font().SetColor(clBtnText);
            canvas.SetRightToLeft(layoutDirection() == Qt::RightToLeft);
            DrawButton(canvas);
        }
        QPainter painter(this);
        painter.drawImage(0, 0, face);
    });
}

void TOrvoButton::DrawButton(TCanvas& canvas)
{
    const bool hot = FMouseIn && isEnabled();
    const bool focused = hasFocus();
    const bool defaultLook = isDefault();
    const bool framed = defaultLook || focused;
    const bool down = isDown() || isChecked();
    QRect area = rect();
    if (framed) {
        canvas.Pen().SetColor(clWindowFrame);
        canvas.Pen().SetWidth(1);
        canvas.Brush().SetStyle(bsClear);
        canvas.Rectangle(area);
        area.adjust(1, 1, -1, -1);
    }
    if (down) {
        canvas.Pen().SetColor(clBtnShadow);
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(clBtnFace);
        canvas.Rectangle(area);
    } else {
        DrawClassicButtonFace(canvas, area, false);
    }
    if (FGradient->IsActive(!FApplyTheme))
        PaintGradientFace(canvas, framed, hot, down);

    const bool themed = ThemesEnabled(this);
    const int frameInset = framed ? 1 : 0;
    QRect captionRect = rect().adjusted(frameInset + 2, frameInset + 2, -frameInset - 2, -frameInset - 2);
    canvas.IntersectClipRect(captionRect);
    if (down && !themed)
        captionRect.translate(1, 1);
    DrawCaption(canvas, captionRect);
    canvas.SelectClipRgn(nullptr);

    if (defaultLook && focused) {
        const int inset = themed ? 2 : 4;
        canvas.Font().SetColor(clWindowFrame);
        canvas.Brush().SetColor(clBtnFace);
        canvas.DrawFocusRect(rect().adjusted(inset, inset, -inset, -inset));
    }
}

void TOrvoButton::PaintGradientFace(TCanvas& canvas, bool framed, bool hot, bool down)
{
    const QRect client = rect();
    const int frame = framed ? 1 : 0;
    if (FFine && FFlat) {
        QRect edge = client.adjusted(frame, frame, -frame, -frame);
        DrawEdge(canvas, edge, down ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
    if (FFine)
        FGradient->PaintButton(canvas, client, clBtnFace, frame + 1, 1, hot, down, false);
    else if (FFlat)
        FGradient->PaintButton(canvas, client, clBtnFace, frame, 2, hot, down, false);
    else
        FGradient->PaintButton(canvas, client, clBtnFace, 2 + (framed && !down ? 1 : 0),
                               framed && down ? 1 : 0, hot, down, !down);
}

void TOrvoButton::DrawCaption(TCanvas& canvas, const QRect& rect)
{
    const QString caption = text();
    if (caption.isEmpty())
        return;
    const unsigned flags =
        DT_CENTER | DT_VCENTER | DT_SINGLELINE | (canvas.RightToLeft() ? DT_RTLREADING : 0);
    // Measured first and centred by hand, so that the text sits in the same place
    // whatever the font's ascent and descent.
    QRect measured(rect.left(), rect.top(), rect.width(), 0);
    DrawText(canvas, caption, measured, flags | DT_CALCRECT);
    const int top = (rect.top() + rect.bottom()) / 2 - measured.height() / 2;
    const int left = (rect.left() + rect.right() + 1 - measured.width()) / 2;
    const QRect block(left, top, measured.width(), measured.height());
    canvas.Brush().SetStyle(bsClear);
    if (isEnabled()) {
        QRect target = block;
        DrawText(canvas, caption, target, flags);
    } else {
        DrawEmbossedText(canvas, caption, block, flags);
    }
}

} // namespace orvo
