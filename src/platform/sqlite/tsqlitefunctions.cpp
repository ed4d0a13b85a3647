#include "platform/sqlite/tsqlitefunctions.h"

#include "platform/data/tfilternode.h"
#include "platform/sqlite/tsqlitetypes.h"

#include <sqlite3.h>

#include <optional>

namespace orvo {

namespace {

constexpr int kFunctionFlags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;

// As TSQLiteStatement::Column reads a column, so that the conversions below see what the dataset sees.
TVariant StoredValue(sqlite3_value* value)
{
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
        return TVariant(qint64(sqlite3_value_int64(value)));
    case SQLITE_FLOAT:
        return TVariant(sqlite3_value_double(value));
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
        return TVariant(QString::fromUtf8(text, sqlite3_value_bytes(value)));
    }
    case SQLITE_BLOB: {
        const auto* data = static_cast<const char*>(sqlite3_value_blob(value));
        return TVariant(QByteArray(data, sqlite3_value_bytes(value)));
    }
    default:
        return TVariant::Null();
    }
}

// The text with its length: a NUL inside it is part of it.
void ResultText(sqlite3_context* context, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_result_text(context, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void ResultComparable(sqlite3_context* context, TFieldType type, const TVariant& value)
{
    if (value.IsClear())
        return sqlite3_result_null(context);
    switch (TFilterNode::ValueKind(type)) {
    case TFilterNode::vkText:
        return value.IsString() ? ResultText(context, value.AsString()) : sqlite3_result_null(context);
    case TFilterNode::vkNumber:
        if (value.VarType() == varInt64)
            return sqlite3_result_int64(context, value.AsInt64());
        return sqlite3_result_double(context, value.AsFloat());
    case TFilterNode::vkBoolean:
        return sqlite3_result_int(context, value.AsBoolean() ? 1 : 0);
    case TFilterNode::vkDateTime: {
        const std::optional<qint64> key =
            value.VarType() == varDate ? TFilterNode::TimeKey(value.AsDateTime()) : std::nullopt;
        return key ? sqlite3_result_int64(context, *key) : sqlite3_result_null(context);
    }
    case TFilterNode::vkUnsupported:
        break;
    }
    // Only IS NULL asks about a value of no comparable kind.
    sqlite3_result_int(context, 1);
}

// No exception may unwind through SQLite's C frames.
template <typename F> void Guarded(sqlite3_context* context, F&& body)
{
    try {
        body();
    } catch (const std::exception& e) {
        sqlite3_result_error(context, e.what(), -1);
    } catch (...) {
        sqlite3_result_error(context, "orvo function failed", -1);
    }
}

void FieldFunction(sqlite3_context* context, int, sqlite3_value** argv)
{
    Guarded(context, [&] {
        const auto type = TFieldType(sqlite3_value_int(argv[1]));
        ResultComparable(context, type, TSQLiteTypes::FromStorage(type, StoredValue(argv[0])));
    });
}

void LikeFunction(sqlite3_context* context, int, sqlite3_value** argv)
{
    Guarded(context, [&] {
        const TVariant text = StoredValue(argv[0]);
        const TVariant pattern = StoredValue(argv[1]);
        if (!text.IsString() || !pattern.IsString())
            return sqlite3_result_null(context);
        const QString folded = TFilterNode::FoldCase(text.AsString());
        sqlite3_result_int(context, TFilterNode::LikeMatches(folded, pattern.AsString()) ? 1 : 0);
    });
}

// Text of any stored value but NULL, with its full length: SQLite's own text
// functions stop at a NUL.
std::optional<QString> TextOf(sqlite3_value* value)
{
    if (sqlite3_value_type(value) == SQLITE_NULL)
        return std::nullopt;
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return QString::fromUtf8(text, sqlite3_value_bytes(value));
}

void StartsWithFunction(sqlite3_context* context, int, sqlite3_value** argv)
{
    Guarded(context, [&] {
        const std::optional<QString> text = TextOf(argv[0]);
        const std::optional<QString> prefix = TextOf(argv[1]);
        if (!text || !prefix)
            return sqlite3_result_null(context);
        sqlite3_result_int(context, text->startsWith(*prefix) ? 1 : 0);
    });
}

void CaseFoldFunction(sqlite3_context* context, int, sqlite3_value** argv)
{
    Guarded(context, [&] {
        // Numbers stored in a text column are searched as the text the dataset shows.
        const std::optional<QString> text = TextOf(argv[0]);
        if (!text)
            return sqlite3_result_null(context);
        ResultText(context, TFilterNode::FoldCase(*text));
    });
}

// Most stored texts are ASCII, whose folding is A-Z to a-z: done on the bytes, it spares
// decoding and encoding each one.
bool ResultFoldedAscii(sqlite3_context* context, sqlite3_value* value)
{
    const auto* text = reinterpret_cast<const unsigned char*>(sqlite3_value_text(value));
    const int size = sqlite3_value_bytes(value);
    if (!text)
        return false;
    QByteArray folded(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i) {
        const unsigned char c = text[i];
        if (c >= 0x80)
            return false;
        folded[i] = char(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    }
    sqlite3_result_text(context, folded.constData(), size, SQLITE_TRANSIENT);
    return true;
}

void FoldedTextFunction(sqlite3_context* context, int, sqlite3_value** argv)
{
    Guarded(context, [&] {
        const auto type = TFieldType(sqlite3_value_int(argv[1]));
        const int storage = sqlite3_value_type(argv[0]);
        // Stored as the field reads it, SQLite's own text of the value is the field's text.
        const bool asStored =
            TSQLiteFunctions::IsIntegerType(type) ? storage == SQLITE_INTEGER : storage == SQLITE_TEXT;
        if (asStored && ResultFoldedAscii(context, argv[0]))
            return;
        const TVariant read = TSQLiteTypes::FromStorage(type, StoredValue(argv[0]));
        if (read.IsClear())
            return ResultText(context, QString());
        const QString text =
            TSQLiteFunctions::IsIntegerType(type) ? QString::number(read.AsInt64()) : read.AsString();
        ResultText(context, TFilterNode::FoldCase(text));
    });
}

// The storage class whose values SQLite compares, bare, exactly as orvo_field
// delivers them for a field of `type`; nullptr when there is none. Integer and
// float fields convert the other class (a real rounds to an integer, an integer
// becomes a double that may lose digits); BCD rounds, Booleans take any number
// as true, and date-times change form, so these always convert.
const char* BareStorageClass(TFieldType type, bool textComparesBare)
{
    switch (type) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
    case ftLargeint:
        return "integer";
    case ftFloat:
    case ftCurrency:
        return "real";
    default:
        return textComparesBare && TFilterNode::ValueKind(type) == TFilterNode::vkText ? "text" : nullptr;
    }
}

} // namespace

void TSQLiteFunctions::Register(sqlite3* db)
{
    sqlite3_create_function_v2(db, "orvo_field", 2, kFunctionFlags, nullptr, FieldFunction, nullptr, nullptr,
                               nullptr);
    sqlite3_create_function_v2(db, TFilterNode::LikeSqlFunction, 2, kFunctionFlags, nullptr, LikeFunction,
                               nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "orvo_starts_with", 2, kFunctionFlags, nullptr, StartsWithFunction,
                               nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "orvo_casefold", 1, kFunctionFlags, nullptr, CaseFoldFunction, nullptr,
                               nullptr, nullptr);
    sqlite3_create_function_v2(db, "orvo_folded_text", 2, kFunctionFlags, nullptr, FoldedTextFunction,
                               nullptr, nullptr, nullptr);
}

// Both in one pass: a column whose name holds "%2" must stay as it is.
QString TSQLiteFunctions::FieldValueSql(const QString& column, TFieldType type)
{
    return QStringLiteral("orvo_field(%1, %2)").arg(column, QString::number(int(type)));
}

TFilterNode::TFieldSql TSQLiteFunctions::FilterFieldSql(const QString& column, TFieldType type,
                                                        bool textComparesBare, bool strictColumn)
{
    TFilterNode::TFieldSql sql = TFilterNode::TFieldSql::ValueOnly(FieldValueSql(column, type));
    sql.Column = column;
    const char* storageClass = BareStorageClass(type, textComparesBare);
    if (storageClass && strictColumn)
        sql.ColumnAlways = true;
    else if (storageClass)
        sql.ColumnWhen = QStringLiteral("typeof(%1) = '%2'").arg(column, QLatin1String(storageClass));
    // Any value stored in a text or binary field reads as a value: only NULL reads as Null.
    const TFilterNode::TValueKind kind = TFilterNode::ValueKind(type);
    sql.NullAsColumn =
        kind == TFilterNode::vkText || (kind == TFilterNode::vkUnsupported && IsBlobFieldType(type));
    return sql;
}

// SQLite's rules for a column's affinity, in their order: "INT" makes INTEGER,
// then "CHAR", "CLOB" or "TEXT" TEXT, then "BLOB" or no type BLOB; the rest is
// numeric, which would turn a parameter '7' into the number 7.
bool TSQLiteFunctions::TextComparesBare(const QString& declaredType, const QString& collation)
{
    if (collation.compare(QLatin1String("BINARY"), Qt::CaseInsensitive) != 0)
        return false;
    const QString type = declaredType.toUpper();
    if (type.contains(QLatin1String("INT")))
        return false;
    for (const char* text : {"CHAR", "CLOB", "TEXT", "BLOB"})
        if (type.contains(QLatin1String(text)))
            return true;
    return type.trimmed().isEmpty();
}

QString TSQLiteFunctions::StartsWithSql(const QString& text)
{
    return QStringLiteral("orvo_starts_with(%1, ?)").arg(text);
}

QString TSQLiteFunctions::CaseFoldedSql(const QString& column)
{
    return QStringLiteral("orvo_casefold(%1)").arg(column);
}

bool TSQLiteFunctions::IsIntegerType(TFieldType type)
{
    switch (type) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
    case ftLargeint:
        return true;
    default:
        return false;
    }
}

QString TSQLiteFunctions::FoldedTextSql(const QString& column, TFieldType type)
{
    return QStringLiteral("orvo_folded_text(%1, %2)").arg(column, QString::number(int(type)));
}
} // namespace orvo
