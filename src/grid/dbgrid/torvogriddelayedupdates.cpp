#include "grid/dbgrid/torvogriddelayedupdates.h"

#include "grid/dbgrid/torvocustomdbgrid.h"
#include "platform/core/texceptionhandler.h"

#include <QScopedValueRollback>
#include <QTimer>

#include <algorithm>

namespace orvo {

TOrvoGridDelayedUpdates::TOrvoGridDelayedUpdates(TOrvoCustomDBGrid& grid) : FGrid(grid) {}

TOrvoGridDelayedUpdates::~TOrvoGridDelayedUpdates()
{
    DropPending();
}

bool TOrvoGridDelayedUpdates::InsideRebuild() const
{
    return std::find(FRunning.begin(), FRunning.end(), true) != FRunning.end();
}

void TOrvoGridDelayedUpdates::Schedule(TUpdate update, bool delayed)
{
    if (FGrid.IsLoading() || FGrid.IsDestroying() || InsideRebuild())
        return;
    QPointer<QTimer>& timer = FTimers[size_t(update)];
    if (!delayed) {
        if (timer)
            timer->stop();
        Run(update);
        return;
    }
    if (!timer) {
        timer = new QTimer(&FGrid);
        timer->setSingleShot(true);
        QObject::connect(timer, &QTimer::timeout, &FGrid,
                         [this, update] { TExceptionHandler::Guard([this, update] { Run(update); }); });
    }
    timer->start(TOrvoCustomDBGrid::UpdateDelay());
}

void TOrvoGridDelayedUpdates::Flush()
{
    for (TUpdate update : {TUpdate::SelectedRows, TUpdate::ListItems, TUpdate::Sequence, TUpdate::Totals}) {
        QPointer<QTimer>& timer = FTimers[size_t(update)];
        if (timer && timer->isActive()) {
            timer->stop();
            Run(update);
        }
    }
}

void TOrvoGridDelayedUpdates::DropPending()
{
    for (QPointer<QTimer>& timer : FTimers)
        delete timer;
}

void TOrvoGridDelayedUpdates::Run(TUpdate update)
{
    bool& running = FRunning[size_t(update)];
    if (running)
        return;
    const QScopedValueRollback mark(running, true);
    switch (update) {
    case TUpdate::ListItems:
        FGrid.RebuildListItems();
        break;
    case TUpdate::Sequence:
        FGrid.RecountSequence();
        break;
    case TUpdate::Totals:
        FGrid.CalcTotals(false);
        break;
    case TUpdate::SelectedRows:
        FGrid.CalcTotals(true);
        break;
    }
}

} // namespace orvo
