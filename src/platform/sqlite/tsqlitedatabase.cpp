#include "platform/sqlite/tsqlitedatabase.h"

#include "platform/core/exceptions.h"
#include "platform/core/tscopecleanup.h"
#include "platform/sqlite/tsqlitefunctions.h"
#include "platform/sqlite/tsqlitestatement.h"

#include <QFileInfo>
#include <QScopeGuard>

#include <sqlite3.h>

#include <algorithm>

namespace orvo {

namespace {

bool IsMemoryName(const QString& name)
{
    return name.isEmpty() || name == QLatin1String(":memory:") ||
           name.startsWith(QLatin1String("file::memory:"));
}

} // namespace

TSQLiteDatabase::TSQLiteDatabase(QObject* owner) : QObject(owner) {}

TSQLiteDatabase::~TSQLiteDatabase()
{
    try {
        Close();
    } catch (...) {
        // A dataset that fails while closing must not stop the handle from being released.
        sqlite3_close_v2(FHandle);
        FHandle = nullptr;
    }
}

void TSQLiteDatabase::SetDatabaseName(const QString& fileOrMemory)
{
    if (fileOrMemory == FDatabaseName)
        return;
    Close();
    FDatabaseName = fileOrMemory;
}

void TSQLiteDatabase::SetConnected(bool value)
{
    if (value)
        Open();
    else
        Close();
}

void TSQLiteDatabase::SetReadOnly(bool value)
{
    FReadOnly = value;
}

void TSQLiteDatabase::SetBusyTimeout(int milliseconds)
{
    FBusyTimeout = std::max(0, milliseconds);
    if (FHandle)
        sqlite3_busy_timeout(FHandle, FBusyTimeout);
}

void TSQLiteDatabase::Open()
{
    if (FHandle)
        return;
    const bool memory = IsMemoryName(FDatabaseName);
    if (!memory && !QFileInfo::exists(FDatabaseName) && !(FCreateIfMissing && !FReadOnly))
        throw EDatabaseError(QStringLiteral("Database file '%1' does not exist").arg(FDatabaseName));
    OpenHandle();
    const auto closeHandle = OnUnwind([this] {
        sqlite3_close_v2(FHandle);
        FHandle = nullptr;
    });
    CheckIsDatabase();
    if (FWalMode && !FReadOnly && !memory)
        UseWriteAheadLog();
}

void TSQLiteDatabase::OpenHandle()
{
    int flags = SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX;
    flags |= FReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (FCreateIfMissing && !FReadOnly)
        flags |= SQLITE_OPEN_CREATE;
    const QByteArray name =
        (IsMemoryName(FDatabaseName) ? QStringLiteral(":memory:") : FDatabaseName).toUtf8();
    sqlite3* handle = nullptr;
    if (sqlite3_open_v2(name.constData(), &handle, flags, nullptr) != SQLITE_OK) {
        const QString message =
            handle ? QString::fromUtf8(sqlite3_errmsg(handle)) : QStringLiteral("out of memory");
        sqlite3_close_v2(handle);
        throw EDatabaseError(QStringLiteral("Cannot open database '%1': %2").arg(FDatabaseName, message));
    }
    FHandle = handle;
    sqlite3_extended_result_codes(FHandle, 0);
    sqlite3_busy_timeout(FHandle, FBusyTimeout);
    TSQLiteFunctions::Register(FHandle);
}

// SQLite opens any file lazily; reading the schema is what finds out that it is not a database.
void TSQLiteDatabase::CheckIsDatabase()
{
    const QString probe = QStringLiteral("SELECT count(*) FROM sqlite_master");
    try {
        TSQLiteStatement statement(FHandle, probe);
        statement.Step();
    } catch (const EDatabaseError& e) {
        const QString reason = e.Message().section(QLatin1Char('\n'), 0, 0);
        throw EDatabaseError(QStringLiteral("Cannot open database '%1': %2").arg(FDatabaseName, reason));
    }
}

// In the rollback-journal mode a statement that has not read all its rows holds a read lock that
// blocks every writer; with the write-ahead log readers and one writer proceed side by side.
// Switching needs a moment alone with the file: while another program holds it busy the
// connection keeps the file's journal mode, which works as before, only with less concurrency.
void TSQLiteDatabase::UseWriteAheadLog()
{
    try {
        TSQLiteStatement statement(FHandle, QStringLiteral("PRAGMA journal_mode = WAL"));
        statement.Step();
    } catch (const EDatabaseError&) {
    }
}

void TSQLiteDatabase::Close()
{
    if (!FHandle)
        return;
    // The statement that runs now still uses the handle: it has to end first.
    if (FCancellable)
        throw EDatabaseError(
            QStringLiteral("Database '%1' is busy with a long operation").arg(FDatabaseName));
    CloseClients();
    if (!sqlite3_get_autocommit(FHandle))
        sqlite3_exec(FHandle, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close_v2(FHandle);
    FHandle = nullptr;
}

void TSQLiteDatabase::CloseClients()
{
    FClosing = true;
    const auto closed = qScopeGuard([this] { FClosing = false; });
    // A client may unregister itself while closing, so work on a copy.
    const std::vector<Client> clients = FClients;
    for (const Client& client : clients)
        client.CloseClient();
}

void TSQLiteDatabase::AddClient(QObject* client, std::function<void()> closeClient)
{
    RemoveClient(client);
    FClients.push_back({client, std::move(closeClient)});
}

void TSQLiteDatabase::RemoveClient(QObject* client)
{
    std::erase_if(FClients, [client](const Client& c) { return c.Object == client; });
}

sqlite3* TSQLiteDatabase::CheckedHandle() const
{
    if (FInProgressHook)
        throw EDatabaseError(
            QStringLiteral("Database '%1' is busy with a long operation").arg(FDatabaseName));
    if (!FHandle)
        throw EDatabaseError(QStringLiteral("Database '%1' is not connected").arg(FDatabaseName));
    return FHandle;
}

// --- Long operations ---------------------------------------------------------------------------

void TSQLiteDatabase::Interrupt()
{
    if (!FCancellable || !FHandle)
        return;
    FCancelRequested = true;
    sqlite3_interrupt(FHandle);
}

void TSQLiteDatabase::RunCancellable(const std::function<void()>& work, const QString& cancelledMessage)
{
    sqlite3* db = CheckedHandle();
    if (FCancellable) {
        work();
        return;
    }
    FCancellable = true;
    FCancelRequested = false;
    FLongOperation.start();
    FLastProgressCall = 0;
    // Often enough to call the hook every few dozen milliseconds, rarely enough to cost nothing.
    constexpr int InstructionsPerCheck = 20000;
    sqlite3_progress_handler(db, InstructionsPerCheck, &TSQLiteDatabase::OnProgress, this);
    const auto uninstall = Finally([this, db] {
        sqlite3_progress_handler(db, 0, nullptr, nullptr);
        FCancellable = false;
    });
    try {
        work();
    } catch (const EDatabaseError&) {
        if (FCancelRequested)
            throw EDatabaseError(cancelledMessage);
        throw;
    }
}

int TSQLiteDatabase::OnProgress(void* database)
{
    return static_cast<TSQLiteDatabase*>(database)->ProgressAllowsContinuing() ? 0 : 1;
}

bool TSQLiteDatabase::ProgressAllowsContinuing()
{
    constexpr qint64 HookInterval = 30;
    const qint64 elapsed = FLongOperation.elapsed();
    if (FCancelRequested)
        return false;
    if (!FProgressHook || FInProgressHook || elapsed < FProgressDelay ||
        (FLastProgressCall > 0 && elapsed - FLastProgressCall < HookInterval))
        return true;
    FLastProgressCall = std::max<qint64>(elapsed, 1);
    FInProgressHook = true;
    bool carryOn = false;
    // Called from inside SQLite: nothing may unwind through its frames. A failing hook cancels.
    try {
        carryOn = FProgressHook();
    } catch (...) {
        carryOn = false;
    }
    FInProgressHook = false;
    if (!carryOn)
        FCancelRequested = true;
    return !FCancelRequested;
}

void TSQLiteDatabase::StartTransaction()
{
    if (InTransaction())
        throw EDatabaseError(QStringLiteral("A transaction is already active"));
    ExecSQL(QStringLiteral("BEGIN IMMEDIATE"));
}

void TSQLiteDatabase::Commit()
{
    if (!InTransaction())
        throw EDatabaseError(QStringLiteral("No transaction is active"));
    ExecSQL(QStringLiteral("COMMIT"));
}

void TSQLiteDatabase::Rollback()
{
    if (!InTransaction())
        throw EDatabaseError(QStringLiteral("No transaction is active"));
    ExecSQL(QStringLiteral("ROLLBACK"));
}

bool TSQLiteDatabase::InTransaction() const
{
    return FHandle && !sqlite3_get_autocommit(FHandle);
}

int TSQLiteDatabase::ExecSQL(const QString& sql, const std::vector<TVariant>& params)
{
    sqlite3* db = CheckedHandle();
    QString rest = sql;
    int changed = 0;
    do {
        QString tail;
        TSQLiteStatement statement(db, rest, &tail);
        // Refused before anything runs, so that a script is never left half done.
        if (!params.empty() && !tail.trimmed().isEmpty())
            throw EDatabaseError(QStringLiteral("Parameters can only be given to a single statement"));
        if (statement.IsValid()) {
            statement.BindAll(params);
            while (statement.Step()) {
            }
            changed = sqlite3_changes(db);
        }
        rest = tail;
    } while (!rest.trimmed().isEmpty());
    return changed;
}

TVariant TSQLiteDatabase::ExecScalar(const QString& sql, const std::vector<TVariant>& params)
{
    TSQLiteStatement statement(CheckedHandle(), sql);
    statement.BindAll(params);
    if (!statement.IsValid() || !statement.Step() || statement.ColumnCount() == 0)
        return TVariant::Null();
    return statement.Column(0);
}

QStringList TSQLiteDatabase::TableNames() const
{
    TSQLiteStatement statement(CheckedHandle(),
                               QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                              "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name"));
    QStringList names;
    while (statement.Step())
        names << statement.Column(0).AsString();
    return names;
}

bool TSQLiteDatabase::TableExists(const QString& name) const
{
    return !SchemaTableName(name).isEmpty();
}

QString TSQLiteDatabase::SchemaTableName(const QString& name) const
{
    TSQLiteStatement statement(
        CheckedHandle(),
        QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table', 'view') "
                       "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' AND name = ?1 COLLATE NOCASE"));
    statement.Bind(1, name);
    return statement.Step() ? statement.Column(0).AsString() : QString();
}

QString TSQLiteDatabase::QuoteIdentifier(const QString& name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace orvo
