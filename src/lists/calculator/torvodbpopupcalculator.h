#pragma once

#include "lists/popup/torvodbpopuplist.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace orvo {

class TCalculatorArithmetic;
class TListButton;
class TOrvoDBDisplayData;

/// The pocket calculator that drops down under a numeric cell: a popup list whose one
/// data row is the display (the one-record dataset TOrvoDBDisplayData, right-aligned)
/// and whose tall footer row is the room of a keypad of 28 TListButton keys.
///
/// The arithmetic is TCalculatorArithmetic's; this class owns the widgets around it:
/// the keys (each with a Tag of colour × 256 + key code: 0 blue, 1 red, 2 black), the
/// typed keys of the keypad, pasting, and a size that the display row and the keypad
/// fill exactly. The keys stay anchored to the bottom edge, so a list made taller
/// (the grid container adds the height of taller grid rows) keeps its keypad whole.
/// When the list's font changes size, the list, its keys and their fonts scale with it.
class TOrvoDBPopupCalculator : public TOrvoDBPopupList
{
    Q_OBJECT

public:
    /// The keypad in creation order: caption, place in the design (207 × 153), colour, code.
    struct TKeyDesign
    {
        const char* Caption;
        int X;
        int Y;
        int Width;
        int Colour;
        int Code;
    };
    static constexpr int DesignWidth = 207;
    static constexpr int DesignHeight = 153;
    static constexpr int KeyHeight = 22;
    static const std::vector<TKeyDesign>& KeyDesigns();

    explicit TOrvoDBPopupCalculator(QWidget* parent = nullptr, TCloseRequestEvent closeRequest = {});
    ~TOrvoDBPopupCalculator() override;

    /// Runs the key of a button: the low byte of its Tag.
    virtual void ButtonClick(TListButton* sender);
    /// Shows "0"; `all` also forgets the calculation (never the memory).
    virtual void ClearCalculator(bool all);
    /// Runs one key code; OK asks to close the list accepting.
    virtual void ProcessKey(int code);

    /// Shows `text` when it reads as a number, else beeps and keeps the display.
    bool SetDisplayText(const QString& text);
    bool SetValue(long double value);
    QString DisplayText() const;
    /// The value to hand back: a pending operation is evaluated first.
    QString ListValue();
    /// Takes the clipboard's text as a number; a text that is none beeps.
    void PasteFromClipboard();
    /// Replaces the beep of a failed key (QApplication::beep() by default).
    void SetBeep(std::function<void()> beep);

    TOrvoDBDisplayData* Display() const { return FDisplay; }
    const TCalculatorArithmetic& Arithmetic() const { return *FArithmetic; }
    const std::vector<TListButton*>& Buttons() const { return FButtons; }
    /// The button of `code`; null for a code no button has.
    TListButton* ButtonOfCode(int code) const;

    /// Fits the footer row to the room the display row leaves, so that the two fill the
    /// list exactly; the list's own size does not change.
    void AdjustListSize() override;

protected:
    void KeyDown(int& key, TShiftState shift) override;
    void KeyPress(QChar& key) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void SetUpGrid();
    void CreateDisplayColumn();
    void CreateButtons();
    /// The code a key with modifiers stands for, or 0; these keys are taken before the grid
    /// can use them (Escape, Shift+Insert) or sees the plain letter of a Ctrl key.
    static int ShortCutCode(int key, TShiftState shift);
    void PlaceButtons();
    void FitFooterFont(int footerHeight);
    void ScaleToFont();

    std::unique_ptr<TCalculatorArithmetic> FArithmetic;
    TOrvoDBDisplayData* FDisplay = nullptr;
    std::vector<TListButton*> FButtons;
    /// How much the keypad has grown with the font since the design.
    double FScale = 1.0;
    int FFontHeight = 0;
};

} // namespace orvo
