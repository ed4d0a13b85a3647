#include "common/errorof.h"
#include "common/texceptionhandlerscope.h"
#include "platform/core/exceptions.h"
#include "platform/core/texceptionhandler.h"
#include "platform/core/tformatsettings.h"
#include "platform/data/tbcdfield.h"
#include "platform/data/tblobfield.h"
#include "platform/data/tblobstream.h"
#include "platform/data/tbooleanfield.h"
#include "platform/data/tcurrencyfield.h"
#include "platform/data/tdataset.h"
#include "platform/data/tdatefield.h"
#include "platform/data/tdatetimefield.h"
#include "platform/data/tfieldfactory.h"
#include "platform/data/tfloatfield.h"
#include "platform/data/tgraphicfield.h"
#include "platform/data/tintegerfield.h"
#include "platform/data/tlargeintfield.h"
#include "platform/data/tmemofield.h"
#include "platform/data/tsmallintfield.h"
#include "platform/data/tstringfield.h"
#include "platform/data/ttimefield.h"
#include "platform/data/twordfield.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

#include <map>
#include <memory>

using namespace orvo;

namespace {

/// One record held in a map, enough to exercise fields without a cursor: values are
/// stored as the fields hand them over, and the state is whatever the test sets.
class TOneRecordDataSet : public TDataSet
{
public:
    std::map<const TField*, TVariant> Values;

    bool GetFieldData(const TField* field, TVariant& value) override
    {
        const auto it = Values.find(field);
        value = it == Values.end() ? TVariant::Null() : it->second;
        return !value.IsClear();
    }
    void SetFieldData(TField* field, const TVariant& value) override
    {
        Values[field] = value;
        field->Change();
    }
    bool IsCursorOpen() const override { return false; }
    void EnterState(TDataSetState state) { SetState(state); }

protected:
    void InternalOpen() override {}
    void InternalClose() override {}
    void InternalInitFieldDefs() override {}
    TGetResult GetRecord(TRecordBuffer&, TGetMode, bool) override { return grEOF; }
    void InternalFirst() override {}
    void InternalLast() override {}
    void InternalGotoBookmark(const QByteArray&) override {}
    bool GetCanModify() const override { return true; }
};

template <typename F> F* AddField(TOneRecordDataSet& dataSet, const QString& name = QStringLiteral("F"))
{
    auto* field = new F(&dataSet);
    field->SetFieldName(name);
    field->SetDataSet(&dataSet);
    return field;
}

TField* NewFieldOfType(TOneRecordDataSet& dataSet, TFieldType type)
{
    TField* field = CreateField(type, &dataSet, QStringLiteral("F"));
    field->SetDataSet(&dataSet);
    return field;
}

TDateTime Date(int y, int m, int d)
{
    return TDateTime::EncodeDate(y, m, d);
}

TDateTime At(int y, int mo, int d, int h, int mi, int s)
{
    return TDateTime(Date(y, mo, d).Value() + TDateTime::EncodeTime(h, mi, s, 0).Value());
}

} // namespace

class TstFields : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TFormatSettings::SetDefault(TFormatSettings::Invariant()); }

    void numbersFromText_data();
    void numbersFromText();
    void typedReadsOfBadValues();
    void numericTexts_data();
    void numericTexts();
    void dateTimeTexts();
    void dateFieldsKeepTheirPart();
    void textHandlers();
    void stringCutToSizeOnRead();
    void booleanDisplayValues_data();
    void booleanDisplayValues();
    void blobStreamRoundTrip();
    void blobStreamRefusesWritesOutsideEditing();
    void blobTextsAndFiles();
    void validCharacters_data();
    void validCharacters();
    void typeFamilies_data();
    void typeFamilies();
    void factoryClassPerType_data();
    void factoryClassPerType();
    void factoryRejectsUnsupportedTypes();
    void modifyRulesAndValidation();
    void presentationDefaults();
};

// --- Conversions ------------------------------------------------------------------------------

void TstFields::numbersFromText_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored"); // the stored value as text, or "" for Null
    QTest::addColumn<QString>("error");

    const QString smallRange = QStringLiteral("is not a valid value for field 'F'. The allowed range is ");
    QTest::newRow("smallint") << int(ftSmallint) << " 123 "
                              << "123"
                              << "";
    QTest::newRow("smallint over") << int(ftSmallint) << "70000"
                                   << ""
                                   << "70000 " + smallRange + "-32768 to 32767";
    QTest::newRow("smallint under") << int(ftSmallint) << "-32769"
                                    << ""
                                    << "-32769 " + smallRange + "-32768 to 32767";
    QTest::newRow("word negative") << int(ftWord) << "-1"
                                   << ""
                                   << "-1 " + smallRange + "0 to 65535";
    QTest::newRow("word top") << int(ftWord) << "65535"
                              << "65535"
                              << "";
    QTest::newRow("integer bad") << int(ftInteger) << "abc"
                                 << ""
                                 << "'abc' is not a valid integer value";
    QTest::newRow("integer fraction") << int(ftInteger) << "1.5"
                                      << ""
                                      << "'1.5' is not a valid integer value";
    QTest::newRow("integer overflow") << int(ftInteger) << "3000000000"
                                      << ""
                                      << "3000000000 " + smallRange;
    QTest::newRow("integer empty is null") << int(ftInteger) << "  "
                                           << ""
                                           << "";
    QTest::newRow("largeint") << int(ftLargeint) << "9000000000000"
                              << "9000000000000"
                              << "";
    QTest::newRow("float") << int(ftFloat) << "-1.25E2"
                           << "-125"
                           << "";
    QTest::newRow("float bad") << int(ftFloat) << "1,5"
                               << ""
                               << "'1,5' is not a valid floating point value";
    QTest::newRow("bcd rounds to size") << int(ftBCD) << "2.71828"
                                        << "2.7183"
                                        << "";
    QTest::newRow("date") << int(ftDate) << "3/5/2024"
                          << "3/5/2024"
                          << "";
    QTest::newRow("date bad") << int(ftDate) << "13/45/2024"
                              << ""
                              << "'13/45/2024' is not a valid date";
    QTest::newRow("time bad") << int(ftTime) << "25:99"
                              << ""
                              << "'25:99' is not a valid time";
}

void TstFields::numbersFromText()
{
    QFETCH(int, type);
    QFETCH(QString, text);
    QFETCH(QString, stored);
    QFETCH(QString, error);

    TOneRecordDataSet dataSet;
    TField* field = NewFieldOfType(dataSet, TFieldType(type));
    const QString message = test::ErrorOf<EConvertError>([&] { field->SetAsString(text); });
    QVERIFY2(error.isEmpty() ? message.isEmpty() : message.startsWith(error), qPrintable(message));
    if (!error.isEmpty()) {
        QVERIFY(!message.isEmpty());
        QVERIFY(field->IsNull()); // nothing was stored
        return;
    }
    QCOMPARE(field->AsString(), stored);
    QCOMPARE(field->IsNull(), stored.isEmpty());
}

void TstFields::typedReadsOfBadValues()
{
    TOneRecordDataSet dataSet;
    auto* text = AddField<TStringField>(dataSet);
    auto* number = AddField<TIntegerField>(dataSet, QStringLiteral("N"));

    // Null reads as the type's zero.
    QCOMPARE(text->AsInteger(), 0);
    QCOMPARE(text->AsFloat(), 0.0);
    QCOMPARE(text->AsBoolean(), false);
    QCOMPARE(text->AsString(), QString());

    text->SetAsString(QStringLiteral("abc"));
    QCOMPARE(test::ErrorOf<EConvertError>([&] { text->AsInteger(); }),
             QStringLiteral("'abc' is not a valid integer value"));
    QCOMPARE(test::ErrorOf<EConvertError>([&] { text->AsFloat(); }),
             QStringLiteral("'abc' is not a valid floating point value"));
    QCOMPARE(test::ErrorOf<EConvertError>([&] { text->AsDateTime(); }),
             QStringLiteral("'abc' is not a valid date and time"));
    text->SetAsString(QStringLiteral("42"));
    QCOMPARE(text->AsInteger(), 42);

    number->SetAsFloat(2.5); // rounds half away from zero
    QCOMPARE(number->AsLargeInt(), 3);
    number->SetMinValue(1);
    number->SetMaxValue(10);
    QVERIFY(
        test::ErrorOf<EConvertError>([&] { number->SetAsInteger(11); }).contains(QStringLiteral("1 to 10")));
    QCOMPARE(number->AsInteger(), 3);
    QCOMPARE(test::ErrorOf<EConvertError>([&] { number->SetAsBytes(QByteArray("\x01", 1)); }),
             QStringLiteral("Cannot access field 'N' as type Integer"));
}

// --- Texts ------------------------------------------------------------------------------------

void TstFields::numericTexts_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("displayFormat");
    QTest::addColumn<QString>("editFormat");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("edit");

    QTest::newRow("integer plain") << int(ftInteger) << 1234.0 << ""
                                   << ""
                                   << "1234"
                                   << "1234";
    QTest::newRow("edit falls back to display format") << int(ftInteger) << 1234.0 << "#,##0"
                                                       << ""
                                                       << "1,234"
                                                       << "1,234";
    QTest::newRow("integer edit format") << int(ftInteger) << 1234.0 << "#,##0"
                                         << "0"
                                         << "1,234"
                                         << "1234";
    QTest::newRow("float general") << int(ftFloat) << 0.1 << ""
                                   << ""
                                   << "0.1"
                                   << "0.1";
    QTest::newRow("float sections") << int(ftFloat) << -3.0 << "0.00;(0.00)"
                                    << ""
                                    << "(3.00)"
                                    << "(3.00)";
    QTest::newRow("currency") << int(ftCurrency) << 1234.5 << ""
                              << ""
                              << "$1,234.50"
                              << "1234.50";
    QTest::newRow("currency negative") << int(ftCurrency) << -2.0 << ""
                                       << ""
                                       << "($2.00)"
                                       << "-2.00";
    QTest::newRow("bcd") << int(ftBCD) << 12.5 << ""
                         << ""
                         << "12.5"
                         << "12.5";
    QTest::newRow("bcd formatted") << int(ftBCD) << 12.5 << "0.000"
                                   << ""
                                   << "12.500"
                                   << "12.500";
}

void TstFields::numericTexts()
{
    QFETCH(int, type);
    QFETCH(double, value);
    QFETCH(QString, displayFormat);
    QFETCH(QString, editFormat);
    QFETCH(QString, display);
    QFETCH(QString, edit);

    TOneRecordDataSet dataSet;
    auto* field = static_cast<TNumericField*>(NewFieldOfType(dataSet, TFieldType(type)));
    field->SetDisplayFormat(displayFormat);
    field->SetEditFormat(editFormat);
    QCOMPARE(field->DisplayText(), QString());
    field->SetAsFloat(value);
    QCOMPARE(field->DisplayText(), display);
    QCOMPARE(field->EditText(), edit);
    // What the editor shows parses back to the same value (unless a format made it decorative).
    if (editFormat == QLatin1String("0") || (displayFormat.isEmpty() && type != ftCurrency)) {
        field->SetEditText(edit);
        QCOMPARE(field->AsFloat(), value);
    }
}

void TstFields::dateTimeTexts()
{
    TOneRecordDataSet dataSet;
    auto* stamp = AddField<TDateTimeField>(dataSet, QStringLiteral("Stamp"));
    auto* day = AddField<TDateField>(dataSet, QStringLiteral("Day"));
    auto* time = AddField<TTimeField>(dataSet, QStringLiteral("Time"));

    stamp->SetAsDateTime(Date(2024, 3, 5));
    QCOMPARE(stamp->DisplayText(), QStringLiteral("3/5/2024")); // midnight leaves the time out
    stamp->SetAsDateTime(At(2024, 3, 5, 13, 2, 3));
    QCOMPARE(stamp->DisplayText(), QStringLiteral("3/5/2024 1:02:03 PM"));
    stamp->SetDisplayFormat(QStringLiteral("yyyy-mm-dd hh:nn"));
    QCOMPARE(stamp->DisplayText(), QStringLiteral("2024-03-05 13:02"));
    // The edit text ignores the display format, so that it always parses back.
    QCOMPARE(stamp->EditText(), QStringLiteral("3/5/2024 1:02:03 PM"));
    stamp->SetEditText(stamp->EditText());
    QCOMPARE(stamp->AsDateTime(), At(2024, 3, 5, 13, 2, 3));

    day->SetAsString(QStringLiteral("12/31/1999"));
    QCOMPARE(day->DisplayText(), QStringLiteral("12/31/1999"));
    time->SetAsString(QStringLiteral("7:05 PM"));
    QCOMPARE(time->DisplayText(), QStringLiteral("7:05:00 PM"));
    QCOMPARE(time->AsString(), QStringLiteral("7:05:00 PM"));
}

void TstFields::dateFieldsKeepTheirPart()
{
    TOneRecordDataSet dataSet;
    auto* day = AddField<TDateField>(dataSet, QStringLiteral("Day"));
    auto* time = AddField<TTimeField>(dataSet, QStringLiteral("Time"));
    const TDateTime moment = At(2024, 3, 5, 6, 30, 0);
    day->SetAsDateTime(moment);
    time->SetAsDateTime(moment);
    QCOMPARE(day->AsDateTime(), Date(2024, 3, 5));
    QCOMPARE(time->AsDateTime().ToQTime(), QTime(6, 30));
    QVERIFY(time->AsDateTime().Value() < 1.0);
}

void TstFields::textHandlers()
{
    TOneRecordDataSet dataSet;
    auto* field = AddField<TIntegerField>(dataSet);
    field->SetAsInteger(7);
    QVERIFY(!field->HasGetTextHandler());
    QVERIFY(!field->HasSetTextHandler());

    field->OnGetText = [](TField* sender, QString& text, bool displayText) {
        text = (displayText ? QStringLiteral("show ") : QStringLiteral("edit ")) + sender->AsString();
    };
    QVERIFY(field->HasGetTextHandler());
    QCOMPARE(field->DisplayText(), QStringLiteral("show 7"));
    QCOMPARE(field->EditText(), QStringLiteral("edit 7"));

    field->OnSetText = [](TField* sender, const QString& text) { sender->SetAsInteger(int(text.size())); };
    field->SetEditText(QStringLiteral("abcd"));
    QCOMPARE(field->AsInteger(), 4);
}

void TstFields::stringCutToSizeOnRead()
{
    TOneRecordDataSet dataSet;
    auto* field = AddField<TStringField>(dataSet);
    QCOMPARE(field->Size(), 20);
    field->SetSize(5);
    field->SetAsString(QStringLiteral("abcdefgh"));
    QCOMPARE(dataSet.Values[field].AsString(), QStringLiteral("abcdefgh")); // the buffer keeps what it got
    QCOMPARE(field->AsString(), QStringLiteral("abcde"));
    QCOMPARE(field->DisplayText(), QStringLiteral("abcde"));
    field->SetSize(0); // no declared length: nothing to cut
    QCOMPARE(field->AsString(), QStringLiteral("abcdefgh"));
}

void TstFields::booleanDisplayValues_data()
{
    QTest::addColumn<QString>("displayValues");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected"); // "true", "false", "null" or "error"

    QTest::newRow("default true") << ""
                                  << "True"
                                  << "true";
    QTest::newRow("default abbreviation") << ""
                                          << "f"
                                          << "false";
    QTest::newRow("yes") << "Yes;No"
                         << "YES"
                         << "true";
    QTest::newRow("abbreviated no") << "Yes;No"
                                    << "n"
                                    << "false";
    QTest::newRow("plain word under other values") << "Yes;No"
                                                   << "false"
                                                   << "false";
    QTest::newRow("empty clears") << "Yes;No"
                                  << ""
                                  << "null";
    QTest::newRow("bad") << "Yes;No"
                         << "maybe"
                         << "error";
}

void TstFields::booleanDisplayValues()
{
    QFETCH(QString, displayValues);
    QFETCH(QString, text);
    QFETCH(QString, expected);

    TOneRecordDataSet dataSet;
    auto* field = AddField<TBooleanField>(dataSet);
    field->SetDisplayValues(displayValues);
    field->SetAsBoolean(true);
    const QString error = test::ErrorOf<EConvertError>([&] { field->SetAsString(text); });
    if (expected == QLatin1String("error")) {
        QCOMPARE(error, QStringLiteral("'maybe' is not a valid boolean value for field 'F'"));
        QCOMPARE(field->AsBoolean(), true);
        return;
    }
    QVERIFY2(error.isEmpty(), qPrintable(error));
    if (expected == QLatin1String("null")) {
        QVERIFY(field->IsNull());
        QCOMPARE(field->DisplayText(), QString());
        return;
    }
    QCOMPARE(field->AsBoolean(), expected == QLatin1String("true"));
    const QStringList texts =
        displayValues.isEmpty() ? QStringList{"True", "False"} : displayValues.split(';');
    QCOMPARE(field->DisplayText(), texts[field->AsBoolean() ? 0 : 1]);
    QCOMPARE(field->AsString(), field->DisplayText());
}

// --- Blobs ------------------------------------------------------------------------------------

void TstFields::blobStreamRoundTrip()
{
    TOneRecordDataSet dataSet;
    auto* blob = AddField<TBlobField>(dataSet);
    auto* memo = AddField<TMemoField>(dataSet, QStringLiteral("M"));
    dataSet.EnterState(dsEdit);
    const QByteArray payload("\x00\x01\x02zz\xff", 6);

    {
        TBlobStream writer(blob, QIODevice::WriteOnly);
        QCOMPARE(writer.write(payload.left(3)), 3);
        QCOMPARE(writer.write(payload.mid(3)), 3);
        QVERIFY(blob->IsNull()); // nothing lands before close
        writer.close();
    }
    QCOMPARE(blob->AsBytes(), payload);
    QCOMPARE(blob->BlobSize(), 6);

    {
        TBlobStream appender(blob, QIODevice::Append);
        appender.write("!");
    } // the destructor stores what close() was not called for
    QCOMPARE(blob->AsBytes(), payload + "!");

    {
        TBlobStream editor(blob, QIODevice::ReadWrite);
        QVERIFY(editor.seek(1));
        editor.write("AB");
        editor.close();
    }
    QCOMPARE(blob->AsBytes(), QByteArray("\x00"
                                         "AB"
                                         "zz\xff!",
                                         7));

    dataSet.EnterState(dsBrowse);
    TBlobStream reader(blob, QIODevice::ReadOnly);
    QCOMPARE(reader.size(), 7);
    QCOMPARE(reader.read(2), QByteArray("\x00"
                                        "A",
                                        2));
    QVERIFY(reader.seek(5));
    QCOMPARE(reader.readAll(), QByteArray("\xff!"));

    // A memo's stream carries its text as UTF-8.
    dataSet.EnterState(dsEdit);
    {
        TBlobStream writer(memo, QIODevice::WriteOnly);
        writer.write(QStringLiteral("grüße").toUtf8());
    }
    QCOMPARE(memo->AsString(), QStringLiteral("grüße"));
}

void TstFields::blobStreamRefusesWritesOutsideEditing()
{
    TOneRecordDataSet dataSet;
    auto* blob = AddField<TBlobField>(dataSet);
    dataSet.EnterState(dsBrowse);
    QCOMPARE(test::ErrorOf<EDatabaseError>([&] { TBlobStream(blob, QIODevice::WriteOnly); }),
             QStringLiteral("Dataset not in edit or insert mode"));
    dataSet.EnterState(dsEdit);
    blob->SetReadOnly(true);
    QCOMPARE(test::ErrorOf<EDatabaseError>([&] { TBlobStream(blob, QIODevice::WriteOnly); }),
             QStringLiteral("Field 'F' cannot be modified"));

    // A store that fails when the stream is destroyed reaches the exception handler, not the void.
    blob->SetReadOnly(false);
    QStringList reported;
    {
        const test::TExceptionHandlerScope handler(test::TExceptionHandlerScope::Recording(reported));
        TBlobStream writer(blob, QIODevice::WriteOnly);
        writer.write("x");
        blob->SetReadOnly(true);
    }
    QCOMPARE(reported, QStringList{QStringLiteral("Field 'F' cannot be modified")});
}

void TstFields::blobTextsAndFiles()
{
    TOneRecordDataSet dataSet;
    auto* memo = AddField<TMemoField>(dataSet, QStringLiteral("M"));
    auto* graphic = AddField<TGraphicField>(dataSet, QStringLiteral("G"));
    auto* blob = AddField<TBlobField>(dataSet, QStringLiteral("B"));
    QCOMPARE(memo->DisplayText(), QStringLiteral("(memo)"));
    QCOMPARE(graphic->DisplayText(), QStringLiteral("(graphic)"));
    QCOMPARE(blob->EditText(), QStringLiteral("(blob)"));
    memo->SetAsString(QStringLiteral("text"));
    graphic->SetAsBytes(QByteArray("\x89PNG"));
    QCOMPARE(memo->DisplayText(), QStringLiteral("(MEMO)"));
    QCOMPARE(memo->AsString(), QStringLiteral("text"));
    QCOMPARE(graphic->DisplayText(), QStringLiteral("(GRAPHIC)"));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("picture.bin"));
    graphic->SaveToFile(path);
    blob->LoadFromFile(path);
    QCOMPARE(blob->AsBytes(), QByteArray("\x89PNG"));
    QVERIFY(test::ErrorOf<EStreamError>([&] {
                blob->LoadFromFile(dir.filePath(QStringLiteral("missing")));
            }).startsWith(QStringLiteral("Cannot open file")));

    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    memo->SaveToStream(&buffer);
    buffer.seek(0);
    blob->LoadFromStream(&buffer);
    QCOMPARE(blob->AsBytes(), QByteArray("text"));
}

// --- Characters, classes, rules -----------------------------------------------------------------

void TstFields::validCharacters_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("accepted");
    QTest::addColumn<QString>("refused");

    QTest::newRow("integer") << int(ftInteger) << "0123456789+-"
                             << ".eE ,a";
    QTest::newRow("float") << int(ftFloat) << "09+-.eE"
                           << ",x $";
    QTest::newRow("bcd") << int(ftBCD) << "09+-."
                         << "eEx";
    QTest::newRow("string") << int(ftString) << "aZ 9.,;ä"
                            << "";
    QTest::newRow("date") << int(ftDate) << "09/:.- APM"
                          << "xqz#";
}

void TstFields::validCharacters()
{
    QFETCH(int, type);
    QFETCH(QString, accepted);
    QFETCH(QString, refused);

    TOneRecordDataSet dataSet;
    TField* field = NewFieldOfType(dataSet, TFieldType(type));
    for (QChar ch : accepted)
        QVERIFY2(field->IsValidChar(ch), qPrintable(QString(ch)));
    for (QChar ch : refused)
        QVERIFY2(!field->IsValidChar(ch), qPrintable(QString(ch)));
}

// Each family check exists once here; the grid's filter and column code rely on these sets.
void TstFields::typeFamilies_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("families"); // s string, n numeric, d decimal, t date-time, m memo, b blob
    QTest::newRow("Unknown") << int(ftUnknown) << QString();
    QTest::newRow("String") << int(ftString) << QStringLiteral("s");
    QTest::newRow("Guid") << int(ftGuid) << QStringLiteral("s");
    QTest::newRow("Boolean") << int(ftBoolean) << QString();
    QTest::newRow("AutoInc") << int(ftAutoInc) << QStringLiteral("n");
    QTest::newRow("Largeint") << int(ftLargeint) << QStringLiteral("n");
    QTest::newRow("Float") << int(ftFloat) << QStringLiteral("nd");
    QTest::newRow("Currency") << int(ftCurrency) << QStringLiteral("nd");
    QTest::newRow("FMTBcd") << int(ftFMTBcd) << QStringLiteral("nd");
    QTest::newRow("Date") << int(ftDate) << QStringLiteral("t");
    QTest::newRow("TimeStamp") << int(ftTimeStamp) << QStringLiteral("t");
    QTest::newRow("Memo") << int(ftMemo) << QStringLiteral("mb");
    QTest::newRow("FmtMemo") << int(ftFmtMemo) << QStringLiteral("mb");
    QTest::newRow("OraClob") << int(ftOraClob) << QStringLiteral("b");
    QTest::newRow("Blob") << int(ftBlob) << QStringLiteral("b");
}

void TstFields::typeFamilies()
{
    QFETCH(int, type);
    QFETCH(QString, families);
    const auto fieldType = TFieldType(type);
    QCOMPARE(IsStringFieldType(fieldType), families.contains(u's'));
    QCOMPARE(IsNumericFieldType(fieldType), families.contains(u'n'));
    QCOMPARE(IsDecimalFieldType(fieldType), families.contains(u'd'));
    QCOMPARE(IsDateTimeFieldType(fieldType), families.contains(u't'));
    QCOMPARE(IsMemoFieldType(fieldType), families.contains(u'm'));
    QCOMPARE(IsBlobFieldType(fieldType), families.contains(u'b'));
}

void TstFields::factoryClassPerType_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("className");

    QTest::newRow("string") << int(ftString) << "orvo::TStringField";
    QTest::newRow("fixed char") << int(ftFixedChar) << "orvo::TStringField";
    QTest::newRow("guid") << int(ftGuid) << "orvo::TStringField";
    QTest::newRow("wide string") << int(ftWideString) << "orvo::TWideStringField";
    QTest::newRow("smallint") << int(ftSmallint) << "orvo::TSmallintField";
    QTest::newRow("word") << int(ftWord) << "orvo::TWordField";
    QTest::newRow("autoinc") << int(ftAutoInc) << "orvo::TAutoIncField";
    QTest::newRow("largeint") << int(ftLargeint) << "orvo::TLargeintField";
    QTest::newRow("currency") << int(ftCurrency) << "orvo::TCurrencyField";
    QTest::newRow("fmtbcd") << int(ftFMTBcd) << "orvo::TBCDField";
    QTest::newRow("timestamp") << int(ftTimeStamp) << "orvo::TDateTimeField";
    QTest::newRow("var bytes") << int(ftVarBytes) << "orvo::TBlobField";
    QTest::newRow("fmt memo") << int(ftFmtMemo) << "orvo::TMemoField";
    QTest::newRow("graphic") << int(ftGraphic) << "orvo::TGraphicField";
}

void TstFields::factoryClassPerType()
{
    QFETCH(int, type);
    QFETCH(QString, className);

    QObject owner;
    TField* field = CreateField(TFieldType(type), &owner, QStringLiteral("Col"));
    QCOMPARE(QString::fromLatin1(field->metaObject()->className()), className);
    QCOMPARE(DefaultFieldClass(TFieldType(type)), field->metaObject());
    QCOMPARE(int(field->DataType()), type);
    QCOMPARE(field->FieldName(), QStringLiteral("Col"));
    QCOMPARE(field->parent(), &owner);
    if (type == ftFixedChar)
        QVERIFY(static_cast<TStringField*>(field)->FixedChar());
    if (type == ftGuid)
        QCOMPARE(field->Size(), 38);
    if (type == ftCurrency)
        QVERIFY(static_cast<TFloatField*>(field)->Currency());
}

void TstFields::factoryRejectsUnsupportedTypes()
{
    QObject owner;
    QCOMPARE(test::ErrorOf<EDatabaseError>([&] { CreateField(ftADT, &owner, QStringLiteral("Address")); }),
             QStringLiteral("Unsupported field type (ADT) in field Address"));
    QCOMPARE(test::ErrorOf<EDatabaseError>([&] { DefaultFieldClass(ftCursor, QStringLiteral("C")); }),
             QStringLiteral("Unsupported field type (Cursor) in field C"));
    QCOMPARE(test::ErrorOf<EDatabaseError>([&] { CreateField(ftUnknown, &owner, QStringLiteral("X")); }),
             QStringLiteral("Field 'X' is of an unknown type"));
    QVERIFY(owner.children().isEmpty());
}

void TstFields::modifyRulesAndValidation()
{
    TOneRecordDataSet dataSet;
    auto* field = AddField<TStringField>(dataSet, QStringLiteral("Name"));
    auto* calculated = AddField<TStringField>(dataSet, QStringLiteral("Calc"));
    calculated->SetFieldKind(fkCalculated);

    field->SetReadOnly(true);
    QCOMPARE(test::ErrorOf<EDatabaseError>([&] { field->SetAsString(QStringLiteral("x")); }),
             QStringLiteral("Field 'Name' cannot be modified"));
    field->SetReadOnly(false);

    QVERIFY(!calculated->CanModify());
    dataSet.EnterState(dsCalcFields);
    QVERIFY(calculated->CanModify());
    QVERIFY(!field->CanModify()); // a calculation pass writes no data fields
    calculated->SetAsString(QStringLiteral("sum"));
    dataSet.EnterState(dsEdit);

    // The handler sees the incoming value and may refuse it; the old value stays then.
    QStringList seen;
    int changes = 0;
    field->OnValidate = [&](TField* sender) {
        seen << sender->AsString();
        if (sender->AsString() == QLatin1String("bad"))
            throw EDatabaseError(QStringLiteral("refused"));
    };
    field->OnChange = [&](TField*) { ++changes; };
    field->SetAsString(QStringLiteral("good"));
    QCOMPARE(test::ErrorOf<EDatabaseError>([&] { field->SetAsString(QStringLiteral("bad")); }),
             QStringLiteral("refused"));
    QCOMPARE(seen, (QStringList{QStringLiteral("good"), QStringLiteral("bad")}));
    QCOMPARE(field->AsString(), QStringLiteral("good"));
    QCOMPARE(changes, 1);

    TStringField lookup;
    lookup.SetFieldName(QStringLiteral("L"));
    lookup.SetFieldKind(fkLookup);
    lookup.SetKeyFields(QStringLiteral("Name"));
    QCOMPARE(test::ErrorOf<EDatabaseError>([&] { lookup.Bind(true); }),
             QStringLiteral("Lookup information for field 'L' is incomplete"));
    QCOMPARE(test::ErrorOf<EDatabaseError>([&] { lookup.SetLookupDataSet(&dataSet); }), QString());

    TStringField loose;
    QCOMPARE(test::ErrorOf<EDatabaseError>([&] { loose.AsString(); }),
             QStringLiteral("Field '' has no dataset"));
    QCOMPARE(test::ErrorOf<EDatabaseError>([&] { calculated->SetFieldName(QStringLiteral("name")); }),
             QStringLiteral("Duplicate field name 'name'"));
}

void TstFields::presentationDefaults()
{
    TOneRecordDataSet dataSet;
    auto* text = AddField<TStringField>(dataSet, QStringLiteral("Title"));
    auto* small = AddField<TSmallintField>(dataSet, QStringLiteral("S"));
    auto* money = AddField<TCurrencyField>(dataSet, QStringLiteral("M"));
    auto* flag = AddField<TBooleanField>(dataSet, QStringLiteral("B"));

    QCOMPARE(text->DisplayWidth(), 20);
    QCOMPARE(small->DisplayWidth(), 6);
    QCOMPARE(money->DisplayWidth(), 10);
    QCOMPARE(flag->DisplayWidth(), 5);
    flag->SetDisplayValues(QStringLiteral("Ja;Nein"));
    QCOMPARE(flag->DisplayWidth(), 4);
    text->SetDisplayWidth(33);
    QCOMPARE(text->DisplayWidth(), 33);

    QCOMPARE(text->Alignment(), taLeftJustify);
    QCOMPARE(small->Alignment(), taRightJustify);
    QCOMPARE(money->Alignment(), taRightJustify);

    QCOMPARE(text->DisplayName(), QStringLiteral("Title"));
    text->SetDisplayLabel(QStringLiteral("Book title"));
    QCOMPARE(text->DisplayName(), QStringLiteral("Book title"));
    QCOMPARE(text->DisplayLabel(), QStringLiteral("Book title"));
    QCOMPARE(text->property("DisplayLabel").toString(), QStringLiteral("Book title"));
    QCOMPARE(small->Index(), 1);
}

QTEST_GUILESS_MAIN(TstFields)
#include "tst_fields.moc"
