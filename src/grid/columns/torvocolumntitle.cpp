#include "grid/columns/torvocolumntitle.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "platform/data/tfield.h"

#include <QMenu>

#include <algorithm>

namespace orvo {

namespace {

QString Part(const QString& text, int level)
{
    const QStringList parts = text.split(QLatin1Char('|'));
    return level >= 0 && level < parts.size() ? parts[level] : QString();
}

} // namespace

TOrvoColumnTitle::TOrvoColumnTitle(TOrvoColumn* column) : TPersistent(column), FColumn(column) {}

TOrvoCustomDBGrid* TOrvoColumnTitle::Grid() const
{
    return FColumn ? FColumn->Grid() : nullptr;
}

template <typename T> void TOrvoColumnTitle::Store(T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    Changed();
}

void TOrvoColumnTitle::Changed()
{
    // The title's height and the column's default width both depend on the title.
    if (FColumn)
        FColumn->Changed(true);
}

// --- Values that follow a default until set ---------------------------------------------------

TAlignment TOrvoColumnTitle::Alignment() const
{
    return FAlignment.Or(taLeftJustify);
}

void TOrvoColumnTitle::SetAlignment(TAlignment value)
{
    if (FAlignment.Set(value))
        Changed();
}

bool TOrvoColumnTitle::IsAlignmentStored() const
{
    return FAlignment.DiffersFrom(taLeftJustify);
}

QString TOrvoColumnTitle::DefaultCaption() const
{
    if (!FColumn)
        return {};
    const TField* field =
        FColumn->LookupColumn() == lcLookupValueField ? FColumn->LookupResultFieldObject() : FColumn->Field();
    return field ? field->DisplayName() : FColumn->FieldName();
}

QString TOrvoColumnTitle::Caption() const
{
    return FCaption.OrElse([this] { return DefaultCaption(); });
}

void TOrvoColumnTitle::SetCaption(const QString& value)
{
    const TOrvoCustomDBGrid* grid = Grid();
    if (FColumn && !FColumn->Stored() && grid && grid->DataLink()->Active() && FColumn->Field()) {
        // A default column shows its field's label: the label is what changes.
        FColumn->Field()->SetDisplayLabel(value);
        return;
    }
    if (FCaption.Set(value))
        Changed();
}

bool TOrvoColumnTitle::IsCaptionStored() const
{
    return FCaption.DiffersFrom(DefaultCaption());
}

TColor TOrvoColumnTitle::DefaultColor() const
{
    const TOrvoCustomDBGrid* grid = Grid();
    return grid ? grid->FixedColor() : clBtnFace;
}

TColor TOrvoColumnTitle::Color() const
{
    return FColor.OrElse([this] { return DefaultColor(); });
}

void TOrvoColumnTitle::SetColor(TColor value)
{
    if (FColor.Set(value))
        Changed();
}

bool TOrvoColumnTitle::IsColorStored() const
{
    return FColor.DiffersFrom(DefaultColor());
}

TFont TOrvoColumnTitle::Font() const
{
    return FFont.OrElse([this] {
        if (const TOrvoCustomDBGrid* grid = Grid())
            return grid->TitleFont();
        return FColumn ? FColumn->Font() : FFont.Value();
    });
}

void TOrvoColumnTitle::SetFont(const TFont& value)
{
    if (FFont.Set(value))
        Changed();
}

// --- Plain settings ---------------------------------------------------------------------------

void TOrvoColumnTitle::SetAutoFilter(bool value)
{
    Store(FAutoFilter, value);
}

void TOrvoColumnTitle::SetAutoFilters(TFilterStyles value)
{
    Store(FAutoFilters, value);
}

void TOrvoColumnTitle::SetAutoToggle(bool value)
{
    FAutoToggle = value;
}

void TOrvoColumnTitle::SetButton(bool value)
{
    Store(FButton, value);
}

QMenu* TOrvoColumnTitle::DropDownMenu() const
{
    return FDropDownMenu;
}

void TOrvoColumnTitle::SetDropDownMenu(QMenu* value)
{
    if (FDropDownMenu == value)
        return;
    FDropDownMenu = value;
    if (!FColumn)
        return;
    if (value && FColumn->ExpandStyle() == cesAuto)
        FColumn->SetExpandStyle(cesDropDownMenu);
    else if (!value && FColumn->ExpandStyle() == cesDropDownMenu)
        FColumn->SetExpandStyle(cesAuto);
}

void TOrvoColumnTitle::SetEllipsis(bool value)
{
    Store(FEllipsis, value);
}

void TOrvoColumnTitle::SetHeader(const QString& value)
{
    Store(FHeader, value);
}

void TOrvoColumnTitle::SetHeaderHint(const QString& value)
{
    FHeaderHint = value;
}

void TOrvoColumnTitle::SetHint(const QString& value)
{
    FHint = value;
}

void TOrvoColumnTitle::SetImageIndex(int value)
{
    Store(FImageIndex, value);
}

QMenu* TOrvoColumnTitle::PopupMenu() const
{
    return FPopupMenu;
}

void TOrvoColumnTitle::SetPopupMenu(QMenu* value)
{
    FPopupMenu = value;
}

void TOrvoColumnTitle::SetVAlignment(TVAlignment value)
{
    Store(FVAlignment, value);
}

void TOrvoColumnTitle::SetWordWrap(bool value)
{
    Store(FWordWrap, value);
}

// --- Markers ----------------------------------------------------------------------------------

TOrvoDBGridOptions TOrvoColumnTitle::GridOptions() const
{
    return Grid()->Options();
}

QList<QPointer<TOrvoColumn>>& TOrvoColumnTitle::OrderList() const
{
    return FColumn->Columns()->OrderList();
}

void TOrvoColumnTitle::StoreMarker(int markerIndex)
{
    FMarkerIndex = markerIndex;
    FMarker = markerIndex < 0 ? tmNone : markerIndex % 2 ? tmDescend : tmAscend;
    Changed();
}

void TOrvoColumnTitle::SetMarkerIndex(int value)
{
    if (value < 0 || value > MaxMarkerIndex)
        value = -1;
    if (value == FMarkerIndex)
        return;
    // A title outside a grid (one being read from a stream) keeps what it is given: the
    // grid's order list takes it in when the columns join the grid.
    TOrvoCustomDBGrid* grid = Grid();
    if (!grid) {
        StoreMarker(value);
        return;
    }
    grid->InOrderUpdate([this, value] { ApplyMarkerIndex(value); });
}

void TOrvoColumnTitle::ApplyMarkerIndex(int value)
{
    const TOrvoDBGridOptions options = GridOptions();
    QList<QPointer<TOrvoColumn>>& list = OrderList();
    if (value >= 0) {
        if (options.Contains(dgMarkerAscendOnly))
            value &= ~1;
        if (!list.contains(FColumn))
            list.append(FColumn);
        if (options.Contains(dgMarkerAutoSwitch))
            value &= 1;
        else if (options.Contains(dgMarkerAutoToggle))
            value = 2 * int(list.indexOf(FColumn)) + (value & 1) + 2;
    } else {
        list.removeAll(FColumn);
        if (!options.Contains(dgMarkerAutoSwitch))
            FColumn->Columns()->RefreshMarkers();
    }
    StoreMarker(value);
}

void TOrvoColumnTitle::SetMarker(TMarker value)
{
    if (value == FMarker)
        return;
    TOrvoCustomDBGrid* grid = Grid();
    if (!grid) {
        StoreMarker(value == tmNone ? -1 : (std::max(0, FMarkerIndex) & ~1) | (value - 1));
        return;
    }
    grid->InOrderUpdate([this, value] { ApplyMarker(value); });
}

void TOrvoColumnTitle::ApplyMarker(TMarker value)
{
    const TOrvoDBGridOptions options = GridOptions();
    if (value == tmDescend && options.Contains(dgMarkerAscendOnly))
        value = tmAscend;
    QList<QPointer<TOrvoColumn>>& list = OrderList();
    if (value != tmNone && options.Contains(dgMarkerAutoSwitch)) {
        // This title keeps its place while every other marker goes.
        FMarker = tmNone;
        FColumn->Columns()->ClearMarkers();
    }
    if (value != tmNone) {
        if (!list.contains(FColumn))
            list.append(FColumn);
    } else {
        list.removeAll(FColumn);
        if (!options.Contains(dgMarkerAutoSwitch))
            FColumn->Columns()->RefreshMarkers();
    }
    FMarker = value;
    const int index = value == tmNone ? -1 : (std::max(0, FMarkerIndex) & ~1) | (value - 1);
    if (index == FMarkerIndex)
        StoreMarker(index);
    else
        SetMarkerIndex(index);
}

int TOrvoColumnTitle::OrderIndex() const
{
    return FMarkerIndex < 0 ? -1 : FMarkerIndex / 2;
}

void TOrvoColumnTitle::SetOrderIndex(int value)
{
    if (value == OrderIndex())
        return;
    TOrvoCustomDBGrid* grid = Grid();
    if (value < 0) {
        SetMarkerIndex(value);
        return;
    }
    const TOrvoDBGridOptions options = grid ? GridOptions() : TOrvoDBGridOptions{};
    if (!options.Contains(dgMarkerAutoToggle) || options.Contains(dgMarkerAutoSwitch)) {
        SetMarkerIndex(2 * value + (FMarker == tmDescend ? 1 : 0));
        return;
    }
    const int position = value > 0 ? value - 1 : 0;
    if (position == OrderList().indexOf(FColumn))
        return;
    grid->InOrderUpdate([this, position] { MoveInOrder(position); });
}

void TOrvoColumnTitle::MoveInOrder(int position)
{
    QList<QPointer<TOrvoColumn>>& list = OrderList();
    list.removeAll(FColumn);
    list.insert(std::min(position, int(list.size())), FColumn);
    FColumn->Columns()->RefreshMarkers();
}

void TOrvoColumnTitle::ToggleMarker(bool force)
{
    TOrvoCustomDBGrid* grid = Grid();
    if (!grid)
        return;
    grid->InOrderUpdate([this, force] { AdvanceMarker(force); });
}

void TOrvoColumnTitle::AdvanceMarker(bool force)
{
    const TOrvoDBGridOptions options = GridOptions();
    const bool ascendOnly = options.Contains(dgMarkerAscendOnly);
    const bool clearAllowed = Grid()->OptionsExt().Contains(dgMarkerClearAllowed);
    QList<QPointer<TOrvoColumn>>& list = OrderList();
    bool nextDescending = false;
    if (force || options.Contains(dgMarkerAutoSwitch)) {
        nextDescending = FMarker == tmAscend && !ascendOnly;
        const int position = int(list.indexOf(FColumn));
        FColumn->Columns()->ClearMarkers();
        // A single descending marker that may be cleared goes with this click.
        if (clearAllowed && options.Contains(dgMarkerAutoSwitch) && !nextDescending && position == 0)
            return;
    }
    if (FColumn->FieldName().isEmpty())
        return;
    const int position = int(list.indexOf(FColumn));
    if (position < 0) {
        if (list.size() < TOrvoCustomDBGrid::MaxOrderCount)
            SetMarkerIndex(2 * int(list.size()) + 2 + (nextDescending ? 1 : 0));
    } else if (FMarker == tmAscend && !ascendOnly) {
        SetMarker(tmDescend);
    } else if (position == list.size() - 1 && (position > 0 || clearAllowed)) {
        SetMarker(tmNone);
    } else {
        SetMarker(tmAscend);
    }
}

// --- Headers ----------------------------------------------------------------------------------

bool TOrvoColumnTitle::InReportHeaderMode() const
{
    const TOrvoDBGridColumns* columns = FColumn ? FColumn->Columns() : nullptr;
    return columns && columns->ReportHeaderMode();
}

QString TOrvoColumnTitle::HeaderText() const
{
    const TOrvoColumn* parent = FColumn ? FColumn->ParentColumn() : nullptr;
    if (!parent || !InReportHeaderMode())
        return FHeader;
    const QString parentHeader = parent->Title()->HeaderText();
    const QString parentCaption = parent->Title()->Caption();
    QString header;
    if (parentHeader.isEmpty())
        header = parentCaption.isEmpty() ? QStringLiteral(" ") : parentCaption;
    else
        header = parentHeader + QLatin1Char('|') + parentCaption;
    if (!FHeader.isEmpty())
        header += QLatin1Char('|') + FHeader;
    return header;
}

int TOrvoColumnTitle::HeaderLevels() const
{
    const QString header = HeaderText();
    return header.isEmpty() ? 0 : 1 + int(header.count(QLatin1Char('|')));
}

QString TOrvoColumnTitle::HeaderPart(int level) const
{
    return Part(HeaderText(), level);
}

QString TOrvoColumnTitle::HeaderHintPart(int level) const
{
    return Part(FHeaderHint, level);
}

bool TOrvoColumnTitle::SharesHeaderWith(const TOrvoColumn* other, int level) const
{
    if (!FColumn || !other || level < 0)
        return false;
    const TOrvoColumnTitle* otherTitle = other->Title();
    if (level >= HeaderLevels() || level >= otherTitle->HeaderLevels())
        return false;
    if (!InReportHeaderMode() && FColumn->ParentColumn() != other->ParentColumn())
        return false;
    const QStringList mine = HeaderText().split(QLatin1Char('|'));
    const QStringList theirs = otherTitle->HeaderText().split(QLatin1Char('|'));
    return mine.mid(0, level + 1) == theirs.mid(0, level + 1);
}

TOrvoColumn* TOrvoColumnTitle::NeighbourSharingHeader(int level, int step) const
{
    const TOrvoDBGridColumns* columns = FColumn ? FColumn->Columns() : nullptr;
    if (!columns || !FColumn->IsShown())
        return nullptr;
    // Every column, shown or not, has its grid column, so the frozen count counts collection
    // columns; a header never spans the boundary.
    const TOrvoCustomDBGrid* grid = columns->Grid();
    const int frozen = grid ? grid->FixedColsProperty() : 0;
    int index = FColumn->Index() + step;
    while (index >= 0 && index < columns->Count() && !columns->Items(index)->IsShown())
        index += step;
    if (index < 0 || index >= columns->Count())
        return nullptr;
    TOrvoColumn* neighbour = columns->Items(index);
    const bool sameSide = (FColumn->Index() < frozen) == (index < frozen);
    return sameSide && SharesHeaderWith(neighbour, level) ? neighbour : nullptr;
}

TOrvoColumn* TOrvoColumnTitle::PriorHeaderColumn(int level) const
{
    return NeighbourSharingHeader(level, -1);
}

TOrvoColumn* TOrvoColumnTitle::NextHeaderColumn(int level) const
{
    return NeighbourSharingHeader(level, 1);
}

// --- Restoring and copying --------------------------------------------------------------------

void TOrvoColumnTitle::RestoreDefaults()
{
    // The marker belongs to the grid's sort order, which the order list keeps.
    const int markerIndex = FMarkerIndex;
    const TMarker marker = FMarker;
    const TOrvoColumnTitle defaults(nullptr);
    Assign(&defaults);
    FAlignment.Forget();
    FCaption.Forget();
    FColor.Forget();
    FFont.Forget();
    FMarkerIndex = markerIndex;
    FMarker = marker;
    Changed();
}

void TOrvoColumnTitle::Assign(const TPersistent* source)
{
    const auto* other = qobject_cast<const TOrvoColumnTitle*>(source);
    if (!other)
        AssignError(source);
    if (other == this)
        return;
    // Own values only where the source has them: the rest keeps following its defaults.
    if (other->FAlignment.IsSet())
        SetAlignment(other->FAlignment.Value());
    if (other->FCaption.IsSet())
        SetCaption(other->FCaption.Value());
    if (other->FColor.IsSet())
        SetColor(other->FColor.Value());
    if (other->FFont.IsSet())
        SetFont(other->FFont.Value());
    FAutoFilter = other->FAutoFilter;
    FAutoFilters = other->FAutoFilters;
    FAutoToggle = other->FAutoToggle;
    FButton = other->FButton;
    FDropDownMenu = other->FDropDownMenu;
    FEllipsis = other->FEllipsis;
    FHeader = other->FHeader;
    FHeaderHint = other->FHeaderHint;
    FHint = other->FHint;
    FImageIndex = other->FImageIndex;
    FMarkerIndex = other->FMarkerIndex;
    FMarker = other->FMarker;
    FPopupMenu = other->FPopupMenu;
    FVAlignment = other->FVAlignment;
    FWordWrap = other->FWordWrap;
    Changed();
}

} // namespace orvo
