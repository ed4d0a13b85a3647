#include "platform/gridbase/tfocusedlook.h"

#include <QVariant>
#include <QWidget>

namespace orvo {

namespace {
// A dynamic property keeps the request on the widget itself, so it needs no member in
// the grid classes and goes away with the widget.
constexpr const char* DrawsFocusedProperty = "orvoDrawsFocused";
} // namespace

void TFocusedLook::SetDrawsFocused(QWidget* grid, bool value)
{
    if (DrawsFocused(grid) == value)
        return;
    grid->setProperty(DrawsFocusedProperty, value);
    grid->update();
}

bool TFocusedLook::DrawsFocused(const QWidget* grid)
{
    return grid->property(DrawsFocusedProperty).toBool();
}

bool TFocusedLook::ShowsFocus(const QWidget* grid, const QWidget* editor)
{
    return grid->hasFocus() || (editor && editor->hasFocus()) || DrawsFocused(grid);
}

} // namespace orvo
