#pragma once

// The grid's vertical scroll bar as the user sees it, for comparing in checks.

#include "grid/dbgrid/torvodbgrid.h"

#include <QScrollBar>
#include <QTest>

namespace orvo::test {

/// Qt's maximum is the thumb's last position.
struct TBar
{
    int Min;
    int Max;
    int Page;
    int Value;
    bool operator==(const TBar&) const = default;
};

inline TBar BarOf(const TOrvoDBGrid& grid)
{
    const QScrollBar* bar = grid.verticalScrollBar();
    return {bar->minimum(), bar->maximum(), bar->pageStep(), bar->value()};
}

inline char* toString(const TBar& bar)
{
    return QTest::toString(QStringLiteral("min %1 max %2 page %3 value %4")
                               .arg(bar.Min)
                               .arg(bar.Max)
                               .arg(bar.Page)
                               .arg(bar.Value));
}

} // namespace orvo::test
