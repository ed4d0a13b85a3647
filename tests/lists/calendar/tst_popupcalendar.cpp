// The drop-down calendar as a user meets it: shown, driven by real keys, clicks and
// wheel turns, with the clock fixed on 15 May 2024.
#include "lists/calendar/tcalendarcolumns.h"
#include "lists/calendar/tcalendarpage.h"
#include "lists/calendar/tcalendartodayshape.h"
#include "lists/calendar/torvodbmonthdata.h"
#include "lists/calendar/torvodbpopupcalendar.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvocolumntitle.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/orvolistsettings.h"
#include "platform/core/tformatsettings.h"
#include "platform/data/tfield.h"

#include <QLabel>
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

/// A shown calendar whose today is 15 May 2024, in the fixed English settings.
struct TShownCalendar
{
    TFormatSettings SavedSettings = TFormatSettings::Default();
    TOrvoDBPopupCalendar Calendar;
    QList<bool> CloseRequests;

    TShownCalendar()
    {
        TFormatSettings::SetDefault(TFormatSettings::Invariant());
        Calendar.Clock = [] { return TDateTime::FromQDate(QDate(2024, 5, 15)); };
        Calendar.OnListCloseRequest = [this](bool accept) { CloseRequests << accept; };
    }
    ~TShownCalendar() { TFormatSettings::SetDefault(SavedSettings); }

    [[nodiscard]] bool Show(TDateTime date)
    {
        Calendar.SetDate(date);
        Calendar.AdjustListSize();
        Calendar.ShowListAt(QPoint(50, 50));
        return QTest::qWaitForWindowExposed(&Calendar);
    }
    QDate Cell() const { return Calendar.CurrentCellDate().ToQDate(); }
    QString Caption() const
    {
        return Calendar.Columns()
            ->Items(TCalendarColumns::GroupStart(Calendar.Depth()) + 2)
            ->Title()
            ->Caption();
    }
    /// The centre of the grid cell that shows `column` in data row `dataRow` (-1: the title row).
    QPoint CellCentre(int columnIndex, int dataRow) const
    {
        const int col = Calendar.DataToRawColumn(columnIndex);
        const int row = dataRow < 0 ? 0 : Calendar.TitleOffset() + dataRow;
        return Calendar.CellRect(col, row).center();
    }
    /// The centre of a title column's own title, above its data columns.
    QPoint TitleCentre(int columnIndex) const
    {
        const TOrvoColumn* title = Calendar.Columns()->Items(columnIndex);
        const QPoint first = CellCentre(columnIndex + 1, -1);
        const QPoint last = CellCentre(columnIndex + title->ExpandCols(), -1);
        return QPoint((first.x() + last.x()) / 2, first.y());
    }
    void Click(QPoint at) { QTest::mouseClick(Calendar.viewport(), Qt::LeftButton, Qt::NoModifier, at); }
    void ClickCell(QDate date, TCalendarDepth depth)
    {
        int row = 0;
        int field = 0;
        const TCalendarPage page(depth, Calendar.CurrentCellDate().ToQDate());
        page.CellOf(date, row, field);
        Click(CellCentre(
            TCalendarColumns::ColumnOfField(Calendar.Columns(), field, Calendar.ShowWeekNumbers())->Index(),
            row));
    }
    void Wheel(int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QPointF at = CellCentre(5, 2);
        QWheelEvent event(at, Calendar.viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(Calendar.viewport(), &event);
    }
};

} // namespace

class TstPopupCalendar : public QObject
{
    Q_OBJECT

private slots:
    void opensOnTheDateWithItsDayCurrent();
    void keysTurnMonthsAndYears_data();
    void keysTurnMonthsAndYears();
    void keysItDoesNotNavigateByAreSwallowed();
    void captionClicksWidenTheViewUpToTheCentury();
    void cellClicksNarrowTheViewAndADayAccepts();
    void theDeepestViewIsTheMaxDepth();
    void titleButtonsTurnPages_data();
    void titleButtonsTurnPages();
    void aGreyDayClickedTurnsToItsMonth();
    void theWheelMovesByRowsAndThePageStep();
    void boldDaysComeFromSundaysAndTheHandler();
    void todayLabelGoesToTodayAndMayAccept();
    void cellTextsThatAreNoDatesOpenOnToday_data();
    void cellTextsThatAreNoDatesOpenOnToday();
    void weekNumbersWidenTheCalendarAndFixTwoColumns();
    void theFooterHoldsTheTodayControls();
};

void TstPopupCalendar::opensOnTheDateWithItsDayCurrent()
{
    TShownCalendar f;
    QVERIFY(f.Show(isoDateTime("2024-02-29T09:15:00")));
    QCOMPARE(f.Calendar.Depth(), cdMonth);
    QCOMPARE(f.Calendar.DataRowCount(), 6);
    QCOMPARE(f.Cell(), iso("2024-02-29"));
    QCOMPARE(f.Caption(), QStringLiteral("February 2024"));
    QCOMPARE(f.Calendar.SelectedColumn()->FieldName(), QStringLiteral("Day3"));
    QCOMPARE(f.Calendar.MonthData()->RecNo(), 5);
    QCOMPARE(f.Calendar.MonthData()->FieldByName(QStringLiteral("Day3"))->AsInteger(), 29);
    QCOMPARE(f.Calendar.SelectedDateTime().Value(), isoDateTime("2024-02-29T09:15:00").Value());
}

void TstPopupCalendar::keysTurnMonthsAndYears_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<bool>("ctrl");
    QTest::addColumn<QDate>("cell");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Right past the month's end")
        << iso("2024-05-31") << QList<int>{Qt::Key_Right} << false << iso("2024-06-01") << "June 2024";
    QTest::newRow("Left before the year's start")
        << iso("2024-01-01") << QList<int>{Qt::Key_Left} << false << iso("2023-12-31") << "December 2023";
    QTest::newRow("Down into the next month")
        << iso("2024-05-29") << QList<int>{Qt::Key_Down} << false << iso("2024-06-05") << "June 2024";
    QTest::newRow("PgDn across the year's end")
        << iso("2024-12-15") << QList<int>{Qt::Key_PageDown} << false << iso("2025-01-15") << "January 2025";
    QTest::newRow("PgUp from 31 March clamps to February")
        << iso("2023-03-31") << QList<int>{Qt::Key_PageUp} << false << iso("2023-02-28") << "February 2023";
    QTest::newRow("Ctrl+PgUp a year back")
        << iso("2024-02-29") << QList<int>{Qt::Key_PageUp} << true << iso("2023-02-28") << "February 2023";
    QTest::newRow("Ctrl+End to the year's end")
        << iso("2024-05-15") << QList<int>{Qt::Key_End} << true << iso("2024-12-31") << "December 2024";
    QTest::newRow("three PgDn and back")
        << iso("2024-05-15")
        << QList<int>{Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Home}
        << false << iso("2024-07-01") << "July 2024";
    QTest::newRow("PgDn stops at the range's end")
        << iso("8999-12-20") << QList<int>{Qt::Key_PageDown} << false << iso("8999-12-31") << "December 8999";
}

void TstPopupCalendar::keysTurnMonthsAndYears()
{
    QFETCH(QDate, from);
    QFETCH(QList<int>, keys);
    QFETCH(bool, ctrl);
    QFETCH(QDate, cell);
    QFETCH(QString, caption);
    TShownCalendar f;
    QVERIFY(f.Show(TDateTime::FromQDate(from)));
    for (int key : keys)
        QTest::keyClick(&f.Calendar, Qt::Key(key), ctrl ? Qt::ControlModifier : Qt::NoModifier);
    QCOMPARE(f.Cell(), cell);
    QCOMPARE(f.Caption(), caption);
    // The grid's own current cell shows the date.
    int row = 0;
    int field = 0;
    TCalendarPage(cdMonth, cell).CellOf(cell, row, field);
    QCOMPARE(f.Calendar.MonthData()->RecNo(), row + 1);
    QCOMPARE(TCalendarColumns::FieldOfColumn(f.Calendar.SelectedColumn()), field);
    QCOMPARE(f.Calendar.MonthData()->FieldByName(QStringLiteral("Day%1").arg(field))->AsInteger(),
             cell.day());
}

void TstPopupCalendar::keysItDoesNotNavigateByAreSwallowed()
{
    TShownCalendar f;
    QVERIFY(f.Show(isoDateTime("2024-05-15T10:00:00")));
    int seenByHandler = 0;
    f.Calendar.OnKeyDown = [&](QObject*, int& key, TShiftState) { seenByHandler += key != 0; };
    for (Qt::Key key : {Qt::Key_Tab, Qt::Key_A, Qt::Key_Delete, Qt::Key_Insert, Qt::Key_F2, Qt::Key_Space})
        QTest::keyClick(&f.Calendar, key);
    QTest::keyClick(&f.Calendar, Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(f.Cell(), iso("2024-05-15"));
    QCOMPARE(f.Calendar.SelectedColumn()->FieldName(), QStringLiteral("Day2"));
    QCOMPARE(f.Calendar.Depth(), cdMonth);
    QCOMPARE(seenByHandler, 0);
    QVERIFY(f.CloseRequests.isEmpty());
}

void TstPopupCalendar::captionClicksWidenTheViewUpToTheCentury()
{
    TShownCalendar f;
    QVERIFY(f.Show(isoDateTime("2024-05-15T10:00:00")));
    const struct
    {
        TCalendarDepth Depth;
        const char* Caption;
        const char* Cell;
    } steps[] = {{cdYear, "2024", "2024-05-01"},
                 {cdDecade, "2020-2029", "2024-01-01"},
                 {cdCentury, "2000-2099", "2020-01-01"},
                 {cdCentury, "2000-2099", "2020-01-01"}};
    for (const auto& step : steps) {
        f.Click(f.TitleCentre(TCalendarColumns::GroupStart(f.Calendar.Depth()) + 2));
        QCOMPARE(f.Calendar.Depth(), step.Depth);
        QCOMPARE(f.Caption(), QString::fromLatin1(step.Caption));
        QCOMPARE(f.Cell(), iso(step.Cell));
        QCOMPARE(f.Calendar.MonthData()->RecordCount(), 3);
    }
    QCOMPARE(f.Calendar.TodayLabel()->text(), QStringLiteral("Today: 2024"));
    QVERIFY(f.CloseRequests.isEmpty());
}

void TstPopupCalendar::cellClicksNarrowTheViewAndADayAccepts()
{
    TShownCalendar f;
    QVERIFY(f.Show(isoDateTime("2024-01-31T18:30:00")));
    f.Calendar.SetDepth(cdCentury);
    QCOMPARE(f.Caption(), QStringLiteral("2000-2099"));
    f.ClickCell(iso("2050-01-01"), cdCentury);
    QCOMPARE(f.Calendar.Depth(), cdDecade);
    QCOMPARE(f.Caption(), QStringLiteral("2050-2059"));
    f.ClickCell(iso("2053-01-01"), cdDecade);
    QCOMPARE(f.Calendar.Depth(), cdYear);
    QCOMPARE(f.Caption(), QStringLiteral("2053"));
    QCOMPARE(f.Calendar.TodayLabel()->text(), QStringLiteral("Today: May 2024"));
    f.ClickCell(iso("2053-02-01"), cdYear);
    QCOMPARE(f.Calendar.Depth(), cdMonth);
    // 31 January in a February: its last day.
    QCOMPARE(f.Cell(), iso("2053-02-28"));
    QCOMPARE(f.Caption(), QStringLiteral("February 2053"));
    QVERIFY(f.CloseRequests.isEmpty());
    // Back in the month view, all six weeks show, from the page's first.
    QCOMPARE(f.Calendar.DataRowCount(), 6);
    QCOMPARE(f.Calendar.RecordOfRow(f.Calendar.TitleOffset()), 0);
    f.ClickCell(iso("2053-02-12"), cdMonth);
    QCOMPARE(f.CloseRequests, QList<bool>{true});
    QCOMPARE(f.Calendar.SelectedDateTime().Value(), isoDateTime("2053-02-12T18:30:00").Value());
}

void TstPopupCalendar::theDeepestViewIsTheMaxDepth()
{
    TShownCalendar f;
    QVERIFY(f.Show(isoDateTime("2024-05-15T00:00:00")));
    f.Calendar.SetMaxDepth(cdYear);
    const QPoint caption = f.TitleCentre(2);
    f.Click(caption);
    QCOMPARE(f.Calendar.Depth(), cdYear);
    f.Click(f.TitleCentre(TCalendarColumns::GroupStart(cdYear) + 2));
    QCOMPARE(f.Calendar.Depth(), cdYear);
    f.Calendar.SetMaxDepth(cdMonth);
    f.Calendar.SetDepth(cdDecade);
    QCOMPARE(f.Calendar.Depth(), cdYear);
}

void TstPopupCalendar::titleButtonsTurnPages_data()
{
    QTest::addColumn<TCalendarDepth>("depth");
    QTest::addColumn<QString>("previous");
    QTest::addColumn<QString>("next");
    QTest::newRow("month") << cdMonth << "April 2024"
                           << "June 2024";
    QTest::newRow("year") << cdYear << "2023"
                          << "2025";
    QTest::newRow("decade") << cdDecade << "2010-2019"
                            << "2030-2039";
    QTest::newRow("century") << cdCentury << "1900-1999"
                             << "2100-2199";
}

void TstPopupCalendar::titleButtonsTurnPages()
{
    QFETCH(TCalendarDepth, depth);
    QFETCH(QString, previous);
    QFETCH(QString, next);
    TShownCalendar f;
    QVERIFY(f.Show(isoDateTime("2024-05-15T00:00:00")));
    f.Calendar.SetDepth(depth);
    const int group = TCalendarColumns::GroupStart(depth);
    f.Click(f.TitleCentre(group));
    QCOMPARE(f.Caption(), previous);
    f.Click(f.TitleCentre(group + (depth == cdMonth ? 9 : 5)));
    f.Click(f.TitleCentre(group + (depth == cdMonth ? 9 : 5)));
    QCOMPARE(f.Caption(), next);
    QCOMPARE(f.Calendar.Depth(), depth);
}

void TstPopupCalendar::aGreyDayClickedTurnsToItsMonth()
{
    TShownCalendar f;
    QVERIFY(f.Show(isoDateTime("2024-05-15T00:00:00")));
    // The first cell of May 2024's page is Monday 29 April.
    f.Click(f.CellCentre(1, 0));
    QCOMPARE(f.Cell(), iso("2024-04-29"));
    QCOMPARE(f.Caption(), QStringLiteral("April 2024"));
}

void TstPopupCalendar::theWheelMovesByRowsAndThePageStep()
{
    TShownCalendar f;
    QVERIFY(f.Show(isoDateTime("2024-05-15T00:00:00")));
    f.Wheel(-120);
    QCOMPARE(f.Cell(), iso("2024-06-12"));
    f.Wheel(120, Qt::ControlModifier);
    QCOMPARE(f.Cell(), iso("2024-06-05"));
    f.Calendar.SetDepth(cdDecade);
    f.Wheel(-120);
    QCOMPARE(f.Cell(), iso("2034-01-01"));
    QCOMPARE(f.Caption(), QStringLiteral("2030-2039"));
}

void TstPopupCalendar::boldDaysComeFromSundaysAndTheHandler()
{
    TShownCalendar f;
    QVERIFY(f.Show(isoDateTime("2024-09-10T00:00:00")));
    // September 2024's page starts on Monday 26 August: Sundays are cells 6, 13, ...
    QCOMPARE(f.Calendar.BoldDays(), quint64(0x20408102040));
    f.Calendar.SetBoldSundays(false);
    QCOMPARE(f.Calendar.BoldDays(), quint64(0));
    f.Calendar.OnCalcBoldDays = [](QObject*, double date, bool& bold) {
        bold = TDateTime(date).ToQDate() == QDate(2024, 9, 3);
    };
    QTest::keyClick(&f.Calendar, Qt::Key_PageDown);
    QTest::keyClick(&f.Calendar, Qt::Key_PageUp);
    QCOMPARE(f.Calendar.BoldDays(), quint64(1) << 8);
    QVERIFY(!f.Calendar.grab().isNull());
}

void TstPopupCalendar::todayLabelGoesToTodayAndMayAccept()
{
    TShownCalendar f;
    QVERIFY(f.Show(isoDateTime("2021-03-03T07:00:00")));
    QCOMPARE(f.Calendar.TodayLabel()->text(), QStringLiteral("Today: 5/15/2024"));
    QVERIFY(f.Calendar.TodayLabel()->text().startsWith(TOrvoListSettings::ListCaptions().first()));
    QTest::mouseClick(f.Calendar.TodayLabel(), Qt::RightButton);
    QCOMPARE(f.Cell(), iso("2021-03-03"));
    QTest::mouseClick(f.Calendar.TodayLabel(), Qt::LeftButton);
    QCOMPARE(f.Cell(), iso("2024-05-15"));
    QVERIFY(f.CloseRequests.isEmpty());

    f.Calendar.SetAutoTodayClose(true);
    QTest::keyClick(&f.Calendar, Qt::Key_PageUp);
    QTest::mouseClick(f.Calendar.TodayShape(), Qt::LeftButton);
    QCOMPARE(f.Cell(), iso("2024-05-15"));
    QCOMPARE(f.CloseRequests, QList<bool>{true});
    QCOMPARE(f.Calendar.SelectedDateTime().Value(), isoDateTime("2024-05-15T07:00:00").Value());
}

void TstPopupCalendar::cellTextsThatAreNoDatesOpenOnToday_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("cell");
    QTest::addColumn<TDateTime>("selected");
    QTest::newRow("empty") << "" << iso("2024-05-15") << isoDateTime("2024-05-15T00:00:00");
    QTest::newRow("blanks") << "   " << iso("2024-05-15") << isoDateTime("2024-05-15T00:00:00");
    QTest::newRow("not a date") << "soon" << iso("2024-05-15") << isoDateTime("2024-05-15T00:00:00");
    QTest::newRow("no such day") << "2/30/2023" << iso("2024-05-15") << isoDateTime("2024-05-15T00:00:00");
    QTest::newRow("a date and time") << "3/4/2023 1:30:00 PM" << iso("2023-03-04")
                                     << isoDateTime("2023-03-04T13:30:00");
    QTest::newRow("before the range")
        << "0500-06-01" << iso("1000-01-01") << isoDateTime("1000-01-01T00:00:00");
    QTest::newRow("after the range") << "9500-06-01 08:00" << iso("8999-12-31")
                                     << isoDateTime("8999-12-31T08:00:00");
}

void TstPopupCalendar::cellTextsThatAreNoDatesOpenOnToday()
{
    QFETCH(QString, text);
    QFETCH(QDate, cell);
    QFETCH(TDateTime, selected);
    TShownCalendar f;
    QVERIFY(f.Show(isoDateTime("2020-01-01T00:00:00")));
    f.Calendar.SetDateText(text);
    QCOMPARE(f.Cell(), cell);
    QCOMPARE(f.Calendar.SelectedDateTime().ToQDateTime(), selected.ToQDateTime());
}

void TstPopupCalendar::weekNumbersWidenTheCalendarAndFixTwoColumns()
{
    TShownCalendar f;
    QVERIFY(f.Show(isoDateTime("2021-01-06T00:00:00")));
    const int narrow = f.Calendar.width();
    QCOMPARE(f.Calendar.FixedColsProperty(), 0);
    f.Calendar.SetShowWeekNumbers(true);
    QCOMPARE(f.Calendar.FixedColsProperty(), 2);
    QVERIFY(f.Calendar.width() > narrow);
    QCOMPARE(f.Cell(), iso("2021-01-06"));
    QCOMPARE(f.Calendar.SelectedColumn()->FieldName(), QStringLiteral("Day2"));
    QCOMPARE(f.Calendar.Columns()->Items(1)->FieldName(), QStringLiteral("Week"));
    f.Calendar.MonthData()->First();
    QCOMPARE(f.Calendar.MonthData()->FieldByName(QStringLiteral("Week"))->AsInteger(), 53);
    f.Calendar.SetShowWeekNumbers(false);
    QCOMPARE(f.Calendar.width(), narrow);
    QCOMPARE(f.Calendar.Columns()->Items(1)->FieldName(), QStringLiteral("Day0"));
}

void TstPopupCalendar::theFooterHoldsTheTodayControls()
{
    TShownCalendar f;
    QVERIFY(f.Show(isoDateTime("2024-05-15T00:00:00")));
    QLabel* label = f.Calendar.TodayLabel();
    TCalendarTodayShape* shape = f.Calendar.TodayShape();
    QVERIFY(label->isVisible());
    QVERIFY(shape->isVisible());
    const QRect client = f.Calendar.viewport()->rect();
    QVERIFY(client.contains(label->geometry()));
    QVERIFY(client.contains(shape->geometry()));
    QVERIFY(shape->geometry().right() < label->geometry().left());
    // Below the six rows of days.
    QVERIFY(label->geometry().top() >= f.CellCentre(10, 5).y());
    const int tall = f.Calendar.height();
    f.Calendar.SetShowTodayCircle(false);
    QVERIFY(!shape->isVisible());
    QVERIFY(label->isVisible());
    f.Calendar.SetShowToday(false);
    QVERIFY(!label->isVisible());
    QVERIFY(f.Calendar.height() < tall);
}

QTEST_MAIN(TstPopupCalendar)
#include "tst_popupcalendar.moc"
