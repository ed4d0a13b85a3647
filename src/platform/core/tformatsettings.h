#pragma once

#include <QChar>
#include <QString>

#include <array>

class QLocale;

namespace orvo {

/// The number, currency and date-time conventions of a locale, kept the way
/// the classic desktop platform keeps them: every display format, total,
/// filter period and calendar caption of the suite is written in terms of
/// these fields, so stored format strings mean the same thing everywhere.
/// Month and day names are indexed from 0 (January, Sunday). A default-constructed
/// value holds the fixed English (United States) settings.
struct TFormatSettings
{
    QChar DecimalSeparator = u'.';
    /// A null character means "no grouping".
    QChar ThousandSeparator = u',';
    QString CurrencyString = QStringLiteral("$");
    /// Position of the currency string for positive amounts: 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
    int CurrencyFormat = 0;
    /// Layout of negative amounts, 0 "($1)" to 15 "(1 $)", in the platform's numbering.
    int NegCurrFormat = 0;
    int CurrencyDecimals = 2;
    QChar DateSeparator = u'/';
    QChar TimeSeparator = u':';
    QString ShortDateFormat = QStringLiteral("M/d/yyyy");
    QString LongDateFormat = QStringLiteral("dddd, mmmm d, yyyy");
    QString ShortTimeFormat = QStringLiteral("h:nn AMPM");
    QString LongTimeFormat = QStringLiteral("h:nn:ss AMPM");
    QString TimeAMString = QStringLiteral("AM");
    QString TimePMString = QStringLiteral("PM");
    std::array<QString, 12> ShortMonthNames = {
        QStringLiteral("Jan"), QStringLiteral("Feb"), QStringLiteral("Mar"), QStringLiteral("Apr"),
        QStringLiteral("May"), QStringLiteral("Jun"), QStringLiteral("Jul"), QStringLiteral("Aug"),
        QStringLiteral("Sep"), QStringLiteral("Oct"), QStringLiteral("Nov"), QStringLiteral("Dec")};
    std::array<QString, 12> LongMonthNames = {
        QStringLiteral("January"), QStringLiteral("February"), QStringLiteral("March"),
        QStringLiteral("April"),   QStringLiteral("May"),      QStringLiteral("June"),
        QStringLiteral("July"),    QStringLiteral("August"),   QStringLiteral("September"),
        QStringLiteral("October"), QStringLiteral("November"), QStringLiteral("December")};
    /// Sunday first.
    std::array<QString, 7> ShortDayNames = {
        QStringLiteral("Sun"), QStringLiteral("Mon"), QStringLiteral("Tue"), QStringLiteral("Wed"),
        QStringLiteral("Thu"), QStringLiteral("Fri"), QStringLiteral("Sat")};
    std::array<QString, 7> LongDayNames = {QStringLiteral("Sunday"),   QStringLiteral("Monday"),
                                           QStringLiteral("Tuesday"),  QStringLiteral("Wednesday"),
                                           QStringLiteral("Thursday"), QStringLiteral("Friday"),
                                           QStringLiteral("Saturday")};
    /// Two-digit years are read within this many years before the current year and
    /// (100 - window) years after it; 0 reads them in the current century.
    int TwoDigitYearCenturyWindow = 50;

    /// Fixed English (United States) settings, independent of the machine: what
    /// stored files and tests can rely on.
    static TFormatSettings Invariant();
    /// The settings of `locale`, its Qt date and time patterns translated into the
    /// classic directives.
    static TFormatSettings FromLocale(const QLocale& locale);

    /// The process-wide settings every formatting function uses when none is given;
    /// initialised from the system locale on first use.
    static const TFormatSettings& Default();
    static void SetDefault(const TFormatSettings& settings);
};

} // namespace orvo
