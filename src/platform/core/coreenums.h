#pragma once

#include <QObject>

namespace orvo {

/// The core layer's enumerations, which the dataset layer and the controls share, in a
/// namespace of their own because Qt allows one meta-object per namespace; the
/// using-declarations below make them reachable as `orvo::TAlignment` and `orvo::taCenter`.
namespace CoreEnums {
Q_NAMESPACE

/// Horizontal alignment of a value's text in a control or a cell.
enum TAlignment
{
    taLeftJustify,
    taRightJustify,
    taCenter
};
Q_ENUM_NS(TAlignment)

} // namespace CoreEnums

using CoreEnums::TAlignment;
using enum CoreEnums::TAlignment;

} // namespace orvo
