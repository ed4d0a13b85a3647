#pragma once

#include "platform/data/tfieldtype.h"
#include "platform/data/torvodbcustomdata.h"

#include <QStringList>

#include <vector>

namespace orvo {

/// The smallest useful descendant of TOrvoDBCustomData: rows of values in a plain
/// vector, one column per field definition, with a log of what the dataset asked of it.
class TVectorData : public TOrvoDBCustomData
{
    Q_OBJECT

public:
    using TRow = std::vector<TVariant>;

    explicit TVectorData(QObject* owner = nullptr) : TOrvoDBCustomData(owner) {}

    void AddColumn(const QString& name, TFieldType type, int size = 0);
    std::vector<TRow> Rows;
    /// How many columns the rows have; fields past them are refused.
    int SourceFieldCount = -1;
    /// What the source says its ";"-list of ascending fields is.
    QString SortedFields;
    /// Insert and delete do nothing (a source that cannot grow or shrink).
    bool Fixed = false;
    /// The next InternalSetFieldValue raises.
    bool FailNextStore = false;
    /// "insert 3", "set 3 Name=x", "delete 3", in order.
    QStringList Log;
    qint64 ValueReads = 0;

protected:
    void DoGetRecordCount(qint64& count) override { count = qint64(Rows.size()); }
    void InternalGetFieldValue(qint64 index, const TField* field, TVariant& value) override;
    void InternalSetFieldValue(qint64 index, const TField* field, const TVariant& value) override;
    void InternalInsertRecord(qint64 index) override;
    void InternalDeleteRecord(qint64 index) override;
    QString SortedKeyFields() const override { return SortedFields; }
    void CreateFieldDefs() override;

private:
    struct TColumn
    {
        QString Name;
        TFieldType Type;
        int Size;
    };
    int Column(const TField* field) const;

    std::vector<TColumn> FColumns;
};

} // namespace orvo
