// What the user types reaches the record the screen shows it in: clicks and keys move the
// dataset with the current cell, Esc throws typed text away for good, and every drawn row
// carries its own record's number. Stored data is read back through SQLite itself.

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "platform/data/tdatasource.h"
#include "platform/data/tfield.h"
#include "platform/gridbase/tinplaceedit.h"
#include "platform/sqlite/tsqlitedatabase.h"
#include "platform/sqlite/tsqlitequery.h"
#include "platform/sqlite/tsqlitetable.h"

#include <QApplication>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

#include <map>
#include <memory>

using namespace orvo;

namespace {

constexpr int CustomerCount = 60;

/// Customers numbered 1..60 named "Company <n>", shown either through a table or, as the
/// first demo does, through a query with cached updates applied after every post.
struct TCustomers
{
    QTemporaryDir Dir;
    TSQLiteDatabase Db;
    std::unique_ptr<TDataSet> DataSet;
    TDataSource Source;

    explicit TCustomers(bool cachedQuery)
    {
        Db.SetDatabaseName(Path());
        Db.SetCreateIfMissing(true);
        Db.Open();
        Db.ExecSQL(
            QStringLiteral("CREATE TABLE customer (CustNo INTEGER PRIMARY KEY, Company TEXT, City TEXT)"));
        Db.StartTransaction();
        for (int i = 1; i <= CustomerCount; ++i)
            Db.ExecSQL(QStringLiteral("INSERT INTO customer (CustNo, Company, City) VALUES (?, ?, ?)"),
                       {qint64(i), QStringLiteral("Company %1").arg(i), QStringLiteral("City %1").arg(i)});
        Db.Commit();
        if (cachedQuery) {
            auto query = std::make_unique<TSQLiteQuery>();
            query->SetDatabase(&Db);
            query->SetSQL({QStringLiteral("SELECT * FROM customer ORDER BY CustNo")});
            query->SetCachedUpdates(true);
            query->SetUpdateWhere(QStringLiteral("CustNo = :OLD_CustNo"));
            TSQLiteQuery* applied = query.get();
            query->AfterPost = [applied](TDataSet*) { applied->ApplyUpdates(); };
            DataSet = std::move(query);
        } else {
            auto table = std::make_unique<TSQLiteTable>();
            table->SetDatabase(&Db);
            table->SetTableName(QStringLiteral("customer"));
            DataSet = std::move(table);
        }
        Source.SetDataSet(DataSet.get());
    }

    QString Path() const { return Dir.filePath(QStringLiteral("customers.db")); }

    qint64 CurrentCustNo() const { return DataSet->FieldByName(QStringLiteral("CustNo"))->AsLargeInt(); }

    /// Every stored row whose texts are no longer the ones it was made with, as
    /// "CustNo:Company:City", read through a connection of its own.
    QStringList ChangedRows() const
    {
        QStringList changed;
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(Path().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            sqlite3_close(db);
            return {QStringLiteral("cannot open the database")};
        }
        sqlite3_stmt* statement = nullptr;
        const char* sql =
            "SELECT CustNo, Company, City FROM customer WHERE Company IS NOT 'Company ' || CustNo"
            " OR City IS NOT 'City ' || CustNo ORDER BY CustNo";
        if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) {
            changed << QString::fromUtf8(sqlite3_errmsg(db));
        } else {
            while (sqlite3_step(statement) == SQLITE_ROW)
                changed << QStringLiteral("%1:%2:%3")
                               .arg(sqlite3_column_int64(statement, 0))
                               .arg(QString::fromUtf8(
                                   reinterpret_cast<const char*>(sqlite3_column_text(statement, 1))))
                               .arg(QString::fromUtf8(
                                   reinterpret_cast<const char*>(sqlite3_column_text(statement, 2))));
        }
        sqlite3_finalize(statement);
        sqlite3_close(db);
        return changed;
    }
};

/// A shown, focused grid over the customers: CustNo, Company and City columns.
struct TShownGrid
{
    TCustomers Customers;
    TOrvoDBGrid Grid;

    explicit TShownGrid(bool cachedQuery, TOrvoDBGridOptions extraOptions = {}) : Customers(cachedQuery)
    {
        Grid.SetOptions(Grid.Options() + extraOptions);
        Grid.SetDataSource(&Customers.Source);
        Customers.DataSet->Open();
        for (int i = 0; i < Grid.Columns()->Count(); ++i)
            Grid.Columns()->Items(i)->SetWidth(120);
        Grid.resize(500, 320);
        Grid.show();
        Grid.activateWindow();
        Grid.setFocus();
    }

    bool Shown() { return QTest::qWaitForWindowActive(&Grid); }

    int DataCol(const char* fieldName) const
    {
        for (int i = 0; i < Grid.Columns()->Count(); ++i)
            if (Grid.Columns()->Items(i)->FieldName() == QLatin1String(fieldName))
                return Grid.DataToRawColumn(i);
        return -1;
    }

    int FirstDataRow() const { return Grid.FixedRows(); }

    void Click(int col, int row)
    {
        QTest::mouseClick(Grid.viewport(), Qt::LeftButton, Qt::NoModifier, Grid.CellRect(col, row).center());
    }

    /// Each character goes where the keyboard's focus is, as typing does.
    static void Type(const QString& text)
    {
        for (const QChar ch : text)
            QTest::keyClick(QApplication::focusWidget(), ch.toLatin1());
    }

    static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }

    /// A click on the vertical bar's track below its thumb.
    void ClickVerticalBar()
    {
        QScrollBar* bar = Grid.verticalScrollBar();
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(bar->width() / 2, bar->height() - 30));
    }

    /// The current cell stands on the dataset's current record.
    bool InStep() const { return Grid.Row() == Grid.FixedRows() + Grid.DataLink()->ActiveRecord(); }
};

} // namespace

class TestGridEditing : public QObject
{
    Q_OBJECT

private slots:
    void typedTextLandsInTheClickedRecord_data();
    void typedTextLandsInTheClickedRecord();
    void typedTextStaysInItsColumnWhenTheCellMoves();
    void keysMoveTheDataSetWithTheCell_data();
    void keysMoveTheDataSetWithTheCell();
    void clicksOutsideTheDataRowsMoveNothing();
    void escapeDiscardsWhatWasTyped_data();
    void escapeDiscardsWhatWasTyped();
    void rowNumbersAreTheirRecordsNumbers_data();
    void rowNumbersAreTheirRecordsNumbers();
};

void TestGridEditing::typedTextLandsInTheClickedRecord_data()
{
    QTest::addColumn<bool>("cachedQuery");
    QTest::addColumn<bool>("postByKey");
    QTest::newRow("table, posted by Down") << false << true;
    QTest::newRow("table, posted by the dataset") << false << false;
    QTest::newRow("cached query, posted by Down") << true << true;
    QTest::newRow("cached query, posted by the dataset") << true << false;
}

void TestGridEditing::typedTextLandsInTheClickedRecord()
{
    QFETCH(bool, cachedQuery);
    QFETCH(bool, postByKey);
    TShownGrid f(cachedQuery);
    QVERIFY(f.Shown());
    f.Click(f.DataCol("Company"), f.FirstDataRow() + 2);
    QCOMPARE(f.Customers.CurrentCustNo(), 3);
    QVERIFY(f.InStep());
    f.Type(QStringLiteral("Typed"));
    QVERIFY(f.Grid.EditorMode());
    if (postByKey) {
        f.Key(Qt::Key_Down);
    } else {
        f.Key(Qt::Key_Return);
        f.Customers.DataSet->Post();
    }
    QCOMPARE(f.Customers.ChangedRows(), QStringList{QStringLiteral("3:Typed:City 3")});
}

void TestGridEditing::typedTextStaysInItsColumnWhenTheCellMoves()
{
    // The text belongs to the cell it was typed in: a move to another column of the same
    // record must not carry it into that column's field.
    TShownGrid f(false);
    QVERIFY(f.Shown());
    f.Click(f.DataCol("Company"), f.FirstDataRow() + 1);
    f.Type(QStringLiteral("Typed"));
    f.Click(f.DataCol("City"), f.FirstDataRow() + 1);
    f.Click(f.DataCol("City"), f.FirstDataRow() + 4);
    QCOMPARE(f.Customers.CurrentCustNo(), 5);
    QCOMPARE(f.Customers.ChangedRows(), QStringList{QStringLiteral("2:Typed:City 2")});
}

void TestGridEditing::keysMoveTheDataSetWithTheCell_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<bool>("ctrl");
    QTest::addColumn<int>("custNo"); // 0: the first record past the screen
    QTest::newRow("down three times") << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Down} << false << 4;
    QTest::newRow("down and up") << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Up} << false << 2;
    QTest::newRow("page down") << QList<int>{Qt::Key_PageDown} << false << 0;
    QTest::newRow("ctrl+end") << QList<int>{Qt::Key_End} << true << CustomerCount;
    QTest::newRow("ctrl+end, ctrl+home") << QList<int>{Qt::Key_End, Qt::Key_Home} << true << 1;
}

void TestGridEditing::keysMoveTheDataSetWithTheCell()
{
    QFETCH(QList<int>, keys);
    QFETCH(bool, ctrl);
    QFETCH(int, custNo);
    TShownGrid f(false);
    QVERIFY(f.Shown());
    f.Grid.SetCol(f.DataCol("Company"));
    const int visible = f.Grid.DataLink()->BufferCount();
    QVERIFY(visible > 3 && visible < CustomerCount);
    for (const int key : keys)
        f.Key(Qt::Key(key), ctrl ? Qt::ControlModifier : Qt::NoModifier);
    QCOMPARE(f.Customers.CurrentCustNo(), custNo > 0 ? custNo : visible + 1);
    QVERIFY(f.InStep());
    // What is typed now lands in the record the cell stands on.
    f.Type(QStringLiteral("Typed"));
    f.Key(Qt::Key_Return);
    f.Customers.DataSet->Post();
    const qint64 typedInto = f.Customers.CurrentCustNo();
    QCOMPARE(f.Customers.ChangedRows(),
             QStringList{QStringLiteral("%1:%2:City %1").arg(typedInto).arg(QStringLiteral("Typed"))});
}

void TestGridEditing::clicksOutsideTheDataRowsMoveNothing()
{
    TShownGrid f(false);
    f.Grid.SetOptionsEx(f.Grid.OptionsEx() + dgTotalFooter);
    QVERIFY(f.Shown());
    f.Click(f.DataCol("Company"), f.FirstDataRow() + 1);
    const int row = f.Grid.Row();
    // The blank row and the footer are no records.
    f.Click(f.DataCol("Company"), f.Grid.RowCount() - 1);
    f.Click(f.DataCol("Company"), f.Grid.RowCount() - 2);
    QCOMPARE(f.Grid.Row(), row);
    QCOMPARE(f.Customers.CurrentCustNo(), 2);
    QVERIFY(f.InStep());
}

void TestGridEditing::escapeDiscardsWhatWasTyped_data()
{
    QTest::addColumn<bool>("cachedQuery");
    QTest::addColumn<bool>("enterFirst");
    QTest::addColumn<QString>("move");
    for (const bool cached : {false, true}) {
        const char* kind = cached ? "cached query" : "table";
        for (const char* move : {"scroll bar", "down", "click"}) {
            QTest::addRow("%s, enter, esc, %s", kind, move) << cached << true << QString::fromLatin1(move);
            QTest::addRow("%s, esc in the editor, %s", kind, move)
                << cached << false << QString::fromLatin1(move);
        }
    }
}

void TestGridEditing::escapeDiscardsWhatWasTyped()
{
    QFETCH(bool, cachedQuery);
    QFETCH(bool, enterFirst);
    QFETCH(QString, move);
    TShownGrid f(cachedQuery);
    QVERIFY(f.Shown());
    f.Click(f.DataCol("Company"), f.FirstDataRow());
    f.Type(QStringLiteral("Typed"));
    if (enterFirst)
        f.Key(Qt::Key_Return);
    f.Key(Qt::Key_Escape);
    // The screen shows the old text again.
    TField* company = f.Customers.DataSet->FieldByName(QStringLiteral("Company"));
    QCOMPARE(company->DisplayText(), QStringLiteral("Company 1"));
    QVERIFY(!f.Grid.EditorMode() || f.Grid.InplaceEditor()->text() == QStringLiteral("Company 1"));
    if (enterFirst)
        QCOMPARE(f.Customers.DataSet->State(), dsBrowse);

    if (move == QLatin1String("scroll bar"))
        f.ClickVerticalBar();
    else if (move == QLatin1String("down"))
        f.Key(Qt::Key_Down);
    else
        f.Click(f.DataCol("City"), f.FirstDataRow() + 3);
    QVERIFY(f.Customers.CurrentCustNo() > 1);
    QCOMPARE(f.Customers.DataSet->State(), dsBrowse);
    QCOMPARE(f.Customers.ChangedRows(), QStringList());
}

void TestGridEditing::rowNumbersAreTheirRecordsNumbers_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::newRow("opened") << QStringLiteral("opened");
    QTest::newRow("ctrl+end") << QStringLiteral("ctrl+end");
    QTest::newRow("clicked, typed and posted") << QStringLiteral("post");
    QTest::newRow("while editing") << QStringLiteral("editing");
    QTest::newRow("scrolled by the bar") << QStringLiteral("scroll bar");
    QTest::newRow("down past the screen") << QStringLiteral("down");
}

void TestGridEditing::rowNumbersAreTheirRecordsNumbers()
{
    QFETCH(QString, scenario);
    TShownGrid f(true, {dgForceSequence});
    f.Grid.SetOptionsExt(f.Grid.OptionsExt() + dgAutoNumberColumn);
    QVERIFY(f.Shown());
    TOrvoColumn* number = nullptr;
    for (int i = 0; i < f.Grid.Columns()->Count(); ++i)
        if (f.Grid.Columns()->Items(i)->AutoNumber())
            number = f.Grid.Columns()->Items(i);
    QVERIFY(number);

    if (scenario == QLatin1String("ctrl+end")) {
        f.Key(Qt::Key_End, Qt::ControlModifier);
    } else if (scenario == QLatin1String("post") || scenario == QLatin1String("editing")) {
        f.Click(f.DataCol("Company"), f.FirstDataRow() + 9);
        f.Type(QStringLiteral("Typed"));
        if (scenario == QLatin1String("post")) {
            f.Key(Qt::Key_Return);
            f.Customers.DataSet->Post();
        }
    } else if (scenario == QLatin1String("scroll bar")) {
        f.ClickVerticalBar();
    } else if (scenario == QLatin1String("down")) {
        for (int i = f.Grid.DataLink()->BufferCount() + 3; i > 0; --i)
            f.Key(Qt::Key_Down);
    }
    QVERIFY(f.InStep());

    // Each drawn row's number against the number of the record drawn in it.
    std::map<int, QPair<QString, int>> drawn;
    f.Grid.OnDrawColumnCell = [&](QObject*, const QRect& rect, int, TOrvoColumn* column, TGridDrawState) {
        if (column == number)
            drawn[rect.top()] = {number->DisplayText(), f.Customers.DataSet->RecNo()};
    };
    f.Grid.viewport()->repaint();
    QCOMPARE(int(drawn.size()), f.Grid.DataLink()->RecordCount());
    for (const auto& [top, texts] : drawn)
        QCOMPARE(texts.first, QStringLiteral("%1.").arg(texts.second));
    // The bar's thumb stands at the current record's number.
    QCOMPARE(f.Grid.verticalScrollBar()->value(), f.Customers.DataSet->RecNo());
}

QTEST_MAIN(TestGridEditing)
#include "tst_grid_editing.moc"
