#include "common/sqlitebind.h"
#include "platform/core/exceptions.h"
#include "platform/data/tfilterexpression.h"
#include "platform/sqlite/tsqlitefunctions.h"

#include <QtTest>

#include <sqlite3.h>

using namespace orvo;

namespace {

struct TTestField
{
    QString Name;
    TFieldType Type;
};

const std::vector<TTestField> kFields = {
    {"Name", ftString},  {"City", ftString},     {"Qty", ftInteger}, {"Price", ftCurrency},
    {"Weight", ftFloat}, {"Active", ftBoolean},  {"Born", ftDate},   {"Stamp", ftDateTime},
    {"At", ftTime},      {"Odd]Name", ftString}, {"Photo", ftBlob},
};

std::optional<TFilterExpression::TFieldRef> resolve(const QString& name)
{
    for (int i = 0; i < int(kFields.size()); ++i)
        if (kFields[i].Name.compare(name, Qt::CaseInsensitive) == 0)
            return TFilterExpression::TFieldRef{i, kFields[i].Type, kFields[i].Name};
    return std::nullopt;
}

TVariant date(int y, int m, int d)
{
    return TDateTime::EncodeDate(y, m, d);
}

TVariant stamp(int y, int m, int d, int h, int n, int s)
{
    return TDateTime::FromQDateTime(QDateTime(QDate(y, m, d), QTime(h, n, s)));
}

TVariant time(int h, int n, int s)
{
    return TDateTime::EncodeTime(h, n, s, 0);
}

TVariant money(double value)
{
    return TCurrency::FromDouble(value);
}

// Mixed case, quotes, NULLs, a character beyond U+FFFF, one after U+E000, and
// date-times on both sides of 1899 where the raw encoding stops being ordered.
// Built on first use: the date encoding is not ready during static initialisation.
const std::vector<std::vector<TVariant>>& records()
{
    const TVariant N = TVariant::Null();
    static const std::vector<std::vector<TVariant>> all = {
        {"O'Brien", "Paris", 5, money(1.23), 2.5, true, date(2024, 3, 1), stamp(2024, 3, 1, 13, 45, 10),
         time(13, 45, 0), "x", N},
        {"alice", N, 10, money(0.5), N, false, date(1999, 12, 31), stamp(2024, 3, 1, 0, 0, 0), time(8, 0, 0),
         "y]", N},
        {"Alice", "paris", N, N, -1000.0, N, N, N, N, N, N},
        {"Bob_%", "London", -3, money(100), 0.0, true, date(1850, 6, 15), stamp(1850, 6, 15, 6, 0, 0),
         time(23, 59, 59), "z", N},
        {QString::fromUtf8("émile"), QString::fromUtf8("Zürich"), 7, money(7.0001), 7.5, false,
         date(2024, 2, 29), stamp(2024, 2, 29, 12, 0, 0), time(12, 0, 0), "x", N},
        {QString::fromUtf8("\xF0\x9F\x98\x80"), QString(QChar(0xFF01)), 0, money(0), N, false,
         date(2024, 3, 2), stamp(1850, 6, 15, 12, 0, 0), time(0, 0, 0), N, N},
    };
    return all;
}

// How the SQLite layer stores a value; two records store theirs in another
// legal form, to prove the translation does not depend on the form.
TVariant storedForm(int record, int field)
{
    const TVariant& value = records()[size_t(record)][size_t(field)];
    if (value.IsNull())
        return value;
    if (record == 3 && kFields[size_t(field)].Name == "Active")
        return qint64(-1);
    if (record == 1 && kFields[size_t(field)].Name == "Stamp")
        return "2024-03-01";
    switch (kFields[size_t(field)].Type) {
    case ftCurrency:
        return value.AsFloat();
    case ftBoolean:
        return qint64(value.AsBoolean() ? 1 : 0);
    case ftDate:
        return value.AsDateTime().ToQDate().toString("yyyy-MM-dd");
    case ftDateTime:
        return value.AsDateTime().ToQDate().toString("yyyy-MM-dd") +
               value.AsDateTime().ToQTime().toString(" hh:mm:ss");
    case ftTime:
        return value.AsDateTime().ToQTime().toString("hh:mm:ss");
    default:
        return value;
    }
}

// The column as the dataset reads it, which is what the translation compares.
QString columnSql(int index)
{
    const QString quoted =
        QLatin1Char('"') + QString(kFields[size_t(index)].Name).replace('"', "\"\"") + QLatin1Char('"');
    return TSQLiteFunctions::FieldValueSql(quoted, kFields[size_t(index)].Type);
}

QString acceptedByMatches(const TFilterExpression& expression)
{
    QStringList ids;
    for (int r = 0; r < int(records().size()); ++r)
        if (expression.Matches([r](int index) { return records()[size_t(r)][size_t(index)]; }))
            ids << QString::number(r);
    return ids.join(',');
}

QString parseError(const QString& text)
{
    try {
        TFilterExpression::Parse(text, resolve);
    } catch (const EDatabaseError& e) {
        return e.Message();
    }
    return QString();
}

} // namespace

class TstFilterExpression : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCOMPARE(sqlite3_open(":memory:", &FDb), SQLITE_OK);
        TSQLiteFunctions::Register(FDb);
        // City folds case in its declaration: the filter must still compare exactly.
        Exec("CREATE TABLE t (id INTEGER PRIMARY KEY, \"Name\" TEXT, \"City\" TEXT COLLATE NOCASE, \"Qty\" "
             "INTEGER,"
             " \"Price\" REAL, \"Weight\" REAL, \"Active\" INTEGER, \"Born\" TEXT, \"Stamp\" TEXT, \"At\" "
             "TEXT,"
             " \"Odd]Name\" TEXT, \"Photo\" BLOB)");
        for (int r = 0; r < int(records().size()); ++r) {
            std::vector<TVariant> values{qint64(r)};
            for (int f = 0; f < int(kFields.size()); ++f)
                values.push_back(storedForm(r, f));
            QStringList marks(int(values.size()), QStringLiteral("?"));
            QCOMPARE(SelectIds("INSERT INTO t VALUES (" + marks.join(',') + ")", values), QString());
        }
    }

    void cleanupTestCase() { sqlite3_close(FDb); }

    void matchesAndSqlAgree_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("accepted");
        QTest::addColumn<bool>("translatable");

        auto row = [](const char* filter, const char* accepted, bool translatable = true) {
            QTest::newRow(filter) << QString::fromUtf8(filter) << QString::fromLatin1(accepted)
                                  << translatable;
        };
        // Text: exact, case-sensitive, quotes doubled, code-point order.
        row("Name = 'O''Brien'", "0");
        row("Name = 'alice'", "1");
        row("City = 'paris'", "2");
        row("City <> 'Paris'", "2,3,4,5");
        row("City <> 12", "0,2,3,4,5");
        row("Name > 'zzz'", "4,5");
        row("Name > '\xEF\xBC\x81'", "5");
        row("Name <> City", "0,2,3,4,5");
        // LIKE folds case by Unicode; "_" is one character, even beyond U+FFFF.
        row("Name LIKE 'ALICE'", "1,2");
        row("Name LIKE 'a%'", "1,2");
        row("Name LIKE 'B_b%'", "3");
        row("Name LIKE '\xC3\xA9%'", "4");
        row("Name LIKE '\xC3\x89%'", "4");
        row("Name LIKE '_'", "5");
        row("Name LIKE '%'", "0,1,2,3,4,5");
        row("Name NOT LIKE '%i%'", "3,5");
        // NULL and three-valued logic.
        row("City IS NULL", "1");
        row("City = NULL", "1");
        row("NULL = City", "1");
        row("City <> NULL", "0,2,3,4,5");
        row("City IS NOT NULL", "0,2,3,4,5");
        row("NOT (City = 'Paris')", "2,3,4,5");
        row("NOT City = 'Paris' OR City IS NULL", "1,2,3,4,5");
        row("NOT (Qty > 100 AND City = 'x')", "0,1,2,3,4,5");
        row("NOT (Qty > 0 OR City = 'x')", "3,5");
        row("City IN ('Paris', 'London')", "0,3");
        row("City NOT IN ('Paris', 'London')", "2,4,5");
        row("City IN ('Paris', NULL)", "0");
        row("City NOT IN ('Paris', NULL)", "");
        // Numbers, whichever side and however written.
        row("Qty > 5", "1,4");
        row("5 < Qty", "1,4");
        row("Qty >= '5'", "0,1,4");
        row("Qty = -3", "3");
        row("Qty <= 5.5", "0,3,5");
        row("Qty IN (5, 7, 1e1)", "0,1,4");
        row("Price = 1.23", "0");
        row("Price > 7.00005", "3,4");
        row("Weight >= -1E3", "0,2,3,4");
        row("Qty > Weight", "0");
        // Booleans, whatever non-zero was stored.
        row("Active = True", "0,3");
        row("Active = 0", "1,4,5");
        row("Active <> 'true'", "1,4,5");
        row("NOT Active = False", "0,3");
        row("Active > False", "0,3");
        // Dates in every accepted form; date-times against dates; before 1899.
        row("Born = '2024-03-01'", "0");
        row("Born = '01.03.2024'", "0");
        row("Born = '03/01/2024'", "0");
        row("Born = '2024-03-01 00:00:00'", "0");
        row("Born >= '2024-02-29' AND Born < '2024-03-02'", "0,4");
        row("Born < '1900-01-01'", "3");
        row("Born > '2024-03-01 12:00'", "5");
        row("Born < '2024-03-01 12:00'", "0,1,3,4");
        row("Stamp = '2024-03-01'", "1");
        row("Stamp >= '2024-03-01T13:45:10'", "0");
        row("Stamp > '1850-06-15 06:00'", "0,1,4,5");
        row("Stamp < '1850-06-15 12:00'", "3");
        row("Born < Stamp", "0,1,3,4");
        row("Born >= Stamp", "5");
        row("At > '12:00'", "0,3");
        row("Qty = 5 OR At = '08:00'", "0,1");
        // Names, keywords and precedence.
        row("[Odd]]Name] = 'y]'", "1");
        row("[odd]]name] IN ('x', 'z')", "0,3,4");
        row("qty IN (5) and NAME like 'o%'", "0");
        row("Qty = 5 OR Qty = 10 AND Name = 'x'", "0");
        row("(Qty = 5 OR Qty = 10) AND Name = 'alice'", "1");
        row("NOT Qty = 5 AND Qty > 0", "1,4");
        row("   ", "0,1,2,3,4,5");
    }

    void matchesAndSqlAgree()
    {
        QFETCH(QString, filter);
        QFETCH(QString, accepted);
        QFETCH(bool, translatable);

        const auto expression = TFilterExpression::Parse(filter, resolve);
        QCOMPARE(expression->Text(), filter);
        QCOMPARE(acceptedByMatches(*expression), accepted);

        QString where;
        std::vector<TVariant> params;
        QCOMPARE(expression->ToSql(columnSql, where, params), translatable);
        if (translatable)
            QCOMPARE(SelectIds("SELECT id FROM t WHERE " + where + " ORDER BY id", params), accepted);
    }

    void valuesNeverReachSqlText()
    {
        const auto expression =
            TFilterExpression::Parse("Name = 'x''); DROP TABLE t; --' OR Name LIKE '%'' OR 1=1'", resolve);
        QString where;
        std::vector<TVariant> params;
        QVERIFY(expression->ToSql(columnSql, where, params));
        QVERIFY(!where.contains("DROP"));
        QVERIFY(!where.contains('\''));
        QCOMPARE(int(params.size()), 2);
        QCOMPARE(params[0].AsString(), QString("x'); DROP TABLE t; --"));
    }

    void parseErrorsNameThePosition_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("what");

        QTest::newRow("unterminated string") << "Name = 'abc" << 8 << "unterminated string";
        QTest::newRow("unterminated name") << "[Name = 1" << 1 << "unterminated field name";
        QTest::newRow("empty name") << "[] = 1" << 1 << "empty field name";
        QTest::newRow("unknown field") << "Qty = 1 OR Nope = 1" << 12 << "Field 'Nope' not found";
        QTest::newRow("bad integer") << "Qty = 'abc'" << 7
                                     << "'abc' is not a valid Integer value for field 'Qty'";
        QTest::newRow("no such day") << "Born = '2024-02-30'" << 8 << "not a valid Date value";
        QTest::newRow("month first") << "Born = '31/12/2024'" << 8 << "not a valid Date value";
        QTest::newRow("date for a time") << "At = '2024-01-01'" << 6 << "not a valid Time value";
        QTest::newRow("number for a date") << "Born > 45000" << 8 << "not a valid Date value";
        QTest::newRow("boolean 2") << "Active = 2" << 10 << "not a valid Boolean value";
        QTest::newRow("boolean for text") << "Name = True" << 8 << "True is not a valid String value";
        QTest::newRow("end too soon") << "Qty = " << 7 << "found end of expression";
        QTest::newRow("dangling AND") << "Qty = 1 AND" << 12 << "end of expression";
        QTest::newRow("open paren") << "(Qty = 1" << 9 << "expected ')'";
        QTest::newRow("close paren") << "Qty = 1)" << 8 << "found ')'";
        QTest::newRow("two comparisons") << "Qty = 1 Qty = 2" << 9 << "found 'Qty'";
        QTest::newRow("stray character") << "Qty ! 1" << 5 << "unexpected character '!'";
        QTest::newRow("malformed number") << "Qty = 12abc" << 7 << "invalid number";
        QTest::newRow("minus without number") << "Qty = -'a'" << 8 << "a number after '-'";
        QTest::newRow("LIKE on number") << "Qty LIKE 'a%'" << 5 << "LIKE needs a text field";
        QTest::newRow("LIKE a field") << "Name LIKE City" << 11 << "quoted pattern";
        QTest::newRow("ordered NULL") << "Qty < NULL" << 5 << "NULL can only be compared with = or <>";
        QTest::newRow("no field") << "1 = 1" << 1 << "a comparison needs a field";
        QTest::newRow("kinds differ") << "Name = Qty" << 6 << "cannot compare field 'Name' (String)";
        QTest::newRow("blob field") << "Photo IS NULL" << 1 << "of type Blob cannot be used";
        QTest::newRow("empty IN") << "Qty IN ()" << 9 << "expected a value";
        QTest::newRow("field in IN") << "Qty IN (1, Qty)" << 12 << "expected a value";
        QTest::newRow("NOT =") << "Qty NOT = 1" << 9 << "LIKE or IN after NOT";
        QTest::newRow("keyword as field") << "Null = 1" << 1 << "a comparison needs a field";
    }

    void parseErrorsNameThePosition()
    {
        QFETCH(QString, filter);
        QFETCH(int, position);
        QFETCH(QString, what);
        const QString message = parseError(filter);
        QVERIFY2(message.contains(QStringLiteral(" at position %1: ").arg(position)), qPrintable(message));
        QVERIFY2(message.contains(what), qPrintable(message));
    }

    void syntaxErrorMessageShape()
    {
        QCOMPARE(parseError("Name = 'abc"),
                 QString("Filter expression syntax error at position 8: unterminated string"));
    }

    void nestingIsCappedWithoutExhaustingTheStack()
    {
        const QString inner = "Qty = 5";
        const auto at256 = TFilterExpression::Parse(QString(256, '(') + inner + QString(256, ')'), resolve);
        QCOMPARE(acceptedByMatches(*at256), QString("0"));

        QVERIFY(parseError(QString(257, '(') + inner + QString(257, ')')).contains("nested too deeply"));
        QVERIFY(parseError(QString(200000, '(')).contains("nested too deeply"));
        QVERIFY(parseError(QStringList(100000, "NOT").join(' ') + ' ' + inner).contains("nested too deeply"));
    }

    void longChainsStayWithinSqliteLimits()
    {
        // A flat chain of 3000 terms would nest 3000 deep in SQLite, which refuses past 1000.
        QStringList terms(3000, QStringLiteral("City IS NULL"));
        const auto chain = TFilterExpression::Parse(terms.join(" OR "), resolve);
        QCOMPARE(acceptedByMatches(*chain), QString("1"));
        QString where;
        std::vector<TVariant> params;
        QVERIFY(chain->ToSql(columnSql, where, params));
        QCOMPARE(SelectIds("SELECT id FROM t WHERE " + where + " ORDER BY id", params), QString("1"));

        // More values than an SQLite statement may bind: the dataset filters per record instead.
        QStringList values;
        for (int i = 0; i < 1000; ++i)
            values << QString::number(i);
        const auto list = TFilterExpression::Parse("Qty IN (" + values.join(',') + ")", resolve);
        QCOMPARE(acceptedByMatches(*list), QString("0,1,4,5"));
        where = "unchanged";
        QVERIFY(!list->ToSql(columnSql, where, params));
        QCOMPARE(where, QString("unchanged"));
    }

    void unexpectedValueKindsAreNoMatch_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<TVariant>("value");
        QTest::newRow("text for a number") << "Qty = 5" << TVariant("5");
        QTest::newRow("bytes for text") << "Name = 'x'" << TVariant(QByteArray("x"));
        QTest::newRow("number for text LIKE") << "Name LIKE '%'" << TVariant(5);
        QTest::newRow("text for a date") << "Born = '2024-03-01'" << TVariant("2024-03-01");
        QTest::newRow("NaN") << "Weight <> 1" << TVariant(std::nan(""));
        QTest::newRow("array in IN") << "Qty IN (1, 2)" << VarArrayOf({1, 2});
    }

    void unexpectedValueKindsAreNoMatch()
    {
        QFETCH(QString, filter);
        QFETCH(TVariant, value);
        const auto expression = TFilterExpression::Parse(filter, resolve);
        const auto read = [&](int) { return value; };
        QVERIFY(!expression->Matches(read));
        const auto negated = TFilterExpression::Parse("NOT (" + filter + ")", resolve);
        QVERIFY(!negated->Matches(read));
    }

    void fieldNamesAreExactAndDistinct()
    {
        const auto expression = TFilterExpression::Parse("qty = 1 AND [NAME] LIKE 'x' OR Qty > 2", resolve);
        QCOMPARE(expression->FieldNames(), QStringList({"Qty", "Name"}));
        QCOMPARE(TFilterExpression::Parse("", resolve)->FieldNames(), QStringList());
    }

    void writtenLiteralsReadBack()
    {
        const QString filter =
            TFilterExpression::QuotedName("Odd]Name") + " = " + TFilterExpression::QuotedString("y]") +
            " OR Name = " + TFilterExpression::QuotedString("O'Brien") +
            " OR Stamp = " + TFilterExpression::DateTimeLiteral(records()[4][7].AsDateTime(), ftDateTime) +
            " OR Born = " + TFilterExpression::DateTimeLiteral(records()[5][6].AsDateTime(), ftDate) +
            " OR At = " + TFilterExpression::DateTimeLiteral(records()[3][8].AsDateTime(), ftTime);
        QCOMPARE(acceptedByMatches(*TFilterExpression::Parse(filter, resolve)), QString("0,1,3,4,5"));
        QCOMPARE(TFilterExpression::DateTimeLiteral(records()[1][7].AsDateTime(), ftDateTime),
                 QString("'2024-03-01'"));
    }

private:
    void Exec(const char* sql) { QCOMPARE(sqlite3_exec(FDb, sql, nullptr, nullptr, nullptr), SQLITE_OK); }

    // Runs `sql` with the parameters bound and returns the first column of the rows, comma-separated.
    QString SelectIds(const QString& sql, const std::vector<TVariant>& params)
    {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(FDb, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK)
            return "prepare failed: " + QString::fromUtf8(sqlite3_errmsg(FDb));
        if (!test::BindStoredValues(statement, params)) {
            sqlite3_finalize(statement);
            return "unexpected parameter kind";
        }
        QStringList ids;
        while (sqlite3_step(statement) == SQLITE_ROW)
            ids << QString::number(sqlite3_column_int64(statement, 0));
        sqlite3_finalize(statement);
        return ids.join(',');
    }

    sqlite3* FDb = nullptr;
};

QTEST_GUILESS_MAIN(TstFilterExpression)
#include "tst_filterexpression.moc"
