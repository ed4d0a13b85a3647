#pragma once

#include "platform/core/tcolor.h"

#include <QImage>
#include <QSize>
#include <QStringList>

namespace orvo {

/// The suite's glyph strips, drawn by our own code into images: each a row of equal
/// glyphs on the mask colour $008080, pixel-exact (no blended edges, so the mask
/// colour appears exactly or not at all). Names are the resource names the controls
/// load ("ORVODBINDICATORS", "ORVODBCHECKBOXES", "ORVODBEXPANDBOXES",
/// "ORVODBMARKERS", "ORVODBCALENDAR", "ORVODBCALCULATOR"). A strip asked for a
/// device pixel ratio of 2 is drawn at twice the resolution, still crisp.
class TGlyphStrips
{
public:
    static constexpr TColor MaskColor = clOlive;

    static QStringList Names();
    /// The strip, or a null image for an unknown name (case-insensitive).
    static QImage Strip(const QString& name, qreal devicePixelRatio = 1.0);
    /// How many glyphs the strip holds; 0 for an unknown name.
    static int GlyphCount(const QString& name);
    /// The logical size of one glyph; empty for an unknown name.
    static QSize GlyphSize(const QString& name);
};

} // namespace orvo
