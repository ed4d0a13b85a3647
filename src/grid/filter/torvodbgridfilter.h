#pragma once

#include "grid/filter/filterenums.h"
#include "platform/core/tpersistent.h"

#include <QList>
#include <QPointer>
#include <QStringList>

namespace orvo {

class TOrvoColumn;
class TOrvoCustomDBGrid;
class TOrvoFilterDialect;

/// The grid's column filters (the grid property FilterGrid): whether they take part,
/// how the auto-filter list and the filter form behave, and the combined expression
/// of the columns' own expressions. Columns keep their checked values and expression;
/// this object collects the filtered columns after each change and writes them as
/// settings lines.
class TOrvoDBGridFilter : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(bool Filtered READ Filtered WRITE SetFiltered)
    Q_PROPERTY(bool AutoFilter READ AutoFilter WRITE SetAutoFilter)
    Q_PROPERTY(bool AutoUpdate READ AutoUpdate WRITE SetAutoUpdate)
    Q_PROPERTY(int DropDownRows READ DropDownRows WRITE SetDropDownRows)
    Q_PROPERTY(int DropDownWidth READ DropDownWidth WRITE SetDropDownWidth)
    Q_PROPERTY(orvo::TOrvoDBGridFilterOptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(orvo::TOrvoDBGridFilterClauses Clauses READ Clauses WRITE SetClauses)
    Q_PROPERTY(orvo::TOrvoDBGridFilterPeriods Periods READ Periods WRITE SetPeriods)
    Q_PROPERTY(orvo::TFilterStyles AutoFilters READ AutoFilters WRITE SetAutoFilters)
    Q_PROPERTY(bool DecimalSeparator READ DecimalSeparator WRITE SetDecimalSeparator)
    Q_PROPERTY(QStringList Settings READ Settings WRITE SetSettings STORED false)

public:
    static constexpr TOrvoDBGridFilterOptions DefaultOptions{foAutoApplyList, foListAnimation,
                                                             foListAlignment, foOverlayedList};
    static constexpr TOrvoDBGridFilterClauses AllClauses =
        TOrvoDBGridFilterClauses::Range(fcNoFilter, fcIsNotEmpty);
    /// Every period but fpOthers, which switches the relative rows on.
    static constexpr TOrvoDBGridFilterPeriods DefaultPeriods =
        TOrvoDBGridFilterPeriods::Range(fpNoPeriod, fpDecades);
    static constexpr TFilterStyles DefaultAutoFilters{fsFilterList, fsFilterForm};

    /// Bits of ClearFilters' argument.
    enum TClearWhat
    {
        cfFilterLists = 1,
        cfFilterTexts = 2
    };

    explicit TOrvoDBGridFilter(TOrvoCustomDBGrid* grid);

    TOrvoCustomDBGrid* Grid() const { return FGrid; }
    void Assign(const TPersistent* source) override;

    bool Filtered() const { return FFiltered; }
    void SetFiltered(bool value);
    bool AutoFilter() const { return FAutoFilter; }
    void SetAutoFilter(bool value);
    bool AutoUpdate() const { return FAutoUpdate; }
    void SetAutoUpdate(bool value);
    int DropDownRows() const { return FDropDownRows; }
    void SetDropDownRows(int value);
    int DropDownWidth() const { return FDropDownWidth; }
    void SetDropDownWidth(int value);
    TOrvoDBGridFilterOptions Options() const { return FOptions; }
    void SetOptions(TOrvoDBGridFilterOptions value) { FOptions = value; }
    /// Always holds fcNoFilter.
    TOrvoDBGridFilterClauses Clauses() const { return FClauses; }
    void SetClauses(TOrvoDBGridFilterClauses value) { FClauses = value + fcNoFilter; }
    /// Always holds fpNoPeriod.
    TOrvoDBGridFilterPeriods Periods() const { return FPeriods; }
    void SetPeriods(TOrvoDBGridFilterPeriods value) { FPeriods = value + fpNoPeriod; }
    TFilterStyles AutoFilters() const { return FAutoFilters; }
    void SetAutoFilters(TFilterStyles value);
    bool DecimalSeparator() const { return FDecimalSeparator; }
    void SetDecimalSeparator(bool value) { FDecimalSeparator = value; }

    /// True while the grid's combined filter is installed on the dataset; the grid's
    /// apply step sets it.
    bool Engaged() const { return FEngaged; }
    void SetEngaged(bool value) { FEngaged = value; }
    /// Whether any column holds checked values or an expression, Filtered or not.
    bool HasColumnFilters() const;
    /// The columns that have a filter, in column order (empty while not Filtered).
    QList<TOrvoColumn*> FilteredColumns() const;
    /// The columns' expressions joined: "(A) AND (B)".
    QString FilterText() const { return FFilterText; }
    /// The filtered columns whose expression FilterText leaves out: it is not whole on
    /// its own, or, on an open dataset, it names a field the dataset lacks or holds a
    /// value its field cannot take. Their expressions stay with the columns, unchanged.
    QList<TOrvoColumn*> RejectedColumns() const;
    /// The expression the grid installs: the program's own filter and FilterText.
    QString GetDataSetFilter() const;
    /// How expressions are written for the grid's current dataset.
    TOrvoFilterDialect Dialect() const;
    /// The clauses the filter form may offer for the grid's current dataset.
    TOrvoDBGridFilterClauses AllowedClauses() const;

    int UpdateCount() const { return FUpdateCount; }
    void BeginUpdate();
    void EndUpdate();
    /// Collects the filtered columns and FilterText again, unless an update is open.
    virtual void Changed();
    /// Empties the columns' checked values and/or expressions (TClearWhat bits),
    /// running Changed once when anything was emptied.
    void ClearFilters(int what);

    /// The filter lines: "Filters=n", then one "Filteri=..." line per filtered column.
    QStringList Settings();
    /// Clears every column filter and reads the lines; lines of fields without a column are skipped.
    void SetSettings(const QStringList& lines);
    /// Reads the last lines read or written again.
    void RestoreSettings();

private:
    void Rebuild();
    bool ExpressionAccepted(const QString& expression) const;
    void RequestApply();
    void RequestLayout();

    TOrvoCustomDBGrid* FGrid;
    bool FEngaged = false;
    bool FFiltered = true;
    bool FAutoFilter = false;
    bool FAutoUpdate = true;
    QList<QPointer<TOrvoColumn>> FFilteredColumns;
    QList<QPointer<TOrvoColumn>> FRejectedColumns;
    QString FFilterText;
    int FDropDownRows = 0;
    int FDropDownWidth = 0;
    TOrvoDBGridFilterOptions FOptions = DefaultOptions;
    TOrvoDBGridFilterClauses FClauses = AllClauses;
    TOrvoDBGridFilterPeriods FPeriods = DefaultPeriods;
    TFilterStyles FAutoFilters = DefaultAutoFilters;
    bool FDecimalSeparator = false;
    int FUpdateCount = 0;
    QStringList FSettingsLines;
};

} // namespace orvo
