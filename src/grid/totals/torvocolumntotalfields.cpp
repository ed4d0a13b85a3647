#include "grid/totals/torvocolumntotalfields.h"

#include "platform/data/tdatalink.h"

namespace orvo {

TOrvoColumnTotalFields::TOrvoColumnTotalFields(TOrvoColumn* column) : TOrvoColumnTotal(column)
{
    FTotalResult = trTotalField;
}

QString TOrvoColumnTotalFields::GetText() const
{
    const TDataLink* link = TotalLink();
    const TField* field = Field();
    return link && link->Active() && field ? field->DisplayText() : QString();
}

} // namespace orvo
