#pragma once

#include "controls/torvogradientbutton.h"

namespace orvo {

/// The data grid's gradient: a button gradient that also says which highlighted
/// cell kinds (selected cell, selected row, multi-selection, stripes) get it.
class TOrvoDBGridGradient : public TOrvoGradientButton
{
    Q_OBJECT
    Q_PROPERTY(orvo::TOrvoGradientCells Cells READ Cells WRITE SetCells)

public:
    explicit TOrvoDBGridGradient(QWidget* grid = nullptr);
};

} // namespace orvo
