#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/common/tsampletable.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "grid/selection/tcompactbookmarks.h"
#include "grid/selection/torvobookmarklist.h"
#include "grid/selection/torvocolumnlist.h"
#include "platform/data/tdatasource.h"
#include "platform/graphics/tcustomimagelist.h"
#include "platform/sqlite/tsqlitetable.h"
#include "sqlite/sqlitetestdb.h"

#include <QMenu>
#include <QTest>

using namespace orvo;

class TestSelectionLists : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void bookmarksKeptInDataSetOrder();
    void findAnswersPlaceAndCache();
    void currentRowSelectedAndClear();
    void closedDataSetAndMissingKeysRaise();
    void refreshDropsVanishedRecords();
    void deleteRowsRemovesSelectedRecords();
    void keysSurviveReorder();
    void columnsKeptInCollectionOrder();
    void packedBookmarksKeepEveryEntry_data();
    void packedBookmarksKeepEveryEntry();

private:
    QString BookmarkOfId(qint64 id);
    QList<qint64> SelectedIds();
    TOrvoBookmarkList* Rows() { return FGrid->SelectedRows(); }

    std::unique_ptr<test::TSampleTable> FCustomers;
    std::unique_ptr<TOrvoDBGrid> FGrid;
    QList<TSelectAction> FActions;
};

void TestSelectionLists::init()
{
    FCustomers = std::make_unique<test::TSampleTable>();
    FGrid = std::make_unique<TOrvoDBGrid>();
    FGrid->SetDataSource(&FCustomers->Source);
    FCustomers->Table.Open();
    FActions.clear();
    FGrid->OnRowSelect = [this](QObject*, TSelectAction action) { FActions << action; };
}

void TestSelectionLists::cleanup()
{
    FGrid.reset();
    FCustomers.reset();
}

QString TestSelectionLists::BookmarkOfId(qint64 id)
{
    if (!FCustomers->Table.Locate(QStringLiteral("id"), TVariant(id), {}))
        return {};
    return FCustomers->Table.Bookmark();
}

QList<qint64> TestSelectionLists::SelectedIds()
{
    QList<qint64> ids;
    for (int i = 0; i < Rows()->Count(); ++i) {
        FCustomers->Table.GotoBookmark(Rows()->Items(i));
        ids << test::CurrentId(FCustomers->Table);
    }
    return ids;
}

void TestSelectionLists::bookmarksKeptInDataSetOrder()
{
    for (qint64 id : {5, 2, 9, 2})
        Rows()->Insert(BookmarkOfId(id));
    QCOMPARE(Rows()->Count(), 3);
    QCOMPARE(SelectedIds(), QList<qint64>({2, 5, 9}));

    // In a descending order the same records sort the other way round.
    FCustomers->Table.SetIndexFieldNames(QStringLiteral("id DESC"));
    Rows()->Clear();
    for (qint64 id : {5, 2, 9})
        Rows()->Insert(BookmarkOfId(id));
    QCOMPARE(SelectedIds(), QList<qint64>({9, 5, 2}));
    QVERIFY(Rows()->Remove(BookmarkOfId(5)));
    QVERIFY(!Rows()->Remove(BookmarkOfId(5)));
    QCOMPARE(SelectedIds(), QList<qint64>({9, 2}));
}

void TestSelectionLists::findAnswersPlaceAndCache()
{
    for (qint64 id : {3, 7, 11})
        Rows()->Insert(BookmarkOfId(id));
    const QList<std::pair<qint64, int>> expected{{1, 0}, {3, 0}, {5, 1}, {7, 1}, {9, 2}, {11, 2}, {20, 3}};
    for (const auto& [id, place] : expected) {
        const QString bookmark = BookmarkOfId(id);
        int index = -1;
        const bool found = Rows()->Find(bookmark, index);
        QCOMPARE(found, id == 3 || id == 7 || id == 11);
        QCOMPARE(index, place);
        int again = -1;
        QCOMPARE(Rows()->Find(bookmark, again), found);
        QCOMPARE(again, index);
    }
    // A change of the list must not leave a stale cached answer.
    const QString five = BookmarkOfId(5);
    int index = -1;
    QVERIFY(!Rows()->Find(five, index));
    Rows()->Insert(five);
    QVERIFY(Rows()->Find(five, index));
    QCOMPARE(index, 1);
    QVERIFY_THROWS_EXCEPTION(EListError, Rows()->Items(4));
}

void TestSelectionLists::currentRowSelectedAndClear()
{
    BookmarkOfId(4);
    QVERIFY(!Rows()->CurrentRowSelected());
    Rows()->SetCurrentRowSelected(true);
    Rows()->SetCurrentRowSelected(true);
    QVERIFY(Rows()->CurrentRowSelected());
    QCOMPARE(Rows()->Count(), 1);
    Rows()->SetCurrentRowSelected(false);
    QVERIFY(!Rows()->CurrentRowSelected());
    Rows()->SetCurrentRowSelected(true);
    Rows()->Clear();
    Rows()->Clear();
    QCOMPARE(Rows()->Count(), 0);
    QCOMPARE(FActions, QList<TSelectAction>({saSelect, saUnselect, saSelect, saClear}));
}

void TestSelectionLists::closedDataSetAndMissingKeysRaise()
{
    Rows()->Insert(BookmarkOfId(1));
    ORVO_EXPECT_DB_ERROR(Rows()->SaveKeys(QString()), "KeyFields property cannot be blank");
    FCustomers->Table.Close();
    QCOMPARE(Rows()->Count(), 0);
    ORVO_EXPECT_DB_ERROR(Rows()->CurrentRowSelected(), "closed dataset");
    ORVO_EXPECT_DB_ERROR(Rows()->SaveKeys(QStringLiteral("id")), "closed dataset");
    ORVO_EXPECT_DB_ERROR(Rows()->RestoreKeys(QStringLiteral("id")), "closed dataset");
}

void TestSelectionLists::refreshDropsVanishedRecords()
{
    for (qint64 id : {2, 4, 6})
        Rows()->Insert(BookmarkOfId(id));
    QVERIFY(!Rows()->RefreshRows());
    FCustomers->Sample.Db->ExecSQL(QStringLiteral("DELETE FROM customers WHERE id = 4"));
    FCustomers->Table.Refresh();
    QVERIFY(Rows()->RefreshRows());
    QCOMPARE(SelectedIds(), QList<qint64>({2, 6}));
    QCOMPARE(FActions.last(), saRefresh);
}

void TestSelectionLists::deleteRowsRemovesSelectedRecords()
{
    for (qint64 id : {3, 8, 21})
        Rows()->Insert(BookmarkOfId(id));
    Rows()->DeleteRows();
    QCOMPARE(Rows()->Count(), 0);
    QCOMPARE(FCustomers->Table.RecordCount(), 22);
    QCOMPARE(FCustomers->Sample.Ids(QStringLiteral("SELECT id FROM customers WHERE id IN (3, 8, 21)")),
             QList<qint64>());
    QCOMPARE(FActions.last(), saDelete);
}

void TestSelectionLists::keysSurviveReorder()
{
    for (qint64 id : {12, 5, 19})
        Rows()->Insert(BookmarkOfId(id));
    BookmarkOfId(7);
    FGrid->SetKeyFields(QStringLiteral("id"));
    Rows()->SaveKeys(QString());
    QCOMPARE(Rows()->SavedKeyCount(), 3);
    QCOMPARE(test::CurrentId(FCustomers->Table), 7);

    FCustomers->Table.SetIndexFieldNames(QStringLiteral("name DESC"));
    Rows()->RestoreKeys(QString());
    QCOMPARE(test::CurrentId(FCustomers->Table), 7);
    QCOMPARE(SelectedIds(), QList<qint64>({19, 12, 5}));
}

void TestSelectionLists::columnsKeptInCollectionOrder()
{
    TOrvoColumnList* cols = FGrid->SelectedCols();
    TOrvoDBGridColumns* columns = FGrid->Columns();
    columns->Clear();
    for (const char* field : {"id", "name", "city", "score", "balance"})
        columns->Add()->SetFieldName(QString::fromLatin1(field));
    cols->SetSelected(3, true);
    cols->SetSelected(1, true);
    cols->SetSelected(3, true);
    cols->SetSelected(columns->Count(), true);
    cols->SetSelected(-1, true);
    QCOMPARE(cols->Count(), 2);
    QCOMPARE(cols->Items(0), columns->Items(1));
    QCOMPARE(cols->Items(1), columns->Items(3));
    QVERIFY(cols->Selected(3));
    QVERIFY(!cols->Selected(2));

    cols->SaveIDs();
    const QList<int> ids{columns->Items(1)->ID(), columns->Items(3)->ID()};
    QCOMPARE(QList<int>(cols->SavedIDs().begin(), cols->SavedIDs().end()), ids);
    columns->Items(3)->SetIndex(0);
    cols->RestoreIDs();
    QCOMPARE(cols->Count(), 2);
    QCOMPARE(cols->Items(0)->ID(), ids.at(1));
    QCOMPARE(cols->Items(1)->ID(), ids.at(0));

    // A column that goes away leaves the list.
    columns->Delete(columns->Items(0)->Index());
    QCOMPARE(cols->Count(), 1);
    cols->Clear();
    QCOMPARE(cols->Count(), 0);
}

void TestSelectionLists::packedBookmarksKeepEveryEntry_data()
{
    QTest::addColumn<QStringList>("inserted");
    QTest::addColumn<QList<int>>("places");
    QTest::newRow("one") << QStringList{"0000002aQ\x01"} << QList<int>{0};
    QTest::newRow("shared tag, growing keys")
        << QStringList{"0000002a\x02\x01", "0000002a\x02\x02", QString::fromLatin1("0000002a\x02\xe9\x01"),
                       "0000002a\x03"}
        << QList<int>{0, 1, 2, 3};
    QTest::newRow("inserted in the middle and at the front")
        << QStringList{"tagB", "tagD", "tagC", "tagA", "tag"} << QList<int>{0, 1, 1, 0, 0};
    QTest::newRow("nothing shared") << QStringList{"abc", "xyz", "a", "abcd"} << QList<int>{0, 1, 1, 3};
    QTest::newRow("one a prefix of another")
        << QStringList{"0000002aQ", "0000002aQQ", "0000002a"} << QList<int>{0, 1, 0};
}

void TestSelectionLists::packedBookmarksKeepEveryEntry()
{
    QFETCH(QStringList, inserted);
    QFETCH(QList<int>, places);
    TCompactBookmarks packed;
    QStringList expected;
    for (qsizetype i = 0; i < inserted.size(); ++i) {
        QVERIFY(TCompactBookmarks::Storable(inserted[i]));
        packed.Insert(places[i], inserted[i]);
        expected.insert(places[i], inserted[i]);
        QCOMPARE(packed.Count(), int(expected.size()));
        for (int k = 0; k < packed.Count(); ++k) {
            QCOMPARE(packed.At(k), expected[k]);
            QVERIFY(packed.Equals(k, expected[k]));
            QVERIFY(!packed.Equals(k, expected[k] + QLatin1Char('x')));
        }
    }
    // Removing from the middle, then by a condition, keeps the others whole.
    const int middle = packed.Count() / 2;
    packed.RemoveAt(middle);
    expected.removeAt(middle);
    QCOMPARE(packed.RemoveIf([](const QString& b) { return b.endsWith(QLatin1Char('A')); }),
             int(expected.removeIf([](const QString& b) { return b.endsWith(QLatin1Char('A')); })));
    for (int k = 0; k < packed.Count(); ++k)
        QCOMPARE(packed.At(k), expected[k]);
    while (!packed.IsEmpty())
        packed.RemoveAt(0);
    packed.Append(QStringLiteral("fresh"));
    QCOMPARE(packed.At(0), QStringLiteral("fresh"));
    QVERIFY(!TCompactBookmarks::Storable(QString()));
    QVERIFY(!TCompactBookmarks::Storable(QStringLiteral("tag\u0100")));
}

QTEST_MAIN(TestSelectionLists)
#include "tst_grid_selectionlists.moc"
