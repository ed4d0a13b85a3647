// The calendar's column model: its four groups, which fields they show, the view and
// week-number switches, the locale's day names and the widths the views share.
#include "lists/calendar/tcalendarcolumns.h"
#include "lists/calendar/tcalendarpage.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvocolumntitle.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "platform/core/tformatsettings.h"

#include <QtTest>

using namespace orvo;

Q_DECLARE_METATYPE(orvo::TCalendarDepth)

namespace {

struct TFormatSettingsGuard
{
    TFormatSettings Saved = TFormatSettings::Default();
    ~TFormatSettingsGuard() { TFormatSettings::SetDefault(Saved); }
};

QList<int> visibleColumns(TOrvoDBGridColumns* columns)
{
    QList<int> shown;
    for (int i = 0; i < columns->Count(); ++i) {
        if (columns->Items(i)->Visible())
            shown << i;
    }
    return shown;
}

QList<int> range(int first, int last)
{
    QList<int> list;
    for (int i = first; i <= last; ++i)
        list << i;
    return list;
}

} // namespace

class TstCalendarColumns : public QObject
{
    Q_OBJECT

private slots:
    void everyFieldHasOneColumnAndBack_data();
    void everyFieldHasOneColumnAndBack();
    void titleColumnsHoldTheirGroupsDataColumns();
    void onlyTheCurrentViewsGroupIsVisible_data();
    void onlyTheCurrentViewsGroupIsVisible();
    void dayTitlesAreTheLocalesShortNamesMondayFirst();
    void otherViewsShareTheMonthViewsWidth_data();
    void otherViewsShareTheMonthViewsWidth();
};

void TstCalendarColumns::everyFieldHasOneColumnAndBack_data()
{
    QTest::addColumn<bool>("weekNumbers");
    QTest::newRow("with week numbers") << true;
    QTest::newRow("without week numbers") << false;
}

void TstCalendarColumns::everyFieldHasOneColumnAndBack()
{
    QFETCH(bool, weekNumbers);
    TOrvoDBGrid grid;
    TCalendarColumns::Build(grid.Columns());
    TCalendarColumns::ShowDepth(grid.Columns(), cdMonth, weekNumbers);
    QCOMPARE(grid.Columns()->Count(), TCalendarColumns::kColumnCount);
    QSet<TOrvoColumn*> seen;
    for (int field = 0; field < TCalendarPage::kFieldCount; ++field) {
        if (field == TCalendarPage::kWeekField && !weekNumbers)
            continue;
        TOrvoColumn* column = TCalendarColumns::ColumnOfField(grid.Columns(), field, weekNumbers);
        QVERIFY2(column, qPrintable(QString::number(field)));
        QCOMPARE(TCalendarColumns::FieldOfColumn(column), field);
        QCOMPARE(TCalendarColumns::TitlePart(column->Index()), TCalendarColumns::tpNone);
        QVERIFY(!seen.contains(column));
        seen << column;
    }
    // The first day column moves into the place of the week numbers.
    QCOMPARE(TCalendarColumns::ColumnOfField(grid.Columns(), TCalendarPage::kDayField, weekNumbers)->Index(),
             weekNumbers ? 3 : 1);
}

void TstCalendarColumns::titleColumnsHoldTheirGroupsDataColumns()
{
    TOrvoDBGrid grid;
    TCalendarColumns::Build(grid.Columns());
    const struct
    {
        int Index;
        TCalendarColumns::TTitlePart Part;
        int SubColumns;
    } titles[] = {
        {0, TCalendarColumns::tpPrevious, 1},  {2, TCalendarColumns::tpCaption, 6},
        {9, TCalendarColumns::tpNext, 1},      {11, TCalendarColumns::tpPrevious, 1},
        {13, TCalendarColumns::tpCaption, 2},  {16, TCalendarColumns::tpNext, 1},
        {18, TCalendarColumns::tpPrevious, 1}, {20, TCalendarColumns::tpCaption, 2},
        {23, TCalendarColumns::tpNext, 1},     {25, TCalendarColumns::tpPrevious, 1},
        {27, TCalendarColumns::tpCaption, 2},  {30, TCalendarColumns::tpNext, 1},
    };
    int titleCount = 0;
    for (int i = 0; i < TCalendarColumns::kColumnCount; ++i)
        titleCount += TCalendarColumns::TitlePart(i) != TCalendarColumns::tpNone;
    QCOMPARE(titleCount, int(std::size(titles)));
    for (const auto& title : titles) {
        TOrvoColumn* column = grid.Columns()->Items(title.Index);
        QCOMPARE(TCalendarColumns::TitlePart(title.Index), title.Part);
        QCOMPARE(column->ExpandCols(), title.SubColumns);
        QCOMPARE(column->ExpandStyle(), cesNone);
        QCOMPARE(TCalendarColumns::FieldOfColumn(column), -1);
        const int image = title.Part == TCalendarColumns::tpPrevious ? TCalendarColumns::kPreviousImage
                          : title.Part == TCalendarColumns::tpNext   ? TCalendarColumns::kNextImage
                                                                     : -1;
        QCOMPARE(column->Title()->ImageIndex(), image);
    }
    QCOMPARE(TCalendarColumns::DepthOfColumn(10), cdMonth);
    QCOMPARE(TCalendarColumns::DepthOfColumn(11), cdYear);
    QCOMPARE(TCalendarColumns::DepthOfColumn(24), cdDecade);
    QCOMPARE(TCalendarColumns::DepthOfColumn(25), cdCentury);
}

void TstCalendarColumns::onlyTheCurrentViewsGroupIsVisible_data()
{
    QTest::addColumn<TCalendarDepth>("depth");
    QTest::addColumn<bool>("weekNumbers");
    QTest::addColumn<QList<int>>("visible");
    QTest::newRow("month with week numbers") << cdMonth << true << range(0, 10);
    QTest::newRow("month without week numbers") << cdMonth << false << (range(0, 2) + range(4, 10));
    QTest::newRow("year") << cdYear << true << range(11, 17);
    QTest::newRow("decade") << cdDecade << false << range(18, 24);
    QTest::newRow("century") << cdCentury << true << range(25, 31);
}

void TstCalendarColumns::onlyTheCurrentViewsGroupIsVisible()
{
    QFETCH(TCalendarDepth, depth);
    QFETCH(bool, weekNumbers);
    QFETCH(QList<int>, visible);
    TOrvoDBGrid grid;
    TCalendarColumns::Build(grid.Columns());
    TCalendarColumns::ShowDepth(grid.Columns(), depth, weekNumbers);
    QCOMPARE(visibleColumns(grid.Columns()), visible);
    TCalendarColumns::SetCaption(grid.Columns(), depth, QStringLiteral("2020-2029"));
    QCOMPARE(grid.Columns()->Items(TCalendarColumns::GroupStart(depth) + 2)->Title()->Caption(),
             QStringLiteral("2020-2029"));
}

void TstCalendarColumns::dayTitlesAreTheLocalesShortNamesMondayFirst()
{
    TFormatSettingsGuard guard;
    TFormatSettings german = TFormatSettings::Invariant();
    german.ShortDayNames = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
    TFormatSettings::SetDefault(german);
    TOrvoDBGrid grid;
    TCalendarColumns::Build(grid.Columns());
    TCalendarColumns::ShowDepth(grid.Columns(), cdMonth, false);
    QStringList titles;
    for (int i : {1, 4, 5, 6, 7, 8, 10})
        titles << grid.Columns()->Items(i)->Title()->Caption();
    QCOMPARE(titles, QStringList({"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"}));
    TCalendarColumns::ShowDepth(grid.Columns(), cdMonth, true);
    QCOMPARE(grid.Columns()->Items(1)->Title()->Caption(), QStringLiteral(" "));
    QCOMPARE(grid.Columns()->Items(3)->Title()->Caption(), QStringLiteral("Mo"));

    german.ShortDayNames = {"Son", "Mon", "Die", "Mit", "Don", "Fre", "Sam"};
    TFormatSettings::SetDefault(german);
    TCalendarColumns::SetDayTitles(grid.Columns());
    QCOMPARE(grid.Columns()->Items(10)->Title()->Caption(), QStringLiteral("Son"));
}

void TstCalendarColumns::otherViewsShareTheMonthViewsWidth_data()
{
    QTest::addColumn<bool>("weekNumbers");
    QTest::addColumn<int>("lineWidth");
    QTest::addColumn<QList<int>>("wideWidths");
    // Eight columns of 22 + 1: 184 = 4 × 46.
    QTest::newRow("week numbers, line 1") << true << 1 << QList<int>{45, 45, 45, 45};
    // Seven columns of 22 + 1: 161 = 4 × 40 + 1, the one left over going to the second column.
    QTest::newRow("no week numbers, line 1") << false << 1 << QList<int>{39, 40, 39, 39};
    // Seven columns of 22 + 2: 168 = 4 × 42.
    QTest::newRow("no week numbers, line 2") << false << 2 << QList<int>{40, 40, 40, 40};
    // Seven columns of 22: 154 = 4 × 38 + 2.
    QTest::newRow("no week numbers, no lines") << false << 0 << QList<int>{38, 39, 39, 38};
}

void TstCalendarColumns::otherViewsShareTheMonthViewsWidth()
{
    QFETCH(bool, weekNumbers);
    QFETCH(int, lineWidth);
    QFETCH(QList<int>, wideWidths);
    TFormatSettingsGuard guard;
    TFormatSettings::SetDefault(TFormatSettings::Invariant());
    TOrvoDBGrid grid;
    QFont small = grid.font();
    small.setPixelSize(8);
    grid.setFont(small);
    TCalendarColumns::Build(grid.Columns());
    TCalendarColumns::ShowDepth(grid.Columns(), cdMonth, weekNumbers);
    for (int i = 0; i < TCalendarColumns::kColumnCount; ++i) {
        TOrvoColumnTitle* title = grid.Columns()->Items(i)->Title();
        TFont font = title->Font();
        font.SetQFont(small);
        title->SetFont(font);
    }
    TCalendarColumns::ShareWidths(grid.Columns(), weekNumbers, lineWidth);
    QCOMPARE(grid.Columns()->Items(10)->WidthBase(), TCalendarColumns::kMonthBaseWidth);
    for (TCalendarDepth depth : {cdYear, cdDecade, cdCentury}) {
        QList<int> widths;
        for (int offset : {1, 3, 4, 6})
            widths << grid.Columns()->Items(TCalendarColumns::GroupStart(depth) + offset)->WidthBase();
        QCOMPARE(widths, wideWidths);
    }

    // Titles wider than the base width widen every month column alike.
    TFormatSettings wide = TFormatSettings::Invariant();
    wide.ShortDayNames.fill(QStringLiteral("WWWWWWWWWW"));
    TFormatSettings::SetDefault(wide);
    TCalendarColumns::SetDayTitles(grid.Columns());
    TCalendarColumns::ShareWidths(grid.Columns(), weekNumbers, lineWidth);
    const int wideTitle = QFontMetrics(small).horizontalAdvance(QStringLiteral("WWWWWWWWWW")) + 4;
    QVERIFY(wideTitle > TCalendarColumns::kMonthBaseWidth);
    QCOMPARE(grid.Columns()->Items(1)->WidthBase(), wideTitle);
    QCOMPARE(grid.Columns()->Items(10)->WidthBase(), wideTitle);
    const int sum = (weekNumbers ? 8 : 7) * (wideTitle + lineWidth);
    QCOMPARE(grid.Columns()->Items(TCalendarColumns::GroupStart(cdYear) + 1)->WidthBase(),
             sum / 4 - lineWidth);
}

QTEST_MAIN(TstCalendarColumns)
#include "tst_calendarcolumns.moc"
