#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/common/gridtestwidgets.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "grid/filter/torvodbgridfilter.h"
#include "grid/filter/torvofilterroworder.h"
#include "lists/filter/torvodbfilterdata.h"
#include "lists/filter/torvofiltervalues.h"
#include "platform/data/tdatasource.h"
#include "platform/data/tfield.h"
#include "platform/data/tfields.h"
#include "platform/data/tintegerfield.h"
#include "platform/data/tstringfield.h"
#include "platform/sqlite/tparam.h"
#include "platform/sqlite/tsqlitedatabase.h"
#include "platform/sqlite/tsqlitedistinctvalues.h"
#include "platform/sqlite/tsqlitequery.h"
#include "platform/sqlite/tsqlitetable.h"

#include <QApplication>
#include <QCollator>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>

using namespace orvo;

namespace {

QString Text(const char* text)
{
    return QString::fromUtf8(text);
}

TVariant Int(qint64 value)
{
    return TVariant(value);
}

// What each column draws its values from: kinds mixed the way SQLite lets them be stored.
const QList<TVariant>& Pool(const QString& column)
{
    static const QHash<QString, QList<TVariant>> pools{
        {QStringLiteral("txt"),
         {TVariant::Null(), TVariant(Text("")), TVariant(Text("x")), TVariant(Text("Y")), TVariant(Text("ß")),
          TVariant(Text("SS")), TVariant(Text("İ")), TVariant(Text("a'b")), TVariant(Text("100%")),
          TVariant(Text("a_b")), TVariant(Text("two\nlines")), TVariant(Text("007")), TVariant(Text("é")),
          TVariant(Text("E")), TVariant(Text("Zürich")), Int(7), TVariant(2.5)}},
        {QStringLiteral("num"),
         {TVariant::Null(), Int(-10), Int(2), Int(10), TVariant(2.0), TVariant(Text("007")),
          TVariant(Text("7")), TVariant(Text("abc")), TVariant(2.5), Int(std::numeric_limits<qint64>::max()),
          Int(std::numeric_limits<qint64>::min())}},
        {QStringLiteral("amount"),
         {TVariant::Null(), TVariant(-10.0), TVariant(2.0), TVariant(10.0), TVariant(2.5), TVariant(0.1),
          TVariant(1e-9), TVariant(123456789.125), TVariant(Text("3.5")), TVariant(Text("n/a")), Int(4)}},
        {QStringLiteral("day"),
         {TVariant::Null(), TVariant(Text("2024-01-05")), TVariant(Text("1999-12-31")), TVariant(Text("")),
          TVariant(Text("garbage")), TVariant(Text("2024-01-05 10:00:00"))}},
        {QStringLiteral("stamp"),
         {TVariant::Null(), TVariant(Text("2024-01-05 10:20:30")), TVariant(Text("2024-01-05 10:20:30.123")),
          TVariant(Text("2024-01-05")), TVariant(Text("1900-01-01 00:00:01"))}},
        {QStringLiteral("flag"), {TVariant::Null(), Int(0), Int(1), Int(2), TVariant(Text("1"))}},
        {QStringLiteral("anything"),
         {TVariant::Null(), Int(7), TVariant(7.0), TVariant(Text("7")), TVariant(Text("007")), TVariant(-0.5),
          TVariant(Text("Abc")), TVariant(Text("%_"))}},
        {QStringLiteral("price"),
         {TVariant::Null(), TVariant(1.5), TVariant(Text("1.50")), Int(2), TVariant(-0.25), TVariant(1e15)}},
        // Values that differ only in case: the walk keeps whichever it meets first.
        {QStringLiteral("word"),
         {TVariant(Text("abc")), TVariant(Text("ABC")), TVariant(Text("Abc")), Int(1)}},
        {QStringLiteral("nocase"), {TVariant(Text("x")), TVariant(Text("X")), TVariant(Text("y"))}},
    };
    return *pools.constFind(column);
}

const QStringList Columns{QStringLiteral("txt"),      QStringLiteral("num"),   QStringLiteral("amount"),
                          QStringLiteral("day"),      QStringLiteral("stamp"), QStringLiteral("flag"),
                          QStringLiteral("anything"), QStringLiteral("price"), QStringLiteral("word"),
                          QStringLiteral("nocase")};

/// A table "t" of random rows (seeded) whose columns hold the pools' values, a table and
/// a query over it, and a grid showing one of them with a column per field.
struct TMixedData
{
    explicit TMixedData(quint32 seed, int rows = 300)
    {
        Db.SetDatabaseName(Dir.filePath(QStringLiteral("mixed.db")));
        Db.SetCreateIfMissing(true);
        Db.Open();
        Db.ExecSQL(
            QStringLiteral("CREATE TABLE t (id INTEGER PRIMARY KEY, txt TEXT, num INTEGER, amount REAL, "
                           "day DATE, stamp DATETIME, flag BOOLEAN, anything, price NUMERIC(10,2), "
                           "word TEXT, nocase TEXT COLLATE NOCASE)"));
        QRandomGenerator random(seed);
        Db.StartTransaction();
        for (int i = 1; i <= rows; ++i) {
            std::vector<TVariant> values{Int(i)};
            for (const QString& column : Columns)
                values.push_back(Pool(column).at(random.bounded(int(Pool(column).size()))));
            Db.ExecSQL(QStringLiteral("INSERT INTO t VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"), values);
        }
        Db.Commit();
        Table.SetDatabase(&Db);
        Table.SetTableName(QStringLiteral("t"));
        Query.SetDatabase(&Db);
        Query.SetSQL({QStringLiteral("SELECT * FROM t WHERE id > :low AND (num IS NULL OR num <> :skip)")});
        Query.ParamByName(QStringLiteral("low"))->SetAsInteger(20);
        Query.ParamByName(QStringLiteral("skip"))->SetAsInteger(2);
    }

    void Show(TDataSet& dataSet)
    {
        Source.SetDataSet(&dataSet);
        test::AddColumns(Grid, QStringList{QStringLiteral("id")} + Columns);
        Grid.SetDataSource(&Source);
        dataSet.Open();
    }

    TOrvoColumn& Column(const QString& fieldName)
    {
        for (int i = 0; i < Grid.Columns()->Count(); ++i)
            if (Grid.Columns()->Items(i)->FieldName() == fieldName)
                return *Grid.Columns()->Items(i);
        qFatal("no column %s", qPrintable(fieldName));
    }

    /// Checks the keys of every third row the walk gives, without filtering by them.
    void CheckSome(TOrvoColumn& column)
    {
        Grid.FilterGrid()->SetAutoUpdate(false);
        QStringList keys;
        const QStringList rows = TOrvoFilterValues::Walk(column, true, false).Rows;
        for (int i = 0; i < rows.size(); i += 3)
            keys << TOrvoDBFilterData::KeyOf(rows.at(i));
        column.SetFilterList(keys);
    }

    QTemporaryDir Dir;
    TSQLiteDatabase Db;
    TSQLiteTable Table;
    TSQLiteQuery Query;
    TDataSource Source;
    TOrvoDBGrid Grid;
};

/// The rows as QCollator sorted and de-duplicated them, one comparison at a time.
QStringList CollatedDistinct(QStringList rows, bool& variantDropped)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(rows.begin(), rows.end(),
                     [&collator](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    QStringList kept;
    variantDropped = false;
    for (const QString& row : rows) {
        if (!kept.isEmpty() && collator.compare(kept.last(), row) == 0) {
            variantDropped |= kept.last() != row;
            continue;
        }
        kept << row;
    }
    return kept;
}

/// A locale for the test's duration.
class TLocaleGuard
{
public:
    explicit TLocaleGuard(const QLocale& locale) { QLocale::setDefault(locale); }
    ~TLocaleGuard() { QLocale::setDefault(FSaved); }
    TLocaleGuard(const TLocaleGuard&) = delete;
    TLocaleGuard& operator=(const TLocaleGuard&) = delete;

private:
    QLocale FSaved;
};

} // namespace

class TestFilterValuesSql : public QObject
{
    Q_OBJECT

private slots:
    void theDatabaseGivesTheRowsOfTheWalk_data()
    {
        QTest::addColumn<bool>("query");
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("loadAll");
        QTest::addColumn<bool>("checkedFirst");
        QTest::addColumn<QString>("dataSetFilter");
        QTest::addColumn<QString>("columnFilter");
        const QStringList fields{QStringLiteral("txt"),      QStringLiteral("num"),
                                 QStringLiteral("amount"),   QStringLiteral("day"),
                                 QStringLiteral("stamp"),    QStringLiteral("flag"),
                                 QStringLiteral("anything"), QStringLiteral("price")};
        const QString none;
        const QString filter = QStringLiteral("id > 100");
        for (const bool query : {false, true})
            for (const QString& field : fields) {
                const QByteArray name = (query ? "query " : "table ") + field.toUtf8();
                QTest::newRow(name) << query << field << false << false << none << none;
                QTest::newRow(name + " all checked first") << query << field << true << true << none << none;
                QTest::newRow(name + " filtered") << query << field << false << false << filter << none;
                QTest::newRow(name + " column filter") << query << field << false << false << none << filter;
                QTest::newRow(name + " column filter all checked first")
                    << query << field << true << true << filter << filter;
            }
    }

    void theDatabaseGivesTheRowsOfTheWalk()
    {
        QFETCH(bool, query);
        QFETCH(QString, field);
        QFETCH(bool, loadAll);
        QFETCH(bool, checkedFirst);
        QFETCH(QString, dataSetFilter);
        QFETCH(QString, columnFilter);
        TMixedData data(quint32(qHash(QTest::currentDataTag())));
        TDataSet& dataSet = query ? static_cast<TDataSet&>(data.Query) : data.Table;
        dataSet.SetFilter(dataSetFilter);
        dataSet.SetFiltered(!dataSetFilter.isEmpty());
        data.Show(dataSet);
        TOrvoColumn& column = data.Column(field);
        if (checkedFirst)
            data.CheckSome(column);
        if (!columnFilter.isEmpty())
            data.Column(QStringLiteral("id")).SetFilterText(columnFilter);
        // The grid's column filters, checked values included, go into the database's statement.

        const TOrvoFilterValueRows walked = TOrvoFilterValues::Walk(column, loadAll, checkedFirst);
        QVERIFY2(walked.Rows.size() >= 3, qPrintable(walked.Rows.join(u'|')));
        const std::optional<TOrvoFilterValueRows> queried =
            TOrvoFilterValues::Query(column, loadAll, checkedFirst);
        QVERIFY(queried);
        QCOMPARE(queried->Rows, walked.Rows);
        QCOMPARE(queried->ItemSize, walked.ItemSize);
        QCOMPARE(queried->KeySize, walked.KeySize);
        QCOMPARE(TOrvoFilterValues::Load(column, loadAll, checkedFirst), walked);
    }

    void valuesDifferingOnlyInCaseAreLeftToTheWalk_data()
    {
        QTest::addColumn<QString>("field");
        QTest::newRow("text") << QStringLiteral("word");
        QTest::newRow("text compared without case by its column") << QStringLiteral("nocase");
    }

    void valuesDifferingOnlyInCaseAreLeftToTheWalk()
    {
        QFETCH(QString, field);
        TMixedData data(7);
        data.Show(data.Table);
        TOrvoColumn& column = data.Column(field);
        QVERIFY(!TOrvoFilterValues::Query(column, false, false));
        const TOrvoFilterValueRows walked = TOrvoFilterValues::Walk(column, false, false);
        QCOMPARE(TOrvoFilterValues::Load(column, false, false), walked);
        // The first value met stands for its case variants.
        data.Table.First();
        const QString first = data.Table.FieldByName(field)->AsString();
        const auto shown = std::find_if(walked.Rows.begin(), walked.Rows.end(), [&first](const QString& row) {
            return row.compare(first, Qt::CaseInsensitive) == 0;
        });
        QVERIFY(shown != walked.Rows.end());
        QCOMPARE(*shown, first);
    }

    void theDatabaseTellsStoredValuesApart()
    {
        TMixedData data(1, 0);
        data.Db.ExecSQL(QStringLiteral("INSERT INTO t (id, anything, nocase) VALUES "
                                       "(1, 2, 'x'), (2, 2.0, 'X'), (3, '2', 'x'), (4, NULL, NULL)"));
        data.Query.SetSQL({QStringLiteral("SELECT nocase AS n, anything AS n FROM t -- both named n")});
        data.Show(data.Query);
        const auto count = [&](int fieldIndex) {
            const auto values = TSQLiteDistinctValues::Of(data.Query, data.Query.Fields()->Field(fieldIndex));
            return values ? int(values->size()) : -1;
        };
        QCOMPARE(count(0), 3); // x, X, Null: the column's collation does not merge them
        QCOMPARE(count(1), 4); // 2, 2.0, '2', Null
    }

    void aTableColumnOfATypeHoldsNoIntegerBesideAnEqualReal_data()
    {
        QTest::addColumn<QString>("declaredType");
        QTest::addColumn<bool>("affinity");
        QTest::addColumn<int>("values");
        // 2, 2.0, '2' and Null as each affinity stores them, told apart by kind and value.
        QTest::newRow("text") << QStringLiteral("TEXT") << true << 3;
        QTest::newRow("varchar") << QStringLiteral("VARCHAR(15)") << true << 3;
        QTest::newRow("clob") << QStringLiteral("clob") << true << 3;
        QTest::newRow("integer") << QStringLiteral("INTEGER") << true << 2;
        QTest::newRow("a type naming INT first") << QStringLiteral("POINT") << true << 2;
        QTest::newRow("INT before BLOB") << QStringLiteral("BLOBINT") << true << 2;
        QTest::newRow("real") << QStringLiteral("REAL") << true << 2;
        QTest::newRow("numeric") << QStringLiteral("NUMERIC") << true << 2;
        QTest::newRow("any other type") << QStringLiteral("MONEY") << true << 2;
        QTest::newRow("none") << QString() << false << 4;
        QTest::newRow("blob") << QStringLiteral("BLOB") << false << 4;
    }

    void aTableColumnOfATypeHoldsNoIntegerBesideAnEqualReal()
    {
        QFETCH(QString, declaredType);
        QFETCH(bool, affinity);
        QFETCH(int, values);
        TMixedData data(1, 0);
        data.Db.ExecSQL(QStringLiteral("CREATE TABLE typed (v %1)").arg(declaredType));
        data.Db.ExecSQL(QStringLiteral("INSERT INTO typed VALUES (2), (2.0), ('2'), (NULL)"));
        TSQLiteTable table;
        table.SetDatabase(&data.Db);
        table.SetTableName(QStringLiteral("typed"));
        table.Open();
        QCOMPARE(table.RowSourceColumnHasAffinity(0), affinity);
        const std::optional<std::vector<TVariant>> distinct =
            TSQLiteDistinctValues::Of(table, table.Fields()->Field(0));
        QVERIFY(distinct);
        QCOMPARE(int(distinct->size()), values);
    }

    void theWalkAnswersWhatTheDatabaseCannot_data()
    {
        QTest::addColumn<QString>("case_");
        for (const char* name :
             {"calculated field", "lookup column", "unwritten changes", "record being edited",
              "record filter", "field text handler", "grid text handler", "numbered column"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void theWalkAnswersWhatTheDatabaseCannot()
    {
        QFETCH(QString, case_);
        TMixedData data(3, 40);
        TMixedData lookup(4, 5);
        QString field = QStringLiteral("txt");
        QString expected;
        if (case_ == QLatin1String("calculated field")) {
            // Persistent fields replace the default ones: the stored ones are declared too.
            auto* id = new TIntegerField(&data.Table);
            id->SetFieldName(QStringLiteral("id"));
            id->SetDataSet(&data.Table);
            auto* txt = new TStringField(&data.Table);
            txt->SetFieldName(QStringLiteral("txt"));
            txt->SetDataSet(&data.Table);
            auto* calculated = new TStringField(&data.Table);
            calculated->SetFieldName(QStringLiteral("calc"));
            calculated->SetFieldKind(fkCalculated);
            calculated->SetDataSet(&data.Table);
            data.Table.OnCalcFields = [](TDataSet* dataSet) {
                dataSet->FieldByName(QStringLiteral("calc"))
                    ->SetAsString(QStringLiteral("#") +
                                  dataSet->FieldByName(QStringLiteral("id"))->AsString());
            };
            field = QStringLiteral("calc");
            expected = QStringLiteral("#7");
        }
        if (case_ == QLatin1String("unwritten changes"))
            data.Query.SetCachedUpdates(true);
        data.Show(case_ == QLatin1String("unwritten changes") ? static_cast<TDataSet&>(data.Query)
                                                              : data.Table);
        if (case_ == QLatin1String("calculated field")) {
            TOrvoColumn* column = data.Grid.Columns()->Add();
            column->SetFieldName(field);
        } else if (case_ == QLatin1String("lookup column")) {
            lookup.Table.Open();
            TOrvoColumn& column = data.Column(QStringLiteral("txt"));
            column.SetKeyField(QStringLiteral("id"));
            column.SetLookupDataSet(&lookup.Table);
            column.SetLookupKeyField(QStringLiteral("id"));
            column.SetLookupResultField(QStringLiteral("num"));
            QVERIFY(column.LookupColumn() != lcNotDefined);
        } else if (case_ == QLatin1String("unwritten changes")) {
            data.Query.Edit();
            data.Query.FieldByName(QStringLiteral("txt"))->SetAsString(QStringLiteral("not yet written"));
            data.Query.Post();
            QVERIFY(data.Query.UpdatesPending());
            expected = QStringLiteral("not yet written");
        } else if (case_ == QLatin1String("record being edited")) {
            data.Table.Edit();
            data.Table.FieldByName(QStringLiteral("txt"))->SetAsString(QStringLiteral("being typed"));
            expected = QStringLiteral("being typed");
        } else if (case_ == QLatin1String("record filter")) {
            data.Table.SetOnFilterRecord([](TDataSet* dataSet, bool& accept) {
                accept = dataSet->FieldByName(QStringLiteral("id"))->AsInteger() != 5;
            });
            data.Table.SetFiltered(true);
        } else if (case_ == QLatin1String("field text handler")) {
            data.Table.FieldByName(QStringLiteral("txt"))->OnGetText = [](TField* sender, QString& text,
                                                                          bool) {
                text = QStringLiteral("<%1>").arg(
                    sender->DataSet()->FieldByName(QStringLiteral("id"))->AsString());
            };
            expected = QStringLiteral("<7>");
        } else if (case_ == QLatin1String("grid text handler")) {
            data.Grid.OnColGetText = [&data](TOrvoColumn*, QString& text, TTextKind) {
                text += QStringLiteral("@") + data.Table.FieldByName(QStringLiteral("id"))->AsString();
            };
        } else if (case_ == QLatin1String("numbered column")) {
            data.Column(QStringLiteral("txt")).SetAutoNumber(true);
        }
        TOrvoColumn& column = data.Column(field);
        QVERIFY(!TOrvoFilterValues::Query(column, false, false));
        const TOrvoFilterValueRows walked = TOrvoFilterValues::Walk(column, false, false);
        QVERIFY(!walked.Rows.isEmpty());
        QCOMPARE(TOrvoFilterValues::Load(column, false, false), walked);
        if (!expected.isEmpty()) {
            const QStringList items = [&] {
                QStringList shown;
                for (const QString& row : walked.Rows)
                    shown << TOrvoDBFilterData::ItemOf(row);
                return shown;
            }();
            QVERIFY2(items.contains(expected), qPrintable(items.join(u'|')));
        }
    }

    void aLongLoadKeepsTheWindowPainting()
    {
        TMixedData data(5, 0);
        data.Db.ExecSQL(
            QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < "
                           "300000) INSERT INTO t (id, txt) SELECT i, printf('v%07d', i) FROM n"));
        data.Show(data.Table);
        QVERIFY(test::ShowExposed(data.Grid, 400, 300));
        int ticks = 0;
        bool waitCursor = false;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            ++ticks;
            waitCursor = waitCursor || (QApplication::overrideCursor() &&
                                        QApplication::overrideCursor()->shape() == Qt::WaitCursor);
        });
        timer.start(5);
        const TOrvoFilterValueRows rows =
            TOrvoFilterValues::Load(data.Column(QStringLiteral("txt")), false, false);
        timer.stop();
        QCOMPARE(rows.Rows.size(), 300000);
        QVERIFY2(ticks > 0, "no timer ran while the values loaded");
        QVERIFY(waitCursor);
        QVERIFY(!QApplication::overrideCursor());
    }

    void sortingManyRowsReportsProgress()
    {
        QStringList rows;
        for (int i = 50000; i > 0; --i)
            rows << QStringLiteral("v%1").arg(i);
        int calls = 0;
        QVERIFY(!TOrvoFilterRowOrder::SortMostlyDistinct(rows, [&calls] { ++calls; }));
        QCOMPARE(rows.size(), 50000);
        QCOMPARE(rows.first(), QStringLiteral("v1"));
        QVERIFY2(calls > 50, qPrintable(QString::number(calls)));
    }

    void rowsSortAsTheCollatorComparesThem_data()
    {
        QTest::addColumn<QString>("locale");
        for (const char* name : {"C", "de_DE", "tr_TR", "sv_SE"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void rowsSortAsTheCollatorComparesThem()
    {
        QFETCH(QString, locale);
        const TLocaleGuard guard{QLocale(locale)};
        const QStringList parts{Text("a"), Text("A"), Text("ß"), Text("SS"), Text("ss"),    Text("İ"),
                                Text("i"), Text("ı"), Text("I"), Text(" "),  Text("\x1a "), Text("\x1b "),
                                Text("-"), Text("+"), Text("0"), Text("9"),  Text("é"),     Text("E"),
                                Text("𐐀"), Text("𐐨"), Text("ﬀ"), Text("_"),  Text("%"),     Text("ς"),
                                Text("σ"), Text("ſ"), Text("µ"), Text("μ")};
        QRandomGenerator random(42);
        for (int round = 0; round < 20; ++round) {
            QStringList rows;
            for (int i = 0; i < 60; ++i) {
                QString row;
                for (int length = 1 + random.bounded(4); length > 0; --length)
                    row += parts.at(random.bounded(int(parts.size())));
                rows << row;
            }
            bool variantDropped = false;
            const QStringList expected = CollatedDistinct(rows, variantDropped);
            QStringList sorted = rows;
            QCOMPARE(TOrvoFilterRowOrder::SortDistinct(sorted), variantDropped);
            QCOMPARE(sorted, expected);
            sorted = rows;
            QCOMPARE(TOrvoFilterRowOrder::SortMostlyDistinct(sorted), variantDropped);
            QCOMPARE(sorted, expected);
        }
    }
};

QTEST_MAIN(TestFilterValuesSql)
#include "tst_filtervalues_sql.moc"
