#pragma once

#include <QList>
#include <QString>

class QObject;
class QRect;
class QWidget;

namespace orvo {

class TCanvas;

/// Whether `child` shows its parent's background and must repaint when the parent
/// repaints: a control that IsTransparentChildProc accepts, or a group box that
/// paints only part of its background and lets the parent show around it.
bool RepaintsWithParent(const QObject* child);
/// The direct child widgets of `parent` for which RepaintsWithParent holds.
QList<QWidget*> ChildrenRepaintingWithParent(const QWidget* parent);

/// The classic raised (or, pressed, sunken) button face: soft 3-D edges around a flat
/// face colour. Flat on purpose, so that a gradient can be laid under it by treating
/// the face colour as transparent.
void DrawClassicButtonFace(TCanvas& canvas, const QRect& rect, bool down);

/// Text in the embossed look of a disabled control: highlight one pixel down-right,
/// shadow on top.
void DrawEmbossedText(TCanvas& canvas, const QString& text, const QRect& rect, unsigned flags);

} // namespace orvo
