#pragma once

#include "grid/filter/filterenums.h"
#include "platform/core/tcolor.h"
#include "platform/core/tpersistent.h"

#include <QStringList>

namespace orvo {

class TOrvoCustomDBGrid;

/// The grid's text search settings (the grid property Search): the search text and
/// its options, how matches are highlighted, the earlier texts, and where the
/// search panel lies and what it shows.
class TOrvoDBGridSearch : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(bool PanelVisible READ PanelVisible WRITE SetPanelVisible)
    Q_PROPERTY(bool PanelOnTop READ PanelOnTop WRITE SetPanelOnTop)
    Q_PROPERTY(bool Incremental READ Incremental WRITE SetIncremental)
    Q_PROPERTY(bool Active READ Active WRITE SetActive)
    Q_PROPERTY(orvo::TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(QStringList History READ History WRITE SetHistory)
    Q_PROPERTY(int ListWidth READ ListWidth WRITE SetListWidth)
    Q_PROPERTY(orvo::TColor PanelColor READ PanelColor WRITE SetPanelColor)
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(orvo::TOrvoSearchOptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(orvo::TOrvoSearchOptions VisibleOptions READ VisibleOptions WRITE SetVisibleOptions)

public:
    /// The highlight colour Color's clDefault stands for (red 255, green 170, blue 0).
    static constexpr TColor DefaultMatchColor = 0x0000AAFF;
    static constexpr int DefaultListWidth = 104;
    static constexpr int MinListWidth = 80;
    static constexpr TOrvoSearchOptions DefaultVisibleOptions{soCaseSensitive, soWholeWords, soWrapAround,
                                                              soCurrentCol, soFilterRows};

    explicit TOrvoDBGridSearch(TOrvoCustomDBGrid* grid);

    TOrvoCustomDBGrid* Grid() const { return FGrid; }
    void Assign(const TPersistent* source) override;

    bool PanelVisible() const { return FPanelVisible; }
    void SetPanelVisible(bool value) { FPanelVisible = value; }
    bool PanelOnTop() const { return FPanelOnTop; }
    void SetPanelOnTop(bool value) { FPanelOnTop = value; }
    bool Incremental() const { return FIncremental; }
    void SetIncremental(bool value) { FIncremental = value; }
    bool Active() const { return FActive; }
    void SetActive(bool value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    /// Earlier search texts, newest first.
    QStringList History() const { return FHistory; }
    void SetHistory(const QStringList& value) { FHistory = value; }
    /// 0 or less becomes 104, anything else below 80 becomes 80.
    int ListWidth() const { return FListWidth; }
    void SetListWidth(int value);
    TColor PanelColor() const { return FPanelColor; }
    void SetPanelColor(TColor value) { FPanelColor = value; }
    QString Text() const { return FText; }
    void SetText(const QString& value);
    TOrvoSearchOptions Options() const { return FOptions; }
    void SetOptions(TOrvoSearchOptions value);
    /// The options the panel shows as check boxes; never soSkipMessage.
    TOrvoSearchOptions VisibleOptions() const { return FVisibleOptions; }
    void SetVisibleOptions(TOrvoSearchOptions value) { FVisibleOptions = value - soSkipMessage; }

    /// The records are filtered by the search text.
    bool IsFiltering() const { return !FText.isEmpty() && FOptions.Contains(soFilterRows); }
    /// Whether the grid's current record matches the search text (the search filter's test).
    bool RecordMatches() const;
    /// Matches are highlighted in the cells.
    bool IsHighlighting() const { return (FActive || FIncremental) && !FText.isEmpty(); }
    /// The colour matches are highlighted with, clDefault resolved.
    TColor MatchColor() const { return FColor == clDefault ? DefaultMatchColor : FColor; }

private:
    void InvalidateGrid();
    void FilterChanged(bool wasFiltering);

    TOrvoCustomDBGrid* FGrid;
    bool FPanelVisible = false;
    bool FPanelOnTop = false;
    bool FIncremental = false;
    bool FActive = true;
    TColor FColor = clDefault;
    QStringList FHistory;
    int FListWidth = DefaultListWidth;
    TColor FPanelColor = clDefault;
    QString FText;
    TOrvoSearchOptions FOptions;
    TOrvoSearchOptions FVisibleOptions = DefaultVisibleOptions;
};

} // namespace orvo
