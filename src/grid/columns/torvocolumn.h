#pragma once

#include "grid/columns/columnenums.h"
#include "grid/dbgrid/dbgridenums.h"
#include "platform/core/tcollection.h"
#include "platform/core/tcolor.h"
#include "platform/core/townvalue.h"
#include "platform/data/tfield.h"
#include "platform/graphics/tfont.h"

#include <QChar>
#include <QPointer>
#include <QStringList>

#include <functional>

class QMenu;

Q_MOC_INCLUDE(<QMenu>)
Q_MOC_INCLUDE("grid/columns/torvocolumnreport.h")
Q_MOC_INCLUDE("grid/columns/torvocolumntitle.h")
Q_MOC_INCLUDE("grid/totals/torvocolumntotalfields.h")
Q_MOC_INCLUDE("grid/totals/torvocolumntotalfooter.h")
Q_MOC_INCLUDE("grid/totals/torvocolumntotalheader.h")
Q_MOC_INCLUDE("grid/totals/torvocolumntotalvalues.h")
Q_MOC_INCLUDE("platform/data/tdataset.h")
Q_MOC_INCLUDE("platform/graphics/tcustomimagelist.h")

namespace orvo {

class TCustomImageList;
class TDataSet;
class TOrvoColumnReport;
class TOrvoColumnTitle;
class TOrvoColumnTotalFields;
class TOrvoColumnTotalFooter;
class TOrvoColumnTotalHeader;
class TOrvoColumnTotalValues;
class TOrvoCustomDBGrid;
class TOrvoDBGridColumns;

/// One column of the data grid: the field it shows (bound by name), its look, its
/// editing behaviour, and the title, report and total objects it owns. Colour, width,
/// font, alignment, read-only and IME settings follow the grid or the field until the
/// column is given a value of its own, so that an untouched column keeps tracking them;
/// only such own values are written to stored forms.
class TOrvoColumn : public TCollectionItem
{
    Q_OBJECT
    Q_PROPERTY(QString FieldName READ FieldName WRITE SetFieldName)
    Q_PROPERTY(orvo::CoreEnums::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(bool AutoNumber READ AutoNumber WRITE SetAutoNumber)
    Q_PROPERTY(orvo::ColumnEnums::TOrvoColumnButtonStyle ButtonStyle READ ButtonStyle WRITE SetButtonStyle)
    Q_PROPERTY(orvo::ColumnEnums::TCalendarDepth CalendarDepth READ CalendarDepth WRITE SetCalendarDepth)
    Q_PROPERTY(orvo::ColumnEnums::TEditCharCase CharCase READ CharCase WRITE SetCharCase)
    Q_PROPERTY(bool CheckBox READ CheckBox WRITE SetCheckBox)
    Q_PROPERTY(orvo::ColumnEnums::TCheckBoxKind CheckBoxKind READ CheckBoxKind WRITE SetCheckBoxKind)
    Q_PROPERTY(orvo::DBGridEnums::TCheckBoxStyle CheckBoxStyle READ CheckBoxStyle WRITE SetCheckBoxStyle)
    Q_PROPERTY(bool CheckBoxThemed READ CheckBoxThemed WRITE SetCheckBoxThemed)
    Q_PROPERTY(orvo::ColumnEnums::TCheckBoxToggle CheckBoxToggle READ CheckBoxToggle WRITE SetCheckBoxToggle)
    Q_PROPERTY(QString CheckBoxValues READ CheckBoxValues WRITE SetCheckBoxValues)
    Q_PROPERTY(orvo::TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(QChar DelimiterChar READ DelimiterChar WRITE SetDelimiterChar)
    Q_PROPERTY(bool DelimiterLine READ DelimiterLine WRITE SetDelimiterLine)
    Q_PROPERTY(QString DelimiterText READ DelimiterText WRITE SetDelimiterText)
    Q_PROPERTY(orvo::TDialogOptions DialogOptions READ DialogOptions WRITE SetDialogOptions)
    Q_PROPERTY(QMenu* DropDownMenu READ DropDownMenu WRITE SetDropDownMenu)
    Q_PROPERTY(int DropDownRows READ DropDownRows WRITE SetDropDownRows)
    Q_PROPERTY(int DropDownWidth READ DropDownWidth WRITE SetDropDownWidth)
    Q_PROPERTY(bool EditMemo READ EditMemo WRITE SetEditMemo)
    Q_PROPERTY(QString EditorHint READ EditorHint WRITE SetEditorHint)
    Q_PROPERTY(bool Ellipsis READ Ellipsis WRITE SetEllipsis)
    Q_PROPERTY(bool ExpandBox READ ExpandBox WRITE SetExpandBox)
    Q_PROPERTY(orvo::ColumnEnums::TExpandBoxSize ExpandBoxSize READ ExpandBoxSize WRITE SetExpandBoxSize)
    Q_PROPERTY(bool ExpandBoxThemed READ ExpandBoxThemed WRITE SetExpandBoxThemed)
    Q_PROPERTY(
        orvo::ColumnEnums::TExpandBoxToggle ExpandBoxToggle READ ExpandBoxToggle WRITE SetExpandBoxToggle)
    Q_PROPERTY(int ImageMargin READ ImageMargin WRITE SetImageMargin)
    Q_PROPERTY(bool ExpandBoxTree READ ExpandBoxTree WRITE SetExpandBoxTree)
    Q_PROPERTY(int ExpandCols READ ExpandCols WRITE SetExpandCols)
    Q_PROPERTY(bool Expanded READ ExpandedFlag WRITE SetExpanded)
    Q_PROPERTY(orvo::ColumnEnums::TOrvoColumnExpandStyle ExpandStyle READ ExpandStyle WRITE SetExpandStyle)
    Q_PROPERTY(QStringList FilterList READ FilterList WRITE SetFilterList)
    Q_PROPERTY(QString FilterText READ FilterText WRITE SetFilterText)
    Q_PROPERTY(orvo::TFont Font READ Font WRITE SetFont)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(orvo::ColumnEnums::TImageDraw ImageDraw READ ImageDraw WRITE SetImageDraw)
    Q_PROPERTY(int ImageOffsetX READ ImageOffsetX WRITE SetImageOffsetX)
    Q_PROPERTY(int ImageOffsetY READ ImageOffsetY WRITE SetImageOffsetY)
    Q_PROPERTY(orvo::TCustomImageList* Images READ Images WRITE SetImages)
    Q_PROPERTY(orvo::ColumnEnums::TImeMode ImeMode READ ImeMode WRITE SetImeMode)
    Q_PROPERTY(QString ImeName READ ImeName WRITE SetImeName)
    Q_PROPERTY(QString KeyField READ KeyField WRITE SetKeyField)
    Q_PROPERTY(orvo::TOrvoListOptions ListOptions READ ListOptions WRITE SetListOptions)
    Q_PROPERTY(orvo::ColumnEnums::TOrvoLookupColumn LookupColumn READ LookupColumn STORED false)
    Q_PROPERTY(orvo::TDataSet* LookupDataSet READ LookupDataSet WRITE SetLookupDataSet)
    Q_PROPERTY(QString LookupKeyField READ LookupKeyField WRITE SetLookupKeyField)
    Q_PROPERTY(QString LookupListFields READ LookupListFields WRITE SetLookupListFields)
    Q_PROPERTY(QString LookupListTitles READ LookupListTitles WRITE SetLookupListTitles)
    Q_PROPERTY(QString LookupListWidths READ LookupListWidths WRITE SetLookupListWidths)
    Q_PROPERTY(QString LookupParentField READ LookupParentField WRITE SetLookupParentField)
    Q_PROPERTY(QString LookupTreeViewField READ LookupTreeViewField WRITE SetLookupTreeViewField)
    Q_PROPERTY(QString LookupResultField READ LookupResultField WRITE SetLookupResultField)
    Q_PROPERTY(bool MultiSelectList READ MultiSelectList STORED false)
    Q_PROPERTY(
        orvo::ColumnEnums::TMultiSelectText MultiSelectText READ MultiSelectText WRITE SetMultiSelectText)
    Q_PROPERTY(QStringList PickList READ PickList WRITE SetPickList)
    Q_PROPERTY(orvo::TOrvoPickOptions PickOptions READ PickOptions WRITE SetPickOptions)
    Q_PROPERTY(QStringList PickText READ PickText WRITE SetPickText)
    Q_PROPERTY(QString PickTextFormat READ PickTextFormat WRITE SetPickTextFormat)
    Q_PROPERTY(QMenu* PopupMenu READ PopupMenu WRITE SetPopupMenu)
    Q_PROPERTY(bool QuickDraw READ QuickDraw WRITE SetQuickDraw)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(orvo::TOrvoColumnReport* Report READ Report)
    Q_PROPERTY(bool ShowBlob READ ShowBlob WRITE SetShowBlob)
    Q_PROPERTY(bool ShowEdit READ ShowEdit WRITE SetShowEdit)
    Q_PROPERTY(bool SuppressRTL READ SuppressRTL WRITE SetSuppressRTL)
    Q_PROPERTY(orvo::TOrvoColumnTitle* Title READ Title)
    Q_PROPERTY(bool ToolTips READ ToolTips WRITE SetToolTips)
    Q_PROPERTY(orvo::ColumnEnums::TToolTipsWidth ToolTipsWidth READ ToolTipsWidth WRITE SetToolTipsWidth)
    Q_PROPERTY(orvo::TOrvoColumnTotalFields* TotalFields READ TotalFields)
    Q_PROPERTY(orvo::TOrvoColumnTotalFooter* TotalFooter READ TotalFooter)
    Q_PROPERTY(orvo::TOrvoColumnTotalHeader* TotalHeader READ TotalHeader)
    Q_PROPERTY(orvo::TOrvoColumnTotalValues* TotalValues READ TotalValues)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(orvo::TColor TransparentColor READ TransparentColor WRITE SetTransparentColor)
    Q_PROPERTY(orvo::ColumnEnums::TVAlignment VAlignment READ VAlignment WRITE SetVAlignment)
    Q_PROPERTY(bool Visible READ VisibleFlag WRITE SetVisible)
    Q_PROPERTY(bool Wallpaper READ Wallpaper WRITE SetWallpaper)
    Q_PROPERTY(int WidthMax READ WidthMax WRITE SetWidthMax)
    Q_PROPERTY(int WidthMin READ WidthMin WRITE SetWidthMin)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int WidthBase READ WidthBase WRITE SetWidthBase STORED false)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)

public:
    /// The texts CheckBoxValues holds until set: the checked and unchecked text.
    static QString DefaultCheckBoxValues();
    /// The width of a column that has no grid to measure with.
    static constexpr int NoGridWidth = 64;
    /// The widest a column is made: a stored layout or form with a wider one would take
    /// the sums of widths beyond what pixel arithmetic can hold.
    static constexpr int MaxWidth = 32767;

    explicit TOrvoColumn(TCollection* collection = nullptr);
    ~TOrvoColumn() override;

    // --- Owner and binding --------------------------------------------------------------
    TOrvoDBGridColumns* Columns() const;
    TOrvoCustomDBGrid* Grid() const;
    /// The bound field, looked up by FieldName on first use once the grid's dataset is open
    /// or has persistent fields.
    TField* Field() const;
    /// Binds a field (nullptr unbinds); FieldName takes its full name.
    void SetField(TField* field);
    QString FieldName() const { return FFieldName; }
    void SetFieldName(const QString& value);
    /// True for a column the user defined; false for one the grid made from a field.
    bool Stored() const { return FStored; }
    /// Only the grid's default-column creation clears it.
    void SetStored(bool value) { FStored = value; }

    // --- Values that follow a default until set -----------------------------------------
    TAlignment Alignment() const;
    void SetAlignment(TAlignment value);
    TColor Color() const;
    void SetColor(TColor value);
    TFont Font() const;
    void SetFont(const TFont& value);
    TImeMode ImeMode() const;
    void SetImeMode(TImeMode value);
    QString ImeName() const;
    void SetImeName(const QString& value);
    bool ReadOnly() const;
    void SetReadOnly(bool value);
    /// The width the grid gives a shown column (its stretched width while the grid
    /// stretches); a hidden one reads minus the vertical line width so that the base grid
    /// gives it no room. A form being written reads the base width, shown or not. Written
    /// while stretching, the width is scaled back to the base width it stands for.
    int Width() const;
    void SetWidth(int value);
    /// The stored or default width: the share stretching distributes from, and what
    /// forms and layout lines keep. Written while stretching it redistributes the shares.
    int WidthBase() const;
    void SetWidthBase(int value);
    /// The width measured from the field and its title within the grid's limits.
    int DefaultWidth() const;
    int WidthMax() const { return FWidthMax; }
    void SetWidthMax(int value);
    int WidthMin() const { return FWidthMin; }
    void SetWidthMin(int value);
    /// The width last read from a stored form; -1 until then.
    int LoadedWidth() const { return FLoadedWidth; }

    // Whether property P belongs in a stored form: a writer asks the invokable IsPStored()
    // where a class has one (Qt's STORED takes no functions).
    Q_INVOKABLE bool IsAlignmentStored() const;
    Q_INVOKABLE bool IsColorStored() const;
    Q_INVOKABLE bool IsFontStored() const { return FFont.IsSet(); }
    Q_INVOKABLE bool IsImeModeStored() const;
    Q_INVOKABLE bool IsImeNameStored() const;
    Q_INVOKABLE bool IsReadOnlyStored() const;
    Q_INVOKABLE bool IsWidthStored() const;
    Q_INVOKABLE bool IsCheckBoxValuesStored() const { return FCheckBoxValues != DefaultCheckBoxValues(); }
    Q_INVOKABLE bool IsKeyFieldStored() const;
    Q_INVOKABLE bool IsLookupStored() const;
    Q_INVOKABLE bool IsLookupResultFieldStored() const;

    /// Forgets every own value and resets the look and behaviour settings (the field
    /// binding and the lookup definition stay), the title, report and totals included.
    virtual void RestoreDefaults();
    /// Copies another column's settings: own values only where the source has them.
    void Assign(const TPersistent* source) override;

    // --- Plain settings -------------------------------------------------------------------
    bool AutoNumber() const { return FAutoNumber; }
    void SetAutoNumber(bool value);
    TOrvoColumnButtonStyle ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(TOrvoColumnButtonStyle value);
    TCalendarDepth CalendarDepth() const { return FCalendarDepth; }
    void SetCalendarDepth(TCalendarDepth value);
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase value);
    bool CheckBox() const { return FCheckBox; }
    /// Switching it on switches the expand box off and caps ImageDraw.
    void SetCheckBox(bool value);
    TCheckBoxKind CheckBoxKind() const { return FCheckBoxKind; }
    void SetCheckBoxKind(TCheckBoxKind value);
    TCheckBoxStyle CheckBoxStyle() const { return FCheckBoxStyle; }
    void SetCheckBoxStyle(TCheckBoxStyle value);
    bool CheckBoxThemed() const { return FCheckBoxThemed; }
    void SetCheckBoxThemed(bool value);
    TCheckBoxToggle CheckBoxToggle() const { return FCheckBoxToggle; }
    void SetCheckBoxToggle(TCheckBoxToggle value);
    /// Checked and unchecked text separated by ";"; an empty value restores the default.
    QString CheckBoxValues() const { return FCheckBoxValues; }
    void SetCheckBoxValues(const QString& value);
    QChar DelimiterChar() const { return FDelimiterChar; }
    void SetDelimiterChar(QChar value);
    bool DelimiterLine() const { return FDelimiterLine; }
    void SetDelimiterLine(bool value);
    QString DelimiterText() const { return FDelimiterText; }
    void SetDelimiterText(const QString& value);
    /// The separator of multi-select list texts: a line break, the text or the character.
    QString Delimiter() const;
    TDialogOptions DialogOptions() const { return FDialogOptions; }
    void SetDialogOptions(TDialogOptions value);
    QMenu* DropDownMenu() const;
    void SetDropDownMenu(QMenu* value);
    int DropDownRows() const { return FDropDownRows; }
    void SetDropDownRows(int value);
    int DropDownWidth() const { return FDropDownWidth; }
    void SetDropDownWidth(int value);
    bool EditMemo() const { return FEditMemo; }
    void SetEditMemo(bool value);
    QString EditorHint() const { return FEditorHint; }
    void SetEditorHint(const QString& value);
    bool Ellipsis() const { return FEllipsis; }
    void SetEllipsis(bool value);
    bool ExpandBox() const { return FExpandBox; }
    /// Switching it on switches the check box off, makes images transparent and caps
    /// ImageDraw; switching it off ends the tree glyph.
    void SetExpandBox(bool value);
    TExpandBoxSize ExpandBoxSize() const { return FExpandBoxSize; }
    void SetExpandBoxSize(TExpandBoxSize value);
    bool ExpandBoxThemed() const { return FExpandBoxThemed; }
    void SetExpandBoxThemed(bool value);
    TExpandBoxToggle ExpandBoxToggle() const { return FExpandBoxToggle; }
    void SetExpandBoxToggle(TExpandBoxToggle value);
    bool ExpandBoxTree() const { return FExpandBoxTree; }
    void SetExpandBoxTree(bool value);
    int ExpandCols() const { return FExpandCols; }
    void SetExpandCols(int value);
    TOrvoColumnExpandStyle ExpandStyle() const { return FExpandStyle; }
    void SetExpandStyle(TOrvoColumnExpandStyle value);
    QStringList FilterList() const { return FFilterList; }
    void SetFilterList(const QStringList& value);
    QString FilterText() const { return FFilterText; }
    void SetFilterText(const QString& value);
    QString Hint() const { return FHint; }
    void SetHint(const QString& value);
    TImageDraw ImageDraw() const { return FImageDraw; }
    void SetImageDraw(TImageDraw value);
    int ImageMargin() const { return FImageMargin; }
    void SetImageMargin(int value);
    int ImageOffsetX() const { return FImageOffsetX; }
    void SetImageOffsetX(int value);
    int ImageOffsetY() const { return FImageOffsetY; }
    void SetImageOffsetY(int value);
    TCustomImageList* Images() const;
    void SetImages(TCustomImageList* value);
    TOrvoListOptions ListOptions() const { return FListOptions; }
    void SetListOptions(TOrvoListOptions value);
    TMultiSelectText MultiSelectText() const { return FMultiSelectText; }
    void SetMultiSelectText(TMultiSelectText value);
    QStringList PickList() const { return FPickList; }
    void SetPickList(const QStringList& value);
    TOrvoPickOptions PickOptions() const { return FPickOptions; }
    void SetPickOptions(TOrvoPickOptions value);
    QStringList PickText() const { return FPickText; }
    void SetPickText(const QStringList& value);
    QString PickTextFormat() const { return FPickTextFormat; }
    void SetPickTextFormat(const QString& value);
    QMenu* PopupMenu() const;
    void SetPopupMenu(QMenu* value);
    bool QuickDraw() const { return FQuickDraw; }
    void SetQuickDraw(bool value);
    bool ShowBlob() const { return FShowBlob; }
    void SetShowBlob(bool value);
    bool ShowEdit() const { return FShowEdit; }
    void SetShowEdit(bool value);
    bool SuppressRTL() const { return FSuppressRTL; }
    void SetSuppressRTL(bool value);
    bool ToolTips() const { return FToolTips; }
    void SetToolTips(bool value);
    TToolTipsWidth ToolTipsWidth() const { return FToolTipsWidth; }
    void SetToolTipsWidth(TToolTipsWidth value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    TColor TransparentColor() const { return FTransparentColor; }
    void SetTransparentColor(TColor value);
    TVAlignment VAlignment() const { return FVAlignment; }
    void SetVAlignment(TVAlignment value);
    bool Wallpaper() const { return FWallpaper; }
    void SetWallpaper(bool value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);

    // --- Owned parts ----------------------------------------------------------------------
    TOrvoColumnTitle* Title() const;
    TOrvoColumnReport* Report() const;
    TOrvoColumnTotalHeader* TotalHeader() const;
    TOrvoColumnTotalValues* TotalValues() const;
    TOrvoColumnTotalFields* TotalFields() const;
    TOrvoColumnTotalFooter* TotalFooter() const;

    // --- Lookups ------------------------------------------------------------------------
    TOrvoLookupColumn LookupColumn() const;
    /// A lookup field's own settings, else the column's (KeyField defaults to FieldName).
    QString KeyField() const;
    void SetKeyField(const QString& value);
    TDataSet* LookupDataSet() const;
    /// Runs `search` on the lookup dataset; a closed one is opened for it and closed again.
    void SearchLookupDataSet(const std::function<void(TDataSet& lookup)>& search) const;
    /// Raises EDatabaseError "Circular datalinks are not allowed" for the grid's own dataset.
    void SetLookupDataSet(TDataSet* value);
    QString LookupKeyField() const;
    void SetLookupKeyField(const QString& value);
    QString LookupResultField() const;
    void SetLookupResultField(const QString& value);
    QString LookupListFields() const { return FLookupListFields; }
    void SetLookupListFields(const QString& value);
    QString LookupListTitles() const { return FLookupListTitles; }
    void SetLookupListTitles(const QString& value);
    QString LookupListWidths() const { return FLookupListWidths; }
    void SetLookupListWidths(const QString& value);
    QString LookupParentField() const { return FLookupParentField; }
    void SetLookupParentField(const QString& value);
    QString LookupTreeViewField() const { return FLookupTreeViewField; }
    void SetLookupTreeViewField(const QString& value);
    /// The lookup dataset's result field, for a column that shows looked-up values.
    TField* LookupResultFieldObject() const;
    /// The drop-down offers a set of values rather than one.
    bool MultiSelectList() const;

    // --- Hierarchy -------------------------------------------------------------------------
    bool HasSubColumns() const;
    /// The column this one is a sub-column of; the column collection recomputes it.
    TOrvoColumn* ParentColumn() const { return FParentColumn; }
    int ColumnDepth() const;
    /// The index of the last column below this one; its own index without sub-columns.
    int LastSubColumnIndex() const;
    /// Shows its sub-columns instead of itself; true only with sub-columns.
    bool Expanded() const;
    bool ExpandedFlag() const { return FExpanded; }
    /// Keeps the current cell on a shown column and the editor open across the change, and
    /// fires the grid's OnColExpand for a column with sub-columns.
    void SetExpanded(bool value);
    /// Its own flag, and its parent visible.
    bool Visible() const;
    bool VisibleFlag() const { return FVisible; }
    void SetVisible(bool value);
    /// Visible, not expanded, and every ancestor expanded: it gets room in the grid.
    bool IsShown() const;
    /// The room it takes with its vertical line, or its direct sub-columns' together.
    int ShownWidth() const;
    /// Moves the column; a customized column takes its sub-columns along, a default one
    /// moves its field instead.
    void SetIndex(int value) override;

    // --- Texts -----------------------------------------------------------------------------
    /// "%s[%s]" for a looked-up value, the field name, the title caption in parentheses,
    /// prefixed by the parent's name for a sub-column.
    QString DisplayName() const override;
    /// The field's text before the grid maps it: memo fields give their plain string
    /// where the column asks for that, other fields their display or edit text.
    QString FieldText(TTextKind kind) const;
    /// The text a cell shows, through the grid's column text operation.
    QString DisplayText() const;
    /// The text the editor is loaded with, through the grid's column text operation.
    QString EditText() const;
    /// Writes edited text to the field through the grid's set-text operation.
    void StoreEditText(const QString& text);
    /// The state the check-box glyph shows for a cell text.
    TCheckBoxState CheckBoxStateOf(const QString& text) const;
    /// The state of the current record's check box; without a field, whether the record
    /// is among the selected rows.
    TCheckBoxState CheckBoxState() const;
    /// The glyph of a state in a strip of `imageCount` images (3 per kind).
    int CheckBoxImageIndex(TCheckBoxState state, int imageCount) const;
    /// Writes the other of the two CheckBoxValues texts to the field, where the grid lets
    /// the current cell of this column be modified; a check box without a field selects
    /// or unselects the current row instead. False when nothing changed.
    bool ToggleCheckBox();
    /// The state the expand box of the current record shows: 0 collapsed, 1 expanded, 2 no
    /// box (the record has no sub-records or no tree view is active).
    int ExpandBoxState() const;
    /// The image of Images the current record shows: the check-box glyph for a check-box
    /// column, the expand state for an expand-box column, else taken from the field (a
    /// Boolean as 0 or 1, the texts "False" and "True" as 0 and 1, else the text read as
    /// a number); -1 for none.
    int ImageIndex() const;

    /// Takes Changed public: the title, totals and collection report through it.
    using TCollectionItem::Changed;

protected:
    virtual TOrvoColumnTitle* CreateTitle();
    virtual TOrvoColumnReport* CreateReport();
    virtual TOrvoColumnTotalHeader* CreateTotalHeader();
    virtual TOrvoColumnTotalValues* CreateTotalValues();
    virtual TOrvoColumnTotalFields* CreateTotalFields();
    virtual TOrvoColumnTotalFooter* CreateTotalFooter();

private:
    friend class TOrvoDBGridColumns;

    enum TAssignedValue
    {
        avWidth,
        avReadOnly,
        avImeMode,
        avImeName
    };

    template <typename T> void Store(T& field, const T& value, bool allItems = false)
    {
        if (field == value)
            return;
        field = value;
        Changed(allItems);
    }
    bool IsLoading() const;
    TColor DefaultColor() const;
    bool ForwardsToField() const;
    bool ColLines() const;
    int VerticalLineWidth() const;
    int OwnWidth() const;
    bool WritingStream() const;
    bool StretchesWidth() const;
    void StoreWidth(int value);
    void ApplyWidthLimit(bool beyond, int limit);
    bool IsMemoField() const;
    void Bind(TField* field);
    void FieldDestroyed();
    void ForgetField();
    int FieldImageIndex() const;
    void JoinOrderList();
    void RestoreAllDefaults();
    void ResetSettings();
    void CopySettings(const TOrvoColumn& source);
    void CopyOwnValues(const TOrvoColumn& source);
    void KeepCurrentColumnShown(const TOrvoColumn* current, int step);
    void ResetLookupLists();
    void MoveWithSubColumns(int value);
    void MoveField(int value);

    mutable QPointer<TField> FField;
    TOrvoColumn* FParentColumn = nullptr;
    mutable TOrvoColumnTitle* FTitle = nullptr;
    mutable TOrvoColumnReport* FReport = nullptr;
    mutable TOrvoColumnTotalHeader* FTotalHeader = nullptr;
    mutable TOrvoColumnTotalValues* FTotalValues = nullptr;
    mutable TOrvoColumnTotalFields* FTotalFields = nullptr;
    mutable TOrvoColumnTotalFooter* FTotalFooter = nullptr;
    QString FFieldName;
    bool FStored = true;
    TSet<TAssignedValue> FAssigned;

    TOwnValue<TAlignment> FAlignment{taLeftJustify};
    TOwnValue<TColor> FColor{clWindow};
    TOwnValue<TFont> FFont;
    TImeMode FImeMode = imDontCare;
    QString FImeName;
    bool FReadOnly = false;
    int FWidth = NoGridWidth;
    int FLoadedWidth = -1;
    int FWidthMax = -1;
    int FWidthMin = -1;

    bool FAutoNumber = false;
    TOrvoColumnButtonStyle FButtonStyle = cbsAuto;
    TCalendarDepth FCalendarDepth = cdDecade;
    TEditCharCase FCharCase = ecNormal;
    bool FCheckBox = false;
    TCheckBoxKind FCheckBoxKind = ckCheck;
    TCheckBoxStyle FCheckBoxStyle = cbAuto;
    bool FCheckBoxThemed = false;
    TCheckBoxToggle FCheckBoxToggle = ctOnCellClick;
    QString FCheckBoxValues = DefaultCheckBoxValues();
    QChar FDelimiterChar = QLatin1Char(',');
    bool FDelimiterLine = false;
    QString FDelimiterText;
    TDialogOptions FDialogOptions{doShowColumn, doItemEnabled};
    QPointer<QMenu> FDropDownMenu;
    int FDropDownRows = 0;
    int FDropDownWidth = 0;
    bool FEditMemo = true;
    QString FEditorHint;
    bool FEllipsis = true;
    bool FExpandBox = false;
    TExpandBoxSize FExpandBoxSize = ebLarge;
    bool FExpandBoxThemed = false;
    TExpandBoxToggle FExpandBoxToggle = etOnCellClick;
    bool FExpandBoxTree = false;
    int FExpandCols = 0;
    int FEffectiveExpandCols = 0; // computed by the collection
    bool FExpanded = true;
    TOrvoColumnExpandStyle FExpandStyle = cesAuto;
    QStringList FFilterList;
    QString FFilterText;
    QString FHint;
    TImageDraw FImageDraw = idCenter;
    int FImageMargin = 0;
    int FImageOffsetX = 0;
    int FImageOffsetY = 0;
    QPointer<TCustomImageList> FImages;
    QString FKeyField;
    TOrvoListOptions FListOptions{loAutoComplete, loAutoCloseEditor,  loSelectNextValue,  loAllowClearValue,
                                  loShowToday,    loAllowChangeOrder, loAllowColumnResize};
    QPointer<TDataSet> FLookupDataSet;
    QString FLookupKeyField;
    QString FLookupListFields;
    QString FLookupListTitles;
    QString FLookupListWidths;
    QString FLookupParentField;
    QString FLookupTreeViewField;
    QString FLookupResultField;
    TMultiSelectText FMultiSelectText = mstEllipsis;
    QStringList FPickList;
    TOrvoPickOptions FPickOptions{poSelectPickText, poAcceptPickList};
    QStringList FPickText;
    QString FPickTextFormat;
    QPointer<QMenu> FPopupMenu;
    bool FQuickDraw = true;
    bool FShowBlob = true;
    bool FShowEdit = true;
    bool FSuppressRTL = false;
    bool FToolTips = true;
    TToolTipsWidth FToolTipsWidth = ttAutoWidth;
    bool FTransparent = false;
    TColor FTransparentColor = clNone;
    TVAlignment FVAlignment = tvCenter;
    bool FVisible = true;
    bool FWallpaper = false;
    bool FWordWrap = true;
};

} // namespace orvo
