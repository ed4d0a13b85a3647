#pragma once

#include "tgridbenchview.h"

#include <memory>

class QSqlQueryModel;
class QTableView;

namespace orvo {

/// Qt's own answer: a QTableView over a QSqlQueryModel on the QSQLITE driver.
class TQTableBenchView : public TGridBenchView
{
public:
    explicit TQTableBenchView(const QString& fileName);
    ~TQTableBenchView() override;

    void Open() override;
    QAbstractScrollArea* View() const override;
    /// The model only knows the rows it fetched: it fetches up to the record first.
    void JumpTo(int recNo) override;
    /// The view's Ctrl+End stops at the last row fetched so far, so the rows are all
    /// fetched first: what pressing it until the model has no more comes to.
    void GoToLast() override;
    int CurrentRecNo() const override;

private:
    void MakeCurrent(int row);

    QString FFileName;
    QString FConnection;
    std::unique_ptr<QSqlQueryModel> FModel;
    std::unique_ptr<QTableView> FView;
};

} // namespace orvo
