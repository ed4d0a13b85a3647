#include "grid/input/torvogridkeyboard.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvocolumntitle.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvocustomdbgrid_p.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "grid/filter/torvodbgridfilter.h"
#include "grid/filter/torvofilterdialect.h"
#include "grid/search/torvodbgridsearch.h"
#include "grid/selection/torvobookmarklist.h"
#include "platform/core/tscopecleanup.h"
#include "platform/core/tsystemprofile.h"
#include "platform/data/tdataset.h"
#include "platform/data/tfield.h"
#include "platform/gridbase/shiftstate.h"

#include <QAbstractSlider>
#include <QScopedValueRollback>
#include <QScrollBar>

#include <algorithm>

namespace orvo {

namespace {

constexpr QChar EnterChar(u'\r');
constexpr QChar EscapeChar(0x1b);
constexpr QChar BackspaceChar(0x08);

bool CtrlOrCtrlShift(TShiftState shift)
{
    const TShiftState keys = shift * TShiftState{ssShift, ssAlt, ssCtrl};
    return keys == TShiftState{ssCtrl} || keys == TShiftState{ssCtrl, ssShift};
}

} // namespace

TOrvoGridKeyboard::TOrvoGridKeyboard(TOrvoCustomDBGrid& grid) : FGrid(grid) {}

QString& TOrvoGridKeyboard::DeleteRecordQuestion()
{
    static QString text = QStringLiteral("Delete record?");
    return text;
}

QString& TOrvoGridKeyboard::DeleteSelectedQuestion()
{
    static QString text = QStringLiteral("Delete all selected records?");
    return text;
}

TOrvoGridKeyboard::TConfirmationHook& TOrvoGridKeyboard::ConfirmationHook()
{
    static TConfirmationHook hook;
    return hook;
}

// --- KeyDown ----------------------------------------------------------------------------------------

void TOrvoGridKeyboard::KeyDown(int& key, TShiftState shift)
{
    FLastShift = shift;
    if (FGrid.OnKeyDown)
        FGrid.OnKeyDown(&FGrid, key, shift);
    if (key == 0)
        return;
    if (!FGrid.d->FDataLink->Active()) {
        FGrid.TCustomGrid::KeyDown(key, shift);
        return;
    }
    // Right-to-left, the column to the left is the next one.
    if (FGrid.layoutDirection() == Qt::RightToLeft && (key == Qt::Key_Left || key == Qt::Key_Right))
        key = key == Qt::Key_Left ? Qt::Key_Right : Qt::Key_Left;
    const bool handled = ExtendSelectionByKey(key, shift) ||
                         (shift.Contains(ssCtrl) ? CtrlKey(key, shift) : PlainKey(key, shift));
    if (handled)
        key = 0;
    else
        FGrid.TCustomGrid::KeyDown(key, shift);
}

void TOrvoGridKeyboard::KeyUp(int& key, TShiftState shift)
{
    FLastShift = shift;
    if (FGrid.OnKeyUp)
        FGrid.OnKeyUp(&FGrid, key, shift);
    if (key != 0)
        FGrid.TCustomGrid::KeyUp(key, shift);
}

bool TOrvoGridKeyboard::ExtendedMultiSelect() const
{
    return FGrid.d->FOptions.Contains(dgMultiSelect) && FGrid.d->FOptions.Contains(dgExtendedSelect);
}

bool TOrvoGridKeyboard::ExtendSelectionByKey(int key, TShiftState shift)
{
    if (!ExtendedMultiSelect() || !shift.Contains(ssShift))
        return false;
    const bool pageKey = key == Qt::Key_PageUp || key == Qt::Key_PageDown;
    const bool ctrlKey = shift.Contains(ssCtrl) && (key == Qt::Key_Home || key == Qt::Key_End ||
                                                    key == Qt::Key_Up || key == Qt::Key_Down);
    const TMultiSelection mode = FGrid.SelectionMode();
    if (!(pageKey || ctrlKey) || (mode != msRows && mode != msCells))
        return false;
    TDataSet* dataSet = FGrid.DataSet();
    const int visible = std::max(1, FGrid.d->FDataLink->BufferCount());
    dataSet->CheckBrowseMode();
    if (FGrid.AnchorBookmark().isEmpty())
        FGrid.SetAnchorBookmark(dataSet->Bookmark());
    switch (key) {
    case Qt::Key_PageUp:
        dataSet->MoveBy(-visible);
        break;
    case Qt::Key_PageDown:
        dataSet->MoveBy(visible);
        break;
    case Qt::Key_Up:
        dataSet->MoveBy(-1);
        break;
    case Qt::Key_Down:
        dataSet->MoveBy(1);
        break;
    default:
        FGrid.d->FScrollBars->MoveToEnd(key == Qt::Key_End);
        break;
    }
    // The range runs from the anchor to where the key led, whatever it was before.
    FGrid.BeginSelectionUpdate();
    const auto end = Finally([this] { FGrid.EndSelectionUpdate(); });
    FGrid.SelectedRows()->Clear();
    FGrid.ExtendSelectionToAnchor();
    return true;
}

bool TOrvoGridKeyboard::SequenceGridModeCtrlKey(int key)
{
    TDataSet* dataSet = FGrid.DataSet();
    switch (key) {
    case Qt::Key_Home:
    case Qt::Key_End:
        if (FGrid.d->FOptionsExt.Contains(dgMouseTracking))
            FGrid.d->FScrollBars->MoveToEnd(key == Qt::Key_End);
        else
            FGrid.VerticalScrollAction(key == Qt::Key_End ? QAbstractSlider::SliderToMaximum
                                                          : QAbstractSlider::SliderToMinimum);
        return true;
    case Qt::Key_Up:
        if (dataSet->State() == dsInsert && AtEndOfData())
            PriorRow(true);
        else
            dataSet->MoveBy(-1);
        return true;
    case Qt::Key_Down:
        if (dataSet->State() == dsInsert || FGrid.d->FSequenceRecNo >= FGrid.d->FSequenceRecordCount)
            NextRow(true, true);
        else
            dataSet->MoveBy(1);
        return true;
    default:
        return false;
    }
}

bool TOrvoGridKeyboard::CtrlKey(int key, TShiftState shift)
{
    if (GridScrollMode() && SequenceGridModeCtrlKey(key))
        return true;
    TOrvoGridDataLink* link = FGrid.d->FDataLink.get();
    switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_Up:
        ClearRowSelection();
        MoveBy(-link->ActiveRecord(), false);
        return true;
    case Qt::Key_PageDown:
    case Qt::Key_Down:
        ClearRowSelection();
        MoveBy(link->BufferCount() - link->ActiveRecord() - 1, false);
        return true;
    case Qt::Key_Home:
    case Qt::Key_End:
        ClearRowSelection();
        FGrid.d->FScrollBars->MoveToEnd(key == Qt::Key_End);
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
        ClearColumnSelection();
        if (RowScrolling())
            ScrollHorizontally(key == Qt::Key_Left ? QAbstractSlider::SliderPageStepSub
                                                   : QAbstractSlider::SliderPageStepAdd);
        else if (key == Qt::Key_Left)
            MoveCol(FirstDataCol(), 1);
        else
            MoveCol(FGrid.ColCount() - 1, -1);
        return true;
    case Qt::Key_Insert:
    case Qt::Key_C:
        if (!ExtendedMultiSelect() || !CtrlOrCtrlShift(shift))
            return false;
        FGrid.CopyToClipboard(shift.Contains(ssShift));
        return true;
    case Qt::Key_Delete:
        DeleteRecords();
        return true;
    case Qt::Key_A:
    case Qt::Key_Z:
        if (!ExtendedMultiSelect() || !ExactlyCtrl(shift))
            return false;
        if (key == Qt::Key_A)
            FGrid.SelectAll();
        else
            FGrid.ClearSelection();
        return true;
    case Qt::Key_F:
        if (!FGrid.d->FSearch->Active() || !ExactlyCtrl(shift))
            return false;
        FGrid.ShowSearchPanel();
        return true;
    case Qt::Key_F3:
        SearchKey(0);
        return true;
    default:
        return false;
    }
}

bool TOrvoGridKeyboard::PlainKey(int key, TShiftState shift)
{
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (shift.Contains(ssAlt) || !FGrid.d->FOptions.Contains(dgTabs))
            return false;
        ClearColumnSelection();
        Tab(key == Qt::Key_Backtab || shift.Contains(ssShift));
        return true;
    case Qt::Key_Escape:
        Escape();
        return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        ClearRowSelection();
        PageBy(key == Qt::Key_PageUp ? -1 : 1);
        return true;
    case Qt::Key_Home:
    case Qt::Key_End:
        Home(key == Qt::Key_End);
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
        StepColumn(key == Qt::Key_Left ? -1 : 1);
        return true;
    case Qt::Key_Up:
        if (!GridScrollMode() || !ScrollViewBy(QAbstractSlider::SliderSingleStepSub))
            PriorRow(true);
        return true;
    case Qt::Key_Down:
        if (!GridScrollMode() || FGrid.DataSet()->State() == dsInsert ||
            !ScrollViewBy(QAbstractSlider::SliderSingleStepAdd))
            NextRow(true, true);
        return true;
    case Qt::Key_Insert:
        InsertRecord();
        return true;
    case Qt::Key_F2:
        if (ColumnAllowsEditing())
            FGrid.SetEditorMode(true);
        return true;
    case Qt::Key_F3:
        SearchKey(shift.Contains(ssShift) ? 2 : shift.Contains(ssAlt) ? 3 : 1);
        return true;
    case Qt::Key_F4:
        FilterKey(shift);
        return true;
    default:
        return false;
    }
}

// --- Columns --------------------------------------------------------------------------------------------

int TOrvoGridKeyboard::FirstDataCol() const
{
    return FGrid.TCustomGrid::FixedCols();
}

void TOrvoGridKeyboard::MoveCol(int col, int direction)
{
    TOrvoCustomDBGrid& grid = FGrid;
    if (grid.d->FDataLink->Active())
        grid.d->FDataLink->UpdateRecord();
    const int first = FirstDataCol();
    const int last = grid.ColCount() - 1;
    if (last < first)
        return;
    col = std::clamp(col, first, last);
    if (direction != 0) {
        int shown = col;
        while (shown >= first && shown <= last && grid.ColWidths(shown) < 0)
            shown += direction;
        // Nothing shown that way: the cell stays where it is.
        if (shown < first || shown > last)
            return;
        col = shown;
    }
    if (col == grid.Col())
        return;
    if (!FInColExit) {
        const QScopedValueRollback exiting(FInColExit, true);
        const int before = grid.Col();
        grid.ColExit();
        // The handler chose another column itself.
        if (grid.Col() != before)
            return;
    }
    if (!grid.d->FOptions.Contains(dgAlwaysShowEditor))
        grid.HideEditor();
    grid.SetCol(col);
    grid.ColEnter();
}

void TOrvoGridKeyboard::StepColumn(int step)
{
    if (RowScrolling()) {
        ScrollHorizontally(step < 0 ? QAbstractSlider::SliderSingleStepSub
                                    : QAbstractSlider::SliderSingleStepAdd);
        return;
    }
    if (FGrid.d->FOptions.Contains(dgRowSelect)) {
        if (step < 0)
            PriorRow(false);
        else
            NextRow(false, false);
        return;
    }
    const int from = FGrid.Col();
    MoveCol(from + step, step);
    if (FGrid.DataSet()->State() == dsBrowse)
        ColumnSelectionStep(from);
}

void TOrvoGridKeyboard::ColumnSelectionStep(int fromCol)
{
    if (!FGrid.d->FOptions.Contains(dgMultiSelect) || FGrid.Col() == fromCol)
        return;
    if (!FLastShift.Contains(ssShift)) {
        ClearColumnSelection();
        return;
    }
    // Shift grows a block of columns from where the move started.
    if (FGrid.AnchorCol() < 0)
        FGrid.SetAnchorCol(FGrid.RawToDataColumn(fromCol));
    FGrid.SetCurrentCol(FGrid.RawToDataColumn(FGrid.Col()));
}

void TOrvoGridKeyboard::Tab(bool backward)
{
    TOrvoCustomDBGrid& grid = FGrid;
    const int first = FirstDataCol();
    const int last = grid.ColCount() - 1;
    const auto stop = [&grid](int col) { return grid.TabStops(col) && grid.ColWidths(col) >= 0; };
    const int step = backward ? -1 : 1;
    for (int col = grid.Col() + step; col >= first && col <= last; col += step) {
        if (stop(col)) {
            MoveCol(col, 0);
            return;
        }
    }
    // Past the last column comes the next record's first, past the first the prior one's last.
    TDataSet* dataSet = grid.DataSet();
    const QString before = dataSet->Bookmark();
    const TDataSetState stateBefore = dataSet->State();
    if (backward)
        PriorRow(false);
    else
        NextRow(false, true);
    if (dataSet->Bookmark() == before && dataSet->State() == stateBefore)
        return;
    for (int col = backward ? last : first; col >= first && col <= last; col -= step) {
        if (stop(col)) {
            MoveCol(col, 0);
            return;
        }
    }
}

// --- Rows ---------------------------------------------------------------------------------------------

bool TOrvoGridKeyboard::UnmodifiedInsert() const
{
    const TDataSet* dataSet = FGrid.DataSet();
    return dataSet->State() == dsInsert && !dataSet->Modified() && !FGrid.d->FDataLink->Modified();
}

bool TOrvoGridKeyboard::AtEndOfData() const
{
    return FGrid.d->FDataLink->Eof();
}

bool TOrvoGridKeyboard::MayInsert() const
{
    const TDataSet* dataSet = FGrid.DataSet();
    return !FGrid.d->FOptions.Contains(dgAllowInsertOff) && FGrid.d->FOptions.Contains(dgEditing) &&
           !FGrid.d->FReadOnly && dataSet->CanModify();
}

void TOrvoGridKeyboard::NextRow(bool select, bool append)
{
    TDataSet* dataSet = FGrid.DataSet();
    if (UnmodifiedInsert()) {
        // An empty record appended at the end stays until something is typed into it; one
        // inserted inside the data goes when the user moves on.
        if (AtEndOfData())
            return;
        FGrid.Cancel();
    } else {
        MoveBy(1, select);
    }
    if (append && AtEndOfData() && MayInsert() && dataSet->State() == dsBrowse) {
        FGrid.d->FDelayed->Flush();
        dataSet->Append();
    }
}

void TOrvoGridKeyboard::PriorRow(bool select)
{
    if (UnmodifiedInsert() && AtEndOfData())
        FGrid.Cancel();
    else
        MoveBy(-1, select);
}

void TOrvoGridKeyboard::MoveBy(int distance, bool select)
{
    if (distance == 0)
        return;
    SelectionStep(select, [this, distance] { FGrid.DataSet()->MoveBy(distance); });
}

void TOrvoGridKeyboard::SelectionStep(bool select, const std::function<void()>& move)
{
    if (!select || !FGrid.d->FOptions.Contains(dgMultiSelect)) {
        move();
        return;
    }
    const TMultiSelection mode = FGrid.SelectionMode();
    const bool rowKind = mode == msRows || mode == msCells;
    if (FLastShift.Contains(ssShift) && rowKind) {
        TDataSet* dataSet = FGrid.DataSet();
        dataSet->CheckBrowseMode();
        if (FGrid.AnchorBookmark().isEmpty())
            FGrid.SetAnchorBookmark(dataSet->Bookmark());
        move();
        FGrid.BeginSelectionUpdate();
        const auto end = Finally([this] { FGrid.EndSelectionUpdate(); });
        FGrid.SelectedRows()->Clear();
        FGrid.ExtendSelectionToAnchor();
        return;
    }
    move();
    // A plain step starts afresh unless the grid keeps its selection while the record moves.
    if (!FGrid.d->FOptions.Contains(dgAutoUnselectOff) && FGrid.HasSelectedRows())
        FGrid.ClearSelection();
}

void TOrvoGridKeyboard::PageBy(int pages)
{
    const int visible = std::max(1, FGrid.d->FDataLink->BufferCount());
    if (GridScrollMode() &&
        ScrollViewBy(pages < 0 ? QAbstractSlider::SliderPageStepSub : QAbstractSlider::SliderPageStepAdd))
        return;
    MoveBy(pages * visible, false);
}

void TOrvoGridKeyboard::Home(bool toEnd)
{
    if (RowScrolling()) {
        ScrollHorizontally(toEnd ? QAbstractSlider::SliderToMaximum : QAbstractSlider::SliderToMinimum);
        return;
    }
    const bool singleColumn = FGrid.ColCount() - FirstDataCol() <= 1;
    if (singleColumn || FGrid.d->FOptions.Contains(dgRowSelect)) {
        FGrid.ClearSelection();
        if (GridScrollMode())
            FGrid.VerticalScrollAction(toEnd ? QAbstractSlider::SliderToMaximum
                                             : QAbstractSlider::SliderToMinimum);
        else
            FGrid.d->FScrollBars->MoveToEnd(toEnd);
        return;
    }
    if (toEnd)
        MoveCol(FGrid.ColCount() - 1, -1);
    else
        MoveCol(FirstDataCol(), 1);
}

bool TOrvoGridKeyboard::GridScrollMode() const
{
    return FGrid.d->FOptionsExt.Contains(dgScrollGridMode) && FGrid.d->FOptions.Contains(dgForceSequence);
}

bool TOrvoGridKeyboard::RowScrolling() const
{
    return FGrid.d->FOptions.Contains(dgRowSelect) && FGrid.d->FOptions.Contains(dgRowScroll);
}

void TOrvoGridKeyboard::ScrollHorizontally(int action)
{
    QScrollBar* bar = FGrid.horizontalScrollBar();
    bar->triggerAction(QAbstractSlider::SliderAction(action));
}

bool TOrvoGridKeyboard::ScrollViewBy(int action)
{
    TDataSet* dataSet = FGrid.DataSet();
    dataSet->CheckBrowseMode();
    const QString before = dataSet->Bookmark();
    FGrid.VerticalScrollAction(action);
    return dataSet->Bookmark() != before;
}

// --- Editing keys -------------------------------------------------------------------------------------

void TOrvoGridKeyboard::Escape()
{
    TOrvoCustomDBGrid& grid = FGrid;
    if (TSystemProfile::Current().IsKorean())
        FEscapePressed = true;
    TOrvoDBGridSearch* search = grid.d->FSearch;
    if (search->PanelVisible() && !grid.d->FDataLink->Editing() && !grid.EditorMode() &&
        !grid.HasSelectedRows() && !grid.HasSelectedCols())
        search->SetPanelVisible(false);
    grid.ResetEdit();
    grid.ClearSelection();
    if (!grid.d->FOptions.Contains(dgAlwaysShowEditor))
        grid.HideEditor();
}

void TOrvoGridKeyboard::InsertRecord()
{
    if (!MayInsert())
        return;
    FGrid.ClearSelection();
    FGrid.d->FDelayed->Flush();
    FGrid.DataSet()->Insert();
}

void TOrvoGridKeyboard::DeleteRecords()
{
    TOrvoCustomDBGrid& grid = FGrid;
    TDataSet* dataSet = grid.DataSet();
    if (grid.d->FOptions.Contains(dgAllowDeleteOff) || grid.HasSelectedCols() || grid.d->FReadOnly ||
        dataSet->IsEmpty() || !dataSet->CanModify())
        return;
    if (!ConfirmDelete())
        return;
    if (grid.HasSelectedRows())
        grid.DeleteSelectedRows();
    else
        dataSet->Delete();
}

bool TOrvoGridKeyboard::ConfirmDelete()
{
    if (!FGrid.d->FOptions.Contains(dgConfirmDelete))
        return true;
    const bool several = FGrid.HasSelectedRows() && FGrid.SelectedRows()->Count() >= 2;
    QMessageBox box(QMessageBox::Question, FGrid.window()->windowTitle(),
                    several ? DeleteSelectedQuestion() : DeleteRecordQuestion(),
                    QMessageBox::Ok | QMessageBox::Cancel, &FGrid);
    box.setDefaultButton(QMessageBox::Cancel);
    const TConfirmationHook& hook = ConfirmationHook();
    const int answer = hook ? hook(box) : box.exec();
    return answer == QMessageBox::Ok;
}

bool TOrvoGridKeyboard::ColumnAllowsEditing() const
{
    const TOrvoCustomDBGrid& grid = FGrid;
    const TOrvoColumn* column = grid.SelectedColumn();
    const TField* field = column ? column->Field() : nullptr;
    return grid.d->FOptions.Contains(dgEditing) && !grid.d->FReadOnly && !grid.d->FDataLink->ReadOnly() &&
           column && column->ShowEdit() && !column->ReadOnly() && field && field->CanModify();
}

void TOrvoGridKeyboard::ClearRowSelection()
{
    const TMultiSelection mode = FGrid.SelectionMode();
    if ((mode == msRows || mode == msCells) && FGrid.HasSelectedRows())
        FGrid.ClearSelection();
}

void TOrvoGridKeyboard::ClearColumnSelection()
{
    const TMultiSelection mode = FGrid.SelectionMode();
    if ((mode == msCols || mode == msCells) && FGrid.HasSelectedCols())
        FGrid.ClearSelection();
}

// --- Search and filter keys -------------------------------------------------------------------------

void TOrvoGridKeyboard::SearchKey(int kind)
{
    const TOrvoDBGridSearch* search = FGrid.d->FSearch;
    if (!search->Active())
        return;
    if (search->Text().isEmpty())
        FGrid.ShowSearchPanel();
    else
        FGrid.SearchGrid(kind);
}

void TOrvoGridKeyboard::FilterKey(TShiftState shift)
{
    TOrvoCustomDBGrid& grid = FGrid;
    const TOrvoDBGridFilter* filter = grid.d->FFilterGrid;
    TOrvoColumn* column = grid.SelectedColumn();
    if (!grid.isVisible() || shift.Contains(ssAlt) || !filter->Filtered() || !column)
        return;
    const TFilterStyles shared = column->Title()->AutoFilters() * filter->AutoFilters();
    const TField* field = column->Field();
    if (shared.IsEmpty() || !field || !TOrvoFilterDialect::Filterable(field->DataType()))
        return;
    if (!shift.Contains(ssShift) && shared.Contains(fsFilterList)) {
        grid.ShowAutoFilterList(column);
        return;
    }
    const TFieldKind kind = field->FieldKind();
    if (shared.Contains(fsFilterForm) && (kind == fkData || kind == fkLookup || kind == fkInternalCalc))
        grid.ShowFilterForm();
}

// --- Characters ---------------------------------------------------------------------------------------

void TOrvoGridKeyboard::KeyPress(QChar& key)
{
    FEscapePressed = false;
    if (FGrid.OnKeyPress)
        FGrid.OnKeyPress(&FGrid, key);
    if (key.isNull())
        return;
    if (ToggleBoxByKey(key)) {
        key = QChar();
        return;
    }
    TOrvoGridDataLink* link = FGrid.d->FDataLink.get();
    // Enter closes the editor: what it holds goes to the field now, where the screen shows it.
    if (key == EnterChar && !FGrid.d->FOptions.Contains(dgAlwaysShowEditor) && link->Active())
        link->UpdateRecord();
    if (link->Active() && IncrementalSearchKey(key)) {
        key = QChar();
        return;
    }
    FGrid.TCustomGrid::KeyPress(key);
}

bool TOrvoGridKeyboard::ToggleBoxByKey(QChar key)
{
    if (key != EnterChar && key != QLatin1Char(' '))
        return false;
    TOrvoColumn* column = FGrid.SelectedColumn();
    if (!column || !column->CheckBox() || column->CheckBoxToggle() == ctCustomToggle)
        return false;
    if ((column->Field() && !FGrid.d->FOptions.Contains(dgEditing)) || !column->ShowEdit())
        return false;
    column->ToggleCheckBox();
    return true;
}

bool TOrvoGridKeyboard::IncrementalSearchKey(QChar key)
{
    TOrvoDBGridSearch* search = FGrid.d->FSearch;
    const bool editorClosedByChar =
        FGrid.d->FOptionsEx.Contains(dgShowEditorByCharOff) && !FGrid.EditorMode();
    if (!search->Incremental() || !search->Options().Contains(soFilterRows) ||
        (FGrid.d->FOptions.Contains(dgEditing) && !editorClosedByChar))
        return false;
    if (key != EscapeChar && key != BackspaceChar && !key.isPrint())
        return false;
    const QString before = search->Text();
    if (key == EscapeChar)
        search->SetText(QString());
    else if (key == BackspaceChar)
        search->SetText(before.left(before.size() - 1));
    else
        search->SetText(before + key);
    // A text that leaves no record to show is not taken.
    const TDataSet* dataSet = FGrid.DataSet();
    if (dataSet->Bof() && dataSet->Eof())
        search->SetText(before);
    return true;
}

void TOrvoGridKeyboard::CharInput(const QString& text)
{
    TOrvoCustomDBGrid& grid = FGrid;
    for (const QChar ch : text) {
        const bool control = !ch.isPrint() && ch != BackspaceChar;
        const bool opensEditor = !grid.d->FOptionsEx.Contains(dgShowEditorByCharOff) &&
                                 (ColumnAllowsEditing() || !grid.d->FOptions.Contains(dgEditing) || control);
        if (opensEditor) {
            grid.TCustomGrid::CharInput(QString(ch));
        } else {
            QChar key = ch;
            KeyPress(key);
        }
    }
}

} // namespace orvo
