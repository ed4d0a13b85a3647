#pragma once

#include "platform/core/tset.h"

#include <QObject>

namespace orvo {

/// The enumerations of the gradient family, in a namespace of their own for Qt's
/// meta-object; reachable as `orvo::gdVertical` and so on.
namespace GradientEnums {
Q_NAMESPACE

/// gdHorizontal: the colour runs left to right; gdVertical: top to bottom.
enum TOrvoGradientDirection
{
    gdHorizontal,
    gdVertical
};
Q_ENUM_NS(TOrvoGradientDirection)

/// goGradient: a gradient in the normal state; goHotButton: a reversed gradient while
/// hot; goHotTrack: a darker one-pixel frame while hot; goHotColor: HotColor while hot.
enum TOrvoGradientOption
{
    goGradient,
    goHotButton,
    goHotTrack,
    goHotColor
};
Q_ENUM_NS(TOrvoGradientOption)

/// The highlighted cell kinds of the grid that get a gradient.
enum TOrvoGradientCell
{
    gcSelectedCell,
    gcSelectedRow,
    gcMultiSelected,
    gcStripedRows
};
Q_ENUM_NS(TOrvoGradientCell)

enum TButtonDrawingStyle
{
    bdsClassic,
    bdsThemed,
    bdsGradient
};
Q_ENUM_NS(TButtonDrawingStyle)

} // namespace GradientEnums

using GradientEnums::TOrvoGradientDirection;
using enum GradientEnums::TOrvoGradientDirection;
using GradientEnums::TOrvoGradientOption;
using enum GradientEnums::TOrvoGradientOption;
using GradientEnums::TOrvoGradientCell;
using enum GradientEnums::TOrvoGradientCell;
using GradientEnums::TButtonDrawingStyle;
using enum GradientEnums::TButtonDrawingStyle;

using TOrvoGradientOptions = TSet<TOrvoGradientOption>;
using TOrvoGradientCells = TSet<TOrvoGradientCell>;

} // namespace orvo
