#pragma once

// Small steps grid tests take on widgets, written once.

#include <QStringList>

#include <initializer_list>

class QWidget;

namespace orvo {
class TOrvoDBGrid;
class TOrvoDBGridColumns;
} // namespace orvo

namespace orvo::test {

/// Shows `widget` at the given size and waits until it is on the screen: widgets are
/// measured as they are shown, since a hidden one's viewport keeps its first size.
/// False when it never got exposed; check it with QVERIFY, which a helper cannot do
/// for its caller.
[[nodiscard]] bool ShowExposed(QWidget& widget, int width, int height);

/// Adds a column bound to each of `fieldNames`, in that order.
void AddColumns(TOrvoDBGrid& grid, std::initializer_list<const char*> fieldNames);
void AddColumns(TOrvoDBGrid& grid, const QStringList& fieldNames);

/// The columns' title captions, in the collection's order.
QStringList ColumnCaptions(const TOrvoDBGridColumns& columns);

} // namespace orvo::test
