#include "grid/columns/torvogridstretching.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvocustomdbgrid_p.h"

#include <QScopedValueRollback>
#include <QScrollBar>

#include <algorithm>

namespace orvo {

TOrvoGridStretching::TOrvoGridStretching(TOrvoCustomDBGrid& grid) : FGrid(grid) {}

int TOrvoGridStretching::ShownWidth(int index) const
{
    if (FGrid.Stretching() && index >= 0 && index < int(FWidths.size()))
        return FWidths[size_t(index)];
    // A column's Width asks here while stretching: answer without asking it back.
    const TOrvoColumn* column = FGrid.d->FColumns->Items(index);
    return column->IsShown() ? column->WidthBase() : column->Width();
}

int TOrvoGridStretching::BaseWidth(int shownWidth) const
{
    if (FUnpinnedSpace <= 0 || FUnpinnedBaseWidths <= 0)
        return shownWidth;
    return int(qint64(shownWidth) * FUnpinnedBaseWidths / FUnpinnedSpace);
}

int TOrvoGridStretching::DraggedBaseWidth(int width) const
{
    if (FUnpinnedSpace <= 0)
        return width;
    return int(qint64(width) * FUnpinnedBaseWidths / FUnpinnedSpace);
}

int TOrvoGridStretching::ClientWidth() const
{
    const bool verticalShown = FGrid.verticalScrollBar()->isVisible();
    const bool flatEdge =
        !verticalShown && !FGrid.ThemedFixedCells() && !(FGrid.BorderStyle() == bsSingle && FGrid.d->FCtl3D);
    return FGrid.viewport()->width() + (flatEdge ? 1 : 0) -
           FGrid.d->FIndicatorOffset * (FGrid.VertLineWidth() + FGrid.d->FIndicatorWidth);
}

void TOrvoGridStretching::Distribute()
{
    if (FDistributing || !FGrid.Stretching())
        return;
    const QScopedValueRollback distributing(FDistributing, true);
    const int count = FGrid.d->FColumns->Count();
    const int lineWidth = FGrid.VertLineWidth();
    struct TShare
    {
        int Index;
        int Base;
        int Pin = -1;
        bool PinnedAtMinimum = false;
    };
    std::vector<TShare> shares;
    qint64 space = ClientWidth();
    qint64 bases = 0;
    for (int i = 0; i < count; ++i) {
        const TOrvoColumn* column = FGrid.d->FColumns->Items(i);
        if (!column->IsShown())
            continue;
        shares.push_back({i, std::max(0, column->WidthBase())});
        bases += shares.back().Base;
        space -= lineWidth;
    }
    // Emptied first, so that ShownWidth answers with the unstretched widths.
    FWidths.clear();
    for (int i = 0; i < count; ++i)
        FWidths.push_back(ShownWidth(i));
    if (bases < 1)
        return;

    qint64 unpinnedSpace = space;
    qint64 unpinnedBases = bases;
    for (bool firstPass = true;; firstPass = false) {
        unpinnedBases = bases;
        unpinnedSpace = space;
        bool pinned = false;
        for (TShare& share : shares) {
            if (share.Pin >= 0)
                continue;
            const TOrvoColumn* column = FGrid.d->FColumns->Items(share.Index);
            const qint64 h = space * share.Base / bases;
            int pin = -1;
            bool atMinimum = false;
            if (column->WidthMin() >= 0 && h < column->WidthMin()) {
                pin = column->WidthMin();
                atMinimum = true;
            } else if (column->WidthMax() >= 0 && h > column->WidthMax()) {
                pin = column->WidthMax();
            } else if (column->WidthMin() < 0 && FGrid.d->FStretchWidthMin >= 0 &&
                       h < FGrid.d->FStretchWidthMin) {
                pin = FGrid.d->FStretchWidthMin;
                atMinimum = true;
            } else if (column->WidthMax() < 0 && FGrid.d->FStretchWidthMax >= 0 &&
                       h > FGrid.d->FStretchWidthMax) {
                pin = FGrid.d->FStretchWidthMax;
            }
            if (pin < 0)
                continue;
            share.Pin = pin;
            share.PinnedAtMinimum = atMinimum;
            unpinnedBases -= share.Base;
            unpinnedSpace -= pin;
            pinned = true;
        }
        // Every column pinned with room to spare: the minimums give way so the room is used.
        if (firstPass && unpinnedBases < 1 && unpinnedSpace > 0) {
            for (TShare& share : shares) {
                if (share.Pin >= 0 && share.PinnedAtMinimum) {
                    unpinnedBases += share.Base;
                    unpinnedSpace += share.Pin;
                    share.Pin = -1;
                }
            }
        }
        if (!pinned || unpinnedSpace < 1 || unpinnedBases < 1)
            break;
        bases = unpinnedBases;
        space = unpinnedSpace;
    }
    FUnpinnedSpace = int(std::max<qint64>(0, unpinnedSpace));
    FUnpinnedBaseWidths = int(std::max<qint64>(0, unpinnedBases));
    for (const TShare& share : shares) {
        int width = 0;
        if (share.Pin >= 0) {
            width = share.Pin;
        } else if (unpinnedSpace > 0) {
            width = unpinnedBases > 0 ? int(unpinnedSpace * share.Base / unpinnedBases) : 0;
            unpinnedBases -= share.Base;
            unpinnedSpace -= width;
        } else {
            width = std::max(0, FGrid.d->FStretchWidthMin);
        }
        FWidths[size_t(share.Index)] = width;
    }
}

} // namespace orvo
