#include "grid/totals/torvocolumntotalvalue.h"

#include "grid/dbgrid/torvocustomdbgrid.h"
#include "platform/core/datetimeformat.h"
#include "platform/core/exceptions.h"
#include "platform/core/format.h"

#include <exception>

namespace orvo {

namespace {

QString& NullText()
{
    static QString text;
    return text;
}

const char* const CalcValueNames[] = {"Sum",   "Avg",  "Count",  "Max",   "Min",
                                      "First", "Last", "Unique", "Custom"};

} // namespace

QString TOrvoColumnTotalValue::TotalNullText()
{
    return NullText();
}

void TOrvoColumnTotalValue::SetTotalNullText(const QString& value)
{
    NullText() = value;
}

TOrvoColumnTotalValue::TOrvoColumnTotalValue(TOrvoColumn* column, TCollection* collection)
    : TOrvoColumnTotal(column, collection)
{}

void TOrvoColumnTotalValue::SetCaption(const QString& value)
{
    FValue = TVariant();
    TOrvoColumnTotal::SetCaption(value);
}

void TOrvoColumnTotalValue::SetCalcApply(TCalcApply value)
{
    if (FCalcApply == value)
        return;
    Store(FCalcApply, value);
    RecalculateGrid();
}

void TOrvoColumnTotalValue::SetCalcValue(TCalcValue value)
{
    if (FCalcValue == value)
        return;
    Store(FCalcValue, value);
    RecalculateGrid();
}

void TOrvoColumnTotalValue::SetFormat(const QString& value)
{
    Store(FFormat, value);
}

void TOrvoColumnTotalValue::SetFormatAsFloat(bool value)
{
    if (value == FFormatAsFloat)
        return;
    FFormatAsFloat = value;
    const TOrvoCustomDBGrid* grid = Grid();
    if (!grid || !grid->IsLoading())
        FFormat.clear();
    NotifyChanged();
}

void TOrvoColumnTotalValue::SetNullValue(TNullValue value)
{
    if (FNullValue == value)
        return;
    Store(FNullValue, value);
    RecalculateGrid();
}

void TOrvoColumnTotalValue::SetTotalRecNo(int value)
{
    Store(FTotalRecNo, std::max(value, 1));
}

void TOrvoColumnTotalValue::SetTotalResult(TTotalResult value)
{
    if (FTotalResult == value)
        return;
    Store(FTotalResult, value);
    RecalculateGrid();
}

void TOrvoColumnTotalValue::SetValue(const TVariant& value)
{
    FValue = value;
    FAssigned.Exclude(avCaption);
    FCaption = FormatValue(value);
    NotifyChanged();
}

bool TOrvoColumnTotalValue::IsValueStored() const
{
    return !CaptionAssigned() && FTotalResult != trCalcValue && !FValue.IsEmpty();
}

// --- Formatting -------------------------------------------------------------------------------

QString TOrvoColumnTotalValue::FormatValue(const TVariant& value) const
{
    if (value.IsEmpty())
        return {};
    if (value.IsNull())
        return TotalNullText();
    const QString format = SelectionPart(FFormat);
    try {
        const TVariant typed = FFormatAsFloat ? TVariant(value.AsFloat()) : value;
        if (format.isEmpty())
            return typed.VarType() == varCurrency ? orvo::Format(QStringLiteral("%m"), {typed})
                                                  : typed.AsString();
        return FormatTyped(format, typed);
    } catch (const std::exception&) {
        // A format that does not fit the value must not hide it: show it plainly.
        return value.AsString();
    }
}

QString TOrvoColumnTotalValue::FormatTyped(const QString& format, const TVariant& value) const
{
    switch (value.VarType()) {
    case varDate:
        return FormatBetweenPercents(
            format, FormatDateTime(format.section(QLatin1Char('%'), 1, 1), value.AsDateTime()));
    case varBoolean: {
        const QString choices = format.section(QLatin1Char('%'), 1, 1);
        const int separator = choices.indexOf(QLatin1Char(';'));
        const QString text = value.AsBoolean() ? (separator < 0 ? choices : choices.left(separator))
                                               : (separator < 0 ? QString() : choices.mid(separator + 1));
        return FormatBetweenPercents(format, text);
    }
    default:
        return orvo::Format(format, {value});
    }
}

QString TOrvoColumnTotalValue::FormatBetweenPercents(const QString& format, const QString& middle)
{
    if (format.count(QLatin1Char('%')) < 2)
        throw EConvertError(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(format));
    const int first = format.indexOf(QLatin1Char('%'));
    const int second = format.indexOf(QLatin1Char('%'), first + 1);
    return format.left(first) + middle + format.mid(second + 1);
}

// --- Text -------------------------------------------------------------------------------------

QString TOrvoColumnTotalValue::GetText() const
{
    return FTotalResult == trTotalField ? TotalFieldText(FTotalRecNo) : TOrvoColumnTotal::GetText();
}

QString TOrvoColumnTotalValue::DisplayName() const
{
    switch (FTotalResult) {
    case trCaption:
        if (FCaption.isEmpty())
            return FValue.IsNull() ? QStringLiteral("<Null>") : QStringLiteral("<Empty>");
        return FCaption;
    case trTotalField:
        if (FieldName().isEmpty())
            return QStringLiteral("TotalField: <Unknown>");
        return QStringLiteral("TotalField: %1[%2]").arg(ResultName()).arg(FTotalRecNo);
    case trCalcValue:
        return QStringLiteral("%1(%2)").arg(QLatin1String(CalcValueNames[FCalcValue]), ResultName());
    default:
        return TOrvoColumnTotal::DisplayName();
    }
}

void TOrvoColumnTotalValue::Assign(const TPersistent* source)
{
    TOrvoColumnTotal::Assign(source);
    const auto* other = qobject_cast<const TOrvoColumnTotalValue*>(source);
    if (!other || other == this)
        return;
    FCalcApply = other->FCalcApply;
    FCalcValue = other->FCalcValue;
    FFormat = other->FFormat;
    FFormatAsFloat = other->FFormatAsFloat;
    FNullValue = other->FNullValue;
    FTotalRecNo = other->FTotalRecNo;
    FTotalResult = other->FTotalResult;
    FValue = other->IsValueStored() ? other->FValue : TVariant();
    NotifyChanged();
}

} // namespace orvo
