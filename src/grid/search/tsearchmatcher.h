#pragma once

#include "grid/filter/filterenums.h"

#include <QString>

namespace orvo {

class TOrvoColumn;
class TOrvoCustomDBGrid;

/// The text test of the grid's search, and the record test the search filter installs:
/// prepared once for a search text and its options, then asked per cell or record.
class TSearchMatcher
{
public:
    TSearchMatcher(const QString& text, TOrvoSearchOptions options);

    /// Whether the search text occurs in `cellText`: in locale upper case unless
    /// soCaseSensitive; with soWholeWords only an occurrence not touching an ASCII letter
    /// on either side counts.
    bool TextMatches(const QString& cellText) const;
    /// Whether the grid's current record matches: with soCurrentCol in the selected
    /// column, otherwise in any shown column.
    bool RecordMatches(const TOrvoCustomDBGrid& grid) const;

private:
    bool ColumnMatches(const TOrvoColumn& column) const;
    static QString ColumnText(const TOrvoColumn& column);
    bool OccurrenceIsWholeWord(const QString& text, qsizetype at) const;

    QString FText;
    TOrvoSearchOptions FOptions;
};

} // namespace orvo
