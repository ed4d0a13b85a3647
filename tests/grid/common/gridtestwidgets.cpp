#include "grid/common/gridtestwidgets.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvocolumntitle.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvodbgrid.h"

#include <QTest>
#include <QWidget>

namespace orvo::test {

bool ShowExposed(QWidget& widget, int width, int height)
{
    widget.resize(width, height);
    widget.show();
    return QTest::qWaitForWindowExposed(&widget);
}

void AddColumns(TOrvoDBGrid& grid, std::initializer_list<const char*> fieldNames)
{
    for (const char* name : fieldNames)
        grid.Columns()->Add()->SetFieldName(QString::fromLatin1(name));
}

void AddColumns(TOrvoDBGrid& grid, const QStringList& fieldNames)
{
    for (const QString& name : fieldNames)
        grid.Columns()->Add()->SetFieldName(name);
}

QStringList ColumnCaptions(const TOrvoDBGridColumns& columns)
{
    QStringList captions;
    for (int i = 0; i < columns.Count(); ++i)
        captions << columns.Items(i)->Title()->Caption();
    return captions;
}

} // namespace orvo::test
