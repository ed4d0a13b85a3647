#pragma once

#include "platform/data/tfieldtype.h"

#include <QList>
#include <QStringList>

namespace orvo {

class TVariant;

/// A sort key for a distinct value of a field, so that value lists sort by plain
/// code-unit comparison of the keys in the order of the values: numbers,
/// negatives first, and dates by time. Texts give an empty key (their callers sort
/// by the text itself), and so do values that do not convert.
QString ValueSortKey(const TVariant& value, TFieldType dataType);

/// Whether `expression` is whole on its own: it reads as tokens, and its parentheses
/// close exactly the ones it opens. Only such parts are joined, so that no part can
/// close the parentheses put around it and widen the filter of another.
bool StandsAlone(const QString& expression);

/// Joins the column expressions of the filtered columns: "(A) AND (B) AND (C)".
QString CombinedFilterText(const QStringList& columnExpressions);

/// The filter the grid installs on its dataset: the program's own text (when its
/// flag is on) and the columns' text, the program's first. A program text that does
/// not stand alone is installed alone, so that the dataset reports it as it would
/// without the grid instead of it reaching into the columns' part.
QString DataSetFilterText(bool programFiltered, const QString& programText, const QString& columnText);

/// One column's filter as the settings lines carry it.
struct TColumnFilterLine
{
    QString FieldName;
    QString FilterText;
    QStringList FilterList;

    bool operator==(const TColumnFilterLine&) const = default;
};

/// "Filters=n" and one "Filteri=field,expression,values" line per filter, with
/// "," between the parts and '"' quoting any part that needs it.
QStringList FilterSettingsLines(const QList<TColumnFilterLine>& filters);

/// Reads the lines FilterSettingsLines writes; a missing or non-numeric count
/// reads as 0 and a missing line as no filter.
QList<TColumnFilterLine> ParseFilterSettingsLines(const QStringList& lines);

} // namespace orvo
