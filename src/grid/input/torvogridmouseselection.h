#pragma once

#include "platform/gridbase/gridenums.h"

#include <QString>

namespace orvo {

class TOrvoCustomDBGrid;

/// The multi-selection the mouse makes. A left press selects by its modifiers: Alt acts
/// on everything, Shift extends from the anchor, Ctrl toggles, a plain click starts anew;
/// a press on a title starts or extends a range of whole columns. While the button is held
/// and the mouse scrolls, the records passed are selected one by one (and given up again
/// on the way back to the anchor), and a column range follows the current column.
class TOrvoGridMouseSelection
{
public:
    explicit TOrvoGridMouseSelection(TOrvoCustomDBGrid& grid);

    /// A left press with dgMultiSelect on data column `column` (-1 for the indicator);
    /// `before` is the record that was current before the press moved the dataset.
    void Press(TShiftState shift, int column, bool onTitle, const QString& before);
    /// A range of records is being dragged out from its anchor.
    bool RowsBeingSelected() const;
    /// A range of columns is being dragged out from its anchor column.
    bool ColumnsBeingSelected() const;
    /// Moves the dataset `count` records, selecting each record reached and giving up each
    /// record left on the way back towards the anchor.
    void MoveSelecting(int count);
    /// The column range ends at the grid's current column.
    void ExtendColumnsToCurrent();

private:
    void Extend(TShiftState shift, int column, bool onTitle, const QString& before);
    void StartColumnRange(TShiftState shift, int column, bool onTitle);
    void Toggle(int column);
    void StartAt(int column, bool selectRecord);

    TOrvoCustomDBGrid& FGrid;
};

} // namespace orvo
