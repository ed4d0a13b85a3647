#include "platform/graphics/drawframecontrol.h"

#include "platform/graphics/graphicsenums.h"
#include "platform/graphics/tcanvas.h"
#include "platform/graphics/widgetstyle.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>

#include <algorithm>

namespace orvo {

namespace {

QStyle::State styleState(unsigned state)
{
    QStyle::State result;
    if (!(state & DFCS_INACTIVE))
        result |= QStyle::State_Enabled;
    if (state & DFCS_PUSHED)
        result |= QStyle::State_Sunken;
    else
        result |= QStyle::State_Raised;
    if (state & DFCS_HOT)
        result |= QStyle::State_MouseOver;
    if (state & DFCS_FLAT)
        result |= QStyle::State_AutoRaise;
    return result;
}

void initOption(QStyleOption& option, TCanvas& canvas, const QRect& rect, unsigned state,
                const QWidget* widget)
{
    if (widget)
        option.initFrom(widget);
    option.rect = rect;
    option.palette = widget ? widget->palette() : canvas.Palette();
    option.state = styleState(state);
    option.direction = canvas.RightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
}

void drawButton(QStyle* style, TCanvas& canvas, const QRect& rect, unsigned state, const QWidget* widget)
{
    QStyleOptionButton option;
    initOption(option, canvas, rect, state, widget);
    QPainter* painter = canvas.Handle();
    if (state & DFCS_BUTTONPUSH) {
        if (state & DFCS_CHECKED)
            option.state |= QStyle::State_On;
        style->drawPrimitive(QStyle::PE_PanelButtonCommand, &option, painter, widget);
        return;
    }
    const bool threeState = (state & DFCS_BUTTON3STATE) && (state & DFCS_CHECKED);
    option.state |=
        threeState ? QStyle::State_NoChange : ((state & DFCS_CHECKED) ? QStyle::State_On : QStyle::State_Off);
    const bool radio = (state & 0x1F) == DFCS_BUTTONRADIO;
    style->drawPrimitive(radio ? QStyle::PE_IndicatorRadioButton : QStyle::PE_IndicatorCheckBox, &option,
                         painter, widget);
}

QStyle::PrimitiveElement arrowFor(unsigned state)
{
    switch (state & 0x0F) {
    case DFCS_SCROLLUP:
        return QStyle::PE_IndicatorArrowUp;
    case DFCS_SCROLLLEFT:
        return QStyle::PE_IndicatorArrowLeft;
    case DFCS_SCROLLRIGHT:
        return QStyle::PE_IndicatorArrowRight;
    default:
        return QStyle::PE_IndicatorArrowDown;
    }
}

void drawScrollButton(QStyle* style, TCanvas& canvas, const QRect& rect, unsigned state,
                      const QWidget* widget)
{
    QStyleOption option;
    initOption(option, canvas, rect, state, widget);
    QPainter* painter = canvas.Handle();
    if (!(state & DFCS_FLAT))
        style->drawPrimitive(QStyle::PE_PanelButtonBevel, &option, painter, widget);
    else
        painter->fillRect(rect, option.palette.button());
    QStyleOption arrow = option;
    const int inset = std::max(2, std::min(rect.width(), rect.height()) / 4);
    arrow.rect = rect.adjusted(inset, inset, -inset, -inset);
    if (state & DFCS_PUSHED)
        arrow.rect.translate(1, 1);
    style->drawPrimitive(arrowFor(state), &arrow, painter, widget);
}

} // namespace

bool DrawFrameControl(TCanvas& canvas, const QRect& rect, unsigned kind, unsigned state,
                      const QWidget* widget)
{
    QStyle* style = StyleFor(widget);
    if (!style || !canvas.Handle() || rect.isEmpty())
        return false;
    switch (kind) {
    case DFC_BUTTON:
        drawButton(style, canvas, rect, state, widget);
        return true;
    case DFC_SCROLL:
        drawScrollButton(style, canvas, rect, state, widget);
        return true;
    default:
        return false;
    }
}

} // namespace orvo
