#pragma once

#include "platform/core/tcolor.h"
#include "platform/graphics/graphicsenums.h"

#include <QImage>

#include <memory>

namespace orvo {

class TCanvas;

/// A bitmap held in a QImage, with a canvas to paint on it and the classic
/// transparency settings. Its size is in logical pixels; a bitmap loaded for a
/// device pixel ratio of 2 holds twice as many device pixels each way.
class TBitmap
{
public:
    TBitmap();
    TBitmap(int width, int height);
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const;
    int Height() const;
    void SetWidth(int value) { SetSize(value, Height()); }
    void SetHeight(int value) { SetSize(Width(), value); }
    /// Resizes, keeping the pixels that remain and painting new ones white.
    void SetSize(int width, int height);
    bool Empty() const { return FImage.isNull(); }
    qreal DevicePixelRatio() const { return FImage.isNull() ? 1.0 : FImage.devicePixelRatio(); }

    /// The canvas that paints on the bitmap; created on first use.
    TCanvas& Canvas();

    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value) { FTransparent = value; }
    /// The colour left out when drawing transparently: the bottom-left pixel in
    /// tmAuto mode, the colour set in tmFixed mode.
    TColor TransparentColor() const;
    /// Setting a colour switches to tmFixed, as the platform does.
    void SetTransparentColor(TColor value);
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode value) { FTransparentMode = value; }

    /// Loads one of the suite's glyph strips by its resource name ("ORVODBINDICATORS"
    /// ...), drawn for `devicePixelRatio`; raises EInvalidOperation for an unknown name.
    void LoadFromResourceName(const QString& name, qreal devicePixelRatio = 1.0);

    /// The pixels as they are (no transparency applied).
    const QImage& Image() const { return FImage; }
    /// Replaces the pixels; the image is kept in a 32-bit opaque format.
    void SetImage(const QImage& image);
    /// The pixels ready to draw: with the transparent colour made transparent when
    /// Transparent is on.
    QImage DrawableImage() const;
    /// Copies pixels and transparency settings.
    void Assign(const TBitmap& source);

private:
    void ReleaseCanvasDevice();

    QImage FImage;
    std::unique_ptr<TCanvas> FCanvas;
    bool FTransparent = false;
    TColor FTransparentColor = clDefault;
    TTransparentMode FTransparentMode = tmAuto;
};

/// `image` with every pixel of exactly `color` made fully transparent.
QImage MaskOutColor(const QImage& image, TColor color);

} // namespace orvo
