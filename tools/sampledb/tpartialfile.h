#pragma once

#include <QString>

class QFileInfo;

namespace orvo {

/// A file being written that must never be mistaken for a finished one: it lives
/// beside its target under a name of its own (one per process, so two runs never
/// share it), and it is removed, with an SQLite journal, unless it was moved into
/// place. Moving never replaces a file that appeared at the target meanwhile.
class TPartialFile
{
public:
    explicit TPartialFile(const QFileInfo& target);
    ~TPartialFile();
    TPartialFile(const TPartialFile&) = delete;
    TPartialFile& operator=(const TPartialFile&) = delete;

    const QString& Name() const { return FName; }
    /// Renames the file to the target; false (and the file removed later) when the
    /// target exists or the rename fails.
    bool MoveIntoPlace();

private:
    void Remove() const;

    QString FName;
    QString FTarget;
    bool FMoved = false;
};

} // namespace orvo
