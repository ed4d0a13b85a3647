// Sorting through the dataset: the registry picks a strategy by the dataset's class and
// predicate; a title click on a shown grid reorders the table or rewrites the query's SQL,
// keeping the current record and the selection by key values; an order that names
// anything but a data field never reaches the dataset; a dataset that refuses an order
// gets its old one back.

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvocolumntitle.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/common/gridtestwidgets.h"
#include "grid/common/titemstable.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "grid/order/torvochangeorderlist.h"
#include "grid/selection/torvobookmarklist.h"
#include "platform/core/exceptions.h"
#include "platform/data/tfield.h"
#include "platform/data/tfielddefs.h"
#include "platform/data/torvodbcustomdata.h"
#include "platform/sqlite/tsqlitequery.h"

#include <QApplication>
#include <QTest>

#include <sqlite3.h>

using namespace orvo;
using namespace orvo::test;

/// An in-memory list of words that can reorder itself, as a descendant of the in-memory
/// dataset that publishes IndexFieldNames does.
class TSortableWords : public TOrvoDBCustomData
{
    Q_OBJECT
    Q_PROPERTY(QString IndexFieldNames READ IndexFieldNames WRITE SetIndexFieldNames)

public:
    QStringList Words{QStringLiteral("pear"), QStringLiteral("apple"), QStringLiteral("fig")};

    TSortableWords() { FieldDefs()->Add(QStringLiteral("Word"), ftString, 20); }
    QString IndexFieldNames() const { return FIndex; }
    void SetIndexFieldNames(const QString& value)
    {
        FIndex = value;
        std::sort(Words.begin(), Words.end());
        if (value.endsWith(QLatin1String(" DESC")))
            std::reverse(Words.begin(), Words.end());
        if (Active())
            Resync({});
    }

protected:
    void DoGetRecordCount(qint64& count) override { count = Words.size(); }
    void InternalGetFieldValue(qint64 index, const TField*, TVariant& value) override
    {
        value = Words.at(int(index));
    }

private:
    QString FIndex;
};

/// An in-memory list without IndexFieldNames: no strategy orders it.
class TPlainWords : public TOrvoDBCustomData
{
    Q_OBJECT

protected:
    void DoGetRecordCount(qint64& count) override { count = 0; }
};

/// A table of the program's own class whose sort property refuses to sort by price.
class TPickyTable : public TSQLiteTable
{
    Q_OBJECT
    Q_PROPERTY(QString SortOrder READ IndexFieldNames WRITE SetSortOrder)

public:
    void SetSortOrder(const QString& value)
    {
        SetIndexFieldNames(value);
        if (value.contains(QLatin1String("price")))
            throw EDatabaseError(QStringLiteral("No index on price"));
    }
};

/// A table of the program's own class, registered as a kind that sorts only ascending.
class TAscendingTable : public TSQLiteTable
{
    Q_OBJECT
};

/// A query of the program's own class that publishes its statement as one command text.
class TCommandQuery : public TSQLiteQuery
{
    Q_OBJECT
    Q_PROPERTY(QString CommandText READ CommandText WRITE SetCommandText)

public:
    QString CommandText() const { return SQL().join(QLatin1Char('\n')); }
    void SetCommandText(const QString& text) { SetSQL(text.split(QLatin1Char('\n'))); }
};

namespace {

constexpr int NameCol = 2; // grid columns: the indicator, then id, name, price

/// A shown grid over the items table (or a query over it) that applies its order itself.
struct TSortGrid
{
    TItemsTable Items{60};
    TSQLiteQuery Query;
    TDataSource QuerySource;
    TOrvoDBGrid Grid;
    int OrderUpdates = 0;
    int OrderChanges = 0;

    explicit TSortGrid(bool overQuery = false, const QStringList& sql = {})
    {
        Grid.SetOptionsEx(Grid.OptionsEx() + dgAutoUpdateOrder);
        Grid.SetKeyFields(QStringLiteral("id"));
        Grid.OnOrderUpdated = [this](QObject*) { ++OrderUpdates; };
        Grid.OnOrderChanged = [this](QObject*) { ++OrderChanges; };
        if (overQuery) {
            Query.SetDatabase(&Items.Db);
            Query.SetSQL(sql.isEmpty() ? QStringList{QStringLiteral("SELECT id, name, price FROM items")}
                                       : sql);
            QuerySource.SetDataSet(&Query);
            Grid.SetDataSource(&QuerySource);
            Query.Open();
        } else {
            Grid.SetDataSource(&Items.Source);
            Items.Table.Open();
        }
    }
    TDataSet* DataSet() const { return Grid.DataSet(); }
    int CurrentId() const { return DataSet()->FieldByName(QStringLiteral("id"))->AsInteger(); }
    void ClickTitle(int col, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QRect rect = Grid.CellRect(col, 0);
        QTest::mouseClick(Grid.viewport(), Qt::LeftButton, modifiers,
                          QPoint(rect.left() + 8, rect.center().y()));
    }
    /// The names of the first `count` records in the dataset's order; the cursor goes back.
    QStringList FirstNames(int count) const
    {
        const QString bookmark = DataSet()->Bookmark();
        QStringList names;
        DataSet()->DisableControls();
        DataSet()->First();
        for (int i = 0; i < count && !DataSet()->Eof(); ++i, DataSet()->Next())
            names << DataSet()->FieldByName(QStringLiteral("name"))->AsString();
        DataSet()->GotoBookmark(bookmark);
        DataSet()->EnableControls();
        return names;
    }
    /// The first column of the first row `sql` gives, asked past the datasets.
    QString Stored(const char* sql) const
    {
        sqlite3* db = nullptr;
        const QByteArray path = Items.Dir.filePath(QStringLiteral("items.db")).toUtf8();
        QString value = QStringLiteral("<no database>");
        if (sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
            sqlite3_stmt* statement = nullptr;
            if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK &&
                sqlite3_step(statement) == SQLITE_ROW)
                value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
            sqlite3_finalize(statement);
        }
        sqlite3_close(db);
        return value;
    }
    int StoredRowCount() const { return Stored("SELECT count(*) FROM items").toInt(); }
    QString StoredName(int id) const
    {
        return Stored(QStringLiteral("SELECT name FROM items WHERE id = %1").arg(id).toUtf8().constData());
    }
};

QString ClassOf(const TChangeOrderItem* item)
{
    return item ? item->ClassPattern + QLatin1Char('/') + QString::number(item->Kind)
                : QStringLiteral("none");
}

} // namespace

class TestGridOrderStrategies : public QObject
{
    Q_OBJECT

private slots:
    void builtInEntriesServeTheSuitesDatasets();
    void laterEntryWinsWhenItsPredicateHolds();
    void programEntriesNeverShadowBuiltInOnes();
    void titleClicksSortATableInTheDatabase();
    void titleClickRewritesTheQueryKeepingItsLimit();
    void anEqualOrderTouchesNothing();
    void ordersNamingAnythingButAFieldAreRefused_data();
    void ordersNamingAnythingButAFieldAreRefused();
    void aFailingQueryGetsItsOldSqlBack();
    void aNameWithBlanksIsQuotedInTheClause();
    void aRefusedIndexIsRolledBack();
    void pendingCachedUpdatesAreNeverDropped();
    void aPendingEditIsPostedBeforeSorting_data();
    void aPendingEditIsPostedBeforeSorting();
    void anOpeningDataSetLoadsOrTakesTheOrder_data();
    void anOpeningDataSetLoadsOrTakesTheOrder();
    void commandTextOfAProgramsClassIsRewritten();
    void selectionIsKeptByKeyValues();
    void detailFieldsLeadTheIndex();
    void inMemoryDescendantSortsByItsIndex();
    void withoutAStrategyTheHostSorts();
    void ascendOnlyKindSwitchesTheMarkers();
};

void TestGridOrderStrategies::builtInEntriesServeTheSuitesDatasets()
{
    TChangeOrderList list;
    TSQLiteTable table;
    TSQLiteQuery query;
    TSortableWords sortable;
    TPlainWords plain;
    TPickyTable derived;
    QCOMPARE(ClassOf(list.FindStrategy(&table)), QStringLiteral("TSQLiteTable/%1").arg(okIndexFieldNames));
    QCOMPARE(ClassOf(list.FindStrategy(&query)), QStringLiteral("TSQLiteQuery/%1").arg(okSQL));
    QCOMPARE(ClassOf(list.FindStrategy(&sortable)),
             QStringLiteral("*TOrvoDBCustomData/%1").arg(okIndexFieldNames));
    // The remembered entry is tried first, but only where it matches.
    QCOMPARE(ClassOf(list.FindStrategy(&table)), QStringLiteral("TSQLiteTable/%1").arg(okIndexFieldNames));
    QCOMPARE(ClassOf(list.FindStrategy(&plain)), QStringLiteral("none"));
    // Exact class names only: a table class of the program's own is not a TSQLiteTable here.
    QCOMPARE(ClassOf(list.FindStrategy(&derived)), QStringLiteral("none"));
    QCOMPARE(ClassOf(list.FindStrategy(nullptr)), QStringLiteral("none"));
    QVERIFY(!list.FindStrategy(&table)->AscendOnly);
}

void TestGridOrderStrategies::laterEntryWinsWhenItsPredicateHolds()
{
    TChangeOrderList list;
    bool commandRule = true;
    list.Register({QStringLiteral("TCommandQuery"), okIndexFieldNames, true, {}, QStringLiteral("SQL"), {}});
    list.Register({QStringLiteral("TCommandQuery"),
                   okCommandText,
                   false,
                   [&commandRule](const TDataSet*, TChangeOrderKind kind) {
                       return kind == okCommandText && commandRule;
                   },
                   {},
                   {}});
    TCommandQuery query;
    QCOMPARE(list.FindStrategy(&query)->Kind, okCommandText);
    commandRule = false;
    QCOMPARE(list.FindStrategy(&query)->Kind, okIndexFieldNames);
    QVERIFY(list.FindStrategy(&query)->AscendOnly);
}

void TestGridOrderStrategies::programEntriesNeverShadowBuiltInOnes()
{
    TChangeOrderList list;
    list.Register({QStringLiteral("*TDataSet"), okIndexFieldNames, true, {}, {}, {}});
    TPickyTable derived; // publishes IndexFieldNames as every TSQLiteTable
    TSQLiteTable table;
    QCOMPARE(list.FindStrategy(&derived)->ClassPattern, QStringLiteral("*TDataSet"));
    QCOMPARE(list.FindStrategy(&table)->ClassPattern, QStringLiteral("TSQLiteTable"));
    QVERIFY(!list.FindStrategy(&table)->AscendOnly);
    QCOMPARE(list.Count(), list.BuiltInCount() + 1);
}

void TestGridOrderStrategies::titleClicksSortATableInTheDatabase()
{
    TSortGrid f;
    QVERIFY(ShowExposed(f.Grid, 420, 260));
    f.DataSet()->MoveBy(4);
    QCOMPARE(f.CurrentId(), 5);
    const int row = f.Grid.Row();

    f.ClickTitle(NameCol);
    QCOMPARE(f.Grid.OrderFields(), QStringLiteral("name"));
    QCOMPARE(f.Items.Table.IndexFieldNames(), QStringLiteral("name"));
    QCOMPARE(f.Grid.GetDataSetOrder(), QStringLiteral("name"));
    QCOMPARE(f.Grid.Columns()->Items(1)->Title()->Marker(), tmAscend);
    QCOMPARE(f.CurrentId(), 5);
    QCOMPARE(f.Grid.Row(), row);
    QCOMPARE(f.FirstNames(3), (QStringList{"Item 1", "Item 10", "Item 11"}));
    QCOMPARE(f.OrderUpdates, 1);
    QCOMPARE(f.OrderChanges, 0);
    QVERIFY(f.Grid.OrderError().isEmpty());

    QTest::qWait(QApplication::doubleClickInterval() + 50); // two clicks, not a double click
    f.ClickTitle(NameCol);
    QCOMPARE(f.Grid.OrderFields(), QStringLiteral("name DESC"));
    QCOMPARE(f.Items.Table.IndexFieldNames(), QStringLiteral("name DESC"));
    QCOMPARE(f.FirstNames(2), (QStringList{"Item 9", "Item 8"}));
    QCOMPARE(f.Grid.Columns()->Items(1)->Title()->Marker(), tmDescend);
    QCOMPARE(f.CurrentId(), 5);

    // A Ctrl-click adds a second key.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    f.ClickTitle(NameCol + 1, Qt::ControlModifier);
    QCOMPARE(f.Items.Table.IndexFieldNames(), QStringLiteral("name DESC;price"));
    QCOMPARE(f.Grid.Columns()->Items(2)->Title()->MarkerIndex(), 4);
    QCOMPARE(f.CurrentId(), 5);
}

void TestGridOrderStrategies::titleClickRewritesTheQueryKeepingItsLimit()
{
    TSortGrid f(true, {QStringLiteral("SELECT id, name, price FROM items"), QStringLiteral("LIMIT 20;")});
    QVERIFY(ShowExposed(f.Grid, 420, 260));
    f.DataSet()->MoveBy(11);
    QCOMPARE(f.CurrentId(), 12); // among the first twenty by id and by name

    f.ClickTitle(NameCol);
    QCOMPARE(f.Query.SQL(), (QStringList{"SELECT id, name, price FROM items", "ORDER BY name", "LIMIT 20;"}));
    QVERIFY(f.Query.Active());
    QCOMPARE(f.CurrentId(), 12);
    QCOMPARE(f.Query.RecordCount(), 20);
    QCOMPARE(f.FirstNames(3), (QStringList{"Item 1", "Item 10", "Item 11"}));
    QCOMPARE(f.Grid.GetDataSetOrder(), QStringLiteral("name"));

    QTest::qWait(QApplication::doubleClickInterval() + 50); // two clicks, not a double click
    f.ClickTitle(NameCol);
    QCOMPARE(f.Query.SQL(),
             (QStringList{"SELECT id, name, price FROM items", "ORDER BY name DESC", "LIMIT 20;"}));
    QCOMPARE(f.FirstNames(2), (QStringList{"Item 9", "Item 8"}));
    QCOMPARE(f.OrderUpdates, 2);
    QCOMPARE(f.Grid.Columns()->Items(1)->Title()->Marker(), tmDescend);
}

void TestGridOrderStrategies::anEqualOrderTouchesNothing()
{
    TSortGrid f(true, {QStringLiteral("SELECT id, name, price FROM items ORDER BY name DESC, id")});
    // The grid's own order (none) was applied when the link opened.
    QCOMPARE(f.Query.SQL(), QStringList{QStringLiteral("SELECT id, name, price FROM items ")});
    QVERIFY(f.Grid.ApplyOrder(QStringLiteral("name DESC, id")));
    int opens = 0;
    f.Query.AfterOpen = [&opens](TDataSet*) { ++opens; };
    f.OrderUpdates = 0;
    QVERIFY(f.Grid.ApplyOrder(QStringLiteral(" NAME desc ,ID ")));
    QCOMPARE(opens, 0);
    QCOMPARE(f.OrderUpdates, 0);
    QVERIFY(f.Grid.ApplyOrder(QStringLiteral("name")));
    QCOMPARE(opens, 1);
    QCOMPARE(f.OrderUpdates, 1);
}

void TestGridOrderStrategies::ordersNamingAnythingButAFieldAreRefused_data()
{
    QTest::addColumn<bool>("overQuery");
    QTest::addColumn<QString>("order");

    for (const bool overQuery : {false, true}) {
        const char* kind = overQuery ? "query: " : "table: ";
        QTest::addRow("%smissing field", kind) << overQuery << "nowhere";
        QTest::addRow("%sstatement in the text", kind) << overQuery << "name; DROP TABLE items";
        QTest::addRow("%sexpression", kind) << overQuery << "name COLLATE NOCASE";
        QTest::addRow("%sempty item", kind) << overQuery << "name,,price";
        QTest::addRow("%ssubquery", kind) << overQuery << "(SELECT 1) DESC";
    }
}

void TestGridOrderStrategies::ordersNamingAnythingButAFieldAreRefused()
{
    QFETCH(bool, overQuery);
    QFETCH(QString, order);
    TSortGrid f(overQuery);
    f.Grid.SetOrderFields(QStringLiteral("price DESC"));
    const QStringList sql = f.Query.SQL();
    const QString index = f.Items.Table.IndexFieldNames();
    f.DataSet()->MoveBy(3);
    const int current = f.CurrentId();
    int opens = 0;
    f.DataSet()->AfterOpen = [&opens](TDataSet*) { ++opens; };

    QVERIFY(f.Grid.ApplyOrder(order)); // a strategy ran, the order was not taken
    QVERIFY2(f.Grid.OrderError().contains(QLatin1String("Cannot sort by")), qPrintable(f.Grid.OrderError()));
    QCOMPARE(opens, 0);
    QCOMPARE(f.Query.SQL(), sql);
    QCOMPARE(f.Items.Table.IndexFieldNames(), index);
    QCOMPARE(f.CurrentId(), current);
    QCOMPARE(f.Grid.OrderFields(), QStringLiteral("price DESC"));
    QCOMPARE(f.StoredRowCount(), 60);

    // The next order that names fields goes through and clears the error.
    QVERIFY(f.Grid.ApplyOrder(QStringLiteral("name ASC")));
    QVERIFY(f.Grid.OrderError().isEmpty());
}

void TestGridOrderStrategies::aFailingQueryGetsItsOldSqlBack()
{
    // The clause found is the subquery's, and the rewrite cuts what follows it.
    const QStringList sql{
        QStringLiteral("SELECT * FROM (SELECT id, name, price FROM items ORDER BY id) WHERE id < 50")};
    TSortGrid f(true, sql);
    QVERIFY(ShowExposed(f.Grid, 420, 260));
    f.DataSet()->MoveBy(2);

    f.ClickTitle(NameCol);
    QVERIFY(!f.Grid.OrderError().isEmpty());
    QCOMPARE(f.Query.SQL(), sql);
    QVERIFY(f.Query.Active());
    QCOMPARE(f.CurrentId(), 3);
    QCOMPARE(f.Query.RecordCount(), 49);
    // The markers show the order the dataset really has: none of its columns.
    QCOMPARE(f.Grid.OrderFields(), QString());
    QCOMPARE(f.OrderChanges, 0);
}

void TestGridOrderStrategies::aNameWithBlanksIsQuotedInTheClause()
{
    TSortGrid f(true, {QStringLiteral("SELECT id, name AS \"Item Description\" FROM items")});
    QVERIFY(f.Grid.ApplyOrder(QStringLiteral("Item Description DESC")));
    QVERIFY2(f.Grid.OrderError().isEmpty(), qPrintable(f.Grid.OrderError()));
    f.DataSet()->First();
    QCOMPARE(f.Query.SQL(), (QStringList{"SELECT id, name AS \"Item Description\" FROM items",
                                         "ORDER BY \"Item Description\" DESC"}));
    QCOMPARE(f.DataSet()->FieldByName(QStringLiteral("Item Description"))->AsString(),
             QStringLiteral("Item 9"));
    QCOMPARE(f.Grid.GetDataSetOrder(), QStringLiteral("Item Description DESC"));
    // Read back, the same order changes nothing.
    f.OrderUpdates = 0;
    QVERIFY(f.Grid.ApplyOrder(QStringLiteral("Item Description DESC")));
    QCOMPARE(f.OrderUpdates, 0);
}

void TestGridOrderStrategies::aRefusedIndexIsRolledBack()
{
    TChangeOrderList::Instance().Register(
        {QStringLiteral("TPickyTable"), okIndexFieldNames, false, {}, QStringLiteral("SortOrder"), {}});
    TItemsTable items(20);
    TPickyTable picky;
    picky.SetDatabase(&items.Db);
    picky.SetTableName(QStringLiteral("items"));
    TDataSource source;
    source.SetDataSet(&picky);
    TOrvoDBGrid grid;
    grid.SetOptionsEx(grid.OptionsEx() + dgAutoUpdateOrder);
    grid.SetKeyFields(QStringLiteral("id"));
    grid.SetDataSource(&source);
    picky.Open();
    grid.SetOrderFields(QStringLiteral("name DESC"));
    QCOMPARE(picky.IndexFieldNames(), QStringLiteral("name DESC"));
    picky.MoveBy(5);
    const int id = picky.FieldByName(QStringLiteral("id"))->AsInteger();

    grid.SetOrderFields(QStringLiteral("price"));
    QCOMPARE(grid.OrderError(), QStringLiteral("No index on price"));
    QCOMPARE(picky.IndexFieldNames(), QStringLiteral("name DESC"));
    QVERIFY(picky.Active());
    QCOMPARE(grid.OrderFields(), QStringLiteral("name DESC"));
    QCOMPARE(picky.FieldByName(QStringLiteral("id"))->AsInteger(), id);
}

void TestGridOrderStrategies::pendingCachedUpdatesAreNeverDropped()
{
    TSortGrid f(true);
    f.Query.SetCachedUpdates(true);
    f.Query.Edit();
    f.Query.FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("Typed"));
    f.Query.Post();
    QVERIFY(f.Query.UpdatesPending());

    QVERIFY(f.Grid.ApplyOrder(QStringLiteral("name DESC")));
    QVERIFY(f.Grid.OrderError().contains(QLatin1String("pending updates")));
    QCOMPARE(f.Query.SQL(), QStringList{QStringLiteral("SELECT id, name, price FROM items")});
    QVERIFY(f.Query.UpdatesPending());
    QCOMPARE(f.Query.FieldByName(QStringLiteral("name"))->AsString(), QStringLiteral("Typed"));
    QCOMPARE(f.StoredName(1), QStringLiteral("Item 1"));

    f.Query.ApplyUpdates();
    QCOMPARE(f.StoredName(1), QStringLiteral("Typed"));
    QVERIFY(f.Grid.ApplyOrder(QStringLiteral("name DESC")));
    QVERIFY(f.Grid.OrderError().isEmpty());
    QCOMPARE(f.Query.FieldByName(QStringLiteral("name"))->AsString(), QStringLiteral("Typed"));
}

void TestGridOrderStrategies::aPendingEditIsPostedBeforeSorting_data()
{
    QTest::addColumn<bool>("overQuery");
    QTest::newRow("table") << false;
    QTest::newRow("query") << true;
}

void TestGridOrderStrategies::aPendingEditIsPostedBeforeSorting()
{
    QFETCH(bool, overQuery);
    TSortGrid f(overQuery);
    f.DataSet()->MoveBy(2);
    f.DataSet()->Edit();
    f.DataSet()->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("Typed"));

    QVERIFY(f.Grid.ApplyOrder(QStringLiteral("name DESC")));
    QCOMPARE(f.DataSet()->State(), dsBrowse);
    QCOMPARE(f.StoredName(3), QStringLiteral("Typed"));
    QCOMPARE(f.CurrentId(), 3);
    QCOMPARE(f.DataSet()->FieldByName(QStringLiteral("name"))->AsString(), QStringLiteral("Typed"));
    QCOMPARE(f.Grid.GetDataSetOrder(), QStringLiteral("name DESC"));
}

void TestGridOrderStrategies::anOpeningDataSetLoadsOrTakesTheOrder_data()
{
    QTest::addColumn<bool>("overQuery");
    QTest::addColumn<bool>("loadCurrent");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("orderFields");
    QTest::addColumn<QString>("dataSetOrder");

    // The dataset's own order is "price DESC"; the grid was given `stored` while closed.
    QTest::newRow("table: markers from the dataset") << false << true << "name"
                                                     << "price DESC"
                                                     << "price DESC";
    QTest::newRow("query: markers from the dataset") << true << true << "name"
                                                     << "price DESC"
                                                     << "price DESC";
    QTest::newRow("table: the grid's order applied") << false << false << "name"
                                                     << "name"
                                                     << "name";
    QTest::newRow("query: the grid's order applied") << true << false << "name"
                                                     << "name"
                                                     << "name";
    // A stored layout's text that names no field never reaches the dataset.
    QTest::newRow("table: a stored statement refused") << false << false << "name; DROP TABLE items"
                                                       << "price DESC"
                                                       << "price DESC";
    QTest::newRow("query: a stored statement refused") << true << false << "name; DROP TABLE items"
                                                       << "price DESC"
                                                       << "price DESC";
}

void TestGridOrderStrategies::anOpeningDataSetLoadsOrTakesTheOrder()
{
    QFETCH(bool, overQuery);
    QFETCH(bool, loadCurrent);
    QFETCH(QString, stored);
    QFETCH(QString, orderFields);
    QFETCH(QString, dataSetOrder);
    TItemsTable items(10);
    TSQLiteQuery query;
    query.SetDatabase(&items.Db);
    query.SetSQL(
        {QStringLiteral("SELECT id, name, price FROM items"), QStringLiteral("ORDER BY price DESC")});
    items.Table.SetIndexFieldNames(QStringLiteral("price DESC"));
    TDataSource querySource;
    querySource.SetDataSet(&query);
    TOrvoDBGrid grid;
    grid.SetOptionsEx(grid.OptionsEx() + (loadCurrent ? dgLoadCurrentOrder : dgAutoUpdateOrder));
    grid.SetDataSource(overQuery ? &querySource : &items.Source);
    grid.SetOrderFields(stored);
    QCOMPARE(grid.OrderFields(),
             QString(stored).replace(QLatin1Char(';'), QLatin1Char(','))); // text while closed
    TDataSet* dataSet = grid.DataSet();
    dataSet->Open();
    QCOMPARE(grid.OrderFields(), orderFields);
    // Columns rebuilt later, once the reopened query's fields are back, keep the markers.
    QCoreApplication::processEvents();
    QCOMPARE(grid.OrderFields(), orderFields);
    QCOMPARE(grid.GetDataSetOrder(), dataSetOrder);
    QVERIFY(dataSet->Active());
    QCOMPARE(dataSet->RecordCount(), 10);
}

void TestGridOrderStrategies::commandTextOfAProgramsClassIsRewritten()
{
    TChangeOrderList::Instance().Register(
        {QStringLiteral("TCommandQuery"), okCommandText, false, {}, {}, {}});
    TItemsTable items(10);
    TCommandQuery query;
    query.SetDatabase(&items.Db);
    query.SetCommandText(QStringLiteral("SELECT id, name FROM items;"));
    TDataSource source;
    source.SetDataSet(&query);
    TOrvoDBGrid grid;
    grid.SetDataSource(&source);
    query.Open();
    QVERIFY(grid.ApplyOrder(QStringLiteral("name DESC")));
    QCOMPARE(query.CommandText(), QStringLiteral("SELECT id, name FROM items\nORDER BY name DESC;"));
    QVERIFY(query.Active());
    QCOMPARE(query.FieldByName(QStringLiteral("name"))->AsString(), QStringLiteral("Item 9"));
    QCOMPARE(grid.GetDataSetOrder(), QStringLiteral("name DESC"));
}

void TestGridOrderStrategies::selectionIsKeptByKeyValues()
{
    for (const bool overQuery : {false, true}) {
        TSortGrid f(overQuery);
        f.Grid.SetOptions(f.Grid.Options() + dgMultiSelect);
        f.Grid.SetOptionsEx(f.Grid.OptionsEx() + dgAutoKeepSelection);
        QVERIFY(ShowExposed(f.Grid, 420, 260));
        for (const int id : {2, 5, 12}) {
            QVERIFY(f.DataSet()->Locate(QStringLiteral("id"), TVariant(qint64(id)), {}));
            f.Grid.SelectedRows()->SetCurrentRowSelected(true);
        }
        QCOMPARE(f.Grid.SelectedRows()->Count(), 3);

        f.ClickTitle(NameCol);
        QCOMPARE(f.Grid.OrderFields(), QStringLiteral("name"));
        QCOMPARE(f.CurrentId(), 12);
        QCOMPARE(f.Grid.SelectedRows()->Count(), 3);
        QList<int> selected;
        for (int i = 0; i < f.Grid.SelectedRows()->Count(); ++i) {
            f.DataSet()->GotoBookmark(f.Grid.SelectedRows()->Items(i));
            selected << f.CurrentId();
        }
        // In the dataset's new order: "Item 12" < "Item 2" < "Item 5".
        QCOMPARE(selected, (QList<int>{12, 2, 5}));
    }
}

void TestGridOrderStrategies::detailFieldsLeadTheIndex()
{
    TItemsTable items(5);
    items.Db.ExecSQL(
        QStringLiteral("CREATE TABLE lines (id INTEGER PRIMARY KEY, item_id INTEGER, qty INTEGER)"));
    for (int i = 1; i <= 12; ++i)
        items.Db.ExecSQL(QStringLiteral("INSERT INTO lines (item_id, qty) VALUES (?, ?)"),
                         {qint64(i % 3 + 1), qint64(100 - i)});
    TSQLiteTable lines;
    lines.SetDatabase(&items.Db);
    lines.SetTableName(QStringLiteral("lines"));
    lines.SetIndexFieldNames(QStringLiteral("item_id"));
    lines.SetMasterFields(QStringLiteral("id"));
    lines.SetMasterSource(&items.Source);
    TDataSource source;
    source.SetDataSet(&lines);
    TOrvoDBGrid grid;
    grid.SetOptionsEx(grid.OptionsEx() + dgAutoUpdateOrder);
    grid.SetDataSource(&source);
    items.Table.Open();
    lines.Open();
    grid.SetDetailFields(QStringLiteral("ITEM_ID"));
    QCOMPARE(grid.DetailFields(), QStringLiteral("item_id"));

    grid.SetOrderFields(QStringLiteral("qty"));
    QCOMPARE(lines.IndexFieldNames(), QStringLiteral("item_id;qty"));
    QCOMPARE(grid.GetDataSetOrder(), QStringLiteral("qty"));
    lines.First();
    QCOMPARE(lines.FieldByName(QStringLiteral("qty"))->AsInteger(), 88);
    grid.SetOrderFields(QString());
    QCOMPARE(lines.IndexFieldNames(), QStringLiteral("item_id"));
    QCOMPARE(grid.GetDataSetOrder(), QString());
}

void TestGridOrderStrategies::inMemoryDescendantSortsByItsIndex()
{
    TSortableWords words;
    TDataSource source;
    source.SetDataSet(&words);
    TOrvoDBGrid grid;
    grid.SetOptionsEx(grid.OptionsEx() + dgAutoUpdateOrder);
    grid.SetDataSource(&source);
    words.Open();
    grid.SetOrderFields(QStringLiteral("Word DESC"));
    QCOMPARE(words.IndexFieldNames(), QStringLiteral("Word DESC"));
    QCOMPARE(words.Words, (QStringList{"pear", "fig", "apple"}));
    QCOMPARE(grid.GetDataSetOrder(), QStringLiteral("Word DESC"));
}

void TestGridOrderStrategies::withoutAStrategyTheHostSorts()
{
    TItemsTable items(10);
    TPlainWords plain;
    TDataSource source;
    source.SetDataSet(&plain);
    TOrvoDBGrid grid;
    grid.SetOptionsEx(grid.OptionsEx() + dgAutoUpdateOrder);
    grid.SetDataSource(&source);
    QVERIFY(!grid.ApplyOrder(QStringLiteral("Word")));
    QCOMPARE(grid.GetDataSetOrder(), QString());
    grid.SetDataSource(nullptr);
    QVERIFY(!grid.ApplyOrder(QString()));
}

void TestGridOrderStrategies::ascendOnlyKindSwitchesTheMarkers()
{
    TChangeOrderList::Instance().Register(
        {QStringLiteral("TAscendingTable"), okIndexFieldNames, true, {}, {}, {}});
    TItemsTable items(10);
    TAscendingTable table;
    table.SetDatabase(&items.Db);
    table.SetTableName(QStringLiteral("items"));
    TDataSource source;
    source.SetDataSet(&table);
    TOrvoDBGrid grid;
    QVERIFY(grid.OptionsEx().Contains(dgAutoAscendOrder)); // a default
    grid.SetDataSource(&source);
    table.Open();
    QVERIFY(grid.ApplyOrder(QStringLiteral("name")));
    QVERIFY(grid.Options().Contains(dgMarkerAscendOnly));
    grid.SetOrderFields(QStringLiteral("name DESC"));
    QCOMPARE(grid.OrderFields(), QStringLiteral("name"));

    // A dataset that sorts both ways takes the restriction off again.
    grid.SetDataSource(&items.Source);
    items.Table.Open();
    QVERIFY(grid.ApplyOrder(QStringLiteral("name")));
    QVERIFY(!grid.Options().Contains(dgMarkerAscendOnly));
}

QTEST_MAIN(TestGridOrderStrategies)
#include "tst_grid_orderstrategies.moc"
