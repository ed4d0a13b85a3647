#pragma once

#include "grid/columns/columnenums.h"
#include "grid/dbgrid/dbgridenums.h"
#include "grid/filter/filterenums.h"
#include "platform/core/tcolor.h"
#include "platform/core/townvalue.h"
#include "platform/core/tpersistent.h"
#include "platform/data/tfield.h"
#include "platform/graphics/tfont.h"

#include <QPointer>

class QMenu;

Q_MOC_INCLUDE(<QMenu>)

namespace orvo {

class TOrvoColumn;
class TOrvoCustomDBGrid;

/// The title of a grid column: its caption, the header texts drawn above the caption
/// ("|" separates the levels, level 0 on top), the sort marker and the title's own look.
/// Caption, colour, alignment and font follow the field and the grid until given a
/// value of their own.
class TOrvoColumnTitle : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(orvo::CoreEnums::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(bool AutoFilter READ AutoFilter WRITE SetAutoFilter)
    Q_PROPERTY(orvo::TFilterStyles AutoFilters READ AutoFilters WRITE SetAutoFilters)
    Q_PROPERTY(bool AutoToggle READ AutoToggle WRITE SetAutoToggle)
    Q_PROPERTY(bool Button READ Button WRITE SetButton)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(orvo::TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(QMenu* DropDownMenu READ DropDownMenu WRITE SetDropDownMenu)
    Q_PROPERTY(bool Ellipsis READ Ellipsis WRITE SetEllipsis)
    Q_PROPERTY(orvo::TFont Font READ Font WRITE SetFont)
    Q_PROPERTY(QString Header READ Header WRITE SetHeader)
    Q_PROPERTY(QString HeaderHint READ HeaderHint WRITE SetHeaderHint)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(int ImageIndex READ ImageIndex WRITE SetImageIndex)
    Q_PROPERTY(orvo::ColumnEnums::TMarker Marker READ Marker WRITE SetMarker)
    Q_PROPERTY(int MarkerIndex READ MarkerIndex WRITE SetMarkerIndex)
    Q_PROPERTY(int OrderIndex READ OrderIndex WRITE SetOrderIndex STORED false)
    Q_PROPERTY(QMenu* PopupMenu READ PopupMenu WRITE SetPopupMenu)
    Q_PROPERTY(orvo::ColumnEnums::TVAlignment VAlignment READ VAlignment WRITE SetVAlignment)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)

public:
    /// The highest marker image: ascending and descending for the plain marker and the
    /// numbers 1 to 9.
    static constexpr int MaxMarkerIndex = 19;

    explicit TOrvoColumnTitle(TOrvoColumn* column);

    TOrvoColumn* Column() const { return FColumn; }
    TOrvoCustomDBGrid* Grid() const;

    TAlignment Alignment() const;
    void SetAlignment(TAlignment value);
    /// The field's display name (the lookup result field's for a looked-up value), else
    /// the column's FieldName, until set. A default column bound to an active link passes
    /// a new caption to its field's DisplayLabel instead.
    QString Caption() const;
    void SetCaption(const QString& value);
    QString DefaultCaption() const;
    /// The grid's FixedColor until set.
    TColor Color() const;
    void SetColor(TColor value);
    /// The grid's TitleFont (the column's font without a grid) until set.
    TFont Font() const;
    void SetFont(const TFont& value);
    Q_INVOKABLE bool IsAlignmentStored() const;
    Q_INVOKABLE bool IsCaptionStored() const;
    Q_INVOKABLE bool IsColorStored() const;
    Q_INVOKABLE bool IsFontStored() const { return FFont.IsSet(); }

    bool AutoFilter() const { return FAutoFilter; }
    void SetAutoFilter(bool value);
    TFilterStyles AutoFilters() const { return FAutoFilters; }
    void SetAutoFilters(TFilterStyles value);
    bool AutoToggle() const { return FAutoToggle; }
    void SetAutoToggle(bool value);
    bool Button() const { return FButton; }
    void SetButton(bool value);
    QMenu* DropDownMenu() const;
    /// Also moves the column's ExpandStyle between cesAuto and cesDropDownMenu.
    void SetDropDownMenu(QMenu* value);
    bool Ellipsis() const { return FEllipsis; }
    void SetEllipsis(bool value);
    QString Header() const { return FHeader; }
    void SetHeader(const QString& value);
    QString HeaderHint() const { return FHeaderHint; }
    void SetHeaderHint(const QString& value);
    QString Hint() const { return FHint; }
    void SetHint(const QString& value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    QMenu* PopupMenu() const;
    void SetPopupMenu(QMenu* value);
    TVAlignment VAlignment() const { return FVAlignment; }
    void SetVAlignment(TVAlignment value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);

    /// The image of the marker list: bit 0 descending, index div 2 the order position
    /// (0 for the unnumbered marker); -1 for none. Values outside [-1, 19] become -1.
    /// Within a grid, setting it enters or leaves the grid's sort order and the marker
    /// options renumber it.
    int MarkerIndex() const { return FMarkerIndex; }
    void SetMarkerIndex(int value);
    /// The direction of the column in the sort order, tmNone when it is not part of it.
    TMarker Marker() const { return FMarker; }
    void SetMarker(TMarker value);
    /// MarkerIndex div 2, -1 without a marker. With numbered markers (dgMarkerAutoToggle
    /// without dgMarkerAutoSwitch) setting it moves the column to that 1-based position of
    /// the sort order.
    int OrderIndex() const;
    void SetOrderIndex(int value);
    /// A click on the title: with `force` the column becomes the only sort column (or
    /// advances its direction); without, it joins the order or advances its direction.
    void ToggleMarker(bool force);

    /// The header texts over the caption; in report-header mode a sub-column's header
    /// also carries its parent's header and caption.
    QString HeaderText() const;
    /// The number of header levels over the caption.
    int HeaderLevels() const;
    /// The header text of `level` (empty when there is none).
    QString HeaderPart(int level) const;
    /// The hint of header `level` (empty when there is none).
    QString HeaderHintPart(int level) const;
    /// The nearest shown column on that side with which this title shares its header cell
    /// at `level`, or nullptr.
    TOrvoColumn* PriorHeaderColumn(int level) const;
    TOrvoColumn* NextHeaderColumn(int level) const;
    /// True when this title and `other`'s share the header cell at `level`.
    bool SharesHeaderWith(const TOrvoColumn* other, int level) const;

    /// Forgets own caption, colour, alignment and font and resets the other settings
    /// (the marker stays: it belongs to the grid's sort order).
    virtual void RestoreDefaults();
    void Assign(const TPersistent* source) override;

private:
    template <typename T> void Store(T& field, const T& value);
    void Changed();
    TColor DefaultColor() const;
    bool InReportHeaderMode() const;
    TOrvoColumn* NeighbourSharingHeader(int level, int step) const;
    TOrvoDBGridOptions GridOptions() const;
    QList<QPointer<TOrvoColumn>>& OrderList() const;
    void StoreMarker(int markerIndex);
    void ApplyMarkerIndex(int value);
    void ApplyMarker(TMarker value);
    void MoveInOrder(int position);
    void AdvanceMarker(bool force);

    TOrvoColumn* FColumn;
    TOwnValue<TAlignment> FAlignment{taLeftJustify};
    TOwnValue<QString> FCaption;
    TOwnValue<TColor> FColor{clBtnFace};
    TOwnValue<TFont> FFont;
    bool FAutoFilter = true;
    TFilterStyles FAutoFilters{fsFilterList, fsFilterForm};
    bool FAutoToggle = true;
    bool FButton = true;
    QPointer<QMenu> FDropDownMenu;
    bool FEllipsis = true;
    QString FHeader;
    QString FHeaderHint;
    QString FHint;
    int FImageIndex = -1;
    int FMarkerIndex = -1;
    TMarker FMarker = tmNone;
    QPointer<QMenu> FPopupMenu;
    TVAlignment FVAlignment = tvCenter;
    bool FWordWrap = true;
};

} // namespace orvo
