#include "lists/filter/torvofiltervalues.h"

#include "grid/columns/torvocolumn.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/filter/filtertexts.h"
#include "grid/filter/torvodbgridfilter.h"
#include "grid/filter/torvofilterdialect.h"
#include "lists/filter/torvodbfilterdata.h"
#include "platform/core/tscopecleanup.h"
#include "platform/data/tdataset.h"
#include "platform/data/tfield.h"

#include <QCollator>

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

// Sorted without regard to case and each text once, also without regard to case (the
// first met in the walk stays): the order the list shows.
void SortDistinct(QStringList& rows)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(rows.begin(), rows.end(),
                     [&collator](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    rows.erase(
        std::unique(rows.begin(), rows.end(),
                    [&collator](const QString& a, const QString& b) { return collator.compare(a, b) == 0; }),
        rows.end());
}

} // namespace

TOrvoFilterValueRows TOrvoFilterValues::Load(TOrvoColumn& column, bool loadAllItems, bool checkedFirst)
{
    TOrvoFilterValueRows values;
    TOrvoCustomDBGrid* grid = column.Grid();
    TDataSet* dataSet = grid ? grid->DataSet() : nullptr;
    const TField* field = column.Field();
    if (!field || !TOrvoFilterDialect::Filterable(field->DataType()) || !dataSet || !dataSet->Active())
        return values;
    const TField* keyField = ShowsLookupKeys(column) ? dataSet->FindField(column.KeyField()) : field;
    if (!keyField)
        return values;

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
    for (dataSet->First(); !dataSet->Eof(); dataSet->Next()) {
        const QString key = keyField->EditText();
        QString item = column.DisplayText();
        QString sort = SortKey(column, *field);
        if (checkedFirst)
            sort = (column.FilterList().contains(key, Qt::CaseInsensitive) ? u'0' : u'1') + sort;
        if (item.isEmpty())
            item = EmptyItem();
        values.KeySize = std::max(values.KeySize, int(key.size()));
        values.ItemSize = std::max(values.ItemSize, int(item.size()));
        values.Rows << Row(sort, item, key);
    }
    SortDistinct(values.Rows);
    return values;
}

} // namespace orvo
