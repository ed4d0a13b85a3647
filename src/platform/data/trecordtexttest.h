#pragma once

#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

namespace orvo {

class TField;

/// A record test told in a form a source can answer itself: a record passes when, for
/// every condition, the text its field gives for editing (TField::EditText), case-folded
/// by TFilterNode::FoldCase, is one of the condition's folded texts. A field that is gone
/// no longer narrows anything.
class TRecordTextTest
{
public:
    struct TCondition
    {
        QPointer<const TField> Field;
        QSet<QString> Folded;
    };

    /// Adds the condition "the field's text is one of `values`", folding them.
    void Add(const TField* field, const QStringList& values);
    const std::vector<TCondition>& Conditions() const { return FConditions; }
    /// Whether the record the fields currently read passes.
    bool Matches() const;

private:
    std::vector<TCondition> FConditions;
};

} // namespace orvo
