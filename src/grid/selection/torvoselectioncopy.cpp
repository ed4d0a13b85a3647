#include "grid/selection/torvoselectioncopy.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvocolumntitle.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/selection/torvogridselection.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QProgressDialog>

#include <algorithm>
#include <climits>

namespace orvo {

namespace {

bool IsLineBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::LineSeparator ||
           c == QChar::ParagraphSeparator;
}

} // namespace

TOrvoSelectionCopy::TOrvoSelectionCopy(bool withTitles) : FWithTitles(withTitles) {}

void TOrvoSelectionCopy::AddCell(TOrvoColumn* column, int flags)
{
    if (flags & TOrvoGridSelection::cfFirstColumn) {
        if (flags & TOrvoGridSelection::cfFirstRecord)
            FRowCounter = 0;
        FTitleCells.clear();
        FDataCells.clear();
        ++FRowCounter;
    }
    if (column->Visible() && (column->Field() || column->AutoNumber())) {
        if (FRowCounter == 1 && FWithTitles)
            FTitleCells << column->Title()->Caption();
        if (column->AutoNumber())
            FDataCells << (FRowCounter < 1 ? QString() : QStringLiteral("%1.").arg(FRowCounter));
        else
            FDataCells << column->EditText();
    }
    if (flags & TOrvoGridSelection::cfLastColumn)
        EndRow();
}

void TOrvoSelectionCopy::EndRow()
{
    // A record none of whose columns shows adds nothing: an empty line would paste as a
    // record of its own.
    if (FDataCells.isEmpty())
        return;
    const auto addLine = [this](const QStringList& cells, const QString& tag) {
        for (qsizetype i = 0; i < cells.size(); ++i) {
            if (i > 0)
                FPlain += QLatin1Char('\t');
            FPlain += PlainCellText(cells[i]);
        }
        FPlain += QLatin1Char('\n');
        FHtml += QLatin1String("<tr>");
        for (const QString& cell : cells)
            FHtml += QLatin1Char('<') + tag + QLatin1Char('>') + HtmlCellText(cell) + QLatin1String("</") +
                     tag + QLatin1Char('>');
        FHtml += QLatin1String("</tr>\n");
        ++FLines;
    };
    if (FRowCounter == 1 && FWithTitles)
        addLine(FTitleCells, QStringLiteral("th"));
    addLine(FDataCells, QStringLiteral("td"));
}

QString TOrvoSelectionCopy::Html() const
{
    return QLatin1String("<html><head><meta charset=\"utf-8\"></head><body><table>\n") + FHtml +
           QLatin1String("</table></body></html>\n");
}

void TOrvoSelectionCopy::PutOnClipboard() const
{
    auto* data = new QMimeData;
    data->setText(FPlain);
    data->setHtml(Html());
    QGuiApplication::clipboard()->setMimeData(data);
}

QString TOrvoSelectionCopy::PlainCellText(const QString& text)
{
    // Tabs and line breaks separate cells and records: inside a cell they would move the
    // rest of the record into other cells or another row when pasted.
    const auto separator = [](QChar c) { return c == QLatin1Char('\t') || IsLineBreak(c); };
    if (std::none_of(text.cbegin(), text.cend(), separator))
        return text;
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!separator(c)) {
            plain += c;
            continue;
        }
        plain += QLatin1Char(' ');
        // A CR LF pair is one line break.
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
    }
    return plain;
}

QString TOrvoSelectionCopy::HtmlCellText(const QString& text)
{
    QString html = text.toHtmlEscaped();
    html.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    html.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    html.replace(QChar::LineSeparator, QLatin1Char('\n'));
    html.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    html.replace(QLatin1Char('\n'), QLatin1String("<br>"));
    return html;
}

// --- Progress --------------------------------------------------------------------------------------

TCopyProgress::TCopyProgress(TOrvoCustomDBGrid& grid, qint64 total) : FGrid(grid)
{
    FClock.start();
    // Events are processed only in walks of more than one round; the picture must be
    // taken before the walk moves the dataset away from the rows on screen.
    if (total > RecordsPerRound && grid.isVisible()) {
        FSnapshot = std::make_unique<QLabel>(&grid);
        FSnapshot->setPixmap(grid.grab());
        FSnapshot->setGeometry(grid.rect());
    }
}

TCopyProgress::~TCopyProgress() = default;

QString& TCopyProgress::Caption()
{
    static QString caption = QStringLiteral("Copying to the clipboard...");
    return caption;
}

std::function<void(QProgressDialog*)>& TCopyProgress::RoundHook()
{
    static std::function<void(QProgressDialog*)> hook;
    return hook;
}

bool TCopyProgress::Step(qint64 done, qint64 total)
{
    if (done == 0 || done % RecordsPerRound != 0)
        return true;
    ShowSnapshot();
    if (!FDialog && FClock.elapsed() >= ShowAfterMilliseconds) {
        FDialog = std::make_unique<QProgressDialog>(Caption(), QStringLiteral("Cancel"), 0,
                                                    int(std::min<qint64>(total, INT_MAX)), &FGrid);
        FDialog->setWindowModality(Qt::WindowModal);
        FDialog->setMinimumDuration(0);
        FDialog->setAutoClose(false);
        FDialog->setAutoReset(false);
        // Esc rejects the dialog, which must count as pressing Cancel.
        QObject::connect(FDialog.get(), &QDialog::rejected, FDialog.get(), &QProgressDialog::cancel);
        FDialog->show();
    }
    if (FDialog)
        FDialog->setValue(int(std::min<qint64>(done, INT_MAX)));
    // Until the modal dialog stands in front of the grid, input must wait: a click could
    // change the selection or the dataset under the walk.
    QCoreApplication::processEvents(FDialog ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    if (RoundHook())
        RoundHook()(FDialog.get());
    return !(FDialog && FDialog->wasCanceled());
}

void TCopyProgress::ShowSnapshot()
{
    if (FSnapshot && FSnapshot->isHidden()) {
        FSnapshot->raise();
        FSnapshot->show();
    }
}

} // namespace orvo
