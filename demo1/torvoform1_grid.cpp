// CustomerDBGrid as the form stores it: the values that differ from the grid's
// defaults and its eighteen columns.

#include "torvoform1.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvocolumnreport.h"
#include "grid/columns/torvocolumntitle.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "grid/filter/torvodbgridfilter.h"
#include "grid/painting/torvogridstyle.h"
#include "grid/scrolling/torvoscrollprop.h"
#include "grid/settings/torvodbgridsettings.h"
#include "grid/totals/torvocolumntotalfooter.h"
#include "grid/totals/torvocolumntotalheader.h"
#include "platform/graphics/tcustomimagelist.h"
#include "platform/sqlite/tsqlitequery.h"

#include <QMenu>

#include <utility>

namespace orvo {

namespace {

constexpr TColor EditorGreen = 0xE9F3E9;

// Marker images: bit 0 is descending, index / 2 the place in the sort order.
constexpr int CountryMarker = 3;
constexpr int StateMarker = 4;
constexpr int CityMarker = 6;

constexpr std::pair<const char*, const char*> UsStates[] = {{"AK", "Alaska"},
                                                            {"AL", "Alabama"},
                                                            {"AR", "Arkansas"},
                                                            {"AS", "American Samoa"},
                                                            {"AZ", "Arizona"},
                                                            {"CA", "California"},
                                                            {"CO", "Colorado"},
                                                            {"CT", "Connecticut"},
                                                            {"DC", "District of Columbia"},
                                                            {"DE", "Delaware"},
                                                            {"FL", "Florida"},
                                                            {"FM", "Federated States of Micronesia"},
                                                            {"GA", "Georgia"},
                                                            {"GU", "Guam"},
                                                            {"HI", "Hawaii"},
                                                            {"IA", "Iowa"},
                                                            {"ID", "Idaho"},
                                                            {"IL", "Illinois"},
                                                            {"IN", "Indiana"},
                                                            {"KS", "Kansas"},
                                                            {"KY", "Kentucky"},
                                                            {"LA", "Louisiana"},
                                                            {"MA", "Massachusetts"},
                                                            {"MD", "Maryland"},
                                                            {"ME", "Maine"},
                                                            {"MH", "Marshall Islands"},
                                                            {"MI", "Michigan"},
                                                            {"MN", "Minnesota"},
                                                            {"MO", "Missouri"},
                                                            {"MP", "Northern Mariana Islands"},
                                                            {"MS", "Mississippi"},
                                                            {"MT", "Montana"},
                                                            {"NC", "North Carolina"},
                                                            {"ND", "North Dakota"},
                                                            {"NE", "Nebraska"},
                                                            {"NH", "New Hampshire"},
                                                            {"NJ", "New Jersey"},
                                                            {"NM", "New Mexico"},
                                                            {"NV", "Nevada"},
                                                            {"NY", "New York"},
                                                            {"OH", "Ohio"},
                                                            {"OK", "Oklahoma"},
                                                            {"OR", "Oregon"},
                                                            {"PA", "Pennsylvania"},
                                                            {"PR", "Puerto Rico"},
                                                            {"PW", "Palau"},
                                                            {"RI", "Rhode Island"},
                                                            {"SC", "South Carolina"},
                                                            {"SD", "South Dakota"},
                                                            {"TN", "Tennessee"},
                                                            {"TX", "Texas"},
                                                            {"UM", "U.S. Minor Outlying Islands"},
                                                            {"UT", "Utah"},
                                                            {"VA", "Virginia"},
                                                            {"VI", "Virgin Islands"},
                                                            {"VT", "Vermont"},
                                                            {"WA", "Washington"},
                                                            {"WI", "Wisconsin"},
                                                            {"WV", "West Virginia"},
                                                            {"WY", "Wyoming"},
                                                            {"AA", "Armed Forces Americas"},
                                                            {"AE", "Armed Forces Europe"},
                                                            {"AP", "Armed Forces Pacific"}};

void FixWidth(TOrvoColumn* column, int width)
{
    column->SetWidth(width);
    column->SetWidthMin(width);
    column->SetWidthMax(width);
}

void ShowCalcValue(TOrvoColumnTotalValue* total, TCalcValue calcValue, const QString& format = QString())
{
    total->SetTotalResult(trCalcValue);
    total->SetCalcValue(calcValue);
    if (!format.isEmpty())
        total->SetFormat(format);
}

void ShowCustNoValue(TOrvoColumnTotalValue* total, TCalcValue calcValue, const QString& format)
{
    total->SetFieldName(QStringLiteral("CustNo"));
    ShowCalcValue(total, calcValue, format);
}

void ShowCustNoValues(TOrvoColumn* column, TCalcValue calcValue, const QString& format)
{
    ShowCustNoValue(column->TotalHeader(), calcValue, format);
    ShowCustNoValue(column->TotalFooter(), calcValue, format);
}

void SetCenteredCaption(TOrvoColumnTotalValue* total, const QString& caption)
{
    total->SetCaption(caption);
    total->SetAlignment(taCenter);
}

} // namespace

void TOrvoForm1::ConfigureGrid()
{
    FTitleImages = new TCustomImageList(16, 16, this);
    FTitleImages->setObjectName(QStringLiteral("TitleImages"));

    // Set as a stored form sets it: values first, the grid's own work once at the end.
    FGrid->BeginLoad();
    FGrid->SetDataSource(FCustomerSource);
    FGrid->SetEditorColor(EditorGreen);
    FGrid->SetFillerHint(QStringLiteral("Popup FillerMenu"));
    FGrid->SetFillerPopupMenu(FFillerMenu);
    FGrid->SetFixedCols(3);
    FGrid->SetFixedStyle(fsGray);
    FGrid->GridStyle()->SetVisualStyle(vsXPStyle);
    FGrid->SetHighlightText(clYellow);
    FGrid->SetHintOptions({hoTitleHints, hoShowTitleHints, hoEditorHints, hoShowToolTips, hoDataHints,
                           hoShowDataHints, hoTotalHints, hoShowTotalHints});
    FGrid->SetIndicatorHint(QStringLiteral("Enter here your hint for indicator."));
    FGrid->SetKeyFields(QStringLiteral("CustNo"));
    FGrid->SetOptions(TOrvoCustomDBGrid::DefaultOptions +
                      TOrvoDBGridOptions{dgAlwaysShowSelection, dgForceSequence, dgThumbTracking} -
                      TOrvoDBGridOptions{dgInternalSelect, dgRowResize, dgMarkerAutoAlign});
    FGrid->SetOptionsEx(
        TOrvoCustomDBGrid::DefaultOptionsEx +
        TOrvoDBGridOptionsEx{dgBlankRow, dgTotalHeader, dgTotalFooter, dgTotalHeaderSelected} -
        TOrvoDBGridOptionsEx{dgCalcSelectedRows});
    FGrid->SetResizeOptions({roColumnResize, roOptimalWidth, roDefaultWidth});
    FGrid->ScrollProp()->SetAutoHidden(ssBoth);
    FGrid->Settings()->SetActive(true);
    FGrid->Settings()->SetOptions({soSaveLayout, soUserSettings, soOrderFields, soLinesCount, soStretchMode});
    FGrid->SetStretchWidthMin(25);
    FGrid->SetTitleImages(FTitleImages);
    CreateColumns();
    OfferAutoFilters();
    ConnectOrderEvents();
    FGrid->Loaded();
    FGrid->SetOrderFields(QStringLiteral("Country DESC,State,City"));
}

void TOrvoForm1::OfferAutoFilters()
{
    // The columns whose values repeat across customers: the places.
    const QStringList filtered{QStringLiteral("Country"), QStringLiteral("State"), QStringLiteral("City")};
    for (int i = 0; i < FGrid->Columns()->Count(); ++i) {
        TOrvoColumn* column = FGrid->Columns()->Items(i);
        column->Title()->SetAutoFilter(filtered.contains(column->FieldName()));
    }
    TOrvoDBGridFilter* filter = FGrid->FilterGrid();
    // The values checked apply on OK, so that the list shows its OK and Cancel.
    filter->SetOptions(filter->Options() - foAutoApplyList);
    filter->SetAutoFilter(true);
}

TOrvoColumn* TOrvoForm1::AddColumn(const QString& fieldName, const QString& caption)
{
    TOrvoColumn* column = FGrid->Columns()->Add();
    column->SetFieldName(fieldName);
    if (!caption.isEmpty())
        column->Title()->SetCaption(caption);
    return column;
}

void TOrvoForm1::CreateColumns()
{
    TOrvoColumn* print = AddColumn(QString(), QStringLiteral("Print"));
    print->SetCheckBox(true);
    FixWidth(print, 21);
    print->Report()->SetVisible(false);
    print->Title()->SetPopupMenu(FPrintMenu);
    SetCenteredCaption(print->TotalHeader(), QStringLiteral("Sel"));
    SetCenteredCaption(print->TotalFooter(), QStringLiteral("All"));

    TOrvoColumn* number = AddColumn(QString(), QStringLiteral("No."));
    number->SetAutoNumber(true);
    FixWidth(number, 31);
    number->TotalFooter()->SetTotalResult(trDataField);
    number->Title()->SetPopupMenu(FFilterMenu);

    TOrvoColumn* custNo = AddColumn(QStringLiteral("CustNo"), QStringLiteral("Customer Number"));
    ShowCalcValue(custNo->TotalHeader(), cvCount, QStringLiteral("%d record(s)"));
    ShowCalcValue(custNo->TotalFooter(), cvCount, QStringLiteral("%d record(s)"));

    TOrvoColumn* lookup =
        AddColumn(QStringLiteral("CompanyLookup"), QStringLiteral("Company\n(lookup field)"));
    lookup->SetLookupListFields(QStringLiteral("Company;CustNo;Company;City"));
    lookup->SetLookupListTitles(QStringLiteral("Select Company;Customer;Company;City"));
    lookup->SetLookupListWidths(QStringLiteral("160;56;160;100"));
    lookup->SetListOptions({loAutoComplete, loAutoDropDown, loAutoCloseEditor, loSelectNextValue,
                            loAllowClearValue, loShowLookupListTitles, loAllowChangeOrder,
                            loAllowColumnResize, loExpandFirstColumn, loFirstColumnExpanded});
    ShowCustNoValues(lookup, cvFirst, QStringLiteral(" From CN %g"));

    TOrvoColumn* company = AddColumn(QStringLiteral("Company"), QStringLiteral("Company\n(edit field)"));
    company->SetVisible(false);
    ShowCustNoValues(company, cvLast, QStringLiteral(" to %g"));

    AddOrderColumns();
    AddAddressColumns();
    AddContactColumns();
}

void TOrvoForm1::AddOrderColumns()
{
    AddColumn(QStringLiteral("CompanyLocation"), QStringLiteral("Company Location"))->SetExpandCols(6);

    TOrvoColumn* country = AddColumn(QStringLiteral("Country"), QStringLiteral("Country\n(lookup list)"));
    country->SetLookupDataSet(FCountry);
    country->SetLookupKeyField(QStringLiteral("Country"));
    country->Title()->SetMarkerIndex(CountryMarker);
    ShowCalcValue(country->TotalHeader(), cvUnique);
    country->TotalHeader()->SetNullValue(nvInclude);

    TOrvoColumn* state = AddColumn(QStringLiteral("State"), QStringLiteral("State\n(pick list)"));
    QStringList codes;
    QStringList names;
    for (const auto& [code, name] : UsStates) {
        codes << QString::fromLatin1(code);
        names << QString::fromLatin1(name);
    }
    state->SetPickList(codes);
    state->SetPickText(names);
    state->SetPickTextFormat(QStringLiteral("%0:s (%1:s)"));
    state->SetPickOptions({poSelectPickText, poAcceptPickList, poFormatPickText, poFormatListOnly});
    state->Title()->SetMarkerIndex(StateMarker);
    ShowCalcValue(state->TotalHeader(), cvUnique);
}

void TOrvoForm1::AddAddressColumns()
{
    AddColumn(QStringLiteral("PostalAddress"), QStringLiteral("Postal Address"))->SetExpandCols(3);

    TOrvoColumn* zip = AddColumn(QStringLiteral("Zip"));
    zip->SetButtonStyle(cbsDropDownMenu);
    zip->SetDropDownMenu(FEditorMenu);
    zip->SetPickOptions(zip->PickOptions() + TOrvoPickOptions{poAutoLoadList});

    TOrvoColumn* city = AddColumn(QStringLiteral("City"));
    city->SetLookupDataSet(FCity);
    city->SetLookupKeyField(QStringLiteral("City"));
    city->SetLookupListFields(QStringLiteral("City;Country"));
    city->SetDropDownWidth(212);
    city->Title()->SetMarkerIndex(CityMarker);

    TOrvoColumn* address = AddColumn(QStringLiteral("Addr1"), QStringLiteral("Address"));
    address->SetButtonStyle(cbsDropDown);
    address->SetExpandStyle(cesDropDown);
    address->SetListOptions({});

    TOrvoColumn* taxRate = AddColumn(QStringLiteral("TaxRate"), QStringLiteral("Tax Rate\n(calc.)"));
    taxRate->SetButtonStyle(cbsCalculator);
    taxRate->TotalHeader()->SetTotalResult(trCalcValue);
    taxRate->TotalFooter()->SetTotalResult(trCalcValue);
}

void TOrvoForm1::AddContactColumns()
{
    AddColumn(QStringLiteral("ContactPerson"), QStringLiteral("Contact Person"))->SetExpandCols(4);

    TOrvoColumn* contact =
        AddColumn(QStringLiteral("Contact"), QStringLiteral("Sales Manager\n(autocomplete+list)"));
    contact->SetListOptions({loAutoComplete});
    contact->SetPickOptions(contact->PickOptions() + TOrvoPickOptions{poAutoLoadList});

    TOrvoColumn* phone = AddColumn(QStringLiteral("Phone"), QStringLiteral("Phone\n(autoload list)"));
    phone->SetListOptions({loAutoComplete, loAutoDropDown});
    phone->SetPickOptions(phone->PickOptions() + TOrvoPickOptions{poAutoLoadList});

    TOrvoColumn* fax = AddColumn(QStringLiteral("FAX"), QStringLiteral("FAX\n(autocomplete)"));
    fax->SetButtonStyle(cbsNone);
    fax->SetListOptions({loAutoComplete});

    TOrvoColumn* invoiceDate =
        AddColumn(QStringLiteral("LastInvoiceDate"), QStringLiteral("Last Invoice Date\n(calendar)"));
    invoiceDate->SetListOptions({loAutoDropDown, loAutoCloseEditor, loShowToday});
    // Every view of the calendar, decades of a century included, is a caption click away.
    invoiceDate->SetCalendarDepth(cdCentury);
    invoiceDate->Title()->SetDropDownMenu(FCalendarMenu);
}

} // namespace orvo
