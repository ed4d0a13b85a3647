// Editing, filtering, calculated/lookup/internal-calc fields, field links and data sources.
#include "tmemorytestdataset.h"
#include "trecordinglink.h"

#include "common/texceptionhandlerscope.h"
#include "platform/core/exceptions.h"
#include "platform/core/texceptionhandler.h"
#include "platform/data/tdatasource.h"
#include "platform/data/tfield.h"
#include "platform/data/tfielddatalink.h"
#include "platform/data/tfields.h"
#include "platform/data/tfloatfield.h"
#include "platform/data/tintegerfield.h"
#include "platform/data/tstringfield.h"

#include <QtTest>

using namespace orvo;

namespace {

constexpr int RowCount = 300;

/// 300 customers; City cycles Berlin, Paris, O'Brien Town, NULL, berlin (by Id modulo 5).
void FillCustomers(TMemoryTestDataSet& data, bool nameRequired = false)
{
    data.AddColumn(QStringLiteral("Id"), ftInteger);
    data.AddColumn(QStringLiteral("Name"), ftString, 20, nameRequired);
    data.AddColumn(QStringLiteral("City"), ftString, 20);
    data.AddColumn(QStringLiteral("CityCode"), ftInteger);
    const TVariant cities[] = {"Berlin", "Paris", "O'Brien Town", TVariant::Null(), "berlin"};
    for (int i = 1; i <= RowCount; ++i)
        data.AddRow({i, QStringLiteral("Name%1").arg(i, 3, 10, QLatin1Char('0')), cities[i % 5], i % 3});
}

struct TCustomers : TRecordedDataSet<TMemoryTestDataSet>
{
    explicit TCustomers(bool nameRequired = false)
        : TRecordedDataSet([nameRequired](TMemoryTestDataSet& data) { FillCustomers(data, nameRequired); }, 5)
    {}
    TField* Field(const char* name) const { return Data.FieldByName(QString::fromLatin1(name)); }
};

QString ErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Exception& e) {
        return e.Message();
    }
    return QString();
}

} // namespace

class TestDataSetEditing : public QObject
{
    Q_OBJECT

private slots:
    void insertGoesBeforeTheCurrentRecord();
    void appendGoesToTheEnd();
    void cancelledInsertLeavesNoRecord();
    void requiredFieldBlocksPost();
    void failedPostKeepsTheEdit_data();
    void failedPostKeepsTheEdit();
    void failingNewRecordHandlerAbandonsTheInsert();
    void oldValuesReadTheRecordBeforeTheEdit();
    void movingPostsOrCancelsAPendingEdit();
    void readOnlyDataSetRefusesChanges();
    void filterSelectsRecords_data();
    void filterSelectsRecords();
    void filterChangesTakeEffectAtOnce();
    void filterIsParsedAtOpen();
    void failingFilterHandlerRejectsTheRecord();
    void calculatedAndLookupFields();
    void internalCalcFieldsLiveInTheDataSet();
    void removedFieldIsAnnouncedWhileReadable();
    void fieldDataLinkFollowsItsField();
    void circularDataLinksAreRefused();
    void refreshRereadsTheWindow();
    void persistentFieldsAreBoundByName();
    void blobStreamsReadAndWriteTheField();
    void fieldValuesSetSeveralFields();
};

void TestDataSetEditing::insertGoesBeforeTheCurrentRecord()
{
    TCustomers c;
    c.Data.SetRecNo(10);
    c.Data.Insert();
    QCOMPARE(c.Data.State(), dsInsert);
    QCOMPARE(c.Data.RecNo(), -1);
    QVERIFY(c.Field("Id")->IsNull());
    c.Field("Id")->SetAsInteger(1000);
    c.Field("Name")->SetAsString(QStringLiteral("New"));
    c.Data.Post();
    QCOMPARE(c.Data.State(), dsBrowse);
    QCOMPARE(c.Id(), 1000);
    QCOMPARE(c.Data.RecNo(), 10);
    QCOMPARE(c.Data.Rows()[9][0], TVariant(1000));
    QCOMPARE(c.Data.Rows()[10][0], TVariant(10));
    QCOMPARE(c.Data.RecordCount(), RowCount + 1);
    c.Data.Next();
    QCOMPARE(c.Id(), 10);
}

void TestDataSetEditing::appendGoesToTheEnd()
{
    TCustomers c;
    c.Data.SetRecNo(10);
    c.Data.Append();
    QCOMPARE(c.Data.State(), dsInsert);
    QVERIFY(c.Data.Eof());
    c.Field("Id")->SetAsInteger(1000);
    c.Data.Post();
    QCOMPARE(c.Data.Rows().back()[0], TVariant(1000));
    QCOMPARE(c.Id(), 1000);
    QCOMPARE(c.Data.RecNo(), RowCount + 1);

    TMemoryTestDataSet empty;
    empty.AddColumn(QStringLiteral("Id"), ftInteger);
    empty.Open();
    empty.Insert();
    empty.FieldByName(QStringLiteral("Id"))->SetAsInteger(1);
    empty.Post();
    QCOMPARE(empty.RecordCount(), 1);
    QCOMPARE(empty.FieldByName(QStringLiteral("Id"))->AsInteger(), 1);
}

void TestDataSetEditing::cancelledInsertLeavesNoRecord()
{
    TCustomers c;
    c.Data.SetRecNo(10);
    c.Data.Insert();
    c.Field("Id")->SetAsInteger(1000);
    c.Data.Cancel();
    QCOMPARE(c.Id(), 10);
    QCOMPARE(c.Data.RecordCount(), RowCount);
    c.Data.Append();
    c.Data.Cancel();
    QCOMPARE(c.Id(), RowCount);
    QCOMPARE(c.Data.State(), dsBrowse);
}

void TestDataSetEditing::requiredFieldBlocksPost()
{
    TCustomers c(true);
    c.Data.Insert();
    c.Field("Id")->SetAsInteger(1000);
    QCOMPARE(ErrorOf([&] { c.Data.Post(); }), QStringLiteral("Field 'Name' must have a value"));
    QCOMPARE(c.Data.State(), dsInsert);
    QCOMPARE(c.Id(), 1000);
    c.Field("Name")->SetAsString(QStringLiteral("Given"));
    c.Data.Post();
    QCOMPARE(c.Data.RecordCount(), RowCount + 1);
    // A required field emptied in an edit is caught too.
    c.Data.Edit();
    c.Field("Name")->Clear();
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, c.Data.Post());
    QCOMPARE(c.Data.State(), dsEdit);
}

void TestDataSetEditing::failedPostKeepsTheEdit_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("error");
    QTest::addColumn<bool>("posted");
    QTest::newRow("fail") << int(daFail) << "Disk full" << false;
    QTest::newRow("abort") << int(daAbort) << "Operation aborted" << false;
    QTest::newRow("retry") << int(daRetry) << "" << true;
}

void TestDataSetEditing::failedPostKeepsTheEdit()
{
    QFETCH(int, action);
    TCustomers c;
    int errors = 0;
    c.Data.OnPostError = [&](TDataSet*, const EDatabaseError& e, TDataAction& a) {
        ++errors;
        QCOMPARE(e.Message(), QStringLiteral("Disk full"));
        a = TDataAction(action);
    };
    c.Data.Edit();
    c.Field("Name")->SetAsString(QStringLiteral("Edited"));
    c.Data.FailPosts = 1;
    QTEST(ErrorOf([&] { c.Data.Post(); }), "error");
    QCOMPARE(errors, 1);
    QFETCH(bool, posted);
    QCOMPARE(c.Data.State(), posted ? dsBrowse : dsEdit);
    QCOMPARE(c.Field("Name")->AsString(), QStringLiteral("Edited"));
    QCOMPARE(c.Data.Rows()[0][1] == TVariant("Edited"), posted);
}

void TestDataSetEditing::failingNewRecordHandlerAbandonsTheInsert()
{
    TCustomers c;
    c.Data.SetRecNo(10);
    c.Data.OnNewRecord = [](TDataSet*) { throw EDatabaseError(QStringLiteral("no defaults")); };
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, c.Data.Insert());
    // Left in insert state, a later Post would store a copy of record 10.
    QCOMPARE(c.Data.State(), dsBrowse);
    QCOMPARE(c.Id(), 10);
    QCOMPARE(c.Data.RecordCount(), RowCount);
}

void TestDataSetEditing::oldValuesReadTheRecordBeforeTheEdit()
{
    TCustomers c;
    c.Data.SetRecNo(10);
    TField* name = c.Field("Name");
    c.Data.Edit();
    name->SetAsString(QStringLiteral("Changed"));
    QCOMPARE(name->OldValue(), TVariant("Name010"));
    QCOMPARE(name->AsString(), QStringLiteral("Changed"));
    c.Data.Post();
    QCOMPARE(name->OldValue(), TVariant("Changed"));
    c.Data.Insert();
    QVERIFY(name->OldValue().IsNull());
    c.Data.Cancel();
}

void TestDataSetEditing::movingPostsOrCancelsAPendingEdit()
{
    TCustomers c;
    c.Data.Edit();
    c.Field("Name")->SetAsString(QStringLiteral("Kept"));
    c.Data.Next();
    QCOMPARE(c.Data.Rows()[0][1], TVariant("Kept"));
    c.Data.Edit(); // unmodified: moving cancels
    int posts = 0;
    c.Data.BeforePost = [&](TDataSet*) { ++posts; };
    c.Data.Next();
    QCOMPARE(posts, 0);
    QCOMPARE(c.Data.State(), dsBrowse);
}

void TestDataSetEditing::readOnlyDataSetRefusesChanges()
{
    TCustomers c;
    c.Data.SetReadOnly(true);
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, c.Data.Edit());
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, c.Data.Insert());
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, c.Data.Delete());
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, c.Field("Name")->SetAsString(QStringLiteral("x")));
    QCOMPARE(c.Data.State(), dsBrowse);
    QCOMPARE(c.Data.RecordCount(), RowCount);
}

void TestDataSetEditing::filterSelectsRecords_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("firstId");
    QTest::newRow("quote in a value") << "City = 'O''Brien Town'" << 60 << 2;
    QTest::newRow("null") << "City IS NULL" << 60 << 3;
    QTest::newRow("like folds A-Z") << "City LIKE 'b%'" << 120 << 4;
    QTest::newRow("in") << "City IN ('Paris', 'berlin')" << 120 << 1;
    QTest::newRow("null is unknown") << "Id > 295 AND City <> 'Paris'" << 3 << 297;
    QTest::newRow("text that looks like SQL") << "Name = 'x'' OR 1=1 --'" << 0 << -1;
}

void TestDataSetEditing::filterSelectsRecords()
{
    QFETCH(QString, filter);
    TCustomers c;
    c.Data.SetFilter(filter);
    c.Data.SetFiltered(true);
    QTEST(c.Data.RecordCount(), "count");
    QFETCH(int, firstId);
    QCOMPARE(c.Data.IsEmpty() ? -1 : c.Id(), firstId);
    int seen = 0;
    for (c.Data.First(); !c.Data.Eof(); c.Data.Next())
        ++seen;
    QTEST(seen, "count");
}

void TestDataSetEditing::filterChangesTakeEffectAtOnce()
{
    TCustomers c;
    c.Data.SetRecNo(50);
    c.Data.SetFilter(QStringLiteral("Id > 100"));
    QCOMPARE(c.Id(), 50); // not filtered yet
    c.Data.SetFiltered(true);
    QCOMPARE(c.Id(), 101);
    QCOMPARE(c.Data.RecordCount(), 200);
    c.Data.SetFilter(QStringLiteral("Id > 200"));
    QCOMPARE(c.Id(), 201);
    c.Data.SetOnFilterRecord([](TDataSet* d, bool& accept) {
        accept = d->FieldByName(QStringLiteral("Id"))->AsInteger() % 2 == 1;
    });
    QCOMPARE(c.Data.RecordCount(), 50);
    c.Data.Next();
    QCOMPARE(c.Id(), 203);
    try {
        c.Data.SetFilter(QStringLiteral("Id >"));
        QFAIL("a bad filter was accepted");
    } catch (const EDatabaseError&) {
    }
    QCOMPARE(c.Data.Filter(), QStringLiteral("Id > 200"));
    QCOMPARE(c.Data.RecordCount(), 50);
    QCOMPARE(c.Id(), 203);
    QVERIFY(!c.Data.Locate(QStringLiteral("Id"), 150, {}));
    QVERIFY(!c.Data.Locate(QStringLiteral("Id"), 252, {}));
    QVERIFY(c.Data.Locate(QStringLiteral("Id"), 251, {}));
    c.Data.Last();
    QCOMPARE(c.Id(), 299);
    c.Data.SetOnFilterRecord(nullptr);
    QCOMPARE(c.Id(), 201);
    c.Data.SetFiltered(false);
    QCOMPARE(c.Id(), 1);
    QCOMPARE(c.Data.RecordCount(), RowCount);
}

void TestDataSetEditing::filterIsParsedAtOpen()
{
    TMemoryTestDataSet data;
    FillCustomers(data);
    data.SetFilter(QStringLiteral("Nope = 1"));
    data.SetFiltered(true);
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, data.Open());
    QVERIFY(!data.Active());
    QVERIFY(!data.IsCursorOpen());
    data.SetFilter(QStringLiteral("Id < 3"));
    data.Open();
    QCOMPARE(data.RecordCount(), 2);
    QVERIFY(data.FilterExpression());
}

void TestDataSetEditing::failingFilterHandlerRejectsTheRecord()
{
    QStringList errors;
    TCustomers c;
    {
        const test::TExceptionHandlerScope handler(test::TExceptionHandlerScope::Recording(errors));
        c.Data.SetOnFilterRecord([](TDataSet* d, bool&) {
            if (d->FieldByName(QStringLiteral("Id"))->AsInteger() == 1)
                throw EDatabaseError(QStringLiteral("handler failed"));
        });
        c.Data.SetFiltered(true);
    }
    QCOMPARE(c.Id(), 2);
    QVERIFY(errors.contains(QStringLiteral("handler failed")));
}

void TestDataSetEditing::calculatedAndLookupFields()
{
    TMemoryTestDataSet cities;
    cities.AddColumn(QStringLiteral("Code"), ftInteger);
    cities.AddColumn(QStringLiteral("CityName"), ftString, 20);
    cities.AddRow({0, "Zero City"});
    cities.AddRow({1, "One City"});
    cities.AddRow({2, "Two City"});
    cities.Open();

    TMemoryTestDataSet data;
    FillCustomers(data);
    auto* doubled = new TIntegerField(&data);
    doubled->SetFieldName(QStringLiteral("Doubled"));
    doubled->SetFieldKind(fkCalculated);
    doubled->SetDataSet(&data);
    auto* cityName = new TStringField(&data);
    cityName->SetFieldName(QStringLiteral("CityName"));
    cityName->SetSize(20);
    cityName->SetFieldKind(fkLookup);
    cityName->SetKeyFields(QStringLiteral("CityCode"));
    cityName->SetLookupDataSet(&cities);
    cityName->SetLookupKeyFields(QStringLiteral("Code"));
    cityName->SetLookupResultField(QStringLiteral("CityName"));
    cityName->SetLookupCache(true);
    cityName->SetDataSet(&data);
    data.OnCalcFields = [](TDataSet* d) {
        d->FieldByName(QStringLiteral("Doubled"))
            ->SetAsInteger(d->FieldByName(QStringLiteral("Id"))->AsInteger() * 2);
    };
    data.Open();
    // Default data fields come first, the persistent calculated ones after them.
    QCOMPARE(data.Fields()->Count(), 6);
    QCOMPARE(data.Fields()->Field(0)->FieldName(), QStringLiteral("Id"));
    QCOMPARE(doubled->Index(), 4);
    data.SetRecNo(7);
    QCOMPARE(doubled->AsInteger(), 14);
    QCOMPARE(cityName->AsString(), QStringLiteral("One City"));
    for (data.First(); !data.Eof(); data.Next())
        QCOMPARE(cityName->AsString(),
                 cities.Lookup("Code", data.FieldByName("CityCode")->AsVariant(), "CityName").AsString());
    const int fetches = cities.RecordFetches;
    for (data.First(); !data.Eof(); data.Next())
        cityName->AsString();
    QCOMPARE(cities.RecordFetches, fetches);                            // answered from the lookup cache
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, doubled->SetAsInteger(1)); // not in a calculation
    // Editing a key field recomputes the lookup at once.
    data.Edit();
    data.FieldByName(QStringLiteral("CityCode"))->SetAsInteger(2);
    QCOMPARE(cityName->AsString(), QStringLiteral("Two City"));
    data.Cancel();
    data.Close();
    QCOMPARE(data.Fields()->Count(), 2); // the persistent fields stay
}

void TestDataSetEditing::internalCalcFieldsLiveInTheDataSet()
{
    TCustomers c;
    auto* rank = new TFloatField(&c.Data);
    rank->SetFieldName(QStringLiteral("Rank"));
    rank->SetFieldKind(fkInternalCalc);
    c.Link.Take();
    rank->SetDataSet(&c.Data);
    QCOMPARE(c.Link.Take(), QStringList{QStringLiteral("Layout")});
    QVERIFY(rank->IsNull());

    c.Data.SetRecNo(3);
    c.Data.Edit();
    rank->SetAsFloat(1.5);
    QVERIFY(c.Data.Modified());
    c.Data.Post();
    QCOMPARE(rank->AsFloat(), 1.5);
    QCOMPARE(c.Data.Rows()[2].size(), std::size_t(4)); // never reached the source
    c.Data.Next();
    QVERIFY(rank->IsNull());
    c.Data.Last();
    c.Data.SetRecNo(3);
    QCOMPARE(rank->AsFloat(), 1.5);

    c.Data.Insert();
    rank->SetAsFloat(7.0);
    c.Field("Id")->SetAsInteger(999);
    c.Data.Post();
    QCOMPARE(c.Id(), 999);
    QCOMPARE(rank->AsFloat(), 7.0);

    // Only internal-calc fields may join an open dataset.
    auto* extra = new TIntegerField(&c.Data);
    extra->SetFieldName(QStringLiteral("Extra"));
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, extra->SetDataSet(&c.Data));
    QVERIFY(!extra->DataSet());
    QVERIFY(!c.Data.FindField(QStringLiteral("Extra")));

    c.Data.Close();
    c.Data.Open();
    QCOMPARE(c.Data.Fields()->Count(), 5);
    c.Data.SetRecNo(3);
    QVERIFY(rank->IsNull()); // values go with the cursor
}

void TestDataSetEditing::removedFieldIsAnnouncedWhileReadable()
{
    TCustomers c;
    TFieldDataLink fieldLink;
    fieldLink.SetDataSource(&c.Source);
    fieldLink.SetFieldName(QStringLiteral("Name"));
    QCOMPARE(fieldLink.Field(), c.Field("Name"));
    c.Link.Take();
    delete c.Field("Name");
    QCOMPARE(c.Link.Take(), (QStringList{QStringLiteral("Removing(Name)"), QStringLiteral("Layout")}));
    QCOMPARE(c.Link.RemovedFieldValue, QStringLiteral("Name001"));
    QVERIFY(!fieldLink.Field());
    QVERIFY(!c.Data.FindField(QStringLiteral("Name")));
}

void TestDataSetEditing::fieldDataLinkFollowsItsField()
{
    TCustomers c;
    TFieldDataLink link;
    QString controlText;
    int dataChanges = 0;
    link.OnDataChange = [&](TFieldDataLink* l) {
        ++dataChanges;
        controlText = l->Field() ? l->Field()->AsString() : QString();
    };
    link.OnUpdateData = [&](TFieldDataLink* l) { l->Field()->SetAsString(controlText); };
    link.SetFieldName(QStringLiteral("Name"));
    link.SetDataSource(&c.Source);
    QCOMPARE(controlText, QStringLiteral("Name001"));
    c.Data.Next();
    QCOMPARE(controlText, QStringLiteral("Name002"));
    QVERIFY(link.CanModify());
    QVERIFY(link.Edit());
    QCOMPARE(c.Data.State(), dsEdit);
    controlText = QStringLiteral("Typed");
    link.Modified();
    c.Data.Post();
    QCOMPARE(c.Data.Rows()[1][1], TVariant("Typed"));

    c.Field("Name")->OnValidate = [](TField* f) {
        if (f->AsString() == QLatin1String("bad"))
            throw EDatabaseError(QStringLiteral("'bad' is not a name"));
    };
    link.Edit();
    controlText = QStringLiteral("bad");
    link.Modified();
    QCOMPARE(ErrorOf([&] { c.Data.Post(); }), QStringLiteral("'bad' is not a name"));
    QCOMPARE(c.Data.State(), dsEdit);
    link.Reset();
    QCOMPARE(controlText, QStringLiteral("Typed"));
    QVERIFY(!link.IsModified());
    c.Data.Cancel();

    link.SetReadOnly(true);
    QVERIFY(!link.Edit());
    QCOMPARE(c.Data.State(), dsBrowse);
    link.SetFieldName(QStringLiteral("Missing"));
    QVERIFY(!link.Field());
}

void TestDataSetEditing::circularDataLinksAreRefused()
{
    TMemoryTestDataSet master;
    TMemoryTestDataSet detail;
    FillCustomers(master);
    FillCustomers(detail);
    TDataSource masterSource;
    TDataSource detailSource;
    masterSource.SetDataSet(&master);
    detail.SetMasterSource(&masterSource);
    detailSource.SetDataSet(&detail);
    // The master's source would be fed by its own detail.
    master.SetMasterSource(&detailSource);
    QCOMPARE(ErrorOf([&] { masterSource.SetDataSet(&detail); }),
             QStringLiteral("Circular datalinks are not allowed"));
    QCOMPARE(masterSource.DataSet(), &master);
    TDataSource own;
    detail.SetMasterSource(&own);
    QCOMPARE(ErrorOf([&] { own.SetDataSet(&detail); }), QStringLiteral("Circular datalinks are not allowed"));
    QVERIFY(!own.DataSet());
}

void TestDataSetEditing::refreshRereadsTheWindow()
{
    TCustomers c;
    c.Data.SetRecNo(10);
    QCOMPARE(c.Field("Name")->AsString(), QStringLiteral("Name010"));
    c.Data.SetValue(9, 1, "Fresh");
    QCOMPARE(c.Field("Name")->AsString(), QStringLiteral("Name010")); // the buffer keeps what it read
    c.Link.Take();
    c.Data.Refresh();
    QCOMPARE(c.Field("Name")->AsString(), QStringLiteral("Fresh"));
    QCOMPARE(c.Data.RecNo(), 10);
    QCOMPARE(c.Link.Take(), QStringList{QStringLiteral("Changed")});
}

void TestDataSetEditing::persistentFieldsAreBoundByName()
{
    TMemoryTestDataSet data;
    FillCustomers(data);
    auto* city = new TStringField(&data);
    city->SetFieldName(QStringLiteral("city"));
    city->SetDataSet(&data);
    auto* missing = new TIntegerField(&data);
    missing->SetFieldName(QStringLiteral("Missing"));
    missing->SetDataSet(&data);
    QCOMPARE(ErrorOf([&] { data.Open(); }), QStringLiteral("Field 'Missing' not found"));
    QVERIFY(!data.Active());
    delete missing;
    data.Open();
    QCOMPARE(data.Fields()->Count(), 1); // persistent fields: no default ones
    QCOMPARE(city->FieldNo(), 3);
    QCOMPARE(city->AsString(), QStringLiteral("Paris"));
    QVERIFY(!data.FindField(QStringLiteral("Name")));
}

void TestDataSetEditing::blobStreamsReadAndWriteTheField()
{
    TMemoryTestDataSet data;
    data.AddColumn(QStringLiteral("Photo"), ftBlob);
    data.AddRow({QByteArray("abc")});
    data.Open();
    TField* photo = data.FieldByName(QStringLiteral("Photo"));
    {
        std::unique_ptr<QIODevice> reader(data.CreateBlobStream(photo, bmRead));
        QCOMPARE(reader->readAll(), QByteArray("abc"));
    }
    data.Edit();
    {
        std::unique_ptr<QIODevice> writer(data.CreateBlobStream(photo, bmWrite));
        writer->write("xyz");
        writer->close();
    }
    data.Post();
    QCOMPARE(data.Rows()[0][0], TVariant(QByteArray("xyz")));
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, data.CreateBlobStream(nullptr, bmRead));
}

void TestDataSetEditing::fieldValuesSetSeveralFields()
{
    TCustomers c;
    c.Data.Edit();
    c.Data.SetFieldValues(QStringLiteral("Name;City"), VarArrayOf({"Ann", "Rome"}));
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, c.Data.SetFieldValues(QStringLiteral("Name;City"), "Ann"));
    c.Data.Post();
    QCOMPARE(c.Data.FieldValues(QStringLiteral("Name;City")), VarArrayOf({"Ann", "Rome"}));
}

QTEST_GUILESS_MAIN(TestDataSetEditing)
#include "tst_dataset_editing.moc"
