#include "common/texceptionhandlerscope.h"
#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvocolumntitle.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/common/gridtestwidgets.h"
#include "grid/common/tsampletable.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "grid/filter/torvodbgridfilter.h"
#include "grid/painting/tcellpicture.h"
#include "grid/painting/timagesbitmap.h"
#include "grid/painting/torvodbgridpainter.h"
#include "grid/painting/torvofixedstyles.h"
#include "grid/painting/torvotextlayout.h"
#include "grid/painting/tthemedbitmap.h"
#include "grid/selection/torvocolumnlist.h"
#include "grid/totals/torvocolumntotalfooter.h"
#include "grid/totals/torvodbgridtotals.h"
#include "platform/core/exceptions.h"
#include "platform/data/tdatasource.h"
#include "platform/sqlite/tsqlitetable.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QMetaEnum>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>

using namespace orvo;

namespace {

/// A grid that lends its painter, for the title states the mouse handling sets.
class ProbeGrid : public TOrvoDBGrid
{
public:
    using TOrvoCustomDBGrid::Painter;
    using TOrvoDBGrid::TOrvoDBGrid;
};

/// A grid over the sample customers in a fixed font, style and size, so that the
/// pixels it paints do not depend on the machine.
struct GridFixture : test::TSampleTable
{
    QWidget Window;
    ProbeGrid* Grid = nullptr;

    explicit GridFixture(const QString& tableName = QStringLiteral("customers"),
                         const std::function<void(TSQLiteDatabase&)>& prepare = {})
        : TSampleTable(tableName)
    {
        if (prepare)
            prepare(*Sample.Db);
        Window.resize(420, 260);
        Grid = new ProbeGrid(&Window);
        Grid->setGeometry(0, 0, 420, 260);
        Grid->SetFont(TFont(QFont(QStringLiteral("DejaVu Sans"), 9), clWindowText));
        Grid->SetDataSource(&Source);
        Table.Open();
        for (int i = 0; i < Grid->Columns()->Count(); ++i)
            Grid->Columns()->Items(i)->SetWidth(i == 0 ? 36 : 72);
    }

    [[nodiscard]] bool Show() { return test::ShowExposed(Window, Window.width(), Window.height()); }

    QImage Grab() const { return Grid->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    QColor PixelIn(const QImage& image, int col, int row, QPoint offset = QPoint(3, 3)) const
    {
        return image.pixelColor(Grid->CellRect(col, row).topLeft() + offset);
    }

    /// The pixels of a cell darker than `below` (grey level), inside a 1-pixel inset.
    QList<QPoint> InkIn(const QImage& image, int col, int row, int below = 100) const
    {
        const QRect cell = Grid->CellRect(col, row).adjusted(1, 1, -1, -1);
        QList<QPoint> ink;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                if (qGray(image.pixel(x, y)) < below)
                    ink << QPoint(x - cell.left(), y - cell.top());
        return ink;
    }

    QImage CellImage(const QImage& image, int col, int row) const
    {
        return image.copy(Grid->CellRect(col, row));
    }
};

QColor Rgb(TColor color)
{
    return ToQColor(color);
}

/// Colour distance for screenshots that may differ by a little antialiasing.
bool SimilarImages(const QImage& a, const QImage& b, double tolerance)
{
    if (a.size() != b.size())
        return false;
    qint64 differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                    std::abs(qBlue(p) - qBlue(q)) >
                48)
                ++differing;
        }
    return differing <= qint64(tolerance * a.width() * a.height());
}

} // namespace

class TestGridPainting : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void styleResolution_data();
    void styleResolution();
    void textLayout_data();
    void textLayout();
    void wrapIsLinearAndKeepsLongWords();
    void indicatorGlyph_data();
    void indicatorGlyph();
    void indicatorFollowsDataSetState();
    void stripesAndSelectionColours();
    void disabledGridPaintsGrayText();
    void paintingLeavesTheCursorAlone();
    void throwingOwnerDrawStillPaints();
    void headerBandSpansSharingColumns();
    void spanningTitlesHideTheLinesBetweenTheirCells();
    void numberedMarkersShowDigits();
    void totalCellsShowTheirText();
    void selectedTotalsTakeTheSelectedColour();
    void checkBoxesThemedOrPlain_data();
    void checkBoxesThemedOrPlain();
    void expandBoxesShowTheirState();
    void graphicFieldsShowTheirPicture();
    void rightToLeftMirrorsAlignment_data();
    void rightToLeftMirrorsAlignment();
    void baseLeavesTheFocusFrameToTheGrid();
    void titleButtonsTakeTheirLook();
    void referenceScreenshots_data();
    void referenceScreenshots();
};

void TestGridPainting::initTestCase()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(QApplication::style()->standardPalette());
}

// --- Style resolution ------------------------------------------------------------------------

void TestGridPainting::styleResolution_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("hot");
    QTest::addColumn<int>("marker");
    QTest::addColumn<int>("markerGray");
    QTest::addColumn<int>("box");
    QTest::addColumn<int>("boxGray");
    QTest::addColumn<int>("boxLowered");
    QTest::addColumn<int>("line");
    QTest::newRow("default") << int(fsDefault) << int(hbBump) << int(msDefault) << int(msSoft)
                             << int(cbDefault) << int(cbSoft) << int(cbDefault) << int(clBlack);
    QTest::newRow("soft") << int(fsSoft) << int(hbBump) << int(msSoft) << int(msSoft) << int(cbSoft)
                          << int(cbSoft) << int(cbSoft) << int(cl3DDkShadow);
    QTest::newRow("nice") << int(fsNice) << int(hbRaised) << int(msRaisedDark) << int(msRaisedGray)
                          << int(cbLoweredDark) << int(cbLoweredGray) << int(cbLoweredDark) << int(clBlack);
    QTest::newRow("flat") << int(fsFlat) << int(hbRaised) << int(msFlat) << int(msGray) << int(cbFlat)
                          << int(cbGray) << int(cbLoweredDark) << int(clBlack);
    QTest::newRow("great") << int(fsGreat) << int(hbLowered) << int(msRaisedGray) << int(msRaisedGray)
                           << int(cbLoweredGray) << int(cbLoweredGray) << int(cbLoweredGray)
                           << int(cl3DDkShadow);
    QTest::newRow("gray") << int(fsGray) << int(hbLowered) << int(msGray) << int(msGray) << int(cbGray)
                          << int(cbGray) << int(cbLoweredGray) << int(cl3DDkShadow);
    QTest::newRow("fine") << int(fsFine) << int(hbTile) << int(msRaisedMild) << int(msRaisedGray)
                          << int(cbLoweredMild) << int(cbLoweredGray) << int(cbLoweredMild)
                          << int(clBtnShadow);
    QTest::newRow("mild") << int(fsMild) << int(hbTile) << int(msMild) << int(msGray) << int(cbMild)
                          << int(cbGray) << int(cbLoweredMild) << int(clBtnShadow);
}

void TestGridPainting::styleResolution()
{
    QFETCH(int, style);
    QFETCH(int, hot);
    QFETCH(int, marker);
    QFETCH(int, markerGray);
    QFETCH(int, box);
    QFETCH(int, boxGray);
    QFETCH(int, boxLowered);
    QFETCH(int, line);
    using S = TOrvoFixedStyles;
    const auto fixed = TFixedStyle(style);
    QCOMPARE(int(S::ResolveHotButtons(hbAuto, fixed)), hot);
    QCOMPARE(int(S::ResolveMarkerStyle(msAuto, fixed, false)), marker);
    QCOMPARE(int(S::ResolveMarkerStyle(msAutoGray, fixed, false)), markerGray);
    QCOMPARE(int(S::ResolveBoxStyle(cbAuto, fixed)), box);
    QCOMPARE(int(S::ResolveBoxStyle(cbAuto, fixed, S::baAutoGray)), boxGray);
    QCOMPARE(int(S::ResolveBoxStyle(cbAuto, fixed, S::baAutoLowered)), boxLowered);
    QCOMPARE(int(S::ClassicFixedLineColor(fixed)), line);
    // Explicit members stay as they are; themed cells take the raised markers.
    QCOMPARE(S::ResolveHotButtons(hbNone, fixed), hbNone);
    QCOMPARE(S::ResolveBoxStyle(cbGray, fixed), cbGray);
    QCOMPARE(S::ResolveMarkerStyle(msAuto, fixed, true), msRaisedMild);
    QCOMPARE(S::ResolveMarkerStyle(msAutoGray, fixed, true), msRaisedGray);
    QCOMPARE(S::ResolveMarkerStyle(msLoweredDark, fixed, true), msLoweredDark);
    // Transparent up to the raised styles, opaque from the lowered ones on.
    QVERIFY(S::MarkerIsTransparent(mtAuto, TMarkerStyle(marker)) == (TMarkerStyle(marker) <= msRaisedMild));
    QVERIFY(!S::MarkerIsTransparent(mtFalse, msDefault));
    QVERIFY(S::MarkerIsTransparent(mtTrue, msMild));
}

// --- Text layout -----------------------------------------------------------------------------------

void TestGridPainting::textLayout_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("wordWrap");
    QTest::addColumn<bool>("ellipsis");
    QTest::addColumn<QStringList>("expected");
    // Widths in average characters of the font; heights in lines.
    QTest::newRow("wrap then ellipsis") << "alpha beta gamma delta epsilon zeta" << 12 << 2 << true << true
                                        << QStringList{"alpha beta", "gamma del..."};
    QTest::newRow("wrap all lines") << "alpha beta gamma" << 12 << 3 << true << false
                                    << QStringList{"alpha beta", "gamma"};
    QTest::newRow("lines cut to height")
        << "one\ntwo\r\nthree\rfour" << 20 << 2 << false << false << QStringList{"one", "two"};
    QTest::newRow("no room still shows a line")
        << "alpha beta" << 20 << 0 << true << false << QStringList{"alpha beta"};
    QTest::newRow("ellipsis on one line")
        << "abcdefghijklmnopqrstuvwxyz" << 10 << 1 << false << true << QStringList{"abcdefg..."};
}

void TestGridPainting::textLayout()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(int, lines);
    QFETCH(bool, wordWrap);
    QFETCH(bool, ellipsis);
    QFETCH(QStringList, expected);
    // A monospaced font makes "n characters wide" exact.
    QFont font(QStringLiteral("DejaVu Sans Mono"), 10);
    const QFontMetrics metrics(font);
    const int m = 2;
    const int charWidth = metrics.horizontalAdvance(QLatin1Char('x'));
    const QRect rect(10, 20, width * charWidth + m, lines * metrics.height() + 2 * m);
    TOrvoTextLayout::TParams params;
    params.Margin = m;
    params.WordWrap = wordWrap;
    params.Ellipsis = ellipsis;
    const TOrvoTextLayout::TResult result = TOrvoTextLayout::Layout(metrics, rect, text, params);
    QStringList got;
    for (const auto& line : result.Lines)
        got << line.Text;
    QCOMPARE(got, expected);
    QCOMPARE(result.Lines.first().Pos, QPoint(rect.left() + m, rect.top() + m));
    if (result.Lines.size() > 1)
        QCOMPARE(result.Lines.at(1).Pos.y() - result.Lines.at(0).Pos.y(), metrics.height());
}

void TestGridPainting::wrapIsLinearAndKeepsLongWords()
{
    const QFontMetrics metrics(QFont(QStringLiteral("DejaVu Sans Mono"), 10));
    const int charWidth = metrics.horizontalAdvance(QLatin1Char('x'));
    // A first word wider than the line stays whole and breaks at the space after it;
    // a line without spaces is never broken.
    QCOMPARE(TOrvoTextLayout::WrapText(metrics, QStringLiteral("abcdefghij kl mn"), 5 * charWidth),
             QStringLiteral("abcdefghij\rkl mn"));
    QCOMPARE(TOrvoTextLayout::WrapText(metrics, QStringLiteral("abcdefghijklmnop"), 5 * charWidth),
             QStringLiteral("abcdefghijklmnop"));
    QCOMPARE(TOrvoTextLayout::WrapText(metrics, QStringLiteral("ab cd ef gh"), 5 * charWidth, 1),
             QStringLiteral("ab cd\ref gh"));
    // A long memo wraps in time proportional to its length.
    QString memo;
    for (int i = 0; i < 20000; ++i)
        memo += QStringLiteral("word ");
    QElapsedTimer timer;
    timer.start();
    const QString wrapped = TOrvoTextLayout::WrapText(metrics, memo, 40 * charWidth);
    QVERIFY(timer.elapsed() < 2000);
    QCOMPARE(wrapped.count(QLatin1Char('\r')), 20000 * 5 / 40 - 1);
}

// --- Indicator -------------------------------------------------------------------------------------

void TestGridPainting::indicatorGlyph_data()
{
    QTest::addColumn<bool>("current");
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<bool>("extending");
    QTest::addColumn<int>("glyph");
    QTest::newRow("current") << true << int(dsBrowse) << false << false << 0;
    QTest::newRow("editing") << true << int(dsEdit) << false << false << 1;
    QTest::newRow("inserting") << true << int(dsInsert) << true << false << 2;
    QTest::newRow("current selected") << true << int(dsBrowse) << true << false << 4;
    QTest::newRow("other selected") << false << int(dsBrowse) << true << false << 3;
    QTest::newRow("other") << false << int(dsBrowse) << false << false << -1;
    QTest::newRow("range, other") << false << int(dsBrowse) << false << true << 6;
    QTest::newRow("range, selected") << false << int(dsBrowse) << true << true << 7;
}

void TestGridPainting::indicatorGlyph()
{
    QFETCH(bool, current);
    QFETCH(int, state);
    QFETCH(bool, selected);
    QFETCH(bool, extending);
    QFETCH(int, glyph);
    QCOMPARE(TOrvoDBGridPainter::IndicatorGlyph(current, TDataSetState(state), selected, extending), glyph);
}

void TestGridPainting::indicatorFollowsDataSetState()
{
    GridFixture f;
    QVERIFY(f.Show());
    QList<int> glyphs;
    f.Grid->OnCalcImageIndex = [&](QObject*, TOrvoColumn* column, int& index) {
        if (!column)
            glyphs << index;
    };
    f.Grid->viewport()->repaint();
    QVERIFY(glyphs.contains(0));
    glyphs.clear();
    f.Table.Edit();
    f.Grid->viewport()->repaint();
    QVERIFY(glyphs.contains(1));
    QVERIFY(!glyphs.contains(0));
    f.Table.Cancel();
    f.Table.Insert();
    glyphs.clear();
    f.Grid->viewport()->repaint();
    QVERIFY(glyphs.contains(2));
    f.Table.Cancel();
    // While a Shift range is extended, the rows outside the selection show glyph 6.
    f.Grid->SetOptions(f.Grid->Options() + TOrvoDBGridOptions{dgMultiSelect, dgExtendedSelect});
    f.Grid->Painter()->SetExtendingRange(true);
    glyphs.clear();
    f.Grid->viewport()->repaint();
    QVERIFY(glyphs.contains(6));
    QVERIFY(!glyphs.contains(-1));
    f.Grid->Painter()->SetExtendingRange(false);
    glyphs.clear();
    f.Grid->viewport()->repaint();
    QVERIFY(!glyphs.contains(6));
    // The filler's default index -7 draws indicator glyph 5; a throwing handler draws none.
    f.Grid->OnCalcImageIndex = [](QObject*, TOrvoColumn*, int&) {
        throw EDatabaseError(QStringLiteral("x"));
    };
    QVERIFY(!f.Grab().isNull());
}

// --- Colours -----------------------------------------------------------------------------------------

void TestGridPainting::stripesAndSelectionColours()
{
    GridFixture f;
    f.Grid->SetStripeColor(clSilver);
    f.Grid->SetSelectRowColor(clNone);
    f.Grid->SetSelectCellColor(clNone);
    QVERIFY(f.Show());
    QMap<int, TColor> rowColours;
    QMap<int, TSelections> rowSelections;
    f.Grid->OnPaintColumnCell = [&](QObject*, const QRect&, int dataCol, TOrvoColumn*, bool,
                                    TSelections selections, TColor& color, TFont&, QObject*&) {
        if (dataCol != 1)
            return;
        const int row = f.Grid->DataLink()->ActiveRecord();
        rowColours[row] = color;
        rowSelections[row] = selections;
    };
    const QImage image = f.Grab();
    QVERIFY(rowColours.size() > 4);
    // Odd rows are striped; silver becomes the lighter grey that still shows text.
    QCOMPARE(rowColours.value(1), TColor(0xE8E8E8));
    QCOMPARE(rowColours.value(3), TColor(0xE8E8E8));
    QCOMPARE(rowColours.value(2), clWindow);
    QVERIFY(rowSelections.value(1).Contains(slRowStriped));
    QVERIFY(!rowSelections.value(2).Contains(slRowStriped));
    QVERIFY(rowSelections.value(0).Contains(slRowSelected));
    QVERIFY(!rowSelections.value(1).Contains(slRowSelected));
    const int firstDataRow = f.Grid->TitleOffset();
    QCOMPARE(f.PixelIn(image, 2, firstDataRow + 1, QPoint(1, 1)), Rgb(0xE8E8E8));
    QCOMPARE(f.PixelIn(image, 2, firstDataRow + 2, QPoint(1, 1)), Rgb(ColorToRGB(clWindow)));

    // An invisible row line takes the stripe's colour, over the line the grid base drew.
    f.Grid->SetDataRowLineColor(clNone);
    const QImage hidden = f.Grab();
    const QRect striped = f.Grid->CellRect(2, firstDataRow + 1);
    QCOMPARE(hidden.pixelColor(striped.left() + 3, striped.bottom() + 1), Rgb(0xE8E8E8));
    // Beside header items the default lines take the button face; classic fixed cells
    // leave the base's silver line.
    QCOMPARE(image.pixelColor(striped.left() + 3, striped.bottom() + 1), Rgb(ColorToRGB(clBtnFace)));
    f.Grid->SetDataRowLineColor(clDefault);
    f.Grid->SetFixedTheme(ftNone);
    QCOMPARE(f.Grab().pixelColor(striped.left() + 3, striped.bottom() + 1), Rgb(clSilver));
    f.Grid->SetFixedTheme(ftDefault);

    // The current row takes the row colour; a colour the handler returns is painted.
    f.Grid->SetSelectRowColor(clYellow);
    f.Grid->OnPaintColumnCell = [&](QObject*, const QRect&, int dataCol, TOrvoColumn*, bool,
                                    TSelections selections, TColor& color, TFont&, QObject*&) {
        if (dataCol == 1 && selections.Contains(slRowSelected))
            QCOMPARE(color, clYellow);
        if (dataCol == 2 && f.Grid->DataLink()->ActiveRecord() == 2)
            color = clLime;
    };
    const QImage second = f.Grab();
    QCOMPARE(f.PixelIn(second, 2, firstDataRow, QPoint(1, 1)), Rgb(clYellow));
    QCOMPARE(f.PixelIn(second, 3, firstDataRow + 2, QPoint(1, 1)), Rgb(clLime));
}

void TestGridPainting::disabledGridPaintsGrayText()
{
    GridFixture f;
    QVERIFY(f.Show());
    QList<TColor> fontColours;
    f.Grid->OnPaintColumnCell = [&](QObject*, const QRect&, int, TOrvoColumn*, bool, TSelections, TColor&,
                                    TFont& font, QObject*&) { fontColours << font.Color(); };
    f.Grid->setEnabled(false);
    f.Grab();
    QVERIFY(!fontColours.isEmpty());
    for (TColor colour : fontColours)
        QCOMPARE(colour, clGrayText);
}

void TestGridPainting::paintingLeavesTheCursorAlone()
{
    GridFixture f;
    QVERIFY(f.Show());
    f.Table.MoveBy(3);
    f.Table.Edit();
    const int recNo = f.Table.RecNo();
    const int active = f.Grid->DataLink()->ActiveRecord();
    f.Grid->viewport()->repaint();
    f.Grab();
    QCOMPARE(f.Table.RecNo(), recNo);
    QCOMPARE(f.Table.State(), dsEdit);
    QCOMPARE(f.Grid->DataLink()->ActiveRecord(), active);
    f.Table.Cancel();
}

void TestGridPainting::throwingOwnerDrawStillPaints()
{
    GridFixture f;
    QVERIFY(f.Show());
    int reported = 0;
    f.Grid->OnDrawColumnCell = [](QObject*, const QRect&, int, TOrvoColumn*, TGridDrawState) {
        throw EDatabaseError(QStringLiteral("owner draw failed"));
    };
    QImage image;
    {
        const test::TExceptionHandlerScope handler([&](std::exception_ptr) { ++reported; });
        try {
            image = f.Grab();
        } catch (...) {
            QFAIL("an owner-draw exception escaped the paint");
        }
    }
    QVERIFY(reported > 0);
    // The last data cell still shows its text (something darker than the window colour).
    const QRect cell = f.Grid->CellRect(2, f.Grid->TitleOffset() + 3);
    bool ink = false;
    for (int x = cell.left(); x <= cell.right() && !ink; ++x)
        for (int y = cell.top(); y <= cell.bottom() && !ink; ++y)
            ink = qGray(image.pixel(x, y)) < 100;
    QVERIFY(ink);
}

// --- Titles --------------------------------------------------------------------------------------------

void TestGridPainting::headerBandSpansSharingColumns()
{
    GridFixture f;
    f.Grid->Columns()->Items(1)->Title()->SetHeader(QStringLiteral("Who|Name"));
    f.Grid->Columns()->Items(2)->Title()->SetHeader(QStringLiteral("Who|City"));
    f.Grid->SetFixedTheme(ftNone);
    QVERIFY(f.Show());
    QVERIFY(f.Grid->HeaderBandHeight() > 0);
    const QImage image = f.Grab();
    // Inside the band over both columns no line separates them; below it, one does.
    const QRect name = f.Grid->CellRect(2, 0);
    const int between = name.right() + 1;
    const int bandY = name.top() + 2;
    QVERIFY(qGray(image.pixel(between, bandY)) > 150);
    const int captionY =
        name.top() + f.Grid->Columns()->Items(1)->Title()->HeaderLevels() * f.Grid->HeaderBandHeight() + 3;
    QVERIFY(captionY < name.bottom());
    QCOMPARE(QColor(image.pixel(between, captionY)), QColor(Qt::black));
    // The column after them starts a band of its own.
    const QRect city = f.Grid->CellRect(3, 0);
    QCOMPARE(QColor(image.pixel(city.right() + 1, bandY)), QColor(Qt::black));
}

void TestGridPainting::spanningTitlesHideTheLinesBetweenTheirCells()
{
    // Themed titles lie on the grid's lines rather than framing themselves.
    GridFixture f;
    f.Grid->SetFixedStyle(fsGray);
    f.Grid->Columns()->SetState(csCustomized);
    f.Grid->Columns()->Items(1)->SetExpandCols(2); // "name" over "city" and "score"
    QVERIFY(f.Show());
    QCOMPARE(f.Grid->TitleOffset(), 2);
    const QImage image = f.Grab();
    // Themed fills shade by a grey level per pixel or so; a line stands out by more.
    const auto sameGround = [&image](QPoint at, QPoint beside) {
        return qAbs(qGray(image.pixel(at)) - qGray(image.pixel(beside))) <= 2;
    };
    // "balance" spans both title rows: no row line crosses it, while one runs under "name".
    const QRect balance = f.Grid->CellRect(5, 0);
    const QPoint belowBalanceRow(balance.right() - 3, balance.bottom() + 1);
    QVERIFY(sameGround(belowBalanceRow, belowBalanceRow - QPoint(0, 4)));
    // "name" spans both sub-columns: no column line crosses it.
    const QRect overCity = f.Grid->CellRect(3, 0);
    const QPoint afterCity(overCity.right() + 1, overCity.bottom() - 3);
    QVERIFY(sameGround(afterCity, afterCity - QPoint(4, 0)));
}

void TestGridPainting::numberedMarkersShowDigits()
{
    GridFixture f;
    TOrvoDBGridPainter painter(*f.Grid);
    TCustomImageList* markers = painter.MarkerList();
    QCOMPARE(markers->Count(), 20);
    // Orders 1..9 use images 2..19 (digits in black); a tenth order has only the plain marker.
    const auto blackPixels = [&](int index) {
        const QImage image = markers->Image(index);
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += qAlpha(image.pixel(x, y)) == 255 && (image.pixel(x, y) & 0xFFFFFF) == 0;
        return count;
    };
    const int plain = blackPixels(0);
    for (int order = 1; order <= 9; ++order)
        QVERIFY2(blackPixels(2 * order) > plain, qPrintable(QString::number(order)));
    // With the system marker every key colour but the digits' black is masked out.
    QVERIFY(f.Grid->OptionsExt().Contains(dgForceSystemMarker));
    const QImage digit = markers->Image(4);
    for (int y = 0; y < digit.height(); ++y)
        for (int x = 0; x < digit.width(); ++x)
            QVERIFY(qAlpha(digit.pixel(x, y)) == 0 || (digit.pixel(x, y) & 0xFFFFFF) == 0);
    // Painting ten marked titles goes through without trouble.
    for (int i = 0; i < f.Grid->Columns()->Count(); ++i)
        f.Grid->Columns()->Items(i)->Title()->SetMarkerIndex(i < 9 ? 2 * (i + 1) : 0);
    QVERIFY(f.Show());
    QVERIFY(!f.Grab().isNull());
}

// --- Totals ---------------------------------------------------------------------------------------

void TestGridPainting::totalCellsShowTheirText()
{
    GridFixture f;
    f.Grid->SetOptionsEx(f.Grid->OptionsEx() + TOrvoDBGridOptionsEx{dgBlankRow, dgTotalFooter});
    f.Grid->SetFixedTheme(ftNone);
    f.Grid->OnTotalGetText = [](TOrvoColumn* column, int, QString& text, TTextKind) {
        if (column->Index() == 1)
            text = QStringLiteral("Total");
    };
    QVERIFY(f.Show());
    const int footer = f.Grid->RowCount() - 1;
    QCOMPARE(f.Grid->BottomRowKind(footer - f.Grid->FirstBottomRow()), brTotalFooter);
    const QImage image = f.Grab();
    const auto inkIn = [&](const QRect& cell) {
        int ink = 0;
        for (int x = cell.left() + 3; x < cell.right() - 2; ++x)
            for (int y = cell.top() + 3; y < cell.bottom() - 2; ++y)
                ink += qGray(image.pixel(x, y)) < 100;
        return ink;
    };
    QVERIFY(inkIn(f.Grid->CellRect(2, footer)) > 5);
    QCOMPARE(inkIn(f.Grid->CellRect(3, footer)), 0);
    // The blank row above keeps the grid's colour.
    QCOMPARE(f.PixelIn(image, 3, footer - 1), Rgb(ColorToRGB(clWindow)));
}

void TestGridPainting::selectedTotalsTakeTheSelectedColour()
{
    GridFixture f;
    f.Grid->SetOptionsEx(f.Grid->OptionsEx() +
                         TOrvoDBGridOptionsEx{dgBlankRow, dgTotalFooter, dgCalcSelectedRows});
    f.Grid->SetFixedTheme(ftNone);
    f.Grid->OnTotalGetText = [](TOrvoColumn* column, int, QString& text, TTextKind) {
        if (column->Index() == 1 || column->Index() == 2)
            text = QStringLiteral("Total");
    };
    f.Grid->Totals()->SetSelectedColor(clLime);
    QVERIFY(f.Show());
    const int footer = f.Grid->RowCount() - 1;
    // Right of the text, clear of the cell's edges.
    const QPoint free(f.Grid->CellRect(2, footer).width() - 6, f.Grid->CellRect(2, footer).height() / 2);
    // Nothing selected: the totals keep their own colour.
    QVERIFY(f.PixelIn(f.Grab(), 2, footer, free) != Rgb(clLime));

    f.Grid->Totals()->SetSelectedRowsPresent(true);
    f.Grid->SelectedCols()->SetSelected(1, true);
    const QImage image = f.Grab();
    QCOMPARE(f.PixelIn(image, 2, footer, free), Rgb(clLime));
    QVERIFY(!f.InkIn(image, 2, footer).isEmpty());
    // A column outside the selection shows no total.
    QVERIFY(f.PixelIn(image, 3, footer, free) != Rgb(clLime));
    QVERIFY(f.InkIn(image, 3, footer).isEmpty());

    // clNone switches the selected look off.
    f.Grid->Totals()->SetSelectedColor(clNone);
    const QImage off = f.Grab();
    QVERIFY(f.PixelIn(off, 2, footer, free) != Rgb(clLime));
    QVERIFY(!f.InkIn(off, 3, footer).isEmpty());
}

void TestGridPainting::checkBoxesThemedOrPlain_data()
{
    QTest::addColumn<int>("theme");
    QTest::addColumn<bool>("columnThemed");
    QTest::addColumn<bool>("themedGlyph");
    QTest::newRow("plain") << int(ftNone) << false << false;
    QTest::newRow("themed fixed cells") << int(ftDefault) << false << true;
    QTest::newRow("themed column") << int(ftNone) << true << true;
}

void TestGridPainting::checkBoxesThemedOrPlain()
{
    QFETCH(int, theme);
    QFETCH(bool, columnThemed);
    QFETCH(bool, themedGlyph);
    GridFixture f;
    for (int i = 1; i <= 5; ++i)
        f.Grid->Columns()->Items(i)->SetWidth(24);
    TOrvoColumn* active = f.Grid->Columns()->Items(6);
    active->SetWidth(40);
    active->SetCheckBox(true);
    active->SetCheckBoxThemed(columnThemed);
    f.Grid->SetFixedTheme(TFixedTheme(theme));
    int themed = 0;
    int plain = 0;
    f.Grid->OnPaintColumnCell = [&](QObject*, const QRect&, int, TOrvoColumn* column, bool, TSelections,
                                    TColor&, TFont&, QObject*& image) {
        if (column != active)
            return;
        themed += qobject_cast<TThemedBitmap*>(image) != nullptr;
        plain += qobject_cast<TImagesBitmap*>(image) != nullptr;
    };
    QVERIFY(f.Show());
    const QImage image = f.Grab();
    QVERIFY(themed + plain > 0);
    QCOMPARE(themed > 0, themedGlyph);
    QCOMPARE(plain > 0, !themedGlyph);
    // Row 1 is checked, row 2 not: the boxes differ, and either shows something.
    const int col = f.Grid->IndicatorOffset() + 6;
    const int first = f.Grid->TitleOffset();
    QVERIFY(f.CellImage(image, col, first) != f.CellImage(image, col, first + 1));
    QVERIFY(!f.InkIn(image, col, first, 200).isEmpty());
    QVERIFY(!f.InkIn(image, col, first + 1, 200).isEmpty());
}

void TestGridPainting::expandBoxesShowTheirState()
{
    GridFixture f;
    f.Grid->SetFixedTheme(ftNone);
    TOrvoColumn* box = f.Grid->Columns()->Items(2);
    box->SetExpandBox(true);
    box->SetImageMargin(0);
    // The host drives the state when no tree view is in place: rows 0, 1, 2 show
    // collapsed, expanded and none.
    f.Grid->OnCalcImageIndex = [&](QObject*, TOrvoColumn* column, int& index) {
        if (column == box)
            index = f.Grid->DataLink()->ActiveRecord() % 3;
    };
    QVERIFY(f.Show());
    const QImage image = f.Grab();
    const int col = f.Grid->IndicatorOffset() + 2;
    const int first = f.Grid->TitleOffset();
    const auto black = [&](int row) { return f.InkIn(image, col, row, 30).size(); };
    QVERIFY(black(first) > black(first + 1));
    QVERIFY(black(first + 1) > 0);
    QCOMPARE(black(first + 2), 0);
    // The box stands alone: the field's text is not drawn next to it.
    QVERIFY(f.InkIn(image, col, first + 2, 100).isEmpty());

    // Themed, the tree view's glyph replaces the strip's for the two real states.
    f.Grid->SetFixedTheme(ftDefault);
    const QImage themed = f.Grab();
    QVERIFY(f.CellImage(themed, col, first) != f.CellImage(image, col, first));
    QCOMPARE(f.CellImage(themed, col, first + 2), f.CellImage(image, col, first + 2));
}

void TestGridPainting::graphicFieldsShowTheirPicture()
{
    QImage red(8, 4, QImage::Format_RGB32);
    red.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    QVERIFY(buffer.open(QIODevice::WriteOnly));
    QVERIFY(red.save(&buffer, "PNG"));
    GridFixture f(QStringLiteral("pics"), [&](TSQLiteDatabase& db) {
        db.ExecSQL(QStringLiteral("CREATE TABLE pics (id INTEGER PRIMARY KEY, pic GRAPHIC)"));
        db.ExecSQL(QStringLiteral("INSERT INTO pics (pic) VALUES (?)"), {TVariant(png)});
        db.ExecSQL(QStringLiteral("INSERT INTO pics (pic) VALUES (?)"),
                   {TVariant(QByteArray("\x89PNG broken"))});
        db.ExecSQL(QStringLiteral("INSERT INTO pics (pic) VALUES (NULL)"));
    });
    TOrvoColumn* pic = f.Grid->Columns()->Items(1);
    pic->SetWidth(60);
    pic->SetShowBlob(true);
    QVERIFY(f.Show());
    const int col = f.Grid->IndicatorOffset() + 1;
    const int first = f.Grid->TitleOffset();
    const QRect cell = f.Grid->CellRect(col, first);
    const auto centre = [&](const QImage& image, int row) {
        return image.pixelColor(f.Grid->CellRect(col, row).center());
    };

    pic->SetImageDraw(idScaled);
    QImage image = f.Grab();
    // Scaled keeps the 2:1 shape: red in the middle, the brush above and below when
    // the cell is not that wide.
    QCOMPARE(centre(image, first), QColor(Qt::red));
    const int scaledHeight = std::min(cell.height(), cell.width() / 2);
    if (scaledHeight < cell.height() - 2)
        QVERIFY(image.pixelColor(cell.center().x(), cell.top()) != QColor(Qt::red));
    // Damaged data and an empty field leave the cell without a picture.
    QVERIFY(centre(image, first + 1) != QColor(Qt::red));
    QVERIFY(centre(image, first + 2) != QColor(Qt::red));

    pic->SetImageDraw(idStretch);
    image = f.Grab();
    QCOMPARE(image.pixelColor(cell.left() + 1, cell.top() + 1), QColor(Qt::red));
    QCOMPARE(image.pixelColor(cell.right() - 1, cell.bottom() - 1), QColor(Qt::red));
}

void TestGridPainting::rightToLeftMirrorsAlignment_data()
{
    QTest::addColumn<bool>("rightToLeft");
    QTest::addColumn<bool>("suppress");
    QTest::addColumn<bool>("textAtLeft");
    QTest::newRow("left to right") << false << false << true;
    QTest::newRow("right to left") << true << false << false;
    QTest::newRow("suppressed") << true << true << true;
}

void TestGridPainting::rightToLeftMirrorsAlignment()
{
    QFETCH(bool, rightToLeft);
    QFETCH(bool, suppress);
    QFETCH(bool, textAtLeft);
    GridFixture f;
    TOrvoColumn* name = f.Grid->Columns()->Items(1);
    name->SetWidth(120);
    name->SetAlignment(taLeftJustify);
    name->SetSuppressRTL(suppress);
    f.Grid->setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    QVERIFY(f.Show());
    const QImage image = f.Grab();
    const int col = f.Grid->IndicatorOffset() + 1;
    const QList<QPoint> ink = f.InkIn(image, col, f.Grid->TitleOffset() + 1);
    QVERIFY(!ink.isEmpty());
    int left = INT_MAX;
    int right = 0;
    for (const QPoint& p : ink) {
        left = std::min(left, p.x());
        right = std::max(right, p.x());
    }
    const int width = f.Grid->CellRect(col, f.Grid->TitleOffset() + 1).width() - 2;
    QCOMPARE(left < width - 1 - right, textAtLeft);
}

void TestGridPainting::baseLeavesTheFocusFrameToTheGrid()
{
    GridFixture f;
    f.Grid->SetFocusRect(frNone);
    f.Grid->SetSelectCellColor(clLime);
    f.Grid->SetOptions(f.Grid->Options() + TOrvoDBGridOptions{dgAlwaysShowSelection});
    QVERIFY(f.Show());
    f.Grid->setFocus();
    QTRY_VERIFY(f.Grid->hasFocus());
    const QImage image = f.Grab();
    const QRect cell = f.Grid->CellRect(f.Grid->Col(), f.Grid->Row());
    // No dotted frame of the base over the grid's own look of the focused cell.
    for (int x = cell.left(); x <= cell.right(); ++x) {
        QCOMPARE(image.pixelColor(x, cell.top()), Rgb(clLime));
        QCOMPARE(image.pixelColor(x, cell.bottom()), Rgb(clLime));
    }
    f.Grid->SetFocusRect(frDefault);
    const QImage framed = f.Grab();
    QVERIFY(framed.pixelColor(cell.left(), cell.top()) != Rgb(clLime) ||
            framed.pixelColor(cell.left() + 1, cell.top()) != Rgb(clLime));
}

void TestGridPainting::titleButtonsTakeTheirLook()
{
    GridFixture f;
    TOrvoColumn* city = f.Grid->Columns()->Items(2);
    city->SetWidth(100);
    city->SetExpandStyle(cesDropDown);
    QVERIFY(f.Show());
    const QRect title = f.Grid->CellRect(3, 0);
    const int width = f.Grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, f.Grid);
    const QRect button(title.right() - width - 2, title.top(), width + 3, title.height());
    const QRect caption(title.left(), title.top(), title.width() - width - 4, title.height());

    // Themed, the button has the header look (the default) or is the system's arrow.
    QVERIFY(f.Grid->OptionsExt().Contains(dgForceSystemButton));
    const QImage header = f.Grab();
    f.Grid->SetOptionsExt(f.Grid->OptionsExt() - TOrvoDBGridOptionsExt{dgForceSystemButton});
    const QImage arrow = f.Grab();
    QVERIFY(arrow.copy(button) != header.copy(button));
    QCOMPARE(arrow.copy(caption), header.copy(caption));

    // Classic, pressing the drop-down part frames that part alone.
    f.Grid->SetFixedTheme(ftNone);
    const QImage normal = f.Grab();
    f.Grid->Painter()->SetPressedTitle(city, true);
    const QImage pressed = f.Grab();
    f.Grid->Painter()->SetPressedTitle(nullptr, false);
    QVERIFY(normal.copy(button) != pressed.copy(button));
    QCOMPARE(normal.copy(caption), pressed.copy(caption));

    // The grid's auto-filter gives a plain column a filter button, only while filtering.
    city->SetExpandStyle(cesAuto);
    f.Grid->FilterGrid()->SetFiltered(false);
    const QImage plain = f.Grab();
    f.Grid->FilterGrid()->SetAutoFilter(true);
    QCOMPARE(f.Grab().copy(button), plain.copy(button));
    f.Grid->FilterGrid()->SetFiltered(true);
    const QImage filtered = f.Grab();
    QVERIFY(filtered.copy(button) != plain.copy(button));
    city->Title()->SetAutoFilter(false);
    QCOMPARE(f.Grab().copy(button), plain.copy(button));
}

// --- Reference screenshots ---------------------------------------------------------------------------

void TestGridPainting::referenceScreenshots_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<bool>("compared");
    // Every style is written for the documentation; three representative ones are
    // kept as references.
    const QMetaEnum styles = QMetaEnum::fromType<TFixedStyle>();
    for (int i = 0; i < styles.keyCount(); ++i) {
        const auto style = TFixedStyle(styles.value(i));
        QTest::newRow(styles.key(i)) << int(style)
                                     << (style == fsDefault || style == fsGray || style == fsFine);
    }
}

void TestGridPainting::referenceScreenshots()
{
    QFETCH(int, style);
    QFETCH(bool, compared);
    GridFixture f;
    f.Grid->SetFixedTheme(ftNone);
    f.Grid->SetFixedStyle(TFixedStyle(style));
    f.Grid->SetStripeColor(clSilver);
    f.Grid->Columns()->Items(1)->Title()->SetMarkerIndex(2);
    f.Grid->Columns()->Items(2)->Title()->SetMarkerIndex(5);
    QVERIFY(f.Show());
    // The pictures show the focused grid; the focus must not be left to the window's activation.
    f.Window.activateWindow();
    f.Grid->setFocus();
    QTRY_VERIFY(f.Grid->hasFocus());
    const QImage image = f.Grab();
    const QString name =
        QStringLiteral("grid-%1.png")
            .arg(QString::fromLatin1(QMetaEnum::fromType<TFixedStyle>().valueToKey(style)).mid(2).toLower());
    if (qEnvironmentVariableIsSet("ORVO_WRITE_SCREENSHOTS")) {
        QVERIFY(image.save(QStringLiteral(ORVO_SCREENSHOT_DIR "/") + name));
        if (compared)
            QVERIFY(image.save(QStringLiteral(ORVO_PAINTING_REFERENCE_DIR "/") + name));
        QSKIP("screenshots written");
    }
    if (!compared)
        QSKIP("documentation only");
    const QImage reference(QStringLiteral(ORVO_PAINTING_REFERENCE_DIR "/") + name);
    if (reference.isNull())
        QSKIP("no reference image");
    QVERIFY2(SimilarImages(image, reference.convertToFormat(QImage::Format_RGB32), 0.005), qPrintable(name));
}

QTEST_MAIN(TestGridPainting)
#include "tst_grid_painting.moc"
