#include "grid/search/torvodbgridsearch.h"

#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/search/tsearchmatcher.h"
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
    const bool wasFiltering = IsFiltering();
    FText = value;
    if (FOptions.Contains(soFilterRows))
        FilterChanged(wasFiltering);
    if (FActive)
        InvalidateGrid();
}

void TOrvoDBGridSearch::SetOptions(TOrvoSearchOptions value)
{
    if (FOptions == value)
        return;
    const TOrvoSearchOptions changed = (FOptions - value) + (value - FOptions);
    const bool wasFiltering = IsFiltering();
    FOptions = value;
    // The filter changes with the option itself, or with what the test compares while it filters.
    if (changed.Contains(soFilterRows) ||
        (IsFiltering() &&
         !(changed * TOrvoSearchOptions{soCaseSensitive, soWholeWords, soCurrentCol}).IsEmpty()))
        FilterChanged(wasFiltering);
    if (IsHighlighting())
        InvalidateGrid();
}

bool TOrvoDBGridSearch::RecordMatches() const
{
    return FGrid && TSearchMatcher(FText, FOptions).RecordMatches(*FGrid);
}

// A search filter that just stopped must come off the dataset even when the grid's
// column filters wait for an explicit apply: otherwise its records stayed hidden.
void TOrvoDBGridSearch::FilterChanged(bool wasFiltering)
{
    if (!FGrid || FGrid->IsLoading())
        return;
    if (wasFiltering && !IsFiltering())
        FGrid->ApplyFilter();
    else
        FGrid->FilterChanged();
}

void TOrvoDBGridSearch::InvalidateGrid()
{
    if (FGrid)
        FGrid->InvalidateGrid();
}

} // namespace orvo
