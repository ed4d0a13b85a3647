#pragma once

#include <QObject>
#include <QString>

namespace orvo {
Q_NAMESPACE

/// Field data types, in the platform's declaration order.
enum TFieldType
{
    ftUnknown,
    ftString,
    ftSmallint,
    ftInteger,
    ftWord,
    ftBoolean,
    ftFloat,
    ftCurrency,
    ftBCD,
    ftDate,
    ftTime,
    ftDateTime,
    ftBytes,
    ftVarBytes,
    ftAutoInc,
    ftBlob,
    ftMemo,
    ftGraphic,
    ftFmtMemo,
    ftParadoxOle,
    ftDBaseOle,
    ftTypedBinary,
    ftCursor,
    ftFixedChar,
    ftWideString,
    ftLargeint,
    ftADT,
    ftArray,
    ftReference,
    ftDataSet,
    ftOraBlob,
    ftOraClob,
    ftVariant,
    ftInterface,
    ftIDispatch,
    ftGuid,
    ftTimeStamp,
    ftFMTBcd
};
Q_ENUM_NS(TFieldType)

/// The platform's name of a field type ("String", "Integer", ...), used in messages.
QString FieldTypeName(TFieldType type);

/// Types whose values are text, numbers, date-times or binary objects.
bool IsStringFieldType(TFieldType type);
bool IsNumericFieldType(TFieldType type);
bool IsDateTimeFieldType(TFieldType type);
bool IsBlobFieldType(TFieldType type);
/// Numeric types whose values may have a fractional part.
bool IsDecimalFieldType(TFieldType type);
/// Blob types that hold text.
bool IsMemoFieldType(TFieldType type);

} // namespace orvo
