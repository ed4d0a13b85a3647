// The keys of a shown grid, pressed as a person presses them: the current cell and the
// current record never part, the end of the data grows a record and takes it back, typed
// text reaches the database only when posted and never after the screen dropped it, and
// a deletion asks first. Stored rows are read back through SQLite itself.

#include "common/texceptionhandlerscope.h"
#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/common/gridtestwidgets.h"
#include "grid/common/tgridsettingsguard.h"
#include "grid/common/titemstable.h"
#include "grid/input/tkeygrid.h"
#include "grid/input/torvogridkeyboard.h"
#include "grid/search/torvodbgridsearch.h"
#include "grid/selection/torvobookmarklist.h"
#include "platform/core/exceptions.h"
#include "platform/data/tdataset.h"
#include "platform/gridbase/tinplaceedit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QMessageBox>
#include <QSignalSpy>

using namespace orvo;
using namespace orvo::test;

namespace {

/// Answers every deletion question with `answer` and writes down what was asked.
class TAnswer
{
public:
    explicit TAnswer(QMessageBox::StandardButton answer)
    {
        TOrvoGridKeyboard::ConfirmationHook() = [this, answer](QMessageBox& box) {
            Asked << box.text();
            return answer;
        };
    }
    ~TAnswer() { TOrvoGridKeyboard::ConfirmationHook() = nullptr; }
    TAnswer(const TAnswer&) = delete;
    TAnswer& operator=(const TAnswer&) = delete;

    QStringList Asked;
};

struct TKeyStroke
{
    int Key;
    Qt::KeyboardModifiers Modifiers;
};

} // namespace

Q_DECLARE_METATYPE(QList<TKeyStroke>)

namespace {

/// Writes down which search and filter operation a key asked for.
class TRecordingGrid : public TOrvoDBGrid
{
public:
    QStringList Calls;

    void ShowSearchPanel() override { Calls << QStringLiteral("search panel"); }
    void ShowAutoFilterList(TOrvoColumn* column) override
    {
        Calls << QStringLiteral("filter list %1").arg(column->FieldName());
    }
    void ShowFilterForm() override { Calls << QStringLiteral("filter form"); }

protected:
    bool SearchGrid(int kind) override
    {
        Calls << QStringLiteral("search %1").arg(kind);
        return true;
    }
};

} // namespace

class TestGridKeyboard : public QObject
{
    Q_OBJECT

private slots:
    void keysMoveTheRecordWithTheCell_data();
    void keysMoveTheRecordWithTheCell();
    void aResizeKeepsTheRecordTheKeysReached();
    void arrowsAfterAClickMoveFromTheClickedRecord();
    void sequenceGridModeScrollsTheView();
    void tabWrapsToTheNextRecord_data();
    void tabWrapsToTheNextRecord();
    void downPastTheEndAppends_data();
    void downPastTheEndAppends();
    void upTakesBackTheEmptyAppendedRecord();
    void typedTextInTheAppendedRecordIsPosted();
    void enterWritesTheTextAndKeepsTheEdit();
    void escapeDropsOneStepAtATime_data();
    void escapeDropsOneStepAtATime();
    void insertAddsARecordWhereAllowed_data();
    void insertAddsARecordWhereAllowed();
    void ctrlDeleteAsksFirst_data();
    void ctrlDeleteAsksFirst();
    void selectionKeysSelectCopyAndClear();
    void rightToLeftSwapsLeftAndRight();
    void leftAndRightSkipHiddenColumns();
    void columnEventsFireAroundAMove();
    void spaceTogglesACheckBoxColumn();
    void searchAndFilterKeysCallTheirOperations_data();
    void searchAndFilterKeysCallTheirOperations();
    void charactersOpenNoEditorWhenTheOptionSaysSo();
    void theColumnsImeModeSetsTheHints_data();
    void theColumnsImeModeSetsTheHints();
    void aCompositionOpensTheEditor();
    void keysWithoutUsableDataDoNothing_data();
    void keysWithoutUsableDataDoNothing();
    void aFailingPostKeepsTheTypedText();
    void aFailingDeleteKeepsRecordAndSelection();
};

// --- Moving ------------------------------------------------------------------------------------------

void TestGridKeyboard::keysMoveTheRecordWithTheCell_data()
{
    QTest::addColumn<QList<TKeyStroke>>("keys");
    QTest::addColumn<int>("id");  // -1: the first record past the screen, -2: the last one on it
    QTest::addColumn<int>("col"); // 0: unchanged, 1: the first, 2: the last column
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    QTest::newRow("down three times")
        << QList<TKeyStroke>{{Qt::Key_Down, none}, {Qt::Key_Down, none}, {Qt::Key_Down, none}} << 4 << 0;
    QTest::newRow("down, up") << QList<TKeyStroke>{{Qt::Key_Down, none}, {Qt::Key_Up, none}} << 1 << 0;
    QTest::newRow("up at the first record") << QList<TKeyStroke>{{Qt::Key_Up, none}} << 1 << 0;
    QTest::newRow("page down") << QList<TKeyStroke>{{Qt::Key_PageDown, none}} << -1 << 0;
    QTest::newRow("page down, page up")
        << QList<TKeyStroke>{{Qt::Key_PageDown, none}, {Qt::Key_PageUp, none}} << 1 << 0;
    QTest::newRow("ctrl+end") << QList<TKeyStroke>{{Qt::Key_End, ctrl}} << TKeyGrid::ItemCount << 0;
    QTest::newRow("ctrl+end, ctrl+home")
        << QList<TKeyStroke>{{Qt::Key_End, ctrl}, {Qt::Key_Home, ctrl}} << 1 << 0;
    QTest::newRow("ctrl+page down") << QList<TKeyStroke>{{Qt::Key_PageDown, ctrl}} << -2 << 0;
    QTest::newRow("ctrl+down") << QList<TKeyStroke>{{Qt::Key_Down, ctrl}} << -2 << 0;
    QTest::newRow("ctrl+down, ctrl+up")
        << QList<TKeyStroke>{{Qt::Key_Down, ctrl}, {Qt::Key_Up, ctrl}} << 1 << 0;
    QTest::newRow("end") << QList<TKeyStroke>{{Qt::Key_End, none}} << 1 << 2;
    QTest::newRow("end, home") << QList<TKeyStroke>{{Qt::Key_End, none}, {Qt::Key_Home, none}} << 1 << 1;
    QTest::newRow("ctrl+right, ctrl+left")
        << QList<TKeyStroke>{{Qt::Key_Right, ctrl}, {Qt::Key_Left, ctrl}} << 1 << 1;
    QTest::newRow("right twice") << QList<TKeyStroke>{{Qt::Key_Right, none}, {Qt::Key_Right, none}} << 1 << 2;
}

void TestGridKeyboard::keysMoveTheRecordWithTheCell()
{
    QFETCH(QList<TKeyStroke>, keys);
    QFETCH(int, id);
    QFETCH(int, col);
    TKeyGrid f;
    QVERIFY(f.Show());
    const int visible = f.Visible();
    QVERIFY(visible > 3 && visible < TKeyGrid::ItemCount);
    const int startCol = f.Grid.Col();
    for (const TKeyStroke& stroke : keys)
        f.Key(stroke.Key, stroke.Modifiers);
    const int expectedId = id == -1 ? visible + 1 : id == -2 ? visible : id;
    QCOMPARE(f.CurrentId(), expectedId);
    QVERIFY(f.InStep());
    const int expectedCol = col == 0 ? startCol : col == 1 ? f.FirstCol() : f.LastCol();
    QCOMPARE(f.Grid.Col(), expectedCol);
    QCOMPARE(f.Items.Table.State(), dsBrowse);
}

void TestGridKeyboard::aResizeKeepsTheRecordTheKeysReached()
{
    TKeyGrid f;
    QVERIFY(f.Show());
    for (int i = 0; i < 5; ++i)
        f.Key(Qt::Key_Down);
    f.Grid.resize(f.Grid.width(), f.Grid.height() + 80);
    QTest::qWait(20);
    QCOMPARE(f.CurrentId(), 6);
    QVERIFY(f.InStep());
    f.Grid.resize(f.Grid.width(), f.Grid.height() - 120);
    QTest::qWait(20);
    QCOMPARE(f.CurrentId(), 6);
    QVERIFY(f.InStep());
}

void TestGridKeyboard::arrowsAfterAClickMoveFromTheClickedRecord()
{
    TKeyGrid f;
    QVERIFY(f.Show());
    const QPoint cell = f.Grid.CellRect(f.FirstCol() + 1, f.Grid.FixedRows() + 4).center();
    QTest::mouseClick(f.Grid.viewport(), Qt::LeftButton, Qt::NoModifier, cell);
    QCOMPARE(f.CurrentId(), 5);
    f.Key(Qt::Key_Down);
    QCOMPARE(f.CurrentId(), 6);
    f.Key(Qt::Key_Up);
    f.Key(Qt::Key_Up);
    QCOMPARE(f.CurrentId(), 4);
    QVERIFY(f.InStep());
    QCOMPARE(f.Grid.Col(), f.FirstCol() + 1);
}

void TestGridKeyboard::sequenceGridModeScrollsTheView()
{
    TKeyGrid f(TOrvoDBGridOptions{dgForceSequence});
    f.Grid.SetOptionsExt(f.Grid.OptionsExt() + dgScrollGridMode);
    QVERIFY(f.Show());
    const int top = f.Grid.FixedRows();
    // The view scrolls under the cell's row, which takes the next record.
    f.Key(Qt::Key_Down);
    f.Key(Qt::Key_Down);
    QCOMPARE(f.CurrentId(), 3);
    QCOMPARE(f.Grid.Row(), top);
    f.Key(Qt::Key_PageDown);
    QCOMPARE(f.CurrentId(), 3 + f.Visible());
    QCOMPARE(f.Grid.Row(), top);
    f.Key(Qt::Key_Up);
    QCOMPARE(f.CurrentId(), 2 + f.Visible());
    QCOMPARE(f.Grid.Row(), top);
    // Ctrl+Down moves the record, not the view.
    f.Key(Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(f.CurrentId(), 3 + f.Visible());
    QCOMPARE(f.Grid.Row(), top + 1);
    // Ctrl+End shows the last screen with the cell on its row; the record moves only
    // where the view cannot: down to the last record, then past it into a new one.
    f.Key(Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(f.Grid.Row(), top + 1);
    QCOMPARE(f.CurrentId(), TKeyGrid::ItemCount - f.Visible() + 2);
    for (int i = 0; i < f.Visible() - 2; ++i)
        f.Key(Qt::Key_Down);
    QCOMPARE(f.CurrentId(), TKeyGrid::ItemCount);
    QCOMPARE(f.Items.Table.State(), dsBrowse);
    f.Key(Qt::Key_Down);
    QCOMPARE(f.Items.Table.State(), dsInsert);
    QVERIFY(f.InStep());
    f.Key(Qt::Key_Escape);
    QCOMPARE(f.ChangedRows(), QStringList());
}

void TestGridKeyboard::tabWrapsToTheNextRecord_data()
{
    QTest::addColumn<bool>("backward");
    QTest::newRow("tab from the last column") << false;
    QTest::newRow("shift+tab from the first column") << true;
}

void TestGridKeyboard::tabWrapsToTheNextRecord()
{
    QFETCH(bool, backward);
    TKeyGrid f;
    QVERIFY(f.Show());
    f.Key(Qt::Key_Down, Qt::NoModifier);
    f.Key(Qt::Key_Down, Qt::NoModifier);
    // Every column in turn, then one more to leave the record.
    f.Key(backward ? Qt::Key_End : Qt::Key_Home);
    const int columns = f.LastCol() - f.FirstCol() + 1;
    for (int i = 1; i < columns; ++i)
        f.Key(backward ? Qt::Key_Backtab : Qt::Key_Tab, backward ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(f.Grid.Col(), backward ? f.FirstCol() : f.LastCol());
    QCOMPARE(f.CurrentId(), 3);
    f.Key(backward ? Qt::Key_Backtab : Qt::Key_Tab, backward ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(f.CurrentId(), backward ? 2 : 4);
    QCOMPARE(f.Grid.Col(), backward ? f.LastCol() : f.FirstCol());
    QVERIFY(f.InStep());
}

// --- The end of the data ---------------------------------------------------------------------------

void TestGridKeyboard::downPastTheEndAppends_data()
{
    QTest::addColumn<TOrvoDBGridOptions>("removed");
    QTest::addColumn<TOrvoDBGridOptions>("added");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("appends");
    QTest::newRow("defaults") << TOrvoDBGridOptions{} << TOrvoDBGridOptions{} << false << true;
    QTest::newRow("without editing") << TOrvoDBGridOptions{dgEditing} << TOrvoDBGridOptions{} << false
                                     << false;
    QTest::newRow("insert not allowed")
        << TOrvoDBGridOptions{} << TOrvoDBGridOptions{dgAllowInsertOff} << false << false;
    QTest::newRow("read-only grid") << TOrvoDBGridOptions{} << TOrvoDBGridOptions{} << true << false;
}

void TestGridKeyboard::downPastTheEndAppends()
{
    QFETCH(TOrvoDBGridOptions, removed);
    QFETCH(TOrvoDBGridOptions, added);
    QFETCH(bool, readOnly);
    QFETCH(bool, appends);
    TKeyGrid f(added, removed);
    f.Grid.SetReadOnly(readOnly);
    QVERIFY(f.Show());
    f.Key(Qt::Key_End, Qt::ControlModifier);
    f.Key(Qt::Key_Down);
    QCOMPARE(f.Items.Table.State(), appends ? dsInsert : dsBrowse);
    // A second Down on the empty record adds no second one.
    f.Key(Qt::Key_Down);
    QCOMPARE(f.Items.Table.State(), appends ? dsInsert : dsBrowse);
    QVERIFY(f.InStep());
    QCOMPARE(f.Grid.Row() - f.Grid.FixedRows(), f.Grid.DataLink()->ActiveRecord());
    QCOMPARE(f.ChangedRows(), QStringList());
}

void TestGridKeyboard::upTakesBackTheEmptyAppendedRecord()
{
    TKeyGrid f;
    QVERIFY(f.Show());
    f.Key(Qt::Key_End, Qt::ControlModifier);
    f.Key(Qt::Key_Down);
    QCOMPARE(f.Items.Table.State(), dsInsert);
    f.Key(Qt::Key_Up);
    QCOMPARE(f.Items.Table.State(), dsBrowse);
    QCOMPARE(f.CurrentId(), TKeyGrid::ItemCount);
    QVERIFY(f.InStep());
    QCOMPARE(f.ChangedRows(), QStringList());
}

void TestGridKeyboard::typedTextInTheAppendedRecordIsPosted()
{
    TKeyGrid f;
    QVERIFY(f.Show());
    f.Key(Qt::Key_End, Qt::ControlModifier);
    f.Key(Qt::Key_Down);
    f.Grid.SetCol(f.Grid.DataToRawColumn(f.Grid.Columns()->Items(1)->Index()));
    f.Type(QStringLiteral("New"));
    f.Key(Qt::Key_Up);
    QCOMPARE(f.Items.Table.State(), dsBrowse);
    const QStringList rows = f.StoredRows();
    QCOMPARE(rows.size(), TKeyGrid::ItemCount + 1);
    QCOMPARE(rows.last(), QStringLiteral("%1:New").arg(TKeyGrid::ItemCount + 1));
}

// --- Editing -------------------------------------------------------------------------------------------

void TestGridKeyboard::enterWritesTheTextAndKeepsTheEdit()
{
    TKeyGrid f;
    QVERIFY(f.Show());
    f.Key(Qt::Key_Right);
    f.Type(QStringLiteral("Typed"));
    f.Key(Qt::Key_Return);
    // In the field and on the screen, not yet in the database.
    QCOMPARE(f.Items.Table.State(), dsEdit);
    QCOMPARE(f.Name()->AsString(), QStringLiteral("Typed"));
    QVERIFY(!f.Grid.EditorMode() || f.Grid.InplaceEditor()->text() == QStringLiteral("Typed"));
    QCOMPARE(f.ChangedRows(), QStringList());
    f.Key(Qt::Key_Down);
    QCOMPARE(f.ChangedRows(), QStringList{QStringLiteral("1:Typed")});
    QCOMPARE(f.CurrentId(), 2);
}

void TestGridKeyboard::escapeDropsOneStepAtATime_data()
{
    QTest::addColumn<bool>("enter");
    QTest::addColumn<int>("escapes");
    QTest::addColumn<bool>("stillEditing");
    QTest::newRow("typed, esc") << false << 1 << true;
    QTest::newRow("typed, esc, esc") << false << 2 << false;
    QTest::newRow("typed, enter, esc") << true << 1 << false;
}

void TestGridKeyboard::escapeDropsOneStepAtATime()
{
    QFETCH(bool, enter);
    QFETCH(int, escapes);
    QFETCH(bool, stillEditing);
    TKeyGrid f;
    QVERIFY(f.Show());
    f.Key(Qt::Key_Right);
    f.Type(QStringLiteral("Typed"));
    if (enter)
        f.Key(Qt::Key_Return);
    for (int i = 0; i < escapes; ++i)
        f.Key(Qt::Key_Escape);
    QCOMPARE(f.Items.Table.State(), stillEditing ? dsEdit : dsBrowse);
    QCOMPARE(f.Name()->AsString(), QStringLiteral("Item 1"));
    QVERIFY(!f.Grid.EditorMode() || f.Grid.InplaceEditor()->text() == QStringLiteral("Item 1"));
    // What the screen dropped never reaches the database.
    f.Key(Qt::Key_Down);
    f.Key(Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(f.ChangedRows(), QStringList());
}

void TestGridKeyboard::insertAddsARecordWhereAllowed_data()
{
    QTest::addColumn<TOrvoDBGridOptions>("added");
    QTest::addColumn<bool>("inserts");
    QTest::addColumn<bool>("fromEditor");
    QTest::newRow("defaults") << TOrvoDBGridOptions{} << true << false;
    QTest::newRow("insert not allowed") << TOrvoDBGridOptions{dgAllowInsertOff} << false << false;
    QTest::newRow("from the open editor") << TOrvoDBGridOptions{} << true << true;
}

void TestGridKeyboard::insertAddsARecordWhereAllowed()
{
    QFETCH(TOrvoDBGridOptions, added);
    QFETCH(bool, inserts);
    QFETCH(bool, fromEditor);
    TKeyGrid f(added);
    QVERIFY(f.Show());
    f.Key(Qt::Key_Down);
    f.Key(Qt::Key_Down);
    if (fromEditor) {
        f.Key(Qt::Key_F2);
        QVERIFY(f.Grid.EditorMode());
    }
    f.Key(Qt::Key_Insert);
    QCOMPARE(f.Items.Table.State(), inserts ? dsInsert : dsBrowse);
    QVERIFY(f.InStep());
    // Leaving the untouched record takes it back.
    f.Key(Qt::Key_Down);
    QCOMPARE(f.Items.Table.State(), dsBrowse);
    QCOMPARE(f.ChangedRows(), QStringList());
}

void TestGridKeyboard::ctrlDeleteAsksFirst_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("confirmOption");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("question");
    QTest::addColumn<int>("left");
    QTest::addColumn<bool>("fromEditor");
    const int ok = QMessageBox::Ok;
    const int cancel = QMessageBox::Cancel;
    const int n = TKeyGrid::ItemCount;
    QTest::newRow("one record, ok") << 0 << true << ok << QStringLiteral("Delete record?") << n - 1 << false;
    QTest::newRow("one record, cancel")
        << 0 << true << cancel << QStringLiteral("Delete record?") << n << false;
    QTest::newRow("one selected, ok")
        << 1 << true << ok << QStringLiteral("Delete record?") << n - 1 << false;
    QTest::newRow("three selected, ok")
        << 3 << true << ok << QStringLiteral("Delete all selected records?") << n - 3 << false;
    QTest::newRow("three selected, cancel")
        << 3 << true << cancel << QStringLiteral("Delete all selected records?") << n << false;
    QTest::newRow("no confirmation") << 0 << false << cancel << QString() << n - 1 << false;
    QTest::newRow("from the open editor")
        << 0 << true << ok << QStringLiteral("Delete record?") << n - 1 << true;
}

void TestGridKeyboard::ctrlDeleteAsksFirst()
{
    QFETCH(int, selected);
    QFETCH(bool, confirmOption);
    QFETCH(int, answer);
    QFETCH(QString, question);
    QFETCH(int, left);
    TKeyGrid f(TOrvoDBGridOptions{dgMultiSelect, dgAutoUnselectOff},
               confirmOption ? TOrvoDBGridOptions{} : TOrvoDBGridOptions{dgConfirmDelete});
    QVERIFY(f.Show());
    TAnswer reply{QMessageBox::StandardButton(answer)};
    for (int i = 0; i < selected; ++i) {
        f.Grid.SelectCurrentRow();
        f.Key(Qt::Key_Down);
    }
    QCOMPARE(f.Grid.SelectedRows()->Count(), selected);
    QFETCH(bool, fromEditor);
    if (fromEditor) {
        f.Key(Qt::Key_F2);
        QVERIFY(f.Grid.EditorMode());
    }
    f.Key(Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(reply.Asked, question.isEmpty() ? QStringList() : QStringList{question});
    QCOMPARE(f.StoredRows().size(), left);
    QVERIFY(f.InStep());
}

// --- Selection ----------------------------------------------------------------------------------------

void TestGridKeyboard::selectionKeysSelectCopyAndClear()
{
    TKeyGrid f(TOrvoDBGridOptions{dgMultiSelect});
    QVERIFY(f.Show());
    f.Key(Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(f.Grid.SelectedRows()->Count(), TKeyGrid::ItemCount);
    QGuiApplication::clipboard()->clear();
    f.Key(Qt::Key_C, Qt::ControlModifier);
    const QStringList lines =
        QGuiApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), TKeyGrid::ItemCount);
    QVERIFY(lines.first().contains(QStringLiteral("Item 1")));
    f.Key(Qt::Key_Escape);
    QCOMPARE(f.Grid.SelectedRows()->Count(), 0);
    // Shift extends from where the move started.
    f.Key(Qt::Key_Down, Qt::ShiftModifier);
    f.Key(Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(f.Grid.SelectedRows()->Count(), 3);
    QCOMPARE(f.CurrentId(), 3);
    // A page with Shift grows the same range; Ctrl+Shift+Home takes it back to the first record.
    f.Key(Qt::Key_PageDown, Qt::ShiftModifier);
    QCOMPARE(f.CurrentId(), 3 + f.Visible());
    QCOMPARE(f.Grid.SelectedRows()->Count(), 3 + f.Visible());
    f.Key(Qt::Key_Home, Qt::ShiftModifier | Qt::ControlModifier);
    QCOMPARE(f.CurrentId(), 1);
    QCOMPARE(f.Grid.SelectedRows()->Count(), 1);
    // A plain step starts afresh.
    f.Key(Qt::Key_Down);
    QCOMPARE(f.Grid.SelectedRows()->Count(), 0);
}

// --- Columns ------------------------------------------------------------------------------------------

void TestGridKeyboard::rightToLeftSwapsLeftAndRight()
{
    TKeyGrid f;
    f.Grid.SetBiDiMode(Qt::RightToLeft);
    QVERIFY(f.Show());
    const int first = f.Grid.Col();
    f.Key(Qt::Key_Left);
    QCOMPARE(f.Grid.Col(), first + 1);
    f.Key(Qt::Key_Right);
    QCOMPARE(f.Grid.Col(), first);
}

void TestGridKeyboard::leftAndRightSkipHiddenColumns()
{
    TKeyGrid f;
    QVERIFY(f.Show());
    QCOMPARE(f.Grid.Columns()->Count(), 3);
    f.Grid.Columns()->Items(1)->SetVisible(false);
    f.Key(Qt::Key_Home);
    f.Key(Qt::Key_Right);
    QCOMPARE(f.Grid.ColumnOfGridCol(f.Grid.Col()), f.Grid.Columns()->Items(2));
    f.Key(Qt::Key_Left);
    QCOMPARE(f.Grid.ColumnOfGridCol(f.Grid.Col()), f.Grid.Columns()->Items(0));
    // Nothing shown further left: the cell stays.
    f.Key(Qt::Key_Left);
    QCOMPARE(f.Grid.ColumnOfGridCol(f.Grid.Col()), f.Grid.Columns()->Items(0));
}

void TestGridKeyboard::columnEventsFireAroundAMove()
{
    TKeyGrid f;
    QVERIFY(f.Show());
    QStringList events;
    f.Grid.OnColExit = [&](QObject*) { events << QStringLiteral("exit %1").arg(f.Grid.Col()); };
    f.Grid.OnColEnter = [&](QObject*) { events << QStringLiteral("enter %1").arg(f.Grid.Col()); };
    const int first = f.Grid.Col();
    f.Key(Qt::Key_Right);
    f.Key(Qt::Key_Down); // no column change, no event
    QCOMPARE(events,
             (QStringList{QStringLiteral("exit %1").arg(first), QStringLiteral("enter %1").arg(first + 1)}));
    // A handler that moves the cell itself has the last word.
    f.Grid.OnColExit = [&](QObject*) { f.Grid.SetCol(f.LastCol()); };
    f.Key(Qt::Key_Left);
    QCOMPARE(f.Grid.Col(), f.LastCol());
}

void TestGridKeyboard::spaceTogglesACheckBoxColumn()
{
    TKeyGrid f;
    TOrvoColumn* name = f.Grid.Columns()->Items(1);
    name->SetCheckBox(true);
    name->SetCheckBoxValues(QStringLiteral("Item 1;Off"));
    QVERIFY(f.Show());
    f.Grid.SetCol(f.Grid.DataToRawColumn(1));
    f.Key(Qt::Key_Space);
    QCOMPARE(f.Name()->AsString(), QStringLiteral("Off"));
    f.Key(Qt::Key_Space);
    QCOMPARE(f.Name()->AsString(), QStringLiteral("Item 1"));
    QVERIFY(!f.Grid.EditorMode());
}

// --- Search and filter keys -------------------------------------------------------------------------

void TestGridKeyboard::searchAndFilterKeysCallTheirOperations_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("searchText");
    QTest::addColumn<bool>("searchActive");
    QTest::addColumn<QString>("call");
    const int none = Qt::NoModifier;
    const QString text = QStringLiteral("Item");
    QTest::newRow("ctrl+f") << int(Qt::Key_F) << int(Qt::ControlModifier) << QString() << true
                            << QStringLiteral("search panel");
    QTest::newRow("ctrl+f, search off")
        << int(Qt::Key_F) << int(Qt::ControlModifier) << QString() << false << QString();
    QTest::newRow("f3 without a text")
        << int(Qt::Key_F3) << none << QString() << true << QStringLiteral("search panel");
    QTest::newRow("f3") << int(Qt::Key_F3) << none << text << true << QStringLiteral("search 1");
    QTest::newRow("shift+f3") << int(Qt::Key_F3) << int(Qt::ShiftModifier) << text << true
                              << QStringLiteral("search 2");
    QTest::newRow("alt+f3") << int(Qt::Key_F3) << int(Qt::AltModifier) << text << true
                            << QStringLiteral("search 3");
    QTest::newRow("ctrl+f3") << int(Qt::Key_F3) << int(Qt::ControlModifier) << text << true
                             << QStringLiteral("search 0");
    QTest::newRow("f4") << int(Qt::Key_F4) << none << QString() << true << QStringLiteral("filter list name");
    QTest::newRow("shift+f4") << int(Qt::Key_F4) << int(Qt::ShiftModifier) << QString() << true
                              << QStringLiteral("filter form");
    QTest::newRow("alt+f4") << int(Qt::Key_F4) << int(Qt::AltModifier) << QString() << true << QString();
}

void TestGridKeyboard::searchAndFilterKeysCallTheirOperations()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, searchText);
    QFETCH(bool, searchActive);
    QFETCH(QString, call);
    TItemsTable items(5);
    TRecordingGrid grid;
    grid.SetDataSource(&items.Source);
    items.Table.Open();
    grid.Search()->SetActive(searchActive);
    grid.Search()->SetText(searchText);
    QVERIFY(ShowExposed(grid, 400, 200));
    grid.SetCol(grid.DataToRawColumn(1));
    QTest::keyClick(&grid, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(grid.Calls, call.isEmpty() ? QStringList() : QStringList{call});
}

void TestGridKeyboard::charactersOpenNoEditorWhenTheOptionSaysSo()
{
    TKeyGrid f;
    f.Grid.SetOptionsEx(f.Grid.OptionsEx() + dgShowEditorByCharOff);
    QVERIFY(f.Show());
    f.Key(Qt::Key_Right);
    f.Type(QStringLiteral("xy"));
    QVERIFY(!f.Grid.EditorMode());
    QCOMPARE(f.Items.Table.State(), dsBrowse);
    // F2 still opens it.
    f.Key(Qt::Key_F2);
    QVERIFY(f.Grid.EditorMode());
}

// --- Input methods -----------------------------------------------------------------------------------

void TestGridKeyboard::theColumnsImeModeSetsTheHints_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("hints");
    QTest::newRow("don't care") << int(imDontCare) << true << int(Qt::ImhNone);
    QTest::newRow("disabled") << int(imDisable) << false << int(Qt::ImhLatinOnly | Qt::ImhPreferLatin);
    QTest::newRow("alphanumeric") << int(imAlpha) << true << int(Qt::ImhPreferLatin);
    QTest::newRow("hiragana") << int(imHira) << true << int(Qt::ImhNone);
}

void TestGridKeyboard::theColumnsImeModeSetsTheHints()
{
    QFETCH(int, mode);
    QFETCH(bool, enabled);
    QFETCH(int, hints);
    TKeyGrid f;
    f.Grid.Columns()->Items(1)->SetImeMode(TImeMode(mode));
    QVERIFY(f.Show());
    QVERIFY(f.Grid.testAttribute(Qt::WA_InputMethodEnabled));
    f.Key(Qt::Key_Right);
    QCOMPARE(f.Grid.inputMethodQuery(Qt::ImEnabled).toBool(), enabled);
    QCOMPARE(f.Grid.inputMethodQuery(Qt::ImHints).toInt(), hints);
    // The editor opened in the column gets the same settings.
    f.Key(Qt::Key_F2);
    QVERIFY(f.Grid.EditorMode());
    QCOMPARE(int(f.Grid.InplaceEditor()->inputMethodHints()), hints);
    QCOMPARE(f.Grid.InplaceEditor()->testAttribute(Qt::WA_InputMethodEnabled), enabled);
    // Back in a column that does not care, the grid's own hints return.
    f.Key(Qt::Key_Escape);
    f.Key(Qt::Key_Left);
    QCOMPARE(f.Grid.inputMethodQuery(Qt::ImHints).toInt(), int(Qt::ImhNone));
}

void TestGridKeyboard::aCompositionOpensTheEditor()
{
    TKeyGrid f;
    QVERIFY(f.Show());
    f.Key(Qt::Key_Right);
    QVERIFY(!f.Grid.EditorMode());
    QInputMethodEvent composing(QStringLiteral("ka"), {});
    QApplication::sendEvent(&f.Grid, &composing);
    QVERIFY(f.Grid.EditorMode());
    QCOMPARE(QApplication::focusWidget(), f.Grid.InplaceEditor());
    QInputMethodEvent committed;
    committed.setCommitString(QString::fromUtf8("\u304b"));
    QApplication::sendEvent(QApplication::focusWidget(), &committed);
    f.Key(Qt::Key_Return);
    QCOMPARE(f.Name()->AsString(), QString::fromUtf8("\u304b"));
    f.Key(Qt::Key_Down);
    QCOMPARE(f.ChangedRows(), QStringList{QString::fromUtf8("1:\u304b")});
}

// --- Bad input -----------------------------------------------------------------------------------------

void TestGridKeyboard::keysWithoutUsableDataDoNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("no data source") << QStringLiteral("no source");
    QTest::newRow("closed dataset") << QStringLiteral("closed");
    QTest::newRow("empty dataset") << QStringLiteral("empty");
    QTest::newRow("read-only grid") << QStringLiteral("read-only grid");
    QTest::newRow("read-only dataset") << QStringLiteral("read-only dataset");
}

void TestGridKeyboard::keysWithoutUsableDataDoNothing()
{
    QFETCH(QString, kind);
    QStringList messages;
    TExceptionHandlerScope recording(TExceptionHandlerScope::Recording(messages));
    TAnswer reply{QMessageBox::Ok};
    TKeyGrid f(TOrvoDBGridOptions{dgMultiSelect});
    if (kind == QLatin1String("no source")) {
        f.Grid.SetDataSource(nullptr);
    } else if (kind == QLatin1String("closed")) {
        f.Items.Table.Close();
    } else if (kind == QLatin1String("empty")) {
        f.Items.Table.SetFilter(QStringLiteral("id < 0"));
        f.Items.Table.SetFiltered(true);
    } else if (kind == QLatin1String("read-only grid")) {
        f.Grid.SetReadOnly(true);
    } else {
        f.Items.Table.Close();
        f.Items.Db.Close();
        f.Items.Db.SetReadOnly(true);
        f.Items.Db.Open();
        f.Items.Table.Open();
        QVERIFY(!f.Items.Table.CanModify());
    }
    QVERIFY(f.Show());
    // Ctrl+Delete first, while an empty dataset is still empty: Down appends to it.
    const QList<TKeyStroke> keys{{Qt::Key_Delete, Qt::ControlModifier}, {Qt::Key_Down, Qt::NoModifier},
                                 {Qt::Key_End, Qt::ControlModifier},    {Qt::Key_Down, Qt::NoModifier},
                                 {Qt::Key_Insert, Qt::NoModifier},      {Qt::Key_A, Qt::ControlModifier},
                                 {Qt::Key_C, Qt::ControlModifier},      {Qt::Key_Tab, Qt::NoModifier},
                                 {Qt::Key_F2, Qt::NoModifier},          {Qt::Key_PageUp, Qt::NoModifier},
                                 {Qt::Key_Home, Qt::ControlModifier}};
    for (const TKeyStroke& stroke : keys)
        f.Key(stroke.Key, stroke.Modifiers);
    f.Type(QStringLiteral("Typed"));
    f.Key(Qt::Key_Return);
    f.Key(Qt::Key_Escape);
    f.Wheel(-2);
    f.Wheel(3);
    f.Key(Qt::Key_Escape);
    QCOMPARE(messages, QStringList());
    QCOMPARE(reply.Asked, QStringList());
    QCOMPARE(f.ChangedRows(), QStringList());
    if (f.Items.Table.Active())
        QCOMPARE(f.Items.Table.State(), dsBrowse);
}

void TestGridKeyboard::aFailingPostKeepsTheTypedText()
{
    QStringList messages;
    TExceptionHandlerScope recording(TExceptionHandlerScope::Recording(messages));
    TKeyGrid f;
    f.Items.Table.BeforePost = [](TDataSet*) { throw EDatabaseError(QStringLiteral("Post refused")); };
    QVERIFY(f.Show());
    f.Key(Qt::Key_Right);
    f.Type(QStringLiteral("Typed"));
    f.Key(Qt::Key_Down);
    QCOMPARE(messages, QStringList{QStringLiteral("Post refused")});
    QCOMPARE(f.CurrentId(), 1);
    QCOMPARE(f.Items.Table.State(), dsEdit);
    QCOMPARE(f.Name()->AsString(), QStringLiteral("Typed"));
    QVERIFY(f.InStep());
    // Once the post goes through, the text it kept is what is stored.
    f.Items.Table.BeforePost = nullptr;
    f.Key(Qt::Key_Down);
    QCOMPARE(f.ChangedRows(), QStringList{QStringLiteral("1:Typed")});
}

void TestGridKeyboard::aFailingDeleteKeepsRecordAndSelection()
{
    QStringList messages;
    TExceptionHandlerScope recording(TExceptionHandlerScope::Recording(messages));
    TAnswer reply{QMessageBox::Ok};
    TKeyGrid f(TOrvoDBGridOptions{dgMultiSelect, dgAutoUnselectOff});
    f.Items.Table.BeforeDelete = [](TDataSet*) { throw EDatabaseError(QStringLiteral("Delete refused")); };
    QVERIFY(f.Show());
    f.Key(Qt::Key_Down);
    f.Grid.SelectCurrentRow();
    f.Key(Qt::Key_Down);
    f.Grid.SelectCurrentRow();
    f.Key(Qt::Key_Delete, Qt::ControlModifier);
    QVERIFY(!messages.isEmpty());
    QVERIFY(messages.first().contains(QStringLiteral("Delete refused")));
    QCOMPARE(f.Grid.SelectedRows()->Count(), 2);
    QCOMPARE(f.ChangedRows(), QStringList());
    QVERIFY(f.InStep());
}

QTEST_MAIN(TestGridKeyboard)
#include "tst_grid_keyboard.moc"
