#include "grid/selection/torvobookmarklist.h"

#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "grid/selection/tcompactbookmarks.h"
#include "platform/core/exceptions.h"
#include "platform/core/tscopecleanup.h"
#include "platform/data/tdataset.h"

namespace orvo {

namespace {

/// Opens a selection batch of the grid for the enclosing operation, so that its row
/// changes are reported once, however the operation ends.
[[nodiscard]] auto SelectionBatch(TOrvoCustomDBGrid* grid)
{
    grid->BeginSelectionUpdate();
    return Finally([grid] { grid->EndSelectionUpdate(); });
}

} // namespace

TOrvoBookmarkList::TOrvoBookmarkList(TOrvoCustomDBGrid* grid)
    : FGrid(grid), FBookmarks(std::make_unique<TCompactBookmarks>())
{}

TOrvoBookmarkList::~TOrvoBookmarkList() = default;

int TOrvoBookmarkList::Count() const
{
    return FBookmarks->Count();
}

QString TOrvoBookmarkList::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return FBookmarks->At(index);
}

bool TOrvoBookmarkList::Find(const QString& bookmark, int& index) const
{
    if (FCache.Valid && FCache.Bookmark == bookmark) {
        index = FCache.Index;
        return FCache.Found;
    }
    const TDataSet* dataSet = FGrid ? FGrid->DataSet() : nullptr;
    int low = 0;
    bool found = false;
    if (dataSet) {
        int high = Count() - 1;
        while (low <= high) {
            const int mid = (low + high) / 2;
            const int order = dataSet->CompareBookmarks(FBookmarks->At(mid), bookmark);
            if (order < 0) {
                low = mid + 1;
            } else {
                high = mid - 1;
                if (order == 0) {
                    found = true;
                    low = mid;
                }
            }
        }
    }
    index = low;
    FCache = {bookmark, low, found, true};
    return found;
}

bool TOrvoBookmarkList::Insert(const QString& bookmark)
{
    int index = 0;
    if (!TCompactBookmarks::Storable(bookmark) || Find(bookmark, index))
        return false;
    FBookmarks->Insert(index, bookmark);
    Changed();
    return true;
}

bool TOrvoBookmarkList::Remove(const QString& bookmark)
{
    int index = 0;
    if (!Find(bookmark, index))
        return false;
    FBookmarks->RemoveAt(index);
    Changed();
    return true;
}

bool TOrvoBookmarkList::CurrentRowSelected() const
{
    const QString bookmark = ActiveDataSet()->Bookmark();
    int index = 0;
    return !bookmark.isEmpty() && Find(bookmark, index);
}

void TOrvoBookmarkList::SetCurrentRowSelected(bool value)
{
    const QString bookmark = ActiveDataSet()->Bookmark();
    int index = 0;
    if (bookmark.isEmpty() || Find(bookmark, index) == value)
        return;
    const auto batch = SelectionBatch(FGrid);
    if (!(value ? Insert(bookmark) : Remove(bookmark)))
        return;
    RepaintCurrentRow();
    FGrid->RowSelected(value ? saSelect : saUnselect);
}

void TOrvoBookmarkList::InvertCurrentRow()
{
    const QString bookmark = ActiveDataSet()->Bookmark();
    if (bookmark.isEmpty())
        return;
    const auto batch = SelectionBatch(FGrid);
    int index = 0;
    if (Find(bookmark, index)) {
        Remove(bookmark);
        FGrid->RowSelected(saUnselect);
    } else if (Insert(bookmark)) {
        FGrid->RowSelected(saSelect);
    }
}

void TOrvoBookmarkList::Clear()
{
    if (FBookmarks->IsEmpty())
        return;
    const auto batch = SelectionBatch(FGrid);
    FBookmarks->Clear();
    Changed();
    FGrid->InvalidateGrid();
    FGrid->RowSelected(saClear);
}

void TOrvoBookmarkList::DeleteRows()
{
    TDataSet* dataSet = ActiveDataSet();
    if (FBookmarks->IsEmpty())
        return;
    const auto batch = SelectionBatch(FGrid);
    dataSet->DisableControls();
    const auto done = Finally([this, dataSet] {
        dataSet->EnableControls();
        FGrid->RowSelected(saDelete);
    });
    while (!FBookmarks->IsEmpty()) {
        const int last = Count() - 1;
        dataSet->GotoBookmark(FBookmarks->At(last));
        dataSet->Delete();
        FBookmarks->RemoveAt(last);
        Changed();
    }
}

bool TOrvoBookmarkList::RefreshRows()
{
    TDataSet* dataSet = ActiveDataSet();
    const auto batch = SelectionBatch(FGrid);
    dataSet->CheckBrowseMode();
    const int removed = FBookmarks->RemoveIf(
        [dataSet](const QString& bookmark) { return !dataSet->BookmarkValid(bookmark); });
    dataSet->UpdateCursorPos();
    if (removed == 0)
        return false;
    Changed();
    FGrid->InvalidateGrid();
    FGrid->RowSelected(saRefresh);
    return true;
}

void TOrvoBookmarkList::SaveKeys(const QString& keyFields)
{
    TDataSet* dataSet = ActiveDataSet();
    const QString fields = CheckedKeyFields(keyFields);
    dataSet->CheckBrowseMode();
    FSavedKeys.clear();
    const auto dropKeys = OnUnwind([this] { FSavedKeys.clear(); });
    FSavedKeys.reserve(size_t(Count()));
    FGrid->BeginDataUpdate();
    const auto endDataUpdate = Finally([this] { FGrid->EndDataUpdate(false); });
    for (int i = 0; i < Count(); ++i) {
        // A record deleted or filtered out since it was selected has no keys to keep; it
        // must not stop the others from being kept (a refresh runs exactly then).
        const QString bookmark = FBookmarks->At(i);
        if (!dataSet->BookmarkValid(bookmark))
            continue;
        dataSet->GotoBookmark(bookmark);
        FSavedKeys.push_back(dataSet->FieldValues(fields));
    }
}

void TOrvoBookmarkList::RestoreKeys(const QString& keyFields)
{
    TDataSet* dataSet = ActiveDataSet();
    const QString fields = CheckedKeyFields(keyFields);
    const auto batch = SelectionBatch(FGrid);
    Clear();
    if (FSavedKeys.empty())
        return;
    FGrid->BeginDataUpdate();
    const auto endDataUpdate = Finally([this] { FGrid->EndDataUpdate(false); });
    for (const TVariant& keys : FSavedKeys) {
        if (dataSet->Locate(fields, keys, {}) && Insert(dataSet->Bookmark()))
            FGrid->RowSelected(saSelect);
    }
    FGrid->InvalidateGrid();
}

QString TOrvoBookmarkList::SelectToEnd()
{
    TDataSet* dataSet = ActiveDataSet();
    const auto batch = SelectionBatch(FGrid);
    QString last;
    Changed();
    for (; !dataSet->Eof(); dataSet->Next()) {
        QString bookmark = dataSet->Bookmark();
        if (!TCompactBookmarks::Storable(bookmark))
            continue;
        FBookmarks->Append(bookmark);
        last = std::move(bookmark);
        FGrid->RowSelected(saSelect);
    }
    Changed();
    FGrid->InvalidateGrid();
    return last;
}

void TOrvoBookmarkList::Merge(const QStringList& bookmarks, bool invert)
{
    // A few records into a long list: inserting each moves the list a few times, where
    // a merge would rebuild all of it.
    if (bookmarks.size() < 16 || bookmarks.size() * 256 < Count()) {
        ActiveDataSet();
        const auto batch = SelectionBatch(FGrid);
        for (const QString& bookmark : bookmarks) {
            int index = 0;
            if (Find(bookmark, index)) {
                if (invert && Remove(bookmark))
                    FGrid->RowSelected(saUnselect);
            } else if (Insert(bookmark)) {
                FGrid->RowSelected(saSelect);
            }
        }
        FGrid->InvalidateGrid();
        return;
    }
    qsizetype next = 0;
    MergeFrom(
        [&]() -> std::optional<QString> {
            if (next == bookmarks.size())
                return std::nullopt;
            return bookmarks[next++];
        },
        invert);
}

void TOrvoBookmarkList::MergeFrom(const std::function<std::optional<QString>()>& next, bool invert)
{
    const TDataSet* dataSet = ActiveDataSet();
    const auto batch = SelectionBatch(FGrid);
    TCompactBookmarks merged;
    int listed = 0;
    std::optional<QString> walked = next();
    const auto takeWalked = [&] {
        if (TCompactBookmarks::Storable(*walked)) {
            merged.Append(*walked);
            FGrid->RowSelected(saSelect);
        }
        walked = next();
    };
    while (listed < Count() && walked) {
        const QString kept = FBookmarks->At(listed);
        const int order = dataSet->CompareBookmarks(kept, *walked);
        if (order < 0) {
            merged.Append(kept);
            ++listed;
        } else if (order > 0) {
            takeWalked();
        } else {
            if (invert)
                FGrid->RowSelected(saUnselect);
            else
                merged.Append(kept);
            ++listed;
            walked = next();
        }
    }
    for (; listed < Count(); ++listed)
        merged.Append(FBookmarks->At(listed));
    while (walked)
        takeWalked();
    *FBookmarks = std::move(merged);
    Changed();
    FGrid->InvalidateGrid();
}

size_t TOrvoBookmarkList::MemoryUsed() const
{
    return FBookmarks->MemoryUsed();
}

TDataSet* TOrvoBookmarkList::ActiveDataSet() const
{
    TDataSet* dataSet = FGrid ? FGrid->DataSet() : nullptr;
    if (!dataSet || !FGrid->DataLink()->Active())
        throw EDatabaseError(QStringLiteral("Cannot perform this operation on a closed dataset"));
    return dataSet;
}

QString TOrvoBookmarkList::CheckedKeyFields(const QString& keyFields) const
{
    const QString fields = keyFields.isEmpty() ? FGrid->KeyFields() : keyFields;
    if (fields.isEmpty())
        throw EDatabaseError(QStringLiteral("KeyFields property cannot be blank"));
    return fields;
}

void TOrvoBookmarkList::Changed()
{
    FCache.Valid = false;
}

void TOrvoBookmarkList::RepaintCurrentRow()
{
    const int record = FGrid->CurrentRecord();
    if (record < 0)
        FGrid->InvalidateGrid();
    else
        FGrid->InvalidateRow(FGrid->TitleOffset() + record);
}

} // namespace orvo
