#include "lists/filter/torvofiltervalues.h"

#include "grid/columns/torvocolumn.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/filter/filtertexts.h"
#include "grid/filter/torvodbgridfilter.h"
#include "grid/filter/torvofilterdialect.h"
#include "grid/filter/torvofilterroworder.h"
#include "lists/filter/torvodbfilterdata.h"
#include "platform/core/tscopecleanup.h"
#include "platform/data/tdataset.h"
#include "platform/data/tfield.h"
#include "platform/sqlite/tsqlitedataset.h"
#include "platform/sqlite/tsqlitedistinctvalues.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>

namespace orvo {

namespace {

bool ShowsLookupKeys(const TOrvoColumn& column)
{
    const TOrvoLookupColumn lookup = column.LookupColumn();
    return lookup == lcLookupField || lookup == lcLookupResultField || lookup == lcLookupValueField;
}

// The sort key of a record's value. A value looked up in another dataset has none: that
// dataset's cursor does not follow the walk, so those rows sort by the text shown.
QString SortKey(const TOrvoColumn& column, const TField& field)
{
    return column.LookupColumn() == lcLookupValueField ? QString()
                                                       : ValueSortKey(field.AsVariant(), field.DataType());
}

QString Row(const QString& sort, const QString& item, const QString& key)
{
    QString text = item;
    if (item != key)
        text += QString(TOrvoDBFilterData::KeyStart) + u' ' + key;
    if (!sort.isEmpty())
        text = sort + TOrvoDBFilterData::SortKeyEnd + u' ' + text;
    return text;
}

// The row of the value the fields read now.
void AddRow(TOrvoFilterValueRows& values, const TOrvoColumn& column, const TField& keyField,
            const TField& field, bool checkedFirst)
{
    const QString key = keyField.EditText();
    QString item = column.DisplayText();
    QString sort = SortKey(column, field);
    if (checkedFirst)
        sort = (column.FilterList().contains(key, Qt::CaseInsensitive) ? u'0' : u'1') + sort;
    if (item.isEmpty())
        item = TOrvoFilterValues::EmptyItem();
    values.KeySize = std::max(values.KeySize, int(key.size()));
    values.ItemSize = std::max(values.ItemSize, int(item.size()));
    values.Rows << Row(sort, item, key);
}

// Whether the column shows the stored value of its field as a function of that value alone:
// then the value's texts can be made without the record that holds it.
bool TextsFollowValue(const TOrvoColumn& column, const TField& field)
{
    const TOrvoCustomDBGrid* grid = column.Grid();
    return field.FieldKind() == fkData && !field.HasGetTextHandler() &&
           column.LookupColumn() == lcNotDefined && !column.AutoNumber() && grid && !grid->OnColGetText;
}

// The suite starts no threads: while the database collects the values of a large table, a
// shown grid's window repaints and its timers run, under a wait cursor; the user's input
// waits in the queue until the list is ready (it could change the records being read).
class TWindowKeeper
{
public:
    explicit TWindowKeeper(const QWidget& window) : FShown(window.isVisible()) { FClock.start(); }
    ~TWindowKeeper()
    {
        if (FWaitCursor)
            QApplication::restoreOverrideCursor();
    }
    TWindowKeeper(const TWindowKeeper&) = delete;
    TWindowKeeper& operator=(const TWindowKeeper&) = delete;

    /// The callback for the statement's progress; none for a hidden window.
    std::function<void()> Callback()
    {
        if (!FShown)
            return {};
        return [this] { KeepAlive(); };
    }

    void KeepAlive()
    {
        if (!FShown || FClock.elapsed() < Interval)
            return;
        if (!FWaitCursor) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            FWaitCursor = true;
        }
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        FClock.restart();
    }

private:
    static constexpr int Interval = 50;
    QElapsedTimer FClock;
    bool FShown;
    bool FWaitCursor = false;
};

std::optional<TOrvoFilterValueRows> Queried(TOrvoColumn& column, TSQLiteDataSet& dataSet, const TField& field,
                                            bool checkedFirst)
{
    TWindowKeeper keeper(*column.Grid());
    const std::optional<std::vector<TVariant>> stored =
        TSQLiteDistinctValues::Of(dataSet, &field, keeper.Callback());
    if (!stored)
        return std::nullopt;
    TOrvoFilterValueRows values;
    values.Rows.reserve(qsizetype(stored->size()));
    for (const TVariant& value : *stored) {
        dataSet.ReadAsStored(&field, value, [&] { AddRow(values, column, field, field, checkedFirst); });
        keeper.KeepAlive();
    }
    if (TOrvoFilterRowOrder::SortMostlyDistinct(values.Rows, [&keeper] { keeper.KeepAlive(); }))
        return std::nullopt;
    return values;
}

TOrvoFilterValueRows Walked(TOrvoColumn& column, TDataSet& dataSet, const TField& keyField,
                            const TField& field, bool checkedFirst)
{
    TOrvoFilterValueRows values;
    for (dataSet.First(); !dataSet.Eof(); dataSet.Next())
        AddRow(values, column, keyField, field, checkedFirst);
    TOrvoFilterRowOrder::SortDistinct(values.Rows);
    return values;
}

} // namespace

TOrvoFilterValueRows TOrvoFilterValues::Load(TOrvoColumn& column, bool loadAllItems, bool checkedFirst)
{
    return *Collect(column, loadAllItems, checkedFirst, wQueryOrWalk);
}

std::optional<TOrvoFilterValueRows> TOrvoFilterValues::Query(TOrvoColumn& column, bool loadAllItems,
                                                             bool checkedFirst)
{
    return Collect(column, loadAllItems, checkedFirst, wQuery);
}

TOrvoFilterValueRows TOrvoFilterValues::Walk(TOrvoColumn& column, bool loadAllItems, bool checkedFirst)
{
    return *Collect(column, loadAllItems, checkedFirst, wWalk);
}

std::optional<TOrvoFilterValueRows> TOrvoFilterValues::Collect(TOrvoColumn& column, bool loadAllItems,
                                                               bool checkedFirst, TWay way)
{
    TOrvoCustomDBGrid* grid = column.Grid();
    TDataSet* dataSet = grid ? grid->DataSet() : nullptr;
    const TField* field = column.Field();
    if (!field || !TOrvoFilterDialect::Filterable(field->DataType()) || !dataSet || !dataSet->Active())
        return TOrvoFilterValueRows();
    const TField* keyField = ShowsLookupKeys(column) ? dataSet->FindField(column.KeyField()) : field;
    if (!keyField)
        return TOrvoFilterValueRows();

    TOrvoDBGridFilter* filter = grid->FilterGrid();
    const bool wasFiltered = filter->Filtered();
    const QString bookmark = dataSet->Bookmark();
    grid->BeginUpdate();
    dataSet->DisableControls();
    const auto restore = Finally([&] {
        if (loadAllItems)
            filter->SetFiltered(wasFiltered);
        if (!bookmark.isEmpty() && dataSet->BookmarkValid(bookmark))
            dataSet->GotoBookmark(bookmark);
        dataSet->EnableControls();
        grid->EndUpdate();
    });
    if (loadAllItems)
        filter->SetFiltered(false);
    // A record being edited is not in the database yet; the walk posts it first.
    auto* sqlDataSet = dataSet->State() == dsBrowse ? qobject_cast<TSQLiteDataSet*>(dataSet) : nullptr;
    if (way != wWalk && sqlDataSet && TextsFollowValue(column, *field))
        if (std::optional<TOrvoFilterValueRows> queried = Queried(column, *sqlDataSet, *field, checkedFirst))
            return queried;
    if (way == wQuery)
        return std::nullopt;
    return Walked(column, *dataSet, *keyField, *field, checkedFirst);
}

} // namespace orvo
