#pragma once

#include "platform/core/tcolor.h"

#include <QString>
#include <QWidget>

#include <memory>
#include <optional>

class QMenu;

namespace orvo {

class TCustomImageList;
class TDataSet;
class TDataSource;
class TOrvoColumn;
class TOrvoDBGrid;
class TOrvoPanel;
class TSQLiteDatabase;
class TSQLiteQuery;

/// The main form of the first demo program: the customers of the sample database
/// in a fully configured grid, over a lower panel that holds the controls which
/// change the grid while the program runs. The form owns the connection, the five
/// queries behind the grid and its lookups, and the menus the grid's titles and
/// buttons pop up.
class TOrvoForm1 : public QWidget
{
    Q_OBJECT

public:
    /// The designed client size, before the start-up rules adapt it to the screen.
    static constexpr int DesignedClientWidth = 1123;
    static constexpr int DesignedClientHeight = 599;
    /// The data rows the grid shows when the form opens.
    static constexpr int StartRows = 10;

    /// Opens the sample database at `databasePath` and shows its customers.
    /// `screenWidth` stands in for the width of the screen the form opens on.
    explicit TOrvoForm1(const QString& databasePath, std::optional<int> screenWidth = std::nullopt,
                        QWidget* parent = nullptr);
    ~TOrvoForm1() override;

    /// The outer width of the form on a screen `screenWidth` pixels wide.
    static int FormWidthForScreen(int screenWidth);
    /// What the outer width grows by: the style's vertical scroll bar against the 17
    /// pixels the form was designed with.
    static int ScrollBarAllowance(const QWidget* widget);
    /// The grid's order as the Customer query can sort it: calculated and lookup columns
    /// become the stored fields they show.
    static QString DataSetOrderFor(const QString& gridOrder);

    TOrvoDBGrid* CustomerDBGrid() const { return FGrid; }
    TSQLiteDatabase* CustomerDB() const { return FDatabase.get(); }
    TSQLiteQuery* Customer() const { return FCustomer; }
    TSQLiteQuery* Company() const { return FCompany; }
    TSQLiteQuery* Country() const { return FCountry; }
    TSQLiteQuery* City() const { return FCity; }
    TSQLiteQuery* MaxCustNo() const { return FMaxCustNo; }
    TOrvoPanel* CustomerPanel() const { return FCustomerPanel; }
    TOrvoPanel* CommentsPanel() const { return FCommentsPanel; }
    TOrvoPanel* ActionInfoPanel() const { return FActionInfoPanel; }

    /// The grid's colour and stripe colour as the form opened (clNone stripes read as
    /// clDefault), which switching stripes on and off returns to.
    TColor StartGridColor() const { return FStartGridColor; }
    TColor StartStripeColor() const { return FStartStripeColor; }

protected:
    /// Gives the grid room for StartRows data rows the first time the form shows.
    void showEvent(QShowEvent* event) override;

private:
    // Regions.
    void CreateRegions();
    void CreateCommentsPanel();
    void CreateHeaderLabels(TOrvoPanel* headersPanel);
    void CreateMenus();

    // Data.
    void CreateDataSets();
    void CreateCustomerFields();
    TSQLiteQuery* CreateQuery(const QString& name, const QString& sql);
    void CalcCustomerFields(TDataSet* dataSet);
    void NumberNewCustomer(TDataSet* dataSet);
    void ApplyCustomerUpdates(TDataSet* dataSet);
    void OpenDataSets();

    // The grid.
    void ConfigureGrid();
    void CreateColumns();
    /// The titles of a few columns show the auto-filter button.
    void OfferAutoFilters();
    TOrvoColumn* AddColumn(const QString& fieldName, const QString& caption = QString());
    void AddOrderColumns();
    void AddAddressColumns();
    void AddContactColumns();
    /// The grid leaves ordering to the form (no dgAutoUpdateOrder), which reorders the query.
    void ConnectOrderEvents();

    // Start-up.
    void FitToScreen(int screenWidth);
    void ShowStartRows();
    void CentreOnScreen();
    void RememberGridColors();

    std::unique_ptr<TSQLiteDatabase> FDatabase;
    TSQLiteQuery* FCustomer = nullptr;
    TSQLiteQuery* FCompany = nullptr;
    TSQLiteQuery* FCountry = nullptr;
    TSQLiteQuery* FCity = nullptr;
    TSQLiteQuery* FMaxCustNo = nullptr;
    TDataSource* FCustomerSource = nullptr;

    TOrvoPanel* FCustomerPanel = nullptr;
    TOrvoPanel* FCommentsPanel = nullptr;
    TOrvoPanel* FActionInfoPanel = nullptr;
    TOrvoDBGrid* FGrid = nullptr;
    TCustomImageList* FTitleImages = nullptr;

    QMenu* FFillerMenu = nullptr;
    QMenu* FPrintMenu = nullptr;
    QMenu* FFilterMenu = nullptr;
    QMenu* FEditorMenu = nullptr;
    QMenu* FCalendarMenu = nullptr;

    bool FStarted = false;
    TColor FStartGridColor = clWindow;
    TColor FStartStripeColor = clDefault;
};

} // namespace orvo
