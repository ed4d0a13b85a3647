#include "common/tsystemprofilescope.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "grid/painting/torvogridstyle.h"
#include "grid/scrolling/torvoscrollprop.h"
#include "grid/settings/torvodbgridsettings.h"
#include "grid/treeview/torvodbgridtreeview.h"
#include "platform/core/exceptions.h"
#include "platform/core/tsystemprofile.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>

#include <optional>

using namespace orvo;

namespace {

using TSpacings = TOrvoGridStyle::TSpacings;
constexpr TSpacings XPSpacings{4, 8, 1, 8, 0, 8};
constexpr TSpacings StandardSpacings{3, 4, 0, 4, 0, 4};

void setThemes(bool on)
{
    TSystemProfile::SetCurrent(test::TSystemProfileScope::WithThemes(on));
}

} // namespace

Q_DECLARE_METATYPE(orvo::TOrvoGridStyle::TSpacings)

/// The grid's spacing presets and its scroll-bar settings: what follows the grid's
/// fixed style and theme, what is set apart, and what Assign carries over.
class TestGridStyle : public QObject
{
    Q_OBJECT

private slots:
    void init() { FProfile.emplace(test::TSystemProfileScope::WithThemes(true)); }
    void cleanup() { FProfile.reset(); }

    void newGridHasTheThemedPreset();
    void settingASpacingMakesTheStyleCustom_data();
    void settingASpacingMakesTheStyleCustom();
    void defaultStyleFollowsTheFixedTheme();
    void assignCopiesValuesThenTheStyle_data();
    void assignCopiesValuesThenTheStyle();
    void assignRefusesOtherClasses();

    void scrollDefaults();
    void styleFollowsFixedStyleUntilSetApart_data();
    void styleFollowsFixedStyleUntilSetApart();
    void colorSetApartAndBack();
    void flatBarsOnlyWithoutThemes_data();
    void flatBarsOnlyWithoutThemes();
    void assignCopiesScrollSettings();

private:
    /// Each test starts with the themes on and leaves the profile it found.
    std::optional<test::TSystemProfileScope> FProfile;
};

void TestGridStyle::newGridHasTheThemedPreset()
{
    TOrvoDBGrid grid;
    TOrvoGridStyle* style = grid.GridStyle();
    QCOMPARE(style->VisualStyle(), vsXPStyle);
    QCOMPARE(style->Spacings(), XPSpacings);
    QVERIFY(!style->IsDataRowSpaceStored());
    QCOMPARE(style->Grid(), &grid);
}

void TestGridStyle::settingASpacingMakesTheStyleCustom_data()
{
    QTest::addColumn<QByteArray>("property");
    for (const char* name : {"DataRowSpace", "HeaderRowSpace", "TitleColMargin", "TitleRowSpace",
                             "TotalColMargin", "TotalRowSpace"})
        QTest::newRow(name) << QByteArray(name);
}

void TestGridStyle::settingASpacingMakesTheStyleCustom()
{
    QFETCH(QByteArray, property);
    TOrvoDBGrid grid;
    TOrvoGridStyle* style = grid.GridStyle();
    const int before = style->property(property).toInt();
    style->setProperty(property, before);
    QCOMPARE(style->VisualStyle(), vsXPStyle); // an unchanged value changes nothing
    style->setProperty(property, 6);
    QCOMPARE(style->property(property).toInt(), 6);
    QCOMPARE(style->VisualStyle(), vsCustom);
    bool stored = false;
    QVERIFY(QMetaObject::invokeMethod(style, "Is" + property + "Stored", Q_RETURN_ARG(bool, stored)));
    QVERIFY(stored);
}

void TestGridStyle::defaultStyleFollowsTheFixedTheme()
{
    TOrvoDBGrid grid;
    grid.SetFixedTheme(ftNone);
    TOrvoGridStyle* style = grid.GridStyle();
    style->SetVisualStyle(vsDefault);
    QCOMPARE(style->VisualStyle(), vsDefault);
    QCOMPARE(style->Spacings(), StandardSpacings);
    grid.SetFixedTheme(ftDefault);
    QCOMPARE(style->VisualStyle(), vsDefault);
    QCOMPARE(style->Spacings(), XPSpacings);

    // Without themes no fixed cell is themed, whatever FixedTheme says.
    setThemes(false);
    style->SetVisualStyle(vsDefault);
    QCOMPARE(style->Spacings(), StandardSpacings);
}

void TestGridStyle::assignCopiesValuesThenTheStyle_data()
{
    QTest::addColumn<int>("sourceStyle");
    QTest::addColumn<TSpacings>("expected");
    QTest::newRow("custom") << int(vsCustom) << TSpacings{9, 9, 2, 9, 3, 9};
    QTest::newRow("standard") << int(vsStandard) << StandardSpacings;
    // vsDefault resolves against the target grid, whose theme is ftNone.
    QTest::newRow("default") << int(vsDefault) << StandardSpacings;
}

void TestGridStyle::assignCopiesValuesThenTheStyle()
{
    QFETCH(int, sourceStyle);
    QFETCH(TSpacings, expected);
    TOrvoDBGrid source;
    source.GridStyle()->SetVisualStyle(TVisualStyle(sourceStyle));
    if (sourceStyle == vsCustom) {
        for (const char* name : {"DataRowSpace", "HeaderRowSpace", "TitleRowSpace", "TotalRowSpace"})
            source.GridStyle()->setProperty(name, 9);
        source.GridStyle()->SetTitleColMargin(2);
        source.GridStyle()->SetTotalColMargin(3);
    }
    TOrvoDBGrid target;
    target.SetFixedTheme(ftNone);
    target.SetGridStyle(source.GridStyle());
    QCOMPARE(target.GridStyle()->VisualStyle(), TVisualStyle(sourceStyle));
    QCOMPARE(target.GridStyle()->Spacings(), expected);
}

void TestGridStyle::assignRefusesOtherClasses()
{
    TOrvoDBGrid grid;
    QVERIFY_THROWS_EXCEPTION(EConvertError, grid.GridStyle()->Assign(grid.ScrollProp()));
    QVERIFY_THROWS_EXCEPTION(EConvertError, grid.ScrollProp()->Assign(nullptr));
    QVERIFY_THROWS_EXCEPTION(EConvertError, grid.TreeView()->Assign(grid.GridStyle()));
    QVERIFY_THROWS_EXCEPTION(EConvertError, grid.Settings()->Assign(grid.TreeView()));
}

void TestGridStyle::scrollDefaults()
{
    TOrvoDBGrid grid;
    const TOrvoScrollProp* props = grid.ScrollProp();
    QCOMPARE(props->AutoHidden(), ssHorizontal);
    QVERIFY(props->AutoStretch());
    QCOMPARE(props->Color(), clBtnHighlight);
    QVERIFY(props->ParentColor());
    QVERIFY(props->ParentStyle());
    QCOMPARE(props->Style(), ssRegular);
    QCOMPARE(props->ThumbBar(), ssBoth);
    QVERIFY(!props->WinXPMode());
    QVERIFY(!props->IsColorStored());
    QVERIFY(!props->IsStyleStored());
}

void TestGridStyle::styleFollowsFixedStyleUntilSetApart_data()
{
    QTest::addColumn<int>("fixedStyle");
    QTest::addColumn<int>("style");
    QTest::newRow("default") << int(fsDefault) << int(ssRegular);
    QTest::newRow("soft") << int(fsSoft) << int(ssRegular);
    QTest::newRow("nice") << int(fsNice) << int(ssFlat);
    QTest::newRow("great") << int(fsGreat) << int(ssFlat);
    QTest::newRow("fine") << int(fsFine) << int(ssFlat);
    QTest::newRow("flat") << int(fsFlat) << int(ssHotTrack);
    QTest::newRow("gray") << int(fsGray) << int(ssHotTrack);
    QTest::newRow("mild") << int(fsMild) << int(ssHotTrack);
}

void TestGridStyle::styleFollowsFixedStyleUntilSetApart()
{
    QFETCH(int, fixedStyle);
    QFETCH(int, style);
    TOrvoDBGrid grid;
    TOrvoScrollProp* props = grid.ScrollProp();
    grid.SetFixedStyle(TFixedStyle(fixedStyle));
    QCOMPARE(props->Style(), TScrollBarStyle(style));

    props->SetStyle(TScrollBarStyle(style)); // even the same look sets it apart
    QVERIFY(!props->ParentStyle());
    QVERIFY(props->IsStyleStored());
    grid.SetFixedStyle(fixedStyle == fsMild ? fsDefault : fsMild);
    QCOMPARE(props->Style(), TScrollBarStyle(style));

    props->SetParentStyle(true);
    QCOMPARE(props->Style(), TOrvoScrollProp::StyleOfFixedStyle(grid.FixedStyle()));
    // Switched off again, the look stays the one it followed.
    props->SetParentStyle(false);
    QCOMPARE(props->Style(), TOrvoScrollProp::StyleOfFixedStyle(grid.FixedStyle()));
}

void TestGridStyle::colorSetApartAndBack()
{
    TOrvoDBGrid grid;
    TOrvoScrollProp* props = grid.ScrollProp();
    props->SetColor(clBtnHighlight);
    QVERIFY(!props->ParentColor()); // assigning clears it, changed or not
    props->SetColor(clRed);
    QCOMPARE(props->Color(), clRed);
    props->SetParentColor(true);
    QVERIFY(props->ParentColor());
    QCOMPARE(props->Color(), clBtnHighlight);
    props->SetParentColor(false);
    QCOMPARE(props->Color(), clBtnHighlight);
}

void TestGridStyle::flatBarsOnlyWithoutThemes_data()
{
    QTest::addColumn<bool>("themes");
    QTest::addColumn<bool>("winXPMode");
    QTest::addColumn<bool>("rightToLeft");
    QTest::addColumn<bool>("flat");
    QTest::newRow("themes") << true << false << false << false;
    QTest::newRow("no themes") << false << false << false << true;
    QTest::newRow("no themes, system bars asked") << false << true << false << false;
    QTest::newRow("no themes, right to left") << false << false << true << false;
}

void TestGridStyle::flatBarsOnlyWithoutThemes()
{
    QFETCH(bool, themes);
    QFETCH(bool, winXPMode);
    QFETCH(bool, rightToLeft);
    QFETCH(bool, flat);
    setThemes(themes);
    TOrvoDBGrid grid;
    grid.SetFixedStyle(fsFlat);
    grid.setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    TOrvoScrollProp* props = grid.ScrollProp();
    props->SetWinXPMode(winXPMode);
    props->SetColor(clYellow);
    props->UseFlatScrollBars();
    QCOMPARE(props->FlatScrollBarsInUse(), flat);
    const QString expected = flat ? TScrollBarStyler::StyleSheet(TScrollBarStyler::sblHotTrack, clYellow,
                                                                 grid.horizontalScrollBar()->palette())
                                  : QString();
    QCOMPARE(grid.horizontalScrollBar()->styleSheet(), expected);
    QCOMPARE(grid.verticalScrollBar()->styleSheet(), expected);

    // Asking for the system's bars afterwards takes the decision again at once.
    props->SetWinXPMode(!winXPMode);
    if (flat) {
        QVERIFY(!props->FlatScrollBarsInUse());
        QVERIFY(grid.horizontalScrollBar()->styleSheet().isEmpty());
    }
}

void TestGridStyle::assignCopiesScrollSettings()
{
    TOrvoDBGrid source;
    TOrvoScrollProp* from = source.ScrollProp();
    from->SetAutoHidden(ssBoth);
    from->SetAutoStretch(false);
    from->SetColor(clAqua);
    from->SetStyle(ssFlat);
    from->SetThumbBar(ssNone);
    from->SetWinXPMode(true);
    TOrvoDBGrid target;
    target.SetScrollProp(from);
    const TOrvoScrollProp* to = target.ScrollProp();
    QCOMPARE(to->AutoHidden(), ssBoth);
    QVERIFY(!to->AutoStretch());
    QCOMPARE(to->Color(), clAqua);
    QVERIFY(!to->ParentColor());
    QCOMPARE(to->Style(), ssFlat);
    QVERIFY(!to->ParentStyle());
    QCOMPARE(to->ThumbBar(), ssNone);
    QVERIFY(to->WinXPMode());
    QCOMPARE(to->Grid(), &target);

    // A style that follows its grid follows the target's grid after the copy.
    source.SetFixedStyle(fsNice);
    from->SetParentStyle(true);
    target.SetFixedStyle(fsGray);
    target.SetScrollProp(from);
    QCOMPARE(to->Style(), ssHotTrack);
}

QTEST_MAIN(TestGridStyle)
#include "tst_grid_style.moc"
