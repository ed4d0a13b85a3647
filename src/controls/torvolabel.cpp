#include "controls/torvolabel.h"

#include "controls/systemprobes.h"

namespace orvo {

TOrvoLabel::TOrvoLabel(QWidget* parent) : TOrvoLabel(QString(), parent) {}

TOrvoLabel::TOrvoLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    SetParentBackgroundStyle(this, true);
}

bool TOrvoLabel::Transparent() const
{
    return !autoFillBackground();
}

void TOrvoLabel::SetTransparent(bool value)
{
    if (Transparent() == value)
        return;
    SetParentBackgroundStyle(this, value);
    update();
}

} // namespace orvo
