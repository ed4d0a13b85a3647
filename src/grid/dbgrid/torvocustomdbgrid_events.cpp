// The delayed updates, the operations descendants override and the firing of the
// events the host assigns.

#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvocustomdbgrid_p.h"
#include "grid/selection/torvocolumnlist.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "grid/filter/torvodbgridfilter.h"
#include "grid/scrolling/torvoscrollprop.h"
#include "grid/search/torvodbgridsearch.h"
#include "grid/selection/torvobookmarklist.h"
#include "grid/totals/torvocolumntotalfields.h"
#include "grid/totals/torvocolumntotalfooter.h"
#include "grid/totals/torvocolumntotalheader.h"
#include "grid/totals/torvocolumntotalvalue.h"
#include "grid/totals/torvocolumntotalvalues.h"
#include "grid/totals/torvodbgridtotals.h"
#include "lists/editor/torvodbgrideditor.h"
#include "lists/popup/torvodbgridlistclasses.h"
#include "platform/core/texceptionhandler.h"
#include "platform/core/tscopecleanup.h"
#include "platform/data/tdataset.h"
#include "platform/data/tfield.h"
#include "platform/gridbase/movedindex.h"
#include "platform/gridbase/tinplaceedit.h"

#include <QEvent>
#include <QInputMethodEvent>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QTimer>

#include <climits>

namespace orvo {

namespace {

int& ProgramUpdateDelay()
{
    static int delay = 200;
    return delay;
}

} // namespace

// --- Delayed updates ---------------------------------------------------------------------------

int TOrvoCustomDBGrid::UpdateDelay()
{
    return ProgramUpdateDelay();
}

void TOrvoCustomDBGrid::SetUpdateDelay(int milliseconds)
{
    ProgramUpdateDelay() = std::max(0, milliseconds);
}

bool TOrvoCustomDBGrid::DelayApplies(TOrvoDBGridOptionEx delayOption) const
{
    return d->FOptionsEx.Contains(delayOption) && !IsDesigning() && isVisible();
}

bool TOrvoCustomDBGrid::DelayApplies(TOrvoDBGridOptionExt delayOption) const
{
    return d->FOptionsExt.Contains(delayOption) && !IsDesigning() && isVisible();
}

void TOrvoCustomDBGrid::UpdateSequence(bool delayed)
{
    d->FDelayed->Schedule(TOrvoGridDelayedUpdates::TUpdate::Sequence,
                          delayed && DelayApplies(dgDelayUpdateSequence));
}

void TOrvoCustomDBGrid::UpdateTotals(bool autoUpdate)
{
    d->FTotalsCalc->UpdateTotals(autoUpdate);
}

void TOrvoCustomDBGrid::UpdateListItems()
{
    d->FDelayed->Schedule(TOrvoGridDelayedUpdates::TUpdate::ListItems, DelayApplies(dgDelayUpdateListItems));
}

void TOrvoCustomDBGrid::FlushUpdates()
{
    if (TDataSet* dataSet = DataSet(); dataSet && dataSet->Active())
        dataSet->CheckBrowseMode();
    d->FSelection->FlushEvents();
    d->FDelayed->Flush();
}

// --- Operations descendants override ----------------------------------------------------------------

bool TOrvoCustomDBGrid::CalcTotalsPass(TCalcPass pass, bool selected)
{
    return d->FTotalsCalc->CalcTotalsPass(pass, selected);
}

void TOrvoCustomDBGrid::CopyCellText(TOrvoColumn* column, int flags)
{
    d->FSelection->CopyCellText(column, flags);
}

const QMetaObject* TOrvoCustomDBGrid::GetListClass(TOrvoColumn*)
{
    return nullptr;
}

int TOrvoCustomDBGrid::GetEditorButtonKind(TOrvoColumn*)
{
    return 0;
}

const QMetaObject* TOrvoCustomDBGrid::GetFilterFormClass()
{
    return nullptr;
}

const QMetaObject* TOrvoCustomDBGrid::GetAutoFilterListClass()
{
    return nullptr;
}

const QMetaObject* TOrvoCustomDBGrid::GetSearchPanelClass()
{
    return nullptr;
}

bool TOrvoCustomDBGrid::HighlightCell(int dataCol, int, TGridDrawState state)
{
    if (state.Contains(gdSelected))
        return true;
    // Multi-selected cells show highlighted; fixed ones only when they may be selected.
    if (state.Contains(gdFixed) && !d->FMultiSelectOptions.Contains(msFixed))
        return false;
    return d->FDataLink->Active() && CellInSelection(dataCol);
}

void TOrvoCustomDBGrid::ListItemsUpdated()
{
    if (OnListItemsUpdated)
        OnListItemsUpdated(this);
}

void TOrvoCustomDBGrid::RebuildListItems()
{
    ListItemsUpdated();
}

bool TOrvoCustomDBGrid::FieldUsedByTotals(TField*)
{
    return false;
}

void TOrvoCustomDBGrid::PaintColumnCell(const QRect& rect, int dataCol, TOrvoColumn* column, bool highlight,
                                        TSelections selections, TColor& color, TFont& font, QObject*& image)
{
    if (OnPaintColumnCell)
        OnPaintColumnCell(this, rect, dataCol, column, highlight, selections, color, font, image);
}

void TOrvoCustomDBGrid::RowSelected(TSelectAction action)
{
    d->FSelection->RowsChanged();
    if (OnRowSelect)
        OnRowSelect(this, action);
}

void TOrvoCustomDBGrid::SequenceUpdated()
{
    if (OnSequenceUpdated)
        OnSequenceUpdated(this);
}

bool TOrvoCustomDBGrid::TotalCalcQuery(TDataSet* dataSet)
{
    bool accept = true;
    if (OnTotalCalcQuery)
        OnTotalCalcQuery(this, dataSet, accept);
    return accept;
}

void TOrvoCustomDBGrid::TotalCalcValue(TOrvoColumnTotalValue* total, TCalcPass pass, TVariant& value)
{
    if (OnTotalCalcValue)
        OnTotalCalcValue(total, pass, value);
}

void TOrvoCustomDBGrid::TotalGetText(TOrvoColumn* column, int index, QString& text, TTextKind textKind)
{
    if (OnTotalGetText)
        OnTotalGetText(column, index, text, textKind);
}

void TOrvoCustomDBGrid::TotalsChanged(TTotalsChange change, TField* field)
{
    if (d->FLoading || d->FDestroying || !d->FTotals->Active())
        return;
    if (change == tcTotalsLayout) {
        if (d->FUpdateLock != 0)
            DeferLayout();
        else
            LayoutChanged();
        return;
    }
    // A record change or a scroll repaints only the total cells that show the changed data:
    // a layout pass here would undo the cheap pixel scroll of every row move.
    const TTotalResult shown = change == tcDataRecord ? trDataField : trTotalField;
    const int firstRow = FirstBottomRow();
    for (TOrvoColumn* column : d->FShownColumns) {
        for (int index = d->FBottom.Blank; index < d->FBottom.Count(); ++index) {
            const TOrvoColumnTotal* total = TotalAtBottomRow(column, index);
            if (total && total->TotalResult() == shown && (!field || total->Field() == field))
                InvalidateCell(DataToRawColumn(column->Index()), firstRow + index);
        }
    }
}

TOrvoColumnTotal* TOrvoCustomDBGrid::TotalAtBottomRow(TOrvoColumn* column, int index) const
{
    switch (BottomRowKind(index)) {
    case brTotalHeader:
        return column->TotalHeader();
    case brTotalValues: {
        const int number = BottomRowNumber(index);
        TOrvoColumnTotalValues* values = column->TotalValues();
        return number < values->Count() ? values->Items(number) : nullptr;
    }
    case brTotalFields:
        return column->TotalFields();
    case brTotalFooter:
        return column->TotalFooter();
    default:
        return nullptr;
    }
}

void TOrvoCustomDBGrid::TotalsUpdated()
{
    if (OnTotalsUpdated)
        OnTotalsUpdated(this);
}

void TOrvoCustomDBGrid::CalcTotals(bool selected)
{
    d->FTotalsCalc->CalcTotals(selected);
}

void TOrvoCustomDBGrid::RecountSequence()
{
    TDataSet* dataSet = DataSet();
    if (!d->FOptions.Contains(dgForceSequence) || !dataSet || !dataSet->Active() ||
        dataSet->State() != dsBrowse)
        return;
    if (dataSet->IsEmpty()) {
        d->FSequenceRecordCount = 0;
        d->FSequenceRecNo = 0;
    } else if (dataSet->IsSequenced()) {
        // The dataset knows both numbers: no walk through its records.
        d->FSequenceRecordCount = dataSet->RecordCount();
        d->FSequenceRecNo = dataSet->RecNo();
    } else {
        const QString bookmark = dataSet->Bookmark();
        const int bufferRow = d->FDataLink->ActiveRecord();
        {
            dataSet->DisableControls();
            const auto enable = qScopeGuard([dataSet] { dataSet->EnableControls(); });
            d->FSequenceRecNo = 1 - dataSet->MoveBy(-INT_MAX);
            d->FSequenceRecordCount = qint64(dataSet->MoveBy(INT_MAX)) + 1;
            dataSet->GotoBookmark(bookmark);
        }
        // The count must not move the view: the record goes back to its row.
        ShowCurrentRecordAtRow(bufferRow);
    }
    UpdateScrollBar();
    SequenceUpdated();
}

void TOrvoCustomDBGrid::ShowCurrentRecordAtRow(int bufferRow)
{
    // Past the window's edge on the side the window must move to, then back: the window
    // scrolls by what the record's row is off, and no further than the data reaches.
    const int at = d->FDataLink->ActiveRecord();
    const int away = bufferRow < at ? d->FDataLink->BufferCount() - 1 - bufferRow : -bufferRow;
    if (bufferRow != at)
        DataSet()->MoveBy(-DataSet()->MoveBy(away));
}

QString TOrvoCustomDBGrid::PickValueToText(TOrvoColumn*, const TVariant& value)
{
    return value.IsNull() ? QString() : value.AsString();
}

TVariant TOrvoCustomDBGrid::PickTextToValue(TOrvoColumn*, const QString& text)
{
    return TVariant(text);
}

void TOrvoCustomDBGrid::FilterChanged()
{
    if (d->FSearch->IsFiltering() || d->FFilterGrid->AutoUpdate())
        ApplyFilter();
    else if (OnFilterChanged)
        OnFilterChanged(this);
}

void TOrvoCustomDBGrid::ShowFilterForm() {}

void TOrvoCustomDBGrid::ShowAutoFilterList(TOrvoColumn* column)
{
    // The lists opened from titles are the grid's own children (a cell's list belongs to
    // the editor). Asking again for the open list of the same column closes it.
    bool sameWasOpen = false;
    for (auto* open : findChildren<TOrvoDBGridDropDownList*>(Qt::FindDirectChildrenOnly)) {
        if (!open->ListShown())
            continue;
        sameWasOpen = sameWasOpen || open->Column() == column;
        open->CloseUp(false);
    }
    const TOrvoDBGridDropDownList::TFactory factory =
        TOrvoDBGridListClasses::Factory(TOrvoDBGridListClasses::glcFilterList);
    if (!column || sameWasOpen || !factory || !column->Field())
        return;
    TOrvoDBGridDropDownList* container = factory(this, column);
    // Over the column's lowest title cell, so that the list opens under the title.
    const int rawCol = DataToRawColumn(column->Index());
    QRect title = rawCol >= 0 ? CellRect(rawCol, std::max(TitleOffset() - 1, 0)) : QRect();
    title.translate(viewport()->pos());
    container->setGeometry(title.isValid() ? title : QRect(viewport()->pos(), QSize(1, 1)));
    container->SetReleaseOnClose(true);
    container->DropDown();
    // A container that opened nothing would never release itself.
    if (!container->ListShown())
        delete container;
}

void TOrvoCustomDBGrid::ShowPopupMenu(TOrvoColumn*, THintCell, const QPoint&) {}

QString TOrvoCustomDBGrid::GetTotalText(TOrvoColumn* column, int index, TTextKind textKind)
{
    return d->FTotalsCalc->GetTotalText(column, index, textKind);
}

void TOrvoCustomDBGrid::OrderUpdated()
{
    if (OnOrderUpdated)
        OnOrderUpdated(this);
}

void TOrvoCustomDBGrid::ShowSearchPanel() {}

void TOrvoCustomDBGrid::PositionSearchPanel() {}

// --- Data-link handlers ------------------------------------------------------------------------------

// --- Standard events ------------------------------------------------------------------------------------

void TOrvoCustomDBGrid::KeyDown(int& key, TShiftState shift)
{
    d->FKeyboard->KeyDown(key, shift);
}

void TOrvoCustomDBGrid::KeyPress(QChar& key)
{
    d->FKeyboard->KeyPress(key);
}

void TOrvoCustomDBGrid::KeyUp(int& key, TShiftState shift)
{
    d->FKeyboard->KeyUp(key, shift);
}

void TOrvoCustomDBGrid::CharInput(const QString& text)
{
    d->FKeyboard->CharInput(text);
}

TInplaceEdit* TOrvoCustomDBGrid::CreateEditor()
{
    TInplaceEdit* editor = new TOrvoDBGridEditor(this);
    d->FInputMethod->ApplyTo(editor);
    return editor;
}

void TOrvoCustomDBGrid::InputMethod(QInputMethodEvent* event)
{
    if (!d->FInputMethod->InputMethod(event))
        TCustomGrid::InputMethod(event);
}

QVariant TOrvoCustomDBGrid::inputMethodQuery(Qt::InputMethodQuery query) const
{
    QVariant answer;
    TExceptionHandler::Guard([this, query, &answer] { answer = d->FInputMethod->Query(query); });
    return answer.isValid() ? answer : TCustomGrid::inputMethodQuery(query);
}

TOrvoGridKeyboard& TOrvoCustomDBGrid::KeyboardPart() const
{
    return *d->FKeyboard;
}

TOrvoGridMouse& TOrvoCustomDBGrid::MousePart() const
{
    return *d->FMouse;
}

void TOrvoCustomDBGrid::ColEnter()
{
    d->FInputMethod->ApplyColumn();
    // The base carries an open editor along; one the move closed opens again here.
    if (d->FOptions.Contains(dgAlwaysShowEditor) && !EditorMode())
        ShowEditor();
    if (d->FSearch->Options().Contains(soCurrentCol) && d->FSearch->IsHighlighting())
        d->FSearch->SetText(QString());
    if (OnColEnter)
        OnColEnter(this);
}

void TOrvoCustomDBGrid::ColExit()
{
    if (OnColExit)
        OnColExit(this);
}

bool TOrvoCustomDBGrid::SearchGrid(int)
{
    return false;
}

void TOrvoCustomDBGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y, bool doubleClick)
{
    d->FMouse->MouseDown(button, shift, x, y, doubleClick);
}

void TOrvoCustomDBGrid::MouseMove(TShiftState shift, int x, int y)
{
    d->FMouse->MouseMove(shift, x, y);
}

void TOrvoCustomDBGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    d->FMouse->MouseUp(button, shift, x, y);
}

void TOrvoCustomDBGrid::MouseLeave()
{
    d->FMouse->MouseLeave();
}

void TOrvoCustomDBGrid::CancelMode()
{
    TCustomGrid::CancelMode();
    d->FMouse->CancelMode();
}

bool TOrvoCustomDBGrid::DoMouseWheel(TShiftState shift, int delta, const QPoint& pos)
{
    return d->FWheel->DoMouseWheel(shift, delta, pos);
}

void TOrvoCustomDBGrid::ColWidthsChanged()
{
    TCustomGrid::ColWidthsChanged();
    // The grid's own width settings come back through here too: only a user's drag counts.
    if (d->FSettingColumnAttributes || d->FLayoutLock != 0 || DistributingWidths())
        return;
    bool resized = false;
    {
        BeginLayout();
        const auto endLayout = Finally([this] { EndLayout(); });
        for (int i = 0; i < d->FColumns->Count(); ++i) {
            const int gridCol = DataToRawColumn(i);
            TOrvoColumn* column = d->FColumns->Items(i);
            if (gridCol >= ColCount() || !column->IsShown() || ColWidths(gridCol) < 0 ||
                ColWidths(gridCol) == ShownColumnWidth(i))
                continue;
            int width = ColWidths(gridCol);
            // While stretching, the drag sets the share of the column: its base width
            // scaled back from the space the shares divide (none left: kept as dragged).
            if (Stretching())
                width = d->FStretching->DraggedBaseWidth(width);
            column->SetWidthBase(width);
            resized = true;
        }
    }
    if (!resized)
        return;
    if (OnColumnResize)
        OnColumnResize(this);
    SynchronizeNextGrids();
}

void TOrvoCustomDBGrid::ColumnMoved(int fromIndex, int toIndex)
{
    TCustomGrid::ColumnMoved(fromIndex, toIndex);
    if (!d->FMouse->AcceptColumnMove(fromIndex, toIndex))
        return;
    const int from = RawToDataColumn(fromIndex);
    const int to = RawToDataColumn(toIndex);
    if (from >= 0 && from < d->FColumns->Count() && to >= 0 && to < d->FColumns->Count()) {
        TOrvoColumn* moved = d->FColumns->Items(from);
        moved->SetIndex(to);
        // A refused move (onto an automatic column) leaves the column in place; the base has
        // already carried the current cell along, so it goes back to where it was.
        if (moved->Index() == from && from != to)
            SetCol(MovedIndex(Col(), toIndex, fromIndex)); // the move undone
        // Selected columns are kept by identity, so they follow the move.
        SelectedCols()->Renumber();
    }
    if (OnColumnMoved)
        OnColumnMoved(this, from, to);
    SynchronizeNextGrids();
}

void TOrvoCustomDBGrid::CalcSizingState(int x, int y, TGridState& state, int& index, int& sizingPos,
                                        int& sizingOfs, const TGridDrawInfo& info)
{
    TCustomGrid::CalcSizingState(x, y, state, index, sizingPos, sizingOfs, info);
    d->FMouse->ColumnDrag().RefineSizingState(x, y, state, index);
}

bool TOrvoCustomDBGrid::CheckColumnDrag(int& origin, int x, int y)
{
    return d->FMouse->ColumnDrag().DragOrigin(origin, x, y);
}

bool TOrvoCustomDBGrid::EndColumnDrag(int& origin, int& destination, const QPoint&)
{
    return d->FMouse->ColumnDrag().CorrectDestination(origin, destination);
}

void TOrvoCustomDBGrid::TopLeftChanged()
{
    TCustomGrid::TopLeftChanged();
    d->FScrollProp->ApplyScrollProps();
    // Chained grids scroll together.
    d->FChain->ScrollNext();
    if (LeftCol() != d->FLastLeftCol) {
        d->FLastLeftCol = LeftCol();
        if (OnColumnScroll)
            OnColumnScroll(this, RawToDataColumn(LeftCol()));
    }
}

void TOrvoCustomDBGrid::ChangeScale(int multiplier, int divisor)
{
    {
        // The base scales its own widths; copying them back as a user's drag would scale
        // the columns a second time below.
        const QScopedValueRollback ownWidths(d->FSettingColumnAttributes, true);
        TCustomGrid::ChangeScale(multiplier, divisor);
    }
    // With the parent's font as the measure, the widths follow that font's height instead.
    if (ParentFont() && d->FOptionsExt.Contains(dgScaleByParentFont))
        return;
    ScaleColumnWidths(multiplier, divisor);
}

void TOrvoCustomDBGrid::ScaleColumnWidths(int multiplier, int divisor)
{
    BeginLayout();
    const auto done = qScopeGuard([this] { EndLayout(); });
    for (int i = 0; i < d->FColumns->Count(); ++i) {
        TOrvoColumn* column = d->FColumns->Items(i);
        column->SetWidthBase(column->WidthBase() * multiplier / std::max(1, divisor));
    }
}

void TOrvoCustomDBGrid::WindowCreated()
{
    {
        BeginUpdate();
        const auto endUpdate = Finally([this] { EndUpdate(); });
        TCustomGrid::WindowCreated();
    }
    d->FScrollProp->UseFlatScrollBars();
    LayoutChanged();
    UpdateScrollBar();
    d->FScrollProp->ApplyScrollProps();
}

void TOrvoCustomDBGrid::focusInEvent(QFocusEvent* event)
{
    TCustomGrid::focusInEvent(event);
    TExceptionHandler::Guard([this] {
        if (OnEnter)
            OnEnter(this);
    });
}

void TOrvoCustomDBGrid::changeEvent(QEvent* event)
{
    TCustomGrid::changeEvent(event);
    TExceptionHandler::Guard([this, event] {
        switch (event->type()) {
        case QEvent::FontChange:
            if (ParentFont() && !d->FCopyingParentFont)
                CopyParentFont();
            else
                LayoutChanged();
            break;
        case QEvent::EnabledChange:
            viewport()->update();
            break;
        case QEvent::LayoutDirectionChange:
            RefreshEditor();
            break;
        default:
            break;
        }
    });
}

} // namespace orvo
