#pragma once

#include <QLabel>

namespace orvo {

/// A label that lets its parent's background, a gradient included, show through it; set Transparent false to
/// have it fill its own background.
class TOrvoLabel : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)

public:
    explicit TOrvoLabel(QWidget* parent = nullptr);
    TOrvoLabel(const QString& text, QWidget* parent = nullptr);

    /// True while the control leaves its background unpainted.
    bool Transparent() const;
    void SetTransparent(bool value);
};

} // namespace orvo
