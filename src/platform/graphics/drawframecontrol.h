#pragma once

class QRect;
class QWidget;

namespace orvo {

class TCanvas;

/// Draws a standard control part into `rect` through the application style: a push
/// button, check box or radio button (DFC_BUTTON with DFCS_BUTTON*), or a scroll or
/// combo-box arrow button (DFC_SCROLL with DFCS_SCROLL*), in the state the DFCS_*
/// state flags give (inactive, pushed, checked, hot, flat). `widget`, when given,
/// lends its style and palette. Returns false for an unknown kind or without a
/// widget application.
bool DrawFrameControl(TCanvas& canvas, const QRect& rect, unsigned kind, unsigned state,
                      const QWidget* widget = nullptr);

} // namespace orvo
