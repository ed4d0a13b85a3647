// bench_sorting: sorting the million-row table by a column, and random access through a query,
// against SQLite's own ORDER BY and QSortFilterProxyModel over QSqlQueryModel.
//
//   bench_sorting --db FILE [--repeats N] [--report OUT.md]
//       runs every variant in child processes and writes its section of the Markdown page
//   bench_sorting --child VARIANT --db FILE
//       measures one variant in this process and prints "name=value" lines

#include "tbenchcommandline.h"
#include "tbenchpagesection.h"

#include "platform/data/tfield.h"
#include "platform/data/tfields.h"
#include "platform/sqlite/tsqlitedatabase.h"
#include "platform/sqlite/tsqlitequery.h"
#include "platform/sqlite/tsqlitetable.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTextStream>

#include <sqlite3.h>

#include <algorithm>
#include <random>

using namespace orvo;

namespace {

const QString Table = QStringLiteral("BigOrders");
const QString Unindexed = QStringLiteral("ItemsTotal");
const QString Indexed = QStringLiteral("CustNo");
const QString QuerySql = QStringLiteral("SELECT * FROM BigOrders WHERE Qty > 2 ORDER BY ItemsTotal");
constexpr int Screen = 40;
constexpr int Moves = 20;
using TFigures = QMap<QString, double>;

double Ms(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

double PeakMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    static const QRegularExpression peak(QStringLiteral("^VmHWM:\\s*(\\d+)\\s*kB"),
                                         QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = peak.match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toDouble() / 1024.0 : 0;
}

/// Reads every field of the current record and of the next ones, a screen's worth.
void ReadScreen(TDataSet& ds)
{
    for (int r = 0; r < Screen && !ds.Eof(); ++r, ds.Next())
        for (int f = 0; f < ds.Fields()->Count(); ++f)
            (void)ds.Fields()->Field(f)->AsString();
    ds.MoveBy(-Screen);
}

std::vector<int> RandomRecNos(int count)
{
    std::mt19937 random(20261210);
    std::uniform_int_distribution<int> pick(1, count);
    std::vector<int> recNos(Moves);
    for (int& r : recNos)
        r = pick(random);
    return recNos;
}

/// Paging, jumps, Ctrl+End and Locate in the order the dataset has now.
void MeasureMoves(TDataSet& ds, qint64 key, TFigures& figures, const QString& prefix)
{
    QElapsedTimer timer;
    timer.start();
    for (int page = 0; page < Moves; ++page) {
        ds.MoveBy(Screen);
        ReadScreen(ds);
    }
    figures[prefix + QStringLiteral("page_ms")] = Ms(timer) / Moves;
    const int count = ds.RecordCount();
    double jumps = 0;
    for (int recNo : RandomRecNos(count)) {
        timer.start();
        ds.SetRecNo(recNo);
        ReadScreen(ds);
        jumps += Ms(timer);
        if (ds.RecNo() != recNo)
            throw std::runtime_error("a jump missed its record");
    }
    figures[prefix + QStringLiteral("jump_ms")] = jumps / Moves;
    timer.start();
    ds.Last();
    ds.MoveBy(-Screen);
    ReadScreen(ds);
    figures[prefix + QStringLiteral("last_ms")] = Ms(timer);
    timer.start();
    const bool found = ds.Locate(QStringLiteral("OrderNo"), TVariant(key), {});
    const int recNo = ds.RecNo();
    figures[prefix + QStringLiteral("locate_ms")] = Ms(timer);
    if (!found || recNo < 1)
        throw std::runtime_error("Locate missed its key");
}

void OpenDatabase(TSQLiteDatabase& db, const QString& fileName)
{
    db.SetDatabaseName(fileName);
    db.SetReadOnly(true);
    db.Open();
}

TFigures RawSqlite(const QString& fileName)
{
    TFigures figures;
    sqlite3* db = nullptr;
    sqlite3_open_v2(fileName.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    const auto run = [&](const QString& sql, const QString& name) {
        QElapsedTimer timer;
        timer.start();
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr);
        qint64 rows = 0;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(statement); ++c)
                (void)sqlite3_column_text(statement, c);
            if (++rows == 1)
                figures[name + QStringLiteral("first_ms")] = Ms(timer);
        }
        figures[name + QStringLiteral("last_ms")] = Ms(timer);
        figures[name + QStringLiteral("rows")] = double(rows);
        sqlite3_finalize(statement);
    };
    run(QStringLiteral("SELECT * FROM BigOrders ORDER BY ItemsTotal"), QStringLiteral("sort_"));
    run(QStringLiteral("SELECT rowid FROM BigOrders ORDER BY ItemsTotal, rowid"), QStringLiteral("keys_"));
    run(QStringLiteral("SELECT * FROM BigOrders ORDER BY CustNo"), QStringLiteral("index_"));
    run(QuerySql, QStringLiteral("query_"));
    run(QStringLiteral("SELECT OrderNo, ItemsTotal * 2 AS Twice FROM BigOrders"), QStringLiteral("plain_"));
    sqlite3_close(db);
    figures[QStringLiteral("mem_mb")] = PeakMb();
    return figures;
}

TFigures TableSorted(const QString& fileName, const QString& column, qint64 key)
{
    TFigures figures;
    TSQLiteDatabase db;
    OpenDatabase(db, fileName);
    TSQLiteTable table;
    table.SetDatabase(&db);
    table.SetTableName(Table);
    table.SetPageSize(Screen);
    table.Open();
    ReadScreen(table);
    table.MoveBy(7);
    const qint64 current = table.FieldByName(QStringLiteral("OrderNo"))->AsLargeInt();
    QElapsedTimer timer;
    timer.start();
    table.SetIndexFieldNames(column);
    ReadScreen(table);
    figures[QStringLiteral("first_ms")] = Ms(timer);
    timer.start();
    const int recNo = table.RecNo();
    figures[QStringLiteral("recno_ms")] = Ms(timer);
    figures[QStringLiteral("kept")] =
        table.FieldByName(QStringLiteral("OrderNo"))->AsLargeInt() == current && recNo > 0 ? 1 : 0;
    figures[QStringLiteral("mem_sorted_mb")] = PeakMb();
    MeasureMoves(table, key, figures, QString());
    figures[QStringLiteral("mem_mb")] = PeakMb();
    return figures;
}

TFigures Query(const QString& fileName, qint64 key)
{
    TFigures figures;
    TSQLiteDatabase db;
    OpenDatabase(db, fileName);
    TSQLiteQuery query;
    query.SetDatabase(&db);
    query.SetSQL({QStringLiteral("SELECT * FROM BigOrders")});
    query.Open();
    ReadScreen(query);
    // The grid's click rewrites the ORDER BY and opens the query again.
    QElapsedTimer timer;
    timer.start();
    query.Close();
    query.SetSQL({QuerySql});
    query.Open();
    ReadScreen(query);
    figures[QStringLiteral("reopen_ms")] = Ms(timer);
    timer.start();
    query.Last();
    ReadScreen(query);
    figures[QStringLiteral("first_last_ms")] = Ms(timer);
    MeasureMoves(query, key, figures, QString());
    figures[QStringLiteral("mem_mb")] = PeakMb();
    // A query the keyset cannot serve (an expression column) locates through its rows.
    TSQLiteQuery other;
    other.SetDatabase(&db);
    other.SetSQL({QStringLiteral("SELECT OrderNo, ItemsTotal * 2 AS Twice FROM BigOrders")});
    other.Open();
    timer.start();
    if (!other.Locate(QStringLiteral("OrderNo"), TVariant(key), {}))
        throw std::runtime_error("Locate missed its key");
    figures[QStringLiteral("sequential_locate_ms")] = Ms(timer);
    return figures;
}

TFigures ProxyModel(const QString& fileName)
{
    TFigures figures;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench"));
        db.setDatabaseName(fileName);
        db.open();
        QSqlQueryModel model;
        QElapsedTimer timer;
        timer.start();
        model.setQuery(QSqlQuery(QStringLiteral("SELECT * FROM BigOrders"), db));
        while (model.canFetchMore())
            model.fetchMore();
        figures[QStringLiteral("fetch_ms")] = Ms(timer);
        QSortFilterProxyModel proxy;
        proxy.setSourceModel(&model);
        timer.start();
        proxy.sort(model.record().indexOf(Unindexed));
        (void)proxy.index(0, 0).data();
        figures[QStringLiteral("sort_ms")] = Ms(timer);
        figures[QStringLiteral("mem_mb")] = PeakMb();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench"));
    return figures;
}

int RunChild(const QString& variant, const QString& fileName, qint64 key)
{
    TFigures figures;
    if (variant == QLatin1String("empty"))
        figures[QStringLiteral("mem_mb")] = PeakMb();
    else if (variant == QLatin1String("raw"))
        figures = RawSqlite(fileName);
    else if (variant == QLatin1String("unindexed"))
        figures = TableSorted(fileName, Unindexed, key);
    else if (variant == QLatin1String("indexed"))
        figures = TableSorted(fileName, Indexed, key);
    else if (variant == QLatin1String("query"))
        figures = Query(fileName, key);
    else if (variant == QLatin1String("proxy"))
        figures = ProxyModel(fileName);
    QTextStream out(stdout);
    for (auto it = figures.begin(); it != figures.end(); ++it)
        out << it.key() << '=' << QString::number(it.value(), 'f', 4) << '\n';
    return 0;
}

TFigures RunInChild(const QString& variant, const QString& fileName)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--child"), variant, QStringLiteral("--db"), fileName});
    if (!child.waitForFinished(30 * 60 * 1000) || child.exitCode() != 0)
        throw std::runtime_error(
            ("variant " + variant + " failed: " + child.readAllStandardError()).toStdString());
    TFigures figures;
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq > 0)
            figures[QString::fromUtf8(line.left(eq))] = line.mid(eq + 1).toDouble();
    }
    return figures;
}

/// Each figure is the median of its runs.
TFigures Median(const std::vector<TFigures>& runs)
{
    TFigures median;
    for (const QString& name : runs.front().keys()) {
        std::vector<double> values;
        for (const TFigures& run : runs)
            values.push_back(run.value(name));
        std::sort(values.begin(), values.end());
        median[name] = values[values.size() / 2];
    }
    return median;
}

QString Fixed(double value, int decimals = 1)
{
    return QString::number(value, 'f', decimals);
}

QString Row(const QString& what, double figure, const QString& baseline, double base, double limit,
            const QString& limitText)
{
    const QString result = limitText.isEmpty() ? QString()
                           : figure <= limit   ? QStringLiteral("met")
                                               : QStringLiteral("**missed**");
    return QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6 | %7 |\n")
        .arg(what, Fixed(figure, 2), baseline, base > 0 ? Fixed(base, 2) : QString(),
             base > 0 ? Fixed(figure / base, 2) : QString(), limitText, result);
}

QString Markdown(const QMap<QString, TFigures>& f, int repeats, const QString& fileName)
{
    const TFigures& raw = f[QStringLiteral("raw")];
    const TFigures& un = f[QStringLiteral("unindexed")];
    const TFigures& ix = f[QStringLiteral("indexed")];
    const TFigures& q = f[QStringLiteral("query")];
    const TFigures& proxy = f[QStringLiteral("proxy")];
    const double empty = f[QStringLiteral("empty")].value(QStringLiteral("mem_mb"));
    QString md;
    QTextStream out(&md);
    out << TBenchPageSection::Sorting().BeginMarker() << "\n\n";
    out << "# Performance: sorting a million rows, random access for queries\n\n";
    out << "Measured on " << QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd HH:mm"))
        << " (UTC) by `benchmarks/run-sorting.sh`, " << repeats
        << " run(s) of each variant in a child process of its own, medians; the table BigOrders of `"
        << QFileInfo(fileName).fileName() << "` (" << Fixed(raw.value(QStringLiteral("sort_rows")), 0)
        << " rows), `ItemsTotal` has no index, `CustNo` has one. The baselines are SQLite's own runs of "
           "the same statement in the same run, through its C API, reading every column.\n\n";
    out << "| measure | ms | baseline | baseline ms | ratio | target | result "
           "|\n|---|---:|---|---:|---:|---|---|\n";
    const double sortFirst = raw.value(QStringLiteral("sort_first_ms"));
    out << Row(
        QStringLiteral("`TSQLiteTable`, `IndexFieldNames` set to the unindexed column: first screen of 40"),
        un.value(QStringLiteral("first_ms")), QStringLiteral("`ORDER BY ItemsTotal` to its first row"),
        sortFirst, 1.2 * sortFirst, QStringLiteral("within 1.2x"));
    out << Row(QStringLiteral("... the same"), un.value(QStringLiteral("first_ms")),
               QStringLiteral("`ORDER BY ItemsTotal` to its last row"),
               raw.value(QStringLiteral("sort_last_ms")), 1e9, QString());
    out << Row(QStringLiteral("... the same"), un.value(QStringLiteral("first_ms")),
               QStringLiteral("`SELECT rowid ... ORDER BY ItemsTotal, rowid` to its first row"),
               raw.value(QStringLiteral("keys_first_ms")), 1e9, QString());
    out << Row(QStringLiteral("... the same"), un.value(QStringLiteral("first_ms")),
               QStringLiteral("`SELECT rowid ... ORDER BY ItemsTotal, rowid` to its last row"),
               raw.value(QStringLiteral("keys_last_ms")), 1e9, QString());
    for (const auto& [name, label] :
         {std::pair{QStringLiteral("page_ms"), QStringLiteral("next page of 40")},
          {QStringLiteral("jump_ms"), QStringLiteral("jump to a random record + 40")},
          {QStringLiteral("last_ms"), QStringLiteral("Ctrl+End (Last) + 40")},
          {QStringLiteral("locate_ms"), QStringLiteral("Locate OrderNo")}})
        out << Row(QStringLiteral("... then ") + label, un.value(name), QString(), 0, 16,
                   QStringLiteral("under 16 ms"));
    out << Row(QStringLiteral("`TSQLiteTable` on the indexed column: first screen of 40"),
               ix.value(QStringLiteral("first_ms")), QStringLiteral("`ORDER BY CustNo` to its first row"),
               raw.value(QStringLiteral("index_first_ms")), 20, QStringLiteral("under 20 ms"));
    out << Row(QStringLiteral("... then RecNo of the record kept current (one count)"),
               ix.value(QStringLiteral("recno_ms")), QString(), 0, 16, QStringLiteral("under 16 ms"));
    out << Row(QStringLiteral("... then Ctrl+End (Last) + 40"), ix.value(QStringLiteral("last_ms")),
               QString(), 0, 20, QStringLiteral("under 20 ms"));
    out << Row(QStringLiteral("... then jump to a random record + 40"), ix.value(QStringLiteral("jump_ms")),
               QString(), 0, 16, QStringLiteral("under 16 ms"));
    const double queryLast = raw.value(QStringLiteral("query_last_ms"));
    out << Row(QStringLiteral("`TSQLiteQuery` with the ORDER BY rewritten: close, open, first screen"),
               q.value(QStringLiteral("reopen_ms")), QStringLiteral("the statement to its first row"),
               raw.value(QStringLiteral("query_first_ms")), 1.2 * raw.value(QStringLiteral("query_first_ms")),
               QStringLiteral("within 1.2x"));
    out << Row(QStringLiteral("... then its first Last (reads the rowids once) + 40"),
               q.value(QStringLiteral("first_last_ms")), QStringLiteral("the statement to its last row"),
               queryLast, 1.2 * queryLast, QStringLiteral("within 1.2x"));
    out << Row(QStringLiteral("... then Ctrl+End (Last) + 40 again"), q.value(QStringLiteral("last_ms")),
               QString(), 0, 20, QStringLiteral("under 20 ms"));
    out << Row(QStringLiteral("... then Locate OrderNo"), q.value(QStringLiteral("locate_ms")), QString(), 0,
               1, QStringLiteral("under 1 ms"));
    out << Row(QStringLiteral("... then jump to a random record + 40"), q.value(QStringLiteral("jump_ms")),
               QString(), 0, 16, QStringLiteral("under 16 ms"));
    out << Row(QStringLiteral("`TSQLiteQuery` with an expression column (no keyset): Locate OrderNo"),
               q.value(QStringLiteral("sequential_locate_ms")),
               QStringLiteral("the statement to its last row"), raw.value(QStringLiteral("plain_last_ms")),
               raw.value(QStringLiteral("plain_last_ms")), QStringLiteral("one raw scan"));
    out << Row(
        QStringLiteral("`QSortFilterProxyModel` over `QSqlQueryModel` (every row fetched first): sort"),
        proxy.value(QStringLiteral("sort_ms")), QStringLiteral("`ORDER BY ItemsTotal` to its last row"),
        raw.value(QStringLiteral("sort_last_ms")), 1e9, QString());
    out << "\nMemory (peak resident above the " << Fixed(empty) << " MB of an empty process): `TSQLiteTable` "
        << Fixed(un.value(QStringLiteral("mem_sorted_mb")) - empty) << " MB after the sort, "
        << Fixed(un.value(QStringLiteral("mem_mb")) - empty) << " MB after every move (target under 64 MB); "
        << "`TSQLiteQuery` " << Fixed(q.value(QStringLiteral("mem_mb")) - empty) << " MB after its moves; "
        << "`QSqlQueryModel` with the proxy " << Fixed(proxy.value(QStringLiteral("mem_mb")) - empty)
        << " MB (fetching every row took " << Fixed(proxy.value(QStringLiteral("fetch_ms")), 0)
        << " ms before the sort). The current record stayed current across the sort: "
        << (un.value(QStringLiteral("kept")) > 0 ? "yes" : "**no**") << ".\n\n";
    return md;
}

int RunReport(const QString& fileName, int repeats, const QString& reportName, const QString& notesName)
{
    QMap<QString, TFigures> figures;
    for (const QString& variant :
         {QStringLiteral("empty"), QStringLiteral("raw"), QStringLiteral("unindexed"),
          QStringLiteral("indexed"), QStringLiteral("query"), QStringLiteral("proxy")}) {
        std::vector<TFigures> runs;
        for (int r = 0; r < std::max(1, repeats); ++r)
            runs.push_back(RunInChild(variant, fileName));
        figures[variant] = Median(runs);
    }
    QString section = Markdown(figures, repeats, fileName) + TBenchPageSection::ReadPage(notesName) +
                      QStringLiteral("\n") + TBenchPageSection::Sorting().EndMarker() + QStringLiteral("\n");
    if (reportName.isEmpty()) {
        QTextStream(stdout) << section;
        return 0;
    }
    const QString page = TBenchPageSection::ReadPage(reportName);
    TBenchPageSection::WritePage(reportName, TBenchPageSection::Sorting().Merge(page, section));
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    TBenchCommandLine line(QStringLiteral("bench_sorting"),
                           QStringLiteral("Markdown page to write its section of."));
    const QCommandLineOption notes(QStringLiteral("notes"), QStringLiteral("Markdown notes to append."),
                                   QStringLiteral("FILE"));
    line.AddOption(notes);
    if (!line.Process(app))
        return 2;
    return line.Run([&] {
        // The key in the middle of the table, as the dataset benchmark locates.
        if (line.IsChild())
            return RunChild(line.Child(), line.Db(), 500000);
        return RunReport(line.Db(), line.Repeats(), line.Report(), line.Value(notes));
    });
}
