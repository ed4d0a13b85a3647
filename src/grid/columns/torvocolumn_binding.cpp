// The column's field binding, the values that follow the grid or the field until set,
// widths, lookups, the sub-column hierarchy and the texts taken from the field.
#include "grid/columns/torvocolumn.h"

#include "grid/columns/torvocolumntitle.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvocustomdbgrid_p.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "grid/painting/torvogridstyle.h"
#include "grid/scrolling/torvoscrollprop.h"
#include "grid/selection/torvobookmarklist.h"
#include "grid/treeview/torvodbgridtreeview.h"
#include "platform/core/exceptions.h"
#include "platform/core/texceptionhandler.h"
#include "platform/core/tscopecleanup.h"
#include "platform/data/tdataset.h"
#include "platform/graphics/tcanvas.h"
#include "platform/graphics/tcustomimagelist.h"

#include <QScopeGuard>

#include <algorithm>

namespace orvo {

// --- Field binding ----------------------------------------------------------------------------

TField* TOrvoColumn::Field() const
{
    if (FField || FFieldName.isEmpty())
        return FField;
    const TOrvoCustomDBGrid* grid = Grid();
    TDataSet* dataSet = grid ? grid->DataSet() : nullptr;
    // Finding the field the name already names changes nothing anybody has to hear of.
    if (dataSet && (dataSet->Active() || !dataSet->DefaultFields()))
        if (TField* found = dataSet->FindField(FFieldName))
            const_cast<TOrvoColumn*>(this)->Bind(found);
    return FField;
}

void TOrvoColumn::SetField(TField* field)
{
    if (FField == field && (field || FStored || FFieldName.isEmpty()))
        return;
    Bind(field);
    if (!field && !FStored) {
        ForgetField();
        return;
    }
    Changed(true);
}

void TOrvoColumn::Bind(TField* field)
{
    if (FField)
        disconnect(FField, &QObject::destroyed, this, nullptr);
    FField = field;
    if (!field)
        return;
    FFieldName = field->FullName();
    // A signal of a dying field: an error here must not unwind into its destructor.
    connect(field, &QObject::destroyed, this,
            [this] { TExceptionHandler::Guard([this] { FieldDestroyed(); }); });
    if (TOrvoDBGridColumns* columns = Columns())
        columns->ExpandColsChanged(); // an object field brings sub-columns
}

void TOrvoColumn::FieldDestroyed()
{
    FField = nullptr;
    if (!FStored)
        ForgetField();
}

// A default column stands for its field only: without it, it holds nothing of its own.
void TOrvoColumn::ForgetField()
{
    FFieldName.clear();
    RestoreDefaults();
}

void TOrvoColumn::SetFieldName(const QString& value)
{
    FFieldName = value;
    const TOrvoCustomDBGrid* grid = Grid();
    const TDataSet* dataSet = grid && !grid->IsLoading() ? grid->DataSet() : nullptr;
    Bind(dataSet && !value.isEmpty() ? dataSet->FindField(value) : nullptr);
    Changed(true);
}

bool TOrvoColumn::ForwardsToField() const
{
    const TOrvoCustomDBGrid* grid = Grid();
    return !FStored && grid && grid->DataLink()->Active() && Field();
}

bool TOrvoColumn::IsMemoField() const
{
    const TField* field = Field();
    return field && IsMemoFieldType(field->DataType());
}

// --- Values that follow a default until set ---------------------------------------------------

TAlignment TOrvoColumn::Alignment() const
{
    return FAlignment.OrElse([this] {
        const TField* field = LookupColumn() == lcLookupValueField ? LookupResultFieldObject() : Field();
        return field ? field->Alignment() : taLeftJustify;
    });
}

void TOrvoColumn::SetAlignment(TAlignment value)
{
    if (ForwardsToField()) {
        Field()->SetAlignment(value);
        return;
    }
    if (FAlignment.Set(value))
        Changed(false);
}

bool TOrvoColumn::IsAlignmentStored() const
{
    return FAlignment.DiffersFrom(FField ? FField->Alignment() : taLeftJustify);
}

TColor TOrvoColumn::DefaultColor() const
{
    const TOrvoCustomDBGrid* grid = Grid();
    return grid ? grid->Color() : clWindow;
}

TColor TOrvoColumn::Color() const
{
    return FColor.OrElse([this] { return DefaultColor(); });
}

void TOrvoColumn::SetColor(TColor value)
{
    if (FColor.Set(value))
        Changed(false);
}

bool TOrvoColumn::IsColorStored() const
{
    return FColor.DiffersFrom(DefaultColor());
}

TFont TOrvoColumn::Font() const
{
    return FFont.OrElse([this] {
        const TOrvoCustomDBGrid* grid = Grid();
        return grid ? grid->Font() : FFont.Value();
    });
}

void TOrvoColumn::SetFont(const TFont& value)
{
    if (FFont.Set(value))
        Changed(true);
}

TImeMode TOrvoColumn::ImeMode() const
{
    return FAssigned.Contains(avImeMode) ? FImeMode : imDontCare;
}

void TOrvoColumn::SetImeMode(TImeMode value)
{
    FImeMode = value;
    FAssigned.Include(avImeMode);
}

bool TOrvoColumn::IsImeModeStored() const
{
    return FAssigned.Contains(avImeMode) && FImeMode != imDontCare;
}

QString TOrvoColumn::ImeName() const
{
    return FAssigned.Contains(avImeName) ? FImeName : QString();
}

void TOrvoColumn::SetImeName(const QString& value)
{
    FImeName = value;
    FAssigned.Include(avImeName);
}

bool TOrvoColumn::IsImeNameStored() const
{
    return FAssigned.Contains(avImeName) && !FImeName.isEmpty();
}

bool TOrvoColumn::ReadOnly() const
{
    if (FAssigned.Contains(avReadOnly))
        return FReadOnly;
    const TOrvoCustomDBGrid* grid = Grid();
    const TField* field = Field();
    return (grid && grid->ReadOnly()) || (field && field->ReadOnly());
}

void TOrvoColumn::SetReadOnly(bool value)
{
    if (ForwardsToField()) {
        Field()->SetReadOnly(value);
        return;
    }
    if (FAssigned.Contains(avReadOnly) && FReadOnly == value)
        return;
    FReadOnly = value;
    FAssigned.Include(avReadOnly);
    Changed(false);
}

bool TOrvoColumn::IsReadOnlyStored() const
{
    if (!FAssigned.Contains(avReadOnly))
        return false;
    const TOrvoCustomDBGrid* grid = Grid();
    const bool inherited = (grid && grid->ReadOnly()) || (FField && FField->ReadOnly());
    return FReadOnly != inherited;
}

// --- Widths -----------------------------------------------------------------------------------

bool TOrvoColumn::ColLines() const
{
    const TOrvoCustomDBGrid* grid = Grid();
    return !grid || grid->Options().Contains(dgColLines);
}

int TOrvoColumn::VerticalLineWidth() const
{
    const TOrvoCustomDBGrid* grid = Grid();
    return grid && ColLines() ? grid->GridLineWidth() : 0;
}

int TOrvoColumn::DefaultWidth() const
{
    const TOrvoCustomDBGrid* grid = Grid();
    if (!grid)
        return NoGridWidth;
    const TField* field = LookupColumn() == lcLookupValueField ? LookupResultFieldObject() : Field();
    if (!field)
        return grid->DefaultColWidth();
    TCanvas canvas;
    canvas.Font() = Font();
    const int overhang = canvas.TextOverhang();
    int width = (canvas.TextWidth(QStringLiteral("0")) - overhang) * field->DisplayWidth() + overhang + 4;
    const TOrvoDBGridOptions options = grid->Options();
    if (options.Contains(dgTitles) && !options.Contains(dgTitleWidthOff)) {
        canvas.Font() = Title()->Font();
        const int titleWidth =
            canvas.TextWidth(Title()->Caption()) + 2 * grid->GridStyle()->TitleColMargin() + 4;
        width = std::max(width, titleWidth);
    }
    if (grid->DefaultWidthMin() >= 0)
        width = std::max(width, grid->DefaultWidthMin());
    if (grid->DefaultWidthMax() >= 0)
        width = std::min(width, grid->DefaultWidthMax());
    return width;
}

int TOrvoColumn::OwnWidth() const
{
    return FAssigned.Contains(avWidth) ? FWidth : DefaultWidth();
}

bool TOrvoColumn::WritingStream() const
{
    const TOrvoDBGridColumns* columns = Columns();
    return columns && columns->WritingStream();
}

// The stored width is the base width while the grid stretches; the grid's own layout passes
// (a drag copied back, a copy of another grid, rebuilt columns) hand over base widths already.
bool TOrvoColumn::StretchesWidth() const
{
    const TOrvoCustomDBGrid* grid = Grid();
    return grid && grid->Stretching() && !grid->DistributingWidths() && grid->LayoutLock() == 0;
}

int TOrvoColumn::Width() const
{
    if (WritingStream())
        return OwnWidth();
    if (!IsShown())
        return -VerticalLineWidth();
    const TOrvoCustomDBGrid* grid = Grid();
    return grid && grid->Stretching() ? grid->ShownColumnWidth(Index()) : OwnWidth();
}

void TOrvoColumn::SetWidth(int value)
{
    value = std::min(value, MaxWidth);
    if (ForwardsToField()) {
        // A default column's width lives in its field, in characters of the column font.
        TCanvas canvas;
        canvas.Font() = Font();
        const int overhang = canvas.TextOverhang();
        const int digit = canvas.TextWidth(QStringLiteral("0")) - overhang;
        const int average = std::max(canvas.AverageCharWidth(), 1);
        Field()->SetDisplayWidth(digit > 0 ? (value + digit / 2 - overhang - 4) / digit
                                           : (value + average / 2 - overhang - 3) / average);
    }
    if (value >= 0) {
        if (FWidthMax >= 0)
            value = std::min(value, FWidthMax);
        if (FWidthMin >= 0)
            value = std::max(value, FWidthMin);
    }
    if (value < (ColLines() ? 0 : 1))
        return;
    if (StretchesWidth()) {
        if (value == Width())
            return;
        value = Grid()->StretchBaseWidth(value);
    }
    // A column being read from a form has no grid to measure its default against: a width
    // equal to the grid-less default is still the one that was saved.
    const bool loading = IsLoading();
    const bool reading = !Collection() && TOrvoDBGridColumns::ReadingStream();
    if (!FAssigned.Contains(avWidth) && value == DefaultWidth() && !loading && !reading)
        return;
    if (loading)
        FLoadedWidth = value;
    StoreWidth(value);
}

void TOrvoColumn::StoreWidth(int value)
{
    if (FAssigned.Contains(avWidth) && FWidth == value)
        return;
    FWidth = value;
    FAssigned.Include(avWidth);
    Changed(true);
}

bool TOrvoColumn::IsWidthStored() const
{
    return FAssigned.Contains(avWidth) && (FWidth != DefaultWidth() || FWidth == NoGridWidth);
}

int TOrvoColumn::WidthBase() const
{
    return OwnWidth();
}

void TOrvoColumn::SetWidthBase(int value)
{
    const TOrvoCustomDBGrid* grid = Grid();
    if (!grid || !grid->Stretching()) {
        SetWidth(value);
        return;
    }
    if (value >= 0)
        StoreWidth(std::min(value, MaxWidth));
}

void TOrvoColumn::SetWidthMax(int value)
{
    if (value < -1)
        return;
    if (value >= 0 && FWidthMin >= 0)
        value = std::max(value, FWidthMin);
    if (value == FWidthMax)
        return;
    FWidthMax = value;
    ApplyWidthLimit(value >= 0 && OwnWidth() > value, value);
}

void TOrvoColumn::SetWidthMin(int value)
{
    if (value < -1)
        return;
    if (value >= 0 && FWidthMax >= 0)
        value = std::min(value, FWidthMax);
    if (value == FWidthMin)
        return;
    FWidthMin = value;
    ApplyWidthLimit(value >= 0 && OwnWidth() < value, value);
}

// A width beyond the new limit moves onto it; while stretching that width is the base, which
// the limit bounds as it is, and the shares the grid hands out must meet the limit at once.
void TOrvoColumn::ApplyWidthLimit(bool beyond, int limit)
{
    const TOrvoCustomDBGrid* grid = Grid();
    const bool stretching = grid && grid->Stretching();
    if (beyond && stretching)
        StoreWidth(limit);
    else if (beyond)
        SetWidth(limit);
    else if (stretching)
        Changed(true);
}

// --- Lookups ----------------------------------------------------------------------------------

TOrvoLookupColumn TOrvoColumn::LookupColumn() const
{
    const TField* field = Field();
    if (!field)
        return lcNotDefined;
    if (field->FieldKind() == fkLookup)
        return lcLookupField;
    if (!LookupDataSet() || LookupKeyField().isEmpty())
        return lcNotDefined;
    if (KeyField().compare(FFieldName, Qt::CaseInsensitive) == 0)
        return LookupKeyField() == LookupResultField() ? lcLookupKeyField : lcLookupValueField;
    return LookupResultField().isEmpty() ? lcNotDefined : lcLookupResultField;
}

QString TOrvoColumn::KeyField() const
{
    const TField* field = Field();
    if (field && field->FieldKind() == fkLookup)
        return field->KeyFields();
    return FKeyField.isEmpty() ? FFieldName : FKeyField;
}

void TOrvoColumn::SetKeyField(const QString& value)
{
    const TField* field = Field();
    if (field && field->FieldKind() == fkLookup)
        return;
    Store(FKeyField, value);
}

bool TOrvoColumn::IsKeyFieldStored() const
{
    return IsLookupStored() && !FKeyField.isEmpty() && FKeyField != FFieldName;
}

TDataSet* TOrvoColumn::LookupDataSet() const
{
    const TField* field = Field();
    if (field && field->FieldKind() == fkLookup)
        return field->LookupDataSet();
    return FLookupDataSet;
}

void TOrvoColumn::SearchLookupDataSet(const std::function<void(TDataSet& lookup)>& search) const
{
    TDataSet* lookup = LookupDataSet();
    const bool wasOpen = lookup->Active();
    if (!wasOpen)
        lookup->Open();
    const auto restore = qScopeGuard([lookup, wasOpen] {
        if (!wasOpen)
            lookup->Close();
    });
    search(*lookup);
}

void TOrvoColumn::SetLookupDataSet(TDataSet* value)
{
    const TField* field = Field();
    if (field && field->FieldKind() == fkLookup)
        return;
    const TOrvoCustomDBGrid* grid = Grid();
    if (value && grid && value == grid->DataSet()) {
        if (grid->IsLoading())
            return;
        throw EDatabaseError(QStringLiteral("Circular datalinks are not allowed"));
    }
    if (FLookupDataSet == value)
        return;
    FLookupDataSet = value;
    Changed(false);
}

QString TOrvoColumn::LookupKeyField() const
{
    const TField* field = Field();
    if (field && field->FieldKind() == fkLookup)
        return field->LookupKeyFields();
    return FLookupKeyField;
}

void TOrvoColumn::SetLookupKeyField(const QString& value)
{
    const TField* field = Field();
    if (field && field->FieldKind() == fkLookup)
        return;
    Store(FLookupKeyField, value);
}

QString TOrvoColumn::LookupResultField() const
{
    const TField* field = Field();
    if (field && field->FieldKind() == fkLookup)
        return field->LookupResultField();
    if (FLookupResultField.isEmpty() && KeyField().compare(FFieldName, Qt::CaseInsensitive) == 0)
        return FLookupKeyField;
    return FLookupResultField;
}

void TOrvoColumn::SetLookupResultField(const QString& value)
{
    const TField* field = Field();
    if (field && field->FieldKind() == fkLookup)
        return;
    Store(FLookupResultField, value);
}

bool TOrvoColumn::IsLookupStored() const
{
    return !(FField && FField->FieldKind() == fkLookup);
}

bool TOrvoColumn::IsLookupResultFieldStored() const
{
    return IsLookupStored() && !FLookupResultField.isEmpty();
}

void TOrvoColumn::SetLookupListFields(const QString& value)
{
    Store(FLookupListFields, value);
}

void TOrvoColumn::SetLookupListTitles(const QString& value)
{
    Store(FLookupListTitles, value);
}

void TOrvoColumn::SetLookupListWidths(const QString& value)
{
    Store(FLookupListWidths, value);
}

void TOrvoColumn::SetLookupParentField(const QString& value)
{
    Store(FLookupParentField, value);
}

void TOrvoColumn::SetLookupTreeViewField(const QString& value)
{
    Store(FLookupTreeViewField, value);
}

TField* TOrvoColumn::LookupResultFieldObject() const
{
    const TDataSet* dataSet = LookupDataSet();
    const QString name = LookupResultField();
    return dataSet && !name.isEmpty() ? dataSet->FindField(name) : nullptr;
}

bool TOrvoColumn::MultiSelectList() const
{
    if (!FListOptions.Contains(loMultiSelectList))
        return false;
    const TField* field = Field();
    if (!field)
        return false;
    switch (field->DataType()) {
    case ftString:
    case ftMemo:
    case ftFmtMemo:
    case ftWideString:
        return LookupColumn() == lcLookupKeyField || !FPickList.isEmpty();
    default:
        return false;
    }
}

// --- Hierarchy --------------------------------------------------------------------------------

bool TOrvoColumn::HasSubColumns() const
{
    const TOrvoDBGridColumns* columns = Columns();
    if (FExpandCols > 0 && (columns ? columns->EffectiveExpandCols(this) : FExpandCols) > 0)
        return true;
    const TField* field = Field();
    return field && (field->DataType() == ftADT || field->DataType() == ftArray);
}

int TOrvoColumn::ColumnDepth() const
{
    int depth = 0;
    for (const TOrvoColumn* parent = FParentColumn; parent; parent = parent->FParentColumn)
        ++depth;
    return depth;
}

int TOrvoColumn::LastSubColumnIndex() const
{
    const TOrvoDBGridColumns* columns = Columns();
    int last = Index();
    if (!columns)
        return last;
    const auto descends = [this](const TOrvoColumn* column) {
        for (const TOrvoColumn* parent = column->FParentColumn; parent; parent = parent->FParentColumn)
            if (parent == this)
                return true;
        return false;
    };
    while (last + 1 < columns->Count() && descends(columns->Items(last + 1)))
        ++last;
    return last;
}

bool TOrvoColumn::Expanded() const
{
    return FExpanded && HasSubColumns();
}

void TOrvoColumn::SetExpanded(bool value)
{
    if (value == FExpanded)
        return;
    TOrvoCustomDBGrid* grid = Grid();
    if (!grid || grid->IsLoading()) {
        FExpanded = value;
        Changed(true);
        return;
    }
    // The typed text belongs to the current column: collapsing may move the cell away
    // from it, after which the link would write it into the new column's field.
    grid->DataLink()->UpdateRecord();
    const bool editorOpen = grid->EditorMode();
    if (editorOpen)
        grid->HideEditor();
    // Stretching that the scroll settings do not keep on would rescale every column here.
    const bool stretching = grid->StretchMode() && !grid->ScrollProp()->AutoStretch();
    if (stretching)
        grid->SetStretchMode(false);
    // The current cell that goes out of sight takes the nearest shown column, searching
    // the way the columns opened (right on expanding, left on collapsing), then the other
    // way: in the layout pass the change brings, or at once when a lock defers that pass.
    const int step = value ? 1 : -1;
    const QPointer<TOrvoColumn> current = grid->SelectedColumn();
    grid->d->FHiddenColumnStep = step;
    const auto restoreStep = qScopeGuard([grid] { grid->d->FHiddenColumnStep = 1; });
    FExpanded = value;
    Changed(true);
    KeepCurrentColumnShown(current, step);
    if (stretching)
        grid->SetStretchMode(true);
    if (editorOpen)
        grid->ShowEditor();
    if (HasSubColumns() && grid->OnColExpand)
        grid->OnColExpand(this);
}

void TOrvoColumn::KeepCurrentColumnShown(const TOrvoColumn* current, int step)
{
    // A cell that moved on already did so in the layout pass.
    TOrvoCustomDBGrid* grid = Grid();
    if (!current || grid->SelectedColumn() != current || current->IsShown())
        return;
    if (const int col = grid->NearestShownGridCol(grid->Col(), step); col >= 0)
        grid->LeaveColumnFor(col);
}

bool TOrvoColumn::Visible() const
{
    return FVisible && (!FParentColumn || FParentColumn->Visible());
}

bool TOrvoColumn::IsShown() const
{
    if (!Visible() || Expanded())
        return false;
    for (const TOrvoColumn* parent = FParentColumn; parent; parent = parent->FParentColumn)
        if (!parent->Expanded())
            return false;
    return true;
}

int TOrvoColumn::ShownWidth() const
{
    if (!Expanded())
        return Visible() ? OwnWidth() + VerticalLineWidth() : 0;
    int width = 0;
    const TOrvoDBGridColumns* columns = Columns();
    const int last = LastSubColumnIndex();
    for (int i = Index() + 1; columns && i <= last; ++i)
        if (columns->Items(i)->FParentColumn == this)
            width += columns->Items(i)->ShownWidth();
    return width;
}

void TOrvoColumn::SetIndex(int value)
{
    if (value == Index() || !Collection())
        return;
    TOrvoCustomDBGrid* grid = Grid();
    if (!FStored && grid && grid->DataLink()->Active() && Field())
        MoveField(value);
    else
        MoveWithSubColumns(value);
}

void TOrvoColumn::MoveField(int value)
{
    const TOrvoDBGridColumns* columns = Columns();
    TOrvoColumn* target = columns->Items(std::clamp(value, 0, columns->Count() - 1));
    while (target->FParentColumn)
        target = target->FParentColumn;
    const TField* targetField = target->Field();
    TOrvoCustomDBGrid* grid = Grid();
    // A target without a field (an auto column) leaves the fields where they are; the
    // pass runs all the same, giving back the widths a title drag already moved.
    grid->BeginLayout();
    const auto endLayout = Finally([grid] { grid->EndLayout(); });
    if (targetField)
        Field()->SetIndex(targetField->Index());
}

void TOrvoColumn::MoveWithSubColumns(int value)
{
    TOrvoDBGridColumns* columns = Columns();
    const int from = Index();
    const int count = LastSubColumnIndex() - from + 1;
    const int to = std::clamp(value, 0, columns->Count() - count);
    if (to == from)
        return;
    QList<TOrvoColumn*> block;
    for (int i = from; i < from + count; ++i)
        block << columns->Items(i);
    columns->BeginUpdate();
    const auto endUpdate = Finally([columns] { columns->EndUpdate(); });
    // Moving the block item by item keeps it whole: each lands right after the previous.
    for (int i = 0; i < count; ++i)
        block[i]->TCollectionItem::SetIndex(to > from ? to + count - 1 : to + i);
}

// --- Texts ------------------------------------------------------------------------------------

QString TOrvoColumn::DisplayName() const
{
    const TField* field = Field();
    QString name = FParentColumn && field && field->ParentField() ? field->FieldName() : FFieldName;
    if (!name.isEmpty() && LookupColumn() == lcLookupValueField)
        name = QStringLiteral("%1[%2]").arg(LookupResultField(), FFieldName);
    if (name.isEmpty()) {
        const QString caption = Title()->Caption();
        if (caption.isEmpty())
            return TCollectionItem::DisplayName();
        name = QLatin1Char('(') + (caption.size() > 20 ? caption.left(20) + QStringLiteral("...") : caption) +
               QLatin1Char(')');
    }
    return FParentColumn ? FParentColumn->DisplayName() + QLatin1Char('.') + name : name;
}

QString TOrvoColumn::FieldText(TTextKind kind) const
{
    const TField* field = Field();
    if (!field)
        return {};
    if (kind == tkEdit)
        return IsMemoField() && FEditMemo && !field->HasGetTextHandler() ? field->AsString()
                                                                         : field->EditText();
    return IsMemoField() && !FShowBlob ? field->AsString() : field->DisplayText();
}

QString TOrvoColumn::DisplayText() const
{
    TOrvoCustomDBGrid* grid = Grid();
    return grid ? grid->ColGetText(const_cast<TOrvoColumn*>(this), tkDisplay) : FieldText(tkDisplay);
}

QString TOrvoColumn::EditText() const
{
    TOrvoCustomDBGrid* grid = Grid();
    return grid ? grid->ColGetText(const_cast<TOrvoColumn*>(this), tkEdit) : FieldText(tkEdit);
}

void TOrvoColumn::StoreEditText(const QString& text)
{
    TField* field = Field();
    if (!field || text == EditText())
        return;
    QString stored = text;
    TOrvoCustomDBGrid* grid = Grid();
    // A list that closes the editor on its choice leaves the chosen text in the editor, so
    // that closing the editor stores that text and not what was typed before.
    if (grid && grid->EditorMode() && FListOptions.Contains(loAutoCloseEditor) &&
        !grid->Options().Contains(dgAlwaysShowEditor) &&
        !(MultiSelectList() && FListOptions.Contains(loAutoApplyList)))
        grid->SetEditorText(text);
    if (grid)
        grid->ColSetText(this, stored);
    if (IsMemoField() && FEditMemo && !field->HasSetTextHandler())
        field->SetAsString(stored);
    else
        field->SetEditText(stored);
    if (grid && grid->OnColTextChanged)
        grid->OnColTextChanged(grid);
}

TCheckBoxState TOrvoColumn::CheckBoxStateOf(const QString& text) const
{
    const int separator = FCheckBoxValues.indexOf(QLatin1Char(';'));
    const QString checked = separator < 0 ? FCheckBoxValues : FCheckBoxValues.left(separator);
    if (text.compare(checked, Qt::CaseInsensitive) == 0)
        return cbChecked;
    if (separator >= 0 && text.compare(FCheckBoxValues.mid(separator + 1), Qt::CaseInsensitive) == 0)
        return cbUnchecked;
    return cbGrayed;
}

TCheckBoxState TOrvoColumn::CheckBoxState() const
{
    if (Field())
        return CheckBoxStateOf(EditText());
    // A check box without a field is the row's selection mark.
    const TOrvoCustomDBGrid* grid = Grid();
    const bool selected = grid && grid->DataLink()->Active() && grid->SelectedRows()->CurrentRowSelected();
    return selected ? cbChecked : cbUnchecked;
}

int TOrvoColumn::CheckBoxImageIndex(TCheckBoxState state, int imageCount) const
{
    // An index at or past the end of the strip has no image: the first kind's glyph stands in.
    const int index = int(state) + 3 * int(FCheckBoxKind);
    return index < imageCount ? index : int(state);
}

bool TOrvoColumn::ToggleCheckBox()
{
    TOrvoCustomDBGrid* grid = Grid();
    if (!grid || !grid->DataLink()->Active())
        return false;
    if (!Field()) {
        TOrvoBookmarkList* rows = grid->SelectedRows();
        rows->SetCurrentRowSelected(!rows->CurrentRowSelected());
        return true;
    }
    // The grid's permission check is for its current cell, and puts the dataset in edit mode.
    if (grid->SelectedColumn() != this || !grid->CanEditModify())
        return false;
    const int separator = FCheckBoxValues.indexOf(QLatin1Char(';'));
    const QString checked = separator < 0 ? FCheckBoxValues : FCheckBoxValues.left(separator);
    const QString unchecked = separator < 0 ? QString() : FCheckBoxValues.mid(separator + 1);
    StoreEditText(CheckBoxState() == cbChecked ? unchecked : checked);
    return true;
}

int TOrvoColumn::ExpandBoxState() const
{
    const TOrvoCustomDBGrid* grid = Grid();
    const TOrvoDBGridTreeView* tree = grid ? grid->TreeView() : nullptr;
    if (!tree || !tree->RowStateField() || !tree->RowHasChildren())
        return 2;
    return tree->RowExpanded() ? 1 : 0;
}

int TOrvoColumn::ImageIndex() const
{
    if (FCheckBox) {
        const TOrvoCustomDBGrid* grid = Grid();
        const TCustomImageList* images = FImages ? FImages.data() : grid ? grid->CheckBoxList() : nullptr;
        return CheckBoxImageIndex(CheckBoxState(), images ? images->Count() : 0);
    }
    if (FExpandBox)
        return ExpandBoxState();
    return FieldImageIndex();
}

int TOrvoColumn::FieldImageIndex() const
{
    const TField* field = Field();
    if (field && field->DataType() == ftBoolean)
        return field->IsNull() ? -1 : int(field->AsBoolean());
    const QString text = field ? field->AsString() : DisplayText();
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return 0;
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return 1;
    bool ok = false;
    const int index = text.toInt(&ok);
    return ok ? index : -1;
}

} // namespace orvo
