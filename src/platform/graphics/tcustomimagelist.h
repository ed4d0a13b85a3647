#pragma once

#include "platform/core/tcolor.h"
#include "platform/graphics/graphicsenums.h"

#include <QImage>
#include <QList>
#include <QObject>

#include <memory>

namespace orvo {

class TBitmap;
class TCanvas;

/// A list of equal-sized images with transparency, as the grid keeps its
/// indicator, check-box, expand-box and marker glyphs. Images are stored with an
/// alpha channel; a bitmap added with a mask colour loses exactly that colour.
/// It is a component that controls refer to (and forget when it is destroyed).
class TCustomImageList : public QObject
{
    Q_OBJECT

public:
    explicit TCustomImageList(int width = 16, int height = 16, QObject* parent = nullptr);
    static std::unique_ptr<TCustomImageList> CreateSize(int width, int height);

    int Count() const { return int(FImages.size()); }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    /// Changing a dimension clears the list, as images of the old size no longer fit.
    void SetWidth(int value);
    void SetHeight(int value);

    /// Adds the bitmap cut into images of the list's width (a strip gives several);
    /// white pixels of `mask`, when given, become transparent. Returns the index of
    /// the first image added, -1 when the bitmap is empty.
    int Add(const TBitmap& image, const TBitmap* mask = nullptr);
    /// Adds the bitmap cut into images, every pixel of exactly `maskColor` transparent.
    int AddMasked(const TBitmap& image, TColor maskColor);
    /// Adds one image (any format, any device pixel ratio), scaled to the list's size
    /// when it differs.
    int AddImage(const QImage& image);
    void Clear() { FImages.clear(); }
    /// The stored image, null for an index out of range.
    QImage Image(int index) const;

    /// Draws image `index` at (x, y) in the list's DrawingStyle; disabled images are
    /// drawn in light grey. An index out of range draws nothing.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;
    void Draw(TCanvas& canvas, int x, int y, int index, TDrawingStyle style, bool enabled = true) const;
    /// Puts image `index` into `bitmap`, resized to the list's image size, over the
    /// background colour (white when BkColor is clNone).
    void GetBitmap(int index, TBitmap& bitmap) const;

    /// The colour drawn under transparent pixels in dsNormal; clNone keeps them
    /// transparent.
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor value) { FBkColor = value; }
    /// The colour dsFocus and dsSelected blend with; clNone means the highlight colour.
    TColor BlendColor() const { return FBlendColor; }
    void SetBlendColor(TColor value) { FBlendColor = value; }
    TDrawingStyle DrawingStyle() const { return FDrawingStyle; }
    void SetDrawingStyle(TDrawingStyle value) { FDrawingStyle = value; }

private:
    int AddPieces(const QImage& strip);
    QImage Styled(const QImage& image, TDrawingStyle style, bool enabled, const TCanvas& canvas) const;

    int FWidth;
    int FHeight;
    QList<QImage> FImages;
    TColor FBkColor = clNone;
    TColor FBlendColor = clNone;
    TDrawingStyle FDrawingStyle = dsNormal;
};

/// The grey, lightened look of a disabled image: every visible pixel becomes a light
/// grey of its own brightness.
QImage DisabledImage(const QImage& image);

} // namespace orvo
