#include "platform/data/tblobstream.h"

#include "platform/core/exceptions.h"
#include "platform/core/texceptionhandler.h"
#include "platform/data/tblobfield.h"
#include "platform/data/tdataset.h"

#include <cstring>

namespace orvo {

namespace {

bool IsEditingState(TDataSetState state)
{
    switch (state) {
    case dsEdit:
    case dsInsert:
    case dsSetKey:
    case dsCalcFields:
    case dsNewValue:
    case dsInternalCalc:
        return true;
    default:
        return false;
    }
}

void CheckWritable(const TBlobField* field)
{
    const TDataSet* dataSet = field->DataSet();
    if (!dataSet)
        throw EDatabaseError(QStringLiteral("Field '%1' has no dataset").arg(field->DisplayName()));
    if (!IsEditingState(dataSet->State()))
        throw EDatabaseError(QStringLiteral("Dataset not in edit or insert mode"));
    if (!field->CanModify())
        throw EDatabaseError(QStringLiteral("Field '%1' cannot be modified").arg(field->DisplayName()));
}

} // namespace

TBlobStream::TBlobStream(TBlobField* field, QIODevice::OpenMode mode, QObject* parent)
    : QIODevice(parent), FField(field)
{
    if (!field)
        throw EDatabaseError(QStringLiteral("A blob stream needs a field"));
    const bool writing = mode.testFlag(QIODevice::WriteOnly) || mode.testFlag(QIODevice::Append);
    if (writing)
        CheckWritable(field);
    // Plain WriteOnly replaces the value, as opening a file for writing does.
    const bool keepsValue = mode.testFlag(QIODevice::ReadOnly) || mode.testFlag(QIODevice::Append);
    if (keepsValue)
        FData = field->AsBytes();
    else
        FModified = true;
    // Append implies writing, as it does for files.
    if (mode.testFlag(QIODevice::Append))
        mode |= QIODevice::WriteOnly;
    QIODevice::open(mode | QIODevice::Unbuffered);
    if (mode.testFlag(QIODevice::Append))
        seek(FData.size());
}

TBlobStream::~TBlobStream()
{
    if (!isOpen())
        return;
    try {
        close();
    } catch (...) {
        // The bytes could not be stored: say so rather than lose them silently.
        TExceptionHandler::HandleCurrent();
        QIODevice::close();
    }
}

void TBlobStream::close()
{
    if (isOpen() && isWritable() && FModified && FField) {
        // Stay open when storing fails, so that the caller may fix the state and close again.
        FField->SetAsBytes(FData);
        FModified = false;
    }
    QIODevice::close();
}

void TBlobStream::Truncate()
{
    FData.clear();
    FModified = true;
    seek(0);
}

qint64 TBlobStream::readData(char* data, qint64 maxSize)
{
    const qint64 available = qMax<qint64>(0, FData.size() - pos());
    const qint64 count = qMin(maxSize, available);
    if (count > 0)
        std::memcpy(data, FData.constData() + pos(), size_t(count));
    return count;
}

qint64 TBlobStream::writeData(const char* data, qint64 maxSize)
{
    const qint64 position = pos();
    if (position + maxSize > FData.size())
        FData.resize(position + maxSize, '\0');
    std::memcpy(FData.data() + position, data, size_t(maxSize));
    FModified = true;
    return maxSize;
}

} // namespace orvo
