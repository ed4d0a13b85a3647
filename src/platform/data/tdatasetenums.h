#pragma once

#include "platform/core/tset.h"

#include <QObject>

namespace orvo {

/// The dataset layer's enumerations. They live in a namespace of their own
/// only because Qt allows one meta-object per namespace and `orvo` already has
/// one; the using-declarations below make every type and member reachable as
/// `orvo::TDataSetState` and `orvo::dsBrowse`.
namespace DataSetEnums {
Q_NAMESPACE

/// What a dataset is doing; the temporary states (calc-fields, filter, new/old/cur
/// value, internal-calc) select which record buffer the fields read.
enum TDataSetState
{
    dsInactive,
    dsBrowse,
    dsEdit,
    dsInsert,
    dsSetKey,
    dsCalcFields,
    dsFilter,
    dsNewValue,
    dsOldValue,
    dsCurValue,
    dsBlockRead,
    dsInternalCalc,
    dsOpening
};
Q_ENUM_NS(TDataSetState)

/// Notifications a dataset sends to its data sources and links.
enum TDataEvent
{
    deFieldChange,     ///< a field's value was stored (field given)
    deRecordChange,    ///< the current record changed as a whole (field may be given)
    deDataSetChange,   ///< the record window was rebuilt
    deDataSetScroll,   ///< the window moved (info: how far the window's first buffer moved)
    deLayoutChange,    ///< fields were added, removed, moved or re-presented
    deUpdateRecord,    ///< controls should write their pending edits into the fields
    deUpdateState,     ///< State changed
    deCheckBrowseMode, ///< the dataset is about to leave an edit state or move
    dePropertyChange,  ///< field definitions are stale
    deFieldListChange, ///< a field is about to leave the dataset (field given, still readable)
    deFocusControl,    ///< a control should take the focus for a field
    deParentScroll,
    deConnectChange,
    deReconcileError,
    deDisabledStateChange
};
Q_ENUM_NS(TDataEvent)

/// How a descendant's GetRecord should move its cursor.
enum TGetMode
{
    gmCurrent,
    gmNext,
    gmPrior
};
Q_ENUM_NS(TGetMode)

/// What GetRecord found.
enum TGetResult
{
    grOK,
    grBOF,
    grEOF,
    grError
};
Q_ENUM_NS(TGetResult)

/// Where a record buffer stands: on a record, before the first, after the last, or new.
enum TBookmarkFlag
{
    bfCurrent,
    bfBOF,
    bfEOF,
    bfInserted
};
Q_ENUM_NS(TBookmarkFlag)

enum TLocateOption
{
    loCaseInsensitive,
    loPartialKey
};
Q_ENUM_NS(TLocateOption)

enum TResyncMode
{
    rmExact,
    rmCenter
};
Q_ENUM_NS(TResyncMode)

/// Where a field's value comes from.
enum TFieldKind
{
    fkData,
    fkCalculated,
    fkLookup,
    fkInternalCalc,
    fkAggregate
};
Q_ENUM_NS(TFieldKind)

enum TUpdateStatus
{
    usUnmodified,
    usModified,
    usInserted,
    usDeleted
};
Q_ENUM_NS(TUpdateStatus)

/// What an error event asks the failed operation to do next.
enum TDataAction
{
    daFail,
    daAbort,
    daRetry
};
Q_ENUM_NS(TDataAction)

enum TBlobStreamMode
{
    bmRead,
    bmWrite,
    bmReadWrite
};
Q_ENUM_NS(TBlobStreamMode)

/// Properties of a field definition.
enum TFieldAttribute
{
    faHiddenCol,
    faReadonly,
    faRequired,
    faLink,
    faUnNamed,
    faFixed
};
Q_ENUM_NS(TFieldAttribute)

} // namespace DataSetEnums

using DataSetEnums::TDataSetState;
using enum DataSetEnums::TDataSetState;
using DataSetEnums::TDataEvent;
using enum DataSetEnums::TDataEvent;
using DataSetEnums::TGetMode;
using enum DataSetEnums::TGetMode;
using DataSetEnums::TGetResult;
using enum DataSetEnums::TGetResult;
using DataSetEnums::TBookmarkFlag;
using enum DataSetEnums::TBookmarkFlag;
using DataSetEnums::TLocateOption;
using enum DataSetEnums::TLocateOption;
using DataSetEnums::TResyncMode;
using enum DataSetEnums::TResyncMode;
using DataSetEnums::TFieldKind;
using enum DataSetEnums::TFieldKind;
using DataSetEnums::TUpdateStatus;
using enum DataSetEnums::TUpdateStatus;
using DataSetEnums::TDataAction;
using enum DataSetEnums::TDataAction;
using DataSetEnums::TBlobStreamMode;
using enum DataSetEnums::TBlobStreamMode;
using DataSetEnums::TFieldAttribute;
using enum DataSetEnums::TFieldAttribute;

using TLocateOptions = TSet<TLocateOption>;
using TResyncModes = TSet<TResyncMode>;
using TFieldAttributes = TSet<TFieldAttribute>;

/// The states in which the current record is being edited.
inline constexpr TSet<TDataSetState> dsEditModes{dsEdit, dsInsert, dsSetKey};
/// The temporary states in which fields read something other than the active buffer.
inline constexpr TSet<TDataSetState> dsTemporaryStates{dsCalcFields, dsFilter,   dsNewValue,
                                                       dsOldValue,   dsCurValue, dsInternalCalc};

} // namespace orvo
