#include "platform/graphics/tpen.h"

#include <QPalette>
#include <QPen>

#include <algorithm>

namespace orvo {

namespace {

Qt::PenStyle qtPenStyle(TPenStyle style)
{
    switch (style) {
    case psSolid:
    case psInsideFrame:
        return Qt::SolidLine;
    case psDash:
        return Qt::DashLine;
    case psDot:
        return Qt::DotLine;
    case psDashDot:
        return Qt::DashDotLine;
    case psDashDotDot:
        return Qt::DashDotDotLine;
    case psClear:
        return Qt::NoPen;
    }
    return Qt::SolidLine;
}

} // namespace

QPen TPen::ToQPen(const QPalette& palette) const
{
    if (IsClear())
        return QPen(Qt::NoPen);
    QPen pen(ToQColor(FColor, palette));
    pen.setWidth(std::max(1, FWidth));
    pen.setStyle(qtPenStyle(FStyle));
    // Square ends and mitred joins keep one-pixel lines on whole pixels, as a
    // pixel-exact drawing surface expects.
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

} // namespace orvo
