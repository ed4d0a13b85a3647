#pragma once

#include "platform/core/tcurrency.h"
#include "platform/core/tdatetime.h"

#include <QByteArray>
#include <QMetaType>
#include <QString>
#include <QVariant>

#include <memory>
#include <variant>
#include <vector>

namespace orvo {

class TVariant;
using TVariantArray = std::vector<TVariant>;

/// The kinds of value a TVariant holds; Unassigned and Null are kept apart,
/// as are integers, doubles, currency and date-times, which QVariant cannot.
enum TVarType
{
    varEmpty, ///< unassigned: no value was ever given
    varNull,  ///< a value that is known to be missing (SQL NULL)
    varBoolean,
    varInt64,
    varDouble,
    varCurrency,
    varDate,
    varString,
    varBytes, ///< binary data (blob fields)
    varArray  ///< a variant array (several key values, FieldValues of a ";"-list)
};

/// The dataset layer's value type.
class TVariant
{
public:
    TVariant() = default;
    TVariant(bool value) : FData(value) {}
    TVariant(int value) : FData(qint64(value)) {}
    TVariant(unsigned value) : FData(qint64(value)) {}
    TVariant(qint64 value) : FData(value) {}
    TVariant(double value) : FData(value) {}
    TVariant(TCurrency value) : FData(value) {}
    TVariant(TDateTime value) : FData(value) {}
    TVariant(const QString& value) : FData(value) {}
    TVariant(const char* utf8) : FData(QString::fromUtf8(utf8)) {}
    TVariant(const QByteArray& value) : FData(value) {}
    TVariant(TVariantArray elements) : FData(std::make_shared<const TVariantArray>(std::move(elements))) {}

    static TVariant Null();
    /// Converts from QVariant: an invalid or null QVariant becomes Null.
    static TVariant FromQVariant(const QVariant& value);

    TVarType VarType() const { return TVarType(FData.index()); }
    bool IsEmpty() const { return VarType() == varEmpty; }
    bool IsNull() const { return VarType() == varNull; }
    /// Unassigned or Null: "no value" for most purposes.
    bool IsClear() const { return VarType() <= varNull; }
    bool IsArray() const { return VarType() == varArray; }
    bool IsNumeric() const;
    bool IsString() const { return VarType() == varString; }

    /// Conversions; each raises EVariantError when the value cannot be converted.
    bool AsBoolean() const;
    qint64 AsInt64() const;
    int AsInteger() const;
    double AsFloat() const;
    TCurrency AsCurrency() const;
    TDateTime AsDateTime() const;
    /// The value as text; Unassigned and Null give "".
    QString AsString() const;
    QByteArray AsBytes() const;

    /// Array access; ArrayHighBound is -1 for an empty array and raises for a non-array.
    int ArrayHighBound() const;
    const TVariant& operator[](int index) const;
    const TVariantArray& Elements() const;

    QVariant ToQVariant() const;

    /// Strict equality: same kind and same value (two Nulls are equal).
    bool operator==(const TVariant& other) const;

    /// The platform's same-value test: numbers compare by value across
    /// integer, double and currency kinds, strings exactly, Null equals only Null.
    static bool SameValue(const TVariant& a, const TVariant& b);
    /// Orders two values: Unassigned and Null first, numbers (and dates) by
    /// value, strings by code unit (or folding A-Z when caseInsensitive),
    /// mixed string/number by converting the string; returns -1, 0 or 1.
    static int Compare(const TVariant& a, const TVariant& b, bool caseInsensitive = false);

private:
    struct NullTag
    {
        bool operator==(const NullTag&) const = default;
    };
    using Array = std::shared_ptr<const TVariantArray>;
    using Data = std::variant<std::monostate, NullTag, bool, qint64, double, TCurrency, TDateTime, QString,
                              QByteArray, Array>;

    [[noreturn]] void RaiseConversion(const char* target) const;

    Data FData;
};

/// Makes a variant array from the given values.
TVariant VarArrayOf(TVariantArray elements);

} // namespace orvo

Q_DECLARE_METATYPE(orvo::TVariant)
