#pragma once

#include <QEvent>
#include <QObject>

/// Counts the paints of the widget it is installed on as an event filter.
class TBenchPaintCounter : public QObject
{
public:
    int Paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++Paints;
        return QObject::eventFilter(watched, event);
    }
};
