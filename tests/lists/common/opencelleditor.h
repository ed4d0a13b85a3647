#pragma once

#include "grid/columns/torvocolumn.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "lists/editor/torvodbgrideditor.h"

#include <QDialog>
#include <QTest>

namespace orvo::test {

/// Shows `dialog` (which holds `grid`), makes `column` the current one and opens the
/// cell editor on it with the focus in it, as a click and F2 would; null when the
/// dialog never got on screen or the editor never took the focus.
inline TOrvoDBGridEditor* OpenCellEditor(QDialog& dialog, TOrvoDBGrid& grid, const TOrvoColumn& column)
{
    dialog.resize(420, 300);
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog))
        return nullptr;
    grid.setFocus();
    grid.SetCol(grid.DataToRawColumn(column.Index()));
    grid.ShowEditor();
    auto* editor = qobject_cast<TOrvoDBGridEditor*>(grid.InplaceEditor());
    if (!editor)
        return nullptr;
    editor->setFocus();
    return QTest::qWaitFor([editor] { return editor->hasFocus(); }) ? editor : nullptr;
}

} // namespace orvo::test
