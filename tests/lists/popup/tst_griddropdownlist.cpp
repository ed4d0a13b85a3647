#include "grid/common/tgridsettingsguard.h"
#include "grid/common/titemstable.h"
#include "lists/common/twordlist.h"

#include "grid/dbgrid/torvodbgrid.h"
#include "grid/painting/torvogridstyle.h"
#include "lists/popup/torvodbgridlistclasses.h"
#include "platform/data/tintegerfield.h"
#include "platform/data/tstringfield.h"

#include <QTest>

#include <memory>

using namespace orvo;
using namespace orvo::test;

namespace {

/// Rows of an id and a fruit name, editable, in memory.
class TPairsData : public TOrvoDBCustomData
{
public:
    QList<QPair<int, TVariant>> Rows{{1, TVariant(QStringLiteral("Alpha"))},
                                     {2, TVariant(QStringLiteral("Gamma"))}};

protected:
    void DoGetRecordCount(qint64& count) override { count = Rows.size(); }
    void InternalGetFieldValue(qint64 index, const TField* field, TVariant& value) override
    {
        value = field->FieldName() == QLatin1String("Id") ? TVariant(qint64(Rows.at(index).first))
                                                          : Rows.at(index).second;
    }
    void InternalSetFieldValue(qint64 index, const TField* field, const TVariant& value) override
    {
        if (field->FieldName() == QLatin1String("Fruit"))
            Rows[index].second = value;
    }
};

/// A grid over TPairsData whose "FruitName" lookup field shows the fruit through the word list.
struct TLookupFixture
{
    TLookupFixture()
    {
        auto* id = new TIntegerField(&Pairs);
        id->SetFieldName(QStringLiteral("Id"));
        id->SetDataSet(&Pairs);
        auto* fruit = new TStringField(&Pairs);
        fruit->SetFieldName(QStringLiteral("Fruit"));
        fruit->SetSize(20);
        fruit->SetDataSet(&Pairs);
        auto* name = new TStringField(&Pairs);
        name->SetFieldName(QStringLiteral("FruitName"));
        name->SetSize(20);
        name->SetFieldKind(fkLookup);
        name->SetKeyFields(QStringLiteral("Fruit"));
        name->SetLookupDataSet(&Words);
        name->SetLookupKeyFields(QStringLiteral("Item"));
        name->SetLookupResultField(QStringLiteral("Item"));
        name->SetDataSet(&Pairs);
        Words.SetActive(true);
        Pairs.SetActive(true);
        Source.SetDataSet(&Pairs);
        Grid.SetDataSource(&Source);
        Column = Grid.Columns()->Add();
        Column->SetFieldName(QStringLiteral("FruitName"));
    }
    ~TLookupFixture() { Grid.SetDataSource(nullptr); }
    TWordData Words{OfferedWords()};
    TPairsData Pairs;
    TDataSource Source;
    TOrvoDBGrid Grid;
    TOrvoColumn* Column;
};

/// A grid over the items table with a name column.
struct TItemsFixture
{
    TItemsFixture()
    {
        Grid.SetDataSource(&Items.Source);
        Items.Table.Open();
        Grid.Columns()->Add()->SetFieldName(QStringLiteral("id"));
        Name = Grid.Columns()->Add();
        Name->SetFieldName(QStringLiteral("name"));
    }
    QString Field() const { return Items.Table.FieldByName(QStringLiteral("name"))->AsString(); }
    TItemsTable Items{3};
    TOrvoDBGrid Grid;
    TOrvoColumn* Name;
};

/// Opens the look transfer of every kind to the test.
class TLookContainer : public TWordContainer
{
public:
    using TWordContainer::glkCalculator;
    using TWordContainer::glkCalendar;
    using TWordContainer::glkDataList;
    using TWordContainer::TakeGridLook;
    using TWordContainer::TGridListLook;
    using TWordContainer::TWordContainer;
};

} // namespace

class TstGridDropDownList : public QObject
{
    Q_OBJECT

private slots:
    void init() { FGuard = std::make_unique<TGridSettingsGuard>(); }
    void cleanup() { FGuard.reset(); }

    void columnsOpenTheirKindOfList_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("buttonStyle");
        QTest::addColumn<bool>("pickList");
        QTest::addColumn<int>("kind");
        using K = TOrvoDBGridListClasses;
        QTest::newRow("text") << "note" << int(cbsAuto) << false << int(K::glcNone);
        QTest::newRow("text with a pick list") << "note" << int(cbsAuto) << true << int(K::glcPickList);
        QTest::newRow("date") << "day" << int(cbsAuto) << false << int(K::glcCalendar);
        QTest::newRow("date and time") << "at" << int(cbsAuto) << false << int(K::glcCalendar);
        QTest::newRow("date with a pick list") << "day" << int(cbsAuto) << true << int(K::glcPickList);
        QTest::newRow("number") << "amount" << int(cbsAuto) << false << int(K::glcNone);
        QTest::newRow("calendar asked") << "note" << int(cbsCalendar) << false << int(K::glcCalendar);
        QTest::newRow("calculator asked") << "note" << int(cbsCalculator) << true << int(K::glcCalculator);
        QTest::newRow("ellipsis on a date") << "day" << int(cbsEllipsis) << false << int(K::glcNone);
        QTest::newRow("drop-down button with a pick list")
            << "note" << int(cbsDropDown) << true << int(K::glcNone);
        QTest::newRow("drop-down menu") << "day" << int(cbsDropDownMenu) << false << int(K::glcNone);
        QTest::newRow("no button") << "day" << int(cbsNone) << true << int(K::glcNone);
    }
    void columnsOpenTheirKindOfList()
    {
        QFETCH(QString, field);
        QFETCH(int, buttonStyle);
        QFETCH(bool, pickList);
        QFETCH(int, kind);
        TItemsTable items(0);
        items.Db.ExecSQL(QStringLiteral(
            "CREATE TABLE events (id INTEGER PRIMARY KEY, day DATE, at DATETIME, note TEXT, amount REAL)"));
        items.Table.SetTableName(QStringLiteral("events"));
        items.Table.Open();
        TOrvoDBGrid grid;
        grid.SetDataSource(&items.Source);
        TOrvoColumn* column = grid.Columns()->Add();
        column->SetFieldName(field);
        column->SetButtonStyle(TOrvoColumnButtonStyle(buttonStyle));
        if (pickList)
            column->SetPickList({QStringLiteral("one"), QStringLiteral("two")});
        QVERIFY(column->Field());
        QCOMPARE(int(TOrvoDBGridListClasses::KindOf(column)), kind);
    }

    void lookupColumnsOpenTheDataList()
    {
        TLookupFixture f;
        QCOMPARE(f.Column->LookupColumn(), lcLookupField);
        QCOMPARE(TOrvoDBGridListClasses::KindOf(f.Column), TOrvoDBGridListClasses::glcDataList);
        QCOMPARE(TOrvoDBGridListClasses::KindOf(nullptr), TOrvoDBGridListClasses::glcNone);
    }

    void registeredFactoriesAreFoundByKind()
    {
        TItemsFixture f;
        f.Name->SetPickList({QStringLiteral("x")});
        QVERIFY(!TOrvoDBGridListClasses::FactoryFor(f.Name));
        TOrvoDBGridListClasses::Register(TOrvoDBGridListClasses::glcPickList,
                                         TOrvoDBGridDropDownList::FactoryOf<TWordContainer>());
        const TOrvoDBGridDropDownList::TFactory factory = TOrvoDBGridListClasses::FactoryFor(f.Name);
        TOrvoDBGridListClasses::Register(TOrvoDBGridListClasses::glcPickList, {});
        QVERIFY(factory);
        QWidget owner;
        std::unique_ptr<TOrvoDBGridDropDownList> container(factory(&owner, f.Name));
        QVERIFY(dynamic_cast<TWordContainer*>(container.get()));
        QCOMPARE(container->Column(), f.Name);
        QCOMPARE(container->Grid(), &f.Grid);
        QVERIFY(!TOrvoDBGridListClasses::FactoryFor(f.Name));
    }

    void applyingWritesThroughTheColumnsTextSetter()
    {
        TItemsFixture f;
        QStringList setTexts;
        f.Grid.OnColSetText = [&setTexts](TOrvoColumn*, QString& text) {
            setTexts << text;
            text = text.toUpper();
        };
        QWidget owner;
        TWordContainer container(&owner, f.Name);
        container.ApplyValue(TVariant(QStringLiteral("Beta")));
        QCOMPARE(setTexts, QStringList{"Beta"});
        QCOMPARE(f.Field(), QString("BETA"));
        QCOMPARE(f.Grid.SelectedColumn(), f.Name);
    }

    void applyingLeavesAReadOnlyCellAlone_data()
    {
        QTest::addColumn<bool>("gridReadOnly");
        QTest::newRow("read-only column") << false;
        QTest::newRow("read-only grid") << true;
    }
    void applyingLeavesAReadOnlyCellAlone()
    {
        QFETCH(bool, gridReadOnly);
        TItemsFixture f;
        if (gridReadOnly)
            f.Grid.SetReadOnly(true);
        else
            f.Name->SetReadOnly(true);
        QWidget owner;
        TWordContainer container(&owner, f.Name);
        container.ApplyValue(TVariant(QStringLiteral("Beta")));
        QCOMPARE(f.Field(), QString("Item 1"));
        QCOMPARE(f.Items.Table.State(), dsBrowse);
    }

    void applyingWithoutAColumnDoesNothing()
    {
        QWidget owner;
        TWordContainer container(&owner, nullptr);
        QCOMPARE(container.Grid(), nullptr);
        container.ApplyValue(TVariant(QStringLiteral("Beta")));
    }

    void aLookupColumnWritesItsKeyField_data()
    {
        QTest::addColumn<TVariant>("value");
        QTest::addColumn<bool>("null");
        QTest::newRow("a key") << TVariant(QStringLiteral("Delta")) << false;
        QTest::newRow("the empty string clears the key") << TVariant(QString()) << true;
    }
    void aLookupColumnWritesItsKeyField()
    {
        QFETCH(TVariant, value);
        QFETCH(bool, null);
        TLookupFixture f;
        int textChanges = 0;
        f.Grid.OnColTextChanged = [&textChanges](QObject*) { ++textChanges; };
        QWidget owner;
        TWordContainer container(&owner, f.Column);
        container.ApplyValue(value);
        f.Pairs.Post();
        QCOMPARE(textChanges, 1);
        const TVariant stored = f.Pairs.Rows.at(0).second;
        QCOMPARE(stored.IsNull(), null);
        if (!null)
            QCOMPARE(stored.AsString(), QString("Delta"));
        QCOMPARE(f.Pairs.FieldByName(QStringLiteral("FruitName"))->AsString(),
                 null ? QString() : QString("Delta"));
    }

    void theListTakesTheGridsLook_data()
    {
        QTest::addColumn<int>("look");
        QTest::newRow("data list") << int(TLookContainer::glkDataList);
        QTest::newRow("calendar") << int(TLookContainer::glkCalendar);
        QTest::newRow("calculator") << int(TLookContainer::glkCalculator);
    }
    void theListTakesTheGridsLook()
    {
        QFETCH(int, look);
        TItemsFixture f;
        f.Grid.SetColor(clYellow);
        f.Grid.SetSelectCellColor(clNone);
        f.Grid.SetSelectRowColor(clNone);
        f.Grid.SetGridLineWidth(2);
        f.Grid.GridStyle()->SetDataRowSpace(7);
        TFont font = f.Grid.Font();
        font.SetSize(font.Size() + 5);
        f.Grid.SetFont(font);
        f.Name->SetDropDownRows(9);
        f.Grid.SetCol(f.Grid.DataToRawColumn(0));
        QWidget owner;
        TLookContainer container(&owner, f.Name);
        TWordList& list = *container.Words();
        const TFont listFont = list.Font();
        container.TakeGridLook(TLookContainer::TGridListLook(look));
        QCOMPARE(f.Grid.SelectedColumn(), f.Name);
        QCOMPARE(list.Color(), TColor(clYellow));
        QCOMPARE(list.SelectCellColor(), TColor(clDefault));
        const bool dataList = look == TLookContainer::glkDataList;
        QCOMPARE(list.DropDownRows(), dataList ? 9 : 0);
        QCOMPARE(list.Font().Size(), dataList ? font.Size() : listFont.Size());
        if (dataList)
            QCOMPARE(list.SelectRowColor(), list.SelectCellColor());
        QCOMPARE(list.GridLineWidth(), look == TLookContainer::glkCalculator ? 1 : 2);
        if (look == TLookContainer::glkCalculator)
            QCOMPARE(list.GridStyle()->DataRowSpace(), 7 + 2 - 1);
        else
            QCOMPARE(list.GridStyle()->TitleRowSpace(), 7 + 2);
        if (look == TLookContainer::glkCalendar)
            QCOMPARE(list.GridStyle()->TotalRowSpace(), 7 + 2);
    }

    void maxStringLength_data()
    {
        QTest::addColumn<QStringList>("strings");
        QTest::addColumn<int>("length");
        QTest::newRow("none") << QStringList() << 0;
        QTest::newRow("empty strings") << QStringList{"", ""} << 0;
        QTest::newRow("longest last") << QStringList{"ab", "abcd"} << 4;
        QTest::newRow("longest first") << QStringList{"abcde", "a", ""} << 5;
    }
    void maxStringLength()
    {
        QFETCH(QStringList, strings);
        QFETCH(int, length);
        QCOMPARE(TOrvoDBGridDropDownList::MaxStringLength(strings), length);
    }

private:
    std::unique_ptr<TGridSettingsGuard> FGuard;
};

QTEST_MAIN(TstGridDropDownList)
#include "tst_griddropdownlist.moc"
