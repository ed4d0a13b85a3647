#include "lists/filter/torvodbpopupfilterlist.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvocolumntitle.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/orvolistsettings.h"
#include "grid/scrolling/torvoscrollprop.h"
#include "grid/search/torvodbgridsearch.h"
#include "grid/selection/torvobookmarklist.h"
#include "grid/totals/torvocolumntotalfooter.h"
#include "grid/totals/torvodbgridtotals.h"
#include "lists/filter/torvodbfilterdata.h"
#include "lists/popup/tlistbutton.h"
#include "platform/core/texceptionhandler.h"
#include "platform/core/tscopecleanup.h"
#include "platform/data/tdataset.h"
#include "platform/data/tfield.h"
#include "platform/gridbase/shiftstate.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QFontMetrics>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStyle>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace orvo {

namespace {

/// The title images of the columns, from the shared title image list.
constexpr int RemoveFilterImage = 13;
constexpr int SelectFilterImage = 15;
constexpr int AddSelectedImage = 17;
constexpr int CheckImage = 12;
constexpr int FooterFontHeight = -21;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;

/// The captions of ListCaptions the list shows.
enum TCaptionIndex
{
    ciClearAll = 1,
    ciSelectAll = 2,
    ciCancel = 3,
    ciOK = 4
};

QString ListCaption(TCaptionIndex index)
{
    return TOrvoListSettings::ListCaptions().value(index);
}

/// Clipboard text never carries a tab inside a value: it separates the key from the item.
QString WithoutTabs(QString text)
{
    return text.replace(u'\t', u' ');
}

} // namespace

QString& TOrvoDBPopupFilterList::RemoveFilterCaption()
{
    static QString caption = QStringLiteral("Remove filter");
    return caption;
}

QString& TOrvoDBPopupFilterList::SelectFilterCaption()
{
    static QString caption = QStringLiteral("Select filter...");
    return caption;
}

QString& TOrvoDBPopupFilterList::AddSelectedCaption()
{
    static QString caption = QStringLiteral("Add selected");
    return caption;
}

TOrvoDBPopupFilterList::TOrvoDBPopupFilterList(QWidget* parent, TCloseRequestEvent closeRequest)
    : TOrvoDBPopupListEx(parent, std::move(closeRequest))
{
    resize(DesignWidth, DesignHeight);
    SetAnimation(true);
    SetUpGrid();
    CreateListColumns();
    CreateButtons();
    PlaceButtons();
    setMinimumWidth(width());
    // The selection events come once per change of the check marks, however many rows
    // it touched.
    OnSelectionChanged = [this](QObject*) { CheckedChanged(); };
}

// --- Set-up ----------------------------------------------------------------------------------

void TOrvoDBPopupFilterList::SetUpGrid()
{
    SetOptions(Options() -
               TOrvoDBGridOptions{dgEditing, dgIndicator, dgMarkerAutoToggle, dgColumnResize, dgRowResize,
                                  dgRowSelect, dgAlwaysShowSelection} +
               TOrvoDBGridOptions{dgForceSequence, dgThumbTracking, dgMultiSelect, dgAutoUnselectOff});
    SetOptionsEx(OptionsEx() + TOrvoDBGridOptionsEx{dgTotalFooter, dgDelaySelectedRows} -
                 TOrvoDBGridOptionsEx{dgTotalFooterBox, dgAutoUpdateTotals, dgDelayUpdateTotals,
                                      dgCalcSelectedRows, dgAutoUpdateSequence, dgDelayUpdateSequence});
    SetOptionsExt(OptionsExt() + TOrvoDBGridOptionsExt{dgMouseTracking, dgScrollGridMode} -
                  TOrvoDBGridOptionsExt{dgAutoUpdateListItems, dgDelayUpdateListItems});
    // Plain clicks check and uncheck single rows: the rows are the only kind selected.
    SetMultiSelectOptions(TMultiSelectOptions{msRows});
    SetScrollBars(ssVertical);
    ScrollProp()->SetAutoHidden(ssVertical);
    SetHintOptions(TOrvoHintOptions{});
    SetStretchMode(false);
    Totals()->SetSelectedColor(clNone);
    SetListColLineColor(clDefault);
    SetListRowLineColor(clWindow);
}

void TOrvoDBPopupFilterList::CreateListColumns()
{
    const struct
    {
        QString Caption;
        int Image;
    } buttons[] = {{RemoveFilterCaption(), RemoveFilterImage},
                   {SelectFilterCaption(), SelectFilterImage},
                   {AddSelectedCaption(), AddSelectedImage}};
    for (const auto& button : buttons) {
        TOrvoColumn* column = Columns()->Add();
        column->Title()->SetCaption(u' ' + button.Caption);
        column->Title()->SetImageIndex(button.Image);
        column->SetExpandStyle(cesNone);
        column->SetVisible(false);
    }
    TOrvoColumn* check = Columns()->Add();
    check->Title()->SetCaption(QString());
    check->Title()->SetImageIndex(CheckImage);
    check->SetCheckBox(true);
    check->SetCheckBoxThemed(true);
    // The list alone checks rows (a click selects the row, as on the value; Space checks
    // unless it is typed into a search): a toggle of the box as well would take it back.
    check->SetCheckBoxToggle(ctCustomToggle);
    check->SetWidthMin(CheckColumnWidth);
    check->SetWidthMax(CheckColumnWidth);
    check->SetWidthBase(CheckColumnWidth);
    check->SetExpandStyle(cesNone);

    TOrvoColumn* value = Columns()->Add();
    value->Title()->SetCaption(ListCaption(ciSelectAll));
    value->SetExpandStyle(cesNone);
    TFont footerFont = value->TotalFooter()->Font();
    footerFont.SetHeight(FooterFontHeight);
    value->TotalFooter()->SetFont(footerFont);
}

void TOrvoDBPopupFilterList::CreateButtons()
{
    FOkButton = CreateButton(ListCaption(ciOK), true);
    FCancelButton = CreateButton(ListCaption(ciCancel), false);
}

TListButton* TOrvoDBPopupFilterList::CreateButton(const QString& caption, bool accept)
{
    auto* button = new TListButton(viewport());
    button->setText(caption);
    button->SetFlat(FlatButtons());
    button->SetEdges(ButtonEdges());
    connect(button, &TListButton::clicked, this,
            [this, accept] { TExceptionHandler::Guard([this, accept] { RequestCloseUp(accept); }); });
    return button;
}

int TOrvoDBPopupFilterList::Scaled(int designPixels) const
{
    // The design counts in pixels of a font 11 pixels high; a larger font scales it.
    const int fontHeight = std::abs(Font().Height());
    return fontHeight > 0 ? designPixels * fontHeight / DesignFontHeight : designPixels;
}

void TOrvoDBPopupFilterList::PlaceButtons()
{
    if (!FOkButton)
        return;
    const int width = Scaled(ButtonWidth);
    const int height = Scaled(ButtonHeight);
    const int gap = Margin();
    const QRect client = viewport()->rect();
    const int footer = std::max(FooterHeight(), height);
    const int top = client.bottom() + 1 - footer + (footer - height) / 2;
    // Left to right the pair keeps to the right edge; right to left the two change sides
    // and keep to the left edge, OK first.
    int okLeft = client.right() + 1 - gap - width - gap - width;
    if (layoutDirection() == Qt::RightToLeft)
        okLeft = gap;
    FOkButton->setGeometry(okLeft, top, width, height);
    FCancelButton->setGeometry(okLeft + width + gap, top, width, height);
}

void TOrvoDBPopupFilterList::SetApplyAtOnce(bool value)
{
    SetAutoApply(value);
    FOkButton->setVisible(!value);
    FCancelButton->setVisible(!value);
    const TOrvoDBGridOptionsEx footer{dgBlankRow, dgTotalFooter};
    SetOptionsEx(value ? OptionsEx() - footer : OptionsEx() + footer);
}

TOrvoColumn* TOrvoDBPopupFilterList::ListColumn(TFilterListColumn column) const
{
    return Columns()->Items(int(column));
}

void TOrvoDBPopupFilterList::ShowTitleButton(TFilterListColumn button, bool shown)
{
    if (button > flcAddSelected)
        return;
    TOrvoColumn* column = ListColumn(button);
    // A shown button spans every column after it, so that it reads as one wide title.
    column->SetExpandCols(shown ? int(flcValue) - int(button) : 0);
    column->SetVisible(shown);
}

bool TOrvoDBPopupFilterList::TitleButtonShown(TFilterListColumn button) const
{
    return button <= flcAddSelected && ListColumn(button)->VisibleFlag();
}

// --- Check marks -----------------------------------------------------------------------------

QString TOrvoDBPopupFilterList::FieldText(const QString& fieldName) const
{
    const TField* field = DataSet() ? DataSet()->FindField(fieldName) : nullptr;
    return field ? field->AsString() : QString();
}

int TOrvoDBPopupFilterList::CheckRows(const std::function<bool(const QString& key)>& test, bool uncheckOthers)
{
    TDataSet* dataSet = DataSet();
    if (!dataSet || !dataSet->Active())
        return 0;
    const TField* key = dataSet->FindField(TOrvoDBFilterData::KeyField());
    if (!key)
        return 0;
    const QString current = dataSet->Bookmark();
    int checked = 0;
    BeginSelectionUpdate();
    dataSet->DisableControls();
    const auto done = Finally([&] {
        if (!current.isEmpty() && dataSet->BookmarkValid(current))
            dataSet->GotoBookmark(current);
        dataSet->EnableControls();
        EndSelectionUpdate();
    });
    if (uncheckOthers)
        SelectedRows()->Clear();
    // The walk hands the matching records over in dataset order, so that the selection
    // takes them in one merge.
    dataSet->First();
    SelectedRows()->MergeFrom(
        [&]() -> std::optional<QString> {
            for (; !dataSet->Eof(); dataSet->Next()) {
                if (test(key->AsString())) {
                    const QString bookmark = dataSet->Bookmark();
                    dataSet->Next();
                    ++checked;
                    return bookmark;
                }
            }
            return std::nullopt;
        },
        false);
    return checked;
}

bool TOrvoDBPopupFilterList::AnyChecked() const
{
    return SelectedRows()->Count() > 0;
}

void TOrvoDBPopupFilterList::ForEachChecked(const std::function<void()>& visit)
{
    TDataSet* dataSet = DataSet();
    if (!dataSet || !dataSet->Active() || !AnyChecked())
        return;
    const QString current = dataSet->Bookmark();
    dataSet->DisableControls();
    const auto done = Finally([&] {
        if (!current.isEmpty() && dataSet->BookmarkValid(current))
            dataSet->GotoBookmark(current);
        dataSet->EnableControls();
    });
    // The selection keeps its bookmarks in dataset order: one walk of the records beside
    // one walk of the selection finds the checked rows without a search per row.
    const TOrvoBookmarkList& checked = *SelectedRows();
    int next = 0;
    for (dataSet->First(); !dataSet->Eof() && next < checked.Count(); dataSet->Next()) {
        if (dataSet->Bookmark() != checked.Items(next))
            continue;
        ++next;
        visit();
    }
}

QStringList TOrvoDBPopupFilterList::CheckedKeys()
{
    QStringList keys;
    QSet<QString> seen;
    ForEachChecked([this, &keys, &seen] {
        const QString key = FieldText(TOrvoDBFilterData::KeyField());
        if (!seen.contains(key.toCaseFolded())) {
            seen.insert(key.toCaseFolded());
            keys << key;
        }
    });
    return keys;
}

void TOrvoDBPopupFilterList::CheckAll(bool checked)
{
    BeginSelectionUpdate();
    const auto done = Finally([this] { EndSelectionUpdate(); });
    if (checked)
        CheckRows([](const QString&) { return true; }, true);
    else
        SelectedRows()->Clear();
}

void TOrvoDBPopupFilterList::CheckedChanged()
{
    TOrvoColumn* value = ListColumn(flcValue);
    const QString caption = ListCaption(AnyChecked() ? ciClearAll : ciSelectAll);
    if (value->Title()->Caption() != caption)
        value->Title()->SetCaption(caption);
    if (AutoApply())
        DoListChange();
}

void TOrvoDBPopupFilterList::PasteText(const QString& text)
{
    QSet<QString> keys;
    for (const QString& line :
         text.split(QRegularExpression(QStringLiteral("\r\n|\n|\r")), Qt::SkipEmptyParts)) {
        const qsizetype tab = line.indexOf(u'\t');
        keys.insert((tab < 0 ? line : line.left(tab)).toCaseFolded());
    }
    const bool autoApply = AutoApply();
    SetAutoApply(false);
    const auto restore = Finally([this, autoApply] { SetAutoApply(autoApply); });
    CheckRows([&keys](const QString& key) { return keys.contains(key.toCaseFolded()); }, false);
}

QString TOrvoDBPopupFilterList::CopyText()
{
    const auto lineOfCurrent = [this] {
        const QString item = WithoutTabs(FieldText(TOrvoDBFilterData::ItemField()));
        return FCopyKeys ? WithoutTabs(FieldText(TOrvoDBFilterData::KeyField())) + u'\t' + item : item;
    };
    const TDataSet* dataSet = DataSet();
    if (!dataSet || !dataSet->Active() || dataSet->IsEmpty())
        return QString();
    if (!AnyChecked())
        return lineOfCurrent();
    QStringList lines;
    ForEachChecked([&lines, &lineOfCurrent] { lines << lineOfCurrent(); });
    return lines.join(u'\n');
}

// --- Clicks and keys -------------------------------------------------------------------------

void TOrvoDBPopupFilterList::TitleClick(TOrvoColumn* column)
{
    if (!column || column->Grid() != this) {
        TOrvoDBPopupListEx::TitleClick(column);
        return;
    }
    const auto notify = [](const TListNotifyEvent& event) {
        if (event)
            event();
    };
    switch (TFilterListColumn(column->Index())) {
    case flcRemoveFilter:
        notify(OnRemoveFilter);
        break;
    case flcSelectFilter:
        notify(OnSelectFilter);
        break;
    case flcAddSelected:
        notify(OnAddSelected);
        break;
    case flcCheck:
        ToggleLoadAllItems();
        break;
    case flcValue:
        CheckAll(!AnyChecked());
        break;
    }
}

void TOrvoDBPopupFilterList::ToggleLoadAllItems()
{
    FLoadAllItems = !FLoadAllItems;
    DoListOption();
}

void TOrvoDBPopupFilterList::KeyDown(int& key, TShiftState shift)
{
    if (key == Qt::Key_Space && shift.IsEmpty()) {
        // A blank typed into a search is part of it ("New York"), never a check.
        if (!SearchText().isEmpty() || !Search()->Text().isEmpty())
            return;
        if (DataSet() && DataSet()->Active() && !DataSet()->IsEmpty())
            InvertCurrentRow();
        key = 0;
        return;
    }
    const bool ctrlInsert = key == Qt::Key_Insert && ExactlyCtrl(shift);
    if ((key == Qt::Key_C && ExactlyCtrl(shift)) || ctrlInsert) {
        const QString text = CopyText();
        if (!text.isEmpty())
            QGuiApplication::clipboard()->setText(text);
        key = 0;
        return;
    }
    const bool shiftInsert = key == Qt::Key_Insert && shift == TShiftState{ssShift};
    if ((key == Qt::Key_V && ExactlyCtrl(shift)) || shiftInsert) {
        PasteText(QGuiApplication::clipboard()->text());
        key = 0;
        return;
    }
    TOrvoDBPopupListEx::KeyDown(key, shift);
}

// --- Size and look ---------------------------------------------------------------------------

QStringList TOrvoDBPopupFilterList::ValueItems()
{
    QStringList items;
    TDataSet* dataSet = DataSet();
    if (!dataSet || !dataSet->Active())
        return items;
    const TField* item = dataSet->FindField(TOrvoDBFilterData::ItemField());
    if (!item)
        return items;
    const QString current = dataSet->Bookmark();
    dataSet->DisableControls();
    const auto done = Finally([&] {
        if (!current.isEmpty() && dataSet->BookmarkValid(current))
            dataSet->GotoBookmark(current);
        dataSet->EnableControls();
    });
    for (dataSet->First(); !dataSet->Eof(); dataSet->Next())
        items << item->AsString();
    return items;
}

int TOrvoDBPopupFilterList::WidestText(const QStringList& texts, const QFontMetrics& metrics)
{
    // Measuring every text of a long list with the font takes seconds (a million values),
    // so a long list is measured only where the widest text can be: each text's width is
    // estimated as the sum of its characters' widths (each character measured once), and
    // only the texts estimated widest are measured whole, since kerning and joined letters
    // make a text differ a little from the sum of its letters.
    constexpr qsizetype MeasureAll = 2000;
    constexpr qsizetype Candidates = 64;
    if (texts.size() <= MeasureAll) {
        int widest = 0;
        for (const QString& text : texts)
            widest = std::max(widest, metrics.horizontalAdvance(text));
        return widest;
    }
    QHash<char16_t, int> advances;
    std::vector<std::pair<int, qsizetype>> estimates;
    estimates.reserve(size_t(texts.size()));
    for (qsizetype i = 0; i < texts.size(); ++i) {
        int estimate = 0;
        for (const QChar ch : texts.at(i)) {
            auto advance = advances.constFind(ch.unicode());
            if (advance == advances.constEnd())
                advance = advances.insert(ch.unicode(), metrics.horizontalAdvance(ch));
            estimate += *advance;
        }
        estimates.emplace_back(estimate, i);
    }
    const auto candidatesEnd = estimates.begin() + Candidates;
    std::nth_element(estimates.begin(), candidatesEnd, estimates.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    int widest = 0;
    for (auto it = estimates.begin(); it != candidatesEnd; ++it)
        widest = std::max(widest, metrics.horizontalAdvance(texts.at(it->second)));
    return widest;
}

void TOrvoDBPopupFilterList::AdjustListSize()
{
    TOrvoColumn* check = ListColumn(flcCheck);
    TOrvoColumn* value = ListColumn(flcValue);
    const int margin = Margin();
    const QFontMetrics titleMetrics(value->Title()->Font().ToQFont());
    const int captions = std::max(titleMetrics.horizontalAdvance(ListCaption(ciClearAll)),
                                  titleMetrics.horizontalAdvance(ListCaption(ciSelectAll))) +
                         margin;
    const int buttons = FOkButton->width() + FCancelButton->width();

    int minWidth = captions;
    for (TFilterListColumn button : {flcRemoveFilter, flcSelectFilter, flcAddSelected}) {
        if (TitleButtonShown(button))
            minWidth = std::max(
                minWidth,
                titleMetrics.horizontalAdvance(ListColumn(button)->Title()->Caption().mid(1)) + margin);
    }
    minWidth += check->Width() + 1;
    if (!AutoApply())
        minWidth = std::max(minWidth, buttons + 3 * margin - 2);
    minWidth += style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 3;

    int valueWidth = captions;
    if (DataSet() && DataSet()->Active()) {
        const QFontMetrics metrics(value->Font().ToQFont());
        int texts = WidestText(ValueItems(), metrics) + margin;
        if (value->ImageMargin() > 0)
            texts += value->ImageMargin() + 1;
        valueWidth = std::max(valueWidth, texts);
    }
    if (!AutoApply())
        valueWidth = std::max(valueWidth, buttons + 3 * margin - check->Width() - 3);
    value->SetWidthBase(valueWidth);
    setMinimumWidth(minWidth);
    // The scroll bar shows only when rows are out of view: a short list keeps its room.
    SetScrollBars(AllRowsFit() ? ssNone : ssVertical);
    TOrvoDBPopupListEx::AdjustListSize();
    // The minimum width may have made the list wider than its columns: the value column
    // takes the rest.
    const int scrollBar = AllRowsFit() ? 0 : style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    if (ColumnsWidth() < width() - 2 * frameWidth() - scrollBar)
        SetStretchMode(true);
    PlaceButtons();
}

bool TOrvoDBPopupFilterList::AllRowsFit() const
{
    const TDataSet* dataSet = DataSet();
    const int count = dataSet && dataSet->Active() ? std::max(dataSet->RecordCount(), 0) : 0;
    const int rows = DropDownRows() != 0 ? DropDownRows() : TOrvoListSettings::MaxListRows();
    return rows < 0 || count <= rows;
}

void TOrvoDBPopupFilterList::changeEvent(QEvent* event)
{
    TOrvoDBPopupListEx::changeEvent(event);
    if (event->type() == QEvent::LayoutDirectionChange || event->type() == QEvent::FontChange)
        TExceptionHandler::Guard([this] { PlaceButtons(); });
}

void TOrvoDBPopupFilterList::resizeEvent(QResizeEvent* event)
{
    TOrvoDBPopupListEx::resizeEvent(event);
    TExceptionHandler::Guard([this] { PlaceButtons(); });
}

} // namespace orvo
