#include "torvogridbenchview.h"

#include "grid/dbgrid/torvodbgrid.h"
#include "platform/data/tdatasource.h"
#include "platform/sqlite/tsqlitedatabase.h"
#include "platform/sqlite/tsqlitequery.h"
#include "platform/sqlite/tsqlitetable.h"

#include <QApplication>
#include <QKeyEvent>

namespace orvo {

TOrvoGridBenchView::TOrvoGridBenchView(const QString& fileName, TSource source)
    : FFileName(fileName), FSource(source)
{}

TOrvoGridBenchView::~TOrvoGridBenchView()
{
    FGrid.reset();
    FDataSource.reset();
    FDataSet.reset();
}

void TOrvoGridBenchView::Open()
{
    FDatabase = std::make_unique<TSQLiteDatabase>();
    FDatabase->SetDatabaseName(FFileName);
    FDatabase->SetReadOnly(true);
    FDatabase->Open();
    if (FSource == sTable) {
        auto table = std::make_unique<TSQLiteTable>();
        table->SetDatabase(FDatabase.get());
        table->SetTableName(TableName());
        FDataSet = std::move(table);
    } else {
        auto query = std::make_unique<TSQLiteQuery>();
        query->SetDatabase(FDatabase.get());
        query->SetSQL({QStringLiteral("SELECT * FROM %1").arg(TableName())});
        FDataSet = std::move(query);
    }
    FDataSource = std::make_unique<TDataSource>();
    FDataSource->SetDataSet(FDataSet.get());
    FGrid = std::make_unique<TOrvoDBGrid>();
    FGrid->SetDataSource(FDataSource.get());
    FDataSet->Open();
}

QAbstractScrollArea* TOrvoGridBenchView::View() const
{
    return FGrid.get();
}

void TOrvoGridBenchView::JumpTo(int recNo)
{
    FDataSet->SetRecNo(recNo);
}

void TOrvoGridBenchView::GoToLast()
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
    QApplication::sendEvent(FGrid.get(), &press);
}

int TOrvoGridBenchView::CurrentRecNo() const
{
    return FDataSet->RecNo();
}

} // namespace orvo
