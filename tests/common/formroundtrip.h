#pragma once

// Writing an object as a form file and reading one into an object, through memory: what
// the form tests and the form fuzz target both round-trip.

#include "platform/core/tformreader.h"
#include "platform/core/tformwriter.h"

#include <QBuffer>
#include <QByteArray>
#include <QObject>

namespace orvo::test {

/// The form text TFormWriter writes for `object`.
inline QByteArray WriteForm(const QObject& object)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    TFormWriter(buffer).WriteObject(object);
    return buffer.data();
}

/// Reads the form `text` into `object`; throws what TFormReader throws.
inline void ReadForm(const QByteArray& text, QObject& object)
{
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    TFormReader(buffer).ReadObject(object);
}

} // namespace orvo::test
