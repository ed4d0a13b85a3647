#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvocolumnreport.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/common/gridtestwidgets.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "grid/filter/torvodbgridfilter.h"
#include "grid/settings/torvodbgridsettings.h"
#include "platform/core/tinifile.h"
#include "platform/core/tregistryinifile.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace orvo;

namespace {

QString programPath()
{
    return QCoreApplication::applicationFilePath();
}

QString programName()
{
    return QFileInfo(programPath()).completeBaseName();
}

/// A grid named DBGrid1 on a form named Form1, as forms place them.
struct TForm
{
    TForm()
    {
        Form.setObjectName("Form1");
        Grid = new TOrvoDBGrid(&Form);
        Grid->setObjectName("DBGrid1");
    }
    QWidget Form;
    TOrvoDBGrid* Grid;
    TOrvoDBGridSettings* Settings() const { return Grid->Settings(); }
};

} // namespace

/// Where a grid's layout is stored, which lines it is made of, and how loading,
/// saving and the user's own switches treat what is stored.
class TestGridSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();

    void defaults();
    void storageNames_data();
    void storageNames();
    void sections();
    void layoutLinesFollowTheGrid();
    void applyingSwitchesTheGridAndKeepsWhatIsMissing();
    void columnLinesRecordAndRestoreTheColumns();
    void damagedNumbersAreBounded_data();
    void damagedNumbersAreBounded();
    void onLayoutSeesEveryBuildAndApply();
    void saveAndLoadRoundTrip_data();
    void saveAndLoadRoundTrip();
    void nothingIsStoredWithoutASection();
    void userSwitchesKeepTheStoredLayout();
    void userSwitchesDecideTheLoad();
    void assignCopiesEverySetting();

private:
    QTemporaryDir FDir;
};

void TestGridSettings::init()
{
    QDir(TRegistryIniFile::RootPath()).removeRecursively();
}

void TestGridSettings::cleanup()
{
    DefaultRegistryKey() = InitialRegistryKey();
    DefaultIniFileName().clear();
}

void TestGridSettings::defaults()
{
    TForm form;
    const TOrvoDBGridSettings* settings = form.Settings();
    QVERIFY(!settings->Active());
    QVERIFY(settings->ExeName());
    QVERIFY(!settings->IniFile());
    QCOMPARE(settings->Options(), TOrvoSettingsOptions({soLoadLayout, soSaveLayout}));
    QCOMPARE(DefaultRegistryKey(), QString("\\Software\\Orvo Software\\OrvoDBGrid"));
}

void TestGridSettings::storageNames_data()
{
    QTest::addColumn<bool>("iniFile");
    QTest::addColumn<bool>("exeName");
    QTest::addColumn<QString>("registryKey");
    QTest::addColumn<QString>("iniFileName");
    QTest::addColumn<QString>("expected");
    const QString initial = InitialRegistryKey();
    QTest::newRow("registry, program's name") << false << true << initial << ""
                                              << "\\Software\\Orvo Software\\" + programName();
    QTest::newRow("registry, fixed name") << false << false << initial << "" << initial;
    QTest::newRow("registry, program's own key") << false << true << "\\Software\\Maker\\OrvoDBGrid"
                                                 << ""
                                                 << "\\Software\\Maker\\OrvoDBGrid";
    QTest::newRow("ini, program's path") << true << true << initial << "" << programPath() + ".ini";
    QTest::newRow("ini, program's own file") << true << true << initial << "/etc/demo.ini"
                                             << "/etc/demo.ini";
}

void TestGridSettings::storageNames()
{
    QFETCH(bool, iniFile);
    QFETCH(bool, exeName);
    QFETCH(QString, registryKey);
    QFETCH(QString, iniFileName);
    QFETCH(QString, expected);
    DefaultRegistryKey() = registryKey;
    DefaultIniFileName() = iniFileName;
    TForm form;
    TOrvoDBGridSettings* settings = form.Settings();
    settings->SetIniFile(iniFile);
    settings->SetExeName(exeName);
    QCOMPARE(settings->DefaultStorageName(), expected);
    QCOMPARE(settings->StorageName(), expected);
    settings->SetFileName("named.ini");
    QCOMPARE(settings->StorageName(), QString("named.ini"));
}

void TestGridSettings::sections()
{
    TForm form;
    TOrvoDBGridSettings* settings = form.Settings();
    QCOMPARE(settings->DefaultSection(), QString("Form1.DBGrid1"));
    QCOMPARE(settings->Section(), QString("Form1.DBGrid1"));
    settings->SetSection("Orders");
    QCOMPARE(settings->Section(), QString("Orders"));
    QVERIFY(settings->IsSectionStored());
    settings->SetSection("Form1.DBGrid1");
    QVERIFY(!settings->IsSectionStored());

    form.Form.setObjectName(QString());
    QCOMPARE(settings->DefaultSection(), QString("DBGrid1"));
    TOrvoDBGrid unnamed;
    QVERIFY(unnamed.Settings()->DefaultSection().isEmpty());
}

void TestGridSettings::layoutLinesFollowTheGrid()
{
    TForm form;
    TOrvoDBGrid& grid = *form.Grid;
    grid.SetLinesCount(2);
    grid.SetOptions(grid.Options() + dgMultiSelect);
    grid.SetDrawingOptions(grid.DrawingOptions() - gdoSelectedRow + gdoStripedRows);
    grid.FilterGrid()->SetAutoFilter(true);
    grid.FilterGrid()->SetFiltered(false);
    TOrvoDBGridSettings* settings = form.Settings();

    settings->SetOptions({soSaveLayout});
    QVERIFY(settings->Layout().filter("AutoLoadLayout").isEmpty());
    QVERIFY(settings->Layout().filter("LinesCount").isEmpty());

    settings->SetOptions({soSaveLayout, soUserSettings, soLinesCount, soMultiSelect, soSelectedRow,
                          soStripedRows, soAutoFilter, soFiltered});
    const QStringList lines = settings->Layout();
    const QStringList expected{"AutoLoadLayout=0", "AutoSaveLayout=1", "LinesCount=2", "MultiSelect=1",
                               "SelectedRow=0",    "StripedRows=1",    "AutoFilter=1", "Filtered=0"};
    qsizetype previous = -1;
    for (const QString& line : expected) {
        const qsizetype at = lines.indexOf(line);
        QVERIFY2(at > previous, qPrintable(line + " in " + lines.join('|')));
        previous = at;
    }
    QCOMPARE(settings->LayoutLines(), lines);
}

void TestGridSettings::applyingSwitchesTheGridAndKeepsWhatIsMissing()
{
    TForm form;
    TOrvoDBGrid& grid = *form.Grid;
    grid.SetLinesCount(3);
    grid.SetOrderFields("Name");
    TOrvoDBGridSettings* settings = form.Settings();
    settings->SetOptions(
        {soOrderFields, soLinesCount, soMultiSelect, soSelectedRow, soStripedRows, soAutoFilter});

    settings->SetLayout({"linescount=2", "MULTISELECT=1", "StripedRows=1", "SelectedRow=0", "AutoFilter=1"});
    QCOMPARE(grid.LinesCount(), 2);
    QVERIFY(grid.Options().Contains(dgMultiSelect));
    QVERIFY(grid.DrawingOptions().Contains(gdoStripedRows));
    QVERIFY(!grid.DrawingOptions().Contains(gdoSelectedRow));
    QVERIFY(grid.FilterGrid()->AutoFilter());
    QCOMPARE(grid.OrderFields(), QString("Name")); // no OrderFields line: the order stays

    // Malformed or missing values keep the current state; anything but 1 switches off.
    settings->SetLayout({"LinesCount=two", "MultiSelect=", "StripedRows=2", "OrderFields=City DESC"});
    QCOMPARE(grid.LinesCount(), 2);
    QVERIFY(grid.Options().Contains(dgMultiSelect));
    QVERIFY(!grid.DrawingOptions().Contains(gdoStripedRows));
    QVERIFY(grid.FilterGrid()->AutoFilter());
    QCOMPARE(grid.OrderFields(), QString("City DESC"));

    settings->SetLayout({"OrderFields="});
    QVERIFY(grid.OrderFields().isEmpty());
}

namespace {
TOrvoColumn* addColumn(TOrvoDBGrid& grid, const QString& fieldName, int width)
{
    TOrvoColumn* column = grid.Columns()->Add();
    column->SetFieldName(fieldName);
    column->SetWidth(width);
    return column;
}
} // namespace

void TestGridSettings::columnLinesRecordAndRestoreTheColumns()
{
    TForm form;
    TOrvoDBGrid& grid = *form.Grid;
    TOrvoColumn* name = addColumn(grid, "Name", 80);
    TOrvoColumn* city = addColumn(grid, "City", 120);
    TOrvoColumn* phone = addColumn(grid, "Phone", 90);
    city->SetVisible(false);
    grid.SetOrderFields("City DESC");
    TOrvoDBGridSettings* settings = form.Settings();
    settings->SetOptions({soSaveLayout, soOrderFields});
    QCOMPARE(settings->Layout(), QStringList({"Columns=3", "Column1=Name,80,1,0,1", "Column2=City,120,0,0,1",
                                              "Column3=Phone,90,1,0,1", "OrderFields=City DESC"}));
    settings->SetOptions({soStretchMode});
    QCOMPARE(settings->Layout().last(), QString("StretchMode=0"));

    // Another order moves the columns; bad numbers keep the current values; a line for a
    // field without a column is skipped without holding the next line's column back, and
    // the unnamed columns follow in their order.
    settings->SetLayout({"Columns=3", "Column1=phone,70,1,0,0", "Column2=Nope,10,0,0,0",
                         "Column3=Name,x,0,,1", "StretchMode=1"});
    QCOMPARE(grid.Columns()->Items(0), phone);
    QCOMPARE(phone->Width(), 70);
    QVERIFY(!phone->Report()->Visible());
    QCOMPARE(grid.Columns()->Items(1), name);
    QCOMPARE(grid.Columns()->Items(2), city);
    QCOMPARE(name->WidthBase(), 80);
    QVERIFY(!name->VisibleFlag());
    QVERIFY(name->Report()->Visible());
    QVERIFY(grid.StretchMode());

    // A damaged count neither runs long nor touches more than the columns there are.
    settings->SetLayout({"Columns=2000000000", "Column1=City,50,1,0,1"});
    QCOMPARE(grid.Columns()->Items(0), city);
    QCOMPARE(city->Width(), 50);
    QCOMPARE(grid.Columns()->Count(), 3);
}

void TestGridSettings::damagedNumbersAreBounded_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("linesCount");
    QTest::addColumn<int>("width");
    QTest::newRow("largest int") << "2147483647" << TOrvoCustomDBGrid::MaxLinesCount << TOrvoColumn::MaxWidth;
    QTest::newRow("just beyond the bounds")
        << "32768" << TOrvoCustomDBGrid::MaxLinesCount << TOrvoColumn::MaxWidth;
    QTest::newRow("at the bounds") << "1000" << 1000 << 1000;
    QTest::newRow("smallest int") << "-2147483648" << 3 << 80;
    QTest::newRow("beyond int") << "99999999999" << 3 << 80;
}

// Stored layouts may be damaged or edited by hand: whatever they hold, the numbers the
// grid takes from them stay within what its geometry can add up.
void TestGridSettings::damagedNumbersAreBounded()
{
    QFETCH(QString, number);
    QFETCH(int, linesCount);
    QFETCH(int, width);
    TForm form;
    TOrvoDBGrid& grid = *form.Grid;
    TOrvoColumn* name = addColumn(grid, "Name", 80);
    grid.SetLinesCount(3);
    TOrvoDBGridSettings* settings = form.Settings();
    settings->SetOptions({soLinesCount, soFilters});
    settings->SetLayout({"Columns=" + number, "Column1=Name," + number + ",1,0,1", "LinesCount=" + number,
                         "Filters=" + number, "Filter1=Name,,x"});
    QCOMPARE(grid.LinesCount(), linesCount);
    QCOMPARE(name->Width(), width);
    QVERIFY(test::ShowExposed(form.Form, 400, 300));
    QVERIFY(grid.DefaultRowHeight() > 0);
}

void TestGridSettings::onLayoutSeesEveryBuildAndApply()
{
    TForm form;
    QList<bool> applies;
    form.Grid->OnLayout = [&](QObject* sender, QStringList& layout, bool apply) {
        QCOMPARE(sender, form.Grid);
        applies << apply;
        if (!apply)
            layout << "Custom=42";
        else
            QCOMPARE(TOrvoDBGridSettings::LayoutValue(layout, "custom"), QString("42"));
    };
    TOrvoDBGridSettings* settings = form.Settings();
    QVERIFY(settings->Layout().contains("Custom=42"));
    settings->SetLayout({"Custom=42"});
    QCOMPARE(applies, QList<bool>({false, true}));

    // The host's own lines travel with the stored layout.
    settings->SaveSettings();
    settings->LoadSettings();
    QCOMPARE(applies, QList<bool>({false, true, false, true}));
}

void TestGridSettings::saveAndLoadRoundTrip_data()
{
    QTest::addColumn<bool>("iniFile");
    QTest::newRow("registry") << false;
    QTest::newRow("ini file") << true;
}

void TestGridSettings::saveAndLoadRoundTrip()
{
    QFETCH(bool, iniFile);
    const QString iniPath = FDir.filePath("layouts.ini");
    DefaultIniFileName() = iniPath;
    QFile::remove(iniPath);
    TForm form;
    TOrvoDBGrid& grid = *form.Grid;
    TOrvoDBGridSettings* settings = form.Settings();
    settings->SetIniFile(iniFile);
    settings->SetOptions({soLinesCount, soOrderFields});
    grid.SetLinesCount(4);
    grid.SetOrderFields("City DESC, Name");
    QVERIFY(!settings->SettingsExist());
    settings->SaveSettings();
    QVERIFY(settings->SettingsExist());

    const std::unique_ptr<TCustomIniFile> storage = settings->OpenStorage();
    QCOMPARE(storage->FileName(), settings->DefaultStorageName());
    QCOMPARE(storage->ReadString("Form1.DBGrid1", "OrderFields", ""), QString("City DESC, Name"));
    if (iniFile)
        QVERIFY(QFileInfo::exists(iniPath));

    grid.SetLinesCount(1);
    grid.SetOrderFields(QString());
    settings->LoadSettings(storage.get());
    QCOMPARE(grid.LinesCount(), 4);
    QCOMPARE(grid.OrderFields(), QString("City DESC, Name"));

    settings->EraseSettings();
    QVERIFY(!settings->SettingsExist());
    settings->LoadSettings(); // nothing stored: nothing changes
    QCOMPARE(grid.LinesCount(), 4);
    QVERIFY(settings->LayoutLines().isEmpty());
}

void TestGridSettings::nothingIsStoredWithoutASection()
{
    TOrvoDBGrid grid;
    TOrvoDBGridSettings* settings = grid.Settings();
    settings->SetOptions({soLinesCount});
    settings->SaveSettings();
    QVERIFY(!settings->SettingsExist());
    QVERIFY(!QFileInfo::exists(TRegistryIniFile::RootPath()));
    settings->AutoSave();
    QVERIFY(!QFileInfo::exists(TRegistryIniFile::RootPath()));
}

void TestGridSettings::userSwitchesKeepTheStoredLayout()
{
    TForm form;
    TOrvoDBGrid& grid = *form.Grid;
    TOrvoDBGridSettings* settings = form.Settings();
    settings->SetOptions({soLoadLayout, soSaveLayout, soUserSettings, soLinesCount});
    grid.SetLinesCount(3);
    settings->AutoSave();

    // The user switches saving off and changes the grid: the next automatic save
    // writes only the switches.
    settings->SetOptions({soLoadLayout, soUserSettings, soLinesCount});
    grid.SetLinesCount(5);
    settings->AutoSave();
    const std::unique_ptr<TCustomIniFile> storage = settings->OpenStorage();
    const QStringList stored = storage->ReadSectionValues("Form1.DBGrid1");
    QCOMPARE(stored.mid(0, 2), QStringList({"AutoLoadLayout=1", "AutoSaveLayout=0"}));
    QCOMPARE(stored.filter("LinesCount"), QStringList({"LinesCount=3"}));
}

void TestGridSettings::userSwitchesDecideTheLoad()
{
    TForm form;
    TOrvoDBGrid& grid = *form.Grid;
    TOrvoDBGridSettings* settings = form.Settings();
    settings->OpenStorage()->WriteSectionValues("Form1.DBGrid1",
                                                {"AutoLoadLayout=0", "AutoSaveLayout=1", "LinesCount=3"});
    settings->SetOptions({soUserSettings, soLinesCount});
    settings->AutoLoad();
    QCOMPARE(settings->Options(), TOrvoSettingsOptions({soSaveLayout, soUserSettings, soLinesCount}));
    QCOMPARE(grid.LinesCount(), 1);

    settings->OpenStorage()->WriteString("Form1.DBGrid1", "AutoLoadLayout", "1");
    settings->AutoLoad();
    QVERIFY(settings->Options().Contains(soLoadLayout));
    QCOMPARE(grid.LinesCount(), 3);

    // Without user settings the options alone decide.
    grid.SetLinesCount(1);
    settings->SetOptions({soLinesCount});
    settings->AutoLoad();
    QCOMPARE(grid.LinesCount(), 1);
    settings->SetOptions({soLoadLayout, soLinesCount});
    settings->AutoLoad();
    QCOMPARE(grid.LinesCount(), 3);
}

void TestGridSettings::assignCopiesEverySetting()
{
    TForm source;
    TOrvoDBGridSettings* from = source.Settings();
    from->SetActive(true);
    from->SetExeName(false);
    from->SetFileName("grids.ini");
    from->SetIniFile(true);
    from->SetOptions({soFilters});
    from->SetSection("Shared");
    TOrvoDBGrid target;
    target.SetSettings(from);
    const TOrvoDBGridSettings* to = target.Settings();
    QVERIFY(to->Active());
    QVERIFY(!to->ExeName());
    QCOMPARE(to->FileName(), QString("grids.ini"));
    QVERIFY(to->IniFile());
    QCOMPARE(to->Options(), TOrvoSettingsOptions({soFilters}));
    QCOMPARE(to->Section(), QString("Shared"));
    QCOMPARE(to->Grid(), &target);
}

QTEST_MAIN(TestGridSettings)
#include "tst_grid_settings.moc"
