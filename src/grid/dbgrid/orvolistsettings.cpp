#include "grid/dbgrid/orvolistsettings.h"

namespace orvo {

int& TOrvoListSettings::MaxListRows()
{
    static int rows = 20;
    return rows;
}

int& TOrvoListSettings::MaxListWidth()
{
    static int width = 800;
    return width;
}

int& TOrvoListSettings::ListAnimationDelay()
{
    static int delay = 8;
    return delay;
}

bool& TOrvoListSettings::ListMouseTracking()
{
    static bool tracking = true;
    return tracking;
}

QStringList& TOrvoListSettings::ListCaptions()
{
    static QStringList captions{QStringLiteral("Today"), QStringLiteral("Clear All"),
                                QStringLiteral("Select All"), QStringLiteral("Cancel"), QStringLiteral("OK")};
    return captions;
}

} // namespace orvo
