#pragma once

#include "lists/popup/torvodbpopuplist.h"

#include <functional>

namespace orvo {

/// A popup list that searches its rows as the user types and makes a double click out
/// of two quick left presses on one row (three quick presses: one double click, then a
/// single click), so that a double click never eats the press that follows it.
///
/// Typing searches the string field SearchField for the text typed so far, case
/// insensitively and by prefix; a pause of more than two seconds starts a new search,
/// a character that finds nothing is dropped, and the text stops growing at 32
/// characters.
class TOrvoDBPopupListEx : public TOrvoDBPopupList
{
    Q_OBJECT

public:
    /// Milliseconds from a fixed start; tests pass their own clock.
    using TClock = std::function<qint64()>;

    explicit TOrvoDBPopupListEx(QWidget* parent = nullptr, TCloseRequestEvent closeRequest = {});

    QString SearchField() const { return FSearchField; }
    void SetSearchField(const QString& value);
    QString SearchText() const { return FSearchText; }
    /// No single click waits for a second one.
    bool NoClickPending() const { return FLastClickTime == 0; }
    /// The last search key came less than two seconds ago.
    bool SearchKeyRecent() const;
    void SetClock(TClock clock);

    /// Extends the typed text by `key` where the dataset has a match (Backspace and Esc clear it).
    virtual void SearchKey(QChar key);

protected:
    void KeyDown(int& key, TShiftState shift) override;
    void KeyPress(QChar& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y, bool doubleClick) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool SearchableField() const;
    qint64 Now() const;

    TClock FClock;
    int FLastClickRow = -1;
    qint64 FLastClickTime = 0;
    qint64 FLastSearchTick = 0;
    QString FSearchField;
    QString FSearchText;
};

} // namespace orvo
