#include "sqlitetestdb.h"

#include "platform/data/tdatalink.h"
#include "platform/data/tdatasource.h"
#include "platform/data/tfield.h"
#include "platform/data/tfields.h"
#include "platform/sqlite/tsqlitequery.h"

using namespace orvo;
using namespace orvo::test;

class TestSQLiteQuery : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void navigatesInTheStatementsOrder();
    void countsWithoutReadingEveryRow();
    void bookmarksCompareByPosition();
    void filtersInSqlMatchPerRecordEvaluation_data();
    void filtersInSqlMatchPerRecordEvaluation();
    void editsWriteToTheTable();
    void rowsWrittenWhileReadingAppearOnce();
    void failedPostKeepsTheEditedValues();
    void cachedUpdatesApplyAndCancel();
    void failingApplyRollsBackAndKeepsTheLog();
    void applyingUpdatesKeepsTheCurrentRecord_data();
    void applyingUpdatesKeepsTheCurrentRecord();
    void keyDecidesWhetherTheQueryCanBeModified_data();
    void keyDecidesWhetherTheQueryCanBeModified();
    void execSqlAndErrors();

private:
    std::unique_ptr<test::SampleDatabase> FSample;
    std::unique_ptr<TSQLiteQuery> FQuery;

    qint64 Scalar(const QString& sql) { return FSample->Db->ExecScalar(sql).AsInt64(); }
};

void TestSQLiteQuery::init()
{
    FSample = std::make_unique<test::SampleDatabase>();
    FQuery = std::make_unique<TSQLiteQuery>();
    FQuery->SetDatabase(FSample->Db.get());
    FQuery->SetSQL({QStringLiteral("SELECT * FROM customers")});
}

void TestSQLiteQuery::cleanup()
{
    FQuery.reset();
    FSample.reset();
}

void TestSQLiteQuery::navigatesInTheStatementsOrder()
{
    const QString sql =
        QStringLiteral("SELECT * FROM customers WHERE score >= :min ORDER BY city DESC, name");
    FQuery->SetSQL({sql});
    FQuery->ParamByName(QStringLiteral("min"))->SetAsInteger(3);
    FQuery->Open();
    const QList<qint64> expected =
        FSample->Ids(QStringLiteral("SELECT id FROM customers WHERE score >= 3 ORDER BY city DESC, name"));
    QCOMPARE(WalkForward(*FQuery), expected);
    QCOMPARE(WalkBackward(*FQuery), expected);
    FQuery->SetRecNo(4);
    QCOMPARE(CurrentId(*FQuery), expected[3]);
    QCOMPARE(FQuery->MoveBy(2), 2);
    QCOMPARE(FQuery->RecNo(), 6);
    QCOMPARE(FQuery->FieldByName(QStringLiteral("joined"))->DataType(), ftDate);
    QCOMPARE(FQuery->FieldByName(QStringLiteral("balance"))->DataType(), ftCurrency);
    QCOMPARE(FQuery->FieldByName(QStringLiteral("active"))->DataType(), ftBoolean);

    // Changing the SQL closes; parameters that stay keep their values.
    FQuery->SetSQL({sql + QStringLiteral(" LIMIT :n")});
    QVERIFY(!FQuery->Active());
    FQuery->ParamByName(QStringLiteral("n"))->SetAsInteger(2);
    FQuery->Open();
    QCOMPARE(WalkForward(*FQuery), expected.mid(0, 2));
}

void TestSQLiteQuery::countsWithoutReadingEveryRow()
{
    FQuery->SetSQL({QStringLiteral("SELECT id, name, 1 + score AS next_score FROM customers ORDER BY id")});
    FQuery->Open();
    QCOMPARE(FQuery->FieldByName(QStringLiteral("next_score"))->DataType(), ftLargeint);
    QVERIFY(!FQuery->IsSequenced());
    QCOMPARE(FQuery->RecordCount(), 25);
    QVERIFY(FQuery->IsSequenced());
    QCOMPARE(FQuery->RecNo(), 1);
    FQuery->Last();
    QCOMPARE(FQuery->RecNo(), 25);
    QCOMPARE(FQuery->RecordCount(), 25);
}

void TestSQLiteQuery::bookmarksCompareByPosition()
{
    FQuery->SetSQL({QStringLiteral("SELECT * FROM customers ORDER BY score DESC, id")});
    FQuery->Open();
    FQuery->SetRecNo(5);
    const QString fifth = FQuery->Bookmark();
    FQuery->Next();
    const QString sixth = FQuery->Bookmark();
    const qint64 sixthId = CurrentId(*FQuery);
    // An inserted record sits between them; positions, not row numbers, decide.
    FQuery->Insert();
    FQuery->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("Between"));
    FQuery->Post();
    const QString inserted = FQuery->Bookmark();
    QCOMPARE(FQuery->CompareBookmarks(fifth, inserted), -1);
    QCOMPARE(FQuery->CompareBookmarks(inserted, sixth), -1);
    QCOMPARE(FQuery->CompareBookmarks(sixth, fifth), 1);
    FQuery->SetBookmark(sixth);
    QCOMPARE(CurrentId(*FQuery), sixthId);
    QCOMPARE(FQuery->RecNo(), 7);
    ORVO_EXPECT_DB_ERROR(FQuery->SetBookmark(QStringLiteral("00000000garbage")), "bookmark");
    QCOMPARE(CurrentId(*FQuery), sixthId);
}

void TestSQLiteQuery::filtersInSqlMatchPerRecordEvaluation_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("where");
    QTest::newRow("equal") << "city = 'Paris'"
                           << "city = 'Paris'";
    QTest::newRow("or") << "score < 2 or city = 'Oslo'"
                        << "score < 2 OR city = 'Oslo'";
    QTest::newRow("not null") << "city is not null and active = True"
                              << "city IS NOT NULL AND active = 1";
}

void TestSQLiteQuery::filtersInSqlMatchPerRecordEvaluation()
{
    QFETCH(QString, filter);
    QFETCH(QString, where);
    const QList<qint64> expected =
        FSample->Ids(QStringLiteral("SELECT id FROM customers WHERE %1 ORDER BY name DESC").arg(where));
    FQuery->SetSQL({QStringLiteral("SELECT * FROM customers ORDER BY name DESC")});
    FQuery->SetFilter(filter);
    FQuery->SetFiltered(true);
    for (bool cached : {false, true}) {
        // Cached updates keep the filter out of SQL, so this compares both ways of filtering.
        FQuery->Close();
        FQuery->SetCachedUpdates(cached);
        FQuery->Open();
        QCOMPARE(WalkForward(*FQuery), expected);
        QCOMPARE(WalkBackward(*FQuery), expected);
        QCOMPARE(FQuery->RecordCount(), int(expected.size()));
    }
}

void TestSQLiteQuery::editsWriteToTheTable()
{
    FQuery->SetSQL(
        {QStringLiteral("SELECT id, name, city, score, name || '!' AS shout FROM customers ORDER BY id")});
    FQuery->Open();
    QVERIFY(FQuery->CanModify());
    QCOMPARE(FQuery->UpdateTableName(), QStringLiteral("customers"));
    QVERIFY(FQuery->ModifySQL().contains(QLatin1String("WHERE \"id\" = :OLD_id")));
    QVERIFY(!FQuery->FieldByName(QStringLiteral("shout"))->CanModify());
    FQuery->SetRecNo(2);
    FQuery->Edit();
    FQuery->FieldByName(QStringLiteral("city"))->SetAsString(QStringLiteral("Rome"));
    FQuery->Post();
    QCOMPARE(FSample->Db->ExecScalar(QStringLiteral("SELECT city FROM customers WHERE id = 2")).AsString(),
             QStringLiteral("Rome"));
    QCOMPARE(FQuery->FieldByName(QStringLiteral("city"))->AsString(), QStringLiteral("Rome"));

    FQuery->Append();
    FQuery->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("New"));
    FQuery->Post();
    QCOMPARE(CurrentId(*FQuery), qint64(26));
    QCOMPARE(FQuery->RecNo(), 26);
    QCOMPARE(Scalar(QStringLiteral("SELECT count(*) FROM customers WHERE name = 'New' AND code = 'x'")),
             qint64(1));

    FQuery->SetRecNo(1);
    FQuery->Delete();
    QCOMPARE(CurrentId(*FQuery), qint64(2));
    QCOMPARE(FQuery->RecordCount(), 25);
    QCOMPARE(Scalar(QStringLiteral("SELECT count(*) FROM customers WHERE id = 1")), qint64(0));

    // A row changed behind the query's back is not silently overwritten as "posted".
    FSample->Db->ExecSQL(QStringLiteral("DELETE FROM customers WHERE id = 2"));
    FQuery->Edit();
    FQuery->FieldByName(QStringLiteral("score"))->SetAsInteger(1);
    ORVO_EXPECT_DB_ERROR(FQuery->Post(), "changed by another user");
    FQuery->Cancel();
}

void TestSQLiteQuery::rowsWrittenWhileReadingAppearOnce()
{
    // Reading along the table itself: rows written now lie ahead of the statement.
    FQuery->Open();
    FQuery->Next();
    FQuery->Edit();
    FQuery->FieldByName(QStringLiteral("score"))->SetAsInteger(100);
    FQuery->Post();
    FQuery->Append();
    FQuery->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("Tail"));
    FQuery->Post();
    FQuery->First();
    QList<qint64> ids = WalkForward(*FQuery);
    QCOMPARE(ids.size(), 26);
    std::sort(ids.begin(), ids.end());
    QCOMPARE(std::unique(ids.begin(), ids.end()), ids.end());
}

void TestSQLiteQuery::failedPostKeepsTheEditedValues()
{
    FQuery->Open();
    FQuery->Edit();
    FQuery->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("Name02"));
    ORVO_EXPECT_DB_ERROR(FQuery->Post(), "UNIQUE");
    QCOMPARE(FQuery->State(), dsEdit);
    QCOMPARE(FQuery->FieldByName(QStringLiteral("name"))->AsString(), QStringLiteral("Name02"));
    FQuery->Cancel();
    QCOMPARE(FQuery->FieldByName(QStringLiteral("name"))->AsString(), QStringLiteral("Name01"));

    FQuery->Insert();
    FQuery->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("Name03"));
    ORVO_EXPECT_DB_ERROR(FQuery->Post(), "UNIQUE");
    QCOMPARE(FQuery->State(), dsInsert);
    FQuery->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("Unique"));
    FQuery->Post();
    QCOMPARE(FQuery->RecordCount(), 26);
}

void TestSQLiteQuery::cachedUpdatesApplyAndCancel()
{
    for (bool apply : {false, true}) {
        FQuery->Close();
        FQuery->SetCachedUpdates(true);
        FQuery->Open();
        const QList<qint64> before = WalkForward(*FQuery);
        FQuery->SetRecNo(2);
        FQuery->Edit();
        FQuery->FieldByName(QStringLiteral("city"))->SetAsString(QStringLiteral("Cached"));
        FQuery->Post();
        QCOMPARE(FQuery->UpdateStatus(), usModified);
        FQuery->SetRecNo(5);
        FQuery->Delete();
        FQuery->Insert();
        FQuery->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("Inserted"));
        FQuery->Post();
        QCOMPARE(FQuery->UpdateStatus(), usInserted);
        QVERIFY(FQuery->UpdatesPending());
        QCOMPARE(FQuery->RecordCount(), 25);
        // Nothing has reached the database yet.
        QCOMPARE(Scalar(QStringLiteral(
                     "SELECT count(*) FROM customers WHERE city = 'Cached' OR name = 'Inserted'")),
                 qint64(0));
        QCOMPARE(Scalar(QStringLiteral("SELECT count(*) FROM customers")), qint64(25));
        if (apply) {
            FQuery->ApplyUpdates();
            QVERIFY(!FQuery->UpdatesPending());
            QCOMPARE(Scalar(QStringLiteral("SELECT count(*) FROM customers WHERE city = 'Cached'")),
                     qint64(1));
            QCOMPARE(Scalar(QStringLiteral("SELECT count(*) FROM customers WHERE id = 5")), qint64(0));
            QCOMPARE(Scalar(QStringLiteral("SELECT id FROM customers WHERE name = 'Inserted'")), qint64(26));
            QVERIFY(FQuery->Locate(QStringLiteral("name"), QStringLiteral("Inserted"), {}));
            QCOMPARE(CurrentId(*FQuery), qint64(26));
            QCOMPARE(FQuery->UpdateStatus(), usUnmodified);
        } else {
            FQuery->CancelUpdates();
            QVERIFY(!FQuery->UpdatesPending());
            QCOMPARE(WalkForward(*FQuery), before);
            FQuery->SetRecNo(2);
            QCOMPARE(FQuery->FieldByName(QStringLiteral("city"))->AsString(), QStringLiteral("Paris"));
        }
    }
}

void TestSQLiteQuery::failingApplyRollsBackAndKeepsTheLog()
{
    FQuery->SetCachedUpdates(true);
    FQuery->Open();
    FQuery->Edit();
    FQuery->FieldByName(QStringLiteral("city"))->SetAsString(QStringLiteral("First"));
    FQuery->Post();
    FQuery->Append();
    FQuery->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("Name07"));
    FQuery->Post();
    ORVO_EXPECT_DB_ERROR(FQuery->ApplyUpdates(), "UNIQUE");
    QVERIFY(FQuery->UpdatesPending());
    QCOMPARE(Scalar(QStringLiteral("SELECT count(*) FROM customers WHERE city = 'First'")), qint64(0));
    QVERIFY(!FSample->Db->InTransaction());
    QCOMPARE(FQuery->FieldByName(QStringLiteral("name"))->AsString(), QStringLiteral("Name07"));
    FQuery->Edit();
    FQuery->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("Name07b"));
    FQuery->Post();
    FQuery->ApplyUpdates();
    QCOMPARE(
        Scalar(QStringLiteral("SELECT count(*) FROM customers WHERE city = 'First' OR name = 'Name07b'")),
        qint64(2));
}

void TestSQLiteQuery::applyingUpdatesKeepsTheCurrentRecord_data()
{
    QTest::addColumn<int>("window");
    QTest::addColumn<int>("recNo");
    // A grid's window reads ahead of the current record, so the cursor rests elsewhere.
    QTest::newRow("no link, third") << 0 << 3;
    QTest::newRow("window of 10, first") << 10 << 1;
    QTest::newRow("window of 10, third") << 10 << 3;
    QTest::newRow("window of 10, tenth") << 10 << 10;
    QTest::newRow("window of 10, last") << 10 << 25;
}

// A program that applies every post at once (AfterPost calling ApplyUpdates) must find the
// record it edited still current, and the next one after it.
void TestSQLiteQuery::applyingUpdatesKeepsTheCurrentRecord()
{
    QFETCH(int, window);
    QFETCH(int, recNo);
    FQuery->SetSQL({QStringLiteral("SELECT * FROM customers ORDER BY city DESC, name")});
    FQuery->SetCachedUpdates(true);
    FQuery->AfterPost = [this](TDataSet*) { FQuery->ApplyUpdates(); };
    TDataSource source;
    source.SetDataSet(FQuery.get());
    TDataLink gridLink;
    if (window > 0) {
        gridLink.SetDataSource(&source);
        gridLink.SetBufferCount(window);
    }
    FQuery->Open();
    const QList<qint64> order = WalkForward(*FQuery);
    FQuery->SetRecNo(recNo);
    FQuery->Edit();
    FQuery->FieldByName(QStringLiteral("score"))->SetAsInteger(42);
    FQuery->Post();
    QCOMPARE(CurrentId(*FQuery), order[recNo - 1]);
    QCOMPARE(FQuery->RecNo(), recNo);
    QCOMPARE(Scalar(QStringLiteral("SELECT id FROM customers WHERE score = 42")), order[recNo - 1]);
    FQuery->Next();
    QCOMPARE(CurrentId(*FQuery), order[std::min(recNo, int(order.size()) - 1)]);
}

void TestSQLiteQuery::keyDecidesWhetherTheQueryCanBeModified_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("updateWhere");
    QTest::addColumn<bool>("canModify");
    QTest::newRow("primary key") << "SELECT id, name FROM customers ORDER BY id"
                                 << "" << true;
    QTest::newRow("rowid") << "SELECT rowid, body FROM notes ORDER BY rowid"
                           << "" << true;
    QTest::newRow("no key") << "SELECT name, city FROM customers"
                            << "" << false;
    QTest::newRow("update where") << "SELECT name, city FROM customers ORDER BY id"
                                  << "name = :OLD_name" << true;
    QTest::newRow("aggregate") << "SELECT city, count(*) AS n FROM customers GROUP BY city"
                               << "" << false;
    QTest::newRow("join") << "SELECT c.id, o.id AS oid FROM customers c JOIN orders o ON o.cust_id = c.id"
                          << "" << false;
}

void TestSQLiteQuery::keyDecidesWhetherTheQueryCanBeModified()
{
    QFETCH(QString, sql);
    QFETCH(QString, updateWhere);
    QFETCH(bool, canModify);
    FSample->Db->ExecSQL(
        QStringLiteral("CREATE TABLE notes (body TEXT); INSERT INTO notes VALUES ('a'), ('b')"));
    FQuery->SetSQL({sql});
    FQuery->SetUpdateWhere(updateWhere);
    FQuery->Open();
    QCOMPARE(FQuery->CanModify(), canModify);
    if (!canModify) {
        ORVO_EXPECT_DB_ERROR(FQuery->Edit(), "");
        return;
    }
    FQuery->Last();
    const QString field = FQuery->Fields()->Field(1)->FieldName();
    FQuery->Edit();
    FQuery->FieldByName(field)->SetAsString(QStringLiteral("Changed"));
    FQuery->Post();
    FQuery->Close();
    FQuery->Open();
    FQuery->Last();
    QCOMPARE(FQuery->FieldByName(field)->AsString(), QStringLiteral("Changed"));
}

void TestSQLiteQuery::execSqlAndErrors()
{
    FQuery->SetSQL({QStringLiteral("UPDATE customers SET score = :s WHERE city = :c")});
    FQuery->ParamByName(QStringLiteral("s"))->SetAsInteger(0);
    FQuery->ParamByName(QStringLiteral("c"))->SetAsString(QStringLiteral("Oslo'; DROP TABLE customers; --"));
    FQuery->ExecSQL();
    QCOMPARE(FQuery->RowsAffected(), 0);
    FQuery->ParamByName(QStringLiteral("c"))->SetAsString(QStringLiteral("Oslo"));
    FQuery->ExecSQL();
    QCOMPARE(FQuery->RowsAffected(), 5);
    ORVO_EXPECT_DB_ERROR(FQuery->Open(), "returns no rows");
    QVERIFY(!FQuery->Active());

    FQuery->SetSQL({QStringLiteral("SELECT * FROM customerz")});
    ORVO_EXPECT_DB_ERROR(FQuery->Open(), "no such table");
    FQuery->SetSQL({QStringLiteral("SELECT * FROM customers WHERE AND")});
    ORVO_EXPECT_DB_ERROR(FQuery->Open(), "syntax error");
    QVERIFY(!FQuery->Active());
    FQuery->SetSQL({QStringLiteral("SELECT * FROM customers")});
    FQuery->Open();
    QCOMPARE(FQuery->RecordCount(), 25);
}

QTEST_GUILESS_MAIN(TestSQLiteQuery)
#include "tst_sqlitequery.moc"
