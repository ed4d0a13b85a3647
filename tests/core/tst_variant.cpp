#include "common/texceptionhandlerscope.h"
#include "platform/core/exceptions.h"
#include "platform/core/texceptionhandler.h"
#include "platform/core/tset.h"
#include "platform/core/tvariant.h"

#include <QtTest>

using namespace orvo;

namespace {
enum TTestOption
{
    toFirst,
    toSecond,
    toThird,
    toLast = 63
};
}

class TstVariant : public QObject
{
    Q_OBJECT

private slots:
    void unassignedAndNullAreDistinct()
    {
        TVariant empty;
        TVariant null = TVariant::Null();
        QVERIFY(empty.IsEmpty());
        QVERIFY(!empty.IsNull());
        QVERIFY(null.IsNull());
        QVERIFY(!(empty == null));
        QVERIFY(empty.IsClear() && null.IsClear());
        QCOMPARE(null.AsString(), QString());
    }

    void kindsStayApart()
    {
        QCOMPARE(TVariant(qint64(5)).VarType(), varInt64);
        QCOMPARE(TVariant(5.0).VarType(), varDouble);
        QCOMPARE(TVariant(TCurrency::FromRaw(50000)).VarType(), varCurrency);
        QCOMPARE(TVariant(TDateTime(5.0)).VarType(), varDate);
        QVERIFY(!(TVariant(5) == TVariant(5.0)));
        QVERIFY(TVariant::SameValue(TVariant(5), TVariant(5.0)));
        QVERIFY(TVariant::SameValue(TVariant(5), TVariant(TCurrency::FromRaw(50000))));
    }

    void conversions_data()
    {
        QTest::addColumn<TVariant>("value");
        QTest::addColumn<double>("asFloat");
        QTest::addColumn<QString>("asString");
        QTest::newRow("int") << TVariant(42) << 42.0 << "42";
        QTest::newRow("double") << TVariant(0.1) << 0.1 << "0.1";
        QTest::newRow("currency") << TVariant(TCurrency::FromDouble(12.345)) << 12.345 << "12.345";
        QTest::newRow("numeric string") << TVariant(" 3.5 ") << 3.5 << " 3.5 ";
        QTest::newRow("boolean") << TVariant(true) << -1.0 << "True";
        QTest::newRow("date") << TVariant(TDateTime::EncodeDate(2024, 2, 29)) << 45351.0 << "2024-02-29";
    }
    void conversions()
    {
        QFETCH(TVariant, value);
        QFETCH(double, asFloat);
        QFETCH(QString, asString);
        QCOMPARE(value.AsFloat(), asFloat);
        QCOMPARE(value.AsString(), asString);
    }

    void badConversionsRaise()
    {
        QVERIFY_THROWS_EXCEPTION(EVariantError, TVariant("abc").AsFloat());
        QVERIFY_THROWS_EXCEPTION(EVariantError, TVariant::Null().AsInteger());
        QVERIFY_THROWS_EXCEPTION(EVariantError, TVariant(qint64(1) << 40).AsInteger());
        QVERIFY_THROWS_EXCEPTION(EVariantError, TVariant(1)[0]);
    }

    void compareOrdersNullFirstAndFoldsOnlyAsciiLetters()
    {
        QCOMPARE(TVariant::Compare(TVariant::Null(), TVariant(1)), -1);
        QCOMPARE(TVariant::Compare(TVariant("b"), TVariant("a")), 1);
        QCOMPARE(TVariant::Compare(TVariant("B"), TVariant("a")), -1);
        QCOMPARE(TVariant::Compare(TVariant("ABC"), TVariant("abc"), true), 0);
        QCOMPARE(
            TVariant::Compare(TVariant(QStringLiteral("\u00c9")), TVariant(QStringLiteral("\u00e9")), true),
            -1);
        QCOMPARE(TVariant::Compare(TVariant(2), TVariant(10)), -1);
        QCOMPARE(TVariant::Compare(TVariant(2.5), TVariant(TCurrency::FromDouble(2.5))), 0);
    }

    void arrays()
    {
        TVariant a = VarArrayOf({1, "x"});
        QCOMPARE(a.ArrayHighBound(), 1);
        QCOMPARE(a[1].AsString(), QStringLiteral("x"));
        QVERIFY(TVariant::SameValue(a, VarArrayOf({1.0, "x"})));
        QVERIFY(!TVariant::SameValue(a, VarArrayOf({1})));
        QVERIFY(!TVariant::SameValue(a, TVariant(1)));
        QCOMPARE(VarArrayOf({}).ArrayHighBound(), -1);
    }

    void dateTimeRoundTrip()
    {
        const QDateTime dt(QDate(2026, 12, 9), QTime(13, 45, 30, 250));
        QCOMPARE(TDateTime::FromQDateTime(dt).ToQDateTime(), dt);
        QCOMPARE(TDateTime::EncodeDate(1899, 12, 30).Value(), 0.0);
        QCOMPARE(TDateTime(-1.25).ToQDateTime(), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
        QVERIFY_THROWS_EXCEPTION(EConvertError, TDateTime::EncodeDate(2023, 2, 29));
    }

    void setOperations()
    {
        TSet<TTestOption> s{toFirst, toLast};
        QVERIFY(s.Contains(toLast));
        QVERIFY(!s.Contains(toSecond));
        QCOMPARE(s.Count(), 2);
        s += toSecond;
        QCOMPARE(s - TSet<TTestOption>{toFirst}, (TSet<TTestOption>{toSecond, toLast}));
        QCOMPARE((s * TSet<TTestOption>{toSecond, toThird}), TSet<TTestOption>{toSecond});
        QVERIFY((TSet<TTestOption>{toSecond}).IsSubsetOf(s));
        QVERIFY(TSet<TTestOption>().IsEmpty());
    }

    void setRanges_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<quint64>("bits");
        QTest::newRow("one member") << int(toSecond) << int(toSecond) << quint64(0b10);
        QTest::newRow("from the first") << int(toFirst) << int(toThird) << quint64(0b111);
        QTest::newRow("inner") << int(toSecond) << int(toThird) << quint64(0b110);
        QTest::newRow("reversed is empty") << int(toThird) << int(toSecond) << quint64(0);
        QTest::newRow("up to the 64th") << int(toThird) << int(toLast) << (~quint64(0) << 2);
        QTest::newRow("all 64") << int(toFirst) << int(toLast) << ~quint64(0);
    }

    void setRanges()
    {
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(quint64, bits);
        QCOMPARE(TSet<TTestOption>::Range(TTestOption(first), TTestOption(last)).Bits(), bits);
    }

    void guardHandsExceptionsToTheHandler()
    {
        QStringList seen;
        const test::TExceptionHandlerScope handler(test::TExceptionHandlerScope::Recording(seen));
        QVERIFY(!TExceptionHandler::Guard([] { throw EDatabaseError(QStringLiteral("boom")); }));
        QCOMPARE(seen, QStringList{QStringLiteral("boom")});
        seen.clear();
        QVERIFY(!TExceptionHandler::Guard([] { throw EAbort(); }));
        QVERIFY(seen.isEmpty());
        QVERIFY(TExceptionHandler::Guard([] {}));
    }
};

QTEST_GUILESS_MAIN(TstVariant)
#include "tst_variant.moc"
