#pragma once

#include "platform/core/exceptions.h"
#include "platform/core/texceptionhandler.h"

#include <QStringList>

#include <utility>

namespace orvo::test {

/// Installs an exception handler for one scope. The handler in force cannot be read
/// back, so the scope ends by restoring the default one, which is what every test
/// starts with; it does so however the scope is left, also when a failed check
/// returns from the test function or an exception passes through.
class TExceptionHandlerScope
{
public:
    explicit TExceptionHandlerScope(TExceptionHandler::Handler handler = {})
    {
        TExceptionHandler::SetHandler(std::move(handler));
    }
    ~TExceptionHandlerScope() { TExceptionHandler::SetHandler({}); }
    TExceptionHandlerScope(const TExceptionHandlerScope&) = delete;
    TExceptionHandlerScope& operator=(const TExceptionHandlerScope&) = delete;

    /// A handler that writes down the message of every Exception it is handed, and
    /// "unknown" for anything else.
    static TExceptionHandler::Handler Recording(QStringList& messages)
    {
        return [&messages](std::exception_ptr error) {
            try {
                std::rethrow_exception(error);
            } catch (const Exception& e) {
                messages << e.Message();
            } catch (...) {
                messages << QStringLiteral("unknown");
            }
        };
    }
};

} // namespace orvo::test
