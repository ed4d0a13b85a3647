#pragma once

#include "grid/columns/torvocolumn.h"
#include "lists/popup/torvodbgriddropdownlist.h"
#include "platform/gridbase/tinplaceedit.h"

#include <QPointer>

namespace orvo {

class TOrvoCustomDBGrid;
class TOrvoDBDropDownList;

/// The grid's cell editor with the list protocol: it opens the current column's list
/// in a container laid over itself, keeps the focus while the list is open and hands
/// the list the keys and wheel turns the list needs, and fires the grid's
/// OnListDropDown and OnListCloseUp, whose handler may change the value and the accept
/// flag before the container writes the value into the cell.
///
/// While a list is open: Alt+Up, Alt+Down, F2 and Ctrl+Enter toggle it; Enter closes
/// it accepting and Esc without accepting (neither reaches the grid or the form's
/// default button); Tab closes it without accepting and goes on; every other key goes
/// to the list. Losing the focus closes it without accepting. A click on the drop-down
/// button at the right edge (shown for columns that open a list) toggles it.
class TOrvoDBGridEditor : public TInplaceEdit
{
    Q_OBJECT

public:
    explicit TOrvoDBGridEditor(TOrvoCustomDBGrid* grid);
    ~TOrvoDBGridEditor() override;

    /// The container whose list is open; null when none is.
    TOrvoDBDropDownList* ActiveList() const { return FActiveList; }
    bool ListOpen() const { return FActiveList != nullptr; }
    /// The column the editor edits.
    TOrvoColumn* Column() const { return FColumn.data(); }

    virtual void OpenList();
    virtual void CloseList(bool accept);
    void UpdateContents() override;

protected:
    /// The list keys; a key it uses becomes 0.
    virtual void ListKeyDown(int& key, TShiftState shift);
    virtual void ListDropDown(QObject* sender);
    virtual void ListCloseUp(QObject* sender, bool& accept);
    /// The container's bounds in the editor's coordinates.
    virtual void GetContainerBounds(QRect& bounds);
    /// The container class of the editor's column; empty when it opens none.
    virtual TOrvoDBGridDropDownList::TFactory GetListClass();
    virtual TOrvoColumn* GetColumn();
    /// The drop-down button's rectangle; empty for a column without a list.
    QRect ButtonRect() const;

    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    TOrvoCustomDBGrid* DBGrid() const;
    void ToggleList();
    bool ListTookTheActivation() const;
    bool AutoCloseEditor() const;
    bool HasListStyle();
    void UpdateButton();

    QPointer<TOrvoColumn> FColumn;
    QPointer<TOrvoDBGridDropDownList> FContainer;
    QPointer<TOrvoDBDropDownList> FActiveList;
    bool FClosingByEnter = false;
    bool FButtonShown = false;
};

} // namespace orvo
