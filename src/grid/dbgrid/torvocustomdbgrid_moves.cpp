// How keys and clicks move the dataset. The current cell always stands on the dataset's
// current record: a key or click that would take the cell to another data row moves the
// dataset there, and the cell follows the dataset. Typed text goes to its own cell's field
// before the cell moves at all, and Esc drops it for good.

#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvocustomdbgrid_p.h"

#include "grid/dbgrid/torvogriddatalink.h"
#include "grid/painting/torvodbgridpainter.h"
#include "platform/data/tdataset.h"

#include <QScopedValueRollback>

#include <algorithm>

namespace orvo {

int TOrvoCustomDBGrid::CurrentRecord() const
{
    // A paint reads each row's record through the link; the current one is what it saved.
    if (d->FPainter && d->FPainter->CurrentRecord() >= 0)
        return d->FPainter->CurrentRecord();
    // Outside a paint the current row stands on the current record, whichever buffered
    // record the link reads meanwhile.
    const int record = RecordOfRow(Row());
    return record >= 0 ? record : d->FDataLink->ActiveRecord();
}

bool TOrvoCustomDBGrid::SelectCell(int col, int row)
{
    // Inside a layout pass the rows are being rebuilt: the pass puts the row back on the
    // record at its end, and only columns move meanwhile.
    if (d->FFollowingDataSet || !d->FDataLink->Active() || d->FLayoutLock != 0 ||
        (col == Col() && row == Row()))
        return TCustomGrid::SelectCell(col, row);
    // Blank and total rows hold no record to stand on.
    if (row >= FirstBottomRow())
        return false;
    d->FDataLink->UpdateRecord();
    if (row == Row())
        return TCustomGrid::SelectCell(col, row);
    const QString target = BookmarkOfRecord(RecordOfRow(row));
    DataSet()->MoveBy(row - Row()); // not 0: the row differs
    // A post on the way may have rebuilt the window, so that the rows now show other
    // records: the record asked for is the one the row showed.
    TDataSet* dataSet = DataSet();
    if (!target.isEmpty() && dataSet->Bookmark() != target && dataSet->BookmarkValid(target))
        dataSet->GotoBookmark(target);
    if (col != Col()) {
        const QScopedValueRollback following(d->FFollowingDataSet, true);
        MoveColRow(col, Row(), true, true);
    }
    // The dataset has moved the row already, as far as it could.
    return false;
}

QString TOrvoCustomDBGrid::BookmarkOfRecord(int record) const
{
    if (record < 0)
        return QString();
    const int current = d->FDataLink->ActiveRecord();
    d->FDataLink->SetActiveRecord(record);
    const QString bookmark = DataSet()->Bookmark();
    d->FDataLink->SetActiveRecord(current);
    return bookmark;
}

void TOrvoCustomDBGrid::ResetEdit()
{
    // First the text typed into the editor, then what reached the record: each Esc undoes
    // one step, and nothing the screen shows as gone is written later.
    if (d->FDataLink->Modified()) {
        d->FDataLink->SetModified(false);
        RecordChanged(nullptr);
        if (EditorMode())
            InvalidateEditor();
        return;
    }
    Cancel();
}

} // namespace orvo
