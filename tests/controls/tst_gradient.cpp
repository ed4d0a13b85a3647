#include "controls/gradientfill.h"
#include "controls/torvogradientbackground.h"
#include "controls/torvogradientbutton.h"
#include "platform/core/exceptions.h"
#include "platform/core/tsystemprofile.h"
#include "platform/graphics/colorutils.h"
#include "platform/graphics/tcanvas.h"

#include <QImage>
#include <QtTest>

using namespace orvo;

namespace {

constexpr TColor kStart = 0xFF0000; // blue
constexpr TColor kFace = 0xC8C8C8;  // a light grey button face
constexpr int kSize = 20;

QImage blankImage()
{
    QImage image(kSize, kSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

TColor pixelAt(const QImage& image, int x, int y)
{
    return FromQColor(image.pixelColor(x, y));
}

struct TEnds
{
    TColor Leading;
    TColor Trailing;
};

TEnds paintRect(TOrvoGradient& gradient, bool hot, bool down, bool rightToLeft = false)
{
    QImage image = blankImage();
    {
        TCanvas canvas(&image);
        canvas.SetRightToLeft(rightToLeft);
        gradient.PaintRect(canvas, QRect(0, 0, kSize, kSize), kFace, hot, down);
    }
    // Read along the middle of the gradient's run, away from any frame.
    if (gradient.Direction() == gdHorizontal)
        return {pixelAt(image, 1, kSize / 2), pixelAt(image, kSize - 2, kSize / 2)};
    return {pixelAt(image, kSize / 2, 1), pixelAt(image, kSize / 2, kSize - 2)};
}

// Colours along a gradient are interpolated; the pixel next to an edge lies within
// a few steps of the edge colour.
bool near(TColor a, TColor b)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= 16 && std::abs(GetGValue(a) - GetGValue(b)) <= 16 &&
           std::abs(GetBValue(a) - GetBValue(b)) <= 16;
}

QString describe(TColor a, TColor b)
{
    return QStringLiteral("%1 vs %2").arg(ColorToString(a), ColorToString(b));
}

} // namespace

class TstGradient : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        TSystemProfile::SetCurrent(TSystemProfile());
        SetGradientsEnabled(true);
    }

    void shade_data()
    {
        QTest::addColumn<TColor>("color");
        QTest::addColumn<int>("factor");
        QTest::addColumn<TColor>("expected");
        QTest::newRow("factor 0 keeps a system colour") << clBtnFace << 0 << clBtnFace;
        QTest::newRow("button face darkened by 50 is the shadow colour") << clBtnFace << -50 << clBtnShadow;
        QTest::newRow("black darker stays black") << clBlack << -25 << clBlack;
        QTest::newRow("white lighter stays white") << clWhite << 20 << clWhite;
        QTest::newRow("grey 128 darkened by 25") << RGB(128, 128, 128) << -25 << RGB(101, 101, 101);
        QTest::newRow("dark navy darker is black, not a bright colour") << RGB(0, 0, 40) << -25 << clBlack;
        QTest::newRow("near white lighter is white") << RGB(250, 240, 245) << 50 << clWhite;
    }

    void shade()
    {
        QFETCH(TColor, color);
        QFETCH(int, factor);
        QFETCH(TColor, expected);
        QCOMPARE(TOrvoGradient::Shade(color, factor), expected);
    }

    void luminanceShiftClampsInsteadOfWrapping_data()
    {
        QTest::addColumn<TColor>("color");
        QTest::addColumn<int>("factor");
        QTest::addColumn<TColor>("expected");
        QTest::newRow("below 0") << RGB(10, 20, 60) << -100 << clBlack;
        QTest::newRow("far below 0") << RGB(200, 30, 30) << -1000 << clBlack;
        QTest::newRow("above 240") << RGB(30, 200, 30) << 1000 << clWhite;
        QTest::newRow("hue kept") << RGB(255, 0, 0) << -60 << RGB(128, 0, 0);
    }

    void luminanceShiftClampsInsteadOfWrapping()
    {
        QFETCH(TColor, color);
        QFETCH(int, factor);
        QFETCH(TColor, expected);
        QCOMPARE(ShiftLuminance(color, factor), expected);
    }

    void hlsRoundTrip()
    {
        for (TColor color : {RGB(255, 0, 0), RGB(0, 128, 0), RGB(12, 34, 200), RGB(200, 200, 200)}) {
            const TColor back = ColorHLSToRGB(ColorRGBToHLS(color));
            QVERIFY2(near(back, color), qPrintable(describe(back, color)));
        }
        QCOMPARE(ColorRGBToHLS(RGB(90, 90, 90)).Hue, 160);
    }

    void paintRectEnds_data()
    {
        QTest::addColumn<int>("options");
        QTest::addColumn<int>("direction");
        QTest::addColumn<bool>("swap");
        QTest::addColumn<bool>("hot");
        QTest::addColumn<bool>("rightToLeft");
        QTest::addColumn<bool>("startLeads"); // StartColor at the leading edge
        const int button = int(TOrvoGradientOptions{goGradient, goHotButton}.Bits());
        const int hotColour = int(TOrvoGradientOptions{goGradient, goHotColor}.Bits());
        QTest::newRow("default, not hot") << button << int(gdVertical) << false << false << false << true;
        QTest::newRow("default, hot flips") << button << int(gdVertical) << false << true << false << false;
        QTest::newRow("swapped") << button << int(gdVertical) << true << false << false << false;
        QTest::newRow("swapped and hot") << button << int(gdVertical) << true << true << false << true;
        QTest::newRow("horizontal") << button << int(gdHorizontal) << false << false << false << true;
        QTest::newRow("horizontal mirrored")
            << button << int(gdHorizontal) << false << false << true << false;
        QTest::newRow("vertical not mirrored") << button << int(gdVertical) << false << false << true << true;
        QTest::newRow("hot colour does not flip")
            << hotColour << int(gdVertical) << false << true << false << true;
    }

    void paintRectEnds()
    {
        QFETCH(int, options);
        QFETCH(int, direction);
        QFETCH(bool, swap);
        QFETCH(bool, hot);
        QFETCH(bool, rightToLeft);
        QFETCH(bool, startLeads);
        TOrvoGradientButton gradient;
        gradient.SetOptions(TOrvoGradientOptions::FromBits(quint64(options)));
        gradient.SetDirection(TOrvoGradientDirection(direction));
        gradient.SetSwapColors(swap);
        gradient.SetStartColor(kStart);
        const TColor base =
            hot && gradient.Options().Contains(goHotColor) ? gradient.GetDefaultHotColor() : kFace;
        const TColor trail = TOrvoGradient::Shade(base, TOrvoGradient::DefaultShadowFactor);
        const TEnds ends = paintRect(gradient, hot, false, rightToLeft);
        const TColor leading = startLeads ? kStart : trail;
        const TColor trailing = startLeads ? trail : kStart;
        QVERIFY2(near(ends.Leading, leading), qPrintable(describe(ends.Leading, leading)));
        QVERIFY2(near(ends.Trailing, trailing), qPrintable(describe(ends.Trailing, trailing)));
    }

    void gradientEndsAreExact()
    {
        QImage image = blankImage();
        {
            TCanvas canvas(&image);
            GradientFillRect(canvas, clRed, clBlue, gdVertical, QRect(0, 0, kSize, kSize));
        }
        QCOMPARE(pixelAt(image, 3, 0), clRed);
        QCOMPARE(pixelAt(image, 3, kSize - 1), clBlue);
        const TColor middle = pixelAt(image, 3, kSize / 2);
        QVERIFY(GetRValue(middle) > 64 && GetRValue(middle) < 192);
    }

    void shadowFactorLightens()
    {
        TOrvoGradientBackground gradient;
        gradient.SetStartColor(kStart);
        gradient.SetShadowFactor(30);
        const TEnds ends = paintRect(gradient, false, false);
        QVERIFY(near(ends.Trailing, TOrvoGradient::Shade(kFace, 30)));
        QVERIFY(GetRValue(ends.Trailing) > GetRValue(kFace));
    }

    void solidWithoutOptions()
    {
        TOrvoGradientButton gradient;
        gradient.SetOptions({});
        gradient.SetEndColor(clRed);
        for (bool hot : {false, true}) {
            const TEnds ends = paintRect(gradient, hot, false);
            QCOMPARE(ends.Leading, clRed);
            QCOMPARE(ends.Trailing, clRed);
        }
    }

    void hotTrackFramesAndDarkens()
    {
        TOrvoGradientButton gradient;
        gradient.SetOptions({goHotTrack});
        QImage image = blankImage();
        {
            TCanvas canvas(&image);
            gradient.PaintRect(canvas, QRect(0, 0, kSize, kSize), kFace, true, true);
        }
        QCOMPARE(pixelAt(image, 0, 0), TOrvoGradient::Shade(kFace, -50));
        QCOMPARE(pixelAt(image, kSize - 1, kSize / 2), TOrvoGradient::Shade(kFace, -50));
        QCOMPARE(pixelAt(image, 1, 1), TOrvoGradient::Shade(kFace, -25));
        QCOMPARE(pixelAt(image, kSize / 2, kSize / 2), TOrvoGradient::Shade(kFace, -25));
    }

    void paintButtonKeepsTheFaceMarks()
    {
        const TColor face = RGB(200, 200, 200);
        QImage image = blankImage();
        TCanvas canvas(&image);
        canvas.Brush().SetColor(face);
        canvas.FillRect(QRect(0, 0, kSize, kSize));
        canvas.Brush().SetColor(clBlack);
        canvas.FillRect(QRect(8, 8, 4, 4)); // stands in for the caption
        TOrvoGradientButton gradient;
        gradient.SetStartColor(kStart);
        QVERIFY(gradient.PaintButton(canvas, QRect(0, 0, kSize, kSize), face, 1, 1, false, false, false));
        QCOMPARE(canvas.Pixels(0, 0), RGB(200, 200, 200)); // outside the outer inset
        QVERIFY(near(canvas.Pixels(5, 1), kStart));
        QCOMPARE(canvas.Pixels(9, 9), clBlack);
        QVERIFY(canvas.Pixels(5, kSize / 2) != face);
    }

    void paintButtonWithNothingLeftPaintsNothing_data()
    {
        QTest::addColumn<int>("outer");
        QTest::addColumn<int>("inner");
        QTest::newRow("outer inset eats all") << kSize / 2 << 0;
        QTest::newRow("inner inset eats all") << 4 << 6;
    }

    void paintButtonWithNothingLeftPaintsNothing()
    {
        QFETCH(int, outer);
        QFETCH(int, inner);
        QImage image = blankImage();
        const QImage before = image.copy();
        {
            TCanvas canvas(&image);
            TOrvoGradientButton gradient;
            QVERIFY(!gradient.PaintButton(canvas, QRect(0, 0, kSize, kSize), clWhite, outer, inner, true,
                                          true, true));
        }
        QCOMPARE(image, before);
    }

    void paintButtonNeedsReadablePixels()
    {
        TCanvas measuring;
        TOrvoGradientButton gradient;
        QVERIFY(
            !gradient.PaintButton(measuring, QRect(0, 0, kSize, kSize), clWhite, 0, 0, false, false, false));
    }

    void paintButtonAlternateUsesTheAlternateEnd()
    {
        QImage image = blankImage();
        TCanvas canvas(&image);
        canvas.Brush().SetColor(clWhite);
        TOrvoGradientButton gradient;
        gradient.SetStartColor(clRed);
        gradient.SetEndColor(clGreen);
        gradient.SetAlternateEndColor(clBlue);
        int changes = 0;
        gradient.OnChange = [&](TOrvoGradient*) { ++changes; };
        QVERIFY(gradient.PaintButtonAlternate(canvas, QRect(0, 0, kSize, kSize), clWhite, 0, 0, false, false,
                                              false));
        QVERIFY(near(canvas.Pixels(5, kSize - 1), TOrvoGradient::Shade(clBlue, -25)));
        QCOMPARE(gradient.EndColor(), clGreen);
        QCOMPARE(changes, 0);
    }

    void paintSelection()
    {
        QImage image = blankImage();
        TCanvas canvas(&image);
        TOrvoGradient gradient;
        const TColor color = RGB(60, 90, 200);
        gradient.PaintSelection(canvas, QRect(0, 0, kSize, kSize), color, true);
        QCOMPARE(canvas.Pixels(3, 3), ShiftLuminance(color, 20));
        QCOMPARE(canvas.Brush().Color(), ShiftLuminance(color, 20));
        // So light that every lighter tint is white: the colour itself.
        const TColor light = RGB(250, 250, 252);
        gradient.PaintSelection(canvas, QRect(0, 0, kSize, kSize), light, true);
        QCOMPARE(canvas.Pixels(3, 3), light);
        gradient.PaintSelection(canvas, QRect(0, 0, kSize, kSize), color, false);
        QCOMPARE(canvas.Pixels(3, 0), ShiftLuminance(color, 35));
        QCOMPARE(canvas.Pixels(3, kSize - 1), ShiftLuminance(color, 10));
    }

    void notifications()
    {
        TOrvoGradientButton gradient;
        int changes = 0;
        gradient.OnChange = [&](TOrvoGradient* sender) {
            QCOMPARE(sender, &gradient);
            ++changes;
        };
        gradient.SetStartColor(clWindow);
        gradient.SetShadowFactor(TOrvoGradient::DefaultShadowFactor);
        QCOMPARE(changes, 0);
        gradient.SetSwapColors(true);
        gradient.SetCells({gcSelectedRow});
        QCOMPARE(changes, 2);

        TOrvoGradientBackground other;
        other.SetHotColor(clRed);
        other.SetAlternateEndColor(clLime);
        gradient.Assign(&other);
        QCOMPARE(changes, 2);
        QCOMPARE(gradient.HotColor(), clRed);
        QCOMPARE(gradient.AlternateEndColor(), clLime);
        QCOMPARE(gradient.Options(), TOrvoGradientOptions{goGradient});
        QVERIFY(!gradient.SwapColors());

        other.SetDirection(gdHorizontal);
        QVERIFY(gradient.UpdateFrom(&other));
        QCOMPARE(changes, 3);
        QCOMPARE(gradient.Direction(), gdHorizontal);
        QVERIFY(!gradient.UpdateFrom(&other));
        QVERIFY(!gradient.UpdateFrom(nullptr));
        QCOMPARE(changes, 3);

        QObject stranger;
        QVERIFY_THROWS_EXCEPTION(EConvertError, gradient.Assign(&stranger));
    }

    void defaultsAndPublishedProperties()
    {
        TOrvoGradientBackground background;
        TOrvoGradientButton button;
        QCOMPARE(background.Options(), TOrvoGradientOptions{goGradient});
        QCOMPARE(button.Options(), (TOrvoGradientOptions{goGradient, goHotButton}));
        QCOMPARE(button.StartColor(), clWindow);
        QCOMPARE(button.EndColor(), clDefault);
        QCOMPARE(button.ShadowFactor(), -25);
        QCOMPARE(button.Direction(), gdVertical);
        QCOMPARE(button.GetDefaultHotColor(), TColor(0x00EFD3C6));
        QVERIFY(button.setProperty("StartColor", int(clRed)));
        QCOMPARE(button.StartColor(), clRed);
        QCOMPARE(background.metaObject()->indexOfProperty("Options"), -1);
        QVERIFY(button.metaObject()->indexOfProperty("Options") >= 0);
        QCOMPARE(TOrvoGradient().metaObject()->indexOfProperty("StartColor"), -1);
    }

    void activeRules()
    {
        TOrvoGradientButton gradient;
        TSystemProfile profile;
        profile.SetThemesEnabled(true);
        TSystemProfile::SetCurrent(profile);
        QVERIFY(!gradient.IsActive(false));
        QVERIFY(gradient.IsActive(true));
        QVERIFY(gradient.IsHotActive(true));
        profile.SetThemesEnabled(false);
        TSystemProfile::SetCurrent(profile);
        QVERIFY(gradient.IsActive(false));
        gradient.SetOptions({goGradient});
        QVERIFY(!gradient.IsHotActive(false));
        SetGradientsEnabled(false);
        QVERIFY(!gradient.IsActive(true));
        SetGradientsEnabled(true);
        gradient.SetActive(false);
        QVERIFY(!gradient.IsActive(true));
    }
};

QTEST_MAIN(TstGradient)
#include "tst_gradient.moc"
