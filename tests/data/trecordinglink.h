#pragma once

#include "platform/data/tdatalink.h"
#include "platform/data/tdatasource.h"
#include "platform/data/tfield.h"

#include <QStringList>

#include <utility>

namespace orvo {

/// A link that writes down every notification it receives, in order.
class TRecordingLink : public TDataLink
{
public:
    QStringList Log;
    /// The value of this field as the link could read it when told the field goes away.
    QString RemovedFieldValue;

    QStringList Take() { return std::exchange(Log, {}); }

protected:
    void ActiveChanged() override { Log << QStringLiteral("Active"); }
    void DataSetChanged() override { Log << QStringLiteral("Changed"); }
    void DataSetScrolled(int distance) override { Log << QStringLiteral("Scrolled(%1)").arg(distance); }
    void EditingChanged() override { Log << QStringLiteral("Editing"); }
    void LayoutChanged() override { Log << QStringLiteral("Layout"); }
    void RecordChanged(TField* field) override
    {
        Log << QStringLiteral("Record(%1)").arg(field ? field->FieldName() : QString());
    }
    void FieldRemoving(TField* field) override
    {
        Log << QStringLiteral("Removing(%1)").arg(field->FieldName());
        RemovedFieldValue = field->AsString();
    }
};

/// A dataset of `TData`, filled and opened, seen through a recording link with a window
/// of `bufferCount` records.
template <typename TData> struct TRecordedDataSet
{
    TData Data;
    TDataSource Source;
    TRecordingLink Link;

    template <typename TFill> explicit TRecordedDataSet(TFill&& fill, int bufferCount)
    {
        fill(Data);
        Source.SetDataSet(&Data);
        Link.SetBufferCount(bufferCount);
        Link.SetDataSource(&Source);
        Data.Open();
    }
    int Id() const { return Data.FieldByName(QStringLiteral("Id"))->AsInteger(); }
};

} // namespace orvo
