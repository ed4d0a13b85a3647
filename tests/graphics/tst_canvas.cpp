#include "platform/graphics/colorutils.h"
#include "platform/graphics/drawedge.h"
#include "platform/graphics/drawframecontrol.h"
#include "platform/graphics/drawtext.h"
#include "platform/graphics/tcanvas.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QtTest>

using namespace orvo;

namespace {

// A palette whose roles are all different, so that every system colour a drawing
// uses can be told apart by its pixels.
QPalette distinctPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Light, QColor(250, 250, 250));    // button highlight
    palette.setColor(QPalette::Midlight, QColor(220, 220, 220)); // 3D light
    palette.setColor(QPalette::Button, QColor(200, 200, 200));   // button face
    palette.setColor(QPalette::Dark, QColor(120, 120, 120));     // button shadow
    palette.setColor(QPalette::Shadow, QColor(20, 20, 20));      // 3D dark shadow
    palette.setColor(QPalette::Base, QColor(255, 255, 240));     // window
    return palette;
}

QImage whiteImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

TColor pixelAt(const QImage& image, int x, int y)
{
    return FromQColor(image.pixelColor(x, y));
}

QFont fixedFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    return font;
}

bool hasInk(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                return true;
    return false;
}

} // namespace

class TstCanvas : public QObject
{
    Q_OBJECT

private slots:
    void drawEdgePixels_data()
    {
        QTest::addColumn<unsigned>("edge");
        QTest::addColumn<TColor>("outerTopLeft");
        QTest::addColumn<TColor>("outerBottomRight");
        QTest::addColumn<TColor>("innerTopLeft");
        QTest::addColumn<TColor>("innerBottomRight");
        QTest::newRow("raised") << EDGE_RAISED << cl3DLight << cl3DDkShadow << clBtnHighlight << clBtnShadow;
        QTest::newRow("sunken") << EDGE_SUNKEN << clBtnShadow << clBtnHighlight << cl3DDkShadow << cl3DLight;
        QTest::newRow("etched") << EDGE_ETCHED << clBtnShadow << clBtnHighlight << clBtnHighlight
                                << clBtnShadow;
    }

    void drawEdgePixels()
    {
        QFETCH(unsigned, edge);
        QFETCH(TColor, outerTopLeft);
        QFETCH(TColor, outerBottomRight);
        QFETCH(TColor, innerTopLeft);
        QFETCH(TColor, innerBottomRight);
        const QPalette palette = distinctPalette();
        auto rgb = [&](TColor c) { return ColorToRGB(c, palette); };
        QImage image = whiteImage(10, 10);
        {
            TCanvas canvas(&image, palette);
            QRect rect(0, 0, 10, 10);
            QVERIFY(DrawEdge(canvas, rect, edge, BF_RECT | BF_ADJUST | BF_MIDDLE));
            QCOMPARE(rect, QRect(2, 2, 6, 6));
        }
        QCOMPARE(pixelAt(image, 0, 0), rgb(outerTopLeft));
        QCOMPARE(pixelAt(image, 9, 9), rgb(outerBottomRight));
        // The bottom-right lines own the corners they share with the top-left ones.
        QCOMPARE(pixelAt(image, 0, 9), rgb(outerBottomRight));
        QCOMPARE(pixelAt(image, 9, 0), rgb(outerBottomRight));
        QCOMPARE(pixelAt(image, 1, 1), rgb(innerTopLeft));
        QCOMPARE(pixelAt(image, 8, 8), rgb(innerBottomRight));
        QCOMPARE(pixelAt(image, 5, 5), rgb(clBtnFace));
    }

    void drawEdgeOnlyNamedSides()
    {
        const QPalette palette = distinctPalette();
        QImage image = whiteImage(10, 10);
        {
            TCanvas canvas(&image, palette);
            QRect rect(0, 0, 10, 10);
            DrawEdge(canvas, rect, BDR_RAISEDINNER, BF_BOTTOM | BF_FLAT);
        }
        QCOMPARE(pixelAt(image, 4, 9), ColorToRGB(clBtnFace, palette));
        QCOMPARE(pixelAt(image, 0, 0), clWhite);
        QCOMPARE(pixelAt(image, 9, 4), clWhite);
    }

    void wordBreakWithEllipsis_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("lineCount");
        QTest::addColumn<unsigned>("format");
        QTest::addColumn<int>("visibleLines");
        QTest::addColumn<QStringList>("expected");
        const unsigned wrapDots = DT_WORDBREAK | DT_END_ELLIPSIS;
        QTest::newRow("two lines, the rest cut") << QStringLiteral("aaa bbb ccc ddd eee fff") << 2 << wrapDots
                                                 << 2 << QStringList{QStringLiteral("aaa bbb"), QString()};
        QTest::newRow("everything fits") << QStringLiteral("aaa bbb ccc") << 3 << wrapDots << 2
                                         << QStringList{QStringLiteral("aaa bbb"), QStringLiteral("ccc")};
        QTest::newRow("long word on its own line, cut")
            << QStringLiteral("aa bbbbbbbbbbbbbbbbbbbb cc") << 3 << wrapDots << 3
            << QStringList{QStringLiteral("aa"), QString(), QStringLiteral("cc")};
        QTest::newRow("long word kept whole without ellipsis")
            << QStringLiteral("aa bbbbbbbbbbbbbbbbbbbb cc") << 3 << unsigned(DT_WORDBREAK) << 3
            << QStringList{QStringLiteral("aa"), QStringLiteral("bbbbbbbbbbbbbbbbbbbb"),
                           QStringLiteral("cc")};
        QTest::newRow("zero-height rectangle keeps one line")
            << QStringLiteral("aaa bbb ccc") << 0 << wrapDots << 1 << QStringList{QString()};
        QTest::newRow("paragraphs") << QStringLiteral("aaa\nbbb\r\nccc") << 3 << unsigned(DT_WORDBREAK) << 3
                                    << QStringList{QStringLiteral("aaa"), QStringLiteral("bbb"),
                                                   QStringLiteral("ccc")};
    }

    void wordBreakWithEllipsis()
    {
        QFETCH(QString, text);
        QFETCH(int, lineCount);
        QFETCH(unsigned, format);
        QFETCH(int, visibleLines);
        QFETCH(QStringList, expected);
        TCanvas canvas;
        canvas.Font().SetQFont(fixedFont());
        const QFontMetrics metrics(fixedFont());
        // Room for "aaa bbb" but not for a third word.
        const int width = metrics.horizontalAdvance(QStringLiteral("aaa bbb")) + 2;
        const QRect rect(0, 0, width, lineCount * metrics.height());
        const QStringList lines = DrawTextLines(canvas, text, rect, format);
        QCOMPARE(lines.size(), visibleLines);
        for (int i = 0; i < lines.size(); ++i) {
            QVERIFY2(metrics.horizontalAdvance(lines[i]) <= width || !(format & DT_END_ELLIPSIS),
                     qPrintable(lines[i]));
            if (expected[i].isEmpty())
                QVERIFY2(lines[i].endsWith(QLatin1String("...")), qPrintable(lines[i]));
            else
                QCOMPARE(lines[i], expected[i]);
        }
    }

    void singleLineEllipsis()
    {
        TCanvas canvas;
        canvas.Font().SetQFont(fixedFont());
        const QFontMetrics metrics(fixedFont());
        const QString text = QStringLiteral("A rather long caption");
        const int width = metrics.horizontalAdvance(text) / 2;
        const QStringList lines =
            DrawTextLines(canvas, text, QRect(0, 0, width, 20), DT_SINGLELINE | DT_END_ELLIPSIS);
        QCOMPARE(lines.size(), 1);
        QVERIFY(lines[0].endsWith(QLatin1String("...")));
        QVERIFY(text.startsWith(lines[0].chopped(3).trimmed()));
        QVERIFY(metrics.horizontalAdvance(lines[0]) <= width);
        // A rectangle too narrow even for the dots still gives a line, not a crash.
        QCOMPARE(DrawTextLines(canvas, text, QRect(0, 0, 0, 0), DT_SINGLELINE | DT_END_ELLIPSIS).size(), 1);
    }

    void calcRect()
    {
        TCanvas canvas;
        canvas.Font().SetQFont(fixedFont());
        const QFontMetrics metrics(fixedFont());
        QRect single(5, 5, 1, 1);
        QCOMPARE(DrawText(canvas, QStringLiteral("&File"), single, DT_SINGLELINE | DT_CALCRECT),
                 metrics.height());
        QCOMPARE(single, QRect(5, 5, metrics.horizontalAdvance(QStringLiteral("File")), metrics.height()));
        const int width = metrics.horizontalAdvance(QStringLiteral("aaa bbb")) + 2;
        QRect wrapped(0, 0, width, 1);
        DrawText(canvas, QStringLiteral("aaa bbb ccc ddd eee"), wrapped, DT_WORDBREAK | DT_CALCRECT);
        QCOMPARE(wrapped.height(), 3 * metrics.height());
        QCOMPARE(wrapped.width(), width);
    }

    void drawTextAlignsAndClips_data()
    {
        QTest::addColumn<unsigned>("format");
        QTest::addColumn<bool>("inkLeft");
        QTest::addColumn<bool>("inkRight");
        QTest::newRow("left") << unsigned(DT_LEFT | DT_SINGLELINE | DT_VCENTER) << true << false;
        QTest::newRow("right") << unsigned(DT_RIGHT | DT_SINGLELINE | DT_VCENTER) << false << true;
    }

    void drawTextAlignsAndClips()
    {
        QFETCH(unsigned, format);
        QFETCH(bool, inkLeft);
        QFETCH(bool, inkRight);
        QImage image = whiteImage(200, 40);
        {
            TCanvas canvas(&image);
            canvas.Font().SetQFont(fixedFont());
            canvas.Font().SetColor(clBlack);
            QRect rect(10, 10, 180, 20);
            DrawText(canvas, QStringLiteral("Wide"), rect, format);
        }
        QCOMPARE(hasInk(image, QRect(10, 10, 90, 20)), inkLeft);
        QCOMPARE(hasInk(image, QRect(100, 10, 90, 20)), inkRight);
        QVERIFY(!hasInk(image, QRect(0, 0, 200, 10)));
        QVERIFY(!hasInk(image, QRect(0, 30, 200, 10)));
    }

    void canvasPrimitives()
    {
        QImage image = whiteImage(20, 20);
        TCanvas canvas(&image);
        canvas.Brush().SetColor(clRed);
        canvas.FillRect(QRect(2, 2, 4, 3));
        QCOMPARE(canvas.Pixels(2, 2), clRed);
        QCOMPARE(canvas.Pixels(5, 4), clRed);
        QCOMPARE(canvas.Pixels(6, 4), clWhite);
        QCOMPARE(canvas.Pixels(5, 5), clWhite);
        canvas.Brush().SetStyle(bsClear);
        canvas.FillRect(QRect(10, 10, 5, 5));
        QCOMPARE(canvas.Pixels(12, 12), clWhite);

        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(clBlue);
        canvas.FrameRect(QRect(10, 10, 5, 5));
        QCOMPARE(canvas.Pixels(10, 10), clBlue);
        QCOMPARE(canvas.Pixels(14, 14), clBlue);
        QCOMPARE(canvas.Pixels(12, 12), clWhite);

        canvas.SetPixels(0, 19, clLime);
        QCOMPARE(canvas.Pixels(0, 19), clLime);
        QCOMPARE(canvas.Pixels(25, 25), clNone);

        // The end point of a line is left out.
        canvas.Pen().SetColor(clBlack);
        canvas.MoveTo(0, 0);
        canvas.LineTo(5, 0);
        QCOMPARE(canvas.Pixels(4, 0), clBlack);
        QCOMPARE(canvas.Pixels(5, 0), clWhite);
        QCOMPARE(canvas.PenPos(), QPoint(5, 0));
    }

    void focusRectIsUndoneByDrawingItAgain()
    {
        QImage image = whiteImage(12, 12);
        TCanvas canvas(&image);
        canvas.DrawFocusRect(QRect(1, 1, 10, 10));
        QVERIFY(hasInk(image, QRect(1, 1, 10, 1)));
        QCOMPARE(canvas.Pixels(5, 5), clWhite);
        canvas.DrawFocusRect(QRect(1, 1, 10, 10));
        QVERIFY(!hasInk(image, image.rect()));
    }

    void clipping()
    {
        QImage image = whiteImage(20, 20);
        TCanvas canvas(&image);
        QCOMPARE(canvas.ClipRect(), QRect(0, 0, 20, 20));
        canvas.IntersectClipRect(QRect(5, 5, 10, 10));
        canvas.IntersectClipRect(QRect(0, 0, 8, 8));
        QCOMPARE(canvas.ClipRect(), QRect(5, 5, 3, 3));
        canvas.Brush().SetColor(clBlack);
        canvas.FillRect(QRect(0, 0, 20, 20));
        QCOMPARE(canvas.Pixels(4, 4), clWhite);
        QCOMPARE(canvas.Pixels(6, 6), clBlack);
        QCOMPARE(canvas.Pixels(9, 9), clWhite);
        canvas.SelectClipRgn(nullptr);
        QCOMPARE(canvas.ClipRect(), QRect(0, 0, 20, 20));
    }

    void measuringCanvasNeedsNoDevice()
    {
        TCanvas canvas;
        canvas.Font().SetQFont(fixedFont());
        QVERIFY(!canvas.HandleAllocated());
        QCOMPARE(canvas.TextWidth(QStringLiteral("abc")),
                 QFontMetrics(fixedFont()).horizontalAdvance(QStringLiteral("abc")));
        QVERIFY(canvas.TextHeight(QStringLiteral("abc")) > 0);
        QVERIFY(canvas.AverageCharWidth() > 0);
        QCOMPARE(canvas.TextOverhang(), 0);
        canvas.FillRect(QRect(0, 0, 5, 5));
        QCOMPARE(canvas.Pixels(0, 0), clNone);
    }

    void frameControlDrawsSomething()
    {
        QImage image = whiteImage(20, 20);
        TCanvas canvas(&image);
        QVERIFY(DrawFrameControl(canvas, QRect(2, 2, 16, 16), DFC_BUTTON, DFCS_BUTTONPUSH));
        QVERIFY(hasInk(image, image.rect()));
        QVERIFY(!DrawFrameControl(canvas, QRect(2, 2, 16, 16), 99, 0));
    }
};

QTEST_MAIN(TstCanvas)
#include "tst_canvas.moc"
