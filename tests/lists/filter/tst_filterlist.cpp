#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvocolumntitle.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/common/gridtestwidgets.h"
#include "grid/common/tgridsettingsguard.h"
#include "grid/common/titemstable.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "grid/filter/torvodbgridfilter.h"
#include "grid/search/torvodbgridsearch.h"
#include "grid/selection/torvobookmarklist.h"
#include "lists/filter/torvodbfilterdata.h"
#include "lists/filter/torvodbgridfilterlist.h"
#include "lists/filter/torvodbpopupfilterlist.h"
#include "lists/popup/tlistbutton.h"
#include "platform/data/tdataset.h"
#include "platform/data/tdatasource.h"
#include "platform/data/tfield.h"
#include "platform/data/tintegerfield.h"
#include "platform/data/torvodbcustomdata.h"
#include "platform/data/tstringfield.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QStyle>
#include <QTest>

#include <sqlite3.h>

#include <memory>

using namespace orvo;
using namespace orvo::test;

namespace {

QString Text(const char* text)
{
    return QString::fromUtf8(text);
}

/// A grid that counts the requests for its filter form.
class TFormGrid : public TOrvoDBGrid
{
public:
    int FormRequests = 0;
    void ShowFilterForm() override { ++FormRequests; }
};

/// A shown grid with the columns id, name and price over the items table, whose names and
/// prices the test sets, with the auto-filter buttons on.
struct TFilterFixture
{
    explicit TFilterFixture(const QList<TVariant>& names, const QList<TVariant>& prices = {})
        : Items(int(names.size()))
    {
        for (int i = 0; i < names.size(); ++i)
            Items.Db.ExecSQL(QStringLiteral("UPDATE items SET name = ?, price = ? WHERE id = ?"),
                             {names.at(i), prices.value(i, TVariant(1.0)), TVariant(qint64(i + 1))});
        AddColumns(Grid, {"id", "name", "price"});
        Grid.SetDataSource(&Items.Source);
        Items.Table.Open();
        Grid.FilterGrid()->SetAutoFilter(true);
    }
    ~TFilterFixture() { Grid.SetDataSource(nullptr); }

    bool Show() { return ShowExposed(Grid, 560, 320); }
    TOrvoColumn* Column(int index) const { return Grid.Columns()->Items(index); }
    void SetOptions(TOrvoDBGridFilterOptions options) { Grid.FilterGrid()->SetOptions(options); }

    /// The open auto-filter list of the grid; null when none is open.
    TOrvoDBGridFilterList* OpenList() const
    {
        for (auto* list : Grid.findChildren<TOrvoDBGridFilterList*>(Qt::FindDirectChildrenOnly)) {
            if (list->ListShown())
                return list;
        }
        return nullptr;
    }
    TOrvoDBGridFilterList* Open(int column)
    {
        Grid.ShowAutoFilterList(Column(column));
        return OpenList();
    }
    /// Where the filter button of a column's title is.
    QPoint FilterButton(int column) const
    {
        const QRect title = Grid.CellRect(Grid.DataToRawColumn(column), 0);
        const int width = Grid.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &Grid);
        return QPoint(title.right() - width / 2, title.center().y());
    }
    /// The ids of the records the grid's dataset shows, in order.
    QList<int> ShownIds()
    {
        QList<int> ids;
        TDataSet& table = Items.Table;
        for (table.First(); !table.Eof(); table.Next())
            ids << table.FieldByName(QStringLiteral("id"))->AsInteger();
        return ids;
    }

    TItemsTable Items;
    TFormGrid Grid;
};

TOrvoDBPopupFilterList* ListOf(const TOrvoDBGridFilterList* container)
{
    return container ? container->FilterList() : nullptr;
}

/// The item texts of the list's rows, in order.
QStringList ItemsOf(TOrvoDBPopupFilterList* list)
{
    QStringList items;
    TDataSet* values = list->DataSet();
    for (values->First(); !values->Eof(); values->Next())
        items << values->FieldByName(QStringLiteral("Item"))->AsString();
    return items;
}

/// The middle of the lowest title cell of a list column, under any title button.
QPoint TitleOf(TOrvoDBPopupFilterList* list, TOrvoDBPopupFilterList::TFilterListColumn column)
{
    return list->CellRect(list->DataToRawColumn(int(column)), list->TitleOffset() - 1).center();
}

/// The middle of a title button, over the columns it spans.
QPoint TitleButtonOf(TOrvoDBPopupFilterList* list, TOrvoDBPopupFilterList::TFilterListColumn button)
{
    int row = 0;
    for (int shown = 0; shown < int(button); ++shown)
        row += list->TitleButtonShown(TOrvoDBPopupFilterList::TFilterListColumn(shown)) ? 1 : 0;
    return list->CellRect(list->DataToRawColumn(TOrvoDBPopupFilterList::flcValue), row).center();
}

/// Checks the rows whose item text is one of `items`, as clicks on their check boxes would.
void Check(TOrvoDBPopupFilterList* list, const QStringList& items)
{
    TDataSet* values = list->DataSet();
    for (values->First(); !values->Eof(); values->Next()) {
        if (items.contains(values->FieldByName(QStringLiteral("Item"))->AsString()))
            list->InvertCurrentRow();
    }
    list->FlushUpdates();
}

QStringList CheckedItems(TOrvoDBPopupFilterList* list)
{
    QStringList items;
    TDataSet* values = list->DataSet();
    for (values->First(); !values->Eof(); values->Next()) {
        if (list->SelectedRows()->CurrentRowSelected())
            items << values->FieldByName(QStringLiteral("Item"))->AsString();
    }
    return items;
}

/// The number of stored items whose name is one of `names`, read by SQLite itself.
int StoredNamesCount(const TItemsTable& items, const QStringList& names)
{
    sqlite3* db = nullptr;
    const QByteArray path = (items.Dir.path() + QStringLiteral("/items.db")).toUtf8();
    if (sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return -1;
    }
    int count = 0;
    for (const QString& name : names) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, "SELECT count(*) FROM items WHERE name = ?", -1, &statement, nullptr);
        const QByteArray utf8 = name.toUtf8();
        sqlite3_bind_text(statement, 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        if (sqlite3_step(statement) == SQLITE_ROW)
            count += sqlite3_column_int(statement, 0);
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return count;
}

const TOrvoDBGridFilterOptions WithButtons{foListAlignment, foOverlayedList};

/// Rows of two integer fields in memory: (Id, Code) for the grid, (Code, Name) looked up.
class TRowsData : public TOrvoDBCustomData
{
public:
    TRowsData(const QString& first, const QString& second, QList<QPair<int, TVariant>> rows)
        : Rows(std::move(rows))
    {
        auto* key = new TIntegerField(this);
        key->SetFieldName(first);
        key->SetDataSet(this);
        auto* value = new TStringField(this);
        value->SetFieldName(second);
        value->SetSize(20);
        value->SetDataSet(this);
    }
    QList<QPair<int, TVariant>> Rows;

protected:
    void DoGetRecordCount(qint64& count) override { count = Rows.size(); }
    void InternalGetFieldValue(qint64 index, const TField* field, TVariant& value) override
    {
        value = field->Index() == 0 ? TVariant(qint64(Rows.at(index).first)) : Rows.at(index).second;
    }
};

/// A grid whose column shows a colour name looked up by the record's code.
struct TLookupFixture
{
    TLookupFixture()
    {
        auto* name = new TStringField(&Records);
        name->SetFieldName(QStringLiteral("CodeName"));
        name->SetSize(20);
        name->SetFieldKind(fkLookup);
        name->SetKeyFields(QStringLiteral("Code"));
        name->SetLookupDataSet(&Names);
        name->SetLookupKeyFields(QStringLiteral("Code"));
        name->SetLookupResultField(QStringLiteral("Name"));
        name->SetDataSet(&Records);
        Names.SetActive(true);
        Records.SetActive(true);
        Source.SetDataSet(&Records);
        Grid.SetDataSource(&Source);
        Grid.Columns()->Add()->SetFieldName(QStringLiteral("CodeName"));
        Grid.FilterGrid()->SetOptions(WithButtons);
    }
    ~TLookupFixture() { Grid.SetDataSource(nullptr); }

    TRowsData Names{QStringLiteral("Code"),
                    QStringLiteral("Name"),
                    {{7, TVariant(QStringLiteral("red"))},
                     {8, TVariant(QStringLiteral("blue"))},
                     {9, TVariant(QStringLiteral("green"))}}};
    TRowsData Records{QStringLiteral("Id"),
                      QStringLiteral("Code"),
                      {{1, TVariant(QStringLiteral("9"))},
                       {2, TVariant(QStringLiteral("7"))},
                       {3, TVariant(QStringLiteral("9"))}}};
    TDataSource Source;
    TOrvoDBGrid Grid;
};

} // namespace

class TestFilterList : public QObject
{
    Q_OBJECT

private slots:
    void init() { FGuard = std::make_unique<TGridSettingsGuard>(); }
    void cleanup() { FGuard.reset(); }

    void theTitleButtonOpensAndClosesTheList()
    {
        TFilterFixture f({TVariant(Text("pear")), TVariant(Text("apple"))});
        QVERIFY(f.Show());
        QTest::mouseClick(f.Grid.viewport(), Qt::LeftButton, {}, f.FilterButton(1));
        TOrvoDBGridFilterList* open = f.OpenList();
        QVERIFY(open);
        QCOMPARE(open->Column(), f.Column(1));
        QCOMPARE(ItemsOf(ListOf(open)), QStringList({Text("apple"), Text("pear")}));
        // The list opens under the title.
        const QPoint titleBottom =
            f.Grid.viewport()->mapToGlobal(f.Grid.CellRect(f.Grid.DataToRawColumn(1), 0).bottomLeft());
        QVERIFY(qAbs(ListOf(open)->pos().y() - titleBottom.y()) <= 3);
        QTest::mouseClick(f.Grid.viewport(), Qt::LeftButton, {}, f.FilterButton(1));
        QVERIFY(!f.OpenList());
    }

    void theFilterButtonShowsWhetherTheColumnFilters()
    {
        TFilterFixture f({TVariant(Text("pear")), TVariant(Text("apple"))});
        QVERIFY(f.Show());
        const auto button = [&f] {
            const QPoint centre = f.FilterButton(1);
            return f.Grid.viewport()->grab(QRect(centre - QPoint(6, 6), QSize(12, 12))).toImage();
        };
        const QImage plain = button();
        f.Column(1)->SetFilterList({Text("apple")});
        QVERIFY(f.Grid.FilterGrid()->Engaged());
        const QImage checked = button();
        QVERIFY(checked != plain);
        f.Column(1)->SetFilterList({});
        QCOMPARE(button(), plain);
        f.Column(1)->SetFilterText(QStringLiteral("name > 'b'"));
        QCOMPARE(button(), checked);
    }

    void theExpandStyleChoosesTheFilterTool_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("listOpens");
        QTest::addColumn<int>("formRequests");
        QTest::newRow("filter list") << int(cesFilterList) << true << 0;
        QTest::newRow("filter form") << int(cesFilterForm) << false << 1;
    }
    void theExpandStyleChoosesTheFilterTool()
    {
        QFETCH(int, style);
        QFETCH(bool, listOpens);
        QFETCH(int, formRequests);
        TFilterFixture f({TVariant(Text("pear")), TVariant(Text("apple"))});
        f.Grid.FilterGrid()->SetAutoFilter(false);
        f.Column(1)->SetExpandStyle(TOrvoColumnExpandStyle(style));
        int expandClicks = 0;
        f.Grid.OnExpandClick = [&expandClicks](TOrvoColumn*) { ++expandClicks; };
        QVERIFY(f.Show());
        QTest::mouseClick(f.Grid.viewport(), Qt::LeftButton, {}, f.FilterButton(1));
        QCOMPARE(f.OpenList() != nullptr, listOpens);
        QCOMPARE(f.Grid.FormRequests, formRequests);
        QCOMPARE(expandClicks, 0);
    }

    void theFilterOptionsDressTheList_data()
    {
        QTest::addColumn<bool>("defaults");
        QTest::newRow("the defaults") << true;
        QTest::newRow("none") << false;
    }
    void theFilterOptionsDressTheList()
    {
        QFETCH(bool, defaults);
        TFilterFixture f({TVariant(Text("pear")), TVariant(Text("apple"))});
        if (!defaults)
            f.SetOptions({});
        QVERIFY(f.Show());
        TOrvoDBPopupFilterList* list = ListOf(f.Open(1));
        QCOMPARE(list->AutoApply(), defaults);
        QCOMPARE(list->OkButton()->isVisible(), !defaults);
        QCOMPARE(list->CancelButton()->isVisible(), !defaults);
        QCOMPARE(list->OptionsEx().Contains(dgTotalFooter), !defaults);
        QCOMPARE(list->Animation(), defaults);
        QCOMPARE(list->MinParentWidth(), defaults);
        QCOMPARE(list->AlignUnder(), defaults);
        QVERIFY(!list->LoadAllItems());
        QVERIFY(!list->CheckedFirst());
        QVERIFY(!list->CopyKeys());
        QVERIFY(list->Options().Contains(dgMultiSelect));
        QVERIFY(!list->Options().Contains(dgEditing));
        if (defaults)
            QVERIFY(list->width() >= f.Grid.CellRect(f.Grid.DataToRawColumn(1), 0).width());
    }

    void anIncrementalListTypesIntoTheGridSearch_data()
    {
        QTest::addColumn<bool>("incremental");
        QTest::newRow("incremental") << true;
        QTest::newRow("searching by prefix") << false;
    }
    void anIncrementalListTypesIntoTheGridSearch()
    {
        QFETCH(bool, incremental);
        TFilterFixture f({TVariant(Text("pear")), TVariant(Text("apple")), TVariant(Text("plum"))});
        f.SetOptions(incremental ? WithButtons + foIncrementalList : WithButtons);
        QVERIFY(f.Show());
        f.Grid.setFocus();
        TOrvoDBPopupFilterList* list = ListOf(f.Open(1));
        QCOMPARE(list->Search()->Incremental(), incremental);
        QTest::keyClicks(&f.Grid, QStringLiteral("pl"));
        QCOMPARE(incremental ? list->Search()->Text() : list->SearchText(), Text("pl"));
        if (incremental)
            QVERIFY(list->Search()->Options().Contains(soFilterRows));
        else
            QCOMPARE(list->DataSet()->FieldByName(QStringLiteral("Item"))->AsString(), Text("plum"));
        // While a search is typed, a blank is part of it and checks nothing.
        QTest::keyClick(&f.Grid, Qt::Key_Space);
        list->FlushUpdates();
        QVERIFY(CheckedItems(list).isEmpty());
        // Reopened on the values of all records, the list starts without the search.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          TitleOf(list, TOrvoDBPopupFilterList::flcCheck));
        QVERIFY(f.OpenList());
        QVERIFY(list->LoadAllItems());
        QVERIFY(list->Search()->Text().isEmpty());
        QVERIFY(list->SearchText().isEmpty());
    }

    void aParentsArrowComesBeforeItsFilterButton()
    {
        TFilterFixture f({TVariant(Text("pear")), TVariant(Text("apple"))});
        TOrvoColumn* group = f.Column(0);
        group->SetExpandCols(1);
        group->SetExpanded(true);
        QVERIFY(f.Show());
        // The unfolded parent's title stands above its sub-column, its arrow at the end.
        const QRect over = f.Grid.CellRect(f.Grid.DataToRawColumn(1), 0);
        QTest::mouseClick(f.Grid.viewport(), Qt::LeftButton, {}, QPoint(over.right() - 2, over.center().y()));
        QVERIFY(!group->Expanded());
        QVERIFY(!f.OpenList());
    }

    void theFilterKeyOpensTheListOfTheCurrentColumn()
    {
        TFilterFixture f({TVariant(Text("pear")), TVariant(Text("apple"))});
        QVERIFY(f.Show());
        f.Grid.setFocus();
        f.Grid.SetCol(f.Grid.DataToRawColumn(1));
        QTest::keyClick(&f.Grid, Qt::Key_F4);
        QVERIFY(f.OpenList());
        QCOMPARE(f.OpenList()->Column(), f.Column(1));
        // The grid's keys go to the open list: Esc closes it there, not the grid's edit.
        QTest::keyClick(&f.Grid, Qt::Key_Escape);
        QVERIFY(!f.OpenList());
    }

    void valuesComeOnceInOrder_data()
    {
        QTest::addColumn<QList<TVariant>>("names");
        QTest::addColumn<QList<TVariant>>("prices");
        QTest::addColumn<int>("column");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("texts without regard to case, the empty ones named")
            << QList<TVariant>{TVariant(Text("A")), TVariant(Text("b")), TVariant(Text("B")),
                               TVariant(Text("a")), TVariant(Text("")),  TVariant::Null()}
            << QList<TVariant>{} << 1 << QStringList{Text("(Empty)"), Text("A"), Text("b")};
        QTest::newRow("numbers by value")
            << QList<TVariant>{TVariant(Text("x")), TVariant(Text("y")), TVariant(Text("z"))}
            << QList<TVariant>{TVariant(10.0), TVariant(-10.0), TVariant(2.0)} << 2
            << QStringList{Text("-10"), Text("2"), Text("10")};
    }
    void valuesComeOnceInOrder()
    {
        QFETCH(QList<TVariant>, names);
        QFETCH(QList<TVariant>, prices);
        QFETCH(int, column);
        QFETCH(QStringList, items);
        TFilterFixture f(names, prices);
        QVERIFY(f.Show());
        QCOMPARE(ItemsOf(ListOf(f.Open(column))), items);
    }

    void checkedValuesComeFirstAndShowChecked()
    {
        TFilterFixture f(
            {TVariant(Text("d")), TVariant(Text("c")), TVariant(Text("b")), TVariant(Text("a"))});
        f.SetOptions(WithButtons + foCheckedFirst + foLoadAllItems);
        QVERIFY(f.Show());
        f.Column(1)->SetFilterList({Text("D"), Text("b")});
        TOrvoDBPopupFilterList* list = ListOf(f.Open(1));
        QCOMPARE(ItemsOf(list), QStringList({Text("b"), Text("d"), Text("a"), Text("c")}));
        QCOMPARE(CheckedItems(list), QStringList({Text("b"), Text("d")}));
        QCOMPARE(list->Columns()->Items(TOrvoDBPopupFilterList::flcValue)->Title()->Caption(),
                 Text("Clear All"));
    }

    void okStoresTheCheckedKeysAndTheGridShowsOnlyThose()
    {
        TFilterFixture f({TVariant(Text("pear")), TVariant(Text("apple")), TVariant(Text("plum")),
                          TVariant(Text("apple"))});
        f.SetOptions(WithButtons);
        QVERIFY(f.Show());
        TOrvoDBPopupFilterList* list = ListOf(f.Open(1));
        QVERIFY(list->OkButton()->isVisible());
        Check(list, {Text("apple"), Text("plum")});
        // Nothing is stored before OK.
        QVERIFY(f.Column(1)->FilterList().isEmpty());
        QCOMPARE(f.ShownIds(), QList<int>({1, 2, 3, 4}));
        QTest::mouseClick(list->OkButton(), Qt::LeftButton);
        QVERIFY(!f.OpenList());
        QCOMPARE(f.Column(1)->FilterList(), QStringList({Text("apple"), Text("plum")}));
        QCOMPARE(f.ShownIds(), QList<int>({2, 3, 4}));
    }

    void closingWithoutAcceptingKeepsTheFilter_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Cancel") << 0;
        QTest::newRow("Esc") << 1;
        QTest::newRow("a click elsewhere") << 2;
    }
    void closingWithoutAcceptingKeepsTheFilter()
    {
        QFETCH(int, how);
        TFilterFixture f({TVariant(Text("pear")), TVariant(Text("apple")), TVariant(Text("plum"))});
        f.SetOptions(WithButtons + foLoadAllItems);
        QVERIFY(f.Show());
        f.Column(1)->SetFilterList({Text("pear")});
        TOrvoDBPopupFilterList* list = ListOf(f.Open(1));
        Check(list, {Text("apple"), Text("plum")});
        if (how == 0)
            QTest::mouseClick(list->CancelButton(), Qt::LeftButton);
        else if (how == 1)
            QTest::keyClick(&f.Grid, Qt::Key_Escape);
        else
            QTest::mouseClick(f.Grid.viewport(), Qt::LeftButton, {},
                              f.Grid.CellRect(f.Grid.DataToRawColumn(0), 1).center());
        QVERIFY(!f.OpenList());
        QCOMPARE(f.Column(1)->FilterList(), QStringList{Text("pear")});
        QCOMPARE(f.ShownIds(), QList<int>{1});
    }

    void clicksOnARowCheckAndUncheckIt_data()
    {
        QTest::addColumn<int>("column");
        QTest::newRow("on the check box") << int(TOrvoDBPopupFilterList::flcCheck);
        QTest::newRow("on the value") << int(TOrvoDBPopupFilterList::flcValue);
    }
    void clicksOnARowCheckAndUncheckIt()
    {
        QFETCH(int, column);
        TFilterFixture f({TVariant(Text("pear")), TVariant(Text("apple")), TVariant(Text("plum"))});
        f.SetOptions(WithButtons);
        QVERIFY(f.Show());
        TOrvoDBPopupFilterList* list = ListOf(f.Open(1));
        const int rawCol = list->DataToRawColumn(column);
        const int first = list->TitleOffset();
        const auto click = [&](int row) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->CellRect(rawCol, first + row).center());
            // Quick presses on one row would make a double click.
            QTest::qWait(QApplication::doubleClickInterval() + 20);
        };
        click(1);
        click(2);
        list->FlushUpdates();
        QCOMPARE(CheckedItems(list), QStringList({Text("pear"), Text("plum")}));
        click(1);
        list->FlushUpdates();
        QCOMPARE(CheckedItems(list), QStringList{Text("plum")});
        QVERIFY(f.OpenList());
    }

    void enterAcceptsAndSpaceToggles()
    {
        TFilterFixture f({TVariant(Text("pear")), TVariant(Text("apple"))});
        f.SetOptions(WithButtons);
        QVERIFY(f.Show());
        f.Grid.setFocus();
        TOrvoDBPopupFilterList* list = ListOf(f.Open(1));
        list->DataSet()->Last();
        QTest::keyClick(&f.Grid, Qt::Key_Space);
        QTest::keyClick(&f.Grid, Qt::Key_Return);
        QVERIFY(!f.OpenList());
        QCOMPARE(f.Column(1)->FilterList(), QStringList{Text("pear")});
    }

    void openingStoresNothingBackThatTheListDoesNotShow()
    {
        // The second record's name is hidden by the id filter, yet it stays checked, also
        // when the list reopens in place (while it is shown its changes come delayed).
        TFilterFixture f({TVariant(Text("pear")), TVariant(Text("apple"))});
        QVERIFY(f.Show());
        f.Column(0)->SetFilterText(QStringLiteral("id = 1"));
        f.Column(1)->SetFilterText(QStringLiteral("name <> 'x'"));
        f.Column(1)->SetFilterList({Text("apple"), Text("pear")});
        TOrvoDBPopupFilterList* list = ListOf(f.Open(1));
        QCOMPARE(ItemsOf(list), QStringList{Text("pear")});
        QVERIFY(list->AutoApply());
        QTest::qWait(TOrvoCustomDBGrid::UpdateDelay() + 50);
        QCOMPARE(f.Column(1)->FilterList(), QStringList({Text("apple"), Text("pear")}));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          TitleButtonOf(list, TOrvoDBPopupFilterList::flcRemoveFilter));
        QVERIFY(f.Column(1)->FilterText().isEmpty());
        QVERIFY(f.OpenList());
        QTest::qWait(TOrvoCustomDBGrid::UpdateDelay() + 50);
        QCOMPARE(CheckedItems(list), QStringList{Text("pear")});
        QCOMPARE(f.Column(1)->FilterList(), QStringList({Text("apple"), Text("pear")}));
    }

    void clearAllAppliedAtOnceEmptiesTheFilterAndReopens()
    {
        TFilterFixture f({TVariant(Text("pear")), TVariant(Text("apple")), TVariant(Text("plum"))});
        QVERIFY(f.Show());
        f.Column(1)->SetFilterList({Text("pear")});
        TOrvoDBGridFilterList* open = f.Open(1);
        TOrvoDBPopupFilterList* list = ListOf(open);
        QVERIFY(!list->OkButton()->isVisible());
        QCOMPARE(ItemsOf(list), QStringList{Text("pear")});
        QCOMPARE(CheckedItems(list), QStringList{Text("pear")});
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          TitleOf(list, TOrvoDBPopupFilterList::flcValue));
        list->FlushUpdates();
        QVERIFY(f.Column(1)->FilterList().isEmpty());
        QCOMPARE(f.OpenList(), open);
        QCOMPARE(ItemsOf(list), QStringList({Text("apple"), Text("pear"), Text("plum")}));
        QVERIFY(CheckedItems(list).isEmpty());
        QCOMPARE(list->Columns()->Items(TOrvoDBPopupFilterList::flcValue)->Title()->Caption(),
                 Text("Select All"));
    }

    void selectAllChecksEveryRow()
    {
        TFilterFixture f({TVariant(Text("pear")), TVariant(Text("apple")), TVariant(Text("plum"))});
        f.SetOptions(WithButtons);
        QVERIFY(f.Show());
        TOrvoDBPopupFilterList* list = ListOf(f.Open(1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          TitleOf(list, TOrvoDBPopupFilterList::flcValue));
        list->FlushUpdates();
        QCOMPARE(CheckedItems(list), QStringList({Text("apple"), Text("pear"), Text("plum")}));
        QCOMPARE(list->Columns()->Items(TOrvoDBPopupFilterList::flcValue)->Title()->Caption(),
                 Text("Clear All"));
    }

    void loadingAllItemsShowsTheHiddenValuesAndKeepsFiltered()
    {
        TFilterFixture f({TVariant(Text("pear")), TVariant(Text("apple")), TVariant(Text("plum"))});
        f.SetOptions(WithButtons + foLoadAllItems);
        QVERIFY(f.Show());
        f.Column(0)->SetFilterText(QStringLiteral("id = 2"));
        TOrvoDBPopupFilterList* list = ListOf(f.Open(1));
        QCOMPARE(ItemsOf(list), QStringList({Text("apple"), Text("pear"), Text("plum")}));
        QVERIFY(f.Grid.FilterGrid()->Filtered());
        QCOMPARE(f.ShownIds(), QList<int>{2});
        // The check column's title switches back to the values of the records shown.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          TitleOf(list, TOrvoDBPopupFilterList::flcCheck));
        QVERIFY(f.OpenList());
        QVERIFY(!list->LoadAllItems());
        QCOMPARE(ItemsOf(list), QStringList{Text("apple")});
    }

    void pastingChecksTheNamedRowsOnly_data()
    {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QStringList>("checked");
        QTest::newRow("nothing matches") << Text("kiwi\nmango\tyellow\n") << QStringList{};
        QTest::newRow("keys before tabs, any case")
            << Text("PEAR\tgreen\r\nplum\nkiwi") << QStringList({Text("pear"), Text("plum")});
        QTest::newRow("empty") << QString() << QStringList{};
    }
    void pastingChecksTheNamedRowsOnly()
    {
        QFETCH(QString, clipboard);
        QFETCH(QStringList, checked);
        TFilterFixture f({TVariant(Text("pear")), TVariant(Text("apple")), TVariant(Text("plum"))});
        f.SetOptions(WithButtons);
        QVERIFY(f.Show());
        f.Grid.setFocus();
        TOrvoDBPopupFilterList* list = ListOf(f.Open(1));
        QGuiApplication::clipboard()->setText(clipboard);
        QTest::keyClick(&f.Grid, Qt::Key_V, Qt::ControlModifier);
        list->FlushUpdates();
        QCOMPARE(CheckedItems(list), checked);
        QVERIFY(f.OpenList());
    }

    void copyingGivesTheCheckedItems()
    {
        TFilterFixture f({TVariant(Text("pe\tar")), TVariant(Text("apple")), TVariant(Text("plum"))});
        f.SetOptions(WithButtons);
        QVERIFY(f.Show());
        f.Grid.setFocus();
        TOrvoDBPopupFilterList* list = ListOf(f.Open(1));
        Check(list, {Text("pe\tar"), Text("plum")});
        QTest::keyClick(&f.Grid, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), Text("pe ar\nplum"));
    }

    void removeFilterEmptiesTheExpression()
    {
        TFilterFixture f({TVariant(Text("pear")), TVariant(Text("apple")), TVariant(Text("plum"))});
        f.SetOptions(WithButtons);
        QVERIFY(f.Show());
        f.Column(1)->SetFilterText(QStringLiteral("name LIKE 'p%'"));
        TOrvoDBPopupFilterList* list = ListOf(f.Open(1));
        QVERIFY(list->TitleButtonShown(TOrvoDBPopupFilterList::flcRemoveFilter));
        QVERIFY(list->TitleButtonShown(TOrvoDBPopupFilterList::flcSelectFilter));
        QVERIFY(!list->TitleButtonShown(TOrvoDBPopupFilterList::flcAddSelected));
        QCOMPARE(ItemsOf(list), QStringList({Text("pear"), Text("plum")}));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          TitleButtonOf(list, TOrvoDBPopupFilterList::flcRemoveFilter));
        QVERIFY(f.Column(1)->FilterText().isEmpty());
        QVERIFY(f.OpenList());
        QCOMPARE(ItemsOf(list), QStringList({Text("apple"), Text("pear"), Text("plum")}));
        QVERIFY(!list->TitleButtonShown(TOrvoDBPopupFilterList::flcRemoveFilter));
    }

    void selectFilterHandsTheColumnToTheFilterForm()
    {
        TFilterFixture f({TVariant(Text("pear")), TVariant(Text("apple"))});
        QVERIFY(f.Show());
        TOrvoDBPopupFilterList* list = ListOf(f.Open(1));
        QVERIFY(list->TitleButtonShown(TOrvoDBPopupFilterList::flcSelectFilter));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          TitleButtonOf(list, TOrvoDBPopupFilterList::flcSelectFilter));
        QCOMPARE(f.Grid.FormRequests, 1);
        QCOMPARE(f.Grid.SelectedColumn(), f.Column(1));
        QVERIFY(!f.OpenList());
        // A column offering only the list shows no form button.
        f.Column(1)->Title()->SetAutoFilters(TFilterStyles{fsFilterList});
        QVERIFY(!ListOf(f.Open(1))->TitleButtonShown(TOrvoDBPopupFilterList::flcSelectFilter));
    }

    void addSelectedChecksTheValuesOfTheSelectedRecords()
    {
        TFilterFixture f({TVariant(Text("pear")), TVariant(Text("apple")), TVariant(Text("plum")),
                          TVariant(Text("Apple"))});
        f.SetOptions(WithButtons + foAddSelected);
        f.Grid.SetOptions(f.Grid.Options() + dgMultiSelect);
        QVERIFY(f.Show());
        for (int id : {3, 4}) {
            QVERIFY(f.Items.Table.Locate(QStringLiteral("id"), TVariant(qint64(id)), {}));
            f.Grid.SelectCurrentRow();
        }
        TOrvoDBGridFilterList* open = f.Open(1);
        TOrvoDBPopupFilterList* list = ListOf(open);
        QVERIFY(list->TitleButtonShown(TOrvoDBPopupFilterList::flcAddSelected));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          TitleButtonOf(list, TOrvoDBPopupFilterList::flcAddSelected));
        list->FlushUpdates();
        QCOMPARE(f.OpenList(), open);
        // "Apple" and "apple" are one value: the row shows the first met.
        QCOMPARE(CheckedItems(list), QStringList({Text("apple"), Text("plum")}));
    }

    void awkwardValuesFilterExactly_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("quotes") << Text("O'Brien \"the\" fox");
        QTest::newRow("wildcards") << Text("50% _off_");
        QTest::newRow("brackets") << Text("[a] (b) {c}");
        QTest::newRow("line break") << Text("two\nlines");
    }
    void awkwardValuesFilterExactly()
    {
        QFETCH(QString, value);
        // Neighbours that a wildcard or a cut value would let through as well.
        TFilterFixture f({TVariant(value), TVariant(value + u'x'), TVariant(Text("50x xoffx")),
                          TVariant(value.left(3)), TVariant(value)});
        f.SetOptions(WithButtons);
        QVERIFY(f.Show());
        TOrvoDBPopupFilterList* list = ListOf(f.Open(1));
        Check(list, {value});
        QCOMPARE(CheckedItems(list), QStringList{value});
        QTest::mouseClick(list->OkButton(), Qt::LeftButton);
        QCOMPARE(f.Column(1)->FilterList(), QStringList{value});
        QCOMPARE(f.ShownIds(), QList<int>({1, 5}));
        QCOMPARE(StoredNamesCount(f.Items, {value}), 2);
    }

    void aLookupColumnStoresKeysAndShowsTexts()
    {
        TLookupFixture f;
        QVERIFY(ShowExposed(f.Grid, 400, 300));
        f.Grid.setFocus();
        TOrvoColumn* column = f.Grid.Columns()->Items(0);
        f.Grid.ShowAutoFilterList(column);
        TOrvoDBGridFilterList* open = f.Grid.findChild<TOrvoDBGridFilterList*>();
        QVERIFY(open && open->ListShown());
        TOrvoDBPopupFilterList* list = open->FilterList();
        QVERIFY(list->CopyKeys());
        QCOMPARE(ItemsOf(list), QStringList({Text("green"), Text("red")}));
        Check(list, {Text("green"), Text("red")});
        QTest::keyClick(&f.Grid, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), Text("9\tgreen\n7\tred"));
        QTest::keyClick(&f.Grid, Qt::Key_Return);
        QCOMPARE(column->FilterList(), QStringList({Text("7"), Text("9")}));
    }

    void uncommittedChecksSurviveShowingAllValues()
    {
        TFilterFixture f({TVariant(Text("pear")), TVariant(Text("apple")), TVariant(Text("plum"))});
        f.SetOptions(WithButtons);
        QVERIFY(f.Show());
        f.Column(0)->SetFilterText(QStringLiteral("id < 3"));
        TOrvoDBPopupFilterList* list = ListOf(f.Open(1));
        QCOMPARE(ItemsOf(list), QStringList({Text("apple"), Text("pear")}));
        Check(list, {Text("apple")});
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          TitleOf(list, TOrvoDBPopupFilterList::flcCheck));
        QVERIFY(list->LoadAllItems());
        QCOMPARE(ItemsOf(list), QStringList({Text("apple"), Text("pear"), Text("plum")}));
        QCOMPARE(CheckedItems(list), QStringList{Text("apple")});
        QVERIFY(f.Column(1)->FilterList().isEmpty());
    }

    void theButtonsChangePlacesRightToLeft()
    {
        TOrvoDBPopupFilterList list;
        list.resize(300, 200);
        QVERIFY(list.OkButton()->x() < list.CancelButton()->x());
        QVERIFY(list.CancelButton()->geometry().right() > list.viewport()->width() / 2);
        list.setLayoutDirection(Qt::RightToLeft);
        QVERIFY(list.OkButton()->x() < list.viewport()->width() / 2);
        QCOMPARE(list.CancelButton()->x(), list.OkButton()->geometry().right() + 1 + 5);
    }

    void theValueColumnFitsTheWidestValue()
    {
        const QString wide(60, u'W');
        TFilterFixture f({TVariant(wide), TVariant(Text("i"))});
        f.SetOptions(WithButtons);
        QVERIFY(f.Show());
        TOrvoDBPopupFilterList* list = ListOf(f.Open(1));
        TOrvoColumn* value = list->Columns()->Items(TOrvoDBPopupFilterList::flcValue);
        const int needed = QFontMetrics(value->Font().ToQFont()).horizontalAdvance(wide);
        QVERIFY2(value->Width() >= needed,
                 qPrintable(QStringLiteral("%1 < %2").arg(value->Width()).arg(needed)));
        QVERIFY(list->width() >= list->minimumWidth());
        QCOMPARE(list->ScrollBars(), ssNone);
        f.Grid.FilterGrid()->SetDropDownRows(1);
        // Asking again for the open column's list closes it.
        QVERIFY(!f.Open(1));
        QCOMPARE(ListOf(f.Open(1))->ScrollBars(), ssVertical);
    }

    void theWidestOfManyTextsIsAmongTheLongest()
    {
        QStringList texts;
        for (int i = 0; i < 50000; ++i)
            texts << QString(i % 17 + 1, u'i');
        texts << QString(12, u'W');
        QFont font;
        font.setPixelSize(12);
        const QFontMetrics metrics(font);
        // Twelve wide letters are wider than seventeen narrow ones, and far less long.
        QVERIFY(metrics.horizontalAdvance(QString(12, u'W')) > metrics.horizontalAdvance(QString(17, u'i')));
        QCOMPARE(TOrvoDBPopupFilterList::WidestText(texts, metrics),
                 metrics.horizontalAdvance(QString(12, u'W')));
    }

    /// Run by hand (ORVO_LONG_TESTS=1): a million values size, check, store and paste in
    /// seconds, not in the hours one measure or one insert per row would take.
    void aMillionValuesStayQuick()
    {
        if (qEnvironmentVariableIsEmpty("ORVO_LONG_TESTS"))
            QSKIP("long test; set ORVO_LONG_TESTS=1");
        QStringList rows;
        constexpr int Count = 1000000;
        rows.reserve(Count);
        for (int i = 0; i < Count; ++i)
            rows << QStringLiteral("value %1").arg(i, 7, 10, QLatin1Char('0'));
        TOrvoDBFilterData values;
        values.SetItems(&rows);
        values.Open();
        TOrvoDBPopupFilterList list;
        list.ListSource()->SetDataSet(&values);
        list.Columns()->Items(TOrvoDBPopupFilterList::flcValue)->SetFieldName(QStringLiteral("Item"));
        QElapsedTimer clock;
        const auto lap = [&clock](const char* step) { qInfo("%s: %lld ms", step, clock.restart()); };
        clock.start();
        QFont font;
        font.setPixelSize(12);
        const QFontMetrics metrics(font);
        int widest = 0;
        for (const QString& row : rows)
            widest = std::max(widest, metrics.horizontalAdvance(row));
        lap("measuring every value");
        QCOMPARE(TOrvoDBPopupFilterList::WidestText(rows, metrics), widest);
        lap("measuring the widest candidates");
        list.AdjustListSize();
        lap("sizing the list");
        QCOMPARE(list.CheckRows([](const QString&) { return true; }, true), Count);
        lap("checking every value");
        QCOMPARE(list.CheckedKeys().size(), Count);
        lap("collecting the checked keys");
        list.PasteText(QStringLiteral("value 0000007\nvalue 0999999"));
        lap("pasting");
    }

private:
    std::unique_ptr<TGridSettingsGuard> FGuard;
};

QTEST_MAIN(TestFilterList)
#include "tst_filterlist.moc"
