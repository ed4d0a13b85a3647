#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <map>

class QElapsedTimer;
class TBenchCommandLine;

namespace orvo {
class TBenchPageSection;
}

namespace orvo::bench {

/// The figures one child run prints, "name=value" a line.
using TFigures = std::map<QString, double>;

/// The time `clock` has run, in milliseconds.
double Milliseconds(const QElapsedTimer& clock);
/// The process's resident size now (VmRSS), in MB; 0 where the system does not tell.
double ResidentMb();

/// Runs `program --child <variant> --db <fileName>` in a process of its own (so that every
/// variant starts from a fresh heap) and reads its figures; raises when the child fails.
TFigures RunChild(const QString& program, const QString& variant, const QString& fileName);

/// The median of every figure over `repeats` child runs of each of `variants`.
std::map<QString, TFigures> CollectMedians(const QString& program, const QStringList& variants,
                                           const QString& fileName, int repeats);

using TVariantRun = std::function<TFigures(const QString& variant, const QString& fileName)>;
using TSectionWriter = std::function<QString(std::map<QString, TFigures>& medians, int repeats)>;

/// The body of a benchmark whose variants run in child processes: a child runs its variant
/// and prints its figures; the parent collects the medians of every variant and writes
/// `section` of the page (or prints it without a page).
int RunChildBenchmark(const TBenchCommandLine& line, const TVariantRun& runVariant,
                      const QStringList& variants, const TSectionWriter& section,
                      const TBenchPageSection& pageSection);

} // namespace orvo::bench
