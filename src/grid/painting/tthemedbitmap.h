#pragma once

#include "grid/painting/tcellpicture.h"
#include "platform/graphics/tthemeservices.h"

namespace orvo {

/// The themed look of a check box or expand box in a data cell: a picture of the
/// glyph's size that carries the theme element, drawn by the theme service where
/// the cell is painted, so that it takes the style and palette of the grid.
class TThemedBitmap : public TCellPicture
{
    Q_OBJECT

public:
    TThemedBitmap(const TThemedElementDetails& details, const QSize& size);

    const TThemedElementDetails& Details() const { return FDetails; }
    QSize Size() const override { return FSize; }
    /// The element rendered over transparent pixels, for handlers and stretched drawing.
    QImage DrawableImage() const override;
    void Draw(TCanvas& canvas, const QPoint& topLeft, const QWidget* widget) const override;

private:
    TThemedElementDetails FDetails;
    QSize FSize;
};

} // namespace orvo
