// The column text pipeline: how a field's stored text becomes the text a cell shows or
// edits, and how an edited text goes back to the stored form.

#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvocustomdbgrid_p.h"

#include "grid/columns/torvocolumn.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "platform/core/format.h"
#include "platform/data/tdataset.h"
#include "platform/data/tfield.h"
#include "platform/gridbase/tinplaceedit.h"

#include <QScopeGuard>

namespace orvo {

namespace {

/// A multi-select list that maps each of its values on its own.
bool MapsEachValue(const TOrvoColumn* column)
{
    return column->MultiSelectList() && !column->PickList().isEmpty();
}

/// Splits `text` at the column's delimiter, maps every non-empty value, drops the values
/// that map to nothing and joins the rest again.
template <typename Map> QString MapEachValue(const TOrvoColumn* column, const QString& text, Map map)
{
    const QString delimiter = column->Delimiter();
    QStringList shown;
    for (const QString& value : text.split(delimiter, Qt::SkipEmptyParts))
        if (QString mapped = map(value); !mapped.isEmpty())
            shown << mapped;
    return shown.join(delimiter);
}

/// The cell of a multi-select list shows only its first value, so the cell stays one line
/// and the ellipsis tells that more values (or the list itself) lie behind it.
QString ShortenMultiText(const TOrvoColumn* column, const QString& text)
{
    if (!column->MultiSelectList() || column->MultiSelectText() != mstEllipsis)
        return text;
    if (text.isEmpty())
        return QStringLiteral("...");
    const int delimiter = text.indexOf(column->Delimiter());
    return delimiter < 0 ? text : text.left(delimiter) + QStringLiteral(" ...");
}

/// Whether the record being inserted was appended: its buffer marks the end of the data.
bool AppendingRecord(TOrvoGridDataLink* link, int currentRecord)
{
    const int drawn = link->ActiveRecord();
    link->SetActiveRecord(currentRecord);
    const auto restore = qScopeGuard([link, drawn] { link->SetActiveRecord(drawn); });
    return link->DataSet()->ActiveBuffer().BookmarkFlag == bfEOF;
}

/// The sequence number of the record being drawn, counted from the grid's number of the
/// current record. The row being inserted has no number yet (0); the rows after it still
/// carry the numbers they had before the insert.
qint64 SequenceNumber(const TOrvoCustomDBGrid& grid)
{
    TOrvoGridDataLink* link = grid.DataLink();
    const int current = grid.CurrentRecord();
    const qint64 distance = current < 0 ? 0 : link->ActiveRecord() - current;
    qint64 number = grid.SequenceRecNo();
    if (link->DataSet()->State() != dsInsert)
        return number + distance;
    if (distance == 0)
        return 0;
    if (current >= 0 && AppendingRecord(link, current))
        ++number;
    return distance > 0 ? number + distance - 1 : number + distance;
}

/// The looked-up text for the key `key`. Locate leaves the lookup dataset on the found record.
QString LookupValueText(const TOrvoColumn* column, const QString& key, TTextKind textKind)
{
    QString text;
    column->SearchLookupDataSet([column, &key, textKind, &text](TDataSet& lookup) {
        // Locate would post an edit the user has not finished on the lookup dataset just to
        // draw a cell; while it is edited, the value is read without moving to it.
        if (lookup.State() == dsEdit || lookup.State() == dsInsert) {
            const TVariant value =
                lookup.Lookup(column->LookupKeyField(), TVariant(key), column->LookupResultField());
            text = value.IsNull() ? QString() : value.AsString();
            return;
        }
        if (!lookup.Locate(column->LookupKeyField(), TVariant(key), {}))
            return;
        if (const TField* result = lookup.FindField(column->LookupResultField()))
            text = textKind == tkEdit ? result->EditText() : result->DisplayText();
    });
    return text;
}

} // namespace

QString& TOrvoCustomDBGrid::AutoNumberFormat()
{
    static QString format = QStringLiteral("%d.");
    return format;
}

void TOrvoCustomDBGrid::SetEditorText(const QString& text)
{
    d->FEditText = text;
    // setText does not count as an edit, so the editor does not report the text back.
    if (TInplaceEdit* editor = InplaceEditor(); editor && EditorMode())
        editor->setText(text);
}

QString TOrvoCustomDBGrid::ColumnValueText(TOrvoColumn* column, const QString& text, TTextKind textKind)
{
    QString value = text;
    if (column->AutoNumber() && textKind != tkReport) {
        qint64 number = -1;
        if (d->FDataLink->Active())
            number = d->FOptions.Contains(dgForceSequence) ? SequenceNumber(*this) : DataSet()->RecNo();
        value = number < 1 ? QString() : Format(AutoNumberFormat(), {TVariant(number)});
    }
    if (column->LookupColumn() == lcLookupValueField)
        return value.isEmpty() ? QString() : LookupValueText(column, value, textKind);
    return PickValueToText(column, TVariant(value));
}

QString TOrvoCustomDBGrid::ColGetText(TOrvoColumn* column, TTextKind textKind)
{
    QString text;
    if (column) {
        if (d->FDataLink->Active())
            text = column->FieldText(textKind);
        if (MapsEachValue(column))
            text = MapEachValue(
                column, text, [&](const QString& value) { return ColumnValueText(column, value, textKind); });
        else
            text = ColumnValueText(column, text, textKind);
        if (textKind == tkDisplay)
            text = ShortenMultiText(column, text);
    }
    if (OnColGetText)
        OnColGetText(column, text, textKind);
    return text;
}

void TOrvoCustomDBGrid::ColSetText(TOrvoColumn* column, QString& text)
{
    if (OnColSetText)
        OnColSetText(column, text);
    if (!column)
        return;
    const auto stored = [&](const QString& value) {
        const TVariant result = PickTextToValue(column, value);
        return result.IsNull() ? QString() : result.AsString();
    };
    text = MapsEachValue(column) ? MapEachValue(column, text, stored) : stored(text);
}

} // namespace orvo
