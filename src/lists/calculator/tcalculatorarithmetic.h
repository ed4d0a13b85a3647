#pragma once

#include <QChar>
#include <QString>

#include <functional>

namespace orvo {

/// The one-byte codes of the calculator's operations. Typed characters use the same
/// codes: a digit, "," or ".", "+", "-", "*", "/", "=", "%" are themselves.
enum TCalculatorKey : int
{
    ckBackspace = 8,
    ckOK = 10,
    ckMemoryClear = 12,
    ckMemoryAdd = 16,
    ckMemoryRecall = 18,
    ckMemoryStore = 19,
    ckClearAll = 27,
    ckPercent = '%',
    ckMultiply = '*',
    ckAdd = '+',
    ckComma = ',',
    ckSubtract = '-',
    ckPoint = '.',
    ckDivide = '/',
    ckEvaluate = '=',
    ckSquareRoot = '@',
    ckReciprocal = 'R',
    ckChangeSign = '_',
    ckReciprocalLower = 'r',
    ckClearEntry = 127
};

/// The arithmetic of the drop-down calculator, without any widget: the display text and
/// the registers behind it, changed one key code at a time.
///
/// Numbers live as `long double`, but what the display shows is written with at most
/// the 15 significant digits a double holds exactly, in the locale's number format, and
/// the display value is read back from that text. So a result carries no binary noise
/// into the next operation (0.1 + 0.2 shows and continues as 0.3), and the value handed
/// back is always the value the user saw.
///
/// A key that fails — a text that is no number, division by zero, the root of a negative
/// number, a result beyond what the display can show — beeps and changes neither the
/// display nor its value nor the accumulator; flags and registers that the key had set
/// before the failing step stay set (an evaluation still takes its operand, so "=" again
/// repeats the same failure).
class TCalculatorArithmetic
{
public:
    TCalculatorArithmetic();

    /// Runs the operation of `code`; codes of no operation are ignored.
    void ProcessKey(int code);
    /// Shows "0" and leaves entry; `all` also forgets the accumulator, the operand and the
    /// pending operator. The memory register is never cleared here.
    void ClearCalculator(bool all);
    /// Shows `text` (empty counts as "0") when it reads as a number; otherwise beeps and
    /// returns false with nothing changed.
    bool SetDisplayText(const QString& text);
    /// Takes a pasted text as a value recalled from outside: blanks around it are dropped,
    /// an operator key then works on it and a digit starts a new number. Beeps and returns
    /// false with nothing changed when it is no number (an empty text included).
    bool Paste(const QString& text);
    /// Shows `value` in the display's number format; beeps and returns false when the
    /// display cannot show it.
    bool SetValue(long double value);
    /// The text to hand back: a pending operation is evaluated first. When that evaluation
    /// fails (after its beep), the text on the display is handed back as it is.
    QString ListValue();

    QString DisplayText() const { return FDisplayText; }
    long double DisplayValue() const { return FDisplayValue; }
    long double Accumulator() const { return FAccumulator; }
    long double Memory() const { return FMemory; }
    long double SavedAccumulator() const { return FSavedAccumulator; }
    long double Operand() const { return FOperand; }
    bool Entering() const { return FEntering; }
    bool OperatorPending() const { return FOperatorPending; }
    bool ResultShown() const { return FResultShown; }
    /// "+", "-", "*", "/", or "=" when no operator is pending.
    QChar Operator() const { return FOperator; }

    /// Sounds a failed key; QApplication::beep() unless replaced.
    std::function<void()> Beep;
    /// Called after the display text changed.
    std::function<void(const QString& text)> OnDisplayChange;
    /// Called for the OK key.
    std::function<void()> OnAccept;

private:
    void TypeCharacter(QChar character);
    void PressOperator(QChar op);
    bool Evaluate();
    void ApplyFunction(int code);
    void ChangeSign();
    void Backspace();
    void ProcessMemoryKey(int code);
    void Fail();
    /// Fail() for a computation that has no result.
    bool Refuse();
    static QChar DecimalSeparator();

    QString FDisplayText;
    long double FDisplayValue = 0;
    long double FAccumulator = 0;
    long double FMemory = 0;
    long double FSavedAccumulator = 0;
    long double FOperand = 0;
    bool FEntering = false;
    bool FOperatorPending = false;
    bool FResultShown = false;
    QChar FOperator = u'=';
};

} // namespace orvo
