#include "grid/selection/torvocolumnlist.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "platform/core/exceptions.h"
#include "platform/graphics/tcustomimagelist.h"

#include <QMenu>

#include <algorithm>

namespace orvo {

TOrvoColumnList::TOrvoColumnList(TOrvoCustomDBGrid* grid) : FGrid(grid) {}

int TOrvoColumnList::Count() const
{
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

bool TOrvoColumnList::Selected(int columnIndex) const
{
    const TOrvoColumn* column = ColumnAt(columnIndex);
    int index = 0;
    return column && Find(column, index);
}

void TOrvoColumnList::SetSelected(int columnIndex, bool value)
{
    TOrvoColumn* column = ColumnAt(columnIndex);
    int index = 0;
    if (!column || Find(column, index) == value)
        return;
    if (value)
        FColumns.insert(index, column);
    else
        FColumns.removeAt(index);
    FCache = {};
}

void TOrvoColumnList::Clear()
{
    FColumns.clear();
    FCache = {};
}

void TOrvoColumnList::SaveIDs()
{
    DropDestroyed();
    FSavedIDs.clear();
    for (const QPointer<TOrvoColumn>& column : std::as_const(FColumns))
        FSavedIDs.push_back(column->ID());
}

void TOrvoColumnList::RestoreIDs()
{
    Clear();
    const TOrvoDBGridColumns* columns = FGrid ? FGrid->Columns() : nullptr;
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

} // namespace orvo
