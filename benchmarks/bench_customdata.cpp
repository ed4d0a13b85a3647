// bench_customdata: the dataset over an indexed source against a plain vector of rows and
// QStandardItemModel, in one process, one after the other.
//
//   bench_customdata [--rows N] [--model-rows M] [--report OUT.md]
//       measures and prints (or writes into OUT.md) its section of the performance page

#include "tbenchpagesection.h"

#include "platform/data/tdatalink.h"
#include "platform/data/tdatasource.h"
#include "platform/data/tfield.h"
#include "platform/data/tfielddefs.h"
#include "platform/data/tfields.h"
#include "platform/data/torvodbcustomdata.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QStandardItemModel>
#include <QTextStream>

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

using namespace orvo;

namespace {

constexpr int FieldCount = 10;
constexpr int IntegerFields = 8;
constexpr int WindowRows = 40;
constexpr int Repeats = 200;
constexpr int ScanRuns = 5;

/// One row of the source: eight numbers and two texts. Id (the first number) ascends;
/// Code (the second) is unique and unordered.
struct TRow
{
    std::array<qint32, IntegerFields> Numbers;
    QString Name;
    QString City;
};

qint32 CodeOf(qint64 index, qint64 rows)
{
    // A permutation of 0..rows-1 that follows no order the dataset could use.
    return qint32((index * 7919 + 13) % rows);
}

std::vector<TRow> MakeRows(qint64 count)
{
    const QString cities[] = {QStringLiteral("Berlin"), QStringLiteral("Paris"), QStringLiteral("Oslo")};
    std::vector<TRow> rows(static_cast<std::size_t>(count));
    for (qint64 i = 0; i < count; ++i) {
        TRow& row = rows[std::size_t(i)];
        row.Numbers[0] = qint32(i);
        row.Numbers[1] = CodeOf(i, count);
        for (int n = 2; n < IntegerFields; ++n)
            row.Numbers[std::size_t(n)] = qint32(i % (n * 10));
        row.Name = QStringLiteral("Name%1").arg(i, 7, 10, QLatin1Char('0'));
        row.City = cities[i % 3];
    }
    return rows;
}

/// The descendant a list control would use: the rows stay where they are.
class TRowsData : public TOrvoDBCustomData
{
public:
    explicit TRowsData(const std::vector<TRow>& rows) : FRows(rows)
    {
        FieldDefs()->Add(QStringLiteral("Id"), ftInteger);
        FieldDefs()->Add(QStringLiteral("Code"), ftInteger);
        for (int n = 2; n < IntegerFields; ++n)
            FieldDefs()->Add(QStringLiteral("N%1").arg(n), ftInteger);
        FieldDefs()->Add(QStringLiteral("Name"), ftWideString, 20);
        FieldDefs()->Add(QStringLiteral("City"), ftWideString, 20);
    }

protected:
    void DoGetRecordCount(qint64& count) override { count = qint64(FRows.size()); }
    void InternalGetFieldValue(qint64 index, const TField* field, TVariant& value) override
    {
        const TRow& row = FRows[std::size_t(index)];
        const int column = field->FieldNo() - 1;
        if (column < IntegerFields)
            value = row.Numbers[std::size_t(column)];
        else
            value = column == IntegerFields ? row.Name : row.City;
    }
    QString SortedKeyFields() const override { return QStringLiteral("Id"); }

private:
    const std::vector<TRow>& FRows;
};

double ResidentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

void Check(bool condition, const char* failure)
{
    if (!condition)
        qFatal("%s", failure);
}

double Milliseconds(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

/// Reads every field of every record of the link's window, as a grid's paint would.
qint64 ReadWindow(TDataSet& data, TDataLink& link)
{
    qint64 characters = 0;
    const int active = link.ActiveRecord();
    for (int row = 0; row < link.RecordCount(); ++row) {
        link.SetActiveRecord(row);
        for (TField* field : data.Fields()->List())
            characters += field->AsString().size();
    }
    link.SetActiveRecord(active);
    return characters;
}

struct TFigures
{
    qint64 Rows = 0;
    double SourceMB = 0;
    double OpenMs = 0;
    double LastMs = 0;
    double JumpMs = 0;
    double SortedLocateMs = 0;
    double ScanLocateMs = 0;
    double PlainLoopMs = 0;
    double VariantLoopMs = 0;
    double DataSetMB = 0;
    qint64 ModelRows = 0;
    double ModelBuildMs = 0;
    double ModelMB = 0;
    double ModelFirstRowsMs = 0;
    double ModelMatchMs = 0;
    double VectorFirstRowsMs = 0;
    QString LoadAverage;
};

/// The first three figures of /proc/loadavg: how busy the machine was.
QString LoadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    return QString::fromLatin1(file.readAll()).split(QLatin1Char(' ')).mid(0, 3).join(QLatin1Char(' '));
}

void MeasureDataSet(TFigures& f)
{
    const double before = ResidentMegabytes();
    const std::vector<TRow> rows = MakeRows(f.Rows);
    f.SourceMB = ResidentMegabytes() - before;
    const double withSource = ResidentMegabytes();

    TRowsData data(rows);
    TDataSource source;
    source.SetDataSet(&data);
    TDataLink link;
    link.SetBufferCount(WindowRows);
    link.SetDataSource(&source);
    QElapsedTimer timer;
    timer.start();
    data.Open();
    ReadWindow(data, link);
    f.OpenMs = Milliseconds(timer);

    timer.restart();
    data.Last();
    ReadWindow(data, link);
    f.LastMs = Milliseconds(timer);

    QRandomGenerator random(42);
    timer.restart();
    for (int i = 0; i < Repeats; ++i)
        data.SetRecNo(1 + int(random.bounded(f.Rows)));
    f.JumpMs = Milliseconds(timer) / Repeats;

    timer.restart();
    int found = 0;
    for (int i = 0; i < Repeats; ++i)
        found += data.Locate(QStringLiteral("Id"), qint64(random.bounded(f.Rows)), {}) ? 1 : 0;
    f.SortedLocateMs = Milliseconds(timer) / Repeats;
    Check(found == Repeats, "a sorted locate missed");

    // The sought code sits on the last record: the whole source is read once. The three
    // scans take turns and each keeps its best of several runs, so that another process
    // taking the processor for a moment does not decide a ratio.
    const qint32 lastCode = CodeOf(f.Rows - 1, f.Rows);
    const TVariant key(lastCode);
    f.ScanLocateMs = f.PlainLoopMs = f.VariantLoopMs = std::numeric_limits<double>::max();
    for (int run = 0; run < ScanRuns; ++run) {
        data.First();
        timer.restart();
        const bool scanned = data.Locate(QStringLiteral("Code"), lastCode, {});
        f.ScanLocateMs = std::min(f.ScanLocateMs, Milliseconds(timer));
        Check(scanned && data.RecNo() == int(f.Rows), "the scanning locate missed");

        timer.restart();
        qint64 plainIndex = -1;
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i].Numbers[1] == lastCode) {
                plainIndex = qint64(i);
                break;
            }
        f.PlainLoopMs = std::min(f.PlainLoopMs, Milliseconds(timer));

        // The same loop as a generic caller writes it: each value as a variant, compared as one.
        timer.restart();
        qint64 variantIndex = -1;
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (TVariant::SameValue(TVariant(rows[i].Numbers[1]), key)) {
                variantIndex = qint64(i);
                break;
            }
        f.VariantLoopMs = std::min(f.VariantLoopMs, Milliseconds(timer));
        // Checked, so that the compiler cannot drop the loops as unused.
        Check(plainIndex == f.Rows - 1 && variantIndex == plainIndex, "a plain loop missed");
    }

    f.DataSetMB = ResidentMegabytes() - withSource;

    timer.restart();
    qint64 characters = 0;
    for (std::size_t i = 0; i < std::size_t(WindowRows); ++i) {
        for (qint32 number : rows[i].Numbers)
            characters += QString::number(number).size();
        characters += rows[i].Name.size() + rows[i].City.size();
    }
    f.VectorFirstRowsMs = Milliseconds(timer);
    Q_UNUSED(characters);
}

void MeasureModel(TFigures& f)
{
    const std::vector<TRow> rows = MakeRows(f.ModelRows);
    const double before = ResidentMegabytes();
    QElapsedTimer timer;
    timer.start();
    auto model = std::make_unique<QStandardItemModel>(int(f.ModelRows), FieldCount);
    for (int r = 0; r < int(f.ModelRows); ++r) {
        const TRow& row = rows[std::size_t(r)];
        for (int n = 0; n < IntegerFields; ++n)
            model->setItem(r, n, new QStandardItem(QString::number(row.Numbers[std::size_t(n)])));
        model->setItem(r, IntegerFields, new QStandardItem(row.Name));
        model->setItem(r, IntegerFields + 1, new QStandardItem(row.City));
    }
    f.ModelBuildMs = Milliseconds(timer);
    f.ModelMB = ResidentMegabytes() - before;

    timer.restart();
    qint64 characters = 0;
    for (int r = 0; r < WindowRows; ++r)
        for (int c = 0; c < FieldCount; ++c)
            characters += model->data(model->index(r, c)).toString().size();
    f.ModelFirstRowsMs = Milliseconds(timer);
    Q_UNUSED(characters);

    const QString lastCode = QString::number(CodeOf(f.ModelRows - 1, f.ModelRows));
    f.ModelMatchMs = std::numeric_limits<double>::max();
    for (int run = 0; run < ScanRuns; ++run) {
        timer.restart();
        const QModelIndexList hits =
            model->match(model->index(0, 1), Qt::DisplayRole, lastCode, 1, Qt::MatchExactly);
        f.ModelMatchMs = std::min(f.ModelMatchMs, Milliseconds(timer));
        Check(hits.size() == 1 && hits.first().row() == int(f.ModelRows) - 1, "the model's match missed");
    }
}

QString Number(double value, int decimals = 2)
{
    return QString::number(value, 'f', decimals);
}

QString Verdict(bool met)
{
    return met ? QStringLiteral("met") : QStringLiteral("**missed**");
}

QString Section(const TFigures& f)
{
    const double perMillion = 1e6 / double(f.Rows);
    const double modelPerRow = f.ModelMB * 1024 * 1024 / double(f.ModelRows);
    const double sourcePerRow = f.SourceMB * 1024 * 1024 / double(f.Rows);
    const double dataSetPerRow = std::max(0.0, f.DataSetMB) * 1024 * 1024 / double(f.Rows);
    const double scanPerRowNs = f.ScanLocateMs * 1e6 / double(f.Rows);
    const double modelScanPerRowNs = f.ModelMatchMs * 1e6 / double(f.ModelRows);
    QString text;
    QTextStream out(&text);
    out << TBenchPageSection::CustomData().BeginMarker() << "\n\n"
        << "# Performance: the dataset over an indexed source\n\n"
        << "Measured on " << QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd HH:mm"))
        << " (UTC) by `benchmarks/run-customdata.sh`; load average before the run " << f.LoadAverage
        << ".\n\n"
        << "- Source: a `std::vector` of " << f.Rows << " rows of 10 fields (8 × 32-bit integer, 2 × text), "
        << Number(f.SourceMB, 1) << " MB; the dataset is a `TOrvoDBCustomData` descendant over it that says "
        << "its rows ascend by `Id`, seen through a link with a window of " << WindowRows << " records.\n"
        << "- `QStandardItemModel` holds its own copy of the rows, so it is measured at " << f.ModelRows
        << " rows (a million rows of ten items would need several gigabytes); its figures per row are "
        << "scaled to compare.\n"
        << "- One process, the variants one after the other; jumps and sorted locates are the mean of "
        << Repeats << ", every full scan (the dataset\'s, the loops\', the model\'s `match`) the best of "
        << ScanRuns << ".\n\n"
        << "| measure | dataset | plain vector | QStandardItemModel | ratio |\n"
        << "|---|---:|---:|---:|---|\n"
        << "| open and read the first 40 records, ms | " << Number(f.OpenMs) << " | "
        << Number(f.VectorFirstRowsMs, 3) << " | " << Number(f.ModelFirstRowsMs, 3)
        << " (after building it in " << Number(f.ModelBuildMs, 0) << " ms) | target under 20 ms |\n"
        << "| Last and read the window, ms | " << Number(f.LastMs) << " | | | target under 1 ms |\n"
        << "| `RecNo` jump to a random record, ms | " << Number(f.JumpMs, 3) << " | | | target under 1 ms |\n"
        << "| `Locate` on the sorted key, ms | " << Number(f.SortedLocateMs, 3)
        << " | | | target under 1 ms |\n"
        << "| `Locate` that scans every record, ms | " << Number(f.ScanLocateMs) << " | "
        << Number(f.PlainLoopMs) << " (int compare), " << Number(f.VariantLoopMs) << " (variant compare) | "
        << Number(modelScanPerRowNs * double(f.Rows) / 1e6) << " (`match`, scaled) | "
        << Number(f.ScanLocateMs / f.PlainLoopMs, 1) << "x the int loop, "
        << Number(f.ScanLocateMs / f.VariantLoopMs, 1) << "x the variant loop; target within 3x |\n"
        << "| per record scanned, ns | " << Number(scanPerRowNs, 1) << " | "
        << Number(f.PlainLoopMs * perMillion, 1) << ", " << Number(f.VariantLoopMs * perMillion, 1) << " | "
        << Number(modelScanPerRowNs, 1) << " | the model is " << Number(modelScanPerRowNs / scanPerRowNs, 1)
        << "x slower |\n"
        << "| memory per row, bytes | " << Number(dataSetPerRow, 2) << " of its own | "
        << Number(sourcePerRow, 0) << " (the source) | " << Number(modelPerRow, 0) << " | the model "
        << Number(modelPerRow / sourcePerRow, 1) << "x the source |\n\n"
        << "Against the targets, in this run:\n\n"
        << "- open and the first 40 records under 20 ms: " << Verdict(f.OpenMs < 20) << ";\n"
        << "- Last, a `RecNo` jump and a `Locate` on the sorted key each under 1 ms: "
        << Verdict(f.LastMs < 1 && f.JumpMs < 1 && f.SortedLocateMs < 1) << ";\n"
        << "- a `Locate` that must scan within 3x a plain loop: "
        << Verdict(f.ScanLocateMs <= 3 * f.VariantLoopMs)
        << " against the loop that compares each value as a variant, "
        << Verdict(f.ScanLocateMs <= 3 * f.PlainLoopMs)
        << " against the loop that compares the `int`s themselves. The dataset reads every value through the "
        << "descendant's virtual hook, which hands it over as a `TVariant`, and compares it as one: "
        << Number(scanPerRowNs, 0) << " ns a record, where the bare loop costs "
        << Number(f.PlainLoopMs * perMillion, 0) << " ns, the time to bring each row into the cache. "
        << "On a machine shared with other builds, full scans vary by up to 3x from run to run;\n"
        << "- memory of the dataset's own a few bytes a record at most: " << Verdict(dataSetPerRow < 8)
        << " (it keeps no state per record; what is counted is the noise of the resident size).\n\n"
        << "How to run it again: `benchmarks/run-customdata.sh` (`ORVO_BUILD_DIR`, `ORVO_BENCH_ROWS` for the "
        << "rows, `ORVO_BENCH_MODEL_ROWS` for the model's).\n\n"
        << TBenchPageSection::CustomData().EndMarker() << "\n";
    return text;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption rows(QStringLiteral("rows"), QStringLiteral("Rows of the source."),
                                  QStringLiteral("N"), QStringLiteral("1000000"));
    const QCommandLineOption modelRows(QStringLiteral("model-rows"), QStringLiteral("Rows of the model."),
                                       QStringLiteral("N"), QStringLiteral("100000"));
    const QCommandLineOption report(
        QStringLiteral("report"), QStringLiteral("Page to write the section into."), QStringLiteral("FILE"));
    parser.addOptions({rows, modelRows, report});
    parser.process(app);

    TFigures figures;
    figures.LoadAverage = LoadAverage();
    figures.Rows = std::max<qint64>(WindowRows, parser.value(rows).toLongLong());
    figures.ModelRows = std::max<qint64>(WindowRows, parser.value(modelRows).toLongLong());
    MeasureDataSet(figures);
    MeasureModel(figures);
    const QString section = Section(figures);
    if (!parser.isSet(report)) {
        QTextStream(stdout) << section;
        return 0;
    }
    const QString page = parser.value(report);
    TBenchPageSection::WritePage(
        page, TBenchPageSection::CustomData().Merge(TBenchPageSection::ReadPage(page), section));
    return 0;
}
