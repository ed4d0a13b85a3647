#pragma once

#include <QObject>

namespace orvo {

/// The enumerations of the grid's style and scroll-bar settings, in a namespace of
/// their own for Qt's meta-object; reachable as `orvo::vsXPStyle` and so on. Forms
/// store the members by name, so their order stays as it is.
namespace GridStyleEnums {
Q_NAMESPACE

/// Which preset governs the row spacings and text margins: vsCustom keeps the values
/// set one by one, vsDefault follows the grid's fixed-cell theme.
enum TVisualStyle
{
    vsCustom,
    vsDefault,
    vsStandard,
    vsXPStyle
};
Q_ENUM_NS(TVisualStyle)

/// The look of the flat scroll bars.
enum TScrollBarStyle
{
    ssRegular,
    ssFlat,
    ssHotTrack
};
Q_ENUM_NS(TScrollBarStyle)

} // namespace GridStyleEnums

using GridStyleEnums::TVisualStyle;
using enum GridStyleEnums::TVisualStyle;
using GridStyleEnums::TScrollBarStyle;
using enum GridStyleEnums::TScrollBarStyle;

} // namespace orvo
