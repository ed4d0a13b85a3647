#include "lists/calculator/torvodbpopupcalculator.h"

#include "grid/columns/torvocolumn.h"
#include "grid/columns/torvodbgridcolumns.h"
#include "grid/painting/torvogridstyle.h"
#include "grid/totals/torvocolumntotalfooter.h"
#include "grid/totals/torvodbgridtotals.h"
#include "lists/calculator/tcalculatorarithmetic.h"
#include "lists/calculator/torvodbdisplaydata.h"
#include "lists/popup/tlistbutton.h"
#include "platform/core/tcolor.h"
#include "platform/core/texceptionhandler.h"
#include "platform/core/tformatsettings.h"
#include "platform/data/tdatasource.h"
#include "platform/gridbase/shiftstate.h"

#include <QClipboard>
#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>

namespace orvo {

namespace {

/// Not a key code of the calculator (those are bytes): the paste short cut.
constexpr int PasteCode = 0x100;
/// The footer's font as the keypad's room starts out, before the list fits it.
constexpr int InitialFooterFontHeight = -103;
/// The client height of the design, inside the list's one-pixel border.
constexpr int DesignClientHeight = TOrvoDBPopupCalculator::DesignHeight - 2;

constexpr TColor KeyColours[] = {clBlue, clRed, clBlack};

bool NoShiftKeys(TShiftState shift)
{
    return !shift.Contains(ssShift) && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt);
}

} // namespace

const std::vector<TOrvoDBPopupCalculator::TKeyDesign>& TOrvoDBPopupCalculator::KeyDesigns()
{
    static const std::vector<TKeyDesign> keys = {
        {"OK", 4, 30, 30, 2, ckOK},
        {"Back", 40, 30, 50, 1, ckBackspace},
        {"CE", 94, 30, 50, 1, ckClearEntry},
        {"C", 148, 30, 50, 1, ckClearAll},
        {"MC", 4, 56, 30, 1, ckMemoryClear},
        {"7", 40, 56, 30, 0, '7'},
        {"8", 72, 56, 30, 0, '8'},
        {"9", 104, 56, 30, 0, '9'},
        {"/", 136, 56, 30, 1, ckDivide},
        {"sqrt", 168, 56, 30, 0, ckSquareRoot},
        {"MR", 4, 80, 30, 1, ckMemoryRecall},
        {"4", 40, 80, 30, 0, '4'},
        {"5", 72, 80, 30, 0, '5'},
        {"6", 104, 80, 30, 0, '6'},
        {"*", 136, 80, 30, 1, ckMultiply},
        {"%", 168, 80, 30, 0, ckPercent},
        {"MS", 4, 104, 30, 1, ckMemoryStore},
        {"1", 40, 104, 30, 0, '1'},
        {"2", 72, 104, 30, 0, '2'},
        {"3", 104, 104, 30, 0, '3'},
        {"-", 136, 104, 30, 1, ckSubtract},
        {"1/x", 168, 104, 30, 0, ckReciprocal},
        {"M+", 4, 128, 30, 1, ckMemoryAdd},
        {"0", 40, 128, 30, 0, '0'},
        {"+/-", 72, 128, 30, 0, ckChangeSign},
        {",", 104, 128, 30, 0, ckComma},
        {"+", 136, 128, 30, 1, ckAdd},
        {"=", 168, 128, 30, 1, ckEvaluate},
    };
    return keys;
}

TOrvoDBPopupCalculator::TOrvoDBPopupCalculator(QWidget* parent, TCloseRequestEvent closeRequest)
    : TOrvoDBPopupList(parent, std::move(closeRequest)),
      FArithmetic(std::make_unique<TCalculatorArithmetic>())
{
    FDisplay = new TOrvoDBDisplayData(this);
    FArithmetic->OnDisplayChange = [this](const QString& text) { FDisplay->SetDisplayText(text); };
    FArithmetic->OnAccept = [this] { RequestCloseUp(true); };
    FDisplay->SetDisplayText(FArithmetic->DisplayText());
    ListSource()->SetDataSet(FDisplay);
    FDisplay->Open();

    SetParentFont(false);
    resize(DesignWidth, DesignHeight);
    SetUpGrid();
    CreateDisplayColumn();
    CreateButtons();
    SetParentFont(true);
    FFontHeight = QFontMetrics(font()).height();
    ClearCalculator(true);
    PlaceButtons();
    AdjustListSize();
}

TOrvoDBPopupCalculator::~TOrvoDBPopupCalculator() = default;

// --- Set-up ----------------------------------------------------------------------------------

void TOrvoDBPopupCalculator::SetUpGrid()
{
    SetListColLineColor(clNone);
    SetListRowLineColor(clDefault);
    GridStyle()->SetDataRowSpace(GridStyle()->DataRowSpace() - 1);
    SetOptions(Options() -
               TOrvoDBGridOptions{dgEditing, dgTitles, dgIndicator, dgColumnResize, dgRowResize,
                                  dgForceSequence, dgThumbTracking} +
               TOrvoDBGridOptions{dgRowSelect, dgAlwaysShowSelection});
    SetOptionsEx(OptionsEx() + TOrvoDBGridOptionsEx{dgTotalFooter} -
                 TOrvoDBGridOptionsEx{dgTotalFooterBox, dgAutoUpdateTotals, dgDelayUpdateTotals,
                                      dgCalcSelectedRows, dgDelaySelectedRows, dgAutoUpdateSequence,
                                      dgDelayUpdateSequence});
    SetOptionsExt(OptionsExt() - TOrvoDBGridOptionsExt{dgAutoUpdateListItems, dgDelayUpdateListItems});
    SetSelectRowColor(clNone);
    SetScrollBars(ssNone);
    SetStretchMode(false);
}

void TOrvoDBPopupCalculator::CreateDisplayColumn()
{
    TOrvoColumn* column = Columns()->Add();
    column->SetFieldName(QStringLiteral("DisplayText"));
    column->SetAlignment(taRightJustify);
    column->SetWidthBase(DesignWidth - 3);
    TFont footerFont = column->TotalFooter()->Font();
    footerFont.SetHeight(InitialFooterFontHeight);
    column->TotalFooter()->SetFont(footerFont);
}

void TOrvoDBPopupCalculator::CreateButtons()
{
    const QChar separator = TFormatSettings::Default().DecimalSeparator;
    for (const TKeyDesign& design : KeyDesigns()) {
        auto* button = new TListButton(viewport());
        // The decimal key shows the separator it types.
        button->setText(design.Code == ckComma ? QString(separator) : QString::fromLatin1(design.Caption));
        button->setProperty("Tag", design.Colour * 256 + design.Code);
        QPalette palette = button->palette();
        palette.setColor(QPalette::ButtonText, ToQColor(KeyColours[design.Colour]));
        button->setPalette(palette);
        button->SetFlat(FlatButtons() || ButtonEdges());
        button->SetEdges(ButtonEdges());
        connect(button, &TListButton::clicked, this,
                [this, button] { TExceptionHandler::Guard([this, button] { ButtonClick(button); }); });
        FButtons.push_back(button);
    }
}

// --- Keys ------------------------------------------------------------------------------------

void TOrvoDBPopupCalculator::ButtonClick(TListButton* sender)
{
    ProcessKey(sender->property("Tag").toInt() & 0xFF);
}

void TOrvoDBPopupCalculator::ClearCalculator(bool all)
{
    FArithmetic->ClearCalculator(all);
}

void TOrvoDBPopupCalculator::ProcessKey(int code)
{
    FArithmetic->ProcessKey(code);
}

TListButton* TOrvoDBPopupCalculator::ButtonOfCode(int code) const
{
    for (TListButton* button : FButtons) {
        if ((button->property("Tag").toInt() & 0xFF) == code)
            return button;
    }
    return nullptr;
}

int TOrvoDBPopupCalculator::ShortCutCode(int key, TShiftState shift)
{
    if (key == Qt::Key_Escape && NoShiftKeys(shift))
        return ckClearAll;
    if (key == Qt::Key_Insert && shift.Contains(ssShift) && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt))
        return PasteCode;
    if (!ExactlyCtrl(shift))
        return 0;
    switch (key) {
    case Qt::Key_V:
        return PasteCode;
    case Qt::Key_L:
        return ckMemoryClear;
    case Qt::Key_P:
        return ckMemoryAdd;
    case Qt::Key_R:
        return ckMemoryRecall;
    case Qt::Key_S:
        return ckMemoryStore;
    case Qt::Key_Backspace:
        return ckClearEntry;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return ckOK;
    default:
        return 0;
    }
}

void TOrvoDBPopupCalculator::KeyDown(int& key, TShiftState shift)
{
    if (const int code = ShortCutCode(key, shift); code != 0) {
        key = 0;
        if (code == PasteCode)
            PasteFromClipboard();
        else
            ProcessKey(code);
        return;
    }
    TOrvoDBPopupList::KeyDown(key, shift);
    if (key == 0 || !NoShiftKeys(shift))
        return;
    if (key == Qt::Key_Delete) {
        key = 0;
        ProcessKey(ckClearEntry);
    } else if (key == Qt::Key_F9) {
        key = 0;
        ProcessKey(ckChangeSign);
    }
}

void TOrvoDBPopupCalculator::KeyPress(QChar& key)
{
    TOrvoDBPopupList::KeyPress(key);
    if (!key.isNull())
        ProcessKey(key.unicode());
}

// --- Display ---------------------------------------------------------------------------------

bool TOrvoDBPopupCalculator::SetDisplayText(const QString& text)
{
    return FArithmetic->SetDisplayText(text);
}

bool TOrvoDBPopupCalculator::SetValue(long double value)
{
    return FArithmetic->SetValue(value);
}

QString TOrvoDBPopupCalculator::DisplayText() const
{
    return FArithmetic->DisplayText();
}

QString TOrvoDBPopupCalculator::ListValue()
{
    return FArithmetic->ListValue();
}

void TOrvoDBPopupCalculator::PasteFromClipboard()
{
    FArithmetic->Paste(QGuiApplication::clipboard()->text());
}

void TOrvoDBPopupCalculator::SetBeep(std::function<void()> beep)
{
    FArithmetic->Beep = std::move(beep);
}

// --- Size and font ---------------------------------------------------------------------------

void TOrvoDBPopupCalculator::AdjustListSize()
{
    if (Columns()->Count() == 0)
        return;
    // Themed fixed cells draw the footer's bottom line inside the client area; classic ones
    // push it just out of sight.
    const bool themed = ThemedFixedCells();
    const int footerHeight = ListClientHeight() - TitleHeight() - RowPitch() - (themed ? HorzLineWidth() : 0);
    FitFooterFont(footerHeight);
    Columns()->Items(0)->SetWidthBase(width() - 2 * frameWidth() - (themed ? 1 : 0));
}

void TOrvoDBPopupCalculator::FitFooterFont(int footerHeight)
{
    TOrvoColumnTotalFooter* footer = Columns()->Items(0)->TotalFooter();
    const int lines = std::max(1, Totals()->LinesCount());
    const int wanted = std::max(1, (footerHeight - GridStyle()->TotalRowSpace()) / lines);
    TFont font = footer->Font();
    int pixels = std::max(1, -font.Height());
    // Font heights step unevenly with the pixel size: take the largest that fits when no
    // size gives the height exactly.
    int best = 0;
    for (int attempt = 0; attempt < 8; ++attempt) {
        font.SetHeight(-pixels);
        const int measured = QFontMetrics(font.ToQFont()).height();
        if (measured <= wanted)
            best = std::max(best, pixels);
        if (measured == wanted)
            break;
        pixels = std::max(1, pixels + wanted - measured);
    }
    font.SetHeight(-std::max(best, 1));
    footer->SetFont(font);
}

void TOrvoDBPopupCalculator::PlaceButtons()
{
    // Anchored to the left and bottom edges of the design, scaled with the font.
    const int clientHeight = ListClientHeight();
    for (size_t i = 0; i < FButtons.size(); ++i) {
        const TKeyDesign& design = KeyDesigns()[i];
        const int fromBottom = int(std::lround((DesignClientHeight - (design.Y - 5)) * FScale));
        FButtons[i]->setGeometry(int(std::lround((design.X + 1) * FScale)), clientHeight - fromBottom,
                                 int(std::lround(design.Width * FScale)),
                                 int(std::lround(KeyHeight * FScale)));
    }
}

void TOrvoDBPopupCalculator::ScaleToFont()
{
    const int lineHeight = QFontMetrics(font()).height();
    if (FFontHeight <= 0 || lineHeight <= 0 || lineHeight == FFontHeight)
        return;
    const double factor = double(lineHeight) / FFontHeight;
    FFontHeight = lineHeight;
    FScale *= factor;
    resize(int(std::lround(width() * factor)), int(std::lround(height() * factor)));
    // The keys take the list's font by Qt's own propagation; their colours live in their
    // palettes, which a font change leaves alone.
    PlaceButtons();
    AdjustListSize();
}

void TOrvoDBPopupCalculator::changeEvent(QEvent* event)
{
    TOrvoDBPopupList::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        TExceptionHandler::Guard([this] { ScaleToFont(); });
}

void TOrvoDBPopupCalculator::resizeEvent(QResizeEvent* event)
{
    TOrvoDBPopupList::resizeEvent(event);
    TExceptionHandler::Guard([this] { PlaceButtons(); });
}

} // namespace orvo
