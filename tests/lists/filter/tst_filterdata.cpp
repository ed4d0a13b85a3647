#include "lists/filter/torvodbfilterdata.h"

#include "platform/core/exceptions.h"
#include "platform/data/tfield.h"
#include "platform/data/tfields.h"

#include <QTest>

using namespace orvo;

namespace {

QString Encoded(const char* text)
{
    QString encoded = QString::fromUtf8(text);
    encoded.replace(u'^', TOrvoDBFilterData::SortKeyEnd).replace(u'~', TOrvoDBFilterData::KeyStart);
    return encoded;
}

} // namespace

class TestFilterData : public QObject
{
    Q_OBJECT

private slots:
    void eachStringGivesItsItemAndKey_data()
    {
        // "^" stands for the sort key's end mark and "~" for the key's start mark.
        QTest::addColumn<QString>("encoded");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("key");
        QTest::newRow("plain text is both") << Encoded("Oslo") << "Oslo"
                                            << "Oslo";
        QTest::newRow("sort key dropped") << Encoded("80000001^ 1") << "1"
                                          << "1";
        QTest::newRow("item and key") << Encoded("Norway~ NO") << "Norway"
                                      << "NO";
        QTest::newRow("all three") << Encoded("+1.5^ 1,50 kr~ 1.5") << "1,50 kr"
                                   << "1.5";
        QTest::newRow("empty item for a key") << Encoded("^ (Empty)~ ") << "(Empty)"
                                              << "";
        QTest::newRow("a mark without its blank is text")
            << Encoded("a^b~c") << Encoded("a^b~c") << Encoded("a^b~c");
        QTest::newRow("quotes and line breaks stay") << Encoded("it's\nhere~ k'") << "it's\nhere"
                                                     << "k'";
    }
    void eachStringGivesItsItemAndKey()
    {
        QFETCH(QString, encoded);
        QFETCH(QString, item);
        QFETCH(QString, key);
        const QStringList items{encoded};
        TOrvoDBFilterData data;
        data.SetItems(&items);
        data.Open();
        QCOMPARE(data.RecordCount(), 1);
        QCOMPARE(data.FieldByName(QStringLiteral("Item"))->AsString(), item);
        QCOMPARE(data.FieldByName(QStringLiteral("Key"))->AsString(), key);
    }

    void fieldsAreReadOnlyWideStringsOfTheGivenSizes()
    {
        TOrvoDBFilterData data;
        data.Open();
        QCOMPARE(data.RecordCount(), 0); // no list, no records
        QCOMPARE(data.Fields()->Count(), 2);
        for (const char* name : {"Item", "Key"}) {
            const TField* field = data.FieldByName(QString::fromLatin1(name));
            QCOMPARE(field->DataType(), ftWideString);
            QCOMPARE(field->Size(), TOrvoDBFilterData::DefaultSize);
        }
        QVERIFY(!data.CanModify());
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, data.SetItemSize(40));
        data.Close();

        data.SetItemSize(40);
        data.SetKeySize(0);
        QCOMPARE(data.KeySize(), TOrvoDBFilterData::DefaultSize);
        data.Open();
        QCOMPARE(data.FieldByName(QStringLiteral("Item"))->Size(), 40);
        QCOMPARE(data.FieldByName(QStringLiteral("Key"))->Size(), TOrvoDBFilterData::DefaultSize);
    }

    void theListIsReadWhereItIsAndOnlyWhileClosedReplaced()
    {
        QStringList items{Encoded("b~ 2"), Encoded("a~ 1")};
        TOrvoDBFilterData data;
        data.SetItems(&items);
        data.Open();
        QCOMPARE(data.RecordCount(), 2);
        QVERIFY(data.Locate(QStringLiteral("Key"), TVariant(QStringLiteral("1")), {}));
        QCOMPARE(data.FieldByName(QStringLiteral("Item"))->AsString(), QStringLiteral("a"));
        const QStringList others;
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, data.SetItems(&others));
        data.Close();
        data.SetItems(nullptr);
        data.Open();
        QVERIFY(data.IsEmpty());
    }
};

QTEST_MAIN(TestFilterData)
#include "tst_filterdata.moc"
