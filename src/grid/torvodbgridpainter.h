#pragma once

#include "platform/gridbase/gridenums.h"

#include <QRect>

namespace orvo {

class TCanvas;
class TOrvoCustomDBGrid;

/// Draws the cells of a data grid: fixed cells (filler, indicator, titles, totals) and
/// data cells read from the link's buffered records, without ever moving the dataset.
class TOrvoDBGridPainter
{
public:
    explicit TOrvoDBGridPainter(TOrvoCustomDBGrid& grid);
    virtual ~TOrvoDBGridPainter();
    TOrvoDBGridPainter(const TOrvoDBGridPainter&) = delete;
    TOrvoDBGridPainter& operator=(const TOrvoDBGridPainter&) = delete;

    TOrvoCustomDBGrid& Grid() const { return FGrid; }

    /// Called before and after the grid base paints the exposed cells.
    virtual void BeginPaint(TCanvas& canvas);
    virtual void EndPaint(TCanvas& canvas);
    /// Draws one cell; the canvas brush holds the base grid's background colour.
    virtual void DrawCell(TCanvas& canvas, int col, int row, const QRect& rect, TGridDrawState state);

private:
    TOrvoCustomDBGrid& FGrid;
    int FSavedActiveRecord = -1;
};

} // namespace orvo
