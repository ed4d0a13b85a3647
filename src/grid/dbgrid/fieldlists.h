#pragma once

#include <QString>

namespace orvo {

class TDataSet;

/// Field lists (KeyFields, DetailFields, ParentFields, column names) take "," or ";"
/// and names in any case; they are kept with ";" and each name spelled as the field
/// it names. A name no field has stays as written.
QString NormalizedFieldList(const QString& text, const TDataSet* dataSet);

} // namespace orvo
