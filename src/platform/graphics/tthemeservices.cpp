#include "platform/graphics/tthemeservices.h"

#include "platform/core/tsystemprofile.h"
#include "platform/graphics/drawtext.h"
#include "platform/graphics/tcanvas.h"
#include "platform/graphics/widgetstyle.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QWidget>

#include <algorithm>

namespace orvo {

namespace {

// The state within a group of four: normal, hot, pressed, disabled.
enum TElementState
{
    esNormal,
    esHot,
    esPressed,
    esDisabled
};

QStyle::State styleState(TElementState state)
{
    switch (state) {
    case esNormal:
        return QStyle::State_Enabled | QStyle::State_Active | QStyle::State_Raised;
    case esHot:
        return QStyle::State_Enabled | QStyle::State_Active | QStyle::State_MouseOver | QStyle::State_Raised;
    case esPressed:
        return QStyle::State_Enabled | QStyle::State_Active | QStyle::State_Sunken;
    case esDisabled:
        return QStyle::State_None;
    }
    return QStyle::State_None;
}

TElementState stateOf(int part)
{
    return TElementState(part % 4);
}

struct TDrawContext
{
    QStyle* Style;
    QPainter* Painter;
    const QWidget* Widget;
    QPalette Palette;
    Qt::LayoutDirection Direction;
};

template <typename Option> Option makeOption(const TDrawContext& c, const QRect& rect, QStyle::State state)
{
    Option option;
    if (c.Widget)
        option.initFrom(c.Widget);
    option.rect = rect;
    option.palette = c.Palette;
    option.direction = c.Direction;
    option.state = state;
    return option;
}

void drawButtonElement(const TDrawContext& c, int part, const QRect& rect)
{
    if (part <= tbPushButtonDefaulted) {
        const TElementState state = part == tbPushButtonDefaulted ? esNormal : TElementState(part);
        auto option = makeOption<QStyleOptionButton>(c, rect, styleState(state));
        if (part == tbPushButtonDefaulted)
            option.features |= QStyleOptionButton::DefaultButton;
        c.Style->drawControl(QStyle::CE_PushButtonBevel, &option, c.Painter, c.Widget);
        return;
    }
    if (part >= tbGroupBoxNormal) {
        auto option = makeOption<QStyleOptionFrame>(
            c, rect, styleState(part == tbGroupBoxDisabled ? esDisabled : esNormal));
        option.lineWidth = 1;
        c.Style->drawPrimitive(QStyle::PE_FrameGroupBox, &option, c.Painter, c.Widget);
        return;
    }
    const bool radio = part < tbCheckBoxUncheckedNormal;
    const int index = part - (radio ? tbRadioButtonUncheckedNormal : tbCheckBoxUncheckedNormal);
    auto option = makeOption<QStyleOptionButton>(c, rect, styleState(stateOf(index)));
    const int check = index / 4;
    option.state |= check == 0 ? QStyle::State_Off : (check == 1 ? QStyle::State_On : QStyle::State_NoChange);
    c.Style->drawPrimitive(radio ? QStyle::PE_IndicatorRadioButton : QStyle::PE_IndicatorCheckBox, &option,
                           c.Painter, c.Widget);
}

void drawHeaderElement(const TDrawContext& c, int part, const QRect& rect)
{
    auto option = makeOption<QStyleOptionHeader>(c, rect, styleState(TElementState(part)));
    option.orientation = Qt::Horizontal;
    option.position = QStyleOptionHeader::Middle;
    c.Style->drawControl(QStyle::CE_HeaderSection, &option, c.Painter, c.Widget);
}

void drawArrowButton(const TDrawContext& c, const QRect& rect, TElementState state,
                     QStyle::PrimitiveElement arrow)
{
    auto option = makeOption<QStyleOption>(c, rect, styleState(state));
    c.Style->drawPrimitive(QStyle::PE_PanelButtonBevel, &option, c.Painter, c.Widget);
    const int inset = std::max(1, std::min(rect.width(), rect.height()) / 4);
    option.rect = rect.adjusted(inset, inset, -inset, -inset);
    if (state == esPressed)
        option.rect.translate(1, 1);
    c.Style->drawPrimitive(arrow, &option, c.Painter, c.Widget);
}

void drawScrollElement(const TDrawContext& c, int part, const QRect& rect)
{
    static const QStyle::PrimitiveElement arrows[] = {
        QStyle::PE_IndicatorArrowUp, QStyle::PE_IndicatorArrowDown, QStyle::PE_IndicatorArrowLeft,
        QStyle::PE_IndicatorArrowRight};
    drawArrowButton(c, rect, stateOf(part), arrows[part / 4]);
}

void drawSpinElement(const TDrawContext& c, int part, const QRect& rect)
{
    static const QStyle::PrimitiveElement arrows[] = {
        QStyle::PE_IndicatorArrowUp, QStyle::PE_IndicatorArrowDown, QStyle::PE_IndicatorArrowRight,
        QStyle::PE_IndicatorArrowLeft};
    drawArrowButton(c, rect, stateOf(part), arrows[part / 4]);
}

void drawTabElement(const TDrawContext& c, int part, const QRect& rect)
{
    QStyle::State state = styleState(part == ttTabItemSelected   ? esNormal
                                     : part == ttTabItemDisabled ? esDisabled
                                                                 : TElementState(part));
    if (part == ttTabItemSelected)
        state |= QStyle::State_Selected;
    auto option = makeOption<QStyleOptionTab>(c, rect, state);
    option.shape = QTabBar::RoundedNorth;
    option.position = QStyleOptionTab::Middle;
    c.Style->drawControl(QStyle::CE_TabBarTabShape, &option, c.Painter, c.Widget);
}

void drawToolBarElement(const TDrawContext& c, int part, const QRect& rect)
{
    const TElementState state = stateOf(part);
    auto option = makeOption<QStyleOption>(c, rect, styleState(state) | QStyle::State_AutoRaise);
    // A flat tool button shows a panel only while hot or pressed.
    if (state == esHot || state == esPressed)
        c.Style->drawPrimitive(QStyle::PE_PanelButtonTool, &option, c.Painter, c.Widget);
    if (part >= ttbSplitButtonNormal) {
        const int arrowWidth = std::max(5, rect.height() / 3);
        option.rect = QRect(rect.right() - arrowWidth, rect.y(), arrowWidth, rect.height());
        c.Style->drawPrimitive(QStyle::PE_IndicatorArrowDown, &option, c.Painter, c.Widget);
    }
}

void drawTreeviewElement(const TDrawContext& c, int part, const QRect& rect)
{
    QStyle::State state = styleState(esNormal) | QStyle::State_Children | QStyle::State_Item;
    if (part == ttGlyphOpened)
        state |= QStyle::State_Open;
    auto option = makeOption<QStyleOption>(c, rect, state);
    c.Style->drawPrimitive(QStyle::PE_IndicatorBranch, &option, c.Painter, c.Widget);
}

bool isButtonDisabled(int part)
{
    if (part <= tbPushButtonDefaulted)
        return part == tbPushButtonDisabled;
    if (part >= tbGroupBoxNormal)
        return part == tbGroupBoxDisabled;
    const int base =
        part < tbCheckBoxUncheckedNormal ? tbRadioButtonUncheckedNormal : tbCheckBoxUncheckedNormal;
    return stateOf(part - base) == esDisabled;
}

bool isDisabled(const TThemedElementDetails& details)
{
    switch (details.Element) {
    case teButton:
        return isButtonDisabled(details.Part);
    case teTab:
        return details.Part == ttTabItemDisabled;
    case teHeader:
    case teTreeview:
        return false;
    default:
        return stateOf(details.Part) == esDisabled;
    }
}

} // namespace

bool TThemeServices::ThemesEnabled() const
{
    return TSystemProfile::Current().ThemesEnabled();
}

bool TThemeServices::DrawElement(TCanvas& canvas, const TThemedElementDetails& details, const QRect& rect,
                                 const QRect& clipRect, const QWidget* widget) const
{
    QStyle* style = StyleFor(widget);
    QPainter* painter = canvas.Handle();
    if (!style || !painter || rect.isEmpty())
        return false;
    const TDrawContext context{style, painter, widget, widget ? widget->palette() : canvas.Palette(),
                               canvas.RightToLeft() ? Qt::RightToLeft : Qt::LeftToRight};
    painter->save();
    if (!clipRect.isNull())
        painter->setClipRect(clipRect, painter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    switch (details.Element) {
    case teButton:
        drawButtonElement(context, details.Part, rect);
        break;
    case teHeader:
        drawHeaderElement(context, details.Part, rect);
        break;
    case teScrollBar:
        drawScrollElement(context, details.Part, rect);
        break;
    case teSpin:
        drawSpinElement(context, details.Part, rect);
        break;
    case teTab:
        drawTabElement(context, details.Part, rect);
        break;
    case teToolBar:
        drawToolBarElement(context, details.Part, rect);
        break;
    case teTreeview:
        drawTreeviewElement(context, details.Part, rect);
        break;
    }
    painter->restore();
    return true;
}

void TThemeServices::DrawText(TCanvas& canvas, const TThemedElementDetails& details, const QString& text,
                              const QRect& rect, unsigned flags) const
{
    const TColor saved = canvas.Font().Color();
    canvas.Font().SetColor(isDisabled(details) ? clGrayText : clBtnText);
    QRect area = rect;
    orvo::DrawText(canvas, text, area, flags);
    canvas.Font().SetColor(saved);
}

bool TThemeServices::DrawParentBackground(const QWidget* control, TCanvas& canvas, const QRect& rect) const
{
    QPainter* painter = canvas.Handle();
    QWidget* parent = control ? control->parentWidget() : nullptr;
    if (!painter || !parent)
        return false;
    const QRect area = rect.isNull() ? control->rect() : rect;
    const QRect source = area.translated(control->mapTo(parent, QPoint(0, 0)));
    // Only the parent's own background and painting: its children, this control
    // among them, are left out, so the call cannot come back here.
    parent->render(painter, area.topLeft(), QRegion(source), QWidget::DrawWindowBackground);
    return true;
}

TThemeServices& ThemeServices()
{
    static TThemeServices service;
    return service;
}

} // namespace orvo
