// bench_datasets: our datasets against Qt's model and bare SQLite over a large table.
//
//   bench_datasets --db FILE [--repeats N] [--report OUT.md] [--notes NOTES.md]
//       runs every variant in child processes and writes the Markdown report
//   bench_datasets --child VARIANT --db FILE --key ORDERNO
//       measures one variant in this process and prints "name=value" lines

#include "tbenchpagesection.h"
#include "tbenchreport.h"
#include "tbenchrunner.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

using namespace orvo;

namespace {

int RunChild(const QString& variant, const QString& fileName, qint64 key)
{
    QTextStream out(stdout);
    const QMap<QString, double> figures = TBenchRunner::Run(variant, fileName, key);
    for (auto it = figures.begin(); it != figures.end(); ++it)
        out << it.key() << '=' << QString::number(it.value(), 'f', 4) << '\n';
    return 0;
}

int RunReport(const QString& fileName, int repeats, const QString& reportName, const QString& notesName)
{
    TBenchReport report(QCoreApplication::applicationFilePath(), fileName, repeats);
    report.Collect();
    QString markdown = report.Markdown(TBenchPageSection::ReadPage(notesName));
    // The other benchmarks write their own sections of the same page; keep their figures.
    const QString previous = TBenchPageSection::ReadPage(reportName);
    for (const TBenchPageSection& other :
         {TBenchPageSection::Grid(), TBenchPageSection::CustomData(), TBenchPageSection::Selection()}) {
        const QString section = other.Extract(previous);
        if (!section.isEmpty())
            markdown = other.Merge(markdown, section);
    }
    if (reportName.isEmpty())
        QTextStream(stdout) << markdown;
    else
        TBenchPageSection::WritePage(reportName, markdown);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption db(QStringLiteral("db"), QStringLiteral("Database with the BigOrders table."),
                                QStringLiteral("FILE"));
    const QCommandLineOption child(QStringLiteral("child"), QStringLiteral("Measure one variant here."),
                                   QStringLiteral("VARIANT"));
    const QCommandLineOption key(QStringLiteral("key"), QStringLiteral("OrderNo to locate."),
                                 QStringLiteral("N"));
    const QCommandLineOption repeats(QStringLiteral("repeats"), QStringLiteral("Runs per variant."),
                                     QStringLiteral("N"), QStringLiteral("3"));
    const QCommandLineOption report(QStringLiteral("report"), QStringLiteral("Markdown file to write."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption notes(QStringLiteral("notes"), QStringLiteral("Markdown notes to append."),
                                   QStringLiteral("FILE"));
    parser.addOptions({db, child, key, repeats, report, notes});
    parser.process(app);
    if (!parser.isSet(db)) {
        QTextStream(stderr) << "bench_datasets: --db FILE is required\n";
        return 2;
    }
    try {
        if (parser.isSet(child))
            return RunChild(parser.value(child), parser.value(db), parser.value(key).toLongLong());
        return RunReport(parser.value(db), parser.value(repeats).toInt(), parser.value(report),
                         parser.value(notes));
    } catch (const std::exception& e) {
        QTextStream(stderr) << "bench_datasets: " << e.what() << '\n';
        return 1;
    }
}
