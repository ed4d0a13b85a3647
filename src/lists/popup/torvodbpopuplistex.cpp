#include "lists/popup/torvodbpopuplistex.h"

#include "grid/search/torvodbgridsearch.h"
#include "platform/core/texceptionhandler.h"
#include "platform/data/tdataset.h"
#include "platform/data/tfield.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>

namespace orvo {

namespace {
// A pause longer than this starts a new search; a key within it counts as recent.
constexpr qint64 SearchPause = 2000;
// Longer texts stop matching anything a list shows and only slow each key down.
constexpr int MaxSearchLength = 32;

qint64 SteadyMilliseconds()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    // Never 0: a click time of 0 means that no click is pending.
    return clock.elapsed() + 1;
}
} // namespace

TOrvoDBPopupListEx::TOrvoDBPopupListEx(QWidget* parent, TCloseRequestEvent closeRequest)
    : TOrvoDBPopupList(parent, std::move(closeRequest))
{}

void TOrvoDBPopupListEx::SetClock(TClock clock)
{
    FClock = std::move(clock);
}

qint64 TOrvoDBPopupListEx::Now() const
{
    return FClock ? FClock() : SteadyMilliseconds();
}

void TOrvoDBPopupListEx::SetSearchField(const QString& value)
{
    FSearchField = value;
    FSearchText.clear();
}

bool TOrvoDBPopupListEx::SearchKeyRecent() const
{
    return Now() - FLastSearchTick <= SearchPause;
}

bool TOrvoDBPopupListEx::SearchableField() const
{
    const TDataSet* dataSet = DataSet();
    if (FSearchField.isEmpty() || !dataSet)
        return false;
    const TField* field = dataSet->FindField(FSearchField);
    if (!field || (field->FieldKind() != fkData && field->FieldKind() != fkInternalCalc))
        return false;
    return field->DataType() == ftString || field->DataType() == ftWideString;
}

void TOrvoDBPopupListEx::SearchKey(QChar key)
{
    if (!SearchableField())
        return;
    if (key == QChar(0x08) || key == QChar(0x1b)) {
        FSearchText.clear();
        return;
    }
    if (key.unicode() < 0x20)
        return;
    const qint64 now = Now();
    if (now - FLastSearchTick > SearchPause)
        FSearchText.clear();
    FLastSearchTick = now;
    if (FSearchText.length() >= MaxSearchLength)
        return;
    const QString candidate = FSearchText + key;
    if (DataSet()->Locate(FSearchField, TVariant(candidate), {loCaseInsensitive, loPartialKey}))
        FSearchText = candidate;
}

void TOrvoDBPopupListEx::KeyDown(int& key, TShiftState shift)
{
    // The grid takes Esc as a key of its own and never types it, yet it ends a search.
    if (key == Qt::Key_Escape)
        SearchKey(QChar(0x1b));
    TOrvoDBPopupList::KeyDown(key, shift);
}

void TOrvoDBPopupListEx::KeyPress(QChar& key)
{
    TOrvoDBPopupList::KeyPress(key);
    if (key.isNull())
        return;
    SearchKey(key);
    if (Search()->Incremental() && !Animating())
        AdjustListSize();
}

void TOrvoDBPopupListEx::MouseDown(TMouseButton button, TShiftState shift, int x, int y, bool doubleClick)
{
    if (button == mbLeft)
        FSearchText.clear();
    TOrvoDBPopupList::MouseDown(button, shift, x, y, doubleClick);
}

void TOrvoDBPopupListEx::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        TOrvoDBPopupList::mousePressEvent(event);
        return;
    }
    bool quickSecond = false;
    qint64 now = 0;
    TExceptionHandler::Guard([this, event, &quickSecond, &now] {
        const QPoint pos = event->position().toPoint();
        const int row = MouseCoord(pos.x(), pos.y()).Y;
        now = Now();
        quickSecond = row == FLastClickRow && FLastClickTime != 0 &&
                      now - FLastClickTime < QApplication::doubleClickInterval();
        FLastClickRow = row;
        FLastClickTime = 0;
    });
    if (quickSecond) {
        TOrvoDBPopupList::mouseDoubleClickEvent(event);
        return;
    }
    TOrvoDBPopupList::mousePressEvent(event);
    FLastClickTime = now;
}

void TOrvoDBPopupListEx::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The window system's own pairing is ignored: mousePressEvent pairs the presses, so
    // that a third quick press counts as a new single click.
    event->accept();
}

} // namespace orvo
