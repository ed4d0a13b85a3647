#include "grid/order/ordertext.h"

#include <QTest>

using namespace orvo;

class TestGridOrderText : public QObject
{
    Q_OBJECT

private slots:
    void sameOrderFieldsIgnoresCaseAndBlanks_data();
    void sameOrderFieldsIgnoresCaseAndBlanks();
    void orderBecomesIndexFields_data();
    void orderBecomesIndexFields();
    void indexFieldsBecomeOrder_data();
    void indexFieldsBecomeOrder();
    void orderByClauseIsRead_data();
    void orderByClauseIsRead();
    void orderByClauseIsWritten_data();
    void orderByClauseIsWritten();
    void sqlNamesAreQuotedOnlyWhenNeeded_data();
    void sqlNamesAreQuotedOnlyWhenNeeded();
    void directionComesFromTheLastWord_data();
    void directionComesFromTheLastWord();
};

void TestGridOrderText::sameOrderFieldsIgnoresCaseAndBlanks_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("same");

    QTest::newRow("both empty") << ""
                                << "  " << true;
    QTest::newRow("case and blanks") << "A, b DESC"
                                     << "a,B desc" << true;
    QTest::newRow("blanks around commas") << " Country DESC ,State,  City "
                                          << "COUNTRY DESC,STATE,CITY" << true;
    QTest::newRow("different direction") << "A DESC"
                                         << "A" << false;
    QTest::newRow("different sequence") << "A,B"
                                        << "B,A" << false;
    QTest::newRow("one more item") << "A,B"
                                   << "A" << false;
    QTest::newRow("one empty") << ""
                               << "A" << false;
    QTest::newRow("blank inside a name counts") << "A B"
                                                << "AB" << false;
}

void TestGridOrderText::sameOrderFieldsIgnoresCaseAndBlanks()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(bool, same);
    QCOMPARE(SameOrderFields(first, second), same);
    QCOMPARE(SameOrderFields(second, first), same);
}

void TestGridOrderText::orderBecomesIndexFields_data()
{
    QTest::addColumn<QString>("order");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("index");

    QTest::newRow("plain names keep DESC") << "Name,City DESC"
                                           << ""
                                           << "Name;City DESC";
    QTest::newRow("format suffix") << "Name,City DESC"
                                   << ":A;:D;:N"
                                   << "Name;City:D";
    QTest::newRow("no ascending suffix added") << "Name ASC, City"
                                               << ":A;:D;:N"
                                               << "Name ASC;City";
    QTest::newRow("lower-case desc") << "City desc"
                                     << ":A;:D;:N"
                                     << "City:D";
    QTest::newRow("desc inside a name") << "ITEM DESCRIPTION"
                                        << ":A;:D;:N"
                                        << "ITEM DESCRIPTION";
    QTest::newRow("empty") << ""
                           << ":A;:D;:N"
                           << "";
}

void TestGridOrderText::orderBecomesIndexFields()
{
    QFETCH(QString, order);
    QFETCH(QString, format);
    QFETCH(QString, index);
    QCOMPARE(OrderToIndexFields(order, format), index);
}

void TestGridOrderText::indexFieldsBecomeOrder_data()
{
    QTest::addColumn<QString>("index");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("order");

    QTest::newRow("plain") << "Country;State DESC"
                           << ""
                           << "Country,State DESC";
    QTest::newRow("format suffixes") << "NAME:N;CITY:D"
                                     << ":A;:D;:N"
                                     << "NAME,CITY DESC";
    QTest::newRow("ascending suffix") << "Name:A"
                                      << ":A;:D;:N"
                                      << "Name";
    QTest::newRow("suffix case ignored") << "name:d"
                                         << ":A;:D;:N"
                                         << "name DESC";
    QTest::newRow("no suffix") << "Name"
                               << ":A;:D;:N"
                               << "Name";
    QTest::newRow("suffix letters inside a name") << "A:DATE"
                                                  << ":A;:D;:N"
                                                  << "A:DATE";
    QTest::newRow("format without a no-case part") << "Name;City:D"
                                                   << ":A;:D"
                                                   << "Name,City DESC";
}

void TestGridOrderText::indexFieldsBecomeOrder()
{
    QFETCH(QString, index);
    QFETCH(QString, format);
    QFETCH(QString, order);
    QCOMPARE(IndexFieldsToOrder(index, format), order);
}

void TestGridOrderText::orderByClauseIsRead_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("order");

    QTest::newRow("own line with terminator") << QStringList{"SELECT * FROM T", "ORDER BY A;"} << "A";
    QTest::newRow("same line") << QStringList{"SELECT * FROM T order by Country DESC,State"}
                               << "Country DESC,State";
    QTest::newRow("none") << QStringList{"SELECT * FROM T"} << "";
    QTest::newRow("last one counts") << QStringList{"SELECT * FROM (SELECT * FROM T ORDER BY A)",
                                                    "ORDER BY B"}
                                     << "B";
    QTest::newRow("limit tail left out")
        << QStringList{"SELECT * FROM T ORDER BY A DESC LIMIT 10 OFFSET 5;"} << "A DESC";
    QTest::newRow("offset tail left out") << QStringList{"SELECT * FROM T ORDER BY A offset 5"} << "A";
    QTest::newRow("limit inside quotes is a name")
        << QStringList{"SELECT * FROM T ORDER BY \"Speed limit\" DESC"} << "\"Speed limit\" DESC";
    QTest::newRow("limit inside a word") << QStringList{"SELECT * FROM T ORDER BY Limits"} << "Limits";
}

void TestGridOrderText::orderByClauseIsRead()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, order);
    QCOMPARE(GetOrderByClause(lines), order);
}

void TestGridOrderText::orderByClauseIsWritten_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("order");
    QTest::addColumn<QStringList>("result");

    QTest::newRow("replaced on its line") << QStringList{"SELECT * FROM T", "ORDER BY A;"} << "B DESC"
                                          << QStringList{"SELECT * FROM T", "ORDER BY B DESC;"};
    QTest::newRow("removed, terminator kept")
        << QStringList{"SELECT * FROM T", "ORDER BY A;"} << "" << QStringList{"SELECT * FROM T", ";"};
    QTest::newRow("DESC alone counts as empty")
        << QStringList{"SELECT * FROM T", "ORDER BY A;"} << " desc " << QStringList{"SELECT * FROM T", ";"};
    QTest::newRow("added, terminator moves")
        << QStringList{"SELECT * FROM T;"} << "B" << QStringList{"SELECT * FROM T", "ORDER BY B;"};
    QTest::newRow("added without terminator")
        << QStringList{"SELECT * FROM T", "", "  "} << "B" << QStringList{"SELECT * FROM T", "ORDER BY B"};
    QTest::newRow("letter case of the clause kept")
        << QStringList{"select * from T order by a"} << "B" << QStringList{"select * from T order by B"};
    QTest::newRow("following lines untouched") << QStringList{"SELECT * FROM T ORDER BY A", "LIMIT 3"} << "B"
                                               << QStringList{"SELECT * FROM T ORDER BY B", "LIMIT 3"};
    QTest::newRow("nothing to remove")
        << QStringList{"SELECT * FROM T"} << "" << QStringList{"SELECT * FROM T"};
    QTest::newRow("no lines") << QStringList{} << "B" << QStringList{};
    QTest::newRow("limit tail kept on the line")
        << QStringList{"SELECT * FROM T ORDER BY A LIMIT 10 OFFSET 5;"} << "B DESC"
        << QStringList{"SELECT * FROM T ORDER BY B DESC LIMIT 10 OFFSET 5;"};
    QTest::newRow("limit tail kept when the order goes") << QStringList{"SELECT * FROM T ORDER BY A LIMIT 10"}
                                                         << "" << QStringList{"SELECT * FROM T LIMIT 10"};
    QTest::newRow("added before a trailing limit")
        << QStringList{"SELECT * FROM T LIMIT 10;"} << "B"
        << QStringList{"SELECT * FROM T", "ORDER BY B", "LIMIT 10;"};
    QTest::newRow("added before a limit line")
        << QStringList{"SELECT * FROM T", "LIMIT 10 OFFSET 20"} << "B"
        << QStringList{"SELECT * FROM T", "ORDER BY B", "LIMIT 10 OFFSET 20"};
    QTest::newRow("a subquery's limit is its own")
        << QStringList{"SELECT * FROM (SELECT * FROM T LIMIT 5) AS S"} << "B"
        << QStringList{"SELECT * FROM (SELECT * FROM T LIMIT 5) AS S", "ORDER BY B"};
    QTest::newRow("limit in a string is no clause")
        << QStringList{"SELECT * FROM T WHERE Note = 'no limit'"} << "B"
        << QStringList{"SELECT * FROM T WHERE Note = 'no limit'", "ORDER BY B"};
}

void TestGridOrderText::orderByClauseIsWritten()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, order);
    QFETCH(QStringList, result);
    SetOrderByClause(lines, order);
    QCOMPARE(lines, result);
}

void TestGridOrderText::sqlNamesAreQuotedOnlyWhenNeeded_data()
{
    QTest::addColumn<QString>("order");
    QTest::addColumn<QString>("sql");

    QTest::newRow("plain names") << "Country DESC,State"
                                 << "Country DESC,State";
    QTest::newRow("name with a blank") << "Item Description DESC,Id"
                                       << "\"Item Description\" DESC,Id";
    QTest::newRow("quote inside a name") << "A\"B"
                                         << "\"A\"\"B\"";
    QTest::newRow("ASC dropped") << "Id ASC"
                                 << "Id";
    QTest::newRow("empty") << " "
                           << "";
}

void TestGridOrderText::sqlNamesAreQuotedOnlyWhenNeeded()
{
    QFETCH(QString, order);
    QFETCH(QString, sql);
    QCOMPARE(SqlOrderText(order), sql);
    // What the clause says reads back as the order it came from (ASC aside).
    QVERIFY(SameOrderFields(OrderTextOfSql(sql), order.replace(QStringLiteral(" ASC"), QString())));
}

void TestGridOrderText::directionComesFromTheLastWord_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("descending");

    QTest::newRow("plain") << " City "
                           << "City" << false;
    QTest::newRow("descending") << "City DESC"
                                << "City" << true;
    QTest::newRow("lower case") << "city desc"
                                << "city" << true;
    QTest::newRow("ascending") << "City  ASC"
                               << "City" << false;
    QTest::newRow("desc inside a name") << "ITEM DESCRIPTION"
                                        << "ITEM DESCRIPTION" << false;
    QTest::newRow("desc word not last") << "City DESC NULLS"
                                        << "City DESC NULLS" << false;
    QTest::newRow("name with blanks, descending") << "Item Description DESC"
                                                  << "Item Description" << true;
    QTest::newRow("direction alone") << "DESC"
                                     << "DESC" << false;
}

void TestGridOrderText::directionComesFromTheLastWord()
{
    QFETCH(QString, item);
    QFETCH(QString, name);
    QFETCH(bool, descending);
    const TOrderTextItem parsed = TOrderTextItem::Parse(item);
    QCOMPARE(parsed.Name, name);
    QCOMPARE(parsed.Descending, descending);
}

QTEST_GUILESS_MAIN(TestGridOrderText)
#include "tst_grid_ordertext.moc"
