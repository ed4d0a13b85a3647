#include "torvoform1.h"

#include "controls/torvogradientbackground.h"
#include "controls/torvolabel.h"
#include "controls/torvopanel.h"
#include "grid/dbgrid/torvodbgrid.h"
#include "platform/core/tcolor.h"
#include "platform/core/texceptionhandler.h"
#include "platform/graphics/tfont.h"
#include "platform/sqlite/tsqlitedatabase.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include <array>

namespace orvo {

namespace {

constexpr int GridMargin = 8;
constexpr int CommentsPanelHeight = 269;
constexpr int HeadersPanelHeight = 25;
constexpr int DesignedScrollBarWidth = 17;

constexpr int LayoutPanelWidth = 224;
constexpr int HeaderSpacing = 16;

// Each caption stands over the column of controls it names in the panel below; the
// first one over the layout panel.
constexpr std::array<const char*, 9> HeaderLabels = {"OrvoDBGrid Design Properties",
                                                     "DBGrid Options",
                                                     "OrvoDBGrid Options",
                                                     "Hint Options",
                                                     "Title Property",
                                                     "Column Property",
                                                     "Color Property",
                                                     "Font Property",
                                                     "MultiSelect Options"};

TOrvoPanel* MakePanel(QWidget* parent, const QString& name)
{
    auto* panel = new TOrvoPanel(parent);
    panel->setObjectName(name);
    return panel;
}

} // namespace

TOrvoForm1::TOrvoForm1(const QString& databasePath, std::optional<int> screenWidth, QWidget* parent)
    : QWidget(parent), FDatabase(std::make_unique<TSQLiteDatabase>())
{
    setObjectName(QStringLiteral("OrvoForm1"));
    setWindowTitle(
        QStringLiteral("Orvo Demo #1 (FixedStyle & FixedTheme, ExpandCols & Headers, FlatScrollbars, "
                       "OrderFields & Markers, Hints & ToolTips)"));
    QPalette face = palette();
    face.setColor(QPalette::Window, ToQColor(clBtnFace, face));
    setPalette(face);
    TFont font;
    font.SetHeight(-11);
    setFont(font.ToQFont());
    resize(DesignedClientWidth, DesignedClientHeight);

    FDatabase->setObjectName(QStringLiteral("CustomerDB"));
    FDatabase->SetDatabaseName(databasePath);
    CreateMenus();
    CreateDataSets();
    CreateRegions();
    ConfigureGrid();
    OpenDataSets();

    FitToScreen(screenWidth.value_or(screen()->geometry().width()));
    CentreOnScreen();
    RememberGridColors();
}

TOrvoForm1::~TOrvoForm1()
{
    // The grid saves its layout as it goes and reads the datasets while it does,
    // so it leaves before the connection closes them.
    delete FGrid;
}

int TOrvoForm1::FormWidthForScreen(int screenWidth)
{
    if (screenWidth > 1136)
        return 1137;
    if (screenWidth >= 1003)
        return 1003;
    return 813;
}

int TOrvoForm1::ScrollBarAllowance(const QWidget* widget)
{
    return widget->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, widget) - DesignedScrollBarWidth;
}

// ---- regions

void TOrvoForm1::CreateRegions()
{
    auto* formLayout = new QVBoxLayout(this);
    formLayout->setContentsMargins(0, 0, 0, 0);
    formLayout->setSpacing(0);

    FCustomerPanel = MakePanel(this, QStringLiteral("CustomerPanel"));
    FCustomerPanel->SetBevelOuter(bvNone);
    auto* gridLayout = new QVBoxLayout(FCustomerPanel);
    gridLayout->setContentsMargins(GridMargin, GridMargin, GridMargin, GridMargin);
    FGrid = new TOrvoDBGrid(FCustomerPanel);
    FGrid->setObjectName(QStringLiteral("CustomerDBGrid"));
    gridLayout->addWidget(FGrid);
    formLayout->addWidget(FCustomerPanel, 1);

    CreateCommentsPanel();
    formLayout->addWidget(FCommentsPanel);
}

void TOrvoForm1::CreateCommentsPanel()
{
    FCommentsPanel = MakePanel(this, QStringLiteral("CommentsPanel"));
    FCommentsPanel->setFixedHeight(CommentsPanelHeight);
    FCommentsPanel->Gradient()->SetActive(false);
    auto* layout = new QVBoxLayout(FCommentsPanel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* headersPanel = MakePanel(FCommentsPanel, QStringLiteral("HeadersPanel"));
    headersPanel->setFixedHeight(HeadersPanelHeight);
    CreateHeaderLabels(headersPanel);
    layout->addWidget(headersPanel);

    auto* body = new QHBoxLayout;
    body->setSpacing(0);
    auto* layoutPanel = MakePanel(FCommentsPanel, QStringLiteral("LayoutPanel"));
    layoutPanel->setFixedWidth(LayoutPanelWidth);
    body->addWidget(layoutPanel);

    auto* optionsPanel = MakePanel(FCommentsPanel, QStringLiteral("OptionsPanel"));
    auto* optionsLayout = new QVBoxLayout(optionsPanel);
    optionsLayout->setContentsMargins(0, 0, 0, 0);
    optionsLayout->addStretch(1);
    FActionInfoPanel = MakePanel(optionsPanel, QStringLiteral("ActionInfoPanel"));
    FActionInfoPanel->SetBevelOuter(bvLowered);
    FActionInfoPanel->SetAlignment(taLeftJustify);
    FActionInfoPanel->setFixedHeight(HeadersPanelHeight);
    optionsLayout->addWidget(FActionInfoPanel);
    body->addWidget(optionsPanel, 1);
    layout->addLayout(body, 1);

    auto* reportPanel = MakePanel(FCommentsPanel, QStringLiteral("ReportPanel"));
    reportPanel->setFixedHeight(HeadersPanelHeight + GridMargin);
    layout->addWidget(reportPanel);
}

void TOrvoForm1::CreateHeaderLabels(TOrvoPanel* headersPanel)
{
    auto* row = new QHBoxLayout(headersPanel);
    row->setContentsMargins(GridMargin, 0, GridMargin, 0);
    row->setSpacing(HeaderSpacing);
    QFont bold = font();
    bold.setBold(true);
    for (const char* caption : HeaderLabels) {
        auto* label = new TOrvoLabel(headersPanel);
        label->setText(QString::fromLatin1(caption));
        label->setFont(bold);
        row->addWidget(label);
    }
    row->itemAt(0)->widget()->setFixedWidth(LayoutPanelWidth - GridMargin - HeaderSpacing);
    row->addStretch(1);
}

void TOrvoForm1::CreateMenus()
{
    // Their items act on the grid while the program runs; here they are only the
    // menus the grid's titles, filler and buttons are bound to.
    const auto makeMenu = [this](const QString& name) {
        auto* menu = new QMenu(this);
        menu->setObjectName(name);
        return menu;
    };
    FFillerMenu = makeMenu(QStringLiteral("FillerMenu"));
    FPrintMenu = makeMenu(QStringLiteral("PrintMenu"));
    FFilterMenu = makeMenu(QStringLiteral("FilterMenu"));
    FEditorMenu = makeMenu(QStringLiteral("EditorMenu"));
    FCalendarMenu = makeMenu(QStringLiteral("CalendarMenu"));
}

// ---- start-up

void TOrvoForm1::FitToScreen(int screenWidth)
{
    // The rule speaks of the outer width; the frame is what the window manager adds.
    const int frame = frameGeometry().width() - width();
    resize(FormWidthForScreen(screenWidth) - frame + ScrollBarAllowance(this), height());
}

void TOrvoForm1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (FStarted)
        return;
    FStarted = true;
    // Only a shown form has its children laid out and the grid's rows counted; the
    // window is not on screen yet, so the user sees it at its final size.
    TExceptionHandler::Guard([this] {
        ShowStartRows();
        CentreOnScreen();
    });
}

void TOrvoForm1::ShowStartRows()
{
    const int line = FGrid->HorzLineWidth();
    int wanted = 0;
    for (int row = 0; row < FGrid->TitleOffset(); ++row)
        wanted += FGrid->RowHeights(row) + line;
    wanted += StartRows * (FGrid->RowHeights(FGrid->TitleOffset()) + line);
    for (int row = FGrid->FirstBottomRow(); row < FGrid->RowCount(); ++row)
        wanted += FGrid->RowHeights(row) + line;
    resize(width(), height() + wanted - FGrid->viewport()->height());
}

void TOrvoForm1::CentreOnScreen()
{
    const QRect available = screen()->availableGeometry();
    QRect frame = frameGeometry();
    frame.moveCenter(available.center());
    move(frame.topLeft());
}

void TOrvoForm1::RememberGridColors()
{
    FStartGridColor = FGrid->Color();
    FStartStripeColor = FGrid->StripeColor() == clNone ? clDefault : FGrid->StripeColor();
}

} // namespace orvo
