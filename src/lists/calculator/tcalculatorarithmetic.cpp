#include "lists/calculator/tcalculatorarithmetic.h"

#include "platform/core/floatformat.h"
#include "platform/core/strconvert.h"
#include "platform/core/tformatsettings.h"

#include <QApplication>

#include <cfloat>
#include <cmath>

namespace orvo {

namespace {

const QString Zero = QStringLiteral("0");

bool IsOperator(int code)
{
    return code == ckAdd || code == ckSubtract || code == ckMultiply || code == ckDivide;
}

} // namespace

TCalculatorArithmetic::TCalculatorArithmetic() : Beep([] { QApplication::beep(); })
{
    ClearCalculator(true);
}

void TCalculatorArithmetic::ProcessKey(int code)
{
    if (code >= '0' && code <= '9')
        TypeCharacter(QChar(code));
    else if (code == ckComma || code == ckPoint)
        TypeCharacter(DecimalSeparator());
    else if (IsOperator(code))
        PressOperator(QChar(code));
    else if (code == ckEvaluate)
        Evaluate();
    else if (code == ckPercent || code == ckSquareRoot || code == ckReciprocal || code == ckReciprocalLower)
        ApplyFunction(code);
    else if (code == ckChangeSign)
        ChangeSign();
    else if (code == ckBackspace)
        Backspace();
    else if (code == ckMemoryClear || code == ckMemoryAdd || code == ckMemoryRecall || code == ckMemoryStore)
        ProcessMemoryKey(code);
    else if (code == ckClearEntry)
        ClearCalculator(false);
    else if (code == ckClearAll)
        ClearCalculator(true);
    else if (code == ckOK && OnAccept)
        OnAccept();
}

void TCalculatorArithmetic::ClearCalculator(bool all)
{
    SetDisplayText(Zero);
    if (!all && !FEntering && !FResultShown)
        FAccumulator = FSavedAccumulator;
    FResultShown = true;
    FEntering = false;
    FOperatorPending = false;
    if (all) {
        FAccumulator = 0;
        FSavedAccumulator = 0;
        FOperand = 0;
        FOperator = u'=';
    }
}

bool TCalculatorArithmetic::SetDisplayText(const QString& text)
{
    const QString shown = text.isEmpty() ? Zero : text;
    double value = 0;
    if (!TryStrToFloat(shown, value)) {
        Fail();
        return false;
    }
    FDisplayValue = value;
    if (shown != FDisplayText) {
        FDisplayText = shown;
        if (OnDisplayChange)
            OnDisplayChange(FDisplayText);
    }
    return true;
}

bool TCalculatorArithmetic::Paste(const QString& text)
{
    const QString number = text.trimmed();
    if (number.isEmpty() || !SetDisplayText(number))
        return number.isEmpty() ? Refuse() : false;
    FResultShown = true;
    FEntering = false;
    return true;
}

bool TCalculatorArithmetic::SetValue(long double value)
{
    // The display shows doubles: beyond their range there are no digits to write (and
    // converting would be undefined), below the smallest normal one a result would show as
    // 0 or with fewer exact digits than it claims. NaN fails the first test.
    const long double magnitude = std::fabs(value);
    if (!(magnitude <= static_cast<long double>(DBL_MAX)) ||
        (magnitude != 0 && magnitude < static_cast<long double>(DBL_MIN)))
        return Refuse();
    // A zero result shows as "0" whatever its sign bit.
    return SetDisplayText(value == 0 ? Zero : FloatToStr(static_cast<double>(value)));
}

QString TCalculatorArithmetic::ListValue()
{
    if (FEntering || FOperatorPending || FResultShown)
        ProcessKey(ckEvaluate);
    return FDisplayText;
}

void TCalculatorArithmetic::TypeCharacter(QChar character)
{
    const QString display = FEntering ? FDisplayText : Zero;
    const bool append = display != Zero || character == DecimalSeparator();
    // A second decimal separator makes no number: the text is refused with a beep.
    if (!SetDisplayText(append ? display + character : QString(character)))
        return;
    FEntering = true;
}

void TCalculatorArithmetic::PressOperator(QChar op)
{
    if (FEntering || FResultShown) {
        // After "=" a new number starts a new calculation rather than continuing the last.
        if (!FOperatorPending)
            FOperator = u'=';
        if (!Evaluate())
            return;
    }
    FOperator = op;
    FOperatorPending = true;
}

bool TCalculatorArithmetic::Evaluate()
{
    if (FEntering || FResultShown || FOperatorPending)
        FOperand = FDisplayValue;
    FEntering = false;
    FResultShown = false;
    FOperatorPending = false;
    FSavedAccumulator = FAccumulator;
    bool shown = true;
    switch (FOperator.unicode()) {
    case ckAdd:
        shown = SetValue(FAccumulator + FOperand);
        break;
    case ckSubtract:
        shown = SetValue(FAccumulator - FOperand);
        break;
    case ckMultiply:
        shown = SetValue(FAccumulator * FOperand);
        break;
    case ckDivide:
        shown = FOperand == 0 ? Refuse() : SetValue(FAccumulator / FOperand);
        break;
    default:
        break;
    }
    if (!shown)
        return false;
    FAccumulator = FDisplayValue;
    return true;
}

void TCalculatorArithmetic::ApplyFunction(int code)
{
    FResultShown = true;
    FEntering = false;
    // The checks come first: a NaN or an infinity would be refused too, but only if the
    // floating-point environment lets them through rather than trapping.
    if (code == ckPercent)
        SetValue(FAccumulator * FDisplayValue / 100);
    else if (code == ckSquareRoot && FDisplayValue < 0)
        Refuse();
    else if (code == ckSquareRoot)
        SetValue(std::sqrt(FDisplayValue));
    else if (FDisplayValue == 0)
        Refuse();
    else
        SetValue(1 / FDisplayValue);
}

void TCalculatorArithmetic::ChangeSign()
{
    QString display = FDisplayText;
    if (display.startsWith(u'-'))
        display.remove(0, 1);
    else if (display != Zero)
        display.prepend(u'-');
    if (!SetDisplayText(display))
        return;
    FEntering = true;
}

void TCalculatorArithmetic::Backspace()
{
    if (!FEntering) {
        Fail();
        return;
    }
    const QString& display = FDisplayText;
    const bool lastDigit = display.size() == 1 || (display.size() == 2 && display.startsWith(u'-')) ||
                           display == QStringLiteral("-0") + DecimalSeparator();
    SetDisplayText(lastDigit ? Zero : display.chopped(1));
}

void TCalculatorArithmetic::ProcessMemoryKey(int code)
{
    FEntering = false;
    switch (code) {
    case ckMemoryClear:
        FMemory = 0;
        break;
    case ckMemoryAdd:
        FMemory += FDisplayValue;
        break;
    case ckMemoryStore:
        FMemory = FDisplayValue;
        break;
    default:
        FResultShown = true;
        SetValue(FMemory);
        break;
    }
}

void TCalculatorArithmetic::Fail()
{
    if (Beep)
        Beep();
}

bool TCalculatorArithmetic::Refuse()
{
    Fail();
    return false;
}

QChar TCalculatorArithmetic::DecimalSeparator()
{
    return TFormatSettings::Default().DecimalSeparator;
}

} // namespace orvo
