#pragma once

#include "platform/core/tvariant.h"
#include "platform/data/tfieldtype.h"

#include <QString>

#include <vector>

namespace orvo {

/// How SQLite's declared column types map onto field types, and how field
/// values are stored: dates as ISO text ("yyyy-mm-dd", "yyyy-mm-dd hh:nn:ss[.zzz]",
/// "hh:nn:ss[.zzz]"), Booleans as 0/1, currency as REAL.
///
/// Type rules (on the upper-cased declared type, first match wins):
/// BOOL → ftBoolean; DATETIME/TIMESTAMP → ftDateTime; DATE → ftDate; TIME → ftTime;
/// an INTEGER PRIMARY KEY AUTOINCREMENT → ftAutoInc; BIGINT/INT8 → ftLargeint;
/// SMALLINT/TINYINT → ftSmallint; other INT → ftInteger; MEMO/CLOB → ftMemo;
/// CHAR(n)/VARCHAR(n)/TEXT(n) → ftString of size n, TEXT and other text → ftString of size 0
/// (any length); a size limits only what a person types: stored text is always read whole;
/// GRAPHIC/IMAGE → ftGraphic; BLOB/BINARY → ftBlob; REAL/FLOAT/DOUBLE → ftFloat;
/// MONEY/CURRENCY → ftCurrency (a float field with the currency flag, stored as REAL);
/// NUMERIC/DECIMAL with at most 4 decimals → ftBCD (exact to 4 places), with more → ftFloat;
/// an unknown declared type → ftString of size 0; no declared type (an expression) → the
/// type that holds every value of the first rows read (FromStoredValues).
class TSQLiteTypes
{
public:
    struct TypeInfo
    {
        TFieldType DataType = ftString;
        int Size = 0;      ///< characters for strings, decimals for BCD, 0 otherwise
        int Precision = 0; ///< total digits for BCD
    };

    static TypeInfo FromDeclaredType(const QString& declaredType, bool autoIncrement);
    /// For expression columns without a declared type: the type that keeps each of the stored
    /// values (Nulls ignored): ftLargeint for integers only, ftFloat for numbers with a fraction
    /// among them, ftBlob for blobs only, else ftString of size 0.
    static TypeInfo FromStoredValues(const std::vector<TVariant>& raw);

    /// A stored value (Null/Int64/Double/String/Bytes) read as the field type's canonical kind.
    /// Text that does not parse stays text for string fields and becomes Null otherwise.
    static TVariant FromStorage(TFieldType type, const TVariant& raw);
    /// A canonical value as it is written for a field of the given type.
    static TVariant ToStorage(TFieldType type, const TVariant& value);

private:
    static TVariant IntegerFromStorage(const TVariant& raw);
    static TVariant FloatFromStorage(const TVariant& raw);
    static TVariant BooleanFromStorage(const TVariant& raw);
    static TVariant DateTimeFromStorage(const TVariant& raw);
    static TVariant DateTimeToStorage(TFieldType type, const TVariant& value);
};

} // namespace orvo
