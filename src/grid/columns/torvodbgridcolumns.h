#pragma once

#include "grid/dbgrid/dbgridenums.h"
#include "platform/core/tcollection.h"

#include <QList>
#include <QPointer>
#include <QStringList>

class QIODevice;

namespace orvo {

class TField;
class TOrvoColumn;
class TOrvoCustomDBGrid;

/// The columns of a data grid. Default columns follow the dataset's fields and are
/// rebuilt with them; once the user defines a column of his own (a stored column last
/// in the collection) the columns are customized and kept. Changes reach the grid as
/// a repaint (one column) or a layout pass (the whole collection).
class TOrvoDBGridColumns : public TCollection
{
    Q_OBJECT
    Q_PROPERTY(orvo::DBGridEnums::TOrvoColumnsState State READ State WRITE SetState STORED false)

public:
    /// The captions and width of the number, select and expand columns; a program may
    /// change them before it makes grids.
    static QString& NumberColumnCaption();
    static QString& SelectColumnCaption();
    static QString& ExpandColumnCaption();
    static int& AutoColumnWidth();

    explicit TOrvoDBGridColumns(TOrvoCustomDBGrid* grid);

    TOrvoCustomDBGrid* Grid() const { return FGrid; }
    TOrvoColumn* Items(int index) const;
    /// A column the user defines (stored).
    TOrvoColumn* Add();
    /// A column the grid makes from a field (not stored).
    TOrvoColumn* AddDefaultColumn();
    TOrvoColumn* InsertColumn(int index);

    /// csCustomized when the last column is a stored one.
    TOrvoColumnsState State() const;
    /// csCustomized makes stored columns from the fields, csDefault clears the columns.
    void SetState(TOrvoColumnsState value);
    /// Makes one stored column per field of the dataset (sub-fields of object fields
    /// included) plus the auto columns the grid's options ask for, inside a layout pass.
    void RebuildColumns();
    /// The auto columns, each inserted at index 0: stored, or default ones (made by the
    /// grid, not stored) when `stored` is false.
    TOrvoColumn* AddNumberColumn(bool stored = true);
    TOrvoColumn* AddSelectColumn(bool stored = true);
    TOrvoColumn* AddExpandColumn(bool stored = true);
    /// The auto columns the grid's OptionsExt asks for (expand, select, number, in that
    /// order of calls, so that they end up as number, select, expand). Among default
    /// columns they are default ones too: a stored one moved last would make the columns
    /// read customized and cost every default column.
    void AddAutoColumns(bool stored);

    /// Copies another collection of columns inside a layout pass.
    void Assign(const TPersistent* source) override;

    /// Writes the columns and the grid's OrderFields as one TOrvoColumnsWrapper form object.
    void SaveToStream(QIODevice& device) const;
    /// Reads what SaveToStream wrote; raises EStreamError on bad input and then leaves the
    /// columns as they were.
    void LoadFromStream(QIODevice& device);
    /// SaveToStream to a file that is replaced only once it was written whole.
    void SaveToFile(const QString& fileName) const;
    void LoadFromFile(const QString& fileName);

    /// Recomputes every column's parent column from the fields' parents and ExpandCols.
    void UpdateParentColumns();
    /// The sub-columns a column's ExpandCols stands for: no more than the columns that
    /// follow it, and reaching over the whole sub-tree of the last column it covers. The
    /// stored ExpandCols stays as set, so that a count set before its sub-columns are
    /// added takes effect once they are.
    int EffectiveExpandCols(const TOrvoColumn* column) const;
    /// Drops the computed counts; they are computed again on their next use.
    void ExpandColsChanged() { FExpandColsValid = false; }
    /// The columns that carry a sort marker, in sort order.
    QList<QPointer<TOrvoColumn>>& OrderList() { return FOrderList; }
    const QList<QPointer<TOrvoColumn>>& OrderList() const { return FOrderList; }
    /// Takes every column's marker off, in one order bracket of the grid.
    void ClearMarkers();
    /// Renumbers the markers of the order list as the grid's marker options ask.
    void RefreshMarkers();
    /// Makes the order list the marked columns again, sorted by their order position.
    void RebuildOrderList();
    /// Rebuilds the held column lines of the grid's layout ("Columns", one "ColumnN" per
    /// column, "StretchMode" when the grid's settings include it) and returns them.
    const QStringList& BuildColumnsLayout();
    /// Places and sets the columns the lines name, in one update; columns no line names
    /// keep their relative order after them. Malformed values keep the current ones.
    void ApplyColumnsLayout(const QStringList& lines);
    /// The settings lines last built for the grid's layout.
    QStringList& LayoutList() { return FLayoutList; }
    const QStringList& LayoutList() const { return FLayoutList; }
    /// While the report builder reads titles, a sub-column's header carries its parent's.
    bool ReportHeaderMode() const { return FReportHeaderMode; }
    void SetReportHeaderMode(bool value) { FReportHeaderMode = value; }
    /// While a form is written, widths are written as base widths, hidden columns too.
    bool WritingStream() const { return FWritingStream; }
    /// True while LoadFromStream reads columns on this thread. The form reader fills columns
    /// apart from any collection, where every width would measure as the grid-less default.
    static bool ReadingStream();

protected:
    TCollectionItem* CreateItem() override;
    void Update(TCollectionItem* item) override;
    void Notify(TCollectionItem* item, TCollectionNotification action) override;

private:
    bool IsLoading() const;
    void MakeColumnsFromFields();
    void SetGridStretching(bool wasStretching, bool value);
    void AddFieldColumns(const QList<TField*>& fields);
    TOrvoColumn* InsertAutoColumn(const QString& caption, bool stored);
    void UpdateEffectiveExpandCols() const;
    void RefreshMarkersInBracket();
    TOrvoColumn* FindParentByField(int index, const TField* parentField) const;
    TOrvoColumn* FindParentByExpandCols(int index) const;
    bool LayoutIncludesStretchMode() const;
    TOrvoColumn* FindLayoutColumn(int from, const QString& fieldName) const;
    /// Places and sets the column a line names; false when it names none at `index` or later.
    bool ApplyColumnLine(int index, const QString& line);

    TOrvoCustomDBGrid* FGrid;
    QList<QPointer<TOrvoColumn>> FOrderList;
    QStringList FLayoutList;
    bool FReportHeaderMode = false;
    mutable bool FExpandColsValid = false;
    mutable bool FWritingStream = false; // SaveToStream is const: the flag only brackets it
};

} // namespace orvo
