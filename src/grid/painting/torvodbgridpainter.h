#pragma once

#include "grid/dbgrid/dbgridenums.h"
#include "grid/painting/torvotextlayout.h"
#include "platform/core/tcolor.h"
#include "platform/data/tdatasetenums.h"
#include "platform/gridbase/gridenums.h"

#include <QImage>
#include <QRect>

#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QPalette;

namespace orvo {

class TCanvas;
struct TThemedElementDetails;
class TCellPicture;
class TCustomImageList;
class TOrvoColumn;
class TOrvoColumnTotal;
class TOrvoCustomDBGrid;

/// Draws the cells of a data grid: the filler and indicator, titles with header
/// bands, sort markers and title buttons, data cells read from the link's buffered
/// records, the blank row and the totals, each framed in the grid's fixed style.
/// Painting never moves the dataset: the link's active record is switched per row
/// and restored when the paint ends.
///
/// The grid base lays its lines down before the cells; the painter's own lines and
/// frames go over them as each cell is drawn. Only header bands, which run across
/// the cells of several columns, wait until every cell is painted.
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
    /// The link's record that is current while a paint switches the records drawn; -1
    /// outside a paint.
    int CurrentRecord() const { return FSavedActiveRecord; }
    /// Draws one cell; the canvas brush holds the base grid's background colour.
    virtual void DrawCell(TCanvas& canvas, int col, int row, const QRect& rect, TGridDrawState state);

    /// The grid's auto-filter offers a filter button on this column's title.
    bool AutoFilterApplies(const TOrvoColumn* column) const;

    // --- Mouse and selection state (set by the mouse and selection handling) ------------------
    void SetHotTitle(TOrvoColumn* column, bool dropDownPart);
    void SetPressedTitle(TOrvoColumn* column, bool dropDownPart);
    void SetFillerPressed(bool value);
    /// The data cell under the mouse, and whether the button is down on it: its check
    /// box is drawn hot or pressed. (-1, -1) for none.
    void SetMouseCell(const QPoint& cell, bool pressed);
    /// Whether a Shift range of rows is being extended from its anchor (set by the
    /// multi-selection, which clears it once the dataset moves): the indicator shows
    /// the range glyphs meanwhile.
    void SetExtendingRange(bool value);
    QPoint MouseCell() const { return FMouseCell; }
    bool ExtendingRange() const { return FExtendingRange; }
    TOrvoColumn* HotTitle() const { return FHotTitle; }
    TOrvoColumn* PressedTitle() const { return FPressedTitle; }
    bool FillerPressed() const { return FFillerPressed; }

    // --- Glyphs -------------------------------------------------------------------------------
    /// The list indicator glyphs, filler images and title buttons come from.
    TCustomImageList* IndicatorGlyphs() const;
    /// The sort markers in the grid's resolved marker style (TitleMarkers when assigned).
    TCustomImageList* MarkerList();
    /// The indicator glyph of a data row: 0 current, 1 editing, 2 inserting, 3 selected,
    /// 4 current and selected, 6 and 7 while a range is extended; -1 for none.
    static int IndicatorGlyph(bool current, TDataSetState state, bool selected, bool extending);
    /// The marker strip recoloured from its key colours for a resolved marker style.
    static QImage RecolorMarkers(const QImage& strip, TMarkerStyle style, bool transparent, bool forceSystem,
                                 const QPalette& palette);
    /// Frames a check box or total box in a resolved box style.
    static void DrawBox(TCanvas& canvas, const QRect& rect, TCheckBoxStyle resolvedStyle);

protected:
    /// What the pipeline works out at the start of each cell.
    struct TCellInfo
    {
        int Col = 0;
        int Row = 0;
        int DataCol = 0;      ///< c: negative for the indicator column
        int DataRow = 0;      ///< r: negative for title rows
        int BottomIndex = -1; ///< the row's place in the bottom region, -1 above it
        QRect Rect;
        TGridDrawState State;
        TOrvoColumn* Column = nullptr;
        int Margin = 2;
        bool Fixed = false;
        bool BothLines = false;
        bool Themed = false;
        bool Gradient = false;
        bool GradientSoft = false;
        bool TotalBand = false;
        bool GradientCell = false;
        bool PendingColLine = false;
        bool PendingRowLine = false;
        bool Boxed = false;
        bool IsTitleRow() const { return DataRow < 0; }
        bool IsBottomRow() const { return BottomIndex >= 0; }
    };

    TCellInfo MakeCellInfo(int col, int row, const QRect& rect, TGridDrawState state) const;

    // Cell kinds.
    virtual void DrawIndicatorCell(TCanvas& canvas, TCellInfo& cell);
    virtual void DrawColumnCell(TCanvas& canvas, TCellInfo& cell);
    virtual void DrawDataCell(TCanvas& canvas, TCellInfo& cell);
    virtual void DrawTitleCell(TCanvas& canvas, TCellInfo& cell);
    virtual void DrawTotalCell(TCanvas& canvas, TCellInfo& cell);

    // Backgrounds, lines and frames.
    void FillFixed(TCanvas& canvas, const TCellInfo& cell, const QRect& rect, bool hot = false,
                   bool down = false);
    void FillThemed(TCanvas& canvas, const TCellInfo& cell, const QRect& rect, int state);
    void DrawThemed(TCanvas& canvas, const TCellInfo& cell, const TThemedElementDetails& details,
                    const QRect& element, const QRect& clip);
    void DrawTabBaseLine(TCanvas& canvas, const TCellInfo& cell, const QRect& rect);
    void DrawDataRowLine(TCanvas& canvas, TCellInfo& cell);
    void DrawDataColLine(TCanvas& canvas, TCellInfo& cell);
    void DrawFixedLines(TCanvas& canvas, const TCellInfo& cell, const QRect& rect, bool pressed, bool hot);
    void DrawFocusFrame(TCanvas& canvas, const TCellInfo& cell);
    /// Runs `draw` once every cell is painted (at once outside a paint).
    void Defer(TCanvas& canvas, std::function<void(TCanvas&)> draw);

    TColor FixedLineColor() const;
    /// The default theme drawn as header items (system 6.2 on, or 6.0 on when forced).
    bool HeaderItemTheme() const;
    /// The default theme forced on by dgForceSystemTheme.
    bool ClassicThemeForced() const;
    TColor ResolvedColor(TColor color) const;
    bool ShowsSelection() const;

private:
    int ChooseIndicatorGlyph(int record);
    void DrawIndicatorGlyph(TCanvas& canvas, int glyph, const QRect& rect);
    void DrawFillerImage(TCanvas& canvas, const QRect& rect);
    void DrawCentered(TCanvas& canvas, const TCustomImageList* list, int index, const QRect& rect) const;
    QRect DrawTitleContent(TCanvas& canvas, TCellInfo& cell, TOrvoColumn* column, QRect title);
    void DrawHeaderBands(TCanvas& canvas, TCellInfo& cell, TOrvoColumn* column, const QRect& titleRect);
    void DrawHeaderBand(TCanvas& canvas, const TCellInfo& cell, const QRect& band, const QString& text);
    void DrawHeaderBandLines(TCanvas& canvas, const TCellInfo& cell, const QRect& band);
    void DrawSystemArrow(TCanvas& canvas, int markerIndex, const QRect& box);
    void DrawFixedCellLines(TCanvas& canvas, const TCellInfo& cell, const QRect& rect);
    void DrawFixedEdges(TCanvas& canvas, const TCellInfo& cell, const QRect& frame, TColor brush);
    void DrawTotalBox(TCanvas& canvas, const TCellInfo& cell, const QRect& rect);
    static void FillLine(TCanvas& canvas, const QRect& line, TColor color);
    static void DrawTitleButtonState(TCanvas& canvas, const QRect& frame, bool pressed,
                                     THotButtons hotButtons, TFixedStyle style, bool raised, bool both);
    /// The pressed or hot look of a title's drop-down part, over that part alone.
    void DrawDropDownState(TCanvas& canvas, const TCellInfo& cell, const TOrvoColumn* column,
                           const QRect& area);
    void DrawHeaderStyleButton(TCanvas& canvas, const QRect& button, int state);
    void DrawArrowButton(TCanvas& canvas, const QRect& button, int glyph, int state);
    QRect GradientButtonRect(const TCellInfo& cell, const QRect& button) const;
    QRect DrawTitleButton(TCanvas& canvas, const TCellInfo& cell, TOrvoColumn* column, const QRect& area);
    QRect DrawMarker(TCanvas& canvas, const TCellInfo& cell, TOrvoColumn* column, QRect caption);
    TOrvoColumnTotal* TotalOf(const TCellInfo& cell) const;
    /// Whether a total cell shows the results of the selected rows in the selected colour.
    bool ShowsSelectedTotal(const TCellInfo& cell, const TOrvoColumnTotal* total) const;
    bool ColumnInSelection(const TOrvoColumn* column) const;
    bool TotalIsBoxed(const TCellInfo& cell, const TOrvoColumnTotal* total, const QString& text) const;
    void DrawDataContent(TCanvas& canvas, TCellInfo& cell, const QString& text, bool highlight,
                         TSelections selections);
    void DrawSearchMatch(TCanvas& canvas, const TOrvoTextLayout::TResult& laid, TColor color);
    void DrawOwnerCell(TCanvas& canvas, const TCellInfo& cell);
    void DrawHeaderItemGaps(TCanvas& canvas, const TCellInfo& cell);
    void DrawDataText(TCanvas& canvas, const TCellInfo& cell, const QRect& rect, const QString& text);
    int CalcImageIndex(TOrvoColumn* column, int index) const;
    /// 0 collapsed, 1 expanded, 2 no box: the tree view's state of the row being painted.
    int TreeDepth(const TOrvoColumn* column) const;
    /// 0 normal, 1 pressed, 2 hot, 3 disabled, for a box the mouse toggles.
    int ButtonStateOf(const TCellInfo& cell, bool toggles, bool togglesOnSelect) const;
    QObject* CellImage(const TCellInfo& cell);
    QObject* CheckBoxPicture(const TCellInfo& cell);
    QObject* ExpandBoxPicture(const TCellInfo& cell);
    static QObject* BlobPicture(const TOrvoColumn* column);
    QRect AlignedImageRect(const TCellInfo& cell, const QRect& area, const QSize& size,
                           bool rightToLeft) const;
    void DrawCellImage(TCanvas& canvas, const TCellInfo& cell, const TCellPicture& picture, const QRect& area,
                       bool rightToLeft);
    void DrawTiles(QPainter* painter, const TCellInfo& cell, const QImage& tile, const QRect& area,
                   bool rightToLeft) const;
    int FirstShownScrollableCol() const;
    int LastShownCol() const;

    TOrvoCustomDBGrid& FGrid;
    int FSavedActiveRecord = -1;
    bool FPainting = false;
    std::vector<std::function<void(TCanvas&)>> FDeferred;
    std::vector<QRect> FDrawnBands;
    TOrvoColumn* FHotTitle = nullptr;
    bool FHotDropDown = false;
    TOrvoColumn* FPressedTitle = nullptr;
    bool FPressedDropDown = false;
    bool FFillerPressed = false;
    QPoint FMouseCell{-1, -1};
    bool FMousePressed = false;
    bool FExtendingRange = false;
    std::unique_ptr<TCustomImageList> FMarkers;
    int FMarkerKey = -1;
};

} // namespace orvo
