#include "platform/graphics/tglyphstrips.h"

#include <QHash>
#include <QPainter>

#include <array>
#include <cmath>
#include <functional>
#include <vector>

namespace orvo {

namespace {

// Colours of the glyphs. The marker strip uses the key colours that the grid
// replaces per marker style: aqua for the lit edge, teal and blue for the two
// halves of the inside, navy for the shaded edge, lime for the backing of the
// digits; black stays black.
const QColor kMask(0x80, 0x80, 0x00);
const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kGray(0x80, 0x80, 0x80);
const QColor kLightGray(0xE0, 0xE0, 0xE0);
const QColor kRed(0xC0, 0x00, 0x00);
const QColor kKeyAqua(0x00, 0xFF, 0xFF);
const QColor kKeyTeal(0x00, 0x80, 0x80);
const QColor kKeyBlue(0x00, 0x00, 0xFF);
const QColor kKeyNavy(0x00, 0x00, 0x80);
const QColor kKeyLime(0x00, 0xFF, 0x00);

// Paints one glyph in logical pixels. Everything is whole-pixel rectangles with
// antialiasing off, so at any device pixel ratio each device pixel gets exactly one
// of the glyph's colours.
class TGlyphPainter
{
public:
    TGlyphPainter(QPainter& painter, int left) : FPainter(painter), FLeft(left) {}

    void Rect(int x, int y, int w, int h, const QColor& color) const
    {
        FPainter.fillRect(QRect(FLeft + x, y, w, h), color);
    }
    void Pixel(int x, int y, const QColor& color) const { Rect(x, y, 1, 1, color); }

    // Triangles with a tip of one pixel, `h` rows tall; cx is the middle column.
    void TriangleUp(int cx, int bottom, int h, const QColor& color) const
    {
        for (int row = 0; row < h; ++row)
            Rect(cx - row, bottom - h + 1 + row, 2 * row + 1, 1, color);
    }
    void TriangleDown(int cx, int top, int h, const QColor& color) const
    {
        for (int row = 0; row < h; ++row)
            Rect(cx - (h - 1 - row), top + row, 2 * (h - 1 - row) + 1, 1, color);
    }
    // Tip at the right (x of the tip), `h` columns wide, centred on row cy.
    void TriangleRight(int tipX, int cy, int h, const QColor& color) const
    {
        for (int col = 0; col < h; ++col)
            Rect(tipX - h + 1 + col, cy - (h - 1 - col), 1, 2 * (h - 1 - col) + 1, color);
    }
    void TriangleLeft(int tipX, int cy, int h, const QColor& color) const
    {
        for (int col = 0; col < h; ++col)
            Rect(tipX + col, cy - col, 1, 2 * col + 1, color);
    }
    // A round dot from row spans: each entry is the inset of that row from x.
    void Dot(int x, int y, const std::vector<int>& insets, int width, const QColor& color) const
    {
        for (size_t row = 0; row < insets.size(); ++row)
            Rect(x + insets[row], y + int(row), width - 2 * insets[row], 1, color);
    }
    // A stroke of `thickness` pixels from (x0, y0) moving one column at a time.
    void Stroke(int x0, int y0, int x1, int y1, int thickness, const QColor& color) const
    {
        const int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
        for (int i = 0; i <= steps; ++i) {
            const int x = x0 + (steps ? (x1 - x0) * i / steps : 0);
            const int y = y0 + (steps ? (y1 - y0) * i / steps : 0);
            Rect(x, y, 1, thickness, color);
        }
    }
    // A bitmap pattern, one string per row, '#' set.
    template <typename Rows> void Pattern(int x, int y, const Rows& rows, const QColor& color) const
    {
        int row = 0;
        for (const char* line : rows) {
            for (int col = 0; line[col]; ++col)
                if (line[col] == '#')
                    Pixel(x + col, y + row, color);
            ++row;
        }
    }
    void Pattern(int x, int y, std::initializer_list<const char*> rows, const QColor& color) const
    {
        Pattern<std::initializer_list<const char*>>(x, y, rows, color);
    }

private:
    QPainter& FPainter;
    int FLeft;
};

using TGlyphDraw = std::function<void(const TGlyphPainter&)>;

// --- Row indicators ---------------------------------------------------------

void drawAsterisk(const TGlyphPainter& g)
{
    g.Pattern(3, 3,
              {"....#....", ".#..#..#.", "..#.#.#..", "...###...", "#########", "...###...", "..#.#.#..",
               ".#..#..#.", "....#...."},
              kBlack);
}

void drawCheckMark(const TGlyphPainter& g)
{
    g.Stroke(3, 7, 6, 10, 3, kBlack);
    g.Stroke(7, 9, 12, 4, 3, kBlack);
}

void drawCross(const TGlyphPainter& g, int from, int to, const QColor& color)
{
    for (int i = 0; from + i <= to; ++i) {
        g.Rect(from + i, from + i, 2, 1, color);
        g.Rect(to - i - 1, from + i, 2, 1, color);
    }
}

void drawFunnel(const TGlyphPainter& g, int x)
{
    for (int row = 0; row < 5; ++row)
        g.Rect(x + row, 3 + row, 12 - 2 * row, 1, kBlack);
    g.Rect(x + 5, 8, 2, 5, kBlack);
}

const std::vector<int> kDot4 = {1, 0, 0, 1};
const std::vector<int> kDot6 = {2, 1, 0, 0, 1, 2};
const std::vector<int> kDot8 = {2, 1, 0, 0, 0, 0, 1, 2};

std::vector<TGlyphDraw> indicatorGlyphs()
{
    return {
        // current record
        [](const TGlyphPainter& g) { g.TriangleRight(9, 7, 5, kBlack); },
        // editing: an I-beam
        [](const TGlyphPainter& g) {
            g.Rect(7, 4, 1, 8, kBlack);
            g.Rect(5, 3, 2, 1, kBlack);
            g.Rect(8, 3, 2, 1, kBlack);
            g.Rect(5, 12, 2, 1, kBlack);
            g.Rect(8, 12, 2, 1, kBlack);
        },
        drawAsterisk,
        // selected
        [](const TGlyphPainter& g) { g.Dot(5, 5, kDot6, 6, kBlack); },
        // current and selected
        [](const TGlyphPainter& g) {
            g.TriangleRight(7, 7, 5, kBlack);
            g.Dot(10, 6, kDot4, 4, kBlack);
        },
        [](const TGlyphPainter& g) { g.TriangleDown(7, 5, 5, kBlack); },
        // start and end of a range selection
        [](const TGlyphPainter& g) {
            g.Rect(4, 3, 8, 2, kBlack);
            g.Rect(4, 5, 2, 8, kBlack);
        },
        [](const TGlyphPainter& g) {
            g.Rect(4, 11, 8, 2, kBlack);
            g.Rect(10, 3, 2, 8, kBlack);
        },
        [](const TGlyphPainter& g) { g.TriangleUp(7, 9, 3, kBlack); },
        [](const TGlyphPainter& g) { g.TriangleDown(7, 6, 3, kBlack); },
        [](const TGlyphPainter& g) { g.TriangleLeft(5, 7, 5, kBlack); },
        [](const TGlyphPainter& g) { g.TriangleRight(10, 7, 5, kBlack); },
        drawCheckMark,
        [](const TGlyphPainter& g) { drawCross(g, 4, 11, kBlack); },
        [](const TGlyphPainter& g) { g.Rect(4, 4, 8, 8, kBlack); },
        [](const TGlyphPainter& g) { g.Dot(4, 4, kDot8, 8, kBlack); },
        [](const TGlyphPainter& g) { g.TriangleUp(7, 11, 6, kBlack); },
        [](const TGlyphPainter& g) {
            g.Rect(7, 3, 2, 10, kBlack);
            g.Rect(3, 7, 10, 2, kBlack);
        },
        [](const TGlyphPainter& g) { g.Rect(3, 7, 10, 2, kBlack); },
        [](const TGlyphPainter& g) {
            g.Rect(7, 3, 2, 7, kBlack);
            g.Rect(7, 11, 2, 2, kBlack);
        },
        [](const TGlyphPainter& g) { drawFunnel(g, 2); },
        [](const TGlyphPainter& g) {
            drawFunnel(g, 0);
            g.Dot(11, 9, kDot4, 4, kBlack);
        },
        // bold arrows
        [](const TGlyphPainter& g) {
            g.TriangleUp(7, 7, 5, kBlack);
            g.Rect(6, 8, 3, 5, kBlack);
        },
        [](const TGlyphPainter& g) {
            g.Rect(6, 3, 3, 5, kBlack);
            g.TriangleDown(7, 8, 5, kBlack);
        },
        // to the first and to the last
        [](const TGlyphPainter& g) {
            g.Rect(3, 2, 9, 2, kBlack);
            g.TriangleUp(7, 8, 4, kBlack);
            g.Rect(6, 9, 3, 4, kBlack);
        },
        [](const TGlyphPainter& g) {
            g.Rect(6, 2, 3, 4, kBlack);
            g.TriangleDown(7, 6, 4, kBlack);
            g.Rect(3, 11, 9, 2, kBlack);
        },
        // a small close cross
        [](const TGlyphPainter& g) { drawCross(g, 5, 10, kBlack); },
    };
}

// --- Check boxes --------------------------------------------------------------

enum TBoxState
{
    bxUnchecked,
    bxChecked,
    bxGrayed
};

void drawBox(const TGlyphPainter& g, TBoxState state, const std::function<void(const QColor&)>& mark)
{
    g.Rect(0, 0, 13, 13, kGray);
    g.Rect(1, 1, 11, 11, state == bxGrayed ? kLightGray : kWhite);
    if (state != bxUnchecked)
        mark(state == bxGrayed ? kGray : kBlack);
}

std::vector<TGlyphDraw> checkBoxGlyphs()
{
    std::vector<TGlyphDraw> glyphs;
    for (int kind = 0; kind < 3; ++kind)
        for (TBoxState state : {bxUnchecked, bxChecked, bxGrayed})
            glyphs.push_back([kind, state](const TGlyphPainter& g) {
                drawBox(g, state, [&](const QColor& color) {
                    if (kind == 0) {
                        g.Stroke(3, 5, 5, 7, 3, color);
                        g.Stroke(6, 6, 9, 3, 3, color);
                    } else if (kind == 1) {
                        drawCross(g, 3, 8, color);
                    } else {
                        g.Rect(3, 3, 7, 7, color);
                    }
                });
            });
    return glyphs;
}

// --- Expand boxes -------------------------------------------------------------

std::vector<TGlyphDraw> expandBoxGlyphs()
{
    std::vector<TGlyphDraw> glyphs;
    for (int size = 0; size < 3; ++size) {
        const int box = 9 + 2 * size; // 9, 11, 13 pixels
        const int at = (13 - box) / 2;
        const int sign = box - 4;
        auto frame = [=](const TGlyphPainter& g) {
            g.Rect(at, at, box, box, kGray);
            g.Rect(at + 1, at + 1, box - 2, box - 2, kWhite);
        };
        glyphs.push_back([=](const TGlyphPainter& g) {
            frame(g);
            g.Rect(at + 2, 6, sign, 1, kBlack);
            g.Rect(6, at + 2, 1, sign, kBlack);
        });
        glyphs.push_back([=](const TGlyphPainter& g) {
            frame(g);
            g.Rect(at + 2, 6, sign, 1, kBlack);
        });
        glyphs.push_back([=](const TGlyphPainter& g) {
            const int dot = 1 + 2 * size; // 1, 3, 5 pixels
            g.Rect(6 - size, 6 - size, dot, dot, kGray);
        });
    }
    return glyphs;
}

// --- Sort markers -------------------------------------------------------------

const char* const kDigits[9][5] = {
    {".#.", "##.", ".#.", ".#.", "###"}, {"##.", "..#", ".#.", "#..", "###"},
    {"##.", "..#", ".#.", "..#", "##."}, {"#.#", "#.#", "###", "..#", "..#"},
    {"###", "#..", "##.", "..#", "##."}, {".##", "#..", "###", "#.#", "###"},
    {"###", "..#", ".#.", ".#.", ".#."}, {"###", "#.#", "###", "#.#", "###"},
    {"###", "#.#", "###", "..#", "##."},
};

// A shaded triangle in the key colours: lit edge aqua, shaded edge navy, the inside
// teal on the lit half and blue on the shaded half.
void drawMarkerTriangle(const TGlyphPainter& g, int cx, int top, int h, bool up)
{
    for (int row = 0; row < h; ++row) {
        const int half = up ? row : h - 1 - row;
        const int y = top + row;
        const int left = cx - half;
        const int right = cx + half;
        const bool baseRow = up ? row == h - 1 : row == 0;
        if (baseRow) {
            g.Rect(left, y, right - left + 1, 1, up ? kKeyNavy : kKeyAqua);
            if (!up)
                g.Pixel(right, y, kKeyNavy);
            continue;
        }
        if (right - left >= 2) {
            g.Rect(left + 1, y, cx - left, 1, kKeyTeal);
            g.Rect(cx + 1, y, right - cx - 1, 1, kKeyBlue);
        }
        g.Pixel(left, y, kKeyAqua);
        if (right != left)
            g.Pixel(right, y, kKeyNavy);
    }
}

std::vector<TGlyphDraw> markerGlyphs()
{
    std::vector<TGlyphDraw> glyphs;
    for (bool up : {true, false})
        glyphs.push_back([up](const TGlyphPainter& g) { drawMarkerTriangle(g, 7, 4, 7, up); });
    for (int digit = 0; digit < 9; ++digit)
        for (bool up : {true, false})
            glyphs.push_back([digit, up](const TGlyphPainter& g) {
                drawMarkerTriangle(g, 5, 5, 5, up);
                g.Rect(10, 4, 5, 7, kKeyLime);
                g.Pattern(11, 5, kDigits[digit], kBlack);
            });
    return glyphs;
}

// --- Button glyphs ------------------------------------------------------------

std::vector<TGlyphDraw> calendarGlyphs()
{
    return {[](const TGlyphPainter& g) {
        g.Rect(1, 2, 14, 13, kBlack);
        g.Rect(2, 3, 12, 3, kRed);
        g.Rect(2, 6, 12, 8, kWhite);
        g.Rect(4, 1, 1, 3, kBlack);
        g.Rect(11, 1, 1, 3, kBlack);
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 4; ++col)
                g.Rect(3 + 3 * col, 7 + 2 * row + row / 2, 2, 1, row == 1 && col == 2 ? kRed : kGray);
    }};
}

std::vector<TGlyphDraw> calculatorGlyphs()
{
    return {[](const TGlyphPainter& g) {
        g.Rect(2, 1, 12, 14, kBlack);
        g.Rect(3, 2, 10, 12, kGray);
        g.Rect(4, 3, 8, 3, kWhite);
        g.Rect(9, 4, 2, 1, kBlack);
        for (int row = 0; row < 2; ++row)
            for (int col = 0; col < 3; ++col)
                g.Rect(4 + 3 * col, 7 + 3 * row, 2, 2, kWhite);
    }};
}

struct TStripKind
{
    const char* Name;
    int Size;
    std::function<std::vector<TGlyphDraw>()> Glyphs;
    int Count;
};

const std::array<TStripKind, 6>& stripKinds()
{
    static const std::array<TStripKind, 6> kinds = {{
        {"ORVODBINDICATORS", 16, indicatorGlyphs, 27},
        {"ORVODBCHECKBOXES", 13, checkBoxGlyphs, 9},
        {"ORVODBEXPANDBOXES", 13, expandBoxGlyphs, 9},
        {"ORVODBMARKERS", 16, markerGlyphs, 20},
        {"ORVODBCALENDAR", 16, calendarGlyphs, 1},
        {"ORVODBCALCULATOR", 16, calculatorGlyphs, 1},
    }};
    return kinds;
}

const TStripKind* findKind(const QString& name)
{
    for (const TStripKind& kind : stripKinds())
        if (name.compare(QLatin1String(kind.Name), Qt::CaseInsensitive) == 0)
            return &kind;
    return nullptr;
}

QImage renderStrip(const TStripKind& kind, qreal ratio)
{
    const std::vector<TGlyphDraw> glyphs = kind.Glyphs();
    const int width = kind.Size * int(glyphs.size());
    QImage strip(int(std::lround(width * ratio)), int(std::lround(kind.Size * ratio)), QImage::Format_RGB32);
    strip.setDevicePixelRatio(ratio);
    strip.fill(kMask);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (size_t i = 0; i < glyphs.size(); ++i) {
        painter.save();
        painter.setClipRect(QRect(int(i) * kind.Size, 0, kind.Size, kind.Size));
        glyphs[i](TGlyphPainter(painter, int(i) * kind.Size));
        painter.restore();
    }
    return strip;
}

} // namespace

QStringList TGlyphStrips::Names()
{
    QStringList names;
    for (const TStripKind& kind : stripKinds())
        names.append(QLatin1String(kind.Name));
    return names;
}

QImage TGlyphStrips::Strip(const QString& name, qreal devicePixelRatio)
{
    const TStripKind* kind = findKind(name);
    if (!kind || devicePixelRatio <= 0)
        return QImage();
    // Drawn once per name and ratio; QImage copies share the pixels.
    static QHash<QString, QImage> cache;
    const QString key = QStringLiteral("%1@%2").arg(QLatin1String(kind->Name)).arg(devicePixelRatio);
    auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return *found;
    const QImage strip = renderStrip(*kind, devicePixelRatio);
    cache.insert(key, strip);
    return strip;
}

int TGlyphStrips::GlyphCount(const QString& name)
{
    const TStripKind* kind = findKind(name);
    return kind ? kind->Count : 0;
}

QSize TGlyphStrips::GlyphSize(const QString& name)
{
    const TStripKind* kind = findKind(name);
    return kind ? QSize(kind->Size, kind->Size) : QSize();
}

} // namespace orvo
