#include "grid/common/gridtestwidgets.h"
#include "grid/common/tgridsettingsguard.h"
#include "lists/common/twordlist.h"

#include "lists/popup/tlistbutton.h"
#include "lists/popup/torvodbdropdownlist.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWheelEvent>

#include <memory>

using namespace orvo;
using namespace orvo::test;

namespace {

/// A container over a word list that logs the steps of opening and closing.
class TLoggingContainer : public TOrvoDBDropDownList
{
public:
    explicit TLoggingContainer(QWidget* parent) : TOrvoDBDropDownList(parent)
    {
        SetListClass<TWordList>();
        Words()->Load({"one", "two", "three"});
    }
    TWordList* Words() const { return static_cast<TWordList*>(List()); }
    QStringList Log;
    QString ListValue = QStringLiteral("picked");

protected:
    void SetupList(bool opening) override { Log << (opening ? "setup open" : "setup close"); }
    void TransferValue(bool opening) override
    {
        Log << (opening ? QStringLiteral("load")
                        : QStringLiteral("store %1").arg(Accept() ? "accepted" : "dropped"));
    }
    void DoDropDown() override
    {
        Log << QStringLiteral("drop down (shown %1)").arg(ListShown());
        TOrvoDBDropDownList::DoDropDown();
    }
    void DoCloseUp(bool& accept) override
    {
        Log << QStringLiteral("close up (shown %1)").arg(ListShown());
        TOrvoDBDropDownList::DoCloseUp(accept);
    }
    void GetListValue(TVariant& value) override
    {
        Log << "value";
        value = TVariant(ListValue);
    }
};

/// A list that hands every wheel turn back to its container, as a list scrolled past
/// its end might.
class TBouncingList : public TWordList
{
public:
    using TWordList::TWordList;
    int Wheels = 0;

protected:
    void wheelEvent(QWheelEvent* event) override
    {
        ++Wheels;
        QCoreApplication::sendEvent(parentWidget(), event);
        QVERIFY(TOrvoDBDropDownList::WheelForwarding());
    }
};

/// A window with an editor that owns a container, shown on the screen.
struct TWindowFixture
{
    TWindowFixture()
    {
        Editor = new QLineEdit(&Window);
        Editor->setGeometry(10, 10, 120, 22);
        Other = new QPushButton(QStringLiteral("Other"), &Window);
        Other->setGeometry(10, 60, 80, 24);
        Container = new TLoggingContainer(Editor);
        Container->setGeometry(Editor->rect());
    }
    bool Show()
    {
        if (!ShowExposed(Window, 300, 200))
            return false;
        Editor->setFocus();
        return QTest::qWaitFor([this] { return Editor->hasFocus(); });
    }
    QWidget Window;
    QLineEdit* Editor;
    QPushButton* Other;
    TLoggingContainer* Container;
};

QRect Desktop(const QWidget& widget)
{
    return widget.screen()->virtualGeometry();
}

} // namespace

class TstDropDownList : public QObject
{
    Q_OBJECT

private slots:
    void init() { FGuard = std::make_unique<TGridSettingsGuard>(); }
    void cleanup() { FGuard.reset(); }

    void dropDownAndCloseUpRunInTheirOrder()
    {
        TWindowFixture fixture;
        QVERIFY(fixture.Show());
        TLoggingContainer& container = *fixture.Container;
        QVERIFY(!container.isVisible());
        container.DropDown();
        QVERIFY(container.ListShown());
        QCOMPARE(container.Log, (QStringList{"setup open", "load", "drop down (shown 0)"}));
        container.Log.clear();
        bool handlerAccept = false;
        container.OnCloseUp = [&](QObject* sender, bool& accept) {
            QCOMPARE(sender, &container);
            handlerAccept = accept;
        };
        container.CloseUp(true);
        QVERIFY(!container.ListShown());
        QVERIFY(!container.List()->isVisible());
        QCOMPARE(container.Log,
                 (QStringList{"value", "close up (shown 0)", "store accepted", "setup close"}));
        QVERIFY(handlerAccept);
        QCOMPARE(container.Value().AsString(), QString("picked"));
        QVERIFY(container.Accept());
    }

    void theCloseUpHandlerMayRefuse()
    {
        TWindowFixture fixture;
        QVERIFY(fixture.Show());
        TLoggingContainer& container = *fixture.Container;
        container.OnCloseUp = [](QObject*, bool& accept) { accept = false; };
        container.DropDown();
        container.Log.clear();
        container.CloseUp(true);
        QVERIFY(!container.Accept());
        QVERIFY(container.Log.contains("store dropped"));
    }

    void openingTwiceClosingClosedAndClosingWhileApplyingDoNothing()
    {
        TWindowFixture fixture;
        QVERIFY(fixture.Show());
        TLoggingContainer& container = *fixture.Container;
        container.CloseUp(true);
        QVERIFY(container.Log.isEmpty());
        container.DropDown();
        container.Log.clear();
        container.DropDown();
        QVERIFY(container.Log.isEmpty());
        container.SetApplying(true);
        container.CloseUp(false);
        QVERIFY(container.ListShown());
        QVERIFY(container.Log.isEmpty());
        container.SetApplying(false);
        container.CloseUp(false);
        QVERIFY(!container.ListShown());
    }

    void aContainerWithoutAListOpensNothing()
    {
        QWidget owner;
        TOrvoDBDropDownList container(&owner);
        QVERIFY(!container.HasList());
        container.DropDown();
        QVERIFY(!container.ListShown());
        container.SetListClass<TWordList>();
        QVERIFY(container.HasList());
        container.SetListClass({});
        QVERIFY(!container.HasList());
    }

    void replacingTheListClosesTheShownOne()
    {
        TWindowFixture fixture;
        QVERIFY(fixture.Show());
        TLoggingContainer& container = *fixture.Container;
        container.DropDown();
        const QPointer<TOrvoDBPopupList> old = container.List();
        container.SetListClass<TWordList>();
        QVERIFY(container.Log.contains("store dropped"));
        QVERIFY(old.isNull());
        QVERIFY(!container.ListShown());
    }

    void reopeningKeepsTheListOnScreen()
    {
        TWindowFixture fixture;
        QVERIFY(fixture.Show());
        TLoggingContainer& container = *fixture.Container;
        container.SetReleaseOnClose(true);
        container.DropDown();
        int hides = 0;
        container.List()->installEventFilter(this);
        connect(this, &TstDropDownList::listHidden, [&hides] { ++hides; });
        container.Log.clear();
        container.ReopenList(true);
        QVERIFY(container.ListShown());
        QVERIFY(container.List()->isVisible());
        QVERIFY(!container.ListRedropping());
        QCOMPARE(hides, 0);
        QCOMPARE(container.Log, (QStringList{"value", "close up (shown 0)", "store accepted", "setup close",
                                             "setup open", "load", "drop down (shown 0)"}));
        // A re-open is no close: the container stays.
        const QPointer<TLoggingContainer> alive = &container;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!alive.isNull());
    }

    void releaseOnCloseDeletesLater()
    {
        TWindowFixture fixture;
        QVERIFY(fixture.Show());
        const QPointer<TLoggingContainer> container = fixture.Container;
        container->SetReleaseOnClose(true);
        container->DropDown();
        container->CloseUp(false);
        QVERIFY(!container.isNull());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(container.isNull());
    }

    void opensUnderTheContainer_data()
    {
        QTest::addColumn<bool>("rightToLeft");
        QTest::addColumn<bool>("alignUnder");
        QTest::newRow("under") << false << true;
        QTest::newRow("under, right to left") << true << true;
        QTest::newRow("beside") << false << false;
        QTest::newRow("beside, right to left") << true << false;
    }
    void opensUnderTheContainer()
    {
        QFETCH(bool, rightToLeft);
        QFETCH(bool, alignUnder);
        TWindowFixture fixture;
        fixture.Window.move(Desktop(fixture.Window).center() - QPoint(150, 100));
        QVERIFY(fixture.Show());
        TLoggingContainer& container = *fixture.Container;
        container.setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
        container.Words()->SetAlignUnder(alignUnder);
        container.Words()->resize(200, 100);
        const QPoint origin = container.mapToGlobal(QPoint(0, 0));
        QPoint expected(origin.x(), origin.y() + container.height());
        if (rightToLeft)
            expected.rx() += container.width() - 200;
        if (!alignUnder)
            expected.rx() += rightToLeft ? -container.width() : container.width();
        QPoint point;
        container.GetListPosition(point);
        QCOMPARE(point, expected);
    }

    void staysOnTheDesktop_data()
    {
        QTest::addColumn<QPoint>("fromBottomRight"); // where the window goes, from the desktop's corner
        QTest::addColumn<bool>("above");
        QTest::addColumn<bool>("shiftedLeft");
        QTest::newRow("room under") << QPoint(-700, -500) << false << false;
        QTest::newRow("bottom edge") << QPoint(-700, -80) << true << false;
        QTest::newRow("right edge") << QPoint(-150, -500) << false << true;
        QTest::newRow("bottom right corner") << QPoint(-150, -80) << true << true;
    }
    void staysOnTheDesktop()
    {
        QFETCH(QPoint, fromBottomRight);
        QFETCH(bool, above);
        QFETCH(bool, shiftedLeft);
        TWindowFixture fixture;
        const QRect desktop = Desktop(fixture.Window);
        if (desktop.width() < 800 || desktop.height() < 600)
            QSKIP("the desktop is too small for these positions");
        fixture.Window.move(desktop.bottomRight() + QPoint(1, 1) + fromBottomRight);
        QVERIFY(fixture.Show());
        TLoggingContainer& container = *fixture.Container;
        container.Words()->resize(300, 150);
        const QPoint origin = container.mapToGlobal(QPoint(0, 0));
        QPoint point;
        container.GetListPosition(point);
        QCOMPARE(point.y(), above ? origin.y() - 150 : origin.y() + container.height());
        QCOMPARE(point.x(), shiftedLeft ? desktop.left() + desktop.width() - 300 : origin.x());
    }

    void neverLeftOfOrAboveTheDesktop()
    {
        TWindowFixture fixture;
        const QRect desktop = Desktop(fixture.Window);
        fixture.Window.move(desktop.topLeft());
        QVERIFY(fixture.Show());
        TLoggingContainer& container = *fixture.Container;
        container.setLayoutDirection(Qt::RightToLeft);
        // Wider than the desktop and taller than what lies under the container.
        container.Words()->resize(desktop.width() + 50, desktop.height());
        QPoint point;
        container.GetListPosition(point);
        QCOMPARE(point.x(), desktop.left());
        QCOMPARE(point.y(), desktop.top());
    }

    void aShownListThatResizesMovesToItsNewPlace()
    {
        TWindowFixture fixture;
        const QRect desktop = Desktop(fixture.Window);
        if (desktop.height() < 600)
            QSKIP("the desktop is too small for this position");
        fixture.Window.move(desktop.left() + 50, desktop.top() + desktop.height() - 50);
        QVERIFY(fixture.Show());
        TLoggingContainer& container = *fixture.Container;
        container.DropDown();
        const int containerTop = container.mapToGlobal(QPoint(0, 0)).y();
        QCOMPARE(container.Words()->y() + container.Words()->height(), containerTop);
        container.Words()->Load({"one", "two", "three", "four", "five", "six", "seven", "eight"});
        container.Words()->AdjustListSize();
        QCOMPARE(container.Words()->y() + container.Words()->height(), containerTop);
    }

    void keysOpenAndCloseTheList_data()
    {
        QTest::addColumn<int>("closingKey");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("Alt+Up") << int(Qt::Key_Up) << int(Qt::AltModifier) << true;
        QTest::newRow("Alt+Down") << int(Qt::Key_Down) << int(Qt::AltModifier) << true;
        QTest::newRow("Enter") << int(Qt::Key_Return) << 0 << true;
        QTest::newRow("Esc") << int(Qt::Key_Escape) << 0 << false;
    }
    void keysOpenAndCloseTheList()
    {
        QFETCH(int, closingKey);
        QFETCH(int, modifiers);
        QFETCH(bool, accepted);
        TWindowFixture fixture;
        QVERIFY(fixture.Show());
        TLoggingContainer& container = *fixture.Container;
        container.setFocusPolicy(Qt::StrongFocus);
        container.setFocus();
        QTest::keyClick(&container, Qt::Key_Down, Qt::AltModifier);
        QVERIFY(container.ListShown());
        // Other keys move in the list.
        QTest::keyClick(&container, Qt::Key_Down);
        QCOMPARE(container.Words()->CurrentWord(), QString("two"));
        QTest::keyClick(&container, Qt::Key(closingKey), Qt::KeyboardModifiers(modifiers));
        QVERIFY(!container.ListShown());
        QCOMPARE(container.Accept(), accepted);
    }

    void aPressElsewhereClosesWithoutAccepting()
    {
        TWindowFixture fixture;
        QVERIFY(fixture.Show());
        TLoggingContainer& container = *fixture.Container;
        container.DropDown();
        QVERIFY(QTest::qWaitForWindowExposed(container.List()));
        // The owning editor and the list itself keep it open.
        QTest::mouseClick(fixture.Editor, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(container.ListShown());
        QTest::mouseClick(container.List()->viewport(), Qt::LeftButton, {}, QPoint(20, 30));
        QVERIFY(container.ListShown());
        QTest::mouseClick(fixture.Other, Qt::LeftButton);
        QVERIFY(!container.ListShown());
        QVERIFY(!container.Accept());
        // Closed lists stop watching the application.
        container.Log.clear();
        QTest::mouseClick(fixture.Other, Qt::LeftButton);
        QVERIFY(container.Log.isEmpty());
    }

    void aPressOnAListButtonKeepsItOpen()
    {
        TWindowFixture fixture;
        QVERIFY(fixture.Show());
        TLoggingContainer& container = *fixture.Container;
        auto* button = new TListButton(container.List());
        button->setGeometry(2, 2, 30, 20);
        int clicks = 0;
        connect(button, &QToolButton::clicked, [&clicks] { ++clicks; });
        container.DropDown();
        QVERIFY(QTest::qWaitForWindowExposed(container.List()));
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(clicks, 1);
        QVERIFY(container.ListShown());
    }

    void theWindowLosingTheActivationCloses()
    {
        TWindowFixture fixture;
        QVERIFY(fixture.Show());
        TLoggingContainer& container = *fixture.Container;
        container.DropDown();
        QEvent deactivate(QEvent::WindowDeactivate);
        QCoreApplication::sendEvent(&fixture.Window, &deactivate);
        QVERIFY(!container.ListShown());
        QVERIFY(!container.Accept());
    }

    void theWheelGoesToTheListOnce()
    {
        TWindowFixture fixture;
        QVERIFY(fixture.Show());
        TOrvoDBDropDownList container(fixture.Editor);
        container.SetListClass<TBouncingList>();
        auto* list = static_cast<TBouncingList*>(container.List());
        list->Load({"one", "two", "three"});
        QWheelEvent closedWheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton,
                                Qt::NoModifier, Qt::NoScrollPhase, false);
        QVERIFY(!container.RouteWheel(&closedWheel));
        container.DropDown();
        QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QVERIFY(container.RouteWheel(&wheel));
        QCOMPARE(list->Wheels, 1);
        QVERIFY(!TOrvoDBDropDownList::WheelForwarding());
    }

signals:
    void listHidden();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide)
            emit listHidden();
        return QObject::eventFilter(watched, event);
    }

private:
    std::unique_ptr<TGridSettingsGuard> FGuard;
};

QTEST_MAIN(TstDropDownList)
#include "tst_dropdownlist.moc"
