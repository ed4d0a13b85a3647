#include "lists/calculator/torvodbgridcalculator.h"

#include "grid/columns/torvocolumn.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "lists/calculator/torvodbpopupcalculator.h"
#include "platform/core/texceptionhandler.h"

namespace orvo {

TOrvoDBGridCalculator::TOrvoDBGridCalculator(QWidget* parent, TOrvoColumn* column)
    : TOrvoDBGridDropDownList(parent, column)
{
    SetListClass<TOrvoDBPopupCalculator>();
}

TOrvoDBPopupCalculator* TOrvoDBGridCalculator::Calculator() const
{
    return static_cast<TOrvoDBPopupCalculator*>(List());
}

void TOrvoDBGridCalculator::SetupList(bool opening)
{
    if (!opening || !Calculator())
        return;
    TakeGridLook(glkCalculator);
    if (!FHeightGrown) {
        FHeightGrown = true;
        Calculator()->resize(Calculator()->width(), Calculator()->height() + CalculatorExtraHeight());
    }
}

void TOrvoDBGridCalculator::TransferValue(bool opening)
{
    TOrvoDBPopupCalculator* calculator = Calculator();
    if (!calculator)
        return;
    if (opening) {
        calculator->ClearCalculator(true);
        // A text that is no number beeps and leaves the "0" just shown.
        if (Column())
            calculator->SetDisplayText(Column()->EditText());
        return;
    }
    if (!Accept())
        return;
    // The field may refuse the number (too large for it, say): the user gets the field's
    // message and the cell keeps its value, while the close-up still finishes its steps.
    // Opening the cell for the write marked the grid's text as changed; left so, the post
    // would store the editor's text (empty when it never opened) over the cell.
    TOrvoGridDataLink* link = Grid() ? Grid()->DataLink() : nullptr;
    const bool textChanged = link && link->Modified();
    if (!TExceptionHandler::Guard([this] { ApplyValue(Value()); }) && link)
        link->SetModified(textChanged);
}

void TOrvoDBGridCalculator::GetListValue(TVariant& value)
{
    value = Calculator() ? TVariant(Calculator()->ListValue()) : TVariant::Null();
}

} // namespace orvo
