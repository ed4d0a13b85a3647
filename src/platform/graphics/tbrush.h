#pragma once

#include "platform/core/tcolor.h"
#include "platform/graphics/graphicsenums.h"

class QBrush;
class QPalette;

namespace orvo {

/// The fill settings of a canvas: a colour (system colours resolve through the
/// canvas palette when used) and a style. A plain value; the canvas reads it at
/// every fill, so changing it needs no notification.
class TBrush
{
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor value) { FColor = value; }
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle value) { FStyle = value; }

    /// True when fills paint nothing.
    bool IsClear() const { return FStyle == bsClear || FColor == clNone; }
    QBrush ToQBrush(const QPalette& palette) const;

    bool operator==(const TBrush&) const = default;

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};

} // namespace orvo
