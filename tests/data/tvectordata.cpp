#include "tvectordata.h"

#include "platform/core/exceptions.h"
#include "platform/data/tfield.h"
#include "platform/data/tfielddefs.h"

namespace orvo {

void TVectorData::AddColumn(const QString& name, TFieldType type, int size)
{
    FColumns.push_back({name, type, size});
}

void TVectorData::CreateFieldDefs()
{
    for (const TColumn& column : FColumns)
        FieldDefs()->Add(column.Name, column.Type, column.Size);
}

int TVectorData::Column(const TField* field) const
{
    return SourceFieldIndex(field, SourceFieldCount < 0 ? int(FColumns.size()) : SourceFieldCount);
}

void TVectorData::InternalGetFieldValue(qint64 index, const TField* field, TVariant& value)
{
    ++ValueReads;
    const TRow& row = Rows.at(std::size_t(index));
    const auto column = std::size_t(Column(field));
    if (column < row.size())
        value = row[column];
}

void TVectorData::InternalSetFieldValue(qint64 index, const TField* field, const TVariant& value)
{
    if (std::exchange(FailNextStore, false))
        throw EDatabaseError(QStringLiteral("The store refused %1").arg(field->FieldName()));
    TRow& row = Rows.at(std::size_t(index));
    const auto column = std::size_t(Column(field));
    row.resize(std::max(row.size(), column + 1), TVariant::Null());
    row[column] = value;
    Log << QStringLiteral("set %1 %2=%3")
               .arg(index)
               .arg(field->FieldName(), value.IsNull() ? "null" : value.AsString());
}

void TVectorData::InternalInsertRecord(qint64 index)
{
    Log << QStringLiteral("insert %1").arg(index);
    if (!Fixed)
        Rows.insert(Rows.begin() + index, TRow(FColumns.size(), TVariant::Null()));
}

void TVectorData::InternalDeleteRecord(qint64 index)
{
    Log << QStringLiteral("delete %1").arg(index);
    if (!Fixed)
        Rows.erase(Rows.begin() + index);
}

} // namespace orvo
