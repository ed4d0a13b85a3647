#include "tgridbenchreport.h"

#include "tgridbenchrunner.h"
#include "tgridbenchview.h"

#include "platform/core/exceptions.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvo {

namespace {

QString LoadAverage()
{
    QFile load(QStringLiteral("/proc/loadavg"));
    return load.open(QIODevice::ReadOnly)
               ? QString::fromLatin1(load.readAll()).section(QLatin1Char(' '), 0, 2)
               : QStringLiteral("unknown");
}

QString Number(double value, int decimals)
{
    return std::isnan(value) ? QStringLiteral("n/a") : QString::number(value, 'f', decimals);
}

} // namespace

TGridBenchReport::TGridBenchReport(const QString& program, const QString& fileName, int repeats)
    : FProgram(program), FFileName(fileName), FRepeats(qMax(1, repeats))
{}

QMap<QString, double> TGridBenchReport::RunChild(const QString& variant) const
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(FProgram, {QStringLiteral("--child"), variant, QStringLiteral("--db"), FFileName});
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        throw Exception(
            QStringLiteral("the child for %1 failed (exit code %2)").arg(variant).arg(child.exitCode()));
    QMap<QString, double> figures;
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        const int equals = line.indexOf('=');
        if (equals > 0)
            figures[QString::fromLatin1(line.left(equals))] = line.mid(equals + 1).toDouble();
    }
    return figures;
}

void TGridBenchReport::Collect()
{
    FLoadAverage = LoadAverage();
    QTextStream err(stderr);
    for (int run = 0; run < FRepeats; ++run) {
        for (const QString& variant : TGridBenchRunner::VariantNames()) {
            err << "run " << run + 1 << '/' << FRepeats << ": " << variant << Qt::endl;
            try {
                const QMap<QString, double> figures = RunChild(variant);
                for (auto it = figures.begin(); it != figures.end(); ++it)
                    FFigures[variant][it.key()] << it.value();
            } catch (const Exception& e) {
                FErrors[variant] = e.Message();
            }
        }
    }
}

double TGridBenchReport::Median(const QString& variant, const QString& figure) const
{
    QList<double> values = FFigures.value(variant).value(figure);
    if (values.isEmpty())
        return std::numeric_limits<double>::quiet_NaN();
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

QString TGridBenchReport::Row(const QString& variant) const
{
    const double empty = Median(QStringLiteral("empty"), QStringLiteral("mem_kb"));
    const double memoryMb = (Median(variant, QStringLiteral("mem_kb")) - empty) / 1024.0;
    const QString baseline = QStringLiteral("qtableview");
    const double stepRatio =
        Median(variant, QStringLiteral("step_ms")) / Median(baseline, QStringLiteral("step_ms"));
    QString row = QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6 | %7 | %8 | %9 |")
                      .arg(TGridBenchRunner::VariantTitle(variant),
                           Number(Median(variant, QStringLiteral("open_paint_ms")), 1),
                           Number(Median(variant, QStringLiteral("repaint_ms")), 2),
                           Number(Median(variant, QStringLiteral("jump_ms")), 2),
                           Number(Median(variant, QStringLiteral("last_ms")), 1), Number(memoryMb, 1),
                           Number(Median(variant, QStringLiteral("step_ms")), 2),
                           Number(Median(variant, QStringLiteral("step_max_ms")), 2))
                      .arg(Number(stepRatio, 2));
    if (FErrors.contains(variant))
        row += QStringLiteral("\n\n%1 failed: %2\n")
                   .arg(TGridBenchRunner::VariantTitle(variant), FErrors[variant]);
    return row;
}

QString TGridBenchReport::FiguresTable() const
{
    QStringList lines{
        QStringLiteral("| variant | (a) open to first paint, ms | (b) full repaint after a jump, ms | "
                       "the jump itself, ms | (c) Ctrl+End and paint, ms | (d) peak memory after (c), MB | "
                       "(e) Down held: one step with its paint, mean, ms | (e) slowest step, ms | "
                       "(e) mean ÷ QTableView's |"),
        QStringLiteral("|---|---:|---:|---:|---:|---:|---:|---:|---:|")};
    for (const QString& variant : TGridBenchRunner::VariantNames())
        if (variant != QLatin1String("empty"))
            lines << Row(variant);
    return lines.join(QLatin1Char('\n'));
}

QString TGridBenchReport::Section() const
{
    const double emptyMb = Median(QStringLiteral("empty"), QStringLiteral("mem_kb")) / 1024.0;
    const QFileInfo file(FFileName);
    QString text;
    QTextStream out(&text);
    out << BeginMarker() << "\n\n# Performance: the grid over a million rows\n\n"
        << "Measured on " << QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd HH:mm"))
        << " (UTC) by `benchmarks/run-grid.sh`; load average before the run " << FLoadAverage << ".\n\n"
        << "- Data: table " << TGridBenchView::TableName() << " of `" << file.fileName() << "` ("
        << file.size() / (1024 * 1024) << " MB), read warm from the OS cache.\n"
        << "- Each view is a top-level window of " << TGridBenchRunner::Width << " × "
        << TGridBenchRunner::Height
        << " on the offscreen platform, default columns, every variant in a fresh process, " << FRepeats
        << " run(s); each figure is the median.\n"
        << "- Steps in this order: (a) from opening the database to the end of the view's first paint; "
        << "(c) from the first screen, Ctrl+End as a key event to the view (QSqlQueryModel first fetches "
        << "every row, since the view's Ctrl+End stops at the last row "
        << "fetched) and the paint that follows; (d) peak resident memory (VmHWM) after (c), above the "
        << Number(emptyMb, 1) << " MB of an empty process; (b) the mean of " << TGridBenchRunner::Jumps
        << " full repaints of the viewport, each after moving to a random record (the same records for "
        << "every variant). The move's own time is the column after (b): after (c), the query and the model "
        << "already hold every row, so for them it is a move among rows in memory. (e) last, from the "
        << "middle record, " << TGridBenchRunner::Steps << " Down key presses sent to the focused view, "
        << "each with the paint that follows it, as a held key repeats them: a step must stay under the "
        << "16 ms a repeat leaves.\n\n"
        << FiguresTable() << "\n\n"
        << "How to run it again: `benchmarks/run-grid.sh` (`ORVO_BUILD_DIR`, `ORVO_BENCH_ROWS`, "
        << "`ORVO_BENCH_REPEATS` as for the dataset benchmark, whose table file it shares).\n\n"
        << EndMarker() << '\n';
    return text;
}

QString TGridBenchReport::Merge(const QString& page, const QString& section)
{
    return TBenchPageSection::Grid().Merge(page, section);
}

} // namespace orvo
