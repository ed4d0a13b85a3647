#include "platform/graphics/tscrollbarstyler.h"

#include <QColor>
#include <QPalette>
#include <QScrollBar>

namespace orvo {

namespace {

QString cssColor(const QColor& color)
{
    return color.name(QColor::HexRgb);
}

} // namespace

QString TScrollBarStyler::StyleSheet(TScrollBarLook look, TColor color, const QPalette& palette)
{
    if (look == sblRegular && color == clDefault)
        return QString();
    const QColor track = color == clDefault ? palette.color(QPalette::Button) : ToQColor(color, palette);
    const QColor handle = palette.color(QPalette::Mid);
    const QColor hot = palette.color(QPalette::Dark);
    const bool flat = look != sblRegular;
    QString sheet = QStringLiteral("QScrollBar { background: %1; border: %2; }\n"
                                   "QScrollBar::handle { background: %3; border: %4; min-height: 12px; "
                                   "min-width: 12px; }\n")
                        .arg(cssColor(track),
                             flat ? QStringLiteral("none") : QStringLiteral("1px solid ") + cssColor(handle),
                             cssColor(flat ? handle : track.darker(110)),
                             flat ? QStringLiteral("none") : QStringLiteral("1px solid ") + cssColor(hot));
    if (look == sblHotTrack)
        sheet += QStringLiteral("QScrollBar::handle:hover { background: %1; }\n").arg(cssColor(hot));
    return sheet;
}

void TScrollBarStyler::Apply(QScrollBar* bar, TScrollBarLook look, TColor color)
{
    if (!bar)
        return;
    const QString sheet = StyleSheet(look, color, bar->palette());
    if (bar->styleSheet() != sheet)
        bar->setStyleSheet(sheet);
}

} // namespace orvo
