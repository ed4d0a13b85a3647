#pragma once

#include "platform/core/texceptionhandler.h"

#include <exception>
#include <utility>

namespace orvo {

/// A clean-up that runs when its scope ends: always (Finally) or only when an exception
/// leaves the scope (OnUnwind). While an exception leaves, the clean-up runs under
/// TExceptionHandler::Guard, so that the exception the caller sees stays the one that
/// left the scope and a failing clean-up never escapes a destructor mid-unwind; a
/// Finally's clean-up that fails on a normal exit throws to the caller as code written
/// after the scope would.
template <typename F> class TScopeCleanup
{
public:
    TScopeCleanup(F cleanup, bool always) : FCleanup(std::move(cleanup)), FAlways(always) {}
    ~TScopeCleanup() noexcept(false)
    {
        if (std::uncaught_exceptions() > FExceptions)
            TExceptionHandler::Guard(FCleanup);
        else if (FAlways)
            FCleanup();
    }
    TScopeCleanup(const TScopeCleanup&) = delete;
    TScopeCleanup& operator=(const TScopeCleanup&) = delete;

private:
    F FCleanup;
    bool FAlways;
    // Counted, not flagged: a scope that ends normally inside a destructor run by another
    // exception's unwinding is not itself being left by an exception.
    int FExceptions = std::uncaught_exceptions();
};

/// `const auto done = Finally([&] { EndUpdate(); });` runs the clean-up however the scope ends.
template <typename F> [[nodiscard]] TScopeCleanup<F> Finally(F cleanup)
{
    return TScopeCleanup<F>(std::move(cleanup), true);
}

/// `const auto undo = OnUnwind([&] { Rollback(); });` runs the clean-up only when an
/// exception leaves the scope.
template <typename F> [[nodiscard]] TScopeCleanup<F> OnUnwind(F cleanup)
{
    return TScopeCleanup<F>(std::move(cleanup), false);
}

} // namespace orvo
