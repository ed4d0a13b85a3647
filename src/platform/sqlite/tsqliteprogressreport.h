#pragma once

#include <exception>
#include <functional>

struct sqlite3;

namespace orvo {

/// Calls a callback now and then while statements of one connection run (SQLite's progress
/// handler), so that a program without threads can keep its window alive during a long
/// statement. The callback must not use the connection.
class TSQLiteProgressReport
{
public:
    /// Virtual-machine steps of SQLite between two calls of the callback.
    static constexpr int Steps = 20000;

    /// Runs `work`, which steps statements of `db`, with `progress` (when given) watching it.
    /// An exception of the callback must not pass through SQLite's C frames: it ends the
    /// statement (as an interrupt) and comes out of Run in place of the interrupt's error.
    static void Run(sqlite3* db, const std::function<void()>& progress, const std::function<void()>& work);

private:
    static int OnProgress(void* report);

    const std::function<void()>* FProgress = nullptr;
    std::exception_ptr FError;
};

} // namespace orvo
