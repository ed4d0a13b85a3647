#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvocolumnreport.h"
#include "grid/columns/torvocolumntitle.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/common/gridtestwidgets.h"
#include "grid/common/tgridsettingsguard.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "grid/totals/torvocolumntotalfields.h"
#include "grid/totals/torvocolumntotalfooter.h"
#include "grid/totals/torvocolumntotalheader.h"
#include "grid/totals/torvocolumntotalvalue.h"
#include "grid/totals/torvocolumntotalvalues.h"
#include "grid/totals/torvodbgridtotals.h"
#include "platform/core/exceptions.h"
#include "platform/core/format.h"
#include "platform/core/tcollection.h"
#include "platform/core/tdatetime.h"
#include "platform/data/tdatasource.h"
#include "platform/data/tfield.h"
#include "platform/data/tfields.h"
#include "platform/graphics/tcustomimagelist.h"
#include "platform/gridbase/tinplaceedit.h"
#include "platform/sqlite/tsqlitedatabase.h"
#include "platform/sqlite/tsqlitetable.h"

#include <QMetaProperty>
#include <QTest>

#include <memory>

using namespace orvo;

namespace {

/// A collection that records what it is told, to pin the bracket and notice rules.
class TRecordingCollection : public TCollection
{
public:
    int WholeUpdates = 0;
    QList<int> ItemUpdates;
    QStringList Notices;

protected:
    void Update(TCollectionItem* item) override
    {
        if (item)
            ItemUpdates << item->ID();
        else
            ++WholeUpdates;
    }
    void Notify(TCollectionItem* item, TCollectionNotification action) override
    {
        Notices << QStringLiteral("%1:%2").arg(int(action)).arg(item->ID());
    }
};

} // namespace

class TestGridColumns : public QObject
{
    Q_OBJECT

private slots:
    void collectionKeepsOrderIdsAndBrackets();
    void collectionAssignCopiesItemByItem();
    void columnDefaultsReadBack_data();
    void columnDefaultsReadBack();
    void settersClampTheirValues_data();
    void settersClampTheirValues();
    void widthLimitsPullTheWidth();
    void boxesExcludeEachOther();
    void ownValuesAreStoredOnlyWhenTheyDiffer();
    void assignCopiesIntoTheOwnedObjects();
    void stateFollowsTheLastColumn();
    void autoColumnsLandInFront();
    void headerLevelsAndParts_data();
    void headerLevelsAndParts();
    void neighboursShareHeaderCells();
    void subColumnsHideTheirParentWhenExpanded();
    void movingTakesSubColumnsAlong();
    void displayNames();
    void fieldGivesDefaults();
    void lookupRoles();
    void checkBoxStates_data();
    void checkBoxStates();
    void totalValuesFormat_data();
    void totalValuesFormat();
    void totalCaptionsAndValuesReplaceEachOther();
    void totalDisplayNames();
    void totalsAssignAndRestore();
    void columnsFollowTheirGrid();
    void defaultColumnsWriteToTheirField();
    void rebuildMakesStoredColumnsFromFields();
    void totalsReadTheGrid();
    void memoEditTextRoundTrips();
    void storedTextReachesTheOpenEditor();
    void autoNumberNumbersTheDrawnRow();
    void lookupValueColumnShowsTheLookedUpText();
    void multiSelectListMapsEachValue();
    void restoringDefaultsKeepsTheLookup();
    void expandColsCountOnlyFollowingColumns();
    void expandingKeepsTheCursorNearby();
    void unboundDefaultColumnForgetsItsField();
    void checkBoxTogglesWhereTheCellMayChange();
    void imageIndexFollowsTheCell();
};

void TestGridColumns::collectionKeepsOrderIdsAndBrackets()
{
    TRecordingCollection collection;
    TCollectionItem* a = collection.Add();
    TCollectionItem* b = collection.Add();
    TCollectionItem* c = collection.Insert(0);
    QCOMPARE(collection.Count(), 3);
    QCOMPARE(c->Index(), 0);
    QCOMPARE(a->Index(), 1);
    QCOMPARE(collection.WholeUpdates, 3);

    a->SetIndex(99);
    QCOMPARE(a->Index(), 2);
    QCOMPARE(collection.FindItemID(b->ID()), b);
    QCOMPARE(collection.FindItemID(1000), nullptr);

    collection.BeginUpdate();
    collection.BeginUpdate();
    collection.Add();
    collection.Delete(0);
    collection.EndUpdate();
    QCOMPARE(collection.WholeUpdates, 4);
    collection.EndUpdate();
    QCOMPARE(collection.WholeUpdates, 5);

    delete b;
    QCOMPARE(collection.Count(), 2);
    QCOMPARE(collection.Notices.last(), QStringLiteral("%1:%2").arg(int(TCollection::cnDeleting)).arg(1));
    QVERIFY_THROWS_EXCEPTION(EListError, collection.Items(5));
    QVERIFY_THROWS_EXCEPTION(EListError, collection.Delete(-1));
    collection.Clear();
    QCOMPARE(collection.Count(), 0);
}

void TestGridColumns::collectionAssignCopiesItemByItem()
{
    TOrvoDBGridColumns source(nullptr);
    source.Add()->SetFieldName(QStringLiteral("a"));
    source.Add()->SetFieldName(QStringLiteral("b"));
    TOrvoDBGridColumns target(nullptr);
    target.Add()->SetFieldName(QStringLiteral("old"));
    target.Assign(&source);
    QCOMPARE(target.Count(), 2);
    QCOMPARE(target.Items(1)->FieldName(), QStringLiteral("b"));
    QCOMPARE(target.State(), csCustomized);

    TOrvoColumnReport report(nullptr);
    QVERIFY_THROWS_EXCEPTION(EConvertError, target.Assign(&report));
}

void TestGridColumns::columnDefaultsReadBack_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("expected");
    const auto row = [](const char* object, const char* property, const QVariant& expected) {
        QTest::addRow("%s.%s", object, property)
            << QString::fromLatin1(object) << QString::fromLatin1(property) << expected;
    };
    row("column", "Alignment", QVariant::fromValue(taLeftJustify));
    row("column", "ButtonStyle", QVariant::fromValue(cbsAuto));
    row("column", "CalendarDepth", QVariant::fromValue(cdDecade));
    row("column", "CheckBoxToggle", QVariant::fromValue(ctOnCellClick));
    row("column", "CheckBoxValues", QStringLiteral("True;False"));
    row("column", "Color", QVariant::fromValue(clWindow));
    row("column", "DelimiterChar", QVariant::fromValue(QChar(u',')));
    row("column", "EditMemo", true);
    row("column", "Ellipsis", true);
    row("column", "ExpandBoxSize", QVariant::fromValue(ebLarge));
    row("column", "Expanded", true);
    row("column", "ImageDraw", QVariant::fromValue(idCenter));
    row("column", "ImeMode", QVariant::fromValue(imDontCare));
    row("column", "ListOptions",
        QVariant::fromValue(TOrvoListOptions{loAutoComplete, loAutoCloseEditor, loSelectNextValue,
                                             loAllowClearValue, loShowToday, loAllowChangeOrder,
                                             loAllowColumnResize}));
    row("column", "MultiSelectText", QVariant::fromValue(mstEllipsis));
    row("column", "PickOptions", QVariant::fromValue(TOrvoPickOptions{poSelectPickText, poAcceptPickList}));
    row("column", "QuickDraw", true);
    row("column", "TransparentColor", QVariant::fromValue(clNone));
    row("column", "VAlignment", QVariant::fromValue(tvCenter));
    row("column", "Width", 64);
    row("column", "WidthMax", -1);
    row("column", "WordWrap", true);
    row("title", "AutoFilters", QVariant::fromValue(TFilterStyles{fsFilterList, fsFilterForm}));
    row("title", "Color", QVariant::fromValue(clBtnFace));
    row("title", "ImageIndex", -1);
    row("title", "Marker", QVariant::fromValue(tmNone));
    row("report", "Visible", true);
    row("report", "TotalType", QVariant::fromValue(ttNone));
    row("report", "DialogOptions", QVariant::fromValue(TDialogOptions{doShowColumn, doItemEnabled}));
    row("header", "CalcApply", QVariant::fromValue(caBoth));
    row("header", "CalcValue", QVariant::fromValue(cvSum));
    row("header", "Color", QVariant::fromValue(clBtnFace));
    row("header", "TotalBox", QVariant::fromValue(tbAuto));
    row("header", "TotalRecNo", 1);
    row("header", "TotalResult", QVariant::fromValue(trCaption));
    row("fields", "ToolTipsWidth", QVariant::fromValue(ttAutoWidth));
}

void TestGridColumns::columnDefaultsReadBack()
{
    QFETCH(QString, object);
    QFETCH(QString, property);
    QFETCH(QVariant, expected);
    TOrvoColumn column;
    const QHash<QString, QObject*> objects{{QStringLiteral("column"), &column},
                                           {QStringLiteral("title"), column.Title()},
                                           {QStringLiteral("report"), column.Report()},
                                           {QStringLiteral("header"), column.TotalHeader()},
                                           {QStringLiteral("fields"), column.TotalFields()}};
    const QVariant actual = objects[object]->property(property.toLatin1());
    QVERIFY2(actual.isValid(), "property not published");
    QCOMPARE(actual, expected);
}

void TestGridColumns::settersClampTheirValues_data()
{
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("written");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("negative ExpandCols") << "ExpandCols" << QVariant(-3) << QVariant(0);
    QTest::newRow("negative ImageMargin") << "ImageMargin" << QVariant(-1) << QVariant(0);
    QTest::newRow("WidthMax below -1 ignored") << "WidthMax" << QVariant(-5) << QVariant(-1);
    QTest::newRow("WidthMin below -1 ignored") << "WidthMin" << QVariant(-2) << QVariant(-1);
    QTest::newRow("empty CheckBoxValues")
        << "CheckBoxValues" << QVariant(QString()) << QVariant("True;False");
}

void TestGridColumns::settersClampTheirValues()
{
    QFETCH(QString, property);
    QFETCH(QVariant, written);
    QFETCH(QVariant, expected);
    TOrvoColumn column;
    QVERIFY(column.setProperty(property.toLatin1(), written));
    QCOMPARE(column.property(property.toLatin1()), expected);
}

void TestGridColumns::widthLimitsPullTheWidth()
{
    TOrvoColumn column;
    column.SetWidth(100);
    column.SetWidthMax(80);
    QCOMPARE(column.Width(), 80);
    column.SetWidthMin(90); // never above the maximum
    QCOMPARE(column.WidthMin(), 80);
    column.SetWidthMax(50); // never below the minimum
    QCOMPARE(column.WidthMax(), 80);
    column.SetWidthMin(-1);
    column.SetWidthMax(-1);
    column.SetWidthMin(120);
    QCOMPARE(column.Width(), 120);
    column.SetWidth(10);
    QCOMPARE(column.Width(), 120);

    column.Title()->SetMarkerIndex(25);
    QCOMPARE(column.Title()->MarkerIndex(), -1);
    column.Title()->SetMarkerIndex(5);
    QCOMPARE(column.Title()->Marker(), tmDescend);
    QCOMPARE(column.Title()->OrderIndex(), 2);
    column.TotalHeader()->SetTotalRecNo(0);
    QCOMPARE(column.TotalHeader()->TotalRecNo(), 1);
}

void TestGridColumns::boxesExcludeEachOther()
{
    TOrvoColumn column;
    column.SetImageDraw(idTileGrid);
    column.SetImageMargin(16);
    column.SetExpandBox(true);
    column.SetExpandBoxTree(true);
    QVERIFY(column.Transparent());
    QCOMPARE(column.ImageDraw(), idCenter);
    column.SetImageDraw(idStretch);
    QCOMPARE(column.ImageDraw(), idCenter);

    column.SetCheckBox(true);
    QVERIFY(!column.ExpandBox());
    QVERIFY(!column.ExpandBoxTree());

    column.SetExpandBox(true);
    QVERIFY(!column.CheckBox());
    column.SetExpandBoxTree(true);
    column.SetImageMargin(0);
    QVERIFY(!column.ExpandBoxTree());
    column.SetExpandBoxTree(true); // taken before the margin is given
    QVERIFY(column.ExpandBoxTree());
    column.SetExpandBox(false);
    QVERIFY(!column.ExpandBoxTree());
}

void TestGridColumns::ownValuesAreStoredOnlyWhenTheyDiffer()
{
    TOrvoColumn column;
    QVERIFY(!column.IsColorStored());
    column.SetColor(clWindow); // own, but the default: nothing to store
    QVERIFY(!column.IsColorStored());
    column.SetColor(clRed);
    QVERIFY(column.IsColorStored());
    bool stored = false; // a form writer asks through the meta-object
    QVERIFY(QMetaObject::invokeMethod(&column, "IsColorStored", Q_RETURN_ARG(bool, stored)));
    QVERIFY(stored);
    QVERIFY(!column.IsWidthStored());
    column.SetWidth(64); // the default width: nothing of its own
    QVERIFY(!column.IsWidthStored());
    column.SetWidth(80);
    column.SetWidth(64); // once assigned, 64 is stored: it is also the no-grid default
    QVERIFY(column.IsWidthStored());
    QVERIFY(!column.IsCheckBoxValuesStored());
    column.SetCheckBoxValues(QStringLiteral("Y;N"));
    QVERIFY(column.IsCheckBoxValuesStored());
    column.Title()->SetCaption(QStringLiteral("Name"));
    QVERIFY(column.Title()->IsCaptionStored());
    TFont font;
    font.SetSize(20);
    column.SetFont(font);
    QVERIFY(column.IsFontStored());

    column.SetCheckBox(true);
    column.SetHint(QStringLiteral("hint"));
    column.Report()->SetTotalType(ttSum);
    column.RestoreDefaults();
    QCOMPARE(column.Color(), clWindow);
    QVERIFY(!column.IsColorStored() && !column.IsWidthStored() && !column.IsFontStored());
    QVERIFY(!column.CheckBox());
    QVERIFY(column.Hint().isEmpty());
    QCOMPARE(column.CheckBoxValues(), TOrvoColumn::DefaultCheckBoxValues());
    QVERIFY(column.Title()->Caption().isEmpty());
    QCOMPARE(column.Report()->TotalType(), ttNone);
}

void TestGridColumns::assignCopiesIntoTheOwnedObjects()
{
    TOrvoColumn source;
    source.SetFieldName(QStringLiteral("amount"));
    source.SetColor(clYellow);
    source.SetPickList({QStringLiteral("a"), QStringLiteral("b")});
    source.SetLookupKeyField(QStringLiteral("id"));
    source.Title()->SetHeader(QStringLiteral("Money|Sum"));
    source.Title()->SetCaption(QStringLiteral("Amount"));
    source.Report()->SetTotalText(QStringLiteral("Total"));
    source.TotalValues()->Add()->SetValue(TVariant(qint64(7)));
    source.TotalFooter()->SetCaption(QStringLiteral("End"));
    source.SetFilterList({QStringLiteral("1")});

    TOrvoColumn target;
    target.SetReadOnly(true);
    TOrvoColumnTitle* title = target.Title();
    TOrvoColumnReport* report = target.Report();
    TOrvoColumnTotalValues* values = target.TotalValues();
    target.Assign(&source);

    QCOMPARE(target.Title(), title);
    QCOMPARE(target.Report(), report);
    QCOMPARE(target.TotalValues(), values);
    QCOMPARE(target.FieldName(), QStringLiteral("amount"));
    QCOMPARE(target.Color(), clYellow);
    QVERIFY(target.IsReadOnlyStored()); // not assigned in the source: kept
    QCOMPARE(target.PickList().size(), 2);
    QCOMPARE(target.LookupKeyField(), QStringLiteral("id"));
    QCOMPARE(title->Header(), QStringLiteral("Money|Sum"));
    QCOMPARE(title->Caption(), QStringLiteral("Amount"));
    QCOMPARE(report->TotalText(), QStringLiteral("Total"));
    QCOMPARE(values->Count(), 1);
    QCOMPARE(values->Items(0)->Caption(), QStringLiteral("7"));
    QCOMPARE(target.TotalFooter()->Caption(), QStringLiteral("End"));
    QCOMPARE(target.FilterList(), QStringList{QStringLiteral("1")});

    QVERIFY_THROWS_EXCEPTION(EConvertError, target.Assign(source.Title()));
}

void TestGridColumns::stateFollowsTheLastColumn()
{
    TOrvoDBGridColumns columns(nullptr);
    QCOMPARE(columns.State(), csDefault);
    columns.AddDefaultColumn();
    QCOMPARE(columns.State(), csDefault);
    columns.Add();
    QCOMPARE(columns.State(), csCustomized);
    columns.AddDefaultColumn();
    QCOMPARE(columns.State(), csDefault);
    columns.Items(1)->SetIndex(2);
    QCOMPARE(columns.State(), csCustomized);
    columns.SetState(csDefault);
    QCOMPARE(columns.Count(), 0);
    columns.SetState(csCustomized); // no dataset: nothing to make columns from
    QCOMPARE(columns.Count(), 0);
}

void TestGridColumns::autoColumnsLandInFront()
{
    TOrvoDBGridColumns columns(nullptr);
    columns.Add()->Title()->SetCaption(QStringLiteral("data"));
    columns.AddExpandColumn();
    columns.AddSelectColumn();
    columns.AddNumberColumn();
    QCOMPARE(test::ColumnCaptions(columns), (QStringList{"No.", "Select", "Expand", "data"}));
    const TOrvoColumn* number = columns.Items(0);
    QVERIFY(number->AutoNumber() && number->SuppressRTL());
    QCOMPARE(number->Alignment(), taRightJustify);
    QCOMPARE(number->Title()->Alignment(), taRightJustify);
    QVERIFY(columns.Items(1)->CheckBox());
    QCOMPARE(columns.Items(1)->Alignment(), taCenter);
    QVERIFY(columns.Items(2)->ExpandBox() && columns.Items(2)->Transparent());
}

void TestGridColumns::headerLevelsAndParts_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<int>("levels");
    QTest::addColumn<QStringList>("parts");
    QTest::newRow("none") << "" << 0 << QStringList{"", ""};
    QTest::newRow("one") << "A" << 1 << QStringList{"A", ""};
    QTest::newRow("two") << "A|B" << 2 << QStringList{"A", "B", ""};
    QTest::newRow("empty middle") << "A||C" << 3 << QStringList{"A", "", "C"};
}

void TestGridColumns::headerLevelsAndParts()
{
    QFETCH(QString, header);
    QFETCH(int, levels);
    QFETCH(QStringList, parts);
    TOrvoColumn column;
    column.Title()->SetHeader(header);
    column.Title()->SetHeaderHint(QStringLiteral("first|second"));
    QCOMPARE(column.Title()->HeaderLevels(), levels);
    for (int level = 0; level < parts.size(); ++level)
        QCOMPARE(column.Title()->HeaderPart(level), parts[level]);
    QCOMPARE(column.Title()->HeaderPart(-1), QString());
    QCOMPARE(column.Title()->HeaderHintPart(1), QStringLiteral("second"));
}

void TestGridColumns::neighboursShareHeaderCells()
{
    TOrvoDBGridColumns columns(nullptr);
    for (const char* header : {"A|B", "A|B", "A|C", "a|C"})
        columns.Add()->Title()->SetHeader(QString::fromLatin1(header));
    const auto title = [&](int i) { return columns.Items(i)->Title(); };
    QCOMPARE(title(0)->NextHeaderColumn(0), columns.Items(1));
    QCOMPARE(title(1)->NextHeaderColumn(0), columns.Items(2));
    QCOMPARE(title(0)->NextHeaderColumn(1), columns.Items(1));
    QCOMPARE(title(1)->NextHeaderColumn(1), nullptr);
    QCOMPARE(title(2)->NextHeaderColumn(0), nullptr); // case-sensitive
    QCOMPARE(title(2)->PriorHeaderColumn(0), columns.Items(1));
    QCOMPARE(title(0)->PriorHeaderColumn(0), nullptr);
    QCOMPARE(title(0)->NextHeaderColumn(2), nullptr); // beyond the levels

    columns.Items(1)->SetVisible(false); // a hidden column is skipped over
    QCOMPARE(title(0)->NextHeaderColumn(0), columns.Items(2));
}

void TestGridColumns::subColumnsHideTheirParentWhenExpanded()
{
    TOrvoDBGridColumns columns(nullptr);
    for (int i = 0; i < 4; ++i)
        columns.Add()->SetWidth(30 + i);
    TOrvoColumn* group = columns.Items(0);
    group->SetExpandCols(2);
    group->SetExpanded(false);
    QCOMPARE(columns.Items(1)->ParentColumn(), group);
    QCOMPARE(columns.Items(2)->ParentColumn(), group);
    QCOMPARE(columns.Items(3)->ParentColumn(), nullptr);
    QCOMPARE(columns.Items(2)->ColumnDepth(), 1);
    QCOMPARE(group->LastSubColumnIndex(), 2);
    QVERIFY(group->IsShown());
    QVERIFY(!columns.Items(1)->IsShown());
    QCOMPARE(columns.Items(1)->Width(), 0); // no grid: no line width to take back
    QCOMPARE(group->ShownWidth(), 30);

    group->SetExpanded(true);
    QVERIFY(!group->IsShown());
    QVERIFY(columns.Items(1)->IsShown() && columns.Items(2)->IsShown());
    QCOMPARE(group->ShownWidth(), 31 + 32);

    group->SetVisible(false);
    QVERIFY(!columns.Items(2)->Visible());
    QVERIFY(!columns.Items(2)->IsShown());
    QVERIFY(columns.Items(3)->IsShown());

    columns.Delete(0);
    QCOMPARE(columns.Items(0)->ParentColumn(), nullptr);
}

void TestGridColumns::movingTakesSubColumnsAlong()
{
    TOrvoDBGridColumns columns(nullptr);
    for (const char* name : {"g", "s1", "s2", "x", "y"})
        columns.Add()->Title()->SetCaption(QString::fromLatin1(name));
    columns.Items(0)->SetExpandCols(2);
    columns.Items(0)->SetIndex(3);
    QCOMPARE(test::ColumnCaptions(columns), (QStringList{"x", "y", "g", "s1", "s2"}));
    columns.Items(2)->SetIndex(0);
    QCOMPARE(test::ColumnCaptions(columns), (QStringList{"g", "s1", "s2", "x", "y"}));
    columns.Items(4)->SetIndex(1);
    QCOMPARE(test::ColumnCaptions(columns), (QStringList{"g", "y", "s1", "s2", "x"}));
}

void TestGridColumns::displayNames()
{
    TOrvoDBGridColumns columns(nullptr);
    TOrvoColumn* plain = columns.Add();
    QCOMPARE(plain->DisplayName(), QStringLiteral("TOrvoColumn"));
    plain->Title()->SetCaption(QStringLiteral("A caption that is longer than twenty"));
    QCOMPARE(plain->DisplayName(), QStringLiteral("(A caption that is lo...)"));
    plain->SetFieldName(QStringLiteral("amount"));
    plain->SetExpandCols(1);
    TOrvoColumn* sub = columns.Add();
    sub->SetFieldName(QStringLiteral("tax"));
    QCOMPARE(sub->DisplayName(), QStringLiteral("amount.tax"));
}

namespace {

/// A small table whose fields give the columns their defaults.
struct FieldFixture
{
    TSQLiteDatabase Db;
    TSQLiteTable Table;
    TSQLiteTable Lookup;

    FieldFixture()
    {
        Db.SetDatabaseName(QStringLiteral(":memory:"));
        Db.Open();
        Db.ExecSQL(
            QStringLiteral("CREATE TABLE items (id INTEGER PRIMARY KEY, name VARCHAR(20), amount INTEGER,"
                           " note MEMO, code VARCHAR(10))"));
        Db.ExecSQL(QStringLiteral("CREATE TABLE codes (code VARCHAR(10), label VARCHAR(30))"));
        Db.ExecSQL(QStringLiteral("INSERT INTO items VALUES (1, 'one', 5, 'long text', 'a')"));
        Table.SetDatabase(&Db);
        Table.SetTableName(QStringLiteral("items"));
        Table.Open();
        Lookup.SetDatabase(&Db);
        Lookup.SetTableName(QStringLiteral("codes"));
        Lookup.Open();
    }
    TField* Field(const char* name) const { return Table.FieldByName(QString::fromLatin1(name)); }
};

} // namespace

void TestGridColumns::fieldGivesDefaults()
{
    FieldFixture data;
    TOrvoColumn column;
    column.SetField(data.Field("amount"));
    QCOMPARE(column.FieldName(), QStringLiteral("amount"));
    data.Field("amount")->SetAlignment(taRightJustify);
    QCOMPARE(column.Alignment(), taRightJustify);
    data.Field("amount")->SetDisplayLabel(QStringLiteral("Amount due"));
    QCOMPARE(column.Title()->Caption(), QStringLiteral("Amount due"));
    QVERIFY(!column.ReadOnly());
    data.Field("amount")->SetReadOnly(true);
    QVERIFY(column.ReadOnly());
    QCOMPARE(column.FieldText(tkDisplay), QStringLiteral("5"));

    TOrvoColumn memo;
    memo.SetField(data.Field("note"));
    QCOMPARE(memo.FieldText(tkEdit), QStringLiteral("long text"));
    memo.SetShowBlob(false);
    QCOMPARE(memo.FieldText(tkDisplay), QStringLiteral("long text"));

    TOrvoColumn unbound;
    QVERIFY(unbound.FieldText(tkDisplay).isEmpty());
    QCOMPARE(unbound.Alignment(), taLeftJustify);
}

void TestGridColumns::lookupRoles()
{
    FieldFixture data;
    TOrvoColumn column;
    QCOMPARE(column.LookupColumn(), lcNotDefined);
    column.SetField(data.Field("code"));
    QCOMPARE(column.LookupColumn(), lcNotDefined);
    QCOMPARE(column.KeyField(), QStringLiteral("code"));
    column.SetLookupDataSet(&data.Lookup);
    column.SetLookupKeyField(QStringLiteral("code"));
    QCOMPARE(column.LookupResultField(), QStringLiteral("code"));
    QCOMPARE(column.LookupColumn(), lcLookupKeyField);
    column.SetLookupResultField(QStringLiteral("label"));
    QCOMPARE(column.LookupColumn(), lcLookupValueField);
    QCOMPARE(column.DisplayName(), QStringLiteral("label[code]"));
    QCOMPARE(column.LookupResultFieldObject(), data.Lookup.FieldByName(QStringLiteral("label")));
    column.SetKeyField(QStringLiteral("name"));
    QCOMPARE(column.LookupColumn(), lcLookupResultField);

    TOrvoColumn list;
    list.SetField(data.Field("name"));
    list.SetPickList({QStringLiteral("x")});
    QVERIFY(!list.MultiSelectList());
    list.SetListOptions(list.ListOptions() + loMultiSelectList);
    QVERIFY(list.MultiSelectList());
    list.SetField(data.Field("amount"));
    QVERIFY(!list.MultiSelectList());
}

void TestGridColumns::checkBoxStates_data()
{
    QTest::addColumn<QString>("values");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("state");
    QTest::newRow("checked") << "Yes;No"
                             << "yes" << int(cbChecked);
    QTest::newRow("unchecked") << "Yes;No"
                               << "NO" << int(cbUnchecked);
    QTest::newRow("other") << "Yes;No"
                           << "maybe" << int(cbGrayed);
    QTest::newRow("single word checked") << "On"
                                         << "on" << int(cbChecked);
    QTest::newRow("single word, empty text") << "On"
                                             << "" << int(cbGrayed);
}

void TestGridColumns::checkBoxStates()
{
    QFETCH(QString, values);
    QFETCH(QString, text);
    QFETCH(int, state);
    TOrvoColumn column;
    column.SetCheckBoxValues(values);
    QCOMPARE(int(column.CheckBoxStateOf(text)), state);
    column.SetCheckBoxKind(cbBox);
    QCOMPARE(column.CheckBoxImageIndex(TCheckBoxState(state), 9), 6 + state);
    QCOMPARE(column.CheckBoxImageIndex(TCheckBoxState(state), 3), state);
    QCOMPARE(column.CheckBoxImageIndex(TCheckBoxState(state), 6 + state), state); // no image there
}

void TestGridColumns::totalValuesFormat_data()
{
    QTest::addColumn<TVariant>("value");
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("asFloat");
    QTest::addColumn<QString>("expected");
    QTest::newRow("integer in a float format") << TVariant(qint64(12)) << "%.2f" << false << "12";
    QTest::newRow("as float") << TVariant(qint64(12)) << "%.2f" << true << "12.00";
    QTest::newRow("integer") << TVariant(qint64(12)) << "Sum: %d" << false << "Sum: 12";
    QTest::newRow("boolean true") << TVariant(true) << "Paid: %Yes;No%" << false << "Paid: Yes";
    QTest::newRow("boolean false") << TVariant(false) << "Paid: %Yes;No%" << false << "Paid: No";
    QTest::newRow("boolean without false text") << TVariant(false) << "%Yes%" << false << "";
    QTest::newRow("date") << TVariant(TDateTime(45000)) << "%dd.mm.yyyy% (due)" << false
                          << "15.03.2023 (due)";
    QTest::newRow("date without percents")
        << TVariant(TDateTime(45000)) << "dd.mm.yyyy" << false << TVariant(TDateTime(45000)).AsString();
    QTest::newRow("text is not a number") << TVariant("abc") << "%.2f" << true << "abc";
    QTest::newRow("no format") << TVariant(2.5) << "" << false << "2.5";
    QTest::newRow("unassigned") << TVariant() << "%d" << false << "";
    QTest::newRow("first part without a selection")
        << TVariant(qint64(3)) << "%d rows|%d picked" << false << "3 rows";
}

void TestGridColumns::totalValuesFormat()
{
    QFETCH(TVariant, value);
    QFETCH(QString, format);
    QFETCH(bool, asFloat);
    QFETCH(QString, expected);
    TOrvoColumnTotalValue total(nullptr);
    total.SetFormatAsFloat(asFloat);
    total.SetFormat(format);
    total.SetValue(value);
    QCOMPARE(total.Caption(), expected);
    QCOMPARE(total.GetText(), expected);
}

void TestGridColumns::totalCaptionsAndValuesReplaceEachOther()
{
    TOrvoColumnTotalValue total(nullptr);
    total.SetCaption(QStringLiteral("All|Selected"));
    QCOMPARE(total.GetText(), QStringLiteral("All")); // nothing selected without a grid
    QVERIFY(total.IsCaptionStored());
    total.SetValue(TVariant(qint64(4)));
    QVERIFY(!total.CaptionAssigned());
    QVERIFY(total.IsValueStored());
    total.SetCaption(QStringLiteral("text"));
    QVERIFY(total.Value().IsEmpty());
    total.SetTotalResult(trCalcValue);
    total.SetValue(TVariant(qint64(9)));
    QVERIFY(!total.IsValueStored()); // calculated results are not stored

    {
        const test::TGridSettingsGuard settings;
        TOrvoColumnTotalValue::SetTotalNullText(QStringLiteral("n/a"));
        total.SetValue(TVariant::Null());
        QCOMPARE(total.Caption(), QStringLiteral("n/a"));
    }

    total.SetFormat(QStringLiteral("%d"));
    total.SetFormatAsFloat(true);
    QVERIFY(total.Format().isEmpty());

    total.SetFormatAsFloat(false);
    total.SetValue(TVariant(TCurrency::FromRaw(123456)));
    QCOMPARE(total.Caption(), orvo::Format(QStringLiteral("%m"), {TVariant(TCurrency::FromRaw(123456))}));

    total.SetTotalResult(trNone);
    QVERIFY(total.GetText().isEmpty());
}

void TestGridColumns::totalDisplayNames()
{
    TOrvoColumn column;
    column.SetFieldName(QStringLiteral("amount"));
    TOrvoColumnTotalValue* total = column.TotalValues()->Add();
    QCOMPARE(total->DisplayName(), QStringLiteral("<Empty>"));
    total->SetValue(TVariant::Null());
    QCOMPARE(total->DisplayName(), QStringLiteral("<Null>"));
    total->SetTotalResult(trNone);
    QCOMPARE(total->DisplayName(), QStringLiteral("<None>"));
    total->SetTotalResult(trCalcValue);
    total->SetCalcValue(cvAvg);
    QCOMPARE(total->DisplayName(), QStringLiteral("Avg(amount)"));
    total->SetTotalResult(trDataField);
    QCOMPARE(total->DisplayName(), QStringLiteral("ColumnData: amount"));
    total->SetFieldName(QStringLiteral("tax"));
    QCOMPARE(total->DisplayName(), QStringLiteral("DataField: tax"));
    total->SetTotalResult(trTotalField);
    total->SetTotalRecNo(3);
    QCOMPARE(total->DisplayName(), QStringLiteral("TotalField: tax[3]"));
    QCOMPARE(column.TotalFields()->TotalResult(), trTotalField);
    QVERIFY(column.TotalFields()->GetText().isEmpty()); // no totals link
}

void TestGridColumns::totalsAssignAndRestore()
{
    TOrvoColumn column;
    TOrvoColumnTotalHeader* header = column.TotalHeader();
    header->SetColor(clRed);
    header->SetAlignment(taCenter);
    header->SetVisible(false);
    header->SetTotalBox(tbTrue);
    header->SetCalcValue(cvMax);
    header->SetFormat(QStringLiteral("%d"));
    header->SetValue(TVariant(qint64(5)));

    TOrvoColumnTotalFooter* footer = column.TotalFooter();
    footer->Assign(header);
    QCOMPARE(footer->Color(), clRed);
    QVERIFY(footer->IsColorStored());
    QCOMPARE(footer->CalcValue(), cvMax);
    QCOMPARE(footer->Value(), TVariant(qint64(5)));
    QVERIFY(!footer->Visible());

    TOrvoColumnTotalFields* fields = column.TotalFields();
    fields->Assign(header); // a value total gives a fields total its common part
    QCOMPARE(fields->Alignment(), taCenter);
    QCOMPARE(fields->TotalResult(), trTotalField);
    QVERIFY_THROWS_EXCEPTION(EConvertError, fields->Assign(column.Title()));

    header->RestoreDefaults();
    QCOMPARE(header->Color(), clBtnFace);
    QCOMPARE(header->Alignment(), column.Alignment());
    QVERIFY(header->Visible());
    QCOMPARE(header->TotalBox(), tbAuto);
    QVERIFY(!header->IsColorStored());
}

namespace {

/// A grid showing the fixture's table.
struct GridFixture : FieldFixture
{
    TDataSource Source;
    TOrvoDBGrid Grid;

    GridFixture()
    {
        Source.SetDataSet(&Table);
        Grid.SetDataSource(&Source);
    }
};

} // namespace

void TestGridColumns::columnsFollowTheirGrid()
{
    GridFixture data;
    TOrvoColumn* column = data.Grid.Columns()->Add();
    column->SetFieldName(QStringLiteral("amount"));
    QCOMPARE(column->Field(), data.Field("amount"));
    data.Grid.SetColor(clYellow);
    data.Grid.SetFixedColor(clAqua);
    QCOMPARE(column->Color(), clYellow);
    QCOMPARE(column->Title()->Color(), clAqua);
    data.Grid.SetReadOnly(true);
    QVERIFY(column->ReadOnly());
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, column->SetLookupDataSet(&data.Table));
    QCOMPARE(column->LookupDataSet(), nullptr);

    const int narrow = column->DefaultWidth();
    data.Field("amount")->SetDisplayWidth(data.Field("amount")->DisplayWidth() * 3);
    QVERIFY(column->DefaultWidth() > narrow);
    data.Grid.SetDefaultWidthMax(40);
    QCOMPARE(column->DefaultWidth(), 40);
    data.Grid.SetDefaultWidthMax(-1);
    data.Grid.SetDefaultWidthMin(300);
    QCOMPARE(column->DefaultWidth(), 300);
    QCOMPARE(column->Width(), 300);
    data.Grid.SetDefaultWidthMin(-1);

    // With titles counting, a long caption widens the column.
    data.Grid.SetOptions(data.Grid.Options() - dgTitleWidthOff);
    const int plain = column->DefaultWidth();
    column->Title()->SetCaption(QStringLiteral("A very long caption for a small number ").repeated(4));
    QVERIFY(column->DefaultWidth() > plain);

    column->SetExpandCols(1);
    TOrvoColumn* sub = data.Grid.Columns()->Add();
    QList<TOrvoColumn*> expanded;
    data.Grid.OnColExpand = [&](TOrvoColumn* changed) { expanded << changed; };
    data.Grid.SetCol(data.Grid.DataToRawColumn(sub->Index()));
    column->SetExpanded(false);
    QCOMPARE(sub->Width(), -data.Grid.GridLineWidth()); // hidden: the base grid gives it no room
    QCOMPARE(data.Grid.SelectedColumn(), column);       // the current cell moved to a shown column
    QCOMPARE(expanded, QList<TOrvoColumn*>{column});

    TOrvoColumn* flag = data.Grid.Columns()->Add();
    flag->SetFieldName(QStringLiteral("name"));
    flag->SetCheckBoxValues(QStringLiteral("one;two"));
    QCOMPARE(flag->CheckBoxState(), cbChecked);
}

void TestGridColumns::defaultColumnsWriteToTheirField()
{
    GridFixture data;
    TOrvoColumn* column = data.Grid.ColumnByFieldName(QStringLiteral("name"));
    QVERIFY(column && !column->Stored());
    column->SetAlignment(taCenter);
    QCOMPARE(data.Field("name")->Alignment(), taCenter);
    QVERIFY(!column->IsAlignmentStored());
    column->Title()->SetCaption(QStringLiteral("Label"));
    QCOMPARE(data.Field("name")->DisplayLabel(), QStringLiteral("Label"));
    QVERIFY(!column->Title()->IsCaptionStored());
    const int characters = data.Field("name")->DisplayWidth();
    column->SetWidth(column->DefaultWidth() * 2);
    QVERIFY(data.Field("name")->DisplayWidth() > characters);

    // A stored column keeps its own values.
    TOrvoColumn* stored = data.Grid.Columns()->Add();
    stored->SetFieldName(QStringLiteral("amount"));
    stored->SetAlignment(taCenter);
    QCOMPARE(data.Field("amount")->Alignment(), taRightJustify);
    QCOMPARE(stored->Alignment(), taCenter);
}

void TestGridColumns::rebuildMakesStoredColumnsFromFields()
{
    GridFixture data;
    data.Grid.SetOptionsExt(data.Grid.OptionsExt() + dgAutoNumberColumn + dgAutoSelectColumn);
    data.Grid.Columns()->SetState(csCustomized);
    TOrvoDBGridColumns* columns = data.Grid.Columns();
    QCOMPARE(columns->State(), csCustomized);
    QCOMPARE(columns->Count(), data.Table.Fields()->Count() + 2);
    QVERIFY(columns->Items(0)->AutoNumber());
    QCOMPARE(columns->Items(0)->Width(), TOrvoDBGridColumns::AutoColumnWidth());
    QVERIFY(columns->Items(1)->CheckBox());
    QCOMPARE(columns->Items(2)->FieldName(), QStringLiteral("id"));
    QCOMPARE(columns->Items(2)->Field(), data.Field("id"));
    // Back to default, the grid makes one column per field again.
    columns->SetState(csDefault);
    QCOMPARE(columns->State(), csDefault);
    QCOMPARE(columns->Count(), data.Table.Fields()->Count() + 2);
}

void TestGridColumns::totalsReadTheGrid()
{
    GridFixture data;
    TOrvoColumn* column = data.Grid.Columns()->Add();
    column->SetFieldName(QStringLiteral("name"));
    TOrvoColumnTotalValue* total = column->TotalValues()->Add();
    total->SetCaption(QStringLiteral("All|Selected"));
    QCOMPARE(total->GetText(), QStringLiteral("All"));
    data.Grid.Totals()->SetSelectedRowsPresent(true);
    QCOMPARE(total->GetText(), QStringLiteral("Selected"));

    total->SetTotalResult(trDataField);
    QCOMPARE(total->GetText(), QStringLiteral("one"));
    total->SetFieldName(QStringLiteral("amount"));
    QCOMPARE(total->GetText(), QStringLiteral("5"));
    QCOMPARE(total->Field(), data.Field("amount"));

    data.Grid.Totals()->SetColor(clLime);
    QCOMPARE(total->Color(), clLime);
    total->SetTotalResult(trTotalField);
    QVERIFY(total->GetText().isEmpty()); // no totals dataset
}

void TestGridColumns::memoEditTextRoundTrips()
{
    GridFixture data;
    TOrvoColumn* memo = data.Grid.ColumnByFieldName(QStringLiteral("note"));
    QVERIFY(memo);
    QCOMPARE(memo->EditText(), QStringLiteral("long text"));
    data.Table.Edit();
    // Closing the editor stores its text back: the memo must survive that unchanged.
    memo->StoreEditText(memo->EditText());
    QCOMPARE(data.Field("note")->AsString(), QStringLiteral("long text"));
    memo->StoreEditText(QStringLiteral("short"));
    data.Table.Post();
    QCOMPARE(data.Field("note")->AsString(), QStringLiteral("short"));
}

void TestGridColumns::storedTextReachesTheOpenEditor()
{
    GridFixture data;
    data.Grid.SetOptions(data.Grid.Options() + dgEditing);
    data.Grid.resize(400, 300);
    data.Grid.show();
    TOrvoColumn* column = data.Grid.ColumnByFieldName(QStringLiteral("name"));
    data.Grid.SetCol(data.Grid.DataToRawColumn(column->Index()));
    data.Grid.ShowEditor();
    QVERIFY(data.Grid.EditorMode());
    QCOMPARE(data.Grid.InplaceEditor()->text(), QStringLiteral("one"));

    // A list choice that closes the editor leaves its text there, so closing the
    // editor does not store the old text over it.
    data.Table.Edit();
    column->StoreEditText(QStringLiteral("two"));
    QCOMPARE(data.Grid.InplaceEditor()->text(), QStringLiteral("two"));
    QCOMPARE(data.Field("name")->AsString(), QStringLiteral("two"));

    data.Table.Cancel();
}

void TestGridColumns::autoNumberNumbersTheDrawnRow()
{
    GridFixture data;
    data.Db.ExecSQL(
        QStringLiteral("INSERT INTO items VALUES (2, 'two', 6, '', 'b'), (3, 'three', 7, '', 'c')"));
    data.Table.Close();
    data.Table.Open();
    data.Grid.resize(400, 400);
    TOrvoColumn* number = data.Grid.Columns()->Add();
    number->SetAutoNumber(true);
    data.Table.First();
    data.Table.Next();
    QCOMPARE(number->DisplayText(), QStringLiteral("2."));
    QCOMPARE(number->EditText(), QStringLiteral("2."));
    QVERIFY(data.Grid.ColGetText(number, tkReport).isEmpty());

    // Painting switches the link to the drawn record.
    TOrvoGridDataLink* link = data.Grid.DataLink();
    QCOMPARE(link->RecordCount(), 3);
    const int current = link->ActiveRecord();
    link->SetActiveRecord(2);
    QCOMPARE(number->DisplayText(), QStringLiteral("3."));
    link->SetActiveRecord(current);

    {
        const test::TGridSettingsGuard settings;
        TOrvoCustomDBGrid::AutoNumberFormat() = QStringLiteral("#%d");
        QCOMPARE(number->DisplayText(), QStringLiteral("#2"));
    }

    // Without sequence mode the record being inserted has no number yet.
    data.Table.Insert();
    QVERIFY(number->DisplayText().isEmpty());
    data.Table.Cancel();

    // In sequence mode the rows after an inserted one keep their numbers.
    data.Grid.SetOptions(data.Grid.Options() + dgForceSequence);
    data.Grid.RecountSequence();
    QCOMPARE(data.Grid.SequenceRecNo(), 2);
    data.Table.Insert();
    const int inserted = link->ActiveRecord();
    QVERIFY(number->DisplayText().isEmpty());
    link->SetActiveRecord(inserted - 1);
    QCOMPARE(number->DisplayText(), QStringLiteral("1."));
    link->SetActiveRecord(inserted + 1);
    QCOMPARE(number->DisplayText(), QStringLiteral("2."));
    link->SetActiveRecord(inserted);
    data.Table.Cancel();
}

void TestGridColumns::lookupValueColumnShowsTheLookedUpText()
{
    GridFixture data;
    data.Db.ExecSQL(QStringLiteral("INSERT INTO codes VALUES ('a', 'Alpha'), ('b', 'Beta')"));
    data.Lookup.Close();
    TOrvoColumn* column = data.Grid.Columns()->Add();
    column->SetFieldName(QStringLiteral("code"));
    column->SetLookupDataSet(&data.Lookup);
    column->SetLookupKeyField(QStringLiteral("code"));
    column->SetLookupResultField(QStringLiteral("label"));
    QCOMPARE(column->LookupColumn(), lcLookupValueField);
    QCOMPARE(column->DisplayText(), QStringLiteral("Alpha"));
    QCOMPARE(column->EditText(), QStringLiteral("Alpha"));
    QVERIFY(!data.Lookup.Active()); // opened for the search only

    data.Lookup.Open();
    data.Table.Edit();
    data.Field("code")->SetAsString(QStringLiteral("b"));
    QCOMPARE(column->DisplayText(), QStringLiteral("Beta"));
    data.Field("code")->SetAsString(QStringLiteral("zz"));
    QVERIFY(column->DisplayText().isEmpty());
    QVERIFY(data.Lookup.Active());

    // Drawing a cell never posts an unfinished edit of the lookup dataset.
    data.Lookup.First();
    data.Lookup.Edit();
    data.Lookup.FieldByName(QStringLiteral("label"))->SetAsString(QStringLiteral("Unfinished"));
    data.Field("code")->SetAsString(QStringLiteral("b"));
    QCOMPARE(column->DisplayText(), QStringLiteral("Beta"));
    QCOMPARE(data.Lookup.State(), dsEdit);
    data.Lookup.Cancel();
    QCOMPARE(data.Lookup.FieldByName(QStringLiteral("label"))->AsString(), QStringLiteral("Alpha"));
    data.Table.Cancel();
}

namespace {

/// A grid whose pick mapping is visible: "a" shows as "Alpha", "b" shows nothing, every
/// other value in capitals.
class TMappingGrid : public TOrvoDBGrid
{
public:
    QString PickValueToText(TOrvoColumn*, const TVariant& value) override
    {
        const QString text = value.AsString();
        if (text == QLatin1String("a"))
            return QStringLiteral("Alpha");
        return text == QLatin1String("b") ? QString() : text.toUpper();
    }
    TVariant PickTextToValue(TOrvoColumn*, const QString& text) override
    {
        return text == QLatin1String("Alpha") ? QStringLiteral("a") : text.toLower();
    }
};

} // namespace

void TestGridColumns::multiSelectListMapsEachValue()
{
    FieldFixture data;
    TDataSource source;
    source.SetDataSet(&data.Table);
    TMappingGrid grid;
    grid.SetDataSource(&source);
    TOrvoColumn* column = grid.Columns()->Add();
    column->SetFieldName(QStringLiteral("name"));
    data.Table.Edit();
    data.Field("name")->SetAsString(QStringLiteral("a,b,c"));

    // Without the multi-select option the whole text is one value.
    QCOMPARE(column->EditText(), QStringLiteral("A,B,C"));

    column->SetPickList({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    column->SetListOptions(column->ListOptions() + loMultiSelectList);
    QCOMPARE(column->EditText(), QStringLiteral("Alpha,C"));
    QCOMPARE(column->DisplayText(), QStringLiteral("Alpha ..."));
    QString seen;
    grid.OnColGetText = [&seen](TOrvoColumn*, QString& text, TTextKind) { seen = text; };
    column->DisplayText();
    QCOMPARE(seen, QStringLiteral("Alpha ...")); // the event sees the finished text
    grid.OnColGetText = nullptr;
    column->SetMultiSelectText(mstDefault);
    QCOMPARE(column->DisplayText(), QStringLiteral("Alpha,C"));
    column->SetMultiSelectText(mstEllipsis);

    QString text = QStringLiteral("Alpha,C,,D");
    grid.ColSetText(column, text);
    QCOMPARE(text, QStringLiteral("a,c,d"));

    column->SetDelimiterText(QStringLiteral("; "));
    data.Field("name")->SetAsString(QStringLiteral("c; a"));
    QCOMPARE(column->EditText(), QStringLiteral("C; Alpha"));
    data.Field("name")->SetAsString(QStringLiteral("b"));
    QCOMPARE(column->EditText(), QString());
    QCOMPARE(column->DisplayText(), QStringLiteral("..."));
    data.Table.Cancel();
}

void TestGridColumns::restoringDefaultsKeepsTheLookup()
{
    FieldFixture data;
    TOrvoColumn column;
    column.SetFieldName(QStringLiteral("code"));
    column.SetKeyField(QStringLiteral("code"));
    column.SetLookupDataSet(&data.Lookup);
    column.SetLookupKeyField(QStringLiteral("code"));
    column.SetLookupResultField(QStringLiteral("label"));
    column.SetLookupListFields(QStringLiteral("label;code"));
    column.SetColor(clRed);
    column.RestoreDefaults();
    QCOMPARE(column.FieldName(), QStringLiteral("code"));
    QCOMPARE(column.KeyField(), QStringLiteral("code"));
    QCOMPARE(column.LookupDataSet(), &data.Lookup);
    QCOMPARE(column.LookupKeyField(), QStringLiteral("code"));
    QCOMPARE(column.LookupResultField(), QStringLiteral("label"));
    QVERIFY(column.LookupListFields().isEmpty());
    QVERIFY(!column.IsColorStored());
}

void TestGridColumns::expandColsCountOnlyFollowingColumns()
{
    TOrvoDBGridColumns columns(nullptr);
    TOrvoColumn* group = columns.Add();
    group->SetExpandCols(2); // set before its sub-columns exist
    QCOMPARE(group->ExpandCols(), 2);
    QCOMPARE(columns.EffectiveExpandCols(group), 0);
    QVERIFY(!group->HasSubColumns());
    QVERIFY(group->IsShown()); // no sub-columns to show instead

    columns.Add();
    QCOMPARE(columns.EffectiveExpandCols(group), 1);
    columns.Add();
    columns.Add();
    QCOMPARE(columns.EffectiveExpandCols(group), 2);
    QCOMPARE(columns.Items(2)->ParentColumn(), group);
    QCOMPARE(columns.Items(3)->ParentColumn(), nullptr);
    QVERIFY(!group->IsShown());

    // Covering a column that has sub-columns of its own covers them too.
    group->SetExpandCols(1);
    columns.Items(1)->SetExpandCols(2);
    QCOMPARE(columns.EffectiveExpandCols(group), 3);
    QCOMPARE(group->ExpandCols(), 1);
    QCOMPARE(group->LastSubColumnIndex(), 3);
    QCOMPARE(columns.Items(3)->ColumnDepth(), 2);
}

void TestGridColumns::expandingKeepsTheCursorNearby()
{
    GridFixture data;
    TOrvoDBGridColumns* columns = data.Grid.Columns();
    for (const char* name : {"id", "name", "amount", "note", "code"})
        columns->Add()->SetFieldName(QString::fromLatin1(name));
    TOrvoColumn* group = columns->Items(1);
    group->SetExpandCols(2);
    const auto current = [&data] { return data.Grid.SelectedColumn()->FieldName(); };

    data.Grid.SetCol(data.Grid.DataToRawColumn(3));
    group->SetExpanded(false); // collapsing looks to the left: the group itself
    QCOMPARE(current(), QStringLiteral("name"));
    group->SetExpanded(true); // expanding looks to the right: its first sub-column
    QCOMPARE(current(), QStringLiteral("amount"));

    data.Grid.SetCol(data.Grid.DataToRawColumn(4));
    group->SetExpanded(false); // a cursor outside the group stays
    QCOMPARE(current(), QStringLiteral("code"));
}

void TestGridColumns::unboundDefaultColumnForgetsItsField()
{
    GridFixture data;
    QPointer<TOrvoColumn> column = data.Grid.ColumnByFieldName(QStringLiteral("name"));
    QVERIFY(column && !column->Stored());
    data.Grid.BeginLayout();
    column->SetColor(clRed);
    column->SetField(nullptr);
    QVERIFY(column->FieldName().isEmpty());
    QVERIFY(!column->IsColorStored());
    data.Grid.EndLayout();
    QVERIFY(!column); // the next layout pass frees it

    TOrvoColumn* stored = data.Grid.Columns()->Add();
    stored->SetFieldName(QStringLiteral("amount"));
    stored->SetColor(clRed);
    stored->SetField(nullptr);
    QCOMPARE(stored->FieldName(), QStringLiteral("amount"));
    QVERIFY(stored->IsColorStored());
}

void TestGridColumns::checkBoxTogglesWhereTheCellMayChange()
{
    GridFixture data;
    TOrvoColumn* flag = data.Grid.Columns()->Add();
    flag->SetFieldName(QStringLiteral("code"));
    flag->SetCheckBox(true);
    flag->SetCheckBoxValues(QStringLiteral("a;b"));
    TOrvoColumn* select = data.Grid.Columns()->Add();
    select->SetCheckBox(true);
    TField* code = data.Field("code");

    data.Grid.SetCol(data.Grid.DataToRawColumn(select->Index()));
    QVERIFY(!flag->ToggleCheckBox()); // not the current cell
    QCOMPARE(code->AsString(), QStringLiteral("a"));
    data.Grid.SetCol(data.Grid.DataToRawColumn(flag->Index()));
    QVERIFY(flag->ToggleCheckBox());
    QCOMPARE(code->AsString(), QStringLiteral("b"));
    QCOMPARE(flag->CheckBoxState(), cbUnchecked);
    QVERIFY(flag->ToggleCheckBox());
    QCOMPARE(code->AsString(), QStringLiteral("a"));

    flag->SetCheckBoxValues(QStringLiteral("a")); // one word: unchecking empties the field
    QVERIFY(flag->ToggleCheckBox());
    QCOMPARE(code->AsString(), QString());
    QCOMPARE(flag->CheckBoxState(), cbGrayed);
    QVERIFY(flag->ToggleCheckBox());
    QCOMPARE(code->AsString(), QStringLiteral("a"));

    data.Grid.SetReadOnly(true);
    QVERIFY(!flag->ToggleCheckBox());
    QCOMPARE(code->AsString(), QStringLiteral("a"));

    // Without a field the box is the row's selection mark.
    QCOMPARE(select->CheckBoxState(), cbUnchecked);
    QVERIFY(select->ToggleCheckBox());
    QCOMPARE(select->CheckBoxState(), cbChecked);
}

void TestGridColumns::imageIndexFollowsTheCell()
{
    GridFixture data;
    TCustomImageList images;
    for (int i = 0; i < 4; ++i)
        images.AddImage(QImage(16, 16, QImage::Format_ARGB32));
    TOrvoColumn* flag = data.Grid.Columns()->Add();
    flag->SetFieldName(QStringLiteral("code"));
    flag->SetCheckBox(true);
    flag->SetCheckBoxValues(QStringLiteral("a;b"));
    flag->SetCheckBoxKind(ckCross);
    flag->SetImages(&images);
    QCOMPARE(flag->ImageIndex(), 1); // index 4 of four images is out of range
    images.AddImage(QImage(16, 16, QImage::Format_ARGB32));
    QCOMPARE(flag->ImageIndex(), 4);

    TOrvoColumn* box = data.Grid.Columns()->Add();
    box->SetExpandBox(true);
    QCOMPARE(box->ExpandBoxState(), 2); // no tree view: no box
    QCOMPARE(box->ImageIndex(), 2);

    TOrvoColumn* amount = data.Grid.Columns()->Add();
    amount->SetFieldName(QStringLiteral("amount"));
    QCOMPARE(amount->ImageIndex(), 5);
    TOrvoColumn* name = data.Grid.Columns()->Add();
    name->SetFieldName(QStringLiteral("name"));
    QCOMPARE(name->ImageIndex(), -1);
}

QTEST_MAIN(TestGridColumns)
#include "tst_grid_columns.moc"
