#pragma once

#include "tbenchvariant.h"

#include <QString>

#include <memory>

class QSqlQueryModel;

namespace orvo {

/// Qt's own answer: a QSqlQueryModel over the QSQLITE driver, as a QTableView would use it.
class TQSqlModelVariant : public TBenchVariant
{
public:
    explicit TQSqlModelVariant(const QString& fileName);
    ~TQSqlModelVariant() override;

    void OpenAndReadFirst(int count) override;
    /// fetchMore until the model has every row, then reads the last one.
    void GoToLast() override;
    /// The model cannot seek: a view finds a key by walking its rows, fetching more as it goes.
    bool LocateKey(qint64 orderNo) override;
    /// A second model over "SELECT * ... WHERE", fetched to the end for its row count.
    qint64 FilteredCount() override;

private:
    void ReadRow(int row) const;

    QString FConnection;
    std::unique_ptr<QSqlQueryModel> FModel;
};

} // namespace orvo
