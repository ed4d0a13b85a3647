#include "lists/calendar/torvodbpopupcalendar.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/orvolistsettings.h"
#include "grid/painting/torvogridstyle.h"
#include "lists/calendar/tcalendarcolumns.h"
#include "lists/calendar/tcalendarnavigator.h"
#include "lists/calendar/tcalendartodayshape.h"
#include "lists/calendar/torvodbmonthdata.h"
#include "platform/core/datetimeformat.h"
#include "platform/core/datetimeparse.h"
#include "platform/data/tdatasource.h"
#include "platform/graphics/tcanvas.h"

#include <QApplication>
#include <QLabel>

namespace orvo {

namespace {
constexpr int kMonthRowSpace = 4;
constexpr int kPageRows = 6;
} // namespace

TOrvoDBPopupCalendar::TOrvoDBPopupCalendar(QWidget* parent, TCloseRequestEvent closeRequest)
    : TOrvoDBPopupList(parent, std::move(closeRequest)), FNavigator(std::make_unique<TCalendarNavigator>())
{
    FMonthData = new TOrvoDBMonthData(this);
    ListSource()->SetDataSet(FMonthData);
    FMonthData->Open();
    SetUpCalendar();
}

TOrvoDBPopupCalendar::~TOrvoDBPopupCalendar() = default;

void TOrvoDBPopupCalendar::SetUpCalendar()
{
    // The list is a window of its own: without this it would not follow its owner's font.
    setAttribute(Qt::WA_WindowPropagation);
    SetParentFont(false);
    resize(185, 172);
    FTodayShape = new TCalendarTodayShape(viewport());
    FTodayShape->move(49, 155);
    FTodayLabel = new QLabel(viewport());
    FTodayLabel->setGeometry(69, 154, 65, 17);
    FTodayShape->installEventFilter(this);
    FTodayLabel->installEventFilter(this);

    SetListColLineColor(clWindow);
    SetListRowLineColor(clWindow);
    GridStyle()->SetTitleRowSpace(GridStyle()->DataRowSpace() + 1);
    GridStyle()->SetTotalRowSpace(GridStyle()->DataRowSpace() + 1);
    SetOptions(Options() -
               TOrvoDBGridOptions{dgEditing, dgIndicator, dgMarkerAutoToggle, dgColumnResize, dgRowResize,
                                  dgForceSequence, dgThumbTracking, dgRowSelect} +
               dgAlwaysShowSelection);
    SetOptionsEx(OptionsEx() -
                 TOrvoDBGridOptionsEx{dgTotalFooterBox, dgAutoUpdateTotals, dgDelayUpdateTotals,
                                      dgCalcSelectedRows, dgDelaySelectedRows, dgAutoUpdateSequence,
                                      dgDelayUpdateSequence} +
                 dgTotalFooter);
    SetOptionsExt(OptionsExt() - TOrvoDBGridOptionsExt{dgAutoUpdateListItems, dgDelayUpdateListItems});
    SetSelectRowColor(clNone);
    SetScrollBars(ssNone);
    SetStretchMode(false);
    TCalendarColumns::Build(Columns());
    ApplyDepth();
    ApplyShowToday();
    SetDate(Today());
    SetParentFont(true);
    SetTitleImages(IndicatorList());
}

TDateTime TOrvoDBPopupCalendar::Today() const
{
    return Clock ? Clock() : TDateTime::Today();
}

// --- Options ------------------------------------------------------------------------------

void TOrvoDBPopupCalendar::SetBoldSundays(bool value)
{
    if (value == FBoldSundays)
        return;
    FBoldSundays = value;
    ComputeBoldDays();
    viewport()->update();
}

void TOrvoDBPopupCalendar::SetShowToday(bool value)
{
    if (value == FShowToday)
        return;
    FShowToday = value;
    ApplyShowToday();
}

void TOrvoDBPopupCalendar::SetShowTodayCircle(bool value)
{
    if (value == FShowTodayCircle)
        return;
    FShowTodayCircle = value;
    ApplyShowToday();
    viewport()->update();
}

void TOrvoDBPopupCalendar::ApplyShowToday()
{
    FTodayLabel->setVisible(FShowToday);
    FTodayShape->setVisible(FShowToday && FShowTodayCircle);
    const TOrvoDBGridOptionsEx footer{dgBlankRow, dgTotalFooter};
    SetOptionsEx(FShowToday ? OptionsEx() + footer : OptionsEx() - footer);
    AdjustListSize();
}

void TOrvoDBPopupCalendar::SetShowWeekNumbers(bool value)
{
    if (value == FShowWeekNumbers)
        return;
    ReadCurrentCell();
    FShowWeekNumbers = value;
    ApplyDepth();
    AdjustListSize();
    ShowNavigator();
}

TCalendarDepth TOrvoDBPopupCalendar::MaxDepth() const
{
    return FNavigator->MaxDepth();
}

void TOrvoDBPopupCalendar::SetMaxDepth(TCalendarDepth value)
{
    FNavigator->SetMaxDepth(value);
}

// --- Dates and views ------------------------------------------------------------------------

TCalendarDepth TOrvoDBPopupCalendar::Depth() const
{
    return FNavigator->Depth();
}

TDateTime TOrvoDBPopupCalendar::DateTime() const
{
    return FNavigator->DateTime();
}

void TOrvoDBPopupCalendar::SetDate(TDateTime value)
{
    FNavigator->SetDateTime(value);
    FBoldDays = ~quint64(0);
    ShowNavigator();
    // Each drop-down sets the date: the label follows the day the list opens on.
    FTodayLabel->setText(TodayText());
    PlaceTodayControls();
}

void TOrvoDBPopupCalendar::SetDateText(const QString& text)
{
    if (text.trimmed().isEmpty()) {
        SetDate(Today());
        return;
    }
    TDateTime value;
    if (TryStrToDateTime(text, value)) {
        SetDate(value);
        return;
    }
    QApplication::beep();
    SetDate(Today());
}

void TOrvoDBPopupCalendar::GoToDate(TDateTime date)
{
    FNavigator->GoToDate(date.ToQDate());
    ShowNavigator();
}

TDateTime TOrvoDBPopupCalendar::CurrentCellDate() const
{
    ReadCurrentCell();
    return TDateTime::FromQDate(FNavigator->CurrentCellDate());
}

TDateTime TOrvoDBPopupCalendar::SelectedDateTime() const
{
    ReadCurrentCell();
    return FNavigator->SelectedDateTime();
}

void TOrvoDBPopupCalendar::SetDepth(TCalendarDepth depth)
{
    ReadCurrentCell();
    if (!FNavigator->SetDepth(depth))
        return;
    FMonthData->Close();
    FMonthData->SetDepth(depth);
    FMonthData->SetDate(TDateTime::FromQDate(FNavigator->Page().StartDate()));
    FBoldDays = ~quint64(0);
    ApplyDepth();
    FMonthData->Open();
    ShowNavigator();
}

void TOrvoDBPopupCalendar::ApplyDepth()
{
    BeginUpdate();
    const TCalendarDepth depth = Depth();
    TCalendarColumns::ShowDepth(Columns(), depth, FShowWeekNumbers);
    SetFixedCols(depth == cdMonth && FShowWeekNumbers ? 2 : 0);
    TOrvoGridStyle* style = GridStyle();
    if (depth == cdMonth)
        style->SetDataRowSpace(kMonthRowSpace);
    else if (style->DataRowSpace() == kMonthRowSpace)
        style->SetDataRowSpace(RowPitch() + kMonthRowSpace); // three rows, each twice as tall
    EndUpdate();
    FTodayLabel->setText(TodayText());
    PlaceTodayControls();
}

QString TOrvoDBPopupCalendar::TodayText() const
{
    const QStringList& captions = TOrvoListSettings::ListCaptions();
    const QString today = captions.isEmpty() ? QString() : captions.first();
    QString date;
    switch (Depth()) {
    case cdMonth:
        date = DateToStr(Today());
        break;
    case cdYear:
        date = FormatDateTime(QStringLiteral("mmmm yyyy"), Today());
        break;
    case cdDecade:
    case cdCentury:
        date = FormatDateTime(QStringLiteral("yyyy"), Today());
        break;
    }
    return today + QStringLiteral(": ") + date;
}

void TOrvoDBPopupCalendar::ReadCurrentCell() const
{
    const TOrvoColumn* column = SelectedColumn();
    FNavigator->SetCurrentCell(FMonthData->RecNo() - 1,
                               column ? TCalendarColumns::FieldOfColumn(column) : -1);
}

void TOrvoDBPopupCalendar::ShowNavigator()
{
    // The shown columns and rows must be those of the current view before a cell is chosen.
    BeginLayout();
    EndLayout();
    const TCalendarPage& page = FNavigator->Page();
    const bool pageChanged = !(FMonthData->Page() == page);
    if (pageChanged)
        FMonthData->SetDate(TDateTime::FromQDate(page.StartDate()));
    TCalendarColumns::SetCaption(Columns(), Depth(), page.Caption());
    if (Depth() == cdMonth && (pageChanged || FBoldDays == ~quint64(0)))
        ComputeBoldDays();
    FMonthData->SetRecNo(FNavigator->Row() + 1);
    TOrvoColumn* column = TCalendarColumns::ColumnOfField(Columns(), FNavigator->Field(), FShowWeekNumbers);
    SetCol(DataToRawColumn(column->Index()));
    viewport()->update();
}

void TOrvoDBPopupCalendar::ComputeBoldDays()
{
    if (Depth() != cdMonth) {
        FBoldDays = ~quint64(0);
        return;
    }
    TCalendarPage::TBoldDayQuery query;
    if (OnCalcBoldDays) {
        query = [this](QDate day, bool& bold) {
            OnCalcBoldDays(this, TDateTime::FromQDate(day).Value(), bold);
        };
    }
    FBoldDays = FNavigator->Page().BoldDays(FBoldSundays, query);
}

// --- Size and footer --------------------------------------------------------------------------

void TOrvoDBPopupCalendar::AdjustListSize()
{
    TCalendarColumns::ShareWidths(Columns(), FShowWeekNumbers, GridLineWidth());
    BeginLayout();
    EndLayout();
    // The lines between the last column or row and the border are not drawn, unless
    // themed fixed cells paint their own edges there.
    const int lastLine = ThemedFixedCells() ? 0 : 1;
    const int border = 2 * frameWidth();
    const int clientWidth = ColumnsWidth() - lastLine;
    const int clientHeight = TitleHeight() + kPageRows * RowPitch() + TodayFooterHeight() - lastLine;
    resize(clientWidth + border, clientHeight + border);
    PlaceTodayControls();
}

int TOrvoDBPopupCalendar::TodayFooterHeight() const
{
    // The blank row only fills what the rows leave over; the footer rows hold the label.
    int height = 0;
    for (int i = 0; i < BottomRowCount(); ++i) {
        if (BottomRowKind(i) != brBlank)
            height += std::max(RowHeights(FirstBottomRow() + i), 0) + HorzLineWidth();
    }
    return height;
}

void TOrvoDBPopupCalendar::PlaceTodayControls()
{
    FTodayLabel->adjustSize();
    const int footer = TodayFooterHeight();
    const int footerTop = height() - 2 * frameWidth() - footer;
    const int clientWidth = width() - 2 * frameWidth();
    const int margin = (footer - FTodayShape->height()) / 2;
    const int shapeLeft = (clientWidth - margin - FTodayShape->width() - FTodayLabel->width() - 1) / 2;
    FTodayShape->move(shapeLeft, footerTop + margin);
    FTodayLabel->move(shapeLeft + FTodayShape->width() + margin + 1,
                      footerTop + (footer - FTodayLabel->height()) / 2);
}

// --- Painting ---------------------------------------------------------------------------------

bool TOrvoDBPopupCalendar::CellOfGrid(int col, int row, int& dataRow, int& field) const
{
    const TOrvoColumn* column = ColumnOfGridCol(col);
    field = column ? TCalendarColumns::FieldOfColumn(column) : -1;
    dataRow = RecordOfRow(row);
    return field >= 0 && dataRow >= 0 && dataRow < FNavigator->Page().RecordCount() &&
           FNavigator->Page().IsDataField(field);
}

void TOrvoDBPopupCalendar::PaintColumnCell(const QRect& rect, int dataCol, TOrvoColumn* column,
                                           bool highlight, TSelections selections, TColor& color, TFont& font,
                                           QObject*& image)
{
    TOrvoDBPopupList::PaintColumnCell(rect, dataCol, column, highlight, selections, color, font, image);
    int dataRow = 0;
    int field = 0;
    if (!CellOfGrid(DataToRawColumn(dataCol), FPaintRow, dataRow, field))
        return;
    const TCalendarPage& page = FNavigator->Page();
    const int cell =
        TCalendarPage::RowCells(page.Depth()) * dataRow + field - TCalendarPage::FirstDataField(page.Depth());
    if (page.Depth() == cdMonth && FBoldDays != ~quint64(0) && (FBoldDays >> cell & 1))
        font.SetStyle(font.Style() + fsBold);
    if (page.IsOutsidePeriod(dataRow, field))
        font.SetColor(clGrayText);
}

void TOrvoDBPopupCalendar::DrawCell(int col, int row, const QRect& rect, TGridDrawState state)
{
    FPaintRow = row;
    TOrvoDBPopupList::DrawCell(col, row, rect, state);
    FPaintRow = -1;
    int dataRow = 0;
    int field = 0;
    if (FShowTodayCircle && CellOfGrid(col, row, dataRow, field) &&
        FNavigator->Page().HoldsDay(dataRow, field, Today().ToQDate()))
        DrawTodayMarker(rect);
}

void TOrvoDBPopupCalendar::DrawTodayMarker(const QRect& rect)
{
    TCanvas& canvas = Canvas();
    const TPen savedPen = canvas.Pen();
    const TBrush savedBrush = canvas.Brush();
    QRect frame = rect;
    // Where no line is drawn, the cell's room reaches to the next cell.
    if (DataColLineColor() == clNone)
        frame.setRight(frame.right() + 1);
    if (DataRowLineColor() == clNone)
        frame.setBottom(frame.bottom() + 1);
    canvas.Brush().SetStyle(bsClear);
    canvas.Pen().SetColor(FTodayShape->PenColor());
    canvas.RoundRect(frame, 3, 3);
    canvas.Pen().SetColor(Color());
    canvas.RoundRect(frame.adjusted(1, 1, -1, -1), 3, 3);
    canvas.Pen() = savedPen;
    canvas.Brush() = savedBrush;
}

} // namespace orvo
