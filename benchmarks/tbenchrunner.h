#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <memory>

namespace orvo {

class TBenchVariant;

/// Runs the measurements of one variant inside the current process and reports
/// them as "name=value" lines. Meant to run in a fresh child process per variant,
/// so that the peak memory of one variant never shows up in another's figures.
class TBenchRunner
{
public:
    /// The variants in the order the report lists them; "empty" measures nothing but a bare process.
    static QStringList VariantNames();
    static QString VariantTitle(const QString& name);
    /// The variant whose times are the baseline of every ratio.
    static QString BaselineVariant() { return QStringLiteral("raw"); }
    /// True for our own datasets, the ones the targets apply to.
    static bool IsOwnDataSet(const QString& name);
    static bool IsTable(const QString& name);

    /// Runs the variant on the file and returns its figures (times in ms, memory in kB).
    static QMap<QString, double> Run(const QString& variant, const QString& fileName, qint64 locateKey);
    /// The process's peak resident memory so far (VmHWM), in kB.
    static qint64 PeakMemoryKb();

    static constexpr int FirstRecords = 40;

private:
    static std::unique_ptr<TBenchVariant> CreateVariant(const QString& name, const QString& fileName);
};

} // namespace orvo
