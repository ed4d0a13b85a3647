#pragma once

#include <QVariant>

class QObject;

namespace orvo {

// Published properties by name or dotted path ("DataSet.CommandText"): every name before
// a "." is an object-valued property, the last one is read or written on the object
// reached.

/// Whether the path leads to a readable property.
bool HasPublishedProperty(const QObject* object, const QString& path);
/// The property's value; an invalid QVariant when the path leads nowhere.
QVariant ReadPublishedProperty(const QObject* object, const QString& path);
/// Writes the property; raises EInvalidOperation when the path leads nowhere or the value
/// is refused. Exceptions the property's setter raises pass through.
void WritePublishedProperty(QObject* object, const QString& path, const QVariant& value);
/// The object a property holds (a QObject pointer), or null.
QObject* PublishedObject(const QObject* object, const QString& path);

} // namespace orvo
