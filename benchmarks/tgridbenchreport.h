#pragma once

#include "tbenchpagesection.h"

#include <QList>
#include <QMap>
#include <QString>

namespace orvo {

/// Runs every grid variant in child processes of its own, several times each, and
/// writes the medians as a section of a Markdown page, replacing the section an
/// earlier run wrote and leaving the rest of the page as it is.
class TGridBenchReport
{
public:
    TGridBenchReport(const QString& program, const QString& fileName, int repeats);

    /// Runs the children; progress goes to stderr. A failing variant is reported, not fatal.
    void Collect();
    /// The section, between its begin and end markers.
    QString Section() const;
    /// Puts the section into `page`: in place of an earlier one, else at its end.
    static QString Merge(const QString& page, const QString& section);

    static QString BeginMarker() { return TBenchPageSection::Grid().BeginMarker(); }
    static QString EndMarker() { return TBenchPageSection::Grid().EndMarker(); }

private:
    QMap<QString, double> RunChild(const QString& variant) const;
    double Median(const QString& variant, const QString& figure) const;
    QString FiguresTable() const;
    QString Row(const QString& variant) const;

    QString FProgram;
    QString FFileName;
    int FRepeats;
    QString FLoadAverage;
    QMap<QString, QMap<QString, QList<double>>> FFigures;
    QMap<QString, QString> FErrors;
};

} // namespace orvo
