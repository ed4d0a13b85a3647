#include "controls/systemprobes.h"
#include "platform/core/tsystemprofile.h"
#include "platform/graphics/tcanvas.h"

#include <QImage>
#include <QWidget>
#include <QtTest>

using namespace orvo;

namespace {

// Stand-ins for controls that publish the properties the transparency rule reads.
class TTransparentThing : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)

public:
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value) { FTransparent = value; }

private:
    bool FTransparent = false;
};

class TGradientThing : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int Gradient READ Gradient)
    Q_PROPERTY(bool ParentBackground READ ParentBackground WRITE SetParentBackground)

public:
    int Gradient() const { return 0; }
    bool ParentBackground() const { return FParentBackground; }
    void SetParentBackground(bool value) { FParentBackground = value; }

private:
    bool FParentBackground = false;
};

class TBackgroundOnlyThing : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool ParentBackground READ ParentBackground)

public:
    bool ParentBackground() const { return true; }
};

void useProfile(int major, int minor, const QString& build, bool themes = true)
{
    TSystemProfile profile;
    profile.SetMajorVersion(major);
    profile.SetMinorVersion(minor);
    profile.SetBuildNumberSource([build] { return build; });
    profile.SetThemesEnabled(themes);
    TSystemProfile::SetCurrent(profile);
}

} // namespace

class TstSystemProbes : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { TSystemProfile::SetCurrent(TSystemProfile()); }

    void versionProbes_data()
    {
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<QString>("build");
        QTest::addColumn<bool>("vista");
        QTest::addColumn<bool>("eight");
        QTest::addColumn<int>("buildNumber");
        QTest::addColumn<bool>("eleven");
        QTest::newRow("build 21999") << 10 << 0 << QStringLiteral("21999") << true << true << 21999 << false;
        QTest::newRow("build 22000") << 10 << 0 << QStringLiteral("22000") << true << true << 22000 << true;
        QTest::newRow("22000 on 6.1") << 6 << 1 << QStringLiteral("22000") << true << false << 22000 << false;
        QTest::newRow("6.2") << 6 << 2 << QStringLiteral("9200") << true << true << 9200 << false;
        QTest::newRow("not a number") << 10 << 0 << QStringLiteral("abc") << true << true << 0 << false;
        QTest::newRow("missing") << 10 << 0 << QString() << true << true << 0 << false;
        QTest::newRow("5.1") << 5 << 1 << QStringLiteral("2600") << false << false << 2600 << false;
    }

    void versionProbes()
    {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(QString, build);
        QFETCH(bool, vista);
        QFETCH(bool, eight);
        QFETCH(int, buildNumber);
        QFETCH(bool, eleven);
        useProfile(major, minor, build);
        QCOMPARE(IsWindowsVistaOrLater(), vista);
        QCOMPARE(IsWindows8OrLater(), eight);
        QCOMPARE(GetWindowsBuildNumber(), buildNumber);
        QCOMPARE(IsWindows11OrLater(), eleven);
    }

    void transparentChild()
    {
        TTransparentThing transparent;
        TGradientThing gradient;
        TBackgroundOnlyThing backgroundOnly;
        QObject plain;
        useProfile(10, 0, QStringLiteral("22631"), false);
        QVERIFY(!IsTransparentChild(&transparent));
        transparent.SetTransparent(true);
        QVERIFY(IsTransparentChild(&transparent));
        QVERIFY(!IsTransparentChild(&gradient));
        gradient.SetParentBackground(true);
        QVERIFY(IsTransparentChild(&gradient));
        // ParentBackground counts only for controls that paint a gradient.
        QVERIFY(!IsTransparentChild(&backgroundOnly));
        QVERIFY(!IsTransparentChild(&plain));
        QVERIFY(!IsTransparentChild(nullptr));
        QVERIFY(IsTransparentChildProc()(&transparent));

        useProfile(10, 0, QStringLiteral("22631"), true);
        QVERIFY(!IsTransparentChild(&transparent));
    }

    void parentBackground()
    {
        QWidget parent;
        parent.resize(40, 40);
        QPalette palette = parent.palette();
        palette.setColor(parent.backgroundRole(), QColor(10, 200, 30));
        parent.setPalette(palette);
        QWidget child(&parent);
        child.setGeometry(5, 5, 10, 10);

        SetParentBackgroundStyle(&child, false);
        QVERIFY(child.autoFillBackground());
        SetParentBackgroundStyle(&child, true);
        QVERIFY(!child.autoFillBackground());

        for (bool themes : {false, true}) {
            useProfile(10, 0, QStringLiteral("22631"), themes);
            QImage image(10, 10, QImage::Format_RGB32);
            image.fill(Qt::white);
            {
                TCanvas canvas(&image);
                QCOMPARE(PaintParentBackground(&child, canvas).style(), Qt::NoBrush);
            }
            QCOMPARE(image.pixelColor(4, 4), QColor(10, 200, 30));
        }
    }
};

QTEST_MAIN(TstSystemProbes)
#include "tst_systemprobes.moc"
