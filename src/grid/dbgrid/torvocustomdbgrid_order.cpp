// The grid's sort order: the order bracket around marker changes, the OrderFields text
// in both directions, the order options' hooks, the steps of a link that opens, and the
// data-update bracket that keeps the current record on its row while the dataset moves.

#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvocustomdbgrid_p.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvocolumntitle.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "platform/data/tdataset.h"

#include <QScopeGuard>

namespace orvo {

namespace {

const QString DescendingSuffix = QStringLiteral(" DESC");

struct TOrderItem
{
    QString Name;
    bool Descending = false;
};

/// Where `word` (" DESC", " ASC") stands in `item` as a word of its own, -1 when it does not:
/// a field named "Item Description" is no descending "Item".
qsizetype WordAt(const QString& item, QLatin1String word)
{
    for (qsizetype at = item.indexOf(word, 0, Qt::CaseInsensitive); at >= 0;
         at = item.indexOf(word, at + 1, Qt::CaseInsensitive)) {
        const qsizetype after = at + word.size();
        if (after == item.size() || item.at(after).isSpace())
            return at;
    }
    return -1;
}

/// One item of an order text: the name, and the direction the words after it give.
TOrderItem ParseOrderItem(const QString& item)
{
    TOrderItem parsed;
    QString name = item.trimmed();
    if (const qsizetype at = WordAt(name, QLatin1String(" DESC")); at >= 0) {
        name.truncate(at);
        parsed.Descending = true;
    } else if (const qsizetype ascending = WordAt(name, QLatin1String(" ASC")); ascending >= 0) {
        name.truncate(ascending);
    }
    parsed.Name = name.trimmed();
    return parsed;
}

/// Gives the columns the text names their markers, in the text's sequence.
void MarkOrderColumns(TOrvoCustomDBGrid& grid, const QString& text)
{
    // A form being read brings its markers with its columns: its order text only puts the
    // order list into the text's sequence.
    const TOrvoDBGridOptions options = grid.Options();
    const bool rearrangeOnly =
        grid.IsLoading() && !options.Contains(dgMarkerAutoSwitch) && !options.Contains(dgMarkerAutoToggle);
    if (!rearrangeOnly)
        grid.Columns()->ClearMarkers();
    QList<QPointer<TOrvoColumn>>& order = grid.Columns()->OrderList();
    int position = 0;
    for (const QString& item : text.trimmed().split(QLatin1Char(','))) {
        const TOrderItem parsed = ParseOrderItem(item);
        TOrvoColumn* column = parsed.Name.isEmpty() ? nullptr : grid.ColumnByFieldName(parsed.Name);
        const int listed = column ? int(order.indexOf(column)) : -1;
        if (column && rearrangeOnly && listed >= position)
            order.swapItemsAt(listed, position);
        else if (column && !rearrangeOnly && listed < 0 && order.size() < TOrvoCustomDBGrid::MaxOrderCount)
            column->Title()->SetMarkerIndex(2 * int(order.size()) + 2 + (parsed.Descending ? 1 : 0));
        ++position;
        if (options.Contains(dgMarkerAutoSwitch))
            break;
    }
}

} // namespace

// --- The order bracket ------------------------------------------------------------------------------

void TOrvoCustomDBGrid::BeginOrderUpdate()
{
    if (++d->FOrderUpdateCount != 1)
        return;
    BeginUpdate();
    d->FOrderSnapshot = OrderFields();
}

void TOrvoCustomDBGrid::EndOrderUpdate()
{
    if (d->FOrderUpdateCount == 0 || --d->FOrderUpdateCount > 0)
        return;
    EndUpdate();
    const QString order = OrderFields();
    if (order == d->FOrderSnapshot)
        return;
    d->FOrderFields = order;
    if (d->FLoading)
        return;
    if (d->FDataLink->Active())
        DataSet()->CheckBrowseMode();
    for (int row = 0; row < d->FTitleOffset; ++row)
        InvalidateRow(row);
    OrderChanged();
}

void TOrvoCustomDBGrid::OrderChanged()
{
    if (d->FOptionsEx.Contains(dgAutoUpdateOrder) && ApplyOrder(QString()))
        return;
    if (OnOrderChanged)
        OnOrderChanged(this);
}

void TOrvoCustomDBGrid::AssignOrderFields(const QString& value)
{
    // Counted without the bracket's work, so that the change fires nothing.
    ++d->FOrderUpdateCount;
    const auto done = qScopeGuard([this] { --d->FOrderUpdateCount; });
    SetOrderFields(value);
}

// --- The OrderFields text -----------------------------------------------------------------------------

QString TOrvoCustomDBGrid::OrderFields() const
{
    const TDataSet* dataSet = DataSet();
    const bool open = d->FDataLink->Active() && dataSet && dataSet->Active();
    if (d->FColumns->State() == csDefault && !open)
        return d->FOrderFields;
    QStringList items;
    for (const QPointer<TOrvoColumn>& column : d->FColumns->OrderList()) {
        // A marked column that names no field has nothing to sort by.
        if (!column || column->FieldName().isEmpty())
            continue;
        items << column->FieldName() +
                     (column->Title()->Marker() == tmDescend ? DescendingSuffix : QString());
    }
    return items.join(QLatin1Char(','));
}

void TOrvoCustomDBGrid::SetOrderFields(const QString& value)
{
    QString text = value;
    text.replace(QLatin1Char(';'), QLatin1Char(','));
    InOrderUpdate([this, &text] {
        const TDataSet* dataSet = DataSet();
        if (d->FColumns->State() == csDefault && !(dataSet && dataSet->Active())) {
            // Default columns come with the dataset: the text waits for them.
            d->FOrderFields = text;
            return;
        }
        MarkOrderColumns(*this, text);
        d->FOrderFields = OrderFields();
    });
}

// --- Reading and applying the dataset's order ----------------------------------------------------------

void TOrvoCustomDBGrid::LoadCurrentOrder()
{
    AssignOrderFields(GetDataSetOrder());
}

void TOrvoCustomDBGrid::UpdateOrder(bool autoUpdate)
{
    if (d->FLoading)
        return;
    if (!autoUpdate)
        ApplyOrder(QString());
    else if (d->FOptionsEx.Contains(dgLoadCurrentOrder))
        LoadCurrentOrder();
    else if (d->FOptionsEx.Contains(dgAutoUpdateOrder))
        ApplyOrder(QString());
}

void TOrvoCustomDBGrid::ActivateOrder()
{
    if (d->FOptionsEx.Contains(dgLoadCurrentOrder)) {
        LoadCurrentOrder();
        return;
    }
    const QString stored = d->FOrderFields;
    if (d->FOptionsEx.Contains(dgAutoUpdateOrder))
        ApplyOrder(stored);
    // Default columns were just made from the fields: the stored text becomes their markers.
    if (d->FColumns->State() == csDefault)
        AssignOrderFields(stored);
}

// --- The data-update bracket -------------------------------------------------------------------------------

void TOrvoCustomDBGrid::BeginDataUpdate()
{
    if (d->FDataUpdateCount++ > 0)
        return;
    TDataSet* dataSet = DataSet();
    if (!d->FDataLink->Active() || !dataSet)
        return;
    d->FDataUpdateBookmark = dataSet->Bookmark();
    d->FDataUpdateRow = d->FDataLink->ActiveRecord();
    dataSet->DisableControls();
    d->FDataUpdateDataSet = dataSet;
}

void TOrvoCustomDBGrid::EndDataUpdate(bool takeNewPosition)
{
    if (d->FDataUpdateCount == 0 || --d->FDataUpdateCount > 0)
        return;
    // The controls go back on for the dataset that had them switched off, even when the
    // link has left it in between.
    auto* disabled = qobject_cast<TDataSet*>(d->FDataUpdateDataSet.data());
    d->FDataUpdateDataSet.clear();
    if (!disabled)
        return;
    const bool following = d->FDataLink->Active() && disabled == DataSet();
    {
        const auto enable = qScopeGuard([disabled] { disabled->EnableControls(); });
        if (following && !takeNewPosition && disabled->BookmarkValid(d->FDataUpdateBookmark))
            disabled->GotoBookmark(d->FDataUpdateBookmark);
    }
    // The window follows the dataset again only with its controls on.
    if (following)
        ShowCurrentRecordAtRow(d->FDataUpdateRow);
    if (d->FOrderFields != OrderFields())
        AssignOrderFields(d->FOrderFields);
}

} // namespace orvo
