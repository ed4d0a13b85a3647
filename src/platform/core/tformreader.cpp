#include "platform/core/tformreader.h"

#include "platform/core/exceptions.h"
#include "platform/core/tcollection.h"
#include "platform/core/tcolor.h"
#include "platform/core/tformproperty.h"
#include "platform/core/tscopecleanup.h"
#include "platform/core/tvariant.h"

#include <QIODevice>
#include <QMetaProperty>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace orvo {

namespace {

constexpr int MaxNesting = 32;

[[noreturn]] void Fail(int line, const QString& message)
{
    throw EStreamError(QStringLiteral("Line %1: %2").arg(line).arg(message));
}

// --- Tokens --------------------------------------------------------------------------------------

enum TTokenKind
{
    tkEnd,
    tkIdent,
    tkInteger,
    tkFloat,
    tkString,
    tkBytes,
    tkSymbol
};

struct TToken
{
    TTokenKind Kind = tkEnd;
    QString Text;
    int Line = 1;
};

class TTokenizer
{
public:
    explicit TTokenizer(const QString& text) : FText(text) {}

    TToken Next()
    {
        SkipBlanks();
        TToken token;
        token.Line = FLine;
        if (AtEnd())
            return token;
        const QChar c = Peek();
        if (c == QLatin1Char('\'') || c == QLatin1Char('#'))
            return ReadString(token);
        if (c.isLetter() || c == QLatin1Char('_'))
            return ReadIdent(token);
        if (c.isDigit() || c == QLatin1Char('-') || c == QLatin1Char('+') || c == QLatin1Char('$'))
            return ReadNumber(token);
        if (c == QLatin1Char('{'))
            return ReadBytes(token);
        if (QStringLiteral("=:[](),<>").contains(c)) {
            ++FPos;
            token.Kind = tkSymbol;
            token.Text = c;
            return token;
        }
        Fail(FLine, QStringLiteral("unexpected character '%1'").arg(c));
    }

private:
    bool AtEnd() const { return FPos >= FText.size(); }
    QChar Peek(int ahead = 0) const { return FPos + ahead < FText.size() ? FText.at(FPos + ahead) : QChar(); }

    void SkipBlanks()
    {
        while (!AtEnd() && Peek().isSpace()) {
            if (Peek() == QLatin1Char('\n'))
                ++FLine;
            ++FPos;
        }
    }

    TToken ReadIdent(TToken& token)
    {
        const qsizetype start = FPos;
        while (!AtEnd() &&
               (Peek().isLetterOrNumber() || Peek() == QLatin1Char('_') || Peek() == QLatin1Char('.')))
            ++FPos;
        token.Kind = tkIdent;
        token.Text = FText.mid(start, FPos - start);
        return token;
    }

    TToken ReadNumber(TToken& token)
    {
        const qsizetype start = FPos;
        if (Peek() == QLatin1Char('-') || Peek() == QLatin1Char('+'))
            ++FPos;
        const bool hex = Peek() == QLatin1Char('$');
        if (hex)
            ++FPos;
        bool isFloat = false;
        while (!AtEnd()) {
            const QChar c = Peek();
            const bool exponentSign =
                (c == QLatin1Char('-') || c == QLatin1Char('+')) &&
                (FText.at(FPos - 1) == QLatin1Char('e') || FText.at(FPos - 1) == QLatin1Char('E'));
            if (c.isDigit() || (hex && c.isLetter()) || exponentSign)
                ++FPos;
            else if (!hex && (c == QLatin1Char('.') || c == QLatin1Char('e') || c == QLatin1Char('E'))) {
                isFloat = true;
                ++FPos;
            } else
                break;
        }
        token.Kind = isFloat ? tkFloat : tkInteger;
        token.Text = FText.mid(start, FPos - start);
        return token;
    }

    TToken ReadBytes(TToken& token)
    {
        const qsizetype close = FText.indexOf(QLatin1Char('}'), FPos);
        if (close < 0)
            Fail(FLine, QStringLiteral("binary data without its closing '}'"));
        const QString hex = FText.mid(FPos + 1, close - FPos - 1);
        FLine += int(hex.count(QLatin1Char('\n')));
        FPos = close + 1;
        token.Kind = tkBytes;
        token.Text = QString(hex).remove(QRegularExpression(QStringLiteral("\\s")));
        return token;
    }

    // Quoted runs, #n character codes and '+' continuations make one string.
    TToken ReadString(TToken& token)
    {
        token.Kind = tkString;
        for (;;) {
            if (Peek() == QLatin1Char('\''))
                ReadQuoted(token.Text);
            else if (Peek() == QLatin1Char('#'))
                token.Text += ReadCharCode();
            else if (!ContinuesString())
                return token;
        }
    }

    bool ContinuesString()
    {
        const qsizetype saved = FPos;
        const int savedLine = FLine;
        SkipBlanks();
        if (Peek() == QLatin1Char('+')) {
            ++FPos;
            SkipBlanks();
            if (Peek() == QLatin1Char('\'') || Peek() == QLatin1Char('#'))
                return true;
        }
        FPos = saved;
        FLine = savedLine;
        return false;
    }

    void ReadQuoted(QString& out)
    {
        ++FPos;
        for (;;) {
            if (AtEnd() || Peek() == QLatin1Char('\n'))
                Fail(FLine, QStringLiteral("unterminated string"));
            const QChar c = Peek();
            ++FPos;
            if (c != QLatin1Char('\'')) {
                out += c;
            } else if (Peek() == QLatin1Char('\'')) {
                out += c;
                ++FPos;
            } else {
                return;
            }
        }
    }

    QString ReadCharCode()
    {
        ++FPos;
        const qsizetype start = FPos;
        while (!AtEnd() && Peek().isDigit())
            ++FPos;
        bool ok = false;
        const uint code = FText.mid(start, FPos - start).toUInt(&ok);
        if (!ok || code > 0x10FFFF)
            Fail(FLine, QStringLiteral("a bad character code after '#'"));
        const char32_t ch = code;
        return QString::fromUcs4(&ch, 1);
    }

    QString FText;
    qsizetype FPos = 0;
    int FLine = 1;
};

// --- Parsed form ---------------------------------------------------------------------------------

struct TItem;

struct TValue
{
    TToken Token;             // the literal, or the opening symbol of a list, set or collection
    QStringList Names;        // members of a set, strings of a list
    std::vector<TItem> Items; // items of a collection
};

struct TAssignment
{
    QString Path;
    int Line = 0;
    TValue Value;
};

struct TItem
{
    int Line = 0;
    std::vector<TAssignment> Assignments;
};

struct TParsedObject
{
    QString Name;
    QString ClassName;
    int Line = 0;
    std::vector<TAssignment> Assignments;
};

class TParser
{
public:
    explicit TParser(const QString& text) : FTokens(text) { Advance(); }

    TParsedObject ParseObject()
    {
        TParsedObject result;
        result.Line = FToken.Line;
        ExpectWord(QStringLiteral("object"));
        // An unnamed object names only its class, as "object TClass".
        const QString first = ExpectIdent(QStringLiteral("the object's name"));
        if (IsSymbol(":")) {
            Advance();
            result.Name = first;
            result.ClassName = ExpectIdent(QStringLiteral("the object's class"));
        } else {
            result.ClassName = first;
        }
        result.Assignments = ParseAssignments(0);
        ExpectWord(QStringLiteral("end"));
        if (FToken.Kind != tkEnd)
            Fail(FToken.Line, QStringLiteral("text after the object's end"));
        return result;
    }

private:
    void Advance() { FToken = FTokens.Next(); }

    bool IsWord(const QString& word) const
    {
        return FToken.Kind == tkIdent && FToken.Text.compare(word, Qt::CaseInsensitive) == 0;
    }
    bool IsSymbol(const char* symbol) const
    {
        return FToken.Kind == tkSymbol && FToken.Text == QLatin1String(symbol);
    }

    [[noreturn]] void Unexpected(const QString& wanted) const
    {
        if (FToken.Kind == tkEnd)
            Fail(FToken.Line, QStringLiteral("the form ends where %1 was expected").arg(wanted));
        Fail(FToken.Line, QStringLiteral("%1 expected, found '%2'").arg(wanted, FToken.Text));
    }

    void ExpectWord(const QString& word)
    {
        if (!IsWord(word))
            Unexpected(QLatin1Char('\'') + word + QLatin1Char('\''));
        Advance();
    }
    void ExpectSymbol(const QString& symbol)
    {
        if (FToken.Kind != tkSymbol || FToken.Text != symbol)
            Unexpected(QLatin1Char('\'') + symbol + QLatin1Char('\''));
        Advance();
    }
    QString ExpectIdent(const QString& what)
    {
        if (FToken.Kind != tkIdent)
            Unexpected(what);
        const QString text = FToken.Text;
        Advance();
        return text;
    }

    std::vector<TAssignment> ParseAssignments(int depth)
    {
        std::vector<TAssignment> result;
        while (FToken.Kind == tkIdent && !IsWord(QStringLiteral("end"))) {
            if (IsWord(QStringLiteral("object")) || IsWord(QStringLiteral("inherited")))
                Fail(FToken.Line, QStringLiteral("nested objects are not supported here"));
            TAssignment assignment;
            assignment.Line = FToken.Line;
            assignment.Path = ExpectIdent(QStringLiteral("a property name"));
            ExpectSymbol(QStringLiteral("="));
            assignment.Value = ParseValue(depth);
            result.push_back(std::move(assignment));
        }
        return result;
    }

    TValue ParseValue(int depth)
    {
        TValue value;
        value.Token = FToken;
        if (IsSymbol("["))
            ParseSet(value);
        else if (IsSymbol("("))
            ParseList(value);
        else if (IsSymbol("<"))
            ParseCollection(value, depth);
        else if (FToken.Kind == tkSymbol || FToken.Kind == tkEnd)
            Unexpected(QStringLiteral("a value"));
        else
            Advance();
        return value;
    }

    void ParseSet(TValue& value)
    {
        Advance();
        while (!IsSymbol("]")) {
            value.Names << ExpectIdent(QStringLiteral("a set member"));
            if (!IsSymbol("]"))
                ExpectSymbol(QStringLiteral(","));
        }
        Advance();
    }

    void ParseList(TValue& value)
    {
        Advance();
        while (!IsSymbol(")")) {
            if (FToken.Kind != tkString)
                Unexpected(QStringLiteral("a string"));
            value.Names << FToken.Text;
            Advance();
        }
        Advance();
    }

    void ParseCollection(TValue& value, int depth)
    {
        if (depth >= MaxNesting)
            Fail(FToken.Line, QStringLiteral("collections nested too deeply"));
        Advance();
        while (!IsSymbol(">")) {
            TItem item;
            item.Line = FToken.Line;
            ExpectWord(QStringLiteral("item"));
            item.Assignments = ParseAssignments(depth + 1);
            ExpectWord(QStringLiteral("end"));
            value.Items.push_back(std::move(item));
        }
        Advance();
    }

    TTokenizer FTokens;
    TToken FToken;
};

// --- Applying ------------------------------------------------------------------------------------

QString Quoted(const QString& text)
{
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

class TApplier
{
public:
    void Apply(QObject& object, const std::vector<TAssignment>& assignments)
    {
        for (const TAssignment& assignment : assignments)
            ApplyOne(object, assignment);
    }

private:
    void ApplyOne(QObject& root, const TAssignment& a)
    {
        const QStringList parts = a.Path.split(QLatin1Char('.'));
        QObject* target = &root;
        for (int i = 0; i < parts.size(); ++i) {
            const QMetaProperty property = FindProperty(*target, parts.at(i), a.Line);
            const TFormProperty::TKind kind = TFormProperty::KindOf(property, *target);
            const bool last = i + 1 == parts.size();
            if (kind == TFormProperty::fpObject && !last) {
                target = property.read(target).value<QObject*>();
                if (!target)
                    Fail(a.Line, QStringLiteral("property %1 holds no object").arg(parts.at(i)));
                continue;
            }
            if (kind == TFormProperty::fpFont && i + 2 == parts.size()) {
                WriteFontPart(*target, property, parts.at(i + 1), a);
                return;
            }
            if (!last)
                Fail(a.Line, QStringLiteral("property %1 has no properties of its own").arg(parts.at(i)));
            WriteValue(*target, property, kind, a);
        }
    }

    // Property names are matched regardless of case, as hand-edited form files spell them.
    static QMetaProperty FindProperty(const QObject& object, const QString& name, int line)
    {
        const QMetaObject* metaObject = object.metaObject();
        for (int i = QObject::staticMetaObject.propertyCount(); i < metaObject->propertyCount(); ++i) {
            const QMetaProperty property = metaObject->property(i);
            if (name.compare(QLatin1String(property.name()), Qt::CaseInsensitive) == 0)
                return property;
        }
        Fail(
            line,
            QStringLiteral("%1 has no property %2").arg(TFormProperty::ClassName(*metaObject), Quoted(name)));
    }

    void WriteValue(QObject& target, const QMetaProperty& property, TFormProperty::TKind kind,
                    const TAssignment& a)
    {
        if (kind == TFormProperty::fpCollection) {
            auto* collection = qobject_cast<TCollection*>(property.read(&target).value<QObject*>());
            if (!collection)
                Fail(a.Line, QStringLiteral("property %1 holds no collection").arg(Quoted(a.Path)));
            ReadCollection(*collection, a);
            return;
        }
        if (kind == TFormProperty::fpObject || kind == TFormProperty::fpReference || !property.isWritable())
            Fail(a.Line, QStringLiteral("property %1 cannot be set from a form").arg(Quoted(a.Path)));
        const QVariant value = Convert(target, property, kind, a);
        Guarded(a.Line, [&] {
            if (!property.write(&target, value))
                Fail(a.Line, QStringLiteral("property %1 did not take the value").arg(Quoted(a.Path)));
        });
    }

    // Items are read apart from the collection and replace its items only once every one
    // was read, so that an error leaves the collection as it was.
    void ReadCollection(TCollection& collection, const TAssignment& a)
    {
        if (a.Value.Token.Kind != tkSymbol || a.Value.Token.Text != QLatin1String("<"))
            Expected(a, QStringLiteral("a collection <item ... end>"));
        std::vector<std::unique_ptr<TCollectionItem>> items;
        for (const TItem& parsed : a.Value.Items) {
            items.emplace_back(TFormProperty::NewItem(collection));
            Apply(*items.back(), parsed.Assignments);
        }
        Guarded(a.Line, [&] {
            collection.BeginUpdate();
            const auto endUpdate = Finally([&collection] { collection.EndUpdate(); });
            collection.Clear();
            for (auto& item : items)
                item.release()->SetCollection(&collection);
        });
    }

    template <typename F> static void Guarded(int line, F&& action)
    {
        try {
            action();
        } catch (const EStreamError&) {
            throw;
        } catch (const Exception& e) {
            Fail(line, e.Message());
        }
    }

    [[noreturn]] static void Expected(const TAssignment& a, const QString& what)
    {
        Fail(a.Line, QStringLiteral("property %1 expects %2").arg(Quoted(a.Path), what));
    }

    static bool IsKind(const TAssignment& a, TTokenKind kind) { return a.Value.Token.Kind == kind; }
    static const QString& Text(const TAssignment& a) { return a.Value.Token.Text; }

    static qint64 Integer(const TAssignment& a)
    {
        if (!IsKind(a, tkInteger))
            Expected(a, QStringLiteral("an integer"));
        QString text = Text(a);
        bool negative = text.startsWith(QLatin1Char('-'));
        if (negative || text.startsWith(QLatin1Char('+')))
            text.remove(0, 1);
        bool ok = false;
        const qint64 magnitude =
            text.startsWith(QLatin1Char('$')) ? text.mid(1).toLongLong(&ok, 16) : text.toLongLong(&ok, 10);
        if (!ok)
            Fail(a.Line, QStringLiteral("%1 is not a valid integer").arg(Quoted(Text(a))));
        return negative ? -magnitude : magnitude;
    }

    static double Float(const TAssignment& a)
    {
        if (IsKind(a, tkInteger))
            return double(Integer(a));
        bool ok = false;
        const double value = IsKind(a, tkFloat) ? Text(a).toDouble(&ok) : 0.0;
        if (!ok)
            Expected(a, QStringLiteral("a number"));
        return value;
    }

    static int Int32(const TAssignment& a)
    {
        const qint64 value = Integer(a);
        if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
            Fail(a.Line, QStringLiteral("%1 is out of range").arg(value));
        return int(value);
    }

    static bool Boolean(const TAssignment& a)
    {
        if (IsKind(a, tkIdent) && Text(a).compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (IsKind(a, tkIdent) && Text(a).compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
        Expected(a, QStringLiteral("True or False"));
    }

    static QString String(const TAssignment& a)
    {
        if (!IsKind(a, tkString))
            Expected(a, QStringLiteral("a string"));
        return Text(a);
    }

    static TColor Color(const TAssignment& a)
    {
        if (IsKind(a, tkInteger))
            return TColor(Int32(a));
        if (!IsKind(a, tkIdent))
            Expected(a, QStringLiteral("a colour"));
        try {
            return StringToColor(Text(a));
        } catch (const EConvertError&) {
            Fail(a.Line, QStringLiteral("%1 is not a colour").arg(Quoted(Text(a))));
        }
    }

    static QByteArray Bytes(const TAssignment& a)
    {
        const QByteArray hex = Text(a).toLatin1();
        const bool valid = hex.size() % 2 == 0 && std::all_of(hex.begin(), hex.end(), [](char c) {
                               return std::isxdigit(static_cast<unsigned char>(c));
                           });
        if (!IsKind(a, tkBytes) || !valid)
            Expected(a, QStringLiteral("binary data {hex}"));
        return QByteArray::fromHex(hex);
    }

    static int EnumValue(const QMetaEnum& e, const QString& name, const TAssignment& a)
    {
        bool ok = false;
        const int value = e.keyToValue(name.toLatin1().constData(), &ok);
        if (!ok)
            Fail(a.Line,
                 QStringLiteral("%1 is not a value of %2").arg(Quoted(name), QString::fromLatin1(e.name())));
        return value;
    }

    static TVariant Variant(const TAssignment& a)
    {
        switch (a.Value.Token.Kind) {
        case tkInteger:
            return TVariant(Integer(a));
        case tkFloat:
            return TVariant(Float(a));
        case tkString:
            return TVariant(Text(a));
        case tkBytes:
            return TVariant(Bytes(a));
        case tkIdent:
            if (Text(a).compare(QLatin1String("Null"), Qt::CaseInsensitive) == 0)
                return TVariant::Null();
            if (Text(a).compare(QLatin1String("Unassigned"), Qt::CaseInsensitive) == 0)
                return TVariant();
            return TVariant(Boolean(a));
        default:
            Expected(a, QStringLiteral("a value"));
        }
    }

    static QVariant Convert(const QObject& target, const QMetaProperty& property, TFormProperty::TKind kind,
                            const TAssignment& a)
    {
        switch (kind) {
        case TFormProperty::fpBoolean:
            return Boolean(a);
        case TFormProperty::fpInteger: {
            QVariant value = QVariant::fromValue(Integer(a));
            if (!value.convert(property.metaType()) || value.toLongLong() != Integer(a))
                Fail(a.Line, QStringLiteral("%1 is out of range").arg(Integer(a)));
            return value;
        }
        case TFormProperty::fpColor:
            return Color(a);
        case TFormProperty::fpFloat:
            return Float(a);
        case TFormProperty::fpString:
            return String(a);
        case TFormProperty::fpChar:
            if (String(a).size() != 1)
                Expected(a, QStringLiteral("one character"));
            return String(a).at(0);
        case TFormProperty::fpBytes:
            return Bytes(a);
        case TFormProperty::fpVariant:
            return QVariant::fromValue(Variant(a));
        case TFormProperty::fpStrings:
            if (!IsKind(a, tkSymbol) || Text(a) != QLatin1String("("))
                Expected(a, QStringLiteral("a list of strings ( ... )"));
            return a.Value.Names;
        case TFormProperty::fpEnum: {
            if (!IsKind(a, tkIdent))
                Expected(
                    a,
                    QStringLiteral("a value of %1").arg(QString::fromLatin1(property.enumerator().name())));
            const int ordinal = EnumValue(property.enumerator(), Text(a), a);
            return QVariant(property.metaType(), &ordinal);
        }
        case TFormProperty::fpSet: {
            if (!IsKind(a, tkSymbol) || Text(a) != QLatin1String("["))
                Expected(a, QStringLiteral("a set [ ... ]"));
            const QMetaEnum members = TFormProperty::SetEnumerator(property, target);
            quint64 bits = 0;
            for (const QString& name : a.Value.Names) {
                const int ordinal = EnumValue(members, name, a);
                if (ordinal >= 0 && ordinal < 64)
                    bits |= quint64(1) << ordinal;
            }
            return TFormProperty::MakeSet(property.metaType(), bits);
        }
        default:
            Fail(a.Line, QStringLiteral("property %1 has a type (%2) form files cannot hold")
                             .arg(Quoted(a.Path), QString::fromLatin1(property.metaType().name())));
        }
    }

    static void WriteFontPart(QObject& target, const QMetaProperty& property, const QString& part,
                              const TAssignment& a)
    {
        QVariant value = property.read(&target);
        TFormProperty::TFontParts font = TFormProperty::FontParts(value);
        QFont& qfont = font.Font;
        if (part.compare(QLatin1String("Color"), Qt::CaseInsensitive) == 0) {
            font.Color = Color(a);
        } else if (part.compare(QLatin1String("Height"), Qt::CaseInsensitive) == 0) {
            const int height = Int32(a);
            if (height != 0)
                qfont.setPixelSize(std::abs(height));
        } else if (part.compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0) {
            qfont.setFamily(String(a));
        } else if (part.compare(QLatin1String("Style"), Qt::CaseInsensitive) == 0) {
            SetFontStyle(qfont, a);
        } else if (part.compare(QLatin1String("Charset"), Qt::CaseInsensitive) != 0) {
            Fail(a.Line, QStringLiteral("a font has no property %1").arg(Quoted(part)));
        }
        TFormProperty::SetFontParts(value, font);
        Guarded(a.Line, [&] { property.write(&target, value); });
    }

    static void SetFontStyle(QFont& font, const TAssignment& a)
    {
        if (!IsKind(a, tkSymbol) || Text(a) != QLatin1String("["))
            Expected(a, QStringLiteral("a set of font styles"));
        const QStringList known{QStringLiteral("fsBold"), QStringLiteral("fsItalic"),
                                QStringLiteral("fsUnderline"), QStringLiteral("fsStrikeOut")};
        for (const QString& name : a.Value.Names) {
            if (!known.contains(name))
                Fail(a.Line, QStringLiteral("%1 is not a font style").arg(Quoted(name)));
        }
        font.setBold(a.Value.Names.contains(known.at(0)));
        font.setItalic(a.Value.Names.contains(known.at(1)));
        font.setUnderline(a.Value.Names.contains(known.at(2)));
        font.setStrikeOut(a.Value.Names.contains(known.at(3)));
    }
};

} // namespace

TFormReader::TFormReader(QIODevice& device) : FDevice(device) {}

void TFormReader::ReadObject(QObject& object)
{
    const QByteArray bytes = FDevice.readAll();
    const TParsedObject parsed = TParser(QString::fromUtf8(bytes)).ParseObject();
    const QString className = TFormProperty::ClassName(*object.metaObject());
    if (parsed.ClassName != className)
        Fail(parsed.Line, QStringLiteral("an object of class %1 was expected, the form holds %2")
                              .arg(className, parsed.ClassName));
    object.setObjectName(parsed.Name);
    TApplier().Apply(object, parsed.Assignments);
}

} // namespace orvo
