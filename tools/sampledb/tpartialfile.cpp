#include "sampledb/tpartialfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace orvo {

TPartialFile::TPartialFile(const QFileInfo& target)
    : FName(target.absoluteDir().filePath(
          QStringLiteral(".%1.%2.part").arg(target.fileName()).arg(QCoreApplication::applicationPid()))),
      FTarget(target.absoluteFilePath())
{
    Remove(); // left over by a crashed run that had the same process id
}

TPartialFile::~TPartialFile()
{
    if (!FMoved)
        Remove();
}

bool TPartialFile::MoveIntoPlace()
{
    // QFile::rename refuses to replace an existing file, which is what keeps a
    // database made meanwhile by another process safe.
    FMoved = QFile::rename(FName, FTarget);
    return FMoved;
}

void TPartialFile::Remove() const
{
    QFile::remove(FName);
    QFile::remove(FName + QStringLiteral("-journal"));
}

} // namespace orvo
