#include "lists/popup/torvodbpopuplist.h"

#include "grid/dbgrid/orvolistsettings.h"
#include "grid/search/torvodbgridsearch.h"
#include "lists/popup/tlistbutton.h"
#include "lists/popup/torvodbdropdownlist.h"
#include "platform/core/texceptionhandler.h"
#include "platform/data/tdataset.h"
#include "platform/data/tdatasource.h"
#include "platform/gridbase/tfocusedlook.h"

#include <QEnterEvent>
#include <QMenu>
#include <QStyle>
#include <QTimer>

#include <algorithm>

namespace orvo {

namespace {
// A top-level window that stays on top and never takes the activation or the focus:
// the editor that opened the list keeps both and passes the keys on. Qt::Popup would
// grab the keyboard and the mouse, so it is not used.
constexpr Qt::WindowFlags ListWindowFlags =
    Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus;
} // namespace

TOrvoDBPopupList::TOrvoDBPopupList(QWidget* parent, TCloseRequestEvent closeRequest)
    : TOrvoCustomDBGrid(parent)
{
    FListSource = new TDataSource(this);
    SetDataSource(FListSource);
    // An empty menu of its own, so that the list never shows its owner's context menu.
    FEmptyMenu = new QMenu(this);
    SetPopupMenu(FEmptyMenu);
    SetListParent(parent);
    TFocusedLook::SetDrawsFocused(this, true);
    OnListCloseRequest = std::move(closeRequest);
}

TOrvoDBPopupList::~TOrvoDBPopupList() = default;

void TOrvoDBPopupList::ApplyWindowFlags()
{
    setWindowFlags(ListWindowFlags);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_X11DoNotAcceptFocus);
    setFocusPolicy(Qt::NoFocus);
    // A thin plain border instead of the style's panel, so that the sizing below can
    // count on it.
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Plain);
    setLineWidth(1);
}

void TOrvoDBPopupList::SetListParent(QWidget* parent)
{
    setParent(parent);
    ApplyWindowFlags();
    hide();
    SetCtl3DAuto(false);
    SetCtl3D(false);
}

TOrvoDBDropDownList* TOrvoDBPopupList::Container() const
{
    return qobject_cast<TOrvoDBDropDownList*>(parentWidget());
}

void TOrvoDBPopupList::DoListChange()
{
    if (OnListChange)
        OnListChange();
}

void TOrvoDBPopupList::DoListOption()
{
    if (OnListOption)
        OnListOption();
}

void TOrvoDBPopupList::RequestCloseUp(bool accept)
{
    if (OnListCloseRequest)
        OnListCloseRequest(accept);
    else
        HideList();
}

// --- Measures -----------------------------------------------------------------------------

int TOrvoDBPopupList::RowPitch() const
{
    return DefaultRowHeight() + HorzLineWidth();
}

int TOrvoDBPopupList::TitleHeight() const
{
    int height = 0;
    for (int row = 0; row < TitleOffset() && row < RowCount(); ++row)
        height += std::max(RowHeights(row), 0) + HorzLineWidth();
    return height;
}

int TOrvoDBPopupList::FooterHeight() const
{
    int height = 0;
    for (int row = std::max(FirstBottomRow(), TitleOffset()); row < RowCount(); ++row)
        height += std::max(RowHeights(row), 0);
    return height;
}

int TOrvoDBPopupList::ColumnsWidth() const
{
    int width = 0;
    for (int col = 0; col < ColCount(); ++col) {
        if (ColWidths(col) >= 0)
            width += ColWidths(col) + VertLineWidth();
    }
    return width;
}

int TOrvoDBPopupList::ListClientHeight() const
{
    return height() - 2 * frameWidth();
}

void TOrvoDBPopupList::SetListClientHeight(int value)
{
    resize(width(), value + 2 * frameWidth());
}

int TOrvoDBPopupList::RecordCountForSize() const
{
    const TDataSet* dataSet = DataSet();
    return dataSet && dataSet->Active() ? std::max(dataSet->RecordCount(), 0) : 0;
}

// --- Sizing ----------------------------------------------------------------------------------

void TOrvoDBPopupList::AdjustListSize()
{
    if (!FAutoSize)
        return;
    SetStretchMode(false);
    UpdateSequence(false);
    // Settles a layout pass still waiting for the event loop, so that the measures below
    // read the rows and columns as they now are.
    BeginLayout();
    EndLayout();
    const int count = RecordCountForSize();
    const int maxRows = TOrvoListSettings::MaxListRows();
    const int scrollAllowance = count > maxRows ? style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;

    int rows = FDropDownRows;
    if (rows <= 0 || rows >= count)
        rows = rows != 0 || count <= maxRows ? count : maxRows;
    rows = std::max(rows, 1);
    const int border = 2 * frameWidth();
    const int footer = FooterHeight();
    const int newHeight = rows * RowPitch() + TitleHeight() + footer + (footer > 0 ? 1 : 0) + border;

    const int columnsWidth = ColumnsWidth();
    const int naturalWidth = columnsWidth + scrollAllowance + border;
    int newWidth = FDropDownWidth;
    if (newWidth <= 0 || newWidth >= naturalWidth)
        newWidth = newWidth != 0 || naturalWidth <= TOrvoListSettings::MaxListWidth()
                       ? naturalWidth
                       : TOrvoListSettings::MaxListWidth();
    const TOrvoDBDropDownList* container = Container();
    if (FMinParentWidth && container)
        newWidth = std::max(newWidth, container->width());

    resize(newWidth, newHeight);
    SetStretchMode(columnsWidth != newWidth - border - scrollAllowance);
    ApplyLineColors();
    if (FListShown && container) {
        QPoint position;
        Container()->GetListPosition(position);
        ShowListAt(position);
    }
}

// --- Showing and hiding --------------------------------------------------------------------

void TOrvoDBPopupList::ShowListAt(const QPoint& screenPoint)
{
    ApplyLineColors();
    move(screenPoint);
    show();
    FListShown = true;
    if (QWidget* container = parentWidget())
        container->update();
}

void TOrvoDBPopupList::HideList()
{
    if (!FRedropping) {
        StopSlide();
        hide();
    }
    FListShown = false;
    if (QWidget* container = parentWidget())
        container->update();
}

void TOrvoDBPopupList::ShowListAnimated(const QPoint& screenPoint)
{
    if (!FAnimation || FRedropping || FAnimating) {
        ShowListAt(screenPoint);
        return;
    }
    FSlideTarget = ListClientHeight();
    const QWidget* container = parentWidget();
    FSlideUpward = container && screenPoint.y() < container->mapToGlobal(QPoint(0, 0)).y();
    QPoint position = screenPoint;
    const int delay = TOrvoListSettings::ListAnimationDelay();
    if (delay > 0 && RowPitch() > 0) {
        const int startHeight = TitleHeight() + RowPitch() + FooterHeight() + 1;
        if (startHeight < FSlideTarget) {
            SetListClientHeight(startHeight);
            if (FSlideUpward)
                position.ry() += FSlideTarget - startHeight;
        }
    }
    ShowListAt(position);
    if (ListClientHeight() >= FSlideTarget)
        return;
    FAnimating = true;
    if (!FSlideTimer) {
        FSlideTimer = new QTimer(this);
        connect(FSlideTimer, &QTimer::timeout, this,
                [this] { TExceptionHandler::Guard([this] { SlideStep(); }); });
    }
    FSlideTimer->start(delay);
}

void TOrvoDBPopupList::SlideStep()
{
    if (!FListShown) {
        StopSlide();
        return;
    }
    const int current = ListClientHeight();
    const int grown = std::min(current + RowPitch(), FSlideTarget);
    if (FSlideUpward)
        move(x(), y() - (grown - current));
    SetListClientHeight(grown);
    if (grown < FSlideTarget)
        return;
    StopSlide();
    if (Search()->Incremental())
        AdjustListSize();
}

void TOrvoDBPopupList::StopSlide()
{
    if (FSlideTimer)
        FSlideTimer->stop();
    FAnimating = false;
}

// --- Look ------------------------------------------------------------------------------------

void TOrvoDBPopupList::SetFlatButtons(bool value)
{
    if (value == FFlatButtons)
        return;
    FFlatButtons = value;
    ApplyButtonLook();
}

void TOrvoDBPopupList::SetButtonEdges(bool value)
{
    if (value == FButtonEdges)
        return;
    FButtonEdges = value;
    ApplyButtonLook();
}

void TOrvoDBPopupList::ApplyButtonLook()
{
    for (TListButton* button : findChildren<TListButton*>()) {
        button->SetFlat(FFlatButtons);
        button->SetEdges(FButtonEdges);
    }
}

void TOrvoDBPopupList::SetListColLineColor(TColor value)
{
    FListColLineColor = value;
    ApplyLineColors();
}

void TOrvoDBPopupList::SetListRowLineColor(TColor value)
{
    FListRowLineColor = value;
    ApplyLineColors();
}

void TOrvoDBPopupList::ApplyLineColors()
{
    // clWindow stands for the list's own colour, which may change after the request.
    SetDataColLineColor(FListColLineColor == clWindow ? Color() : FListColLineColor);
    SetDataRowLineColor(FListRowLineColor == clWindow ? Color() : FListRowLineColor);
}

void TOrvoDBPopupList::changeEvent(QEvent* event)
{
    TOrvoCustomDBGrid::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        TExceptionHandler::Guard([this] { ApplyLineColors(); });
}

// --- Selection tracking ----------------------------------------------------------------------

void TOrvoDBPopupList::SetTrackSelection(bool value)
{
    if (value == FTrackSelection)
        return;
    FTrackSelection = value;
    ShowSelection(!value);
}

void TOrvoDBPopupList::ShowSelection(bool value)
{
    if (value == FSelectionShown)
        return;
    FSelectionShown = value;
    if (value) {
        SetSelectRowColor(FSavedSelectRowColor);
    } else {
        FSavedSelectRowColor = SelectRowColor();
        SetSelectRowColor(clNone);
    }
}

bool TOrvoDBPopupList::PointInDataRows(const QPoint& point) const
{
    const QRect client = viewport()->rect();
    return client.contains(point) && point.y() >= TitleHeight() &&
           point.y() < client.height() - FooterHeight();
}

void TOrvoDBPopupList::MouseMove(TShiftState shift, int x, int y)
{
    if (FTrackSelection)
        ShowSelection(PointInDataRows(QPoint(x, y)));
    TOrvoCustomDBGrid::MouseMove(shift, x, y);
}

void TOrvoDBPopupList::enterEvent(QEnterEvent* event)
{
    TOrvoCustomDBGrid::enterEvent(event);
    TExceptionHandler::Guard([this] {
        if (FTrackSelection)
            ShowSelection(true);
    });
}

void TOrvoDBPopupList::leaveEvent(QEvent* event)
{
    TOrvoCustomDBGrid::leaveEvent(event);
    TExceptionHandler::Guard([this] {
        if (FTrackSelection)
            ShowSelection(false);
    });
}

} // namespace orvo
