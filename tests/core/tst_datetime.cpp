#include "platform/core/datetimeformat.h"
#include "platform/core/datetimeparse.h"
#include "platform/core/dateutils.h"
#include "platform/core/exceptions.h"
#include "platform/core/tformatsettings.h"

#include <QtTest>

#include <cmath>
#include <limits>

using namespace orvo;

Q_DECLARE_METATYPE(orvo::TDateTime)

namespace {

// Days before the epoch carry their time as a positive distance, so it is subtracted there.
TDateTime at(int y, int m, int d, int h = 0, int n = 0, int s = 0, int ms = 0)
{
    const double days = TDateTime::EncodeDate(y, m, d).Value();
    const double time = TDateTime::EncodeTime(h, n, s, ms).Value();
    return TDateTime(days >= 0 ? days + time : days - time);
}

TFormatSettings dayMonthYear()
{
    TFormatSettings s = TFormatSettings::Invariant();
    s.ShortDateFormat = QStringLiteral("dd/mm/yyyy");
    s.DateSeparator = u'.';
    s.TimeSeparator = u'.';
    s.TimeAMString = QStringLiteral("vorm.");
    s.TimePMString = QStringLiteral("nachm.");
    return s;
}

bool sameInstant(TDateTime a, TDateTime b)
{
    return std::fabs(a.Value() - b.Value()) < 1e-9;
}

} // namespace

class TstDateTime : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TFormatSettings::SetDefault(TFormatSettings::Invariant()); }

    void formatDateTime_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<TDateTime>("value");
        QTest::addColumn<QString>("expected");
        const TDateTime afternoon = at(2024, 3, 5, 14, 7, 9, 45);
        const TDateTime morning = at(2024, 12, 25, 0, 30, 0);
        QTest::newRow("dotted with minutes after hours")
            << "dd.mm.yyyy hh:nn:ss" << afternoon << "05.03.2024 14:07:09";
        QTest::newRow("m after hh is minutes") << "hh:mm" << afternoon << "14:07";
        QTest::newRow("m after h across literal") << "h' h 'm" << afternoon << "14 h 7";
        QTest::newRow("m elsewhere is month") << "m/d/yy" << afternoon << "3/5/24";
        QTest::newRow("m after another letter is month") << "hh x mm" << afternoon << "14 x 03";
        QTest::newRow("day names") << "ddd dddd" << afternoon << "Tue Tuesday";
        QTest::newRow("month names") << "mmm mmmm" << afternoon << "Mar March";
        QTest::newRow("short and long date")
            << "ddddd|dddddd" << afternoon << "3/5/2024|Tuesday, March 5, 2024";
        QTest::newRow("years") << "y yy yyy yyyy" << afternoon << "24 24 2024 2024";
        QTest::newRow("milliseconds") << "s.z s.zzz" << afternoon << "9.45 9.045";
        QTest::newRow("am/pm") << "h:nn am/pm" << afternoon << "2:07 pm";
        QTest::newRow("AM/PM case kept") << "hh AM/PM" << morning << "12 AM";
        QTest::newRow("a/p") << "h a/p" << afternoon << "2 p";
        QTest::newRow("A/P") << "h A/P" << morning << "12 A";
        QTest::newRow("ampm strings") << "h ampm" << afternoon << "2 PM";
        QTest::newRow("24 hours without am/pm") << "h" << afternoon << "14";
        QTest::newRow("am/pm for the hour before it") << "h:nn am/pm hh" << afternoon << "2:07 pm 02";
        QTest::newRow("am/pm for the hour after it") << "ampm h:nn" << afternoon << "PM 2:07";
        QTest::newRow("am/pm not past another hour") << "h am/pm h h" << afternoon << "2 pm 2 14";
        QTest::newRow("noon is pm") << "h am/pm" << at(2024, 1, 1, 12) << "12 pm";
        QTest::newRow("short and long time") << "t|tt" << afternoon << "2:07 PM|2:07:09 PM";
        QTest::newRow("c with time") << "c" << afternoon << "3/5/2024 2:07:09 PM";
        QTest::newRow("c at midnight") << "c" << at(2024, 3, 5) << "3/5/2024";
        QTest::newRow("empty is c") << "" << at(2024, 3, 5) << "3/5/2024";
        QTest::newRow("quoted literals") << "'dd' \"mm\" d" << afternoon << "dd mm 5";
        QTest::newRow("unknown letters literal")
            << "d 'of' mmmm, yyyy (Q)" << afternoon << "5 of March, 2024 (Q)";
        QTest::newRow("uppercase directives") << "DD/MM/YYYY HH:NN" << afternoon << "05/03/2024 14:07";
        QTest::newRow("before the epoch") << "yyyy-mm-dd hh:nn" << TDateTime(-1.25) << "1899-12-29 06:00";
        QTest::newRow("first day") << "yyyy-mm-dd" << at(1, 1, 1) << "0001-01-01";
    }
    void formatDateTime()
    {
        QFETCH(QString, format);
        QFETCH(TDateTime, value);
        QFETCH(QString, expected);
        QCOMPARE(FormatDateTime(format, value), expected);
    }

    void formatDateTimeUsesSettingsSeparators()
    {
        const TFormatSettings s = dayMonthYear();
        QCOMPARE(FormatDateTime("dd/mm/yyyy hh:nn", at(2024, 3, 5, 9, 4), s), QString("05.03.2024 09.04"));
        QCOMPARE(FormatDateTime("h ampm", at(2024, 3, 5, 21), s), QString("9 nachm."));
    }

    void formatDateTimeStopsNestedFormats()
    {
        TFormatSettings s = TFormatSettings::Invariant();
        s.ShortDateFormat = QStringLiteral("ddddd!");
        QCOMPARE(FormatDateTime("ddddd", at(2024, 3, 5), s), QString("!!"));
    }

    void formatDateTimeRejectsInvalidValues_data()
    {
        QTest::addColumn<double>("value");
        QTest::newRow("nan") << std::nan("");
        QTest::newRow("infinite") << std::numeric_limits<double>::infinity();
        QTest::newRow("huge") << 1e300;
        QTest::newRow("year 10000") << TDateTime::EncodeDate(9999, 12, 31).Value() + 1;
    }
    void formatDateTimeRejectsInvalidValues()
    {
        QFETCH(double, value);
        QVERIFY_THROWS_EXCEPTION(EConvertError, FormatDateTime("c", TDateTime(value)));
    }

    void conversionsOutsideTheCalendarGiveInvalidValues_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("timeValid");
        QTest::newRow("nan") << std::nan("") << false;
        QTest::newRow("infinite") << -std::numeric_limits<double>::infinity() << false;
        QTest::newRow("huge") << 1e300 << true;
        QTest::newRow("beyond int64") << -1e19 << true;
        QTest::newRow("beyond the day count") << 2e15 << true;
    }
    void conversionsOutsideTheCalendarGiveInvalidValues()
    {
        QFETCH(double, value);
        QFETCH(bool, timeValid);
        QVERIFY(!TDateTime(value).ToQDate().isValid());
        QVERIFY(!TDateTime(value).ToQDateTime().isValid());
        QCOMPARE(TDateTime(value).ToQTime().isValid(), timeValid);
    }

    void toStr()
    {
        const TDateTime value = at(2024, 7, 4, 9, 5, 3);
        QCOMPARE(DateToStr(value), QString("7/4/2024"));
        QCOMPARE(TimeToStr(value), QString("9:05:03 AM"));
        QCOMPARE(DateTimeToStr(value), QString("7/4/2024 9:05:03 AM"));
    }

    void strToDate_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("dayFirst");
        QTest::addColumn<TDateTime>("expected");
        const TDateTime invalid(-1e9);
        QTest::newRow("month first") << "3/5/2024" << false << at(2024, 3, 5);
        QTest::newRow("day first") << "3.5.2024" << true << at(2024, 5, 3);
        QTest::newRow("blanks") << " 3 / 5 / 2024 " << false << at(2024, 3, 5);
        QTest::newRow("trailing separator") << "3/5/2024/" << false << at(2024, 3, 5);
        QTest::newRow("iso") << "2024-02-29" << false << at(2024, 2, 29);
        QTest::newRow("iso with day first") << "2024-02-29" << true << at(2024, 2, 29);
        QTest::newRow("three-digit year is literal") << "1/2/999" << false << at(999, 1, 2);
        QTest::newRow("no such day") << "2/30/2024" << false << invalid;
        QTest::newRow("no such month") << "13/1/2024" << false << invalid;
        QTest::newRow("wrong separator") << "3-5-2024" << false << invalid;
        QTest::newRow("trailing text") << "3/5/2024 x" << false << invalid;
        QTest::newRow("iso with time is no date") << "2024-02-29 10:00" << false << invalid;
        QTest::newRow("empty") << "" << false << invalid;
        QTest::newRow("one number") << "12" << false << invalid;
        QTest::newRow("overlong number") << "1/1/99999999999999" << false << invalid;
        QTest::newRow("year zero") << "1/1/0000" << false << invalid;
    }
    void strToDate()
    {
        QFETCH(QString, text);
        QFETCH(bool, dayFirst);
        QFETCH(TDateTime, expected);
        const TFormatSettings s = dayFirst ? dayMonthYear() : TFormatSettings::Invariant();
        TDateTime parsed;
        const bool valid = expected.Value() != -1e9;
        QCOMPARE(TryStrToDate(text, parsed, s), valid);
        if (valid) {
            QCOMPARE(parsed.Value(), expected.Value());
        } else {
            try {
                StrToDate(text, s);
                QFAIL("no error raised");
            } catch (const EConvertError& e) {
                QCOMPARE(e.Message(), QStringLiteral("'%1' is not a valid date").arg(text));
            }
        }
    }

    void twoDigitYearsFallInTheWindow_data()
    {
        QTest::addColumn<int>("twoDigits");
        for (int yy : {0, 1, 25, 49, 50, 51, 75, 76, 99})
            QTest::addRow("%02d", yy) << yy;
    }
    void twoDigitYearsFallInTheWindow()
    {
        QFETCH(int, twoDigits);
        const int year =
            StrToDate(QStringLiteral("1/2/%1").arg(twoDigits, 2, 10, QChar(u'0'))).ToQDate().year();
        const int now = QDate::currentDate().year();
        QCOMPARE(year % 100, twoDigits);
        QVERIFY2(year >= now - 50 && year < now + 50, qPrintable(QString::number(year)));
    }

    void dateWithoutYearIsThisYear()
    {
        QCOMPARE(StrToDate("2/3").ToQDate(), QDate(QDate::currentDate().year(), 2, 3));
        QCOMPARE(StrToDate("2.3", dayMonthYear()).ToQDate(), QDate(QDate::currentDate().year(), 3, 2));
    }

    void strToTime_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("msecs"); // -1: invalid
        QTest::newRow("hours and minutes") << "14:30" << (14 * 60 + 30) * 60000;
        QTest::newRow("seconds") << "1:02:03" << ((60 + 2) * 60 + 3) * 1000;
        QTest::newRow("fraction of a second") << "0:00:01.5" << 1500;
        QTest::newRow("hour only") << "7" << 7 * 3600000;
        QTest::newRow("pm after") << "2:15 PM" << (14 * 60 + 15) * 60000;
        QTest::newRow("am before") << "am 12:05" << 5 * 60000;
        QTest::newRow("pm noon") << "12 pm" << 12 * 3600000;
        QTest::newRow("hour 13 with pm") << "13:00 PM" << -1;
        QTest::newRow("hour 24") << "24:00" << -1;
        QTest::newRow("minute 60") << "10:60" << -1;
        QTest::newRow("missing minutes") << "10:" << -1;
        QTest::newRow("letters") << "noon" << -1;
    }
    void strToTime()
    {
        QFETCH(QString, text);
        QFETCH(int, msecs);
        TDateTime parsed;
        QCOMPARE(TryStrToTime(text, parsed), msecs >= 0);
        if (msecs >= 0)
            QCOMPARE(parsed.ToQTime().msecsSinceStartOfDay(), msecs);
        else
            QVERIFY_THROWS_EXCEPTION(EConvertError, StrToTime(text));
    }

    void strToDateTime_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<TDateTime>("expected");
        const TDateTime invalid(-1e9);
        QTest::newRow("date and time") << "3/5/2024 2:07:09 PM" << at(2024, 3, 5, 14, 7, 9);
        QTest::newRow("date only") << "3/5/2024" << at(2024, 3, 5);
        QTest::newRow("time only") << "14:07" << TDateTime::EncodeTime(14, 7, 0, 0);
        QTest::newRow("iso") << "2024-03-05 14:07" << at(2024, 3, 5, 14, 7);
        QTest::newRow("iso T and seconds") << "2024-03-05T14:07:09.250" << at(2024, 3, 5, 14, 7, 9, 250);
        QTest::newRow("before the epoch") << "12/29/1899 6:00" << TDateTime(-1.25);
        QTest::newRow("bad time") << "3/5/2024 25:00" << invalid;
        QTest::newRow("garbage") << "tomorrow" << invalid;
    }
    void strToDateTime()
    {
        QFETCH(QString, text);
        QFETCH(TDateTime, expected);
        TDateTime parsed;
        const bool valid = expected.Value() != -1e9;
        QCOMPARE(TryStrToDateTime(text, parsed), valid);
        if (valid)
            QVERIFY2(sameInstant(parsed, expected), qPrintable(QString::number(parsed.Value(), 'g', 17)));
        else
            QVERIFY_THROWS_EXCEPTION(EConvertError, StrToDateTime(text));
    }

    void roundTrips_data()
    {
        QTest::addColumn<QString>("order");
        QTest::addColumn<TDateTime>("value");
        // "names" is the C locale's "d MMM yyyy": blanks between the parts, the month by name.
        for (const char* order : {"mdy", "dmy", "names"}) {
            QTest::addRow("%s leap day", order) << QString::fromLatin1(order) << at(2024, 2, 29, 23, 59, 59);
            QTest::addRow("%s midnight", order) << QString::fromLatin1(order) << at(1999, 12, 31);
            QTest::addRow("%s noon", order) << QString::fromLatin1(order) << at(2000, 1, 1, 12, 0, 1);
            QTest::addRow("%s before epoch", order) << QString::fromLatin1(order) << at(1850, 6, 15, 8, 30);
        }
        QTest::addRow("names in may") << QStringLiteral("names") << at(2023, 5, 6, 12, 21);
        QTest::addRow("names in june") << QStringLiteral("names") << at(2023, 6, 30);
    }
    void roundTrips()
    {
        QFETCH(QString, order);
        QFETCH(TDateTime, value);
        const TFormatSettings s = order == QLatin1String("dmy") ? dayMonthYear()
                                  : order == QLatin1String("names")
                                      ? TFormatSettings::FromLocale(QLocale::c())
                                      : TFormatSettings::Invariant();
        const QString text = DateTimeToStr(value, s);
        QVERIFY2(sameInstant(StrToDateTime(text, s), value), qPrintable(text));
        QCOMPARE(StrToDate(DateToStr(value, s), s).Value(), value.DatePart().Value());
    }

    void dayOfWeek_data()
    {
        QTest::addColumn<TDateTime>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("sunday") << at(2024, 3, 3) << 1;
        QTest::newRow("monday") << at(2024, 3, 4, 23, 59) << 2;
        QTest::newRow("saturday") << at(2024, 3, 9) << 7;
        QTest::newRow("epoch saturday") << TDateTime(0) << 7;
        QTest::newRow("before epoch") << TDateTime(-1.5) << 6;
    }
    void dayOfWeek()
    {
        QFETCH(TDateTime, value);
        QFETCH(int, expected);
        QCOMPARE(DayOfWeek(value), expected);
    }

    void incMonth_data()
    {
        QTest::addColumn<TDateTime>("value");
        QTest::addColumn<int>("months");
        QTest::addColumn<TDateTime>("expected");
        QTest::newRow("plain") << at(2024, 1, 15, 10) << 1 << at(2024, 2, 15, 10);
        QTest::newRow("end of month clamps") << at(2024, 1, 31) << 1 << at(2024, 2, 29);
        QTest::newRow("non-leap") << at(2023, 1, 31, 6) << 1 << at(2023, 2, 28, 6);
        QTest::newRow("backwards over a year") << at(2024, 3, 31) << -13 << at(2023, 2, 28);
        QTest::newRow("into the past keeps time") << at(1900, 1, 1, 6) << -1 << at(1899, 12, 1, 6);
    }
    void incMonth()
    {
        QFETCH(TDateTime, value);
        QFETCH(int, months);
        QFETCH(TDateTime, expected);
        QVERIFY(sameInstant(IncMonth(value, months), expected));
    }

    void incYearAndLimits()
    {
        QVERIFY(sameInstant(IncYear(at(2024, 2, 29, 12)), at(2025, 2, 28, 12)));
        QVERIFY(sameInstant(IncYear(at(2024, 2, 29), -4), at(2020, 2, 29)));
        QVERIFY_THROWS_EXCEPTION(EConvertError, IncYear(at(9999, 1, 1)));
        QVERIFY_THROWS_EXCEPTION(EConvertError, IncMonth(at(2024, 1, 1), std::numeric_limits<int>::min()));
        QVERIFY_THROWS_EXCEPTION(EConvertError, IncYear(at(2024, 1, 1), std::numeric_limits<int>::max()));
    }

    void isoWeeks_data()
    {
        QTest::addColumn<TDateTime>("value");
        QTest::addColumn<TDateTime>("start");
        QTest::addColumn<int>("week");
        QTest::newRow("wednesday") << at(2024, 3, 6, 15) << at(2024, 3, 4) << 10;
        QTest::newRow("sunday ends the week") << at(2024, 3, 10) << at(2024, 3, 4) << 10;
        QTest::newRow("monday starts it") << at(2024, 3, 11) << at(2024, 3, 11) << 11;
        QTest::newRow("new year in last week") << at(2021, 1, 1) << at(2020, 12, 28) << 53;
        QTest::newRow("december in week 1") << at(2024, 12, 31) << at(2024, 12, 30) << 1;
    }
    void isoWeeks()
    {
        QFETCH(TDateTime, value);
        QFETCH(TDateTime, start);
        QFETCH(int, week);
        QCOMPARE(StartOfTheWeek(value).Value(), start.Value());
        QVERIFY(sameInstant(EndOfTheWeek(value),
                            at(start.ToQDate().addDays(6).year(), start.ToQDate().addDays(6).month(),
                               start.ToQDate().addDays(6).day(), 23, 59, 59, 999)));
        QCOMPARE(WeekOf(value), week);
    }

    void calendarFacts()
    {
        QCOMPARE(DaysInMonth(at(2024, 2, 10)), 29);
        QCOMPARE(DaysInMonth(at(2100, 2, 10)), 28);
        QCOMPARE(DaysInAMonth(2023, 4), 30);
        QVERIFY_THROWS_EXCEPTION(EConvertError, DaysInAMonth(2023, 13));
        QVERIFY(IsLeapYear(2000));
        QVERIFY(!IsLeapYear(1900));
        QVERIFY(IsLeapYear(2024));
        int y, m, d, h, n, s, ms;
        DecodeDate(at(2024, 3, 5, 14, 7, 9, 45), y, m, d);
        DecodeTime(at(2024, 3, 5, 14, 7, 9, 45), h, n, s, ms);
        QCOMPARE(QList<int>({y, m, d, h, n, s, ms}), QList<int>({2024, 3, 5, 14, 7, 9, 45}));
        QVERIFY_THROWS_EXCEPTION(EConvertError, DecodeDate(TDateTime(std::nan("")), y, m, d));
    }
};

QTEST_GUILESS_MAIN(TstDateTime)
#include "tst_datetime.moc"
