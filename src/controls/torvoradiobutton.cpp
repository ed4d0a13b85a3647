#include "controls/torvoradiobutton.h"

#include "controls/systemprobes.h"

namespace orvo {

TOrvoRadioButton::TOrvoRadioButton(QWidget* parent) : TOrvoRadioButton(QString(), parent) {}

TOrvoRadioButton::TOrvoRadioButton(const QString& text, QWidget* parent) : QRadioButton(text, parent)
{
    SetParentBackgroundStyle(this, true);
}

bool TOrvoRadioButton::Transparent() const
{
    return !autoFillBackground();
}

void TOrvoRadioButton::SetTransparent(bool value)
{
    if (Transparent() == value)
        return;
    SetParentBackgroundStyle(this, value);
    update();
}

} // namespace orvo
