#pragma once

#include "platform/core/tvariant.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <functional>
#include <vector>

struct sqlite3;

namespace orvo {

/// A connection to one SQLite database file (or ":memory:"), shared by the
/// datasets that read and write it. Closing the connection closes those
/// datasets first, so that no statement outlives its handle.
class TSQLiteDatabase : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString DatabaseName READ DatabaseName WRITE SetDatabaseName)
    Q_PROPERTY(bool Connected READ Connected WRITE SetConnected)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(bool CreateIfMissing READ CreateIfMissing WRITE SetCreateIfMissing)
    Q_PROPERTY(int BusyTimeout READ BusyTimeout WRITE SetBusyTimeout)
    Q_PROPERTY(bool WalMode READ WalMode WRITE SetWalMode)

public:
    explicit TSQLiteDatabase(QObject* owner = nullptr);
    ~TSQLiteDatabase() override;

    QString DatabaseName() const { return FDatabaseName; }
    /// A file path or ":memory:"; changing it closes an open connection.
    void SetDatabaseName(const QString& fileOrMemory);

    bool Connected() const { return FHandle != nullptr; }
    void SetConnected(bool value);
    void Open();
    /// Closes every dataset of the connection, then the connection. Deleting the
    /// database does the same, so its datasets (and the controls showing them) may
    /// outlive it: they are left closed and without a database.
    void Close();
    /// True while Close closes the datasets: none of them may open again meanwhile.
    bool Closing() const { return FClosing; }

    bool ReadOnly() const { return FReadOnly; }
    /// Takes effect at the next Open.
    void SetReadOnly(bool value);
    bool CreateIfMissing() const { return FCreateIfMissing; }
    void SetCreateIfMissing(bool value) { FCreateIfMissing = value; }
    /// How long (ms) a statement waits for another connection's lock before "database is locked".
    int BusyTimeout() const { return FBusyTimeout; }
    void SetBusyTimeout(int milliseconds);
    /// Whether Open switches a writable file database to write-ahead logging, so that a
    /// query still reading does not block another connection's writes (and the reverse).
    /// Takes effect at the next Open; off leaves the file's journal mode as it is.
    bool WalMode() const { return FWalMode; }
    void SetWalMode(bool value) { FWalMode = value; }

    void StartTransaction();
    void Commit();
    void Rollback();
    bool InTransaction() const;

    /// Runs one statement, or a script of several when no parameters are given;
    /// returns the rows the (last) statement changed.
    int ExecSQL(const QString& sql, const std::vector<TVariant>& params = {});
    /// The first column of the first row, Null when there is no row.
    TVariant ExecScalar(const QString& sql, const std::vector<TVariant>& params = {});

    /// User tables (no sqlite_ internals), in name order.
    QStringList TableNames() const;
    bool TableExists(const QString& name) const;
    /// The name as it is spelled in the schema (case-insensitive match), or "" when absent.
    QString SchemaTableName(const QString& name) const;

    /// Keeps the application responsive during a long statement (sorting a large table for a new
    /// order): once one has run ProgressDelay ms, SQLite calls the hook about every 30 ms from
    /// inside the statement. The hook may repaint and read input, but must not use this
    /// connection: datasets over it refuse to read and the database refuses to close meanwhile.
    /// Returning false (or calling Interrupt) cancels the statement.
    using TProgressHook = std::function<bool()>;
    void SetProgressHook(TProgressHook hook) { FProgressHook = std::move(hook); }
    int ProgressDelay() const { return FProgressDelay; }
    void SetProgressDelay(int milliseconds) { FProgressDelay = std::max(0, milliseconds); }
    /// Cancels the cancellable operation that runs now; a no-op when none runs.
    void Interrupt();
    /// True while the progress hook runs.
    bool InProgressHook() const { return FInProgressHook; }
    /// Runs `work` with the progress hook watching its statements. When it is cancelled, the
    /// error raised is `cancelledMessage`; whatever `work` had not yet assigned stays as it was.
    void RunCancellable(const std::function<void()>& work, const QString& cancelledMessage);

    /// "x" with embedded quotes doubled, safe to splice as an identifier.
    static QString QuoteIdentifier(const QString& name);

    struct sqlite3* Handle() const { return FHandle; }
    /// The open handle; raises EDatabaseError when not connected.
    struct sqlite3* CheckedHandle() const;

    /// Datasets register here so that they are closed before the connection goes.
    void AddClient(QObject* client, std::function<void()> closeClient);
    void RemoveClient(QObject* client);

private:
    void OpenHandle();
    void CheckIsDatabase();
    void UseWriteAheadLog();
    void CloseClients();
    static int OnProgress(void* database);
    bool ProgressAllowsContinuing();

    struct Client
    {
        QObject* Object;
        std::function<void()> CloseClient;
    };

    QString FDatabaseName;
    sqlite3* FHandle = nullptr;
    bool FReadOnly = false;
    bool FCreateIfMissing = false;
    int FBusyTimeout = 5000;
    bool FWalMode = true;
    bool FClosing = false;
    std::vector<Client> FClients;
    TProgressHook FProgressHook;
    int FProgressDelay = 300;
    QElapsedTimer FLongOperation;
    qint64 FLastProgressCall = 0;
    bool FInProgressHook = false;
    bool FCancelRequested = false;
    bool FCancellable = false;
};

} // namespace orvo
