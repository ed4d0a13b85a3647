#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvocolumnreport.h"
#include "grid/columns/torvocolumntitle.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/common/gridtestwidgets.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "grid/totals/torvocolumntotalfooter.h"
#include "grid/totals/torvocolumntotalvalue.h"
#include "grid/totals/torvocolumntotalvalues.h"
#include "platform/core/exceptions.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace orvo;

namespace {

/// Three customized columns with titles, totals, report settings and two sort markers.
void Customize(TOrvoDBGrid& grid)
{
    TOrvoDBGridColumns& columns = *grid.Columns();
    TOrvoColumn* name = columns.Add();
    name->SetFieldName(QStringLiteral("name"));
    name->SetWidth(120);
    name->SetColor(clYellow);
    name->SetPickList({QStringLiteral("Ann"), QStringLiteral("O'Neil")});
    name->SetListOptions({loAutoComplete, loMultiSelectList});
    name->SetVAlignment(tvTopJustify);
    name->Title()->SetCaption(QStringLiteral("Name\nof customer"));
    name->Title()->SetHeader(QStringLiteral("Person|Ident"));
    name->Title()->SetMarkerIndex(3);
    TFont titleFont = name->Title()->Font();
    titleFont.SetStyle({fsItalic});
    titleFont.SetColor(clMaroon);
    name->Title()->SetFont(titleFont);

    TOrvoColumn* amount = columns.Add();
    amount->SetFieldName(QStringLiteral("amount"));
    amount->SetAlignment(taRightJustify);
    amount->SetVisible(false);
    amount->SetCheckBoxValues(QStringLiteral("Y;N"));
    amount->Title()->SetCaption(QStringLiteral("Betrag €"));
    amount->Title()->SetMarkerIndex(4);
    amount->Report()->SetTotalType(ttSum);
    amount->Report()->SetTotalMask(QStringLiteral("#,##0.00"));
    amount->TotalFooter()->SetCaption(QStringLiteral("Sum"));
    amount->TotalFooter()->SetCalcValue(cvSum);
    TOrvoColumnTotalValue* extra = amount->TotalValues()->Add();
    extra->SetCaption(QStringLiteral("Max"));
    extra->SetCalcValue(cvMax);

    TOrvoColumn* flag = columns.Add();
    flag->SetFieldName(QStringLiteral("flag"));
    flag->SetCheckBox(true);
    flag->SetDialogOptions({doItemEnabled});
    flag->SetExpandCols(0);
    grid.SetOrderFields(QStringLiteral("name DESC,amount"));
}

QByteArray Save(const TOrvoDBGrid& grid)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    grid.Columns()->SaveToStream(buffer);
    return buffer.data();
}

void Load(TOrvoDBGrid& grid, const QByteArray& text)
{
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    grid.Columns()->LoadFromStream(buffer);
}

/// A program's own column class, with a property of its own, made by its own grid class.
class TRatedColumn : public TOrvoColumn
{
    Q_OBJECT
    Q_PROPERTY(int Rating READ Rating WRITE SetRating)

public:
    int Rating() const { return FRating; }
    void SetRating(int value) { FRating = value; }
    void Assign(const TPersistent* source) override
    {
        TOrvoColumn::Assign(source);
        if (const auto* rated = qobject_cast<const TRatedColumn*>(source))
            FRating = rated->FRating;
    }

private:
    int FRating = 0;
};

class TRatedColumns : public TOrvoDBGridColumns
{
public:
    using TOrvoDBGridColumns::TOrvoDBGridColumns;

protected:
    TCollectionItem* CreateItem() override { return new TRatedColumn(); }
};

class TRatedGrid : public TOrvoDBGrid
{
public:
    TRatedGrid() : TOrvoDBGrid(nullptr, TDeferredParts()) { CreateParts(); }

protected:
    TOrvoDBGridColumns* CreateColumns() override { return new TRatedColumns(this); }
};

} // namespace

class TestGridColumnStream : public QObject
{
    Q_OBJECT

private slots:
    void columnsRoundTripWithTitlesTotalsAndOrder();
    void badStreamsLeaveTheColumnsAsTheyWere_data();
    void badStreamsLeaveTheColumnsAsTheyWere();
    void filesAreWrittenWhole();
    void columnsOfAProgramsOwnClassKeepTheirProperties();
    void widthsSurviveTheRoundTrip_data();
    void widthsSurviveTheRoundTrip();
};

void TestGridColumnStream::columnsRoundTripWithTitlesTotalsAndOrder()
{
    TOrvoDBGrid original;
    Customize(original);
    const QByteArray text = Save(original);
    QVERIFY2(text.startsWith("object ColumnsWrapper: TOrvoColumnsWrapper\n"), text.constData());
    QVERIFY2(text.contains("  OrderFields = 'name DESC,amount'\n"), text.constData());

    TOrvoDBGrid copy;
    copy.Columns()->Add()->SetFieldName(QStringLiteral("replaced"));
    Load(copy, text);
    TOrvoDBGridColumns& columns = *copy.Columns();
    QCOMPARE(columns.Count(), 3);
    QCOMPARE(columns.State(), csCustomized);
    QCOMPARE(copy.OrderFields(), QStringLiteral("name DESC,amount"));

    const TOrvoColumn* name = columns.Items(0);
    QCOMPARE(name->FieldName(), QStringLiteral("name"));
    QCOMPARE(name->Width(), 120);
    QCOMPARE(name->Color(), clYellow);
    QCOMPARE(name->PickList(), (QStringList{QStringLiteral("Ann"), QStringLiteral("O'Neil")}));
    QCOMPARE(name->ListOptions(), (TOrvoListOptions{loAutoComplete, loMultiSelectList}));
    QCOMPARE(name->VAlignment(), tvTopJustify);
    QCOMPARE(name->Title()->Caption(), QStringLiteral("Name\nof customer"));
    QCOMPARE(name->Title()->Header(), QStringLiteral("Person|Ident"));
    QCOMPARE(name->Title()->Font().Style(), TFontStyles{fsItalic});
    QCOMPARE(name->Title()->Font().Color(), clMaroon);
    QVERIFY(name->IsFontStored() == original.Columns()->Items(0)->IsFontStored());

    const TOrvoColumn* amount = columns.Items(1);
    QCOMPARE(amount->Alignment(), taRightJustify);
    QVERIFY(!amount->Visible());
    QCOMPARE(amount->CheckBoxValues(), QStringLiteral("Y;N"));
    QCOMPARE(amount->Title()->Caption(), QStringLiteral("Betrag €"));
    QCOMPARE(amount->Report()->TotalType(), ttSum);
    QCOMPARE(amount->Report()->TotalMask(), QStringLiteral("#,##0.00"));
    QCOMPARE(amount->TotalFooter()->Caption(), QStringLiteral("Sum"));
    QCOMPARE(amount->TotalFooter()->CalcValue(), cvSum);
    QCOMPARE(amount->TotalValues()->Count(), 1);
    QCOMPARE(amount->TotalValues()->Items(0)->Caption(), QStringLiteral("Max"));
    QCOMPARE(amount->TotalValues()->Items(0)->CalcValue(), cvMax);

    const TOrvoColumn* flag = columns.Items(2);
    QVERIFY(flag->CheckBox());
    QCOMPARE(flag->DialogOptions(), TDialogOptions{doItemEnabled});
    QVERIFY(!flag->IsWidthStored());

    // The markers come back with the titles, and the order list follows their positions.
    QCOMPARE(columns.OrderList().size(), 2);
    QCOMPARE(columns.OrderList().at(0).data(), name);
    QCOMPARE(columns.OrderList().at(1).data(), amount);

    // What was read writes the same text again.
    QCOMPARE(Save(copy), text);
}

void TestGridColumnStream::badStreamsLeaveTheColumnsAsTheyWere_data()
{
    TOrvoDBGrid grid;
    Customize(grid);
    const QByteArray good = Save(grid);
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("truncated") << good.left(good.indexOf('\n', good.size() / 2) + 1) << "the form ends";
    QTest::newRow("cut mid-word") << good.left(good.size() / 2) << "Line ";
    QTest::newRow("unknown property") << QByteArray(good).replace("FieldName = 'flag'", "FieldNam = 'flag'")
                                      << "TOrvoColumn has no property";
    QTest::newRow("wrong type") << QByteArray(good).replace("Width = 120", "Width = 'wide'")
                                << "property 'Width' expects an integer";
    QTest::newRow("bad enumeration name")
        << QByteArray(good).replace("tvTopJustify", "tvMiddle") << "'tvMiddle' is not a value of TVAlignment";
    QTest::newRow("bad set member") << QByteArray(good).replace("loMultiSelectList", "loEverything")
                                    << "'loEverything' is not a value of TOrvoListOption";
    QTest::newRow("bad nested total") << QByteArray(good).replace("CalcValue = cvMax", "CalcValue = 5")
                                      << "property 'CalcValue' expects a value of TCalcValue";
    QTest::newRow("another class") << QByteArray(good).replace("TOrvoColumnsWrapper", "TOrvoDBGrid")
                                   << "an object of class TOrvoColumnsWrapper was expected";
}

void TestGridColumnStream::badStreamsLeaveTheColumnsAsTheyWere()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, message);
    TOrvoDBGrid grid;
    TOrvoColumn* kept = grid.Columns()->Add();
    kept->SetFieldName(QStringLiteral("kept"));
    kept->Title()->SetCaption(QStringLiteral("kept"));
    kept->Title()->SetMarkerIndex(2);
    grid.SetOrderFields(QStringLiteral("kept"));
    try {
        Load(grid, text);
        QFAIL("no error raised");
    } catch (const EStreamError& e) {
        QVERIFY2(e.Message().startsWith(QStringLiteral("Line ")), qPrintable(e.Message()));
        QVERIFY2(e.Message().contains(message), qPrintable(e.Message()));
    }
    QCOMPARE(test::ColumnCaptions(*grid.Columns()), QStringList{QStringLiteral("kept")});
    QCOMPARE(grid.Columns()->Items(0), kept);
    QCOMPARE(grid.Columns()->OrderList().size(), 1);
    QCOMPARE(grid.OrderFields(), QStringLiteral("kept"));
}

void TestGridColumnStream::filesAreWrittenWhole()
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("layout.clm"));
    TOrvoDBGrid original;
    Customize(original);
    original.Columns()->SaveToFile(fileName);
    TOrvoDBGrid copy;
    copy.Columns()->LoadFromFile(fileName);
    QCOMPARE(test::ColumnCaptions(*copy.Columns()), test::ColumnCaptions(*original.Columns()));

    QVERIFY_THROWS_EXCEPTION(EStreamError,
                             copy.Columns()->LoadFromFile(dir.filePath(QStringLiteral("none.clm"))));
    const QString unwritable = dir.filePath(QStringLiteral("missing/layout.clm"));
    QVERIFY_THROWS_EXCEPTION(EStreamError, original.Columns()->SaveToFile(unwritable));
    QVERIFY(QDir(dir.path()).entryList(QDir::Files) == QStringList{QStringLiteral("layout.clm")});
    QCOMPARE(test::ColumnCaptions(*copy.Columns()), test::ColumnCaptions(*original.Columns()));
}

QTEST_MAIN(TestGridColumnStream)
void TestGridColumnStream::columnsOfAProgramsOwnClassKeepTheirProperties()
{
    TRatedGrid source;
    auto* rated = qobject_cast<TRatedColumn*>(source.Columns()->Add());
    QVERIFY(rated);
    rated->SetFieldName(QStringLiteral("name"));
    rated->SetRating(4);
    const QByteArray text = Save(source);
    QVERIFY2(text.contains("Rating = 4"), text.constData());

    TRatedGrid target;
    Load(target, text);
    QCOMPARE(target.Columns()->Count(), 1);
    auto* loaded = qobject_cast<TRatedColumn*>(target.Columns()->Items(0));
    QVERIFY(loaded);
    QCOMPARE(loaded->Rating(), 4);
    QCOMPARE(loaded->FieldName(), QStringLiteral("name"));
}

void TestGridColumnStream::widthsSurviveTheRoundTrip_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("collapsedParent");
    QTest::newRow("hidden") << 120 << false << false;
    QTest::newRow("collapsed under its parent") << 120 << true << true;
    QTest::newRow("exactly the grid-less default") << int(TOrvoColumn::NoGridWidth) << true << false;
    QTest::newRow("hidden at the grid-less default") << int(TOrvoColumn::NoGridWidth) << false << false;
}

// A column not shown reads a negative width, and a detached collection measures every width
// as the grid-less default: neither may cost a column the width it was saved with.
void TestGridColumnStream::widthsSurviveTheRoundTrip()
{
    QFETCH(int, width);
    QFETCH(bool, visible);
    QFETCH(bool, collapsedParent);
    TOrvoDBGrid original;
    TOrvoColumn* parent = original.Columns()->Add();
    parent->SetExpandCols(1);
    TOrvoColumn* column = original.Columns()->Add();
    column->SetWidth(width + 1); // assigned first: a width equal to the default is kept only then
    column->SetWidth(width);
    column->SetVisible(visible);
    parent->SetExpanded(!collapsedParent);
    QCOMPARE(column->IsShown(), visible && !collapsedParent);
    const QByteArray text = Save(original);
    QVERIFY2(text.contains(QByteArray("Width = ") + QByteArray::number(width) + '\n'), text.constData());
    QVERIFY2(!text.contains("Width = -"), text.constData());

    TOrvoDBGrid copy;
    copy.SetDefaultColWidth(90); // so that a lost width would read differently
    Load(copy, text);
    TOrvoColumn* loaded = copy.Columns()->Items(1);
    QVERIFY(loaded->IsWidthStored());
    QCOMPARE(loaded->WidthBase(), width);
    QCOMPARE(loaded->Visible(), visible);
    copy.Columns()->Items(0)->SetExpanded(true);
    loaded->SetVisible(true);
    QCOMPARE(loaded->Width(), width);
}

#include "tst_grid_columnstream.moc"
