#pragma once

#include "platform/data/tdatasetenums.h"

#include <QPointer>

namespace orvo {

class TDataSet;
class TDataSource;
class TField;

/// A control's view of a dataset through a data source: a window of
/// BufferCount records ending up around the current one, and the
/// notifications that tell the control what changed. Controls derive from it
/// and override the notifications they care about.
///
/// ActiveRecord may be written to read another buffered record of the window
/// (painting a grid row): it only switches the buffer the fields read; set it
/// back when done.
class TDataLink
{
public:
    TDataLink();
    virtual ~TDataLink();
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;

    TDataSource* DataSource() const;
    void SetDataSource(TDataSource* source);
    TDataSet* DataSet() const;
    bool Active() const { return FActive; }
    bool Editing() const { return FEditing; }
    /// The current record's position in this link's window (0-based).
    int ActiveRecord() const;
    /// Selects the window buffer the fields read; ignored outside 0 .. RecordCount()-1.
    void SetActiveRecord(int index);
    int BufferCount() const { return FBufferCount; }
    /// The number of records this link wants to see; the dataset's window grows to fit.
    void SetBufferCount(int count);
    /// Records in this link's window.
    int RecordCount() const;
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool readOnly);
    /// Puts the dataset into edit mode (through the source's AutoEdit); true when editing.
    bool Edit();
    /// Writes this link's pending edit into the fields (UpdateData), raising its errors.
    void UpdateRecord();
    bool Bof() const;
    bool Eof() const;

protected:
    virtual void ActiveChanged() {}
    virtual void CheckBrowseMode() {}
    virtual void DataSetChanged();
    /// The window moved; `distance` is how far this link's first record moved.
    virtual void DataSetScrolled(int distance);
    /// A control showing `*field` should take the focus and set `*field` to nullptr.
    virtual void FocusControl(TField** field);
    virtual void EditingChanged() {}
    virtual void LayoutChanged();
    virtual void RecordChanged(TField* field);
    virtual void UpdateData() {}
    /// `field` is about to leave the dataset (it can still be read); drop references to it.
    virtual void FieldRemoving(TField* field);
    /// Called for every event before the notifications above; the base does nothing.
    virtual void DataEventReceived(TDataEvent event, TField* field, int info);

private:
    friend class TDataSource;
    friend class TDataSet;

    void DataEvent(TDataEvent event, TField* field, int info);
    void UpdateState();
    void SetActive(bool active);
    void SetEditing(bool editing);
    void UpdateRange();

    QPointer<TDataSource> FDataSource;
    int FFirstRecord = 0;
    int FBufferCount = 1;
    bool FActive = false;
    bool FEditing = false;
    bool FReadOnly = false;
    bool FUpdating = false;
};

} // namespace orvo
