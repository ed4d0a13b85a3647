#include "grid/columns/torvocolumnreport.h"

#include "grid/columns/torvocolumn.h"

namespace orvo {

TOrvoColumnReport::TOrvoColumnReport(TOrvoColumn* column) : TPersistent(column), FColumn(column) {}

bool TOrvoColumnReport::IsPrinted() const
{
    return FVisible && (!FColumn || FColumn->IsShown());
}

void TOrvoColumnReport::RestoreDefaults()
{
    const TOrvoColumnReport defaults(nullptr);
    Assign(&defaults);
}

void TOrvoColumnReport::Assign(const TPersistent* source)
{
    const auto* other = qobject_cast<const TOrvoColumnReport*>(source);
    if (!other)
        AssignError(source);
    FVisible = other->FVisible;
    FTotalType = other->FTotalType;
    FTotalText = other->FTotalText;
    FTotalMask = other->FTotalMask;
    FAutoHeight = other->FAutoHeight;
    FDialogOptions = other->FDialogOptions;
}

} // namespace orvo
