#pragma once

class QWidget;

namespace orvo {

/// Whether a grid paints its focused look (the current cell marked, the selection in
/// the highlight colours). A grid normally does so while it or its editor holds the
/// focus; a drop-down list never takes the focus from the editor that opened it, yet
/// must read as the active choice, so it can ask to be drawn as focused.
class TFocusedLook
{
public:
    static void SetDrawsFocused(QWidget* grid, bool value);
    static bool DrawsFocused(const QWidget* grid);
    /// True when `grid` or its `editor` has the focus, or the grid asked to draw as focused.
    static bool ShowsFocus(const QWidget* grid, const QWidget* editor);
};

} // namespace orvo
