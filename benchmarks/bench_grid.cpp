// bench_grid: the data grid against QTableView over a large table.
//
//   bench_grid --db FILE [--repeats N] [--report PAGE.md]
//       runs every variant in child processes and writes (or replaces) its section of the page
//   bench_grid --child VARIANT --db FILE
//       measures one variant in this process and prints "name=value" lines

#include "tbenchpagesection.h"
#include "tgridbenchreport.h"
#include "tgridbenchrunner.h"

#include <QApplication>
#include <QCommandLineParser>
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
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption db(QStringLiteral("db"), QStringLiteral("Database with the BigOrders table."),
                                QStringLiteral("FILE"));
    const QCommandLineOption child(QStringLiteral("child"), QStringLiteral("Measure one variant here."),
                                   QStringLiteral("VARIANT"));
    const QCommandLineOption repeats(QStringLiteral("repeats"), QStringLiteral("Runs per variant."),
                                     QStringLiteral("N"), QStringLiteral("3"));
    const QCommandLineOption report(QStringLiteral("report"),
                                    QStringLiteral("Markdown page whose grid section is written."),
                                    QStringLiteral("FILE"));
    parser.addOptions({db, child, repeats, report});
    parser.process(app);
    if (!parser.isSet(db)) {
        QTextStream(stderr) << "bench_grid: --db FILE is required\n";
        return 2;
    }
    try {
        if (parser.isSet(child))
            return RunChild(parser.value(child), parser.value(db));
        return RunReport(parser.value(db), parser.value(repeats).toInt(), parser.value(report));
    } catch (const std::exception& e) {
        QTextStream(stderr) << "bench_grid: " << e.what() << '\n';
        return 1;
    }
}
