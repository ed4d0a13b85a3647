#include "lists/popup/torvodbgridlistclasses.h"

#include "grid/columns/torvocolumn.h"
#include "lists/calculator/torvodbgridcalculator.h"
#include "lists/calendar/torvodbgridcalendar.h"
#include "lists/filter/torvodbgridfilterlist.h"
#include "platform/data/tfield.h"

#include <map>

namespace orvo {

namespace {

using TFactories = std::map<TOrvoDBGridListClasses::TGridListKind, TOrvoDBGridDropDownList::TFactory>;

void RegisterBuiltInListClasses(TFactories& factories)
{
    // The built-in containers (calendar, calculator, data and pick lists, the auto-filter
    // list) register here.
    factories[TOrvoDBGridListClasses::glcCalculator] =
        TOrvoDBGridDropDownList::FactoryOf<TOrvoDBGridCalculator>();
    factories[TOrvoDBGridListClasses::glcCalendar] =
        TOrvoDBGridDropDownList::FactoryOf<TOrvoDBGridCalendar>();
    factories[TOrvoDBGridListClasses::glcFilterList] =
        TOrvoDBGridDropDownList::FactoryOf<TOrvoDBGridFilterList>();
}

TFactories& Factories()
{
    static TFactories factories = [] {
        TFactories builtIn;
        RegisterBuiltInListClasses(builtIn);
        return builtIn;
    }();
    return factories;
}

bool IsDateField(const TField* field)
{
    const TFieldType type = field->DataType();
    return type == ftDate || type == ftDateTime || type == ftTimeStamp;
}

} // namespace

TOrvoDBGridListClasses::TGridListKind TOrvoDBGridListClasses::KindOf(const TOrvoColumn* column)
{
    if (!column)
        return glcNone;
    switch (column->ButtonStyle()) {
    case cbsCalendar:
        return glcCalendar;
    case cbsCalculator:
        return glcCalculator;
    case cbsAuto:
        break;
    default:
        return glcNone;
    }
    const TOrvoLookupColumn role = column->LookupColumn();
    if (role == lcLookupField || role == lcLookupResultField || role == lcLookupValueField)
        return glcDataList;
    if (!column->PickList().isEmpty())
        return glcPickList;
    const TField* field = column->Field();
    return field && IsDateField(field) ? glcCalendar : glcNone;
}

void TOrvoDBGridListClasses::Register(TGridListKind kind, TOrvoDBGridDropDownList::TFactory factory)
{
    Factories()[kind] = std::move(factory);
}

TOrvoDBGridDropDownList::TFactory TOrvoDBGridListClasses::Factory(TGridListKind kind)
{
    const TFactories& factories = Factories();
    const auto found = factories.find(kind);
    return found == factories.end() ? TOrvoDBGridDropDownList::TFactory() : found->second;
}

TOrvoDBGridDropDownList::TFactory TOrvoDBGridListClasses::FactoryFor(const TOrvoColumn* column)
{
    return Factory(KindOf(column));
}

} // namespace orvo
