#pragma once

// A shown, focused grid over a small SQLite table, driven by real key and wheel events,
// with the table's rows read back through SQLite's own C API.

#include "grid/common/gridtestwidgets.h"
#include "grid/common/titemstable.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "platform/data/tfield.h"

#include <QApplication>
#include <QTest>
#include <QWheelEvent>

#include <sqlite3.h>

namespace orvo::test {

struct TKeyGrid
{
    static constexpr int ItemCount = 30;

    TItemsTable Items{ItemCount};
    TOrvoDBGrid Grid;

    explicit TKeyGrid(TOrvoDBGridOptions extraOptions = {}, TOrvoDBGridOptions removedOptions = {})
    {
        Grid.SetOptions(Grid.Options() + extraOptions - removedOptions);
        Grid.SetDataSource(&Items.Source);
        Items.Table.Open();
    }

    /// Shows the grid with the keyboard's focus; false when the window never came up.
    [[nodiscard]] bool Show()
    {
        if (!ShowExposed(Grid, 420, 260))
            return false;
        Grid.activateWindow();
        Grid.setFocus();
        return QTest::qWaitForWindowActive(&Grid);
    }

    /// The key goes where the keyboard's focus is: the grid or its open editor.
    static void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
    }

    static void Type(const QString& text)
    {
        for (const QChar ch : text)
            QTest::keyClick(QApplication::focusWidget(), ch.toLatin1());
    }

    /// One turn of the wheel over the data rows: positive notches away from the user.
    void Wheel(int notches, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QPoint at = Grid.CellRect(Grid.Col(), Grid.Row()).center();
        QWheelEvent event(at, Grid.viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches),
                          Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Grid.viewport(), &event);
    }

    int CurrentId() const { return Items.CurrentId(); }
    int Visible() const { return Grid.DataLink()->BufferCount(); }
    int FirstCol() const { return Grid.FixedCols(); }
    int LastCol() const { return Grid.ColCount() - 1; }
    TField* Name() const { return Items.Table.FieldByName(QStringLiteral("name")); }

    /// The current cell stands on the dataset's current record.
    bool InStep() const { return Grid.Row() == Grid.FixedRows() + Grid.DataLink()->ActiveRecord(); }

    /// The stored rows as "id:name", in id order, read past the datasets.
    QStringList StoredRows() const
    {
        QStringList rows;
        sqlite3* db = nullptr;
        const QByteArray path = Items.Dir.filePath(QStringLiteral("items.db")).toUtf8();
        if (sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            sqlite3_close(db);
            return {QStringLiteral("cannot open")};
        }
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT id, name FROM items ORDER BY id", -1, &statement, nullptr) ==
            SQLITE_OK) {
            while (sqlite3_step(statement) == SQLITE_ROW) {
                const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(statement, 1));
                rows << QStringLiteral("%1:%2")
                            .arg(sqlite3_column_int64(statement, 0))
                            .arg(QString::fromUtf8(name));
            }
        }
        sqlite3_finalize(statement);
        sqlite3_close(db);
        return rows;
    }

    /// The rows whose stored name is no longer "Item <id>", and the row count.
    QStringList ChangedRows() const
    {
        QStringList changed;
        const QStringList rows = StoredRows();
        for (const QString& row : rows) {
            const QString id = row.section(QLatin1Char(':'), 0, 0);
            if (row.section(QLatin1Char(':'), 1) != QStringLiteral("Item ") + id)
                changed << row;
        }
        if (rows.size() != ItemCount)
            changed << QStringLiteral("count %1").arg(rows.size());
        return changed;
    }
};

} // namespace orvo::test
