#include "lists/editor/torvodbgrideditor.h"

#include "grid/dbgrid/torvocustomdbgrid.h"
#include "lists/popup/torvodbgridlistclasses.h"
#include "platform/core/texceptionhandler.h"
#include "platform/gridbase/shiftstate.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace orvo {

TOrvoDBGridEditor::TOrvoDBGridEditor(TOrvoCustomDBGrid* grid) : TInplaceEdit(grid) {}

TOrvoDBGridEditor::~TOrvoDBGridEditor() = default;

TOrvoCustomDBGrid* TOrvoDBGridEditor::DBGrid() const
{
    return static_cast<TOrvoCustomDBGrid*>(Grid());
}

TOrvoColumn* TOrvoDBGridEditor::GetColumn()
{
    return DBGrid()->SelectedColumn();
}

TOrvoDBGridDropDownList::TFactory TOrvoDBGridEditor::GetListClass()
{
    return TOrvoDBGridListClasses::FactoryFor(FColumn);
}

bool TOrvoDBGridEditor::HasListStyle()
{
    return bool(GetListClass());
}

void TOrvoDBGridEditor::UpdateContents()
{
    FColumn = GetColumn();
    TInplaceEdit::UpdateContents();
    UpdateButton();
}

// --- Opening and closing --------------------------------------------------------------------

void TOrvoDBGridEditor::OpenList()
{
    if (ListOpen())
        return;
    const TOrvoDBGridDropDownList::TFactory factory = GetListClass();
    if (!factory)
        return;
    TOrvoDBGridDropDownList* container = factory(this, FColumn);
    QRect bounds;
    GetContainerBounds(bounds);
    container->setGeometry(bounds);
    container->OnDropDown = [this](QObject* sender) { ListDropDown(sender); };
    container->OnCloseUp = [this](QObject* sender, bool& accept) { ListCloseUp(sender, accept); };
    container->SetReleaseOnClose(true);
    FContainer = container;
    container->DropDown();
    // A container without a list opens nothing and would never release itself.
    if (!container->ListShown()) {
        FContainer = nullptr;
        FActiveList = nullptr;
        delete container;
    }
}

void TOrvoDBGridEditor::CloseList(bool accept)
{
    if (FActiveList)
        FActiveList->CloseUp(accept);
}

void TOrvoDBGridEditor::ToggleList()
{
    if (ListOpen())
        CloseList(true);
    else
        OpenList();
}

void TOrvoDBGridEditor::ListDropDown(QObject* sender)
{
    FActiveList = qobject_cast<TOrvoDBDropDownList*>(sender);
    TOrvoCustomDBGrid* grid = DBGrid();
    if (grid->OnListDropDown)
        grid->OnListDropDown(FColumn, sender);
}

void TOrvoDBGridEditor::ListCloseUp(QObject* sender, bool& accept)
{
    FActiveList = nullptr;
    update();
    if (!FContainer || sender != FContainer)
        return;
    TOrvoCustomDBGrid* grid = DBGrid();
    if (grid->OnListCloseUp) {
        TVariant value = FContainer->Value();
        grid->OnListCloseUp(FColumn, sender, value, accept);
        FContainer->SetValue(value);
    }
    // The container releases itself once the close is done.
    FContainer = nullptr;
    if (accept && AutoCloseEditor() && !FClosingByEnter)
        QCoreApplication::postEvent(this, new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
}

bool TOrvoDBGridEditor::AutoCloseEditor() const
{
    // A choice made with the mouse or a short cut ends the edit as Enter would; after
    // Enter itself the user presses Enter again, so that one key never does both.
    return FColumn && FColumn->ListOptions().Contains(loAutoCloseEditor) &&
           !DBGrid()->Options().Contains(dgAlwaysShowEditor);
}

void TOrvoDBGridEditor::GetContainerBounds(QRect& bounds)
{
    // One pixel wider on each side and down over the cell's line, so that the list
    // lines up with the cell rather than with the text box inside it.
    bounds = rect().adjusted(-1, 1, 1, -1 + Grid()->GridLineWidth());
}

// --- Keys, wheel, focus -------------------------------------------------------------------------

void TOrvoDBGridEditor::ListKeyDown(int& key, TShiftState shift)
{
    const bool ctrlOrAlt = shift.Contains(ssCtrl) || shift.Contains(ssAlt);
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (key == Qt::Key_Tab && !ctrlOrAlt) {
        CloseList(false);
    } else if (enter && shift.Contains(ssCtrl)) {
        ToggleList();
        key = 0;
    } else if ((enter || key == Qt::Key_Escape) && ListOpen() && !shift.Contains(ssAlt)) {
        FClosingByEnter = enter;
        CloseList(enter);
        FClosingByEnter = false;
        key = 0;
    } else if ((key == Qt::Key_Up || key == Qt::Key_Down) && shift.Contains(ssAlt)) {
        ToggleList();
        key = 0;
    } else if (key == Qt::Key_F2 && !ctrlOrAlt) {
        ToggleList();
        key = 0;
    }
}

void TOrvoDBGridEditor::keyPressEvent(QKeyEvent* event)
{
    bool used = false;
    TExceptionHandler::Guard([this, event, &used] {
        if (!ListOpen() && !HasListStyle())
            return;
        int key = event->key();
        ListKeyDown(key, ShiftStateOf(event->modifiers()));
        if (key == 0) {
            used = true;
        } else if (ListOpen()) {
            QCoreApplication::sendEvent(FActiveList->List(), event);
            used = true;
        }
    });
    if (used)
        event->accept();
    else
        TInplaceEdit::keyPressEvent(event);
}

void TOrvoDBGridEditor::wheelEvent(QWheelEvent* event)
{
    bool used = false;
    TExceptionHandler::Guard([this, event, &used] { used = FActiveList && FActiveList->RouteWheel(event); });
    if (!used)
        TInplaceEdit::wheelEvent(event);
}

bool TOrvoDBGridEditor::ListTookTheActivation() const
{
    const QWidget* active = QApplication::activeWindow();
    return FActiveList && active && active == FActiveList->List();
}

void TOrvoDBGridEditor::focusOutEvent(QFocusEvent* event)
{
    // Some window systems activate the list's window although it asks not to be: the
    // focus it takes from the editor that way is no real focus loss.
    TExceptionHandler::Guard([this] {
        if (!ListTookTheActivation())
            CloseList(false);
    });
    TInplaceEdit::focusOutEvent(event);
}

// --- The drop-down button -------------------------------------------------------------------------

QRect TOrvoDBGridEditor::ButtonRect() const
{
    if (!FButtonShown)
        return QRect();
    const int width = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const int left = layoutDirection() == Qt::RightToLeft ? 0 : rect().width() - width;
    return QRect(left, 0, width, rect().height());
}

void TOrvoDBGridEditor::UpdateButton()
{
    FButtonShown = HasListStyle();
    const int room = FButtonShown ? ButtonRect().width() + 1 : 0;
    if (layoutDirection() == Qt::RightToLeft)
        SetTextMargins(room, 0);
    else
        SetTextMargins(0, room);
    update();
}

void TOrvoDBGridEditor::mousePressEvent(QMouseEvent* event)
{
    bool used = false;
    TExceptionHandler::Guard([this, event, &used] {
        if (event->button() != Qt::LeftButton || !ButtonRect().contains(event->position().toPoint()))
            return;
        used = true;
        if (ListOpen())
            CloseList(false);
        else
            OpenList();
    });
    if (used)
        event->accept();
    else
        TInplaceEdit::mousePressEvent(event);
}

void TOrvoDBGridEditor::paintEvent(QPaintEvent* event)
{
    TInplaceEdit::paintEvent(event);
    TExceptionHandler::Guard([this] {
        const QRect button = ButtonRect();
        if (button.isEmpty())
            return;
        QPainter painter(this);
        QStyleOption option;
        option.initFrom(this);
        option.rect = button;
        option.state |= QStyle::State_Raised;
        if (ListOpen())
            option.state |= QStyle::State_Sunken;
        style()->drawPrimitive(QStyle::PE_PanelButtonTool, &option, &painter, this);
        option.rect = button.adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &option, &painter, this);
    });
}

void TOrvoDBGridEditor::resizeEvent(QResizeEvent* event)
{
    TInplaceEdit::resizeEvent(event);
    update();
}

} // namespace orvo
