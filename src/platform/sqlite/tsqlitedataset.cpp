#include "platform/sqlite/tsqlitedataset.h"

#include "platform/core/exceptions.h"
#include "platform/core/tscopecleanup.h"
#include "platform/data/tautoincfield.h"
#include "platform/data/tfield.h"
#include "platform/data/tfielddefs.h"
#include "platform/data/tfields.h"
#include "platform/data/tfilterexpression.h"
#include "platform/data/tintegerfield.h"
#include "platform/data/tlargeintfield.h"
#include "platform/data/trecordtexttest.h"
#include "platform/data/tsmallintfield.h"
#include "platform/data/tstringfield.h"
#include "platform/data/twidestringfield.h"
#include "platform/data/twordfield.h"
#include "platform/sqlite/tsqlitefunctions.h"
#include "platform/sqlite/tsqlitetypes.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <optional>
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

bool TSQLiteDataSet::FilterRecordHandledBySource() const
{
    FilterHandledBySource();
    return FRecordTestInSql;
}

void TSQLiteDataSet::SetFilterInSql(const TFilterSql& inSql)
{
    FFilterInSql = inSql.Expression;
    FRecordTestInSql = inSql.RecordTest;
}

TSQLiteDataSet::TFilterSql
TSQLiteDataSet::TranslateFilter(const std::function<QString(int column)>& columnSql,
                                const std::function<TColumnSchema(int column)>& schema) const
{
    TFilterSql sql;
    QString where;
    std::vector<TVariant> params;
    sql.Expression = TranslateExpression(columnSql, schema, where, params);
    if (sql.Expression) {
        sql.Where = where;
        sql.Params = std::move(params);
    }
    where.clear();
    params.clear();
    sql.RecordTest = TranslateRecordTest(columnSql, where, params);
    if (sql.RecordTest && !where.isEmpty()) {
        sql.Where = sql.Where.isEmpty() ? where : QStringLiteral("(%1) AND %2").arg(sql.Where, where);
        sql.Params.insert(sql.Params.end(), params.begin(), params.end());
    }
    return sql;
}

bool TSQLiteDataSet::TranslateExpression(const std::function<QString(int column)>& columnSql,
                                         const std::function<TColumnSchema(int column)>& schema,
                                         QString& where, std::vector<TVariant>& params) const
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

namespace {

// The field classes whose EditText, without OnGetText and formats, is the value's plain text.
bool IsPlainTextField(const TField& field)
{
    const QMetaObject* meta = field.metaObject();
    if (meta == &TStringField::staticMetaObject || meta == &TWideStringField::staticMetaObject)
        return true;
    const auto* numeric = qobject_cast<const TNumericField*>(&field);
    const bool plainNumber = numeric && numeric->DisplayFormat().isEmpty() && numeric->EditFormat().isEmpty();
    return plainNumber &&
           (meta == &TIntegerField::staticMetaObject || meta == &TSmallintField::staticMetaObject ||
            meta == &TWordField::staticMetaObject || meta == &TAutoIncField::staticMetaObject ||
            meta == &TLargeintField::staticMetaObject);
}

// Whether orvo_folded_text gives exactly `field`'s EditText, folded, when `field` reads a
// column of `columnType`: for the plain text and integer fields, with no OnGetText and no
// format, whose text is a function of the stored value alone.
bool FoldedTextReproduces(const TField& field, TFieldType columnType)
{
    const TFilterNode::TValueKind kind = TFilterNode::ValueKind(columnType);
    return field.DataType() == columnType && !field.HasGetTextHandler() &&
           (TSQLiteFunctions::IsIntegerType(columnType) || kind == TFilterNode::vkText) &&
           IsPlainTextField(field);
}

// One bound JSON array holds any number of values, where SQLite limits the parameters of
// a statement. JSON text cannot carry a NUL through SQLite, nor UTF-8 a lone surrogate:
// such a list stays with the record test.
std::optional<QString> JsonTextArray(const QSet<QString>& values)
{
    QJsonArray array;
    for (const QString& value : values) {
        if (value.contains(QChar(0)) || !value.isValidUtf16())
            return std::nullopt;
        array.append(value);
    }
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

} // namespace

bool TSQLiteDataSet::TranslateRecordTest(const std::function<QString(int column)>& columnSql, QString& where,
                                         std::vector<TVariant>& params) const
{
    const TRecordTextTest* test = FilterRecordTest();
    if (!Filtered() || !test || !OnFilterRecord())
        return false;
    QStringList terms;
    for (const TRecordTextTest::TCondition& condition : test->Conditions()) {
        const TField* field = condition.Field;
        const int column = FieldColumn(field);
        if (!field || field->DataSet() != this || column < 0 || size_t(column) >= FColumns.size())
            return false;
        const TFieldType type = FColumns[size_t(column)].DataType;
        if (!FoldedTextReproduces(*field, type))
            return false;
        const std::optional<QString> values = JsonTextArray(condition.Folded);
        if (!values)
            return false;
        const QString foldedTest = QStringLiteral("%1 IN (SELECT value FROM json_each(?))")
                                       .arg(TSQLiteFunctions::FoldedTextSql(columnSql(column), type));
        const QString indexed =
            TSQLiteFunctions::IsIntegerType(type)
                ? IndexedIntegerTestSql(columnSql(column), foldedTest, *values, condition.Folded, params)
                : QString();
        if (indexed.isEmpty())
            params.emplace_back(*values);
        terms << (indexed.isEmpty() ? foldedTest : indexed);
    }
    where = terms.join(QLatin1String(" AND "));
    return true;
}

// An integer field reads as a number n (text n; folding leaves digits alone) an integer n, a
// real that rounds to n and a text that parses to n; it reads Null (text '') NULL, a text or
// blob that is no number and a real beyond 9.2e18. The integers are found as the bare column
// finds them, through its index, like SQLite's own `IN`; the function tests only the other
// rows, each kind found in its part of the index: reals from n - 1 to n + 1 (integer bounds,
// which stay exact where n - 0.5 would round past n), texts and blobs from '' up, the far ends.
QString TSQLiteDataSet::IndexedIntegerTestSql(const QString& column, const QString& foldedTest,
                                              const QString& values, const QSet<QString>& folded,
                                              std::vector<TVariant>& params) const
{
    const QString table = IndexedTableSql();
    if (table.isEmpty())
        return {};
    QStringList numbers;
    for (const QString& text : folded) {
        bool ok = false;
        const qint64 number = text.toLongLong(&ok);
        if (ok && QString::number(number) == text)
            numbers << text;
    }
    const QString numberList = QLatin1Char('[') + numbers.join(QLatin1Char(',')) + QLatin1Char(']');
    QStringList terms;
    terms << QStringLiteral("%1 IN (SELECT value FROM json_each(?))").arg(column);
    params.emplace_back(numberList);
    terms << QStringLiteral("(%1 >= '' AND %2)").arg(column, foldedTest);
    params.emplace_back(values);
    terms << QStringLiteral(
                 "(%1 IN (SELECT x.%1 FROM json_each(?) AS j JOIN %2 AS x ON x.%1 BETWEEN j.value - 1 "
                 "AND j.value + 1 WHERE typeof(x.%1) = 'real') AND %3)")
                 .arg(column, table, foldedTest);
    params.emplace_back(numberList);
    params.emplace_back(values);
    if (folded.contains(QString())) {
        terms << QStringLiteral("%1 IS NULL").arg(column);
        terms << QStringLiteral("(%1 > 9.2e18 AND %2)").arg(column, foldedTest);
        terms << QStringLiteral("(%1 < -9.2e18 AND %2)").arg(column, foldedTest);
        params.emplace_back(values);
        params.emplace_back(values);
    }
    return QLatin1Char('(') + terms.join(QLatin1String(" OR ")) + QLatin1Char(')');
}

QString TSQLiteDataSet::FilterSignature() const
{
    if (!Filtered())
        return QString();
    const TFilterExpression* expression = FilterExpression();
    QString signature = expression ? QLatin1Char('F') + expression->Text() : QString();
    // A new record handler may come with a new description of what it accepts.
    if (FilterRecordTest())
        signature += QStringLiteral("\nR%1").arg(FilterRecordSerial());
    return signature;
}

void TSQLiteDataSet::BindRowSource(TSQLiteStatement&) const {}

bool TSQLiteDataSet::SourceIsExact() const
{
    if (OnFilterRecord() && !FRecordTestInSql)
        return false;
    return !Filtered() || !FilterExpression() || FFilterInSql;
}

} // namespace orvo
