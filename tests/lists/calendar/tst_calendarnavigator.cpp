// The calendar's date arithmetic without the widget: pages, cells, key and wheel moves,
// the date-time a pick gives, and the month data that shows a page.
#include "lists/calendar/tcalendarnavigator.h"
#include "lists/calendar/torvodbmonthdata.h"

#include "platform/core/exceptions.h"
#include "platform/core/tformatsettings.h"
#include "platform/data/tfield.h"

#include <QtTest>

using namespace orvo;

Q_DECLARE_METATYPE(orvo::TCalendarDepth)

namespace {

QDate iso(const char* text)
{
    return QDate::fromString(QString::fromLatin1(text), Qt::ISODate);
}

TDateTime isoDateTime(const char* text)
{
    return TDateTime::FromQDateTime(QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate));
}

TCalendarNavigator navigatorAt(TCalendarDepth depth, QDate date)
{
    TCalendarNavigator navigator;
    navigator.SetDateTime(TDateTime::FromQDate(date));
    navigator.SetDepth(depth);
    navigator.GoToDate(date);
    return navigator;
}

/// Restores the process-wide format settings a test replaced.
struct TFormatSettingsGuard
{
    TFormatSettings Saved = TFormatSettings::Default();
    ~TFormatSettingsGuard() { TFormatSettings::SetDefault(Saved); }
};

} // namespace

class TstCalendarNavigator : public QObject
{
    Q_OBJECT

private slots:
    void monthPageStartsOnTheMondayBeforeTheFirstDay_data();
    void monthPageStartsOnTheMondayBeforeTheFirstDay();
    void weekNumbersAreIsoWeeks_data();
    void weekNumbersAreIsoWeeks();
    void widerPagesShowOnePeriodMoreAtEachEnd_data();
    void widerPagesShowOnePeriodMoreAtEachEnd();
    void goToDateLandsOnTheCellOfTheDate_data();
    void goToDateLandsOnTheCellOfTheDate();
    void datesAreClampedToTheCalendarsRange_data();
    void datesAreClampedToTheCalendarsRange();
    void selectedDateTimeKeepsTimeAndClampsTheDay_data();
    void selectedDateTimeKeepsTimeAndClampsTheDay();
    void everyNavigationKeyMovesAsItsViewSays_data();
    void everyNavigationKeyMovesAsItsViewSays();
    void rowEndKeysOnWidePagesTurnToTheNeighbouringPeriod();
    void otherKeysAreNotNavigation();
    void wheelStepsDependOnViewAndModifiers_data();
    void wheelStepsDependOnViewAndModifiers();
    void depthNeverPassesTheDeepestAllowedView();
    void boldDaysFollowSundaysAndTheHandler();
    void todayIsFoundInEveryView_data();
    void todayIsFoundInEveryView();
    void namesComeFromTheFormatSettings();
    void monthDataShowsThePageAsRecords();
    void monthDataDepthChangesOnlyWhileClosed();
};

void TstCalendarNavigator::monthPageStartsOnTheMondayBeforeTheFirstDay_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QDate>("firstCell");
    QTest::addColumn<int>("firstDayOfMonthCell");
    QTest::newRow("month starts on Monday: a whole week before")
        << iso("2024-01-17") << iso("2023-12-25") << 7;
    QTest::newRow("month starts on Sunday: six days before") << iso("2023-10-09") << iso("2023-09-25") << 6;
    QTest::newRow("month starts on Wednesday") << iso("2024-05-31") << iso("2024-04-29") << 2;
    QTest::newRow("leap February starting Thursday") << iso("2024-02-29") << iso("2024-01-29") << 3;
}

void TstCalendarNavigator::monthPageStartsOnTheMondayBeforeTheFirstDay()
{
    QFETCH(QDate, date);
    QFETCH(QDate, firstCell);
    QFETCH(int, firstDayOfMonthCell);
    const TCalendarPage page(cdMonth, date);
    QCOMPARE(page.FirstCellDate(), firstCell);
    QCOMPARE(page.StartDate(), QDate(date.year(), date.month(), 1));
    const int row = firstDayOfMonthCell / 7;
    const int field = firstDayOfMonthCell % 7;
    QCOMPARE(page.CellDate(row, field), page.StartDate());
    QVERIFY(!page.IsOutsidePeriod(row, field));
    QVERIFY(page.IsOutsidePeriod(0, 0));
    QVERIFY(page.IsOutsidePeriod(5, 6));
    QCOMPARE(page.CellValue(0, 0), TVariant(firstCell.day()));
}

void TstCalendarNavigator::weekNumbersAreIsoWeeks_data()
{
    QTest::addColumn<QDate>("day");
    QTest::addColumn<int>("week");
    QTest::newRow("31 December 2020 is in week 53") << iso("2020-12-31") << 53;
    QTest::newRow("3 January 2021 is still week 53") << iso("2021-01-03") << 53;
    QTest::newRow("4 January 2021 starts week 1") << iso("2021-01-04") << 1;
    QTest::newRow("29 December 2025 is week 1 of 2026") << iso("2025-12-29") << 1;
    QTest::newRow("1 January 2023 (Sunday) is week 52") << iso("2023-01-01") << 52;
}

void TstCalendarNavigator::weekNumbersAreIsoWeeks()
{
    QFETCH(QDate, day);
    QFETCH(int, week);
    const TCalendarPage page(cdMonth, day);
    int row = 0;
    int field = 0;
    page.CellOf(day, row, field);
    QCOMPARE(page.CellDate(row, field), day);
    QCOMPARE(page.CellValue(row, TCalendarPage::kWeekField), TVariant(week));
}

void TstCalendarNavigator::widerPagesShowOnePeriodMoreAtEachEnd_data()
{
    QTest::addColumn<TCalendarDepth>("depth");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<TVariant>("firstValue");
    QTest::addColumn<TVariant>("lastValue");
    QTest::newRow("decade of 2024") << cdDecade << iso("2024-06-15") << "2020-2029" << TVariant(2019)
                                    << TVariant(2030);
    QTest::newRow("first decade of the range")
        << cdDecade << iso("1000-01-01") << "1000-1009" << TVariant(999) << TVariant(1010);
    QTest::newRow("century of 2024") << cdCentury << iso("2024-06-15") << "2000-2099"
                                     << TVariant("1990\n1999") << TVariant("2100\n2109");
    QTest::newRow("year 2024") << cdYear << iso("2024-06-15") << "2024" << TVariant("Jan") << TVariant("Dec");
}

void TstCalendarNavigator::widerPagesShowOnePeriodMoreAtEachEnd()
{
    QFETCH(TCalendarDepth, depth);
    QFETCH(QDate, date);
    QFETCH(QString, caption);
    QFETCH(TVariant, firstValue);
    QFETCH(TVariant, lastValue);
    TFormatSettingsGuard guard;
    TFormatSettings::SetDefault(TFormatSettings::Invariant());
    const TCalendarPage page(depth, date);
    const int first = TCalendarPage::FirstDataField(depth);
    QCOMPARE(page.RecordCount(), 3);
    QCOMPARE(page.Caption(), caption);
    QCOMPARE(page.CellValue(0, first), firstValue);
    QCOMPARE(page.CellValue(2, first + 3), lastValue);
    const bool greyEnds = depth != cdYear;
    QCOMPARE(page.IsOutsidePeriod(0, first), greyEnds);
    QCOMPARE(page.IsOutsidePeriod(2, first + 3), greyEnds);
    QVERIFY(!page.IsOutsidePeriod(0, first + 1));
    QVERIFY(!page.IsOutsidePeriod(2, first + 2));
    QVERIFY(!page.IsOutsidePeriod(1, first));
    QVERIFY(!page.IsOutsidePeriod(1, first + 3));
}

void TstCalendarNavigator::goToDateLandsOnTheCellOfTheDate_data()
{
    QTest::addColumn<TCalendarDepth>("depth");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("field");
    QTest::addColumn<QDate>("cellDate");
    QTest::newRow("month: a Wednesday") << cdMonth << iso("2024-05-15") << 2 << 2 << iso("2024-05-15");
    QTest::newRow("month: last day in the sixth row")
        << cdMonth << iso("2024-01-31") << 5 << 2 << iso("2024-01-31");
    QTest::newRow("month: a Monday first day") << cdMonth << iso("2024-01-01") << 1 << 0 << iso("2024-01-01");
    QTest::newRow("year: January") << cdYear << iso("2024-01-31") << 0 << 8 << iso("2024-01-01");
    QTest::newRow("year: May") << cdYear << iso("2024-05-15") << 1 << 8 << iso("2024-05-01");
    QTest::newRow("year: December") << cdYear << iso("2024-12-31") << 2 << 11 << iso("2024-12-01");
    QTest::newRow("decade: first year") << cdDecade << iso("2020-03-01") << 0 << 13 << iso("2020-01-01");
    QTest::newRow("decade: 2024") << cdDecade << iso("2024-06-15") << 1 << 13 << iso("2024-01-01");
    QTest::newRow("decade: last year") << cdDecade << iso("2029-12-31") << 2 << 14 << iso("2029-01-01");
    QTest::newRow("century: 2024") << cdCentury << iso("2024-06-15") << 0 << 19 << iso("2020-01-01");
    QTest::newRow("century: 2099") << cdCentury << iso("2099-06-15") << 2 << 18 << iso("2090-01-01");
}

void TstCalendarNavigator::goToDateLandsOnTheCellOfTheDate()
{
    QFETCH(TCalendarDepth, depth);
    QFETCH(QDate, date);
    QFETCH(int, row);
    QFETCH(int, field);
    QFETCH(QDate, cellDate);
    const TCalendarNavigator navigator = navigatorAt(depth, date);
    QCOMPARE(navigator.Depth(), depth);
    QCOMPARE(navigator.Row(), row);
    QCOMPARE(navigator.Field(), field);
    QCOMPARE(navigator.CurrentCellDate(), cellDate);
}

void TstCalendarNavigator::datesAreClampedToTheCalendarsRange_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QDate>("shown");
    QTest::newRow("last day before the range") << iso("0999-12-31") << iso("1000-01-01");
    QTest::newRow("first day of the range") << iso("1000-01-01") << iso("1000-01-01");
    QTest::newRow("last day of the range") << iso("8999-12-31") << iso("8999-12-31");
    QTest::newRow("first day after the range") << iso("9000-01-01") << iso("8999-12-31");
    QTest::newRow("far before") << iso("0001-01-01") << iso("1000-01-01");
    QTest::newRow("no date at all") << QDate() << iso("1000-01-01");
}

void TstCalendarNavigator::datesAreClampedToTheCalendarsRange()
{
    QFETCH(QDate, date);
    QFETCH(QDate, shown);
    TCalendarNavigator navigator;
    navigator.GoToDate(date);
    QCOMPARE(navigator.CurrentCellDate(), shown);
    // The largest steps stop at the ends as well.
    navigator.SetDepth(cdCentury);
    for (int i = 0; i < 10; ++i)
        navigator.KeyDown(Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(navigator.CurrentCellDate(), iso("8990-01-01"));
    navigator.Wheel(100, true);
    QCOMPARE(navigator.CurrentCellDate(), iso("8990-01-01"));
    for (int i = 0; i < 10; ++i)
        navigator.KeyDown(Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(navigator.CurrentCellDate(), iso("1000-01-01"));
}

void TstCalendarNavigator::selectedDateTimeKeepsTimeAndClampsTheDay_data()
{
    QTest::addColumn<TDateTime>("edited");
    QTest::addColumn<TCalendarDepth>("depth");
    QTest::addColumn<QDate>("cell");
    QTest::addColumn<TDateTime>("selected");
    QTest::newRow("another day keeps the time of day")
        << isoDateTime("2024-05-15T13:45:30") << cdMonth << iso("2024-05-20")
        << isoDateTime("2024-05-20T13:45:30");
    QTest::newRow("a day before 1900 keeps the time of day")
        << isoDateTime("1850-03-05T06:00:00") << cdMonth << iso("1850-03-10")
        << isoDateTime("1850-03-10T06:00:00");
    QTest::newRow("from after 1900 to before it") << isoDateTime("1900-01-02T18:00:00") << cdMonth
                                                  << iso("1899-12-29") << isoDateTime("1899-12-29T18:00:00");
    QTest::newRow("31 January to February of a leap year")
        << isoDateTime("2024-01-31T08:00:00") << cdYear << iso("2024-02-01")
        << isoDateTime("2024-02-29T08:00:00");
    QTest::newRow("31 January to February") << isoDateTime("2023-01-31T00:00:00") << cdYear
                                            << iso("2023-02-01") << isoDateTime("2023-02-28T00:00:00");
    QTest::newRow("31 January to April") << isoDateTime("2023-01-31T00:00:00") << cdYear << iso("2023-04-01")
                                         << isoDateTime("2023-04-30T00:00:00");
    QTest::newRow("the day is kept where the month has it")
        << isoDateTime("2023-01-15T00:00:00") << cdYear << iso("2023-06-01")
        << isoDateTime("2023-06-15T00:00:00");
    QTest::newRow("29 February to a year that has none")
        << isoDateTime("2024-02-29T10:30:00") << cdDecade << iso("2023-01-01")
        << isoDateTime("2023-02-28T10:30:00");
    QTest::newRow("29 February to a leap year") << isoDateTime("2024-02-29T10:30:00") << cdDecade
                                                << iso("2028-01-01") << isoDateTime("2028-02-29T10:30:00");
    QTest::newRow("29 February to another decade") << isoDateTime("2024-02-29T00:00:00") << cdCentury
                                                   << iso("2050-01-01") << isoDateTime("2050-02-28T00:00:00");
}

void TstCalendarNavigator::selectedDateTimeKeepsTimeAndClampsTheDay()
{
    QFETCH(TDateTime, edited);
    QFETCH(TCalendarDepth, depth);
    QFETCH(QDate, cell);
    QFETCH(TDateTime, selected);
    TCalendarNavigator navigator;
    navigator.SetDateTime(edited);
    navigator.SetDepth(depth);
    navigator.GoToDate(cell);
    QCOMPARE(navigator.SelectedDateTime().ToQDateTime(), selected.ToQDateTime());
    QCOMPARE(navigator.SelectedDateTime().Value(), selected.Value());
}

void TstCalendarNavigator::everyNavigationKeyMovesAsItsViewSays_data()
{
    QTest::addColumn<TCalendarDepth>("depth");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("ctrl");
    QTest::addColumn<QDate>("cell");
    struct TMove
    {
        const char* Name;
        int Key;
        bool Ctrl;
        const char* Month;   // from 2024-05-15, a Wednesday
        const char* Year;    // from June 2024, the second cell of its row
        const char* Decade;  // from 2024, the second cell of its row
        const char* Century; // from the 2050s, the third cell of its row
    };
    static const TMove moves[] = {
        {"PgUp", Qt::Key_PageUp, false, "2024-04-15", "2023-06-01", "2014-01-01", "1950-01-01"},
        {"Ctrl+PgUp", Qt::Key_PageUp, true, "2023-05-15", "2014-06-01", "1924-01-01", "1050-01-01"},
        {"PgDn", Qt::Key_PageDown, false, "2024-06-15", "2025-06-01", "2034-01-01", "2150-01-01"},
        {"Ctrl+PgDn", Qt::Key_PageDown, true, "2025-05-15", "2034-06-01", "2124-01-01", "3050-01-01"},
        {"Home", Qt::Key_Home, false, "2024-05-01", "2024-01-01", "2020-01-01", "2000-01-01"},
        {"Ctrl+Home", Qt::Key_Home, true, "2024-01-01", "2020-01-01", "2000-01-01", "2000-01-01"},
        {"End", Qt::Key_End, false, "2024-05-31", "2024-12-01", "2029-01-01", "2090-01-01"},
        {"Ctrl+End", Qt::Key_End, true, "2024-12-31", "2029-12-01", "2099-01-01", "2090-01-01"},
        {"Left", Qt::Key_Left, false, "2024-05-14", "2024-05-01", "2023-01-01", "2040-01-01"},
        {"Ctrl+Left", Qt::Key_Left, true, "2024-05-13", "2024-05-01", "2023-01-01", "2030-01-01"},
        {"Right", Qt::Key_Right, false, "2024-05-16", "2024-07-01", "2025-01-01", "2060-01-01"},
        {"Ctrl+Right", Qt::Key_Right, true, "2024-05-19", "2024-08-01", "2026-01-01", "2060-01-01"},
        {"Up", Qt::Key_Up, false, "2024-05-08", "2024-02-01", "2020-01-01", "2010-01-01"},
        {"Ctrl+Up", Qt::Key_Up, true, "2024-04-17", "2023-06-01", "2014-01-01", "1950-01-01"},
        {"Down", Qt::Key_Down, false, "2024-05-22", "2024-10-01", "2028-01-01", "2090-01-01"},
        {"Ctrl+Down", Qt::Key_Down, true, "2024-06-12", "2025-06-01", "2034-01-01", "2150-01-01"},
    };
    for (const TMove& move : moves) {
        QTest::addRow("month %s", move.Name)
            << cdMonth << iso("2024-05-15") << move.Key << move.Ctrl << iso(move.Month);
        QTest::addRow("year %s", move.Name)
            << cdYear << iso("2024-06-15") << move.Key << move.Ctrl << iso(move.Year);
        QTest::addRow("decade %s", move.Name)
            << cdDecade << iso("2024-06-15") << move.Key << move.Ctrl << iso(move.Decade);
        QTest::addRow("century %s", move.Name)
            << cdCentury << iso("2054-06-15") << move.Key << move.Ctrl << iso(move.Century);
    }
}

void TstCalendarNavigator::everyNavigationKeyMovesAsItsViewSays()
{
    QFETCH(TCalendarDepth, depth);
    QFETCH(QDate, from);
    QFETCH(int, key);
    QFETCH(bool, ctrl);
    QFETCH(QDate, cell);
    TCalendarNavigator navigator = navigatorAt(depth, from);
    QVERIFY(navigator.KeyDown(key, ctrl ? Qt::ControlModifier : Qt::NoModifier));
    QCOMPARE(navigator.CurrentCellDate(), cell);
    QCOMPARE(navigator.Depth(), depth);
}

void TstCalendarNavigator::rowEndKeysOnWidePagesTurnToTheNeighbouringPeriod()
{
    TCalendarNavigator navigator = navigatorAt(cdDecade, iso("2021-06-15"));
    navigator.KeyDown(Qt::Key_Left, Qt::ControlModifier);
    QCOMPARE(navigator.CurrentCellDate(), iso("2019-01-01"));
    QCOMPARE(navigator.Page().Caption(), QStringLiteral("2010-2019"));
    QCOMPARE(navigator.Row(), 2);
    QCOMPARE(navigator.Field(), TCalendarPage::kYearField + 2);

    navigator = navigatorAt(cdYear, iso("2024-03-15"));
    navigator.KeyDown(Qt::Key_Right, Qt::ControlModifier);
    QCOMPARE(navigator.CurrentCellDate(), iso("2024-04-01"));
    QCOMPARE(navigator.Row(), 0);
}

void TstCalendarNavigator::otherKeysAreNotNavigation()
{
    TCalendarNavigator navigator = navigatorAt(cdMonth, iso("2024-05-15"));
    for (int key : {int(Qt::Key_A), int(Qt::Key_Space), int(Qt::Key_Tab), int(Qt::Key_Insert)})
        QVERIFY(!navigator.KeyDown(key, Qt::NoModifier));
    QCOMPARE(navigator.CurrentCellDate(), iso("2024-05-15"));
}

void TstCalendarNavigator::wheelStepsDependOnViewAndModifiers_data()
{
    QTest::addColumn<TCalendarDepth>("depth");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("step");
    QTest::addColumn<QDate>("forward");
    const auto row = [](const char* name, TCalendarDepth depth, Qt::KeyboardModifiers modifiers, int step,
                        const char* forward) {
        QTest::newRow(name) << depth << int(modifiers) << step << iso(forward);
    };
    // From 2024-05-15 (month), May 2024 (year), 2024 (decade) and the 2020s (century).
    row("month", cdMonth, Qt::NoModifier, 4, "2024-06-12");
    row("month Ctrl", cdMonth, Qt::ControlModifier, 1, "2024-05-22");
    row("month Shift", cdMonth, Qt::ShiftModifier, 52, "2025-05-14");
    row("year", cdYear, Qt::NoModifier, 3, "2025-05-01");
    row("year Ctrl", cdYear, Qt::ControlModifier, 1, "2024-09-01");
    row("year Shift", cdYear, Qt::ShiftModifier, 30, "2034-05-01");
    row("decade", cdDecade, Qt::NoModifier, 10, "2034-01-01");
    row("decade Ctrl", cdDecade, Qt::ControlModifier, 4, "2028-01-01");
    row("decade Shift", cdDecade, Qt::ShiftModifier, 100, "2124-01-01");
    row("century", cdCentury, Qt::NoModifier, 10, "2120-01-01");
    row("century Ctrl", cdCentury, Qt::ControlModifier, 4, "2060-01-01");
    row("century Shift", cdCentury, Qt::ShiftModifier, 100, "3020-01-01");
}

void TstCalendarNavigator::wheelStepsDependOnViewAndModifiers()
{
    QFETCH(TCalendarDepth, depth);
    QFETCH(int, modifiers);
    QFETCH(int, step);
    QFETCH(QDate, forward);
    TCalendarNavigator navigator = navigatorAt(depth, iso("2024-05-15"));
    const QDate start = navigator.CurrentCellDate();
    QCOMPARE(navigator.WheelStep(Qt::KeyboardModifiers(modifiers)), step);
    navigator.Wheel(step, true);
    QCOMPARE(navigator.CurrentCellDate(), forward);
    navigator.Wheel(step, false);
    QCOMPARE(navigator.CurrentCellDate(), start);
}

void TstCalendarNavigator::depthNeverPassesTheDeepestAllowedView()
{
    TCalendarNavigator navigator = navigatorAt(cdMonth, iso("2024-05-15"));
    navigator.SetMaxDepth(cdYear);
    QVERIFY(!navigator.SetDepth(cdDecade));
    QVERIFY(!navigator.SetDepth(cdMonth));
    QVERIFY(navigator.SetDepth(cdYear));
    QCOMPARE(navigator.CurrentCellDate(), iso("2024-05-01"));
    QVERIFY(!navigator.SetDepth(cdCentury));
    QCOMPARE(navigator.Depth(), cdYear);
    navigator.TurnPage(false);
    QCOMPARE(navigator.CurrentCellDate(), iso("2023-05-01"));
    QVERIFY(navigator.SetDepth(cdMonth));
    QCOMPARE(navigator.CurrentCellDate(), iso("2023-05-15"));
    navigator.TurnPage(true);
    QCOMPARE(navigator.CurrentCellDate(), iso("2023-06-15"));
}

void TstCalendarNavigator::boldDaysFollowSundaysAndTheHandler()
{
    // September 2024 starts on a Sunday: its first cell is Monday 26 August.
    const TCalendarPage page(cdMonth, iso("2024-09-10"));
    const quint64 sundays = page.BoldDays(true, {});
    QCOMPARE(qPopulationCount(sundays), 6);
    for (int i = 0; i < TCalendarPage::kMonthCells; ++i)
        QCOMPARE(bool(sundays >> i & 1), i % 7 == 6);

    QCOMPARE(page.BoldDays(false, {}), quint64(0));

    QList<QDate> asked;
    const quint64 chosen = page.BoldDays(true, [&](QDate day, bool& bold) {
        asked << day;
        if (day == iso("2024-09-10"))
            bold = true;
        if (day == iso("2024-09-15"))
            bold = false;
    });
    QCOMPARE(asked.size(), TCalendarPage::kMonthCells);
    QCOMPARE(asked.first(), iso("2024-08-26"));
    QCOMPARE(asked.last(), iso("2024-10-06"));
    QCOMPARE(chosen, (sundays | quint64(1) << 15) & ~(quint64(1) << 20));

    const quint64 handlerOnly = page.BoldDays(false, [](QDate day, bool& bold) { bold = day.day() == 1; });
    QCOMPARE(handlerOnly, quint64(1) << 6 | quint64(1) << 36);
    QCOMPARE(TCalendarPage(cdYear, iso("2024-09-10")).BoldDays(true, {}), quint64(0));
}

void TstCalendarNavigator::todayIsFoundInEveryView_data()
{
    QTest::addColumn<TCalendarDepth>("depth");
    QTest::addColumn<QDate>("cell");
    QTest::addColumn<bool>("holds");
    const QDate today = iso("2024-05-15");
    QTest::newRow("the day itself") << cdMonth << today << true;
    QTest::newRow("the day after") << cdMonth << today.addDays(1) << false;
    QTest::newRow("today's month") << cdYear << today << true;
    QTest::newRow("the month after") << cdYear << iso("2024-06-01") << false;
    QTest::newRow("today's year") << cdDecade << today << true;
    QTest::newRow("the year before") << cdDecade << iso("2023-01-01") << false;
    QTest::newRow("today's decade") << cdCentury << today << true;
    QTest::newRow("the decade before") << cdCentury << iso("2019-01-01") << false;
}

void TstCalendarNavigator::todayIsFoundInEveryView()
{
    QFETCH(TCalendarDepth, depth);
    QFETCH(QDate, cell);
    QFETCH(bool, holds);
    const TCalendarNavigator navigator = navigatorAt(depth, cell);
    QCOMPARE(navigator.Page().HoldsDay(navigator.Row(), navigator.Field(), iso("2024-05-15")), holds);
}

void TstCalendarNavigator::namesComeFromTheFormatSettings()
{
    TFormatSettingsGuard guard;
    TFormatSettings german = TFormatSettings::Invariant();
    german.ShortMonthNames = {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun",
                              "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
    german.LongMonthNames = {"Januar", "Februar", "März",      "April",   "Mai",      "Juni",
                             "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
    TFormatSettings::SetDefault(german);
    const TCalendarPage year(cdYear, iso("2024-03-01"));
    QCOMPARE(year.CellValue(0, TCalendarPage::kMonthField + 2), TVariant("Mär"));
    QCOMPARE(year.CellValue(2, TCalendarPage::kMonthField + 3), TVariant("Dez"));
    QCOMPARE(TCalendarPage(cdMonth, iso("2024-03-01")).Caption(), QStringLiteral("März 2024"));
}

void TstCalendarNavigator::monthDataShowsThePageAsRecords()
{
    TOrvoDBMonthData data;
    data.SetDate(TDateTime::FromQDate(iso("2021-01-20")));
    data.Open();
    QCOMPARE(data.RecordCount(), 6);
    QCOMPARE(data.FirstCellDate().ToQDate(), iso("2020-12-28"));
    QCOMPARE(data.StartDate().ToQDate(), iso("2021-01-01"));
    QCOMPARE(data.FieldByName(QStringLiteral("Day0"))->AsInteger(), 28);
    QCOMPARE(data.FieldByName(QStringLiteral("Day6"))->AsInteger(), 3);
    QCOMPARE(data.FieldByName(QStringLiteral("Week"))->AsInteger(), 53);
    QVERIFY(data.FieldByName(QStringLiteral("Year0"))->IsNull());
    QVERIFY(!data.CanModify());
    QVERIFY(data.FieldByName(QStringLiteral("Day3"))->ReadOnly());
    data.Next();
    QCOMPARE(data.FieldByName(QStringLiteral("Day0"))->AsInteger(), 4);
    QCOMPARE(data.FieldByName(QStringLiteral("Week"))->AsInteger(), 1);

    // A new date in the same depth changes the values in place.
    data.SetDate(TDateTime::FromQDate(iso("2024-09-10")));
    QCOMPARE(data.RecordCount(), 6);
    data.First();
    QCOMPARE(data.FieldByName(QStringLiteral("Day0"))->AsInteger(), 26);
    QCOMPARE(data.FieldByName(QStringLiteral("Week"))->AsInteger(), 35);
}

void TstCalendarNavigator::monthDataDepthChangesOnlyWhileClosed()
{
    TOrvoDBMonthData data;
    data.Open();
    QVERIFY_THROWS_EXCEPTION(Exception, data.SetDepth(cdDecade));
    data.Close();
    data.SetDepth(cdDecade);
    data.SetDate(TDateTime::FromQDate(iso("2024-06-15")));
    data.Open();
    QCOMPARE(data.RecordCount(), 3);
    QCOMPARE(data.StartDate().ToQDate(), iso("2020-01-01"));
    QCOMPARE(data.FirstCellDate().ToQDate(), iso("2019-01-01"));
    QCOMPARE(data.FieldByName(QStringLiteral("Year0"))->AsInteger(), 2019);
    data.Last();
    QCOMPARE(data.FieldByName(QStringLiteral("Year3"))->AsInteger(), 2030);
    QVERIFY(data.FieldByName(QStringLiteral("Day0"))->IsNull());
}

QTEST_GUILESS_MAIN(TstCalendarNavigator)
#include "tst_calendarnavigator.moc"
