#include "sqlitetestdb.h"

#include "platform/data/tdatalink.h"
#include "platform/data/tdatasource.h"
#include "platform/data/tfields.h"
#include "platform/sqlite/tsqlitequery.h"

#include <sqlite3.h>

using namespace orvo;
using namespace orvo::test;

namespace {

constexpr int Rows = 200000;

/// SQLite's own answer: the first two columns of every row of `sql` (the second is the one
/// located by), through its C API.
struct Answer
{
    QList<qint64> Ids;
    QList<QVariant> Values;

    int FirstIndexOf(const QVariant& value) const
    {
        for (int i = 0; i < Values.size(); ++i)
            if (Values[i] == value)
                return i;
        return -1;
    }
};

Answer Ask(const QString& path, const QString& sql)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr);
    Answer answer;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        answer.Ids << sqlite3_column_int64(statement, 0);
        switch (sqlite3_column_type(statement, 1)) {
        case SQLITE_NULL:
            answer.Values << QVariant();
            break;
        case SQLITE_TEXT:
            answer.Values << QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(statement, 1)));
            break;
        default:
            answer.Values << qint64(sqlite3_column_int64(statement, 1));
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return answer;
}

/// Counts the statements the connection starts that read one row of "big" by its rowid.
class RowReads
{
public:
    explicit RowReads(sqlite3* db) : FDb(db)
    {
        sqlite3_trace_v2(db, SQLITE_TRACE_STMT, &RowReads::Trace, this);
    }
    ~RowReads() { sqlite3_trace_v2(FDb, 0, nullptr, nullptr); }
    int Count() const { return FCount; }

private:
    static int Trace(unsigned, void* self, void*, void* text)
    {
        if (QByteArray(static_cast<const char*>(text)).contains("FROM \"big\" WHERE rowid = ?"))
            ++static_cast<RowReads*>(self)->FCount;
        return 0;
    }

    sqlite3* FDb;
    int FCount = 0;
};

QVariant Plain(const TField* field)
{
    if (field->IsNull())
        return QVariant();
    if (field->DataType() == ftString || field->DataType() == ftWideString)
        return field->AsString();
    return qint64(field->AsLargeInt());
}

} // namespace

/// A query over 200,000 rows reaches any record as SQLite's own run of its statement orders them.
class TestSQLiteQueryAccess : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void randomAccessMatchesSQLite_data();
    void randomAccessMatchesSQLite();
    void editsAfterRandomAccess();

private:
    std::unique_ptr<TSQLiteQuery> Open(const QString& sql);

    QTemporaryDir FDir;
    std::unique_ptr<TSQLiteDatabase> FDb;
};

void TestSQLiteQueryAccess::initTestCase()
{
    FDb = std::make_unique<TSQLiteDatabase>();
    FDb->SetDatabaseName(FDir.filePath(QStringLiteral("big.db")));
    FDb->SetCreateIfMissing(true);
    FDb->Open();
    FDb->ExecSQL(
        QStringLiteral("CREATE TABLE big (id INTEGER PRIMARY KEY, grp INTEGER, name TEXT, amount INTEGER);"
                       "CREATE TABLE kinds (grp INTEGER PRIMARY KEY, label TEXT);"
                       "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200000)"
                       " INSERT INTO big SELECT i * 3, (i * 7919) % 101, CASE WHEN i % 17 = 0 THEN NULL"
                       " ELSE 'n' || ((i * 104729) % 5003) END, (i * 31) % 977 FROM n;"
                       "WITH RECURSIVE g(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM g WHERE i < 100)"
                       " INSERT INTO kinds SELECT i, 'kind ' || i FROM g;"));
}

void TestSQLiteQueryAccess::cleanupTestCase()
{
    FDb.reset();
}

std::unique_ptr<TSQLiteQuery> TestSQLiteQueryAccess::Open(const QString& sql)
{
    auto query = std::make_unique<TSQLiteQuery>();
    query->SetDatabase(FDb.get());
    query->SetSQL({sql});
    query->Open();
    return query;
}

void TestSQLiteQueryAccess::randomAccessMatchesSQLite_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("byRowid");
    QTest::newRow("whole table") << "SELECT id, name, grp FROM big"
                                 << "name" << true;
    QTest::newRow("where and order, ties") << "SELECT id, grp, name FROM big WHERE amount > 100"
                                              " ORDER BY grp DESC, name"
                                           << "grp" << true;
    QTest::newRow("order by text with nulls") << "SELECT id, name FROM big ORDER BY name"
                                              << "name" << true;
    QTest::newRow("rowid selected") << "SELECT rowid, name FROM big WHERE grp < 50 ORDER BY amount"
                                    << "name" << true;
    QTest::newRow("no rowid") << "SELECT amount, name FROM big WHERE grp < 50 ORDER BY amount"
                              << "name" << false;
    QTest::newRow("expression") << "SELECT id, amount + 1 AS more FROM big WHERE grp < 50 ORDER BY name"
                                << "more" << false;
    QTest::newRow("join") << "SELECT b.id, k.label FROM big b JOIN kinds k ON k.grp = b.grp"
                             " WHERE b.amount < 300 ORDER BY b.name"
                          << "label" << false;
    QTest::newRow("aggregate") << "SELECT grp, count(*) AS n FROM big GROUP BY grp ORDER BY n DESC, grp"
                               << "n" << false;
}

void TestSQLiteQueryAccess::randomAccessMatchesSQLite()
{
    QFETCH(QString, sql);
    QFETCH(QString, field);
    QFETCH(bool, byRowid);
    RowReads rowReads(FDb->Handle());
    const Answer answer = Ask(FDir.filePath(QStringLiteral("big.db")), sql);
    const int count = int(answer.Ids.size());
    QVERIFY(count > 10);
    const auto query = Open(sql);
    TDataSource source;
    source.SetDataSet(query.get());
    TDataLink grid;
    grid.SetDataSource(&source);
    grid.SetBufferCount(25);
    TField* id = query->Fields()->Field(0);
    TField* value = query->FieldByName(field);
    // The first screen, then Last and the rows before it.
    QCOMPARE(id->AsLargeInt(), answer.Ids.front());
    query->Last();
    QCOMPARE(query->RecNo(), count);
    QCOMPARE(query->RecordCount(), count);
    for (int i = count - 1; i >= count - 40 && i >= 0; --i, query->Prior())
        QCOMPARE(id->AsLargeInt(), answer.Ids[i]);
    // Jumps.
    for (int recNo : {count / 2, 3, count - 1, count / 3 + 7}) {
        query->SetRecNo(recNo);
        QCOMPARE(id->AsLargeInt(), answer.Ids[recNo - 1]);
        QCOMPARE(query->RecNo(), recNo);
    }
    // Locate by the first column and by another field, each landing on the first match.
    for (int index : {count - 2, count / 4, 0}) {
        query->First();
        QVERIFY(query->Locate(id->FieldName(), TVariant(answer.Ids[index]), {}));
        QCOMPARE(query->RecNo(), int(answer.Ids.indexOf(answer.Ids[index])) + 1);
        const QVariant wanted = answer.Values[index];
        if (!wanted.isValid())
            continue;
        QVERIFY(query->Locate(field,
                              wanted.typeId() == QMetaType::QString ? TVariant(wanted.toString())
                                                                    : TVariant(wanted.toLongLong()),
                              {}));
        QCOMPARE(query->RecNo(), answer.FirstIndexOf(wanted) + 1);
        QCOMPARE(Plain(value), wanted);
    }
    QVERIFY(!query->Locate(id->FieldName(), TVariant(qint64(-5)), {}));
    // Only the rows shown were read by rowid, or none when the result is not one table's rows.
    QCOMPARE(rowReads.Count() > 0, byRowid);
    QVERIFY(rowReads.Count() < 1000);
}

void TestSQLiteQueryAccess::editsAfterRandomAccess()
{
    const QString sql = QStringLiteral("SELECT id, name, amount FROM big WHERE grp = 7 ORDER BY amount, id");
    const QString path = FDir.filePath(QStringLiteral("big.db"));
    const auto query = Open(sql);
    TField* id = query->FieldByName(QStringLiteral("id"));
    TField* name = query->FieldByName(QStringLiteral("name"));
    query->Last();
    const int count = query->RecordCount();
    const qint64 last = id->AsLargeInt();
    query->Edit();
    name->SetAsString(QStringLiteral("tail"));
    query->Post();
    query->SetRecNo(count / 2);
    const qint64 edited = id->AsLargeInt();
    query->Edit();
    name->SetAsString(QStringLiteral("changed"));
    query->Post();
    QCOMPARE(Ask(path, QStringLiteral("SELECT id, name FROM big WHERE id = %1").arg(edited)).Values,
             QList<QVariant>{QStringLiteral("changed")});
    // A row inserted before it (outside the WHERE, so the statement never returns it) moves the
    // rows after it down by one.
    query->Insert();
    name->SetAsString(QStringLiteral("inserted"));
    query->Post();
    const qint64 inserted = id->AsLargeInt();
    QVERIFY(query->Locate(QStringLiteral("name"), TVariant(QStringLiteral("tail")), {}));
    QCOMPARE(query->RecNo(), count + 1);
    query->First();
    QVERIFY(query->Locate(QStringLiteral("id"), TVariant(last), {}));
    QCOMPARE(query->RecNo(), count + 1);
    QVERIFY(query->Locate(QStringLiteral("name"), TVariant(QStringLiteral("changed")), {}));
    QCOMPARE(id->AsLargeInt(), edited);
    QCOMPARE(query->RecNo(), count / 2 + 1);
    query->Next();
    query->Next();
    const qint64 deleted = id->AsLargeInt();
    query->Delete();
    QCOMPARE(query->RecordCount(), count);
    QVERIFY(Ask(path, QStringLiteral("SELECT id FROM big WHERE id = %1").arg(deleted)).Ids.isEmpty());
    QList<qint64> expected = Ask(path, sql).Ids;
    expected.insert(count / 2 - 1, inserted);
    QList<qint64> walked;
    for (query->First(); !query->Eof(); query->Next())
        walked << id->AsLargeInt();
    QCOMPARE(walked, expected);
}

QTEST_GUILESS_MAIN(TestSQLiteQueryAccess)
#include "tst_sqlitequeryaccess.moc"
