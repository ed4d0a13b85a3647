#include "platform/graphics/drawedge.h"

#include "platform/core/tcolor.h"
#include "platform/graphics/graphicsenums.h"
#include "platform/graphics/tcanvas.h"

#include <QPainter>
#include <QRect>

namespace orvo {

namespace {

// The two colours of one edge line: top-left and bottom-right.
struct TEdgeColors
{
    TColor TopLeft = clNone;
    TColor BottomRight = clNone;
};

TEdgeColors outerColors(unsigned edge, unsigned flags)
{
    const bool raised = edge & BDR_RAISEDOUTER;
    const bool sunken = edge & BDR_SUNKENOUTER;
    if (!raised && !sunken)
        return {};
    if (flags & BF_MONO)
        return {clWindowFrame, clWindowFrame};
    if (flags & BF_FLAT)
        return {clBtnShadow, clBtnShadow};
    if (raised)
        return {(flags & BF_SOFT) ? clBtnHighlight : cl3DLight, cl3DDkShadow};
    return {(flags & BF_SOFT) ? cl3DDkShadow : clBtnShadow, clBtnHighlight};
}

TEdgeColors innerColors(unsigned edge, unsigned flags)
{
    const bool raised = edge & BDR_RAISEDINNER;
    const bool sunken = edge & BDR_SUNKENINNER;
    if (!raised && !sunken)
        return {};
    if (flags & BF_MONO)
        return {clWindow, clWindow};
    if (flags & BF_FLAT)
        return {clBtnFace, clBtnFace};
    if (raised)
        return {(flags & BF_SOFT) ? cl3DLight : clBtnHighlight, clBtnShadow};
    return {(flags & BF_SOFT) ? clBtnShadow : cl3DDkShadow, cl3DLight};
}

// One ring of the edge. The bottom-right lines run the full length and are drawn
// last, so they own the bottom-left and top-right corner pixels.
void drawRing(TCanvas& canvas, QRect& rect, const TEdgeColors& colors, unsigned flags)
{
    if (colors.TopLeft == clNone || rect.isEmpty())
        return;
    QPainter* painter = canvas.Handle();
    const QColor topLeft = canvas.ToQColor(colors.TopLeft);
    const QColor bottomRight = canvas.ToQColor(colors.BottomRight);
    const int l = rect.x(), t = rect.y(), w = rect.width(), h = rect.height();
    if (flags & BF_TOP)
        painter->fillRect(QRect(l, t, w - 1, 1), topLeft);
    if (flags & BF_LEFT)
        painter->fillRect(QRect(l, t, 1, h - 1), topLeft);
    if (flags & BF_BOTTOM)
        painter->fillRect(QRect(l, t + h - 1, w, 1), bottomRight);
    if (flags & BF_RIGHT)
        painter->fillRect(QRect(l + w - 1, t, 1, h), bottomRight);
    rect.adjust((flags & BF_LEFT) ? 1 : 0, (flags & BF_TOP) ? 1 : 0, (flags & BF_RIGHT) ? -1 : 0,
                (flags & BF_BOTTOM) ? -1 : 0);
}

} // namespace

bool DrawEdge(TCanvas& canvas, QRect& rect, unsigned edge, unsigned flags)
{
    if (!canvas.Handle())
        return false;
    QRect inner = rect;
    drawRing(canvas, inner, outerColors(edge, flags), flags);
    drawRing(canvas, inner, innerColors(edge, flags), flags);
    if ((flags & BF_MIDDLE) && !inner.isEmpty()) {
        const TColor face = (flags & (BF_MONO | BF_FLAT)) ? clWindow : clBtnFace;
        canvas.Handle()->fillRect(inner, canvas.ToQColor(face));
    }
    if (flags & BF_ADJUST)
        rect = inner;
    return true;
}

} // namespace orvo
