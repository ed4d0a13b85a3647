#include "grid/filter/torvodbgridfilter.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/filter/filtertexts.h"
#include "grid/filter/torvofilterdialect.h"
#include "platform/core/tscopecleanup.h"
#include "platform/data/tdataset.h"
#include "platform/data/tfield.h"
#include "platform/data/tfilterexpression.h"
#include "platform/graphics/tcustomimagelist.h"

#include <QMenu>

namespace orvo {

namespace {

bool HasFilter(const TOrvoColumn* column)
{
    return !column->FilterList().isEmpty() || !column->FilterText().isEmpty();
}

} // namespace

TOrvoDBGridFilter::TOrvoDBGridFilter(TOrvoCustomDBGrid* grid) : TPersistent(grid), FGrid(grid) {}

void TOrvoDBGridFilter::Assign(const TPersistent* source)
{
    const auto* other = qobject_cast<const TOrvoDBGridFilter*>(source);
    if (!other)
        AssignError(source);
    SetAutoFilter(other->FAutoFilter);
    SetAutoUpdate(other->FAutoUpdate);
    SetDropDownRows(other->FDropDownRows);
    SetDropDownWidth(other->FDropDownWidth);
    SetOptions(other->FOptions);
    SetClauses(other->FClauses);
    SetPeriods(other->FPeriods);
    SetAutoFilters(other->FAutoFilters);
    SetDecimalSeparator(other->FDecimalSeparator);
    SetFiltered(other->FFiltered);
}

void TOrvoDBGridFilter::SetFiltered(bool value)
{
    if (FFiltered == value)
        return;
    FFiltered = value;
    Rebuild();
    RequestApply();
    RequestLayout();
}

void TOrvoDBGridFilter::SetAutoFilter(bool value)
{
    if (FAutoFilter == value)
        return;
    FAutoFilter = value;
    RequestLayout();
}

void TOrvoDBGridFilter::SetAutoUpdate(bool value)
{
    if (FAutoUpdate == value)
        return;
    FAutoUpdate = value;
    RequestApply();
}

bool TOrvoDBGridFilter::HasColumnFilters() const
{
    const TOrvoDBGridColumns* columns = FGrid ? FGrid->Columns() : nullptr;
    for (int i = 0; columns && i < columns->Count(); ++i) {
        if (HasFilter(columns->Items(i)))
            return true;
    }
    return false;
}

void TOrvoDBGridFilter::SetDropDownRows(int value)
{
    FDropDownRows = qMax(0, value);
}

void TOrvoDBGridFilter::SetDropDownWidth(int value)
{
    FDropDownWidth = qMax(0, value);
}

void TOrvoDBGridFilter::SetAutoFilters(TFilterStyles value)
{
    if (FAutoFilters == value)
        return;
    FAutoFilters = value;
    RequestLayout();
}

namespace {

QList<TOrvoColumn*> LiveColumns(const QList<QPointer<TOrvoColumn>>& list)
{
    QList<TOrvoColumn*> columns;
    for (const QPointer<TOrvoColumn>& column : list) {
        if (column)
            columns << column.data();
    }
    return columns;
}

} // namespace

QList<TOrvoColumn*> TOrvoDBGridFilter::FilteredColumns() const
{
    return LiveColumns(FFilteredColumns);
}

QList<TOrvoColumn*> TOrvoDBGridFilter::RejectedColumns() const
{
    return LiveColumns(FRejectedColumns);
}

QString TOrvoDBGridFilter::GetDataSetFilter() const
{
    if (!FGrid)
        return FFilterText;
    return DataSetFilterText(FGrid->Filtered(), FGrid->Filter(), FFilterText);
}

TOrvoFilterDialect TOrvoDBGridFilter::Dialect() const
{
    const TDataSet* dataSet = FGrid ? FGrid->DataSet() : nullptr;
    return TOrvoFilterDialect(TOrvoFilterDialects::Find(dataSet ? dataSet->metaObject() : nullptr),
                              FDecimalSeparator);
}

TOrvoDBGridFilterClauses TOrvoDBGridFilter::AllowedClauses() const
{
    return Dialect().AllowedClauses(FClauses);
}

void TOrvoDBGridFilter::BeginUpdate()
{
    ++FUpdateCount;
}

void TOrvoDBGridFilter::EndUpdate()
{
    if (FUpdateCount == 0)
        return;
    --FUpdateCount;
    Changed();
}

void TOrvoDBGridFilter::Changed()
{
    if (FUpdateCount > 0)
        return;
    Rebuild();
    if (FGrid)
        FGrid->FilterChanged();
}

void TOrvoDBGridFilter::ClearFilters(int what)
{
    bool emptied = false;
    {
        ++FUpdateCount;
        const auto updated = Finally([this] { --FUpdateCount; });
        const TOrvoDBGridColumns* columns = FGrid ? FGrid->Columns() : nullptr;
        for (int i = 0; columns && i < columns->Count(); ++i) {
            TOrvoColumn* column = columns->Items(i);
            if ((what & cfFilterLists) && !column->FilterList().isEmpty()) {
                column->SetFilterList({});
                emptied = true;
            }
            if ((what & cfFilterTexts) && !column->FilterText().isEmpty()) {
                column->SetFilterText({});
                emptied = true;
            }
        }
    }
    if (emptied)
        Changed();
}

QStringList TOrvoDBGridFilter::Settings()
{
    QList<TColumnFilterLine> filters;
    for (const TOrvoColumn* column : FilteredColumns())
        filters << TColumnFilterLine{column->FieldName(), column->FilterText(), column->FilterList()};
    FSettingsLines = FilterSettingsLines(filters);
    return FSettingsLines;
}

void TOrvoDBGridFilter::SetSettings(const QStringList& lines)
{
    FSettingsLines = lines;
    BeginUpdate();
    const auto endUpdate = Finally([this] { EndUpdate(); });
    ClearFilters(cfFilterLists | cfFilterTexts);
    for (const TColumnFilterLine& filter : ParseFilterSettingsLines(lines)) {
        TOrvoColumn* column = FGrid ? FGrid->ColumnByFieldName(filter.FieldName) : nullptr;
        if (!column)
            continue;
        column->SetFilterText(filter.FilterText);
        column->SetFilterList(filter.FilterList);
    }
}

void TOrvoDBGridFilter::RestoreSettings()
{
    SetSettings(FSettingsLines);
}

void TOrvoDBGridFilter::Rebuild()
{
    FFilteredColumns.clear();
    FRejectedColumns.clear();
    QStringList expressions;
    const TOrvoDBGridColumns* columns = FGrid ? FGrid->Columns() : nullptr;
    for (int i = 0; FFiltered && columns && i < columns->Count(); ++i) {
        TOrvoColumn* column = columns->Items(i);
        if (!HasFilter(column))
            continue;
        FFilteredColumns << column;
        if (ExpressionAccepted(column->FilterText()))
            expressions << column->FilterText();
        else
            FRejectedColumns << column;
    }
    FFilterText = CombinedFilterText(expressions);
}

bool TOrvoDBGridFilter::ExpressionAccepted(const QString& expression) const
{
    if (expression.isEmpty())
        return true;
    if (!StandsAlone(expression))
        return false;
    const TDataSet* dataSet = FGrid ? FGrid->DataSet() : nullptr;
    if (!dataSet || !dataSet->Active())
        return true;
    // Parsed as the dataset will parse it: one part naming a field that has gone
    // must not make the dataset refuse every other part with it.
    const auto resolve = [dataSet](const QString& name) -> std::optional<TFilterExpression::TFieldRef> {
        const TField* field = dataSet->FindField(name);
        if (!field)
            return std::nullopt;
        return TFilterExpression::TFieldRef{0, field->DataType(), field->FieldName()};
    };
    try {
        TFilterExpression::Parse(expression, resolve);
    } catch (const EDatabaseError&) {
        return false;
    }
    return true;
}

void TOrvoDBGridFilter::RequestApply()
{
    if (FGrid)
        FGrid->ApplyFilter();
}

void TOrvoDBGridFilter::RequestLayout()
{
    if (FGrid)
        FGrid->LayoutChanged();
}

} // namespace orvo
