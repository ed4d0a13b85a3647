#include "grid/search/torvodbgridsearch.h"

#include "grid/dbgrid/torvocustomdbgrid.h"
#include "platform/graphics/tcustomimagelist.h"

#include <QMenu>

namespace orvo {

TOrvoDBGridSearch::TOrvoDBGridSearch(TOrvoCustomDBGrid* grid) : TPersistent(grid), FGrid(grid) {}

void TOrvoDBGridSearch::Assign(const TPersistent* source)
{
    const auto* other = qobject_cast<const TOrvoDBGridSearch*>(source);
    if (!other)
        AssignError(source);
    SetPanelOnTop(other->FPanelOnTop);
    SetIncremental(other->FIncremental);
    SetActive(other->FActive);
    SetColor(other->FColor);
    SetHistory(other->FHistory);
    SetListWidth(other->FListWidth);
    SetPanelColor(other->FPanelColor);
    SetText(other->FText);
    SetOptions(other->FOptions);
    SetVisibleOptions(other->FVisibleOptions);
    SetPanelVisible(other->FPanelVisible);
}

void TOrvoDBGridSearch::SetActive(bool value)
{
    if (FActive == value)
        return;
    FActive = value;
    if (!FText.isEmpty())
        InvalidateGrid();
}

void TOrvoDBGridSearch::SetColor(TColor value)
{
    if (FColor == value)
        return;
    FColor = value;
    if (IsHighlighting())
        InvalidateGrid();
}

void TOrvoDBGridSearch::SetListWidth(int value)
{
    FListWidth = value <= 0 ? DefaultListWidth : qMax(value, MinListWidth);
}

void TOrvoDBGridSearch::SetText(const QString& value)
{
    if (FText == value)
        return;
    FText = value;
    if (FActive)
        InvalidateGrid();
}

void TOrvoDBGridSearch::SetOptions(TOrvoSearchOptions value)
{
    if (FOptions == value)
        return;
    FOptions = value;
    if (IsHighlighting())
        InvalidateGrid();
}

void TOrvoDBGridSearch::InvalidateGrid()
{
    if (FGrid)
        FGrid->InvalidateGrid();
}

} // namespace orvo
