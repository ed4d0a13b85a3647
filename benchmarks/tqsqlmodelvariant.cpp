#include "tqsqlmodelvariant.h"

#include "platform/core/exceptions.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>

namespace orvo {

namespace {

void FetchAll(QSqlQueryModel& model)
{
    while (model.canFetchMore())
        model.fetchMore();
}

volatile qint64 Sink = 0;

} // namespace

TQSqlModelVariant::TQSqlModelVariant(const QString& fileName) : FConnection(QStringLiteral("bench"))
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), FConnection);
    db.setDatabaseName(fileName);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
}

TQSqlModelVariant::~TQSqlModelVariant()
{
    FModel.reset();
    QSqlDatabase::database(FConnection, false).close();
    // Gone, so that the next variant in this process may use the name again.
    QSqlDatabase::removeDatabase(FConnection);
}

void TQSqlModelVariant::ReadRow(int row) const
{
    for (int c = 0; c < FModel->columnCount(); ++c)
        Sink = Sink + FModel->data(FModel->index(row, c)).toString().size();
}

void TQSqlModelVariant::OpenAndReadFirst(int count)
{
    QSqlDatabase db = QSqlDatabase::database(FConnection);
    if (!db.isOpen())
        throw EDatabaseError(db.lastError().text());
    FModel = std::make_unique<QSqlQueryModel>();
    FModel->setQuery(QSqlQuery(QStringLiteral("SELECT * FROM %1").arg(TableName()), db));
    for (int row = 0; row < count && row < FModel->rowCount(); ++row)
        ReadRow(row);
}

void TQSqlModelVariant::GoToLast()
{
    FetchAll(*FModel);
    ReadRow(FModel->rowCount() - 1);
}

bool TQSqlModelVariant::LocateKey(qint64 orderNo)
{
    for (int row = 0; row < FModel->rowCount() || FModel->canFetchMore(); ++row) {
        if (row == FModel->rowCount())
            FModel->fetchMore();
        if (FModel->data(FModel->index(row, 0)).toLongLong() == orderNo) {
            ReadRow(row);
            return true;
        }
    }
    return false;
}

qint64 TQSqlModelVariant::FilteredCount()
{
    QSqlQueryModel filtered;
    filtered.setQuery(QSqlQuery(QStringLiteral("SELECT * FROM %1 WHERE %2").arg(TableName(), FilterText()),
                                QSqlDatabase::database(FConnection)));
    FetchAll(filtered);
    return filtered.rowCount();
}

} // namespace orvo
