#pragma once

#include <QBrush>

#include <functional>
#include <optional>

class QObject;
class QWidget;

namespace orvo {

class TCanvas;

// Probes of the running system, answered from the process-wide system profile
// (TSystemProfile), which is where version, build and theme settings live.

/// The value of `object`'s published Boolean property `name`; nothing when it has none.
std::optional<bool> PublishedBoolean(const QObject* object, const char* name);
/// Whether `object` publishes a property `name`, of any type.
bool HasPublishedProperty(const QObject* object, const char* name);

/// Version 6.0 or later.
bool IsWindowsVistaOrLater();
/// Version 6.2 or later.
bool IsWindows8OrLater();
/// The system's build number; 0 when it is missing or not a number.
int GetWindowsBuildNumber();
/// Version 6.2 or later with a build number of 22000 or more.
bool IsWindows11OrLater();
/// Whether visual themes are in force; `control` is not consulted.
bool ThemesEnabled(const QWidget* control = nullptr);

/// Paints, behind `control`, what its parent shows there: with themes the parent's
/// background and painting, without them the parent's background colour. Returns the
/// brush a control then uses for its own background: none.
QBrush PaintParentBackground(const QWidget* control, TCanvas& canvas);
/// With `flag` the control stops filling its own background, so the parent's shows
/// through; without it the control fills its background again.
void SetParentBackgroundStyle(QWidget* control, bool flag);
/// Whether `control` lets its parent show through: never with themes; otherwise its
/// Boolean property "Transparent", or, for a control without one that has a
/// "Gradient" property, its "ParentBackground".
bool IsTransparentChild(const QObject* control);

using TIsTransparentChildProc = std::function<bool(const QObject* control)>;
/// The replaceable rule panels and group boxes ask; initially IsTransparentChild.
TIsTransparentChildProc& IsTransparentChildProc();

} // namespace orvo
