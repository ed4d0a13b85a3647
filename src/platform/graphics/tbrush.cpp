#include "platform/graphics/tbrush.h"

#include <QBrush>
#include <QPalette>

namespace orvo {

namespace {

Qt::BrushStyle qtBrushStyle(TBrushStyle style)
{
    switch (style) {
    case bsSolid:
        return Qt::SolidPattern;
    case bsClear:
        return Qt::NoBrush;
    case bsHorizontal:
        return Qt::HorPattern;
    case bsVertical:
        return Qt::VerPattern;
    case bsFDiagonal:
        return Qt::FDiagPattern;
    case bsBDiagonal:
        return Qt::BDiagPattern;
    case bsCross:
        return Qt::CrossPattern;
    case bsDiagCross:
        return Qt::DiagCrossPattern;
    }
    return Qt::SolidPattern;
}

} // namespace

QBrush TBrush::ToQBrush(const QPalette& palette) const
{
    if (IsClear())
        return QBrush(Qt::NoBrush);
    return QBrush(ToQColor(FColor, palette), qtBrushStyle(FStyle));
}

} // namespace orvo
