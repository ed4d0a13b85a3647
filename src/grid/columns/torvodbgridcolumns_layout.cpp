// The column lines of a grid's stored layout: order, widths before stretching,
// visibility, expansion and whether a column is printed.
#include "grid/columns/torvodbgridcolumns.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvocolumnreport.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/settings/torvodbgridsettings.h"

#include <QScopeGuard>

#include <algorithm>

namespace orvo {

namespace {

const QString ColumnsName = QStringLiteral("Columns");
const QString ColumnName = QStringLiteral("Column");
const QString StretchModeName = QStringLiteral("StretchMode");
const QChar ValueSeparator = QLatin1Char(',');

QString Flag(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

/// Token `index` of a column line as an integer; `current` when missing or not a number.
int TokenInteger(const QStringList& tokens, int index, int current)
{
    if (index >= tokens.size())
        return current;
    bool ok = false;
    const int value = tokens[index].trimmed().toInt(&ok);
    return ok ? value : current;
}

} // namespace

bool TOrvoDBGridColumns::LayoutIncludesStretchMode() const
{
    return FGrid && FGrid->Settings()->Options().Contains(soStretchMode);
}

const QStringList& TOrvoDBGridColumns::BuildColumnsLayout()
{
    FLayoutList.clear();
    FLayoutList << ColumnsName + QLatin1Char('=') + QString::number(Count());
    for (int i = 0; i < Count(); ++i) {
        const TOrvoColumn* column = Items(i);
        const QStringList values{column->FieldName(), QString::number(column->WidthBase()),
                                 Flag(column->VisibleFlag()), Flag(column->Expanded()),
                                 Flag(column->Report()->Visible())};
        FLayoutList << ColumnName + QString::number(i + 1) + QLatin1Char('=') + values.join(ValueSeparator);
    }
    if (LayoutIncludesStretchMode())
        FLayoutList << StretchModeName + QLatin1Char('=') + Flag(FGrid->StretchMode());
    return FLayoutList;
}

TOrvoColumn* TOrvoDBGridColumns::FindLayoutColumn(int from, const QString& fieldName) const
{
    for (int i = from; i < Count(); ++i) {
        if (Items(i)->FieldName().compare(fieldName, Qt::CaseInsensitive) == 0)
            return Items(i);
    }
    return nullptr;
}

bool TOrvoDBGridColumns::ApplyColumnLine(int index, const QString& line)
{
    const QStringList tokens = line.split(ValueSeparator);
    TOrvoColumn* column = FindLayoutColumn(index, tokens.value(0).trimmed());
    if (!column)
        return false;
    column->SetIndex(index);
    column->SetWidthBase(TokenInteger(tokens, 1, column->WidthBase()));
    column->SetVisible(TokenInteger(tokens, 2, column->VisibleFlag() ? 1 : 0) == 1);
    column->SetExpanded(TokenInteger(tokens, 3, column->ExpandedFlag() ? 1 : 0) == 1);
    column->Report()->SetVisible(TokenInteger(tokens, 4, column->Report()->Visible() ? 1 : 0) == 1);
    return true;
}

void TOrvoDBGridColumns::ApplyColumnsLayout(const QStringList& lines)
{
    BeginUpdate();
    const auto done = qScopeGuard([this] { EndUpdate(); });
    FLayoutList = lines;
    // Each line found takes the next place, so that a line whose field has gone (a
    // column removed since the layout was stored) does not keep the columns after it
    // from their places. Beyond the last column nothing can be found, so a damaged
    // count cannot make the loop run long.
    const int lineCount = std::min(TOrvoDBGridSettings::LayoutInteger(FLayoutList, ColumnsName, 0), Count());
    int place = 0;
    for (int i = 0; i < lineCount; ++i) {
        bool found = false;
        const QString line =
            TOrvoDBGridSettings::LayoutValue(FLayoutList, ColumnName + QString::number(i + 1), &found);
        if (found && ApplyColumnLine(place, line))
            ++place;
    }
    if (FGrid && LayoutIncludesStretchMode())
        FGrid->SetStretchMode(TOrvoDBGridSettings::LayoutInteger(FLayoutList, StretchModeName,
                                                                 FGrid->StretchMode() ? 1 : 0) == 1);
}

} // namespace orvo
