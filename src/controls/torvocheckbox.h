#pragma once

#include <QCheckBox>

namespace orvo {

/// A check box that lets its parent's background, a gradient included, show through it unless Transparent is
/// switched off. Panels and group boxes repaint it with themselves.
class TOrvoCheckBox : public QCheckBox
{
    Q_OBJECT
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)

public:
    explicit TOrvoCheckBox(QWidget* parent = nullptr);
    TOrvoCheckBox(const QString& text, QWidget* parent = nullptr);

    /// True while the control leaves its background unpainted.
    bool Transparent() const;
    void SetTransparent(bool value);
};

} // namespace orvo
