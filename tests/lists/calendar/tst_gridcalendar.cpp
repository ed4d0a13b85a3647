// The calendar as a grid column opens it: loaded from the cell, dressed by the column's
// options, and writing the picked date into the field only when accepted, checked in
// the database file itself.
#include "common/sqlitebind.h"
#include "grid/common/tgridsettingsguard.h"
#include "grid/common/titemstable.h"
#include "lists/common/opencelleditor.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "lists/calendar/torvodbgridcalendar.h"
#include "lists/calendar/torvodbpopupcalendar.h"
#include "lists/editor/torvodbgrideditor.h"
#include "lists/popup/torvodbgridlistclasses.h"
#include "platform/core/tformatsettings.h"
#include "platform/data/tfield.h"

#include <QDialog>
#include <QtTest>

#include <sqlite3.h>

#include <memory>

using namespace orvo;
using namespace orvo::test;

namespace {

constexpr const char* kStoredDue = "2024-05-15 13:45:30";

/// What the database file holds for item `id`'s due date, read through a connection of its own.
QString StoredDue(const TItemsTable& items, int id)
{
    return StoredText(items.Dir.filePath(QStringLiteral("items.db")), "SELECT due FROM items WHERE id = ?",
                      {TVariant(qint64(id))});
}

/// A grid over items with a date-time column "due", the editor open on the first item's due date.
struct TCalendarFixture
{
    TFormatSettings SavedSettings = TFormatSettings::Default();

    TCalendarFixture()
    {
        TFormatSettings::SetDefault(TFormatSettings::Invariant());
        Items.Db.ExecSQL(QStringLiteral("ALTER TABLE items ADD COLUMN due DATETIME"));
        Items.Db.ExecSQL(QStringLiteral("UPDATE items SET due = ? WHERE id = 1"), {TVariant(kStoredDue)});
        Grid = new TOrvoDBGrid(&Dialog);
        Grid->setGeometry(0, 0, 400, 250);
        Grid->SetDataSource(&Items.Source);
        Items.Table.Open();
        Grid->Columns()->Add()->SetFieldName(QStringLiteral("id"));
        Due = Grid->Columns()->Add();
        Due->SetFieldName(QStringLiteral("due"));
        Due->SetWidth(180);
    }
    ~TCalendarFixture() { TFormatSettings::SetDefault(SavedSettings); }

    [[nodiscard]] bool Open()
    {
        Editor = OpenCellEditor(Dialog, *Grid, *Due);
        return Editor != nullptr;
    }
    TOrvoDBPopupCalendar* OpenCalendar()
    {
        Key(Qt::Key_Down, Qt::AltModifier);
        auto* container = qobject_cast<TOrvoDBGridCalendar*>(Editor->ActiveList());
        return container ? container->Calendar() : nullptr;
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(Editor, key, modifiers); }
    QDateTime FieldValue() const
    {
        return Items.Table.FieldByName(QStringLiteral("due"))->AsDateTime().ToQDateTime();
    }
    void Post()
    {
        if (Grid->EditorMode())
            QTest::keyClick(Editor, Qt::Key_Return);
        if (Items.Table.State() != dsBrowse)
            Items.Table.Post();
    }

    TGridSettingsGuard Guard;
    TItemsTable Items{3};
    QDialog Dialog;
    TOrvoDBGrid* Grid;
    TOrvoColumn* Due;
    TOrvoDBGridEditor* Editor = nullptr;
};

} // namespace

class TstGridCalendar : public QObject
{
    Q_OBJECT

private slots:
    void dateColumnsAndCalendarButtonsOpenTheCalendar();
    void aPickedDayKeepsTheTimeOfDayAndIsStored();
    void aCalendarClosedWithoutAcceptingLeavesTheCell_data();
    void aCalendarClosedWithoutAcceptingLeavesTheCell();
    void theColumnsOptionsDressTheCalendar();
    void theGridsBoldDaysHandlerAnswersWhileOpen();
    void typedTextThatIsNoDateOpensOnToday();
    void aPickedYearIsStoredWholeUnderTwoDigitYearFormats_data();
    void aPickedYearIsStoredWholeUnderTwoDigitYearFormats();
    void theListValueWritesTheYearWholeAndLeavesQuotedText_data();
    void theListValueWritesTheYearWholeAndLeavesQuotedText();
    void anUntouchedCellOpensOnTheStoredValue_data();
    void anUntouchedCellOpensOnTheStoredValue();
};

void TstGridCalendar::dateColumnsAndCalendarButtonsOpenTheCalendar()
{
    TCalendarFixture f;
    QVERIFY(TOrvoDBGridListClasses::FactoryFor(f.Due));
    TOrvoColumn* id = f.Grid->Columns()->Items(0);
    QVERIFY(!TOrvoDBGridListClasses::FactoryFor(id));
    id->SetButtonStyle(cbsCalendar);
    QDialog parent;
    std::unique_ptr<TOrvoDBGridDropDownList> container(TOrvoDBGridListClasses::FactoryFor(id)(&parent, id));
    QVERIFY(qobject_cast<TOrvoDBGridCalendar*>(container.get()));
    QVERIFY(static_cast<TOrvoDBGridCalendar*>(container.get())->Calendar());
}

void TstGridCalendar::aPickedDayKeepsTheTimeOfDayAndIsStored()
{
    TCalendarFixture f;
    QVERIFY(f.Open());
    TOrvoDBPopupCalendar* calendar = f.OpenCalendar();
    QVERIFY(calendar);
    QVERIFY(calendar->ListShown());
    QCOMPARE(calendar->CurrentCellDate().ToQDate(), QDate(2024, 5, 15));
    f.Key(Qt::Key_Right);
    f.Key(Qt::Key_PageDown);
    QCOMPARE(calendar->CurrentCellDate().ToQDate(), QDate(2024, 6, 16));
    // A wheel notch over the editor turns four weeks on, and back.
    const QPointF at = f.Editor->rect().center();
    for (int delta : {-120, 120}) {
        QWheelEvent wheel(at, f.Editor->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(f.Editor, &wheel);
        QCOMPARE(calendar->CurrentCellDate().ToQDate(), delta < 0 ? QDate(2024, 7, 14) : QDate(2024, 6, 16));
    }
    // Nothing reaches the field before the pick is accepted.
    QCOMPARE(f.FieldValue(), QDateTime(QDate(2024, 5, 15), QTime(13, 45, 30)));
    f.Key(Qt::Key_Return);
    QVERIFY(!f.Editor->ListOpen());
    QCOMPARE(f.FieldValue(), QDateTime(QDate(2024, 6, 16), QTime(13, 45, 30)));
    f.Post();
    QCOMPARE(StoredDue(f.Items, 1), QStringLiteral("2024-06-16 13:45:30"));
}

void TstGridCalendar::aCalendarClosedWithoutAcceptingLeavesTheCell_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Esc") << int(Qt::Key_Escape);
    QTest::newRow("Tab") << int(Qt::Key_Tab);
}

void TstGridCalendar::aCalendarClosedWithoutAcceptingLeavesTheCell()
{
    QFETCH(int, key);
    TCalendarFixture f;
    QVERIFY(f.Open());
    QVERIFY(f.OpenCalendar());
    f.Key(Qt::Key_PageUp, Qt::ControlModifier);
    f.Key(Qt::Key(key));
    QVERIFY(!f.Editor->ListOpen());
    f.Items.Table.First();
    QCOMPARE(f.FieldValue(), QDateTime(QDate(2024, 5, 15), QTime(13, 45, 30)));
    f.Post();
    QCOMPARE(StoredDue(f.Items, 1), QString::fromLatin1(kStoredDue));
}

void TstGridCalendar::theColumnsOptionsDressTheCalendar()
{
    TCalendarFixture f;
    QVERIFY(f.Open());
    // The column's defaults: the today footer only.
    TOrvoDBPopupCalendar* calendar = f.OpenCalendar();
    QVERIFY(calendar);
    QVERIFY(calendar->ShowToday());
    QVERIFY(!calendar->BoldSundays());
    QCOMPARE(calendar->BoldDays(), quint64(0));
    QVERIFY(!calendar->ShowTodayCircle());
    QVERIFY(!calendar->ShowWeekNumbers());
    QVERIFY(!calendar->AutoTodayClose());
    QCOMPARE(calendar->MaxDepth(), cdDecade);
    f.Key(Qt::Key_Escape);

    f.Due->SetListOptions({loBoldSundays, loShowTodayCircle, loShowWeekNumbers, loAutoTodayClose});
    f.Due->SetCalendarDepth(cdYear);
    calendar = f.OpenCalendar();
    QVERIFY(calendar);
    QVERIFY(!calendar->ShowToday());
    QVERIFY(calendar->BoldSundays());
    // May 2024's page starts on Monday 29 April: its Sundays are cells 6, 13, ...
    QCOMPARE(calendar->BoldDays(), quint64(0x20408102040));
    QVERIFY(calendar->ShowTodayCircle());
    QVERIFY(calendar->ShowWeekNumbers());
    QVERIFY(calendar->AutoTodayClose());
    QCOMPARE(calendar->MaxDepth(), cdYear);
    calendar->SetDepth(cdYear);
    calendar->SetDepth(cdDecade);
    QCOMPARE(calendar->Depth(), cdYear);
}

void TstGridCalendar::theGridsBoldDaysHandlerAnswersWhileOpen()
{
    TCalendarFixture f;
    QVERIFY(f.Open());
    QList<QObject*> senders;
    f.Grid->OnCalcBoldDays = [&](QObject* sender, double date, bool& bold) {
        senders << sender;
        bold = TDateTime(date).ToQDate() == QDate(2024, 5, 20);
    };
    TOrvoDBPopupCalendar* calendar = f.OpenCalendar();
    QVERIFY(calendar);
    QCOMPARE(senders.size(), 42);
    QCOMPARE(senders.first(), calendar);
    QCOMPARE(calendar->BoldDays(), quint64(1) << 21);
    f.Key(Qt::Key_Escape);
    QVERIFY(!calendar->OnCalcBoldDays);
}

void TstGridCalendar::typedTextThatIsNoDateOpensOnToday()
{
    TCalendarFixture f;
    QVERIFY(f.Open());
    f.Editor->setText(QStringLiteral("5/40/2024"));
    const QDate before = QDate::currentDate();
    TOrvoDBPopupCalendar* calendar = f.OpenCalendar();
    QVERIFY(calendar);
    const QDate after = QDate::currentDate();
    if (before != after)
        QSKIP("the day changed while the calendar opened");
    QCOMPARE(calendar->CurrentCellDate().ToQDate(), before);
    f.Key(Qt::Key_Escape);
    QCOMPARE(f.FieldValue(), QDateTime(QDate(2024, 5, 15), QTime(13, 45, 30)));

    // Typed text that is a date is what the calendar opens on.
    f.Editor->setText(QStringLiteral("2/29/2028 8:00:00 AM"));
    calendar = f.OpenCalendar();
    QVERIFY(calendar);
    QCOMPARE(calendar->CurrentCellDate().ToQDate(), QDate(2028, 2, 29));
    QCOMPARE(calendar->SelectedDateTime().ToQDateTime(), QDateTime(QDate(2028, 2, 29), QTime(8, 0)));
}

void TstGridCalendar::aPickedYearIsStoredWholeUnderTwoDigitYearFormats_data()
{
    QTest::addColumn<QString>("shortDateFormat");
    QTest::addColumn<QDate>("picked");
    QTest::addColumn<QString>("stored");
    QTest::newRow("M/d/yy, a century back") << "M/d/yy" << QDate(1850, 3, 7) << "1850-03-07 13:45:30";
    QTest::newRow("M/d/yy, far ahead") << "M/d/yy" << QDate(2150, 3, 7) << "2150-03-07 13:45:30";
    QTest::newRow("d.M.y") << "d.M.y" << QDate(1901, 12, 31) << "1901-12-31 13:45:30";
    QTest::newRow("M/d/yyyy") << "M/d/yyyy" << QDate(1850, 3, 7) << "1850-03-07 13:45:30";
}

void TstGridCalendar::aPickedYearIsStoredWholeUnderTwoDigitYearFormats()
{
    QFETCH(QString, shortDateFormat);
    QFETCH(QDate, picked);
    QFETCH(QString, stored);
    TCalendarFixture f;
    TFormatSettings settings = TFormatSettings::Invariant();
    settings.ShortDateFormat = shortDateFormat;
    if (shortDateFormat.contains(u'.'))
        settings.DateSeparator = u'.';
    TFormatSettings::SetDefault(settings);
    QVERIFY(f.Open());
    TOrvoDBPopupCalendar* calendar = f.OpenCalendar();
    QVERIFY(calendar);
    QCOMPARE(calendar->CurrentCellDate().ToQDate(), QDate(2024, 5, 15));
    calendar->GoToDate(TDateTime::FromQDate(picked));
    f.Key(Qt::Key_Return);
    f.Post();
    QCOMPARE(StoredDue(f.Items, 1), stored);
}

void TstGridCalendar::theListValueWritesTheYearWholeAndLeavesQuotedText_data()
{
    QTest::addColumn<QString>("shortDateFormat");
    QTest::addColumn<QString>("value");
    QTest::newRow("two-digit year") << "M/d/yy"
                                    << "3/7/1850 1:45:30 PM";
    QTest::newRow("one-digit year first") << "y/M/d"
                                          << "1850/3/7 1:45:30 PM";
    QTest::newRow("quoted letters stay") << "'yy' M/d/yy"
                                         << "yy 3/7/1850 1:45:30 PM";
    QTest::newRow("full year as it was") << "YYYY-MM-DD"
                                         << "1850-03-07 1:45:30 PM";
}

void TstGridCalendar::theListValueWritesTheYearWholeAndLeavesQuotedText()
{
    QFETCH(QString, shortDateFormat);
    QFETCH(QString, value);
    TCalendarFixture f;
    QVERIFY(f.Open());
    QString closedWith;
    f.Grid->OnListCloseUp = [&](TOrvoColumn*, QObject*, TVariant& listValue, bool& accept) {
        closedWith = listValue.AsString();
        accept = false;
    };
    TOrvoDBPopupCalendar* calendar = f.OpenCalendar();
    QVERIFY(calendar);
    calendar->GoToDate(TDateTime::FromQDate(QDate(1850, 3, 7)));
    TFormatSettings settings = TFormatSettings::Invariant();
    settings.ShortDateFormat = shortDateFormat;
    TFormatSettings::SetDefault(settings);
    f.Key(Qt::Key_Return);
    QCOMPARE(closedWith, value);
    QCOMPARE(f.FieldValue(), QDateTime(QDate(2024, 5, 15), QTime(13, 45, 30)));
}

void TstGridCalendar::anUntouchedCellOpensOnTheStoredValue_data()
{
    QTest::addColumn<QString>("storedBefore");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("storedAfter");
    // The cell reads "5/15/50": read back as text it would be 2050.
    QTest::newRow("a year outside the two-digit window, accepted as opened")
        << "1950-05-15 13:45:30" << int(Qt::Key_Return) << "1950-05-15 13:45:30";
    QTest::newRow("a year outside the two-digit window, next day")
        << "1950-05-15 13:45:30" << int(Qt::Key_Right) << "1950-05-16 13:45:30";
    QTest::newRow("milliseconds survive another day")
        << "2024-05-15 13:45:30.250" << int(Qt::Key_Right) << "2024-05-16 13:45:30.250";
}

void TstGridCalendar::anUntouchedCellOpensOnTheStoredValue()
{
    QFETCH(QString, storedBefore);
    QFETCH(int, key);
    QFETCH(QString, storedAfter);
    TCalendarFixture f;
    TFormatSettings settings = TFormatSettings::Invariant();
    settings.ShortDateFormat = QStringLiteral("M/d/yy");
    TFormatSettings::SetDefault(settings);
    f.Items.Table.Close();
    f.Items.Db.ExecSQL(QStringLiteral("UPDATE items SET due = ? WHERE id = 1"), {TVariant(storedBefore)});
    f.Items.Table.Open();
    QVERIFY(f.Open());
    TOrvoDBPopupCalendar* calendar = f.OpenCalendar();
    QVERIFY(calendar);
    QCOMPARE(calendar->CurrentCellDate().ToQDate().year(), storedBefore.left(4).toInt());
    if (key != Qt::Key_Return)
        f.Key(Qt::Key(key));
    f.Key(Qt::Key_Return);
    f.Post();
    QCOMPARE(StoredDue(f.Items, 1), storedAfter);
}

QTEST_MAIN(TstGridCalendar)
#include "tst_gridcalendar.moc"
