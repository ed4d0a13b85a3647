#include "platform/data/tfielddefs.h"

#include "platform/core/tscopecleanup.h"
#include "platform/data/tbcdfield.h"
#include "platform/data/tdataset.h"
#include "platform/data/tfield.h"
#include "platform/data/tfieldfactory.h"

namespace orvo {

TFieldDef::TFieldDef(TFieldDefs* owner, const QString& name, TFieldType dataType, int size, bool required,
                     int fieldNo)
    : FOwner(owner), FName(name), FDataType(dataType), FSize(size), FFieldNo(fieldNo)
{
    SetRequired(required);
}

void TFieldDef::SetRequired(bool required)
{
    if (required)
        FAttributes.Include(faRequired);
    else
        FAttributes.Exclude(faRequired);
}

TField* TFieldDef::CreateField(QObject* owner) const
{
    TField* field = orvo::CreateField(FDataType, owner, FName);
    const auto dropField = OnUnwind([field] { delete field; });
    field->SetFieldName(FName);
    // A text definition of size 0 declares text of any length, not the class's default size.
    if (FSize > 0 || (FSize == 0 && IsStringFieldType(FDataType) && FDataType != ftGuid))
        field->SetSize(FSize);
    if (auto* bcd = qobject_cast<TBCDField*>(field))
        bcd->SetPrecision(FPrecision);
    field->SetRequired(Required());
    field->SetReadOnly(FAttributes.Contains(faReadonly));
    field->SetVisible(!FAttributes.Contains(faHiddenCol));
    if (FOwner && FOwner->DataSet())
        field->SetDataSet(FOwner->DataSet());
    return field;
}

TFieldDefs::~TFieldDefs() = default;

TFieldDef* TFieldDefs::Add(const QString& name, TFieldType dataType, int size, bool required)
{
    if (Find(name))
        throw EDatabaseError(QStringLiteral("Duplicate field name '%1'").arg(name));
    FItems.push_back(std::make_unique<TFieldDef>(this, name, dataType, size, required, Count() + 1));
    return FItems.back().get();
}

TFieldDef* TFieldDefs::Find(const QString& name) const
{
    const int index = IndexOf(name);
    return index < 0 ? nullptr : Items(index);
}

int TFieldDefs::IndexOf(const QString& name) const
{
    for (int i = 0; i < Count(); ++i)
        if (FItems[std::size_t(i)]->Name().compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void TFieldDefs::Clear()
{
    FItems.clear();
}

void TFieldDefs::Update()
{
    if (FUpdated || !FDataSet)
        return;
    FDataSet->InternalInitFieldDefs();
    FUpdated = true;
}

} // namespace orvo
