#include "platform/data/tblobfield.h"

#include "platform/core/exceptions.h"

#include <QFile>
#include <QSaveFile>

namespace orvo {

TBlobField::TBlobField(QObject* owner) : TBlobField(ftBlob, owner) {}

TBlobField::TBlobField(TFieldType dataType, QObject* owner) : TField(dataType, owner) {}

int TBlobField::BlobSize() const
{
    return int(AsBytes().size());
}

void TBlobField::LoadFromStream(QIODevice* stream)
{
    if (!stream || !stream->isReadable())
        throw EStreamError(QStringLiteral("Stream read error"));
    SetAsBytes(stream->readAll());
}

void TBlobField::LoadFromFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EStreamError(QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, file.errorString()));
    LoadFromStream(&file);
}

void TBlobField::SaveToStream(QIODevice* stream) const
{
    if (!stream || !stream->isWritable())
        throw EStreamError(QStringLiteral("Stream write error"));
    const QByteArray data = AsBytes();
    if (stream->write(data) != data.size())
        throw EStreamError(QStringLiteral("Stream write error"));
}

void TBlobField::SaveToFile(const QString& fileName) const
{
    // Written aside and renamed, so that a failed save never leaves a half-written file.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EStreamError(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, file.errorString()));
    SaveToStream(&file);
    if (!file.commit())
        throw EStreamError(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, file.errorString()));
}

TVariant TBlobField::CanonicalValue(const TVariant& value) const
{
    if (value.IsClear())
        return TVariant::Null();
    try {
        return TVariant(value.AsBytes());
    } catch (const EVariantError&) {
        RaiseAccessError(QStringLiteral("Blob"));
    }
}

QString TBlobField::GetText(bool) const
{
    // The type in brackets; capitals tell a filled field from an empty one at a glance.
    const QString text = QLatin1Char('(') + FieldTypeName(DataType()) + QLatin1Char(')');
    return IsNull() ? text.toLower() : text.toUpper();
}

} // namespace orvo
