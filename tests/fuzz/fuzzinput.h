#pragma once

// What every fuzz target shares: the fuzzer's bytes as text, and the one way a
// target reports a broken promise (an abort the fuzzer records with its input).

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace orvo::fuzz {

inline QString Utf8Text(const uint8_t* data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}

[[noreturn]] inline void Broken(const char* promise, const QString& detail = {})
{
    std::fprintf(stderr, "Broken promise: %s\n%s\n", promise, detail.toUtf8().constData());
    std::abort();
}

inline void Require(bool kept, const char* promise, const QString& detail = {})
{
    if (!kept)
        Broken(promise, detail);
}

} // namespace orvo::fuzz
