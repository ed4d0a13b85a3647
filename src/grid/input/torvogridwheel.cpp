#include "grid/input/torvogridwheel.h"

#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvocustomdbgrid_p.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "platform/core/tscopecleanup.h"
#include "platform/data/tdataset.h"

#include <QApplication>
#include <QPoint>

#include <algorithm>
#include <cstdlib>

namespace orvo {

namespace {
// What one notch of a classic wheel reports; fine-grained wheels report fractions of it.
constexpr int WheelNotch = 120;
} // namespace

TOrvoGridWheel::TOrvoGridWheel(TOrvoCustomDBGrid& grid) : FGrid(grid) {}

bool TOrvoGridWheel::DoMouseWheel(TShiftState shift, int delta, const QPoint& pos)
{
    bool handled = false;
    if (FGrid.OnMouseWheel)
        FGrid.OnMouseWheel(&FGrid, shift, delta, pos, handled);
    if (!handled) {
        const auto& upDown = delta < 0 ? FGrid.OnMouseWheelDown : FGrid.OnMouseWheelUp;
        if (upDown)
            upDown(&FGrid, shift, pos, handled);
    }
    if (handled || !FGrid.d->FDataLink->Active())
        return true;
    FAccumulated += delta;
    const int notches = FAccumulated / WheelNotch;
    FAccumulated -= notches * WheelNotch;
    for (int i = 0; i < std::abs(notches); ++i)
        Notch(notches < 0, shift);
    return true;
}

int TOrvoGridWheel::RecordsPerNotch(TShiftState shift) const
{
    const TOrvoGridDataLink* link = FGrid.d->FDataLink.get();
    const int visible = std::max(1, link->BufferCount());
    const bool pageMode =
        FGrid.d->FOptionsExt.Contains(dgScrollPageMode) && FGrid.d->FOptionsExt.Contains(dgScrollGridMode);
    if (shift.Contains(ssCtrl))
        return 1;
    if (shift.Contains(ssShift) || pageMode)
        return visible;
    const int rows = FGrid.d->FWheelScrollRows;
    if (rows > 0)
        return rows;
    if (rows == 0)
        return std::max(1, QApplication::wheelScrollLines());
    return link->Active() ? visible : 1;
}

void TOrvoGridWheel::Notch(bool down, TShiftState shift)
{
    TDataSet* dataSet = FGrid.DataSet();
    const TOrvoGridDataLink* link = FGrid.d->FDataLink.get();
    // An empty record the user appended goes when the wheel turns away from it; at the
    // end of the data, turning further down has nowhere to go.
    if (dataSet->State() == dsInsert && !dataSet->Modified() && !link->Modified()) {
        if (down && link->Eof())
            return;
        if (down || link->Eof()) {
            FGrid.Cancel();
            return;
        }
    }
    const int distance = (down ? 1 : -1) * RecordsPerNotch(shift);
    if (FGrid.d->FOptionsExt.Contains(dgScrollRowsMode))
        ScrollUnderRecord(distance);
    else
        dataSet->MoveBy(distance);
}

void TOrvoGridWheel::ScrollUnderRecord(int distance)
{
    TDataSet* dataSet = FGrid.DataSet();
    FGrid.d->FDataLink->UpdateRecord();
    FGrid.HideEditor();
    const int row = FGrid.d->FDataLink->ActiveRecord();
    {
        dataSet->DisableControls();
        const auto enable = Finally([dataSet] { dataSet->EnableControls(); });
        dataSet->MoveBy(distance);
    }
    // The window follows the dataset again: the record goes back to the row it stood on.
    FGrid.ShowCurrentRecordAtRow(row);
}

} // namespace orvo
