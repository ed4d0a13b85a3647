#pragma once

#include "platform/gridbase/gridenums.h"

#include <QMessageBox>
#include <QString>

#include <functional>

namespace orvo {

class TOrvoColumn;
class TOrvoCustomDBGrid;

/// What the keys do in a data grid. Rows are records: every key that changes the row
/// moves the dataset, and the current cell follows it, so the indicator, the highlighted
/// row and the cell never disagree. Columns change through MoveCol, which writes what the
/// editor holds to its own field before the cell leaves it. Down past the last record
/// appends one where the grid may insert, and Up from that record, still untouched,
/// takes it back. Nothing the screen shows as discarded is ever written: Esc drops the
/// typed text first and cancels the record's edit next.
class TOrvoGridKeyboard
{
public:
    explicit TOrvoGridKeyboard(TOrvoCustomDBGrid& grid);
    TOrvoGridKeyboard(const TOrvoGridKeyboard&) = delete;
    TOrvoGridKeyboard& operator=(const TOrvoGridKeyboard&) = delete;

    /// The questions asked before a deletion (dgConfirmDelete); a program may translate them.
    static QString& DeleteRecordQuestion();
    static QString& DeleteSelectedQuestion();
    /// Answers the deletion question instead of the user when set: it is handed the
    /// message box that would be shown and returns the button chosen.
    using TConfirmationHook = std::function<QMessageBox::StandardButton(QMessageBox& box)>;
    static TConfirmationHook& ConfirmationHook();

    void KeyDown(int& key, TShiftState shift);
    void KeyPress(QChar& key);
    void KeyUp(int& key, TShiftState shift);
    /// A typed character: opens the editor with it where the cell may be edited, else only
    /// reaches KeyPress.
    void CharInput(const QString& text);

    void MoveCol(int col, int direction);
    void NextRow(bool select, bool append);
    void PriorRow(bool select);
    /// Asks the deletion question; true when the deletion may go on.
    bool ConfirmDelete();

    /// The modifiers of the last key or mouse event the grid saw.
    TShiftState LastShift() const { return FLastShift; }
    void SetLastShift(TShiftState shift) { FLastShift = shift; }
    /// On Korean systems: Esc was pressed and no character came since.
    bool EscapePressed() const { return FEscapePressed; }

private:
    bool ExtendedMultiSelect() const;
    bool ExtendSelectionByKey(int key, TShiftState shift);
    bool SequenceGridModeCtrlKey(int key);
    bool CtrlKey(int key, TShiftState shift);
    bool PlainKey(int key, TShiftState shift);
    void Tab(bool backward);
    void Escape();
    void PageBy(int pages);
    void Home(bool toEnd);
    void StepColumn(int step);
    void InsertRecord();
    void DeleteRecords();
    void SearchKey(int kind);
    void FilterKey(TShiftState shift);
    bool ToggleBoxByKey(QChar key);
    bool IncrementalSearchKey(QChar key);

    bool GridScrollMode() const;
    bool RowScrolling() const;
    void ScrollHorizontally(int action);
    /// Scrolls the view by `action` of the vertical bar in grid mode; false when the view
    /// could not move, so that the record moves instead.
    bool ScrollViewBy(int action);
    void MoveBy(int distance, bool select);
    void SelectionStep(bool select, const std::function<void()>& move);
    bool UnmodifiedInsert() const;
    bool AtEndOfData() const;
    bool MayInsert() const;
    bool ColumnAllowsEditing() const;
    int FirstDataCol() const;
    void ClearRowSelection();
    void ClearColumnSelection();
    void ColumnSelectionStep(int fromCol);

    TOrvoCustomDBGrid& FGrid;
    TShiftState FLastShift;
    bool FEscapePressed = false;
    bool FInColExit = false;
};

} // namespace orvo
