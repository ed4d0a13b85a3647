#pragma once

#include "platform/data/tdatasetenums.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>

Q_MOC_INCLUDE("platform/data/tdataset.h")

namespace orvo {

class TDataLink;
class TDataSet;
class TDataSource;
class TField;

using TDataChangeEvent = std::function<void(TDataSource* sender, TField* field)>;
using TDataSourceNotifyEvent = std::function<void(TDataSource* sender)>;

/// Connects a dataset to the controls that show it: it follows the dataset's
/// State and passes every data event on to its links, one after the other in
/// the order they were attached.
class TDataSource : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Name READ objectName WRITE setObjectName)
    Q_PROPERTY(TDataSet* DataSet READ DataSet WRITE SetDataSet)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(bool AutoEdit READ AutoEdit WRITE SetAutoEdit)
    Q_PROPERTY(TDataSetState State READ State STORED false)

public:
    explicit TDataSource(QObject* owner = nullptr);
    ~TDataSource() override;

    TDataSet* DataSet() const;
    /// Raises EDatabaseError "Circular datalinks are not allowed" when `dataSet` is
    /// (through its masters) fed by this source.
    void SetDataSet(TDataSet* dataSet);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled);
    bool AutoEdit() const { return FAutoEdit; }
    void SetAutoEdit(bool autoEdit) { FAutoEdit = autoEdit; }
    /// The dataset's State while enabled, else dsInactive.
    TDataSetState State() const { return FState; }
    /// Puts the dataset into edit mode when AutoEdit allows it and it is browsing.
    void Edit();
    /// True when `dataSet` is fed, through its masters, by this source.
    bool IsLinkedTo(const TDataSet* dataSet) const;
    const QList<TDataLink*>& DataLinks() const { return FDataLinks; }

    TDataChangeEvent OnDataChange;
    TDataSourceNotifyEvent OnStateChange;
    TDataSourceNotifyEvent OnUpdateData;

private:
    friend class TDataSet;
    friend class TDataLink;

    void DataEvent(TDataEvent event, TField* field, int info);
    void UpdateState();
    void SetState(TDataSetState state);
    void NotifyLinks(TDataEvent event, TField* field, int info);
    void AddDataLink(TDataLink* link);
    void RemoveDataLink(TDataLink* link);
    void DataSetDestroyed();

    QPointer<TDataSet> FDataSet;
    QList<TDataLink*> FDataLinks;
    TDataSetState FState = dsInactive;
    bool FEnabled = true;
    bool FAutoEdit = true;
};

} // namespace orvo
