// The grid's selection operations: each hands its work to the part that keeps the selection.

#include "grid/selection/torvodbgridselectionapi.h"

#include "grid/selection/torvogridselection.h"

namespace orvo {

TMultiSelection TOrvoDBGridSelectionApi::SelectionMode() const
{
    return SelectionPart().SelectionMode();
}

void TOrvoDBGridSelectionApi::StartSelection(TMultiSelection kind)
{
    SelectionPart().StartSelection(kind);
}

void TOrvoDBGridSelectionApi::ClearSelection()
{
    SelectionPart().ClearSelection();
}

void TOrvoDBGridSelectionApi::UnselectAll()
{
    SelectionPart().ClearSelection();
}

void TOrvoDBGridSelectionApi::SelectAll()
{
    SelectionPart().SelectAll();
}

void TOrvoDBGridSelectionApi::InvertSelection()
{
    SelectionPart().InvertSelection();
}

void TOrvoDBGridSelectionApi::SelectCurrentRow()
{
    SelectionPart().SelectCurrentRow(true);
}

void TOrvoDBGridSelectionApi::UnselectCurrentRow()
{
    SelectionPart().SelectCurrentRow(false);
}

void TOrvoDBGridSelectionApi::InvertCurrentRow()
{
    SelectionPart().InvertCurrentRow();
}

void TOrvoDBGridSelectionApi::ExtendSelectionToAnchor()
{
    SelectionPart().ExtendSelectionToAnchor();
}

void TOrvoDBGridSelectionApi::InvertSelectionToAnchor()
{
    SelectionPart().InvertSelectionToAnchor();
}

QString TOrvoDBGridSelectionApi::AnchorBookmark() const
{
    return SelectionPart().AnchorBookmark();
}

void TOrvoDBGridSelectionApi::SetAnchorBookmark(const QString& value)
{
    SelectionPart().SetAnchorBookmark(value);
}

int TOrvoDBGridSelectionApi::AnchorCol() const
{
    return SelectionPart().AnchorCol();
}

void TOrvoDBGridSelectionApi::SetAnchorCol(int value)
{
    SelectionPart().SetAnchorCol(value);
}

int TOrvoDBGridSelectionApi::CurrentCol() const
{
    return SelectionPart().CurrentCol();
}

void TOrvoDBGridSelectionApi::SetCurrentCol(int value)
{
    SelectionPart().SetCurrentCol(value);
}

bool TOrvoDBGridSelectionApi::WholeColumns() const
{
    return SelectionPart().WholeColumns();
}

void TOrvoDBGridSelectionApi::SetWholeColumns(bool value)
{
    SelectionPart().SetWholeColumns(value);
}

int TOrvoDBGridSelectionApi::FirstSelectableCol() const
{
    return SelectionPart().FirstSelectableCol();
}

bool TOrvoDBGridSelectionApi::HasSelectedRows() const
{
    return SelectionPart().HasSelectedRows();
}

bool TOrvoDBGridSelectionApi::HasSelectedCols() const
{
    return SelectionPart().HasSelectedCols();
}

bool TOrvoDBGridSelectionApi::ColumnInSelection(int dataColumnIndex) const
{
    return SelectionPart().ColumnInSelection(dataColumnIndex);
}

bool TOrvoDBGridSelectionApi::CellInSelection(int dataColumnIndex) const
{
    return SelectionPart().CellInSelection(dataColumnIndex);
}

void TOrvoDBGridSelectionApi::BeginSelectionUpdate()
{
    SelectionPart().BeginUpdate();
}

void TOrvoDBGridSelectionApi::EndSelectionUpdate()
{
    SelectionPart().EndUpdate();
}

bool TOrvoDBGridSelectionApi::CopyToClipboard(bool withTitles)
{
    return SelectionPart().CopyToClipboard(withTitles);
}

void TOrvoDBGridSelectionApi::DeleteSelectedRows()
{
    SelectionPart().DeleteSelectedRows();
}

void TOrvoDBGridSelectionApi::SaveSelection(const QString& keyFields)
{
    SelectionPart().SaveSelection(keyFields);
}

void TOrvoDBGridSelectionApi::RestoreSelection(const QString& keyFields)
{
    SelectionPart().RestoreSelection(keyFields);
}

void TOrvoDBGridSelectionApi::RefreshData(const QString& keyFields)
{
    SelectionPart().RefreshData(keyFields);
}

void TOrvoDBGridSelectionApi::ForEachCell(int mode, const TCellCallback& callback)
{
    SelectionPart().ForEachCell(mode, callback);
}

} // namespace orvo
