#include "controls/systemprobes.h"

#include "platform/core/tsystemprofile.h"
#include "platform/graphics/tcanvas.h"
#include "platform/graphics/tthemeservices.h"

#include <QMetaProperty>
#include <QPainter>
#include <QWidget>

#include <optional>

namespace orvo {

namespace {

constexpr int kFirstThemedMajor = 6;
constexpr int kNewerMinor = 2;

} // namespace

std::optional<bool> PublishedBoolean(const QObject* object, const char* name)
{
    const QMetaObject* meta = object->metaObject();
    const int index = meta->indexOfProperty(name);
    if (index < 0)
        return std::nullopt;
    return meta->property(index).read(object).toInt() != 0;
}

bool HasPublishedProperty(const QObject* object, const char* name)
{
    return object->metaObject()->indexOfProperty(name) >= 0;
}

bool IsWindowsVistaOrLater()
{
    return TSystemProfile::Current().CheckVersion(kFirstThemedMajor, 0);
}

bool IsWindows8OrLater()
{
    return TSystemProfile::Current().CheckVersion(kFirstThemedMajor, kNewerMinor);
}

int GetWindowsBuildNumber()
{
    return TSystemProfile::Current().BuildNumber();
}

bool IsWindows11OrLater()
{
    return IsWindows8OrLater() && GetWindowsBuildNumber() > TSystemProfile::NewestSystemBuildThreshold;
}

bool ThemesEnabled(const QWidget*)
{
    return ThemeServices().ThemesEnabled();
}

QBrush PaintParentBackground(const QWidget* control, TCanvas& canvas)
{
    const QWidget* parent = control ? control->parentWidget() : nullptr;
    if (!parent || !canvas.Handle())
        return QBrush(Qt::NoBrush);
    if (ThemesEnabled(control))
        ThemeServices().DrawParentBackground(control, canvas);
    else
        canvas.Handle()->fillRect(control->rect(), parent->palette().brush(parent->backgroundRole()));
    return QBrush(Qt::NoBrush);
}

void SetParentBackgroundStyle(QWidget* control, bool flag)
{
    if (control)
        control->setAutoFillBackground(!flag);
}

bool IsTransparentChild(const QObject* control)
{
    if (!control || ThemesEnabled())
        return false;
    if (const auto transparent = PublishedBoolean(control, "Transparent"))
        return *transparent;
    if (HasPublishedProperty(control, "Gradient"))
        return PublishedBoolean(control, "ParentBackground").value_or(false);
    return false;
}

TIsTransparentChildProc& IsTransparentChildProc()
{
    static TIsTransparentChildProc proc = IsTransparentChild;
    return proc;
}

} // namespace orvo
