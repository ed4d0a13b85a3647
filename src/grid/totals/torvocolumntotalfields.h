#pragma once

#include "grid/totals/torvocolumntotal.h"

namespace orvo {

/// The total a column shows in the rows of the totals dataset: always a field of that
/// dataset, read in the row's record.
class TOrvoColumnTotalFields : public TOrvoColumnTotal
{
    Q_OBJECT

public:
    explicit TOrvoColumnTotalFields(TOrvoColumn* column);

    TTotalResult TotalResult() const override { return trTotalField; }
    /// The field's text in the totals link's current record.
    QString GetText() const override;
};

} // namespace orvo
