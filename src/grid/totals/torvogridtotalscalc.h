#pragma once

#include "grid/dbgrid/dbgridenums.h"

#include <QString>

#include <functional>

namespace orvo {

class TOrvoBookmarkList;
class TOrvoColumn;
class TOrvoColumnTotal;
class TOrvoColumnTotalValue;
class TOrvoCustomDBGrid;

/// The grid's totals calculation: when it runs (at once or after the program-wide delay),
/// which total rows and which records take part (the whole dataset, the selected rows),
/// and the three passes over them, with the dataset's current record and its row on
/// screen kept. Also the text of a total cell, which for the totals-dataset rows reads the
/// totals link's record of that row.
class TOrvoGridTotalsCalc
{
public:
    explicit TOrvoGridTotalsCalc(TOrvoCustomDBGrid& grid);
    TOrvoGridTotalsCalc(const TOrvoGridTotalsCalc&) = delete;
    TOrvoGridTotalsCalc& operator=(const TOrvoGridTotalsCalc&) = delete;

    /// True while a calculation runs.
    bool Running() const { return FRunning; }
    /// Asks for a calculation of every total; `autoUpdate` marks a request that follows a
    /// change of the data and counts only with dgAutoUpdateTotals.
    void UpdateTotals(bool autoUpdate);
    /// Calculates the totals: of the rows with a selection option over the selected rows
    /// (`selected`), or of every total row.
    void CalcTotals(bool selected);
    /// One pass over every total row that takes part; true when any total took part.
    bool CalcTotalsPass(TCalcPass pass, bool selected);
    /// The text of total row `index` (0 = first row after the blank row) of `column`.
    QString GetTotalText(TOrvoColumn* column, int index, TTextKind textKind);

private:
    enum class TRecords
    {
        None,
        WholeDataSet,
        SelectedRows
    };

    bool AnyTotalRow() const;
    /// Rows or columns are selected, as the selection events last reported.
    bool SelectionPresent() const;
    /// Some total row shows selected-row results (a selection option is set).
    bool AnySelectionRow() const;
    TRecords ChooseRecords(bool selected) const;
    void Calculate(bool selected);
    /// Visits the records with the dataset's controls off and puts back the current record
    /// at its row however the visit ends.
    void VisitRecords(TRecords records, bool selected);
    void VisitWith(TRecords records, bool selected);
    /// Whether a total row with these options takes part in a pass.
    bool RowTakesPart(TOrvoDBGridOptionEx rowOption, TOrvoDBGridOptionEx selectionOption, TCalcPass pass,
                      bool selected) const;
    using TTotalRowAction = std::function<void(TOrvoColumnTotalValue*, TOrvoDBGridOptionEx rowOption,
                                               TOrvoDBGridOptionEx selectionOption)>;
    /// Every header, value and footer total with the options of its row.
    void ForEachTotalRow(const TTotalRowAction& action) const;
    /// A pass the dataset answers in one statement instead of the walk: over the whole
    /// dataset, or over the selected `rows` when given.
    bool AnsweredByDataSet(bool selected, const TOrvoBookmarkList* rows) const;
    /// What the database calls while it works, so that a shown grid stays alive.
    std::function<void()> KeepWindowAlive() const;
    /// Milliseconds between two turns of the event loop while the database works.
    static constexpr int KeepAliveInterval = 50;
    QString TotalFieldText(const TOrvoColumnTotal* total, int index) const;

    TOrvoCustomDBGrid& FGrid;
    bool FRunning = false;
};

} // namespace orvo
