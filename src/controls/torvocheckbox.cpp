#include "controls/torvocheckbox.h"

#include "controls/systemprobes.h"

namespace orvo {

TOrvoCheckBox::TOrvoCheckBox(QWidget* parent) : TOrvoCheckBox(QString(), parent) {}

TOrvoCheckBox::TOrvoCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent)
{
    SetParentBackgroundStyle(this, true);
}

bool TOrvoCheckBox::Transparent() const
{
    return !autoFillBackground();
}

void TOrvoCheckBox::SetTransparent(bool value)
{
    if (Transparent() == value)
        return;
    SetParentBackgroundStyle(this, value);
    update();
}

} // namespace orvo
