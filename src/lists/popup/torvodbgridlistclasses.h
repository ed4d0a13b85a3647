#pragma once

#include "lists/popup/torvodbgriddropdownlist.h"

namespace orvo {

class TOrvoColumn;

/// Which drop-down container a grid column opens, and the makers of those containers.
///
/// The kind follows the column's ButtonStyle: the calendar and calculator styles ask
/// for their list, the automatic style for a lookup list (lookup column), a pick list
/// (list items) or the calendar (a date or date-time field); everything else opens none.
/// The containers register their factories by kind; a kind without one opens nothing.
/// glcFilterList is no cell's kind: the grid asks for it when a title's filter button or
/// the filter key opens a column's auto-filter list.
class TOrvoDBGridListClasses
{
public:
    enum TGridListKind
    {
        glcNone,
        glcDataList,
        glcPickList,
        glcCalendar,
        glcCalculator,
        glcFilterList
    };

    static TGridListKind KindOf(const TOrvoColumn* column);
    static void Register(TGridListKind kind, TOrvoDBGridDropDownList::TFactory factory);
    /// The registered factory of `kind`; empty when none.
    static TOrvoDBGridDropDownList::TFactory Factory(TGridListKind kind);
    /// The factory of the container `column` opens; empty when none.
    static TOrvoDBGridDropDownList::TFactory FactoryFor(const TOrvoColumn* column);
};

} // namespace orvo
