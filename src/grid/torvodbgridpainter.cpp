#include "grid/torvodbgridpainter.h"

#include "grid/torvocolumn.h"
#include "grid/torvocolumntitle.h"
#include "grid/torvocustomdbgrid.h"
#include "grid/torvogriddatalink.h"
#include "platform/graphics/tcanvas.h"

namespace orvo {

TOrvoDBGridPainter::TOrvoDBGridPainter(TOrvoCustomDBGrid& grid) : FGrid(grid) {}

TOrvoDBGridPainter::~TOrvoDBGridPainter() = default;

void TOrvoDBGridPainter::BeginPaint(TCanvas&)
{
    FSavedActiveRecord = FGrid.DataLink()->Active() ? FGrid.DataLink()->ActiveRecord() : -1;
}

void TOrvoDBGridPainter::EndPaint(TCanvas&)
{
    // Painting switched the buffer the fields read; the current record reads its own again.
    if (FSavedActiveRecord >= 0)
        FGrid.DataLink()->SetActiveRecord(FSavedActiveRecord);
}

void TOrvoDBGridPainter::DrawCell(TCanvas& canvas, int col, int row, const QRect& rect, TGridDrawState)
{
    TOrvoColumn* column = FGrid.ColumnOfGridCol(col);
    if (!column)
        return;
    QString text;
    if (row < FGrid.TitleOffset()) {
        text = column->Title()->Caption();
    } else if (const int record = FGrid.RecordOfRow(row); record >= 0) {
        FGrid.DataLink()->SetActiveRecord(record);
        text = column->DisplayText();
    }
    canvas.Brush().SetStyle(bsClear);
    canvas.TextRect(rect.adjusted(2, 2, -2, -2), rect.left() + 2, rect.top() + 2, text);
}

} // namespace orvo
