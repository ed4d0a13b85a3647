#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>

#include <functional>

class QCoreApplication;
namespace orvo {
class TBenchPageSection;
}

/// The command line the million-row benchmarks share: `--db FILE` (required), `--child
/// VARIANT` (measure one variant in this process, for the parent to read), `--repeats N`
/// and `--report FILE`; a benchmark adds options of its own before Process.
class TBenchCommandLine
{
public:
    /// `program` names the benchmark in messages; `reportHelp` says what --report writes.
    TBenchCommandLine(QString program, const QString& reportHelp);

    void AddOption(const QCommandLineOption& option) { FParser.addOption(option); }
    /// Parses the arguments; false, after saying why, when --db is missing.
    bool Process(const QCoreApplication& app);

    QString Db() const { return FParser.value(FDb); }
    bool IsChild() const { return FParser.isSet(FChild); }
    QString Child() const { return FParser.value(FChild); }
    int Repeats() const { return FParser.value(FRepeats).toInt(); }
    bool HasReport() const { return FParser.isSet(FReport); }
    QString Report() const { return FParser.value(FReport); }
    QString Value(const QCommandLineOption& option) const { return FParser.value(option); }

    /// Runs the benchmark's `body`; an exception becomes a message and exit code 1.
    int Run(const std::function<int()>& body) const;
    /// Runs `makeSection` (database file, repeats) and writes its text into `section` of the
    /// --report page, or to standard output without --report.
    int RunSection(const orvo::TBenchPageSection& section,
                   const std::function<QString(const QString& db, int repeats)>& makeSection) const;

private:
    QString FProgram;
    QCommandLineParser FParser;
    QCommandLineOption FDb;
    QCommandLineOption FChild;
    QCommandLineOption FRepeats;
    QCommandLineOption FReport;
};
