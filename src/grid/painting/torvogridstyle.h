#pragma once

#include "grid/painting/gridstyleenums.h"
#include "platform/core/tpersistent.h"

#include <QPointer>

namespace orvo {

class TOrvoCustomDBGrid;

/// The extra pixel spacing of the grid's data, header, title and total rows and the
/// margins of title and total text. Either a preset governs them (a compact standard
/// look or a roomier themed one, or whichever of the two suits the grid's fixed-cell
/// theme) or they are set one by one, which makes the style custom.
class TOrvoGridStyle : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(int DataRowSpace READ DataRowSpace WRITE SetDataRowSpace)
    Q_PROPERTY(int HeaderRowSpace READ HeaderRowSpace WRITE SetHeaderRowSpace)
    Q_PROPERTY(int TitleColMargin READ TitleColMargin WRITE SetTitleColMargin)
    Q_PROPERTY(int TitleRowSpace READ TitleRowSpace WRITE SetTitleRowSpace)
    Q_PROPERTY(int TotalColMargin READ TotalColMargin WRITE SetTotalColMargin)
    Q_PROPERTY(int TotalRowSpace READ TotalRowSpace WRITE SetTotalRowSpace)
    Q_PROPERTY(orvo::GridStyleEnums::TVisualStyle VisualStyle READ VisualStyle WRITE SetVisualStyle)

public:
    /// The six values of a preset, in the order of the properties above.
    struct TSpacings
    {
        int DataRowSpace;
        int HeaderRowSpace;
        int TitleColMargin;
        int TitleRowSpace;
        int TotalColMargin;
        int TotalRowSpace;
        bool operator==(const TSpacings&) const = default;
    };

    /// `grid` owns the style and is told to relayout when a value changes; it may be
    /// null for a free-standing style.
    explicit TOrvoGridStyle(TOrvoCustomDBGrid* grid);

    TOrvoCustomDBGrid* Grid() const;

    int DataRowSpace() const { return FSpacings.DataRowSpace; }
    void SetDataRowSpace(int value);
    int HeaderRowSpace() const { return FSpacings.HeaderRowSpace; }
    void SetHeaderRowSpace(int value);
    int TitleColMargin() const { return FSpacings.TitleColMargin; }
    void SetTitleColMargin(int value);
    int TitleRowSpace() const { return FSpacings.TitleRowSpace; }
    void SetTitleRowSpace(int value);
    int TotalColMargin() const { return FSpacings.TotalColMargin; }
    void SetTotalColMargin(int value);
    int TotalRowSpace() const { return FSpacings.TotalRowSpace; }
    void SetTotalRowSpace(int value);
    TSpacings Spacings() const { return FSpacings; }
    /// The six values are stored with the form only while the style is custom.
    Q_INVOKABLE bool IsDataRowSpaceStored() const { return IsCustom(); }
    Q_INVOKABLE bool IsHeaderRowSpaceStored() const { return IsCustom(); }
    Q_INVOKABLE bool IsTitleColMarginStored() const { return IsCustom(); }
    Q_INVOKABLE bool IsTitleRowSpaceStored() const { return IsCustom(); }
    Q_INVOKABLE bool IsTotalColMarginStored() const { return IsCustom(); }
    Q_INVOKABLE bool IsTotalRowSpaceStored() const { return IsCustom(); }
    bool IsCustom() const { return FVisualStyle == vsCustom; }

    TVisualStyle VisualStyle() const { return FVisualStyle; }
    /// Applies a preset; vsDefault is re-applied even when already set, because the
    /// grid's theme it resolves against may have changed since, and so is any preset
    /// with `force`.
    void SetVisualStyle(TVisualStyle value, bool force = false);

    /// The values a preset stands for; vsCustom and vsDefault have none of their own
    /// and answer the vsXPStyle values.
    static TSpacings PresetSpacings(TVisualStyle style);
    /// The preset vsDefault stands for on this grid: the themed one while the grid
    /// draws themed fixed cells, else the standard one.
    TVisualStyle ResolvedVisualStyle() const;

    /// Copies the six values, then takes the source's VisualStyle.
    void Assign(const TPersistent* source) override;

    /// Makes the grid relayout and refresh its editor; with `setCustom` the style
    /// first turns custom, as a value set by hand no longer follows any preset.
    virtual void StyleChanged(bool setCustom);

private:
    void SetSpacing(int TSpacings::*member, int value);

    QPointer<TOrvoCustomDBGrid> FGrid;
    TSpacings FSpacings = PresetSpacings(vsXPStyle);
    TVisualStyle FVisualStyle = vsXPStyle;
};

} // namespace orvo
