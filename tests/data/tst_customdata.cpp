// The dataset over an indexed source: moving, the window's notifications, record numbers,
// bookmarks, Locate and Lookup, and what a misbehaving source or caller gets.
#include "trecordinglink.h"
#include "tvectordata.h"

#include "common/errorof.h"
#include "platform/data/tdatasource.h"
#include "platform/data/tfield.h"
#include "platform/data/tfielddefs.h"
#include "platform/data/tfields.h"
#include "platform/data/tintegerfield.h"
#include "platform/data/tstringfield.h"

#include <QtTest>

#include <limits>

using namespace orvo;
using orvo::test::ErrorOf;

namespace {

constexpr int RowCount = 100;

/// Rows 1..100: Id ascending, Name "Name001".., City among a few with a Null.
void FillCities(TVectorData& data)
{
    data.AddColumn(QStringLiteral("Id"), ftInteger);
    data.AddColumn(QStringLiteral("Name"), ftWideString, 20);
    data.AddColumn(QStringLiteral("City"), ftString, 20);
    const TVariant cities[] = {"Berlin", "Paris", "öl town", TVariant::Null(), "berlin"};
    for (int i = 1; i <= RowCount; ++i)
        data.Rows.push_back({i, QStringLiteral("Name%1").arg(i, 3, 10, QLatin1Char('0')), cities[i % 5]});
}

/// The cities seen through a recording link with a five-record window.
struct TCities : TRecordedDataSet<TVectorData>
{
    explicit TCities(int bufferCount = 5)
        : TRecordedDataSet([](TVectorData& data) { FillCities(data); }, bufferCount)
    {}
};

/// A source of more records than an `int` counts, computed rather than stored.
class THugeData : public TOrvoDBCustomData
{
public:
    static constexpr qint64 Count = qint64(3) << 31;

    THugeData() { FieldDefs()->Add(QStringLiteral("Rest"), ftInteger); }

protected:
    void DoGetRecordCount(qint64& count) override { count = Count; }
    void InternalGetFieldValue(qint64 index, const TField*, TVariant& value) override
    {
        value = index % 1000;
    }
};

/// A list of texts shown through one persistent field the program makes.
class TListData : public TOrvoDBCustomData
{
public:
    QStringList Items;
    void ForceCount(qint64 count) { SetRecordCount(count); }

protected:
    void DoGetRecordCount(qint64& count) override { count = Items.size(); }
    void InternalGetFieldValue(qint64 index, const TField*, TVariant& value) override
    {
        value = Items.at(int(index));
    }
};

} // namespace

class TestCustomData : public QObject
{
    Q_OBJECT

private slots:
    void openFillsTheWindowAndNotifiesTheLink();
    void movingNotifiesTheLinkWithItsDistance();
    void valuesAreFetchedOncePerBufferFill();
    void emptySourceOpensEmpty();
    void recNoFollowsTheCurrentRecord();
    void recNoJumpsRecentreAndIgnoreNoMoves_data();
    void recNoJumpsRecentreAndIgnoreNoMoves();
    void recNoOfTheRecordUnderCalculationOrFilter();
    void bookmarksRoundTripAndOrder();
    void bookmarkEdges_data();
    void bookmarkEdges();
    void foreignBookmarkIsRefusedAndTheDataSetStaysUsable();
    void sourcesBeyondTheIntRangeCountAndNavigate();
    void locateFindsByTheMatchingRules_data();
    void locateFindsByTheMatchingRules();
    void locateOnSortedKeysSearchesByHalves();
    void locateReadsValuesAsTheFieldHoldsThem();
    void locateFiresBeforeScrollEvenWhenNothingIsFound();
    void lookupLeavesCursorAndStateAlone();
    void changedCountRaisesAndReopeningRecovers_data();
    void changedCountRaisesAndReopeningRecovers();
    void fieldPastTheSourceIsRefused();
    void valuesTravelByFieldType_data();
    void valuesTravelByFieldType();
    void textLongerThanItsSizeIsReadWhole();
    void changedFieldListRefetchesTheWindow();
    void persistentFieldsDescribeASourceWithoutDefinitions();
};

void TestCustomData::openFillsTheWindowAndNotifiesTheLink()
{
    TCities c;
    QCOMPARE(c.Link.Take(), QStringList{QStringLiteral("Active")});
    QCOMPARE(c.Data.RecordCount(), RowCount);
    QCOMPARE(c.Link.RecordCount(), 5);
    QVERIFY(c.Data.Bof());
    QCOMPARE(c.Id(), 1);
    QCOMPARE(c.Data.RecNo(), 1);
    // Each buffer of the window is its own record.
    for (int row = 0; row < 5; ++row) {
        c.Link.SetActiveRecord(row);
        QCOMPARE(c.Id(), row + 1);
    }
    c.Link.SetActiveRecord(0);
    c.Data.Close();
    QCOMPARE(c.Link.Take().value(0), QStringLiteral("Active"));
    QCOMPARE(c.Data.RecordCount(), 0);
}

void TestCustomData::movingNotifiesTheLinkWithItsDistance()
{
    TCities c;
    c.Link.Take();
    c.Data.MoveBy(4); // still inside the window
    QCOMPARE(c.Link.Take(), QStringList{QStringLiteral("Scrolled(0)")});
    QCOMPARE(c.Link.ActiveRecord(), 4);
    c.Data.Next(); // one past the window: it slides by one
    QCOMPARE(c.Link.Take(), QStringList{QStringLiteral("Scrolled(1)")});
    QCOMPARE(c.Id(), 6);
    c.Data.Last();
    QCOMPARE(c.Link.Take(), QStringList{QStringLiteral("Changed")});
    QVERIFY(c.Data.Eof());
    QCOMPARE(c.Id(), RowCount);
    QCOMPARE(c.Link.ActiveRecord(), 4);
    QCOMPARE(c.Data.MoveBy(1), 0);
    QVERIFY(c.Data.Eof());
    QCOMPARE(c.Data.MoveBy(-RowCount - 10), -(RowCount - 1));
    QVERIFY(c.Data.Bof());
    QCOMPARE(c.Id(), 1);
    c.Data.First();
    QCOMPARE(c.Link.Take().last(), QStringLiteral("Changed"));
}

void TestCustomData::valuesAreFetchedOncePerBufferFill()
{
    TCities c(1);
    const QString name = c.Data.FieldByName(QStringLiteral("Name"))->AsString();
    const qint64 reads = c.Data.ValueReads;
    QCOMPARE(c.Data.FieldByName(QStringLiteral("Name"))->AsString(), name);
    QCOMPARE(c.Data.ValueReads, reads);
    c.Data.Rows[0][1] = QStringLiteral("Renamed");
    QCOMPARE(c.Data.FieldByName(QStringLiteral("Name"))->AsString(), name); // kept in the buffer
    c.Data.Refresh();
    QCOMPARE(c.Data.FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Renamed"));
}

void TestCustomData::emptySourceOpensEmpty()
{
    TVectorData data;
    data.AddColumn(QStringLiteral("Id"), ftInteger);
    data.Open();
    QCOMPARE(data.RecordCount(), 0);
    data.First();
    QVERIFY(data.Bof());
    QVERIFY(data.Eof());
    QVERIFY(data.IsEmpty());
    QCOMPARE(data.RecNo(), -1);
    QVERIFY(!data.Locate(QStringLiteral("Id"), 1, {}));
    QVERIFY(data.IsEmpty());
    QVERIFY(data.Lookup(QStringLiteral("Id"), 1, QStringLiteral("Id")).IsNull());
    QVERIFY(data.FieldByName(QStringLiteral("Id"))->IsNull());
    QCOMPARE(data.Bookmark(), QString());
}

void TestCustomData::recNoFollowsTheCurrentRecord()
{
    TCities c;
    c.Data.MoveBy(9);
    QCOMPARE(c.Data.RecNo(), 10);
    c.Data.Last();
    QCOMPARE(c.Data.RecNo(), RowCount);
    c.Data.Prior();
    QCOMPARE(c.Data.RecNo(), RowCount - 1);
    c.Data.SetReadOnly(false);
    c.Data.Insert();
    QCOMPARE(c.Data.RecNo(), -1); // a record being inserted has no number yet
    c.Data.Cancel();
    QCOMPARE(c.Data.RecNo(), RowCount - 1);
}

void TestCustomData::recNoJumpsRecentreAndIgnoreNoMoves_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("scrollEvents");
    QTest::newRow("forward") << 1 << 50 << 50 << 1;
    QTest::newRow("back") << 80 << 3 << 3 << 1;
    QTest::newRow("to the last") << 1 << RowCount << RowCount << 1;
    QTest::newRow("to itself") << 40 << 40 << 40 << 0;
    QTest::newRow("zero") << 40 << 0 << 40 << 0;
    QTest::newRow("past the end") << 40 << RowCount + 1 << 40 << 0;
    QTest::newRow("negative") << 40 << -5 << 40 << 0;
}

void TestCustomData::recNoJumpsRecentreAndIgnoreNoMoves()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, expected);
    QFETCH(int, scrollEvents);
    TCities c;
    c.Data.SetRecNo(from);
    int before = 0;
    int after = 0;
    c.Data.BeforeScroll = [&](TDataSet*) { ++before; };
    c.Data.AfterScroll = [&](TDataSet*) { ++after; };
    c.Data.SetRecNo(to);
    QCOMPARE(c.Data.RecNo(), expected);
    QCOMPARE(c.Id(), expected);
    QCOMPARE(before, scrollEvents);
    QCOMPARE(after, scrollEvents);
    QCOMPARE(c.Data.RecordCount(), RowCount);
    // The window holds the records around the new one, in order.
    const int active = c.Link.ActiveRecord();
    for (int row = 0; row < c.Link.RecordCount(); ++row) {
        c.Link.SetActiveRecord(row);
        QCOMPARE(c.Id(), expected - active + row);
    }
}

void TestCustomData::recNoOfTheRecordUnderCalculationOrFilter()
{
    TVectorData data;
    FillCities(data);
    auto* number = new TIntegerField(&data);
    number->SetFieldName(QStringLiteral("Number"));
    number->SetFieldKind(fkCalculated);
    number->SetDataSet(&data);
    data.OnCalcFields = [](TDataSet* d) {
        d->FieldByName(QStringLiteral("Number"))->SetAsInteger(d->RecNo());
    };
    QList<int> filtered;
    data.SetOnFilterRecord([&](TDataSet* d, bool& accept) {
        filtered << d->RecNo();
        accept = d->RecNo() % 10 == 0;
    });
    data.SetFiltered(true);
    data.Open();
    QCOMPARE(filtered.mid(0, 3), (QList<int>{1, 2, 3}));
    QCOMPARE(number->AsInteger(), 10);
    data.Next();
    QCOMPARE(number->AsInteger(), 20);
    QCOMPARE(data.RecNo(), 20);
    QCOMPARE(data.Lookup(QStringLiteral("Id"), 30, QStringLiteral("Number")), TVariant(30));
}

void TestCustomData::bookmarksRoundTripAndOrder()
{
    TCities c;
    c.Data.SetRecNo(7);
    const QString seventh = c.Data.Bookmark();
    c.Data.SetRecNo(60);
    const QString sixtieth = c.Data.Bookmark();
    QVERIFY(c.Data.BookmarkValid(seventh));
    c.Data.SetBookmark(seventh);
    QCOMPARE(c.Id(), 7);
    QCOMPARE(c.Data.CompareBookmarks(seventh, sixtieth), -1);
    QCOMPARE(c.Data.CompareBookmarks(sixtieth, seventh), 1);
    QCOMPARE(c.Data.CompareBookmarks(seventh, seventh), 0);
    QCOMPARE(c.Data.CompareBookmarks(QString(), seventh), 1);
    QCOMPARE(c.Data.CompareBookmarks(seventh, QString()), -1);
    QCOMPARE(c.Data.CompareBookmarks(QString(), QString()), 0);
    // Bookmarks order as records do over the whole 64-bit range of indexes.
    const qint64 indexes[] = {0, 1, 255, 256, (qint64(1) << 32) - 1, qint64(1) << 32, (qint64(1) << 62) + 5};
    for (std::size_t i = 0; i < std::size(indexes); ++i) {
        const QByteArray bytes = TOrvoDBCustomData::BookmarkOfIndex(indexes[i]);
        QCOMPARE(TOrvoDBCustomData::IndexOfBookmark(bytes), indexes[i]);
        if (i > 0)
            QCOMPARE(c.Data.CompareBookmarks(TOrvoDBCustomData::BookmarkOfIndex(indexes[i - 1]), bytes), -1);
    }
}

void TestCustomData::bookmarkEdges_data()
{
    QTest::addColumn<QByteArray>("bookmark");
    QTest::addColumn<bool>("valid");
    QTest::newRow("first") << TOrvoDBCustomData::BookmarkOfIndex(0) << true;
    QTest::newRow("last") << TOrvoDBCustomData::BookmarkOfIndex(RowCount - 1) << true;
    QTest::newRow("before the first") << TOrvoDBCustomData::BookmarkOfIndex(-1) << false;
    QTest::newRow("the count") << TOrvoDBCustomData::BookmarkOfIndex(RowCount) << false;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("too short") << QByteArray(4, '\0') << false;
}

void TestCustomData::bookmarkEdges()
{
    QFETCH(QByteArray, bookmark);
    QFETCH(bool, valid);
    TCities c;
    QCOMPARE(c.Data.BookmarkValid(bookmark), valid);
    if (!valid)
        QCOMPARE(c.Data.CompareBookmarks(bookmark, TOrvoDBCustomData::BookmarkOfIndex(3)), 1);
}

void TestCustomData::foreignBookmarkIsRefusedAndTheDataSetStaysUsable()
{
    TCities c;
    TCities other;
    other.Data.SetRecNo(50);
    c.Data.SetRecNo(8);
    const QString foreign = other.Data.Bookmark();
    QVERIFY(!c.Data.BookmarkValid(foreign));
    QCOMPARE(ErrorOf<EDatabaseError>([&] { c.Data.SetBookmark(foreign); }),
             QStringLiteral("Invalid bookmark"));
    QCOMPARE(c.Id(), 8);
    c.Data.Next();
    QCOMPARE(c.Id(), 9);
    // A bookmark of a record deleted since is no longer valid.
    c.Data.SetReadOnly(false);
    c.Data.Last();
    const QString last = c.Data.Bookmark();
    c.Data.Delete();
    QVERIFY(!c.Data.BookmarkValid(last));
    QCOMPARE(ErrorOf<EDatabaseError>([&] { c.Data.SetBookmark(last); }), QStringLiteral("Record not found"));
    QCOMPARE(c.Id(), RowCount - 1);
}

void TestCustomData::sourcesBeyondTheIntRangeCountAndNavigate()
{
    THugeData data;
    data.Open();
    QCOMPARE(data.SourceRecordCount(), THugeData::Count);
    QCOMPARE(data.RecordCount(), std::numeric_limits<int>::max());
    data.Last();
    const TField* rest = data.FieldByName(QStringLiteral("Rest"));
    QCOMPARE(rest->AsVariant(), TVariant((THugeData::Count - 1) % 1000));
    QCOMPARE(data.RecNo(), std::numeric_limits<int>::max());
    const QString last = data.Bookmark();
    data.Prior();
    const QString beforeLast = data.Bookmark();
    QCOMPARE(data.CompareBookmarks(beforeLast, last), -1);
    data.First();
    data.SetBookmark(last);
    QCOMPARE(rest->AsVariant(), TVariant((THugeData::Count - 1) % 1000));
    data.MoveBy(-1);
    QCOMPARE(data.Bookmark(), beforeLast);
}

void TestCustomData::locateFindsByTheMatchingRules_data()
{
    QTest::addColumn<QString>("fields");
    QTest::addColumn<TVariant>("values");
    QTest::addColumn<bool>("caseInsensitive");
    QTest::addColumn<bool>("partial");
    QTest::addColumn<int>("expectedId"); // 0: not found
    const auto pair = [](TVariant a, TVariant b) { return VarArrayOf({std::move(a), std::move(b)}); };
    QTest::newRow("exact") << "Name" << TVariant("Name042") << false << false << 42;
    QTest::newRow("exact, not a prefix") << "Name" << TVariant("Name04") << false << false << 0;
    QTest::newRow("prefix") << "Name" << TVariant("Name04") << false << true << 40;
    QTest::newRow("prefix is case-sensitive") << "Name" << TVariant("name04") << false << true << 0;
    QTest::newRow("case") << "City" << TVariant("BERLIN") << true << false << 4;
    QTest::newRow("case, exact otherwise") << "City" << TVariant("Berlin") << false << false << 5;
    QTest::newRow("case folds beyond A-Z") << "City" << TVariant("ÖL TOWN") << true << false << 2;
    QTest::newRow("case and prefix") << "City" << TVariant("PAR") << true << true << 1;
    QTest::newRow("two fields") << "City;Id" << pair("Paris", 11) << false << false << 11;
    QTest::newRow("two fields, other order") << "Id;City" << pair(11, "Berlin") << false << false << 0;
    QTest::newRow("only the last key is a prefix")
        << "Name;City" << pair("Name01", "Par") << false << true << 0;
    QTest::newRow("the last key is a prefix") << "Name;City" << pair("Name016", "Par") << false << true << 16;
    QTest::newRow("null key finds null") << "City" << TVariant::Null() << false << false << 3;
    QTest::newRow("number as text") << "Id" << TVariant("12") << false << false << 12;
    QTest::newRow("wrong type: text for a number") << "Id" << TVariant("twelve") << false << false << 0;
    QTest::newRow("wrong type, with options") << "Id" << TVariant("twelve") << true << true << 0;
    QTest::newRow("wrong type: array for one field") << "Id" << pair(1, 2) << false << false << 0;
    QTest::newRow("wrong type: one value for two fields") << "Id;Name" << TVariant(1) << false << false << 0;
    QTest::newRow("too few values") << "Id;Name" << VarArrayOf({TVariant(1)}) << false << false << 0;
}

void TestCustomData::locateFindsByTheMatchingRules()
{
    QFETCH(QString, fields);
    QFETCH(TVariant, values);
    QFETCH(bool, caseInsensitive);
    QFETCH(bool, partial);
    QFETCH(int, expectedId);
    TLocateOptions options;
    if (caseInsensitive)
        options.Include(loCaseInsensitive);
    if (partial)
        options.Include(loPartialKey);
    // The same answers whether the source is scanned or searched by halves on its order.
    for (const QString& sorted : {QString(), QStringLiteral("Id;Name"), QStringLiteral("Name;City")}) {
        TCities c;
        c.Data.SortedFields = sorted;
        c.Data.SetRecNo(70);
        const bool found = c.Data.Locate(fields, values, options);
        QCOMPARE(found, expectedId != 0);
        QCOMPARE(c.Id(), found ? expectedId : 70);
        QCOMPARE(c.Data.State(), dsBrowse);
    }
}

void TestCustomData::locateOnSortedKeysSearchesByHalves()
{
    TCities c;
    c.Data.SortedFields = QStringLiteral("Id");
    c.Data.ValueReads = 0;
    QVERIFY(c.Data.Locate(QStringLiteral("Id"), 77, {}));
    QCOMPARE(c.Id(), 77);
    QVERIFY(c.Data.ValueReads < 30);
    c.Data.ValueReads = 0;
    QVERIFY(!c.Data.Locate(QStringLiteral("Id"), 1000, {}));
    QVERIFY(c.Data.ValueReads < 20);
    QCOMPARE(c.Id(), 77);
    // With a filter the first match may be hidden: the next visible one is found.
    c.Data.Rows[78][0] = 78; // Ids 78, 78: still ascending
    c.Data.SetOnFilterRecord([](TDataSet* d, bool& accept) { accept = d->RecNo() != 78; });
    c.Data.SetFiltered(true);
    QVERIFY(c.Data.Locate(QStringLiteral("Id"), 78, {}));
    QCOMPARE(c.Data.RecNo(), 79);
}

void TestCustomData::locateReadsValuesAsTheFieldHoldsThem()
{
    TCities c;
    c.Data.Rows[59][0] = QStringLiteral("60"); // an integer field's value given as text
    QVERIFY(c.Data.Locate(QStringLiteral("Id"), 60, {}));
    QCOMPARE(c.Data.RecNo(), 60);
    // A number too large for the field is refused, not wrapped into the one sought.
    c.Data.Rows[5][0] = (qint64(1) << 32) + 11;
    QCOMPARE(ErrorOf<EDatabaseError>([&] { c.Data.Locate(QStringLiteral("Id"), 11, {}); }),
             QStringLiteral("Value 4294967307 of field 'Id' is not a 32-bit integer"));
    QCOMPARE(c.Data.RecNo(), 60);
}

void TestCustomData::locateFiresBeforeScrollEvenWhenNothingIsFound()
{
    for (const QString& sorted : {QString(), QStringLiteral("Id")}) {
        TCities c;
        c.Data.SortedFields = sorted;
        QStringList events;
        c.Data.BeforeScroll = [&](TDataSet*) { events << QStringLiteral("before"); };
        c.Data.AfterScroll = [&](TDataSet*) { events << QStringLiteral("after"); };
        QVERIFY(!c.Data.Locate(QStringLiteral("Id"), 500, {}));
        QCOMPARE(events, QStringList{QStringLiteral("before")});
        events.clear();
        QVERIFY(c.Data.Locate(QStringLiteral("Id"), 50, {}));
        QCOMPARE(events, (QStringList{QStringLiteral("before"), QStringLiteral("after")}));
        QCOMPARE(c.Data.RecNo(), 50);
    }
}

void TestCustomData::lookupLeavesCursorAndStateAlone()
{
    for (const QString& sorted : {QString(), QStringLiteral("Id")}) {
        TCities c;
        c.Data.SortedFields = sorted;
        c.Data.SetRecNo(30);
        c.Link.Take();
        QCOMPARE(c.Data.Lookup(QStringLiteral("Id"), 12, QStringLiteral("Name")), TVariant("Name012"));
        const TVariant both = c.Data.Lookup(QStringLiteral("Id"), 12, QStringLiteral("Name;City"));
        QCOMPARE(both[0], TVariant("Name012"));
        QCOMPARE(both[1], TVariant("öl town"));
        QVERIFY(c.Data.Lookup(QStringLiteral("Id"), 1000, QStringLiteral("Name")).IsNull());
        QCOMPARE(c.Id(), 30);
        QCOMPARE(c.Data.State(), dsBrowse);
        QCOMPARE(c.Link.Take(), QStringList());
        c.Data.Next();
        QCOMPARE(c.Id(), 31);
    }
}

void TestCustomData::changedCountRaisesAndReopeningRecovers_data()
{
    QTest::addColumn<int>("change");
    QTest::newRow("shrunk") << -60;
    QTest::newRow("grown") << 5;
}

void TestCustomData::changedCountRaisesAndReopeningRecovers()
{
    QFETCH(int, change);
    TCities c;
    c.Data.SetRecNo(50);
    c.Data.Rows.resize(std::size_t(RowCount + change));
    const QString changed = QStringLiteral("The source of dataset '' now holds %1 records where it held %2: "
                                           "reopen the dataset")
                                .arg(RowCount + change)
                                .arg(RowCount);
    QCOMPARE(ErrorOf<EDatabaseError>([&] { c.Data.Last(); }), changed);
    QCOMPARE(ErrorOf<EDatabaseError>([&] { c.Data.SetRecNo(90); }), changed);
    QCOMPARE(ErrorOf<EDatabaseError>([&] { c.Data.Locate(QStringLiteral("Id"), 95, {}); }), changed);
    QCOMPARE(ErrorOf<EDatabaseError>([&] { c.Data.Refresh(); }), changed);
    QCOMPARE(
        ErrorOf<EDatabaseError>([&] { c.Data.Lookup(QStringLiteral("Id"), 95, QStringLiteral("Name")); }),
        changed);
    QVERIFY(c.Data.Active());
    c.Data.Close();
    c.Data.Open();
    QCOMPARE(c.Data.RecordCount(), RowCount + change);
    c.Data.Last();
    QCOMPARE(c.Id(), RowCount + change > RowCount ? 0 : RowCount + change);
}

void TestCustomData::fieldPastTheSourceIsRefused()
{
    TCities c;
    c.Data.SourceFieldCount = 2;
    c.Data.SetRecNo(3);
    QCOMPARE(ErrorOf<EDatabaseError>([&] { c.Data.FieldByName(QStringLiteral("City"))->AsString(); }),
             QStringLiteral("Field 'City' (number 3) is past the 2 fields of the source"));
    QCOMPARE(c.Data.FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Name003"));
    c.Data.Next();
    QCOMPARE(c.Id(), 4);
}

void TestCustomData::valuesTravelByFieldType_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<TVariant>("stored");
    QTest::addColumn<TVariant>("read");
    QTest::addColumn<QString>("error");
    QTest::newRow("string") << int(ftString) << TVariant(12) << TVariant("12") << QString();
    QTest::newRow("fixed char") << int(ftFixedChar) << TVariant("ab") << TVariant("ab") << QString();
    QTest::newRow("guid") << int(ftGuid) << TVariant("{0}") << TVariant("{0}") << QString();
    QTest::newRow("wide string") << int(ftWideString) << TVariant("ü") << TVariant("ü") << QString();
    QTest::newRow("integer") << int(ftInteger) << TVariant("42") << TVariant(42) << QString();
    QTest::newRow("autoinc") << int(ftAutoInc) << TVariant(7) << TVariant(7) << QString();
    QTest::newRow("largest integer") << int(ftInteger) << TVariant(2147483647) << TVariant(2147483647)
                                     << QString();
    QTest::newRow("smallest integer")
        << int(ftInteger) << TVariant(qint64(-2147483648LL)) << TVariant(qint64(-2147483648LL)) << QString();
    QTest::newRow("integer too large")
        << int(ftInteger) << TVariant(qint64(2147483648LL)) << TVariant()
        << QStringLiteral("Value 2147483648 of field 'F' is not a 32-bit integer");
    QTest::newRow("integer too small")
        << int(ftInteger) << TVariant(qint64(-2147483649LL)) << TVariant()
        << QStringLiteral("Value -2147483649 of field 'F' is not a 32-bit integer");
    QTest::newRow("null") << int(ftInteger) << TVariant::Null() << TVariant::Null() << QString();
    QTest::newRow("float") << int(ftFloat) << TVariant(1.5) << TVariant()
                           << QStringLiteral("Unsupported field type (Float) in field F");
    QTest::newRow("boolean") << int(ftBoolean) << TVariant(true) << TVariant()
                             << QStringLiteral("Unsupported field type (Boolean) in field F");
}

void TestCustomData::valuesTravelByFieldType()
{
    QFETCH(int, type);
    QFETCH(TVariant, stored);
    QFETCH(TVariant, read);
    QFETCH(QString, error);
    TVectorData data;
    data.AddColumn(QStringLiteral("F"), TFieldType(type), 20);
    data.Rows.push_back({stored});
    data.Open();
    TField* field = data.FieldByName(QStringLiteral("F"));
    TVariant value;
    QCOMPARE(ErrorOf<EDatabaseError>([&] { value = field->AsVariant(); }), error);
    if (error.isEmpty()) {
        QCOMPARE(value, read);
        return;
    }
    data.Edit();
    QCOMPARE(ErrorOf<EDatabaseError>([&] { data.SetFieldData(field, stored); }), error);
    data.Cancel();
    QCOMPARE(data.Rows[0][0], stored); // nothing reached the source
}

void TestCustomData::textLongerThanItsSizeIsReadWhole()
{
    TVectorData data;
    data.AddColumn(QStringLiteral("Short"), ftString, 5);
    data.AddColumn(QStringLiteral("Wide"), ftWideString, 3);
    data.AddColumn(QStringLiteral("Id"), ftInteger);
    data.Rows.push_back({"far longer than five", "längst", 1});
    data.Open();
    QCOMPARE(data.FieldByName(QStringLiteral("Short"))->AsString(), QStringLiteral("far longer than five"));
    QCOMPARE(data.FieldByName(QStringLiteral("Wide"))->AsString(), QStringLiteral("längst"));
    // Editing another field writes back only that field: the long texts stay as they were.
    data.Edit();
    data.FieldByName(QStringLiteral("Id"))->SetAsInteger(2);
    data.Post();
    QCOMPARE(data.Rows[0][0], TVariant("far longer than five"));
    QCOMPARE(data.Rows[0][1], TVariant("längst"));
    QCOMPARE(data.Log, QStringList{QStringLiteral("set 0 Id=2")});
}

void TestCustomData::changedFieldListRefetchesTheWindow()
{
    TCities c;
    const quint64 before = c.Data.FieldsSignature();
    QCOMPARE(c.Data.FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Name001"));
    c.Data.Rows[0][1] = QStringLiteral("Changed meanwhile");
    auto* rank = new TIntegerField(&c.Data);
    rank->SetFieldName(QStringLiteral("Rank"));
    rank->SetFieldKind(fkInternalCalc);
    rank->SetDataSet(&c.Data);
    QVERIFY(c.Data.FieldsSignature() != before);
    QCOMPARE(c.Data.FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Changed meanwhile"));
    // The same fields announced again: the window is not fetched again.
    c.Data.Rows[0][1] = QStringLiteral("Changed once more");
    c.Data.DataEvent(deLayoutChange);
    QCOMPARE(c.Data.FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Changed meanwhile"));
}

void TestCustomData::persistentFieldsDescribeASourceWithoutDefinitions()
{
    TListData data;
    data.Items = {QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")};
    auto* item = new TStringField(&data);
    item->SetFieldName(QStringLiteral("Item"));
    item->SetSize(10);
    item->SetReadOnly(true);
    item->SetDataSet(&data);
    data.Open();
    QCOMPARE(data.FieldDefs()->Count(), 1);
    QCOMPARE(data.FieldDefs()->Items(0)->Size(), 10);
    QVERIFY(data.FieldDefs()->Items(0)->Attributes().Contains(faReadonly));
    QCOMPARE(data.Fields()->Count(), 1);
    data.Last();
    QCOMPARE(item->AsString(), QStringLiteral("three"));
    QCOMPARE(data.RecordCount(), 3);
    // The count is the source's, taken at open; it cannot be forced while open.
    QCOMPARE(ErrorOf<EDatabaseError>([&] { data.ForceCount(10); }),
             QStringLiteral("Cannot perform this operation on an open dataset"));
    data.Close();
    QCOMPARE(data.Fields()->Count(), 1); // the persistent field stays
    data.Items << QStringLiteral("four");
    data.Open();
    QCOMPARE(data.RecordCount(), 4);
}

QTEST_MAIN(TestCustomData)
#include "tst_customdata.moc"
