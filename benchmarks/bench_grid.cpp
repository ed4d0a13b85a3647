// bench_grid: the data grid against QTableView over a large table.
//
//   bench_grid --db FILE [--repeats N] [--report PAGE.md]
//       runs every variant in child processes and writes (or replaces) its section of the page
//   bench_grid --child VARIANT --db FILE
//       measures one variant in this process and prints "name=value" lines

#include "tbenchcommandline.h"
#include "tbenchpagesection.h"
#include "tgridbenchreport.h"
#include "tgridbenchrunner.h"

#include <QApplication>
#include <QTextStream>

using namespace orvo;

namespace {

int RunChild(const QString& variant, const QString& fileName)
{
    QTextStream out(stdout);
    const QMap<QString, double> figures = TGridBenchRunner::Run(variant, fileName);
    for (auto it = figures.begin(); it != figures.end(); ++it)
        out << it.key() << '=' << QString::number(it.value(), 'f', 4) << '\n';
    return 0;
}

int RunReport(const QString& fileName, int repeats, const QString& pageName)
{
    TGridBenchReport report(QCoreApplication::applicationFilePath(), fileName, repeats);
    report.Collect();
    if (pageName.isEmpty()) {
        QTextStream(stdout) << report.Section();
        return 0;
    }
    TBenchPageSection::WritePage(
        pageName, TGridBenchReport::Merge(TBenchPageSection::ReadPage(pageName), report.Section()));
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    TBenchCommandLine line(QStringLiteral("bench_grid"),
                           QStringLiteral("Markdown page whose grid section is written."));
    if (!line.Process(app))
        return 2;
    return line.Run([&line] {
        if (line.IsChild())
            return RunChild(line.Child(), line.Db());
        return RunReport(line.Db(), line.Repeats(), line.Report());
    });
}
