#pragma once

#include <exception>
#include <functional>

namespace orvo {

/// The one application-wide place where exceptions end up that no caller
/// could take: every event handler, timer and queued call hands what it
/// caught here, because no exception may cross the Qt event loop.
class TExceptionHandler
{
public:
    using Handler = std::function<void(std::exception_ptr)>;

    /// Replaces the handler (tests install their own); an empty one restores the default,
    /// which shows a message box when a widget application runs and logs otherwise.
    static void SetHandler(Handler handler);
    /// Passes the exception to the handler; EAbort is dropped silently. Never throws.
    static void Handle(std::exception_ptr error) noexcept;
    /// Passes the exception being caught (call inside a catch block).
    static void HandleCurrent() noexcept;

    /// Runs `action`, handing any exception to the handler; true when it completed.
    template <typename F> static bool Guard(F&& action) noexcept
    {
        try {
            action();
            return true;
        } catch (...) {
            HandleCurrent();
            return false;
        }
    }

private:
    static void DefaultHandler(std::exception_ptr error);
};

} // namespace orvo
