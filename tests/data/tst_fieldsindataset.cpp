#include "tmemorytestdataset.h"

#include "common/errorof.h"
#include "platform/core/exceptions.h"
#include "platform/core/tformatsettings.h"
#include "platform/data/tblobstream.h"
#include "platform/data/tfields.h"
#include "platform/data/tintegerfield.h"
#include "platform/data/tmemofield.h"
#include "platform/data/tstringfield.h"

#include <QtTest>

#include <memory>

using namespace orvo;

namespace {

/// Two rows of (Id integer, Name string(8), Notes memo).
std::unique_ptr<TMemoryTestDataSet> MakePeople()
{
    auto dataSet = std::make_unique<TMemoryTestDataSet>();
    dataSet->AddColumn(QStringLiteral("Id"), ftInteger);
    dataSet->AddColumn(QStringLiteral("Name"), ftString, 8);
    dataSet->AddColumn(QStringLiteral("Notes"), ftMemo);
    dataSet->AddRow({TVariant(qint64(1)), TVariant(QStringLiteral("Ada")), TVariant::Null()});
    dataSet->AddRow({TVariant(qint64(2)), TVariant(QStringLiteral("Grace")), TVariant(QStringLiteral("x"))});
    return dataSet;
}

} // namespace

/// Fields on an open dataset: the contract between the two, end to end.
class TstFieldsInDataSet : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TFormatSettings::SetDefault(TFormatSettings::Invariant()); }

    void defaultFieldsFollowTheDefinitions()
    {
        auto dataSet = MakePeople();
        dataSet->Open();
        TField* id = dataSet->FieldByName(QStringLiteral("Id"));
        TField* name = dataSet->FieldByName(QStringLiteral("Name"));
        QVERIFY(qobject_cast<TIntegerField*>(id));
        QVERIFY(qobject_cast<TStringField*>(name));
        QCOMPARE(name->Size(), 8);
        QCOMPARE(id->FieldNo(), 1);
        QCOMPARE(name->Index(), 1);
        QCOMPARE(id->AsInteger(), 1);
        QCOMPARE(name->DisplayText(), QStringLiteral("Ada"));
        QCOMPARE(dataSet->FieldByName(QStringLiteral("Notes"))->DisplayText(), QStringLiteral("(memo)"));
        dataSet->Next();
        QCOMPARE(dataSet->FieldByName(QStringLiteral("Notes"))->DisplayText(), QStringLiteral("(MEMO)"));
    }

    void editingThroughFields()
    {
        auto dataSet = MakePeople();
        dataSet->Open();
        TField* name = dataSet->FieldByName(QStringLiteral("Name"));
        TField* id = dataSet->FieldByName(QStringLiteral("Id"));

        QCOMPARE(test::ErrorOf<EDatabaseError>([&] { name->SetAsString(QStringLiteral("Bob")); }),
                 QStringLiteral("Dataset not in edit or insert mode"));

        int changes = 0;
        name->OnChange = [&](TField*) { ++changes; };
        dataSet->Edit();
        name->SetEditText(QStringLiteral("Bob"));
        QCOMPARE(test::ErrorOf<EConvertError>([&] { id->SetAsString(QStringLiteral("x1")); }),
                 QStringLiteral("'x1' is not a valid integer value"));
        QCOMPARE(name->AsString(), QStringLiteral("Bob"));
        QCOMPARE(name->OldValue().AsString(), QStringLiteral("Ada"));
        QCOMPARE(changes, 1);
        QVERIFY(dataSet->Modified());
        dataSet->Post();
        QCOMPARE(dataSet->Rows()[0][1].AsString(), QStringLiteral("Bob"));

        dataSet->Edit();
        name->Clear();
        QVERIFY(name->IsNull());
        dataSet->Cancel();
        QCOMPARE(name->AsString(), QStringLiteral("Bob"));

        dataSet->Edit();
        {
            TBlobStream notes(qobject_cast<TBlobField*>(dataSet->FieldByName(QStringLiteral("Notes"))),
                              QIODevice::WriteOnly);
            notes.write("written");
        }
        dataSet->Post();
        QCOMPARE(dataSet->Rows()[0][2].AsString(), QStringLiteral("written"));

        dataSet->SetReadOnly(true);
        QVERIFY(!name->CanModify());
    }

    void calculatedFieldsAreWrittenOnlyByTheCalculation()
    {
        auto dataSet = MakePeople();
        auto* greeting = new TStringField(dataSet.get());
        greeting->SetFieldName(QStringLiteral("Greeting"));
        greeting->SetFieldKind(fkCalculated);
        // Persistent fields replace the default ones, so the data fields must be declared too.
        auto* id = new TIntegerField(dataSet.get());
        id->SetFieldName(QStringLiteral("Id"));
        auto* name = new TStringField(dataSet.get());
        name->SetFieldName(QStringLiteral("Name"));
        for (TField* field :
             {static_cast<TField*>(id), static_cast<TField*>(name), static_cast<TField*>(greeting)})
            field->SetDataSet(dataSet.get());
        dataSet->OnCalcFields = [&](TDataSet*) {
            greeting->SetAsString(QStringLiteral("Hi ") + name->AsString());
        };

        dataSet->Open();
        QCOMPARE(greeting->AsString(), QStringLiteral("Hi Ada"));
        QVERIFY(!greeting->CanModify());
        dataSet->Edit();
        QCOMPARE(test::ErrorOf<EDatabaseError>([&] { greeting->SetAsString(QStringLiteral("x")); }),
                 QStringLiteral("Field 'Greeting' cannot be modified"));
        name->SetAsString(QStringLiteral("Lin"));
        QCOMPARE(greeting->AsString(), QStringLiteral("Hi Lin"));
        dataSet->Cancel();

        QCOMPARE(test::ErrorOf<EDatabaseError>([&] { greeting->SetFieldKind(fkData); }),
                 QStringLiteral("Cannot change the kind of field 'Greeting' of an open dataset"));
        dataSet->OnCalcFields = nullptr;
        delete greeting; // leaves the field list at once
        QVERIFY(!dataSet->FindField(QStringLiteral("Greeting")));
        QCOMPARE(dataSet->Fields()->Count(), 2);
    }
};

QTEST_GUILESS_MAIN(TstFieldsInDataSet)
#include "tst_fieldsindataset.moc"
