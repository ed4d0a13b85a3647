#include "common/sqlitebind.h"
#include "common/texceptionhandlerscope.h"
#include "common/tsystemprofilescope.h"
#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/common/gridtestwidgets.h"
#include "grid/common/tgridsettingsguard.h"
#include "grid/common/titemstable.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "grid/painting/torvogridstyle.h"
#include "lists/calculator/tcalculatorarithmetic.h"
#include "lists/calculator/torvodbgridcalculator.h"
#include "lists/calculator/torvodbpopupcalculator.h"
#include "lists/common/opencelleditor.h"
#include "lists/editor/torvodbgrideditor.h"
#include "lists/popup/tlistbutton.h"
#include "lists/popup/torvodbgridlistclasses.h"
#include "platform/data/tdatasource.h"
#include "platform/data/tfield.h"
#include "platform/data/tnumericfield.h"
#include "platform/sqlite/tsqlitedatabase.h"
#include "platform/sqlite/tsqlitetable.h"

#include <QDialog>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

using namespace orvo;
using orvo::test::TExceptionHandlerScope;
using orvo::test::TGridSettingsGuard;
using orvo::test::TSystemProfileScope;

namespace {

/// Two rows of numbers in a database file of their own, shown in a grid whose columns
/// all drop down the calculator; row 1 holds values, row 2 only Nulls.
struct TNumbersGrid
{
    TNumbersGrid()
    {
        Db.SetDatabaseName(Path());
        Db.SetCreateIfMissing(true);
        Db.Open();
        Db.ExecSQL(QStringLiteral("CREATE TABLE nums (id INTEGER PRIMARY KEY, qty INTEGER, price REAL, "
                                  "note TEXT)"));
        Db.ExecSQL(QStringLiteral("INSERT INTO nums VALUES (1, 5, 2.5, 'abc'), (2, NULL, NULL, NULL)"));
        Table.SetDatabase(&Db);
        Table.SetTableName(QStringLiteral("nums"));
        Source.SetDataSet(&Table);
        Table.Open();
        // The cell shows "$2.50", but the calculator opens on the text the editor holds.
        auto* price = static_cast<TNumericField*>(Table.FieldByName(QStringLiteral("price")));
        price->SetDisplayFormat(QStringLiteral("'$'0.00"));
        price->SetEditFormat(QStringLiteral("0.###"));
        Grid.SetDataSource(&Source);
        orvo::test::AddColumns(Grid, {"qty", "price", "note"});
        for (int i = 0; i < Grid.Columns()->Count(); ++i)
            Grid.Columns()->Items(i)->SetButtonStyle(cbsCalculator);
    }
    ~TNumbersGrid() { delete Container.data(); }

    QString Path() const { return Dir.filePath(QStringLiteral("nums.db")); }
    TOrvoColumn* Column(const char* name) const
    {
        for (int i = 0; i < Grid.Columns()->Count(); ++i)
            if (Grid.Columns()->Items(i)->FieldName() == QLatin1String(name))
                return Grid.Columns()->Items(i);
        return nullptr;
    }

    /// Opens the calculator of column `name` on record `id`, counting its beeps.
    TOrvoDBPopupCalculator* DropDown(const char* name, int id)
    {
        Table.Locate(QStringLiteral("id"), qint64(id), {});
        Container = new TOrvoDBGridCalculator(&Grid, Column(name));
        Container->setGeometry(0, 0, 80, 20);
        Container->Calculator()->SetBeep([this] { ++Beeps; });
        Container->DropDown();
        return Container->Calculator();
    }
    void Type(const QString& keys)
    {
        for (const QChar key : keys)
            QTest::keyClick(Container->Calculator(), key.toLatin1());
    }
    void Press(Qt::Key key) { QTest::keyClick(Container.data(), key); }

    /// The stored value, as SQLite's quote() writes it, read through a connection of its own.
    QString Stored(const char* column, int id) const
    {
        const QByteArray sql = QByteArray("SELECT quote(") + column + ") FROM nums WHERE id = ?";
        return orvo::test::StoredText(Path(), sql.constData(), {TVariant(qint64(id))});
    }

    QTemporaryDir Dir;
    TSQLiteDatabase Db;
    TSQLiteTable Table;
    TDataSource Source;
    TOrvoDBGrid Grid;
    QPointer<TOrvoDBGridCalculator> Container;
    int Beeps = 0;
};

/// A dialog with a grid over items whose price column drops down the calculator, the
/// cell editor open on the first item's price (1.25).
struct TEditorFixture
{
    TEditorFixture()
    {
        Grid = new TOrvoDBGrid(&Dialog);
        Grid->setGeometry(0, 0, 400, 250);
        Grid->SetDataSource(&Items.Source);
        Items.Table.Open();
        orvo::test::AddColumns(*Grid, {"id", "price"});
        Price = Grid->Columns()->Items(1);
        Price->SetButtonStyle(cbsCalculator);
    }
    bool Open()
    {
        Editor = orvo::test::OpenCellEditor(Dialog, *Grid, *Price);
        return Editor != nullptr;
    }
    TOrvoDBPopupCalculator* Calculator() const
    {
        auto* container = qobject_cast<TOrvoDBGridCalculator*>(Editor->ActiveList());
        return container ? container->Calculator() : nullptr;
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(Editor, key, modifiers); }
    QString StoredPrice() const
    {
        return orvo::test::StoredText(Items.Dir.filePath(QStringLiteral("items.db")),
                                      "SELECT quote(price) FROM items WHERE id = 1");
    }

    orvo::test::TItemsTable Items{3};
    QDialog Dialog;
    TOrvoDBGrid* Grid = nullptr;
    TOrvoColumn* Price = nullptr;
    TOrvoDBGridEditor* Editor = nullptr;
};

} // namespace

class TGridCalculatorTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { TFormatSettings::SetDefault(TFormatSettings::Invariant()); }

    void theCalculatorOpensOnTheCellsText_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("display");
        QTest::addColumn<int>("beeps");
        QTest::newRow("an integer") << "qty" << 1 << "5" << 0;
        QTest::newRow("a real") << "price" << 1 << "2.5" << 0;
        QTest::newRow("a text that is no number") << "note" << 1 << "0" << 1;
        QTest::newRow("a Null integer") << "qty" << 2 << "0" << 0;
        QTest::newRow("a Null text") << "note" << 2 << "0" << 0;
    }
    void theCalculatorOpensOnTheCellsText()
    {
        QFETCH(QString, column);
        QFETCH(int, id);
        QFETCH(QString, display);
        QFETCH(int, beeps);
        TNumbersGrid g;
        QVERIFY(orvo::test::ShowExposed(g.Grid, 400, 200));
        TOrvoDBPopupCalculator* calculator = g.DropDown(column.toLatin1().constData(), id);
        QVERIFY(calculator->ListShown());
        QCOMPARE(calculator->DisplayText(), display);
        QCOMPARE(g.Beeps, beeps);
        // A fresh calculation: nothing pending from an earlier one.
        QVERIFY(calculator->Arithmetic().ResultShown());
        QCOMPARE(calculator->Arithmetic().Operator(), QChar(u'='));
    }

    void acceptingStoresTheResult_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("stored");
        QTest::newRow("a pending operation is evaluated") << "price" << 1 << "*4"
                                                          << "10.0";
        QTest::newRow("a finished calculation") << "qty" << 1 << "+3="
                                                << "8";
        QTest::newRow("a Null cell gets a number") << "price" << 2 << "0.1+0.2="
                                                   << "0.3";
        QTest::newRow("a text cell gets the text") << "note" << 1 << "7/2"
                                                   << "'3.5'";
    }
    void acceptingStoresTheResult()
    {
        QFETCH(QString, column);
        QFETCH(int, id);
        QFETCH(QString, keys);
        QFETCH(QString, stored);
        TNumbersGrid g;
        QVERIFY(orvo::test::ShowExposed(g.Grid, 400, 200));
        const QByteArray name = column.toLatin1();
        g.DropDown(name.constData(), id);
        g.Type(keys);
        g.Press(Qt::Key_Return);
        QVERIFY(!g.Container->ListShown());
        QVERIFY(g.Container->Accept());
        g.Table.Post();
        QCOMPARE(g.Stored(name.constData(), id), stored);
    }

    void theOkButtonStoresTheResult()
    {
        TNumbersGrid g;
        QVERIFY(orvo::test::ShowExposed(g.Grid, 400, 200));
        TOrvoDBPopupCalculator* calculator = g.DropDown("qty", 1);
        g.Type(QStringLiteral("*6"));
        QTest::mouseClick(calculator->ButtonOfCode(ckOK), Qt::LeftButton);
        QVERIFY(!g.Container->ListShown());
        g.Table.Post();
        QCOMPARE(g.Stored("qty", 1), QStringLiteral("30"));
    }

    void escapeClosesAndLeavesTheCell()
    {
        TNumbersGrid g;
        QVERIFY(orvo::test::ShowExposed(g.Grid, 400, 200));
        g.DropDown("qty", 1);
        g.Type(QStringLiteral("*6"));
        g.Press(Qt::Key_Escape);
        QVERIFY(!g.Container->ListShown());
        QVERIFY(!g.Container->Accept());
        QCOMPARE(g.Table.FieldByName(QStringLiteral("qty"))->AsString(), QStringLiteral("5"));
        QCOMPARE(g.Stored("qty", 1), QStringLiteral("5"));
    }

    void aNumberTheFieldRefusesIsReportedAndTheCellKept_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::newRow("beyond a 32-bit integer") << "*1000000000=";
        QTest::newRow("a fraction in an integer field") << "/2=";
    }
    void aNumberTheFieldRefusesIsReportedAndTheCellKept()
    {
        QFETCH(QString, keys);
        QStringList errors;
        TGridSettingsGuard guard(TExceptionHandlerScope::Recording(errors));
        TNumbersGrid g;
        QVERIFY(orvo::test::ShowExposed(g.Grid, 400, 200));
        g.DropDown("qty", 1);
        g.Type(keys);
        g.Press(Qt::Key_Return);
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().contains(QStringLiteral("valid")), qPrintable(errors.first()));
        // The list closed and finished its close-up; the cell kept its value.
        QVERIFY(!g.Container->ListShown());
        QCOMPARE(g.Table.FieldByName(QStringLiteral("qty"))->AsString(), QStringLiteral("5"));
        if (g.Table.State() != dsBrowse)
            g.Table.Post();
        QCOMPARE(g.Stored("qty", 1), QStringLiteral("5"));
    }

    void aRefusedNumberInAnOpenEditorIsNeverDroppedSilently()
    {
        QStringList errors;
        TGridSettingsGuard guard(TExceptionHandlerScope::Recording(errors));
        TNumbersGrid g;
        QVERIFY(orvo::test::ShowExposed(g.Grid, 400, 200));
        g.Grid.setFocus();
        g.Grid.SetCol(g.Grid.DataToRawColumn(g.Column("qty")->Index()));
        g.Grid.ShowEditor();
        auto* editor = qobject_cast<TOrvoDBGridEditor*>(g.Grid.InplaceEditor());
        QVERIFY(editor);
        editor->setFocus();
        QVERIFY(QTest::qWaitFor([editor] { return editor->hasFocus(); }));
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("7"));
        QTest::keyClick(editor, Qt::Key_Down, Qt::AltModifier);
        QVERIFY(editor->ListOpen());
        QTest::keyClicks(editor, QStringLiteral("*1000000000="));
        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY(!editor->ListOpen());
        QCOMPARE(errors.size(), 1);
        // The editor shows the refused number, so the cell's text still counts as changed:
        // storing the record meets the field's refusal again instead of dropping the text.
        QCOMPARE(editor->text(), QStringLiteral("5000000000"));
        QVERIFY(g.Grid.DataLink()->Modified());
        QVERIFY_THROWS_EXCEPTION(EConvertError, g.Table.Post());
        g.Table.Cancel();
        QCOMPARE(g.Stored("qty", 1), QStringLiteral("5"));
    }

    void theListGrowsOnceForTheGridsRows()
    {
        TNumbersGrid g;
        QVERIFY(orvo::test::ShowExposed(g.Grid, 400, 200));
        TOrvoDBPopupCalculator* calculator = g.DropDown("price", 1);
        const int grown = TOrvoDBPopupCalculator::DesignHeight + g.Grid.GridStyle()->DataRowSpace() +
                          g.Grid.GridLineWidth() - 5;
        QCOMPARE(calculator->height(), grown);
        g.Press(Qt::Key_Escape);
        g.Container->DropDown();
        QCOMPARE(calculator->height(), grown);
    }

    void keysAreFlatWithEdgesExactlyWithoutSystemThemes_data()
    {
        QTest::addColumn<bool>("themes");
        QTest::newRow("themes on") << true;
        QTest::newRow("themes off") << false;
    }
    void keysAreFlatWithEdgesExactlyWithoutSystemThemes()
    {
        QFETCH(bool, themes);
        TSystemProfileScope profile(TSystemProfileScope::WithThemes(themes));
        TNumbersGrid g;
        TOrvoDBPopupCalculator* calculator = g.DropDown("price", 1);
        for (const TListButton* button : calculator->Buttons()) {
            QCOMPARE(button->Flat(), !themes);
            QCOMPARE(button->Edges(), !themes);
        }
    }

    void theCellEditorDropsDownTheCalculator_data()
    {
        QTest::addColumn<int>("closeKey");
        QTest::addColumn<int>("closeModifiers");
        QTest::addColumn<QString>("stored");
        QTest::newRow("Enter accepts") << int(Qt::Key_Return) << 0 << "5.0";
        QTest::newRow("Ctrl+Enter accepts") << int(Qt::Key_Return) << int(Qt::ControlModifier) << "5.0";
        QTest::newRow("Esc closes without clearing or storing") << int(Qt::Key_Escape) << 0 << "1.25";
    }
    void theCellEditorDropsDownTheCalculator()
    {
        QFETCH(int, closeKey);
        QFETCH(int, closeModifiers);
        QFETCH(QString, stored);
        TGridSettingsGuard guard;
        TEditorFixture f;
        QVERIFY(f.Open());
        f.Key(Qt::Key_Down, Qt::AltModifier);
        TOrvoDBPopupCalculator* calculator = f.Calculator();
        QVERIFY(calculator);
        QVERIFY(calculator->ListShown());
        QCOMPARE(calculator->DisplayText(), QStringLiteral("1.25"));
        QTest::keyClicks(f.Editor, QStringLiteral("*4"));
        QCOMPARE(calculator->DisplayText(), QStringLiteral("4"));
        f.Key(Qt::Key(closeKey), Qt::KeyboardModifiers(closeModifiers));
        QVERIFY(!f.Calculator());
        if (f.Grid->EditorMode())
            f.Key(Qt::Key_Return);
        if (f.Items.Table.State() != dsBrowse)
            f.Items.Table.Post();
        QCOMPARE(f.StoredPrice(), stored);
    }

    void aCalculatorColumnOpensThisContainer()
    {
        TNumbersGrid g;
        const auto factory = TOrvoDBGridListClasses::FactoryFor(g.Column("price"));
        QVERIFY(factory);
        std::unique_ptr<TOrvoDBGridDropDownList> container(factory(&g.Grid, g.Column("price")));
        QVERIFY(qobject_cast<TOrvoDBGridCalculator*>(container.get()));
        QVERIFY(qobject_cast<TOrvoDBPopupCalculator*>(container->List()));
    }
};

QTEST_MAIN(TGridCalculatorTest)
#include "tst_gridcalculator.moc"
