#include "platform/core/exceptions.h"
#include "platform/core/tcolor.h"

#include <QColor>
#include <QPalette>
#include <QtTest>

using namespace orvo;

namespace {

// A palette in which every role has its own colour, so that a wrong role shows.
QPalette distinctPalette()
{
    QPalette palette;
    int shade = 1;
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        if (role == QPalette::NoRole)
            continue;
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            palette.setColor(group, QPalette::ColorRole(role), QColor(shade, group * 10, role));
        ++shade;
    }
    return palette;
}

} // namespace

class TstColor : public QObject
{
    Q_OBJECT

private slots:
    void constantsAndComponents()
    {
        QCOMPARE(RGB(0x12, 0x34, 0x56), TColor(0x563412));
        QCOMPARE(GetRValue(clSkyBlue), 0xA6);
        QCOMPARE(GetGValue(clSkyBlue), 0xCA);
        QCOMPARE(GetBValue(clSkyBlue), 0xF0);
        QCOMPARE(clBtnFace, TColor(0xFF00000F));
        QVERIFY(IsSystemColor(clMenuBar));
        QVERIFY(!IsSystemColor(clWhite));
        QVERIFY(!IsSystemColor(clNone));
        QVERIFY(!IsSystemColor(clDefault));
    }

    void systemColorsResolveThroughThePalette_data()
    {
        QTest::addColumn<TColor>("color");
        QTest::addColumn<int>("group");
        QTest::addColumn<int>("role");
        QTest::newRow("button face") << clBtnFace << int(QPalette::Active) << int(QPalette::Button);
        QTest::newRow("window") << clWindow << int(QPalette::Active) << int(QPalette::Base);
        QTest::newRow("window text") << clWindowText << int(QPalette::Active) << int(QPalette::Text);
        QTest::newRow("highlight") << clHighlight << int(QPalette::Active) << int(QPalette::Highlight);
        QTest::newRow("highlight text")
            << clHighlightText << int(QPalette::Active) << int(QPalette::HighlightedText);
        QTest::newRow("button shadow") << clBtnShadow << int(QPalette::Active) << int(QPalette::Dark);
        QTest::newRow("button highlight") << clBtnHighlight << int(QPalette::Active) << int(QPalette::Light);
        QTest::newRow("grey text") << clGrayText << int(QPalette::Disabled) << int(QPalette::Text);
        QTest::newRow("3D dark shadow") << cl3DDkShadow << int(QPalette::Active) << int(QPalette::Shadow);
        QTest::newRow("3D light") << cl3DLight << int(QPalette::Active) << int(QPalette::Midlight);
        QTest::newRow("info background") << clInfoBk << int(QPalette::Active) << int(QPalette::ToolTipBase);
        QTest::newRow("info text") << clInfoText << int(QPalette::Active) << int(QPalette::ToolTipText);
        QTest::newRow("button text") << clBtnText << int(QPalette::Active) << int(QPalette::ButtonText);
        QTest::newRow("hot light") << clHotLight << int(QPalette::Active) << int(QPalette::Link);
        QTest::newRow("menu") << clMenu << int(QPalette::Active) << int(QPalette::Window);
    }
    void systemColorsResolveThroughThePalette()
    {
        QFETCH(TColor, color);
        QFETCH(int, group);
        QFETCH(int, role);
        const QPalette palette = distinctPalette();
        const QColor expected = palette.color(QPalette::ColorGroup(group), QPalette::ColorRole(role));
        QCOMPARE(ToQColor(color, palette), expected);
        QCOMPARE(ColorToRGB(color, palette), RGB(expected.red(), expected.green(), expected.blue()));
    }

    void everySystemColorResolves()
    {
        const QPalette palette = distinctPalette();
        for (int index = 0; index <= 30; ++index) {
            const TColor rgb = ColorToRGB(TColor(0xFF000000u | quint32(index)), palette);
            QVERIFY(!IsSystemColor(rgb));
            QCOMPARE(rgb & ~0x00FFFFFF, 0);
        }
    }

    void plainColorsAndSentinels()
    {
        const QPalette palette = distinctPalette();
        QCOMPARE(ColorToRGB(clTeal, palette), clTeal);
        QCOMPARE(ColorToRGB(clNone), clNone);
        QCOMPARE(ColorToRGB(clDefault), clDefault);
        QCOMPARE(ToQColor(clRed), QColor(255, 0, 0));
        QCOMPARE(ToQColor(clNone).alpha(), 0);
        QVERIFY(!ToQColor(clDefault).isValid());
        QCOMPARE(FromQColor(QColor(1, 2, 3, 40)), RGB(1, 2, 3));
        QCOMPARE(FromQColor(QColor()), clNone);
        QVERIFY(!IsSystemColor(ColorToRGB(clBtnFace)));
    }

    void stringRoundTrip_data()
    {
        QTest::addColumn<TColor>("color");
        QTest::addColumn<QString>("text");
        QTest::newRow("standard") << clRed << "clRed";
        QTest::newRow("alias written by first name") << clLtGray << "clSilver";
        QTest::newRow("system") << clBtnFace << "clBtnFace";
        QTest::newRow("3D") << cl3DDkShadow << "cl3DDkShadow";
        QTest::newRow("none") << clNone << "clNone";
        QTest::newRow("default") << clDefault << "clDefault";
        QTest::newRow("unnamed") << RGB(0x40, 0x80, 0xC0) << "$00C08040";
        QTest::newRow("unnamed system index") << TColor(0xFF000019) << "$FF000019";
    }
    void stringRoundTrip()
    {
        QFETCH(TColor, color);
        QFETCH(QString, text);
        QCOMPARE(ColorToString(color), text);
        QCOMPARE(StringToColor(text), color);
    }

    void stringToColorReadsStoredForms_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<TColor>("color");
        QTest::newRow("any case") << "CLWINDOW" << clWindow;
        QTest::newRow("alias") << "clDkGray" << clGray;
        QTest::newRow("hex") << "$000000FF" << clRed;
        QTest::newRow("decimal") << "16711680" << clBlue;
        QTest::newRow("negative system") << "-16777201" << clBtnFace;
    }
    void stringToColorReadsStoredForms()
    {
        QFETCH(QString, text);
        QFETCH(TColor, color);
        QCOMPARE(StringToColor(text), color);
    }

    void stringToColorRejectsOthers()
    {
        for (const char* text : {"clPink", "", "$", "12abc", "$1FFFFFFFF"})
            QVERIFY_THROWS_EXCEPTION(EConvertError, StringToColor(text));
    }
};

QTEST_MAIN(TstColor)
#include "tst_color.moc"
