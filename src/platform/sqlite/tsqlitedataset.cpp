#include "platform/sqlite/tsqlitedataset.h"

#include "platform/core/exceptions.h"
#include "platform/core/tscopecleanup.h"
#include "platform/data/tfield.h"
#include "platform/data/tfielddefs.h"
#include "platform/data/tfields.h"
#include "platform/data/tfilterexpression.h"
#include "platform/sqlite/tsqlitefunctions.h"
#include "platform/sqlite/tsqlitetypes.h"

#include <utility>

namespace orvo {

TSQLiteDataSet::TSQLiteDataSet(QObject* owner) : TDataSet(owner) {}

TSQLiteDataSet::~TSQLiteDataSet()
{
    if (FDatabase)
        FDatabase->RemoveClient(this);
}

void TSQLiteDataSet::SetDatabase(TSQLiteDatabase* database)
{
    if (database == FDatabase)
        return;
    Close();
    if (FDatabase)
        FDatabase->RemoveClient(this);
    FDatabase = database;
    if (FDatabase)
        FDatabase->AddClient(this, [this] { Close(); });
}

void TSQLiteDataSet::CheckDatabase() const
{
    if (!FDatabase)
        DatabaseError(QStringLiteral("no database assigned"));
}

void TSQLiteDataSet::DatabaseError(const QString& message) const
{
    throw EDatabaseError(objectName().isEmpty() ? message : objectName() + QLatin1String(": ") + message);
}

sqlite3* TSQLiteDataSet::Db() const
{
    CheckDatabase();
    // A dataset opened by another one's closing would keep reading a handle that is
    // about to go.
    if (!Active() && FDatabase->Closing())
        throw EDatabaseError(
            QStringLiteral("%1: database '%2' is closing").arg(objectName(), FDatabase->DatabaseName()));
    if (!FDatabase->Connected())
        FDatabase->Open();
    // SQLite forbids using a connection from inside its own progress callback.
    return FDatabase->CheckedHandle();
}

void TSQLiteDataSet::InternalInitFieldDefs()
{
    // Definitions left from an earlier open would clash with the fresh ones.
    FieldDefs()->Clear();
    for (const TColumn& c : FColumns) {
        TFieldDef* def = FieldDefs()->Add(c.Name, c.DataType, c.Size, c.Required);
        def->SetPrecision(c.Precision);
        if (c.ReadOnly) {
            TFieldAttributes attributes = def->Attributes();
            def->SetAttributes(attributes + faReadonly);
        }
    }
}

void TSQLiteDataSet::InternalInitRecord(TRecordBuffer& buffer)
{
    TDataSet::InternalInitRecord(buffer);
    FAssigned.assign(FColumns.size(), false);
}

void TSQLiteDataSet::InternalEdit()
{
    TDataSet::InternalEdit();
    FAssigned.assign(FColumns.size(), false);
}

void TSQLiteDataSet::SetFieldData(TField* field, const TVariant& value)
{
    TDataSet::SetFieldData(field, value);
    const int column = FieldColumn(field);
    if ((State() == dsInsert || State() == dsEdit) && column >= 0 && size_t(column) < FAssigned.size())
        FAssigned[size_t(column)] = true;
}

void TSQLiteDataSet::FillValues(TRecordBuffer& buffer, const std::vector<TVariant>& stored) const
{
    const size_t count = std::min(buffer.Values.size(), std::min(stored.size(), FColumns.size()));
    for (size_t i = 0; i < count; ++i)
        buffer.Values[i] = TSQLiteTypes::FromStorage(FColumns[i].DataType, stored[i]);
}

bool TSQLiteDataSet::RowSourceColumnHasAffinity(int) const
{
    return false;
}

bool TSQLiteDataSet::GetFieldData(const TField* field, TVariant& value)
{
    if (!FStoredField || field != FStoredField)
        return TDataSet::GetFieldData(field, value);
    value = FStoredValue;
    return !value.IsNull();
}

void TSQLiteDataSet::ReadAsStored(const TField* field, const TVariant& stored,
                                  const std::function<void()>& read)
{
    const int column = FieldColumn(field);
    if (column < 0 || size_t(column) >= FColumns.size() || field->DataSet() != this)
        throw EDatabaseError(QStringLiteral("%1 is no stored field of the dataset").arg(field->FieldName()));
    const TField* outer = std::exchange(FStoredField, field);
    TVariant outerValue =
        std::exchange(FStoredValue, TSQLiteTypes::FromStorage(FColumns[size_t(column)].DataType, stored));
    const auto restore = Finally([&] {
        FStoredField = outer;
        FStoredValue = std::move(outerValue);
    });
    read();
}

TVariant TSQLiteDataSet::StorageValue(int column, const TVariant& value) const
{
    return TSQLiteTypes::ToStorage(FColumns.at(size_t(column)).DataType, value);
}

TField* TSQLiteDataSet::ColumnField(int column) const
{
    for (TField* f : Fields()->List())
        if (f->FieldKind() == fkData && f->FieldNo() == column + 1)
            return f;
    return nullptr;
}

int TSQLiteDataSet::FieldColumn(const TField* field)
{
    return field && field->FieldKind() == fkData && field->FieldNo() > 0 ? field->FieldNo() - 1 : -1;
}

bool TSQLiteDataSet::TranslateFilter(const std::function<QString(int column)>& columnSql,
                                     const std::function<TColumnSchema(int column)>& schema, QString& where,
                                     std::vector<TVariant>& params) const
{
    const TFilterExpression* expression = FilterExpression();
    if (!Filtered() || !expression)
        return false;
    // Only data fields have a column to compare in SQL.
    for (const QString& name : expression->FieldNames())
        if (FieldColumn(FindField(name)) < 0)
            return false;
    // The filter compares values as the dataset reads them, not as SQLite stored them.
    const auto fieldSql = [&](int index) {
        const int column = FieldColumn(FilterField(index));
        const TColumnSchema known = schema ? schema(column) : TColumnSchema();
        return TSQLiteFunctions::FilterFieldSql(columnSql(column), FColumns.at(size_t(column)).DataType,
                                                known.TextComparesBare, known.Strict);
    };
    return expression->ToSql(fieldSql, where, params);
}

QString TSQLiteDataSet::FilterSignature() const
{
    const TFilterExpression* expression = FilterExpression();
    if (!Filtered() || !expression)
        return QString();
    return QLatin1Char('F') + expression->Text();
}

void TSQLiteDataSet::BindRowSource(TSQLiteStatement&) const {}

bool TSQLiteDataSet::SourceIsExact() const
{
    if (OnFilterRecord())
        return false;
    return FilterSignature().isEmpty() || FFilterInSql;
}

} // namespace orvo
