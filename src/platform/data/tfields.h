#pragma once

#include <QList>
#include <QString>

namespace orvo {

class TDataSet;
class TField;

/// A dataset's fields in their display order. The list does not own the
/// fields: default fields belong to the dataset, persistent ones to whoever
/// created them; every field registers and unregisters itself.
class TFields
{
public:
    explicit TFields(TDataSet* dataSet) : FDataSet(dataSet) {}

    int Count() const { return FList.size(); }
    TField* Field(int index) const;
    TField* operator[](int index) const { return Field(index); }
    /// Raises EDatabaseError "Field 'X' not found" (naming the dataset when it has a name).
    TField* FieldByName(const QString& name) const;
    /// Case-insensitive; nullptr for a missing name.
    TField* FindField(const QString& name) const;
    int IndexOf(const TField* field) const { return FList.indexOf(const_cast<TField*>(field)); }
    /// Moves the field at `from` to position `to` (clamped to the list).
    void Move(int from, int to);
    /// Places `field` at `index` (clamped); the field's Index setter calls it.
    void SetFieldIndex(TField* field, int index);
    TDataSet* DataSet() const { return FDataSet; }
    const QList<TField*>& List() const { return FList; }

private:
    friend class TDataSet;
    void Add(TField* field) { FList.append(field); }
    void Remove(TField* field) { FList.removeOne(field); }

    TDataSet* FDataSet;
    QList<TField*> FList;
};

} // namespace orvo
