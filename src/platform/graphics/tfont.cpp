#include "platform/graphics/tfont.h"

#include "platform/core/tformproperty.h"

#include <QGuiApplication>

#include <cmath>

namespace orvo {

namespace {

constexpr double kPixelsPerInch = 96.0;
constexpr double kPointsPerInch = 72.0;

QFont applicationFont()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return QGuiApplication::font();
    return QFont();
}

TFormProperty::TFontParts FontPartsOf(const QVariant& value)
{
    const auto& font = *static_cast<const TFont*>(value.constData());
    return {font.ToQFont(), font.Color()};
}

void SetFontParts(QVariant& value, const TFormProperty::TFontParts& parts)
{
    auto* font = static_cast<TFont*>(value.data());
    font->SetQFont(parts.Font);
    font->SetColor(parts.Color);
}

// Runs whenever a program links the font's code, which every class holding a font
// property does, so that form files stream the fonts of any such class.
[[maybe_unused]] const bool fontStreams = [] {
    TFormProperty::RegisterFontType(QMetaType::fromType<TFont>(), &FontPartsOf, &SetFontParts);
    return true;
}();

} // namespace

TFont::TFont() : FFont(applicationFont()) {}

TFont::TFont(const QFont& font, TColor color) : FFont(font), FColor(color) {}

int TFont::Size() const
{
    if (FFont.pointSizeF() > 0)
        return int(std::lround(FFont.pointSizeF()));
    return int(std::lround(FFont.pixelSize() * kPointsPerInch / kPixelsPerInch));
}

void TFont::SetSize(int points)
{
    if (points > 0)
        FFont.setPointSize(points);
}

int TFont::Height() const
{
    if (FFont.pixelSize() > 0)
        return -FFont.pixelSize();
    return -int(std::lround(FFont.pointSizeF() * kPixelsPerInch / kPointsPerInch));
}

void TFont::SetHeight(int pixels)
{
    // Both signs mean the character height here; zero keeps the current size.
    if (pixels != 0)
        FFont.setPixelSize(std::abs(pixels));
}

TFontStyles TFont::Style() const
{
    TFontStyles styles;
    if (FFont.bold())
        styles.Include(fsBold);
    if (FFont.italic())
        styles.Include(fsItalic);
    if (FFont.underline())
        styles.Include(fsUnderline);
    if (FFont.strikeOut())
        styles.Include(fsStrikeOut);
    return styles;
}

void TFont::SetStyle(TFontStyles value)
{
    FFont.setBold(value.Contains(fsBold));
    FFont.setItalic(value.Contains(fsItalic));
    FFont.setUnderline(value.Contains(fsUnderline));
    FFont.setStrikeOut(value.Contains(fsStrikeOut));
}

} // namespace orvo
