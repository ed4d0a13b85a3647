#include "platform/graphics/tbitmap.h"

#include "platform/core/exceptions.h"
#include "platform/graphics/tcanvas.h"
#include "platform/graphics/tglyphstrips.h"

#include <QPainter>

#include <cmath>

namespace orvo {

namespace {

constexpr QImage::Format kOpaqueFormat = QImage::Format_RGB32;

} // namespace

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height)
{
    SetSize(width, height);
}

TBitmap::~TBitmap() = default;

int TBitmap::Width() const
{
    return FImage.isNull() ? 0 : int(std::lround(FImage.width() / FImage.devicePixelRatio()));
}

int TBitmap::Height() const
{
    return FImage.isNull() ? 0 : int(std::lround(FImage.height() / FImage.devicePixelRatio()));
}

void TBitmap::ReleaseCanvasDevice()
{
    // A painter must not stay open on an image that is being replaced.
    if (FCanvas)
        FCanvas->Detach();
}

void TBitmap::SetSize(int width, int height)
{
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == Width() && height == Height())
        return;
    ReleaseCanvasDevice();
    if (width == 0 || height == 0) {
        FImage = QImage();
        return;
    }
    const qreal ratio = DevicePixelRatio();
    QImage resized(int(std::lround(width * ratio)), int(std::lround(height * ratio)), kOpaqueFormat);
    resized.setDevicePixelRatio(ratio);
    resized.fill(Qt::white);
    if (!FImage.isNull()) {
        QPainter painter(&resized);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPoint(0, 0), FImage);
    }
    FImage = resized;
    if (FCanvas)
        FCanvas->Attach(&FImage);
}

TCanvas& TBitmap::Canvas()
{
    if (!FCanvas) {
        FCanvas = std::make_unique<TCanvas>();
        if (!FImage.isNull())
            FCanvas->Attach(&FImage);
    } else if (!FCanvas->HandleAllocated() && !FImage.isNull()) {
        FCanvas->Attach(&FImage);
    }
    return *FCanvas;
}

TColor TBitmap::TransparentColor() const
{
    if (FTransparentMode == tmFixed && FTransparentColor != clDefault)
        return FTransparentColor;
    if (FImage.isNull())
        return clDefault;
    return FromQColor(FImage.pixelColor(0, FImage.height() - 1));
}

void TBitmap::SetTransparentColor(TColor value)
{
    FTransparentColor = value;
    FTransparentMode = value == clDefault ? tmAuto : tmFixed;
}

void TBitmap::LoadFromResourceName(const QString& name, qreal devicePixelRatio)
{
    const QImage strip = TGlyphStrips::Strip(name, devicePixelRatio);
    if (strip.isNull())
        throw EInvalidOperation(QStringLiteral("Resource %1 not found").arg(name));
    SetImage(strip);
}

void TBitmap::SetImage(const QImage& image)
{
    ReleaseCanvasDevice();
    FImage = image.isNull() ? QImage() : image.convertToFormat(kOpaqueFormat);
    if (!FImage.isNull())
        FImage.setDevicePixelRatio(image.devicePixelRatio());
    if (FCanvas && !FImage.isNull())
        FCanvas->Attach(&FImage);
}

QImage TBitmap::DrawableImage() const
{
    if (!FTransparent || FImage.isNull())
        return FImage;
    return MaskOutColor(FImage, TransparentColor());
}

void TBitmap::Assign(const TBitmap& source)
{
    if (&source == this)
        return;
    SetImage(source.FImage.copy());
    FTransparent = source.FTransparent;
    FTransparentColor = source.FTransparentColor;
    FTransparentMode = source.FTransparentMode;
}

QImage MaskOutColor(const QImage& image, TColor color)
{
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    result.setDevicePixelRatio(image.devicePixelRatio());
    if (color == clNone || color == clDefault)
        return result;
    const TColor rgb = ColorToRGB(color);
    const QRgb key = qRgb(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x)
            if (line[x] == key)
                line[x] = 0;
    }
    return result;
}

} // namespace orvo
