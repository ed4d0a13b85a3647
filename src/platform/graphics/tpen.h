#pragma once

#include "platform/core/tcolor.h"
#include "platform/graphics/graphicsenums.h"

class QPen;
class QPalette;

namespace orvo {

/// The line settings of a canvas: colour, width in pixels and style. A plain value
/// read by the canvas at every line it draws.
class TPen
{
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor value) { FColor = value; }
    int Width() const { return FWidth; }
    /// Widths below 1 draw one pixel wide, as the platform's pens do.
    void SetWidth(int value) { FWidth = value; }
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle value) { FStyle = value; }

    bool IsClear() const { return FStyle == psClear || FColor == clNone; }
    QPen ToQPen(const QPalette& palette) const;

    bool operator==(const TPen&) const = default;

private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
};

} // namespace orvo
