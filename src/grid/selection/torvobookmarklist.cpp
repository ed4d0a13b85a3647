#include "grid/selection/torvobookmarklist.h"

#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "platform/core/exceptions.h"
#include "platform/core/tscopecleanup.h"
#include "platform/data/tdataset.h"
#include "platform/graphics/tcustomimagelist.h"

#include <QMenu>

#include <algorithm>

namespace orvo {

namespace {

/// Keeps the dataset's current record and the controls' view while the list walks
/// the dataset, also when the walk fails.
class TPositionKeeper
{
public:
    explicit TPositionKeeper(TDataSet* dataSet) : FDataSet(dataSet), FBookmark(dataSet->Bookmark())
    {
        FDataSet->DisableControls();
    }
    ~TPositionKeeper()
    {
        try {
            if (!FBookmark.isEmpty() && FDataSet->BookmarkValid(FBookmark))
                FDataSet->GotoBookmark(FBookmark);
        } catch (const Exception&) {
            // The record went away; the dataset stays where the walk left it.
        }
        FDataSet->EnableControls();
    }
    TPositionKeeper(const TPositionKeeper&) = delete;
    TPositionKeeper& operator=(const TPositionKeeper&) = delete;

private:
    TDataSet* FDataSet;
    QString FBookmark;
};

} // namespace

TOrvoBookmarkList::TOrvoBookmarkList(TOrvoCustomDBGrid* grid) : FGrid(grid) {}

QString TOrvoBookmarkList::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return FBookmarks.at(index);
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
        const auto before = [dataSet](const QString& listed, const QString& wanted) {
            return dataSet->CompareBookmarks(listed, wanted) < 0;
        };
        const auto at = std::lower_bound(FBookmarks.cbegin(), FBookmarks.cend(), bookmark, before);
        low = int(at - FBookmarks.cbegin());
        found = at != FBookmarks.cend() && dataSet->CompareBookmarks(*at, bookmark) == 0;
    }
    index = low;
    FCache = {bookmark, low, found, true};
    return found;
}

bool TOrvoBookmarkList::Insert(const QString& bookmark)
{
    int index = 0;
    if (bookmark.isEmpty() || Find(bookmark, index))
        return false;
    FBookmarks.insert(index, bookmark);
    Changed();
    return true;
}

bool TOrvoBookmarkList::Remove(const QString& bookmark)
{
    int index = 0;
    if (!Find(bookmark, index))
        return false;
    FBookmarks.removeAt(index);
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
    if (bookmark.isEmpty())
        return;
    const bool changed = value ? Insert(bookmark) : Remove(bookmark);
    if (changed)
        Notify(value ? saSelect : saUnselect);
}

void TOrvoBookmarkList::Clear()
{
    if (FBookmarks.isEmpty())
        return;
    FBookmarks.clear();
    Changed();
    Notify(saClear);
}

void TOrvoBookmarkList::DeleteRows()
{
    TDataSet* dataSet = ActiveDataSet();
    if (FBookmarks.isEmpty())
        return;
    dataSet->DisableControls();
    const auto done = Finally([this, dataSet] {
        dataSet->EnableControls();
        Notify(saDelete);
    });
    while (!FBookmarks.isEmpty()) {
        dataSet->GotoBookmark(FBookmarks.last());
        dataSet->Delete();
        FBookmarks.removeLast();
        Changed();
    }
}

bool TOrvoBookmarkList::RefreshRows()
{
    TDataSet* dataSet = ActiveDataSet();
    dataSet->CheckBrowseMode();
    const qsizetype before = FBookmarks.size();
    FBookmarks.removeIf([dataSet](const QString& bookmark) { return !dataSet->BookmarkValid(bookmark); });
    dataSet->UpdateCursorPos();
    if (FBookmarks.size() == before)
        return false;
    Changed();
    Notify(saRefresh);
    return true;
}

void TOrvoBookmarkList::SaveKeys(const QString& keyFields)
{
    TDataSet* dataSet = ActiveDataSet();
    const QString fields = CheckedKeyFields(keyFields);
    dataSet->CheckBrowseMode();
    FSavedKeys.clear();
    const auto dropKeys = OnUnwind([this] { FSavedKeys.clear(); });
    TPositionKeeper keeper(dataSet);
    for (const QString& bookmark : std::as_const(FBookmarks)) {
        dataSet->GotoBookmark(bookmark);
        FSavedKeys.push_back(dataSet->FieldValues(fields));
    }
}

void TOrvoBookmarkList::RestoreKeys(const QString& keyFields)
{
    TDataSet* dataSet = ActiveDataSet();
    const QString fields = CheckedKeyFields(keyFields);
    Clear();
    if (FSavedKeys.empty())
        return;
    TPositionKeeper keeper(dataSet);
    bool selected = false;
    for (const TVariant& keys : FSavedKeys) {
        if (dataSet->Locate(fields, keys, {}))
            selected = Insert(dataSet->Bookmark()) || selected;
    }
    if (selected)
        Notify(saSelect);
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

void TOrvoBookmarkList::Notify(TSelectAction action)
{
    if (!FGrid)
        return;
    FGrid->InvalidateGrid();
    FGrid->RowSelected(action);
}

} // namespace orvo
