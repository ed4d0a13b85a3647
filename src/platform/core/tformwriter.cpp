#include "platform/core/tformwriter.h"

#include "platform/core/exceptions.h"
#include "platform/core/tcollection.h"
#include "platform/core/tcolor.h"
#include "platform/core/tformproperty.h"
#include "platform/core/tvariant.h"

#include <QIODevice>
#include <QLocale>
#include <QMetaProperty>
#include <QStringList>

#include <cmath>
#include <memory>

namespace orvo {

namespace {

constexpr int IndentWidth = 2;

QString FloatText(double value)
{
    QString text = QString::number(value, 'g', QLocale::FloatingPointShortest);
    if (!text.contains(QLatin1Char('.')) && !text.contains(QLatin1Char('e')))
        text += QStringLiteral(".0");
    return text;
}

// Line and paragraph separators print, but would break a line-based file for other readers.
bool IsPlainChar(char32_t code)
{
    return QChar::isPrint(code) && code != 0x2028 && code != 0x2029;
}

// The pixel height at 96 dpi, negative, as form files of the classic platform keep it;
// 0 for a font that has no size yet (as without a GUI application), which readers take
// as "keep the current size".
int FontHeight(const QFont& font)
{
    if (font.pixelSize() > 0)
        return -font.pixelSize();
    if (font.pointSizeF() > 0)
        return -int(std::lround(font.pointSizeF() * 96.0 / 72.0));
    return 0;
}

QString FontStyleText(const QFont& font)
{
    QStringList styles;
    if (font.bold())
        styles << QStringLiteral("fsBold");
    if (font.italic())
        styles << QStringLiteral("fsItalic");
    if (font.underline())
        styles << QStringLiteral("fsUnderline");
    if (font.strikeOut())
        styles << QStringLiteral("fsStrikeOut");
    return QLatin1Char('[') + styles.join(QStringLiteral(", ")) + QLatin1Char(']');
}

std::unique_ptr<QObject> NewInstanceOf(const QObject& object)
{
    return std::unique_ptr<QObject>(object.metaObject()->newInstance());
}

} // namespace

TFormWriter::TFormWriter(QIODevice& device) : FDevice(device) {}

QString TFormWriter::QuoteString(const QString& text)
{
    if (text.isEmpty())
        return QStringLiteral("''");
    QString result;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A surrogate pair is one character: printed as it is, or coded as one number.
        const bool pair =
            i + 1 < text.size() && text.at(i).isHighSurrogate() && text.at(i + 1).isLowSurrogate();
        const char32_t code =
            pair ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1)) : text.at(i).unicode();
        const bool plain = IsPlainChar(code);
        if (plain != quoted)
            result += QLatin1Char('\'');
        quoted = plain;
        if (!plain)
            result += QLatin1Char('#') + QString::number(uint(code));
        else if (code == U'\'')
            result += QStringLiteral("''");
        else
            result += text.mid(i, pair ? 2 : 1);
        i += pair ? 1 : 0;
    }
    if (quoted)
        result += QLatin1Char('\'');
    return result;
}

QString TFormWriter::VariantText(const TVariant& value)
{
    switch (value.VarType()) {
    case varEmpty:
        return QStringLiteral("Unassigned");
    case varNull:
        return QStringLiteral("Null");
    case varBoolean:
        return value.AsBoolean() ? QStringLiteral("True") : QStringLiteral("False");
    case varInt64:
        return QString::number(value.AsInt64());
    case varString:
        return QuoteString(value.AsString());
    case varBytes:
        return QLatin1Char('{') + QString::fromLatin1(value.AsBytes().toHex().toUpper()) + QLatin1Char('}');
    case varArray:
        throw EStreamError(QStringLiteral("A variant array cannot be written to a form file"));
    default:
        return FloatText(value.AsFloat());
    }
}

void TFormWriter::WriteObject(const QObject& object, const QObject* defaults)
{
    std::unique_ptr<QObject> fresh;
    if (!defaults) {
        fresh = NewInstanceOf(object);
        defaults = fresh.get();
    }
    const QString className = TFormProperty::ClassName(*object.metaObject());
    // "object : TClass" would not read back; an unnamed object names only its class.
    Line(object.objectName().isEmpty() ? QStringLiteral("object %1").arg(className)
                                       : QStringLiteral("object %1: %2").arg(object.objectName(), className));
    ++FIndent;
    WriteProperties(object, defaults, QString());
    --FIndent;
    Line(QStringLiteral("end"));
}

void TFormWriter::WriteProperties(const QObject& object, const QObject* defaults, const QString& prefix)
{
    const QMetaObject* metaObject = object.metaObject();
    // objectName is the object's own header, not one of its properties.
    for (int i = QObject::staticMetaObject.propertyCount(); i < metaObject->propertyCount(); ++i) {
        const QMetaProperty property = metaObject->property(i);
        if (property.isReadable() && TFormProperty::IsStored(property, object))
            WriteProperty(object, property, defaults, prefix);
    }
}

void TFormWriter::WriteProperty(const QObject& object, const QMetaProperty& property, const QObject* defaults,
                                const QString& prefix)
{
    const QString name = prefix + QString::fromLatin1(property.name());
    const QVariant value = property.read(&object);
    const TFormProperty::TKind kind = TFormProperty::KindOf(property, object);
    const QVariant defaultValue = defaults ? property.read(defaults) : QVariant(property.metaType());
    if (kind == TFormProperty::fpCollection) {
        const auto* collection = qobject_cast<const TCollection*>(value.value<QObject*>());
        if (collection)
            WriteCollection(*collection, qobject_cast<const TCollection*>(defaultValue.value<QObject*>()),
                            name);
        return;
    }
    if (kind == TFormProperty::fpObject) {
        if (const QObject* sub = value.value<QObject*>())
            WriteProperties(*sub, defaults ? defaultValue.value<QObject*>() : nullptr,
                            name + QLatin1Char('.'));
        return;
    }
    if (kind == TFormProperty::fpReference || !property.isWritable())
        return;
    const bool decided = TFormProperty::HasStoredFunction(property, object);
    if (!decided && value == defaultValue)
        return;
    if (kind == TFormProperty::fpFont)
        WriteFont(value, name);
    else if (kind == TFormProperty::fpStrings)
        WriteStrings(name, value);
    else
        Line(name + QStringLiteral(" = ") + ValueText(object, property, value));
}

void TFormWriter::WriteCollection(const TCollection& collection, const TCollection* defaults,
                                  const QString& name)
{
    // An empty collection is left out where the default has none either, so that every
    // column does not carry an empty list of total values.
    if (collection.Count() == 0) {
        if (!defaults || defaults->Count() > 0)
            Line(name + QStringLiteral(" = <>"));
        return;
    }
    Line(name + QStringLiteral(" = <"));
    ++FIndent;
    for (int i = 0; i < collection.Count(); ++i) {
        const std::unique_ptr<TCollectionItem> fresh(
            TFormProperty::NewItem(const_cast<TCollection&>(collection)));
        Line(QStringLiteral("item"));
        ++FIndent;
        WriteProperties(*collection.Items(i), fresh.get(), QString());
        --FIndent;
        Line(i + 1 < collection.Count() ? QStringLiteral("end") : QStringLiteral("end>"));
    }
    --FIndent;
}

void TFormWriter::WriteFont(const QVariant& value, const QString& name)
{
    const TFormProperty::TFontParts font = TFormProperty::FontParts(value);
    const QFont& qfont = font.Font;
    Line(name + QStringLiteral(".Color = ") + ColorToString(font.Color));
    if (const int height = FontHeight(qfont); height != 0)
        Line(name + QStringLiteral(".Height = ") + QString::number(height));
    Line(name + QStringLiteral(".Name = ") + QuoteString(qfont.family()));
    Line(name + QStringLiteral(".Style = ") + FontStyleText(qfont));
}

void TFormWriter::WriteStrings(const QString& name, const QVariant& value)
{
    const QStringList strings = value.toStringList();
    if (strings.isEmpty()) {
        Line(name + QStringLiteral(" = ()"));
        return;
    }
    Line(name + QStringLiteral(" = ("));
    ++FIndent;
    for (int i = 0; i < strings.size(); ++i)
        Line(QuoteString(strings.at(i)) + (i + 1 < strings.size() ? QString() : QStringLiteral(")")));
    --FIndent;
}

QString TFormWriter::ValueText(const QObject& object, const QMetaProperty& property,
                               const QVariant& value) const
{
    switch (TFormProperty::KindOf(property, object)) {
    case TFormProperty::fpBoolean:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case TFormProperty::fpInteger:
        return QString::number(value.toLongLong());
    case TFormProperty::fpColor:
        return ColorToString(value.toInt());
    case TFormProperty::fpFloat:
        return FloatText(value.toDouble());
    case TFormProperty::fpString:
    case TFormProperty::fpChar:
        return QuoteString(value.toString());
    case TFormProperty::fpBytes:
        return QLatin1Char('{') + QString::fromLatin1(value.toByteArray().toHex().toUpper()) +
               QLatin1Char('}');
    case TFormProperty::fpVariant:
        return VariantText(value.value<TVariant>());
    case TFormProperty::fpEnum: {
        const char* key = property.enumerator().valueToKey(value.toInt());
        if (!key)
            throw EStreamError(QStringLiteral("Property %1 holds %2, which %3 does not name")
                                   .arg(QString::fromLatin1(property.name()))
                                   .arg(value.toInt())
                                   .arg(QString::fromLatin1(property.enumerator().name())));
        return QString::fromLatin1(key);
    }
    case TFormProperty::fpSet: {
        const QMetaEnum members = TFormProperty::SetEnumerator(property, object);
        const quint64 bits = TFormProperty::SetBits(value);
        QStringList names;
        for (int i = 0; i < members.keyCount(); ++i) {
            const int ordinal = members.value(i);
            if (ordinal >= 0 && ordinal < 64 && (bits & (quint64(1) << ordinal)))
                names << QString::fromLatin1(members.key(i));
        }
        return QLatin1Char('[') + names.join(QStringLiteral(", ")) + QLatin1Char(']');
    }
    default:
        throw EStreamError(QStringLiteral("Property %1 of %2 has a type (%3) form files cannot hold")
                               .arg(QString::fromLatin1(property.name()),
                                    TFormProperty::ClassName(*object.metaObject()),
                                    QString::fromLatin1(property.metaType().name())));
    }
}

void TFormWriter::Line(const QString& text)
{
    const QByteArray bytes =
        (QString(FIndent * IndentWidth, QLatin1Char(' ')) + text + QLatin1Char('\n')).toUtf8();
    if (FDevice.write(bytes) != bytes.size())
        throw EStreamError(QStringLiteral("Cannot write the form: %1").arg(FDevice.errorString()));
}

} // namespace orvo
