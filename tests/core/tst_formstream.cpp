#include "common/formroundtrip.h"
#include "platform/core/exceptions.h"
#include "platform/core/tcollection.h"
#include "platform/core/tcolor.h"
#include "platform/core/tformreader.h"
#include "platform/core/tformwriter.h"
#include "platform/core/tset.h"
#include "platform/core/tvariant.h"
#include "platform/graphics/tfont.h"

#include <QTest>

namespace FormTestEnums {
Q_NAMESPACE
enum TShape
{
    shSquare,
    shCircle,
    shTriangle
};
Q_ENUM_NS(TShape)
enum TFeature
{
    ftBorder,
    ftShadow,
    ftGlow
};
Q_ENUM_NS(TFeature)
} // namespace FormTestEnums

using namespace orvo;
using TFeatures = TSet<FormTestEnums::TFeature>;

namespace {

/// An owned settings object whose Caption is stored only when it was given one.
class TCaption : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int Level READ Level WRITE SetLevel)

public:
    using TPersistent::TPersistent;
    QString Caption() const { return FCaption.isEmpty() ? QStringLiteral("computed") : FCaption; }
    void SetCaption(const QString& value) { FCaption = value; }
    int Level() const { return FLevel; }
    void SetLevel(int value) { FLevel = value; }
    Q_INVOKABLE bool IsCaptionStored() const { return !FCaption.isEmpty(); }

private:
    QString FCaption;
    int FLevel = 1;
};

class TPart : public TCollectionItem
{
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(int Size READ Size WRITE SetSize)
    Q_PROPERTY(TCaption* Title READ Title)

public:
    explicit TPart(TCollection* collection = nullptr)
        : TCollectionItem(collection), FTitle(new TCaption(this))
    {}
    QString Name() const { return FName; }
    void SetName(const QString& value) { FName = value; }
    int Size() const { return FSize; }
    void SetSize(int value)
    {
        if (value < 0)
            throw EConvertError(QStringLiteral("A size cannot be negative"));
        FSize = value;
    }
    TCaption* Title() const { return FTitle; }

private:
    QString FName;
    int FSize = 10;
    TCaption* FTitle;
};

class TParts : public TCollection
{
    Q_OBJECT

public:
    using TCollection::TCollection;
    TPart* Part(int index) const { return static_cast<TPart*>(Items(index)); }

protected:
    TCollectionItem* CreateItem() override { return new TPart(); }
};

/// One property of every kind form files hold.
class TSample : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool Active READ Active WRITE SetActive)
    Q_PROPERTY(int Count READ Count WRITE SetCount)
    Q_PROPERTY(qint64 Big READ Big WRITE SetBig)
    Q_PROPERTY(orvo::TColor FrameColor READ FrameColor WRITE SetFrameColor)
    Q_PROPERTY(double Ratio READ Ratio WRITE SetRatio)
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(QChar Separator READ Separator WRITE SetSeparator)
    Q_PROPERTY(FormTestEnums::TShape Shape READ Shape WRITE SetShape)
    Q_PROPERTY(TFeatures Features READ Features WRITE SetFeatures)
    Q_PROPERTY(QStringList Items READ Items WRITE SetItems)
    Q_PROPERTY(orvo::TVariant Value READ Value WRITE SetValue)
    Q_PROPERTY(orvo::TFont Font READ Font WRITE SetFont)
    Q_PROPERTY(QByteArray Data READ Data WRITE SetData)
    Q_PROPERTY(TCaption* Title READ Title)
    Q_PROPERTY(TParts* Parts READ Parts)
    Q_PROPERTY(QObject* Buddy READ Buddy WRITE SetBuddy)
    Q_PROPERTY(int Hidden READ Hidden WRITE SetHidden STORED false)

public:
    Q_INVOKABLE explicit TSample(QObject* parent = nullptr)
        : QObject(parent), FTitle(new TCaption(this)), FParts(new TParts(this))
    {}

#define SAMPLE_PROPERTY(Type, Name, Init)                                                                    \
public:                                                                                                      \
    Type Name() const                                                                                        \
    {                                                                                                        \
        return F##Name;                                                                                      \
    }                                                                                                        \
    void Set##Name(const Type& value)                                                                        \
    {                                                                                                        \
        F##Name = value;                                                                                     \
    }                                                                                                        \
                                                                                                             \
private:                                                                                                     \
    Type F##Name = Init;

    SAMPLE_PROPERTY(bool, Active, false)
    SAMPLE_PROPERTY(int, Count, 0)
    SAMPLE_PROPERTY(qint64, Big, 0)
    SAMPLE_PROPERTY(TColor, FrameColor, clWindow)
    SAMPLE_PROPERTY(double, Ratio, 0.5)
    SAMPLE_PROPERTY(QString, Text, {})
    SAMPLE_PROPERTY(QChar, Separator, QLatin1Char(','))
    SAMPLE_PROPERTY(FormTestEnums::TShape, Shape, FormTestEnums::shSquare)
    SAMPLE_PROPERTY(TFeatures, Features, TFeatures{FormTestEnums::ftBorder})
    SAMPLE_PROPERTY(QStringList, Items, {})
    SAMPLE_PROPERTY(TVariant, Value, {})
    SAMPLE_PROPERTY(TFont, Font, {})
    SAMPLE_PROPERTY(QByteArray, Data, {})
    SAMPLE_PROPERTY(int, Hidden, 0)
#undef SAMPLE_PROPERTY

public:
    TCaption* Title() const
    {
        return FTitle;
    }
    TParts* Parts() const
    {
        return FParts;
    }
    QObject* Buddy() const
    {
        return FBuddy;
    }
    void SetBuddy(QObject* value)
    {
        FBuddy = value;
    }

private:
    TCaption* FTitle;
    TParts* FParts;
    QObject* FBuddy = nullptr;
};

/// A sample with every property away from its default.
void Fill(TSample& sample)
{
    sample.setObjectName(QStringLiteral("Sample1"));
    sample.SetActive(true);
    sample.SetCount(-42);
    sample.SetBig(Q_INT64_C(9000000000));
    sample.SetFrameColor(clRed);
    sample.SetRatio(0.1);
    sample.SetText(QStringLiteral("it's"));
    sample.SetSeparator(QLatin1Char(';'));
    sample.SetShape(FormTestEnums::shTriangle);
    sample.SetFeatures({FormTestEnums::ftShadow, FormTestEnums::ftGlow});
    sample.SetItems({QStringLiteral("a"), QString(), QStringLiteral("c'd")});
    sample.SetValue(TVariant(qint64(7)));
    TFont font(QFont(QStringLiteral("Serif")), clNavy);
    font.SetHeight(-15);
    font.SetStyle({fsBold, fsUnderline});
    sample.SetFont(font);
    sample.SetData(QByteArray("\x00\xff\x10", 3));
    sample.Title()->SetCaption(QStringLiteral("Head"));
    sample.Title()->SetLevel(3);
    auto* part = static_cast<TPart*>(sample.Parts()->Add());
    part->SetName(QStringLiteral("first"));
    part->Title()->SetCaption(QStringLiteral("One"));
    static_cast<TPart*>(sample.Parts()->Add())->SetSize(20);
}

void CompareSamples(const TSample& actual, const TSample& expected)
{
    const QMetaObject& metaObject = TSample::staticMetaObject;
    for (int i = metaObject.propertyOffset(); i < metaObject.propertyCount(); ++i) {
        const QMetaProperty property = metaObject.property(i);
        if (property.metaType().flags().testFlag(QMetaType::PointerToQObject) || !property.isStored())
            continue;
        QVERIFY2(property.read(&actual) == property.read(&expected), property.name());
    }
    QCOMPARE(actual.Title()->Caption(), expected.Title()->Caption());
    QCOMPARE(actual.Title()->Level(), expected.Title()->Level());
    QCOMPARE(actual.Parts()->Count(), expected.Parts()->Count());
    for (int i = 0; i < expected.Parts()->Count(); ++i) {
        QCOMPARE(actual.Parts()->Part(i)->Name(), expected.Parts()->Part(i)->Name());
        QCOMPARE(actual.Parts()->Part(i)->Size(), expected.Parts()->Part(i)->Size());
        QCOMPARE(actual.Parts()->Part(i)->Title()->Caption(), expected.Parts()->Part(i)->Title()->Caption());
    }
}

} // namespace

class TestFormStream : public QObject
{
    Q_OBJECT

private slots:
    void everyKindRoundTrips();
    void writesOnlyWhatDiffersFromAFreshObject();
    void writesTheFormSyntax_data();
    void writesTheFormSyntax();
    void stringsRoundTrip_data();
    void stringsRoundTrip();
    void variantsKeepTheirKind_data();
    void variantsKeepTheirKind();
    void readsClassicSpellings();
    void aFontWithoutSizeKeepsNone();
    void anUnnamedObjectRoundTrips();
    void badInputRaisesWithItsLine_data();
    void badInputRaisesWithItsLine();
    void aBadItemLeavesTheCollectionAsItWas();
};

void TestFormStream::everyKindRoundTrips()
{
    TSample original;
    Fill(original);
    TSample copy;
    test::ReadForm(test::WriteForm(original), copy);
    QCOMPARE(copy.objectName(), QStringLiteral("Sample1"));
    CompareSamples(copy, original);
    QCOMPARE(copy.Font().Height(), -15);
    QCOMPARE(copy.Font().Style(), (TFontStyles{fsBold, fsUnderline}));
}

// Without a GUI application a font has no size until one is given: writing must not make
// one up, or each save and load would turn it into another.
void TestFormStream::aFontWithoutSizeKeepsNone()
{
    TSample sample;
    test::ReadForm("object Sample1: TSample\n  Font.Name = 'Serif'\nend\n", sample);
    const QByteArray written = test::WriteForm(sample);
    QVERIFY2(!written.contains("Font.Height"), written.constData());
    QVERIFY(written.contains("Font.Name = 'Serif'"));
    TSample copy;
    test::ReadForm(written, copy);
    QCOMPARE(copy.Font().ToQFont().pixelSize(), sample.Font().ToQFont().pixelSize());
    QCOMPARE(copy.Font().ToQFont().pointSizeF(), sample.Font().ToQFont().pointSizeF());
    QCOMPARE(test::WriteForm(copy), written);
}

void TestFormStream::anUnnamedObjectRoundTrips()
{
    TSample sample;
    sample.SetCount(3);
    const QByteArray written = test::WriteForm(sample);
    QCOMPARE(QString::fromUtf8(written), QStringLiteral("object TSample\n  Count = 3\nend\n"));
    TSample copy;
    copy.setObjectName(QStringLiteral("Named"));
    test::ReadForm(written, copy);
    QVERIFY(copy.objectName().isEmpty());
    QCOMPARE(copy.Count(), 3);
}

void TestFormStream::writesOnlyWhatDiffersFromAFreshObject()
{
    TSample sample;
    sample.setObjectName(QStringLiteral("Plain"));
    sample.SetHidden(5);
    sample.SetBuddy(&sample);
    QCOMPARE(QString::fromUtf8(test::WriteForm(sample)), QStringLiteral("object Plain: TSample\nend\n"));
}

void TestFormStream::writesTheFormSyntax_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("boolean") << "  Active = True\n";
    QTest::newRow("negative integer") << "  Count = -42\n";
    QTest::newRow("named colour") << "  FrameColor = clRed\n";
    QTest::newRow("float") << "  Ratio = 0.1\n";
    QTest::newRow("doubled quote") << "  Text = 'it''s'\n";
    QTest::newRow("enumeration") << "  Shape = shTriangle\n";
    QTest::newRow("set") << "  Features = [ftShadow, ftGlow]\n";
    QTest::newRow("string list") << "  Items = (\n    'a'\n    ''\n    'c''d')\n";
    QTest::newRow("variant") << "  Value = 7\n";
    QTest::newRow("font") << "  Font.Color = clNavy\n  Font.Height = -15\n";
    QTest::newRow("font style") << "  Font.Style = [fsBold, fsUnderline]\n";
    QTest::newRow("binary") << "  Data = {00FF10}\n";
    QTest::newRow("dotted") << "  Title.Caption = 'Head'\n  Title.Level = 3\n";
    QTest::newRow("collection")
        << "  Parts = <\n    item\n      Name = 'first'\n      Title.Caption = 'One'\n"
           "    end\n    item\n      Size = 20\n    end>\n";
}

void TestFormStream::writesTheFormSyntax()
{
    QFETCH(QString, line);
    TSample sample;
    Fill(sample);
    const QString text = QString::fromUtf8(test::WriteForm(sample));
    QVERIFY2(text.contains(line), qPrintable(text));
}

void TestFormStream::stringsRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("literal");
    QTest::newRow("empty") << QString() << "''";
    QTest::newRow("quotes") << "'''"
                            << "''''''''";
    QTest::newRow("line break") << "a\r\nb"
                                << "'a'#13#10'b'";
    QTest::newRow("leading tab") << "\tx"
                                 << "#9'x'";
    QTest::newRow("line separator") << QStringLiteral("a\u2028") << "'a'#8232";
    QTest::newRow("unicode") << QStringLiteral("Grüße ☃ 日本") << QStringLiteral("'Grüße ☃ 日本'");
    QTest::newRow("outside the basic plane")
        << QStringLiteral("\U0001F600") << QStringLiteral("'\U0001F600'");
}

void TestFormStream::stringsRoundTrip()
{
    QFETCH(QString, text);
    QFETCH(QString, literal);
    QCOMPARE(TFormWriter::QuoteString(text), literal);
    TSample sample;
    sample.setObjectName(QStringLiteral("S"));
    sample.SetText(text);
    sample.SetItems({text, text});
    TSample copy;
    test::ReadForm(test::WriteForm(sample), copy);
    QCOMPARE(copy.Text(), text);
    QCOMPARE(copy.Items(), (QStringList{text, text}));
}

void TestFormStream::variantsKeepTheirKind_data()
{
    QTest::addColumn<TVariant>("value");
    QTest::newRow("null") << TVariant::Null();
    QTest::newRow("boolean") << TVariant(false);
    QTest::newRow("integer") << TVariant(qint64(-3));
    QTest::newRow("whole double") << TVariant(2.0);
    QTest::newRow("double") << TVariant(1e-300);
    QTest::newRow("string") << TVariant(QStringLiteral("12"));
    QTest::newRow("bytes") << TVariant(QByteArray("ab"));
}

void TestFormStream::variantsKeepTheirKind()
{
    QFETCH(TVariant, value);
    TSample sample;
    sample.setObjectName(QStringLiteral("S"));
    sample.SetValue(value);
    TSample copy;
    test::ReadForm(test::WriteForm(sample), copy);
    QCOMPARE(copy.Value().VarType(), value.VarType());
    QVERIFY(TVariant::SameValue(copy.Value(), value));
}

void TestFormStream::readsClassicSpellings()
{
    TSample sample;
    test::ReadForm("object X: TSample\n"
                   "  active = true\n"
                   "  Count = $1F\n"
                   "  FrameColor = $000080FF\n"
                   "  Text = 'one '\n"
                   "    + 'two'#33\n"
                   "  Font.Charset = DEFAULT_CHARSET\n"
                   "  Parts = <\n"
                   "    item\n"
                   "    end>\n"
                   "end\n",
                   sample);
    QVERIFY(sample.Active());
    QCOMPARE(sample.Count(), 31);
    QCOMPARE(sample.FrameColor(), TColor(0x000080FF));
    QCOMPARE(sample.Text(), QStringLiteral("one two!"));
    QCOMPARE(sample.Parts()->Count(), 1);
}

void TestFormStream::badInputRaisesWithItsLine_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("truncated") << QByteArray("object X: TSample\n  Count = 1\n") << "Line 3: the form ends";
    QTest::newRow("truncated collection")
        << QByteArray("object X: TSample\n  Parts = <\n    item\n") << "Line 4: the form ends";
    QTest::newRow("unknown property")
        << QByteArray("object X: TSample\n  Colour = 1\nend") << "Line 2: TSample has no property 'Colour'";
    QTest::newRow("unknown sub-property") << QByteArray("object X: TSample\n\n  Title.Nope = 1\nend")
                                          << "Line 3: TCaption has no property 'Nope'";
    QTest::newRow("string for integer") << QByteArray("object X: TSample\n  Count = 'x'\nend")
                                        << "Line 2: property 'Count' expects an integer";
    QTest::newRow("integer out of range")
        << QByteArray("object X: TSample\n  Count = 3000000000\nend") << "Line 2: 3000000000 is out of range";
    QTest::newRow("bad enumeration name") << QByteArray("object X: TSample\n  Shape = shOval\nend")
                                          << "Line 2: 'shOval' is not a value of TShape";
    QTest::newRow("bad set member") << QByteArray("object X: TSample\n  Features = [ftBorder, ftNone]\nend")
                                    << "Line 2: 'ftNone' is not a value of TFeature";
    QTest::newRow("bad colour") << QByteArray("object X: TSample\n  FrameColor = clPlaid\nend")
                                << "Line 2: 'clPlaid' is not a colour";
    QTest::newRow("unterminated string")
        << QByteArray("object X: TSample\n  Text = 'abc\nend") << "Line 2: unterminated string";
    QTest::newRow("two characters") << QByteArray("object X: TSample\n  Separator = 'ab'\nend")
                                    << "Line 2: property 'Separator' expects one character";
    QTest::newRow("odd hex") << QByteArray("object X: TSample\n  Data = {ABC}\nend")
                             << "Line 2: property 'Data' expects binary data";
    QTest::newRow("object for value")
        << QByteArray("object X: TSample\n  Title = 'x'\nend") << "Line 2: property 'Title' cannot be set";
    QTest::newRow("wrong class") << QByteArray("object X: TOther\nend")
                                 << "Line 1: an object of class TSample was expected";
    QTest::newRow("text after end") << QByteArray("object X: TSample\nend\nend") << "Line 3: text after";
    QTest::newRow("setter refuses") << QByteArray(
                                           "object X: TSample\n  Parts = <\n    item\n      Size = -1\n"
                                           "    end>\nend")
                                    << "Line 4: A size cannot be negative";
    QTest::newRow("empty") << QByteArray() << "Line 1: the form ends";
    QTest::newRow("binary garbage") << QByteArray("\x01\x02object") << "Line 1: unexpected character";
}

void TestFormStream::badInputRaisesWithItsLine()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, message);
    TSample sample;
    try {
        test::ReadForm(text, sample);
        QFAIL("no error raised");
    } catch (const EStreamError& e) {
        QVERIFY2(e.Message().startsWith(message), qPrintable(e.Message()));
    }
}

void TestFormStream::aBadItemLeavesTheCollectionAsItWas()
{
    TSample sample;
    Fill(sample);
    const QByteArray text = "object X: TSample\n"
                            "  Parts = <\n"
                            "    item\n      Name = 'new'\n    end\n"
                            "    item\n      Title.Level = 'x'\n    end>\n"
                            "end\n";
    QVERIFY_THROWS_EXCEPTION(EStreamError, test::ReadForm(text, sample));
    QCOMPARE(sample.Parts()->Count(), 2);
    QCOMPARE(sample.Parts()->Part(0)->Name(), QStringLiteral("first"));
    QCOMPARE(sample.Parts()->Part(1)->Size(), 20);
}

QTEST_GUILESS_MAIN(TestFormStream)
#include "tst_formstream.moc"
