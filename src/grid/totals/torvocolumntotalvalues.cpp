#include "grid/totals/torvocolumntotalvalues.h"

#include "grid/columns/torvocolumn.h"
#include "grid/totals/torvocolumntotalvalue.h"

namespace orvo {

TOrvoColumnTotalValues::TOrvoColumnTotalValues(TOrvoColumn* column) : TCollection(column), FColumn(column) {}

TOrvoColumnTotalValue* TOrvoColumnTotalValues::Items(int index) const
{
    return static_cast<TOrvoColumnTotalValue*>(TCollection::Items(index));
}

TOrvoColumnTotalValue* TOrvoColumnTotalValues::Add()
{
    return static_cast<TOrvoColumnTotalValue*>(TCollection::Add());
}

TCollectionItem* TOrvoColumnTotalValues::CreateItem()
{
    return new TOrvoColumnTotalValue(FColumn);
}

void TOrvoColumnTotalValues::Update(TCollectionItem* item)
{
    if (FColumn)
        FColumn->Changed(item == nullptr);
}

} // namespace orvo
