#pragma once

#include "grid/dbgrid/dbgridenums.h"
#include "platform/core/tvariant.h"
#include "platform/graphics/tfont.h"
#include "platform/gridbase/tcustomgrid.h"

#include <QPoint>
#include <QRect>
#include <QStringList>

#include <functional>

class QObject;

namespace orvo {

class TDataSet;
class TField;
class TOrvoColumn;
class TOrvoColumnTotalValue;

/// The events a data grid fires, each a handler a program assigns. A base of the
/// grid, so that `grid->OnCellClick = ...` and `TOrvoCustomDBGrid::TNotifyEvent`
/// read as members of the grid itself.
class TOrvoDBGridEvents
{
public:
    using TNotifyEvent = std::function<void(QObject* sender)>;
    using TDBGridClickEvent = std::function<void(TOrvoColumn* column)>;
    using TCalcBoldDaysEvent = std::function<void(QObject* sender, double date, bool& boldDay)>;
    using TCalcImageIndexEvent = std::function<void(QObject* sender, TOrvoColumn* column, int& index)>;
    using TCellHintEvent = std::function<void(QObject* sender, TOrvoColumn* column, int index,
                                              THintCell hintCell, QString& hintStr)>;
    using TColGetTextEvent = std::function<void(TOrvoColumn* column, QString& text, TTextKind textKind)>;
    using TColSetTextEvent = std::function<void(TOrvoColumn* column, QString& text)>;
    using TMovedEvent = std::function<void(QObject* sender, int fromIndex, int toIndex)>;
    using TColumnMovingEvent = std::function<void(QObject* sender, int fromIndex, int toIndex, bool& accept)>;
    using TColumnScrollEvent = std::function<void(QObject* sender, int leftIndex)>;
    using TDrawColumnCellEvent = std::function<void(QObject* sender, const QRect& rect, int dataCol,
                                                    TOrvoColumn* column, TGridDrawState state)>;
    using TDrawDataCellEvent =
        std::function<void(QObject* sender, const QRect& rect, TField* field, TGridDrawState state)>;
    using TFilterRecordEvent = std::function<void(TDataSet* dataSet, bool& accept)>;
    using THeaderClickEvent = std::function<void(TOrvoColumn* column, int index)>;
    using TLayoutEvent = std::function<void(QObject* sender, QStringList& layout, bool apply)>;
    using TListCloseUpEvent =
        std::function<void(TOrvoColumn* column, QObject* list, TVariant& value, bool& accept)>;
    using TListDropDownEvent = std::function<void(TOrvoColumn* column, QObject* list)>;
    using TPaintColumnCellEvent = std::function<void(
        QObject* sender, const QRect& rect, int dataCol, TOrvoColumn* column, bool highlight,
        TSelections selections, TColor& color, TFont& font, QObject*& image)>;
    using TRowExpandEvent = std::function<void(QObject* sender, bool expand)>;
    using TRowExpandingEvent = std::function<void(QObject* sender, bool expand, bool& allow)>;
    using TRowSelectEvent = std::function<void(QObject* sender, TSelectAction action)>;
    using TTotalCalcQueryEvent = std::function<void(QObject* sender, TDataSet* dataSet, bool& accept)>;
    using TTotalCalcValueEvent =
        std::function<void(TOrvoColumnTotalValue* total, TCalcPass pass, TVariant& value)>;
    using TTotalClickEvent = std::function<void(TOrvoColumn* column, int index)>;
    using TTotalGetTextEvent =
        std::function<void(TOrvoColumn* column, int index, QString& text, TTextKind textKind)>;
    using TKeyEvent = std::function<void(QObject* sender, int& key, TShiftState shift)>;
    using TKeyPressEvent = std::function<void(QObject* sender, QChar& key)>;
    using TMouseEvent =
        std::function<void(QObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
    using TMouseMoveEvent = std::function<void(QObject* sender, TShiftState shift, int x, int y)>;
    using TMouseWheelEvent = std::function<void(QObject* sender, TShiftState shift, int wheelDelta,
                                                QPoint mousePos, bool& handled)>;
    using TMouseWheelUpDownEvent =
        std::function<void(QObject* sender, TShiftState shift, QPoint mousePos, bool& handled)>;

    TCalcBoldDaysEvent OnCalcBoldDays;
    TCalcImageIndexEvent OnCalcImageIndex;
    TDBGridClickEvent OnCellClick;
    TDBGridClickEvent OnCellDblClick;
    TDBGridClickEvent OnCellExpand;
    TDBGridClickEvent OnColExpand;
    TDBGridClickEvent OnExpandClick;
    TDBGridClickEvent OnTitleClick;
    TCellHintEvent OnCellHint;
    TNotifyEvent OnColEnter;
    TNotifyEvent OnColExit;
    TNotifyEvent OnColTextChanged;
    TNotifyEvent OnColumnResize;
    TNotifyEvent OnRowResize;
    TNotifyEvent OnEditButtonClick;
    TNotifyEvent OnFillerClick;
    TNotifyEvent OnIndicatorClick;
    TNotifyEvent OnFilterChanged;
    TNotifyEvent OnFilterUpdated;
    TNotifyEvent OnListItemsUpdated;
    TNotifyEvent OnOrderChanged;
    TNotifyEvent OnOrderUpdated;
    TNotifyEvent OnSelectedColsChanged;
    TNotifyEvent OnSelectedRowsChanged;
    TNotifyEvent OnSelectionChanged;
    TNotifyEvent OnSequenceUpdated;
    TNotifyEvent OnTotalsUpdated;
    TNotifyEvent OnToolMenuClick;
    TNotifyEvent OnToolMenuCreate;
    TNotifyEvent OnToolMenuPopup;
    TNotifyEvent OnToolMenuUpdate;
    TColGetTextEvent OnColGetText;
    TColSetTextEvent OnColSetText;
    TMovedEvent OnColumnMoved;
    TColumnMovingEvent OnColumnMoving;
    TColumnScrollEvent OnColumnScroll;
    TDrawColumnCellEvent OnDrawColumnCell;
    TDrawDataCellEvent OnDrawDataCell;
    THeaderClickEvent OnHeaderClick;
    TLayoutEvent OnLayout;
    TListCloseUpEvent OnListCloseUp;
    TListDropDownEvent OnListDropDown;
    TPaintColumnCellEvent OnPaintColumnCell;
    TRowExpandEvent OnRowExpand;
    TRowExpandingEvent OnRowExpanding;
    TRowSelectEvent OnRowSelect;
    TTotalCalcQueryEvent OnTotalCalcQuery;
    TTotalCalcValueEvent OnTotalCalcValue;
    TTotalClickEvent OnTotalClick;
    TTotalGetTextEvent OnTotalGetText;
    // The standard control events.
    TNotifyEvent OnDblClick;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;

protected:
    ~TOrvoDBGridEvents() = default;
};

} // namespace orvo
