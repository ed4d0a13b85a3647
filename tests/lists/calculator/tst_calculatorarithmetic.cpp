#include "grid/common/tgridsettingsguard.h"
#include "lists/calculator/tcalculatorarithmetic.h"

#include <QHash>
#include <QTest>

using namespace orvo;
using orvo::test::TGridSettingsGuard;

namespace {

/// Runs a line of keys written as the keypad's captions ("2 + 3 ="), single typed
/// characters ("r", "@", ","), or a pasted text in brackets ("[1E300]").
class TKeyRunner
{
public:
    TKeyRunner()
    {
        Calculator.Beep = [this] { ++Beeps; };
        Calculator.OnAccept = [this] { ++Accepts; };
    }

    void Run(const QString& keys)
    {
        static const QHash<QString, int> named = {
            {QStringLiteral("OK"), ckOK},           {QStringLiteral("Back"), ckBackspace},
            {QStringLiteral("CE"), ckClearEntry},   {QStringLiteral("C"), ckClearAll},
            {QStringLiteral("MC"), ckMemoryClear},  {QStringLiteral("MR"), ckMemoryRecall},
            {QStringLiteral("MS"), ckMemoryStore},  {QStringLiteral("M+"), ckMemoryAdd},
            {QStringLiteral("sqrt"), ckSquareRoot}, {QStringLiteral("1/x"), ckReciprocal},
            {QStringLiteral("+/-"), ckChangeSign}};
        for (const QString& key : keys.split(u' ', Qt::SkipEmptyParts)) {
            if (key.startsWith(u'[') && key.endsWith(u']'))
                Calculator.Paste(key.mid(1, key.size() - 2));
            else if (named.contains(key))
                Calculator.ProcessKey(named.value(key));
            else
                for (QChar c : key)
                    Calculator.ProcessKey(c.unicode());
        }
    }

    TCalculatorArithmetic Calculator;
    int Beeps = 0;
    int Accepts = 0;
};

} // namespace

class TCalculatorArithmeticTest : public QObject
{
    Q_OBJECT

private:
    static void AddKeyTable()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("display");
        QTest::addColumn<int>("beeps");
        QTest::newRow("starts on 0") << ""
                                     << "0" << 0;
        QTest::newRow("digits replace the leading 0") << "0 0 7 0"
                                                      << "70" << 0;
        QTest::newRow("2+3=") << "2 + 3 ="
                              << "5" << 0;
        QTest::newRow("= again repeats the last operation") << "2 + 3 = ="
                                                            << "8" << 0;
        QTest::newRow("an operator shows the running result") << "2 + 3 +"
                                                              << "5" << 0;
        QTest::newRow("2+3+4=") << "2 + 3 + 4 ="
                                << "9" << 0;
        QTest::newRow("a later operator replaces the earlier") << "2 + * 3 ="
                                                               << "6" << 0;
        QTest::newRow("an operator then = uses the display twice") << "5 + ="
                                                                   << "10" << 0;
        QTest::newRow("a number after = starts afresh") << "2 + 3 = 4 + 1 ="
                                                        << "5" << 0;
        QTest::newRow("subtraction below zero") << "3 - 5 ="
                                                << "-2" << 0;
        QTest::newRow("a leading minus subtracts from 0") << "- 1 . 5 ="
                                                          << "-1.5" << 0;
        QTest::newRow("division") << "7 / 2 ="
                                  << "3.5" << 0;
        QTest::newRow("1/0= beeps and keeps the display") << "1 / 0 ="
                                                          << "0" << 1;
        QTest::newRow("= again beeps again") << "1 / 0 = ="
                                             << "0" << 2;
        QTest::newRow("0/0 beeps") << "0 / 0 ="
                                   << "0" << 1;
        QTest::newRow("1/x on 0 beeps") << "1/x"
                                        << "0" << 1;
        QTest::newRow("1/x") << "4 1/x"
                             << "0.25" << 0;
        QTest::newRow("1/x typed lower case") << "8 r"
                                              << "0.125" << 0;
        QTest::newRow("sqrt") << "9 sqrt"
                              << "3" << 0;
        QTest::newRow("sqrt typed") << "1 6 @"
                                    << "4" << 0;
        QTest::newRow("sqrt of a negative beeps") << "9 +/- sqrt"
                                                  << "-9" << 1;
        QTest::newRow("percent of the accumulator") << "2 0 0 + 1 0 %"
                                                    << "20" << 0;
        QTest::newRow("percent then = adds it") << "2 0 0 + 1 0 % ="
                                                << "220" << 0;
        QTest::newRow("percent without an accumulator") << "5 0 %"
                                                        << "0" << 0;
        QTest::newRow("a second decimal separator beeps") << "1 . 5 ."
                                                          << "1.5" << 1;
        QTest::newRow("a comma types the separator") << "1 , 5"
                                                     << "1.5" << 0;
        QTest::newRow("a separator first gives 0.") << "."
                                                    << "0." << 0;
        QTest::newRow("a separator after a result starts 0.") << "2 + 3 = . 5"
                                                              << "0.5" << 0;
        QTest::newRow("backspace removes the last character") << "1 2 . Back"
                                                              << "12" << 0;
        QTest::newRow("backspace on one digit gives 0") << "7 Back"
                                                        << "0" << 0;
        QTest::newRow("backspace on a minus and one digit gives 0") << "5 +/- Back"
                                                                    << "0" << 0;
        QTest::newRow("backspace on -0 and the separator gives 0") << ". +/- Back"
                                                                   << "0" << 0;
        QTest::newRow("backspace keeps the minus of a longer number") << "1 2 +/- Back"
                                                                      << "-1" << 0;
        QTest::newRow("backspace on a result only beeps") << "2 + 3 = Back"
                                                          << "5" << 1;
        QTest::newRow("backspace at start only beeps") << "Back"
                                                       << "0" << 1;
        QTest::newRow("change sign on 0 keeps 0") << "+/-"
                                                  << "0" << 0;
        QTest::newRow("change sign twice") << "4 +/- +/-"
                                           << "4" << 0;
        QTest::newRow("change sign of a result") << "2 + 3 = +/-"
                                                 << "-5" << 0;
        QTest::newRow("clear entry keeps the calculation") << "2 + 3 CE 4 ="
                                                           << "6" << 0;
        QTest::newRow("clear entry after a function keeps the accumulator") << "2 + 9 sqrt CE ="
                                                                            << "2" << 0;
        QTest::newRow("clear all forgets the operator") << "2 + C 3 ="
                                                        << "3" << 0;
        QTest::newRow("escape code clears all") << "2 + \x1b 3 ="
                                                << "3" << 0;
        QTest::newRow("MS C MR recalls the stored value") << "4 MS C MR"
                                                          << "4" << 0;
        QTest::newRow("M+ adds to memory") << "5 MS 3 M+ MR"
                                           << "8" << 0;
        QTest::newRow("MC clears memory") << "5 MS MC MR"
                                          << "0" << 0;
        QTest::newRow("a digit after MR starts a new number") << "5 MS 2 + MR 1"
                                                              << "1" << 0;
        QTest::newRow("recall into an operation") << "6 MS C 2 * MR ="
                                                  << "12" << 0;
        QTest::newRow("0.1+0.2 shows 0.3") << "0 . 1 + 0 . 2 ="
                                           << "0.3" << 0;
        QTest::newRow("the shown 0.3 continues exactly") << "0 . 1 + 0 . 2 = - 0 . 3 ="
                                                         << "0" << 0;
        QTest::newRow("results keep 15 significant digits") << "1 / 3 ="
                                                            << "0.333333333333333" << 0;
        QTest::newRow("roots keep 15 significant digits") << "2 sqrt"
                                                          << "1.4142135623731" << 0;
        QTest::newRow("negative results keep 15 digits") << "2 +/- / 3 ="
                                                         << "-0.666666666666667" << 0;
        QTest::newRow("a zero product shows no minus") << "0 * 5 +/- ="
                                                       << "0" << 0;
        QTest::newRow("large results in exponent form") << "[1E200] * [1E100] ="
                                                        << "1E300" << 0;
        QTest::newRow("overflow beeps and keeps the display") << "[1E300] * [1E300] ="
                                                              << "1E300" << 1;
        QTest::newRow("negative overflow beeps") << "[-1E300] * [1E300] ="
                                                 << "1E300" << 1;
        QTest::newRow("just past the largest double beeps") << "[1.7976931348623E308] * 2 ="
                                                            << "2" << 1;
        QTest::newRow("tiny results in exponent form") << "[1E-200] * [1E-100] ="
                                                       << "1E-300" << 0;
        QTest::newRow("a result too tiny to show beeps") << "[1E-300] * [1E-300] ="
                                                         << "1E-300" << 1;
        QTest::newRow("tiny negative results") << "[-1.5E-7] * 2 ="
                                               << "-3E-7" << 0;
        QTest::newRow("a pasted number shows as pasted") << "[12.50]"
                                                         << "12.50" << 0;
        QTest::newRow("a pasted non-number beeps") << "7 [abc]"
                                                   << "7" << 1;
        QTest::newRow("an empty paste beeps") << "7 []"
                                              << "7" << 1;
        QTest::newRow("blanks around a paste are dropped") << "[\t42\n]"
                                                           << "42" << 0;
        QTest::newRow("an operator works on a pasted number") << "2 + 3 = [10] + 1 ="
                                                              << "11" << 0;
        QTest::newRow("a digit after a paste starts a new number") << "[10] 5"
                                                                   << "5" << 0;
        QTest::newRow("a paste as the second operand") << "2 * [2.5] ="
                                                       << "5" << 0;
        QTest::newRow("codes of no operation are ignored") << "7 a ? Q"
                                                           << "7" << 0;
    }

private slots:
    void init() { TFormatSettings::SetDefault(TFormatSettings::Invariant()); }

    void keysShowTheExpectedDisplay_data() { AddKeyTable(); }
    void keysShowTheExpectedDisplay()
    {
        QFETCH(QString, keys);
        QFETCH(QString, display);
        QFETCH(int, beeps);
        TKeyRunner runner;
        runner.Run(keys);
        QCOMPARE(runner.Calculator.DisplayText(), display);
        QCOMPARE(runner.Beeps, beeps);
    }

    void theDisplayValueIsTheShownText_data() { AddKeyTable(); }
    void theDisplayValueIsTheShownText()
    {
        QFETCH(QString, keys);
        TKeyRunner runner;
        runner.Run(keys);
        QCOMPARE(double(runner.Calculator.DisplayValue()),
                 QLocale::c().toDouble(runner.Calculator.DisplayText()));
    }

    void aFailedEvaluationKeepsTheRegistersItChanged()
    {
        TKeyRunner runner;
        runner.Run(QStringLiteral("1 / 0 ="));
        const TCalculatorArithmetic& c = runner.Calculator;
        QCOMPARE(runner.Beeps, 1);
        QCOMPARE(double(c.Accumulator()), 1.0);
        QCOMPARE(double(c.SavedAccumulator()), 1.0);
        QCOMPARE(double(c.Operand()), 0.0);
        QCOMPARE(double(c.DisplayValue()), 0.0);
        QVERIFY(!c.Entering() && !c.OperatorPending() && !c.ResultShown());
        QCOMPARE(c.Operator(), QChar(u'/'));
    }

    void clearingAllResetsEveryRegisterButMemory()
    {
        TKeyRunner runner;
        runner.Run(QStringLiteral("9 MS 2 + 3 = C"));
        const TCalculatorArithmetic& c = runner.Calculator;
        QCOMPARE(c.DisplayText(), QStringLiteral("0"));
        QCOMPARE(double(c.Accumulator()), 0.0);
        QCOMPARE(double(c.SavedAccumulator()), 0.0);
        QCOMPARE(double(c.Operand()), 0.0);
        QCOMPARE(double(c.Memory()), 9.0);
        QCOMPARE(c.Operator(), QChar(u'='));
        QVERIFY(c.ResultShown() && !c.Entering() && !c.OperatorPending());
    }

    void clearEntryAfterAnEvaluationRestoresTheAccumulator()
    {
        TKeyRunner runner;
        runner.Run(QStringLiteral("2 + 3 = CE ="));
        // The accumulator is 2 again and "=" adds the cleared entry, 0.
        QCOMPARE(runner.Calculator.DisplayText(), QStringLiteral("2"));
    }

    void theListValueEvaluatesWhatIsPending_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("beeps");
        QTest::newRow("3+4 being typed") << "3 + 4"
                                         << "7" << 0;
        QTest::newRow("an operator pending") << "3 +"
                                             << "6" << 0;
        QTest::newRow("a typed number alone") << "1 2 . 5"
                                              << "12.5" << 0;
        QTest::newRow("after = nothing more") << "2 + 3 ="
                                              << "5" << 0;
        QTest::newRow("a function result") << "9 sqrt"
                                           << "3" << 0;
        QTest::newRow("a failing evaluation hands back the display") << "1 / 0"
                                                                     << "0" << 1;
        QTest::newRow("a pasted text") << "[12.50]"
                                       << "12.50" << 0;
    }
    void theListValueEvaluatesWhatIsPending()
    {
        QFETCH(QString, keys);
        QFETCH(QString, value);
        QFETCH(int, beeps);
        TKeyRunner runner;
        runner.Run(keys);
        QCOMPARE(runner.Calculator.ListValue(), value);
        QCOMPARE(runner.Beeps, beeps);
    }

    void anEmptyDisplayTextCountsAsZero()
    {
        TKeyRunner runner;
        runner.Run(QStringLiteral("7"));
        QVERIFY(runner.Calculator.SetDisplayText(QString()));
        QCOMPARE(runner.Calculator.DisplayText(), QStringLiteral("0"));
        QCOMPARE(double(runner.Calculator.DisplayValue()), 0.0);
        QCOMPARE(runner.Beeps, 0);
    }

    void okAsksToAcceptAndChangesNothing()
    {
        TKeyRunner runner;
        runner.Run(QStringLiteral("3 + 4 OK"));
        QCOMPARE(runner.Accepts, 1);
        QCOMPARE(runner.Calculator.DisplayText(), QStringLiteral("4"));
        QVERIFY(runner.Calculator.Entering());
    }

    void theDisplayChangeIsReportedOnlyForNewText()
    {
        TKeyRunner runner;
        QStringList shown;
        runner.Calculator.OnDisplayChange = [&shown](const QString& text) { shown << text; };
        runner.Run(QStringLiteral("0 1 . . 5 [x] +"));
        QCOMPARE(shown, (QStringList{"1", "1.", "1.5"}));
    }

    void aDecimalCommaLocaleReadsAndWritesCommas_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("display");
        QTest::addColumn<int>("beeps");
        QTest::newRow("a point types a comma") << "1 . 5"
                                               << "1,5" << 0;
        QTest::newRow("a comma types a comma") << "1 , 5"
                                               << "1,5" << 0;
        QTest::newRow("a second comma beeps") << "1 , 5 ,"
                                              << "1,5" << 1;
        QTest::newRow("0,1+0,2") << "0 , 1 + 0 , 2 ="
                                 << "0,3" << 0;
        QTest::newRow("results are written with commas") << "1 / 4 ="
                                                         << "0,25" << 0;
        QTest::newRow("backspace on -0, gives 0") << ", +/- Back"
                                                  << "0" << 0;
        QTest::newRow("a pasted point number is no number") << "7 [1.5]"
                                                            << "7" << 1;
        QTest::newRow("a pasted comma number") << "[2,5] * 2 ="
                                               << "5" << 0;
    }
    void aDecimalCommaLocaleReadsAndWritesCommas()
    {
        TGridSettingsGuard guard;
        QFETCH(QString, keys);
        QFETCH(QString, display);
        QFETCH(int, beeps);
        TFormatSettings comma = TFormatSettings::Invariant();
        comma.DecimalSeparator = u',';
        comma.ThousandSeparator = u'.';
        TFormatSettings::SetDefault(comma);
        TKeyRunner runner;
        runner.Run(keys);
        QCOMPARE(runner.Calculator.DisplayText(), display);
        QCOMPARE(runner.Beeps, beeps);
    }
};

QTEST_MAIN(TCalculatorArithmeticTest)
#include "tst_calculatorarithmetic.moc"
