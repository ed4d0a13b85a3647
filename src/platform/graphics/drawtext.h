#pragma once

#include <QString>
#include <QStringList>

class QRect;

namespace orvo {

class TCanvas;

/// The extra settings of DrawTextEx: margins kept free inside the rectangle, and
/// how many characters were drawn (filled in).
struct TDrawTextParams
{
    int iLeftMargin = 0;
    int iRightMargin = 0;
    int uiLengthDrawn = 0;
};

/// Draws `text` into `rect` with the canvas font and font colour (the DT_* flags):
/// horizontal and, for single lines, vertical alignment; word break at spaces (a word
/// wider than the rectangle keeps a line of its own); an end ellipsis on every line
/// that does not fit and, with word break, on the last line that fits in the
/// rectangle's height; "&" mnemonics unless DT_NOPREFIX; right-to-left reading.
/// With DT_CALCRECT nothing is drawn and `rect` grows or shrinks to the text's
/// extent. Returns the height of the text.
/// The lines DrawText would draw into `rect` with the canvas font: wrapped, cut to
/// the rectangle's height and ended in "..." as the flags say.
QStringList DrawTextLines(const TCanvas& canvas, const QString& text, const QRect& rect, unsigned format);

int DrawText(TCanvas& canvas, const QString& text, QRect& rect, unsigned format);
int DrawTextEx(TCanvas& canvas, const QString& text, QRect& rect, unsigned format, TDrawTextParams* params);

} // namespace orvo
