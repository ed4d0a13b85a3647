#pragma once

#include <QToolButton>

namespace orvo {

/// A button that lives inside a popup list (the calculator's keys, the auto-filter
/// list's commands). Flat buttons may keep a thin raised edge, so that a flat
/// keypad still reads as separate keys on a plain background.
class TListButton : public QToolButton
{
    Q_OBJECT
    Q_PROPERTY(bool Flat READ Flat WRITE SetFlat)
    Q_PROPERTY(bool Edges READ Edges WRITE SetEdges)

public:
    explicit TListButton(QWidget* parent = nullptr);

    bool Flat() const { return autoRaise(); }
    void SetFlat(bool flat);
    /// Draws a raised edge around a flat button.
    bool Edges() const { return FEdges; }
    void SetEdges(bool edges);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool FEdges = false;
};

} // namespace orvo
