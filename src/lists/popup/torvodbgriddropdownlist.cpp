#include "lists/popup/torvodbgriddropdownlist.h"

#include "grid/columns/torvocolumn.h"
#include "grid/dbgrid/torvodbgridgradient.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "grid/painting/torvogridstyle.h"
#include "grid/scrolling/torvoscrollprop.h"
#include "lists/popup/torvodbpopuplist.h"
#include "platform/core/tsystemprofile.h"
#include "platform/data/tdataset.h"
#include "platform/data/tfield.h"

#include <algorithm>

namespace orvo {

TOrvoDBGridDropDownList::TOrvoDBGridDropDownList(QWidget* parent, TOrvoColumn* column)
    : TOrvoDBDropDownList(parent), FColumn(column)
{}

TOrvoColumn* TOrvoDBGridDropDownList::Column() const
{
    return FColumn;
}

TOrvoCustomDBGrid* TOrvoDBGridDropDownList::Grid() const
{
    return FColumn ? FColumn->Grid() : nullptr;
}

int TOrvoDBGridDropDownList::MaxStringLength(const QStringList& strings)
{
    qsizetype longest = 0;
    for (const QString& text : strings)
        longest = std::max(longest, text.length());
    return int(longest);
}

// --- Writing the chosen value ------------------------------------------------------------

void TOrvoDBGridDropDownList::ApplyValue(const TVariant& value)
{
    TOrvoCustomDBGrid* grid = Grid();
    if (!FColumn || !grid)
        return;
    const TOrvoLookupColumn role = FColumn->LookupColumn();
    if (role == lcLookupField || role == lcLookupResultField || role == lcLookupValueField) {
        ApplyLookupValue(value);
        return;
    }
    MakeColumnCurrent();
    if (grid->CanEditModify())
        FColumn->StoreEditText(value.IsNull() ? QString() : value.AsString());
}

void TOrvoDBGridDropDownList::ApplyLookupValue(const TVariant& value)
{
    TOrvoCustomDBGrid* grid = Grid();
    TField* shown = FColumn->Field();
    if (!shown || !shown->DataSet())
        return;
    // Raises the dataset's field-not-found error when the key field is missing.
    TField* keyField = shown->DataSet()->FieldByName(FColumn->KeyField());
    if (!keyField->CanModify() || !grid->DataLink()->Edit())
        return;
    // Choosing the empty entry clears the key: a string key would otherwise keep an
    // empty text that still looks up nothing.
    if (value.IsString() && value.AsString().isEmpty())
        keyField->Clear();
    else
        keyField->SetAsVariant(value);
    if (grid->OnColTextChanged)
        grid->OnColTextChanged(grid);
}

void TOrvoDBGridDropDownList::MakeColumnCurrent()
{
    TOrvoCustomDBGrid* grid = Grid();
    if (grid && grid->SelectedColumn() != FColumn)
        grid->SetCol(grid->DataToRawColumn(FColumn->Index()));
}

// --- The grid's look -------------------------------------------------------------------------

void TOrvoDBGridDropDownList::TakeGridLook(TGridListLook look)
{
    if (!Grid() || !List())
        return;
    MakeColumnCurrent();
    CopyCommonLook(look);
    if (look == glkDataList)
        CopyDataListLook();
}

void TOrvoDBGridDropDownList::CopyCommonLook(TGridListLook look)
{
    const TOrvoCustomDBGrid& grid = *Grid();
    TOrvoDBPopupList& list = *List();
    if (grid.BiDiMode() == Qt::RightToLeft)
        list.SetBiDiMode(FColumn->SuppressRTL() ? Qt::LeftToRight : Qt::RightToLeft);
    else
        list.SetBiDiMode(parentWidget() ? parentWidget()->layoutDirection() : Qt::LeftToRight);
    list.SetColor(grid.Color());
    list.SetFixedColor(grid.FixedColor());
    list.SetFixedStyle(grid.FixedStyle());
    list.SetFixedTheme(grid.FixedTheme());
    list.SetGradient(grid.Gradient());
    list.SetHighlightText(grid.HighlightText());
    list.SetListBorder(grid.ListBorder());
    // A grid that shows no cell highlight still gives its list one.
    list.SetSelectCellColor(grid.SelectCellColor() == clNone ? clDefault : grid.SelectCellColor());
    TOrvoDBGridOptionsExt optionsExt = list.OptionsExt();
    if (grid.OptionsExt().Contains(dgForceSystemTheme))
        optionsExt.Include(dgForceSystemTheme);
    else
        optionsExt.Exclude(dgForceSystemTheme);
    list.SetOptionsExt(optionsExt);

    const int rowSpace = grid.GridStyle()->DataRowSpace() + grid.GridLineWidth();
    list.SetGridStyle(grid.GridStyle());
    switch (look) {
    case glkDataList:
        list.SetGridLineWidth(grid.GridLineWidth());
        list.GridStyle()->SetTitleRowSpace(rowSpace);
        list.SetHotButtons(grid.HotButtons());
        break;
    case glkCalendar:
        list.SetGridLineWidth(grid.GridLineWidth());
        list.GridStyle()->SetTitleRowSpace(rowSpace);
        list.GridStyle()->SetTotalRowSpace(rowSpace);
        list.SetHotButtons(grid.HotButtons());
        if (grid.IndicatorImages())
            list.SetTitleImages(grid.IndicatorImages());
        break;
    case glkCalculator: {
        list.GridStyle()->SetDataRowSpace(rowSpace - 1);
        const bool flat = !TSystemProfile::Current().ThemesEnabled();
        list.SetFlatButtons(flat);
        list.SetButtonEdges(flat);
        break;
    }
    }
}

void TOrvoDBGridDropDownList::CopyDataListLook()
{
    const TOrvoCustomDBGrid& grid = *Grid();
    TOrvoDBPopupList& list = *List();
    list.SetDropDownRows(FColumn->DropDownRows());
    list.SetDropDownWidth(FColumn->DropDownWidth());
    list.SetFont(grid.Font());
    list.SetTitleFont(grid.TitleFont());
    if (grid.IndicatorImages()) {
        list.SetIndicatorImages(grid.IndicatorImages());
        list.SetTitleImages(grid.IndicatorImages());
    }
    list.SetMarkerStyle(grid.MarkerStyle());
    list.SetMarkerTransparent(grid.MarkerTransparent());
    TOrvoScrollProp* scroll = list.ScrollProp();
    scroll->SetColor(grid.ScrollProp()->Color());
    scroll->SetStyle(grid.ScrollProp()->Style());
    scroll->SetThumbBar(grid.ScrollProp()->ThumbBar());
    scroll->SetWinXPMode(grid.ScrollProp()->WinXPMode());
    list.SetSelectionColor(grid.SelectionColor());
    list.SetOrderFields(QString());
    list.SetSelectRowColor(grid.SelectRowColor() == clNone ? list.SelectCellColor() : grid.SelectRowColor());
}

int TOrvoDBGridDropDownList::CalculatorExtraHeight() const
{
    const TOrvoCustomDBGrid* grid = Grid();
    return grid ? grid->GridStyle()->DataRowSpace() + grid->GridLineWidth() - 5 : 0;
}

} // namespace orvo
