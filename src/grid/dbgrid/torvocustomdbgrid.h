#pragma once

#include "grid/dbgrid/dbgridenums.h"
#include "grid/dbgrid/torvodbgriddefaults.h"
#include "grid/dbgrid/torvodbgridevents.h"
#include "grid/input/torvodbgridinputapi.h"
#include "grid/order/torvodbgridorderapi.h"
#include "grid/selection/torvodbgridselectionapi.h"
#include "platform/core/tvariant.h"
#include "platform/graphics/tcustomimagelist.h"
#include "platform/graphics/tfont.h"
#include "platform/gridbase/tcustomgrid.h"

#include <memory>
#include <vector>

class QMenu;

namespace orvo {

class TBitmap;
class TDataSet;
class TDataSource;
class TField;
class TOrvoBookmarkList;
class TOrvoColumn;
class TOrvoColumnList;
class TOrvoColumnTotal;
class TOrvoColumnTotalValue;
class TOrvoDBGridPainter;
class TOrvoDBGridColumns;
class TOrvoDBGridFilter;
class TOrvoDBGridGradient;
class TOrvoDBGridSearch;
class TOrvoDBGridSettings;
class TOrvoDBGridTotals;
class TOrvoDBGridTreeView;
class TOrvoGridDataLink;
class TOrvoGridScrollBars;
class TOrvoGridStretching;
class TOrvoGridStyle;
class TOrvoScrollProp;
class TOrvoTotalDataLink;
struct TOrvoCustomDBGridPrivate;

/// The data grid: shows the records of a dataset as rows and its fields as columns.
/// It owns its columns, its data link and a family of settings objects (filter,
/// search, tree view, totals, settings, style, scroll properties, gradient), each
/// made by an overridable factory so that a descendant such as a popup list can
/// supply its own class. TOrvoDBGrid is the class forms place; it publishes the
/// properties declared here.
///
/// Property setters compare, store and then request the narrowest refresh that
/// shows the change, usually a layout pass (LayoutChanged), which requests made
/// while a pass is open fold into.
class TOrvoCustomDBGrid : public TCustomGrid,
                          public TOrvoDBGridEvents,
                          public TOrvoDBGridDefaults,
                          public TOrvoDBGridSelectionApi,
                          public TOrvoDBGridInputApi,
                          public TOrvoDBGridOrderApi
{
    Q_OBJECT
    friend class TOrvoDBGridPainter;
    friend class TOrvoDBGridColumns; // reads column streams into a collection of the grid's own class
    friend class TOrvoGridScrollBars;
    friend class TOrvoGridStretching;
    friend class TOrvoGridRowLayout;

public:
    explicit TOrvoCustomDBGrid(QWidget* parent = nullptr);
    ~TOrvoCustomDBGrid() override;

    // --- Lifecycle ---------------------------------------------------------------------
    /// Marks the grid as being read from a stored form: setters then store without
    /// the work a change at run time does, until Loaded finishes the grid.
    void BeginLoad();
    virtual void Loaded();
    bool IsLoading() const;
    /// Forms are only edited in the program that runs them: design-time rules never apply.
    bool IsDesigning() const { return false; }
    bool IsDestroying() const;
    bool IsBusy() const;

    // --- Locks and the layout pass ----------------------------------------------------
    void BeginUpdate();
    void EndUpdate();
    void BeginLayout();
    void EndLayout();
    void CancelLayout();
    /// Runs a layout pass once control returns to the event loop.
    void DeferLayout();
    qint64 UpdateLock() const;
    qint64 LayoutLock() const;

    // --- Owned parts ----------------------------------------------------------------------
    TOrvoDBGridColumns* Columns() const;
    void SetColumns(const TOrvoDBGridColumns* value);
    TOrvoDBGridFilter* FilterGrid() const;
    void SetFilterGrid(const TOrvoDBGridFilter* value);
    TOrvoDBGridSearch* Search() const;
    void SetSearch(const TOrvoDBGridSearch* value);
    TOrvoDBGridTreeView* TreeView() const;
    void SetTreeView(const TOrvoDBGridTreeView* value);
    TOrvoGridDataLink* DataLink() const;
    TOrvoGridStyle* GridStyle() const;
    void SetGridStyle(const TOrvoGridStyle* value);
    TOrvoScrollProp* ScrollProp() const;
    void SetScrollProp(const TOrvoScrollProp* value);
    TOrvoDBGridSettings* Settings() const;
    void SetSettings(const TOrvoDBGridSettings* value);
    TOrvoDBGridGradient* Gradient() const;
    void SetGradient(const TOrvoDBGridGradient* value);
    TOrvoDBGridTotals* Totals() const;
    void SetTotals(const TOrvoDBGridTotals* value);
    TOrvoBookmarkList* SelectedRows() const;
    TOrvoColumnList* SelectedCols() const;
    /// The indicator, check-box and expand-box glyphs every grid paints with.
    TCustomImageList* IndicatorList() const;
    TCustomImageList* CheckBoxList() const;
    TCustomImageList* ExpandBoxList() const;
    /// The bitmap cells are composed in while painting, shared by every grid.
    static TBitmap* ScratchBitmap();

    // --- Data --------------------------------------------------------------------------
    TDataSource* DataSource() const;
    void SetDataSource(TDataSource* value);
    TDataSet* DataSet() const;
    QString Filter() const;
    void SetFilter(const QString& value);
    bool Filtered() const;
    void SetFiltered(bool value);
    TFilterRecordEvent OnFilterRecord() const;
    void SetOnFilterRecord(TFilterRecordEvent value);
    QString KeyFields() const;
    void SetKeyFields(const QString& value);
    QString DetailFields() const;
    void SetDetailFields(const QString& value);
    /// The sort order as "Name[ DESC],...": read from the marked columns, or the stored
    /// order text while default columns wait for their dataset to open.
    QString OrderFields() const;
    void SetOrderFields(const QString& value);
    bool ReadOnly() const;
    void SetReadOnly(bool value);

    // --- Options ------------------------------------------------------------------------
    TOrvoDBGridOptions Options() const;
    void SetOptions(TOrvoDBGridOptions value);
    TOrvoDBGridOptionsEx OptionsEx() const;
    void SetOptionsEx(TOrvoDBGridOptionsEx value);
    TOrvoDBGridOptionsExt OptionsExt() const;
    void SetOptionsExt(TOrvoDBGridOptionsExt value);
    TOrvoResizeOptions ResizeOptions() const;
    void SetResizeOptions(TOrvoResizeOptions value);
    TOrvoHintOptions HintOptions() const;
    void SetHintOptions(TOrvoHintOptions value);
    TMultiSelectOptions MultiSelectOptions() const;
    void SetMultiSelectOptions(TMultiSelectOptions value);
    TOrvoDBGridToolMenuItems ToolMenuItems() const;
    void SetToolMenuItems(TOrvoDBGridToolMenuItems value);
    TOrvoDBGridToolMenuSubItems ToolMenuSubItems() const;
    void SetToolMenuSubItems(TOrvoDBGridToolMenuSubItems value);
    TOrvoDBGridToolMenuSubItemsEx ToolMenuSubItemsEx() const;
    void SetToolMenuSubItemsEx(TOrvoDBGridToolMenuSubItemsEx value);

    // --- Colours and drawing ---------------------------------------------------------------
    TColor DataColLineColor() const;
    void SetDataColLineColor(TColor value);
    TColor DataRowLineColor() const;
    void SetDataRowLineColor(TColor value);
    TColor EditorColor() const;
    void SetEditorColor(TColor value);
    TColor HighlightText() const;
    void SetHighlightText(TColor value);
    TColor SelectCellColor() const;
    void SetSelectCellColor(TColor value);
    TColor SelectionColor() const;
    void SetSelectionColor(TColor value);
    TColor SelectRowColor() const;
    void SetSelectRowColor(TColor value);
    TColor StripeColor() const;
    void SetStripeColor(TColor value);
    /// Also moves FillerColor, HeaderColor and the totals' colour while they follow it.
    void SetFixedColor(TColor value);
    TColor FillerColor() const;
    void SetFillerColor(TColor value);
    TColor HeaderColor() const;
    void SetHeaderColor(TColor value);
    TGridDrawingOptions DrawingOptions() const;
    void SetDrawingOptions(TGridDrawingOptions value);
    /// Sets or clears one drawing option without touching its colour (the totals'
    /// selected colour reports through it).
    void UpdateDrawingOption(TGridDrawingOption option, bool on);
    TGridDrawingStyle DrawingStyle() const;
    void SetDrawingStyle(TGridDrawingStyle value);
    bool DefaultDrawing() const;
    void SetDefaultDrawing(bool value);

    // --- Look ------------------------------------------------------------------------------
    TFixedStyle FixedStyle() const;
    void SetFixedStyle(TFixedStyle value);
    TFixedTheme FixedTheme() const;
    void SetFixedTheme(TFixedTheme value);
    TFocusRect FocusRect() const;
    void SetFocusRect(TFocusRect value);
    THotButtons HotButtons() const;
    void SetHotButtons(THotButtons value);
    TListBorder ListBorder() const;
    void SetListBorder(TListBorder value);
    TMarkerStyle MarkerStyle() const;
    void SetMarkerStyle(TMarkerStyle value);
    TMarkerTransparent MarkerTransparent() const;
    void SetMarkerTransparent(TMarkerTransparent value);
    bool Ctl3D() const;
    /// Setting it by hand ends the automatic rule (Ctl3DAuto).
    void SetCtl3D(bool value);
    bool Ctl3DAuto() const;
    void SetCtl3DAuto(bool value);
    bool ParentCtl3D() const;
    void SetParentCtl3D(bool value);
    void SetBorderStyle(TBorderStyle value);
    void SetGridLineWidth(int value);
    void SetScrollBars(TScrollStyle value);
    /// What was asked for; the base grid keeps only the horizontal bar of it.
    TScrollStyle ScrollBars() const;
    bool DoubleBuffered() const;
    void SetDoubleBuffered(bool value);
    void SetBiDiMode(Qt::LayoutDirection value);
    Qt::LayoutDirection BiDiMode() const { return layoutDirection(); }

    // --- Fonts -------------------------------------------------------------------------------
    TFont Font() const;
    void SetFont(const TFont& value);
    bool ParentFont() const;
    void SetParentFont(bool value);
    TFont TitleFont() const;
    void SetTitleFont(const TFont& value);
    TFont HeaderFont() const;
    void SetHeaderFont(const TFont& value);

    // --- Sizes and counts -------------------------------------------------------------------
    void SetFixedCols(int value);
    /// The frozen data columns the property asks for (the base grid's FixedCols adds the indicator).
    int FixedColsProperty() const;
    int IndicatorWidth() const;
    void SetIndicatorWidth(int value);
    int DefaultWidthMax() const;
    void SetDefaultWidthMax(int value);
    int DefaultWidthMin() const;
    void SetDefaultWidthMin(int value);
    int StretchWidthMax() const;
    void SetStretchWidthMax(int value);
    int StretchWidthMin() const;
    void SetStretchWidthMin(int value);
    bool StretchMode() const;
    void SetStretchMode(bool value);
    /// Stretching is in force: StretchMode on and the link active.
    bool Stretching() const;
    /// The width column `index` is shown with: its stretched width while stretching,
    /// else its base width (a hidden column: its Width).
    int ShownColumnWidth(int index) const;
    /// The base width a shown width stands for under the last distribution (shown width ×
    /// base widths ÷ space shared); the width itself when nothing was shared.
    int StretchBaseWidth(int shownWidth) const;
    /// True while the grid itself hands out stretched widths.
    bool DistributingWidths() const;
    int HeaderLinesCount() const;
    void SetHeaderLinesCount(int value);
    int TitleLinesCount() const;
    void SetTitleLinesCount(int value);
    int LinesCount() const;
    void SetLinesCount(int value);
    int LinesCountMax() const;
    void SetLinesCountMax(int value);
    int LinesCountMin() const;
    void SetLinesCountMin(int value);
    int WheelScrollRows() const;
    void SetWheelScrollRows(int value);

    // --- Filler, indicator, titles -----------------------------------------------------------
    bool FillerButton() const;
    void SetFillerButton(bool value);
    QString FillerHint() const;
    void SetFillerHint(const QString& value);
    int FillerIndex() const;
    void SetFillerIndex(int value);
    QMenu* FillerPopupMenu() const;
    void SetFillerPopupMenu(QMenu* value);
    bool FillerToolMenu() const;
    void SetFillerToolMenu(bool value);
    QString IndicatorHint() const;
    void SetIndicatorHint(const QString& value);
    TCustomImageList* IndicatorImages() const;
    void SetIndicatorImages(TCustomImageList* value);
    QMenu* IndicatorPopupMenu() const;
    void SetIndicatorPopupMenu(QMenu* value);
    TCustomImageList* TitleImages() const;
    void SetTitleImages(TCustomImageList* value);
    TCustomImageList* TitleMarkers() const;
    void SetTitleMarkers(TCustomImageList* value);
    QMenu* PopupMenu() const;
    void SetPopupMenu(QMenu* value);
    bool PopupToolMenu() const;
    void SetPopupToolMenu(bool value);
    bool DragRows() const;
    void SetDragRows(bool value);
    /// Kept both as the control's tooltip and as the grid's own hint text.
    QString Hint() const;
    void SetHint(const QString& value);

    // --- Master grids --------------------------------------------------------------------------
    TOrvoCustomDBGrid* MasterGrid() const;
    /// Raises EInvalidGridOperation "Circular datalinks are not allowed" when the chain
    /// of masters would lead back to this grid.
    void SetMasterGrid(TOrvoCustomDBGrid* value);
    /// The next grid in the ring of grids chained by MasterGrid; null when alone.
    TOrvoCustomDBGrid* NextGrid() const;
    /// Copies column expansion, visibility and widths, the indicator width, the frozen
    /// columns, the direction and the horizontal position to the grids that follow.
    void SynchronizeNextGrids();

    // --- Regions of the grid ---------------------------------------------------------------
    /// Grid column index = data column index + indicator column count.
    int IndicatorOffset() const;
    /// The number of title rows at the top (the base grid's fixed rows).
    int TitleOffset() const;
    /// The rows below the data rows: blank row, total header, values, fields, footer.
    int BottomRowCount() const;
    /// The first row of the bottom region.
    int FirstBottomRow() const { return RowCount() - BottomRowCount(); }
    /// What a row of the bottom region shows; `index` counts from the region's first row.
    TBottomRowKind BottomRowKind(int index) const;
    /// For a total value or total field row, its number among the rows of its kind.
    int BottomRowNumber(int index) const;
    /// The total object of `column` that a row of the bottom region shows (none for the blank row).
    TOrvoColumnTotal* TotalAtBottomRow(TOrvoColumn* column, int index) const;
    /// The data rows shown, one per buffered record (at least one).
    int DataRowCount() const;
    /// The link's record shown in grid row `row`, or -1 for a row that is not a data row
    /// or past the buffered records.
    int RecordOfRow(int row) const;
    /// The link's record that is the dataset's current one, also while a paint reads
    /// other buffered records.
    int CurrentRecord() const;
    /// The column shown in grid column `col`, null for the indicator or out of range.
    TOrvoColumn* ColumnOfGridCol(int col) const;
    /// The height of the header band above titles (0 without headers).
    int HeaderBandHeight() const;
    /// The height of one text line in the grid's font, measured by the last layout pass.
    int TextLineHeight() const;
    int VertLineWidth() const;
    int HorzLineWidth() const;
    /// The shown columns in collection order, rebuilt by every layout pass.
    const std::vector<TOrvoColumn*>& ShownColumns() const;
    /// With dgForceSequence: the record count and the current record's number (1-based).
    qint64 SequenceRecordCount() const;
    qint64 SequenceRecNo() const;
    int RawToDataColumn(int gridCol) const;
    int DataToRawColumn(int dataCol) const;
    /// The column whose FieldName equals `fieldName` (ignoring case), searched from `startIndex`.
    TOrvoColumn* ColumnByFieldName(const QString& fieldName, int startIndex = 0) const;
    TOrvoColumn* SelectedColumn() const;
    TField* SelectedField() const;

    // --- Delayed updates ------------------------------------------------------------------------
    /// The program-wide delay of every delayed update, in milliseconds.
    static int UpdateDelay();
    static void SetUpdateDelay(int milliseconds);
    /// Runs at once the delayed updates still waiting: selection events, list items,
    /// sequence and totals.
    virtual void FlushPendingUpdates();
    /// Rebuilds RowCount, the title and bottom rows, their heights and the link's
    /// buffer size from the client height.
    void UpdateRowCount();
    /// The filter model changed: applies it or tells the host.
    virtual void FilterChanged();
    /// The factory of the totals' data link (called by the totals object it serves).
    virtual TOrvoTotalDataLink* CreateTotalDataLink(TOrvoDBGridTotals* totals);
    void UpdateSequence(bool delayed);
    void UpdateTotals(bool autoUpdate);
    void UpdateListItems();

    // --- Virtual operations, in the order descendants override them ---------------------------
    virtual void DefineFieldMap();
    virtual bool CalcTotalsPass(TCalcPass pass, bool selected);
    virtual void CopyCellText(TOrvoColumn* column, int flags);
    /// The drop-down list class a column opens (null: none).
    virtual const QMetaObject* GetListClass(TOrvoColumn* column);
    virtual int GetEditorButtonKind(TOrvoColumn* column);
    virtual const QMetaObject* GetFilterFormClass();
    virtual const QMetaObject* GetAutoFilterListClass();
    virtual const QMetaObject* GetSearchPanelClass();
    virtual bool HighlightCell(int dataCol, int dataRow, TGridDrawState state);
    virtual void AdjustCtl3D();
    virtual void LayoutChanged();
    virtual void LinkActive(bool value);
    virtual void ListItemsUpdated();
    virtual void RebuildListItems();
    virtual bool FieldUsedByTotals(TField* field);
    virtual void PaintColumnCell(const QRect& rect, int dataCol, TOrvoColumn* column, bool highlight,
                                 TSelections selections, TColor& color, TFont& font, QObject*& image);
    virtual void Scroll(int distance);
    virtual void RowSelected(TSelectAction action);
    virtual void SequenceUpdated();
    virtual void SetColumnAttributes();
    virtual bool TotalCalcQuery(TDataSet* dataSet);
    virtual void TotalCalcValue(TOrvoColumnTotalValue* total, TCalcPass pass, TVariant& value);
    virtual void TotalGetText(TOrvoColumn* column, int index, QString& text, TTextKind textKind);
    virtual void TotalsChanged(TTotalsChange change, TField* field = nullptr);
    virtual void TotalsUpdated();
    virtual void CalcTotals(bool selected);
    virtual void UpdateScrollBar();
    /// Hides the flat horizontal bar when columns fit (AutoHidden), sizes its thumb (ThumbBar).
    void UpdateHorzScrollBar();
    virtual void RecountSequence();
    /// Puts the column filters on the dataset, or gives the dataset its own filter back.
    virtual void ApplyFilter();
    /// The record test of the checked values, installed on the dataset while engaged.
    virtual void FilterRecord(TDataSet* dataSet, bool& accept);
    /// Whether FilterRecord accepts exactly the records whose checked values match, so that
    /// a dataset may select those itself without calling it. A descendant whose FilterRecord
    /// tests anything more overrides this to answer false.
    virtual bool FilterRecordIsCheckedValues() const;
    virtual void SetDataSetFilter(bool filtered, const QString& filter, const QString& keyFields,
                                  TFilterRecordEvent handler);
    virtual QString PickValueToText(TOrvoColumn* column, const TVariant& value);
    virtual TVariant PickTextToValue(TOrvoColumn* column, const QString& text);
    /// One stored value shown: AutoNumber row numbers, looked-up texts, else the pick-list text.
    virtual QString ColumnValueText(TOrvoColumn* column, const QString& text, TTextKind textKind);
    virtual QString ColGetText(TOrvoColumn* column, TTextKind textKind);
    virtual void ColSetText(TOrvoColumn* column, QString& text);
    /// The program-wide format of AutoNumber row numbers ("%d." until changed).
    static QString& AutoNumberFormat();
    /// Makes `text` the grid's edit text and shows it in the open cell editor.
    void SetEditorText(const QString& text);
    virtual void ShowFilterForm();
    virtual void ShowAutoFilterList(TOrvoColumn* column);
    virtual void ShowPopupMenu(TOrvoColumn* column, THintCell cell, const QPoint& globalPos);
    virtual QString GetTotalText(TOrvoColumn* column, int index, TTextKind textKind);
    virtual void OrderUpdated();
    virtual void FlushUpdates();
    virtual void ShowSearchPanel();
    virtual void PositionSearchPanel();

    // --- Data-link handlers ---------------------------------------------------------------------
    virtual void DataChanged();
    virtual void EditingChanged();
    virtual void RecordChanged(TField* field);
    /// Sets the fields of the columns whose lookup result is keyed on `keyField`.
    void UpdateLookupResults(TField* keyField);
    /// Makes the column of `field` current and opens its editor; false when it cannot.
    bool FocusField(TField* field);
    virtual void UpdateData();
    /// A field the columns may show is about to leave its dataset.
    void FieldRemoving(TField* field);

    friend class TOrvoColumn; // toggles a check box only where the cell may be modified
    friend class TOrvoGridSelection;
    friend class TOrvoColumnList;

    // --- Long operations -------------------------------------------------------------------
    /// Walks of the whole dataset (a report, an export) run inside this bracket: afterwards the
    /// grid shows the record it showed before, at the same row.
    void BeginLongOperation();
    void EndLongOperation();
    /// What the current column's input-method settings ask for; the rest as any widget.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
    /// Selects the constructor that leaves the owned parts to CreateParts.
    struct TDeferredParts
    {};
    /// For a descendant that overrides a factory; it calls CreateParts at the end of its constructor.
    TOrvoCustomDBGrid(QWidget* parent, TDeferredParts);
    /// Makes the owned parts through the factories and finishes the grid's set-up; once.
    void CreateParts();
    TOrvoGridSelection& SelectionPart() const override;
    TOrvoGridOrder& OrderPart() const override;
    friend class TOrvoGridOrder;

    // --- Factories, in the order CreateParts calls them -------------------------------------------
    virtual TOrvoDBGridColumns* CreateColumns();
    virtual TOrvoDBGridFilter* CreateFilterGrid();
    virtual TOrvoDBGridSearch* CreateSearch();
    virtual TOrvoDBGridTreeView* CreateTreeView();
    virtual TOrvoGridDataLink* CreateDataLink();
    virtual TOrvoGridStyle* CreateGridStyle();
    virtual TOrvoScrollProp* CreateScrollProp();
    virtual TOrvoDBGridSettings* CreateSettings();
    virtual TOrvoDBGridGradient* CreateGradient();
    virtual TOrvoDBGridTotals* CreateTotals();
    /// The painter of cells, made on the first paint.
    virtual TOrvoDBGridPainter* CreatePainter();
    TOrvoDBGridPainter* Painter();

    void Paint(TCanvas& canvas) override;
    void DrawCell(int col, int row, const QRect& rect, TGridDrawState state) override;
    bool DrawsOwnLines() const override;

    // --- Scroll bars ---------------------------------------------------------------------------------
    /// Draws the one-pixel frame of the flat fixed styles over the border.
    virtual void PaintFlatFrame();
    void FramePainted() override;
    void ScrollRangeUpdated() override;

    // --- Grid base overrides -------------------------------------------------------------------------
    void KeyDown(int& key, TShiftState shift) override;
    void KeyPress(QChar& key) override;
    void KeyUp(int& key, TShiftState shift) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y, bool doubleClick) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseLeave() override;
    void CancelMode() override;
    bool DoMouseWheel(TShiftState shift, int delta, const QPoint& pos) override;
    void ColWidthsChanged() override;
    void ColumnMoved(int fromIndex, int toIndex) override;
    /// Edge sizing and title dragging follow the data grid's rules (TOrvoGridColumnDrag).
    void CalcSizingState(int x, int y, TGridState& state, int& index, int& sizingPos, int& sizingOfs,
                         const TGridDrawInfo& info) override;
    bool CheckColumnDrag(int& origin, int x, int y) override;
    bool EndColumnDrag(int& origin, int& destination, const QPoint& mousePt) override;
    void TopLeftChanged() override;
    void ChangeScale(int multiplier, int divisor) override;
    void RowHeightsChanged() override;
    void Resized() override;
    void VerticalScrollAction(int action) override;
    void WindowCreated() override;
    void DoExit() override;
    bool CanEditModify() override;
    /// The editor opens only on the dataset's current record.
    bool CanEditShow() override;
    /// Moving the current cell to another data row moves the dataset there first; the
    /// typed text goes to its own cell's field before the cell moves at all.
    bool SelectCell(int col, int row) override;
    // --- Typed keys, cancelling and the closing steps of activation ---------------------------------
    /// True when the link is active and the current column's field takes `key`.
    bool CanEditAcceptKey(QChar key) override;
    /// Cancels the dataset's edit or insert, with no rebuild of lists, sequence or totals.
    void Cancel();
    /// The closing steps of LinkActive, run also when the steps before them raised.
    void FinishLinkActive(bool value);
    /// Unbinds `field` from the total objects of every column; true when one was bound.
    bool UnbindTotalsFrom(const TField* field);
    QString GetEditText(int col, int row) override;
    void SetEditText(int col, int row, const QString& value) override;
    QString GetEditMask(int col, int row) override;
    int GetEditLimit() override;
    void focusInEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

    // --- Keys, mouse, wheel, input methods (TOrvoGridKeyboard, TOrvoGridMouse, TOrvoGridWheel, ...) ---
    TOrvoGridKeyboard& KeyboardPart() const override;
    TOrvoGridMouse& MousePart() const override;
    /// Fire OnColEnter/OnColExit; the entered column gets its input method (and editor: dgAlwaysShowEditor).
    virtual void ColEnter();
    virtual void ColExit();
    /// Finds Search.Text again (0 first, 1 next, 2 previous, 3 last); the grid itself finds none (false).
    virtual bool SearchGrid(int kind);
    /// The editor starts with the current column's input-method settings.
    TInplaceEdit* CreateEditor() override;
    void CharInput(const QString& text) override;
    void InputMethod(QInputMethodEvent* event) override;
    friend class TOrvoGridKeyboard;
    friend class TOrvoDBGridDropDownList; // a picked value meets the check typed text meets
    friend class TOrvoGridWheel;
    friend class TOrvoGridInputMethod;
    friend class TOrvoGridMouse;
    friend class TOrvoGridHotTracking;

    /// Raised while the grid moves the dataset or cancels an edit: no rebuild of lists, sequence, totals.
    void BeginBusy();
    void EndBusy();

    /// The layout pass the outermost EndLayout runs.
    virtual void InternalLayout();
    /// Applies the automatic 3-D rule; with `refreshFrame`, also redraws a flat border.
    void ApplyCtl3DRule(bool refreshFrame);
    /// True while the fixed cells are drawn with theme elements.
    bool ThemedFixedCells() const;

private:
    void CreateOwnedParts();
    void RemoveMixedColumns();
    void SynchronizeColumnsWithFieldMap();
    void SettleFrozenColumns();
    void MoveToActiveRecord();
    void MoveOffHiddenColumn();
    int NearestShownGridCol(int col, int firstStep) const;
    void LeaveColumnFor(int col);
    /// Columns that all fit are shown from the first scrollable one.
    void ScrollBackWhenAllFit();
    /// Scrolls the link's window so that the current record stands at `bufferRow`.
    void ShowCurrentRecordAtRow(int bufferRow);
    void PostDeferredLayout(int delay);
    void ScrollDataRowPixels(int distance, int oldRow);
    bool TilesFromGridOrColumn() const;
    void CreateGlyphLists();
    void ApplyBaseOptions(TOrvoDBGridOptions value);
    void ColorPropertyChanged(TColor& property, TColor value, TGridDrawingOption option);
    void AfterFixedFontChange(bool titles);
    void CopyParentFont();
    void ScaleColumnWidths(int multiplier, int divisor);
    void RefreshEditor();
    bool FixedCellsRefreshFrame() const;
    void RepaintFillerCell();
    /// The bookmark of the link's buffered record `record`; empty for none.
    QString BookmarkOfRecord(int record) const;
    /// Esc: typed text is dropped, or else the dataset's edit or insert cancelled.
    void ResetEdit();
    /// The row count and everything that depends on the client area's height.
    void FollowClientArea();
    void SynchronizeFrom(const TOrvoCustomDBGrid& source);
    void SnapRowsToWholeLines();
    void ReportRowResize();
    bool DelayApplies(TOrvoDBGridOptionEx delayOption) const;
    bool DelayApplies(TOrvoDBGridOptionExt delayOption) const;
    friend class TOrvoGridDelayedUpdates; // runs the updates it delays
    friend class TOrvoGridTotalsCalc;     // calculates on the grid's state
    friend class TOrvoMasterGridChain;    // hands the shared values to the next grid
    friend class TOrvoGridFilterApply;    // installs filters inside the grid's busy bracket
    void RestoreDataSetFilter();
    bool ProgramFilterIsSaved() const;
    void SetProgramFilter(bool filtered, const QString& filter, TFilterRecordEvent handler);
    void SaveSettingsOnDestroy();

    friend struct TOrvoCustomDBGridPrivate;
    std::unique_ptr<TOrvoCustomDBGridPrivate> d;
};

} // namespace orvo
