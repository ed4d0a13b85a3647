#include "controls/gradientfill.h"

#include "platform/graphics/tcanvas.h"

#include <QLinearGradient>
#include <QPainter>

namespace orvo {

namespace {

bool& gradientsEnabledFlag()
{
    static bool enabled = true;
    return enabled;
}

} // namespace

bool GradientsEnabled()
{
    return gradientsEnabledFlag();
}

void SetGradientsEnabled(bool value)
{
    gradientsEnabledFlag() = value;
}

void GradientFillRect(TCanvas& canvas, TColor color1, TColor color2, TOrvoGradientDirection direction,
                      const QRect& rect)
{
    QPainter* painter = canvas.Handle();
    if (!painter || rect.isEmpty())
        return;
    const QColor first = canvas.ToQColor(color1);
    const QColor last = canvas.ToQColor(color2);
    const bool horizontal = direction == gdHorizontal;
    const int length = horizontal ? rect.width() : rect.height();
    if (length == 1) {
        painter->fillRect(rect, first);
        return;
    }
    // The gradient runs between the centres of the first and the last pixel, so that
    // those two carry the end colours exactly.
    const QPointF start = QRectF(rect).topLeft() + QPointF(0.5, 0.5);
    const QPointF end = horizontal ? QPointF(rect.x() + rect.width() - 0.5, start.y())
                                   : QPointF(start.x(), rect.y() + rect.height() - 0.5);
    QLinearGradient gradient(start, end);
    gradient.setColorAt(0, first);
    gradient.setColorAt(1, last);
    painter->fillRect(rect, gradient);
}

} // namespace orvo
