#include "grid/painting/tthemedbitmap.h"

#include "platform/graphics/tcanvas.h"

#include <QPainter>

namespace orvo {

TThemedBitmap::TThemedBitmap(const TThemedElementDetails& details, const QSize& size)
    : FDetails(details), FSize(size)
{}

QImage TThemedBitmap::DrawableImage() const
{
    QImage image(FSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    TCanvas canvas(&painter, QPalette());
    ThemeServices().DrawElement(canvas, FDetails, QRect(QPoint(0, 0), FSize));
    return image;
}

void TThemedBitmap::Draw(TCanvas& canvas, const QPoint& topLeft, const QWidget* widget) const
{
    ThemeServices().DrawElement(canvas, FDetails, QRect(topLeft, FSize), QRect(), widget);
}

} // namespace orvo
