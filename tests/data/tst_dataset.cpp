// Navigation, the record window and its notifications, bookmarks, Locate and Lookup.
#include "tmemorytestdataset.h"
#include "trecordinglink.h"

#include "platform/core/exceptions.h"
#include "platform/data/tdatasource.h"
#include "platform/data/tfield.h"
#include "platform/data/tfields.h"

#include <QtTest>

using namespace orvo;

namespace {

constexpr int RowCount = 300;

void AddCustomerColumns(TMemoryTestDataSet& data)
{
    data.AddColumn(QStringLiteral("Id"), ftInteger);
    data.AddColumn(QStringLiteral("Name"), ftString, 20);
    data.AddColumn(QStringLiteral("City"), ftString, 20);
}

void FillCustomers(TMemoryTestDataSet& data)
{
    AddCustomerColumns(data);
    const TVariant cities[] = {"Berlin", "Paris", "O'Brien Town", TVariant::Null(), "berlin"};
    for (int i = 1; i <= RowCount; ++i)
        data.AddRow({i, QStringLiteral("Name%1").arg(i, 3, 10, QLatin1Char('0')), cities[i % 5]});
}

/// A customer table of 300 rows seen through a recording link with a five-record window.
struct TCustomers : TRecordedDataSet<TMemoryTestDataSet>
{
    explicit TCustomers(int bufferCount = 5)
        : TRecordedDataSet([](TMemoryTestDataSet& data) { FillCustomers(data); }, bufferCount)
    {}
};

} // namespace

class TestDataSet : public QObject
{
    Q_OBJECT

private slots:
    void openActivatesLinksAndFillsTheWindow();
    void scrollingNotifiesLinksWithTheirDistance();
    void scrollingByOneFetchesOneRecord();
    void smallerLinkWindowSeesItsOwnDistance();
    void moveByReturnsTheDistanceMoved_data();
    void moveByReturnsTheDistanceMoved();
    void recNoWritesOutOfRangeAreIgnored();
    void disableControlsNestsAndSendsOneNotification();
    void enableControlsReportsAStateChangeMeanwhile();
    void editPostAndCancelNotifications();
    void activeRecordSwitchesBuffersWithoutMoving();
    void bookmarksRoundTripAndCompare();
    void foreignAndStaleBookmarksAreRejected();
    void locateFindsByTheMatchingRules_data();
    void locateFindsByTheMatchingRules();
    void locateRecentresTheWindow();
    void lookupLeavesCursorAndStateAlone();
    void emptyDataSet();
    void fieldAccessByName();
    void closeDeactivatesLinks();
    void bufferCountChangesKeepTheCurrentRecord();
    void destroyingAnyPartLeavesTheOthersUsable();
};

void TestDataSet::openActivatesLinksAndFillsTheWindow()
{
    TCustomers c;
    QCOMPARE(c.Link.Log, QStringList{QStringLiteral("Active")});
    QCOMPARE(c.Data.State(), dsBrowse);
    QVERIFY(c.Data.Bof());
    QVERIFY(!c.Data.Eof());
    QCOMPARE(c.Link.RecordCount(), 5);
    QCOMPARE(c.Link.ActiveRecord(), 0);
    QCOMPARE(c.Data.RecNo(), 1);
    QCOMPARE(c.Data.RecordCount(), RowCount);
    QCOMPARE(c.Data.Fields()->Count(), 3);
    QVERIFY(c.Data.DefaultFields());
}

void TestDataSet::scrollingNotifiesLinksWithTheirDistance()
{
    TCustomers c;
    c.Link.Take();
    c.Data.Next();
    QCOMPARE(c.Link.Take(), QStringList{QStringLiteral("Scrolled(0)")});
    QCOMPARE(c.Link.ActiveRecord(), 1);
    c.Data.MoveBy(3);
    QCOMPARE(c.Link.Take(), QStringList{QStringLiteral("Scrolled(0)")});
    QCOMPARE(c.Link.ActiveRecord(), 4);
    c.Data.Next(); // past the window's last row
    QCOMPARE(c.Link.Take(), QStringList{QStringLiteral("Scrolled(1)")});
    QCOMPARE(c.Link.ActiveRecord(), 4);
    QCOMPARE(c.Id(), 6);
    c.Data.MoveBy(10);
    QCOMPARE(c.Link.Take(), QStringList{QStringLiteral("Scrolled(10)")});
    QCOMPARE(c.Id(), 16);
    c.Data.MoveBy(-2);
    QCOMPARE(c.Link.Take(), QStringList{QStringLiteral("Scrolled(0)")});
    QCOMPARE(c.Link.ActiveRecord(), 2);
    c.Data.MoveBy(-4); // two inside the window, two beyond its top
    QCOMPARE(c.Link.Take(), QStringList{QStringLiteral("Scrolled(-2)")});
    QCOMPARE(c.Link.ActiveRecord(), 0);
    QCOMPARE(c.Id(), 10);
    c.Data.Last();
    QCOMPARE(c.Link.Take(), QStringList{QStringLiteral("Changed")});
    QVERIFY(c.Data.Eof());
    QCOMPARE(c.Link.ActiveRecord(), 4);
    QCOMPARE(c.Id(), RowCount);
    c.Data.Next(); // at EOF nothing moves and nobody hears of it
    QVERIFY(c.Link.Take().isEmpty());
    c.Data.First();
    QCOMPARE(c.Link.Take(), QStringList{QStringLiteral("Changed")});
    QCOMPARE(c.Id(), 1);
}

void TestDataSet::scrollingByOneFetchesOneRecord()
{
    TCustomers c(20);
    c.Data.MoveBy(19);
    const int fetches = c.Data.RecordFetches;
    c.Data.Next();
    QCOMPARE(c.Data.RecordFetches - fetches, 1);
    c.Data.MoveBy(-19);
    const int before = c.Data.RecordFetches;
    c.Data.Prior();
    QCOMPARE(c.Data.RecordFetches - before, 1);
}

void TestDataSet::smallerLinkWindowSeesItsOwnDistance()
{
    TCustomers c;
    TRecordingLink small;
    small.SetBufferCount(2);
    small.SetDataSource(&c.Source);
    small.Take();
    c.Data.Next();
    c.Data.Next();
    c.Data.Prior();
    c.Data.Prior();
    QCOMPARE(small.Take(), (QStringList{QStringLiteral("Scrolled(0)"), QStringLiteral("Scrolled(1)"),
                                        QStringLiteral("Scrolled(0)"), QStringLiteral("Scrolled(-1)")}));
    QCOMPARE(small.ActiveRecord(), 0);
    QCOMPARE(small.RecordCount(), 2);
    c.Data.MoveBy(3);
    QCOMPARE(small.ActiveRecord(), 1);
    small.SetActiveRecord(0);
    QCOMPARE(c.Id(), 3);
    small.SetActiveRecord(1);
    QCOMPARE(c.Id(), 4);
}

void TestDataSet::moveByReturnsTheDistanceMoved_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("distance");
    QTest::addColumn<int>("moved");
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("bof");
    QTest::addColumn<bool>("eof");
    QTest::newRow("forward") << 1 << 10 << 10 << 11 << false << false;
    QTest::newRow("back past the start") << 11 << -20 << -10 << 1 << true << false;
    QTest::newRow("forward past the end") << 1 << 1000 << 299 << 300 << false << true;
    QTest::newRow("back from the end") << 300 << -1000 << -299 << 1 << true << false;
    QTest::newRow("zero") << 50 << 0 << 0 << 50 << false << false;
}

void TestDataSet::moveByReturnsTheDistanceMoved()
{
    QFETCH(int, start);
    QFETCH(int, distance);
    TCustomers c;
    c.Data.SetRecNo(start);
    QCOMPARE(c.Data.RecNo(), start);
    QTEST(c.Data.MoveBy(distance), "moved");
    QTEST(c.Id(), "id");
    QTEST(c.Data.Bof(), "bof");
    QTEST(c.Data.Eof(), "eof");
}

void TestDataSet::recNoWritesOutOfRangeAreIgnored()
{
    TCustomers c;
    int scrolls = 0;
    c.Data.BeforeScroll = [&](TDataSet*) { ++scrolls; };
    c.Data.SetRecNo(150);
    QCOMPARE(c.Data.RecNo(), 150);
    QCOMPARE(scrolls, 1);
    for (int recNo : {0, -5, RowCount + 1, 150}) {
        c.Data.SetRecNo(recNo);
        QCOMPARE(c.Data.RecNo(), 150);
    }
    QCOMPARE(scrolls, 1);
}

void TestDataSet::disableControlsNestsAndSendsOneNotification()
{
    TCustomers c;
    c.Link.Take();
    // More levels than an 8-bit counter holds.
    for (int i = 0; i < 300; ++i)
        c.Data.DisableControls();
    for (int i = 0; i < 299; ++i)
        c.Data.EnableControls();
    QVERIFY(c.Data.ControlsDisabled());
    for (int i = 0; i < 250; ++i)
        c.Data.Next();
    c.Data.Last();
    c.Data.First();
    QVERIFY(c.Link.Log.isEmpty());
    c.Data.EnableControls();
    QVERIFY(!c.Data.ControlsDisabled());
    QCOMPARE(c.Link.Take(), QStringList{QStringLiteral("Changed")});
    c.Data.EnableControls(); // unbalanced: no effect, no notification
    QVERIFY(c.Link.Log.isEmpty());
}

void TestDataSet::enableControlsReportsAStateChangeMeanwhile()
{
    TCustomers c;
    c.Data.SetReadOnly(false);
    c.Link.Take();
    c.Data.DisableControls();
    c.Data.Edit();
    c.Data.EnableControls();
    QCOMPARE(c.Link.Take(), (QStringList{QStringLiteral("Editing"), QStringLiteral("Changed")}));
    QVERIFY(c.Link.Editing());
}

void TestDataSet::editPostAndCancelNotifications()
{
    TCustomers c;
    TField* name = c.Data.FieldByName(QStringLiteral("Name"));
    c.Link.Take();
    c.Data.Edit();
    QCOMPARE(c.Link.Take(), (QStringList{QStringLiteral("Editing"), QStringLiteral("Record()")}));
    name->SetAsString(QStringLiteral("Changed"));
    QCOMPARE(c.Link.Take(), QStringList{QStringLiteral("Record(Name)")});
    QVERIFY(c.Data.Modified());
    c.Data.Post();
    QCOMPARE(c.Link.Take(), (QStringList{QStringLiteral("Editing"), QStringLiteral("Changed")}));
    QCOMPARE(c.Data.Rows()[0][1], TVariant("Changed"));

    c.Data.Edit();
    name->SetAsString(QStringLiteral("Dropped"));
    c.Link.Take();
    c.Data.Cancel();
    QCOMPARE(c.Link.Take(), (QStringList{QStringLiteral("Editing"), QStringLiteral("Changed")}));
    QCOMPARE(name->AsString(), QStringLiteral("Changed"));
}

void TestDataSet::activeRecordSwitchesBuffersWithoutMoving()
{
    TCustomers c;
    c.Data.MoveBy(2);
    c.Link.Take();
    const int fetches = c.Data.RecordFetches;
    const TField* name = c.Data.FieldByName(QStringLiteral("Name"));
    QStringList seen;
    const int saved = c.Link.ActiveRecord();
    for (int row = 0; row < c.Link.RecordCount(); ++row) {
        c.Link.SetActiveRecord(row);
        seen << name->AsString();
    }
    c.Link.SetActiveRecord(saved);
    QCOMPARE(seen, (QStringList{"Name001", "Name002", "Name003", "Name004", "Name005"}));
    const int valueFetches = c.Data.ValueFetches;
    for (int row = 0; row < c.Link.RecordCount(); ++row) {
        c.Link.SetActiveRecord(row);
        name->AsString();
    }
    c.Link.SetActiveRecord(saved);
    QCOMPARE(c.Data.ValueFetches, valueFetches); // each value is fetched once per buffer fill
    QCOMPARE(c.Data.RecordFetches, fetches);
    QVERIFY(c.Link.Log.isEmpty());
    QCOMPARE(c.Data.RecNo(), 3);
    c.Link.SetActiveRecord(17); // outside the window: ignored
    QCOMPARE(c.Link.ActiveRecord(), 2);
}

void TestDataSet::bookmarksRoundTripAndCompare()
{
    TCustomers c;
    c.Data.SetRecNo(10);
    const QString tenth = c.Data.Bookmark();
    c.Data.SetRecNo(20);
    const QString twentieth = c.Data.Bookmark();
    QVERIFY(!tenth.isEmpty());
    c.Data.SetBookmark(tenth);
    QCOMPARE(c.Id(), 10);
    QVERIFY(c.Data.BookmarkValid(twentieth));
    QCOMPARE(c.Data.CompareBookmarks(tenth, twentieth), -1);
    QCOMPARE(c.Data.CompareBookmarks(twentieth, tenth), 1);
    QCOMPARE(c.Data.CompareBookmarks(tenth, c.Data.Bookmark()), 0);
    QCOMPARE(c.Data.CompareBookmarks(QString(), tenth), 1);
    QCOMPARE(c.Data.CompareBookmarks(tenth, QString()), -1);
    QCOMPARE(c.Data.CompareBookmarks(QString(), QString()), 0);
    c.Data.SetBookmark(QString()); // nothing to go to
    QCOMPARE(c.Id(), 10);
}

void TestDataSet::foreignAndStaleBookmarksAreRejected()
{
    TCustomers c;
    TCustomers other;
    other.Data.SetRecNo(5);
    c.Data.SetRecNo(7);
    const QString foreign = other.Data.Bookmark();
    QVERIFY(!c.Data.BookmarkValid(foreign));
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, c.Data.SetBookmark(foreign));
    try {
        c.Data.SetBookmark(QStringLiteral("rubbish"));
        QFAIL("a malformed bookmark was accepted");
    } catch (const EDatabaseError& e) {
        QCOMPARE(e.Message(), QStringLiteral("Invalid bookmark"));
    }
    QCOMPARE(c.Id(), 7);

    c.Data.SetReadOnly(false);
    c.Data.SetRecNo(20);
    const QString deleted = c.Data.Bookmark();
    c.Data.Delete();
    QCOMPARE(c.Id(), 21);
    QVERIFY(!c.Data.BookmarkValid(deleted));
    try {
        c.Data.SetBookmark(deleted);
        QFAIL("a deleted record was found");
    } catch (const EDatabaseError& e) {
        QCOMPARE(e.Message(), QStringLiteral("Record not found"));
    }
    QCOMPARE(c.Id(), 21);
    c.Data.Next(); // still usable
    QCOMPARE(c.Id(), 22);

    c.Data.SetRecNo(30);
    const QString thirty = c.Data.Bookmark();
    c.Data.SetFilter(QStringLiteral("Id <> 31"));
    c.Data.SetFiltered(true);
    QVERIFY(!c.Data.BookmarkValid(thirty));
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, c.Data.SetBookmark(thirty));
}

void TestDataSet::locateFindsByTheMatchingRules_data()
{
    QTest::addColumn<QString>("fields");
    QTest::addColumn<TVariant>("values");
    QTest::addColumn<quint64>("options");
    QTest::addColumn<int>("id");
    const quint64 none = 0;
    const quint64 ci = TLocateOptions{loCaseInsensitive}.Bits();
    const quint64 partial = TLocateOptions{loPartialKey}.Bits();
    const quint64 both = TLocateOptions{loCaseInsensitive, loPartialKey}.Bits();
    QTest::newRow("exact") << "Name" << TVariant("smith") << none << 2;
    QTest::newRow("exact is case-sensitive") << "Name" << TVariant("SMITH") << none << 0;
    QTest::newRow("case-insensitive") << "Name" << TVariant("SMITH") << ci << 1;
    QTest::newRow("partial") << "Name" << TVariant("Smiths") << partial << 3;
    QTest::newRow("partial keeps case") << "Name" << TVariant("smiths") << partial << 0;
    QTest::newRow("partial and case") << "Name" << TVariant("SMITHS") << both << 3;
    QTest::newRow("folds beyond A-Z") << "Name" << TVariant("éMILE") << ci << 4;
    QTest::newRow("folds beyond A-Z in a prefix") << "Name" << TVariant("ÉMI") << both << 4;
    QTest::newRow("accented capital") << "Name" << TVariant("ÉMILE") << ci << 4;
    QTest::newRow("quote in value") << "Name;City" << VarArrayOf({"O'Hara", "Berlin"}) << none << 7;
    QTest::newRow("partial applies to the last key")
        << "Name;City" << VarArrayOf({"Smith", "Ber"}) << partial << 1;
    QTest::newRow("first key must be whole") << "Name;City" << VarArrayOf({"Smi", "Berlin"}) << partial << 0;
    QTest::newRow("number") << "Id" << TVariant(3) << none << 3;
    QTest::newRow("number as double") << "Id" << TVariant(3.0) << none << 3;
    QTest::newRow("number with options") << "Id" << TVariant("6") << ci << 6;
    QTest::newRow("null") << "Name" << TVariant::Null() << none << 6;
    QTest::newRow("array against one field") << "Name" << VarArrayOf({"Smith"}) << none << 0;
    QTest::newRow("missing") << "Name" << TVariant("Nobody") << none << 0;
}

namespace {

void FillPeople(TMemoryTestDataSet& data)
{
    AddCustomerColumns(data);
    data.AddRow({1, "Smith", "Berlin"});
    data.AddRow({2, "smith", "Paris"});
    data.AddRow({3, "Smithson", "Rome"});
    data.AddRow({4, "Émile", "Lyon"});
    data.AddRow({5, "émile", "Nice"});
    data.AddRow({6, TVariant::Null(), "Oslo"});
    data.AddRow({7, "O'Hara", "Berlin"});
}

} // namespace

void TestDataSet::locateFindsByTheMatchingRules()
{
    QFETCH(QString, fields);
    QFETCH(TVariant, values);
    QFETCH(quint64, options);
    QFETCH(int, id);
    TMemoryTestDataSet data;
    FillPeople(data);
    data.Open();
    data.SetRecNo(2);
    int afterScroll = 0;
    data.AfterScroll = [&](TDataSet*) { ++afterScroll; };
    const bool found = data.Locate(fields, values, TLocateOptions::FromBits(options));
    QCOMPARE(found, id != 0);
    QCOMPARE(data.FieldByName("Id")->AsInteger(), found ? id : 2);
    QCOMPARE(afterScroll, found ? 1 : 0);
    data.Next(); // the cursor is where the window says
    QCOMPARE(data.FieldByName("Id")->AsInteger(), found ? std::min(id + 1, 7) : 3);
}

void TestDataSet::locateRecentresTheWindow()
{
    TCustomers c;
    c.Link.Take();
    QVERIFY(c.Data.Locate(QStringLiteral("Id"), 100, {}));
    QCOMPARE(c.Link.Take(), QStringList{QStringLiteral("Changed")});
    QCOMPARE(c.Link.ActiveRecord(), 2);
    QCOMPARE(c.Link.RecordCount(), 5);
    QVERIFY(!c.Data.Locate(QStringLiteral("Id"), 1000, {}));
    QCOMPARE(c.Id(), 100);
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, c.Data.Locate(QStringLiteral("Nope"), 1, {}));
}

void TestDataSet::lookupLeavesCursorAndStateAlone()
{
    TCustomers c;
    c.Data.SetRecNo(2);
    c.Link.Take();
    int scrolls = 0;
    c.Data.BeforeScroll = [&](TDataSet*) { ++scrolls; };
    const TVariant found = c.Data.Lookup(QStringLiteral("Id"), 7, QStringLiteral("Name;City"));
    QVERIFY(found.IsArray());
    QCOMPARE(found[0], TVariant("Name007"));
    QCOMPARE(found[1], TVariant("O'Brien Town"));
    QVERIFY(c.Data.Lookup(QStringLiteral("Id"), 9999, QStringLiteral("Name")).IsNull());
    QCOMPARE(c.Data.Lookup(QStringLiteral("Name"), "Name010", QStringLiteral("Id")), TVariant(qint64(10)));
    QCOMPARE(c.Id(), 2);
    QCOMPARE(c.Data.State(), dsBrowse);
    QCOMPARE(scrolls, 0);
    QVERIFY(c.Link.Log.isEmpty());
    c.Data.Next(); // the cursor moved for the scan; the next move starts from the window
    QCOMPARE(c.Id(), 3);

    c.Data.SetReadOnly(false);
    c.Data.Edit(); // an edit in progress is neither posted nor disturbed
    c.Data.FieldByName(QStringLiteral("Name"))->SetAsString(QStringLiteral("Pending"));
    QCOMPARE(c.Data.Lookup(QStringLiteral("Id"), 8, QStringLiteral("Name")), TVariant("Name008"));
    QCOMPARE(c.Data.State(), dsEdit);
    QCOMPARE(c.Data.FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Pending"));
    c.Data.Post();
    QCOMPARE(c.Data.Rows()[2][1], TVariant("Pending"));
}

void TestDataSet::emptyDataSet()
{
    TMemoryTestDataSet data;
    AddCustomerColumns(data);
    data.Open();
    QVERIFY(data.IsEmpty());
    QVERIFY(data.Bof());
    QVERIFY(data.Eof());
    QCOMPARE(data.RecNo(), -1);
    QCOMPARE(data.RecordCount(), 0);
    QVERIFY(data.Bookmark().isEmpty());
    QVERIFY(!data.Locate(QStringLiteral("Id"), 1, {}));
    QVERIFY(data.Lookup(QStringLiteral("Id"), 1, QStringLiteral("Name")).IsNull());
    QVERIFY(data.FieldByName(QStringLiteral("Name"))->IsNull());
    QCOMPARE(data.MoveBy(5), 0);
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, data.Delete());
}

void TestDataSet::fieldAccessByName()
{
    TCustomers c;
    QCOMPARE(c.Data.FieldByName(QStringLiteral("name"))->FieldName(), QStringLiteral("Name"));
    QVERIFY(!c.Data.FindField(QStringLiteral("Nope")));
    try {
        c.Data.FieldByName(QStringLiteral("Nope"));
        QFAIL("a missing field was found");
    } catch (const EDatabaseError& e) {
        QCOMPARE(e.Message(), QStringLiteral("Field 'Nope' not found"));
    }
    c.Data.setObjectName(QStringLiteral("Customers"));
    try {
        c.Data.FieldByName(QStringLiteral("Nope"));
        QFAIL("a missing field was found");
    } catch (const EDatabaseError& e) {
        QCOMPARE(e.Message(), QStringLiteral("Customers: Field 'Nope' not found"));
    }
    const TVariant both = c.Data.FieldValues(QStringLiteral("Id; Name"));
    QCOMPARE(both.ArrayHighBound(), 1);
    QCOMPARE(both[0], TVariant(qint64(1)));
    QCOMPARE(both[1], TVariant("Name001"));
    QCOMPARE(c.Data.property("Name").toString(), QStringLiteral("Customers"));
    QCOMPARE(c.Data.property("Active").toBool(), true);
    c.Data.Fields()->Move(2, 0);
    QCOMPARE(c.Data.Fields()->Field(0)->FieldName(), QStringLiteral("City"));
    QCOMPARE(c.Data.FieldByName(QStringLiteral("Id"))->Index(), 1);
}

void TestDataSet::closeDeactivatesLinks()
{
    TCustomers c;
    c.Link.Take();
    c.Data.Close();
    // The default fields go with the cursor; links hear of each while it can still be read.
    QCOMPARE(c.Link.Take(),
             (QStringList{QStringLiteral("Active"), QStringLiteral("Removing(Id)"),
                          QStringLiteral("Removing(Name)"), QStringLiteral("Removing(City)")}));
    QVERIFY(!c.Link.Active());
    QCOMPARE(c.Data.Fields()->Count(), 0);
    c.Data.Open();
    QCOMPARE(c.Id(), 1);
}

void TestDataSet::bufferCountChangesKeepTheCurrentRecord()
{
    TCustomers c;
    QVERIFY(c.Data.Locate(QStringLiteral("Id"), 100, {}));
    c.Link.SetBufferCount(20);
    QCOMPARE(c.Id(), 100);
    QCOMPARE(c.Link.RecordCount(), 20);
    QCOMPARE(c.Link.ActiveRecord(), 2);
    c.Data.Last();
    c.Link.SetBufferCount(40); // no records after the last: the window grows backwards
    QCOMPARE(c.Id(), RowCount);
    QCOMPARE(c.Link.RecordCount(), 40);
    QCOMPARE(c.Link.ActiveRecord(), 39);
    c.Link.SetActiveRecord(0);
    QCOMPARE(c.Id(), RowCount - 39);
    c.Link.SetActiveRecord(39);
    c.Link.SetBufferCount(3);
    QCOMPARE(c.Id(), RowCount);
    QCOMPARE(c.Link.ActiveRecord(), 2);
    QCOMPARE(c.Data.BufferCount(), 3);
    c.Data.Prior();
    QCOMPARE(c.Id(), RowCount - 1);
}

void TestDataSet::destroyingAnyPartLeavesTheOthersUsable()
{
    auto* data = new TMemoryTestDataSet;
    FillCustomers(*data);
    TDataSource source;
    TRecordingLink link;
    source.SetDataSet(data);
    link.SetDataSource(&source);
    data->Open();
    QVERIFY(link.Active());
    delete data;
    QVERIFY(!source.DataSet());
    QVERIFY(!link.Active());
    QCOMPARE(link.RecordCount(), 0);

    TCustomers c;
    auto* second = new TDataSource;
    second->SetDataSet(&c.Data);
    auto* secondLink = new TRecordingLink;
    secondLink->SetBufferCount(12);
    secondLink->SetDataSource(second);
    QCOMPARE(c.Data.BufferCount(), 12);
    delete second;
    QVERIFY(!secondLink->DataSource());
    QCOMPARE(c.Data.BufferCount(), 5); // the window shrinks back to what remains asked for
    delete secondLink;
    c.Data.Next();
    QCOMPARE(c.Id(), 2);
}

QTEST_GUILESS_MAIN(TestDataSet)
#include "tst_dataset.moc"
