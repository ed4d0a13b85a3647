#include "grid/selection/torvocolumnlist.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvocustomdbgrid_p.h"
#include "grid/selection/torvogridselection.h"
#include "platform/core/exceptions.h"
#include "platform/core/tscopecleanup.h"

#include <algorithm>

namespace orvo {

TOrvoColumnList::TOrvoColumnList(TOrvoCustomDBGrid* grid) : FGrid(grid) {}

int TOrvoColumnList::Count() const
{
    Materialize();
    DropDestroyed();
    return int(FColumns.size());
}

TOrvoColumn* TOrvoColumnList::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return FColumns.at(index);
}

bool TOrvoColumnList::Find(const TOrvoColumn* column, int& index) const
{
    Materialize();
    DropDestroyed();
    if (column && FCache.Column == column) {
        index = FCache.Index;
        return FCache.Found;
    }
    const int wanted = column ? column->Index() : -1;
    const auto at =
        std::partition_point(FColumns.cbegin(), FColumns.cend(),
                             [wanted](const TOrvoColumn* listed) { return listed->Index() < wanted; });
    const int low = int(at - FColumns.cbegin());
    const bool found = at != FColumns.cend() && (*at)->Index() == wanted;
    index = low;
    FCache = {column, low, found};
    return found;
}

void TOrvoColumnList::Renumber()
{
    if (RangeBacked())
        return;
    DropDestroyed();
    std::stable_sort(FColumns.begin(), FColumns.end(),
                     [](const TOrvoColumn* a, const TOrvoColumn* b) { return a->Index() < b->Index(); });
    FCache = {};
}

bool TOrvoColumnList::Selected(int columnIndex) const
{
    const TOrvoColumn* column = ColumnAt(columnIndex);
    if (!column)
        return false;
    // Painting asks for every cell: a range answers without building the entries.
    if (RangeBacked())
        return InRange(columnIndex);
    int index = 0;
    return Find(column, index);
}

void TOrvoColumnList::SetSelected(int columnIndex, bool value)
{
    TOrvoColumn* column = ColumnAt(columnIndex);
    int index = 0;
    if (!column || Find(column, index) == value)
        return;
    FGrid->BeginSelectionUpdate();
    const auto end = Finally([this] { FGrid->EndSelectionUpdate(); });
    if (value)
        FColumns.insert(index, column);
    else
        FColumns.removeAt(index);
    FRangeBacked = false;
    FCache = {};
    FGrid->d->FSelection->ColumnsChanged();
}

void TOrvoColumnList::Clear()
{
    if (!FHasList)
        return;
    FColumns.clear();
    FRangeBacked = false;
    FCache = {};
}

void TOrvoColumnList::DiscardList()
{
    FColumns.clear();
    FHasList = false;
    FRangeBacked = true;
    FCache = {};
}

void TOrvoColumnList::SaveIDs()
{
    Materialize();
    DropDestroyed();
    FSavedIDs.clear();
    for (const QPointer<TOrvoColumn>& column : std::as_const(FColumns))
        FSavedIDs.push_back(column->ID());
}

void TOrvoColumnList::RestoreIDs()
{
    FGrid->BeginSelectionUpdate();
    const auto end = Finally([this] { FGrid->EndSelectionUpdate(); });
    Materialize();
    Clear();
    const TOrvoDBGridColumns* columns = FGrid->Columns();
    if (!columns)
        return;
    for (int id : FSavedIDs) {
        if (auto* column = qobject_cast<TOrvoColumn*>(columns->FindItemID(id)))
            SetSelected(column->Index(), true);
    }
}

TOrvoColumn* TOrvoColumnList::ColumnAt(int columnIndex) const
{
    const TOrvoDBGridColumns* columns = FGrid ? FGrid->Columns() : nullptr;
    if (!columns || columnIndex < 0 || columnIndex >= columns->Count())
        return nullptr;
    return columns->Items(columnIndex);
}

void TOrvoColumnList::DropDestroyed() const
{
    if (FColumns.removeIf([](const QPointer<TOrvoColumn>& column) { return column.isNull(); }) > 0)
        FCache = {};
}

void TOrvoColumnList::Materialize() const
{
    if (FHasList)
        return;
    FHasList = true;
    FRangeBacked = true;
    FCache = {};
    if (!FGrid || FGrid->AnchorCol() < 0 || FGrid->CurrentCol() < 0)
        return;
    const int last = std::max(FGrid->AnchorCol(), FGrid->CurrentCol());
    for (int i = std::min(FGrid->AnchorCol(), FGrid->CurrentCol()); i <= last; ++i)
        if (TOrvoColumn* column = ColumnAt(i); column && InRange(i))
            FColumns.append(column);
}

bool TOrvoColumnList::InRange(int columnIndex) const
{
    const TMultiSelection mode = FGrid->SelectionMode();
    if (mode != msCols && mode != msCells)
        return false;
    const int anchor = FGrid->AnchorCol();
    const int current = FGrid->CurrentCol();
    return current >= 0 && columnIndex >= std::min(anchor, current) &&
           columnIndex <= std::max(anchor, current);
}

} // namespace orvo
