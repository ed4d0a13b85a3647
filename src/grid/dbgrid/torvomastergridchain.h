#pragma once

#include <QMetaObject>
#include <QPointer>

#include <optional>
#include <vector>

namespace orvo {

class TOrvoCustomDBGrid;

/// A grid's place in the ring of grids chained by MasterGrid. Grids with a master
/// form a ring in which each knows the next; frozen columns, the indicator width,
/// which columns show and their widths, the direction and the horizontal position
/// pass along the ring. Every grid owns one of these.
class TOrvoMasterGridChain
{
public:
    explicit TOrvoMasterGridChain(TOrvoCustomDBGrid& grid);
    ~TOrvoMasterGridChain();
    TOrvoMasterGridChain(const TOrvoMasterGridChain&) = delete;
    TOrvoMasterGridChain& operator=(const TOrvoMasterGridChain&) = delete;

    TOrvoCustomDBGrid* Master() const { return FMaster; }
    /// Links the grid to `master` (null: none) and rebuilds the rings this touches.
    /// Raises EInvalidGridOperation "Circular datalinks are not allowed" when the chain
    /// of masters would lead back to the grid, unless `checkCycle` is false (while loading).
    void SetMaster(TOrvoCustomDBGrid* master, bool checkCycle);
    /// Drops a master that leads back to the grid (a cycle read from a form); true when it did.
    bool DropCircularMaster();
    /// The next grid in the ring; null when alone.
    TOrvoCustomDBGrid* Next() const { return FNext; }
    /// Takes the grid out of its ring; the grids that followed it form their own.
    void Leave();
    /// Copies the shared values of the grid to the grids that follow it.
    void SynchronizeNext();
    /// Synchronizes the grids that follow when the shared values changed since the last time.
    void SynchronizeIfChanged();
    /// Scrolls the grids that follow to the grid's left column.
    void ScrollNext();

private:
    bool LeadsBackTo(const TOrvoCustomDBGrid* master) const;
    /// The grids of the grid's ring, the grid first.
    std::vector<TOrvoCustomDBGrid*> Members() const;
    /// Links `grids` into one ring per chain of masters among them; `leaving` joins none.
    static void LinkRings(const std::vector<TOrvoCustomDBGrid*>& grids, const TOrvoCustomDBGrid* leaving);
    static TOrvoMasterGridChain& ChainOf(TOrvoCustomDBGrid* grid);
    std::vector<int> Signature() const;
    void ForgetMaster();

    TOrvoCustomDBGrid& FGrid;
    QPointer<TOrvoCustomDBGrid> FMaster;
    TOrvoCustomDBGrid* FNext = nullptr;
    bool FSynchronizing = false;
    std::optional<std::vector<int>> FSignature; // what the ring last heard of the grid
    QMetaObject::Connection FMasterWatch;
};

} // namespace orvo
