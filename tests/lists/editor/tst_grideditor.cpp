#include "common/sqlitebind.h"
#include "grid/common/tgridsettingsguard.h"
#include "grid/common/titemstable.h"
#include "lists/common/opencelleditor.h"
#include "lists/common/twordlist.h"

#include "grid/dbgrid/torvodbgrid.h"
#include "lists/editor/torvodbgrideditor.h"
#include "lists/popup/torvodbgridlistclasses.h"
#include "platform/data/tfield.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <sqlite3.h>

#include <memory>

using namespace orvo;
using namespace orvo::test;

namespace {

/// The name of item `id` as stored, read through a connection of its own.
QString StoredName(const TItemsTable& items, int id)
{
    return StoredText(items.Dir.filePath(QStringLiteral("items.db")), "SELECT name FROM items WHERE id = ?",
                      {TVariant(qint64(id))});
}

/// A dialog with a grid over the items, whose name column picks from OfferedWords(),
/// the editor open on the first item's name; an OK button is the dialog's default.
struct TEditorFixture
{
    TEditorFixture()
    {
        Grid = new TOrvoDBGrid(&Dialog);
        Grid->setGeometry(0, 0, 400, 250);
        Other = new QLineEdit(&Dialog);
        Other->setGeometry(0, 260, 100, 22);
        Ok = new QPushButton(QStringLiteral("OK"), &Dialog);
        Ok->setGeometry(120, 260, 80, 24);
        Ok->setDefault(true);
        Grid->SetDataSource(&Items.Source);
        Items.Table.Open();
        TOrvoColumn* id = Grid->Columns()->Add();
        id->SetFieldName(QStringLiteral("id"));
        Name = Grid->Columns()->Add();
        Name->SetFieldName(QStringLiteral("name"));
        Name->SetWidth(150);
        Name->SetPickList({QStringLiteral("any")});
    }
    bool Open()
    {
        Editor = OpenCellEditor(Dialog, *Grid, *Name);
        return Editor != nullptr;
    }
    TWordList* OpenList() const
    {
        auto* container = dynamic_cast<TWordContainer*>(Editor->ActiveList());
        return container ? container->Words() : nullptr;
    }
    QString FieldName() const { return Items.Table.FieldByName(QStringLiteral("name"))->AsString(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(Editor, key, modifiers); }
    /// Opens the list and moves to its second word, "Beta".
    bool OpenOnBeta()
    {
        Key(Qt::Key_Down, Qt::AltModifier);
        if (!OpenList())
            return false;
        Key(Qt::Key_Down);
        return OpenList()->CurrentWord() == QLatin1String("Beta");
    }
    /// Ends the edit as the user does and stores the record.
    void Post()
    {
        if (Grid->EditorMode())
            QTest::keyClick(Editor, Qt::Key_Return);
        if (Items.Table.State() != dsBrowse)
            Items.Table.Post();
    }

    TItemsTable Items{5};
    QDialog Dialog;
    TOrvoDBGrid* Grid;
    QLineEdit* Other;
    QPushButton* Ok;
    TOrvoColumn* Name;
    TOrvoDBGridEditor* Editor = nullptr;
};

} // namespace

class TstGridEditor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TOrvoDBGridListClasses::Register(TOrvoDBGridListClasses::glcPickList,
                                         TOrvoDBGridDropDownList::FactoryOf<TWordContainer>());
    }
    void cleanupTestCase() { TOrvoDBGridListClasses::Register(TOrvoDBGridListClasses::glcPickList, {}); }
    void init() { FGuard = std::make_unique<TGridSettingsGuard>(); }
    void cleanup() { FGuard.reset(); }

    void theGridMakesTheListEditor()
    {
        TEditorFixture f;
        QVERIFY(f.Open());
        QCOMPARE(f.Editor->Column(), f.Name);
        QVERIFY(!f.Editor->ListOpen());
    }

    void keysCloseTheListWithOrWithoutTheChoice_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("Enter") << int(Qt::Key_Return) << 0 << true;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << true;
        QTest::newRow("Alt+Up") << int(Qt::Key_Up) << int(Qt::AltModifier) << true;
        QTest::newRow("Alt+Down") << int(Qt::Key_Down) << int(Qt::AltModifier) << true;
        QTest::newRow("F2") << int(Qt::Key_F2) << 0 << true;
        QTest::newRow("Ctrl+Enter") << int(Qt::Key_Return) << int(Qt::ControlModifier) << true;
        QTest::newRow("Esc") << int(Qt::Key_Escape) << 0 << false;
        QTest::newRow("Tab") << int(Qt::Key_Tab) << 0 << false;
    }
    void keysCloseTheListWithOrWithoutTheChoice()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, accepted);
        TEditorFixture f;
        QVERIFY(f.Open());
        QVERIFY(f.OpenOnBeta());
        QVERIFY(f.Editor->hasFocus());
        f.Key(Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QVERIFY(!f.Editor->ListOpen());
        // Tab goes on to the next cell, which is the next record's.
        if (key != Qt::Key_Tab) {
            QCOMPARE(f.FieldName(), accepted ? QString("Beta") : QString("Item 1"));
            QCOMPARE(f.Editor->text(), accepted ? QString("Beta") : QString("Item 1"));
        }
        f.Post();
        QCOMPARE(StoredName(f.Items, 1), accepted ? QString("Beta") : QString("Item 1"));
    }

    void aChoiceEndsTheEditUnlessEnterMadeIt_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("autoClose");
        QTest::addColumn<bool>("editorClosed");
        QTest::newRow("Alt+Up") << int(Qt::Key_Up) << int(Qt::AltModifier) << true << true;
        QTest::newRow("F2") << int(Qt::Key_F2) << 0 << true << true;
        QTest::newRow("Enter") << int(Qt::Key_Return) << 0 << true << false;
        QTest::newRow("Esc") << int(Qt::Key_Escape) << 0 << true << false;
        QTest::newRow("Alt+Up, option off") << int(Qt::Key_Up) << int(Qt::AltModifier) << false << false;
    }
    void aChoiceEndsTheEditUnlessEnterMadeIt()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, autoClose);
        QFETCH(bool, editorClosed);
        TEditorFixture f;
        if (!autoClose)
            f.Name->SetListOptions(f.Name->ListOptions() - TOrvoListOptions{loAutoCloseEditor});
        QVERIFY(f.Name->ListOptions().Contains(loAutoCloseEditor) == autoClose);
        QVERIFY(f.Open());
        QVERIFY(f.OpenOnBeta());
        f.Key(Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCoreApplication::sendPostedEvents(f.Editor, QEvent::KeyPress);
        QCOMPARE(!f.Grid->EditorMode(), editorClosed);
        const bool accepted = key != Qt::Key_Escape;
        QCOMPARE(f.FieldName(), accepted ? QString("Beta") : QString("Item 1"));
        f.Post();
        QCOMPARE(StoredName(f.Items, 1), accepted ? QString("Beta") : QString("Item 1"));
    }

    void keysOpenTheList_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Alt+Down") << int(Qt::Key_Down) << int(Qt::AltModifier);
        QTest::newRow("Alt+Up") << int(Qt::Key_Up) << int(Qt::AltModifier);
        QTest::newRow("F2") << int(Qt::Key_F2) << 0;
        QTest::newRow("Ctrl+Enter") << int(Qt::Key_Return) << int(Qt::ControlModifier);
    }
    void keysOpenTheList()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        TEditorFixture f;
        QVERIFY(f.Open());
        int dropDowns = 0;
        f.Grid->OnListDropDown = [&](TOrvoColumn* column, QObject* list) {
            QCOMPARE(column, f.Name);
            QCOMPARE(list, f.Editor->ActiveList());
            ++dropDowns;
        };
        f.Key(Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QVERIFY(f.Editor->ListOpen());
        QVERIFY(f.OpenList()->ListShown());
        QCOMPARE(dropDowns, 1);
        QVERIFY(f.Editor->hasFocus() || !QApplication::focusWidget());
        QVERIFY(f.Grid->EditorMode());
    }

    void escapeNeverReachesTheGrid()
    {
        TEditorFixture f;
        QVERIFY(f.Open());
        f.Editor->end(false);
        QTest::keyClicks(f.Editor, QStringLiteral("zz"));
        QCOMPARE(f.Editor->text(), QString("Item 1zz"));
        QVERIFY(f.OpenOnBeta());
        f.Key(Qt::Key_Escape);
        QVERIFY(!f.Editor->ListOpen());
        // The grid would have dropped the typed text and left the editor.
        QVERIFY(f.Grid->EditorMode());
        QCOMPARE(f.Editor->text(), QString("Item 1zz"));
        f.Post();
        QCOMPARE(StoredName(f.Items, 1), QString("Item 1zz"));
    }

    void enterWhileOpenDoesNotFireTheDefaultButton()
    {
        TEditorFixture f;
        QVERIFY(f.Open());
        QSignalSpy clicked(f.Ok, &QPushButton::clicked);
        QVERIFY(f.OpenOnBeta());
        f.Key(Qt::Key_Return);
        QVERIFY(!f.Editor->ListOpen());
        QCOMPARE(clicked.count(), 0);
        QVERIFY(f.Dialog.isVisible());
    }

    void closeUpHandlerDecides_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QString>("value"); // empty: left as it is
        QTest::addColumn<QString>("stored");
        QTest::newRow("left alone") << true << ""
                                    << "Beta";
        QTest::newRow("refused") << false << ""
                                 << "Item 1";
        QTest::newRow("value changed") << true << "Gamma"
                                       << "Gamma";
        QTest::newRow("value changed, refused") << false << "Gamma"
                                                << "Item 1";
    }
    void closeUpHandlerDecides()
    {
        QFETCH(bool, accept);
        QFETCH(QString, value);
        QFETCH(QString, stored);
        TEditorFixture f;
        QVERIFY(f.Open());
        QVariantList seen;
        f.Grid->OnListCloseUp = [&](TOrvoColumn* column, QObject* list, TVariant& chosen, bool& accepted) {
            QCOMPARE(column, f.Name);
            QVERIFY(list != nullptr);
            seen << chosen.AsString() << accepted;
            accepted = accept;
            if (!value.isEmpty())
                chosen = TVariant(value);
        };
        QVERIFY(f.OpenOnBeta());
        f.Key(Qt::Key_Return);
        QCOMPARE(seen, (QVariantList{QString("Beta"), true}));
        QCOMPARE(f.FieldName(), stored);
        f.Post();
        QCOMPARE(StoredName(f.Items, 1), stored);
    }

    void aPressElsewhereOrAFocusLossClosesWithoutTheChoice_data()
    {
        QTest::addColumn<bool>("byFocus");
        QTest::newRow("press elsewhere") << false;
        QTest::newRow("focus elsewhere") << true;
    }
    void aPressElsewhereOrAFocusLossClosesWithoutTheChoice()
    {
        QFETCH(bool, byFocus);
        TEditorFixture f;
        QVERIFY(f.Open());
        QVERIFY(f.OpenOnBeta());
        if (byFocus) {
            f.Dialog.activateWindow();
            f.Other->setFocus(Qt::OtherFocusReason);
        } else {
            QTest::mouseClick(f.Other, Qt::LeftButton);
        }
        QTRY_VERIFY(!f.Editor->ListOpen());
        QCOMPARE(f.FieldName(), QString("Item 1"));
        QCOMPARE(f.Editor->text(), QString("Item 1"));
    }

    void theContainerReleasesItself()
    {
        TEditorFixture f;
        QVERIFY(f.Open());
        QVERIFY(f.OpenOnBeta());
        const QPointer<QObject> container = f.Editor->ActiveList();
        f.Key(Qt::Key_Escape);
        QVERIFY(!container.isNull());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(container.isNull());
        // The next opening makes a new one.
        f.Key(Qt::Key_F2);
        QVERIFY(f.Editor->ListOpen());
    }

    void theWheelTurnsTheList()
    {
        TEditorFixture f;
        QVERIFY(f.Open());
        f.Key(Qt::Key_F2);
        TWordList* list = f.OpenList();
        QVERIFY(list);
        QVERIFY(QTest::qWaitForWindowExposed(list));
        const QString before = list->CurrentWord();
        const int gridRow = f.Grid->Row();
        QWheelEvent wheel(QPointF(5, 5), f.Editor->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(f.Editor, &wheel);
        QVERIFY(list->CurrentWord() != before);
        QCOMPARE(f.Grid->Row(), gridRow);
        QVERIFY(!TOrvoDBDropDownList::WheelForwarding());
    }

    void theButtonTogglesTheList()
    {
        TEditorFixture f;
        QVERIFY(f.Open());
        const QPoint button(f.Editor->width() - 4, f.Editor->height() / 2);
        QTest::mouseClick(f.Editor, Qt::LeftButton, {}, button);
        QVERIFY(f.Editor->ListOpen());
        QTest::mouseClick(f.Editor, Qt::LeftButton, {}, button);
        QVERIFY(!f.Editor->ListOpen());
        QCOMPARE(f.FieldName(), QString("Item 1"));
        // The text area is no button.
        QTest::mouseClick(f.Editor, Qt::LeftButton, {}, QPoint(4, f.Editor->height() / 2));
        QVERIFY(!f.Editor->ListOpen());
    }

    void aColumnWithoutAListOpensNothing()
    {
        TEditorFixture f;
        f.Name->SetPickList({});
        QVERIFY(f.Open());
        f.Key(Qt::Key_Down, Qt::AltModifier);
        QVERIFY(!f.Editor->ListOpen());
        QCOMPARE(f.Editor->findChildren<TOrvoDBDropDownList*>().size(), 0);
    }

private:
    std::unique_ptr<TGridSettingsGuard> FGuard;
};

QTEST_MAIN(TstGridEditor)
#include "tst_grideditor.moc"
