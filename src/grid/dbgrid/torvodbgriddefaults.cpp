// The computed defaults of the grid's colours: what clDefault stands for on the running system.

#include "grid/dbgrid/torvodbgriddefaults.h"

#include "platform/core/tsystemprofile.h"
#include "platform/graphics/colorutils.h"

namespace orvo {

TColor TOrvoDBGridDefaults::ResolveColor(TColor property, TColor computedDefault, TColor inUse)
{
    if (property == clDefault)
        return computedDefault;
    if (property != clNone)
        return property;
    return inUse == clDefault ? computedDefault : inUse;
}

namespace {

enum class TSystemGeneration
{
    Newest,
    VistaGradient,
    Vista,
    Older
};

TSystemGeneration SelectionGeneration(bool gradientActive)
{
    const TSystemProfile& system = TSystemProfile::Current();
    if (system.CheckVersion(6, 2) && system.IsNewestSystemBuild())
        return TSystemGeneration::Newest;
    if (system.CheckVersion(6, 0))
        return gradientActive ? TSystemGeneration::VistaGradient : TSystemGeneration::Vista;
    return TSystemGeneration::Older;
}

} // namespace

TColor TOrvoDBGridDefaults::DefaultSelectCellColor(bool gradientActive)
{
    switch (SelectionGeneration(gradientActive)) {
    case TSystemGeneration::Newest:
        return ShiftLuminance(clHighlight, -10);
    case TSystemGeneration::VistaGradient:
        return 0xE86800;
    case TSystemGeneration::Vista:
        return 0xFF7D13;
    case TSystemGeneration::Older:
        break;
    }
    return clHighlight;
}

TColor TOrvoDBGridDefaults::DefaultSelectionColor(bool gradientActive)
{
    switch (SelectionGeneration(gradientActive)) {
    case TSystemGeneration::Newest:
        return clHighlight;
    case TSystemGeneration::VistaGradient:
        return 0xFF7D13;
    case TSystemGeneration::Vista:
        return 0xFF953D;
    case TSystemGeneration::Older:
        break;
    }
    return clGradientActiveCaption;
}

TColor TOrvoDBGridDefaults::DefaultSelectRowColor(bool gradientActive)
{
    switch (SelectionGeneration(gradientActive)) {
    case TSystemGeneration::Newest:
        return ShiftLuminance(clHighlight, 20);
    case TSystemGeneration::VistaGradient:
        return 0xE49E78;
    case TSystemGeneration::Vista:
        return 0xEBB99D;
    case TSystemGeneration::Older:
        break;
    }
    return clGradientInactiveCaption;
}

} // namespace orvo
