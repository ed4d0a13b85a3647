#include "platform/graphics/tfont.h"

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
