#pragma once

#include "platform/gridbase/gridenums.h"

#include "platform/core/tpersistent.h"
#include "platform/data/tfieldtype.h"

#include <QPointer>

namespace orvo {

class TDataSet;
class TField;
class TOrvoCustomDBGrid;

/// The grid's tree-view settings and state. A flat dataset whose records name a parent
/// record (ParentFields against the grid's KeyFields) is shown as a tree through three
/// hidden fields of the dataset: the row's level, a path that sorts children after
/// their parent, and a state word (visible, expanded, has children). This object keeps
/// the settings of that tree and which fields those are, and reads them for the
/// current record.
class TOrvoDBGridTreeView : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(bool AutoActive READ AutoActive WRITE SetAutoActive)
    Q_PROPERTY(bool AutoUpdate READ AutoUpdate WRITE SetAutoUpdate)
    Q_PROPERTY(bool CellExpand READ CellExpand WRITE SetCellExpand)
    Q_PROPERTY(int OpenToLevel READ OpenToLevel WRITE SetOpenToLevel)
    Q_PROPERTY(QString ColumnNames READ ColumnNames WRITE SetColumnNames)
    Q_PROPERTY(QString KeyFields READ KeyFields WRITE SetKeyFields STORED false)
    Q_PROPERTY(QString ParentFields READ ParentFields WRITE SetParentFields)
    Q_PROPERTY(QString RowLevelFieldName READ RowLevelFieldName WRITE SetRowLevelFieldName)
    Q_PROPERTY(QString RowOrderFieldName READ RowOrderFieldName WRITE SetRowOrderFieldName)
    Q_PROPERTY(int RowOrderFieldSize READ RowOrderFieldSize WRITE SetRowOrderFieldSize)
    Q_PROPERTY(QString RowStateFieldName READ RowStateFieldName WRITE SetRowStateFieldName)

public:
    /// The bits of a row's state word.
    static constexpr int StateVisible = 1;
    static constexpr int StateExpanded = 2;
    static constexpr int StateHasChildren = 4;
    /// The smallest size of a created path field that holds a useful depth.
    static constexpr int MinRowOrderFieldSize = 20;
    static constexpr int DefaultRowOrderFieldSize = 80;

    /// `grid` owns the tree view and supplies KeyFields and the dataset; it may be null
    /// for free-standing settings.
    explicit TOrvoDBGridTreeView(TOrvoCustomDBGrid* grid);

    TOrvoCustomDBGrid* Grid() const;

    bool AutoActive() const { return FAutoActive; }
    void SetAutoActive(bool value) { FAutoActive = value; }
    bool AutoUpdate() const { return FAutoUpdate; }
    void SetAutoUpdate(bool value) { FAutoUpdate = value; }
    bool CellExpand() const { return FCellExpand; }
    void SetCellExpand(bool value) { FCellExpand = value; }
    /// Rows above this level open expanded, rows at or below it collapsed; -1 opens all.
    int OpenToLevel() const { return FOpenToLevel; }
    /// Values below -1 become -1.
    void SetOpenToLevel(int value);
    /// The ";"-separated fields whose columns show the tree's boxes.
    QString ColumnNames() const { return FColumnNames; }
    /// "," becomes ";" and each name is spelled as the dataset's field it names.
    void SetColumnNames(const QString& value);
    /// The grid's KeyFields, read and written through.
    QString KeyFields() const;
    void SetKeyFields(const QString& value);
    /// The ";"-separated fields that hold a row's parent key values.
    QString ParentFields() const { return FParentFields; }
    /// Normalised like ColumnNames.
    void SetParentFields(const QString& value);

    QString RowLevelFieldName() const;
    /// Assigning the default (in any case) returns to it.
    void SetRowLevelFieldName(const QString& value);
    QString RowOrderFieldName() const;
    void SetRowOrderFieldName(const QString& value);
    int RowOrderFieldSize() const { return FRowOrderFieldSize; }
    /// 0 or less means the default; 1 to 19 become MinRowOrderFieldSize.
    void SetRowOrderFieldSize(int value);
    QString RowStateFieldName() const;
    void SetRowStateFieldName(const QString& value);

    /// The names and the size are stored with the form only when set apart from the default.
    Q_INVOKABLE bool IsRowLevelFieldNameStored() const { return !FRowLevelFieldName.isEmpty(); }
    Q_INVOKABLE bool IsRowOrderFieldNameStored() const { return !FRowOrderFieldName.isEmpty(); }
    Q_INVOKABLE bool IsRowOrderFieldSizeStored() const
    {
        return FRowOrderFieldSize != GetDefaultRowOrderFieldSize();
    }
    Q_INVOKABLE bool IsRowStateFieldNameStored() const { return !FRowStateFieldName.isEmpty(); }

    virtual QString GetDefaultRowLevelFieldName() const;
    virtual QString GetDefaultRowOrderFieldName() const;
    virtual int GetDefaultRowOrderFieldSize() const;
    virtual QString GetDefaultRowStateFieldName() const;

    /// Looks the level, path and state fields up in `dataSet` by name; true when all
    /// three exist. Without them the accessors below read nothing.
    bool FindTreeFields(TDataSet* dataSet);
    /// Gives a closed dataset the level, path and state fields it lacks, as hidden
    /// internal calculated fields: writable in browse state, sortable, never written
    /// to the source. A dataset without field objects first gets persistent fields for
    /// its field definitions, so that they stay beside the new ones when it opens.
    virtual void CreateTreeFields(TDataSet* dataSet);
    /// Forgets the fields looked up.
    void ForgetTreeFields();
    TField* RowLevelField() const;
    TField* RowOrderField() const;
    TField* RowStateField() const;

    /// A click on the expand box of the current row (or anywhere in its cell with
    /// CellExpand): Ctrl reveals the current row, otherwise its children are shown or
    /// hidden, on every level below with Shift.
    void ExpandBoxClick(TShiftState shift);
    /// Shows or hides the current row's children. The tree that keeps rows visible and
    /// hidden is built on activation; until it is, no row has children to toggle.
    virtual void ToggleExpanded(bool allLevels);
    /// Expands the ancestors of the current row until it is visible; the same holds.
    virtual void RevealCurrentRow();

    /// The current record's level (0 without the field or with a null value).
    int RowLevel() const;
    /// The current record's path (empty without the field).
    QString RowOrder() const;
    /// The current record's state word (0 without the field or with a null value).
    int RowState() const;
    bool RowVisible() const { return IsVisibleState(RowState()); }
    bool RowExpanded() const { return (RowState() & StateExpanded) != 0; }
    bool RowHasChildren() const { return (RowState() & StateHasChildren) != 0; }
    /// A state word of 0 (a row the tree has not seen yet) counts as visible.
    static bool IsVisibleState(int state) { return state == 0 || (state & StateVisible) != 0; }

    /// The width of one record number in a path: the digits of `recordCount` plus one.
    static int PathWidth(int recordCount);
    /// A record number right-aligned in `width` characters, as paths are made of.
    static QString FormatRowNumber(int recNo, int width);

    /// Copies every published value but KeyFields, which belongs to the grid.
    void Assign(const TPersistent* source) override;

private:
    /// `value`, or empty when it names the default (which is then not stored).
    static QString ApartFromDefault(const QString& value, const QString& defaultValue);
    QString NormalizedFieldList(const QString& text) const;
    static void CreatePersistentFields(TDataSet* dataSet);
    static void CreateInternalField(TDataSet* dataSet, const QString& name, TFieldType type, int size);
    TDataSet* DataSet() const;

    QPointer<TOrvoCustomDBGrid> FGrid;
    bool FAutoActive = true;
    bool FAutoUpdate = true;
    bool FCellExpand = false;
    int FOpenToLevel = -1;
    QString FColumnNames;
    QString FParentFields;
    QString FRowLevelFieldName;
    QString FRowOrderFieldName;
    int FRowOrderFieldSize = DefaultRowOrderFieldSize;
    QString FRowStateFieldName;

    QPointer<TField> FRowLevelField;
    QPointer<TField> FRowOrderField;
    QPointer<TField> FRowStateField;
};

} // namespace orvo
