#include "platform/graphics/tcustomimagelist.h"

#include "platform/graphics/tbitmap.h"
#include "platform/graphics/tcanvas.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace orvo {

namespace {

constexpr QImage::Format kStoredFormat = QImage::Format_ARGB32;

// White pixels of a mask mark transparency, as in a monochrome platform mask.
QImage applyMask(const QImage& image, const QImage& mask)
{
    QImage result = image.convertToFormat(kStoredFormat);
    result.setDevicePixelRatio(image.devicePixelRatio());
    const QImage scaledMask = mask.size() == image.size() ? mask : mask.scaled(image.size());
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x)
            if (qGray(scaledMask.pixel(x, y)) > 127)
                line[x] = 0;
    }
    return result;
}

QImage blended(const QImage& image, const QColor& color, int percent)
{
    QImage result = image.convertToFormat(kStoredFormat);
    result.setDevicePixelRatio(image.devicePixelRatio());
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            const QRgb p = line[x];
            if (qAlpha(p) == 0)
                continue;
            auto mix = [&](int own, int other) { return (own * (100 - percent) + other * percent) / 100; };
            line[x] = qRgba(mix(qRed(p), color.red()), mix(qGreen(p), color.green()),
                            mix(qBlue(p), color.blue()), qAlpha(p));
        }
    }
    return result;
}

} // namespace

TCustomImageList::TCustomImageList(int width, int height, QObject* parent)
    : QObject(parent), FWidth(std::max(1, width)), FHeight(std::max(1, height))
{}

std::unique_ptr<TCustomImageList> TCustomImageList::CreateSize(int width, int height)
{
    return std::make_unique<TCustomImageList>(width, height);
}

void TCustomImageList::SetWidth(int value)
{
    value = std::max(1, value);
    if (value == FWidth)
        return;
    FWidth = value;
    Clear();
}

void TCustomImageList::SetHeight(int value)
{
    value = std::max(1, value);
    if (value == FHeight)
        return;
    FHeight = value;
    Clear();
}

int TCustomImageList::AddPieces(const QImage& strip)
{
    if (strip.isNull())
        return -1;
    const qreal ratio = strip.devicePixelRatio();
    const int pieceWidth = int(std::lround(FWidth * ratio));
    const int pieceHeight = int(std::lround(FHeight * ratio));
    const int pieces = std::max(1, strip.width() / pieceWidth);
    const int first = Count();
    for (int i = 0; i < pieces; ++i) {
        QImage piece = strip.copy(i * pieceWidth, 0, pieceWidth, pieceHeight);
        piece.setDevicePixelRatio(ratio);
        FImages.append(piece);
    }
    return first;
}

int TCustomImageList::Add(const TBitmap& image, const TBitmap* mask)
{
    if (image.Empty())
        return -1;
    if (mask && !mask->Empty())
        return AddPieces(applyMask(image.Image(), mask->Image()));
    QImage opaque = image.Image().convertToFormat(kStoredFormat);
    opaque.setDevicePixelRatio(image.DevicePixelRatio());
    return AddPieces(opaque);
}

int TCustomImageList::AddMasked(const TBitmap& image, TColor maskColor)
{
    if (image.Empty())
        return -1;
    return AddPieces(MaskOutColor(image.Image(), maskColor));
}

int TCustomImageList::AddImage(const QImage& image)
{
    if (image.isNull())
        return -1;
    QImage stored = image.convertToFormat(kStoredFormat);
    stored.setDevicePixelRatio(image.devicePixelRatio());
    const QSize logical = (QSizeF(stored.size()) / stored.devicePixelRatio()).toSize();
    if (logical != QSize(FWidth, FHeight)) {
        stored = stored.scaled(QSize(FWidth, FHeight) * stored.devicePixelRatio(), Qt::IgnoreAspectRatio,
                               Qt::SmoothTransformation);
        stored.setDevicePixelRatio(image.devicePixelRatio());
    }
    FImages.append(stored);
    return Count() - 1;
}

QImage TCustomImageList::Image(int index) const
{
    return index >= 0 && index < Count() ? FImages[index] : QImage();
}

QImage TCustomImageList::Styled(const QImage& image, TDrawingStyle style, bool enabled,
                                const TCanvas& canvas) const
{
    QImage result = enabled ? image : DisabledImage(image);
    if (style == dsFocus || style == dsSelected) {
        const TColor blend = FBlendColor == clNone || FBlendColor == clDefault ? clHighlight : FBlendColor;
        result = blended(result, canvas.ToQColor(blend), style == dsFocus ? 25 : 50);
    }
    return result;
}

void TCustomImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const
{
    Draw(canvas, x, y, index, FDrawingStyle, enabled);
}

void TCustomImageList::Draw(TCanvas& canvas, int x, int y, int index, TDrawingStyle style, bool enabled) const
{
    QPainter* painter = canvas.Handle();
    if (!painter || index < 0 || index >= Count())
        return;
    if (style == dsNormal && FBkColor != clNone && FBkColor != clDefault)
        painter->fillRect(QRect(x, y, FWidth, FHeight), canvas.ToQColor(FBkColor));
    painter->drawImage(QPoint(x, y), Styled(FImages[index], style, enabled, canvas));
}

void TCustomImageList::GetBitmap(int index, TBitmap& bitmap) const
{
    bitmap.SetSize(FWidth, FHeight);
    TCanvas& canvas = bitmap.Canvas();
    const TColor background = FBkColor == clNone || FBkColor == clDefault ? clWhite : FBkColor;
    canvas.Handle()->fillRect(QRect(0, 0, FWidth, FHeight), canvas.ToQColor(background));
    Draw(canvas, 0, 0, index, dsTransparent, true);
}

QImage DisabledImage(const QImage& image)
{
    QImage result = image.convertToFormat(kStoredFormat);
    result.setDevicePixelRatio(image.devicePixelRatio());
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            const QRgb p = line[x];
            if (qAlpha(p) == 0)
                continue;
            // Brightness squeezed into the upper half: dark marks become mid grey,
            // light ones almost white, so the glyph reads as unavailable.
            const int grey = 128 + qGray(p) / 2;
            line[x] = qRgba(grey, grey, grey, qAlpha(p));
        }
    }
    return result;
}

} // namespace orvo
