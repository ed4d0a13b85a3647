#include "lists/common/twordlist.h"

#include "grid/common/gridtestwidgets.h"
#include "grid/common/tgridsettingsguard.h"
#include "grid/dbgrid/orvolistsettings.h"
#include "lists/popup/tlistbutton.h"
#include "lists/popup/torvodbdropdownlist.h"
#include "platform/gridbase/tfocusedlook.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QStyle>
#include <QTest>

#include <memory>

using namespace orvo;
using namespace orvo::test;

namespace {

QStringList Numbered(int count)
{
    QStringList words;
    for (int i = 1; i <= count; ++i)
        words << QStringLiteral("Word %1").arg(i, 3, 10, QLatin1Char('0'));
    return words;
}

int ScrollBarExtent(const QWidget& widget)
{
    return widget.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

} // namespace

class TstPopupList : public QObject
{
    Q_OBJECT

private slots:
    void init() { FGuard = std::make_unique<TGridSettingsGuard>(); }
    void cleanup() { FGuard.reset(); }

    void listIsATopLevelWindowThatNeverTakesTheFocus()
    {
        QWidget owner;
        TWordList list(&owner, {});
        QVERIFY(list.isWindow());
        QCOMPARE(list.parentWidget(), &owner);
        const Qt::WindowFlags flags = list.windowFlags();
        QVERIFY(flags.testFlag(Qt::Tool));
        QVERIFY(flags.testFlag(Qt::FramelessWindowHint));
        QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
        QVERIFY((flags & Qt::WindowType_Mask) != Qt::Popup);
        QVERIFY(list.testAttribute(Qt::WA_ShowWithoutActivating));
        QCOMPARE(list.focusPolicy(), Qt::NoFocus);
        QVERIFY(!list.isVisible());
        QVERIFY(TFocusedLook::DrawsFocused(&list));
        QVERIFY(list.PopupMenu() != nullptr);
        QVERIFY(list.PopupMenu()->actions().isEmpty());
    }

    void drawsItsCurrentRowAsFocusedWithoutTheFocus()
    {
        QWidget window;
        QLineEdit* edit = new QLineEdit(&window);
        QVERIFY(ShowExposed(window, 200, 60));
        edit->setFocus();
        TWordList list(&window, {});
        list.Load(Numbered(5));
        list.AdjustListSize();
        list.ShowListAt(QPoint(0, 100));
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QVERIFY(!list.hasFocus());
        const QPoint currentRow =
            list.viewport()->mapTo(&list, QPoint(60, list.TitleHeight() + list.RowPitch() / 2));
        const QColor focused = list.grab().toImage().pixelColor(currentRow);
        TFocusedLook::SetDrawsFocused(&list, false);
        const QColor unfocused = list.grab().toImage().pixelColor(currentRow);
        QVERIFY(focused != unfocused);
    }

    void sizesItselfToItsRows_data()
    {
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("dropDownRows");
        QTest::addColumn<int>("rowsShown");
        QTest::addColumn<bool>("scrollRoom");
        QTest::newRow("5 records, automatic") << 5 << 0 << 5 << false;
        QTest::newRow("20 records, automatic") << 20 << 0 << 20 << false;
        QTest::newRow("21 records, automatic") << 21 << 0 << 20 << true;
        QTest::newRow("50 records, automatic") << 50 << 0 << 20 << true;
        QTest::newRow("50 records, 30 rows") << 50 << 30 << 30 << true;
        QTest::newRow("50 records, all rows") << 50 << -1 << 50 << true;
        QTest::newRow("5 records, 30 rows") << 5 << 30 << 5 << false;
        QTest::newRow("5 records, 3 rows") << 5 << 3 << 3 << false;
        QTest::newRow("empty list") << 0 << 0 << 1 << false;
        QTest::newRow("empty list, all rows") << 0 << -1 << 1 << false;
    }
    void sizesItselfToItsRows()
    {
        QFETCH(int, records);
        QFETCH(int, dropDownRows);
        QFETCH(int, rowsShown);
        QFETCH(bool, scrollRoom);
        TWordList list(nullptr, {});
        list.Load(Numbered(records), 150);
        list.SetDropDownRows(dropDownRows);
        list.AdjustListSize();
        QVERIFY(list.RowPitch() > 0);
        QCOMPARE(list.FooterHeight(), 0);
        QCOMPARE(list.height(), rowsShown * list.RowPitch() + list.TitleHeight() + 2);
        QCOMPARE(list.width(), list.ColumnsWidth() + (scrollRoom ? ScrollBarExtent(list) : 0) + 2);
    }

    void keepsItsWidthWithinTheLimit_data()
    {
        QTest::addColumn<int>("columnWidth"); // two columns of it
        QTest::addColumn<int>("dropDownWidth");
        QTest::addColumn<int>("expected"); // -1: the natural width
        QTest::newRow("wide columns, automatic") << 500 << 0 << 800;
        QTest::newRow("wide columns, wider than natural") << 500 << 1200 << -1;
        QTest::newRow("wide columns, 300") << 500 << 300 << 300;
        QTest::newRow("narrow columns, automatic") << 200 << 0 << -1;
        QTest::newRow("narrow columns, all width") << 200 << -1 << -1;
    }
    void keepsItsWidthWithinTheLimit()
    {
        QFETCH(int, columnWidth);
        QFETCH(int, dropDownWidth);
        QFETCH(int, expected);
        TWordList list(nullptr, {});
        list.Load(Numbered(5), columnWidth, 2);
        list.SetDropDownWidth(-1);
        list.AdjustListSize();
        const int natural = list.width();
        QCOMPARE(natural, list.ColumnsWidth() + 2);
        QVERIFY(natural > 2 * columnWidth);
        list.SetDropDownWidth(dropDownWidth);
        list.AdjustListSize();
        QCOMPARE(list.width(), expected < 0 ? natural : expected);
        // Columns fill a list that is not as wide as they are.
        QCOMPARE(list.StretchMode(), list.width() != natural);
    }

    void maxListSettingsApply()
    {
        TOrvoListSettings::MaxListRows() = 4;
        TOrvoListSettings::MaxListWidth() = 100;
        TWordList list(nullptr, {});
        list.Load(Numbered(10), 300);
        list.AdjustListSize();
        QCOMPARE(list.height(), 4 * list.RowPitch() + list.TitleHeight() + 2);
        QCOMPARE(list.width(), 100);
    }

    void isAtLeastAsWideAsItsContainerWhenAsked()
    {
        QWidget window;
        TOrvoDBDropDownList container(&window);
        container.setGeometry(0, 0, 400, 20);
        TWordList list(&container, {});
        list.Load(Numbered(3), 100);
        list.AdjustListSize();
        QVERIFY(list.width() < 400);
        list.SetMinParentWidth(true);
        list.AdjustListSize();
        QCOMPARE(list.width(), 400);
    }

    void autoSizeOffKeepsTheSize()
    {
        TWordList list(nullptr, {});
        list.Load(Numbered(10));
        list.resize(123, 45);
        list.SetAutoSize(false);
        list.AdjustListSize();
        QCOMPARE(list.size(), QSize(123, 45));
    }

    void showsAndHidesWithoutTakingTheFocus()
    {
        QWidget window;
        QLineEdit* edit = new QLineEdit(&window);
        QVERIFY(ShowExposed(window, 300, 100));
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        TWordList list(&window, {});
        list.Load(Numbered(5));
        list.AdjustListSize();
        list.ShowListAt(QPoint(40, 60));
        QVERIFY(list.ListShown());
        QVERIFY(list.isVisible());
        QCOMPARE(list.pos(), QPoint(40, 60));
        QVERIFY(edit->hasFocus());
        list.HideList();
        QVERIFY(!list.ListShown());
        QVERIFY(!list.isVisible());
    }

    void redroppingSkipsTheHide()
    {
        TWordList list(nullptr, {});
        list.Load(Numbered(5));
        list.ShowListAt(QPoint(10, 10));
        list.SetRedropping(true);
        list.HideList();
        QVERIFY(!list.ListShown());
        QVERIFY(list.isVisible());
        list.SetRedropping(false);
        list.HideList();
        QVERIFY(!list.isVisible());
    }

    void slidesOpenStepByStepOnATimer()
    {
        TOrvoListSettings::ListAnimationDelay() = 5;
        TWordList list(nullptr, {});
        list.Load(Numbered(10));
        list.SetAnimation(true);
        list.AdjustListSize();
        const int target = list.height();
        list.ShowListAnimated(QPoint(10, 10));
        // The first step shows the titles and one row; the rest grows from the event loop.
        QVERIFY(list.Animating());
        QCOMPARE(list.height(), list.TitleHeight() + list.RowPitch() + 1 + 2);
        int previous = list.height();
        int steps = 0;
        while (list.Animating()) {
            QTest::qWait(1);
            QVERIFY(list.height() >= previous);
            QVERIFY(list.height() - previous <= list.RowPitch());
            if (list.height() != previous)
                ++steps;
            previous = list.height();
            QVERIFY(steps <= 10);
        }
        QCOMPARE(list.height(), target);
        QVERIFY(steps >= 5);
    }

    void slideStopsAtOnceWhenHidden()
    {
        TOrvoListSettings::ListAnimationDelay() = 5;
        TWordList list(nullptr, {});
        list.Load(Numbered(10));
        list.SetAnimation(true);
        list.AdjustListSize();
        const int target = list.height();
        list.ShowListAnimated(QPoint(10, 10));
        QVERIFY(list.Animating());
        list.HideList();
        QVERIFY(!list.Animating());
        const int stopped = list.height();
        QTest::qWait(60);
        QCOMPARE(list.height(), stopped);
        QVERIFY(stopped < target);
    }

    void slideOffShowsWholeAtOnce_data()
    {
        QTest::addColumn<bool>("animation");
        QTest::addColumn<int>("delay");
        QTest::newRow("animation off") << false << 8;
        QTest::newRow("no delay") << true << 0;
    }
    void slideOffShowsWholeAtOnce()
    {
        QFETCH(bool, animation);
        QFETCH(int, delay);
        TOrvoListSettings::ListAnimationDelay() = delay;
        TWordList list(nullptr, {});
        list.Load(Numbered(10));
        list.SetAnimation(animation);
        list.AdjustListSize();
        const int target = list.height();
        list.ShowListAnimated(QPoint(10, 10));
        QVERIFY(!list.Animating());
        QCOMPARE(list.height(), target);
        QVERIFY(list.ListShown());
    }

    void upwardSlideKeepsTheBottomEdge()
    {
        TOrvoListSettings::ListAnimationDelay() = 2;
        QWidget window;
        window.move(0, 400);
        TOrvoDBDropDownList container(&window);
        container.setGeometry(0, 0, 100, 20);
        TWordList list(&container, {});
        list.Load(Numbered(10));
        list.SetAnimation(true);
        list.AdjustListSize();
        const int target = list.height();
        const QPoint above(0, container.mapToGlobal(QPoint(0, 0)).y() - target);
        list.ShowListAnimated(above);
        QCOMPARE(list.y() + list.height(), above.y() + target);
        QTRY_VERIFY(!list.Animating());
        QCOMPARE(list.pos(), above);
        QCOMPARE(list.height(), target);
    }

    void trackingHidesTheHighlightUntilTheMouseIsOverTheRows()
    {
        TWordList list(nullptr, {});
        list.Load(Numbered(10));
        list.SetSelectRowColor(clRed);
        list.AdjustListSize();
        list.ShowListAt(QPoint(10, 10));
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.SetTrackSelection(true);
        QVERIFY(!list.SelectionShown());
        QCOMPARE(list.SelectRowColor(), clNone);
        QWidget* viewport = list.viewport();
        QTest::mouseMove(viewport, QPoint(20, list.TitleHeight() + list.RowPitch() / 2));
        QTRY_VERIFY(list.SelectionShown());
        QCOMPARE(list.SelectRowColor(), clRed);
        QTest::mouseMove(viewport, QPoint(20, list.TitleHeight() / 2));
        QTRY_VERIFY(!list.SelectionShown());
        QCOMPARE(list.SelectRowColor(), clNone);
        list.SetTrackSelection(false);
        QVERIFY(list.SelectionShown());
        QCOMPARE(list.SelectRowColor(), clRed);
    }

    void lineColorsFollowTheRequest_data()
    {
        QTest::addColumn<TColor>("requested");
        QTest::addColumn<TColor>("applied"); // clNone: the list's own colour
        QTest::newRow("a colour") << TColor(clBlue) << TColor(clBlue);
        QTest::newRow("the window colour") << TColor(clWindow) << TColor(clNone);
    }
    void lineColorsFollowTheRequest()
    {
        QFETCH(TColor, requested);
        QFETCH(TColor, applied);
        TWordList list(nullptr, {});
        list.SetColor(clYellow);
        list.SetListColLineColor(requested);
        list.SetListRowLineColor(requested);
        const TColor expected = applied == clNone ? TColor(clYellow) : applied;
        QCOMPARE(list.DataColLineColor(), expected);
        QCOMPARE(list.DataRowLineColor(), expected);
        QCOMPARE(list.ListColLineColor(), requested);
        // A later colour of the list is what the lines show once it opens.
        list.SetColor(clLime);
        list.ShowListAt(QPoint(0, 0));
        QCOMPARE(list.DataColLineColor(), applied == clNone ? TColor(clLime) : applied);
    }

    void flatButtonsReachEveryListButton()
    {
        TWordList list(nullptr, {});
        auto* first = new TListButton(&list);
        auto* second = new TListButton(list.viewport());
        list.SetFlatButtons(true);
        list.SetButtonEdges(true);
        QVERIFY(first->Flat() && second->Flat());
        QVERIFY(first->Edges() && second->Edges());
        list.SetFlatButtons(false);
        QVERIFY(!first->Flat() && !second->Flat());
    }

    void closeRequestGoesToTheHandlerElseHides()
    {
        QList<bool> requests;
        TWordList handled(nullptr, [&requests](bool accept) { requests << accept; });
        handled.ShowListAt(QPoint(0, 0));
        handled.RequestCloseUp(true);
        handled.RequestCloseUp(false);
        QCOMPARE(requests, (QList<bool>{true, false}));
        QVERIFY(handled.ListShown());

        TWordList alone(nullptr, {});
        alone.ShowListAt(QPoint(0, 0));
        alone.RequestCloseUp(true);
        QVERIFY(!alone.ListShown());
    }

private:
    std::unique_ptr<TGridSettingsGuard> FGuard;
};

QTEST_MAIN(TstPopupList)
#include "tst_popuplist.moc"
