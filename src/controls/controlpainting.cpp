#include "controls/controlpainting.h"

#include "controls/systemprobes.h"
#include "platform/graphics/drawedge.h"
#include "platform/graphics/drawtext.h"
#include "platform/graphics/graphicsenums.h"
#include "platform/graphics/tcanvas.h"

#include <QWidget>

namespace orvo {

namespace {

// A group box with a partial background leaves a strip of its parent visible
// above its frame, so it changes look whenever the parent does.
bool isPartialGroupBox(const QObject* child)
{
    return PublishedBoolean(child, "PartialBackground").value_or(false) &&
           !PublishedBoolean(child, "ParentBackground").value_or(false);
}

} // namespace

bool RepaintsWithParent(const QObject* child)
{
    return child && (isPartialGroupBox(child) || IsTransparentChildProc()(child));
}

QList<QWidget*> ChildrenRepaintingWithParent(const QWidget* parent)
{
    QList<QWidget*> result;
    for (QWidget* child : parent->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (RepaintsWithParent(child))
            result.append(child);
    }
    return result;
}

void DrawClassicButtonFace(TCanvas& canvas, const QRect& rect, bool down)
{
    QRect face = rect;
    DrawEdge(canvas, face, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_SOFT | BF_MIDDLE);
}

void DrawEmbossedText(TCanvas& canvas, const QString& text, const QRect& rect, unsigned flags)
{
    const TColor saved = canvas.Font().Color();
    QRect area = rect.translated(1, 1);
    canvas.Font().SetColor(clBtnHighlight);
    DrawText(canvas, text, area, flags);
    area = rect;
    canvas.Font().SetColor(clBtnShadow);
    DrawText(canvas, text, area, flags);
    canvas.Font().SetColor(saved);
}

} // namespace orvo
