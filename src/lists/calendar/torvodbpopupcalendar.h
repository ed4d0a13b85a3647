#pragma once

#include "grid/columns/columnenums.h"
#include "lists/popup/torvodbpopuplist.h"
#include "platform/core/tdatetime.h"

#include <functional>
#include <memory>

class QLabel;

namespace orvo {

class TCalendarNavigator;
class TCalendarTodayShape;
class TOrvoDBMonthData;

/// The drop-down calendar: a popup list that shows one page of TOrvoDBMonthData in one
/// of four views (days of a month, months of a year, years of a decade, decades of a
/// century) with previous/next buttons and a caption in its title row and a "Today"
/// footer.
///
/// - The date arithmetic lives in TCalendarNavigator; this class keeps the grid's
///   current cell, the page and the navigator in step and turns clicks, keys and the
///   wheel into its moves. Keys it does not navigate by are swallowed.
/// - A click on a day accepts; a click on a month, year or decade opens its narrower
///   view; the caption opens the next wider view, never past MaxDepth.
/// - The value edited (DateTime) only lends its time of day, and its day and month
///   where the view is too coarse to choose them, so picking another day keeps the time.
/// - OnCalcBoldDays (the grid's event, which the containers pass on while the list is
///   open) may make any day of a month page bold; BoldSundays makes Sundays bold.
/// - Today comes from Clock, which tests may replace.
class TOrvoDBPopupCalendar : public TOrvoDBPopupList
{
    Q_OBJECT

public:
    using TClock = std::function<TDateTime()>;

    explicit TOrvoDBPopupCalendar(QWidget* parent = nullptr, TCloseRequestEvent closeRequest = {});
    ~TOrvoDBPopupCalendar() override;

    /// Today's date; the system's clock unless replaced.
    TClock Clock;
    TDateTime Today() const;

    bool BoldSundays() const { return FBoldSundays; }
    void SetBoldSundays(bool value);
    bool ShowToday() const { return FShowToday; }
    void SetShowToday(bool value);
    bool ShowTodayCircle() const { return FShowTodayCircle; }
    void SetShowTodayCircle(bool value);
    bool ShowWeekNumbers() const { return FShowWeekNumbers; }
    void SetShowWeekNumbers(bool value);
    bool AutoTodayClose() const { return FAutoTodayClose; }
    void SetAutoTodayClose(bool value) { FAutoTodayClose = value; }
    TCalendarDepth MaxDepth() const;
    void SetMaxDepth(TCalendarDepth value);

    TCalendarDepth Depth() const;
    /// Opens another view keeping the selected date; nothing past MaxDepth.
    void SetDepth(TCalendarDepth depth);
    /// The value being edited; its date is shown.
    TDateTime DateTime() const;
    void SetDate(TDateTime value);
    /// Reads a date-time; an empty text shows today, a text that is no date shows today
    /// with a beep.
    void SetDateText(const QString& text);
    /// Shows the page of `date` (clamped to 1000-01-01 ... 8999-12-31) with its cell current.
    void GoToDate(TDateTime date);
    TDateTime CurrentCellDate() const;
    /// DateTime with its date replaced by the current cell's.
    TDateTime SelectedDateTime() const;
    /// Bit i set when cell i (0...41) of the month page is bold.
    quint64 BoldDays() const { return FBoldDays; }

    TOrvoDBMonthData* MonthData() const { return FMonthData; }
    QLabel* TodayLabel() const { return FTodayLabel; }
    TCalendarTodayShape* TodayShape() const { return FTodayShape; }

    /// Sized by its own rules: the month columns, six rows, the footer.
    void AdjustListSize() override;

protected:
    /// Shows the columns, row heights, caption and today label of the current view.
    virtual void ApplyDepth();
    /// The steps one wheel notch moves by.
    virtual int WheelStep(TShiftState shift);
    /// The today label or shape was clicked.
    virtual void TodayClick(Qt::MouseButton button);

    void PaintColumnCell(const QRect& rect, int dataCol, TOrvoColumn* column, bool highlight,
                         TSelections selections, TColor& color, TFont& font, QObject*& image) override;
    void DrawCell(int col, int row, const QRect& rect, TGridDrawState state) override;
    void CellClick(TOrvoColumn* column) override;
    void TitleClick(TOrvoColumn* column) override;
    void KeyDown(int& key, TShiftState shift) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    bool DoMouseWheel(TShiftState shift, int delta, const QPoint& pos) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetUpCalendar();
    void ApplyShowToday();
    /// Takes the grid's current cell into the navigator (which only mirrors the grid).
    void ReadCurrentCell() const;
    /// Shows the navigator's page and makes its cell the grid's current one.
    void ShowNavigator();
    void ComputeBoldDays();
    int TodayFooterHeight() const;
    void PlaceTodayControls();
    QString TodayText() const;
    /// The month data row and field of a painted grid cell; false for other cells.
    bool CellOfGrid(int col, int row, int& dataRow, int& field) const;
    void DrawTodayMarker(const QRect& rect);
    void ScaleToFont();

    std::unique_ptr<TCalendarNavigator> FNavigator;
    TOrvoDBMonthData* FMonthData = nullptr;
    QLabel* FTodayLabel = nullptr;
    TCalendarTodayShape* FTodayShape = nullptr;
    quint64 FBoldDays = ~quint64(0);
    int FPaintRow = -1;
    int FFontHeight = 0;
    bool FBoldSundays = true;
    bool FShowToday = true;
    bool FShowTodayCircle = true;
    bool FShowWeekNumbers = false;
    bool FAutoTodayClose = false;
};

} // namespace orvo
