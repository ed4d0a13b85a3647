#pragma once

#include <QPointer>

#include <array>

class QTimer;

namespace orvo {

class TOrvoCustomDBGrid;

/// The updates a grid runs after a burst of data changes rather than after each
/// one: the list items, the row sequence, the totals and the selected rows' totals.
/// Each has a single-shot timer of the program-wide delay; a request while another
/// update runs is dropped, so that an update cannot call itself round again.
class TOrvoGridDelayedUpdates
{
public:
    enum class TUpdate
    {
        ListItems,
        Sequence,
        Totals,
        SelectedRows
    };

    explicit TOrvoGridDelayedUpdates(TOrvoCustomDBGrid& grid);
    ~TOrvoGridDelayedUpdates();
    TOrvoGridDelayedUpdates(const TOrvoGridDelayedUpdates&) = delete;
    TOrvoGridDelayedUpdates& operator=(const TOrvoGridDelayedUpdates&) = delete;

    /// Runs `update` now, or after the delay when `delayed`; a pending run restarts its delay.
    void Schedule(TUpdate update, bool delayed);
    /// Runs at once every update still waiting for its delay.
    void Flush();
    /// Drops every pending update without running it; later requests start anew.
    void DropPending();
    /// True while one of the updates runs.
    bool InsideRebuild() const;

private:
    static constexpr size_t UpdateCount = 4;
    void Run(TUpdate update);

    TOrvoCustomDBGrid& FGrid;
    std::array<QPointer<QTimer>, UpdateCount> FTimers;
    std::array<bool, UpdateCount> FRunning{};
};

} // namespace orvo
