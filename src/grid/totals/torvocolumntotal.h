#pragma once

#include "grid/columns/columnenums.h"
#include "platform/core/tcollection.h"
#include "platform/core/tcolor.h"
#include "platform/core/townvalue.h"
#include "platform/data/tfield.h"
#include "platform/graphics/tfont.h"

#include <QPointer>

class QMenu;

Q_MOC_INCLUDE(<QMenu>)

namespace orvo {

class TDataLink;
class TOrvoColumn;
class TOrvoCustomDBGrid;

/// The part every total cell of a column shares: its look, which follows the grid's
/// totals settings and the column until given a value of its own, and the field it
/// reads. The classes below it decide what the cell shows.
class TOrvoColumnTotal : public TCollectionItem
{
    Q_OBJECT
    Q_PROPERTY(orvo::CoreEnums::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(orvo::TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(bool Ellipsis READ Ellipsis WRITE SetEllipsis)
    Q_PROPERTY(QString FieldName READ FieldName WRITE SetFieldName)
    Q_PROPERTY(orvo::TFont Font READ Font WRITE SetFont)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(QMenu* PopupMenu READ PopupMenu WRITE SetPopupMenu)
    Q_PROPERTY(bool ToolTips READ ToolTips WRITE SetToolTips)
    Q_PROPERTY(orvo::ColumnEnums::TToolTipsWidth ToolTipsWidth READ ToolTipsWidth WRITE SetToolTipsWidth)
    Q_PROPERTY(orvo::ColumnEnums::TTotalBox TotalBox READ TotalBox WRITE SetTotalBox)
    Q_PROPERTY(orvo::ColumnEnums::TVAlignment VAlignment READ VAlignment WRITE SetVAlignment)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)

public:
    /// A total of `column`; with a collection given it is appended there.
    explicit TOrvoColumnTotal(TOrvoColumn* column, TCollection* collection = nullptr);

    TOrvoColumn* Column() const { return FColumn; }
    TOrvoCustomDBGrid* Grid() const;

    /// The column's alignment until set.
    TAlignment Alignment() const;
    void SetAlignment(TAlignment value);
    /// The totals' colour until set (clBtnFace without a grid).
    TColor Color() const;
    void SetColor(TColor value);
    /// The totals' font until set (the column's without a grid).
    TFont Font() const;
    void SetFont(const TFont& value);
    Q_INVOKABLE bool IsAlignmentStored() const;
    Q_INVOKABLE bool IsColorStored() const;
    Q_INVOKABLE bool IsFontStored() const { return FFont.IsSet(); }

    bool Ellipsis() const { return FEllipsis; }
    void SetEllipsis(bool value);
    QString FieldName() const { return FFieldName; }
    void SetFieldName(const QString& value);
    QString Hint() const { return FHint; }
    void SetHint(const QString& value);
    QMenu* PopupMenu() const;
    void SetPopupMenu(QMenu* value);
    bool ToolTips() const { return FToolTips; }
    void SetToolTips(bool value);
    TToolTipsWidth ToolTipsWidth() const { return FToolTipsWidth; }
    void SetToolTipsWidth(TToolTipsWidth value);
    TTotalBox TotalBox() const { return FTotalBox; }
    void SetTotalBox(TTotalBox value);
    TVAlignment VAlignment() const { return FVAlignment; }
    void SetVAlignment(TVAlignment value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);

    QString Caption() const { return FCaption; }
    /// Stores the literal text and marks it as the total's own.
    virtual void SetCaption(const QString& value);
    bool CaptionAssigned() const { return FAssigned.Contains(avCaption); }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    virtual TTotalResult TotalResult() const { return FTotalResult; }

    /// The field the total reads: of the totals dataset for trTotalField (while its link
    /// is active), else of the grid's dataset, named FieldName or the column's FieldName.
    TField* Field() const;
    /// Binds the field; a non-empty FieldName becomes the field's full name.
    virtual void SetField(TField* field);

    /// The text the cell shows (the grid's text event not yet applied).
    virtual QString GetText() const;
    QString DisplayName() const override;
    /// Forgets own alignment, colour, caption and font and resets the other settings.
    virtual void RestoreDefaults();
    void Assign(const TPersistent* source) override;

protected:
    enum TAssignedValue
    {
        avCaption
    };

    template <typename T> void Store(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        NotifyChanged();
    }
    /// Tells the collection or, for a total of its own, the column; `allItems` asks for
    /// a layout pass rather than a repaint.
    void NotifyChanged(bool allItems = false);
    /// A calculated total whose inputs changed asks its grid for a new calculation.
    void RecalculateGrid();
    /// "All" or "Selected" part of a text that holds both, separated by "|".
    QString SelectionPart(const QString& text) const;
    /// True while rows or columns of the grid are selected.
    bool SelectionPresent() const;
    /// The totals dataset's link; null without a grid.
    TDataLink* TotalLink() const;
    /// The display text of the field in buffered record `recNo` (1-based) of the totals
    /// link, the previous active record restored afterwards; empty beyond the buffer.
    QString TotalFieldText(int recNo) const;
    QString ResultName() const;

    TTotalResult FTotalResult = trCaption;
    TSet<TAssignedValue> FAssigned;
    QString FCaption;

private:
    /// The dataset the field is looked up in: the totals dataset or the grid's.
    TDataSet* SourceDataSet() const;
    TAlignment DefaultAlignment() const;
    TColor DefaultColor() const;

    TOrvoColumn* FColumn;
    mutable QPointer<TField> FField;
    TOwnValue<TAlignment> FAlignment{taLeftJustify};
    TOwnValue<TColor> FColor{clBtnFace};
    TOwnValue<TFont> FFont;
    bool FEllipsis = true;
    QString FFieldName;
    QString FHint;
    int FImageIndex = -1;
    QPointer<QMenu> FPopupMenu;
    bool FToolTips = true;
    TToolTipsWidth FToolTipsWidth = ttAutoWidth;
    TTotalBox FTotalBox = tbAuto;
    TVAlignment FVAlignment = tvCenter;
    bool FVisible = true;
    bool FWordWrap = true;
};

} // namespace orvo
