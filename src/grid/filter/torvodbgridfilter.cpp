#include "grid/filter/torvodbgridfilter.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/filter/filtertexts.h"
#include "grid/filter/torvofilterdialect.h"
#include "platform/core/tscopecleanup.h"
#include "platform/data/tdataset.h"
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
    FAutoUpdate = value;
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

QList<TOrvoColumn*> TOrvoDBGridFilter::FilteredColumns() const
{
    QList<TOrvoColumn*> columns;
    for (const QPointer<TOrvoColumn>& column : FFilteredColumns) {
        if (column)
            columns << column.data();
    }
    return columns;
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
    const QString className = dataSet ? QString::fromLatin1(dataSet->metaObject()->className()) : QString();
    // The meta-object's name carries the namespace; the families are named without it.
    return TOrvoFilterDialect(className.section(QStringLiteral("::"), -1), FDecimalSeparator);
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
    QStringList expressions;
    const TOrvoDBGridColumns* columns = FGrid ? FGrid->Columns() : nullptr;
    for (int i = 0; FFiltered && columns && i < columns->Count(); ++i) {
        TOrvoColumn* column = columns->Items(i);
        if (!HasFilter(column))
            continue;
        FFilteredColumns << column;
        expressions << column->FilterText();
    }
    FFilterText = CombinedFilterText(expressions);
}

void TOrvoDBGridFilter::RequestLayout()
{
    if (FGrid)
        FGrid->LayoutChanged();
}

} // namespace orvo
