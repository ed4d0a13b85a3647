#include "platform/data/tdatasource.h"

#include "platform/core/exceptions.h"
#include "platform/core/texceptionhandler.h"
#include "platform/data/tdatalink.h"
#include "platform/data/tdataset.h"

namespace orvo {

TDataSource::TDataSource(QObject* owner) : QObject(owner) {}

TDataSource::~TDataSource()
{
    OnStateChange = nullptr;
    OnDataChange = nullptr;
    OnUpdateData = nullptr;
    TExceptionHandler::Guard([this] { SetDataSet(nullptr); });
    while (!FDataLinks.isEmpty()) {
        TDataLink* link = FDataLinks.takeLast();
        link->FDataSource = nullptr;
        TExceptionHandler::Guard([link] { link->UpdateState(); });
    }
}

TDataSet* TDataSource::DataSet() const
{
    return FDataSet.data();
}

void TDataSource::SetDataSet(TDataSet* dataSet)
{
    if (dataSet == FDataSet)
        return;
    if (dataSet && IsLinkedTo(dataSet))
        throw EDatabaseError(QStringLiteral("Circular datalinks are not allowed"));
    if (FDataSet)
        FDataSet->RemoveDataSource(this);
    FDataSet = dataSet;
    if (dataSet)
        dataSet->AddDataSource(this);
    UpdateState();
}

bool TDataSource::IsLinkedTo(const TDataSet* dataSet) const
{
    return dataSet && dataSet->IsLinkedTo(this);
}

void TDataSource::SetEnabled(bool enabled)
{
    if (enabled == FEnabled)
        return;
    FEnabled = enabled;
    UpdateState();
}

void TDataSource::Edit()
{
    if (FAutoEdit && FState == dsBrowse && FDataSet)
        FDataSet->Edit();
}

void TDataSource::UpdateState()
{
    SetState(FEnabled && FDataSet ? FDataSet->State() : dsInactive);
}

void TDataSource::SetState(TDataSetState state)
{
    if (state == FState)
        return;
    const TDataSetState prior = FState;
    FState = state;
    NotifyLinks(deUpdateState, nullptr, 0);
    if (OnStateChange)
        OnStateChange(this);
    if (prior == dsInactive && OnDataChange)
        OnDataChange(this, nullptr);
}

void TDataSource::DataEvent(TDataEvent event, TField* field, int info)
{
    if (event == deUpdateState) {
        UpdateState();
        return;
    }
    if (event == deFieldListChange && field) {
        // Every link hears that a field goes, whatever the state, so none keeps a dangling pointer.
        NotifyLinks(event, field, info);
        return;
    }
    if (FState == dsInactive)
        return;
    NotifyLinks(event, field, info);
    switch (event) {
    case deFieldChange:
    case deRecordChange:
        if (OnDataChange)
            OnDataChange(this, field);
        break;
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange:
        if (OnDataChange)
            OnDataChange(this, nullptr);
        break;
    case deUpdateRecord:
        if (OnUpdateData)
            OnUpdateData(this);
        break;
    default:
        break;
    }
}

void TDataSource::NotifyLinks(TDataEvent event, TField* field, int info)
{
    // A notification may attach or detach links; each link still attached hears it once.
    for (TDataLink* link : QList<TDataLink*>(FDataLinks))
        if (FDataLinks.contains(link))
            link->DataEvent(event, field, info);
}

void TDataSource::AddDataLink(TDataLink* link)
{
    FDataLinks.append(link);
    if (FDataSet)
        FDataSet->UpdateBufferCount();
}

void TDataSource::RemoveDataLink(TDataLink* link)
{
    FDataLinks.removeOne(link);
    if (FDataSet)
        FDataSet->UpdateBufferCount();
}

void TDataSource::DataSetDestroyed()
{
    FDataSet = nullptr;
    UpdateState();
}

} // namespace orvo
