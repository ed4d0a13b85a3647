#include "tbenchreport.h"

#include "tbenchrunner.h"
#include "tbenchvariant.h"

#include "platform/sqlite/tsqlitedatabase.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTextStream>
#include <QThread>

#include <sqlite3.h>

#include <algorithm>
#include <cmath>

namespace orvo {

namespace {

QString ProcField(const QString& file, const QString& field)
{
    QFile proc(file);
    if (!proc.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    const QRegularExpression line(QStringLiteral("^%1\\s*:\\s*(.+)$").arg(QRegularExpression::escape(field)),
                                  QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(QString::fromLatin1(proc.readAll()));
    return match.hasMatch() ? match.captured(1).trimmed() : QStringLiteral("unknown");
}

QString LoadAverage()
{
    QFile load(QStringLiteral("/proc/loadavg"));
    return load.open(QIODevice::ReadOnly)
               ? QString::fromLatin1(load.readAll()).section(QLatin1Char(' '), 0, 2)
               : QStringLiteral("unknown");
}

QString MemoryTotal()
{
    const double kb = ProcField(QStringLiteral("/proc/meminfo"), QStringLiteral("MemTotal"))
                          .section(QLatin1Char(' '), 0, 0)
                          .toDouble();
    return QStringLiteral("%1 GiB").arg(kb / (1024.0 * 1024.0), 0, 'f', 1);
}

QString Number(double value, int decimals)
{
    return std::isnan(value) ? QStringLiteral("n/a") : QString::number(value, 'f', decimals);
}

QString Ratio(double value, double baseline)
{
    if (std::isnan(value) || std::isnan(baseline) || baseline <= 0)
        return QString();
    // Two significant digits below 1, so that a thousandth of the baseline does not read as zero.
    const double ratio = value / baseline;
    const QString text = ratio < 1 ? QString::number(ratio, 'g', 2) : Number(ratio, ratio < 10 ? 2 : 0);
    return QStringLiteral(" (×%1)").arg(text);
}

QString Verdict(bool met)
{
    return met ? QStringLiteral("met") : QStringLiteral("**missed**");
}

struct Step
{
    const char* Figure;
    const char* Title;
};

constexpr Step TimedSteps[] = {{"open_ms", "(a) open, read first 40"},
                               {"last_ms", "(b) go to last"},
                               {"locate_ms", "(c) Locate key"},
                               {"filter_ms", "(d) filter to RecordCount"}};

} // namespace

TBenchReport::TBenchReport(const QString& program, const QString& fileName, int repeats)
    : FProgram(program), FFileName(fileName), FRepeats(std::max(1, repeats))
{
    TSQLiteDatabase db;
    db.SetDatabaseName(fileName);
    db.SetReadOnly(true);
    db.Open();
    FRows = db.ExecScalar(QStringLiteral("SELECT count(*) FROM BigOrders")).AsInt64();
    FLocateKey = std::max<qint64>(1, FRows / 2);
}

QMap<QString, double> TBenchReport::RunChild(const QString& variant) const
{
    QProcess child;
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.start(FProgram, {QStringLiteral("--child"), variant, QStringLiteral("--db"), FFileName,
                           QStringLiteral("--key"), QString::number(FLocateKey)});
    if (!child.waitForFinished(30 * 60 * 1000) || child.exitStatus() != QProcess::NormalExit ||
        child.exitCode())
        throw std::runtime_error(QString::fromUtf8(child.readAllStandardError()).trimmed().toStdString());
    QMap<QString, double> figures;
    for (const QString& line : QString::fromUtf8(child.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0)
            figures[line.left(equals)] = line.mid(equals + 1).toDouble();
    }
    return figures;
}

void TBenchReport::Collect()
{
    FLoadAverage = LoadAverage();
    QTextStream err(stderr);
    for (int run = 1; run <= FRepeats; ++run) {
        for (const QString& variant : TBenchRunner::VariantNames()) {
            if (FErrors.contains(variant))
                continue;
            err << "run " << run << "/" << FRepeats << ": " << variant << Qt::endl;
            try {
                const QMap<QString, double> figures = RunChild(variant);
                for (auto it = figures.begin(); it != figures.end(); ++it)
                    FFigures[variant][it.key()] << it.value();
            } catch (const std::exception& e) {
                FErrors[variant] = QString::fromUtf8(e.what());
                err << "  failed: " << e.what() << Qt::endl;
            }
        }
    }
}

bool TBenchReport::Has(const QString& variant, const QString& figure) const
{
    return !FFigures.value(variant).value(figure).isEmpty();
}

double TBenchReport::Median(const QString& variant, const QString& figure) const
{
    QList<double> values = FFigures.value(variant).value(figure);
    if (values.isEmpty())
        return std::nan("");
    std::sort(values.begin(), values.end());
    const qsizetype mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

double TBenchReport::MemoryAboveEmptyMb(const QString& variant, const QString& figure) const
{
    return (Median(variant, figure) - Median(QStringLiteral("empty"), QStringLiteral("mem_open_kb"))) /
           1024.0;
}

QString TBenchReport::MachineSection() const
{
    const QFileInfo file(FFileName);
    return QStringLiteral(
               "Measured on %1 (UTC) by `benchmarks/run-datasets.sh`.\n\n"
               "- Machine: %2 cores (nproc), CPU \"%3\", %4 memory; load average before the run %10 (other "
               "work on the machine makes times noisy).\n"
               "- Software: SQLite %5, Qt %6, release build with debug info.\n"
               "- Data: table BigOrders, %7 rows of 10 columns (integer key, integers, reals, text, a "
               "date), an index on CustNo; file %8 MB, read warm from the OS cache.\n"
               "- Method: every variant runs in a fresh child process (so peak memory is its own), "
               "%9 time(s); each figure is the median. Ratios (×) are to the SQLite C API baseline of "
               "the same run; memory is the peak resident size (VmHWM) above that of an empty "
               "process.\n")
        .arg(QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd hh:mm")))
        .arg(QThread::idealThreadCount())
        .arg(ProcField(QStringLiteral("/proc/cpuinfo"), QStringLiteral("model name")), MemoryTotal(),
             QString::fromLatin1(sqlite3_libversion()), QString::fromLatin1(qVersion()))
        .arg(FRows)
        .arg(Number(double(file.size()) / (1024.0 * 1024.0), 0))
        .arg(FRepeats)
        .arg(FLoadAverage);
}

QString TBenchReport::TimeCell(const QString& variant, const QString& figure) const
{
    if (!Has(variant, figure))
        return QStringLiteral("n/a");
    const double value = Median(variant, figure);
    return Number(value, value < 10 ? 3 : 1) + Ratio(value, Median(TBenchRunner::BaselineVariant(), figure));
}

QString TBenchReport::MemoryCell(const QString& variant, const QString& figure, bool withRatio) const
{
    if (!Has(variant, figure) || !Has(QStringLiteral("empty"), figure))
        return QStringLiteral("n/a");
    const double above = MemoryAboveEmptyMb(variant, figure);
    QString cell = Number(above, 1);
    if (withRatio && variant != QLatin1String("qsqlmodel"))
        cell += Ratio(std::max(above, 0.0), MemoryAboveEmptyMb(QStringLiteral("qsqlmodel"), figure))
                    .replace(QStringLiteral("×"), QStringLiteral("×QSqlQueryModel "));
    return cell;
}

QString TBenchReport::FiguresTable() const
{
    QString table = QStringLiteral("| variant |");
    for (const Step& step : TimedSteps)
        table += QStringLiteral(" %1, ms |").arg(QString::fromLatin1(step.Title));
    table += QStringLiteral(" (e) memory after (a), MB | (e) memory after (b), MB |\n|---|");
    table += QStringLiteral("---:|").repeated(std::size(TimedSteps) + 2) + QLatin1Char('\n');
    for (const QString& variant : TBenchRunner::VariantNames()) {
        if (variant == QLatin1String("empty"))
            continue;
        table += QStringLiteral("| %1 |").arg(TBenchRunner::VariantTitle(variant));
        if (FErrors.contains(variant)) {
            table += QStringLiteral(" failed: %1 |").arg(FErrors.value(variant).simplified()) +
                     QStringLiteral(" |").repeated(std::size(TimedSteps) + 1) + QLatin1Char('\n');
            continue;
        }
        for (const Step& step : TimedSteps)
            table +=
                QLatin1Char(' ') + TimeCell(variant, QString::fromLatin1(step.Figure)) + QStringLiteral(" |");
        table += QLatin1Char(' ') + MemoryCell(variant, QStringLiteral("mem_open_kb"), false) +
                 QStringLiteral(" |");
        table += QLatin1Char(' ') + MemoryCell(variant, QStringLiteral("mem_last_kb"), true) +
                 QStringLiteral(" |\n");
    }
    table += QStringLiteral("\nThe empty process peaks at %1 MB. (c) looks up OrderNo %2.\n")
                 .arg(Number(Median(QStringLiteral("empty"), QStringLiteral("mem_open_kb")) / 1024.0, 1))
                 .arg(FLocateKey);
    return table;
}

QString TBenchReport::TargetsSection() const
{
    const QString raw = TBenchRunner::BaselineVariant();
    const double fullScan = Median(raw, QStringLiteral("last_ms"));
    const double whereCount = Median(raw, QStringLiteral("filter_ms"));
    const double modelAfterLast =
        MemoryAboveEmptyMb(QStringLiteral("qsqlmodel"), QStringLiteral("mem_last_kb"));
    QString text =
        QStringLiteral("| target | variant | figure | limit | result |\n|---|---|---:|---:|---|\n");
    QStringList missed;
    const auto check = [&](const QString& target, const QString& variant, double value, double limit,
                           int decimals) {
        const bool met = !std::isnan(value) && !std::isnan(limit) && value < limit;
        text += QStringLiteral("| %1 | %2 | %3 | %4 | %5 |\n")
                    .arg(target, TBenchRunner::VariantTitle(variant), Number(value, decimals),
                         Number(limit, decimals), Verdict(met));
        if (!met)
            missed << QStringLiteral("%1 for %2 (%3 against %4)")
                          .arg(target, TBenchRunner::VariantTitle(variant), Number(value, decimals),
                               Number(limit, decimals));
    };
    for (const QString& variant : TBenchRunner::VariantNames()) {
        if (!TBenchRunner::IsOwnDataSet(variant))
            continue;
        check(QStringLiteral("(a) open + 40 records < 20 ms"), variant,
              Median(variant, QStringLiteral("open_ms")), 20, 2);
        check(TBenchRunner::IsTable(variant)
                  ? QStringLiteral("(b) last < 1/10 of the raw full scan, ms")
                  : QStringLiteral("(b) last no slower than the raw full scan, ms"),
              variant, Median(variant, QStringLiteral("last_ms")),
              TBenchRunner::IsTable(variant) ? fullScan / 10 : fullScan * 1.0001, 1);
        check(QStringLiteral("(c) Locate by key < 1 ms"), variant,
              Median(variant, QStringLiteral("locate_ms")), 1, 3);
        check(QStringLiteral("(d) filter within 3× SQLite's WHERE count, ms"), variant,
              Median(variant, QStringLiteral("filter_ms")), whereCount * 3, 1);
        check(QStringLiteral("(e) memory after (a) < 20 MB above empty"), variant,
              MemoryAboveEmptyMb(variant, QStringLiteral("mem_open_kb")), 20, 1);
        check(QStringLiteral("(e) memory after (b) < 1/4 of QSqlQueryModel's, MB"), variant,
              MemoryAboveEmptyMb(variant, QStringLiteral("mem_last_kb")), modelAfterLast / 4, 1);
    }
    text += missed.isEmpty()
                ? QStringLiteral("\nEvery target was met in this run.\n")
                : QStringLiteral("\nMissed in this run: %1.\n").arg(missed.join(QStringLiteral("; ")));
    return text;
}

QString TBenchReport::ConsistencySection() const
{
    // Fast but wrong is no result: every variant must find the key and count the same rows.
    const double expected = Median(TBenchRunner::BaselineVariant(), QStringLiteral("filter_count"));
    QStringList problems;
    for (const QString& variant : TBenchRunner::VariantNames()) {
        if (variant == QLatin1String("empty") || FErrors.contains(variant))
            continue;
        if (Median(variant, QStringLiteral("filter_count")) != expected)
            problems << QStringLiteral("%1 counted %2 filtered rows")
                            .arg(TBenchRunner::VariantTitle(variant),
                                 Number(Median(variant, QStringLiteral("filter_count")), 0));
        if (Median(variant, QStringLiteral("locate_found")) != 1)
            problems << QStringLiteral("%1 did not find the key").arg(TBenchRunner::VariantTitle(variant));
    }
    return problems.isEmpty()
               ? QStringLiteral("Every variant found the key and counted the same %1 filtered rows.\n")
                     .arg(Number(expected, 0))
               : QStringLiteral("**Results disagree:** %1 (the baseline counted %2).\n")
                     .arg(problems.join(QStringLiteral("; ")), Number(expected, 0));
}

QString TBenchReport::Markdown(const QString& notes) const
{
    QString page = QStringLiteral("# Performance: datasets over a million rows\n\n") + MachineSection();
    page += QStringLiteral(
                "\n## What is measured\n\n"
                "- (a) open the database and the dataset and read every column of the first 40 records;\n"
                "- (b) go to the last record and read it (the baseline: a full scan reading every column);\n"
                "- (c) make the record with a key in the middle current (the baseline: one indexed SELECT; "
                "QSqlQueryModel has no seek, so it walks the rows it holds);\n"
                "- (d) apply the filter `%1` until the record count is known (the baseline: SQLite's "
                "`SELECT count(*) ... WHERE`; QSqlQueryModel fetches a WHERE query to the end);\n"
                "- (c) and (d) each start from a dataset freshly opened that has read its first 40 records, "
                "not from the one (b) left at its end;\n"
                "- (e) peak memory after (a) and after (b).\n\n## Figures\n\n")
                .arg(TBenchVariant::FilterText());
    page += FiguresTable() + QLatin1Char('\n') + ConsistencySection();
    page += QStringLiteral("\n## Targets\n\n") + TargetsSection();
    if (!notes.trimmed().isEmpty())
        page += QStringLiteral("\n## Notes\n\n") + notes.trimmed() + QLatin1Char('\n');
    return page;
}

} // namespace orvo
