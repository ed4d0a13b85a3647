#include "tbenchchildruns.h"

#include "tbenchcommandline.h"
#include "tbenchpagesection.h"

#include "platform/core/exceptions.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace orvo::bench {

double Milliseconds(const QElapsedTimer& clock)
{
    return double(clock.nsecsElapsed()) / 1e6;
}

double ResidentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    static const QRegularExpression rss(QStringLiteral("^VmRSS:\\s*(\\d+)\\s*kB"),
                                        QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = rss.match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toDouble() / 1024.0 : 0;
}

TFigures RunChild(const QString& program, const QString& variant, const QString& fileName)
{
    QProcess child;
    child.start(program, {QStringLiteral("--child"), variant, QStringLiteral("--db"), fileName});
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        throw Exception(QStringLiteral("%1 failed: %2")
                            .arg(variant, QString::fromLocal8Bit(child.readAllStandardError())));
    TFigures figures;
    for (const QString& line : QString::fromLatin1(child.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0)
            figures[line.left(equals)] = line.mid(equals + 1).toDouble();
    }
    return figures;
}

std::map<QString, TFigures> CollectMedians(const QString& program, const QStringList& variants,
                                           const QString& fileName, int repeats)
{
    std::map<QString, TFigures> medians;
    for (const QString& variant : variants) {
        std::map<QString, std::vector<double>> runs;
        for (int run = 0; run < repeats; ++run)
            for (const auto& [name, value] : RunChild(program, variant, fileName))
                runs[name].push_back(value);
        for (auto& [name, values] : runs) {
            std::sort(values.begin(), values.end());
            medians[variant][name] = values[values.size() / 2];
        }
    }
    return medians;
}

int RunChildBenchmark(const TBenchCommandLine& line, const TVariantRun& runVariant,
                      const QStringList& variants, const TSectionWriter& section,
                      const TBenchPageSection& pageSection)
{
    if (line.IsChild()) {
        QTextStream out(stdout);
        for (const auto& [name, value] : runVariant(line.Child(), line.Db()))
            out << name << '=' << QString::number(value, 'f', 4) << '\n';
        return 0;
    }
    const int repeats = std::max(1, line.Repeats());
    auto medians = CollectMedians(QCoreApplication::applicationFilePath(), variants, line.Db(), repeats);
    const QString text = section(medians, repeats);
    if (!line.HasReport()) {
        QTextStream(stdout) << text;
        return 0;
    }
    const QString page = line.Report();
    TBenchPageSection::WritePage(page, pageSection.Merge(TBenchPageSection::ReadPage(page), text));
    return 0;
}

} // namespace orvo::bench
