// The first demo's form over a fresh sample database: its datasets, the fields it
// calculates, new customer numbers and the size it opens at.

#include "torvoform1.h"

#include "controls/torvopanel.h"
#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvocolumntitle.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "grid/dbgrid/torvogriddatalink.h"
#include "platform/data/tfield.h"
#include "platform/data/tfields.h"
#include "platform/sqlite/tsqlitedatabase.h"
#include "platform/sqlite/tsqlitequery.h"
#include "sampledb/tsampledatabase.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace orvo;

namespace {

QString Value(TDataSet* dataSet, const QString& fieldName)
{
    return dataSet->FieldByName(fieldName)->AsString();
}

} // namespace

class TestDemo1Form : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FDir;
    QString FPath;
    int FRun = 0;

    std::unique_ptr<TOrvoForm1> MakeForm(int screenWidth = 1280)
    {
        return std::make_unique<TOrvoForm1>(FPath, screenWidth);
    }

    double StoredMaxCustNo()
    {
        TSQLiteDatabase db;
        db.SetDatabaseName(FPath);
        db.Open();
        return db.ExecScalar(QStringLiteral("SELECT Max(CustNo) FROM Customer")).AsFloat();
    }

private slots:
    void initTestCase()
    {
        // The grid saves its layout when it goes; keep that out of the user's settings.
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(FDir.isValid());
    }

    void init()
    {
        // A database of its own for every test row, so that no row sees another's inserts.
        FPath = FDir.filePath(QStringLiteral("samples-%1.db").arg(++FRun));
        QVERIFY(TSampleDatabase::EnsureSampleDatabase(FPath));
    }

    void datasetsOpenOnAFreshSampleDatabase()
    {
        const auto form = MakeForm();
        TSQLiteQuery* customer = form->Customer();
        QVERIFY(customer->Active());
        QVERIFY(form->Company()->Active());
        QVERIFY(!form->Country()->Active());
        QCOMPARE(customer->RecordCount(), TSampleDatabase::CustomerCount);
        QVERIFY(!customer->Filtered());
        QCOMPARE(customer->Filter(), QStringLiteral("Country='US'"));

        QStringList names;
        for (int i = 0; i < customer->Fields()->Count(); ++i)
            names << customer->Fields()->Field(i)->FieldName();
        QCOMPARE(names, QStringList({"CustNo", "Company", "CompanyLookup", "CompanyLocation", "Country",
                                     "State", "PostalAddress", "Zip", "City", "Addr1", "Addr2", "TaxRate",
                                     "ContactPerson", "Contact", "Phone", "FAX", "LastInvoiceDate"}));
        // Sorted by country descending: the US customers come first.
        QCOMPARE(Value(customer, QStringLiteral("Country")), QStringLiteral("US"));
        // The lookup field finds the company through the Company query.
        QCOMPARE(Value(customer, QStringLiteral("CompanyLookup")),
                 Value(customer, QStringLiteral("Company")));

        TOrvoDBGrid* grid = form->CustomerDBGrid();
        QCOMPARE(grid->Columns()->Count(), 18);
        QCOMPARE(grid->Columns()->State(), csCustomized);
        QCOMPARE(grid->Columns()->Items(2)->Field(), customer->FieldByName(QStringLiteral("CustNo")));
        QCOMPARE(grid->Columns()->Items(17)->Title()->Caption(),
                 QStringLiteral("Last Invoice Date\n(calendar)"));
        QCOMPARE(grid->OrderFields(), QStringLiteral("Country DESC,State,City"));
    }

    void calculatedFields_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("US customer") << QStringLiteral("Country = 'US' AND City IS NOT NULL");
        QTest::newRow("customer abroad") << QStringLiteral("Country <> 'US' AND City IS NOT NULL");
        QTest::newRow("no city") << QStringLiteral("City IS NULL");
    }

    void calculatedFields()
    {
        QFETCH(QString, where);
        TSQLiteDatabase db;
        db.SetDatabaseName(FPath);
        db.Open();
        const TVariant custNo =
            db.ExecScalar(QStringLiteral("SELECT CustNo FROM Customer WHERE %1 ORDER BY CustNo").arg(where));
        QVERIFY(!custNo.IsNull());
        const auto column = [&](const char* name) {
            return db
                .ExecScalar(QStringLiteral("SELECT ifnull(%1, '') FROM Customer WHERE CustNo = ?")
                                .arg(QLatin1String(name)),
                            {custNo})
                .AsString();
        };

        const auto form = MakeForm();
        TSQLiteQuery* customer = form->Customer();
        QVERIFY(customer->Locate(QStringLiteral("CustNo"), custNo, {}));
        const QString country = column("Country");
        const QString state = column("State");
        // Abroad the state is empty and the country keeps its separating blank.
        QCOMPARE(Value(customer, QStringLiteral("CompanyLocation")), country + QLatin1Char(' ') + state);
        const QString city = column("City");
        const QString cityPart = city.isEmpty() ? QString() : city + QLatin1Char(' ');
        QCOMPARE(Value(customer, QStringLiteral("PostalAddress")),
                 cityPart + column("Zip") + QLatin1Char(' ') + column("Addr1"));
        QCOMPARE(Value(customer, QStringLiteral("ContactPerson")),
                 column("Phone") + QLatin1Char(' ') + column("Contact"));
        QVERIFY(state.isEmpty() == (country != QLatin1String("US")));
    }

    void insertedCustomerGetsTheNextNumber()
    {
        const double largest = StoredMaxCustNo();
        {
            const auto form = MakeForm();
            TSQLiteQuery* customer = form->Customer();
            for (int i = 1; i <= 2; ++i) {
                customer->Insert();
                customer->FieldByName(QStringLiteral("Company"))
                    ->SetAsString(QStringLiteral("New Shop %1").arg(i));
                customer->FieldByName(QStringLiteral("Country"))->SetAsString(QStringLiteral("Fiji"));
                customer->Post();
                QCOMPARE(customer->FieldByName(QStringLiteral("CustNo"))->AsFloat(), largest + i);
                QVERIFY(!customer->UpdatesPending());
            }
            QCOMPARE(customer->RecordCount(), TSampleDatabase::CustomerCount + 2);
        }
        QCOMPARE(StoredMaxCustNo(), largest + 2);

        const auto reopened = MakeForm();
        TSQLiteQuery* customer = reopened->Customer();
        QCOMPARE(customer->RecordCount(), TSampleDatabase::CustomerCount + 2);
        QVERIFY(customer->Locate(QStringLiteral("CustNo"), TVariant(largest + 1), {}));
        QCOMPARE(Value(customer, QStringLiteral("Company")), QStringLiteral("New Shop 1"));
        QCOMPARE(Value(customer, QStringLiteral("CompanyLookup")), QStringLiteral("New Shop 1"));

        // Deleting is written through at once as well.
        customer->Delete();
        QVERIFY(!customer->UpdatesPending());
        QCOMPARE(StoredMaxCustNo(), largest + 2);
        QCOMPARE(customer->RecordCount(), TSampleDatabase::CustomerCount + 1);
    }

    void formWidthFollowsTheScreen_data()
    {
        QTest::addColumn<int>("screenWidth");
        QTest::addColumn<int>("formWidth");
        QTest::newRow("1200") << 1200 << 1137;
        QTest::newRow("1137") << 1137 << 1137;
        QTest::newRow("1136") << 1136 << 1003;
        QTest::newRow("1024") << 1024 << 1003;
        QTest::newRow("1003") << 1003 << 1003;
        QTest::newRow("1002") << 1002 << 813;
        QTest::newRow("800") << 800 << 813;
    }

    void formWidthFollowsTheScreen()
    {
        QFETCH(int, screenWidth);
        QFETCH(int, formWidth);
        QCOMPARE(TOrvoForm1::FormWidthForScreen(screenWidth), formWidth);
        const auto form = MakeForm(screenWidth);
        QCOMPARE(form->frameGeometry().width(), formWidth + TOrvoForm1::ScrollBarAllowance(form.get()));
    }

    void tenDataRowsShowAtStart()
    {
        const auto form = MakeForm();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        TOrvoDBGrid* grid = form->CustomerDBGrid();
        QCOMPARE(grid->DataRowCount(), TOrvoForm1::StartRows);
        QCOMPARE(grid->DataLink()->RecordCount(), TOrvoForm1::StartRows);
        // The last data row ends inside the grid, above the bottom rows.
        const QRect lastRow = grid->CellRect(grid->IndicatorOffset(), grid->FirstBottomRow() - 1);
        QVERIFY(!lastRow.isEmpty());
        QVERIFY(lastRow.bottom() < grid->viewport()->height());
        QCOMPARE(form->StartStripeColor(), clDefault);
    }

    void gridOrderBecomesStoredFields_data()
    {
        QTest::addColumn<QString>("gridOrder");
        QTest::addColumn<QString>("dataSetOrder");
        QTest::newRow("stored fields stay") << "Country DESC,State,City"
                                            << "Country DESC,State,City";
        QTest::newRow("lookup") << "CompanyLookup DESC"
                                << "Company DESC";
        QTest::newRow("location") << "CompanyLocation"
                                  << "Country,State";
        QTest::newRow("location descending") << "CompanyLocation DESC,CustNo"
                                             << "Country DESC,State DESC,CustNo";
        QTest::newRow("address and contact") << "PostalAddress,ContactPerson DESC"
                                             << "City,Phone DESC";
        QTest::newRow("none") << ""
                              << "";
    }

    void gridOrderBecomesStoredFields()
    {
        QFETCH(QString, gridOrder);
        QFETCH(QString, dataSetOrder);
        QCOMPARE(TOrvoForm1::DataSetOrderFor(gridOrder), dataSetOrder);
    }

    void titleClicksSortTheCustomersInTheQuery()
    {
        const auto form = MakeForm();
        TOrvoDBGrid* grid = form->CustomerDBGrid();
        TSQLiteQuery* customer = form->Customer();
        const TVariant custNo = customer->FieldByName(QStringLiteral("CustNo"))->AsVariant();
        TOrvoColumnTitle* location = grid->ColumnByFieldName(QStringLiteral("CompanyLocation"))->Title();

        location->ToggleMarker(true);
        QCOMPARE(grid->OrderFields(), QStringLiteral("CompanyLocation"));
        QCOMPARE(customer->SQL(),
                 QStringList{QStringLiteral("SELECT * FROM Customer ORDER BY Country,State")});
        QVERIFY(customer->Active());
        QCOMPARE(form->ActionInfoPanel()->Caption(), QStringLiteral("OrderUpdated: CompanyLocation"));
        // KeyFields "CustNo" keeps the customer current.
        QCOMPARE(customer->FieldByName(QStringLiteral("CustNo"))->AsVariant(), custNo);

        location->ToggleMarker(true);
        QCOMPARE(customer->SQL(),
                 QStringList{QStringLiteral("SELECT * FROM Customer ORDER BY Country DESC,State DESC")});
        customer->First();
        TSQLiteDatabase db;
        db.SetDatabaseName(FPath);
        db.Open();
        QCOMPARE(Value(customer, QStringLiteral("Country")),
                 db.ExecScalar(QStringLiteral("SELECT Max(Country) FROM Customer")).AsString());
    }
};

QTEST_MAIN(TestDemo1Form)
#include "tst_demo1form.moc"
