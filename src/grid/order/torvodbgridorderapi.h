#pragma once

#include "platform/core/tscopecleanup.h"

#include <QString>

namespace orvo {

class TOrvoGridOrder;

/// The sort-order operations of a data grid. The grid inherits them, so they read as
/// its own (`grid->BeginOrderUpdate()`); each hands its work to the part that keeps the
/// order, which the grid supplies through OrderPart.
class TOrvoDBGridOrderApi
{
public:
    /// Marker changes run inside this bracket; the outermost close stores the new order and,
    /// when OrderFields changed, calls OrderChanged.
    void BeginOrderUpdate();
    void EndOrderUpdate();
    /// Runs `action` inside the order bracket, closing it however the action ends.
    template <typename F> void InOrderUpdate(F&& action)
    {
        BeginOrderUpdate();
        const auto close = Finally([this] { EndOrderUpdate(); });
        action();
    }
    /// Sets OrderFields without calling OrderChanged.
    void AssignOrderFields(const QString& value);
    /// Shows the dataset's own order as markers.
    void LoadCurrentOrder();
    /// Reapplies or reloads the order; `autoUpdate` follows the grid's order options.
    void UpdateOrder(bool autoUpdate);
    /// The order steps of a link that just became active, after its columns are built.
    void ActivateOrder();
    /// Reordering, rebuilding or walking the dataset inside this bracket keeps the current
    /// record on its row; `takeNewPosition` keeps the record the dataset moved to instead.
    void BeginDataUpdate();
    void EndDataUpdate(bool takeNewPosition);
    /// Called once at the end of a bracket of marker changes that changed OrderFields:
    /// applies the order with dgAutoUpdateOrder, else (or when no strategy knows the
    /// dataset) fires OnOrderChanged so that the host sorts.
    virtual void OrderChanged();
    /// Reorders the dataset by `orderFields` (the current OrderFields when empty) through the
    /// strategy registered for its class; false when no strategy knows the dataset. True
    /// when a strategy ran, also when the dataset did not take the order (see OrderError).
    virtual bool ApplyOrder(const QString& orderFields);
    /// The dataset's order as an OrderFields text; empty when no strategy knows the dataset.
    virtual QString GetDataSetOrder();
    /// The order text kept while no columns carry it.
    QString StoredOrderText() const;
    /// Why the last order the grid applied to its dataset was refused or rolled back;
    /// empty when it was applied (or nothing was applied yet).
    QString OrderError() const;

protected:
    TOrvoDBGridOrderApi() = default;
    virtual ~TOrvoDBGridOrderApi() = default;
    TOrvoDBGridOrderApi(const TOrvoDBGridOrderApi&) = delete;
    TOrvoDBGridOrderApi& operator=(const TOrvoDBGridOrderApi&) = delete;

    /// The part that keeps the order.
    virtual TOrvoGridOrder& OrderPart() const = 0;
};

} // namespace orvo
