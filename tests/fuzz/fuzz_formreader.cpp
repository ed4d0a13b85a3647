// Form files are stored and may be damaged or written by hand: whatever one holds,
// reading it gives an object or an Exception, and what was read is written and read
// back the same.
#include "fuzzinput.h"

#include "common/formroundtrip.h"

#include "platform/core/exceptions.h"
#include "platform/core/tcollection.h"
#include "platform/core/tcolor.h"
#include "platform/core/tpersistent.h"
#include "platform/core/tset.h"
#include "platform/core/tvariant.h"
#include "platform/graphics/tfont.h"

namespace FuzzEnums {
Q_NAMESPACE
enum TShape
{
    shSquare,
    shCircle
};
Q_ENUM_NS(TShape)
enum TFeature
{
    ftBorder,
    ftShadow
};
Q_ENUM_NS(TFeature)
} // namespace FuzzEnums

using namespace orvo;
using TFeatures = TSet<FuzzEnums::TFeature>;

namespace {

class TCaption : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)

public:
    using TPersistent::TPersistent;
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& value) { FCaption = value; }

private:
    QString FCaption;
};

class TPart : public TCollectionItem
{
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(int Size READ Size WRITE SetSize)

public:
    using TCollectionItem::TCollectionItem;
    QString Name() const { return FName; }
    void SetName(const QString& value) { FName = value; }
    int Size() const { return FSize; }
    void SetSize(int value) { FSize = value; }

private:
    QString FName;
    int FSize = 10;
};

class TParts : public TCollection
{
    Q_OBJECT

public:
    using TCollection::TCollection;

protected:
    TCollectionItem* CreateItem() override { return new TPart(); }
};

/// One property of every kind form files hold.
class TSample : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool Active MEMBER FActive)
    Q_PROPERTY(int Count MEMBER FCount)
    Q_PROPERTY(qint64 Big MEMBER FBig)
    Q_PROPERTY(orvo::TColor FrameColor MEMBER FFrameColor)
    Q_PROPERTY(double Ratio MEMBER FRatio)
    Q_PROPERTY(QString Text MEMBER FText)
    Q_PROPERTY(QChar Separator MEMBER FSeparator)
    Q_PROPERTY(FuzzEnums::TShape Shape MEMBER FShape)
    Q_PROPERTY(TFeatures Features MEMBER FFeatures)
    Q_PROPERTY(QStringList Items MEMBER FItems)
    Q_PROPERTY(orvo::TVariant Value MEMBER FValue)
    Q_PROPERTY(orvo::TFont Font MEMBER FFont)
    Q_PROPERTY(QByteArray Data MEMBER FData)
    Q_PROPERTY(TCaption* Title READ Title)
    Q_PROPERTY(TParts* Parts READ Parts)

public:
    Q_INVOKABLE explicit TSample(QObject* parent = nullptr) : QObject(parent) {}
    TCaption* Title() const { return FTitle; }
    TParts* Parts() const { return FParts; }

private:
    bool FActive = false;
    int FCount = 0;
    qint64 FBig = 0;
    TColor FFrameColor = clWindow;
    double FRatio = 0.5;
    QString FText;
    QChar FSeparator = QLatin1Char(',');
    FuzzEnums::TShape FShape = FuzzEnums::shSquare;
    TFeatures FFeatures{FuzzEnums::ftBorder};
    QStringList FItems;
    TVariant FValue;
    TFont FFont;
    QByteArray FData;
    TCaption* FTitle = new TCaption(this);
    TParts* FParts = new TParts(this);
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TSample sample;
    try {
        test::ReadForm(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), sample);
    } catch (const Exception&) {
        // A damaged form is refused: that is allowed; what it had set stays readable.
    }
    const QByteArray written = test::WriteForm(sample);
    TSample copy;
    try {
        test::ReadForm(written, copy);
    } catch (const Exception& e) {
        fuzz::Broken("a written form reads back",
                     e.Message() + QLatin1Char('\n') + QString::fromUtf8(written));
    }
    fuzz::Require(test::WriteForm(copy) == written, "a form reads back as written",
                  QString::fromUtf8(written));
    return 0;
}

#include "fuzz_formreader.moc"
