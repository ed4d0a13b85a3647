#include "sampledb/tsampledatabase.h"

#include "sampledb/tpartialfile.h"
#include "sampledb/tsamplerandom.h"

#include "platform/core/exceptions.h"
#include "platform/core/tdatetime.h"
#include "platform/sqlite/tsqlitedatabase.h"
#include "platform/sqlite/tsqlitestatement.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <sqlite3.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <vector>

namespace orvo {

namespace {

// Separate seeds keep the small tables unchanged when the big generator changes.
constexpr quint64 SampleSeed = 0x4F72766F53616D70ull;
constexpr quint64 BigOrdersSeed = 0x4F72766F42696721ull;

// Invented words; combined at random they make names that belong to nobody.
constexpr std::array<const char*, 20> CompanyFirstWords = {
    "Blue",    "Coral",   "Harbor",  "Tidewater", "North Shore", "Sea Breeze", "Anchor",
    "Island",  "Reef",    "Beacon",  "Saltwater", "Driftwood",   "Sunrise",    "Pelican",
    "Dolphin", "Keelson", "Compass", "Seastar",   "Mariner's",   "Lagoon"};
constexpr std::array<const char*, 10> CompanyTrades = {"Dive", "Sailing", "Marine", "Scuba",   "Paddle",
                                                       "Boat", "Surf",    "Kayak",  "Snorkel", "Aqua"};
constexpr std::array<const char*, 10> CompanyEndings = {"Supply",  "Outfitters", "Shop", "Center", "Co.",
                                                        "Traders", "Works",      "Ltd.", "Club",   "Store"};
constexpr std::array<const char*, 16> StreetNames = {
    "Kestrel", "Juniper", "Harbor View", "Seagull", "Maple", "Cedar",  "Ocean", "Bayside",
    "Lantern", "Willow",  "Osprey",      "Marlin",  "Palm",  "Quarry", "Ridge", "Tern"};
constexpr std::array<const char*, 7> StreetKinds = {"St.", "Ave.", "Rd.", "Blvd.", "Dr.", "Way", "Lane"};
constexpr std::array<const char*, 18> FirstNames = {"Anna",  "Ben",  "Carla", "Dev",   "Elena", "Frank",
                                                    "Greta", "Hugo", "Ines",  "Jonas", "Kara",  "Liam",
                                                    "Mona",  "Nils", "Olga",  "Pete",  "Rosa",  "Sam"};
constexpr std::array<const char*, 18> LastNames = {
    "Albright", "Brenner",   "Castell", "Dunmore",  "Ellery",  "Fairlie", "Garrow", "Holloway", "Ingram",
    "Jessop",   "Kittredge", "Lorimer", "Marchant", "Northey", "Oakes",   "Pellow", "Quarles",  "Rundell"};

struct Place
{
    const char* City;
    const char* State;
};

struct Country
{
    const char* Name;
    std::span<const Place> Places;
    int Weight; // how many customers of a hundred come from here
};

constexpr std::array<Place, 12> UsPlaces = {{{"Bayport", "FL"},
                                             {"Cedar Falls", "IA"},
                                             {"Harbor City", "CA"},
                                             {"Kona Bay", "HI"},
                                             {"Marlin Key", "FL"},
                                             {"Port Alder", "WA"},
                                             {"Brookhaven", "NY"},
                                             {"Sandy Hook", "NJ"},
                                             {"Gull Point", "TX"},
                                             {"Lake Tahoma", "NV"},
                                             {"Eastwater", "MA"},
                                             {"Redfield", "OR"}}};
constexpr std::array<Place, 3> CanadaPlaces = {{{"Nanook Bay", ""}, {"Port Loris", ""}, {"Birchmouth", ""}}};
constexpr std::array<Place, 3> BahamasPlaces = {
    {{"Coral Town", ""}, {"Pinder Cay", ""}, {"Bell Harbour", ""}}};
constexpr std::array<Place, 2> JamaicaPlaces = {{{"Ocho Bay", ""}, {"Blue Lagoon", ""}}};
constexpr std::array<Place, 2> FijiPlaces = {{{"Savu Point", ""}, {"Nadi Cove", ""}}};
constexpr std::array<Place, 2> PortugalPlaces = {{{"Vila Mar", ""}, {"Porto Seco", ""}}};
constexpr std::array<Place, 2> GreecePlaces = {{{"Kalamaki", ""}, {"Agia Thalassa", ""}}};
constexpr std::array<Place, 2> SwedenPlaces = {{{"Strandvik", ""}, {"Bryggholm", ""}}};

constexpr std::array<Country, 8> Countries = {{{"US", UsPlaces, 52},
                                               {"Canada", CanadaPlaces, 10},
                                               {"Bahamas", BahamasPlaces, 8},
                                               {"Jamaica", JamaicaPlaces, 6},
                                               {"Fiji", FijiPlaces, 6},
                                               {"Portugal", PortugalPlaces, 6},
                                               {"Greece", GreecePlaces, 6},
                                               {"Sweden", SwedenPlaces, 6}}};

constexpr std::array<const char*, 5> ShipVias = {"UPS", "DHL", "FedEx", "Emery", "US Mail"};
constexpr std::array<const char*, 4> TermsList = {"Net 30", "FOB", "COD", "Net 60"};
constexpr std::array<const char*, 6> PaymentMethods = {"Cash", "Credit", "Check", "AmEx", "Visa", "COD"};

template <typename T, size_t N> const T& PickFrom(TSampleRandom& random, const std::array<T, N>& items)
{
    return random.Pick(std::span<const T>(items));
}

QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

TVariant NullOr(bool isNull, const TVariant& value)
{
    return isNull ? TVariant::Null() : value;
}

struct CustomerRow
{
    double CustNo = 0;
    QString Company;
    QString Addr1;
    TVariant Addr2;
    TVariant City;
    QString State;
    QString Zip;
    QString Country;
    QString Phone;
    TVariant Fax;
    double TaxRate = 0;
    QString Contact;
    TDateTime LastInvoiceDate;
};

struct OrderRow
{
    int OrderNo = 0;
    const CustomerRow* Customer = nullptr;
    TDateTime SaleDate;
    TVariant ShipDate;
    QString ShipVia;
    QString Terms;
    QString PaymentMethod;
    double ItemsTotal = 0;
    double Freight = 0;
    double AmountPaid = 0;
    TVariant ShipToContact;
    TVariant ShipToPhone;
};

const Country& PickCountry(TSampleRandom& random)
{
    int roll = random.Below(100);
    for (const Country& country : Countries) {
        if (roll < country.Weight)
            return country;
        roll -= country.Weight;
    }
    return Countries.front();
}

QString MakePhone(TSampleRandom& random)
{
    // 555-01xx numbers are reserved for fiction, so no real line is ever named.
    return QStringLiteral("%1-555-01%2")
        .arg(random.Between(201, 989))
        .arg(random.Below(100), 2, 10, QLatin1Char('0'));
}

QString MakeZip(TSampleRandom& random, bool inUs)
{
    if (inUs)
        return QStringLiteral("%1").arg(random.Between(1000, 99950), 5, 10, QLatin1Char('0'));
    return QStringLiteral("%1-%2").arg(QChar(u'A' + random.Below(26))).arg(random.Between(1000, 9999));
}

// Each word is drawn in its own statement: the order in which operands of one
// expression are evaluated is unspecified, and the data must not depend on the compiler.
QString JoinWords(std::initializer_list<QString> words)
{
    return QStringList(words).join(QLatin1Char(' '));
}

QString MakeContact(TSampleRandom& random)
{
    const QString first = Text(PickFrom(random, FirstNames));
    const QString last = Text(PickFrom(random, LastNames));
    return JoinWords({first, last});
}

QString MakeCompany(TSampleRandom& random, const QStringList& taken)
{
    for (;;) {
        const QString first = Text(PickFrom(random, CompanyFirstWords));
        const QString trade = Text(PickFrom(random, CompanyTrades));
        const QString ending = Text(PickFrom(random, CompanyEndings));
        const QString name = JoinWords({first, trade, ending});
        if (name.size() <= 30 && !taken.contains(name))
            return name;
    }
}

CustomerRow MakeCustomer(TSampleRandom& random, double custNo, const QStringList& takenCompanies)
{
    const Country& country = PickCountry(random);
    const Place& place = random.Pick(country.Places);
    const bool inUs = QLatin1String(country.Name) == QLatin1String("US");
    CustomerRow row;
    row.CustNo = custNo;
    row.Company = MakeCompany(random, takenCompanies);
    const QString number = QString::number(random.Between(1, 9899));
    const QString street = Text(PickFrom(random, StreetNames));
    const QString kind = Text(PickFrom(random, StreetKinds));
    row.Addr1 = JoinWords({number, street, kind});
    row.Addr2 = random.Chance(20) ? TVariant(QStringLiteral("Suite %1").arg(random.Between(100, 950)))
                                  : TVariant::Null();
    row.City = NullOr(random.Chance(8), Text(place.City));
    row.State = Text(place.State);
    row.Zip = MakeZip(random, inUs);
    row.Country = Text(country.Name);
    row.Phone = MakePhone(random);
    const bool noFax = random.Chance(25);
    row.Fax = NullOr(noFax, MakePhone(random));
    row.TaxRate = inUs ? random.Below(35) * 0.25 : 0.0;
    row.Contact = MakeContact(random);
    return row;
}

std::vector<CustomerRow> MakeCustomers(TSampleRandom& random)
{
    std::vector<CustomerRow> customers;
    QStringList companies;
    double custNo = TSampleDatabase::FirstCustNo;
    for (int i = 0; i < TSampleDatabase::CustomerCount; ++i) {
        customers.push_back(MakeCustomer(random, custNo, companies));
        companies << customers.back().Company;
        custNo += i == 0 ? 10 : 10 * random.Between(1, 4);
    }
    return customers;
}

double RoundCents(double value)
{
    return std::round(value * 100.0) / 100.0;
}

double MakeFreight(TSampleRandom& random)
{
    const int roll = random.Below(100);
    if (roll < 35)
        return 0.0;
    if (roll < 65)
        return 200.0;
    return random.Cents(5, 150);
}

double MakeAmountPaid(TSampleRandom& random, const OrderRow& order)
{
    const double due = RoundCents(order.ItemsTotal * (1.0 + order.Customer->TaxRate / 100.0) + order.Freight);
    const int roll = random.Below(100);
    if (roll < 12)
        return 0.0; // not paid yet
    if (roll < 20)
        return RoundCents(due / 2.0);
    return due;
}

OrderRow MakeOrder(TSampleRandom& random, int orderNo, const CustomerRow& customer, TDateTime saleDate)
{
    OrderRow order;
    order.OrderNo = orderNo;
    order.Customer = &customer;
    order.SaleDate = saleDate;
    // The most recent orders have not shipped yet.
    const bool shipped = orderNo < TSampleDatabase::FirstOrderNo + TSampleDatabase::OrderCount - 12;
    order.ShipDate = NullOr(!shipped, TDateTime(std::floor(saleDate.Value()) + random.Between(1, 14)));
    order.ShipVia = Text(PickFrom(random, ShipVias));
    order.Terms = Text(PickFrom(random, TermsList));
    order.PaymentMethod = Text(PickFrom(random, PaymentMethods));
    order.ItemsTotal = random.Chance(10) ? random.Cents(20000, 60000) : random.Cents(15, 9000);
    order.Freight = MakeFreight(random);
    order.AmountPaid = MakeAmountPaid(random, order);
    const bool shipsElsewhere = random.Chance(15);
    order.ShipToContact = NullOr(!shipsElsewhere, MakeContact(random));
    order.ShipToPhone = NullOr(!shipsElsewhere, MakePhone(random));
    return order;
}

TDateTime NextSaleDate(TSampleRandom& random, TDateTime previous)
{
    const double day = std::floor(previous.Value()) + random.Between(0, 4);
    // Whole minutes within business hours, so the stored text needs no seconds fraction.
    const int minute = random.Between(8 * 60, 18 * 60 - 1);
    return TDateTime(day + minute / (24.0 * 60.0));
}

std::vector<OrderRow> MakeOrders(TSampleRandom& random, std::vector<CustomerRow>& customers)
{
    std::vector<OrderRow> orders;
    TDateTime saleDate = TDateTime::EncodeDate(2021, 1, 4);
    for (int i = 0; i < TSampleDatabase::OrderCount; ++i) {
        saleDate = NextSaleDate(random, saleDate);
        CustomerRow& customer = customers[size_t(random.Below(int(customers.size())))];
        orders.push_back(MakeOrder(random, TSampleDatabase::FirstOrderNo + i, customer, saleDate));
        customer.LastInvoiceDate = saleDate; // orders come in date order, so this ends as the latest
    }
    return orders;
}

void GiveIdleCustomersAnInvoiceDate(TSampleRandom& random, std::vector<CustomerRow>& customers)
{
    // Customers without an order here last bought before the orders on file begin.
    const TDateTime before = TDateTime::EncodeDate(2020, 1, 6);
    for (CustomerRow& customer : customers) {
        if (customer.LastInvoiceDate.Value() == 0.0)
            customer.LastInvoiceDate = TDateTime(before.Value() + random.Between(0, 300) + 0.5);
    }
}

void CreateSchema(TSQLiteDatabase& db)
{
    db.ExecSQL(QStringLiteral(
        "CREATE TABLE Customer (CustNo REAL NOT NULL PRIMARY KEY, Company VARCHAR(30), Addr1 VARCHAR(30), "
        "Addr2 VARCHAR(30), City VARCHAR(15), State VARCHAR(20), Zip VARCHAR(10), Country VARCHAR(20), "
        "Phone VARCHAR(15), FAX VARCHAR(15), TaxRate REAL, Contact VARCHAR(20), LastInvoiceDate DATETIME);"
        "CREATE TABLE Orders (OrderNo INTEGER PRIMARY KEY, CustNo REAL NOT NULL, SaleDate DATETIME, "
        "ShipDate DATETIME, ShipVIA VARCHAR(7), Terms VARCHAR(6), PaymentMethod VARCHAR(7), "
        "ItemsTotal NUMERIC, TaxRate REAL, Freight NUMERIC, AmountPaid NUMERIC, ShipToContact VARCHAR(20), "
        "ShipToPhone VARCHAR(15));"
        "CREATE INDEX Orders_CustNo ON Orders (CustNo);"));
}

void Insert(TSQLiteStatement& statement, const std::vector<TVariant>& values)
{
    statement.BindAll(values);
    statement.Step();
    statement.Reset();
}

void InsertCustomers(TSQLiteDatabase& db, const std::vector<CustomerRow>& customers)
{
    TSQLiteStatement insert(db.CheckedHandle(),
                            QStringLiteral("INSERT INTO Customer VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    for (const CustomerRow& c : customers)
        Insert(insert, {c.CustNo, c.Company, c.Addr1, c.Addr2, c.City, c.State, c.Zip, c.Country, c.Phone,
                        c.Fax, c.TaxRate, c.Contact, c.LastInvoiceDate});
}

void InsertOrders(TSQLiteDatabase& db, const std::vector<OrderRow>& orders)
{
    TSQLiteStatement insert(db.CheckedHandle(),
                            QStringLiteral("INSERT INTO Orders VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    for (const OrderRow& o : orders)
        Insert(insert,
               {o.OrderNo, o.Customer->CustNo, o.SaleDate, o.ShipDate, o.ShipVia, o.Terms, o.PaymentMethod,
                o.ItemsTotal, o.Customer->TaxRate, o.Freight, o.AmountPaid, o.ShipToContact, o.ShipToPhone});
}

/// Runs `work` inside a transaction of its own, or inside the caller's when one is open.
template <typename F> void InTransaction(TSQLiteDatabase& db, F&& work)
{
    if (db.InTransaction()) {
        work();
        return;
    }
    db.StartTransaction();
    try {
        work();
        db.Commit();
    } catch (...) {
        db.Rollback();
        throw;
    }
}

// ---- the big orders table: raw binds, since it writes a million rows a second

/// Text columns of the big table, kept as UTF-8 once so that the loop binds without converting.
struct BigOrderWords
{
    std::vector<QByteArray> Cities;
    std::vector<QByteArray> Vias;
    std::vector<QByteArray> Methods;

    BigOrderWords()
        : Vias(ShipVias.begin(), ShipVias.end()), Methods(PaymentMethods.begin(), PaymentMethods.end())
    {
        for (const Country& country : Countries)
            for (const Place& place : country.Places)
                Cities.emplace_back(place.City);
    }
};

void CheckRc(sqlite3* handle, int rc, const QString& sql)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE)
        TSQLiteStatement::RaiseError(handle, sql);
}

void BindText(sqlite3_stmt* stmt, int index, const QByteArray& text)
{
    sqlite3_bind_text(stmt, index, text.constData(), int(text.size()), SQLITE_STATIC);
}

/// Sale dates run over ten years in key order; the text of a day is made once.
class SaleDateText
{
public:
    explicit SaleDateText(qint64 rows) : FRows(qMax<qint64>(rows, 1)) {}

    const char* For(qint64 row, int minuteOfDay)
    {
        const int day = int(row * DaySpan / FRows);
        if (day != FDay) {
            FDay = day;
            FDate = QDate(2015, 1, 1).addDays(day);
        }
        std::snprintf(FText, sizeof FText, "%04d-%02d-%02d %02d:%02d:00", FDate.year(), FDate.month(),
                      FDate.day(), minuteOfDay / 60, minuteOfDay % 60);
        return FText;
    }

private:
    static constexpr int DaySpan = 3650;
    qint64 FRows;
    int FDay = -1;
    QDate FDate;
    char FText[32] = {};
};

void FillBigOrders(TSQLiteDatabase& db, const QString& quotedTable, qint64 rows)
{
    const QString sql = QStringLiteral("INSERT INTO %1 VALUES (?,?,?,?,?,?,?,?,?,?)").arg(quotedTable);
    TSQLiteStatement insert(db.CheckedHandle(), sql);
    sqlite3_stmt* stmt = insert.Handle();
    sqlite3* handle = db.CheckedHandle();
    TSampleRandom random(BigOrdersSeed);
    const BigOrderWords words;
    SaleDateText saleDate(rows);
    for (qint64 row = 0; row < rows; ++row) {
        const double itemsTotal = random.Cents(5, 2000);
        const double freight = random.Chance(30) ? 0.0 : (random.Chance(50) ? 200.0 : random.Cents(5, 150));
        sqlite3_bind_int64(stmt, 1, row + 1);
        sqlite3_bind_int(stmt, 2, random.Between(1000, 9999));
        sqlite3_bind_text(stmt, 3, saleDate.For(row, random.Between(8 * 60, 18 * 60 - 1)), -1,
                          SQLITE_TRANSIENT);
        BindText(stmt, 4, random.Pick(std::span<const QByteArray>(words.Vias)));
        BindText(stmt, 5, random.Pick(std::span<const QByteArray>(words.Methods)));
        sqlite3_bind_double(stmt, 6, itemsTotal);
        sqlite3_bind_double(stmt, 7, random.Below(35) * 0.25);
        sqlite3_bind_double(stmt, 8, freight);
        BindText(stmt, 9, random.Pick(std::span<const QByteArray>(words.Cities)));
        sqlite3_bind_int(stmt, 10, random.Between(1, 50));
        CheckRc(handle, sqlite3_step(stmt), sql);
        CheckRc(handle, sqlite3_reset(stmt), sql);
    }
}

void CreateBigOrdersTable(TSQLiteDatabase& db, const QString& tableName, qint64 rows)
{
    const QString table = TSQLiteDatabase::QuoteIdentifier(tableName);
    db.ExecSQL(QStringLiteral("DROP TABLE IF EXISTS %1").arg(table));
    db.ExecSQL(
        QStringLiteral("CREATE TABLE %1 (OrderNo INTEGER PRIMARY KEY, CustNo INTEGER, SaleDate DATETIME, "
                       "ShipVIA VARCHAR(7), PaymentMethod VARCHAR(7), ItemsTotal NUMERIC, TaxRate REAL, "
                       "Freight NUMERIC, City VARCHAR(15), Qty INTEGER)")
            .arg(table));
    FillBigOrders(db, table, rows);
    // Built after the rows are in: one sort is much faster than a million index inserts.
    db.ExecSQL(QStringLiteral("CREATE INDEX %1 ON %2 (CustNo)")
                   .arg(TSQLiteDatabase::QuoteIdentifier(tableName + QStringLiteral("_CustNo")), table));
}

// ---- creating the file safely

void MakeParentFolder(const QFileInfo& target)
{
    if (!QDir().mkpath(target.absolutePath()))
        throw EDatabaseError(QStringLiteral("Cannot create the folder '%1' for the sample database")
                                 .arg(QDir::toNativeSeparators(target.absolutePath())));
}

void WriteSampleFile(const QString& fileName)
{
    TSQLiteDatabase db;
    db.SetDatabaseName(fileName);
    db.SetCreateIfMissing(true);
    db.Open();
    // The file is thrown away if anything fails, so a rollback journal buys nothing here.
    db.ExecSQL(QStringLiteral("PRAGMA journal_mode = OFF"));
    TSampleDatabase::CreateSampleTables(db);
    db.Close();
}

void CheckIsSampleDatabase(const TSQLiteDatabase& db)
{
    if (!db.TableExists(QStringLiteral("Customer")) || !db.TableExists(QStringLiteral("Orders")))
        throw EDatabaseError(QStringLiteral("'%1' is not a sample database (it has no Customer and Orders "
                                            "tables); it was left as it is")
                                 .arg(QDir::toNativeSeparators(db.DatabaseName())));
}

/// Replaces every page of `target` with those of `source` through SQLite's backup API,
/// which writes under the target's own journal and locks: all or nothing.
void CopyContent(TSQLiteDatabase& source, TSQLiteDatabase& target)
{
    sqlite3* into = target.CheckedHandle();
    sqlite3_backup* backup = sqlite3_backup_init(into, "main", source.CheckedHandle(), "main");
    if (!backup)
        TSQLiteStatement::RaiseError(into, QStringLiteral("backup"));
    const int stepped = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (stepped != SQLITE_DONE)
        throw EDatabaseError(QStringLiteral("Cannot write the sample database '%1': %2")
                                 .arg(QDir::toNativeSeparators(target.DatabaseName()),
                                      QString::fromUtf8(sqlite3_errstr(stepped))));
}

} // namespace

QString TSampleDatabase::DefaultPath()
{
    // Built from the generic data folder rather than AppLocalDataLocation so that every
    // program (the tool, the demos, tests) finds the same file whatever its own name is.
    const QString dataRoot = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataRoot.isEmpty())
        throw EDatabaseError(QStringLiteral("No per-user data folder is known for the sample database"));
    return dataRoot + QStringLiteral("/Orvo/Orvo/samples.db");
}

bool TSampleDatabase::EnsureSampleDatabase(const QString& path)
{
    const QFileInfo target(path);
    if (path.isEmpty())
        throw EDatabaseError(QStringLiteral("No file name was given for the sample database"));
    if (target.isDir())
        throw EDatabaseError(
            QStringLiteral("'%1' is a folder, not a database file").arg(QDir::toNativeSeparators(path)));
    if (target.exists() || target.isSymLink())
        return false;
    MakeParentFolder(target);

    TPartialFile partial(target);
    WriteSampleFile(partial.Name());
    if (partial.MoveIntoPlace())
        return true;
    if (QFileInfo::exists(target.absoluteFilePath()))
        return false; // another process made it meanwhile: its file stands
    throw EDatabaseError(QStringLiteral("Cannot move the sample database into place at '%1'")
                             .arg(QDir::toNativeSeparators(path)));
}

void TSampleDatabase::ResetSampleDatabase(const QString& path)
{
    if (EnsureSampleDatabase(path))
        return;
    TSQLiteDatabase target;
    target.SetDatabaseName(path);
    // A file refused below must be left exactly as it was, journal mode included.
    target.SetWalMode(false);
    target.Open();
    CheckIsSampleDatabase(target);

    TSQLiteDatabase fresh;
    fresh.SetDatabaseName(QStringLiteral(":memory:"));
    fresh.Open();
    CreateSampleTables(fresh);
    CopyContent(fresh, target);
}

void TSampleDatabase::CreateSampleTables(TSQLiteDatabase& db)
{
    TSampleRandom random(SampleSeed);
    std::vector<CustomerRow> customers = MakeCustomers(random);
    const std::vector<OrderRow> orders = MakeOrders(random, customers);
    GiveIdleCustomersAnInvoiceDate(random, customers);
    InTransaction(db, [&] {
        CreateSchema(db);
        InsertCustomers(db, customers);
        InsertOrders(db, orders);
    });
}

void TSampleDatabase::CreateBigOrders(TSQLiteDatabase& db, const QString& tableName, qint64 rows)
{
    if (tableName.trimmed().isEmpty())
        throw EDatabaseError(QStringLiteral("The big orders table needs a name"));
    if (rows < 0)
        throw EDatabaseError(QStringLiteral("The big orders table cannot have %1 rows").arg(rows));
    InTransaction(db, [&] { CreateBigOrdersTable(db, tableName, rows); });
}

} // namespace orvo
