#pragma once

#include "grid/painting/tcellpicture.h"

#include <QPointer>

namespace orvo {

class TCustomImageList;

/// The picture a data cell shows from an image list, handed to OnPaintColumnCell:
/// a bitmap of the list's image size over the window colour, which also remembers
/// the list, the index and the enabled state so that the cell draws the image with
/// its list (keeping its transparency) unless a handler replaces the picture.
class TImagesBitmap : public TCellPicture
{
    Q_OBJECT

public:
    TImagesBitmap(TCustomImageList* images, int index, bool enabled, TColor background);

    TCustomImageList* Images() const { return FImages; }
    int Index() const { return FIndex; }
    bool Enabled() const { return FEnabled; }
    /// What to draw: the list's own image with its transparency.
    QImage DrawableImage() const override;

private:
    QPointer<TCustomImageList> FImages;
    int FIndex;
    bool FEnabled;
};

} // namespace orvo
