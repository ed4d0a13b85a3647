#include "grid/dbgrid/fieldlists.h"

#include "platform/data/tdataset.h"
#include "platform/data/tfield.h"

#include <QStringList>

namespace orvo {

QString NormalizedFieldList(const QString& text, const TDataSet* dataSet)
{
    QStringList result;
    for (const QString& part :
         QString(text).replace(QLatin1Char(','), QLatin1Char(';')).split(QLatin1Char(';'))) {
        QString name = part.trimmed();
        if (name.isEmpty())
            continue;
        if (const TField* field = dataSet ? dataSet->FindField(name) : nullptr)
            name = field->FieldName();
        result << name;
    }
    return result.join(QLatin1Char(';'));
}

} // namespace orvo
