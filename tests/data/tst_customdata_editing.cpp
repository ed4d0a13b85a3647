// The dataset over an indexed source: editing through the descendant's hooks, filtering,
// and calculated and lookup fields.
#include "trecordinglink.h"
#include "tvectordata.h"

#include "common/errorof.h"
#include "common/texceptionhandlerscope.h"
#include "platform/data/tdatasource.h"
#include "platform/data/tfield.h"
#include "platform/data/tfields.h"
#include "platform/data/tfloatfield.h"
#include "platform/data/tstringfield.h"

#include <QtTest>

using namespace orvo;
using orvo::test::ErrorOf;
using orvo::test::TExceptionHandlerScope;

namespace {

constexpr int RowCount = 20;

void FillStaff(TVectorData& data)
{
    data.AddColumn(QStringLiteral("Id"), ftInteger);
    data.AddColumn(QStringLiteral("Name"), ftString, 20);
    data.AddColumn(QStringLiteral("Dept"), ftInteger);
    for (int i = 1; i <= RowCount; ++i)
        data.Rows.push_back({i, QStringLiteral("Person %1").arg(i), i % 3});
}

struct TStaff : TRecordedDataSet<TVectorData>
{
    TStaff() : TRecordedDataSet([](TVectorData& data) { FillStaff(data); }, 4) {}
    TField* Field(const char* name) const { return Data.FieldByName(QString::fromLatin1(name)); }
    QStringList ModifiedNames() const
    {
        QStringList names;
        for (const TField* field : Data.ModifiedFields())
            names << field->FieldName();
        return names;
    }
};

} // namespace

class TestCustomDataEditing : public QObject
{
    Q_OBJECT

private slots:
    void editStoresOnlyTheWrittenFields();
    void insertAndAppendGoWhereTheyShould_data();
    void insertAndAppendGoWhereTheyShould();
    void cancelStoresNothing();
    void failedStoreRollsTheInsertBack();
    void sourceThatCannotGrowOrShrinkIsReported();
    void deleteGoesThroughTheHook();
    void readOnlyRefusesChanges();
    void filterRecordHandlerSelectsRecords_data();
    void filterRecordHandlerSelectsRecords();
    void failingFilterHandlerIsReported();
    void calculatedAndLookupFields();
};

void TestCustomDataEditing::editStoresOnlyTheWrittenFields()
{
    TStaff s;
    s.Data.SetRecNo(5);
    s.Link.Take();
    s.Data.Edit();
    QCOMPARE(s.ModifiedNames(), QStringList());
    s.Field("Dept")->SetAsInteger(9);
    s.Field("Name")->SetAsString(QStringLiteral("Renamed"));
    s.Field("Dept")->Clear(); // written twice, listed once, stored as Null
    QCOMPARE(s.ModifiedNames(), (QStringList{QStringLiteral("Dept"), QStringLiteral("Name")}));
    QVERIFY(s.Link.Take().contains(QStringLiteral("Record(Name)")));
    QVERIFY(s.Data.Log.isEmpty()); // nothing reaches the source before the post
    s.Data.Post();
    QCOMPARE(s.Data.Log,
             (QStringList{QStringLiteral("set 4 Dept=null"), QStringLiteral("set 4 Name=Renamed")}));
    QCOMPARE(s.Data.Rows[4][0], TVariant(5));
    QCOMPARE(s.Data.Rows[4][1], TVariant("Renamed"));
    QVERIFY(s.Data.Rows[4][2].IsNull());
    QCOMPARE(s.Id(), 5);
    QCOMPARE(s.Field("Name")->AsString(), QStringLiteral("Renamed"));
    QCOMPARE(s.Data.RecordCount(), RowCount);
    // A new edit starts a new list.
    s.Data.Log.clear();
    s.Data.Edit();
    QCOMPARE(s.ModifiedNames(), QStringList());
    s.Field("Id")->SetAsInteger(50);
    s.Data.Post();
    QCOMPARE(s.Data.Log, QStringList{QStringLiteral("set 4 Id=50")});
}

void TestCustomDataEditing::insertAndAppendGoWhereTheyShould_data()
{
    QTest::addColumn<int>("recNo"); // 0: empty source
    QTest::addColumn<bool>("append");
    QTest::addColumn<int>("index");
    QTest::newRow("insert before the current") << 7 << false << 6;
    QTest::newRow("insert before the first") << 1 << false << 0;
    QTest::newRow("insert before the last") << RowCount << false << RowCount - 1;
    QTest::newRow("append") << 7 << true << RowCount;
    QTest::newRow("insert into an empty source") << 0 << false << 0;
    QTest::newRow("append to an empty source") << 0 << true << 0;
}

void TestCustomDataEditing::insertAndAppendGoWhereTheyShould()
{
    QFETCH(int, recNo);
    QFETCH(bool, append);
    QFETCH(int, index);
    TStaff s;
    if (recNo == 0) {
        s.Data.Close();
        s.Data.Rows.clear();
        s.Data.Open();
    } else {
        s.Data.SetRecNo(recNo);
    }
    const int count = s.Data.RecordCount();
    if (append)
        s.Data.Append();
    else
        s.Data.Insert();
    QCOMPARE(s.Data.RecNo(), -1);
    QVERIFY(s.Field("Name")->IsNull());
    s.Field("Id")->SetAsInteger(100);
    s.Field("Name")->SetAsString(QStringLiteral("New"));
    s.Data.Post();
    QCOMPARE(s.Data.Log,
             (QStringList{QStringLiteral("insert %1").arg(index), QStringLiteral("set %1 Id=100").arg(index),
                          QStringLiteral("set %1 Name=New").arg(index)}));
    QCOMPARE(s.Data.RecordCount(), count + 1);
    QCOMPARE(s.Data.Rows[std::size_t(index)][0], TVariant(100));
    QVERIFY(s.Data.Rows[std::size_t(index)][2].IsNull()); // never written, never stored
    QCOMPARE(s.Id(), 100);
    QCOMPARE(s.Data.RecNo(), index + 1);
    if (recNo > 0 && !append) {
        s.Data.Next();
        QCOMPARE(s.Id(), recNo); // the record it went before follows it
    }
    s.Data.Last();
    QCOMPARE(s.Data.RecNo(), count + 1);
}

void TestCustomDataEditing::cancelStoresNothing()
{
    TStaff s;
    s.Data.SetRecNo(3);
    s.Data.Edit();
    s.Field("Name")->SetAsString(QStringLiteral("Dropped"));
    s.Data.Cancel();
    QCOMPARE(s.Field("Name")->AsString(), QStringLiteral("Person 3"));
    s.Data.Insert();
    s.Field("Name")->SetAsString(QStringLiteral("Dropped too"));
    s.Data.Cancel();
    QVERIFY(s.Data.Log.isEmpty());
    QCOMPARE(s.Data.RecordCount(), RowCount);
    QCOMPARE(s.Id(), 3);
    // Moving away from an edit posts it.
    s.Data.Edit();
    s.Field("Name")->SetAsString(QStringLiteral("Kept"));
    s.Data.Next();
    QCOMPARE(s.Data.Log, QStringList{QStringLiteral("set 2 Name=Kept")});
}

void TestCustomDataEditing::failedStoreRollsTheInsertBack()
{
    TStaff s;
    s.Data.SetRecNo(4);
    s.Data.Insert();
    s.Field("Id")->SetAsInteger(100);
    s.Data.FailNextStore = true;
    QCOMPARE(ErrorOf<EDatabaseError>([&] { s.Data.Post(); }), QStringLiteral("The store refused Id"));
    QCOMPARE(s.Data.Log, (QStringList{QStringLiteral("insert 3"), QStringLiteral("delete 3")}));
    QCOMPARE(s.Data.Rows.size(), std::size_t(RowCount));
    QCOMPARE(s.Data.Rows[3][0], TVariant(4));
    QCOMPARE(s.Data.RecordCount(), RowCount);
    // The insert is still open: the second try stores it.
    QCOMPARE(s.Data.State(), dsInsert);
    s.Data.Log.clear();
    s.Data.Post();
    QCOMPARE(s.Data.Log, (QStringList{QStringLiteral("insert 3"), QStringLiteral("set 3 Id=100")}));
    QCOMPARE(s.Data.RecordCount(), RowCount + 1);
    QCOMPARE(s.Id(), 100);
    // A failed store of an edit deletes nothing.
    s.Data.Log.clear();
    s.Data.Edit();
    s.Field("Id")->SetAsInteger(200);
    s.Data.FailNextStore = true;
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, s.Data.Post());
    QCOMPARE(s.Data.Log, QStringList());
    QCOMPARE(s.Data.RecordCount(), RowCount + 1);
    s.Data.Cancel();
    QCOMPARE(s.Id(), 100);
}

void TestCustomDataEditing::sourceThatCannotGrowOrShrinkIsReported()
{
    TStaff s;
    s.Data.Fixed = true;
    s.Data.SetRecNo(2);
    s.Data.Insert();
    s.Field("Id")->SetAsInteger(100);
    QCOMPARE(ErrorOf<EDatabaseError>([&] { s.Data.Post(); }),
             QStringLiteral("The source of dataset '' took no new record"));
    // Nothing was written over the record that sits where the new one would have gone,
    // and no record was deleted to undo an insert that never happened.
    QCOMPARE(s.Data.Log, QStringList{QStringLiteral("insert 1")});
    QCOMPARE(s.Data.Rows[1][0], TVariant(2));
    s.Data.Cancel();
    QCOMPARE(s.Data.RecordCount(), RowCount);
    QCOMPARE(ErrorOf<EDatabaseError>([&] { s.Data.Delete(); }),
             QStringLiteral("The source of dataset '' kept the record it was to delete"));
    QCOMPARE(s.Data.RecordCount(), RowCount);
    QCOMPARE(s.Id(), 2);
    s.Data.Next();
    QCOMPARE(s.Id(), 3);
}

void TestCustomDataEditing::deleteGoesThroughTheHook()
{
    TStaff s;
    s.Data.SetRecNo(6);
    s.Data.Delete();
    QCOMPARE(s.Data.Log, QStringList{QStringLiteral("delete 5")});
    QCOMPARE(s.Data.RecordCount(), RowCount - 1);
    QCOMPARE(s.Id(), 7);
    QCOMPARE(s.Data.RecNo(), 6);
    s.Data.Last();
    s.Data.Delete();
    QCOMPARE(s.Id(), RowCount - 1);
    QCOMPARE(s.Data.RecNo(), RowCount - 2);
}

void TestCustomDataEditing::readOnlyRefusesChanges()
{
    TStaff s;
    s.Data.Close();
    s.Data.SetReadOnly(true);
    s.Data.Open();
    QVERIFY(!s.Data.CanModify());
    QCOMPARE(ErrorOf<EDatabaseError>([&] { s.Data.Edit(); }),
             QStringLiteral("Cannot modify a read-only dataset"));
    QCOMPARE(ErrorOf<EDatabaseError>([&] { s.Data.Delete(); }),
             QStringLiteral("Cannot modify a read-only dataset"));
    s.Data.Close();
    s.Data.SetReadOnly(false);
    s.Data.Open();
    s.Field("Name")->SetReadOnly(true);
    s.Data.Edit();
    QCOMPARE(ErrorOf<EDatabaseError>([&] { s.Data.SetFieldData(s.Field("Name"), TVariant("x")); }),
             QStringLiteral("Field 'Name' cannot be modified"));
    QCOMPARE(s.ModifiedNames(), QStringList());
    s.Data.Cancel();
}

void TestCustomDataEditing::filterRecordHandlerSelectsRecords_data()
{
    QTest::addColumn<bool>("filtered");
    QTest::addColumn<bool>("handler");
    QTest::addColumn<QList<int>>("ids");
    QTest::newRow("filtered") << true << true << QList<int>{3, 6, 9, 12, 15, 18};
    QTest::newRow("not filtered") << false << true << QList<int>{};
    QTest::newRow("no handler") << true << false << QList<int>{};
}

void TestCustomDataEditing::filterRecordHandlerSelectsRecords()
{
    QFETCH(bool, filtered);
    QFETCH(bool, handler);
    QFETCH(QList<int>, ids);
    if (ids.isEmpty())
        for (int i = 1; i <= RowCount; ++i)
            ids << i;
    TStaff s;
    // The Filter text is not this dataset's business: it never hides a record.
    s.Data.SetFilter(QStringLiteral("Id = 1"));
    if (handler)
        s.Data.SetOnFilterRecord([](TDataSet* d, bool& accept) {
            accept = d->FieldByName(QStringLiteral("Dept"))->AsInteger() == 0;
        });
    s.Data.SetFiltered(filtered);
    QList<int> seen;
    for (s.Data.First(); !s.Data.Eof(); s.Data.Next())
        seen << s.Id();
    QCOMPARE(seen, ids);
    QCOMPARE(s.Data.RecordCount(), RowCount); // the source's count, whatever is shown
    const bool visible = ids.contains(4);
    QCOMPARE(s.Data.Locate(QStringLiteral("Id"), 4, {}), visible);
    QCOMPARE(
        s.Data.Locate(QStringLiteral("Name"), QStringLiteral("PERSON 1"), {loCaseInsensitive, loPartialKey}),
        true);
    const auto firstPersonOne =
        std::find_if(ids.begin(), ids.end(), [](int id) { return id == 1 || id / 10 == 1; });
    QCOMPARE(s.Id(), *firstPersonOne);
    QCOMPARE(s.Data.Lookup(QStringLiteral("Id"), 4, QStringLiteral("Name")).IsNull(), !visible);
}

void TestCustomDataEditing::failingFilterHandlerIsReported()
{
    QStringList messages;
    TExceptionHandlerScope scope(TExceptionHandlerScope::Recording(messages));
    TStaff s;
    s.Data.SetOnFilterRecord([](TDataSet* d, bool& accept) {
        if (d->FieldByName(QStringLiteral("Id"))->AsInteger() == 2)
            throw EDatabaseError(QStringLiteral("bad record"));
        accept = true;
    });
    s.Data.SetFiltered(true);
    QCOMPARE(s.Id(), 1);
    s.Data.Next();
    QCOMPARE(s.Id(), 3);
    QVERIFY(messages.contains(QStringLiteral("bad record")));
}

void TestCustomDataEditing::calculatedAndLookupFields()
{
    TVectorData depts;
    depts.AddColumn(QStringLiteral("Code"), ftInteger);
    depts.AddColumn(QStringLiteral("DeptName"), ftWideString, 20);
    depts.Rows = {{0, "Sales"}, {1, "Stores"}, {2, "Office"}};
    depts.SortedFields = QStringLiteral("Code");
    depts.Open();

    TVectorData data;
    FillStaff(data);
    auto* doubled = new TFloatField(&data); // calculated fields may be of any type
    doubled->SetFieldName(QStringLiteral("Doubled"));
    doubled->SetFieldKind(fkCalculated);
    doubled->SetDataSet(&data);
    auto* deptName = new TStringField(&data);
    deptName->SetFieldName(QStringLiteral("DeptName"));
    deptName->SetFieldKind(fkLookup);
    deptName->SetKeyFields(QStringLiteral("Dept"));
    deptName->SetLookupDataSet(&depts);
    deptName->SetLookupKeyFields(QStringLiteral("Code"));
    deptName->SetLookupResultField(QStringLiteral("DeptName"));
    deptName->SetDataSet(&data);
    int calculations = 0;
    data.OnCalcFields = [&](TDataSet* d) {
        ++calculations;
        d->FieldByName(QStringLiteral("Doubled"))
            ->SetAsInteger(d->FieldByName(QStringLiteral("Id"))->AsInteger() * 2);
    };
    data.Open();
    QVERIFY(calculations > 0);
    data.SetRecNo(7);
    QCOMPARE(doubled->AsInteger(), 14);
    QCOMPARE(deptName->AsString(), QStringLiteral("Stores"));
    data.Next();
    QCOMPARE(deptName->AsString(), QStringLiteral("Office"));
    // Calculated fields follow an edit at once, and never reach the source.
    data.Edit();
    data.FieldByName(QStringLiteral("Id"))->SetAsInteger(50);
    data.FieldByName(QStringLiteral("Dept"))->SetAsInteger(0);
    QCOMPARE(doubled->AsInteger(), 100);
    QCOMPARE(deptName->AsString(), QStringLiteral("Sales"));
    data.Post();
    QCOMPARE(data.Log, (QStringList{QStringLiteral("set 7 Id=50"), QStringLiteral("set 7 Dept=0")}));
    QCOMPARE(doubled->AsInteger(), 100);
    const TVariant found = data.Lookup(QStringLiteral("Id"), 50, QStringLiteral("Doubled;DeptName"));
    QCOMPARE(found[0].AsFloat(), 100.0);
    QCOMPARE(found[1], TVariant("Sales"));
}

QTEST_MAIN(TestCustomDataEditing)
#include "tst_customdata_editing.moc"
