// The grid's OrderFields text in both directions. The brackets around marker changes and
// data updates, and the strategies that reorder the dataset, are the order part's
// (src/grid/order).

#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvocustomdbgrid_p.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvocolumntitle.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "platform/data/tdataset.h"

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

TOrvoGridOrder& TOrvoCustomDBGrid::OrderPart() const
{
    return *d->FOrder;
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

} // namespace orvo
