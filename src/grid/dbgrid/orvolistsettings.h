#pragma once

#include <QStringList>

namespace orvo {

/// The program-wide settings of the suite's drop-down lists. A program may change
/// them before it opens its first list (to translate the captions, say).
struct TOrvoListSettings
{
    /// The most rows a drop-down list shows before it scrolls.
    static int& MaxListRows();
    /// The widest a drop-down list grows, in pixels.
    static int& MaxListWidth();
    /// Milliseconds between the steps of a list's slide-open animation.
    static int& ListAnimationDelay();
    /// Whether the list's selection follows the mouse.
    static bool& ListMouseTracking();
    /// The captions of the lists' buttons: "Today", "Clear All", "Select All", "Cancel", "OK".
    static QStringList& ListCaptions();
};

} // namespace orvo
