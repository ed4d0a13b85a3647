#pragma once

#include "platform/core/tcolor.h"

#include <QFont>
#include <QMetaEnum>
#include <QMetaProperty>
#include <QString>

class QObject;

namespace orvo {

class TCollection;
class TCollectionItem;

/// How the form-file streams see one published property: the kind of value it holds
/// and the helpers the writer and the reader share, so that both agree on what goes
/// into a form file and how it is spelled.
class TFormProperty
{
public:
    enum TKind
    {
        fpUnsupported,
        fpBoolean,
        fpInteger,
        fpColor,
        fpFloat,
        fpString,
        fpChar,
        fpEnum,
        fpSet,
        fpStrings,
        fpVariant,
        fpFont,
        fpBytes,
        fpCollection,
        fpObject,
        fpReference
    };

    /// Classifies `property` of `owner`; an object property is owned (written as dotted
    /// properties) when the owner cannot replace it or is its parent.
    static TKind KindOf(const QMetaProperty& property, const QObject& owner);
    /// Whether a stored form holds the property: the class's invokable IsPStored() when it
    /// has one, else the property's STORED flag.
    static bool IsStored(const QMetaProperty& property, const QObject& owner);
    /// True when the class decides through IsPStored(), so that no default comparison is due.
    static bool HasStoredFunction(const QMetaProperty& property, const QObject& owner);
    /// The enumeration whose members a TSet property holds; raises EStreamError when it is
    /// not registered with the meta-object system.
    static QMetaEnum SetEnumerator(const QMetaProperty& property, const QObject& owner);
    static quint64 SetBits(const QVariant& value);
    static QVariant MakeSet(QMetaType type, quint64 bits);
    /// The class name a form file shows: without the namespace.
    static QString ClassName(const QMetaObject& metaObject);
    /// A fresh item of the class `collection` holds, in no collection; the caller owns it.
    static TCollectionItem* NewItem(TCollection& collection);

    /// What form files name of a font property: the Qt font and the text colour.
    struct TFontParts
    {
        QFont Font;
        TColor Color = clWindowText;
    };
    using TFontPartsOf = TFontParts (*)(const QVariant& value);
    using TSetFontParts = void (*)(QVariant& value, const TFontParts& parts);
    /// The drawing layer owns the font type and registers here how its values give and
    /// take their parts, so that the core streams fonts without depending on that layer.
    /// Until a type is registered no property is of kind fpFont.
    static void RegisterFontType(QMetaType type, TFontPartsOf partsOf, TSetFontParts setParts);
    /// The parts of `value`, which holds the registered font type.
    static TFontParts FontParts(const QVariant& value);
    static void SetFontParts(QVariant& value, const TFontParts& parts);
};

} // namespace orvo
