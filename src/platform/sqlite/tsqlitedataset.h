#pragma once

#include "platform/data/tdataset.h"
#include "platform/data/tfieldtype.h"
#include "platform/sqlite/tsqlitedatabase.h"

#include <QPointer>

#include <functional>
#include <vector>

struct sqlite3;

namespace orvo {

class TSQLiteStatement;

/// What the SQLite datasets share: the connection, the mapping of result
/// columns to field definitions and canonical values, and pushing the
/// dataset's Filter into SQL when it translates exactly.
class TSQLiteDataSet : public TDataSet
{
    Q_OBJECT
    Q_PROPERTY(orvo::TSQLiteDatabase* Database READ Database WRITE SetDatabase)

public:
    explicit TSQLiteDataSet(QObject* owner = nullptr);
    ~TSQLiteDataSet() override;

    TSQLiteDatabase* Database() const { return FDatabase; }
    /// Closes the dataset when the connection changes.
    void SetDatabase(TSQLiteDatabase* database);

    /// SQLite keeps text of any length whatever the declared one: it is read whole.
    bool ReadsTextWhole() const override { return true; }
    /// Declared lengths (NVARCHAR(200)) say little about the text: show a few dozen characters.
    int TextWidthLimit() const override { return DefaultTextWidth; }
    void SetFieldData(TField* field, const TVariant& value) override;
    bool GetFieldData(const TField* field, TVariant& value) override;

    /// The statement that yields the rows the dataset shows, for statements that take it as
    /// a subquery (aggregates); empty while a record filter or changes not yet written make
    /// the dataset's rows differ from what the database holds.
    virtual QString RowSourceSql() const { return {}; }
    /// Binds the parameters of RowSourceSql() in `statement`, which holds it and no others.
    virtual void BindRowSource(TSQLiteStatement& statement) const;
    /// True when column `column` of RowSourceSql() holds its values under a type affinity (a
    /// table column declared with a type other than BLOB): SQLite then never stores an integer
    /// beside an equal real in it. False when that is not known.
    virtual bool RowSourceColumnHasAffinity(int column) const;
    /// The number of columns RowSourceSql() yields: those the dataset reads, in column order.
    int RowSourceColumnCount() const { return int(FColumns.size()); }
    /// The column of RowSourceSql() that a data field reads (0-based), -1 for other fields.
    static int RowSourceColumn(const TField* field) { return FieldColumn(field); }
    /// Runs `read` while the data field `field` reads `stored` (a value as SQLite holds it)
    /// as a record holding it would, without moving the cursor: its texts for a value the
    /// database gave apart from the records. The other fields read as before.
    void ReadAsStored(const TField* field, const TVariant& stored, const std::function<void()>& read);

    static constexpr int DefaultTextWidth = 30;

protected:
    /// A result column as the dataset sees it.
    struct TColumn
    {
        QString Name;
        TFieldType DataType = ftString;
        int Size = 0;
        int Precision = 0;
        bool Required = false;
        bool ReadOnly = false;
    };

    /// The connected handle, connecting the database first when needed.
    sqlite3* Db() const;
    /// Fills FieldDefs() from Columns().
    void InternalInitFieldDefs() override;
    /// A new record starts with no column assigned, so that an insert can leave out exactly those.
    void InternalInitRecord(TRecordBuffer& buffer) override;
    void InternalEdit() override;
    /// Per column: whether the record being inserted or edited had it assigned (set to Null counts).
    const std::vector<bool>& AssignedColumns() const { return FAssigned; }
    bool ColumnAssigned(size_t column) const { return column < FAssigned.size() && FAssigned[column]; }
    void SetColumns(std::vector<TColumn> columns) { FColumns = std::move(columns); }
    const std::vector<TColumn>& Columns() const { return FColumns; }

    /// Converts stored values (one per column, in column order) into the buffer's slots.
    void FillValues(TRecordBuffer& buffer, const std::vector<TVariant>& stored) const;
    /// A field's value in the form it is stored.
    TVariant StorageValue(int column, const TVariant& value) const;
    /// The data field bound to a column, nullptr when there is none.
    TField* ColumnField(int column) const;
    /// The column a data field is bound to, -1 for other fields.
    static int FieldColumn(const TField* field);

    /// True when the current Filter is evaluated by SQL rather than per record.
    bool FilterHandledBySource() const override { return FFilterInSql; }
    /// True when SQL selects the records the described record handler accepts; asks
    /// FilterHandledBySource() first, which brings the source up to date.
    bool FilterRecordHandledBySource() const override;
    /// What the schema tells of a source column, for comparing it bare in SQL.
    struct TColumnSchema
    {
        /// SQLite compares its text with a text parameter as the dataset does (BINARY
        /// collation, no numeric affinity).
        bool TextComparesBare = false;
        /// It belongs to a STRICT table: it holds only values of its declared type.
        bool Strict = false;
    };

    /// What of the dataset's filtering SQL answers: the condition, its parameters, and
    /// which parts it covers (the rest is evaluated per record).
    struct TFilterSql
    {
        QString Where;
        std::vector<TVariant> Params;
        bool Expression = false;
        bool RecordTest = false;
    };

    /// Translates Filter and the described record test for a source whose column `c`
    /// reads as columnSql(c), each part when it translates exactly; nothing while the
    /// dataset is not filtered. schema(c) describes the column; null when nothing is
    /// known of it.
    TFilterSql TranslateFilter(const std::function<QString(int column)>& columnSql,
                               const std::function<TColumnSchema(int column)>& schema) const;
    void SetFilterInSql(const TFilterSql& inSql);

    /// The one table the dataset reads, whose indexes a condition may search; empty for
    /// other sources.
    virtual QString IndexedTableSql() const { return {}; }
    /// A signature of what the dataset filters by; descendants rebuild their source when it changes.
    QString FilterSignature() const;
    /// True when the source's counts and positions are exact: nothing is filtered per record.
    bool SourceIsExact() const;

    /// Raises the standard "not connected"/"no database" error when there is no database.
    void CheckDatabase() const;
    /// Raises EDatabaseError with the message, prefixed by the dataset's name when it has one.
    [[noreturn]] void DatabaseError(const QString& message) const;

private:
    bool TranslateExpression(const std::function<QString(int column)>& columnSql,
                             const std::function<TColumnSchema(int column)>& schema, QString& where,
                             std::vector<TVariant>& params) const;
    bool TranslateRecordTest(const std::function<QString(int column)>& columnSql, QString& where,
                             std::vector<TVariant>& params) const;
    /// The test "the integer `column`'s text is one of `folded`" in terms an index on the
    /// column answers; empty when the source has no index to search.
    QString IndexedIntegerTestSql(const QString& column, const QString& foldedTest, const QString& values,
                                  const QSet<QString>& folded, std::vector<TVariant>& params) const;

    QPointer<TSQLiteDatabase> FDatabase;
    std::vector<TColumn> FColumns;
    std::vector<bool> FAssigned;
    bool FFilterInSql = false;
    bool FRecordTestInSql = false;
    const TField* FStoredField = nullptr;
    TVariant FStoredValue;
};

} // namespace orvo
