#include "controls/torvogroupcheckbox.h"

#include "controls/systemprobes.h"
#include "controls/torvocheckbox.h"
#include "controls/torvogroupbox.h"
#include "platform/core/texceptionhandler.h"

#include <QFontMetrics>
#include <QStyle>

namespace orvo {

namespace {

// A widget's own Enabled setting, not the one it inherits from disabled parents:
// the action must see what the program set on each control.
bool ownEnabled(const QWidget* widget)
{
    return !widget->testAttribute(Qt::WA_ForceDisabled);
}

} // namespace

TOrvoGroupCheckBox::TOrvoGroupCheckBox(TOrvoGroupBox* groupBox) : FGroupBox(groupBox) {}

TOrvoGroupCheckBox::~TOrvoGroupCheckBox()
{
    delete FControl.data();
}

bool TOrvoGroupCheckBox::Checked() const
{
    return FControl ? FControl->isChecked() : FChecked;
}

void TOrvoGroupCheckBox::SetChecked(bool value)
{
    if (Checked() == value)
        return;
    FChecked = value;
    if (FControl)
        FControl->setChecked(value);
}

bool TOrvoGroupCheckBox::Enabled() const
{
    return FControl ? ownEnabled(FControl) : FEnabled;
}

void TOrvoGroupCheckBox::SetEnabled(bool value)
{
    if (Enabled() == value)
        return;
    FEnabled = value;
    if (FControl)
        FControl->setEnabled(value);
}

void TOrvoGroupCheckBox::SetVisible(bool value)
{
    if (Visible() == value || !FGroupBox)
        return;
    if (value)
        CreateControl();
    else
        DestroyControl();
    FGroupBox->updateGeometry();
    FGroupBox->update();
}

void TOrvoGroupCheckBox::CreateControl()
{
    FControl = new TOrvoCheckBox(FGroupBox);
    FControl->setFocusPolicy(Qt::ClickFocus);
    FControl->setChecked(FChecked);
    FControl->setEnabled(FEnabled);
    PlaceCheckBox();
    // toggled, not clicked: a program setting Checked applies the action too.
    QObject::connect(FControl, &QAbstractButton::toggled, this,
                     [this] { TExceptionHandler::Guard([this] { CheckBoxClick(); }); });
    FControl->show();
}

void TOrvoGroupCheckBox::DestroyControl()
{
    FChecked = FControl->isChecked();
    FEnabled = ownEnabled(FControl);
    delete FControl.data();
}

QList<QWidget*> TOrvoGroupCheckBox::ChangedControls() const
{
    QList<QWidget*> result;
    for (const QPointer<QWidget>& control : FChangedControls) {
        if (control)
            result.append(control);
    }
    return result;
}

void TOrvoGroupCheckBox::Assign(const TPersistent* source)
{
    const auto* other = qobject_cast<const TOrvoGroupCheckBox*>(source);
    if (!other)
        AssignError(source);
    SetAction(other->Action());
    SetChecked(other->Checked());
    SetEnabled(other->Enabled());
    SetVisible(other->Visible());
}

void TOrvoGroupCheckBox::CheckBoxClick()
{
    ApplyAction(FGroupBox);
    if (FGroupBox)
        FGroupBox->CheckBoxChanged();
}

void TOrvoGroupCheckBox::Record(QWidget* control)
{
    if (!WasChanged(control))
        FChangedControls.append(control);
}

bool TOrvoGroupCheckBox::WasChanged(const QWidget* control) const
{
    return std::any_of(FChangedControls.begin(), FChangedControls.end(),
                       [control](const QPointer<QWidget>& changed) { return changed == control; });
}

void TOrvoGroupCheckBox::ApplyAction(QWidget* control)
{
    if (FAction == caNone || !control)
        return;
    const bool enabling = FAction == caEnable;
    const bool checked = Checked();
    // Armed: the state in which the action changes controls; the other state undoes it.
    const bool armed = checked == enabling;
    for (QWidget* child : control->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child == FControl)
            continue;
        if (armed && ownEnabled(child) != enabling) {
            Record(child);
            child->setEnabled(checked);
        } else if (!armed && ownEnabled(child) == enabling && WasChanged(child)) {
            child->setEnabled(checked);
        }
        ApplyAction(child);
    }
    if (control == FGroupBox && !armed)
        FChangedControls.clear();
}

void TOrvoGroupCheckBox::UpdateAction()
{
    if (!Visible() || FAction == caNone)
        return;
    if ((FAction == caDisable) != Checked())
        CheckBoxClick();
}

void TOrvoGroupCheckBox::PlaceCheckBox()
{
    if (!FControl || !FGroupBox)
        return;
    const QFontMetrics metrics(FGroupBox->font());
    // The style's indicator, so that the box is neither cut nor padded.
    const int box = FControl->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, FControl);
    QRect bounds(0, 0, box, box);
    const int drop = (metrics.height() - box + 1) / 2;
    if (drop > 0)
        bounds.translate(0, drop);
    if (!FGroupBox->title().isEmpty())
        bounds.setWidth(bounds.width() + metrics.horizontalAdvance(QLatin1Char('0')) / 2 +
                        (ThemesEnabled(FGroupBox) ? 0 : 2));
    const int left = FGroupBox->layoutDirection() == Qt::RightToLeft
                         ? FGroupBox->width() - bounds.width() - TOrvoGroupBox::CaptionIndent
                         : TOrvoGroupBox::CaptionIndent;
    bounds.moveLeft(left);
    FControl->setGeometry(bounds);
}

} // namespace orvo
