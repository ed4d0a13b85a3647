#include "grid/search/tsearchmatcher.h"

#include "grid/columns/torvocolumn.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "platform/data/tdataset.h"
#include "platform/data/tfield.h"

#include <QLocale>

namespace orvo {

namespace {

// Only the ASCII letters make a word go on: a digit or an accented letter ends it.
bool IsWordLetter(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

} // namespace

TSearchMatcher::TSearchMatcher(const QString& text, TOrvoSearchOptions options)
    : FText(options.Contains(soCaseSensitive) ? text : QLocale().toUpper(text)), FOptions(options)
{}

bool TSearchMatcher::TextMatches(const QString& cellText) const
{
    if (FText.isEmpty())
        return false;
    const QString text = FOptions.Contains(soCaseSensitive) ? cellText : QLocale().toUpper(cellText);
    for (qsizetype at = text.indexOf(FText); at >= 0; at = text.indexOf(FText, at + FText.size())) {
        if (!FOptions.Contains(soWholeWords) || OccurrenceIsWholeWord(text, at))
            return true;
    }
    return false;
}

bool TSearchMatcher::OccurrenceIsWholeWord(const QString& text, qsizetype at) const
{
    const qsizetype end = at + FText.size();
    return (at == 0 || !IsWordLetter(text.at(at - 1))) && (end >= text.size() || !IsWordLetter(text.at(end)));
}

bool TSearchMatcher::RecordMatches(const TOrvoCustomDBGrid& grid) const
{
    if (FOptions.Contains(soCurrentCol)) {
        const TOrvoColumn* column = grid.SelectedColumn();
        return column && ColumnMatches(*column);
    }
    for (const TOrvoColumn* column : grid.ShownColumns())
        if (ColumnMatches(*column))
            return true;
    return false;
}

bool TSearchMatcher::ColumnMatches(const TOrvoColumn& column) const
{
    const QString text = ColumnText(column);
    return text.size() >= FText.size() && TextMatches(text);
}

// A lookup field reads empty while its lookup dataset is not positioned for this record:
// the value is then asked of the lookup dataset by the record's keys.
QString TSearchMatcher::ColumnText(const TOrvoColumn& column)
{
    const QString text = column.DisplayText();
    const TField* field = column.Field();
    if (!text.isEmpty() || !field || !field->Lookup() || !field->LookupDataSet() || !field->DataSet())
        return text;
    try {
        const TVariant keys = field->DataSet()->FieldValues(field->KeyFields());
        return field->LookupDataSet()
            ->Lookup(field->LookupKeyFields(), keys, field->LookupResultField())
            .AsString();
    } catch (const std::exception&) {
        return text;
    }
}

} // namespace orvo
