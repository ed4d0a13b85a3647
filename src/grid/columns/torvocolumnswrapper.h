#pragma once

#include <QObject>
#include <QString>

Q_MOC_INCLUDE("grid/columns/torvodbgridcolumns.h")

namespace orvo {

class TOrvoDBGridColumns;

/// A short-lived carrier that streams a grid's column collection together with its
/// sort order as one component; it holds the collection without owning it.
class TOrvoColumnsWrapper : public QObject
{
    Q_OBJECT
    Q_PROPERTY(orvo::TOrvoDBGridColumns* Columns READ Columns WRITE SetColumns)
    Q_PROPERTY(QString OrderFields READ OrderFields WRITE SetOrderFields)

public:
    explicit TOrvoColumnsWrapper(TOrvoDBGridColumns* columns = nullptr, QObject* parent = nullptr);

    TOrvoDBGridColumns* Columns() const { return FColumns; }
    void SetColumns(TOrvoDBGridColumns* value) { FColumns = value; }
    QString OrderFields() const { return FOrderFields; }
    void SetOrderFields(const QString& value) { FOrderFields = value; }

private:
    TOrvoDBGridColumns* FColumns;
    QString FOrderFields;
};

} // namespace orvo
