#pragma once

#include <QString>

class QIODevice;
class QObject;

namespace orvo {

/// Reads form-file text, as TFormWriter writes it, into an existing object: the whole
/// text is parsed first, so that a syntax error changes nothing, then each `Prop = value`
/// line is checked against the object's published properties and applied. Every error
/// is an EStreamError naming the line. A collection is read into fresh items that replace
/// the old ones only once all of them were read, so that it is never left half-loaded;
/// a caller that needs the same for plain properties reads into a fresh object.
class TFormReader
{
public:
    explicit TFormReader(QIODevice& device);

    /// Reads one `object Name: TClass ... end` block into `object`, whose class must be
    /// the one the block names; the object takes the block's name.
    void ReadObject(QObject& object);

private:
    QIODevice& FDevice;
};

} // namespace orvo
