#pragma once

#include "platform/core/tvariant.h"

#include <QString>

namespace orvo {

/// One named parameter of a query (":name" in its SQL); its value is bound,
/// never spliced into the text.
class TParam
{
public:
    explicit TParam(const QString& name) : FName(name) {}

    QString Name() const { return FName; }
    TVariant Value() const { return FValue; }
    void SetValue(const TVariant& value) { FValue = value; }
    bool IsNull() const { return FValue.IsClear(); }
    void Clear() { FValue = TVariant::Null(); }

    QString AsString() const { return FValue.AsString(); }
    void SetAsString(const QString& value) { FValue = value; }
    int AsInteger() const { return FValue.AsInteger(); }
    void SetAsInteger(int value) { FValue = value; }
    qint64 AsLargeInt() const { return FValue.AsInt64(); }
    void SetAsLargeInt(qint64 value) { FValue = value; }
    double AsFloat() const { return FValue.AsFloat(); }
    void SetAsFloat(double value) { FValue = value; }
    TCurrency AsCurrency() const { return FValue.AsCurrency(); }
    void SetAsCurrency(TCurrency value) { FValue = value; }
    TDateTime AsDateTime() const { return FValue.AsDateTime(); }
    void SetAsDateTime(TDateTime value) { FValue = value; }
    bool AsBoolean() const { return FValue.AsBoolean(); }
    void SetAsBoolean(bool value) { FValue = value; }

private:
    QString FName;
    TVariant FValue = TVariant::Null();
};

} // namespace orvo
