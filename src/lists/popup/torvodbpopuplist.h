#pragma once

#include "grid/dbgrid/torvocustomdbgrid.h"

#include <QPointer>

#include <functional>

class QMenu;
class QTimer;

namespace orvo {

class TDataSource;
class TOrvoDBDropDownList;

/// A data grid that drops down under a cell or an editor: the lookup and pick lists,
/// the calendar, the calculator and the auto-filter list all derive from it.
///
/// The list is a real top-level window whose Qt parent is its container (so it is
/// freed with it), frameless, a tool window that stays on top and never takes the
/// activation or the focus: the editor that opened it keeps the focus and passes the
/// keys on (Qt::Popup is not used because it grabs the keyboard). It still draws as a
/// focused grid (TFocusedLook), so its current row reads as the choice.
///
/// Construction: `TOrvoDBPopupList(parent, closeRequest)` builds the hidden list with
/// `parent` as its owner and Qt parent (SetListParent) and `closeRequest` as
/// OnListCloseRequest; a container passes itself and its own CloseUp.
class TOrvoDBPopupList : public TOrvoCustomDBGrid
{
    Q_OBJECT

public:
    using TCloseRequestEvent = std::function<void(bool accept)>;
    using TListNotifyEvent = std::function<void()>;

    explicit TOrvoDBPopupList(QWidget* parent = nullptr, TCloseRequestEvent closeRequest = {});
    ~TOrvoDBPopupList() override;

    /// Reports each change of a list that applies its changes at once.
    TListNotifyEvent OnListChange;
    /// Asked by RequestCloseUp; without it the list only hides.
    TCloseRequestEvent OnListCloseRequest;
    TListNotifyEvent OnListOption;

    /// The data source the list owns; descendants connect their dataset to it.
    TDataSource* ListSource() const { return FListSource; }

    bool ListShown() const { return FListShown; }
    bool Animating() const { return FAnimating; }
    /// A close-and-reopen is running: hiding is skipped and the list opens without sliding.
    bool Redropping() const { return FRedropping; }
    void SetRedropping(bool value) { FRedropping = value; }
    bool FlatButtons() const { return FFlatButtons; }
    void SetFlatButtons(bool value);
    bool ButtonEdges() const { return FButtonEdges; }
    void SetButtonEdges(bool value);
    /// Kept for descendants and stored forms; the window systems Qt serves here draw
    /// their own shadows (or none) for tool windows.
    bool DropShadow() const { return FDropShadow; }
    void SetDropShadow(bool value) { FDropShadow = value; }
    /// Rows to show; 0 = up to MaxListRows, negative = all.
    int DropDownRows() const { return FDropDownRows; }
    void SetDropDownRows(int value) { FDropDownRows = value; }
    /// Width to use; 0 = the columns' width up to MaxListWidth.
    int DropDownWidth() const { return FDropDownWidth; }
    void SetDropDownWidth(int value) { FDropDownWidth = value; }
    bool AutoApply() const { return FAutoApply; }
    void SetAutoApply(bool value) { FAutoApply = value; }
    bool MinParentWidth() const { return FMinParentWidth; }
    void SetMinParentWidth(bool value) { FMinParentWidth = value; }
    bool Animation() const { return FAnimation; }
    void SetAnimation(bool value) { FAnimation = value; }
    /// Opens under the container (true) or beside it (false).
    bool AlignUnder() const { return FAlignUnder; }
    void SetAlignUnder(bool value) { FAlignUnder = value; }
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value) { FAutoSize = value; }
    /// The row highlight shows only while the mouse is over the data rows.
    bool TrackSelection() const { return FTrackSelection; }
    void SetTrackSelection(bool value);
    bool SelectionShown() const { return FSelectionShown; }
    /// The data column lines; clWindow stands for the list's own Color.
    TColor ListColLineColor() const { return FListColLineColor; }
    void SetListColLineColor(TColor value);
    TColor ListRowLineColor() const { return FListRowLineColor; }
    void SetListRowLineColor(TColor value);

    virtual void DoListChange();
    virtual void DoListOption();
    /// Makes `parent` the list's owner while keeping the list its own top-level window.
    virtual void SetListParent(QWidget* parent);
    /// Fits the window to its rows and columns within the program-wide limits.
    virtual void AdjustListSize();
    /// A pick (true) or a leave (false) of the user: asks OnListCloseRequest, else hides.
    virtual void RequestCloseUp(bool accept);
    /// Shows at `screenPoint`, sliding open row by row when Animation is on.
    virtual void ShowListAnimated(const QPoint& screenPoint);
    virtual void HideList();
    /// Shows at `screenPoint` (global) without changing the size or taking the activation.
    virtual void ShowListAt(const QPoint& screenPoint);

protected:
    /// The height of one data row with its line.
    int RowPitch() const;
    /// The fixed title rows with their lines.
    int TitleHeight() const;
    /// The rows under the data rows (totals, footers).
    int FooterHeight() const;
    /// The width of all columns with their lines.
    int ColumnsWidth() const;
    /// The height inside the border.
    int ListClientHeight() const;
    void SetListClientHeight(int value);
    /// The container the list belongs to, if its parent is one.
    TOrvoDBDropDownList* Container() const;

    void MouseMove(TShiftState shift, int x, int y) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void ApplyWindowFlags();
    void ApplyLineColors();
    void ApplyButtonLook();
    void ShowSelection(bool value);
    bool PointInDataRows(const QPoint& point) const;
    int RecordCountForSize() const;
    void SlideStep();
    void StopSlide();

    TDataSource* FListSource = nullptr;
    QMenu* FEmptyMenu = nullptr;
    QTimer* FSlideTimer = nullptr;
    int FSlideTarget = 0;
    bool FSlideUpward = false;
    bool FListShown = false;
    bool FAnimating = false;
    bool FRedropping = false;
    bool FFlatButtons = false;
    bool FButtonEdges = false;
    bool FDropShadow = true;
    int FDropDownRows = 0;
    int FDropDownWidth = 0;
    bool FAutoApply = false;
    bool FMinParentWidth = false;
    bool FAnimation = false;
    bool FAlignUnder = true;
    bool FAutoSize = true;
    bool FTrackSelection = false;
    bool FSelectionShown = true;
    TColor FSavedSelectRowColor = clDefault;
    TColor FListColLineColor = clDefault;
    TColor FListRowLineColor = clDefault;
};

} // namespace orvo
