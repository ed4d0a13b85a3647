#include "lists/calculator/torvodbdisplaydata.h"
#include "platform/data/tfield.h"
#include "platform/data/tfields.h"

#include <QTest>

using namespace orvo;

class TDisplayDataTest : public QObject
{
    Q_OBJECT

private slots:
    void holdsOneReadOnlyWideTextRecord()
    {
        TOrvoDBDisplayData data;
        data.SetDisplayText(QStringLiteral("12.5"));
        data.Open();
        QCOMPARE(data.RecordCount(), 1);
        QCOMPARE(data.Fields()->Count(), 1);
        TField* field = data.FieldByName(QStringLiteral("DisplayText"));
        QCOMPARE(field->DataType(), ftWideString);
        QCOMPARE(field->Size(), TOrvoDBDisplayData::DisplayTextSize);
        QCOMPARE(field->AsString(), QStringLiteral("12.5"));
        QVERIFY(!data.CanModify());
        QVERIFY(!field->CanModify());
        QVERIFY_THROWS_EXCEPTION(Exception, data.Edit());
    }

    void aNewTextShowsAtOnceThroughTheOpenDataSet()
    {
        TOrvoDBDisplayData data;
        data.Open();
        TField* field = data.FieldByName(QStringLiteral("DisplayText"));
        QCOMPARE(field->AsString(), QString());
        data.SetDisplayText(QStringLiteral("-3"));
        QCOMPARE(field->AsString(), QStringLiteral("-3"));
        QCOMPARE(data.RecordCount(), 1);
    }

    void aTextLongerThanTheFieldIsReadWhole()
    {
        const QString digits(55, u'7');
        TOrvoDBDisplayData data;
        data.SetDisplayText(digits);
        data.Open();
        QCOMPARE(data.FieldByName(QStringLiteral("DisplayText"))->AsString(), digits);
    }
};

QTEST_GUILESS_MAIN(TDisplayDataTest)
#include "tst_displaydata.moc"
