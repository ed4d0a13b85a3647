#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QPointer>

namespace orvo {

class TBlobField;

/// A random-access device over a blob or memo field's value. Opened for
/// reading it serves a copy of the value; opened for writing it collects the
/// bytes (starting empty for WriteOnly, from the value for ReadWrite or
/// Append) and stores them into the field on close(), which needs the
/// dataset in an editing state and the field modifiable — checked when the
/// stream is made, so that a write that cannot land fails at once.
class TBlobStream : public QIODevice
{
    Q_OBJECT

public:
    /// Opens the stream in `mode`; raises EDatabaseError when writing is not allowed now.
    TBlobStream(TBlobField* field, QIODevice::OpenMode mode, QObject* parent = nullptr);
    /// Closes the stream; an error storing the bytes goes to the application's exception handler.
    ~TBlobStream() override;

    /// Stores written bytes into the field (raising when that fails), then closes.
    void close() override;
    bool isSequential() const override { return false; }
    qint64 size() const override { return FData.size(); }
    /// Empties the collected bytes.
    void Truncate();

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 maxSize) override;

private:
    QPointer<TBlobField> FField;
    QByteArray FData;
    bool FModified = false;
};

} // namespace orvo
