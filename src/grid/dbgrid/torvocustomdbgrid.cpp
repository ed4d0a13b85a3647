#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/dbgrid/torvocustomdbgrid_p.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvodbgridgradient.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "grid/filter/torvodbgridfilter.h"
#include "grid/painting/torvodbgridpainter.h"
#include "grid/painting/torvogridstyle.h"
#include "grid/scrolling/torvogridscrollbars.h"
#include "grid/scrolling/torvoscrollprop.h"
#include "grid/search/torvodbgridsearch.h"
#include "grid/selection/torvobookmarklist.h"
#include "grid/selection/torvocolumnlist.h"
#include "grid/settings/torvodbgridsettings.h"
#include "grid/totals/torvodbgridtotals.h"
#include "grid/totals/torvototaldatalink.h"
#include "grid/treeview/torvodbgridtreeview.h"
#include "platform/core/exceptions.h"
#include "platform/core/texceptionhandler.h"
#include "platform/core/tsystemprofile.h"
#include "platform/data/tdataset.h"
#include "platform/data/tdatasource.h"
#include "platform/graphics/tbitmap.h"
#include "platform/graphics/tcustomimagelist.h"
#include "platform/graphics/tglyphstrips.h"

#include <QFontMetrics>
#include <QScopeGuard>

namespace orvo {

namespace {

/// The scratch bitmap every grid of the process paints through: made by the first
/// grid, freed with the last.
struct TSharedScratch
{
    int Users = 0;
    std::unique_ptr<TBitmap> Bitmap;
};

TSharedScratch& SharedScratch()
{
    static TSharedScratch scratch;
    return scratch;
}

std::unique_ptr<TCustomImageList> GlyphList(const QString& resourceName, bool maskAsBackground)
{
    TBitmap strip;
    strip.LoadFromResourceName(resourceName);
    auto list = std::make_unique<TCustomImageList>(strip.Height(), strip.Height());
    list->AddMasked(strip, TGlyphStrips::MaskColor);
    if (maskAsBackground)
        list->SetBkColor(TGlyphStrips::MaskColor);
    return list;
}

} // namespace

TOrvoCustomDBGrid::TOrvoCustomDBGrid(QWidget* parent, TDeferredParts)
    : TCustomGrid(parent), d(std::make_unique<TOrvoCustomDBGridPrivate>())
{
    d->FDelayed = std::make_unique<TOrvoGridDelayedUpdates>(*this);
    d->FChain = std::make_unique<TOrvoMasterGridChain>(*this);
    d->FScrollBars = std::make_unique<TOrvoGridScrollBars>(*this);
    d->FStretching = std::make_unique<TOrvoGridStretching>(*this);
    d->FKeyboard = std::make_unique<TOrvoGridKeyboard>(*this);
    d->FWheel = std::make_unique<TOrvoGridWheel>(*this);
    d->FMouse = std::make_unique<TOrvoGridMouse>(*this);
    d->FInputMethod = std::make_unique<TOrvoGridInputMethod>(*this);
    d->FOrder = std::make_unique<TOrvoGridOrder>(*this);
    d->FTotalsCalc = std::make_unique<TOrvoGridTotalsCalc>(*this);
    d->FFilterApply = std::make_unique<TOrvoGridFilterApply>(*this);
    CreateGlyphLists();
    d->FOptions = DefaultOptions;
    if (TSystemProfile::Current().IsKorean())
        d->FOptions.Include(dgAlwaysShowEditor);
    d->FOptionsEx = DefaultOptionsEx;
    d->FOptionsExt = DefaultOptionsExt;
    if (SharedScratch().Users++ == 0)
        SharedScratch().Bitmap = std::make_unique<TBitmap>();
    TCustomGrid::SetScrollBars(ssHorizontal);
    TCustomGrid::SetOptions(
        {goVertLine, goHorzLine, goRowSizing, goColSizing, goColMoving, goEditing, goTabs});
    const QFont startFont = font();
    d->FTitleFont = TFont(startFont, d->FFontColor);
    d->FHeaderFont = TFont(startFont, d->FFontColor);
}

TOrvoCustomDBGrid::TOrvoCustomDBGrid(QWidget* parent) : TOrvoCustomDBGrid(parent, TDeferredParts())
{
    CreateParts();
}

void TOrvoCustomDBGrid::CreateParts()
{
    if (d->FColumns)
        return;
    CreateOwnedParts();
    SetRowCount(2);
    SetColCount(2);
    SetColor(clWindow);
    TCustomGrid::SetFixedColor(clBtnFace);
    ApplyBaseOptions(d->FOptions);
    HideEditor();
    d->FParentFontHeight = QFontMetrics(font()).height();
}

TOrvoCustomDBGrid::~TOrvoCustomDBGrid()
{
    d->FDestroying = true;
    // A data source among the grid's own children is freed after this body: its going
    // must not reach a grid whose parts are gone.
    disconnect(d->FDataSourceWatch);
    // A descendant's constructor may have failed before CreateParts made every part.
    const bool partsMade = d->FDataLink && d->FSettings && d->FTotals;
    if (partsMade)
        TExceptionHandler::Guard([this] { RestoreDataSetFilter(); });
    d->FDelayed->DropPending();
    if (partsMade)
        SaveSettingsOnDestroy();
    d->FIndicatorImages = nullptr;
    d->FTitleImages = nullptr;
    d->FTitleMarkers = nullptr;
    d->FChain->Leave();
    // The link goes before the parts it reports to.
    if (d->FDataLink)
        d->FDataLink->SetDataSource(nullptr);
    d->FDataLink.reset();
    delete d->FTotals;
    delete d->FGradient;
    delete d->FSettings;
    delete d->FScrollProp;
    delete d->FGridStyle;
    d->FSelectedCols.reset();
    d->FSelectedRows.reset();
    d->FSelection.reset();
    delete d->FTreeView;
    delete d->FSearch;
    delete d->FFilterGrid;
    delete d->FColumns;
    if (--SharedScratch().Users == 0)
        SharedScratch().Bitmap.reset();
}

void TOrvoCustomDBGrid::CreateGlyphLists()
{
    d->FIndicatorList = GlyphList(QStringLiteral("ORVODBINDICATORS"), false);
    d->FCheckBoxList = GlyphList(QStringLiteral("ORVODBCHECKBOXES"), false);
    d->FExpandBoxList = GlyphList(QStringLiteral("ORVODBEXPANDBOXES"), true);
}

void TOrvoCustomDBGrid::CreateOwnedParts()
{
    d->FSelection = std::make_unique<TOrvoGridSelection>(*this);
    d->FColumns = CreateColumns();
    d->FFilterGrid = CreateFilterGrid();
    d->FSearch = CreateSearch();
    d->FTreeView = CreateTreeView();
    d->FDataLink.reset(CreateDataLink());
    d->FSelectedRows = std::make_unique<TOrvoBookmarkList>(this);
    d->FGridStyle = CreateGridStyle();
    d->FScrollProp = CreateScrollProp();
    d->FSettings = CreateSettings();
    d->FGradient = CreateGradient();
    d->FGradient->OnChange = [this](TOrvoGradient*) { viewport()->update(); };
    d->FTotals = CreateTotals();
    d->FSelectedCols = std::make_unique<TOrvoColumnList>(this);
}

TOrvoDBGridColumns* TOrvoCustomDBGrid::CreateColumns()
{
    return new TOrvoDBGridColumns(this);
}

TOrvoDBGridFilter* TOrvoCustomDBGrid::CreateFilterGrid()
{
    return new TOrvoDBGridFilter(this);
}

TOrvoDBGridSearch* TOrvoCustomDBGrid::CreateSearch()
{
    return new TOrvoDBGridSearch(this);
}

TOrvoDBGridTreeView* TOrvoCustomDBGrid::CreateTreeView()
{
    return new TOrvoDBGridTreeView(this);
}

TOrvoGridDataLink* TOrvoCustomDBGrid::CreateDataLink()
{
    return new TOrvoGridDataLink(this);
}

TOrvoGridStyle* TOrvoCustomDBGrid::CreateGridStyle()
{
    return new TOrvoGridStyle(this);
}

TOrvoScrollProp* TOrvoCustomDBGrid::CreateScrollProp()
{
    return new TOrvoScrollProp(this);
}

TOrvoDBGridSettings* TOrvoCustomDBGrid::CreateSettings()
{
    return new TOrvoDBGridSettings(this);
}

TOrvoDBGridGradient* TOrvoCustomDBGrid::CreateGradient()
{
    return new TOrvoDBGridGradient(this);
}

TOrvoDBGridTotals* TOrvoCustomDBGrid::CreateTotals()
{
    return new TOrvoDBGridTotals(this);
}

TOrvoDBGridPainter* TOrvoCustomDBGrid::CreatePainter()
{
    return new TOrvoDBGridPainter(*this);
}

TOrvoDBGridPainter* TOrvoCustomDBGrid::Painter()
{
    if (!d->FPainter)
        d->FPainter.reset(CreatePainter());
    return d->FPainter.get();
}

void TOrvoCustomDBGrid::Paint(TCanvas& canvas)
{
    Painter()->BeginPaint(canvas);
    const auto done = qScopeGuard([this, &canvas] { d->FPainter->EndPaint(canvas); });
    TCustomGrid::Paint(canvas);
    d->FScrollBars->CellsPainted();
}

void TOrvoCustomDBGrid::DrawCell(int col, int row, const QRect& rect, TGridDrawState state)
{
    Painter()->DrawCell(Canvas(), col, row, rect, state);
}

bool TOrvoCustomDBGrid::DrawsOwnLines() const
{
    // The painter draws data lines in their own colours and frames fixed cells and the
    // focused cell in the grid's styles.
    return true;
}

TOrvoTotalDataLink* TOrvoCustomDBGrid::CreateTotalDataLink(TOrvoDBGridTotals* totals)
{
    return new TOrvoTotalDataLink(totals);
}

// --- Lifecycle ---------------------------------------------------------------------------

void TOrvoCustomDBGrid::BeginLoad()
{
    d->FLoading = true;
}

void TOrvoCustomDBGrid::Loaded()
{
    d->FLoading = false;
    // A chain of masters read from a form is checked once the grid is read whole:
    // a cycle left in place would make every synchronisation run in circles.
    const bool circular = d->FChain->DropCircularMaster();
    if (d->FColumns->Count() > 0)
        SetColCount(d->FColumns->Count());
    LayoutChanged();
    // Stored layouts belong to customized columns; default ones load theirs when the link opens.
    if (d->FSettings->Active() && d->FColumns->State() == csCustomized)
        d->FSettings->AutoLoad();
    // Column filters read while loading are collected only now.
    if (d->FFilterGrid->HasColumnFilters() || d->FSearch->IsFiltering())
        d->FFilterGrid->Changed();
    if (circular)
        throw EInvalidGridOperation(QStringLiteral("Circular datalinks are not allowed"));
}

void TOrvoCustomDBGrid::SaveSettingsOnDestroy()
{
    // Whatever goes wrong while saving must not stop the grid from going away.
    TExceptionHandler::Guard([this] {
        if (d->FSettings && d->FSettings->Active() &&
            (d->FColumns->State() == csCustomized || d->FDataLink->Active()))
            d->FSettings->AutoSave();
    });
}

TBitmap* TOrvoCustomDBGrid::ScratchBitmap()
{
    return SharedScratch().Bitmap.get();
}

// --- Owned parts by copy -------------------------------------------------------------------

void TOrvoCustomDBGrid::SetColumns(const TOrvoDBGridColumns* value)
{
    d->FColumns->Assign(value);
}

void TOrvoCustomDBGrid::SetFilterGrid(const TOrvoDBGridFilter* value)
{
    d->FFilterGrid->Assign(value);
}

void TOrvoCustomDBGrid::SetSearch(const TOrvoDBGridSearch* value)
{
    d->FSearch->Assign(value);
}

void TOrvoCustomDBGrid::SetTreeView(const TOrvoDBGridTreeView* value)
{
    d->FTreeView->Assign(value);
}

void TOrvoCustomDBGrid::SetGridStyle(const TOrvoGridStyle* value)
{
    d->FGridStyle->Assign(value);
}

void TOrvoCustomDBGrid::SetScrollProp(const TOrvoScrollProp* value)
{
    d->FScrollProp->Assign(value);
}

void TOrvoCustomDBGrid::SetSettings(const TOrvoDBGridSettings* value)
{
    d->FSettings->Assign(value);
}

void TOrvoCustomDBGrid::SetGradient(const TOrvoDBGridGradient* value)
{
    d->FGradient->Assign(value);
    viewport()->update();
}

void TOrvoCustomDBGrid::SetTotals(const TOrvoDBGridTotals* value)
{
    d->FTotals->Assign(value);
}

// --- Data -----------------------------------------------------------------------------------

TDataSource* TOrvoCustomDBGrid::DataSource() const
{
    return d->FDataLink ? d->FDataLink->DataSource() : nullptr;
}

TDataSet* TOrvoCustomDBGrid::DataSet() const
{
    return d->FDataLink ? d->FDataLink->DataSet() : nullptr;
}

TOrvoColumn* TOrvoCustomDBGrid::ColumnByFieldName(const QString& fieldName, int startIndex) const
{
    for (int i = std::max(0, startIndex); i < d->FColumns->Count(); ++i) {
        TOrvoColumn* column = d->FColumns->Items(i);
        if (column->FieldName().compare(fieldName, Qt::CaseInsensitive) == 0)
            return column;
    }
    return nullptr;
}

TOrvoColumn* TOrvoCustomDBGrid::SelectedColumn() const
{
    const int dataCol = RawToDataColumn(Col());
    return dataCol >= 0 && dataCol < d->FColumns->Count() ? d->FColumns->Items(dataCol) : nullptr;
}

TField* TOrvoCustomDBGrid::SelectedField() const
{
    TOrvoColumn* column = SelectedColumn();
    return column ? column->Field() : nullptr;
}

} // namespace orvo
