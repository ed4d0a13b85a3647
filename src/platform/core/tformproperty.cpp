#include "platform/core/tformproperty.h"

#include "platform/core/exceptions.h"
#include "platform/core/tcollection.h"
#include "platform/core/tvariant.h"

#include <QHash>
#include <QObject>
#include <QStringList>

#include <cstring>

namespace orvo {

namespace {

// TColor is a plain 32-bit integer to the meta-object system, so colour properties are
// known by the name every colour property of the suite carries.
bool IsColorName(const char* name)
{
    return QByteArray(name).endsWith("Color");
}

bool IsSetType(QMetaType type)
{
    return QByteArray(type.name()).startsWith("orvo::TSet<");
}

QByteArray SetMemberTypeName(QMetaType type)
{
    const QByteArray name = type.name();
    const int open = name.indexOf('<');
    return name.mid(open + 1, name.lastIndexOf('>') - open - 1).trimmed();
}

QMetaEnum FindEnumIn(const QMetaObject* metaObject, const QByteArray& scope, const QByteArray& enumName)
{
    if (!metaObject || scope != metaObject->className())
        return {};
    const int index = metaObject->indexOfEnumerator(enumName.constData());
    return index >= 0 ? metaObject->enumerator(index) : QMetaEnum();
}

// The enum namespaces a class names in its own enum properties hold, as a rule, the
// member enumeration of its sets too.
QMetaEnum FindEnumAround(const QMetaObject* metaObject, const QByteArray& scope, const QByteArray& enumName)
{
    for (const QMetaObject* m = metaObject; m; m = m->superClass()) {
        if (QMetaEnum e = FindEnumIn(m, scope, enumName); e.isValid())
            return e;
    }
    for (int i = 0; i < metaObject->propertyCount(); ++i) {
        const QMetaProperty property = metaObject->property(i);
        if (!property.isEnumType())
            continue;
        if (QMetaEnum e = FindEnumIn(property.enumerator().enclosingMetaObject(), scope, enumName);
            e.isValid())
            return e;
    }
    return {};
}

struct TFontType
{
    QMetaType Type;
    TFormProperty::TFontPartsOf PartsOf = nullptr;
    TFormProperty::TSetFontParts SetParts = nullptr;
};

TFontType& RegisteredFontType()
{
    static TFontType fontType;
    return fontType;
}

struct TItemFactory : TCollection
{
    using TCollection::CreateItem;
};

} // namespace

TFormProperty::TKind TFormProperty::KindOf(const QMetaProperty& property, const QObject& owner)
{
    const QMetaType type = property.metaType();
    if (property.isEnumType() && !property.isFlagType())
        return fpEnum;
    switch (type.id()) {
    case QMetaType::Bool:
        return fpBoolean;
    case QMetaType::Int:
        return IsColorName(property.name()) ? fpColor : fpInteger;
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
        return fpInteger;
    case QMetaType::Double:
        return fpFloat;
    case QMetaType::QString:
        return fpString;
    case QMetaType::QChar:
        return fpChar;
    case QMetaType::QStringList:
        return fpStrings;
    case QMetaType::QByteArray:
        return fpBytes;
    default:
        break;
    }
    if (type == QMetaType::fromType<TVariant>())
        return fpVariant;
    if (RegisteredFontType().PartsOf && type == RegisteredFontType().Type)
        return fpFont;
    if (IsSetType(type))
        return fpSet;
    if (type.flags().testFlag(QMetaType::PointerToQObject)) {
        const auto* value = property.read(&owner).value<QObject*>();
        if (qobject_cast<const TCollection*>(value) ||
            (type.metaObject() && type.metaObject()->inherits(&TCollection::staticMetaObject)))
            return fpCollection;
        if (!property.isWritable() || (value && value->parent() == &owner))
            return fpObject;
        return fpReference;
    }
    return fpUnsupported;
}

bool TFormProperty::HasStoredFunction(const QMetaProperty& property, const QObject& owner)
{
    const QByteArray signature = QByteArray("Is") + property.name() + "Stored()";
    return owner.metaObject()->indexOfMethod(signature.constData()) >= 0;
}

bool TFormProperty::IsStored(const QMetaProperty& property, const QObject& owner)
{
    if (!property.isStored())
        return false;
    if (!HasStoredFunction(property, owner))
        return true;
    bool stored = true;
    const QByteArray method = QByteArray("Is") + property.name() + "Stored";
    QMetaObject::invokeMethod(const_cast<QObject*>(&owner), method.constData(), Qt::DirectConnection,
                              Q_RETURN_ARG(bool, stored));
    return stored;
}

QMetaEnum TFormProperty::SetEnumerator(const QMetaProperty& property, const QObject& owner)
{
    static QHash<int, QMetaEnum> found;
    const QMetaType type = property.metaType();
    if (auto it = found.constFind(type.id()); it != found.cend())
        return *it;
    const QByteArray member = SetMemberTypeName(type);
    const int split = member.lastIndexOf("::");
    const QByteArray scope = split < 0 ? QByteArray() : member.left(split);
    const QByteArray enumName = member.mid(split < 0 ? 0 : split + 2);
    QMetaEnum result = FindEnumAround(owner.metaObject(), scope, enumName);
    if (!result.isValid()) {
        const QMetaType enumType = QMetaType::fromName(member);
        result = FindEnumIn(enumType.metaObject(), scope, enumName);
    }
    if (!result.isValid())
        throw EStreamError(QStringLiteral("The members of property %1 (%2) are not registered")
                               .arg(QString::fromLatin1(property.name()), QString::fromLatin1(member)));
    found.insert(type.id(), result);
    return result;
}

quint64 TFormProperty::SetBits(const QVariant& value)
{
    quint64 bits = 0;
    std::memcpy(&bits, value.constData(), sizeof bits);
    return bits;
}

QVariant TFormProperty::MakeSet(QMetaType type, quint64 bits)
{
    return QVariant(type, &bits);
}

QString TFormProperty::ClassName(const QMetaObject& metaObject)
{
    return QString::fromLatin1(metaObject.className()).split(QStringLiteral("::")).last();
}

TCollectionItem* TFormProperty::NewItem(TCollection& collection)
{
    return (collection.*(&TItemFactory::CreateItem))();
}

void TFormProperty::RegisterFontType(QMetaType type, TFontPartsOf partsOf, TSetFontParts setParts)
{
    RegisteredFontType() = {type, partsOf, setParts};
}

TFormProperty::TFontParts TFormProperty::FontParts(const QVariant& value)
{
    return RegisteredFontType().PartsOf(value);
}

void TFormProperty::SetFontParts(QVariant& value, const TFontParts& parts)
{
    RegisteredFontType().SetParts(value, parts);
}

} // namespace orvo
