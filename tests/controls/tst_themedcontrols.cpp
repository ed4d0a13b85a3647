#include "controls/gradientfill.h"
#include "controls/torvobutton.h"
#include "controls/torvocheckbox.h"
#include "controls/torvogradientbutton.h"
#include "controls/torvogroupbox.h"
#include "controls/torvogroupcheckbox.h"
#include "controls/torvolabel.h"
#include "controls/torvopanel.h"
#include "controls/torvoradiobutton.h"
#include "controls/torvoupdown.h"
#include "platform/core/tformproperty.h"
#include "platform/core/tsystemprofile.h"

#include <QHBoxLayout>
#include <QImage>
#include <QLineEdit>
#include <QtTest>

using namespace orvo;

namespace {

void setThemes(bool enabled)
{
    TSystemProfile profile;
    profile.SetThemesEnabled(enabled);
    TSystemProfile::SetCurrent(profile);
}

bool near(const QColor& a, const QColor& b, int tolerance = 12)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

QColor shaded(const QColor& color, int factor)
{
    const TColor face = FromQColor(color);
    return QColor::fromRgb(GetRValue(TOrvoGradient::Shade(face, factor)),
                           GetGValue(TOrvoGradient::Shade(face, factor)),
                           GetBValue(TOrvoGradient::Shade(face, factor)));
}

// A group box with a line edit straight inside and one inside a nested panel, the
// first already disabled or not as the case says.
struct TGroupForm
{
    QWidget Host;
    TOrvoGroupBox* Box = new TOrvoGroupBox(QStringLiteral("Options"), &Host);
    QLineEdit* First = new QLineEdit(Box);
    QLineEdit* Second = new QLineEdit(Box);
    TOrvoPanel* Inner = new TOrvoPanel(Box);
    QLineEdit* Nested = new QLineEdit(Inner);

    TGroupForm(TOrvoCheckBoxAction action, bool checked, bool secondEnabled)
    {
        Box->setGeometry(0, 0, 200, 150);
        Second->setEnabled(secondEnabled);
        Box->CheckBox()->SetAction(action);
        Box->CheckBox()->SetChecked(checked);
        Box->CheckBox()->SetVisible(true);
    }

    QString States() const
    {
        auto flag = [](const QWidget* w) { return w->testAttribute(Qt::WA_ForceDisabled) ? '-' : '+'; };
        return QString() + flag(First) + flag(Second) + flag(Inner) + flag(Nested);
    }
};

// A panel that records which children it repaints with itself.
class TRecordingPanel : public TOrvoPanel
{
public:
    using TOrvoPanel::TOrvoPanel;
    QList<QWidget*> Invalidated;

protected:
    void InvalidateChild(QWidget* child) override
    {
        Invalidated.append(child);
        TOrvoPanel::InvalidateChild(child);
    }
};

} // namespace

class TstThemedControls : public QObject
{
    Q_OBJECT

private slots:
    void init() { setThemes(false); }
    void cleanup()
    {
        TSystemProfile::SetCurrent(TSystemProfile());
        SetGradientsEnabled(true);
    }

    void groupCheckBoxAppliesAndRestoresOnlyWhatItChanged_data()
    {
        QTest::addColumn<TOrvoCheckBoxAction>("action");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<bool>("secondEnabled");
        QTest::addColumn<QString>("loaded");
        QTest::addColumn<QString>("toggled");
        QTest::addColumn<QString>("toggledBack");
        // First, Second, Inner panel, Nested edit: '+' enabled, '-' disabled.
        QTest::newRow("disable: unchecked at load, a control already disabled stays so")
            << caDisable << false << false << "----"
            << "+-++"
            << "----";
        QTest::newRow("disable: checked at load changes nothing") << caDisable << true << true << "++++"
                                                                  << "----"
                                                                  << "++++";
        QTest::newRow("enable: checked at load enables the disabled one")
            << caEnable << true << false << "++++"
            << "+-++"
            << "++++";
        QTest::newRow("enable: unchecked at load changes nothing, checking enables")
            << caEnable << false << false << "+-++"
            << "++++"
            << "+-++";
        QTest::newRow("none: never touches the controls") << caNone << false << false << "+-++"
                                                          << "+-++"
                                                          << "+-++";
    }

    void groupCheckBoxAppliesAndRestoresOnlyWhatItChanged()
    {
        QFETCH(TOrvoCheckBoxAction, action);
        QFETCH(bool, checked);
        QFETCH(bool, secondEnabled);
        TGroupForm form(action, checked, secondEnabled);
        int changes = 0;
        form.Box->OnCheckBoxChanged = [&](TOrvoGroupBox*) { ++changes; };
        form.Host.show();
        QFETCH(QString, loaded);
        QFETCH(QString, toggled);
        QFETCH(QString, toggledBack);
        QCOMPARE(form.States(), loaded);
        form.Box->CheckBox()->SetChecked(!checked);
        QCOMPARE(form.States(), toggled);
        QTest::mouseClick(form.Box->CheckBox()->Control(), Qt::LeftButton);
        QCOMPARE(form.Box->CheckBox()->Checked(), checked);
        QCOMPARE(form.States(), toggledBack);
        QVERIFY(changes >= 2);
        // The check box itself is never disabled by its own action.
        QVERIFY(form.Box->CheckBox()->Control()->isEnabled());
    }

    void groupCheckBoxArmedTwiceStillRestores()
    {
        TGroupForm form(caDisable, false, true);
        form.Box->Loaded();
        form.Box->Loaded();
        form.Box->CheckBox()->ApplyAction(form.Box);
        QCOMPARE(form.States(), QStringLiteral("----"));
        form.Box->CheckBox()->SetChecked(true);
        QCOMPARE(form.States(), QStringLiteral("++++"));
        QVERIFY(form.Box->CheckBox()->ChangedControls().isEmpty());
    }

    void groupCheckBoxKeepsStateWhileHidden()
    {
        TOrvoGroupBox box(QStringLiteral("Caption"));
        TOrvoGroupCheckBox* check = box.CheckBox();
        QVERIFY(!check->Visible());
        // Form files set the settings by name.
        QVERIFY(check->setProperty("Action", QStringLiteral("caEnable")));
        QCOMPARE(check->Action(), caEnable);
        check->SetChecked(false);
        check->SetEnabled(false);
        check->SetVisible(true);
        QVERIFY(check->Control());
        QVERIFY(!check->Control()->isChecked());
        QVERIFY(!check->Control()->isEnabled());
        QCOMPARE(check->Control()->x(), 8);
        check->Control()->setChecked(true);
        check->SetVisible(false);
        QVERIFY(!check->Control());
        QVERIFY(check->Checked());
        QVERIFY(!check->Enabled());

        box.setLayoutDirection(Qt::RightToLeft);
        box.resize(200, 100);
        check->SetVisible(true);
        QCOMPARE(check->Control()->geometry().right() + 1, 200 - 8);
    }

    void upDownTracksThePressedArrow_data()
    {
        QTest::addColumn<TUDOrientation>("orientation");
        QTest::addColumn<bool>("first");
        QTest::addColumn<int>("expectedPosition");
        QTest::newRow("vertical top counts up") << udVertical << true << 6;
        QTest::newRow("vertical bottom counts down") << udVertical << false << 4;
        QTest::newRow("horizontal left counts down") << udHorizontal << true << 4;
        QTest::newRow("horizontal right counts up") << udHorizontal << false << 6;
    }

    void upDownTracksThePressedArrow()
    {
        QFETCH(TUDOrientation, orientation);
        QFETCH(bool, first);
        QFETCH(int, expectedPosition);
        TOrvoUpDown upDown;
        upDown.SetOrientation(orientation);
        upDown.resize(orientation == udVertical ? QSize(20, 40) : QSize(40, 20));
        upDown.SetPosition(5);
        upDown.show();
        QVERIFY(QTest::qWaitForWindowExposed(&upDown));
        const QRect half = first ? upDown.FirstHalf() : upDown.SecondHalf();
        QTest::mousePress(&upDown, Qt::LeftButton, {}, half.center());
        QCOMPARE(upDown.Position(), expectedPosition);
        QCOMPARE(first ? upDown.DownFirst() : upDown.DownSecond(), true);
        QVERIFY(upDown.PressedInside());

        // Two pixels of slack around the held arrow, then it shows released.
        const QPoint away = orientation == udVertical
                                ? (first ? QPoint(10, half.bottom() + 3) : QPoint(10, half.top() - 3))
                                : (first ? QPoint(half.right() + 3, 10) : QPoint(half.left() - 3, 10));
        const QPoint slack = orientation == udVertical
                                 ? (first ? QPoint(10, half.bottom() + 2) : QPoint(10, half.top() - 2))
                                 : (first ? QPoint(half.right() + 2, 10) : QPoint(half.left() - 2, 10));
        QTest::mouseMove(&upDown, slack);
        QVERIFY(upDown.PressedInside());
        QTest::mouseMove(&upDown, away);
        QVERIFY(!upDown.PressedInside());
        QTest::mouseMove(&upDown, half.center());
        QVERIFY(upDown.PressedInside());

        QTest::mouseRelease(&upDown, Qt::LeftButton, {}, half.center());
        QVERIFY(!upDown.DownFirst() && !upDown.DownSecond() && !upDown.PressedInside());
    }

    void upDownRepeatsWhileHeldInside()
    {
        TOrvoUpDown upDown;
        upDown.resize(20, 40);
        upDown.SetMax(1000);
        int clicks = 0;
        upDown.OnClick = [&](TOrvoUpDown*, TUDBtnType button) {
            QCOMPARE(button, btNext);
            ++clicks;
        };
        upDown.show();
        QVERIFY(QTest::qWaitForWindowExposed(&upDown));
        const QPoint top = upDown.FirstHalf().center();
        QTest::mousePress(&upDown, Qt::LeftButton, {}, top);
        QCOMPARE(upDown.Position(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(upDown.Position() >= 3, 2000);

        // Dragged off the arrow, it pauses; back on it, it goes on.
        QTest::mouseMove(&upDown, QPoint(10, 35));
        const int paused = upDown.Position();
        QTest::qWait(TOrvoUpDown::RepeatInterval * 3);
        QCOMPARE(upDown.Position(), paused);
        QTest::mouseMove(&upDown, top);
        QTRY_VERIFY_WITH_TIMEOUT(upDown.Position() > paused, 2000);

        QTest::mouseRelease(&upDown, Qt::LeftButton, {}, top);
        const int released = upDown.Position();
        QTest::qWait(TOrvoUpDown::RepeatInterval * 3);
        QCOMPARE(upDown.Position(), released);
        QCOMPARE(clicks, released);
    }

    void upDownStepsStopOrWrapAtTheEnds_data()
    {
        QTest::addColumn<bool>("wrap");
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("up");
        QTest::addColumn<int>("expected");
        QTest::newRow("stops at max") << false << 10 << true << 10;
        QTest::newRow("wraps past max") << true << 10 << true << 0;
        QTest::newRow("stops at min") << false << 0 << false << 0;
        QTest::newRow("wraps past min") << true << 0 << false << 10;
    }

    void upDownStepsStopOrWrapAtTheEnds()
    {
        QFETCH(bool, wrap);
        QFETCH(int, start);
        QFETCH(bool, up);
        QFETCH(int, expected);
        TOrvoUpDown upDown;
        upDown.resize(20, 40);
        upDown.SetMax(10);
        upDown.SetWrap(wrap);
        upDown.SetPosition(start);
        const QRect half = up ? upDown.FirstHalf() : upDown.SecondHalf();
        QTest::mouseClick(&upDown, Qt::LeftButton, {}, half.center());
        QCOMPARE(upDown.Position(), expected);
    }

    void upDownHotTracksTheArrowUnderTheMouse()
    {
        TOrvoUpDown upDown;
        upDown.resize(20, 40);
        int entered = 0;
        int left = 0;
        upDown.OnMouseEnter = [&](TOrvoUpDown*) { ++entered; };
        upDown.OnMouseLeave = [&](TOrvoUpDown*) { ++left; };
        upDown.show();
        QVERIFY(QTest::qWaitForWindowExposed(&upDown));
        entered = 0;
        QEnterEvent enter(QPointF(10, 5), QPointF(10, 5), QPointF(10, 5));
        QApplication::sendEvent(&upDown, &enter);
        QCOMPARE(entered, 1);
        QVERIFY(upDown.HotFirst() && !upDown.HotSecond());
        QTest::mouseMove(&upDown, QPoint(10, 30));
        QVERIFY(!upDown.HotFirst() && upDown.HotSecond());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&upDown, &leave);
        QCOMPARE(left, 1);
        QVERIFY(!upDown.HotFirst() && !upDown.HotSecond() && !upDown.MouseIn());
    }

    void buttonDrawingStyleAndOwnerDraw()
    {
        setThemes(true);
        TOrvoButton button;
        QCOMPARE(button.DrawingStyle(), bdsThemed);
        QVERIFY(!button.OwnerDrawn());
        button.SetDrawingStyle(bdsClassic);
        QVERIFY(!button.ApplyTheme());
        QVERIFY(!button.Gradient()->Active());
        QVERIFY(button.OwnerDrawn());
        button.SetDrawingStyle(bdsGradient);
        QVERIFY(!button.ApplyTheme());
        QVERIFY(button.Gradient()->Active());
        button.SetDrawingStyle(bdsThemed);
        QVERIFY(button.ApplyTheme());
        QVERIFY(button.Gradient()->Active());
        QVERIFY(!button.OwnerDrawn());
    }

    void gradientButtonFaceRunsFromStartToShadedFace_data()
    {
        QTest::addColumn<bool>("hot");
        QTest::newRow("normal") << false;
        QTest::newRow("hot reverses") << true;
    }

    void gradientButtonFaceRunsFromStartToShadedFace()
    {
        TOrvoButton button;
        button.resize(80, 40);
        QFETCH(bool, hot);
        QVERIFY(button.OwnerDrawn());
        if (hot) {
            QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
            QApplication::sendEvent(&button, &enter);
            QVERIFY(button.MouseIn());
        }
        const QImage image = button.grab().toImage();
        const QColor start = button.palette().color(QPalette::Base);
        const QColor trail =
            shaded(button.palette().color(QPalette::Button), TOrvoGradient::DefaultShadowFactor);
        const QColor top = image.pixelColor(40, 3);
        const QColor bottom = image.pixelColor(40, 36);
        QVERIFY2(near(top, hot ? trail : start), qPrintable(top.name()));
        QVERIFY2(near(bottom, hot ? start : trail), qPrintable(bottom.name()));
    }

    void classicButtonWithoutGradientKeepsAFlatFace()
    {
        TOrvoButton button;
        button.resize(80, 40);
        button.SetDrawingStyle(bdsClassic);
        const QImage image = button.grab().toImage();
        const QColor face = button.palette().color(QPalette::Button);
        QVERIFY(near(image.pixelColor(40, 4), face, 0));
        QVERIFY(near(image.pixelColor(40, 35), face, 0));
    }

    // The alignment enumeration lives below the controls; form files must still read it by name.
    void panelAlignmentIsAnEnumerationByName()
    {
        const TOrvoPanel panel;
        const QMetaObject& meta = TOrvoPanel::staticMetaObject;
        const QMetaProperty property = meta.property(meta.indexOfProperty("Alignment"));
        QCOMPARE(TFormProperty::KindOf(property, panel), TFormProperty::fpEnum);
        QCOMPARE(QByteArray(property.enumerator().valueToKey(taRightJustify)), QByteArray("taRightJustify"));
    }

    void panelPaintsGradientInsideItsBevel()
    {
        TOrvoPanel panel;
        panel.resize(60, 60);
        QImage image = panel.grab().toImage();
        // The raised bevel: highlight on the top-left, shadow on the bottom-right.
        QVERIFY(near(image.pixelColor(0, 30), panel.palette().color(QPalette::Light), 40));
        QVERIFY(near(image.pixelColor(59, 30), panel.palette().color(QPalette::Dark), 40));
        QVERIFY(near(image.pixelColor(30, 1), panel.palette().color(QPalette::Base)));
        QVERIFY(near(image.pixelColor(30, 58),
                     shaded(panel.palette().color(QPalette::Window), TOrvoGradient::DefaultShadowFactor)));

        panel.Gradient()->SetActive(false);
        image = panel.grab().toImage();
        QVERIFY(near(image.pixelColor(30, 1), panel.palette().color(QPalette::Window), 0));
        QCOMPARE(panel.contentsMargins(), QMargins(1, 1, 1, 1));
    }

    void groupBoxPartialBackgroundLeavesTheParentAboveTheFrame()
    {
        QWidget host;
        QPalette palette = host.palette();
        palette.setColor(QPalette::Window, Qt::red);
        host.setPalette(palette);
        host.setAutoFillBackground(true);
        host.resize(120, 100);
        TOrvoGroupBox* box = new TOrvoGroupBox(QStringLiteral("Caption"), &host);
        box->setGeometry(0, 0, 120, 100);
        palette.setColor(QPalette::Window, QColor(200, 200, 255));
        box->setPalette(palette);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        QImage image = host.grab().toImage();
        QCOMPARE(image.pixelColor(100, 0), QColor(Qt::red));
        QVERIFY2(
            near(image.pixelColor(60, 95), shaded(QColor(200, 200, 255), TOrvoGradient::DefaultShadowFactor)),
            qPrintable(image.pixelColor(60, 95).name() +
                       shaded(QColor(200, 200, 255), TOrvoGradient::DefaultShadowFactor).name()));
        box->SetPartialBackground(false);
        image = host.grab().toImage();
        QVERIFY(near(image.pixelColor(100, 0), box->palette().color(QPalette::Base)));
    }

    void panelRepaintsOnlyChildrenThatKeepTheirPlaceWhileResizing()
    {
        TRecordingPanel panel;
        panel.resize(200, 100);
        auto* layout = new QHBoxLayout;
        auto* managed = new TOrvoLabel(QStringLiteral("managed"));
        layout->addWidget(managed);
        panel.setLayout(layout);
        auto* free = new TOrvoLabel(QStringLiteral("free"), &panel);
        auto* opaque = new TOrvoLabel(QStringLiteral("opaque"), &panel);
        opaque->SetTransparent(false);
        auto* group = new TOrvoGroupBox(&panel);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));

        panel.Invalidated.clear();
        panel.resize(260, 100);
        QCOMPARE(panel.Invalidated, (QList<QWidget*>{free, group}));
        QCOMPARE(panel.ResizeFlags(), 0);

        panel.Invalidated.clear();
        panel.Invalidate();
        QCOMPARE(panel.Invalidated.size(), 3);
        QVERIFY(panel.Invalidated.contains(managed));
        QVERIFY(!panel.Invalidated.contains(opaque));

        // With themes the parent's look reaches transparent controls by itself.
        setThemes(true);
        panel.Invalidated.clear();
        panel.Invalidate();
        QCOMPARE(panel.Invalidated, (QList<QWidget*>{group}));
    }

    void formShowsEveryControl_data()
    {
        QTest::addColumn<bool>("themes");
        QTest::newRow("classic") << false;
        QTest::newRow("themed") << true;
    }

    void formShowsEveryControl()
    {
        QFETCH(bool, themes);
        setThemes(themes);
        QWidget form;
        form.resize(360, 200);
        auto* panel = new TOrvoPanel(&form);
        panel->setGeometry(0, 0, 360, 200);
        panel->SetCaption(QStringLiteral("Panel caption"));
        panel->SetAlignment(taRightJustify);
        auto* button = new TOrvoButton(panel);
        button->setText(QStringLiteral("&Gradient"));
        button->setGeometry(10, 10, 90, 28);
        button->SetApplyTheme(false);
        auto* disabled = new TOrvoButton(panel);
        disabled->setText(QStringLiteral("Disabled"));
        disabled->setGeometry(110, 10, 90, 28);
        disabled->SetDrawingStyle(bdsClassic);
        disabled->setEnabled(false);
        auto* label = new TOrvoLabel(QStringLiteral("Transparent label"), panel);
        label->setGeometry(210, 15, 140, 20);
        auto* box = new TOrvoGroupBox(QStringLiteral("Group"), panel);
        box->setGeometry(10, 50, 200, 100);
        box->CheckBox()->SetAction(caDisable);
        box->CheckBox()->SetChecked(false);
        box->CheckBox()->SetVisible(true);
        auto* check = new TOrvoCheckBox(QStringLiteral("Check box"), box);
        check->setGeometry(10, 25, 150, 20);
        auto* radio = new TOrvoRadioButton(QStringLiteral("Radio button"), box);
        radio->setGeometry(10, 50, 150, 20);
        auto* upDown = new TOrvoUpDown(panel);
        upDown->setGeometry(230, 60, 17, 26);
        auto* across = new TOrvoUpDown(panel);
        across->SetOrientation(udHorizontal);
        across->setGeometry(260, 60, 30, 17);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(!check->isEnabled());
        const QImage image = form.grab().toImage();
        const QString directory = qEnvironmentVariable("ORVO_SCREENSHOT_DIR");
        if (!directory.isEmpty())
            image.save(directory + QStringLiteral("/themedcontrols-%1.png").arg(QTest::currentDataTag()));
        QVERIFY(!image.isNull());
    }
};

QTEST_MAIN(TstThemedControls)
#include "tst_themedcontrols.moc"
