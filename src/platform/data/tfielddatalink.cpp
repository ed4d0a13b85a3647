#include "platform/data/tfielddatalink.h"

#include "platform/data/tdataset.h"
#include "platform/data/tfield.h"

#include <QWidget>

namespace orvo {

TField* TFieldDataLink::Field() const
{
    return FField.data();
}

void TFieldDataLink::SetFieldName(const QString& name)
{
    if (name == FFieldName)
        return;
    FFieldName = name;
    UpdateField();
}

void TFieldDataLink::UpdateField()
{
    // FindField, not FieldByName: a control naming a missing field shows nothing rather than
    // turning every open of the dataset into an error raised from inside a notification.
    if (Active() && !FFieldName.isEmpty())
        SetField(DataSet()->FindField(FFieldName));
    else
        SetField(nullptr);
}

void TFieldDataLink::SetField(TField* field)
{
    if (field == FField)
        return;
    FField = field;
    UpdateEditing();
    RecordChanged(nullptr);
}

bool TFieldDataLink::Edit()
{
    if (CanModify())
        TDataLink::Edit();
    return FEditing;
}

void TFieldDataLink::Reset()
{
    RecordChanged(nullptr);
}

bool TFieldDataLink::CanModify() const
{
    return !ReadOnly() && FField && FField->CanModify();
}

void TFieldDataLink::UpdateEditing()
{
    const bool editing = Editing() && CanModify();
    if (editing == FEditing)
        return;
    FEditing = editing;
    FModified = false;
    if (OnEditingChange)
        OnEditingChange(this);
}

void TFieldDataLink::ActiveChanged()
{
    UpdateField();
    if (OnActiveChange)
        OnActiveChange(this);
}

void TFieldDataLink::EditingChanged()
{
    UpdateEditing();
}

void TFieldDataLink::FocusControl(TField** field)
{
    if (!*field || *field != FField)
        return;
    auto* widget = qobject_cast<QWidget*>(FControl.data());
    if (!widget || !widget->isEnabled())
        return;
    *field = nullptr;
    widget->setFocus();
}

void TFieldDataLink::LayoutChanged()
{
    UpdateField();
}

void TFieldDataLink::RecordChanged(TField* field)
{
    if (field && field != FField)
        return;
    if (OnDataChange)
        OnDataChange(this);
    FModified = false;
}

void TFieldDataLink::UpdateData()
{
    if (!FModified)
        return;
    if (FField && OnUpdateData)
        OnUpdateData(this);
    FModified = false;
}

void TFieldDataLink::FieldRemoving(TField* field)
{
    if (field == FField)
        SetField(nullptr);
}

} // namespace orvo
