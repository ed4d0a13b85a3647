#pragma once

#include "platform/core/tcolor.h"

#include <QWidget>

namespace orvo {

/// The small rounded frame in the calendar's footer that shows, beside the "Today"
/// label, how today's cell is marked. It draws only its outline, so the footer shows
/// through it.
class TCalendarTodayShape : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kWidth = 16;
    static constexpr int kHeight = 12;

    explicit TCalendarTodayShape(QWidget* parent = nullptr);

    TColor PenColor() const { return FPenColor; }
    void SetPenColor(TColor color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TColor FPenColor = clHighlight;
};

} // namespace orvo
