#pragma once

#include "platform/core/tset.h"

#include <QObject>

namespace orvo {

/// The enumerations of the grid's stored settings, in a namespace of their own for
/// Qt's meta-object; reachable as `orvo::soLoadLayout` and so on. Forms store the
/// option set by member, so the order stays as it is.
namespace SettingsEnums {
Q_NAMESPACE

/// What the grid's layout loads, saves and includes.
enum TOrvoSettingsOption
{
    soLoadLayout,
    soSaveLayout,
    soUserSettings,
    soStretchMode,
    soOrderFields,
    soLinesCount,
    soMultiSelect,
    soSelectedRow,
    soStripedRows,
    soAutoFilter,
    soFiltered,
    soFilters
};
Q_ENUM_NS(TOrvoSettingsOption)

} // namespace SettingsEnums

using SettingsEnums::TOrvoSettingsOption;
using enum SettingsEnums::TOrvoSettingsOption;
using TOrvoSettingsOptions = TSet<TOrvoSettingsOption>;

} // namespace orvo
