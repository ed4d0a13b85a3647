#include "lists/calendar/torvodbmonthdata.h"

#include "lists/calendar/tcalendarnavigator.h"
#include "platform/data/tfielddefs.h"

namespace orvo {

TOrvoDBMonthData::TOrvoDBMonthData(QObject* owner)
    : TOrvoDBCustomData(owner), FPage(std::make_unique<TCalendarPage>(cdMonth, TDateTime::Today().ToQDate()))
{
    SetReadOnly(true);
    const auto add = [this](const QString& name, TFieldType type, int size) {
        TFieldDef* def = FieldDefs()->Add(name, type, size);
        def->SetAttributes(def->Attributes() + TFieldAttributes{faReadonly});
    };
    for (int k = 0; k < 7; ++k)
        add(QStringLiteral("Day%1").arg(k), ftInteger, 0);
    add(QStringLiteral("Week"), ftInteger, 0);
    for (int k = 0; k < 4; ++k)
        add(QStringLiteral("Month%1").arg(k), ftString, 20);
    for (int k = 0; k < 4; ++k)
        add(QStringLiteral("Year%1").arg(k), ftInteger, 0);
    for (int k = 0; k < 4; ++k)
        add(QStringLiteral("Century%1").arg(k), ftString, 20);
}

TOrvoDBMonthData::~TOrvoDBMonthData() = default;

TCalendarDepth TOrvoDBMonthData::Depth() const
{
    return FPage->Depth();
}

void TOrvoDBMonthData::SetDepth(TCalendarDepth depth)
{
    if (depth == Depth())
        return;
    CheckInactive();
    *FPage = TCalendarPage(depth, FPage->StartDate());
}

void TOrvoDBMonthData::SetDate(TDateTime date)
{
    *FPage = TCalendarPage(Depth(), TCalendarNavigator::ClampDate(date.ToQDate()));
    if (Active())
        Refresh();
}

TDateTime TOrvoDBMonthData::StartDate() const
{
    return TDateTime::FromQDate(FPage->StartDate());
}

TDateTime TOrvoDBMonthData::FirstCellDate() const
{
    return TDateTime::FromQDate(FPage->FirstCellDate());
}

void TOrvoDBMonthData::DoGetRecordCount(qint64& count)
{
    count = FPage->RecordCount();
}

void TOrvoDBMonthData::InternalGetFieldValue(qint64 index, const TField* field, TVariant& value)
{
    value = FPage->CellValue(int(index), SourceFieldIndex(field, TCalendarPage::kFieldCount));
}

} // namespace orvo
