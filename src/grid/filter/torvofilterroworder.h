#pragma once

#include <QStringList>

#include <functional>

namespace orvo {

/// Puts a value list's rows in the order it shows them: sorted as QCollator of the current
/// locale compares them without regard to case, each text once, also without regard to
/// case (of texts that compare equal the first stays). A key is made once per row instead
/// of collating at every comparison, so that a million rows sort in well under a second.
class TOrvoFilterRowOrder
{
public:
    /// Sorts `rows` and drops the repeated ones; true when a dropped row differed from the
    /// one kept (a case variant), so that which of them came first decided the result.
    static bool SortDistinct(QStringList& rows);
    /// The same for rows that seldom repeat exactly (one per distinct value): it skips the
    /// first pass that drops exact repeats, which pays only where rows repeat often.
    /// `progress`, when given, is called every few thousand steps of the work.
    static bool SortMostlyDistinct(QStringList& rows, const std::function<void()>& progress = {});

private:
    /// The text with each character case-folded on its own, as the C locale's collator
    /// folds it: such keys compare by code unit exactly as it compares the texts. A text
    /// that folding leaves as it is is its own key.
    static QString FoldedKey(const QString& text);
};

} // namespace orvo
