#include "platform/core/tsystemprofile.h"

#include <QtTest>

using namespace orvo;

class TstSystemProfile : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { TSystemProfile::SetCurrent(TSystemProfile()); }

    void defaultsAreTheNewestSystem()
    {
        const TSystemProfile& p = TSystemProfile::Current();
        QCOMPARE(p.MajorVersion(), 10);
        QCOMPARE(p.MinorVersion(), 0);
        QCOMPARE(p.BuildNumber(), 22631);
        QVERIFY(p.IsNewestSystemBuild());
        QVERIFY(p.ThemesEnabled());
        QCOMPARE(p.PrimaryLanguageId(), TSystemProfile::LangEnglish);
        QVERIFY(!p.IsKorean());
        QVERIFY(!p.FarEast());
    }

    void buildNumberSource_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("build");
        QTest::addColumn<bool>("newest");
        QTest::newRow("newest") << "22000" << 22000 << true;
        QTest::newRow("at the threshold") << "21999" << 21999 << false;
        QTest::newRow("older") << "19045" << 19045 << false;
        QTest::newRow("blanks") << " 22631 " << 22631 << true;
        QTest::newRow("missing") << QString() << 0 << false;
        QTest::newRow("not a number") << "22631a" << 0 << false;
        QTest::newRow("negative") << "-5" << 0 << false;
    }
    void buildNumberSource()
    {
        QFETCH(QString, stored);
        QFETCH(int, build);
        QFETCH(bool, newest);
        TSystemProfile p;
        p.SetBuildNumberSource([stored] { return stored; });
        TSystemProfile::SetCurrent(p);
        QCOMPARE(TSystemProfile::Current().BuildNumber(), build);
        QCOMPARE(TSystemProfile::Current().IsNewestSystemBuild(), newest);
    }

    void versionChecksAndLanguage()
    {
        TSystemProfile p;
        p.SetMajorVersion(6);
        p.SetMinorVersion(1);
        p.SetPrimaryLanguageId(TSystemProfile::LangKorean);
        p.SetFarEast(true);
        p.SetThemesEnabled(false);
        TSystemProfile::SetCurrent(p);
        const TSystemProfile& current = TSystemProfile::Current();
        QVERIFY(current.CheckVersion(6, 0));
        QVERIFY(current.CheckVersion(6, 1));
        QVERIFY(!current.CheckVersion(6, 2));
        QVERIFY(current.CheckVersion(5, 9));
        QVERIFY(!current.CheckVersion(10, 0));
        QVERIFY(current.IsKorean());
        QVERIFY(current.FarEast());
        QVERIFY(!current.ThemesEnabled());
    }
};

QTEST_GUILESS_MAIN(TstSystemProfile)
#include "tst_systemprofile.moc"
