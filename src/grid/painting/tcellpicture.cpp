#include "grid/painting/tcellpicture.h"

#include "platform/graphics/tcanvas.h"

#include <QPainter>

namespace orvo {

TCellPicture::TCellPicture(const QImage& image)
{
    FBitmap.SetImage(image);
}

QSize TCellPicture::Size() const
{
    return QSize(FBitmap.Width(), FBitmap.Height());
}

QImage TCellPicture::DrawableImage() const
{
    return FBitmap.DrawableImage();
}

void TCellPicture::Draw(TCanvas& canvas, const QPoint& topLeft, const QWidget*) const
{
    if (QPainter* painter = canvas.Handle())
        painter->drawImage(topLeft, DrawableImage());
}

} // namespace orvo
