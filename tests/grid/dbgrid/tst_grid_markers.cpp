#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvocolumntitle.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "platform/core/tvariant.h"
#include "platform/data/tdatasource.h"
#include "platform/data/tfield.h"
#include "platform/sqlite/tsqlitedatabase.h"
#include "platform/sqlite/tsqlitetable.h"

#include <QTest>

Q_DECLARE_METATYPE(orvo::TOrvoDBGridOptions)

using namespace orvo;

namespace {

const QStringList TenFields{"Country", "State", "City", "F4", "F5", "F6", "F7", "F8", "F9", "F10"};

/// An open table of ten fields shown by a grid with default columns.
struct OrderFixture
{
    TSQLiteDatabase Db;
    TSQLiteTable Table;
    TDataSource Source;
    TOrvoDBGrid Grid;

    OrderFixture()
    {
        Db.SetDatabaseName(QStringLiteral(":memory:"));
        Db.Open();
        QStringList columns;
        for (const QString& name : TenFields)
            columns << name + QStringLiteral(" VARCHAR(10)");
        Db.ExecSQL(QStringLiteral("CREATE TABLE places (%1)").arg(columns.join(", ")));
        for (int i = 0; i < 40; ++i)
            Db.ExecSQL(
                QStringLiteral("INSERT INTO places VALUES ('c%1', 's%2', 'x', '', '', '', '', '', '', '')")
                    .arg(i % 7)
                    .arg(i, 2, 10, QLatin1Char('0')));
        Table.SetDatabase(&Db);
        Table.SetTableName(QStringLiteral("places"));
        Table.Open();
        Source.SetDataSet(&Table);
        Grid.resize(400, 300);
        Grid.SetDataSource(&Source);
    }
    TOrvoColumnTitle* Title(const QString& fieldName) const
    {
        return Grid.ColumnByFieldName(fieldName)->Title();
    }
    /// Every marked column as "Name:MarkerIndex", in the order list's sequence.
    QStringList Markers() const
    {
        QStringList markers;
        for (const QPointer<TOrvoColumn>& column : Grid.Columns()->OrderList())
            markers << QStringLiteral("%1:%2").arg(column->FieldName()).arg(column->Title()->MarkerIndex());
        return markers;
    }
    void SetOptions(TOrvoDBGridOptions add, TOrvoDBGridOptions remove)
    {
        Grid.SetOptions(Grid.Options() + add - remove);
    }
};

/// A grid that knows how to reorder its dataset, as a registered strategy would.
class TOrderingGrid : public TOrvoDBGrid
{
public:
    QStringList Applied;

protected:
    bool ApplyOrder(const QString& orderFields) override
    {
        Applied << (orderFields.isEmpty() ? OrderFields() : orderFields);
        return true;
    }
};

} // namespace

class TestGridMarkers : public QObject
{
    Q_OBJECT

private slots:
    void orderTextBecomesMarkers_data();
    void orderTextBecomesMarkers();
    void titleClicksAdvanceMarkers_data();
    void titleClicksAdvanceMarkers();
    void tenthColumnGetsNoMarker();
    void markerSettersKeepTheOrderList();
    void markerOptionsRenumber();
    void closedDatasetKeepsTheText();
    void orderChangedFiresOncePerBracket();
    void knownDatasetHearsOnlyTheStrategy();
    void loadingOnlyRearrangesTheOrder();
    void dataUpdateKeepsTheRecordOnItsRow();
};

void TestGridMarkers::orderTextBecomesMarkers_data()
{
    QTest::addColumn<TOrvoDBGridOptions>("add");
    QTest::addColumn<TOrvoDBGridOptions>("remove");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("markers");
    QTest::addColumn<QString>("readBack");

    const TOrvoDBGridOptions none;
    QTest::newRow("numbered") << none << none << "country desc; state ,City ASC"
                              << QStringList{"Country:3", "State:4", "City:6"} << "Country DESC,State,City";
    QTest::newRow("single column keeps the first")
        << TOrvoDBGridOptions{dgMarkerAutoSwitch} << none << "City DESC,State" << QStringList{"City:1"}
        << "City DESC";
    QTest::newRow("ascending only") << TOrvoDBGridOptions{dgMarkerAscendOnly} << none << "State DESC"
                                    << QStringList{"State:2"} << "State";
    QTest::newRow("plain markers without numbering")
        << none << TOrvoDBGridOptions{dgMarkerAutoToggle} << "State,City DESC"
        << QStringList{"State:2", "City:5"} << "State,City DESC";
    QTest::newRow("unknown names skipped")
        << none << none << "Nowhere DESC,,City" << QStringList{"City:2"} << "City";
    QTest::newRow("a name is matched once")
        << none << none << "City,city DESC" << QStringList{"City:2"} << "City";
    QTest::newRow("direction words stand alone") << none << none << "City DESCENDING" << QStringList{} << "";
    QTest::newRow("words after the direction")
        << none << none << "City DESC NULLS LAST" << QStringList{"City:3"} << "City DESC";
    QTest::newRow("empty text clears") << none << none << "  " << QStringList{} << "";
}

void TestGridMarkers::orderTextBecomesMarkers()
{
    QFETCH(TOrvoDBGridOptions, add);
    QFETCH(TOrvoDBGridOptions, remove);
    QFETCH(QString, text);
    QFETCH(QStringList, markers);
    QFETCH(QString, readBack);
    OrderFixture f;
    f.SetOptions(add, remove);
    f.Grid.SetOrderFields(QStringLiteral("F10"));
    f.Grid.SetOrderFields(text);
    QCOMPARE(f.Markers(), markers);
    QCOMPARE(f.Grid.OrderFields(), readBack);
    QCOMPARE(f.Grid.StoredOrderText(), readBack);
    QCOMPARE(f.Title("F10")->Marker(), tmNone);
}

void TestGridMarkers::titleClicksAdvanceMarkers_data()
{
    QTest::addColumn<TOrvoDBGridOptions>("add");
    QTest::addColumn<bool>("clearAllowed");
    QTest::addColumn<QString>("clicks"); // a field name per click; "+" before it holds Ctrl
    QTest::addColumn<QStringList>("orders");

    const TOrvoDBGridOptions none;
    QTest::newRow("plain click cycles one column")
        << none << false << "City City City State" << QStringList{"City", "City DESC", "City", "State"};
    QTest::newRow("single column may be cleared") << TOrvoDBGridOptions{dgMarkerAutoSwitch} << true
                                                  << "City City City" << QStringList{"City", "City DESC", ""};
    QTest::newRow("Ctrl appends and advances")
        << none << false << "+City +State +State +City"
        << QStringList{"City", "City,State", "City,State DESC", "City DESC,State DESC"};
    QTest::newRow("Ctrl on the first of two descending keys ascends")
        << none << false << "+City +City +State +State +City"
        << QStringList{"City", "City DESC", "City DESC,State", "City DESC,State DESC", "City,State DESC"};
    QTest::newRow("Ctrl removes only the last descending key")
        << none << false << "+City +State +State +State"
        << QStringList{"City", "City,State", "City,State DESC", "City"};
    QTest::newRow("a sole key stays unless clearing is allowed")
        << none << false << "+City +City +City" << QStringList{"City", "City DESC", "City"};
    QTest::newRow("a sole key may be cleared")
        << none << true << "+City +City +City" << QStringList{"City", "City DESC", ""};
    QTest::newRow("ascending only") << TOrvoDBGridOptions{dgMarkerAscendOnly} << false << "City City +State"
                                    << QStringList{"City", "City", "City,State"};
}

void TestGridMarkers::titleClicksAdvanceMarkers()
{
    QFETCH(TOrvoDBGridOptions, add);
    QFETCH(bool, clearAllowed);
    QFETCH(QString, clicks);
    QFETCH(QStringList, orders);
    OrderFixture f;
    f.SetOptions(add, {});
    if (clearAllowed)
        f.Grid.SetOptionsExt(f.Grid.OptionsExt() + dgMarkerClearAllowed);
    QStringList seen;
    for (const QString& click : clicks.split(QLatin1Char(' '))) {
        const bool ctrl = click.startsWith(QLatin1Char('+'));
        f.Title(click.mid(ctrl ? 1 : 0))->ToggleMarker(!ctrl);
        seen << f.Grid.OrderFields();
    }
    QCOMPARE(seen, orders);
}

void TestGridMarkers::tenthColumnGetsNoMarker()
{
    OrderFixture f;
    f.Grid.SetOrderFields(TenFields.join(QLatin1Char(',')));
    QCOMPARE(f.Grid.Columns()->OrderList().size(), 9);
    QCOMPARE(f.Title("F9")->MarkerIndex(), 18);
    QCOMPARE(f.Title("F10")->Marker(), tmNone);
    QVERIFY(!f.Grid.OrderFields().contains(QStringLiteral("F10")));

    f.Grid.SetOrderFields(QString());
    for (const QString& name : TenFields)
        f.Title(name)->ToggleMarker(false);
    QCOMPARE(f.Grid.Columns()->OrderList().size(), 9);
    QCOMPARE(f.Title("F10")->MarkerIndex(), -1);
}

void TestGridMarkers::markerSettersKeepTheOrderList()
{
    OrderFixture f;
    f.Grid.SetOrderFields(QStringLiteral("Country,State DESC,City"));

    // Moving by position renumbers every marker.
    f.Title("City")->SetOrderIndex(1);
    QCOMPARE(f.Markers(), (QStringList{"City:2", "Country:4", "State:7"}));
    QCOMPARE(f.Title("City")->OrderIndex(), 1);

    // Leaving the order closes the gap; joining appends.
    f.Title("Country")->SetMarker(tmNone);
    QCOMPARE(f.Markers(), (QStringList{"City:2", "State:5"}));
    QCOMPARE(f.Title("Country")->OrderIndex(), -1);
    f.Title("F4")->SetMarker(tmDescend);
    QCOMPARE(f.Markers(), (QStringList{"City:2", "State:5", "F4:7"}));
    f.Title("State")->SetMarkerIndex(-1);
    QCOMPARE(f.Markers(), (QStringList{"City:2", "F4:5"}));
    f.Title("F5")->SetMarkerIndex(0);
    QCOMPARE(f.Grid.OrderFields(), QStringLiteral("City,F4 DESC,F5"));

    // A title keeps its marker when it restores its defaults; the order list still has it.
    f.Title("F4")->SetHeader(QStringLiteral("Top"));
    f.Title("F4")->RestoreDefaults();
    QCOMPARE(f.Title("F4")->MarkerIndex(), 5);
    QCOMPARE(f.Title("F4")->Marker(), tmDescend);
    QVERIFY(f.Title("F4")->Header().isEmpty());

    f.Grid.Columns()->ClearMarkers();
    QVERIFY(f.Grid.Columns()->OrderList().isEmpty());
    QVERIFY(f.Grid.OrderFields().isEmpty());
}

void TestGridMarkers::markerOptionsRenumber()
{
    OrderFixture f;
    f.SetOptions({}, {dgMarkerAutoToggle});
    f.Title("State")->SetMarkerIndex(5);
    f.Title("City")->SetMarkerIndex(1);
    QCOMPARE(f.Markers(), (QStringList{"State:5", "City:1"}));

    f.SetOptions({dgMarkerAutoToggle}, {});
    QCOMPARE(f.Markers(), (QStringList{"State:3", "City:5"}));
    f.SetOptions({dgMarkerAscendOnly}, {});
    QCOMPARE(f.Markers(), (QStringList{"State:2", "City:4"}));
    f.SetOptions({dgMarkerAutoSwitch}, {dgMarkerAscendOnly});
    QCOMPARE(f.Markers(), QStringList{"State:0"});
    QCOMPARE(f.Grid.OrderFields(), QStringLiteral("State"));
}

void TestGridMarkers::closedDatasetKeepsTheText()
{
    OrderFixture f;
    f.Table.Close();
    f.Grid.SetOrderFields(QStringLiteral("City DESC; whatever , State"));
    QCOMPARE(f.Grid.OrderFields(), QStringLiteral("City DESC, whatever , State"));
    QCOMPARE(f.Grid.Columns()->OrderList().size(), 0);

    f.Table.Open();
    f.Grid.ActivateOrder();
    QCOMPARE(f.Markers(), (QStringList{"City:3", "State:4"}));
    QCOMPARE(f.Grid.OrderFields(), QStringLiteral("City DESC,State"));

    // Closing drops the default columns; the order text stays behind for the next opening.
    f.Table.Close();
    QCOMPARE(f.Grid.OrderFields(), QStringLiteral("City DESC,State"));
}

void TestGridMarkers::orderChangedFiresOncePerBracket()
{
    OrderFixture f;
    int changed = 0;
    f.Grid.OnOrderChanged = [&](QObject* sender) {
        QCOMPARE(sender, &f.Grid);
        ++changed;
    };
    f.Title("City")->ToggleMarker(true);
    QCOMPARE(changed, 1);

    f.Grid.BeginOrderUpdate();
    f.Title("State")->ToggleMarker(false);
    f.Title("State")->ToggleMarker(false);
    QCOMPARE(changed, 1);
    f.Grid.EndOrderUpdate();
    QCOMPARE(changed, 2);
    f.Grid.EndOrderUpdate(); // an extra close is ignored
    QCOMPARE(changed, 2);

    // Unchanged orders and assigned ones stay silent.
    f.Grid.SetOrderFields(QStringLiteral("City,State DESC"));
    f.Grid.AssignOrderFields(QStringLiteral("Country"));
    QCOMPARE(f.Grid.OrderFields(), QStringLiteral("Country"));
    QCOMPARE(changed, 2);

    // An edit in progress is posted before the order changes.
    f.Table.Edit();
    f.Table.FieldByName(QStringLiteral("F4"))->SetAsString(QStringLiteral("kept"));
    f.Title("F4")->ToggleMarker(true);
    QCOMPARE(f.Table.State(), dsBrowse);
    QCOMPARE(f.Table.FieldByName(QStringLiteral("F4"))->AsString(), QStringLiteral("kept"));
    QCOMPARE(changed, 3);
}

void TestGridMarkers::knownDatasetHearsOnlyTheStrategy()
{
    OrderFixture f;
    TOrderingGrid grid;
    grid.SetDataSource(&f.Source);
    int changed = 0;
    grid.OnOrderChanged = [&](QObject*) { ++changed; };

    grid.ColumnByFieldName(QStringLiteral("City"))->Title()->ToggleMarker(true);
    QCOMPARE(changed, 1); // automatic ordering is off: the host sorts
    QVERIFY(grid.Applied.isEmpty());

    grid.SetOptionsEx(grid.OptionsEx() + dgAutoUpdateOrder);
    QCOMPARE(grid.Applied, QStringList{"City"}); // switching it on applies the order
    grid.ColumnByFieldName(QStringLiteral("City"))->Title()->ToggleMarker(true);
    QCOMPARE(changed, 1);
    QCOMPARE(grid.Applied.last(), QStringLiteral("City DESC"));

    grid.UpdateOrder(false);
    QCOMPARE(grid.Applied.size(), 3);
    grid.SetOptionsEx(grid.OptionsEx() - dgAutoUpdateOrder);
    grid.UpdateOrder(true);
    QCOMPARE(grid.Applied.size(), 3);
}

void TestGridMarkers::loadingOnlyRearrangesTheOrder()
{
    OrderFixture f;
    TOrvoDBGrid grid;
    grid.SetOptions(grid.Options() - dgMarkerAutoToggle);
    grid.BeginLoad();
    for (const char* name : {"Country", "State", "City"}) {
        TOrvoColumn* column = grid.Columns()->Add();
        column->SetFieldName(QString::fromLatin1(name));
    }
    grid.Columns()->Items(0)->Title()->SetMarkerIndex(4);
    grid.Columns()->Items(2)->Title()->SetMarkerIndex(3);
    grid.SetOrderFields(QStringLiteral("City DESC,Country"));
    grid.Loaded();

    QStringList markers;
    for (const QPointer<TOrvoColumn>& column : grid.Columns()->OrderList())
        markers << QStringLiteral("%1:%2").arg(column->FieldName()).arg(column->Title()->MarkerIndex());
    QCOMPARE(markers, (QStringList{"City:3", "Country:4"}));
    QCOMPARE(grid.OrderFields(), QStringLiteral("City DESC,Country"));
}

void TestGridMarkers::dataUpdateKeepsTheRecordOnItsRow()
{
    OrderFixture f;
    f.Grid.show();
    QVERIFY(f.Grid.DataLink()->BufferCount() > 4);
    f.Table.MoveBy(20);
    f.Table.MoveBy(-2);
    TField* state = f.Table.FieldByName(QStringLiteral("State"));
    const QString record = state->AsString();
    const int row = f.Grid.DataLink()->ActiveRecord();
    QVERIFY(row > 0);

    f.Grid.BeginDataUpdate();
    f.Grid.BeginDataUpdate();
    f.Table.First();
    f.Grid.EndDataUpdate(false);
    QVERIFY(f.Table.ControlsDisabled());
    f.Grid.EndDataUpdate(false);
    QVERIFY(!f.Table.ControlsDisabled());
    QCOMPARE(state->AsString(), record);
    QCOMPARE(f.Grid.DataLink()->ActiveRecord(), row);

    // A reorder finds the record again and takes that position, on the same row.
    f.Grid.BeginDataUpdate();
    f.Table.SetIndexFieldNames(QStringLiteral("State DESC"));
    QVERIFY(f.Table.Locate(QStringLiteral("State"), TVariant(record), {}));
    f.Grid.EndDataUpdate(true);
    QCOMPARE(state->AsString(), record);
    QCOMPARE(f.Grid.DataLink()->ActiveRecord(), row);
    f.Table.Prior();
    QCOMPARE(state->AsString(), QStringLiteral("s%1").arg(record.mid(1).toInt() + 1));

    // A link that lets go of its dataset in between still gives it its controls back.
    f.Grid.BeginDataUpdate();
    f.Grid.SetDataSource(nullptr);
    f.Grid.EndDataUpdate(false);
    QVERIFY(!f.Table.ControlsDisabled());
}

QTEST_MAIN(TestGridMarkers)
#include "tst_grid_markers.moc"
