#pragma once

#include "platform/data/tfield.h"

class QIODevice;

namespace orvo {

/// A binary large object field (also bytes, var-bytes and typed-binary
/// columns). Its display text names the type in brackets, in capitals when
/// the field holds a value: "(BLOB)" or "(blob)".
class TBlobField : public TField
{
    Q_OBJECT
    Q_PROPERTY(int BlobSize READ BlobSize STORED false)

public:
    explicit TBlobField(QObject* owner = nullptr);

    /// Bytes in the current value.
    int BlobSize() const;
    bool IsBlob() const override { return true; }

    /// Replace the value with a device's remaining bytes or a file's contents;
    /// raise EStreamError when the source cannot be read.
    void LoadFromStream(QIODevice* stream);
    void LoadFromFile(const QString& fileName);
    /// Write the value to a device or file; raise EStreamError when that fails.
    void SaveToStream(QIODevice* stream) const;
    void SaveToFile(const QString& fileName) const;

    TVariant CanonicalValue(const TVariant& value) const override;

protected:
    TBlobField(TFieldType dataType, QObject* owner);

    QString GetText(bool displayText) const override;
};

} // namespace orvo
