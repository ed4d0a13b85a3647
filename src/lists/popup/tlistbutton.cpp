#include "lists/popup/tlistbutton.h"

#include "platform/core/texceptionhandler.h"
#include "platform/graphics/drawedge.h"
#include "platform/graphics/graphicsenums.h"
#include "platform/graphics/tcanvas.h"

#include <QPainter>

namespace orvo {

TListButton::TListButton(QWidget* parent) : QToolButton(parent)
{
    // A popup list never takes the focus from the editor that opened it.
    setFocusPolicy(Qt::NoFocus);
}

void TListButton::SetFlat(bool flat)
{
    if (flat == autoRaise())
        return;
    setAutoRaise(flat);
    update();
}

void TListButton::SetEdges(bool edges)
{
    if (edges == FEdges)
        return;
    FEdges = edges;
    update();
}

void TListButton::paintEvent(QPaintEvent* event)
{
    TExceptionHandler::Guard([this, event] {
        if (Flat() && FEdges) {
            // Its own scope: the tool button opens a painter of its own below.
            QPainter painter(this);
            TCanvas canvas(&painter, palette());
            QRect edge = rect();
            DrawEdge(canvas, edge, BDR_RAISEDINNER, BF_RECT);
        }
        QToolButton::paintEvent(event);
    });
}

} // namespace orvo
