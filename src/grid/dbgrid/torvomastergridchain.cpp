#include "grid/dbgrid/torvomastergridchain.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvocustomdbgrid_p.h"
#include "platform/core/exceptions.h"
#include "platform/core/texceptionhandler.h"

#include <QScopeGuard>

#include <algorithm>

namespace orvo {

TOrvoMasterGridChain::TOrvoMasterGridChain(TOrvoCustomDBGrid& grid) : FGrid(grid) {}

TOrvoMasterGridChain::~TOrvoMasterGridChain()
{
    QObject::disconnect(FMasterWatch);
}

TOrvoMasterGridChain& TOrvoMasterGridChain::ChainOf(TOrvoCustomDBGrid* grid)
{
    return *grid->d->FChain;
}

bool TOrvoMasterGridChain::LeadsBackTo(const TOrvoCustomDBGrid* master) const
{
    // Counting the steps keeps a cycle made elsewhere (while loading) from hanging the walk.
    int steps = 0;
    for (const TOrvoCustomDBGrid* grid = master; grid; grid = grid->d->FChain->FMaster) {
        if (grid == &FGrid || ++steps > 100000)
            return true;
    }
    return false;
}

void TOrvoMasterGridChain::SetMaster(TOrvoCustomDBGrid* master, bool checkCycle)
{
    if (checkCycle && master && LeadsBackTo(master))
        throw EInvalidGridOperation(QStringLiteral("Circular datalinks are not allowed"));
    QObject::disconnect(FMasterWatch);
    // Only this grid's own link changes: the grids that follow it stay with it, whether it
    // leaves a chain, joins one or moves from one to another.
    std::vector<TOrvoCustomDBGrid*> affected = Members();
    if (master)
        for (TOrvoCustomDBGrid* grid : ChainOf(master).Members())
            if (std::find(affected.begin(), affected.end(), grid) == affected.end())
                affected.push_back(grid);
    FMaster = master;
    LinkRings(affected, nullptr);
    if (master)
        FMasterWatch = QObject::connect(master, &QObject::destroyed, &FGrid,
                                        [this] { TExceptionHandler::Guard([this] { ForgetMaster(); }); });
}

void TOrvoMasterGridChain::ForgetMaster()
{
    QObject::disconnect(FMasterWatch);
    FMaster = nullptr;
    LinkRings(Members(), nullptr);
}

bool TOrvoMasterGridChain::DropCircularMaster()
{
    if (!FMaster || !LeadsBackTo(FMaster))
        return false;
    ForgetMaster();
    return true;
}

std::vector<TOrvoCustomDBGrid*> TOrvoMasterGridChain::Members() const
{
    std::vector<TOrvoCustomDBGrid*> members{&FGrid};
    for (TOrvoCustomDBGrid* next = FNext; next && next != &FGrid; next = ChainOf(next).FNext) {
        if (std::find(members.begin(), members.end(), next) != members.end())
            break;
        members.push_back(next);
    }
    return members;
}

void TOrvoMasterGridChain::LinkRings(const std::vector<TOrvoCustomDBGrid*>& grids,
                                     const TOrvoCustomDBGrid* leaving)
{
    const auto member = [&grids, leaving](const TOrvoCustomDBGrid* grid) {
        return grid && grid != leaving && std::find(grids.begin(), grids.end(), grid) != grids.end();
    };
    const auto masterOf = [&member](TOrvoCustomDBGrid* grid) -> TOrvoCustomDBGrid* {
        TOrvoCustomDBGrid* master = ChainOf(grid).FMaster;
        return member(master) ? master : nullptr;
    };
    // A chain leads up to the one grid without a master. A cycle read while loading has
    // none: the walk stops where it repeats, and the cycle's lowest address stands in.
    const auto rootOf = [&masterOf](TOrvoCustomDBGrid* grid) {
        std::vector<TOrvoCustomDBGrid*> path{grid};
        for (TOrvoCustomDBGrid* master = masterOf(grid); master; master = masterOf(master)) {
            const auto seen = std::find(path.begin(), path.end(), master);
            if (seen != path.end())
                return *std::min_element(seen, path.end(), std::less<>());
            path.push_back(master);
        }
        return path.back();
    };
    std::vector<TOrvoCustomDBGrid*> linked;
    const auto collect = [&](const auto& self, TOrvoCustomDBGrid* grid,
                             std::vector<TOrvoCustomDBGrid*>& ring) -> void {
        linked.push_back(grid);
        ring.push_back(grid);
        for (TOrvoCustomDBGrid* detail : grids)
            if (member(detail) && masterOf(detail) == grid &&
                std::find(linked.begin(), linked.end(), detail) == linked.end())
                self(self, detail, ring);
    };
    for (TOrvoCustomDBGrid* grid : grids) {
        if (!member(grid))
            continue;
        TOrvoCustomDBGrid* root = rootOf(grid);
        if (std::find(linked.begin(), linked.end(), root) != linked.end())
            continue;
        std::vector<TOrvoCustomDBGrid*> ring;
        collect(collect, root, ring);
        for (size_t i = 0; i < ring.size(); ++i)
            ChainOf(ring[i]).FNext = ring.size() > 1 ? ring[(i + 1) % ring.size()] : nullptr;
    }
}

void TOrvoMasterGridChain::Leave()
{
    LinkRings(Members(), &FGrid);
    FNext = nullptr;
}

void TOrvoMasterGridChain::SynchronizeNext()
{
    if (FSynchronizing)
        return;
    FSynchronizing = true;
    const auto done = qScopeGuard([this] {
        for (TOrvoCustomDBGrid* next = FNext; next && next != &FGrid; next = ChainOf(next).FNext)
            ChainOf(next).FSynchronizing = false;
        FSynchronizing = false;
    });
    // Each grid is marked before it takes the values, so that its own layout pass does not
    // send them around the ring again.
    for (TOrvoCustomDBGrid* next = FNext; next && !ChainOf(next).FSynchronizing; next = ChainOf(next).FNext) {
        ChainOf(next).FSynchronizing = true;
        next->SynchronizeFrom(FGrid);
    }
    // What the ring has now heard of this grid, laid out before or not.
    FSignature = Signature();
}

std::vector<int> TOrvoMasterGridChain::Signature() const
{
    const TOrvoDBGridColumns* columns = FGrid.Columns();
    std::vector<int> signature{FGrid.FixedColsProperty(), FGrid.IndicatorWidth(), int(FGrid.BiDiMode())};
    signature.reserve(signature.size() + 2 * size_t(columns->Count()));
    for (int i = 0; i < columns->Count(); ++i) {
        const TOrvoColumn* column = columns->Items(i);
        signature.push_back(int(column->Visible()) | int(column->Expanded()) << 1);
        signature.push_back(column->IsShown() ? FGrid.ShownColumnWidth(i) : 0);
    }
    return signature;
}

void TOrvoMasterGridChain::SynchronizeIfChanged()
{
    // The first pass only learns the starting state.
    std::vector<int> signature = Signature();
    const bool changed = FSignature && *FSignature != signature;
    FSignature = std::move(signature);
    if (changed && FNext)
        SynchronizeNext();
}

void TOrvoMasterGridChain::ScrollNext()
{
    // The flag keeps the ring from echoing the scroll back.
    if (!FNext || FSynchronizing)
        return;
    FSynchronizing = true;
    const auto done = qScopeGuard([this] { FSynchronizing = false; });
    for (TOrvoCustomDBGrid* next = FNext; next && next != &FGrid; next = ChainOf(next).FNext) {
        TOrvoMasterGridChain& chain = ChainOf(next);
        if (chain.FSynchronizing)
            break;
        chain.FSynchronizing = true;
        const auto nextDone = qScopeGuard([&chain] { chain.FSynchronizing = false; });
        next->SetLeftCol(std::clamp(FGrid.LeftCol(), next->TCustomGrid::FixedCols(), next->ColCount() - 1));
    }
}

} // namespace orvo
