// bench_datasets: our datasets against Qt's model and bare SQLite over a large table.
//
//   bench_datasets --db FILE [--repeats N] [--report OUT.md] [--notes NOTES.md]
//       runs every variant in child processes and writes the Markdown report
//   bench_datasets --child VARIANT --db FILE --key ORDERNO
//       measures one variant in this process and prints "name=value" lines

#include "tbenchcommandline.h"
#include "tbenchpagesection.h"
#include "tbenchreport.h"
#include "tbenchrunner.h"

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
    for (const TBenchPageSection& other : TBenchPageSection::BesideDatasets()) {
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
    TBenchCommandLine line(QStringLiteral("bench_datasets"), QStringLiteral("Markdown file to write."));
    const QCommandLineOption key(QStringLiteral("key"), QStringLiteral("OrderNo to locate."),
                                 QStringLiteral("N"));
    const QCommandLineOption notes(QStringLiteral("notes"), QStringLiteral("Markdown notes to append."),
                                   QStringLiteral("FILE"));
    line.AddOption(key);
    line.AddOption(notes);
    if (!line.Process(app))
        return 2;
    return line.Run([&] {
        if (line.IsChild())
            return RunChild(line.Child(), line.Db(), line.Value(key).toLongLong());
        return RunReport(line.Db(), line.Repeats(), line.Report(), line.Value(notes));
    });
}
