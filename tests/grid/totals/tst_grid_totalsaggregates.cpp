#include "grid/columns/torvocolumn.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "grid/selection/torvobookmarklist.h"
#include "grid/totals/torvocolumntotalfooter.h"
#include "grid/totals/torvocolumntotalvalues.h"
#include "platform/data/tdatasource.h"
#include "platform/data/tfield.h"
#include "platform/sqlite/tsqliteaggregates.h"
#include "platform/sqlite/tsqlitedatabase.h"
#include "platform/sqlite/tsqlitequery.h"
#include "platform/sqlite/tsqlitetable.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace orvo;

namespace {

const char* const NumberColumns[] = {"i", "f", "m", "d"};

/// A table of random numbers: an integer, a float, a money and a decimal column, with
/// Nulls, negatives and values near the ends of their ranges.
struct TRandomNumbers
{
    explicit TRandomNumbers(int rows, quint32 seed)
    {
        Db.SetDatabaseName(Dir.filePath(QStringLiteral("random.db")));
        Db.SetCreateIfMissing(true);
        Db.Open();
        Db.ExecSQL(QStringLiteral("CREATE TABLE r (id INTEGER PRIMARY KEY, i INTEGER, f REAL, m MONEY, "
                                  "d DECIMAL(18, 4), s TEXT)"));
        QRandomGenerator random(seed);
        const auto maybeNull = [&random](const TVariant& value) {
            return random.bounded(5) == 0 ? TVariant::Null() : value;
        };
        Db.StartTransaction();
        for (int row = 1; row <= rows; ++row) {
            const qint64 large = random.bounded(4) == 0 ? qint64(1) << 40 : 1;
            const TVariant i = maybeNull(TVariant(qint64(random.bounded(-1000, 1000)) * large));
            const TVariant f = maybeNull(TVariant(random.bounded(2e6) - 1e6));
            const TVariant m = maybeNull(TVariant(double(random.bounded(-10000000, 10000000)) / 100));
            const TVariant d = maybeNull(TVariant(double(random.bounded(-100, 100)) / 4));
            Db.ExecSQL(QStringLiteral("INSERT INTO r (id, i, f, m, d, s) VALUES (?, ?, ?, ?, ?, ?)"),
                       {qint64(row), i, f, m, d, TVariant(QStringLiteral("row %1").arg(row))});
        }
        Db.Commit();
        Table.SetDatabase(&Db);
        Table.SetTableName(QStringLiteral("r"));
        Query.SetDatabase(&Db);
        Query.SetSQL({QStringLiteral("SELECT * FROM r WHERE id % 7 <> 3 ORDER BY f DESC")});
    }

    QTemporaryDir Dir;
    TSQLiteDatabase Db;
    TSQLiteTable Table;
    TSQLiteQuery Query;
};

bool SameResult(const TVariant& a, const TVariant& b)
{
    if (a.VarType() == varDouble && b.VarType() == varDouble)
        return qFuzzyCompare(a.AsFloat(), b.AsFloat()) || a.AsFloat() == b.AsFloat();
    return a.VarType() == b.VarType() && TVariant::SameValue(a, b);
}

/// One footer total per number column and calculation, with the given Null rule.
std::vector<TOrvoColumnTotalValue*> AddTotals(TOrvoDBGrid& grid, TNullValue nullValue)
{
    std::vector<TOrvoColumnTotalValue*> totals;
    for (const char* name : NumberColumns) {
        TOrvoColumn* column = grid.ColumnByFieldName(QLatin1String(name));
        for (TCalcValue calcValue : {cvSum, cvAvg, cvCount, cvMax, cvMin, cvFirst, cvLast, cvUnique}) {
            TOrvoColumnTotalValue* total = column->TotalValues()->Add();
            total->SetCalcValue(calcValue);
            total->SetNullValue(nullValue);
            total->SetTotalResult(trCalcValue);
            totals.push_back(total);
        }
    }
    return totals;
}

std::vector<TVariant> Values(const std::vector<TOrvoColumnTotalValue*>& totals)
{
    std::vector<TVariant> values;
    for (const TOrvoColumnTotalValue* total : totals)
        values.push_back(total->Value());
    return values;
}

/// The first total whose value now differs from what the database answered; empty when
/// all agree.
QString FirstMismatch(const std::vector<TOrvoColumnTotalValue*>& totals,
                      const std::vector<TVariant>& answered)
{
    for (size_t i = 0; i < totals.size(); ++i) {
        const TVariant walked = totals[i]->Value();
        if (!SameResult(answered[i], walked))
            return QStringLiteral("%1: database %2 (%3), walk %4 (%5)")
                .arg(totals[i]->DisplayName(), answered[i].AsString())
                .arg(int(answered[i].VarType()))
                .arg(walked.AsString())
                .arg(int(walked.VarType()));
    }
    return {};
}

} // namespace

class TestTotalsAggregates : public QObject
{
    Q_OBJECT

private slots:
    void databaseAndWalkAgree_data();
    void databaseAndWalkAgree();
    void theDatabaseAnswersWithoutVisitingRecords();
    void recordFiltersAndPendingChangesAreWalked();
    void selectedRowsDatabaseAndWalkAgree_data();
    void selectedRowsDatabaseAndWalkAgree();
    void rowidsTheRowsDoNotHoldAreRefused();
};

void TestTotalsAggregates::databaseAndWalkAgree_data()
{
    QTest::addColumn<bool>("query");
    QTest::addColumn<int>("nullValue");
    QTest::addColumn<int>("rows");
    QTest::addColumn<quint32>("seed");
    for (bool query : {false, true}) {
        for (TNullValue nullValue : {nvExclude, nvInclude, nvAsZero}) {
            for (quint32 seed : {1u, 2u, 3u}) {
                QTest::addRow("%s nulls %d seed %u", query ? "query" : "table", int(nullValue), seed)
                    << query << int(nullValue) << 300 << seed;
            }
            QTest::addRow("%s nulls %d one row", query ? "query" : "table", int(nullValue))
                << query << int(nullValue) << 1 << 9u;
        }
    }
}

void TestTotalsAggregates::databaseAndWalkAgree()
{
    QFETCH(bool, query);
    QFETCH(int, nullValue);
    QFETCH(int, rows);
    QFETCH(quint32, seed);
    TRandomNumbers numbers(rows, seed);
    TDataSet& dataSet = query ? static_cast<TDataSet&>(numbers.Query) : numbers.Table;
    TDataSource source;
    source.SetDataSet(&dataSet);
    dataSet.Open();
    QCOMPARE(dataSet.FieldByName(QStringLiteral("m"))->DataType(), ftCurrency);
    QCOMPARE(dataSet.FieldByName(QStringLiteral("d"))->DataType(), ftBCD);
    TOrvoDBGrid grid;
    grid.SetOptionsEx(grid.OptionsEx() - TOrvoDBGridOptionsEx{dgDelayUpdateTotals} + dgTotalValues);
    grid.SetDataSource(&source);
    const std::vector<TOrvoColumnTotalValue*> totals = AddTotals(grid, TNullValue(nullValue));

    int scrolls = 0;
    dataSet.AfterScroll = [&scrolls](TDataSet*) { ++scrolls; };
    grid.CalcTotals(false);
    // The database answered: only the ends were visited, for the first and last values.
    QVERIFY2(rows < 10 || scrolls < rows / 2, qPrintable(QString::number(scrolls)));
    const std::vector<TVariant> answered = Values(totals);

    // A handler that accepts every record makes the grid walk them.
    grid.OnTotalCalcQuery = [](QObject*, TDataSet*, bool&) {};
    scrolls = 0;
    grid.CalcTotals(false);
    QVERIFY(scrolls >= dataSet.RecordCount());
    const QString mismatch = FirstMismatch(totals, answered);
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestTotalsAggregates::theDatabaseAnswersWithoutVisitingRecords()
{
    TRandomNumbers numbers(200, 5);
    TDataSource source;
    source.SetDataSet(&numbers.Table);
    numbers.Table.Open();
    int scrolls = 0;
    numbers.Table.AfterScroll = [&scrolls](TDataSet*) { ++scrolls; };
    TOrvoDBGrid grid;
    grid.SetOptionsEx(grid.OptionsEx() - TOrvoDBGridOptionsEx{dgDelayUpdateTotals} + dgTotalFooter);
    grid.SetDataSource(&source);
    TOrvoColumnTotalValue* sum = grid.ColumnByFieldName(QStringLiteral("i"))->TotalFooter();
    sum->SetTotalResult(trCalcValue);
    scrolls = 0;
    grid.CalcTotals(false);
    QVERIFY(!sum->Value().IsEmpty());
    QVERIFY2(scrolls < 3, qPrintable(QString::number(scrolls)));

    // A text field cannot be summed by the database as the records read: the walk decides.
    TOrvoColumnTotalValue* text = grid.ColumnByFieldName(QStringLiteral("s"))->TotalFooter();
    text->SetCalcValue(cvMax);
    text->SetTotalResult(trCalcValue);
    scrolls = 0;
    grid.CalcTotals(false);
    QCOMPARE(text->Value(), TVariant(QStringLiteral("row 99")));
    QVERIFY(scrolls >= 200);
}

void TestTotalsAggregates::recordFiltersAndPendingChangesAreWalked()
{
    TRandomNumbers numbers(50, 6);
    numbers.Db.ExecSQL(QStringLiteral("UPDATE r SET i = 1"));
    TDataSource source;
    source.SetDataSet(&numbers.Query);
    numbers.Query.SetCachedUpdates(true);
    numbers.Query.Open();
    TOrvoDBGrid grid;
    grid.SetOptionsEx(grid.OptionsEx() - TOrvoDBGridOptionsEx{dgDelayUpdateTotals} + dgTotalFooter);
    grid.SetDataSource(&source);
    TOrvoColumnTotalValue* sum = grid.ColumnByFieldName(QStringLiteral("i"))->TotalFooter();
    sum->SetTotalResult(trCalcValue);
    const qint64 rows = numbers.Query.RecordCount();
    QCOMPARE(sum->Value(), TVariant(rows));

    // A change not yet applied is not in the database; the total must count it.
    numbers.Query.First();
    numbers.Query.Edit();
    numbers.Query.FieldByName(QStringLiteral("i"))->SetAsInteger(101);
    numbers.Query.Post();
    grid.CalcTotals(false);
    QCOMPARE(sum->Value(), TVariant(rows + 100));

    // Nor can SQL see what a record filter lets through.
    numbers.Query.CancelUpdates();
    numbers.Query.SetOnFilterRecord([](TDataSet* dataSet, bool& accept) {
        accept = dataSet->FieldByName(QStringLiteral("id"))->AsInteger() <= 10;
    });
    numbers.Query.SetFiltered(true);
    grid.CalcTotals(false);
    QCOMPARE(sum->Value(), TVariant(qint64(numbers.Query.RecordCount())));
    QVERIFY(numbers.Query.RecordCount() < rows);
}

void TestTotalsAggregates::selectedRowsDatabaseAndWalkAgree_data()
{
    QTest::addColumn<QString>("order");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<int>("nullValue");
    QTest::addColumn<quint32>("seed");
    for (TNullValue nullValue : {nvExclude, nvInclude, nvAsZero}) {
        for (quint32 seed : {11u, 12u}) {
            QTest::addRow("rowid order nulls %d seed %u", int(nullValue), seed)
                << QString() << QString() << int(nullValue) << seed;
            QTest::addRow("by f nulls %d seed %u", int(nullValue), seed)
                << QStringLiteral("f") << QString() << int(nullValue) << seed;
        }
        QTest::addRow("filtered nulls %d", int(nullValue))
            << QStringLiteral("m") << QStringLiteral("i > 0 OR i IS NULL") << int(nullValue) << 13u;
    }
}

void TestTotalsAggregates::selectedRowsDatabaseAndWalkAgree()
{
    QFETCH(QString, order);
    QFETCH(QString, filter);
    QFETCH(int, nullValue);
    QFETCH(quint32, seed);
    TRandomNumbers numbers(300, seed);
    numbers.Table.SetIndexFieldNames(order);
    numbers.Table.SetFilter(filter);
    numbers.Table.SetFiltered(!filter.isEmpty());
    TDataSource source;
    source.SetDataSet(&numbers.Table);
    numbers.Table.Open();
    TOrvoDBGrid grid;
    grid.SetOptions(grid.Options() + TOrvoDBGridOptions{dgMultiSelect});
    grid.SetOptionsEx(grid.OptionsEx() - TOrvoDBGridOptionsEx{dgDelayUpdateTotals, dgCalcWholeDataSet} +
                      TOrvoDBGridOptionsEx{dgTotalValues, dgCalcSelectedRows});
    grid.SetDataSource(&source);
    const std::vector<TOrvoColumnTotalValue*> totals = AddTotals(grid, TNullValue(nullValue));
    QRandomGenerator random(seed);
    int selected = 0;
    for (numbers.Table.First(); !numbers.Table.Eof(); numbers.Table.Next()) {
        if (random.bounded(3) == 0) {
            grid.SelectedRows()->SetCurrentRowSelected(true);
            ++selected;
        }
    }
    grid.FlushUpdates();
    QVERIFY(selected > 20);
    QCOMPARE(grid.SelectedRows()->Count(), selected);

    int scrolls = 0;
    numbers.Table.AfterScroll = [&scrolls](TDataSet*) { ++scrolls; };
    grid.CalcTotals(false);
    // The database answered: only the first and last selected records were visited.
    QVERIFY2(scrolls < selected / 2, qPrintable(QString::number(scrolls)));
    const std::vector<TVariant> answered = Values(totals);

    grid.OnTotalCalcQuery = [](QObject*, TDataSet*, bool&) {};
    scrolls = 0;
    grid.CalcTotals(false);
    QVERIFY(scrolls >= selected);
    const QString mismatch = FirstMismatch(totals, answered);
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestTotalsAggregates::rowidsTheRowsDoNotHoldAreRefused()
{
    TRandomNumbers numbers(20, 7);
    numbers.Db.ExecSQL(QStringLiteral("UPDATE r SET i = id"));
    numbers.Table.SetFilter(QStringLiteral("id <= 10"));
    numbers.Table.SetFiltered(true);
    numbers.Table.Open();
    const std::vector<TSQLiteAggregates::TRequest> requests{
        {numbers.Table.FieldByName(QStringLiteral("i")), true}};
    const auto sumOver = [&](const std::vector<qint64>& rowids) {
        const std::optional<TSQLiteAggregates::TAnswer> answer =
            TSQLiteAggregates::ComputeOver(numbers.Table, rowids, requests);
        return answer ? answer->Results[0].Sum : TVariant(QStringLiteral("refused"));
    };
    QCOMPARE(sumOver({3, 5, 10}), TVariant(qint64(18)));
    // A row the filter leaves out, one that does not exist, and one listed twice would
    // each make the answer differ from the walk over those records.
    QCOMPARE(sumOver({3, 11}), TVariant(QStringLiteral("refused")));
    QCOMPARE(sumOver({3, 99}), TVariant(QStringLiteral("refused")));
    QCOMPARE(sumOver({3, 5, 3}), TVariant(QStringLiteral("refused")));

    // Bookmarks name their rows by rowid, in any order the table shows them.
    numbers.Table.SetIndexFieldNames(QStringLiteral("f"));
    numbers.Table.First();
    numbers.Table.Next();
    const std::optional<qint64> rowid = numbers.Table.BookmarkRowid(numbers.Table.Bookmark());
    QVERIFY(rowid);
    QCOMPARE(*rowid, numbers.Table.FieldByName(QStringLiteral("id"))->AsInteger());
    QVERIFY(!numbers.Table.BookmarkRowid(QStringLiteral("0000")));
}

QTEST_MAIN(TestTotalsAggregates)
#include "tst_grid_totalsaggregates.moc"
