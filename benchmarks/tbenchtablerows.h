#pragma once

#include <QString>

/// Lines of the markdown tables the benchmarks write into docs/performance.md.
namespace BenchTableRows {

/// "| name | ms | ×ratio |": a figure beside its baseline.
inline QString Ratio(const QString& name, double ms, double baseline)
{
    return QStringLiteral("| %1 | %2 | ×%3 |\n").arg(name).arg(ms, 0, 'f', 1).arg(ms / baseline, 0, 'f', 2);
}

/// "| target | figure | limit | met or missed |".
inline QString Target(const QString& name, double figure, double limit)
{
    return QStringLiteral("| %1 | %2 | %3 | %4 |\n")
        .arg(name)
        .arg(figure, 0, 'f', 1)
        .arg(limit, 0, 'f', 1)
        .arg(figure <= limit ? QStringLiteral("met") : QStringLiteral("**missed**"));
}

} // namespace BenchTableRows
