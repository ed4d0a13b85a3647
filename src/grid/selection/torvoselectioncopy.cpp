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

TOrvoSelectionCopy::TOrvoSelectionCopy(bool withTitles, qint64 expectedRecords)
    : FWithTitles(withTitles), FExpectedRecords(expectedRecords),
      FHtml(QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body><table>\n"))
{}

void TOrvoSelectionCopy::AddCell(TOrvoColumn* column, int flags)
{
    if (flags & TOrvoGridSelection::cfFirstColumn) {
        if (flags & TOrvoGridSelection::cfFirstRecord)
            FRowCounter = 0;
        // Emptied, not freed: the next row needs about as much room.
        FRow.Plain.resize(0);
        FRow.Html.resize(0);
        FTitles.Plain.resize(0);
        FTitles.Html.resize(0);
        FRowCells = 0;
        ++FRowCounter;
    }
    if (column->Visible() && (column->Field() || column->AutoNumber())) {
        if (FRowCounter == 1 && FWithTitles)
            AppendCell(FTitles, column->Title()->Caption(), QLatin1String("th"));
        if (column->AutoNumber())
            AppendCell(FRow, FRowCounter < 1 ? QString() : QStringLiteral("%1.").arg(FRowCounter),
                       QLatin1String("td"));
        else
            AppendCell(FRow, column->EditText(), QLatin1String("td"));
        ++FRowCells;
    }
    if (flags & TOrvoGridSelection::cfLastColumn)
        EndRow();
}

void TOrvoSelectionCopy::AppendCell(TLine& line, const QString& text, QLatin1String tag) const
{
    if (FRowCells > 0)
        line.Plain += QLatin1Char('\t');
    AppendPlainText(line.Plain, text);
    line.Html += QLatin1Char('<');
    line.Html += tag;
    line.Html += QLatin1Char('>');
    AppendHtmlText(line.Html, text);
    line.Html += QLatin1String("</");
    line.Html += tag;
    line.Html += QLatin1Char('>');
}

void TOrvoSelectionCopy::EndRow()
{
    // A record none of whose columns shows adds nothing: an empty line would paste as a
    // record of its own.
    if (FRowCells == 0)
        return;
    const auto addLine = [this](const TLine& line) {
        FPlain += line.Plain;
        FPlain += QLatin1Char('\n');
        FHtml += QLatin1String("<tr>");
        FHtml += line.Html;
        FHtml += QLatin1String("</tr>\n");
        ++FLines;
    };
    if (FRowCounter == 1 && FWithTitles)
        addLine(FTitles);
    addLine(FRow);
    // One row tells how much room the others take: growing the text step by step would
    // copy it over and over.
    if (FRowCounter == 1 && FExpectedRecords > 1) {
        const qint64 records = std::min<qint64>(FExpectedRecords, 1 << 20);
        FPlain.reserve(qsizetype(FPlain.size() + (FRow.Plain.size() + 1) * records * 9 / 8));
        FHtml.reserve(qsizetype(FHtml.size() + (FRow.Html.size() + 10) * records * 9 / 8));
    }
}

void TOrvoSelectionCopy::PutOnClipboard()
{
    // The table is closed where it stands: a copy of megabytes of text costs more than
    // building it did.
    FHtml += QLatin1String("</table></body></html>\n");
    auto* data = new QMimeData;
    data->setText(FPlain);
    data->setHtml(FHtml);
    QGuiApplication::clipboard()->setMimeData(data);
}

void TOrvoSelectionCopy::AppendPlainText(QString& out, const QString& text)
{
    // Tabs and line breaks separate cells and records: inside a cell they would move the
    // rest of the record into other cells or another row when pasted.
    const auto separator = [](QChar c) { return c == QLatin1Char('\t') || IsLineBreak(c); };
    if (std::none_of(text.cbegin(), text.cend(), separator)) {
        out += text;
        return;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!separator(c)) {
            out += c;
            continue;
        }
        out += QLatin1Char(' ');
        // A CR LF pair is one line break.
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
    }
}

void TOrvoSelectionCopy::AppendHtmlText(QString& out, const QString& text)
{
    const auto special = [](QChar c) {
        return c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char('&') ||
               c == QLatin1Char('"') || IsLineBreak(c);
    };
    if (std::none_of(text.cbegin(), text.cend(), special)) {
        out += text;
        return;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('<'))
            out += QLatin1String("&lt;");
        else if (c == QLatin1Char('>'))
            out += QLatin1String("&gt;");
        else if (c == QLatin1Char('&'))
            out += QLatin1String("&amp;");
        else if (c == QLatin1Char('"'))
            out += QLatin1String("&quot;");
        else if (!IsLineBreak(c))
            out += c;
        else {
            // A cell keeps its line breaks in the table; a CR LF pair is one.
            out += QLatin1String("<br>");
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
        }
    }
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
