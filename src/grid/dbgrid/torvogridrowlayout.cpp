// The vertical geometry of the grid: title rows as deep as the column tree, one data
// row per buffered record, and the bottom region of blank and total rows.

#include "grid/dbgrid/torvogridrowlayout.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvocolumntitle.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvocustomdbgrid_p.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "grid/painting/torvogridstyle.h"
#include "grid/totals/torvocolumntotalfields.h"
#include "grid/totals/torvocolumntotalfooter.h"
#include "grid/totals/torvocolumntotalheader.h"
#include "grid/totals/torvocolumntotalvalue.h"
#include "grid/totals/torvocolumntotalvalues.h"
#include "grid/totals/torvodbgridtotals.h"
#include "grid/totals/torvototaldatalink.h"
#include "platform/graphics/tfont.h"

#include <QFontMetrics>
#include <QScopeGuard>
#include <QScrollBar>

#include <algorithm>

namespace orvo {

TOrvoGridRowLayout::TOrvoGridRowLayout(TOrvoCustomDBGrid& grid) : FGrid(grid) {}

int TOrvoGridRowLayout::LineHeightOf(const TFont& font)
{
    return QFontMetrics(font.ToQFont()).height();
}

int TOrvoGridRowLayout::TitleRowCount() const
{
    if (!FGrid.d->FOptions.Contains(dgTitles))
        return 0;
    int depth = 0;
    for (const TOrvoColumn* column : FGrid.d->FShownColumns)
        depth = std::max(depth, column->ColumnDepth());
    return 1 + depth;
}

TOrvoGridBottomRegion TOrvoGridRowLayout::BottomRegion() const
{
    TOrvoGridBottomRegion region;
    if (FGrid.d->FOptionsEx.Contains(dgTotalValues)) {
        for (int i = 0; i < FGrid.d->FColumns->Count(); ++i)
            region.Values = std::max(region.Values, FGrid.d->FColumns->Items(i)->TotalValues()->Count());
    }
    region.Header = FGrid.d->FOptionsEx.Contains(dgTotalHeader) ? 1 : 0;
    const TOrvoTotalDataLink* totalsLink = FGrid.d->FTotals->DataLink();
    if (FGrid.d->FOptionsEx.Contains(dgTotalFields) && totalsLink->Active())
        region.Fields = totalsLink->RecordCount();
    region.Footer = FGrid.d->FOptionsEx.Contains(dgTotalFooter) ? 1 : 0;
    region.Blank = FGrid.d->FOptionsEx.Contains(dgBlankRow) ? 1 : 0;
    return region;
}

// --- Row heights ---------------------------------------------------------------------------------

int TOrvoGridRowLayout::TitleHeightOf(const TOrvoColumn* column) const
{
    return LineHeightOf(column->Title()->Font()) * FGrid.d->FTitleLinesCount +
           FGrid.d->FGridStyle->TitleRowSpace() +
           column->Title()->HeaderLevels() * FGrid.d->FHeaderBandHeight;
}

std::vector<int> TOrvoGridRowLayout::TitleHeights() const
{
    const int rows = FGrid.d->FTitleOffset;
    std::vector<int> heights(size_t(rows), 0);
    const auto allAncestorsExpanded = [](const TOrvoColumn* column) {
        for (const TOrvoColumn* parent = column->ParentColumn(); parent; parent = parent->ParentColumn())
            if (!parent->Expanded())
                return false;
        return true;
    };
    // Expanded parents set the heights of their own rows first...
    for (int i = 0; i < FGrid.d->FColumns->Count(); ++i) {
        const TOrvoColumn* column = FGrid.d->FColumns->Items(i);
        const int depth = column->ColumnDepth();
        if (depth < rows && column->HasSubColumns() && column->Expanded() && allAncestorsExpanded(column))
            heights[size_t(depth)] = std::max(heights[size_t(depth)], TitleHeightOf(column));
    }
    // ...then a title spanning down to the last row takes what it still needs there.
    for (int i = 0; i < FGrid.d->FColumns->Count(); ++i) {
        const TOrvoColumn* column = FGrid.d->FColumns->Items(i);
        const int depth = column->ColumnDepth();
        if (depth >= rows || (column->HasSubColumns() && column->Expanded()) || !allAncestorsExpanded(column))
            continue;
        int above = 0;
        for (int level = depth; level < rows - 1; ++level)
            above += heights[size_t(level)];
        heights[size_t(rows - 1)] = std::max(heights[size_t(rows - 1)], TitleHeightOf(column) - above);
    }
    if (rows > 0 && heights[0] == 0)
        heights[0] = LineHeightOf(FGrid.d->FTitleFont) * FGrid.d->FTitleLinesCount +
                     FGrid.d->FGridStyle->TitleRowSpace();
    return heights;
}

int TOrvoGridRowLayout::TallestTotalLine() const
{
    int tallest = 0;
    const auto measure = [&tallest](const TOrvoColumnTotal* total) {
        tallest = std::max(tallest, LineHeightOf(total->Font()));
    };
    for (int i = 0; i < FGrid.d->FColumns->Count(); ++i) {
        const TOrvoColumn* column = FGrid.d->FColumns->Items(i);
        if (FGrid.d->FOptionsEx.Contains(dgTotalHeader))
            measure(column->TotalHeader());
        if (FGrid.d->FOptionsEx.Contains(dgTotalValues))
            for (int k = 0; k < column->TotalValues()->Count(); ++k)
                measure(column->TotalValues()->Items(k));
        if (FGrid.d->FOptionsEx.Contains(dgTotalFields))
            measure(column->TotalFields());
        if (FGrid.d->FOptionsEx.Contains(dgTotalFooter))
            measure(column->TotalFooter());
    }
    return tallest;
}

int TOrvoGridRowLayout::TotalRowHeight() const
{
    // Every total row is as high as the tallest font among the totals shown.
    const int tallest = TallestTotalLine();
    const int line = tallest > 0 ? tallest : LineHeightOf(FGrid.d->FTotals->Font());
    return line * FGrid.d->FTotals->LinesCount() + FGrid.d->FGridStyle->TotalRowSpace();
}

int TOrvoGridRowLayout::DataAreaRowCapacity() const
{
    const int line = FGrid.HorzLineWidth();
    int used = 0;
    for (int row = 0; row < FGrid.d->FTitleOffset && row < FGrid.RowCount(); ++row)
        used += std::max(0, FGrid.RowHeights(row)) + line;
    used += (FGrid.d->FBottom.Count() - FGrid.d->FBottom.Blank) * (FGrid.d->FTotalRowHeight + line);
    return std::max(1, (FGrid.viewport()->height() - used) / std::max(1, FGrid.DefaultRowHeight() + line));
}

void TOrvoGridRowLayout::UpdateRowCount()
{
    if (FGrid.d->FUpdatingRowCount)
        return;
    FGrid.d->FUpdatingRowCount = true;
    const auto done = qScopeGuard([this] { FGrid.d->FUpdatingRowCount = false; });
    const int oldRowCount = FGrid.RowCount();
    const int line = FGrid.HorzLineWidth();
    FGrid.d->FTextLineHeight = LineHeightOf(FGrid.Font());
    FGrid.d->FHeaderBandHeight =
        FGrid.d->FOptions.Contains(dgTitles) && FGrid.d->FOptions.Contains(dgTitleHeaders)
            ? LineHeightOf(FGrid.d->FHeaderFont) * FGrid.d->FHeaderLinesCount +
                  FGrid.d->FGridStyle->HeaderRowSpace() + line
            : 0;
    FGrid.d->FTotalRowHeight = FGrid.d->FBottom.Count() > FGrid.d->FBottom.Blank ? TotalRowHeight() : 0;
    FGrid.SetDefaultRowHeight(line + FGrid.d->FTextLineHeight * FGrid.d->FLinesCount +
                              FGrid.d->FGridStyle->DataRowSpace());
    FGrid.d->FRowHeightsComputedSinceReport = true;

    const int fixedRows = FGrid.d->FTitleOffset + FGrid.d->FBottom.Count() + 1;
    if (FGrid.RowCount() < fixedRows)
        FGrid.SetRowCount(fixedRows);
    FGrid.TCustomGrid::SetFixedRows(FGrid.d->FTitleOffset);
    const std::vector<int> titleHeights = TitleHeights();
    for (int row = 0; row < FGrid.d->FTitleOffset; ++row)
        FGrid.SetRowHeights(row, titleHeights[size_t(row)]);

    int records = 0;
    if (FGrid.d->FDataLink->Active()) {
        FGrid.d->FDataLink->SetBufferCount(DataAreaRowCapacity());
        records = FGrid.d->FDataLink->RecordCount();
    }
    FGrid.SetRowCount(std::max(1, records) + FGrid.d->FTitleOffset + FGrid.d->FBottom.Count());
    ApplyRowHeights(records);
    if (FGrid.RowCount() != oldRowCount)
        FGrid.InvalidateGrid();
}

void TOrvoGridRowLayout::ApplyRowHeights(int bufferedRecords)
{
    const int line = FGrid.HorzLineWidth();
    const std::vector<int> titleHeights = TitleHeights();
    for (int row = 0; row < FGrid.d->FTitleOffset; ++row)
        FGrid.SetRowHeights(row, titleHeights[size_t(row)]);
    const int firstBottom = FGrid.FirstBottomRow();
    for (int row = FGrid.d->FTitleOffset; row < firstBottom; ++row)
        FGrid.SetRowHeights(row, FGrid.DefaultRowHeight());
    if (FGrid.d->FBottom.Count() == 0)
        return;
    int left = FGrid.viewport()->height();
    for (int row = 0; row < FGrid.d->FTitleOffset; ++row)
        left -= titleHeights[size_t(row)] + line;
    left -= (FGrid.d->FBottom.Count() - FGrid.d->FBottom.Blank) * (FGrid.d->FTotalRowHeight + line);
    left -= std::max(1, bufferedRecords) * (FGrid.DefaultRowHeight() + line);
    // Where no scroll bar or 3-D border closes the bottom, the last total row's line
    // would double the frame's: it is pushed just out of sight.
    const bool bottomEdge = !FGrid.horizontalScrollBar()->isVisible() && !FGrid.ThemedFixedCells() &&
                            !(FGrid.BorderStyle() == bsSingle && FGrid.d->FCtl3D);
    if (bottomEdge)
        ++left;
    for (int index = 0; index < FGrid.d->FBottom.Count(); ++index) {
        const bool blank = FGrid.BottomRowKind(index) == brBlank;
        FGrid.SetRowHeights(firstBottom + index, blank ? std::max(0, left) - line : FGrid.d->FTotalRowHeight);
    }
}
} // namespace orvo
