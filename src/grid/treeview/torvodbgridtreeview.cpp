#include "grid/treeview/torvodbgridtreeview.h"

#include "grid/dbgrid/fieldlists.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "platform/data/tdataset.h"
#include "platform/data/tfield.h"
#include "platform/data/tfielddefs.h"
#include "platform/data/tfieldfactory.h"
#include "platform/data/tfields.h"

namespace orvo {

TOrvoDBGridTreeView::TOrvoDBGridTreeView(TOrvoCustomDBGrid* grid) : TPersistent(grid), FGrid(grid) {}

TOrvoCustomDBGrid* TOrvoDBGridTreeView::Grid() const
{
    return FGrid;
}

TDataSet* TOrvoDBGridTreeView::DataSet() const
{
    return FGrid ? FGrid->DataSet() : nullptr;
}

QString TOrvoDBGridTreeView::NormalizedFieldList(const QString& text) const
{
    return orvo::NormalizedFieldList(text, DataSet());
}

QString TOrvoDBGridTreeView::ApartFromDefault(const QString& value, const QString& defaultValue)
{
    return value.compare(defaultValue, Qt::CaseInsensitive) == 0 ? QString() : value;
}

void TOrvoDBGridTreeView::SetOpenToLevel(int value)
{
    FOpenToLevel = std::max(value, -1);
}

void TOrvoDBGridTreeView::SetColumnNames(const QString& value)
{
    FColumnNames = NormalizedFieldList(value);
}

QString TOrvoDBGridTreeView::KeyFields() const
{
    return FGrid ? FGrid->KeyFields() : QString();
}

void TOrvoDBGridTreeView::SetKeyFields(const QString& value)
{
    if (FGrid)
        FGrid->SetKeyFields(value);
}

void TOrvoDBGridTreeView::SetParentFields(const QString& value)
{
    FParentFields = NormalizedFieldList(value);
}

QString TOrvoDBGridTreeView::GetDefaultRowLevelFieldName() const
{
    return QStringLiteral("RowLevel");
}

QString TOrvoDBGridTreeView::GetDefaultRowOrderFieldName() const
{
    return QStringLiteral("RowOrder");
}

int TOrvoDBGridTreeView::GetDefaultRowOrderFieldSize() const
{
    return DefaultRowOrderFieldSize;
}

QString TOrvoDBGridTreeView::GetDefaultRowStateFieldName() const
{
    return QStringLiteral("RowState");
}

QString TOrvoDBGridTreeView::RowLevelFieldName() const
{
    return FRowLevelFieldName.isEmpty() ? GetDefaultRowLevelFieldName() : FRowLevelFieldName;
}

void TOrvoDBGridTreeView::SetRowLevelFieldName(const QString& value)
{
    FRowLevelFieldName = ApartFromDefault(value.trimmed(), GetDefaultRowLevelFieldName());
}

QString TOrvoDBGridTreeView::RowOrderFieldName() const
{
    return FRowOrderFieldName.isEmpty() ? GetDefaultRowOrderFieldName() : FRowOrderFieldName;
}

void TOrvoDBGridTreeView::SetRowOrderFieldName(const QString& value)
{
    FRowOrderFieldName = ApartFromDefault(value.trimmed(), GetDefaultRowOrderFieldName());
}

void TOrvoDBGridTreeView::SetRowOrderFieldSize(int value)
{
    if (value <= 0)
        value = GetDefaultRowOrderFieldSize();
    FRowOrderFieldSize = std::max(value, MinRowOrderFieldSize);
}

QString TOrvoDBGridTreeView::RowStateFieldName() const
{
    return FRowStateFieldName.isEmpty() ? GetDefaultRowStateFieldName() : FRowStateFieldName;
}

void TOrvoDBGridTreeView::SetRowStateFieldName(const QString& value)
{
    FRowStateFieldName = ApartFromDefault(value.trimmed(), GetDefaultRowStateFieldName());
}

bool TOrvoDBGridTreeView::FindTreeFields(TDataSet* dataSet)
{
    FRowLevelField = dataSet ? dataSet->FindField(RowLevelFieldName()) : nullptr;
    FRowOrderField = dataSet ? dataSet->FindField(RowOrderFieldName()) : nullptr;
    FRowStateField = dataSet ? dataSet->FindField(RowStateFieldName()) : nullptr;
    return FRowLevelField && FRowOrderField && FRowStateField;
}

void TOrvoDBGridTreeView::CreatePersistentFields(TDataSet* dataSet)
{
    TFieldDefs* defs = dataSet->FieldDefs();
    defs->Update();
    for (int i = 0; i < defs->Count(); ++i)
        defs->Items(i)->CreateField(dataSet);
}

void TOrvoDBGridTreeView::CreateInternalField(TDataSet* dataSet, const QString& name, TFieldType type,
                                              int size)
{
    if (dataSet->FindField(name))
        return;
    TField* field = CreateField(type, dataSet, name);
    field->SetFieldName(name);
    if (size > 0)
        field->SetSize(size);
    field->SetFieldKind(fkInternalCalc);
    field->SetVisible(false);
    field->SetDataSet(dataSet);
}

void TOrvoDBGridTreeView::CreateTreeFields(TDataSet* dataSet)
{
    if (!dataSet || dataSet->Active())
        return;
    if (dataSet->Fields()->Count() == 0)
        CreatePersistentFields(dataSet);
    CreateInternalField(dataSet, RowLevelFieldName(), ftInteger, 0);
    CreateInternalField(dataSet, RowOrderFieldName(), ftString, FRowOrderFieldSize);
    CreateInternalField(dataSet, RowStateFieldName(), ftInteger, 0);
}

void TOrvoDBGridTreeView::ForgetTreeFields()
{
    FRowLevelField = nullptr;
    FRowOrderField = nullptr;
    FRowStateField = nullptr;
}

TField* TOrvoDBGridTreeView::RowLevelField() const
{
    return FRowLevelField;
}

TField* TOrvoDBGridTreeView::RowOrderField() const
{
    return FRowOrderField;
}

TField* TOrvoDBGridTreeView::RowStateField() const
{
    return FRowStateField;
}

void TOrvoDBGridTreeView::ExpandBoxClick(TShiftState shift)
{
    if (shift.Contains(ssCtrl))
        RevealCurrentRow();
    else
        ToggleExpanded(shift.Contains(ssShift));
}

void TOrvoDBGridTreeView::ToggleExpanded(bool) {}

void TOrvoDBGridTreeView::RevealCurrentRow() {}

int TOrvoDBGridTreeView::RowLevel() const
{
    return FRowLevelField && !FRowLevelField->IsNull() ? FRowLevelField->AsInteger() : 0;
}

QString TOrvoDBGridTreeView::RowOrder() const
{
    return FRowOrderField ? FRowOrderField->AsString() : QString();
}

int TOrvoDBGridTreeView::RowState() const
{
    return FRowStateField && !FRowStateField->IsNull() ? FRowStateField->AsInteger() : 0;
}

int TOrvoDBGridTreeView::PathWidth(int recordCount)
{
    return int(QString::number(std::max(recordCount, 0)).size()) + 1;
}

QString TOrvoDBGridTreeView::FormatRowNumber(int recNo, int width)
{
    return QString::number(recNo).rightJustified(width, QLatin1Char(' '));
}

void TOrvoDBGridTreeView::Assign(const TPersistent* source)
{
    const auto* treeView = qobject_cast<const TOrvoDBGridTreeView*>(source);
    if (!treeView) {
        TPersistent::Assign(source);
        return;
    }
    FAutoActive = treeView->FAutoActive;
    FAutoUpdate = treeView->FAutoUpdate;
    FCellExpand = treeView->FCellExpand;
    FOpenToLevel = treeView->FOpenToLevel;
    SetColumnNames(treeView->FColumnNames);
    SetParentFields(treeView->FParentFields);
    FRowLevelFieldName = treeView->FRowLevelFieldName;
    FRowOrderFieldName = treeView->FRowOrderFieldName;
    FRowOrderFieldSize = treeView->FRowOrderFieldSize;
    FRowStateFieldName = treeView->FRowStateFieldName;
}

} // namespace orvo
