#include "grid/totals/torvodbgridtotals.h"

#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/totals/torvototaldatalink.h"
#include "platform/core/exceptions.h"
#include "platform/data/tdataset.h"
#include "platform/data/tdatasource.h"
#include "platform/graphics/tcustomimagelist.h"

#include <QMenu>

namespace orvo {

TOrvoDBGridTotals::TOrvoDBGridTotals(TOrvoCustomDBGrid* grid)
    : TPersistent(grid), FGrid(grid),
      FDataLink(grid ? grid->CreateTotalDataLink(this) : new TOrvoTotalDataLink(this))
{
    if (FGrid) {
        FColor = FGrid->FixedColor();
        FFont = FGrid->Font();
    }
}

TOrvoDBGridTotals::~TOrvoDBGridTotals()
{
    // Detach first: the link must not report to a grid that is going away.
    FDataLink->SetDataSource(nullptr);
}

void TOrvoDBGridTotals::Assign(const TPersistent* source)
{
    const auto* other = qobject_cast<const TOrvoDBGridTotals*>(source);
    if (!other)
        AssignError(source);
    SetBoxStyle(other->FBoxStyle);
    SetColor(other->FColor);
    SetFont(other->FFont);
    SetImages(other->FImages);
    SetLinesCount(other->FLinesCount);
    SetSelectedColor(other->FSelectedColor);
    SetDataMaxRow(other->FDataMaxRow);
    SetDataSource(other->DataSource());
    SetCalcValues(other->FCalcValues);
}

bool TOrvoDBGridTotals::Active() const
{
    return FGrid && ActiveFor(FGrid->OptionsEx());
}

bool TOrvoDBGridTotals::ActiveFor(TOrvoDBGridOptionsEx options)
{
    constexpr TOrvoDBGridOptionsEx rows{dgTotalHeader, dgTotalValues, dgTotalFields, dgTotalFooter};
    constexpr TOrvoDBGridOptionsEx selectedRows{dgTotalHeaderSelected, dgTotalValuesSelected,
                                                dgTotalFooterSelected};
    if (!(options * rows).IsEmpty())
        return true;
    return options.Contains(dgSelectedAutoHidden) && !(options * selectedRows).IsEmpty();
}

void TOrvoDBGridTotals::CheckBidirectional(const TDataSet* dataSet)
{
    if (dataSet && dataSet->IsUniDirectional())
        throw EDatabaseError(QStringLiteral("Operation not allowed on a unidirectional dataset"));
}

void TOrvoDBGridTotals::SetBoxStyle(TCheckBoxStyle value)
{
    if (FBoxStyle == value)
        return;
    FBoxStyle = value;
    if (BoxShown())
        FGrid->LayoutChanged();
}

void TOrvoDBGridTotals::SetCalcValues(bool value)
{
    if (FCalcValues == value)
        return;
    FCalcValues = value;
    if (value && FGrid)
        FGrid->UpdateTotals(false);
}

void TOrvoDBGridTotals::SetColor(TColor value)
{
    if (FColor == value)
        return;
    FColor = value;
    RequestLayout();
}

bool TOrvoDBGridTotals::IsColorStored() const
{
    return !FGrid || FColor != FGrid->FixedColor();
}

void TOrvoDBGridTotals::SetDataMaxRow(int value)
{
    value = qMax(0, value);
    if (FDataMaxRow == value)
        return;
    FDataMaxRow = value;
    // Fewer or more buffered records means fewer or more total field rows.
    if (FDataLink->UpdateBufferCount() && FGrid)
        FGrid->TotalsChanged(tcTotalsLayout);
}

TDataSource* TOrvoDBGridTotals::DataSource() const
{
    return FDataLink->DataSource();
}

void TOrvoDBGridTotals::SetDataSource(TDataSource* value)
{
    if (value == DataSource())
        return;
    if (value && FGrid && value == FGrid->DataSource()) {
        if (FGrid->IsLoading())
            return;
        throw EDatabaseError(QStringLiteral("Circular datalinks are not allowed"));
    }
    CheckBidirectional(value ? value->DataSet() : nullptr);
    FDataLink->SetDataSource(value);
}

void TOrvoDBGridTotals::SetFont(const TFont& value)
{
    if (FFont == value)
        return;
    FFont = value;
    RequestLayout();
}

bool TOrvoDBGridTotals::IsFontStored() const
{
    return !FGrid || (!FGrid->ParentFont() && !(FFont == FGrid->Font()));
}

void TOrvoDBGridTotals::SetImages(TCustomImageList* value)
{
    if (FImages == value)
        return;
    FImages = value;
    RequestLayout();
}

void TOrvoDBGridTotals::SetLinesCount(int value)
{
    value = qMax(1, value);
    if (FLinesCount == value)
        return;
    FLinesCount = value;
    RequestLayout();
}

void TOrvoDBGridTotals::SetSelectedColor(TColor value)
{
    if (FSelectedColor == value)
        return;
    FSelectedColor = value;
    if (FGrid)
        FGrid->UpdateDrawingOption(gdoTotalSelected, value != clNone);
    RequestLayout();
}

bool TOrvoDBGridTotals::BoxShown() const
{
    if (!FGrid)
        return false;
    const TOrvoDBGridOptionsEx options = FGrid->OptionsEx();
    const std::pair<TOrvoDBGridOptionEx, TOrvoDBGridOptionEx> rowBoxes[] = {
        {dgTotalHeader, dgTotalHeaderBox},
        {dgTotalValues, dgTotalValuesBox},
        {dgTotalFields, dgTotalFieldsBox},
        {dgTotalFooter, dgTotalFooterBox}};
    for (const auto& [row, box] : rowBoxes) {
        if (options.Contains(row) && options.Contains(box))
            return true;
    }
    return false;
}

void TOrvoDBGridTotals::RequestLayout()
{
    if (Active())
        FGrid->LayoutChanged();
}

} // namespace orvo
