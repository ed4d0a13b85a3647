#include "common/texceptionhandlerscope.h"
#include "grid/columns/torvocolumn.h"
#include "grid/common/gridtestwidgets.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "grid/selection/torvobookmarklist.h"
#include "grid/totals/torvocolumntotalfields.h"
#include "grid/totals/torvocolumntotalfooter.h"
#include "grid/totals/torvocolumntotalheader.h"
#include "grid/totals/torvocolumntotalvalues.h"
#include "grid/totals/torvodbgridtotals.h"
#include "grid/totals/totalarithmetic.h"
#include "platform/core/exceptions.h"
#include "platform/data/tdatasource.h"
#include "platform/data/tfield.h"
#include "platform/sqlite/tsqlitedatabase.h"
#include "platform/sqlite/tsqlitetable.h"

#include <QTemporaryDir>
#include <QTest>

#include <climits>

using namespace orvo;

Q_DECLARE_METATYPE(orvo::TOrvoDBGridOptionsEx)

namespace {

/// A table `t` of ids 1..n with an integer column `n`, a money column `m` and a text
/// column `s`, filled from a list where "null" stands for NULL.
struct TNumbers
{
    explicit TNumbers(const QStringList& values)
    {
        Db.SetDatabaseName(Dir.filePath(QStringLiteral("numbers.db")));
        Db.SetCreateIfMissing(true);
        Db.Open();
        Db.ExecSQL(QStringLiteral("CREATE TABLE t (id INTEGER PRIMARY KEY, n INTEGER, m MONEY, s TEXT)"));
        qint64 id = 0;
        for (const QString& value : values) {
            const TVariant n =
                value == QLatin1String("null") ? TVariant::Null() : TVariant(value.toLongLong());
            const TVariant m =
                value == QLatin1String("null") ? TVariant::Null() : TVariant(value.toDouble() / 10);
            Db.ExecSQL(QStringLiteral("INSERT INTO t (id, n, m, s) VALUES (?, ?, ?, ?)"),
                       {++id, n, m, TVariant(QStringLiteral("text %1").arg(id))});
        }
        Table.SetDatabase(&Db);
        Table.SetTableName(QStringLiteral("t"));
        Source.SetDataSet(&Table);
        Table.Open();
    }

    QTemporaryDir Dir;
    TSQLiteDatabase Db;
    TSQLiteTable Table;
    TDataSource Source;
};

/// A grid over `numbers` that calculates at once (no delay), with a footer total.
struct TTotalsGrid
{
    explicit TTotalsGrid(TNumbers& numbers, TOrvoDBGridOptionsEx extra = {})
    {
        Grid.SetOptionsEx(Grid.OptionsEx() - TOrvoDBGridOptionsEx{dgDelayUpdateTotals} + extra);
        Grid.SetDataSource(&numbers.Source);
    }

    TOrvoColumnTotalValue* Footer(const char* field, TCalcValue calcValue, TNullValue nullValue = nvExclude)
    {
        TOrvoColumnTotalValue* total = Grid.ColumnByFieldName(QLatin1String(field))->TotalFooter();
        total->SetCalcValue(calcValue);
        total->SetNullValue(nullValue);
        total->SetTotalResult(trCalcValue);
        return total;
    }

    TOrvoDBGrid Grid;
};

TVariant Int(qint64 value)
{
    return TVariant(value);
}

} // namespace

class TestTotalsCalc : public QObject
{
    Q_OBJECT

private slots:
    void aggregatesFollowTheNullRule_data();
    void aggregatesFollowTheNullRule();
    void currencyStaysExact();
    void sumsNeverWrap_data();
    void sumsNeverWrap();
    void aFailedStepLeavesOnlyThatTotalEmpty();
    void badInputShowsEmptyAndKeepsTheOthers();
    void aFailingWalkRestoresPositionAndControls();
    void recordsTakenFollowOptionsAndCalcApply_data();
    void recordsTakenFollowOptionsAndCalcApply();
    void refusedRecordsStayOutOfEveryTotal();
    void positionAndRowAreKept_data();
    void positionAndRowAreKept();
    void aBurstOfPostsGivesOneUpdate();
    void aDelayedCalculationKeepsRowNumbers();
    void invisibleRowsAreCalculatedOnRequest();
    void selectedRowsShowAndHideTheirRows();
    void selectedColumnsShowTheirRowsOverTheWholeDataSet();
    void noTotalRowNoCalculation();
    void changingATotalRecalculates();
    void resultsShowInTheirFormats_data();
    void resultsShowInTheirFormats();
    void totalsDataSetRowsShowTheirRecords();
};

void TestTotalsCalc::aggregatesFollowTheNullRule_data()
{
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<TCalcValue>("calcValue");
    QTest::addColumn<TNullValue>("nullValue");
    QTest::addColumn<TVariant>("expected");
    QTest::addColumn<bool>("walk");
    const QStringList twoNullFour{"2", "null", "4"};
    const TVariant null = TVariant::Null();
    struct Row
    {
        const char* name;
        TCalcValue calc;
        TVariant exclude, include, asZero;
    };
    const Row rows[] = {
        {"sum", cvSum, Int(6), Int(6), Int(6)},
        {"avg", cvAvg, TVariant(3.0), TVariant(2.0), TVariant(2.0)},
        {"count", cvCount, Int(2), Int(3), Int(3)},
        {"max", cvMax, Int(4), Int(4), Int(4)},
        {"min", cvMin, Int(2), null, Int(0)},
        {"first", cvFirst, Int(2), Int(2), Int(2)},
        {"last", cvLast, Int(4), Int(4), Int(4)},
        {"unique", cvUnique, null, null, null},
    };
    for (const Row& row : rows) {
        QTest::addRow("%s exclude", row.name) << twoNullFour << row.calc << nvExclude << row.exclude << false;
        QTest::addRow("%s exclude (walk)", row.name)
            << twoNullFour << row.calc << nvExclude << row.exclude << true;
        QTest::addRow("%s include", row.name) << twoNullFour << row.calc << nvInclude << row.include << false;
        QTest::addRow("%s include (walk)", row.name)
            << twoNullFour << row.calc << nvInclude << row.include << true;
        QTest::addRow("%s as zero", row.name) << twoNullFour << row.calc << nvAsZero << row.asZero << false;
        QTest::addRow("%s as zero (walk)", row.name)
            << twoNullFour << row.calc << nvAsZero << row.asZero << true;
    }
    const QStringList nullFirst{"null", "5", "3"};
    QTest::newRow("first include null") << nullFirst << cvFirst << nvInclude << null << false;
    QTest::newRow("first include null (walk)") << nullFirst << cvFirst << nvInclude << null << true;
    QTest::newRow("first exclude null") << nullFirst << cvFirst << nvExclude << Int(5) << false;
    QTest::newRow("first exclude null (walk)") << nullFirst << cvFirst << nvExclude << Int(5) << true;
    QTest::newRow("max include null") << nullFirst << cvMax << nvInclude << Int(5) << false;
    QTest::newRow("max include null (walk)") << nullFirst << cvMax << nvInclude << Int(5) << true;
    QTest::newRow("min include null") << nullFirst << cvMin << nvInclude << null << false;
    QTest::newRow("min include null (walk)") << nullFirst << cvMin << nvInclude << null << true;
    QTest::newRow("max of nulls") << QStringList{"null", "null"} << cvMax << nvInclude << null << false;
    QTest::newRow("max of nulls (walk)") << QStringList{"null", "null"} << cvMax << nvInclude << null << true;
    QTest::newRow("sum of nulls excluded")
        << QStringList{"null", "null"} << cvSum << nvExclude << TVariant() << false;
    QTest::newRow("sum of nulls excluded (walk)")
        << QStringList{"null", "null"} << cvSum << nvExclude << TVariant() << true;
    QTest::newRow("count none") << QStringList{"null"} << cvCount << nvExclude << TVariant() << false;
    QTest::newRow("count none (walk)") << QStringList{"null"} << cvCount << nvExclude << TVariant() << true;
    QTest::newRow("unique equal") << QStringList{"5", "5", "null"} << cvUnique << nvExclude << Int(5)
                                  << false;
    QTest::newRow("unique equal (walk)")
        << QStringList{"5", "5", "null"} << cvUnique << nvExclude << Int(5) << true;
    QTest::newRow("unique with null included")
        << QStringList{"5", "5", "null"} << cvUnique << nvInclude << null << false;
    QTest::newRow("unique with null included (walk)")
        << QStringList{"5", "5", "null"} << cvUnique << nvInclude << null << true;
    QTest::newRow("unique null as zero")
        << QStringList{"0", "null"} << cvUnique << nvAsZero << Int(0) << false;
    QTest::newRow("unique null as zero (walk)")
        << QStringList{"0", "null"} << cvUnique << nvAsZero << Int(0) << true;
    QTest::newRow("unique back to first")
        << QStringList{"5", "6", "5"} << cvUnique << nvExclude << null << false;
    QTest::newRow("unique back to first (walk)")
        << QStringList{"5", "6", "5"} << cvUnique << nvExclude << null << true;
    QTest::newRow("integers average")
        << QStringList{"1", "2"} << cvAvg << nvExclude << TVariant(1.5) << false;
    QTest::newRow("integers average (walk)")
        << QStringList{"1", "2"} << cvAvg << nvExclude << TVariant(1.5) << true;
    QTest::newRow("negative average")
        << QStringList{"-1", "-2", "null"} << cvAvg << nvAsZero << TVariant(-1.0) << false;
    QTest::newRow("negative average (walk)")
        << QStringList{"-1", "-2", "null"} << cvAvg << nvAsZero << TVariant(-1.0) << true;
}

void TestTotalsCalc::aggregatesFollowTheNullRule()
{
    QFETCH(QStringList, values);
    QFETCH(TCalcValue, calcValue);
    QFETCH(TNullValue, nullValue);
    QFETCH(TVariant, expected);
    QFETCH(bool, walk);
    TNumbers numbers(values);
    TTotalsGrid grid(numbers, {dgTotalFooter});
    // A handler that accepts every record makes the grid walk them; without one the
    // database answers.
    if (walk)
        grid.Grid.OnTotalCalcQuery = [](QObject*, TDataSet*, bool&) {};
    TOrvoColumnTotalValue* total = grid.Footer("n", calcValue, nullValue);
    QCOMPARE(total->Value(), expected);
    QCOMPARE(total->Caption(), total->FormatValue(expected));
}

void TestTotalsCalc::currencyStaysExact()
{
    // Ten-thousandths add up exactly where doubles drift: 0.1 + 0.2 is 0.3.
    TNumbers numbers({"1", "2", "null", "4"});
    TTotalsGrid grid(numbers, {dgTotalFooter});
    TOrvoColumnTotalValue* total = grid.Footer("m", cvSum);
    QCOMPARE(total->Value(), TVariant(TCurrency::FromRaw(7000)));
    total->SetCalcValue(cvAvg);
    QCOMPARE(total->Value(), TVariant(TCurrency::FromRaw(2333)));
    total->SetNullValue(nvInclude);
    QCOMPARE(total->Value(), TVariant(TCurrency::FromRaw(1750)));
    // Half away from zero.
    QCOMPARE(TotalArithmetic::Average(TVariant(TCurrency::FromRaw(-5)), 2), TVariant(TCurrency::FromRaw(-3)));
    QCOMPARE(TotalArithmetic::Average(TVariant(TCurrency::FromRaw(5)), 2), TVariant(TCurrency::FromRaw(3)));
    QCOMPARE(TotalArithmetic::Average(TVariant(TCurrency::FromRaw(4)), 3), TVariant(TCurrency::FromRaw(1)));
}

void TestTotalsCalc::sumsNeverWrap_data()
{
    QTest::addColumn<TVariant>("a");
    QTest::addColumn<TVariant>("b");
    QTest::addColumn<TVariant>("sum");
    QTest::newRow("integers") << Int(LLONG_MAX - 1) << Int(1) << Int(LLONG_MAX);
    QTest::newRow("past the top") << Int(LLONG_MAX) << Int(1) << TVariant(9223372036854775808.0);
    QTest::newRow("past the bottom") << Int(LLONG_MIN) << Int(-1) << TVariant(-9223372036854775809.0);
    QTest::newRow("currency") << TVariant(TCurrency::FromRaw(LLONG_MAX - 2))
                              << TVariant(TCurrency::FromRaw(2)) << TVariant(TCurrency::FromRaw(LLONG_MAX));
    QTest::newRow("currency past the top")
        << TVariant(TCurrency::FromRaw(LLONG_MAX)) << TVariant(TCurrency::FromRaw(1))
        << TVariant(922337203685477.5808);
    QTest::newRow("integer too large for currency")
        << TVariant(TCurrency::FromRaw(1)) << Int(LLONG_MAX / 1000) << TVariant(9223372036854775.0001);
    QTest::newRow("integer and currency")
        << Int(2) << TVariant(TCurrency::FromRaw(5)) << TVariant(TCurrency::FromRaw(20005));
    QTest::newRow("integer and double") << Int(2) << TVariant(0.5) << TVariant(2.5);
    QTest::newRow("booleans count") << TVariant(true) << TVariant(true) << Int(2);
    QTest::newRow("empty starts") << TVariant() << Int(-7) << Int(-7);
}

void TestTotalsCalc::sumsNeverWrap()
{
    QFETCH(TVariant, a);
    QFETCH(TVariant, b);
    QFETCH(TVariant, sum);
    QCOMPARE(TotalArithmetic::Add(a, b), sum);
}

void TestTotalsCalc::aFailedStepLeavesOnlyThatTotalEmpty()
{
    TNumbers numbers({"1", "2", "3", "4"});
    TTotalsGrid grid(numbers, {dgTotalFooter});
    TOrvoColumnTotalValue* failing = grid.Footer("n", cvSum);
    TOrvoColumnTotalValue* other = grid.Footer("id", cvSum);
    // The handler raises on the second record only: a sum that started over after it
    // would show 7 as if it were the whole.
    grid.Grid.OnTotalCalcValue = [failing](TOrvoColumnTotalValue* total, TCalcPass pass, TVariant& value) {
        if (total == failing && pass == cpCalcRec && value == Int(2))
            throw EConvertError(QStringLiteral("no"));
    };
    grid.Grid.CalcTotals(false);
    QVERIFY(failing->Value().IsEmpty());
    QCOMPARE(failing->GetText(), QString());
    QCOMPARE(other->Value(), Int(10));
    // The next calculation starts anew.
    grid.Grid.OnTotalCalcValue = nullptr;
    grid.Grid.CalcTotals(false);
    QCOMPARE(failing->Value(), Int(10));
}

void TestTotalsCalc::badInputShowsEmptyAndKeepsTheOthers()
{
    TNumbers numbers({"1", "2", "3"});
    TTotalsGrid grid(numbers, {dgTotalFooter, dgTotalHeader});
    TOrvoColumnTotalValue* gone = grid.Footer("n", cvCount);
    gone->SetFieldName(QStringLiteral("nosuch"));
    TOrvoColumnTotalValue* text = grid.Footer("s", cvSum);
    TOrvoColumnTotalValue* count = grid.Footer("id", cvCount);
    TOrvoColumnTotalValue* textMax = grid.Grid.ColumnByFieldName(QStringLiteral("s"))->TotalHeader();
    textMax->SetCalcValue(cvMax);
    textMax->SetTotalResult(trCalcValue);
    QVERIFY(gone->Value().IsEmpty());
    QVERIFY(text->Value().IsEmpty());
    QCOMPARE(count->Value(), Int(3));
    QCOMPARE(textMax->Value(), TVariant(QStringLiteral("text 3")));
}

void TestTotalsCalc::aFailingWalkRestoresPositionAndControls()
{
    TNumbers numbers({"1", "2", "3", "4", "5"});
    TTotalsGrid grid(numbers, {dgTotalFooter});
    TOrvoColumnTotalValue* sum = grid.Footer("n", cvSum);
    QCOMPARE(sum->Value(), Int(15));
    numbers.Table.Locate(QStringLiteral("id"), Int(2), {});
    QStringList messages;
    test::TExceptionHandlerScope handler(test::TExceptionHandlerScope::Recording(messages));
    int updates = 0;
    grid.Grid.OnTotalsUpdated = [&updates](QObject*) { ++updates; };
    grid.Grid.OnTotalCalcQuery = [](QObject*, TDataSet* dataSet, bool&) {
        if (dataSet->FieldByName(QStringLiteral("id"))->AsInteger() == 4)
            throw EDatabaseError(QStringLiteral("disk gone"));
    };
    grid.Grid.CalcTotals(false);
    QCOMPARE(messages, QStringList{QStringLiteral("disk gone")});
    QVERIFY(sum->Value().IsEmpty());
    QCOMPARE(updates, 1);
    QVERIFY(!numbers.Table.ControlsDisabled());
    QCOMPARE(numbers.Table.FieldByName(QStringLiteral("id"))->AsInteger(), 2);
    QVERIFY(!grid.Grid.IsBusy());
}

void TestTotalsCalc::recordsTakenFollowOptionsAndCalcApply_data()
{
    QTest::addColumn<TOrvoDBGridOptionsEx>("calcOptions");
    QTest::addColumn<TCalcApply>("calcApply");
    QTest::addColumn<bool>("selectTwo");
    QTest::addColumn<TVariant>("expected");
    const TOrvoDBGridOptionsEx both{dgCalcWholeDataSet, dgCalcSelectedRows};
    const TOrvoDBGridOptionsEx whole{dgCalcWholeDataSet};
    const TOrvoDBGridOptionsEx selectedOnly{dgCalcSelectedRows};
    // Values 1..5; rows 2 and 4 selected.
    QTest::newRow("both options, nothing selected") << both << caBoth << false << Int(15);
    QTest::newRow("both options, rows selected") << both << caBoth << true << Int(6);
    QTest::newRow("whole only, rows selected") << whole << caBoth << true << Int(15);
    QTest::newRow("selected only, nothing selected") << selectedOnly << caBoth << false << TVariant();
    QTest::newRow("selected only, rows selected") << selectedOnly << caBoth << true << Int(6);
    QTest::newRow("neither") << TOrvoDBGridOptionsEx() << caBoth << false << TVariant();
    QTest::newRow("selected-rows total, nothing selected") << both << caSelectedRows << false << TVariant();
    QTest::newRow("selected-rows total, rows selected") << both << caSelectedRows << true << Int(6);
    QTest::newRow("whole total, nothing selected") << both << caWholeDataSet << false << Int(15);
    QTest::newRow("whole total, rows selected") << both << caWholeDataSet << true << TVariant();
}

void TestTotalsCalc::recordsTakenFollowOptionsAndCalcApply()
{
    QFETCH(TOrvoDBGridOptionsEx, calcOptions);
    QFETCH(TCalcApply, calcApply);
    QFETCH(bool, selectTwo);
    QFETCH(TVariant, expected);
    TNumbers numbers({"1", "2", "3", "4", "5"});
    TTotalsGrid grid(numbers, {dgTotalFooter});
    grid.Grid.SetOptions(grid.Grid.Options() + TOrvoDBGridOptions{dgMultiSelect});
    grid.Grid.SetOptionsEx(grid.Grid.OptionsEx() -
                           TOrvoDBGridOptionsEx{dgCalcWholeDataSet, dgCalcSelectedRows} + calcOptions);
    TOrvoColumnTotalValue* sum = grid.Footer("n", cvSum);
    sum->SetCalcApply(calcApply);
    if (selectTwo) {
        for (int id : {2, 4}) {
            numbers.Table.Locate(QStringLiteral("id"), Int(id), {});
            grid.Grid.SelectedRows()->SetCurrentRowSelected(true);
        }
        grid.Grid.FlushUpdates();
        QVERIFY(grid.Grid.Totals()->SelectedRowsPresent());
    }
    grid.Grid.CalcTotals(false);
    QCOMPARE(sum->Value(), expected);
}

void TestTotalsCalc::refusedRecordsStayOutOfEveryTotal()
{
    TNumbers numbers({"1", "2", "3", "4"});
    TTotalsGrid grid(numbers, {dgTotalFooter, dgTotalHeader});
    grid.Grid.OnTotalCalcQuery = [](QObject*, TDataSet* dataSet, bool& accept) {
        accept = dataSet->FieldByName(QStringLiteral("n"))->AsInteger() % 2 == 0;
    };
    TOrvoColumnTotalValue* sum = grid.Footer("n", cvSum);
    TOrvoColumnTotalValue* count = grid.Footer("id", cvCount);
    TOrvoColumnTotalValue* first = grid.Grid.ColumnByFieldName(QStringLiteral("n"))->TotalHeader();
    first->SetCalcValue(cvFirst);
    first->SetTotalResult(trCalcValue);
    QCOMPARE(sum->Value(), Int(6));
    QCOMPARE(count->Value(), Int(2));
    QCOMPARE(first->Value(), Int(2));
}

void TestTotalsCalc::positionAndRowAreKept_data()
{
    QTest::addColumn<bool>("walk");
    QTest::addColumn<bool>("selectedRows");
    QTest::newRow("database") << false << false;
    QTest::newRow("walk") << true << false;
    QTest::newRow("selected rows") << true << true;
}

void TestTotalsCalc::positionAndRowAreKept()
{
    QFETCH(bool, walk);
    QFETCH(bool, selectedRows);
    QStringList values;
    for (int i = 1; i <= 200; ++i)
        values << QString::number(i);
    TNumbers numbers(values);
    TTotalsGrid grid(numbers, {dgTotalFooter});
    QVERIFY(test::ShowExposed(grid.Grid, 400, 300));
    if (walk)
        grid.Grid.OnTotalCalcQuery = [](QObject*, TDataSet*, bool&) {};
    TOrvoColumnTotalValue* sum = grid.Footer("n", cvSum);
    // The first, the last and a middle record selected, far from the current one.
    qint64 expected = 20100;
    if (selectedRows) {
        grid.Grid.SetOptions(grid.Grid.Options() + TOrvoDBGridOptions{dgMultiSelect});
        for (int id : {1, 60, 200}) {
            numbers.Table.Locate(QStringLiteral("id"), Int(id), {});
            grid.Grid.SelectedRows()->SetCurrentRowSelected(true);
        }
        grid.Grid.FlushUpdates();
        expected = 261;
    }
    numbers.Table.Locate(QStringLiteral("id"), Int(120), {});
    numbers.Table.MoveBy(-3);
    const int buffers = grid.Grid.DataLink()->BufferCount();
    const int row = grid.Grid.DataLink()->ActiveRecord();
    const int id = numbers.Table.FieldByName(QStringLiteral("id"))->AsInteger();
    QVERIFY(row > 0);
    grid.Grid.CalcTotals(false);
    QCOMPARE(sum->Value(), Int(expected));
    QCOMPARE(numbers.Table.FieldByName(QStringLiteral("id"))->AsInteger(), id);
    QCOMPARE(grid.Grid.DataLink()->ActiveRecord(), row);
    QCOMPARE(grid.Grid.DataLink()->BufferCount(), buffers);
    QCOMPARE(grid.Grid.DataLink()->RecordCount(), buffers);
    QVERIFY(!numbers.Table.ControlsDisabled());
}

void TestTotalsCalc::aBurstOfPostsGivesOneUpdate()
{
    TNumbers numbers({"1", "2", "3"});
    TOrvoDBGrid grid;
    grid.SetOptionsEx(grid.OptionsEx() + dgTotalFooter);
    QVERIFY(grid.OptionsEx().Contains(dgDelayUpdateTotals));
    grid.SetDataSource(&numbers.Source);
    QVERIFY(test::ShowExposed(grid, 400, 300));
    TOrvoColumnTotalValue* sum = grid.ColumnByFieldName(QStringLiteral("n"))->TotalFooter();
    sum->SetTotalResult(trCalcValue);
    QTRY_COMPARE(sum->Value(), Int(6));
    int updates = 0;
    grid.OnTotalsUpdated = [&updates](QObject*) { ++updates; };
    // Ten posts 10 ms apart, the event loop running between them: each restarts the delay.
    for (int i = 0; i < 10; ++i) {
        numbers.Table.Edit();
        numbers.Table.FieldByName(QStringLiteral("n"))
            ->SetAsInteger(numbers.Table.FieldByName(QStringLiteral("n"))->AsInteger() + 1);
        numbers.Table.Post();
        QTest::qWait(10);
    }
    QCOMPARE(updates, 0);
    QTRY_COMPARE(updates, 1);
    QCOMPARE(sum->Value(), Int(16));
    QTest::qWait(300);
    QCOMPARE(updates, 1);
}

void TestTotalsCalc::aDelayedCalculationKeepsRowNumbers()
{
    QStringList values;
    for (int i = 1; i <= 200; ++i)
        values << QString::number(i);
    TNumbers numbers(values);
    TOrvoDBGrid grid;
    grid.SetOptions(grid.Options() + TOrvoDBGridOptions{dgForceSequence});
    grid.SetOptionsEx(grid.OptionsEx() + dgTotalFooter);
    grid.SetDataSource(&numbers.Source);
    QVERIFY(test::ShowExposed(grid, 400, 300));
    grid.OnTotalCalcQuery = [](QObject*, TDataSet*, bool&) {};
    int updates = 0;
    grid.OnTotalsUpdated = [&updates](QObject*) { ++updates; };
    TOrvoColumnTotalValue* sum = grid.ColumnByFieldName(QStringLiteral("n"))->TotalFooter();
    sum->SetTotalResult(trCalcValue);
    QTRY_COMPARE(updates, 1);
    numbers.Table.Locate(QStringLiteral("id"), Int(120), {});
    numbers.Table.MoveBy(-3);
    QTRY_COMPARE(grid.SequenceRecNo(), 117); // the recount waits for its own delay
    const int row = grid.Row();
    grid.UpdateTotals(false);
    QTRY_COMPARE(updates, 2);
    QCOMPARE(sum->Value(), Int(20100));
    QCOMPARE(grid.Row(), row);
    QCOMPARE(grid.SequenceRecNo(), 117);
    numbers.Table.Next();
    QCOMPARE(grid.SequenceRecNo(), 118);
}

void TestTotalsCalc::invisibleRowsAreCalculatedOnRequest()
{
    TNumbers numbers({"1", "2"});
    TTotalsGrid grid(numbers, {dgTotalHeader});
    TOrvoColumnTotalValue* footer = grid.Footer("n", cvSum);
    grid.Grid.CalcTotals(false);
    QVERIFY(footer->Value().IsEmpty());
    grid.Grid.SetOptionsEx(grid.Grid.OptionsEx() + dgCalcInvisibleRows);
    QCOMPARE(footer->Value(), Int(3));
}

void TestTotalsCalc::selectedRowsShowAndHideTheirRows()
{
    TNumbers numbers({"1", "2", "3"});
    TTotalsGrid grid(numbers, {dgTotalFooter, dgTotalHeaderSelected});
    grid.Grid.SetOptions(grid.Grid.Options() + TOrvoDBGridOptions{dgMultiSelect});
    QVERIFY(grid.Grid.OptionsEx().Contains(dgSelectedAutoHidden));
    QVERIFY(!grid.Grid.OptionsEx().Contains(dgTotalHeader));
    TOrvoColumnTotalValue* header = grid.Grid.ColumnByFieldName(QStringLiteral("n"))->TotalHeader();
    header->SetTotalResult(trCalcValue);
    TOrvoColumnTotalValue* footer = grid.Footer("n", cvSum);
    QCOMPARE(footer->Value(), Int(6));

    numbers.Table.Locate(QStringLiteral("id"), Int(3), {});
    grid.Grid.SelectedRows()->SetCurrentRowSelected(true);
    grid.Grid.FlushUpdates();
    QVERIFY(grid.Grid.OptionsEx().Contains(dgTotalHeader));
    QCOMPARE(header->Value(), Int(3));
    QCOMPARE(footer->Value(), Int(6));

    // A change of the data keeps the selected rows' results apart from the whole's.
    numbers.Table.Edit();
    numbers.Table.FieldByName(QStringLiteral("n"))->SetAsInteger(30);
    numbers.Table.Post();
    QCOMPARE(footer->Value(), Int(33));
    QCOMPARE(header->Value(), Int(30));

    grid.Grid.SelectedRows()->Clear();
    grid.Grid.FlushUpdates();
    QVERIFY(!grid.Grid.OptionsEx().Contains(dgTotalHeader));
}

void TestTotalsCalc::selectedColumnsShowTheirRowsOverTheWholeDataSet()
{
    TNumbers numbers({"1", "2", "3"});
    TTotalsGrid grid(numbers, {dgTotalFooter, dgTotalHeaderSelected});
    TOrvoColumnTotalValue* header = grid.Grid.ColumnByFieldName(QStringLiteral("n"))->TotalHeader();
    header->SetTotalResult(trCalcValue);
    QVERIFY(!grid.Grid.OptionsEx().Contains(dgTotalHeader));

    // As the selection events report columns selected and no rows: the selection's pass
    // takes the whole dataset, and its rows show.
    grid.Grid.Totals()->SetSelectedColsPresent(true);
    grid.Grid.CalcTotals(true);
    QVERIFY(grid.Grid.OptionsEx().Contains(dgTotalHeader));
    QCOMPARE(header->Value(), Int(6));

    grid.Grid.Totals()->SetSelectedColsPresent(false);
    grid.Grid.CalcTotals(true);
    QVERIFY(!grid.Grid.OptionsEx().Contains(dgTotalHeader));
}

void TestTotalsCalc::noTotalRowNoCalculation()
{
    TNumbers numbers({"1"});
    TOrvoDBGrid grid;
    grid.SetOptionsEx(grid.OptionsEx() - TOrvoDBGridOptionsEx{dgDelayUpdateTotals});
    int updates = 0;
    grid.OnTotalsUpdated = [&updates](QObject*) { ++updates; };
    grid.SetDataSource(&numbers.Source);
    grid.UpdateTotals(false);
    QCOMPARE(updates, 0);
    grid.SetOptionsEx(grid.OptionsEx() + dgTotalFooter);
    QCOMPARE(updates, 1);
    // Without dgAutoUpdateTotals only a request that is no automatic one counts.
    grid.SetOptionsEx(grid.OptionsEx() - TOrvoDBGridOptionsEx{dgAutoUpdateTotals});
    grid.UpdateTotals(true);
    QCOMPARE(updates, 1);
    grid.UpdateTotals(false);
    QCOMPARE(updates, 2);
    grid.Totals()->SetCalcValues(false);
    grid.UpdateTotals(false);
    QCOMPARE(updates, 2);
}

void TestTotalsCalc::changingATotalRecalculates()
{
    TNumbers numbers({"3", "null", "1"});
    TTotalsGrid grid(numbers, {dgTotalFooter});
    TOrvoColumnTotalValue* total = grid.Footer("n", cvSum);
    QCOMPARE(total->Value(), Int(4));
    total->SetCalcValue(cvMin);
    QCOMPARE(total->Value(), Int(1));
    total->SetNullValue(nvAsZero);
    QCOMPARE(total->Value(), Int(0));
    total->SetFieldName(QStringLiteral("id"));
    QCOMPARE(total->Value(), Int(1));
    QCOMPARE(total->GetText(), QStringLiteral("1"));
}

void TestTotalsCalc::resultsShowInTheirFormats_data()
{
    QTest::addColumn<TCalcValue>("calcValue");
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("asFloat");
    QTest::addColumn<QString>("text");
    QTest::newRow("count") << cvCount << QStringLiteral("%d record(s)") << false
                           << QStringLiteral("3 record(s)");
    QTest::newRow("integer sum as float")
        << cvSum << QStringLiteral("%.2f") << true << QStringLiteral("7.00");
    QTest::newRow("integer sum, float format")
        << cvSum << QStringLiteral("%.2f") << false << QStringLiteral("7");
    QTest::newRow("average") << cvAvg << QStringLiteral("%.3f") << false << QStringLiteral("2.333");
    QTest::newRow("two formats") << cvMax << QStringLiteral("max %d|sel %d") << false
                                 << QStringLiteral("max 4");
}

void TestTotalsCalc::resultsShowInTheirFormats()
{
    QFETCH(TCalcValue, calcValue);
    QFETCH(QString, format);
    QFETCH(bool, asFloat);
    QFETCH(QString, text);
    TNumbers numbers({"1", "2", "4"});
    TTotalsGrid grid(numbers, {dgTotalFooter});
    TOrvoColumnTotalValue* total = grid.Grid.ColumnByFieldName(QStringLiteral("n"))->TotalFooter();
    total->SetFormatAsFloat(asFloat);
    total->SetFormat(format);
    total->SetCalcValue(calcValue);
    total->SetTotalResult(trCalcValue);
    QCOMPARE(grid.Grid.GetTotalText(total->Column(), 0, tkDisplay), text);
}

void TestTotalsCalc::totalsDataSetRowsShowTheirRecords()
{
    TNumbers numbers({"1", "2"});
    TNumbers other({"10", "20", "30"});
    TTotalsGrid grid(numbers, {dgTotalHeader, dgTotalFields, dgTotalFooter});
    grid.Grid.Totals()->SetDataSource(&other.Source);
    TOrvoColumn* column = grid.Grid.ColumnByFieldName(QStringLiteral("n"));
    column->TotalFields()->SetFieldName(QStringLiteral("n"));
    // Row 0 is the header; rows 1..3 the totals dataset's records; row 4 the footer.
    QCOMPARE(grid.Grid.GetTotalText(column, 1, tkDisplay), QStringLiteral("10"));
    QCOMPARE(grid.Grid.GetTotalText(column, 2, tkDisplay), QStringLiteral("20"));
    QCOMPARE(grid.Grid.GetTotalText(column, 3, tkDisplay), QStringLiteral("30"));
    QCOMPARE(other.Table.FieldByName(QStringLiteral("n"))->AsInteger(), 10);

    TOrvoColumnTotalValue* footer = column->TotalFooter();
    footer->SetFieldName(QStringLiteral("n"));
    footer->SetTotalResult(trTotalField);
    footer->SetTotalRecNo(3);
    QCOMPARE(grid.Grid.GetTotalText(column, 4, tkDisplay), QStringLiteral("30"));
    footer->SetTotalRecNo(4);
    QCOMPARE(grid.Grid.GetTotalText(column, 4, tkDisplay), QString());

    int asked = 0;
    grid.Grid.OnTotalGetText = [&asked](TOrvoColumn*, int index, QString& text, TTextKind) {
        ++asked;
        text += QStringLiteral("@%1").arg(index);
    };
    QCOMPARE(grid.Grid.GetTotalText(column, 2, tkDisplay), QStringLiteral("20@2"));
    other.Table.Close();
    QCOMPARE(grid.Grid.GetTotalText(column, 2, tkDisplay), QString());
    QCOMPARE(asked, 1);
}

QTEST_MAIN(TestTotalsCalc)
#include "tst_grid_totalscalc.moc"
