// The mouse wheel over a shown grid moves the current record by the records its settings
// ask for, keeps the record's row with dgScrollRowsMode, takes back an empty appended
// record and leaves the turn to a host that handles it.

#include "grid/common/tgridsettingsguard.h"
#include "grid/input/tkeygrid.h"
#include "platform/data/tdataset.h"

using namespace orvo;
using namespace orvo::test;

namespace {

/// Puts the system's wheel lines back however the test ends.
class TWheelLinesGuard
{
public:
    explicit TWheelLinesGuard(int lines) : FSaved(QApplication::wheelScrollLines())
    {
        QApplication::setWheelScrollLines(lines);
    }
    ~TWheelLinesGuard() { QApplication::setWheelScrollLines(FSaved); }
    TWheelLinesGuard(const TWheelLinesGuard&) = delete;
    TWheelLinesGuard& operator=(const TWheelLinesGuard&) = delete;

private:
    int FSaved;
};

constexpr int StartId = 12;

} // namespace

class TestGridWheel : public QObject
{
    Q_OBJECT

private slots:
    void aNotchMovesTheRecord_data();
    void aNotchMovesTheRecord();
    void rowsModeKeepsTheRecordsRow();
    void theWheelTakesBackAnEmptyAppendedRecord();
    void aHostThatHandlesTheWheelKeepsTheRecord();
};

void TestGridWheel::aNotchMovesTheRecord_data()
{
    QTest::addColumn<int>("wheelScrollRows");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("notches");  // positive: up, towards the first record
    QTest::addColumn<int>("distance"); // records moved; -1 stands for one screen of them
    const int none = Qt::NoModifier;
    QTest::newRow("system lines, down") << 0 << none << -1 << 3;
    QTest::newRow("system lines, up") << 0 << none << 1 << 3;
    QTest::newRow("two rows, down twice") << 2 << none << -2 << 4;
    QTest::newRow("one buffer, down") << -1 << none << -1 << -1;
    QTest::newRow("ctrl: one record") << 5 << int(Qt::ControlModifier) << -1 << 1;
    QTest::newRow("shift: one screen") << 2 << int(Qt::ShiftModifier) << -1 << -1;
}

void TestGridWheel::aNotchMovesTheRecord()
{
    QFETCH(int, wheelScrollRows);
    QFETCH(int, modifiers);
    QFETCH(int, notches);
    QFETCH(int, distance);
    TWheelLinesGuard lines(3);
    TKeyGrid f;
    f.Grid.SetWheelScrollRows(wheelScrollRows);
    QVERIFY(f.Show());
    f.Items.Table.MoveBy(StartId - 1);
    const int records = distance == -1 ? f.Visible() : distance;
    QVERIFY(records > 1 || distance == 1);
    f.Wheel(notches, Qt::KeyboardModifiers(modifiers));
    const int expected = StartId + (notches < 0 ? records : -records);
    QCOMPARE(f.CurrentId(), std::clamp(expected, 1, TKeyGrid::ItemCount));
    QVERIFY(f.InStep());
}

void TestGridWheel::rowsModeKeepsTheRecordsRow()
{
    TKeyGrid f;
    f.Grid.SetOptionsExt(f.Grid.OptionsExt() + dgScrollRowsMode);
    f.Grid.SetWheelScrollRows(2);
    QVERIFY(f.Show());
    for (int i = 0; i < 3; ++i)
        f.Key(Qt::Key_Down);
    const int row = f.Grid.Row();
    f.Wheel(-1);
    QCOMPARE(f.CurrentId(), 6);
    QCOMPARE(f.Grid.Row(), row);
    f.Wheel(1);
    QCOMPARE(f.CurrentId(), 4);
    QCOMPARE(f.Grid.Row(), row);
    QVERIFY(f.InStep());
    // Without the option the record moves and the view follows only as far as needed.
    f.Grid.SetOptionsExt(f.Grid.OptionsExt() - dgScrollRowsMode);
    f.Wheel(-1);
    QCOMPARE(f.CurrentId(), 6);
    QCOMPARE(f.Grid.Row(), row + 2);
}

void TestGridWheel::theWheelTakesBackAnEmptyAppendedRecord()
{
    TKeyGrid f;
    QVERIFY(f.Show());
    f.Key(Qt::Key_End, Qt::ControlModifier);
    f.Key(Qt::Key_Down);
    QCOMPARE(f.Items.Table.State(), dsInsert);
    // Further down there is nothing: the empty record stays.
    f.Wheel(-1);
    QCOMPARE(f.Items.Table.State(), dsInsert);
    f.Wheel(1);
    QCOMPARE(f.Items.Table.State(), dsBrowse);
    QCOMPARE(f.CurrentId(), TKeyGrid::ItemCount);
    QCOMPARE(f.ChangedRows(), QStringList());
}

void TestGridWheel::aHostThatHandlesTheWheelKeepsTheRecord()
{
    TKeyGrid f;
    int calls = 0;
    f.Grid.OnMouseWheelDown = [&calls](QObject*, TShiftState, const QPoint&, bool& handled) {
        ++calls;
        handled = true;
    };
    QVERIFY(f.Show());
    f.Wheel(-1);
    QCOMPARE(calls, 1);
    QCOMPARE(f.CurrentId(), 1);
    f.Wheel(1);
    QCOMPARE(f.CurrentId(), 1);
}

QTEST_MAIN(TestGridWheel)
#include "tst_grid_wheel.moc"
