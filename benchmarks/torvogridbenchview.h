#pragma once

#include "tgridbenchview.h"

#include <memory>

namespace orvo {

class TDataSet;
class TDataSource;
class TOrvoDBGrid;
class TSQLiteDatabase;

/// TOrvoDBGrid over one of our SQLite datasets: the keyset-paged table or a plain query.
class TOrvoGridBenchView : public TGridBenchView
{
public:
    enum TSource
    {
        sTable,
        sQuery
    };

    TOrvoGridBenchView(const QString& fileName, TSource source);
    ~TOrvoGridBenchView() override;

    void Open() override;
    QAbstractScrollArea* View() const override;
    void JumpTo(int recNo) override;
    void GoToLast() override;
    int CurrentRecNo() const override;

private:
    QString FFileName;
    TSource FSource;
    std::unique_ptr<TSQLiteDatabase> FDatabase;
    std::unique_ptr<TDataSet> FDataSet;
    std::unique_ptr<TDataSource> FDataSource;
    std::unique_ptr<TOrvoDBGrid> FGrid;
};

} // namespace orvo
