#include "grid/columns/torvodbgridcolumns.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvocolumnswrapper.h"
#include "grid/columns/torvocolumntitle.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvocustomdbgrid_p.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "platform/core/exceptions.h"
#include "platform/core/tformreader.h"
#include "platform/core/tformwriter.h"
#include "platform/core/tscopecleanup.h"
#include "platform/data/tdataset.h"
#include "platform/data/tfield.h"
#include "platform/data/tfields.h"

#include <QFile>
#include <QSaveFile>
#include <QScopeGuard>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace orvo {

namespace {

bool IsObjectField(const TField* field)
{
    return field && (field->DataType() == ftADT || field->DataType() == ftArray);
}

/// Runs `action` between `begin` and `end`, closing the bracket however it ends.
template <typename Begin, typename End, typename F> void Bracket(Begin&& begin, End&& end, F&& action)
{
    begin();
    const auto close = Finally(end);
    action();
}

/// Runs `action` inside a layout pass of `grid` (directly without a grid).
template <typename F> void InLayout(TOrvoCustomDBGrid* grid, F&& action)
{
    if (!grid) {
        action();
        return;
    }
    Bracket([grid] { grid->BeginLayout(); }, [grid] { grid->EndLayout(); }, action);
}

/// How many LoadFromStream calls of this thread are reading columns.
thread_local int readingStreams = 0;

} // namespace

bool TOrvoDBGridColumns::ReadingStream()
{
    return readingStreams > 0;
}

QString& TOrvoDBGridColumns::NumberColumnCaption()
{
    static QString caption = QStringLiteral("No.");
    return caption;
}

QString& TOrvoDBGridColumns::SelectColumnCaption()
{
    static QString caption = QStringLiteral("Select");
    return caption;
}

QString& TOrvoDBGridColumns::ExpandColumnCaption()
{
    static QString caption = QStringLiteral("Expand");
    return caption;
}

int& TOrvoDBGridColumns::AutoColumnWidth()
{
    static int width = 48;
    return width;
}

TOrvoDBGridColumns::TOrvoDBGridColumns(TOrvoCustomDBGrid* grid) : TCollection(grid), FGrid(grid) {}

TOrvoColumn* TOrvoDBGridColumns::Items(int index) const
{
    return static_cast<TOrvoColumn*>(TCollection::Items(index));
}

TOrvoColumn* TOrvoDBGridColumns::Add()
{
    return static_cast<TOrvoColumn*>(TCollection::Add());
}

TOrvoColumn* TOrvoDBGridColumns::AddDefaultColumn()
{
    // Made unstored before it joins, so that the state never reads customized for it.
    auto* column = static_cast<TOrvoColumn*>(CreateItem());
    column->SetStored(false);
    column->SetCollection(this);
    return column;
}

TOrvoColumn* TOrvoDBGridColumns::InsertColumn(int index)
{
    return static_cast<TOrvoColumn*>(TCollection::Insert(index));
}

TOrvoColumnsState TOrvoDBGridColumns::State() const
{
    return Count() > 0 && Items(Count() - 1)->Stored() ? csCustomized : csDefault;
}

void TOrvoDBGridColumns::SetState(TOrvoColumnsState value)
{
    if (value == State())
        return;
    if (value == csCustomized)
        RebuildColumns();
    else
        InLayout(FGrid, [this] { Clear(); });
}

void TOrvoDBGridColumns::RebuildColumns()
{
    InLayout(FGrid, [this] {
        Bracket([this] { BeginUpdate(); }, [this] { EndUpdate(); }, [this] { MakeColumnsFromFields(); });
    });
}

void TOrvoDBGridColumns::MakeColumnsFromFields()
{
    Clear();
    TDataSet* dataSet = FGrid ? FGrid->DataSet() : nullptr;
    if (!dataSet)
        return;
    QList<TField*> topLevel;
    for (TField* field : dataSet->Fields()->List())
        if (!field->ParentField())
            topLevel << field;
    AddFieldColumns(topLevel);
    AddAutoColumns(true);
}

void TOrvoDBGridColumns::AddAutoColumns(bool stored)
{
    const TOrvoDBGridOptionsExt options = FGrid ? FGrid->OptionsExt() : TOrvoDBGridOptionsExt{};
    if (options.Contains(dgAutoExpandColumn))
        AddExpandColumn(stored);
    if (options.Contains(dgAutoSelectColumn))
        AddSelectColumn(stored);
    if (options.Contains(dgAutoNumberColumn))
        AddNumberColumn(stored);
}

void TOrvoDBGridColumns::AddFieldColumns(const QList<TField*>& fields)
{
    for (TField* field : fields) {
        Add()->SetField(field);
        if (!IsObjectField(field))
            continue;
        QList<TField*> children;
        for (TField* candidate : field->DataSet()->Fields()->List())
            if (candidate->ParentField() == field)
                children << candidate;
        AddFieldColumns(children);
    }
}

TOrvoColumn* TOrvoDBGridColumns::InsertAutoColumn(const QString& caption, bool stored)
{
    TOrvoColumn* column = stored ? InsertColumn(0) : AddDefaultColumn();
    // A default column joins last; it moves to the front as an item, since its own
    // SetIndex may move fields instead.
    if (!stored)
        column->TCollectionItem::SetIndex(0);
    column->SetSuppressRTL(true);
    column->Title()->SetCaption(caption);
    if (FGrid && FGrid->DataLink()->Active())
        column->SetWidth(AutoColumnWidth());
    return column;
}

TOrvoColumn* TOrvoDBGridColumns::AddNumberColumn(bool stored)
{
    TOrvoColumn* column = InsertAutoColumn(NumberColumnCaption(), stored);
    column->SetAutoNumber(true);
    column->SetAlignment(taRightJustify);
    column->Title()->SetAlignment(taRightJustify);
    return column;
}

TOrvoColumn* TOrvoDBGridColumns::AddSelectColumn(bool stored)
{
    TOrvoColumn* column = InsertAutoColumn(SelectColumnCaption(), stored);
    column->SetCheckBox(true);
    column->SetAlignment(taCenter);
    column->Title()->SetAlignment(taCenter);
    return column;
}

TOrvoColumn* TOrvoDBGridColumns::AddExpandColumn(bool stored)
{
    TOrvoColumn* column = InsertAutoColumn(ExpandColumnCaption(), stored);
    column->SetExpandBox(true);
    column->SetExpandBoxSize(ebLarge);
    column->SetAlignment(taCenter);
    column->Title()->SetAlignment(taCenter);
    column->SetTransparent(true);
    return column;
}

void TOrvoDBGridColumns::Assign(const TPersistent* source)
{
    if (!qobject_cast<const TOrvoDBGridColumns*>(source))
        AssignError(source);
    // Stretching would rescale every width while the copies arrive one by one.
    const bool stretching = FGrid && FGrid->StretchMode();
    InLayout(FGrid, [this, source, stretching] {
        Bracket([this, stretching] { SetGridStretching(stretching, false); },
                [this, stretching] { SetGridStretching(stretching, true); },
                [this, source] { TCollection::Assign(source); });
    });
    // The copied titles bring their markers; the order list follows them.
    RebuildOrderList();
}

void TOrvoDBGridColumns::SaveToStream(QIODevice& device) const
{
    TOrvoColumnsWrapper wrapper(const_cast<TOrvoDBGridColumns*>(this));
    wrapper.setObjectName(QStringLiteral("ColumnsWrapper"));
    if (FGrid)
        wrapper.SetOrderFields(FGrid->OrderFields());
    // Hidden and stretched columns must write the width they come back with.
    FWritingStream = true;
    const auto done = qScopeGuard([this] { FWritingStream = false; });
    TFormWriter(device).WriteObject(wrapper);
}

void TOrvoDBGridColumns::LoadFromStream(QIODevice& device)
{
    // Read apart from the grid, so that a bad stream leaves the columns untouched and the
    // grid sees no half-read column. The grid's own factory makes the collection, so that
    // a grid with columns of its own class reads their properties too.
    std::unique_ptr<TOrvoDBGridColumns> fresh(FGrid ? FGrid->CreateColumns()
                                                    : new TOrvoDBGridColumns(nullptr));
    fresh->FGrid = nullptr;
    fresh->setParent(nullptr);
    TOrvoColumnsWrapper wrapper(fresh.get());
    Bracket([] { ++readingStreams; }, [] { --readingStreams; },
            [&] { TFormReader(device).ReadObject(wrapper); });
    FOrderList.clear();
    Assign(fresh.get());
    if (FGrid)
        FGrid->SetOrderFields(wrapper.OrderFields());
}

void TOrvoDBGridColumns::SaveToFile(const QString& fileName) const
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EStreamError(QStringLiteral("Cannot create file \"%1\": %2").arg(fileName, file.errorString()));
    SaveToStream(file);
    if (!file.commit())
        throw EStreamError(QStringLiteral("Cannot write file \"%1\": %2").arg(fileName, file.errorString()));
}

void TOrvoDBGridColumns::LoadFromFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EStreamError(QStringLiteral("Cannot open file \"%1\": %2").arg(fileName, file.errorString()));
    LoadFromStream(file);
}

void TOrvoDBGridColumns::RebuildOrderList()
{
    QList<TOrvoColumn*> marked;
    for (int i = 0; i < Count(); ++i) {
        if (Items(i)->Title()->MarkerIndex() >= 0)
            marked << Items(i);
    }
    std::stable_sort(marked.begin(), marked.end(), [](const TOrvoColumn* a, const TOrvoColumn* b) {
        return a->Title()->OrderIndex() < b->Title()->OrderIndex();
    });
    FOrderList.clear();
    for (TOrvoColumn* column : marked)
        FOrderList << column;
}

void TOrvoDBGridColumns::SetGridStretching(bool wasStretching, bool value)
{
    if (wasStretching)
        FGrid->SetStretchMode(value);
}

// --- Markers ------------------------------------------------------------------------------------

namespace {

/// Runs `action` inside the grid's order bracket (directly without a grid).
template <typename F> void InOrderUpdate(TOrvoCustomDBGrid* grid, F&& action)
{
    if (grid)
        grid->InOrderUpdate(std::forward<F>(action));
    else
        action();
}

} // namespace

void TOrvoDBGridColumns::ClearMarkers()
{
    InOrderUpdate(FGrid, [this] {
        for (int i = 0; i < Count(); ++i)
            Items(i)->Title()->SetMarker(tmNone);
        FOrderList.clear();
    });
}

void TOrvoDBGridColumns::RefreshMarkers()
{
    // The numbering follows the grid's marker options: without a grid there are none.
    if (FGrid)
        FGrid->InOrderUpdate([this] { RefreshMarkersInBracket(); });
}

void TOrvoDBGridColumns::RefreshMarkersInBracket()
{
    const TOrvoDBGridOptions options = FGrid->Options();
    const bool ascendOnly = options.Contains(dgMarkerAscendOnly);
    const auto descending = [ascendOnly](const TOrvoColumn* column) {
        return column->Title()->Marker() == tmDescend && !ascendOnly ? 1 : 0;
    };
    FOrderList.removeAll(nullptr);
    const QList<QPointer<TOrvoColumn>> order = FOrderList;
    if (options.Contains(dgMarkerAutoSwitch)) {
        if (order.isEmpty())
            return;
        // Only the first column keeps its marker, unnumbered.
        TOrvoColumn* first = order.first();
        const int direction = descending(first);
        ClearMarkers();
        first->Title()->SetMarkerIndex(direction);
    } else if (options.Contains(dgMarkerAutoToggle)) {
        for (int i = 0; i < order.size(); ++i)
            order[i]->Title()->SetMarkerIndex(2 * i + 2 + descending(order[i]));
    } else if (ascendOnly) {
        for (const QPointer<TOrvoColumn>& column : order)
            column->Title()->SetMarker(tmAscend);
    }
}

// --- Sub-columns ------------------------------------------------------------------------------------

namespace {

bool DescendsFromField(const TField* field, const TField* ancestor)
{
    for (const TField* parent = field ? field->ParentField() : nullptr; parent;
         parent = parent->ParentField())
        if (parent == ancestor)
            return true;
    return false;
}

} // namespace

int TOrvoDBGridColumns::EffectiveExpandCols(const TOrvoColumn* column) const
{
    if (!FExpandColsValid)
        UpdateEffectiveExpandCols();
    return column->FEffectiveExpandCols;
}

void TOrvoDBGridColumns::UpdateEffectiveExpandCols() const
{
    // Right to left, so that the sub-trees a column covers are known when it is reached.
    FExpandColsValid = true;
    const int count = Count();
    std::vector<int> subTreeEnd(count);
    for (int i = count - 1; i >= 0; --i) {
        TOrvoColumn* column = Items(i);
        int end = i;
        const int covered = std::min(column->ExpandCols(), count - 1 - i);
        for (int j = i + 1; j <= i + covered; ++j)
            end = std::max(end, subTreeEnd[j]);
        const TField* field = column->Field();
        if (IsObjectField(field))
            while (end + 1 < count && DescendsFromField(Items(end + 1)->Field(), field))
                end = std::max(end + 1, subTreeEnd[end + 1]);
        subTreeEnd[i] = end;
        column->FEffectiveExpandCols = column->ExpandCols() > 0 ? end - i : 0;
    }
}

void TOrvoDBGridColumns::UpdateParentColumns()
{
    for (int i = 0; i < Count(); ++i) {
        TOrvoColumn* column = Items(i);
        const TField* field = column->Field();
        column->FParentColumn = field && field->ParentField() ? FindParentByField(i, field->ParentField())
                                                              : FindParentByExpandCols(i);
    }
}

TOrvoColumn* TOrvoDBGridColumns::FindParentByField(int index, const TField* parentField) const
{
    for (int j = index - 1; j >= 0; --j)
        if (Items(j)->Field() == parentField)
            return Items(j);
    return nullptr;
}

TOrvoColumn* TOrvoDBGridColumns::FindParentByExpandCols(int index) const
{
    for (int j = index - 1; j >= 0; --j) {
        TOrvoColumn* candidate = Items(j);
        if (EffectiveExpandCols(candidate) >= index - j)
            return candidate;
        if (!candidate->ParentColumn())
            break;
    }
    return nullptr;
}

TCollectionItem* TOrvoDBGridColumns::CreateItem()
{
    return new TOrvoColumn();
}

bool TOrvoDBGridColumns::IsLoading() const
{
    return FGrid && FGrid->IsLoading();
}

void TOrvoDBGridColumns::Update(TCollectionItem* item)
{
    FExpandColsValid = false;
    if (IsLoading())
        return;
    UpdateParentColumns();
    if (!FGrid)
        return;
    if (item)
        FGrid->InvalidateGrid();
    else
        FGrid->LayoutChanged();
}

void TOrvoDBGridColumns::Notify(TCollectionItem* item, TCollectionNotification action)
{
    FExpandColsValid = false;
    if (action == cnAdded)
        return;
    // The leaving column must not stay reachable through the order list or as a parent.
    auto* column = static_cast<TOrvoColumn*>(item);
    FOrderList.removeAll(column);
    // The grid's list of shown columns lasts until its next layout pass, which an
    // update lock may hold off past the column's deletion.
    if (FGrid) {
        std::vector<TOrvoColumn*>& shown = FGrid->d->FShownColumns;
        shown.erase(std::remove(shown.begin(), shown.end(), column), shown.end());
    }
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->FParentColumn == column)
            Items(i)->FParentColumn = nullptr;
}

} // namespace orvo
