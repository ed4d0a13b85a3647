#pragma once

#include "platform/core/tcolor.h"
#include "platform/graphics/tbrush.h"
#include "platform/graphics/tfont.h"
#include "platform/graphics/tpen.h"

#include <QPalette>
#include <QPoint>
#include <QRect>

#include <memory>

class QImage;
class QPaintDevice;
class QPainter;
class QRegion;

namespace orvo {

class TBitmap;

/// A drawing surface over a QPainter with the classic canvas model: a brush, a pen
/// and a font that every operation reads, a pen position, and system colours
/// resolved through a palette. A canvas made without a device draws nothing but
/// still measures text, which is how code sizes text without a window.
///
/// Rectangles are QRects; their width and height are what gets painted, so a
/// FillRect of QRect(0, 0, 4, 3) covers 12 pixels.
class TCanvas
{
public:
    /// A canvas for measuring only.
    TCanvas();
    /// Draws through `painter` (not owned), resolving system colours through `palette`.
    explicit TCanvas(QPainter* painter, const QPalette& palette = QPalette());
    /// Opens its own painter on `device` until Detach() or destruction.
    explicit TCanvas(QPaintDevice* device, const QPalette& palette = QPalette());
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    /// Ends painting on the current device (keeping brush, pen and font) and, with a
    /// device given, opens a painter on that one.
    void Attach(QPaintDevice* device);
    void Detach();

    TBrush& Brush() { return FBrush; }
    const TBrush& Brush() const { return FBrush; }
    TPen& Pen() { return FPen; }
    const TPen& Pen() const { return FPen; }
    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    const QPalette& Palette() const { return FPalette; }
    void SetPalette(const QPalette& palette) { FPalette = palette; }

    /// The painter behind the canvas; null for a measuring canvas.
    QPainter* Handle() const { return FPainter; }
    bool HandleAllocated() const { return FPainter != nullptr; }

    QPoint PenPos() const { return FPenPos; }
    void SetPenPos(QPoint pos) { FPenPos = pos; }
    void MoveTo(int x, int y) { FPenPos = QPoint(x, y); }
    /// Draws from the pen position up to, not including, (x, y) and moves there.
    void LineTo(int x, int y);

    void FillRect(const QRect& rect);
    /// A one-pixel frame inside `rect` in the brush colour.
    void FrameRect(const QRect& rect);
    /// The outline in the pen, the inside in the brush.
    void Rectangle(const QRect& rect);
    void RoundRect(const QRect& rect, int cornerWidth, int cornerHeight);
    void Ellipse(const QRect& rect);
    void Polygon(const QList<QPoint>& points);

    /// Draws text with its top-left at (x, y), on the brush unless the brush is clear,
    /// and moves the pen position to the text's end.
    void TextOut(int x, int y, const QString& text);
    /// Fills `rect` with the brush (unless clear) and draws text at (x, y) clipped to it.
    void TextRect(const QRect& rect, int x, int y, const QString& text);
    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;
    QSize TextExtent(const QString& text) const;
    /// The extra width italic or bold synthesis adds; zero for the fonts used here.
    int TextOverhang() const { return 0; }
    /// The width of an average character of the font.
    int AverageCharWidth() const;

    /// Draws a bitmap with its top-left at (x, y), leaving its transparent colour out
    /// when the bitmap is transparent.
    void Draw(int x, int y, const TBitmap& bitmap);
    void Draw(int x, int y, const QImage& image);
    void StretchDraw(const QRect& rect, const TBitmap& bitmap);
    void StretchDraw(const QRect& rect, const QImage& image);
    /// Copies `source` rectangle of a readable canvas (see CopyToImage) into `dest`.
    void CopyRect(const QRect& dest, const TCanvas& source, const QRect& sourceRect);
    /// A dotted frame drawn by inverting pixels, so that drawing it twice removes it.
    void DrawFocusRect(const QRect& rect);

    /// The clip box: the clipped area, or the whole device when nothing is clipped.
    QRect ClipRect() const;
    /// Replaces the clipping with `region`; a null region removes it.
    void SelectClipRgn(const QRegion* region);
    void IntersectClipRect(const QRect& rect);
    void ExcludeClipRect(const QRect& rect);

    /// The colour of a pixel of an image-backed canvas; clNone where it cannot be read.
    TColor Pixels(int x, int y) const;
    void SetPixels(int x, int y, TColor color);
    /// A copy of the pixels of `rect` when the canvas paints on a QImage or QPixmap,
    /// a null image otherwise.
    QImage CopyToImage(const QRect& rect) const;
    bool IsReadable() const;

    /// Right-to-left orientation: text reads right to left and horizontal gradients
    /// mirror.
    bool RightToLeft() const;
    void SetRightToLeft(bool value);

    /// A colour as RGB through this canvas's palette.
    TColor ColorToRGB(TColor color) const;
    QColor ToQColor(TColor color) const;

private:
    bool CanDraw() const { return FPainter != nullptr; }
    void FillSolid(const QRect& rect, const QColor& color);
    QRect DeviceRect() const;

    std::unique_ptr<QPainter> FOwnedPainter;
    QPainter* FPainter = nullptr;
    QPalette FPalette;
    TBrush FBrush;
    TPen FPen;
    TFont FFont;
    QPoint FPenPos;
    bool FRightToLeft = false;
};

} // namespace orvo
