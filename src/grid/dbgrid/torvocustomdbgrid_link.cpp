// What the grid does when its data link reports, the data source setter, the
// editing permissions of a cell and the long-operation bracket.

#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvocustomdbgrid_p.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "grid/filter/torvodbgridfilter.h"
#include "grid/search/torvodbgridsearch.h"
#include "grid/selection/torvobookmarklist.h"
#include "grid/settings/torvodbgridsettings.h"
#include "grid/totals/torvocolumntotalfields.h"
#include "grid/totals/torvocolumntotalfooter.h"
#include "grid/totals/torvocolumntotalheader.h"
#include "grid/totals/torvocolumntotalvalues.h"
#include "grid/totals/torvodbgridtotals.h"
#include "platform/core/exceptions.h"
#include "platform/core/texceptionhandler.h"
#include "platform/core/tscopecleanup.h"
#include "platform/data/tdataset.h"
#include "platform/data/tdatasource.h"
#include "platform/data/tfield.h"
#include "platform/gridbase/tinplaceedit.h"

#include <QScopeGuard>

#include <algorithm>

namespace orvo {

// --- The data source ---------------------------------------------------------------------------

void TOrvoCustomDBGrid::SetDataSource(TDataSource* value)
{
    if (value == DataSource())
        return;
    if (value && value == d->FTotals->DataSource()) {
        if (d->FLoading)
            return;
        throw EInvalidGridOperation(QStringLiteral("Circular datalinks are not allowed"));
    }
    if (value && value->DataSet() && value->DataSet()->IsUniDirectional())
        throw EDatabaseError(QStringLiteral("Operation not allowed on a unidirectional dataset"));
    ClearSelection();
    // The dataset left behind must not keep the auto-filter this grid installed on it.
    RestoreDataSetFilter();
    if (d->FDataSourceWatch)
        disconnect(d->FDataSourceWatch);
    d->FDataLink->SetDataSource(value);
    // A data source freed while the grid shows it must not leave the link pointing at it.
    if (value)
        d->FDataSourceWatch = connect(value, &QObject::destroyed, this, [this] {
            // A signal of a dying object: an error here must not unwind into its destructor.
            TExceptionHandler::Guard([this] { d->FDataLink->SetDataSource(nullptr); });
        });
    LayoutChanged();
}

// --- Link notifications -----------------------------------------------------------------------------

void TOrvoCustomDBGrid::LinkActive(bool value)
{
    if (d->FDestroying)
        return;
    // The grid must not be left half switched: the closing steps run, and the first
    // error is the one that passes on (a second one goes to the application's handler).
    const auto finish = Finally([this, value] { FinishLinkActive(value); });
    if (value && d->FColumns->State() == csDefault && d->FOptionsExt.Contains(dgForceCustomized)) {
        d->FColumns->SetState(csCustomized);
        if (d->FSettings->Active())
            d->FSettings->AutoLoad();
    }
    if (!value) {
        HideEditor();
        if (RowCount() > d->FTitleOffset)
            MoveColRow(Col(), d->FTitleOffset, true, false);
    }
    ClearSelection();
    if (!value && d->FSettings->Active() && d->FColumns->State() == csDefault)
        d->FSettings->AutoSave();
    LayoutChanged();
    if (value && d->FSettings->Active() && d->FColumns->State() == csDefault)
        d->FSettings->AutoLoad();
}

void TOrvoCustomDBGrid::FinishLinkActive(bool value)
{
    // An auto-filter is engaged again for the opened dataset; a closed one gets its own
    // filter back, so that nothing the grid installed stays behind on it.
    if (value && (!d->FFilterGrid->FilteredColumns().isEmpty() || d->FSearch->IsFiltering()))
        FilterChanged();
    else
        RestoreDataSetFilter();
    UpdateListItems();
    UpdateSequence(true);
    UpdateScrollBar();
    UpdateHorzScrollBar();
    RepaintFrame();
    if (Stretching()) {
        d->FStretching->Distribute();
        SetColumnAttributes();
    }
    if (value)
        ActivateOrder();
    // A chained grid takes the frozen columns and scroll position of its master again.
    if (TOrvoCustomDBGrid* master = d->FChain->Master())
        master->SynchronizeNextGrids();
    if (d->FOptions.Contains(dgAlwaysShowEditor))
        ShowEditor();
    UpdateTotals(true);
}

void TOrvoCustomDBGrid::DataChanged()
{
    if (d->FDelayed->InsideRebuild())
        return;
    TDataSet* dataSet = DataSet();
    if (dataSet && dataSet->State() == dsBrowse && !IsBusy()) {
        if (d->FOptionsExt.Contains(dgAutoUpdateListItems))
            UpdateListItems();
        // A dataset that numbers its records says at once where a change left the
        // current one; the rows must not show the old numbers until the recount.
        if (d->FOptions.Contains(dgForceSequence) && dataSet->IsSequenced() && !dataSet->IsEmpty()) {
            d->FSequenceRecordCount = dataSet->RecordCount();
            d->FSequenceRecNo = dataSet->RecNo();
        }
        if (d->FOptionsEx.Contains(dgAutoUpdateSequence))
            UpdateSequence(true);
        UpdateTotals(true);
    }
    if (d->FUpdateLock == 0 && d->FLayoutLock == 0)
        UpdateRowCount();
    RepaintFrame();
    UpdateScrollBar();
    UpdateHorzScrollBar();
    if (!d->FOptions.Contains(dgAlwaysShowEditor))
        HideEditor();
    MoveToActiveRecord();
    if (TField* field = SelectedField(); field && EditorMode() && field->EditText() != d->FEditText)
        InvalidateEditor();
    if (d->FOptions.Contains(dgAllowInsertOff) && d->FOptions.Contains(dgEditing)) {
        TGridOptions base = TCustomGrid::Options();
        if (dataSet && dataSet->IsEmpty())
            base.Exclude(goEditing);
        else
            base.Include(goEditing);
        TCustomGrid::SetOptions(base);
    }
    InvalidateGrid();
}

void TOrvoCustomDBGrid::EditingChanged()
{
    if (d->FOptions.Contains(dgIndicator))
        InvalidateCell(0, Row());
}

namespace {

/// Whether `column` shows `field` itself or a lookup field keyed on it.
bool ColumnShowsField(const TOrvoColumn* column, const TField* field)
{
    const TField* shown = column->Field();
    if (!shown)
        return false;
    if (shown == field)
        return true;
    if (!shown->Lookup())
        return false;
    const QStringList keys = shown->KeyFields().split(QLatin1Char(';'), Qt::SkipEmptyParts);
    return std::any_of(keys.begin(), keys.end(), [field](const QString& key) {
        return key.trimmed().compare(field->FieldName(), Qt::CaseInsensitive) == 0;
    });
}

/// The lookup dataset's result for `key`: null when nothing matches.
TVariant LookupResultFor(const TOrvoColumn* column, const TVariant& key)
{
    TVariant result = TVariant::Null();
    column->SearchLookupDataSet([column, &key, &result](TDataSet& lookup) {
        if (lookup.Locate(column->LookupKeyField(), key, {}))
            result = lookup.FieldByName(column->LookupResultField())->AsVariant();
    });
    return result;
}

} // namespace

void TOrvoCustomDBGrid::RecordChanged(TField* field)
{
    if (field) {
        for (int i = 0; i < d->FColumns->Count(); ++i) {
            const TOrvoColumn* column = d->FColumns->Items(i);
            if (column->IsShown() && ColumnShowsField(column, field))
                InvalidateCell(DataToRawColumn(i), Row());
        }
    } else {
        InvalidateRow(Row());
    }
    TotalsChanged(tcDataRecord, field);
    if (!field || field == SelectedField()) {
        TField* current = SelectedField();
        if (current && EditorMode() && current->EditText() != d->FEditText)
            InvalidateEditor();
    }
    if (field)
        UpdateLookupResults(field);
}

void TOrvoCustomDBGrid::UpdateLookupResults(TField* keyField)
{
    // Writing a result reports that field in turn; a chain of results that leads back
    // to a key already being followed stops there instead of recursing for ever.
    if (std::find(d->FLookupKeysFollowed.begin(), d->FLookupKeysFollowed.end(), keyField) !=
        d->FLookupKeysFollowed.end())
        return;
    d->FLookupKeysFollowed.push_back(keyField);
    const auto done = qScopeGuard([this] { d->FLookupKeysFollowed.pop_back(); });
    for (int i = 0; i < d->FColumns->Count(); ++i) {
        const TOrvoColumn* column = d->FColumns->Items(i);
        TField* result = column->Field();
        if (column->LookupColumn() != lcLookupResultField || !result || !result->CanModify() ||
            column->KeyField().compare(keyField->FieldName(), Qt::CaseInsensitive) != 0)
            continue;
        const TVariant value =
            keyField->IsNull() ? TVariant::Null() : LookupResultFor(column, keyField->AsVariant());
        d->FDataLink->Edit();
        result->SetAsVariant(value);
    }
}

bool TOrvoCustomDBGrid::FocusField(TField* field)
{
    for (int i = 0; i < d->FColumns->Count(); ++i) {
        const TOrvoColumn* column = d->FColumns->Items(i);
        if (column->Field() == field && column->IsShown()) {
            FocusCell(DataToRawColumn(i), Row(), true);
            break;
        }
    }
    if (SelectedField() != field || !isEnabled() || !isVisible())
        return false;
    setFocus(Qt::OtherFocusReason);
    ShowEditor();
    return true;
}

void TOrvoCustomDBGrid::UpdateData()
{
    if (TOrvoColumn* column = SelectedColumn())
        column->StoreEditText(d->FEditText);
}

void TOrvoCustomDBGrid::FieldRemoving(TField* field)
{
    BeginLayout();
    bool bound = false;
    {
        const auto cancel = OnUnwind([this] { CancelLayout(); });
        for (int i = 0; i < d->FColumns->Count(); ++i) {
            TOrvoColumn* column = d->FColumns->Items(i);
            if (column->Field() == field) {
                column->SetField(nullptr);
                bound = true;
            }
        }
        bound = UnbindTotalsFrom(field) || bound;
    }
    const TDataSet* owner = field ? field->DataSet() : nullptr;
    // A pass now only helps when a binding went and its dataset still reports; a
    // dataset with its controls off (or tearing its fields down) gets one pass later
    // rather than one per field now.
    if (bound && owner && !owner->ControlsDisabled()) {
        EndLayout();
        return;
    }
    CancelLayout();
    DeferLayout();
}

bool TOrvoCustomDBGrid::UnbindTotalsFrom(const TField* field)
{
    bool bound = false;
    const auto unbind = [field, &bound](TOrvoColumnTotal* total) {
        if (total->Field() != field)
            return;
        total->SetField(nullptr);
        bound = true;
    };
    for (int i = 0; i < d->FColumns->Count(); ++i) {
        const TOrvoColumn* column = d->FColumns->Items(i);
        unbind(column->TotalHeader());
        for (int v = 0; v < column->TotalValues()->Count(); ++v)
            unbind(column->TotalValues()->Items(v));
        unbind(column->TotalFields());
        unbind(column->TotalFooter());
    }
    return bound;
}

// --- Leaving the grid ---------------------------------------------------------------------------------

void TOrvoCustomDBGrid::DoExit()
{
    TDataSet* dataSet = DataSet();
    if (d->FDataLink->Active() && dataSet) {
        // A value the field refuses keeps the focus in the grid, on the cell to mend.
        const auto keepFocus = OnUnwind([this] { setFocus(Qt::OtherFocusReason); });
        if (d->FOptions.Contains(dgCancelOnExit) && dataSet->State() == dsInsert && !dataSet->Modified() &&
            !d->FDataLink->Modified()) {
            Cancel();
        } else {
            d->FDataLink->UpdateRecord();
        }
    }
    TCustomGrid::DoExit();
    if (OnExit)
        OnExit(this);
}

void TOrvoCustomDBGrid::Cancel()
{
    TDataSet* dataSet = DataSet();
    if (!dataSet)
        return;
    BeginBusy();
    const auto done = qScopeGuard([this] { EndBusy(); });
    dataSet->Cancel();
}

// --- Editing permissions -------------------------------------------------------------------------------

bool TOrvoCustomDBGrid::CanEditAcceptKey(QChar key)
{
    const TField* field = d->FDataLink->Active() ? SelectedField() : nullptr;
    return field && field->IsValidChar(key);
}

bool TOrvoCustomDBGrid::CanEditModify()
{
    const TOrvoColumn* column = SelectedColumn();
    TField* field = column ? column->Field() : nullptr;
    if (d->FReadOnly || !d->FDataLink->Active() || d->FDataLink->ReadOnly() || !column ||
        column->ReadOnly() || !field || !field->CanModify())
        return false;
    const TFieldType type = field->DataType();
    const bool binary = type == ftBytes || type == ftVarBytes || (type >= ftBlob && type <= ftCursor) ||
                        type == ftADT || type == ftArray || type == ftReference || type == ftDataSet;
    const bool memoEditable = column->EditMemo() && (type == ftMemo || type == ftFmtMemo);
    if (binary && !field->HasSetTextHandler() && !memoEditable)
        return false;
    d->FDataLink->Edit();
    const bool editing = d->FDataLink->Editing();
    if (editing)
        d->FDataLink->SetModified(true);
    return editing;
}

bool TOrvoCustomDBGrid::CanEditShow()
{
    const TOrvoColumn* column = SelectedColumn();
    // Typing into a row the dataset is not on would write into another record.
    const bool onCurrentRecord =
        d->FDataLink->RecordCount() == 0 || RecordOfRow(Row()) == d->FDataLink->ActiveRecord();
    return d->FLayoutLock == 0 && column && column->ShowEdit() && d->FDataLink->Active() && onCurrentRecord &&
           TCustomGrid::CanEditShow();
}

QString TOrvoCustomDBGrid::GetEditText(int col, int)
{
    const TOrvoColumn* column = ColumnOfGridCol(col);
    d->FEditText = d->FDataLink->Active() && column ? column->EditText() : QString();
    return d->FEditText;
}

void TOrvoCustomDBGrid::SetEditText(int, int, const QString& value)
{
    d->FEditText = value;
}

namespace {

/// The editor of such a column offers the pick texts, not the stored values.
bool ShowsPickTexts(const TOrvoColumn* column)
{
    return column && column->PickOptions().Contains(poSelectPickText) && !column->PickText().isEmpty();
}

} // namespace

QString TOrvoCustomDBGrid::GetEditMask(int col, int)
{
    const TOrvoColumn* column = ColumnOfGridCol(col);
    const TField* field = column ? column->Field() : nullptr;
    if (!d->FDataLink->Active() || !field || ShowsPickTexts(column))
        return QString();
    return field->EditMask();
}

int TOrvoCustomDBGrid::GetEditLimit()
{
    const TField* field = SelectedField();
    // A pick text may well be longer than the value stored for it.
    if (!field || ShowsPickTexts(ColumnOfGridCol(Col())))
        return 0;
    const TFieldType type = field->DataType();
    const bool text = type == ftString || type == ftFixedChar || type == ftWideString;
    return text ? field->Size() : 0;
}

// --- The long-operation bracket --------------------------------------------------------------------------

void TOrvoCustomDBGrid::BeginLongOperation()
{
    if (d->FLongOperation++ > 0)
        return;
    BeginBusy();
    d->FLongOperationEnabled = isEnabled();
    TDataSet* dataSet = DataSet();
    if (d->FDataLink->Active() && dataSet) {
        d->FLongOperationBookmark = dataSet->Bookmark();
        d->FLongOperationRow = d->FDataLink->ActiveRecord();
        dataSet->DisableControls();
    }
    setEnabled(false);
}

void TOrvoCustomDBGrid::EndLongOperation()
{
    if (d->FLongOperation == 0 || --d->FLongOperation > 0)
        return;
    const auto done = qScopeGuard([this] {
        setEnabled(d->FLongOperationEnabled);
        EndBusy();
    });
    TDataSet* dataSet = DataSet();
    if (!d->FDataLink->Active() || !dataSet)
        return;
    bool returned = false;
    {
        const auto enable = qScopeGuard([dataSet] { dataSet->EnableControls(); });
        returned = !d->FLongOperationBookmark.isEmpty() && dataSet->BookmarkValid(d->FLongOperationBookmark);
        if (returned)
            dataSet->GotoBookmark(d->FLongOperationBookmark);
    }
    // The window follows the dataset again only with its controls on, so the record is put
    // back on its row afterwards.
    if (returned)
        ShowCurrentRecordAtRow(d->FLongOperationRow);
}

} // namespace orvo
