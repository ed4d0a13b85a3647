#include "lists/filter/torvodbgridfilterlist.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvocolumntitle.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/orvolistsettings.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/filter/torvodbgridfilter.h"
#include "grid/filter/torvofilterdialect.h"
#include "grid/search/torvodbgridsearch.h"
#include "grid/selection/torvobookmarklist.h"
#include "lists/filter/torvodbfilterdata.h"
#include "lists/filter/torvodbpopupfilterlist.h"
#include "lists/filter/torvofiltervalues.h"
#include "platform/core/texceptionhandler.h"
#include "platform/core/tscopecleanup.h"
#include "platform/core/tsystemprofile.h"
#include "platform/data/tdataset.h"
#include "platform/data/tdatasource.h"
#include "platform/data/tfield.h"
#include "platform/gridbase/shiftstate.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSet>
#include <QStyle>

namespace orvo {

namespace {

bool OffersFilterForm(const TOrvoColumn& column, const TOrvoDBGridFilter& filter)
{
    const TField* field = column.Field();
    if (!field || !(column.Title()->AutoFilters() * filter.AutoFilters()).Contains(fsFilterForm))
        return false;
    const TFieldKind kind = field->FieldKind();
    return (kind == fkData || kind == fkLookup || kind == fkInternalCalc) &&
           TOrvoFilterDialect::Filterable(field->DataType());
}

QSet<QString> CaseFolded(const QStringList& keys)
{
    QSet<QString> folded;
    folded.reserve(keys.size());
    for (const QString& key : keys)
        folded.insert(key.toCaseFolded());
    return folded;
}

} // namespace

TOrvoDBGridFilterList::TOrvoDBGridFilterList(QWidget* parent, TOrvoColumn* column)
    : TOrvoDBGridDropDownList(parent, column)
{
    FValues = new TOrvoDBFilterData(this);
    FValues->SetItems(&FValueRows);
    SetListClass<TOrvoDBPopupFilterList>();
}

TOrvoDBGridFilterList::~TOrvoDBGridFilterList()
{
    // The list reads the value dataset until it goes: unbind it first.
    if (TOrvoDBPopupFilterList* list = FilterList())
        list->ListSource()->SetDataSet(nullptr);
}

TOrvoDBPopupFilterList* TOrvoDBGridFilterList::FilterList() const
{
    return qobject_cast<TOrvoDBPopupFilterList*>(List());
}

bool TOrvoDBGridFilterList::Redropping() const
{
    return ListRedropping();
}

bool TOrvoDBGridFilterList::ColumnShowsKeys() const
{
    const TOrvoLookupColumn role = Column()->LookupColumn();
    return role == lcLookupField || role == lcLookupResultField || role == lcLookupValueField;
}

// --- Opening and closing -------------------------------------------------------------------

void TOrvoDBGridFilterList::SetupList(bool opening)
{
    TOrvoDBPopupFilterList* list = FilterList();
    if (!opening || !list || !Column() || !Column()->Field() || !Grid())
        return;
    TakeGridLook(glkDataList);
    TakeGridLookRest();
    TakeFilterOptions();
    const bool flat = !TSystemProfile::Current().ThemesEnabled();
    list->SetFlatButtons(flat);
    list->SetButtonEdges(flat);
    list->SetCopyKeys(ColumnShowsKeys());
    ShowTitleButtons();
    TakeColumnImages();
}

void TOrvoDBGridFilterList::TakeFilterOptions()
{
    TOrvoDBPopupFilterList& list = *FilterList();
    const TOrvoDBGridFilter& filter = *Grid()->FilterGrid();
    const TOrvoDBGridFilterOptions options = filter.Options();
    // A reopening keeps what the user switched in the open list.
    if (!Redropping())
        list.SetLoadAllItems(options.Contains(foLoadAllItems));
    list.SetApplyAtOnce(options.Contains(foAutoApplyList));
    list.SetMinParentWidth(options.Contains(foListAlignment));
    list.SetAnimation(options.Contains(foListAnimation));
    list.SetAlignUnder(options.Contains(foOverlayedList));
    list.SetCheckedFirst(options.Contains(foCheckedFirst));
    list.SetDropDownRows(filter.DropDownRows());
    list.SetDropDownWidth(filter.DropDownWidth());
}

void TOrvoDBGridFilterList::TakeGridLookRest()
{
    const TOrvoCustomDBGrid& grid = *Grid();
    TOrvoDBPopupFilterList& list = *FilterList();
    const bool tracking = TOrvoListSettings::ListMouseTracking();
    const TOrvoDBGridOptionsExt gridOptions = grid.OptionsExt();
    TOrvoDBGridOptionsExt options = list.OptionsExt();
    const auto take = [&options](TOrvoDBGridOptionExt option, bool on) {
        if (on)
            options.Include(option);
        else
            options.Exclude(option);
    };
    take(dgMouseTracking, tracking);
    take(dgScrollGridMode, tracking || gridOptions.Contains(dgScrollGridMode));
    for (TOrvoDBGridOptionExt option :
         {dgScrollPageMode, dgScrollRowsMode, dgForceSystemTheme, dgForceSystemButton, dgForceSystemMarker})
        take(option, gridOptions.Contains(option));
    list.SetOptionsExt(options);
}

void TOrvoDBGridFilterList::ShowTitleButtons()
{
    TOrvoDBPopupFilterList& list = *FilterList();
    TOrvoCustomDBGrid& grid = *Grid();
    const bool form = OffersFilterForm(*Column(), *grid.FilterGrid());
    list.ShowTitleButton(TOrvoDBPopupFilterList::flcRemoveFilter, form && !Column()->FilterText().isEmpty());
    list.ShowTitleButton(TOrvoDBPopupFilterList::flcSelectFilter, form);
    list.ShowTitleButton(TOrvoDBPopupFilterList::flcAddSelected,
                         grid.FilterGrid()->Options().Contains(foAddSelected) && grid.HasSelectedRows());
}

void TOrvoDBGridFilterList::TakeColumnImages()
{
    TOrvoColumn& column = *Column();
    TOrvoDBPopupFilterList& list = *FilterList();
    TOrvoColumn* value = list.Columns()->Items(TOrvoDBPopupFilterList::flcValue);
    if (!column.Images()) {
        value->SetImages(nullptr);
        list.OnCalcImageIndex = nullptr;
        return;
    }
    value->SetImages(column.Images());
    value->SetImageDraw(column.ImageDraw());
    value->SetImageMargin(column.ImageMargin());
    value->SetImageOffsetX(column.ImageOffsetX());
    value->SetImageOffsetY(column.ImageOffsetY());
    value->SetQuickDraw(column.QuickDraw());
    value->SetWallpaper(column.Wallpaper());
    value->SetTransparent(column.Transparent());
    value->SetTransparentColor(column.TransparentColor());
    list.OnCalcImageIndex = Grid()->OnCalcImageIndex;
}

void TOrvoDBGridFilterList::TransferValue(bool opening)
{
    TOrvoDBPopupFilterList* list = FilterList();
    if (!list || !Column())
        return;
    if (opening) {
        list->ListSource()->SetDataSet(FValues);
        TOrvoColumn* value = list->Columns()->Items(TOrvoDBPopupFilterList::flcValue);
        value->SetFieldName(TOrvoDBFilterData::ItemField());
        value->SetAlignment(Column()->Alignment());
        list->SetSearchField(TOrvoDBFilterData::ItemField());
        list->SetTrackSelection(true);
        LoadValues();
        FValues->Open();
        MarkChecked();
        const bool incremental = Grid()->FilterGrid()->Options().Contains(foIncrementalList) ||
                                 Column()->ListOptions().Contains(loIncrementalList);
        list->Search()->SetIncremental(incremental);
        if (incremental)
            list->Search()->SetOptions(TOrvoSearchOptions{soSkipMessage, soFilterRows});
        InstallCallbacks(true);
        return;
    }
    InstallCallbacks(false);
    if (Accept())
        StoreChecked();
    // Showing the values of all records, or removing the expression, reopens the list:
    // what the user checked and has not confirmed yet must survive that.
    else if (Redropping() && !list->AutoApply())
        FPendingChecks = list->CheckedKeys();
    list->SetSearchField(TOrvoDBFilterData::ItemField());
    list->Search()->SetText(QString());
    FValues->Close();
    FValueRows.clear();
    list->ListSource()->SetDataSet(nullptr);
}

void TOrvoDBGridFilterList::InstallCallbacks(bool install)
{
    TOrvoDBPopupFilterList& list = *FilterList();
    if (!install) {
        list.OnRemoveFilter = nullptr;
        list.OnSelectFilter = nullptr;
        list.OnAddSelected = nullptr;
        list.OnListChange = nullptr;
        list.OnListOption = nullptr;
        return;
    }
    list.OnRemoveFilter = [this] { RemoveFilter(); };
    list.OnSelectFilter = [this] { SelectFilter(); };
    list.OnAddSelected = [this] { AddSelected(); };
    list.OnListChange = [this] { ApplyChecked(); };
    list.OnListOption = [this] { ReopenList(false); };
}

void TOrvoDBGridFilterList::DoCloseUp(bool& accept)
{
    if (!Redropping())
        TOrvoDBGridDropDownList::DoCloseUp(accept);
}

void TOrvoDBGridFilterList::DoDropDown()
{
    if (!Redropping())
        TOrvoDBGridDropDownList::DoDropDown();
}

// --- Values and check marks ------------------------------------------------------------------

void TOrvoDBGridFilterList::LoadValues()
{
    FValueRows.clear();
    FValues->SetItemSize(TOrvoDBFilterData::DefaultSize);
    FValues->SetKeySize(TOrvoDBFilterData::DefaultSize);
    const TOrvoDBPopupFilterList* list = FilterList();
    if (!Column() || !list)
        return;
    TOrvoFilterValueRows values =
        TOrvoFilterValues::Load(*Column(), list->LoadAllItems(), list->CheckedFirst());
    FValueRows = std::move(values.Rows);
    FValues->SetItemSize(values.ItemSize);
    FValues->SetKeySize(values.KeySize);
}

void TOrvoDBGridFilterList::MarkChecked()
{
    TOrvoDBPopupFilterList* list = FilterList();
    if (!list || !Column())
        return;
    // Marking what is stored is no change of the user's: it must not store anything back,
    // which would drop the checked values this list does not show.
    const bool autoApply = list->AutoApply();
    list->SetAutoApply(false);
    const auto restore = Finally([list, autoApply] {
        list->FlushUpdates();
        list->SetAutoApply(autoApply);
    });
    const QStringList checked = FPendingChecks.value_or(Column()->FilterList());
    FPendingChecks.reset();
    if (checked.isEmpty()) {
        list->SelectedRows()->Clear();
        return;
    }
    const QSet<QString> keys = CaseFolded(checked);
    list->CheckRows([&keys](const QString& key) { return keys.contains(key.toCaseFolded()); }, true);
}

void TOrvoDBGridFilterList::StoreChecked()
{
    TOrvoDBPopupFilterList* list = FilterList();
    if (!list || !Column())
        return;
    Column()->SetFilterList(list->AnyChecked() ? list->CheckedKeys() : QStringList());
}

void TOrvoDBGridFilterList::ApplyChecked()
{
    StoreChecked();
    const TOrvoDBPopupFilterList* list = FilterList();
    const TDataSet* values = list ? list->DataSet() : nullptr;
    if (Column() && Column()->FilterList().isEmpty() && values && values->RecNo() <= 1)
        ReopenList(false);
}

void TOrvoDBGridFilterList::RemoveFilter()
{
    if (!Column())
        return;
    Column()->SetFilterText(QString());
    ReopenList(false);
}

void TOrvoDBGridFilterList::SelectFilter()
{
    TOrvoCustomDBGrid* grid = Grid();
    if (!grid)
        return;
    // The form works on the grid's current column, which the list made this column.
    CloseUp(false);
    grid->ShowFilterForm();
}

void TOrvoDBGridFilterList::AddSelected()
{
    TOrvoCustomDBGrid* grid = Grid();
    TOrvoDBPopupFilterList* list = FilterList();
    TDataSet* dataSet = grid ? grid->DataSet() : nullptr;
    if (!list || !dataSet || !dataSet->Active() || !grid->HasSelectedRows())
        return;
    const TField* keyField = ColumnShowsKeys() ? dataSet->FindField(Column()->KeyField()) : Column()->Field();
    if (!keyField)
        return;
    QSet<QString> keys;
    {
        const QString current = dataSet->Bookmark();
        grid->BeginUpdate();
        dataSet->DisableControls();
        const auto done = Finally([&] {
            if (!current.isEmpty() && dataSet->BookmarkValid(current))
                dataSet->GotoBookmark(current);
            dataSet->EnableControls();
            grid->EndUpdate();
        });
        const TOrvoBookmarkList* rows = grid->SelectedRows();
        for (int index = 0; index < rows->Count(); ++index) {
            const QString bookmark = rows->Items(index);
            if (!dataSet->BookmarkValid(bookmark))
                continue;
            dataSet->GotoBookmark(bookmark);
            keys.insert(keyField->EditText().toCaseFolded());
        }
    }
    const bool autoApply = list->AutoApply();
    list->SetAutoApply(false);
    {
        const auto restore = Finally([list, autoApply] {
            list->FlushUpdates();
            list->SetAutoApply(autoApply);
        });
        // Without regard to case, as the rows were made and as the filter compares: a row
        // stands for every spelling of its value, and a selected "Apple" is its "apple".
        list->CheckRows([&keys](const QString& key) { return keys.contains(key.toCaseFolded()); }, false);
    }
    if (autoApply)
        list->DoListChange();
}

// --- The grid's keys and presses while the list is open ---------------------------------------

bool TOrvoDBGridFilterList::eventFilter(QObject* watched, QEvent* event)
{
    bool used = false;
    bool onButton = false;
    TExceptionHandler::Guard([&] {
        if (!ListShown())
            return;
        used = RouteGridKey(watched, event);
        const QEvent::Type type = event->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
            onButton = OnFilterButton(watched, static_cast<QMouseEvent*>(event)->position().toPoint());
    });
    if (used)
        return true;
    // A press on the filter button is the grid's: its release toggles the list.
    if (onButton)
        return false;
    return TOrvoDBGridDropDownList::eventFilter(watched, event);
}

bool TOrvoDBGridFilterList::RouteGridKey(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        return false;
    TOrvoCustomDBGrid* grid = Grid();
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (!grid || !widget || (widget != grid && !grid->isAncestorOf(widget)))
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    // The list takes every key while it is open, also those the window's short cuts want.
    if (type == QEvent::ShortcutOverride) {
        key->accept();
        return true;
    }
    const bool alt = key->modifiers() & Qt::AltModifier;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        if (!alt) {
            CloseUp(key->key() != Qt::Key_Escape);
            return true;
        }
        break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        CloseUp(false);
        return true;
    default:
        break;
    }
    return RouteKey(key);
}

bool TOrvoDBGridFilterList::OnFilterButton(QObject* watched, const QPoint& point) const
{
    TOrvoCustomDBGrid* grid = Grid();
    if (!grid || watched != grid->viewport())
        return false;
    QRect title = geometry();
    title.translate(-grid->viewport()->pos());
    const int width = grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid);
    QRect button = title;
    if (grid->layoutDirection() == Qt::RightToLeft)
        button.setWidth(width);
    else
        button.setLeft(title.right() - width + 1);
    return button.contains(point);
}

} // namespace orvo
