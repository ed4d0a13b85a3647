#include "tgridbenchrunner.h"

#include "tbenchpaintcounter.h"
#include "torvogridbenchview.h"
#include "tqtablebenchview.h"

#include "platform/core/exceptions.h"
#include "platform/sqlite/tsqlitedatabase.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QRegularExpression>

#include <algorithm>
#include <random>

namespace orvo {

namespace {

qint64 PeakMemoryKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression peak(QStringLiteral("^VmHWM:\\s*(\\d+)\\s*kB"),
                                         QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = peak.match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toLongLong() : -1;
}

int CountRows(const QString& fileName)
{
    TSQLiteDatabase db;
    db.SetDatabaseName(fileName);
    db.SetReadOnly(true);
    db.Open();
    return int(db.ExecScalar(QStringLiteral("SELECT count(*) FROM %1")
                                 .arg(TSQLiteDatabase::QuoteIdentifier(TGridBenchView::TableName())))
                   .AsInteger());
}

double ElapsedMs(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1.0e6;
}

/// Lets the view finish what a move posted (deferred layouts, scroll updates) and
/// then paints every visible cell, returning the time of that paint alone.
double SettleAndRepaint(TGridBenchView& view)
{
    QCoreApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    view.View()->viewport()->repaint();
    return ElapsedMs(timer);
}

void CheckArrived(const TGridBenchView& view, int recNo, const QString& step)
{
    if (view.CurrentRecNo() != recNo)
        throw Exception(QStringLiteral("%1 ended on record %2 instead of %3")
                            .arg(step)
                            .arg(view.CurrentRecNo())
                            .arg(recNo));
}

} // namespace

QStringList TGridBenchRunner::VariantNames()
{
    return {QStringLiteral("empty"), QStringLiteral("orvo-table"), QStringLiteral("orvo-query"),
            QStringLiteral("qtableview")};
}

QString TGridBenchRunner::VariantTitle(const QString& name)
{
    if (name == QLatin1String("orvo-table"))
        return QStringLiteral("TOrvoDBGrid over TSQLiteTable");
    if (name == QLatin1String("orvo-query"))
        return QStringLiteral("TOrvoDBGrid over TSQLiteQuery (SELECT *)");
    if (name == QLatin1String("qtableview"))
        return QStringLiteral("QTableView over QSqlQueryModel (QSQLITE)");
    return QStringLiteral("empty process");
}

std::unique_ptr<TGridBenchView> TGridBenchRunner::CreateView(const QString& variant, const QString& fileName)
{
    if (variant == QLatin1String("orvo-table"))
        return std::make_unique<TOrvoGridBenchView>(fileName, TOrvoGridBenchView::sTable);
    if (variant == QLatin1String("orvo-query"))
        return std::make_unique<TOrvoGridBenchView>(fileName, TOrvoGridBenchView::sQuery);
    if (variant == QLatin1String("qtableview"))
        return std::make_unique<TQTableBenchView>(fileName);
    throw Exception(QStringLiteral("Unknown variant '%1'").arg(variant));
}

QMap<QString, double> TGridBenchRunner::Run(const QString& variant, const QString& fileName)
{
    QMap<QString, double> figures;
    if (variant == QLatin1String("empty")) {
        figures[QStringLiteral("mem_kb")] = double(PeakMemoryKb());
        return figures;
    }
    // Counted before the view exists, so that neither the count nor its memory is measured.
    const int rowCount = CountRows(fileName);
    std::unique_ptr<TGridBenchView> view = CreateView(variant, fileName);
    figures[QStringLiteral("open_paint_ms")] = OpenToFirstPaint(*view);
    // Ctrl+End comes straight after the first screen, before any jump has fetched rows.
    figures[QStringLiteral("last_ms")] = LastWithPaint(*view, rowCount);
    figures[QStringLiteral("mem_kb")] = double(PeakMemoryKb());
    MeasureJumps(*view, rowCount, figures);
    MeasureKeyRepeat(*view, rowCount, figures);
    return figures;
}

double TGridBenchRunner::OpenToFirstPaint(TGridBenchView& view)
{
    QElapsedTimer timer;
    timer.start();
    view.Open();
    QAbstractScrollArea* area = view.View();
    TBenchPaintCounter counter;
    area->viewport()->installEventFilter(&counter);
    area->resize(Width, Height);
    area->show();
    while (counter.Paints == 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (timer.elapsed() > 120000)
            throw Exception(QStringLiteral("The view did not paint within two minutes"));
    }
    const double elapsed = ElapsedMs(timer);
    area->viewport()->removeEventFilter(&counter);
    return elapsed;
}

void TGridBenchRunner::MeasureJumps(TGridBenchView& view, int rowCount, QMap<QString, double>& figures)
{
    // The same records for every variant and every run.
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> records(1, rowCount);
    double jumping = 0;
    double painting = 0;
    for (int i = 0; i < Jumps; ++i) {
        const int recNo = records(random);
        QElapsedTimer timer;
        timer.start();
        view.JumpTo(recNo);
        jumping += ElapsedMs(timer);
        painting += SettleAndRepaint(view);
        CheckArrived(view, recNo, QStringLiteral("A jump"));
    }
    figures[QStringLiteral("jump_ms")] = jumping / Jumps;
    figures[QStringLiteral("repaint_ms")] = painting / Jumps;
}

void TGridBenchRunner::MeasureKeyRepeat(TGridBenchView& view, int rowCount, QMap<QString, double>& figures)
{
    // From the middle of the table, where neither end helps: each press is a real key
    // event to the focused view, then the paint the user waits for before the next repeat.
    const int start = rowCount / 2;
    view.JumpTo(start);
    SettleAndRepaint(view);
    QWidget* target = view.View();
    target->setFocus();
    double total = 0;
    double slowest = 0;
    for (int i = 0; i < Steps; ++i) {
        QElapsedTimer timer;
        timer.start();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
        QApplication::sendEvent(target, &release);
        QCoreApplication::processEvents();
        view.View()->viewport()->repaint();
        const double elapsed = ElapsedMs(timer);
        total += elapsed;
        slowest = std::max(slowest, elapsed);
    }
    CheckArrived(view, start + Steps, QStringLiteral("Holding Down"));
    figures[QStringLiteral("step_ms")] = total / Steps;
    figures[QStringLiteral("step_max_ms")] = slowest;
}

double TGridBenchRunner::LastWithPaint(TGridBenchView& view, int rowCount)
{
    QElapsedTimer timer;
    timer.start();
    view.GoToLast();
    QCoreApplication::processEvents();
    view.View()->viewport()->repaint();
    const double elapsed = ElapsedMs(timer);
    CheckArrived(view, rowCount, QStringLiteral("Ctrl+End"));
    return elapsed;
}

} // namespace orvo
