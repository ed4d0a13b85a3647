#include "grid/columns/torvocolumn.h"

#include "grid/columns/torvocolumnreport.h"
#include "grid/columns/torvocolumntitle.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/filter/torvodbgridfilter.h"
#include "grid/filter/torvofilterroworder.h"
#include "grid/totals/torvocolumntotalfields.h"
#include "grid/totals/torvocolumntotalfooter.h"
#include "grid/totals/torvocolumntotalheader.h"
#include "grid/totals/torvocolumntotalvalues.h"
#include "platform/core/tscopecleanup.h"
#include "platform/graphics/tcustomimagelist.h"

#include <QMenu>

#include <algorithm>

namespace orvo {

QString TOrvoColumn::DefaultCheckBoxValues()
{
    return QStringLiteral("True;False");
}

TOrvoColumn::TOrvoColumn(TCollection* collection) : TCollectionItem(collection) {}

TOrvoColumn::~TOrvoColumn()
{
    // Leave the collection while still whole, so that it can drop its references to us.
    SetCollection(nullptr);
}

TOrvoDBGridColumns* TOrvoColumn::Columns() const
{
    return qobject_cast<TOrvoDBGridColumns*>(Collection());
}

TOrvoCustomDBGrid* TOrvoColumn::Grid() const
{
    const TOrvoDBGridColumns* columns = Columns();
    return columns ? columns->Grid() : nullptr;
}

bool TOrvoColumn::IsLoading() const
{
    const TOrvoCustomDBGrid* grid = Grid();
    return grid && grid->IsLoading();
}

// --- Owned parts, made on first use so that a descendant's factory is the one called ----------

TOrvoColumnTitle* TOrvoColumn::Title() const
{
    if (!FTitle)
        FTitle = const_cast<TOrvoColumn*>(this)->CreateTitle();
    return FTitle;
}

TOrvoColumnReport* TOrvoColumn::Report() const
{
    if (!FReport)
        FReport = const_cast<TOrvoColumn*>(this)->CreateReport();
    return FReport;
}

TOrvoColumnTotalHeader* TOrvoColumn::TotalHeader() const
{
    if (!FTotalHeader)
        FTotalHeader = const_cast<TOrvoColumn*>(this)->CreateTotalHeader();
    return FTotalHeader;
}

TOrvoColumnTotalValues* TOrvoColumn::TotalValues() const
{
    if (!FTotalValues)
        FTotalValues = const_cast<TOrvoColumn*>(this)->CreateTotalValues();
    return FTotalValues;
}

TOrvoColumnTotalFields* TOrvoColumn::TotalFields() const
{
    if (!FTotalFields)
        FTotalFields = const_cast<TOrvoColumn*>(this)->CreateTotalFields();
    return FTotalFields;
}

TOrvoColumnTotalFooter* TOrvoColumn::TotalFooter() const
{
    if (!FTotalFooter)
        FTotalFooter = const_cast<TOrvoColumn*>(this)->CreateTotalFooter();
    return FTotalFooter;
}

TOrvoColumnTitle* TOrvoColumn::CreateTitle()
{
    return new TOrvoColumnTitle(this);
}

TOrvoColumnReport* TOrvoColumn::CreateReport()
{
    return new TOrvoColumnReport(this);
}

TOrvoColumnTotalHeader* TOrvoColumn::CreateTotalHeader()
{
    auto* total = new TOrvoColumnTotalHeader(this);
    total->setParent(this);
    return total;
}

TOrvoColumnTotalValues* TOrvoColumn::CreateTotalValues()
{
    return new TOrvoColumnTotalValues(this);
}

TOrvoColumnTotalFields* TOrvoColumn::CreateTotalFields()
{
    auto* total = new TOrvoColumnTotalFields(this);
    total->setParent(this);
    return total;
}

TOrvoColumnTotalFooter* TOrvoColumn::CreateTotalFooter()
{
    auto* total = new TOrvoColumnTotalFooter(this);
    total->setParent(this);
    return total;
}

// --- Plain settings ---------------------------------------------------------------------------

void TOrvoColumn::SetAutoNumber(bool value)
{
    Store(FAutoNumber, value);
}

void TOrvoColumn::SetButtonStyle(TOrvoColumnButtonStyle value)
{
    Store(FButtonStyle, value);
}

void TOrvoColumn::SetCalendarDepth(TCalendarDepth value)
{
    Store(FCalendarDepth, value);
}

void TOrvoColumn::SetCharCase(TEditCharCase value)
{
    Store(FCharCase, value);
}

void TOrvoColumn::SetCheckBox(bool value)
{
    if (value == FCheckBox)
        return;
    FCheckBox = value;
    if (value) {
        FExpandBox = false;
        FExpandBoxTree = false;
        FImageDraw = std::min(FImageDraw, idCenter);
    }
    Changed(false);
}

void TOrvoColumn::SetCheckBoxKind(TCheckBoxKind value)
{
    Store(FCheckBoxKind, value);
}

void TOrvoColumn::SetCheckBoxStyle(TCheckBoxStyle value)
{
    Store(FCheckBoxStyle, value);
}

void TOrvoColumn::SetCheckBoxThemed(bool value)
{
    Store(FCheckBoxThemed, value);
}

void TOrvoColumn::SetCheckBoxToggle(TCheckBoxToggle value)
{
    Store(FCheckBoxToggle, value);
}

void TOrvoColumn::SetCheckBoxValues(const QString& value)
{
    Store(FCheckBoxValues, value.isEmpty() ? DefaultCheckBoxValues() : value);
}

void TOrvoColumn::SetDelimiterChar(QChar value)
{
    Store(FDelimiterChar, value);
}

void TOrvoColumn::SetDelimiterLine(bool value)
{
    Store(FDelimiterLine, value);
}

void TOrvoColumn::SetDelimiterText(const QString& value)
{
    Store(FDelimiterText, value);
}

QString TOrvoColumn::Delimiter() const
{
    if (FDelimiterLine)
        return QStringLiteral("\r\n");
    return FDelimiterText.isEmpty() ? QString(FDelimiterChar) : FDelimiterText;
}

void TOrvoColumn::SetDialogOptions(TDialogOptions value)
{
    Store(FDialogOptions, value);
}

QMenu* TOrvoColumn::DropDownMenu() const
{
    return FDropDownMenu;
}

void TOrvoColumn::SetDropDownMenu(QMenu* value)
{
    FDropDownMenu = value;
}

void TOrvoColumn::SetDropDownRows(int value)
{
    Store(FDropDownRows, value);
}

void TOrvoColumn::SetDropDownWidth(int value)
{
    Store(FDropDownWidth, value);
}

void TOrvoColumn::SetEditMemo(bool value)
{
    Store(FEditMemo, value);
}

void TOrvoColumn::SetEditorHint(const QString& value)
{
    FEditorHint = value;
}

void TOrvoColumn::SetEllipsis(bool value)
{
    Store(FEllipsis, value);
}

void TOrvoColumn::SetExpandBox(bool value)
{
    if (value == FExpandBox)
        return;
    FExpandBox = value;
    if (value) {
        FCheckBox = false;
        FTransparent = true;
        FImageDraw = std::min(FImageDraw, idCenter);
    } else {
        FExpandBoxTree = false;
    }
    Changed(false);
}

void TOrvoColumn::SetExpandBoxSize(TExpandBoxSize value)
{
    Store(FExpandBoxSize, value);
}

void TOrvoColumn::SetExpandBoxThemed(bool value)
{
    Store(FExpandBoxThemed, value);
}

void TOrvoColumn::SetExpandBoxToggle(TExpandBoxToggle value)
{
    Store(FExpandBoxToggle, value);
}

void TOrvoColumn::SetExpandBoxTree(bool value)
{
    Store(FExpandBoxTree, value);
}

void TOrvoColumn::SetExpandCols(int value)
{
    value = std::max(value, 0);
    if (value == FExpandCols)
        return;
    FExpandCols = value;
    // Inside an update of the collection its notice comes late; the counts must not wait.
    if (TOrvoDBGridColumns* columns = Columns())
        columns->ExpandColsChanged();
    Changed(true);
}

void TOrvoColumn::SetExpandStyle(TOrvoColumnExpandStyle value)
{
    Store(FExpandStyle, value);
}

namespace {

// A grid being loaded collects its filtered columns once, when loading ends.
void NotifyFilterChanged(TOrvoCustomDBGrid* grid)
{
    if (grid && !grid->IsLoading())
        grid->FilterGrid()->Changed();
}

} // namespace

void TOrvoColumn::SetFilterList(const QStringList& value)
{
    // The checked values are a set of texts compared without regard to case, kept in
    // the order the user reads them in.
    // Sorted by keys made once per value: collating at every comparison made a list of a
    // million checked values take many seconds.
    QStringList values = value;
    TOrvoFilterRowOrder::SortDistinct(values);
    if (values == FFilterList)
        return;
    FFilterList = values;
    NotifyFilterChanged(Grid());
}

void TOrvoColumn::SetFilterText(const QString& value)
{
    if (value == FFilterText)
        return;
    FFilterText = value;
    NotifyFilterChanged(Grid());
}

void TOrvoColumn::SetHint(const QString& value)
{
    FHint = value;
}

void TOrvoColumn::SetImageDraw(TImageDraw value)
{
    if (FCheckBox || FExpandBox)
        value = std::min(value, idCenter);
    Store(FImageDraw, value);
}

void TOrvoColumn::SetImageMargin(int value)
{
    value = std::max(value, 0);
    if (value == FImageMargin)
        return;
    FImageMargin = value;
    // The tree glyph is drawn inside the margin; without one there is nowhere to draw it.
    if (value == 0)
        FExpandBoxTree = false;
    Changed(false);
}

void TOrvoColumn::SetImageOffsetX(int value)
{
    Store(FImageOffsetX, value);
}

void TOrvoColumn::SetImageOffsetY(int value)
{
    Store(FImageOffsetY, value);
}

TCustomImageList* TOrvoColumn::Images() const
{
    return FImages;
}

void TOrvoColumn::SetImages(TCustomImageList* value)
{
    if (FImages == value)
        return;
    FImages = value;
    Changed(false);
}

void TOrvoColumn::SetListOptions(TOrvoListOptions value)
{
    Store(FListOptions, value);
}

void TOrvoColumn::SetMultiSelectText(TMultiSelectText value)
{
    Store(FMultiSelectText, value);
}

void TOrvoColumn::SetPickList(const QStringList& value)
{
    Store(FPickList, value);
}

void TOrvoColumn::SetPickOptions(TOrvoPickOptions value)
{
    Store(FPickOptions, value);
}

void TOrvoColumn::SetPickText(const QStringList& value)
{
    Store(FPickText, value);
}

void TOrvoColumn::SetPickTextFormat(const QString& value)
{
    Store(FPickTextFormat, value);
}

QMenu* TOrvoColumn::PopupMenu() const
{
    return FPopupMenu;
}

void TOrvoColumn::SetPopupMenu(QMenu* value)
{
    FPopupMenu = value;
}

void TOrvoColumn::SetQuickDraw(bool value)
{
    Store(FQuickDraw, value);
}

void TOrvoColumn::SetShowBlob(bool value)
{
    Store(FShowBlob, value);
}

void TOrvoColumn::SetShowEdit(bool value)
{
    Store(FShowEdit, value);
}

void TOrvoColumn::SetSuppressRTL(bool value)
{
    Store(FSuppressRTL, value);
}

void TOrvoColumn::SetToolTips(bool value)
{
    FToolTips = value;
}

void TOrvoColumn::SetToolTipsWidth(TToolTipsWidth value)
{
    FToolTipsWidth = value;
}

void TOrvoColumn::SetTransparent(bool value)
{
    Store(FTransparent, value);
}

void TOrvoColumn::SetTransparentColor(TColor value)
{
    Store(FTransparentColor, value);
}

void TOrvoColumn::SetVAlignment(TVAlignment value)
{
    Store(FVAlignment, value);
}

void TOrvoColumn::SetVisible(bool value)
{
    Store(FVisible, value, true);
}

void TOrvoColumn::SetWallpaper(bool value)
{
    Store(FWallpaper, value);
}

void TOrvoColumn::SetWordWrap(bool value)
{
    Store(FWordWrap, value);
}

// --- Restoring and copying --------------------------------------------------------------------

void TOrvoColumn::RestoreDefaults()
{
    TCollection* collection = Collection();
    if (!collection) {
        RestoreAllDefaults();
        Changed(true);
        return;
    }
    collection->BeginUpdate();
    const auto endUpdate = Finally([collection] { collection->EndUpdate(); });
    RestoreAllDefaults();
}

void TOrvoColumn::RestoreAllDefaults()
{
    ResetSettings();
    ResetLookupLists();
    Title()->RestoreDefaults();
    Report()->RestoreDefaults();
    TotalHeader()->RestoreDefaults();
    TotalFields()->RestoreDefaults();
    TotalFooter()->RestoreDefaults();
    for (int i = 0; i < TotalValues()->Count(); ++i)
        TotalValues()->Items(i)->RestoreDefaults();
}

void TOrvoColumn::ResetSettings()
{
    const TOrvoColumn defaults;
    FAssigned = {};
    FAlignment.Forget();
    FColor.Forget();
    FFont.Forget();
    FLoadedWidth = -1;
    FWidthMax = FWidthMin = -1;
    CopySettings(defaults);
    FFilterList.clear();
    FFilterText.clear();
}

// The lookup itself (key field, dataset, key and result field) is what binds the column's
// values: it stays. The lists shown in its drop-down are look and go back to empty.
void TOrvoColumn::ResetLookupLists()
{
    FLookupListFields.clear();
    FLookupListTitles.clear();
    FLookupListWidths.clear();
    FLookupParentField.clear();
    FLookupTreeViewField.clear();
}

void TOrvoColumn::Assign(const TPersistent* source)
{
    const auto* other = qobject_cast<const TOrvoColumn*>(source);
    if (!other)
        AssignError(source);
    if (other == this)
        return;
    if (Collection())
        Collection()->BeginUpdate();
    {
        const auto endUpdate = OnUnwind([this] {
            if (Collection())
                Collection()->EndUpdate();
        });
        SetFieldName(other->FFieldName);
        CopyOwnValues(*other);
        Title()->Assign(other->Title());
        CopySettings(*other);
        FWidthMax = other->FWidthMax;
        FWidthMin = other->FWidthMin;
        FKeyField = other->FKeyField;
        FLookupDataSet = other->FLookupDataSet;
        FLookupKeyField = other->FLookupKeyField;
        FLookupResultField = other->FLookupResultField;
        FLookupListFields = other->FLookupListFields;
        FLookupListTitles = other->FLookupListTitles;
        FLookupListWidths = other->FLookupListWidths;
        FLookupParentField = other->FLookupParentField;
        FLookupTreeViewField = other->FLookupTreeViewField;
        TotalHeader()->Assign(other->TotalHeader());
        TotalValues()->Assign(other->TotalValues());
        TotalFields()->Assign(other->TotalFields());
        TotalFooter()->Assign(other->TotalFooter());
        FFilterList = other->FFilterList;
        FFilterText = other->FFilterText;
        Report()->Assign(other->Report());
    }
    if (Collection())
        Collection()->EndUpdate();
    else
        Changed(true);
    JoinOrderList();
}

// A copied marker enters the grid's sort order at its end; a copied absence leaves it.
void TOrvoColumn::JoinOrderList()
{
    TOrvoDBGridColumns* columns = Columns();
    if (!columns)
        return;
    QList<QPointer<TOrvoColumn>>& order = columns->OrderList();
    if (Title()->Marker() == tmNone)
        order.removeAll(this);
    else if (!order.contains(this))
        order.append(this);
}

void TOrvoColumn::CopyOwnValues(const TOrvoColumn& source)
{
    const auto copyIfAssigned = [&](TAssignedValue value, auto& field, const auto& sourceField) {
        if (source.FAssigned.Contains(value)) {
            field = sourceField;
            FAssigned.Include(value);
        }
    };
    FColor.TakeOwnFrom(source.FColor);
    FFont.TakeOwnFrom(source.FFont);
    copyIfAssigned(avImeMode, FImeMode, source.FImeMode);
    copyIfAssigned(avImeName, FImeName, source.FImeName);
    FAlignment.TakeOwnFrom(source.FAlignment);
    copyIfAssigned(avReadOnly, FReadOnly, source.FReadOnly);
    copyIfAssigned(avWidth, FWidth, source.FWidth);
}

void TOrvoColumn::CopySettings(const TOrvoColumn& source)
{
    FAutoNumber = source.FAutoNumber;
    FButtonStyle = source.FButtonStyle;
    FCalendarDepth = source.FCalendarDepth;
    FCharCase = source.FCharCase;
    FCheckBox = source.FCheckBox;
    FCheckBoxKind = source.FCheckBoxKind;
    FCheckBoxStyle = source.FCheckBoxStyle;
    FCheckBoxThemed = source.FCheckBoxThemed;
    FCheckBoxToggle = source.FCheckBoxToggle;
    FCheckBoxValues = source.FCheckBoxValues;
    FDelimiterChar = source.FDelimiterChar;
    FDelimiterLine = source.FDelimiterLine;
    FDelimiterText = source.FDelimiterText;
    FDialogOptions = source.FDialogOptions;
    FDropDownMenu = source.FDropDownMenu;
    FDropDownRows = source.FDropDownRows;
    FDropDownWidth = source.FDropDownWidth;
    FEditMemo = source.FEditMemo;
    FEditorHint = source.FEditorHint;
    FEllipsis = source.FEllipsis;
    FExpandBox = source.FExpandBox;
    FExpandBoxSize = source.FExpandBoxSize;
    FExpandBoxThemed = source.FExpandBoxThemed;
    FExpandBoxToggle = source.FExpandBoxToggle;
    FExpandBoxTree = source.FExpandBoxTree;
    FExpandCols = source.FExpandCols;
    FExpanded = source.FExpanded;
    FExpandStyle = source.FExpandStyle;
    FHint = source.FHint;
    FImageDraw = source.FImageDraw;
    FImageMargin = source.FImageMargin;
    FImageOffsetX = source.FImageOffsetX;
    FImageOffsetY = source.FImageOffsetY;
    FImages = source.FImages;
    FListOptions = source.FListOptions;
    FMultiSelectText = source.FMultiSelectText;
    FPickList = source.FPickList;
    FPickOptions = source.FPickOptions;
    FPickText = source.FPickText;
    FPickTextFormat = source.FPickTextFormat;
    FPopupMenu = source.FPopupMenu;
    FQuickDraw = source.FQuickDraw;
    FShowBlob = source.FShowBlob;
    FShowEdit = source.FShowEdit;
    FSuppressRTL = source.FSuppressRTL;
    FToolTips = source.FToolTips;
    FToolTipsWidth = source.FToolTipsWidth;
    FTransparent = source.FTransparent;
    FTransparentColor = source.FTransparentColor;
    FVAlignment = source.FVAlignment;
    FVisible = source.FVisible;
    FWallpaper = source.FWallpaper;
    FWordWrap = source.FWordWrap;
}

} // namespace orvo
