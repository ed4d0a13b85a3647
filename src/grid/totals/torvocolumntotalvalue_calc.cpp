// The aggregate a value total computes over the records the grid's calculation visits.

#include "grid/totals/torvocolumntotalvalue.h"

#include "grid/columns/torvocolumn.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/totals/torvodbgridtotals.h"
#include "grid/totals/totalarithmetic.h"
#include "platform/core/exceptions.h"
#include "platform/data/tfloatfield.h"

namespace orvo {

bool TOrvoColumnTotalValue::TakesPart(TCalcPass pass) const
{
    if (FTotalResult != trCalcValue)
        return false;
    if (pass != cpCalcRec || FCalcApply == caBoth)
        return true;
    const TOrvoCustomDBGrid* grid = Grid();
    const bool rowsSelected = grid && grid->Totals()->SelectedRowsPresent();
    return rowsSelected == (FCalcApply == caSelectedRows);
}

bool TOrvoColumnTotalValue::Calculate(TCalcPass pass)
{
    if (!TakesPart(pass)) {
        // A caption may read differently with a selection: the final pass repaints it.
        if (pass == cpFinal && FTotalResult == trCaption)
            NotifyChanged();
        return false;
    }
    switch (pass) {
    case cpReset:
        ResetCalculation();
        break;
    case cpCalcRec:
        CalculateRecord();
        break;
    case cpFinal:
        FinishCalculation();
        break;
    }
    return true;
}

void TOrvoColumnTotalValue::FailCalculation()
{
    CalcFailed = true;
    CalcAccumulator = TVariant();
}

void TOrvoColumnTotalValue::ResetCalculation()
{
    CalcCount = 0;
    CalcFailed = false;
    TVariant value;
    try {
        if (TOrvoCustomDBGrid* grid = Grid())
            grid->TotalCalcValue(this, cpReset, value);
        CalcAccumulator = value;
    } catch (...) {
        FailCalculation();
    }
}

TVariant TOrvoColumnTotalValue::RecordValue() const
{
    const TField* field = Field();
    if (!field) {
        // A total that names a field which is not (or no longer) there has nothing to show;
        // one without any field name takes Unassigned, for counts and custom values.
        const bool named = !FieldName().isEmpty() || (Column() && !Column()->FieldName().isEmpty());
        if (named)
            throw EDatabaseError(QStringLiteral("Field '%1' not found").arg(ResultName()));
        return TVariant();
    }
    TVariant value = field->AsVariant();
    const auto* floatField = qobject_cast<const TFloatField*>(field);
    if (floatField && floatField->Currency() && !value.IsNull())
        value = TVariant(TCurrency::FromDouble(value.AsFloat()));
    return value;
}

void TOrvoColumnTotalValue::CalculateRecord()
{
    if (CalcFailed)
        return;
    try {
        TVariant value = RecordValue();
        if (TOrvoCustomDBGrid* grid = Grid())
            grid->TotalCalcValue(this, cpCalcRec, value);
        if (value.IsNull()) {
            if (FNullValue == nvExclude)
                return;
            if (FNullValue == nvAsZero)
                value = TVariant(qint64(0));
        }
        ++CalcCount;
        Accumulate(value);
    } catch (...) {
        FailCalculation();
    }
}

// Null orders before every value (as in an ascending sort), so that with nvInclude a
// Null is the minimum and a maximum only when every value is Null.
void TOrvoColumnTotalValue::Accumulate(const TVariant& value)
{
    const bool first = CalcCount == 1;
    switch (FCalcValue) {
    case cvSum:
    case cvAvg:
        if (TotalArithmetic::Adds(value))
            CalcAccumulator = TotalArithmetic::Add(CalcAccumulator, value);
        break;
    case cvCount:
        CalcAccumulator = TVariant(CalcCount);
        break;
    case cvMax:
        if (first || TVariant::Compare(value, CalcAccumulator) > 0)
            CalcAccumulator = value;
        break;
    case cvMin:
        if (first || TVariant::Compare(value, CalcAccumulator) < 0)
            CalcAccumulator = value;
        break;
    case cvFirst:
        if (first)
            CalcAccumulator = value;
        break;
    case cvLast:
        CalcAccumulator = value;
        break;
    case cvUnique:
        if (first)
            CalcAccumulator = value;
        else if (!TVariant::SameValue(CalcAccumulator, value))
            CalcAccumulator = TVariant::Null();
        break;
    case cvCustom:
        break;
    }
}

void TOrvoColumnTotalValue::FinishCalculation()
{
    TVariant value;
    if (CalcFailed) {
        // Not even a custom handler may finish it: what it gathered is only part.
        SetValue(value);
        return;
    }
    try {
        value = FCalcValue == cvAvg ? TotalArithmetic::Average(CalcAccumulator, CalcCount) : CalcAccumulator;
        if (TOrvoCustomDBGrid* grid = Grid())
            grid->TotalCalcValue(this, cpFinal, value);
    } catch (...) {
        value = TVariant();
    }
    SetValue(value);
}

} // namespace orvo
