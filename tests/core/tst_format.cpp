#include "platform/core/datetimeformat.h"
#include "platform/core/exceptions.h"
#include "platform/core/floatformat.h"
#include "platform/core/format.h"
#include "platform/core/strconvert.h"
#include "platform/core/tformatsettings.h"

#include <QLocale>
#include <QtTest>

#include <cmath>
#include <limits>

using namespace orvo;

namespace {

TFormatSettings german()
{
    TFormatSettings s = TFormatSettings::Invariant();
    s.DecimalSeparator = u',';
    s.ThousandSeparator = u'.';
    s.CurrencyString = QStringLiteral("EUR");
    s.CurrencyFormat = 3;
    s.NegCurrFormat = 8;
    return s;
}

} // namespace

class TstFormat : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TFormatSettings::SetDefault(TFormatSettings::Invariant()); }

    void formatFloat_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("thousands and decimals") << "#,##0.00" << 1234.5 << "1,234.50";
        QTest::newRow("optional decimals") << "0.###" << 2.5 << "2.5";
        QTest::newRow("optional decimals dropped") << "0.##" << 2.0 << "2";
        QTest::newRow("negative section") << "0.00;(0.00);'zero'" << -3.0 << "(3.00)";
        QTest::newRow("zero section") << "0.00;(0.00);'zero'" << 0.0 << "zero";
        QTest::newRow("no negative section signs") << "#,##0.00" << -1234567.891 << "-1,234,567.89";
        QTest::newRow("empty negative section uses first") << "0.0;;'nil'" << -2.25 << "-2.3";
        QTest::newRow("half away from zero") << "0.00" << 2.675 << "2.68";
        QTest::newRow("half away from zero negative") << "0.00" << -2.675 << "-2.68";
        QTest::newRow("half up integer") << "0" << 0.5 << "1";
        QTest::newRow("carry into new digit") << "#,##0.00" << 999.999 << "1,000.00";
        QTest::newRow("rounds to zero is not negative") << "0" << -0.4 << "0";
        QTest::newRow("rounds to zero takes zero section") << "0;(0);'none'" << -0.004 << "none";
        QTest::newRow("leading zeros") << "000" << 7.0 << "007";
        QTest::newRow("hash only zero") << "#.##" << 0.0 << "";
        QTest::newRow("fraction without integer digit") << "#.##" << 0.5 << ".5";
        QTest::newRow("digits without placeholder") << ".00" << 12.5 << "12.50";
        QTest::newRow("literals among digits") << "000-000" << 12345.0 << "012-345";
        QTest::newRow("quoted text") << "\"$\"#,##0" << 1500.0 << "$1,500";
        QTest::newRow("quoted directive chars") << "0 '#,0.;'" << 3.0 << "3 #,0.;";
        QTest::newRow("percent sign literal") << "0%" << 42.0 << "42%";
        QTest::newRow("scientific") << "0.00E+00" << 1234.5 << "1.23E+03";
        QTest::newRow("scientific negative exponent") << "0.###E-0" << 0.00123 << "1.23E-3";
        QTest::newRow("scientific plus sign hidden") << "0.0E-00" << 1500.0 << "1.5E03";
        QTest::newRow("scientific zero") << "0.00E+00" << 0.0 << "0.00E+00";
        QTest::newRow("scientific lowercase") << "0.0e+0" << -0.05 << "-5.0e-2";
        QTest::newRow("empty format general") << "" << 1234.5 << "1234.5";
        QTest::newRow("general noise removed") << "" << 0.1 + 0.2 << "0.3";
        QTest::newRow("huge falls back to general") << "#,##0" << 1e20 << "1E20";
        QTest::newRow("nan") << "0.00" << std::nan("") << "NAN";
        QTest::newRow("infinity") << "0.00" << -std::numeric_limits<double>::infinity() << "-INF";
        QTest::newRow("unterminated quote") << "0 'abc" << 5.0 << "5 abc";
    }
    void formatFloat()
    {
        QFETCH(QString, format);
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(FormatFloat(format, value), expected);
    }

    void formatFloatUsesSettingsSeparators()
    {
        QCOMPARE(FormatFloat("#,##0.00", 1234567.5, german()), QString("1.234.567,50"));
        TFormatSettings noGrouping = TFormatSettings::Invariant();
        noGrouping.ThousandSeparator = QChar();
        QCOMPARE(FormatFloat("#,##0", 1234567, noGrouping), QString("1234567"));
    }

    void formatCurrIsExact()
    {
        QCOMPARE(FormatCurr("#,##0.00", TCurrency::FromRaw(123456785)), QString("12,345.68"));
        QCOMPARE(FormatCurr("0.0000", TCurrency::FromRaw(-1)), QString("-0.0001"));
        QCOMPARE(FormatCurr("0.00", TCurrency::FromRaw(std::numeric_limits<qint64>::min())),
                 QString("-922337203685477.58"));
    }

    void generalForm_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("integer") << 42.0 << "42";
        QTest::newRow("fraction") << -0.125 << "-0.125";
        QTest::newRow("fifteen digits") << 1.0 / 3 << "0.333333333333333";
        QTest::newRow("small fixed") << 0.00001 << "0.00001";
        QTest::newRow("small scientific") << 0.0000015 << "1.5E-6";
        QTest::newRow("large fixed") << 123456789012345.0 << "123456789012345";
        QTest::newRow("large scientific") << 1234567890123456.0 << "1.23456789012346E15";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("negative zero") << -0.0 << "0";
    }
    void generalForm()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(FloatToStr(value), expected);
    }

    void floatToStrF_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("precision");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("expected");
        QTest::newRow("fixed") << 1234.5678 << int(ffFixed) << 15 << 2 << "1234.57";
        QTest::newRow("fixed single rounding") << 1.2345 << int(ffFixed) << 4 << 2 << "1.23";
        QTest::newRow("fixed limited by precision") << 1234.5678 << int(ffFixed) << 4 << 2 << "1235.00";
        QTest::newRow("number") << -1234567.891 << int(ffNumber) << 15 << 1 << "-1,234,567.9";
        QTest::newRow("exponent") << 1234.5 << int(ffExponent) << 4 << 2 << "1.235E+03";
        QTest::newRow("exponent tie away") << 2.5 << int(ffExponent) << 1 << 0 << "3E+0";
        QTest::newRow("general precision") << 2.5 << int(ffGeneral) << 1 << 0 << "3";
        QTest::newRow("currency") << -1234.5 << int(ffCurrency) << 15 << 2 << "($1,234.50)";
    }
    void floatToStrF()
    {
        QFETCH(double, value);
        QFETCH(int, format);
        QFETCH(int, precision);
        QFETCH(int, digits);
        QFETCH(QString, expected);
        QCOMPARE(FloatToStrF(value, TFloatFormat(format), precision, digits), expected);
    }

    void currencyLayouts_data()
    {
        QTest::addColumn<int>("negCurrFormat");
        QTest::addColumn<QString>("expected");
        const char* layouts[] = {"($1.50)", "-$1.50",  "$-1.50",   "$1.50-",  "(1.50$)", "-1.50$",
                                 "1.50-$",  "1.50$-",  "-1.50 $",  "-$ 1.50", "1.50 $-", "$ 1.50-",
                                 "$ -1.50", "1.50- $", "($ 1.50)", "(1.50 $)"};
        for (int i = 0; i < 16; ++i)
            QTest::addRow("%d", i) << i << QString(layouts[i]);
    }
    void currencyLayouts()
    {
        QFETCH(int, negCurrFormat);
        QFETCH(QString, expected);
        TFormatSettings s = TFormatSettings::Invariant();
        s.NegCurrFormat = negCurrFormat;
        QCOMPARE(CurrToStrF(TCurrency::FromDouble(-1.5), ffCurrency, 2, s), expected);
    }

    void currToStr()
    {
        QCOMPARE(CurrToStr(TCurrency::FromDouble(12.5)), QString("12.5"));
        QCOMPARE(CurrToStr(TCurrency::FromRaw(std::numeric_limits<qint64>::max())),
                 QString("922337203685477.5807"));
        QCOMPARE(CurrToStr(TCurrency::FromDouble(-3)), QString("-3"));
    }

    void format_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<TVariantArray>("args");
        QTest::addColumn<QString>("expected");
        const TVariant money(TCurrency::FromDouble(-1234.5));
        QTest::newRow("decimal") << "%d items" << TVariantArray{qint64(42)} << "42 items";
        QTest::newRow("minimum digits") << "%.3d" << TVariantArray{-5} << "-005";
        QTest::newRow("width right") << "[%5d]" << TVariantArray{42} << "[   42]";
        QTest::newRow("width left") << "[%-5d]" << TVariantArray{42} << "[42   ]";
        QTest::newRow("width smaller than text") << "%1d" << TVariantArray{12345} << "12345";
        QTest::newRow("unsigned") << "%u" << TVariantArray{-1} << "18446744073709551615";
        QTest::newRow("hex") << "%x/%.4x" << TVariantArray{255, 10} << "FF/000A";
        QTest::newRow("pointer") << "%p" << TVariantArray{255} << "00000000000000FF";
        QTest::newRow("most negative")
            << "%d" << TVariantArray{std::numeric_limits<qint64>::min()} << "-9223372036854775808";
        QTest::newRow("fixed default") << "%f" << TVariantArray{2.0 / 3} << "0.67";
        QTest::newRow("fixed precision") << "%.3f" << TVariantArray{-1.0005} << "-1.001";
        QTest::newRow("fixed no decimals") << "%.0f" << TVariantArray{2.5} << "3";
        QTest::newRow("fixed empty precision") << "%.f" << TVariantArray{7.25} << "7";
        QTest::newRow("fixed currency exact")
            << "%.4f" << TVariantArray{TCurrency::FromRaw(12345)} << "1.2345";
        QTest::newRow("exponent") << "%e" << TVariantArray{1234.5} << "1.23450000000000E+003";
        QTest::newRow("exponent precision") << "%.3e" << TVariantArray{-0.0001234} << "-1.23E-004";
        QTest::newRow("general") << "%g" << TVariantArray{0.5} << "0.5";
        QTest::newRow("general scientific") << "%g" << TVariantArray{1e20} << "1E20";
        QTest::newRow("number") << "%n" << TVariantArray{1234567.125} << "1,234,567.13";
        QTest::newRow("number precision") << "%.0n" << TVariantArray{-1234.5} << "-1,235";
        QTest::newRow("money") << "%m" << TVariantArray{1234.5} << "$1,234.50";
        QTest::newRow("money negative currency") << "%m" << TVariantArray{money} << "($1,234.50)";
        QTest::newRow("string") << "<%s>" << TVariantArray{"abc"} << "<abc>";
        QTest::newRow("string precision") << "%.2s" << TVariantArray{"abcdef"} << "ab";
        QTest::newRow("string width") << "%-4s|%4s" << TVariantArray{"a", "b"} << "a   |   b";
        QTest::newRow("null string") << "[%s]" << TVariantArray{TVariant::Null()} << "[]";
        QTest::newRow("empty string arg") << "[%s]" << TVariantArray{TVariant()} << "[]";
        QTest::newRow("percent") << "100%% of %d" << TVariantArray{3} << "100% of 3";
        QTest::newRow("index") << "%1:s %0:s %s" << TVariantArray{"a", "b", "c"} << "b a b";
        QTest::newRow("star width") << "[%*d]" << TVariantArray{4, 7} << "[   7]";
        QTest::newRow("negative star width") << "[%*d]" << TVariantArray{-3, 7} << "[7  ]";
        QTest::newRow("star precision") << "%.*f" << TVariantArray{1, 2.25} << "2.3";
        QTest::newRow("uppercase type") << "%D %S" << TVariantArray{1, "x"} << "1 x";
        QTest::newRow("no directives") << "plain" << TVariantArray{} << "plain";
        QTest::newRow("surrogate pair kept whole")
            << "%.1s" << TVariantArray{QString::fromUtf8("\xF0\x9F\x98\x80")} << "";
    }
    void format()
    {
        QFETCH(QString, format);
        QFETCH(TVariantArray, args);
        QFETCH(QString, expected);
        QCOMPARE(Format(format, args), expected);
    }

    void formatUsesSettings()
    {
        QCOMPARE(Format("%n", {1234.5}, german()), QString("1.234,50"));
        QCOMPARE(Format("%m|%m", {1234.5, -2.0}, german()), QString("1.234,50 EUR|-2,00 EUR"));
    }

    void formatRejects_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<TVariantArray>("args");
        QTest::newRow("integer for float") << "%.2f" << TVariantArray{5};
        QTest::newRow("boolean for integer") << "%d" << TVariantArray{true};
        QTest::newRow("double for integer") << "%d" << TVariantArray{5.0};
        QTest::newRow("currency for integer") << "%x" << TVariantArray{TVariant(TCurrency::FromRaw(1))};
        QTest::newRow("integer for string") << "%s" << TVariantArray{5};
        QTest::newRow("date for float") << "%f" << TVariantArray{TVariant(TDateTime(1.0))};
        QTest::newRow("string for money") << "%m" << TVariantArray{"1"};
        QTest::newRow("missing argument") << "%d %d" << TVariantArray{1};
        QTest::newRow("index past end") << "%3:d" << TVariantArray{1};
        QTest::newRow("trailing percent") << "50%" << TVariantArray{};
        QTest::newRow("unknown type") << "%y" << TVariantArray{1};
        QTest::newRow("width without type") << "%5" << TVariantArray{1};
        QTest::newRow("huge width") << "%999999999d" << TVariantArray{1};
        QTest::newRow("overflowing width") << "%99999999999999999999999d" << TVariantArray{1};
        QTest::newRow("huge precision") << "%.999999999f" << TVariantArray{1.0};
        QTest::newRow("huge star width") << "%*d" << TVariantArray{qint64(1) << 40, 1};
        QTest::newRow("star not integer") << "%*d" << TVariantArray{"5", 1};
        QTest::newRow("printf injection") << "%n%n%n%s%s" << TVariantArray{};
    }
    void formatRejects()
    {
        QFETCH(QString, format);
        QFETCH(TVariantArray, args);
        try {
            Format(format, args);
            QFAIL("no error raised");
        } catch (const EConvertError& e) {
            QCOMPARE(e.Message(),
                     QStringLiteral("Format '%1' invalid or incompatible with argument").arg(format));
        }
    }

    void formatWidthAtTheCap()
    {
        QCOMPARE(Format(QStringLiteral("%%1d").arg(MaxFormatWidth), {1}).size(), MaxFormatWidth);
    }

    void strToFloat_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << "12.5" << true << 12.5;
        QTest::newRow("blanks and sign") << "  -3.25 " << true << -3.25;
        QTest::newRow("exponent") << "1.5E-3" << true << 0.0015;
        QTest::newRow("leading point") << ".5" << true << 0.5;
        QTest::newRow("plus") << "+7" << true << 7.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("thousands") << "1,000" << false << 0.0;
        QTest::newRow("two points") << "1.2.3" << false << 0.0;
        QTest::newRow("trailing text") << "12abc" << false << 0.0;
        QTest::newRow("exponent without digits") << "1e" << false << 0.0;
        QTest::newRow("infinity") << "INF" << false << 0.0;
        QTest::newRow("overflow") << "1e999" << false << 0.0;
    }
    void strToFloat()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(double, value);
        double parsed = -1;
        QCOMPARE(TryStrToFloat(text, parsed), valid);
        if (valid) {
            QCOMPARE(parsed, value);
            QCOMPARE(StrToFloat(text), value);
        } else {
            QCOMPARE(parsed, -1.0);
            QVERIFY_THROWS_EXCEPTION(EConvertError, StrToFloat(text));
        }
    }

    void strToFloatByDecimalSeparator()
    {
        QCOMPARE(StrToFloat("1,5", german()), 1.5);
        double parsed;
        QVERIFY(!TryStrToFloat("1.5", parsed, german()));
        try {
            StrToFloat("x1");
            QFAIL("no error raised");
        } catch (const EConvertError& e) {
            QCOMPARE(e.Message(), QString("'x1' is not a valid floating point value"));
        }
    }

    void strToInt_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid32");
        QTest::addColumn<qint64>("value");
        QTest::newRow("plain") << "123" << true << qint64(123);
        QTest::newRow("leading blanks and sign") << "  -45" << true << qint64(-45);
        QTest::newRow("hex dollar") << "$FF" << true << qint64(255);
        QTest::newRow("hex 0x") << "0x1f" << true << qint64(31);
        QTest::newRow("int min") << "-2147483648" << true << qint64(std::numeric_limits<int>::min());
        QTest::newRow("int overflow") << "2147483648" << false << qint64(2147483648LL);
        QTest::newRow("hex wraps") << "$FFFFFFFF" << true << qint64(-1);
        QTest::newRow("empty") << "" << false << qint64(0);
        QTest::newRow("trailing blank") << "12 " << false << qint64(0);
        QTest::newRow("fraction") << "1.5" << false << qint64(0);
        QTest::newRow("sign only") << "-" << false << qint64(0);
        QTest::newRow("hex prefix only") << "$" << false << qint64(0);
    }
    void strToInt()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid32);
        QFETCH(qint64, value);
        int parsed = 0;
        QCOMPARE(TryStrToInt(text, parsed), valid32);
        if (valid32)
            QCOMPARE(parsed, int(value));
        else
            QVERIFY_THROWS_EXCEPTION(EConvertError, StrToInt(text));
        const bool valid64 = valid32 || value != 0;
        qint64 parsed64 = 0;
        QCOMPARE(TryStrToInt64(text, parsed64), valid64);
        if (valid64 && text != "$FFFFFFFF")
            QCOMPARE(parsed64, value);
    }

    void strToInt64Limits()
    {
        QCOMPARE(StrToInt64("-9223372036854775808"), std::numeric_limits<qint64>::min());
        QCOMPARE(StrToInt64("$FFFFFFFFFFFFFFFF"), qint64(-1));
        QCOMPARE(StrToInt64("$FFFFFFFF"), qint64(0xFFFFFFFFLL));
        try {
            StrToInt64("9223372036854775808");
            QFAIL("no error raised");
        } catch (const EConvertError& e) {
            QCOMPARE(e.Message(), QString("'9223372036854775808' is not a valid integer value"));
        }
    }

    void settingsFromLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QChar>("decimal");
        QTest::addColumn<QChar>("dateSeparator");
        QTest::addColumn<int>("currencyFormat");
        QTest::addColumn<int>("negCurrFormat");
        QTest::addColumn<int>("currencyDecimals");
        QTest::newRow("en_US") << "en_US" << QChar(u'.') << QChar(u'/') << 0 << 0 << 2;
        QTest::newRow("de_DE") << "de_DE" << QChar(u',') << QChar(u'.') << 3 << 8 << 2;
        QTest::newRow("fr_FR") << "fr_FR" << QChar(u',') << QChar(u'/') << 3 << 15 << 2;
        QTest::newRow("ja_JP") << "ja_JP" << QChar(u'.') << QChar(u'/') << 0 << 0 << 0;
        QTest::newRow("ko_KR") << "ko_KR" << QChar(u'.') << QChar(u'.') << 0 << 0 << 0;
    }
    void settingsFromLocale()
    {
        QFETCH(QString, locale);
        QFETCH(QChar, decimal);
        QFETCH(QChar, dateSeparator);
        QFETCH(int, currencyFormat);
        QFETCH(int, negCurrFormat);
        QFETCH(int, currencyDecimals);
        const QLocale qtLocale(locale);
        const TFormatSettings s = TFormatSettings::FromLocale(qtLocale);
        QCOMPARE(s.DecimalSeparator, decimal);
        QCOMPARE(s.DateSeparator, dateSeparator);
        QCOMPARE(s.CurrencyFormat, currencyFormat);
        QCOMPARE(s.NegCurrFormat, negCurrFormat);
        QCOMPARE(s.CurrencyDecimals, currencyDecimals);
        QCOMPARE(s.LongDayNames[0], qtLocale.dayName(7));
        QCOMPARE(s.LongMonthNames[1], qtLocale.monthName(2));
        // The translated patterns must format as the locale itself does.
        const QDateTime sample(QDate(2024, 2, 9), QTime(14, 5, 7));
        const TDateTime value = TDateTime::FromQDateTime(sample);
        QCOMPARE(FormatDateTime(s.ShortDateFormat, value, s),
                 qtLocale.toString(sample.date(), QLocale::ShortFormat));
        QCOMPARE(FormatDateTime(s.LongDateFormat, value, s),
                 qtLocale.toString(sample.date(), QLocale::LongFormat));
        QCOMPARE(FormatDateTime(s.ShortTimeFormat, value, s),
                 qtLocale.toString(sample.time(), QLocale::ShortFormat));
        QCOMPARE(FormatDateTime(s.ShortTimeFormat, TDateTime::EncodeTime(9, 5, 0, 0), s),
                 qtLocale.toString(QTime(9, 5), QLocale::ShortFormat));
    }

    void defaultSettingsAreReplaceable()
    {
        TFormatSettings::SetDefault(german());
        QCOMPARE(FormatFloat("0.0", 1.5), QString("1,5"));
        TFormatSettings::SetDefault(TFormatSettings::Invariant());
        QCOMPARE(FormatFloat("0.0", 1.5), QString("1.5"));
    }
};

QTEST_GUILESS_MAIN(TstFormat)
#include "tst_format.moc"
