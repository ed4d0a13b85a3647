#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/common/titemstable.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "grid/filter/filtertexts.h"
#include "grid/filter/torvodbgridfilter.h"
#include "grid/filter/torvofilterdialect.h"
#include "grid/search/torvodbgridsearch.h"
#include "platform/core/exceptions.h"
#include "platform/data/tfilterexpression.h"
#include "platform/graphics/tcustomimagelist.h"

#include <QElapsedTimer>
#include <QMenu>
#include <QScopeGuard>
#include <QTest>

#include <algorithm>

using namespace orvo;

Q_DECLARE_METATYPE(orvo::TOrvoDBGridFilterClause)
Q_DECLARE_METATYPE(orvo::TFieldType)

namespace {

TFormatSettings CommaSettings()
{
    TFormatSettings settings = TFormatSettings::Invariant();
    settings.DecimalSeparator = u',';
    settings.DateSeparator = u'.';
    settings.ShortDateFormat = QStringLiteral("dd.mm.yyyy");
    return settings;
}

/// Evaluates `expression` over one record {Name, Qty, Price, Due} to prove that what
/// a value turned into is a literal and not part of the expression.
bool Accepts(const QString& expression, const QList<TVariant>& record)
{
    const QList<TFilterExpression::TFieldRef> fields{{0, ftString, QStringLiteral("Name")},
                                                     {1, ftInteger, QStringLiteral("Qty")},
                                                     {2, ftFloat, QStringLiteral("Price")},
                                                     {3, ftDate, QStringLiteral("Due")},
                                                     {4, ftString, QStringLiteral("Order Date")}};
    auto resolve = [&](const QString& name) -> std::optional<TFilterExpression::TFieldRef> {
        for (const auto& field : fields) {
            if (field.FieldName.compare(name, Qt::CaseInsensitive) == 0)
                return field;
        }
        return std::nullopt;
    };
    auto parsed = TFilterExpression::Parse(expression, resolve);
    return parsed->Matches([&](int index) { return record.value(index); });
}

/// Rules of an evaluator other than the suite's: "= NULL", no list clauses, no NOT,
/// numbers with the locale's separator.
TOrvoFilterDialectRules ForeignRules()
{
    TOrvoFilterDialectRules rules;
    rules.Name = QStringLiteral("Foreign");
    rules.ClassNames = {QStringLiteral("TForeignDataSet")};
    rules.UnavailableClauses = {fcNoFilter, fcEndsWith, fcIsOnTheList, fcIsNotOnTheList};
    rules.NullByEquality = true;
    rules.NumberSeparator = TOrvoFilterDialectRules::nsLocale;
    rules.OffersNot = false;
    return rules;
}

TOrvoFilterDialectRules RulesNamed(const QString& name)
{
    if (name == QLatin1String("foreign"))
        return ForeignRules();
    return name.isEmpty() ? TOrvoFilterDialects::Other()
                          : TOrvoFilterDialects::FindByClassNames({QStringLiteral("TSQLiteTable")});
}

} // namespace

class TestFilterObject : public QObject
{
    Q_OBJECT

private slots:
    void clauseExpressions_data();
    void clauseExpressions();
    void hostileValuesStayLiterals_data();
    void hostileValuesStayLiterals();
    void clausesByFamilyAndType();
    void dialectsFollowTheClassChainAndTheProgram();
    void columnExpressionsCannotReachOutOfTheirParentheses();
    void anOpenDataSetRejectsOnlyTheColumnNamingAGoneField();
    void checkedValuesAreASortedCaseInsensitiveSet();
    void joinedClauses();
    void sortKeysOrderValues();
    void combinedTexts();
    void settingsLinesRoundTrip();
    void settingsLinesTolerateDamage();
    void fieldNamesAreBareOnlyWhenPlain_data();
    void fieldNamesAreBareOnlyWhenPlain();
    void filterDefaultsAndAssign();
    void columnFiltersCollectedAndStored();
    void searchDefaultsAndAssign();
};

void TestFilterObject::clauseExpressions_data()
{
    QTest::addColumn<QString>("rules");
    QTest::addColumn<bool>("commaLocale");
    QTest::addColumn<TOrvoDBGridFilterClause>("clause");
    QTest::addColumn<QString>("field");
    QTest::addColumn<TFieldType>("type");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("contains") << "" << false << fcContains << "Name" << ftString << "ab"
                              << "Name LIKE '%ab%'";
    QTest::newRow("wildcards pass") << "" << false << fcStartsFrom << "Name" << ftString << "a_%"
                                    << "Name LIKE 'a_%%'";
    QTest::newRow("like quote doubled") << "" << false << fcDoesNotEndWith << "Name" << ftString << "O'B"
                                        << "NOT Name LIKE '%O''B'";
    QTest::newRow("equal text") << "" << false << fcIsEqual << "Name" << ftString << "it's"
                                << "Name = 'it''s'";
    QTest::newRow("placeholder in value") << "" << false << fcIsEqual << "Name" << ftString << "%0:s %2:s"
                                          << "Name = '%0:s %2:s'";
    QTest::newRow("text list") << "" << false << fcIsOnTheList << "Name" << ftString << "a, b ,c"
                               << "Name IN ('a','b','c')";
    QTest::newRow("integer") << "" << false << fcIsGreaterThen << "Qty" << ftInteger << " 42 "
                             << "Qty > 42";
    QTest::newRow("integer list") << "" << false << fcIsNotOnTheList << "Qty" << ftInteger << "1, 2,3"
                                  << "NOT Qty IN (1,2,3)";
    QTest::newRow("decimal comma") << "" << true << fcIsEqual << "Price" << ftFloat << "2,5"
                                   << "Price = 2.5";
    QTest::newRow("decimal comma list") << "" << true << fcIsOnTheList << "Price" << ftFloat << "1,5  2,5 , 3"
                                        << "Price IN (1.5,2.5,3)";
    QTest::newRow("locale date") << "" << true << fcIsLessThen << "Due" << ftDate << "31.12.2020"
                                 << "Due < '2020-12-31'";
    QTest::newRow("unreadable date quoted") << "" << true << fcIsEqual << "Due" << ftDate << "soon"
                                            << "Due = 'soon'";
    QTest::newRow("is empty") << "" << false << fcIsEmpty << "Name" << ftString << ""
                              << "Name IS NULL";
    QTest::newRow("equality nulls") << "foreign" << false << fcIsNotEmpty << "Name" << ftString << ""
                                    << "Name <> NULL";
    QTest::newRow("sqlite writes is null") << "sqlite" << false << fcIsNotEmpty << "Name" << ftString << ""
                                           << "Name IS NOT NULL";
    QTest::newRow("decimal comma list for the engine")
        << "sqlite" << true << fcIsOnTheList << "Price" << ftFloat << "1,5 2,5"
        << "Price IN (1.5,2.5)";
    QTest::newRow("decimal comma list for a comma evaluator")
        << "foreign" << true << fcIsOnTheList << "Price" << ftFloat << "1,5 2,5"
        << "Price IN ('1,5','2,5')";
    QTest::newRow("comma evaluator single number")
        << "foreign" << true << fcIsEqual << "Price" << ftFloat << "2,5"
        << "Price = 2,5";
    QTest::newRow("dangling point") << "" << false << fcIsEqual << "Price" << ftFloat << "6."
                                    << "Price = 6";
    QTest::newRow("dangling point integer") << "" << false << fcIsGreaterThen << "Qty" << ftInteger << "6."
                                            << "Qty > 6";
    QTest::newRow("dangling decimal comma") << "sqlite" << true << fcIsEqual << "Price" << ftFloat << "6,"
                                            << "Price = 6";
    QTest::newRow("dangling point exponent") << "" << false << fcIsEqual << "Price" << ftFloat << "6.e2"
                                             << "Price = 6e2";
    QTest::newRow("leading point kept") << "" << false << fcIsEqual << "Price" << ftFloat << ".5"
                                        << "Price = .5";
    QTest::newRow("list of separators") << "" << false << fcIsOnTheList << "Qty" << ftInteger << " , ,"
                                        << "";
    QTest::newRow("stray separator in number list")
        << "" << false << fcIsNotOnTheList << "Qty" << ftInteger << "1,,2,"
        << "NOT Qty IN (1,2)";
    QTest::newRow("empty text stays a value") << "" << false << fcIsOnTheList << "Name" << ftString << "a,,b"
                                              << "Name IN ('a','','b')";
    QTest::newRow("blank value") << "" << false << fcIsEqual << "Name" << ftString << "  "
                                 << "";
    QTest::newRow("no filter") << "" << false << fcNoFilter << "Name" << ftString << "x"
                               << "";
    QTest::newRow("spaced name") << "" << false << fcIsEqual << "Order Date" << ftString << "x"
                                 << "[Order Date] = 'x'";
    QTest::newRow("bracket in name") << "" << false << fcIsEmpty << "a]b" << ftString << ""
                                     << "[a]]b] IS NULL";
    QTest::newRow("keyword name") << "" << false << fcIsEmpty << "Not" << ftString << ""
                                  << "[Not] IS NULL";
}

void TestFilterObject::clauseExpressions()
{
    QFETCH(QString, rules);
    QFETCH(bool, commaLocale);
    QFETCH(TOrvoDBGridFilterClause, clause);
    QFETCH(QString, field);
    QFETCH(TFieldType, type);
    QFETCH(QString, value);
    QFETCH(QString, expected);

    const TOrvoFilterDialect dialect(RulesNamed(rules), false,
                                     commaLocale ? CommaSettings() : TFormatSettings::Invariant());
    const QString separator = dialect.ListSeparator(type, u',');
    QCOMPARE(dialect.ClauseExpression(clause, field, type, separator, value), expected);
}

void TestFilterObject::hostileValuesStayLiterals_data()
{
    QTest::addColumn<TOrvoDBGridFilterClause>("clause");
    QTest::addColumn<QString>("field");
    QTest::addColumn<TFieldType>("type");
    QTest::addColumn<QString>("value");

    QTest::newRow("text or-injection") << fcIsEqual << "Name" << ftString << "x' OR 'a'='a";
    QTest::newRow("like injection") << fcContains << "Name" << ftString
                                    << "' OR Name IS NOT NULL OR Name LIKE '";
    QTest::newRow("list injection") << fcIsOnTheList << "Name" << ftString << "a') OR (Name <> 'a";
    QTest::newRow("number injection") << fcIsNotEqual << "Qty" << ftInteger << "1 OR 1=1";
    QTest::newRow("number list injection") << fcIsNotOnTheList << "Qty" << ftInteger << "1) OR (Qty > 0";
}

void TestFilterObject::hostileValuesStayLiterals()
{
    QFETCH(TOrvoDBGridFilterClause, clause);
    QFETCH(QString, field);
    QFETCH(TFieldType, type);
    QFETCH(QString, value);

    const TOrvoFilterDialect dialect;
    const QString expression =
        dialect.ClauseExpression(clause, field, type, dialect.ListSeparator(type, u','), value);
    const QList<TVariant> record{TVariant("abc"), TVariant(qint64(7)), TVariant(1.0), TVariant::Null()};
    bool accepted = false;
    try {
        accepted = Accepts(expression, record);
    } catch (const EDatabaseError&) {
        // A value that is no number for a number field is refused as a whole: fine.
        QVERIFY2(type != ftString, qPrintable(expression));
        return;
    }
    const bool negated = clause == fcIsNotEqual || clause == fcIsNotOnTheList;
    QVERIFY2(accepted == negated, qPrintable(expression));
}

void TestFilterObject::clausesByFamilyAndType()
{
    const auto all = TOrvoDBGridFilter::AllClauses;
    const TOrvoFilterDialect foreign(ForeignRules());
    QVERIFY(!foreign.OffersNot());
    const auto foreignClauses = foreign.AllowedClauses(all);
    for (auto clause : {fcEndsWith, fcIsOnTheList, fcIsNotOnTheList})
        QVERIFY(!foreignClauses.Contains(clause));
    QVERIFY(foreignClauses.Contains(fcNoFilter));
    QVERIFY(foreignClauses.Contains(fcDoesNotEndWith));
    QCOMPARE(TOrvoFilterDialect(ForeignRules(), false, CommaSettings()).ExpressionDecimalSeparator(),
             QChar(u','));

    // The suite's datasets read every clause and "." numbers whatever the filter's
    // DecimalSeparator says: their one engine reads no other.
    for (const char* dataSetClass : {"TSQLiteTable", "TSQLiteQuery", "TOrvoDBCustomData"}) {
        const TOrvoFilterDialect engine(
            TOrvoFilterDialects::FindByClassNames({QString::fromLatin1(dataSetClass)}), true,
            CommaSettings());
        QCOMPARE(engine.AllowedClauses(all), all);
        QCOMPARE(engine.ExpressionDecimalSeparator(), QChar(u'.'));
        QVERIFY(engine.OffersNot());
    }
    QCOMPARE(
        TOrvoFilterDialect(TOrvoFilterDialects::Other(), true, CommaSettings()).ExpressionDecimalSeparator(),
        QChar(u','));
    QCOMPARE(
        TOrvoFilterDialect(TOrvoFilterDialects::Other(), false, CommaSettings()).ExpressionDecimalSeparator(),
        QChar(u'.'));

    QCOMPARE(TOrvoFilterDialect::FieldClauses(ftWideString), all);
    QCOMPARE(TOrvoFilterDialect::FieldClauses(ftBoolean),
             TOrvoDBGridFilterClauses({fcNoFilter, fcIsEqual, fcIsNotEqual, fcIsEmpty, fcIsNotEmpty}));
    QVERIFY(!TOrvoFilterDialect::FieldClauses(ftMemo).Contains(fcIsOnTheList));
    QVERIFY(TOrvoFilterDialect::FieldClauses(ftMemo).Contains(fcContains));
    QVERIFY(!TOrvoFilterDialect::FieldClauses(ftDate).Contains(fcContains));
    QCOMPARE(TOrvoFilterDialect::FieldClauses(ftBlob),
             TOrvoDBGridFilterClauses({fcNoFilter, fcIsEmpty, fcIsNotEmpty}));
}

void TestFilterObject::dialectsFollowTheClassChainAndTheProgram()
{
    // A descendant of a registered class uses its ancestor's rules...
    const QStringList chain{QStringLiteral("TMyQuery"), QStringLiteral("TSQLiteQuery"),
                            QStringLiteral("TSQLiteDataSet"), QStringLiteral("TDataSet")};
    QCOMPARE(TOrvoFilterDialects::FindByClassNames(chain).Name, QStringLiteral("SQLite"));
    QCOMPARE(TOrvoFilterDialects::FindByClassNames({QStringLiteral("TUnknown")}).NumberSeparator,
             TOrvoFilterDialectRules::nsFilterProperty);
    // ...until the program registers rules for the descendant itself.
    TOrvoFilterDialectRules mine = ForeignRules();
    mine.ClassNames = {QStringLiteral("TMyQuery")};
    TOrvoFilterDialects::Register(mine);
    const auto unregister = qScopeGuard([] { TOrvoFilterDialects::Unregister(QStringLiteral("Foreign")); });
    QCOMPARE(TOrvoFilterDialects::FindByClassNames(chain).Name, QStringLiteral("Foreign"));
    mine.NullByEquality = false;
    TOrvoFilterDialects::Register(mine); // the same name replaces the entry
    QVERIFY(!TOrvoFilterDialects::FindByClassNames(chain).NullByEquality);
    QVERIFY(TOrvoFilterDialects::Unregister(QStringLiteral("Foreign")));
    QVERIFY(!TOrvoFilterDialects::Unregister(QStringLiteral("Foreign")));
    QCOMPARE(TOrvoFilterDialects::FindByClassNames(chain).Name, QStringLiteral("SQLite"));
}

void TestFilterObject::columnExpressionsCannotReachOutOfTheirParentheses()
{
    QVERIFY(StandsAlone(QStringLiteral("(A = 1) OR (B = 'x)')")));
    QVERIFY(!StandsAlone(QStringLiteral("Name = 'x') OR (Name IS NOT NULL")));
    QVERIFY(!StandsAlone(QStringLiteral("A = 1)")));
    QVERIFY(!StandsAlone(QStringLiteral("(A = 1")));
    QVERIFY(!StandsAlone(QStringLiteral("Name = 'x")));

    TOrvoDBGrid grid;
    TOrvoDBGridColumns* columns = grid.Columns();
    columns->Clear();
    TOrvoColumn* name = columns->Add();
    name->SetFieldName(QStringLiteral("Name"));
    TOrvoColumn* city = columns->Add();
    city->SetFieldName(QStringLiteral("City"));
    const QString breakout = QStringLiteral("Name = 'x') OR (Name IS NOT NULL");
    TOrvoDBGridFilter* filter = grid.FilterGrid();
    filter->BeginUpdate();
    name->SetFilterText(breakout);
    city->SetFilterText(QStringLiteral("City = 'Oslo'"));
    filter->EndUpdate();
    QCOMPARE(filter->FilterText(), QStringLiteral("(City = 'Oslo')"));
    QCOMPARE(filter->RejectedColumns(), QList<TOrvoColumn*>{name});
    QCOMPARE(filter->FilteredColumns(), QList<TOrvoColumn*>({name, city}));
    QCOMPARE(name->FilterText(), breakout); // kept, not lost

    // A program filter that does not stand alone is installed alone, as the dataset
    // would have refused it without the grid.
    const QString program = QStringLiteral("A = 1) OR (B = 2");
    QCOMPARE(DataSetFilterText(true, program, QStringLiteral("(C = 3)")), program);
}

void TestFilterObject::anOpenDataSetRejectsOnlyTheColumnNamingAGoneField()
{
    test::TItemsTable items(5);
    items.Table.Open();
    TOrvoDBGrid grid;
    grid.SetDataSource(&items.Source);
    TOrvoDBGridColumns* columns = grid.Columns();
    columns->Clear();
    TOrvoColumn* name = columns->Add();
    name->SetFieldName(QStringLiteral("name"));
    TOrvoColumn* price = columns->Add();
    price->SetFieldName(QStringLiteral("price"));
    name->SetFilterText(QStringLiteral("Gone = 'x'"));
    price->SetFilterText(QStringLiteral("price > 2"));
    TOrvoDBGridFilter* filter = grid.FilterGrid();
    QCOMPARE(filter->FilterText(), QStringLiteral("(price > 2)"));
    QCOMPARE(filter->RejectedColumns(), QList<TOrvoColumn*>{name});
    // A value its field cannot take is refused the same way.
    price->SetFilterText(QStringLiteral("price > 'cheap'"));
    QCOMPARE(filter->FilterText(), QString());
    QCOMPARE(filter->RejectedColumns(), QList<TOrvoColumn*>({name, price}));
}

void TestFilterObject::checkedValuesAreASortedCaseInsensitiveSet()
{
    TOrvoDBGrid grid;
    TOrvoColumn* city = grid.Columns()->Add();
    city->SetFieldName(QStringLiteral("City"));
    city->SetFilterList({QStringLiteral("rome"), QStringLiteral("Oslo"), QStringLiteral("Rome"),
                         QStringLiteral("amsterdam")});
    QCOMPARE(city->FilterList(),
             QStringList({QStringLiteral("amsterdam"), QStringLiteral("Oslo"), QStringLiteral("rome")}));
    // Each change reaches the filter at once, without an update bracket.
    QCOMPARE(grid.FilterGrid()->FilteredColumns(), QList<TOrvoColumn*>{city});
    city->SetFilterList({});
    QVERIFY(grid.FilterGrid()->FilteredColumns().isEmpty());
}

void TestFilterObject::joinedClauses()
{
    QCOMPARE(TOrvoFilterDialect::JoinClauses(QStringLiteral("A"), QStringLiteral("B"), true, false),
             QStringLiteral("A OR B"));
    QCOMPARE(TOrvoFilterDialect::JoinClauses(QString(), QStringLiteral("B"), false, true),
             QStringLiteral("NOT (B)"));
    QCOMPARE(TOrvoFilterDialect::JoinClauses(QString(), QString(), false, true), QString());
}

void TestFilterObject::sortKeysOrderValues()
{
    QCOMPARE(ValueSortKey(TVariant(-1), ftInteger), QStringLiteral("7FFFFFFF"));
    QCOMPARE(ValueSortKey(TVariant(0), ftInteger), QStringLiteral("80000000"));
    QCOMPARE(ValueSortKey(TVariant(65535), ftWord), QStringLiteral("0000FFFF"));
    QCOMPARE(ValueSortKey(TVariant(2.5), ftFloat), QStringLiteral("+") + QString::asprintf("%31.15f", 2.5));
    QCOMPARE(ValueSortKey(TVariant(true), ftBoolean), QStringLiteral("1"));
    QCOMPARE(ValueSortKey(TVariant("text"), ftString), QString());
    QCOMPARE(ValueSortKey(TVariant::Null(), ftInteger), QString());
    QCOMPARE(ValueSortKey(TVariant(TDateTime(43831.5)), ftDateTime), QStringLiteral("20200101120000000"));

    // Plain code-unit order of the keys must be the order of the values.
    const QList<std::pair<TVariant, TFieldType>> ascending{
        {TVariant(-1e6), ftFloat}, {TVariant(-5.25), ftFloat}, {TVariant(-1.0), ftFloat},
        {TVariant(0.0), ftFloat},  {TVariant(0.5), ftFloat},   {TVariant(12.0), ftFloat},
    };
    const QList<std::pair<TVariant, TFieldType>> ascendingInt64{
        {TVariant(qint64(-5000000000)), ftLargeint},
        {TVariant(qint64(-1)), ftLargeint},
        {TVariant(qint64(0)), ftLargeint},
        {TVariant(qint64(5000000000)), ftLargeint},
    };
    for (const auto& values : {ascending, ascendingInt64}) {
        QStringList keys;
        for (const auto& [value, type] : values)
            keys << ValueSortKey(value, type);
        QStringList sorted = keys;
        std::sort(sorted.begin(), sorted.end());
        QCOMPARE(sorted, keys);
    }
}

void TestFilterObject::combinedTexts()
{
    const QString columns = CombinedFilterText({QStringLiteral("A"), QString(), QStringLiteral("B")});
    QCOMPARE(columns, QStringLiteral("(A) AND (B)"));
    QCOMPARE(DataSetFilterText(true, QStringLiteral("P"), columns), QStringLiteral("(P) AND (A) AND (B)"));
    QCOMPARE(DataSetFilterText(false, QStringLiteral("P"), columns), columns);
    QCOMPARE(DataSetFilterText(true, QStringLiteral("P"), QString()), QStringLiteral("P"));
    QCOMPARE(DataSetFilterText(true, QString(), columns), columns);
}

void TestFilterObject::settingsLinesRoundTrip()
{
    const QList<TColumnFilterLine> filters{
        {QStringLiteral("Name"),
         QStringLiteral("Name LIKE 'a,b%'"),
         {QStringLiteral("x"), QStringLiteral("y z")}},
        {QStringLiteral("Odd,\"Name"),
         QString(),
         {QString(), QStringLiteral("say \"hi\", twice"), QStringLiteral(" lead")}},
        {QStringLiteral("\"Quoted"), QStringLiteral("\"x\""), {}},
    };
    const QStringList lines = FilterSettingsLines(filters);
    QCOMPARE(lines.first(), QStringLiteral("Filters=3"));
    QCOMPARE(lines.at(1), QStringLiteral("Filter1=Name,\"Name LIKE 'a,b%'\",x,\"y z\""));
    QCOMPARE(ParseFilterSettingsLines(lines), filters);
}

void TestFilterObject::settingsLinesTolerateDamage()
{
    QVERIFY(
        ParseFilterSettingsLines({QStringLiteral("Filters=two"), QStringLiteral("Filter1=A,,x")}).isEmpty());
    QVERIFY(ParseFilterSettingsLines({QStringLiteral("Filter1=A,,x")}).isEmpty());
    const auto filters =
        ParseFilterSettingsLines({QStringLiteral("filters=2"), QStringLiteral("Filter2=\"unterminated,rest"),
                                  QStringLiteral("Other=1")});
    QCOMPARE(filters.size(), 1);
    QCOMPARE(filters.first().FieldName, QStringLiteral("unterminated,rest"));

    // A damaged count reads no further than the lines there are, and at once.
    QElapsedTimer timer;
    timer.start();
    const auto counted =
        ParseFilterSettingsLines({QStringLiteral("Filters=2147483647"), QStringLiteral("Filter1=A,,x"),
                                  QStringLiteral("Filter2=B,,y")});
    QCOMPARE(counted.size(), 2);
    QCOMPARE(counted.last().FieldName, QStringLiteral("B"));
    QVERIFY(timer.elapsed() < 2000);
}

void TestFilterObject::fieldNamesAreBareOnlyWhenPlain_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "Name"
                           << "Name";
    QTest::newRow("underscore and digits") << "_a1"
                                           << "_a1";
    QTest::newRow("trailing line break") << "S\n"
                                         << "[S\n]";
    QTest::newRow("trailing carriage return") << "S\r"
                                              << "[S\r]";
    QTest::newRow("leading line break") << "\nS"
                                        << "[\nS]";
    QTest::newRow("inner line break") << "S\nT"
                                      << "[S\nT]";
    QTest::newRow("keyword") << "and"
                             << "[and]";
    QTest::newRow("keyword with line break") << "NOT\n"
                                             << "[NOT\n]";
    QTest::newRow("blank") << "First Name"
                           << "[First Name]";
    QTest::newRow("leading digit") << "1st"
                                   << "[1st]";
}

void TestFilterObject::fieldNamesAreBareOnlyWhenPlain()
{
    QFETCH(QString, field);
    QFETCH(QString, expected);
    QCOMPARE(TOrvoFilterDialect::ExpressionFieldName(field), expected);
}

void TestFilterObject::filterDefaultsAndAssign()
{
    TOrvoDBGridFilter filter(nullptr);
    QVERIFY(filter.Filtered());
    QVERIFY(!filter.AutoFilter());
    QVERIFY(filter.AutoUpdate());
    QCOMPARE(filter.Options(), TOrvoDBGridFilter::DefaultOptions);
    QCOMPARE(filter.Clauses().Count(), 17);
    QVERIFY(!filter.Periods().Contains(fpOthers));
    QVERIFY(filter.Periods().Contains(fpDecades));
    QCOMPARE(filter.AutoFilters(), TFilterStyles({fsFilterList, fsFilterForm}));
    QCOMPARE(filter.FilterText(), QString());

    filter.SetClauses({});
    QCOMPARE(filter.Clauses(), TOrvoDBGridFilterClauses({fcNoFilter}));
    filter.SetPeriods({fpDay});
    QCOMPARE(filter.Periods(), TOrvoDBGridFilterPeriods({fpNoPeriod, fpDay}));
    filter.SetDropDownRows(-3);
    QCOMPARE(filter.DropDownRows(), 0);

    TOrvoDBGridFilter copy(nullptr);
    filter.SetFiltered(false);
    filter.SetAutoFilter(true);
    filter.SetDropDownWidth(250);
    filter.SetDecimalSeparator(true);
    filter.SetOptions({foCheckedFirst});
    copy.Assign(&filter);
    for (const char* name : {"Filtered", "AutoFilter", "AutoUpdate", "DropDownRows", "DropDownWidth",
                             "Options", "Clauses", "Periods", "AutoFilters", "DecimalSeparator"})
        QCOMPARE(copy.property(name), filter.property(name));

    TOrvoDBGridSearch search(nullptr);
    QVERIFY_THROWS_EXCEPTION(EConvertError, copy.Assign(&search));
    QVERIFY_THROWS_EXCEPTION(EConvertError, copy.Assign(nullptr));
}

void TestFilterObject::columnFiltersCollectedAndStored()
{
    TOrvoDBGrid grid;
    TOrvoDBGridColumns* columns = grid.Columns();
    columns->Clear();
    for (const char* field : {"Name", "City", "Score", "Code"})
        columns->Add()->SetFieldName(QString::fromLatin1(field));
    TOrvoColumn* name = columns->Items(0);
    TOrvoColumn* city = columns->Items(1);
    TOrvoColumn* score = columns->Items(2);
    TOrvoDBGridFilter* filter = grid.FilterGrid();

    filter->BeginUpdate();
    score->SetFilterText(QStringLiteral("Score > 3"));
    city->SetFilterList({QStringLiteral("Oslo"), QStringLiteral("Rome, \"old\"")});
    name->SetFilterText(QStringLiteral("Name LIKE 'A%'"));
    filter->EndUpdate();
    const QList<TOrvoColumn*> all{name, city, score};
    QCOMPARE(filter->FilteredColumns(), all);
    QCOMPARE(filter->FilterText(), QStringLiteral("(Name LIKE 'A%') AND (Score > 3)"));

    filter->SetFiltered(false);
    QVERIFY(filter->FilteredColumns().isEmpty());
    QCOMPARE(filter->FilterText(), QString());
    QCOMPARE(score->FilterText(), QStringLiteral("Score > 3"));
    filter->SetFiltered(true);
    QCOMPARE(filter->FilteredColumns(), all);

    const QStringList lines = filter->Settings();
    QCOMPARE(lines.size(), 4);
    filter->ClearFilters(TOrvoDBGridFilter::cfFilterTexts);
    QCOMPARE(filter->FilteredColumns(), QList<TOrvoColumn*>{city});
    QCOMPARE(filter->FilterText(), QString());

    filter->SetSettings(QStringList(lines)
                        << QStringLiteral("Filters=5") << QStringLiteral("Filter4=Missing,X = 1,"));
    QCOMPARE(filter->FilteredColumns(), all);
    QCOMPARE(city->FilterList(), QStringList({QStringLiteral("Oslo"), QStringLiteral("Rome, \"old\"")}));
    QCOMPARE(filter->FilterText(), QStringLiteral("(Name LIKE 'A%') AND (Score > 3)"));

    filter->ClearFilters(TOrvoDBGridFilter::cfFilterLists | TOrvoDBGridFilter::cfFilterTexts);
    QVERIFY(filter->FilteredColumns().isEmpty());
    filter->RestoreSettings();
    QCOMPARE(filter->FilteredColumns(), all);
}

void TestFilterObject::searchDefaultsAndAssign()
{
    TOrvoDBGridSearch search(nullptr);
    QVERIFY(search.Active());
    QCOMPARE(search.Color(), clDefault);
    QCOMPARE(search.MatchColor(), TColor(0x0000AAFF));
    QCOMPARE(search.ListWidth(), 104);
    QCOMPARE(search.Options(), TOrvoSearchOptions());
    QCOMPARE(search.VisibleOptions(), TOrvoDBGridSearch::DefaultVisibleOptions);

    search.SetListWidth(50);
    QCOMPARE(search.ListWidth(), 80);
    search.SetListWidth(0);
    QCOMPARE(search.ListWidth(), 104);
    search.SetListWidth(200);
    QCOMPARE(search.ListWidth(), 200);
    search.SetVisibleOptions({soSkipMessage, soWrapAround});
    QCOMPARE(search.VisibleOptions(), TOrvoSearchOptions({soWrapAround}));

    QVERIFY(!search.IsHighlighting());
    search.SetText(QStringLiteral("ab"));
    QVERIFY(search.IsHighlighting());
    QVERIFY(!search.IsFiltering());
    search.SetOptions({soFilterRows});
    QVERIFY(search.IsFiltering());
    search.SetActive(false);
    QVERIFY(!search.IsHighlighting());
    search.SetIncremental(true);
    QVERIFY(search.IsHighlighting());

    TOrvoDBGridSearch copy(nullptr);
    search.SetHistory({QStringLiteral("b"), QStringLiteral("a")});
    search.SetPanelOnTop(true);
    search.SetPanelColor(clBtnFace);
    copy.Assign(&search);
    for (const char* name : {"PanelOnTop", "Incremental", "Active", "Color", "History", "ListWidth",
                             "PanelColor", "Text", "Options", "VisibleOptions"})
        QCOMPARE(copy.property(name), search.property(name));
}

QTEST_MAIN(TestFilterObject)
#include "tst_grid_filterobject.moc"
