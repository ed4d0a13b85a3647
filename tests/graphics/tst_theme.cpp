#include "platform/core/tsystemprofile.h"
#include "platform/graphics/tcanvas.h"
#include "platform/graphics/tscrollbarstyler.h"
#include "platform/graphics/tthemeservices.h"

#include <QScrollBar>
#include <QtTest>

using namespace orvo;

Q_DECLARE_METATYPE(orvo::TThemedElementDetails)

namespace {

bool hasInk(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 0, 255))
                return true;
    return false;
}

} // namespace

class TstTheme : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { TSystemProfile::SetCurrent(TSystemProfile()); }

    void themesFollowTheProfile()
    {
        TSystemProfile profile;
        profile.SetThemesEnabled(false);
        TSystemProfile::SetCurrent(profile);
        QVERIFY(!ThemeServices().ThemesEnabled());
        TSystemProfile::SetCurrent(TSystemProfile());
        QVERIFY(ThemeServices().ThemesEnabled());
    }

    void elementsDraw_data()
    {
        QTest::addColumn<TThemedElementDetails>("details");
        QTest::newRow("header") << TThemeServices::GetElementDetails(thHeaderItemNormal);
        QTest::newRow("header pressed") << TThemeServices::GetElementDetails(thHeaderItemPressed);
        QTest::newRow("push button hot") << TThemeServices::GetElementDetails(tbPushButtonHot);
        QTest::newRow("check box mixed") << TThemeServices::GetElementDetails(tbCheckBoxMixedNormal);
        QTest::newRow("check box disabled") << TThemeServices::GetElementDetails(tbCheckBoxCheckedDisabled);
        QTest::newRow("radio checked") << TThemeServices::GetElementDetails(tbRadioButtonCheckedNormal);
        QTest::newRow("group box") << TThemeServices::GetElementDetails(tbGroupBoxNormal);
        QTest::newRow("tree closed") << TThemeServices::GetElementDetails(ttGlyphClosed);
        QTest::newRow("tree opened") << TThemeServices::GetElementDetails(ttGlyphOpened);
        QTest::newRow("spin up") << TThemeServices::GetElementDetails(tsUpNormal);
        QTest::newRow("spin right pressed") << TThemeServices::GetElementDetails(tsUpHorzPressed);
        QTest::newRow("scroll left hot") << TThemeServices::GetElementDetails(tsArrowBtnLeftHot);
        QTest::newRow("tab selected") << TThemeServices::GetElementDetails(ttTabItemSelected);
        QTest::newRow("tool button pressed") << TThemeServices::GetElementDetails(ttbButtonPressed);
    }

    void elementsDraw()
    {
        QFETCH(TThemedElementDetails, details);
        QImage image(24, 24, QImage::Format_RGB32);
        image.fill(qRgb(255, 0, 255));
        {
            TCanvas canvas(&image);
            QVERIFY(ThemeServices().DrawElement(canvas, details, QRect(2, 2, 20, 20)));
        }
        QVERIFY(hasInk(image));
    }

    void elementClipping()
    {
        QImage image(24, 24, QImage::Format_RGB32);
        image.fill(qRgb(255, 0, 255));
        {
            TCanvas canvas(&image);
            ThemeServices().DrawElement(canvas, TThemeServices::GetElementDetails(tbPushButtonNormal),
                                        QRect(0, 0, 24, 24), QRect(0, 0, 12, 24));
        }
        for (int y = 0; y < 24; ++y)
            QCOMPARE(image.pixel(20, y), qRgb(255, 0, 255));
    }

    void scrollBarStyling()
    {
        QScrollBar bar(Qt::Vertical);
        TScrollBarStyler::Apply(&bar, TScrollBarStyler::sblFlat, clRed);
        QVERIFY(bar.styleSheet().contains(QLatin1String("#ff0000")));
        QVERIFY(bar.styleSheet().contains(QLatin1String("border: none")));
        TScrollBarStyler::Apply(&bar, TScrollBarStyler::sblHotTrack);
        QVERIFY(bar.styleSheet().contains(QLatin1String(":hover")));
        TScrollBarStyler::Apply(&bar, TScrollBarStyler::sblRegular);
        QVERIFY(bar.styleSheet().isEmpty());
        TScrollBarStyler::Apply(nullptr, TScrollBarStyler::sblFlat);
    }
};

QTEST_MAIN(TstTheme)
#include "tst_theme.moc"
