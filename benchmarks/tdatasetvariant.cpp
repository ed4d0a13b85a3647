#include "tdatasetvariant.h"

#include "platform/data/tdataset.h"
#include "platform/data/tfield.h"
#include "platform/data/tfields.h"
#include "platform/sqlite/tsqlitedatabase.h"
#include "platform/sqlite/tsqlitequery.h"
#include "platform/sqlite/tsqlitetable.h"

namespace orvo {

namespace {

volatile qint64 Sink = 0;

} // namespace

TDataSetVariant::TDataSetVariant(const QString& fileName, TSource source)
    : FFileName(fileName), FSource(source)
{}

TDataSetVariant::~TDataSetVariant()
{
    FDataSet.reset(); // before the connection it reads through
}

std::unique_ptr<TDataSet> TDataSetVariant::CreateDataSet() const
{
    if (FSource == dsQuery) {
        auto query = std::make_unique<TSQLiteQuery>();
        query->SetDatabase(FDb.get());
        query->SetSQL(QStringList{QStringLiteral("SELECT * FROM %1").arg(TableName())});
        return query;
    }
    auto table = std::make_unique<TSQLiteTable>();
    table->SetDatabase(FDb.get());
    table->SetTableName(TableName());
    if (FSource == dsTableIndexed)
        table->SetIndexFieldNames(QStringLiteral("CustNo"));
    return table;
}

void TDataSetVariant::ReadRecord() const
{
    TFields* fields = FDataSet->Fields();
    for (int i = 0; i < fields->Count(); ++i)
        Sink = Sink + fields->Field(i)->AsVariant().AsString().size();
}

void TDataSetVariant::OpenAndReadFirst(int count)
{
    FDb = std::make_unique<TSQLiteDatabase>();
    FDb->SetDatabaseName(FFileName);
    FDb->SetReadOnly(true);
    FDb->Open();
    FDataSet = CreateDataSet();
    FDataSet->Open();
    for (int i = 0; i < count && !FDataSet->Eof(); ++i) {
        ReadRecord();
        FDataSet->Next();
    }
}

void TDataSetVariant::GoToLast()
{
    FDataSet->Last();
    ReadRecord();
}

bool TDataSetVariant::LocateKey(qint64 orderNo)
{
    const bool found = FDataSet->Locate(QStringLiteral("OrderNo"), TVariant(orderNo), TLocateOptions());
    if (found)
        ReadRecord();
    return found;
}

qint64 TDataSetVariant::FilteredCount()
{
    FDataSet->SetFilter(FilterText());
    FDataSet->SetFiltered(true);
    return FDataSet->RecordCount();
}

} // namespace orvo
