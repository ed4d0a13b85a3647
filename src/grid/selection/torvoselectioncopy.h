#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class QLabel;
class QProgressDialog;

namespace orvo {

class TOrvoColumn;
class TOrvoCustomDBGrid;

/// The text of a copied selection, built cell by cell as the grid walks it: one line
/// per record with the cells separated by tabs (and a title line first on request),
/// and beside it an HTML table of the same cells. Plain text has no way to hold a tab
/// or a line break inside a cell, so both become blanks there; the table keeps a
/// cell's line breaks.
class TOrvoSelectionCopy
{
public:
    /// `expectedRecords`: how many records the walk will hand over, to size the text once.
    TOrvoSelectionCopy(bool withTitles, qint64 expectedRecords);

    /// Takes the cell of `column` in the current record; `flags` are the cell walk's
    /// (TOrvoGridSelection::TCellFlag).
    void AddCell(TOrvoColumn* column, int flags);
    bool IsEmpty() const { return FLines == 0; }
    /// Closes the table and puts both texts on the clipboard; once, at the end.
    void PutOnClipboard();

    /// `text` as a cell of the plain text: tabs and line breaks become blanks.
    static void AppendPlainText(QString& out, const QString& text);
    /// `text` as the content of a table cell: escaped, line breaks kept as <br>.
    static void AppendHtmlText(QString& out, const QString& text);

private:
    /// One line of cells in both forms.
    struct TLine
    {
        QString Plain;
        QString Html;
    };

    void AppendCell(TLine& line, const QString& text, QLatin1String tag) const;
    void EndRow();

    bool FWithTitles;
    qint64 FExpectedRecords;
    int FRowCounter = 0;
    int FRowCells = 0;
    int FLines = 0;
    TLine FTitles;
    TLine FRow;
    QString FPlain;
    QString FHtml;
};

/// Keeps the window alive while a long copy walks the dataset on the GUI thread: it
/// processes events every few thousand records, shows a progress dialog once the copy
/// has taken half a second, and reports Esc or Cancel there. While the walk moves the
/// dataset, the grid shows a picture of itself taken before the walk, so that a
/// repaint does not show the records the walk passes through.
class TCopyProgress
{
public:
    /// Records between two rounds of event processing.
    static constexpr qint64 RecordsPerRound = 2048;
    /// How long a copy runs before its progress shows.
    static constexpr qint64 ShowAfterMilliseconds = 500;

    TCopyProgress(TOrvoCustomDBGrid& grid, qint64 total);
    ~TCopyProgress();
    TCopyProgress(const TCopyProgress&) = delete;
    TCopyProgress& operator=(const TCopyProgress&) = delete;

    /// Called before record `done` of `total`; false once the copy was cancelled.
    bool Step(qint64 done, qint64 total);

    /// The caption of the progress dialog; a program may translate it.
    static QString& Caption();
    /// Called after each round of event processing with the dialog, or null while it
    /// is not shown yet: lets tests watch the progress and cancel it.
    static std::function<void(QProgressDialog* dialog)>& RoundHook();

private:
    void ShowSnapshot();

    TOrvoCustomDBGrid& FGrid;
    QElapsedTimer FClock;
    std::unique_ptr<QProgressDialog> FDialog;
    std::unique_ptr<QLabel> FSnapshot;
};

} // namespace orvo
