#pragma once

class QRect;

namespace orvo {

class TCanvas;

/// Draws the 3D edges of `rect` (BDR_*/EDGE_* in `edge`) on the sides named in
/// `flags` (BF_*), in the system colours of the canvas palette: an outer and an
/// inner one-pixel line, each raised (light top-left, dark bottom-right) or sunken.
/// BF_SOFT, BF_FLAT and BF_MONO choose softer, flat and monochrome colours,
/// BF_MIDDLE fills the inside, and BF_ADJUST shrinks `rect` by the lines drawn.
/// Returns false when there was nothing to draw with.
bool DrawEdge(TCanvas& canvas, QRect& rect, unsigned edge, unsigned flags);

} // namespace orvo
