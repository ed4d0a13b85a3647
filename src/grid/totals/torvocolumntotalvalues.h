#pragma once

#include "platform/core/tcollection.h"

namespace orvo {

class TOrvoColumn;
class TOrvoColumnTotalValue;

/// The totals of a column's value rows: item i is shown in value row i.
class TOrvoColumnTotalValues : public TCollection
{
    Q_OBJECT

public:
    explicit TOrvoColumnTotalValues(TOrvoColumn* column);

    TOrvoColumn* Column() const { return FColumn; }
    TOrvoColumnTotalValue* Items(int index) const;
    TOrvoColumnTotalValue* Add();

protected:
    TCollectionItem* CreateItem() override;
    /// The number of value rows may change: the column asks for a layout.
    void Update(TCollectionItem* item) override;

private:
    TOrvoColumn* FColumn;
};

} // namespace orvo
