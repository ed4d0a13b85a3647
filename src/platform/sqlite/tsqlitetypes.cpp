#include "platform/sqlite/tsqlitetypes.h"

#include "platform/core/exceptions.h"

#include <QRegularExpression>

#include <cmath>

namespace orvo {

namespace {

// The numbers in "VARCHAR(40)" or "DECIMAL(10, 2)"; -1 where absent.
std::pair<int, int> TypeArguments(const QString& declared)
{
    static const QRegularExpression args(QStringLiteral("\\(\\s*(\\d+)\\s*(?:,\\s*(\\d+)\\s*)?\\)"));
    const QRegularExpressionMatch m = args.match(declared);
    if (!m.hasMatch())
        return {-1, -1};
    return {m.captured(1).toInt(), m.captured(2).isEmpty() ? -1 : m.captured(2).toInt()};
}

bool HasAny(const QString& text, std::initializer_list<const char*> words)
{
    for (const char* w : words)
        if (text.contains(QLatin1String(w)))
            return true;
    return false;
}

QString TimeFormat(const QTime& time)
{
    return time.msec() ? QStringLiteral("HH:mm:ss.zzz") : QStringLiteral("HH:mm:ss");
}

} // namespace

TSQLiteTypes::TypeInfo TSQLiteTypes::FromDeclaredType(const QString& declaredType, bool autoIncrement)
{
    const QString t = declaredType.toUpper();
    const auto [first, second] = TypeArguments(t);
    if (t.isEmpty())
        return {ftUnknown, 0, 0};
    if (t.contains(QLatin1String("BOOL")))
        return {ftBoolean, 0, 0};
    if (HasAny(t, {"DATETIME", "TIMESTAMP"}))
        return {ftDateTime, 0, 0};
    if (t.contains(QLatin1String("DATE")))
        return {ftDate, 0, 0};
    if (t.contains(QLatin1String("TIME")))
        return {ftTime, 0, 0};
    if (t.contains(QLatin1String("INT"))) {
        if (autoIncrement)
            return {ftAutoInc, 0, 0};
        if (HasAny(t, {"BIGINT", "INT8"}))
            return {ftLargeint, 0, 0};
        if (HasAny(t, {"SMALLINT", "TINYINT"}))
            return {ftSmallint, 0, 0};
        return {ftInteger, 0, 0};
    }
    if (HasAny(t, {"MEMO", "CLOB"}))
        return {ftMemo, 0, 0};
    if (HasAny(t, {"CHAR", "TEXT", "STRING"}))
        return {ftString, first > 0 ? first : 0, 0};
    if (HasAny(t, {"GRAPHIC", "IMAGE"}))
        return {ftGraphic, 0, 0};
    if (HasAny(t, {"BLOB", "BINARY"}))
        return {ftBlob, 0, 0};
    if (HasAny(t, {"REAL", "FLOA", "DOUB"}))
        return {ftFloat, 0, 0};
    if (HasAny(t, {"MONEY", "CURRENCY"}))
        return {ftCurrency, 0, 0};
    if (HasAny(t, {"NUMERIC", "DECIMAL"})) {
        const int scale = second < 0 ? 4 : second;
        if (scale > 4)
            return {ftFloat, 0, 0};
        return {ftBCD, scale, first > 0 ? first : 18};
    }
    return {ftString, 0, 0};
}

// Nulls say nothing; integers stay integers only while no fraction is met; any text (or a mix
// of kinds) is text, which shows every kind of value unchanged.
TSQLiteTypes::TypeInfo TSQLiteTypes::FromStoredValues(const std::vector<TVariant>& raw)
{
    bool integers = false, floats = false, bytes = false, text = false;
    for (const TVariant& value : raw) {
        integers = integers || value.VarType() == varInt64;
        floats = floats || value.VarType() == varDouble;
        bytes = bytes || value.VarType() == varBytes;
        text = text || value.VarType() == varString;
    }
    if (bytes && !integers && !floats && !text)
        return {ftBlob, 0, 0};
    if (text || bytes || !(integers || floats))
        return {ftString, 0, 0};
    return {floats ? ftFloat : ftLargeint, 0, 0};
}

TVariant TSQLiteTypes::FromStorage(TFieldType type, const TVariant& raw)
{
    if (raw.IsClear())
        return TVariant::Null();
    switch (type) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
    case ftLargeint:
        return IntegerFromStorage(raw);
    case ftFloat:
    case ftCurrency:
        return FloatFromStorage(raw);
    case ftBCD:
    case ftFMTBcd: {
        const TVariant number = FloatFromStorage(raw);
        try {
            return number.IsNull() ? number : TVariant(TCurrency::FromDouble(number.AsFloat()));
        } catch (const EConvertError&) {
            return TVariant::Null();
        }
    }
    case ftBoolean:
        return BooleanFromStorage(raw);
    case ftDate:
    case ftTime:
    case ftDateTime:
    case ftTimeStamp:
        return DateTimeFromStorage(raw);
    case ftBlob:
    case ftGraphic:
    case ftBytes:
    case ftVarBytes:
    case ftTypedBinary:
        return raw.VarType() == varBytes ? raw : TVariant(raw.AsString().toUtf8());
    default:
        return raw.VarType() == varBytes ? TVariant(QString::fromUtf8(raw.AsBytes()))
                                         : TVariant(raw.AsString());
    }
}

TVariant TSQLiteTypes::IntegerFromStorage(const TVariant& raw)
{
    switch (raw.VarType()) {
    case varInt64:
        return raw;
    case varDouble: {
        const double d = raw.AsFloat();
        if (!std::isfinite(d) || std::abs(d) > 9.2e18)
            return TVariant::Null();
        return TVariant(qint64(std::llround(d)));
    }
    case varString: {
        bool ok = false;
        const qint64 v = raw.AsString().trimmed().toLongLong(&ok);
        return ok ? TVariant(v) : TVariant::Null();
    }
    default:
        return TVariant::Null();
    }
}

TVariant TSQLiteTypes::FloatFromStorage(const TVariant& raw)
{
    switch (raw.VarType()) {
    case varInt64:
    case varDouble:
        return TVariant(raw.AsFloat());
    case varString: {
        bool ok = false;
        const double v = raw.AsString().trimmed().toDouble(&ok);
        return ok ? TVariant(v) : TVariant::Null();
    }
    default:
        return TVariant::Null();
    }
}

TVariant TSQLiteTypes::BooleanFromStorage(const TVariant& raw)
{
    switch (raw.VarType()) {
    case varInt64:
    case varDouble:
        return TVariant(raw.AsFloat() != 0.0);
    case varString: {
        const QString s = raw.AsString().trimmed().toLower();
        if (s == QLatin1String("1") || s == QLatin1String("true") || s == QLatin1String("t") ||
            s == QLatin1String("yes") || s == QLatin1String("y"))
            return TVariant(true);
        if (s == QLatin1String("0") || s == QLatin1String("false") || s == QLatin1String("f") ||
            s == QLatin1String("no") || s == QLatin1String("n"))
            return TVariant(false);
        return TVariant::Null();
    }
    default:
        return TVariant::Null();
    }
}

// Numbers are taken as the platform's own day serial; text in ISO forms with or without
// the date, with "T" or " " between date and time, and with or without milliseconds.
TVariant TSQLiteTypes::DateTimeFromStorage(const TVariant& raw)
{
    if (raw.VarType() == varInt64 || raw.VarType() == varDouble)
        return TVariant(TDateTime(raw.AsFloat()));
    if (raw.VarType() != varString)
        return TVariant::Null();
    QString s = raw.AsString().trimmed();
    if (s.size() > 10 && s.at(10) == QLatin1Char('T'))
        s[10] = QLatin1Char(' ');
    const QDate date = QDate::fromString(s.left(10), QStringLiteral("yyyy-MM-dd"));
    if (date.isValid() && s.size() == 10)
        return TVariant(TDateTime::FromQDate(date));
    const QString timeText = date.isValid() ? s.mid(11) : s;
    if (date.isValid() && s.at(10) != QLatin1Char(' '))
        return TVariant::Null();
    QTime time = QTime::fromString(timeText, Qt::ISODateWithMs);
    if (!time.isValid())
        time = QTime::fromString(timeText, QStringLiteral("HH:mm"));
    if (!time.isValid())
        return TVariant::Null();
    const double day = date.isValid() ? TDateTime::FromQDate(date).Value() : 0.0;
    // Before 1899 the time fraction counts away from zero too: -1.25 is 29 December, 06:00.
    const double fraction = TDateTime::FromQTime(time).Value();
    return TVariant(TDateTime(day < 0 ? day - fraction : day + fraction));
}

TVariant TSQLiteTypes::ToStorage(TFieldType type, const TVariant& value)
{
    if (value.IsClear())
        return TVariant::Null();
    switch (type) {
    case ftBoolean:
        return TVariant(qint64(value.AsBoolean() ? 1 : 0));
    case ftBCD:
    case ftFMTBcd:
    case ftCurrency:
    case ftFloat:
        return TVariant(value.AsFloat());
    case ftDate:
    case ftTime:
    case ftDateTime:
    case ftTimeStamp:
        return DateTimeToStorage(type, value);
    default:
        return value;
    }
}

TVariant TSQLiteTypes::DateTimeToStorage(TFieldType type, const TVariant& value)
{
    const TDateTime dt = value.AsDateTime();
    const QDate date = dt.ToQDate();
    const QTime time = dt.ToQTime();
    const QString dateText = date.toString(QStringLiteral("yyyy-MM-dd"));
    const QString timeText = time.toString(TimeFormat(time));
    if (type == ftDate)
        return TVariant(dateText);
    if (type == ftTime)
        return TVariant(timeText);
    return TVariant(dateText + QLatin1Char(' ') + timeText);
}

} // namespace orvo
