#include "platform/core/exceptions.h"
#include "platform/graphics/tbitmap.h"
#include "platform/graphics/tcanvas.h"
#include "platform/graphics/tcustomimagelist.h"
#include "platform/graphics/tglyphstrips.h"

#include <QSet>
#include <QtTest>

using namespace orvo;

namespace {

// Two 16 x 16 glyphs on the mask colour: a red square, then a blue one.
void fillTwoGlyphStrip(TBitmap& strip)
{
    strip.SetSize(32, 16);
    TCanvas& canvas = strip.Canvas();
    canvas.Brush().SetColor(clOlive);
    canvas.FillRect(QRect(0, 0, 32, 16));
    canvas.Brush().SetColor(clRed);
    canvas.FillRect(QRect(4, 4, 8, 8));
    canvas.Brush().SetColor(clBlue);
    canvas.FillRect(QRect(20, 4, 8, 8));
}

QSet<QRgb> colorsOf(const QImage& image)
{
    QSet<QRgb> colors;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colors.insert(image.pixel(x, y));
    return colors;
}

const QRgb kMaskRgb = qRgb(0x80, 0x80, 0x00);

} // namespace

class TstImageList : public QObject
{
    Q_OBJECT

private slots:
    void addMaskedCutsTheStripAndHidesTheMask()
    {
        TBitmap strip;
        fillTwoGlyphStrip(strip);
        TCustomImageList list(16, 16);
        QCOMPARE(list.AddMasked(strip, clOlive), 0);
        QCOMPARE(list.Count(), 2);
        QCOMPARE(qAlpha(list.Image(0).pixel(0, 0)), 0);
        QCOMPARE(list.Image(0).pixel(5, 5), qRgb(255, 0, 0));
        QCOMPARE(list.Image(1).pixel(5, 5), qRgb(0, 0, 255));
        QCOMPARE(list.AddMasked(strip, clOlive), 2);
        QCOMPARE(list.Count(), 4);

        TBitmap target(16, 16);
        list.Draw(target.Canvas(), 0, 0, 1);
        QCOMPARE(target.Canvas().Pixels(0, 0), clWhite);
        QCOMPARE(target.Canvas().Pixels(5, 5), clBlue);
    }

    void drawDisabledIsGreyAndOutOfRangeIsIgnored()
    {
        TBitmap strip;
        fillTwoGlyphStrip(strip);
        TCustomImageList list(16, 16);
        list.AddMasked(strip, clOlive);
        TBitmap target(16, 16);
        list.Draw(target.Canvas(), 0, 0, 0, false);
        const TColor disabled = target.Canvas().Pixels(5, 5);
        QVERIFY(disabled != clRed);
        QCOMPARE(GetRValue(disabled), GetGValue(disabled));
        QCOMPARE(GetGValue(disabled), GetBValue(disabled));
        QCOMPARE(target.Canvas().Pixels(0, 0), clWhite);

        list.Draw(target.Canvas(), 0, 0, 7);
        list.Draw(target.Canvas(), 0, 0, -1);
        QCOMPARE(target.Canvas().Pixels(5, 5), disabled);
    }

    void backgroundColourAndStyles()
    {
        TBitmap strip;
        fillTwoGlyphStrip(strip);
        TCustomImageList list(16, 16);
        list.AddMasked(strip, clOlive);
        list.SetBkColor(clYellow);
        TBitmap target(16, 16);
        list.Draw(target.Canvas(), 0, 0, 0);
        QCOMPARE(target.Canvas().Pixels(0, 0), clYellow);
        target.Canvas().Brush().SetColor(clWhite);
        target.Canvas().FillRect(QRect(0, 0, 16, 16));
        list.Draw(target.Canvas(), 0, 0, 0, dsTransparent);
        QCOMPARE(target.Canvas().Pixels(0, 0), clWhite);
        list.SetBlendColor(clBlack);
        list.Draw(target.Canvas(), 0, 0, 0, dsSelected);
        QCOMPARE(target.Canvas().Pixels(5, 5), RGB(127, 0, 0));

        TBitmap copy;
        list.GetBitmap(1, copy);
        QCOMPARE(copy.Width(), 16);
        QCOMPARE(copy.Canvas().Pixels(0, 0), clYellow);
        QCOMPARE(copy.Canvas().Pixels(5, 5), clBlue);
    }

    void bitmapTransparency()
    {
        TBitmap strip;
        fillTwoGlyphStrip(strip);
        QCOMPARE(strip.TransparentMode(), tmAuto);
        QCOMPARE(strip.TransparentColor(), clOlive);
        strip.SetTransparentColor(clRed);
        QCOMPARE(strip.TransparentMode(), tmFixed);
        strip.SetTransparent(true);
        TBitmap target(32, 16);
        target.Canvas().Draw(0, 0, strip);
        QCOMPARE(target.Canvas().Pixels(5, 5), clWhite);
        QCOMPARE(target.Canvas().Pixels(0, 0), clOlive);

        // Growing keeps the pixels and paints the new ones white.
        strip.SetSize(40, 20);
        QCOMPARE(strip.Canvas().Pixels(5, 5), clRed);
        QCOMPARE(strip.Canvas().Pixels(39, 19), clWhite);
    }

    void strips_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("cornersMasked"); // check boxes fill their whole square
        QTest::newRow("indicators") << QStringLiteral("ORVODBINDICATORS") << 27 << 16 << true;
        QTest::newRow("check boxes") << QStringLiteral("ORVODBCHECKBOXES") << 9 << 13 << false;
        QTest::newRow("expand boxes") << QStringLiteral("ORVODBEXPANDBOXES") << 9 << 13 << false;
        QTest::newRow("markers") << QStringLiteral("ORVODBMARKERS") << 20 << 16 << true;
        QTest::newRow("calendar") << QStringLiteral("ORVODBCALENDAR") << 1 << 16 << true;
        QTest::newRow("calculator") << QStringLiteral("ORVODBCALCULATOR") << 1 << 16 << true;
    }

    void strips()
    {
        QFETCH(QString, name);
        QFETCH(int, count);
        QFETCH(int, size);
        QFETCH(bool, cornersMasked);
        TBitmap bitmap;
        bitmap.LoadFromResourceName(name);
        QCOMPARE(bitmap.Width(), count * size);
        QCOMPARE(bitmap.Height(), size);

        // Glyphs are made of a few flat colours: no blended edge may produce a colour
        // near the mask that would then show as a fringe.
        const QSet<QRgb> colors = colorsOf(bitmap.Image());
        QCOMPARE(colors.contains(kMaskRgb), cornersMasked || name == QLatin1String("ORVODBEXPANDBOXES"));
        QVERIFY2(colors.size() <= 10, qPrintable(QString::number(colors.size())));
        for (QRgb color : colors) {
            if (color == kMaskRgb)
                continue;
            const int distance =
                std::abs(qRed(color) - 0x80) + std::abs(qGreen(color) - 0x80) + std::abs(qBlue(color));
            QVERIFY2(distance > 48, qPrintable(QColor(color).name()));
        }

        TCustomImageList list(bitmap.Height(), bitmap.Height());
        list.AddMasked(bitmap, clOlive);
        QCOMPARE(list.Count(), count);
        for (int i = 0; i < count; ++i) {
            const QImage glyph = list.Image(i);
            if (cornersMasked)
                QCOMPARE(qAlpha(glyph.pixel(0, 0)), 0);
            bool drawn = false;
            for (int y = 0; y < size && !drawn; ++y)
                for (int x = 0; x < size && !drawn; ++x)
                    drawn = qAlpha(glyph.pixel(x, y)) != 0;
            QVERIFY2(drawn, qPrintable(QStringLiteral("glyph %1 is empty").arg(i)));
        }

        // At twice the resolution: twice the pixels, the same flat colours.
        TBitmap sharp;
        sharp.LoadFromResourceName(name, 2.0);
        QCOMPARE(sharp.Width(), count * size);
        QCOMPARE(sharp.Image().width(), 2 * count * size);
        QCOMPARE(colorsOf(sharp.Image()), colors);
    }

    void markerStripUsesOnlyTheKeyColours()
    {
        const QSet<QRgb> allowed = {kMaskRgb,        qRgb(0, 255, 255), qRgb(0, 128, 128), qRgb(0, 0, 255),
                                    qRgb(0, 0, 128), qRgb(0, 255, 0),   qRgb(0, 0, 0)};
        QSet<QRgb> used = colorsOf(TGlyphStrips::Strip(QStringLiteral("ORVODBMARKERS")));
        QVERIFY(used.contains(qRgb(0, 0, 0)));
        QVERIFY(used.contains(qRgb(0, 255, 255)));
        QVERIFY(used.contains(qRgb(0, 0, 128)));
        QVERIFY(used.subtract(allowed).isEmpty());
    }

    void unknownResourceRaises()
    {
        TBitmap bitmap;
        QVERIFY_THROWS_EXCEPTION(EInvalidOperation,
                                 bitmap.LoadFromResourceName(QStringLiteral("NOSUCHSTRIP")));
        QVERIFY(bitmap.Empty());
    }
};

QTEST_MAIN(TstImageList)
#include "tst_imagelist.moc"
