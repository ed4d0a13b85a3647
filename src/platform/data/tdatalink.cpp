#include "platform/data/tdatalink.h"

#include "platform/core/texceptionhandler.h"
#include "platform/core/tscopecleanup.h"
#include "platform/data/tdataset.h"
#include "platform/data/tdatasource.h"

#include <algorithm>

namespace orvo {

TDataLink::TDataLink() = default;

TDataLink::~TDataLink()
{
    // Inactive first, so that leaving the source calls no notification of a half-destroyed link.
    FActive = false;
    FEditing = false;
    if (TDataSource* source = FDataSource.data())
        TExceptionHandler::Guard([this, source] { source->RemoveDataLink(this); });
}

TDataSource* TDataLink::DataSource() const
{
    return FDataSource.data();
}

void TDataLink::SetDataSource(TDataSource* source)
{
    if (source == FDataSource)
        return;
    if (FDataSource)
        FDataSource->RemoveDataLink(this);
    FDataSource = source;
    if (source)
        source->AddDataLink(this);
    UpdateState();
}

TDataSet* TDataLink::DataSet() const
{
    return FDataSource ? FDataSource->DataSet() : nullptr;
}

int TDataLink::ActiveRecord() const
{
    const TDataSet* dataSet = DataSet();
    if (!FActive || !dataSet || FDataSource->State() == dsSetKey)
        return 0;
    return dataSet->FActiveRecord - FFirstRecord;
}

void TDataLink::SetActiveRecord(int index)
{
    TDataSet* dataSet = DataSet();
    if (!FActive || !dataSet || FDataSource->State() == dsSetKey || index < 0 || index >= RecordCount())
        return;
    dataSet->FActiveRecord = index + FFirstRecord;
}

void TDataLink::SetBufferCount(int count)
{
    count = std::max(1, count);
    if (count == FBufferCount)
        return;
    FBufferCount = count;
    if (FActive) {
        DataSet()->UpdateBufferCount();
        UpdateRange();
    }
}

int TDataLink::RecordCount() const
{
    const TDataSet* dataSet = DataSet();
    if (!FActive || !dataSet)
        return 0;
    if (FDataSource->State() == dsSetKey)
        return 1;
    return std::clamp(dataSet->FRecordCount - FFirstRecord, 0, FBufferCount);
}

void TDataLink::SetReadOnly(bool readOnly)
{
    if (readOnly == FReadOnly)
        return;
    FReadOnly = readOnly;
    UpdateState();
}

bool TDataLink::Edit()
{
    if (!FReadOnly && FDataSource)
        FDataSource->Edit();
    return FEditing;
}

void TDataLink::UpdateRecord()
{
    FUpdating = true;
    const auto updated = Finally([this] { FUpdating = false; });
    UpdateData();
}

bool TDataLink::Bof() const
{
    const TDataSet* dataSet = DataSet();
    return !dataSet || dataSet->Bof();
}

bool TDataLink::Eof() const
{
    const TDataSet* dataSet = DataSet();
    return !dataSet || dataSet->Eof();
}

void TDataLink::DataSetChanged()
{
    RecordChanged(nullptr);
}

void TDataLink::DataSetScrolled(int)
{
    DataSetChanged();
}

void TDataLink::FocusControl(TField**) {}

void TDataLink::LayoutChanged()
{
    DataSetChanged();
}

void TDataLink::RecordChanged(TField*) {}

void TDataLink::FieldRemoving(TField*) {}

void TDataLink::DataEventReceived(TDataEvent, TField*, int) {}

void TDataLink::DataEvent(TDataEvent event, TField* field, int info)
{
    DataEventReceived(event, field, info);
    if (event == deUpdateState) {
        UpdateState();
        return;
    }
    if (event == deFieldListChange) {
        if (field)
            FieldRemoving(field);
        return;
    }
    if (!FActive)
        return;
    switch (event) {
    case deFieldChange:
    case deRecordChange:
        if (!FUpdating)
            RecordChanged(field);
        break;
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange: {
        // The dataset's window moved by `info`; keep the active record inside this link's
        // smaller window and tell the link how far its own first record moved.
        int count = 0;
        if (FDataSource->State() != dsSetKey) {
            const int active = DataSet()->FActiveRecord;
            const int first = FFirstRecord + info;
            const int last = first + FBufferCount - 1;
            if (active > last)
                count = active - last;
            else if (active < first)
                count = active - first;
            FFirstRecord = std::max(0, first + count);
        }
        if (event == deDataSetChange)
            DataSetChanged();
        else if (event == deDataSetScroll)
            DataSetScrolled(count);
        else
            LayoutChanged();
        break;
    }
    case deUpdateRecord:
        UpdateRecord();
        break;
    case deCheckBrowseMode:
        CheckBrowseMode();
        break;
    default:
        break;
    }
}

void TDataLink::UpdateState()
{
    const TDataSource* source = FDataSource.data();
    SetActive(source && source->State() != dsInactive);
    SetEditing(source && dsEditModes.Contains(source->State()));
}

void TDataLink::SetActive(bool active)
{
    if (active == FActive)
        return;
    FActive = active;
    if (active)
        UpdateRange();
    else
        FFirstRecord = 0;
    ActiveChanged();
}

void TDataLink::SetEditing(bool editing)
{
    if (editing == FEditing)
        return;
    FEditing = editing;
    EditingChanged();
}

void TDataLink::UpdateRange()
{
    const TDataSet* dataSet = DataSet();
    if (!dataSet)
        return;
    const int low = std::max(0, dataSet->FActiveRecord - FBufferCount + 1);
    const int high = std::min(dataSet->FBufferCount - FBufferCount, dataSet->FActiveRecord);
    FFirstRecord = std::max(0, std::min(std::max(FFirstRecord, low), high));
}

} // namespace orvo
