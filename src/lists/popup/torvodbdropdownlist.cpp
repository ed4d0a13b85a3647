#include "lists/popup/torvodbdropdownlist.h"

#include "lists/popup/torvodbpopuplist.h"
#include "platform/core/texceptionhandler.h"
#include "platform/core/tscopecleanup.h"
#include "platform/gridbase/shiftstate.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>

#include <algorithm>

namespace orvo {

TOrvoDBDropDownList::TOrvoDBDropDownList(QWidget* parent) : QWidget(parent)
{
    hide();
}

TOrvoDBDropDownList::~TOrvoDBDropDownList()
{
    WatchOutside(false);
}

bool& TOrvoDBDropDownList::WheelForwarding()
{
    static bool forwarding = false;
    return forwarding;
}

void TOrvoDBDropDownList::SetListClass(const TListFactory& factory)
{
    if (ListShown())
        CloseUp(false);
    delete FList.data();
    FList = nullptr;
    if (factory)
        FList = factory(this, [this](bool accept) { CloseRequested(accept); });
}

bool TOrvoDBDropDownList::ListShown() const
{
    return FList && FList->ListShown();
}

bool TOrvoDBDropDownList::ListRedropping() const
{
    return FList && FList->Redropping();
}

void TOrvoDBDropDownList::CloseRequested(bool accept)
{
    CloseUp(accept);
}

// --- Opening and closing -------------------------------------------------------------------

void TOrvoDBDropDownList::DropDown()
{
    if (!FList || ListShown())
        return;
    FAccept = false;
    SetupList(true);
    TransferValue(true);
    DoDropDown();
    FList->AdjustListSize();
    QPoint position;
    GetListPosition(position);
    FList->ShowListAnimated(position);
    WatchOutside(true);
}

void TOrvoDBDropDownList::CloseUp(bool accept)
{
    if (!ListShown() || FApplying)
        return;
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    FAccept = accept;
    TVariant value;
    GetListValue(value);
    FValue = value;
    FList->HideList();
    WatchOutside(false);
    DoCloseUp(FAccept);
    TransferValue(false);
    SetupList(false);
    if (ListRedropping())
        return;
    QWidget* owner = parentWidget();
    if (hasFocus() && owner && owner->focusPolicy() != Qt::NoFocus)
        owner->setFocus();
    if (FReleaseOnClose)
        deleteLater();
}

void TOrvoDBDropDownList::ReopenList(bool accept)
{
    if (!ListShown())
        return;
    FList->SetRedropping(true);
    const QPointer<TOrvoDBPopupList> list = FList;
    const auto done = Finally([list] {
        if (list)
            list->SetRedropping(false);
    });
    CloseUp(accept);
    DropDown();
}

void TOrvoDBDropDownList::GetListPosition(QPoint& point)
{
    point = mapToGlobal(QPoint(0, 0));
    if (!FList)
        return;
    const QSize list = FList->size();
    const bool rightToLeft = layoutDirection() == Qt::RightToLeft;
    if (rightToLeft)
        point.rx() += width() - list.width();
    if (!FList->AlignUnder())
        point.rx() += rightToLeft ? -width() : width();
    // The whole virtual desktop, not the monitor that holds the container: a list may
    // open across the edge between two screens.
    const QRect desktop = screen()->virtualGeometry();
    const int desktopBottom = desktop.top() + desktop.height();
    const int desktopRight = desktop.left() + desktop.width();
    if (point.y() + list.height() + height() > desktopBottom)
        point.ry() = std::max(point.y() - list.height(), desktop.top());
    else
        point.ry() += height();
    if (point.x() + list.width() > desktopRight)
        point.rx() = desktopRight - list.width();
    point.rx() = std::max(point.x(), desktop.left());
}

void TOrvoDBDropDownList::GetListValue(TVariant& value)
{
    value = TVariant::Null();
}

void TOrvoDBDropDownList::TransferValue(bool) {}

void TOrvoDBDropDownList::SetupList(bool) {}

void TOrvoDBDropDownList::DoCloseUp(bool& accept)
{
    if (OnCloseUp)
        OnCloseUp(this, accept);
}

void TOrvoDBDropDownList::DoDropDown()
{
    if (OnDropDown)
        OnDropDown(this);
}

// --- Keys and wheel ---------------------------------------------------------------------------

void TOrvoDBDropDownList::DoListShortCut(int& key, TShiftState shift)
{
    if (!shift.Contains(ssAlt) || (key != Qt::Key_Up && key != Qt::Key_Down))
        return;
    if (ListShown())
        CloseUp(true);
    else
        DropDown();
    key = 0;
}

bool TOrvoDBDropDownList::RouteKey(QKeyEvent* event)
{
    if (!FList)
        return false;
    int key = event->key();
    DoListShortCut(key, ShiftStateOf(event->modifiers()));
    if (key == 0)
        return true;
    if (!ListShown())
        return false;
    QCoreApplication::sendEvent(FList, event);
    return true;
}

bool TOrvoDBDropDownList::RouteWheel(QWheelEvent* event)
{
    if (!ListShown())
        return false;
    if (WheelForwarding()) {
        event->accept();
        return true;
    }
    WheelForwarding() = true;
    const auto done = Finally([] { WheelForwarding() = false; });
    // A scroll area takes the wheel through its viewport only.
    QCoreApplication::sendEvent(FList->viewport(), event);
    return true;
}

void TOrvoDBDropDownList::keyPressEvent(QKeyEvent* event)
{
    bool used = false;
    TExceptionHandler::Guard([this, event, &used] {
        const int key = event->key();
        const bool enterOrEscape = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
        // Enter and Esc belong to the open list, never to the dialog's default buttons.
        if (ListShown() && enterOrEscape && !(event->modifiers() & Qt::AltModifier)) {
            CloseUp(key != Qt::Key_Escape);
            used = true;
            return;
        }
        used = RouteKey(event);
    });
    if (used)
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

void TOrvoDBDropDownList::mousePressEvent(QMouseEvent* event)
{
    TExceptionHandler::Guard([this, event] {
        if (event->button() != Qt::LeftButton)
            return;
        setFocus();
        if (ListShown())
            CloseUp(false);
        else
            DropDown();
    });
    QWidget::mousePressEvent(event);
}

void TOrvoDBDropDownList::wheelEvent(QWheelEvent* event)
{
    bool used = false;
    TExceptionHandler::Guard([this, event, &used] { used = RouteWheel(event); });
    if (!used)
        QWidget::wheelEvent(event);
}

void TOrvoDBDropDownList::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    TExceptionHandler::Guard([this] { CloseUp(false); });
}

// --- Closing on interaction elsewhere --------------------------------------------------------

void TOrvoDBDropDownList::WatchOutside(bool on)
{
    if (on == FWatching)
        return;
    FWatching = on;
    if (on)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

bool TOrvoDBDropDownList::BelongsToList(const QObject* object) const
{
    for (; object; object = object->parent()) {
        if (object == FList)
            return true;
    }
    return false;
}

bool TOrvoDBDropDownList::ClosesOnPress(const QObject* target) const
{
    // Presses reach the window objects before the widgets; only widgets are judged.
    if (!target->isWidgetType())
        return false;
    return target != this && target != parentWidget() && !BelongsToList(target);
}

bool TOrvoDBDropDownList::eventFilter(QObject* watched, QEvent* event)
{
    TExceptionHandler::Guard([this, watched, event] {
        const QEvent::Type type = event->type();
        const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
        if (press && ClosesOnPress(watched))
            CloseUp(false);
        // Some window systems activate the list's window although it asks not to be; the
        // owner's window losing the activation to its own list is no reason to close.
        else if (type == QEvent::WindowDeactivate && watched == window() &&
                 !BelongsToList(QApplication::activeWindow()))
            CloseUp(false);
    });
    return false;
}

} // namespace orvo
