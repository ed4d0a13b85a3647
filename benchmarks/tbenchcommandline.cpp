#include "tbenchcommandline.h"

#include <QCoreApplication>
#include <QTextStream>

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
