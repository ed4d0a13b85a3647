#include "tqtablebenchview.h"

#include "platform/core/exceptions.h"

#include <QApplication>
#include <QKeyEvent>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTableView>

namespace orvo {

TQTableBenchView::TQTableBenchView(const QString& fileName)
    : FFileName(fileName), FConnection(QStringLiteral("bench_grid"))
{}

TQTableBenchView::~TQTableBenchView()
{
    FView.reset();
    FModel.reset();
    QSqlDatabase::database(FConnection, false).close();
    QSqlDatabase::removeDatabase(FConnection);
}

void TQTableBenchView::Open()
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), FConnection);
    db.setDatabaseName(FFileName);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!db.open())
        throw EDatabaseError(db.lastError().text());
    FModel = std::make_unique<QSqlQueryModel>();
    FModel->setQuery(QSqlQuery(QStringLiteral("SELECT * FROM %1").arg(TableName()), db));
    FView = std::make_unique<QTableView>();
    FView->setModel(FModel.get());
}

QAbstractScrollArea* TQTableBenchView::View() const
{
    return FView.get();
}

void TQTableBenchView::MakeCurrent(int row)
{
    const QModelIndex index = FModel->index(row, 0);
    FView->setCurrentIndex(index);
    FView->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void TQTableBenchView::JumpTo(int recNo)
{
    while (FModel->rowCount() < recNo && FModel->canFetchMore())
        FModel->fetchMore();
    MakeCurrent(recNo - 1);
}

void TQTableBenchView::GoToLast()
{
    while (FModel->canFetchMore())
        FModel->fetchMore();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
    QApplication::sendEvent(FView.get(), &press);
}

int TQTableBenchView::CurrentRecNo() const
{
    return FView->currentIndex().row() + 1;
}

} // namespace orvo
