#include "platform/graphics/tcanvas.h"

#include "platform/graphics/tbitmap.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QRegion>

#include <algorithm>
#include <cmath>

namespace orvo {

TCanvas::TCanvas() = default;

TCanvas::TCanvas(QPainter* painter, const QPalette& palette) : FPainter(painter), FPalette(palette)
{
    if (FPainter)
        FRightToLeft = FPainter->layoutDirection() == Qt::RightToLeft;
}

TCanvas::TCanvas(QPaintDevice* device, const QPalette& palette) : FPalette(palette)
{
    Attach(device);
}

TCanvas::~TCanvas() = default;

void TCanvas::Attach(QPaintDevice* device)
{
    Detach();
    if (!device)
        return;
    FOwnedPainter = std::make_unique<QPainter>(device);
    FPainter = FOwnedPainter.get();
    FPainter->setLayoutDirection(FRightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
}

void TCanvas::Detach()
{
    FOwnedPainter.reset();
    FPainter = nullptr;
}

void TCanvas::FillSolid(const QRect& rect, const QColor& color)
{
    if (CanDraw() && !rect.isEmpty())
        FPainter->fillRect(rect, color);
}

void TCanvas::LineTo(int x, int y)
{
    const QPoint from = FPenPos;
    FPenPos = QPoint(x, y);
    if (!CanDraw() || FPen.IsClear() || from == FPenPos)
        return;
    FPainter->save();
    FPainter->setRenderHint(QPainter::Antialiasing, false);
    QPen pen = FPen.ToQPen(FPalette);
    // A flat cap leaves the end point out, so that joined segments touch each pixel
    // once.
    pen.setCapStyle(Qt::FlatCap);
    FPainter->setPen(pen);
    FPainter->drawLine(from, FPenPos);
    FPainter->restore();
}

void TCanvas::FillRect(const QRect& rect)
{
    if (!CanDraw() || FBrush.IsClear() || rect.isEmpty())
        return;
    FPainter->fillRect(rect, FBrush.ToQBrush(FPalette));
}

void TCanvas::FrameRect(const QRect& rect)
{
    if (!CanDraw() || FBrush.IsClear() || rect.isEmpty())
        return;
    const QBrush brush = FBrush.ToQBrush(FPalette);
    const int l = rect.x(), t = rect.y(), w = rect.width(), h = rect.height();
    FPainter->fillRect(QRect(l, t, w, 1), brush);
    FPainter->fillRect(QRect(l, t + h - 1, w, 1), brush);
    FPainter->fillRect(QRect(l, t, 1, h), brush);
    FPainter->fillRect(QRect(l + w - 1, t, 1, h), brush);
}

void TCanvas::Rectangle(const QRect& rect)
{
    if (!CanDraw() || rect.isEmpty())
        return;
    FillRect(rect);
    if (FPen.IsClear())
        return;
    const QColor color = ToQColor(FPen.Color());
    if (FPen.Style() == psSolid || FPen.Style() == psInsideFrame) {
        // Solid outlines as strips, so that any width stays inside the rectangle.
        const int w = std::min({std::max(1, FPen.Width()), rect.width(), rect.height()});
        const int l = rect.x(), t = rect.y(), rw = rect.width(), rh = rect.height();
        FPainter->fillRect(QRect(l, t, rw, w), color);
        FPainter->fillRect(QRect(l, t + rh - w, rw, w), color);
        FPainter->fillRect(QRect(l, t, w, rh), color);
        FPainter->fillRect(QRect(l + rw - w, t, w, rh), color);
        return;
    }
    FPainter->save();
    FPainter->setRenderHint(QPainter::Antialiasing, false);
    FPainter->setBrush(Qt::NoBrush);
    QPen pen = FPen.ToQPen(FPalette);
    pen.setWidth(1);
    FPainter->setPen(pen);
    FPainter->drawRect(rect.adjusted(0, 0, -1, -1));
    FPainter->restore();
}

void TCanvas::RoundRect(const QRect& rect, int cornerWidth, int cornerHeight)
{
    if (!CanDraw() || rect.isEmpty())
        return;
    FPainter->save();
    FPainter->setRenderHint(QPainter::Antialiasing, true);
    FPainter->setBrush(FBrush.ToQBrush(FPalette));
    FPainter->setPen(FPen.ToQPen(FPalette));
    FPainter->drawRoundedRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5), cornerWidth / 2.0,
                              cornerHeight / 2.0);
    FPainter->restore();
}

void TCanvas::Ellipse(const QRect& rect)
{
    if (!CanDraw() || rect.isEmpty())
        return;
    FPainter->save();
    FPainter->setRenderHint(QPainter::Antialiasing, true);
    FPainter->setBrush(FBrush.ToQBrush(FPalette));
    FPainter->setPen(FPen.ToQPen(FPalette));
    FPainter->drawEllipse(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5));
    FPainter->restore();
}

void TCanvas::Polygon(const QList<QPoint>& points)
{
    if (!CanDraw() || points.size() < 2)
        return;
    FPainter->save();
    FPainter->setRenderHint(QPainter::Antialiasing, false);
    FPainter->setBrush(FBrush.ToQBrush(FPalette));
    FPainter->setPen(FPen.ToQPen(FPalette));
    FPainter->drawPolygon(points.constData(), int(points.size()));
    FPainter->restore();
}

void TCanvas::TextOut(int x, int y, const QString& text)
{
    const QSize extent = TextExtent(text);
    const QRect area(x, y, extent.width(), extent.height());
    FPenPos = QPoint(x + extent.width(), y);
    if (!CanDraw() || text.isEmpty())
        return;
    FillRect(area);
    FPainter->save();
    FPainter->setFont(FFont.ToQFont());
    FPainter->setPen(ToQColor(FFont.Color()));
    FPainter->setLayoutDirection(FRightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    FPainter->drawText(QPoint(x, y + QFontMetrics(FFont.ToQFont()).ascent()), text);
    FPainter->restore();
}

void TCanvas::TextRect(const QRect& rect, int x, int y, const QString& text)
{
    if (!CanDraw())
        return;
    FillRect(rect);
    if (text.isEmpty() || rect.isEmpty())
        return;
    FPainter->save();
    FPainter->setClipRect(rect, Qt::IntersectClip);
    FPainter->setFont(FFont.ToQFont());
    FPainter->setPen(ToQColor(FFont.Color()));
    FPainter->drawText(QPoint(x, y + QFontMetrics(FFont.ToQFont()).ascent()), text);
    FPainter->restore();
}

int TCanvas::TextWidth(const QString& text) const
{
    return QFontMetrics(FFont.ToQFont()).horizontalAdvance(text);
}

int TCanvas::TextHeight(const QString&) const
{
    return QFontMetrics(FFont.ToQFont()).height();
}

QSize TCanvas::TextExtent(const QString& text) const
{
    return QSize(TextWidth(text), TextHeight(text));
}

int TCanvas::AverageCharWidth() const
{
    return QFontMetrics(FFont.ToQFont()).averageCharWidth();
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap)
{
    if (!bitmap.Empty())
        Draw(x, y, bitmap.DrawableImage());
}

void TCanvas::Draw(int x, int y, const QImage& image)
{
    if (CanDraw() && !image.isNull())
        FPainter->drawImage(QPoint(x, y), image);
}

void TCanvas::StretchDraw(const QRect& rect, const TBitmap& bitmap)
{
    if (!bitmap.Empty())
        StretchDraw(rect, bitmap.DrawableImage());
}

void TCanvas::StretchDraw(const QRect& rect, const QImage& image)
{
    if (CanDraw() && !image.isNull() && !rect.isEmpty())
        FPainter->drawImage(rect, image);
}

void TCanvas::CopyRect(const QRect& dest, const TCanvas& source, const QRect& sourceRect)
{
    if (!CanDraw() || dest.isEmpty())
        return;
    const QImage pixels = source.CopyToImage(sourceRect);
    if (pixels.isNull())
        return;
    FPainter->save();
    FPainter->setCompositionMode(QPainter::CompositionMode_Source);
    FPainter->drawImage(dest, pixels);
    FPainter->restore();
}

void TCanvas::DrawFocusRect(const QRect& rect)
{
    if (!CanDraw() || rect.isEmpty())
        return;
    FPainter->save();
    FPainter->setRenderHint(QPainter::Antialiasing, false);
    FPainter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    const QColor white(Qt::white);
    // Every other pixel along the frame, the phase running on around the corners.
    const int l = rect.x(), t = rect.y(), r = l + rect.width() - 1, b = t + rect.height() - 1;
    auto dot = [&](int x, int y) {
        if (((x + y) & 1) == 0)
            FPainter->fillRect(QRect(x, y, 1, 1), white);
    };
    for (int x = l; x <= r; ++x) {
        dot(x, t);
        if (b != t)
            dot(x, b);
    }
    for (int y = t + 1; y < b; ++y) {
        dot(l, y);
        if (r != l)
            dot(r, y);
    }
    FPainter->restore();
}

QRect TCanvas::DeviceRect() const
{
    if (!CanDraw() || !FPainter->device())
        return QRect();
    const QPaintDevice* device = FPainter->device();
    // Images and pixmaps report device pixels; painting coordinates are logical.
    const int type = device->devType();
    const qreal ratio =
        type == QInternal::Image || type == QInternal::Pixmap ? device->devicePixelRatio() : 1.0;
    return QRect(0, 0, int(device->width() / ratio), int(device->height() / ratio));
}

QRect TCanvas::ClipRect() const
{
    if (!CanDraw())
        return QRect();
    const QRect device = DeviceRect();
    if (!FPainter->hasClipping())
        return device;
    return FPainter->clipBoundingRect().toAlignedRect().intersected(device);
}

void TCanvas::SelectClipRgn(const QRegion* region)
{
    if (!CanDraw())
        return;
    if (!region) {
        FPainter->setClipping(false);
        return;
    }
    FPainter->setClipRegion(*region, Qt::ReplaceClip);
}

void TCanvas::IntersectClipRect(const QRect& rect)
{
    if (!CanDraw())
        return;
    // Intersecting with no clip set means intersecting with the whole device.
    if (!FPainter->hasClipping())
        FPainter->setClipRect(rect, Qt::ReplaceClip);
    else
        FPainter->setClipRect(rect, Qt::IntersectClip);
}

void TCanvas::ExcludeClipRect(const QRect& rect)
{
    if (!CanDraw())
        return;
    const QRegion current = FPainter->hasClipping() ? FPainter->clipRegion() : QRegion(DeviceRect());
    FPainter->setClipRegion(current.subtracted(QRegion(rect)), Qt::ReplaceClip);
}

bool TCanvas::IsReadable() const
{
    if (!CanDraw() || !FPainter->device())
        return false;
    const int type = FPainter->device()->devType();
    return type == QInternal::Image || type == QInternal::Pixmap;
}

QImage TCanvas::CopyToImage(const QRect& rect) const
{
    if (!IsReadable() || rect.isEmpty())
        return QImage();
    QPaintDevice* device = FPainter->device();
    const qreal ratio = device->devicePixelRatio();
    const QRect physical(int(std::lround(rect.x() * ratio)), int(std::lround(rect.y() * ratio)),
                         int(std::lround(rect.width() * ratio)), int(std::lround(rect.height() * ratio)));
    QImage copy;
    if (device->devType() == QInternal::Image)
        copy = static_cast<QImage*>(device)->copy(physical);
    else
        copy = static_cast<QPixmap*>(device)->copy(physical).toImage();
    copy.setDevicePixelRatio(ratio);
    return copy;
}

TColor TCanvas::Pixels(int x, int y) const
{
    const QImage pixel = CopyToImage(QRect(x, y, 1, 1));
    if (pixel.isNull() || !QRect(QPoint(0, 0), DeviceRect().size()).contains(x, y))
        return clNone;
    return FromQColor(pixel.pixelColor(0, 0));
}

void TCanvas::SetPixels(int x, int y, TColor color)
{
    if (!CanDraw() || color == clNone)
        return;
    FPainter->save();
    FPainter->setCompositionMode(QPainter::CompositionMode_Source);
    FPainter->fillRect(QRect(x, y, 1, 1), ToQColor(color));
    FPainter->restore();
}

bool TCanvas::RightToLeft() const
{
    return FRightToLeft;
}

void TCanvas::SetRightToLeft(bool value)
{
    FRightToLeft = value;
    if (FPainter)
        FPainter->setLayoutDirection(value ? Qt::RightToLeft : Qt::LeftToRight);
}

TColor TCanvas::ColorToRGB(TColor color) const
{
    return orvo::ColorToRGB(color, FPalette);
}

QColor TCanvas::ToQColor(TColor color) const
{
    return orvo::ToQColor(color, FPalette);
}

} // namespace orvo
