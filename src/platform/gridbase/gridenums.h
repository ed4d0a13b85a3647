#pragma once

#include "platform/core/tset.h"

#include <QObject>

namespace orvo {

/// The grid base's enumerations, in a namespace of their own because Qt allows one
/// meta-object per namespace; the using-declarations below make every type and
/// member reachable as `orvo::TGridOption` and `orvo::goEditing`.
namespace GridEnums {
Q_NAMESPACE

/// The behaviour switches of a grid, in the order stored layouts rely on.
enum TGridOption
{
    goFixedVertLine,
    goFixedHorzLine,
    goVertLine,
    goHorzLine,
    goRangeSelect,
    goDrawFocusSelected,
    goRowSizing,
    goColSizing,
    goRowMoving,
    goColMoving,
    goEditing,
    goTabs,
    goRowSelect,
    goAlwaysShowEditor,
    goThumbTracking
};
Q_ENUM_NS(TGridOption)

/// What a mouse drag that started in the grid is doing.
enum TGridState
{
    gsNormal,
    gsSelecting,
    gsRowSizing,
    gsColSizing,
    gsRowMoving,
    gsColMoving
};
Q_ENUM_NS(TGridState)

/// How a cell is to be drawn.
enum TGridDrawStateItem
{
    gdSelected,
    gdFocused,
    gdFixed,
    gdHotTrack,
    gdPressed
};
Q_ENUM_NS(TGridDrawStateItem)

/// Which scroll bars a grid shows when its cells do not fit.
enum TScrollStyle
{
    ssNone,
    ssHorizontal,
    ssVertical,
    ssBoth
};
Q_ENUM_NS(TScrollStyle)

/// The keys and buttons held during a keyboard or mouse event.
enum TShiftStateItem
{
    ssShift,
    ssAlt,
    ssCtrl,
    ssLeft,
    ssRight,
    ssMiddle,
    ssDouble
};
Q_ENUM_NS(TShiftStateItem)

/// The directions a timed scroll moves the grid in while the mouse is dragged outside.
enum TGridScrollDirection
{
    sdLeft,
    sdRight,
    sdUp,
    sdDown
};
Q_ENUM_NS(TGridScrollDirection)

/// Whether a control draws a border around itself.
enum TBorderStyle
{
    bsNone,
    bsSingle
};
Q_ENUM_NS(TBorderStyle)

/// The mouse button of a mouse event.
enum TMouseButton
{
    mbLeft,
    mbRight,
    mbMiddle
};
Q_ENUM_NS(TMouseButton)

} // namespace GridEnums

using GridEnums::TGridOption;
using enum GridEnums::TGridOption;
using GridEnums::TGridState;
using enum GridEnums::TGridState;
using GridEnums::TGridDrawStateItem;
using enum GridEnums::TGridDrawStateItem;
using GridEnums::TScrollStyle;
using enum GridEnums::TScrollStyle;
using GridEnums::TShiftStateItem;
using enum GridEnums::TShiftStateItem;
using GridEnums::TGridScrollDirection;
using enum GridEnums::TGridScrollDirection;
using GridEnums::TBorderStyle;
using enum GridEnums::TBorderStyle;
using GridEnums::TMouseButton;
using enum GridEnums::TMouseButton;

using TGridOptions = TSet<TGridOption>;
using TGridDrawState = TSet<TGridDrawStateItem>;
using TShiftState = TSet<TShiftStateItem>;
using TGridScrollDirections = TSet<TGridScrollDirection>;

} // namespace orvo
