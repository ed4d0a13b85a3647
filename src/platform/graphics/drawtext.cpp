#include "platform/graphics/drawtext.h"

#include "platform/graphics/graphicsenums.h"
#include "platform/graphics/tcanvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRect>
#include <QStringList>

#include <algorithm>

namespace orvo {

namespace {

struct TPreparedText
{
    QString Text;
    int Mnemonic = -1; // index of the underlined character, -1 for none
};

// "&x" underlines x and "&&" stands for "&".
TPreparedText stripPrefixes(const QString& text)
{
    TPreparedText result;
    result.Text.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != u'&' && result.Mnemonic < 0)
                result.Mnemonic = int(result.Text.size());
        }
        result.Text.append(text[i]);
    }
    return result;
}

QStringList splitParagraphs(const QString& text)
{
    QString normalized = text;
    normalized.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normalized.replace(u'\r', u'\n');
    return normalized.split(u'\n');
}

// Lays one paragraph out in lines no wider than `width`. Each word is measured
// once, so the cost grows with the text, not with the text times the line length.
void wrapParagraph(const QString& paragraph, const QFontMetrics& metrics, int width, QStringList& lines)
{
    QString line;
    int lineWidth = 0;
    qsizetype pos = 0;
    const qsizetype size = paragraph.size();
    while (pos < size) {
        qsizetype wordEnd = pos;
        while (wordEnd < size && !paragraph[wordEnd].isSpace())
            ++wordEnd;
        qsizetype spaceEnd = wordEnd;
        while (spaceEnd < size && paragraph[spaceEnd].isSpace())
            ++spaceEnd;
        const QString word = paragraph.mid(pos, wordEnd - pos);
        const QString spaces = paragraph.mid(wordEnd, spaceEnd - wordEnd);
        const int wordWidth = metrics.horizontalAdvance(word);
        if (!line.isEmpty() && lineWidth + wordWidth > width) {
            lines.append(line);
            line.clear();
            lineWidth = 0;
        }
        line += word;
        lineWidth += wordWidth;
        if (!spaces.isEmpty()) {
            line += spaces;
            lineWidth += metrics.horizontalAdvance(spaces);
        }
        pos = spaceEnd;
    }
    lines.append(line);
}

QString withoutTrailingSpaces(const QString& line)
{
    qsizetype end = line.size();
    while (end > 0 && line[end - 1].isSpace())
        --end;
    return line.left(end);
}

QStringList layoutLines(const QString& text, unsigned format, const QFontMetrics& metrics, int width)
{
    if (format & DT_SINGLELINE) {
        QString single = text;
        single.replace(u'\r', u' ').replace(u'\n', u' ');
        return {single};
    }
    const QStringList paragraphs = splitParagraphs(text);
    if (!(format & DT_WORDBREAK))
        return paragraphs;
    QStringList lines;
    for (const QString& paragraph : paragraphs)
        wrapParagraph(paragraph, metrics, width, lines);
    for (QString& line : lines)
        line = withoutTrailingSpaces(line);
    return lines;
}

// The longest start of `line` that fits with "..." after it, found by halving, so that
// a long line costs a few measurements rather than one per character.
QString elideEnd(const QString& line, const QFontMetrics& metrics, int width)
{
    static const QString dots = QStringLiteral("...");
    const int room = width - metrics.horizontalAdvance(dots);
    qsizetype low = 0, high = line.size();
    while (low < high) {
        const qsizetype mid = (low + high + 1) / 2;
        if (metrics.horizontalAdvance(line.left(mid)) <= room)
            low = mid;
        else
            high = mid - 1;
    }
    return withoutTrailingSpaces(line.left(low)) + dots;
}

int alignedX(const QRect& area, int lineWidth, unsigned format)
{
    if (format & DT_CENTER)
        return area.x() + (area.width() - lineWidth) / 2;
    if (format & DT_RIGHT)
        return area.x() + area.width() - lineWidth;
    return area.x();
}

int firstLineY(const QRect& area, int lineHeight, unsigned format)
{
    // As on the classic platform, vertical alignment applies to single lines only.
    if (!(format & DT_SINGLELINE))
        return area.y();
    if (format & DT_VCENTER)
        return area.y() + (area.height() - lineHeight) / 2;
    if (format & DT_BOTTOM)
        return area.y() + area.height() - lineHeight;
    return area.y();
}

// Cuts the lines to what the rectangle shows: the last visible line takes the rest
// of the text and ends in "..." when more lines follow.
QStringList fitLines(QStringList lines, unsigned format, int lineHeight, int height)
{
    if (!(format & DT_END_ELLIPSIS) || !(format & DT_WORDBREAK) || lineHeight <= 0)
        return lines;
    const int visible = std::max(1, height / lineHeight);
    if (lines.size() <= visible)
        return lines;
    QString last = lines.mid(visible - 1).join(u' ');
    lines = lines.mid(0, visible - 1);
    lines.append(last);
    return lines;
}

void calcRect(QRect& rect, const QStringList& lines, unsigned format, const QFontMetrics& metrics)
{
    int widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const int height = int(lines.size()) * metrics.height();
    if (format & DT_WORDBREAK && !(format & DT_SINGLELINE))
        rect.setWidth(std::max(rect.width(), widest));
    else
        rect.setWidth(widest);
    rect.setHeight(height);
}

void drawMnemonic(QPainter& painter, const QFontMetrics& metrics, const QString& line, int index,
                  QPoint origin)
{
    if (index < 0 || index >= line.size())
        return;
    const int x = origin.x() + metrics.horizontalAdvance(line.left(index));
    const int width = metrics.horizontalAdvance(line.mid(index, 1));
    const int y = origin.y() + metrics.ascent() + 1;
    painter.fillRect(QRect(x, y, width, 1), painter.pen().color());
}

struct TTextLayout
{
    QStringList Lines;
    int Mnemonic = -1;
};

TTextLayout layoutText(const QFontMetrics& metrics, const QString& text, const QRect& area, unsigned format)
{
    const TPreparedText prepared = (format & DT_NOPREFIX) ? TPreparedText{text, -1} : stripPrefixes(text);
    TTextLayout layout;
    layout.Mnemonic = prepared.Mnemonic;
    layout.Lines = layoutLines(prepared.Text, format, metrics, std::max(0, area.width()));
    if (format & DT_CALCRECT)
        return layout;
    layout.Lines = fitLines(layout.Lines, format, metrics.height(), area.height());
    if (format & DT_END_ELLIPSIS)
        for (QString& line : layout.Lines)
            if (metrics.horizontalAdvance(line) > area.width())
                line = elideEnd(line, metrics, area.width());
    return layout;
}

} // namespace

int DrawText(TCanvas& canvas, const QString& text, QRect& rect, unsigned format)
{
    return DrawTextEx(canvas, text, rect, format, nullptr);
}

QStringList DrawTextLines(const TCanvas& canvas, const QString& text, const QRect& rect, unsigned format)
{
    const QFontMetrics metrics(canvas.Font().ToQFont());
    return layoutText(metrics, text, rect, format & ~DT_CALCRECT).Lines;
}

int DrawTextEx(TCanvas& canvas, const QString& text, QRect& rect, unsigned format, TDrawTextParams* params)
{
    const QFontMetrics metrics(canvas.Font().ToQFont());
    const int lineHeight = metrics.height();
    const int leftMargin = params ? params->iLeftMargin : 0;
    const int rightMargin = params ? params->iRightMargin : 0;
    QRect area = rect.adjusted(leftMargin, 0, -rightMargin, 0);
    const TTextLayout layout = layoutText(metrics, text, area, format);
    if (params)
        params->uiLengthDrawn = int(text.size());
    if (format & DT_CALCRECT) {
        calcRect(area, layout.Lines, format, metrics);
        rect = area.adjusted(-leftMargin, 0, rightMargin, 0);
        return area.height();
    }
    QPainter* painter = canvas.Handle();
    if (!painter)
        return int(layout.Lines.size()) * lineHeight;

    painter->save();
    if (!(format & DT_NOCLIP))
        painter->setClipRect(area, painter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    painter->setFont(canvas.Font().ToQFont());
    painter->setPen(canvas.ToQColor(canvas.Font().Color()));
    const bool rtl = (format & DT_RTLREADING) || canvas.RightToLeft();
    painter->setLayoutDirection(rtl ? Qt::RightToLeft : Qt::LeftToRight);
    int y = firstLineY(area, lineHeight, format);
    for (const QString& line : layout.Lines) {
        const QPoint origin(alignedX(area, metrics.horizontalAdvance(line), format), y);
        painter->drawText(QPoint(origin.x(), origin.y() + metrics.ascent()), line);
        if (layout.Lines.size() == 1)
            drawMnemonic(*painter, metrics, line, layout.Mnemonic, origin);
        y += lineHeight;
    }
    painter->restore();
    return int(layout.Lines.size()) * lineHeight;
}

} // namespace orvo
