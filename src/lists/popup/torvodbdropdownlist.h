#pragma once

#include "lists/popup/torvodbpopuplist.h"
#include "platform/core/tvariant.h"
#include "platform/gridbase/gridenums.h"

#include <QPointer>
#include <QWidget>

#include <functional>

namespace orvo {

/// The anchor and owner of a popup list: an invisible widget laid over the editor that
/// opens the list. Only its bounds matter: the list opens under it (or above it when
/// the desktop ends), it routes keys and wheel turns to the list while the list is
/// open, and opening and closing go through it in one fixed order, so that whoever
/// asked gets the list's value and the accept flag back (OnCloseUp may change it).
///
/// While the list is shown, a mouse press outside the list, the container and the
/// container's parent, or the deactivation of the container's window, closes it
/// without accepting. With ReleaseOnClose the container deletes itself after the close
/// (deleteLater, so never inside its own call chain).
class TOrvoDBDropDownList : public QWidget
{
    Q_OBJECT

public:
    using TCloseUpEvent = std::function<void(QObject* sender, bool& accept)>;
    using TDropDownEvent = std::function<void(QObject* sender)>;
    using TCloseRequestEvent = std::function<void(bool accept)>;
    /// Makes the list of a container: owner and Qt parent first, then the close request.
    using TListFactory = std::function<TOrvoDBPopupList*(QWidget* parent, TCloseRequestEvent closeRequest)>;

    explicit TOrvoDBDropDownList(QWidget* parent = nullptr);
    ~TOrvoDBDropDownList() override;

    /// Closes and frees the current list, then makes a new one with `factory` (none
    /// when empty), the container as its parent and CloseUp as its close request.
    void SetListClass(const TListFactory& factory);
    template <typename TList> void SetListClass()
    {
        SetListClass([](QWidget* parent, TCloseRequestEvent closeRequest) {
            return new TList(parent, std::move(closeRequest));
        });
    }
    TOrvoDBPopupList* List() const { return FList; }
    bool HasList() const { return FList != nullptr; }
    bool ListShown() const;
    bool ListRedropping() const;

    /// Fired after the list hides; the handler may change `accept`.
    TCloseUpEvent OnCloseUp;
    /// Fired once the list is set up and loaded, before it is sized and shown.
    TDropDownEvent OnDropDown;
    bool ReleaseOnClose() const { return FReleaseOnClose; }
    void SetReleaseOnClose(bool value) { FReleaseOnClose = value; }
    /// A change is being applied while the list stays open: CloseUp waits.
    bool Applying() const { return FApplying; }
    void SetApplying(bool value) { FApplying = value; }
    /// The accept flag of the current or last close-up.
    bool Accept() const { return FAccept; }
    /// The list's value taken at the last close-up.
    TVariant Value() const { return FValue; }
    /// A close-up handler may change the value before it is written back.
    void SetValue(const TVariant& value) { FValue = value; }

    virtual void DropDown();
    virtual void CloseUp(bool accept);
    /// Closes and opens again in place: the list neither hides nor slides.
    virtual void ReopenList(bool accept);
    /// The global point the list opens at.
    virtual void GetListPosition(QPoint& point);

    /// Hands a key of the editor that owns the container to the list: the short cuts
    /// first, then, while the list is shown, the key event itself. True when the key
    /// was used.
    bool RouteKey(QKeyEvent* event);
    /// The wheel to the list while it is shown; answers whether it was taken.
    bool RouteWheel(QWheelEvent* event);
    /// The guard that stops a wheel turn from bouncing between container and list.
    static bool& WheelForwarding();

protected:
    /// Alt+Up and Alt+Down toggle the list and clear `key`.
    virtual void DoListShortCut(int& key, TShiftState shift);
    virtual void DoCloseUp(bool& accept);
    virtual void DoDropDown();
    /// Null here; the concrete containers answer with their list's value.
    virtual void GetListValue(TVariant& value);
    /// Loads the value into the list (`opening`) or writes it back when accepted.
    virtual void TransferValue(bool opening);
    virtual void SetupList(bool opening);

    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CloseRequested(bool accept);
    void WatchOutside(bool on);
    bool BelongsToList(const QObject* object) const;
    bool ClosesOnPress(const QObject* target) const;

    QPointer<TOrvoDBPopupList> FList;
    bool FReleaseOnClose = false;
    bool FApplying = false;
    bool FAccept = false;
    bool FWatching = false;
    TVariant FValue;
};

} // namespace orvo
