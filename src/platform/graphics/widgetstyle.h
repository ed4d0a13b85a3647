#pragma once

#include <QApplication>
#include <QStyle>
#include <QWidget>

namespace orvo {

/// The style that draws for `widget`: its own, else the application's; none in a
/// program without widgets (a headless tool that only measures).
inline QStyle* StyleFor(const QWidget* widget)
{
    if (widget)
        return widget->style();
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        return QApplication::style();
    return nullptr;
}

} // namespace orvo
