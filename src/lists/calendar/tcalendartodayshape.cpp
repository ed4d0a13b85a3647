#include "lists/calendar/tcalendartodayshape.h"

#include "platform/core/texceptionhandler.h"

#include <QPainter>

namespace orvo {

TCalendarTodayShape::TCalendarTodayShape(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    resize(kWidth, kHeight);
}

void TCalendarTodayShape::SetPenColor(TColor color)
{
    if (color == FPenColor)
        return;
    FPenColor = color;
    update();
}

void TCalendarTodayShape::paintEvent(QPaintEvent*)
{
    TExceptionHandler::Guard([&] {
        QPainter painter(this);
        painter.setPen(ToQColor(FPenColor, palette()));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(rect().adjusted(0, 0, -1, -1), 3, 3);
    });
}

} // namespace orvo
