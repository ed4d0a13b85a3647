#pragma once

#include <QString>

namespace orvo::test {

/// The message of the exception of type `E` that `action` raises; empty when it raises none.
template <typename E, typename Action> QString ErrorOf(Action action)
{
    try {
        action();
    } catch (const E& error) {
        return error.Message();
    }
    return QString();
}

} // namespace orvo::test
