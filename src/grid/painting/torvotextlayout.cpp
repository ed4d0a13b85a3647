#include "grid/painting/torvotextlayout.h"

#include "platform/graphics/tcanvas.h"

#include <QRegularExpression>

#include <algorithm>
#include <vector>

namespace orvo {

namespace {

bool IsLatinLetter(QChar ch)
{
    return (ch >= u'A' && ch <= u'Z') || (ch >= u'a' && ch <= u'z');
}

TAlignment Mirrored(TAlignment alignment)
{
    if (alignment == taLeftJustify)
        return taRightJustify;
    if (alignment == taRightJustify)
        return taLeftJustify;
    return alignment;
}

} // namespace

QString TOrvoTextLayout::WrapText(const QFontMetrics& metrics, const QString& text, int width, int maxBreaks)
{
    QString result = text;
    int breaks = 0;
    int lineStart = 0;
    int candidate = -1;
    // Running widths from the line start: a break subtracts the part before it
    // instead of measuring the new line again, so each character is measured once.
    std::vector<int> widthThrough(size_t(text.size()), 0);
    for (int i = 0; i < result.size(); ++i) {
        if (maxBreaks >= 0 && breaks >= maxBreaks)
            break;
        const QChar ch = result.at(i);
        if (ch == u'\r' || ch == u'\n') {
            lineStart = i + 1;
            candidate = -1;
            continue;
        }
        const int before = i > lineStart ? widthThrough[size_t(i - 1)] : 0;
        widthThrough[size_t(i)] = before + metrics.horizontalAdvance(ch);
        if (ch == u' ')
            candidate = i;
        if (candidate < 0 || widthThrough[size_t(i)] <= width)
            continue;
        const int at = ch == u' ' ? i : candidate;
        result[at] = u'\r';
        ++breaks;
        const int cut = widthThrough[size_t(at)];
        for (int k = at + 1; k <= i; ++k)
            widthThrough[size_t(k)] -= cut;
        lineStart = at + 1;
        candidate = -1;
    }
    return result;
}

QString TOrvoTextLayout::CutWithEllipsis(const QFontMetrics& metrics, const QString& line, int width)
{
    static const QString dots = QStringLiteral("...");
    if (metrics.horizontalAdvance(line) <= width)
        return line;
    const int room = width - metrics.horizontalAdvance(dots);
    int used = metrics.horizontalAdvance(line.at(0));
    int count = 1;
    while (count < line.size()) {
        const int next = used + metrics.horizontalAdvance(line.at(count));
        if (next > room)
            break;
        used = next;
        ++count;
    }
    return line.left(count) + dots;
}

int TOrvoTextLayout::FindMatch(const QString& line, const TParams& params)
{
    const Qt::CaseSensitivity sensitivity = params.CaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (int from = 0;;) {
        const int at = line.indexOf(params.SearchText, from, sensitivity);
        if (at < 0 || !params.WholeWords)
            return at;
        const int end = at + int(params.SearchText.size());
        const bool startsWord = at == 0 || !IsLatinLetter(line.at(at - 1));
        const bool endsWord = end >= line.size() || !IsLatinLetter(line.at(end));
        if (startsWord && endsWord)
            return at;
        from = at + 1;
    }
}

TOrvoTextLayout::TResult TOrvoTextLayout::Layout(const QFontMetrics& metrics, const QRect& rect,
                                                 const QString& text, const TParams& params, bool mirrored)
{
    TResult result;
    const int m = params.Margin;
    const TAlignment alignment =
        mirrored && !params.RightToLeft ? Mirrored(params.Alignment) : params.Alignment;
    const int indent = alignment == taLeftJustify ? m : alignment == taRightJustify ? m + 1 : 0;
    // A font that reports no height would make every cell hold infinitely many lines.
    const int h = std::max(1, metrics.height());
    int v = m;
    TVAlignment vAlignment = params.VAlignment;
    int fitting = (rect.height() - 2 * v + 1) / h;
    if (fitting <= 0) {
        vAlignment = tvTopJustify;
        fitting = 1;
    }
    const int width = rect.width() - indent;
    QString wrapped = text;
    if (params.WordWrap)
        wrapped = WrapText(metrics, text, width, params.Ellipsis ? fitting - 1 : -1);
    static const QRegularExpression lineEnds(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = wrapped.split(lineEnds);
    if (lines.size() > fitting)
        lines.resize(fitting);
    const int spare = std::max(0, rect.height() - 2 * v - int(lines.size()) * h);
    if (vAlignment == tvBottomJustify)
        v += spare;
    else if (vAlignment == tvCenter)
        v += spare / 2;

    int y = rect.top() + v;
    for (QString line : lines) {
        if (params.Ellipsis && !line.isEmpty())
            line = CutWithEllipsis(metrics, line, width);
        const int textWidth = metrics.horizontalAdvance(line);
        int x = rect.left() + m;
        if (alignment == taRightJustify)
            x = rect.left() + rect.width() - textWidth - m - 1;
        else if (alignment == taCenter)
            x = rect.left() + rect.width() / 2 - textWidth / 2;
        result.Lines.push_back({line, QPoint(x, y)});
        if (!result.HasMatch() && !params.SearchText.isEmpty() && line.size() >= params.SearchText.size()) {
            if (const int at = FindMatch(line, params); at >= 0) {
                result.MatchText = line.mid(at, params.SearchText.size());
                result.MatchRect = QRect(x + metrics.horizontalAdvance(line.left(at)), y,
                                         std::max(1, metrics.horizontalAdvance(result.MatchText) - 1), h);
            }
        }
        y += h;
    }
    return result;
}

TOrvoTextLayout::TResult TOrvoTextLayout::Draw(TCanvas& canvas, const QRect& rect, const QString& text,
                                               const TParams& params)
{
    const QFontMetrics metrics(canvas.Font().ToQFont());
    TResult result = Layout(metrics, rect, text, params, canvas.RightToLeft());
    if (canvas.Brush().Style() != bsClear)
        canvas.FillRect(rect);
    // One fill for the cell: drawing each line opaque would wipe the lines above it.
    const TBrushStyle style = canvas.Brush().Style();
    canvas.Brush().SetStyle(bsClear);
    for (const TLine& line : result.Lines)
        canvas.TextRect(rect, line.Pos.x(), line.Pos.y(), line.Text);
    canvas.Brush().SetStyle(style);
    return result;
}

} // namespace orvo
