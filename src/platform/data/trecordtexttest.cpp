#include "platform/data/trecordtexttest.h"

#include "platform/data/tfield.h"
#include "platform/data/tfilternode.h"

namespace orvo {

void TRecordTextTest::Add(const TField* field, const QStringList& values)
{
    TCondition condition{field, {}};
    for (const QString& value : values)
        condition.Folded.insert(TFilterNode::FoldCase(value));
    FConditions.push_back(std::move(condition));
}

bool TRecordTextTest::Matches() const
{
    for (const TCondition& condition : FConditions) {
        if (condition.Field && !condition.Folded.contains(TFilterNode::FoldCase(condition.Field->EditText())))
            return false;
    }
    return true;
}

} // namespace orvo
