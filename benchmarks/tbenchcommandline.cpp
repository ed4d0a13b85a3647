#include "tbenchcommandline.h"

#include "tbenchpagesection.h"

#include <QCoreApplication>
#include <QTextStream>

#include <algorithm>
#include <exception>
#include <utility>

TBenchCommandLine::TBenchCommandLine(QString program, const QString& reportHelp)
    : FProgram(std::move(program)),
      FDb(QStringLiteral("db"), QStringLiteral("Database with the BigOrders table."), QStringLiteral("FILE")),
      FChild(QStringLiteral("child"), QStringLiteral("Measure one variant here."), QStringLiteral("VARIANT")),
      FRepeats(QStringLiteral("repeats"), QStringLiteral("Runs per variant."), QStringLiteral("N"),
               QStringLiteral("3")),
      FReport(QStringLiteral("report"), reportHelp, QStringLiteral("FILE"))
{
    FParser.addHelpOption();
    FParser.addOptions({FDb, FChild, FRepeats, FReport});
}

bool TBenchCommandLine::Process(const QCoreApplication& app)
{
    FParser.process(app);
    if (FParser.isSet(FDb))
        return true;
    QTextStream(stderr) << FProgram << ": --db FILE is required\n";
    return false;
}

int TBenchCommandLine::Run(const std::function<int()>& body) const
{
    try {
        return body();
    } catch (const std::exception& e) {
        QTextStream(stderr) << FProgram << ": " << e.what() << '\n';
        return 1;
    }
}

int TBenchCommandLine::RunSection(
    const orvo::TBenchPageSection& section,
    const std::function<QString(const QString& db, int repeats)>& makeSection) const
{
    return Run([&] {
        const QString text = makeSection(Db(), std::max(1, Repeats()));
        if (!HasReport()) {
            QTextStream(stdout) << text;
            return 0;
        }
        orvo::TBenchPageSection::WritePage(Report(),
                                           section.Merge(orvo::TBenchPageSection::ReadPage(Report()), text));
        return 0;
    });
}
