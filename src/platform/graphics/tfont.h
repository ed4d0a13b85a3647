#pragma once

#include "platform/core/tcolor.h"
#include "platform/graphics/graphicsenums.h"

#include <QFont>

namespace orvo {

/// The text settings of a canvas: a Qt font plus the text colour, with the
/// classic accessors (Name, Size in points, Height in pixels, Style set).
class TFont
{
public:
    /// The application's font in the window-text colour.
    TFont();
    explicit TFont(const QFont& font, TColor color = clWindowText);

    QString Name() const { return FFont.family(); }
    void SetName(const QString& value) { FFont.setFamily(value); }
    int Size() const;
    void SetSize(int points);
    /// The character height in pixels at 96 pixels per inch, negative as the platform
    /// stores it (a font of 8 points is -11 high).
    int Height() const;
    void SetHeight(int pixels);
    TFontStyles Style() const;
    void SetStyle(TFontStyles value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value) { FColor = value; }

    const QFont& ToQFont() const { return FFont; }
    void SetQFont(const QFont& font) { FFont = font; }

    bool operator==(const TFont&) const = default;

private:
    QFont FFont;
    TColor FColor = clWindowText;
};

} // namespace orvo
