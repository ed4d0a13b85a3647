#pragma once

#include "platform/graphics/tbitmap.h"

#include <QObject>

class QWidget;

namespace orvo {

class TCanvas;

/// A picture a data cell shows, handed to OnPaintColumnCell so that a handler can
/// look at it, draw on its bitmap or replace it: a check-box or expand-box glyph, an
/// image of the column's list or the picture of a graphic field.
class TCellPicture : public QObject
{
    Q_OBJECT

public:
    TCellPicture() = default;
    /// A picture holding `image` as it is.
    explicit TCellPicture(const QImage& image);

    TBitmap& Bitmap() { return FBitmap; }
    const TBitmap& Bitmap() const { return FBitmap; }
    /// The size the picture is laid out with.
    virtual QSize Size() const;
    /// The pixels to draw, with transparency applied.
    virtual QImage DrawableImage() const;
    /// Draws the picture at its own size with its top left at `topLeft`; `widget` lends
    /// its style to pictures drawn by the theme.
    virtual void Draw(TCanvas& canvas, const QPoint& topLeft, const QWidget* widget) const;

private:
    TBitmap FBitmap;
};

} // namespace orvo
