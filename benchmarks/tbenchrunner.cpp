#include "tbenchrunner.h"

#include "tdatasetvariant.h"
#include "tqsqlmodelvariant.h"
#include "trawsqlitevariant.h"

#include "platform/core/exceptions.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>

namespace orvo {

namespace {

double ElapsedMs(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

QStringList TBenchRunner::VariantNames()
{
    return {QStringLiteral("empty"),         QStringLiteral("raw"),   QStringLiteral("table"),
            QStringLiteral("table-indexed"), QStringLiteral("query"), QStringLiteral("qsqlmodel")};
}

QString TBenchRunner::VariantTitle(const QString& name)
{
    static const QMap<QString, QString> titles = {
        {QStringLiteral("empty"), QStringLiteral("empty process (Qt and SQLite loaded)")},
        {QStringLiteral("raw"), QStringLiteral("SQLite C API, sqlite3_step (baseline)")},
        {QStringLiteral("table"), QStringLiteral("TSQLiteTable, natural order")},
        {QStringLiteral("table-indexed"), QStringLiteral("TSQLiteTable, IndexFieldNames=CustNo")},
        {QStringLiteral("query"), QStringLiteral("TSQLiteQuery, SELECT * FROM BigOrders")},
        {QStringLiteral("qsqlmodel"), QStringLiteral("QSqlQueryModel (QSQLITE)")}};
    return titles.value(name, name);
}

bool TBenchRunner::IsOwnDataSet(const QString& name)
{
    return IsTable(name) || name == QLatin1String("query");
}

bool TBenchRunner::IsTable(const QString& name)
{
    return name.startsWith(QLatin1String("table"));
}

std::unique_ptr<TBenchVariant> TBenchRunner::CreateVariant(const QString& name, const QString& fileName)
{
    if (name == QLatin1String("raw"))
        return std::make_unique<TRawSQLiteVariant>(fileName);
    if (name == QLatin1String("table"))
        return std::make_unique<TDataSetVariant>(fileName, TDataSetVariant::dsTableNatural);
    if (name == QLatin1String("table-indexed"))
        return std::make_unique<TDataSetVariant>(fileName, TDataSetVariant::dsTableIndexed);
    if (name == QLatin1String("query"))
        return std::make_unique<TDataSetVariant>(fileName, TDataSetVariant::dsQuery);
    if (name == QLatin1String("qsqlmodel"))
        return std::make_unique<TQSqlModelVariant>(fileName);
    throw EInvalidOperation(QStringLiteral("Unknown variant '%1'").arg(name));
}

qint64 TBenchRunner::PeakMemoryKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression peak(QStringLiteral("^VmHWM:\\s*(\\d+)\\s*kB"),
                                         QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = peak.match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toLongLong() : -1;
}

QMap<QString, double> TBenchRunner::Run(const QString& variant, const QString& fileName, qint64 locateKey)
{
    QMap<QString, double> figures;
    if (variant == QLatin1String("empty")) {
        const double peak = double(PeakMemoryKb());
        figures[QStringLiteral("mem_open_kb")] = peak;
        figures[QStringLiteral("mem_last_kb")] = peak;
        return figures;
    }
    QElapsedTimer timer;
    {
        std::unique_ptr<TBenchVariant> bench = CreateVariant(variant, fileName);
        timer.start();
        bench->OpenAndReadFirst(FirstRecords);
        figures[QStringLiteral("open_ms")] = ElapsedMs(timer);
        figures[QStringLiteral("mem_open_kb")] = double(PeakMemoryKb());

        timer.start();
        bench->GoToLast();
        figures[QStringLiteral("last_ms")] = ElapsedMs(timer);
        figures[QStringLiteral("mem_last_kb")] = double(PeakMemoryKb());
    }
    {
        // Locate and filter each start from a dataset that has just shown its first screen,
        // as in a grid, not from one that (b) left holding every row.
        std::unique_ptr<TBenchVariant> bench = CreateVariant(variant, fileName);
        bench->OpenAndReadFirst(FirstRecords);
        timer.start();
        const bool found = bench->LocateKey(locateKey);
        figures[QStringLiteral("locate_ms")] = ElapsedMs(timer);
        figures[QStringLiteral("locate_found")] = found ? 1 : 0;
    }
    {
        std::unique_ptr<TBenchVariant> bench = CreateVariant(variant, fileName);
        bench->OpenAndReadFirst(FirstRecords);
        timer.start();
        const qint64 count = bench->FilteredCount();
        figures[QStringLiteral("filter_ms")] = ElapsedMs(timer);
        figures[QStringLiteral("filter_count")] = double(count);
    }
    return figures;
}

} // namespace orvo
