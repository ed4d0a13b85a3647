#pragma once

#include "grid/dbgrid/dbgridenums.h"
#include "platform/core/tcolor.h"
#include "platform/core/tpersistent.h"
#include "platform/data/tdatasource.h"
#include "platform/graphics/tcustomimagelist.h"
#include "platform/graphics/tfont.h"

#include <QPointer>

#include <memory>

namespace orvo {

class TDataSet;
class TOrvoCustomDBGrid;
class TOrvoTotalDataLink;

/// The grid's total rows settings (the grid property Totals): the look of total
/// cells, whether aggregates are computed, and the second "totals" dataset whose
/// records the total field rows show through the totals data link.
class TOrvoDBGridTotals : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(bool Active READ Active STORED false)
    Q_PROPERTY(orvo::TCheckBoxStyle BoxStyle READ BoxStyle WRITE SetBoxStyle)
    Q_PROPERTY(bool CalcValues READ CalcValues WRITE SetCalcValues)
    Q_PROPERTY(orvo::TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(int DataMaxRow READ DataMaxRow WRITE SetDataMaxRow)
    Q_PROPERTY(orvo::TDataSource* DataSource READ DataSource WRITE SetDataSource)
    Q_PROPERTY(orvo::TFont Font READ Font WRITE SetFont)
    Q_PROPERTY(orvo::TCustomImageList* Images READ Images WRITE SetImages)
    Q_PROPERTY(int LinesCount READ LinesCount WRITE SetLinesCount)
    Q_PROPERTY(orvo::TColor SelectedColor READ SelectedColor WRITE SetSelectedColor)

public:
    static constexpr int DefaultDataMaxRow = 5;

    explicit TOrvoDBGridTotals(TOrvoCustomDBGrid* grid);
    ~TOrvoDBGridTotals() override;

    TOrvoCustomDBGrid* Grid() const { return FGrid; }
    TOrvoTotalDataLink* DataLink() const { return FDataLink.get(); }
    void Assign(const TPersistent* source) override;

    /// Any total row is shown, or rows that show selected-row results may appear.
    bool Active() const;
    /// The rule of Active for a set of the grid's extended options.
    static bool ActiveFor(TOrvoDBGridOptionsEx options);
    /// Raises the unidirectional-dataset error for a dataset the totals cannot buffer.
    static void CheckBidirectional(const TDataSet* dataSet);

    TCheckBoxStyle BoxStyle() const { return FBoxStyle; }
    void SetBoxStyle(TCheckBoxStyle value);
    bool CalcValues() const { return FCalcValues; }
    void SetCalcValues(bool value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    /// Stored only when apart from the grid's FixedColor.
    bool IsColorStored() const;
    /// Most records of the totals dataset shown as rows; 0 shows them all.
    int DataMaxRow() const { return FDataMaxRow; }
    void SetDataMaxRow(int value);
    TDataSource* DataSource() const;
    void SetDataSource(TDataSource* value);
    TFont Font() const { return FFont; }
    void SetFont(const TFont& value);
    /// Stored unless the grid takes its parent's font or the font is the grid's.
    bool IsFontStored() const;
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    int LinesCount() const { return FLinesCount; }
    void SetLinesCount(int value);
    TColor SelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor value);

    /// Whether rows or columns are selected, as the selection events last reported.
    bool SelectedRowsPresent() const { return FSelectedRowsPresent; }
    void SetSelectedRowsPresent(bool value) { FSelectedRowsPresent = value; }
    bool SelectedColsPresent() const { return FSelectedColsPresent; }
    void SetSelectedColsPresent(bool value) { FSelectedColsPresent = value; }

private:
    bool BoxShown() const;
    void RequestLayout();

    TOrvoCustomDBGrid* FGrid;
    std::unique_ptr<TOrvoTotalDataLink> FDataLink;
    TCheckBoxStyle FBoxStyle = cbAuto;
    bool FCalcValues = true;
    TColor FColor = clBtnFace;
    int FDataMaxRow = DefaultDataMaxRow;
    TFont FFont;
    QPointer<TCustomImageList> FImages;
    int FLinesCount = 1;
    TColor FSelectedColor = clDefault;
    bool FSelectedRowsPresent = false;
    bool FSelectedColsPresent = false;
};

} // namespace orvo
