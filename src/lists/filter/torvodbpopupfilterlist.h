#pragma once

#include "lists/popup/torvodbpopuplistex.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace orvo {

class TListButton;

/// The list of a column's distinct values that drops down from its title's filter
/// button: a check box per value (the check marks are the list's selected rows, so that
/// checking a million values is one merge into the selection, not a million inserts), a
/// value column whose title reads "Select All" or "Clear All", three full-width title
/// buttons above them ("Remove filter", "Select filter...", "Add selected") shown as the
/// container decides, and "OK" and "Cancel" in the footer unless every change applies at
/// once.
///
/// The list reads the fields "Item" and "Key" of its dataset (TOrvoDBFilterData); the
/// container loads the values and stores the checked keys.
class TOrvoDBPopupFilterList : public TOrvoDBPopupListEx
{
    Q_OBJECT

public:
    /// The columns, in creation order.
    enum TFilterListColumn
    {
        flcRemoveFilter,
        flcSelectFilter,
        flcAddSelected,
        flcCheck,
        flcValue
    };
    static constexpr int DesignWidth = 286;
    static constexpr int DesignHeight = 183;
    /// The font height the design's pixel sizes are meant for.
    static constexpr int DesignFontHeight = 11;
    static constexpr int CheckColumnWidth = 22;

    explicit TOrvoDBPopupFilterList(QWidget* parent = nullptr, TCloseRequestEvent closeRequest = {});

    /// The title-button captions, writable so that a program can translate them.
    static QString& RemoveFilterCaption();
    static QString& SelectFilterCaption();
    static QString& AddSelectedCaption();

    /// Gathers the values with the grid's column filters off, so that the list shows
    /// the values of every record.
    bool LoadAllItems() const { return FLoadAllItems; }
    void SetLoadAllItems(bool value) { FLoadAllItems = value; }
    bool CheckedFirst() const { return FCheckedFirst; }
    void SetCheckedFirst(bool value) { FCheckedFirst = value; }
    /// Copying and pasting carry the key before the item text (lookup columns).
    bool CopyKeys() const { return FCopyKeys; }
    void SetCopyKeys(bool value) { FCopyKeys = value; }
    /// Every change applies at once: no OK and Cancel, no footer.
    void SetApplyAtOnce(bool value);

    TListButton* OkButton() const { return FOkButton; }
    TListButton* CancelButton() const { return FCancelButton; }
    /// Shows one of the three title buttons (flcRemoveFilter, flcSelectFilter,
    /// flcAddSelected) as a full-width title over the columns after it.
    void ShowTitleButton(TFilterListColumn button, bool shown);
    bool TitleButtonShown(TFilterListColumn button) const;

    TListNotifyEvent OnAddSelected;
    TListNotifyEvent OnRemoveFilter;
    TListNotifyEvent OnSelectFilter;

    /// Checks the rows whose key passes `test` and, with `uncheckOthers`, unchecks the
    /// rest, in one change of the selection. Answers how many rows it checked.
    int CheckRows(const std::function<bool(const QString& key)>& test, bool uncheckOthers);
    /// The keys of the checked rows in the list's order, each once without regard to case.
    QStringList CheckedKeys();
    bool AnyChecked() const;
    /// Checks the rows named by the lines of `text`: the part of a line before its first
    /// tab is compared with the keys without regard to case; lines that name no row are
    /// passed over.
    void PasteText(const QString& text);
    /// One line per checked row (the current row when none is): with CopyKeys the key and
    /// a tab, then the item text; tabs inside values become blanks.
    QString CopyText();
    /// Keeps the value column's title ("Select All" or "Clear All") and, when every
    /// change applies at once, reports the change.
    virtual void CheckedChanged();

    /// Fits the value column to the widest value and the list to its columns and buttons.
    void AdjustListSize() override;
    /// The widest text of `texts` in `metrics`. A long list is measured only where the
    /// widest can be: see the definition.
    static int WidestText(const QStringList& texts, const QFontMetrics& metrics);

protected:
    void TitleClick(TOrvoColumn* column) override;
    void KeyDown(int& key, TShiftState shift) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void SetUpGrid();
    void CreateListColumns();
    void CreateButtons();
    TListButton* CreateButton(const QString& caption, bool accept);
    void PlaceButtons();
    /// A design size at the list's font.
    int Scaled(int designPixels) const;
    int Margin() const { return Scaled(5); }
    TOrvoColumn* ListColumn(TFilterListColumn column) const;
    QString FieldText(const QString& fieldName) const;
    /// Calls `visit` with each checked row current, in the list's order.
    void ForEachChecked(const std::function<void()>& visit);
    QStringList ValueItems();
    void ToggleLoadAllItems();
    /// Every row is in view at the list's number of rows.
    bool AllRowsFit() const;
    void CheckAll(bool checked);

    bool FLoadAllItems = false;
    bool FCheckedFirst = false;
    bool FCopyKeys = false;
    TListButton* FOkButton = nullptr;
    TListButton* FCancelButton = nullptr;
};

} // namespace orvo
