#include "platform/core/tsystemprofile.h"

namespace orvo {

namespace {

TSystemProfile& currentProfile()
{
    static TSystemProfile profile;
    return profile;
}

} // namespace

int TSystemProfile::BuildNumber() const
{
    if (!FBuildNumberSource)
        return FBuildNumber;
    bool ok = false;
    const int number = FBuildNumberSource().trimmed().toInt(&ok);
    return ok && number >= 0 ? number : 0;
}

bool TSystemProfile::CheckVersion(int major, int minor) const
{
    return FMajorVersion > major || (FMajorVersion == major && FMinorVersion >= minor);
}

const TSystemProfile& TSystemProfile::Current()
{
    return currentProfile();
}

void TSystemProfile::SetCurrent(const TSystemProfile& profile)
{
    currentProfile() = profile;
}

} // namespace orvo
