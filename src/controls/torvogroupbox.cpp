#include "controls/torvogroupbox.h"

#include "controls/controlpainting.h"
#include "controls/systemprobes.h"
#include "controls/torvocheckbox.h"
#include "controls/torvogradientbackground.h"
#include "controls/torvogroupcheckbox.h"
#include "platform/core/texceptionhandler.h"
#include "platform/graphics/drawtext.h"
#include "platform/graphics/graphicsenums.h"
#include "platform/graphics/tcanvas.h"
#include "platform/graphics/tthemeservices.h"

#include <QEvent>
#include <QPainter>

namespace orvo {

TOrvoGroupBox::TOrvoGroupBox(QWidget* parent) : TOrvoGroupBox(QString(), parent) {}

TOrvoGroupBox::TOrvoGroupBox(const QString& title, QWidget* parent) : QGroupBox(title, parent)
{
    FGradient = CreateGradient();
    FGradient->OnChange = [this](TOrvoGradient*) { Invalidate(); };
    FCheckBox = CreateCheckBox();
    setAutoFillBackground(false);
}

TOrvoGroupBox::~TOrvoGroupBox()
{
    delete FCheckBox;
    delete FGradient;
}

TOrvoGradientBackground* TOrvoGroupBox::CreateGradient()
{
    return new TOrvoGradientBackground(this);
}

TOrvoGroupCheckBox* TOrvoGroupBox::CreateCheckBox()
{
    return new TOrvoGroupCheckBox(this);
}

void TOrvoGroupBox::SetCheckBox(const TOrvoGroupCheckBox* value)
{
    FCheckBox->Assign(value);
}

void TOrvoGroupBox::SetGradient(const TOrvoGradientBackground* value)
{
    FGradient->Assign(value);
    Invalidate();
}

void TOrvoGroupBox::SetParentBackground(bool value)
{
    if (FParentBackground == value)
        return;
    FParentBackground = value;
    Invalidate();
}

void TOrvoGroupBox::SetPartialBackground(bool value)
{
    if (FPartialBackground == value)
        return;
    FPartialBackground = value;
    Invalidate();
}

void TOrvoGroupBox::Invalidate()
{
    update();
    for (QWidget* child : ChildrenRepaintingWithParent(this))
        child->update();
}

void TOrvoGroupBox::Loaded()
{
    if (FLoaded)
        return;
    FLoaded = true;
    FCheckBox->UpdateAction();
}

void TOrvoGroupBox::CheckBoxChanged()
{
    if (OnCheckBoxChanged)
        OnCheckBoxChanged(this);
}

void TOrvoGroupBox::showEvent(QShowEvent* event)
{
    TExceptionHandler::Guard([this, event] {
        QGroupBox::showEvent(event);
        Loaded();
    });
}

void TOrvoGroupBox::resizeEvent(QResizeEvent* event)
{
    TExceptionHandler::Guard([this, event] {
        QGroupBox::resizeEvent(event);
        // Right-to-left, the check box keeps its distance from the right edge.
        FCheckBox->PlaceCheckBox();
    });
}

void TOrvoGroupBox::changeEvent(QEvent* event)
{
    TExceptionHandler::Guard([this, event] {
        QGroupBox::changeEvent(event);
        switch (event->type()) {
        case QEvent::FontChange:
        case QEvent::LayoutDirectionChange:
        case QEvent::StyleChange:
        case QEvent::ContentsRectChange:
            FCheckBox->PlaceCheckBox();
            break;
        default:
            break;
        }
    });
}

void TOrvoGroupBox::paintEvent(QPaintEvent*)
{
    TExceptionHandler::Guard([this] {
        QPainter painter(this);
        TCanvas canvas(&painter, palette());
        canvas.Font().SetQFont(font());
        canvas.Font().SetColor(isEnabled() ? clBtnText : clGrayText);
        canvas.SetRightToLeft(layoutDirection() == Qt::RightToLeft);
        PaintBackground(canvas);
        PaintFrameAndCaption(canvas);
    });
}

int TOrvoGroupBox::CheckBoxWidth() const
{
    return FCheckBox->Control() ? FCheckBox->Control()->width() : 0;
}

void TOrvoGroupBox::PaintBackground(TCanvas& canvas)
{
    if (FParentBackground)
        return;
    if (!FGradient->IsActive(true) && !FPartialBackground) {
        canvas.Handle()->fillRect(rect(), palette().brush(backgroundRole()));
        return;
    }
    QRect area = rect();
    if (FPartialBackground) {
        // Around the caption and outside the frame the parent shows, as it does
        // around a plain group box.
        const bool themed = ThemesEnabled(this);
        const int middle = themed ? (title().isEmpty() ? 0 : canvas.TextHeight(title()) / 2)
                                  : canvas.TextHeight(QStringLiteral("0")) / 2 - 1;
        area.setTop(middle);
        const int inset = themed ? 1 : 2;
        area.adjust(inset, inset, -inset, -inset);
    }
    if (!FPartialBackground || FGradient->IsActive(true))
        FGradient->PaintRect(canvas, area, FromQColor(palette().color(backgroundRole())), false, false);
    else
        canvas.Handle()->fillRect(area, palette().brush(backgroundRole()));
}

QRect TOrvoGroupBox::CaptionBlock(TCanvas& canvas) const
{
    const int checkWidth = CheckBoxWidth();
    QSize size;
    if (!title().isEmpty()) {
        QRect measured(0, 0, width(), 0);
        DrawText(canvas, title(), measured, DT_SINGLELINE | DT_CALCRECT);
        size = QSize(measured.width() + checkWidth, measured.height());
    } else if (checkWidth > 0) {
        size = QSize(checkWidth, canvas.TextHeight(QStringLiteral("0")));
    }
    if (size.isEmpty())
        return QRect();
    const int left = canvas.RightToLeft() ? width() - size.width() - CaptionIndent : CaptionIndent;
    return QRect(QPoint(left, 0), size);
}

void TOrvoGroupBox::PaintFrameAndCaption(TCanvas& canvas)
{
    const QRect block = CaptionBlock(canvas);
    const bool themed = ThemesEnabled(this);
    QRect frame = rect();
    frame.setTop(themed ? block.height() / 2 : canvas.TextHeight(QStringLiteral("0")) / 2 - 1);
    if (!block.isEmpty())
        canvas.ExcludeClipRect(block);
    if (themed) {
        ThemeServices().DrawElement(
            canvas, TThemeServices::GetElementDetails(isEnabled() ? tbGroupBoxNormal : tbGroupBoxDisabled),
            frame, QRect(), this);
    } else {
        canvas.Brush().SetColor(clBtnHighlight);
        canvas.FrameRect(frame.adjusted(1, 1, 0, 0));
        canvas.Brush().SetColor(clBtnShadow);
        canvas.FrameRect(frame.adjusted(0, 0, -1, -1));
    }
    canvas.SelectClipRgn(nullptr);
    if (title().isEmpty())
        return;
    const int checkWidth = CheckBoxWidth();
    QRect text =
        canvas.RightToLeft() ? block.adjusted(0, 0, -checkWidth, 0) : block.adjusted(checkWidth, 0, 0, 0);
    const unsigned flags = DT_SINGLELINE | (canvas.RightToLeft() ? DT_RTLREADING | DT_RIGHT : DT_LEFT);
    canvas.Brush().SetStyle(bsClear);
    if (themed)
        ThemeServices().DrawText(
            canvas, TThemeServices::GetElementDetails(isEnabled() ? tbGroupBoxNormal : tbGroupBoxDisabled),
            title(), text, flags);
    else
        DrawText(canvas, title(), text, flags);
}

} // namespace orvo
