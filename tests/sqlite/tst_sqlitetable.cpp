#include "sqlitetestdb.h"

#include "platform/data/tdatasource.h"
#include "platform/data/tfield.h"
#include "platform/sqlite/tsqlitequery.h"
#include "platform/sqlite/tsqlitetable.h"

using namespace orvo;
using namespace orvo::test;

class TestSQLiteTable : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void navigatesInIndexOrderAcrossPages_data();
    void navigatesInIndexOrderAcrossPages();
    void moveByAndRecNo();
    void reorderingKeepsTheCurrentRecord();
    void bookmarksReturnAndCompareByOrder();
    void locateAndLookup_data();
    void locateAndLookup();
    void filtersInSqlMatchPerRecordEvaluation_data();
    void filtersInSqlMatchPerRecordEvaluation();
    void editsPersistAcrossReopen();
    void failedPostKeepsTheEditedValues();
    void detailFollowsMaster();
    void errorsLeaveTheTableUsable();

private:
    std::unique_ptr<test::SampleDatabase> FSample;
    std::unique_ptr<TSQLiteTable> FTable;
};

void TestSQLiteTable::init()
{
    FSample = std::make_unique<test::SampleDatabase>();
    FTable = std::make_unique<TSQLiteTable>();
    FTable->SetDatabase(FSample->Db.get());
    FTable->SetTableName(QStringLiteral("customers"));
    FTable->SetPageSize(3);
}

void TestSQLiteTable::cleanup()
{
    FTable.reset();
    FSample.reset();
}

void TestSQLiteTable::navigatesInIndexOrderAcrossPages_data()
{
    QTest::addColumn<QString>("index");
    QTest::addColumn<QString>("orderBy");
    QTest::newRow("natural") << ""
                             << "rowid";
    QTest::newRow("duplicates") << "score"
                                << "score, rowid";
    QTest::newRow("descending") << "score DESC"
                                << "score DESC, rowid DESC";
    QTest::newRow("nulls") << "city"
                           << "city, rowid";
    QTest::newRow("nulls descending") << "city DESC;name"
                                      << "city DESC, name, rowid";
    QTest::newRow("mixed") << "city;score desc"
                           << "city, score DESC, rowid DESC";
}

void TestSQLiteTable::navigatesInIndexOrderAcrossPages()
{
    QFETCH(QString, index);
    QFETCH(QString, orderBy);
    const QList<qint64> expected =
        FSample->Ids(QStringLiteral("SELECT id FROM customers ORDER BY ") + orderBy);
    FTable->SetIndexFieldNames(index);
    FTable->Open();
    QCOMPARE(WalkForward(*FTable), expected);
    QCOMPARE(WalkBackward(*FTable), expected);
    QCOMPARE(FTable->RecordCount(), 25);
    int position = 0;
    for (FTable->First(); !FTable->Eof(); FTable->Next())
        QCOMPARE(FTable->RecNo(), ++position);
    // From the end, positions are counted rather than walked.
    FTable->Last();
    QCOMPARE(FTable->RecNo(), 25);
    FTable->SetRecNo(7);
    QCOMPARE(CurrentId(*FTable), expected[6]);
    FTable->Next();
    QCOMPARE(CurrentId(*FTable), expected[7]);
    QCOMPARE(FTable->RecNo(), 8);
}

void TestSQLiteTable::moveByAndRecNo()
{
    FTable->Open();
    QVERIFY(FTable->IsSequenced());
    QCOMPARE(FTable->MoveBy(10), 10);
    QCOMPARE(FTable->RecNo(), 11);
    QCOMPARE(FTable->MoveBy(-100), -10);
    QVERIFY(FTable->Bof());
    QCOMPARE(CurrentId(*FTable), qint64(1));
    FTable->SetRecNo(99);
    QCOMPARE(FTable->RecNo(), 1);
    FTable->Last();
    QCOMPARE(FTable->MoveBy(-4), -4);
    QCOMPARE(FTable->RecNo(), 21);
}

void TestSQLiteTable::reorderingKeepsTheCurrentRecord()
{
    FTable->Open();
    FTable->SetRecNo(12);
    FTable->SetIndexFieldNames(QStringLiteral("score DESC"));
    QCOMPARE(CurrentId(*FTable), qint64(12));
    const QList<qint64> expected =
        FSample->Ids(QStringLiteral("SELECT id FROM customers ORDER BY score DESC, id DESC"));
    QCOMPARE(FTable->RecNo(), int(expected.indexOf(12)) + 1);
    ORVO_EXPECT_DB_ERROR(FTable->SetIndexFieldNames(QStringLiteral("nope")), "Field 'nope' not found");
    QCOMPARE(FTable->IndexFieldNames(), QStringLiteral("score DESC"));
    QCOMPARE(CurrentId(*FTable), qint64(12));
}

void TestSQLiteTable::bookmarksReturnAndCompareByOrder()
{
    FTable->SetIndexFieldNames(QStringLiteral("city DESC"));
    FTable->Open();
    QStringList marks;
    QList<qint64> ids;
    for (FTable->First(); !FTable->Eof(); FTable->Next()) {
        marks << FTable->Bookmark();
        ids << CurrentId(*FTable);
    }
    for (int i = 0; i < marks.size(); ++i)
        for (int j = 0; j < marks.size(); ++j)
            QCOMPARE(FTable->CompareBookmarks(marks[i], marks[j]), (i > j) - (i < j));
    // Far outside the window: the table fetches the window again around the row.
    FTable->Last();
    FTable->SetBookmark(marks[2]);
    QCOMPARE(CurrentId(*FTable), ids[2]);
    FTable->Next();
    QCOMPARE(CurrentId(*FTable), ids[3]);
    FTable->Prior();
    FTable->Prior();
    QCOMPARE(CurrentId(*FTable), ids[1]);
    QVERIFY(FTable->BookmarkValid(marks[5]));

    // A deleted record's bookmark is no longer valid, and going there fails without moving.
    FSample->Db->ExecSQL(QStringLiteral("DELETE FROM customers WHERE id = ?"), {ids[5]});
    QVERIFY(!FTable->BookmarkValid(marks[5]));
    ORVO_EXPECT_DB_ERROR(FTable->SetBookmark(marks[5]), "not found");
    QCOMPARE(CurrentId(*FTable), ids[1]);

    TSQLiteQuery query;
    query.SetDatabase(FSample->Db.get());
    query.SetSQL({QStringLiteral("SELECT * FROM customers")});
    query.Open();
    ORVO_EXPECT_DB_ERROR(FTable->SetBookmark(query.Bookmark()), "bookmark");
    QCOMPARE(CurrentId(*FTable), ids[1]);
    FTable->Next();
    QCOMPARE(CurrentId(*FTable), ids[2]);
}

void TestSQLiteTable::locateAndLookup_data()
{
    QTest::addColumn<QString>("fields");
    QTest::addColumn<TVariant>("values");
    QTest::addColumn<int>("options");
    QTest::addColumn<qint64>("expected");
    const int none = 0;
    const int noCase = int(TLocateOptions{loCaseInsensitive}.Bits());
    const int partial = int(TLocateOptions{loPartialKey}.Bits());
    QTest::newRow("primary key") << "id" << TVariant(17) << none << qint64(17);
    QTest::newRow("key as text") << "id" << TVariant("17") << none << qint64(17);
    QTest::newRow("exact case") << "city" << TVariant("paris") << none << qint64(5);
    QTest::newRow("no case") << "city" << TVariant("PARIS") << noCase << qint64(2);
    QTest::newRow("partial") << "name" << TVariant("Name1") << partial << qint64(10);
    QTest::newRow("partial wildcard stays literal") << "name" << TVariant("Name%") << partial << qint64(-1);
    QTest::newRow("two fields") << "city;score" << VarArrayOf({TVariant("Oslo"), TVariant(8)}) << none
                                << qint64(4);
    QTest::newRow("null") << "city" << TVariant::Null() << none << qint64(3);
    QTest::newRow("missing") << "name" << TVariant("Nobody") << none << qint64(-1);
}

void TestSQLiteTable::locateAndLookup()
{
    QFETCH(QString, fields);
    QFETCH(TVariant, values);
    QFETCH(int, options);
    QFETCH(qint64, expected);
    FTable->Open();
    FTable->SetRecNo(20);
    const TLocateOptions locateOptions = TLocateOptions::FromBits(quint64(options));
    if (options == 0) {
        const TVariant name = FTable->Lookup(fields, values, QStringLiteral("name"));
        QCOMPARE(name.IsNull(), expected < 0);
        if (expected > 0)
            QCOMPARE(name.AsString(), QStringLiteral("Name%1").arg(expected, 2, 10, QLatin1Char('0')));
        QCOMPARE(CurrentId(*FTable), qint64(20));
    }
    QCOMPARE(FTable->Locate(fields, values, locateOptions), expected > 0);
    QCOMPARE(CurrentId(*FTable), expected > 0 ? expected : qint64(20));
    if (expected > 0)
        QCOMPARE(FTable->RecNo(), int(expected));
}

void TestSQLiteTable::filtersInSqlMatchPerRecordEvaluation_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("where");
    QTest::newRow("equal") << "city = 'Paris'"
                           << "city = 'Paris'";
    QTest::newRow("and") << "score > 5 and city <> 'Oslo'"
                         << "score > 5 AND city <> 'Oslo'";
    QTest::newRow("null") << "city is null"
                          << "city IS NULL";
    QTest::newRow("like") << "name like 'Name1%'"
                          << "name LIKE 'Name1%'";
    QTest::newRow("date") << "joined >= '2020-01-20'"
                          << "joined >= '2020-01-20'";
}

void TestSQLiteTable::filtersInSqlMatchPerRecordEvaluation()
{
    QFETCH(QString, filter);
    QFETCH(QString, where);
    const QList<qint64> expected =
        FSample->Ids(QStringLiteral("SELECT id FROM customers WHERE %1 ORDER BY score, id").arg(where));
    FTable->SetIndexFieldNames(QStringLiteral("score"));
    FTable->SetFilter(filter);
    FTable->SetFiltered(true);
    FTable->Open();
    QCOMPARE(WalkForward(*FTable), expected);
    QCOMPARE(WalkBackward(*FTable), expected);
    QCOMPARE(FTable->RecordCount(), int(expected.size()));
    FTable->Last();
    QCOMPARE(FTable->RecNo(), int(expected.size()));

    // A handler makes the table filter per record; the rows must be the same.
    int calls = 0;
    FTable->SetOnFilterRecord([&calls](TDataSet*, bool& accept) {
        ++calls;
        accept = true;
    });
    QCOMPARE(WalkForward(*FTable), expected);
    QCOMPARE(FTable->RecordCount(), int(expected.size()));
    QVERIFY(calls > 0);

    FTable->SetFiltered(false);
    FTable->SetOnFilterRecord({});
    QCOMPARE(FTable->RecordCount(), 25);
}

void TestSQLiteTable::editsPersistAcrossReopen()
{
    FTable->SetIndexFieldNames(QStringLiteral("name"));
    FTable->Open();
    QVERIFY(FTable->CanModify());
    QVERIFY(FTable->Locate(QStringLiteral("id"), 4, {}));
    FTable->Edit();
    FTable->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("Aardvark"));
    FTable->FieldByName(QStringLiteral("joined"))->SetAsDateTime(TDateTime::EncodeDate(2019, 12, 31));
    FTable->FieldByName(QStringLiteral("active"))->SetAsBoolean(true);
    FTable->Post();
    // The record moved to its new place in the order and stays current.
    QCOMPARE(CurrentId(*FTable), qint64(4));
    QCOMPARE(FTable->RecNo(), 1);

    FTable->Append();
    FTable->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("Zed"));
    FTable->FieldByName(QStringLiteral("balance"))->SetAsFloat(12.25);
    FTable->Post();
    const qint64 newId = CurrentId(*FTable);
    QCOMPARE(newId, qint64(26));
    QCOMPARE(FTable->FieldByName(QStringLiteral("code"))->AsString(), QStringLiteral("x"));
    QCOMPARE(FTable->RecordCount(), 26);

    QVERIFY(FTable->Locate(QStringLiteral("id"), 9, {}));
    FTable->Delete();
    QCOMPARE(FTable->RecordCount(), 25);

    FTable->Close();
    FTable->Open();
    QVERIFY(FTable->Locate(QStringLiteral("id"), 4, {}));
    QCOMPARE(FTable->FieldByName(QStringLiteral("name"))->AsString(), QStringLiteral("Aardvark"));
    QCOMPARE(FTable->FieldByName(QStringLiteral("joined"))->AsDateTime().ToQDate(), QDate(2019, 12, 31));
    QVERIFY(FTable->FieldByName(QStringLiteral("active"))->AsBoolean());
    QCOMPARE(FSample->Db->ExecScalar(QStringLiteral("SELECT joined FROM customers WHERE id = 4")).AsString(),
             QStringLiteral("2019-12-31"));
    QVERIFY(FTable->Locate(QStringLiteral("name"), QStringLiteral("Zed"), {}));
    QCOMPARE(FTable->FieldByName(QStringLiteral("balance"))->AsFloat(), 12.25);
    QVERIFY(!FTable->Locate(QStringLiteral("id"), 9, {}));
}

void TestSQLiteTable::failedPostKeepsTheEditedValues()
{
    FTable->Open();
    FTable->SetRecNo(3);
    FTable->Edit();
    FTable->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("Name01"));
    ORVO_EXPECT_DB_ERROR(FTable->Post(), "UNIQUE");
    QCOMPARE(FTable->State(), dsEdit);
    QCOMPARE(FTable->FieldByName(QStringLiteral("name"))->AsString(), QStringLiteral("Name01"));

    // The handler may fix the record and retry.
    FTable->OnPostError = [](TDataSet* ds, const EDatabaseError&, TDataAction& action) {
        ds->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("Fixed"));
        action = daRetry;
    };
    FTable->Post();
    FTable->OnPostError = {};
    QCOMPARE(FTable->State(), dsBrowse);
    QCOMPARE(FSample->Db->ExecScalar(QStringLiteral("SELECT name FROM customers WHERE id = 3")).AsString(),
             QStringLiteral("Fixed"));

    // NOT NULL with a default is not required by the field, but SQLite still refuses NULL.
    FTable->Edit();
    FTable->FieldByName(QStringLiteral("code"))->Clear();
    ORVO_EXPECT_DB_ERROR(FTable->Post(), "NOT NULL");
    QCOMPARE(FTable->State(), dsEdit);
    FTable->Cancel();
    QCOMPARE(FTable->FieldByName(QStringLiteral("code"))->AsString(), QStringLiteral("x"));
}

void TestSQLiteTable::detailFollowsMaster()
{
    FTable->SetPageSize(100);
    FTable->Open();
    TDataSource source;
    source.SetDataSet(FTable.get());
    TSQLiteTable orders;
    orders.SetDatabase(FSample->Db.get());
    orders.SetTableName(QStringLiteral("orders"));
    orders.SetIndexFieldNames(QStringLiteral("cust_id;amount DESC"));
    orders.SetMasterFields(QStringLiteral("id"));
    orders.SetMasterSource(&source);
    orders.SetPageSize(2);
    orders.Open();
    for (int customer : {1, 3, 4, 7, 25}) {
        QVERIFY(FTable->Locate(QStringLiteral("id"), customer, {}));
        const QList<qint64> expected =
            FSample->Ids(QStringLiteral("SELECT id FROM orders WHERE cust_id = %1 ORDER BY amount DESC, id")
                             .arg(customer));
        QCOMPARE(orders.RecordCount(), int(expected.size()));
        QCOMPARE(WalkForward(orders), expected);
        QCOMPARE(WalkBackward(orders), expected);
    }
    // A new detail record takes the master's key.
    QVERIFY(FTable->Locate(QStringLiteral("id"), 4, {}));
    orders.Insert();
    orders.FieldByName(QStringLiteral("amount"))->SetAsFloat(99);
    orders.Post();
    QCOMPARE(orders.FieldByName(QStringLiteral("cust_id"))->AsInteger(), 4);
    QCOMPARE(orders.RecNo(), 1);
    QCOMPARE(orders.RecordCount(), 1);
}

void TestSQLiteTable::errorsLeaveTheTableUsable()
{
    FTable->SetTableName(QStringLiteral("nope"));
    ORVO_EXPECT_DB_ERROR(FTable->Open(), "Table 'nope' not found");
    QVERIFY(!FTable->Active());
    FTable->SetTableName(QStringLiteral("customers"));
    FTable->SetIndexFieldNames(QStringLiteral("missing DESC"));
    ORVO_EXPECT_DB_ERROR(FTable->Open(), "Field 'missing' not found");
    FTable->SetIndexFieldNames(QString());
    FTable->Open();
    QCOMPARE(FTable->RecordCount(), 25);
    ORVO_EXPECT_DB_ERROR(FTable->FieldByName(QStringLiteral("missing")), "missing");
    ORVO_EXPECT_DB_ERROR(FTable->Locate(QStringLiteral("missing"), 1, {}), "missing");
    QCOMPARE(CurrentId(*FTable), qint64(1));
    // Closing the connection closes the table first.
    FSample->Db->Close();
    QVERIFY(!FTable->Active());
}

QTEST_GUILESS_MAIN(TestSQLiteTable)
#include "tst_sqlitetable.moc"
