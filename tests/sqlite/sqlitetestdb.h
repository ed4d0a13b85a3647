#pragma once

#include "platform/core/exceptions.h"
#include "platform/data/tdataset.h"
#include "platform/data/tfield.h"
#include "platform/sqlite/tsqlitedatabase.h"
#include "platform/sqlite/tsqlitestatement.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace orvo::test {

/// A database in a temporary folder with a small customers table (ids 1..25,
/// duplicate scores, NULL and mixed-case cities) and their orders.
struct SampleDatabase
{
    QTemporaryDir Dir;
    std::unique_ptr<TSQLiteDatabase> Db = std::make_unique<TSQLiteDatabase>();

    QString Path() const { return Dir.filePath(QStringLiteral("sample.db")); }

    SampleDatabase()
    {
        Db->SetDatabaseName(Path());
        Db->SetCreateIfMissing(true);
        Db->Open();
        Db->ExecSQL(QStringLiteral(
            "CREATE TABLE customers (id INTEGER PRIMARY KEY AUTOINCREMENT, name VARCHAR(40) NOT NULL UNIQUE,"
            " city TEXT, score INTEGER, balance MONEY, joined DATE, active BOOLEAN,"
            " code TEXT NOT NULL DEFAULT 'x');"
            "CREATE TABLE orders (id INTEGER PRIMARY KEY, cust_id INTEGER, amount REAL);"
            "CREATE INDEX orders_cust ON orders (cust_id, amount);"));
        const char* cities[] = {"Berlin", "Paris", nullptr, "Oslo", "paris"};
        Db->StartTransaction();
        for (int i = 1; i <= 25; ++i) {
            const char* city = cities[(i - 1) % 5];
            Db->ExecSQL(QStringLiteral("INSERT INTO customers (name, city, score, balance, joined, active) "
                                       "VALUES (?, ?, ?, ?, ?, ?)"),
                        {QStringLiteral("Name%1").arg(i, 2, 10, QLatin1Char('0')),
                         city ? TVariant(city) : TVariant::Null(), qint64((i * 7) % 10), i * 1.5,
                         QStringLiteral("2020-01-%1").arg(i, 2, 10, QLatin1Char('0')), qint64(i % 2)});
            for (int o = 0; o < i % 4; ++o)
                Db->ExecSQL(QStringLiteral("INSERT INTO orders (cust_id, amount) VALUES (?, ?)"),
                            {qint64(i), double(10 * o + i)});
        }
        Db->Commit();
    }

    /// The ids a plain SQL statement returns, as the oracle for the datasets' order.
    QList<qint64> Ids(const QString& sql) const
    {
        QList<qint64> ids;
        TSQLiteStatement statement(Db->Handle(), sql);
        while (statement.Step())
            ids << statement.ColumnInt64(0);
        return ids;
    }
};

/// The "id" values met walking the dataset forward, and backward (in forward order).
inline QList<qint64> WalkForward(TDataSet& ds)
{
    QList<qint64> ids;
    for (ds.First(); !ds.Eof(); ds.Next())
        ids << ds.FieldByName(QStringLiteral("id"))->AsLargeInt();
    return ids;
}

inline QList<qint64> WalkBackward(TDataSet& ds)
{
    QList<qint64> ids;
    for (ds.Last(); !ds.Bof(); ds.Prior())
        ids.prepend(ds.FieldByName(QStringLiteral("id"))->AsLargeInt());
    return ids;
}

inline qint64 CurrentId(const TDataSet& ds)
{
    return ds.FieldByName(QStringLiteral("id"))->AsLargeInt();
}

} // namespace orvo::test

/// Runs `statement`, expecting EDatabaseError whose message contains `fragment`.
#define ORVO_EXPECT_DB_ERROR(statement, fragment)                                                            \
    do {                                                                                                     \
        bool raised = false;                                                                                 \
        try {                                                                                                \
            statement;                                                                                       \
        } catch (const orvo::EDatabaseError& e) {                                                            \
            raised = true;                                                                                   \
            QVERIFY2(e.Message().contains(QLatin1String(fragment), Qt::CaseInsensitive),                     \
                     qPrintable(e.Message()));                                                               \
        }                                                                                                    \
        QVERIFY2(raised, "EDatabaseError expected");                                                         \
    } while (false)
