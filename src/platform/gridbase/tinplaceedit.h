#pragma once

#include "platform/gridbase/gridenums.h"

#include <QLineEdit>

namespace orvo {

class TCustomGrid;

/// The editor a grid places over its current cell. It hands the keys that move
/// between cells back to the grid, asks the grid before the text may change, and
/// reports every edit to the grid's SetEditText.
class TInplaceEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit TInplaceEdit(TCustomGrid* grid);

    TCustomGrid* Grid() const { return FGrid; }

    /// Reloads text, length limit and mask from the grid for its current cell.
    virtual void UpdateContents();
    /// Leaves the editor's text unselected with the caret at the end.
    virtual void Deselect();
    bool Visible() const { return isVisible(); }

    /// Room kept free inside the edit box on the left (an image) and right (a button).
    void SetTextMargins(int left, int right);

protected:
    virtual void KeyDown(int& key, TShiftState shift);
    virtual void KeyPress(QChar& key);
    virtual void KeyUp(int& key, TShiftState shift);
    virtual void DblClick();
    /// Returns true when the wheel was taken; the grid scrolls otherwise.
    virtual bool DoMouseWheel(TShiftState shift, int delta, const QPoint& pos);
    /// Whether the text may change now; asks the grid.
    virtual bool EditCanModify();

    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    bool ModifiesText(const QKeyEvent* event) const;
    bool KeyBelongsToGrid(int key, TShiftState shift) const;

    TCustomGrid* FGrid;
};

} // namespace orvo
