#include "platform/sqlite/tsqlitestatement.h"

#include "platform/core/exceptions.h"

#include <sqlite3.h>

namespace orvo {

namespace {

QString FirstLine(const QString& sql)
{
    const QString trimmed = sql.trimmed();
    const qsizetype end = trimmed.indexOf(QLatin1Char('\n'));
    return (end < 0 ? trimmed : trimmed.left(end)).trimmed();
}

} // namespace

TSQLiteStatement::TSQLiteStatement(sqlite3* db, const QString& sql, QString* tail) : FDb(db), FSQL(sql)
{
    if (!db)
        throw EDatabaseError(QStringLiteral("Database is not connected"));
    const QByteArray utf8 = sql.toUtf8();
    const char* rest = nullptr;
    if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &FStmt, &rest) != SQLITE_OK) {
        sqlite3_finalize(FStmt);
        FStmt = nullptr;
        RaiseError(db, sql);
    }
    // Errors and SQL() name this statement, not the ones that follow it in the text.
    if (rest && FStmt)
        FSQL = QString::fromUtf8(utf8.constData(), rest - utf8.constData());
    if (tail)
        *tail = rest ? QString::fromUtf8(rest) : QString();
}

TSQLiteStatement::~TSQLiteStatement()
{
    sqlite3_finalize(FStmt);
}

int TSQLiteStatement::ParameterCount() const
{
    return FStmt ? sqlite3_bind_parameter_count(FStmt) : 0;
}

int TSQLiteStatement::ParameterIndex(const QString& name) const
{
    return FStmt ? sqlite3_bind_parameter_index(FStmt, (QLatin1Char(':') + name).toUtf8().constData()) : 0;
}

void TSQLiteStatement::Bind(int index, const TVariant& value)
{
    int rc = SQLITE_OK;
    switch (value.VarType()) {
    case varEmpty:
    case varNull:
    case varArray:
        rc = sqlite3_bind_null(FStmt, index);
        break;
    case varBoolean:
        rc = sqlite3_bind_int(FStmt, index, value.AsBoolean() ? 1 : 0);
        break;
    case varInt64:
        rc = sqlite3_bind_int64(FStmt, index, value.AsInt64());
        break;
    case varDouble:
    case varCurrency:
        rc = sqlite3_bind_double(FStmt, index, value.AsFloat());
        break;
    case varDate:
        BindText(index, DateTimeText(value));
        return;
    case varString:
        BindText(index, value.AsString());
        return;
    case varBytes: {
        const QByteArray bytes = value.AsBytes();
        rc = sqlite3_bind_blob64(FStmt, index, bytes.constData(), sqlite3_uint64(bytes.size()),
                                 SQLITE_TRANSIENT);
        break;
    }
    }
    if (rc != SQLITE_OK)
        RaiseError(FDb, FSQL);
}

void TSQLiteStatement::BindAll(const std::vector<TVariant>& values)
{
    const int count = ParameterCount();
    if (int(values.size()) != count)
        throw EDatabaseError(QStringLiteral("The statement expects %1 parameter(s), %2 given: %3")
                                 .arg(count)
                                 .arg(values.size())
                                 .arg(FirstLine(FSQL)));
    for (int i = 0; i < count; ++i)
        Bind(i + 1, values[size_t(i)]);
}

void TSQLiteStatement::BindText(int index, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    if (sqlite3_bind_text64(FStmt, index, utf8.constData(), sqlite3_uint64(utf8.size()), SQLITE_TRANSIENT,
                            SQLITE_UTF8) != SQLITE_OK)
        RaiseError(FDb, FSQL);
}

bool TSQLiteStatement::Step()
{
    if (!FStmt)
        return false;
    const int rc = sqlite3_step(FStmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    // The error is kept on the statement until it is reset; take the message first.
    const QString message = QString::fromUtf8(sqlite3_errmsg(FDb));
    sqlite3_reset(FStmt);
    throw EDatabaseError(QStringLiteral("%1\nSQL: %2").arg(message, FirstLine(FSQL)));
}

void TSQLiteStatement::Reset()
{
    if (FStmt) {
        sqlite3_reset(FStmt);
        sqlite3_clear_bindings(FStmt);
    }
}

int TSQLiteStatement::ColumnCount() const
{
    return FStmt ? sqlite3_column_count(FStmt) : 0;
}

QString TSQLiteStatement::ColumnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(FStmt, column));
}

TVariant TSQLiteStatement::Column(int column) const
{
    switch (sqlite3_column_type(FStmt, column)) {
    case SQLITE_INTEGER:
        return TVariant(qint64(sqlite3_column_int64(FStmt, column)));
    case SQLITE_FLOAT:
        return TVariant(sqlite3_column_double(FStmt, column));
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(FStmt, column));
        return TVariant(QString::fromUtf8(text, sqlite3_column_bytes(FStmt, column)));
    }
    case SQLITE_BLOB: {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(FStmt, column));
        return TVariant(QByteArray(data, sqlite3_column_bytes(FStmt, column)));
    }
    default:
        return TVariant::Null();
    }
}

bool TSQLiteStatement::ColumnIsNull(int column) const
{
    return sqlite3_column_type(FStmt, column) == SQLITE_NULL;
}

qint64 TSQLiteStatement::ColumnInt64(int column) const
{
    return sqlite3_column_int64(FStmt, column);
}

void TSQLiteStatement::RaiseError(sqlite3* db, const QString& sql)
{
    const QString message = QString::fromUtf8(sqlite3_errmsg(db));
    const QString line = FirstLine(sql);
    throw EDatabaseError(line.isEmpty() ? message : QStringLiteral("%1\nSQL: %2").arg(message, line));
}

QString TSQLiteStatement::DateTimeText(const TVariant& value)
{
    const TDateTime dt = value.AsDateTime();
    const QDate date = dt.ToQDate();
    if (dt.TimePart().Value() == 0.0)
        return date.toString(QStringLiteral("yyyy-MM-dd"));
    const QTime time = dt.ToQTime();
    const QString format =
        time.msec() ? QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz") : QStringLiteral("yyyy-MM-dd HH:mm:ss");
    return QDateTime(date, time).toString(format);
}

} // namespace orvo
