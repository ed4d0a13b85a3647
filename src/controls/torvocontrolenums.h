#pragma once

#include <QObject>

namespace orvo {

/// The enumerations of the themed controls, in a namespace of their own for Qt's
/// meta-object; reachable as `orvo::caDisable` and so on.
namespace ControlEnums {
Q_NAMESPACE

/// What the check box of a group box does to the controls inside: nothing, disable
/// them while unchecked, or enable them while checked.
enum TOrvoCheckBoxAction
{
    caNone,
    caDisable,
    caEnable
};
Q_ENUM_NS(TOrvoCheckBoxAction)

/// A panel bevel: none, sunken, raised, or as wide as a bevel but flat.
enum TBevelCut
{
    bvNone,
    bvLowered,
    bvRaised,
    bvSpace
};
Q_ENUM_NS(TBevelCut)

/// How the two arrows of an up-down sit: side by side or one above the other.
enum TUDOrientation
{
    udHorizontal,
    udVertical
};
Q_ENUM_NS(TUDOrientation)

/// The arrow of an up-down that was clicked: the one that counts up or down.
enum TUDBtnType
{
    btNext,
    btPrev
};
Q_ENUM_NS(TUDBtnType)

} // namespace ControlEnums

using ControlEnums::TOrvoCheckBoxAction;
using enum ControlEnums::TOrvoCheckBoxAction;
using ControlEnums::TBevelCut;
using enum ControlEnums::TBevelCut;
using ControlEnums::TUDOrientation;
using enum ControlEnums::TUDOrientation;
using ControlEnums::TUDBtnType;
using enum ControlEnums::TUDBtnType;

} // namespace orvo
