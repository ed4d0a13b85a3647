#include "platform/core/tvariant.h"

#include "platform/core/exceptions.h"

#include <QLocale>

#include <cmath>

namespace orvo {

namespace {

const char* typeName(TVarType type)
{
    static const char* const names[] = {"Unassigned", "Null", "Boolean", "Int64", "Double",
                                        "Currency",   "Date", "String",  "Bytes", "Array"};
    return names[type];
}

bool parseNumber(const QString& text, double& out)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    out = QLocale::c().toDouble(trimmed, &ok);
    if (!ok)
        out = QLocale().toDouble(trimmed, &ok);
    return ok;
}

QString doubleToString(double value)
{
    // Fifteen significant digits, the precision a double keeps reliably.
    return QString::number(value, 'g', 15);
}

QString dateTimeToString(TDateTime value)
{
    const QDateTime dt = value.ToQDateTime();
    if (dt.time().msecsSinceStartOfDay() == 0)
        return dt.date().toString(Qt::ISODate);
    if (value.DatePart().Value() == 0)
        return dt.time().toString(QStringLiteral("hh:mm:ss"));
    return dt.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

int sign(double v)
{
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

// Compares strings folding only the letters A-Z, as the locate rules ask.
int compareFoldingAscii(const QString& a, const QString& b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        char16_t ca = a.at(i).unicode();
        char16_t cb = b.at(i).unicode();
        if (ca >= u'a' && ca <= u'z')
            ca = char16_t(ca - 32);
        if (cb >= u'a' && cb <= u'z')
            cb = char16_t(cb - 32);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

} // namespace

TVariant TVariant::Null()
{
    TVariant v;
    v.FData = NullTag{};
    return v;
}

TVariant TVariant::FromQVariant(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return Null();
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::UChar:
        return qint64(value.toLongLong());
    case QMetaType::ULongLong:
        return qint64(value.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return value.toDouble();
    case QMetaType::QDate:
        return TDateTime::FromQDate(value.toDate());
    case QMetaType::QTime:
        return TDateTime::FromQTime(value.toTime());
    case QMetaType::QDateTime:
        return TDateTime::FromQDateTime(value.toDateTime());
    case QMetaType::QByteArray:
        return value.toByteArray();
    default:
        if (value.canConvert<TVariant>())
            return value.value<TVariant>();
        return value.toString();
    }
}

bool TVariant::IsNumeric() const
{
    const TVarType t = VarType();
    return t == varInt64 || t == varDouble || t == varCurrency || t == varBoolean;
}

void TVariant::RaiseConversion(const char* target) const
{
    QString shown = VarType() == varString ? QStringLiteral("'%1'").arg(std::get<QString>(FData))
                                           : QString::fromLatin1(typeName(VarType()));
    throw EVariantError(QStringLiteral("Could not convert variant of type (%1) into type (%2)")
                            .arg(shown, QString::fromLatin1(target)));
}

bool TVariant::AsBoolean() const
{
    switch (VarType()) {
    case varBoolean:
        return std::get<bool>(FData);
    case varInt64:
        return std::get<qint64>(FData) != 0;
    case varDouble:
        return std::get<double>(FData) != 0.0;
    case varCurrency:
        return std::get<TCurrency>(FData).Raw() != 0;
    case varString: {
        const QString s = std::get<QString>(FData).trimmed();
        if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
        double d;
        if (parseNumber(s, d))
            return d != 0.0;
        break;
    }
    default:
        break;
    }
    RaiseConversion("Boolean");
}

qint64 TVariant::AsInt64() const
{
    switch (VarType()) {
    case varBoolean:
        return std::get<bool>(FData) ? -1 : 0;
    case varInt64:
        return std::get<qint64>(FData);
    case varDouble:
    case varCurrency:
    case varDate: {
        const double d = std::round(AsFloat());
        if (std::fabs(d) < 9.2e18)
            return qint64(d);
        break;
    }
    case varString: {
        bool ok = false;
        const qint64 v = std::get<QString>(FData).trimmed().toLongLong(&ok);
        if (ok)
            return v;
        double d;
        if (parseNumber(std::get<QString>(FData), d) && std::fabs(d) < 9.2e18)
            return qint64(std::round(d));
        break;
    }
    default:
        break;
    }
    RaiseConversion("Int64");
}

int TVariant::AsInteger() const
{
    const qint64 v = AsInt64();
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        RaiseConversion("Integer");
    return int(v);
}

double TVariant::AsFloat() const
{
    switch (VarType()) {
    case varBoolean:
        return std::get<bool>(FData) ? -1.0 : 0.0;
    case varInt64:
        return double(std::get<qint64>(FData));
    case varDouble:
        return std::get<double>(FData);
    case varCurrency:
        return std::get<TCurrency>(FData).ToDouble();
    case varDate:
        return std::get<TDateTime>(FData).Value();
    case varString: {
        double d;
        if (parseNumber(std::get<QString>(FData), d))
            return d;
        break;
    }
    default:
        break;
    }
    RaiseConversion("Double");
}

TCurrency TVariant::AsCurrency() const
{
    if (VarType() == varCurrency)
        return std::get<TCurrency>(FData);
    if (VarType() == varInt64)
        return TCurrency::FromRaw(std::get<qint64>(FData) * TCurrency::Scale);
    return TCurrency::FromDouble(AsFloat());
}

TDateTime TVariant::AsDateTime() const
{
    switch (VarType()) {
    case varDate:
        return std::get<TDateTime>(FData);
    case varInt64:
    case varDouble:
    case varCurrency:
        return TDateTime(AsFloat());
    case varString: {
        const QString s = std::get<QString>(FData).trimmed();
        QDateTime dt = QDateTime::fromString(s, Qt::ISODateWithMs);
        if (dt.isValid())
            return TDateTime::FromQDateTime(dt);
        const QDate d = QDate::fromString(s, Qt::ISODate);
        if (d.isValid())
            return TDateTime::FromQDate(d);
        const QTime t = QTime::fromString(s, Qt::ISODateWithMs);
        if (t.isValid())
            return TDateTime::FromQTime(t);
        break;
    }
    default:
        break;
    }
    RaiseConversion("Date");
}

QString TVariant::AsString() const
{
    switch (VarType()) {
    case varEmpty:
    case varNull:
        return QString();
    case varBoolean:
        return std::get<bool>(FData) ? QStringLiteral("True") : QStringLiteral("False");
    case varInt64:
        return QString::number(std::get<qint64>(FData));
    case varDouble:
        return doubleToString(std::get<double>(FData));
    case varCurrency:
        return doubleToString(std::get<TCurrency>(FData).ToDouble());
    case varDate:
        return dateTimeToString(std::get<TDateTime>(FData));
    case varString:
        return std::get<QString>(FData);
    case varBytes:
        return QString::fromUtf8(std::get<QByteArray>(FData));
    case varArray:
        break;
    }
    RaiseConversion("String");
}

QByteArray TVariant::AsBytes() const
{
    if (VarType() == varBytes)
        return std::get<QByteArray>(FData);
    if (VarType() == varArray)
        RaiseConversion("Bytes");
    return AsString().toUtf8();
}

int TVariant::ArrayHighBound() const
{
    return int(Elements().size()) - 1;
}

const TVariant& TVariant::operator[](int index) const
{
    const TVariantArray& elements = Elements();
    if (index < 0 || index >= int(elements.size()))
        throw EVariantError(QStringLiteral("Variant array index %1 out of bounds").arg(index));
    return elements[size_t(index)];
}

const TVariantArray& TVariant::Elements() const
{
    if (VarType() != varArray)
        RaiseConversion("Array");
    return *std::get<Array>(FData);
}

QVariant TVariant::ToQVariant() const
{
    switch (VarType()) {
    case varEmpty:
        return QVariant();
    case varNull:
        return QVariant::fromValue(nullptr);
    case varBoolean:
        return std::get<bool>(FData);
    case varInt64:
        return std::get<qint64>(FData);
    case varDouble:
        return std::get<double>(FData);
    case varCurrency:
        return std::get<TCurrency>(FData).ToDouble();
    case varDate:
        return std::get<TDateTime>(FData).ToQDateTime();
    case varString:
        return std::get<QString>(FData);
    case varBytes:
        return std::get<QByteArray>(FData);
    case varArray: {
        QVariantList list;
        for (const TVariant& e : Elements())
            list.append(e.ToQVariant());
        return list;
    }
    }
    return QVariant();
}

bool TVariant::operator==(const TVariant& other) const
{
    if (VarType() != other.VarType())
        return false;
    if (VarType() == varArray)
        return Elements() == other.Elements();
    return FData == other.FData;
}

bool TVariant::SameValue(const TVariant& a, const TVariant& b)
{
    if (a.IsArray() || b.IsArray()) {
        if (!a.IsArray() || !b.IsArray() || a.ArrayHighBound() != b.ArrayHighBound())
            return false;
        for (int i = 0; i <= a.ArrayHighBound(); ++i)
            if (!SameValue(a[i], b[i]))
                return false;
        return true;
    }
    if (a.IsClear() || b.IsClear())
        return a.IsClear() && b.IsClear();
    try {
        return Compare(a, b) == 0;
    } catch (const EVariantError&) {
        return false;
    }
}

int TVariant::Compare(const TVariant& a, const TVariant& b, bool caseInsensitive)
{
    const bool aClear = a.IsClear();
    const bool bClear = b.IsClear();
    if (aClear || bClear)
        return aClear == bClear ? 0 : (aClear ? -1 : 1);
    if (a.IsArray() || b.IsArray())
        throw EVariantError(QStringLiteral("Variant arrays cannot be ordered"));

    const TVarType ta = a.VarType();
    const TVarType tb = b.VarType();
    if (ta == varString && tb == varString) {
        const QString& sa = std::get<QString>(a.FData);
        const QString& sb = std::get<QString>(b.FData);
        if (caseInsensitive)
            return compareFoldingAscii(sa, sb);
        const int c = QString::compare(sa, sb, Qt::CaseSensitive);
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    if (ta == varBytes && tb == varBytes) {
        const int c = std::get<QByteArray>(a.FData).compare(std::get<QByteArray>(b.FData));
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    if (ta == varInt64 && tb == varInt64) {
        const qint64 x = std::get<qint64>(a.FData);
        const qint64 y = std::get<qint64>(b.FData);
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (ta == varCurrency && tb == varCurrency) {
        const auto x = std::get<TCurrency>(a.FData);
        const auto y = std::get<TCurrency>(b.FData);
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (ta == varDate && tb == varString)
        return sign(a.AsFloat() - b.AsDateTime().Value());
    if (ta == varString && tb == varDate)
        return sign(a.AsDateTime().Value() - b.AsFloat());
    return sign(a.AsFloat() - b.AsFloat());
}

TVariant VarArrayOf(TVariantArray elements)
{
    return TVariant(std::move(elements));
}

} // namespace orvo
