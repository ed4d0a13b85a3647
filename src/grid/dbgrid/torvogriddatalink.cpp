#include "grid/dbgrid/torvogriddatalink.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "platform/core/exceptions.h"
#include "platform/core/tscopecleanup.h"
#include "platform/data/tdataset.h"
#include "platform/data/tfield.h"
#include "platform/data/tfields.h"

#include <algorithm>

namespace orvo {

TOrvoGridDataLink::TOrvoGridDataLink(TOrvoCustomDBGrid* grid) : FGrid(grid) {}

void TOrvoGridDataLink::ActiveChanged()
{
    FModified = false;
    if (Active() && DataSet()->IsUniDirectional())
        throw EDatabaseError(QStringLiteral("Operation not allowed on a unidirectional dataset"));
    FGrid->LinkActive(Active());
}

void TOrvoGridDataLink::DataSetChanged()
{
    FGrid->DataChanged();
    FModified = false;
}

void TOrvoGridDataLink::DataSetScrolled(int distance)
{
    FGrid->Scroll(distance);
}

void TOrvoGridDataLink::EditingChanged()
{
    FGrid->EditingChanged();
}

void TOrvoGridDataLink::LayoutChanged()
{
    FGrid->LayoutChanged();
    TDataLink::LayoutChanged();
}

void TOrvoGridDataLink::FocusControl(TField** field)
{
    // The field asked for a control to edit it: this grid took the request.
    if (field && *field && FGrid->FocusField(*field))
        *field = nullptr;
}

bool TOrvoGridDataLink::ScrollableColumnShows(const TField* field) const
{
    const TOrvoDBGridColumns* columns = FGrid->Columns();
    for (int i = std::max(0, FGrid->FixedColsProperty()); i < columns->Count(); ++i)
        if (columns->Items(i)->Field() == field)
            return true;
    return false;
}

void TOrvoGridDataLink::RecordChanged(TField* field)
{
    // Another field changed under a pending edit (a calculation, say): the typed text
    // goes to its own field first, so that the record's refresh does not drop it.
    if (FModified && field && field->FieldKind() == fkData && field != FGrid->SelectedField() &&
        !FInUpdateData && ScrollableColumnShows(field))
        UpdateData();
    FGrid->RecordChanged(field);
    FModified = false;
}

void TOrvoGridDataLink::UpdateData()
{
    FInUpdateData = true;
    const auto updated = Finally([this] { FInUpdateData = false; });
    if (FModified)
        FGrid->UpdateData();
    FModified = false;
}

void TOrvoGridDataLink::FieldRemoving(TField* field)
{
    TDataLink::FieldRemoving(field);
    FGrid->FieldRemoving(field);
}

void TOrvoGridDataLink::ClearMapping()
{
    FFieldMap.clear();
    FSparseMap = false;
}

void TOrvoGridDataLink::AddMapping(int fieldIndex)
{
    static constexpr std::size_t MaxMapEntries = 268435454;
    if (FFieldMap.size() >= MaxMapEntries)
        throw EInvalidGridOperation(QStringLiteral("Grid requested to display more than 256 columns"));
    FFieldMap.push_back(fieldIndex);
}

TField* TOrvoGridDataLink::MappedField(int index) const
{
    if (index < 0 || index >= MappingCount() || FFieldMap[index] < 0 || !DataSet())
        return nullptr;
    const QList<TField*>& fields = DataSet()->Fields()->List();
    return FFieldMap[index] < fields.size() ? fields[FFieldMap[index]] : nullptr;
}

bool TOrvoGridDataLink::DefaultFieldsTest() const
{
    const TDataSet* dataSet = DataSet();
    if (!dataSet)
        return true;
    return dataSet->DefaultFields() &&
           (!FSparseMap || std::find(FFieldMap.begin(), FFieldMap.end(), -1) == FFieldMap.end());
}

} // namespace orvo
