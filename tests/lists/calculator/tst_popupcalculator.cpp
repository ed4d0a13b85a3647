#include "common/tsystemprofilescope.h"
#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/common/gridtestwidgets.h"
#include "grid/common/tgridsettingsguard.h"
#include "lists/calculator/tcalculatorarithmetic.h"
#include "lists/calculator/torvodbdisplaydata.h"
#include "lists/calculator/torvodbpopupcalculator.h"
#include "lists/popup/tlistbutton.h"
#include "platform/data/tfield.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

using namespace orvo;
using orvo::test::TGridSettingsGuard;
using orvo::test::TSystemProfileScope;

namespace {

/// A shown calculator that counts its beeps and its requests to close.
struct TShownCalculator
{
    TShownCalculator() : List(nullptr, [this](bool accept) { accept ? ++Accepts : ++Cancels; })
    {
        List.SetBeep([this] { ++Beeps; });
    }
    bool Show() { return orvo::test::ShowExposed(List, List.width(), List.height()); }

    /// Types a line of keys: single characters as typed, "Del", "F9", "Esc", "Back",
    /// "Ins", "Enter" as those keys, with "^" for Ctrl and "+" for Shift in front.
    void Type(const QString& keys)
    {
        static const QHash<QString, Qt::Key> named = {
            {QStringLiteral("Del"), Qt::Key_Delete}, {QStringLiteral("F9"), Qt::Key_F9},
            {QStringLiteral("Esc"), Qt::Key_Escape}, {QStringLiteral("Back"), Qt::Key_Backspace},
            {QStringLiteral("Ins"), Qt::Key_Insert}, {QStringLiteral("Enter"), Qt::Key_Return},
            {QStringLiteral("L"), Qt::Key_L},        {QStringLiteral("P"), Qt::Key_P},
            {QStringLiteral("R"), Qt::Key_R},        {QStringLiteral("S"), Qt::Key_S},
            {QStringLiteral("V"), Qt::Key_V}};
        for (QString key : keys.split(u' ', Qt::SkipEmptyParts)) {
            Qt::KeyboardModifiers modifiers;
            if (key.size() > 1 && key.startsWith(u'^')) {
                modifiers |= Qt::ControlModifier;
                key.remove(0, 1);
            } else if (key.size() > 1 && key.startsWith(u'+')) {
                modifiers |= Qt::ShiftModifier;
                key.remove(0, 1);
            }
            if (modifiers != Qt::NoModifier || key.size() > 1)
                QTest::keyClick(&List, named.value(key), modifiers);
            else
                QTest::keyClick(&List, key.at(0).toLatin1());
        }
    }

    TOrvoDBPopupCalculator List;
    int Beeps = 0;
    int Accepts = 0;
    int Cancels = 0;
};

} // namespace

class TPopupCalculatorTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { TFormatSettings::SetDefault(TFormatSettings::Invariant()); }

    void typedKeysRunTheirOperations_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("display");
        QTest::addColumn<int>("beeps");
        QTest::newRow("digits and operators") << "1 2 + 3 ="
                                              << "15" << 0;
        QTest::newRow("* and /") << "6 * 7 / 2 ="
                                 << "21" << 0;
        QTest::newRow("- and %") << "2 0 0 - 1 0 %"
                                 << "20" << 0;
        QTest::newRow("point and comma type the separator") << "1 . 5 + , 5 ="
                                                            << "2" << 0;
        QTest::newRow("@ is the square root") << "9 @"
                                              << "3" << 0;
        QTest::newRow("r and R are the reciprocal") << "4 r R"
                                                    << "4" << 0;
        QTest::newRow("_ changes the sign") << "7 _"
                                            << "-7" << 0;
        QTest::newRow("F9 changes the sign") << "7 F9"
                                             << "-7" << 0;
        QTest::newRow("Shift+F9 does nothing") << "7 +F9"
                                               << "7" << 0;
        QTest::newRow("Backspace") << "1 2 Back"
                                   << "1" << 0;
        QTest::newRow("Delete clears the entry") << "2 + 3 Del 4 ="
                                                 << "6" << 0;
        QTest::newRow("Shift+Delete does nothing") << "1 2 +Del"
                                                   << "12" << 0;
        QTest::newRow("Ctrl+Backspace clears the entry") << "2 + 3 ^Back 4 ="
                                                         << "6" << 0;
        QTest::newRow("Escape clears all") << "2 + 3 Esc 4 ="
                                           << "4" << 0;
        QTest::newRow("Ctrl+S Escape Ctrl+R recalls") << "4 ^S Esc ^R"
                                                      << "4" << 0;
        QTest::newRow("Ctrl+R is no reciprocal") << "4 ^S 2 ^R"
                                                 << "4" << 0;
        QTest::newRow("Ctrl+P adds to memory") << "4 ^S 1 ^P ^R"
                                               << "5" << 0;
        QTest::newRow("Ctrl+L clears memory") << "4 ^S ^L ^R"
                                              << "0" << 0;
        QTest::newRow("letters do nothing") << "5 a x"
                                            << "5" << 0;
    }
    void typedKeysRunTheirOperations()
    {
        QFETCH(QString, keys);
        QFETCH(QString, display);
        QFETCH(int, beeps);
        TShownCalculator c;
        QVERIFY(c.Show());
        c.Type(keys);
        QCOMPARE(c.List.DisplayText(), display);
        QCOMPARE(c.Beeps, beeps);
        // The display row shows what the calculator holds.
        QCOMPARE(c.List.Display()->FieldByName(QStringLiteral("DisplayText"))->AsString(), display);
    }

    void ctrlEnterAsksToCloseAccepting()
    {
        TShownCalculator c;
        QVERIFY(c.Show());
        c.Type(QStringLiteral("3 + 4 ^Enter"));
        QCOMPARE(c.Accepts, 1);
        QCOMPARE(c.Cancels, 0);
        QCOMPARE(c.List.ListValue(), QStringLiteral("7"));
    }

    void clickedButtonsRunTheirKeys_data()
    {
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QString>("display");
        QTest::newRow("2+3=") << QStringList{"2", "+", "3", "="} << "5";
        QTest::newRow("every digit") << QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "0"}
                                     << "1234567890";
        QTest::newRow("separator and sign") << QStringList{"0", ".", "5", "+/-"} << "-0.5";
        QTest::newRow("functions") << QStringList{"1", "6", "sqrt", "1/x"} << "0.25";
        QTest::newRow("percent") << QStringList{"5", "0", "*", "1", "0", "%"} << "5";
        QTest::newRow("minus and divide") << QStringList{"9", "-", "3", "/", "2", "="} << "3";
        QTest::newRow("memory") << QStringList{"8", "MS", "C", "1", "M+", "MR"} << "9";
        QTest::newRow("memory clear") << QStringList{"8", "MS", "MC", "MR"} << "0";
        QTest::newRow("back and clear entry")
            << QStringList{"2", "+", "3", "4", "Back", "CE", "5", "="} << "7";
    }
    void clickedButtonsRunTheirKeys()
    {
        QFETCH(QStringList, captions);
        QFETCH(QString, display);
        TShownCalculator c;
        QVERIFY(c.Show());
        // The decimal key shows the invariant locale's point.
        for (const QString& caption : captions) {
            TListButton* button = nullptr;
            for (TListButton* candidate : c.List.Buttons())
                if (candidate->text() == caption)
                    button = candidate;
            QVERIFY2(button, qPrintable(caption));
            QTest::mouseClick(button, Qt::LeftButton);
        }
        QCOMPARE(c.List.DisplayText(), display);
        QCOMPARE(c.Beeps, 0);
    }

    void theOkButtonAsksToCloseAccepting()
    {
        TShownCalculator c;
        QVERIFY(c.Show());
        QTest::mouseClick(c.List.ButtonOfCode(ckOK), Qt::LeftButton);
        QCOMPARE(c.Accepts, 1);
    }

    void theKeypadFollowsItsTable_data()
    {
        QTest::addColumn<QChar>("separator");
        QTest::newRow("decimal point") << QChar(u'.');
        QTest::newRow("decimal comma") << QChar(u',');
    }
    void theKeypadFollowsItsTable()
    {
        TGridSettingsGuard guard;
        QFETCH(QChar, separator);
        TFormatSettings settings = TFormatSettings::Invariant();
        settings.DecimalSeparator = separator;
        TFormatSettings::SetDefault(settings);
        TOrvoDBPopupCalculator list;
        QCOMPARE(list.size(), QSize(207, 153));
        QStringList captions;
        for (const TListButton* button : list.Buttons())
            captions << button->text();
        QCOMPARE(
            captions,
            (QStringList{
                "OK", "Back", "CE", "C",  "MC", "7", "8", "9", "/",   "sqrt", "MR", "4",   "5",
                "6",  "*",    "%",  "MS", "1",  "2", "3", "-", "1/x", "M+",   "0",  "+/-", QString(separator),
                "+",  "="}));
        // Tag = colour (0 blue, 1 red, 2 black) * 256 + code; places as in the design, whose
        // client height is 151 inside the border.
        struct TKey
        {
            const char* Caption;
            int Tag;
            QColor Colour;
            QRect Place;
        };
        const TKey keys[] = {
            {"OK", 2 * 256 + 10, Qt::black, {5, 25, 30, 22}}, {"Back", 256 + 8, Qt::red, {41, 25, 50, 22}},
            {"C", 256 + 27, Qt::red, {149, 25, 50, 22}},      {"sqrt", 64, Qt::blue, {169, 51, 30, 22}},
            {"MR", 256 + 18, Qt::red, {5, 75, 30, 22}},       {"1/x", 82, Qt::blue, {169, 99, 30, 22}},
            {"+/-", 95, Qt::blue, {73, 123, 30, 22}},         {"=", 256 + 61, Qt::red, {169, 123, 30, 22}}};
        for (const TKey& key : keys) {
            const TListButton* button = list.Buttons().at(size_t(captions.indexOf(key.Caption)));
            QCOMPARE(button->property("Tag").toInt(), key.Tag);
            QCOMPARE(button->palette().color(QPalette::ButtonText), key.Colour);
            QCOMPARE(button->geometry(), key.Place);
        }
        const TListButton* separatorKey = list.ButtonOfCode(',');
        QCOMPARE(separatorKey->text(), QString(separator));
        QCOMPARE(separatorKey->property("Tag").toInt(), 44);
    }

    void theDisplayRowAndTheKeypadFillTheList_data()
    {
        QTest::addColumn<int>("extraHeight");
        QTest::addColumn<bool>("themes");
        QTest::newRow("the design's size") << 0 << true;
        QTest::newRow("taller") << 30 << true;
        QTest::newRow("shorter") << -6 << true;
        QTest::newRow("classic") << 0 << false;
        QTest::newRow("classic and taller") << 30 << false;
    }
    void theDisplayRowAndTheKeypadFillTheList()
    {
        QFETCH(int, extraHeight);
        QFETCH(bool, themes);
        TSystemProfileScope profile(TSystemProfileScope::WithThemes(themes));
        TShownCalculator c;
        c.List.resize(c.List.width(), c.List.height() + extraHeight);
        c.List.AdjustListSize();
        QVERIFY(c.Show());
        TOrvoDBPopupCalculator& list = c.List;
        // The display row, then the keypad's footer; a blank row between them takes no room.
        QCOMPARE(list.BottomRowKind(list.BottomRowCount() - 1), brTotalFooter);
        int rows = 0;
        for (int row = 0; row < list.RowCount(); ++row)
            rows += list.RowHeights(row) >= 0 ? list.RowHeights(row) + list.HorzLineWidth() : 0;
        // Font heights step unevenly, so the fit may miss by the one pixel of a line.
        QVERIFY2(std::abs(rows - list.viewport()->height()) <= 1,
                 qPrintable(QStringLiteral("%1 rows in %2").arg(rows).arg(list.viewport()->height())));
        QVERIFY(list.RowHeights(list.RowCount() - 1) > 3 * list.RowHeights(0));
        // Themed fixed cells draw the column's right line inside the list.
        QCOMPARE(list.Columns()->Items(0)->WidthBase(), list.viewport()->width() - (themes ? 1 : 0));
        // The keys keep their distance to the bottom edge.
        QCOMPARE(list.Buttons().back()->geometry().bottom(), list.viewport()->height() - 7);
        QVERIFY(list.Buttons().front()->y() > list.RowHeights(0) - 4);
    }

    void aLargerFontScalesTheListAndItsKeys()
    {
        TShownCalculator c;
        QVERIFY(c.Show());
        TOrvoDBPopupCalculator& list = c.List;
        const QSize before = list.size();
        const int lineBefore = QFontMetrics(list.font()).height();
        QFont larger = list.font();
        larger.setPixelSize(QFontInfo(list.font()).pixelSize() * 2);
        list.setFont(larger);
        const double factor = double(QFontMetrics(list.font()).height()) / lineBefore;
        QVERIFY(factor > 1.5);
        QCOMPARE(list.width(), int(std::lround(before.width() * factor)));
        QCOMPARE(list.height(), int(std::lround(before.height() * factor)));
        const TListButton* equals = list.ButtonOfCode(ckEvaluate);
        QCOMPARE(equals->font(), list.font());
        QCOMPARE(equals->palette().color(QPalette::ButtonText), QColor(Qt::red));
        QCOMPARE(list.ButtonOfCode('7')->palette().color(QPalette::ButtonText), QColor(Qt::blue));
        QCOMPARE(equals->width(), int(std::lround(30 * factor)));
    }

    void pastingTakesTheClipboardsNumber_data()
    {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("display");
        QTest::addColumn<int>("beeps");
        QTest::newRow("Ctrl+V") << "12.5"
                                << "7 ^V"
                                << "12.5" << 0;
        QTest::newRow("Shift+Insert") << "12.5"
                                      << "7 +Ins"
                                      << "12.5" << 0;
        QTest::newRow("a copied line") << "-3\n"
                                       << "^V * 2 ="
                                       << "-6" << 0;
        QTest::newRow("not a number") << "twelve"
                                      << "7 ^V"
                                      << "7" << 1;
        QTest::newRow("nothing") << ""
                                 << "7 ^V"
                                 << "7" << 1;
    }
    void pastingTakesTheClipboardsNumber()
    {
        QFETCH(QString, clipboard);
        QFETCH(QString, keys);
        QFETCH(QString, display);
        QFETCH(int, beeps);
        QGuiApplication::clipboard()->setText(clipboard);
        TShownCalculator c;
        QVERIFY(c.Show());
        c.Type(keys);
        QCOMPARE(c.List.DisplayText(), display);
        QCOMPARE(c.Beeps, beeps);
    }

    void theListShowsOnlyTheDisplayRow()
    {
        TOrvoDBPopupCalculator list;
        QCOMPARE(list.Display()->RecordCount(), 1);
        QCOMPARE(list.DisplayText(), QStringLiteral("0"));
        QCOMPARE(list.Columns()->Count(), 1);
        const TOrvoColumn* column = list.Columns()->Items(0);
        QCOMPARE(column->FieldName(), QStringLiteral("DisplayText"));
        QCOMPARE(column->Alignment(), taRightJustify);
        QVERIFY(!list.Options().Contains(dgEditing));
        QVERIFY(!list.Options().Contains(dgTitles));
        QVERIFY(!list.Options().Contains(dgIndicator));
        QVERIFY(list.Options().Contains(dgRowSelect));
        QVERIFY(list.OptionsEx().Contains(dgTotalFooter));
        QCOMPARE(list.ScrollBars(), ssNone);
        QVERIFY(list.ParentFont());
    }
};

QTEST_MAIN(TPopupCalculatorTest)
#include "tst_popupcalculator.moc"
