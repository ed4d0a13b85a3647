#include "grid/painting/timagesbitmap.h"

#include "platform/graphics/tcanvas.h"
#include "platform/graphics/tcustomimagelist.h"

namespace orvo {

TImagesBitmap::TImagesBitmap(TCustomImageList* images, int index, bool enabled, TColor background)
    : FImages(images), FIndex(index), FEnabled(enabled)
{
    Bitmap().SetSize(images->Width(), images->Height());
    TCanvas& canvas = Bitmap().Canvas();
    canvas.Brush().SetColor(background);
    canvas.Brush().SetStyle(bsSolid);
    canvas.FillRect(QRect(0, 0, images->Width(), images->Height()));
    images->Draw(canvas, 0, 0, index, enabled);
}

QImage TImagesBitmap::DrawableImage() const
{
    if (!FImages)
        return TCellPicture::DrawableImage();
    const QImage image = FImages->Image(FIndex);
    return FEnabled ? image : DisabledImage(image);
}

} // namespace orvo
