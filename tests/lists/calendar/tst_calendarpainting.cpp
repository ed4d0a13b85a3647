// What the calendar's cells look like: bold days, grey days and periods, the today
// marker, and how the calendar follows a larger font.
#include "lists/calendar/tcalendarcolumns.h"
#include "lists/calendar/tcalendarpage.h"
#include "lists/calendar/tcalendartodayshape.h"
#include "lists/calendar/torvodbpopupcalendar.h"

#include "grid/columns/torvocolumn.h"
#include "platform/core/tformatsettings.h"

#include <QLabel>
#include <QtTest>

#include <map>

using namespace orvo;

namespace {

/// A calendar that notes the font every data cell is painted with, by grid row and column.
class TRecordingCalendar : public TOrvoDBPopupCalendar
{
public:
    std::map<std::pair<int, int>, TFont> Fonts;

protected:
    void DrawCell(int col, int row, const QRect& rect, TGridDrawState state) override
    {
        FRow = row;
        TOrvoDBPopupCalendar::DrawCell(col, row, rect, state);
    }
    void PaintColumnCell(const QRect& rect, int dataCol, TOrvoColumn* column, bool highlight,
                         TSelections selections, TColor& color, TFont& font, QObject*& image) override
    {
        TOrvoDBPopupCalendar::PaintColumnCell(rect, dataCol, column, highlight, selections, color, font,
                                              image);
        Fonts[{FRow, column->Index()}] = font;
    }

private:
    int FRow = -1;
};

struct TPaintedCalendar
{
    TFormatSettings SavedSettings = TFormatSettings::Default();
    TRecordingCalendar Calendar;

    TPaintedCalendar()
    {
        TFormatSettings::SetDefault(TFormatSettings::Invariant());
        Calendar.Clock = [] { return TDateTime::FromQDate(QDate(2024, 5, 15)); };
    }
    ~TPaintedCalendar() { TFormatSettings::SetDefault(SavedSettings); }

    [[nodiscard]] bool Show(QDate date)
    {
        Calendar.SetDate(TDateTime::FromQDate(date));
        Calendar.AdjustListSize();
        Calendar.ShowListAt(QPoint(50, 50));
        return QTest::qWaitForWindowExposed(&Calendar);
    }
    QImage Paint()
    {
        Calendar.Fonts.clear();
        return Calendar.viewport()->grab().toImage();
    }
    /// The grid cell of `date` on the calendar's page.
    QRect CellRect(QDate date, int* row = nullptr, int* columnIndex = nullptr) const
    {
        int dataRow = 0;
        int field = 0;
        TCalendarPage(Calendar.Depth(), Calendar.CurrentCellDate().ToQDate()).CellOf(date, dataRow, field);
        const int index =
            TCalendarColumns::ColumnOfField(Calendar.Columns(), field, Calendar.ShowWeekNumbers())->Index();
        const int gridRow = Calendar.TitleOffset() + dataRow;
        if (row)
            *row = gridRow;
        if (columnIndex)
            *columnIndex = index;
        return Calendar.CellRect(Calendar.DataToRawColumn(index), gridRow);
    }
    TFont FontOf(QDate date) const
    {
        int row = 0;
        int index = 0;
        CellRect(date, &row, &index);
        return FontAt(row, index);
    }
    /// The font of the cell in data row `dataRow` under the data field `field`.
    TFont FontOfCell(int dataRow, int field) const
    {
        const int index =
            TCalendarColumns::ColumnOfField(Calendar.Columns(), field, Calendar.ShowWeekNumbers())->Index();
        return FontAt(Calendar.TitleOffset() + dataRow, index);
    }
    TFont FontAt(int row, int index) const
    {
        const auto found = Calendar.Fonts.find({row, index});
        return found == Calendar.Fonts.end() ? TFont() : found->second;
    }
};

bool isBold(const TFont& font)
{
    return font.Style().Contains(fsBold);
}

/// Whether any pixel on the top edge of `rect` has the marker's colour.
bool markerOnTopEdge(const QImage& image, const QRect& rect, const QColor& color)
{
    for (int x = rect.left(); x <= rect.right(); ++x) {
        if (image.pixelColor(x, rect.top()) == color)
            return true;
    }
    return false;
}

} // namespace

class TstCalendarPainting : public QObject
{
    Q_OBJECT

private slots:
    void boldAndGreyDaysOfAMonthPage();
    void widePagesGreyOnlyTheirOuterPeriods();
    void todaysCellIsFramedOnlyWithTheCircle();
    void aLargerFontMakesALargerCalendar();
};

void TstCalendarPainting::boldAndGreyDaysOfAMonthPage()
{
    TPaintedCalendar f;
    QVERIFY(f.Show(QDate(2024, 9, 10)));
    f.Calendar.OnCalcBoldDays = [](QObject*, double date, bool& bold) {
        bold = bold || TDateTime(date).ToQDate() == QDate(2024, 9, 10);
    };
    f.Calendar.SetBoldSundays(false);
    f.Calendar.SetBoldSundays(true);
    f.Paint();
    QVERIFY(!f.Calendar.Fonts.empty());
    // Sunday 1 September, a Sunday of August, the handler's Tuesday: bold.
    QVERIFY(isBold(f.FontOf(QDate(2024, 9, 1))));
    QVERIFY(isBold(f.FontOf(QDate(2024, 10, 6))));
    QVERIFY(isBold(f.FontOf(QDate(2024, 9, 10))));
    QVERIFY(!isBold(f.FontOf(QDate(2024, 9, 11))));
    QVERIFY(!isBold(f.FontOf(QDate(2024, 8, 26))));
    // The days of August and October are grey, September's are not.
    QCOMPARE(f.FontOf(QDate(2024, 8, 26)).Color(), clGrayText);
    QCOMPARE(f.FontOf(QDate(2024, 10, 6)).Color(), clGrayText);
    QVERIFY(f.FontOf(QDate(2024, 9, 1)).Color() != clGrayText);
    QVERIFY(f.FontOf(QDate(2024, 9, 30)).Color() != clGrayText);

    f.Calendar.OnCalcBoldDays = nullptr;
    f.Calendar.SetBoldSundays(false);
    f.Paint();
    QVERIFY(!isBold(f.FontOf(QDate(2024, 9, 1))));
    QVERIFY(!isBold(f.FontOf(QDate(2024, 9, 10))));
}

void TstCalendarPainting::widePagesGreyOnlyTheirOuterPeriods()
{
    TPaintedCalendar f;
    QVERIFY(f.Show(QDate(2024, 6, 15)));
    f.Calendar.SetDepth(cdDecade);
    f.Paint();
    // 2019 and 2030, before and after the decade.
    QCOMPARE(f.FontOfCell(0, TCalendarPage::kYearField).Color(), clGrayText);
    QCOMPARE(f.FontOfCell(2, TCalendarPage::kYearField + 3).Color(), clGrayText);
    QVERIFY(f.FontOf(QDate(2020, 1, 1)).Color() != clGrayText);
    QVERIFY(f.FontOf(QDate(2029, 1, 1)).Color() != clGrayText);
    f.Calendar.SetDepth(cdYear);
    f.Paint();
    QVERIFY(f.FontOf(QDate(2024, 1, 1)).Color() != clGrayText);
    QVERIFY(f.FontOf(QDate(2024, 12, 1)).Color() != clGrayText);
    QVERIFY(!isBold(f.FontOf(QDate(2024, 1, 1))));
}

void TstCalendarPainting::todaysCellIsFramedOnlyWithTheCircle()
{
    TPaintedCalendar f;
    QVERIFY(f.Show(QDate(2024, 5, 3)));
    const QColor marker = ToQColor(f.Calendar.TodayShape()->PenColor(), f.Calendar.palette());
    QImage image = f.Paint();
    QVERIFY(markerOnTopEdge(image, f.CellRect(QDate(2024, 5, 15)), marker));
    QVERIFY(!markerOnTopEdge(image, f.CellRect(QDate(2024, 5, 16)), marker));
    f.Calendar.SetDepth(cdYear);
    image = f.Paint();
    QVERIFY(markerOnTopEdge(image, f.CellRect(QDate(2024, 5, 1)), marker));
    QVERIFY(!markerOnTopEdge(image, f.CellRect(QDate(2024, 4, 1)), marker));
    f.Calendar.SetShowTodayCircle(false);
    image = f.Paint();
    QVERIFY(!markerOnTopEdge(image, f.CellRect(QDate(2024, 5, 1)), marker));
    QVERIFY(!f.Calendar.TodayShape()->isVisible());
}

void TstCalendarPainting::aLargerFontMakesALargerCalendar()
{
    QWidget owner;
    TOrvoDBPopupCalendar& calendar = *new TOrvoDBPopupCalendar(&owner);
    calendar.AdjustListSize();
    calendar.ShowListAt(QPoint(50, 50));
    QVERIFY(QTest::qWaitForWindowExposed(&calendar));
    const QSize before = calendar.size();
    QFont larger = owner.font();
    larger.setPixelSize(QFontInfo(larger).pixelSize() * 2);
    owner.setFont(larger);
    QTRY_VERIFY(calendar.width() > before.width());
    QVERIFY(calendar.height() > before.height());
    QCOMPARE(calendar.DataRowCount(), 6);
    const QRect client = calendar.viewport()->rect();
    QVERIFY(client.contains(calendar.TodayLabel()->geometry()));
}
QTEST_MAIN(TstCalendarPainting)
#include "tst_calendarpainting.moc"
