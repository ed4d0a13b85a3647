#pragma once

#include "grid/filter/filterenums.h"

#include <QString>
#include <QStringList>

struct QMetaObject;

namespace orvo {

/// What one kind of dataset accepts in a filter expression.
struct TOrvoFilterDialectRules
{
    /// How numbers are written in the expressions of this kind of dataset.
    enum TNumberSeparator
    {
        nsPoint,         ///< always "."
        nsLocale,        ///< the locale's decimal separator
        nsFilterProperty ///< the locale's when the grid filter's DecimalSeparator is set, else "."
    };

    /// Names the entry, so that a program can replace or remove it.
    QString Name;
    /// The dataset classes (without namespace) this entry is for; their descendants
    /// use it too, unless an entry names the descendant itself.
    QStringList ClassNames;
    TOrvoDBGridFilterClauses UnavailableClauses;
    /// "is empty" is written "= NULL" and "is not empty" "<> NULL".
    bool NullByEquality = false;
    TNumberSeparator NumberSeparator = nsPoint;
    /// The filter form may negate a whole filter.
    bool OffersNot = true;
};

/// The program-wide list of filter dialects, searched by a dataset's class and then
/// by each of its ancestors. The suite's own datasets (the SQLite table and query,
/// the in-memory datasets) evaluate every filter with the one expression engine and
/// are registered from the start; a dataset that hands its filter to another
/// evaluator registers the rules of that evaluator. A dataset found nowhere gets
/// Other().
class TOrvoFilterDialects
{
public:
    /// Adds `rules`, replacing an entry of the same Name; a later entry wins over an
    /// earlier one for the same class.
    static void Register(const TOrvoFilterDialectRules& rules);
    /// Removes the entry named `name`; false when there is none.
    static bool Unregister(const QString& name);

    /// The rules for a dataset of class `dataSetClass`.
    static TOrvoFilterDialectRules Find(const QMetaObject* dataSetClass);
    /// The rules for the first of `classNames` (a class, then its ancestors) with an entry.
    static TOrvoFilterDialectRules FindByClassNames(const QStringList& classNames);
    /// The rules for a dataset no entry names: the engine's expressions, with numbers
    /// written as the filter's DecimalSeparator property says.
    static TOrvoFilterDialectRules Other();
};

} // namespace orvo
