#include "grid/common/tgridsettingsguard.h"
#include "lists/common/twordlist.h"

#include "grid/search/torvodbgridsearch.h"

#include <QApplication>
#include <QTest>

#include <memory>

using namespace orvo;
using namespace orvo::test;

namespace {

const QString LongWord = QString(40, QLatin1Char('a'));

QStringList SearchWords()
{
    return {"apple", "Banana", "blueberry", "cherry", "grape", LongWord};
}

/// A list whose clock the test moves by hand.
struct TSearchFixture
{
    TSearchFixture()
    {
        List.Load(SearchWords());
        List.SetClock([this] { return Now; });
        List.AdjustListSize();
        List.ShowListAt(QPoint(10, 10));
    }
    void Type(const QString& text)
    {
        for (const QChar ch : text)
            QTest::keyClick(&List, ch.toLatin1());
    }
    qint64 Now = 100000;
    TWordList List{nullptr, {}};
};

} // namespace

class TstPopupListEx : public QObject
{
    Q_OBJECT

private slots:
    void init() { FGuard = std::make_unique<TGridSettingsGuard>(); }
    void cleanup() { FGuard.reset(); }

    void typingSearchesByPrefixIgnoringCase_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("searchText");
        QTest::addColumn<QString>("current");
        QTest::newRow("one letter") << "b"
                                    << "b"
                                    << "Banana";
        QTest::newRow("two letters") << "bl"
                                     << "bl"
                                     << "blueberry";
        QTest::newRow("upper case") << "CH"
                                    << "CH"
                                    << "cherry";
        QTest::newRow("no match drops the letter") << "bx"
                                                   << "b"
                                                   << "Banana";
        QTest::newRow("no match at all") << "z"
                                         << ""
                                         << "apple";
    }
    void typingSearchesByPrefixIgnoringCase()
    {
        QFETCH(QString, typed);
        QFETCH(QString, searchText);
        QFETCH(QString, current);
        TSearchFixture fixture;
        fixture.Type(typed);
        QCOMPARE(fixture.List.SearchText(), searchText);
        QCOMPARE(fixture.List.CurrentWord(), current);
    }

    void aPauseStartsANewSearch_data()
    {
        QTest::addColumn<int>("pause");
        QTest::addColumn<QString>("searchText");
        QTest::addColumn<QString>("current");
        QTest::newRow("2.5 s") << 2500 << "g"
                               << "grape";
        QTest::newRow("2001 ms") << 2001 << "g"
                                 << "grape";
        QTest::newRow("2000 ms") << 2000 << "c"
                                 << "cherry";
        QTest::newRow("1 s") << 1000 << "c"
                             << "cherry";
    }
    void aPauseStartsANewSearch()
    {
        QFETCH(int, pause);
        QFETCH(QString, searchText);
        QFETCH(QString, current);
        TSearchFixture fixture;
        fixture.Type("c");
        QVERIFY(fixture.List.SearchKeyRecent());
        fixture.Now += pause;
        QCOMPARE(fixture.List.SearchKeyRecent(), pause <= 2000);
        // "cg" finds nothing, so a search that did not restart stays at "c".
        fixture.Type("g");
        QCOMPARE(fixture.List.SearchText(), searchText);
        QCOMPARE(fixture.List.CurrentWord(), current);
    }

    void theSearchTextStopsAt32Characters()
    {
        TSearchFixture fixture;
        fixture.Type(QString(33, QLatin1Char('a')));
        QCOMPARE(fixture.List.SearchText(), QString(32, QLatin1Char('a')));
        QCOMPARE(fixture.List.CurrentWord(), LongWord);
    }

    void backspaceEscapeAndAClickClearTheSearch_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("backspace") << int(Qt::Key_Backspace);
        QTest::newRow("escape") << int(Qt::Key_Escape);
    }
    void backspaceEscapeAndAClickClearTheSearch()
    {
        QFETCH(int, key);
        TSearchFixture fixture;
        fixture.Type("bl");
        QTest::keyClick(&fixture.List, Qt::Key(key));
        QCOMPARE(fixture.List.SearchText(), QString());
        fixture.Type("ch");
        QCOMPARE(fixture.List.SearchText(), QString("ch"));
        QTest::mouseClick(fixture.List.viewport(), Qt::LeftButton, {},
                          QPoint(30, fixture.List.TitleHeight() + 2));
        QCOMPARE(fixture.List.SearchText(), QString());
    }

    void searchNeedsAStringDataField_data()
    {
        QTest::addColumn<QString>("field");
        QTest::newRow("no field") << "";
        QTest::newRow("missing field") << "Nothing";
    }
    void searchNeedsAStringDataField()
    {
        QFETCH(QString, field);
        TSearchFixture fixture;
        fixture.List.SetSearchField(field);
        fixture.Type("c");
        QCOMPARE(fixture.List.SearchText(), QString());
        QCOMPARE(fixture.List.CurrentWord(), QString("apple"));
    }

    void settingTheSearchFieldClearsTheText()
    {
        TSearchFixture fixture;
        fixture.Type("b");
        fixture.List.SetSearchField(QStringLiteral("Item"));
        QCOMPARE(fixture.List.SearchText(), QString());
    }

    void threeQuickClicksAreOneDoubleClickAndOneClick()
    {
        TSearchFixture fixture;
        TWordList& list = fixture.List;
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        int doubleClicks = 0;
        list.OnCellDblClick = [&doubleClicks](TOrvoColumn*) { ++doubleClicks; };
        const QPoint row(30, list.TitleHeight() + list.RowPitch() + 2);
        QVERIFY(list.NoClickPending());
        const auto press = [&](qint64 advance) {
            fixture.Now += advance;
            QTest::mousePress(list.viewport(), Qt::LeftButton, {}, row);
            QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, row);
        };
        press(0);
        QCOMPARE(doubleClicks, 0);
        QVERIFY(!list.NoClickPending());
        press(50);
        QCOMPARE(doubleClicks, 1);
        QVERIFY(list.NoClickPending());
        press(50);
        QCOMPARE(doubleClicks, 1);
        QVERIFY(!list.NoClickPending());
        // A slow second press is a single click again.
        press(QApplication::doubleClickInterval() + 1);
        QCOMPARE(doubleClicks, 1);
        QVERIFY(!list.NoClickPending());
        press(10);
        QCOMPARE(doubleClicks, 2);
    }

    void quickClicksOnTwoRowsAreTwoClicks()
    {
        TSearchFixture fixture;
        TWordList& list = fixture.List;
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        int doubleClicks = 0;
        list.OnCellDblClick = [&doubleClicks](TOrvoColumn*) { ++doubleClicks; };
        const int y = list.TitleHeight() + 2;
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(30, y), 0);
        fixture.Now += 10;
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(30, y + list.RowPitch()), 0);
        QCOMPARE(doubleClicks, 0);
    }

private:
    std::unique_ptr<TGridSettingsGuard> FGuard;
};

QTEST_MAIN(TstPopupListEx)
#include "tst_popuplistex.moc"
