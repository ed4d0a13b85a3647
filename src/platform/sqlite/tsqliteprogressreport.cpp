#include "platform/sqlite/tsqliteprogressreport.h"

#include "platform/core/tscopecleanup.h"

#include <sqlite3.h>

namespace orvo {

void TSQLiteProgressReport::Run(sqlite3* db, const std::function<void()>& progress,
                                const std::function<void()>& work)
{
    if (!progress) {
        work();
        return;
    }
    TSQLiteProgressReport report;
    report.FProgress = &progress;
    sqlite3_progress_handler(db, Steps, &TSQLiteProgressReport::OnProgress, &report);
    const auto removeHandler = Finally([db] { sqlite3_progress_handler(db, 0, nullptr, nullptr); });
    try {
        work();
    } catch (...) {
        if (report.FError)
            std::rethrow_exception(report.FError);
        throw;
    }
}

int TSQLiteProgressReport::OnProgress(void* context)
{
    auto* report = static_cast<TSQLiteProgressReport*>(context);
    try {
        (*report->FProgress)();
        return 0;
    } catch (...) {
        report->FError = std::current_exception();
        return 1;
    }
}

} // namespace orvo
