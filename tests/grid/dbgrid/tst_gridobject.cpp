#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/common/tgridsettingsguard.h"
#include "grid/common/tsampletable.h"
#include "grid/dbgrid/orvolistsettings.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "grid/dbgrid/torvodbgridgradient.h"
#include "grid/totals/torvodbgridtotals.h"
#include "platform/core/exceptions.h"
#include "platform/core/tsystemprofile.h"
#include "platform/data/tdatasource.h"
#include "platform/data/tfields.h"
#include "platform/graphics/colorutils.h"
#include "platform/graphics/tcustomimagelist.h"
#include "platform/sqlite/tsqlitetable.h"

#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include <optional>

using namespace orvo;

class TestGridObject : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void defaultsAfterConstruction();
    void koreanSystemsShowTheEditorAlways();
    void rowSelectRemovesEditing();
    void baseOptionsFollowOptions();
    void totalRowsForceBlankRowAndSelectedTotalsDropCalcSelected();
    void resizeOptionsDropWidthsWithoutResize();
    void clamps_data();
    void clamps();
    void linesCountLimits();
    void noLimitIsNotClampedIntoALimit();
    void colourResolution_data();
    void colourResolution();
    void selectionDefaultsFollowTheSystem();
    void drawingOptionsMirrorColours();
    void drawingStyleFollowsThemeAndGradient();
    void fixedColorMovesFollowers();
    void masterGridChainsAndSynchronises();
    void masterGridChainDoesNotDependOnItsOrder_data();
    void masterGridChainDoesNotDependOnItsOrder();
    void masterGridCycleIsRefused();
    void masterGridCycleReadWhileLoadingIsRefusedAtLoaded();
    void stretchModeIsOffWhileChained();
    void removedComponentsAreForgotten();
    void titleFontOfItsOwnEndsParentFont();
    void delayedUpdatesWaitForTheProgramDelay();
    void flushUpdatesRunsWhatIsPending();
    void filterPassesThroughToTheDataSet();
    void emptyGridShowsItsFrame();
    void gridWithDataShowsAColumnPerField();

private:
    /// Tests change the system profile and the update delay; every one gets them back.
    std::optional<test::TGridSettingsGuard> FSettings;
};

void TestGridObject::init()
{
    FSettings.emplace();
}

void TestGridObject::cleanup()
{
    FSettings.reset();
}

void TestGridObject::defaultsAfterConstruction()
{
    TOrvoDBGrid grid;
    QCOMPARE(grid.Options(), TOrvoCustomDBGrid::DefaultOptions);
    QCOMPARE(grid.OptionsEx(), TOrvoCustomDBGrid::DefaultOptionsEx);
    QCOMPARE(grid.OptionsExt(), TOrvoCustomDBGrid::DefaultOptionsExt);
    QVERIFY(grid.Options().Contains(dgTitleWidthOff));
    QVERIFY(!grid.Options().Contains(dgAlwaysShowEditor));
    QCOMPARE(grid.DrawingOptions(), TOrvoCustomDBGrid::DefaultDrawingOptions);
    QCOMPARE(grid.ToolMenuItems().Bits(), quint64(8107));
    QVERIFY(!grid.ToolMenuItems().Contains(tmShowColumns));
    QCOMPARE(grid.ToolMenuSubItems().Bits(), quint64(4194303));
    QCOMPARE(grid.ToolMenuSubItemsEx().Bits(), quint64(1023));
    QCOMPARE(grid.IndicatorWidth(), 20);
    QCOMPARE(grid.FillerIndex(), -7);
    QCOMPARE(grid.DefaultWidthMax(), -1);
    QCOMPARE(grid.LinesCountMin(), 1);
    QCOMPARE(grid.ScrollBars(), ssBoth);
    QCOMPARE(grid.TCustomGrid::ScrollBars(), ssHorizontal);
    QCOMPARE(grid.Color(), clWindow);
    QCOMPARE(grid.FixedColor(), clBtnFace);
    QCOMPARE(grid.EditorColor(), clNone);
    QCOMPARE(grid.SelectCellColor(), clDefault);
    QCOMPARE(grid.MultiSelectOptions(), TMultiSelectOptions{msRows});
    QCOMPARE(grid.ResizeOptions(), TOrvoCustomDBGrid::DefaultResizeOptions);
    QCOMPARE(grid.HintOptions(), TOrvoCustomDBGrid::DefaultHintOptions);
    QVERIFY(grid.Ctl3DAuto());
    QVERIFY(grid.DefaultDrawing());
    QVERIFY(grid.DataSource() == nullptr);
    // Every owned part exists from the start, and the glyph lists hold their strips.
    QVERIFY(grid.Columns() && grid.FilterGrid() && grid.Search() && grid.TreeView() && grid.GridStyle() &&
            grid.ScrollProp() && grid.Settings() && grid.Gradient() && grid.Totals() && grid.DataLink());
    QCOMPARE(grid.IndicatorList()->Count(), 27);
    QCOMPARE(grid.CheckBoxList()->Count(), 9);
    QCOMPARE(grid.ExpandBoxList()->Count(), 9);
    QVERIFY(TOrvoCustomDBGrid::ScratchBitmap() != nullptr);
    // The program-wide settings start as documented.
    QCOMPARE(TOrvoCustomDBGrid::UpdateDelay(), 200);
    QCOMPARE(TOrvoListSettings::MaxListRows(), 20);
    QCOMPARE(TOrvoListSettings::MaxListWidth(), 800);
    QCOMPARE(TOrvoListSettings::ListAnimationDelay(), 8);
    QVERIFY(TOrvoListSettings::ListMouseTracking());
    QCOMPARE(TOrvoListSettings::ListCaptions().size(), 5);
    // Published names and enumeration names are readable by name.
    QCOMPARE(grid.property("IndicatorWidth").toInt(), 20);
    QVERIFY(grid.setProperty("FixedStyle", QVariant::fromValue(fsGray)));
    QCOMPARE(grid.FixedStyle(), fsGray);
}

void TestGridObject::koreanSystemsShowTheEditorAlways()
{
    TSystemProfile korean;
    korean.SetPrimaryLanguageId(TSystemProfile::LangKorean);
    TSystemProfile::SetCurrent(korean);
    TOrvoDBGrid grid;
    QVERIFY(grid.Options().Contains(dgAlwaysShowEditor));
}

void TestGridObject::rowSelectRemovesEditing()
{
    TOrvoDBGrid grid;
    grid.SetOptions(grid.Options() + TOrvoDBGridOptions{dgRowSelect, dgAlwaysShowEditor});
    QVERIFY(grid.Options().Contains(dgRowSelect));
    QVERIFY(!grid.Options().Contains(dgEditing));
    QVERIFY(!grid.Options().Contains(dgAlwaysShowEditor));
    QVERIFY(grid.TCustomGrid::Options().Contains(goRowSelect));
    QVERIFY(!grid.TCustomGrid::Options().Contains(goEditing));
}

void TestGridObject::baseOptionsFollowOptions()
{
    TOrvoDBGrid grid;
    TGridOptions base = grid.TCustomGrid::Options();
    QVERIFY(base.Contains(goVertLine) && base.Contains(goHorzLine) && base.Contains(goColSizing) &&
            base.Contains(goColMoving) && base.Contains(goRowSizing) && base.Contains(goTabs) &&
            base.Contains(goEditing));
    // The grid draws the lines of fixed cells itself.
    QVERIFY(!base.Contains(goFixedVertLine) && !base.Contains(goFixedHorzLine));

    grid.SetOptions(grid.Options() - TOrvoDBGridOptions{dgColLines, dgColumnResize, dgTabs} +
                    TOrvoDBGridOptions{dgThumbTracking});
    base = grid.TCustomGrid::Options();
    QVERIFY(!base.Contains(goVertLine));
    QVERIFY(!base.Contains(goColSizing) && !base.Contains(goColMoving));
    QVERIFY(!base.Contains(goTabs));
    QVERIFY(base.Contains(goThumbTracking));
}

void TestGridObject::totalRowsForceBlankRowAndSelectedTotalsDropCalcSelected()
{
    TOrvoDBGrid grid;
    grid.SetOptionsEx(grid.OptionsEx() + TOrvoDBGridOptionsEx{dgTotalFooter});
    QVERIFY(grid.OptionsEx().Contains(dgTotalFooter));
    QVERIFY(grid.OptionsEx().Contains(dgBlankRow));

    // With nothing selected, auto-hidden selected totals keep their rows off.
    grid.SetOptionsEx(grid.OptionsEx() + TOrvoDBGridOptionsEx{dgTotalValuesSelected});
    QVERIFY(!grid.OptionsEx().Contains(dgCalcSelectedRows));
    QVERIFY(!grid.OptionsEx().Contains(dgTotalValues));

    grid.SetOptionsEx(grid.OptionsEx() - TOrvoDBGridOptionsEx{dgSelectedAutoHidden});
    grid.SetOptionsEx(grid.OptionsEx() + TOrvoDBGridOptionsEx{dgTotalValues, dgCalcSelectedRows});
    QVERIFY(grid.OptionsEx().Contains(dgTotalValues));
    QVERIFY(!grid.OptionsEx().Contains(dgCalcSelectedRows));
}

void TestGridObject::resizeOptionsDropWidthsWithoutResize()
{
    TOrvoDBGrid grid;
    grid.SetResizeOptions({roColumnMoving, roOptimalWidth, roDefaultWidth});
    QCOMPARE(grid.ResizeOptions(), TOrvoResizeOptions{roColumnMoving});
}

void TestGridObject::clamps_data()
{
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<int>("written");
    QTest::addColumn<int>("stored");
    QTest::newRow("indicator too narrow") << QByteArray("IndicatorWidth") << 5 << 11;
    QTest::newRow("indicator wide") << QByteArray("IndicatorWidth") << 30 << 30;
    QTest::newRow("line width zero") << QByteArray("GridLineWidth") << 0 << 1;
    QTest::newRow("line width negative") << QByteArray("GridLineWidth") << -3 << 1;
    QTest::newRow("wheel rows below -1") << QByteArray("WheelScrollRows") << -5 << -1;
    QTest::newRow("wheel rows") << QByteArray("WheelScrollRows") << 3 << 3;
    QTest::newRow("title lines zero") << QByteArray("TitleLinesCount") << 0 << 1;
    QTest::newRow("header lines negative") << QByteArray("HeaderLinesCount") << -1 << 1;
    QTest::newRow("fixed cols negative") << QByteArray("FixedCols") << -2 << 0;
    QTest::newRow("width max below -1 ignored") << QByteArray("DefaultWidthMax") << -7 << -1;
    QTest::newRow("stretch min below -1 ignored") << QByteArray("StretchWidthMin") << -2 << -1;
    QTest::newRow("lines count 0") << QByteArray("LinesCount") << 0 << 1;
    QTest::newRow("lines count negative ignored") << QByteArray("LinesCount") << -4 << 1;
}

void TestGridObject::clamps()
{
    QFETCH(QByteArray, property);
    QFETCH(int, written);
    QFETCH(int, stored);
    TOrvoDBGrid grid;
    QVERIFY(grid.setProperty(property.constData(), written));
    QCOMPARE(grid.property(property.constData()).toInt(), stored);
}

void TestGridObject::linesCountLimits()
{
    TOrvoDBGrid grid;
    grid.SetLinesCount(5);
    QCOMPARE(grid.LinesCount(), 5);
    grid.SetLinesCountMax(3);
    QCOMPARE(grid.LinesCount(), 3);
    grid.SetLinesCountMin(4);
    QCOMPARE(grid.LinesCountMin(), 3);
    QCOMPARE(grid.LinesCount(), 3);
    grid.SetLinesCount(9);
    QCOMPARE(grid.LinesCount(), 3);
    grid.SetLinesCountMax(2);
    QCOMPARE(grid.LinesCountMax(), 3); // raised to the minimum
}

void TestGridObject::noLimitIsNotClampedIntoALimit()
{
    TOrvoDBGrid grid;
    grid.SetLinesCountMin(3);
    grid.SetLinesCountMax(-1);
    QCOMPARE(grid.LinesCountMax(), -1);
    grid.SetLinesCount(40);
    QCOMPARE(grid.LinesCount(), 40);

    grid.SetDefaultWidthMin(50);
    grid.SetDefaultWidthMax(-1);
    QCOMPARE(grid.DefaultWidthMax(), -1);
    grid.SetDefaultWidthMax(20);
    QCOMPARE(grid.DefaultWidthMax(), 50);
    grid.SetDefaultWidthMax(-1);
    grid.SetDefaultWidthMin(-1);
    QCOMPARE(grid.DefaultWidthMin(), -1);
    grid.SetStretchWidthMax(100);
    grid.SetStretchWidthMin(200);
    QCOMPARE(grid.StretchWidthMin(), 100);
}

void TestGridObject::colourResolution_data()
{
    QTest::addColumn<TColor>("property");
    QTest::addColumn<TColor>("inUse");
    QTest::addColumn<TColor>("expected");
    const TColor computed = 0x123456;
    QTest::newRow("default") << clDefault << TColor(clRed) << computed;
    QTest::newRow("explicit") << TColor(clLime) << TColor(clRed) << TColor(clLime);
    QTest::newRow("none keeps the colour in use") << clNone << TColor(clRed) << TColor(clRed);
    QTest::newRow("none over a default in use") << clNone << clDefault << computed;
}

void TestGridObject::colourResolution()
{
    QFETCH(TColor, property);
    QFETCH(TColor, inUse);
    QFETCH(TColor, expected);
    QCOMPARE(TOrvoCustomDBGrid::ResolveColor(property, 0x123456, inUse), expected);
}

void TestGridObject::selectionDefaultsFollowTheSystem()
{
    TSystemProfile older;
    older.SetMajorVersion(5);
    older.SetMinorVersion(1);
    TSystemProfile::SetCurrent(older);
    QCOMPARE(TOrvoCustomDBGrid::DefaultSelectionColor(true), clGradientActiveCaption);
    QCOMPARE(TOrvoCustomDBGrid::DefaultSelectRowColor(false), clGradientInactiveCaption);

    TSystemProfile vista;
    vista.SetMajorVersion(6);
    vista.SetMinorVersion(1);
    TSystemProfile::SetCurrent(vista);
    QCOMPARE(TOrvoCustomDBGrid::DefaultSelectCellColor(true), TColor(0xE86800));
    QCOMPARE(TOrvoCustomDBGrid::DefaultSelectCellColor(false), TColor(0xFF7D13));
    QCOMPARE(TOrvoCustomDBGrid::DefaultSelectRowColor(false), TColor(0xEBB99D));

    TSystemProfile::SetCurrent(TSystemProfile()); // the newest system
    QCOMPARE(TOrvoCustomDBGrid::DefaultSelectionColor(false), clHighlight);
    QCOMPARE(TOrvoCustomDBGrid::DefaultSelectCellColor(false), ShiftLuminance(clHighlight, -10));
}

void TestGridObject::drawingOptionsMirrorColours()
{
    TOrvoDBGrid grid;
    grid.SetStripeColor(clSilver);
    QVERIFY(grid.DrawingOptions().Contains(gdoStripedRows));
    grid.SetSelectRowColor(clNone);
    QVERIFY(!grid.DrawingOptions().Contains(gdoSelectedRow));
    grid.Totals()->SetSelectedColor(clNone);
    QVERIFY(!grid.DrawingOptions().Contains(gdoTotalSelected));

    grid.SetDrawingOptions(grid.DrawingOptions() + TGridDrawingOptions{gdoEditorColor, gdoSelectedRow} -
                           TGridDrawingOptions{gdoHighlightText, gdoStripedRows});
    QCOMPARE(grid.EditorColor(), clDefault);
    QCOMPARE(grid.SelectRowColor(), clDefault);
    QCOMPARE(grid.HighlightText(), clNone);
    QCOMPARE(grid.StripeColor(), clNone);
    // Members that did not change keep their colours.
    QCOMPARE(grid.SelectCellColor(), clDefault);
    grid.SetDrawingOptions(grid.DrawingOptions() + TGridDrawingOptions{gdoTotalSelected});
    QCOMPARE(grid.Totals()->SelectedColor(), clDefault);
}

void TestGridObject::drawingStyleFollowsThemeAndGradient()
{
    TOrvoDBGrid grid;
    grid.SetFixedTheme(ftNone);
    grid.Gradient()->SetActive(false);
    QCOMPARE(grid.DrawingStyle(), gdsClassic);
    grid.SetDrawingStyle(gdsThemed);
    QCOMPARE(grid.FixedTheme(), ftDefault);
    QVERIFY(grid.Gradient()->Active());
    QCOMPARE(grid.DrawingStyle(), gdsThemed);
    grid.SetDrawingStyle(gdsGradient);
    QCOMPARE(grid.FixedTheme(), ftNone);
    QCOMPARE(grid.DrawingStyle(), gdsGradient);
    grid.SetDrawingStyle(gdsClassic);
    QVERIFY(!grid.Gradient()->Active());
}

void TestGridObject::fixedColorMovesFollowers()
{
    TOrvoDBGrid grid;
    grid.SetHeaderColor(clYellow);
    grid.SetFixedColor(clTeal);
    QCOMPARE(grid.FillerColor(), clTeal);
    QCOMPARE(grid.HeaderColor(), clYellow);
    QCOMPARE(grid.Totals()->Color(), clTeal);
    grid.SetHeaderColor(clTeal); // set back to the fixed colour: it follows again
    grid.SetFixedColor(clNavy);
    QCOMPARE(grid.HeaderColor(), clNavy);
}

void TestGridObject::masterGridChainsAndSynchronises()
{
    TOrvoDBGrid master, second, third;
    second.SetMasterGrid(&master);
    third.SetMasterGrid(&second);
    QCOMPARE(master.NextGrid(), &second);
    QVERIFY(second.NextGrid() != nullptr);
    QVERIFY(third.NextGrid() != nullptr);

    master.SetIndicatorWidth(33);
    master.SetFixedCols(1);
    master.SynchronizeNextGrids();
    QCOMPARE(second.IndicatorWidth(), 33);
    QCOMPARE(third.IndicatorWidth(), 33);
    QCOMPARE(third.FixedColsProperty(), 1);

    second.SetMasterGrid(nullptr);
    QVERIFY(second.MasterGrid() == nullptr);
    third.SetMasterGrid(nullptr);
    QVERIFY(master.NextGrid() == nullptr);
    QVERIFY(third.NextGrid() == nullptr);
}

void TestGridObject::masterGridChainDoesNotDependOnItsOrder_data()
{
    QTest::addColumn<bool>("detailFirst");
    QTest::newRow("detail named first") << true;
    QTest::newRow("master named first") << false;
}

void TestGridObject::masterGridChainDoesNotDependOnItsOrder()
{
    // b follows a, a follows c: whatever the order the links were made in, a change in any
    // of them reaches the other two — the first change of a grid never laid out included.
    QFETCH(bool, detailFirst);
    TOrvoDBGrid a, b, c;
    if (detailFirst) {
        b.SetMasterGrid(&a);
        a.SetMasterGrid(&c);
    } else {
        a.SetMasterGrid(&c);
        b.SetMasterGrid(&a);
    }
    QCOMPARE(b.MasterGrid(), &a);
    QCOMPARE(a.MasterGrid(), &c);
    int width = 30;
    for (TOrvoDBGrid* changed : {&a, &b, &c, &a}) {
        changed->SetIndicatorWidth(++width);
        for (const TOrvoDBGrid* grid : {&a, &b, &c})
            QCOMPARE(grid->IndicatorWidth(), width);
    }
    // The ring holds all three exactly once.
    QList<const TOrvoCustomDBGrid*> ring{&a};
    for (const TOrvoCustomDBGrid* next = a.NextGrid(); next && next != &a; next = next->NextGrid())
        ring << next;
    QCOMPARE(ring.size(), 3);

    // Leaving takes only the grid's own link away: b stays chained to a, a leaves c.
    a.SetMasterGrid(nullptr);
    a.SetIndicatorWidth(50);
    QCOMPARE(b.IndicatorWidth(), 50);
    QCOMPARE(c.IndicatorWidth(), width);
    c.SetIndicatorWidth(60);
    QCOMPARE(a.IndicatorWidth(), 50);
    QCOMPARE(c.NextGrid(), nullptr);
}

void TestGridObject::masterGridCycleIsRefused()
{
    TOrvoDBGrid a, b, c;
    b.SetMasterGrid(&a);
    c.SetMasterGrid(&b);
    QVERIFY_THROWS_EXCEPTION(EInvalidGridOperation, a.SetMasterGrid(&c));
    QVERIFY(a.MasterGrid() == nullptr);
    QVERIFY_THROWS_EXCEPTION(EInvalidGridOperation, a.SetMasterGrid(&a));
    try {
        a.SetMasterGrid(&b);
        QFAIL("a cycle of two was accepted");
    } catch (const EInvalidGridOperation& e) {
        QCOMPARE(e.Message(), QStringLiteral("Circular datalinks are not allowed"));
    }
}

void TestGridObject::masterGridCycleReadWhileLoadingIsRefusedAtLoaded()
{
    TOrvoDBGrid a, b;
    a.BeginLoad();
    b.BeginLoad();
    a.SetMasterGrid(&b);
    b.SetMasterGrid(&a);
    QVERIFY_THROWS_EXCEPTION(EInvalidGridOperation, b.Loaded());
    QVERIFY(b.MasterGrid() == nullptr);
    QVERIFY(!b.IsLoading());
    a.Loaded(); // the cycle is broken: the rest of the chain stands
    QCOMPARE(a.MasterGrid(), &b);
    // What is left is a plain chain that synchronises without running in circles.
    b.SynchronizeNextGrids();
    a.SynchronizeNextGrids();
}

void TestGridObject::stretchModeIsOffWhileChained()
{
    TOrvoDBGrid master, grid;
    grid.SetStretchMode(true);
    QVERIFY(grid.StretchMode());
    grid.SetMasterGrid(&master);
    QVERIFY(!grid.StretchMode());
    grid.SetStretchMode(true);
    QVERIFY(!grid.StretchMode());
}

void TestGridObject::removedComponentsAreForgotten()
{
    TOrvoDBGrid grid;
    auto* menu = new QMenu;
    auto* images = new TCustomImageList(16, 16);
    auto* source = new TDataSource;
    auto* master = new TOrvoDBGrid;
    grid.SetPopupMenu(menu);
    grid.SetFillerPopupMenu(menu);
    grid.SetIndicatorPopupMenu(menu);
    grid.SetTitleImages(images);
    grid.SetIndicatorImages(images);
    grid.SetTitleMarkers(images);
    grid.SetDataSource(source);
    grid.SetMasterGrid(master);
    delete menu;
    delete images;
    delete source;
    delete master;
    QVERIFY(grid.PopupMenu() == nullptr);
    QVERIFY(grid.FillerPopupMenu() == nullptr);
    QVERIFY(grid.IndicatorPopupMenu() == nullptr);
    QVERIFY(grid.TitleImages() == nullptr);
    QVERIFY(grid.IndicatorImages() == nullptr);
    QVERIFY(grid.TitleMarkers() == nullptr);
    QVERIFY(grid.DataSource() == nullptr);
    QVERIFY(grid.MasterGrid() == nullptr);
    QVERIFY(grid.NextGrid() == nullptr);
    grid.resize(200, 100);
    QVERIFY(!grid.grab().isNull());
}

void TestGridObject::titleFontOfItsOwnEndsParentFont()
{
    QWidget window;
    auto* grid = new TOrvoDBGrid(&window);
    QVERIFY(grid->ParentFont());
    QFont bigger = window.font();
    bigger.setPointSize(bigger.pointSize() + 6);
    window.setFont(bigger);
    QCOMPARE(grid->TitleFont().ToQFont().pointSize(), bigger.pointSize());
    QCOMPARE(grid->HeaderFont().ToQFont().pointSize(), bigger.pointSize());

    TFont title = grid->TitleFont();
    title.SetSize(30);
    grid->SetTitleFont(title);
    QVERIFY(!grid->ParentFont());
    bigger.setPointSize(bigger.pointSize() + 2);
    window.setFont(bigger);
    QCOMPARE(grid->TitleFont().Size(), 30);
}

void TestGridObject::delayedUpdatesWaitForTheProgramDelay()
{
    TOrvoCustomDBGrid::SetUpdateDelay(50);
    TOrvoDBGrid grid;
    int listUpdates = 0;
    int totalsUpdates = 0;
    grid.OnListItemsUpdated = [&](QObject*) { ++listUpdates; };
    grid.OnTotalsUpdated = [&](QObject*) { ++totalsUpdates; };
    grid.SetOptionsEx(grid.OptionsEx() + dgTotalFooter); // totals are calculated only for a total row
    QCOMPARE(totalsUpdates, 1);
    totalsUpdates = 0;

    // Hidden, nothing waits.
    grid.UpdateListItems();
    QCOMPARE(listUpdates, 1);

    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    grid.UpdateListItems();
    grid.UpdateListItems();
    grid.UpdateTotals(false);
    QCOMPARE(listUpdates, 1);
    QCOMPARE(totalsUpdates, 0);
    QTRY_COMPARE(listUpdates, 2); // two requests within the delay run once
    QTRY_COMPARE(totalsUpdates, 1);
    QTest::qWait(120);
    QCOMPARE(listUpdates, 2);

    // Without its delay option the update runs at once.
    grid.SetOptionsEx(grid.OptionsEx() - TOrvoDBGridOptionsEx{dgDelayUpdateTotals});
    grid.UpdateTotals(false);
    QCOMPARE(totalsUpdates, 2);
}

void TestGridObject::flushUpdatesRunsWhatIsPending()
{
    TOrvoDBGrid grid;
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    int listUpdates = 0;
    grid.OnListItemsUpdated = [&](QObject*) { ++listUpdates; };
    grid.UpdateListItems();
    QCOMPARE(listUpdates, 0);
    grid.FlushUpdates();
    QCOMPARE(listUpdates, 1);
    QTest::qWait(300);
    QCOMPARE(listUpdates, 1);
}

void TestGridObject::filterPassesThroughToTheDataSet()
{
    test::TSampleTable customers;
    TSQLiteTable& table = customers.Table;
    table.Open();
    TOrvoDBGrid grid;
    grid.SetDataSource(&customers.Source);

    grid.SetFilter(QStringLiteral("city = 'Oslo'"));
    grid.SetFiltered(true);
    QCOMPARE(table.Filter(), QStringLiteral("city = 'Oslo'"));
    QVERIFY(table.Filtered());
    QCOMPARE(grid.Filter(), table.Filter());
    QCOMPARE(table.RecordCount(), 5);

    table.SetFiltered(false);
    QVERIFY(!grid.Filtered());
}

void TestGridObject::emptyGridShowsItsFrame()
{
    QWidget window;
    window.resize(300, 200);
    auto* grid = new TOrvoDBGrid(&window);
    grid->SetFixedTheme(ftNone); // classic fixed cells: a flat button face
    grid->setGeometry(0, 0, 300, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(grid->FixedRows(), 1);
    QCOMPARE(grid->TCustomGrid::FixedCols(), 1);
    QCOMPARE(grid->ColWidths(0), grid->IndicatorWidth());
    const QImage image = grid->viewport()->grab().toImage();
    QVERIFY(!image.isNull());
    const QRect title = grid->CellRect(1, 0);
    const QRect indicator = grid->CellRect(0, 1);
    QVERIFY(!title.isEmpty() && !indicator.isEmpty());
    const QColor face = grid->palette().color(QPalette::Button);
    QCOMPARE(image.pixelColor(title.center()).rgb(), face.rgb());
    QCOMPARE(image.pixelColor(indicator.center()).rgb(), face.rgb());

    grid->SetOptions(grid->Options() - TOrvoDBGridOptions{dgTitles, dgIndicator});
    QCOMPARE(grid->FixedRows(), 0);
    QCOMPARE(grid->TCustomGrid::FixedCols(), 0);
}

void TestGridObject::gridWithDataShowsAColumnPerField()
{
    test::TSampleTable customers;
    TSQLiteTable& table = customers.Table;
    TOrvoDBGrid grid;
    grid.resize(500, 300);
    grid.SetDataSource(&customers.Source);
    table.Open();
    QCOMPARE(grid.Columns()->Count(), table.Fields()->Count());
    QCOMPARE(grid.ColCount(), table.Fields()->Count() + 1);
    QCOMPARE(grid.Columns()->State(), csDefault);
    QCOMPARE(grid.ColumnByFieldName(QStringLiteral("CITY")), grid.Columns()->Items(2));
    table.Close();
    QVERIFY(!grid.grab().isNull());
}

QTEST_MAIN(TestGridObject)
#include "tst_gridobject.moc"
