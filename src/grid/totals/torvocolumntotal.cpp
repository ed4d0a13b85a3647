#include "grid/totals/torvocolumntotal.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvocolumntitle.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/totals/torvodbgridtotals.h"
#include "grid/totals/torvototaldatalink.h"
#include "platform/core/tscopecleanup.h"
#include "platform/data/tdataset.h"

#include <QMenu>

namespace orvo {

TOrvoColumnTotal::TOrvoColumnTotal(TOrvoColumn* column, TCollection* collection)
    : TCollectionItem(collection), FColumn(column)
{}

TOrvoCustomDBGrid* TOrvoColumnTotal::Grid() const
{
    return FColumn ? FColumn->Grid() : nullptr;
}

void TOrvoColumnTotal::NotifyChanged(bool allItems)
{
    if (Collection())
        Changed(allItems);
    else if (FColumn)
        FColumn->Changed(allItems);
}

// --- Values that follow a default until set ---------------------------------------------------

TAlignment TOrvoColumnTotal::DefaultAlignment() const
{
    return FColumn ? FColumn->Alignment() : taLeftJustify;
}

TAlignment TOrvoColumnTotal::Alignment() const
{
    return FAlignment.OrElse([this] { return DefaultAlignment(); });
}

void TOrvoColumnTotal::SetAlignment(TAlignment value)
{
    if (FAlignment.Set(value))
        NotifyChanged();
}

bool TOrvoColumnTotal::IsAlignmentStored() const
{
    return FAlignment.DiffersFrom(DefaultAlignment());
}

TColor TOrvoColumnTotal::DefaultColor() const
{
    const TOrvoCustomDBGrid* grid = Grid();
    return grid ? grid->Totals()->Color() : clBtnFace;
}

TColor TOrvoColumnTotal::Color() const
{
    return FColor.OrElse([this] { return DefaultColor(); });
}

void TOrvoColumnTotal::SetColor(TColor value)
{
    if (FColor.Set(value))
        NotifyChanged();
}

bool TOrvoColumnTotal::IsColorStored() const
{
    return FColor.DiffersFrom(DefaultColor());
}

TFont TOrvoColumnTotal::Font() const
{
    return FFont.OrElse([this] {
        if (const TOrvoCustomDBGrid* grid = Grid())
            return grid->Totals()->Font();
        return FColumn ? FColumn->Font() : FFont.Value();
    });
}

void TOrvoColumnTotal::SetFont(const TFont& value)
{
    // The total rows are as high as their tallest font.
    if (FFont.Set(value))
        NotifyChanged(true);
}

// --- Plain settings ---------------------------------------------------------------------------

void TOrvoColumnTotal::SetEllipsis(bool value)
{
    Store(FEllipsis, value);
}

void TOrvoColumnTotal::SetFieldName(const QString& value)
{
    if (FFieldName == value)
        return;
    FFieldName = value;
    FField = nullptr;
    NotifyChanged();
    RecalculateGrid();
}

void TOrvoColumnTotal::RecalculateGrid()
{
    TOrvoCustomDBGrid* grid = Grid();
    if (grid && TotalResult() == trCalcValue)
        grid->UpdateTotals(true);
}

void TOrvoColumnTotal::SetHint(const QString& value)
{
    FHint = value;
}

QMenu* TOrvoColumnTotal::PopupMenu() const
{
    return FPopupMenu;
}

void TOrvoColumnTotal::SetPopupMenu(QMenu* value)
{
    FPopupMenu = value;
}

void TOrvoColumnTotal::SetToolTips(bool value)
{
    FToolTips = value;
}

void TOrvoColumnTotal::SetToolTipsWidth(TToolTipsWidth value)
{
    FToolTipsWidth = value;
}

void TOrvoColumnTotal::SetTotalBox(TTotalBox value)
{
    Store(FTotalBox, value);
}

void TOrvoColumnTotal::SetVAlignment(TVAlignment value)
{
    Store(FVAlignment, value);
}

void TOrvoColumnTotal::SetVisible(bool value)
{
    Store(FVisible, value);
}

void TOrvoColumnTotal::SetWordWrap(bool value)
{
    Store(FWordWrap, value);
}

void TOrvoColumnTotal::SetCaption(const QString& value)
{
    if (FAssigned.Contains(avCaption) && FCaption == value)
        return;
    FCaption = value;
    FAssigned.Include(avCaption);
    NotifyChanged();
}

void TOrvoColumnTotal::SetImageIndex(int value)
{
    Store(FImageIndex, value);
}

// --- Field ------------------------------------------------------------------------------------

TDataLink* TOrvoColumnTotal::TotalLink() const
{
    const TOrvoCustomDBGrid* grid = Grid();
    return grid ? grid->Totals()->DataLink() : nullptr;
}

TDataSet* TOrvoColumnTotal::SourceDataSet() const
{
    if (TotalResult() == trTotalField) {
        const TDataLink* link = TotalLink();
        return link && link->Active() ? link->DataSet() : nullptr;
    }
    const TOrvoCustomDBGrid* grid = Grid();
    return grid ? grid->DataSet() : nullptr;
}

TField* TOrvoColumnTotal::Field() const
{
    if (FField)
        return FField;
    const TDataSet* dataSet = SourceDataSet();
    // Default fields exist only while the dataset is open; asking earlier would find none.
    if (!dataSet || (!dataSet->Active() && dataSet->DefaultFields()))
        return nullptr;
    const QString name =
        FFieldName.isEmpty() && TotalResult() != trTotalField && FColumn ? FColumn->FieldName() : FFieldName;
    if (!name.isEmpty())
        const_cast<TOrvoColumnTotal*>(this)->SetField(dataSet->FindField(name));
    return FField;
}

void TOrvoColumnTotal::SetField(TField* field)
{
    FField = field;
    if (field && !FFieldName.isEmpty())
        FFieldName = field->FullName();
}

// --- Text -------------------------------------------------------------------------------------

bool TOrvoColumnTotal::SelectionPresent() const
{
    const TOrvoCustomDBGrid* grid = Grid();
    return grid && (grid->Totals()->SelectedRowsPresent() || grid->Totals()->SelectedColsPresent());
}

QString TOrvoColumnTotal::SelectionPart(const QString& text) const
{
    const int separator = text.indexOf(QLatin1Char('|'));
    if (separator < 0)
        return text;
    return SelectionPresent() ? text.mid(separator + 1) : text.left(separator);
}

QString TOrvoColumnTotal::TotalFieldText(int recNo) const
{
    TDataLink* link = TotalLink();
    const TField* field = Field();
    if (!link || !link->Active() || !field || recNo < 1 || recNo > link->RecordCount())
        return {};
    const int previous = link->ActiveRecord();
    link->SetActiveRecord(recNo - 1);
    const auto restore = Finally([link, previous] { link->SetActiveRecord(previous); });
    return field->DisplayText();
}

QString TOrvoColumnTotal::GetText() const
{
    switch (TotalResult()) {
    case trNone:
        return {};
    case trCaption:
        return SelectionPart(FCaption);
    case trCalcValue:
        return FCaption;
    case trDataField:
        if (FFieldName.isEmpty())
            return FColumn ? FColumn->DisplayText() : QString();
        return Field() ? Field()->DisplayText() : QString();
    case trTotalField:
        return TotalFieldText(1);
    }
    return {};
}

QString TOrvoColumnTotal::ResultName() const
{
    if (const TField* field = Field())
        return field->FieldName();
    if (!FFieldName.isEmpty())
        return FFieldName;
    if (FColumn && !FColumn->FieldName().isEmpty())
        return FColumn->FieldName();
    if (FColumn && TotalResult() == trDataField)
        return QLatin1Char('(') + FColumn->Title()->Caption() + QLatin1Char(')');
    return QStringLiteral("<Unknown>");
}

QString TOrvoColumnTotal::DisplayName() const
{
    switch (TotalResult()) {
    case trNone:
        return QStringLiteral("<None>");
    case trCaption:
        return FCaption.isEmpty() ? QStringLiteral("<Empty>") : FCaption;
    case trDataField:
        return (FFieldName.isEmpty() ? QStringLiteral("ColumnData: ") : QStringLiteral("DataField: ")) +
               ResultName();
    case trTotalField:
        return FFieldName.isEmpty() ? QStringLiteral("TotalField: <Unknown>")
                                    : QStringLiteral("TotalField: ") + ResultName();
    case trCalcValue:
        return ResultName();
    }
    return {};
}

// --- Restoring and copying --------------------------------------------------------------------

void TOrvoColumnTotal::RestoreDefaults()
{
    FAssigned = {};
    FAlignment.Forget();
    FColor.Forget();
    FFont.Forget();
    FCaption.clear();
    FEllipsis = true;
    FWordWrap = true;
    FVAlignment = tvCenter;
    FHint.clear();
    FToolTips = true;
    FToolTipsWidth = ttAutoWidth;
    FImageIndex = -1;
    FPopupMenu = nullptr;
    FTotalBox = tbAuto;
    FVisible = true;
    NotifyChanged();
}

void TOrvoColumnTotal::Assign(const TPersistent* source)
{
    const auto* other = qobject_cast<const TOrvoColumnTotal*>(source);
    if (!other)
        AssignError(source);
    if (other == this)
        return;
    FFieldName = other->FFieldName;
    FField = nullptr;
    FAssigned = other->FAssigned;
    FAlignment = other->FAlignment;
    FColor = other->FColor;
    FFont = other->FFont;
    FCaption = other->FCaption;
    FEllipsis = other->FEllipsis;
    FHint = other->FHint;
    FImageIndex = other->FImageIndex;
    FPopupMenu = other->FPopupMenu;
    FToolTips = other->FToolTips;
    FToolTipsWidth = other->FToolTipsWidth;
    FTotalBox = other->FTotalBox;
    FVAlignment = other->FVAlignment;
    FVisible = other->FVisible;
    FWordWrap = other->FWordWrap;
    NotifyChanged();
}

} // namespace orvo
