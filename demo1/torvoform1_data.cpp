// The form's datasets: the customers behind the grid and the queries its lookups,
// lists and new customer numbers come from.

#include "torvoform1.h"

#include "platform/data/tdatasource.h"
#include "platform/data/tdatetimefield.h"
#include "platform/data/tfields.h"
#include "platform/data/tfloatfield.h"
#include "platform/data/tstringfield.h"
#include "platform/sqlite/tsqlitequery.h"

namespace orvo {

namespace {

struct TFieldDefinition
{
    const char* Name;
    TFieldKind Kind;
    TFieldType Type;
    int Size;
};

// The order is the grid's default order and the order the columns refer to.
constexpr TFieldDefinition CustomerFields[] = {{"CustNo", fkData, ftFloat, 0},
                                               {"Company", fkData, ftString, 30},
                                               {"CompanyLookup", fkLookup, ftString, 30},
                                               {"CompanyLocation", fkCalculated, ftString, 40},
                                               {"Country", fkData, ftString, 20},
                                               {"State", fkData, ftString, 20},
                                               {"PostalAddress", fkCalculated, ftString, 60},
                                               {"Zip", fkData, ftString, 10},
                                               {"City", fkData, ftString, 15},
                                               {"Addr1", fkData, ftString, 30},
                                               {"Addr2", fkData, ftString, 30},
                                               {"TaxRate", fkData, ftFloat, 0},
                                               {"ContactPerson", fkCalculated, ftString, 40},
                                               {"Contact", fkData, ftString, 20},
                                               {"Phone", fkData, ftString, 15},
                                               {"FAX", fkData, ftString, 15},
                                               {"LastInvoiceDate", fkData, ftDateTime, 0}};

TField* MakeField(const TFieldDefinition& definition, QObject* owner)
{
    TField* field = nullptr;
    if (definition.Type == ftFloat)
        field = new TFloatField(owner);
    else if (definition.Type == ftDateTime)
        field = new TDateTimeField(owner);
    else
        field = new TStringField(owner);
    field->SetFieldName(QString::fromLatin1(definition.Name));
    if (definition.Size > 0)
        field->SetSize(definition.Size);
    field->SetFieldKind(definition.Kind);
    return field;
}

/// Leading blanks and control characters off, as the joined texts below need it.
QString TrimLeft(const QString& text)
{
    qsizetype start = 0;
    while (start < text.size() && text.at(start) <= QLatin1Char(' '))
        ++start;
    return text.mid(start);
}

QString Text(TDataSet* dataSet, const char* fieldName)
{
    return dataSet->FieldByName(QString::fromLatin1(fieldName))->AsString();
}

QString JoinPair(const QString& first, const QString& second)
{
    return TrimLeft(first + QLatin1Char(' ')) + second;
}

} // namespace

TSQLiteQuery* TOrvoForm1::CreateQuery(const QString& name, const QString& sql)
{
    auto* query = new TSQLiteQuery(this);
    query->setObjectName(name);
    query->SetDatabase(FDatabase.get());
    query->SetSQL({sql});
    return query;
}

void TOrvoForm1::CreateDataSets()
{
    FCustomer = CreateQuery(QStringLiteral("Customer"),
                            QStringLiteral("SELECT * FROM Customer ORDER BY Country DESC,State,City"));
    FCustomer->SetCachedUpdates(true);
    FCustomer->SetUpdateWhere(QStringLiteral("CustNo = :OLD_CustNo"));
    FCustomer->SetFilter(QStringLiteral("Country='US'"));
    FCompany = CreateQuery(QStringLiteral("Company"),
                           QStringLiteral("SELECT CustNo, Company, City FROM Customer ORDER BY Company"));
    FCountry =
        CreateQuery(QStringLiteral("Country"), QStringLiteral("SELECT DISTINCT Country FROM Customer"));
    FCity = CreateQuery(QStringLiteral("City"),
                        QStringLiteral("SELECT DISTINCT City, Country FROM Customer WHERE City IS NOT NULL"));
    FMaxCustNo = CreateQuery(QStringLiteral("MaxCustNo"), QStringLiteral("SELECT Max(CustNo) FROM Customer"));
    CreateCustomerFields();

    FCustomer->OnCalcFields = [this](TDataSet* dataSet) { CalcCustomerFields(dataSet); };
    FCustomer->BeforePost = [this](TDataSet* dataSet) { NumberNewCustomer(dataSet); };
    FCustomer->AfterPost = [this](TDataSet* dataSet) { ApplyCustomerUpdates(dataSet); };
    FCustomer->AfterDelete = [this](TDataSet* dataSet) { ApplyCustomerUpdates(dataSet); };

    FCustomerSource = new TDataSource(this);
    FCustomerSource->setObjectName(QStringLiteral("CustomerSource"));
    FCustomerSource->SetDataSet(FCustomer);
}

void TOrvoForm1::CreateCustomerFields()
{
    for (const TFieldDefinition& definition : CustomerFields)
        MakeField(definition, FCustomer)->SetDataSet(FCustomer);
    TField* lookup = FCustomer->FieldByName(QStringLiteral("CompanyLookup"));
    lookup->SetKeyFields(QStringLiteral("CustNo"));
    lookup->SetLookupDataSet(FCompany);
    lookup->SetLookupKeyFields(QStringLiteral("CustNo"));
    lookup->SetLookupResultField(QStringLiteral("Company"));
}

void TOrvoForm1::CalcCustomerFields(TDataSet* dataSet)
{
    dataSet->FieldByName(QStringLiteral("CompanyLocation"))
        ->SetAsString(JoinPair(Text(dataSet, "Country"), Text(dataSet, "State")));
    dataSet->FieldByName(QStringLiteral("PostalAddress"))
        ->SetAsString(
            JoinPair(Text(dataSet, "City"), JoinPair(Text(dataSet, "Zip"), Text(dataSet, "Addr1"))));
    dataSet->FieldByName(QStringLiteral("ContactPerson"))
        ->SetAsString(JoinPair(Text(dataSet, "Phone"), Text(dataSet, "Contact")));
}

void TOrvoForm1::NumberNewCustomer(TDataSet* dataSet)
{
    if (dataSet->State() != dsInsert)
        return;
    // Asked afresh each time: every post is applied at once, so the table holds the
    // largest number given so far.
    FMaxCustNo->Close();
    FMaxCustNo->Open();
    const TField* largest = FMaxCustNo->Fields()->Field(0);
    const double next = largest->IsNull() ? 1.0 : largest->AsFloat() + 1.0;
    dataSet->FieldByName(QStringLiteral("CustNo"))->SetAsFloat(next);
}

void TOrvoForm1::ApplyCustomerUpdates(TDataSet*)
{
    FCustomer->ApplyUpdates();
}

void TOrvoForm1::OpenDataSets()
{
    // The lookup field reads Company, so Company opens first.
    FCompany->Open();
    FCustomer->Open();
}

} // namespace orvo
