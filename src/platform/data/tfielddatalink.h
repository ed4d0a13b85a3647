#pragma once

#include "platform/data/tdatalink.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

namespace orvo {

class TField;
class TFieldDataLink;

using TFieldDataLinkEvent = std::function<void(TFieldDataLink* sender)>;

/// The link of a control that shows and edits one field: it finds the field
/// by name when the dataset opens or its fields change, reports data changes
/// of that field, and writes the control's edit back on UpdateRecord.
class TFieldDataLink : public TDataLink
{
public:
    TFieldDataLink() = default;

    QString FieldName() const { return FFieldName; }
    void SetFieldName(const QString& name);
    TField* Field() const;
    /// The control that takes the focus when its field is asked to (a QWidget), or nullptr.
    QObject* Control() const { return FControl; }
    void SetControl(QObject* control) { FControl = control; }
    /// Puts the dataset into edit mode when the field can be modified; true when editing.
    bool Edit();
    /// The control's text differs from the field: UpdateRecord will write it back.
    void Modified() { FModified = true; }
    bool IsModified() const { return FModified; }
    /// Forgets the control's edit and shows the field's value again.
    void Reset();
    bool CanModify() const;

    TFieldDataLinkEvent OnDataChange;
    TFieldDataLinkEvent OnUpdateData;
    TFieldDataLinkEvent OnActiveChange;
    TFieldDataLinkEvent OnEditingChange;

protected:
    void ActiveChanged() override;
    void EditingChanged() override;
    void FocusControl(TField** field) override;
    void LayoutChanged() override;
    void RecordChanged(TField* field) override;
    void UpdateData() override;
    void FieldRemoving(TField* field) override;

private:
    void UpdateField();
    void SetField(TField* field);
    void UpdateEditing();

    QString FFieldName;
    QPointer<TField> FField;
    QPointer<QObject> FControl;
    bool FEditing = false;
    bool FModified = false;
};

} // namespace orvo
