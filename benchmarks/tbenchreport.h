#pragma once

#include <QList>
#include <QMap>
#include <QString>

namespace orvo {

/// Runs every variant of the dataset benchmark in child processes of its own,
/// several times each, and writes the figures as a Markdown page: each figure
/// with its ratio to the baseline measured in the same run, and the targets
/// stated against them.
class TBenchReport
{
public:
    TBenchReport(const QString& program, const QString& fileName, int repeats);

    /// Runs the children; progress goes to stderr. A failing variant is reported, not fatal.
    void Collect();
    /// The page; `notes` (Markdown) is added at its end.
    QString Markdown(const QString& notes) const;

private:
    QMap<QString, double> RunChild(const QString& variant) const;
    double Median(const QString& variant, const QString& figure) const;
    bool Has(const QString& variant, const QString& figure) const;
    double MemoryAboveEmptyMb(const QString& variant, const QString& figure) const;

    QString MachineSection() const;
    QString FiguresTable() const;
    QString TimeCell(const QString& variant, const QString& figure) const;
    QString MemoryCell(const QString& variant, const QString& figure, bool withRatio) const;
    QString TargetsSection() const;
    QString ConsistencySection() const;

    QString FProgram;
    QString FFileName;
    int FRepeats;
    qint64 FRows = 0;
    qint64 FLocateKey = 0;
    QString FLoadAverage;
    QMap<QString, QMap<QString, QList<double>>> FFigures;
    QMap<QString, QString> FErrors;
};

} // namespace orvo
