#pragma once

#include <QString>

#include <vector>

namespace orvo {

/// A part of a Markdown page between two marker lines, so that each benchmark can
/// rewrite its own part of docs/performance.md and keep the others' figures.
class TBenchPageSection
{
public:
    TBenchPageSection(QString beginMarker, QString endMarker);
    /// The section the grid benchmark writes.
    static TBenchPageSection Grid();
    /// The section the benchmark of the dataset over an indexed source writes.
    static TBenchPageSection CustomData();
    /// The section the selection benchmark writes.
    static TBenchPageSection Selection();
    /// The section the sorting benchmark writes.
    static TBenchPageSection Sorting();
    /// The section the title-click sort benchmark writes.
    static TBenchPageSection Order();
    /// The section the totals benchmark writes.
    static TBenchPageSection Totals();
    /// The section the checked-list benchmark writes.
    static TBenchPageSection FilterApply();
    /// The section the benchmark of a column's distinct values writes.
    static TBenchPageSection FilterValues();
    /// Every section a benchmark other than the dataset benchmark writes: the dataset
    /// benchmark writes the page around them and keeps each of them.
    static std::vector<TBenchPageSection> BesideDatasets();

    const QString& BeginMarker() const { return FBegin; }
    const QString& EndMarker() const { return FEnd; }

    /// The section of `page` with its markers and the line break after them; empty
    /// when the page has none.
    QString Extract(const QString& page) const;
    /// Puts `section` into `page`: in place of an earlier one, else at its end.
    QString Merge(const QString& page, const QString& section) const;

    /// The page in `fileName`; empty when there is no name or no such file yet.
    static QString ReadPage(const QString& fileName);
    /// Replaces the page in `fileName` in one step, so a failed run leaves the old page whole.
    static void WritePage(const QString& fileName, const QString& page);

private:
    /// Where the section lies in `page`: [begin, after), or begin < 0 when it has none.
    void Locate(const QString& page, qsizetype& begin, qsizetype& after) const;

    QString FBegin;
    QString FEnd;
};

} // namespace orvo
