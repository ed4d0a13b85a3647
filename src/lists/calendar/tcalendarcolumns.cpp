#include "lists/calendar/tcalendarcolumns.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvocolumntitle.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "lists/calendar/tcalendarpage.h"
#include "platform/core/tformatsettings.h"

#include <QFontMetrics>

#include <algorithm>
#include <array>

namespace orvo {

namespace {

constexpr int kGroupSize = 7;
constexpr int kMonthGroupSize = 11;
// Where a wide view's four data columns stand in its group: 1 | 2 | 1 under the
// previous button, the caption and the next button.
constexpr std::array<int, 4> kWideDataOffsets = {1, 3, 4, 6};
// The month group: Week (or Day0), Day0..Day5 under the caption, Day6.
constexpr int kFirstMonthColumn = 1;
constexpr int kHiddenDayColumn = 3;
constexpr int kLastDayColumn = 10;

const char* const kFieldPrefixes[] = {"Day", "Week", "Month", "Year", "Century"};

QString fieldName(int field)
{
    if (field == TCalendarPage::kWeekField)
        return QStringLiteral("Week");
    if (field < TCalendarPage::kWeekField)
        return QStringLiteral("Day%1").arg(field);
    if (field < TCalendarPage::kYearField)
        return QStringLiteral("Month%1").arg(field - TCalendarPage::kMonthField);
    if (field < TCalendarPage::kCenturyField)
        return QStringLiteral("Year%1").arg(field - TCalendarPage::kYearField);
    return QStringLiteral("Century%1").arg(field - TCalendarPage::kCenturyField);
}

/// The month group's data columns: 1, 3..8 and 10.
bool isMonthDataColumn(int index)
{
    return index == kFirstMonthColumn || (index >= kHiddenDayColumn && index < kLastDayColumn - 1) ||
           index == kLastDayColumn;
}

int subColumnCount(TCalendarColumns::TTitlePart part, TCalendarDepth depth)
{
    if (part == TCalendarColumns::tpCaption)
        return depth == cdMonth ? 6 : 2;
    return part == TCalendarColumns::tpNone ? 0 : 1;
}

QString dayTitle(const QString& field)
{
    if (!field.startsWith(QLatin1String("Day")))
        return QStringLiteral(" ");
    // Day0 is Monday; the names are kept Sunday first.
    const int day = field.mid(3).toInt();
    return TFormatSettings::Default().ShortDayNames.at(std::size_t((day + 1) % 7));
}

void setMonthField(TOrvoColumn* column, const QString& field)
{
    column->SetFieldName(field);
    column->Title()->SetCaption(dayTitle(field));
}

} // namespace

int TCalendarColumns::GroupStart(TCalendarDepth depth)
{
    return depth == cdMonth ? 0 : kMonthGroupSize + kGroupSize * (depth - cdYear);
}

TCalendarDepth TCalendarColumns::DepthOfColumn(int columnIndex)
{
    if (columnIndex < kMonthGroupSize)
        return cdMonth;
    return TCalendarDepth(cdYear + (columnIndex - kMonthGroupSize) / kGroupSize);
}

TCalendarColumns::TTitlePart TCalendarColumns::TitlePart(int columnIndex)
{
    const TCalendarDepth depth = DepthOfColumn(columnIndex);
    const int offset = columnIndex - GroupStart(depth);
    const int lastOffset = (depth == cdMonth ? kMonthGroupSize : kGroupSize) - 2;
    if (offset == 0)
        return tpPrevious;
    if (offset == 2)
        return tpCaption;
    return offset == lastOffset ? tpNext : tpNone;
}

void TCalendarColumns::Build(TOrvoDBGridColumns* columns)
{
    columns->BeginUpdate();
    columns->Clear();
    for (int i = 0; i < kColumnCount; ++i) {
        TOrvoColumn* column = columns->Add();
        const TCalendarDepth depth = DepthOfColumn(i);
        const TTitlePart part = TitlePart(i);
        column->Title()->SetAlignment(taCenter);
        column->SetAlignment(taCenter);
        column->SetVisible(depth == cdMonth);
        if (part != tpNone) {
            column->SetExpandCols(subColumnCount(part, depth));
            // The calendar turns pages on a title click: no folding arrow.
            column->SetExpandStyle(cesNone);
            column->SetExpanded(true);
            column->Title()->SetCaption(QString());
            if (part != tpCaption)
                column->Title()->SetImageIndex(part == tpPrevious ? kPreviousImage : kNextImage);
            continue;
        }
        column->SetWidth(depth == cdMonth ? kMonthBaseWidth : kOtherBaseWidth);
        if (depth == cdMonth) {
            const int day = i == kFirstMonthColumn ? 0 : i == kLastDayColumn ? 6 : i - kHiddenDayColumn;
            setMonthField(column, fieldName(TCalendarPage::kDayField + day));
        } else {
            const int offset = i - GroupStart(depth);
            const auto k = int(std::find(kWideDataOffsets.begin(), kWideDataOffsets.end(), offset) -
                               kWideDataOffsets.begin());
            column->SetFieldName(fieldName(TCalendarPage::FirstDataField(depth) + k));
            column->Title()->SetCaption(QString());
        }
    }
    columns->EndUpdate();
}

void TCalendarColumns::ShowDepth(TOrvoDBGridColumns* columns, TCalendarDepth depth, bool weekNumbers)
{
    columns->BeginUpdate();
    setMonthField(columns->Items(kFirstMonthColumn),
                  weekNumbers ? QStringLiteral("Week") : QStringLiteral("Day0"));
    for (int i = 0; i < kColumnCount; ++i) {
        const bool hiddenDay = i == kHiddenDayColumn && !weekNumbers;
        columns->Items(i)->SetVisible(DepthOfColumn(i) == depth && !hiddenDay);
    }
    columns->EndUpdate();
}

void TCalendarColumns::SetCaption(TOrvoDBGridColumns* columns, TCalendarDepth depth, const QString& caption)
{
    columns->Items(GroupStart(depth) + 2)->Title()->SetCaption(caption);
}

void TCalendarColumns::SetDayTitles(TOrvoDBGridColumns* columns)
{
    for (int i = 0; i < kMonthGroupSize; ++i) {
        if (isMonthDataColumn(i))
            columns->Items(i)->Title()->SetCaption(dayTitle(columns->Items(i)->FieldName()));
    }
}

TOrvoColumn* TCalendarColumns::ColumnOfField(TOrvoDBGridColumns* columns, int field, bool weekNumbers)
{
    if (field == TCalendarPage::kWeekField || (field == TCalendarPage::kDayField && !weekNumbers))
        return columns->Items(kFirstMonthColumn);
    if (field < TCalendarPage::kWeekField)
        return columns->Items(field == 6 ? kLastDayColumn : kHiddenDayColumn + field);
    const TCalendarDepth depth = field < TCalendarPage::kYearField      ? cdYear
                                 : field < TCalendarPage::kCenturyField ? cdDecade
                                                                        : cdCentury;
    const int k = field - TCalendarPage::FirstDataField(depth);
    return columns->Items(GroupStart(depth) + kWideDataOffsets.at(std::size_t(k)));
}

int TCalendarColumns::FieldOfColumn(const TOrvoColumn* column)
{
    const QString name = column->FieldName();
    if (name == QLatin1String("Week"))
        return TCalendarPage::kWeekField;
    const int firstFields[] = {TCalendarPage::kDayField, TCalendarPage::kWeekField,
                               TCalendarPage::kMonthField, TCalendarPage::kYearField,
                               TCalendarPage::kCenturyField};
    for (std::size_t i = 0; i < std::size(kFieldPrefixes); ++i) {
        const QLatin1String prefix(kFieldPrefixes[i]);
        if (name.startsWith(prefix) && name.size() == prefix.size() + 1)
            return firstFields[i] + name.back().digitValue();
    }
    return -1;
}

void TCalendarColumns::ShareWidths(TOrvoDBGridColumns* columns, bool weekNumbers, int gridLineWidth)
{
    int widest = 0;
    for (int i = 0; i < kMonthGroupSize; ++i) {
        if (!isMonthDataColumn(i))
            continue;
        const TOrvoColumnTitle* title = columns->Items(i)->Title();
        widest = std::max(widest, QFontMetrics(title->Font().ToQFont()).horizontalAdvance(title->Caption()));
    }
    const int monthWidth = std::max(kMonthBaseWidth, widest + 4);
    int sum = 0;
    for (int i = 0; i < kMonthGroupSize; ++i) {
        if (!isMonthDataColumn(i))
            continue;
        columns->Items(i)->SetWidth(monthWidth);
        if (i != kHiddenDayColumn || weekNumbers)
            sum += monthWidth + gridLineWidth;
    }
    for (TCalendarDepth depth : {cdYear, cdDecade, cdCentury}) {
        for (int k = 0; k < 4; ++k) {
            const int extra = k >= 1 && k <= sum % 4 ? 1 : 0;
            columns->Items(GroupStart(depth) + kWideDataOffsets.at(std::size_t(k)))
                ->SetWidth(sum / 4 - gridLineWidth + extra);
        }
    }
}

} // namespace orvo
