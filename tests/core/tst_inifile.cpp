#include "platform/core/exceptions.h"
#include "platform/core/tinifile.h"
#include "platform/core/tregistryinifile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace orvo;

namespace {

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

/// The INI file and the registry tree built on it: what is written reads back
/// unchanged, names compare without case, a file keeps its order and comments.
class TestIniFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void valuesRoundTrip_data();
    void valuesRoundTrip();
    void namesIgnoreCase();
    void handWrittenFileKeepsOrderAndComments();
    void quotedHandWrittenValuesLoseTheirQuotes();
    void writeSectionValuesReplacesTheSectionInPlace();
    void eraseAndDeleteKey();
    void invalidNamesAreRefused_data();
    void invalidNamesAreRefused();
    void unwritableFileRaises();
    void writesKeepChangesMadeByOthers();
    void bareNameLivesInTheConfigFolder();

    void registryKeysAreFilesUnderTheConfigFolder();
    void registryNamesIgnoreCase();
    void registryKeyNamesCannotLeaveTheTree_data();
    void registryKeyNamesCannotLeaveTheTree();
    void registryEraseRemovesSubkeys();

private:
    QString path(const QString& name) const { return FDir.filePath(name); }

    QTemporaryDir FDir;
};

void TestIniFile::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(FDir.isValid());
}

void TestIniFile::init()
{
    QDir(TRegistryIniFile::RootPath()).removeRecursively();
    QDir(FDir.path()).removeRecursively();
    QDir().mkpath(FDir.path());
}

void TestIniFile::valuesRoundTrip_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("plain") << "City DESC";
    QTest::newRow("empty") << "";
    QTest::newRow("equals signs") << "a=b=c";
    QTest::newRow("line breaks") << "one\ntwo\r\nthree";
    QTest::newRow("break at the end") << "last\n";
    QTest::newRow("surrounding blanks") << "  padded\t ";
    QTest::newRow("quoted") << "\"quoted\"";
    QTest::newRow("one quote") << "\"";
    QTest::newRow("backslashes and break") << "C:\\new\\dir\nnext";
    QTest::newRow("backslashes alone") << "C:\\new\\dir";
    QTest::newRow("section look-alike") << "[Other]";
    QTest::newRow("comment look-alike") << "; not a comment";
    QTest::newRow("unicode") << QString::fromUtf8("Zürich – 東京");
}

void TestIniFile::valuesRoundTrip()
{
    QFETCH(QString, value);
    {
        TIniFile ini(path("values.ini"));
        ini.WriteString("Grid", "Value", value);
        ini.WriteString("Grid", "After", "kept");
        QCOMPARE(ini.ReadString("Grid", "Value", "missing"), value);
    }
    TIniFile reread(path("values.ini"));
    QCOMPARE(reread.ReadString("Grid", "Value", "missing"), value);
    QCOMPARE(reread.ReadString("Grid", "After", "missing"), QString("kept"));
    QCOMPARE(reread.ReadSection("Grid"), QStringList({"Value", "After"}));
    QCOMPARE(reread.ReadSectionValues("Grid").first(), "Value=" + value);
}

void TestIniFile::namesIgnoreCase()
{
    TIniFile ini(path("case.ini"));
    ini.WriteString("Form1.DBGrid1", "Columns", "3");
    ini.WriteString("FORM1.dbgrid1", "COLUMNS", "4");
    QCOMPARE(ini.ReadSections(), QStringList({"Form1.DBGrid1"}));
    QCOMPARE(ini.ReadSectionValues("form1.DBGRID1"), QStringList({"Columns=4"}));
    QVERIFY(ini.SectionExists("FORM1.DBGRID1"));
    QVERIFY(ini.ValueExists("form1.dbgrid1", "columns"));
    QVERIFY(!ini.ValueExists("form1.dbgrid1", "rows"));
    ini.WriteString("Form1.DBGrid1", "Hex", "$1F");
    QCOMPARE(ini.ReadInteger("form1.dbgrid1", "hex", 0), 31);
    QCOMPARE(ini.ReadInteger("form1.dbgrid1", "missing", 5), 5);
}

void TestIniFile::handWrittenFileKeepsOrderAndComments()
{
    writeFile(path("hand.ini"), "; settings of the demo\n"
                                "[Zeta]\r\n"
                                "b = 2\r\n"
                                "; about a\r\n"
                                "a=1\r\n"
                                "\r\n"
                                "[Alpha]\n"
                                "x=9\n");
    TIniFile ini(path("hand.ini"));
    QCOMPARE(ini.ReadSections(), QStringList({"Zeta", "Alpha"}));
    QCOMPARE(ini.ReadSectionValues("Zeta"), QStringList({"b=2", "a=1"}));
    ini.WriteString("zeta", "c", "3");
    ini.WriteString("New", "n", "0");
    QCOMPARE(readFile(path("hand.ini")), QByteArray("; settings of the demo\n"
                                                    "[Zeta]\n"
                                                    "b=2\n"
                                                    "; about a\n"
                                                    "a=1\n"
                                                    "c=3\n"
                                                    "\n"
                                                    "[Alpha]\n"
                                                    "x=9\n"
                                                    "\n"
                                                    "[New]\n"
                                                    "n=0\n"));
}

void TestIniFile::quotedHandWrittenValuesLoseTheirQuotes()
{
    writeFile(path("quotes.ini"), "[S]\nname=\"Smith, John\"\nhalf=\"open\nplain=C:\\temp\n");
    const TIniFile ini(path("quotes.ini"));
    QCOMPARE(ini.ReadString("S", "name", ""), QString("Smith, John"));
    QCOMPARE(ini.ReadString("S", "half", ""), QString("\"open"));
    QCOMPARE(ini.ReadString("S", "plain", ""), QString("C:\\temp"));
}

void TestIniFile::writeSectionValuesReplacesTheSectionInPlace()
{
    TIniFile ini(path("layout.ini"));
    ini.WriteString("First", "a", "1");
    ini.WriteString("Grid", "Old", "gone");
    ini.WriteString("Last", "z", "26");
    ini.WriteSectionValues("GRID",
                           {"Columns=2", "no separator", "Column1=Name,64,1,0,1", "Columns=3", "Empty="});
    QCOMPARE(ini.ReadSections(), QStringList({"First", "Grid", "Last"}));
    QCOMPARE(ini.ReadSectionValues("Grid"), QStringList({"Columns=3", "Column1=Name,64,1,0,1", "Empty="}));
    QCOMPARE(TIniFile(path("layout.ini")).ReadString("Last", "z", ""), QString("26"));
}

void TestIniFile::eraseAndDeleteKey()
{
    TIniFile ini(path("erase.ini"));
    ini.WriteString("A", "x", "1");
    ini.WriteString("A", "y", "2");
    ini.WriteString("B", "x", "3");
    ini.DeleteKey("a", "X");
    QCOMPARE(ini.ReadSection("A"), QStringList({"y"}));
    ini.EraseSection("b");
    QVERIFY(!ini.SectionExists("B"));
    QVERIFY(!TIniFile(path("erase.ini")).SectionExists("B"));
    ini.EraseSection("never there");
    QCOMPARE(TIniFile(path("erase.ini")).ReadSections(), QStringList({"A"}));
}

void TestIniFile::invalidNamesAreRefused_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("ident");
    QTest::newRow("empty section") << ""
                                   << "a";
    QTest::newRow("section with a break") << "A\n[B]"
                                          << "a";
    QTest::newRow("empty name") << "A"
                                << " ";
    QTest::newRow("name with equals") << "A"
                                      << "a=b";
    QTest::newRow("name with a break") << "A"
                                       << "a\nb=c";
    QTest::newRow("name like a section") << "A"
                                         << "[B]";
    QTest::newRow("name like a comment") << "A"
                                         << ";a";
}

void TestIniFile::invalidNamesAreRefused()
{
    QFETCH(QString, section);
    QFETCH(QString, ident);
    TIniFile ini(path("names.ini"));
    QVERIFY_THROWS_EXCEPTION(EInvalidOperation, ini.WriteString(section, ident, "v"));
    QVERIFY(!QFileInfo::exists(path("names.ini")));
}

void TestIniFile::unwritableFileRaises()
{
    // A file where the folder should be: nothing can be written below it.
    writeFile(path("blocked"), "not a folder");
    TIniFile ini(path("blocked/settings.ini"));
    QVERIFY_THROWS_EXCEPTION(EStreamError, ini.WriteString("A", "x", "1"));
    QVERIFY_THROWS_EXCEPTION(EStreamError, ini.WriteSectionValues("A", {"x=1"}));
    QCOMPARE(readFile(path("blocked")), QByteArray("not a folder"));
}

void TestIniFile::writesKeepChangesMadeByOthers()
{
    TIniFile first(path("shared.ini"));
    TIniFile second(path("shared.ini"));
    first.WriteString("A", "one", "1");
    second.WriteString("A", "two", "2");
    QCOMPARE(TIniFile(path("shared.ini")).ReadSectionValues("A"), QStringList({"one=1", "two=2"}));
}

void TestIniFile::bareNameLivesInTheConfigFolder()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QCOMPARE(TIniFile::ResolveFileName("demo.ini"), QDir(config).filePath("demo.ini"));
    QCOMPARE(TIniFile::ResolveFileName("/tmp/demo.ini"), QString("/tmp/demo.ini"));
    QCOMPARE(TIniFile::ResolveFileName("sub/demo.ini"), QString("sub/demo.ini"));
}

void TestIniFile::registryKeysAreFilesUnderTheConfigFolder()
{
    TRegistryIniFile registry("\\Software\\Orvo Software\\OrvoDemo1");
    registry.WriteSectionValues("Form1.DBGrid1", {"Columns=3", "OrderFields=City DESC"});
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString file = QDir(config).filePath(
        "OrvoRegistry/HKEY_CURRENT_USER/Software/Orvo Software/OrvoDemo1/Form1.DBGrid1.ini");
    QCOMPARE(registry.SectionFile("Form1.DBGrid1"), file);
    QCOMPARE(readFile(file), QByteArray("[Form1.DBGrid1]\nColumns=3\nOrderFields=City DESC\n"));
    QVERIFY(registry.SectionExists("Form1.DBGrid1"));
    QCOMPARE(registry.ReadString("Form1.DBGrid1", "OrderFields", ""), QString("City DESC"));
    registry.WriteString("Form1.DBGrid2", "Columns", "1");
    QCOMPARE(registry.ReadSections(), QStringList({"Form1.DBGrid1", "Form1.DBGrid2"}));
    registry.DeleteKey("Form1.DBGrid1", "Columns");
    QCOMPARE(registry.ReadSectionValues("Form1.DBGrid1"), QStringList({"OrderFields=City DESC"}));
}

void TestIniFile::registryNamesIgnoreCase()
{
    TRegistryIniFile("\\Software\\Maker\\Program").WriteString("Form1.Grid", "Lines", "2");
    TRegistryIniFile other("\\SOFTWARE\\maker\\PROGRAM");
    QVERIFY(other.SectionExists("form1.grid"));
    QCOMPARE(other.ReadInteger("FORM1.GRID", "lines", 0), 2);
    other.WriteString("form1.grid", "Lines", "3");
    QCOMPARE(TRegistryIniFile("\\Software\\Maker\\Program").ReadSections(), QStringList({"Form1.Grid"}));
}

void TestIniFile::registryKeyNamesCannotLeaveTheTree_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("section");
    QTest::newRow("parent folders in the key") << "\\..\\..\\..\\escape"
                                               << "S";
    QTest::newRow("slashes in the key") << "\\a/../../escape"
                                        << "S";
    QTest::newRow("dot section") << "\\Software"
                                 << "..";
    QTest::newRow("slash in the section") << "\\Software"
                                          << "../../x";
}

void TestIniFile::registryKeyNamesCannotLeaveTheTree()
{
    QFETCH(QString, key);
    QFETCH(QString, section);
    TRegistryIniFile registry(key);
    registry.WriteString(section, "v", "1");
    const QString root = QDir(TRegistryIniFile::RootPath()).canonicalPath();
    const QString file = QFileInfo(registry.SectionFile(section)).canonicalFilePath();
    QVERIFY2(file.startsWith(root + "/"), qPrintable(file));
    QCOMPARE(registry.ReadString(section, "v", ""), QString("1"));
    QCOMPARE(registry.ReadSections(), QStringList({section}));
}

void TestIniFile::registryEraseRemovesSubkeys()
{
    TRegistryIniFile parent("\\Software\\Maker");
    parent.WriteString("Program", "Version", "1");
    TRegistryIniFile("\\Software\\Maker\\Program").WriteString("Form1.Grid", "Columns", "2");
    QVERIFY(TRegistryIniFile("\\Software\\Maker\\Program").SectionExists("Form1.Grid"));
    parent.EraseSection("program");
    QVERIFY(!parent.SectionExists("Program"));
    QVERIFY(!TRegistryIniFile("\\Software\\Maker\\Program").SectionExists("Form1.Grid"));
    QVERIFY(!parent.SectionExists(""));
    QVERIFY_THROWS_EXCEPTION(EInvalidOperation, parent.WriteString("", "a", "b"));
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
