#pragma once

#include "controls/torvocontrolenums.h"
#include "platform/core/tpersistent.h"

#include <QList>
#include <QPointer>

class QWidget;

namespace orvo {

class TOrvoCheckBox;
class TOrvoGroupBox;

/// The optional check box in the caption of a group box. With an Action it enables
/// or disables the controls inside the group box as it is checked or unchecked, and
/// it remembers which controls it changed, so that the opposite state restores
/// exactly those and leaves alone what the program had disabled (or enabled) itself.
/// Checked and Enabled are kept while the check box is hidden.
class TOrvoGroupCheckBox : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(orvo::TOrvoCheckBoxAction Action READ Action WRITE SetAction)
    Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

public:
    explicit TOrvoGroupCheckBox(TOrvoGroupBox* groupBox);
    ~TOrvoGroupCheckBox() override;

    TOrvoGroupBox* GroupBox() const { return FGroupBox; }
    /// The check box control; null while the check box is hidden.
    TOrvoCheckBox* Control() const { return FControl; }

    TOrvoCheckBoxAction Action() const { return FAction; }
    void SetAction(TOrvoCheckBoxAction value) { FAction = value; }
    bool Checked() const;
    void SetChecked(bool value);
    bool Enabled() const;
    void SetEnabled(bool value);
    /// Showing creates the check box control in the caption; hiding frees it.
    bool Visible() const { return FControl != nullptr; }
    void SetVisible(bool value);

    /// The controls the check box has changed and will change back.
    QList<QWidget*> ChangedControls() const;

    /// Copies Action, Checked, Enabled and Visible of another group check box.
    void Assign(const TPersistent* source) override;

    /// The check box was toggled: apply the action, then tell the group box's owner.
    virtual void CheckBoxClick();
    /// Enables or disables the children of `control`, recursively, as Action and
    /// Checked say.
    virtual void ApplyAction(QWidget* control);
    /// Brings the controls into line with Checked once the group box is complete.
    virtual void UpdateAction();
    /// Puts the check box control at the start of the caption.
    virtual void PlaceCheckBox();

private:
    void CreateControl();
    void DestroyControl();
    void Record(QWidget* control);
    bool WasChanged(const QWidget* control) const;

    QPointer<TOrvoGroupBox> FGroupBox;
    QPointer<TOrvoCheckBox> FControl;
    TOrvoCheckBoxAction FAction = caNone;
    bool FChecked = true;
    bool FEnabled = true;
    QList<QPointer<QWidget>> FChangedControls;
};

} // namespace orvo
