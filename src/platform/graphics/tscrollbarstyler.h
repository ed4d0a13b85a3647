#pragma once

#include "platform/core/tcolor.h"

#include <QObject>

class QScrollBar;

namespace orvo {

/// Stands in for the platform's flat scroll bars: gives a QScrollBar a colour and a
/// flat or hot-tracking look through a style sheet, or returns it to the normal look.
class TScrollBarStyler
{
    Q_GADGET

public:
    /// The looks a flat scroll bar can take.
    enum TScrollBarLook
    {
        sblRegular,
        sblFlat,
        sblHotTrack
    };
    Q_ENUM(TScrollBarLook)

    /// Applies the look; `color` (clDefault: the palette's button colour) tints the
    /// track. The regular look with clDefault clears any styling.
    static void Apply(QScrollBar* bar, TScrollBarLook look, TColor color = clDefault);
    /// The style sheet Apply would set (empty for the normal look).
    static QString StyleSheet(TScrollBarLook look, TColor color, const QPalette& palette);
};

} // namespace orvo
