#pragma once

#include <QString>
#include <QtGlobal>

namespace orvo {

class TSQLiteDatabase;

/// Makes the demo database: invented customers and their orders (no real
/// companies or people), and on request a large orders table for benchmarks.
/// Everything comes from one fixed seed, so every run writes the same data.
class TSampleDatabase
{
public:
    /// The file the demos and the tool use when given none: "samples.db" in the
    /// per-user data folder of organisation "Orvo", application "Orvo" (for example
    /// ~/.local/share/Orvo/Orvo/samples.db), whatever the calling program is named.
    static QString DefaultPath();

    /// Creates the sample database at `path` unless a file is already there, which
    /// is left alone. The data is written into a temporary file beside it and moved
    /// into place at the end, so a failed run never leaves half a database behind.
    /// Returns true when it created the file; raises EDatabaseError when it cannot.
    static bool EnsureSampleDatabase(const QString& path);

    /// Gives the sample database at `path` its first content again: every edit, added
    /// table or view and the big orders are gone; a missing file is created. Only a file
    /// that holds the Customer and Orders tables is touched, so a mistyped path cannot
    /// wipe a database of someone's own; anything else raises EDatabaseError and is
    /// left as it was. The new content is written in one SQLite transaction, so a
    /// failed reset (or another program holding the file locked) keeps the old one.
    static void ResetSampleDatabase(const QString& path);

    /// Creates and fills the Customer and Orders tables in an open database.
    static void CreateSampleTables(TSQLiteDatabase& db);

    /// (Re)creates `tableName` with `rows` generated orders of ten mixed columns:
    /// OrderNo (integer key from 1), CustNo, Qty (integers), ItemsTotal, TaxRate,
    /// Freight (reals), ShipVIA, PaymentMethod, City (text) and SaleDate, plus an
    /// index on CustNo. A table of that name is replaced; all in one transaction.
    static void CreateBigOrders(TSQLiteDatabase& db, const QString& tableName, qint64 rows);

    static constexpr int CustomerCount = 60;
    static constexpr int OrderCount = 420;
    static constexpr int FirstCustNo = 1221;
    static constexpr int FirstOrderNo = 1001;
};

} // namespace orvo
