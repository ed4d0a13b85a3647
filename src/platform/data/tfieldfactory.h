#pragma once

#include "platform/data/tfieldtype.h"

#include <QString>

class QObject;
struct QMetaObject;

namespace orvo {

class TField;

/// Chooses and makes the field class for a data type, as the dataset does
/// when it creates fields from its field definitions.
class TFieldFactory
{
public:
    /// The class that holds values of `type`; raises EDatabaseError for a type no field class
    /// supports ("Unsupported field type (ADT) in field Name", "Field 'Name' is of an unknown type").
    static const QMetaObject* DefaultFieldClass(TFieldType type, const QString& fieldName = QString());
    /// A new field of that class owned by `owner`, with DataType `type` (and, for types that share a
    /// class, the settings that go with it: FixedChar, the GUID size).
    static TField* CreateField(TFieldType type, QObject* owner, const QString& fieldName = QString());
};

/// Shorthands for TFieldFactory's operations, as the dataset layer calls them.
const QMetaObject* DefaultFieldClass(TFieldType type, const QString& fieldName = QString());
TField* CreateField(TFieldType type, QObject* owner, const QString& fieldName = QString());

} // namespace orvo
