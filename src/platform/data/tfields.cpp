#include "platform/data/tfields.h"

#include "platform/core/exceptions.h"
#include "platform/data/tdataset.h"
#include "platform/data/tfield.h"

namespace orvo {

TField* TFields::Field(int index) const
{
    if (index < 0 || index >= FList.size())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return FList.at(index);
}

TField* TFields::FindField(const QString& name) const
{
    for (TField* field : FList)
        if (field->FieldName().compare(name, Qt::CaseInsensitive) == 0)
            return field;
    return nullptr;
}

TField* TFields::FieldByName(const QString& name) const
{
    if (TField* field = FindField(name))
        return field;
    const QString dataSetName = FDataSet ? FDataSet->objectName() : QString();
    const QString message = QStringLiteral("Field '%1' not found").arg(name);
    throw EDatabaseError(dataSetName.isEmpty() ? message : dataSetName + QStringLiteral(": ") + message);
}

void TFields::Move(int from, int to)
{
    if (from < 0 || from >= FList.size())
        return;
    to = std::clamp(to, 0, int(FList.size()) - 1);
    if (from == to)
        return;
    FList.move(from, to);
    if (FDataSet && FDataSet->Active())
        FDataSet->DataEvent(deLayoutChange);
}

void TFields::SetFieldIndex(TField* field, int index)
{
    Move(IndexOf(field), index);
}

} // namespace orvo
