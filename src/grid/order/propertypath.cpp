// Reading and writing published properties by dotted path, through the meta-object
// system that publishes them.

#include "grid/order/propertypath.h"

#include "platform/core/exceptions.h"

#include <QMetaProperty>
#include <QObject>

namespace orvo {

namespace {

QObject* ObjectOf(const QVariant& value)
{
    if (!(value.metaType().flags() & QMetaType::PointerToQObject))
        return nullptr;
    return *static_cast<QObject* const*>(value.constData());
}

/// The object that holds the path's last property, and that property's name; null when
/// a name before the last "." is no object-valued property or holds none.
QObject* Owner(const QObject* object, const QString& path, QString& lastName)
{
    const QStringList names = path.split(QLatin1Char('.'));
    auto* owner = const_cast<QObject*>(object);
    for (qsizetype i = 0; owner && i + 1 < names.size(); ++i) {
        const int index = owner->metaObject()->indexOfProperty(names.at(i).toLatin1().constData());
        owner = index < 0 ? nullptr : ObjectOf(owner->metaObject()->property(index).read(owner));
    }
    lastName = names.constLast();
    return owner;
}

QMetaProperty PropertyOf(const QObject* owner, const QString& name)
{
    const int index = owner->metaObject()->indexOfProperty(name.toLatin1().constData());
    return index < 0 ? QMetaProperty() : owner->metaObject()->property(index);
}

} // namespace

bool HasPublishedProperty(const QObject* object, const QString& path)
{
    QString name;
    const QObject* owner = object ? Owner(object, path, name) : nullptr;
    return owner && PropertyOf(owner, name).isReadable();
}

QVariant ReadPublishedProperty(const QObject* object, const QString& path)
{
    QString name;
    const QObject* owner = object ? Owner(object, path, name) : nullptr;
    const QMetaProperty property = owner ? PropertyOf(owner, name) : QMetaProperty();
    return property.isReadable() ? property.read(owner) : QVariant();
}

void WritePublishedProperty(QObject* object, const QString& path, const QVariant& value)
{
    QString name;
    QObject* owner = object ? Owner(object, path, name) : nullptr;
    const QMetaProperty property = owner ? PropertyOf(owner, name) : QMetaProperty();
    if (!property.isWritable() || !property.write(owner, value))
        throw EInvalidOperation(QStringLiteral("Property '%1' cannot be written").arg(path));
}

QObject* PublishedObject(const QObject* object, const QString& path)
{
    return ObjectOf(ReadPublishedProperty(object, path));
}

} // namespace orvo
