#pragma once

#include "grid/columns/columnenums.h"
#include "platform/data/tfield.h"

#include <QFontMetrics>
#include <QList>
#include <QRect>
#include <QString>

namespace orvo {

class TCanvas;

/// Lays out and draws the text of a grid cell (data, title, header and total cells
/// alike): the lines that fit the cell's height, word wrap at spaces, an end
/// ellipsis, horizontal and vertical alignment, and the first occurrence of a search
/// text for highlighting.
class TOrvoTextLayout
{
public:
    struct TParams
    {
        int Margin = 2;
        TAlignment Alignment = taLeftJustify;
        TVAlignment VAlignment = tvTopJustify;
        bool WordWrap = false;
        bool Ellipsis = false;
        /// The text reads right to left of its own accord; otherwise a right-to-left
        /// canvas mirrors the alignment.
        bool RightToLeft = false;
        QString SearchText;
        bool CaseSensitive = false;
        bool WholeWords = false;
    };

    struct TLine
    {
        QString Text;
        QPoint Pos;
    };

    struct TResult
    {
        QList<TLine> Lines;
        QString MatchText;
        QRect MatchRect;
        bool HasMatch() const { return !MatchRect.isNull(); }
    };

    /// Breaks `text` into lines no wider than `width` where it can, by replacing the
    /// last space that fits with a carriage return; a word wider than `width` keeps a
    /// line of its own and a line without spaces is never broken. Only the first
    /// `maxBreaks` breaks are made (negative: no limit). Linear in the text's length.
    static QString WrapText(const QFontMetrics& metrics, const QString& text, int width, int maxBreaks = -1);
    /// The lines of `text` as `rect` shows them, with their positions and the search
    /// match; `mirrored` is the canvas's right-to-left orientation.
    static TResult Layout(const QFontMetrics& metrics, const QRect& rect, const QString& text,
                          const TParams& params, bool mirrored = false);
    /// Lays out and draws with the canvas font and font colour, filling `rect` with the
    /// brush first unless the brush is clear.
    static TResult Draw(TCanvas& canvas, const QRect& rect, const QString& text, const TParams& params);

private:
    static QString CutWithEllipsis(const QFontMetrics& metrics, const QString& line, int width);
    static int FindMatch(const QString& line, const TParams& params);
};

} // namespace orvo
